#include "LectoroSDKWithReader/readingaids/ReaderReadingAids.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/foundation/Reachability.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/LectoroServiceRetry.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readingaids/ImmersiveReaderViewController.h"
#include "LectoroSDKWithReader/readingaids/MVTranslationController.h"
#include "platform/base/RunLoop.h"

namespace lectoro {

ReaderReadingAids::ReaderReadingAids(ReaderContext& context)
    : m_context(context)
{
}

ReaderReadingAids::~ReaderReadingAids() = default;

bool ReaderReadingAids::showOfflineAlertIfNeeded()
{
    auto reachability = Reachability::reachabilityForInternetConnection();
    if (!reachability || reachability->currentReachabilityStatus() != NotReachable)
        return false;
    if (m_context.controller)
        m_context.controller->showAlertWithTitle(
            "", LocalizationHelper::localizedString("INTERNET_UNAVAILABLE_MESSAGE"));
    return true;
}

void ReaderReadingAids::translateSelectedText(const std::string& text)
{
    if (!m_context.controller || showOfflineAlertIfNeeded())
        return;
    auto sheet = MVTranslationController::create(text, m_context.theme);
    sheet->setGoogleAPIKey(m_context.googleAPIKey);
    sheet->setModalPresentationStyle(ui::ModalPresentationStyle::OverCurrentContext);
    sheet->setModalTransitionStyle(ui::ModalTransitionStyle::CrossDissolve);
    m_translation = sheet;
    m_context.controller->presentViewController(sheet, true);
}

bool ReaderReadingAids::isTranslationOpen() const
{
    auto sheet = m_translation.lock();
    return sheet && sheet->presentingViewController() != nullptr;
}

void ReaderReadingAids::removeTranslationController()
{
    if (auto sheet = m_translation.lock(); sheet && sheet->presentingViewController())
        sheet->dismissViewControllerAnimated(false);
}

void ReaderReadingAids::showImmersiveReaderWithString(const std::string& text)
{
    if (!m_context.controller || showOfflineAlertIfNeeded())
        return;
    auto service = companionFramework()->makeServiceInterface(m_context.baseURL, m_context.clientID);
    if (!service)
        return;
    std::string userToken = m_context.user ? m_context.user->userToken : std::string();
    bool autoLogin = m_context.settings && m_context.settings->isAutoLoginEnabled();
    std::weak_ptr<int> alive = m_lifetime;
    auto onMain = [this, alive](std::function<void()> work) {
        base::RunLoop::main().post([this, alive, work = std::move(work)] {
            if (alive.lock() && m_context.controller)
                work();
        });
    };
    callRepeatingOnceAfterTokenRefresh(
        [service](const std::string& token, LectoroServiceInterface::SuccessHandler success,
            LectoroServiceInterface::FailureHandler failure) {
            service->getImmersiveReaderTokenWithUserToken(token, std::move(success), std::move(failure));
        },
        userToken, autoLogin ? tokenRefreshThrough(service) : TokenRefresh {},
        [onMain, text, this](const base::Value& response) {
            std::string token = response["token"].asString().value_or("");
            std::string subdomain = response["subdomain"].asString().value_or("");
            onMain([this, text, token, subdomain] { presentImmersiveReader(text, token, subdomain); });
        },
        [onMain, this](const base::Error& error) {
            onMain([this, error] {
                if (isExpiredSessionError(error))
                    m_context.controller->showSessionExpiredAlert();
                else
                    m_context.controller->showAlertForError(error, "");
            });
        });
}

void ReaderReadingAids::presentImmersiveReader(
    const std::string& text, const std::string& token, const std::string& subdomain)
{
    if (!m_context.controller)
        return;
    auto chunk = std::make_shared<Chunk>(text);
    auto content = std::make_shared<Content>(text, std::vector<std::shared_ptr<Chunk>> { chunk });
    auto screen = ImmersiveReaderViewController::create(token, subdomain, content, nullptr, nullptr);
    if (!screen)
        return;
    m_immersiveReader = screen;
    bool pad = isIpad();
    screen->setModalPresentationStyle(
        pad ? ui::ModalPresentationStyle::OverCurrentContext : ui::ModalPresentationStyle::OverFullScreen);
    std::weak_ptr<int> alive = m_lifetime;
    m_context.controller->presentViewController(screen, !pad, [this, alive] {
        if (!alive.lock())
            return;
        if (m_context.playerTopActionBarView)
            m_context.playerTopActionBarView->resetPlayerActionBarSelection();
    });
}

} // namespace lectoro
