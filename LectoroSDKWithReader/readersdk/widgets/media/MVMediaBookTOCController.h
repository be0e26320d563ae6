#pragma once

// The side panel of the media-book player: three segments (chapters, transcript,
// bookmarks) over one list. The list shows what setData hands it (chapters or bookmarks; none
// empties it), marks the current chapter and the play state, and reports taps to its
// delegate (held weakly).

#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPanel.h"

#include "platform/ui/SegmentedControl.h"

#include <optional>
#include <variant>
#include <vector>

namespace lectoro {

class SDKBookmarkVO;

using MediaBookTOCEntry = std::variant<std::shared_ptr<MVMediaBookChapterVO>, std::shared_ptr<SDKBookmarkVO>>;

class MVMediaBookTOCControllerDelegate {
public:
    virtual ~MVMediaBookTOCControllerDelegate() = default;
    virtual void didTapOnChapterSegment() { }
    virtual void didTapOnTranscriptSegment() { }
    virtual void didTapOnBookmarkSegment() { }
    virtual void didTapOnChapter(const std::shared_ptr<MVMediaBookChapterVO>&) { }
    virtual void didTapOnTranscript(const std::shared_ptr<MVMediaBookChapterVO>&) { }
    virtual void didTapOnBookmark(const std::shared_ptr<SDKBookmarkVO>&) { }
    virtual void didTapOnChapterPlayPause(const std::shared_ptr<MVMediaBookModel>&) { }
    virtual void didTapOnBookmarkDelete(const std::shared_ptr<SDKBookmarkVO>&) { }
};

class MVMediaBookTOCController final : public MVMediaBookPanel {
public:
    static std::shared_ptr<MVMediaBookTOCController> create(std::shared_ptr<MVMediaBookModel>);
    std::string_view className() const override { return "MVMediaBookTOCController"; }
    void loadView() override;

    std::shared_ptr<MVMediaBookTOCControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<MVMediaBookTOCControllerDelegate> delegate) { m_delegate = std::move(delegate); }

    void hideBookmark(bool hidden);
    void hideTranscript(bool hidden);
    MediaBookTOCFilter selectedMode() const { return m_mode; }
    void setData(std::optional<std::vector<MediaBookTOCEntry>>);
    const std::vector<MediaBookTOCEntry>& data() const { return m_entries; }
    void updateTOCForCurrentChapter(std::shared_ptr<MVMediaBookChapterVO>);
    const std::shared_ptr<MVMediaBookChapterVO>& highlightedChapter() const { return m_current; }
    void setPlayPauseState(const std::shared_ptr<MVMediaBookModel>&);
    bool showsPlaying() const { return m_playing; }
    void reloadBookmarkSection();

    // What a user does: choose a segment, tap a row, its delete control, or play/pause.
    void selectSegment(MediaBookTOCFilter);
    void tapRow(size_t index);
    void tapDeleteOnRow(size_t index);
    void tapPlayPause();
    // The row views, in list order (their titles are what the list shows).
    std::vector<std::shared_ptr<ui::Button>> rows();

private:
    using MVMediaBookPanel::MVMediaBookPanel;
    void rebuildRows();

    std::weak_ptr<MVMediaBookTOCControllerDelegate> m_delegate;
    std::shared_ptr<ui::SegmentedControl> m_segments;
    std::shared_ptr<ui::View> m_list;
    std::shared_ptr<ui::Button> m_playPause;
    std::vector<std::shared_ptr<ui::Button>> m_rows;
    std::vector<MediaBookTOCEntry> m_entries;
    std::shared_ptr<MVMediaBookChapterVO> m_current;
    MediaBookTOCFilter m_mode = MediaBookTOCFilter::Chapters;
    bool m_bookmarkHidden = false;
    bool m_transcriptHidden = false;
    bool m_playing = false;
};

// Thin borders along an edge of a view, as the player screen draws them: a subview of the
// view, one point wide, answered so its colour can change later.
std::shared_ptr<ui::View> addBoarderToLeftWithColor(ui::View&, const ui::Color&);
std::shared_ptr<ui::View> addTopBorderWithColor(ui::View&, const ui::Color&);

} // namespace lectoro
