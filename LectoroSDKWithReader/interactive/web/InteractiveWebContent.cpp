#include "LectoroSDKWithReader/interactive/web/InteractiveWebContent.h"

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/interactive/InteractiveReader.h"
#include "LectoroSDKWithReader/interactive/MarkupGeometry.h"
#include "LectoroSDKWithReader/interactive/MarkupTexts.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManager.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/widgets/InfomationPopOverContentViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/LectoroScormWebPlayer.h"
#include "platform/base/FileManager.h"
#include "platform/base/Strings.h"
#include "platform/base/Timer.h"
#include "platform/ui/Constraint.h"
#include "platform/web/WebView.h"

#include <algorithm>

namespace lectoro {

using Events = LectoroReaderEventConstant;

// The players' delegate seat, owned by the feature; a player outliving it reaches nothing.
class InteractiveWebContent::Delegates final : public LectoroWebPlayerDelegate {
public:
    explicit Delegates(InteractiveWebContent& owner)
        : m_owner(owner)
    {
    }
    void didCloseWebPlayer(LectoroWebPlayer&) override { }
    void webPlayerWillCloseWithScormData(const std::string& data, const std::string& activityName,
        const std::string& scormID, const std::string& pageID) override
    {
        m_owner.webPlayerWillCloseWithScormData(data, activityName, scormID, pageID);
    }
    void webPLayerDidClosed() override { m_owner.webPLayerDidClosed(); }
    void webPlayerDidFailedWithError(const base::Error& error) override
    {
        m_owner.webPlayerDidFailedWithError(error);
    }
    std::shared_ptr<web::WebView> createLectoroPlayerWebView(web::WebView& view,
        const std::shared_ptr<web::WebViewConfiguration>& configuration,
        const web::NavigationAction& action) override
    {
        return m_owner.createLectoroPlayerWebView(view, configuration, action);
    }

private:
    InteractiveWebContent& m_owner;
};

InteractiveWebContent::InteractiveWebContent(ReaderContext& context, InteractiveReader& reader)
    : m_context(context)
    , m_reader(reader)
    , m_delegates(std::make_shared<Delegates>(*this))
{
}

InteractiveWebContent::~InteractiveWebContent()
{
    stopScormTimer();
}

void InteractiveWebContent::notifyMarkupEvent(const std::string& value)
{
    if (m_context.analyticsHandler)
        m_context.analyticsHandler->notifyEvent(Events::markupEventName(),
            base::Value::Dictionary { { Events::markupEventParameterKey(), value } });
}

bool InteractiveWebContent::CheckIfSCORMType(const std::string& folder)
{
    std::string path = folder;
    if (folder.starts_with("file:")) {
        auto url = base::URL::parse(folder);
        if (!url)
            return false;
        path = url->path();
    } else if (folder.find("://") != std::string::npos) {
        // A package on the web is never run as SCORM: its manifest cannot be read here.
        return false;
    }
    if (path.empty())
        return false;
    bool isDirectory = false;
    return base::FileManager::defaultManager().fileExists(path + "/imsmanifest.xml", &isDirectory)
        && !isDirectory;
}

void InteractiveWebContent::webPlayer(const base::URL& url, const std::shared_ptr<PXLinkVO>& link)
{
    if (link) {
        switch (link->linkType) {
        case 15:
            notifyMarkupEvent(Events::markupEventLectoroWidgetParameterValue());
            break;
        case 12:
            notifyMarkupEvent(Events::markupEventHTMLActivityParameterValue());
            break;
        case 8:
            notifyMarkupEvent(Events::markupEventWebLinkParameterValue());
            break;
        default:
            break;
        }
    }
    std::shared_ptr<LectoroWebPlayer> player;
    if (CheckIfSCORMType(webPackageFolder(url.relativeString()))) {
        notifyMarkupEvent(Events::markupEventScormParameterValue());
        int64_t linkID = link ? link->linkID : 0;
        std::optional<std::string> stored;
        if (m_context.dbManager && m_context.user)
            stored = m_context.dbManager->fetchScormDataWithBookID(
                std::to_string(m_context.bookID), m_context.user->numericUserID(), std::to_string(linkID));
        player = LectoroScormWebPlayer::create(
            url, std::to_string(linkID), stored, link ? link->pageID : std::string {});
        stopScormTimer();
        std::weak_ptr<Delegates> weak = m_delegates;
        m_scormTimer = base::Timer::scheduled(10.0, true, [this, weak](base::Timer&) {
            if (weak.lock())
                saveScormData();
        });
    } else {
        player = LectoroWebPlayer::create(url, link, m_context.currentBook);
    }
    m_webPlayer = player;
    attach(player, true);
}

void InteractiveWebContent::webPlayer(const base::URL& url)
{
    auto player = LectoroWebPlayer::create(url, web::WebViewConfiguration::create());
    m_webPlayer = player;
    attach(player, false);
}

void InteractiveWebContent::attach(const std::shared_ptr<LectoroWebPlayer>& player, bool pinned)
{
    player->setDelegate(m_delegates);
    if (m_context.theme) {
        if (auto color = m_context.theme->top_toolbar_icons_color())
            player->setThemeColorToView(*color);
    }
    auto presenter = m_reader.presentingController();
    if (!presenter)
        return;
    presenter->addChildViewController(player);
    auto view = player->view();
    auto root = presenter->view();
    root->addSubview(view);
    view->setFrame(root->bounds());
    if (pinned) {
        view->setTranslatesAutoresizingMaskIntoConstraints(false);
        ui::Constraint::activate({ view->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
            view->trailingAnchor().constraintEqualTo(root->trailingAnchor()),
            view->topAnchor().constraintEqualTo(root->topAnchor()),
            view->bottomAnchor().constraintEqualTo(root->bottomAnchor()) });
    }
}

void InteractiveWebContent::stopScormTimer()
{
    if (m_scormTimer)
        m_scormTimer->invalidate();
    m_scormTimer = nullptr;
}

void InteractiveWebContent::storeScormData(const std::string& scormID, const std::string& data,
    const std::string& pageID, const std::string& activityName)
{
    if (!m_context.dbManager || !m_context.user)
        return;
    (void)m_context.dbManager->saveSCORMdataToDB(std::to_string(m_context.bookID),
        m_context.user->numericUserID(), scormID, data, m_context.classID, base::integerValue(pageID),
        activityName, false);
}

void InteractiveWebContent::saveScormData()
{
    auto scorm = std::dynamic_pointer_cast<LectoroScormWebPlayer>(m_webPlayer);
    if (!scorm)
        return;
    std::weak_ptr<Delegates> weak = m_delegates;
    scorm->getScormActivityData([this, weak](const std::string& data, const base::Value& information) {
        if (!weak.lock())
            return;
        storeScormData(information["ScormID"].asString().value_or(""), data,
            information["PageID"].description(), information["ActivityName"].asString().value_or(""));
    });
}

void InteractiveWebContent::webPlayerWillCloseWithScormData(const std::string& data,
    const std::string& activityName, const std::string& scormID, const std::string& pageID)
{
    stopScormTimer();
    storeScormData(scormID, data, pageID, activityName);
    if (m_context.dataSyncManager && m_context.user)
        m_context.dataSyncManager->saveSormDataForUserID(m_context.user->numericUserID(), m_context.bookID,
            m_context.classID, m_reader.syncDelegate(), m_context.user->userToken);
}

void InteractiveWebContent::webPLayerDidClosed()
{
    removeInternalWebPlayer();
    m_context.activeMode = ReaderActiveModeNone;
    // A closing player stops the SCORM timer even when the package never reported its
    // last data, so no save runs against a player that is gone.
    stopScormTimer();
    auto player = std::move(m_webPlayer);
    m_webPlayer = nullptr;
    if (player) {
        if (player->isViewLoaded())
            player->view()->removeFromSuperview();
        player->removeFromParentViewController();
    }
}

void InteractiveWebContent::webPlayerDidFailedWithError(const base::Error& error)
{
    if (error.code == 204)
        return;
    m_context.activeMode = ReaderActiveModeNone;
    m_reader.showAlertForError(error, LocalizationHelper::localizedStringWithKey("ERROR_ALERT_TITLE"));
}

std::shared_ptr<web::WebView> InteractiveWebContent::createLectoroPlayerWebView(web::WebView& view,
    const std::shared_ptr<web::WebViewConfiguration>& configuration, const web::NavigationAction& action)
{
    removeInternalWebPlayer();
    auto player = LectoroWebPlayer::create(action.request.url, configuration);
    if (m_context.theme) {
        if (auto color = m_context.theme->top_toolbar_icons_color())
            player->setThemeColorToView(*color);
    }
    m_internalWebPlayer = player;
    auto inner = player->view();
    view.addSubview(inner);
    inner->setFrame(view.bounds());
    inner->setTranslatesAutoresizingMaskIntoConstraints(false);
    ui::Constraint::activate({ inner->leadingAnchor().constraintEqualTo(view.leadingAnchor()),
        inner->trailingAnchor().constraintEqualTo(view.trailingAnchor()),
        inner->topAnchor().constraintEqualTo(view.topAnchor()),
        inner->bottomAnchor().constraintEqualTo(view.bottomAnchor()) });
    player->setDoneButtonTitle(LocalizationHelper::localizedStringWithKey("Back"));
    return player->webView();
}

void InteractiveWebContent::removeInternalWebPlayer()
{
    auto player = std::move(m_internalWebPlayer);
    m_internalWebPlayer = nullptr;
    if (!player)
        return;
    player->removeFromParentViewController();
    if (player->isViewLoaded())
        player->view()->removeFromSuperview();
}

// --- Instruction pop-over ---

void InteractiveWebContent::loadInstructionMarkup(const std::shared_ptr<PXLinkVO>& link)
{
    if (!link)
        return;
    if (m_context.renderer)
        m_context.renderer->resetZoomScaleToDefault();
    removeInstructionMarkupPopOver();
    auto popover = InfomationPopOverContentViewController::create();
    auto root = popover->view();
    root->setBackgroundColor(UIColorExpanded::colorWithHexString("#fdffdb"));
    root->setClipsToBounds(false);
    auto layer = root->layer();
    layer->setShadowColor(ui::Color::white().withAlpha(0.16));
    layer->setShadowOffset({ 0, 3 });
    layer->setShadowOpacity(0.4);
    layer->setShadowRadius(3.0);
    popover->setInstructionTextBackgroundColor(ui::Color::clear());
    double size = MarkupDevice::current().isPad ? 18.0 : 12.0;
    popover->setInstructionTextFont(getCustomFont(size).value_or(ui::Font::systemFont(size)));
    popover->setLinkVo(link);
    std::string text = instructionText(link->properties);
    if (text.empty()) {
        m_reader.showAlertWithTitle(LocalizationHelper::localizedStringWithKey("ERROR_ALERT_TITLE"),
            LocalizationHelper::localizedStringWithKey("NO_INSTRUCTION_AVAILABLE"));
        return;
    }
    m_context.activeMode = ReaderActiveModeInstructionPopup;
    popover->setInstructionText(text);
    m_instruction = popover;
    // At its icon and wholly on the page, also for an icon near the page's edge.
    auto icon = link->iconView.lock();
    if (auto page = icon ? icon->superview() : nullptr) {
        ui::Rect inset = page->bounds().insetBy(4, 4);
        ui::Size size { std::min(root->frame().size.width, inset.size.width), root->frame().size.height };
        root->setFrame(frameAtMarkup(icon->frame(), size, inset));
    }
    if (m_context.renderer)
        m_context.renderer->addInstructionPopup(
            popover, link->iconView.lock(), base::integerValue(link->pageID));
}

void InteractiveWebContent::removeInstructionMarkupPopOver()
{
    auto popover = std::move(m_instruction);
    m_instruction = nullptr;
    if (!popover)
        return;
    // Only an open pop-over hands the screen back; another pop-up keeps its mode.
    if (m_context.activeMode == ReaderActiveModeInstructionPopup)
        m_context.activeMode = ReaderActiveModeNone;
    if (popover->isViewLoaded())
        popover->view()->removeFromSuperview();
}

} // namespace lectoro
