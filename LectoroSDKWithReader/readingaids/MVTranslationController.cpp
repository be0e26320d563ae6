#include "LectoroSDKWithReader/readingaids/MVTranslationController.h"

#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/Localized.h"
#include "LectoroSDKWithReader/foundation/Reachability.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/MVGoogleTextToSpeechServiceManager.h"
#include "LectoroSDKWithReader/readingaids/MVDropdownController.h"
#include "LectoroSDKWithReader/readingaids/TextLanguage.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/ActivityIndicatorView.h"

namespace lectoro {

namespace {

// Offline: a new internet monitor exists and reports no connection. Without a monitor the
// sheet goes on as online.
bool isOffline()
{
    auto reachability = Reachability::reachabilityForInternetConnection();
    return reachability && reachability->currentReachabilityStatus() == NotReachable;
}

// Runs the work on the main run loop while the sheet is alive.
void onMain(std::weak_ptr<MVTranslationController> weak, std::function<void(MVTranslationController&)> work)
{
    base::RunLoop::main().post([weak = std::move(weak), work = std::move(work)] {
        if (auto self = weak.lock())
            work(*self);
    });
}

} // namespace

std::shared_ptr<MVTranslationController> MVTranslationController::create(
    std::optional<std::string> highlightText, std::shared_ptr<LXMVThemeVO> theme)
{
    auto sheet = create();
    sheet->m_highlightText = std::move(highlightText);
    sheet->m_lxthemeVO = std::move(theme);
    return sheet;
}

std::shared_ptr<MVTranslationController> MVTranslationController::create()
{
    return std::shared_ptr<MVTranslationController>(new MVTranslationController());
}

MVTranslationController::MVTranslationController()
    : m_translateStr(localized("TRANSLATE"))
    , m_languageListTitle(localized("TRANSLATEINTO"))
    , m_fromStr(localized("TRANSLATION_FROM"))
    , m_toStr(localized("TRANSLATION_TO"))
    , m_navBar(ui::View::create())
    , m_containerView(ui::View::create())
{
}

MVTranslationController::~MVTranslationController() = default;

std::weak_ptr<MVTranslationController> MVTranslationController::weakSelf()
{
    return std::static_pointer_cast<MVTranslationController>(shared_from_this());
}

std::shared_ptr<MVGoogleTranslationManager> MVTranslationController::translationManager() const
{
    return companionFramework()->translationManager();
}

void MVTranslationController::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    view()->setBackgroundColor(ui::Color::clear());
    addBackgroundDismissButton();
    setupContainerView();
    updateContainerSize();
    setupLoaderView();
    auto english = std::make_shared<MVGoogleTranslationLanguage>("en", "English");
    m_languageData = LanguageData { english, english };
    prepareLanguages();
    updateLanguageButtonTitles();
}

void MVTranslationController::viewWillDisappear(bool animated)
{
    ui::ViewController::viewWillDisappear(animated);
    stopSpeaking();
}

// MARK: - Languages

void MVTranslationController::prepareLanguages()
{
    auto manager = translationManager();
    if (manager)
        manager->setGoogleAPIKey(m_googleAPIKey.value_or(""));
    if (manager && !manager->supportedLanguages().empty()) {
        detectSourceLanguage();
        return;
    }
    if (isOffline()) {
        showInternetUnavailableAlert();
        return;
    }
    if (!manager) {
        showAlert(localized("LANGUAGE_FETCHING_ERROR"));
        return;
    }
    showLoader(true);
    // The list's answer starts detection, which touches the sheet: it is applied on the
    // main run loop whatever thread it came on.
    manager->fetchSupportedLanguages(
        [weak = weakSelf()](bool success, const std::optional<base::Error>& error) {
            onMain(weak, [success, error](MVTranslationController& self) {
                if (error) {
                    self.showLoader(false);
                    self.showError(*error);
                } else if (success) {
                    self.detectSourceLanguage();
                } else {
                    self.showLoader(false);
                    self.showAlert(localized("LANGUAGE_FETCHING_ERROR"));
                }
            });
        });
}

void MVTranslationController::updateLanguageButtonTitles()
{
    if (m_languageButtons.size() < 2)
        return;
    auto from = m_languageData ? m_languageData->from : nullptr;
    auto to = m_languageData ? m_languageData->to : nullptr;
    m_languageButtons[0]->setTitle(from ? from->name : std::nullopt, ui::ControlState::Normal);
    m_languageButtons[1]->setTitle(to ? to->name : std::nullopt, ui::ControlState::Normal);
}

void MVTranslationController::detectSourceLanguage()
{
    auto manager = translationManager();
    if (isOffline() || !manager) {
        showLoader(false);
        showInternetUnavailableAlert();
        return;
    }
    manager->detectLanguage(m_highlightText.value_or(""),
        [weak = weakSelf()](const std::optional<std::string>& code, const std::optional<base::Error>& error) {
            onMain(weak, [code, error](MVTranslationController& self) {
                self.showLoader(false);
                if (error) {
                    self.showError(*error);
                    return;
                }
                if (!code) {
                    self.showAlert(localized("UNABLE_TO_DETECT_LANGUAGE"));
                    return;
                }
                auto detected = self.language(*code);
                // A code the list does not hold leaves the languages as they were: a side
                // without a language would have nothing to translate from.
                if (!detected) {
                    self.showAlert(localized("UNABLE_TO_DETECT_LANGUAGE"));
                    return;
                }
                self.m_languageData = LanguageData { detected, detected };
                if (!self.m_dropdownArrows.empty())
                    self.m_dropdownArrows[0]->setHidden(true);
                if (!self.m_languageButtons.empty())
                    self.m_languageButtons[0]->setUserInteractionEnabled(false);
                self.updateLanguageButtonTitles();
            });
        });
}

std::shared_ptr<MVGoogleTranslationLanguage> MVTranslationController::language(const std::string& code) const
{
    auto manager = translationManager();
    if (!manager)
        return nullptr;
    for (const auto& candidate : manager->supportedLanguages()) {
        if (candidate && candidate->code == code)
            return candidate;
    }
    return nullptr;
}

std::shared_ptr<MVGoogleTranslationLanguage> MVTranslationController::languageOfSide(int tag) const
{
    if (!m_languageData)
        return nullptr;
    return tag == 1 ? m_languageData->to : m_languageData->from;
}

void MVTranslationController::setLanguageOfSide(
    int tag, std::shared_ptr<MVGoogleTranslationLanguage> language)
{
    if (!m_languageData)
        return;
    (tag == 1 ? m_languageData->to : m_languageData->from) = std::move(language);
}

void MVTranslationController::tapOnDropDown(ui::Button& button)
{
    stopSpeaking();
    showLanguageList(button);
}

void MVTranslationController::showLanguageList(ui::Button& button)
{
    auto shared = std::static_pointer_cast<ui::Button>(button.shared_from_this());
    m_selectedLanguageButton = shared;
    auto manager = translationManager();
    auto languages = manager ? manager->supportedLanguages()
                             : std::vector<std::shared_ptr<MVGoogleTranslationLanguage>> {};
    // An empty list has no row to mark or scroll to: say why instead of opening it.
    if (languages.empty()) {
        if (isOffline())
            showInternetUnavailableAlert();
        else
            showAlert(localized("LANGUAGE_FETCHING_ERROR"));
        return;
    }
    std::vector<std::string> names;
    for (const auto& language : languages)
        names.push_back(language && language->name ? *language->name : std::string());
    int tag = button.tag();
    auto side = languageOfSide(tag);
    std::string code = side && side->code ? *side->code : "en";
    int64_t selected = 0;
    for (size_t index = 0; index < languages.size(); ++index) {
        if (languages[index] && languages[index]->code == code) {
            selected = static_cast<int64_t>(index);
            break;
        }
    }
    auto list = MVDropdownController::create(std::move(names));
    list->setLxthemeVO(m_lxthemeVO);
    list->setSelectedIndex(selected);
    list->setTitle(m_languageListTitle);
    if (isIpad()) {
        list->setModalPresentationStyle(ui::ModalPresentationStyle::OverCurrentContext);
        list->setModalTransitionStyle(ui::ModalTransitionStyle::CrossDissolve);
    } else {
        list->setModalPresentationStyle(ui::ModalPresentationStyle::FullScreen);
    }
    presentViewController(list, true);
    list->setTapOnItem(
        [weak = weakSelf(), weakButton = std::weak_ptr<ui::Button>(shared), languages](int64_t row) {
            auto self = weak.lock();
            auto button = weakButton.lock();
            if (!self || !button || row < 0 || row >= static_cast<int64_t>(languages.size()))
                return;
            if (isOffline()) {
                self->showInternetUnavailableAlert();
                return;
            }
            auto picked = languages[static_cast<size_t>(row)];
            button->setTitle(picked->name, ui::ControlState::Normal);
            std::string newCode = picked->code.value_or("en");
            int tag = button->tag();
            auto side = self->languageOfSide(tag);
            std::string oldCode = side && side->code ? *side->code : "en";
            if (static_cast<size_t>(tag) < self->m_textViews.size())
                self->translate(oldCode, newCode, self->m_textViews[static_cast<size_t>(tag)]);
            self->setLanguageOfSide(tag, picked);
        });
}

// MARK: - Translation

void MVTranslationController::translate(
    const std::string& from, const std::string& to, const std::shared_ptr<ui::TextView>& textView)
{
    if (from == to)
        return;
    auto manager = translationManager();
    if (isOffline() || !manager) {
        showInternetUnavailableAlert();
        return;
    }
    showLoader(true);
    std::weak_ptr<ui::TextView> weakText = textView;
    manager->translate(textView ? textView->text() : std::string(), from, to,
        [weak = weakSelf(), weakText, from](
            const std::optional<std::string>& translated, const std::optional<base::Error>& error) {
            onMain(weak, [weakText, from, translated, error](MVTranslationController& self) {
                self.showLoader(false);
                if (error) {
                    auto button = self.m_selectedLanguageButton.lock();
                    int tag = button ? button->tag() : 0;
                    // Back to the language the text is still in; a code the list lacks
                    // leaves the side as it is.
                    if (auto previous = self.language(from)) {
                        self.setLanguageOfSide(tag, previous);
                        if (button)
                            button->setTitle(previous->name, ui::ControlState::Normal);
                    }
                    self.showError(*error);
                    return;
                }
                auto textView = weakText.lock();
                if (!textView || !translated)
                    return;
                textView->setText(*translated);
                if (auto best = bestLanguageOfText(*translated))
                    textView->setTextAlignment(isRightToLeftLanguage(*best) ? base::TextAlignment::Right
                                                                            : base::TextAlignment::Left);
            });
        });
}

// MARK: - Speech

void MVTranslationController::tapOnSpeaker(ui::Button& button)
{
    if (button.isSelected()) {
        stopSpeaking();
        return;
    }
    button.setSelected(true);
    int tag = button.tag();
    auto side = languageOfSide(tag);
    std::string code = side && side->code ? *side->code : "en";
    auto textView
        = static_cast<size_t>(tag) < m_textViews.size() ? m_textViews[static_cast<size_t>(tag)] : nullptr;
    speak(textView, code);
}

void MVTranslationController::speak(
    const std::shared_ptr<ui::TextView>& textView, const std::string& languageCode)
{
    if (isOffline()) {
        // Nothing is spoken, so no speaker stays marked as speaking.
        for (const auto& speaker : m_speakerButtons)
            speaker->setSelected(false);
        showInternetUnavailableAlert();
        return;
    }
    showLoader(true);
    auto& speech = MVGoogleTextToSpeechServiceManager::shared();
    speech.setIsMaleVoice(true);
    speech.setGoogleAPIKey(m_googleAPIKey.value_or(""));
    speech.stopPlayer();
    speech.speak(textView ? textView->text() : std::string(), languageCode,
        [weak = weakSelf()](const std::optional<base::Error>& error) {
            onMain(weak, [error](MVTranslationController& self) {
                self.showLoader(false);
                if (MVGoogleTextToSpeechServiceManager::shared().isCompletePlaying() || error)
                    self.stopSpeaking();
                if (error)
                    self.showError(*error);
            });
        });
}

void MVTranslationController::stopSpeaking()
{
    for (const auto& speaker : m_speakerButtons)
        speaker->setSelected(false);
    MVGoogleTextToSpeechServiceManager::shared().stopPlayer();
}

// MARK: - Closing, loader and alerts

void MVTranslationController::dismissController()
{
    dismissViewControllerAnimated(true);
}

void MVTranslationController::showLoader(bool show)
{
    auto apply = [show](MVTranslationController& self) {
        if (!self.isViewLoaded())
            return;
        auto loader = self.view()->viewWithTag(loaderViewTag);
        if (!loader || loader->subviews().empty())
            return;
        auto indicator = std::dynamic_pointer_cast<ui::ActivityIndicatorView>(loader->subviews().front());
        if (!indicator)
            return;
        if (show)
            indicator->startAnimating();
        else
            indicator->stopAnimating();
        loader->setHidden(!show);
    };
    if (base::isMainThread())
        apply(*this);
    else
        onMain(weakSelf(), apply);
}

void MVTranslationController::showAlert(const std::string& message)
{
    AlertView::sharedManager().displayInformativeAlertwithTitle("", message, shared_from_this());
}

void MVTranslationController::showInternetUnavailableAlert()
{
    showAlert(localized("INTERNET_UNAVAILABLE_MESSAGE"));
}

std::string MVTranslationController::errorMessageForDisplay(const std::string& description)
{
    auto open = description.find('(');
    if (open == std::string::npos)
        return description;
    auto close = description.find(')', open);
    if (close == std::string::npos)
        return description;
    return description.substr(0, open) + description.substr(close + 1);
}

void MVTranslationController::showError(const base::Error& error)
{
    showAlert(errorMessageForDisplay(error.localizedDescription()));
}

} // namespace lectoro
