#include "platform/ui/TextView.h"

#include "platform/base/NotificationCenter.h"
#include "platform/base/Thread.h"
#include "platform/ui/TextField.h"

#include <algorithm>
#include <cmath>

namespace ui {

std::shared_ptr<TextView> TextView::create(const Rect& frame)
{
    return std::shared_ptr<TextView>(new TextView(frame));
}

TextView::TextView(const Rect& frame)
    : ScrollView(frame)
{
    updateContentSize();
}

void TextView::setText(std::string text)
{
    BASE_ASSERT_MAIN_THREAD();
    m_text = std::move(text);
    m_attributedText.reset();
    m_selectedRange = { base::utf16Length(m_text), 0 };
    updateContentSize();
    didChangeProperty("text");
}

void TextView::setAttributedText(std::optional<base::AttributedString> text)
{
    BASE_ASSERT_MAIN_THREAD();
    m_text = text ? text->string() : std::string();
    m_attributedText = std::move(text);
    m_selectedRange = { base::utf16Length(m_text), 0 };
    updateContentSize();
    didChangeProperty("attributedText");
}

void TextView::setFont(const Font& font)
{
    BASE_ASSERT_MAIN_THREAD();
    m_font = font;
    updateContentSize();
    didChangeProperty("font");
}

void TextView::setTextAlignment(TextAlignment alignment)
{
    BASE_ASSERT_MAIN_THREAD();
    m_textAlignment = alignment;
    didChangeProperty("textAlignment");
}

void TextView::setTextContainerInset(const EdgeInsets& insets)
{
    BASE_ASSERT_MAIN_THREAD();
    m_textContainerInset = insets;
    updateContentSize();
    didChangeProperty("textContainerInset");
}

void TextView::setLineFragmentPadding(double padding)
{
    BASE_ASSERT_MAIN_THREAD();
    m_lineFragmentPadding = std::isfinite(padding) ? std::max(0.0, padding) : 0;
    updateContentSize();
}

void TextView::setEditable(bool editable)
{
    BASE_ASSERT_MAIN_THREAD();
    m_editable = editable;
    if (!editable && isFirstResponder())
        resignFirstResponder();
}

void TextView::setSelectedRange(base::Range range)
{
    BASE_ASSERT_MAIN_THREAD();
    size_t length = base::utf16Length(m_text);
    range.location = std::min(range.location, length);
    range.length = std::min(range.length, length - range.location);
    m_selectedRange = range;
    if (auto delegate = m_textDelegate.lock())
        delegate->didChangeSelection(*this);
}

void TextView::setDelegate(std::weak_ptr<TextViewDelegate> delegate)
{
    m_textDelegate = delegate;
    ScrollView::setDelegate(std::move(delegate));
}

bool TextView::canBecomeFirstResponder() const
{
    return m_editable && !isHidden();
}

bool TextView::becomeFirstResponder()
{
    BASE_ASSERT_MAIN_THREAD();
    if (isFirstResponder())
        return true;
    if (!canBecomeFirstResponder())
        return false;
    auto self = shared_from_this();
    auto delegate = m_textDelegate.lock();
    if (delegate && !delegate->shouldBeginEditing(*this))
        return false;
    if (auto current = currentFirstResponder()) {
        if (!current->resignFirstResponder() || current->isFirstResponder())
            return false;
    }
    setCurrentFirstResponder(self);
    if (delegate)
        delegate->didBeginEditing(*this);
    base::NotificationCenter::defaultCenter().post(TextViewTextDidBeginEditingNotification, this);
    return true;
}

bool TextView::resignFirstResponder()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!isFirstResponder())
        return true;
    auto self = shared_from_this();
    auto delegate = m_textDelegate.lock();
    if (delegate && !delegate->shouldEndEditing(*this))
        return false;
    setCurrentFirstResponder(nullptr);
    if (delegate)
        delegate->didEndEditing(*this);
    base::NotificationCenter::defaultCenter().post(TextViewTextDidEndEditingNotification, this);
    return true;
}

bool TextView::applyEdit(base::Range range, const std::string& replacement)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_editable)
        return false;
    std::string updated = m_text;
    if (!replaceUtf16Range(updated, range, replacement))
        return false;
    auto self = shared_from_this();
    auto delegate = m_textDelegate.lock();
    if (delegate && !delegate->shouldChangeTextInRange(*this, range, replacement))
        return false;
    m_text = std::move(updated);
    m_attributedText.reset();
    m_selectedRange = { range.location + base::utf16Length(replacement), 0 };
    updateContentSize();
    didChangeProperty("text");
    if (delegate)
        delegate->didChange(*this);
    base::NotificationCenter::defaultCenter().post(TextViewTextDidChangeNotification, this);
    return true;
}

bool TextView::insertText(const std::string& text)
{
    return applyEdit(m_selectedRange, text);
}

bool TextView::replaceRange(base::Range range, const std::string& replacement)
{
    return applyEdit(range, replacement);
}

bool TextView::deleteBackward()
{
    base::Range range = m_selectedRange;
    if (range.length == 0) {
        if (range.location == 0)
            return false;
        std::u16string units = base::utf8ToUtf16(m_text);
        size_t point = std::min(range.location, units.size());
        size_t length = (point >= 2 && units[point - 1] >= 0xDC00 && units[point - 1] <= 0xDFFF
                            && units[point - 2] >= 0xD800 && units[point - 2] <= 0xDBFF)
            ? 2
            : 1;
        range = { point - length, length };
    }
    return applyEdit(range, "");
}

double TextView::textContainerWidth() const
{
    return std::max(0.0, bounds().size.width - m_textContainerInset.left - m_textContainerInset.right
            - 2 * m_lineFragmentPadding);
}

double TextView::textHeightForWidth(double width) const
{
    double available = std::max(0.0, width - m_textContainerInset.left - m_textContainerInset.right
            - 2 * m_lineFragmentPadding);
    // Nothing to wrap into: measure as one unwrapped block rather than one unit per line.
    double wrapWidth = available > 0 ? available : 0;
    double height = m_attributedText ? TextMetrics::boundingHeight(*m_attributedText, m_font, wrapWidth)
                                     : TextMetrics::boundingHeight(m_text, m_font, wrapWidth);
    return std::ceil(height) + m_textContainerInset.top + m_textContainerInset.bottom;
}

Size TextView::sizeThatFits(const Size& size) const
{
    return { size.width, textHeightForWidth(size.width) };
}

void TextView::updateContentSize()
{
    Size size(bounds().size.width, textHeightForWidth(bounds().size.width));
    if (!(size == contentSize()))
        setContentSize(size);
}

void TextView::boundsSizeDidChange(const Size& oldSize)
{
    ScrollView::boundsSizeDidChange(oldSize);
    updateContentSize();
}

std::string TextView::accessibilityValue() const
{
    if (explicitAccessibilityValue())
        return *explicitAccessibilityValue();
    return m_text;
}

bool TextView::isAccessibilityElement() const
{
    return explicitIsAccessibilityElement().value_or(true);
}

} // namespace ui
