// Next / previous media: the two buttons beside the cover or on the picture (placed and
// sized by device), their enabled look, what a tap reports and resets in the player, and
// the reader's teardown when it is released.

#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"

#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/media/player/MediaBookVideoLayout.h"
#include "LectoroSDKWithReader/readersdk/media/MVLectoroMediaBookThemeVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookTOCController.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/ImageView.h"

namespace lectoro {

namespace {

constexpr const char* mediaSwitchNextGlyph = "\xd1\xa8"; // U+0468
constexpr const char* mediaSwitchPreviousGlyph = "\xd1\xa6"; // U+0466

// The view the buttons sit beside: the picture for a video (the very view the player
// draws into), the cover image for audio. Null when there is none.
std::shared_ptr<ui::View> mediaSwitchAnchor(MediaBookType type,
    const std::shared_ptr<MVMediaBookPlayer>& player, const std::shared_ptr<ui::View>& component,
    const std::shared_ptr<MVAudioBookPlayerViewController>& audio)
{
    if (type == MediaBookType::video) {
        auto picture = player ? player->getPlayerLayerView() : nullptr;
        if (!picture || !component)
            return nullptr;
        for (const auto& subview : component->subviews())
            if (subview == picture)
                return subview;
        return nullptr;
    }
    auto container = audio ? audio->getThumbnailContainerView() : nullptr;
    if (!container)
        return nullptr;
    for (const auto& subview : container->subviews())
        if (std::dynamic_pointer_cast<ui::ImageView>(subview))
            return subview;
    return nullptr;
}

} // namespace

// MARK: - The buttons

void MVLectoroMediaBookReader::addNextPreviousMediaButtons()
{
    auto& environment = ui::Environment::current();
    bool pad = environment.isPad();
    double fontSize = pad ? (ui::isLandscape(environment.deviceOrientation()) ? 30.0 : 40.0) : 20.0;
    auto makeButton = [&](const char* glyph, bool next) {
        auto button = ui::Button::create(ui::ButtonType::Custom);
        button->setFont(ui::Font(MVLectoroFontManager::getFontName(), fontSize));
        for (auto state :
            { ui::ControlState::Normal, ui::ControlState::Highlighted, ui::ControlState::Selected }) {
            button->setTitle(std::string(glyph), state);
            button->setTitleColor(ui::Color::white(), state);
        }
        button->setTranslatesAutoresizingMaskIntoConstraints(false);
        std::weak_ptr<MVLectoroMediaBookReader> weak = self();
        button->addTarget(ui::ControlEvent::TouchUpInside, [weak, next](ui::Control&) {
            if (auto reader = weak.lock())
                next ? reader->nextMediaButtonTapped() : reader->previousMediaButtonTapped();
        });
        return button;
    };
    if (!m_previousButton)
        m_previousButton = makeButton(mediaSwitchPreviousGlyph, false);
    if (!m_nextButton)
        m_nextButton = makeButton(mediaSwitchNextGlyph, true);
    addReaderAccessibilityOn(*m_nextButton, "MediaBNextButton", "");
    addReaderAccessibilityOn(*m_previousButton, "MediaBPreviousButton", "");
    applyNavigationButtonLook(*m_nextButton, m_nextDisabled);
    applyNavigationButtonLook(*m_previousButton, m_previousDisabled);

    // A video's buttons appear with its controls.
    if (placeNextPreviousMediaButtons() && m_type == MediaBookType::video)
        hideNextPreviousControls(true);
    updateNextPreviousButtonMetrics();
}

bool MVLectoroMediaBookReader::placeNextPreviousMediaButtons()
{
    auto component = playerComponentView();
    auto anchor = mediaSwitchAnchor(m_type, m_player, component, m_audioPlayer);
    if (!anchor || !m_previousButton || !m_nextButton)
        return false;
    ui::Constraint::deactivate(m_nextPreviousConstraints);
    m_nextPreviousConstraints.clear();
    component->addSubview(m_previousButton);
    component->addSubview(m_nextButton);
    double size = mediaBookNextPreviousButtonSize(ui::Environment::current().isPad());
    auto& constraints = m_nextPreviousConstraints;
    for (const auto& button : { m_previousButton, m_nextButton }) {
        constraints.push_back(button->centerYAnchor().constraintEqualTo(anchor->centerYAnchor()));
        constraints.push_back(button->widthAnchor().constraintEqualToConstant(size));
        constraints.push_back(
            button->heightAnchor().constraintEqualTo(m_previousButton->widthAnchor(), 1.0, 0));
    }
    if (m_type == MediaBookType::video) {
        m_previousButtonLeadingConstraint
            = m_previousButton->leadingAnchor().constraintEqualTo(component->leadingAnchor());
        m_nextButtonTrailingConstraint
            = m_nextButton->trailingAnchor().constraintEqualTo(component->trailingAnchor());
    } else {
        // Outside the cover, on either side of it.
        m_previousButtonLeadingConstraint
            = m_previousButton->trailingAnchor().constraintEqualTo(anchor->leadingAnchor());
        m_nextButtonTrailingConstraint
            = m_nextButton->leadingAnchor().constraintEqualTo(anchor->trailingAnchor());
    }
    constraints.push_back(m_previousButtonLeadingConstraint);
    constraints.push_back(m_nextButtonTrailingConstraint);
    ui::Constraint::activate(constraints);
    component->bringSubviewToFront(m_previousButton.get());
    component->bringSubviewToFront(m_nextButton.get());
    return true;
}

void MVLectoroMediaBookReader::updateNextPreviousButtonMetrics()
{
    auto& environment = ui::Environment::current();
    bool pad = environment.isPad();
    bool video = m_type == MediaBookType::video;
    if (video && !m_videoPlayer)
        return;
    auto metrics = mediaBookNextPreviousMetrics(video, pad, ui::isLandscape(environment.deviceOrientation()),
        video ? m_videoPlayer->view()->safeAreaInsets() : ui::EdgeInsets {});
    if (m_previousButtonLeadingConstraint)
        m_previousButtonLeadingConstraint->setConstant(metrics.previousConstant);
    if (m_nextButtonTrailingConstraint)
        m_nextButtonTrailingConstraint->setConstant(metrics.nextConstant);
    for (const auto& button : { m_previousButton, m_nextButton })
        if (button)
            button->setFont(ui::Font(MVLectoroFontManager::getFontName(), metrics.fontSize));

    // Nothing solves constraints here: the frames follow the same numbers.
    auto component = playerComponentView();
    auto anchor = mediaSwitchAnchor(m_type, m_player, component, m_audioPlayer);
    if (!anchor || !m_previousButton || !m_nextButton || m_previousButton->superview() != component)
        return;
    // A new cover image (the book's thumbnail arrived) takes the buttons along.
    if (m_type == MediaBookType::audio && m_previousButtonLeadingConstraint
        && m_previousButtonLeadingConstraint->secondItem().get()
            != static_cast<ui::LayoutItem*>(anchor.get())) {
        placeNextPreviousMediaButtons();
        m_previousButtonLeadingConstraint->setConstant(metrics.previousConstant);
        m_nextButtonTrailingConstraint->setConstant(metrics.nextConstant);
    }
    double size = mediaBookNextPreviousButtonSize(pad);
    auto cover = anchor->convertRectTo(anchor->bounds(), component.get());
    double y = cover.midY() - size / 2;
    if (video) {
        m_previousButton->setFrame(ui::Rect(metrics.previousConstant, y, size, size));
        m_nextButton->setFrame(
            ui::Rect(component->bounds().size.width + metrics.nextConstant - size, y, size, size));
    } else {
        m_previousButton->setFrame(ui::Rect(cover.minX() + metrics.previousConstant - size, y, size, size));
        m_nextButton->setFrame(ui::Rect(cover.maxX() + metrics.nextConstant, y, size, size));
    }
}

void MVLectoroMediaBookReader::hideNextPreviousControls(bool hide)
{
    if (m_previousButton)
        m_previousButton->setHidden(hide);
    if (m_nextButton)
        m_nextButton->setHidden(hide);
}

void MVLectoroMediaBookReader::applyNavigationButtonLook(ui::Button& button, bool disabled)
{
    // Both looks stay visible; a disabled button only stops answering touches.
    button.setUserInteractionEnabled(!disabled);
    std::optional<ui::Color> colour = disabled ? m_theme->media_playerView_disabled_navigation_arrow_color()
        : m_type == MediaBookType::video       ? m_theme->video_player_icon_color()
                                               : m_theme->media_playerView_slider_filled_color();
    button.setTitleColor(colour, ui::ControlState::Normal);
    button.setTitleColor(colour, ui::ControlState::Selected);
}

// MARK: - Switching media

void MVLectoroMediaBookReader::resetForMediaChange()
{
    // Speed back to normal, through the speed panel's own handling so its listener hears it.
    if (m_model)
        m_model->mediaNarrationSpeedRate = 1.0f;
    didNarrationSpeedValueChanges(m_model);

    // No bookmarks of the book left.
    if (m_videoPlayer)
        m_videoPlayer->deleteAllBookmarks(m_videoPlayer->bookmarkMarks());
    if (m_audioPlayer)
        m_audioPlayer->deleteAllBookmarks(m_audioPlayer->bookmarkMarks());
    m_bookmarks.clear();
    if (m_toc)
        m_toc->setData(std::nullopt);

    // A timer set for this media would pause the next one; no panel of it stays open.
    stopSleepTimer();
    removeSleepTimerController();
    removeNarrationSpeedController();
    removePopOverController();
    removeBookmarkController();

    if (m_type == MediaBookType::video) {
        if (m_player)
            m_player->changeMediaSubtitle(std::nullopt);
        if (m_videoPlayer) {
            m_videoPlayer->setSubtitleViewColor(ui::Color::clear());
            m_videoPlayer->setSubtitleViewState(false);
            m_videoPlayer->isVideoReadyToPlay(false);
            m_videoPlayer->enableDisbleMuteButton(true);
        }
        hideNextPreviousControls(true);
    }
}

// MARK: - Teardown

void MVLectoroMediaBookReader::tearDownForRelease()
{
    // Closing stops the player, lets go of the views and panels, stops the scheduler, takes
    // the remote-command handlers off and empties the lock screen: each once, also for a
    // reader whose player was never made.
    closePlayer();
    m_model = nullptr;
    m_popOverViewController = nullptr;
    m_bookmarkController = nullptr;
}

} // namespace lectoro
