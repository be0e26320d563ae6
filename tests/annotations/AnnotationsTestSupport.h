#pragma once

// The annotations subsystem on its own: a reader context with a theme, settings, a user
// whose id needs 64 bits, the fake renderer and the real SQLite store, and a host that
// writes down what the features ask of the reader.

#include "reader/AnalyticsTestSupport.h"
#include "reader/ReaderTestSupport.h"

#include "LectoroSDKWithReader/annotations/AnnotationsHost.h"
#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/PageAnnotationsDrawer.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderPageOverlays.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/testing/FakeRenderer.h"
#include "platform/base/Thread.h"
#include "platform/ui/ViewController.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <utility>

namespace lectoro::annotationstest {

class OnlineSwitch : public ReachabilitySource {
public:
    std::optional<uint32_t> flags() override { return online ? ReachabilityFlags::Reachable : 0u; }
    bool start(std::function<void()>) override { return true; }
    void stop() override { }
    bool online = true;
};

// The real store, with a note of the threads its highlight queries ran on.
class ThreadNotingStore final : public YSDBManager {
public:
    explicit ThreadNotingStore(std::shared_ptr<YSDBManager> inner)
        : m_inner(std::move(inner))
    {
    }

    // Whole-book highlight lists asked for.
    std::atomic<int> highlightListReads { 0 };

    std::vector<bool> highlightQueriesOnMainThread() const
    {
        std::lock_guard lock(m_mutex);
        return m_onMain;
    }

    std::vector<std::shared_ptr<SDKHighlightVO>> highlightForPageID(const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_onMain.push_back(base::isMainThread());
        }
        return m_inner->highlightForPageID(pageID, displayNumber, bookID, userID);
    }

    void setBook(std::shared_ptr<LectoroBookVO> a0) override { m_inner->setBook(a0); }
    base::Result<void> saveHighlight(const std::shared_ptr<SDKHighlightVO>& a0, const std::string& bookID, int64_t userID) override { return m_inner->saveHighlight(a0, bookID, userID); }
    base::Result<void> deleteHighlight(const std::shared_ptr<SDKHighlightVO>& a0, const std::string& bookID, int64_t userID) override { return m_inner->deleteHighlight(a0, bookID, userID); }
    std::vector<std::shared_ptr<SDKHighlightVO>> highlightBookID(const std::string& bookID, int64_t userID) override
    {
        ++highlightListReads;
        return m_inner->highlightBookID(bookID, userID);
    }
    SharedHighlightList sharedHighlightsOfBook(const std::string& bookID, int64_t userID) override
    {
        ++highlightListReads;
        return m_inner->sharedHighlightsOfBook(bookID, userID);
    }
    bool highlightColorsWereMigrated(const std::string& bookID, int64_t userID, const std::vector<std::string>& offered) override { return m_inner->highlightColorsWereMigrated(bookID, userID, offered); }
    void rememberHighlightColorMigration(const std::string& bookID, int64_t userID, const std::vector<std::string>& offered) override { m_inner->rememberHighlightColorMigration(bookID, userID, offered); }
    void forgetHighlightColorMigration(const std::string& bookID, int64_t userID) override { m_inner->forgetHighlightColorMigration(bookID, userID); }
    base::Result<void> updateAnsweredUGC(const std::string& ugcID, bool accepted, const std::string& userId) override { return m_inner->updateAnsweredUGC(ugcID, accepted, userId); }
    base::Result<void> saveBookmark(const std::shared_ptr<SDKBookmarkVO>& a0, const std::string& bookID, int64_t userID) override { return m_inner->saveBookmark(a0, bookID, userID); }
    base::Result<void> deleteBookmark(const std::shared_ptr<SDKBookmarkVO>& a0, const std::string& bookID, int64_t userID) override { return m_inner->deleteBookmark(a0, bookID, userID); }
    std::vector<std::shared_ptr<SDKBookmarkVO>> bookmarkForPageID(const std::string& pageID, const std::string& displayNumber, const std::string& bookID, int64_t userID) override { return m_inner->bookmarkForPageID(pageID, displayNumber, bookID, userID); }
    std::vector<std::shared_ptr<SDKBookmarkVO>> bookMarkBookID(const std::string& bookID, int64_t userID) override { return m_inner->bookMarkBookID(bookID, userID); }
    base::Result<void> savePentoolDrawing(const std::shared_ptr<SDKPentoolVO>& a0, const std::string& bookID, int64_t userID) override { return m_inner->savePentoolDrawing(a0, bookID, userID); }
    base::Result<void> deletePentoolDrawing(const std::shared_ptr<SDKPentoolVO>& a0, const std::string& bookID, int64_t userID) override { return m_inner->deletePentoolDrawing(a0, bookID, userID); }
    std::vector<std::shared_ptr<SDKPentoolVO>> pentoolDrawingForPageID(const std::string& pageID, const std::string& displayNumber, const std::string& bookID, int64_t userID) override
    {
        std::function<void()> gate;
        {
            std::lock_guard lock(m_mutex);
            m_penOnMain.push_back(base::isMainThread());
            gate = std::exchange(m_nextPenReadGate, nullptr);
        }
        // Read first, held back after: a read that finishes late hands over what it found.
        auto drawings = m_inner->pentoolDrawingForPageID(pageID, displayNumber, bookID, userID);
        if (gate)
            gate();
        return drawings;
    }
    std::vector<bool> penQueriesOnMainThread() const
    {
        std::lock_guard lock(m_mutex);
        return m_penOnMain;
    }
    // The next pen read waits in `gate` (on its own thread) before it answers.
    void holdNextPenRead(std::function<void()> gate)
    {
        std::lock_guard lock(m_mutex);
        m_nextPenReadGate = std::move(gate);
    }
    base::Result<void> saveTextAnnotation(const std::shared_ptr<SDKTextAnnotationVO>& a0, const std::string& bookID, int64_t userID) override { return m_inner->saveTextAnnotation(a0, bookID, userID); }
    base::Result<void> deleteTextAnnotation(const std::shared_ptr<SDKTextAnnotationVO>& a0, const std::string& bookID, int64_t userID) override { return m_inner->deleteTextAnnotation(a0, bookID, userID); }
    std::vector<std::shared_ptr<SDKTextAnnotationVO>> textAnnotationVOForPageID(const std::string& pageID, const std::string& displayNumber, const std::string& bookID, int64_t userID) override { return m_inner->textAnnotationVOForPageID(pageID, displayNumber, bookID, userID); }
    base::Result<void> saveFIB(const std::shared_ptr<SDKFIBVO>& a0, const std::string& bookID, int64_t userID) override { return m_inner->saveFIB(a0, bookID, userID); }
    base::Result<void> updateFIB(const std::shared_ptr<SDKFIBVO>& a0, const std::string& bookID, int64_t userID) override { return m_inner->updateFIB(a0, bookID, userID); }
    base::Result<void> deleteFIB(const std::shared_ptr<SDKFIBVO>& a0, const std::string& bookID, int64_t userID) override { return m_inner->deleteFIB(a0, bookID, userID); }
    std::shared_ptr<SDKFIBVO> getFIBObjectWithLinkId(int64_t linkID, int64_t userId) override { return m_inner->getFIBObjectWithLinkId(linkID, userId); }
    std::shared_ptr<SDKFIBVO> getEquationFIBObjectForText(const std::string& text, const PXLinkVO& link, int64_t userId) override { return m_inner->getEquationFIBObjectForText(text, link, userId); }
    bool isFIBsAvailableOnPageID(const std::string& pageID, const std::string& displayNumber, const std::string& bookID, int64_t userID, bool submitted) override { return m_inner->isFIBsAvailableOnPageID(pageID, displayNumber, bookID, userID, submitted); }
    base::Result<void> clearAllFIBsOnPageNumber(const std::string& pageID, const std::string& displayNumber, const std::string& bookID, int64_t userID, bool submitted) override { return m_inner->clearAllFIBsOnPageNumber(pageID, displayNumber, bookID, userID, submitted); }
    std::shared_ptr<SDKFIBVO> getSDKFIBVOFromUGCDictionary(const base::Value& a0) override { return m_inner->getSDKFIBVOFromUGCDictionary(a0); }
    std::shared_ptr<SDKPentoolVO> getSDKPenToolVOFromUGCDictionary(const base::Value& a0) override { return m_inner->getSDKPenToolVOFromUGCDictionary(a0); }
    bool isSubmitAnotationAllowedForBookID(const std::string& bookID, int64_t userID) override { return m_inner->isSubmitAnotationAllowedForBookID(bookID, userID); }
    bool isSubmitAnotationAllowedForFibForBookID(const std::string& bookID, int64_t userID) override { return m_inner->isSubmitAnotationAllowedForFibForBookID(bookID, userID); }
    base::Result<void> submitAnotationForBookID(const std::string& bookID, int64_t userID) override { return m_inner->submitAnotationForBookID(bookID, userID); }
    base::Result<void> submitAnotationForFibForBookID(const std::string& bookID, int64_t userID) override { return m_inner->submitAnotationForFibForBookID(bookID, userID); }
    base::Result<void> saveProtractor(const std::shared_ptr<SDKProtractorVO>& a0, const std::string& bookID, int64_t userID) override { return m_inner->saveProtractor(a0, bookID, userID); }
    base::Result<void> deleteProtractorDrawing(const std::shared_ptr<SDKProtractorVO>& a0, const std::string& bookID, int64_t userID) override { return m_inner->deleteProtractorDrawing(a0, bookID, userID); }
    std::vector<std::shared_ptr<SDKProtractorVO>> protractorForPageID(const std::string& pageID, const std::string& displayNumber, const std::string& bookID, int64_t userID) override { return m_inner->protractorForPageID(pageID, displayNumber, bookID, userID); }
    base::Result<void> saveSCORMdataToDB(const std::string& bookID, int64_t userID, const std::string& scormID, const std::string& scormString, const std::string& classId, int64_t pageID, const std::string& activityName, bool isSynced) override { return m_inner->saveSCORMdataToDB(bookID, userID, scormID, scormString, classId, pageID, activityName, isSynced); }
    std::optional<std::string> fetchScormDataWithBookID(const std::string& bookID, int64_t userID, const std::string& scormID) override { return m_inner->fetchScormDataWithBookID(bookID, userID, scormID); }
    base::Result<void> createReaderAnalyticsSessionForUserID(const std::string& userID, const std::string& bookID, const std::string& analyticsData) override { return m_inner->createReaderAnalyticsSessionForUserID(userID, bookID, analyticsData); }
    base::Value getReaderAnalyticsForUser(int64_t userID, const std::string& bookID) override { return m_inner->getReaderAnalyticsForUser(userID, bookID); }
    base::Result<void> saveBookMetadata(const base::Value& metadata, const std::string& bookID, int64_t userID) override { return m_inner->saveBookMetadata(metadata, bookID, userID); }
    base::Value getBookMetadataForbookID(const std::string& bookID, int64_t userID) override { return m_inner->getBookMetadataForbookID(bookID, userID); }
    base::Result<void> saveReaderFontSetting(const std::shared_ptr<ReaderFontSettingsVO>& a0, const std::string& bookID, int64_t userID) override { return m_inner->saveReaderFontSetting(a0, bookID, userID); }
    std::shared_ptr<ReaderFontSettingsVO> getReaderFontSettingForBookID(const std::string& bookID, int64_t userID) override { return m_inner->getReaderFontSettingForBookID(bookID, userID); }
    std::vector<std::shared_ptr<SDKBookClassInfoVO>> bookClassInfoArrayForBookID(const std::string& bookID, int64_t user) override { return m_inner->bookClassInfoArrayForBookID(bookID, user); }
    base::Result<void> saveSharedReceivedInfo(const base::Value& payload, const std::string& bookID, int64_t userID) override { return m_inner->saveSharedReceivedInfo(payload, bookID, userID); }
    base::Value getUnsynedUGCDictionaryForUserID(int64_t userID) override { return m_inner->getUnsynedUGCDictionaryForUserID(userID); }
    base::Value getUnsyncedCollabDataDictionaryForUserID(int64_t userID) override { return m_inner->getUnsyncedCollabDataDictionaryForUserID(userID); }

private:
    std::shared_ptr<YSDBManager> m_inner;
    mutable std::mutex m_mutex;
    std::vector<bool> m_onMain;
    std::vector<bool> m_penOnMain;
    std::function<void()> m_nextPenReadGate;
};

// Writes each layer a redraw asks for and hands highlights and pen drawings to the drawer.
class ForwardingOverlays : public ReaderPageOverlays {
public:
    PageAnnotationsDrawer* drawer = nullptr;
    std::vector<std::string> layers;

    void drawHighlightsOnPageNumber(const std::string& p, const std::string& d) override
    {
        note("highlights", p, d);
        if (drawer)
            drawer->drawHighlightsOnPageNumber(p, d);
    }
    void addBookmarkOnPageNumber(const std::string& p, const std::string& d) override { note("bookmark", p, d); }
    void addPrintPageViewOnPageNumber(const std::string& p, const std::string& d) override { note("print", p, d); }
    void drawPenDrawingsOnPageNumber(const std::string& p, const std::string& d) override
    {
        note("pen", p, d);
        if (drawer)
            drawer->drawPenDrawingsOnPageNumber(p, d);
    }
    void drawMarkupsOnPageNumber(const std::string& p, const std::string& d) override { note("markups", p, d); }
    void drawTextAnnotationsOnPageNumber(const std::string& p, const std::string& d) override
    {
        note("textBoxes", p, d);
    }
    void drawProtractorOnPageNumber(const std::string& p, const std::string& d) override { note("protractor", p, d); }

private:
    void note(const char* name, const std::string& page, const std::string& display)
    {
        layers.push_back(std::string(name) + ":" + page + "/" + display);
    }
};

class RecordingHost : public AnnotationsHost {
public:
    std::vector<std::string> calls;
    std::vector<std::string> searches;
    std::vector<std::string> translations;
    std::vector<std::string> immersiveLaunches;
    std::vector<std::shared_ptr<SDKHighlightVO>> notesOpened;
    std::vector<std::pair<std::string, std::string>> alerts;
    int sessionExpired = 0;
    // Token renewal: answered with a user carrying `renewedToken` unless `renews` is off.
    bool renews = true;
    std::string renewedToken = "token-renewed";
    std::vector<std::string> refreshes;
    ui::ConstraintPtr sliderConstraint;
    double rightInset = 0;
    ForwardingOverlays overlays;
    std::shared_ptr<ui::ViewController> controller = ui::ViewController::create();

    void moveTopAndBottomOffScreen(bool) override { calls.push_back("barsOff"); }
    void moveTopAndBottomOnScreen(bool) override { calls.push_back("barsOn"); }
    void resetAllPlayerActionBar() override { calls.push_back("resetBars"); }
    ui::ConstraintPtr verticalSliderRightConstraint() override { return sliderConstraint; }
    double readerRightSafeAreaInset() override { return rightInset; }
    void setBottomBarPageSliderValue(int64_t page) override { calls.push_back("slider:" + std::to_string(page)); }
    ReaderPageOverlays& pageOverlays() override { return overlays; }
    void stopInlineVideo() override { calls.push_back("stopVideo"); }
    void closeAudioSync() override { calls.push_back("closeAudioSync"); }
    void addSearchForText(const std::string& text) override { searches.push_back(text); }
    void showTranslationForText(const std::string& text) override { translations.push_back(text); }
    void presentImmersiveReader(const std::string& token, const std::string& subdomain, const std::string& text) override
    {
        immersiveLaunches.push_back(token + "|" + subdomain + "|" + text);
    }
    void showNotesForHighlight(std::shared_ptr<SDKHighlightVO> record, bool) override { notesOpened.push_back(record); }
    void dismissNoteEditor(std::function<void()> completion) override
    {
        calls.push_back("dismissNote");
        completion();
    }
    void addPreLoaderView() override { calls.push_back("preLoader+"); }
    void removePreLoaderView() override { calls.push_back("preLoader-"); }
    std::shared_ptr<ui::ViewController> presentingController() override { return controller; }
    void showAlertWithTitle(const std::string& title, const std::string& message) override
    {
        alerts.emplace_back(title, message);
    }
    void showSessionExpiredAlert() override { ++sessionExpired; }
    bool refreshUserToken(const std::string& expired, std::function<void(std::shared_ptr<LectoroUser>)> done) override
    {
        refreshes.push_back(expired);
        if (!renews)
            return false;
        auto user = LectoroUser::create();
        user->userID = "5000000000";
        user->userToken = renewedToken;
        done(user);
        return true;
    }
    void saveReaderAnalyticsSession() override { calls.push_back("saveSession"); }
};

// The five colours of the default theme's order, as the tests name them.
inline std::vector<std::string> fiveColours() { return { "#A1", "#B2", "#C3", "#D4", "#E5" }; }

class AnnotationsTest : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        m_analytics = std::make_shared<testing::RecordingAnalyticsManager>();
        AnalyticsManager::setInstance(m_analytics);
        m_previousReachability = LectoroNetworkManager::getInstance().internetReachability();
        m_network = std::make_shared<OnlineSwitch>();
        LectoroNetworkManager::getInstance().setInternetReachability(Reachability::reachabilityWithSource(m_network));

        m_theme = std::make_shared<LXMVThemeVO>();
        setColours(fiveColours());
        m_theme->setNote_selected_icon_border(ui::Color::red());
        m_settings = std::make_shared<MVReaderSettingModel>();
        m_settings->setIsContextualNoteEnabled(false);
        m_settings->setIsSearchEnabled(false);
        m_settings->setIsBookmarkEnabled(false);
        auto store = companion::SqliteDatabaseManager::openInMemory();
        ASSERT_TRUE(store.ok());
        m_store = std::make_shared<ThreadNotingStore>(store.value());
        m_renderer = companion::testing::FakeRenderer::create();
        m_book = std::make_shared<PXBookVO>();
        m_renderer->setCurrentBook(m_book);

        m_context.currentBook = m_book;
        m_context.bookID = 42;
        m_context.bookVersion = "3.1";
        m_context.user = makeUser("5000000000", "token-1");
        m_context.renderer = m_renderer;
        m_context.dbManager = m_store;
        m_context.theme = m_theme;
        m_context.settings = m_settings;
        m_context.analyticsHandler = std::make_shared<MVLectoroAnalyticsHandler>();
    }

    void TearDown() override
    {
        m_drawer.reset();
        m_road.reset();
        LectoroNetworkManager::getInstance().setInternetReachability(m_previousReachability);
        AnalyticsManager::setInstance(nullptr);
        ReaderTest::TearDown();
    }

    void setColours(const std::vector<std::string>& colours)
    {
        base::Value::List list;
        for (const auto& colour : colours)
            list.push_back(base::Value(colour));
        m_theme->setHighlight_Color_Array(list);
    }

    void allTools()
    {
        m_settings->setIsContextualNoteEnabled(true);
        m_settings->setIsSearchEnabled(true);
        m_context.isGoogleTranslateEnabled = true;
        m_context.isImmeresiveReaderEnabled = true;
    }

    HighlightRoad& road()
    {
        if (!m_road)
            m_road = std::make_unique<HighlightRoad>(m_context, m_host);
        return *m_road;
    }

    PageAnnotationsDrawer& drawer()
    {
        if (!m_drawer) {
            m_drawer = std::make_unique<PageAnnotationsDrawer>(m_context, m_host);
            m_host.overlays.drawer = m_drawer.get();
        }
        return *m_drawer;
    }

    void useReflowableBook()
    {
        auto epub = std::make_shared<EPUBBookVO>();
        m_context.currentBook = epub;
        m_renderer->setCurrentBook(epub);
    }

    std::shared_ptr<SDKHighlightVO> storedHighlight(const std::string& localID, const std::string& colour,
        const std::string& page = "10", const std::string& display = "v")
    {
        auto record = std::make_shared<SDKHighlightVO>();
        record->localID = localID;
        record->text = "selected words";
        record->backgroundColor = colour;
        record->pageIdentifier = page;
        record->displayNum = display;
        EXPECT_TRUE(m_store->saveHighlight(record, "42", 5000000000).ok());
        return record;
    }

    std::vector<std::string> trackedNames() const
    {
        std::vector<std::string> names;
        for (const auto& event : m_analytics->tracked)
            names.push_back(event.name);
        return names;
    }

    ReaderContext m_context;
    RecordingHost m_host;
    std::shared_ptr<testing::RecordingAnalyticsManager> m_analytics;
    std::shared_ptr<Reachability> m_previousReachability;
    std::shared_ptr<OnlineSwitch> m_network;
    std::shared_ptr<LXMVThemeVO> m_theme;
    std::shared_ptr<MVReaderSettingModel> m_settings;
    std::shared_ptr<ThreadNotingStore> m_store;
    std::shared_ptr<companion::testing::FakeRenderer> m_renderer;
    std::shared_ptr<PXBookVO> m_book;
    std::unique_ptr<HighlightRoad> m_road;
    std::unique_ptr<PageAnnotationsDrawer> m_drawer;
};

} // namespace lectoro::annotationstest
