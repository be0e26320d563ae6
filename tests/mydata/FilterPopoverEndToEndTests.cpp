// My Data's filter pop-over over the sample page book, as a learner meets it: taps inside
// the box keep it and its ticks, a tap on the see-through area around it cancels; its rows
// carry their names, colours and spoken labels.

#include "mydata/MyDataTestSupport.h"
#include "reader/CompanionEndToEndSupport.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/mydata/FilterCollectionCell.h"
#include "LectoroSDKWithReader/mydata/FilterViewController.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "platform/base/Bundle.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/Landing.h"
#include "platform/testing/ViewQuery.h"
#include "platform/ui/Button.h"
#include "platform/ui/CollectionView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

#include <filesystem>
#include <fstream>

namespace lectoro {
namespace {

constexpr int64_t filterE2EBookID = 1001;
constexpr int64_t filterE2EUserID = 6100000001;

class FilterPopoverEndToEnd : public testing::CompanionEndToEndTest {
protected:
    void setUpHost() override
    {
        // A host theme of its own, over the library's default: the highlight colours.
        std::filesystem::create_directories(m_storage / "filter-host");
        std::ofstream(m_storage / "filter-host" / "ReaderTheme.json") << R"({"Reader": {}})";
        m_previousMainBundle = base::Bundle::main().rootPath();
        base::Bundle::setMainBundlePath((m_storage / "filter-host").string());
    }
    void TearDown() override
    {
        CompanionEndToEndTest::TearDown();
        base::Bundle::setMainBundlePath(m_previousMainBundle);
    }

    std::shared_ptr<LXMyDataViewController> openMyData()
    {
        m_launcher->launchBook(samplePageBook(std::to_string(filterE2EBookID)),
            makeUser(std::to_string(filterE2EUserID), "learner-token"), serviceConfiguration());
        settle();
        m_reader = m_launcher->reader();
        if (!m_reader)
            return nullptr;
        for (const char* color : { "#FFFF00", "#00FF00" }) {
            auto highlight = mydatatest::record({ .localID = std::string("h") + color, .color = color });
            EXPECT_TRUE(m_reader->context()
                            .dbManager->saveHighlight(highlight, std::to_string(filterE2EBookID), filterE2EUserID)
                            .ok());
        }
        m_reader->myData().showMyData();
        settle();
        return m_reader->myData().myDataViewController();
    }

    std::shared_ptr<FilterViewController> openFilter(LXMyDataViewController& panel)
    {
        auto tapped = uitest::tap(*panel.filterButton());
        EXPECT_TRUE(tapped);
        if (!tapped)
            return nullptr;
        settle();
        auto filter = panel.filterViewController();
        if (!filter || panel.navigationController()->presentedViewController() != filter)
            return nullptr;
        filter->view()->layoutIfNeeded();
        filter->collectionView()->layoutIfNeeded();
        return filter;
    }

    static std::shared_ptr<FilterCollectionCell> row(FilterViewController& filter, int item)
    {
        return std::dynamic_pointer_cast<FilterCollectionCell>(filter.collectionView()->cellForItemAtIndexPath({ 0, item }));
    }

    std::shared_ptr<ReaderViewController> m_reader;
    std::string m_previousMainBundle;
    mydatatest::MyDataNetworkScope m_network;
};

TEST_F(FilterPopoverEndToEnd, TapsInsideTheBoxKeepItsTicksAndATapAroundItCancels)
{
    auto panel = openMyData();
    ASSERT_TRUE(panel);
    auto filter = openFilter(*panel);
    ASSERT_TRUE(filter);
    const auto window = ui::Environment::current().keyWindow();
    ASSERT_TRUE(filter->view()->isDescendantOf(window.get()));

    // The user unticks the first highlight colour by its check box.
    auto first = row(*filter, 1);
    ASSERT_TRUE(first);
    auto box = first->checkBoxLbl();
    ASSERT_EQ(box->accessibilityIdentifier(), "filterCellCheckBox1");
    ASSERT_TRUE(uitest::tap(*box));
    settle();
    ASSERT_FALSE(filter->rules().highlightDataArray()[1]->isSelected);
    EXPECT_FALSE(filter->rules().highlightDataArray()[0]->isSelected) << "All follows";

    // Taps on the heading, on the panel beside the grid and on a row's body beside its
    // check box keep the pop-over and the unticked colour.
    const auto container = filter->viewContainer()->frame();
    struct Spot {
        std::shared_ptr<ui::View> view;
        std::optional<ui::Point> at;
    };
    const Spot inside[] = {
        { filter->filterByLabel(), std::nullopt },
        { filter->viewContainer(), ui::Point { 5, container.height() - 5 } },
        { first, ui::Point { first->bounds().width() - 5, first->bounds().height() / 2 } },
    };
    for (const auto& spot : inside) {
        SCOPED_TRACE(spot.view->className());
        auto landing = uitest::landOn(*spot.view, spot.at);
        ASSERT_TRUE(landing) << landing.obstacle;
        EXPECT_TRUE(landing.view->isDescendantOf(filter->view().get())) << uitest::describeView(*landing.view);
        // The finger lands in the box, where nothing takes a tap.
        (void)uitest::tap(*spot.view, spot.at);
        settle();
        EXPECT_EQ(panel->navigationController()->presentedViewController(), filter);
        EXPECT_FALSE(filter->rules().highlightDataArray()[1]->isSelected);
    }

    // A tap on the see-through area above the box cancels: the ticks come back.
    ASSERT_GT(container.minY(), 10);
    ASSERT_TRUE(uitest::tap(*filter->transaparentBackgroundView(), ui::Point { container.midX(), container.minY() / 2 }));
    settle();
    EXPECT_FALSE(panel->navigationController()->presentedViewController());
    EXPECT_TRUE(filter->rules().highlightDataArray()[1]->isSelected);
    EXPECT_TRUE(filter->rules().highlightDataArray()[0]->isSelected);
    EXPECT_FALSE(panel->filterState().highlightWithFilter) << "nothing was applied";
}

TEST_F(FilterPopoverEndToEnd, RowsCarryTheirNamesColoursAndSpokenLabels)
{
    auto panel = openMyData();
    ASSERT_TRUE(panel);
    auto filter = openFilter(*panel);
    ASSERT_TRUE(filter);
    auto theme = m_reader->context().theme;
    ASSERT_TRUE(theme);
    const auto& rows = filter->rules().highlightDataArray();
    ASSERT_GE(rows.size(), 3u);

    // Text rows and the share row keep their colour as "#" and six upper-case digits.
    auto hex = [](const std::optional<ui::Color>& colour) {
        return "#" + UIColorExpanded::hexStringFromColor(colour.value_or(ui::Color::black()));
    };
    EXPECT_EQ(rows.front()->titleColor, hex(theme->filterPopUp_text_color()));
    if (rows.back()->titleTextStr == ICON_SHARE) {
        EXPECT_EQ(rows.back()->titleColor, hex(theme->filterPopUp_check_color()));
    }

    // Each row is named by its index; its title button speaks what it filters.
    const std::string itemCount = std::to_string(rows.size());
    for (int item = 0; item < static_cast<int>(rows.size()); ++item) {
        SCOPED_TRACE(item);
        auto cell = row(*filter, item);
        ASSERT_TRUE(cell);
        const std::string index = std::to_string(item);
        EXPECT_EQ(cell->accessibilityIdentifier(), "filterCell" + index);
        EXPECT_EQ(cell->titleButton()->accessibilityIdentifier(), "filterCellTitleButton" + index);
        EXPECT_EQ(cell->checkBoxLbl()->accessibilityIdentifier(), "filterCellCheckBox" + index);
        EXPECT_EQ(cell->dropDownButton()->accessibilityIdentifier(), "filterCellDropDown" + index);
        const std::string label = cell->titleButton()->accessibilityLabel();
        if (item == 0)
            EXPECT_EQ(label, rows[0]->titleTextStr);
        else if (rows[static_cast<size_t>(item)]->titleTextStr == ICON_SHARE)
            EXPECT_EQ(label, "Shared with me");
        else
            EXPECT_EQ(label, "Highlight colour " + index);
    }
}

} // namespace
} // namespace lectoro
