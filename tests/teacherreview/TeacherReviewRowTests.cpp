// The learner table on screen: the two looks of a row, the fetch a row starts when it
// comes on screen, and a tap on a learner.

#include "TeacherReviewTestSupport.h"

#include "LectoroSDKWithReader/teacherreview/TeacherReviewStudentListTableViewCell.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace lectoro {
namespace {

using reviewtest::learner;
using reviewtest::pageWithWork;
using reviewtest::PanelTest;
using reviewtest::RecordingPanel;
using reviewtest::workResult;

class LearnerRowTest : public PanelTest {
protected:
    std::shared_ptr<TeacherReviewStudentListTableViewCell> row(RecordingPanel& panel, int index)
    {
        return std::dynamic_pointer_cast<TeacherReviewStudentListTableViewCell>(
            panel.studentListTableView()->cellForRowAtIndexPath({ 0, index }));
    }

    static bool showsNotSubmitted(const TeacherReviewStudentListTableViewCell& cell)
    {
        return !cell.isDataAvailable && cell.submitStatusLabel()->superview() == cell.mainView()
            && cell.blurView()->superview() == cell.mainView() && cell.mainView()->subviews().back() == cell.blurView()
            && cell.userNamaLabelTopAnchor()->isActive() && !cell.userNamaLabelCenterYAnchor()->isActive();
    }
    static bool showsSubmitted(const TeacherReviewStudentListTableViewCell& cell)
    {
        return cell.isDataAvailable && !cell.submitStatusLabel()->superview() && !cell.blurView()->superview()
            && cell.userNamaLabelCenterYAnchor()->isActive() && !cell.userNamaLabelTopAnchor()->isActive();
    }
};

TEST_F(LearnerRowTest, RowsShowNameAndYetToSubmitUntilTheWorkArrives)
{
    auto panel = makePanel({ learner(int64_t { 11 }, "Ann", "Lemmory", "file:///nowhere.png"), learner(int64_t { 12 }, "Bob", "Ng") });
    uitest::showInWindow(panel);
    settle();
    auto ann = row(*panel, 0);
    ASSERT_TRUE(ann);
    EXPECT_EQ(ann->reuseIdentifier(), "11");
    EXPECT_EQ(ann->userNameLabel()->text(), "Ann Lemmory");
    EXPECT_EQ(ann->submitStatusLabel()->text(), "Yet to submit");
    EXPECT_TRUE(showsNotSubmitted(*ann));
    EXPECT_EQ(ann->blurView()->backgroundColor(), ui::Color::white().withAlpha(0.6));
    // An unreadable picture leaves the placeholder.
    EXPECT_EQ(ann->profileImageView()->image()->name(), "User_Profile_Pic");

    panel->setSubmittedStudentUGCArray(workResult("11", { pageWithWork(7) }));
    settle();
    base::RunLoop::main().advanceBy(3);
    ann = row(*panel, 0);
    EXPECT_TRUE(showsSubmitted(*ann));
    EXPECT_TRUE(showsNotSubmitted(*row(*panel, 1)));
    // A submitted row is final.
    panel->studentListTableView()->reloadData();
    EXPECT_EQ(row(*panel, 0), ann);
    EXPECT_TRUE(showsSubmitted(*ann));
}

TEST_F(LearnerRowTest, RowsOnScreenClaimTheirLearnersOnce)
{
    auto panel = makePanel({ learner(int64_t { 11 }, "Ann", "Lemmory"), learner(int64_t { 12 }, "Bob", "Ng"),
        learner(int64_t { 13 }, "Cy", "Po") });
    uitest::showInWindow(panel);
    settle();
    // The chain took the first; the rows on screen claimed the other two at once.
    auto ids = panel->fetchedIDs();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<std::string> { "11", "12", "13" }));
    EXPECT_TRUE(panel->studentIdArray().empty());
    panel->studentListTableView()->reloadData();
    base::RunLoop::main().advanceBy(6);
    settle();
    EXPECT_EQ(panel->fetches().size(), 3u);

    // Without a fetch callback a row leaves its learner pending.
    auto quiet = makePanel({ learner(int64_t { 21 }, "Dee", "Um") });
    quiet->FetchEachLearnerData = nullptr;
    uitest::showInWindow(quiet);
    settle();
    EXPECT_TRUE(quiet->studentIdArray().empty()) << "the chain took it, with nobody to ask";
    auto pending = makePanel({ learner(int64_t { 31 }, "Eve", "Vo"), learner(int64_t { 32 }, "Fay", "Wu") });
    pending->FetchEachLearnerData = nullptr;
    uitest::showInWindow(pending);
    settle();
    EXPECT_EQ(pending->studentIdArray().keys(), (std::vector<std::string> { "32" }));
}

TEST_F(LearnerRowTest, TapHandsOverALearnerWithAnyPages)
{
    auto panel = makePanel({ learner(int64_t { 11 }, "Ann", "Lemmory", "https://pics/ann.png"),
        learner(int64_t { 12 }, "Bob", "Ng", "https://pics/bob.png"),
        learner(int64_t { 13 }, "Cy", "Po") });
    std::vector<std::pair<std::string, size_t>> opened;
    panel->LearnerSelectionAction = [&](const base::Value& pages, const std::string& id) {
        opened.push_back({ id, pages.count() });
    };
    uitest::showInWindow(panel);
    settle();
    panel->setSubmittedStudentUGCArray(workResult("11", { pageWithWork(7), pageWithWork(8) }));
    // Pages whose lists are empty: the row says "Yet to submit", yet the tap opens them.
    panel->setSubmittedStudentUGCArray(workResult("12", { pageWithWork(9, false) }));
    settle();
    base::RunLoop::main().advanceBy(3);
    EXPECT_TRUE(showsNotSubmitted(*row(*panel, 1)));

    const auto& table = panel->studentListTableView();
    ASSERT_TRUE(uitest::tapRow(*table, { 0, 0 }));
    EXPECT_EQ(*panel->selectedLearnerName, "Ann Lemmory");
    EXPECT_EQ(*panel->selectedLearnerImageUrl, "https://pics/ann.png");
    EXPECT_EQ(*panel->selectedLearnerID, "11");
    ASSERT_TRUE(uitest::tapRow(*table, { 0, 1 }));
    // No work: the selection moves, nothing opens.
    ASSERT_TRUE(uitest::tapRow(*table, { 0, 2 }));
    EXPECT_EQ(*panel->selectedLearnerID, "13");
    EXPECT_EQ(opened, (std::vector<std::pair<std::string, size_t>> { { "11", 2u }, { "12", 1u } }));
}

TEST_F(LearnerRowTest, RowGeometryFollowsTheDevice)
{
    struct Case {
        chrometest::Device device;
        double height, picture, radius;
    };
    for (const auto& c : { Case { chrometest::Device::Phone, 55, 35, 17 }, Case { chrometest::Device::Pad, 60, 40, 20 } }) {
        SCOPED_TRACE(chrometest::deviceName(c.device));
        useDevice(c.device);
        auto panel = makePanel({ learner(int64_t { 11 }, "Ann", "Lemmory") });
        uitest::showInWindow(panel);
        settle();
        EXPECT_DOUBLE_EQ(panel->studentListTableView()->rectForRowAtIndexPath({ 0, 0 }).height(), c.height);
        auto cell = row(*panel, 0);
        ASSERT_TRUE(cell);
        const auto& picture = *cell->profileImageView();
        EXPECT_EQ(picture.constraintWithFirstAttribute(ui::LayoutAttribute::Width)->constant(), c.picture);
        EXPECT_EQ(picture.constraintWithFirstAttribute(ui::LayoutAttribute::Height)->constant(), c.picture);
        EXPECT_EQ(picture.layer()->cornerRadius(), c.radius);
        EXPECT_TRUE(picture.clipsToBounds());
        EXPECT_EQ(cell->userNamaLabelTopAnchor()->constant(), 10);
    }
}

} // namespace
} // namespace lectoro
