// A view among others: its superview, subviews and window, tags and the first responder.

#include "platform/ui/View.h"

#include "platform/ui/LayoutEngine.h"

#include "platform/base/Thread.h"
#include "platform/ui/Environment.h"

#include <algorithm>
#include <cstddef>

namespace ui {

namespace {

std::weak_ptr<View>& firstResponderSlot()
{
    static std::weak_ptr<View> slot;
    return slot;
}

} // namespace

// Hierarchy

bool View::isDescendantOf(const View* ancestor) const
{
    if (!ancestor)
        return false;
    for (const View* view = this; view;) {
        if (view == ancestor)
            return true;
        auto parent = view->m_superview.lock();
        view = parent.get();
    }
    return false;
}

std::shared_ptr<View> View::rootView()
{
    auto view = shared_from_this();
    while (auto parent = view->superview())
        view = parent;
    return view;
}

std::shared_ptr<View> View::window()
{
    auto key = Environment::current().keyWindow();
    if (key && rootView() == key)
        return key;
    return nullptr;
}

bool View::isInWindow() const
{
    auto key = Environment::current().keyWindow();
    return key && isDescendantOf(key.get());
}

std::optional<size_t> View::indexInSuperview() const
{
    auto parent = superview();
    if (!parent)
        return std::nullopt;
    for (size_t i = 0; i < parent->m_subviews.size(); ++i) {
        if (parent->m_subviews[i].get() == this)
            return i;
    }
    return std::nullopt;
}

void View::willMoveToSuperview(View*) { }
void View::didMoveToSuperview() { }
void View::didAddSubview(View*) { }
void View::willRemoveSubview(View*) { }

void View::addSubview(const std::shared_ptr<View>& view)
{
    insertSubview(view, SIZE_MAX);
}

void View::insertSubview(const std::shared_ptr<View>& view, size_t index)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!view || view.get() == this || isDescendantOf(view.get()))
        return;
    insertSubviewAtIndex(view, index);
}

void View::detachFromSuperviewForMove()
{
    auto parent = superview();
    if (!parent)
        return;
    parent->willRemoveSubview(this);
    auto& siblings = parent->m_subviews;
    siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [this](const auto& v) { return v.get() == this; }),
        siblings.end());
    m_layer->detachFromSuperlayer();
    m_superview.reset();
}

// By value: callers pass elements of m_subviews, which this reorders.
void View::insertSubviewAtIndex(std::shared_ptr<View> view, size_t index)
{
    auto oldParent = view->superview();
    if (oldParent.get() == this) {
        // Reordering among our own subviews: no hierarchy callbacks.
        auto it = std::find(m_subviews.begin(), m_subviews.end(), view);
        size_t oldIndex = static_cast<size_t>(it - m_subviews.begin());
        m_subviews.erase(it);
        if (index != SIZE_MAX && index > oldIndex)
            --index;
        index = std::min(index, m_subviews.size());
        m_subviews.insert(m_subviews.begin() + static_cast<std::ptrdiff_t>(index), view);
        placeLayerOf(*view, index);
        setNeedsLayout();
        return;
    }
    view->willMoveToSuperview(this);
    if (oldParent) {
        view->deactivateConstraintsLeavingSubtree();
        view->detachFromSuperviewForMove();
    }
    index = std::min(index, m_subviews.size());
    m_subviews.insert(m_subviews.begin() + static_cast<std::ptrdiff_t>(index), view);
    view->m_superview = weak_from_this();
    placeLayerOf(*view, index);
    layout::noteStructureChanged();
    setNeedsLayout();
    didAddSubview(view.get());
    view->didMoveToSuperview();
}

void View::placeLayerOf(const View& subview, size_t index)
{
    // The layer goes just below the layer of the next subview, so layers added directly
    // keep their place; the last subview's layer goes on top.
    for (size_t next = index + 1; next < m_subviews.size(); ++next) {
        const auto& nextLayer = m_subviews[next]->m_layer;
        if (nextLayer->superlayer() == m_layer) {
            m_layer->insertSublayerBelow(subview.m_layer, nextLayer.get());
            return;
        }
    }
    m_layer->addSublayer(subview.m_layer);
}

void View::insertSubviewAbove(const std::shared_ptr<View>& view, const View* sibling)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!view || view.get() == sibling)
        return;
    for (size_t i = 0; i < m_subviews.size(); ++i) {
        if (m_subviews[i].get() == sibling) {
            insertSubview(view, i + 1);
            return;
        }
    }
    addSubview(view);
}

void View::insertSubviewBelow(const std::shared_ptr<View>& view, const View* sibling)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!view || view.get() == sibling)
        return;
    for (size_t i = 0; i < m_subviews.size(); ++i) {
        if (m_subviews[i].get() == sibling) {
            insertSubview(view, i);
            return;
        }
    }
    insertSubview(view, 0);
}

void View::bringSubviewToFront(const View* view)
{
    BASE_ASSERT_MAIN_THREAD();
    for (auto& subview : m_subviews) {
        if (subview.get() == view) {
            insertSubviewAtIndex(subview, SIZE_MAX);
            return;
        }
    }
}

void View::sendSubviewToBack(const View* view)
{
    BASE_ASSERT_MAIN_THREAD();
    for (auto& subview : m_subviews) {
        if (subview.get() == view) {
            insertSubviewAtIndex(subview, 0);
            return;
        }
    }
}

void View::exchangeSubviews(size_t index1, size_t index2)
{
    BASE_ASSERT_MAIN_THREAD();
    if (index1 >= m_subviews.size() || index2 >= m_subviews.size() || index1 == index2)
        return;
    std::swap(m_subviews[index1], m_subviews[index2]);
    placeLayerOf(*m_subviews[index1], index1);
    placeLayerOf(*m_subviews[index2], index2);
}

void View::removeFromSuperview()
{
    BASE_ASSERT_MAIN_THREAD();
    auto parent = superview();
    if (!parent)
        return;
    auto keepAlive = shared_from_this();
    willMoveToSuperview(nullptr);
    if (auto responder = currentFirstResponder(); responder && responder->isDescendantOf(this))
        responder->resignFirstResponder();
    deactivateConstraintsLeavingSubtree();
    detachFromSuperviewForMove();
    layout::noteStructureChanged();
    parent->setNeedsLayout();
    didMoveToSuperview();
}

void View::deactivateConstraintsLeavingSubtree()
{
    // A view without subviews is its whole subtree: a constraint reaches it only through
    // an item it owns (itself or one of its guides), which needs no walk up the tree.
    const bool leaf = m_subviews.empty();
    auto touches = [&](const std::shared_ptr<LayoutItem>& item) {
        View* owner = item ? item->layoutOwningView() : nullptr;
        return owner && (leaf ? owner == this : owner->isDescendantOf(this));
    };
    for (auto ancestor = superview(); ancestor; ancestor = ancestor->superview()) {
        std::vector<ConstraintPtr> leaving;
        for (const auto& constraint : ancestor->m_constraints) {
            if (touches(constraint->firstItem()) || touches(constraint->secondItem()))
                leaving.push_back(constraint);
        }
        for (const auto& constraint : leaving)
            constraint->setActive(false);
    }
}

void View::setTag(int tag)
{
    BASE_ASSERT_MAIN_THREAD();
    m_tag = tag;
}

std::shared_ptr<View> View::viewWithTag(int tag)
{
    if (m_tag == tag)
        return shared_from_this();
    for (const auto& subview : m_subviews) {
        if (auto found = subview->viewWithTag(tag))
            return found;
    }
    return nullptr;
}

std::shared_ptr<View> View::viewWithAccessibilityIdentifier(const std::string& identifier)
{
    if (m_accessibilityIdentifier == identifier)
        return shared_from_this();
    for (const auto& subview : m_subviews) {
        if (auto found = subview->viewWithAccessibilityIdentifier(identifier))
            return found;
    }
    return nullptr;
}

// Responders

std::shared_ptr<View> View::currentFirstResponder()
{
    return firstResponderSlot().lock();
}

void View::setCurrentFirstResponder(const std::shared_ptr<View>& view)
{
    firstResponderSlot() = view;
}

bool View::isFirstResponder() const
{
    return currentFirstResponder().get() == this;
}

bool View::resignFirstResponder()
{
    if (!isFirstResponder())
        return true;
    if (!canResignFirstResponder())
        return false;
    setCurrentFirstResponder(nullptr);
    return true;
}

Responder* View::nextResponder() const
{
    if (auto controller = m_owningController.lock())
        return controller.get();
    return m_superview.lock().get();
}

bool View::endEditing(bool force)
{
    BASE_ASSERT_MAIN_THREAD();
    auto responder = currentFirstResponder();
    if (!responder || !responder->isDescendantOf(this))
        return true;
    // The responder (and its delegate) is asked once; forcing overrides its answer.
    bool resigned = responder->resignFirstResponder() && !responder->isFirstResponder();
    if (!resigned && force)
        setCurrentFirstResponder(nullptr);
    return resigned || force;
}

} // namespace ui
