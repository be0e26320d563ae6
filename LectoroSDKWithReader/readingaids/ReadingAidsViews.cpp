#include "LectoroSDKWithReader/readingaids/ReadingAidsViews.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVIconFontConstants.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Layer.h"

namespace lectoro {

std::optional<ui::Color> highlightPopupIconColorIfAny(const std::shared_ptr<LXMVThemeVO>& theme)
{
    return theme ? theme->highlight_popup_icon_color() : std::nullopt;
}

ui::Color highlightPopupIconColor(const std::shared_ptr<LXMVThemeVO>& theme)
{
    return highlightPopupIconColorIfAny(theme).value_or(ui::Color::black());
}

ui::Font iconFont(double size)
{
    if (auto font = ui::Font::fromName(MVIconFontConstants::getFontName(), size))
        return *font;
    return ui::Font::systemFont(size);
}

ui::ConstraintPtr activate(ui::ConstraintPtr constraint)
{
    constraint->setActive(true);
    return constraint;
}

std::vector<ui::ConstraintPtr> pinToEdges(const std::shared_ptr<ui::View>& view, const ui::LayoutItem& to)
{
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    return { activate(view->leadingAnchor().constraintEqualTo(to.leadingAnchor())),
        activate(view->trailingAnchor().constraintEqualTo(to.trailingAnchor())),
        activate(view->topAnchor().constraintEqualTo(to.topAnchor())),
        activate(view->bottomAnchor().constraintEqualTo(to.bottomAnchor())) };
}

std::optional<ui::EdgeInsets> keyWindowSafeArea()
{
    auto window = ui::Environment::current().keyWindow();
    if (!window)
        return std::nullopt;
    return window->safeAreaInsets();
}

BackNavigationBar makeBackNavigationBar(const std::string& title, const std::shared_ptr<LXMVThemeVO>& theme,
    bool withBackItem, std::function<void()> back)
{
    BackNavigationBar result;
    result.bar = ui::View::create();
    result.bar->setBackgroundColor(ui::Color::white());
    result.bar->setAccessibilityIdentifier("navigationBar");
    result.titleLabel = ui::Label::create();
    result.titleLabel->setText(title);
    result.titleLabel->setTextAlignment(base::TextAlignment::Center);
    result.bar->addSubview(result.titleLabel);
    result.titleLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    activate(result.titleLabel->centerXAnchor().constraintEqualTo(result.bar->centerXAnchor()));
    activate(result.titleLabel->bottomAnchor().constraintEqualTo(result.bar->bottomAnchor()));
    activate(result.titleLabel->heightAnchor().constraintEqualToConstant(44));
    if (!withBackItem)
        return result;
    auto button = ui::Button::create();
    button->setTitle(std::string(ICON_BACK), ui::ControlState::Normal);
    button->setTitle(std::string(ICON_BACK), ui::ControlState::Selected);
    button->setFont(iconFont(19));
    auto color = highlightPopupIconColor(theme);
    button->setTitleColor(color, ui::ControlState::Normal);
    button->setTitleColor(color, ui::ControlState::Selected);
    button->setAccessibilityIdentifier("backButton");
    button->addTarget(ui::ControlEvent::TouchUpInside, [back = std::move(back)](ui::Control&) {
        if (back)
            back();
    });
    result.bar->addSubview(button);
    button->setTranslatesAutoresizingMaskIntoConstraints(false);
    activate(button->leadingAnchor().constraintEqualTo(result.bar->leadingAnchor(), 8));
    activate(button->bottomAnchor().constraintEqualTo(result.bar->bottomAnchor()));
    activate(button->heightAnchor().constraintEqualToConstant(44));
    result.backButton = button;
    return result;
}

void addBorderWithColor(ui::View& view, std::optional<ui::Color> color)
{
    view.layer()->setBorderWidth(1);
    view.layer()->setBorderColor(color.value_or(ui::Color::clear()));
}

void addShadowToView(ui::View& view)
{
    auto& layer = *view.layer();
    layer.setMasksToBounds(false);
    layer.setShadowColor(ui::Color::black());
    layer.setShadowOffset({ 0, 2 });
    layer.setShadowRadius(4);
    layer.setShadowOpacity(1);
}

void addBottomBorderWithColor(ui::View& view, const ui::Color& color, double y)
{
    auto line = ui::View::create(ui::Rect { { 0, y }, { view.bounds().size.width, 1 } });
    line->setBackgroundColor(color);
    line->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);
    line->setAccessibilityIdentifier("bottomBorder");
    view.addSubview(line);
}

} // namespace lectoro
