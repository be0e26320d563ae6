#pragma once

// Small pieces the text-box bar and its two pop-ups share.

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "platform/ui/Color.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class Label;
class View;
} // namespace ui

namespace lectoro::textboxes {

// A theme colour the theme lacks is drawn clear (backgrounds, borders) or black (text).
ui::Color backgroundOrClear(const ThemeValueColor&);
ui::Color textOrBlack(const ThemeValueColor&);

// Every label among the view's direct subviews.
void forEachLabel(const ui::View&, const std::function<void(ui::Label&)>&);

// Accessibility of a control whose identifier differs from the key of its spoken label
// (the "ReaderLectoroAccessibility" table): the button trait, the identifier, the label.
void setButtonAccessibility(ui::View&, const std::string& identifier, const std::string& labelKey,
    const std::string& argument = std::string());

// The pop-ups' lift off the page: no clipping, a soft shadow to the left, the border
// colour kept with a zero width.
void applyPopupShadow(ui::View&, const ThemeValueColor& borderColor);

// Places the pop-up: resting on the view below, its constraints place it (the parent is laid
// out); without one, a frame `left` from the parent's left edge on the parent's bottom, of
// the size given. A width of none spans the parent less `left` on each side.
void placeOnViewBelow(ui::View& popup, const std::shared_ptr<ui::View>& below, double left,
    std::optional<double> width, double height);

// Pins the subview to the four edges of its parent, `inset` inside (constraints as data).
void pinToEdges(ui::View& subview, ui::View& parent, double inset = 0);

} // namespace lectoro::textboxes
