// Search as the reader runs it: opening from the toolbar, the field's rules, the blur,
// picking and marking hits, stepping over pages, the decryption repeat, closing, and the
// reader's side of voice search.

#include "reader/shell/ShellTestSupport.h"

#include "LectoroSDKWithReader/reader/ReaderChrome.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "LectoroSDKWithReader/search/TextSearchView.h"
#include "companion/analytics/QueuedAnalyticsManager.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/VisualEffectView.h"

namespace lectoro::shelltest {
namespace {

// An engine whose hits and readiness a test sets.
class ScriptedSearchEngine : public TextSearchController {
public:
    std::vector<std::shared_ptr<TextSearchResult>> all;
    bool available = true;
    std::vector<std::string> pageQueries;
    // Page queries answer every hit (as a query over the book would) instead of the page's.
    bool pageQueryAnswersAll = false;
    // What the page-to-page queries answer.
    std::vector<std::shared_ptr<TextSearchResult>> nextPage;

    const std::string& searchText() const override { return m_text; }
    int searchType() const override { return 0; }
    void setDelegate(std::weak_ptr<TextSearchControllerDelegate> delegate) override
    {
        m_delegate = std::move(delegate);
    }
    std::shared_ptr<TextSearchControllerDelegate> delegate() const override { return m_delegate.lock(); }
    bool isSearchResultAvailable() const override { return available; }
    std::vector<std::shared_ptr<TextSearchResult>> getSearchResultForText(
        const std::string&, int64_t offset, int64_t size) override
    {
        std::vector<std::shared_ptr<TextSearchResult>> batch;
        for (int64_t index = offset; index < offset + size && index < static_cast<int64_t>(all.size());
             ++index)
            batch.push_back(all[static_cast<size_t>(index)]);
        return batch;
    }
    std::vector<std::shared_ptr<TextSearchResult>> getSearchResultForTextWithPageNo(
        const std::string&, const std::string& page, const std::optional<ui::Font>&) override
    {
        pageQueries.push_back(page);
        if (pageQueryAnswersAll)
            return all;
        std::vector<std::shared_ptr<TextSearchResult>> onPage;
        for (const auto& hit : all) {
            if (hit->pageIndex == page)
                onPage.push_back(hit);
        }
        return onPage;
    }
    std::vector<std::shared_ptr<TextSearchResult>> getNextSearchResultForText(
        const std::string&, const std::string&, const std::optional<ui::Font>&) override
    {
        return nextPage;
    }
    std::vector<std::shared_ptr<TextSearchResult>> getPreviousSearchResultForText(
        const std::string&, const std::string&, const std::optional<ui::Font>&) override
    {
        return {};
    }

private:
    std::string m_text;
    std::weak_ptr<TextSearchControllerDelegate> m_delegate;
};

std::shared_ptr<TextSearchResult> searchHit(const std::string& page, const std::string& word = "water")
{
    auto hit = std::make_shared<TextSearchResult>();
    hit->searchedWord = word;
    hit->pageIndex = page;
    hit->href = page;
    hit->searchResultAttributedString = base::AttributedString("The " + word + " runs.");
    return hit;
}

class RecordingAudio : public SearchAudioPlayer {
public:
    std::vector<std::pair<std::string, double>> calls;
    void start() override { calls.emplace_back("start", base::RunLoop::main().now()); }
    void stop() override { calls.emplace_back("stop", base::RunLoop::main().now()); }
};

class ReaderSearchTest : public ShellTest {
protected:
    void openBook(const std::shared_ptr<LectoroBookVO>& book, std::vector<RendererPage> pages = {})
    {
        makeReader();
        helpAlreadySeen();
        m_renderer->loadBook(book, std::move(pages));
        base::RunLoop::main().advanceBy(1);
        closeOfferedReadAloudChooser();
        uitest::showInWindow(m_reader);
    }

    ReaderSearch& search() { return m_reader->search(); }
    std::shared_ptr<TextSearchView> panel() { return search().searchTextView(); }

    std::shared_ptr<ScriptedSearchEngine> scriptedEngine(std::vector<std::shared_ptr<TextSearchResult>> hits)
    {
        auto engine = std::make_shared<ScriptedSearchEngine>();
        engine->all = std::move(hits);
        search().setSearchController(engine);
        return engine;
    }

    void tapSearchItem()
    {
        for (const auto& bar :
            { m_reader->context().playerTopActionBarView, m_reader->context().playerBottomActionBarView }) {
            if (!bar)
                continue;
            for (const auto& item : bar->getTappableItems()) {
                if (item->tag() == PlayerItemSearch) {
                    m_reader->didTapOnPlayerActionBar(*bar, *item);
                    return;
                }
            }
        }
        FAIL() << "no search item";
    }

    static void settle() { base::RunLoop::main().advanceBy(2); }
};

TEST_F(ReaderSearchTest, TheToolbarOpensAnEmptyPanelOverABlurredPage)
{
    m_settings->setIsSearchEnabled(true);
    openBook(sample("sample-pagebook"), { pageBookPage(101, "1") });
    tapSearchItem();
    auto shown = panel();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->superview(), m_reader->view());
    EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeSearch);
    EXPECT_TRUE(m_reader->isPlayerActionBarHidden());
    EXPECT_EQ(shown->searchBar()->text(), "");
    EXPECT_TRUE(shown->searchBar()->isFirstResponder()) << "the keyboard comes up";
    EXPECT_FALSE(shown->isElasticSearch());
    auto blur = std::dynamic_pointer_cast<ui::VisualEffectView>(shown->subviews().front());
    ASSERT_TRUE(blur) << "the blur lies lowest in the panel";
    EXPECT_DOUBLE_EQ(blur->alpha(), 0.1);
    settle();
    EXPECT_TRUE(shown->searchResultArray().empty());
    EXPECT_DOUBLE_EQ(shown->listHeight(), 0);

    // While the search is open a tap on the blur does nothing.
    auto recognizer = shown->gestureRecognizers().front();
    EXPECT_FALSE(recognizer->delegate()->shouldReceiveTouch(*recognizer, blur.get()));

    // The cancel button closes it.
    uitest::tap(*shown->cancelBtn());
    EXPECT_FALSE(panel());
    EXPECT_FALSE(shown->superview());
    EXPECT_EQ(m_reader->activeMode(), m_reader->backgroundActiveMode());
    EXPECT_EQ(search().searchTextStr(), "");
}

TEST_F(ReaderSearchTest, WithReducedTransparencyThePageDimsInsteadOfBlurring)
{
    ui::Environment::current().setReduceTransparencyEnabled(true);
    openBook(sample("sample-pagebook"), { pageBookPage(101, "1") });
    search().addSearchForText("", false);
    EXPECT_DOUBLE_EQ(m_renderer->view()->alpha(), 0.5);
    for (const auto& subview : panel()->subviews())
        EXPECT_FALSE(std::dynamic_pointer_cast<ui::VisualEffectView>(subview));
    search().closeSearchView();
    EXPECT_DOUBLE_EQ(m_renderer->view()->alpha(), 1.0);
}

TEST_F(ReaderSearchTest, ReturnSearchesOnlyThreeCharactersOrMore)
{
    openBook(sample("sample-pagebook"), { pageBookPage(101, "1") });
    search().addSearchForText("", false);
    auto field = panel()->searchBar();
    auto delegate = field->delegate();
    ASSERT_TRUE(delegate);

    field->setText("wa");
    EXPECT_TRUE(delegate->shouldReturn(*field));
    settle();
    EXPECT_TRUE(field->isFirstResponder()) << "the keyboard stays";
    EXPECT_TRUE(panel()->searchResultArray().empty());
    EXPECT_EQ(search().searchTextStr(), "");

    field->setText("water");
    EXPECT_TRUE(delegate->shouldReturn(*field));
    EXPECT_FALSE(field->isFirstResponder());
    settle();
    EXPECT_EQ(search().searchTextStr(), "water");
    EXPECT_FALSE(panel()->searchResultArray().empty()) << "the sample page book speaks of water";
    for (const auto& hit : panel()->searchResultArray())
        EXPECT_EQ(hit->searchedWord.value_or(""), "water");
}

TEST_F(ReaderSearchTest, EveryKeystrokeReportsTheTrimmedText)
{
    openBook(sample("sample-pagebook"), { pageBookPage(101, "1") });
    search().addSearchForText("", false);
    auto analytics = framework().analytics();
    ASSERT_TRUE(analytics);
    size_t before = analytics->liveEvents().size();
    auto field = panel()->searchBar();
    field->setText("  plant \n");
    uitest::fire(*field, ui::ControlEvent::EditingChanged);
    auto events = analytics->liveEvents();
    ASSERT_EQ(events.size(), before + 1);
    EXPECT_EQ(events.back().name.value_or(""), "search_performed_live");
    EXPECT_EQ(events.back().info, base::Value(base::Value::Dictionary { { "search_text", "plant" } }));
}

TEST_F(ReaderSearchTest, ALongTextIsCutToThreeHundredUnitsAndTheFieldRefusesEditsPastThem)
{
    openBook(sample("sample-pagebook"), { pageBookPage(101, "1") });
    // An emoji straddles the cut: it goes whole.
    std::string text = std::string(299, 'w') + "\xF0\x9F\x98\x80" + "tail";
    search().addSearchForText(text, false);
    auto field = panel()->searchBar();
    EXPECT_EQ(field->text(), std::string(299, 'w'));
    EXPECT_EQ(search().searchTextStr(), std::string(299, 'w'));

    field->setText(std::string(300, 'a'));
    EXPECT_FALSE(field->replaceRange({ 300, 0 }, "b")) << "typing at position 300 is refused";
    EXPECT_TRUE(field->replaceRange({ 10, 0 }, "b")) << "earlier edits are allowed";
    EXPECT_EQ(base::utf16Length(field->text()), 301u);
}

TEST_F(ReaderSearchTest, PickingAHitInAPageBookShowsItsPageAndMarksItWhenThePageLoads)
{
    openBook(sample("sample-pagebook"), { pageBookPage(101, "1") });
    auto engine = scriptedEngine({ searchHit("103"), searchHit("103"), searchHit("105") });
    search().addSearchForText("water", false);
    settle();
    ASSERT_EQ(panel()->searchResultArray().size(), 3u);
    m_renderer->clearCalls();
    ASSERT_TRUE(uitest::tapRow(*panel()->tableView(), { 0, 2 }));
    EXPECT_EQ(search().searchResult(), engine->all[2]);
    auto moved = m_renderer->lastCall("navigateToPageNumber");
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->arguments.at(0).asString().value_or(""), "105");
    EXPECT_EQ(m_renderer->countOf("highlightTextWithSearchArray"), 0u)
        << "nothing is marked before the page loads";
    EXPECT_TRUE(panel()->searchResultArray().empty()) << "the list closes";
    EXPECT_DOUBLE_EQ(panel()->nextBtn()->alpha(), 1.0);

    m_renderer->showPages({ pageBookPage(105, "5") });
    auto marked = m_renderer->lastCall("highlightTextWithSearchArray");
    ASSERT_TRUE(marked);
    EXPECT_EQ(marked->arguments, base::Value(base::Value::List { "water", 105, "#BBA3D0", "#757575", 1, 0 }));
    EXPECT_EQ(engine->pageQueries.back(), "105");
}

TEST_F(ReaderSearchTest, OutsideSearchModeOnlyTheHitsOwnPageIsMarked)
{
    openBook(sample("sample-pagebook"), { pageBookPage(101, "1") });
    auto engine = scriptedEngine({ searchHit("103") });
    search().addSearchForText("water", false);
    settle();
    search().didSelectSearchText(engine->all[0]);
    search().removeSearchController();
    m_renderer->clearCalls();
    m_renderer->showPages({ pageBookPage(102, "2"), pageBookPage(103, "3") });
    auto marks = m_renderer->callsNamed("highlightText");
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].arguments, base::Value(base::Value::List { "water", 103, "#BBA3D0" }));
    EXPECT_EQ(m_renderer->countOf("highlightTextWithSearchArray"), 0u);
}

TEST_F(ReaderSearchTest, NextStepsWithinAPageThenToTheNextPageAndGreysAtTheEnd)
{
    openBook(sample("sample-pagebook"), { pageBookPage(105, "5") });
    auto engine = scriptedEngine({ searchHit("105"), searchHit("105"), searchHit("107") });
    search().addSearchForText("water", false);
    settle();
    search().didSelectSearchText(engine->all[0]);
    m_renderer->clearCalls();

    m_renderer->setSearchAnswers(true, false, false, false);
    search().didClickOnNextButtonForReaderSearch();
    EXPECT_EQ(m_renderer->countOf("moveToNextSelectedSearchForSearchResult"), 1u);
    EXPECT_EQ(search().searchResult(), engine->all[1]) << "the next hit on the same page becomes current";
    EXPECT_EQ(m_renderer->countOf("navigateToPageNumber"), 0u);

    m_renderer->setSearchAnswers(false, true, false, false);
    search().didClickOnNextButtonForReaderSearch();
    EXPECT_EQ(search().searchResult(), engine->all[2]);
    auto moved = m_renderer->lastCall("navigateToPageNumber");
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->arguments.at(0).asString().value_or(""), "107");

    search().didClickOnNextButtonForReaderSearch();
    EXPECT_EQ(search().searchResult(), engine->all[2]) << "the last hit stays";
    EXPECT_DOUBLE_EQ(panel()->nextBtn()->alpha(), 0.5);
    EXPECT_FALSE(panel()->nextBtn()->isUserInteractionEnabled());

    m_renderer->setSearchAnswers(false, false, false, false);
    search().didClickOnPreviousButtonForReaderSearch();
    EXPECT_DOUBLE_EQ(panel()->nextBtn()->alpha(), 1.0);
    EXPECT_EQ(search().searchResult(), engine->all[1]);
    search().didClickOnPreviousButtonForReaderSearch();
    search().didClickOnPreviousButtonForReaderSearch();
    EXPECT_EQ(search().searchResult(), engine->all[0]);
    EXPECT_FALSE(panel()->PrevBtn()->isUserInteractionEnabled()) << "the first hit greys previous";
}

TEST_F(ReaderSearchTest, TheNearestHitOnALaterOrAnEarlierPage)
{
    openBook(sample("sample-pagebook"), { pageBookPage(105, "5") });
    auto engine = scriptedEngine(
        { searchHit("103"), searchHit("105"), searchHit("105"), searchHit("107"), searchHit("109") });
    engine->pageQueryAnswersAll = true;
    search().addSearchForText("water", false);
    settle();
    struct Case {
        size_t current;
        std::optional<size_t> next;
        std::optional<size_t> previous;
    };
    const Case cases[] = {
        { 1, 3, 0 },
        { 2, 3, 0 },
        { 4, std::nullopt, 3 },
        { 0, 1, std::nullopt },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        search().didSelectSearchText(engine->all[c.current]);
        auto next = search().getAllNextSearchedResults();
        auto previous = search().getAllPreviousSearchedResults();
        ASSERT_EQ(next.size(), c.next ? 1u : 0u);
        ASSERT_EQ(previous.size(), c.previous ? 1u : 0u);
        if (c.next) {
            EXPECT_EQ(next.front(), engine->all[*c.next]) << "only the first later page's hit";
        }
        if (c.previous) {
            EXPECT_EQ(previous.front(), engine->all[*c.previous]);
        }
    }
}

TEST_F(ReaderSearchTest, ThePageToPageStepsStopAtTheLastHitOrGreyOut)
{
    openBook(sample("sample-pagebook"), { pageBookPage(105, "5") });
    auto engine = scriptedEngine({ searchHit("105"), searchHit("107") });
    search().addSearchForText("water", false);
    settle();
    search().didSelectSearchText(engine->all[0]);
    m_renderer->clearCalls();

    // The renderer still has a hit on the page, and it was the last one: nothing else.
    m_renderer->setSearchAnswers(true, false, true, false);
    search().didClickOnNextButtonForElasticSearch();
    EXPECT_EQ(m_renderer->countOf("moveToNextSelectedSearch"), 1u);
    EXPECT_EQ(m_renderer->countOf("navigateToPageNumber"), 0u);
    EXPECT_DOUBLE_EQ(panel()->nextBtn()->alpha(), 1.0);

    // No more on the page: the engine's next page is shown.
    m_renderer->setSearchAnswers(false, false, false, false);
    engine->nextPage = { engine->all[1] };
    search().didClickOnNextButtonForElasticSearch();
    EXPECT_EQ(search().searchResult(), engine->all[1]);
    auto moved = m_renderer->lastCall("navigateToPageNumber");
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->arguments.at(0).asString().value_or(""), "107");

    engine->nextPage.clear();
    search().didClickOnNextButtonForElasticSearch();
    EXPECT_FALSE(panel()->nextBtn()->isUserInteractionEnabled()) << "no later page greys next";
    EXPECT_TRUE(panel()->PrevBtn()->isUserInteractionEnabled());
}

TEST_F(ReaderSearchTest, TheOpenButtonTogglesTheListAndATapOutsideSearchModeCloses)
{
    openBook(sample("sample-pagebook"), { pageBookPage(105, "5") });
    auto engine = scriptedEngine({ searchHit("105"), searchHit("107") });
    search().addSearchForText("water", true);
    EXPECT_TRUE(panel()->searchResultArray().empty()) << "an elastic search lists nothing at first";
    uitest::tap(*panel()->openBtn());
    EXPECT_TRUE(search().isSearchResultOpened());
    EXPECT_EQ(panel()->searchResultArray().size(), 2u);
    uitest::tap(*panel()->openBtn());
    EXPECT_FALSE(search().isSearchResultOpened());
    EXPECT_TRUE(panel()->searchResultArray().empty());
    EXPECT_EQ(panel()->globalsearchResultArray().size(), 2u);

    // Outside search mode the blur takes a tap, which takes the panel down.
    m_reader->setActiveMode(ReaderActiveModeNone);
    auto shown = panel();
    auto blur = shown->subviews().front();
    auto recognizer = shown->gestureRecognizers().front();
    EXPECT_TRUE(recognizer->delegate()->shouldReceiveTouch(*recognizer, blur.get()));
    EXPECT_FALSE(recognizer->delegate()->shouldReceiveTouch(*recognizer, shown->searchBar().get()));
    search().searchTapGestureAction();
    EXPECT_FALSE(panel());
    EXPECT_EQ(search().searchResult(), engine->all[0]) << "the current hit stays for the pages";
}

TEST_F(ReaderSearchTest, ASearchWaitingForTheTextRunsAgainAsItsOwnKind)
{
    openBook(sample("sample-pagebook"), { pageBookPage(101, "1") });
    auto engine = scriptedEngine({ searchHit("103"), searchHit("104") });
    engine->available = false;
    search().addSearchForText("water", true);
    EXPECT_EQ(panel()->noResultText()->text(), TextSearchConstants::localized("GENERATING_SEARCH_RESULT"));
    EXPECT_TRUE(panel()->globalsearchResultArray().empty());

    engine->available = true;
    m_renderer->fire([](RendererViewControllerDelegate& delegate, RendererViewController& renderer) {
        delegate.didCompleteSearchDecryptionForBookPath(renderer, "/books/42");
    });
    EXPECT_EQ(panel()->globalsearchResultArray().size(), 2u) << "an elastic search fills its steps at once";
    EXPECT_TRUE(panel()->searchResultArray().empty());
    EXPECT_EQ(search().searchResult(), engine->all[0]);
}

TEST_F(ReaderSearchTest, CancellingAnElasticStartForgetsItAndShowsTheHelpHeldBack)
{
    makeReader();
    m_reader->setElasticSearchText("water");
    m_renderer->loadBook(sample("sample-pagebook"), { pageBookPage(101, "1") });
    EXPECT_FALSE(m_reader->chrome().isHelpScreenShown());
    ASSERT_TRUE(search().hasSearchResult());
    m_renderer->clearCalls();
    base::RunLoop::main().advanceBy(0.29);
    EXPECT_EQ(m_renderer->countOf("navigateToPageNumber"), 0u);
    base::RunLoop::main().advanceBy(0.02);
    auto moved = m_renderer->lastCall("navigateToPageNumber");
    ASSERT_TRUE(moved) << "the first hit's page shows shortly after the book";
    EXPECT_EQ(moved->arguments.at(0).asString().value_or(""), search().searchResult()->pageIndex);
    EXPECT_FALSE(panel()->PrevBtn()->isUserInteractionEnabled());

    uitest::showInWindow(m_reader);
    search().closeSearchView();
    EXPECT_EQ(m_reader->elasticSearchText(), "");
    EXPECT_FALSE(search().hasSearchResult());
    EXPECT_FALSE(search().searchController());
    EXPECT_TRUE(m_reader->chrome().isHelpScreenShown());
}

TEST_F(ReaderSearchTest, TheEnginesCloseReloadsThePagesOnlyOnAPhone)
{
    for (auto idiom : { ui::UserInterfaceIdiom::Phone, ui::UserInterfaceIdiom::Pad }) {
        ui::Environment::current().setIdiom(idiom);
        openBook(sample("sample-pagebook"), { pageBookPage(101, "1") });
        search().addSearchForText("water", false);
        m_renderer->clearCalls();
        auto engine = search().searchController();
        ASSERT_TRUE(engine && engine->delegate());
        engine->delegate()->didSelectActionForCloseSearch(*engine);
        EXPECT_FALSE(panel());
        EXPECT_EQ(m_renderer->countOf("reloadPages"), idiom == ui::UserInterfaceIdiom::Phone ? 1u : 0u);
        uitest::showInWindow(nullptr);
        m_reader.reset();
    }
}

TEST_F(ReaderSearchTest, TheClearButtonEmptiesTheListUnmarksThePagesAndForgetsTheHit)
{
    openBook(sample("sample-pagebook"), { pageBookPage(103, "3") });
    auto engine = scriptedEngine({ searchHit("103") });
    search().addSearchForText("water", false);
    settle();
    search().didSelectSearchText(engine->all[0]);
    m_renderer->clearCalls();
    auto field = panel()->searchBar();
    EXPECT_TRUE(field->delegate()->shouldClear(*field));
    settle();
    EXPECT_FALSE(search().hasSearchResult());
    EXPECT_TRUE(panel()->searchResultArray().empty());
    auto unmark = m_renderer->lastCall("highlightText");
    ASSERT_TRUE(unmark);
    EXPECT_EQ(unmark->arguments.at(0).asString().value_or("?"), "");
    EXPECT_EQ(unmark->arguments.at(1).asInteger().value_or(0), 103);
}

TEST_F(ReaderSearchTest, AReflowableBookMarksThePickedHitsPageAtOnce)
{
    auto book = sample("sample-reflowable-epub");
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book);
    ASSERT_TRUE(epub && epub->isReflowable() && !epub->chapters.empty());
    auto chapter = epub->chapters.front();
    RendererPage page;
    page.fileIndex = chapter->fileIndex;
    page.href = chapter->href;
    openBook(book, { page });
    auto hit = searchHit(chapter->href, "sun");
    hit->searchResultAttributedString = base::AttributedString("...The Sun rose.");
    auto engine = scriptedEngine({ hit });
    search().addSearchForText("sun", false);
    settle();
    m_renderer->clearCalls();
    search().didSelectSearchText(hit);
    auto moved = m_renderer->lastCall("navigateToPageNumber");
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->arguments.at(0).asString().value_or(""), chapter->href);
    auto paragraph = m_renderer->lastCall("highlightTextWithParagraph");
    ASSERT_TRUE(paragraph);
    EXPECT_EQ(paragraph->arguments,
        base::Value(base::Value::List { "sun", chapter->fileIndex, "#BBA3D0", "the sun rose" }));
    auto all = m_renderer->lastCall("highlightTextWithSearchArray");
    ASSERT_TRUE(all);
    EXPECT_EQ(all->arguments,
        base::Value(base::Value::List { "sun", chapter->fileIndex, "#BBA3D0", "#757575", 1, 0 }));
}

TEST_F(ReaderSearchTest, TheHrefLookupsAnswerOnlyForEpubChapters)
{
    openBook(sample("sample-pagebook"), { pageBookPage(101, "1") });
    EXPECT_EQ(search().getFileIndexForHREF("anything.xhtml"), "");
    EXPECT_EQ(search().getHrefFromFileIndex("anything.xhtml"), 0);
    m_reader.reset();

    auto book = sample("sample-reflowable-epub");
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book);
    ASSERT_TRUE(epub && epub->chapters.size() >= 2);
    openBook(book);
    auto second = epub->chapters[1];
    EXPECT_EQ(search().getFileIndexForHREF(second->href), std::to_string(second->fileIndex));
    EXPECT_EQ(search().getHrefFromFileIndex(second->href), second->fileIndex);
    EXPECT_EQ(search().getFileIndexForHREF(second->href + "#x"), "") << "only an exact href matches";
}

TEST_F(ReaderSearchTest, VoiceSearchPausesTheAudioAndSearchesWhatWasHeard)
{
    openBook(sample("sample-pagebook"), { pageBookPage(101, "1") });
    auto audio = std::make_shared<RecordingAudio>();
    search().setAudioPlayer(audio);
    search().addSearchForText("", false);
    double start = base::RunLoop::main().now();
    search().startVoiceRecognition();
    search().stopVoiceRecognition();
    search().voiceSearchText(std::string(310, 'w'), false);
    EXPECT_EQ(search().searchTextStr(), std::string(300, 'w'));
    base::RunLoop::main().advanceBy(0.29);
    ASSERT_EQ(audio->calls.size(), 1u);
    EXPECT_EQ(audio->calls[0].first, "stop");
    base::RunLoop::main().advanceBy(0.02);
    ASSERT_EQ(audio->calls.size(), 2u);
    EXPECT_EQ(audio->calls[1].first, "start");
    EXPECT_NEAR(audio->calls[1].second - start, 0.3, 1e-9);
}

TEST_F(ReaderSearchTest, ThePermissionAlertOffersTheSettingsFirst)
{
    openBook(sample("sample-pagebook"), { pageBookPage(101, "1") });
    search().showPermissionAlert();
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(
        alert->message().value_or(""), LocalizationHelper::localizedString("VOCIE_RECOGNITION_PERMISSIONS"));
    ASSERT_EQ(alert->actions().size(), 2u);
    EXPECT_EQ(alert->actions()[0]->title(), LocalizationHelper::localizedString("SETTINGS"));
    EXPECT_EQ(alert->actions()[1]->style(), ui::AlertActionStyle::Cancel);
    ASSERT_TRUE(uitest::tapActionAtIndex(0));
    uitest::completePresentations();
    ASSERT_FALSE(ui::Environment::current().openedURLs().empty());
    EXPECT_EQ(ui::Environment::current().openedURLs().back(), "app-settings:");
}

} // namespace
} // namespace lectoro::shelltest
