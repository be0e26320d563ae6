// How the reader ends: the back button, sign-out and an expired session each save the
// reading session and tell the delegate; the launcher then uninitialises the reader,
// which releases everything it holds.

#include "LectoroSDKWithReader/reader/ReaderViewController.h"

#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/ReaderReflowable.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "platform/ui/Layer.h"
#include "platform/ui/View.h"

namespace lectoro {

void ReaderViewController::didTapOnBackButton()
{
    auto protect = shared_from_this();
    if (m_interactive->hasAudioPlayer())
        m_interactive->resetAudioPlayer();
    if (m_context.analyticsHandler)
        m_context.analyticsHandler->notifyEvent(
            std::string(LectoroReaderEventConstant::homeButtonEventName()));
    m_readingSession->saveReaderAnalytics();
    getUnSyncedUgc();
    // The screen goes at once, without the platform's own transition.
    if (auto ownView = viewIfLoaded()) {
        if (auto window = ownView->window()) {
            ui::LayerAnimation fade;
            fade.type = "fade";
            fade.subtype = "moveIn";
            fade.duration = 0;
            window->layer()->addAnimation(fade, "kCATransition");
        }
    }
    if (auto delegate = m_delegate.lock())
        delegate->didClosedReader(
            *this, m_context.bookID, m_context.lastPageFolio, m_context.avgTimePerPage, false);
}

void ReaderViewController::signOutAction()
{
    auto protect = shared_from_this();
    m_readingSession->saveReaderAnalytics();
    if (auto delegate = m_delegate.lock())
        delegate->didClosedReader(
            *this, m_context.bookID, m_context.lastPageFolio, m_context.avgTimePerPage, false);
}

void ReaderViewController::closeReaderForSessionExpiry()
{
    auto protect = shared_from_this();
    m_readingSession->saveReaderAnalytics();
    auto delegate = m_delegate.lock();
    if (delegate && m_context.user)
        delegate->didSignOutForUser(m_context.user);
    if (delegate)
        delegate->didClosedReader(
            *this, m_context.bookID, m_context.lastPageFolio, m_context.avgTimePerPage, true);
}

void ReaderViewController::getUnSyncedUgc()
{
    if (!m_context.dbManager || !m_context.user)
        return;
    int64_t userID = m_context.user->numericUserID();
    auto ugc = m_context.dbManager->getUnsynedUGCDictionaryForUserID(userID);
    auto collab = m_context.dbManager->getUnsyncedCollabDataDictionaryForUserID(userID);
    const auto* books = ugc["ugcBookList"].asList();
    const auto* collabEntries = collab.asDictionary();
    bool inProgress = (books && !books->empty()) || (collabEntries && !collabEntries->empty());
    if (auto delegate = m_delegate.lock())
        delegate->checkUgcSyncInProgress(inProgress);
}

void ReaderViewController::uninitializeReader()
{
    clearObjects();
}

void ReaderViewController::clearObjects()
{
    m_readingSession->stopAnalyticsScheduledTimer();
    removeRendererViewController();
    m_readAloud->stopAudioSyncIfAny();
    m_bars->removePlayerBottomBar();
    m_readAloud->removeSpeedSelectionView();
    stopObserving();
    stopActivityIndicator();
    // Delayed work of this reader (page-load follow-ups, jumps, sync answers on their way)
    // must not run any more.
    m_lifetime = std::make_shared<int>(0);
    m_reflowable->tearDown();
    m_context.dbManager.reset();
    m_context.currentBook.reset();
    m_context.penToolActionBarView.reset();
    m_context.penToolActionBottomBarView.reset();
    m_context.playerTopActionBarView.reset();
    m_context.playerBottomActionBarView.reset();
    m_context.readingTimeManager.reset();
    m_context.analyticsHandler.reset();
    m_context.currentReadAloudPageId.clear();
    m_cleared = true;
}

} // namespace lectoro
