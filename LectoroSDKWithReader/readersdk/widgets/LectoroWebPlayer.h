#pragma once

// The framework's web player: a full-screen web page over the reader with a close
// button, for web activities, standards activities and web markups. A file address is
// loaded with read access to its own folder; a web address as a request.

#include "platform/base/URL.h"
#include "platform/ui/Button.h"
#include "platform/ui/Color.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <optional>

namespace web {
class WebView;
}

namespace lectoro {

class LectoroBookVO;
class LectoroWebPlayer;
class PXLinkVO;

class LectoroWebPlayerDelegate {
public:
    virtual ~LectoroWebPlayerDelegate() = default;
    virtual void didCloseWebPlayer(LectoroWebPlayer&) = 0;
};

class LectoroWebPlayer : public ui::ViewController {
public:
    static std::shared_ptr<LectoroWebPlayer> create(
        base::URL url, std::shared_ptr<PXLinkVO> link, std::shared_ptr<LectoroBookVO> book);
    std::string_view className() const override { return "LectoroWebPlayer"; }
    void viewDidLoad() override;

    const base::URL& url() const { return m_url; }
    const std::shared_ptr<PXLinkVO>& link() const { return m_link; }
    std::shared_ptr<LectoroWebPlayerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<LectoroWebPlayerDelegate> delegate) { m_delegate = std::move(delegate); }
    void setThemeColorToView(const ui::Color&);
    const std::optional<ui::Color>& themeColor() const { return m_themeColor; }

    const std::shared_ptr<web::WebView>& webView() const { return m_webView; }
    const std::shared_ptr<ui::Button>& closeButton() const { return m_closeButton; }

protected:
    LectoroWebPlayer(base::URL, std::shared_ptr<PXLinkVO>, std::shared_ptr<LectoroBookVO>);

private:
    base::URL m_url;
    std::shared_ptr<PXLinkVO> m_link;
    std::shared_ptr<LectoroBookVO> m_book;
    std::weak_ptr<LectoroWebPlayerDelegate> m_delegate;
    std::optional<ui::Color> m_themeColor;
    std::shared_ptr<web::WebView> m_webView;
    std::shared_ptr<ui::Button> m_closeButton;
};

} // namespace lectoro
