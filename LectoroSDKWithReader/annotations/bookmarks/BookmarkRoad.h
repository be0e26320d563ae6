#pragma once

// Page bookmarks: an icon on every page drawn, its pop-up, and the store. Each page drawn
// gets a new icon handed to the renderer; the page's bookmarks are read off the main
// queue and the icon of that very page (not whichever was drawn last) gets the renderer's
// record and the theme's colours on the main queue. A tap opens the pop-up (a pop-over on
// a tablet, a card over a backdrop elsewhere); what it hands back is stamped with the
// reader's book version and stored, or deleted (status 3, which also closes it). The
// pop-over's delegate is the reader's, whose dismissal rule ends the bookmark mode when a
// tap outside closes it.

#include "LectoroSDKWithReader/readersdk/widgets/BookMarkController.h"
#include "LectoroSDKWithReader/readersdk/widgets/BookMarkView.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace lectoro {

class AnnotationsHost;
class HighlightRoad;
class SDKBookmarkVO;
struct ReaderContext;

class BookmarkRoad {
public:
    static constexpr int bookmarkViewTag = 40;
    static constexpr const char* bookmarkIcon = "q";
    static constexpr const char* selectedBookmarkIcon = "p";
    // The help overlay is laid out again this long after a page's icon changes.
    static constexpr double helpRefreshDelay = 0.3;

    BookmarkRoad(ReaderContext&, AnnotationsHost&, HighlightRoad&);
    ~BookmarkRoad();
    BookmarkRoad(const BookmarkRoad&) = delete;
    BookmarkRoad& operator=(const BookmarkRoad&) = delete;

    void addBookmarkOnPageNumber(const std::string& pageNumber, const std::string& displayNumber);
    // Opens the pop-up of the icon's page (nothing when it is open for that bookmark).
    void didTapOnBookMark(BookMarkView&);
    // The pop-up's record, or none.
    void didBookmarkCompleteWithBookmarkVO(const std::shared_ptr<SDKBookmarkVO>&);
    void removeBookmarkVC();
    // The pop-up's field gives up the keyboard (its pop-over was tapped away).
    void resignBookmarkInput();
    void addAccessibilityOnBookmark();

    // The icon drawn last, and the icon of each page drawn (by page number).
    const std::shared_ptr<BookMarkView>& bookMarkView() const { return m_bookMarkView; }
    std::shared_ptr<BookMarkView> bookMarkViewForPage(int64_t pageNumber) const;
    const std::shared_ptr<BookMarkController>& bookMarkController() const { return m_bookMarkController; }
    // The phone's backdrop behind the pop-up; null on a tablet or when closed.
    const std::shared_ptr<ui::View>& backdrop() const { return m_backdrop; }

private:
    class Delegates;

    std::string storeBookID() const;
    int64_t storeUserID() const;
    void styleController(BookMarkController&);
    void presentController(const std::shared_ptr<BookMarkController>&, BookMarkView& icon);

    ReaderContext& m_context;
    AnnotationsHost& m_host;
    HighlightRoad& m_highlightRoad;
    std::shared_ptr<Delegates> m_delegates;
    std::shared_ptr<BookMarkView> m_bookMarkView;
    // The icons of the pages on screen (a page that left drops its icon at the next draw).
    std::map<int64_t, std::shared_ptr<BookMarkView>> m_pageIcons;
    std::shared_ptr<BookMarkController> m_bookMarkController;
    std::shared_ptr<ui::View> m_backdrop;
    // Reads and delayed work that finish after the road is gone find it gone through this.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

} // namespace lectoro
