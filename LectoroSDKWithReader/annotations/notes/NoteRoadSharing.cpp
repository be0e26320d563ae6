// The sharing handlers: the share-settings panel opened over My Data (or inside the note
// editor) and closed again, a class's share and receive lists sent and kept in the store,
// a note shared with chosen users, and the answer to a received note. The handlers send
// and return; the answers come back as the reader's sync results.

#include "LectoroSDKWithReader/annotations/notes/NoteRoad.h"

#include "LectoroSDKWithReader/annotations/AnnotationsHost.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsMetaData.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManager.h"
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/ui/Environment.h"
#include "platform/ui/NavigationController.h"

namespace lectoro {

namespace {

constexpr double shareSlideDuration = 0.5;

std::string sharingUserToken(const ReaderContext& context)
{
    return context.user ? context.user->userToken : std::string();
}

} // namespace

base::Value NoteRoad::sharePayloadForClass(const SDKBookClassInfoVO& chosen)
{
    base::Value::Dictionary payload;
    payload.set("shareList", chosen.shareList);
    payload.set("recieveList", chosen.receiveList);
    return base::Value(std::move(payload));
}

void NoteRoad::didTapOnNotesComment(const std::shared_ptr<SDKHighlightVO>& note)
{
    showNotesForHighlight(note, true);
}

void NoteRoad::didTapOnShareSettings()
{
    openShareSettings(LXShareSettingsController::classSettings, nullptr);
}

void NoteRoad::didTapOnNoteShareSettings(const std::shared_ptr<SDKHighlightVO>& note)
{
    openShareSettings(LXShareSettingsController::noteSettings, note);
}

void NoteRoad::openShareSettings(int64_t settingsType, const std::shared_ptr<SDKHighlightVO>& note)
{
    m_shareSettingsController.reset();
    auto panel = LXShareSettingsController::create();
    panel->setDelegate(shareSettingsDelegate());
    panel->setSettingsType(settingsType);
    if (settingsType == LXShareSettingsController::noteSettings) {
        panel->setHighlightVO(note);
        panel->setIsFromMydataController(true);
    }
    panel->setData(userClasses());
    panel->setThemeVO(m_context.theme);
    m_shareSettingsController = panel;

    auto myData = m_host.myDataPanel();
    if (ui::Environment::current().isPad()) {
        panel->setModalPresentationStyle(ui::ModalPresentationStyle::OverCurrentContext);
        panel->setModalTransitionStyle(ui::ModalTransitionStyle::CrossDissolve);
        panel->view()->setBackgroundColor(ui::Color::black().withAlpha(0.6));
        std::shared_ptr<ui::ViewController> presenter;
        if (myData)
            presenter = myData->navigationController()
                ? std::static_pointer_cast<ui::ViewController>(myData->navigationController())
                : myData;
        else
            presenter = m_host.presentingController();
        if (presenter)
            presenter->presentViewController(panel, true);
        return;
    }
    // A phone slides the panel in from the right over My Data (or the reader without it).
    auto host = myData ? myData : m_host.presentingController();
    if (!host)
        return;
    ui::Rect readerBounds = host->view()->bounds();
    if (auto reader = m_host.presentingController())
        readerBounds = reader->view()->bounds();
    panel->view()->setFrame(ui::Rect { { readerBounds.maxX(), 0 }, readerBounds.size });
    host->addChildViewController(panel);
    host->view()->addSubview(panel->view());
    ui::Size size = host->view()->bounds().size;
    std::weak_ptr<ui::View> panelView = panel->view();
    ui::View::animate(shareSlideDuration, [panelView, size] {
        if (auto view = panelView.lock())
            view->setFrame(ui::Rect { {}, size });
    });
}

void NoteRoad::slideOutShareSettings()
{
    auto panel = m_shareSettingsController;
    if (!panel || !panel->isViewLoaded())
        return;
    std::weak_ptr<ui::ViewController> weakPanel = panel;
    ui::View::animate(
        shareSlideDuration,
        [weakPanel] {
            auto controller = weakPanel.lock();
            if (!controller)
                return;
            auto view = controller->view();
            ui::Rect frame = view->frame();
            view->setFrame(ui::Rect { { frame.size.width, 0 }, frame.size });
            view->layoutIfNeeded();
        },
        [weakPanel](bool) {
            auto controller = weakPanel.lock();
            if (!controller)
                return;
            controller->view()->removeFromSuperview();
            controller->removeFromParentViewController();
        });
}

void NoteRoad::didClickOnShareSettingsCancelButton()
{
    auto panel = m_shareSettingsController;
    if (!panel)
        return;
    const bool pad = ui::Environment::current().isPad();
    // The panel closes itself on a tablet, unless it sits inside the note editor.
    if (pad
        && (panel->settingsType() != LXShareSettingsController::noteSettings
            || panel->isFromMydataController()))
        return;
    slideOutShareSettings();
}

void NoteRoad::didClickOnShareSettingsSaveButton(const std::shared_ptr<SDKBookClassInfoVO>& chosen)
{
    if (!chosen)
        return;
    base::Value payload = sharePayloadForClass(*chosen);
    if (m_context.dataSyncManager)
        m_context.dataSyncManager->saveHighlightData(payload, m_context.bookID, sharingUserToken(m_context));
    // Kept whatever the server answers: the next sync sends it again if this upload fails.
    if (m_context.dbManager) {
        auto written = m_context.dbManager->saveSharedReceivedInfo(payload, storeBookID(), storeUserID());
        if (!written.ok())
            LectoroDebugLog::logWithType(
                1, "ReaderViewController", "Share lists not stored", written.error().description());
    }
    if (!ui::Environment::current().isPad())
        slideOutShareSettings();
}

void NoteRoad::didClickOnNoteShareSettingsSaveButton(const std::shared_ptr<SDKHighlightVO>& note)
{
    if (!note)
        return;
    if (m_context.analyticsHandler)
        m_context.analyticsHandler->trackEvent(MVLectoroAnalyticsHandler::MVAnalyticsEventType::NoteShared,
            MVLectoroAnalyticsMetaData::ugcTracking(note->displayNum, note->localID));
    didTapOnPostNote(note);
    auto panel = m_shareSettingsController;
    if (panel && panel->isFromMydataController()) {
        reloadMyData();
        if (!ui::Environment::current().isPad())
            slideOutShareSettings();
        return;
    }
    // The note's editor opened from My Data: the list under it shows the note shared.
    if (m_host.myDataPanel())
        reloadMyData();
    if (m_noteController)
        m_noteController->didTapOnShareNote();
}

void NoteRoad::reloadMyData()
{
    m_host.reloadMyDataList();
}

void NoteRoad::didAnsweredHighlight(const std::shared_ptr<SDKHighlightVO>& note, bool accepted)
{
    if (!note)
        return;
    if (accepted && m_context.analyticsHandler)
        m_context.analyticsHandler->trackEvent(MVLectoroAnalyticsHandler::MVAnalyticsEventType::NoteReceived,
            MVLectoroAnalyticsMetaData::ugcTracking(note->displayNum, note->localID));
    // The stored note changes only once the server confirms the answer.
    if (m_context.dataSyncManager)
        m_context.dataSyncManager->acceptOrRejectCollab(note->ugcID, accepted, sharingUserToken(m_context));
}

} // namespace lectoro
