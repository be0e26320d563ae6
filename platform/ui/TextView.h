#pragma once

// A multi-line editable (or read-only) text view; it scrolls its text.

#include "platform/base/AttributedString.h"
#include "platform/base/Strings.h"
#include "platform/base/Thread.h"
#include "platform/ui/Font.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextMetrics.h"

#include <memory>
#include <optional>

namespace ui {

class TextView;

// Posted with the text view as object after every change made by editing (not by
// setText, as on the platform).
inline constexpr const char* TextViewTextDidChangeNotification = "UITextViewTextDidChangeNotification";
inline constexpr const char* TextViewTextDidBeginEditingNotification = "UITextViewTextDidBeginEditingNotification";
inline constexpr const char* TextViewTextDidEndEditingNotification = "UITextViewTextDidEndEditingNotification";

// Optional callbacks; the defaults mean "not implemented" (allow everything).
class TextViewDelegate : public ScrollViewDelegate {
public:
    virtual bool shouldBeginEditing(TextView&) { return true; }
    virtual void didBeginEditing(TextView&) { }
    virtual bool shouldEndEditing(TextView&) { return true; }
    virtual void didEndEditing(TextView&) { }
    virtual bool shouldChangeTextInRange(TextView&, base::Range, const std::string& /*replacement*/) { return true; }
    virtual void didChange(TextView&) { }
    virtual void didChangeSelection(TextView&) { }
};

class TextView : public ScrollView {
public:
    static std::shared_ptr<TextView> create(const Rect& frame = {});
    std::string_view className() const override { return "TextView"; }

    // Observed keys: "text", "attributedText", "font", "textAlignment",
    // "textContainerInset" (and "frame", "bounds" as every view).
    const std::string& text() const { return m_text; }
    void setText(std::string);
    const std::optional<base::AttributedString>& attributedText() const { return m_attributedText; }
    void setAttributedText(std::optional<base::AttributedString>);
    const Font& font() const { return m_font; }
    void setFont(const Font&);
    Color textColor() const { return m_textColor; }
    void setTextColor(const Color& color) { BASE_ASSERT_MAIN_THREAD(); m_textColor = color; }
    TextAlignment textAlignment() const { return m_textAlignment; }
    void setTextAlignment(TextAlignment);
    // (8, 0, 8, 0) until set.
    EdgeInsets textContainerInset() const { return m_textContainerInset; }
    void setTextContainerInset(const EdgeInsets&);
    // The text container's line-fragment padding on each side: 5.
    double lineFragmentPadding() const { return m_lineFragmentPadding; }
    void setLineFragmentPadding(double padding);
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);
    bool isSelectable() const { return m_selectable; }
    void setSelectable(bool selectable) { BASE_ASSERT_MAIN_THREAD(); m_selectable = selectable; }
    base::Range selectedRange() const { return m_selectedRange; }
    void setSelectedRange(base::Range);

    void setDelegate(std::weak_ptr<TextViewDelegate>);
    std::shared_ptr<TextViewDelegate> textViewDelegate() const { return m_textDelegate.lock(); }

    bool canBecomeFirstResponder() const override;
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;

    // Typing at the selection; ask the delegate, then change, notify didChange and post
    // the notification. Refused for a non-editable view or a bad range.
    bool insertText(const std::string&);
    bool replaceRange(base::Range, const std::string& replacement);
    bool deleteBackward();

    // Width of the text area: bounds width less the horizontal insets and padding.
    double textContainerWidth() const;
    // The wrapped text's height plus the vertical insets (the content size's height).
    double textHeightForWidth(double width) const;
    Size sizeThatFits(const Size&) const override;

    std::string accessibilityValue() const override;
    bool isAccessibilityElement() const override;

protected:
    explicit TextView(const Rect& frame);
    void boundsSizeDidChange(const Size& oldSize) override;

private:
    void updateContentSize();
    bool applyEdit(base::Range, const std::string& replacement);

    std::string m_text;
    std::optional<base::AttributedString> m_attributedText;
    Font m_font = Font::systemFont(12);
    Color m_textColor = Color::black();
    TextAlignment m_textAlignment = TextAlignment::Natural;
    EdgeInsets m_textContainerInset { 8, 0, 8, 0 };
    double m_lineFragmentPadding = 5;
    bool m_editable = true;
    bool m_selectable = true;
    base::Range m_selectedRange;
    std::weak_ptr<TextViewDelegate> m_textDelegate;
};

} // namespace ui
