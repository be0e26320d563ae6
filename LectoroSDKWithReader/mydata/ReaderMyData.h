#pragma once

// My Data, sharing and printing as the reader opens them. This feature opens the My Data
// panel over the book with the user's records, answers the panel (page jumps, comments,
// answers to received notes) and hands the panel the records again after a sync.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace lectoro {

class EPUBChapterVO;
class LXMyDataViewController;
class SDKHighlightVO;
struct ReaderContext;

class ReaderMyData {
public:
    explicit ReaderMyData(ReaderContext&);
    ~ReaderMyData();

    void addPrintPageViewOnPageNumber(const std::string& pageNumber, const std::string& displayNumber);
    void didTapOnPrintPageWithWatermark(std::optional<int64_t> pageNumber);
    bool isMyDataOpen() const;

    // Toolbar action: opens the panel over the reader.
    void showMyData();
    void initiateMyDataViewController();
    const std::shared_ptr<LXMyDataViewController>& myDataViewController() const { return m_myDataViewController; }
    // The records changed (a sync, an answer): the open panel, and on a phone every panel
    // on its navigation stack, takes them again.
    void refreshMyData();

    // The panel's requests (the reader's side of them).
    void navigateTopage(const std::string& page);
    void didTapOnNotesComment(const std::shared_ptr<SDKHighlightVO>&);
    void didAnsweredHighlight(const std::shared_ptr<SDKHighlightVO>&, bool accepted);
    void didSelectActionToCloseMyData();
    // Opens a note's comment thread; set by the reader's notes feature.
    void setNoteOpener(std::function<void(std::shared_ptr<SDKHighlightVO>)> opener) { m_noteOpener = std::move(opener); }

private:
    class PanelDelegate;
    int64_t numericUserID() const;

    ReaderContext& m_context;
    std::shared_ptr<PanelDelegate> m_panelDelegate;
    std::shared_ptr<LXMyDataViewController> m_myDataViewController;
    std::function<void(std::shared_ptr<SDKHighlightVO>)> m_noteOpener;
};

} // namespace lectoro
