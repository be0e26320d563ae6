#pragma once

// Small view helpers the translation sheet and the language pick-list share: the
// navigation bar with a back item, edge pinning, the key window's safe area, and the
// closed framework's view category (border, shadow, bottom border).

#include "platform/ui/Button.h"
#include "platform/ui/Color.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class LXMVThemeVO;

// A navigation bar carrying one item: its title, and optionally a left back button
// (ICON_BACK in the icon font at 19 pt, the theme's highlight_popup_icon_color or black,
// the same for the normal and selected states). Bar tint white.
struct BackNavigationBar {
    std::shared_ptr<ui::View> bar;
    std::shared_ptr<ui::Label> titleLabel;
    std::shared_ptr<ui::Button> backButton;
};
BackNavigationBar makeBackNavigationBar(const std::string& title, const std::shared_ptr<LXMVThemeVO>& theme,
    bool withBackItem, std::function<void()> back);

// The theme's highlight_popup_icon_color, black without a theme or value.
ui::Color highlightPopupIconColor(const std::shared_ptr<LXMVThemeVO>& theme);
std::optional<ui::Color> highlightPopupIconColorIfAny(const std::shared_ptr<LXMVThemeVO>& theme);
// The icon font at a size; a system font when the icon font cannot be made.
ui::Font iconFont(double size);

// Leading, trailing, top and bottom of `view` equal to `to`'s, activated.
std::vector<ui::ConstraintPtr> pinToEdges(const std::shared_ptr<ui::View>& view, const ui::LayoutItem& to);
ui::ConstraintPtr activate(ui::ConstraintPtr);

// The key window's safe-area insets, or nothing without a key window.
std::optional<ui::EdgeInsets> keyWindowSafeArea();

void addBorderWithColor(ui::View&, std::optional<ui::Color>);
void addShadowToView(ui::View&);
// A one-point line across the view's bottom at `y`.
void addBottomBorderWithColor(ui::View&, const ui::Color&, double y);

} // namespace lectoro
