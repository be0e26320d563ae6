#pragma once

// A one-line editable text field.
//
// Editing is driven by tests through insertText/replaceRange/deleteBackward, which ask the
// delegate first and fire editingChanged, as typing does. Ranges count UTF-16 units.

#include "platform/base/AttributedString.h"
#include "platform/base/Strings.h"
#include "platform/base/Thread.h"
#include "platform/ui/Control.h"
#include "platform/ui/Font.h"
#include "platform/ui/TextMetrics.h"

#include <memory>
#include <optional>

namespace ui {

class TextField;

// Posted with the field as object after every text change made by editing.
inline constexpr const char* TextFieldTextDidChangeNotification = "UITextFieldTextDidChangeNotification";
inline constexpr const char* TextFieldTextDidBeginEditingNotification = "UITextFieldTextDidBeginEditingNotification";
inline constexpr const char* TextFieldTextDidEndEditingNotification = "UITextFieldTextDidEndEditingNotification";

// Optional callbacks; the defaults mean "not implemented" (allow everything).
class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;
    virtual bool shouldBeginEditing(TextField&) { return true; }
    virtual void didBeginEditing(TextField&) { }
    virtual bool shouldEndEditing(TextField&) { return true; }
    virtual void didEndEditing(TextField&) { }
    virtual bool shouldChangeCharactersInRange(TextField&, base::Range, const std::string& /*replacement*/)
    {
        return true;
    }
    virtual bool shouldClear(TextField&) { return true; }
    virtual bool shouldReturn(TextField&) { return true; }
};

enum class TextBorderStyle { None, Line, Bezel, RoundedRect };
enum class ReturnKeyType { Default, Go, Google, Join, Next, Route, Search, Send, Yahoo, Done, EmergencyCall, Continue };
enum class KeyboardType { Default, AsciiCapable, NumbersAndPunctuation, URL, NumberPad, PhonePad, NamePhonePad,
    EmailAddress, DecimalPad, Twitter, WebSearch, AsciiCapableNumberPad };
enum class TextFieldViewMode { Never, WhileEditing, UnlessEditing, Always };
enum class AutocapitalizationType { None, Words, Sentences, AllCharacters };
enum class AutocorrectionType { Default, No, Yes };

class TextField : public Control {
public:
    static std::shared_ptr<TextField> create(const Rect& frame = {});
    std::string_view className() const override { return "TextField"; }

    // Setting the text directly asks no one and fires no event (as on the platform).
    // Observed keys: "text", "font", "textAlignment".
    const std::string& text() const { return m_text; }
    void setText(std::string);
    const std::optional<base::AttributedString>& attributedText() const { return m_attributedText; }
    void setAttributedText(std::optional<base::AttributedString>);
    const std::string& placeholder() const { return m_placeholder; }
    void setPlaceholder(std::string);
    const std::optional<base::AttributedString>& attributedPlaceholder() const { return m_attributedPlaceholder; }
    void setAttributedPlaceholder(std::optional<base::AttributedString>);

    const Font& font() const { return m_font; }
    void setFont(const Font&);
    Color textColor() const { return m_textColor; }
    void setTextColor(const Color& color) { BASE_ASSERT_MAIN_THREAD(); m_textColor = color; }
    TextAlignment textAlignment() const { return m_textAlignment; }
    void setTextAlignment(TextAlignment);
    TextBorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(TextBorderStyle style) { BASE_ASSERT_MAIN_THREAD(); m_borderStyle = style; }
    ReturnKeyType returnKeyType() const { return m_returnKeyType; }
    void setReturnKeyType(ReturnKeyType type) { BASE_ASSERT_MAIN_THREAD(); m_returnKeyType = type; }
    KeyboardType keyboardType() const { return m_keyboardType; }
    void setKeyboardType(KeyboardType type) { BASE_ASSERT_MAIN_THREAD(); m_keyboardType = type; }
    TextFieldViewMode clearButtonMode() const { return m_clearButtonMode; }
    void setClearButtonMode(TextFieldViewMode mode) { BASE_ASSERT_MAIN_THREAD(); m_clearButtonMode = mode; }
    bool isSecureTextEntry() const { return m_secure; }
    void setSecureTextEntry(bool secure) { BASE_ASSERT_MAIN_THREAD(); m_secure = secure; }
    AutocapitalizationType autocapitalizationType() const { return m_autocapitalization; }
    void setAutocapitalizationType(AutocapitalizationType type)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_autocapitalization = type;
    }
    AutocorrectionType autocorrectionType() const { return m_autocorrection; }
    void setAutocorrectionType(AutocorrectionType type)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_autocorrection = type;
    }
    bool clearsOnBeginEditing() const { return m_clearsOnBeginEditing; }
    void setClearsOnBeginEditing(bool value) { BASE_ASSERT_MAIN_THREAD(); m_clearsOnBeginEditing = value; }

    // Side views are subviews while set.
    std::shared_ptr<View> leftView() const { return m_leftView; }
    void setLeftView(std::shared_ptr<View>);
    TextFieldViewMode leftViewMode() const { return m_leftViewMode; }
    void setLeftViewMode(TextFieldViewMode mode) { BASE_ASSERT_MAIN_THREAD(); m_leftViewMode = mode; }
    std::shared_ptr<View> rightView() const { return m_rightView; }
    void setRightView(std::shared_ptr<View>);
    TextFieldViewMode rightViewMode() const { return m_rightViewMode; }
    void setRightViewMode(TextFieldViewMode mode) { BASE_ASSERT_MAIN_THREAD(); m_rightViewMode = mode; }
    // An input accessory (a toolbar above the keyboard), kept as data.
    std::shared_ptr<View> inputAccessoryView() const { return m_inputAccessoryView; }
    void setInputAccessoryView(std::shared_ptr<View> view)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_inputAccessoryView = std::move(view);
    }

    void setDelegate(std::weak_ptr<TextFieldDelegate> delegate)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_delegate = std::move(delegate);
    }
    std::shared_ptr<TextFieldDelegate> delegate() const { return m_delegate.lock(); }

    // Responder. Becoming first responder asks the delegate, resigns the current first
    // responder, fires editingDidBegin and tells the delegate; resigning asks, then fires
    // editingDidEnd and tells the delegate. A disabled or hidden field does not become
    // first responder.
    bool canBecomeFirstResponder() const override;
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    bool isEditing() const { return isFirstResponder(); }

    // Typing. Each answers whether the text changed. A range outside the text, or one that
    // would split a character, is refused without asking the delegate.
    bool insertText(const std::string&);
    bool replaceRange(base::Range, const std::string& replacement);
    bool deleteBackward();
    // The return key: asks shouldReturn, then fires editingDidEndOnExit; answers the
    // delegate's answer.
    bool simulateReturn();
    // The clear button: asks shouldClear; clears and fires editingChanged when allowed.
    bool simulateClear();
    // Where typing goes: the end of the text unless moved (UTF-16 index).
    size_t insertionPoint() const;
    void setInsertionPoint(size_t utf16Index);

    // The text's size with the font; the height is at least the line height.
    Size intrinsicContentSize() const override;

    std::string accessibilityLabel() const override;
    std::string accessibilityValue() const override;
    bool isAccessibilityElement() const override;

protected:
    explicit TextField(const Rect& frame);

private:
    void setSideView(std::shared_ptr<View>& slot, std::shared_ptr<View> view);

    std::string m_text;
    std::optional<base::AttributedString> m_attributedText;
    std::string m_placeholder;
    std::optional<base::AttributedString> m_attributedPlaceholder;
    Font m_font = Font::systemFont(17);
    Color m_textColor = Color::black();
    TextAlignment m_textAlignment = TextAlignment::Natural;
    TextBorderStyle m_borderStyle = TextBorderStyle::None;
    ReturnKeyType m_returnKeyType = ReturnKeyType::Default;
    KeyboardType m_keyboardType = KeyboardType::Default;
    TextFieldViewMode m_clearButtonMode = TextFieldViewMode::Never;
    bool m_secure = false;
    AutocapitalizationType m_autocapitalization = AutocapitalizationType::Sentences;
    AutocorrectionType m_autocorrection = AutocorrectionType::Default;
    bool m_clearsOnBeginEditing = false;
    std::shared_ptr<View> m_leftView;
    std::shared_ptr<View> m_rightView;
    TextFieldViewMode m_leftViewMode = TextFieldViewMode::Never;
    TextFieldViewMode m_rightViewMode = TextFieldViewMode::Never;
    std::shared_ptr<View> m_inputAccessoryView;
    std::weak_ptr<TextFieldDelegate> m_delegate;
    std::optional<size_t> m_insertionPoint;
};

// Shared by text fields and text views: replaces `range` (UTF-16 units) of `text`.
// Answers false, leaving the text alone, when the range does not lie within the text on
// character boundaries.
bool replaceUtf16Range(std::string& text, base::Range range, const std::string& replacement);

} // namespace ui
