#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"

#include "platform/testing/Interaction.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"

#include <gtest/gtest.h>

namespace {

using lectoro::PlayerActionBar;
using lectoro::PlayerActionBarItem;

// Implements only the dispatcher, as the reader does; the bar reaches it through the
// default of didSelectedPlayerActionBar.
class RecordingBarDelegate : public lectoro::PlayerActionDelegate {
public:
    void didTapOnPlayerActionBar(PlayerActionBar& bar, PlayerActionBarItem& item) override
    {
        log.push_back("tap:" + std::to_string(bar.tag()) + ":" + std::to_string(item.tag()));
        selectedDuringTap = bar.getSelectedItem().get();
    }
    void willResetPlayerActionBar(PlayerActionBar& bar) override
    {
        log.push_back("reset:" + std::to_string(bar.tag()));
        selectedDuringReset = bar.getSelectedItem().get();
    }

    std::vector<std::string> log;
    PlayerActionBarItem* selectedDuringTap = nullptr;
    PlayerActionBarItem* selectedDuringReset = nullptr;
};

class PlayerActionBarTest : public ::testing::Test {
protected:
    std::shared_ptr<PlayerActionBarItem> add(int tag, double width, int alignment, bool tappable = true)
    {
        auto item = PlayerActionBarItem::createWithLabel(tag, "x");
        bar->addActionBarItem(item, width, alignment, tappable);
        return item;
    }

    uitest::UIScope scope;
    std::shared_ptr<PlayerActionBar> bar = PlayerActionBar::create({ { 0, 0 }, { 375, 44 } });
    std::shared_ptr<RecordingBarDelegate> delegate = std::make_shared<RecordingBarDelegate>();
};

TEST_F(PlayerActionBarTest, GroupsLayOutInCallOrder)
{
    auto back = add(22, 60, 0);
    auto chapter = add(0, 50, 0, false);
    auto profile = add(16, 40, 1);
    auto audio = add(14, 30, 1);
    auto middle = add(7, 20, 2);
    bar->layoutIfNeeded();

    struct Expected {
        std::shared_ptr<PlayerActionBarItem> item;
        double x;
        double width;
    };
    for (const auto& [item, x, width] : { Expected { back, 0, 60 }, Expected { chapter, 60, 50 },
             Expected { profile, 305, 40 }, Expected { audio, 345, 30 }, Expected { middle, 177.5, 20 } }) {
        SCOPED_TRACE(item->tag());
        EXPECT_DOUBLE_EQ(item->frame().origin.x, x);
        EXPECT_DOUBLE_EQ(item->frame().size.width, width);
        EXPECT_DOUBLE_EQ(item->frame().size.height, 44);
    }

    // A hidden item leaves its place to the next of its group.
    bar->hideItemWithTag(16, true);
    bar->layoutIfNeeded();
    EXPECT_TRUE(profile->isHidden());
    EXPECT_DOUBLE_EQ(audio->frame().origin.x, 345);
    bar->hideItemWithTag(22, true);
    bar->layoutIfNeeded();
    EXPECT_DOUBLE_EQ(chapter->frame().origin.x, 0);
}

TEST_F(PlayerActionBarTest, VerticalModeStacksItemsAndFillItemsShareTheLength)
{
    bar->setFrame({ { 0, 0 }, { 50, 300 } });
    bar->setPlayerActionBarAlignmentMode(lectoro::PlayerActionBarAlignmentVertical);
    auto first = add(1, 0, 3);
    auto fixed = add(2, 60, 0);
    auto last = add(3, 0, 3);
    bar->layoutIfNeeded();
    EXPECT_EQ(first->frame(), (ui::Rect { { 0, 0 }, { 50, 120 } }));
    EXPECT_EQ(fixed->frame(), (ui::Rect { { 0, 120 }, { 50, 60 } }));
    EXPECT_EQ(last->frame(), (ui::Rect { { 0, 180 }, { 50, 120 } }));
}

TEST_F(PlayerActionBarTest, TapsSelectTheItemAndReachTheDelegate)
{
    bar->setTag(3);
    bar->setDelegate(delegate);
    auto toc = add(1, 60, 0);
    auto label = add(0, 100, 0, false);
    auto search = add(7, 60, 1);
    uitest::showInWindow([&] {
        auto controller = ui::ViewController::create();
        controller->view()->addSubview(bar);
        return controller;
    }());
    bar->layoutIfNeeded();

    EXPECT_EQ(bar->getTappableItems(), (std::vector<std::shared_ptr<PlayerActionBarItem>> { toc, search }));
    EXPECT_TRUE(uitest::tap(*toc));
    EXPECT_EQ(delegate->selectedDuringTap, toc.get()) << "the item is selected before the delegate hears of it";
    EXPECT_TRUE(toc->isSelected());
    EXPECT_FALSE(uitest::tap(*label)) << "display-only items take no taps";

    EXPECT_TRUE(bar->tapItemWithTag(7));
    EXPECT_FALSE(toc->isSelected());
    EXPECT_EQ(bar->getSelectedItem(), search);
    EXPECT_TRUE(hasFlags(search->accessibilityTraits(), ui::AccessibilityTraits::Selected));

    bar->enableItemWithTag(7, false);
    EXPECT_FALSE(uitest::tap(*search));
    EXPECT_FALSE(bar->tapItemWithTag(7));
    EXPECT_TRUE(hasFlags(search->accessibilityTraits(), ui::AccessibilityTraits::NotEnabled));
    bar->hideItemWithTag(1, true);
    EXPECT_FALSE(bar->tapItem(*toc));

    EXPECT_EQ(delegate->log, (std::vector<std::string> { "tap:3:1", "tap:3:7" }));
}

TEST_F(PlayerActionBarTest, ResetTellsTheDelegateFirstThenClears)
{
    bar->setTag(4);
    bar->setDelegate(delegate);
    auto pen = add(0, 60, 0);
    add(2, 60, 0);
    bar->tapItem(*pen);
    bar->resetPlayerActionBarSelection();
    EXPECT_EQ(delegate->selectedDuringReset, pen.get());
    EXPECT_FALSE(bar->getSelectedItem());
    for (const auto& item : bar->items())
        EXPECT_FALSE(item->isSelected());
    EXPECT_EQ(delegate->log.back(), "reset:4");
}

TEST_F(PlayerActionBarTest, ItemsCarryMetadataAndFindTheirLabel)
{
    auto swatch = add(18, 30, 2);
    swatch->setMetaData(base::Value::Dictionary { { "penColor", "#000000" } });
    EXPECT_EQ(*swatch->metaData()["penColor"].asString(), "#000000");
    swatch->setMetaData(base::Value("not a dictionary"));
    EXPECT_TRUE(swatch->metaData().isDictionary());
    ASSERT_TRUE(swatch->firstLabel());
    EXPECT_EQ(swatch->firstLabel()->text(), "x");
    EXPECT_FALSE(PlayerActionBarItem::create()->firstLabel());
    EXPECT_EQ(bar->itemWithTag(18), swatch);
    EXPECT_FALSE(bar->itemWithTag(99));
}

TEST_F(PlayerActionBarTest, AnItemMovesBetweenBarsAndNeitherKeepsTheOtherAlive)
{
    auto item = add(5, 40, 0);
    bar->tapItem(*item);
    auto other = PlayerActionBar::create();
    other->addActionBarItem(item, 40, 7, true);
    EXPECT_TRUE(bar->items().empty());
    EXPECT_FALSE(bar->getSelectedItem());
    EXPECT_EQ(item->itemAlignment(), lectoro::PlayerActionBarItemAlignmentLeading) << "unknown alignments lead";
    EXPECT_EQ(item->bar(), other);

    std::weak_ptr<PlayerActionBar> weakOther = other;
    other.reset();
    EXPECT_TRUE(weakOther.expired());
    EXPECT_FALSE(item->bar());
    EXPECT_FALSE(uitest::tap(*item));
}

} // namespace
