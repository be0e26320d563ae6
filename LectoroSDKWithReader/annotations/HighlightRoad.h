#pragma once

// The road of a highlight, from the renderer's report of a text selection to the record
// stored, changed or deleted in the local store: it builds the highlight pop-up once per
// reader and hands it to the renderer, shows it over each selection, turns a colour tap
// into a highlight, routes the pop-up's tools (contextual note, search, translation,
// delete, immersive reader), stores what the renderer hands back with the reader's book
// version, reports the matching analytics events, moves stored highlights whose colour
// is no longer offered, and opens a new sticky note from the toolbar.
//
// Every record the renderer finishes is stored at once (status 3 deletes it); nothing is
// uploaded here: the batch sync does that. Store failures reach the host through the
// store's problem handler; the road logs them and carries on.

#include "LectoroSDKWithReader/annotations/HighlightView.h"
#include "platform/ui/Geometry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace lectoro {

class AnnotationsHost;
class HighLightToolView;
class SDKHighlightVO;
class StickyNoteController;
struct HighlightToolSwitches;
struct ReaderContext;

class HighlightRoad {
public:
    HighlightRoad(ReaderContext&, AnnotationsHost&);
    ~HighlightRoad();

    // Null until initializeHighlight.
    const std::shared_ptr<HighlightView>& highlightView() const { return m_highlightView; }

    // --- The pop-up ---
    // Builds the pop-up (once) and hands it to the renderer.
    void initializeHighlight();
    int getHighlightViewItemCount() const;
    void addHighlightColorsOnHighlightView();
    void addHighlightToolsOnHighlightView();
    std::shared_ptr<HighLightToolView> initializeHighlightToolView() const;
    std::shared_ptr<HighLightToolView> addHighlightTool(const std::string& name, const std::string& icon, uint64_t type) const;
    std::shared_ptr<HighLightToolView> addHighlightColor(const std::string& hexColor) const;

    // --- The renderer's reports ---
    void didHighlightTextWithHighlightSelectionRect(const ui::Rect& selection, int64_t pageNo);
    void didHighlighCompleteWithHighlight(const std::shared_ptr<SDKHighlightVO>&);
    void didTapOnNoteHighligh(const std::shared_ptr<SDKHighlightVO>&);
    bool didStickyNoteAllowedTwoPagePanning() const { return true; }
    // The renderer closed the pop-up by itself.
    void didHighlightClosed();

    // --- The tools ---
    void addContextualNoteWithTextColor(const std::string& color);
    void actionForHighlightDelete(const std::string& color);
    void deleteHighightItemWithTextColor(const std::string& color);
    void actionForSearchTool();
    void actionForSearchToolEpub();
    void showTranslationView();
    void showImmersiveReader();
    void showImmersiveReaderWithString(const std::string& text);

    void removeHighlightPopup();
    // The note editor closes; the mode returns to normal and the bars' selections clear.
    void removeNoteView();

    // --- Records ---
    void trackEventForHighlight(const SDKHighlightVO&);
    void migrateHighlightAndNoteColors();

    // --- Sticky notes ---
    void showStickyNote();
    void actionForStickNote();
    const std::shared_ptr<StickyNoteController>& stickyNoteController() const { return m_stickyNoteController; }

private:
    class PopupDelegate;

    HighlightToolSwitches toolSwitches() const;
    bool isPageBook() const;
    std::string storeBookID() const;
    int64_t storeUserID() const;
    // The record of the current selection, at once for a page book, later for any other
    // book; nothing comes when the renderer has none.
    void withSelectedRecord(const std::string& textColor, const std::string& backgroundColor,
        std::function<void(HighlightRoad&, const std::shared_ptr<SDKHighlightVO>&)>);
    void dispatchTool(const HighLightToolView&, const std::string& color);
    void showStickyNoteFor(const std::shared_ptr<SDKHighlightVO>&);
    // The token call of the immersive reader; `renewed` once the session was renewed,
    // after which an expired session ends the road.
    void requestImmersiveReader(const std::string& text, bool renewed);
    // Runs the work on the main queue while this road is alive.
    void onMain(std::function<void(HighlightRoad&)>);

    ReaderContext& m_context;
    AnnotationsHost& m_host;
    std::shared_ptr<HighlightView> m_highlightView;
    std::shared_ptr<PopupDelegate> m_popupDelegate;
    std::shared_ptr<StickyNoteController> m_stickyNoteController;
    // Callbacks that outlive the road find it gone through this token.
    std::shared_ptr<HighlightRoad*> m_alive;
};

} // namespace lectoro
