// Teacher review against the in-process service: classes with their learners, each
// learner's submitted work, the teacher's review and the report request.

#include "companion/sync/ClassroomFixture.h"

#include "LectoroSDKWithReader/readersdk/LectoroServiceRetry.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "companion/service/ServiceErrors.h"
#include "platform/testing/Settle.h"

namespace {

using companion::ServiceAnswer;
using companiontest::ClassroomTest;
using companiontest::Device;

class TeacherReviewServiceTest : public ClassroomTest {
protected:
    // A learner draws on `page` and answers two markups there, then submits.
    void doWork(Device& learner, const std::string& page, const std::string& answer)
    {
        auto drawing = std::make_shared<lectoro::SDKPentoolVO>();
        drawing->pageIdentifier = page;
        drawing->displayNum = "p" + page;
        drawing->penColor = "#82F675";
        drawing->points = { { 1, 2 }, { 3, 4 } };
        learner.store->savePentoolDrawing(drawing, book(), learner.userID);
        auto fillIn = std::make_shared<lectoro::SDKFIBVO>();
        fillIn->pageIdentifier = page;
        fillIn->displayNum = "p" + page;
        fillIn->linkID = 501;
        fillIn->text = answer;
        learner.store->saveFIB(fillIn, book(), learner.userID);
        auto dropDown = std::make_shared<lectoro::SDKFIBVO>();
        dropDown->pageIdentifier = page;
        dropDown->displayNum = "p" + page;
        dropDown->linkID = 502;
        dropDown->isDropDown = true;
        dropDown->text = "option B";
        learner.store->saveFIB(dropDown, book(), learner.userID);
        // Not part of the submission: a highlight.
        auto highlight = std::make_shared<lectoro::SDKHighlightVO>();
        highlight->pageIdentifier = page;
        learner.store->saveHighlight(highlight, book(), learner.userID);

        learner.client->submitAnotationForBookID(bookID, learner.userID, learner.delegate, learner.token);
        uitest::runUntilSettled();
        EXPECT_EQ(lastLine(learner), "didSubmitedAnotationSuccessfully");
    }

    // The teacher's fetch of one learner's work, as the reader makes it.
    base::Value fetchWork(Device& teacher, int64_t learnerID)
    {
        std::optional<base::Value> answer;
        auto request = serviceClient()->fetchStudentAnnotations(teacher.token, book(), std::to_string(learnerID), "v1",
            [&](const base::Value& response) { answer = response; },
            [](const base::Error& error) { ADD_FAILURE() << error.localizedDescription(); });
        request->start();
        uitest::runUntilSettled();
        return answer.value_or(base::Value());
    }

    // The UGC items of the answer's pages, by type.
    static std::map<int64_t, std::vector<base::Value>> itemsByType(const base::Value& answer)
    {
        std::map<int64_t, std::vector<base::Value>> items;
        for (const auto& page : *answer["pageUgc"].asList()) {
            for (const auto& item : *page["ugcList"].asList())
                items[item["type"].integerValue()].push_back(item);
        }
        return items;
    }
};

TEST_F(TeacherReviewServiceTest, TheTeacherSeesTheClassWithItsLearners)
{
    Device& teacher = device(teacherID);
    fetch(teacher);
    auto classes = teacher.store->bookClassInfoArrayForBookID(book(), teacherID);
    ASSERT_EQ(classes.size(), 1u);
    EXPECT_EQ(classes[0]->classTitle, "Biology");
    EXPECT_EQ(classes[0]->roleID, "TEACHER");
    EXPECT_EQ(classes[0]->userId, teacherID);
    ASSERT_EQ(classes[0]->learners.count(), 3u);
    EXPECT_EQ(*classes[0]->learners.at(2)["user"]["id"].asInteger(), caraID);
}

TEST_F(TeacherReviewServiceTest, EachLearnersWorkIsFetchedOnItsOwn)
{
    Device& teacher = device(teacherID);
    fetch(teacher);
    const std::pair<int64_t, const char*> learners[] = { { adaID, "mitochondria" }, { benID, "ribosome" },
        { caraID, "nucleus" } };
    int page = 10;
    for (const auto& [learnerID, answer] : learners) {
        Device& learner = device(learnerID);
        fetch(learner);
        doWork(learner, std::to_string(page++), answer);
    }

    page = 10;
    for (const auto& [learnerID, answer] : learners) {
        SCOPED_TRACE(answer);
        base::Value work = fetchWork(teacher, learnerID);
        ASSERT_EQ(work["pageUgc"].count(), 1u);
        const base::Value& onlyPage = work["pageUgc"].at(0);
        EXPECT_EQ(*onlyPage["pageId"].asInteger(), page++);
        EXPECT_EQ(*work["learnerId"].asInteger(), learnerID);
        auto items = itemsByType(work);
        ASSERT_EQ(items[3].size(), 1u) << "one pen drawing";
        EXPECT_EQ(*items[3][0]["penColor"].asString(), "#82F675");
        ASSERT_EQ(items[5].size(), 1u) << "one fill-in answer";
        EXPECT_EQ(*items[5][0]["text"].asString(), answer);
        ASSERT_EQ(items[7].size(), 1u) << "one drop-down answer";
        EXPECT_TRUE(items[1].empty()) << "highlights are not submitted work";
    }
}

TEST_F(TeacherReviewServiceTest, ASavedReviewIsWhatTheNextFetchAnswersAndWhatTheLearnerSees)
{
    Device& teacher = device(teacherID);
    Device& ada = device(adaID);
    fetch(teacher);
    fetch(ada);
    doWork(ada, "7", "golgi");
    auto items = itemsByType(fetchWork(teacher, adaID));
    ASSERT_EQ(items[5].size(), 1u);
    ASSERT_EQ(items[3].size(), 1u);

    // The teacher comments on the answer, erases the drawing and draws one of her own.
    auto answer = lectoro::SDKFIBVO::fromUGCDictionary(items[5][0]);
    answer->teacherComment = "close, but no";
    answer->review = 1;
    answer->status = lectoro::UGCStatusUpdated;
    auto erased = lectoro::SDKPentoolVO::fromUGCDictionary(items[3][0]);
    erased->status = lectoro::UGCStatusDeleted;
    lectoro::SDKPentoolVO mark;
    mark.localID = "teacher-mark-1";
    mark.pageIdentifier = "7";
    mark.displayNum = "p7";
    mark.isTeacherReview = true;
    mark.penColor = "#FF0000";
    base::Value review = base::Value::List { answer->toUGCDictionary(), erased->toUGCDictionary(), mark.toUGCDictionary() };

    teacher.client->saveTeacherAnnotationsForAnnotation(review, std::to_string(adaID), bookID, teacher.delegate,
        teacher.token);
    uitest::runUntilSettled();
    EXPECT_EQ(lastLine(teacher), "didSavedStudentAnotationSuccessfully");

    auto reviewed = itemsByType(fetchWork(teacher, adaID));
    ASSERT_EQ(reviewed[5].size(), 1u);
    EXPECT_EQ(*reviewed[5][0]["teacherComment"].asString(), "close, but no");
    ASSERT_EQ(reviewed[3].size(), 1u) << "the learner's drawing is gone, the teacher's is there";
    EXPECT_TRUE(*reviewed[3][0]["isTeacherReview"].asBool());
    EXPECT_NE(*reviewed[3][0]["ugcID"].asString(), "-1");

    // The learner's next fetch brings the review home.
    fetch(ada);
    auto openBook = std::make_shared<lectoro::PXBookVO>();
    openBook->bookID = book();
    ada.store->setBook(openBook);
    auto stored = ada.store->getFIBObjectWithLinkId(501, adaID);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->teacherComment, "close, but no");
    auto drawings = ada.store->pentoolDrawingForPageID("7", "p7", book(), adaID);
    ASSERT_EQ(drawings.size(), 1u);
    EXPECT_TRUE(drawings[0]->isTeacherReview);
}

TEST_F(TeacherReviewServiceTest, ReviewRequestsWithUnreadableIdsAreRefused)
{
    Device& teacher = device(teacherID);
    fetch(teacher);
    teacher.client->saveTeacherAnnotationsForAnnotation(base::Value::List {}, "ada", bookID, teacher.delegate,
        teacher.token);
    uitest::runUntilSettled();
    EXPECT_EQ(lastLine(teacher).rfind("didFailedToSaveStudentAnotationWithError:400", 0), 0u) << lastLine(teacher);

    std::optional<base::Error> failure;
    serviceClient()
        ->fetchStudentAnnotations(teacher.token, book(), "12abc", "v1", [](const base::Value&) { ADD_FAILURE(); },
            [&](const base::Error& error) { failure = error; })
        ->start();
    uitest::runUntilSettled();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->code, 400);
}

TEST_F(TeacherReviewServiceTest, TheMarkupReportNeedsSubmittedWork)
{
    Device& teacher = device(teacherID);
    fetch(teacher);
    auto request = [&](const std::string& token, base::Value userIds) {
        std::optional<base::Value> success;
        std::optional<base::Error> failure;
        serviceClient()->fetchStudentMarkupReport(token, book(), "class-1", base::Value::List { "ch1" }, "tess@school.example",
            std::move(userIds), [&](const base::Value& answer) { success = answer; },
            [&](const base::Error& error) { failure = error; });
        uitest::runUntilSettled();
        return std::make_pair(success, failure);
    };

    auto [none, noKey] = request(teacher.token, base::Value::List { adaID, benID });
    ASSERT_TRUE(noKey);
    EXPECT_NE(noKey->userInfo["responseMsg"].asString()->find("The specified key does not exist."), std::string::npos);

    Device& ada = device(adaID);
    fetch(ada);
    doWork(ada, "3", "cytoplasm");
    auto [sent, sentFailure] = request(teacher.token, base::Value::List { adaID, benID });
    ASSERT_TRUE(sent) << sentFailure->localizedDescription();
    EXPECT_EQ(service->reportRequests().count(), 1u);

    auto [unread, badIds] = request(teacher.token, base::Value::List { "ada" });
    ASSERT_TRUE(badIds);
    EXPECT_EQ(badIds->code, 400);

    // The report service answers an expired session with 401.
    service->expireToken(teacher.token);
    auto [expired, unauthorized] = request(teacher.token, base::Value::List { adaID });
    ASSERT_TRUE(unauthorized);
    EXPECT_EQ(unauthorized->code, companion::unauthorizedCode);
}

TEST_F(TeacherReviewServiceTest, ASubmissionUploadsFirstAndFailsWithTheUpload)
{
    Device& ada = device(adaID);
    fetch(ada);
    auto fillIn = std::make_shared<lectoro::SDKFIBVO>();
    fillIn->pageIdentifier = "4";
    fillIn->linkID = 9;
    fillIn->text = "osmosis";
    ada.store->saveFIB(fillIn, book(), adaID);

    service->scriptNext(companion::op::ugcSave, ServiceAnswer::offline());
    ada.client->submitAnotationForBookID(bookID, adaID, ada.delegate, ada.token);
    uitest::runUntilSettled();
    EXPECT_EQ(lastLine(ada), "didFailedToSubmitAnotationWithError:-1009");
    EXPECT_EQ(service->submissions().count(), 0u);

    ada.client->submitAnotationForBookID(bookID, adaID, ada.delegate, ada.token);
    uitest::runUntilSettled();
    EXPECT_EQ(lastLine(ada), "didSubmitedAnotationSuccessfully");
    ASSERT_EQ(service->submittedWorkFor(adaID, bookID).count(), 1u);
    EXPECT_EQ(*service->submittedWorkFor(adaID, bookID).at(0)["text"].asString(), "osmosis");
}

} // namespace
