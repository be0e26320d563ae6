// The highlight pop-up over a selection on the sample page book, with the host's highlight
// colours: a colour highlights, the pop-up opened again on the highlight deletes it, Note
// writes a note on the selection and Search looks the selection up. (Translation and the
// immersive reader have journeys of their own beside the reading aids.)

#include "journeys/JourneySupport.h"
#include "platform/testing/ViewTreeDump.h"
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

namespace lectoro::journeys {
namespace {

class AnnotationJourney : public Journey {
protected:
    void setUpHost() override
    {
        testing::writeHostThemeWithHighlightColours(m_storage / "host");
        m_previousMainBundle = base::Bundle::main().rootPath();
        base::Bundle::setMainBundlePath((m_storage / "host").string());
    }

    void TearDown() override
    {
        Journey::TearDown();
        base::Bundle::setMainBundlePath(m_previousMainBundle);
    }

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

    std::string m_previousMainBundle;
    std::string m_selected;
};

TEST_F(AnnotationJourney, AColourHighlightsTheSelectionAndClosesThePopup)
{
    auto reader = openAndSelect();
    ASSERT_TRUE(reader);
    picture("popup");
    auto colour = itemButton(*reader, std::nullopt);
    ASSERT_TRUE(colour);
    if (getenv("DUMPX")) { auto p = colour->superview(); while (p && p->className() != "HighlightView") p = p->superview(); if (p) printf("%s\n", uitest::dumpViewTree(*p).c_str()); }
    ASSERT_TRUE(tapAndSettle(*colour));
    ASSERT_EQ(stored(*reader).size(), 1u);
    const auto page = rendererOf(*reader)->getActivePages().front().pageID;
    EXPECT_EQ(rendererOf(*reader)->overlayForPage(page).highlights.size(), 1u);
    EXPECT_FALSE(reader->highlightRoad().highlightView()->window()) << "the pop-up is gone";
    picture("highlighted");
    expectReading(*reader);
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
