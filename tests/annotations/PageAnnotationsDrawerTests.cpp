// Redrawing the visible pages: page keys, the order of the layers, each page's own
// highlights, the background read of a reflowable book and the note icons.

#include "AnnotationsTestSupport.h"

#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/UGCLabel.h"
#include "platform/base/Dispatch.h"
#include "platform/ui/Environment.h"

#include <chrono>
#include <future>
#include <thread>

namespace lectoro::annotationstest {
namespace {

class PageAnnotationsDrawerTests : public AnnotationsTest {
protected:
    static RendererPage page(int64_t id, std::string display, int64_t fileIndex = 0)
    {
        RendererPage result;
        result.pageID = id;
        result.displayNum = std::move(display);
        result.fileIndex = fileIndex;
        return result;
    }
    // The local ids handed to the renderer for a page, per draw.
    std::vector<std::vector<std::string>> drawnOn(int64_t pageNo) const
    {
        std::vector<std::vector<std::string>> draws;
        for (const auto& call : m_renderer->callsNamed("drawHighlights")) {
            if (call.arguments.at(1).asInteger() != pageNo)
                continue;
            std::vector<std::string> ids;
            for (const auto& record : *call.arguments.at(0).asList())
                ids.push_back(record["localID"].description());
            draws.push_back(ids);
        }
        return draws;
    }
};

TEST_F(PageAnnotationsDrawerTests, EachVisiblePageDrawsItsOwnHighlightsAndLaterPagesOnLoad)
{
    storedHighlight("a", "#A1", "10", "v");
    storedHighlight("b", "#B2", "11", "vi");
    storedHighlight("c", "#C3", "12", "vii");
    m_renderer->setActivePages({ page(10, "v"), page(11, "vi") });
    drawer().relaodPageUGCForActivePages();
    EXPECT_EQ(drawnOn(10), std::vector<std::vector<std::string>>({ { "a" } }));
    EXPECT_EQ(drawnOn(11), std::vector<std::vector<std::string>>({ { "b" } }));
    EXPECT_TRUE(drawnOn(12).empty());

    drawer().drawHighlightsOnPageNumber("12", "vii");
    EXPECT_EQ(drawnOn(12), std::vector<std::vector<std::string>>({ { "c" } }));
}

TEST_F(PageAnnotationsDrawerTests, APageBookDrawsEveryLayerPageByPage)
{
    m_settings->setIsBookmarkEnabled(true);
    m_renderer->setActivePages({ page(10, "v"), page(11, "vi") });
    EXPECT_EQ(drawer().getActivePageIDs(), std::vector<std::string>({ "10", "11" }));
    drawer().relaodPageUGCForActivePages();
    EXPECT_EQ(m_host.overlays.layers,
        std::vector<std::string>({ "highlights:10/v", "bookmark:10/v", "pen:10/v", "markups:10/v", "textBoxes:10/v",
            "protractor:10/v", "highlights:11/vi", "bookmark:11/vi", "pen:11/vi", "markups:11/vi", "textBoxes:11/vi",
            "protractor:11/vi" }));
}

TEST_F(PageAnnotationsDrawerTests, AReflowableBookIsKeyedByFileIndexAndReadOffTheMainThread)
{
    useReflowableBook();
    storedHighlight("a", "#A1", "3", "3");
    m_renderer->setActivePages({ page(0, "xii", 3) });
    EXPECT_EQ(drawer().getActivePageIDs(), std::vector<std::string>({ "3" }));
    drawer().relaodPageUGCForActivePages();
    EXPECT_EQ(m_host.overlays.layers, std::vector<std::string>({ "highlights:3/3", "pen:3/3" }));

    // The read runs in the background; the draw waits for the main queue.
    base::waitForBackgroundWork();
    EXPECT_TRUE(drawnOn(3).empty());
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(drawnOn(3), std::vector<std::vector<std::string>>({ { "a" } }));
    EXPECT_EQ(m_store->highlightQueriesOnMainThread(), std::vector<bool>({ false }));
}

TEST_F(PageAnnotationsDrawerTests, AReadFinishingAfterTheReaderIsGoneDrawsNothing)
{
    useReflowableBook();
    drawer().drawHighlightsOnPageNumber("3", "3");
    m_drawer.reset();
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_renderer->countOf("drawHighlights"), 0u);
}

// Entering a chapter must not wait for the store: its pen drawings are read in the
// background and drawn on the main queue when they arrive; a page book's stay synchronous.
TEST_F(PageAnnotationsDrawerTests, AChaptersPenDrawingsAreReadOffTheMainThreadAndDrawnWhenTheyArrive)
{
    auto drawing = std::make_shared<SDKPentoolVO>();
    drawing->localID = "stroke";
    drawing->pageIdentifier = "3";
    drawing->displayNum = "3";
    ASSERT_TRUE(m_store->savePentoolDrawing(drawing, "42", 5000000000).ok());
    auto drawnStrokes = [&] {
        std::vector<std::string> ids;
        for (const auto& call : m_renderer->callsNamed("drawPenDrawings")) {
            if (call.arguments.at(1).asInteger() == 3 && !call.arguments.at(0).asList()->empty())
                ids.push_back((*call.arguments.at(0).asList())[0]["localID"].description());
        }
        return ids;
    };

    useReflowableBook();
    drawer().drawPenDrawingsOnPageNumber("3", "3");
    EXPECT_EQ(m_renderer->countOf("drawPenDrawings"), 0u) << "nothing is drawn before the read is back";
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(drawnStrokes(), std::vector<std::string>({ "stroke" }));
    EXPECT_EQ(m_store->penQueriesOnMainThread(), std::vector<bool>({ false }));

    m_context.currentBook = m_book;
    m_renderer->setCurrentBook(m_book);
    drawer().drawPenDrawingsOnPageNumber("3", "3");
    EXPECT_EQ(drawnStrokes(), std::vector<std::string>({ "stroke", "stroke" })) << "a page book draws at once";
    EXPECT_EQ(m_store->penQueriesOnMainThread(), std::vector<bool>({ false, true }));
}

TEST_F(PageAnnotationsDrawerTests, AnOlderReadThatFinishesLastIsNotDrawnOverANewerOne)
{
    useReflowableBook();
    std::promise<void> read;
    std::promise<void> release;
    auto released = release.get_future().share();
    m_store->holdNextPenRead([&read, released] {
        read.set_value();
        released.wait();
    });
    drawer().drawPenDrawingsOnPageNumber("3", "3");
    read.get_future().wait();

    // Meanwhile a drawing is saved and the chapter redrawn: this read finishes first.
    auto drawing = std::make_shared<SDKPentoolVO>();
    drawing->localID = "stroke";
    drawing->pageIdentifier = "3";
    ASSERT_TRUE(m_store->savePentoolDrawing(drawing, "42", 5000000000).ok());
    drawer().drawPenDrawingsOnPageNumber("3", "3");
    for (int attempt = 0; attempt < 1000 && m_renderer->countOf("drawPenDrawings") == 0; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        base::RunLoop::main().runUntilIdle();
    }
    ASSERT_EQ(m_renderer->countOf("drawPenDrawings"), 1u);

    release.set_value();
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_renderer->countOf("drawPenDrawings"), 1u) << "the older, empty answer is dropped";
    EXPECT_EQ(m_renderer->lastCall("drawPenDrawings")->arguments.at(0).asList()->size(), 1u);
}

TEST_F(PageAnnotationsDrawerTests, NoteIconsFollowTheirKindDeviceAndOwner)
{
    auto received = std::make_shared<SDKHighlightVO>();
    received->noteText = "shared";
    received->backgroundColor = "#FF0000";
    received->isReceived = true;
    auto icon = std::dynamic_pointer_cast<UGCLabel>(drawer().noteIconViewForHighlight(received));
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->frame().size, ui::Size(40, 40));
    EXPECT_EQ(icon->text(), "V");
    EXPECT_EQ(icon->textColor(), ui::Color::fromRGB255(0x8f, 0xd5, 0xe1, 0.8));
    EXPECT_EQ(icon->accessibilityIdentifier(), "ReaderNoteOnPage");
    EXPECT_EQ(icon->highlightVO(), received);

    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    auto epub = std::make_shared<EPUBBookVO>();
    epub->meta.layout = 1;
    m_context.currentBook = epub;
    auto sticky = std::make_shared<SDKHighlightVO>();
    sticky->isStickyNote = true;
    sticky->backgroundColor = "#00FF00";
    auto stickyIcon = std::dynamic_pointer_cast<UGCLabel>(drawer().noteIconViewForHighlight(sticky));
    EXPECT_EQ(stickyIcon->frame().size, ui::Size(65, 65));
    EXPECT_EQ(stickyIcon->textColor(), ui::Color::fromRGB255(0, 255, 0, 0.85));
}

} // namespace
} // namespace lectoro::annotationstest
