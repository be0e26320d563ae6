#include "ShellTestSupport.h"

#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"

namespace lectoro::shelltest {
namespace {

class ReaderShellRotation : public ShellTest {
protected:
    void openBook()
    {
        makeReader();
        helpAlreadySeen();
        m_renderer->loadBook(sample("sample-pagebook"), {});
        base::RunLoop::main().advanceBy(1);
    }
};

TEST_F(ReaderShellRotation, KeyboardLiftsTheSearchViewLessTheHomeIndicator)
{
    struct Case {
        ui::Size screen;
        double expected;
    };
    const Case cases[] = {
        { { 375, 812 }, 300 - 34 },
        { { 812, 375 }, 300 - 22 },
        { { 375, 667 }, 300 },
        { { 812, 812 }, 300 - 22 },
    };
    openBook();
    auto constraint = ui::View::create()->heightAnchor().constraintEqualToConstant(0);
    m_reader->context().bottomConstraintOfTextSearchView = constraint;
    for (const auto& c : cases) {
        ui::Environment::current().setScreenSize(c.screen);
        ui::Environment::current().showKeyboard({ { 0, c.screen.height - 300 }, { c.screen.width, 300 } });
        EXPECT_DOUBLE_EQ(constraint->constant(), c.expected) << c.screen.width << "x" << c.screen.height;
        ui::Environment::current().hideKeyboard();
        EXPECT_DOUBLE_EQ(constraint->constant(), 0);
    }
    // A notice without the end frame counts as a keyboard of no height.
    ui::Environment::current().setScreenSize({ 375, 667 });
    m_reader->keyboardWillShow(
        base::Notification { ui::KeyboardWillShowNotification, nullptr, base::Value() });
    EXPECT_DOUBLE_EQ(constraint->constant(), 0);
}

TEST_F(ReaderShellRotation, OnlyTurnsBetweenPortraitAndLandscapeAreChanges)
{
    struct Case {
        int64_t from;
        int64_t to;
        bool change;
    };
    const Case cases[] = { { 0, 1, true }, { 0, 3, true }, { 1, 3, true }, { 4, 2, true }, { 3, 4, false },
        { 1, 2, false }, { 1, 1, false } };
    for (const auto& c : cases)
        EXPECT_EQ(ReaderViewController::isOrientationChange(c.from, c.to), c.change)
            << c.from << "->" << c.to;
}

TEST_F(ReaderShellRotation, TurningRebuildsTheBarsAndKeepsThemShownOrHidden)
{
    openBook();
    for (bool shown : { false, true }) {
        SCOPED_TRACE(shown);
        if (shown)
            m_reader->moveTopAndBottomOnScreenWithIsAnimate(false);
        ui::Environment::current().rotateTo(ui::Orientation::LandscapeLeft);
        auto topBefore = m_reader->context().playerTopActionBarView;
        auto bottomBefore = m_reader->context().playerBottomActionBarView;
        m_delegate->events.clear();

        ui::Environment::current().rotateTo(ui::Orientation::LandscapeRight);
        EXPECT_EQ(m_reader->context().deviceOrientation, 3) << "within landscape is not a change";
        ASSERT_TRUE(m_reader->context().playerTopActionBarView);
        EXPECT_NE(m_reader->context().playerTopActionBarView, topBefore);
        EXPECT_NE(m_reader->context().playerBottomActionBarView, bottomBefore);
        EXPECT_FALSE(topBefore->superview());
        EXPECT_EQ(m_reader->isPlayerActionBarHidden(), !shown);
        EXPECT_EQ(m_reader->bars().topBarTopMarginConstraint()->constant(),
            shown ? ReaderBars::topShownConstant : ReaderBars::topHiddenConstant);
        EXPECT_EQ(m_delegate->events, std::vector<std::string> { "removeProfilePopOver" }) << "on a phone";

        ui::Environment::current().rotateTo(ui::Orientation::Portrait);
        EXPECT_EQ(m_reader->context().deviceOrientation, 1);
    }
}

TEST_F(ReaderShellRotation, ASizeTransitionInTheBackgroundDoesNothing)
{
    openBook();
    m_reader->setActiveMode(ReaderActiveModeHighlightPopup);
    m_reader->context().isappInBackground = true;
    auto topBefore = m_reader->context().playerTopActionBarView;
    uitest::transitionToSize(m_reader, { 812, 375 });
    base::RunLoop::main().advanceBy(1);
    EXPECT_EQ(m_reader->activeMode(), uint64_t(ReaderActiveModeHighlightPopup));
    EXPECT_EQ(m_reader->context().playerTopActionBarView, topBefore);
    EXPECT_TRUE(m_delegate->events.empty() || m_delegate->events.back() != "removeProfilePopOver");
}

TEST_F(ReaderShellRotation, ASizeTransitionClosesThePopUpOfTheModeAndRebuildsTheBars)
{
    struct Case {
        uint64_t mode;
        uint64_t after;
    };
    const Case cases[] = {
        { ReaderActiveModeHighlightPopup, ReaderActiveModeNone },
        { ReaderActiveModeTextAnnotation, ReaderActiveModeNone },
        { ReaderActiveModePenTool, ReaderActiveModePenTool },
        { ReaderActiveModeThumbnails, ReaderActiveModeThumbnails },
    };
    openBook();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        m_reader->setActiveMode(c.mode);
        auto topBefore = m_reader->context().playerTopActionBarView;
        m_renderer->clearCalls();
        uitest::transitionToSize(m_reader, { 667, 375 });
        EXPECT_EQ(m_reader->activeMode(), c.after);
        EXPECT_NE(m_reader->context().playerTopActionBarView, topBefore);
        EXPECT_EQ(m_renderer->countOf("exitTextAnnotationMode"),
            c.mode == ReaderActiveModeTextAnnotation ? 1u : 0u);
        EXPECT_EQ(m_renderer->countOf("reloadPages"), c.mode == ReaderActiveModePenTool ? 1u : 0u);
        base::RunLoop::main().advanceBy(1);
    }
}

TEST_F(ReaderShellRotation, TheActivityBoxBlocksTouchesUntilStopped)
{
    struct Case {
        ui::UserInterfaceIdiom idiom;
        ui::Size size;
    };
    for (auto c : { Case { ui::UserInterfaceIdiom::Pad, { 300, 130 } },
             Case { ui::UserInterfaceIdiom::Phone, { 250, 100 } },
             Case { ui::UserInterfaceIdiom::Unspecified, { 250, 100 } } }) {
        ui::Environment::current().setIdiom(c.idiom);
        makeReader();
        auto view = m_reader->view();
        view->setFrame({ { 0, 0 }, { 400, 800 } });
        m_reader->startActivityIndicator();
        m_reader->startActivityIndicator();
        auto box = m_reader->activityBox();
        ASSERT_TRUE(box);
        size_t boxes = 0;
        for (const auto& subview : view->subviews())
            boxes += subview == box;
        EXPECT_EQ(boxes, 1u) << "one box at a time";
        EXPECT_EQ(box->frame().size, c.size);
        EXPECT_EQ(box->center(), (ui::Point { 200, 400 }));
        EXPECT_FALSE(box->isHidden());
        EXPECT_DOUBLE_EQ(box->layer()->cornerRadius(), 10);
        EXPECT_FALSE(view->isUserInteractionEnabled());
        std::shared_ptr<ui::Label> label;
        for (const auto& subview : box->subviews())
            if (auto found = std::dynamic_pointer_cast<ui::Label>(subview))
                label = found;
        ASSERT_TRUE(label);
        EXPECT_EQ(label->text(), LocalizationHelper::localizedStringWithKey("LOADING_DATA"));
        EXPECT_EQ(label->frame(), (ui::Rect { { 20, c.size.height - 40 }, { c.size.width - 40, 30 } }));

        m_reader->stopActivityIndicator();
        EXPECT_FALSE(m_reader->activityBox());
        EXPECT_FALSE(box->superview());
        EXPECT_TRUE(view->isUserInteractionEnabled());
        // Stopping with no box only gives the touches back.
        view->setUserInteractionEnabled(false);
        m_reader->stopActivityIndicator();
        EXPECT_TRUE(view->isUserInteractionEnabled());
    }
}

} // namespace
} // namespace lectoro::shelltest
