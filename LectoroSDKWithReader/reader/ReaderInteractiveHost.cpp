#include "LectoroSDKWithReader/reader/ReaderInteractiveHost.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"

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

} // namespace lectoro
