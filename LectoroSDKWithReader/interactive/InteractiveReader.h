#pragma once

// What interactive content needs of the reader beyond the shared ReaderContext: the reader
// as presenting controller, its bars, alerts, page moves, session analytics, read-aloud
// and its host's book shelf. The reader implements it (reader/ReaderInteractiveHost);
// tests can stand in for it.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace base {
struct Error;
class URL;
}

namespace ui {
class PopoverPresentationControllerDelegate;
class ViewController;
}

namespace lectoro {

class LectoroDataSyncingManagerDelegate;
class LectoroUser;
class PXLinkVO;

class InteractiveReader {
public:
    virtual ~InteractiveReader() = default;

    virtual std::shared_ptr<ui::ViewController> presentingController() = 0;
    // Slides the top and bottom bars away without animation.
    virtual void moveTopAndBottomOffScreen() = 0;
    virtual void showAlertWithTitle(const std::string& title, const std::string& message) = 0;
    // A tap that only means "the page was tapped" (the bars toggle).
    virtual void singleTapOnPage() = 0;
    virtual void removeHighlightPopup() = 0;
    // Stores the reading session of the visible pages (a link was opened).
    virtual void saveReadingSessionForLinkOpen() = 0;
    // The page id of the first page with that printed folio; 0 for none.
    virtual int64_t getPageIDForDisplayNumber(const std::string& displayNumber) = 0;
    // Read-aloud of an audio markup with word timings: stop any running one, then start
    // this link's at the reader's speed step with its bottom bar.
    virtual void stopAudioSyncIfAny() = 0;
    virtual void startAudioSyncForLink(std::shared_ptr<PXLinkVO>) = 0;
    // The host's shelf: whether the book is on the device (false without a host answer),
    // and closing the reader to open that book at the folio.
    virtual bool isBookDownloaded(const std::string& bookID) = 0;
    virtual void closeAndJumpToBook(const std::string& bookID, const std::string& folio) = 0;

    // Answers, players and web content. The defaults are what a reader without that
    // piece does.
    // Slides the bars away, animated.
    virtual void moveTopAndBottomOffScreenAnimated() { moveTopAndBottomOffScreen(); }
    virtual void removeBookmarkVC() { }
    // Enables the clear-all-answers items when a page on screen holds answers.
    virtual void updateClearAllFIBsButtonStatus() { }
    // The reader's error alert (a session expiry goes to the expired-session path).
    virtual void showAlertForError(const base::Error&, const std::string& title) { showAlertWithTitle(title, ""); }
    virtual void showSessionExpiredAlert() { }
    // Asks the host for a fresh token for the expired one; the completion gets the
    // renewed user on the main queue. False when the host cannot renew.
    virtual bool refreshUserToken(const std::string& /*expiredToken*/,
        std::function<void(std::shared_ptr<LectoroUser>)> /*completion*/)
    {
        return false;
    }
    // The reader as the sync client's delegate (SCORM uploads report to it).
    virtual std::weak_ptr<LectoroDataSyncingManagerDelegate> syncDelegate() { return {}; }
    // The framework's web player over the whole reader, showing the address (the
    // contents panel's web links open the same way).
    virtual void loadWebPlayerForStandardActivityWithURL(const base::URL&) { }
    // Moves to a page by its printed number or a chapter's address.
    virtual void navigateTopage(const std::string& /*page*/) { }
    // Clears the selected item of every bar (a pop-over went away).
    virtual void resetAllPlayerActionBar() { }
    // The reader's pop-over delegate: a pop-over tapped away ends the mode that opened it.
    virtual std::weak_ptr<ui::PopoverPresentationControllerDelegate> readerPopoverDelegate() { return {}; }
};

} // namespace lectoro
