// The text-box action bar and its two pop-ups as views: items by device and by stored
// boxes, tablet spacers, the save item and the marked item, the colour swatches and their
// mark, the alignment choices and where each sits.

#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationAlignmentActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationPalleteActionView.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

#include <gtest/gtest.h>

namespace lectoro {
namespace {

const ui::Color textBoxIcon = ui::Color::fromRGB255(10, 20, 30);
const ui::Color textBoxDisabled = ui::Color::fromRGB255(200, 200, 200);
const ui::Color textBoxSelectedIcon = ui::Color::fromRGB255(255, 255, 255);
const ui::Color textBoxSelectedBackground = ui::Color::fromRGB255(0, 90, 200);
const ui::Color textBoxBarBackground = ui::Color::fromRGB255(240, 240, 240);
const ui::Color textBoxRing = ui::Color::fromRGB255(255, 0, 0);

class TextAnnotationViewsTests : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_theme.setTextAnnotation_iconsColor(textBoxIcon);
        m_theme.setTextAnnotation_disabled_iconColor(textBoxDisabled);
        m_theme.setTextAnnotation_selected_icon_color(textBoxSelectedIcon);
        m_theme.setTextAnnotation_selected_icon_bg(textBoxSelectedBackground);
        m_theme.setTextAnnotation_background(textBoxBarBackground);
        m_theme.setTextAnnotation_color_popup_selected_border_color(textBoxRing);
        m_theme.setTextAnnotation_align_popup_selected_border_color(textBoxRing);
        m_theme.setTextAnnotation_color_popup_color4_background(ui::Color::fromRGB255(255, 235, 59));
        m_theme.setTextAnnotation_color_popup_color4_text_color(ui::Color::black());
    }

    void useDevice(bool pad, double width, double height)
    {
        auto& environment = ui::Environment::current();
        environment.setIdiom(pad ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone);
        environment.setScreenSize({ width, height });
        environment.setInterfaceOrientation(
            width > height ? ui::Orientation::LandscapeLeft : ui::Orientation::Portrait);
        m_parent = ui::View::create({ { 0, 0 }, { width, height } });
    }

    std::shared_ptr<TextAnnotationActionView> placeBar(bool storedBoxes)
    {
        auto bar = TextAnnotationActionView::create();
        bar->setIsTextAnnotationAvailable(storedBoxes);
        bar->addPlayerBottomBarForTextAnnotationWithParentView(m_parent, m_theme, nullptr, nullptr);
        return bar;
    }

    static std::vector<int> tappableTags(const PlayerActionBar& bar)
    {
        std::vector<int> tags;
        for (const auto& item : bar.getTappableItems())
            tags.push_back(item->tag());
        return tags;
    }

    ui::EnvironmentScope m_environment;
    LXMVThemeVO m_theme;
    std::shared_ptr<ui::View> m_parent;
};

TEST_F(TextAnnotationViewsTests, APhoneBarSharesTheScreenWidthAmongItsItems)
{
    struct Case {
        bool stored;
        std::vector<int> tags;
        double width;
    };
    const Case cases[] = {
        { false, { 1, 2, 3, 4, 5, 7 }, 62 },
        // The delete item comes before the save item.
        { true, { 1, 2, 3, 4, 6, 5, 7 }, 53 },
    };
    for (const auto& c : cases) {
        useDevice(false, 375, 667);
        auto bar = placeBar(c.stored);
        EXPECT_EQ(tappableTags(*bar), c.tags);
        EXPECT_EQ(bar->numberOfItems(), static_cast<int>(c.tags.size()));
        EXPECT_EQ(bar->items().size(), c.tags.size());
        for (const auto& item : bar->items())
            EXPECT_EQ(item->frame().size.width, c.width);
        EXPECT_EQ(bar->tag(), 5);
        EXPECT_EQ(bar->frame(), (ui::Rect { { 0, 617 }, { 375, 50 } }));
        EXPECT_EQ(bar->textAnnotationBottomMarginConstraint()->constant(), 0);
    }
}

TEST_F(TextAnnotationViewsTests, ATabletBarSetsItsItemsBetweenSpacersThatAreNotControls)
{
    for (bool stored : { false, true }) {
        useDevice(true, 768, 1024);
        auto bar = placeBar(stored);
        const size_t realItems = stored ? 6 : 5;
        const std::vector<int> expected
            = stored ? std::vector<int> { 1, 2, 3, 4, 6, 5 } : std::vector<int> { 1, 2, 3, 4, 5 };
        EXPECT_EQ(tappableTags(*bar), expected);
        ASSERT_EQ(bar->items().size(), 2 * realItems + 1);
        for (size_t index = 0; index < bar->items().size(); ++index) {
            const auto& item = bar->items()[index];
            EXPECT_EQ(item->frame().size.width, 49);
            if (index % 2 == 1)
                continue;
            // Spacers share the close item's tag but nothing announces them as the close button.
            EXPECT_FALSE(item->isTappable());
            EXPECT_EQ(item->tag(), 1);
            EXPECT_EQ(item->accessibilityIdentifier(), "");
        }
        EXPECT_EQ(bar->frame().size.height, 58);
        // The tag of the spacers finds the close item, and the tablet has no keyboard item.
        EXPECT_EQ(
            bar->getTextAnnotationViewItemWithTag(1)->accessibilityIdentifier(), "textAnnotationCloseBtn");
        EXPECT_FALSE(bar->getTextAnnotationViewItemWithTag(7));
    }
}

TEST_F(TextAnnotationViewsTests, TheSaveItemIsEnabledOnlyWithTextAndTheMarkedItemTakesTheSelectedColours)
{
    useDevice(false, 375, 667);
    auto bar = placeBar(false);
    auto save = bar->getTextAnnotationViewItemWithTag(5);
    ASSERT_TRUE(save);
    EXPECT_EQ(save->accessibilityIdentifier(), "textAnnotationSaveBtn");
    EXPECT_EQ(save->accessibilityLabel(), "Save text box");

    bar->updateTextAnnotationSaveItemWithIsTextAvailable(false, m_theme);
    EXPECT_FALSE(save->isEnabled());
    EXPECT_EQ(save->firstLabel()->textColor(), textBoxDisabled.withAlpha(0.5));
    bar->updateTextAnnotationSaveItemWithIsTextAvailable(true, m_theme);
    EXPECT_TRUE(save->isEnabled());
    EXPECT_EQ(save->firstLabel()->textColor(), textBoxIcon);

    auto alignment = bar->getTextAnnotationViewItemWithTag(2)->firstLabel();
    bar->updateSelectedLabelItemWithIsSelected(true, m_theme, 2);
    EXPECT_EQ(alignment->textColor(), textBoxSelectedIcon);
    EXPECT_EQ(alignment->backgroundColor(), textBoxSelectedBackground);
    bar->updateSelectedLabelItemWithIsSelected(false, m_theme, 2);
    EXPECT_EQ(alignment->textColor(), textBoxIcon);
    EXPECT_EQ(alignment->backgroundColor(), textBoxBarBackground);
}

TEST_F(TextAnnotationViewsTests, TheColourPopupMarksTheBoxsColourAndSitsOnTheBar)
{
    useDevice(false, 375, 667);
    auto bar = placeBar(false);
    auto palette = TextAnnotationPalleteActionView::create();
    palette->setSelectedColor(ui::Color::fromRGB255(255, 235, 59));
    palette->addTextAnnotationTextColorViewWithMvThemeVO(m_theme, nullptr, m_parent, bar);

    EXPECT_EQ(palette->tag(), 7);
    EXPECT_EQ(palette->frame(), (ui::Rect { { 10, 567 }, { 355, 50 } }));
    ASSERT_EQ(palette->items().size(), 10u);
    for (const auto& item : palette->items()) {
        const bool marked = item->tag() == 4;
        EXPECT_EQ(item->isSelected(), marked) << item->tag();
        EXPECT_EQ(item->frame().size.width, 35);
        auto tool = TextAnnotationPalleteActionView::swatchToolView(*item);
        ASSERT_TRUE(tool);
        EXPECT_EQ(tool->borderView()->layer()->borderColor(), marked ? textBoxRing : ui::Color::clear());
        EXPECT_EQ(tool->iconLabel()->text(), "A");
        EXPECT_EQ(
            item->accessibilityIdentifier(), "textAnnotationPalleteColor" + std::to_string(item->tag()));
    }
    EXPECT_EQ(palette->items()[3]->accessibilityLabel(), "Text colour 4");
    EXPECT_NEAR(TextAnnotationPalleteActionView::swatchToolView(*palette->items()[0])
                    ->widthConstraintOfIcon()
                    ->constant(),
        20.8, 1e-9);
}

TEST_F(TextAnnotationViewsTests, AThemeWithoutTheColoursGivesClearSwatchesAndMarksNone)
{
    useDevice(true, 768, 1024);
    LXMVThemeVO bare;
    auto palette = TextAnnotationPalleteActionView::create();
    // The default selection is the clear colour, which no missing colour equals.
    palette->addTextAnnotationTextColorViewWithMvThemeVO(bare, nullptr, m_parent, nullptr);
    ASSERT_EQ(palette->items().size(), 10u);
    for (const auto& item : palette->items()) {
        EXPECT_FALSE(item->isSelected());
        EXPECT_EQ(TextAnnotationPalleteActionView::swatchToolView(*item)->iconLabel()->backgroundColor(),
            ui::Color::clear());
    }
    EXPECT_EQ(palette->frame(), (ui::Rect { { 76, 1024 - 58 }, { 768 - 152, 58 } }));
}

TEST_F(TextAnnotationViewsTests, TheAlignmentPopupMarksTheBoxsAlignmentOverTheAlignmentItem)
{
    struct Case {
        int64_t alignment;
        int marked;
    };
    const Case cases[] = { { 0, 1 }, { 1, 2 }, { 2, 3 }, { 3, 0 }, { 4, 0 } };
    for (const auto& c : cases) {
        useDevice(false, 375, 667);
        auto bar = placeBar(false);
        auto popup = TextAnnotationAlignmentActionView::create();
        popup->setNumberOfItems(bar->numberOfItems());
        popup->setSelectedAlignment(c.alignment);
        popup->addTextAnnotationAlignmentViewWithMvThemeVO(m_theme, nullptr, m_parent, bar);
        EXPECT_EQ(popup->tag(), 6);
        EXPECT_EQ(popup->frame(), (ui::Rect { { 2, 617 - 58 }, { 184, 58 } }));
        ASSERT_EQ(popup->items().size(), 3u);
        for (const auto& item : popup->items()) {
            const bool marked = item->tag() == c.marked;
            EXPECT_EQ(item->isSelected(), marked) << "alignment " << c.alignment;
            EXPECT_EQ(item->frame().size.width, 58);
            auto label = std::dynamic_pointer_cast<ui::Label>(item->subviews().front());
            ASSERT_TRUE(label);
            EXPECT_EQ(label->layer()->borderColor(), marked ? textBoxRing : ui::Color::clear());
            EXPECT_EQ(label->frame(), (ui::Rect { { 5, 5 }, { 48, 48 } }));
        }
    }
    EXPECT_EQ(ui::Environment::current().screenSize().width, 375);
}

} // namespace
} // namespace lectoro
