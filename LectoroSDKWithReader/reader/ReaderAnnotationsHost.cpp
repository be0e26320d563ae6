#include "LectoroSDKWithReader/reader/ReaderAnnotationsHost.h"

#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/reader/PhonePageSlider.h"
#include "LectoroSDKWithReader/reader/ReaderReflowable.h"
#include "LectoroSDKWithReader/reader/ReaderTokenRenewal.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageSlider.h"
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
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

// The translation sheet and the immersive reader screen are the reading aids'; until they
// take the text over, the hand-off is only logged.
void ReaderAnnotationsHost::showTranslationForText(const std::string& text)
{
    LectoroDebugLog::logWithType(1, "ReaderViewController", "Translation asked for the selection", text);
}

void ReaderAnnotationsHost::presentImmersiveReader(
    const std::string&, const std::string& subdomain, const std::string& text)
{
    LectoroDebugLog::logWithType(1, "ReaderViewController", "Immersive reader asked for " + subdomain, text);
}

// The note editor arrives with the note road; until then no editor opens or is open.
void ReaderAnnotationsHost::showNotesForHighlight(std::shared_ptr<SDKHighlightVO>, bool) { }

void ReaderAnnotationsHost::dismissNoteEditor(std::function<void()> completion)
{
    if (completion)
        completion();
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

void ReaderAnnotationsHost::saveReaderAnalyticsSession()
{
    m_reader.readingSession().createAndSaveReaderAnalyticsSessionWithCalledUsingTimer(false);
}

} // namespace lectoro
