// The class picker: rows per class title, the choice, closing, and the card's size.

#include "TeacherReviewTestSupport.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewClassListViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

namespace lectoro {
namespace {

using reviewtest::learner;
using reviewtest::PanelTest;

// No class id: the picker has only the titles to tell classes apart by.
std::shared_ptr<SDKBookClassInfoVO> titleOnlyClass(const std::string& title, base::Value::List learners)
{
    auto info = std::make_shared<SDKBookClassInfoVO>();
    info->classTitle = title;
    info->learners = std::move(learners);
    return info;
}

class ClassPickerTest : public PanelTest {
protected:
    std::shared_ptr<TeacherReviewClassListViewController> showPicker(
        const std::vector<std::shared_ptr<SDKBookClassInfoVO>>& classes)
    {
        auto picker = TeacherReviewClassListViewController::create();
        picker->setClassesWithClassesInfoArray(classes);
        picker->RemoveAnnotataionController = [this] { ++closed; };
        picker->DidSelectClassName = [this](const std::string& title, const base::Value& learners) {
            chosen.push_back(title + ":" + std::to_string(learners.count()));
        };
        uitest::showInWindow(picker);
        return picker;
    }

    std::vector<std::string> rowTitles(TeacherReviewClassListViewController& picker)
    {
        std::vector<std::string> titles;
        for (const auto& cell : picker.classListTableView()->visibleCells()) {
            auto row = std::dynamic_pointer_cast<TeacherReviewClassListTableViewCell>(cell);
            titles.push_back(row && row->classNameLabel() ? row->classNameLabel()->text() : "?");
        }
        return titles;
    }

    int closed = 0;
    std::vector<std::string> chosen;
};

TEST_F(ClassPickerTest, OneRowPerDistinctTitleInRecordOrder)
{
    auto picker = showPicker({
        titleOnlyClass("B", { learner(int64_t { 1 }, "a", "b") }),
        titleOnlyClass("A", {}),
        titleOnlyClass("A", { learner(int64_t { 2 }, "c", "d"), learner(int64_t { 3 }, "e", "f") }),
        nullptr,
    });
    EXPECT_EQ(rowTitles(*picker), (std::vector<std::string> { "B", "A" }));
    // The later class of a title gives the row its learners.
    ASSERT_TRUE(uitest::tapRow(*picker->classListTableView(), { 0, 1 }));
    ASSERT_TRUE(uitest::tapRow(*picker->classListTableView(), { 0, 0 }));
    EXPECT_EQ(chosen, (std::vector<std::string> { "A:2", "B:1" }));
    EXPECT_EQ(closed, 0) << "choosing leaves closing to the owner";

    auto repeated = showPicker({ titleOnlyClass("A", {}), titleOnlyClass("A", {}), titleOnlyClass("B", {}) });
    EXPECT_EQ(rowTitles(*repeated), (std::vector<std::string> { "A", "B" }));
    auto empty = showPicker({});
    EXPECT_TRUE(rowTitles(*empty).empty());
}

TEST_F(ClassPickerTest, RowsAreRoundedCardsSixtyHigh)
{
    auto picker = showPicker({ titleOnlyClass("Biology", {}) });
    const auto& table = *picker->classListTableView();
    EXPECT_DOUBLE_EQ(table.rectForRowAtIndexPath({ 0, 0 }).height(), 60);
    EXPECT_EQ(table.separatorStyle(), ui::TableViewCellSeparatorStyle::None);
    auto row = std::dynamic_pointer_cast<TeacherReviewClassListTableViewCell>(table.cellForRowAtIndexPath({ 0, 0 }));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->mainContentView()->layer()->cornerRadius(), 5);
    EXPECT_EQ(row->mainContentView()->layer()->borderWidth(), 0.5);
    EXPECT_TRUE(row->studentSubmitProgressView());
}

TEST_F(ClassPickerTest, OnlyTheDimmedAreaAndTheCloseButtonClose)
{
    auto picker = showPicker({ titleOnlyClass("Biology", {}) });
    // The card sits over the middle of the dimmed view: a tap there reaches the card.
    ASSERT_FALSE(uitest::tap(*picker->mainView()));
    ASSERT_FALSE(uitest::tap(*picker->view()));
    EXPECT_EQ(closed, 0);
    ASSERT_EQ(picker->view()->gestureRecognizers().size(), 1u);
    auto& dimmedTap = *picker->view()->gestureRecognizers().front();
    ASSERT_TRUE(dimmedTap.simulate(ui::GestureState::Ended, { 5, 5 }));
    EXPECT_EQ(closed, 1);
    ASSERT_TRUE(uitest::tap(*picker->closeButton()));
    EXPECT_EQ(closed, 2);
    EXPECT_EQ(picker->closeButton()->accessibilityIdentifier(), "CloseButton");
    EXPECT_EQ(picker->closeButton()->titleForState(ui::ControlState::Normal), std::optional<std::string>("2"));
}

TEST_F(ClassPickerTest, CardSizeFollowsTheDevice)
{
    useDevice(chrometest::Device::Pad);
    auto pad = showPicker({});
    const auto& card = *pad->mainView();
    EXPECT_EQ(card.constraintWithFirstAttribute(ui::LayoutAttribute::Width)->constant(), 350);
    EXPECT_EQ(card.constraintWithFirstAttribute(ui::LayoutAttribute::Height)->constant(), 400);
    const auto bounds = pad->view()->bounds();
    EXPECT_EQ(card.frame(), ui::Rect((bounds.width() - 350) / 2, (bounds.height() - 400) / 2, 350, 400));
    EXPECT_EQ(card.layer()->cornerRadius(), 8);

    useDevice(chrometest::Device::Phone);
    auto phone = showPicker({});
    const auto& phoneCard = *phone->mainView();
    EXPECT_EQ(phoneCard.constraintWithFirstAttribute(ui::LayoutAttribute::Height)->constant(), 350);
    EXPECT_EQ(phoneCard.constraintWithFirstAttribute(ui::LayoutAttribute::Leading)->constant(), 10);
    EXPECT_EQ(phoneCard.constraintWithFirstAttribute(ui::LayoutAttribute::Trailing)->constant(), -10);
    EXPECT_EQ(phoneCard.constraintWithFirstAttribute(ui::LayoutAttribute::Bottom)->constant(), -10);
    const auto phoneBounds = phone->view()->bounds();
    EXPECT_EQ(phoneCard.frame(), ui::Rect(10, phoneBounds.height() - 10 - 350, phoneBounds.width() - 20, 350));
    EXPECT_EQ(phoneCard.layer()->cornerRadius(), 5);
}

} // namespace
} // namespace lectoro
