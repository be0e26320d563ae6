#include "LectoroSDKWithReader/readersdk/widgets/LectoroWebPlayer.h"

#include "platform/web/WebView.h"

namespace lectoro {

// The web view's delegates, held weakly by the view: failures and new windows go to
// the player's delegate.
class LectoroWebPlayer::WebDelegates final : public web::NavigationDelegate, public web::UIDelegate {
public:
    explicit WebDelegates(LectoroWebPlayer& owner)
        : m_owner(owner)
    {
    }
    void didFailProvisionalNavigation(
        web::WebView&, const web::Navigation&, const base::Error& error) override
    {
        if (auto delegate = m_owner.delegate())
            delegate->webPlayerDidFailedWithError(error);
    }
    void didFailNavigation(web::WebView&, const web::Navigation&, const base::Error& error) override
    {
        if (auto delegate = m_owner.delegate())
            delegate->webPlayerDidFailedWithError(error);
    }
    std::shared_ptr<web::WebView> createWebViewWithConfiguration(web::WebView& view,
        const std::shared_ptr<web::WebViewConfiguration>& configuration,
        const web::NavigationAction& action) override
    {
        auto delegate = m_owner.delegate();
        return delegate ? delegate->createLectoroPlayerWebView(view, configuration, action) : nullptr;
    }

private:
    LectoroWebPlayer& m_owner;
};

std::shared_ptr<LectoroWebPlayer> LectoroWebPlayer::create(
    base::URL url, std::shared_ptr<PXLinkVO> link, std::shared_ptr<LectoroBookVO> book)
{
    return std::shared_ptr<LectoroWebPlayer>(
        new LectoroWebPlayer(std::move(url), std::move(link), std::move(book)));
}

std::shared_ptr<LectoroWebPlayer> LectoroWebPlayer::create(
    base::URL url, std::shared_ptr<web::WebViewConfiguration> configuration)
{
    auto player = create(std::move(url), nullptr, nullptr);
    player->m_configuration = std::move(configuration);
    return player;
}

LectoroWebPlayer::LectoroWebPlayer(
    base::URL url, std::shared_ptr<PXLinkVO> link, std::shared_ptr<LectoroBookVO> book)
    : m_url(std::move(url))
    , m_link(std::move(link))
    , m_book(std::move(book))
    , m_webDelegates(std::make_shared<WebDelegates>(*this))
{
}

LectoroWebPlayer::~LectoroWebPlayer() = default;

void LectoroWebPlayer::setThemeColorToView(const ui::Color& colour)
{
    m_themeColor = colour;
    if (m_closeButton)
        m_closeButton->setTitleColor(colour);
}

void LectoroWebPlayer::setDoneButtonTitle(const std::string& title)
{
    m_doneTitle = title;
    if (m_closeButton)
        m_closeButton->setTitle(title);
}

const std::shared_ptr<web::WebView>& LectoroWebPlayer::webView()
{
    if (!m_webView)
        view();
    return m_webView;
}

void LectoroWebPlayer::viewDidLoad()
{
    ViewController::viewDidLoad();
    auto root = view();
    root->setBackgroundColor(ui::Color::white());
    m_webView = web::WebView::create(root->bounds(), m_configuration);
    m_webView->setAutoresizingMask(
        ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    m_webView->setNavigationDelegate(m_webDelegates);
    m_webView->setUIDelegate(m_webDelegates);
    root->addSubview(m_webView);
    m_closeButton = ui::Button::create(ui::Rect { 8, 8, 44, 44 });
    m_closeButton->setTitle(m_doneTitle);
    if (m_themeColor)
        m_closeButton->setTitleColor(*m_themeColor);
    std::weak_ptr<LectoroWebPlayer> weak = std::static_pointer_cast<LectoroWebPlayer>(shared_from_this());
    m_closeButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto player = weak.lock())
            player->close();
    });
    root->addSubview(m_closeButton);
    if (m_url.isFileURL())
        m_webView->loadFileURL(m_url, m_url.deletingLastPathComponent());
    else
        m_webView->load(web::URLRequest(m_url));
}

void LectoroWebPlayer::close()
{
    reportClosed();
}

void LectoroWebPlayer::reportClosed()
{
    auto protect = shared_from_this();
    if (auto delegate = this->delegate()) {
        delegate->didCloseWebPlayer(*this);
        delegate->webPLayerDidClosed();
    }
}

} // namespace lectoro
