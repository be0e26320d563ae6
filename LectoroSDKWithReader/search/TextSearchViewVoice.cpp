// The search panel's microphone: permission, listening, the recognised text written after
// what the field held, and the stop that hands the field's text to the owner.
//
// The recogniser and the platform's permission answers may reach the panel on any thread;
// everything that touches views or the owner runs on the main queue.

#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/search/TextSearchView.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Thread.h"
#include "platform/base/UserDefaults.h"
#include "platform/media/AudioSession.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/ViewController.h"

#include <iostream>

namespace lectoro {

namespace {

constexpr double searchMicHaloSize = 28.8;

// Runs the work on the main queue: at once when already there.
void onSearchMainQueue(const std::weak_ptr<TextSearchView>& weak, std::function<void(TextSearchView&)> work)
{
    if (base::isMainThread()) {
        if (auto self = weak.lock())
            work(*self);
        return;
    }
    base::RunLoop::main().post([weak, work = std::move(work)] {
        if (auto self = weak.lock())
            work(*self);
    });
}

} // namespace

void TextSearchView::setupVoiceSearch(
    const std::shared_ptr<ui::View>& strip, const std::shared_ptr<ui::Button>& micButton)
{
    auto weak = weakSelf();
    m_searchBar->addTarget(ui::ControlEvent::EditingChanged, [weak](ui::Control& control) {
        auto self = weak.lock();
        if (auto* field = dynamic_cast<ui::TextField*>(&control); self && field)
            self->textFieldDidChangeWithTextField(*field);
    });
    m_voiceSeacrh->setDelegate(std::static_pointer_cast<TextSearchView>(shared_from_this()));
    auto language = base::UserDefaults::standard().objectForKey("SelectedLanguage");
    m_voiceSeacrh->setLanguageCode(language && language->asString() ? *language->asString() : std::string());
    if (!strip || !micButton)
        return;
    m_animateMicButton->setTranslatesAutoresizingMaskIntoConstraints(false);
    strip->insertSubviewBelow(m_animateMicButton, micButton.get());
    ui::Constraint::activate({
        m_animateMicButton->centerXAnchor().constraintEqualTo(micButton->centerXAnchor()),
        m_animateMicButton->centerYAnchor().constraintEqualTo(micButton->centerYAnchor()),
        m_animateMicButton->widthAnchor().constraintEqualToConstant(searchMicHaloSize),
        m_animateMicButton->heightAnchor().constraintEqualToConstant(searchMicHaloSize),
    });
}

void TextSearchView::tapMicButton()
{
    if (!m_voiceSeacrh->voiceSearchButton())
        m_voiceSeacrh->setVoiceSearchButton(m_animateMicButton);
    m_voiceSeacrh->voiceSearchButton()->setTransform(ui::AffineTransform::identity());
    m_voiceSeacrh->setThemeColor(m_theme->search_cross_icon_color());
    m_isVoiceSearchEnabled = !m_isVoiceSearchEnabled;
    m_searchFieldText = m_searchBar->text();
    if (m_isVoiceSearchEnabled)
        m_voiceSeacrh->requestPermission();
    else
        m_voiceSeacrh->cancelRecognization();
    auto weak = weakSelf();
    m_voiceSeacrh->setResult(
        [weak](const std::optional<std::string>& text, const std::optional<base::Error>& error) {
            // Held until it runs, as the block would hold the panel.
            auto held = weak.lock();
            base::RunLoop::main().post([held, text, error] {
                if (!held)
                    return;
                if (error) {
                    held->showRecognitionError(*error);
                    return;
                }
                held->m_searchBar->setText(held->m_searchFieldText + " " + text.value_or(""));
            });
        });
}

void TextSearchView::cancelVoiceSearch()
{
    m_voiceSeacrh->cancelRecognization();
    m_isVoiceSearchEnabled = false;
}

void TextSearchView::voiceRecognizerAuthStateWithAuthState(int64_t authState)
{
    onSearchMainQueue(weakSelf(), [authState](TextSearchView& self) { self.handleAuthState(authState); });
}

void TextSearchView::handleAuthState(int64_t authState)
{
    if (authState == 0 || authState == 1) {
        if (auto delegate = this->delegate())
            delegate->showPermissionAlert();
        return;
    }
    if (authState != 3)
        return;
    auto weak = weakSelf();
    media::AudioSession::sharedInstance().requestRecordPermission([weak](bool granted) {
        onSearchMainQueue(weak, [granted](TextSearchView& self) {
            if (!granted) {
                if (auto delegate = self.delegate())
                    delegate->showPermissionAlert();
                return;
            }
            // A tap may have cancelled while permission was asked.
            if (!self.m_isVoiceSearchEnabled)
                return;
            if (auto delegate = self.delegate())
                delegate->startVoiceRecognition();
            self.m_voiceSeacrh->startRecognize();
        });
    });
}

void TextSearchView::didStopVocieRecognizing()
{
    onSearchMainQueue(weakSelf(), [](TextSearchView& self) {
        auto delegate = self.delegate();
        if (delegate)
            delegate->stopVoiceRecognition();
        self.m_isVoiceSearchEnabled = false;
        if (delegate)
            delegate->voiceSearchText(self.m_searchBar->text(), self.m_isElasticSearch);
        self.endEditing(true);
    });
}

void TextSearchView::recognizerNotAvailable()
{
    onSearchMainQueue(weakSelf(), [](TextSearchView& self) {
        // Nothing listens: the next tap starts again.
        self.m_isVoiceSearchEnabled = false;
        if (auto delegate = self.delegate())
            delegate->voiceSearchNotAvailable();
    });
}

void TextSearchView::showRecognitionError(const base::Error& error)
{
    std::cout << error.localizedDescription() << std::endl;
    if (error.code != 202 && error.code != 2)
        return;
    auto& environment = ui::Environment::current();
    if (!environment.keyWindow())
        return;
    auto root = std::static_pointer_cast<ui::ViewController>(environment.rootViewController());
    if (!root || root->className() != "ReaderViewController")
        return;
    AlertView::sharedManager().displayInformativeAlertwithTitle("", error.localizedDescription(), root);
}

void TextSearchView::textFieldDidChangeWithTextField(ui::TextField& field)
{
    std::cout << "searchFieldText == " << field.text() << std::endl;
    m_searchFieldText = field.text();
}

} // namespace lectoro
