#include "companion/renderer/BookRenderer.h"

#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/UGCLabel.h"
#include "companion/SampleBooks.h"
#include "companion/renderer/RecordingRendererDelegate.h"
#include "companion/store/TemporaryFolder.h"
#include "platform/base/RunLoop.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Environment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using companiontest::RecordingRendererDelegate;

using companiontest::samplePath;

ui::Point centre(const ui::Rect& rect)
{
    return { rect.origin.x + rect.size.width / 2, rect.origin.y + rect.size.height / 2 };
}

bool inside(const ui::Rect& inner, const ui::Rect& outer)
{
    return inner.size.width > 0 && inner.size.height > 0 && outer.contains(inner);
}

class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::Environment::current().setScreenSize({ 768, 1024 });
        ui::Environment::current().setInterfaceOrientation(ui::Orientation::Portrait);
    }

    std::shared_ptr<companion::BookRenderer> open(const std::string& folder)
    {
        auto renderer = companion::BookRenderer::create(folder, delegate);
        renderer->view()->setFrame({ { 0, 0 }, { 768, 1024 } });
        base::RunLoop::main().runUntilIdle();
        return renderer;
    }

    // A one-page book whose text is given.
    std::string bookWithText(const std::string& text)
    {
        std::filesystem::create_directories(folder.path() / "assets/xml-bin");
        std::ofstream(folder.path() / "assets/xml-bin/eBook.xml")
            << "<ebook id=\"9\"><chapters><chapter id=\"1\"><page id=\"1\" display=\"1\"><text>" << text
            << "</text></page></chapter></chapters></ebook>";
        return folder.string();
    }

    uitest::UIScope scope;
    companion::testing::TemporaryFolder folder;
    std::shared_ptr<RecordingRendererDelegate> delegate = std::make_shared<RecordingRendererDelegate>();
};

TEST_F(SelectionTest, WordsThreeToFiveBecomeAHighlightRecordOfThePage)
{
    auto renderer = open(samplePath("sample-pagebook"));
    renderer->navigateToPageNumber("103");
    ASSERT_TRUE(renderer->selectWords(103, 3, 5));
    ASSERT_TRUE(renderer->selection());
    EXPECT_EQ(renderer->selection()->text, "lifts tiny drops");
    ASSERT_EQ(delegate->selectionRects.size(), 1u);
    ui::Rect page { { 0, 0 }, renderer->pageSize(103) };
    EXPECT_TRUE(inside(delegate->selectionRects[0], page));
    EXPECT_EQ(delegate->selectionRects[0], renderer->selection()->rectInView);

    auto record = renderer->getHighlightForSelectedTextWithTextColor("#FFFF00", "#FFFF00");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->text, "lifts tiny drops");
    EXPECT_EQ(record->pageIdentifier, "103");
    EXPECT_EQ(record->displayNum, "1");
    EXPECT_EQ(record->startIndex, 9);
    EXPECT_EQ(record->endIndex, 25);
    EXPECT_FALSE(record->localID.empty());
    EXPECT_TRUE(inside(record->noteRect, page)) << "a note made from it puts its icon on the page";

    // Out of range, on a page off screen, or past the last word: nothing is selected.
    delegate->selectionRects.clear();
    EXPECT_FALSE(renderer->selectWords(103, 0, 2));
    EXPECT_FALSE(renderer->selectWords(103, 5, 3));
    EXPECT_FALSE(renderer->selectWords(103, 20, 400));
    EXPECT_FALSE(renderer->selectWords(104, 1, 1));
    EXPECT_TRUE(delegate->selectionRects.empty());
}

TEST_F(SelectionTest, APointPairSelectsAsAFingerDrags)
{
    auto renderer = open(samplePath("sample-pagebook"));
    renderer->navigateToPageNumber("103");
    const companion::PageTextLayout* layout = renderer->textLayoutForPage(103);
    ASSERT_TRUE(layout);
    ui::Point third = centre(layout->rectForRange(*layout->rangeOfWords(3, 3)));
    ui::Point fifth = centre(layout->rectForRange(*layout->rangeOfWords(5, 5)));
    // Either way round, from the first touched word to the last, in the renderer's view.
    for (auto [from, to] : { std::pair { third, fifth }, std::pair { fifth, third } }) {
        ASSERT_TRUE(renderer->selectBetweenPoints(from, to));
        EXPECT_EQ(renderer->selection()->text, "lifts tiny drops");
    }
    // A drag that ends in the margin below the text selects up to the nearest word.
    ASSERT_TRUE(renderer->selectBetweenPoints(third, { 700, 1000 }));
    EXPECT_EQ(renderer->selection()->text.rfind("lifts tiny drops", 0), 0u);
    EXPECT_EQ(renderer->selection()->text.back(), '.');
    EXPECT_FALSE(renderer->selectBetweenPoints({ -5, -5 }, fifth)) << "no page under the first touch";
}

TEST_F(SelectionTest, ASelectionNeverCutsACharacter)
{
    // "e" + combining acute, and a rain cloud outside the basic plane (a surrogate pair).
    auto renderer = open(bookWithText("Cafe\xCC\x81 under \xF0\x9F\x8C\xA7 clouds"));
    ASSERT_TRUE(renderer->isBookLoaded());
    struct Case {
        int64_t start;
        int64_t end;
        const char* text;
    };
    const Case cases[] = {
        // Ends between the "e" and its accent: the accent comes along.
        { 0, 4, "Cafe\xCC\x81" },
        // Starts between them: the selection starts at the "e".
        { 4, 5, "e\xCC\x81" },
        // Ends between the two halves of the cloud.
        { 6, 13, "under \xF0\x9F\x8C\xA7" },
        // Starts between them.
        { 13, 14, "\xF0\x9F\x8C\xA7" },
        // Reversed and out-of-range offsets are put in order and clamped.
        { 400, 15, "clouds" },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.text);
        ASSERT_TRUE(renderer->selectRange(1, testCase.start, testCase.end));
        EXPECT_EQ(renderer->selection()->text, testCase.text);
        auto record = renderer->getHighlightForSelectedTextWithTextColor("#FFFF00", "#FFFF00");
        ASSERT_TRUE(record);
        EXPECT_EQ(record->text, testCase.text);
        EXPECT_EQ(
            record->endIndex - record->startIndex, static_cast<int64_t>(base::utf16Length(testCase.text)));
    }
    EXPECT_FALSE(renderer->selectRange(1, 30, 40)) << "past the end there is nothing to select";
}

TEST_F(SelectionTest, ThePopUpStaysInsideTheViewBesideTheSelection)
{
    auto renderer = open(samplePath("sample-pagebook"));
    renderer->navigateToPageNumber("103");
    ASSERT_TRUE(renderer->selectWords(103, 1, 2));
    ui::Rect selected = renderer->selection()->rectInView;
    auto popup = ui::View::create({ { 0, 0 }, { 400, 54 } });
    ASSERT_TRUE(renderer->openHighlightView(popup, 103, selected.origin));
    ui::Rect frame = popup->frame();
    EXPECT_TRUE(renderer->view()->bounds().contains(frame));
    EXPECT_FALSE(frame.intersects(selected)) << "the first line has no room above: the pop-up goes below";
    EXPECT_GE(frame.origin.y, selected.origin.y + selected.size.height);

    // Near the right edge the pop-up is pulled back into the view.
    ASSERT_TRUE(renderer->selectWords(103, 8, 8));
    ASSERT_TRUE(renderer->openHighlightView(popup, 103, { 700, 500 }));
    EXPECT_LE(popup->frame().origin.x + popup->frame().size.width, 768);
    EXPECT_LE(popup->frame().origin.y + popup->frame().size.height, 500) << "room above: it stands above";
}

TEST_F(SelectionTest, NotesShowAnIconOnThePage)
{
    auto renderer = open(samplePath("sample-pagebook"));
    renderer->navigateToPageNumber("103");
    ASSERT_TRUE(renderer->selectWords(103, 3, 5));
    auto note = renderer->getHighlightForSelectedTextWithTextColor("#FFFF00", "#FFFF00");
    note->noteText = "Why do the drops rise?";
    renderer->postNoteWithHighlightVO(note);

    // Without an icon from the owner the renderer draws its own label, at the note.
    auto overlay = renderer->overlayForPage(103);
    ASSERT_EQ(overlay.noteIcons.size(), 1u);
    auto label = std::dynamic_pointer_cast<lectoro::UGCLabel>(overlay.noteIcons[0].view);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->highlightVO(), note);
    EXPECT_EQ(label->frame(), note->noteRect);
    EXPECT_EQ(label->superview(), renderer->pageView(103));
    renderer->tapPoint(103, centre(note->noteRect));
    EXPECT_EQ(delegate->linesStartingWith("noteTap").size(), 1u);

    // The owner's icon is used when it gives one, keeping its size; a plain highlight gets none.
    delegate->noteIcon = [] { return lectoro::UGCLabel::create({ { 0, 0 }, { 50, 50 } }); };
    ASSERT_TRUE(renderer->selectWords(103, 7, 7));
    auto plain = renderer->getHighlightForSelectedTextWithTextColor("#00FF00", "#00FF00");
    renderer->drawHighlights({ note, plain }, 103);
    overlay = renderer->overlayForPage(103);
    ASSERT_EQ(overlay.noteIcons.size(), 1u);
    EXPECT_EQ(overlay.noteIcons[0].view->frame().size, (ui::Size { 50, 50 }));
    EXPECT_EQ(overlay.noteIcons[0].view->frame().origin, note->noteRect.origin);
    EXPECT_FALSE(label->superview()) << "the earlier icon is taken off the page";

    renderer->deleteNoteWithHighlightVO(note);
    EXPECT_TRUE(renderer->overlayForPage(103).noteIcons.empty());
}

TEST_F(SelectionTest, TextBoxRecordsCarryTheirPage)
{
    auto renderer = open(samplePath("sample-pagebook"));
    renderer->navigateToPageNumber("105");
    auto box = renderer->getTextAnnotationVOWithDefaultPosition();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->pageIdentifier, "105");
    EXPECT_EQ(box->displayNum, "3");
    EXPECT_FALSE(box->localID.empty());
    EXPECT_TRUE(inside(box->rect, { { 0, 0 }, renderer->pageSize(105) }));
    renderer->addTextAnnotation(box);
    box->text = "Remember: clouds are water.";
    renderer->exitTextAnnotationMode();
    ASSERT_EQ(renderer->overlayForPage(105).textAnnotations.size(), 1u);
    EXPECT_EQ(renderer->overlayForPage(105).textAnnotations[0], box);
}

} // namespace
