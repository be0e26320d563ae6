// The learner panel's search field and its moves to the next or previous learner with work.

#include "TeacherReviewTestSupport.h"

#include "platform/ui/Label.h"

namespace lectoro {
namespace {

using reviewtest::learner;
using reviewtest::pageWithWork;
using reviewtest::PanelTest;
using reviewtest::workResult;

std::vector<std::string> listedNames(TeacherReviewViewController& panel)
{
    std::vector<std::string> names;
    for (const auto& record : panel.filteredStudentListArray().value_or(base::Value::List {}))
        names.push_back(*record["user"]["firstName"].asString());
    return names;
}

TEST_F(PanelTest, SearchOnReturnMatchesFullNamesAsTyped)
{
    auto panel = makePanel({ learner(int64_t { 1 }, "Ann", "Lemmory"), learner(int64_t { 2 }, "Bob", "Ng") });
    panel->view();
    auto& field = *panel->searchBar();
    struct Case {
        const char* query;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        { "Lemmory", { "Ann" } },
        { "lemmory", {} },
        { "n L", { "Ann" } },
        { " ", { "Ann", "Bob" } },
        { "", { "Ann", "Bob" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.query);
        field.setText(c.query);
        EXPECT_TRUE(panel->textFieldShouldReturn(field));
        EXPECT_EQ(listedNames(*panel), c.listed);
        EXPECT_EQ(panel->noStudentLabel()->isHidden(), !c.listed.empty());
        EXPECT_EQ(panel->studentListTableView()->isHidden(), c.listed.empty());
    }
    EXPECT_EQ(panel->noStudentLabel()->text(), "No student found");

    // Typing alone leaves the last result; an emptied field or the clear button lists all.
    field.setText("zzz");
    panel->textFieldShouldReturn(field);
    field.setText("An");
    panel->textFieldEditingDidChange(field);
    EXPECT_TRUE(listedNames(*panel).empty());
    EXPECT_TRUE(panel->textFieldShouldClear(field));
    EXPECT_EQ(listedNames(*panel).size(), 2u);
    panel->textFieldShouldReturn(field);
    field.setText("");
    panel->textFieldEditingDidChange(field);
    EXPECT_EQ(listedNames(*panel).size(), 2u);
}

class LearnerMovesTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        m_panel = makePanel({ learner(int64_t { 1 }, "A", "One", "pic-a"), learner(int64_t { 2 }, "B", "Two"),
            learner(int64_t { 3 }, "C", "Three", "pic-c") });
        m_panel->setSubmittedStudentUGCArray(workResult("1", { pageWithWork(7) }));
        m_panel->setSubmittedStudentUGCArray(workResult("2", {}));
        m_panel->setSubmittedStudentUGCArray(workResult("3", { pageWithWork(9) }));
        settle();
        m_panel->LearnerSelectionAction = [this](const base::Value& pages, const std::string& learnerID) {
            m_opened.push_back(learnerID + ":" + std::to_string(pages.count()));
        };
    }

    std::shared_ptr<reviewtest::RecordingPanel> m_panel;
    std::vector<std::string> m_opened;
};

TEST_F(LearnerMovesTest, NextAndPreviousSkipLearnersWithoutWork)
{
    struct Case {
        std::optional<std::string> selected;
        bool next;
        bool previous;
        std::optional<std::string> nextOpens;
        std::optional<std::string> previousOpens;
        int index;
    };
    const Case cases[] = {
        { "1", true, false, "3:1", std::nullopt, 1 },
        { "2", true, true, "3:1", "1:1", 2 },
        { "3", false, true, std::nullopt, "1:1", 3 },
        { "404", false, false, std::nullopt, std::nullopt, -1 },
        { std::nullopt, false, false, std::nullopt, std::nullopt, -1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected.value_or("none"));
        for (bool forward : { true, false }) {
            m_panel->selectedLearnerID = c.selected;
            m_panel->selectedLearnerName = "before";
            m_opened.clear();
            EXPECT_EQ(m_panel->isAvailableNextStudent(), c.next);
            EXPECT_EQ(m_panel->isAvailablePreviousStudent(), c.previous);
            EXPECT_EQ(m_panel->getStudentIndex(), c.index);
            EXPECT_EQ(m_panel->getStudentCount(), 3);
            forward ? m_panel->jumpToNextStudent() : m_panel->jumpToPreviousStudent();
            const auto& expected = forward ? c.nextOpens : c.previousOpens;
            if (expected) {
                EXPECT_EQ(m_opened, std::vector<std::string> { *expected });
                EXPECT_EQ(*m_panel->selectedLearnerID, expected->substr(0, 1));
            } else {
                EXPECT_TRUE(m_opened.empty());
                EXPECT_EQ(m_panel->selectedLearnerName, "before") << "nothing changes";
            }
        }
    }
    // The selection carries the learner's name and picture.
    m_panel->selectedLearnerID = "1";
    m_panel->jumpToNextStudent();
    EXPECT_EQ(*m_panel->selectedLearnerName, "C Three");
    EXPECT_EQ(*m_panel->selectedLearnerImageUrl, "pic-c");
}

} // namespace
} // namespace lectoro
