// What a tap on a markup does, by its link type.

#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"

#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/interactive/InteractiveReader.h"
#include "LectoroSDKWithReader/interactive/LinkAddresses.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/interactive/players/InteractiveMarkupPlayers.h"
#include "LectoroSDKWithReader/interactive/web/InteractiveWebContent.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsMetaData.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "platform/base/FileManager.h"
#include "platform/base/Strings.h"
#include "platform/base/URL.h"
#include "platform/ui/Environment.h"

namespace lectoro {

namespace {

using Events = LectoroReaderEventConstant;

std::shared_ptr<PXLinkVO> storedLink(const PXBookVO& book, int64_t pageID, int64_t linkID)
{
    auto page = book.pages.find(std::to_string(pageID));
    if (page == book.pages.end() || !page->second)
        return nullptr;
    auto link = page->second->links.find(std::to_string(linkID));
    return link == page->second->links.end() ? nullptr : link->second;
}

// The record a tap without a stored link (a multi-link group icon) acts on.
std::shared_ptr<PXLinkVO> groupRecordFromIcon(const std::shared_ptr<MarkupView>& icon)
{
    auto record = std::make_shared<PXLinkVO>();
    record->linkType = 1;
    record->xCoordinate = icon->xCordinate;
    record->yCoordinate = icon->yCordinate;
    record->pageID = std::to_string(icon->pageID);
    record->iconView = icon;
    return record;
}

bool isOnline() { return LectoroNetworkManager::getInstance().isInternetAvailable(); }

// An address text as a URL: a web or file address as it is, anything else as a file path.
base::URL addressURL(const std::string& address)
{
    if (auto url = base::URL::parse(address); url && address.find(':') != std::string::npos)
        return *url;
    return base::URL::fileURL(address);
}

} // namespace

void ReaderInteractiveContent::didTapOnLink(MarkupView& icon)
{
    // Under VoiceOver a tap that reaches a markup while the focus is elsewhere is the
    // user tapping the page, not activating the markup.
    const auto& environment = ui::Environment::current();
    if (environment.isVoiceOverRunning()
        && !std::dynamic_pointer_cast<MarkupView>(environment.accessibilityFocusedElement())) {
        m_reader.singleTapOnPage();
        return;
    }
    if (m_context.activeMode == ReaderActiveModeHighlightPopup)
        m_reader.removeHighlightPopup();
    stopInlineVideo();
    auto book = pageBook();
    if (!book)
        return;
    auto strongIcon = std::static_pointer_cast<MarkupView>(icon.shared_from_this());
    if (auto link = storedLink(*book, icon.pageID, icon.linkID))
        actionForLink(link);
    else
        actionForLink(groupRecordFromIcon(strongIcon));
}

void ReaderInteractiveContent::didTapOnMarkupHitArea(MarkupHitAreaLabel& area)
{
    auto book = pageBook();
    if (!book)
        return;
    if (auto link = storedLink(*book, area.pageID, area.linkID))
        actionForLink(link);
    else if (auto icon = area.iconView.lock())
        actionForLink(groupRecordFromIcon(icon));
}

bool ReaderInteractiveContent::showOfflineAlertIfNeeded()
{
    if (isOnline())
        return false;
    m_reader.showAlertWithTitle("", LocalizationHelper::localizedStringWithKey("INTERNET_UNAVAILABLE_MESSAGE"));
    report("offlineAlert", "INTERNET_UNAVAILABLE_MESSAGE");
    return true;
}

void ReaderInteractiveContent::actionForLink(const std::shared_ptr<PXLinkVO>& link)
{
    if (!link)
        return;
    if (hasAudioPlayer())
        resetAudioPlayer();
    if (m_multiLinkController)
        removeMultiLinkPopOver();
    if (m_context.activeMode == ReaderActiveModeInstructionPopup)
        removeInstructionMarkupPopOver();
    if (link->isExternal && showOfflineAlertIfNeeded())
        return;
    m_isExternalResource = link->isExternal;
    m_players->isExternalResource = link->isExternal;
    if (!link->toolTip.empty())
        trackLinkOpen(*link);
    m_reader.moveTopAndBottomOffScreen();
    actByType(link);
}

void ReaderInteractiveContent::trackLinkOpen(const PXLinkVO& link)
{
    // A value the link lacks is left out of the record rather than sent empty.
    base::Value::Dictionary resource;
    auto put = [&](const char* key, const std::string& value) {
        if (!value.empty())
            resource.set(key, value);
    };
    put("pageID", link.folioNumber);
    put("id", std::to_string(link.linkID));
    put("title", link.toolTip);
    put("type", "Online");
    put("category", link.type);
    if (m_context.analyticsHandler)
        m_context.analyticsHandler->trackEvent(MVLectoroAnalyticsHandler::MVAnalyticsEventType::LinkOpen,
            MVLectoroAnalyticsMetaData::resourceTracking(base::Value(std::move(resource)), std::to_string(link.linkID)));
    m_reader.saveReadingSessionForLinkOpen();
}

void ReaderInteractiveContent::notifyMarkupEvent(const std::string& value)
{
    if (m_context.analyticsHandler)
        m_context.analyticsHandler->notifyEvent(
            Events::markupEventName(), base::Value::Dictionary { { Events::markupEventParameterKey(), value } });
}

void ReaderInteractiveContent::actByType(const std::shared_ptr<PXLinkVO>& link)
{
    const PXLinkVO& l = *link;
    switch (l.linkType) {
    case 1:
        notifyMarkupEvent(Events::markupEventMultilinkMarkupParameterValue());
        loadMultiLinkMarkup(l);
        break;
    case 2:
        notifyMarkupEvent(Events::markupEventAudioParameterValue());
        openAudio(link);
        break;
    case 11:
        notifyMarkupEvent(Events::markupEventAudioSyncParameterValue());
        openAudio(link);
        break;
    case 3: {
        auto video = linkedFile(l);
        if (!video)
            break;
        m_context.activeMode = ReaderActiveModeLinkAction;
        report("videoPlayer", *video, l.linkID);
        m_players->videoPlayer(*video, link);
        break;
    }
    case 4:
    case 14:
    case 22:
        loadImageMarkup(l);
        break;
    case 5:
        break;
    case 6:
    case 16:
    case 25:
        alertForNoMarkUp();
        break;
    case 7: {
        notifyMarkupEvent(Events::markupEventGotoPageParameterValue());
        std::string target = l.url;
        if (pageBook())
            target = std::to_string(m_reader.getPageIDForDisplayNumber(l.url));
        if (m_context.renderer)
            m_context.renderer->navigateToPageNumber(target);
        report("navigateToPageNumber", target, l.linkID);
        break;
    }
    case 8:
    case 9:
    case 12:
    case 15:
        openWebLink(link);
        break;
    case 10: {
        auto document = linkedFile(l);
        if (!document)
            break;
        std::string address = base::isWebAddress(*document) ? *document : fileAddressForPath(*document);
        m_context.activeMode = ReaderActiveModeLinkAction;
        report("documentPlayer", address, l.linkID);
        m_players->documentPlayer(addressURL(address));
        break;
    }
    case 13:
        notifyMarkupEvent(Events::markupEventDropDownParameterValue());
        report("didTapOnDropDownLink", l.properties, l.linkID);
        m_answers->didTapOnDropDownLink(link);
        break;
    case 17:
        if (!showOfflineAlertIfNeeded()) {
            report("addPreLoaderViewWithMessage", LocalizationHelper::localizedStringWithKey("LOADING_DATA"), l.linkID);
            m_players->addPreLoaderViewWithMessage(LocalizationHelper::localizedStringWithKey("LOADING_DATA"));
            report("loadKalturaVideoPlayer", l.url, l.linkID);
            m_players->loadKalturaVideoPlayer(link);
        }
        break;
    case 18:
        if (!showOfflineAlertIfNeeded()) {
            report("loadYoutubeMarkup", l.url, l.linkID);
            m_players->loadYoutubeMarkup(link);
        }
        break;
    case 19:
        if (!showOfflineAlertIfNeeded()) {
            auto page = linkedFile(l);
            if (!page)
                break;
            std::string address = base::isWebAddress(*page) ? *page : fileAddressForPath(*page);
            report("webPlayer", address, l.linkID);
            m_web->webPlayer(addressURL(address), link);
        }
        break;
    case 20:
        loadGlossaryMarkUp(l);
        break;
    case 21:
        notifyMarkupEvent(Events::markupEventJumpToBookParameterValue());
        loadJumpToBookMarkUp(l);
        break;
    case 23:
        notifyMarkupEvent(Events::markupEventInstructionMarkupParameterValue());
        report("loadInstructionMarkup", l.properties, l.linkID);
        m_web->loadInstructionMarkup(link);
        break;
    case 24:
        showOfflineAlertIfNeeded();
        break;
    default:
        break;
    }
}

void ReaderInteractiveContent::openAudio(const std::shared_ptr<PXLinkVO>& link)
{
    if (m_context.renderer)
        m_context.renderer->resetZoomScaleToDefault();
    const auto* words = link->audioSync.asList();
    if (words && !words->empty()) {
        m_reader.stopAudioSyncIfAny();
        m_context.activeMode = ReaderActiveModeLinkAction;
        m_context.readAloudMode = 1;
        m_reader.startAudioSyncForLink(link);
        report("startAudioSync", link->url, link->linkID);
        return;
    }
    report("AudioPlayerWithURL", link->url, link->linkID);
    // A recording of the book is a file of the book, even when its path begins with "/".
    bool remote = base::isWebAddress(link->url);
    m_players->AudioPlayerWithURL(
        remote ? link->url : bookRelativePath(link->url), true, true, link->isPlaybackground);
}

void ReaderInteractiveContent::openWebLink(const std::shared_ptr<PXLinkVO>& shared)
{
    const PXLinkVO& link = *shared;
    m_context.activeMode = ReaderActiveModeLinkAction;
    if (base::isWebAddress(link.url)) {
        if (showOfflineAlertIfNeeded()) {
            m_context.activeMode = ReaderActiveModeNone;
            return;
        }
        report("webPlayer", link.url, link.linkID);
        m_web->webPlayer(addressURL(link.url), shared);
        return;
    }
    auto page = linkedFile(link);
    if (!page) {
        m_context.activeMode = ReaderActiveModeNone;
        return;
    }
    std::string address = fileAddressForPath(*page);
    report("webPlayer", address, link.linkID);
    m_web->webPlayer(addressURL(address), shared);
}

std::optional<std::string> ReaderInteractiveContent::linkedFile(const PXLinkVO& link)
{
    // A web address is the network's; every other address a link gives is a file of the
    // book, and one that leaves the book is a resource the book lacks.
    if (base::isWebAddress(link.url))
        return link.url;
    if (auto file = base::pathInsideFolder(m_context.bookPath, link.url))
        return file;
    report("resourceRefused", link.url, link.linkID);
    m_players->showAlertControllerWithMsg(LocalizationHelper::localizedStringWithKey("RESOURCE_NOT_FOUND"),
        LocalizationHelper::localizedStringWithKey("ERROR_ALERT_TITLE"));
    return std::nullopt;
}

void ReaderInteractiveContent::alertForNoMarkUp()
{
    m_reader.showAlertWithTitle(LocalizationHelper::localizedStringWithKey("ERROR_ALERT_TITLE"),
        LocalizationHelper::localizedStringWithKey("MARKUP_NOT_SUPPORTED"));
    report("alertForNoMarkUp", "MARKUP_NOT_SUPPORTED");
}

void ReaderInteractiveContent::loadJumpToBookMarkUp(const PXLinkVO& link)
{
    JumpToBookTarget target = parseJumpToBookProperties(link.properties);
    if (m_reader.isBookDownloaded(target.bookID)) {
        report("jumpToBookReaderForBookID", target.bookID + ":" + target.folio, link.linkID);
        m_reader.closeAndJumpToBook(target.bookID, target.folio);
        return;
    }
    if (!base::isWebAddress(link.url))
        return;
    if (showOfflineAlertIfNeeded())
        return;
    // The book is not on the device: it opens in the web reader instead.
    std::string address = jumpToBookWebAddress(link.url, m_context.user.get());
    report("loadWebPlayerForStandardActivityWithURL", address, link.linkID);
    if (auto url = base::URL::parse(address))
        m_reader.loadWebPlayerForStandardActivityWithURL(*url);
}

void ReaderInteractiveContent::loadImageMarkup(const PXLinkVO& link)
{
    switch (link.linkType) {
    case 4:
        notifyMarkupEvent(Events::markupEventImageParameterValue());
        break;
    case 14:
        notifyMarkupEvent(Events::markupEventImageSlideShowParameterValue());
        break;
    case 22:
        notifyMarkupEvent(Events::markupEventImageMagnificationParameterValue());
        break;
    default:
        break;
    }
    report("ImageControllerWithImagePath", link.url, link.linkID);
    // A slide show lists its images in an "images:" entry; the others show their own file.
    std::string images = link.linkType == 14 ? link.propertyValue("images") : std::string {};
    std::string paths = images.empty() ? link.url : base::replaceAll(images, ",", ";");
    m_players->ImageControllerWithImagePath(
        paths, base::replaceAll(link.properties, "\n", ";"), link.linkType, false);
}

void ReaderInteractiveContent::actionForResource(const base::Value& resource)
{
    const std::string* assetPath = resource["assetPath"].stringPointer();
    if (!assetPath)
        return;
    int32_t kind = resource["epubLinkType"].intValue();
    // A page or an address is not a file of the book; every other kind is one.
    if (kind == 5) {
        report("navigateTopage", *assetPath);
        m_reader.navigateTopage(*assetPath);
        return;
    }
    if (kind == 6 && base::isWebAddress(*assetPath)) {
        report("webPlayer", *assetPath);
        m_web->webPlayer(addressURL(*assetPath));
        return;
    }
    if (kind < 1 || kind > 6)
        return;
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook);
    std::string root = epub ? epub->rootPath : m_context.currentBook ? m_context.currentBook->path : m_context.bookPath;
    auto path = base::pathInsideFolder(root, *assetPath);
    if (!path) {
        // A resource naming a file outside the book is never opened.
        report("resourceRefused", *assetPath);
        m_players->showAlertControllerWithMsg(LocalizationHelper::localizedStringWithKey("RESOURCE_NOT_FOUND"),
            LocalizationHelper::localizedStringWithKey("ERROR_ALERT_TITLE"));
        return;
    }
    switch (kind) {
    case 1:
        report("AudioPlayerWithURL", *path);
        m_players->isExternalResource = false;
        // The player finds the file in the book by the book's own name for it.
        m_players->AudioPlayerWithURL(*assetPath, true, false, false);
        break;
    case 2:
        report("videoPlayerWithVideoPath", *path);
        m_players->videoPlayerWithVideoPath(*path, resource);
        break;
    case 3:
        report("ImageControllerWithImagePath", *path);
        m_players->ImageControllerWithImagePath(*path, false);
        break;
    case 4:
        report("documentPlayer", fileAddressForPath(*path));
        m_players->documentPlayer(base::URL::fileURL(*path));
        break;
    case 6:
        report("webPlayer", fileAddressForPath(*path));
        m_web->webPlayer(base::URL::fileURL(*path));
        break;
    default:
        break;
    }
}

void ReaderInteractiveContent::actionForResource(const std::string& assetPath, int32_t epubLinkType)
{
    actionForResource(
        base::Value(base::Value::Dictionary { { "assetPath", assetPath }, { "epubLinkType", epubLinkType } }));
}

void ReaderInteractiveContent::report(std::string operation, std::string argument, int64_t linkID)
{
    if (m_observer)
        m_observer(MarkupAction { std::move(operation), std::move(argument), linkID });
}

} // namespace lectoro
