#pragma once

// The road of a note through the reader: it opens the note editor for a record and
// carries out what the editor reports (post, cancel, delete, a new comment, share),
// answers taps on the sticky-note overlay and the reader's pop-over dismissal; and the
// sharing handlers the My Data panel and the share-settings panel call: opening and
// closing the share settings, a class's share and receive lists sent and stored, a note
// shared with chosen users, and the answer to a received note (NoteRoadSharing.cpp).
//
// Nothing here uploads a note: a posted or deleted note goes to the renderer, which hands
// it back to the highlight road to be stored; a comment is stored at once, unsynced. Only
// a class's lists and the answer to a received note are sent at once; their answers come
// back as the reader's sync results (with the expired-session rule).

#include "LectoroSDKWithReader/mydata/LXShareSettingsController.h"
#include "LectoroSDKWithReader/readersdk/widgets/StickyNoteController.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Presentation.h"

#include <functional>
#include <memory>
#include <string>

namespace lectoro {

class AnnotationsHost;
class LXShareSettingsControllerDelegate;
class SDKBookClassInfoVO;
class SDKHighlightVO;
class StickyNotesViewController;
struct ReaderContext;

class NoteRoad {
public:
    NoteRoad(ReaderContext&, AnnotationsHost&);
    ~NoteRoad();

    // The editor now open (at most one; replaced on each opening) and the share panel.
    const std::shared_ptr<StickyNotesViewController>& noteController() const { return m_noteController; }
    const std::shared_ptr<LXShareSettingsController>& shareSettingsController() const
    {
        return m_shareSettingsController;
    }

    // --- The editor ---
    void showNotesForHighlight(const std::shared_ptr<SDKHighlightVO>&, bool forMyData);
    std::shared_ptr<StickyNotesViewController> instantiateStickyNoteSViewController() const;
    void didTapOnPostNote(const std::shared_ptr<SDKHighlightVO>&);
    void didTapOnCancelNote(const std::shared_ptr<SDKHighlightVO>&);
    // The editor left (whichever way): the reader returns from the note's mode if no
    // block did.
    void didLeaveNoteEditor(const std::shared_ptr<ui::ViewController>& editor);
    void didTapOnDeleteNote(const std::shared_ptr<SDKHighlightVO>&);
    void didTapOnPostNoteComment(const std::shared_ptr<SDKHighlightVO>&);
    void didTapOnShareNote(const std::shared_ptr<SDKHighlightVO>&, const std::string& selectedColor,
        const std::string& noteText);
    // Closes the editor without animation; the completion runs once it is gone (at once
    // when none is shown).
    void dismissNoteEditor(std::function<void()> completion);

    // --- The sticky-note overlay and pop-overs ---
    void didTapOnStickNoteController(StickyNoteController&, const ui::Point&);
    void removeStickNoteController(ui::View&);
    // The overlay's delegate seat.
    std::weak_ptr<StickyNoteControllerDelegate> stickyNoteControllerDelegate() const;
    // The reader as the delegate of the pop-overs it presents: they stay pop-overs, and a
    // tap outside one ends the mode it opened (popoverPresentationControllerDidDismissPopover).
    std::weak_ptr<ui::PopoverPresentationControllerDelegate> popoverPresentationDelegate() const;
    // The share-settings panel's delegate seat.
    std::weak_ptr<LXShareSettingsControllerDelegate> shareSettingsDelegate() const;
    void popoverPresentationControllerDidDismissPopover();

    // --- Sharing handlers (NoteRoadSharing.cpp) ---
    void didTapOnNotesComment(const std::shared_ptr<SDKHighlightVO>&);
    void didTapOnShareSettings();
    void didTapOnNoteShareSettings(const std::shared_ptr<SDKHighlightVO>&);
    void didClickOnShareSettingsCancelButton();
    void didClickOnShareSettingsSaveButton(const std::shared_ptr<SDKBookClassInfoVO>&);
    void didClickOnNoteShareSettingsSaveButton(const std::shared_ptr<SDKHighlightVO>&);
    void didAnsweredHighlight(const std::shared_ptr<SDKHighlightVO>&, bool accepted);
    // {"shareList": ..., "recieveList": ...} of a class (the second key spelt so).
    static base::Value sharePayloadForClass(const SDKBookClassInfoVO&);

private:
    class Seat;

    std::string storeBookID() const;
    int64_t storeUserID() const;
    std::vector<std::shared_ptr<SDKBookClassInfoVO>> userClasses() const;
    void openShareSettings(int64_t settingsType, const std::shared_ptr<SDKHighlightVO>&);
    void slideOutShareSettings();
    void reloadMyData();

    ReaderContext& m_context;
    AnnotationsHost& m_host;
    std::shared_ptr<StickyNotesViewController> m_noteController;
    std::shared_ptr<LXShareSettingsController> m_shareSettingsController;
    std::shared_ptr<Seat> m_seat;
    // Callbacks that outlive the road find it gone through this token.
    std::shared_ptr<NoteRoad*> m_alive;
};

} // namespace lectoro
