#pragma once

// A view that lines up its arranged subviews along an axis.
//
// The arrangement is made of constraints the stack activates for its visible arranged
// views (hidden ones take no space): the first and last touch the stack's ends (or its
// layout margins), neighbours are `spacing` apart (at least, for the equal-spacing and
// equal-centring distributions), and across the axis each view fills, or sits at the
// start, centre or end. Fill leaves the slack to the view that hugs least, the last one on
// a tie; FillEqually makes them equal, FillProportionally keeps their intrinsic
// proportions. The stack has no intrinsic size: its arranged views' sizes make it.
// Arranged views are placed by constraints. A horizontal stack runs right to left when the
// view is right-to-left. Baseline alignments act as Leading (first) and Trailing (last).

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

    void updateConstraints() override;
    Size intrinsicContentSize() const override;

protected:
    explicit StackView(const Rect& frame);
    void willRemoveSubview(View*) override;
    void subviewVisibilityDidChange(View*) override;

private:
    std::vector<std::shared_ptr<View>> m_arranged;
    StackAxis m_axis = StackAxis::Horizontal;
    double m_spacing = 0;
    StackDistribution m_distribution = StackDistribution::Fill;
    StackAlignment m_alignment = StackAlignment::Fill;
    bool m_marginsRelative = false;
    std::vector<ConstraintPtr> m_arrangement;
    std::vector<std::shared_ptr<LayoutGuide>> m_gapGuides;

    void rearrange();
};

} // namespace ui
