#include "ChromeTestSupport.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionBottomBar.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "platform/testing/ExpectMatchesFile.h"
#include "platform/testing/ViewTreeDump.h"

namespace lectoro::chrometest {
namespace {

struct Switches {
    bool myData = false;
    bool search = false;
    bool penTool = false;
    bool stickyNotes = false;
    bool protractor = false;
    bool review = false;
    bool textAnnotation = false;
    bool clearAllFIBs = false;
    bool audioSync = false;
    bool furthestPage = false;
    bool classAssociation = false;
};

std::shared_ptr<MVReaderSettingModel> settingsFor(const Switches& s)
{
    auto model = std::make_shared<MVReaderSettingModel>();
    // My Data is on when highlights (or sticky notes) are; every other switch starts off.
    model->setIsHighLightEnabled(s.myData);
    model->setIsContextualNoteEnabled(false);
    model->setIsSearchEnabled(s.search);
    model->setIsPenToolEnabled(s.penTool);
    model->setIsStickyNotesEnabled(s.stickyNotes);
    model->setIsProtractorEnabled(s.protractor);
    model->setIsReviewEnabled(s.review);
    model->setIsTextAnnotationEnabled(s.textAnnotation);
    model->setIsClearAllFIBsEnabled(s.clearAllFIBs);
    model->setIsAudioSyncEnabled(s.audioSync);
    return model;
}

enum class Row { Portrait, Landscape };

struct BottomCase {
    const char* name;
    Device device;
    Row row;
    int isEpub;
    bool teacher;
    Switches switches;
    std::vector<int> tags;
    // Empty: every item is the portrait width (98 on a tablet, a sixth of the screen on a phone).
    std::vector<double> widths;
};

void PrintTo(const BottomCase& c, std::ostream* out)
{
    *out << c.name;
}

class PlayerActionBottomBarTest : public ChromeTest {
protected:
    std::shared_ptr<PlayerActionBottomBar> makeBar(const Switches& s)
    {
        auto bar = PlayerActionBottomBar::create();
        bar->setTag(BottomBar);
        bar->setUserSettingsModel(settingsFor(s));
        bar->setIsFurthestPageEnabled(s.furthestPage);
        bar->setHasClassAssociation(s.classAssociation);
        return bar;
    }
};

class PlayerActionBottomBarRows : public PlayerActionBottomBarTest,
                                  public ::testing::WithParamInterface<BottomCase> { };

TEST_P(PlayerActionBottomBarRows, ComposesTheRow)
{
    const BottomCase& c = GetParam();
    useDevice(c.device, c.row == Row::Portrait ? ui::Orientation::Portrait : ui::Orientation::LandscapeLeft);
    auto bar = makeBar(c.switches);
    if (c.row == Row::Portrait)
        bar->addPlayerBottomBarForPortraitMode(m_theme, c.isEpub, c.teacher);
    else
        bar->addPlayerBottomBarForLandscapeMode(m_theme, c.isEpub, c.teacher);

    EXPECT_EQ(tagsOf(*bar), c.tags);
    std::vector<double> expected = c.widths;
    if (expected.empty())
        expected.assign(c.tags.size(),
            c.device == Device::Pad ? 98.0 : ui::Environment::current().screenSize().width / 6);
    auto widths = widthsOf(*bar);
    ASSERT_EQ(widths.size(), expected.size());
    for (size_t i = 0; i < widths.size(); ++i)
        EXPECT_DOUBLE_EQ(widths[i], expected[i]) << "item " << i << " tag " << c.tags[i];
    for (const auto& item : bar->items()) {
        EXPECT_EQ(item->itemAlignment(), PlayerActionBarItemAlignmentCentre);
        EXPECT_TRUE(item->isTappable());
    }
}

constexpr double landscapePhone = 667;

INSTANTIATE_TEST_SUITE_P(Cases, PlayerActionBottomBarRows,
    ::testing::Values(
        // Page books, portrait.
        BottomCase { "learnerInClassPhone", Device::Phone, Row::Portrait, 0, false,
            { .myData = true,
                .search = true,
                .penTool = true,
                .stickyNotes = true,
                .classAssociation = true },
            { 1, 2, 7, 3, 4, 11 }, {} },
        BottomCase { "learnerInClassTablet", Device::Pad, Row::Portrait, 0, false,
            { .myData = true,
                .search = true,
                .penTool = true,
                .stickyNotes = true,
                .classAssociation = true },
            { 1, 2, 7, 3, 4, 6, 13 }, {} },
        BottomCase { "allOffPhone", Device::Phone, Row::Portrait, 0, false, { .classAssociation = true },
            { 1, 6 }, {} },
        BottomCase { "allOffTablet", Device::Pad, Row::Portrait, 0, false, { .classAssociation = true },
            { 1, 6 }, {} },
        BottomCase {
            "noClassTeacherStillSubmits", Device::Phone, Row::Portrait, 0, true, {}, { 1, 13, 6 }, {} },
        BottomCase {
            "noClassLearnerSubmitsTablet", Device::Pad, Row::Portrait, 0, false, {}, { 1, 6, 13 }, {} },
        BottomCase { "teacherReviewOffInClass", Device::Phone, Row::Portrait, 0, true,
            { .penTool = true, .classAssociation = true }, { 1, 3, 6 }, {} },
        BottomCase { "phoneCountExactlySix", Device::Phone, Row::Portrait, 0, true,
            { .myData = true,
                .search = true,
                .penTool = true,
                .stickyNotes = true,
                .classAssociation = true },
            { 1, 2, 7, 3, 4, 11 }, {} },
        BottomCase { "phoneProtractorBeforeClassWork", Device::Phone, Row::Portrait, 0, true,
            { .myData = true, .protractor = true, .review = true, .classAssociation = true },
            { 1, 2, 21, 12, 6 }, {} },
        BottomCase { "tabletProtractorAfterClassWork", Device::Pad, Row::Portrait, 0, true,
            { .myData = true, .protractor = true, .review = true, .classAssociation = true },
            { 1, 2, 6, 12, 21 }, {} },
        BottomCase { "phoneTailItems", Device::Phone, Row::Portrait, 0, false,
            { .textAnnotation = true, .clearAllFIBs = true, .furthestPage = true, .classAssociation = true },
            { 1, 6, 31, 19, 27 }, {} },
        BottomCase { "tabletCountSeven", Device::Pad, Row::Portrait, 0, true,
            { .myData = true,
                .review = true,
                .textAnnotation = true,
                .clearAllFIBs = true,
                .furthestPage = true,
                .classAssociation = true },
            { 1, 2, 6, 31, 12, 19, 27 }, {} },
        BottomCase { "phoneCountSeven", Device::Phone, Row::Portrait, 0, true,
            { .myData = true,
                .review = true,
                .textAnnotation = true,
                .clearAllFIBs = true,
                .furthestPage = true,
                .classAssociation = true },
            { 1, 2, 11 }, {} },
        BottomCase { "tabletCountEightKeepsThumbnails", Device::Pad, Row::Portrait, 0, false,
            { .myData = true,
                .search = true,
                .penTool = true,
                .stickyNotes = true,
                .protractor = true,
                .textAnnotation = true,
                .clearAllFIBs = true,
                .furthestPage = true },
            { 1, 2, 7, 3, 4, 6, 11 }, {} },
        // Fixed-layout EPUB, portrait.
        BottomCase { "fixedEpubPhoneCountSix", Device::Phone, Row::Portrait, 1, false,
            { .myData = true, .search = true, .penTool = true, .stickyNotes = true, .furthestPage = true },
            { 1, 2, 7, 3, 4, 11 }, {} },
        BottomCase { "fixedEpubTabletNeverMore", Device::Pad, Row::Portrait, 1, false,
            { .myData = true,
                .search = true,
                .penTool = true,
                .stickyNotes = true,
                .textAnnotation = true,
                .furthestPage = true },
            { 1, 2, 7, 3, 4, 6, 31, 19 }, {} },
        BottomCase { "fixedEpubPhoneCountFive", Device::Phone, Row::Portrait, 1, false,
            { .myData = true,
                .penTool = true,
                .protractor = true,
                .textAnnotation = true,
                .clearAllFIBs = true,
                .furthestPage = true },
            { 1, 2, 3, 6, 31, 19 }, {} },
        // Reflowable EPUB, portrait (its only row).
        BottomCase { "reflowAll", Device::Phone, Row::Portrait, 2, false,
            { .myData = true, .search = true, .penTool = true, .audioSync = true, .furthestPage = true },
            { 1, 2, 7, 14, 17, 31 }, {} },
        BottomCase { "reflowPlain", Device::Pad, Row::Portrait, 2, false,
            { .penTool = true, .protractor = true }, { 1, 17 }, {} },
        // Landscape rows.
        BottomCase { "landscapePhoneCountNine", Device::Phone, Row::Landscape, 0, false,
            { .myData = true,
                .search = true,
                .penTool = true,
                .stickyNotes = true,
                .protractor = true,
                .furthestPage = true,
                .classAssociation = true },
            { 1, 2, 7, 3, 4, 6, 31, 13, 21 },
            { landscapePhone / 9, landscapePhone / 9, landscapePhone / 9, landscapePhone / 9,
                landscapePhone / 9, landscapePhone / 9, landscapePhone / 6, landscapePhone / 9,
                landscapePhone / 9 } },
        BottomCase { "landscapeTeacherReview", Device::Phone, Row::Landscape, 0, true,
            { .review = true, .textAnnotation = true, .clearAllFIBs = true, .classAssociation = true },
            { 1, 6, 12, 19, 27 },
            { landscapePhone / 5, landscapePhone / 5, landscapePhone / 5, landscapePhone / 5,
                landscapePhone / 5 } },
        BottomCase { "landscapeFixedEpubUsesPageBookCount", Device::Phone, Row::Landscape, 1, false,
            { .myData = true, .penTool = true, .textAnnotation = true, .furthestPage = true },
            { 1, 2, 3, 6, 31, 19 },
            { landscapePhone / 7, landscapePhone / 7, landscapePhone / 7, landscapePhone / 7,
                landscapePhone / 6, landscapePhone / 6 } },
        BottomCase { "landscapeTablet", Device::Pad, Row::Landscape, 0, true,
            { .myData = true,
                .search = true,
                .penTool = true,
                .stickyNotes = true,
                .protractor = true,
                .review = true,
                .textAnnotation = true,
                .clearAllFIBs = true,
                .furthestPage = true,
                .classAssociation = true },
            { 1, 2, 7, 3, 4, 6, 31, 12, 21, 19, 27 }, {} }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerActionBottomBarTest, CountsItems)
{
    struct Case {
        const char* name;
        Switches switches;
        int teacher;
        int learner;
        int fixedEpub;
    };
    const Case cases[] = {
        { "nothing, in class", { .classAssociation = true }, 2, 2, 1 },
        { "nothing, no class", {}, 3, 3, 1 },
        { "pen in class", { .penTool = true, .classAssociation = true }, 3, 4, 2 },
        { "review in class", { .review = true, .classAssociation = true }, 3, 2, 1 },
        { "learner in class with the common tools",
            { .myData = true,
                .search = true,
                .penTool = true,
                .stickyNotes = true,
                .classAssociation = true },
            6, 7, 5 },
        { "everything",
            { .myData = true,
                .search = true,
                .penTool = true,
                .stickyNotes = true,
                .protractor = true,
                .review = true,
                .textAnnotation = true,
                .clearAllFIBs = true,
                .audioSync = true,
                .furthestPage = true,
                .classAssociation = true },
            11, 11, 7 },
    };
    for (const auto& c : cases) {
        auto bar = makeBar(c.switches);
        EXPECT_EQ(bar->getTotalNumberOfItems(true), c.teacher) << c.name;
        EXPECT_EQ(bar->getTotalNumberOfItems(false), c.learner) << c.name;
        EXPECT_EQ(bar->getTotalNumberOfItemsForFixedEpub(), c.fixedEpub) << c.name;
    }
}

TEST_F(PlayerActionBottomBarTest, NoSettingsModelReadsEverySwitchOff)
{
    auto bar = PlayerActionBottomBar::create();
    bar->setHasClassAssociation(true);
    EXPECT_EQ(bar->getTotalNumberOfItems(true), 2);
    bar->addPlayerBottomBarForPortraitMode(m_theme, 0, true);
    EXPECT_EQ(tagsOf(*bar), (std::vector<int> { 1, 6 }));
}

TEST_F(PlayerActionBottomBarTest, MoreItemGlyphDependsOnTheDevice)
{
    const Switches many { .myData = true,
        .search = true,
        .penTool = true,
        .stickyNotes = true,
        .protractor = true,
        .textAnnotation = true,
        .clearAllFIBs = true,
        .furthestPage = true };
    struct Case {
        Device device;
        int isEpub;
        const char* glyph;
    };
    for (const auto& c : { Case { Device::Phone, 0, "\xe1\xb8\xa0" },
             Case { Device::Phone, 1, "\xe1\xb8\xa0" }, Case { Device::Pad, 0, "\xc4\xbe" } }) {
        useDevice(c.device);
        auto bar = makeBar(many);
        bar->addPlayerBottomBarForPortraitMode(m_theme, c.isEpub, false);
        auto more = bar->itemWithTag(PlayerItemMore);
        ASSERT_TRUE(more) << deviceName(c.device) << c.isEpub;
        EXPECT_EQ(glyphOf(*more), c.glyph);
        EXPECT_EQ(bar->items().back(), more);
    }
}

TEST_F(PlayerActionBottomBarTest, ItemGlyphs)
{
    useDevice(Device::Pad);
    auto bar = makeBar({ .myData = true,
        .search = true,
        .penTool = true,
        .stickyNotes = true,
        .protractor = true,
        .review = true,
        .textAnnotation = true,
        .clearAllFIBs = true,
        .furthestPage = true,
        .classAssociation = true });
    bar->addPlayerBottomBarForLandscapeMode(m_theme, 0, true);
    const std::pair<int, const char*> glyphs[] = {
        { 1, ICON_TOC },
        { 2, ICON_MYDATA },
        { 7, ICON_SEARCH },
        { 3, ICON_PENTOOL },
        { 4, ICON_TAPPABLE_STICKY_NOTE },
        { 6, ICON_THUMBNAIL },
        { 31, STUDENT_TEACHER_ICON },
        { 12, TEACHER_ANNOTATION_ICON },
        { 21, ICON_PROTRACTOR },
        { 19, ICON_TEXTANNOTATION },
        { 27, ICON_CLEAR },
    };
    for (const auto& [tag, glyph] : glyphs)
        EXPECT_EQ(glyphOf(*bar->itemWithTag(tag)), glyph) << tag;

    auto submit = makeBar({});
    submit->addPlayerBottomBarForPortraitMode(m_theme, 0, false);
    EXPECT_EQ(glyphOf(*submit->itemWithTag(PlayerItemSubmitAnnotation)), ":");
    auto reflow = makeBar({});
    reflow->addPlayerBottomBarForPortraitMode(m_theme, 2, false);
    EXPECT_EQ(glyphOf(*reflow->itemWithTag(PlayerItemFontSetting)), ICON_FONTSETTING);
}

TEST_F(PlayerActionBottomBarTest, GlyphSizeAndColourFollowTheDevice)
{
    struct Case {
        Device device;
        double size;
    };
    for (const auto& c : { Case { Device::Phone, 20.8 }, Case { Device::Phone320, 16 },
             Case { Device::Pad, 23 }, Case { Device::NoIdiom, 20.8 } }) {
        useDevice(c.device);
        auto item = PlayerActionBottomBar::create()->getPlayerItemWithIcon(ICON_TOC, 1, m_theme);
        auto label = glyphLabel(*item);
        EXPECT_EQ(label->font().pointSize(), c.size) << deviceName(c.device);
        EXPECT_EQ(label->font().name(), "LectoroIcons");
        EXPECT_EQ(label->textColor(), ThemeColors::bottomIcons());
        EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::Top), 0.0);
        EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::CenterX), 0.0);
        EXPECT_EQ(constantOf(*label, ui::LayoutAttribute::Bottom), 0.0);
        EXPECT_EQ(item->subviews().size(), 1u);
    }
    // No main screen: a phone of width 0 still draws the ordinary phone glyphs.
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Phone);
    ui::Environment::current().setScreenSize({ 0, 0 });
    EXPECT_EQ(glyphLabel(*PlayerActionBottomBar::create()->getPlayerItemWithIcon(ICON_TOC, 1, m_theme))
                  ->font()
                  .pointSize(),
        20.8);
}

TEST_F(PlayerActionBottomBarTest, ReflowReadAloudStartsDisabled)
{
    struct Case {
        std::optional<bool> vemClient;
        const char* glyph;
    };
    for (const auto& c :
        { Case { std::nullopt, ICON_AUDIO_SYNC }, Case { false, ICON_AUDIO_SYNC }, Case { true, "i" } }) {
        if (c.vemClient)
            defaults().setBool("isVEMClient", *c.vemClient);
        else
            defaults().removeObjectForKey("isVEMClient");
        auto bar = makeBar({ .audioSync = true });
        bar->addPlayerBottomBarForPortraitMode(m_theme, 2, false);
        auto readAloud = bar->itemWithTag(PlayerItemReadAloud);
        ASSERT_TRUE(readAloud);
        EXPECT_EQ(glyphOf(*readAloud), c.glyph);
        EXPECT_FALSE(readAloud->isEnabled());
        EXPECT_EQ(readAloud->alpha(), 0.5);
        EXPECT_FALSE(bar->tapItem(*readAloud));
    }
}

TEST_F(PlayerActionBottomBarTest, ReadAloudOnlyInReflowableRows)
{
    for (int isEpub : { 0, 1 }) {
        auto bar = makeBar({ .audioSync = true });
        bar->addPlayerBottomBarForPortraitMode(m_theme, isEpub, false);
        EXPECT_FALSE(bar->itemWithTag(PlayerItemReadAloud)) << isEpub;
        EXPECT_FALSE(bar->itemWithTag(PlayerItemFontSetting)) << isEpub;
    }
}

TEST_F(PlayerActionBottomBarTest, ReflowThumbnailIsAppendedToTheCentredGroup)
{
    for (const auto& [device, width] :
        { std::pair { Device::Phone, 375.0 / 6 }, std::pair { Device::Pad, 98.0 } }) {
        useDevice(device);
        auto bar = makeBar({ .myData = true });
        bar->addPlayerBottomBarForPortraitMode(m_theme, 2, false);
        bar->addThumbnailIconToReflow(m_theme);
        EXPECT_EQ(tagsOf(*bar), (std::vector<int> { 1, 2, 17, 6 }));
        auto thumbnail = bar->items().back();
        EXPECT_DOUBLE_EQ(thumbnail->itemWidth(), width);
        EXPECT_EQ(thumbnail->itemAlignment(), PlayerActionBarItemAlignmentCentre);
        EXPECT_TRUE(thumbnail->isTappable());
        EXPECT_EQ(glyphOf(*thumbnail), ICON_THUMBNAIL);
    }
}

struct BottomAccessibilityCase {
    int tag;
    const char* elementID;
    const char* labelIdentifier;
};

TEST_F(PlayerActionBottomBarTest, AccessibilityByTag)
{
    const BottomAccessibilityCase cases[] = {
        { 1, "TOCButton", "playerItemTOC" },
        { 2, "MyDataButton", "playerItemMyData" },
        { 3, "PenToolButton", "playerItemPenTool" },
        { 4, "StickyNoteButton", "playerItemStickyNote" },
        { 6, "ThumbnailButton", "playerItemThumbnail" },
        { 7, "SearchButton", "playerItemSearch" },
        { 11, "MoreOptionButton", "playerItemVerticalBar" },
        { 12, "TeacherReviewButton", "playerItemTeacherReview" },
        { 13, "StudentSubmitButton", "playerItemSubmitAnnotation" },
        { 14, "SoundButton", "" },
        { 17, "FontSettingButton", "" },
        { 19, "AddTextButton", "playerItemAddText" },
        { 21, "ProtractorButton", "playerItemProtractor" },
        { 23, "AudioSyncSpeedDecreaseButton", "" },
        { 24, "AudioSyncSpeedIncreaseButton", "" },
        { 26, "MarkupCloseButton", "" },
        { 27, "ClearButton", "" },
        { 0, "", "" },
        { 5, "", "" },
        { 16, "", "" },
        { 22, "", "" },
        { 30, "", "" },
        { 31, "", "" },
        { 40, "", "" },
    };
    for (const auto& c : cases) {
        auto item = PlayerActionBarItem::createWithLabel(c.tag, "x");
        PlayerActionBottomBar::setAccessibilityForPlayerActionBottomBarItem(*item);
        EXPECT_EQ(item->accessibilityIdentifier(), c.elementID) << c.tag;
        EXPECT_EQ(item->accessibilityLabel(), *c.elementID ? spoken(c.elementID) : std::string()) << c.tag;
        EXPECT_EQ(item->firstLabel()->accessibilityIdentifier(), c.labelIdentifier) << c.tag;
        EXPECT_EQ(item->accessibilityTraits(), ui::AccessibilityTraits::Button) << c.tag;
    }
}

TEST_F(PlayerActionBottomBarTest, SpeedRateSpeaksItsLabelText)
{
    auto item = PlayerActionBarItem::createWithLabel(PlayerItemSpeedRate, "1.5x");
    PlayerActionBottomBar::setAccessibilityForPlayerActionBottomBarItem(*item);
    EXPECT_EQ(item->accessibilityIdentifier(), "AudioSyncSpeedRateLabel");
    EXPECT_EQ(item->accessibilityLabel(), spoken("AudioSyncSpeedRateLabel", "1.5x"));
    EXPECT_EQ(item->firstLabel()->accessibilityIdentifier(), "");
}

TEST_F(PlayerActionBottomBarTest, ItemsWithoutALabelKeepOnlyTheTrait)
{
    auto item = PlayerActionBarItem::create();
    item->setTag(PlayerItemTOC);
    PlayerActionBottomBar::setAccessibilityForPlayerActionBottomBarItem(*item);
    EXPECT_EQ(item->accessibilityIdentifier(), "");
    EXPECT_EQ(item->accessibilityTraits(), ui::AccessibilityTraits::Button);
}

TEST_F(PlayerActionBottomBarTest, PhonePortraitDump)
{
    auto bar = makeBar(
        { .myData = true, .search = true, .penTool = true, .stickyNotes = true, .classAssociation = true });
    bar->setFrame(ui::Rect(0, 0, 375, 50));
    bar->addPlayerBottomBarForPortraitMode(m_theme, 0, false);
    bar->layoutIfNeeded();
    uitest::expectMatchesFile(uitest::dumpViewTree(*bar), expectedPath("bottom_bar_phone_portrait.txt"));
}

} // namespace
} // namespace lectoro::chrometest
