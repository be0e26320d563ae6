// The language pick-list on its own.

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/readingaids/MVDropdownController.h"
#include "platform/ui/TableViewCell.h"

#include "ReadingAidsTestSupport.h"

namespace lectoro {
namespace {

class LanguagePickListTests : public testing::ReadingAidsTest {
protected:
    std::shared_ptr<MVDropdownController> present(
        int64_t selected, std::shared_ptr<LXMVThemeVO> theme = nullptr)
    {
        m_root = ui::ViewController::create();
        uitest::showInWindow(m_root);
        auto list = MVDropdownController::create({ "English", "French", "German" });
        list->setLxthemeVO(std::move(theme));
        list->setSelectedIndex(selected);
        list->setTitle("Translate into");
        m_root->presentViewController(list, true);
        list->setTapOnItem([this](int64_t row) { m_picked.push_back(row); });
        settle();
        return list;
    }
    std::shared_ptr<ui::ViewController> m_root;
    std::vector<int64_t> m_picked;
};

TEST_F(LanguagePickListTests, MarksOneRowAndReportsThePickAfterClosing)
{
    auto list = present(1);
    auto& table = *list->tableView();
    ASSERT_EQ(table.numberOfRowsInSection(0), 3);
    for (int row = 0; row < 3; ++row) {
        auto cell = list->cellForRowAtIndexPath(table, ui::IndexPath(0, row));
        EXPECT_EQ(
            cell->textLabel()->text(), (std::vector<std::string> { "English", "French", "German" })[row]);
        EXPECT_EQ(cell->accessoryType() == ui::TableViewCellAccessoryType::Checkmark, row == 1) << row;
    }
    // A pick of the marked row still reports, and only once the list is gone.
    EXPECT_TRUE(uitest::tapRow(table, ui::IndexPath(0, 1)));
    EXPECT_TRUE(m_picked.empty());
    settle();
    EXPECT_EQ(m_picked, std::vector<int64_t> { 1 });
    EXPECT_FALSE(m_root->presentedViewController());
    EXPECT_EQ(list->selectedIndex(), 1);
}

TEST_F(LanguagePickListTests, ClosingWithoutAPickReportsNothing)
{
    auto list = present(0);
    ASSERT_TRUE(list->backButton());
    EXPECT_EQ(list->backButton()->titleColorForState(ui::ControlState::Normal), ui::Color::black());
    uitest::tap(*list->backButton());
    settle();
    EXPECT_FALSE(m_root->presentedViewController());
    EXPECT_TRUE(m_picked.empty());
}

TEST_F(LanguagePickListTests, PhoneAndPadLayout)
{
    m_ui.window()->setSafeAreaInsets(ui::EdgeInsets { 47, 0, 34, 0 });
    auto list = present(2);
    auto tableTop = list->tableView()->constraintWithFirstAttribute(ui::LayoutAttribute::Top);
    ASSERT_TRUE(tableTop);
    EXPECT_EQ(tableTop->constant(), 44 + 34);
    EXPECT_EQ(list->navigationBar()->constraintWithFirstAttribute(ui::LayoutAttribute::Top)->constant(), 47);
    EXPECT_EQ(list->navigationBar()->constraintWithFirstAttribute(ui::LayoutAttribute::Height)->constant(),
        47 + 44);
    EXPECT_EQ(list->view()->backgroundColor(), ui::Color::white());
    list->dismissController();
    settle();

    m_ui.environment().setDeviceOrientation(ui::Orientation::LandscapeLeft);
    list = present(0);
    EXPECT_EQ(list->tableView()->constraintWithFirstAttribute(ui::LayoutAttribute::Top)->constant(), 44);
    list->dismissController();
    settle();

    m_ui.environment().setIdiom(ui::UserInterfaceIdiom::Pad);
    list = present(0);
    EXPECT_FALSE(list->backButton());
    EXPECT_EQ(
        list->containerView()->constraintWithFirstAttribute(ui::LayoutAttribute::Width)->constant(), 375);
    // Outside the list, on the dimmed screen around it.
    EXPECT_TRUE(uitest::tap(*list->dismissButton(), ui::Point { 5, 5 }));
    settle();
    EXPECT_FALSE(m_root->presentedViewController());
    EXPECT_TRUE(m_picked.empty());
}

} // namespace
} // namespace lectoro
