#pragma once

// The read-aloud mode chooser: a dimmed screen with a white panel offering let me read,
// autoplay and read to me, each as a round glyph button and a described button. The mode
// in force is shown disabled. The chooser never changes the mode: a choice goes to the
// delegate, which starts it and dismisses the chooser; the close button and a tap on the
// dimmed surround tell the delegate first and then dismiss the chooser themselves.

#include "platform/ui/Button.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"
#include "platform/ui/StackView.h"
#include "platform/ui/ViewController.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace lectoro {

class LXMVThemeVO;

class MVReadToMeViewControllerDelegates {
public:
    virtual ~MVReadToMeViewControllerDelegates() = default;
    virtual void didCloseReadToMeView() = 0;
    virtual void didTapOnReadToMeForReadAloud() = 0;
    virtual void didTapOnAutoPlayForReadAloud() = 0;
    virtual void didTapOnLetMeReadForReadAloud() = 0;
};

// Layout numbers of the chooser for the device idiom (tablet / other).
struct MVReadToMeConstants {
    double panelWidth;
    double panelHeight;
    double headerHeight;
    double headingFontSize;
    double closeTrailingInset;
    double buttonDiameter;
    double buttonsLeadingInset;
    double descriptionTrailingInset;
    double descriptionBottomInset;
    double titleMessageGap;
    static MVReadToMeConstants forCurrentDevice();
};

class MVReadToMeViewController : public ui::ViewController {
public:
    // The mode is stored as given, even outside 1 to 3 (then no choice is disabled).
    static std::shared_ptr<MVReadToMeViewController> create(int64_t readAloudMode);

    std::string_view className() const override { return "MVReadToMeViewController"; }

    int64_t readAloudMode() const { return m_readAloudMode; }
    const std::shared_ptr<MVReadToMeViewControllerDelegates>& delegate() const { return m_delegate; }
    // Held strongly.
    void setDelegate(std::shared_ptr<MVReadToMeViewControllerDelegates> delegate) { m_delegate = std::move(delegate); }
    void setTheme(const LXMVThemeVO&);

    void loadView() override;
    void viewDidLoad() override;

    // Actions.
    void didTapOnCloseReadToMeView();
    void didTapOnLetMeRead();
    void didTapOnAutoPlay();
    void didTapOnReadToMe();
    // A recognised tap on the dimmed surround.
    void handleSingleTapWithGesture();
    bool gestureRecognizerShouldReceiveTouch(ui::View* touchedView) const;

    // Views, for the owner and tests.
    const std::shared_ptr<ui::View>& readToMeOptionsView() const { return m_readToMeOptionsView; }
    const std::shared_ptr<ui::View>& readToMeTopView() const { return m_readToMeTopView; }
    const std::shared_ptr<ui::Label>& chooseYourModeLabel() const { return m_chooseYourModeLabel; }
    const std::shared_ptr<ui::Button>& closeReadToMeViewButton() const { return m_closeButton; }
    const std::shared_ptr<ui::Button>& letMeReadButton() const { return m_letMeReadButton; }
    const std::shared_ptr<ui::Button>& autoPlayButton() const { return m_autoPlayButton; }
    const std::shared_ptr<ui::Button>& readToMeButton() const { return m_readToMeButton; }
    const std::shared_ptr<ui::Button>& letMeReadDetailsView() const { return m_letMeRead.details; }
    const std::shared_ptr<ui::Button>& autoPlayDetailsView() const { return m_autoPlay.details; }
    const std::shared_ptr<ui::Button>& readToMeDetailsView() const { return m_readToMe.details; }
    const std::shared_ptr<ui::Label>& letMeReadTitleLabel() const { return m_letMeRead.title; }
    const std::shared_ptr<ui::Label>& letMeReadMessage() const { return m_letMeRead.message; }
    std::shared_ptr<ui::StackView> readToMeButtonsStackView();
    std::shared_ptr<ui::StackView> readAloudDetailsStackView();

private:
    struct Description {
        std::shared_ptr<ui::Button> details;
        std::shared_ptr<ui::Label> title;
        std::shared_ptr<ui::Label> message;
    };

    explicit MVReadToMeViewController(int64_t readAloudMode);
    void build();
    void layout();
    void layoutDescription(const Description&, double height);
    void applyModeState();
    void wire(const std::shared_ptr<ui::Button>&, void (MVReadToMeViewController::*)());
    static std::shared_ptr<ui::Button> makeModeButton(const std::string& glyph);
    static Description makeDescription(const std::string& titleKey, const std::string& messageKey);
    void dismissSelf();

    int64_t m_readAloudMode = 0;
    std::shared_ptr<MVReadToMeViewControllerDelegates> m_delegate;
    std::shared_ptr<ui::View> m_readToMeOptionsView;
    std::shared_ptr<ui::View> m_readToMeTopView;
    std::shared_ptr<ui::Label> m_chooseYourModeLabel;
    std::shared_ptr<ui::Button> m_closeButton;
    std::shared_ptr<ui::Button> m_letMeReadButton;
    std::shared_ptr<ui::Button> m_autoPlayButton;
    std::shared_ptr<ui::Button> m_readToMeButton;
    Description m_letMeRead;
    Description m_autoPlay;
    Description m_readToMe;
    std::shared_ptr<ui::StackView> m_buttonsStack;
    std::shared_ptr<ui::StackView> m_detailsStack;
    std::shared_ptr<ui::GestureRecognizerDelegate> m_tapDelegate;
};

} // namespace lectoro
