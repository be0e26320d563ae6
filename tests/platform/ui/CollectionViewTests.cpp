#include "platform/testing/Interaction.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/CollectionView.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using ui::CollectionView;
using ui::CollectionViewCell;
using ui::CollectionViewFlowLayout;
using ui::IndexPath;
using ui::Rect;

class RecordingItemSource : public ui::CollectionViewDataSource {
public:
    std::vector<int> items { 5 };
    std::vector<IndexPath> asked;

    int numberOfSectionsInCollectionView(CollectionView&) override { return static_cast<int>(items.size()); }
    int numberOfItemsInSection(CollectionView&, int section) override { return items[section]; }
    std::shared_ptr<CollectionViewCell> cellForItemAtIndexPath(
        CollectionView& view, const IndexPath& indexPath) override
    {
        asked.push_back(indexPath);
        return view.dequeueReusableCellWithReuseIdentifier("item", indexPath);
    }
};

class FlowDelegate : public ui::CollectionViewDelegateFlowLayout {
public:
    std::map<IndexPath, ui::Size> sizes;
    std::optional<ui::EdgeInsets> inset;
    std::vector<std::string> calls;

    std::optional<ui::Size> sizeForItemAtIndexPath(
        CollectionView&, ui::CollectionViewLayout&, const IndexPath& indexPath) override
    {
        auto it = sizes.find(indexPath);
        return it == sizes.end() ? std::nullopt : std::optional(it->second);
    }
    std::optional<ui::EdgeInsets> insetForSectionAtIndex(
        CollectionView&, ui::CollectionViewLayout&, int) override
    {
        return inset;
    }
    void didSelectItemAtIndexPath(CollectionView&, const IndexPath& indexPath) override
    {
        calls.push_back("didSelect " + indexPath.toString());
    }
    void didDeselectItemAtIndexPath(CollectionView&, const IndexPath& indexPath) override
    {
        calls.push_back("didDeselect " + indexPath.toString());
    }
};

struct CollectionFixture {
    uitest::UIScope scope;
    std::shared_ptr<CollectionViewFlowLayout> layout = CollectionViewFlowLayout::create();
    std::shared_ptr<RecordingItemSource> dataSource = std::make_shared<RecordingItemSource>();
    std::shared_ptr<FlowDelegate> delegate = std::make_shared<FlowDelegate>();
    std::shared_ptr<CollectionView> view;

    explicit CollectionFixture(Rect frame = { 0, 0, 200, 300 })
    {
        view = CollectionView::create(frame, layout);
        view->registerCellClass(
            "item", [](const std::string& identifier) { return CollectionViewCell::create(identifier); });
        view->setDataSource(dataSource);
        view->setDelegate(delegate);
        // On screen, where a finger can reach its items.
        scope.window()->addSubview(view);
    }

    std::vector<Rect> frames()
    {
        view->reloadData();
        std::vector<Rect> result;
        for (int section = 0; section < view->numberOfSections(); ++section) {
            for (int item = 0; item < view->numberOfItemsInSection(section); ++item)
                result.push_back(view->layoutAttributesForItemAtIndexPath({ section, item })->frame);
        }
        return result;
    }
};

TEST(CollectionViewTests, FlowLayoutWrapsRowsLeftToRightAndMirrorsRightToLeft)
{
    // Width 200, inset 10 on each side: room for two 80-point items 10 apart (10 + 80 +
    // 10 + 80 = 180 ≤ 190), the third wraps. Item 1 of section 0 is taller (60).
    const std::vector<Rect> leftToRight {
        { 10, 15, 80, 40 },
        { 100, 15, 80, 60 },
        { 10, 85, 80, 40 },
        { 100, 85, 80, 40 },
        { 10, 135, 80, 40 },
    };
    for (bool rightToLeft : { false, true }) {
        SCOPED_TRACE(rightToLeft ? "right to left" : "left to right");
        CollectionFixture fixture;
        fixture.layout->setItemSize({ 80, 40 });
        fixture.layout->setSectionInset({ 15, 10, 5, 10 });
        fixture.layout->setMinimumInteritemSpacing(10);
        fixture.layout->setMinimumLineSpacing(10);
        fixture.layout->setRightToLeft(rightToLeft);
        fixture.delegate->sizes = { { { 0, 1 }, { 80, 60 } } };
        auto frames = fixture.frames();
        ASSERT_EQ(frames.size(), leftToRight.size());
        for (size_t index = 0; index < frames.size(); ++index) {
            Rect expected = leftToRight[index];
            if (rightToLeft)
                expected.origin.x = 200 - expected.origin.x - expected.size.width;
            EXPECT_EQ(frames[index], expected) << "item " << index;
        }
        EXPECT_EQ(fixture.layout->collectionViewContentSize(), ui::Size(200, 180));
    }
}

TEST(CollectionViewTests, FlowLayoutEdgeCases)
{
    struct Case {
        const char* name;
        ui::Size itemSize;
        bool flips;
        bool rightToLeft;
        std::vector<Rect> frames;
    };
    const Case cases[] = {
        // Exactly the room: 3 x 60 + 2 x 10 = 200 stays on one row.
        { "exact fit", { 60, 30 }, true, false, { { 0, 0, 60, 30 }, { 70, 0, 60, 30 }, { 140, 0, 60, 30 } } },
        // Wider than the room: one item per row, never an empty row.
        { "too wide", { 250, 30 }, true, false,
            { { 0, 0, 250, 30 }, { 0, 40, 250, 30 }, { 0, 80, 250, 30 } } },
        { "no flip", { 60, 30 }, false, true, { { 0, 0, 60, 30 }, { 70, 0, 60, 30 }, { 140, 0, 60, 30 } } },
        { "negative size", { -5, 30 }, true, false, { { 0, 0, 0, 30 }, { 10, 0, 0, 30 }, { 20, 0, 0, 30 } } },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        CollectionFixture fixture;
        fixture.dataSource->items = { 3 };
        fixture.layout->setItemSize(testCase.itemSize);
        fixture.layout->setFlipsHorizontallyInOppositeLayoutDirection(testCase.flips);
        fixture.layout->setRightToLeft(testCase.rightToLeft);
        EXPECT_EQ(fixture.frames(), testCase.frames);
    }
}

TEST(CollectionViewTests, RightToLeftFollowsTheEnvironmentUnlessTheLayoutSays)
{
    CollectionFixture fixture;
    fixture.dataSource->items = { 1 };
    fixture.scope.environment().setLayoutDirection(ui::LayoutDirection::RightToLeft);
    EXPECT_EQ(fixture.frames(), (std::vector<Rect> { { 150, 0, 50, 50 } }));
    fixture.layout->setRightToLeft(false);
    EXPECT_EQ(fixture.frames(), (std::vector<Rect> { { 0, 0, 50, 50 } }));
}

TEST(CollectionViewTests, SectionsHeadersAndHorizontalScrolling)
{
    CollectionFixture fixture;
    fixture.dataSource->items = { 2, 1 };
    fixture.layout->setHeaderReferenceSize({ 30, 20 });
    fixture.layout->setItemSize({ 100, 50 });
    fixture.layout->setMinimumInteritemSpacing(0);
    EXPECT_EQ(fixture.frames(),
        (std::vector<Rect> { { 0, 20, 100, 50 }, { 100, 20, 100, 50 }, { 0, 90, 100, 50 } }));
    EXPECT_EQ(fixture.layout->frameForHeaderInSection(1), Rect(0, 70, 200, 20));

    // Horizontal: columns of the height (300) from the top; headers take their width.
    fixture.layout->setScrollDirection(ui::CollectionViewScrollDirection::Horizontal);
    fixture.layout->setItemSize({ 100, 200 });
    EXPECT_EQ(fixture.frames(),
        (std::vector<Rect> { { 30, 0, 100, 200 }, { 140, 0, 100, 200 }, { 270, 0, 100, 200 } }));
    EXPECT_EQ(fixture.layout->collectionViewContentSize(), ui::Size(370, 300));
}

TEST(CollectionViewTests, AsksOnlyForVisibleItemsAndReusesWhenScrolled)
{
    CollectionFixture fixture({ 0, 0, 100, 100 });
    fixture.dataSource->items = { 20 };
    fixture.layout->setItemSize({ 100, 50 });
    fixture.layout->setMinimumLineSpacing(0);
    fixture.view->reloadData();
    EXPECT_EQ(fixture.dataSource->asked, (std::vector<IndexPath> { { 0, 0 }, { 0, 1 } }));
    auto first = fixture.view->visibleCells();

    fixture.dataSource->asked.clear();
    fixture.view->setContentOffset({ 0, 500 });
    EXPECT_EQ(fixture.dataSource->asked, (std::vector<IndexPath> { { 0, 10 }, { 0, 11 } }));
    auto now = fixture.view->visibleCells();
    ASSERT_EQ(now.size(), 2u);
    for (auto& cell : now) {
        EXPECT_TRUE(cell == first[0] || cell == first[1]);
        EXPECT_EQ(cell->reuseCount(), 1);
    }
    EXPECT_EQ(fixture.view->cellForItemAtIndexPath({ 0, 10 })->frame(), Rect(0, 500, 100, 50));
    EXPECT_EQ(fixture.view->indexPathForItemAtPoint({ 50, 560 }), IndexPath(0, 11));
}

TEST(CollectionViewTests, SelectionAndScrollToItem)
{
    CollectionFixture fixture({ 0, 0, 100, 100 });
    fixture.dataSource->items = { 20 };
    fixture.layout->setItemSize({ 100, 50 });
    fixture.layout->setMinimumLineSpacing(0);
    fixture.view->reloadData();

    EXPECT_TRUE(uitest::tapItem(*fixture.view, { 0, 1 }));
    EXPECT_TRUE(uitest::tapItem(*fixture.view, { 0, 0 }));
    EXPECT_EQ(fixture.delegate->calls,
        (std::vector<std::string> { "didSelect [0, 1]", "didDeselect [0, 1]", "didSelect [0, 0]" }));
    EXPECT_TRUE(fixture.view->cellForItemAtIndexPath({ 0, 0 })->isSelected());
    EXPECT_FALSE(uitest::tapItem(*fixture.view, { 0, 99 }));

    fixture.view->selectItemAtIndexPath(IndexPath(0, 15), false, ui::CollectionViewScrollPosition::Top);
    EXPECT_EQ(fixture.view->contentOffset().y, 750);
    EXPECT_TRUE(fixture.view->cellForItemAtIndexPath({ 0, 15 })->isSelected());
    EXPECT_EQ(fixture.view->indexPathsForSelectedItems(), (std::vector<IndexPath> { { 0, 15 } }));
    fixture.view->scrollToItemAtIndexPath({ 0, 19 }, ui::CollectionViewScrollPosition::Top);
    EXPECT_EQ(fixture.view->contentOffset().y, 900);
}

// The visible items whose cells show them as selected, in order.
std::vector<IndexPath> itemsShownSelected(const CollectionView& view)
{
    std::vector<IndexPath> shown;
    for (auto& indexPath : view.indexPathsForVisibleItems()) {
        if (view.cellForItemAtIndexPath(indexPath)->isSelected())
            shown.push_back(indexPath);
    }
    return shown;
}

// Records the questions a tap asks as well; refuses them for the items in `refused`.
class SelectionDelegate : public FlowDelegate {
public:
    std::set<IndexPath> unhighlightable;
    std::set<IndexPath> refused;

    bool shouldHighlightItemAtIndexPath(CollectionView&, const IndexPath& indexPath) override
    {
        return !unhighlightable.count(indexPath);
    }
    bool shouldSelectItemAtIndexPath(CollectionView&, const IndexPath& indexPath) override
    {
        calls.push_back("shouldSelect " + indexPath.toString());
        return !refused.count(indexPath);
    }
    bool shouldDeselectItemAtIndexPath(CollectionView&, const IndexPath& indexPath) override
    {
        calls.push_back("shouldDeselect " + indexPath.toString());
        return !refused.count(indexPath);
    }
};

// The collection's delegate only allows or refuses, and is not asked about the item a
// single selection gives up.
TEST(CollectionViewTests, UserTapAsksTheDelegate)
{
    const IndexPath tapped(0, 2);
    struct Case {
        const char* name;
        bool multiple;
        std::vector<IndexPath> preselected;
        std::set<IndexPath> refused;
        // What the tap answers, what ends up selected and what the delegate heard.
        bool tappedThrough;
        std::vector<IndexPath> selected;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        { "replaces the previous item unasked", false, { { 0, 1 } }, { { 0, 1 } }, true, { { 0, 2 } },
            { "shouldSelect [0, 2]", "didDeselect [0, 1]", "didSelect [0, 2]" } },
        { "refused", false, { { 0, 1 } }, { { 0, 2 } }, false, { { 0, 1 } }, { "shouldSelect [0, 2]" } },
        { "multiple adds", true, { { 0, 1 }, { 0, 3 } }, {}, true, { { 0, 1 }, { 0, 2 }, { 0, 3 } },
            { "shouldSelect [0, 2]", "didSelect [0, 2]" } },
        { "multiple toggles off", true, { { 0, 1 }, { 0, 2 } }, {}, true, { { 0, 1 } },
            { "shouldDeselect [0, 2]", "didDeselect [0, 2]" } },
        { "multiple toggle off refused", true, { { 0, 2 } }, { { 0, 2 } }, false, { { 0, 2 } },
            { "shouldDeselect [0, 2]" } },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        CollectionFixture fixture;
        auto delegate = std::make_shared<SelectionDelegate>();
        fixture.view->setDelegate(delegate);
        fixture.layout->setItemSize({ 50, 50 });
        fixture.view->setAllowsMultipleSelection(testCase.multiple);
        fixture.view->reloadData();
        for (auto& indexPath : testCase.preselected)
            fixture.view->selectItemAtIndexPath(indexPath);
        delegate->refused = testCase.refused;

        EXPECT_EQ(uitest::tapItem(*fixture.view, tapped), testCase.tappedThrough);
        EXPECT_EQ(delegate->calls, testCase.calls);
        EXPECT_EQ(fixture.view->indexPathsForSelectedItems(), testCase.selected);
        EXPECT_EQ(itemsShownSelected(*fixture.view), testCase.selected);
    }

    // An item that will not highlight never gets as far as the selection.
    CollectionFixture fixture;
    auto delegate = std::make_shared<SelectionDelegate>();
    fixture.view->setDelegate(delegate);
    fixture.view->reloadData();
    delegate->unhighlightable = { tapped };
    EXPECT_FALSE(uitest::tapItem(*fixture.view, tapped));
    EXPECT_TRUE(delegate->calls.empty());
    EXPECT_TRUE(fixture.view->indexPathsForSelectedItems().empty());
}

TEST(CollectionViewTests, TurningSelectionOffClearsItAndRefusesTaps)
{
    CollectionFixture fixture;
    fixture.layout->setItemSize({ 50, 50 });
    fixture.view->setAllowsMultipleSelection(true);
    fixture.view->reloadData();
    fixture.view->selectItemAtIndexPath(IndexPath(0, 0));
    fixture.view->selectItemAtIndexPath(IndexPath(0, 3));

    fixture.view->setAllowsSelection(false);
    EXPECT_TRUE(fixture.view->indexPathsForSelectedItems().empty());
    EXPECT_TRUE(itemsShownSelected(*fixture.view).empty());
    EXPECT_FALSE(uitest::tapItem(*fixture.view, { 0, 1 }));
    fixture.view->selectItemAtIndexPath(IndexPath(0, 1));
    EXPECT_TRUE(fixture.view->indexPathsForSelectedItems().empty());

    // Multiple selection brings selection back with it.
    fixture.view->setAllowsMultipleSelection(true);
    EXPECT_TRUE(fixture.view->allowsSelection());
    EXPECT_TRUE(uitest::tapItem(*fixture.view, { 0, 1 }));
    EXPECT_EQ(fixture.view->indexPathsForSelectedItems(), (std::vector<IndexPath> { { 0, 1 } }));
}

} // namespace
