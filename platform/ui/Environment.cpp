#include "platform/ui/Environment.h"

#include "platform/base/RunLoop.h"

#include "platform/base/NotificationCenter.h"
#include "platform/base/Thread.h"
#include "platform/base/Value.h"
#include "platform/ui/View.h"

#include <utility>

namespace ui {

namespace {

base::Value rectValue(const Rect& rect)
{
    base::Value::Dictionary dictionary;
    dictionary.set("x", rect.origin.x);
    dictionary.set("y", rect.origin.y);
    dictionary.set("width", rect.size.width);
    dictionary.set("height", rect.size.height);
    return base::Value(std::move(dictionary));
}

base::Value keyboardUserInfo(const Rect& beginFrame, const Rect& endFrame, double animationDuration)
{
    base::Value::Dictionary dictionary;
    dictionary.set(KeyboardFrameBeginUserInfoKey, rectValue(beginFrame));
    dictionary.set(KeyboardFrameEndUserInfoKey, rectValue(endFrame));
    dictionary.set(KeyboardAnimationDurationUserInfoKey, animationDuration);
    return base::Value(std::move(dictionary));
}

} // namespace

bool isLandscape(Orientation orientation)
{
    return orientation == Orientation::LandscapeLeft || orientation == Orientation::LandscapeRight;
}

bool isPortrait(Orientation orientation)
{
    return orientation == Orientation::Portrait || orientation == Orientation::PortraitUpsideDown;
}

Environment& Environment::current()
{
    static Environment environment;
    return environment;
}

Environment::Environment() = default;

void Environment::reset()
{
    *this = Environment();
}

void Environment::post(const char* name) const
{
    base::NotificationCenter::defaultCenter().post(name, &current());
}

void Environment::setDeviceOrientation(Orientation orientation)
{
    BASE_ASSERT_MAIN_THREAD();
    if (orientation == m_deviceOrientation)
        return;
    m_deviceOrientation = orientation;
    base::Value::Dictionary info;
    info.set("orientation", static_cast<int>(orientation));
    base::NotificationCenter::defaultCenter().post(DeviceOrientationDidChangeNotification, &current(),
        base::Value(std::move(info)));
}

void Environment::rotateTo(Orientation orientation)
{
    BASE_ASSERT_MAIN_THREAD();
    if (ui::isLandscape(orientation) || isPortrait(orientation)) {
        bool wasLandscape = ui::isLandscape(m_interfaceOrientation);
        if (wasLandscape != ui::isLandscape(orientation))
            m_screenSize = { m_screenSize.height, m_screenSize.width };
        m_interfaceOrientation = orientation;
        if (m_keyWindow)
            m_keyWindow->setFrame(screenBounds());
    }
    setDeviceOrientation(orientation);
}

void Environment::setScreenSize(const Size& size)
{
    BASE_ASSERT_MAIN_THREAD();
    m_screenSize = size;
    if (m_keyWindow)
        m_keyWindow->setFrame(screenBounds());
}

namespace {

// The key window is laid out at the end of every run-loop turn in which anything about its
// layout changed, before anyone sees it.
void layOutKeyWindowAtTheEndOfEachTurn()
{
    static bool hooked = false;
    if (hooked)
        return;
    hooked = true;
    base::RunLoop::main().setTurnEndHook([] {
        if (!View::layoutPending())
            return;
        if (auto key = Environment::current().keyWindow())
            key->layoutIfNeeded();
    });
}

} // namespace

void Environment::setKeyWindow(std::shared_ptr<View> window)
{
    BASE_ASSERT_MAIN_THREAD();
    m_keyWindow = std::move(window);
    if (m_keyWindow)
        layOutKeyWindowAtTheEndOfEachTurn();
}

std::shared_ptr<View> Environment::makeKeyWindow()
{
    BASE_ASSERT_MAIN_THREAD();
    auto window = View::create(screenBounds());
    window->setAccessibilityIdentifier("Window");
    m_keyWindow = window;
    layOutKeyWindowAtTheEndOfEachTurn();
    return window;
}

void Environment::setVoiceOverRunning(bool running)
{
    if (running == m_voiceOverRunning)
        return;
    m_voiceOverRunning = running;
    if (!running)
        m_accessibilityFocus.reset();
    post(VoiceOverStatusDidChangeNotification);
}

std::shared_ptr<View> Environment::accessibilityFocusedElement() const
{
    return m_voiceOverRunning ? m_accessibilityFocus.lock() : nullptr;
}

void Environment::setAccessibilityFocusedElement(const std::shared_ptr<View>& element)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_voiceOverRunning)
        m_accessibilityFocus = element;
}

void Environment::setReduceTransparencyEnabled(bool enabled)
{
    if (enabled == m_reduceTransparency)
        return;
    m_reduceTransparency = enabled;
    post(ReduceTransparencyStatusDidChangeNotification);
}

void Environment::setApplicationState(ApplicationState state)
{
    BASE_ASSERT_MAIN_THREAD();
    ApplicationState old = m_applicationState;
    if (state == old)
        return;
    // The platform passes through inactive on the way in either direction.
    if (old == ApplicationState::Active) {
        m_applicationState = ApplicationState::Inactive;
        post(ApplicationWillResignActiveNotification);
        if (state == ApplicationState::Background) {
            m_applicationState = ApplicationState::Background;
            post(ApplicationDidEnterBackgroundNotification);
        }
    } else if (old == ApplicationState::Background) {
        m_applicationState = ApplicationState::Inactive;
        post(ApplicationWillEnterForegroundNotification);
        if (state == ApplicationState::Active) {
            m_applicationState = ApplicationState::Active;
            post(ApplicationDidBecomeActiveNotification);
        }
    } else if (state == ApplicationState::Active) {
        m_applicationState = ApplicationState::Active;
        post(ApplicationDidBecomeActiveNotification);
    } else {
        m_applicationState = ApplicationState::Background;
        post(ApplicationDidEnterBackgroundNotification);
    }
}

void Environment::endIgnoringInteractionEvents()
{
    if (m_ignoringInteraction > 0)
        --m_ignoringInteraction;
}

void Environment::showKeyboard(const Rect& endFrame, double animationDuration)
{
    BASE_ASSERT_MAIN_THREAD();
    Rect beginFrame = m_keyboardShown ? m_keyboardFrame
                                      : Rect(endFrame.origin.x, m_screenSize.height, endFrame.size.width,
                                            endFrame.size.height);
    auto& center = base::NotificationCenter::defaultCenter();
    auto info = [&] { return keyboardUserInfo(beginFrame, endFrame, animationDuration); };
    center.post(KeyboardWillShowNotification, &current(), info());
    m_keyboardShown = true;
    m_keyboardFrame = endFrame;
    center.post(KeyboardDidShowNotification, &current(), info());
}

void Environment::hideKeyboard(double animationDuration)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_keyboardShown)
        return;
    Rect beginFrame = m_keyboardFrame;
    Rect endFrame(beginFrame.origin.x, m_screenSize.height, beginFrame.size.width, beginFrame.size.height);
    auto& center = base::NotificationCenter::defaultCenter();
    auto info = [&] { return keyboardUserInfo(beginFrame, endFrame, animationDuration); };
    center.post(KeyboardWillHideNotification, &current(), info());
    m_keyboardShown = false;
    m_keyboardFrame = {};
    center.post(KeyboardDidHideNotification, &current(), info());
}

void Environment::postAccessibilityScreenChanged(const std::shared_ptr<View>& element)
{
    m_accessibilityPosts.push_back({ AccessibilityPost::Kind::ScreenChanged, element, {} });
    if (element)
        setAccessibilityFocusedElement(element);
}

void Environment::postAccessibilityLayoutChanged(const std::shared_ptr<View>& element)
{
    m_accessibilityPosts.push_back({ AccessibilityPost::Kind::LayoutChanged, element, {} });
    if (element)
        setAccessibilityFocusedElement(element);
}

void Environment::postAccessibilityAnnouncement(std::string text)
{
    m_accessibilityPosts.push_back({ AccessibilityPost::Kind::Announcement, {}, std::move(text) });
}

bool Environment::openURL(const std::string& url)
{
    if (!m_canOpenURLs || url.empty())
        return false;
    m_openedURLs.push_back(url);
    return true;
}

EnvironmentScope::EnvironmentScope(bool resetToDefaults)
    : m_saved(Environment::current())
{
    if (resetToDefaults)
        Environment::current().reset();
}

EnvironmentScope::~EnvironmentScope()
{
    Environment::current() = std::move(m_saved);
}

} // namespace ui
