#include "LectoroSDKWithReader/media/ReaderReadAloud.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/annotations/pen/PenRoad.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/players/InteractiveMarkupPlayers.h"
#include "LectoroSDKWithReader/media/ReaderReadAloudDelegates.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/media/readaloud/MVSpeedSelectionOptionsView.h"
#include "LectoroSDKWithReader/media/readaloud/ReadAloudOptions.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXPageVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/widgets/players/LectoroAudioPlayer.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/base/Value.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"

#include <algorithm>

namespace lectoro {

namespace {

bool readAloudModeReads(int64_t mode)
{
    return mode == ReadAloudModeReadToMe || mode == ReadAloudModeAutoPlay;
}

bool readAloudNarrating(uint64_t activeMode)
{
    return activeMode == ReaderActiveModeLinkAction || activeMode == ReaderActiveModeReadAloud;
}

bool readAloudHasLinks(const std::shared_ptr<PXPageVO>& page)
{
    return page && !page->getAudioSyncTypeLinks().empty();
}

} // namespace

ReaderReadAloud::ReaderReadAloud(ReaderContext& context)
    : m_context(context)
    , m_delegates(std::make_shared<Delegates>(*this))
{
    // A colour picked in the pop-over goes through the reader's pen dispatch, which hands
    // it back here in modes 10 and 22 and to teacher review in mode 6.
    m_delegates->setPenColorHandler([this](const std::string& color) {
        if (m_context.controller)
            m_context.controller->annotations().didSelectPenColor(color);
    });
}

ReaderReadAloud::~ReaderReadAloud()
{
    m_delegates->detach();
    if (m_audioSyncController)
        m_audioSyncController->stop();
}

std::shared_ptr<ui::View> ReaderReadAloud::readerView() const
{
    return m_context.controller ? m_context.controller->view() : nullptr;
}

std::vector<std::string> ReaderReadAloud::activePageIDs() const
{
    return m_context.controller ? m_context.controller->annotations().getActivePageIDs() : std::vector<std::string> {};
}

void ReaderReadAloud::setReaderTouches(bool enabled)
{
    if (auto view = readerView())
        view->setUserInteractionEnabled(enabled);
}

void ReaderReadAloud::removeFloatingAudioPlayerView()
{
    if (!m_context.controller)
        return;
    if (const auto& view = m_context.controller->interactiveContent().players().playerView())
        view->removeFromSuperview();
}

void ReaderReadAloud::releaseSynchroniser()
{
    if (auto old = std::exchange(m_audioSyncController, nullptr))
        old->stop();
}

// MARK: - The chooser

void ReaderReadAloud::showReadAloudController()
{
    if (!m_context.controller)
        return;
    m_context.lastReadAloudPageId.clear();
    if (m_readToMe)
        didCloseReadToMeView();
    auto chooser = MVReadToMeViewController::create(m_context.readAloudMode);
    if (m_context.theme)
        chooser->setTheme(*m_context.theme);
    chooser->setDelegate(m_delegates);
    chooser->setModalPresentationStyle(ui::ModalPresentationStyle::OverCurrentContext);
    m_readToMe = chooser;
    m_context.controller->presentViewController(chooser, false);
    m_context.readAloudPopupShown = true;
}

void ReaderReadAloud::offerReadAloudControllerOnOpening()
{
    if (m_offersChooserOnOpening)
        showReadAloudController();
}

void ReaderReadAloud::didCloseReadToMeView()
{
    if (m_context.controller)
        m_context.controller->resetAllPlayerActionBar();
    if (auto chooser = std::exchange(m_readToMe, nullptr)) {
        if (chooser->presentingViewController())
            chooser->dismissViewControllerAnimated(false);
    }
}

void ReaderReadAloud::didTapOnLetMeReadForReadAloud()
{
    if (m_context.controller)
        m_context.controller->interactiveContent().resetAudioPlayer();
    if (m_context.renderer)
        m_context.renderer->resetZoomScaleToDefault();
    m_context.readAloudMode = ReadAloudModeOff;
    m_context.activeMode = ReaderActiveModeNone;
    if (m_context.controller)
        m_context.controller->moveTopAndBottomOffScreenWithIsAnimate(true);
    didCloseReadToMeView();
    stopAudioSyncIfAny();
    removeAudioSyncBottomBar();
    removeAudioSynchHightlight();
}

void ReaderReadAloud::didTapOnReadToMeForReadAloud() { startChosenMode(ReadAloudModeReadToMe); }
void ReaderReadAloud::didTapOnAutoPlayForReadAloud() { startChosenMode(ReadAloudModeAutoPlay); }

void ReaderReadAloud::startChosenMode(int64_t mode)
{
    if (m_context.controller)
        m_context.controller->interactiveContent().resetAudioPlayer();
    didCloseReadToMeView();
    m_context.readAloudMode = mode;
    m_context.activeMode = ReaderActiveModeReadAloud;
    if (!audioPresentForChosenMode()) {
        alertForNoAudio();
        return;
    }
    if (m_context.renderer)
        m_context.renderer->resetZoomScaleToDefault();
    addReadAloudTopBar();
    actionForReadAloud();
}

bool ReaderReadAloud::audioPresentForChosenMode() const
{
    if (!m_context.renderer)
        return false;
    auto pages = m_context.renderer->getActivePages();
    if (pages.empty())
        return false;
    const bool landscape = ui::Environment::current().isDeviceLandscape();
    if (auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook)) {
        auto& navigation = m_context.controller->navigation();
        auto first = navigation.getEpubChapterForIndex(pages.front().fileIndex);
        bool present = first && first->isAudioSyncSupported;
        if (landscape && pages.size() >= 2) {
            auto second = navigation.getEpubChapterForIndex(pages[1].fileIndex);
            present = present || (second && second->isAudioSyncSupported);
        }
        return present;
    }
    auto pageBook = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook);
    if (!pageBook)
        return false;
    auto pageAt = [&](const RendererPage& page) {
        return page.page ? page.page : pageBook->pageForPagenumber(page.pageID);
    };
    const bool firstHas = readAloudHasLinks(pageAt(pages.front()));
    const bool lastHas = readAloudHasLinks(pageAt(pages.back()));
    const bool spread = m_context.readAloudMode == ReadAloudModeAutoPlay
        ? pages.size() >= 2 && pages.front().pageID != pages.back().pageID
        : landscape && pages.size() >= 2;
    return spread ? firstHas || lastHas : firstHas;
}

// MARK: - Reading

void ReaderReadAloud::addReadAloudTopBar()
{
    if (m_context.controller)
        m_context.controller->moveTopAndBottomOffScreenWithIsAnimate(false);
}

void ReaderReadAloud::actionForReadAloud()
{
    if (!readAloudModeReads(m_context.readAloudMode) || !m_context.renderer)
        return;
    setReaderTouches(false);
    m_context.activeMode = ReaderActiveModeReadAloud;
    if (std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook)) {
        didTapOnAudioSyncIcon();
        return;
    }
    auto pageBook = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook);
    auto pages = m_context.renderer->getActivePages();
    if (m_context.controller)
        m_context.controller->moveTopAndBottomOffScreenWithIsAnimate(true);
    auto pageAt = [&](const RendererPage& page) {
        return page.page ? page.page : (pageBook ? pageBook->pageForPagenumber(page.pageID) : nullptr);
    };
    if (!pages.empty() && readAloudHasLinks(pageAt(pages.front()))) {
        loadAudioSyncIdAvailableForPageNumber(pages.front().pageID);
    } else if (!pages.empty() && readAloudHasLinks(pageAt(pages.back()))) {
        loadAudioSyncIdAvailableForPageNumber(pages.back().pageID);
    } else {
        m_context.lastReadAloudPageId.clear();
        m_context.currentReadAloudPageId.clear();
        alertForNoAudio();
        stopAndCloseAudioSync();
    }
}

void ReaderReadAloud::loadAudioSyncIdAvailableForPageNumber(int64_t pageId)
{
    const std::string page = std::to_string(pageId);
    if (page == m_context.currentReadAloudPageId) {
        setReaderTouches(true);
        return;
    }
    if (readAloudNarrating(m_context.activeMode))
        stopAudioSyncIfAny();
    m_context.currentReadAloudPageId = page;
    std::weak_ptr<int> alive = m_alive;
    base::RunLoop::main().postDelayed(pageStartDelay, alive, [this, pageId] {
        removeAudioSynchHightlight();
        setReaderTouches(true);
        auto pageBook = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook);
        if (!pageBook)
            return;
        auto found = pageBook->pages.find(std::to_string(pageId));
        if (found == pageBook->pages.end() || !found->second)
            return;
        auto links = found->second->getAudioSyncTypeLinks();
        if (links.empty()) {
            stopAndCloseAudioSync();
            return;
        }
        m_context.activeMode = ReaderActiveModeReadAloud;
        releaseSynchroniser();
        m_audioSyncController = AudioSyncController::create(links, m_delegates, m_context.currentBook, false);
        m_audioSyncController->start();
        m_audioSyncController->changeAudioPlayingSpeed(audioSyncSpeedRate(m_context.audioSyncSpeedRateOption));
        if (m_context.readAloudMode != ReadAloudModeOff) {
            addPlayerBottomBarForAudioSync();
            changeAudioSyncSpeedRateWithOption();
            changePlayButtonState();
        }
    });
}

void ReaderReadAloud::startAudioSyncForLink(const std::shared_ptr<PXLinkVO>& link)
{
    if (!link)
        return;
    m_context.activeMode = ReaderActiveModeLinkAction;
    m_context.readAloudMode = ReadAloudModeOff;
    releaseSynchroniser();
    m_audioSyncController = AudioSyncController::create({ link }, m_delegates, m_context.currentBook, true);
    m_audioSyncController->start();
    m_audioSyncController->changeAudioPlayingSpeed(audioSyncSpeedRate(m_context.audioSyncSpeedRateOption));
    addPlayerBottomBarForAudioSync();
    changePlayButtonState();
}

void ReaderReadAloud::didTapOnAudioSyncIcon()
{
    if (!m_context.controller || !m_context.renderer)
        return;
    m_context.controller->moveTopAndBottomOffScreenWithIsAnimate(true);
    addPlayerBottomBarForAudioSync();
    auto pages = m_context.renderer->getActivePages();
    auto& navigation = m_context.controller->navigation();
    for (const auto* page : { pages.empty() ? nullptr : &pages.front(), pages.empty() ? nullptr : &pages.back() }) {
        if (!page)
            continue;
        auto chapter = navigation.getEpubChapterForIndex(page->fileIndex);
        if (!chapter || !chapter->isAudioSyncSupported)
            continue;
        const std::string index = std::to_string(page->fileIndex);
        if (m_context.currentReadAloudPageId == index) {
            setReaderTouches(true);
        } else {
            playAudioSyncForChapter(chapter);
            m_context.currentReadAloudPageId = index;
        }
        return;
    }
    alertForNoAudio();
    stopAndCloseAudioSync();
}

void ReaderReadAloud::playAudioSyncForChapter(const std::shared_ptr<EPUBChapterVO>& chapter)
{
    if (!chapter)
        return;
    if (readAloudNarrating(m_context.activeMode))
        stopAudioSyncIfAny();
    std::weak_ptr<int> alive = m_alive;
    base::RunLoop::main().postDelayed(pageStartDelay, alive, [this, chapter, alive] {
        setReaderTouches(true);
        removeAudioSynchHightlight();
        // A chapter without timings has nothing to narrate (an empty list would end at once
        // and, in autoplay, skip ahead chapter after chapter).
        const auto* timings = chapter->audioSyncArray.asList();
        if (!timings || timings->empty())
            return;
        stopAudioSyncIfAny();
        m_context.activeMode = ReaderActiveModeReadAloud;
        if (!m_context.renderer)
            return;
        m_context.renderer->getFirstVisibleWordForScreenWithCallBack(
            [this, chapter, alive](const std::optional<base::Value>& word) {
                if (alive.expired())
                    return;
                releaseSynchroniser();
                m_audioSyncController = AudioSyncController::create(
                    chapter->audioSyncArray, m_delegates, m_context.currentBook, chapter->href, false);
                if (word) {
                    if (const auto* wordId = word->asDictionary() ? word->asDictionary()->find("wordId") : nullptr;
                        wordId && !wordId->isNull())
                        m_audioSyncController->playAudioFromWordId(wordId->description());
                }
                m_audioSyncController->start();
                m_audioSyncController->changeAudioPlayingSpeed(audioSyncSpeedRate(m_context.audioSyncSpeedRateOption));
                changePlayButtonState();
            });
    });
}

void ReaderReadAloud::playNextChapterForEpub()
{
    if (!m_context.renderer || !m_context.controller)
        return;
    auto pages = m_context.renderer->getActivePages();
    if (pages.empty())
        return;
    auto chapter = m_context.controller->navigation().getEpubChapterForIndex(pages.back().fileIndex);
    if (!chapter)
        return;
    m_context.currentReadAloudPageId = std::to_string(pages.back().fileIndex);
    playAudioSyncForChapter(chapter);
}

void ReaderReadAloud::alertForNoAudio()
{
    setReaderTouches(true);
    if (!m_context.controller)
        return;
    auto bundle = LocalizationHelper::currentBundle();
    auto alert = ui::AlertController::create(
        LocalizationHelper::localizedString("AUDIO_UNAVAILABLE_ALERT_TITLE", "Localizable", bundle),
        LocalizationHelper::localizedString("AUDIO_UNAVAILABLE_ALERT_MESSAGE", "Localizable", bundle),
        ui::AlertControllerStyle::Alert);
    auto ok = ui::AlertAction::create(
        base::uppercase(LocalizationHelper::localizedString("OK")), ui::AlertActionStyle::Default);
    ok->setTitleTextColor(ui::Color::black());
    alert->addAction(ok);
    m_context.controller->presentViewController(alert, true);
}

// MARK: - Speed

void ReaderReadAloud::changeAudioSyncSpeedRateWithOption()
{
    auto label = getAudioSyncSpeedRateLabel();
    if (label)
        label->setText(audioSyncSpeedRateText(m_context.audioSyncSpeedRateOption));
    if (m_audioSyncController) {
        if (label)
            label->setTag(m_context.audioSyncSpeedRateOption);
        m_audioSyncController->changeAudioPlayingSpeed(audioSyncSpeedRate(m_context.audioSyncSpeedRateOption));
    }
}

void ReaderReadAloud::speedOptionSelectedWithOption(int64_t option)
{
    // The list only offers 1 to 4; anything else is no speed.
    if (!audioSyncSpeedRateOptionFromRawValue(option))
        return;
    auto label = getAudioSyncSpeedRateLabel();
    if (label) {
        label->setTag(int(option));
        label->setText(audioSyncSpeedRateText(int32_t(option)));
    }
    if (m_audioSyncController) {
        m_context.audioSyncSpeedRateOption = int32_t(option);
        m_audioSyncController->changeAudioPlayingSpeed(audioSyncSpeedRate(m_context.audioSyncSpeedRateOption));
    }
    if (label) {
        if (auto item = label->superview())
            AccessibilityHelper::setAccessibilityForElementID(
                *item, "AudioSyncSpeedRateLabel", "ReaderLectoroAccessibility", label->text());
    }
}

void ReaderReadAloud::addSpeedSelectionView()
{
    if (m_speedView && m_speedView->superview()) {
        removeSpeedSelectionView();
        return;
    }
    auto view = readerView();
    if (!view)
        return;
    if (!m_speedView) {
        m_speedView = MVSpeedSelectionOptionsView::create();
        m_speedView->setDelegate(m_delegates->speedDelegate());
        if (m_context.theme && m_context.theme->top_toolbar_icons_color())
            m_speedView->setIconColor(*m_context.theme->top_toolbar_icons_color());
        m_speedView->setTheme();
    }
    auto list = m_speedView;
    list->setTranslatesAutoresizingMaskIntoConstraints(false);
    view->addSubview(list);
    auto label = getAudioSyncSpeedRateLabel();
    auto item = label ? label->superview() : nullptr;
    const double itemX = item ? item->frame().origin.x : 0;
    std::vector<ui::ConstraintPtr> constraints { list->leadingAnchor().constraintEqualTo(view->leadingAnchor(), itemX) };
    if (m_bar)
        constraints.push_back(m_bar->topAnchor().constraintEqualTo(list->bottomAnchor()));
    ui::Constraint::activate(constraints);
    const ui::Size size = list->preferredSize();
    const double barTop = m_bar ? m_bar->frame().origin.y : view->bounds().maxY();
    list->setFrame(ui::Rect { { itemX, barTop - size.height }, size });
    std::weak_ptr<int> alive = m_alive;
    list->addGestureRecognizer(ui::TapGestureRecognizer::create([this, alive](ui::GestureRecognizer&) {
        if (!alive.expired())
            removeSpeedSelectionView();
    }));
}

void ReaderReadAloud::removeSpeedSelectionView()
{
    if (auto list = std::exchange(m_speedView, nullptr))
        list->removeFromSuperview();
}

// MARK: - Stopping

void ReaderReadAloud::stopAudioSyncIfAny()
{
    if (!m_audioSyncController)
        return;
    if (m_context.renderer)
        m_context.renderer->view()->setUserInteractionEnabled(true);
    m_audioSyncController->stop();
    if (m_context.readAloudMode == ReadAloudModeOff) {
        m_context.activeMode = ReaderActiveModeNone;
        m_audioSyncController.reset();
    }
    changePlayButtonState();
}

void ReaderReadAloud::pauseAudioSyncIfAny()
{
    if (!m_audioSyncController)
        return;
    m_audioSyncController->pause();
    changePlayButtonState();
}

void ReaderReadAloud::resumeAudioSyncIfAny()
{
    if (!m_audioSyncController)
        return;
    m_audioSyncController->resume();
    changePlayButtonState();
}

void ReaderReadAloud::playPauseAudioSyncIfAny()
{
    if (!m_audioSyncController)
        return;
    m_audioSyncController->playPauseAction();
    changePlayButtonState();
}

void ReaderReadAloud::closeAudioSync()
{
    if (!readAloudNarrating(m_context.activeMode))
        return;
    closeColorPallete();
    stopAudioSyncIfAny();
    removeAudioSyncBottomBar();
    if (m_context.renderer)
        m_context.renderer->highlightWordByWordId("", "", "");
    removeSpeedSelectionView();
    m_context.lastReadAloudPageId = m_context.currentReadAloudPageId;
    m_context.currentReadAloudPageId.clear();
}

void ReaderReadAloud::stopAndCloseAudioSync()
{
    if (m_context.renderer)
        m_context.renderer->view()->setUserInteractionEnabled(true);
    removeFloatingAudioPlayerView();
    closeAudioSync();
    if (m_audioSyncController)
        m_audioSyncController->stop();
    removeSpeedSelectionView();
    m_audioSyncController.reset();
}

void ReaderReadAloud::closeFromBar()
{
    closeAudioSync();
    m_context.activeMode = ReaderActiveModeNone;
    m_context.readAloudMode = ReadAloudModeOff;
    if (m_context.controller)
        m_context.controller->moveTopAndBottomOnScreenWithIsAnimate(true);
}

void ReaderReadAloud::removeAudioSynchHightlight()
{
    if (!isAudioSyncPlaying() || !m_context.renderer)
        return;
    if (std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook)) {
        m_context.renderer->highlightWordByWordId("", "", "");
        return;
    }
    auto pages = m_context.renderer->getActivePages();
    if (pages.empty())
        return;
    for (const auto* page : { &pages.front(), &pages.back() }) {
        const std::string id = std::to_string(page->pageID);
        didJumpToTextWithFrame(ui::Rect {}, id);
        didJumpToSentenceWithWordFrames(std::nullopt, id);
    }
}

void ReaderReadAloud::restoreReadAloudController()
{
    if (m_context.readAloudMode == ReadAloudModeOff || !m_audioSyncController || !m_context.renderer)
        return;
    const std::string& page = m_audioSyncController->audioPlayingForPageIdentifier();
    auto active = activePageIDs();
    if (!page.empty() && std::find(active.begin(), active.end(), page) == active.end())
        m_context.renderer->navigateToPageNumber(page);
}

void ReaderReadAloud::resetAudioPlayerPosition()
{
    if (!m_context.controller || m_context.activeMode != ReaderActiveModeAudioPlayer)
        return;
    auto& players = m_context.controller->interactiveContent().players();
    // A player heard in the background leaves the page to the reader and keeps its place.
    if (players.audioPlayer() && players.audioPlayer()->isAudioResourcePlaybackground)
        return;
    if (const auto& view = players.playerView())
        view->setFrame(players.getFrameForAudioPlayerView(*view));
}

// MARK: - The synchroniser's reports

void ReaderReadAloud::didJumpToTextWithFrame(const ui::Rect& frame, const std::string& pageIdentifier)
{
    if (!m_context.renderer)
        return;
    const int64_t page = base::integerValue(pageIdentifier);
    m_context.renderer->highlightTextWithFrame(ui::Rect {}, page, "");
    m_context.renderer->highlightTextWithFrame(frame, page, m_context.audioSyncSelectedColor);
}

void ReaderReadAloud::didJumpToSentenceWithWordFrames(
    const std::optional<std::vector<ui::Rect>>& frames, const std::string& pageIdentifier)
{
    if (!m_context.renderer)
        return;
    const int64_t page = base::integerValue(pageIdentifier);
    m_context.renderer->highlightTextWithFrame(ui::Rect {}, page, "");
    m_context.renderer->highlightSentenceWithWordFrames(frames, page, m_context.audioSyncSelectedColor);
}

void ReaderReadAloud::didJumpToTextWithWordId(const std::string& wordId, const std::string& pageIdentifier)
{
    if (m_context.renderer)
        m_context.renderer->highlightWordByWordId(wordId, pageIdentifier, m_context.audioSyncSelectedColor);
}

void ReaderReadAloud::audioSyncdidComplete()
{
    if (m_context.renderer)
        m_context.renderer->view()->setUserInteractionEnabled(true);
    removeFloatingAudioPlayerView();
    m_audioSyncController.reset();
    m_context.activeMode = ReaderActiveModeNone;
}

void ReaderReadAloud::audioSyncDidStopped()
{
    if (m_context.renderer)
        m_context.renderer->view()->setUserInteractionEnabled(true);
    removeFloatingAudioPlayerView();
    m_audioSyncController.reset();
}

void ReaderReadAloud::audioSyncdidCompleteForPageIdentifier(const std::string& pageIdentifier)
{
    if (m_context.activeMode == ReaderActiveModeLinkAction) {
        closeAudioSync();
        return;
    }
    auto active = activePageIDs();
    const std::string last = active.empty() ? std::string() : active.back();
    if (auto pageBook = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook)) {
        if (m_context.readAloudMode == ReadAloudModeOff) {
            stopAudioSyncIfAny();
            if (m_context.renderer)
                m_context.renderer->view()->setUserInteractionEnabled(true);
            removeFloatingAudioPlayerView();
            m_audioSyncController.reset();
            m_context.activeMode = ReaderActiveModeNone;
            removeSpeedSelectionView();
            return;
        }
        changePlayButtonState();
        if (m_context.readAloudMode == ReadAloudModeReadToMe) {
            if (last == pageIdentifier) {
                stopAndCloseAudioSync();
                m_audioSyncController.reset();
            } else if (!last.empty()) {
                loadAudioSyncIdAvailableForPageNumber(base::integerValue(last));
            }
            return;
        }
        auto next = pageBook->pageForPagenumber(base::integerValue(pageIdentifier) + 1);
        if (!next) {
            stopAndCloseAudioSync();
            return;
        }
        const std::string nextId = std::to_string(next->pageID);
        if (std::find(active.begin(), active.end(), nextId) != active.end()) {
            loadAudioSyncIdAvailableForPageNumber(next->pageID);
        } else {
            removeSpeedSelectionView();
            pauseAudioSyncIfAny();
            if (m_context.renderer)
                m_context.renderer->navigateToPageNumber(nextId);
        }
        return;
    }
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook);
    if (!epub || !m_context.controller || m_context.readAloudMode == ReadAloudModeOff)
        return;
    auto pages = m_context.renderer ? m_context.renderer->getActivePages() : std::vector<RendererPage> {};
    std::weak_ptr<int> alive = m_alive;
    auto nextChapterLater = [this, alive] {
        base::RunLoop::main().postDelayed(nextChapterDelay, alive, [this] { playNextChapterForEpub(); });
    };
    if (m_context.readAloudMode == ReadAloudModeReadToMe) {
        if (!pages.empty() && pages.back().href == pageIdentifier) {
            stopAndCloseAudioSync();
            m_audioSyncController.reset();
        } else {
            nextChapterLater();
        }
        return;
    }
    const int64_t index = m_context.controller->search().getHrefFromFileIndex(pageIdentifier);
    auto& navigation = m_context.controller->navigation();
    auto next = index + 1 < int64_t(epub->chapters.size()) ? navigation.getEpubChapterForIndex(index + 1) : nullptr;
    if (!next) {
        stopAndCloseAudioSync();
        return;
    }
    m_context.activeMode = ReaderActiveModeReadAloud;
    const auto& environment = ui::Environment::current();
    if (environment.isPad() && environment.isDeviceLandscape()) {
        if (next->isAudioSyncSupported && (pages.size() < 2 || pages[1].fileIndex != index)) {
            nextChapterLater();
        } else if (auto after = navigation.getEpubChapterForIndex(index + 2)) {
            removeSpeedSelectionView();
            if (m_context.renderer)
                m_context.renderer->navigateToPageNumber(after->href);
        } else {
            stopAndCloseAudioSync();
        }
        return;
    }
    removeSpeedSelectionView();
    pauseAudioSyncIfAny();
    if (m_context.renderer)
        m_context.renderer->navigateToPageNumber(next->href);
    if (!next->isAudioSyncSupported)
        stopAndCloseAudioSync();
}

// MARK: - Word taps

void ReaderReadAloud::didTapOnWordWithWordId(const std::string& wordId)
{
    if (isAudioSyncPlaying())
        m_audioSyncController->playAudioFromWordId(wordId);
}

void ReaderReadAloud::didTapOnWordWithWordRect(const ui::Rect& rect, const std::string& wordText)
{
    if (isAudioSyncPlaying())
        m_audioSyncController->playAudioFromWordRect(rect, wordText);
}

} // namespace lectoro
