// The learner panel as the store of a review (page queries, edits, clearing, the save
// set) and the page rules of a learner's work (keys, ordered lists, the page label and
// buttons), checked without the reader.

#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewPages.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewViewController.h"

#include <gtest/gtest.h>

namespace lectoro {
namespace {

std::shared_ptr<SDKPentoolVO> storeDrawing(const std::string& localID, const std::string& ugcID, int16_t status)
{
    auto drawing = std::make_shared<SDKPentoolVO>();
    drawing->localID = localID;
    drawing->ugcID = ugcID;
    drawing->status = status;
    return drawing;
}

std::shared_ptr<SDKFIBVO> storeAnswer(
    const std::string& localID, const std::string& ugcID, int16_t status, int64_t linkID, const std::string& text = "x")
{
    auto answer = std::make_shared<SDKFIBVO>();
    answer->localID = localID;
    answer->ugcID = ugcID;
    answer->status = status;
    answer->linkID = linkID;
    answer->text = text;
    answer->teacherComment = "good";
    return answer;
}

class StorePanel : public TeacherReviewViewController {
public:
    static std::shared_ptr<StorePanel> create() { return std::shared_ptr<StorePanel>(new StorePanel()); }

private:
    StorePanel() = default;
};

std::vector<std::string> localIDs(const TeacherReviewRecordList& records)
{
    std::vector<std::string> ids;
    for (const auto& record : records)
        ids.push_back(record->localID);
    return ids;
}

class TeacherReviewStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_panel = StorePanel::create();
        m_panel->studentPageUGCDictionary = TeacherReviewPageUGC {
            { "7", { m_learnerLine, m_newLine, m_answer } },
            { "8", { m_otherAnswer } },
        };
        m_panel->SelectedPageIdentifier = "7";
    }

    const TeacherReviewRecordList& page(const std::string& key) { return m_panel->studentPageUGCDictionary->at(key); }

    std::shared_ptr<StorePanel> m_panel;
    std::shared_ptr<SDKPentoolVO> m_learnerLine = storeDrawing("line", "77", UGCStatusNew);
    std::shared_ptr<SDKPentoolVO> m_newLine = storeDrawing("new", "-1", UGCStatusNew);
    std::shared_ptr<SDKFIBVO> m_answer = storeAnswer("answer", "90", UGCStatusNew, 501);
    std::shared_ptr<SDKFIBVO> m_otherAnswer = storeAnswer("other", "91", UGCStatusNew, 502);
};

TEST_F(TeacherReviewStoreTest, ErasingADrawingDependsOnWhetherTheServerKnowsIt)
{
    // Never uploaded: it leaves the page and the save set.
    auto erasedNew = storeDrawing("new", "-1", UGCStatusDeleted);
    m_panel->updatePenDrawing(erasedNew);
    EXPECT_EQ(localIDs(page("7")), (std::vector<std::string> { "line", "answer" }));

    // A learner's drawing: marked deleted, moved to the end, sent.
    auto erasedLearner = storeDrawing("line", "77", UGCStatusDeleted);
    m_panel->updatePenDrawing(erasedLearner);
    EXPECT_EQ(localIDs(page("7")), (std::vector<std::string> { "answer", "line" }));
    EXPECT_EQ(page("7").back(), erasedLearner);
    EXPECT_EQ(m_panel->getAnotationToSave(), (TeacherReviewRecordList { erasedLearner }));
    // Deleted drawings still come back from the page query; the page still has an answer.
    EXPECT_EQ(m_panel->getPenToolUGCForPageIdentifier("7").size(), 1u);
    EXPECT_TRUE(m_panel->doesCurrentPageHaveActiveUGC());
}

TEST_F(TeacherReviewStoreTest, ChangedAnswersAndDrawingsFromOtherPages)
{
    auto changed = storeAnswer("answer", "90", UGCStatusNew, 501, "y");
    m_panel->updateFIBData(changed);
    EXPECT_EQ(page("7").back(), changed);
    EXPECT_EQ(changed->status, UGCStatusUpdated);

    auto unsent = storeAnswer("unsent", "", UGCStatusNew, 503);
    m_panel->studentPageUGCDictionary->at("7").push_back(unsent);
    m_panel->updateFIBData(storeAnswer("unsent", "", UGCStatusNew, 503));
    EXPECT_EQ(std::count(page("7").begin(), page("7").end(), unsent), 0);

    // The earlier copy lies on page 8: the edit lands on the page in use, 8 keeps its copy.
    auto moved = storeAnswer("other", "91", UGCStatusNew, 502);
    m_panel->updateFIBData(moved);
    EXPECT_EQ(page("8").size(), 1u);
    EXPECT_EQ(page("7").back(), moved);

    // No page in use, or a page without work: nothing is recorded.
    m_panel->SelectedPageIdentifier = "99";
    m_panel->addPenDrawing(storeDrawing("late", "-1", UGCStatusNew));
    m_panel->SelectedPageIdentifier.reset();
    m_panel->addPenDrawing(storeDrawing("late", "-1", UGCStatusNew));
    EXPECT_EQ(m_panel->studentPageUGCDictionary->size(), 2u);
}

TEST_F(TeacherReviewStoreTest, SaveSetRulesAndEachRecordOnce)
{
    struct Case {
        const char* name;
        std::shared_ptr<SDKUGCVO> record;
        bool sent;
    };
    const Case cases[] = {
        { "new drawing", storeDrawing("a", "-1", UGCStatusNew), true },
        { "changed unsent drawing", storeDrawing("b", "", UGCStatusUpdated), true },
        { "erased unsent drawing", storeDrawing("c", "-1", UGCStatusDeleted), false },
        { "known drawing changed", storeDrawing("d", "12", UGCStatusUpdated), false },
        { "known drawing erased", storeDrawing("e", "12", UGCStatusDeleted), true },
        { "answer as handed in", storeAnswer("f", "13", UGCStatusNew, 1), false },
        { "answer changed", storeAnswer("g", "13", UGCStatusUpdated, 1), true },
        { "answer cleared", storeAnswer("h", "13", UGCStatusDeleted, 1), true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto panel = StorePanel::create();
        panel->studentPageUGCDictionary = TeacherReviewPageUGC { { "1", { c.record } } };
        EXPECT_EQ(panel->getAnotationToSave().size(), c.sent ? 1u : 0u);
    }

    // Added twice, or listed by two pages: one upload.
    auto line = storeDrawing("twice", "-1", UGCStatusNew);
    m_panel->addPenDrawing(line);
    m_panel->addPenDrawing(line);
    m_panel->studentPageUGCDictionary->at("8").push_back(line);
    EXPECT_EQ(std::count(page("7").begin(), page("7").end(), line), 2);
    EXPECT_EQ(m_panel->getAnotationToSave(), (TeacherReviewRecordList { m_newLine, line }));
}

TEST_F(TeacherReviewStoreTest, ASavedSetIsNotSentAgainUntilItChanges)
{
    auto erased = storeDrawing("line", "77", UGCStatusDeleted);
    m_panel->updatePenDrawing(erased);
    m_panel->addPenDrawing(m_newLine);
    m_panel->updateFIBData(storeAnswer("answer", "90", UGCStatusNew, 501, "changed"));
    auto saved = m_panel->getAnotationToSave();
    ASSERT_EQ(saved.size(), 3u);

    m_panel->didSaveAnotations(saved);
    EXPECT_TRUE(m_panel->getAnotationToSave().empty());
    EXPECT_EQ(std::count(page("7").begin(), page("7").end(), erased), 0) << "the erased drawing is gone";

    // A later edit of a saved record sends it again.
    m_panel->clearAllFIBsForPageID("7");
    auto again = m_panel->getAnotationToSave();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0]->localID, "answer");
}

TEST_F(TeacherReviewStoreTest, ClearingAndAvailability)
{
    EXPECT_TRUE(m_panel->isEditingAllowedForLinkID(502)) << "an answer on another page";
    m_panel->clearAllFIBsForPageID("7");
    EXPECT_EQ(m_answer->status, UGCStatusDeleted);
    EXPECT_EQ(m_answer->text, "");
    EXPECT_EQ(m_answer->teacherComment, "");
    EXPECT_EQ(page("7").size(), 3u) << "nothing leaves its list";
    EXPECT_TRUE(m_panel->getFIBUGCForPageIdentifier("7").empty());
    EXPECT_TRUE(m_panel->isFIBsAndPentoolAvailableOnPageID("7")) << "the drawings are left";
    EXPECT_TRUE(m_panel->isEditingAllowedForLinkID(501)) << "a cleared answer still counts";

    m_panel->clearAllPenDrawings();
    EXPECT_FALSE(m_panel->isFIBsAndPentoolAvailableOnPageID("7"));
    EXPECT_FALSE(m_panel->doesCurrentPageHaveActiveUGC());
    EXPECT_TRUE(m_panel->isFIBsAndPentoolAvailable()) << "page 8's answer";

    m_otherAnswer->text = " \n\t";
    EXPECT_FALSE(m_panel->isFIBsAndPentoolAvailable()) << "blank text is nothing to clear";
    m_panel->clearAllFIBs();
    EXPECT_EQ(m_otherAnswer->status, UGCStatusDeleted);

    // The page queries move the page in use, even to a page without work.
    m_panel->getPenToolUGCForPageIdentifier("42");
    EXPECT_EQ(*m_panel->SelectedPageIdentifier, "42");
    EXPECT_FALSE(m_panel->isFIBsAndPentoolAvailableOnPageID("42"));

    auto empty = StorePanel::create();
    EXPECT_TRUE(empty->getAnotationToSave().empty());
    EXPECT_FALSE(empty->isFIBsAndPentoolAvailable());
    EXPECT_FALSE(empty->doesCurrentPageHaveActiveUGC());
    EXPECT_FALSE(empty->getSDKFIBVOForLinkID(501));
}

TEST_F(TeacherReviewStoreTest, LookupsFindTheFirstMatchOverAllPages)
{
    EXPECT_EQ(m_panel->getSDKFIBVOWithUgcId("91"), m_otherAnswer);
    EXPECT_EQ(m_panel->getSDKFIBVOForLinkID(501), m_answer);
    EXPECT_FALSE(m_panel->getSDKFIBVOWithUgcId("9"));
    EXPECT_FALSE(m_panel->isEditingAllowedForLinkID(0)) << "no link";
}

// MARK: - Page rules

base::Value workPage(std::optional<int64_t> pageId, const std::string& folio, std::vector<int> types)
{
    base::Value::List items;
    for (int type : types)
        items.push_back(base::Value::Dictionary { { "type", type }, { "folioID", folio } });
    base::Value::Dictionary page { { "folioID", folio }, { "ugcList", std::move(items) } };
    if (pageId)
        page.set("pageId", *pageId);
    return base::Value(std::move(page));
}

TEST(TeacherReviewPagesTest, PageAndFolioKeysOfALearnersWork)
{
    base::Value pages = base::Value::List {
        workPage(7, "4,5", { 3, 5 }),
        workPage(std::nullopt, "iv", { 7 }),
        workPage(100, "10", { 3 }),
        workPage(9, "2", {}),
        base::Value::Dictionary { { "ugcList", base::Value::List { base::Value::Dictionary { { "type", 3 } } } } },
    };
    auto work = buildTeacherReviewLearnerWork(pages, nullptr, [](const std::string& folio) {
        return folio == "iv" ? std::string("4") : folio;
    });
    EXPECT_EQ(work.pageArray, (std::vector<std::string> { "4", "7", "100" }));
    ASSERT_EQ(work.pages.at("7").size(), 2u);
    EXPECT_TRUE(std::dynamic_pointer_cast<SDKPentoolVO>(work.pages.at("7")[0]));
    EXPECT_TRUE(std::dynamic_pointer_cast<SDKFIBVO>(work.pages.at("7")[1]));
    EXPECT_TRUE(std::dynamic_pointer_cast<SDKFIBVO>(work.pages.at("4")[0])) << "a drop-down answer";
    EXPECT_EQ(work.folioPages.at("iv"), "4");
    EXPECT_EQ(work.folioPages.at("4,5"), "7");
    EXPECT_FALSE(work.folioPages.contains("2")) << "a page without items adds nothing";

    EXPECT_EQ(sortedTeacherReviewPageKeys({ "10", "9", "100" }), (std::vector<std::string> { "9", "10", "100" }));
    EXPECT_EQ(sortedTeacherReviewFolioKeys({ "4,5", "2", "10" }), (std::vector<std::string> { "2", "5", "10" }));
    EXPECT_TRUE(buildTeacherReviewLearnerWork(base::Value("broken"), nullptr, {}).pages.empty());
}

TEST(TeacherReviewPagesTest, PageButtonsAgainstTheLabel)
{
    struct Case {
        const char* name;
        std::optional<std::string> label;
        std::vector<std::string> folios;
        size_t shownPages;
        TeacherReviewPageButtons expected;
    };
    const Case cases[] = {
        { "middle", "Page 3", { "1", "3", "5" }, 1, { true, true } },
        { "first", "Page 1", { "1", "3", "5" }, 1, { false, true } },
        { "last", "Page 5", { "1", "3", "5" }, 1, { true, false } },
        { "page without work", "Page 2", { "1", "3", "5" }, 1, { true, true } },
        { "spread, more after", "Page 3, 4", { "1", "3", "5", "7" }, 2, { true, true } },
        { "spread, second to last", "Page 3, 4", { "1", "3", "5" }, 2, { true, false } },
        { "spread shows every folio", "Page 3, 4", { "3", "4" }, 2, { false, false } },
        { "one folio", "Page 9", { "3" }, 1, { false, false } },
        { "no work", "Page 3", {}, 1, { false, false } },
        { "no label", std::nullopt, { "1", "3" }, 1, { true, true } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(teacherReviewPageButtons(c.label, "Page", c.folios, c.shownPages), c.expected);
    }
    EXPECT_EQ(teacherReviewPageLabelText("Page", { "3" }), "Page 3");
    EXPECT_EQ(teacherReviewPageLabelText("Page", { "3", "4" }), "Page 3, 4");
}

TEST(TeacherReviewPagesTest, PageButtonTargets)
{
    const std::vector<std::string> pages { "4", "7", "100" };
    struct Case {
        const char* name;
        int tag;
        std::vector<std::string> active;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        { "next from work", 8, { "4" }, "7" },
        { "previous from work", 9, { "7" }, "4" },
        { "next from the last", 8, { "100" }, std::nullopt },
        { "previous from the first", 9, { "4" }, std::nullopt },
        { "next from a page without work", 8, { "50" }, "4" },
        { "previous from a page without work", 9, { "50" }, std::nullopt },
        { "next from a spread", 8, { "6", "7" }, "100" },
        { "nothing on screen", 8, {}, std::nullopt },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(teacherReviewPageButtonTarget(c.tag, pages, c.active), c.expected);
    }
}

} // namespace
} // namespace lectoro
