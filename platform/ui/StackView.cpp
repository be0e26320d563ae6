#include "platform/ui/StackView.h"

#include "platform/base/Thread.h"

#include <algorithm>
#include <cmath>

namespace ui {



std::shared_ptr<StackView> StackView::create(const Rect& frame)
{
    return std::shared_ptr<StackView>(new StackView(frame));
}

std::shared_ptr<StackView> StackView::create(const std::vector<std::shared_ptr<View>>& arrangedSubviews)
{
    auto stack = create();
    for (const auto& view : arrangedSubviews)
        stack->addArrangedSubview(view);
    return stack;
}

StackView::StackView(const Rect& frame)
    : View(frame)
{
}

void StackView::addArrangedSubview(const std::shared_ptr<View>& view)
{
    insertArrangedSubview(view, m_arranged.size());
}

void StackView::insertArrangedSubview(const std::shared_ptr<View>& view, size_t index)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!view || view.get() == this)
        return;
    auto existing = std::find(m_arranged.begin(), m_arranged.end(), view);
    if (existing != m_arranged.end()) {
        size_t old = static_cast<size_t>(existing - m_arranged.begin());
        m_arranged.erase(existing);
        if (index > old)
            --index;
    }
    index = std::min(index, m_arranged.size());
    m_arranged.insert(m_arranged.begin() + static_cast<std::ptrdiff_t>(index), view);
    if (view->superview().get() != this)
        addSubview(view);
    rearrange();
}

void StackView::removeArrangedSubview(const View* view)
{
    BASE_ASSERT_MAIN_THREAD();
    auto it = std::find_if(m_arranged.begin(), m_arranged.end(), [&](const auto& v) { return v.get() == view; });
    if (it == m_arranged.end())
        return;
    m_arranged.erase(it);
    rearrange();
}

void StackView::willRemoveSubview(View* view)
{
    View::willRemoveSubview(view);
    removeArrangedSubview(view);
}

void StackView::setAxis(StackAxis axis)
{
    BASE_ASSERT_MAIN_THREAD();
    m_axis = axis;
    rearrange();
}

void StackView::setSpacing(double spacing)
{
    BASE_ASSERT_MAIN_THREAD();
    m_spacing = spacing;
    rearrange();
}

void StackView::setDistribution(StackDistribution distribution)
{
    BASE_ASSERT_MAIN_THREAD();
    m_distribution = distribution;
    rearrange();
}

void StackView::setAlignment(StackAlignment alignment)
{
    BASE_ASSERT_MAIN_THREAD();
    m_alignment = alignment;
    rearrange();
}

void StackView::setLayoutMarginsRelativeArrangement(bool relative)
{
    BASE_ASSERT_MAIN_THREAD();
    m_marginsRelative = relative;
    rearrange();
}

void StackView::rearrange()
{
    setNeedsUpdateConstraints();
    setNeedsLayout();
}

void StackView::subviewVisibilityDidChange(View* subview)
{
    View::subviewVisibilityDidChange(subview);
    if (std::any_of(m_arranged.begin(), m_arranged.end(), [&](const auto& v) { return v.get() == subview; }))
        rearrange();
}

// The arrangement is constraints between the stack and its visible arranged views, made
// again whenever the arrangement changes; the tree's engine solves them with the rest.
void StackView::updateConstraints()
{
    Constraint::deactivate(m_arrangement);
    m_arrangement.clear();
    for (const auto& guide : m_gapGuides)
        removeLayoutGuide(guide.get());
    m_gapGuides.clear();
    std::vector<std::shared_ptr<View>> views;
    for (const auto& view : m_arranged) {
        view->setTranslatesAutoresizingMaskIntoConstraints(false);
        if (!view->isHidden())
            views.push_back(view);
    }
    View::updateConstraints();
    if (views.empty())
        return;
    const bool horizontal = m_axis == StackAxis::Horizontal;
    const LayoutItem& box = m_marginsRelative ? static_cast<const LayoutItem&>(*layoutMarginsGuide())
                                              : static_cast<const LayoutItem&>(*this);
    auto lead = [&](const LayoutItem& item) { return horizontal ? item.leadingAnchor() : item.topAnchor(); };
    auto trail = [&](const LayoutItem& item) { return horizontal ? item.trailingAnchor() : item.bottomAnchor(); };
    auto length = [&](const LayoutItem& item) { return horizontal ? item.widthAnchor() : item.heightAnchor(); };
    auto centre = [&](const LayoutItem& item) { return horizontal ? item.centerXAnchor() : item.centerYAnchor(); };
    auto crossLead = [&](const LayoutItem& item) { return horizontal ? item.topAnchor() : item.leadingAnchor(); };
    auto crossTrail = [&](const LayoutItem& item) { return horizontal ? item.bottomAnchor() : item.trailingAnchor(); };
    auto crossCentre = [&](const LayoutItem& item) { return horizontal ? item.centerYAnchor() : item.centerXAnchor(); };
    auto crossLength = [&](const LayoutItem& item) { return horizontal ? item.heightAnchor() : item.widthAnchor(); };
    auto add = [&](ConstraintPtr constraint, float priority = LayoutPriority::required) {
        constraint->setPriority(priority);
        m_arrangement.push_back(std::move(constraint));
    };
    auto intrinsicLength = [&](const View& view) {
        Size size = view.intrinsicContentSize();
        return horizontal ? size.width : size.height;
    };

    // Along the axis: the first and last views touch the ends.
    add(lead(*views.front()).constraintEqualTo(lead(box)));
    add(trail(*views.back()).constraintEqualTo(trail(box)));
    for (size_t i = 1; i < views.size(); ++i) {
        const View& before = *views[i - 1];
        const View& view = *views[i];
        switch (m_distribution) {
        case StackDistribution::Fill:
        case StackDistribution::FillEqually:
        case StackDistribution::FillProportionally:
            add(lead(view).constraintEqualTo(trail(before), m_spacing));
            break;
        case StackDistribution::EqualSpacing:
        case StackDistribution::EqualCentering:
            add(lead(view).constraintGreaterThanOrEqualTo(trail(before), m_spacing));
            break;
        }
    }
    const View& first = *views.front();
    switch (m_distribution) {
    case StackDistribution::Fill:
        // Equal pulls leave the slack to the last view, as the platform's stacks do.
        for (size_t i = 0; i + 1 < views.size(); ++i) {
            double intrinsic = intrinsicLength(*views[i]);
            if (intrinsic != View::noIntrinsicMetric)
                add(length(*views[i]).constraintEqualToConstant(intrinsic), 1);
        }
        break;
    case StackDistribution::FillEqually:
        for (size_t i = 1; i < views.size(); ++i)
            add(length(*views[i]).constraintEqualTo(length(first)));
        break;
    case StackDistribution::FillProportionally: {
        double base = intrinsicLength(first);
        for (size_t i = 1; i < views.size(); ++i) {
            double own = intrinsicLength(*views[i]);
            double ratio = base > 0 && own >= 0 ? own / base : 1.0;
            add(length(*views[i]).constraintEqualTo(length(first), ratio, 0), LayoutPriority::required - 1);
        }
        break;
    }
    case StackDistribution::EqualSpacing: {
        // Gaps equal: each view's leading edge lies as far from the one before as the first gap.
        if (views.size() > 2) {
            auto gap = LayoutGuide::create("stack-gap");
            addLayoutGuide(gap);
            m_gapGuides.push_back(gap);
            add(lead(*gap).constraintEqualTo(trail(*views[0])));
            add(trail(*gap).constraintEqualTo(lead(*views[1])));
            for (size_t i = 2; i < views.size(); ++i) {
                auto next = LayoutGuide::create("stack-gap");
                addLayoutGuide(next);
                m_gapGuides.push_back(next);
                add(lead(*next).constraintEqualTo(trail(*views[i - 1])));
                add(trail(*next).constraintEqualTo(lead(*views[i])));
                add(length(*next).constraintEqualTo(length(*gap)), LayoutPriority::required - 1);
            }
        }
        break;
    }
    case StackDistribution::EqualCentering:
        if (views.size() > 2) {
            for (size_t i = 2; i < views.size(); ++i) {
                auto spanFirst = LayoutGuide::create("stack-centres");
                auto spanThis = LayoutGuide::create("stack-centres");
                addLayoutGuide(spanFirst);
                addLayoutGuide(spanThis);
                m_gapGuides.push_back(spanFirst);
                m_gapGuides.push_back(spanThis);
                add(lead(*spanFirst).constraintEqualTo(centre(*views[0])));
                add(trail(*spanFirst).constraintEqualTo(centre(*views[1])));
                add(lead(*spanThis).constraintEqualTo(centre(*views[i - 1])));
                add(trail(*spanThis).constraintEqualTo(centre(*views[i])));
                add(length(*spanThis).constraintEqualTo(length(*spanFirst)), LayoutPriority::required - 1);
            }
        }
        break;
    }

    // Across the axis.
    for (const auto& view : views) {
        switch (m_alignment) {
        case StackAlignment::Fill:
            add(crossLead(*view).constraintEqualTo(crossLead(box)));
            add(crossTrail(*view).constraintEqualTo(crossTrail(box)));
            break;
        case StackAlignment::Leading:
        case StackAlignment::FirstBaseline:
            add(crossLead(*view).constraintEqualTo(crossLead(box)));
            add(crossTrail(*view).constraintLessThanOrEqualTo(crossTrail(box)));
            break;
        case StackAlignment::Center:
            add(crossCentre(*view).constraintEqualTo(crossCentre(box)));
            add(crossLead(*view).constraintGreaterThanOrEqualTo(crossLead(box)));
            break;
        case StackAlignment::Trailing:
        case StackAlignment::LastBaseline:
            add(crossTrail(*view).constraintEqualTo(crossTrail(box)));
            add(crossLead(*view).constraintGreaterThanOrEqualTo(crossLead(box)));
            break;
        }
        if (m_alignment != StackAlignment::Fill) {
            // A stack nobody sizes across hugs its thickest view.
            add(crossLength(*this).constraintEqualTo(crossLength(*view)), LayoutPriority::fittingSizeLevel - 1);
        }
    }
    Constraint::activate(m_arrangement);
}

Size StackView::intrinsicContentSize() const
{
    // Its size comes from its arranged views' constraints, as on the platform.
    return { noIntrinsicMetric, noIntrinsicMetric };
}

} // namespace ui
