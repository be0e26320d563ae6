#include "platform/testing/ScriptedWebPage.h"

namespace uitest {

void ScriptedWebPage::plugIntoEveryWebView()
{
    std::weak_ptr<ScriptedWebPage> weak = shared_from_this();
    web::WebView::setPageFactory([weak](web::WebView&) -> std::shared_ptr<web::Page> { return weak.lock(); });
}

void ScriptedWebPage::unplug()
{
    web::WebView::setPageFactory(nullptr);
}

void ScriptedWebPage::serve(const std::string& url, std::string html)
{
    m_served.emplace_back(url, std::move(html));
}

void ScriptedWebPage::failToServe(const std::string& url, base::Error error)
{
    m_failures.emplace_back(url, std::move(error));
}

void ScriptedWebPage::answerScript(std::string prefix, base::Value result)
{
    onScript(std::move(prefix), [result](const std::string&) -> base::Result<base::Value> { return result; });
}

void ScriptedWebPage::rejectScript(std::string prefix, const std::string& exceptionMessage)
{
    onScript(std::move(prefix), [exceptionMessage](const std::string&) -> base::Result<base::Value> {
        return web::javaScriptException(exceptionMessage);
    });
}

void ScriptedWebPage::onScript(std::string prefix, ScriptRule rule)
{
    m_rules.emplace_back(std::move(prefix), std::move(rule));
}

void ScriptedWebPage::postOnLoad(std::string handlerName, base::Value body)
{
    m_onLoad.emplace_back(std::move(handlerName), std::move(body));
}

void ScriptedWebPage::failNextLoad(base::Error error)
{
    m_nextLoadFailure = std::move(error);
}

bool ScriptedWebPage::post(const std::string& handlerName, base::Value body)
{
    auto view = m_webView.lock();
    bool delivered = view && view->postScriptMessage(handlerName, body);
    m_posted.push_back({ handlerName, std::move(body), delivered });
    return delivered;
}

std::shared_ptr<web::WebView> ScriptedWebPage::open(const std::string& url)
{
    auto view = m_webView.lock();
    auto parsed = base::URL::parse(url);
    if (!view || !parsed)
        return nullptr;
    return view->openWindow(web::URLRequest(*parsed));
}

base::Result<std::string> ScriptedWebPage::serve(web::WebView& view, const web::URLRequest& request)
{
    m_webView = std::static_pointer_cast<web::WebView>(view.shared_from_this());
    const std::string& url = request.url.absoluteString();
    for (const auto& [failing, error] : m_failures) {
        if (failing == url)
            return error;
    }
    for (const auto& [served, html] : m_served) {
        if (served == url)
            return html;
    }
    return web::Page::serve(view, request);
}

std::optional<base::Error> ScriptedWebPage::didLoad(web::WebView& view, const web::Document& document)
{
    m_webView = std::static_pointer_cast<web::WebView>(view.shared_from_this());
    m_documents.push_back(document);
    if (m_nextLoadFailure) {
        auto failure = std::move(m_nextLoadFailure);
        m_nextLoadFailure.reset();
        return failure;
    }
    for (const auto& [name, body] : m_onLoad)
        post(name, body);
    return std::nullopt;
}

base::Result<base::Value> ScriptedWebPage::evaluate(web::WebView& view, const std::string& script)
{
    m_webView = std::static_pointer_cast<web::WebView>(view.shared_from_this());
    m_scripts.push_back(script);
    for (const auto& [prefix, rule] : m_rules) {
        if (script.compare(0, prefix.size(), prefix) == 0)
            return rule(script);
    }
    return web::javaScriptException("ReferenceError: the page defines nothing the script calls");
}

} // namespace uitest
