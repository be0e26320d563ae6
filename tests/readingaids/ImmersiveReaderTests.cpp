// The immersive-reader launch records and the screen around its web page (the page is
// played by a ScriptedWebPage here; tests/web drives the real page in a browser).

#include "LectoroSDKWithReader/readingaids/ImmersiveReaderViewController.h"
#include "platform/base/Json.h"
#include "platform/testing/ScriptedWebPage.h"

#include "ReadingAidsTestSupport.h"

namespace lectoro {
namespace {

std::shared_ptr<Content> contentOf(const std::string& text)
{
    return std::make_shared<Content>(
        text, std::vector<std::shared_ptr<Chunk>> { std::make_shared<Chunk>(text) });
}

TEST(ImmersiveReaderRecords, WriteOnlyWhatIsPresent)
{
    struct Case {
        const char* what;
        base::Value value;
        const char* json;
    };
    auto display = std::make_shared<Options>();
    display->displayOptions = std::make_shared<DisplayOptions>(2, false, "Serif");
    display->cookiePolicy = cookiePolicyFromString("Enable");
    const Case cases[] = {
        { "bare chunk", Chunk("a").encode(), R"({"content":"a"})" },
        { "chunk with lang and type", Chunk("a", "fr", "text/plain").encode(),
            R"({"content":"a","lang":"fr","mimeType":"text/plain"})" },
        { "empty options", Options().encode(), "{}" },
        { "language only", Options("de").encode(), R"({"uiLang":"de"})" },
        { "z-index", Options(std::nullopt, std::nullopt, 7).encode(), R"({"uiZIndex":7})" },
        { "nested", display->encode(),
            R"({"cookiePolicy":"Enable","displayOptions":{"textSize":2,"increaseSpacing":false,"fontFamily":"Serif"}})" },
        { "empty chunk list", Content("t", {}).encode(), R"({"title":"t","chunks":[]})" },
        { "read aloud", ReadAloudOptions("v", 1, true).encode(),
            R"({"voice":"v","speed":1,"autoplay":true})" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(base::toJson(c.value), c.json) << c.what;
    EXPECT_FALSE(cookiePolicyFromString("enable"));
}

TEST(ImmersiveReaderRecords, MessageHasOptionsOnlyWhenGiven)
{
    Message bare { "tok", "sub", contentOf("x"), nullptr };
    EXPECT_EQ(base::toJson(bare.encode()),
        R"({"cogSvcsAccessToken":"tok","cogSvcsSubdomain":"sub","content":{"title":"x","chunks":[{"content":"x"}]}})");
    Message withEmpty { "tok", "sub", contentOf("x"), std::make_shared<Options>() };
    EXPECT_EQ(withEmpty.encode()["options"], base::Value(base::Value::Dictionary {}));
}

TEST(ImmersiveReaderRecords, LaunchScriptCarriesTheTextOnlyAsJSON)
{
    std::string text = "q\"b\\n\nl\u2028p\u2029</script>\U0001F600\u0645";
    std::string script = launchScript(Message { "t", "s", contentOf(text), nullptr });
    ASSERT_EQ(script.rfind("launchImmersiveReader(", 0), 0u);
    ASSERT_EQ(script.back(), ')');
    std::string json = script.substr(22, script.size() - 23);
    EXPECT_EQ(json.find('\n'), std::string::npos);
    EXPECT_EQ(json.find("\u2028"), std::string::npos);
    EXPECT_EQ(json.find("</script"), std::string::npos);
    auto parsed = base::parseJson(json);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed.value()["content"]["chunks"].at(0)["content"].asString(), text);
}

class RecordingDelegate final : public ImmersiveReaderDelegate {
public:
    void didFinishLaunching(const std::optional<NError>& error) override { launches.push_back(error); }
    void didExitImmersiveReader() override { ++exits; }
    std::vector<std::optional<NError>> launches;
    int exits = 0;
};

class ImmersiveReaderScreenTests : public testing::ReadingAidsTest {
protected:
    void SetUp() override
    {
        ReadingAidsTest::SetUp();
        m_page->answerScript("launchImmersiveReader(", base::Value());
        m_page->plugIntoEveryWebView();
    }
    void TearDown() override
    {
        uitest::ScriptedWebPage::unplug();
        ReadingAidsTest::TearDown();
    }
    std::shared_ptr<ImmersiveReaderViewController> show(std::shared_ptr<Options> options = nullptr)
    {
        auto screen
            = ImmersiveReaderViewController::create("tok", "sub", contentOf("Bonjour"), options, m_delegate);
        EXPECT_TRUE(screen);
        if (!screen)
            return nullptr;
        auto root = ui::ViewController::create();
        uitest::showInWindow(root);
        root->presentViewController(screen, false);
        settle();
        m_root = root;
        return screen;
    }
    std::optional<base::Value> lastLaunch() const
    {
        const auto& scripts = m_page->evaluatedScripts();
        if (scripts.empty())
            return std::nullopt;
        const auto& script = scripts.back();
        auto parsed = base::parseJson(script.substr(22, script.size() - 23));
        return parsed ? std::optional(parsed.value()) : std::nullopt;
    }

    std::shared_ptr<uitest::ScriptedWebPage> m_page = uitest::ScriptedWebPage::create();
    std::shared_ptr<RecordingDelegate> m_delegate = std::make_shared<RecordingDelegate>();
    std::shared_ptr<ui::ViewController> m_root;
};

TEST_F(ImmersiveReaderScreenTests, EmptyChunksGiveNoScreenAndABadArgument)
{
    auto screen = ImmersiveReaderViewController::create("t", "s",
        std::make_shared<Content>("t", std::vector<std::shared_ptr<Chunk>> {}), nullptr, m_delegate);
    EXPECT_FALSE(screen);
    ASSERT_EQ(m_delegate->launches.size(), 1u);
    EXPECT_EQ(m_delegate->launches[0], NError("BadArgument", "Chunks must not be empty."));
}

TEST_F(ImmersiveReaderScreenTests, MissingPageIsAnInternalErrorAndTheScreenStays)
{
    base::Bundle::setLibraryBundlePath(m_storage.string());
    auto screen = show();
    ASSERT_TRUE(screen);
    ASSERT_EQ(m_delegate->launches.size(), 1u);
    EXPECT_EQ(m_delegate->launches[0], NError("Internal Error", "Could not get the contents of html file"));
    EXPECT_FALSE(screen->webView()->document());
    EXPECT_TRUE(m_page->evaluatedScripts().empty());
    EXPECT_EQ(m_root->presentedViewController(), screen);
}

TEST_F(ImmersiveReaderScreenTests, LaunchesAfterEachLoadAndReportsThePageMessages)
{
    auto screen = show();
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->webView()->configuration()->userContentController->scriptMessageHandlerNames(),
        ImmersiveReaderViewController::scriptMessageNames());
    ASSERT_EQ(m_page->loadedDocuments().size(), 1u);
    EXPECT_NE(m_page->loadedDocuments()[0].html.find("launchImmersiveReader"), std::string::npos);
    auto launch = lastLaunch();
    ASSERT_TRUE(launch);
    EXPECT_EQ((*launch)["cogSvcsAccessToken"].asString(), "tok");
    EXPECT_FALSE(launch->asDictionary()->contains("options"));

    for (const char* name :
        { "readyForContent", "launchSuccessful", "tokenExpired", "throttled", "invalidMessagePassed" })
        m_page->post(name, base::Value());
    settle();
    std::vector<std::optional<NError>> expected { std::nullopt,
        NError(immersiveReaderTokenExpiredCode, "The access token supplied is expired."),
        NError(immersiveReaderThrottledCode, "You have exceeded the call rate limit."),
        NError("Invalid message passed to Immersive Reader",
            "Please check if the message value passed is valid") };
    EXPECT_EQ(m_delegate->launches, expected);

    screen->webView()->reload();
    settle();
    EXPECT_EQ(m_page->evaluatedScripts().size(), 2u);
}

TEST_F(ImmersiveReaderScreenTests, AFailingLaunchCallIsReported)
{
    m_page = uitest::ScriptedWebPage::create();
    m_page->rejectScript("launchImmersiveReader(", "launchImmersiveReader is not defined");
    m_page->plugIntoEveryWebView();
    show();
    ASSERT_EQ(m_delegate->launches.size(), 1u);
    EXPECT_EQ(
        m_delegate->launches[0], NError("Internal Error", "Error in executing JavaScript in WkWebView."));
}

// The exit is told once, and the blank page the screen loads as it goes sends no launch.
TEST_F(ImmersiveReaderScreenTests, ExitIsReportedOnce)
{
    auto screen = show();
    m_page->post("onExit", base::Value());
    settle();
    EXPECT_EQ(m_delegate->exits, 1);
    EXPECT_FALSE(m_root->presentedViewController());
    EXPECT_EQ(m_page->evaluatedScripts().size(), 1u);
    EXPECT_FALSE(screen->didExit());
    EXPECT_FALSE(screen->webView()->superview());
}

// Preferences the page reports are stored and come back to the page, with or without
// options from the caller; a caller's own preferences stay when none are stored.
TEST_F(ImmersiveReaderScreenTests, PreferencesSurviveFromOneSessionToTheNext)
{
    auto first
        = show(std::make_shared<Options>(std::nullopt, std::nullopt, std::nullopt, std::nullopt, "caller"));
    EXPECT_EQ((*lastLaunch())["options"]["preferences"].asString(), "caller");
    m_page->post("onPreferencesChanged", base::Value(R"({"textSize":22})"));
    settle();
    EXPECT_EQ(m_defaults->stringForKey(immersiveReaderPreferencesKey), R"({"textSize":22})");
    first->webView()->reload();
    settle();
    EXPECT_EQ((*lastLaunch())["options"]["preferences"].asString(), R"({"textSize":22})");
    m_page->post("onExit", base::Value());
    settle();

    show(nullptr);
    EXPECT_EQ((*lastLaunch())["options"],
        base::Value(base::Value::Dictionary { { "preferences", R"({"textSize":22})" } }));
    show(std::make_shared<Options>("fr", std::nullopt, std::nullopt, std::nullopt, "caller"));
    EXPECT_EQ((*lastLaunch())["options"]["preferences"].asString(), R"({"textSize":22})");
    EXPECT_EQ((*lastLaunch())["options"]["uiLang"].asString(), "fr");
}

} // namespace
} // namespace lectoro
