#pragma once

// The framework's web player: a full-screen web page over the reader with a close
// button, for web activities, standards activities and web markups. A file address is
// loaded with read access to its own folder; a web address as a request.
//
// Closing tells the delegate didCloseWebPlayer, then webPLayerDidClosed. A load that
// fails reports webPlayerDidFailedWithError; a page asking for a new window is answered
// by the delegate's createLectoroPlayerWebView (refused without one).

#include "platform/base/Error.h"
#include "platform/base/URL.h"
#include "platform/ui/Button.h"
#include "platform/ui/Color.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <optional>
#include <string>

namespace web {
class WebView;
struct NavigationAction;
struct WebViewConfiguration;
} // namespace web

namespace lectoro {

class LectoroBookVO;
class LectoroWebPlayer;
class PXLinkVO;

class LectoroWebPlayerDelegate {
public:
    virtual ~LectoroWebPlayerDelegate() = default;
    virtual void didCloseWebPlayer(LectoroWebPlayer&) = 0;
    // A SCORM package's last learner data, before the player goes.
    virtual void webPlayerWillCloseWithScormData(const std::string& /*scormData*/,
        const std::string& /*activityName*/, const std::string& /*scormID*/, const std::string& /*pageID*/)
    {
    }
    virtual void webPLayerDidClosed() { }
    virtual void webPlayerDidFailedWithError(const base::Error&) { }
    // A window the page opened; null refuses it.
    virtual std::shared_ptr<web::WebView> createLectoroPlayerWebView(
        web::WebView&, const std::shared_ptr<web::WebViewConfiguration>&, const web::NavigationAction&)
    {
        return nullptr;
    }
};

class LectoroWebPlayer : public ui::ViewController {
public:
    // initWithURL:withLinkVO:WithBook:
    static std::shared_ptr<LectoroWebPlayer> create(
        base::URL url, std::shared_ptr<PXLinkVO> link, std::shared_ptr<LectoroBookVO> book);
    // initWithURL:configuration: (a request for the address and the view's configuration).
    static std::shared_ptr<LectoroWebPlayer> create(
        base::URL url, std::shared_ptr<web::WebViewConfiguration>);
    ~LectoroWebPlayer() override;
    std::string_view className() const override { return "LectoroWebPlayer"; }
    void viewDidLoad() override;

    const base::URL& url() const { return m_url; }
    const std::shared_ptr<PXLinkVO>& link() const { return m_link; }
    std::shared_ptr<LectoroWebPlayerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<LectoroWebPlayerDelegate> delegate) { m_delegate = std::move(delegate); }
    void setThemeColorToView(const ui::Color&);
    const std::optional<ui::Color>& themeColor() const { return m_themeColor; }
    void setDoneButtonTitle(const std::string&);

    const std::shared_ptr<web::WebView>& webView();
    const std::shared_ptr<ui::Button>& closeButton() const { return m_closeButton; }

    // The close button's tap.
    virtual void close();

protected:
    LectoroWebPlayer(base::URL, std::shared_ptr<PXLinkVO>, std::shared_ptr<LectoroBookVO>);
    void reportClosed();

private:
    class WebDelegates;

    base::URL m_url;
    std::shared_ptr<PXLinkVO> m_link;
    std::shared_ptr<LectoroBookVO> m_book;
    std::shared_ptr<web::WebViewConfiguration> m_configuration;
    std::weak_ptr<LectoroWebPlayerDelegate> m_delegate;
    std::optional<ui::Color> m_themeColor;
    std::shared_ptr<web::WebView> m_webView;
    std::shared_ptr<ui::Button> m_closeButton;
    std::shared_ptr<WebDelegates> m_webDelegates;
    std::string m_doneTitle = "Close";
};

} // namespace lectoro
