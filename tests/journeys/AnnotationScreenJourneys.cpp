// The annotation screens on a phone and a tablet, each held upright and turned: the
// selection pop-up, the note editor (new, reopened, with its share/save pop-up), the text box
// with its bar, colours and alignment, the pen with its colour and thickness pop-overs and
// its delete confirmation, and the bookmark pop-over. Each screen is reached with a finger,
// pictured, must lay out without a conflicting constraint, and is used so that its effect
// shows where the user looks (the store, the page).

#include "journeys/HeldDevices.h"
#include "journeys/JourneySupport.h"
#include "reader/ReaderJourneySupport.h"
#include "LayoutConflictLog.h"

#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/HighlightView.h"
#include "LectoroSDKWithReader/annotations/bookmarks/BookmarkRoad.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/annotations/pen/LectoroPenToolThicknessPalleteViewController.h"
#include "LectoroSDKWithReader/annotations/pen/PenRoad.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationAlignmentActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationPalleteActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationRoad.h"
#include "LectoroSDKWithReader/reader/chrome/LectoroPenToolColorPalleteViewController.h"
#include "LectoroSDKWithReader/readersdk/PenToolController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/BookMarkController.h"
#include "LectoroSDKWithReader/readersdk/widgets/BookMarkView.h"
#include "platform/base/Bundle.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/StackView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

#include <set>

namespace lectoro::journeys {
namespace {

// A device and how it is held while the screens open.
using AnnotationHolding = HeldDevice;

class AnnotationScreenJourney : public HostThemedJourney, public ::testing::WithParamInterface<AnnotationHolding> {
protected:
    // The page book opened on the device, held as the journey says.
    std::shared_ptr<ReaderViewController> openHeld()
    {
        auto reader = open(SampleBook::PageBook, GetParam().idiom);
        if (!reader)
            return nullptr;
        holdAs(GetParam().orientation);
        return reader;
    }

    // Words 1 to 3 of the first page selected: the pop-up over them, in the window.
    std::shared_ptr<HighlightView> selectPassage(ReaderViewController& reader)
    {
        auto renderer = rendererOf(reader);
        if (!renderer->selectWords(renderer->getActivePages().front().pageID, 1, 3))
            return nullptr;
        settle();
        auto popup = reader.highlightRoad().highlightView();
        if (!popup || !popup->window())
            return nullptr;
        return popup;
    }

    // The button over the pop-up's tool of that kind.
    static std::shared_ptr<ui::Button> toolButton(HighlightView& popup, HighlightItemType kind)
    {
        for (const auto& view : popup.horizontalStackForHighLightTools()->arrangedSubviews()) {
            auto item = std::dynamic_pointer_cast<HighLightToolView>(view);
            if (item && item->tag() == static_cast<int>(kind) && item->subviews().size() > 1)
                return std::dynamic_pointer_cast<ui::Button>(item->subviews().at(1));
        }
        return nullptr;
    }

    // Every item of the pop-up stands whole inside its panel, under a finger.
    static void expectItemsInsideThePanel(HighlightView& popup)
    {
        uitest::settleLayout();
        auto* window = ui::Environment::current().keyWindow().get();
        const ui::Rect panel = popup.contentView()->convertRectTo(popup.contentView()->bounds(), window);
        for (const auto& view : popup.horizontalStackForHighLightTools()->arrangedSubviews()) {
            const ui::Rect item = view->convertRectTo(view->bounds(), window);
            EXPECT_TRUE(panel.contains(item)) << "item " << view->accessibilityIdentifier() << " leaves the panel";
            EXPECT_GT(item.size.width, 0);
            if (view->isUserInteractionEnabled() && view->subviews().size() > 1) {
                EXPECT_TRUE(uitest::isTouchable(*view->subviews().at(1))) << view->accessibilityIdentifier();
            }
        }
    }

    // A touch beside an open pen palette closes it, as a press of no length.
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

    // A stroke drawn with a finger across the middle of the first page on the pen canvas.
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
        }
        controller->drawStroke(points);
        settle();
        return ::testing::AssertionSuccess();
    }

    std::vector<std::shared_ptr<SDKPentoolVO>> storedStrokes(ReaderViewController& reader)
    {
        auto page = rendererOf(reader)->getActivePages().front();
        return reader.context().dbManager->pentoolDrawingForPageID(std::to_string(page.pageID), page.displayNum,
            std::to_string(reader.bookID()), reader.user()->numericUserID());
    }

    std::vector<std::shared_ptr<SDKHighlightVO>> storedNotes(ReaderViewController& reader)
    {
        return reader.context().dbManager->highlightBookID("1001", reader.user()->numericUserID());
    }

};

TEST_P(AnnotationScreenJourney, ThePopupLaysItsColoursAndToolsOnItsPanelAndAColourHighlights)
{
    auto reader = openHeld();
    ASSERT_TRUE(reader);
    testing::LayoutConflictLog conflicts;
    auto popup = selectPassage(*reader);
    ASSERT_TRUE(popup) << "the pop-up shows over the selection";
    picture("selection-popup");
    EXPECT_TRUE(popup->contentView()->backgroundColor()) << "the pop-up stands on its panel";
    expectItemsInsideThePanel(*popup);
    EXPECT_TRUE(conflicts.empty()) << conflicts.text();

    auto swatch = popup->horizontalStackForHighLightTools()->arrangedSubviews().front();
    ASSERT_TRUE(tapAndSettle(*swatch->subviews().at(1)));
    ASSERT_EQ(storedNotes(*reader).size(), 1u) << "the colour tapped highlights the words";
    EXPECT_FALSE(popup->window());
    expectReading(*reader);
}

TEST_P(AnnotationScreenJourney, TheNoteEditorWritesReopensAndOffersItsSaveAndClose)
{
    auto reader = openHeld();
    ASSERT_TRUE(reader);
    testing::LayoutConflictLog conflicts;
    auto popup = selectPassage(*reader);
    ASSERT_TRUE(popup);
    auto note = toolButton(*popup, HighlightItemType::Note);
    ASSERT_TRUE(note);
    ASSERT_TRUE(tapAndSettle(*note));
    auto editor = presentedScreen<StickyNotesViewController>(*reader);
    ASSERT_TRUE(editor) << "the note editor is presented";
    picture("note-new");
    // Header glyphs are drawn in the icon face; the share button stays away with sharing off.
    for (const auto& button : { editor->deleteButton(), editor->moreButton() }) {
        EXPECT_EQ(button->titleLabel()->font().name(), MVLectoroFontManager::getFontName());
        EXPECT_TRUE(uitest::isTouchable(*button));
    }
    EXPECT_TRUE(editor->shareButton()->isHidden() || editor->shareButton()->frame().size.width > 0);
    // So is the comment bar's send arrow, which would read as a currency sign in a text face.
    EXPECT_EQ(editor->commentPostButtonView()->titleLabel()->font().name(), MVLectoroFontManager::getFontName());
    ASSERT_TRUE(uitest::landOn(*editor->noteTextView()));
    ASSERT_TRUE(editor->noteTextView()->insertText("Ask about the keeper"));
    settle();
    picture("note-written");
    ASSERT_TRUE(tapAndSettle(*editor->postButton()));
    auto notes = storedNotes(*reader);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0]->noteText, "Ask about the keeper");
    EXPECT_FALSE(reader->presentedViewController());

    // The pop-up opened again on the noted words opens the note, its text kept.
    popup = selectPassage(*reader);
    ASSERT_TRUE(popup);
    note = toolButton(*popup, HighlightItemType::Note);
    ASSERT_TRUE(note);
    ASSERT_TRUE(tapAndSettle(*note));
    editor = presentedScreen<StickyNotesViewController>(*reader);
    ASSERT_TRUE(editor) << "the note opens again";
    EXPECT_EQ(editor->noteTextView()->text(), "Ask about the keeper");
    picture("note-existing");

    // "More" unfolds the share/save pop-up; its close folds it again.
    ASSERT_TRUE(tapAndSettle(*editor->moreButton()));
    base::RunLoop::main().advanceBy(0.5);
    settle();
    ASSERT_TRUE(editor->popupView() && !editor->popupView()->isHidden());
    picture("note-save-close");
    EXPECT_TRUE(conflicts.empty()) << conflicts.text();
    ASSERT_TRUE(tapAndSettle(*editor->popupCloseButton()));
    base::RunLoop::main().advanceBy(0.5);
    settle();
    EXPECT_TRUE(uitest::isTouchable(*editor->moreButton())) << "folded, the pop-up gives the more button back";
    ASSERT_TRUE(tapAndSettle(*editor->noteCancelButton()));
    EXPECT_EQ(storedNotes(*reader).size(), 1u);
}

TEST_P(AnnotationScreenJourney, TheTextBoxBarColoursAndAlignmentStandOnTheirPanels)
{
    m_settings = std::make_shared<MVReaderSettingModel>();
    m_settings->setIsTextAnnotationEnabled(true);
    auto reader = openHeld();
    ASSERT_TRUE(reader);
    const auto page = rendererOf(*reader)->getActivePages().front();
    testing::LayoutConflictLog conflicts;
    auto item = mainBarItem(*reader, PlayerItemAddText);
    ASSERT_TRUE(item) << "a bar carries the text-box item";
    ASSERT_TRUE(tapAndSettle(*item));
    // The box takes the keyboard; the bar rides on it.
    const ui::Size screen = ui::Environment::current().screenSize();
    const double keyboard = GetParam().idiom == ui::UserInterfaceIdiom::Pad ? 300 : 216;
    ui::Environment::current().showKeyboard({ { 0, screen.height - keyboard }, { screen.width, keyboard } });
    settle();
    auto& road = reader->textAnnotationRoad();
    auto box = road.textAnnotationView();
    ASSERT_TRUE(box && box->window());
    auto bar = road.textAnnotationPlayerBottomActionBarView();
    ASSERT_TRUE(bar && bar->window());
    EXPECT_TRUE(bar->backgroundColor()) << "the bar stands on its panel";
    picture("text-box-bar");
    ASSERT_TRUE(uitest::landOn(*box));
    ASSERT_TRUE(box->insertText("Low tide"));

    ASSERT_TRUE(tapAndSettle(*bar->getTextAnnotationViewItemWithTag(PlayerItemTextColor)));
    auto colours = road.textAnnotationColorActionBarView();
    ASSERT_TRUE(colours && colours->window());
    picture("text-box-colours");
    // Ten swatches, each its own colour.
    std::set<std::string> backgrounds;
    for (int number = 1; number <= 10; ++number) {
        auto swatch = colours->itemWithTag(number);
        ASSERT_TRUE(swatch);
        auto tool = TextAnnotationPalleteActionView::swatchToolView(*swatch);
        ASSERT_TRUE(tool && tool->iconLabel()->backgroundColor());
        const auto colour = *tool->iconLabel()->backgroundColor();
        backgrounds.insert(std::to_string(colour.redComponent()) + "/" + std::to_string(colour.greenComponent()) + "/"
            + std::to_string(colour.blueComponent()));
        EXPECT_TRUE(uitest::isTouchable(*swatch)) << "swatch " << number;
    }
    EXPECT_EQ(backgrounds.size(), 10u) << "every swatch shows its own colour";
    ASSERT_TRUE(tapAndSettle(*colours->itemWithTag(4)));

    ASSERT_TRUE(tapAndSettle(*bar->getTextAnnotationViewItemWithTag(PlayerItemTextAlignment)));
    auto alignment = road.textAnnotationAlignmentActionBarView();
    ASSERT_TRUE(alignment && alignment->window());
    picture("text-box-alignment");
    ASSERT_TRUE(tapAndSettle(*alignment->itemWithTag(3)));
    EXPECT_TRUE(conflicts.empty()) << conflicts.text();

    ASSERT_TRUE(tapAndSettle(*bar->getTextAnnotationViewItemWithTag(PlayerItemTextExit)));
    ui::Environment::current().hideKeyboard();
    settle();
    auto stored = reader->context().dbManager->textAnnotationVOForPageID(std::to_string(page.pageID), page.displayNum,
        std::to_string(reader->bookID()), reader->user()->numericUserID());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->text, "Low tide");
    EXPECT_EQ(stored[0]->textAlignment, 2);
    expectReading(*reader);
}

TEST_P(AnnotationScreenJourney, ThePensColourAndThicknessPopoversAndItsDeleteConfirmationDoTheirWork)
{
    auto reader = openHeld();
    ASSERT_TRUE(reader);
    testing::LayoutConflictLog conflicts;
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemPenTool));
    auto bar = reader->context().penToolActionBarView;
    ASSERT_TRUE(bar && bar->window());
    picture("pen-bar");

    // A phone's bar has one colour item that opens the palette; a tablet's bar holds the
    // swatches themselves.
    if (auto colour = bar->itemWithTag(PlayerItemPenColor); colour && GetParam().idiom == ui::UserInterfaceIdiom::Phone) {
        ASSERT_TRUE(tapAndSettle(*colour));
        auto palette = reader->penRoad().penColorPallete();
        ASSERT_TRUE(palette && palette->view()->window());
        picture("pen-colours");
        for (const auto& swatch : palette->penItemsBar()->items())
            EXPECT_TRUE(uitest::isTouchable(*swatch));
        ASSERT_TRUE(closePaletteFromBeside());
    }

    ASSERT_TRUE(tapAndSettle(*bar->itemWithTag(PlayerItemPenThickness)));
    auto thickness = reader->penRoad().penToolThicknessPalleteViewController();
    ASSERT_TRUE(thickness && thickness->view()->window());
    picture("pen-thickness");
    ASSERT_TRUE(thickness->slider());
    EXPECT_TRUE(uitest::isTouchable(*thickness->slider())) << "the thickness slider shows on its pop-over";
    ASSERT_TRUE(closePaletteFromBeside());

    // Something drawn, delete asks first; "YES" clears the page's drawing from the store.
    ASSERT_TRUE(drawWithFinger(*reader));
    ASSERT_EQ(storedStrokes(*reader).size(), 1u);
    ASSERT_TRUE(tapAndSettle(*bar->itemWithTag(PlayerItemPenDeleteSelection)));
    ASSERT_TRUE(uitest::topmostAlert()) << "delete asks first";
    picture("pen-delete");
    ASSERT_TRUE(uitest::tapAction("YES"));
    settle();
    EXPECT_TRUE(storedStrokes(*reader).empty());
    EXPECT_TRUE(conflicts.empty()) << conflicts.text();
    ASSERT_TRUE(tapAndSettle(*bar->itemWithTag(PlayerItemPenClose)));
    expectReading(*reader);
}

TEST_P(AnnotationScreenJourney, TheBookmarkPopoverNamesAndStoresThePage)
{
    auto reader = openHeld();
    ASSERT_TRUE(reader);
    testing::LayoutConflictLog conflicts;
    const auto first = rendererOf(*reader)->getActivePages().front();
    auto icon = reader->bookmarkRoad().bookMarkViewForPage(first.pageID);
    ASSERT_TRUE(icon);
    // The icon stands in the top right corner of the page as it is now shown (a turned
    // tablet shows a spread of two narrower pages).
    auto page = icon->superview();
    ASSERT_TRUE(page);
    const ui::Rect corner = icon->frame();
    EXPECT_GE(corner.minX(), 0);
    EXPECT_LE(corner.maxX(), page->bounds().size.width);
    EXPECT_GT(corner.minX(), page->bounds().size.width / 2) << "the icon keeps to the page's right side";
    EXPECT_TRUE(uitest::isTouchable(*icon));
    ASSERT_TRUE(tapAndSettle(*icon));
    auto popover = reader->bookmarkRoad().bookMarkController();
    ASSERT_TRUE(popover && popover->view()->isInWindow());
    picture("bookmark");
    ASSERT_TRUE(uitest::type(*popover->textField(), "Harbour map"));
    popover->textField()->simulateReturn();
    if (GetParam().idiom == ui::UserInterfaceIdiom::Pad) {
        ASSERT_TRUE(uitest::tapOutsidePopover(popover));
    } else {
        // A phone shows a card over a backdrop: a tap on the backdrop below the card closes it.
        auto backdrop = reader->bookmarkRoad().backdrop();
        ASSERT_TRUE(backdrop);
        const ui::Rect area = backdrop->bounds();
        ASSERT_TRUE(uitest::tap(*backdrop, ui::Point { area.midX(), area.maxY() - 80 }));
    }
    settle();
    EXPECT_TRUE(conflicts.empty()) << conflicts.text();
    auto marks = reader->context().dbManager->bookMarkBookID(std::to_string(reader->bookID()), reader->user()->numericUserID());
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0]->title.str(), "Harbour map");
    expectReading(*reader);
}

INSTANTIATE_TEST_SUITE_P(Holdings, AnnotationScreenJourney,
    everyHeldDevice(), heldDeviceName);

} // namespace
} // namespace lectoro::journeys
