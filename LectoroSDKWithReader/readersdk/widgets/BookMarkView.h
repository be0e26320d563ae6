#pragma once

// The bookmark icon on a page: one icon-font glyph for a page without a bookmark and
// another for a bookmarked page (selected). The reader makes one per page drawn and hands
// it to the renderer (addBookmarkView); the renderer gives it the page's bookmark record
// (addBookmark, setBookmarkVO), which selects it. A tap reaches the delegate.

#include "platform/ui/Color.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

#include <cstdint>
#include <memory>
#include <string>

namespace lectoro {

class BookMarkView;
class SDKBookmarkVO;

class BookMarkViewDelegate {
public:
    virtual ~BookMarkViewDelegate() = default;
    virtual void didTapOnBookMark(BookMarkView&) { }
};

class BookMarkView : public ui::View {
public:
    static constexpr double iconSide = 44;
    static constexpr double iconFontSize = 26;

    // initWithBookmarkIcon:WithSelectedBookmarkIcon:
    static std::shared_ptr<BookMarkView> create(std::string bookmarkIcon, std::string selectedBookmarkIcon);
    std::string_view className() const override { return "BookMarkView"; }

    int64_t pageNumber() const { return m_pageNumber; }
    void setPageNumber(int64_t page) { m_pageNumber = page; }
    std::shared_ptr<BookMarkViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<BookMarkViewDelegate> delegate) { m_delegate = std::move(delegate); }

    // The page's bookmark; a record with status 3 (deleted) counts as none.
    std::shared_ptr<SDKBookmarkVO> bookmarkVO() const { return m_bookmarkVO; }
    void setBookmarkVO(std::shared_ptr<SDKBookmarkVO>);
    bool isSelected() const { return m_bookmarkVO != nullptr; }

    void setBookmarkColor(const ui::Color&);
    void setSelectedBookmarkColor(const ui::Color&);
    const std::shared_ptr<ui::Label>& iconLabel() const { return m_iconLabel; }

    // A tap, as a finger gives it.
    void tap();

protected:
    BookMarkView(std::string bookmarkIcon, std::string selectedBookmarkIcon);

private:
    void refresh();

    std::string m_icon;
    std::string m_selectedIcon;
    ui::Color m_color = ui::Color::black();
    ui::Color m_selectedColor = ui::Color::black();
    std::shared_ptr<ui::Label> m_iconLabel;
    std::shared_ptr<SDKBookmarkVO> m_bookmarkVO;
    int64_t m_pageNumber = 0;
    std::weak_ptr<BookMarkViewDelegate> m_delegate;
};

} // namespace lectoro
