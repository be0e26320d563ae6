#pragma once

// The road of a text box typed onto a page of a fixed-layout book. The renderer owns the
// box (places it, edits its text, colour and alignment, draws stored boxes); this road
// starts a box from the toolbar, follows the renderer's editing callbacks, builds and
// removes the editing chrome (the action bar and its colour and alignment pop-ups), keeps
// the bar and the box above the keyboard, asks before a box is deleted, stores the
// finished box with the reader's book version, and draws each page's stored boxes.
//
// Editing sets the reader mode to 15; every way out (close, save, delete, the renderer's
// completion, rotation) ends in removeTextAnnotationView, which returns the mode to 0.
// Nothing is uploaded here: the batch sync does that. Store failures reach the host
// through the store's problem handler; the road carries on.

#include "platform/ui/Geometry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class AlertController;
class TextView;
class View;
} // namespace ui

namespace lectoro {

class AnnotationsHost;
class PageAnnotationsDrawer;
class PlayerActionBar;
class SDKTextAnnotationVO;
class TextAnnotationActionView;
class TextAnnotationAlignmentActionView;
class TextAnnotationPalleteActionView;
struct ReaderContext;

class TextAnnotationRoad {
public:
    TextAnnotationRoad(ReaderContext&, AnnotationsHost&, PageAnnotationsDrawer&);
    ~TextAnnotationRoad();

    // The text view of the box being edited, as the renderer last reported it.
    const std::shared_ptr<ui::TextView>& textAnnotationView() const { return m_textAnnotationView; }
    const std::shared_ptr<TextAnnotationActionView>& textAnnotationPlayerBottomActionBarView() const
    {
        return m_bar;
    }
    const std::shared_ptr<TextAnnotationPalleteActionView>& textAnnotationColorActionBarView() const
    {
        return m_colorPopup;
    }
    const std::shared_ptr<TextAnnotationAlignmentActionView>& textAnnotationAlignmentActionBarView() const
    {
        return m_alignmentPopup;
    }
    // The delete confirmation, kept after it was shown.
    const std::shared_ptr<ui::AlertController>& actionSheet() const { return m_actionSheet; }

    // --- Starting and the renderer's callbacks ---
    void actionForTextAnnotation();
    bool textAnnotationShouldBeginEditing() const;
    void didTextAnnotationBeginEditing(const std::shared_ptr<ui::TextView>&);
    void didTextAnnotationValueChanged(const std::shared_ptr<ui::TextView>&);
    void didTextAnnotationCompleteWithTextAnnotation(
        const std::shared_ptr<SDKTextAnnotationVO>& textAnnotation,
        const std::shared_ptr<SDKTextAnnotationVO>& newSDKTextAnnotationVO);

    // --- Pages ---
    void drawTextAnnotationsOnPageNumber(const std::string& pageNumber, const std::string& displayNumber);

    // --- The bar and the keyboard ---
    void addPlayerBottomBarForTextAnnotation();
    // The keyboard's end frame when it comes up, the zero rectangle when it goes down.
    void updatePlayerBottomBarPositionWithKeyboardSize(const ui::Rect& keyboardFrame);
    void updateReaderViewPositionWithTextAnnotation(const ui::Rect& keyboardFrame);
    void actionForTextAnnotationKeyBoard();

    // --- The pop-ups ---
    void addTextAnnotationAlignmentView();
    void removeTextAnnotationAlignmentView();
    void addTextAnnotationTextColorView();
    void removeTextAnnotationColorView();
    // The open colour pop-up marks the colour (hex text).
    void setTextAnnotationSelectedColor(const std::string& hexColor);

    // --- Leaving ---
    void actionForDeleteTextAnnotation();
    void removeTextAnnotationView();

private:
    void updateSaveItem();
    // A bar item marked while its pop-up is open, unmarked when it closes.
    void markBarItem(int tag, bool marked);
    // What each pop-up gets before it is placed: announced, modal, taps to the dispatcher.
    void preparePopup(const std::shared_ptr<PlayerActionBar>&, int barItemTag);
    // The reader's view, the parent of the bar and the pop-ups.
    std::shared_ptr<ui::View> readerView() const;
    bool visiblePagesHoldStoredBoxes() const;
    std::string storeBookID() const;
    int64_t storeUserID() const;
    // Dismisses the confirmation while the reader still presents it.
    void dismissConfirmation(bool animated);

    ReaderContext& m_context;
    AnnotationsHost& m_host;
    PageAnnotationsDrawer& m_pages;
    std::shared_ptr<ui::TextView> m_textAnnotationView;
    std::shared_ptr<TextAnnotationActionView> m_bar;
    std::shared_ptr<TextAnnotationPalleteActionView> m_colorPopup;
    std::shared_ptr<TextAnnotationAlignmentActionView> m_alignmentPopup;
    std::shared_ptr<ui::AlertController> m_actionSheet;
    // The renderer view's frame before the keyboard moved it; none while it stands in place.
    std::optional<ui::Rect> m_pageFrameBeforeShift;
    // Handlers that outlive the road find it gone through this token.
    std::shared_ptr<TextAnnotationRoad*> m_alive;
};

} // namespace lectoro
