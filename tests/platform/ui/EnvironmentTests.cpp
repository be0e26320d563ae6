#include "platform/ui/Environment.h"

#include "platform/base/NotificationCenter.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

void record(const std::vector<const char*>& names, std::vector<base::ObserverToken>& tokens,
    std::vector<base::Notification>& seen)
{
    for (const char* name : names) {
        tokens.push_back(base::NotificationCenter::defaultCenter().addObserver(
            name, nullptr, [&seen](const base::Notification& n) { seen.push_back(n); }));
    }
}

std::vector<std::string> namesOf(const std::vector<base::Notification>& seen)
{
    std::vector<std::string> names;
    for (const auto& n : seen)
        names.push_back(n.name);
    return names;
}

TEST(EnvironmentTest, ScopeRestoresEverything)
{
    auto& environment = Environment::current();
    environment.setIdiom(UserInterfaceIdiom::Phone);
    environment.setScreenSize({ 375, 667 });
    auto before = environment.keyWindow();
    {
        EnvironmentScope scope;
        EXPECT_EQ(environment.idiom(), UserInterfaceIdiom::Phone); // defaults
        environment.setIdiom(UserInterfaceIdiom::Pad);
        environment.setScreenSize({ 1024, 768 });
        environment.setLayoutDirection(LayoutDirection::RightToLeft);
        environment.setSafeAreaInsets({ 24, 0, 20, 0 });
        environment.makeKeyWindow();
        environment.postAccessibilityAnnouncement("hello");
        {
            EnvironmentScope inner(false);
            EXPECT_TRUE(environment.isPad()); // kept when not resetting
            environment.setIdiom(UserInterfaceIdiom::Unspecified);
        }
        EXPECT_TRUE(environment.isPad());
        EXPECT_TRUE(environment.isRightToLeft());
    }
    EXPECT_EQ(environment.idiom(), UserInterfaceIdiom::Phone);
    EXPECT_EQ(environment.screenSize(), Size(375, 667));
    EXPECT_FALSE(environment.isRightToLeft());
    EXPECT_EQ(environment.safeAreaInsets(), EdgeInsets());
    EXPECT_EQ(environment.keyWindow(), before);
    EXPECT_TRUE(environment.accessibilityPosts().empty());
}

TEST(EnvironmentTest, OnlyThePadIdiomIsAPad)
{
    EnvironmentScope scope;
    struct Case {
        UserInterfaceIdiom idiom;
        bool pad;
    };
    for (Case c : { Case { UserInterfaceIdiom::Pad, true }, Case { UserInterfaceIdiom::Phone, false },
             Case { UserInterfaceIdiom::Unspecified, false } }) {
        Environment::current().setIdiom(c.idiom);
        EXPECT_EQ(Environment::current().isPad(), c.pad);
        EXPECT_EQ(Environment::current().isPhone(), !c.pad);
    }
}

TEST(EnvironmentTest, OrientationValuesAndRotation)
{
    EnvironmentScope scope;
    auto& environment = Environment::current();
    struct Case {
        Orientation orientation;
        int value;
        bool landscape;
    };
    const Case cases[] = {
        { Orientation::Unknown, 0, false },
        { Orientation::Portrait, 1, false },
        { Orientation::PortraitUpsideDown, 2, false },
        { Orientation::LandscapeLeft, 3, true },
        { Orientation::LandscapeRight, 4, true },
        { Orientation::FaceUp, 5, false },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(static_cast<int>(c.orientation), c.value);
        EXPECT_EQ(isLandscape(c.orientation), c.landscape);
    }

    std::vector<base::ObserverToken> tokens;
    std::vector<base::Notification> seen;
    record({ DeviceOrientationDidChangeNotification }, tokens, seen);
    auto window = environment.makeKeyWindow();
    environment.rotateTo(Orientation::LandscapeLeft);
    EXPECT_TRUE(environment.isLandscape());
    EXPECT_EQ(environment.screenSize(), Size(667, 375));
    EXPECT_EQ(window->frame(), Rect(0, 0, 667, 375));
    // Turning within landscape keeps the size; the device still reports the turn.
    environment.rotateTo(Orientation::LandscapeRight);
    EXPECT_EQ(environment.screenSize(), Size(667, 375));
    environment.rotateTo(Orientation::LandscapeRight);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].userInfo["orientation"].intValue(), 4);
    EXPECT_EQ(seen[1].object, &environment);
}

TEST(EnvironmentTest, ApplicationStateChangesPostWhatThePlatformPosts)
{
    EnvironmentScope scope;
    auto& environment = Environment::current();
    std::vector<base::ObserverToken> tokens;
    std::vector<base::Notification> seen;
    record({ ApplicationWillResignActiveNotification, ApplicationDidEnterBackgroundNotification,
               ApplicationWillEnterForegroundNotification, ApplicationDidBecomeActiveNotification },
        tokens, seen);
    struct Step {
        ApplicationState to;
        std::vector<std::string> posted;
    };
    const Step steps[] = {
        { ApplicationState::Background,
            { ApplicationWillResignActiveNotification, ApplicationDidEnterBackgroundNotification } },
        { ApplicationState::Background, {} },
        { ApplicationState::Active,
            { ApplicationWillEnterForegroundNotification, ApplicationDidBecomeActiveNotification } },
        { ApplicationState::Inactive, { ApplicationWillResignActiveNotification } },
        { ApplicationState::Active, { ApplicationDidBecomeActiveNotification } },
    };
    for (const Step& step : steps) {
        seen.clear();
        environment.setApplicationState(step.to);
        EXPECT_EQ(namesOf(seen), step.posted);
        EXPECT_EQ(environment.applicationState(), step.to);
    }
}

TEST(EnvironmentTest, KeyboardNotificationsCarryTheEndFrame)
{
    EnvironmentScope scope;
    auto& environment = Environment::current();
    environment.setScreenSize({ 375, 812 });
    std::vector<base::ObserverToken> tokens;
    std::vector<base::Notification> seen;
    record({ KeyboardWillShowNotification, KeyboardDidShowNotification, KeyboardWillHideNotification,
               KeyboardDidHideNotification },
        tokens, seen);
    environment.hideKeyboard(); // not shown: nothing
    EXPECT_TRUE(seen.empty());
    environment.showKeyboard({ 0, 476, 375, 336 });
    environment.hideKeyboard();
    EXPECT_EQ(namesOf(seen),
        (std::vector<std::string> { KeyboardWillShowNotification, KeyboardDidShowNotification,
            KeyboardWillHideNotification, KeyboardDidHideNotification }));
    const base::Value& end = seen[0].userInfo[KeyboardFrameEndUserInfoKey];
    EXPECT_DOUBLE_EQ(end["y"].doubleValue(), 476);
    EXPECT_DOUBLE_EQ(end["height"].doubleValue(), 336);
    EXPECT_DOUBLE_EQ(seen[2].userInfo[KeyboardFrameEndUserInfoKey]["y"].doubleValue(), 812);
    EXPECT_FALSE(environment.isKeyboardShown());
}

TEST(EnvironmentTest, AccessibilityPostsAreRecordedInOrder)
{
    EnvironmentScope scope;
    auto& environment = Environment::current();
    auto element = View::create();
    environment.postAccessibilityScreenChanged(element);
    environment.postAccessibilityAnnouncement("Page 3");
    environment.postAccessibilityLayoutChanged(nullptr);
    const auto& posts = environment.accessibilityPosts();
    ASSERT_EQ(posts.size(), 3u);
    EXPECT_EQ(posts[0].kind, AccessibilityPost::Kind::ScreenChanged);
    EXPECT_EQ(posts[0].element.lock(), element);
    EXPECT_EQ(posts[1].text, "Page 3");
    EXPECT_EQ(posts[2].element.lock(), nullptr);
}

TEST(EnvironmentTest, VoiceOverFocusFollowsSwipesAndPostsAndGoesWithVoiceOver)
{
    EnvironmentScope scope;
    auto& environment = Environment::current();
    auto first = View::create();
    auto second = View::create();
    // Without VoiceOver nothing has its focus, whatever is asked.
    environment.setAccessibilityFocusedElement(first);
    environment.postAccessibilityScreenChanged(first);
    EXPECT_EQ(environment.accessibilityFocusedElement(), nullptr);

    environment.setVoiceOverRunning(true);
    environment.setAccessibilityFocusedElement(first);
    EXPECT_EQ(environment.accessibilityFocusedElement(), first);
    environment.postAccessibilityLayoutChanged(second);
    EXPECT_EQ(environment.accessibilityFocusedElement(), second);
    // A post naming no element leaves the focus where it is.
    environment.postAccessibilityScreenChanged(nullptr);
    EXPECT_EQ(environment.accessibilityFocusedElement(), second);
    // The focus is held weakly.
    second.reset();
    EXPECT_EQ(environment.accessibilityFocusedElement(), nullptr);

    environment.setAccessibilityFocusedElement(first);
    environment.setVoiceOverRunning(false);
    environment.setVoiceOverRunning(true);
    EXPECT_EQ(environment.accessibilityFocusedElement(), nullptr);
}

} // namespace
} // namespace ui
