#pragma once

// The immersive-reader screen: a web view showing the library's "ImmersiveReader" page,
// launched with the message of ImmersiveReaderRecords.h once the page has loaded (and
// again after every later load of the page). The page reports through seven named script
// messages; the screen turns them into delegate calls, keeps the reader's preferences
// under "userPreferences" in the standard user defaults, and closes when the page says
// the user left.
//
// The delegate hears of one exit once: "onExit" and the screen's disappearance both end
// the session, whichever comes first tells it. Preferences stored earlier always reach
// the page, also when the caller passed no options.

#include "LectoroSDKWithReader/readingaids/ImmersiveReaderRecords.h"
#include "platform/ui/ViewController.h"
#include "platform/web/WebView.h"

#include <memory>
#include <optional>
#include <string>

namespace base {
class UserDefaults;
}

namespace lectoro {

class ImmersiveReaderDelegate {
public:
    virtual ~ImmersiveReaderDelegate() = default;
    // Nothing: the page launched. An error: what went wrong.
    virtual void didFinishLaunching(const std::optional<NError>&) = 0;
    virtual void didExitImmersiveReader() = 0;
};

// Codes of the errors the page reports for an expired token and for too many calls.
inline constexpr const char* immersiveReaderTokenExpiredCode = "TokenExpired";
inline constexpr const char* immersiveReaderThrottledCode = "Throttled";
// The user-defaults key of the reader's preferences, as the page reported them.
inline constexpr const char* immersiveReaderPreferencesKey = "userPreferences";

// A web view made with a fresh configuration holding the user-content controller given.
class ImmersiveReaderWebView : public web::WebView {
public:
    static std::shared_ptr<ImmersiveReaderWebView> create(
        const ui::Rect& frame, std::shared_ptr<web::UserContentController>);

private:
    ImmersiveReaderWebView(const ui::Rect& frame, std::shared_ptr<web::WebViewConfiguration>);
};

class ImmersiveReaderViewController : public ui::ViewController,
                                      public web::NavigationDelegate,
                                      public web::ScriptMessageHandler {
public:
    // The message names the page posts, in the order they are registered.
    static const std::vector<std::string>& scriptMessageNames();

    // Nothing when the content has no chunks (the delegate, when given, hears
    // "BadArgument" first).
    static std::shared_ptr<ImmersiveReaderViewController> create(std::string token, std::string subdomain,
        std::shared_ptr<Content>, std::shared_ptr<Options>, std::shared_ptr<ImmersiveReaderDelegate>);
    ~ImmersiveReaderViewController() override;

    std::string_view className() const override { return "ImmersiveReaderViewController"; }

    const std::shared_ptr<web::WebView>& webView() const { return m_webView; }
    const std::shared_ptr<Options>& options() const { return m_options; }
    const std::shared_ptr<Content>& content() const { return m_content; }
    bool didExit() const { return m_didExit; }
    // The message the next launch sends.
    Message launchMessage() const;

    void viewDidLoad() override;
    void viewDidDisappear(bool animated) override;

    // web::NavigationDelegate.
    void didFinishNavigation(web::WebView&, const web::Navigation&) override;
    // web::ScriptMessageHandler.
    void didReceiveScriptMessage(web::UserContentController&, const web::ScriptMessage&) override;

private:
    ImmersiveReaderViewController(std::string token, std::string subdomain, std::shared_ptr<Content>,
        std::shared_ptr<Options>, std::shared_ptr<ImmersiveReaderDelegate>);
    void report(const std::optional<NError>&);
    void reportExit();

    std::string m_token;
    std::string m_subdomain;
    std::shared_ptr<Content> m_content;
    std::shared_ptr<Options> m_options;
    std::shared_ptr<ImmersiveReaderDelegate> m_delegate;
    base::UserDefaults& m_userDefaults;
    std::shared_ptr<web::WebView> m_webView;
    bool m_didExit = false;
    // The delegate has heard of this session's exit.
    bool m_exitReported = false;
};

} // namespace lectoro
