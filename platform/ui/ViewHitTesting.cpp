// Points between views, hit testing and the gesture recognizers a view carries.

#include "platform/ui/View.h"

#include "platform/base/Thread.h"
#include "platform/ui/Gesture.h"

#include <algorithm>
#include <cstddef>
#include <vector>

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

} // namespace

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

} // namespace ui
