#include "platform/testing/Interaction.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Button.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Slider.h"
#include "platform/ui/TextField.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(InteractionTests, TapReachesAButtonOnlyWhenAFingerCould)
{
    struct Case {
        const char* name;
        bool enabled;
        bool hidden;
        bool parentHidden;
        bool parentInteractive;
        double parentAlpha;
        bool fires;
    };
    const Case cases[] = {
        { "plain", true, false, false, true, 1, true },
        { "disabled", false, false, false, true, 1, false },
        { "hidden", true, true, false, true, 1, false },
        { "hidden parent", true, false, true, true, 1, false },
        { "parent not interactive", true, false, false, false, 1, false },
        { "transparent parent", true, false, false, true, 0.005, false },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        uitest::UIScope scope;
        auto parent = ui::View::create({ 0, 0, 100, 100 });
        auto button = ui::Button::create({ 10, 10, 50, 30 });
        parent->addSubview(button);
        std::vector<std::string> events;
        button->addTarget(ui::ControlEvent::TouchDown, [&events](ui::Control&) { events.push_back("down"); });
        button->addTarget(
            ui::ControlEvent::TouchUpInside, [&events](ui::Control&) { events.push_back("up"); });
        button->setEnabled(testCase.enabled);
        button->setHidden(testCase.hidden);
        parent->setHidden(testCase.parentHidden);
        parent->setUserInteractionEnabled(testCase.parentInteractive);
        parent->setAlpha(testCase.parentAlpha);

        EXPECT_EQ(uitest::tap(*button), testCase.fires);
        const std::vector<std::string> expected
            = testCase.fires ? std::vector<std::string> { "down", "up" } : std::vector<std::string> {};
        EXPECT_EQ(events, expected);
    }
}

TEST(InteractionTests, TapFallsThroughANonInteractiveViewToItsSuperviewsRecogniser)
{
    uitest::UIScope scope;
    auto card = ui::View::create({ 0, 0, 200, 200 });
    auto picture = ui::View::create({ 50, 50, 20, 20 });
    picture->setUserInteractionEnabled(false);
    card->addSubview(picture);
    ui::Point location;
    int taps = 0;
    auto recognizer = ui::TapGestureRecognizer::create([&](ui::GestureRecognizer& gesture) {
        ++taps;
        location = gesture.locationInView(card.get());
    });
    card->addGestureRecognizer(recognizer);
    auto doubleTap = ui::TapGestureRecognizer::create([&taps](ui::GestureRecognizer&) { taps += 100; });
    doubleTap->setNumberOfTapsRequired(2);
    card->addGestureRecognizer(doubleTap);

    EXPECT_TRUE(uitest::tap(*picture));
    EXPECT_EQ(taps, 1);
    EXPECT_EQ(location, ui::Point(100, 100)) << "the superview is touched where the picture's middle is";
    recognizer->setEnabled(false);
    EXPECT_FALSE(uitest::tap(*card));
}

TEST(InteractionTests, LongPressSwipeAndPanDriveTheirRecognisers)
{
    uitest::UIScope scope;
    auto view = ui::View::create({ 0, 0, 100, 100 });
    std::vector<std::string> events;
    auto press = ui::LongPressGestureRecognizer::create([&events](ui::GestureRecognizer& gesture) {
        events.push_back("press " + std::to_string(static_cast<int>(gesture.state())));
    });
    auto swipe = ui::SwipeGestureRecognizer::create(
        [&events](ui::GestureRecognizer&) { events.push_back("swipe"); });
    swipe->setDirection(ui::SwipeDirection::Left);
    ui::Point translation;
    auto pan = ui::PanGestureRecognizer::create([&translation](ui::GestureRecognizer& gesture) {
        translation = static_cast<ui::PanGestureRecognizer&>(gesture).translationInView(nullptr);
    });
    view->addGestureRecognizer(press);
    view->addGestureRecognizer(swipe);
    view->addGestureRecognizer(pan);

    EXPECT_TRUE(uitest::longPress(*view));
    EXPECT_FALSE(uitest::swipe(*view, ui::SwipeDirection::Right));
    EXPECT_TRUE(uitest::swipe(*view, ui::SwipeDirection::Left));
    EXPECT_TRUE(uitest::pan(*view, { 30, -10 }));
    EXPECT_EQ(events, (std::vector<std::string> { "press 1", "press 3", "swipe" }));
    EXPECT_EQ(translation, ui::Point(30, -10));
    EXPECT_FALSE(uitest::tap(*view)) << "no tap recogniser, not a control, not in a cell";
}

TEST(InteractionTests, PanDragsAScrollViewWithoutRecogniser)
{
    uitest::UIScope scope;
    auto scrollView = ui::ScrollView::create({ 0, 0, 100, 100 });
    scrollView->setContentSize({ 100, 400 });
    EXPECT_TRUE(uitest::pan(*scrollView, { 0, -50 }));
    EXPECT_EQ(scrollView->contentOffset(), ui::Point(0, 50));
}

class VetoDelegate : public ui::TextFieldDelegate {
public:
    bool allowBegin = true;
    bool shouldBeginEditing(ui::TextField&) override { return allowBegin; }
    bool shouldChangeCharactersInRange(ui::TextField&, base::Range, const std::string& replacement) override
    {
        return replacement.find('!') == std::string::npos;
    }
};

TEST(InteractionTests, TypingGoesThroughTheTextFieldDelegate)
{
    uitest::UIScope scope;
    auto field = ui::TextField::create({ 0, 0, 100, 30 });
    scope.window()->addSubview(field);
    auto delegate = std::make_shared<VetoDelegate>();
    field->setDelegate(delegate);
    int changes = 0;
    field->addTarget(ui::ControlEvent::EditingChanged, [&changes](ui::Control&) { ++changes; });

    EXPECT_TRUE(uitest::type(*field, "hello"));
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_FALSE(uitest::type(*field, " world!"));
    EXPECT_EQ(field->text(), "hello");
    EXPECT_EQ(changes, 1);

    auto other = ui::TextField::create({ 0, 40, 100, 30 });
    scope.window()->addSubview(other);
    auto refusing = std::make_shared<VetoDelegate>();
    refusing->allowBegin = false;
    other->setDelegate(refusing);
    EXPECT_FALSE(uitest::type(*other, "x"));
    EXPECT_EQ(other->text(), "");
}

TEST(InteractionTests, SliderAndFire)
{
    uitest::UIScope scope;
    auto slider = ui::Slider::create({ 0, 0, 200, 30 });
    std::vector<std::string> events;
    slider->addTarget(ui::ControlEvent::ValueChanged, [&events](ui::Control& control) {
        events.push_back("changed " + std::to_string(static_cast<ui::Slider&>(control).value()).substr(0, 3));
    });
    slider->addTarget(ui::ControlEvent::TouchUpInside, [&events](ui::Control&) { events.push_back("up"); });
    EXPECT_TRUE(uitest::setSliderValue(*slider, 7));
    EXPECT_EQ(slider->value(), 1);
    EXPECT_EQ(events, (std::vector<std::string> { "changed 1.0", "up" }));

    events.clear();
    uitest::fire(*slider, ui::ControlEvent::TouchUpInside);
    EXPECT_EQ(events, (std::vector<std::string> { "up" }));
    slider->setEnabled(false);
    EXPECT_FALSE(uitest::setSliderValue(*slider, 0.5));
}

} // namespace
