#pragma once

// A push button with a title, image and background image per control state.
//
// Per-state values fall back to the normal state's value when the current state has none.
// The current state is the most specific of: disabled, then selected+highlighted,
// highlighted, selected, normal.

#include "platform/base/AttributedString.h"
#include "platform/base/Thread.h"
#include "platform/ui/Control.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

#include <map>
#include <optional>

namespace ui {

enum class ButtonType { Custom, System, DetailDisclosure, InfoLight, InfoDark, ContactAdd, Close };

class Button : public Control {
public:
    static std::shared_ptr<Button> create(ButtonType = ButtonType::Custom, const Rect& frame = {});
    static std::shared_ptr<Button> create(const Rect& frame) { return create(ButtonType::Custom, frame); }
    std::string_view className() const override { return "Button"; }

    ButtonType buttonType() const { return m_type; }

    // Setting nullopt/null removes the state's own value.
    void setTitle(std::optional<std::string>, ControlState = ControlState::Normal);
    void setAttributedTitle(std::optional<base::AttributedString>, ControlState = ControlState::Normal);
    void setTitleColor(std::optional<Color>, ControlState = ControlState::Normal);
    void setImage(ImagePtr, ControlState = ControlState::Normal);
    void setBackgroundImage(ImagePtr, ControlState = ControlState::Normal);

    // The value for exactly that state, falling back to normal.
    std::optional<std::string> titleForState(ControlState) const;
    std::optional<base::AttributedString> attributedTitleForState(ControlState) const;
    // Without any colour set: the tint colour for system buttons (grey when disabled),
    // white for the others.
    Color titleColorForState(ControlState) const;
    ImagePtr imageForState(ControlState) const;
    ImagePtr backgroundImageForState(ControlState) const;

    // The state the button shows now (see above).
    ControlState displayState() const;
    // The attributed title's text when one applies, else the title; "" when none.
    std::string currentTitle() const;
    std::optional<base::AttributedString> currentAttributedTitle() const;
    Color currentTitleColor() const;
    ImagePtr currentImage() const;
    ImagePtr currentBackgroundImage() const;

    // Made on first use and kept as subviews (hidden while they have nothing to show).
    std::shared_ptr<Label> titleLabel();
    std::shared_ptr<ImageView> imageView();

    // The title label's font: the system font of 15 points (system buttons) or 18.
    Font font() const;
    void setFont(const Font&);

    EdgeInsets contentEdgeInsets() const { return m_contentEdgeInsets; }
    void setContentEdgeInsets(const EdgeInsets&);
    EdgeInsets titleEdgeInsets() const { return m_titleEdgeInsets; }
    void setTitleEdgeInsets(const EdgeInsets&);
    EdgeInsets imageEdgeInsets() const { return m_imageEdgeInsets; }
    void setImageEdgeInsets(const EdgeInsets&);
    bool adjustsImageWhenHighlighted() const { return m_adjustsImageWhenHighlighted; }
    void setAdjustsImageWhenHighlighted(bool value)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_adjustsImageWhenHighlighted = value;
    }

    // Image then title in a row, placed in the content rectangle (bounds less the content
    // insets) by the content alignments; each element is then moved by its own insets:
    // (left − right) / 2 and (top − bottom) / 2 when centred, by left (or −right, top,
    // −bottom) when aligned to that edge.
    void layoutSubviews() override;
    // Image width + title width + content insets; the taller of the two + content insets.
    Size intrinsicContentSize() const override;
    Size sizeThatFits(const Size&) const override;

    std::string accessibilityLabel() const override;
    AccessibilityTraits accessibilityTraits() const override;
    bool isAccessibilityElement() const override;

protected:
    Button(ButtonType, const Rect& frame);
    void stateDidChange() override;
    void tintColorDidChange() override;

private:
    template<typename T>
    static std::optional<T> lookup(const std::map<ControlState, T>&, ControlState);
    void updateContent();
    Size titleSize() const;
    Size imageSize() const;

    ButtonType m_type;
    std::map<ControlState, std::string> m_titles;
    std::map<ControlState, base::AttributedString> m_attributedTitles;
    std::map<ControlState, Color> m_titleColors;
    std::map<ControlState, ImagePtr> m_images;
    std::map<ControlState, ImagePtr> m_backgroundImages;
    std::shared_ptr<Label> m_titleLabel;
    std::shared_ptr<ImageView> m_imageView;
    Font m_font;
    EdgeInsets m_contentEdgeInsets;
    EdgeInsets m_titleEdgeInsets;
    EdgeInsets m_imageEdgeInsets;
    bool m_adjustsImageWhenHighlighted = true;
};

} // namespace ui
