// The pen road: opening and closing with the bars, the remembered colour and thickness,
// the bar's items and their states, storing what the controller reports, teacher review's
// drawings, colour routing by mode, and the palettes' container.

#include "annotations/pen/PenTestSupport.h"

#include "LectoroSDKWithReader/annotations/pen/PenPaletteLayout.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"

namespace lectoro::pentest {
namespace {

class PenRoadTests : public PenRoadTest { };

TEST_F(PenRoadTests, FirstUseStoresTheDefaultPenAndALaterSessionStartsWithWhatWasStored)
{
    auto& first = openPen();
    EXPECT_EQ(first.color, "#000000");
    EXPECT_DOUBLE_EQ(first.thickness, 4.0);
    EXPECT_EQ(defaults().stringForKey("PenColor"), std::optional<std::string>("#000000"));
    EXPECT_EQ(defaults().stringForKey("PenThickness"), std::optional<std::string>("4.000000"));

    pen().didSelectPenColor("#222222");
    pen().didSelectPenThickness(7.5f);
    EXPECT_EQ(defaults().stringForKey("PenThickness"), std::optional<std::string>("7.500000"));

    // Another reader, same application defaults.
    m_pen.reset();
    m_context.activeMode = ReaderActiveModeNone;
    auto& later = openPen();
    EXPECT_EQ(later.color, "#222222");
    EXPECT_DOUBLE_EQ(later.thickness, 7.5);
}

TEST_F(PenRoadTests, AThicknessThatIsNoNumberReadsAsZero)
{
    defaults().setString("PenThickness", "thick");
    EXPECT_DOUBLE_EQ(PenRoad::getLastUpdatedPenThickness(), 0.0);
}

TEST_F(PenRoadTests, OpeningSetsTheControllerUpAndSwapsTheBars)
{
    m_context.hasClassAssociation = true;
    auto& controller = openPen();
    EXPECT_EQ(m_context.activeMode, ReaderActiveModePenTool);
    EXPECT_TRUE(m_renderer->isPenDrawingModeEnabled());
    EXPECT_EQ(controller.canvas, m_renderer->getPenDrawingCanvas());
    EXPECT_FALSE(controller.delegate.expired());
    EXPECT_TRUE(controller.classAssociation);
    EXPECT_EQ(controller.drawingMode, 0);
    EXPECT_EQ(controller.penMode, 0);
    EXPECT_TRUE(controller.deleteOnSelection);
    ASSERT_EQ(m_analytics->live.size(), 1u);
    EXPECT_EQ(m_analytics->live[0].name, std::optional<std::string>("pen_tool_data_live"));
    // The pen bar comes only once the reader's bars are out.
    auto off = std::find(m_penHost.calls.begin(), m_penHost.calls.end(), "barsOff");
    auto bar = std::find(m_penHost.calls.begin(), m_penHost.calls.end(), "penBar");
    EXPECT_LT(off, bar);
    EXPECT_TRUE(m_context.penToolActionBarView);
}

TEST_F(PenRoadTests, ClosingRedrawsAtOnceAndReopeningGivesAFreshController)
{
    m_context.backgroundActiveMode = ReaderActiveModeSearch;
    openPen();
    m_penHost.overlays.layers.clear();
    pen().actionForPentool();

    EXPECT_FALSE(pen().penToolController());
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeSearch);
    EXPECT_FALSE(m_renderer->isPenDrawingModeEnabled());
    // Both visible pages are drawn again before the bar has slid out.
    EXPECT_NE(std::find(m_penHost.overlays.layers.begin(), m_penHost.overlays.layers.end(), "pen:11/v"),
        m_penHost.overlays.layers.end());
    EXPECT_TRUE(m_context.penToolActionBarView);
    EXPECT_DOUBLE_EQ(m_penHost.penBottom->constant(), 54);
    base::RunLoop::main().advanceBy(1);
    EXPECT_FALSE(m_context.penToolActionBarView);

    m_context.activeMode = ReaderActiveModeNone;
    openPen();
    EXPECT_EQ(m_penFramework->controllers.size(), 2u);
    EXPECT_EQ(m_penFramework->controllers[1]->undos, 0);
}

TEST_F(PenRoadTests, APenClosedBeforeTheBarsHaveLeftGetsNoBar)
{
    // Bars that take their time to leave: their completion runs on the next turn.
    struct SlowBars : PenHost {
        void moveTopAndBottomOffScreenThen(bool, std::function<void()> done) override
        {
            base::RunLoop::main().postDelayed(0.5, std::move(done));
        }
    };
    SlowBars host;
    host.context = &m_context;
    host.controller = m_penHost.controller;
    PenRoad road(m_context, host, penDrawer());
    road.actionForPentool();
    road.actionForPentool();
    base::RunLoop::main().advanceBy(1);
    EXPECT_FALSE(m_context.penToolActionBarView);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "penBar"), 0);
}

TEST_F(PenRoadTests, EraserTwiceReturnsToDrawingWithTheSelectionCleared)
{
    auto& controller = openPen();
    auto bar = m_context.penToolActionBarView;
    auto eraser = penItem(PlayerItemPenEraser);
    ASSERT_TRUE(eraser);
    bar->setSelectedItem(eraser.get());
    pen().actionForPentoolErase();
    EXPECT_EQ(controller.penMode, 1);
    pen().actionForPentoolErase();
    EXPECT_EQ(controller.penMode, 0);
    EXPECT_FALSE(bar->getSelectedItem());
}

TEST_F(PenRoadTests, UndoWhileErasingKeepsTheEraserShownSelected)
{
    auto& controller = openPen();
    pen().actionForPentoolErase();
    pen().actionForPentoolUndoDrawing();
    EXPECT_EQ(controller.undos, 1);
    EXPECT_TRUE(penItem(PlayerItemPenEraser)->isSelected());
}

TEST_F(PenRoadTests, DeleteAllAsksAndOnlyYesDeletesButEitherAnswerClearsTheSelection)
{
    auto& controller = openPen();
    auto bar = m_context.penToolActionBarView;
    bar->setSelectedItem(penItem(PlayerItemPenDeleteSelection).get());
    pen().actionForPentoolDeleteSelection();
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->actions().at(0)->title(), "NO");
    ASSERT_TRUE(uitest::tapAction("NO"));
    uitest::completePresentations();
    EXPECT_EQ(controller.deleteAlls, 0);
    EXPECT_FALSE(bar->getSelectedItem());

    pen().actionForPentoolDeleteSelection();
    ASSERT_TRUE(uitest::tapAction("YES"));
    uitest::completePresentations();
    EXPECT_EQ(controller.deleteAlls, 1);
}

TEST_F(PenRoadTests, APageBooksDeleteItemStaysDimmedUntilTheFirstStrokeIsStored)
{
    openPen();
    auto remove = penItem(PlayerItemPenDeleteSelection);
    ASSERT_TRUE(remove);
    EXPECT_DOUBLE_EQ(remove->alpha(), 0.5);
    EXPECT_FALSE(remove->isUserInteractionEnabled());

    auto record = stroke("s1", "11", "v");
    pen().didCreatePenDrawing(record);
    auto stored = storedStrokes("11", "v");
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->bookVersion, "3.1");
    EXPECT_DOUBLE_EQ(remove->alpha(), 1.0);
    EXPECT_TRUE(remove->isUserInteractionEnabled());
    // The new stroke's page is drawn with what the store holds.
    auto drawn = m_renderer->lastCall("drawPenDrawings");
    ASSERT_TRUE(drawn);
    EXPECT_EQ(drawn->arguments.at(1).integerValue(), 11);
}

TEST_F(PenRoadTests, AnEpubBooksDeleteItemKeepsItsState)
{
    useReflowableBook();
    openPen();
    auto remove = penItem(PlayerItemPenDeleteSelection);
    ASSERT_TRUE(remove);
    remove->setAlpha(0.7);
    pen().didCreatePenDrawing(stroke("s1"));
    EXPECT_DOUBLE_EQ(remove->alpha(), 0.7);
}

TEST_F(PenRoadTests, AChangedDrawingIsStoredAgainAndADeletedOneLeavesTheStore)
{
    openPen();
    auto record = stroke("s1");
    pen().didCreatePenDrawing(record);
    record->penColor = "#333333";
    record->bookVersion = "old";
    pen().didUpdatePenDrawing(record);
    auto stored = storedStrokes();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->penColor, "#333333");
    EXPECT_EQ(stored[0]->bookVersion, "3.1");

    m_renderer->clearCalls();
    record->status = UGCStatusDeleted;
    pen().didUpdatePenDrawing(record);
    EXPECT_TRUE(storedStrokes().empty());
    EXPECT_EQ(m_renderer->countOf("drawPenDrawings"), 0u);
    EXPECT_DOUBLE_EQ(penItem(PlayerItemPenDeleteSelection)->alpha(), 0.5);
}

TEST_F(PenRoadTests, TheUndoItemFollowsTheController)
{
    auto& controller = openPen();
    auto undo = penItem(PlayerItemPenUndo);
    ASSERT_TRUE(undo);
    EXPECT_DOUBLE_EQ(undo->alpha(), 0.5);
    controller.undoable = true;
    pen().didChangeUndoableStatus();
    EXPECT_DOUBLE_EQ(undo->alpha(), 1.0);
    controller.undoable = false;
    pen().didChangeUndoableStatus();
    EXPECT_DOUBLE_EQ(undo->alpha(), 0.5);
}

TEST_F(PenRoadTests, InReviewAChangedDrawingTakesTheOldOnesPlaceInTheLearnersPage)
{
    RecordingReviewPanel panel;
    m_penHost.panel = &panel;
    openPen();
    m_context.activeMode = ReaderActiveModeTeacherReview;

    auto record = stroke("s1", "12");
    pen().didCreatePenDrawing(record);
    EXPECT_EQ(panel.reviewPage, std::optional<std::string>("12"));
    EXPECT_EQ(panel.calls, std::vector<std::string>({ "page:12", "data:learner-pages", "learner:77", "add" }));

    auto changed = stroke("s1", "12");
    changed->penColor = "#333333";
    changed->status = UGCStatusUpdated;
    pen().didUpdatePenDrawing(changed);
    ASSERT_EQ(panel.drawings.size(), 1u);
    EXPECT_EQ(panel.drawings[0]->penColor, "#333333");

    auto removed = stroke("s1", "12");
    removed->status = UGCStatusDeleted;
    pen().didUpdatePenDrawing(removed);
    ASSERT_EQ(panel.drawings.size(), 1u);
    EXPECT_TRUE(panel.drawings[0]->isDeleted());
    // Review keeps its drawings out of the reader's own store.
    EXPECT_TRUE(storedStrokes("12", "iv").empty());
}

TEST_F(PenRoadTests, ADrawingIsReplacedByLocalIdElseByServerIdElseAppended)
{
    auto make = [](std::string local, std::string server) {
        auto record = std::make_shared<SDKPentoolVO>();
        record->localID = std::move(local);
        record->ugcID = std::move(server);
        return record;
    };
    struct Case {
        const char* name;
        std::shared_ptr<SDKPentoolVO> changed;
        bool replaced;
        size_t index;
    };
    const Case cases[] = {
        { "same local id", make("a", "-1"), true, 0 },
        { "server id when the local id differs", make("other", "900"), true, 1 },
        { "local id wins over a server id", make("a", "900"), true, 0 },
        { "not uploaded and unknown", make("new", "-1"), false, 2 },
        { "no ids at all", make("", ""), false, 2 },
    };
    for (const auto& c : cases) {
        std::vector<std::shared_ptr<SDKPentoolVO>> list { make("a", "-1"), make("b", "900") };
        EXPECT_EQ(replacePenDrawing(list, c.changed), c.replaced) << c.name;
        EXPECT_EQ(list.size(), c.replaced ? 2u : 3u) << c.name;
        EXPECT_EQ(list.at(c.index), c.changed) << c.name;
    }
}

TEST_F(PenRoadTests, AChosenColourGoesWhereTheModeSays)
{
    RecordingReviewPanel panel;
    m_penHost.panel = &panel;
    auto& controller = openPen();
    controller.penMode = 1;
    pen().didSelectPenColor("#333333");
    EXPECT_EQ(controller.color, "#333333");
    EXPECT_EQ(controller.penMode, 0);
    EXPECT_EQ(defaults().stringForKey("PenColor"), std::optional<std::string>("#333333"));

    struct Case {
        uint64_t mode;
        const char* expectedPanel;
        size_t audioColours;
    };
    const Case cases[] = {
        { ReaderActiveModeTeacherReview, "color:#111111", 0 },
        { ReaderActiveModeLinkAction, nullptr, 1 },
        { ReaderActiveModeReadAloud, nullptr, 1 },
        { ReaderActiveModeSearch, nullptr, 0 },
    };
    for (const auto& c : cases) {
        panel.calls.clear();
        m_penHost.audioColors.clear();
        m_context.activeMode = c.mode;
        pen().didSelectPenColor("#111111");
        EXPECT_EQ(panel.calls.empty(), c.expectedPanel == nullptr) << c.mode;
        if (c.expectedPanel) {
            EXPECT_EQ(panel.calls.at(0), c.expectedPanel);
        }
        EXPECT_EQ(m_penHost.audioColors.size(), c.audioColours) << c.mode;
        EXPECT_EQ(controller.color, "#333333") << c.mode;
    }
    EXPECT_EQ(defaults().stringForKey("PenColor"), std::optional<std::string>("#333333"));
}

TEST_F(PenRoadTests, ThePalettesSitWhereTheDeviceSays)
{
    struct Case {
        const char* name;
        size_t colours;
        bool pad;
        double width;
        double height;
        double bottom;
    };
    const Case colourCases[] = {
        { "phone, three", 3, false, 183.2, 62, -55 },
        { "phone, five", 5, false, 300, 62, -55 },
        { "phone, six", 6, false, 300, 112, -55 },
        { "phone, nine", 9, false, 300, 112, -55 },
        { "phone, none", 0, false, 8, 62, -55 },
        { "tablet, six", 6, true, 372, 64, -65 },
        { "tablet, none", 0, true, 0, 64, -65 },
    };
    for (const auto& c : colourCases) {
        auto placement = penColorPalettePlacement(c.colours, c.pad);
        EXPECT_NEAR(placement.width, c.width, 1e-9) << c.name;
        EXPECT_DOUBLE_EQ(placement.height, c.height) << c.name;
        EXPECT_DOUBLE_EQ(placement.bottomOffset, c.bottom) << c.name;
        EXPECT_DOUBLE_EQ(placement.centerXOffset, 0) << c.name;
    }
    EXPECT_DOUBLE_EQ(penThicknessPalettePlacement(true, false).centerXOffset, 218);
    EXPECT_DOUBLE_EQ(penThicknessPalettePlacement(true, true).centerXOffset, -218);
    EXPECT_DOUBLE_EQ(penThicknessPalettePlacement(false, true).centerXOffset, 0);
    auto phone = penThicknessPalettePlacement(false, false);
    EXPECT_DOUBLE_EQ(phone.width, 214);
    EXPECT_DOUBLE_EQ(phone.height, 54);
    auto tablet = penThicknessPalettePlacement(true, false);
    EXPECT_DOUBLE_EQ(tablet.width, 238);
    EXPECT_DOUBLE_EQ(tablet.height, 62);
}

TEST_F(PenRoadTests, TheColourPaletteTakesTheThemesListOnlyAndATouchOutsideClosesIt)
{
    m_settings->setPentoolPenColors({ "#ABCDEF" });
    base::Value::List six;
    for (const char* colour : { "#1", "#2", "#3", "#4", "#5", "#6" })
        six.push_back(base::Value(colour));
    m_theme->setPen_Color_Array(six);
    openPen();
    pen().actionForPentoolDrawingMode();
    auto palette = pen().penColorPallete();
    auto container = pen().penToolPalleteContainer();
    ASSERT_TRUE(palette && container);
    EXPECT_EQ(palette->penColors().size(), 6u);
    EXPECT_DOUBLE_EQ(palette->view()->frame().size.width, 300);
    EXPECT_DOUBLE_EQ(palette->view()->frame().size.height, 112);

    // A touch on the palette reaches the palette; one beside it closes it.
    auto press = container->gestureRecognizers().at(0);
    ASSERT_TRUE(press->delegate());
    EXPECT_FALSE(press->delegate()->shouldReceiveTouch(*press, palette->view().get()));
    EXPECT_TRUE(press->delegate()->shouldReceiveTouch(*press, container.get()));
    EXPECT_TRUE(press->simulate(ui::GestureState::Began, { 2, 2 }));
    EXPECT_FALSE(pen().penColorPallete());
    EXPECT_FALSE(pen().penToolPalleteContainer());
    EXPECT_FALSE(container->superview());
    // Closing again finds nothing to close.
    pen().singleTapOnPentoolPalleteContainer();
}

TEST_F(PenRoadTests, TheThicknessPaletteSitsBesideTheTabletItemByLayoutDirection)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    ui::Environment::current().setLayoutDirection(ui::LayoutDirection::RightToLeft);
    openPen();
    pen().actionForPenToolThicknessSelected();
    auto palette = pen().penToolThicknessPalleteViewController();
    auto container = pen().penToolPalleteContainer();
    ASSERT_TRUE(palette && container);
    auto frame = palette->view()->frame();
    EXPECT_DOUBLE_EQ(frame.midX(), container->bounds().midX() - 218);
    EXPECT_DOUBLE_EQ(frame.size.width, 238);
    EXPECT_DOUBLE_EQ(frame.maxY(), container->bounds().maxY() - 65);
    EXPECT_DOUBLE_EQ(palette->slider()->value(), 4.0);

    palette->slider()->simulateSlide({ 6.0, 9.0 });
    EXPECT_DOUBLE_EQ(pen().penToolController()->getPenStrokeThickness(), 9.0);
    EXPECT_EQ(defaults().stringForKey("PenThickness"), std::optional<std::string>("9.000000"));
    // The palette stays open after a choice.
    EXPECT_TRUE(pen().penToolThicknessPalleteViewController());
}

} // namespace
} // namespace lectoro::pentest
