#pragma once

// The translation sheet: the selected text in a source box, its translation in a target
// box, each with a language button (opening the language pick-list), a drop-down arrow
// and a speaker button that reads the box aloud. The source language is detected; the
// user picks the target, and the target box is translated again from the language it
// is in whenever its language changes.
//
// On iPad the sheet is a card centred on a transparent screen. Elsewhere it is a bottom
// sheet whose height follows a drag: dragged below 200 points it closes, dragged up past
// its resting height (or turned to landscape) it becomes a full-screen page with a back
// bar. The layout lives in MVTranslationControllerLayout.cpp.
//
// Service answers may come on any thread; every one is applied on the main run loop, and
// none reaches a sheet that is gone.

#include "LectoroSDKWithReader/readersdk/MVGoogleTranslationManager.h"
#include "platform/ui/Button.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class LXMVThemeVO;

class MVTranslationController : public ui::ViewController {
public:
    // Target and source language, in that order; both may be the same object.
    struct LanguageData {
        std::shared_ptr<MVGoogleTranslationLanguage> to;
        std::shared_ptr<MVGoogleTranslationLanguage> from;
    };

    static constexpr int loaderViewTag = 111;
    static constexpr double dismissibleHeight = 200;

    // initWithHighlightText:lxthemeVO:.
    static std::shared_ptr<MVTranslationController> create(
        std::optional<std::string> highlightText, std::shared_ptr<LXMVThemeVO>);
    // The other initialisers: no text.
    static std::shared_ptr<MVTranslationController> create();
    ~MVTranslationController() override;

    std::string_view className() const override { return "MVTranslationController"; }

    const std::optional<std::string>& googleAPIKey() const { return m_googleAPIKey; }
    void setGoogleAPIKey(std::optional<std::string> key) { m_googleAPIKey = std::move(key); }

    void viewDidLoad() override;
    void viewWillDisappear(bool animated) override;
    void viewWillTransitionToSize(const ui::Size&, ui::TransitionCoordinator&) override;

    // Layout and resizing (MVTranslationControllerLayout.cpp).
    virtual void setupLoaderView();
    virtual void pinLoaderView(const std::shared_ptr<ui::View>& loader);
    virtual void addBackgroundDismissButton();
    virtual void setupNavigationBar(const std::shared_ptr<ui::View>& container);
    virtual void setupContainerView();
    virtual std::shared_ptr<ui::View> addTextContainer(const std::shared_ptr<ui::View>& container);
    virtual void addTextContainerContent(const std::shared_ptr<ui::View>& box);
    virtual void addLanguageHeader(const std::shared_ptr<ui::View>& header);
    virtual double sheetHeight();
    virtual double textContainerHeight();
    virtual void updateContainerSize();
    virtual void updateTextContainerHeights();
    virtual void expandToFullScreen();
    void setContainerHeight(double height, bool fullScreen);
    void dismissWithSwipe();
    void handlePanGestureWithGesture(ui::PanGestureRecognizer&);

    // Languages, translation and speech (MVTranslationController.cpp).
    virtual void stopSpeaking();
    virtual void dismissController();
    virtual void tapOnSpeaker(ui::Button&);
    virtual void tapOnDropDown(ui::Button&);
    virtual void showLanguageList(ui::Button&);
    virtual void showInternetUnavailableAlert();
    virtual void showLoader(bool show);
    void prepareLanguages();
    void updateLanguageButtonTitles();
    void detectSourceLanguage();
    void translate(
        const std::string& from, const std::string& to, const std::shared_ptr<ui::TextView>& textView);
    void speak(const std::shared_ptr<ui::TextView>& textView, const std::string& languageCode);
    std::shared_ptr<MVGoogleTranslationLanguage> language(const std::string& code) const;
    void showError(const base::Error&);
    // The text showError shows: a parenthesised part is left out (the text before the
    // first "(" joined to the text after the first ")" that follows it).
    static std::string errorMessageForDisplay(const std::string& description);

    // State, for tests and the host.
    const std::optional<std::string>& highlightText() const { return m_highlightText; }
    const std::optional<LanguageData>& languageData() const { return m_languageData; }
    const std::vector<std::shared_ptr<ui::TextView>>& textViews() const { return m_textViews; }
    const std::vector<std::shared_ptr<ui::Button>>& languageButtons() const { return m_languageButtons; }
    const std::vector<std::shared_ptr<ui::Button>>& speakerButtons() const { return m_speakerButtons; }
    const std::vector<std::shared_ptr<ui::Label>>& dropdownArrows() const { return m_dropdownArrows; }
    const std::vector<std::shared_ptr<ui::Label>>& placeHolderLabels() const { return m_placeHolderLabels; }
    const std::vector<ui::ConstraintPtr>& textContainerHeightConstraints() const
    {
        return m_textContainerHeightConstraints;
    }
    const ui::ConstraintPtr& containerHeightConstraint() const { return m_containerHeightConstraint; }
    const ui::ConstraintPtr& containerWidhtConstraint() const { return m_containerWidhtConstraint; }
    const std::shared_ptr<ui::View>& containerView() const { return m_containerView; }
    const std::shared_ptr<ui::View>& navBar() const { return m_navBar; }
    const std::shared_ptr<ui::Label>& titleLabel() const { return m_titleLabel; }
    std::shared_ptr<ui::PanGestureRecognizer> panGesture() const;
    double containerWidht() const { return m_containerWidht; }
    double fixedTextContainerHeight() const { return m_fixedTextContainerHeight; }
    double defaultHeight() const { return m_defaultHeight; }
    double maximumContainerHeight() const { return m_maximumContainerHeight; }
    double currentContainerHeight() const { return m_currentContainerHeight; }
    // Only a phone's sheet has a back bar in its view; a pad's card never fills the screen.
    bool isFullScreen() const { return m_navBar && m_navBar->superview() && !m_navBar->isHidden(); }

protected:
    MVTranslationController();

private:
    std::weak_ptr<MVTranslationController> weakSelf();
    // The shared manager, or null when the framework has none.
    std::shared_ptr<MVGoogleTranslationManager> translationManager() const;
    // Languages of a side: tag 1 the target, otherwise the source.
    std::shared_ptr<MVGoogleTranslationLanguage> languageOfSide(int tag) const;
    void setLanguageOfSide(int tag, std::shared_ptr<MVGoogleTranslationLanguage>);
    void showAlert(const std::string& message);
    // The full-screen height: the safe area with a notch, else the screen less the bar.
    double fullScreenHeight();

    const std::string m_translateStr;
    const std::string m_languageListTitle;
    const std::string m_fromStr;
    const std::string m_toStr;
    ui::ConstraintPtr m_containerHeightConstraint;
    ui::ConstraintPtr m_containerWidhtConstraint;
    std::vector<ui::ConstraintPtr> m_textContainerHeightConstraints;
    std::vector<std::shared_ptr<ui::Label>> m_placeHolderLabels;
    std::vector<std::shared_ptr<ui::Button>> m_languageButtons;
    std::vector<std::shared_ptr<ui::Button>> m_speakerButtons;
    std::vector<std::shared_ptr<ui::Label>> m_dropdownArrows;
    std::vector<std::shared_ptr<ui::TextView>> m_textViews;
    double m_containerWidht = 0;
    double m_fixedTextContainerHeight = 0;
    std::shared_ptr<ui::View> m_navBar;
    std::shared_ptr<ui::View> m_containerView;
    std::shared_ptr<ui::Label> m_titleLabel;
    std::weak_ptr<ui::Button> m_selectedLanguageButton;
    std::optional<LanguageData> m_languageData;
    std::optional<std::string> m_googleAPIKey;
    double m_defaultHeight = 0;
    double m_maximumContainerHeight = 0;
    double m_currentContainerHeight = 0;
    std::shared_ptr<LXMVThemeVO> m_lxthemeVO;
    std::optional<std::string> m_highlightText;
};

} // namespace lectoro
