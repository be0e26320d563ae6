#pragma once

// Teacher review inside a reader with the fake renderer and service: the class picker
// with the book's classes, a chosen class's panel, each learner's fetch answered by the
// test, and a learner opened for review.

#include "reader/bars/BarsTestSupport.h"
#include "reader/shell/ShellTestSupport.h"
#include "teacherreview/TeacherReviewTestSupport.h"

#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewClassListViewController.h"
#include "companion/service/ServiceErrors.h"
#include "companion/service/Transport.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Presentation.h"

#include <algorithm>

namespace lectoro::reviewtest {

using companion::ServiceAnswer;

inline std::shared_ptr<SDKBookClassInfoVO> makeClass(const std::string& title, base::Value::List learners)
{
    auto info = std::make_shared<SDKBookClassInfoVO>();
    info->classId = "class-" + title;
    info->classTitle = title;
    info->learners = std::move(learners);
    return info;
}

inline RendererPage page(int64_t id)
{
    RendererPage result;
    result.pageID = id;
    result.fileIndex = id;
    result.displayNum = std::to_string(id);
    return result;
}

// The top-most alert's title and message, answered so the next one can show; "none"
// twice when no alert is up.
inline std::pair<std::string, std::string> takeAlert()
{
    auto alert = uitest::topmostAlert();
    if (!alert)
        return { "none", "none" };
    std::pair<std::string, std::string> shown { alert->alertTitle().value_or(""), alert->message().value_or("") };
    uitest::tapActionAtIndex(0);
    uitest::completePresentations();
    return shown;
}

class ReaderTeacherReviewTest : public barstest::BarsTest {
protected:
    void SetUp() override
    {
        BarsTest::SetUp();
        m_delegate = std::make_shared<shelltest::RecordingReaderDelegate>();
        m_reader->setDelegate(m_delegate);
        context().currentBook = std::make_shared<PXBookVO>();
        m_renderer->setActivePages({ page(10), page(11) });
        framework().store()->saveBookClassInfo("42", 7,
            { makeClass("Biology",
                  { learner(int64_t { 9000000002 }, "Ada", "Fennick", "https://pics/ada.png"),
                      learner(int64_t { 9000000003 }, "Ben", "Ostrowe") }),
                makeClass("Chemistry", {}) });
    }

    void TearDown() override
    {
        base::waitForBackgroundWork();
        BarsTest::TearDown();
    }

    ReaderTeacherReview& review() { return m_reader->teacherReview(); }

    static void settle()
    {
        for (int i = 0; i < 3; ++i) {
            base::waitForBackgroundWork();
            base::RunLoop::main().runUntilIdle();
        }
    }

    template <typename T> std::shared_ptr<T> presented()
    {
        auto navigation = std::dynamic_pointer_cast<ui::NavigationController>(m_reader->presentedViewController());
        return navigation ? std::dynamic_pointer_cast<T>(navigation->rootViewController()) : nullptr;
    }

    // The teacher taps the review item of the reader's bar.
    void tapReviewItem()
    {
        auto bar = barstest::makeBar(TopBar);
        bar->setDelegate(m_reader->playerActionDelegate());
        barstest::addItem(*bar, PlayerItemTeacherReview);
        bar->tapItemWithTag(PlayerItemTeacherReview);
        uitest::completePresentations();
    }

    std::shared_ptr<TeacherReviewViewController> openClass(int row)
    {
        tapReviewItem();
        auto picker = presented<TeacherReviewClassListViewController>();
        EXPECT_TRUE(picker);
        if (!picker)
            return nullptr;
        uitest::tapRow(*picker->classListTableView(), { 0, row });
        uitest::completePresentations();
        settle();
        return presented<TeacherReviewViewController>();
    }

    std::vector<std::string> pendingFetches()
    {
        std::vector<std::string> learners;
        for (size_t i = 0; i < service().pendingCount(); ++i) {
            auto request = service().pendingRequest(i);
            if (request && request->operation == companion::op::studentAnnotationsFetch)
                learners.push_back(request->body["learnerId"].asString().value_or("?") + "@" + request->userToken);
        }
        return learners;
    }

    bool answerFetch(const std::string& learnerID, const ServiceAnswer& answer)
    {
        for (size_t i = 0; i < service().pendingCount(); ++i) {
            auto request = service().pendingRequest(i);
            if (request && request->operation == companion::op::studentAnnotationsFetch
                && request->body["learnerId"].asString() == learnerID) {
                bool answered = service().answer(i, answer);
                settle();
                return answered;
            }
        }
        return false;
    }

    static base::Value work(base::Value::List pages)
    {
        return base::Value::Dictionary { { "pageUgc", std::move(pages) } };
    }

    // A class opened, Ada's work fetched and her row tapped.
    std::shared_ptr<TeacherReviewViewController> reviewAda()
    {
        auto panel = openClass(0);
        if (!panel)
            return nullptr;
        answerFetch("9000000002", ServiceAnswer::success(work({ pageWithWork(7) })));
        answerFetch("9000000003", ServiceAnswer::success(work({})));
        base::RunLoop::main().advanceBy(3);
        uitest::tapRow(*panel->studentListTableView(), { 0, 0 });
        uitest::completePresentations();
        settle();
        return panel;
    }

    size_t requestsOf(const std::string& operation)
    {
        auto requests = service().requests();
        return static_cast<size_t>(std::count_if(requests.begin(), requests.end(),
            [&](const auto& request) { return request.operation == operation; }));
    }

    // Ada's work: page 7 with a drawing and an answer the service already knows; Ben has
    // work on page 9 when asked.
    std::shared_ptr<TeacherReviewViewController> reviewAdaWithKnownWork(bool benHasWork = false)
    {
        auto panel = openClass(0);
        if (!panel)
            return nullptr;
        base::Value::List items {
            base::Value::Dictionary { { "type", 3 }, { "folioID", "7" }, { "ugcID", "77" }, { "localID", "l-77" } },
            base::Value::Dictionary { { "type", 5 }, { "folioID", "7" }, { "ugcID", "78" }, { "localID", "l-78" },
                { "linkID", 501 }, { "text", "answer" } },
        };
        answerFetch("9000000002",
            ServiceAnswer::success(work({ base::Value::Dictionary {
                { "pageId", 7 }, { "folioID", "7" }, { "ugcList", std::move(items) } } })));
        answerFetch("9000000003",
            ServiceAnswer::success(work(benHasWork ? base::Value::List { pageWithWork(9) } : base::Value::List {})));
        base::RunLoop::main().advanceBy(3);
        uitest::tapRow(*panel->studentListTableView(), { 0, 0 });
        uitest::completePresentations();
        settle();
        return panel;
    }

    void answerEverything(const ServiceAnswer& answer)
    {
        for (int i = 0; i < 4 && service().pendingCount() > 0; ++i) {
            service().answerAll(answer);
            settle();
        }
    }

    std::shared_ptr<shelltest::RecordingReaderDelegate> m_delegate;
};

} // namespace lectoro::reviewtest
