// The learner panel: its layout, the annotations switch, the learner data it is handed,
// the fetch chain with its refresh timer, and the busy overlay.

#include "TeacherReviewTestSupport.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Label.h"
#include "platform/ui/Switch.h"

#include <thread>

namespace lectoro {
namespace {

using chrometest::constantOf;
using reviewtest::learner;
using reviewtest::pageWithWork;
using reviewtest::PanelTest;
using reviewtest::workResult;

base::Value::List threeLearners()
{
    return { learner(int64_t { 11 }, "Ann", "Lemmory"), learner(int64_t { 12 }, "Bob", "Ng"),
        learner(int64_t { 13 }, "Cy", "Po") };
}

TEST_F(PanelTest, LayoutConstantsFollowTheDevice)
{
    struct Case {
        chrometest::Device device;
        double header, barLeading, barTrailing, firstSeparatorTrailing, secondSeparatorInset;
        double searchWidth, searchHeight, tableInset, tableTop, emptyLabelTop;
    };
    const Case cases[] = {
        { chrometest::Device::Phone, 40, 20, -20, 0, 0, 300, 35, 20, 20, 50 },
        { chrometest::Device::Pad, 50, 60, -50, -50, 50, 400, 40, 40, 30, 100 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(chrometest::deviceName(c.device));
        useDevice(c.device);
        auto panel = makePanel(threeLearners());
        auto root = panel->view();
        // Header, class bar, separator, annotations bar, separator, search box, table, label.
        const auto& views = root->subviews();
        ASSERT_EQ(views.size(), 8u);
        EXPECT_EQ(constantOf(*views[0], ui::LayoutAttribute::Height), c.header);
        for (size_t bar : { 1u, 3u }) {
            EXPECT_EQ(constantOf(*views[bar], ui::LayoutAttribute::Height), 50);
            EXPECT_EQ(constantOf(*views[bar], ui::LayoutAttribute::Leading), c.barLeading);
            EXPECT_EQ(constantOf(*views[bar], ui::LayoutAttribute::Trailing), c.barTrailing);
        }
        EXPECT_EQ(constantOf(*views[2], ui::LayoutAttribute::Leading), c.barLeading);
        EXPECT_EQ(constantOf(*views[2], ui::LayoutAttribute::Trailing), c.firstSeparatorTrailing);
        EXPECT_EQ(constantOf(*views[4], ui::LayoutAttribute::Leading), c.secondSeparatorInset);
        EXPECT_EQ(constantOf(*views[4], ui::LayoutAttribute::Trailing), -c.secondSeparatorInset);
        EXPECT_EQ(constantOf(*views[5], ui::LayoutAttribute::Width), c.searchWidth);
        EXPECT_EQ(constantOf(*views[5], ui::LayoutAttribute::Height), c.searchHeight);
        EXPECT_EQ(constantOf(*views[5], ui::LayoutAttribute::Top), 10);
        EXPECT_EQ(views[6], panel->studentListTableView());
        EXPECT_EQ(constantOf(*views[6], ui::LayoutAttribute::Leading), c.tableInset);
        EXPECT_EQ(constantOf(*views[6], ui::LayoutAttribute::Trailing), -c.tableInset);
        EXPECT_EQ(constantOf(*views[6], ui::LayoutAttribute::Top), c.tableTop);
        EXPECT_EQ(constantOf(*views[6], ui::LayoutAttribute::Bottom), -30);
        EXPECT_EQ(views[7], panel->noStudentLabel());
        EXPECT_EQ(constantOf(*views[7], ui::LayoutAttribute::Top), c.emptyLabelTop);
        EXPECT_EQ(root->backgroundColor(), chrometest::ThemeColors::teacherBackground());
        // The class name shows as it was when the view was built.
        EXPECT_TRUE(uitest::findLabelWithText(root, "Biology"));
        EXPECT_TRUE(uitest::findLabelWithText(root, chrometest::localized("CHANGE_CLASS")));
        EXPECT_EQ(panel->searchBar()->textAlignment(), ui::TextAlignment::Left);
        base::waitForBackgroundWork();
    }
}

TEST_F(PanelTest, BackAndChangeClassReachTheOwnerAndStopTheTimer)
{
    auto panel = makePanel(threeLearners());
    int removed = 0;
    int changed = 0;
    panel->RemoveAnnotataionController = [&] { ++removed; };
    panel->DidTapOnChangeClassButton = [&] { ++changed; };
    uitest::showInWindow(panel);
    ASSERT_TRUE(panel->scheduledTimer());
    std::weak_ptr<base::Timer> timer = panel->scheduledTimer();

    auto back = uitest::findByAccessibilityIdentifier(panel->view(), "StudentListBackButton");
    ASSERT_TRUE(back);
    ASSERT_TRUE(uitest::tap(*back));
    ASSERT_TRUE(uitest::tap(*uitest::findLabelWithText(panel->view(), chrometest::localized("SELECT_STUDENT"))));
    EXPECT_EQ(removed, 2);
    EXPECT_FALSE(panel->scheduledTimer());
    EXPECT_TRUE(timer.expired() || !timer.lock()->isValid());

    ASSERT_TRUE(uitest::tap(*uitest::findByAccessibilityIdentifier(panel->view(), "ChangeClassButton")));
    EXPECT_EQ(changed, 1);
}

TEST_F(PanelTest, AnnotationSwitchFlipsTheFlagAndItsIdentifier)
{
    auto panel = makePanel(threeLearners());
    panel->loadViewIfNeeded();
    auto control = panel->annotationSwitch();
    EXPECT_FALSE(control->isOn());
    EXPECT_FALSE(panel->isAnnotationEnabled);
    // A fresh switch is off yet carries the "on" identifier.
    EXPECT_EQ(control->accessibilityIdentifier(), "AnnotationSwitchOnStatus");
    for (bool on : { true, false, true }) {
        control->setOn(on);
        uitest::fire(*control, ui::ControlEvent::ValueChanged);
        EXPECT_EQ(panel->isAnnotationEnabled, on);
        EXPECT_EQ(control->accessibilityIdentifier(), on ? "AnnotationSwitchOnStatus" : "AnnotationSwitchOffStatus");
    }
}

TEST_F(PanelTest, LearnerDataIsKeyedBy64BitIdText)
{
    auto panel = makePanel({
        learner(int64_t { 42 }, "Ann", "Lemmory"),
        learner("42", "Ann", "Later"),
        learner(int64_t { 9000000002 }, "Big", "Id"),
        learner("12abc", "Bad", "Id"),
        base::Value::Dictionary { { "name", "no user" } },
    });
    const auto& pending = panel->studentIdArray();
    EXPECT_EQ(pending.keys(), (std::vector<std::string> { "42", "9000000002" }));
    EXPECT_EQ(*pending.find("42")->asString(), "Ann Later");
    EXPECT_EQ(panel->getStudentCount(), 5);
    panel->selectedLearnerID = "9000000002";
    EXPECT_EQ(panel->getStudentIndex(), 3);
    panel->selectedLearnerID = "77";
    EXPECT_EQ(panel->getStudentIndex(), -1);

    auto empty = makePanel({});
    EXPECT_EQ(empty->getStudentCount(), -1);
    EXPECT_EQ(empty->getStudentIndex(), -1);
}

TEST_F(PanelTest, EmptyClassShowsTheNoticeFetchesNothingAndKeepsNoTimer)
{
    auto panel = makePanel({});
    uitest::showInWindow(panel);
    settle();
    EXPECT_FALSE(panel->noStudentLabel()->isHidden());
    EXPECT_EQ(panel->noStudentLabel()->text(), "No student found");
    EXPECT_TRUE(panel->studentListTableView()->isHidden());
    EXPECT_TRUE(panel->fetches().empty());
    EXPECT_FALSE(panel->scheduledTimer());
}

TEST_F(PanelTest, FetchChainAsksOneLearnerAtATimeOffTheMainThread)
{
    auto panel = makePanel(threeLearners());
    // Loaded, not laid out: no row is on screen to claim a learner.
    panel->loadViewIfNeeded();
    settle();
    auto fetches = panel->fetches();
    ASSERT_EQ(fetches.size(), 1u);
    EXPECT_EQ(fetches[0].learnerID, "11");
    EXPECT_EQ(fetches[0].name, "Ann Lemmory");
    EXPECT_FALSE(fetches[0].onMainThread);
    ASSERT_TRUE(panel->scheduledTimer());
    std::weak_ptr<base::Timer> timer = panel->scheduledTimer();

    // Answers come from worker threads; each gives the next fetch.
    std::thread([&] { panel->setSubmittedStudentUGCArray(workResult("11", { pageWithWork(7) })); }).join();
    EXPECT_TRUE(panel->studentDataDict().empty()) << "written on the main queue only";
    settle();
    EXPECT_EQ(panel->fetchedIDs(), (std::vector<std::string> { "11", "12" }));
    std::thread([&] { panel->serviceFailedWithLearnerID("12"); }).join();
    settle();
    EXPECT_EQ(panel->fetchedIDs(), (std::vector<std::string> { "11", "12", "13" }));
    EXPECT_TRUE(panel->scheduledTimer());

    const int reloadsBefore = panel->reloads;
    panel->setSubmittedStudentUGCArray(workResult("13", {}));
    settle();
    EXPECT_EQ(panel->fetches().size(), 3u);
    EXPECT_FALSE(panel->scheduledTimer());
    EXPECT_TRUE(timer.expired() || !timer.lock()->isValid());
    EXPECT_EQ(panel->reloads, reloadsBefore + 1);
    // Only the learner with pages has an entry.
    ASSERT_EQ(panel->studentDataDict().size(), 1u);
    EXPECT_EQ(panel->studentDataDict().begin()->first, "11");

    // Nothing more happens as time goes on.
    base::RunLoop::main().advanceBy(9);
    EXPECT_EQ(panel->reloads, reloadsBefore + 1);
}

TEST_F(PanelTest, ALearnerWhoNeverAnswersStallsTheChainWhileTheTimerReloads)
{
    auto panel = makePanel(threeLearners());
    panel->loadViewIfNeeded();
    settle();
    const int reloadsBefore = panel->reloads;
    base::RunLoop::main().advanceBy(9);
    settle();
    EXPECT_EQ(panel->reloads - reloadsBefore, 3);
    EXPECT_EQ(panel->fetches().size(), 1u);
    EXPECT_TRUE(panel->scheduledTimer());
}

TEST_F(PanelTest, AnswersForAGonePanelAreDropped)
{
    auto panel = makePanel(threeLearners());
    panel->loadViewIfNeeded();
    settle();
    std::weak_ptr<base::Timer> timer = panel->scheduledTimer();
    std::weak_ptr<TeacherReviewViewController> weak = panel;
    panel->setSubmittedStudentUGCArray(workResult("11", { pageWithWork(7) }));
    panel.reset();
    EXPECT_TRUE(weak.expired()) << "nothing queued keeps the panel alive";
    EXPECT_TRUE(timer.expired());
    settle();
    base::RunLoop::main().advanceBy(6);
}

TEST_F(PanelTest, ResultsThatHoldNoPagesStoreNothingButMoveTheChain)
{
    const base::Value results[] = {
        workResult("11", {}),
        base::Value::Dictionary { { "11", "not a record" } },
        base::Value::Dictionary { { "11", base::Value::Dictionary {} } },
        base::Value::Dictionary {},
        base::Value("not a dictionary"),
    };
    for (const auto& result : results) {
        SCOPED_TRACE(result.description());
        auto panel = makePanel(threeLearners());
        panel->loadViewIfNeeded();
        settle();
        panel->setSubmittedStudentUGCArray(result);
        settle();
        EXPECT_TRUE(panel->studentDataDict().empty());
        EXPECT_EQ(panel->fetches().size(), 2u);
    }
}

TEST_F(PanelTest, BusyOverlayIsOneAndGoesAway)
{
    auto panel = makePanel(threeLearners());
    auto root = panel->view();
    const size_t before = root->subviews().size();
    panel->stopActivityIndicator();
    EXPECT_EQ(root->subviews().size(), before);

    panel->startActivityIndicator();
    auto overlay = panel->blackOverLay();
    ASSERT_TRUE(overlay);
    panel->startActivityIndicator();
    EXPECT_EQ(panel->blackOverLay(), overlay);
    EXPECT_EQ(root->subviews().size(), before + 1);
    ASSERT_TRUE(panel->activityIndicator());
    EXPECT_TRUE(panel->activityIndicator()->isAnimating());
    EXPECT_EQ(panel->activityIndicator()->style(), ui::ActivityIndicatorStyle::Gray);

    panel->stopActivityIndicator();
    EXPECT_FALSE(panel->blackOverLay());
    EXPECT_FALSE(panel->activityIndicator());
    EXPECT_FALSE(overlay->superview());
    EXPECT_EQ(root->subviews().size(), before);
}

} // namespace
} // namespace lectoro
