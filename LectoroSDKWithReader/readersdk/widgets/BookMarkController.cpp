#include "LectoroSDKWithReader/readersdk/widgets/BookMarkController.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "platform/base/Strings.h"

namespace lectoro {

namespace {

// "#RRGGBB" (or "RRGGBB"); absent for anything else.
std::optional<ui::Color> colorFromHex(std::string text)
{
    if (!text.empty() && text.front() == '#')
        text.erase(0, 1);
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return std::nullopt;
    auto value = std::stoul(text, nullptr, 16);
    return ui::Color::fromRGB255(static_cast<int>((value >> 16) & 0xFF),
        static_cast<int>((value >> 8) & 0xFF), static_cast<int>(value & 0xFF));
}

} // namespace

std::shared_ptr<BookMarkController> BookMarkController::create()
{
    return std::shared_ptr<BookMarkController>(new BookMarkController());
}

void BookMarkController::loadView()
{
    auto root = ui::View::create(ui::Rect { { 0, 0 }, { 260, 43 } });
    m_panel = ui::View::create(ui::Rect { { 2, 2 }, { 256, 39 } });
    m_textField = ui::TextField::create(ui::Rect { { 12, 0 }, { 232, 39 } });
    m_textField->setPlaceholder("Bookmark");
    m_textField->setAccessibilityIdentifier("BookmarkTextField");
    m_textField->setDelegate(std::static_pointer_cast<BookMarkController>(shared_from_this()));
    if (m_bookmarkVO)
        m_textField->setText(m_bookmarkVO->title);
    m_panel->addSubview(m_textField);
    root->addSubview(m_panel);
    setView(root);
}

std::shared_ptr<ui::View> BookMarkController::panel()
{
    loadViewIfNeeded();
    return m_panel;
}

std::shared_ptr<ui::TextField> BookMarkController::textField()
{
    loadViewIfNeeded();
    return m_textField;
}

void BookMarkController::setBookmarkVO(std::shared_ptr<SDKBookmarkVO> bookmark)
{
    m_bookmarkVO = std::move(bookmark);
    if (m_textField)
        m_textField->setText(m_bookmarkVO ? m_bookmarkVO->title.str() : std::string());
}

void BookMarkController::setBackgroundColorForView(const std::string& hexColor)
{
    if (auto color = colorFromHex(hexColor))
        panel()->setBackgroundColor(*color);
}

bool BookMarkController::shouldReturn(ui::TextField&)
{
    completeBookmark();
    return true;
}

void BookMarkController::completeBookmark()
{
    auto field = textField();
    auto record = m_bookmarkVO;
    if (!record || !field)
        return;
    std::string title = base::trimWhitespace(field->text());
    bool existing = !record->title.empty() || record->isUploaded();
    if (title.empty()) {
        if (!existing)
            return;
        record->status = UGCStatusDeleted;
    } else {
        if (existing && title == record->title)
            return;
        record->title = title;
        record->status = record->isUploaded() ? UGCStatusUpdated : UGCStatusNew;
    }
    record->isSynced = false;
    record->modifiedDate = currentUGCDateString();
    if (record->createdDate.empty())
        record->createdDate = record->modifiedDate;
    auto protect = shared_from_this();
    if (auto delegate = m_delegate.lock())
        delegate->didBookmarkCompleteWithBookmarkVO(record);
}

} // namespace lectoro
