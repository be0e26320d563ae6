#include "platform/ui/ScrollView.h"

#include "platform/base/RunLoop.h"
#include "platform/ui/Environment.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

struct RecordingScrollDelegate : ScrollViewDelegate {
    void didScroll(ScrollView& view) override { log.push_back("scroll " + view.contentOffset().toString()); }
    void willBeginDragging(ScrollView&) override { log.push_back("willDrag"); }
    void didEndDragging(ScrollView&, bool decelerate) override
    {
        log.push_back(decelerate ? "endDrag+" : "endDrag");
    }
    void didEndDecelerating(ScrollView&) override { log.push_back("endDecelerating"); }
    void didEndScrollingAnimation(ScrollView&) override { log.push_back("endAnimation"); }
    std::shared_ptr<View> viewForZooming(ScrollView&) override { return zoomView; }
    std::vector<std::string> log;
    std::shared_ptr<View> zoomView;
};

class ScrollViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::RunLoop::main().reset();
        m_scroll = ScrollView::create({ 0, 0, 100, 100 });
        m_scroll->setContentSize({ 300, 500 });
        m_delegate = std::make_shared<RecordingScrollDelegate>();
        m_scroll->setDelegate(m_delegate);
    }
    void TearDown() override { base::RunLoop::main().reset(); }

    EnvironmentScope m_environment;
    std::shared_ptr<ScrollView> m_scroll;
    std::shared_ptr<RecordingScrollDelegate> m_delegate;
};

TEST_F(ScrollViewTest, OffsetIsTheBoundsOrigin)
{
    auto window = View::create({ 0, 0, 100, 100 });
    window->addSubview(m_scroll);
    auto child = View::create({ 50, 150, 10, 10 });
    m_scroll->addSubview(child);
    m_scroll->setContentOffset({ 0, 120 });
    EXPECT_EQ(m_scroll->bounds(), Rect(0, 120, 100, 100));
    EXPECT_EQ(child->convertPointTo({ 0, 0 }, nullptr), Point(50, 30));
    EXPECT_EQ(m_delegate->log, std::vector<std::string> { "scroll {0, 120}" });
    m_scroll->setContentOffset({ 0, 120 }); // no change, no call
    EXPECT_EQ(m_delegate->log.size(), 1u);
}

TEST_F(ScrollViewTest, AnimatedScrollsEndAfterTheAnimation)
{
    m_scroll->setContentOffset({ 0, 50 }, true);
    EXPECT_EQ(m_scroll->contentOffset(), Point(0, 50));
    base::RunLoop::main().advanceBy(0.3);
    EXPECT_EQ(m_delegate->log, (std::vector<std::string> { "scroll {0, 50}", "endAnimation" }));
}

TEST_F(ScrollViewTest, ScrollRectToVisibleMovesTheLeastNeeded)
{
    struct Case {
        Rect target;
        Point offset;
    };
    const Case cases[] = {
        { { 10, 10, 10, 10 }, { 0, 0 } }, // already visible
        { { 0, 150, 10, 20 }, { 0, 70 } }, // bottom edge brought in
        { { 0, 20, 10, 10 }, { 0, 20 } }, // top edge brought back
        { { 250, 480, 50, 20 }, { 200, 400 } }, // clamped to the content end
        { { 0, 900, 10, 10 }, { 0, 400 } }, // beyond the content
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target.toString());
        m_scroll->scrollRectToVisible(c.target);
        EXPECT_EQ(m_scroll->contentOffset(), c.offset);
    }
}

TEST_F(ScrollViewTest, InsetsWidenTheScrollableRange)
{
    m_scroll->setContentInset({ 10, 0, 20, 0 });
    EXPECT_EQ(m_scroll->minimumContentOffset(), Point(0, -10));
    EXPECT_EQ(m_scroll->maximumContentOffset(), Point(200, 420));
    // Content smaller than the view still cannot scroll past its start.
    m_scroll->setContentSize({ 50, 50 });
    EXPECT_EQ(m_scroll->maximumContentOffset(), Point(0, -10));
}

TEST_F(ScrollViewTest, DragsAndPaging)
{
    EXPECT_TRUE(m_scroll->simulateDrag({ 0, -40 }));
    EXPECT_EQ(m_scroll->contentOffset(), Point(0, 40));
    EXPECT_EQ(m_delegate->log, (std::vector<std::string> { "willDrag", "scroll {0, 40}", "endDrag" }));

    m_delegate->log.clear();
    m_scroll->setPagingEnabled(true);
    m_scroll->simulateDrag({ 0, -30 }); // 70: nearer page 1 (100)
    EXPECT_EQ(m_scroll->contentOffset(), Point(0, 100));
    EXPECT_EQ(m_delegate->log.back(), "endDecelerating");

    // A bounce past the end settles back inside.
    m_scroll->setPagingEnabled(false);
    m_scroll->simulateDrag({ 0, 200 });
    EXPECT_EQ(m_scroll->contentOffset(), Point(0, 0));

    m_scroll->setScrollEnabled(false);
    EXPECT_FALSE(m_scroll->simulateDrag({ 0, -10 }));
}

TEST_F(ScrollViewTest, ZoomNeedsAViewAndStaysInRange)
{
    m_scroll->setMaximumZoomScale(3);
    m_scroll->setZoomScale(2);
    EXPECT_DOUBLE_EQ(m_scroll->zoomScale(), 1); // no view for zooming
    m_delegate->zoomView = View::create();
    m_scroll->setZoomScale(2);
    EXPECT_DOUBLE_EQ(m_scroll->zoomScale(), 2);
    m_scroll->setZoomScale(10);
    EXPECT_DOUBLE_EQ(m_scroll->zoomScale(), 3);
    m_scroll->setZoomScale(0.1);
    EXPECT_DOUBLE_EQ(m_scroll->zoomScale(), 1);
}

} // namespace
} // namespace ui
