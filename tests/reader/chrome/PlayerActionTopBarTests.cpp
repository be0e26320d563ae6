#include "ChromeTestSupport.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "platform/print/PrintTestSupport.h"
#include "platform/print/ViewPainter.h"
#include "platform/testing/ExpectMatchesFile.h"
#include "platform/testing/ViewTreeDump.h"

namespace lectoro::chrometest {
namespace {

enum class Book { None, PageBook, PageBookReadAloud, ReflowEpub, ReflowEpubAudioSync, FixedEpub };

std::shared_ptr<LectoroBookVO> makeBook(Book kind)
{
    switch (kind) {
    case Book::None:
        return nullptr;
    case Book::PageBook:
    case Book::PageBookReadAloud: {
        auto book = std::make_shared<PXBookVO>();
        book->isReadAloudEnabled = kind == Book::PageBookReadAloud;
        return book;
    }
    case Book::ReflowEpub:
    case Book::ReflowEpubAudioSync:
    case Book::FixedEpub: {
        auto book = std::make_shared<EPUBBookVO>();
        book->meta.layout = kind == Book::FixedEpub ? 1 : 0;
        book->isAudioSyncSupported = kind == Book::ReflowEpubAudioSync;
        return book;
    }
    }
    return nullptr;
}

struct TopBarCase {
    const char* name;
    Device device;
    int isEpub;
    Book book;
    bool printEnabled;
    bool hideProfile;
    std::vector<int> tags;
    std::vector<double> widths;
    std::vector<int> alignments;
};

void PrintTo(const TopBarCase& c, std::ostream* out)
{
    *out << c.name;
}

using PlayerActionTopBarTest = ChromeTest;

class PlayerActionTopBarLayout : public ChromeTest, public ::testing::WithParamInterface<TopBarCase> { };

TEST_P(PlayerActionTopBarLayout, ComposesItemsWithWidths)
{
    const TopBarCase& c = GetParam();
    useDevice(c.device);
    auto bar = PlayerActionTopBar::create();
    bar->setTag(TopBar);
    bar->setBookVO(makeBook(c.book));
    auto settings = std::make_shared<MVReaderSettingModel>();
    settings->setIsPrintEnabled(c.printEnabled);
    bar->setUserSettingsModel(settings);
    bar->setHideProfileSettingsButton(c.hideProfile);

    bar->addPlayerTopBarForIPhoneWithTheme(m_theme, c.isEpub);

    EXPECT_EQ(tagsOf(*bar), c.tags);
    auto widths = widthsOf(*bar);
    ASSERT_EQ(widths.size(), c.widths.size());
    for (size_t i = 0; i < widths.size(); ++i)
        EXPECT_DOUBLE_EQ(widths[i], c.widths[i]) << "item " << i;
    std::vector<int> alignments;
    for (const auto& item : bar->items())
        alignments.push_back(item->itemAlignment());
    EXPECT_EQ(alignments, c.alignments);
    // Only the chapter item is for display.
    for (const auto& item : bar->items())
        EXPECT_EQ(item->isTappable(), item != bar->chapterNameItem());
    ASSERT_TRUE(bar->accessibilityElements());
    EXPECT_EQ(bar->accessibilityElements()->size(), bar->subviews().size());
}

INSTANTIATE_TEST_SUITE_P(Cases, PlayerActionTopBarLayout,
    ::testing::Values(TopBarCase { "phone6Slots", Device::Phone, 0, Book::None, false, false, { 22, 0, 16 },
                          { 62.5, 210, 70.5 }, { 0, 0, 1 } },
        TopBarCase { "phone3Slots", Device::Phone, 1, Book::None, false, false, { 22, 0, 16 },
            { 125, 85, 133 }, { 0, 0, 1 } },
        TopBarCase { "phone5Slots", Device::Phone, 2, Book::None, false, false, { 22, 0, 16 },
            { 75, 185, 83 }, { 0, 0, 1 } },
        TopBarCase { "phoneOtherCodeIs6", Device::Phone, 7, Book::None, false, false, { 22, 0, 16 },
            { 62.5, 210, 70.5 }, { 0, 0, 1 } },
        TopBarCase { "noIdiomIsPhone", Device::NoIdiom, 0, Book::None, false, false, { 22, 0, 16 },
            { 62.5, 210, 70.5 }, { 0, 0, 1 } },
        TopBarCase {
            "pad", Device::Pad, 0, Book::None, false, false, { 22, 0, 16 }, { 98, 572, 98 }, { 0, 0, 1 } },
        TopBarCase { "padIgnoresSlots", Device::Pad, 2, Book::None, false, false, { 22, 0, 16 },
            { 98, 572, 98 }, { 0, 0, 1 } },
        TopBarCase {
            "hiddenProfile", Device::Phone, 0, Book::None, false, true, { 22, 0 }, { 62.5, 210 }, { 0, 0 } },
        TopBarCase { "pageBookNoReadAloud", Device::Phone, 0, Book::PageBook, true, false, { 22, 0, 16 },
            { 62.5, 210, 70.5 }, { 0, 0, 1 } },
        TopBarCase { "pageBookReadAloudNeverPrints", Device::Phone, 0, Book::PageBookReadAloud, true, false,
            { 22, 0, 16, 14 }, { 62.5, 210, 70.5, 23 }, { 0, 0, 1, 1 } },
        TopBarCase { "pageBookReadAloudPad", Device::Pad, 0, Book::PageBookReadAloud, false, false,
            { 22, 0, 16, 14 }, { 98, 572, 98, 80 }, { 0, 0, 1, 1 } },
        TopBarCase { "reflowAudioSyncAndPrint", Device::Phone, 0, Book::ReflowEpubAudioSync, true, false,
            { 22, 0, 16, 14, 30 }, { 62.5, 210, 70.5, 23, 30 }, { 0, 0, 1, 1, 1 } },
        TopBarCase { "reflowPrintPad", Device::Pad, 0, Book::ReflowEpub, true, false, { 22, 0, 16, 30 },
            { 98, 572, 98, 80 }, { 0, 0, 1, 1 } },
        TopBarCase { "reflowPrintOff", Device::Phone, 0, Book::ReflowEpub, false, false, { 22, 0, 16 },
            { 62.5, 210, 70.5 }, { 0, 0, 1 } },
        TopBarCase { "fixedEpubNeverPrints", Device::Phone, 0, Book::FixedEpub, true, false, { 22, 0, 16 },
            { 62.5, 210, 70.5 }, { 0, 0, 1 } }),
    [](const auto& info) { return std::string(info.param.name); });

struct GlyphCase {
    Device device;
    double barGlyph;
    double chapterFont;
    double readAloudGlyph;
    double printGlyph;
};

class PlayerActionTopBarGlyphs : public ChromeTest, public ::testing::WithParamInterface<GlyphCase> { };

TEST_P(PlayerActionTopBarGlyphs, SizesFollowTheDevice)
{
    const GlyphCase& c = GetParam();
    useDevice(c.device);
    auto bar = PlayerActionTopBar::create();
    bar->setTag(TopBar);
    auto book = std::make_shared<EPUBBookVO>();
    book->isAudioSyncSupported = true;
    bar->setBookVO(book);
    auto settings = std::make_shared<MVReaderSettingModel>();
    settings->setIsPrintEnabled(true);
    bar->setUserSettingsModel(settings);
    bar->addPlayerTopBarForIPhoneWithTheme(m_theme, 0);

    auto back = bar->itemWithTag(PlayerItemBackToBookshelf);
    EXPECT_EQ(glyphLabel(*back)->font().pointSize(), c.barGlyph);
    EXPECT_EQ(glyphLabel(*back)->font().name(), "LectoroIcons");
    EXPECT_EQ(glyphOf(*back), ICON_BOOKSHELF);
    EXPECT_EQ(glyphLabel(*bar->chapterNameItem())->font().pointSize(), c.chapterFont);
    EXPECT_EQ(glyphLabel(*bar->itemWithTag(PlayerItemReadAloud))->font().pointSize(), c.readAloudGlyph);
    EXPECT_EQ(glyphLabel(*bar->itemWithTag(PlayerItemPrint))->font().pointSize(), c.printGlyph);
    EXPECT_EQ(glyphOf(*bar->itemWithTag(PlayerItemPrint)), ICON_PRINT);
}

INSTANTIATE_TEST_SUITE_P(Devices, PlayerActionTopBarGlyphs,
    ::testing::Values(GlyphCase { Device::Phone, 20.8, 20, 18, 20.8 },
        GlyphCase { Device::Phone320, 16, 16, 18, 16 }, GlyphCase { Device::Pad, 23, 21, 18, 23 }),
    [](const auto& info) { return std::string(deviceName(info.param.device)); });

TEST_F(PlayerActionTopBarTest, ChapterItemOnPadIsScreenLess196)
{
    for (double width : { 768.0, 1024.0, 834.0 }) {
        ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
        ui::Environment::current().setScreenSize({ width, 700 });
        for (int isEpub : { 0, 1, 2 }) {
            auto bar = PlayerActionTopBar::create();
            bar->addPlayerTopBarForIPhoneWithTheme(m_theme, isEpub);
            EXPECT_DOUBLE_EQ(bar->chapterNameItem()->itemWidth(), width - 196) << width << " " << isEpub;
        }
    }
}

TEST_F(PlayerActionTopBarTest, ChapterItemIsMadeOnceAndPinned)
{
    auto bar = PlayerActionTopBar::create();
    auto first = bar->initialiseChapterNameItemwithThemeVO(m_theme);
    LXMVThemeVO otherTheme;
    auto second = bar->initialiseChapterNameItemwithThemeVO(otherTheme);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->tag(), 0);
    ASSERT_EQ(first->subviews().size(), 1u);
    auto label = glyphLabel(*first);
    EXPECT_EQ(label->textColor(), ThemeColors::topIcons());
    EXPECT_EQ(label->text(), "");
    EXPECT_EQ(label->textAlignment(), ui::TextAlignment::Center);
    EXPECT_EQ(label->accessibilityIdentifier(), "playerItemChapterNameLabel");
    EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::Leading), 2.0);
    EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::Trailing), 0.0);
    EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::CenterY), 1.0);

    useDevice(Device::Pad);
    auto padBar = PlayerActionTopBar::create();
    EXPECT_EQ(constantOf(*glyphLabel(*padBar->initialiseChapterNameItemwithThemeVO(m_theme)),
                  ui::LayoutAttribute::Leading),
        -6.0);
}

TEST_F(PlayerActionTopBarTest, ScormBarHasBackAndChapterOnly)
{
    auto bar = PlayerActionTopBar::create();
    bar->setTag(TopBar);
    bar->addPlayerTopBarForScormPackage(m_theme);
    EXPECT_EQ(tagsOf(*bar), (std::vector<int> { 22, 0 }));
    EXPECT_EQ(widthsOf(*bar), (std::vector<double> { 70, 315 }));
    EXPECT_FALSE(bar->backgroundColor());
}

TEST_F(PlayerActionTopBarTest, GlyphColourFollowsTheBarTag)
{
    for (int barTag : { 2, 3, 4, 12 }) {
        auto bar = PlayerActionTopBar::create();
        bar->setTag(barTag);
        auto item = bar->getPlayerItemWithIcon(ICON_ERASER, 2, m_theme, 18.0);
        EXPECT_EQ(glyphLabel(*item)->textColor(),
            barTag == TopBar ? ThemeColors::topIcons() : ThemeColors::penIcons())
            << barTag;
    }
}

TEST_F(PlayerActionTopBarTest, IconItemIsPinnedUnderTheGlyph)
{
    auto bar = PlayerActionTopBar::create();
    auto item = bar->getPlayerItemWithIcon(ICON_UNDO, 5, m_theme, 18.0);
    EXPECT_EQ(item->tag(), 5);
    EXPECT_EQ(item->frame(), ui::Rect());
    EXPECT_EQ(item->backgroundColor(), ui::Color::clear());
    auto label = glyphLabel(*item);
    EXPECT_EQ(label->textAlignment(), ui::TextAlignment::Center);
    EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::Top), 0.0);
    EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::CenterX), 0.0);
    EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::Bottom), 0.0);
    EXPECT_FALSE(constantOf(*label, ui::LayoutAttribute::Width));

    auto textItem = bar->getPlayerItemWithIcon(ICON_TEXTANNOTATION, 19, m_theme, 18.0);
    EXPECT_EQ(constantOf(*glyphLabel(*textItem), ui::LayoutAttribute::Top), 5.0);
}

TEST_F(PlayerActionTopBarTest, ChangeIconTouchesOnlyTheFirstTappableItemWithTheTag)
{
    auto bar = PlayerActionTopBar::create();
    auto display = bar->getPlayerItemWithIcon(ICON_AUDIO, 14, m_theme, 18.0);
    auto first = bar->getPlayerItemWithIcon(ICON_AUDIO, 14, m_theme, 18.0);
    auto second = bar->getPlayerItemWithIcon(ICON_AUDIO, 14, m_theme, 18.0);
    bar->addActionBarItem(display, 10, 0, false);
    bar->addActionBarItem(first, 10, 0, true);
    bar->addActionBarItem(second, 10, 0, true);
    bar->addActionBarItem(PlayerActionBarItem::create(), 10, 0, true); // no label: tag 0

    bar->changeIcon(ICON_MEDIA_PAUSE, 14);
    EXPECT_EQ(glyphOf(*display), ICON_AUDIO);
    EXPECT_EQ(glyphOf(*first), ICON_MEDIA_PAUSE);
    EXPECT_EQ(glyphOf(*second), ICON_AUDIO);

    bar->changeIcon(ICON_MEDIA_PLAY, 99);
    bar->changeIcon(ICON_MEDIA_PLAY, 0);
    EXPECT_EQ(glyphOf(*first), ICON_MEDIA_PAUSE);
}

struct TopAccessibilityCase {
    int tag;
    const char* identifier;
    const char* labelKey;
};

TEST_F(PlayerActionTopBarTest, AccessibilityByTag)
{
    const TopAccessibilityCase cases[] = {
        { 6, "playerItemThumbnail", "ThumbnailButton" },
        { 14, "playerItemThumbnail", "ReadAloudButton" },
        { 16, "playerItemProfile", "UserProfileButton" },
        { 22, "playerItemBackToBookshelf", "BackToBookShelfButton" },
        { 34, "playerItemDragBox", "DragSelectionButton" },
        { 35, "playerItemGenerateReport", "GenerateReportButton" },
        { 36, "playerItemNextStudent", "NextStudentButton" },
        { 37, "playerItemPreviousStudent", "PreviousStudentButton" },
        { 8, "", nullptr },
        { 30, "", nullptr },
    };
    auto bar = PlayerActionTopBar::create();
    for (const auto& c : cases) {
        auto item = PlayerActionBarItem::createWithLabel(c.tag, "x");
        bar->setAccessibilityForPlayerActionTopBarItem(*item);
        EXPECT_EQ(item->accessibilityIdentifier(), c.identifier) << c.tag;
        EXPECT_EQ(item->accessibilityLabel(), c.labelKey ? spoken(c.labelKey) : std::string()) << c.tag;
        EXPECT_EQ(item->accessibilityTraits(), ui::AccessibilityTraits::Button) << c.tag;
    }
}

// A phone's top bar for a page book that reads aloud.
std::shared_ptr<PlayerActionTopBar> phoneReadAloudBar(const LXMVThemeVO& theme)
{
    auto bar = PlayerActionTopBar::create(ui::Rect(0, 0, 375, 50));
    bar->setTag(TopBar);
    auto book = std::make_shared<PXBookVO>();
    book->isReadAloudEnabled = true;
    bar->setBookVO(book);
    bar->addPlayerTopBarForIPhoneWithTheme(theme, 0);
    bar->layoutIfNeeded();
    return bar;
}

TEST_F(PlayerActionTopBarTest, PhoneDump)
{
    auto bar = phoneReadAloudBar(m_theme);
    uitest::expectMatchesFile(uitest::dumpViewTree(*bar), expectedPath("top_bar_phone.txt"));
}

// The bar's glyphs in a picture come from the bundle's icon font: painted again in the text
// face at the same size, each item's picture changes.
TEST_F(PlayerActionTopBarTest, TopBarGlyphsArePaintedFromTheIconFont)
{
    const std::string iconFont = LECTORO_BUNDLE_DIR "/" + MVLectoroFontManager::getFontName() + ".ttf";
    auto& registry = ui::FontRegistry::shared();
    ASSERT_TRUE(registry.registerFontFile(iconFont));
    ASSERT_TRUE(registry.registerFontFile(LECTORO_BUNDLE_DIR "/OpenSans-Regular.ttf"));

    auto bar = phoneReadAloudBar(m_theme);
    bar->layoutIfNeeded();

    printtest::TemporaryFolder folder;
    auto paint = [&](const std::string& name) {
        print::ImageOptions options;
        options.background = ui::Color::white();
        EXPECT_TRUE(print::writePNG(*bar, folder.file(name), options));
        return printtest::PngImage(folder.file(name));
    };
    const std::vector<int> tags { PlayerItemBackToBookshelf, PlayerItemReadAloud };
    auto icons = paint("icons.png");
    for (int tag : tags) {
        auto label = glyphLabel(*bar->itemWithTag(tag));
        EXPECT_EQ(print::fontFileFor(label->font()), iconFont) << tag;
        label->setFont(ui::Font("OpenSans-Regular", label->font().pointSize()));
    }
    auto letters = paint("letters.png");
    ASSERT_TRUE(icons.ok() && letters.ok());

    for (int tag : tags) {
        auto item = bar->itemWithTag(tag);
        ui::Rect area = item->convertRectTo(item->bounds(), bar.get());
        int differing = 0;
        int iconInk = 0;
        for (int y = static_cast<int>(area.minY()); y < static_cast<int>(area.maxY()); ++y) {
            for (int x = static_cast<int>(area.minX()); x < static_cast<int>(area.maxX()); ++x) {
                differing += printtest::sameColor(icons.pixel(x, y), letters.pixel(x, y)) ? 0 : 1;
                iconInk += printtest::sameColor(icons.pixel(x, y), ui::Color::white()) ? 0 : 1;
            }
        }
        EXPECT_GT(iconInk, 40) << tag;
        EXPECT_GT(differing, 40) << tag;
    }
}

} // namespace
} // namespace lectoro::chrometest
