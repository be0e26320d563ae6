#pragma once

// A reader journey as a user makes it: the companion framework itself (renderer over a
// sample book, the real store in the test's folder, the in-process service), a host theme
// that offers highlight colours, a network the test can switch, a user who has seen the
// help overlays, and the public launcher with a signed-in user. The host configures the
// reader between the launch and putting the launcher on screen, as it would before the
// reader first appears.

#include "reader/CompanionEndToEndSupport.h"
#include "reader/UserTaps.h"

#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/Reachability.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/help/ReaderHelp.h"
#include "companion/Framework.h"
#include "companion/service/InProcessService.h"
#include "platform/base/Bundle.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/ScriptedWebPage.h"
#include "platform/ui/Environment.h"
#include "platform/ui/View.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

namespace lectoro::testing {

// The network as the test sets it, for the reader's monitor and every reachability check.
class JourneyNetwork final : public ReachabilitySource {
public:
    explicit JourneyNetwork(std::shared_ptr<bool> online)
        : m_online(std::move(online))
    {
    }
    std::optional<uint32_t> flags() override { return *m_online ? ReachabilityFlags::Reachable : 0u; }
    bool start(std::function<void()>) override { return true; }
    void stop() override { }

private:
    std::shared_ptr<bool> m_online;
};

// Writes the host's theme, which offers highlight colours (the default theme alone has none),
// into `folder`, to be the host's main bundle.
inline void writeHostThemeWithHighlightColours(const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "ReaderTheme.json")
        << R"({"Reader": {"DayMode": {"Highlight": {"highlightColor": ["#FFE082", "#FF8A80", "#A5D6A7"]}}}})";
}

class ReaderJourneyTest : public CompanionEndToEndTest {
protected:
    static constexpr const char* journeyBookID = "1001";
    static constexpr int64_t journeyUserID = 6000000001;

    void setUpHost() override
    {
        writeHostThemeWithHighlightColours(m_storage / "host");
        m_previousMainBundle = base::Bundle::main().rootPath();
        base::Bundle::setMainBundlePath((m_storage / "host").string());
        Reachability::setSourceFactory([online = m_online](ReachabilitySource::Target, const std::string&) {
            return std::make_shared<JourneyNetwork>(online);
        });
        LectoroNetworkManager::getInstance().setInternetReachability(
            Reachability::reachabilityForInternetConnection());
        // A returning user: the help overlay of each book kind was seen before.
        for (const char* flag :
            { ReaderHelp::pdfFlagKey, ReaderHelp::reflowEpubFlagKey, ReaderHelp::fixedEpubFlagKey })
            defaults().setBool(flag, false);
    }
    bool showsLauncherAtSetUp() const override { return false; }

    void TearDown() override
    {
        base::waitForBackgroundWork();
        uitest::ScriptedWebPage::unplug();
        CompanionEndToEndTest::TearDown();
        Reachability::setSourceFactory(nullptr);
        LectoroNetworkManager::getInstance().setInternetReachability(nullptr);
        base::Bundle::setMainBundlePath(m_previousMainBundle);
    }

    // Launches the sample page book for the signed-in user with the host's settings, lets
    // the host configure the reader, then shows the launcher and lets the book open.
    std::shared_ptr<ReaderViewController> openPageBook(std::shared_ptr<MVReaderSettingModel> settings,
        std::function<void(ReaderViewController&)> configure = {})
    {
        return open("/books/sample-pagebook", std::move(settings), std::move(configure));
    }

    std::shared_ptr<ReaderViewController> open(const std::string& sample,
        std::shared_ptr<MVReaderSettingModel> settings,
        std::function<void(ReaderViewController&)> configure = {})
    {
        auto package = std::make_shared<LectoroBookPackage>(
            std::string(LECTORO_SAMPLES_DIR) + sample, journeyBookID, "978-0");
        auto user = makeUser(std::to_string(journeyUserID), "ada-token");
        user->firstName = "Ada";
        user->lastName = "Fennick";
        m_launcher->launchBook(package, user, serviceConfiguration(), std::move(settings), false);
        auto reader = m_launcher->reader();
        if (reader && configure)
            configure(*reader);
        uitest::showInWindow(m_launcher);
        settle();
        // A narrated book offers reading aloud once it has opened; the user closes the offer.
        if (auto chooser = reader ? reader->readAloud().readToMeViewController() : nullptr) {
            EXPECT_TRUE(tapAsUser(*chooser->closeReadToMeViewButton()));
            settle();
        }
        return reader;
    }

    void setOnline(bool online) { *m_online = online; }

    // Lets background work, presentations and a second of timers run out, and what they
    // present after.
    static void settle()
    {
        CompanionEndToEndTest::settle();
        uitest::completePresentations();
    }

    std::string m_previousMainBundle;
    std::shared_ptr<bool> m_online = std::make_shared<bool>(true);
};

} // namespace lectoro::testing
