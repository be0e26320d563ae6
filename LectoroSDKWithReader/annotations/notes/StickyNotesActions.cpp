// The note editor's answers to the user: colours, text edits, and the save, share, delete
// and cancel buttons with their confirmations.

#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/annotations/notes/NoteVoiceRecognizer.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesSeat.h"
#include "LectoroSDKWithReader/foundation/AccessibilityIdentifiers.h"
#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/foundation/UITextViewPlaceholder.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVIconFontConstants.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

namespace lectoro {

// MARK: - Colours

void StickyNotesViewController::didSelectColorButton(int tag)
{
    if (tag < 1 || static_cast<size_t>(tag) > m_colorsArray.size() || !m_record)
        return;
    m_selectedrow = tag - 1;
    const bool changedColor = colorChanged();
    const bool changedText = textChanged();
    const bool hasText = !m_noteTextView->text().empty();
    setEnabled(*m_postButton, ((changedText && m_noteTextView->isEditable()) || changedColor) && hasText);
    if (auto save = std::dynamic_pointer_cast<ui::Button>(view()->viewWithTag(popupSaveButtonTag)))
        setEnabled(*save, changedColor);
    applyHeaderColor(m_colorsArray[static_cast<size_t>(m_selectedrow)]);
    reloadStrip();
}

// MARK: - Note text

bool StickyNotesViewController::shouldChangeNoteText(base::Range range, const std::string& replacement)
{
    const std::string& current = m_noteTextView->text();
    std::string proposed = StickyNoteRules::applyEdit(current, range, replacement);
    m_noteTextViewText = proposed;
    size_t length = StickyNoteRules::proposedNoteLength(current, range, replacement);
    shouldChangeTextForTextView(proposed, length);
    return StickyNoteRules::acceptsNoteLength(length);
}

void StickyNotesViewController::shouldChangeTextForTextView(const std::string& proposed, size_t length)
{
    setEnabled(*m_deleteButton, length != 0);
    setEnabled(*m_shareButton, length != 0);
    const bool differs = m_record && proposed != m_record->noteText;
    setEnabled(*m_postButton, (differs || colorChanged()) && !proposed.empty());
}

// MARK: - Actions

void StickyNotesViewController::dismissAnimated(bool animated, std::function<void()> completion)
{
    if (presentingViewController())
        dismissViewControllerAnimated(animated, std::move(completion));
    else if (completion)
        completion();
}

void StickyNotesViewController::backbuttonAciton()
{
    dismissAnimated(true);
}

void StickyNotesViewController::didTapOnShareNote()
{
    dismissAnimated(true);
}

void StickyNotesViewController::postButtonAction()
{
    saveButtonAction();
}

void StickyNotesViewController::saveButtonAction()
{
    if (!m_record)
        return;
    hideSharePopUp();
    std::string trimmed = base::trimWhitespaceAndNewlines(m_noteTextView->text());
    m_record->backgroundColor = chosenColor();
    if (trimmed.empty())
        return;
    m_record->noteText = trimmed;
    if (m_notePostAction)
        m_notePostAction(m_record);
    dismissAnimated(true);
}

void StickyNotesViewController::shareButtonAction()
{
    view()->endEditing(true);
    shareAction();
}

void StickyNotesViewController::shareAction()
{
    if (!m_record)
        return;
    hideSharePopUp();
    std::string trimmed = base::trimWhitespaceAndNewlines(m_noteTextView->text());
    if (trimmed.empty())
        return;
    if (m_noteShareAction)
        m_noteShareAction(m_record, chosenColor(), trimmed);
}

void StickyNotesViewController::deleteButtonAction()
{
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    std::string yes = localized("YES_ALERT_BUTTON");
    AlertView::sharedManager().presentAlertWithTitle(localized("Delete_note"),
        localized("DO_YOU_WISH_TO_DELETE_THIS_NOTE_ALERT"),
        std::vector<std::string> { localized("NO_ALERT_BUTTON"), yes }, shared_from_this(),
        [weak, yes](int64_t, const std::string& title) {
            auto self = weak.lock();
            if (!self || title != yes)
                return;
            auto& editor = static_cast<StickyNotesViewController&>(*self);
            if (editor.m_noteDeleteAction && editor.m_record)
                editor.m_noteDeleteAction(editor.m_record);
            editor.dismissAnimated(true);
        });
}

void StickyNotesViewController::noteCancelButtonAction()
{
    if (m_noteCancelAction && m_record)
        m_noteCancelAction(m_record);
    dismissAnimated(true);
}

void StickyNotesViewController::dismissController()
{
    if (!m_record)
        return;
    const bool hasText = !m_noteTextView->text().empty();
    const bool changed = ((textChanged() && m_noteTextView->isEditable() && hasText) || colorChanged())
        && hasText && !m_record->isReceived;
    if (!changed) {
        noteCancelButtonAction();
        return;
    }
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    std::string ok = localized("OK");
    AlertView::sharedManager().presentAlertWithTitle(localized("Save_Changes"),
        localized("Do_you_wish_to_save_changes"), std::vector<std::string> { localized("CANCEL"), ok },
        shared_from_this(), [weak, ok](int64_t, const std::string& title) {
            auto self = weak.lock();
            if (!self)
                return;
            auto& editor = static_cast<StickyNotesViewController&>(*self);
            if (title == ok) {
                editor.saveButtonAction();
                return;
            }
            auto record = editor.m_record;
            auto cancel = editor.m_noteCancelAction;
            editor.dismissAnimated(false, [cancel, record] {
                if (cancel && record)
                    cancel(record);
            });
        });
}

bool StickyNotesViewController::shouldReceiveTouch(ui::View* touched)
{
    const bool keepsEditing = dynamic_cast<ui::Button*>(touched) || dynamic_cast<ui::TextField*>(touched)
        || touched == m_noteTextView.get();
    if (!keepsEditing)
        view()->endEditing(true);
    return touched == view().get() && isPad();
}

} // namespace lectoro
