#include "platform/ui/TextField.h"

#include "platform/base/NotificationCenter.h"
#include "platform/base/Thread.h"

#include <algorithm>
#include <cmath>

namespace ui {

bool replaceUtf16Range(std::string& text, base::Range range, const std::string& replacement)
{
    std::u16string units = base::utf8ToUtf16(text);
    if (range.location > units.size() || range.length > units.size() - range.location)
        return false;
    auto isLow = [](char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
    // A boundary inside a surrogate pair would cut a character in half.
    if (range.location < units.size() && isLow(units[range.location]) && range.location > 0)
        return false;
    if (range.end() < units.size() && isLow(units[range.end()]) && range.end() > 0)
        return false;
    units.replace(range.location, range.length, base::utf8ToUtf16(replacement));
    text = base::utf16ToUtf8(units);
    return true;
}

std::shared_ptr<TextField> TextField::create(const Rect& frame)
{
    return std::shared_ptr<TextField>(new TextField(frame));
}

TextField::TextField(const Rect& frame)
    : Control(frame)
{
    setContentVerticalAlignment(ContentVerticalAlignment::Center);
}

void TextField::setText(std::string text)
{
    BASE_ASSERT_MAIN_THREAD();
    m_text = std::move(text);
    m_attributedText.reset();
    m_insertionPoint.reset();
    didChangeProperty("text");
}

void TextField::setAttributedText(std::optional<base::AttributedString> text)
{
    BASE_ASSERT_MAIN_THREAD();
    m_text = text ? text->string() : std::string();
    m_attributedText = std::move(text);
    m_insertionPoint.reset();
    didChangeProperty("attributedText");
}

void TextField::setPlaceholder(std::string placeholder)
{
    BASE_ASSERT_MAIN_THREAD();
    m_placeholder = std::move(placeholder);
    m_attributedPlaceholder.reset();
}

void TextField::setAttributedPlaceholder(std::optional<base::AttributedString> placeholder)
{
    BASE_ASSERT_MAIN_THREAD();
    m_placeholder = placeholder ? placeholder->string() : std::string();
    m_attributedPlaceholder = std::move(placeholder);
}

void TextField::setFont(const Font& font)
{
    BASE_ASSERT_MAIN_THREAD();
    m_font = font;
    didChangeProperty("font");
}

void TextField::setTextAlignment(TextAlignment alignment)
{
    BASE_ASSERT_MAIN_THREAD();
    m_textAlignment = alignment;
    didChangeProperty("textAlignment");
}

void TextField::setSideView(std::shared_ptr<View>& slot, std::shared_ptr<View> view)
{
    if (slot == view)
        return;
    if (slot && slot->superview().get() == this)
        slot->removeFromSuperview();
    slot = std::move(view);
    if (slot)
        addSubview(slot);
}

void TextField::setLeftView(std::shared_ptr<View> view)
{
    BASE_ASSERT_MAIN_THREAD();
    setSideView(m_leftView, std::move(view));
}

void TextField::setRightView(std::shared_ptr<View> view)
{
    BASE_ASSERT_MAIN_THREAD();
    setSideView(m_rightView, std::move(view));
}

bool TextField::canBecomeFirstResponder() const
{
    return isEnabled() && !isHidden();
}

bool TextField::becomeFirstResponder()
{
    BASE_ASSERT_MAIN_THREAD();
    if (isFirstResponder())
        return true;
    if (!canBecomeFirstResponder())
        return false;
    auto self = std::static_pointer_cast<TextField>(shared_from_this());
    auto delegate = m_delegate.lock();
    if (delegate && !delegate->shouldBeginEditing(*this))
        return false;
    if (auto current = currentFirstResponder()) {
        if (!current->resignFirstResponder())
            return false;
        if (current->isFirstResponder())
            return false;
    }
    setCurrentFirstResponder(self);
    if (m_clearsOnBeginEditing && !m_text.empty()) {
        m_text.clear();
        m_attributedText.reset();
        didChangeProperty("text");
    }
    sendActions(ControlEvent::EditingDidBegin);
    if (delegate)
        delegate->didBeginEditing(*this);
    base::NotificationCenter::defaultCenter().post(TextFieldTextDidBeginEditingNotification, this);
    return true;
}

bool TextField::resignFirstResponder()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!isFirstResponder())
        return true;
    auto self = shared_from_this();
    auto delegate = m_delegate.lock();
    if (delegate && !delegate->shouldEndEditing(*this))
        return false;
    setCurrentFirstResponder(nullptr);
    sendActions(ControlEvent::EditingDidEnd);
    if (delegate)
        delegate->didEndEditing(*this);
    base::NotificationCenter::defaultCenter().post(TextFieldTextDidEndEditingNotification, this);
    return true;
}

size_t TextField::insertionPoint() const
{
    size_t length = base::utf16Length(m_text);
    return std::min(m_insertionPoint.value_or(length), length);
}

void TextField::setInsertionPoint(size_t index)
{
    m_insertionPoint = std::min(index, base::utf16Length(m_text));
}

bool TextField::insertText(const std::string& text)
{
    return replaceRange({ insertionPoint(), 0 }, text);
}

bool TextField::deleteBackward()
{
    size_t point = insertionPoint();
    if (point == 0)
        return false;
    std::u16string units = base::utf8ToUtf16(m_text);
    // A character outside the basic plane goes as a whole.
    size_t length = (point >= 2 && units[point - 1] >= 0xDC00 && units[point - 1] <= 0xDFFF
                        && units[point - 2] >= 0xD800 && units[point - 2] <= 0xDBFF)
        ? 2
        : 1;
    return replaceRange({ point - length, length }, "");
}

bool TextField::replaceRange(base::Range range, const std::string& replacement)
{
    BASE_ASSERT_MAIN_THREAD();
    std::string updated = m_text;
    if (!replaceUtf16Range(updated, range, replacement))
        return false;
    auto self = shared_from_this();
    if (auto delegate = m_delegate.lock(); delegate && !delegate->shouldChangeCharactersInRange(*this, range, replacement))
        return false;
    m_text = std::move(updated);
    m_attributedText.reset();
    m_insertionPoint = range.location + base::utf16Length(replacement);
    didChangeProperty("text");
    sendActions(ControlEvent::EditingChanged);
    base::NotificationCenter::defaultCenter().post(TextFieldTextDidChangeNotification, this);
    return true;
}

bool TextField::simulateReturn()
{
    BASE_ASSERT_MAIN_THREAD();
    auto self = shared_from_this();
    bool allowed = true;
    if (auto delegate = m_delegate.lock())
        allowed = delegate->shouldReturn(*this);
    sendActions(ControlEvent::EditingDidEndOnExit);
    return allowed;
}

bool TextField::simulateClear()
{
    BASE_ASSERT_MAIN_THREAD();
    auto self = shared_from_this();
    if (auto delegate = m_delegate.lock(); delegate && !delegate->shouldClear(*this))
        return false;
    if (m_text.empty())
        return true;
    m_text.clear();
    m_attributedText.reset();
    m_insertionPoint.reset();
    didChangeProperty("text");
    sendActions(ControlEvent::EditingChanged);
    base::NotificationCenter::defaultCenter().post(TextFieldTextDidChangeNotification, this);
    return true;
}

Size TextField::intrinsicContentSize() const
{
    const std::string& shown = m_text.empty() ? m_placeholder : m_text;
    Size size = TextMetrics::sizeOfText(shown, m_font);
    return { std::ceil(size.width), std::max(std::ceil(size.height), TextMetrics::lineHeight(m_font)) };
}

std::string TextField::accessibilityLabel() const
{
    if (explicitAccessibilityLabel())
        return *explicitAccessibilityLabel();
    return m_placeholder;
}

std::string TextField::accessibilityValue() const
{
    if (explicitAccessibilityValue())
        return *explicitAccessibilityValue();
    if (m_secure)
        return std::string(base::utf16Length(m_text), '*');
    return m_text;
}

bool TextField::isAccessibilityElement() const
{
    return explicitIsAccessibilityElement().value_or(true);
}

} // namespace ui
