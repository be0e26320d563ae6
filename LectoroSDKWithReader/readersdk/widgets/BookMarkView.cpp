#include "LectoroSDKWithReader/readersdk/widgets/BookMarkView.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "platform/ui/Gesture.h"

namespace lectoro {

std::shared_ptr<BookMarkView> BookMarkView::create(std::string bookmarkIcon, std::string selectedBookmarkIcon)
{
    auto view = std::shared_ptr<BookMarkView>(
        new BookMarkView(std::move(bookmarkIcon), std::move(selectedBookmarkIcon)));
    // Added once the view is shared: in the constructor the label would not know its
    // superview and would stand at its own frame in the window, over the page's corner.
    view->addSubview(view->m_iconLabel);
    std::weak_ptr<BookMarkView> weakView = view;
    view->addGestureRecognizer(ui::TapGestureRecognizer::create([weakView](ui::GestureRecognizer&) {
        if (auto strong = weakView.lock())
            strong->tap();
    }));
    return view;
}

BookMarkView::BookMarkView(std::string bookmarkIcon, std::string selectedBookmarkIcon)
    : ui::View(ui::Rect { { 0, 0 }, { iconSide, iconSide } })
    , m_icon(std::move(bookmarkIcon))
    , m_selectedIcon(std::move(selectedBookmarkIcon))
    , m_iconLabel(ui::Label::create(ui::Rect { { 0, 0 }, { iconSide, iconSide } }))
{
    m_iconLabel->setTextAlignment(ui::TextAlignment::Center);
    // The glyphs are the icon font's, like every other icon of the reader.
    m_iconLabel->setFont(ui::Font(MVLectoroFontManager::getFontName(), iconFontSize));
    refresh();
}

void BookMarkView::setBookmarkVO(std::shared_ptr<SDKBookmarkVO> bookmark)
{
    m_bookmarkVO = bookmark && !bookmark->isDeleted() ? std::move(bookmark) : nullptr;
    refresh();
}

void BookMarkView::setBookmarkColor(const ui::Color& color)
{
    m_color = color;
    refresh();
}

void BookMarkView::setSelectedBookmarkColor(const ui::Color& color)
{
    m_selectedColor = color;
    refresh();
}

void BookMarkView::refresh()
{
    m_iconLabel->setText(isSelected() ? m_selectedIcon : m_icon);
    m_iconLabel->setTextColor(isSelected() ? m_selectedColor : m_color);
}

void BookMarkView::tap()
{
    auto protect = shared_from_this();
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnBookMark(*this);
}

} // namespace lectoro
