#include "companion/search/BookTextSearchController.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "companion/SampleBooks.h"

#include "platform/base/Strings.h"

#include <gtest/gtest.h>

#include <set>

using namespace lectoro;
using companion::BookTextSearchController;

namespace {

using companiontest::loadSample;

std::vector<std::string> pagesOf(const std::vector<std::shared_ptr<TextSearchResult>>& results)
{
    std::vector<std::string> pages;
    for (const auto& result : results)
        pages.push_back(result->pageIndex);
    return pages;
}

std::string hitText(const TextSearchResult& result)
{
    return base::utf16Substring(result.searchResultAttributedString.string(), result.hitRange);
}

} // namespace

TEST(BookTextSearch, MatchingIgnoresCaseDiacriticsAndSpacing)
{
    BookTextSearchController search(loadSample("sample-pagebook"), "");
    ASSERT_TRUE(search.isSearchResultAvailable());
    struct Case {
        const char* word;
        std::vector<std::string> pages;
        const char* found;
    };
    const Case cases[] = {
        { "CAFE", { "104" }, "café" },
        { "café", { "104" }, "café" },
        { "naive", { "106" }, "naïve" },
        { "warm   AIR", { "103" }, "Warm air" },
        { "the sea", { "101", "102", "110", "111" }, "the Sea" },
        { "no such word", {}, "" },
        { "", {}, "" },
        { "   ", {}, "" },
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.word);
        auto results = search.getSearchResultForText(entry.word, 0, 100);
        EXPECT_EQ(pagesOf(results), entry.pages);
        if (!results.empty()) {
            EXPECT_EQ(hitText(*results[0]), entry.found);
            EXPECT_EQ(results[0]->searchedWord, std::optional<std::string>(entry.word));
        }
    }
}

TEST(BookTextSearch, BatchesPageThroughEveryHitInReadingOrder)
{
    BookTextSearchController search(loadSample("sample-pagebook"), "water");
    auto all = search.getSearchResultForText("water", 0, 1000);
    ASSERT_EQ(pagesOf(all), (std::vector<std::string> { "101", "102", "103", "104", "109", "110", "111", "111", "112" }));
    std::vector<std::shared_ptr<TextSearchResult>> paged;
    for (int64_t offset = 0;; offset += 3) {
        auto batch = search.getSearchResultForText("water", offset, 3);
        if (batch.empty())
            break;
        EXPECT_LE(batch.size(), 3u);
        paged.insert(paged.end(), batch.begin(), batch.end());
    }
    EXPECT_EQ(paged, all) << "the same objects, in the same order";
    EXPECT_TRUE(search.getSearchResultForText("water", 9, 3).empty());
    EXPECT_TRUE(search.getSearchResultForText("water", -1, 3).empty());
    EXPECT_TRUE(search.getSearchResultForText("water", 0, 0).empty());
    EXPECT_EQ(search.getSearchResultForText("water", 6, INT64_MAX).size(), 3u);

    const auto& hit = *all[5];
    EXPECT_EQ(hit.displayNumber, "8");
    EXPECT_EQ(hit.pageNumber, 110);
    EXPECT_EQ(hit.href, "assets/pages/page-110.png");
    EXPECT_EQ(hitText(hit), "water");
    const std::string& snippet = hit.searchResultAttributedString.string();
    EXPECT_EQ(snippet.find('\n'), std::string::npos);
    EXPECT_LE(base::utf16Length(snippet), 2 * BookTextSearchController::snippetContext + 5);
    EXPECT_NE(snippet.find("Sea water is salty"), std::string::npos);
}

TEST(BookTextSearch, NextAndPreviousStepBetweenPagesWithHits)
{
    BookTextSearchController search(loadSample("sample-pagebook"), "rain");
    struct Case {
        const char* from;
        std::vector<std::string> next;
        std::vector<std::string> previous;
    };
    const Case cases[] = {
        { "101", { "102" }, {} },
        { "104", { "105" }, { "102" } },
        { "107", { "109" }, { "106" } },
        { "108", { "109" }, { "107" } },
        { "109", {}, { "107" } },
        { "112", {}, { "109" } },
        { "999", {}, {} },
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.from);
        EXPECT_EQ(pagesOf(search.getNextSearchResultForText("rain", entry.from, std::nullopt)), entry.next);
        EXPECT_EQ(pagesOf(search.getPreviousSearchResultForText("rain", entry.from, std::nullopt)), entry.previous);
    }
    auto onPage = search.getSearchResultForTextWithPageNo("drops", "103", std::nullopt);
    ASSERT_EQ(onPage.size(), 2u);
    EXPECT_LT(onPage[0]->textOffset, onPage[1]->textOffset);
    auto previous = search.getPreviousSearchResultForText("drops", "104", std::nullopt);
    ASSERT_EQ(previous.size(), 2u);
    EXPECT_EQ(previous[0].get(), onPage[1].get()) << "the previous hit is the last one of the earlier page";
}

TEST(BookTextSearch, SnippetsCarryTheFontAndABoldHit)
{
    BookTextSearchController search(loadSample("sample-pagebook"), "river");
    ui::Font font("Georgia", 14);
    auto results = search.getSearchResultForTextWithPageNo("river", "107", font);
    ASSERT_EQ(results.size(), 1u);
    const auto& snippet = results[0]->searchResultAttributedString;
    auto plain = snippet.attributesAt(0);
    ASSERT_TRUE(plain.font);
    EXPECT_EQ(plain.font->name, "Georgia");
    EXPECT_EQ(plain.font->weight, 400);
    auto hit = snippet.attributesAt(results[0]->hitRange.location);
    ASSERT_TRUE(hit.font);
    EXPECT_EQ(hit.font->weight, 700);
    EXPECT_EQ(search.getSearchResultForTextWithPageNo("river", "107", font)[0].get(), results[0].get());
}

TEST(BookTextSearch, EpubHitsNameTheirChapterAndPrintedPage)
{
    BookTextSearchController search(loadSample("sample-reflowable-epub"), "keeper");
    auto results = search.getSearchResultForText("KEEPER", 0, 50);
    ASSERT_GE(results.size(), 4u);
    EXPECT_EQ(results[0]->pageIndex, "text/chapter-1.xhtml");
    EXPECT_EQ(results[0]->href, "text/chapter-1.xhtml");
    EXPECT_EQ(results[0]->displayNumber, "1");
    auto calm = search.getSearchResultForText("likes calm days", 0, 5);
    ASSERT_EQ(calm.size(), 1u);
    EXPECT_EQ(calm[0]->displayNumber, "2");

    EXPECT_EQ(pagesOf(search.getNextSearchResultForText("keeper", "text/chapter-1.xhtml", std::nullopt)),
        (std::vector<std::string> { "text/chapter-2.xhtml" }));
    EXPECT_EQ(pagesOf(search.getNextSearchResultForText("keeper", "1", std::nullopt)),
        (std::vector<std::string> { "text/chapter-3.xhtml", "text/chapter-3.xhtml" }));
    EXPECT_EQ(search.getSearchResultForTextWithPageNo("keeper", "text/chapter-2.xhtml#page4", std::nullopt).size(), 1u);

    BookTextSearchController fixed(loadSample("sample-fixed-epub"), "shells");
    auto shells = fixed.getSearchResultForText("shells", 0, 50);
    ASSERT_FALSE(shells.empty());
    EXPECT_EQ(shells.front()->displayNumber, "Cover");
    EXPECT_EQ(shells.back()->displayNumber, "3");
}

TEST(BookTextSearch, WithoutABookThereIsNothingToSearch)
{
    BookTextSearchController search(nullptr, "water");
    EXPECT_FALSE(search.isSearchResultAvailable());
    EXPECT_TRUE(search.getSearchResultForText("water", 0, 10).empty());
    EXPECT_TRUE(search.getNextSearchResultForText("water", "1", std::nullopt).empty());
}

TEST(BookTextSearch, LongBookComesInBatchesWithoutRepeats)
{
    auto book = loadSample("sample-long-epub");
    BookTextSearchController search(book, "water");
    auto first = search.getSearchResultForText("water", 0, 50);
    auto second = search.getSearchResultForText("water", 50, 50);
    ASSERT_EQ(first.size(), 50u);
    ASSERT_EQ(second.size(), 50u);

    // Reading order, no hit twice: (chapter, offset) rises strictly across both batches.
    std::vector<std::shared_ptr<TextSearchResult>> all = first;
    all.insert(all.end(), second.begin(), second.end());
    for (size_t index = 1; index < all.size(); ++index) {
        auto previous = std::make_pair(all[index - 1]->pageNumber, all[index - 1]->textOffset);
        auto current = std::make_pair(all[index]->pageNumber, all[index]->textOffset);
        EXPECT_LT(previous, current) << "hit " << index;
    }
    // Each hit says where it is: chapter file and index, title, snippet and ranges.
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book);
    for (const auto& hit : all) {
        auto chapter = epub->chapterAtIndex(hit->pageNumber);
        ASSERT_TRUE(chapter);
        EXPECT_EQ(hit->href, chapter->href);
        EXPECT_EQ(hit->pageIndex, chapter->href);
        EXPECT_EQ(hit->chapterTitle, chapter->title);
        EXPECT_EQ(base::lowercase(chapter->content()->text.substr(hit->textOffset, hit->textLength)), "water");
        EXPECT_EQ(base::lowercase(hitText(*hit)), "water");
    }
    // A new search from an offset answers the same hits as the one that walked there.
    BookTextSearchController fresh(book, "water");
    auto skipped = fresh.getSearchResultForText("water", 50, 50);
    ASSERT_EQ(skipped.size(), 50u);
    for (size_t index = 0; index < 50; ++index)
        EXPECT_EQ(skipped[index]->textOffset, second[index]->textOffset);
    EXPECT_TRUE(search.getSearchResultForText("water", 100000, 50).empty());
}

TEST(BookTextSearch, CaseInsensitiveSearchFindsEveryCapitalisation)
{
    auto book = loadSample("sample-long-epub");
    BookTextSearchController search(book, "water");
    std::set<std::string> forms;
    for (int64_t offset = 0;; offset += 50) {
        auto batch = search.getSearchResultForText("water", offset, 50);
        for (const auto& hit : batch)
            forms.insert(hitText(*hit));
        if (batch.size() < 50)
            break;
    }
    EXPECT_TRUE(forms.count("water"));
    EXPECT_TRUE(forms.count("Water"));
    EXPECT_TRUE(forms.count("WATER"));
    // The upper-case word finds the same hits.
    auto lower = search.getSearchResultForText("water", 0, 5);
    auto upper = search.getSearchResultForText("WATER", 0, 5);
    ASSERT_EQ(upper.size(), lower.size());
    for (size_t index = 0; index < lower.size(); ++index)
        EXPECT_EQ(upper[index]->textOffset, lower[index]->textOffset);
}

TEST(BookTextSearch, NextAndPreviousPagesReachPastUnscannedChapters)
{
    auto book = loadSample("sample-long-epub");
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book);
    BookTextSearchController search(book, "harbour");
    // Straight to the last chapter, then back one: nothing scanned first.
    const auto& lastHref = epub->chapters.back()->href;
    auto previous = search.getPreviousSearchResultForText("harbour", lastHref, std::nullopt);
    ASSERT_FALSE(previous.empty());
    EXPECT_EQ(previous.front()->pageNumber, static_cast<int64_t>(epub->chapters.size()) - 2);
    // The previous hit is the last one on that page.
    auto onPage = search.getSearchResultForTextWithPageNo("harbour", previous.front()->pageIndex, std::nullopt);
    EXPECT_EQ(previous.front(), onPage.back());
    auto next = search.getNextSearchResultForText("harbour", epub->chapters.front()->href, std::nullopt);
    ASSERT_FALSE(next.empty());
    EXPECT_EQ(next.front()->pageNumber, 1);
    EXPECT_TRUE(search.getNextSearchResultForText("harbour", lastHref, std::nullopt).empty());
}
