#pragma once

// The device and application the UI runs in: one per process, set by tests per case.
//
// Idiom, screen, orientations, safe area, layout direction, key window, accessibility
// switches and application state. Changing the application state, the device orientation
// or the keyboard posts the matching notifications on base::NotificationCenter's default
// center (object: &Environment::current()).

#include "platform/base/Thread.h"
#include "platform/ui/Geometry.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {

class View;

enum class UserInterfaceIdiom { Unspecified = -1, Phone = 0, Pad = 1 };

// Device and interface orientations share their values: 1 portrait, 2 upside-down,
// 3 landscape-left, 4 landscape-right. The device orientation also has 0 unknown,
// 5 face-up and 6 face-down.
enum class Orientation {
    Unknown = 0,
    Portrait = 1,
    PortraitUpsideDown = 2,
    LandscapeLeft = 3,
    LandscapeRight = 4,
    FaceUp = 5,
    FaceDown = 6,
};

bool isLandscape(Orientation);
bool isPortrait(Orientation);

enum class LayoutDirection { LeftToRight, RightToLeft };
enum class ApplicationState { Active, Inactive, Background };

// Notification names. Application state (object: the Environment):
inline constexpr const char* ApplicationWillResignActiveNotification = "UIApplicationWillResignActiveNotification";
inline constexpr const char* ApplicationDidEnterBackgroundNotification = "UIApplicationDidEnterBackgroundNotification";
inline constexpr const char* ApplicationWillEnterForegroundNotification = "UIApplicationWillEnterForegroundNotification";
inline constexpr const char* ApplicationDidBecomeActiveNotification = "UIApplicationDidBecomeActiveNotification";
// Device orientation; userInfo {"orientation": integer}.
inline constexpr const char* DeviceOrientationDidChangeNotification = "UIDeviceOrientationDidChangeNotification";
// Keyboard; userInfo {KeyboardFrameBeginUserInfoKey, KeyboardFrameEndUserInfoKey: {x, y, width, height},
// KeyboardAnimationDurationUserInfoKey: double}.
inline constexpr const char* KeyboardWillShowNotification = "UIKeyboardWillShowNotification";
inline constexpr const char* KeyboardDidShowNotification = "UIKeyboardDidShowNotification";
inline constexpr const char* KeyboardWillHideNotification = "UIKeyboardWillHideNotification";
inline constexpr const char* KeyboardDidHideNotification = "UIKeyboardDidHideNotification";
inline constexpr const char* KeyboardFrameBeginUserInfoKey = "UIKeyboardFrameBeginUserInfoKey";
inline constexpr const char* KeyboardFrameEndUserInfoKey = "UIKeyboardFrameEndUserInfoKey";
inline constexpr const char* KeyboardAnimationDurationUserInfoKey = "UIKeyboardAnimationDurationUserInfoKey";
// Accessibility switches (object: the Environment).
inline constexpr const char* VoiceOverStatusDidChangeNotification = "UIAccessibilityVoiceOverStatusDidChangeNotification";
inline constexpr const char* ReduceTransparencyStatusDidChangeNotification = "UIAccessibilityReduceTransparencyStatusDidChangeNotification";

// What the UI told assistive technologies.
struct AccessibilityPost {
    enum class Kind { ScreenChanged, LayoutChanged, Announcement };
    Kind kind = Kind::ScreenChanged;
    // The element to focus (screen/layout changed), held weakly; may be empty.
    std::weak_ptr<View> element;
    // The announcement, or an argument given as text.
    std::string text;
};

class Environment {
public:
    static Environment& current();

    Environment();

    UserInterfaceIdiom idiom() const { return m_idiom; }
    void setIdiom(UserInterfaceIdiom idiom) { BASE_ASSERT_MAIN_THREAD(); m_idiom = idiom; }
    // Only the pad idiom is a pad; an unspecified idiom counts as a phone.
    bool isPad() const { return m_idiom == UserInterfaceIdiom::Pad; }
    bool isPhone() const { return !isPad(); }

    // Screen size in points, in the current interface orientation, and its scale.
    Size screenSize() const { return m_screenSize; }
    Rect screenBounds() const { return { Point(), m_screenSize }; }
    // The key window is the screen's size, as on a device.
    void setScreenSize(const Size& size);
    double screenScale() const { return m_screenScale; }
    void setScreenScale(double scale) { BASE_ASSERT_MAIN_THREAD(); m_screenScale = scale; }

    Orientation deviceOrientation() const { return m_deviceOrientation; }
    // Posts DeviceOrientationDidChangeNotification when the value changes.
    void setDeviceOrientation(Orientation);
    // The application's (status bar) orientation: 1 to 4.
    Orientation interfaceOrientation() const { return m_interfaceOrientation; }
    void setInterfaceOrientation(Orientation orientation)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_interfaceOrientation = orientation;
    }
    // Of the interface orientation.
    bool isLandscape() const { return ui::isLandscape(m_interfaceOrientation); }
    bool isDeviceLandscape() const { return ui::isLandscape(m_deviceOrientation); }
    // Turns the device and the interface together and swaps the screen size to match
    // (posting the orientation notification when the device orientation changes).
    void rotateTo(Orientation);

    // The key window's safe-area insets.
    EdgeInsets safeAreaInsets() const { return m_safeAreaInsets; }
    void setSafeAreaInsets(const EdgeInsets& insets) { BASE_ASSERT_MAIN_THREAD(); m_safeAreaInsets = insets; }
    double statusBarHeight() const { return m_statusBarHeight; }
    void setStatusBarHeight(double height) { BASE_ASSERT_MAIN_THREAD(); m_statusBarHeight = height; }

    LayoutDirection layoutDirection() const { return m_layoutDirection; }
    void setLayoutDirection(LayoutDirection direction)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_layoutDirection = direction;
    }
    bool isRightToLeft() const { return m_layoutDirection == LayoutDirection::RightToLeft; }

    // The key window: a root view sized to the screen. The slot for its root view
    // controller is untyped so this layer does not depend on view controllers.
    std::shared_ptr<View> keyWindow() const { return m_keyWindow; }
    void setKeyWindow(std::shared_ptr<View>);
    // Makes a window view the size of the screen, sets it as key window and answers it.
    std::shared_ptr<View> makeKeyWindow();
    std::shared_ptr<void> rootViewController() const { return m_rootViewController.lock(); }
    void setRootViewController(std::weak_ptr<void> controller)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_rootViewController = std::move(controller);
    }

    bool isVoiceOverRunning() const { return m_voiceOverRunning; }
    void setVoiceOverRunning(bool);
    bool isReduceTransparencyEnabled() const { return m_reduceTransparency; }
    void setReduceTransparencyEnabled(bool);
    bool isReduceMotionEnabled() const { return m_reduceMotion; }
    void setReduceMotionEnabled(bool enabled) { BASE_ASSERT_MAIN_THREAD(); m_reduceMotion = enabled; }

    ApplicationState applicationState() const { return m_applicationState; }
    // Posts what the platform posts on the way: active → background posts will-resign-
    // active then did-enter-background; background → active posts will-enter-foreground
    // then did-become-active; active ↔ inactive posts only the resign/become pair.
    void setApplicationState(ApplicationState);
    // Application-wide touch blocking (begin/end ignoring interaction events), counted.
    void beginIgnoringInteractionEvents() { BASE_ASSERT_MAIN_THREAD(); ++m_ignoringInteraction; }
    void endIgnoringInteractionEvents();
    bool isIgnoringInteractionEvents() const { return m_ignoringInteraction > 0; }

    // Keyboard: posts will-show, then did-show, with the frames in userInfo, and remembers
    // the frame; hiding posts will-hide and did-hide (only when it was shown).
    void showKeyboard(const Rect& endFrame, double animationDuration = 0.25);
    void hideKeyboard(double animationDuration = 0.25);
    bool isKeyboardShown() const { return m_keyboardShown; }
    Rect keyboardFrame() const { return m_keyboardFrame; }

    // Accessibility posts, in order.
    void postAccessibilityScreenChanged(const std::shared_ptr<View>& element);
    void postAccessibilityLayoutChanged(const std::shared_ptr<View>& element);
    void postAccessibilityAnnouncement(std::string text);
    const std::vector<AccessibilityPost>& accessibilityPosts() const { return m_accessibilityPosts; }
    void clearAccessibilityPosts() { m_accessibilityPosts.clear(); }

    // Opening URLs: recorded; answers canOpenURLs.
    bool openURL(const std::string& url);
    const std::vector<std::string>& openedURLs() const { return m_openedURLs; }
    void setCanOpenURLs(bool canOpen) { BASE_ASSERT_MAIN_THREAD(); m_canOpenURLs = canOpen; }

    // Every value back to the start-up defaults: a phone, 375 x 667 at scale 2, portrait,
    // no safe area, left-to-right, no key window, active, accessibility switches off.
    void reset();

private:
    void post(const char* name) const;

    UserInterfaceIdiom m_idiom = UserInterfaceIdiom::Phone;
    Size m_screenSize { 375, 667 };
    double m_screenScale = 2;
    Orientation m_deviceOrientation = Orientation::Portrait;
    Orientation m_interfaceOrientation = Orientation::Portrait;
    EdgeInsets m_safeAreaInsets;
    double m_statusBarHeight = 20;
    LayoutDirection m_layoutDirection = LayoutDirection::LeftToRight;
    std::shared_ptr<View> m_keyWindow;
    std::weak_ptr<void> m_rootViewController;
    bool m_voiceOverRunning = false;
    bool m_reduceTransparency = false;
    bool m_reduceMotion = false;
    ApplicationState m_applicationState = ApplicationState::Active;
    int m_ignoringInteraction = 0;
    bool m_keyboardShown = false;
    Rect m_keyboardFrame;
    std::vector<AccessibilityPost> m_accessibilityPosts;
    std::vector<std::string> m_openedURLs;
    bool m_canOpenURLs = true;
};

// Saves the whole Environment and puts it back when it goes out of scope; the
// environment starts each scope from the defaults when `resetToDefaults` is true.
class EnvironmentScope {
public:
    explicit EnvironmentScope(bool resetToDefaults = true);
    ~EnvironmentScope();
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;

    Environment& environment() { return Environment::current(); }

private:
    Environment m_saved;
};

} // namespace ui
