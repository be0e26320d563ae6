// Layout: safe area and guides, the layout pass and sizes, constraints a view holds.

#include "platform/ui/View.h"

#include "platform/base/Thread.h"
#include "platform/ui/Environment.h"
#include "platform/ui/LayoutEngine.h"

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
    layout::noteStructureChanged();
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
    layout::noteStructureChanged();
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

namespace {

// Views that asked for updateConstraints since their tree's last pass, so a pass walks no
// tree for them and a pass over one tree leaves another tree's requests alone.
std::vector<std::weak_ptr<View>>& constraintUpdateRequests()
{
    static std::vector<std::weak_ptr<View>> requests;
    return requests;
}

bool someViewNeedsConstraintUpdate()
{
    return !constraintUpdateRequests().empty();
}

size_t depthOf(const View& view)
{
    size_t depth = 0;
    for (auto parent = view.superview(); parent; parent = parent->superview())
        ++depth;
    return depth;
}

// Deepest first: a container's constraints may read its subviews'.
void updateConstraintsIn(View& root)
{
    auto& requests = constraintUpdateRequests();
    std::vector<std::pair<size_t, std::shared_ptr<View>>> mine;
    for (auto it = requests.begin(); it != requests.end();) {
        auto view = it->lock();
        if (!view) {
            it = requests.erase(it);
        } else if (view.get() == &root || view->isDescendantOf(&root)) {
            mine.emplace_back(depthOf(*view), std::move(view));
            it = requests.erase(it);
        } else {
            ++it;
        }
    }
    std::stable_sort(mine.begin(), mine.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (auto& [depth, view] : mine)
        view->updateConstraintsIfNeeded();
}

void updateConstraintsBelow(View& view)
{
    auto subviews = view.subviews();
    for (auto& subview : subviews)
        updateConstraintsBelow(*subview);
    view.updateConstraintsIfNeeded();
}

bool& someViewNeedsLayout()
{
    static bool flag = true;
    return flag;
}

int& passDepth()
{
    static int depth = 0;
    return depth;
}

} // namespace

void View::setNeedsLayout()
{
    BASE_ASSERT_MAIN_THREAD();
    m_needsLayout = true;
    someViewNeedsLayout() = true;
}

bool View::layoutPending()
{
    if (someViewNeedsLayout() || someViewNeedsConstraintUpdate())
        return true;
    auto key = Environment::current().keyWindow();
    return key && layout::hasPendingChanges(*key);
}

void View::setNeedsUpdateConstraints()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_needsUpdateConstraints)
        return;
    m_needsUpdateConstraints = true;
    constraintUpdateRequests().push_back(weak_from_this());
}

void View::updateConstraintsIfNeeded()
{
    if (!m_needsUpdateConstraints)
        return;
    m_needsUpdateConstraints = false;
    updateConstraints();
}

void View::updateConstraints() { }

void View::layOutSubtree(bool& ranAny)
{
    auto keepAlive = shared_from_this();
    if (m_needsLayout) {
        m_needsLayout = false;
        ++m_layoutCount;
        ranAny = true;
        layoutSubviews();
    }
    auto subviews = m_subviews;
    for (auto& subview : subviews)
        subview->layOutSubtree(ranAny);
}

void View::layoutIfNeeded()
{
    BASE_ASSERT_MAIN_THREAD();
    auto keepAlive = shared_from_this();
    auto root = rootView();
    // A layoutSubviews that asks its subviews to lay out again gets them solved and laid
    // out at once, without starting a pass of its own.
    bool outermost = passDepth() == 0;
    ++passDepth();

    for (int round = 0; round < 8; ++round) {
        if (someViewNeedsConstraintUpdate())
            updateConstraintsIn(*root);
        bool moved = layout::updateTree(*root);
        bool ran = false;
        layOutSubtree(ran);
        if (!outermost || (!moved && !ran))
            break;
    }
    --passDepth();
    // Only a pass over the key window settles every view the run loop would lay out; a
    // detached tree's pending views are found again when someone lays that tree out.
    if (outermost && root.get() == Environment::current().keyWindow().get())
        someViewNeedsLayout() = false;
}

void View::layoutSubviews() { }

void View::invalidateIntrinsicContentSize()
{
    BASE_ASSERT_MAIN_THREAD();
    layout::noteViewChanged(*this);
    setNeedsLayout();
    if (auto parent = superview())
        parent->setNeedsLayout();
}

Size View::systemLayoutSizeFittingSize(const Size& target, float horizontalPriority, float verticalPriority)
{
    BASE_ASSERT_MAIN_THREAD();
    updateConstraintsBelow(*this);
    return layout::fittingSize(*this, target, horizontalPriority, verticalPriority);
}

float View::contentHuggingPriority(LayoutConstraintAxis axis) const
{
    return m_hugging[axis == LayoutConstraintAxis::Vertical];
}

void View::setContentHuggingPriority(float priority, LayoutConstraintAxis axis)
{
    BASE_ASSERT_MAIN_THREAD();
    m_hugging[axis == LayoutConstraintAxis::Vertical] = std::clamp(priority, 1.0f, LayoutPriority::required);
    layout::noteViewChanged(*this);
}

float View::contentCompressionResistancePriority(LayoutConstraintAxis axis) const
{
    return m_compressionResistance[axis == LayoutConstraintAxis::Vertical];
}

void View::setContentCompressionResistancePriority(float priority, LayoutConstraintAxis axis)
{
    BASE_ASSERT_MAIN_THREAD();
    m_compressionResistance[axis == LayoutConstraintAxis::Vertical]
        = std::clamp(priority, 1.0f, LayoutPriority::required);
    layout::noteViewChanged(*this);
}

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
    if (m_translatesAutoresizingMask == translates)
        return;
    m_translatesAutoresizingMask = translates;
    layout::noteStructureChanged();
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
    layout::noteStructureChanged();
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
    layout::noteStructureChanged();
}

void View::removeConstraints(const std::vector<ConstraintPtr>& constraints)
{
    for (const auto& constraint : constraints)
        removeConstraint(constraint.get());
}

} // namespace ui
