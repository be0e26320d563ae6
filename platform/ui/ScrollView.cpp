#include "platform/ui/ScrollView.h"

#include "platform/base/RunLoop.h"
#include "platform/base/Thread.h"

#include <algorithm>
#include <cmath>

namespace ui {

std::shared_ptr<ScrollView> ScrollView::create(const Rect& frame)
{
    return std::shared_ptr<ScrollView>(new ScrollView(frame));
}

ScrollView::ScrollView(const Rect& frame)
    : View(frame)
{
    setClipsToBounds(true);
}

void ScrollView::setContentSize(const Size& size)
{
    BASE_ASSERT_MAIN_THREAD();
    m_contentSize = size;
    didChangeProperty("contentSize");
}

void ScrollView::setContentOffset(const Point& offset, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    auto self = shared_from_this();
    auto apply = [&] {
        Rect b = bounds();
        if (b.origin == offset)
            return false;
        b.origin = offset;
        setBounds(b);
        didChangeProperty("contentOffset");
        contentOffsetDidChange();
        if (auto delegate = m_delegate.lock())
            delegate->didScroll(*this);
        return true;
    };
    if (!animated) {
        apply();
        return;
    }
    std::weak_ptr<ScrollView> weakSelf = std::static_pointer_cast<ScrollView>(self);
    View::animate(0.3, 0, AnimationOptions::None, [&] { apply(); }, [weakSelf](bool) {
        auto strong = weakSelf.lock();
        if (!strong)
            return;
        if (auto delegate = strong->delegate())
            delegate->didEndScrollingAnimation(*strong);
    });
}

void ScrollView::setContentInset(const EdgeInsets& insets)
{
    BASE_ASSERT_MAIN_THREAD();
    m_contentInset = insets;
}

EdgeInsets ScrollView::adjustedContentInset() const
{
    if (!m_adjustsForSafeArea)
        return m_contentInset;
    EdgeInsets safe = safeAreaInsets();
    return { m_contentInset.top + safe.top, m_contentInset.left + safe.left, m_contentInset.bottom + safe.bottom,
        m_contentInset.right + safe.right };
}

Point ScrollView::minimumContentOffset() const
{
    EdgeInsets insets = adjustedContentInset();
    return { -insets.left, -insets.top };
}

Point ScrollView::maximumContentOffset() const
{
    EdgeInsets insets = adjustedContentInset();
    Size visible = bounds().size;
    Point minimum = minimumContentOffset();
    return { std::max(minimum.x, m_contentSize.width + insets.right - visible.width),
        std::max(minimum.y, m_contentSize.height + insets.bottom - visible.height) };
}

Point ScrollView::clampedOffset(const Point& offset) const
{
    Point minimum = minimumContentOffset();
    Point maximum = maximumContentOffset();
    return { std::clamp(offset.x, minimum.x, maximum.x), std::clamp(offset.y, minimum.y, maximum.y) };
}

void ScrollView::scrollRectToVisible(const Rect& rect, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    Rect target = rect.standardized();
    Rect visible = bounds();
    Point offset = visible.origin;
    if (target.width() >= visible.width() || target.minX() < visible.minX())
        offset.x = target.minX();
    else if (target.maxX() > visible.maxX())
        offset.x = target.maxX() - visible.width();
    if (target.height() >= visible.height() || target.minY() < visible.minY())
        offset.y = target.minY();
    else if (target.maxY() > visible.maxY())
        offset.y = target.maxY() - visible.height();
    setContentOffset(clampedOffset(offset), animated);
}

void ScrollView::setZoomScale(double scale, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    auto delegate = m_delegate.lock();
    auto self = shared_from_this();
    if (!delegate || !delegate->viewForZooming(*this))
        return;
    if (!std::isfinite(scale))
        return;
    double clamped = std::clamp(scale, m_minimumZoomScale, std::max(m_minimumZoomScale, m_maximumZoomScale));
    if (clamped == m_zoomScale)
        return;
    m_zoomScale = clamped;
    delegate->didZoom(*this);
}

void ScrollView::setMinimumZoomScale(double scale)
{
    BASE_ASSERT_MAIN_THREAD();
    if (std::isfinite(scale) && scale > 0)
        m_minimumZoomScale = scale;
}

void ScrollView::setMaximumZoomScale(double scale)
{
    BASE_ASSERT_MAIN_THREAD();
    if (std::isfinite(scale) && scale > 0)
        m_maximumZoomScale = scale;
}

bool ScrollView::simulateDrag(const Point& translation)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_scrollEnabled || !isUserInteractionEnabled() || isHidden())
        return false;
    auto self = shared_from_this();
    auto delegate = m_delegate.lock();
    m_dragging = true;
    if (delegate)
        delegate->willBeginDragging(*this);
    Point offset = contentOffset();
    Point target(offset.x - translation.x, offset.y - translation.y);
    if (!m_bounces)
        target = clampedOffset(target);
    setContentOffset(target);
    Point velocity;
    Point resting = clampedOffset(target);
    if (m_pagingEnabled) {
        Size page = bounds().size;
        if (page.width > 0)
            resting.x = std::round(resting.x / page.width) * page.width;
        if (page.height > 0)
            resting.y = std::round(resting.y / page.height) * page.height;
        resting = clampedOffset(resting);
    }
    if (delegate)
        delegate->willEndDragging(*this, velocity, resting);
    m_dragging = false;
    bool decelerate = !(resting == contentOffset());
    if (delegate)
        delegate->didEndDragging(*this, decelerate);
    if (decelerate) {
        if (delegate)
            delegate->willBeginDecelerating(*this);
        setContentOffset(resting);
        if (delegate)
            delegate->didEndDecelerating(*this);
    }
    return true;
}

} // namespace ui
