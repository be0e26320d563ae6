#include "BarsTestSupport.h"

#include "LectoroSDKWithReader/reader/ReaderActionDispatcher.h"
#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/ReaderViewControllerDelegate.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/reader/chrome/ReaderVerticalBar.h"
#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXPageVO.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Label.h"

#include <map>

namespace lectoro {
namespace {

using barstest::addItem;
using barstest::makeBar;

const std::vector<std::string> commonFirstStep = { "removeVerticalBarViewForTeacherReview", "removeSpeedSelectionView" };
constexpr const char* swatch = "#112233";

std::vector<std::string> concat(std::vector<std::string> first, const std::vector<std::string>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// Pages 1 to 5 in book order; pages 2 and 4 carry audio-sync markups.
std::shared_ptr<PXBookVO> makeAudioPageBook()
{
    auto book = std::make_shared<PXBookVO>();
    for (int64_t id = 1; id <= 5; ++id) {
        auto page = std::make_shared<PXPageVO>();
        page->pageID = id;
        page->displayNum = std::to_string(id);
        if (id == 2 || id == 4) {
            auto link = std::make_shared<PXLinkVO>();
            link->audioSync = base::Value::List { base::Value("word") };
            page->linkOrder.push_back(link);
        }
        book->pages[std::to_string(id)] = page;
        book->pageList.push_back(page);
    }
    return book;
}

std::shared_ptr<EPUBBookVO> makeEpub(int layout, bool thumbnailsSupported = false)
{
    auto book = std::make_shared<EPUBBookVO>();
    book->meta.layout = layout;
    book->isLectoroEpubThumbnailSupported = thumbnailsSupported;
    return book;
}

class ReaderActionDispatcherTest : public barstest::BarsTest {
protected:
    void SetUp() override
    {
        BarsTest::SetUp();
        m_router = std::make_unique<barstest::RecordingRouter>(*m_reader);
        m_dispatcher = std::make_unique<ReaderActionDispatcher>(context(), *m_router);
        context().currentBook = std::make_shared<PXBookVO>();
        context().analyticsHandler = std::make_shared<MVLectoroAnalyticsHandler>();
    }

    void TearDown() override
    {
        m_dispatcher.reset();
        m_router.reset();
        BarsTest::TearDown();
    }

    // One tap on an item of a bar with the tag; answers the operations it reached.
    std::vector<std::string> tap(int barTag, int itemTag, std::optional<std::string> penColor = swatch)
    {
        auto bar = makeBar(barTag);
        auto item = addItem(*bar, itemTag, std::move(penColor));
        m_router->calls.clear();
        m_dispatcher->didTapOnPlayerActionBar(*bar, *item);
        return m_router->calls;
    }

    std::vector<std::string> liveEventNames() const
    {
        std::vector<std::string> names;
        for (const auto& event : m_analytics->live)
            names.push_back(event.name.value_or("nil"));
        return names;
    }

    std::unique_ptr<barstest::RecordingRouter> m_router;
    std::unique_ptr<ReaderActionDispatcher> m_dispatcher;
};

// Every (bar, item) pair that reaches something, with what it reaches after the common
// first step (and, for the pen-tool and teacher bars, after their own first steps), for a
// page book on a phone while online. Every pair not listed must reach nothing more.
struct Route {
    int bar;
    int item;
    std::vector<std::string> calls;
};

const std::vector<Route>& routes()
{
    static const std::vector<Route> table = {
        { BottomBar, 1, { "didTapOnTOCButton(nil)" } },
        { BottomBar, 2, { "showMyData(nil)" } },
        { BottomBar, 3, { "actionForPentool" } },
        { BottomBar, 4, { "showStickyNote" } },
        { BottomBar, 6, { "removeVerticalBarViewForTeacherReview", "actionForThumbnail" } },
        { BottomBar, 7, { "addSearchForText(\"\",0)" } },
        { BottomBar, 11, { "addPlayerVerticalBarForTeacherView" } },
        { BottomBar, 12, { "removeVerticalBarViewForTeacherReview", "actionForTeacherReview" } },
        { BottomBar, 13, { "actionForSubmitAnotation" } },
        { BottomBar, 14, { "showReadAloudController" } },
        { BottomBar, 17, { "showReflowableLayoutSettingControllerView(17)" } },
        { BottomBar, 19, { "actionForTextAnnotation" } },
        { BottomBar, 21, { "didTapOnProtractor" } },
        { BottomBar, 22, { "didTapOnBackButton" } },
        { BottomBar, 27, { "didTapOnClearAllFIBs" } },
        { BottomBar, 30, { "didTapOnPrintPageWithWatermark" } },
        { BottomBar, 31, { "actionForFurtherPage" } },

        { PenToolBar, 0, { "actionForPentoolDrawingMode" } },
        { PenToolBar, 1, { "setPenMode(0)", "actionForPenToolThicknessSelected" } },
        { PenToolBar, 2, { "actionForPentoolErase" } },
        { PenToolBar, 3, { "setPenMode(0)", "actionForPentoolDeleteSelection" } },
        { PenToolBar, 5, { "actionForPentoolUndoDrawing" } },
        { PenToolBar, 11, { "actionForPentool" } },
        { PenToolBar, 18, { "didSelectPenColor(#112233)" } },

        { TextAnnotationBar, 1, { "removeTextAnnotationView" } },
        { TextAnnotationBar, 2, { "addTextAnnotationAlignmentView", "removeTextAnnotationColorView" } },
        { TextAnnotationBar, 3, { "addTextAnnotationTextColorView", "removeTextAnnotationAlignmentView" } },
        { TextAnnotationBar, 4,
            { "actionForTextAnnotation", "removeTextAnnotationColorView", "removeTextAnnotationAlignmentView" } },
        { TextAnnotationBar, 5, { "removeTextAnnotationView" } },
        { TextAnnotationBar, 6, { "actionForDeleteTextAnnotation" } },
        { TextAnnotationBar, 7, { "actionForTextAnnotationKeyBoard" } },

        { TextAlignmentBar, 1, { "removeTextAnnotationAlignmentView" } },
        { TextAlignmentBar, 2, { "removeTextAnnotationAlignmentView" } },
        { TextAlignmentBar, 3, { "removeTextAnnotationAlignmentView" } },

        // The test theme has no pop-up colours, so each colour is marked as "".
        { TextColorBar, 1, { "setTextAnnotationSelectedColor()", "removeTextAnnotationColorView" } },
        { TextColorBar, 2, { "setTextAnnotationSelectedColor()", "removeTextAnnotationColorView" } },
        { TextColorBar, 3, { "setTextAnnotationSelectedColor()", "removeTextAnnotationColorView" } },
        { TextColorBar, 4, { "setTextAnnotationSelectedColor()", "removeTextAnnotationColorView" } },
        { TextColorBar, 5, { "setTextAnnotationSelectedColor()", "removeTextAnnotationColorView" } },
        { TextColorBar, 6, { "setTextAnnotationSelectedColor()", "removeTextAnnotationColorView" } },
        { TextColorBar, 7, { "setTextAnnotationSelectedColor()", "removeTextAnnotationColorView" } },
        { TextColorBar, 8, { "setTextAnnotationSelectedColor()", "removeTextAnnotationColorView" } },
        { TextColorBar, 9, { "setTextAnnotationSelectedColor()", "removeTextAnnotationColorView" } },
        { TextColorBar, 10, { "setTextAnnotationSelectedColor()", "removeTextAnnotationColorView" } },

        { ReadAloudBar, 15, { "playPauseAudioSyncIfAny" } },
        { ReadAloudBar, 23, { "getActivePageIDs", "enableNextPrevButtonForReadAloud" } },
        { ReadAloudBar, 24, { "getActivePageIDs", "enableNextPrevButtonForReadAloud" } },
        { ReadAloudBar, 26, { "stopAudioSyncIfAny", "removeReadAloudTopBar" } },

        { AudioSyncBar, 15, { "playPauseAudioSyncIfAny" } },
        { AudioSyncBar, 26, { "closeAudioSync", "moveTopAndBottomOnScreen(1)" } },
        { AudioSyncBar, 29, { "addSpeedSelectionView" } },
        { AudioSyncBar, 32, { "didSelectAudioSyncColor(#112233)" } },
        { AudioSyncBar, 33, { "selectAudioSyncColorPalleteSelectionButton(1)", "actionForAudioSyncColorPalletePicker" } },

        { TeacherBar, 0, { "actionForTeacherReviewPenColorPalletePicker" } },
        { TeacherBar, 2, { "didSelectEraserForTeacherReview" } },
        { TeacherBar, 3, { "removeVerticalBarViewForTeacherReview", "didSelectDeleteForTeacherReview" } },
        { TeacherBar, 4, { "saveTeacherReviewedDataWhenUseTapOnStudentname" } },
        { TeacherBar, 5, { "actionForPentoolUndoDrawing" } },
        { TeacherBar, 6, { "actionForThumbnail" } },
        { TeacherBar, 7, { "addPlayerVerticalBarForTeacherView" } },
        { TeacherBar, 8, { "didClickOnPageButton(8)" } },
        { TeacherBar, 9, { "didClickOnPageButton(9)" } },
        { TeacherBar, 11, { "removeVerticalBarViewForTeacherReview", "didSelectDoneForTeacherReview" } },
        { TeacherBar, 16, { "backToStudentList" } },
        { TeacherBar, 18, { "didSelectPenColorForTeacherReview(#112233)" } },
        { TeacherBar, 34, { "didSelectDragBoxForTeacherReview" } },
        { TeacherBar, 35, { "didTapOnGenerateReportButton" } },
        { TeacherBar, 36, { "jumpToNextStudent" } },
        { TeacherBar, 37, { "jumpToPreviousStudent" } },
    };
    return table;
}

TEST_F(ReaderActionDispatcherTest, EveryBarAndItemReachesExactlyItsOperation)
{
    std::map<std::pair<int, int>, std::vector<std::string>> expected;
    for (const auto& route : routes())
        expected[{ route.bar, route.item }] = route.calls;

    for (int bar : { int(BottomBar), int(PenToolBar), int(TextAnnotationBar), int(TextAlignmentBar), int(TextColorBar),
             int(ReadAloudBar), int(AudioSyncBar), int(TeacherBar) }) {
        // The pen-tool and teacher bars refresh the pen buttons before any item.
        std::vector<std::string> prefix = commonFirstStep;
        if (bar == PenToolBar || bar == TeacherBar)
            prefix.push_back("updatePentoolButtonStatus");
        for (int item = -1; item <= 41; ++item) {
            auto found = expected.find({ bar, item });
            auto want = concat(prefix, found == expected.end() ? std::vector<std::string>() : found->second);
            EXPECT_EQ(tap(bar, item), want) << "bar " << bar << " item " << item;
        }
    }
}

TEST_F(ReaderActionDispatcherTest, MainBarsShareOneTableAndOtherBarTagsDoNothing)
{
    for (int bar : { 0, 1, 2, 3 })
        EXPECT_EQ(tap(bar, PlayerItemPenTool), concat(commonFirstStep, { "actionForPentool" })) << bar;
    for (int bar : { 9, 10, 13, 40, -1 }) {
        for (int item : { 0, 1, 3, 11, 18, 26, 34 })
            EXPECT_EQ(tap(bar, item), commonFirstStep) << "bar " << bar << " item " << item;
    }
}

TEST_F(ReaderActionDispatcherTest, ThumbnailItemOpensTheBrowserTheBookCallsFor)
{
    struct Case {
        const char* name;
        std::shared_ptr<LectoroBookVO> book;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        { "page book", std::make_shared<PXBookVO>(), { "removeVerticalBarViewForTeacherReview", "actionForThumbnail" } },
        { "no book", nullptr, { "removeVerticalBarViewForTeacherReview", "actionForThumbnail" } },
        { "fixed EPUB, browser supported", makeEpub(1, true), { "actionForThumbnail" } },
        { "fixed EPUB", makeEpub(1), { "actionForFixedEpubThumbnail" } },
        { "reflowable EPUB", makeEpub(0, true), { "actionForReflowThumbnail" } },
        { "EPUB of layout 2", makeEpub(2, true), {} },
    };
    for (const auto& c : cases) {
        context().currentBook = c.book;
        EXPECT_EQ(tap(BottomBar, PlayerItemThumbnail), concat(commonFirstStep, c.calls)) << c.name;
    }
}

TEST_F(ReaderActionDispatcherTest, SearchItemSearchesTheKeptText)
{
    EXPECT_EQ(tap(BottomBar, PlayerItemSearch), concat(commonFirstStep, { "addSearchForText(\"\",0)" }));
    m_reader->search().addSearchForText("photosynthesis", true);
    EXPECT_EQ(tap(BottomBar, PlayerItemSearch), concat(commonFirstStep, { "addSearchForText(\"photosynthesis\",0)" }));
}

TEST_F(ReaderActionDispatcherTest, OnlyTeacherReviewAndReadAloudSendEventsAndBeforeTheirAction)
{
    std::map<std::string, size_t> eventsSeenAtCall;
    m_router->onCall = [&](const std::string& call) { eventsSeenAtCall[call] = m_analytics->live.size(); };

    tap(BottomBar, PlayerItemTeacherReview);
    EXPECT_EQ(liveEventNames(), std::vector<std::string> { "teacher_review_data_live" });
    EXPECT_EQ(eventsSeenAtCall["actionForTeacherReview"], 1u);
    EXPECT_TRUE(m_analytics->live.front().info.isNull());

    tap(BottomBar, PlayerItemReadAloud);
    EXPECT_EQ(liveEventNames(), (std::vector<std::string> { "teacher_review_data_live", "read_aloud_data_live" }));
    EXPECT_EQ(eventsSeenAtCall["showReadAloudController"], 2u);

    context().currentBook = makeEpub(0);
    EXPECT_EQ(tap(BottomBar, PlayerItemReadAloud), concat(commonFirstStep, { "showReadAloudController" }));
    EXPECT_EQ(m_analytics->live.size(), 3u);

    // Without a book of either kind the audio-sync player opens, and nothing is reported.
    context().currentBook.reset();
    EXPECT_EQ(tap(BottomBar, PlayerItemReadAloud), concat(commonFirstStep, { "didTapOnAudioSyncIcon" }));
    EXPECT_EQ(m_analytics->live.size(), 3u);

    for (const auto& route : routes()) {
        if (route.bar == BottomBar && (route.item == PlayerItemTeacherReview || route.item == PlayerItemReadAloud
                || route.item == PlayerItemBackToBookshelf))
            continue;
        tap(route.bar, route.item);
    }
    // The dispatcher itself sends nothing more; the contents panel and the pen tool report
    // their own opening.
    auto names = liveEventNames();
    ASSERT_GE(names.size(), 3u);
    for (size_t index = 3; index < names.size(); ++index)
        EXPECT_TRUE(names[index] == "toc_icon_use_live" || names[index] == "pen_tool_data_live") << names[index];
}

TEST_F(ReaderActionDispatcherTest, TeacherDeleteNeedsTheNetwork)
{
    auto teacherTop = makeBar(TeacherBar);
    auto selected = addItem(*teacherTop, PlayerItemTeacherDelete);
    context().penToolActionBarView = teacherTop;

    m_network->online = false;
    teacherTop->tapItem(*selected);
    ASSERT_EQ(teacherTop->getSelectedItem(), selected);
    m_router->calls.clear();
    m_dispatcher->didTapOnPlayerActionBar(*teacherTop, *selected);

    EXPECT_EQ(m_router->calls, concat(commonFirstStep, { "updatePentoolButtonStatus" }));
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "");
    EXPECT_EQ(alert->message(), chrometest::localized("INTERNET_UNAVAILABLE_MESSAGE"));
    EXPECT_FALSE(teacherTop->getSelectedItem());
    EXPECT_TRUE(uitest::tapAction(chrometest::localized("OK")));
    uitest::completePresentations();

    m_network->online = true;
    EXPECT_EQ(tap(TeacherBar, PlayerItemTeacherDelete),
        concat(commonFirstStep,
            { "updatePentoolButtonStatus", "removeVerticalBarViewForTeacherReview", "didSelectDeleteForTeacherReview" }));
    EXPECT_FALSE(uitest::topmostAlert());
}

TEST_F(ReaderActionDispatcherTest, AnyTeacherTapButTheDragBoxTurnsDragBoxModeOff)
{
    for (int item : { 0, 2, 3, 11, 18, 35, 99 }) {
        context().isDragBoxModeEnabled = true;
        m_renderer->clearCalls();
        tap(TeacherBar, item);
        EXPECT_FALSE(context().isDragBoxModeEnabled) << item;
        auto call = m_renderer->lastCall("setTeacherReviewDragBoxModeEnabled");
        ASSERT_TRUE(call) << item;
        EXPECT_EQ(call->arguments, base::Value(base::Value::List { false })) << item;
    }
    context().isDragBoxModeEnabled = true;
    m_renderer->clearCalls();
    tap(TeacherBar, PlayerItemDragBox);
    EXPECT_TRUE(context().isDragBoxModeEnabled);
    EXPECT_EQ(m_renderer->countOf("setTeacherReviewDragBoxModeEnabled"), 0u);

    // Mode off: no renderer call either.
    context().isDragBoxModeEnabled = false;
    tap(TeacherBar, PlayerItemTeacherEraser);
    EXPECT_EQ(m_renderer->countOf("setTeacherReviewDragBoxModeEnabled"), 0u);
}

TEST_F(ReaderActionDispatcherTest, TeacherSwatchMarksTheColourOnTheBarThatHoldsTheSwatches)
{
    for (auto device : { barstest::Device::Phone, barstest::Device::Pad }) {
        useDevice(device);
        auto top = PlayerActionTopBar::create();
        auto bottom = PlayerActionTopBar::create();
        top->setTag(TeacherBar);
        bottom->setTag(TeacherBar);
        for (auto& bar : { top, bottom })
            bar->addActionBarItem(bar->getPenToolColorPalleteItemForColor("#82F675", *m_theme, ""), 40, 0, true);
        context().penToolActionBarView = top;
        context().penToolActionBottomBarView = bottom;

        tap(TeacherBar, PlayerItemPenColorSwatch, std::string("#82F675"));
        auto ring = [](const PlayerActionBar& bar) {
            for (const auto& subview : bar.itemWithTag(PlayerItemPenColorSwatch)->subviews()) {
                if (auto swatchView = std::dynamic_pointer_cast<HighLightToolView>(subview))
                    return swatchView->borderView()->layer()->borderColor();
            }
            return ui::Color::black();
        };
        auto& marked = device == barstest::Device::Pad ? top : bottom;
        auto& other = device == barstest::Device::Pad ? bottom : top;
        EXPECT_EQ(ring(*marked), chrometest::ThemeColors::penSelectedBackground()) << chrometest::deviceName(device);
        EXPECT_EQ(ring(*other), ui::Color::clear()) << chrometest::deviceName(device);
    }
}

TEST_F(ReaderActionDispatcherTest, SwatchWithoutAColourReachesNothing)
{
    EXPECT_EQ(tap(PenToolBar, PlayerItemPenColorSwatch, std::nullopt),
        concat(commonFirstStep, { "updatePentoolButtonStatus" }));
    EXPECT_EQ(tap(AudioSyncBar, PlayerItemAudioSyncColorSwatch, std::nullopt), commonFirstStep);
    EXPECT_EQ(tap(TeacherBar, PlayerItemPenColorSwatch, std::nullopt),
        concat(commonFirstStep, { "updatePentoolButtonStatus" }));
}

TEST_F(ReaderActionDispatcherTest, PenItemZeroOnATabletOnlyDeselects)
{
    useDevice(barstest::Device::Pad);
    auto bar = makeBar(PenToolBar);
    auto item = addItem(*bar, PlayerItemPenColor);
    bar->tapItem(*item);
    m_router->calls.clear();
    m_dispatcher->didTapOnPlayerActionBar(*bar, *item);
    EXPECT_FALSE(item->isSelected());
    EXPECT_EQ(m_router->calls, concat(commonFirstStep, { "updatePentoolButtonStatus" }));
}

TEST_F(ReaderActionDispatcherTest, TextBarsDriveTheRenderer)
{
    struct Case {
        int bar;
        int item;
        std::vector<std::string> rendererCalls;
    };
    const Case cases[] = {
        { TextAnnotationBar, 1, { "removeTextAnnotationModeWithoutSave" } },
        // Add text leaves the box and starts the next one.
        { TextAnnotationBar, 4,
            { "exitTextAnnotationMode", "resetZoomScaleToDefault",
                "getTextAnnotationVOWithDefaultPosition" } },
        { TextAnnotationBar, 5, { "exitTextAnnotationMode" } },
        { TextAnnotationBar, 2, {} },
        { TextAnnotationBar, 8, {} },
        { TextAlignmentBar, 4, {} },
    };
    for (const auto& c : cases) {
        m_renderer->clearCalls();
        tap(c.bar, c.item);
        EXPECT_EQ(m_renderer->callNames(), c.rendererCalls) << c.bar << "/" << c.item;
    }
    for (int item : { 1, 2, 3 }) {
        m_renderer->clearCalls();
        tap(TextAlignmentBar, item);
        auto call = m_renderer->lastCall("updateTextAnnotationAlignment");
        ASSERT_TRUE(call) << item;
        EXPECT_EQ(call->arguments, base::Value(base::Value::List { int64_t(item - 1) })) << item;
    }
}

TEST_F(ReaderActionDispatcherTest, TextColourItemAppliesAndMarksThePopUpColour)
{
    m_theme->setTextAnnotation_color_popup_color3_background(chrometest::hex("#AABBCC"));
    m_theme->setTextAnnotation_color_popup_color3_text_color(chrometest::hex("#010203"));
    m_theme->setTextAnnotation_color_popup_color10_background(chrometest::hex("#FFEE00"));
    m_theme->setTextAnnotation_color_popup_color10_text_color(chrometest::hex("#000000"));

    EXPECT_EQ(tap(TextColorBar, 3),
        concat(commonFirstStep, { "setTextAnnotationSelectedColor(#AABBCC)", "removeTextAnnotationColorView" }));
    auto call = m_renderer->lastCall("updateTextAnnotationWithBackground");
    ASSERT_TRUE(call);
    EXPECT_EQ(call->arguments, base::Value(base::Value::List { "#AABBCC", "#010203" }));

    tap(TextColorBar, 10);
    call = m_renderer->lastCall("updateTextAnnotationWithBackground");
    ASSERT_TRUE(call);
    EXPECT_EQ(call->arguments, base::Value(base::Value::List { "#FFEE00", "#000000" }));
}

TEST_F(ReaderActionDispatcherTest, ReadAloudPageStepsGoToTheNearestPageWithAudio)
{
    context().currentBook = makeAudioPageBook();
    struct Case {
        const char* name;
        std::vector<int64_t> onScreen;
        int item;
        std::optional<std::string> navigatesTo;
    };
    const Case cases[] = {
        { "previous from 4", { 4 }, 23, "2" },
        { "previous from 5", { 5 }, 23, "4" },
        { "previous from 2: none before", { 2 }, 23, std::nullopt },
        { "next from 2", { 2 }, 24, "4" },
        { "next from a spread 1-2", { 1, 2 }, 24, "4" },
        { "next from 4: none after", { 4 }, 24, std::nullopt },
        { "previous from a spread 3-4: 2", { 3, 4 }, 23, "2" },
        // The renderer lists a spread in its own order: the page found may already show.
        { "next lands on a page on screen", { 4, 2 }, 24, std::nullopt },
        { "previous lands on a page on screen", { 4, 2 }, 23, std::nullopt },
        { "no page on screen", {}, 24, std::nullopt },
    };
    for (const auto& c : cases) {
        std::vector<RendererPage> pages;
        for (auto id : c.onScreen) {
            RendererPage page;
            page.pageID = id;
            pages.push_back(page);
        }
        m_renderer->setActivePages(pages);
        m_renderer->clearCalls();
        auto calls = tap(ReadAloudBar, c.item);
        EXPECT_EQ(calls.back(), "enableNextPrevButtonForReadAloud") << c.name;
        auto navigation = m_renderer->lastCall("navigateToPageNumber");
        if (c.navigatesTo) {
            ASSERT_TRUE(navigation) << c.name;
            EXPECT_EQ(navigation->arguments, base::Value(base::Value::List { *c.navigatesTo })) << c.name;
        } else {
            EXPECT_FALSE(navigation) << c.name;
        }
    }
}

TEST_F(ReaderActionDispatcherTest, ClosingTheReadAloudBarsResetsTheModes)
{
    context().activeMode = ReaderActiveModeReadAloud;
    context().readAloudMode = ReadAloudModeAutoPlay;
    tap(ReadAloudBar, PlayerItemMarkupClose);
    EXPECT_EQ(context().activeMode, uint64_t(ReaderActiveModeNone));
    EXPECT_EQ(context().readAloudMode, int64_t(ReadAloudModeOff));
}

TEST_F(ReaderActionDispatcherTest, ProfileItemGoesToTheHostDelegate)
{
    struct Host : ReaderViewControllerDelegate {
        void didTapOnProfilePic(ui::View& view) override { tapped.push_back(view.tag()); }
        std::vector<int> tapped;
    };
    EXPECT_EQ(tap(TopBar, PlayerItemProfile), commonFirstStep);
    auto host = std::make_shared<Host>();
    m_reader->setDelegate(host);
    tap(TopBar, PlayerItemProfile);
    EXPECT_EQ(host->tapped, std::vector<int> { PlayerItemProfile });
}

TEST_F(ReaderActionDispatcherTest, BackItemShowsItsLabelsSelected)
{
    m_theme->setSide_bottom_selected_icon_color(chrometest::hex("#ABCDEF"));
    m_theme->setSide_bottom_selected_icon_bg(chrometest::hex("#123456"));
    auto bar = makeBar(TopBar);
    auto item = PlayerActionBarItem::create();
    item->setTag(PlayerItemBackToBookshelf);
    auto first = ui::Label::create({ 0, 0, 40, 30 });
    auto second = ui::Label::create({ 0, 0, 40, 18 });
    auto plain = ui::View::create({ 0, 0, 10, 10 });
    item->addSubview(first);
    item->addSubview(plain);
    item->addSubview(second);
    bar->addActionBarItem(item, 40, 0, true);

    m_router->calls.clear();
    m_dispatcher->didTapOnPlayerActionBar(*bar, *item);
    EXPECT_EQ(m_router->calls, concat(commonFirstStep, { "didTapOnBackButton" }));
    for (const auto& label : { first, second }) {
        EXPECT_EQ(label->textColor(), chrometest::hex("#ABCDEF"));
        EXPECT_EQ(label->backgroundColor(), chrometest::hex("#123456"));
        EXPECT_TRUE(label->clipsToBounds());
        EXPECT_DOUBLE_EQ(label->layer()->cornerRadius(), label->frame().height() / 2);
    }
    EXPECT_FALSE(plain->backgroundColor());
    EXPECT_DOUBLE_EQ(plain->layer()->cornerRadius(), 0);
}

TEST_F(ReaderActionDispatcherTest, ResettingPenAndTeacherBarsRepaintsTheirItems)
{
    auto paint = [&](int barTag) {
        auto bar = makeBar(barTag);
        auto withLabel = addItem(*bar, 2);
        withLabel->setBackgroundColor(chrometest::hex("#FF0000"));
        withLabel->firstLabel()->setTextColor(chrometest::hex("#FF0000"));
        auto bare = PlayerActionBarItem::create();
        bare->setTag(3);
        bare->setBackgroundColor(chrometest::hex("#FF0000"));
        bar->addActionBarItem(bare, 40, 0, true);
        m_dispatcher->willResetPlayerActionBar(*bar);
        return std::pair { withLabel, bare };
    };
    for (int barTag : { int(PenToolBar), int(TeacherBar) }) {
        auto [withLabel, bare] = paint(barTag);
        EXPECT_EQ(withLabel->backgroundColor(), chrometest::ThemeColors::penBackground()) << barTag;
        EXPECT_EQ(withLabel->firstLabel()->textColor(), chrometest::ThemeColors::penIcons()) << barTag;
        EXPECT_EQ(bare->backgroundColor(), chrometest::hex("#FF0000")) << barTag;
    }
    for (int barTag : { int(TopBar), int(BottomBar), int(TextColorBar), int(AudioSyncBar) }) {
        auto [withLabel, bare] = paint(barTag);
        EXPECT_EQ(withLabel->backgroundColor(), chrometest::hex("#FF0000")) << barTag;
        EXPECT_EQ(withLabel->firstLabel()->textColor(), chrometest::hex("#FF0000")) << barTag;
    }
}

TEST_F(ReaderActionDispatcherTest, ResetAllClearsTheSelectionOfEveryReaderBar)
{
    // Missing bars are skipped.
    m_dispatcher->resetAllPlayerActionBar();

    std::vector<std::shared_ptr<PlayerActionBarItem>> selected;
    for (auto* holder : { &context().playerTopActionBarView, &context().playerBottomActionBarView,
             &context().penToolActionBarView, &context().penToolActionBottomBarView }) {
        *holder = makeBar(PenToolBar);
        auto item = addItem(**holder, 1);
        (*holder)->tapItem(*item);
        ASSERT_EQ((*holder)->getSelectedItem(), item);
    }
    m_reader->resetAllPlayerActionBar();
    for (auto* holder : { &context().playerTopActionBarView, &context().playerBottomActionBarView,
             &context().penToolActionBarView, &context().penToolActionBottomBarView })
        EXPECT_FALSE((*holder)->getSelectedItem());
}

class ReaderActionDispatcherOnScreenTest : public barstest::BarsTest { };

TEST_F(ReaderActionDispatcherOnScreenTest, AudioSyncCloseShowsTheBarsAnimated)
{
    openSample("sample-pagebook");
    ASSERT_TRUE(m_reader->isPlayerActionBarHidden());
    context().activeMode = ReaderActiveModeReadAloud;
    context().readAloudMode = ReadAloudModeReadToMe;
    ui::AnimationLog::shared().clear();

    auto bar = makeBar(AudioSyncBar);
    auto close = addItem(*bar, PlayerItemMarkupClose);
    bar->setDelegate(m_reader->playerActionDelegate());
    ASSERT_TRUE(bar->tapItem(*close));

    EXPECT_EQ(context().activeMode, uint64_t(ReaderActiveModeNone));
    EXPECT_EQ(context().readAloudMode, int64_t(ReadAloudModeOff));
    EXPECT_FALSE(m_reader->isPlayerActionBarHidden());
    ASSERT_TRUE(ui::AnimationLog::shared().last());
    EXPECT_DOUBLE_EQ(ui::AnimationLog::shared().last()->duration, ReaderBars::slideDuration);
    EXPECT_DOUBLE_EQ(m_reader->bars().topBarTopMarginConstraint()->constant(), -0.4);
    EXPECT_DOUBLE_EQ(m_reader->bars().bottomBarBottomMarginConstraint()->constant(), 0.4);
}

TEST_F(ReaderActionDispatcherOnScreenTest, MoreItemLeavesOneVerticalBarShownAndOtherTapsCloseIt)
{
    openSample("sample-pagebook");
    auto bottom = context().playerBottomActionBarView;
    ASSERT_TRUE(bottom);
    auto more = bottom->itemWithTag(PlayerItemMore);
    if (!more) {
        // A row that fits shows no "more" item; tap one on a main bar of the reader's own.
        auto bar = makeBar(BottomBar);
        bar->setDelegate(m_reader->playerActionDelegate());
        more = addItem(*bar, PlayerItemMore);
    }
    auto containers = [&] {
        int count = 0;
        for (const auto& view : readerView()->subviews())
            count += view == m_reader->verticalBar().viewForVerticalPlayerActionBar();
        return count;
    };
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(more->bar()->tapItem(*more));
        ASSERT_TRUE(m_reader->verticalBar().viewForVerticalPlayerActionBar());
        EXPECT_EQ(containers(), 1);
        EXPECT_EQ(m_reader->verticalBar().playerActionVerticalBar()->tag(), BottomBar);
    }
    size_t subviewsWithBar = readerView()->subviews().size();
    ASSERT_TRUE(more->bar()->tapItem(*addItem(*more->bar(), PlayerItemStickyNote)));
    EXPECT_FALSE(m_reader->verticalBar().viewForVerticalPlayerActionBar());
    EXPECT_EQ(readerView()->subviews().size(), subviewsWithBar - 1);
}

TEST_F(ReaderActionDispatcherOnScreenTest, FurthestPageWithoutAPlaceToGoSaysWhy)
{
    context().currentBook = makeEpub(0);
    m_reader->toolbarRouter().actionForFurtherPage();
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "");
    EXPECT_EQ(alert->message(), chrometest::localized("FURTHEST_PAGE_NOT_SUPPORTED"));
    EXPECT_EQ(m_renderer->countOf("navigateToFurthestPageWithSuccessHandler"), 0u);
    uitest::tapAction(chrometest::localized("OK"));
    uitest::completePresentations();

    context().currentBook = std::make_shared<PXBookVO>();
    m_renderer->setFurthestPageJumpSucceeds(true);
    m_reader->toolbarRouter().actionForFurtherPage();
    base::RunLoop::main().runUntilIdle();
    EXPECT_FALSE(uitest::topmostAlert());

    m_renderer->setFurthestPageJumpSucceeds(false);
    m_reader->toolbarRouter().actionForFurtherPage();
    base::RunLoop::main().runUntilIdle();
    alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), chrometest::localized("YOU_ARE_ALREADY_ON_FURTHEST_PAGE"));
}

} // namespace
} // namespace lectoro
