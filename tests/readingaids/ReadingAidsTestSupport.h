#pragma once

// A clean world for reading-aids tests: a fresh run loop and UI, in-memory user defaults,
// the library's own bundle, and the companion framework over its in-process service
// (translation from the phrase table, immersive-reader tokens).

#include "LectoroSDKWithReader/foundation/Reachability.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "companion/Framework.h"
#include "companion/service/InProcessService.h"
#include "platform/base/Bundle.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/AlertController.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

namespace lectoro::testing {

// A reachability source whose answer the test sets.
class SwitchableReachability final : public ReachabilitySource {
public:
    std::optional<uint32_t> flags() override
    {
        return *online ? std::optional<uint32_t>(ReachabilityFlags::Reachable) : std::optional<uint32_t>(0);
    }
    bool start(std::function<void()>) override { return true; }
    void stop() override { }
    std::shared_ptr<bool> online = std::make_shared<bool>(true);
};

class ReadingAidsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::RunLoop::main().reset();
        m_defaults = std::make_shared<base::UserDefaults>();
        base::UserDefaults::setStandardForTesting(m_defaults);
        base::Bundle::setLibraryBundlePath(LECTORO_BUNDLE_DIR);
        m_storage = std::filesystem::temp_directory_path()
            / ("lectoro-readingaids-" + std::to_string(::getpid()) + "-" + std::to_string(s_counter++));
        std::filesystem::create_directories(m_storage);
        m_service = companion::InProcessService::create();
        m_framework = companion::makeFramework(companion::FrameworkOptions { m_storage.string(), m_service });
        setCompanionFramework(m_framework);
        Reachability::setSourceFactory([online = m_online](ReachabilitySource::Target, const std::string&) {
            auto source = std::make_shared<SwitchableReachability>();
            source->online = online;
            return source;
        });
    }
    void TearDown() override
    {
        Reachability::setSourceFactory(nullptr);
        setCompanionFramework(nullptr);
        m_framework.reset();
        base::RunLoop::main().reset();
        base::UserDefaults::setStandardForTesting(nullptr);
        base::Bundle::setLibraryBundlePath("");
        std::error_code ignored;
        std::filesystem::remove_all(m_storage, ignored);
    }

    void setOnline(bool online) { *m_online = online; }
    // Runs the run loop until the service and any speech have answered.
    static void settle(double seconds = 1)
    {
        for (int i = 0; i < 5; ++i) {
            base::waitForBackgroundWork();
            base::RunLoop::main().runUntilIdle();
        }
        base::RunLoop::main().advanceBy(seconds);
    }
    static std::string topAlertMessage()
    {
        auto alert = uitest::topmostAlert();
        return alert ? alert->message().value_or("") : std::string("(no alert)");
    }

    uitest::UIScope m_ui;
    std::shared_ptr<base::UserDefaults> m_defaults;
    std::shared_ptr<companion::InProcessService> m_service;
    std::shared_ptr<companion::Framework> m_framework;
    std::shared_ptr<bool> m_online = std::make_shared<bool>(true);
    std::filesystem::path m_storage;
    static inline int s_counter = 0;
};

} // namespace lectoro::testing
