#include "ChromeTestSupport.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "platform/base/Strings.h"
#include "platform/testing/ExpectMatchesFile.h"
#include "platform/testing/ViewTreeDump.h"

namespace lectoro::chrometest {
namespace {

class PenToolBarTest : public ChromeTest {
protected:
    std::shared_ptr<PlayerActionTopBar> makePenBar(const std::vector<std::string>& colors)
    {
        auto bar = PlayerActionTopBar::create();
        bar->setTag(PenToolBar);
        bar->updatedPlayerForPenTool(m_theme, colors);
        return bar;
    }

    static std::shared_ptr<HighLightToolView> swatchOf(const PlayerActionBarItem& item)
    {
        for (const auto& subview : item.subviews()) {
            if (auto swatch = std::dynamic_pointer_cast<HighLightToolView>(subview))
                return swatch;
        }
        return nullptr;
    }

    static ui::Color ringOf(const PlayerActionBarItem& item)
    {
        return swatchOf(item)->borderView()->layer()->borderColor();
    }

    // The colour texts of the ringed swatches, in bar order.
    static std::vector<std::string> ringed(const PlayerActionBar& bar)
    {
        std::vector<std::string> colors;
        for (const auto& item : bar.items()) {
            if (item->tag() == PlayerItemPenColorSwatch
                && ringOf(*item) == ThemeColors::penSelectedBackground())
                colors.push_back(*item->metaData()["penColor"].asString());
        }
        return colors;
    }

    const std::vector<std::string> fourColors { "#000000", "#FF0000", "#00FF00", "#0000FF" };
};

TEST_F(PenToolBarTest, PhoneHasSixItemsOfASixthAndNoSwatches)
{
    auto bar = makePenBar(fourColors);
    EXPECT_EQ(tagsOf(*bar), (std::vector<int> { 11, 0, 1, 2, 5, 3 }));
    for (double width : widthsOf(*bar))
        EXPECT_DOUBLE_EQ(width, 375.0 / 6);
    for (const auto& item : bar->items()) {
        EXPECT_EQ(item->itemAlignment(), PlayerActionBarItemAlignmentCentre);
        EXPECT_TRUE(item->isTappable());
        // The reader dims undo when it shows the bar; the bar itself builds every tool usable.
        EXPECT_EQ(item->alpha(), 1.0);
    }
    EXPECT_EQ(bar->backgroundColor(), ThemeColors::penBackground());
    std::vector<std::string> glyphs;
    for (const auto& item : bar->items())
        glyphs.push_back(glyphOf(*item));
    EXPECT_EQ(glyphs,
        (std::vector<std::string> {
            ICON_CLOSE, ICON_COLORPALLET, ICON_PENTThIKNESS, ICON_ERASER, ICON_UNDO, ICON_CLEAR }));
    EXPECT_EQ(glyphLabel(*bar->items()[0])->font().pointSize(), 20.8);
}

TEST_F(PenToolBarTest, TabletPutsSwatchesBetweenDrawAndThickness)
{
    useDevice(Device::Pad);
    defaults().setString("PenColor", "#00FF00");
    auto bar = makePenBar(fourColors);
    EXPECT_EQ(tagsOf(*bar), (std::vector<int> { 11, 0, 18, 18, 18, 18, 1, 2, 5, 3 }));
    EXPECT_EQ(widthsOf(*bar), std::vector<double>(10, 66.0));
    std::vector<std::string> colors;
    for (const auto& item : bar->items()) {
        if (item->tag() == PlayerItemPenColorSwatch)
            colors.push_back(*item->metaData()["penColor"].asString());
    }
    EXPECT_EQ(colors, fourColors);
    EXPECT_EQ(ringed(*bar), (std::vector<std::string> { "#00FF00" }));
    EXPECT_EQ(glyphLabel(*bar->items()[0])->font().pointSize(), 22.0);
}

TEST_F(PenToolBarTest, GlyphsAreSmallerOnA320PointPhone)
{
    useDevice(Device::Phone320);
    auto bar = makePenBar({});
    EXPECT_EQ(glyphLabel(*bar->items()[0])->font().pointSize(), 16.0);
    EXPECT_DOUBLE_EQ(bar->items()[0]->itemWidth(), 320.0 / 6);
}

TEST_F(PenToolBarTest, FirstUseWritesTheDefaultsAndDrawsABlackBarFourHigh)
{
    auto bar = makePenBar({});
    ASSERT_TRUE(bar->selectedColorView());
    EXPECT_EQ(bar->selectedColorView()->backgroundColor(), ui::Color::black());
    EXPECT_EQ(bar->viewThicknessConstraint()->constant(), 4.0);
    EXPECT_EQ(defaults().stringForKey("PenColor"), "#000000");
    EXPECT_EQ(defaults().stringForKey("PenThickness"), "4.000000");
    EXPECT_EQ(PlayerActionTopBar::getLastUpdatedPenThickness(), 4.0);
}

TEST_F(PenToolBarTest, RememberedSettingsAreReadBack)
{
    struct Case {
        const char* stored;
        double thickness;
    };
    const Case cases[]
        = { { "7.500000", 7.5 }, { "12", 12 }, { "3abc", 3 }, { "abc", 0 }, { "inf", 4 }, { "nan", 4 } };
    for (const auto& c : cases) {
        defaults().setString("PenThickness", c.stored);
        EXPECT_EQ(PlayerActionTopBar::getLastUpdatedPenThickness(), c.thickness) << c.stored;
        EXPECT_EQ(defaults().stringForKey("PenThickness"), c.stored) << "a stored value is never rewritten";
    }
    defaults().setString("PenColor", "#12ab34");
    EXPECT_EQ(PlayerActionTopBar::getLastUpdatedPenColor(), "#12ab34");
}

TEST_F(PenToolBarTest, DrawItemKeepsItsColourBarUnderTheGlyph)
{
    defaults().setString("PenColor", "#FF0000");
    defaults().setString("PenThickness", "6.000000");
    auto bar = makePenBar({});
    auto draw = bar->itemWithTag(PlayerItemPenColor);
    auto label = glyphLabel(*draw);
    EXPECT_EQ(label->textColor(), ThemeColors::penIcons());
    const auto& colorBar = bar->selectedColorView();
    EXPECT_EQ(colorBar->superview(), draw);
    EXPECT_EQ(colorBar->backgroundColor(), hex("#FF0000"));
    EXPECT_EQ(bar->viewThicknessConstraint()->constant(), 6.0);
    EXPECT_EQ(constantOf(*colorBar, ui::LayoutAttribute::Bottom), -4.0);
    auto leading = colorBar->constraintWithFirstAttribute(ui::LayoutAttribute::Leading);
    ASSERT_TRUE(leading);
    EXPECT_EQ(leading->secondItem().get(), static_cast<ui::LayoutItem*>(label.get()));
    EXPECT_EQ(draw->accessibilityTraits() & ui::AccessibilityTraits::Button, ui::AccessibilityTraits::Button);

    useDevice(Device::Pad);
    auto padBar = makePenBar({});
    EXPECT_EQ(constantOf(*padBar->selectedColorView(), ui::LayoutAttribute::Bottom), -6.0);
}

TEST_F(PenToolBarTest, ColourBarUpdates)
{
    auto bar = makePenBar({});
    bar->updateColorSelectedView(std::nullopt, 9);
    EXPECT_EQ(bar->viewThicknessConstraint()->constant(), 9.0);
    EXPECT_EQ(bar->selectedColorView()->backgroundColor(), ui::Color::black());
    bar->updateColorSelectedView(hex("#0000FF"), 2);
    EXPECT_EQ(bar->viewThicknessConstraint()->constant(), 2.0);
    EXPECT_EQ(bar->selectedColorView()->backgroundColor(), hex("#0000FF"));

    auto plain = PlayerActionTopBar::create();
    plain->updateColorSelectedView(hex("#0000FF"), 2);
    EXPECT_FALSE(plain->selectedColorView());
    EXPECT_FALSE(plain->viewThicknessConstraint());
}

TEST_F(PenToolBarTest, SwatchMakeUp)
{
    struct Case {
        Device device;
        double dot;
        double itemHeight;
    };
    for (const auto& c : { Case { Device::Phone, 18, 18 }, Case { Device::Pad, 26, 64 } }) {
        useDevice(c.device);
        auto bar = PlayerActionTopBar::create();
        auto item = bar->getPenToolColorPalleteItemForColor("#FF0000", m_theme, "#000000");
        EXPECT_EQ(item->tag(), 18);
        EXPECT_EQ(item->metaData()["penColor"].asString(), "#FF0000");
        EXPECT_EQ(constantOf(*item, ui::LayoutAttribute::Height), c.itemHeight);
        auto swatch = swatchOf(*item);
        ASSERT_TRUE(swatch);
        EXPECT_EQ(swatch->widthConstraintOfIcon()->constant(), c.dot);
        EXPECT_EQ(swatch->widthConstraintOfBorderView()->constant(), c.dot + 14);
        EXPECT_EQ(swatch->iconLabel()->layer()->cornerRadius(), c.dot / 2);
        EXPECT_EQ(swatch->iconLabel()->backgroundColor(), hex("#FF0000"));
        EXPECT_EQ(swatch->iconLabel()->accessibilityIdentifier(), "penTool_#FF0000");
        EXPECT_EQ(swatch->borderView()->layer()->borderWidth(), 1.2);
        EXPECT_EQ(ringOf(*item), ui::Color::clear());
        EXPECT_FALSE(item->isSelected());
    }
}

TEST_F(PenToolBarTest, SwatchWithTextThatIsNoColourHasNoFill)
{
    auto item = PlayerActionTopBar::create()->getPenToolColorPalleteItemForColor("purple-ish", m_theme, "");
    EXPECT_FALSE(swatchOf(*item)->iconLabel()->backgroundColor());
    EXPECT_EQ(swatchOf(*item)->iconLabel()->accessibilityIdentifier(), "penTool_purple-ish");
}

TEST_F(PenToolBarTest, SelectedSwatchComparesTheTextExactly)
{
    struct Case {
        const char* color;
        const char* selected;
        bool marked;
    };
    const Case cases[] = {
        { "#FF0000", "#FF0000", true },
        { "#FF0000", "#ff0000", false },
        { "#FF0000", "FF0000", false },
        { "#FF0000", "", false },
    };
    auto bar = PlayerActionTopBar::create();
    for (const auto& c : cases) {
        auto item = bar->getPenToolColorPalleteItemForColor(c.color, m_theme, c.selected);
        EXPECT_EQ(item->isSelected(), c.marked) << c.selected;
        EXPECT_EQ(ringOf(*item), c.marked ? ThemeColors::penSelectedBackground() : ui::Color::clear())
            << c.selected;
    }
}

TEST_F(PenToolBarTest, PickingColoursMovesAndTogglesTheRing)
{
    useDevice(Device::Pad);
    defaults().setString("PenColor", "#000000");
    auto bar = makePenBar(fourColors);
    ASSERT_EQ(ringed(*bar), (std::vector<std::string> { "#000000" }));

    bar->updateSelectedPenColor("#FF0000", m_theme);
    EXPECT_EQ(ringed(*bar), (std::vector<std::string> { "#FF0000" }));
    // The marked colour picked again loses its mark.
    bar->updateSelectedPenColor("#FF0000", m_theme);
    EXPECT_EQ(ringed(*bar), std::vector<std::string> {});
    bar->updateSelectedPenColor("#FF0000", m_theme);
    EXPECT_EQ(ringed(*bar), (std::vector<std::string> { "#FF0000" }));
    // A colour no swatch shows marks nothing and leaves the remembered colour alone.
    bar->updateSelectedPenColor("#ff0000", m_theme);
    EXPECT_EQ(ringed(*bar), std::vector<std::string> {});
    EXPECT_EQ(defaults().stringForKey("PenColor"), "#000000");
}

TEST_F(PenToolBarTest, AudioSyncRingTouchesOnlyItsOwnSwatches)
{
    auto bar = PlayerActionTopBar::create();
    auto pen = bar->getPenToolColorPalleteItemForColor("#FF0000", m_theme, "");
    auto audio = bar->getPenToolColorPalleteItemForColor("#FF0000", m_theme, "");
    audio->setTag(PlayerItemAudioSyncColorSwatch);
    bar->addActionBarItem(pen, 50, 2, true);
    bar->addActionBarItem(audio, 50, 2, true);

    bar->updateSelectedAudioSyncColor("#FF0000", m_theme);
    EXPECT_EQ(ringOf(*audio), ThemeColors::penSelectedBackground());
    EXPECT_EQ(ringOf(*pen), ui::Color::clear());
    EXPECT_EQ(audio->accessibilityIdentifier(), "") << "the read-aloud variant speaks nothing new";

    bar->updateSelectedPenColor("#FF0000", m_theme);
    EXPECT_EQ(ringOf(*pen), ThemeColors::penSelectedBackground());
    EXPECT_EQ(ringOf(*audio), ThemeColors::penSelectedBackground());
}

struct HighlightCase {
    int tag;
    bool highlighted;
};

TEST_F(PenToolBarTest, OnlyDrawThicknessEraserAndDeleteAreHighlighted)
{
    const HighlightCase cases[]
        = { { 0, true }, { 1, true }, { 2, true }, { 3, true }, { 5, false }, { 11, false } };
    for (const auto& c : cases) {
        auto bar = makePenBar({});
        ASSERT_TRUE(bar->tapItemWithTag(c.tag));
        bar->updatePlayerSelectedItem(m_theme);
        for (const auto& item : bar->items()) {
            const bool lit = item->tag() == c.tag && c.highlighted;
            EXPECT_EQ(
                item->backgroundColor(), lit ? ThemeColors::penSelectedBackground() : ui::Color::clear())
                << c.tag << " item " << item->tag();
            EXPECT_EQ(glyphLabel(*item)->textColor(),
                lit ? ThemeColors::penSelectedIcon() : ThemeColors::penIcons())
                << c.tag << " item " << item->tag();
        }
    }
}

TEST_F(PenToolBarTest, RepaintClearsAnEarlierHighlight)
{
    auto bar = makePenBar({});
    bar->tapItemWithTag(PlayerItemPenEraser);
    bar->updatePlayerSelectedItem(m_theme);
    bar->tapItemWithTag(PlayerItemPenUndo);
    bar->updatePlayerSelectedItem(m_theme);
    for (const auto& item : bar->items())
        EXPECT_EQ(item->backgroundColor(), ui::Color::clear()) << item->tag();

    bar->resetPlayerActionBarSelection();
    bar->updatePlayerSelectedItem(m_theme);
    for (const auto& item : bar->items())
        EXPECT_EQ(glyphLabel(*item)->textColor(), ThemeColors::penIcons());
}

TEST_F(PenToolBarTest, ItemsOfRicherMakeStayUnhighlighted)
{
    // A selected tool item holding no plain glyph label (here a swatch) keeps its look.
    auto bar = PlayerActionTopBar::create();
    auto item = bar->getPenToolColorPalleteItemForColor("#FF0000", m_theme, "");
    item->setTag(PlayerItemPenColor);
    bar->addActionBarItem(item, 50, 2, true);
    bar->tapItem(*item);
    bar->updatePlayerSelectedItem(m_theme);
    EXPECT_EQ(item->backgroundColor(), ui::Color::clear());
}

struct PenAccessibilityCase {
    int tag;
    const char* labelIdentifier;
    const char* elementID;
    bool speaksSelection;
};

TEST_F(PenToolBarTest, ToolsSpeakTheirNameAndSelection)
{
    const PenAccessibilityCase cases[] = {
        { 0, "penToolColorPallet", "PenToolSelectColorButton", true },
        { 1, "penToolThickness", "PenToolSelectThicknessButton", true },
        { 2, "penToolEraser", "PenToolEraserButton", true },
        { 3, "penToolDelete", "PenToolDeleteButton", false },
        { 5, "penToolUndo", "PenToolUndoButton", true },
        { 11, "penToolClose", "PenToolCloseButton", false },
    };
    const std::string selectedWord = localized("ACCESSIBILITY_SELECTED");
    for (const auto& c : cases) {
        auto bar = makePenBar({});
        auto item = bar->itemWithTag(c.tag);
        EXPECT_EQ(glyphLabel(*item)->accessibilityIdentifier(), c.labelIdentifier);
        EXPECT_EQ(item->accessibilityIdentifier(), c.elementID);
        EXPECT_EQ(item->accessibilityLabel(), spoken(c.elementID)) << c.tag;

        bar->tapItem(*item);
        bar->updatePlayerSelectedItem(m_theme);
        EXPECT_EQ(item->accessibilityLabel(), spoken(c.elementID, c.speaksSelection ? selectedWord : ""))
            << c.tag;
    }
}

TEST_F(PenToolBarTest, OtherTagsGetNoPenToolLabels)
{
    auto bar = PlayerActionTopBar::create();
    auto item = PlayerActionBarItem::createWithLabel(PlayerItemBackToBookshelf, "a");
    bar->setAccessibilityForPenToolItem(*item);
    EXPECT_EQ(item->accessibilityIdentifier(), "");
    EXPECT_EQ(glyphLabel(*item)->accessibilityIdentifier(), "");
}

TEST_F(PenToolBarTest, SwatchesAreNumberedAndTheRememberedOneIsSpokenSelected)
{
    useDevice(Device::Pad);
    defaults().setString("PenColor", "#FF0000");
    auto bar = makePenBar(fourColors);
    const std::string selectedWord = localized("ACCESSIBILITY_SELECTED");
    const std::string colorWord = localized("ACCESSIBILITY_COLOR");
    int number = 1;
    for (const auto& item : bar->items()) {
        if (item->tag() != PlayerItemPenColorSwatch)
            continue;
        const bool remembered = item->metaData()["penColor"].asString() == "#FF0000";
        EXPECT_EQ(item->accessibilityLabel(),
            spoken("PenToolColorButton",
                base::format("%@ %@ %ld", remembered ? selectedWord : "", colorWord, number)));
        EXPECT_EQ(item->accessibilityIdentifier(), "PenToolColorButton");
        EXPECT_EQ(
            item->accessibilityTraits() & ui::AccessibilityTraits::Button, ui::AccessibilityTraits::Button);
        ++number;
    }
    EXPECT_EQ(number, 5);
}

TEST_F(PenToolBarTest, TabletDump)
{
    useDevice(Device::Pad);
    auto bar = PlayerActionTopBar::create(ui::Rect(0, 0, 768, 64));
    bar->setTag(PenToolBar);
    bar->updatedPlayerForPenTool(m_theme, { "#000000", "#FF0000" });
    bar->layoutIfNeeded();
    uitest::expectMatchesFile(uitest::dumpViewTree(*bar), expectedPath("pen_bar_tablet.txt"));
}

} // namespace
} // namespace lectoro::chrometest
