// The items of the reader's bars that open a tool rather than a panel: the pen and its bar,
// the vertical "more" bar's class-work and clear-answers items, the sticky note, the text
// box and its bar, and a reflowable book's layout sheet. Each tool is reached with a finger, used,
// and closed, and its effect is looked for in the store, the renderer or on screen.

#include "journeys/JourneySupport.h"

#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/annotations/pen/PenRoad.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationAlignmentActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationPalleteActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationRoad.h"
#include "LectoroSDKWithReader/reader/chrome/LectoroPenToolColorPalleteViewController.h"
#include "LectoroSDKWithReader/reader/chrome/ReaderVerticalBar.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowableLayoutSettingSheet.h"
#include "LectoroSDKWithReader/readersdk/PenToolController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/ReaderFontSettingsVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/MVFIB.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Slider.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

namespace lectoro::journeys {
namespace {

class BarJourney : public Journey {
protected:
    // A stroke drawn with a finger across the middle of the first page on the canvas: each
    // point must meet the canvas, then the pen controller takes the touches as the canvas
    // hands them on.
    ::testing::AssertionResult drawWithFinger(ReaderViewController& reader)
    {
        auto controller = reader.penRoad().penToolController();
        auto canvas = std::dynamic_pointer_cast<PenDrawingCanvas>(rendererOf(reader)->getPenDrawingCanvas());
        if (!controller || !canvas || canvas->canvasPages().empty())
            return ::testing::AssertionFailure() << "no pen canvas with a page";
        auto frame = canvas->canvasPages().front().frame;
        std::vector<ui::Point> points { { frame.midX() - 40, frame.midY() }, { frame.midX(), frame.midY() + 20 },
            { frame.midX() + 40, frame.midY() } };
        for (const auto& point : points) {
            auto landing = uitest::landOn(*canvas, point);
            if (!landing)
                return ::testing::AssertionFailure() << landing.obstacle;
            if (landing.view != canvas)
                return ::testing::AssertionFailure() << "the stroke meets " << uitest::describeView(*landing.view);
        }
        controller->drawStroke(points);
        settle();
        return ::testing::AssertionSuccess();
    }

    // A pen palette's surround closes it at the touch's start, as a press of no length.
    ::testing::AssertionResult closePaletteFromBeside()
    {
        const ui::Point beside { 100, 200 };
        auto* window = ui::Environment::current().keyWindow().get();
        auto outside = uitest::landAtWindowPoint(beside);
        if (!outside)
            return ::testing::AssertionFailure() << outside.obstacle;
        auto pressed = uitest::longPress(*outside.view, outside.view->convertPointFrom(beside, window));
        settle();
        return pressed;
    }

    std::vector<std::shared_ptr<SDKPentoolVO>> storedStrokes(ReaderViewController& reader)
    {
        auto page = rendererOf(reader)->getActivePages().front();
        return reader.context().dbManager->pentoolDrawingForPageID(std::to_string(page.pageID), page.displayNum,
            std::to_string(reader.bookID()), reader.user()->numericUserID());
    }

    std::shared_ptr<PlayerActionBarItem> swatch(ReaderViewController& reader, const std::string& colour)
    {
        for (const auto& item : reader.context().penToolActionBarView->items()) {
            const auto text = item->metaData()[penColorMetaDataKey].asString();
            if (item->tag() == PlayerItemPenColorSwatch && text && *text == colour)
                return item;
        }
        return nullptr;
    }
};

TEST_F(BarJourney, ThePenBarsToolsDrawColourThickenUndoAndDeleteWhatIsStored)
{
    auto reader = open(SampleBook::PageBook);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemPenTool));
    EXPECT_EQ(reader->activeMode(), ReaderActiveModePenTool);
    auto bar = reader->context().penToolActionBarView;
    ASSERT_TRUE(bar && bar->window());
    // Undo and delete wait for something drawn.
    for (const auto& item : bar->items()) {
        if (item->tag() != PlayerItemPenUndo && item->tag() != PlayerItemPenDeleteSelection) {
            EXPECT_TRUE(uitest::isTouchable(*item)) << "pen bar item " << item->tag();
        }
    }
    picture("pen-bar");

    // A colour from the bar, then a stroke: it is stored in that colour.
    auto red = swatch(*reader, "#E53935");
    ASSERT_TRUE(red);
    ASSERT_TRUE(tapAndSettle(*red));
    ASSERT_TRUE(drawWithFinger(*reader));
    auto strokes = storedStrokes(*reader);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0]->penColor, "#E53935");
    EXPECT_FALSE(rendererOf(*reader)->overlayForPage(rendererOf(*reader)->getActivePages().front().pageID).penDrawings.empty())
        << "the stroke is drawn on the page";
    for (int tag : { PlayerItemPenUndo, PlayerItemPenDeleteSelection })
        EXPECT_TRUE(uitest::isTouchable(*bar->itemWithTag(tag))) << "pen bar item " << tag;
    picture("pen-stroke");

    // The thickness palette over the bar: its slider sets the next stroke's width, and a
    // tap beside it closes it.
    ASSERT_TRUE(tapAndSettle(*bar->itemWithTag(PlayerItemPenThickness)));
    auto thickness = reader->penRoad().penToolThicknessPalleteViewController();
    ASSERT_TRUE(thickness && thickness->view()->window());
    EXPECT_FALSE(uitest::visibleRectInWindow(*thickness->view()).isEmpty());
    picture("pen-thickness");
    auto slider = thickness->slider();
    ASSERT_TRUE(slider);
    ASSERT_TRUE(uitest::setSliderValue(*slider, slider->maximumValue()));
    settle();
    ASSERT_TRUE(closePaletteFromBeside());
    EXPECT_FALSE(reader->penRoad().penToolThicknessPalleteViewController()) << "a tap beside it closes the palette";
    ASSERT_TRUE(drawWithFinger(*reader));
    strokes = storedStrokes(*reader);
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_GT(strokes[1]->thickness, strokes[0]->thickness);

    // Undo takes the last stroke back out of the store.
    ASSERT_TRUE(tapAndSettle(*bar->itemWithTag(PlayerItemPenUndo)));
    EXPECT_EQ(storedStrokes(*reader).size(), 1u);

    // The eraser is a mode of the pen; delete asks, and "YES" clears the page.
    ASSERT_TRUE(tapAndSettle(*bar->itemWithTag(PlayerItemPenEraser)));
    EXPECT_EQ(reader->activeMode(), ReaderActiveModePenTool);
    ASSERT_TRUE(tapAndSettle(*bar->itemWithTag(PlayerItemPenDeleteSelection)));
    auto ask = uitest::topmostAlert();
    ASSERT_TRUE(ask) << "delete asks first";
    picture("pen-delete");
    ASSERT_TRUE(uitest::tapAction("YES"));
    settle();
    EXPECT_TRUE(storedStrokes(*reader).empty());

    // Closing the pen brings the reader's bars back.
    ASSERT_TRUE(tapAndSettle(*bar->itemWithTag(PlayerItemPenClose)));
    EXPECT_FALSE(reader->context().penToolActionBarView);
    expectReading(*reader);
}

TEST_F(BarJourney, OnAPhoneThePenColourItemOpensItsPaletteAndTheColourPickedDraws)
{
    auto reader = open(SampleBook::PageBook, ui::UserInterfaceIdiom::Phone);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemPenTool));
    auto bar = reader->context().penToolActionBarView;
    ASSERT_TRUE(bar && bar->window());
    ASSERT_TRUE(tapAndSettle(*bar->itemWithTag(PlayerItemPenColor)));
    auto palette = reader->penRoad().penColorPallete();
    ASSERT_TRUE(palette && palette->view()->window()) << "the colour palette shows";
    EXPECT_FALSE(uitest::visibleRectInWindow(*palette->view()).isEmpty());
    picture("phone-pen-palette");
    ASSERT_TRUE(palette->penItemsBar());
    const auto swatches = palette->penItemsBar()->items();
    ASSERT_GE(swatches.size(), 2u);
    const auto picked = swatches[1]->metaData()[LectoroPenToolColorPalleteViewController::penColorMetaDataKey].asString();
    ASSERT_TRUE(picked);
    ASSERT_TRUE(tapAndSettle(*swatches[1]));
    EXPECT_TRUE(swatches[1]->isSelected()) << "the palette marks the colour picked";
    // The palette stays for another pick until a touch beside it.
    ASSERT_TRUE(closePaletteFromBeside());
    EXPECT_FALSE(reader->penRoad().penColorPallete());
    ASSERT_TRUE(drawWithFinger(*reader));
    auto strokes = storedStrokes(*reader);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0]->penColor, *picked);
    ASSERT_TRUE(tapAndSettle(*bar->itemWithTag(PlayerItemPenClose)));
    expectReading(*reader);
}

TEST_F(BarJourney, FurthestPageTakesTheReaderBackToTheFurthestPageRead)
{
    m_afterLaunch = [this] { m_launcher->enableFurthestPage(true); };
    auto reader = open(SampleBook::PageBook);
    ASSERT_TRUE(reader);
    auto renderer = rendererOf(*reader);
    const auto first = pageOnScreen(*reader);
    // Two pages on, then back to the start.
    for (int turn = 0; turn < 2; ++turn) {
        ASSERT_TRUE(renderer->swipe(companion::RendererSwipe::Left));
        settle();
    }
    const auto furthest = pageOnScreen(*reader);
    ASSERT_NE(furthest, first);
    for (int turn = 0; turn < 2; ++turn) {
        ASSERT_TRUE(renderer->swipe(companion::RendererSwipe::Right));
        settle();
    }
    ASSERT_EQ(pageOnScreen(*reader), first);

    auto item = mainBarItem(*reader, PlayerItemFurthestPage);
    ASSERT_TRUE(item) << "a bar carries the furthest-page item";
    ASSERT_TRUE(tapAndSettle(*item));
    EXPECT_EQ(pageOnScreen(*reader), furthest);
    expectReading(*reader);

    // There again, it says so.
    item = mainBarItem(*reader, PlayerItemFurthestPage);
    ASSERT_TRUE(item);
    ASSERT_TRUE(tapAndSettle(*item));
    ASSERT_TRUE(uitest::topmostAlert()) << "the reader says it is already there";
    picture("furthest-page-here");
    ASSERT_TRUE(uitest::tapActionAtIndex(0));
    settle();
    expectReading(*reader);
}

TEST_F(BarJourney, TheMoreBarsItemsAnswerOnThePage)
{
    auto reader = open(SampleBook::PageBook);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemMore));
    auto vertical = reader->verticalBar().playerActionVerticalBar();
    ASSERT_TRUE(vertical && vertical->window());
    // Clearing answers waits for an answer on the page.
    for (int tag : { PlayerItemSubmitAnnotation, PlayerItemProtractor }) {
        auto item = vertical->itemWithTag(tag);
        ASSERT_TRUE(item) << "the more bar carries item " << tag;
        EXPECT_TRUE(uitest::isTouchable(*item)) << "more bar item " << tag;
    }
    picture("more-bar");

    // Class work with nothing on the page says so.
    ASSERT_TRUE(tapAndSettle(*vertical->itemWithTag(PlayerItemSubmitAnnotation)));
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message().value_or(""), "There is nothing to submit.");
    picture("more-submit-nothing");
    ASSERT_TRUE(uitest::tapActionAtIndex(0));
    settle();
    expectReading(*reader);
}

TEST_F(BarJourney, ClearAnswersAsksAndTakesThePagesAnswersOutOfTheStore)
{
    auto reader = open(SampleBook::PageBook);
    ASSERT_TRUE(reader);
    auto renderer = rendererOf(*reader);
    renderer->navigateToPageNumber("105");
    settle();
    const int64_t user = reader->user()->numericUserID();
    MVFIB* field = nullptr;
    for (const auto& view : renderer->overlayForPage(105).fibViews) {
        auto fib = std::dynamic_pointer_cast<MVFIB>(view);
        if (fib && fib->linkVo() && fib->linkVo()->linkID == 1051)
            field = fib.get();
    }
    ASSERT_TRUE(field);
    // The blank takes a finger where it lies on the page; the answer is typed and ended as
    // the keyboard ends it.
    auto landing = uitest::landOn(*field);
    ASSERT_TRUE(landing) << landing.obstacle;
    ASSERT_TRUE(field->beginEditing());
    field->endEditingWithText("full");
    settle();
    ASSERT_TRUE(reader->context().dbManager->getFIBObjectWithLinkId(1051, user)) << "the typed answer is stored";
    expectReading(*reader);

    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemMore));
    auto vertical = reader->verticalBar().playerActionVerticalBar();
    ASSERT_TRUE(vertical);
    EXPECT_TRUE(uitest::isTouchable(*vertical->itemWithTag(PlayerItemClearAllFIBs)));
    ASSERT_TRUE(tapAndSettle(*vertical->itemWithTag(PlayerItemClearAllFIBs)));
    ASSERT_TRUE(uitest::topmostAlert()) << "clearing the answers asks first";
    picture("clear-answers");
    ASSERT_TRUE(uitest::tapAction("YES"));
    settle();
    EXPECT_FALSE(reader->context().dbManager->getFIBObjectWithLinkId(1051, user));
    expectReading(*reader);
}

TEST_F(BarJourney, AStickyNoteWrittenFromTheBarIsStored)
{
    auto reader = open(SampleBook::PageBook);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemStickyNote));
    auto note = presentedScreen<StickyNotesViewController>(*reader);
    ASSERT_TRUE(note);
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeNoteView);
    picture("sticky-note");
    auto landing = uitest::landOn(*note->noteTextView());
    ASSERT_TRUE(landing) << landing.obstacle;
    ASSERT_TRUE(note->noteTextView()->insertText("Bring the tide table"));
    ASSERT_TRUE(tapAndSettle(*note->postButton()));
    picture("sticky-note-posted");
    bool stored = false;
    for (const auto& record : reader->context().dbManager->highlightBookID("1001", reader->user()->numericUserID()))
        stored = stored || record->noteText == "Bring the tide table";
    EXPECT_TRUE(stored) << "the note is in the store";
    expectReading(*reader);
}

TEST_F(BarJourney, TheTextBoxBarAlignsColoursAndSavesABoxThatIsStored)
{
    m_settings = std::make_shared<MVReaderSettingModel>();
    m_settings->setIsTextAnnotationEnabled(true);
    auto reader = open(SampleBook::PageBook);
    ASSERT_TRUE(reader);
    auto renderer = rendererOf(*reader);
    const auto page = renderer->getActivePages().front();

    auto item = mainBarItem(*reader, PlayerItemAddText);
    ASSERT_TRUE(item) << "a bar carries the text-box item";
    ASSERT_TRUE(tapAndSettle(*item));
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeTextAnnotation);
    ui::Environment::current().showKeyboard({ { 0, 724 }, { 768, 300 } });
    settle();
    auto& road = reader->textAnnotationRoad();
    auto box = road.textAnnotationView();
    ASSERT_TRUE(box && box->window()) << "a box is placed on the page";
    auto bar = road.textAnnotationPlayerBottomActionBarView();
    ASSERT_TRUE(bar && bar->window()) << "the text-box bar shows";
    picture("text-box");
    ASSERT_TRUE(uitest::landOn(*box));
    ASSERT_TRUE(box->insertText("Low tide at six"));

    // Centred from the alignment pop-up, coloured from the colour pop-up.
    ASSERT_TRUE(tapAndSettle(*bar->getTextAnnotationViewItemWithTag(PlayerItemTextAlignment)));
    auto alignment = road.textAnnotationAlignmentActionBarView();
    ASSERT_TRUE(alignment && alignment->window()) << "the alignment pop-up shows";
    picture("text-box-alignment");
    ASSERT_TRUE(tapAndSettle(*alignment->itemWithTag(2)));
    EXPECT_FALSE(road.textAnnotationAlignmentActionBarView());
    ASSERT_TRUE(tapAndSettle(*bar->getTextAnnotationViewItemWithTag(PlayerItemTextColor)));
    auto colours = road.textAnnotationColorActionBarView();
    ASSERT_TRUE(colours && colours->window()) << "the colour pop-up shows";
    picture("text-box-colours");
    ASSERT_TRUE(tapAndSettle(*colours->itemWithTag(2)));
    EXPECT_FALSE(road.textAnnotationColorActionBarView());

    // Saved: the box is stored with its text and alignment, and the reader reads again.
    ASSERT_TRUE(tapAndSettle(*bar->getTextAnnotationViewItemWithTag(PlayerItemTextExit)));
    ui::Environment::current().hideKeyboard();
    settle();
    auto stored = reader->context().dbManager->textAnnotationVOForPageID(std::to_string(page.pageID), page.displayNum,
        std::to_string(reader->bookID()), reader->user()->numericUserID());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->text, "Low tide at six");
    EXPECT_EQ(stored[0]->textAlignment, 1);
    EXPECT_FALSE(road.textAnnotationPlayerBottomActionBarView());
    expectReading(*reader);
}

TEST_F(BarJourney, AReflowableBooksLayoutSheetChangesTheRendererAndIsStored)
{
    auto reader = open(SampleBook::ReflowableEpub);
    ASSERT_TRUE(reader);
    auto renderer = rendererOf(*reader);
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemFontSetting));
    auto sheet = presentedScreen<ReflowableLayoutSettingSheet>(*reader);
    ASSERT_TRUE(sheet) << "the layout sheet is presented";
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeReflowableSettings);
    ASSERT_TRUE(sheet->card());
    EXPECT_FALSE(uitest::visibleRectInWindow(*sheet->card()).isEmpty());
    for (const char* section : { "family", "size", "scroll", "mode", "alignment", "spacing", "margin", "reset" }) {
        ASSERT_FALSE(sheet->buttons(section).empty()) << section;
        for (const auto& button : sheet->buttons(section))
            EXPECT_TRUE(uitest::isTouchable(*button)) << section;
    }
    picture("layout-sheet");

    // A larger size, night reading and centred text reach the renderer and the store.
    const auto sizeBefore = renderer->settings().fontSizeStep;
    ASSERT_TRUE(tapAndSettle(*sheet->buttons("size").back()));
    EXPECT_GT(renderer->settings().fontSizeStep, sizeBefore);
    const auto modes = sheet->buttons("mode");
    ASSERT_TRUE(tapAndSettle(*modes.front()));
    EXPECT_EQ(renderer->settings().readerMode, sheet->readerModeOptions.front());
    ASSERT_TRUE(tapAndSettle(*sheet->buttons("alignment").at(1)));
    EXPECT_EQ(renderer->settings().textAlignment, sheet->textAlignmentOptions.at(1));
    EXPECT_TRUE(sheet->buttons("alignment").at(1)->isSelected());
    auto stored = reader->context().dbManager->getReaderFontSettingForBookID("1001", reader->user()->numericUserID());
    ASSERT_TRUE(stored) << "the choices are stored for the book";
    EXPECT_EQ(stored->readerMode, sheet->readerModeOptions.front());
    EXPECT_EQ(stored->textAlignment, sheet->textAlignmentOptions.at(1));
    picture("layout-sheet-changed");

    // The page around the card closes it.
    ASSERT_TRUE(tapAndSettle(*sheet->view(), ui::Point { 384, 100 }));
    expectReading(*reader);
}

// Every item of the top and bottom bars, for each kind of book on a tablet and a phone,
// is where a finger can take it once the bars are in.
struct BarCase {
    SampleBook book;
    ui::UserInterfaceIdiom idiom;
    const char* name;
};

class EveryBarItem : public Journey, public ::testing::WithParamInterface<BarCase> { };

TEST_P(EveryBarItem, TakesAFingerOnceTheBarsAreIn)
{
    auto reader = open(GetParam().book, GetParam().idiom);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(testing::showBars(*reader));
    picture("bars");
    size_t items = 0;
    for (const auto& bar : { reader->context().playerTopActionBarView, reader->context().playerBottomActionBarView }) {
        ASSERT_TRUE(bar);
        for (const auto& item : bar->getTappableItems()) {
            if (item->isHidden() || !item->isEnabled())
                continue;
            ++items;
            EXPECT_TRUE(uitest::isTouchable(*item)) << "bar " << bar->tag() << " item " << item->tag();
        }
    }
    EXPECT_GE(items, 3u) << "back, contents and at least one tool";
}

INSTANTIATE_TEST_SUITE_P(SampleBooks, EveryBarItem,
    ::testing::Values(BarCase { SampleBook::PageBook, ui::UserInterfaceIdiom::Pad, "PageBookTablet" },
        BarCase { SampleBook::PageBook, ui::UserInterfaceIdiom::Phone, "PageBookPhone" },
        BarCase { SampleBook::ReflowableEpub, ui::UserInterfaceIdiom::Pad, "ReflowableTablet" },
        BarCase { SampleBook::ReflowableEpub, ui::UserInterfaceIdiom::Phone, "ReflowablePhone" },
        BarCase { SampleBook::FixedEpub, ui::UserInterfaceIdiom::Pad, "FixedTablet" },
        BarCase { SampleBook::FixedEpub, ui::UserInterfaceIdiom::Phone, "FixedPhone" },
        BarCase { SampleBook::RightToLeftEpub, ui::UserInterfaceIdiom::Pad, "RightToLeftTablet" }),
    [](const ::testing::TestParamInfo<BarCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace lectoro::journeys
