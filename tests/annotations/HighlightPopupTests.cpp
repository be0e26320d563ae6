// The highlight pop-up as the reader builds it: items, tags, accessibility, marks, the
// dimmed delete tool and what each tap reports.

#include "AnnotationsTestSupport.h"

#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/annotations/HighlightView.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/StackView.h"

namespace lectoro::annotationstest {
namespace {

class HighlightPopupTests : public AnnotationsTest {
protected:
    std::shared_ptr<HighlightView> popup()
    {
        road().initializeHighlight();
        return road().highlightView();
    }
    static std::vector<std::shared_ptr<HighLightToolView>> items(const HighlightView& view)
    {
        std::vector<std::shared_ptr<HighLightToolView>> found;
        for (const auto& item : view.horizontalStackForHighLightTools()->arrangedSubviews())
            found.push_back(std::dynamic_pointer_cast<HighLightToolView>(item));
        return found;
    }
    static std::shared_ptr<ui::Button> button(const HighLightToolView& item)
    {
        return std::dynamic_pointer_cast<ui::Button>(item.subviews().at(1));
    }
    static std::shared_ptr<HighLightToolView> tool(const HighlightView& view, HighlightItemType type)
    {
        for (const auto& item : items(view)) {
            if (item->tag() == static_cast<int>(type))
                return item;
        }
        return nullptr;
    }
    static size_t markedSwatches(const HighlightView& view)
    {
        size_t marked = 0;
        for (const auto& item : items(view))
            marked += !(item->borderView()->layer()->borderColor() == ui::Color::clear());
        return marked;
    }
};

TEST_F(HighlightPopupTests, ItemsAreTaggedByPositionAndToolsAnnouncedByKind)
{
    allTools();
    auto view = popup();
    auto all = items(*view);
    ASSERT_EQ(all.size(), 10u);
    for (size_t index = 0; index < all.size(); ++index)
        EXPECT_EQ(button(*all[index])->tag(), 100 + static_cast<int>(index));

    view->resetHighlightView();
    for (size_t index = 0; index < 5; ++index) {
        auto colourButton = button(*all[index]);
        EXPECT_EQ(colourButton->accessibilityIdentifier(), "ReaderHighlightPopUpColor");
        EXPECT_TRUE(colourButton->accessibilityLabel().ends_with(" " + std::to_string(index + 1)))
            << colourButton->accessibilityLabel();
    }
    EXPECT_EQ(button(*tool(*view, HighlightItemType::Note))->accessibilityIdentifier(), "ReaderHighlightPopUpTextButton");
    EXPECT_EQ(button(*tool(*view, HighlightItemType::Search))->accessibilityIdentifier(), "ReaderHighlightPopUpSearchButton");
    EXPECT_EQ(button(*tool(*view, HighlightItemType::Delete))->accessibilityIdentifier(), "ReaderHighlightPopUpDeleteButton");
    EXPECT_EQ(button(*tool(*view, HighlightItemType::Translation))->accessibilityIdentifier(), "highlight_Translation");
    EXPECT_EQ(button(*tool(*view, HighlightItemType::ImmersiveReader))->accessibilityIdentifier(),
        "highlight_Immersive_Reader");
}

TEST_F(HighlightPopupTests, AHiddenToolDoesNotShiftAnotherToolsIdentifier)
{
    // Search off: translation sits where search would, and delete where translation would.
    m_settings->setIsContextualNoteEnabled(true);
    m_context.isGoogleTranslateEnabled = true;
    auto view = popup();
    EXPECT_EQ(button(*tool(*view, HighlightItemType::Translation))->accessibilityIdentifier(), "highlight_Translation");
    EXPECT_EQ(button(*tool(*view, HighlightItemType::Delete))->accessibilityIdentifier(), "ReaderHighlightPopUpDeleteButton");
}

TEST_F(HighlightPopupTests, AStoredColourNoLongerOfferedMarksNothingAndToolsReportIt)
{
    m_settings->setIsSearchEnabled(true);
    auto view = popup();
    auto record = std::make_shared<SDKHighlightVO>();
    record->backgroundColor = "#0000AA";
    view->setHighlightVO(record);
    view->resetHighlightView();

    EXPECT_EQ(markedSwatches(*view), 0u);
    auto deleteTool = tool(*view, HighlightItemType::Delete);
    EXPECT_EQ(deleteTool->iconLabel()->alpha(), 1.0);
    EXPECT_TRUE(deleteTool->isUserInteractionEnabled());
    std::string reported;
    view->setHighLightToolActions([&](const std::shared_ptr<HighLightToolView>&, const std::string& colour) { reported = colour; });
    ASSERT_TRUE(button(*tool(*view, HighlightItemType::Search))->simulateTap());
    EXPECT_EQ(reported, "#0000AA");
}

TEST_F(HighlightPopupTests, FreshTextDimsDeleteAndToolsReportTheFirstColour)
{
    m_settings->setIsSearchEnabled(true);
    auto view = popup();
    view->resetHighlightView();
    auto deleteTool = tool(*view, HighlightItemType::Delete);
    EXPECT_EQ(deleteTool->iconLabel()->alpha(), 0.6);
    EXPECT_FALSE(button(*deleteTool)->simulateTap());

    std::string reported;
    view->setHighLightToolActions([&](const std::shared_ptr<HighLightToolView>&, const std::string& colour) { reported = colour; });
    ASSERT_TRUE(button(*tool(*view, HighlightItemType::Search))->simulateTap());
    EXPECT_EQ(reported, "#A1");
}

TEST_F(HighlightPopupTests, ASwatchTappedTwiceLeavesOneMarkHighlightsAndSendsTheLiveEvent)
{
    auto view = popup();
    view->resetHighlightView();
    auto all = items(*view);
    ASSERT_TRUE(button(*all[1])->simulateTap());
    ASSERT_TRUE(button(*all[2])->simulateTap());

    EXPECT_EQ(markedSwatches(*view), 1u);
    EXPECT_EQ(all[2]->borderView()->layer()->borderColor(), ui::Color::red());
    EXPECT_TRUE(button(*all[2])->accessibilityLabel().find("Selected") != std::string::npos);
    EXPECT_EQ(view->selectedColorStr(), "#C3");
    auto asked = m_renderer->callsNamed("highlight");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].arguments.at(1).asString(), "#C3");
    EXPECT_EQ(asked[1].arguments.at(2).asString(), "#C3");
    EXPECT_EQ(asked[1].arguments.at(3).asBool(), false);
    // Delete is enabled once a colour was chosen.
    EXPECT_TRUE(tool(*view, HighlightItemType::Delete)->isUserInteractionEnabled());

    ASSERT_EQ(m_analytics->live.size(), 2u);
    EXPECT_EQ(m_analytics->live[1].name, "highlight_data_live");
    EXPECT_EQ(m_analytics->live[1].info["note_color"].asString(), "#C3");
}

TEST_F(HighlightPopupTests, AThemeWithoutColoursGivesToolsOnly)
{
    setColours({});
    m_settings->setIsSearchEnabled(true);
    auto view = popup();
    view->resetHighlightView();
    ASSERT_EQ(items(*view).size(), 2u);
    EXPECT_TRUE(view->highlighColorsArray().empty());
    std::optional<std::string> reported;
    view->setHighLightToolActions([&](const std::shared_ptr<HighLightToolView>&, const std::string& colour) { reported = colour; });
    ASSERT_TRUE(button(*tool(*view, HighlightItemType::Search))->simulateTap());
    EXPECT_EQ(reported, "");
}

TEST_F(HighlightPopupTests, TheSameColourTwiceMarksOnlyItsFirstSwatch)
{
    setColours({ "#A1", "#A1", "#B2" });
    auto view = popup();
    auto record = std::make_shared<SDKHighlightVO>();
    record->backgroundColor = "#A1";
    view->setHighlightVO(record);
    view->resetHighlightView();
    auto all = items(*view);
    EXPECT_FALSE(all[0]->borderView()->layer()->borderColor() == ui::Color::clear());
    EXPECT_EQ(markedSwatches(*view), 1u);
}

TEST(HighLightToolViewTests, SizesAsASwatchOfTheLastHeight)
{
    auto item = HighLightToolView::create();
    EXPECT_EQ(item->frame(), ui::Rect());
    EXPECT_EQ(item->contentView()->frame(), ui::Rect());
    item->resetViewForColorPalletWithColorHeight(22);
    item->resetViewForColorPalletWithColorHeight(25);
    EXPECT_EQ(item->widthConstraintOfIcon()->constant(), 25);
    EXPECT_EQ(item->heightConstraintOfIcon()->constant(), 25);
    EXPECT_EQ(item->iconLabel()->layer()->cornerRadius(), 12.5);
    EXPECT_EQ(item->widthConstraintOfBorderView()->constant(), 39);
    EXPECT_EQ(item->heightConstraintOfBorderView()->constant(), 39);
    EXPECT_EQ(item->borderView()->layer()->cornerRadius(), 19.5);
}

} // namespace
} // namespace lectoro::annotationstest
