#pragma once

// A read-only text view, sized by the text metric (TextMetrics.h).

#include "platform/base/AttributedString.h"
#include "platform/base/Thread.h"
#include "platform/ui/Font.h"
#include "platform/ui/TextMetrics.h"
#include "platform/ui/View.h"

#include <optional>

namespace ui {

class Label : public View {
public:
    static std::shared_ptr<Label> create(const Rect& frame = {});
    std::string_view className() const override { return "Label"; }

    // Setting the text drops any attributed text; setting attributed text sets the text
    // to its string. Observed keys: "text", "attributedText", "font", "textColor",
    // "textAlignment".
    const std::string& text() const { return m_text; }
    void setText(std::string);
    const std::optional<base::AttributedString>& attributedText() const { return m_attributedText; }
    void setAttributedText(std::optional<base::AttributedString>);

    // The system font of 17 points and black until set.
    const Font& font() const { return m_font; }
    void setFont(const Font&);
    Color textColor() const { return m_textColor; }
    void setTextColor(const Color&);
    std::optional<Color> highlightedTextColor() const { return m_highlightedTextColor; }
    void setHighlightedTextColor(std::optional<Color> color)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_highlightedTextColor = color;
    }
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted) { BASE_ASSERT_MAIN_THREAD(); m_highlighted = highlighted; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool);
    TextAlignment textAlignment() const { return m_textAlignment; }
    void setTextAlignment(TextAlignment);
    // 1 until set; 0 means as many as needed.
    int numberOfLines() const { return m_numberOfLines; }
    void setNumberOfLines(int);
    LineBreakMode lineBreakMode() const { return m_lineBreakMode; }
    void setLineBreakMode(LineBreakMode);
    bool adjustsFontSizeToFitWidth() const { return m_adjustsFontSize; }
    void setAdjustsFontSizeToFitWidth(bool);
    double minimumScaleFactor() const { return m_minimumScaleFactor; }
    void setMinimumScaleFactor(double);
    double preferredMaxLayoutWidth() const { return m_preferredMaxLayoutWidth; }
    void setPreferredMaxLayoutWidth(double);
    Size shadowOffset() const { return m_shadowOffset; }
    void setShadowOffset(const Size& offset) { BASE_ASSERT_MAIN_THREAD(); m_shadowOffset = offset; }
    std::optional<Color> shadowColor() const { return m_shadowColor; }
    void setShadowColor(std::optional<Color> color) { BASE_ASSERT_MAIN_THREAD(); m_shadowColor = color; }

    // The font the text is shown in: the font, or, when adjustsFontSizeToFitWidth is on
    // and a one-line text is wider than the bounds, the font scaled down until it fits
    // but not below minimumScaleFactor (0 allows any size).
    Font displayedFont() const;

    // Single line: the text's size; more lines: wrapped at preferredMaxLayoutWidth when
    // set (else at line breaks only), cut to numberOfLines. Both dimensions rounded up.
    Size intrinsicContentSize() const override;
    // Wrapped at the given width (for numberOfLines other than 1), cut to numberOfLines,
    // rounded up.
    Size sizeThatFits(const Size&) const override;
    // The lines shown in the current bounds width (test support).
    std::vector<std::string> displayedLines() const;

    std::string accessibilityLabel() const override;
    AccessibilityTraits accessibilityTraits() const override;
    bool isAccessibilityElement() const override;

protected:
    explicit Label(const Rect& frame);

private:
    Size measure(double width, int maxLines) const;

    std::string m_text;
    std::optional<base::AttributedString> m_attributedText;
    Font m_font = Font::systemFont(17);
    Color m_textColor = Color::black();
    std::optional<Color> m_highlightedTextColor;
    bool m_highlighted = false;
    bool m_enabled = true;
    TextAlignment m_textAlignment = TextAlignment::Natural;
    int m_numberOfLines = 1;
    LineBreakMode m_lineBreakMode = LineBreakMode::ByTruncatingTail;
    bool m_adjustsFontSize = false;
    double m_minimumScaleFactor = 0;
    double m_preferredMaxLayoutWidth = 0;
    Size m_shadowOffset { 0, -1 };
    std::optional<Color> m_shadowColor;
};

} // namespace ui
