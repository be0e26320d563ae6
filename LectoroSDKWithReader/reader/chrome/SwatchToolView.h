#pragma once

// A round colour dot inside a ring: the make-up of every colour swatch on the bars and in
// the pen colour palette. The dot (iconLabel) shows the colour as its background; the
// ring's layer border (borderView) marks the selected swatch. Owners set colours, tags and
// accessibility; the view only sizes itself.
//
// This is the chrome's own small version of the highlight tool button of the annotations
// subsystem, with the same outlets; bars find swatches by this class.

#include "platform/ui/Constraint.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace ui {
class Label;
}

namespace lectoro {

class PlayerActionBarItem;

class SwatchToolView : public ui::View {
public:
    static std::shared_ptr<SwatchToolView> create(const ui::Rect& frame = {});

    std::string_view className() const override { return "SwatchToolView"; }

    const std::shared_ptr<ui::Label>& iconLabel() const { return m_iconLabel; }
    const std::shared_ptr<ui::View>& contentView() const { return m_contentView; }
    const std::shared_ptr<ui::View>& borderView() const { return m_borderView; }
    const ui::ConstraintPtr& widthConstraintOfIcon() const { return m_widthConstraintOfIcon; }
    const ui::ConstraintPtr& heightConstraintOfIcon() const { return m_heightConstraintOfIcon; }
    const ui::ConstraintPtr& widthConstraintOfBorderView() const { return m_widthConstraintOfBorderView; }
    const ui::ConstraintPtr& heightConstraintOfBorderView() const { return m_heightConstraintOfBorderView; }

    // A dot of diameter h in a ring of diameter h + 14, both round and clipped.
    void resetViewForColorPalletWithColorHeight(double h);

    // Centres the ring and the dot in the view at their constrained sizes.
    void layoutSubviews() override;

protected:
    explicit SwatchToolView(const ui::Rect& frame);

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

// How a pen colour swatch item is made up where it is shown: the metadata key its colour is
// stored under, the ring width, the dot diameter and the item's height.
struct PenSwatchItemStyle {
    const char* metaDataKey;
    double ringWidth;
    double dotHeight;
    double itemHeight;
};

// A clear bar item with one swatch of the colour pinned to its edges; the dot's
// accessibility identifier is "penTool_" + colour. A selected item is marked so and its ring
// takes selectedRing. Text that is no hex colour leaves the dot unfilled.
std::shared_ptr<PlayerActionBarItem> makePenColorSwatchItem(
    const std::string& color, const PenSwatchItemStyle&, bool selected, const ui::Color& selectedRing);

} // namespace lectoro
