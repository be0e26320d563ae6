#include "MediaTestSupport.h"

#include "platform/base/Thread.h"
#include "platform/media/AudioSession.h"
#include "platform/media/MediaError.h"
#include "platform/media/SpeechRecognizer.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using media::ScriptedSpeechRecognizer;
using media::SpeechRecognizer;
using mediatest::settle;

class SpeechRecognizerTest : public testing::Test {
protected:
    using Status = media::SpeechRecognizerAuthorizationStatus;

    void SetUp() override
    {
        base::RunLoop::main().reset();
        SpeechRecognizer::resetForTesting();
        media::AudioSession::sharedInstance().reset();
    }
    void TearDown() override
    {
        settle();
        SpeechRecognizer::resetForTesting();
        media::AudioSession::sharedInstance().reset();
        base::RunLoop::main().reset();
    }

    static void authorize()
    {
        SpeechRecognizer::setAuthorizationResponder([](auto answer) { answer(Status::Authorized); });
        SpeechRecognizer::requestAuthorization({});
        settle();
    }
};

// Each answer comes from a thread of its own, as the system's may.
TEST_F(SpeechRecognizerTest, permissionAnswersFromAWorkerThreadReachTheCompletionOnTheMainRunLoop)
{
    for (Status answer : { Status::Denied, Status::Restricted, Status::Authorized }) {
        SCOPED_TRACE(static_cast<int>(answer));
        SpeechRecognizer::resetForTesting();
        std::thread worker;
        SpeechRecognizer::setAuthorizationResponder([&worker, answer](auto reply) {
            worker = std::thread([reply, answer] { reply(answer); });
        });
        EXPECT_EQ(SpeechRecognizer::authorizationStatus(), Status::NotDetermined);

        std::vector<std::pair<Status, bool>> seen;
        SpeechRecognizer::requestAuthorization([&](Status status) { seen.emplace_back(status, base::isMainThread()); });
        SpeechRecognizer::requestAuthorization([&](Status status) { seen.emplace_back(status, base::isMainThread()); });
        worker.join();
        EXPECT_TRUE(seen.empty()) << "nothing runs until the main run loop does";
        base::RunLoop::main().runUntilIdle();
        EXPECT_EQ(seen, (std::vector<std::pair<Status, bool>> { { answer, true }, { answer, true } }));
        EXPECT_EQ(SpeechRecognizer::authorizationStatus(), answer);

        // Once answered, the user is not asked again.
        SpeechRecognizer::setAuthorizationResponder([](auto) { ADD_FAILURE() << "asked twice"; });
        SpeechRecognizer::requestAuthorization([&](Status status) { seen.emplace_back(status, base::isMainThread()); });
        base::RunLoop::main().runUntilIdle();
        EXPECT_EQ(seen.size(), 3u);
    }
}

TEST_F(SpeechRecognizerTest, withNoOneToAskBothPermissionsAreRefused)
{
    std::optional<Status> speech;
    std::optional<bool> microphone;
    SpeechRecognizer::requestAuthorization([&](Status status) { speech = status; });
    media::AudioSession::sharedInstance().requestRecordPermission([&](bool granted) { microphone = granted; });
    settle();
    EXPECT_EQ(speech, Status::Denied);
    EXPECT_EQ(microphone, false);
    EXPECT_EQ(media::AudioSession::sharedInstance().recordPermission(), media::RecordPermission::Denied);

    // A scripted user grants the microphone from a worker thread.
    media::AudioSession::sharedInstance().reset();
    std::thread worker;
    media::AudioSession::sharedInstance().setRecordPermissionResponder([&worker](auto reply) {
        worker = std::thread([reply] { reply(media::RecordPermission::Granted); });
    });
    bool grantedOnMain = false;
    media::AudioSession::sharedInstance().requestRecordPermission([&](bool granted) { grantedOnMain = granted && base::isMainThread(); });
    worker.join();
    base::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(grantedOnMain);
}

struct Heard {
    std::vector<std::pair<std::string, bool>> results;
    std::vector<int64_t> errors;

    media::SpeechRecognitionTask::Handler handler()
    {
        return [this](const auto& result, const auto& error) {
            if (result)
                results.emplace_back(result->formattedString, result->isFinal);
            if (error)
                errors.push_back(error->code);
        };
    }
};

TEST_F(SpeechRecognizerTest, aScriptedRecognizerProducesPartialAndFinalTranscriptsOnTheClock)
{
    authorize();
    auto recognizer = ScriptedSpeechRecognizer::create("en-US");
    recognizer->setScript({ { 0.5, "photo", false, {} }, { 0.5, "photosynthesis", false, {} }, { 1.0, "photosynthesis in plants", true, {} } });
    SpeechRecognizer::setFactory([recognizer](const std::string&) { return recognizer; });
    auto made = SpeechRecognizer::make("en-US");
    ASSERT_EQ(made, recognizer);

    Heard heard;
    auto task = made->recognitionTask(media::SpeechRecognitionRequest::create(), heard.handler());
    base::RunLoop::main().advanceBy(1.0);
    EXPECT_EQ(heard.results, (std::vector<std::pair<std::string, bool>> { { "photo", false }, { "photosynthesis", false } }));
    base::RunLoop::main().advanceBy(1.0);
    EXPECT_EQ(heard.results.back(), (std::pair<std::string, bool> { "photosynthesis in plants", true }));
    EXPECT_EQ(task->state(), media::SpeechRecognitionTask::State::Completed);

    // Final results only; ending the audio early makes the last thing heard final.
    Heard finalOnly;
    auto request = media::SpeechRecognitionRequest::create();
    request->setShouldReportPartialResults(false);
    made->recognitionTask(request, finalOnly.handler());
    base::RunLoop::main().advanceBy(1.0);
    EXPECT_TRUE(finalOnly.results.empty());
    request->endAudio();
    base::RunLoop::main().advanceBy(5.0);
    EXPECT_EQ(finalOnly.results, (std::vector<std::pair<std::string, bool>> { { "photosynthesis", true } }));
}

TEST_F(SpeechRecognizerTest, cancellingSilenceErrorsAndRefusalEndTheTaskWithAnError)
{
    auto recognizer = ScriptedSpeechRecognizer::create();
    recognizer->setScript({ { 1.0, "hello", false, {} }, { 1.0, "", false, media::speechError(media::speechErrorRecognizerUnavailable, "lost") } });

    Heard refused;
    recognizer->recognitionTask(nullptr, refused.handler());
    settle();
    EXPECT_EQ(refused.errors, std::vector<int64_t> { media::speechErrorNotAuthorized }) << "not yet authorised";

    authorize();
    Heard cancelled;
    auto task = recognizer->recognitionTask(nullptr, cancelled.handler());
    base::RunLoop::main().advanceBy(1.0);
    task->cancel();
    base::RunLoop::main().advanceBy(5.0);
    EXPECT_EQ(cancelled.results.size(), 1u);
    EXPECT_EQ(cancelled.errors, std::vector<int64_t> { media::speechErrorCancelled });
    EXPECT_TRUE(task->isCancelled());

    Heard failed;
    recognizer->recognitionTask(nullptr, failed.handler());
    base::RunLoop::main().advanceBy(5.0);
    EXPECT_EQ(failed.errors, std::vector<int64_t> { media::speechErrorRecognizerUnavailable });

    Heard silent;
    recognizer->setScript({});
    auto quiet = recognizer->recognitionTask(nullptr, silent.handler());
    quiet->finish();
    settle();
    EXPECT_EQ(silent.errors, std::vector<int64_t> { media::speechErrorNoSpeech });

    Heard unavailable;
    auto none = SpeechRecognizer::make("en-US");
    EXPECT_FALSE(none->isAvailable()) << "no engine on this platform";
    none->recognitionTask(nullptr, unavailable.handler());
    settle();
    EXPECT_EQ(unavailable.errors, std::vector<int64_t> { media::speechErrorRecognizerUnavailable });
}

} // namespace
