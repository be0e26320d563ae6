// Dictation into the note or the comment field. What is heard is added after what the
// field held, with one space between, and clipped at the field's limit at a whole
// character: a dictation never leaves more in a field than typing could.

#include "LectoroSDKWithReader/annotations/notes/StickyNotesSeat.h"

#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/RunLoop.h"
#include "platform/media/AudioSession.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"

namespace lectoro {

void StickyNotesViewController::micButtonAciton()
{
    startDictation(false);
}

void StickyNotesViewController::commentMicButtonAciton()
{
    startDictation(true);
}

void StickyNotesViewController::startDictation(bool forComment)
{
    if (!m_voiceManager)
        return;
    m_isVoiceManagerActive = !m_isVoiceManagerActive;
    if (m_theme)
        m_voiceManager->setThemeColor(m_theme->share_icon_color());
    // Whichever button is bound first pulses for the editor's life.
    if (!m_voiceManager->voiceSearchButton())
        m_voiceManager->setVoiceSearchButton(forComment ? m_commentMicAnimateButton : m_micAnimateButton);
    if (auto button = m_voiceManager->voiceSearchButton())
        button->setTransform(ui::AffineTransform::identity());
    if (forComment)
        m_commnetTextFieldText = m_commentField->text();
    else
        m_noteTextViewText = m_noteTextView->text();

    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    m_voiceManager->setResult(
        [weak, forComment](const std::string& text, const std::optional<base::Error>& error) {
            auto self = weak.lock();
            if (self)
                static_cast<StickyNotesViewController&>(*self).applyDictation(forComment, text, error);
        });
    if (m_isVoiceManagerActive)
        m_voiceManager->requestPermission();
    else
        m_voiceManager->cancelRecognization();
}

void StickyNotesViewController::applyDictation(
    bool forComment, const std::string& text, const std::optional<base::Error>& error)
{
    if (error) {
        if (error->code == NoteVoiceRecognizer::errorNothingHeard
            || error->code == NoteVoiceRecognizer::errorRecognitionFailed)
            AlertView::sharedManager().displayInformativeAlertwithTitle(
                "", error->localizedDescription(), shared_from_this());
        return;
    }
    if (forComment) {
        std::string dictated
            = StickyNoteRules::dictatedText(m_commnetTextFieldText, text, StickyNoteRules::commentTextLimit);
        onMain([dictated](StickyNotesViewController& self) {
            self.m_commentField->setText(dictated);
            self.m_commnetTextFieldText = dictated;
            self.shouldChangeTextForTextField(base::utf16Length(base::trimWhitespaceAndNewlines(dictated)));
        });
        return;
    }
    std::string dictated
        = StickyNoteRules::dictatedText(m_noteTextViewText, text, StickyNoteRules::noteTextLimit);
    onMain([dictated](StickyNotesViewController& self) {
        self.m_noteTextView->setText(dictated);
        self.m_noteTextViewText = dictated;
        self.shouldChangeTextForTextView(dictated, base::utf16Length(dictated));
    });
}

void StickyNotesViewController::showPermissionAlert()
{
    auto alert = ui::AlertController::create(
        "", localized("VOCIE_RECOGNITION_PERMISSIONS"), ui::AlertControllerStyle::Alert);
    alert->addAction(ui::AlertAction::create(localized("SETTINGS"), ui::AlertActionStyle::Default,
        [](ui::AlertAction&) { ui::Environment::current().openURL("app-settings:"); }));
    alert->addAction(ui::AlertAction::create(localized("CANCEL"), ui::AlertActionStyle::Cancel, {}));
    presentViewController(alert, true);
}

// MARK: - The recogniser's reports

void StickyNotesViewController::Seat::voiceRecognizerAuthStateWithAuthState(
    NoteVoiceRecognizer& recognizer, int64_t state)
{
    if (!m_editor)
        return;
    if (state >= 0 && state <= 2) {
        m_editor->showPermissionAlert();
        return;
    }
    if (state != 3)
        return;
    std::weak_ptr<ui::ViewController> weak = m_editor->weak_from_this();
    std::weak_ptr<NoteVoiceRecognizer> weakRecognizer = recognizer.weak_from_this();
    media::AudioSession::sharedInstance().requestRecordPermission([weak, weakRecognizer](bool granted) {
        auto self = weak.lock();
        if (!self)
            return;
        auto& editor = static_cast<StickyNotesViewController&>(*self);
        if (!granted) {
            editor.showPermissionAlert();
            return;
        }
        // A tap that turned dictation off while the question was open wins.
        if (auto recognizer = weakRecognizer.lock(); recognizer && editor.m_isVoiceManagerActive)
            recognizer->startRecognize();
    });
}

void StickyNotesViewController::Seat::didStopVocieRecognizing(NoteVoiceRecognizer&)
{
    if (m_editor)
        m_editor->m_isVoiceManagerActive = false;
}

void StickyNotesViewController::Seat::recognizerNotAvailable(NoteVoiceRecognizer&)
{
    if (!m_editor)
        return;
    auto alert = ui::AlertController::create(
        "", m_editor->localized("INTERNET_UNAVAILABLE_MESSAGE"), ui::AlertControllerStyle::Alert);
    alert->addAction(ui::AlertAction::create(m_editor->localized("OK"), ui::AlertActionStyle::Default, {}));
    m_editor->presentViewController(alert, true);
}

} // namespace lectoro
