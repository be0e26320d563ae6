#include "ChromeTestSupport.h"

#include "LectoroSDKWithReader/reader/chrome/LectoroPenToolColorPalleteViewController.h"
#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/testing/ExpectMatchesFile.h"
#include "platform/testing/ViewTreeDump.h"

namespace lectoro::chrometest {
namespace {

class RecordingPenToolDelegate : public PenToolItemDelegate {
public:
    void didSelectPenColor(const std::string& color) override { events.push_back("select " + color); }
    void willDismissPenToolColorPalleteView() override { events.push_back("dismiss"); }

    std::vector<std::string> events;
};

class LectoroPenToolColorPalleteTest : public ChromeTest {
protected:
    // Configured in the order the reader configures it.
    std::shared_ptr<LectoroPenToolColorPalleteViewController> makePalette(
        std::vector<std::string> colors, std::string selected)
    {
        auto palette = LectoroPenToolColorPalleteViewController::create();
        palette->setDelegate(m_delegate);
        palette->setPenColors(std::move(colors));
        palette->setSelectedPenColor(std::move(selected));
        palette->setColorPickerBackgroundColor(hex("#FAFAFA"));
        palette->setSelectionBorderColor(selectionColor());
        palette->setContainerBorderColor(hex("#00AA00"));
        return palette;
    }

    static ui::Color selectionColor() { return hex("#0000AA"); }

    static std::shared_ptr<HighLightToolView> swatchOf(const PlayerActionBarItem& item)
    {
        for (const auto& subview : item.subviews()) {
            if (auto swatch = std::dynamic_pointer_cast<HighLightToolView>(subview))
                return swatch;
        }
        return nullptr;
    }

    static std::vector<std::string> colorsOf(const PlayerActionBar& row)
    {
        std::vector<std::string> colors;
        for (const auto& item : row.items())
            colors.push_back(*item->metaData()["PenColor"].asString());
        return colors;
    }

    static std::vector<std::string> ringed(const LectoroPenToolColorPalleteViewController& palette)
    {
        std::vector<std::string> colors;
        for (const auto& row : { palette.penItemsBar(), palette.secondLinePenItemBar() }) {
            if (!row)
                continue;
            for (const auto& item : row->items()) {
                if (swatchOf(*item)->borderView()->layer()->borderColor() == selectionColor())
                    colors.push_back(*item->metaData()["PenColor"].asString());
            }
        }
        return colors;
    }

    std::shared_ptr<RecordingPenToolDelegate> m_delegate = std::make_shared<RecordingPenToolDelegate>();
    const std::vector<std::string> six { "#000000", "#FF0000", "#00FF00", "#0000FF", "#FFFF00", "#FF00FF" };
};

struct RowsCase {
    const char* name;
    Device device;
    size_t colorCount;
    size_t firstRow;
    size_t secondRow;
    double firstRowHeight;
    double secondRowHeight;
    double itemWidth;
};

TEST_F(LectoroPenToolColorPalleteTest, RowsByDeviceAndColourCount)
{
    const RowsCase cases[] = {
        { "phone, six", Device::Phone, 6, 5, 1, 50, 50, 58.4 },
        { "phone, five", Device::Phone, 5, 5, 0, 50, 0, 58.4 },
        { "phone, twelve", Device::Phone, 12, 5, 7, 50, 50, 58.4 },
        { "phone, none", Device::Phone, 0, 0, 0, 50, 0, 58.4 },
        { "tablet, twelve", Device::Pad, 12, 12, 0, 64, 0, 62 },
    };
    const std::vector<std::string> twelve { "#010101", "#020202", "#030303", "#040404", "#050505", "#060606",
        "#070707", "#080808", "#090909", "#0A0A0A", "#0B0B0B", "#0C0C0C" };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        useDevice(c.device);
        auto palette
            = makePalette(std::vector<std::string>(twelve.begin(), twelve.begin() + c.colorCount), "");
        auto first = palette->penItemsBar();
        auto second = palette->secondLinePenItemBar();
        EXPECT_EQ(first->items().size(), c.firstRow);
        EXPECT_EQ(second->items().size(), c.secondRow);
        EXPECT_EQ(constantOf(*first, ui::LayoutAttribute::Height), c.firstRowHeight);
        EXPECT_EQ(constantOf(*second, ui::LayoutAttribute::Height), c.secondRowHeight);
        std::vector<std::string> inOrder = colorsOf(*first);
        for (const auto& color : colorsOf(*second))
            inOrder.push_back(color);
        EXPECT_EQ(inOrder, std::vector<std::string>(twelve.begin(), twelve.begin() + c.colorCount));
        for (const auto& row : { first, second }) {
            for (const auto& item : row->items()) {
                EXPECT_EQ(item->itemWidth(), c.itemWidth);
                EXPECT_EQ(item->itemAlignment(), PlayerActionBarItemAlignmentLeading);
                EXPECT_TRUE(item->isTappable());
            }
        }
        EXPECT_EQ(first->superview(), palette->view());
        EXPECT_EQ(second->superview(), palette->view());
        EXPECT_EQ(first->tag(), 0);
        EXPECT_EQ(palette->view()->backgroundColor(), hex("#FAFAFA"));
        EXPECT_EQ(second->backgroundColor(), hex("#FAFAFA"));
    }
    EXPECT_TRUE(m_delegate->events.empty());
}

TEST_F(LectoroPenToolColorPalleteTest, RowPlacement)
{
    struct Case {
        Device device;
        double top, leading, trailing;
    };
    for (const auto& c : { Case { Device::Phone, 6, 4, -4 }, Case { Device::Pad, 0, 0, 0 } }) {
        useDevice(c.device);
        auto palette = makePalette(six, "");
        auto first = palette->penItemsBar();
        EXPECT_EQ(constantOf(*first, ui::LayoutAttribute::Top), c.top);
        EXPECT_EQ(constantOf(*first, ui::LayoutAttribute::Leading), c.leading);
        EXPECT_EQ(constantOf(*first, ui::LayoutAttribute::Trailing), c.trailing);
        auto secondTop
            = palette->secondLinePenItemBar()->constraintWithFirstAttribute(ui::LayoutAttribute::Top);
        ASSERT_TRUE(secondTop);
        EXPECT_EQ(secondTop->secondItem().get(), static_cast<ui::LayoutItem*>(first.get()));
        EXPECT_EQ(secondTop->secondAttribute(), ui::LayoutAttribute::Bottom);
    }
}

TEST_F(LectoroPenToolColorPalleteTest, SwatchMakeUp)
{
    struct Case {
        Device device;
        double dot;
        double itemHeight;
    };
    for (const auto& c : { Case { Device::Phone, 27, 50 }, Case { Device::Pad, 26, 64 } }) {
        useDevice(c.device);
        auto palette = LectoroPenToolColorPalleteViewController::create();
        auto item = palette->getPenToolColorPalleteItemForColor("#FF0000");
        EXPECT_EQ(item->metaData()["PenColor"].asString(), "#FF0000");
        EXPECT_EQ(constantOf(*item, ui::LayoutAttribute::Height), c.itemHeight);
        auto swatch = swatchOf(*item);
        EXPECT_EQ(swatch->widthConstraintOfIcon()->constant(), c.dot);
        EXPECT_EQ(swatch->heightConstraintOfBorderView()->constant(), c.dot + 14);
        EXPECT_EQ(swatch->borderView()->layer()->borderWidth(), 1.0);
        EXPECT_EQ(swatch->iconLabel()->backgroundColor(), hex("#FF0000"));
        EXPECT_EQ(swatch->iconLabel()->accessibilityIdentifier(), "penTool_#FF0000");
    }
}

TEST_F(LectoroPenToolColorPalleteTest, SelectionIsRingedOnceTheBorderColoursAreSet)
{
    auto palette = makePalette(six, "#0000FF");
    EXPECT_EQ(ringed(*palette), std::vector<std::string> {})
        << "the border colour arrives after the view is built";
    base::RunLoop::main().advanceBy(0.1);
    EXPECT_EQ(ringed(*palette), (std::vector<std::string> { "#0000FF" }));
}

TEST_F(LectoroPenToolColorPalleteTest, SelectionInTheSecondRowIsRinged)
{
    auto palette = makePalette(six, "#FF00FF");
    base::RunLoop::main().advanceBy(0.1);
    EXPECT_EQ(ringed(*palette), (std::vector<std::string> { "#FF00FF" }));
}

TEST_F(LectoroPenToolColorPalleteTest, SelectionThatMatchesNoSwatchMarksNothing)
{
    for (const char* selected : { "#0000ff", "0000FF", "", "#123456" }) {
        auto palette = makePalette(six, selected);
        base::RunLoop::main().advanceBy(0.1);
        EXPECT_EQ(ringed(*palette), std::vector<std::string> {}) << selected;
        EXPECT_EQ(palette->selectedPenColor(), selected) << "the selection given is kept";
        for (const auto& item : palette->penItemsBar()->items())
            EXPECT_FALSE(item->isSelected());
    }
}

TEST_F(LectoroPenToolColorPalleteTest, TapReportsTheColourAsWrittenAndMovesTheRing)
{
    const std::vector<std::string> colors { "#000000", "#ff0000", "#00FF00", "#0000FF", "#FFFF00",
        "#abcdef" };
    auto palette = makePalette(colors, "#000000");
    base::RunLoop::main().advanceBy(0.1);

    auto second = palette->secondLinePenItemBar();
    ASSERT_TRUE(second->tapItem(*second->items()[0]));
    EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "select #abcdef" }));
    EXPECT_EQ(ringed(*palette), (std::vector<std::string> { "#abcdef" }));
    EXPECT_TRUE(second->items()[0]->isSelected());
    EXPECT_FALSE(palette->penItemsBar()->items()[0]->isSelected());

    auto first = palette->penItemsBar();
    ASSERT_TRUE(first->tapItem(*first->items()[1]));
    EXPECT_EQ(m_delegate->events.back(), "select #ff0000");
    EXPECT_EQ(ringed(*palette), (std::vector<std::string> { "#ff0000" }));
    // The palette stays open.
    EXPECT_TRUE(palette->penItemsBar());
    EXPECT_EQ(m_delegate->events.size(), 2u);
}

TEST_F(LectoroPenToolColorPalleteTest, ADelegateThatLetsThePaletteGoWhileTold)
{
    class Dropping : public PenToolItemDelegate {
    public:
        void didSelectPenColor(const std::string&) override { palette.reset(); }
        void willDismissPenToolColorPalleteView() override { }
        std::shared_ptr<LectoroPenToolColorPalleteViewController> palette;
    };
    auto dropping = std::make_shared<Dropping>();
    std::weak_ptr<LectoroPenToolColorPalleteViewController> weakPalette;
    {
        auto palette = LectoroPenToolColorPalleteViewController::create();
        palette->setDelegate(dropping);
        palette->setPenColors(six);
        palette->setColorPickerBackgroundColor(std::nullopt);
        dropping->palette = palette;
        weakPalette = palette;
    }
    auto row = weakPalette.lock()->penItemsBar();
    auto item = row->items()[2];
    EXPECT_TRUE(row->tapItem(*item));
    EXPECT_TRUE(weakPalette.expired());
}

TEST_F(LectoroPenToolColorPalleteTest, ShadingAfterATenthOfASecond)
{
    for (Device device : { Device::Phone, Device::Pad }) {
        useDevice(device);
        auto palette = makePalette(six, "");
        const auto& layer = *palette->view()->layer();
        EXPECT_EQ(layer.shadowOpacity(), 0.0);
        base::RunLoop::main().advanceBy(0.1);
        EXPECT_EQ(layer.shadowColor(), selectionColor());
        EXPECT_EQ(layer.shadowOffset(), ui::Size(0, -2));
        EXPECT_EQ(layer.shadowOpacity(), 0.4);
        EXPECT_EQ(layer.borderWidth(), 0.6);
        EXPECT_EQ(layer.borderColor(), hex("#00AA00"));
        EXPECT_EQ(layer.cornerRadius(), 8.0);
        EXPECT_FALSE(layer.masksToBounds());
        EXPECT_EQ(palette->penItemsBar()->clipsToBounds(), device == Device::Pad);
        EXPECT_EQ(palette->penItemsBar()->layer()->cornerRadius(), 8.0);
        EXPECT_TRUE(palette->secondLinePenItemBar()->clipsToBounds());
    }
}

TEST_F(LectoroPenToolColorPalleteTest, APaletteGoneBeforeTheShadingIsLeftAlone)
{
    std::weak_ptr<LectoroPenToolColorPalleteViewController> weakPalette = makePalette(six, "#000000");
    EXPECT_TRUE(weakPalette.expired());
    base::RunLoop::main().advanceBy(1.0);
}

TEST_F(LectoroPenToolColorPalleteTest, SwatchesAreNumberedAcrossBothRows)
{
    auto palette = makePalette(six, "#00FF00");
    const std::string selectedWord = localized("ACCESSIBILITY_SELECTED");
    const std::string colorWord = localized("ACCESSIBILITY_COLOR");
    auto expectNumbered = [&](const std::string& selectedColor) {
        int number = 1;
        for (const auto& row : { palette->penItemsBar(), palette->secondLinePenItemBar() }) {
            for (const auto& item : row->items()) {
                const bool selected = item->metaData()["PenColor"].asString() == selectedColor;
                EXPECT_EQ(item->accessibilityLabel(),
                    spoken("PenToolColorButton",
                        base::format("%@ %@ %ld", selected ? selectedWord : "", colorWord, number)))
                    << number;
                EXPECT_EQ(item->accessibilityTraits() & ui::AccessibilityTraits::Button,
                    ui::AccessibilityTraits::Button);
                ++number;
            }
        }
        EXPECT_EQ(number, 7);
    };
    expectNumbered("#00FF00");
    palette->secondLinePenItemBar()->tapItem(*palette->secondLinePenItemBar()->items()[0]);
    expectNumbered("#FF00FF");
}

TEST_F(LectoroPenToolColorPalleteTest, DisappearingDropsTheFirstRowAndTellsTheDelegate)
{
    auto palette = makePalette(six, "");
    auto first = palette->penItemsBar();
    palette->viewWillDisappear(false);
    EXPECT_FALSE(palette->penItemsBar());
    EXPECT_FALSE(first->superview());
    EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "dismiss" }));
    // The delayed shading still finds what is left.
    base::RunLoop::main().advanceBy(0.1);
    EXPECT_EQ(palette->view()->layer()->cornerRadius(), 8.0);
}

TEST_F(LectoroPenToolColorPalleteTest, PhoneDump)
{
    auto palette = makePalette(six, "#FF0000");
    base::RunLoop::main().advanceBy(0.1);
    for (const auto& row : { palette->penItemsBar(), palette->secondLinePenItemBar() }) {
        row->setFrame(ui::Rect(0, 0, 292, 50));
        row->layoutIfNeeded();
    }
    uitest::expectMatchesFile(
        uitest::dumpViewTree(*palette->penItemsBar()), expectedPath("pen_palette_phone_first_row.txt"));
    uitest::expectMatchesFile(uitest::dumpViewTree(*palette->secondLinePenItemBar()),
        expectedPath("pen_palette_phone_second_row.txt"));
}

} // namespace
} // namespace lectoro::chrometest
