#pragma once

// Every tap on any bar of the reading screen arrives here (the reader is the delegate of
// all its bars) and is routed first by the bar's tag, then by the item's tag, to the
// operation that owns it. Before anything else every tap closes the vertical "more" bar
// and the narration speed choice. Bars tagged 9, 10 or above 12 take part in nothing more.
//
// The dispatcher holds no state of its own; it writes the reader's activeMode and
// readAloudMode when a read-aloud or audio-sync bar closes, and clears the teacher's
// drag-box mode on any teacher-bar tap but the drag box itself.

#include <memory>

namespace ui {
class View;
}

namespace lectoro {

class LXMVThemeVO;
class PlayerActionBar;
class PlayerActionBarItem;
class ReaderToolbarActions;
struct ReaderContext;

class ReaderActionDispatcher {
public:
    // Both must outlive the dispatcher.
    ReaderActionDispatcher(ReaderContext&, ReaderToolbarActions&);

    void didTapOnPlayerActionBar(PlayerActionBar&, PlayerActionBarItem&);
    // Before a pen-tool or teacher bar clears its selection, its items take the plain
    // pen-bar colours back. Other bars are left alone.
    void willResetPlayerActionBar(PlayerActionBar&);
    // Clears the selection of the top, bottom, pen-tool (teacher top) and teacher bottom bars.
    void resetAllPlayerActionBar();
    // A label gets the selected look (rounded, in the bottom bar's selected colours); any
    // other view is left alone.
    void makeSelectionBorderForPlayerActionBarItem(ui::View&);

private:
    const LXMVThemeVO& theme() const;
    void dispatchMainBar(PlayerActionBarItem&);
    void dispatchPenToolBar(PlayerActionBarItem&);
    void dispatchTextAnnotationBar(PlayerActionBarItem&);
    void dispatchTextAlignmentBar(PlayerActionBarItem&);
    void dispatchTextColorBar(PlayerActionBarItem&);
    void dispatchReadAloudBar(PlayerActionBarItem&);
    void dispatchAudioSyncBar(PlayerActionBarItem&);
    void dispatchTeacherBar(PlayerActionBarItem&);
    void stepReadAloudPage(bool forward);
    void notifyEvent(const char* eventName);

    ReaderContext& m_context;
    ReaderToolbarActions& m_actions;
};

} // namespace lectoro
