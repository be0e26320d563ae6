#pragma once

// A page object for tests: it plays the page a web view shows. The test says which
// addresses serve which HTML, which scripts answer what or throw, and which messages the
// page posts when a document loads; it can also post a message at any moment, as a page
// script would. Everything the page was asked is recorded.
//
// Scripts are matched by prefix (the first rule whose prefix starts the script wins), so
// "launchImmersiveReader(" matches every launch call whatever its argument. A script no
// rule matches throws, as calling an undefined function does.

#include "platform/web/WebView.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace uitest {

class ScriptedWebPage : public web::Page, public std::enable_shared_from_this<ScriptedWebPage> {
public:
    using ScriptRule = std::function<base::Result<base::Value>(const std::string& script)>;

    static std::shared_ptr<ScriptedWebPage> create() { return std::make_shared<ScriptedWebPage>(); }

    // Plugs this page into every web view that loads without one (the product's own
    // views); unplug() undoes it. The page plays one view at a time: the latest.
    void plugIntoEveryWebView();
    static void unplug();

    void serve(const std::string& url, std::string html);
    void failToServe(const std::string& url, base::Error);

    void answerScript(std::string prefix, base::Value result);
    void rejectScript(std::string prefix, const std::string& exceptionMessage);
    void onScript(std::string prefix, ScriptRule);

    // Posted when a document has loaded (before the view reports the finished load),
    // in order.
    void postOnLoad(std::string handlerName, base::Value body);
    // Fails the next loaded document (didFailNavigation) with the error.
    void failNextLoad(base::Error);

    // Posts now through the view the page last played; false when there is none or no
    // handler has the name.
    bool post(const std::string& handlerName, base::Value body);
    // Opens a window through the view's UI delegate, as window.open does.
    std::shared_ptr<web::WebView> open(const std::string& url);
    std::shared_ptr<web::WebView> webView() const { return m_webView.lock(); }

    const std::vector<web::Document>& loadedDocuments() const { return m_documents; }
    const std::vector<std::string>& evaluatedScripts() const { return m_scripts; }
    // Messages the page tried to post, with whether a handler took them.
    struct PostedMessage {
        std::string name;
        base::Value body;
        bool delivered = false;
    };
    const std::vector<PostedMessage>& postedMessages() const { return m_posted; }

    // --- web::Page ---
    base::Result<std::string> serve(web::WebView&, const web::URLRequest&) override;
    std::optional<base::Error> didLoad(web::WebView&, const web::Document&) override;
    base::Result<base::Value> evaluate(web::WebView&, const std::string& script) override;

private:
    std::vector<std::pair<std::string, std::string>> m_served;
    std::vector<std::pair<std::string, base::Error>> m_failures;
    std::vector<std::pair<std::string, ScriptRule>> m_rules;
    std::vector<std::pair<std::string, base::Value>> m_onLoad;
    std::optional<base::Error> m_nextLoadFailure;
    std::weak_ptr<web::WebView> m_webView;
    std::vector<web::Document> m_documents;
    std::vector<std::string> m_scripts;
    std::vector<PostedMessage> m_posted;
};

} // namespace uitest
