#pragma once

// Teacher review over the companion framework itself: the in-process service holds a
// class of the sample page book (teacher Tess, learners Ada and Ben); Ada can submit work
// from her own device, and a teacher opens the sample book.

#include "reader/CompanionEndToEndSupport.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/annotations/pen/ResetAllViewController.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/readersdk/PenToolController.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewClassListViewController.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewStudentListTableViewCell.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewViewController.h"
#include "companion/Framework.h"
#include "companion/service/InProcessService.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/sync/DataSyncingManager.h"
#include "companion/sync/RecordingSyncDelegate.h"
#include "companion/sync/StoreSyncAdapter.h"
#include "platform/base/Dispatch.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/Label.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/NavigationController.h"

namespace lectoro::reviewe2e {

inline constexpr int64_t bookID = 1001;
inline constexpr int64_t teacherID = 9000000001;
inline constexpr int64_t adaID = 9000000002;
inline constexpr int64_t benID = 9000000003;

// The learner draws on page 106 (folio "4") of her own copy (and answers its first field)
// and submits it to the framework's in-process service from her own device.
inline void submitWork(companion::Framework& framework, int64_t learnerID, bool withAnswer = false)
{
    auto opened = companion::SqliteDatabaseManager::openInMemory();
    ASSERT_TRUE(opened.ok());
    auto store = opened.value();
    auto delegate = std::make_shared<companiontest::RecordingSyncDelegate>();
    auto client = companion::DataSyncingManager::create(
        "https://service", "client", framework.inProcessService(), std::make_shared<companion::StoreSyncAdapter>(store));
    client->setDelegate(delegate);
    const std::string token = "token-" + std::to_string(learnerID);
    auto settleWork = [] {
        for (int i = 0; i < 3; ++i) {
            base::waitForBackgroundWork();
            base::RunLoop::main().advanceBy(1.0 / 3);
        }
    };
    client->fetchUGCOperationForBookID(bookID, learnerID, delegate, token, "1.0");
    settleWork();
    auto drawing = std::make_shared<SDKPentoolVO>();
    drawing->pageIdentifier = "106";
    drawing->displayNum = "4";
    drawing->penColor = "#82F675";
    drawing->points = { { 1, 2 }, { 3, 4 } };
    store->savePentoolDrawing(drawing, std::to_string(bookID), learnerID);
    if (withAnswer) {
        auto answer = std::make_shared<SDKFIBVO>();
        answer->pageIdentifier = "106";
        answer->displayNum = "4";
        answer->linkID = 501;
        answer->text = "first try";
        store->saveFIB(answer, std::to_string(bookID), learnerID);
    }
    client->submitAnotationForBookID(bookID, learnerID, delegate, token);
    settleWork();
    ASSERT_FALSE(delegate->lines().empty());
    EXPECT_EQ(delegate->lines().back(), "didSubmitedAnotationSuccessfully");
}

class TeacherReviewEndToEndTest : public testing::CompanionEndToEndTest {
protected:
    void SetUp() override
    {
        CompanionEndToEndTest::SetUp();
        inProcessService().setClassInfo(bookID,
            base::Value::List { base::Value::Dictionary {
                { "classId", "class-1" },
                { "classTitle", "Biology" },
                { "teachers", base::Value::List { testing::classMember(teacherID, "Tess", "Teach") } },
                { "learners",
                    base::Value::List {
                        testing::classMember(adaID, "Ada", "Fennick"), testing::classMember(benID, "Ben", "Ostrowe") } },
            } });
    }

    static void settle(double seconds = 1)
    {
        for (int i = 0; i < 3; ++i) {
            base::waitForBackgroundWork();
            base::RunLoop::main().advanceBy(seconds / 3);
        }
    }

    // Ada draws on page 106 (folio "4") of her own copy and submits it.
    void adaSubmitsWork(bool withAnswer = false) { submitWork(*m_companion, adaID, withAnswer); }

    // The teacher opens the book from a school's host: it hands its own feature switches
    // (review on, as a fresh model has it) and says the teacher has a class with this book.
    std::shared_ptr<ReaderViewController> launchAsTeacher()
    {
        auto teacher = makeUser(std::to_string(teacherID), "token-teacher");
        teacher->role = "TEACHER";
        teacher->email = "tess@school.example";
        m_launcher->launchBook(samplePageBook(std::to_string(bookID)), teacher, serviceConfiguration(),
            std::make_shared<MVReaderSettingModel>(), true);
        settle(2);
        return m_launcher->reader();
    }

    template <typename T> std::shared_ptr<T> presentedBy(ReaderViewController& reader)
    {
        auto navigation = std::dynamic_pointer_cast<ui::NavigationController>(reader.presentedViewController());
        return navigation ? std::dynamic_pointer_cast<T>(navigation->rootViewController()) : nullptr;
    }

    // The teacher taps the review item of the reader's own bars (behind "more" on a phone's
    // full row). What a first opening lays over the reader (the help overlay, the read-aloud
    // offer) is closed first, as the teacher would.
    ::testing::AssertionResult tapReviewItem(ReaderViewController& reader)
    {
        testing::closeHelpIfShown(reader);
        testing::closeOfferedReadAloud(reader);
        auto item = mainBarItem(reader, PlayerItemTeacherReview);
        if (!item)
            return ::testing::AssertionFailure() << "the reader's bars offer no review item";
        auto tapped = uitest::tap(*item);
        uitest::completePresentations();
        return tapped;
    }

    // The teacher taps the review item, picks the class, waits for the learners' work and
    // opens the first learner: the panel, or null when a step did not come.
    std::shared_ptr<TeacherReviewViewController> reviewFirstLearner(ReaderViewController& reader)
    {
        if (!tapReviewItem(reader))
            return nullptr;
        auto picker = presentedBy<TeacherReviewClassListViewController>(reader);
        if (!picker || !uitest::tapRow(*picker->classListTableView(), { 0, 0 }))
            return nullptr;
        uitest::completePresentations();
        auto panel = presentedBy<TeacherReviewViewController>(reader);
        if (!panel)
            return nullptr;
        settle(4);
        if (!uitest::tapRow(*panel->studentListTableView(), { 0, 0 }))
            return nullptr;
        uitest::completePresentations();
        settle();
        return panel;
    }
};

} // namespace lectoro::reviewe2e
