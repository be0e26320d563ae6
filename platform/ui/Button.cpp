#include "platform/ui/Button.h"

#include "platform/base/Thread.h"

#include <algorithm>
#include <cmath>

namespace ui {

std::shared_ptr<Button> Button::create(ButtonType type, const Rect& frame)
{
    return std::shared_ptr<Button>(new Button(type, frame));
}

Button::Button(ButtonType type, const Rect& frame)
    : Control(frame)
    , m_type(type)
    , m_font(Font::systemFont(type == ButtonType::Custom ? 18 : 15))
{
}

template<typename T>
std::optional<T> Button::lookup(const std::map<ControlState, T>& values, ControlState state)
{
    if (auto it = values.find(state); it != values.end())
        return it->second;
    if (auto it = values.find(ControlState::Normal); it != values.end())
        return it->second;
    return std::nullopt;
}

ControlState Button::displayState() const
{
    ControlState state = this->state();
    if (hasFlags(state, ControlState::Disabled))
        return ControlState::Disabled;
    return state & (ControlState::Highlighted | ControlState::Selected);
}

void Button::setTitle(std::optional<std::string> title, ControlState state)
{
    BASE_ASSERT_MAIN_THREAD();
    if (title)
        m_titles[state] = std::move(*title);
    else
        m_titles.erase(state);
    updateContent();
    invalidateIntrinsicContentSize();
}

void Button::setAttributedTitle(std::optional<base::AttributedString> title, ControlState state)
{
    BASE_ASSERT_MAIN_THREAD();
    if (title)
        m_attributedTitles[state] = std::move(*title);
    else
        m_attributedTitles.erase(state);
    updateContent();
    invalidateIntrinsicContentSize();
}

void Button::setTitleColor(std::optional<Color> color, ControlState state)
{
    BASE_ASSERT_MAIN_THREAD();
    if (color)
        m_titleColors[state] = *color;
    else
        m_titleColors.erase(state);
    updateContent();
}

void Button::setImage(ImagePtr image, ControlState state)
{
    BASE_ASSERT_MAIN_THREAD();
    if (image)
        m_images[state] = std::move(image);
    else
        m_images.erase(state);
    updateContent();
    invalidateIntrinsicContentSize();
}

void Button::setBackgroundImage(ImagePtr image, ControlState state)
{
    BASE_ASSERT_MAIN_THREAD();
    if (image)
        m_backgroundImages[state] = std::move(image);
    else
        m_backgroundImages.erase(state);
    updateContent();
}

std::optional<std::string> Button::titleForState(ControlState state) const
{
    return lookup(m_titles, state);
}

std::optional<base::AttributedString> Button::attributedTitleForState(ControlState state) const
{
    return lookup(m_attributedTitles, state);
}

Color Button::titleColorForState(ControlState state) const
{
    if (auto color = lookup(m_titleColors, state))
        return *color;
    if (m_type == ButtonType::Custom)
        return Color::white();
    return hasFlags(state, ControlState::Disabled) ? Color::fromWhite(0.5, 0.5) : tintColor();
}

ImagePtr Button::imageForState(ControlState state) const
{
    return lookup(m_images, state).value_or(nullptr);
}

ImagePtr Button::backgroundImageForState(ControlState state) const
{
    return lookup(m_backgroundImages, state).value_or(nullptr);
}

std::string Button::currentTitle() const
{
    if (auto attributed = currentAttributedTitle())
        return attributed->string();
    return titleForState(displayState()).value_or(std::string());
}

std::optional<base::AttributedString> Button::currentAttributedTitle() const
{
    return attributedTitleForState(displayState());
}

Color Button::currentTitleColor() const
{
    return titleColorForState(displayState());
}

ImagePtr Button::currentImage() const
{
    return imageForState(displayState());
}

ImagePtr Button::currentBackgroundImage() const
{
    return backgroundImageForState(displayState());
}

std::shared_ptr<Label> Button::titleLabel()
{
    if (!m_titleLabel) {
        m_titleLabel = Label::create();
        m_titleLabel->setFont(m_font);
        m_titleLabel->setTextAlignment(TextAlignment::Center);
        m_titleLabel->setLineBreakMode(LineBreakMode::ByTruncatingMiddle);
        addSubview(m_titleLabel);
        updateContent();
    }
    return m_titleLabel;
}

std::shared_ptr<ImageView> Button::imageView()
{
    if (!m_imageView) {
        m_imageView = ImageView::create();
        m_imageView->setContentMode(ContentMode::Center);
        insertSubview(m_imageView, 0);
        updateContent();
    }
    return m_imageView;
}

Font Button::font() const
{
    return m_titleLabel ? m_titleLabel->font() : m_font;
}

void Button::setFont(const Font& font)
{
    BASE_ASSERT_MAIN_THREAD();
    m_font = font;
    if (m_titleLabel)
        m_titleLabel->setFont(font);
    setNeedsLayout();
    invalidateIntrinsicContentSize();
}

void Button::setContentEdgeInsets(const EdgeInsets& insets)
{
    BASE_ASSERT_MAIN_THREAD();
    m_contentEdgeInsets = insets;
    setNeedsLayout();
    invalidateIntrinsicContentSize();
}

void Button::setTitleEdgeInsets(const EdgeInsets& insets)
{
    BASE_ASSERT_MAIN_THREAD();
    m_titleEdgeInsets = insets;
    setNeedsLayout();
    invalidateIntrinsicContentSize();
}

void Button::setImageEdgeInsets(const EdgeInsets& insets)
{
    BASE_ASSERT_MAIN_THREAD();
    m_imageEdgeInsets = insets;
    setNeedsLayout();
    invalidateIntrinsicContentSize();
}

void Button::stateDidChange()
{
    updateContent();
}

void Button::tintColorDidChange()
{
    updateContent();
}

void Button::updateContent()
{
    std::string title = currentTitle();
    ImagePtr image = currentImage();
    // The subviews come into being once there is something to show in them.
    if (!title.empty() && !m_titleLabel) {
        titleLabel();
        return; // titleLabel() calls us again.
    }
    if (image && !m_imageView) {
        imageView();
        return;
    }
    if (m_titleLabel) {
        if (auto attributed = currentAttributedTitle())
            m_titleLabel->setAttributedText(*attributed);
        else
            m_titleLabel->setText(title);
        m_titleLabel->setTextColor(currentTitleColor());
        m_titleLabel->setHidden(title.empty());
    }
    if (m_imageView) {
        m_imageView->setImage(image);
        m_imageView->setHidden(!image);
    }
    setNeedsLayout();
}

Size Button::titleSize() const
{
    if (!m_titleLabel || m_titleLabel->isHidden())
        return {};
    return m_titleLabel->intrinsicContentSize();
}

Size Button::imageSize() const
{
    if (!m_imageView || !m_imageView->image())
        return {};
    return m_imageView->image()->size();
}

void Button::layoutSubviews()
{
    Rect content = bounds().insetBy(m_contentEdgeInsets);
    Size image = imageSize();
    Size title = titleSize();
    auto horizontal = contentHorizontalAlignment();
    auto vertical = contentVerticalAlignment();
    bool rtl = isRightToLeft();
    if (horizontal == ContentHorizontalAlignment::Leading)
        horizontal = rtl ? ContentHorizontalAlignment::Right : ContentHorizontalAlignment::Left;
    if (horizontal == ContentHorizontalAlignment::Trailing)
        horizontal = rtl ? ContentHorizontalAlignment::Left : ContentHorizontalAlignment::Right;

    if (horizontal == ContentHorizontalAlignment::Fill && image.width == 0)
        title.width = content.width();
    double total = image.width + title.width;
    double x = content.minX();
    switch (horizontal) {
    case ContentHorizontalAlignment::Center:
        x = content.minX() + (content.width() - total) / 2;
        break;
    case ContentHorizontalAlignment::Right:
        x = content.maxX() - total;
        break;
    default:
        break;
    }
    auto yFor = [&](double height) {
        switch (vertical) {
        case ContentVerticalAlignment::Top:
        case ContentVerticalAlignment::Fill:
            return content.minY();
        case ContentVerticalAlignment::Bottom:
            return content.maxY() - height;
        case ContentVerticalAlignment::Center:
            break;
        }
        return content.minY() + (content.height() - height) / 2;
    };
    auto offset = [&](const EdgeInsets& insets) {
        double dx = horizontal == ContentHorizontalAlignment::Center ? (insets.left - insets.right) / 2
            : horizontal == ContentHorizontalAlignment::Right        ? -insets.right
                                                                     : insets.left;
        double dy = vertical == ContentVerticalAlignment::Center ? (insets.top - insets.bottom) / 2
            : vertical == ContentVerticalAlignment::Bottom       ? -insets.bottom
                                                                 : insets.top;
        return Point(dx, dy);
    };
    if (vertical == ContentVerticalAlignment::Fill) {
        image.height = image.width > 0 ? content.height() : 0;
        title.height = content.height();
    }
    if (m_imageView) {
        Point d = offset(m_imageEdgeInsets);
        m_imageView->setFrame({ x + d.x, yFor(image.height) + d.y, image.width, image.height });
    }
    if (m_titleLabel) {
        Point d = offset(m_titleEdgeInsets);
        m_titleLabel->setFrame({ x + image.width + d.x, yFor(title.height) + d.y, title.width, title.height });
    }
}

Size Button::intrinsicContentSize() const
{
    Size image = imageSize();
    Size title = titleSize();
    return { image.width + title.width + m_contentEdgeInsets.left + m_contentEdgeInsets.right,
        std::max(image.height, title.height) + m_contentEdgeInsets.top + m_contentEdgeInsets.bottom };
}

Size Button::sizeThatFits(const Size&) const
{
    return intrinsicContentSize();
}

std::string Button::accessibilityLabel() const
{
    if (explicitAccessibilityLabel())
        return *explicitAccessibilityLabel();
    std::string title = currentTitle();
    if (!title.empty())
        return title;
    if (auto image = currentImage())
        return image->name();
    return {};
}

AccessibilityTraits Button::accessibilityTraits() const
{
    AccessibilityTraits traits = explicitAccessibilityTraits().value_or(AccessibilityTraits::Button);
    if (!isEnabled())
        traits |= AccessibilityTraits::NotEnabled;
    if (isSelected())
        traits |= AccessibilityTraits::Selected;
    return traits;
}

bool Button::isAccessibilityElement() const
{
    return explicitIsAccessibilityElement().value_or(true);
}

} // namespace ui
