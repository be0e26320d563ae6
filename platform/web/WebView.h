#pragma once

// The web view, headless: no script engine and no network. What a page does (its
// scripts' answers, the messages it posts, the pages a web address serves) is played by
// a page object (web::Page) plugged into the view, or into every view by a page factory;
// platform/testing's ScriptedWebPage is the one tests use.
//
// Loading. load(), loadHTMLString() and loadFileURL() answer a navigation at once and run
// it on the main run loop: the navigation delegate hears didStartProvisionalNavigation,
// then either didFailProvisionalNavigation (a missing file, a web address no page serves,
// a superseded load) or didCommitNavigation, the page's didLoad, and
// didFinishNavigation (or didFailNavigation when the page fails the document).
//
// Scripts. evaluateJavaScript() records the script and completes on the main run loop
// with the page's answer; without a page every script fails as a script exception.
//
// Messages. A page posts to a handler registered by name in the configuration's user
// content controller; the handler hears it on the main run loop. Posting to a name that
// has no handler fails, as the page's script would.

#include "platform/base/Error.h"
#include "platform/base/URL.h"
#include "platform/base/Value.h"
#include "platform/ui/View.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace web {

class WebView;

// Script failures, as the platform reports them.
inline constexpr const char* webKitErrorDomain = "WKErrorDomain";
inline constexpr int errorUnknown = 1;
inline constexpr int errorWebViewInvalidated = 3;
inline constexpr int errorJavaScriptExceptionOccurred = 4;
inline constexpr int errorJavaScriptResultTypeIsUnsupported = 5;
// User-info key of a script exception's message.
inline constexpr const char* javaScriptExceptionMessageKey = "WKJavaScriptExceptionMessage";
// A script exception with the page's message.
base::Error javaScriptException(const std::string& message);

// Loading failures use the URL-loading domain and codes.
inline constexpr const char* urlErrorDomain = "NSURLErrorDomain";
inline constexpr int errorCancelled = -999;
inline constexpr int errorUnsupportedURL = -1002;
inline constexpr int errorNotConnectedToInternet = -1009;
inline constexpr int errorFileDoesNotExist = -1100;
inline constexpr int errorNoPermissionsToReadFile = -1102;

struct URLRequest {
    base::URL url;
    explicit URLRequest(base::URL url) : url(std::move(url)) { }
};

// One load; the delegate's calls carry it so a caller can tell loads apart.
class Navigation {
public:
    explicit Navigation(uint64_t identifier) : m_identifier(identifier) { }
    uint64_t identifier() const { return m_identifier; }

private:
    uint64_t m_identifier;
};

enum class NavigationType { LinkActivated, FormSubmitted, BackForward, Reload, FormResubmitted, Other };

struct NavigationAction {
    URLRequest request;
    NavigationType navigationType = NavigationType::Other;
    // A link or script that asked for a new window.
    bool targetsNewWindow = false;
};

// What a load put in the view.
struct Document {
    // The address shown ("about:blank" for HTML loaded without a base address).
    std::optional<base::URL> url;
    std::string html;
    std::optional<base::URL> baseURL;
};

struct ScriptMessage {
    std::string name;
    // What the page posted: text, numbers, lists and dictionaries.
    base::Value body;
    std::weak_ptr<WebView> webView;
};

class UserContentController;

class ScriptMessageHandler {
public:
    virtual ~ScriptMessageHandler() = default;
    virtual void didReceiveScriptMessage(UserContentController&, const ScriptMessage&) = 0;
};

// The named message handlers of the views made with one configuration. Handlers are held
// weakly: the platform holds them strongly, which makes a cycle with the screen that
// registers itself, and this one is meant to be dropped with its screen.
class UserContentController {
public:
    static std::shared_ptr<UserContentController> create();

    // False, and nothing changes, when the name is empty or already taken (the platform
    // raises an exception there).
    bool addScriptMessageHandler(std::weak_ptr<ScriptMessageHandler>, const std::string& name);
    void removeScriptMessageHandlerForName(const std::string& name);
    void removeAllScriptMessageHandlers();
    // Names in the order they were added.
    std::vector<std::string> scriptMessageHandlerNames() const;
    // The live handler of the name, or null.
    std::shared_ptr<ScriptMessageHandler> handlerForName(const std::string& name) const;

private:
    UserContentController() = default;
    std::vector<std::pair<std::string, std::weak_ptr<ScriptMessageHandler>>> m_handlers;
};

struct WebViewConfiguration {
    std::shared_ptr<UserContentController> userContentController = UserContentController::create();
    bool allowsInlineMediaPlayback = false;
    bool javaScriptEnabled = true;

    static std::shared_ptr<WebViewConfiguration> create() { return std::make_shared<WebViewConfiguration>(); }
};

class NavigationDelegate {
public:
    virtual ~NavigationDelegate() = default;
    virtual void didStartProvisionalNavigation(WebView&, const Navigation&) { }
    virtual void didFailProvisionalNavigation(WebView&, const Navigation&, const base::Error&) { }
    virtual void didCommitNavigation(WebView&, const Navigation&) { }
    virtual void didFinishNavigation(WebView&, const Navigation&) { }
    virtual void didFailNavigation(WebView&, const Navigation&, const base::Error&) { }
};

class UIDelegate {
public:
    virtual ~UIDelegate() = default;
    // A page asked for a new window: answer a view made with the configuration given,
    // or null to refuse (the default).
    virtual std::shared_ptr<WebView> createWebViewWithConfiguration(WebView&,
        const std::shared_ptr<WebViewConfiguration>&, const NavigationAction&)
    {
        return nullptr;
    }
    // The page closed its window.
    virtual void webViewDidClose(WebView&) { }
};

// The page's part: what the page's scripts would do.
class Page {
public:
    virtual ~Page() = default;
    // The HTML a web address serves, or the error its load fails with. The default is
    // what a device without network answers.
    virtual base::Result<std::string> serve(WebView&, const URLRequest&);
    // The document is in the view (after commit, before finish). An error fails the
    // navigation (didFailNavigation).
    virtual std::optional<base::Error> didLoad(WebView&, const Document&) { return std::nullopt; }
    // The answer to a script. The default rejects every script.
    virtual base::Result<base::Value> evaluate(WebView&, const std::string& script);
};

class WebView : public ui::View {
public:
    using EvaluationCompletion = std::function<void(const base::Value& result, const std::optional<base::Error>&)>;
    // Gives a page to views that start loading without one (tests plug their page in
    // for views the product builds itself). Null leaves such views without a page.
    using PageFactory = std::function<std::shared_ptr<Page>(WebView&)>;

    // A null configuration means a new one.
    static std::shared_ptr<WebView> create(const ui::Rect& frame = {},
        std::shared_ptr<WebViewConfiguration> configuration = nullptr);
    ~WebView() override;
    std::string_view className() const override { return "WebView"; }

    const std::shared_ptr<WebViewConfiguration>& configuration() const { return m_configuration; }
    std::shared_ptr<NavigationDelegate> navigationDelegate() const { return m_navigationDelegate.lock(); }
    void setNavigationDelegate(std::weak_ptr<NavigationDelegate>);
    std::shared_ptr<UIDelegate> uiDelegate() const { return m_uiDelegate.lock(); }
    void setUIDelegate(std::weak_ptr<UIDelegate>);

    // Each answers the new navigation; a load still running is cancelled first
    // (didFailProvisionalNavigation with errorCancelled).
    std::shared_ptr<Navigation> load(const URLRequest&);
    std::shared_ptr<Navigation> loadHTMLString(const std::string& html, const std::optional<base::URL>& baseURL);
    // Null, and nothing loads, when the address is not a file address or lies outside
    // the folder read access is allowed to (the platform raises an exception there).
    std::shared_ptr<Navigation> loadFileURL(const base::URL& url, const base::URL& readAccessURL);
    // Loads the current document again; null when there is none.
    std::shared_ptr<Navigation> reload();
    void stopLoading();

    bool isLoading() const { return m_pending != nullptr; }
    // The committed document's address.
    std::optional<base::URL> url() const { return m_document ? m_document->url : std::nullopt; }
    const std::optional<Document>& document() const { return m_document; }
    const std::string& title() const { return m_title; }

    // A view dropped before the answer completes with errorWebViewInvalidated.
    void evaluateJavaScript(const std::string& script, EvaluationCompletion = {});
    // Every script asked for, in order.
    const std::vector<std::string>& evaluatedScripts() const { return m_evaluatedScripts; }

    // The page object playing this view's documents.
    std::shared_ptr<Page> page() const { return m_page; }
    void setPage(std::shared_ptr<Page>);
    static void setPageFactory(PageFactory);

    // --- The page's side: page objects call these. ---
    // window.webkit.messageHandlers[name].postMessage(body): false when no live handler
    // has the name; otherwise the handler hears it on the main run loop.
    bool postScriptMessage(const std::string& name, base::Value body);
    // window.open(address): asks the UI delegate for a window and loads the address in
    // it; null when refused.
    std::shared_ptr<WebView> openWindow(const URLRequest&);
    // window.close().
    void closeWindow();
    void setTitle(std::string);

protected:
    WebView(const ui::Rect& frame, std::shared_ptr<WebViewConfiguration>);

private:
    struct Pending {
        std::shared_ptr<Navigation> navigation;
        URLRequest request;
        std::optional<std::string> html;
        std::optional<base::URL> baseURL;
        std::optional<base::URL> readAccessURL;
        bool started = false;
    };

    std::shared_ptr<Navigation> begin(Pending);
    void start(uint64_t identifier);
    void complete(uint64_t identifier);
    // Forgets the load running, telling the delegate when it had heard of its start.
    void cancelPending();
    // The document a load brings, or the error it fails with.
    base::Result<Document> fetch(const Pending&);
    void ensurePage();

    std::shared_ptr<WebViewConfiguration> m_configuration;
    std::weak_ptr<NavigationDelegate> m_navigationDelegate;
    std::weak_ptr<UIDelegate> m_uiDelegate;
    std::shared_ptr<Page> m_page;
    std::unique_ptr<Pending> m_pending;
    std::optional<Document> m_document;
    // What the current document was loaded from, for reload().
    std::optional<Pending> m_lastLoad;
    std::string m_title;
    std::vector<std::string> m_evaluatedScripts;
    uint64_t m_nextNavigation = 1;
};

} // namespace web
