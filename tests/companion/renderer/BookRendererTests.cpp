#include "companion/renderer/BookRenderer.h"

#include "LectoroSDKWithReader/readersdk/TextSearchController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "companion/books/BookErrors.h"
#include "platform/base/Dispatch.h"
#include "platform/base/Json.h"
#include "platform/base/RunLoop.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Environment.h"
#include "companion/renderer/RecordingRendererDelegate.h"

#include "companion/SampleBooks.h"

#include <gtest/gtest.h>

namespace {

using companiontest::samplePath;

using companiontest::RecordingRendererDelegate;
using Lines = std::vector<std::string>;

class BookRendererTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::Environment::current().setScreenSize({ 768, 1024 });
        ui::Environment::current().setInterfaceOrientation(ui::Orientation::Portrait);
    }

    // Makes a renderer for the book, loads its view and lets it load the book.
    std::shared_ptr<companion::BookRenderer> open(const std::string& book)
    {
        auto renderer = companion::BookRenderer::create(samplePath(book), delegate);
        renderer->view();
        EXPECT_TRUE(delegate->log.empty()) << "the book loads only once the run loop turns";
        base::RunLoop::main().runUntilIdle();
        return renderer;
    }

    static std::vector<int64_t> activeNumbers(const lectoro::RendererViewController& renderer)
    {
        std::vector<int64_t> numbers;
        for (const auto& page : renderer.getActivePages())
            numbers.push_back(page.pageID);
        return numbers;
    }

    uitest::UIScope scope;
    std::shared_ptr<RecordingRendererDelegate> delegate = std::make_shared<RecordingRendererDelegate>();
};

TEST_F(BookRendererTest, PageBookReportsOpeningInOrder)
{
    auto renderer = open("sample-pagebook");
    EXPECT_EQ(delegate->log,
        (Lines { "initialDisplayNumber", "loaded", "decrypted", "willLoad:101:i", "didLoad:101:i", "available:1:101" }));
    ASSERT_TRUE(delegate->loadedBook);
    EXPECT_EQ(renderer->currentBook(), delegate->loadedBook);
    EXPECT_EQ(activeNumbers(*renderer), (std::vector<int64_t> { 101 }));
    EXPECT_EQ(renderer->getActivePages().front().displayNum, "i");
}

TEST_F(BookRendererTest, ReflowableEpubReportsPositionsAroundItsFirstChapter)
{
    auto renderer = open("sample-reflowable-epub");
    ASSERT_FALSE(delegate->loadError) << delegate->loadError->localizedDescription();
    // The whole book is measured, then laid out, in the background once the first page is up.
    for (int step = 0; step < 2; ++step) {
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
    }
    EXPECT_EQ(delegate->log,
        (Lines { "initialDisplayNumber", "loaded", "decrypted", "willLoad:0:0", "willLoadCFI:0", "didLoad:0:0",
            "available:1:0", "bookCFI:0", "contentSize", "cfisCounted", "bookCFI:0" }));
    auto epub = std::dynamic_pointer_cast<lectoro::EPUBBookVO>(delegate->loadedBook);
    ASSERT_TRUE(epub);
    EXPECT_TRUE(epub->isBookContentLoaded);
    EXPECT_EQ(epub->bookCFIs.size(), epub->chapters.size());
    auto pages = renderer->getActivePages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].fileIndex, 0);
    EXPECT_FALSE(pages[0].href.empty());
    EXPECT_FALSE(renderer->getCurrentCFI().empty());

    // Moving on unloads the positions before the page, then loads the next chapter.
    delegate->log.clear();
    ASSERT_TRUE(renderer->swipe(companion::RendererSwipe::Next));
    EXPECT_EQ(delegate->linesStartingWith("willUnload"), (Lines { "willUnloadCFI:0", "willUnload:0" }));
    EXPECT_EQ(delegate->linesStartingWith("didLoad"), (Lines { "didLoad:1:1" }));
}

TEST_F(BookRendererTest, InitialDisplayNumberChoosesTheFirstPage)
{
    struct Case {
        const char* book;
        std::optional<std::string> answer;
        int64_t expectedFirst;
    };
    const Case cases[] = {
        { "sample-pagebook", "105", 105 },
        // A page book's owner names the printed label: it is found before any page id.
        { "sample-pagebook", "4", 106 },
        { "sample-pagebook", "ii", 102 },
        { "sample-pagebook", "9999", 101 },
        { "sample-pagebook", "not a page", 101 },
        { "sample-fixed-epub", "2", 2 },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(std::string(testCase.book) + " " + testCase.answer.value_or("none"));
        delegate = std::make_shared<RecordingRendererDelegate>();
        delegate->initialAnswer = testCase.answer;
        auto renderer = open(testCase.book);
        ASSERT_FALSE(renderer->getActivePages().empty());
        auto first = renderer->getActivePages().front();
        EXPECT_EQ(first.href.empty() ? first.pageID : first.fileIndex, testCase.expectedFirst);
    }
}

TEST_F(BookRendererTest, LandscapeShowsSpreadsOfFixedLayoutBooks)
{
    ui::Environment::current().setInterfaceOrientation(ui::Orientation::LandscapeLeft);
    auto renderer = open("sample-pagebook");
    EXPECT_EQ(activeNumbers(*renderer), (std::vector<int64_t> { 101, 102 }));
    EXPECT_EQ(delegate->linesStartingWith("didLoad"), (Lines { "didLoad:101:i", "didLoad:102:ii" }));

    delegate->log.clear();
    renderer->navigateToPageNumber("104");
    EXPECT_EQ(activeNumbers(*renderer), (std::vector<int64_t> { 103, 104 }));
    EXPECT_EQ(delegate->log,
        (Lines { "available:0:101", "willUnload:101", "available:0:102", "willUnload:102", "willLoad:103:1",
            "didLoad:103:1", "available:1:103", "willLoad:104:2", "didLoad:104:2", "available:1:104" }));

    // Asking for a page of the spread on screen changes nothing.
    delegate->log.clear();
    renderer->navigateToPageNumber("103");
    EXPECT_TRUE(delegate->log.empty());
}

TEST_F(BookRendererTest, OrientationModesAndRotationDecideTheSpread)
{
    auto renderer = open("sample-pagebook");
    renderer->navigateToPageNumber("103");
    EXPECT_EQ(activeNumbers(*renderer), (std::vector<int64_t> { 103 }));

    ui::Environment::current().setInterfaceOrientation(ui::Orientation::LandscapeRight);
    delegate->log.clear();
    renderer->relayoutPages();
    EXPECT_EQ(activeNumbers(*renderer), (std::vector<int64_t> { 103, 104 }));
    EXPECT_EQ(delegate->linesStartingWith("didLoad"), (Lines { "didLoad:104:2" })) << "103 stays on screen";

    renderer->setBookOrientationMode(lectoro::RendererBookOrientationPortrait);
    EXPECT_EQ(renderer->getBookOrientationMode(), lectoro::RendererBookOrientationPortrait);
    EXPECT_EQ(activeNumbers(*renderer), (std::vector<int64_t> { 103 }));

    renderer->setBookOrientationMode(lectoro::RendererBookOrientationFree);
    renderer->disableTwoPageSeperation(true);
    EXPECT_EQ(activeNumbers(*renderer), (std::vector<int64_t> { 103 }));
}

TEST_F(BookRendererTest, ReflowableBooksNeverShowSpreads)
{
    ui::Environment::current().setInterfaceOrientation(ui::Orientation::LandscapeLeft);
    auto reflowable = open("sample-reflowable-epub");
    EXPECT_EQ(reflowable->getActivePages().size(), 1u);

    delegate = std::make_shared<RecordingRendererDelegate>();
    auto fixed = open("sample-fixed-epub");
    EXPECT_EQ(fixed->getActivePages().size(), 2u);
}

TEST_F(BookRendererTest, BrokenFoldersFailCleanly)
{
    const std::string missing = samplePath("no-such-book");
    for (const auto& path : { missing, std::string(LECTORO_SAMPLES_DIR) }) {
        SCOPED_TRACE(path);
        delegate = std::make_shared<RecordingRendererDelegate>();
        auto renderer = companion::BookRenderer::create(path, delegate);
        renderer->view();
        base::RunLoop::main().runUntilIdle();
        EXPECT_EQ(delegate->log, (Lines { "initialDisplayNumber", "failed" }));
        ASSERT_TRUE(delegate->loadError);
        EXPECT_EQ(delegate->loadError->domain, companion::bookErrorDomain);
        EXPECT_TRUE(renderer->getActivePages().empty());
        renderer->navigateToPageNumber("1");
        renderer->reloadPages();
        EXPECT_FALSE(renderer->swipe(companion::RendererSwipe::Next));
        EXPECT_EQ(delegate->log.size(), 2u);
    }
}

TEST_F(BookRendererTest, NavigationFromACallbackWinsOverTheLoadInProgress)
{
    ui::Environment::current().setInterfaceOrientation(ui::Orientation::LandscapeLeft);
    bool jumped = false;
    delegate->onDidLoadPage = [&](lectoro::RendererViewController& renderer, int64_t page) {
        if (page == 101 && !jumped) {
            jumped = true;
            renderer.navigateToPageNumber("105");
        }
    };
    auto renderer = open("sample-pagebook");
    EXPECT_EQ(activeNumbers(*renderer), (std::vector<int64_t> { 105, 106 }));
    // 102 was never reported loaded: the jump replaced the spread before its turn.
    EXPECT_EQ(delegate->linesStartingWith("didLoad"), (Lines { "didLoad:101:i", "didLoad:105:3", "didLoad:106:4" }));
    auto available = delegate->linesStartingWith("available:1");
    EXPECT_EQ(available, (Lines { "available:1:105", "available:1:106" }));
}

TEST_F(BookRendererTest, ClearingFromACallbackStopsEveryReport)
{
    delegate->onBookLoaded = [](lectoro::RendererViewController& renderer) { renderer.clearObjects(); };
    auto renderer = open("sample-pagebook");
    EXPECT_EQ(delegate->log, (Lines { "initialDisplayNumber", "loaded" }));
    EXPECT_FALSE(renderer->currentBook());
    EXPECT_TRUE(renderer->getActivePages().empty());
}

TEST_F(BookRendererTest, OverlaysAreKeptPerPageWhileThePageIsOnScreen)
{
    auto renderer = open("sample-pagebook");
    auto highlight = std::make_shared<lectoro::SDKHighlightVO>();
    highlight->pageIdentifier = "101";
    renderer->drawHighlights({ highlight }, 101);
    renderer->drawHighlights({ highlight }, 107);
    auto bookmarkView = ui::View::create();
    renderer->addBookmarkView(bookmarkView, 101);
    renderer->highlightText("water", 101, std::string("#BBA3D0"));

    auto overlay = renderer->overlayForPage(101);
    ASSERT_EQ(overlay.highlights.size(), 1u);
    EXPECT_EQ(overlay.bookmarkView, bookmarkView);
    EXPECT_EQ(bookmarkView->superview(), renderer->pageView(101));
    ASSERT_EQ(overlay.searchMarks.size(), 1u);
    EXPECT_EQ(overlay.searchMarks[0].hitCount, 1u);
    EXPECT_TRUE(renderer->overlayForPage(107).isEmpty()) << "page 107 is not on screen";

    // "" removes the page's search marks and nothing else.
    renderer->highlightText("", 101, std::nullopt);
    EXPECT_TRUE(renderer->overlayForPage(101).searchMarks.empty());
    EXPECT_EQ(renderer->overlayForPage(101).highlights.size(), 1u);

    renderer->navigateToPageNumber("102");
    EXPECT_TRUE(renderer->overlayForPage(101).isEmpty());
    EXPECT_FALSE(bookmarkView->superview());
}

TEST_F(BookRendererTest, SelectionBecomesAHighlightAndCanBeDeleted)
{
    auto renderer = open("sample-pagebook");
    renderer->navigateToPageNumber("103");
    EXPECT_FALSE(renderer->selectText(104, "rain")) << "page 104 is not on screen";
    EXPECT_FALSE(renderer->selectText(103, "snowfall"));
    ASSERT_TRUE(renderer->selectText(103, "tiny drops"));
    EXPECT_EQ(delegate->linesStartingWith("selection"), (Lines { "selection:103" }));

    auto popup = ui::View::create({ { 0, 0 }, { 200, 44 } });
    EXPECT_FALSE(renderer->openHighlightView(popup, 101, { 10, 10 }));
    EXPECT_TRUE(renderer->openHighlightView(popup, 103, { 10, 10 }));
    renderer->highlight(popup, "#000000", "#FFFF00", false);
    ASSERT_EQ(delegate->completedHighlights.size(), 1u);
    auto record = delegate->completedHighlights[0];
    EXPECT_EQ(record->text, "tiny drops");
    EXPECT_EQ(record->pageIdentifier, "103");
    EXPECT_EQ(record->displayNum, "1");
    EXPECT_EQ(record->backgroundColor, "#FFFF00");
    EXPECT_EQ(record->endIndex - record->startIndex, 10);
    EXPECT_EQ(record->status, lectoro::UGCStatusNew);
    EXPECT_FALSE(popup->superview());
    EXPECT_EQ(renderer->overlayForPage(103).highlights.size(), 1u);

    // Selecting inside the highlight answers the same record, which can then be deleted.
    ASSERT_TRUE(renderer->selectText(103, "drops"));
    auto again = renderer->getHighlightForSelectedTextWithTextColor("#FFFF00", "#FFFF00");
    EXPECT_EQ(again, record);
    renderer->deleteSelectedHighlight(again);
    EXPECT_EQ(delegate->linesStartingWith("highlight"), (Lines { "highlight:1", "highlight:3" }));
    EXPECT_TRUE(renderer->overlayForPage(103).highlights.empty());
}

TEST_F(BookRendererTest, TapsPinchesAndLinks)
{
    auto renderer = open("sample-pagebook");
    auto note = renderer->getHighlightVOForStickyNoteWithDefaultPosition();
    ASSERT_TRUE(note);
    note->noteText = "Remember this";
    renderer->postNoteWithHighlightVO(note);
    renderer->tapPoint(101, note->noteRect.origin);
    renderer->tapPoint(101, { 500, 500 });
    EXPECT_EQ(delegate->linesStartingWith("noteTap"), (Lines { "noteTap" }));
    EXPECT_EQ(delegate->linesStartingWith("tap:"), (Lines { "tap:101" }));
    EXPECT_EQ(renderer->getHighlightVOForStickyNoteTouchPoint(note->noteRect.origin), note);

    delegate->zoomPercent = 200;
    renderer->pinch(5);
    EXPECT_DOUBLE_EQ(renderer->zoomScale(), 2.0) << "bounded by the delegate's largest zoom";
    renderer->pinch(0.1);
    EXPECT_DOUBLE_EQ(renderer->zoomScale(), 1.0);
    EXPECT_EQ(delegate->linesStartingWith("zoom"), (Lines { "zoomIn", "zoomOut" }));

    EXPECT_FALSE(renderer->tapLink(1032)) << "its page is not on screen";
    renderer->navigateToPageNumber("103");
    ASSERT_TRUE(renderer->tapLink(1032));
    ASSERT_EQ(delegate->resources.size(), 1u);
    EXPECT_EQ(*delegate->resources[0]["url"].asString(), "https://example.org/clouds");
    EXPECT_FALSE(renderer->tapLink(424242));
}

TEST_F(BookRendererTest, ReflowablePinchAsksForAFontStep)
{
    auto renderer = open("sample-reflowable-epub");
    renderer->pinch(0.5);
    renderer->pinch(2);
    EXPECT_EQ(delegate->linesStartingWith("pinch"), (Lines { "pinch:in", "pinch:out" }));
    EXPECT_DOUBLE_EQ(renderer->zoomScale(), 1.0);
}

TEST_F(BookRendererTest, SwipesTurnPagesUntilTheEnds)
{
    auto renderer = open("sample-fixed-epub");
    auto count = renderer->pageNumbers().size();
    ASSERT_GE(count, 2u);
    EXPECT_FALSE(renderer->swipe(companion::RendererSwipe::Previous));
    size_t turns = 0;
    while (renderer->swipe(companion::RendererSwipe::Next))
        ++turns;
    EXPECT_EQ(turns, count - 1);
    EXPECT_EQ(delegate->linesStartingWith("beginScroll").size(), turns);
    EXPECT_EQ(delegate->linesStartingWith("endScroll").back(), "endScroll:" + std::to_string(renderer->pageNumbers().back()));
}

TEST_F(BookRendererTest, FurthestPageFollowsTheReaderForward)
{
    auto renderer = open("sample-pagebook");
    renderer->enableFurthestPage(true);
    ASSERT_TRUE(renderer->isFurthestPageEnabled());
    renderer->navigateToPageNumber("104");
    renderer->navigateToPageNumber("102");
    auto reports = delegate->linesStartingWith("furthest");
    ASSERT_EQ(reports.size(), 1u) << "going back reports nothing";
    auto data = base::parseJson(*renderer->furthestPageData());
    ASSERT_TRUE(data.ok());
    EXPECT_EQ(data.value()["pageNumber"].integerValue(), 104);

    bool succeeded = false;
    std::optional<base::Error> failure;
    renderer->navigateToFurthestPageWithSuccessHandler([&] { succeeded = true; }, [&](const base::Error& error) { failure = error; });
    EXPECT_TRUE(succeeded);
    EXPECT_EQ(renderer->getActivePages().front().pageID, 104);
    renderer->navigateToFurthestPageWithSuccessHandler([&] { succeeded = false; }, [&](const base::Error& error) { failure = error; });
    EXPECT_TRUE(failure) << "already there";

    // A stored value from elsewhere counts too; a value naming no page gives a failure.
    renderer->setFurthestPageData("{\"pageNumber\": 110}");
    failure.reset();
    renderer->navigateToFurthestPageWithSuccessHandler({}, [&](const base::Error& error) { failure = error; });
    EXPECT_FALSE(failure);
    EXPECT_EQ(renderer->getActivePages().front().pageID, 110);
    renderer->setFurthestPageData("garbage");
    renderer->navigateToFurthestPageWithSuccessHandler({}, [&](const base::Error& error) { failure = error; });
    EXPECT_TRUE(failure);
}

TEST_F(BookRendererTest, SelectedSearchHitSteps)
{
    auto renderer = open("sample-pagebook");
    std::vector<std::shared_ptr<lectoro::TextSearchResult>> hits;
    for (int i = 0; i < 3; ++i)
        hits.push_back(std::make_shared<lectoro::TextSearchResult>());
    renderer->highlightText("water", 101, std::string("#BBA3D0"), "#757575", hits, hits[1]);
    EXPECT_EQ(renderer->selectedSearchHitIndex(), 1u);
    EXPECT_TRUE(renderer->isNextSearchResultAvailableForSearchResult(hits[1]));
    EXPECT_FALSE(renderer->isNextSearchResultAvailableForSearchResult(hits[2]));
    EXPECT_TRUE(renderer->isPreviousSearchResultAvailableForSearchResult(hits[1]));
    renderer->moveToNextSelectedSearch();
    EXPECT_TRUE(renderer->isLastNextSearchResult());
    EXPECT_FALSE(renderer->isNextSearchResultAvailable());
    renderer->moveToPreviousSelectedSearchForSearchResult(hits[2]);
    renderer->moveToPreviousSelectedSearch();
    EXPECT_TRUE(renderer->isLastPreviousSearchResult());
    EXPECT_EQ(renderer->selectedSearchHitIndex(), 0u);
}

TEST_F(BookRendererTest, PrintingHandsBackOnlyRealPages)
{
    auto renderer = open("sample-pagebook");
    std::shared_ptr<lectoro::RendererPrintPage> printed;
    int calls = 0;
    renderer->printPagesWithWatermark("Mark", "#668A96", { 103, 9999 }, [&](auto page) {
        ++calls;
        printed = page;
    });
    EXPECT_EQ(calls, 0) << "the answer comes on the run loop";
    base::RunLoop::main().runUntilIdle();
    ASSERT_EQ(calls, 1);
    ASSERT_TRUE(printed);
    EXPECT_EQ(printed->pageNumbers, (std::vector<int64_t> { 103 }));
    EXPECT_EQ(printed->watermark, "Mark");

    renderer->printPagesWithWatermark("Mark", "#668A96", { 9999 }, [&](auto page) {
        ++calls;
        printed = page;
    });
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(printed);
}

TEST_F(BookRendererTest, RendererGoneBeforeItsLoadTurnLoadsNothing)
{
    auto renderer = companion::BookRenderer::create(samplePath("sample-pagebook"), delegate);
    renderer->view();
    renderer.reset();
    base::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(delegate->log.empty());
}

} // namespace
