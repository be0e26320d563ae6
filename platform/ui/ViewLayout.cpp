// Layout: safe area and guides, the layout pass and sizes, constraints a view holds.

#include "platform/ui/View.h"

#include "platform/base/Thread.h"
#include "platform/ui/Environment.h"

#include <algorithm>

namespace ui {

// Safe area and guides

EdgeInsets View::safeAreaInsets() const
{
    if (m_safeAreaInsets)
        return *m_safeAreaInsets;
    auto key = Environment::current().keyWindow();
    if (key.get() == this)
        return Environment::current().safeAreaInsets();
    // The nearest ancestor that knows its insets decides; we get the part of its margins
    // that we overlap.
    for (auto ancestor = superview(); ancestor; ancestor = ancestor->superview()) {
        if (!ancestor->m_safeAreaInsets && ancestor != key)
            continue;
        Rect safe = ancestor->bounds().insetBy(ancestor->safeAreaInsets());
        Rect mine = convertRectTo(bounds(), ancestor.get());
        // An inset never exceeds the view itself.
        auto clampTo = [](double value, double limit) { return std::clamp(value, 0.0, std::max(0.0, limit)); };
        return {
            clampTo(safe.minY() - mine.minY(), mine.height()),
            clampTo(safe.minX() - mine.minX(), mine.width()),
            clampTo(mine.maxY() - safe.maxY(), mine.height()),
            clampTo(mine.maxX() - safe.maxX(), mine.width()),
        };
    }
    return {};
}

void View::setSafeAreaInsets(std::optional<EdgeInsets> insets)
{
    BASE_ASSERT_MAIN_THREAD();
    m_safeAreaInsets = insets;
    setNeedsLayout();
}

std::shared_ptr<LayoutGuide> View::safeAreaLayoutGuide()
{
    if (!m_safeAreaGuide) {
        m_safeAreaGuide = std::shared_ptr<LayoutGuide>(new LayoutGuide(LayoutGuide::Kind::SafeArea, "SafeArea"));
        m_safeAreaGuide->m_owningView = this;
    }
    return m_safeAreaGuide;
}

void View::setLayoutMargins(const EdgeInsets& margins)
{
    BASE_ASSERT_MAIN_THREAD();
    m_layoutMargins = margins;
    setNeedsLayout();
}

std::shared_ptr<LayoutGuide> View::layoutMarginsGuide()
{
    if (!m_marginsGuide) {
        m_marginsGuide = std::shared_ptr<LayoutGuide>(new LayoutGuide(LayoutGuide::Kind::LayoutMargins, "Margins"));
        m_marginsGuide->m_owningView = this;
    }
    return m_marginsGuide;
}

void View::addLayoutGuide(const std::shared_ptr<LayoutGuide>& guide)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!guide || guide->m_kind != LayoutGuide::Kind::Custom)
        return;
    if (guide->m_owningView && guide->m_owningView != this)
        guide->m_owningView->removeLayoutGuide(guide.get());
    if (std::find(m_layoutGuides.begin(), m_layoutGuides.end(), guide) == m_layoutGuides.end())
        m_layoutGuides.push_back(guide);
    guide->m_owningView = this;
}

void View::removeLayoutGuide(const LayoutGuide* guide)
{
    BASE_ASSERT_MAIN_THREAD();
    auto it = std::find_if(m_layoutGuides.begin(), m_layoutGuides.end(), [&](const auto& g) { return g.get() == guide; });
    if (it == m_layoutGuides.end())
        return;
    (*it)->m_owningView = nullptr;
    m_layoutGuides.erase(it);
}

// Layout

void View::setNeedsLayout()
{
    BASE_ASSERT_MAIN_THREAD();
    m_needsLayout = true;
}

void View::layoutIfNeeded()
{
    BASE_ASSERT_MAIN_THREAD();
    auto keepAlive = shared_from_this();
    if (m_needsLayout) {
        m_needsLayout = false;
        ++m_layoutCount;
        layoutSubviews();
    }
    auto subviews = m_subviews;
    for (auto& subview : subviews)
        subview->layoutIfNeeded();
}

void View::layoutSubviews() { }

void View::setNeedsDisplay()
{
    BASE_ASSERT_MAIN_THREAD();
    ++m_displayRequests;
}

Size View::intrinsicContentSize() const
{
    return { noIntrinsicMetric, noIntrinsicMetric };
}

Size View::sizeThatFits(const Size&) const
{
    return bounds().size;
}

void View::sizeToFit()
{
    BASE_ASSERT_MAIN_THREAD();
    Size size = sizeThatFits(bounds().size);
    Rect f = frame();
    setFrame({ f.origin, size });
}

void View::setTranslatesAutoresizingMaskIntoConstraints(bool translates)
{
    BASE_ASSERT_MAIN_THREAD();
    m_translatesAutoresizingMask = translates;
}

void View::setAutoresizingMask(AutoresizingMask mask)
{
    BASE_ASSERT_MAIN_THREAD();
    m_autoresizingMask = mask;
}

void View::setAutoresizesSubviews(bool value)
{
    BASE_ASSERT_MAIN_THREAD();
    m_autoresizesSubviews = value;
}

// Constraints

void View::addConstraint(const ConstraintPtr& constraint)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!constraint)
        return;
    if (constraint->m_active)
        constraint->setActive(false);
    m_constraints.push_back(constraint);
    constraint->m_holder = weak_from_this();
    constraint->markActivated();
}

void View::addConstraints(const std::vector<ConstraintPtr>& constraints)
{
    for (const auto& constraint : constraints)
        addConstraint(constraint);
}

void View::removeConstraint(const Constraint* constraint)
{
    BASE_ASSERT_MAIN_THREAD();
    auto it = std::find_if(m_constraints.begin(), m_constraints.end(), [&](const auto& c) { return c.get() == constraint; });
    if (it == m_constraints.end())
        return;
    auto keepAlive = *it;
    m_constraints.erase(it);
    keepAlive->m_active = false;
    keepAlive->m_holder.reset();
}

void View::removeConstraints(const std::vector<ConstraintPtr>& constraints)
{
    for (const auto& constraint : constraints)
        removeConstraint(constraint.get());
}

} // namespace ui
