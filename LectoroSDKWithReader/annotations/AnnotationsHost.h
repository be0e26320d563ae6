#pragma once

// What the annotations subsystem asks of the reader around it: the bars, the neighbouring
// subsystems its tools hand over to, alerts and the expired-session road. The reader
// implements it; tests give their own. The reader's state the features share (book,
// user, store, renderer, theme, settings, mode) they read from the ReaderContext.

#include "platform/ui/Constraint.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class PopoverPresentationControllerDelegate;
class ViewController;
} // namespace ui

namespace lectoro {

class LectoroUser;
class PlayerActionBar;
class PlayerActionBarItem;
class PlayerActionDelegate;
class ReaderPageOverlays;
class ReviewAnnotationPanel;
class SDKHighlightVO;
class StickyNoteControllerDelegate;

class AnnotationsHost {
public:
    virtual ~AnnotationsHost() = default;

    // --- Chrome ---
    virtual void moveTopAndBottomOffScreen(bool animate) = 0;
    virtual void moveTopAndBottomOnScreen(bool animate) = 0;
    virtual void resetAllPlayerActionBar() = 0;
    // The reflowable vertical page slider's right-edge constraint while the slider is on;
    // null otherwise.
    virtual ui::ConstraintPtr verticalSliderRightConstraint() = 0;
    // The right safe-area inset of the reader's view.
    virtual double readerRightSafeAreaInset() = 0;
    // The phone bottom bar's page slider shows the page.
    virtual void setBottomBarPageSliderValue(int64_t page) = 0;
    // The painter of a page's layers: a redraw of every visible page goes through it, in
    // the order the layers stack.
    virtual ReaderPageOverlays& pageOverlays() = 0;

    // --- Neighbours the tools hand over to ---
    virtual void stopInlineVideo() = 0;
    virtual void closeAudioSync() = 0;
    virtual void addSearchForText(const std::string& text) = 0;
    virtual void showTranslationForText(const std::string& text) = 0;
    virtual void presentImmersiveReader(const std::string& token, const std::string& subdomain,
        const std::string& text)
        = 0;
    // The note editor for the record (sticky or contextual).
    virtual void showNotesForHighlight(std::shared_ptr<SDKHighlightVO>, bool forMyData) = 0;
    // Dismisses the note editor without animation; the completion runs once it is gone (at
    // once when none is open).
    virtual void dismissNoteEditor(std::function<void()> completion) = 0;
    virtual void addPreLoaderView() = 0;
    virtual void removePreLoaderView() = 0;

    // --- Alerts, session and analytics ---
    // The controller alerts and screens are presented on.
    virtual std::shared_ptr<ui::ViewController> presentingController() = 0;
    virtual void showAlertWithTitle(const std::string& title, const std::string& message) = 0;
    virtual void showSessionExpiredAlert() = 0;
    // Asks the reader's delegate for a fresh user in place of the expired token; false when
    // the delegate does not renew tokens. The completion runs on the main queue.
    virtual bool refreshUserToken(const std::string& expiredToken,
        std::function<void(std::shared_ptr<LectoroUser>)> completion)
        = 0;
    virtual void saveReaderAnalyticsSession() = 0;

    // --- The note road's neighbours (the defaults: none of them is there) ---
    // The My Data panel while it is open; null otherwise.
    virtual std::shared_ptr<ui::ViewController> myDataPanel() { return nullptr; }
    // The open My Data panel takes the user's highlights and notes from the store again.
    virtual void reloadMyDataList() { }
    virtual void removeGlossaryController() { }
    // A pop-over's dismissal closes the bookmark input and the search panel.
    virtual void resignBookmarkInput() { }
    virtual void closeSearchPanel() { }
    // The reader as the delegate of the pop-overs the features present, so that a tap
    // outside one reaches the reader's dismissal rule; none: the platform's defaults.
    virtual std::weak_ptr<ui::PopoverPresentationControllerDelegate> readerPopoverDelegate() { return {}; }
    // Who hears the taps on the sticky-note overlay.
    virtual std::weak_ptr<StickyNoteControllerDelegate> stickyNoteOverlayDelegate() { return {}; }
    // --- Pen tool, bookmarks and clearing (the defaults are a host without them) ---
    // The bars slide; the completion runs once they are out (or back in).
    virtual void moveTopAndBottomOffScreenThen(bool animate, std::function<void()> completion)
    {
        moveTopAndBottomOffScreen(animate);
        if (completion)
            completion();
    }
    virtual void moveTopAndBottomOnScreenThen(bool animate, std::function<void()> completion)
    {
        moveTopAndBottomOnScreen(animate);
        if (completion)
            completion();
    }
    // Builds the pen bar (the context's penToolActionBarView) and slides it in.
    virtual void addPenToolTopBarViewWithAnimation(bool) { }
    // The pen bar's bottom constraint to the reader view; null without a pen bar.
    virtual ui::ConstraintPtr bottomConstraintOfPenTool() { return nullptr; }
    // Teacher review's learner panel while review runs; null otherwise.
    virtual ReviewAnnotationPanel* reviewAnnotationPanel() { return nullptr; }
    // A colour picked for read-aloud.
    virtual void didSelectAudioSyncColor(const std::string&) { }
    // The vertical tool bar, when the reader shows one.
    virtual std::shared_ptr<PlayerActionBar> verticalToolBar() { return nullptr; }
    virtual void removeInstructionMarkupPopOver() { }
    // The help overlay's bookmark icon, and a fresh layout of a shown overlay.
    virtual void setHelpBookmark(std::shared_ptr<ui::View>) { }
    virtual bool isHelpScreenShown() { return false; }
    virtual void refreshHelpScreen() { }
    // --- Text boxes ---
    // Where the bars and pop-ups a feature builds send their taps (the reader's action
    // dispatcher). A host without one: taps go nowhere.
    virtual std::weak_ptr<PlayerActionDelegate> playerActionDelegate() { return {}; }
    // The printed number of a page book's page (the key itself in any other book); absent
    // for a page the book does not hold.
    virtual std::optional<std::string> displayNumberForPageID(const std::string& pageID) { return pageID; }
};

} // namespace lectoro
