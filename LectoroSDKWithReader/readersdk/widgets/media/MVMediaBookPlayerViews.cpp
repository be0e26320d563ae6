#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPlayerViews.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "platform/base/URL.h"
#include "platform/ui/BezierPath.h"
#include "platform/ui/Environment.h"

#include <algorithm>

namespace lectoro {

namespace {

// The transport row: seven equal cells, as wide as this on a tablet and narrower where the
// view is (a phone's row fills its width less the margins).
constexpr double transportSpacing = 4;
constexpr double transportPreferredWidth = 7 * 64 + 6 * transportSpacing;
constexpr double controlHeight = 44;
constexpr double sideMargin = 16;
constexpr double seekBarPreferredWidth = 600;
constexpr double videoControlMargin = 8;
constexpr double videoControlSpacing = 4;
constexpr double videoControlMinimumWidth = 48;
constexpr double coverSide = 140;
constexpr double coverMinimumSide = 44;

// Icon-font glyphs of the controls (the skip glyphs stay the next / previous media buttons'
// own, so the chapter moves take the chevrons and the 15 s skips the fast-wind arrows).
constexpr const char* glyphPreviousChapter = "I";
constexpr const char* glyphNextChapter = "J";
constexpr const char* glyphBookmark = "q";
constexpr const char* glyphRewind = "\xee\xa4\x82";          // U+E902
constexpr const char* glyphForward = "\xee\xa4\x83";         // U+E903
constexpr const char* glyphBack = "\xee\xa4\x80";            // U+E900
constexpr const char* glyphSoundOn = "i";                    // U+0069
constexpr const char* glyphSoundOff = "\xee\xa4\x84";        // U+E904
constexpr const char* glyphSubtitles = "\xea\xac\xbc";       // U+AB3C
constexpr const char* glyphFullScreen = "\xee\xa4\x85";      // U+E905
constexpr const char* glyphExitFullScreen = "\xee\xa4\x86";  // U+E906
constexpr const char* glyphMoreOptions = "\xc4\xbe";          // U+013E

int64_t bookmarkTime(const SDKBookmarkVO& bookmark)
{
    return bookmark.metaData["CurrentTime"].asInteger().value_or(0);
}

// The book's cover from its thumbnail address: a file address or a plain path to a picture
// that reads as one; a web address or anything else gives none (nothing here fetches).
ui::ImagePtr coverImage(const std::string& thumbnailURL)
{
    if (thumbnailURL.empty())
        return nullptr;
    std::string path = thumbnailURL;
    if (thumbnailURL.find("://") != std::string::npos) {
        auto url = base::URL::parse(thumbnailURL);
        if (!url || !url->isFileURL())
            return nullptr;
        path = url->path();
    }
    auto image = ui::Image::fromFile(path);
    if (!image || !(image->size().width > 0) || !(image->size().height > 0))
        return nullptr;
    return image;
}

// A book without a cover shows a plain one: a coloured card with a pair of open pages.
ui::ImagePtr placeholderCover(const ui::Color& card, const ui::Color& pages)
{
    constexpr double side = 140;
    auto book = ui::BezierPath::rect(ui::Rect { { 36, 48 }, { 32, 44 } });
    book.append(ui::BezierPath::rect(ui::Rect { { 72, 48 }, { 32, 44 } }));
    return ui::Image::drawn(ui::Size { side, side }, 1, false,
        { ui::ImageFill { ui::BezierPath::roundedRect(ui::Rect { { 0, 0 }, { side, side } }, 8), card },
            ui::ImageFill { book, pages } });
}

std::shared_ptr<ui::StackView> makeRow(double spacing)
{
    auto row = ui::StackView::create();
    row->setAxis(ui::StackAxis::Horizontal);
    row->setSpacing(spacing);
    row->setAlignment(ui::StackAlignment::Fill);
    row->setTranslatesAutoresizingMaskIntoConstraints(false);
    return row;
}

} // namespace

// --- Shared by the audio and video views ---

void MVMediaBookPlayerViewBase::loadView()
{
    auto root = ui::View::create(ui::Rect { { 0, 0 }, { 375, 320 } });
    root->setBackgroundColor(themeColor(&MVLectoroMediaBookThemeVO::media_playerView_background, ui::Color::black()));
    m_title = ui::Label::create();
    m_title->setText(m_model ? m_model->mediaBookTitle : std::string());
    m_chapterLabel = ui::Label::create();
    m_seekBar = ui::Slider::create();
    m_seekBar->setAccessibilityIdentifier("MediaSeekBar");
    std::weak_ptr<MVMediaBookPlayerViewBase> weakSelf = std::static_pointer_cast<MVMediaBookPlayerViewBase>(shared_from_this());
    m_seekBar->addTarget(ui::ControlEvent::ValueChanged, [weakSelf](ui::Control&) {
        auto self = weakSelf.lock();
        if (!self || !self->m_model)
            return;
        self->m_model->currentTime = static_cast<int64_t>(self->m_seekBar->value());
        self->didChangeSeekBar();
    });
    m_elapsed = ui::Label::create();
    m_remaining = ui::Label::create();
    m_remaining->setTextAlignment(ui::TextAlignment::Right);
    // Texts and controls are drawn in the player's icon colour over its dark background.
    const ui::Color ink = themeColor(&MVLectoroMediaBookThemeVO::video_player_icon_color, ui::Color::white());
    for (const auto& label : { m_title, m_chapterLabel, m_elapsed, m_remaining })
        label->setTextColor(ink);
    for (const auto& view : std::initializer_list<std::shared_ptr<ui::View>> { m_title, m_chapterLabel, m_seekBar, m_elapsed, m_remaining }) {
        view->setTranslatesAutoresizingMaskIntoConstraints(false);
        root->addSubview(view);
    }

    using Self = MVMediaBookPlayerViewBase;
    struct Control {
        const char* title;
        bool glyph;
        const char* label;
        const char* identifier;
        std::function<void(Self&, ui::Button&)> action;
    };
    const Control controls[] = {
        { glyphPreviousChapter, true, "Previous chapter", "MediaPreviousChapterButton", [](Self& self, ui::Button&) { self.didTapPreviousChapter(); } },
        { glyphRewind, true, "Rewind 15 seconds", "MediaRewindButton", [](Self& self, ui::Button&) { self.didTapRewind(); } },
        { ICON_MEDIA_PLAY, true, "Play", "MediaPlayPauseButton", [](Self& self, ui::Button&) { self.didTapPlayPause(); } },
        { glyphForward, true, "Forward 15 seconds", "MediaForwardButton", [](Self& self, ui::Button&) { self.didTapForward(); } },
        { glyphNextChapter, true, "Next chapter", "MediaNextChapterButton", [](Self& self, ui::Button&) { self.didTapNextChapter(); } },
        { glyphBookmark, true, "Bookmark", "MediaBookmarkButton", [](Self& self, ui::Button&) { self.didTapBookmarkButton(); } },
        { "1.0x", false, "Narration speed", "MediaNarrationSpeedButton", [](Self& self, ui::Button& sender) { self.didTapNarrationSpeed(sender); } },
    };
    m_transport = makeRow(transportSpacing);
    m_transport->setDistribution(ui::StackDistribution::FillEqually);
    m_transport->setAccessibilityIdentifier("MediaTransportControls");
    const bool pad = ui::Environment::current().isPad();
    for (const auto& control : controls) {
        auto button = makeButton<Self>(control.title, control.identifier, control.action);
        button->setFont(control.glyph ? ui::Font(MVLectoroFontManager::getFontName(), pad ? 28 : 24) : ui::Font::systemFont(pad ? 17 : 15));
        button->setAccessibilityLabel(std::string(control.label));
        styleControl(*button);
        m_transport->addArrangedSubview(button);
        m_buttons[control.identifier] = button;
    }
    root->addSubview(m_transport);
    setView(root);
    buildExtraControls(*root);
    hideBookmark(m_bookmarkHidden);
    disableBookmark(m_bookmarkDisabled);
    disablePreviousChapter(m_previousDisabled);
    disableNextChapter(m_nextDisabled);
    setCurrentChapter(m_chapter);
    showModel(m_model);
}

void MVMediaBookPlayerViewBase::styleControl(ui::Button& button) const
{
    button.setTitleColor(themeColor(&MVLectoroMediaBookThemeVO::video_player_icon_color, ui::Color::white()));
    button.setTitleColor(
        themeColor(&MVLectoroMediaBookThemeVO::media_playerView_disabled_navigation_arrow_color, ui::Color::gray()),
        ui::ControlState::Disabled);
}

void MVMediaBookPlayerViewBase::activateTextAndTimeRows(ui::View& root)
{
    auto inWidth = [&root](ui::View& view) {
        return std::vector<ui::ConstraintPtr> {
            view.leadingAnchor().constraintEqualTo(root.leadingAnchor(), sideMargin),
            view.trailingAnchor().constraintEqualTo(root.trailingAnchor(), -sideMargin),
        };
    };
    std::vector<ui::ConstraintPtr> constraints = inWidth(*m_title);
    for (auto& constraint : inWidth(*m_chapterLabel))
        constraints.push_back(constraint);
    // The seek bar keeps to a reading width on a tablet, centred; the time labels hang
    // under its two ends.
    auto seekWidth = m_seekBar->widthAnchor().constraintEqualToConstant(seekBarPreferredWidth);
    seekWidth->setPriority(ui::LayoutPriority::defaultHigh);
    auto transportWidth = m_transport->widthAnchor().constraintEqualToConstant(transportPreferredWidth);
    transportWidth->setPriority(ui::LayoutPriority::defaultHigh);
    for (auto constraint : {
             m_title->heightAnchor().constraintEqualToConstant(24),
             m_chapterLabel->topAnchor().constraintEqualTo(m_title->bottomAnchor(), 2),
             m_chapterLabel->heightAnchor().constraintEqualToConstant(20),
             m_seekBar->topAnchor().constraintEqualTo(m_chapterLabel->bottomAnchor(), 8),
             m_seekBar->centerXAnchor().constraintEqualTo(root.centerXAnchor()),
             m_seekBar->leadingAnchor().constraintGreaterThanOrEqualTo(root.leadingAnchor(), sideMargin),
             seekWidth,
             m_seekBar->heightAnchor().constraintEqualToConstant(20),
             m_elapsed->topAnchor().constraintEqualTo(m_seekBar->bottomAnchor(), 2),
             m_elapsed->leadingAnchor().constraintEqualTo(m_seekBar->leadingAnchor()),
             m_elapsed->widthAnchor().constraintEqualToConstant(80),
             m_elapsed->heightAnchor().constraintEqualToConstant(16),
             m_remaining->topAnchor().constraintEqualTo(m_elapsed->topAnchor()),
             m_remaining->trailingAnchor().constraintEqualTo(m_seekBar->trailingAnchor()),
             m_remaining->widthAnchor().constraintEqualToConstant(80),
             m_remaining->heightAnchor().constraintEqualToConstant(16),
             m_transport->topAnchor().constraintEqualTo(m_elapsed->bottomAnchor(), 8),
             m_transport->centerXAnchor().constraintEqualTo(root.centerXAnchor()),
             m_transport->leadingAnchor().constraintGreaterThanOrEqualTo(root.leadingAnchor(), videoControlMargin),
             transportWidth,
             m_transport->heightAnchor().constraintEqualToConstant(controlHeight),
         })
        constraints.push_back(constraint);
    ui::Constraint::activate(constraints);
}

void MVMediaBookPlayerViewBase::viewDidLayoutSubviews()
{
    // The marks follow the seek bar wherever the layout put it.
    for (const auto& [bookmark, mark] : m_marks)
        placeMark(bookmark);
}

void MVMediaBookPlayerViewBase::addControl(const std::shared_ptr<ui::Button>& button)
{
    m_buttons[std::string(button->accessibilityIdentifier())] = button;
    view()->addSubview(button);
}

std::shared_ptr<ui::Button> MVMediaBookPlayerViewBase::button(const std::string& identifier)
{
    loadViewIfNeeded();
    auto found = m_buttons.find(identifier);
    return found == m_buttons.end() ? nullptr : found->second;
}

std::shared_ptr<ui::Slider> MVMediaBookPlayerViewBase::seekBar()
{
    loadViewIfNeeded();
    return m_seekBar;
}

std::shared_ptr<ui::Label> MVMediaBookPlayerViewBase::elapsedLabel()
{
    loadViewIfNeeded();
    return m_elapsed;
}

std::shared_ptr<ui::Label> MVMediaBookPlayerViewBase::chapterLabel()
{
    loadViewIfNeeded();
    return m_chapterLabel;
}

void MVMediaBookPlayerViewBase::hideBookmark(bool hidden)
{
    m_bookmarkHidden = hidden;
    if (auto found = m_buttons.find("MediaBookmarkButton"); found != m_buttons.end())
        found->second->setHidden(hidden);
    for (auto& [bookmark, mark] : m_marks)
        mark->setHidden(hidden);
}

void MVMediaBookPlayerViewBase::disableBookmark(bool disabled)
{
    m_bookmarkDisabled = disabled;
    if (auto found = m_buttons.find("MediaBookmarkButton"); found != m_buttons.end())
        found->second->setEnabled(!disabled);
}

void MVMediaBookPlayerViewBase::disablePreviousChapter(bool disabled)
{
    m_previousDisabled = disabled;
    if (auto found = m_buttons.find("MediaPreviousChapterButton"); found != m_buttons.end())
        found->second->setEnabled(!disabled);
}

void MVMediaBookPlayerViewBase::disableNextChapter(bool disabled)
{
    m_nextDisabled = disabled;
    if (auto found = m_buttons.find("MediaNextChapterButton"); found != m_buttons.end())
        found->second->setEnabled(!disabled);
}

void MVMediaBookPlayerViewBase::setCurrentChapter(std::shared_ptr<MVMediaBookChapterVO> chapter)
{
    m_chapter = std::move(chapter);
    if (m_chapterLabel)
        m_chapterLabel->setText(m_chapter ? m_chapter->chapterTitle.value_or("") : std::string());
    for (const auto& [bookmark, mark] : m_marks)
        placeMark(bookmark);
}

void MVMediaBookPlayerViewBase::showModel(const std::shared_ptr<MVMediaBookModel>& model)
{
    if (!m_seekBar || !model)
        return;
    int64_t total = model->currentChapter ? model->currentChapter->avAssetTotalTime : 0;
    m_seekBar->setMaximumValue(static_cast<double>(std::max<int64_t>(total, 0)));
    m_seekBar->setValue(static_cast<double>(model->currentTime));
    m_elapsed->setText(mediaTimeText(model->currentTime));
    m_remaining->setText("-" + mediaTimeText(total - model->currentTime));
    bool playing = model->mediaCurrentState == CurrentState::Playing;
    auto playPause = m_buttons["MediaPlayPauseButton"];
    playPause->setTitle(playing ? ICON_MEDIA_PAUSE : ICON_MEDIA_PLAY);
    playPause->setAccessibilityLabel(std::string(playing ? "Pause" : "Play"));
    char rate[16];
    std::snprintf(rate, sizeof rate, "%.2gx", static_cast<double>(model->mediaNarrationSpeedRate));
    m_buttons["MediaNarrationSpeedButton"]->setTitle(std::string(rate));
}

void MVMediaBookPlayerViewBase::placeMark(const std::shared_ptr<SDKBookmarkVO>& bookmark)
{
    auto found = std::find_if(m_marks.begin(), m_marks.end(), [&](const auto& entry) { return entry.first == bookmark; });
    if (found == m_marks.end())
        return;
    int64_t total = m_chapter ? m_chapter->avAssetTotalTime : 0;
    double share = total > 0 ? std::clamp(static_cast<double>(bookmarkTime(*bookmark)) / static_cast<double>(total), 0.0, 1.0) : 0;
    const auto bar = m_seekBar->frame();
    found->second->setFrame(ui::Rect { { bar.minX() + share * bar.width() - 1, bar.minY() - 4 }, { 2, bar.height() + 8 } });
}

void MVMediaBookPlayerViewBase::addBookmark(const std::shared_ptr<SDKBookmarkVO>& bookmark)
{
    if (!bookmark)
        return;
    loadViewIfNeeded();
    // One mark per bookmark: the record, or another copy of the same stored bookmark.
    if (std::any_of(m_marks.begin(), m_marks.end(), [&](const auto& entry) {
            return entry.first == bookmark || (!bookmark->localID.empty() && entry.first->localID == bookmark->localID);
        }))
        return;
    auto mark = ui::View::create();
    mark->setAccessibilityIdentifier("MediaBookmarkMark");
    mark->setBackgroundColor(themeColor(&MVLectoroMediaBookThemeVO::media_playerView_slider_filled_color, ui::Color::blue()));
    mark->setHidden(m_bookmarkHidden);
    view()->addSubview(mark);
    m_marks.emplace_back(bookmark, mark);
    placeMark(bookmark);
}

void MVMediaBookPlayerViewBase::deleteBookmark(const std::shared_ptr<SDKBookmarkVO>& bookmark)
{
    // The same record, or one naming the same stored bookmark.
    auto same = [&](const auto& entry) {
        return entry.first == bookmark
            || (bookmark && !bookmark->localID.empty() && entry.first->localID == bookmark->localID);
    };
    for (auto it = m_marks.begin(); it != m_marks.end();) {
        if (same(*it)) {
            it->second->removeFromSuperview();
            it = m_marks.erase(it);
        } else {
            ++it;
        }
    }
}

void MVMediaBookPlayerViewBase::deleteAllBookmarks(const std::vector<std::shared_ptr<SDKBookmarkVO>>& bookmarks)
{
    for (const auto& bookmark : bookmarks)
        deleteBookmark(bookmark);
}

std::vector<std::shared_ptr<SDKBookmarkVO>> MVMediaBookPlayerViewBase::bookmarkMarks() const
{
    std::vector<std::shared_ptr<SDKBookmarkVO>> result;
    for (const auto& [bookmark, mark] : m_marks)
        result.push_back(bookmark);
    return result;
}

// --- Audio ---

std::shared_ptr<MVAudioBookPlayerViewController> MVAudioBookPlayerViewController::create(std::shared_ptr<MVMediaBookModel> model)
{
    return std::shared_ptr<MVAudioBookPlayerViewController>(new MVAudioBookPlayerViewController(std::move(model)));
}

void MVAudioBookPlayerViewController::buildExtraControls(ui::View& root)
{
    // The reader lays its top bar (back, title, sleep) over the top edge of this view, so the
    // cover and everything under it start below that bar. On a phone the chapter panel
    // starts a little above this view's bottom edge (by the status bar's height less a
    // sliver of the content), so the controls keep clear of the last 40 points there.
    const bool pad = ui::Environment::current().isPad();
    m_topInset = pad ? 70 : 50;
    const double bottomMargin = pad ? 8 : 40;
    m_thumbnailContainer = ui::View::create();
    m_thumbnailContainer->setAccessibilityIdentifier("MediaThumbnailContainer");
    m_thumbnailContainer->setTranslatesAutoresizingMaskIntoConstraints(false);
    root.addSubview(m_thumbnailContainer);
    activateTextAndTimeRows(root);
    // The cover is square and gives way first when the view is short (a phone held
    // sideways, or a small one upright): the controls under it always fit.
    auto coverSize = m_thumbnailContainer->heightAnchor().constraintEqualToConstant(coverSide);
    coverSize->setPriority(ui::LayoutPriority::defaultHigh);
    ui::Constraint::activate({
        m_thumbnailContainer->topAnchor().constraintEqualTo(root.topAnchor(), m_topInset + 8),
        m_thumbnailContainer->centerXAnchor().constraintEqualTo(root.centerXAnchor()),
        m_thumbnailContainer->widthAnchor().constraintEqualTo(m_thumbnailContainer->heightAnchor()),
        m_thumbnailContainer->heightAnchor().constraintGreaterThanOrEqualToConstant(coverMinimumSide),
        coverSize,
        title()->topAnchor().constraintEqualTo(m_thumbnailContainer->bottomAnchor(), 4),
        transport()->bottomAnchor().constraintLessThanOrEqualTo(root.bottomAnchor(), -bottomMargin),
    });
    updateAudioThumbnail();
}

std::shared_ptr<ui::View> MVAudioBookPlayerViewController::getThumbnailContainerView()
{
    loadViewIfNeeded();
    return m_thumbnailContainer;
}

void MVAudioBookPlayerViewController::updateAudioThumbnail()
{
    if (!m_thumbnailContainer)
        return;
    for (auto subview : std::vector(m_thumbnailContainer->subviews()))
        subview->removeFromSuperview();
    std::shared_ptr<ui::ImageView> cover;
    if (auto delegate = m_delegate.lock(); delegate && m_model)
        cover = delegate->imageViewForThumbnail(m_model->thumbnailURL);
    if (!cover)
        cover = ui::ImageView::create(m_model ? coverImage(m_model->thumbnailURL) : nullptr);
    if (!cover->image())
        cover->setImage(placeholderCover(themeColor(&MVLectoroMediaBookThemeVO::media_playerView_slider_filled_color, ui::Color::blue()),
            themeColor(&MVLectoroMediaBookThemeVO::video_player_icon_color, ui::Color::white())));
    cover->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_thumbnailContainer->addSubview(cover);
    ui::Constraint::activate({
        cover->leadingAnchor().constraintEqualTo(m_thumbnailContainer->leadingAnchor()),
        cover->trailingAnchor().constraintEqualTo(m_thumbnailContainer->trailingAnchor()),
        cover->topAnchor().constraintEqualTo(m_thumbnailContainer->topAnchor()),
        cover->bottomAnchor().constraintEqualTo(m_thumbnailContainer->bottomAnchor()),
    });
}

void MVAudioBookPlayerViewController::updatePlayerView(MediaPlayerViewUpdate, const std::shared_ptr<MVMediaBookModel>& model,
    bool showLoader)
{
    loadViewIfNeeded();
    // The loader shows while a stream is not playing yet.
    m_loaderShown = showLoader && model && model->mediaCurrentState == CurrentState::Loading;
    showModel(model ? model : m_model);
}

void MVAudioBookPlayerViewController::addSleepTimeView()
{
    loadViewIfNeeded();
    if (m_sleepLabel)
        return;
    m_sleepLabel = ui::Label::create();
    m_sleepLabel->setAccessibilityIdentifier("MediaSleepTimeLabel");
    m_sleepLabel->setTextAlignment(ui::TextAlignment::Center);
    m_sleepLabel->setTextColor(themeColor(&MVLectoroMediaBookThemeVO::video_player_icon_color, ui::Color::white()));
    m_sleepLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    view()->addSubview(m_sleepLabel);
    // Between the elapsed and the remaining time, under the seek bar's middle.
    ui::Constraint::activate({
        m_sleepLabel->centerXAnchor().constraintEqualTo(seekBar()->centerXAnchor()),
        m_sleepLabel->centerYAnchor().constraintEqualTo(elapsedLabel()->centerYAnchor()),
        m_sleepLabel->widthAnchor().constraintEqualToConstant(100),
        m_sleepLabel->heightAnchor().constraintEqualToConstant(16),
    });
}

void MVAudioBookPlayerViewController::removeSleepTimeView()
{
    if (m_sleepLabel)
        m_sleepLabel->removeFromSuperview();
    m_sleepLabel.reset();
}

void MVAudioBookPlayerViewController::setSleepTimeLabelText(const std::string& text)
{
    if (m_sleepLabel)
        m_sleepLabel->setText(text);
}

void MVAudioBookPlayerViewController::didTapPlayPause()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnPlayPause(m_model);
}

void MVAudioBookPlayerViewController::didTapForward()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnForward();
}

void MVAudioBookPlayerViewController::didTapRewind()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnRewind();
}

void MVAudioBookPlayerViewController::didTapNextChapter()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnNextChapter();
}

void MVAudioBookPlayerViewController::didTapPreviousChapter()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnPreviousChapter();
}

void MVAudioBookPlayerViewController::didTapBookmarkButton()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnBookmark();
}

void MVAudioBookPlayerViewController::didTapNarrationSpeed(ui::Button& sender)
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnNarrationSpeed(sender);
}

void MVAudioBookPlayerViewController::didChangeSeekBar()
{
    if (auto delegate = m_delegate.lock())
        delegate->didSeekBarValueChanged();
}

// --- Video ---

std::shared_ptr<MVVideoBookPlayerViewController> MVVideoBookPlayerViewController::create(
    std::shared_ptr<MVMediaBookModel> model, std::shared_ptr<ui::View> videoPlayerView)
{
    return std::shared_ptr<MVVideoBookPlayerViewController>(
        new MVVideoBookPlayerViewController(std::move(model), std::move(videoPlayerView)));
}

MVVideoBookPlayerViewController::~MVVideoBookPlayerViewController()
{
    if (m_videoView && m_pictureTap)
        m_videoView->removeGestureRecognizer(m_pictureTap.get());
}

void MVVideoBookPlayerViewController::buildExtraControls(ui::View& root)
{
    // The picture fills the view behind the controls; a tap on it shows or hides them.
    if (!m_videoView)
        m_videoView = ui::View::create();
    m_videoView->setFrame(root.bounds());
    m_videoView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    std::weak_ptr<MVVideoBookPlayerViewController> weakSelf
        = std::static_pointer_cast<MVVideoBookPlayerViewController>(shared_from_this());
    m_pictureTap = ui::TapGestureRecognizer::create([weakSelf](ui::GestureRecognizer&) {
        if (auto self = weakSelf.lock())
            self->tapOnVideo();
    });
    m_videoView->addGestureRecognizer(m_pictureTap);
    root.insertSubview(m_videoView, 0);
    using Self = MVVideoBookPlayerViewController;
    auto report = [](auto call) {
        return [call](Self& self, ui::Button& sender) {
            if (auto delegate = self.m_delegate.lock())
                call(self, *delegate, sender);
        };
    };
    using Delegate = MVVideoBookPlayerViewControllerDelegate;
    struct TopControl {
        const char* glyph;
        const char* label;
        const char* identifier;
        std::function<void(Self&, ui::Button&)> action;
    };
    const TopControl topControls[] = {
        // Full screen and mute show what a tap turned on, whoever listens.
        { glyphFullScreen, "Full screen", "MediaVideoFullScreenButton", [](Self& self, ui::Button& sender) {
             self.m_fullScreen = !self.m_fullScreen;
             sender.setTitle(std::string(self.m_fullScreen ? glyphExitFullScreen : glyphFullScreen));
             sender.setAccessibilityLabel(std::string(self.m_fullScreen ? "Exit full screen" : "Full screen"));
             if (auto delegate = self.m_delegate.lock())
                 delegate->didTapOnVideoFullScreen(self.m_fullScreen);
         } },
        { glyphSoundOn, "Mute", "MediaVideoMuteButton", [](Self& self, ui::Button& sender) {
             self.m_muted = !self.m_muted;
             sender.setTitle(std::string(self.m_muted ? glyphSoundOff : glyphSoundOn));
             sender.setAccessibilityLabel(std::string(self.m_muted ? "Unmute" : "Mute"));
             if (auto delegate = self.m_delegate.lock())
                 delegate->didTapOnVideoMute(self.m_muted);
         } },
        { glyphBack, "Back", "MediaVideoBackButton",
            report([](Self&, Delegate& delegate, ui::Button&) { delegate.didTapOnVideoBack(); }) },
        { glyphSubtitles, "Subtitles", "MediaVideoSubtitleButton",
            report([](Self& self, Delegate& delegate, ui::Button&) { delegate.didTapOnSubtitleView(!self.m_subtitlesOn); }) },
        { glyphMoreOptions, "More options", "MediaVideoMoreOptionsButton",
            report([](Self&, Delegate& delegate, ui::Button& sender) { delegate.didTapOnVideoMoreOptions(sender); }) },
    };
    for (const auto& control : topControls) {
        auto button = makeButton<Self>(control.glyph, control.identifier, control.action);
        button->setAccessibilityLabel(std::string(control.label));
        button->setFont(ui::Font(MVLectoroFontManager::getFontName(), 24));
        styleControl(*button);
        addControl(button);
    }

    // The top row: back in the leading corner (the book's own top bar is away over a video),
    // mute, subtitles, full screen and more options in the trailing one, each a finger wide. The transport rows keep to the bottom edge, so every control stays inside
    // whatever frame the reader gives the view (a share of the screen, or all of it).
    auto back = button("MediaVideoBackButton");
    back->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_topTrailingRow = makeRow(videoControlSpacing);
    for (const char* identifier :
        { "MediaVideoMuteButton", "MediaVideoSubtitleButton", "MediaVideoFullScreenButton", "MediaVideoMoreOptionsButton" }) {
        auto control = button(identifier);
        m_topTrailingRow->addArrangedSubview(control);
        control->widthAnchor().constraintGreaterThanOrEqualToConstant(videoControlMinimumWidth)->setActive(true);
    }
    root.addSubview(m_topTrailingRow);
    activateTextAndTimeRows(root);
    ui::Constraint::activate({
        back->leadingAnchor().constraintEqualTo(root.leadingAnchor(), videoControlMargin),
        back->topAnchor().constraintEqualTo(root.topAnchor(), videoControlMargin),
        back->widthAnchor().constraintGreaterThanOrEqualToConstant(videoControlMinimumWidth),
        back->heightAnchor().constraintEqualToConstant(controlHeight),
        m_topTrailingRow->trailingAnchor().constraintEqualTo(root.trailingAnchor(), -videoControlMargin),
        m_topTrailingRow->topAnchor().constraintEqualTo(root.topAnchor(), videoControlMargin),
        m_topTrailingRow->heightAnchor().constraintEqualToConstant(controlHeight),
        m_topTrailingRow->leadingAnchor().constraintGreaterThanOrEqualTo(back->trailingAnchor(), videoControlSpacing),
        transport()->bottomAnchor().constraintEqualTo(root.bottomAnchor(), -videoControlMargin),
    });
}

void MVVideoBookPlayerViewController::tapOnVideo()
{
    m_controlsHidden = !m_controlsHidden;
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnVideoView(m_controlsHidden);
}

void MVVideoBookPlayerViewController::updatePlayerView(MediaPlayerViewUpdate, const std::shared_ptr<MVMediaBookModel>& model)
{
    loadViewIfNeeded();
    showModel(model ? model : m_model);
}

void MVVideoBookPlayerViewController::setViewFullScreenForIphone()
{
    m_fullScreenForIphone = true;
    updateViewOnOrientationChange();
}

void MVVideoBookPlayerViewController::updateViewOnOrientationChange()
{
    loadViewIfNeeded();
    if (m_videoView)
        m_videoView->setFrame(view()->bounds());
}

void MVVideoBookPlayerViewController::isVideoReadyToPlay(bool ready)
{
    m_ready = ready;
    if (auto play = button("MediaPlayPauseButton"))
        play->setEnabled(ready);
}

void MVVideoBookPlayerViewController::setSubtitleViewState(bool on)
{
    m_subtitlesOn = on;
}

void MVVideoBookPlayerViewController::setSubtitleViewColor(const ui::Color& color)
{
    if (auto subtitles = button("MediaVideoSubtitleButton"))
        subtitles->setBackgroundColor(color);
}

void MVVideoBookPlayerViewController::enableDisbleMuteButton(bool enabled)
{
    if (auto mute = button("MediaVideoMuteButton"))
        mute->setEnabled(enabled);
}

void MVVideoBookPlayerViewController::didTapPlayPause()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnVideoPlayPause(m_model);
}

void MVVideoBookPlayerViewController::didTapForward()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnVideoForward();
}

void MVVideoBookPlayerViewController::didTapRewind()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnVideoRewind();
}

void MVVideoBookPlayerViewController::didTapNextChapter()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnVideoNextChapter();
}

void MVVideoBookPlayerViewController::didTapPreviousChapter()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnVideoPreviousChapter();
}

void MVVideoBookPlayerViewController::didTapBookmarkButton()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnVideoBookmark();
}

void MVVideoBookPlayerViewController::didTapNarrationSpeed(ui::Button& sender)
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnVideoNarrationSpeed(sender);
}

void MVVideoBookPlayerViewController::didChangeSeekBar()
{
    if (auto delegate = m_delegate.lock())
        delegate->didVideoSeekBarValueChanged();
}

} // namespace lectoro
