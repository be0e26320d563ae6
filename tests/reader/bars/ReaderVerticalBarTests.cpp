#include "BarsTestSupport.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionAccessibility.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionItemBuilder.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionVerticalBarFiller.h"
#include "LectoroSDKWithReader/reader/chrome/ReaderVerticalBar.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "platform/ui/Label.h"

namespace lectoro {
namespace {

using barstest::Device;
using chrometest::tagsOf;

class PlayerActionVerticalBarFillerTest : public chrometest::ChromeTest {
protected:
    VerticalBarFillerInputs inputs(bool learner, bool association)
    {
        VerticalBarFillerInputs result;
        result.isLearner = learner;
        result.settings = m_settings;
        result.hasClassAssociation = association;
        return result;
    }

    std::shared_ptr<MVReaderSettingModel> m_settings = std::make_shared<MVReaderSettingModel>();
};

TEST_F(PlayerActionVerticalBarFillerTest, ReviewerOrStudentItem)
{
    struct Case {
        bool learner;
        bool review;
        bool penTool;
        bool association;
        int tag;
    };
    const Case cases[] = {
        { false, true, false, true, PlayerItemTeacherReview },
        { false, false, true, true, 0 },
        { true, true, false, true, 0 },
        { true, true, true, true, PlayerItemSubmitAnnotation },
        { false, true, true, false, PlayerItemSubmitAnnotation },
        { true, false, false, false, PlayerItemSubmitAnnotation },
    };
    for (const auto& c : cases) {
        m_settings->setIsReviewEnabled(c.review);
        m_settings->setIsPenToolEnabled(c.penTool);
        EXPECT_EQ(PlayerActionVerticalBarFiller(inputs(c.learner, c.association)).reviewerOrStudentItemTag(), c.tag)
            << c.learner << c.review << c.penTool << c.association;
    }
    // No settings model reads as every switch off.
    auto noModel = inputs(false, true);
    noModel.settings.reset();
    EXPECT_EQ(PlayerActionVerticalBarFiller(noModel).reviewerOrStudentItemTag(), 0);
}

TEST_F(PlayerActionVerticalBarFillerTest, FillerByDeviceBookAndMode)
{
    struct Case {
        const char* name;
        Device device;
        bool epub;
        bool teacherReview;
        bool allOn;
        std::vector<int> tags;
    };
    const Case cases[] = {
        { "phone, all on", Device::Phone, false, false, true, { 19, 12, 21, 6, 31, 27 } },
        { "phone, all off", Device::Phone, false, false, false, { 6 } },
        { "tablet, all on", Device::Pad, false, false, true, { 31, 19, 12, 21, 27 } },
        { "tablet, all off", Device::Pad, false, false, false, {} },
        { "tablet EPUB: no EPUB filler on a tablet", Device::Pad, true, false, true, { 31, 19, 12, 21, 27 } },
        { "phone EPUB, all on", Device::Phone, true, false, true, { 6, 19, 31 } },
        { "phone EPUB wins over review", Device::Phone, true, true, true, { 6, 19, 31 } },
        { "phone EPUB, all off", Device::Phone, true, false, false, { 6 } },
        { "phone review", Device::Phone, false, true, true, { 3, 11 } },
        { "tablet review", Device::Pad, false, true, false, { 3, 11 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        useDevice(static_cast<chrometest::Device>(c.device));
        for (auto setter : { &MVReaderSettingModel::setIsTextAnnotationEnabled, &MVReaderSettingModel::setIsReviewEnabled,
                 &MVReaderSettingModel::setIsProtractorEnabled, &MVReaderSettingModel::setIsClearAllFIBsEnabled })
            ((*m_settings).*setter)(c.allOn);
        auto given = inputs(false, true);
        given.isFurthestPageEnabled = c.allOn;
        int clearAllUpdates = 0;
        given.updateClearAllFIBsButtonStatus = [&] { ++clearAllUpdates; };
        auto bar = PlayerActionBar::create();
        int count = PlayerActionVerticalBarFiller(given).fillVerticalBar(m_theme, *bar, c.teacherReview, c.epub);
        EXPECT_EQ(tagsOf(*bar), c.tags);
        EXPECT_EQ(count, static_cast<int>(c.tags.size()));
        // The clear-all item is given its state right after it is added.
        EXPECT_EQ(clearAllUpdates, std::count(c.tags.begin(), c.tags.end(), 27));
        for (const auto& item : bar->items()) {
            EXPECT_TRUE(item->isTappable());
            EXPECT_EQ(item->itemAlignment(), PlayerActionBarItemAlignmentFill);
        }
    }
}

TEST_F(PlayerActionVerticalBarFillerTest, TeacherFillerDimsWhatCannotBeUsed)
{
    auto penItem = PlayerActionBarItem::createWithLabel(PlayerItemTeacherPenToolDimmed, "x");
    for (bool activeUGC : { false, true }) {
        auto given = inputs(false, true);
        given.currentPageHasActiveUGC = activeUGC;
        std::vector<int> asked;
        given.getPenToolItemWithTag = [&](int tag) {
            asked.push_back(tag);
            return penItem;
        };
        auto bar = PlayerActionBar::create();
        EXPECT_EQ(PlayerActionVerticalBarFiller(given).addItemsOnPlayerActionVerticalBarForTeacherAnnotationForIPhone(
                      m_theme, *bar),
            2);
        auto remove = bar->itemWithTag(PlayerItemTeacherDelete);
        EXPECT_DOUBLE_EQ(remove->alpha(), activeUGC ? 1.0 : 0.5);
        EXPECT_EQ(remove->isUserInteractionEnabled(), activeUGC);
        EXPECT_EQ(asked, std::vector<int> { PlayerItemTeacherPenToolDimmed });
        EXPECT_DOUBLE_EQ(penItem->alpha(), 0.5);
        EXPECT_FALSE(penItem->isUserInteractionEnabled());
    }
    // No pen-tool bar: nothing to dim.
    auto bar = PlayerActionBar::create();
    EXPECT_EQ(PlayerActionVerticalBarFiller(inputs(false, true)).addItemsOnPlayerActionVerticalBarForTeacherAnnotationForIPad(
                  m_theme, *bar),
        2);
}

class PlayerActionItemBuilderTest : public chrometest::ChromeTest { };

TEST_F(PlayerActionItemBuilderTest, EachBuilderMakesItsGlyphItem)
{
    using Build = std::shared_ptr<PlayerActionBarItem> (PlayerActionItemBuilder::*)() const;
    struct Case {
        const char* name;
        Build build;
        int tag;
        std::string text;
        // Font size on a phone, a 320-point phone and a tablet.
        double phone, narrow, pad;
        bool companionFace;
        ui::Color color;
        bool wide;
        const char* identifier;
    };
    const auto pen = chrometest::ThemeColors::penIcons();
    const auto side = chrometest::ThemeColors::bottomIcons();
    const Case cases[] = {
        { "protractor", &PlayerActionItemBuilder::getPlayerItemForProtractor, 21, ICON_PROTRACTOR, 20.8, 16, 23, true, pen, false, PLAYER_PROTRACTOR },
        { "furthest page", &PlayerActionItemBuilder::getPlayerItemForFurthestPage, 31, STUDENT_TEACHER_ICON, 20.8, 16, 23, true, pen, false, "" },
        { "clear all", &PlayerActionItemBuilder::getPlayerItemForClearAllFIBs, 27, ICON_CLEAR, 20.8, 16, 23, true, pen, false, "" },
        { "text annotation", &PlayerActionItemBuilder::getPlayerItemForTextAnnotation, 19, ICON_TEXTANNOTATION, 18, 18, 22, true, pen, true, PLAYER_ADD_TEXT },
        { "thumbnail", &PlayerActionItemBuilder::getPlayerItemForThumbnail, 6, ICON_THUMBNAIL, 18, 18, 22, true, pen, true, PLAYER_THUMBNAIL },
        { "audio sync", &PlayerActionItemBuilder::getPlayerItemForAudioSync, 14, ICON_AUDIO_SYNC, 18, 18, 22, true, pen, true, "" },
        { "teacher review", &PlayerActionItemBuilder::getPlayerItemForTeacherReview, 12, TEACHER_ANNOTATION_ICON, 22, 22, 22, true, pen, true, PLAYER_TEACHER_REVIEW },
        { "student annotation", &PlayerActionItemBuilder::getPlayerItemForStudentAnnotation, 13, ":", 22, 22, 22, true, pen, true, PLAYER_SUBMIT_ANNOTATION },
        { "done", &PlayerActionItemBuilder::getPlayerItemForDoneText, 11, chrometest::localized("DONE"), 18, 18, 22, false, pen, true, "" },
        { "sound", &PlayerActionItemBuilder::getPlayerItemForSound, 14, "i", 20.8, 16, 23, true, side, false, "" },
        { "play", &PlayerActionItemBuilder::getPlayerItemForPlay, 15, "L", 20.8, 16, 23, true, side, false, "" },
    };
    for (auto device : { Device::Phone, Device::Phone320, Device::Pad }) {
        useDevice(device);
        PlayerActionItemBuilder builder(m_theme);
        const double inset = device == Device::Pad ? 15 : 12;
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " on " + chrometest::deviceName(device));
            auto item = (builder.*c.build)();
            EXPECT_EQ(item->tag(), c.tag);
            EXPECT_EQ(item->frame(), ui::Rect());
            auto label = item->firstLabel();
            ASSERT_TRUE(label);
            EXPECT_EQ(label->text(), c.text);
            EXPECT_EQ(label->textAlignment(), ui::TextAlignment::Center);
            EXPECT_EQ(label->textColor(), c.color);
            const double size = device == Device::Pad ? c.pad : device == Device::Phone320 ? c.narrow : c.phone;
            EXPECT_DOUBLE_EQ(label->font().pointSize(), size);
            if (c.companionFace) {
                EXPECT_EQ(label->font().name(), MVLectoroFontManager::getFontName());
            }
            const double width = c.wide ? 60 : (device == Device::Pad ? 46 : 42);
            EXPECT_EQ(chrometest::constantOf(*label, ui::LayoutAttribute::Width), width);
            EXPECT_EQ(chrometest::constantOf(*label, ui::LayoutAttribute::Top), inset);
            EXPECT_EQ(chrometest::constantOf(*label, ui::LayoutAttribute::Bottom), -inset);
            EXPECT_EQ(chrometest::constantOf(*label, ui::LayoutAttribute::CenterX), 0);
            EXPECT_EQ(label->accessibilityIdentifier(), c.identifier);
        }
    }
}

TEST_F(PlayerActionItemBuilderTest, DeleteItemTakesTouchesOnlyAtFullAlpha)
{
    PlayerActionItemBuilder builder(m_theme);
    for (double alpha : { 1.0, 0.5, 0.99, 0.0 }) {
        auto item = builder.getPlayerItemForDeleteWithAlpha(alpha);
        EXPECT_EQ(item->tag(), PlayerItemTeacherDelete);
        EXPECT_DOUBLE_EQ(item->alpha(), alpha);
        EXPECT_EQ(item->isUserInteractionEnabled(), alpha == 1.0) << alpha;
        EXPECT_EQ(item->firstLabel()->text(), ICON_CLEAR);
    }
}

TEST_F(PlayerActionItemBuilderTest, SeparatorIsAOnePointLine)
{
    PlayerActionItemBuilder builder(m_theme);
    auto item = builder.getPlayerItemForVerticalBar();
    EXPECT_EQ(item->tag(), 0);
    ASSERT_EQ(item->subviews().size(), 1u);
    const auto& line = *item->subviews().front();
    EXPECT_EQ(line.backgroundColor(), chrometest::ThemeColors::bottomIcons());
    EXPECT_EQ(chrometest::constantOf(line, ui::LayoutAttribute::Width), 1);
    EXPECT_EQ(chrometest::constantOf(line, ui::LayoutAttribute::Top), 5);
    EXPECT_EQ(chrometest::constantOf(line, ui::LayoutAttribute::Bottom), -5);
}

class ReaderVerticalBarTest : public barstest::BarsTest {
protected:
    ReaderVerticalBar& verticalBar() { return m_reader->verticalBar(); }
};

TEST_F(ReaderVerticalBarTest, BarIsSizedByItsItemsAndTaggedByMode)
{
    m_settings->setIsTextAnnotationEnabled(true);
    m_settings->setIsProtractorEnabled(true);
    m_settings->setIsClearAllFIBsEnabled(false);
    context().currentBook = std::make_shared<PXBookVO>();
    struct Case {
        Device device;
        uint64_t activeMode;
        int barTag;
        double height;
    };
    const Case cases[] = {
        // Text annotation, submit (no class), protractor, thumbnail.
        { Device::Phone, ReaderActiveModeNone, BottomBar, 4 * 45 },
        // Text annotation, submit, protractor.
        { Device::Pad, ReaderActiveModeNone, BottomBar, 3 * 50 },
        { Device::Phone, ReaderActiveModeTeacherReview, TeacherBar, 2 * 45 },
        { Device::Pad, ReaderActiveModeTeacherReview, TeacherBar, 2 * 50 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(chrometest::deviceName(c.device));
        useDevice(c.device);
        context().activeMode = c.activeMode;
        verticalBar().addPlayerVerticalBarForTeacherView();
        auto container = verticalBar().viewForVerticalPlayerActionBar();
        auto bar = verticalBar().playerActionVerticalBar();
        ASSERT_TRUE(container && bar);
        EXPECT_EQ(container->superview(), readerView());
        EXPECT_EQ(container->frame(), readerView()->bounds());
        EXPECT_EQ(bar->superview(), container);
        EXPECT_EQ(bar->tag(), c.barTag);
        EXPECT_EQ(bar->playerActionBarAlignmentMode(), PlayerActionBarAlignmentVertical);
        EXPECT_EQ(bar->delegate().get(), static_cast<PlayerActionDelegate*>(m_reader.get()));
        EXPECT_EQ(bar->backgroundColor(), chrometest::ThemeColors::penBackground());
        EXPECT_DOUBLE_EQ(bar->frame().height(), c.height);
        // Inside the view (the place by device and mode is the teacher-review tests' concern).
        EXPECT_LE(bar->frame().maxY(), readerView()->bounds().height());
        EXPECT_GE(bar->frame().minX(), 0);
    }
}

TEST_F(ReaderVerticalBarTest, TapOutsideTheItemsClosesIt)
{
    verticalBar().addPlayerVerticalBarForTeacherView();
    auto first = verticalBar().viewForVerticalPlayerActionBar();
    ASSERT_TRUE(first);
    verticalBar().addPlayerVerticalBarForTeacherView();
    auto second = verticalBar().viewForVerticalPlayerActionBar();
    EXPECT_FALSE(first->superview());
    ASSERT_TRUE(uitest::tap(*second));
    EXPECT_FALSE(verticalBar().viewForVerticalPlayerActionBar());
    EXPECT_FALSE(second->superview());
    // Closing again is harmless.
    verticalBar().removeVerticalBarViewForTeacherReview();
    verticalBar().removePlayerActionVerticalBar();
}

TEST_F(ReaderVerticalBarTest, ItemTapsReachTheReaderAsMainOrTeacherBarTaps)
{
    context().currentBook = std::make_shared<PXBookVO>();
    verticalBar().addPlayerVerticalBarForTeacherView();
    auto bar = verticalBar().playerActionVerticalBar();
    ASSERT_TRUE(bar->itemWithTag(PlayerItemThumbnail));
    // The thumbnail item closes the bar before the browser would open.
    ASSERT_TRUE(bar->tapItemWithTag(PlayerItemThumbnail));
    EXPECT_FALSE(verticalBar().viewForVerticalPlayerActionBar());

    context().activeMode = ReaderActiveModeTeacherReview;
    context().isDragBoxModeEnabled = true;
    verticalBar().addPlayerVerticalBarForTeacherView();
    bar = verticalBar().playerActionVerticalBar();
    ASSERT_TRUE(bar->tapItemWithTag(PlayerItemDone));
    // Dispatched as a teacher-bar tap: drag-box mode goes off.
    EXPECT_FALSE(context().isDragBoxModeEnabled);
    EXPECT_FALSE(verticalBar().viewForVerticalPlayerActionBar());
}

} // namespace
} // namespace lectoro
