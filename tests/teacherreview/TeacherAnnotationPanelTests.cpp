// The older review panel a host presents itself: classes and learners with their fetch
// states, its review data and save set, the class strip, the learner rows and the card's
// drag on a tablet.

#include "TeacherReviewTestSupport.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/teacherreview/TeacherAnnotationCells.h"
#include "LectoroSDKWithReader/teacherreview/TeacherAnnotationViewController.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/testing/Interaction.h"

#include <cmath>

namespace lectoro {
namespace {

using reviewtest::learner;
using reviewtest::PanelTest;
using reviewtest::workResult;

std::shared_ptr<SDKBookClassInfoVO> annotationClass(const std::string& title, base::Value::List learners)
{
    auto info = std::make_shared<SDKBookClassInfoVO>();
    info->classId = "id-" + title;
    info->classTitle = title;
    info->learners = std::move(learners);
    return info;
}

template <class Record>
std::shared_ptr<Record> annotationRecord(const std::string& localID, const std::string& ugcID, int16_t status,
    const std::string& modified)
{
    auto record = std::make_shared<Record>();
    record->localID = localID;
    record->ugcID = ugcID;
    record->status = status;
    record->modifiedDate = modified;
    return record;
}

class OlderPanelTest : public PanelTest {
protected:
    std::shared_ptr<TeacherAnnotationViewController> makeOlderPanel(
        std::vector<std::shared_ptr<SDKBookClassInfoVO>> classes, double width = 600)
    {
        auto panel = TeacherAnnotationViewController::create();
        panel->themeVo = std::make_shared<LXMVThemeVO>(m_theme);
        panel->setClasses(classes);
        panel->fetchEachLearnerData = [this](const std::string& name, const std::string& id) {
            std::lock_guard lock(m_mutex);
            m_asked.push_back(name + "#" + id);
        };
        panel->view()->setFrame({ 0, 0, width, 800 });
        panel->view()->layoutIfNeeded();
        panel->viewDidLayoutSubviews();
        return panel;
    }
    std::vector<std::string> asked()
    {
        base::waitForBackgroundWork();
        std::lock_guard lock(m_mutex);
        return m_asked;
    }
    static std::shared_ptr<TeacherAnnotationTableViewCell> row(TeacherAnnotationViewController& panel, int index)
    {
        // The row on screen, as the table configured it.
        return std::dynamic_pointer_cast<TeacherAnnotationTableViewCell>(panel.tableView()->cellForRowAtIndexPath({ 0, index }));
    }

    std::mutex m_mutex;
    std::vector<std::string> m_asked;
};

TEST_F(OlderPanelTest, FetchStatesPerClassAndTheRowsThatShowThem)
{
    auto panel = makeOlderPanel({ annotationClass("Biology", { learner(int64_t { 7 }, "anna maria", "de wintervold"),
                                      learner(std::string("8"), "Bob", "Ng") }),
        annotationClass("Chemistry", { learner(int64_t { 9 }, "Cy", "Po") }) });
    for (const auto& title : { "Biology", "Chemistry" }) {
        for (const auto& [id, state] : panel->classSubmittedData().at(title))
            EXPECT_EQ(state["status"].integerValue(), 2) << title << " " << id;
    }
    EXPECT_TRUE(panel->classSubmittedData().at("Biology").contains("7")) << "a numeric id keys as text";
    EXPECT_EQ(panel->numberOfRowsInSection(*panel->tableView(), 0), 2);

    auto first = row(*panel, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->nameLabel()->text(), "  Anna Maria De Wintervold");
    EXPECT_TRUE(first->activityIndicatorView()->isAnimating());
    // Each configuration of a row still fetching asks again.
    auto askedBefore = asked();
    EXPECT_NE(std::find(askedBefore.begin(), askedBefore.end(), "anna maria de wintervold#7"), askedBefore.end());
    EXPECT_NE(std::find(askedBefore.begin(), askedBefore.end(), "Bob Ng#8"), askedBefore.end());

    // Results land under the class selected when they come.
    panel->setSubmittedStudentUGCArray(workResult("7", { reviewtest::pageWithWork(3) }));
    panel->serviceFailedWithLearnerID("8");
    settle();
    EXPECT_EQ(panel->classSubmittedData().at("Biology").at("7")["status"].integerValue(), 1);
    auto fetched = row(*panel, 0);
    EXPECT_FALSE(fetched->activityIndicatorView()->isAnimating());
    EXPECT_EQ(fetched->dotView()->backgroundColor(), m_theme.teacher_studentlist_data_added_color());
    EXPECT_TRUE(fetched->refreshButton()->isHidden());
    auto failed = row(*panel, 1);
    EXPECT_EQ(failed->dotViewLabel()->text(), "?");
    EXPECT_FALSE(failed->refreshButton()->isHidden());

    // Refresh asks once more and leaves the learner recorded as failed.
    const size_t askedCount = asked().size();
    failed->didTapOnRefreshButton();
    EXPECT_EQ(asked().size(), askedCount + 1);
    EXPECT_EQ(asked().back(), "Bob Ng#8");
    EXPECT_TRUE(failed->refreshButton()->isHidden());
    EXPECT_EQ(panel->classSubmittedData().at("Biology").at("8")["status"].integerValue(), 3);

    panel->selectClassAtIndex(1);
    EXPECT_EQ(*panel->selectedClassName, "Chemistry");
    EXPECT_EQ(panel->numberOfRowsInSection(*panel->tableView(), 0), 1);
    panel->serviceFailedWithLearnerID("7");
    EXPECT_EQ(panel->classSubmittedData().at("Chemistry").at("7")["status"].integerValue(), 3);
    EXPECT_EQ(panel->classSubmittedData().at("Biology").at("7")["status"].integerValue(), 1);
}

TEST_F(OlderPanelTest, ChoosingALearnerDependsOnItsState)
{
    auto panel = makeOlderPanel({ annotationClass(
        "Biology", { learner(int64_t { 1 }, "Ann", "Lemmory"), learner(int64_t { 2 }, "Bob", "Ng"), learner(int64_t { 3 }, "Cy", "Po") }) });
    std::vector<std::string> opened;
    panel->learnerSelectionAction = [&](const base::Value& pages, const std::string& id) {
        opened.push_back(id + ":" + std::to_string(pages.count()));
    };
    panel->setSubmittedStudentUGCArray(workResult("1", { reviewtest::pageWithWork(3) }));
    panel->setSubmittedStudentUGCArray(workResult("2", {}));
    settle();
    uitest::showInWindow(panel);
    panel->didSelectRowAtIndexPath(*panel->tableView(), { 0, 2 });
    EXPECT_TRUE(opened.empty());
    EXPECT_FALSE(uitest::topmostAlert()) << "still fetching: nothing happens";
    panel->didSelectRowAtIndexPath(*panel->tableView(), { 0, 1 });
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(), "Bob Ng" + chrometest::localized("HAS_NOT_SUBMITTED_ANY_ANSWER"));
    uitest::tapActionAtIndex(0);
    uitest::completePresentations();
    panel->didSelectRowAtIndexPath(*panel->tableView(), { 0, 0 });
    EXPECT_EQ(opened, std::vector<std::string> { "1:1" });
    EXPECT_EQ(*panel->selectedLearnerName, "Ann Lemmory");
}

TEST_F(OlderPanelTest, ReviewDataAndTheSaveSetByModificationTime)
{
    auto panel = TeacherAnnotationViewController::create();
    auto savedLine = annotationRecord<SDKPentoolVO>("a", "12", UGCStatusNew, "2026-01-01 10:00:00.000");
    auto newLine = annotationRecord<SDKPentoolVO>("b", "-1", UGCStatusUpdated, "2026-01-03 10:00:00.000");
    auto answer = annotationRecord<SDKFIBVO>("c", "13", UGCStatusNew, "2026-01-01 09:00:00.000");
    auto cleared = annotationRecord<SDKFIBVO>("d", "14", UGCStatusDeleted, "2026-01-02 10:00:00.000");
    cleared->teacherComment = "see me";
    panel->studentPageUGCDictionary = TeacherReviewPageUGC { { "5", { savedLine, newLine, answer } }, { "6", { cleared, newLine } } };
    EXPECT_EQ(panel->getAnotationToSave(), (TeacherReviewRecordList { cleared, newLine })) << "oldest first, each once";
    savedLine->status = UGCStatusDeleted;
    EXPECT_EQ(panel->getAnotationToSave().front(), savedLine);

    panel->selectedPageIdentifier = "5";
    panel->updatePenDrawing(annotationRecord<SDKPentoolVO>("b", "-1", UGCStatusDeleted, ""));
    EXPECT_EQ(panel->getUGCForPageIdentifier("5")->size(), 2u);
    auto replaced = annotationRecord<SDKPentoolVO>("a", "534", UGCStatusUpdated, "");
    panel->updatePenDrawing(replaced);
    EXPECT_EQ(panel->getUGCForPageIdentifier("5")->back(), replaced);

    answer->text = "x";
    cleared->text = "y";
    panel->clearAllFIBsForPageID("6");
    EXPECT_EQ(cleared->text, "");
    EXPECT_EQ(cleared->teacherComment, "see me") << "the comment stays";
    EXPECT_TRUE(panel->getFIBUGCForPageIdentifier("6").empty());
    EXPECT_FALSE(panel->getUGCForPageIdentifier("99"));
    EXPECT_EQ(TeacherAnnotationViewController::getUGCId(base::Value(int64_t { 12 })), "12");
}

TEST_F(OlderPanelTest, ClassTabsShareTheStripWidth)
{
    struct Case {
        size_t classes;
        double width;
    };
    for (const auto& c : { Case { 3, 200 }, Case { 6, 150 } }) {
        SCOPED_TRACE(c.classes);
        std::vector<std::shared_ptr<SDKBookClassInfoVO>> classes;
        for (size_t i = 0; i < c.classes; ++i)
            classes.push_back(annotationClass("Class " + std::to_string(i), {}));
        auto panel = makeOlderPanel(classes);
        auto size = panel->sizeForItemAtIndexPath(*panel->collectionView(), *panel->collectionView()->collectionViewLayout(), { 0, 0 });
        ASSERT_TRUE(size);
        EXPECT_DOUBLE_EQ(size->width, c.width);
    }
}

// With more classes than the strip shows, the bar under the chosen tab moves with the strip
// as a finger drags it.
TEST_F(OlderPanelTest, TheSelectionBarStaysUnderItsTabWhileTheStripScrolls)
{
    std::vector<std::shared_ptr<SDKBookClassInfoVO>> classes;
    for (int i = 0; i < 6; ++i)
        classes.push_back(annotationClass("Class " + std::to_string(i), {}));
    auto panel = makeOlderPanel(classes);
    uitest::showInWindow(panel);
    base::RunLoop::main().advanceBy(0.5);
    const auto& strip = panel->collectionView();
    auto underTab = [&](int index) {
        auto tab = strip->cellForItemAtIndexPath({ 0, index });
        EXPECT_TRUE(tab) << index;
        if (!tab)
            return false;
        const auto tabInHolder = tab->convertRectTo(tab->bounds(), panel->collectionContainerView().get());
        const auto bar = panel->selectionBar()->frame();
        return std::abs(bar.minX() - tabInHolder.minX()) < 1e-6 && std::abs(bar.width() - tabInHolder.width()) < 1e-6;
    };

    auto second = strip->cellForItemAtIndexPath({ 0, 1 });
    ASSERT_TRUE(second);
    ASSERT_TRUE(uitest::tap(*second));
    base::RunLoop::main().advanceBy(0.5);
    ASSERT_EQ(panel->selectedClassIndex(), 1);
    EXPECT_TRUE(underTab(1));

    // Dragged left by two thirds of a tab, then back a little: the bar follows each time.
    for (double dx : { -100.0, 40.0 }) {
        SCOPED_TRACE(dx);
        const double before = strip->contentOffset().x;
        ASSERT_TRUE(uitest::pan(*strip, { dx, 0 }));
        base::RunLoop::main().advanceBy(0.5);
        ASSERT_NE(strip->contentOffset().x, before) << "the strip scrolled";
        EXPECT_TRUE(underTab(1));
    }
}

TEST(TeacherAnnotationDragTest, ReleasingTheTabletCard)
{
    EXPECT_DOUBLE_EQ(teacherAnnotationRestingTop(1024), 382);
    struct Case {
        const char* name;
        double velocity;
        double top;
        std::optional<TeacherAnnotationCardPlacement> expected;
    };
    const Case cases[] = {
        { "down past a third closes", 50, 400, TeacherAnnotationCardPlacement { 400, 0, true } },
        { "up above rest fills", -50, 200, TeacherAnnotationCardPlacement { 0, 0, false } },
        { "down above rest returns to rest", 50, 200, TeacherAnnotationCardPlacement { 382, 34, false } },
        { "up below rest stays", -50, 400, std::nullopt },
        { "down from rest closes", 50, 382, TeacherAnnotationCardPlacement { 382, 0, true } },
        { "no movement stays", 0, 200, std::nullopt },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(teacherAnnotationDragEnded(c.velocity, c.top, 1024), c.expected);
    }
}

} // namespace
} // namespace lectoro
