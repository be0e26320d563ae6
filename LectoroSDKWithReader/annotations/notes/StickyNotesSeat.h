#pragma once

// The note editor's delegate seat and its comment cell. Text view, comment field, thread
// table, tap recogniser and recogniser all point at one seat the editor owns; a widget
// that outlives the editor reaches a detached seat and nothing else.

#include "LectoroSDKWithReader/annotations/notes/NoteVoiceRecognizer.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

namespace ui {
class Label;
}

namespace lectoro {

// One comment of the thread: the others' bubble (name, text, time) or the own bubble.
// The editor fills it; the cell has no behaviour of its own.
class StickyNoteCommentCell : public ui::TableViewCell {
public:
    static constexpr const char* reuseIdentifier = "StickyNoteCommentCell";

    static std::shared_ptr<StickyNoteCommentCell> create(
        ui::TableViewCellStyle, const std::string& identifier);
    std::string_view className() const override { return "StickyNoteCommentCell"; }

    const std::shared_ptr<ui::View>& containerView() const { return m_containerView; }
    const std::shared_ptr<ui::Label>& stickyCommentCreatedBy() const { return m_createdBy; }
    const std::shared_ptr<ui::Label>& stickyCommentLbl() const { return m_comment; }
    const std::shared_ptr<ui::Label>& stickyCommentDateTimeLbl() const { return m_dateTime; }
    const std::shared_ptr<ui::View>& containerViewForMyComment() const { return m_myContainerView; }
    const std::shared_ptr<ui::Label>& nameLablForMyComment() const { return m_myName; }
    const std::shared_ptr<ui::Label>& myCommentLbl() const { return m_myComment; }
    const std::shared_ptr<ui::Label>& timeLblOfMyComments() const { return m_myTime; }

    ui::Size sizeThatFits(const ui::Size&) const override;
    void layoutSubviews() override;

protected:
    StickyNoteCommentCell(ui::TableViewCellStyle, std::string identifier);

private:
    void build();

    std::shared_ptr<ui::View> m_containerView;
    std::shared_ptr<ui::Label> m_createdBy;
    std::shared_ptr<ui::Label> m_comment;
    std::shared_ptr<ui::Label> m_dateTime;
    std::shared_ptr<ui::View> m_myContainerView;
    std::shared_ptr<ui::Label> m_myName;
    std::shared_ptr<ui::Label> m_myComment;
    std::shared_ptr<ui::Label> m_myTime;
};

class StickyNotesViewController::Seat final : public ui::TextViewDelegate,
                                              public ui::TextFieldDelegate,
                                              public ui::TableViewDataSource,
                                              public ui::TableViewDelegate,
                                              public ui::GestureRecognizerDelegate,
                                              public NoteVoiceRecognizerDelegate {
public:
    explicit Seat(StickyNotesViewController& editor)
        : m_editor(&editor)
    {
    }
    void detach() { m_editor = nullptr; }

    // The note text view.
    bool shouldChangeTextInRange(ui::TextView&, base::Range, const std::string&) override;
    // The comment field.
    bool shouldChangeCharactersInRange(ui::TextField&, base::Range, const std::string&) override;
    bool shouldReturn(ui::TextField&) override;
    // The thread.
    int numberOfRowsInSection(ui::TableView&, int) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    // The tap outside the card.
    bool shouldReceiveTouch(ui::GestureRecognizer&, ui::View*) override;
    bool shouldRecognizeSimultaneously(ui::GestureRecognizer&, ui::GestureRecognizer&) override
    {
        return false;
    }
    // Dictation.
    void voiceRecognizerAuthStateWithAuthState(NoteVoiceRecognizer&, int64_t) override;
    void didStopVocieRecognizing(NoteVoiceRecognizer&) override;
    void recognizerNotAvailable(NoteVoiceRecognizer&) override;

private:
    StickyNotesViewController* m_editor;
};

} // namespace lectoro
