#include "LectoroSDKWithReader/mydata/ReaderMyData.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/mydata/LXMyDataViewController.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsMetaData.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManager.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/ui/NavigationController.h"

namespace lectoro {

// The panel holds its delegate weakly; this one lives as long as the feature and reaches
// nothing once the feature is gone.
class ReaderMyData::PanelDelegate final : public LXMyDataControllerDelegate {
public:
    explicit PanelDelegate(ReaderMyData& owner)
        : m_owner(owner)
    {
    }

    void navigateTopage(const std::string& page) override { m_owner.navigateTopage(page); }
    void didTapOnNotesComment(const std::shared_ptr<SDKHighlightVO>& record) override
    {
        m_owner.didTapOnNotesComment(record);
    }
    void didSelectActionToCloseMyData() override { m_owner.didSelectActionToCloseMyData(); }
    void didAnsweredHighlight(const std::shared_ptr<SDKHighlightVO>& record, bool accepted) override
    {
        m_owner.didAnsweredHighlight(record, accepted);
    }
    void didTapOnPrint() override { m_owner.didTapOnPrint(); }
    void didTapOnShareSettings() override { m_owner.didTapOnShareSettings(); }
    void didTapOnNoteShareSettings(const std::shared_ptr<SDKHighlightVO>& record) override
    {
        m_owner.didTapOnNoteShareSettings(record);
    }

private:
    ReaderMyData& m_owner;
};

ReaderMyData::ReaderMyData(ReaderContext& context)
    : m_context(context)
    , m_panelDelegate(std::make_shared<PanelDelegate>(*this))
{
}

ReaderMyData::~ReaderMyData() = default;

bool ReaderMyData::isMyDataOpen() const
{
    return m_myDataViewController && m_myDataViewController->navigationController()
        && m_myDataViewController->navigationController()->presentingViewController();
}

int64_t ReaderMyData::numericUserID() const
{
    return m_context.user ? m_context.user->numericUserID() : 0;
}

std::string ReaderMyData::storeBookID() const
{
    return std::to_string(m_context.bookID);
}

void ReaderMyData::initiateMyDataViewController()
{
    m_myDataViewController = LXMyDataViewController::create();
}

void ReaderMyData::showMyData()
{
    auto* reader = m_context.controller;
    if (!reader)
        return;
    m_myDataViewController.reset();
    m_context.activeMode = ReaderActiveModeMyData;
    initiateMyDataViewController();
    auto panel = m_myDataViewController;
    panel->setBook(m_context.currentBook);
    panel->setDelegate(m_panelDelegate);
    panel->setUserSettingsModel(m_context.settings);
    if (m_context.theme)
        panel->setNoDataLabelTextColor(m_context.theme->mydata_note_text_color());
    if (m_context.renderer)
        panel->setBookOrientationMode(static_cast<int32_t>(m_context.renderer->getBookOrientationMode()));
    std::string bookID = std::to_string(m_context.bookID);
    bool hasClass = m_context.dbManager
        && !m_context.dbManager->bookClassInfoArrayForBookID(bookID, numericUserID()).empty();
    bool sharing = m_context.settings && m_context.settings->isSharingEnabled();
    if (hasClass && sharing) {
        panel->disableShareSettings(false);
        panel->disableShareWithMeTab(false);
        panel->disableShareSettingsIcon(m_context.isShareSettingsDisabled);
        panel->disableNoteNotification(m_context.isNoteNotificationDisabled);
    } else {
        panel->disableShareSettings(true);
        panel->disableShareWithMeTab(true);
    }
    reader->moveTopAndBottomOffScreenWithIsAnimate(true);
    if (m_context.dbManager)
        panel->setData(m_context.dbManager->highlightBookID(bookID, numericUserID()));
    panel->setThemeVO(m_context.theme);

    auto navigation = ui::NavigationController::create(panel);
    navigation->setNavigationBarHidden(true);
    bool pad = isIpad();
    navigation->setModalPresentationStyle(
        pad ? ui::ModalPresentationStyle::OverCurrentContext : ui::ModalPresentationStyle::OverFullScreen);
    std::weak_ptr<PlayerActionBar> topBar = m_context.playerTopActionBarView;
    reader->presentViewController(navigation, !pad, [topBar] {
        if (auto bar = topBar.lock())
            bar->resetPlayerActionBarSelection();
    });
}

void ReaderMyData::refreshMyData()
{
    if (!m_myDataViewController || !m_context.dbManager)
        return;
    auto records = m_context.dbManager->highlightBookID(std::to_string(m_context.bookID), numericUserID());
    m_myDataViewController->setData(records);
    m_myDataViewController->reloadMyDataTableView();
    if (isIpad())
        return;
    if (auto navigation = m_myDataViewController->navigationController()) {
        for (const auto& controller : navigation->viewControllers()) {
            auto other = std::dynamic_pointer_cast<LXMyDataViewController>(controller);
            if (other && other != m_myDataViewController) {
                other->setData(records);
                other->reloadMyDataTableView();
            }
        }
    }
}

void ReaderMyData::navigateTopage(const std::string& page)
{
    if (auto* reader = m_context.controller)
        reader->navigation().navigateTopage(page);
}

void ReaderMyData::didTapOnNotesComment(const std::shared_ptr<SDKHighlightVO>& record)
{
    if (m_noteOpener && record)
        m_noteOpener(record);
}

void ReaderMyData::didTapOnShareSettings()
{
    if (m_classSettingsOpener)
        m_classSettingsOpener();
}

void ReaderMyData::didTapOnNoteShareSettings(const std::shared_ptr<SDKHighlightVO>& record)
{
    if (m_noteSettingsOpener && record)
        m_noteSettingsOpener(record);
}

void ReaderMyData::didAnsweredHighlight(const std::shared_ptr<SDKHighlightVO>& record, bool accepted)
{
    if (!record)
        return;
    if (accepted && m_context.analyticsHandler) {
        m_context.analyticsHandler->trackEvent(MVLectoroAnalyticsHandler::MVAnalyticsEventType::NoteReceived,
            MVLectoroAnalyticsMetaData::ugcTracking(record->displayNum, record->localID));
    }
    if (m_context.dataSyncManager)
        m_context.dataSyncManager->acceptOrRejectCollab(
            record->ugcID, accepted, m_context.user ? m_context.user->userToken : std::string());
}

void ReaderMyData::didSelectActionToCloseMyData()
{
    if (auto* reader = m_context.controller)
        reader->didSelectActionToCloseMyData();
}

} // namespace lectoro
