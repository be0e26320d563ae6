#pragma once

#include "platform/testing/Interaction.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"

#include "ReaderTestSupport.h"

#include <optional>
#include <string>
#include <vector>

namespace lectoro::testing {

// A host that writes down what it hears.
class RecordingHost : public LectoroReaderViewControllerDelegate {
public:
    struct Close {
        std::string bookID;
        std::optional<std::string> lastPageFolio;
        size_t serviceRequestsBefore = 0;
    };

    void didClosedReaderWithReader(LectoroReaderViewController&, const std::string& bookID,
        std::shared_ptr<LectoroUser>, const std::optional<std::string>& lastPageFolio) override
    {
        closes.push_back({ bookID, lastPageFolio, service ? service->requestCount() : 0 });
    }
    void didUpdateFurthestPageDataWithReader(
        LectoroReaderViewController&, const std::string& data, int64_t, std::shared_ptr<LectoroUser>) override
    {
        furthestPages.push_back(data);
    }
    void didUGCSaveCompletedSuccessfullyWithUserID(int64_t, int64_t) override
    {
        ++ugcSaves;
        events.push_back("ugcSaved");
    }
    void didUGCSaveFailedWithError(const base::Error& error, int64_t, int64_t) override
    {
        events.push_back("ugcFailed:" + std::to_string(error.code));
    }
    void didSaveAnalyticsDataSuccessfully() override { events.push_back("analyticsSaved"); }
    void didSaveAnalyticsDataFailedWithError(
        const base::Error& error, const std::string& userID, const std::string& bookID) override
    {
        events.push_back("analyticsFailed:" + std::to_string(error.code) + ":" + userID + ":" + bookID);
    }
    void didUGCSaveCompletedSuccessfully() override { events.push_back("mediaUgcSaved"); }
    void didUGCSaveFailedWithError(const base::Error& error) override
    {
        events.push_back("mediaUgcFailed:" + std::to_string(error.code));
    }
    void didSessionExpiredWithUser(std::shared_ptr<LectoroUser>, const std::string& token) override
    {
        events.push_back("sessionExpired:" + token);
    }
    void didLocalStoreFailWithError(const base::Error& error) override { storeProblems.push_back(error); }
    void didUpdatedReadPercentageTo(int64_t percentage, int64_t) override { readPercentages.push_back(percentage); }

    std::shared_ptr<companion::testing::FakeService> service;
    std::vector<Close> closes;
    std::vector<std::string> furthestPages;
    std::vector<std::string> events;
    std::vector<base::Error> storeProblems;
    std::vector<int64_t> readPercentages;
    int ugcSaves = 0;
};

class LauncherTest : public ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        m_host = std::make_shared<RecordingHost>();
        m_host->service = framework().service();
        m_launcher = LectoroReaderViewController::create();
        m_launcher->setDelegate(m_host);
        uitest::showInWindow(m_launcher);
    }

    void TearDown() override
    {
        m_launcher.reset();
        m_host.reset();
        ReaderTest::TearDown();
    }

    static std::shared_ptr<LectoroBookPackage> package(
        std::string bookID = "42", std::optional<std::string> encryption = std::string("V2"))
    {
        return std::make_shared<LectoroBookPackage>(
            "/books/" + bookID, bookID, "978-" + bookID, std::move(encryption));
    }

    static std::shared_ptr<LectoroServiceConfiguration> configuration()
    {
        return std::make_shared<LectoroServiceConfiguration>(
            "https://api", "client", std::string("https://micro"));
    }

    std::shared_ptr<YSDBManager> store() { return companionFramework()->makeDatabaseManager(); }

    base::Value storedMetadata(const std::string& bookID, int64_t userID)
    {
        return store()->getBookMetadataForbookID(bookID, userID);
    }

    void storeMetadata(
        const std::string& key, const std::string& value, const std::string& bookID, int64_t userID)
    {
        base::Value::Dictionary metadata;
        metadata.set(key, value);
        store()->saveBookMetadata(base::Value(std::move(metadata)), bookID, userID);
    }

    size_t requestsNamed(const std::string& operation) const
    {
        size_t count = 0;
        for (const auto& name : m_host->service->operations())
            count += name == operation;
        return count;
    }

    std::shared_ptr<RecordingHost> m_host;
    std::shared_ptr<LectoroReaderViewController> m_launcher;
};

} // namespace lectoro::testing
