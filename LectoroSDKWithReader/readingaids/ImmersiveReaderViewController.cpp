#include "LectoroSDKWithReader/readingaids/ImmersiveReaderViewController.h"

#include "LectoroSDKWithReader/foundation/FoundationLog.h"
#include "platform/base/Bundle.h"
#include "platform/base/UserDefaults.h"
#include "platform/ui/Constraint.h"

#include <fstream>
#include <sstream>

namespace lectoro {

namespace {

std::optional<std::string> readWhole(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad())
        return std::nullopt;
    return text.str();
}

// The stored preferences when they are text.
std::optional<std::string> storedPreferences(const base::UserDefaults& defaults)
{
    auto stored = defaults.objectForKey(immersiveReaderPreferencesKey);
    if (!stored)
        return std::nullopt;
    return stored->asString();
}

} // namespace

std::shared_ptr<ImmersiveReaderWebView> ImmersiveReaderWebView::create(
    const ui::Rect& frame, std::shared_ptr<web::UserContentController> controller)
{
    auto configuration = web::WebViewConfiguration::create();
    if (controller)
        configuration->userContentController = std::move(controller);
    return std::shared_ptr<ImmersiveReaderWebView>(
        new ImmersiveReaderWebView(frame, std::move(configuration)));
}

ImmersiveReaderWebView::ImmersiveReaderWebView(
    const ui::Rect& frame, std::shared_ptr<web::WebViewConfiguration> configuration)
    : web::WebView(frame, std::move(configuration))
{
}

const std::vector<std::string>& ImmersiveReaderViewController::scriptMessageNames()
{
    static const std::vector<std::string> names { "readyForContent", "launchSuccessful", "tokenExpired",
        "throttled", "invalidMessagePassed", "onExit", "onPreferencesChanged" };
    return names;
}

std::shared_ptr<ImmersiveReaderViewController> ImmersiveReaderViewController::create(std::string token,
    std::string subdomain, std::shared_ptr<Content> content, std::shared_ptr<Options> options,
    std::shared_ptr<ImmersiveReaderDelegate> delegate)
{
    if (!content || content->chunks.empty()) {
        if (delegate)
            delegate->didFinishLaunching(NError("BadArgument", "Chunks must not be empty."));
        return nullptr;
    }
    return std::shared_ptr<ImmersiveReaderViewController>(new ImmersiveReaderViewController(
        std::move(token), std::move(subdomain), std::move(content), std::move(options), std::move(delegate)));
}

ImmersiveReaderViewController::ImmersiveReaderViewController(std::string token, std::string subdomain,
    std::shared_ptr<Content> content, std::shared_ptr<Options> options,
    std::shared_ptr<ImmersiveReaderDelegate> delegate)
    : m_token(std::move(token))
    , m_subdomain(std::move(subdomain))
    , m_content(std::move(content))
    , m_options(std::move(options))
    , m_delegate(std::move(delegate))
    , m_userDefaults(base::UserDefaults::standard())
{
    // The page's last preferences win over the caller's; without stored ones the caller's
    // stay. A caller without options still gets the stored ones back to the page.
    if (auto stored = storedPreferences(m_userDefaults)) {
        if (!m_options)
            m_options = std::make_shared<Options>();
        m_options->preferences = std::move(stored);
    }
}

ImmersiveReaderViewController::~ImmersiveReaderViewController()
{
    if (m_webView)
        m_webView->configuration()->userContentController->removeAllScriptMessageHandlers();
}

Message ImmersiveReaderViewController::launchMessage() const
{
    return Message { m_token, m_subdomain, m_content, m_options };
}

void ImmersiveReaderViewController::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    auto root = view();
    root->setBackgroundColor(ui::Color::white());

    auto userContent = web::UserContentController::create();
    auto self = std::static_pointer_cast<ImmersiveReaderViewController>(shared_from_this());
    for (const auto& name : scriptMessageNames())
        userContent->addScriptMessageHandler(std::weak_ptr<web::ScriptMessageHandler>(self), name);
    auto configuration = web::WebViewConfiguration::create();
    configuration->userContentController = userContent;
    m_webView = web::WebView::create({}, configuration);
    m_webView->setNavigationDelegate(std::weak_ptr<web::NavigationDelegate>(self));
    root->addSubview(m_webView);

    m_webView->setTranslatesAutoresizingMaskIntoConstraints(false);
    auto guide = root->safeAreaLayoutGuide();
    for (const auto& constraint : { m_webView->leadingAnchor().constraintEqualTo(guide->leadingAnchor()),
             m_webView->trailingAnchor().constraintEqualTo(guide->trailingAnchor()),
             m_webView->topAnchor().constraintEqualTo(guide->topAnchor()),
             m_webView->bottomAnchor().constraintEqualTo(guide->bottomAnchor()) })
        constraint->setActive(true);

    auto path = base::Bundle::library().pathForResource("ImmersiveReader", "html");
    auto html = path ? readWhole(*path) : std::nullopt;
    if (!html) {
        report(NError("Internal Error", "Could not get the contents of html file"));
        return;
    }
    m_webView->loadHTMLString(*html, std::nullopt);
}

void ImmersiveReaderViewController::viewDidDisappear(bool animated)
{
    ui::ViewController::viewDidDisappear(animated);
    m_didExit = true;
    reportExit();
    if (m_webView) {
        m_webView->load(web::URLRequest(*base::URL::parse("about:blank")));
        m_webView->removeFromSuperview();
    }
}

void ImmersiveReaderViewController::didFinishNavigation(web::WebView& webView, const web::Navigation&)
{
    if (m_didExit) {
        m_didExit = false;
        return;
    }
    std::weak_ptr<ImmersiveReaderViewController> weak
        = std::static_pointer_cast<ImmersiveReaderViewController>(shared_from_this());
    webView.evaluateJavaScript(
        launchScript(launchMessage()), [weak](const base::Value&, const std::optional<base::Error>& error) {
            auto self = weak.lock();
            if (self && error)
                self->report(NError("Internal Error", "Error in executing JavaScript in WkWebView."));
        });
}

void ImmersiveReaderViewController::didReceiveScriptMessage(
    web::UserContentController&, const web::ScriptMessage& message)
{
    auto protect = shared_from_this();
    const std::string& name = message.name;
    if (name == "onPreferencesChanged") {
        std::string preferences = message.body.description();
        systemLog("Message from webView: " + preferences);
        m_userDefaults.setString(immersiveReaderPreferencesKey, preferences);
        // A later launch of this session (the page reloading) carries them too.
        if (!m_options)
            m_options = std::make_shared<Options>();
        m_options->preferences = preferences;
    } else if (name == "launchSuccessful") {
        report(std::nullopt);
    } else if (name == "tokenExpired") {
        report(NError(immersiveReaderTokenExpiredCode, "The access token supplied is expired."));
    } else if (name == "throttled") {
        report(NError(immersiveReaderThrottledCode, "You have exceeded the call rate limit."));
    } else if (name == "invalidMessagePassed") {
        report(NError("Invalid message passed to Immersive Reader",
            "Please check if the message value passed is valid"));
    } else if (name == "onExit") {
        reportExit();
        dismissViewControllerAnimated(true);
    }
}

void ImmersiveReaderViewController::report(const std::optional<NError>& error)
{
    if (m_delegate)
        m_delegate->didFinishLaunching(error);
}

void ImmersiveReaderViewController::reportExit()
{
    if (m_exitReported)
        return;
    m_exitReported = true;
    if (m_delegate)
        m_delegate->didExitImmersiveReader();
}

} // namespace lectoro
