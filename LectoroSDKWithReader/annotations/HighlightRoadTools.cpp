// The pop-up's tools: each asks the renderer for the record of the selection first, then
// hands the selected text to the note editor, search, translation or the immersive
// reader, or deletes the highlight after asking.

#include "LectoroSDKWithReader/annotations/HighlightRoad.h"

#include "LectoroSDKWithReader/annotations/AnnotationsHost.h"
#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/Localized.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/LectoroServiceInterface.h"
#include "LectoroSDKWithReader/readersdk/LectoroServiceRetry.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/base/Strings.h"
#include "platform/ui/ViewController.h"

namespace lectoro {

namespace {

// The colour asked for when only the selection's text matters.
constexpr const char* plainYellow = "#FFFF00";
// A search for fewer characters of a reflowable book's selection would match too much.
constexpr size_t shortestReflowableSearch = 3;

// A service value as text: text as it is, nothing as empty, anything else as "%@" shows it.
std::string serviceText(const base::Value& value)
{
    if (auto text = value.asString())
        return *text;
    return value.isNull() ? std::string() : value.description();
}

bool isTokenFailure(const base::Error& error)
{
    if (isExpiredSessionError(error))
        return true;
    auto message = error.userInfo["message"].asString();
    return message && message->find("User not valid, token invalid") != std::string::npos;
}

} // namespace

void HighlightRoad::withSelectedRecord(const std::string& textColor, const std::string& backgroundColor,
    std::function<void(HighlightRoad&, const std::shared_ptr<SDKHighlightVO>&)> then)
{
    if (!m_context.renderer)
        return;
    if (isPageBook()) {
        if (auto record = m_context.renderer->getHighlightForSelectedTextWithTextColor(textColor, backgroundColor))
            then(*this, record);
        return;
    }
    std::weak_ptr<HighlightRoad*> alive = m_alive;
    m_context.renderer->getHighlightForSelectedTextEpubWithTextColor(textColor, backgroundColor,
        [alive, then = std::move(then)](std::shared_ptr<SDKHighlightVO> record) {
            auto road = alive.lock();
            if (road && record)
                then(**road, record);
        });
}

void HighlightRoad::dispatchTool(const HighLightToolView& item, const std::string& color)
{
    switch (static_cast<HighlightItemType>(item.tag())) {
    case HighlightItemType::Note:
        addContextualNoteWithTextColor(color);
        break;
    case HighlightItemType::Delete:
        actionForHighlightDelete(color);
        break;
    case HighlightItemType::Search:
        if (isPageBook())
            actionForSearchTool();
        else
            actionForSearchToolEpub();
        break;
    case HighlightItemType::Translation:
        showTranslationView();
        break;
    case HighlightItemType::ImmersiveReader:
        showImmersiveReader();
        break;
    }
}

void HighlightRoad::addContextualNoteWithTextColor(const std::string& color)
{
    // A reflowable book's note starts in the plain colour whatever the pop-up shows.
    std::string asked = isPageBook() ? color : plainYellow;
    withSelectedRecord(asked, asked, [](HighlightRoad& road, const std::shared_ptr<SDKHighlightVO>& record) {
        road.removeHighlightPopup();
        road.m_host.showNotesForHighlight(record, false);
    });
}

void HighlightRoad::actionForHighlightDelete(const std::string& color)
{
    std::weak_ptr<HighlightRoad*> alive = m_alive;
    AlertView::sharedManager().presentAlertWithTitle(localized("Delete_Highlight"),
        localized("Do_you_wish_to_delete_highlight"),
        std::vector<std::string> { localized("NO_ALERT_BUTTON"), localized("YES_ALERT_BUTTON") },
        m_host.presentingController(), [alive, color](int64_t, const std::string& title) {
            auto road = alive.lock();
            if (road && title == localized("YES_ALERT_BUTTON"))
                (*road)->deleteHighightItemWithTextColor(color);
        });
}

void HighlightRoad::deleteHighightItemWithTextColor(const std::string& color)
{
    std::string asked = isPageBook() ? color : plainYellow;
    withSelectedRecord(asked, asked, [](HighlightRoad& road, const std::shared_ptr<SDKHighlightVO>& record) {
        // The renderer reports the record back with status 3, which removes it from the store.
        if (road.m_context.renderer)
            road.m_context.renderer->deleteSelectedHighlight(record);
    });
}

void HighlightRoad::actionForSearchTool()
{
    withSelectedRecord(plainYellow, plainYellow, [](HighlightRoad& road, const std::shared_ptr<SDKHighlightVO>& record) {
        road.removeHighlightPopup();
        road.m_host.moveTopAndBottomOnScreen(false);
        road.m_host.addSearchForText(record->text);
    });
}

void HighlightRoad::actionForSearchToolEpub()
{
    withSelectedRecord(plainYellow, plainYellow, [](HighlightRoad& road, const std::shared_ptr<SDKHighlightVO>& record) {
        road.removeHighlightPopup();
        if (base::utf16Length(record->text) < shortestReflowableSearch)
            return;
        road.m_host.moveTopAndBottomOnScreen(false);
        road.m_host.addSearchForText(record->text);
    });
}

void HighlightRoad::showTranslationView()
{
    if (!LectoroNetworkManager::getInstance().isInternetAvailable()) {
        m_host.showAlertWithTitle("", localized("INTERNET_UNAVAILABLE_MESSAGE"));
        return;
    }
    if (!m_context.renderer)
        return;
    auto translate = [](HighlightRoad& road, const std::shared_ptr<SDKHighlightVO>& record) {
        road.removeHighlightPopup();
        road.m_host.showTranslationForText(record->text);
    };
    // Asked at once whatever the book; a renderer that cannot answer at once answers later.
    if (auto record = m_context.renderer->getHighlightForSelectedTextWithTextColor(plainYellow, plainYellow)) {
        translate(*this, record);
        return;
    }
    std::weak_ptr<HighlightRoad*> alive = m_alive;
    m_context.renderer->getHighlightForSelectedTextEpubWithTextColor(plainYellow, plainYellow,
        [alive, translate](std::shared_ptr<SDKHighlightVO> record) {
            auto road = alive.lock();
            if (road && record)
                translate(**road, record);
        });
}

void HighlightRoad::showImmersiveReader()
{
    withSelectedRecord(plainYellow, plainYellow, [](HighlightRoad& road, const std::shared_ptr<SDKHighlightVO>& record) {
        road.showImmersiveReaderWithString(record->text);
    });
}

void HighlightRoad::showImmersiveReaderWithString(const std::string& text)
{
    removeHighlightPopup();
    requestImmersiveReader(text, false);
}

void HighlightRoad::requestImmersiveReader(const std::string& text, bool renewed)
{
    if (!LectoroNetworkManager::getInstance().isInternetAvailable()) {
        m_host.showAlertWithTitle("", localized("INTERNET_UNAVAILABLE_MESSAGE"));
        return;
    }
    auto service = companionFramework()->makeServiceInterface(m_context.immersiveReaderBaseURLString, "");
    if (!service)
        return;
    m_host.addPreLoaderView();
    std::weak_ptr<HighlightRoad*> alive = m_alive;
    std::string token = m_context.user ? m_context.user->userToken : std::string();
    // The client is kept until it answers.
    service->getImmersiveReaderTokenWithUserToken(
        token,
        [alive, text, service](const base::Value& response) {
            std::string token = serviceText(response["token"]);
            std::string subdomain = serviceText(response["subdomain"]);
            auto road = alive.lock();
            if (!road)
                return;
            (*road)->onMain([text, token, subdomain](HighlightRoad& self) {
                self.m_host.removePreLoaderView();
                // The screen clears the top bar's selection once it is presented.
                self.m_host.presentImmersiveReader(token, subdomain, text);
            });
        },
        [alive, text, renewed, service](const base::Error& error) {
            auto road = alive.lock();
            if (!road)
                return;
            (*road)->onMain([text, renewed, error](HighlightRoad& self) {
                self.m_host.removePreLoaderView();
                if (!isTokenFailure(error))
                    return;
                const bool autoLogin = self.m_context.settings && self.m_context.settings->isAutoLoginEnabled();
                // One renewal and one repeat at most: a session that expires again is over.
                if (!autoLogin || renewed) {
                    self.m_host.showSessionExpiredAlert();
                    return;
                }
                std::string expired = serviceText(error.userInfo["expiredToken"]);
                std::weak_ptr<HighlightRoad*> alive = self.m_alive;
                auto answered = std::make_shared<bool>(false);
                self.m_host.refreshUserToken(expired, [alive, text, answered](std::shared_ptr<LectoroUser> user) {
                    auto road = alive.lock();
                    // A renewal answered twice repeats the call once.
                    if (!road || *answered)
                        return;
                    *answered = true;
                    if (user)
                        (*road)->m_context.user = user;
                    (*road)->requestImmersiveReader(text, true);
                });
            });
        });
}

} // namespace lectoro
