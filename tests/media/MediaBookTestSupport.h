#pragma once

// The world of a media-book test: the fake companion framework (the real parser, player and
// address client over a recording service), a pinned clock, the run loop from zero, and a
// host that records what the media-book controller tells it.

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/media/MVLectoroMediaBookController.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "companion/analytics/QueuedAnalyticsManager.h"
#include "companion/testing/FakeFramework.h"
#include "platform/base/Date.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"
#include "platform/ui/Environment.h"

#include "platform/media/MediaTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace mediatest {

inline std::string mediaSample(const std::string& name) { return std::string(LECTORO_SAMPLES_DIR) + "/books/" + name; }

// The sample audio book's three chapters as silent recordings of `seconds` each, for tests
// that must play for minutes without reaching the book's end (the sample's own last a few
// seconds). Written at a low sample rate to stay small.
inline std::string writeLongAudioBook(const TemporaryFolder& folder, double seconds)
{
    const char* titles[] = { "The Lighthouse", "The Storm", "The Morning After" };
    std::string toc = R"({ "bookId": "9101", "title": "The Keeper of the Light", "multiAudioPackage": true, "chapters": [)";
    std::string index = R"({ "timeIndex": [)";
    for (int i = 0; i < 3; ++i) {
        std::string file = "chapter-" + std::to_string(i + 1) + ".wav";
        folder.write("long-audiobook/audio/" + file, wavBytes(seconds, 1000));
        std::string separator = i ? ", " : "";
        toc += separator + R"({ "id": "ch)" + std::to_string(i + 1) + R"(", "title": ")" + titles[i]
            + R"(", "src": "audio/)" + file + R"(" })";
        index += separator + R"({ "startTime": )" + std::to_string(i * seconds) + R"(, "endTime": )"
            + std::to_string((i + 1) * seconds) + R"(, "fileName": ")" + file + R"(", "folio": ")"
            + std::to_string(i + 1) + R"(.1", "chapterTitle": ")" + titles[i] + R"(" })";
    }
    folder.write("long-audiobook/toc.json", toc + "] }");
    folder.write("long-audiobook/time-index.json", index + "] }");
    return folder.path() + "/long-audiobook";
}

struct RecordingMediaHost : lectoro::MVLectoroMediaBookControllerDelegate {
    std::vector<std::pair<std::string, std::string>> backs, nexts, previous, lastAccessed;
    std::vector<std::string> hlsFailures;
    std::string lastHLSError;
    int refreshes = 0;
    int expired = 0;
    std::shared_ptr<lectoro::LectoroUser> refreshedUser;

    void didTapOnBackWithBookID(lectoro::MVLectoroMediaBookController&, const std::string& id, const std::string& folio) override
    {
        backs.emplace_back(id, folio);
    }
    void didUserSessionExpired(lectoro::MVLectoroMediaBookController&) override { ++expired; }
    void refreshUserToken(lectoro::MVLectoroMediaBookController&, std::shared_ptr<lectoro::LectoroUser>, const std::string&,
        std::function<void(std::shared_ptr<lectoro::LectoroUser>)> completed) override
    {
        ++refreshes;
        if (refreshedUser)
            completed(refreshedUser);
    }
    void didHLSMediaLoadingFailWithError(lectoro::MVLectoroMediaBookController&, const base::Error& error, const std::string& id, int64_t) override
    {
        hlsFailures.push_back(id);
        lastHLSError = error.description();
    }
    void didFetchLastAccessedForBookID(lectoro::MVLectoroMediaBookController&, const std::string& id, const std::string& folio) override
    {
        lastAccessed.emplace_back(id, folio);
    }
    void didTapOnNextMediaWithBookID(lectoro::MVLectoroMediaBookController&, const std::string& id, const std::string& folio) override
    {
        nexts.emplace_back(id, folio);
    }
    void didTapOnPreviousMediaWithBookID(lectoro::MVLectoroMediaBookController&, const std::string& id, const std::string& folio) override
    {
        previous.emplace_back(id, folio);
    }
};

class MediaTest : public ::testing::Test {
protected:
    static constexpr double mediaFixedNow = 1700000000.0;

    void SetUp() override
    {
        base::RunLoop::main().reset();
        m_defaults = std::make_shared<base::UserDefaults>();
        base::UserDefaults::setStandardForTesting(m_defaults);
        setNow(0);
        m_storage = std::filesystem::temp_directory_path() / ("lectoro-media-" + std::to_string(::getpid()) + "-" + std::to_string(s_counter++));
        std::filesystem::create_directories(m_storage);
        m_framework = companion::testing::FakeFramework::create(m_storage.string());
        lectoro::setCompanionFramework(m_framework);
        m_user = lectoro::LectoroUser::create();
        m_user->userID = "501";
        m_user->userToken = "token-1";
        m_settings = std::make_shared<lectoro::MVReaderSettingModel>();
        m_controller = lectoro::MVLectoroMediaBookController::create();
        m_controller->setDelegate(m_host);
        m_controller->view()->setFrame(ui::Rect(0, 0, 390, 844));
    }

    void TearDown() override
    {
        m_controller.reset();
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
        lectoro::setCompanionFramework(nullptr);
        m_framework.reset();
        base::RunLoop::main().reset();
        base::UserDefaults::setStandardForTesting(nullptr);
        base::Clock::setNowForTesting(std::nullopt);
        std::error_code ignored;
        std::filesystem::remove_all(m_storage, ignored);
    }

    // Seconds after the pinned start.
    static void setNow(double seconds) { base::Clock::setNowForTesting(base::Date { mediaFixedNow + seconds }); }

    // Background work (a chapter's file being read) finishes between steps of a tenth of a second,
    // so what a test sees never depends on how fast the machine reads files.
    static void advance(double seconds)
    {
        constexpr double step = 0.1;
        auto& loop = base::RunLoop::main();
        base::waitForBackgroundWork();
        loop.runUntilIdle();
        for (double left = seconds; left > 0; left -= step) {
            loop.advanceBy(std::min(step, left));
            base::waitForBackgroundWork();
            loop.runUntilIdle();
        }
    }

    void launchSample(const std::string& name, bool audio, int32_t bookID = 9101)
    {
        m_controller->launchMediaReader(mediaSample(name), bookID, "978-0", "", "https://lectoro.invalid", "client", m_user,
            m_settings, audio, std::nullopt, "1");
    }

    void launchStream(int32_t bookID, std::optional<base::Value> info = std::nullopt)
    {
        m_controller->launchOnlineHLSMedia(bookID, "", "https://lectoro.invalid", std::string("https://ms.lectoro.invalid"),
            "client", m_user, "978-0", 1700000000, true, false, m_settings, std::move(info), "1");
    }

    std::vector<companion::QueuedAnalyticsManager::TrackedEvent> eventsNamed(const std::string& name) const
    {
        std::vector<companion::QueuedAnalyticsManager::TrackedEvent> found;
        if (auto analytics = m_framework->analytics()) {
            for (auto& event : analytics->visitEvents())
                if (event.name == name)
                    found.push_back(event);
        }
        return found;
    }

    std::vector<companion::ServiceRequest> hlsRequests() const
    {
        std::vector<companion::ServiceRequest> found;
        for (auto& request : m_framework->service()->requests())
            if (request.operation == companion::op::hlsMediaBook)
                found.push_back(request);
        return found;
    }

    // Answers the pending address request for a book with a media folder.
    bool answerHLS(int64_t bookID, const companion::ServiceAnswer& answer)
    {
        auto service = m_framework->service();
        for (size_t i = 0; i < service->pendingCount(); ++i) {
            auto request = service->pendingRequest(i);
            if (request && request->operation == companion::op::hlsMediaBook && request->body["bookID"].asInteger() == bookID)
                return service->answer(i, answer);
        }
        return false;
    }

    static companion::ServiceAnswer mediaFolder(const std::string& sample)
    {
        base::Value::Dictionary body;
        body.set("mediaPath", mediaSample(sample));
        return companion::ServiceAnswer::success(base::Value(std::move(body)));
    }

    inline static int s_counter = 0;
    ui::EnvironmentScope m_environment;
    std::shared_ptr<base::UserDefaults> m_defaults;
    std::filesystem::path m_storage;
    std::shared_ptr<companion::testing::FakeFramework> m_framework;
    std::shared_ptr<lectoro::LectoroUser> m_user;
    std::shared_ptr<lectoro::MVReaderSettingModel> m_settings;
    std::shared_ptr<RecordingMediaHost> m_host = std::make_shared<RecordingMediaHost>();
    std::shared_ptr<lectoro::MVLectoroMediaBookController> m_controller;
};

} // namespace mediatest
