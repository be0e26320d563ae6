#include "platform/ui/Label.h"

#include "platform/base/Thread.h"

#include <algorithm>
#include <cmath>

namespace ui {

std::shared_ptr<Label> Label::create(const Rect& frame)
{
    return std::shared_ptr<Label>(new Label(frame));
}

Label::Label(const Rect& frame)
    : View(frame)
{
    setUserInteractionEnabled(false);
}

void Label::setText(std::string text)
{
    BASE_ASSERT_MAIN_THREAD();
    m_text = std::move(text);
    m_attributedText.reset();
    setNeedsLayout();
    didChangeProperty("text");
    invalidateIntrinsicContentSize();
}

void Label::setAttributedText(std::optional<base::AttributedString> text)
{
    BASE_ASSERT_MAIN_THREAD();
    m_text = text ? text->string() : std::string();
    m_attributedText = std::move(text);
    setNeedsLayout();
    didChangeProperty("attributedText");
    invalidateIntrinsicContentSize();
}

void Label::setFont(const Font& font)
{
    BASE_ASSERT_MAIN_THREAD();
    m_font = font;
    setNeedsLayout();
    didChangeProperty("font");
    invalidateIntrinsicContentSize();
}

void Label::setTextColor(const Color& color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_textColor = color;
    didChangeProperty("textColor");
}

void Label::setEnabled(bool enabled)
{
    BASE_ASSERT_MAIN_THREAD();
    m_enabled = enabled;
}

void Label::setTextAlignment(TextAlignment alignment)
{
    BASE_ASSERT_MAIN_THREAD();
    m_textAlignment = alignment;
    didChangeProperty("textAlignment");
}

void Label::setNumberOfLines(int lines)
{
    BASE_ASSERT_MAIN_THREAD();
    m_numberOfLines = std::max(0, lines);
    setNeedsLayout();
    invalidateIntrinsicContentSize();
}

void Label::setLineBreakMode(LineBreakMode mode)
{
    BASE_ASSERT_MAIN_THREAD();
    m_lineBreakMode = mode;
    setNeedsLayout();
}

void Label::setAdjustsFontSizeToFitWidth(bool adjusts)
{
    BASE_ASSERT_MAIN_THREAD();
    m_adjustsFontSize = adjusts;
}

void Label::setMinimumScaleFactor(double factor)
{
    BASE_ASSERT_MAIN_THREAD();
    m_minimumScaleFactor = std::isfinite(factor) ? std::clamp(factor, 0.0, 1.0) : 0;
}

void Label::setPreferredMaxLayoutWidth(double width)
{
    BASE_ASSERT_MAIN_THREAD();
    m_preferredMaxLayoutWidth = std::isfinite(width) ? std::max(0.0, width) : 0;
    setNeedsLayout();
    invalidateIntrinsicContentSize();
}

Size Label::measure(double width, int maxLines) const
{
    if (m_attributedText)
        return TextMetrics::boundingSize(*m_attributedText, m_font, width, m_lineBreakMode, maxLines);
    return TextMetrics::boundingSize(m_text, m_font, width, m_lineBreakMode, maxLines);
}

Font Label::displayedFont() const
{
    if (!m_adjustsFontSize || m_numberOfLines != 1 || m_attributedText)
        return m_font;
    double available = bounds().size.width;
    double natural = TextMetrics::boundingSize(m_text, m_font, 0, m_lineBreakMode, 1).width;
    if (available <= 0 || natural <= available)
        return m_font;
    // Widths grow in proportion to the size, so this scale fits exactly.
    double scale = std::max(available / natural, m_minimumScaleFactor);
    return m_font.withSize(m_font.pointSize() * scale);
}

Size Label::intrinsicContentSize() const
{
    if (m_text.empty())
        return { 0, 0 };
    double width = m_numberOfLines == 1 ? 0 : m_preferredMaxLayoutWidth;
    Size size = measure(width, m_numberOfLines);
    return { std::ceil(size.width), std::ceil(size.height) };
}

Size Label::sizeThatFits(const Size& fitting) const
{
    if (m_text.empty())
        return { 0, 0 };
    double width = m_numberOfLines == 1 ? 0 : fitting.width;
    Size size = measure(width, m_numberOfLines);
    return { std::ceil(size.width), std::ceil(size.height) };
}

std::vector<std::string> Label::displayedLines() const
{
    double width = m_numberOfLines == 1 ? 0 : bounds().size.width;
    auto lines = TextMetrics::wrapLines(m_text, displayedFont(), width, m_lineBreakMode);
    if (m_numberOfLines > 0 && lines.size() > static_cast<size_t>(m_numberOfLines))
        lines.resize(static_cast<size_t>(m_numberOfLines));
    return lines;
}

std::string Label::accessibilityLabel() const
{
    if (explicitAccessibilityLabel())
        return *explicitAccessibilityLabel();
    return m_text;
}

AccessibilityTraits Label::accessibilityTraits() const
{
    AccessibilityTraits traits = explicitAccessibilityTraits().value_or(AccessibilityTraits::StaticText);
    if (!m_enabled)
        traits |= AccessibilityTraits::NotEnabled;
    return traits;
}

bool Label::isAccessibilityElement() const
{
    return explicitIsAccessibilityElement().value_or(true);
}

} // namespace ui
