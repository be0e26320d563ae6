#include "platform/testing/Interaction.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Presentation.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Slider.h"
#include "platform/ui/TextField.h"

#include <gtest/gtest.h>

#include <functional>
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
        scope.window()->addSubview(parent);
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
    scope.window()->addSubview(card);
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
    EXPECT_EQ(location, ui::Point(60, 60)) << "the superview is touched where the picture's middle is";
    recognizer->setEnabled(false);
    EXPECT_FALSE(uitest::tap(*card));
}

TEST(InteractionTests, LongPressSwipeAndPanDriveTheirRecognisers)
{
    uitest::UIScope scope;
    auto view = ui::View::create({ 0, 0, 100, 100 });
    scope.window()->addSubview(view);
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
    scope.window()->addSubview(scrollView);
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
    scope.window()->addSubview(slider);
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

// A tap lands only where a finger could: each case says why not, naming what was in the way.
TEST(InteractionTests, ATapThatCannotLandSaysWhatStoodInTheWay)
{
    struct Case {
        const char* name;
        std::function<void(ui::View& window, ui::View& panel, ui::Button& button)> arrange;
        const char* obstacle;
    };
    const Case cases[] = {
        { "not in a window", [](ui::View&, ui::View& panel, ui::Button&) { panel.removeFromSuperview(); },
            "is not in the key window" },
        { "zero frame", [](ui::View&, ui::View&, ui::Button& button) { button.setFrame({ 10, 10, 0, 0 }); },
            "has a 0×0 frame" },
        { "hidden ancestor", [](ui::View&, ui::View& panel, ui::Button&) { panel.setHidden(true); },
            "hidden ancestor View \"panel\"" },
        { "outside a clipping ancestor",
            [](ui::View&, ui::View& panel, ui::Button& button) {
                panel.setClipsToBounds(true);
                button.setFrame({ 150, 10, 40, 30 });
            },
            "lies outside its clipping ancestor View \"panel\"" },
        { "off screen", [](ui::View&, ui::View& panel, ui::Button&) { panel.setFrame({ 2000, 0, 100, 100 }); },
            "lies outside the screen" },
        { "under a sibling",
            [](ui::View& window, ui::View&, ui::Button&) {
                auto cover = ui::View::create({ 0, 0, 300, 300 });
                cover->setAccessibilityIdentifier("cover");
                window.addSubview(cover);
            },
            "is covered by View \"cover\"" },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        uitest::UIScope scope;
        auto panel = ui::View::create({ 0, 0, 100, 100 });
        panel->setAccessibilityIdentifier("panel");
        scope.window()->addSubview(panel);
        auto button = ui::Button::create({ 10, 10, 50, 30 });
        panel->addSubview(button);
        int taps = 0;
        button->addTarget(ui::ControlEvent::TouchUpInside, [&taps](ui::Control&) { ++taps; });
        testCase.arrange(*scope.window(), *panel, *button);

        auto result = uitest::tap(*button);
        EXPECT_FALSE(result);
        EXPECT_NE(std::string(result.message()).find(testCase.obstacle), std::string::npos) << result.message();
        EXPECT_EQ(taps, 0);
        uitest::fire(*button, ui::ControlEvent::TouchUpInside);
        EXPECT_EQ(taps, 1) << "firing is code-level and ignores the screen";
    }
}

TEST(InteractionTests, ATapLandsOnTheTopmostViewAtItsPoint)
{
    uitest::UIScope scope;
    auto button = ui::Button::create({ 0, 0, 100, 40 });
    scope.window()->addSubview(button);
    // A badge over the button's left half: the centre of the button is under it, its right
    // half is not; a label that ignores touches lets them through.
    auto badge = ui::View::create({ 0, 0, 60, 40 });
    scope.window()->addSubview(badge);
    auto caption = ui::View::create({ 0, 0, 100, 40 });
    caption->setUserInteractionEnabled(false);
    scope.window()->addSubview(caption);
    int taps = 0;
    button->addTarget(ui::ControlEvent::TouchUpInside, [&taps](ui::Control&) { ++taps; });

    EXPECT_FALSE(uitest::tap(*button));
    EXPECT_TRUE(uitest::tap(*button, ui::Point { 80, 20 }));
    EXPECT_EQ(taps, 1);
    EXPECT_FALSE(uitest::tap(*button, ui::Point { 180, 20 })) << "outside the button";
    EXPECT_TRUE(uitest::tap(*caption, ui::Point { 80, 20 })) << "through the caption to the button";
    EXPECT_EQ(taps, 2);
}

TEST(InteractionTests, APresentedPanelCoversWhatIsBehindIt)
{
    uitest::UIScope scope;
    auto root = ui::ViewController::create();
    uitest::showInWindow(root);
    auto button = ui::Button::create({ 10, 100, 80, 40 });
    root->view()->addSubview(button);
    int taps = 0;
    button->addTarget(ui::ControlEvent::TouchUpInside, [&taps](ui::Control&) { ++taps; });
    ASSERT_TRUE(uitest::tap(*button));

    auto panel = ui::ViewController::create();
    root->presentViewController(panel, false);
    uitest::completePresentations();
    auto covered = uitest::tap(*button);
    EXPECT_FALSE(covered);
    EXPECT_NE(std::string(covered.message()).find("covered by ViewController's view"), std::string::npos)
        << covered.message();

    // On a pad a pop-over leaves the screen showing but takes the touches outside it.
    scope.environment().setIdiom(ui::UserInterfaceIdiom::Pad);
    panel->dismissViewControllerAnimated(false);
    uitest::completePresentations();
    auto popover = ui::ViewController::create();
    popover->setModalPresentationStyle(ui::ModalPresentationStyle::Popover);
    popover->setPreferredContentSize({ 200, 200 });
    popover->popoverPresentationController()->setSourceView(root->view());
    popover->popoverPresentationController()->setSourceRect({ 500, 500, 10, 10 });
    root->presentViewController(popover, false);
    uitest::completePresentations();
    auto dimmed = uitest::tap(*button);
    EXPECT_FALSE(dimmed);
    EXPECT_NE(std::string(dimmed.message()).find("dimming"), std::string::npos) << dimmed.message();
    EXPECT_EQ(taps, 1);
}

TEST(InteractionTests, ARowIsTappedOnlyWhenItIsOnScreen)
{
    class Rows : public ui::TableViewDataSource, public ui::TableViewDelegate {
    public:
        int numberOfRowsInSection(ui::TableView&, int) override { return 50; }
        std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override
        {
            return ui::TableViewCell::create(ui::TableViewCellStyle::Default, "row");
        }
        void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath) override
        {
            selected.push_back(indexPath.row);
        }
        std::vector<int> selected;
    };
    uitest::UIScope scope;
    auto rows = std::make_shared<Rows>();
    auto table = ui::TableView::create({ 0, 0, 320, 200 });
    table->setDataSource(rows);
    table->setDelegate(rows);
    scope.window()->addSubview(table);
    table->reloadData();
    table->layoutIfNeeded();

    EXPECT_TRUE(uitest::tapRow(*table, { 0, 1 }));
    auto below = uitest::tapRow(*table, { 0, 40 });
    EXPECT_FALSE(below);
    EXPECT_NE(std::string(below.message()).find("not on screen"), std::string::npos) << below.message();
    table->scrollToRowAtIndexPath({ 0, 40 }, ui::TableViewScrollPosition::Top, false);
    EXPECT_TRUE(uitest::tapRow(*table, { 0, 40 }));
    EXPECT_EQ(rows->selected, (std::vector<int> { 1, 40 }));
}

} // namespace
