#pragma once

// The small icon-in-a-ring item of every row of tool glyphs or colour swatches: the
// highlight pop-up's swatches and tools, the pen and text-box colour palettes, the pen
// colour mark of the bars. The icon label shows a tool's glyph or, for a swatch, the
// colour as its background; the ring (borderView) marks a selected swatch with its layer
// border. Owners set texts, colours, tags and accessibility and add the button that takes
// the taps (the highlight pop-up makes it subview 1); the item only sizes itself.

#include "platform/ui/Constraint.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace ui {
class Label;
}

namespace lectoro {

class HighLightToolView : public ui::View {
public:
    // The content view takes the item's frame rectangle, origin included (owners make
    // items at (0, 0), where frame and bounds agree).
    static std::shared_ptr<HighLightToolView> create(const ui::Rect& frame = {});

    std::string_view className() const override { return "HighLightToolView"; }

    const std::shared_ptr<ui::Label>& iconLabel() const { return m_iconLabel; }
    const std::shared_ptr<ui::View>& contentView() const { return m_contentView; }
    const std::shared_ptr<ui::View>& borderView() const { return m_borderView; }
    const ui::ConstraintPtr& widthConstraintOfIcon() const { return m_widthConstraintOfIcon; }
    const ui::ConstraintPtr& heightConstraintOfIcon() const { return m_heightConstraintOfIcon; }
    const ui::ConstraintPtr& widthConstraintOfBorderView() const { return m_widthConstraintOfBorderView; }
    const ui::ConstraintPtr& heightConstraintOfBorderView() const { return m_heightConstraintOfBorderView; }

    // A dot of diameter h in a ring of diameter h + 14, both round and clipped.
    void resetViewForColorPalletWithColorHeight(double h);

protected:
    explicit HighLightToolView(const ui::Rect& frame);

private:
    void build();

    std::shared_ptr<ui::View> m_contentView;
    std::shared_ptr<ui::View> m_borderView;
    std::shared_ptr<ui::Label> m_iconLabel;
    ui::ConstraintPtr m_widthConstraintOfIcon;
    ui::ConstraintPtr m_heightConstraintOfIcon;
    ui::ConstraintPtr m_widthConstraintOfBorderView;
    ui::ConstraintPtr m_heightConstraintOfBorderView;
};

} // namespace lectoro
