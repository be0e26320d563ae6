#include "platform/ui/View.h"

#include "platform/base/Thread.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace ui {

namespace {

// A transform may rotate or flip, so the result is the box around all four converted corners.
template<typename Convert>
Rect boundingRectOfConvertedCorners(const Rect& rect, Convert convert)
{
    Rect r = rect.standardized();
    Point corners[4] = {
        convert({ r.minX(), r.minY() }),
        convert({ r.maxX(), r.minY() }),
        convert({ r.minX(), r.maxY() }),
        convert({ r.maxX(), r.maxY() }),
    };
    double x1 = corners[0].x, x2 = x1, y1 = corners[0].y, y2 = y1;
    for (const Point& c : corners) {
        x1 = std::min(x1, c.x);
        x2 = std::max(x2, c.x);
        y1 = std::min(y1, c.y);
        y2 = std::max(y2, c.y);
    }
    return { x1, y1, x2 - x1, y2 - y1 };
}

std::weak_ptr<View>& firstResponderSlot()
{
    static std::weak_ptr<View> slot;
    return slot;
}

} // namespace

std::shared_ptr<View> View::create(const Rect& frame)
{
    return std::shared_ptr<View>(new View(frame));
}

View::View(const Rect& frame)
    : View(frame, Layer::create())
{
}

View::View(const Rect& frame, std::shared_ptr<Layer> layer)
    : m_layer(layer ? std::move(layer) : Layer::create())
{
    BASE_ASSERT_MAIN_THREAD();
    m_layer->m_owningView = this;
    m_layer->setFrame(frame);
}

View::~View()
{
    m_layer->m_owningView = nullptr;
    for (auto& recognizer : m_gestureRecognizers)
        recognizer->attachTo(nullptr);
    for (auto& constraint : m_constraints) {
        constraint->m_active = false;
        constraint->m_holder.reset();
    }
    // Our subviews' layers are our layer's sublayers; with us gone they stand alone.
    for (auto& subview : m_subviews)
        subview->m_layer->detachFromSuperlayer();
    if (m_safeAreaGuide)
        m_safeAreaGuide->m_owningView = nullptr;
    if (m_marginsGuide)
        m_marginsGuide->m_owningView = nullptr;
    for (auto& guide : m_layoutGuides)
        guide->m_owningView = nullptr;
}

// Geometry

Rect View::frame() const
{
    return m_layer->frame();
}

void View::setFrame(const Rect& frame)
{
    BASE_ASSERT_MAIN_THREAD();
    Size oldSize = m_layer->bounds().size;
    m_layer->setFrame(frame);
    if (!(oldSize == m_layer->bounds().size))
        boundsSizeDidChange(oldSize);
    didChangeProperty("frame");
}

void View::setFrameNoNotify(const Rect& frame)
{
    Size oldSize = m_layer->bounds().size;
    m_layer->setFrame(frame);
    if (!(oldSize == m_layer->bounds().size))
        boundsSizeDidChange(oldSize);
}

Rect View::bounds() const
{
    return m_layer->bounds();
}

void View::setBounds(const Rect& bounds)
{
    BASE_ASSERT_MAIN_THREAD();
    Size oldSize = m_layer->bounds().size;
    m_layer->setBounds(bounds);
    if (!(oldSize == bounds.size))
        boundsSizeDidChange(oldSize);
    didChangeProperty("bounds");
}

Point View::center() const
{
    return m_layer->position();
}

void View::setCenter(const Point& center)
{
    BASE_ASSERT_MAIN_THREAD();
    m_layer->setPosition(center);
    didChangeProperty("center");
}

AffineTransform View::transform() const
{
    return m_layer->affineTransform();
}

void View::setTransform(const AffineTransform& transform)
{
    BASE_ASSERT_MAIN_THREAD();
    m_layer->setAffineTransform(transform);
    didChangeProperty("transform");
}

void View::boundsSizeDidChange(const Size& oldSize)
{
    setNeedsLayout();
    if (m_autoresizesSubviews)
        autoresizeSubviews(oldSize);
}

void View::autoresizeSubviews(const Size& oldSize)
{
    Size newSize = bounds().size;
    // Each axis: the size change is shared by the flexible parts (margin before, size,
    // margin after) in proportion to their current lengths, equally when they are all 0.
    auto distribute = [](double delta, double before, double length, double after, bool flexBefore, bool flexLength,
                          bool flexAfter, double& newBefore, double& newLength) {
        newBefore = before;
        newLength = length;
        double total = (flexBefore ? before : 0) + (flexLength ? length : 0) + (flexAfter ? after : 0);
        int count = int(flexBefore) + int(flexLength) + int(flexAfter);
        if (count == 0)
            return;
        auto share = [&](double part) { return total > 0 ? delta * part / total : delta / count; };
        if (flexBefore)
            newBefore = before + share(before);
        if (flexLength)
            newLength = std::max(0.0, length + share(length));
    };
    for (auto& subview : m_subviews) {
        AutoresizingMask mask = subview->m_autoresizingMask;
        if (mask == AutoresizingMask::None || !subview->m_translatesAutoresizingMask)
            continue;
        Rect f = subview->frame();
        double x, w, y, h;
        distribute(newSize.width - oldSize.width, f.minX(), f.width(), oldSize.width - f.maxX(),
            hasFlags(mask, AutoresizingMask::FlexibleLeftMargin), hasFlags(mask, AutoresizingMask::FlexibleWidth),
            hasFlags(mask, AutoresizingMask::FlexibleRightMargin), x, w);
        distribute(newSize.height - oldSize.height, f.minY(), f.height(), oldSize.height - f.maxY(),
            hasFlags(mask, AutoresizingMask::FlexibleTopMargin), hasFlags(mask, AutoresizingMask::FlexibleHeight),
            hasFlags(mask, AutoresizingMask::FlexibleBottomMargin), y, h);
        subview->setFrame({ x, y, w, h });
    }
}

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

// Flags and colours

bool View::isHidden() const
{
    return m_layer->isHidden();
}

void View::setHidden(bool hidden)
{
    BASE_ASSERT_MAIN_THREAD();
    m_layer->setHidden(hidden);
    didChangeProperty("hidden");
}

double View::alpha() const
{
    return m_layer->opacity();
}

void View::setAlpha(double alpha)
{
    BASE_ASSERT_MAIN_THREAD();
    m_layer->setOpacity(alpha);
    didChangeProperty("alpha");
}

void View::setOpaque(bool opaque)
{
    BASE_ASSERT_MAIN_THREAD();
    m_opaque = opaque;
}

void View::setUserInteractionEnabled(bool enabled)
{
    BASE_ASSERT_MAIN_THREAD();
    m_userInteractionEnabled = enabled;
}

void View::setMultipleTouchEnabled(bool enabled)
{
    BASE_ASSERT_MAIN_THREAD();
    m_multipleTouchEnabled = enabled;
}

void View::setExclusiveTouch(bool exclusive)
{
    BASE_ASSERT_MAIN_THREAD();
    m_exclusiveTouch = exclusive;
}

bool View::clipsToBounds() const
{
    return m_layer->masksToBounds();
}

void View::setClipsToBounds(bool clips)
{
    BASE_ASSERT_MAIN_THREAD();
    m_layer->setMasksToBounds(clips);
}

std::optional<Color> View::backgroundColor() const
{
    return m_layer->backgroundColor();
}

void View::setBackgroundColor(std::optional<Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_layer->setBackgroundColor(color);
    didChangeProperty("backgroundColor");
}

Color View::tintColor() const
{
    for (const View* view = this; view;) {
        if (view->m_tintColor)
            return *view->m_tintColor;
        auto parent = view->m_superview.lock();
        view = parent.get();
    }
    return Color::systemBlue();
}

void View::setTintColor(std::optional<Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_tintColor = color;
    // Tell this view and the descendants that inherit the tint.
    std::vector<View*> pending { this };
    while (!pending.empty()) {
        View* view = pending.back();
        pending.pop_back();
        view->tintColorDidChange();
        for (auto& subview : view->m_subviews) {
            if (!subview->m_tintColor)
                pending.push_back(subview.get());
        }
    }
}

void View::setContentMode(ContentMode mode)
{
    BASE_ASSERT_MAIN_THREAD();
    m_contentMode = mode;
}

void View::setSemanticContentAttribute(SemanticContentAttribute attribute)
{
    BASE_ASSERT_MAIN_THREAD();
    m_semanticContentAttribute = attribute;
}

bool View::isRightToLeft() const
{
    switch (m_semanticContentAttribute) {
    case SemanticContentAttribute::ForceLeftToRight:
        return false;
    case SemanticContentAttribute::ForceRightToLeft:
        return true;
    case SemanticContentAttribute::Unspecified:
        break;
    }
    return Environment::current().isRightToLeft();
}

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

// Coordinates

Point View::pointToSuperview(const Point& p) const
{
    Rect b = bounds();
    Point local(p.x - b.origin.x - b.size.width / 2, p.y - b.origin.y - b.size.height / 2);
    AffineTransform t = transform();
    if (!t.isIdentity())
        local = t.apply(local);
    Point c = center();
    return { local.x + c.x, local.y + c.y };
}

Point View::pointFromSuperview(const Point& p) const
{
    Point c = center();
    Point local(p.x - c.x, p.y - c.y);
    AffineTransform t = transform();
    if (!t.isIdentity())
        local = t.inverted().apply(local);
    Rect b = bounds();
    return { local.x + b.origin.x + b.size.width / 2, local.y + b.origin.y + b.size.height / 2 };
}

Point View::convertPointTo(const Point& point, const View* target) const
{
    // Up to our root's bounds space.
    Point p = point;
    const View* root = this;
    std::shared_ptr<View> holder;
    while (auto parent = root->superview()) {
        p = root->pointToSuperview(p);
        holder = parent;
        root = holder.get();
    }
    if (!target || target == root)
        return p;
    // Down from the target's root.
    std::vector<const View*> chain;
    std::vector<std::shared_ptr<View>> keep;
    const View* targetRoot = target;
    chain.push_back(target);
    while (auto parent = targetRoot->superview()) {
        keep.push_back(parent);
        targetRoot = parent.get();
        chain.push_back(targetRoot);
    }
    if (targetRoot != root) {
        // Different trees: through the roots' frames, as windows share the screen.
        p = targetRoot->pointFromSuperview(root->pointToSuperview(p));
    }
    // chain: target … targetRoot; walk from just below the root down to the target.
    for (size_t i = chain.size() - 1; i-- > 0;)
        p = chain[i]->pointFromSuperview(p);
    return p;
}

Point View::convertPointFrom(const Point& point, const View* source) const
{
    if (!source) {
        // From our root's bounds space down to us.
        std::vector<const View*> chain;
        std::vector<std::shared_ptr<View>> keep;
        const View* root = this;
        chain.push_back(this);
        while (auto parent = root->superview()) {
            keep.push_back(parent);
            root = parent.get();
            chain.push_back(root);
        }
        Point p = point;
        for (size_t i = chain.size() - 1; i-- > 0;)
            p = chain[i]->pointFromSuperview(p);
        return p;
    }
    return source->convertPointTo(point, this);
}

Rect View::convertRectTo(const Rect& rect, const View* target) const
{
    return boundingRectOfConvertedCorners(rect, [&](const Point& p) { return convertPointTo(p, target); });
}

Rect View::convertRectFrom(const Rect& rect, const View* source) const
{
    return boundingRectOfConvertedCorners(rect, [&](const Point& p) { return convertPointFrom(p, source); });
}

std::shared_ptr<View> View::hitTest(const Point& point)
{
    if (isHidden() || alpha() < 0.01 || !m_userInteractionEnabled || !pointInside(point))
        return nullptr;
    // Copy: a subclass's hitTest may change the hierarchy.
    auto subviews = m_subviews;
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
        if (auto hit = (*it)->hitTest((*it)->pointFromSuperview(point)))
            return hit;
    }
    return shared_from_this();
}

bool View::pointInside(const Point& point) const
{
    return bounds().contains(point);
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

// Accessibility

void View::setAccessibilityIdentifier(std::string identifier)
{
    BASE_ASSERT_MAIN_THREAD();
    m_accessibilityIdentifier = std::move(identifier);
}

std::string View::accessibilityLabel() const
{
    return m_accessibilityLabel.value_or(std::string());
}

void View::setAccessibilityLabel(std::optional<std::string> label)
{
    BASE_ASSERT_MAIN_THREAD();
    m_accessibilityLabel = std::move(label);
}

std::string View::accessibilityValue() const
{
    return m_accessibilityValue.value_or(std::string());
}

void View::setAccessibilityValue(std::optional<std::string> value)
{
    BASE_ASSERT_MAIN_THREAD();
    m_accessibilityValue = std::move(value);
}

void View::setAccessibilityHint(std::optional<std::string> hint)
{
    BASE_ASSERT_MAIN_THREAD();
    m_accessibilityHint = std::move(hint);
}

AccessibilityTraits View::accessibilityTraits() const
{
    return m_accessibilityTraits.value_or(AccessibilityTraits::None);
}

void View::setAccessibilityTraits(AccessibilityTraits traits)
{
    BASE_ASSERT_MAIN_THREAD();
    m_accessibilityTraits = traits;
}

bool View::isAccessibilityElement() const
{
    return m_isAccessibilityElement.value_or(false);
}

void View::setIsAccessibilityElement(bool value)
{
    BASE_ASSERT_MAIN_THREAD();
    m_isAccessibilityElement = value;
}

void View::setAccessibilityViewIsModal(bool value)
{
    BASE_ASSERT_MAIN_THREAD();
    m_accessibilityViewIsModal = value;
}

void View::setAccessibilityElementsHidden(bool value)
{
    BASE_ASSERT_MAIN_THREAD();
    m_accessibilityElementsHidden = value;
}

std::optional<std::vector<std::shared_ptr<View>>> View::accessibilityElements() const
{
    if (!m_accessibilityElements)
        return std::nullopt;
    std::vector<std::shared_ptr<View>> alive;
    for (const auto& weak : *m_accessibilityElements) {
        if (auto view = weak.lock())
            alive.push_back(std::move(view));
    }
    return alive;
}

void View::setAccessibilityElements(std::optional<std::vector<std::shared_ptr<View>>> elements)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!elements) {
        m_accessibilityElements.reset();
        return;
    }
    std::vector<std::weak_ptr<View>> weak;
    for (const auto& view : *elements) {
        if (view)
            weak.push_back(view);
    }
    m_accessibilityElements = std::move(weak);
}

// Gestures

void View::addGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!recognizer)
        return;
    if (auto previous = recognizer->view(); previous && previous.get() != this)
        previous->removeGestureRecognizer(recognizer.get());
    if (std::find(m_gestureRecognizers.begin(), m_gestureRecognizers.end(), recognizer) == m_gestureRecognizers.end())
        m_gestureRecognizers.push_back(recognizer);
    recognizer->attachTo(this);
}

void View::removeGestureRecognizer(const GestureRecognizer* recognizer)
{
    BASE_ASSERT_MAIN_THREAD();
    auto it = std::find_if(m_gestureRecognizers.begin(), m_gestureRecognizers.end(),
        [&](const auto& r) { return r.get() == recognizer; });
    if (it == m_gestureRecognizers.end())
        return;
    auto keepAlive = *it;
    m_gestureRecognizers.erase(it);
    keepAlive->attachTo(nullptr);
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

// Property observation

uint64_t View::addPropertyObserver(std::string key, PropertyObserver observer)
{
    BASE_ASSERT_MAIN_THREAD();
    uint64_t id = m_nextObserverId++;
    m_propertyObservers.push_back({ id, std::move(key), std::move(observer) });
    return id;
}

void View::removePropertyObserver(uint64_t id)
{
    BASE_ASSERT_MAIN_THREAD();
    m_propertyObservers.erase(std::remove_if(m_propertyObservers.begin(), m_propertyObservers.end(),
                                  [&](const auto& e) { return e.id == id; }),
        m_propertyObservers.end());
}

void View::didChangeProperty(const std::string& key)
{
    if (m_propertyObservers.empty())
        return;
    // Observers may remove themselves or others; run the ones still registered.
    std::vector<uint64_t> ids;
    for (const auto& entry : m_propertyObservers) {
        if (entry.key.empty() || entry.key == key)
            ids.push_back(entry.id);
    }
    for (uint64_t id : ids) {
        auto it = std::find_if(m_propertyObservers.begin(), m_propertyObservers.end(),
            [&](const auto& e) { return e.id == id; });
        if (it == m_propertyObservers.end())
            continue;
        PropertyObserver callback = it->callback;
        callback(*this, key);
    }
}

// LayoutItem

std::weak_ptr<LayoutItem> View::weakLayoutItem() const
{
    std::shared_ptr<LayoutItem> self = std::const_pointer_cast<View>(weak_from_this().lock());
    return self;
}

std::string View::layoutItemName() const
{
    std::string name(className());
    if (!m_accessibilityIdentifier.empty())
        name += "(" + m_accessibilityIdentifier + ")";
    else if (m_tag != 0)
        name += "(tag " + std::to_string(m_tag) + ")";
    return name;
}

} // namespace ui
