#include "platform/ui/Control.h"

#include "platform/ui/PageControl.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Switch.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

using Events = std::vector<std::string>;

// Records every event a control sends, by name.
void recordAll(Control& control, Events& log)
{
    const std::pair<ControlEvent, const char*> names[] = {
        { ControlEvent::TouchDown, "down" },
        { ControlEvent::TouchUpInside, "upInside" },
        { ControlEvent::TouchUpOutside, "upOutside" },
        { ControlEvent::TouchCancel, "cancel" },
        { ControlEvent::ValueChanged, "value" },
        { ControlEvent::PrimaryActionTriggered, "primary" },
    };
    for (const auto& [event, name] : names)
        control.addTarget(event, [&log, name = std::string(name)](Control&) { log.push_back(name); });
}

TEST(ControlTest, TargetsRunPerEventInOrderAndCanBeRemoved)
{
    auto control = Control::create();
    Events log;
    auto first = control->addTarget(ControlEvent::TouchUpInside, [&](Control&) { log.push_back("first"); });
    control->addTarget(
        ControlEvent::TouchUpInside | ControlEvent::ValueChanged, [&](Control&) { log.push_back("both"); });
    control->sendActions(ControlEvent::TouchUpInside);
    control->sendActions(ControlEvent::ValueChanged);
    control->sendActions(ControlEvent::TouchDown);
    EXPECT_EQ(log, (Events { "first", "both", "both" }));
    EXPECT_EQ(control->targetCount(ControlEvent::TouchUpInside), 2u);

    log.clear();
    control->removeTarget(first);
    control->removeTargets(ControlEvent::ValueChanged);
    control->sendActions(ControlEvent::TouchUpInside);
    control->sendActions(ControlEvent::ValueChanged);
    EXPECT_EQ(log, (Events { "both" }));
    EXPECT_EQ(control->allControlEvents(), ControlEvent::TouchUpInside);
    EXPECT_NE(first, 0u);
}

TEST(ControlTest, AnActionMayDropTheLastReferenceOrChangeTheTargets)
{
    auto control = Control::create();
    std::shared_ptr<Control> owner = control;
    std::weak_ptr<Control> weak = control;
    control.reset();
    int later = 0;
    owner->addTarget(ControlEvent::TouchUpInside, [&](Control& sender) {
        sender.addTarget(ControlEvent::TouchUpInside, [&](Control&) { ++later; });
        owner.reset();
    });
    owner->addTarget(ControlEvent::TouchUpInside, [&](Control& sender) { sender.setSelected(true); });
    weak.lock()->sendActions(ControlEvent::TouchUpInside);
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(later, 0); // added during the send: runs from the next one
}

TEST(ControlTest, TapsReachOnlyTouchableControls)
{
    auto parent = View::create();
    auto control = Control::create();
    parent->addSubview(control);
    Events log;
    recordAll(*control, log);
    EXPECT_TRUE(control->simulateTap());
    EXPECT_EQ(log, (Events { "down", "upInside", "primary" }));
    EXPECT_FALSE(control->isHighlighted());

    log.clear();
    EXPECT_TRUE(control->simulateTap(false));
    EXPECT_EQ(log, (Events { "down", "upOutside" }));

    struct Case {
        const char* name;
        std::function<void(bool)> set;
    };
    const Case cases[] = {
        { "disabled", [&](bool on) { control->setEnabled(!on); } },
        { "hidden", [&](bool on) { control->setHidden(on); } },
        { "interaction off", [&](bool on) { control->setUserInteractionEnabled(!on); } },
        { "inside a hidden view", [&](bool on) { parent->setHidden(on); } },
        { "inside a transparent view", [&](bool on) { parent->setAlpha(on ? 0 : 1); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        c.set(true);
        EXPECT_FALSE(control->simulateTap());
        EXPECT_TRUE(log.empty());
        c.set(false);
    }
}

TEST(ControlTest, StateBitsAndAccessibility)
{
    auto control = Control::create();
    EXPECT_EQ(control->state(), ControlState::Normal);
    control->setSelected(true);
    control->setEnabled(false);
    EXPECT_EQ(control->state(), ControlState::Selected | ControlState::Disabled);
    EXPECT_TRUE(hasFlags(
        control->accessibilityTraits(), AccessibilityTraits::NotEnabled | AccessibilityTraits::Selected));
}

TEST(SwitchTest, TapTogglesAndReportsTheChange)
{
    auto toggle = Switch::create();
    Events log;
    recordAll(*toggle, log);
    bool onWhenChanged = false;
    toggle->addTarget(
        ControlEvent::ValueChanged, [&](Control& c) { onWhenChanged = static_cast<Switch&>(c).isOn(); });
    toggle->simulateTap();
    EXPECT_TRUE(toggle->isOn());
    EXPECT_TRUE(onWhenChanged);
    EXPECT_EQ(log, (Events { "down", "value", "upInside", "primary" }));
    // Setting it in code sends nothing.
    log.clear();
    toggle->setOn(false, true);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(toggle->accessibilityValue(), "0");
}

TEST(SegmentedControlTest, SelectionFollowsEditsAndTapsReportChanges)
{
    auto segments = SegmentedControl::create({ "A", "B", "C" });
    EXPECT_EQ(segments->selectedSegmentIndex(), SegmentedControl::noSegment);
    Events log;
    recordAll(*segments, log);
    EXPECT_TRUE(segments->simulateSelectSegment(1));
    EXPECT_EQ(log, (Events { "down", "value", "upInside" }));
    log.clear();
    segments->simulateSelectSegment(1);
    EXPECT_EQ(log, (Events { "down", "upInside" })); // no change, no value event

    segments->insertSegment("Z", 0);
    EXPECT_EQ(segments->selectedSegmentIndex(), 2);
    EXPECT_EQ(segments->titleForSegment(2), "B");
    segments->removeSegment(2);
    EXPECT_EQ(segments->selectedSegmentIndex(), SegmentedControl::noSegment);

    segments->setSelectedSegmentIndex(7); // ignored
    EXPECT_EQ(segments->selectedSegmentIndex(), SegmentedControl::noSegment);
    segments->setEnabled(false, 0);
    EXPECT_FALSE(segments->simulateSelectSegment(0));
    EXPECT_FALSE(segments->simulateSelectSegment(99));
    EXPECT_EQ(segments->titleForSegment(99), "");
}

TEST(PageControlTest, CurrentPageStaysInRange)
{
    auto pages = PageControl::create();
    pages->setNumberOfPages(2);
    pages->setCurrentPage(5);
    EXPECT_EQ(pages->currentPage(), 1);
    pages->setCurrentPage(-1);
    EXPECT_EQ(pages->currentPage(), 0);
    Events log;
    recordAll(*pages, log);
    EXPECT_TRUE(pages->simulateSelectPage(1));
    EXPECT_EQ(log, (Events { "down", "value", "upInside" }));
    EXPECT_FALSE(pages->simulateSelectPage(2));
    pages->setNumberOfPages(1);
    EXPECT_EQ(pages->currentPage(), 0);
    pages->setHidesForSinglePage(true);
    EXPECT_FALSE(pages->showsDots());
    pages->setNumberOfPages(-4);
    EXPECT_EQ(pages->numberOfPages(), 0);
}

} // namespace
} // namespace ui
