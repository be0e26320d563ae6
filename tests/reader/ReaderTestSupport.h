#pragma once

// A clean world for each reader test: a fresh run loop, in-memory user defaults, a fixed
// "now", the library's own bundles, and the companion fakes over the real SQLite store in
// a temporary folder.

#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/ReadingTimeManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/testing/FakeFramework.h"
#include "platform/base/Date.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"
#include "platform/ui/Environment.h"
#include "platform/ui/ViewController.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace lectoro::testing {

class ReaderTest : public ::testing::Test {
protected:
    static constexpr double fixedNow = 1700000000.25;

    void SetUp() override
    {
        base::RunLoop::main().reset();
        m_defaults = std::make_shared<base::UserDefaults>();
        base::UserDefaults::setStandardForTesting(m_defaults);
        base::Clock::setNowForTesting(base::Date { fixedNow });
        LocalizationHelper::setReaderLanguageBundle(nullptr);
        m_storage = std::filesystem::temp_directory_path()
            / ("lectoro-reader-" + std::to_string(::getpid()) + "-" + std::to_string(s_counter++));
        std::filesystem::create_directories(m_storage);
        m_framework = companion::testing::FakeFramework::create(m_storage.string());
        setCompanionFramework(m_framework);
    }

    void TearDown() override
    {
        // A screen the test showed would keep its reader (its timers and observers) alive
        // into the next test.
        if (ui::Environment::current().keyWindow())
            ui::setKeyWindowRootViewController(nullptr);
        // Background store reads (a reflowable page's highlights) finish before the world goes.
        base::waitForBackgroundWork();
        setCompanionFramework(nullptr);
        m_framework.reset();
        base::RunLoop::main().reset();
        base::UserDefaults::setStandardForTesting(nullptr);
        base::Clock::setNowForTesting(std::nullopt);
        LocalizationHelper::setReaderLanguageBundle(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(m_storage, ignored);
    }

    static std::shared_ptr<LectoroUser> makeUser(std::string id, std::string token = "token-1")
    {
        auto user = LectoroUser::create();
        user->userID = std::move(id);
        user->userToken = std::move(token);
        return user;
    }

    base::UserDefaults& defaults() { return *m_defaults; }
    companion::testing::FakeFramework& framework() { return *m_framework; }
    companion::testing::FakeService& service() { return *m_framework->service(); }

    ui::EnvironmentScope m_environment;
    std::shared_ptr<base::UserDefaults> m_defaults;
    std::shared_ptr<companion::testing::FakeFramework> m_framework;
    std::filesystem::path m_storage;
    static inline int s_counter = 0;
};

// A reading-time manager that answers a chosen number of seconds left for any page.
class StubReadingTime : public ReadingTimeManager {
public:
    bool isCFIDataAvailable() const override { return true; }
    void setDefaultAverageTimePerPage(double seconds) override { m_default = seconds; }
    double defaultAverageTimePerPage() const override { return m_default; }
    int64_t getTimeLeftForpage(const std::string&, double) const override { return secondsLeft; }
    int64_t secondsLeft = 0;
    double m_default = 0;
};

} // namespace lectoro::testing
