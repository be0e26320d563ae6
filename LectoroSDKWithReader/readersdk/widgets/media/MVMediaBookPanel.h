#pragma once

// What every screen and panel of the media-book player shares: the model it shows, the
// theme it is drawn in, and a helper that makes a button reporting its taps. The panels
// show what they are told and report taps to their delegate; none of them changes playback.

#include "LectoroSDKWithReader/readersdk/media/MVLectoroMediaBookThemeVO.h"
#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"

#include "platform/ui/Button.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/ViewController.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lectoro {

class MVMediaBookPanel : public ui::ViewController {
public:
    const std::shared_ptr<MVMediaBookModel>& mediaBookModel() const { return m_model; }
    virtual void setMediaBookModel(std::shared_ptr<MVMediaBookModel> model) { m_model = std::move(model); }
    const std::shared_ptr<MVLectoroMediaBookThemeVO>& theme() const { return m_theme; }
    // A null theme keeps the current one.
    virtual void setTheme(std::shared_ptr<MVLectoroMediaBookThemeVO>);

protected:
    explicit MVMediaBookPanel(std::shared_ptr<MVMediaBookModel> model) : m_model(std::move(model)) { }
    // A button titled `title`, identified as `identifier`, that runs `action` on this panel
    // when tapped (the panel is held weakly).
    template<class Panel>
    std::shared_ptr<ui::Button> makeButton(const std::string& title, const std::string& identifier,
        std::function<void(Panel&, ui::Button&)> action)
    {
        auto button = ui::Button::create(ui::ButtonType::Custom);
        button->setTitle(title);
        button->setAccessibilityIdentifier(identifier);
        std::weak_ptr<Panel> weakPanel = std::static_pointer_cast<Panel>(shared_from_this());
        button->addTarget(ui::ControlEvent::TouchUpInside, [weakPanel, action](ui::Control& sender) {
            if (auto panel = weakPanel.lock())
                action(*panel, static_cast<ui::Button&>(sender));
        });
        return button;
    }
    // Ties this panel's view, just added to `container`, to `source` (a control somewhere in
    // the same window): on the side of the control with room for the whole panel (above,
    // below, before, after, in that order of preference), 8 points off it, and never past
    // the container's edges. Without a source the panel is centred in the container.
    void placeBySourceView(ui::View& container, const std::shared_ptr<ui::View>& source);
    void styleSheet(ui::View& root) const;
    void styleSheetButton(ui::Button&) const;
    // The theme's colour, else the fallback.
    ui::Color themeColor(std::optional<ui::Color> (MVLectoroMediaBookThemeVO::*getter)() const, ui::Color fallback) const;

    std::shared_ptr<MVMediaBookModel> m_model;
    std::shared_ptr<MVLectoroMediaBookThemeVO> m_theme = std::make_shared<MVLectoroMediaBookThemeVO>();
    std::vector<ui::ConstraintPtr> m_placement;
};

// Ties `sheet`, just added to `container`, to `source` as MVMediaBookPanel::placeBySourceView
// does; `placement` holds the constraints it made (those of an earlier call are dropped).
void placeMediaSheetBySourceView(ui::View& sheet, std::vector<ui::ConstraintPtr>& placement, ui::View& container,
    const std::shared_ptr<ui::View>& source);

// A sheet over the player: a card of its own, set off from the panel under it by a border
// and a shadow.
void styleMediaSheet(ui::View& root, const MVLectoroMediaBookThemeVO&);
// A row or button of a sheet: the panel's text colour, the selected one's highlight colour.
void styleMediaSheetButton(ui::Button&, const MVLectoroMediaBookThemeVO&);

// "mm:ss" (or "h:mm:ss" from an hour on) of whole seconds.
std::string mediaTimeText(int64_t seconds);

} // namespace lectoro
