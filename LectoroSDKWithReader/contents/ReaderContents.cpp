#include "LectoroSDKWithReader/contents/ReaderContents.h"

#include "LectoroSDKWithReader/contents/ContentsHost.h"
#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/TOCViewController.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/LectoroWebPlayer.h"
#include "platform/base/FileManager.h"
#include "platform/base/Strings.h"
#include "platform/ui/Environment.h"

namespace lectoro {

// The panel's and the web player's delegate: a shared object the feature owns, so both
// may hold it weakly and find it gone once the reader is.
class ReaderContents::PanelDelegate : public TOCViewControllerDelegate, public LectoroWebPlayerDelegate {
public:
    PanelDelegate(ReaderContents& contents, ContentsHost& host)
        : m_contents(contents)
        , m_host(host)
    {
    }

    void didSelectActionToCloseTOC() override { m_host.didSelectActionToCloseTOC(); }
    void navigateToPageWithPageId(const std::string& pageID) override
    {
        m_host.navigateToPageWithPageId(pageID);
    }
    void actionForLinkWithLinkVO(const std::shared_ptr<PXLinkVO>& link) override
    {
        m_host.actionForLinkWithLinkVO(link);
    }
    void actionForResource(const base::Value& resource) override { m_host.actionForResource(resource); }
    void didSelectTEKSStandard() override { m_contents.didSelectTEKSStandard(); }
    void didSelectELPSStandard() override { m_contents.didSelectELPSStandard(); }
    void didLoadWebLinkForStandardsWithWebLink(const std::string& link) override
    {
        m_contents.didLoadWebLinkForStandardsWithWebLink(link);
    }
    std::vector<TOCResourceGroup> didSelectInternalResources() override
    {
        return m_contents.didSelectInternalResources();
    }
    void didSelectExternalResources() override { m_contents.didSelectExternalResources(); }
    void didLoadWebLinkForExternalResourcesWithWebLink(const std::string& link) override
    {
        m_contents.didLoadWebLinkForExternalResourcesWithWebLink(link);
    }
    void didSelectActionToJumpToBookWithBookID(const std::string& bookID) override
    {
        m_host.didSelectActionToJumpToBookWithBookID(bookID);
    }
    void sessionExpiredOnTOC() override { m_contents.sessionExpiredOnTOC(); }
    void didCloseWebPlayer(LectoroWebPlayer&) override { m_contents.closeWebPlayer(); }

private:
    ReaderContents& m_contents;
    ContentsHost& m_host;
};

ReaderContents::ReaderContents(ReaderContext& context, ContentsHost& host)
    : m_context(context)
    , m_host(host)
    , m_panelDelegate(std::make_shared<PanelDelegate>(*this, host))
    , m_thumbnailDelegate(makeThumbnailDelegate(*this))
{
}

ReaderContents::~ReaderContents() = default;

std::optional<EPUBPageListEntryVO> ReaderContents::getEpubTOCPageFromHref(const std::string& href) const
{
    auto book = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook);
    if (!book)
        return std::nullopt;
    for (const auto& entry : book->tocPageList) {
        if (entry.href == href)
            return entry;
    }
    return std::nullopt;
}


// MARK: - Opening the panel

base::Value ReaderContents::standardsForType(const std::string& type) const
{
    auto book = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook);
    if (!book)
        return base::Value::List {};
    return book->getBookResourcesForTORSubnodesForRole(
        m_context.user ? m_context.user->role : std::string(), type);
}

void ReaderContents::showTOC()
{
    if (m_context.analyticsHandler)
        m_context.analyticsHandler->notifyEvent(std::string(LectoroReaderEventConstant::tocEventName()));
    // Only the internal resource groups carry over: the next panel lists them again
    // without collecting them anew.
    std::vector<TOCResourceGroup> oldResources;
    if (m_tocViewController) {
        oldResources = m_tocViewController->resourceArray();
        m_tocViewController.reset();
    }
    m_context.activeMode = ReaderActiveModeContents;
    std::vector<RendererPage> activePages;
    if (m_context.renderer)
        activePages = m_context.renderer->getActivePages();
    base::Value standards = standardsForType("TEKS");
    if (!standards.asList() || standards.asList()->empty())
        standards = base::Value::List {};
    instantiateTOC(activePages, standards, std::move(oldResources));

    auto& panel = *m_tocViewController;
    panel.setDelegate(m_panelDelegate);
    panel.setUserSettingsModel(m_context.settings);
    panel.setUser(m_context.user);
    const base::Value externalStandards = standardsForType("TOR");
    const auto* external = externalStandards.asList();
    if (external && !external->empty())
        panel.setIsExternalResourceAvailable(true);
    if (m_context.renderer)
        panel.setBookOrientation(m_context.renderer->getBookOrientationMode());
    m_host.moveBarsOffScreen();

    auto presenter = m_host.contentsPresenter();
    if (!presenter)
        return;
    bool pad = ui::Environment::current().isPad();
    panel.setModalPresentationStyle(
        pad ? ui::ModalPresentationStyle::OverCurrentContext : ui::ModalPresentationStyle::OverFullScreen);
    std::weak_ptr<PlayerActionBar> topBar = m_context.playerTopActionBarView;
    presenter->presentViewController(m_tocViewController, !pad, [topBar] {
        if (auto bar = topBar.lock())
            bar->resetPlayerActionBarSelection();
    });
    presenter->view()->layoutIfNeeded();
}

void ReaderContents::instantiateTOC(const std::vector<RendererPage>& activePages,
    const base::Value& standards, std::vector<TOCResourceGroup> oldResources)
{
    TOCViewController::Inputs inputs;
    inputs.theme = m_context.theme;
    inputs.book = m_context.currentBook;
    inputs.chapter = m_context.currentChapter;
    inputs.activePages = activePages;
    inputs.bookmarks = m_host.getBookmarkData();
    inputs.tocData = m_host.getTOCContentData();
    inputs.standards = standards;
    if (std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook)) {
        inputs.chapterName = m_context.currentChapterName;
        if (!oldResources.empty())
            inputs.resources = std::move(oldResources);
    } else {
        inputs.resources = getResourceData();
    }
    m_tocViewController = TOCViewController::create(std::move(inputs));
}

// MARK: - Resource groups

std::vector<TOCResourceEntry> ReaderContents::resourcesForChapter(const base::Value& node) const
{
    std::vector<TOCResourceEntry> found;
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook);
    const auto* resources = epub ? epub->resources.asList() : nullptr;
    auto title = node["title"].asString();
    if (!resources || !title)
        return found;
    for (const auto& resource : *resources) {
        if (resource["chapter"]["title"].asString() == title)
            found.push_back(TOCResourceEntry::fromRecord(resource, nullptr));
    }
    return found;
}

std::vector<TOCResourceGroup> ReaderContents::getResourceData() const
{
    std::vector<TOCResourceGroup> groups;
    const auto& book = m_context.currentBook;
    if (!book)
        return groups;
    const std::string& chapterName = m_context.currentChapterName;
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book);
    if (epub && epub->isFixedLayout()) {
        base::Value contents = m_host.getTOCContentData();
        for (const auto& node : contents.asList() ? *contents.asList() : base::Value::List {}) {
            auto resources = resourcesForChapter(node);
            if (resources.empty())
                continue;
            TOCResourceGroup group;
            group.resourceArray = std::move(resources);
            group.chapterName = node["title"].asString().value_or("");
            group.src = node["src"].asString();
            group.isExpanded = group.isCurrentChapter
                = !chapterName.empty() && chapterName == group.chapterName;
            groups.push_back(std::move(group));
        }
        return groups;
    }

    auto pageBook = std::dynamic_pointer_cast<PXBookVO>(book);
    std::vector<TOCResourceEntry> entries;
    base::Value records = book->getBookResourcesForTOC();
    for (const auto& record : records.asList() ? *records.asList() : base::Value::List {})
        entries.push_back(TOCResourceEntry::fromRecord(record, pageBook.get()));
    while (!entries.empty()) {
        TOCResourceEntry first = entries.front();
        TOCResourceGroup group;
        auto sameGroup = [&](const TOCResourceEntry& entry) {
            return pageBook ? entry.chapter == first.chapter : entry.folioNumber == first.folioNumber;
        };
        for (const auto& entry : entries) {
            if (sameGroup(entry))
                group.resourceArray.push_back(entry);
        }
        std::erase_if(entries, sameGroup);
        if (pageBook) {
            const auto& chapter = first.chapter;
            group.chapterName = chapter && !chapter->title.empty() ? chapter->title : chapterName;
            group.pageID = first.pageID;
            if (chapter)
                group.chapterID = chapter->chapterID;
            group.isExpanded = group.isCurrentChapter
                = chapter && chapter->chapterID == m_context.currentChapter;
        } else if (epub) {
            auto index = base::integerValue(first.folioNumber.value_or(""));
            auto chapter = epub->chapterAtIndex(index);
            // A folio that names no chapter leaves the group without a name.
            group.chapterName = chapter ? m_host.getChapterNameForChapter(*chapter) : std::string();
            group.isExpanded = group.isCurrentChapter
                = !chapterName.empty() && chapterName == group.chapterName;
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

// MARK: - The panel's requests

void ReaderContents::didSelectTEKSStandard()
{
    if (m_tocViewController)
        m_tocViewController->setStandardDataWithData(standardsForType("TEKS"));
}

void ReaderContents::didSelectELPSStandard()
{
    if (m_tocViewController)
        m_tocViewController->setStandardDataWithData(standardsForType("ELPS"));
}

std::vector<TOCResourceGroup> ReaderContents::didSelectInternalResources()
{
    return getResourceData();
}

void ReaderContents::didSelectExternalResources()
{
    base::Value external = standardsForType("TOR");
    if (!m_tocViewController || !external.asList() || external.asList()->empty())
        return;
    m_tocViewController->setIsExternalResourceAvailable(true);
    m_tocViewController->setExternalResourcesDataWithData(external);
}

void ReaderContents::sessionExpiredOnTOC()
{
    m_host.removeTOC();
    m_host.showSessionExpiredAlert();
}

// MARK: - Web links

std::optional<base::URL> ReaderContents::urlForWebLink(const std::string& link) const
{
    std::string trimmed = base::trimWhitespace(link);
    if (trimmed.empty())
        return std::nullopt;
    if (base::isWebAddress(trimmed))
        return base::URL::parse(trimmed);
    // A link of the book: a file inside its folder, never one that leaves it.
    std::string folder = m_context.currentBook && !m_context.currentBook->path.empty()
        ? m_context.currentBook->path
        : m_context.bookPath;
    auto file = base::pathInsideFolder(folder, trimmed);
    if (!file)
        return std::nullopt;
    return base::URL::fileURL(*file);
}

void ReaderContents::openWebLink(const std::string& link)
{
    auto url = urlForWebLink(link);
    if (!url) {
        // A web address that does not parse is an invalid link; a path leaving the book
        // names a resource the book lacks.
        bool webAddress = base::isWebAddress(base::trimWhitespace(link));
        m_host.showAlertWithTitle(TOCConstants::localized("ERROR_ALERT_TITLE"),
            TOCConstants::localized(webAddress ? "INVALID_WEB_LINK_MESSAGE" : "RESOURCE_NOT_FOUND"));
        return;
    }
    loadWebPlayerForStandardActivityWithURL(*url);
}

void ReaderContents::didLoadWebLinkForStandardsWithWebLink(const std::string& link)
{
    openWebLink(link);
}

void ReaderContents::didLoadWebLinkForExternalResourcesWithWebLink(const std::string& link)
{
    openWebLink(link);
}

void ReaderContents::loadWebPlayerForStandardActivityWithURL(const base::URL& url)
{
    auto presenter = m_host.contentsPresenter();
    if (!presenter)
        return;
    closeWebPlayer();
    m_webPlayer = LectoroWebPlayer::create(url, nullptr, nullptr);
    m_webPlayer->setDelegate(m_panelDelegate);
    if (m_context.theme && m_context.theme->top_toolbar_icons_color())
        m_webPlayer->setThemeColorToView(*m_context.theme->top_toolbar_icons_color());
    presenter->addChildViewController(m_webPlayer);
    auto root = presenter->view();
    auto playerView = m_webPlayer->view();
    playerView->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(playerView);
    ui::Constraint::activate({ playerView->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        playerView->trailingAnchor().constraintEqualTo(root->trailingAnchor()),
        playerView->topAnchor().constraintEqualTo(root->topAnchor()),
        playerView->bottomAnchor().constraintEqualTo(root->bottomAnchor()) });
    playerView->setFrame(root->bounds());
    m_webPlayer->didMoveToParentViewController(presenter.get());
}

void ReaderContents::closeWebPlayer()
{
    if (!m_webPlayer)
        return;
    auto player = std::move(m_webPlayer);
    m_webPlayer.reset();
    if (auto view = player->viewIfLoaded())
        view->removeFromSuperview();
    player->removeFromParentViewController();
}

} // namespace lectoro
