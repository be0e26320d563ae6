// The highlight pop-up over a selection on the sample page book, with the host's highlight
// colours: a colour highlights, the pop-up opened again on the highlight deletes it, Note
// writes a note on the selection and Search looks the selection up. (Translation and the
// immersive reader have journeys of their own beside the reading aids.)

#include "journeys/JourneySupport.h"
#include "reader/ReaderJourneySupport.h"

#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/HighlightView.h"
#include "LectoroSDKWithReader/annotations/notes/NoteRoad.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "LectoroSDKWithReader/search/TextSearchView.h"
#include "platform/base/Bundle.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/StackView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"

#include <cairo.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

namespace lectoro::journeys {
namespace {

class AnnotationJourney : public HostThemedJourney {
protected:
    // The page book open with words 1 to 3 of its first page selected, the pop-up over them.
    std::shared_ptr<ReaderViewController> openAndSelect()
    {
        auto reader = open(SampleBook::PageBook);
        if (!reader || !select(*reader))
            return nullptr;
        return reader;
    }

    bool select(ReaderViewController& reader)
    {
        auto renderer = rendererOf(reader);
        if (!renderer->selectWords(renderer->getActivePages().front().pageID, 1, 3) || !renderer->selection())
            return false;
        settle();
        m_selected = renderer->selection()->text;
        auto popup = reader.highlightRoad().highlightView();
        EXPECT_TRUE(popup && popup->window()) << "the pop-up shows over the selection";
        if (popup) {
            EXPECT_FALSE(uitest::visibleRectInWindow(*popup).isEmpty());
        }
        return popup != nullptr;
    }

    // The button over the pop-up's item: a tool by its kind, or the n-th colour swatch.
    static std::shared_ptr<ui::Button> itemButton(ReaderViewController& reader, std::optional<HighlightItemType> tool,
        size_t swatch = 0)
    {
        auto popup = reader.highlightRoad().highlightView();
        if (!popup)
            return nullptr;
        for (const auto& row : { popup->horizontalStackForHighLightTools(), popup->horizontalStackForColors() }) {
            if (!row)
                continue;
            for (const auto& item : row->arrangedSubviews()) {
                auto view = std::dynamic_pointer_cast<HighLightToolView>(item);
                if (!view || view->subviews().size() < 2)
                    continue;
                const bool isTool = view->tag() > 0 && view->tag() < 100;
                if ((tool && isTool && view->tag() == static_cast<int>(*tool)) || (!tool && !isTool && swatch-- == 0))
                    return std::dynamic_pointer_cast<ui::Button>(view->subviews().at(1));
            }
        }
        return nullptr;
    }

    std::vector<std::shared_ptr<SDKHighlightVO>> stored(ReaderViewController& reader)
    {
        return reader.context().dbManager->highlightBookID("1001", reader.user()->numericUserID());
    }

    std::string m_selected;
};

TEST_F(AnnotationJourney, AColourHighlightsTheSelectionAndClosesThePopup)
{
    auto reader = openAndSelect();
    ASSERT_TRUE(reader);
    picture("popup");
    auto colour = itemButton(*reader, std::nullopt);
    ASSERT_TRUE(colour);
    ASSERT_TRUE(tapAndSettle(*colour));
    ASSERT_EQ(stored(*reader).size(), 1u);
    const auto page = rendererOf(*reader)->getActivePages().front().pageID;
    EXPECT_EQ(rendererOf(*reader)->overlayForPage(page).highlights.size(), 1u);
    EXPECT_FALSE(reader->highlightRoad().highlightView()->window()) << "the pop-up is gone";
    picture("highlighted");
    expectReading(*reader);
}

// The share of the rectangle's pixels (window points) that are the colour, in a picture of the
// window painted as the journey pictures are.
double shareOfColourIn(const ui::Rect& rect, const ui::Color& colour)
{
    auto path = std::filesystem::temp_directory_path() / ("lectoro-journey-" + std::to_string(::getpid()) + ".png");
    auto window = ui::Environment::current().keyWindow();
    if (!window || !companion::writeWindowPicture(*window, path.string()))
        return 0;
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> picture(
        cairo_image_surface_create_from_png(path.c_str()), &cairo_surface_destroy);
    std::filesystem::remove(path);
    if (cairo_surface_status(picture.get()) != CAIRO_STATUS_SUCCESS)
        return 0;
    const double scale = ui::Environment::current().screenScale();
    const unsigned char* data = cairo_image_surface_get_data(picture.get());
    const int stride = cairo_image_surface_get_stride(picture.get());
    auto byte = [](double component) { return static_cast<uint32_t>(std::lround(component * 255)); };
    const uint32_t wanted = byte(colour.redComponent()) << 16 | byte(colour.greenComponent()) << 8 | byte(colour.blueComponent());
    int matching = 0, counted = 0;
    for (int y = static_cast<int>(rect.origin.y * scale) + 1; y < static_cast<int>((rect.origin.y + rect.size.height) * scale) - 1; ++y) {
        for (int x = static_cast<int>(rect.origin.x * scale) + 1; x < static_cast<int>((rect.origin.x + rect.size.width) * scale) - 1; ++x) {
            if (x >= cairo_image_surface_get_width(picture.get()) || y >= cairo_image_surface_get_height(picture.get()))
                continue;
            uint32_t pixel = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4) & 0xFFFFFF;
            ++counted;
            // Within one step of 8 bits in each channel.
            bool near = true;
            for (int shift : { 0, 8, 16 })
                near = near && std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((wanted >> shift) & 0xFF)) <= 1;
            matching += near ? 1 : 0;
        }
    }
    return counted ? static_cast<double>(matching) / counted : 0;
}

TEST_F(AnnotationJourney, AHighlightShowsInThePictureInItsColourUnderTheSelectedWords)
{
    auto reader = openAndSelect();
    ASSERT_TRUE(reader);
    auto renderer = rendererOf(*reader);
    const auto page = renderer->getActivePages().front().pageID;
    const auto range = renderer->selection()->range;
    auto lines = renderer->textLayoutForPage(page)->lineRectsForRange(range);
    ASSERT_EQ(lines.size(), 1u) << "three words on the first line";
    auto pageView = renderer->pageView(page);
    ASSERT_TRUE(pageView);
    // Where the words lie in the window: the page is shown scaled into its view.
    ui::Size pageSize = renderer->pageSize(page);
    ui::Rect onView { { lines[0].origin.x * pageView->bounds().size.width / pageSize.width,
                          lines[0].origin.y * pageView->bounds().size.height / pageSize.height },
        { lines[0].size.width * pageView->bounds().size.width / pageSize.width,
            lines[0].size.height * pageView->bounds().size.height / pageSize.height } };
    ui::Rect inWindow = pageView->convertRectTo(onView, ui::Environment::current().keyWindow().get());

    ASSERT_TRUE(tapAndSettle(*itemButton(*reader, std::nullopt)));
    auto highlights = renderer->overlayForPage(page).highlights;
    ASSERT_EQ(highlights.size(), 1u);
    auto colour = UIColorExpanded::colorWithHexString(highlights.front()->backgroundColor.str());
    ASSERT_TRUE(colour);
    EXPECT_EQ(highlights.front()->text.str(), m_selected);
    picture("highlight-in-picture");
    // Most of the words' box is the highlight's colour; the rest is their letters.
    EXPECT_GT(shareOfColourIn(inWindow, *colour), 0.5) << "at " << inWindow.origin.x << "," << inWindow.origin.y;
    // And nowhere else: the line below the words keeps the page's own colour.
    ui::Rect below = inWindow;
    below.origin.y += inWindow.size.height * 2;
    EXPECT_LT(shareOfColourIn(below, *colour), 0.05);
}

TEST_F(AnnotationJourney, ThePopupOpenedOnAHighlightDeletesItAfterAsking)
{
    auto reader = openAndSelect();
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapAndSettle(*itemButton(*reader, std::nullopt)));
    ASSERT_EQ(stored(*reader).size(), 1u);
    const auto page = rendererOf(*reader)->getActivePages().front().pageID;

    // The same words again open the pop-up on the highlight, where delete asks first.
    ASSERT_TRUE(select(*reader));
    auto remove = itemButton(*reader, HighlightItemType::Delete);
    ASSERT_TRUE(remove);
    EXPECT_TRUE(uitest::isTouchable(*remove)) << "delete is offered on a highlight";
    picture("popup-on-highlight");
    ASSERT_TRUE(tapAndSettle(*remove));
    ASSERT_TRUE(uitest::topmostAlert());
    picture("delete-highlight");
    ASSERT_TRUE(uitest::tapAction("Yes"));
    settle();
    EXPECT_TRUE(stored(*reader).empty());
    EXPECT_TRUE(rendererOf(*reader)->overlayForPage(page).highlights.empty());
    expectReading(*reader);
}

TEST_F(AnnotationJourney, NoteWritesANoteOnTheSelectionThatIsStored)
{
    auto reader = openAndSelect();
    ASSERT_TRUE(reader);
    auto note = itemButton(*reader, HighlightItemType::Note);
    ASSERT_TRUE(note);
    ASSERT_TRUE(tapAndSettle(*note));
    auto editor = presentedScreen<StickyNotesViewController>(*reader);
    ASSERT_TRUE(editor) << "the note editor is presented";
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeNoteView);
    EXPECT_EQ(editor->selectedTextTextView()->text(), m_selected);
    picture("note-editor");
    auto landing = uitest::landOn(*editor->noteTextView());
    ASSERT_TRUE(landing) << landing.obstacle;
    ASSERT_TRUE(editor->noteTextView()->insertText("Ask about the keeper"));
    ASSERT_TRUE(tapAndSettle(*editor->postButton()));
    auto notes = stored(*reader);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0]->noteText, "Ask about the keeper");
    expectReading(*reader);
}

TEST_F(AnnotationJourney, SearchLooksTheSelectionUpInTheBook)
{
    auto reader = openAndSelect();
    ASSERT_TRUE(reader);
    auto search = itemButton(*reader, HighlightItemType::Search);
    ASSERT_TRUE(search);
    ASSERT_TRUE(tapAndSettle(*search));
    auto panel = reader->search().searchTextView();
    ASSERT_TRUE(panel && panel->window()) << "the search comes up";
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeSearch);
    EXPECT_EQ(panel->searchBar()->text(), m_selected);
    EXPECT_GE(panel->tableView()->numberOfRowsInSection(0), 1) << "the selection is found where it was selected";
    picture("popup-search");
    ASSERT_TRUE(tapAndSettle(*panel->cancelBtn()));
    expectReading(*reader);
}

} // namespace
} // namespace lectoro::journeys
