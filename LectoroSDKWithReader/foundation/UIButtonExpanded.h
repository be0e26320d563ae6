#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Image.h"

#include <optional>
#include <string>

namespace ui {
class Button;
}

namespace lectoro {

// Titles, colours and images for several control states at once, and rounded corners.
namespace UIButtonExpanded {

void setTitleForNormalState(ui::Button&, const std::optional<std::string>&);
// Normal, highlighted and selected (not disabled).
void setTitleForAllState(ui::Button&, const std::optional<std::string>&);
void setTitleForSelectedState(ui::Button&, const std::optional<std::string>&);
// Normal, and the same colour at alpha 0.3 for disabled.
void setTitleColorForNormalState(ui::Button&, const ui::Color&);
void setTitleColorForSelectedState(ui::Button&, const ui::Color&);
void setTitleColorForDisableState(ui::Button&, const ui::Color&);
void setImageForNormalState(ui::Button&, ui::ImagePtr);
void setImageForSelectedState(ui::Button&, ui::ImagePtr);
void setRoundedCornerWithRadius(ui::Button&, double radius);
void setTitleLabelRoundedCornerWithRadius(ui::Button&, double radius);

} // namespace UIButtonExpanded

} // namespace lectoro
