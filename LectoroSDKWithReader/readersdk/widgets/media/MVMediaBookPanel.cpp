#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPanel.h"

#include "platform/ui/Layer.h"

#include <algorithm>
#include <cstdio>

namespace lectoro {

void MVMediaBookPanel::setTheme(std::shared_ptr<MVLectoroMediaBookThemeVO> theme)
{
    if (theme)
        m_theme = std::move(theme);
}

ui::Color MVMediaBookPanel::themeColor(std::optional<ui::Color> (MVLectoroMediaBookThemeVO::*getter)() const,
    ui::Color fallback) const
{
    return ((*m_theme).*getter)().value_or(fallback);
}

void styleMediaSheet(ui::View& root, const MVLectoroMediaBookThemeVO& theme)
{
    root.setBackgroundColor(ui::Color::white());
    auto layer = root.layer();
    layer->setCornerRadius(8);
    layer->setBorderWidth(1);
    layer->setBorderColor(theme.media_sidepanel_selected_chapter_divider_color().value_or(ui::Color::lightGray()));
    layer->setShadowColor(ui::Color::black());
    layer->setShadowOpacity(0.25);
    layer->setShadowRadius(6);
    layer->setShadowOffset({ 0, 2 });
}

void styleMediaSheetButton(ui::Button& button, const MVLectoroMediaBookThemeVO& theme)
{
    button.setTitleColor(theme.media_sidepanel_text_color().value_or(ui::Color::black()));
    button.setTitleColor(theme.media_sidepanel_selected_text_color().value_or(ui::Color::blue()), ui::ControlState::Selected);
}

void MVMediaBookPanel::styleSheet(ui::View& root) const
{
    styleMediaSheet(root, *m_theme);
}

void MVMediaBookPanel::styleSheetButton(ui::Button& button) const
{
    styleMediaSheetButton(button, *m_theme);
}

void MVMediaBookPanel::placeBySourceView(ui::View& container, const std::shared_ptr<ui::View>& source)
{
    placeMediaSheetBySourceView(*view(), m_placement, container, source);
}

void placeMediaSheetBySourceView(ui::View& sheet, std::vector<ui::ConstraintPtr>& placement, ui::View& container,
    const std::shared_ptr<ui::View>& source)
{
    auto* panel = &sheet;
    auto& m_placement = placement;
    ui::Constraint::deactivate(m_placement);
    m_placement.clear();
    constexpr double gap = 8;
    constexpr double edge = 8;
    const ui::Size size = panel->bounds().size;
    panel->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_placement = {
        panel->widthAnchor().constraintEqualToConstant(size.width),
        panel->heightAnchor().constraintEqualToConstant(size.height),
        panel->leadingAnchor().constraintGreaterThanOrEqualTo(container.leadingAnchor(), edge),
        panel->trailingAnchor().constraintLessThanOrEqualTo(container.trailingAnchor(), -edge),
        panel->topAnchor().constraintGreaterThanOrEqualTo(container.topAnchor(), edge),
        panel->bottomAnchor().constraintLessThanOrEqualTo(container.bottomAnchor(), -edge),
    };
    auto optional = [](ui::ConstraintPtr constraint, float priority) {
        constraint->setPriority(priority);
        return constraint;
    };
    auto window = container.window();
    if (!source || !window || !source->isDescendantOf(window.get())) {
        m_placement.push_back(panel->centerXAnchor().constraintEqualTo(container.centerXAnchor()));
        m_placement.push_back(panel->centerYAnchor().constraintEqualTo(container.centerYAnchor()));
        ui::Constraint::activate(m_placement);
        return;
    }
    // Where the control is now, in the container: the side is chosen once, when the panel opens.
    container.layoutIfNeeded();
    const ui::Rect bounds = container.bounds();
    const ui::Rect control = source->convertRectTo(source->bounds(), &container);
    const double above = control.minY() - bounds.minY() - edge - gap;
    const double below = bounds.maxY() - control.maxY() - edge - gap;
    const double before = control.minX() - bounds.minX() - edge - gap;
    const double after = bounds.maxX() - control.maxX() - edge - gap;
    // Along the side it sits on, the panel centres on the control as far as the edges allow.
    const float along = ui::LayoutPriority::defaultHigh;
    if (above >= size.height || below >= size.height || std::max(before, after) < size.width) {
        const bool up = above >= size.height || (below < size.height && above > below);
        // Too tall for either side: as close as the container's edges let it come.
        const float attach = std::max(above, below) >= size.height ? ui::LayoutPriority::required : along + 1;
        m_placement.push_back(optional(up ? panel->bottomAnchor().constraintEqualTo(source->topAnchor(), -gap)
                                          : panel->topAnchor().constraintEqualTo(source->bottomAnchor(), gap),
            attach));
        m_placement.push_back(optional(panel->centerXAnchor().constraintEqualTo(source->centerXAnchor()), along));
    } else {
        const bool leading = before >= size.width;
        m_placement.push_back(leading ? panel->trailingAnchor().constraintEqualTo(source->leadingAnchor(), -gap)
                                      : panel->leadingAnchor().constraintEqualTo(source->trailingAnchor(), gap));
        m_placement.push_back(optional(panel->centerYAnchor().constraintEqualTo(source->centerYAnchor()), along));
    }
    ui::Constraint::activate(m_placement);
}

std::string mediaTimeText(int64_t seconds)
{
    if (seconds < 0)
        seconds = 0;
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
            static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    else
        std::snprintf(text, sizeof text, "%02lld:%02lld", static_cast<long long>(seconds / 60), static_cast<long long>(seconds % 60));
    return text;
}

} // namespace lectoro
