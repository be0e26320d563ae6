// The translation client against the in-process phrase table.

#include "LectoroSDKWithReader/readersdk/MVGoogleTranslationManager.h"
#include "companion/Framework.h"
#include "companion/service/InProcessService.h"
#include "companion/service/PhraseTable.h"
#include "companion/service/ServiceErrors.h"
#include "companion/sync/TranslationManager.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"

#include <gtest/gtest.h>

namespace {

using companion::ServiceAnswer;

class TranslationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::RunLoop::main().reset();
        service = companion::InProcessService::create();
        manager = companion::TranslationManager::create(service);
        manager->setGoogleAPIKey("demo-key");
    }
    void TearDown() override
    {
        base::waitForBackgroundWork();
        base::RunLoop::main().reset();
    }

    struct Outcome {
        std::optional<std::string> text;
        std::optional<base::Error> error;
        int calls = 0;
    };

    Outcome translate(const std::string& text, const std::string& from, const std::string& to)
    {
        Outcome outcome;
        manager->translate(text, from, to, [&](const auto& translated, const auto& error) {
            outcome.text = translated;
            outcome.error = error;
            ++outcome.calls;
        });
        base::RunLoop::main().runUntilIdle();
        return outcome;
    }

    Outcome detect(const std::string& text)
    {
        Outcome outcome;
        manager->detectLanguage(text, [&](const auto& code, const auto& error) {
            outcome.text = code;
            outcome.error = error;
            ++outcome.calls;
        });
        base::RunLoop::main().runUntilIdle();
        return outcome;
    }

    std::shared_ptr<companion::InProcessService> service;
    std::shared_ptr<companion::TranslationManager> manager;
};

TEST_F(TranslationTest, TheLanguageListIsFetchedOnceAndKept)
{
    EXPECT_TRUE(manager->supportedLanguages().empty());
    std::optional<bool> fetched;
    manager->fetchSupportedLanguages([&](bool success, const auto&) { fetched = success; });
    base::RunLoop::main().runUntilIdle();
    ASSERT_EQ(fetched, true);
    auto languages = manager->supportedLanguages();
    ASSERT_EQ(languages.size(), companion::phrases::languages().size());
    EXPECT_EQ(languages[1]->code, "fr");
    EXPECT_EQ(languages[1]->name, "French");
    EXPECT_EQ(*service->requests().back().body["key"].asString(), "demo-key");

    // A failed fetch later leaves the list as it was.
    service->setOffline(true);
    std::optional<base::Error> failure;
    manager->fetchSupportedLanguages([&](bool success, const auto& error) {
        EXPECT_FALSE(success);
        failure = error;
    });
    base::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->code, companion::notConnectedToInternetCode);
    EXPECT_EQ(manager->supportedLanguages().size(), languages.size());
}

TEST_F(TranslationTest, DetectionNamesTheLanguageWithTheMostKnownPhrases)
{
    struct Case {
        const char* text;
        std::optional<std::string> code;
    };
    const Case cases[] = {
        { "Bonjour, mon ami!", "fr" },
        { "Danke, gute Nacht", "de" },
        { "hello friend", "en" },
        { "\u0634\u0643\u0631\u0627", "ar" },
        { "\u0643\u0644\u0645\u0629", "ar" }, // no known phrase, Arabic letters
        { "zzz qqq", std::nullopt },
        { "", std::nullopt },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.text);
        auto outcome = detect(testCase.text);
        EXPECT_EQ(outcome.calls, 1);
        EXPECT_FALSE(outcome.error);
        EXPECT_EQ(outcome.text, testCase.code);
    }
}

TEST_F(TranslationTest, TranslationReplacesKnownPhrasesAndKeepsTheRest)
{
    struct Case {
        const char* text;
        const char* from;
        const char* to;
        const char* expected;
    };
    const Case cases[] = {
        { "Hello, friend!", "en", "fr", "bonjour, ami!" },
        { "Thank you for the book", "en", "es", "gracias for el libro" },
        { "bonjour", "fr", "de", "hallo" },
        { "water", "en", "ar", "\u0645\u0627\u0621" },
        { "Same text", "en", "en", "Same text" },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.text);
        auto outcome = translate(testCase.text, testCase.from, testCase.to);
        EXPECT_FALSE(outcome.error);
        EXPECT_EQ(outcome.text, testCase.expected);
    }
}

TEST_F(TranslationTest, FailuresComeOnceWithTheirError)
{
    auto unknown = translate("hello", "en", "xx");
    EXPECT_EQ(unknown.calls, 1);
    ASSERT_TRUE(unknown.error);
    EXPECT_EQ(unknown.error->code, 400);
    EXPECT_FALSE(unknown.text);

    service->scriptNext(companion::op::translationText, ServiceAnswer::rawText("{\"translated"));
    auto broken = translate("hello", "en", "fr");
    ASSERT_TRUE(broken.error);
    EXPECT_EQ(broken.error->code, companion::malformedAnswerCode);

    // A slow answer from a worker thread still answers once.
    service->scriptNext(companion::op::translationDetect, ServiceAnswer::offline().after(0).onWorkerThread());
    Outcome offline;
    manager->detectLanguage("hello", [&](const auto& code, const auto& error) {
        offline.text = code;
        offline.error = error;
        ++offline.calls;
    });
    base::waitForBackgroundWork();
    EXPECT_EQ(offline.calls, 1);
    ASSERT_TRUE(offline.error);
    EXPECT_EQ(offline.error->code, companion::notConnectedToInternetCode);
}

TEST(TranslationFramework, OneSharedManagerPerFramework)
{
    auto framework = companion::makeFramework();
    auto first = framework->translationManager();
    ASSERT_TRUE(first);
    EXPECT_EQ(first, framework->translationManager());
}

} // namespace
