#include "platform/web/WebView.h"

#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace web {

namespace {

WebView::PageFactory& pageFactory()
{
    static WebView::PageFactory factory;
    return factory;
}

base::Error urlError(int code, const std::string& description, const base::URL& url)
{
    base::Error error = base::Error::make(urlErrorDomain, code, description);
    if (auto* info = error.userInfo.asDictionary())
        info->set("NSErrorFailingURLStringKey", base::Value(url.absoluteString()));
    return error;
}

base::URL blankURL()
{
    return *base::URL::parse("about:blank");
}

// A folder, or a file, holds the path (after "." and ".." are resolved).
bool isWithin(const std::filesystem::path& path, const std::filesystem::path& access)
{
    std::error_code error;
    auto file = std::filesystem::weakly_canonical(path, error);
    if (error)
        return false;
    auto root = std::filesystem::weakly_canonical(access, error);
    if (error)
        return false;
    if (file == root)
        return true;
    auto fileText = file.string();
    auto rootText = root.string();
    if (!rootText.empty() && rootText.back() != '/')
        rootText += '/';
    return fileText.compare(0, rootText.size(), rootText) == 0;
}

std::string titleOf(const std::string& html)
{
    auto lower = base::lowercase(html);
    size_t open = lower.find("<title");
    if (open == std::string::npos)
        return {};
    size_t start = lower.find('>', open);
    size_t end = lower.find("</title>", start == std::string::npos ? open : start);
    if (start == std::string::npos || end == std::string::npos)
        return {};
    return base::trimWhitespaceAndNewlines(html.substr(start + 1, end - start - 1));
}

} // namespace

base::Error javaScriptException(const std::string& message)
{
    base::Error error = base::Error::make(webKitErrorDomain, errorJavaScriptExceptionOccurred,
        "A JavaScript exception occurred");
    if (auto* info = error.userInfo.asDictionary())
        info->set(javaScriptExceptionMessageKey, base::Value(message));
    return error;
}

// --- UserContentController ---

std::shared_ptr<UserContentController> UserContentController::create()
{
    return std::shared_ptr<UserContentController>(new UserContentController());
}

bool UserContentController::addScriptMessageHandler(std::weak_ptr<ScriptMessageHandler> handler,
    const std::string& name)
{
    BASE_ASSERT_MAIN_THREAD();
    if (name.empty())
        return false;
    for (const auto& entry : m_handlers) {
        if (entry.first == name)
            return false;
    }
    m_handlers.emplace_back(name, std::move(handler));
    return true;
}

void UserContentController::removeScriptMessageHandlerForName(const std::string& name)
{
    BASE_ASSERT_MAIN_THREAD();
    std::erase_if(m_handlers, [&](const auto& entry) { return entry.first == name; });
}

void UserContentController::removeAllScriptMessageHandlers()
{
    BASE_ASSERT_MAIN_THREAD();
    m_handlers.clear();
}

std::vector<std::string> UserContentController::scriptMessageHandlerNames() const
{
    std::vector<std::string> names;
    for (const auto& entry : m_handlers)
        names.push_back(entry.first);
    return names;
}

std::shared_ptr<ScriptMessageHandler> UserContentController::handlerForName(const std::string& name) const
{
    for (const auto& entry : m_handlers) {
        if (entry.first == name)
            return entry.second.lock();
    }
    return nullptr;
}

// --- Page ---

base::Result<std::string> Page::serve(WebView&, const URLRequest& request)
{
    return urlError(errorNotConnectedToInternet, "The Internet connection appears to be offline.", request.url);
}

base::Result<base::Value> Page::evaluate(WebView&, const std::string&)
{
    return javaScriptException("The page runs no scripts.");
}

// --- WebView ---

std::shared_ptr<WebView> WebView::create(const ui::Rect& frame, std::shared_ptr<WebViewConfiguration> configuration)
{
    if (!configuration)
        configuration = WebViewConfiguration::create();
    if (!configuration->userContentController)
        configuration->userContentController = UserContentController::create();
    return std::shared_ptr<WebView>(new WebView(frame, std::move(configuration)));
}

WebView::WebView(const ui::Rect& frame, std::shared_ptr<WebViewConfiguration> configuration)
    : ui::View(frame)
    , m_configuration(std::move(configuration))
{
}

WebView::~WebView() = default;

void WebView::setNavigationDelegate(std::weak_ptr<NavigationDelegate> delegate)
{
    BASE_ASSERT_MAIN_THREAD();
    m_navigationDelegate = std::move(delegate);
}

void WebView::setUIDelegate(std::weak_ptr<UIDelegate> delegate)
{
    BASE_ASSERT_MAIN_THREAD();
    m_uiDelegate = std::move(delegate);
}

void WebView::setPage(std::shared_ptr<Page> page)
{
    BASE_ASSERT_MAIN_THREAD();
    m_page = std::move(page);
}

void WebView::setPageFactory(PageFactory factory)
{
    BASE_ASSERT_MAIN_THREAD();
    pageFactory() = std::move(factory);
}

void WebView::ensurePage()
{
    if (!m_page && pageFactory())
        m_page = pageFactory()(*this);
}

std::shared_ptr<Navigation> WebView::load(const URLRequest& request)
{
    Pending pending { nullptr, request, std::nullopt, std::nullopt, std::nullopt };
    if (request.url.isFileURL())
        pending.readAccessURL = request.url;
    return begin(std::move(pending));
}

std::shared_ptr<Navigation> WebView::loadHTMLString(const std::string& html, const std::optional<base::URL>& baseURL)
{
    return begin({ nullptr, URLRequest(baseURL.value_or(blankURL())), html, baseURL, std::nullopt });
}

std::shared_ptr<Navigation> WebView::loadFileURL(const base::URL& url, const base::URL& readAccessURL)
{
    if (!url.isFileURL() || !readAccessURL.isFileURL() || !isWithin(url.path(), readAccessURL.path()))
        return nullptr;
    return begin({ nullptr, URLRequest(url), std::nullopt, std::nullopt, readAccessURL });
}

std::shared_ptr<Navigation> WebView::reload()
{
    if (!m_lastLoad)
        return nullptr;
    Pending again = *m_lastLoad;
    return begin(std::move(again));
}

std::shared_ptr<Navigation> WebView::begin(Pending pending)
{
    BASE_ASSERT_MAIN_THREAD();
    cancelPending();
    uint64_t identifier = m_nextNavigation++;
    pending.navigation = std::make_shared<Navigation>(identifier);
    pending.started = false;
    m_pending = std::make_unique<Pending>(std::move(pending));
    std::weak_ptr<WebView> weak = std::static_pointer_cast<WebView>(shared_from_this());
    base::RunLoop::main().post(weak, [weak, identifier] {
        if (auto self = weak.lock())
            self->start(identifier);
    });
    return m_pending->navigation;
}

void WebView::start(uint64_t identifier)
{
    if (!m_pending || m_pending->navigation->identifier() != identifier)
        return;
    m_pending->started = true;
    auto navigation = m_pending->navigation;
    if (auto delegate = navigationDelegate())
        delegate->didStartProvisionalNavigation(*this, *navigation);
    std::weak_ptr<WebView> weak = std::static_pointer_cast<WebView>(shared_from_this());
    base::RunLoop::main().post(weak, [weak, identifier] {
        if (auto self = weak.lock())
            self->complete(identifier);
    });
}

base::Result<Document> WebView::fetch(const Pending& pending)
{
    const base::URL& url = pending.request.url;
    if (pending.html)
        return Document { url, *pending.html, pending.baseURL };
    if (url.isFileURL()) {
        std::string path = url.path();
        std::error_code error;
        if (!std::filesystem::exists(path, error))
            return urlError(errorFileDoesNotExist, "The requested URL was not found on this server.", url);
        if (!pending.readAccessURL || !isWithin(path, pending.readAccessURL->path())
            || std::filesystem::is_directory(path, error))
            return urlError(errorNoPermissionsToReadFile, "The file could not be read.", url);
        std::ifstream file(path, std::ios::binary);
        if (!file)
            return urlError(errorNoPermissionsToReadFile, "The file could not be read.", url);
        std::ostringstream text;
        text << file.rdbuf();
        return Document { url, text.str(), std::nullopt };
    }
    if (url.scheme() == "about")
        return Document { url, {}, std::nullopt };
    if (url.scheme() == "http" || url.scheme() == "https") {
        ensurePage();
        Page fallback;
        auto served = m_page ? m_page->serve(*this, pending.request) : fallback.serve(*this, pending.request);
        if (!served)
            return served.error();
        return Document { url, std::move(*served), std::nullopt };
    }
    return urlError(errorUnsupportedURL, "unsupported URL", url);
}

void WebView::complete(uint64_t identifier)
{
    if (!m_pending || m_pending->navigation->identifier() != identifier)
        return;
    auto protect = shared_from_this();
    std::unique_ptr<Pending> pending = std::move(m_pending);
    auto navigation = pending->navigation;
    auto fetched = fetch(*pending);
    if (!fetched) {
        if (auto delegate = navigationDelegate())
            delegate->didFailProvisionalNavigation(*this, *navigation, fetched.error());
        return;
    }
    m_document = std::move(*fetched);
    m_title = titleOf(m_document->html);
    m_lastLoad = *pending;
    if (auto delegate = navigationDelegate())
        delegate->didCommitNavigation(*this, *navigation);
    // The page (or the delegate) may have started another load meanwhile: that load
    // reports for itself, and this one ends here.
    if (m_pending)
        return;
    ensurePage();
    std::optional<base::Error> failure;
    if (m_page)
        failure = m_page->didLoad(*this, *m_document);
    if (m_pending)
        return;
    if (auto delegate = navigationDelegate()) {
        if (failure)
            delegate->didFailNavigation(*this, *navigation, *failure);
        else
            delegate->didFinishNavigation(*this, *navigation);
    }
}

void WebView::cancelPending()
{
    if (!m_pending)
        return;
    std::unique_ptr<Pending> cancelled = std::move(m_pending);
    if (!cancelled->started)
        return;
    if (auto delegate = navigationDelegate())
        delegate->didFailProvisionalNavigation(*this, *cancelled->navigation,
            urlError(errorCancelled, "cancelled", cancelled->request.url));
}

void WebView::stopLoading()
{
    BASE_ASSERT_MAIN_THREAD();
    cancelPending();
}

void WebView::evaluateJavaScript(const std::string& script, EvaluationCompletion completion)
{
    BASE_ASSERT_MAIN_THREAD();
    m_evaluatedScripts.push_back(script);
    std::weak_ptr<WebView> weak = std::static_pointer_cast<WebView>(shared_from_this());
    // Not bound to the view: a caller waiting for the answer hears that the view is gone.
    base::RunLoop::main().post([weak, script, completion = std::move(completion)] {
        auto self = weak.lock();
        if (!self) {
            if (completion)
                completion(base::Value(), base::Error::make(webKitErrorDomain, errorWebViewInvalidated,
                                              "The web view was invalidated"));
            return;
        }
        self->ensurePage();
        base::Result<base::Value> answer = self->m_page ? self->m_page->evaluate(*self, script)
                                                        : base::Result<base::Value>(javaScriptException(
                                                            "The page runs no scripts."));
        if (!completion)
            return;
        if (answer)
            completion(*answer, std::nullopt);
        else
            completion(base::Value(), answer.error());
    });
}

bool WebView::postScriptMessage(const std::string& name, base::Value body)
{
    BASE_ASSERT_MAIN_THREAD();
    auto controller = m_configuration->userContentController;
    if (!controller || !controller->handlerForName(name))
        return false;
    std::weak_ptr<WebView> weak = std::static_pointer_cast<WebView>(shared_from_this());
    base::RunLoop::main().post(weak, [weak, controller, name, body = std::move(body)] {
        // A handler removed (or gone) before delivery hears nothing.
        auto handler = controller->handlerForName(name);
        if (!handler)
            return;
        handler->didReceiveScriptMessage(*controller, ScriptMessage { name, body, weak });
    });
    return true;
}

std::shared_ptr<WebView> WebView::openWindow(const URLRequest& request)
{
    BASE_ASSERT_MAIN_THREAD();
    auto delegate = uiDelegate();
    if (!delegate)
        return nullptr;
    auto configuration = std::make_shared<WebViewConfiguration>(*m_configuration);
    NavigationAction action { request, NavigationType::Other, true };
    auto window = delegate->createWebViewWithConfiguration(*this, configuration, action);
    if (window)
        window->load(request);
    return window;
}

void WebView::closeWindow()
{
    BASE_ASSERT_MAIN_THREAD();
    std::weak_ptr<WebView> weak = std::static_pointer_cast<WebView>(shared_from_this());
    base::RunLoop::main().post(weak, [weak] {
        auto self = weak.lock();
        if (auto delegate = self ? self->uiDelegate() : nullptr)
            delegate->webViewDidClose(*self);
    });
}

void WebView::setTitle(std::string title)
{
    BASE_ASSERT_MAIN_THREAD();
    m_title = std::move(title);
}

} // namespace web
