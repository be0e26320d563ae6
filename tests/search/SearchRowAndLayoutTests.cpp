// The result row (snippet, chapter, page, colours) and the panel's three forms with their
// metrics per device and writing direction.

#include "SearchTestSupport.h"

#include "LectoroSDKWithReader/foundation/IconFontConstants.h"
#include "LectoroSDKWithReader/search/SearchResultCell.h"
#include "platform/base/Strings.h"

namespace lectoro::searchtest {
namespace {

class SearchRowAndLayout : public SearchPanelTest {
protected:
    std::shared_ptr<SearchResultCell> row(const std::shared_ptr<TextSearchResult>& result,
        const std::shared_ptr<LectoroBookVO>& book, int index = 0, bool caseSensitive = false)
    {
        auto cell
            = SearchResultCell::create(ui::TableViewCellStyle::Default, SearchResultCell::reuseIdentifier);
        SearchResultCell::fillRow(*cell, { 0, index }, result, book, m_theme, caseSensitive);
        return cell;
    }

    // The text of the snippet's runs in the marked-word colour.
    std::vector<std::string> markedWords(const SearchResultCell& cell)
    {
        std::vector<std::string> words;
        const auto& snippet = cell.contentLabel()->attributedText();
        if (!snippet)
            return words;
        auto marked = IconFontConstants::colorAttr(
            m_theme->search_selected_text_color().value_or(ui::Color::clear()));
        for (const auto& run : snippet->runs()) {
            if (run.attributes.foregroundColor == marked)
                words.push_back(base::utf16Substring(snippet->string(), run.range));
        }
        return words;
    }

    std::shared_ptr<LXMVThemeVO> m_theme = searchTheme();
};

TEST_F(SearchRowAndLayout, TheSnippetMarksTheWordAndEndsCleanly)
{
    auto plain = row(hit("1", "cell", "a cell and a Cell here"), std::make_shared<PXBookVO>());
    EXPECT_EQ(markedWords(*plain), (std::vector<std::string> { "cell", "Cell" }));
    auto exact = row(hit("1", "Cell", "a cell and a Cell here"), std::make_shared<PXBookVO>(), 0, true);
    EXPECT_EQ(markedWords(*exact), (std::vector<std::string> { " Cell " }))
        << "whole word, case kept, spaces marked";

    auto cut = row(hit("1", "end", std::string(296, 'a') + "end.x"), std::make_shared<PXBookVO>());
    const std::string& text = cut->contentLabel()->attributedText()->string();
    EXPECT_TRUE(base::hasSuffix(text, "end.")) << "one full stop, not four";
    EXPECT_EQ(base::utf16Length(text), 300u);
}

TEST_F(SearchRowAndLayout, ChapterAndPageFollowTheBookKind)
{
    auto pageBook = std::make_shared<PXBookVO>();
    auto chapter = std::make_shared<PXChapterVO>();
    chapter->title = "Energy";
    chapter->pageIDs = { 12 };
    pageBook->chapters.push_back(chapter);
    auto page = std::make_shared<PXPageVO>();
    page->pageID = 12;
    page->chapterID = chapter->chapterID;
    pageBook->pages["12"] = page;
    pageBook->pageList.push_back(page);

    // A row names the chapter by its title and the page by its printed folio; the page's
    // id stands in for a page book's folio only when the hit has none.
    struct Case {
        std::shared_ptr<LectoroBookVO> book;
        std::string pageIndex;
        std::string displayNumber;
        std::string chapterTitle;
        std::string chapterText;
        std::string pageText;
    };
    std::string pageWord = TextSearchConstants::localized("PAGE");
    const Case cases[] = {
        { pageBook, "12", "", "", "Energy", pageWord + " 12" },
        { pageBook, "12", "xii", "", "Energy", pageWord + " xii" },
        { pageBook, "", "", "", "", "" },
        { epubBook(), "chapter3/7.xhtml", "iv", "The Storm", "The Storm", pageWord + " iv" },
        { epubBook(), "text/12.xhtml", "", "Calm Water", "Calm Water", "" },
        { epubBook(), "text/notes", "5", "", "", pageWord + " 5" },
    };
    // One cell for every case: a reused row keeps nothing of the hit before.
    auto cell = SearchResultCell::create(ui::TableViewCellStyle::Default, SearchResultCell::reuseIdentifier);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pageIndex);
        auto result = hit(c.pageIndex);
        result->displayNumber = c.displayNumber;
        result->chapterTitle = c.chapterTitle;
        SearchResultCell::fillRow(*cell, { 0, 3 }, result, c.book, m_theme, false);
        EXPECT_EQ(cell->chapterNameLabel()->text(), c.chapterText);
        EXPECT_EQ(cell->pageNumberLabel()->text(), c.pageText);
        EXPECT_EQ(cell->accessibilityIdentifier(), "readerSearchResultCell[0, 3]");
    }
}

TEST_F(SearchRowAndLayout, RowsAlternateTheirBackground)
{
    auto even = row(hit("1"), epubBook(), 0);
    auto odd = row(hit("1"), epubBook(), 1);
    EXPECT_EQ(even->backgroundColor(), m_theme->search_separation_background());
    EXPECT_EQ(odd->backgroundColor(), m_theme->search_popup_background());
    EXPECT_NE(even->backgroundColor(), odd->backgroundColor());
}

TEST_F(SearchRowAndLayout, TheFormsTakeTheirMetricsFromTheDevice)
{
    struct Case {
        ui::UserInterfaceIdiom idiom;
        double strip;
        double margin;
        double inset;
        double glyphWidth;
    };
    for (auto c : { Case { ui::UserInterfaceIdiom::Phone, 50, 8, 8, 20 },
             Case { ui::UserInterfaceIdiom::Pad, 66, 22, 16, 30 } }) {
        ui::Environment::current().setIdiom(c.idiom);
        auto panel = readerPanel(epubBook());
        panel->layoutIfNeeded();
        EXPECT_DOUBLE_EQ(panel->searchBarHeight(), c.strip);
        EXPECT_DOUBLE_EQ(panel->tableViewMargin(), c.margin);
        EXPECT_DOUBLE_EQ(panel->barStrip()->frame().size.height, c.strip);
        EXPECT_DOUBLE_EQ(panel->barStrip()->frame().origin.y, 400 - c.strip);
        EXPECT_DOUBLE_EQ(panel->inputPanel()->frame().origin.y, c.inset);
        EXPECT_DOUBLE_EQ(panel->nextBtn()->frame().size.width, c.glyphWidth);
        EXPECT_DOUBLE_EQ(panel->tableView()->frame().size.height, 0) << "a fresh panel shows only its bar";
        EXPECT_DOUBLE_EQ(panel->tableView()->frame().origin.x, c.margin);
    }
}

TEST_F(SearchRowAndLayout, TheVariantsReserveRoomForTheirButtons)
{
    struct Case {
        const char* name;
        std::function<std::shared_ptr<TextSearchView>()> make;
        double inputLeading;
        double inputTrailing;
        bool mic;
        bool elastic;
        bool fieldTakesTouches;
        std::string cancelTitle;
    };
    auto theme = searchTheme();
    ui::Rect frame { 0, 0, 375, 400 };
    const Case cases[] = {
        { "plain", [&] { return TextSearchView::createWithFrame(frame, theme, epubBook()); }, 8, 70, false,
            false, true, TextSearchConstants::localized("CANCEL") },
        { "elastic", [&] { return TextSearchView::createWithElasticSearch(frame, theme, epubBook(), true); },
            43, 200, true, true, false, "\xe2\x88\x9e" },
        { "elastic without voice",
            [&] { return TextSearchView::createWithElasticSearch(frame, theme, epubBook(), false); }, 43, 160,
            false, true, false, "\xe2\x88\x9e" },
        { "reader", [&] { return TextSearchView::createForReaderSearch(frame, theme, epubBook(), true); }, 43,
            200, true, false, true, "\xe2\x88\x9e" },
        { "reader without voice",
            [&] { return TextSearchView::createForReaderSearch(frame, theme, epubBook(), false); }, 43, 160,
            false, false, true, "\xe2\x88\x9e" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto panel = c.make();
        panel->layoutIfNeeded();
        ui::Rect input = panel->inputPanel()->frame();
        EXPECT_DOUBLE_EQ(input.origin.x, c.inputLeading);
        EXPECT_DOUBLE_EQ(375 - (input.origin.x + input.size.width), c.inputTrailing);
        EXPECT_EQ(panel->micButton() != nullptr, c.mic);
        EXPECT_EQ(panel->isElasticSearch(), c.elastic);
        EXPECT_EQ(panel->searchBar()->isUserInteractionEnabled(), c.fieldTakesTouches);
        EXPECT_EQ(panel->cancelBtn()->titleForState(ui::ControlState::Normal).value_or(""), c.cancelTitle);
        EXPECT_FALSE(panel->isAudioSearchEnabled()) << "the switch is the owner's; building leaves it off";
        if (c.elastic || std::string(c.name).starts_with("reader")) {
            double previousLeading = panel->PrevBtn()->frame().origin.x;
            double neighbour = c.mic
                ? panel->micButton()->frame().origin.x + panel->micButton()->frame().size.width
                : input.origin.x + input.size.width;
            EXPECT_DOUBLE_EQ(previousLeading - neighbour, 20);
            EXPECT_EQ(panel->nextBtn()->titleForState(ui::ControlState::Normal).value_or(""), "H");
            EXPECT_EQ(panel->PrevBtn()->titleForState(ui::ControlState::Normal).value_or(""), "G");
        }
        if (c.mic) {
            EXPECT_EQ(panel->animateMicButton()->superview(), panel->barStrip())
                << "the halo sits behind the microphone";
        }
    }
}

TEST_F(SearchRowAndLayout, OnATabletEveryGlyphButtonStaysInsideTheStrip)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    auto theme = searchTheme();
    ui::Rect frame { 0, 0, 768, 500 };
    for (bool elastic : { true, false }) {
        for (bool voice : { true, false }) {
            SCOPED_TRACE(std::string(elastic ? "elastic" : "reader") + (voice ? " with voice" : ""));
            auto panel = elastic ? TextSearchView::createWithElasticSearch(frame, theme, epubBook(), voice)
                                 : TextSearchView::createForReaderSearch(frame, theme, epubBook(), voice);
            panel->layoutIfNeeded();
            ui::Rect open = panel->openBtn()->frame();
            EXPECT_DOUBLE_EQ(open.size.width, 30);
            EXPECT_LE(open.origin.x + open.size.width, panel->barStrip()->bounds().size.width);
            EXPECT_GE(panel->PrevBtn()->frame().origin.x,
                panel->inputPanel()->frame().origin.x + panel->inputPanel()->frame().size.width);
        }
    }
}

TEST_F(SearchRowAndLayout, RightToLeftAlignsTheFieldEverywhereAndTheIconOnlyInReaderSearch)
{
    ui::Environment::current().setLayoutDirection(ui::LayoutDirection::RightToLeft);
    auto theme = searchTheme();
    auto reader = TextSearchView::createForReaderSearch({ 0, 0, 375, 400 }, theme, epubBook(), false);
    auto elastic = TextSearchView::createWithElasticSearch({ 0, 0, 375, 400 }, theme, epubBook(), false);
    EXPECT_EQ(reader->searchBar()->textAlignment(), base::TextAlignment::Right);
    EXPECT_EQ(elastic->searchBar()->textAlignment(), base::TextAlignment::Right);
    EXPECT_EQ(reader->searchIconLabel()->textAlignment(), base::TextAlignment::Right);
    EXPECT_EQ(elastic->searchIconLabel()->textAlignment(), base::TextAlignment::Left);
}

} // namespace
} // namespace lectoro::searchtest
