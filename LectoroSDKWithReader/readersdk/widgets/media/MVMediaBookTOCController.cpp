#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookTOCController.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"

namespace lectoro {

namespace {

constexpr double rowHeight = 44;

std::string rowTitle(const MediaBookTOCEntry& entry, MediaBookTOCFilter mode)
{
    if (const auto* chapter = std::get_if<std::shared_ptr<MVMediaBookChapterVO>>(&entry)) {
        if (!*chapter)
            return {};
        if (mode == MediaBookTOCFilter::Transcript)
            return (*chapter)->transcript;
        return std::string(2 * static_cast<size_t>((*chapter)->level), ' ') + (*chapter)->chapterTitle.value_or("")
            + "  " + mediaTimeText((*chapter)->avAssetTotalTime);
    }
    const auto& bookmark = std::get<std::shared_ptr<SDKBookmarkVO>>(entry);
    if (!bookmark)
        return {};
    std::string name = bookmark->title.empty() ? bookmark->chapterName : bookmark->title;
    return name + "  " + mediaTimeText(bookmark->metaData["CurrentTime"].asInteger().value_or(0));
}

} // namespace

std::shared_ptr<MVMediaBookTOCController> MVMediaBookTOCController::create(std::shared_ptr<MVMediaBookModel> model)
{
    return std::shared_ptr<MVMediaBookTOCController>(new MVMediaBookTOCController(std::move(model)));
}

void MVMediaBookTOCController::loadView()
{
    auto root = ui::View::create(ui::Rect { { 0, 0 }, { 375, 320 } });
    root->setBackgroundColor(themeColor(&MVLectoroMediaBookThemeVO::media_sidepanel_background, ui::Color::white()));
    m_segments = ui::SegmentedControl::create({ "Chapters", "Transcript", "Bookmarks" }, ui::Rect { { 8, 8 }, { 300, 32 } });
    m_segments->setSelectedSegmentIndex(static_cast<int>(m_mode));
    m_segments->setAccessibilityIdentifier("MediaTOCSegments");
    std::weak_ptr<MVMediaBookTOCController> weakSelf = std::static_pointer_cast<MVMediaBookTOCController>(shared_from_this());
    m_segments->addTarget(ui::ControlEvent::ValueChanged, [weakSelf](ui::Control&) {
        if (auto self = weakSelf.lock())
            self->selectSegment(static_cast<MediaBookTOCFilter>(self->m_segments->selectedSegmentIndex()));
    });
    root->addSubview(m_segments);
    m_playPause = makeButton<MVMediaBookTOCController>(m_playing ? ICON_MEDIA_PAUSE : ICON_MEDIA_PLAY, "MediaTOCPlayPauseButton",
        [](MVMediaBookTOCController& self, ui::Button&) { self.tapPlayPause(); });
    m_playPause->setFont(ui::Font(MVLectoroFontManager::getFontName(), 24));
    m_playPause->setAccessibilityLabel(std::string(m_playing ? "Pause" : "Play"));
    m_playPause->setTitleColor(themeColor(&MVLectoroMediaBookThemeVO::media_sidepanel_text_color, ui::Color::black()));
    root->addSubview(m_playPause);
    m_list = ui::View::create();
    root->addSubview(m_list);
    // The segments and play / pause head the panel, the chapter list fills the rest, at
    // whatever size the reader gives the panel.
    for (const auto& view : std::initializer_list<std::shared_ptr<ui::View>> { m_segments, m_playPause, m_list })
        view->setTranslatesAutoresizingMaskIntoConstraints(false);
    ui::Constraint::activate({
        m_segments->leadingAnchor().constraintEqualTo(root->leadingAnchor(), 8),
        m_segments->topAnchor().constraintEqualTo(root->topAnchor(), 8),
        m_segments->widthAnchor().constraintLessThanOrEqualToConstant(300),
        m_segments->heightAnchor().constraintEqualToConstant(32),
        m_segments->trailingAnchor().constraintLessThanOrEqualTo(m_playPause->leadingAnchor(), -8),
        m_playPause->trailingAnchor().constraintEqualTo(root->trailingAnchor(), -8),
        m_playPause->centerYAnchor().constraintEqualTo(m_segments->centerYAnchor()),
        m_playPause->widthAnchor().constraintEqualToConstant(44),
        m_playPause->heightAnchor().constraintEqualToConstant(44),
        m_list->topAnchor().constraintEqualTo(m_segments->bottomAnchor(), 14),
        m_list->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        m_list->trailingAnchor().constraintEqualTo(root->trailingAnchor()),
        m_list->bottomAnchor().constraintEqualTo(root->bottomAnchor()),
    });
    auto segmentsWidth = m_segments->widthAnchor().constraintEqualToConstant(300);
    segmentsWidth->setPriority(ui::LayoutPriority::defaultHigh);
    segmentsWidth->setActive(true);
    setView(root);
    hideBookmark(m_bookmarkHidden);
    hideTranscript(m_transcriptHidden);
    rebuildRows();
}

void MVMediaBookTOCController::hideBookmark(bool hidden)
{
    m_bookmarkHidden = hidden;
    if (m_segments)
        m_segments->setEnabled(!hidden, static_cast<size_t>(MediaBookTOCFilter::Bookmarks));
}

void MVMediaBookTOCController::hideTranscript(bool hidden)
{
    m_transcriptHidden = hidden;
    if (m_segments)
        m_segments->setEnabled(!hidden, static_cast<size_t>(MediaBookTOCFilter::Transcript));
}

void MVMediaBookTOCController::setData(std::optional<std::vector<MediaBookTOCEntry>> entries)
{
    m_entries = entries ? std::move(*entries) : std::vector<MediaBookTOCEntry> {};
    rebuildRows();
}

void MVMediaBookTOCController::rebuildRows()
{
    if (!m_list)
        return;
    for (auto& row : m_rows)
        row->removeFromSuperview();
    m_rows.clear();
    auto selectedColor = themeColor(&MVLectoroMediaBookThemeVO::media_sidepanel_selected_text_color, ui::Color::blue());
    auto textColor = themeColor(&MVLectoroMediaBookThemeVO::media_sidepanel_text_color, ui::Color::black());
    for (size_t i = 0; i < m_entries.size(); ++i) {
        auto row = makeButton<MVMediaBookTOCController>(rowTitle(m_entries[i], m_mode), "MediaTOCRow",
            [i](MVMediaBookTOCController& self, ui::Button&) { self.tapRow(i); });
        row->setFrame(ui::Rect { { 0, static_cast<double>(i) * rowHeight }, { m_list->bounds().size.width, rowHeight } });
        row->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);
        const auto* chapter = std::get_if<std::shared_ptr<MVMediaBookChapterVO>>(&m_entries[i]);
        bool current = chapter && *chapter && *chapter == m_current;
        row->setSelected(current);
        row->setTitleColor(current ? selectedColor : textColor);
        m_list->addSubview(row);
        m_rows.push_back(row);
    }
}

void MVMediaBookTOCController::updateTOCForCurrentChapter(std::shared_ptr<MVMediaBookChapterVO> chapter)
{
    m_current = std::move(chapter);
    rebuildRows();
}

void MVMediaBookTOCController::setPlayPauseState(const std::shared_ptr<MVMediaBookModel>& model)
{
    m_playing = model && model->mediaCurrentState == CurrentState::Playing;
    if (m_playPause) {
        m_playPause->setTitle(std::string(m_playing ? ICON_MEDIA_PAUSE : ICON_MEDIA_PLAY));
        m_playPause->setAccessibilityLabel(std::string(m_playing ? "Pause" : "Play"));
    }
}

void MVMediaBookTOCController::reloadBookmarkSection()
{
    if (m_mode == MediaBookTOCFilter::Bookmarks)
        rebuildRows();
}

void MVMediaBookTOCController::selectSegment(MediaBookTOCFilter mode)
{
    if ((mode == MediaBookTOCFilter::Bookmarks && m_bookmarkHidden) || (mode == MediaBookTOCFilter::Transcript && m_transcriptHidden))
        return;
    m_mode = mode;
    if (m_segments && m_segments->selectedSegmentIndex() != static_cast<int>(mode))
        m_segments->setSelectedSegmentIndex(static_cast<int>(mode));
    rebuildRows();
    auto delegate = m_delegate.lock();
    if (!delegate)
        return;
    switch (mode) {
    case MediaBookTOCFilter::Chapters:
        delegate->didTapOnChapterSegment();
        break;
    case MediaBookTOCFilter::Transcript:
        delegate->didTapOnTranscriptSegment();
        break;
    case MediaBookTOCFilter::Bookmarks:
        delegate->didTapOnBookmarkSegment();
        break;
    }
}

void MVMediaBookTOCController::tapRow(size_t index)
{
    auto delegate = m_delegate.lock();
    if (!delegate || index >= m_entries.size())
        return;
    if (const auto* chapter = std::get_if<std::shared_ptr<MVMediaBookChapterVO>>(&m_entries[index])) {
        if (m_mode == MediaBookTOCFilter::Transcript)
            delegate->didTapOnTranscript(*chapter);
        else
            delegate->didTapOnChapter(*chapter);
        return;
    }
    delegate->didTapOnBookmark(std::get<std::shared_ptr<SDKBookmarkVO>>(m_entries[index]));
}

void MVMediaBookTOCController::tapDeleteOnRow(size_t index)
{
    auto delegate = m_delegate.lock();
    if (!delegate || index >= m_entries.size())
        return;
    if (const auto* bookmark = std::get_if<std::shared_ptr<SDKBookmarkVO>>(&m_entries[index]))
        delegate->didTapOnBookmarkDelete(*bookmark);
}

void MVMediaBookTOCController::tapPlayPause()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnChapterPlayPause(m_model);
}

std::vector<std::shared_ptr<ui::Button>> MVMediaBookTOCController::rows()
{
    loadViewIfNeeded();
    return m_rows;
}

namespace {

std::shared_ptr<ui::View> addBorder(ui::View& view, const ui::Color& color, bool left)
{
    auto bounds = view.bounds();
    auto border = ui::View::create(left ? ui::Rect { { 0, 0 }, { 1, bounds.size.height } } : ui::Rect { { 0, 0 }, { bounds.size.width, 1 } });
    border->setBackgroundColor(color);
    // The border follows its view's size: the panel is placed after its borders are made.
    border->setAutoresizingMask(left
            ? ui::AutoresizingMask::FlexibleHeight | ui::AutoresizingMask::FlexibleRightMargin
            : ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleBottomMargin);
    view.addSubview(border);
    return border;
}

} // namespace

std::shared_ptr<ui::View> addBoarderToLeftWithColor(ui::View& view, const ui::Color& color)
{
    return addBorder(view, color, true);
}

std::shared_ptr<ui::View> addTopBorderWithColor(ui::View& view, const ui::Color& color)
{
    return addBorder(view, color, false);
}

} // namespace lectoro
