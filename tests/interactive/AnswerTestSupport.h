#pragma once

// A reader stand-in, a hand-made page book, the fake renderer and the real store for the
// tests of answers, players and web content.

#include "platform/testing/Interaction.h"
#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/interactive/InteractiveReader.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/answers/AnswerReview.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/testing/FakeFramework.h"
#include "companion/testing/FakeRenderer.h"
#include "platform/ui/ViewController.h"
#include "reader/AnalyticsTestSupport.h"
#include "reader/ReaderTestSupport.h"

namespace lectoro::testing {

class AnswersNetwork : public ReachabilitySource {
public:
    std::optional<uint32_t> flags() override { return online ? ReachabilityFlags::Reachable : 0u; }
    bool start(std::function<void()>) override { return true; }
    void stop() override { }
    bool online = true;
};

class AnswersReader : public InteractiveReader {
public:
    std::shared_ptr<ui::ViewController> presentingController() override { return controller; }
    void moveTopAndBottomOffScreen() override { ++barsMoved; }
    void moveTopAndBottomOffScreenAnimated() override { ++barsMovedAnimated; }
    void showAlertWithTitle(const std::string& title, const std::string& message) override
    {
        alerts.push_back(title + "|" + message);
    }
    void singleTapOnPage() override { }
    void removeHighlightPopup() override { }
    void saveReadingSessionForLinkOpen() override { }
    int64_t getPageIDForDisplayNumber(const std::string&) override { return 0; }
    void stopAudioSyncIfAny() override { }
    void startAudioSyncForLink(std::shared_ptr<PXLinkVO>) override { }
    bool isBookDownloaded(const std::string&) override { return false; }
    void closeAndJumpToBook(const std::string&, const std::string&) override { }
    void updateClearAllFIBsButtonStatus() override { ++clearAllUpdates; }
    void showAlertForError(const base::Error& error, const std::string& title) override
    {
        alerts.push_back(title + "|error " + std::to_string(error.code));
    }
    void showSessionExpiredAlert() override { ++sessionExpired; }
    bool refreshUserToken(
        const std::string& expired, std::function<void(std::shared_ptr<LectoroUser>)> done) override
    {
        if (!canRefresh)
            return false;
        refreshedTokens.push_back(expired);
        auto user = LectoroUser::create();
        user->userID = "42";
        user->userToken = "token-" + std::to_string(refreshedTokens.size() + 1);
        base::RunLoop::main().post([done, user] { done(user); });
        return true;
    }
    std::weak_ptr<LectoroDataSyncingManagerDelegate> syncDelegate() override { return {}; }

    std::shared_ptr<ui::ViewController> controller = ui::ViewController::create();
    std::vector<std::string> alerts;
    int barsMoved = 0;
    int barsMovedAnimated = 0;
    int clearAllUpdates = 0;
    int sessionExpired = 0;
    bool canRefresh = false;
    std::vector<std::string> refreshedTokens;
};

// What teacher review would do with the answers it is handed.
class RecordingAnswerReview : public AnswerReview {
public:
    bool hasLearnerPanel() const override { return true; }
    std::vector<std::shared_ptr<SDKFIBVO>> getFIBUGCForPageIdentifier(const std::string&) override
    {
        return learnerAnswers;
    }
    void updateFIBData(std::shared_ptr<SDKFIBVO> fib) override { updated.push_back(fib); }
    std::shared_ptr<SDKFIBVO> getSDKFIBVOForLinkID(int64_t) override
    {
        return learnerAnswers.empty() ? nullptr : learnerAnswers.front();
    }
    void setSelectedFibArray(const std::vector<std::shared_ptr<SDKFIBVO>>& fibs) override { selected = fibs; }
    void drawTeacherReviewDropDownOnPageNumber(int64_t page) override
    {
        calls.push_back("dropDowns " + std::to_string(page));
    }
    void drawTeacherReviewFIBOnPageNumber(int64_t page) override
    {
        calls.push_back("fibs " + std::to_string(page));
    }
    void refreshTeacherReviewPage(int64_t page) override
    {
        calls.push_back("refresh " + std::to_string(page));
    }
    void showNoteForTeacherCommentWithFib(std::shared_ptr<SDKFIBVO> fib) override
    {
        calls.push_back("comment " + (fib ? fib->ugcID.str() : std::string("none")));
    }

    std::vector<std::shared_ptr<SDKFIBVO>> learnerAnswers;
    std::vector<std::shared_ptr<SDKFIBVO>> updated;
    std::vector<std::shared_ptr<SDKFIBVO>> selected;
    std::vector<std::string> calls;
};

class AnswersTest : public ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        m_analytics = std::make_shared<RecordingAnalyticsManager>();
        AnalyticsManager::setInstance(m_analytics);
        auto& network = LectoroNetworkManager::getInstance();
        m_previousNetwork = network.internetReachability();
        network.setInternetReachability(Reachability::reachabilityWithSource(m_network));
        m_book = std::make_shared<PXBookVO>();
        m_book->bookID = "77";
        m_book->path = m_storage.string();
        auto page = std::make_shared<PXPageVO>();
        page->pageID = 5;
        page->displayNum = "3";
        m_book->pages["5"] = page;
        m_renderer = companion::testing::FakeRenderer::create();
        m_renderer->view()->setFrame({ 0, 0, 768, 1024 });
        m_renderer->setActivePages({ RendererPage { 5, 0, "3", "", "", page } });
        m_store = framework().store();
        m_store->setBook(m_book);
        m_user = makeUser("42");
        m_user->role = "LEARNER";
        m_settings = std::make_shared<MVReaderSettingModel>();
        m_settings->setIsMathEditorEnabled(false);
        m_context.currentBook = m_book;
        m_context.bookPath = m_storage.string();
        m_context.bookID = 77;
        m_context.bookVersion = "v2";
        m_context.user = m_user;
        m_context.renderer = m_renderer;
        m_context.dbManager = m_store;
        m_context.settings = m_settings;
        m_context.analyticsHandler = std::make_shared<MVLectoroAnalyticsHandler>();
        // The reader on screen with the page under everything it shows, as when embedded.
        ui::Environment::current().setScreenSize({ 1024, 768 });
        uitest::showInWindow(m_reader.controller);
        m_reader.controller->view()->insertSubview(m_renderer->view(), 0);
        m_content = std::make_unique<ReaderInteractiveContent>(m_context, m_reader);
    }

    void TearDown() override
    {
        m_content.reset();
        LectoroNetworkManager::getInstance().setInternetReachability(m_previousNetwork);
        AnalyticsManager::setInstance(nullptr);
        ReaderTest::TearDown();
    }

    std::shared_ptr<PXLinkVO> addLink(int64_t id, int32_t type, ui::Rect box = { 100, 700, 200, 24 })
    {
        auto link = std::make_shared<PXLinkVO>();
        link->linkID = id;
        link->linkType = type;
        link->pageID = "5";
        link->folioNumber = "3";
        link->boxTansformedRect = box;
        link->transformedRect = box;
        link->xCoordinate = std::to_string(static_cast<int>(box.origin.x));
        link->yCoordinate = std::to_string(static_cast<int>(box.origin.y));
        m_book->pages["5"]->links[std::to_string(id)] = link;
        m_book->pages["5"]->linkOrder.push_back(link);
        m_book->links[std::to_string(id)] = link;
        return link;
    }

    std::shared_ptr<SDKFIBVO> storedAnswer(int64_t linkID)
    {
        return m_store->getFIBObjectWithLinkId(linkID, 42);
    }

    std::shared_ptr<RecordingAnalyticsManager> m_analytics;
    std::shared_ptr<AnswersNetwork> m_network = std::make_shared<AnswersNetwork>();
    std::shared_ptr<Reachability> m_previousNetwork;
    std::shared_ptr<PXBookVO> m_book;
    std::shared_ptr<companion::testing::FakeRenderer> m_renderer;
    std::shared_ptr<companion::SqliteDatabaseManager> m_store;
    std::shared_ptr<LectoroUser> m_user;
    std::shared_ptr<MVReaderSettingModel> m_settings;
    ReaderContext m_context;
    AnswersReader m_reader;
    std::unique_ptr<ReaderInteractiveContent> m_content;
};

} // namespace lectoro::testing
