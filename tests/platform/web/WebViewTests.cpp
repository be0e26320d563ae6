#include "platform/web/WebView.h"

#include "platform/testing/ScriptedWebPage.h"

#include "platform/base/RunLoop.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>
#include <unistd.h>

namespace web {
namespace {

using uitest::ScriptedWebPage;

// Records what the view tells its delegates and handlers, as lines of text.
class Recorder : public NavigationDelegate, public ScriptMessageHandler, public UIDelegate {
public:
    void didStartProvisionalNavigation(WebView&, const Navigation& n) override
    {
        add("start", n);
        if (auto hook = std::exchange(onStart, nullptr))
            hook();
    }
    void didFailProvisionalNavigation(WebView&, const Navigation& n, const base::Error& e) override
    {
        add("fail provisional " + std::to_string(e.code), n);
    }
    void didCommitNavigation(WebView&, const Navigation& n) override { add("commit", n); }
    void didFinishNavigation(WebView&, const Navigation& n) override { add("finish", n); }
    void didFailNavigation(WebView&, const Navigation& n, const base::Error& e) override
    {
        add("fail " + std::to_string(e.code), n);
    }
    void didReceiveScriptMessage(UserContentController&, const ScriptMessage& message) override
    {
        events.push_back("message " + message.name + " " + message.body.description());
        EXPECT_FALSE(message.webView.expired());
    }
    std::shared_ptr<WebView> createWebViewWithConfiguration(WebView&,
        const std::shared_ptr<WebViewConfiguration>& configuration, const NavigationAction& action) override
    {
        events.push_back("window " + action.request.url.absoluteString());
        window = WebView::create({}, configuration);
        return window;
    }

    void add(const std::string& what, const Navigation& navigation)
    {
        events.push_back(what + " #" + std::to_string(navigation.identifier()));
    }

    std::vector<std::string> events;
    std::shared_ptr<WebView> window;
    // Runs once, at the next start.
    std::function<void()> onStart;
};

class WebViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::RunLoop::main().reset();
        m_view = WebView::create({ { 0, 0 }, { 320, 480 } });
        m_view->setNavigationDelegate(m_recorder);
        m_view->setUIDelegate(m_recorder);
        m_view->setPage(m_page);
    }
    void TearDown() override
    {
        ScriptedWebPage::unplug();
        base::RunLoop::main().reset();
    }

    std::shared_ptr<Recorder> m_recorder = std::make_shared<Recorder>();
    std::shared_ptr<ScriptedWebPage> m_page = ScriptedWebPage::create();
    std::shared_ptr<WebView> m_view;
};

TEST_F(WebViewTest, AnHtmlPagePostsReadyThroughTheHandlerTheTestNames)
{
    ASSERT_TRUE(m_view->configuration()->userContentController->addScriptMessageHandler(m_recorder, "pageState"));
    m_page->postOnLoad("pageState", base::Value("ready"));
    m_page->postOnLoad("nobodyListens", base::Value("lost"));
    auto navigation = m_view->loadHTMLString("<html><title> Reader </title><body>Hi</body></html>", std::nullopt);
    ASSERT_TRUE(navigation);
    EXPECT_TRUE(m_view->isLoading());
    EXPECT_TRUE(m_recorder->events.empty());

    base::RunLoop::main().runUntilIdle();
    std::string id = " #" + std::to_string(navigation->identifier());
    EXPECT_EQ(m_recorder->events,
        (std::vector<std::string> { "start" + id, "commit" + id, "finish" + id, "message pageState ready" }));
    EXPECT_FALSE(m_view->isLoading());
    EXPECT_EQ(m_view->url()->absoluteString(), "about:blank");
    EXPECT_EQ(m_view->title(), "Reader");
    ASSERT_EQ(m_page->postedMessages().size(), 2u);
    EXPECT_FALSE(m_page->postedMessages()[1].delivered);
}

TEST_F(WebViewTest, ScriptsAreRecordedAndAnsweredOrRejectedByThePage)
{
    m_page->answerScript("document.title", base::Value("Reader"));
    m_page->rejectScript("launchImmersiveReader(", "TypeError: token is missing");
    struct Answer {
        int calls = 0;
        base::Value result;
        std::optional<base::Error> error;
    };
    Answer title, launch, unknown;
    auto into = [](Answer& answer) {
        return [&answer](const base::Value& result, const std::optional<base::Error>& error) {
            ++answer.calls;
            answer.result = result;
            answer.error = error;
        };
    };
    m_view->evaluateJavaScript("document.title", into(title));
    m_view->evaluateJavaScript("launchImmersiveReader({\"token\":\"\"})", into(launch));
    m_view->evaluateJavaScript("undefinedFunction()", into(unknown));
    EXPECT_EQ(title.calls, 0);
    base::RunLoop::main().runUntilIdle();

    EXPECT_EQ(m_view->evaluatedScripts(), m_page->evaluatedScripts());
    ASSERT_EQ(m_view->evaluatedScripts().size(), 3u);
    EXPECT_EQ(title.result, base::Value("Reader"));
    EXPECT_FALSE(title.error);
    ASSERT_EQ(launch.calls, 1);
    ASSERT_TRUE(launch.error);
    EXPECT_EQ(launch.error->domain, webKitErrorDomain);
    EXPECT_EQ(launch.error->code, errorJavaScriptExceptionOccurred);
    EXPECT_EQ(launch.error->userInfo[javaScriptExceptionMessageKey], base::Value("TypeError: token is missing"));
    EXPECT_TRUE(launch.result.isNull());
    ASSERT_TRUE(unknown.error);
    EXPECT_EQ(unknown.error->code, errorJavaScriptExceptionOccurred);
}

TEST_F(WebViewTest, WithoutAPageScriptsFailAndADroppedViewStillAnswers)
{
    m_view->setPage(nullptr);
    std::optional<base::Error> noPage, dropped;
    m_view->evaluateJavaScript("1 + 1", [&](const base::Value&, const std::optional<base::Error>& e) { noPage = e; });
    auto doomed = WebView::create();
    doomed->evaluateJavaScript("1 + 1", [&](const base::Value&, const std::optional<base::Error>& e) { dropped = e; });
    doomed.reset();
    base::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(noPage);
    EXPECT_EQ(noPage->code, errorJavaScriptExceptionOccurred);
    ASSERT_TRUE(dropped);
    EXPECT_EQ(dropped->code, errorWebViewInvalidated);
}

TEST_F(WebViewTest, LoadsFailForMissingFilesUnservedAddressesAndOddSchemes)
{
    struct Case {
        const char* url;
        int code;
    };
    m_page->failToServe("https://example.org/broken", base::Error::make(urlErrorDomain, -1001, "timed out"));
    for (Case c : { Case { "file:///definitely/not/here.html", errorFileDoesNotExist },
             Case { "https://example.org/page", errorNotConnectedToInternet },
             Case { "https://example.org/broken", -1001 }, Case { "ftp://example.org/file", errorUnsupportedURL } }) {
        m_recorder->events.clear();
        auto navigation = m_view->load(URLRequest(*base::URL::parse(c.url)));
        base::RunLoop::main().runUntilIdle();
        std::string id = " #" + std::to_string(navigation->identifier());
        EXPECT_EQ(m_recorder->events,
            (std::vector<std::string> { "start" + id, "fail provisional " + std::to_string(c.code) + id }))
            << c.url;
    }
    EXPECT_FALSE(m_view->url());
}

TEST_F(WebViewTest, FileUrlsLoadOnlyInsideTheirReadAccessFolder)
{
    auto folder = std::filesystem::temp_directory_path() / ("lectoro-web-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "book");
    std::ofstream(folder / "book" / "page.html") << "<p>inside</p>";
    std::ofstream(folder / "secret.html") << "<p>outside</p>";
    auto access = base::URL::fileURL((folder / "book").string() + "/");

    EXPECT_FALSE(m_view->loadFileURL(base::URL::fileURL((folder / "secret.html").string()), access));
    EXPECT_FALSE(m_view->loadFileURL(base::URL::fileURL((folder / "book/../secret.html").string()), access));
    EXPECT_FALSE(m_view->loadFileURL(*base::URL::parse("https://example.org/"), access));
    ASSERT_TRUE(m_view->loadFileURL(base::URL::fileURL((folder / "book" / "page.html").string()), access));
    base::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(m_view->document());
    EXPECT_EQ(m_view->document()->html, "<p>inside</p>");
    EXPECT_EQ(m_page->loadedDocuments().size(), 1u);

    // A reload reads the file again.
    std::ofstream(folder / "book" / "page.html") << "<p>changed</p>";
    ASSERT_TRUE(m_view->reload());
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_view->document()->html, "<p>changed</p>");
    std::filesystem::remove_all(folder);
}

TEST_F(WebViewTest, ANewLoadCancelsTheRunningOneAndAPageCanFailItsDocument)
{
    auto first = m_view->loadHTMLString("<p>1</p>", std::nullopt);
    base::RunLoop::main().runUntilIdle();
    m_recorder->events.clear();

    m_page->serve("https://example.org/a", "<p>a</p>");
    // A load replaced before it starts leaves no trace.
    m_view->loadHTMLString("<p>never</p>", std::nullopt);
    auto a = m_view->load(URLRequest(*base::URL::parse("https://example.org/a")));
    // Started, not finished, when the next load comes.
    std::shared_ptr<Navigation> b;
    m_recorder->onStart = [&] { b = m_view->loadHTMLString("<p>b</p>", base::URL::parse("https://example.org/")); };
    m_page->failNextLoad(base::Error::make("page", 7, "script error"));
    base::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(b);
    std::string ida = " #" + std::to_string(a->identifier()), idb = " #" + std::to_string(b->identifier());
    EXPECT_EQ(m_recorder->events, (std::vector<std::string> { "start" + ida, "fail provisional -999" + ida,
                                      "start" + idb, "commit" + idb, "fail 7" + idb }));
    EXPECT_EQ(m_view->url()->absoluteString(), "https://example.org/");
    EXPECT_NE(first->identifier(), a->identifier());
}

TEST_F(WebViewTest, HandlersAreNamedOnceAndRemovedHandlersHearNothing)
{
    auto controller = m_view->configuration()->userContentController;
    EXPECT_TRUE(controller->addScriptMessageHandler(m_recorder, "onExit"));
    EXPECT_FALSE(controller->addScriptMessageHandler(m_recorder, "onExit"));
    EXPECT_FALSE(controller->addScriptMessageHandler(m_recorder, ""));
    EXPECT_TRUE(controller->addScriptMessageHandler(m_recorder, "launchSuccessful"));
    EXPECT_EQ(controller->scriptMessageHandlerNames(), (std::vector<std::string> { "onExit", "launchSuccessful" }));

    m_view->loadHTMLString("", std::nullopt);
    base::RunLoop::main().runUntilIdle();
    m_recorder->events.clear();
    base::Value::Dictionary body;
    body.set("theme", base::Value("dark"));
    EXPECT_TRUE(m_page->post("launchSuccessful", base::Value(body)));
    EXPECT_TRUE(m_page->post("onExit", base::Value(1)));
    // Removed after posting, before delivery.
    controller->removeScriptMessageHandlerForName("onExit");
    EXPECT_FALSE(m_page->post("onExit", base::Value(2)));
    base::RunLoop::main().runUntilIdle();
    ASSERT_EQ(m_recorder->events.size(), 1u);
    EXPECT_EQ(m_recorder->events[0].rfind("message launchSuccessful", 0), 0u);
}

TEST_F(WebViewTest, APagePluggedIntoEveryViewPlaysViewsTheProductBuilds)
{
    auto page = ScriptedWebPage::create();
    page->plugIntoEveryWebView();
    page->answerScript("1", base::Value(1));
    auto built = WebView::create();
    base::Value answer;
    built->evaluateJavaScript("1", [&](const base::Value& result, const std::optional<base::Error>&) { answer = result; });
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(answer, base::Value(1));
    EXPECT_EQ(built->page(), page);
}

TEST_F(WebViewTest, WindowOpenAsksTheUIDelegateAndLoadsTheAddressThere)
{
    m_view->loadHTMLString("", std::nullopt);
    base::RunLoop::main().runUntilIdle();
    m_page->serve("https://example.org/popup", "<p>popup</p>");
    auto window = m_page->open("https://example.org/popup");
    ASSERT_TRUE(window);
    EXPECT_EQ(window, m_recorder->window);
    // The new window shares the opener's message handlers.
    EXPECT_EQ(window->configuration()->userContentController, m_view->configuration()->userContentController);
    window->setPage(m_page);
    base::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(window->document());
    EXPECT_EQ(window->document()->html, "<p>popup</p>");

    m_view->setUIDelegate(std::weak_ptr<UIDelegate>());
    EXPECT_FALSE(m_page->open("https://example.org/popup"));
}

} // namespace
} // namespace web
