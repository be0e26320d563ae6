#include "LectoroSDKWithReader/readersdk/widgets/LectoroWebPlayer.h"

#include "platform/web/WebView.h"

namespace lectoro {

std::shared_ptr<LectoroWebPlayer> LectoroWebPlayer::create(
    base::URL url, std::shared_ptr<PXLinkVO> link, std::shared_ptr<LectoroBookVO> book)
{
    return std::shared_ptr<LectoroWebPlayer>(
        new LectoroWebPlayer(std::move(url), std::move(link), std::move(book)));
}

LectoroWebPlayer::LectoroWebPlayer(
    base::URL url, std::shared_ptr<PXLinkVO> link, std::shared_ptr<LectoroBookVO> book)
    : m_url(std::move(url))
    , m_link(std::move(link))
    , m_book(std::move(book))
{
}

void LectoroWebPlayer::setThemeColorToView(const ui::Color& colour)
{
    m_themeColor = colour;
    if (m_closeButton)
        m_closeButton->setTitleColor(colour);
}

void LectoroWebPlayer::viewDidLoad()
{
    ViewController::viewDidLoad();
    auto root = view();
    root->setBackgroundColor(ui::Color::white());
    m_webView = web::WebView::create(root->bounds());
    m_webView->setAutoresizingMask(
        ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    root->addSubview(m_webView);
    m_closeButton = ui::Button::create(ui::Rect { 8, 8, 44, 44 });
    m_closeButton->setTitle(std::string("Close"));
    if (m_themeColor)
        m_closeButton->setTitleColor(*m_themeColor);
    std::weak_ptr<LectoroWebPlayer> weak = std::static_pointer_cast<LectoroWebPlayer>(shared_from_this());
    m_closeButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        auto player = weak.lock();
        if (!player)
            return;
        if (auto delegate = player->delegate())
            delegate->didCloseWebPlayer(*player);
    });
    root->addSubview(m_closeButton);
    if (m_url.isFileURL())
        m_webView->loadFileURL(m_url, m_url.deletingLastPathComponent());
    else
        m_webView->load(web::URLRequest(m_url));
}

} // namespace lectoro
