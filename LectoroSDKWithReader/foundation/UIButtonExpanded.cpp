#include "LectoroSDKWithReader/foundation/UIButtonExpanded.h"

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

namespace lectoro::UIButtonExpanded {

using ui::ControlState;

void setTitleForNormalState(ui::Button& button, const std::optional<std::string>& title)
{
    button.setTitle(title, ControlState::Normal);
}

void setTitleForAllState(ui::Button& button, const std::optional<std::string>& title)
{
    button.setTitle(title, ControlState::Normal);
    button.setTitle(title, ControlState::Highlighted);
    button.setTitle(title, ControlState::Selected);
}

void setTitleForSelectedState(ui::Button& button, const std::optional<std::string>& title)
{
    button.setTitle(title, ControlState::Highlighted);
    button.setTitle(title, ControlState::Selected);
}

void setTitleColorForNormalState(ui::Button& button, const ui::Color& color)
{
    button.setTitleColor(color, ControlState::Normal);
    button.setTitleColor(color.withAlpha(0.3), ControlState::Disabled);
}

void setTitleColorForSelectedState(ui::Button& button, const ui::Color& color)
{
    button.setTitleColor(color, ControlState::Highlighted);
    button.setTitleColor(color, ControlState::Selected);
}

void setTitleColorForDisableState(ui::Button& button, const ui::Color& color)
{
    button.setTitleColor(color, ControlState::Disabled);
}

void setImageForNormalState(ui::Button& button, ui::ImagePtr image)
{
    button.setImage(std::move(image), ControlState::Normal);
}

void setImageForSelectedState(ui::Button& button, ui::ImagePtr image)
{
    button.setImage(image, ControlState::Highlighted);
    button.setImage(std::move(image), ControlState::Selected);
}

void setRoundedCornerWithRadius(ui::Button& button, double radius)
{
    button.layer()->setCornerRadius(radius);
    button.layer()->setMasksToBounds(true);
}

void setTitleLabelRoundedCornerWithRadius(ui::Button& button, double radius)
{
    auto label = button.titleLabel();
    label->layer()->setCornerRadius(radius);
    label->layer()->setMasksToBounds(true);
}

} // namespace lectoro::UIButtonExpanded
