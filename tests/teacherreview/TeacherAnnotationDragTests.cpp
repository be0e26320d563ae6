// The older review panel's card on a tablet, dragged by its own pan recognizer: where a
// release leaves the card, and a release that closes the panel.

#include "TeacherReviewTestSupport.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/teacherreview/TeacherAnnotationViewController.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/NavigationController.h"

namespace lectoro {
namespace {

using reviewtest::PanelTest;

class OlderPanelDragTest : public PanelTest {
protected:
    std::shared_ptr<TeacherAnnotationViewController> makeTabletPanel()
    {
        chrometest::applyDevice(chrometest::Device::Pad);
        auto info = std::make_shared<SDKBookClassInfoVO>();
        info->classTitle = "Biology";
        info->learners = base::Value::List {};
        auto panel = TeacherAnnotationViewController::create();
        panel->themeVo = std::make_shared<LXMVThemeVO>(m_theme);
        panel->setClasses({ info });
        panel->removeAnnotataionController = [this] { ++m_closed; };
        panel->view()->setFrame({ 0, 0, 768, 1024 });
        panel->view()->layoutIfNeeded();
        return panel;
    }

    static std::shared_ptr<ui::PanGestureRecognizer> cardPan(TeacherAnnotationViewController& panel)
    {
        for (const auto& recognizer : panel.teacherAnnotationContainerView()->gestureRecognizers()) {
            if (auto pan = std::dynamic_pointer_cast<ui::PanGestureRecognizer>(recognizer))
                return pan;
        }
        return nullptr;
    }

    int m_closed = 0;
};

TEST_F(OlderPanelDragTest, ReleasesMoveTheCardOrCloseThePanel)
{
    struct Case {
        const char* name;
        double releasedAt;
        double velocity;
        double top;
        double inset;
        bool closes;
    };
    const Case cases[] = {
        { "down past a third closes", 400, 50, 400, 34, true },
        { "up above the rest fills the screen", 200, -50, 0, 0, false },
        { "down above the rest returns to it", 200, 50, 382, 34, false },
        { "up below the rest stays where it is", 500, -50, 500, 34, false },
        { "dragged above the top stops at 0", -100, -50, 0, 0, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto panel = makeTabletPanel();
        m_closed = 0;
        ASSERT_DOUBLE_EQ(panel->topConstraintOfViewContainingPanGesture()->constant(), 382);
        ASSERT_DOUBLE_EQ(panel->teacherLeftConstraint()->constant(), 34);
        auto pan = cardPan(*panel);
        ASSERT_TRUE(pan);
        const double moved = c.releasedAt - 382;
        pan->simulatePan(ui::GestureState::Began, { 0, 0 }, { 0, 0 });
        pan->simulatePan(ui::GestureState::Changed, { 0, moved }, { 0, moved }, { 0, c.velocity });
        pan->simulatePan(ui::GestureState::Ended, { 0, moved }, { 0, moved }, { 0, c.velocity });
        base::RunLoop::main().advanceBy(0.5);
        EXPECT_EQ(m_closed, c.closes ? 1 : 0);
        EXPECT_DOUBLE_EQ(panel->topConstraintOfViewContainingPanGesture()->constant(), c.top);
        EXPECT_DOUBLE_EQ(panel->teacherLeftConstraint()->constant(), c.inset);
        EXPECT_DOUBLE_EQ(panel->teacherRightConstraint()->constant(), -c.inset);
    }
}

} // namespace
} // namespace lectoro
