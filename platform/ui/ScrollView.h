#pragma once

// A scrolling container. The content offset is the bounds origin, as on the platform.

#include "platform/base/Thread.h"
#include "platform/ui/View.h"

#include <memory>

namespace ui {

class ScrollView;

// Optional callbacks; the defaults do what "not implemented" means.
class ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;

    virtual void didScroll(ScrollView&) { }
    virtual void willBeginDragging(ScrollView&) { }
    virtual void willEndDragging(ScrollView&, Point /*velocity*/, Point& /*targetContentOffset*/) { }
    virtual void didEndDragging(ScrollView&, bool /*willDecelerate*/) { }
    virtual void willBeginDecelerating(ScrollView&) { }
    virtual void didEndDecelerating(ScrollView&) { }
    virtual void didEndScrollingAnimation(ScrollView&) { }
    virtual std::shared_ptr<View> viewForZooming(ScrollView&) { return nullptr; }
    virtual void didZoom(ScrollView&) { }
    virtual void didEndZooming(ScrollView&, View* /*view*/, double /*scale*/) { }
    virtual bool shouldScrollToTop(ScrollView&) { return true; }
};

class ScrollView : public View {
public:
    static std::shared_ptr<ScrollView> create(const Rect& frame = {});
    std::string_view className() const override { return "ScrollView"; }

    Size contentSize() const { return m_contentSize; }
    void setContentSize(const Size&);
    Point contentOffset() const { return bounds().origin; }
    // Sets the offset as given (no clamping, like the platform) and tells the delegate.
    // Animated: the change is recorded as a 0.3 s animation and the delegate's
    // didEndScrollingAnimation follows on the run loop after it.
    void setContentOffset(const Point&, bool animated = false);
    EdgeInsets contentInset() const { return m_contentInset; }
    void setContentInset(const EdgeInsets&);
    // The content inset plus the safe-area insets (the platform's automatic behaviour).
    EdgeInsets adjustedContentInset() const;
    bool adjustsContentInsetForSafeArea() const { return m_adjustsForSafeArea; }
    void setAdjustsContentInsetForSafeArea(bool adjusts)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_adjustsForSafeArea = adjusts;
    }
    EdgeInsets scrollIndicatorInsets() const { return m_indicatorInsets; }
    void setScrollIndicatorInsets(const EdgeInsets& insets)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_indicatorInsets = insets;
    }

    // The offsets the user can scroll between, with the adjusted insets.
    Point minimumContentOffset() const;
    Point maximumContentOffset() const;
    // Scrolls the least needed so that the rectangle (in content coordinates) is visible,
    // within the scrollable range.
    void scrollRectToVisible(const Rect&, bool animated = false);

    bool isScrollEnabled() const { return m_scrollEnabled; }
    void setScrollEnabled(bool enabled) { BASE_ASSERT_MAIN_THREAD(); m_scrollEnabled = enabled; }
    bool isPagingEnabled() const { return m_pagingEnabled; }
    void setPagingEnabled(bool enabled) { BASE_ASSERT_MAIN_THREAD(); m_pagingEnabled = enabled; }
    bool bounces() const { return m_bounces; }
    void setBounces(bool bounces) { BASE_ASSERT_MAIN_THREAD(); m_bounces = bounces; }
    bool alwaysBounceVertical() const { return m_alwaysBounceVertical; }
    void setAlwaysBounceVertical(bool value) { BASE_ASSERT_MAIN_THREAD(); m_alwaysBounceVertical = value; }
    bool alwaysBounceHorizontal() const { return m_alwaysBounceHorizontal; }
    void setAlwaysBounceHorizontal(bool value)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_alwaysBounceHorizontal = value;
    }
    bool showsHorizontalScrollIndicator() const { return m_showsHorizontalIndicator; }
    void setShowsHorizontalScrollIndicator(bool shows)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_showsHorizontalIndicator = shows;
    }
    bool showsVerticalScrollIndicator() const { return m_showsVerticalIndicator; }
    void setShowsVerticalScrollIndicator(bool shows)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_showsVerticalIndicator = shows;
    }
    bool scrollsToTop() const { return m_scrollsToTop; }
    void setScrollsToTop(bool value) { BASE_ASSERT_MAIN_THREAD(); m_scrollsToTop = value; }
    bool delaysContentTouches() const { return m_delaysContentTouches; }
    void setDelaysContentTouches(bool value) { BASE_ASSERT_MAIN_THREAD(); m_delaysContentTouches = value; }

    // Zoom. Setting the zoom scale clamps it to the range and tells the delegate; without
    // a view for zooming from the delegate it stays 1.
    double zoomScale() const { return m_zoomScale; }
    void setZoomScale(double, bool animated = false);
    double minimumZoomScale() const { return m_minimumZoomScale; }
    void setMinimumZoomScale(double);
    double maximumZoomScale() const { return m_maximumZoomScale; }
    void setMaximumZoomScale(double);

    void setDelegate(std::weak_ptr<ScrollViewDelegate> delegate)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_delegate = std::move(delegate);
    }
    std::shared_ptr<ScrollViewDelegate> delegate() const { return m_delegate.lock(); }

    // A drag as a user makes it: will-begin-dragging, the offset moved by -translation
    // (within the scrollable range unless bouncing), did-scroll, did-end-dragging, and,
    // when paging, the offset snapped to the nearest page. Nothing when scrolling is off.
    bool simulateDrag(const Point& translation);

    bool isDragging() const { return m_dragging; }
    bool isDecelerating() const { return false; }

protected:
    explicit ScrollView(const Rect& frame);
    // Subclasses (tables, collections) react to scrolling here, before the delegate.
    virtual void contentOffsetDidChange() { }

private:
    Point clampedOffset(const Point&) const;

    Size m_contentSize;
    EdgeInsets m_contentInset;
    EdgeInsets m_indicatorInsets;
    bool m_adjustsForSafeArea = true;
    bool m_scrollEnabled = true;
    bool m_pagingEnabled = false;
    bool m_bounces = true;
    bool m_alwaysBounceVertical = false;
    bool m_alwaysBounceHorizontal = false;
    bool m_showsHorizontalIndicator = true;
    bool m_showsVerticalIndicator = true;
    bool m_scrollsToTop = true;
    bool m_delaysContentTouches = true;
    bool m_dragging = false;
    double m_zoomScale = 1;
    double m_minimumZoomScale = 1;
    double m_maximumZoomScale = 1;
    std::weak_ptr<ScrollViewDelegate> m_delegate;
};

} // namespace ui
