#include "LectoroSDKWithReader/reader/ReaderAnnotationsHost.h"

#include "LectoroSDKWithReader/annotations/bookmarks/BookmarkRoad.h"
#include "LectoroSDKWithReader/annotations/notes/NoteRoad.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/mydata/LXMyDataViewController.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/reader/PhonePageSlider.h"
#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/ReaderChrome.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderReflowable.h"
#include "LectoroSDKWithReader/reader/ReaderTokenRenewal.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "LectoroSDKWithReader/reader/chrome/ReaderVerticalBar.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageSlider.h"
#include "LectoroSDKWithReader/readingaids/ReaderReadingAids.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewPanelBridge.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Thread.h"
#include "platform/ui/Slider.h"

namespace lectoro {

void ReaderAnnotationsHost::moveTopAndBottomOffScreen(bool animate)
{
    m_reader.moveTopAndBottomOffScreenWithIsAnimate(animate);
}

void ReaderAnnotationsHost::moveTopAndBottomOnScreen(bool animate)
{
    m_reader.moveTopAndBottomOnScreenWithIsAnimate(animate);
}

void ReaderAnnotationsHost::resetAllPlayerActionBar()
{
    m_reader.resetAllPlayerActionBar();
}

ui::ConstraintPtr ReaderAnnotationsHost::verticalSliderRightConstraint()
{
    auto* slider = m_reader.reflowable().slider();
    return slider && slider->isVerticalsliderEnable() ? slider->rightConstraintForVerticalSliderView() : nullptr;
}

double ReaderAnnotationsHost::readerRightSafeAreaInset()
{
    auto view = m_reader.viewIfLoaded();
    return view ? view->safeAreaInsets().right : 0;
}

void ReaderAnnotationsHost::setBottomBarPageSliderValue(int64_t page)
{
    if (auto slider = m_reader.phonePageSlider().pageSliderForiPhoneBottomBar())
        slider->setValue(static_cast<double>(page));
}

ReaderPageOverlays& ReaderAnnotationsHost::pageOverlays()
{
    return m_reader.pageOverlays();
}

void ReaderAnnotationsHost::stopInlineVideo()
{
    m_reader.interactiveContent().stopInlineVideo();
}

void ReaderAnnotationsHost::closeAudioSync()
{
    m_reader.readAloud().closeAudioSync();
}

void ReaderAnnotationsHost::addSearchForText(const std::string& text)
{
    m_reader.search().addSearchForText(text, false);
}

void ReaderAnnotationsHost::showTranslationForText(const std::string& text)
{
    m_reader.readingAids().translateSelectedText(text);
}

void ReaderAnnotationsHost::presentImmersiveReader(
    const std::string& token, const std::string& subdomain, const std::string& text)
{
    m_reader.readingAids().presentImmersiveReader(text, token, subdomain);
}

void ReaderAnnotationsHost::showNotesForHighlight(std::shared_ptr<SDKHighlightVO> record, bool forMyData)
{
    m_reader.noteRoad().showNotesForHighlight(record, forMyData);
}

void ReaderAnnotationsHost::dismissNoteEditor(std::function<void()> completion)
{
    m_reader.noteRoad().dismissNoteEditor(std::move(completion));
}

void ReaderAnnotationsHost::addPreLoaderView()
{
    m_reader.startActivityIndicator();
}

void ReaderAnnotationsHost::removePreLoaderView()
{
    m_reader.stopActivityIndicator();
}

std::shared_ptr<ui::ViewController> ReaderAnnotationsHost::presentingController()
{
    return m_reader.shared_from_this();
}

void ReaderAnnotationsHost::showAlertWithTitle(const std::string& title, const std::string& message)
{
    m_reader.showAlertWithTitle(title, message);
}

void ReaderAnnotationsHost::showSessionExpiredAlert()
{
    m_reader.showSessionExpiredAlert();
}

bool ReaderAnnotationsHost::refreshUserToken(
    const std::string& expiredToken, std::function<void(std::shared_ptr<LectoroUser>)> completion)
{
    return renewUserTokenThroughHost(m_reader, expiredToken, std::move(completion));
}

std::shared_ptr<ui::ViewController> ReaderAnnotationsHost::myDataPanel()
{
    auto& myData = m_reader.myData();
    return myData.isMyDataOpen() ? myData.myDataViewController() : nullptr;
}

void ReaderAnnotationsHost::reloadMyDataList()
{
    m_reader.myData().refreshMyData();
}

void ReaderAnnotationsHost::removeGlossaryController()
{
    m_reader.interactiveContent().removeGlossaryController();
}

void ReaderAnnotationsHost::resignBookmarkInput()
{
    m_reader.bookmarkRoad().resignBookmarkInput();
}

void ReaderAnnotationsHost::closeSearchPanel()
{
    m_reader.search().resignSearchTextField();
    m_reader.search().removeSearchController();
}

std::weak_ptr<ui::PopoverPresentationControllerDelegate> ReaderAnnotationsHost::readerPopoverDelegate()
{
    return m_reader.noteRoad().popoverPresentationDelegate();
}

std::weak_ptr<StickyNoteControllerDelegate> ReaderAnnotationsHost::stickyNoteOverlayDelegate()
{
    return m_reader.noteRoad().stickyNoteControllerDelegate();
}

void ReaderAnnotationsHost::saveReaderAnalyticsSession()
{
    m_reader.readingSession().createAndSaveReaderAnalyticsSessionWithCalledUsingTimer(false);
}

void ReaderAnnotationsHost::moveTopAndBottomOffScreenThen(bool animate, std::function<void()> completion)
{
    m_reader.moveTopAndBottomOffScreenWithIsAnimate(animate, std::move(completion));
}

void ReaderAnnotationsHost::moveTopAndBottomOnScreenThen(bool animate, std::function<void()> completion)
{
    m_reader.moveTopAndBottomOnScreenWithIsAnimate(animate, [completion = std::move(completion)](bool) {
        if (completion)
            completion();
    });
}

void ReaderAnnotationsHost::addPenToolTopBarViewWithAnimation(bool animate)
{
    m_reader.bars().addPenToolTopBarViewWithAnimation(animate);
}

ui::ConstraintPtr ReaderAnnotationsHost::bottomConstraintOfPenTool()
{
    return m_reader.bars().bottomConstraintOfPenTool();
}

void ReaderAnnotationsHost::didSelectAudioSyncColor(const std::string& color)
{
    m_reader.readAloud().didSelectAudioSyncColor(color);
}

std::shared_ptr<PlayerActionBar> ReaderAnnotationsHost::verticalToolBar()
{
    return m_reader.verticalBar().playerActionVerticalBar();
}

void ReaderAnnotationsHost::removeInstructionMarkupPopOver()
{
    m_reader.interactiveContent().removeInstructionMarkupPopOver();
}

void ReaderAnnotationsHost::setHelpBookmark(std::shared_ptr<ui::View> icon)
{
    m_reader.chrome().setHelpBookmark(std::move(icon));
}

bool ReaderAnnotationsHost::isHelpScreenShown()
{
    return m_reader.chrome().isHelpScreenShown();
}

void ReaderAnnotationsHost::refreshHelpScreen()
{
    m_reader.chrome().refreshHelpDescriptors(true);
}

std::weak_ptr<PlayerActionDelegate> ReaderAnnotationsHost::playerActionDelegate()
{
    return m_reader.playerActionDelegate();
}

std::optional<std::string> ReaderAnnotationsHost::displayNumberForPageID(const std::string& pageID)
{
    return m_reader.navigation().getDisplayNumberForPageID(pageID);
}

ReviewAnnotationPanel* ReaderAnnotationsHost::reviewAnnotationPanel()
{
    if (m_reader.context().activeMode != ReaderActiveModeTeacherReview)
        return nullptr;
    return m_reader.teacherReview().panelBridge().get();
}

} // namespace lectoro
