#pragma once

// A view that lines up its arranged subviews along an axis.
//
// Layout rule (layoutSubviews), with the visible (not hidden) arranged views only:
//  - Along the axis each view's length is its intrinsic length, or its current frame's
//    when it has none.
//    Fill: the slack (positive or negative) goes to the first view without an intrinsic
//          length, else to the last view;
//    FillEqually: every view gets (length − spacing × (n − 1)) / n;
//    FillProportionally: the length less the spacing is shared in proportion to the
//          intrinsic lengths (equally when they are all 0);
//    EqualSpacing, EqualCentering: intrinsic lengths, and the gaps share what is left,
//          never less than the spacing.
//  - Across the axis: Fill takes the whole thickness; Leading/Top, Center and
//    Trailing/Bottom place the view's intrinsic thickness (or current one); the baseline
//    alignments act as Leading (first) and Trailing (last).
//  - A horizontal stack runs right to left when the view is right-to-left.
//  - With layoutMarginsRelativeArrangement the layout margins are taken off the bounds.

#include "platform/ui/View.h"

namespace ui {

enum class StackAxis { Horizontal, Vertical };
enum class StackDistribution { Fill, FillEqually, FillProportionally, EqualSpacing, EqualCentering };
enum class StackAlignment { Fill, Leading, FirstBaseline, Center, Trailing, LastBaseline, Top = Leading, Bottom = Trailing };

class StackView : public View {
public:
    static std::shared_ptr<StackView> create(const Rect& frame = {});
    static std::shared_ptr<StackView> create(const std::vector<std::shared_ptr<View>>& arrangedSubviews);
    std::string_view className() const override { return "StackView"; }

    const std::vector<std::shared_ptr<View>>& arrangedSubviews() const { return m_arranged; }
    // Also adds the view as a subview (at the end) when it is not one.
    void addArrangedSubview(const std::shared_ptr<View>&);
    void insertArrangedSubview(const std::shared_ptr<View>&, size_t index);
    // Leaves the view in the subviews, as the platform does; removeFromSuperview on an
    // arranged view removes it from both.
    void removeArrangedSubview(const View*);

    StackAxis axis() const { return m_axis; }
    void setAxis(StackAxis);
    double spacing() const { return m_spacing; }
    void setSpacing(double);
    StackDistribution distribution() const { return m_distribution; }
    void setDistribution(StackDistribution);
    StackAlignment alignment() const { return m_alignment; }
    void setAlignment(StackAlignment);
    bool isLayoutMarginsRelativeArrangement() const { return m_marginsRelative; }
    void setLayoutMarginsRelativeArrangement(bool);

    void layoutSubviews() override;
    // The arranged views' lengths plus spacing along the axis, the thickest across.
    Size intrinsicContentSize() const override;

protected:
    explicit StackView(const Rect& frame);
    void willRemoveSubview(View*) override;

private:
    std::vector<std::shared_ptr<View>> m_arranged;
    StackAxis m_axis = StackAxis::Horizontal;
    double m_spacing = 0;
    StackDistribution m_distribution = StackDistribution::Fill;
    StackAlignment m_alignment = StackAlignment::Fill;
    bool m_marginsRelative = false;
};

} // namespace ui
