#include "ShellTestSupport.h"

#include "LectoroSDKWithReader/reader/ReaderChrome.h"
#include "LectoroSDKWithReader/reader/ReaderReflowable.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "companion/analytics/QueuedAnalyticsManager.h"
#include "platform/ui/Environment.h"

namespace lectoro::shelltest {
namespace {

class ReaderShellRendererCallbacks : public ShellTest {
protected:
    std::shared_ptr<std::vector<RecordingOverlays::Layer>> watchOverlays()
    {
        auto overlays = std::make_unique<RecordingOverlays>();
        auto layers = overlays->layers;
        m_reader->setPageOverlays(std::move(overlays));
        return layers;
    }
};

TEST_F(ReaderShellRendererCallbacks, SearchWinsOverAJumpAndKeepsTheHelpOverlayAway)
{
    makeReader();
    m_reader->setElasticSearchText("water");
    m_reader->setJumpToPageId("4");
    m_renderer->loadBook(sample("sample-pagebook"), {});
    base::RunLoop::main().advanceBy(1);
    EXPECT_EQ(m_reader->search().searchTextStr(), "water");
    // The search's first hit is shown instead of the page asked for.
    ASSERT_TRUE(m_reader->search().hasSearchResult());
    auto moved = m_renderer->callsNamed("navigateToPageNumber");
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].arguments.at(0).asString().value_or(""), m_reader->search().searchResult()->pageIndex);
    EXPECT_FALSE(m_reader->chrome().isHelpScreenShown());
}

TEST_F(ReaderShellRendererCallbacks, AJumpAloneGoesToItsPageLaterAndTheHelpOverlayShowsOnce)
{
    makeReader();
    m_reader->setJumpToPageId("4");
    m_renderer->loadBook(sample("sample-pagebook"), {});
    EXPECT_TRUE(m_reader->chrome().isHelpScreenShown());
    EXPECT_EQ(m_delegate->events.front(), "bookLoaded");
    base::RunLoop::main().advanceBy(0.29);
    EXPECT_EQ(m_renderer->countOf("navigateToPageNumber"), 0u);
    base::RunLoop::main().advanceBy(0.02);
    auto jump = m_renderer->lastCall("navigateToPageNumber");
    ASSERT_TRUE(jump);
    EXPECT_EQ(jump->arguments.at(0).asString(), "106") << "the display number's page id";
}

TEST_F(ReaderShellRendererCallbacks, InitialDisplayNumber)
{
    struct Case {
        const char* folio;
        bool bookKnown;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        { "{\"chapterid\":\"5\",\"page\":\"2\",\"positionIdentifier\":\"/4/2\"}", false, "5" },
        // A page book's label becomes the page id once the book is known…
        { "4", true, "106" },
        { "ii", true, "102" },
        // …a label no page carries, the first page…
        { "99", true, "101" },
        // …and before that the label goes to the renderer as it is.
        { "4", false, "4" },
    };
    makeReader();
    auto book = sample("sample-pagebook");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folio);
        m_renderer->setCurrentBook(c.bookKnown ? book : nullptr);
        m_reader->setLastPageFolio(std::string(c.folio));
        EXPECT_EQ(m_reader->initialDisplayNumber(*m_renderer), c.expected);
    }
    m_reader->setLastPageFolio(std::nullopt);
    EXPECT_EQ(m_reader->initialDisplayNumber(*m_renderer), std::nullopt);

    // A search hit the reader holds opens its page, whatever the last page was.
    auto hit = std::make_shared<TextSearchResult>();
    hit->pageIndex = "102";
    hit->displayNumber = "ii";
    m_reader->search().didSelectSearchText(hit);
    m_renderer->setCurrentBook(book);
    m_reader->setLastPageFolio(std::string("4"));
    EXPECT_EQ(m_reader->initialDisplayNumber(*m_renderer), "102");
    EXPECT_EQ(m_reader->lastPageFolio(), "ii");
}

TEST_F(ReaderShellRendererCallbacks, BookmarkAndPrintButtonComeHalfASecondAfterTheHighlights)
{
    struct Case {
        bool bookmarks;
        std::vector<std::string> atOnce;
        std::vector<std::string> later;
    };
    const Case cases[] = {
        { true, { "highlights", "pen", "markups", "textBoxes", "protractor" }, { "bookmark", "print" } },
        { false, { "highlights", "print", "pen", "markups", "textBoxes", "protractor" }, {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bookmarks);
        m_settings->setIsBookmarkEnabled(c.bookmarks);
        makeReader();
        auto layers = watchOverlays();
        helpAlreadySeen();
        m_renderer->loadBook(sample("sample-pagebook"), { pageBookPage(103, "1") });
        double loadedAt = base::RunLoop::main().now();
        std::vector<std::string> atOnce;
        for (const auto& layer : *layers)
            atOnce.push_back(layer.name);
        EXPECT_EQ(atOnce, c.atOnce);
        base::RunLoop::main().advanceBy(0.5);
        ASSERT_EQ(layers->size(), c.atOnce.size() + c.later.size());
        for (size_t i = 0; i < c.later.size(); ++i) {
            const auto& layer = (*layers)[c.atOnce.size() + i];
            EXPECT_EQ(layer.name, c.later[i]);
            EXPECT_DOUBLE_EQ(layer.time, loadedAt + 0.5);
            EXPECT_EQ(layer.page, "103");
            EXPECT_EQ(layer.display, "1");
        }
    }
}

TEST_F(ReaderShellRendererCallbacks, TeacherReviewPageLoadsDrawNothingOfTheReadersOwn)
{
    makeReader();
    auto layers = watchOverlays();
    helpAlreadySeen();
    m_renderer->loadBook(sample("sample-pagebook"), {});
    m_reader->setActiveMode(ReaderActiveModeTeacherReview);
    m_renderer->showPages({ pageBookPage(104, "2") });
    base::RunLoop::main().advanceBy(1);
    EXPECT_TRUE(layers->empty());
}

TEST_F(ReaderShellRendererCallbacks, PageLoadsNameTheChapterInTheTopBar)
{
    makeReader();
    helpAlreadySeen();
    auto book = std::dynamic_pointer_cast<PXBookVO>(sample("sample-pagebook"));
    ASSERT_TRUE(book);
    m_renderer->loadBook(book, { pageBookPage(106, "4") });
    auto chapter = book->getChapterForPageID("106");
    ASSERT_TRUE(chapter);
    EXPECT_EQ(m_reader->context().currentChapterName, chapter->title);
}

TEST_F(ReaderShellRendererCallbacks, PinchStepsTheReflowableFontWithinOneToFive)
{
    struct Case {
        int64_t stored;
        bool pinchIn;
        std::optional<int64_t> applied;
        const char* name;
    };
    const Case cases[] = {
        { 1, true, std::nullopt, "" },
        { 5, false, std::nullopt, "" },
        { 3, true, 2, "Medium" },
        { 3, false, 4, "XLarge" },
        { 0, false, 1, "Small" },
    };
    makeReader();
    helpAlreadySeen();
    auto book = std::dynamic_pointer_cast<EPUBBookVO>(sample("sample-reflowable-epub"));
    m_renderer->loadBook(book, {});
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.stored) + (c.pinchIn ? " in" : " out"));
        defaults().setInteger("kFontSizeKey", c.stored);
        m_renderer->clearCalls();
        size_t liveBefore = framework().analytics() ? framework().analytics()->liveEvents().size() : 0;
        m_reader->didPinchOnPage(*m_renderer, c.pinchIn);
        auto changed = m_renderer->lastCall("didFontSizeChanged");
        if (!c.applied) {
            EXPECT_FALSE(changed);
            EXPECT_EQ(defaults().integerForKey("kFontSizeKey"), c.stored);
            continue;
        }
        ASSERT_TRUE(changed);
        EXPECT_EQ(changed->arguments.at(0).integerValue(), *c.applied);
        EXPECT_EQ(book->userReaderFontSettings->fontSize, *c.applied);
        EXPECT_EQ(defaults().integerForKey("kFontSizeKey"), *c.applied)
            << "the next pinch moves on from here";
        if (auto analytics = framework().analytics()) {
            auto live = analytics->liveEvents();
            ASSERT_EQ(live.size(), liveBefore + 1);
            EXPECT_EQ(live.back().name, "font_size_data_live");
            EXPECT_EQ(live.back().info["font_size_value"].asString(), std::string(c.name));
        }
    }
}

TEST_F(ReaderShellRendererCallbacks, SingleTapByMode)
{
    struct Case {
        uint64_t mode;
        uint64_t modeAfter;
        bool barsToggle;
    };
    const Case cases[] = {
        { ReaderActiveModeNone, ReaderActiveModeNone, true },
        { ReaderActiveModeVideo, ReaderActiveModeVideo, true },
        { ReaderActiveModeReflowableSettings, ReaderActiveModeReflowableSettings, true },
        { ReaderActiveModeFillInBlank, ReaderActiveModeNone, false },
        { ReaderActiveModeContents, ReaderActiveModeNone, false },
        { ReaderActiveModeReadAloud, ReaderActiveModeReadAloud, true },
        { ReaderActiveModeNoteView, ReaderActiveModeNoteView, false },
        { ReaderActiveModeThumbnails, ReaderActiveModeThumbnails, false },
        { ReaderActiveModePenTool, ReaderActiveModePenTool, false },
        { ReaderActiveModeMyData, ReaderActiveModeMyData, false },
        { ReaderActiveModeSearch, ReaderActiveModeSearch, false },
    };
    makeReader();
    helpAlreadySeen();
    m_renderer->loadBook(sample("sample-pagebook"), {});
    base::RunLoop::main().advanceBy(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        m_reader->setActiveMode(c.mode);
        bool hiddenBefore = m_reader->isPlayerActionBarHidden();
        ui::Environment::current().clearAccessibilityPosts();
        m_reader->didSingleTapOnPage(*m_renderer, 101);
        EXPECT_EQ(m_reader->activeMode(), c.modeAfter);
        EXPECT_EQ(m_reader->isPlayerActionBarHidden(), c.barsToggle ? !hiddenBefore : hiddenBefore);
        base::RunLoop::main().advanceBy(0.5);
        // Every tap ends with the screen-changed notice on the top bar.
        ASSERT_EQ(ui::Environment::current().accessibilityPosts().size(), 1u);
        EXPECT_EQ(ui::Environment::current().accessibilityPosts()[0].element.lock().get(),
            static_cast<ui::View*>(m_reader->context().playerTopActionBarView.get()));
    }
}

TEST_F(ReaderShellRendererCallbacks, ReadAloudCarriesOnOnlyWhereThePageChanged)
{
    struct Case {
        const char* loaded;
        const char* current;
        const char* last;
        const char* first;
        const char* lastActive;
        bool due;
    };
    const Case cases[] = {
        { "5", "5", "", "5", "5", false },
        { "5", "3", "5", "5", "5", false },
        { "5", "", "", "5", "5", true },
        { "5", "3", "", "5", "6", true },
        { "6", "3", "", "5", "6", false },
        { "6", "5", "", "5", "5", true },
        { "6", "5", "", "5", "6", false },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReaderViewController::isReadAloudContinuationDue(
                      c.loaded, c.current, c.last, c.first, c.lastActive),
            c.due)
            << c.loaded << " " << c.current << " " << c.last << " " << c.first << " " << c.lastActive;
    }
}

TEST_F(ReaderShellRendererCallbacks, AReflowableBookPrintsOnlyWhenAllowed)
{
    struct Case {
        bool reflowPrint;
        bool printablePages;
        bool twoPageLineOff;
        bool printing;
        bool lineRemoved;
    };
    const Case cases[] = {
        { false, false, true, false, false },
        { true, false, false, true, false },
        { true, false, true, true, true },
        { false, true, true, true, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.reflowPrint) + std::to_string(c.printablePages)
            + std::to_string(c.twoPageLineOff));
        m_settings->setIsPrintEnabled(false);
        makeReader();
        helpAlreadySeen();
        m_reader->setIsReflowPrintEnable(c.reflowPrint);
        m_reader->disableTwoPageSeperationLine(c.twoPageLineOff);
        auto book = std::dynamic_pointer_cast<EPUBBookVO>(sample("sample-reflowable-epub"));
        ASSERT_TRUE(book && book->isReflowable());
        book->printEnabledPageArray
            = c.printablePages ? base::Value(base::Value::List { "1" }) : base::Value::List {};
        m_renderer->loadBook(book, {});
        EXPECT_EQ(m_settings->isPrintEnabled(), c.printing);
        EXPECT_EQ(m_renderer->countOf("disableTwoPageSeperation"), c.lineRemoved ? 1u : 0u);
        EXPECT_EQ(m_renderer->getBookOrientationMode(), 0);
    }
}

TEST_F(ReaderShellRendererCallbacks, AReflowableBookGetsItsSliderAndPageCount)
{
    makeReader();
    helpAlreadySeen();
    auto book = std::dynamic_pointer_cast<EPUBBookVO>(sample("sample-reflowable-epub"));
    book->userReaderFontSettings->scrollEnabled = true;
    m_renderer->loadBook(book, {});
    auto& reflowable = m_reader->reflowable();
    ASSERT_TRUE(reflowable.slider());
    EXPECT_TRUE(reflowable.isVerticalsliderEnable());
    EXPECT_TRUE(reflowable.pageCount());
    EXPECT_TRUE(reflowable.layoutSettings());

    // A page book has none.
    makeReader();
    m_renderer->loadBook(sample("sample-pagebook"), {});
    EXPECT_FALSE(m_reader->reflowable().slider());
}

} // namespace
} // namespace lectoro::shelltest
