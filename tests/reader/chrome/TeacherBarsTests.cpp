#include "ChromeTestSupport.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "platform/testing/ExpectMatchesFile.h"
#include "platform/testing/ViewTreeDump.h"

#include <functional>

namespace lectoro::chrometest {
namespace {

class TeacherBarTest : public ChromeTest {
protected:
    std::shared_ptr<PlayerActionTopBar> makeBar()
    {
        auto bar = PlayerActionTopBar::create();
        bar->setTag(TeacherBar);
        return bar;
    }

    static std::vector<int> alignmentsOf(const PlayerActionBar& bar)
    {
        std::vector<int> alignments;
        for (const auto& item : bar.items())
            alignments.push_back(item->itemAlignment());
        return alignments;
    }

    static std::vector<std::string> swatchColors(const PlayerActionBar& bar)
    {
        std::vector<std::string> colors;
        for (const auto& item : bar.items()) {
            if (item->tag() == PlayerItemPenColorSwatch)
                colors.push_back(*item->metaData()["penColor"].asString());
        }
        return colors;
    }

    const std::vector<std::string> colors { "111111", "222222", "333333", "444444", "555555" };
};

struct LayoutCase {
    const char* name;
    Device device;
    ui::Orientation orientation;
    std::function<void(PlayerActionTopBar&, const LXMVThemeVO&)> build;
    std::vector<int> tags;
    std::vector<double> widths;
    std::vector<int> alignments;
    std::vector<bool> tappable;
    bool hasBackground;
};

TEST_F(TeacherBarTest, SixLayouts)
{
    const std::vector<std::string> fiveColors { "111111", "222222", "333333", "444444", "555555" };
    const LayoutCase cases[] = {
        { "phone annotation top", Device::Phone, ui::Orientation::Portrait,
            [](auto& bar, const auto& theme) {
                bar.addPlayerTopBarForTeacherAnnotationForIPhone(
                    theme, "Ada", "", std::vector<std::string> { "4", "5", "9" });
            },
            { 16, 4, 9, 12, 8 }, { 50, 100, 50, 70, 50 }, { 1, 1, 0, 0, 0 },
            { false, true, true, true, true }, false },
        { "phone annotation bottom", Device::Phone, ui::Orientation::Portrait,
            [&](auto& bar, const auto& theme) {
                bar.addPlayerBottomBarForTeacherAnnotationForIPhone(theme, fiveColors, "#111111");
            },
            { 18, 18, 2, 5, 3, 11 }, std::vector<double>(6, 65), std::vector<int>(6, 2),
            std::vector<bool>(6, true), false },
        { "pad annotation top", Device::Pad, ui::Orientation::Portrait,
            [&](auto& bar, const auto& theme) {
                bar.addPlayerTopBarForTeacherAnnotationForIPad(
                    theme, fiveColors, "Ada", "", "#555555", "Page 7");
            },
            { 16, 4, 18, 18, 9, 12, 8, 2, 5, 11, 3 }, { 65, 80, 65, 65, 65, 100, 65, 65, 65, 65, 65 },
            { 0, 0, 2, 2, 2, 2, 2, 2, 2, 1, 1 },
            { false, true, true, true, true, true, true, true, true, true, true }, true },
        { "phone review top", Device::Phone, ui::Orientation::Portrait,
            [](auto& bar, const auto& theme) {
                bar.addPlayerTopBarForTeacherReviewAnnotation(theme, "Ada", "", 12, 3);
            },
            { 37, 16, 36, 35, 11 }, { 30, 160, 30, 40, 60 }, { 0, 0, 0, 1, 1 }, std::vector<bool>(5, true),
            true },
        { "landscape phone review top", Device::Phone, ui::Orientation::LandscapeLeft,
            [](auto& bar, const auto& theme) {
                bar.addPlayerTopBarForTeacherReviewAnnotation(theme, "Ada", "", 12, 3);
            },
            { 37, 16, 36, 35, 11 }, { 80, 160, 30, 80, 60 }, { 0, 0, 0, 1, 1 }, std::vector<bool>(5, true),
            true },
        { "pad review top", Device::Pad, ui::Orientation::LandscapeRight,
            [](auto& bar, const auto& theme) {
                bar.addPlayerTopBarForTeacherReviewAnnotation(theme, "Ada", "", 12, 3);
            },
            { 37, 16, 36, 35, 11 }, { 50, 250, 50, 50, 70 }, { 0, 0, 0, 1, 1 }, std::vector<bool>(5, true),
            true },
        { "phone review top without report", Device::Phone, ui::Orientation::Portrait,
            [](auto& bar, const auto& theme) {
                bar.addPlayerTopBarWithoutGenerateReportForTeacherReviewAnnotation(theme, "Ada", "", 12, 3);
            },
            { 37, 16, 36, 11 }, { 30, 160, 30, 60 }, { 0, 0, 0, 1 }, std::vector<bool>(4, true), false },
        { "pad review top without report", Device::Pad, ui::Orientation::Portrait,
            [](auto& bar, const auto& theme) {
                bar.addPlayerTopBarWithoutGenerateReportForTeacherReviewAnnotation(theme, "Ada", "", 12, 3);
            },
            { 37, 16, 36, 11 }, { 50, 250, 50, 80 }, { 0, 0, 0, 1 }, std::vector<bool>(4, true), false },
        { "phone review bottom", Device::Phone, ui::Orientation::Portrait,
            [](auto& bar, const auto& theme) { bar.addPlayerBottomBarForTeacherReviewAnnotation(theme); },
            { 34, 0, 2, 5, 3, 6 }, std::vector<double>(6, 62), std::vector<int>(6, 2),
            std::vector<bool>(6, true), true },
        { "pad review bottom", Device::Pad, ui::Orientation::Portrait,
            [](auto& bar, const auto& theme) { bar.addPlayerBottomBarForTeacherReviewAnnotation(theme); },
            { 34, 0, 2, 5, 3, 6 }, std::vector<double>(6, 128), std::vector<int>(6, 2),
            std::vector<bool>(6, true), true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        useDevice(c.device, c.orientation);
        auto bar = makeBar();
        c.build(*bar, m_theme);
        EXPECT_EQ(tagsOf(*bar), c.tags);
        EXPECT_EQ(widthsOf(*bar), c.widths);
        EXPECT_EQ(alignmentsOf(*bar), c.alignments);
        std::vector<bool> tappable;
        for (const auto& item : bar->items())
            tappable.push_back(item->isTappable());
        EXPECT_EQ(tappable, c.tappable);
        EXPECT_EQ(bar->backgroundColor().has_value(), c.hasBackground);
        if (c.hasBackground) {
            EXPECT_EQ(bar->backgroundColor(), ThemeColors::teacherBackground());
        }
    }
}

TEST_F(TeacherBarTest, PageItemReadsPageAndTheFirstLabel)
{
    struct Case {
        std::optional<std::vector<std::string>> pages;
        const char* text;
    };
    const Case cases[] = {
        { std::nullopt, "Page" },
        { std::vector<std::string> {}, "Page" },
        { std::vector<std::string> { "4", "5", "9" }, "Page 4" },
        { std::vector<std::string> { "iv" }, "Page iv" },
    };
    for (const auto& c : cases) {
        auto bar = makeBar();
        bar->addPlayerTopBarForTeacherAnnotationForIPhone(m_theme, "Ada", "", c.pages);
        EXPECT_EQ(glyphOf(*bar->itemWithTag(PlayerItemPageNumber)), c.text);
    }
}

TEST_F(TeacherBarTest, SwatchesAreTheLastAndFirstColour)
{
    struct Case {
        std::vector<std::string> colors;
        std::vector<std::string> swatches;
    };
    const Case cases[] = {
        { { "111111", "222222", "333333", "444444", "555555" }, { "#555555", "#111111" } },
        { { "AA0000" }, { "#AA0000", "#AA0000" } },
        { {}, {} },
    };
    for (const auto& c : cases) {
        auto phone = makeBar();
        phone->addPlayerBottomBarForTeacherAnnotationForIPhone(m_theme, c.colors, "#111111");
        EXPECT_EQ(swatchColors(*phone), c.swatches);
        EXPECT_EQ(phone->items().size(), 4 + c.swatches.size());

        useDevice(Device::Pad);
        auto pad = makeBar();
        pad->addPlayerTopBarForTeacherAnnotationForIPad(m_theme, c.colors, "Ada", "", "#111111", "1");
        EXPECT_EQ(swatchColors(*pad), c.swatches);
        EXPECT_EQ(pad->items().size(), 9 + c.swatches.size());
        useDevice(Device::Phone);
    }
}

TEST_F(TeacherBarTest, SelectedColourNeedsTheHash)
{
    for (const auto& [selected, ringed] : { std::pair { "#111111", true }, std::pair { "111111", false } }) {
        auto bar = makeBar();
        bar->addPlayerBottomBarForTeacherAnnotationForIPhone(m_theme, colors, selected);
        // The first colour is the second swatch.
        EXPECT_EQ(bar->items()[1]->isSelected(), ringed) << selected;
        EXPECT_FALSE(bar->items()[0]->isSelected());
    }
}

TEST_F(TeacherBarTest, GlyphSizes)
{
    struct Case {
        Device device;
        double reviewGlyph;
    };
    for (const auto& c :
        { Case { Device::Phone, 20.8 }, Case { Device::Phone320, 16 }, Case { Device::Pad, 22 } }) {
        useDevice(c.device);
        auto review = makeBar();
        review->addPlayerBottomBarForTeacherReviewAnnotation(m_theme);
        EXPECT_EQ(glyphLabel(*review->items()[0])->font().pointSize(), c.reviewGlyph) << deviceName(c.device);

        auto annotation = makeBar();
        annotation->addPlayerTopBarForTeacherAnnotationForIPhone(m_theme, "Ada", "", std::nullopt);
        EXPECT_EQ(glyphLabel(*annotation->itemWithTag(PlayerItemNextPage))->font().pointSize(), 16.0);
        auto bottom = makeBar();
        bottom->addPlayerBottomBarForTeacherAnnotationForIPhone(m_theme, {}, "");
        EXPECT_EQ(glyphLabel(*bottom->itemWithTag(PlayerItemTeacherEraser))->font().pointSize(), 18.0);
    }
}

TEST_F(TeacherBarTest, StepItemsKeepToOneEdge)
{
    auto bar = makeBar();
    auto previous = bar->getPrevStudentItemWithIcon(ICON_PREV_PAGE_ICON, 37, m_theme, 20);
    auto report = bar->getPrevStudentItemWithIcon(ICON_DOWNLOAD, 35, m_theme, 20);
    auto other = bar->getPrevStudentItemWithIcon(ICON_NEXT, 36, m_theme, 20);
    struct Case {
        std::shared_ptr<PlayerActionBarItem> item;
        std::optional<double> leadingInset;
        std::optional<double> trailingInset;
    };
    for (const auto& c : { Case { previous, std::nullopt, -3.0 }, Case { report, 5.0, std::nullopt },
             Case { other, std::nullopt, std::nullopt } }) {
        auto label = glyphLabel(*c.item);
        EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::Top), 0.0);
        EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::Bottom), 0.0);
        EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::Leading), c.leadingInset) << c.item->tag();
        EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::Trailing), c.trailingInset) << c.item->tag();
        EXPECT_FALSE(constantOf(*label, ui::LayoutAttribute::CenterX));
        EXPECT_EQ(label->textColor(), ThemeColors::penIcons());
    }
    EXPECT_EQ(previous->accessibilityIdentifier(), "playerItemPreviousStudent");
    EXPECT_EQ(report->accessibilityIdentifier(), "playerItemGenerateReport");
}

TEST_F(TeacherBarTest, TextItems)
{
    struct Case {
        const char* name;
        std::shared_ptr<PlayerActionBarItem> item;
        int tag;
        std::string text;
        ui::TextAlignment alignment;
        double font;
        ui::Color color;
        double top, bottom, leading, trailing;
        bool bordered;
    };
    auto bar = makeBar();
    const std::string done = localized("DONE");
    const Case cases[] = {
        { "name", bar->getPlayerItemForStudentNameWithTheme(m_theme, "Ada"), 4, "Ada",
            ui::TextAlignment::Left, 14, hex("#262525"), 0, 0, 5, 0, false },
        { "page", bar->getPlayerItemForPageNumberWithTheme(m_theme, "Page 2"), 12, "Page 2",
            ui::TextAlignment::Center, 16, hex("#333333"), 0, 0, 0, 0, false },
        { "done", bar->getPlayerItemForDoneWithTheme(m_theme), 11, done, ui::TextAlignment::Center, 14,
            ThemeColors::penIcons(), 0, 0, 0, 0, false },
        { "review done", bar->getPlayerItemForTeacherReviewDoneWithTheme(m_theme), 11, done,
            ui::TextAlignment::Center, 15, ThemeColors::penIcons(), 10, -10, 0, 0, true },
        { "review done without report", bar->getTeacherReviewDoneWithTheme(m_theme), 11, done,
            ui::TextAlignment::Center, 15, ThemeColors::penIcons(), 10, -10, 5, -5, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.item->tag(), c.tag);
        auto label = glyphLabel(*c.item);
        EXPECT_EQ(label->text(), c.text);
        EXPECT_EQ(label->textAlignment(), c.alignment);
        EXPECT_EQ(label->font().pointSize(), c.font);
        EXPECT_EQ(label->textColor(), c.color);
        EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::Top), c.top);
        EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::Bottom), c.bottom);
        EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::Leading), c.leading);
        EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::Trailing), c.trailing);
        EXPECT_EQ(label->layer()->borderWidth(), c.bordered ? 1.0 : 0.0);
        if (c.bordered) {
            EXPECT_EQ(label->layer()->borderColor(), ThemeColors::penIcons());
            EXPECT_EQ(label->layer()->cornerRadius(), 5.0);
        }
        EXPECT_EQ(c.item->accessibilityIdentifier(), "");
    }
}

TEST_F(TeacherBarTest, SelectedToolIsHighlightedAfterATap)
{
    auto bar = makeBar();
    bar->addPlayerBottomBarForTeacherReviewAnnotation(m_theme);
    ASSERT_TRUE(bar->tapItemWithTag(PlayerItemTeacherPenColor));
    bar->updatePlayerSelectedItem(m_theme);
    EXPECT_EQ(
        bar->itemWithTag(PlayerItemTeacherPenColor)->backgroundColor(), ThemeColors::penSelectedBackground());
    EXPECT_EQ(bar->itemWithTag(PlayerItemDragBox)->backgroundColor(), ui::Color::clear());
}

TEST_F(TeacherBarTest, PhoneAnnotationBottomDump)
{
    auto bar = PlayerActionTopBar::create(ui::Rect(0, 0, 375, 54));
    bar->setTag(TeacherBar);
    bar->addPlayerBottomBarForTeacherAnnotationForIPhone(m_theme, colors, "#555555");
    bar->layoutIfNeeded();
    uitest::expectMatchesFile(
        uitest::dumpViewTree(*bar), expectedPath("teacher_annotation_bottom_phone.txt"));
}

} // namespace
} // namespace lectoro::chrometest
