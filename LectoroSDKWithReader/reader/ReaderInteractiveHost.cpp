#include "LectoroSDKWithReader/reader/ReaderInteractiveHost.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/annotations/notes/NoteRoad.h"
#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderTokenRenewal.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "platform/base/RunLoop.h"

namespace lectoro {

std::shared_ptr<ui::ViewController> ReaderInteractiveHost::presentingController()
{
    return m_reader.shared_from_this();
}

void ReaderInteractiveHost::moveTopAndBottomOffScreen() { m_reader.moveTopAndBottomOffScreenWithIsAnimate(false); }

void ReaderInteractiveHost::showAlertWithTitle(const std::string& title, const std::string& message)
{
    m_reader.showAlertWithTitle(title, message);
}

void ReaderInteractiveHost::singleTapOnPage() { m_reader.singleTapOnPage(); }

void ReaderInteractiveHost::removeHighlightPopup() { m_reader.annotations().removeHighlightPopup(); }

void ReaderInteractiveHost::saveReadingSessionForLinkOpen()
{
    m_reader.readingSession().createAndSaveReaderAnalyticsSessionWithCalledUsingTimer(false);
}

int64_t ReaderInteractiveHost::getPageIDForDisplayNumber(const std::string& displayNumber)
{
    return m_reader.navigation().getPageIDForDisplayNumber(displayNumber);
}

void ReaderInteractiveHost::stopAudioSyncIfAny() { m_reader.readAloud().stopAudioSyncIfAny(); }

void ReaderInteractiveHost::startAudioSyncForLink(std::shared_ptr<PXLinkVO> link)
{
    m_reader.readAloud().startAudioSyncForLink(link);
}

bool ReaderInteractiveHost::isBookDownloaded(const std::string& bookID)
{
    auto delegate = m_reader.delegate();
    return delegate && delegate->respondsToIsBookDownloaded() && delegate->isBookDownloadedForBookID(bookID);
}

void ReaderInteractiveHost::closeAndJumpToBook(const std::string& bookID, const std::string& folio)
{
    auto delegate = m_reader.delegate();
    m_reader.didTapOnBackButton();
    if (delegate)
        delegate->jumpToBookReaderForBookID(bookID, folio);
}

void ReaderInteractiveHost::moveTopAndBottomOffScreenAnimated() { m_reader.moveTopAndBottomOffScreenWithIsAnimate(true); }

void ReaderInteractiveHost::removeBookmarkVC() { m_reader.annotations().removeBookmarkVC(); }

void ReaderInteractiveHost::updateClearAllFIBsButtonStatus() { m_reader.annotations().updateClearAllFIBsButtonStatus(); }

void ReaderInteractiveHost::showAlertForError(const base::Error& error, const std::string& title)
{
    m_reader.showAlertForError(error, title);
}

void ReaderInteractiveHost::showSessionExpiredAlert() { m_reader.showSessionExpiredAlert(); }

bool ReaderInteractiveHost::refreshUserToken(
    const std::string& expiredToken, std::function<void(std::shared_ptr<LectoroUser>)> completion)
{
    return renewUserTokenThroughHost(m_reader, expiredToken, std::move(completion));
}

std::weak_ptr<LectoroDataSyncingManagerDelegate> ReaderInteractiveHost::syncDelegate()
{
    return std::dynamic_pointer_cast<ReaderViewController>(m_reader.shared_from_this());
}

void ReaderInteractiveHost::loadWebPlayerForStandardActivityWithURL(const base::URL& url)
{
    m_reader.contents().loadWebPlayerForStandardActivityWithURL(url);
}

void ReaderInteractiveHost::navigateTopage(const std::string& page) { m_reader.navigation().navigateTopage(page); }

void ReaderInteractiveHost::resetAllPlayerActionBar() { m_reader.resetAllPlayerActionBar(); }

std::weak_ptr<ui::PopoverPresentationControllerDelegate> ReaderInteractiveHost::readerPopoverDelegate()
{
    return m_reader.noteRoad().popoverPresentationDelegate();
}

} // namespace lectoro
