#pragma once

// The search engine over a loaded page book or EPUB book: the text of every page (page
// book) or chapter (EPUB) is folded once per book, on the first search (chapters not parsed
// yet are parsed then), and the folded index is shared by every controller made for the same
// book while the book is open. A search folds its word the same way and finds its
// non-overlapping occurrences page by page, only as far as the question asked needs: a batch
// stops scanning once it holds its last hit, a page's hits need the pages up to it. Result
// records are made only for the hits asked for.

#include "LectoroSDKWithReader/readersdk/TextSearchController.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroBookVO.h"

#include "companion/search/FoldedText.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace companion {

class BookTextSearchController final : public lectoro::TextSearchController {
public:
    BookTextSearchController(std::shared_ptr<lectoro::LectoroBookVO>, std::string searchText, int searchType = 0);

    const std::string& searchText() const override { return m_searchText; }
    int searchType() const override { return m_searchType; }
    void setDelegate(std::weak_ptr<lectoro::TextSearchControllerDelegate> delegate) override { m_delegate = std::move(delegate); }
    std::shared_ptr<lectoro::TextSearchControllerDelegate> delegate() const override { return m_delegate.lock(); }

    bool isSearchResultAvailable() const override;
    std::vector<std::shared_ptr<lectoro::TextSearchResult>> getSearchResultForText(const std::string& text,
        int64_t offset, int64_t batchSize) override;
    std::vector<std::shared_ptr<lectoro::TextSearchResult>> getSearchResultForTextWithPageNo(const std::string& word,
        const std::string& pageNo, const std::optional<ui::Font>&) override;
    std::vector<std::shared_ptr<lectoro::TextSearchResult>> getNextSearchResultForText(const std::string& word,
        const std::string& currentPageNo, const std::optional<ui::Font>&) override;
    std::vector<std::shared_ptr<lectoro::TextSearchResult>> getPreviousSearchResultForText(const std::string& word,
        const std::string& currentPageNo, const std::optional<ui::Font>&) override;

    // Characters of context on each side of a hit in its snippet.
    static constexpr size_t snippetContext = 40;

    // Bytes the book's folded index and this controller's hits hold.
    size_t searchMemoryBytes();

    class Index;

private:
    struct Hit {
        size_t unit = 0;
        TextMatch match;
    };
    using Results = std::vector<std::shared_ptr<lectoro::TextSearchResult>>;
    // A folded word's hits in the units scanned so far, and the results made for them (per
    // word as typed and font).
    struct WordHits {
        std::string needle;
        std::vector<Hit> hits;
        size_t scannedUnits = 0;
        std::map<std::string, Results> resultsByFont;
    };

    WordHits& hitsFor(const std::string& word);
    // Scans further units until `enough` holds or the book is scanned.
    template <typename Enough> void scanUntil(WordHits&, Enough enough);
    // Scans the units up to and including `unit`.
    void scanThrough(WordHits&, size_t unit);
    // The result for hit `index` of the word, made on first use.
    std::shared_ptr<lectoro::TextSearchResult> resultAt(const std::string& word, WordHits&, size_t index,
        const std::optional<ui::Font>&);
    std::shared_ptr<lectoro::TextSearchResult> makeResult(const std::string& word, const Hit&, const std::optional<ui::Font>&) const;
    std::optional<size_t> unitForPage(const std::string& pageNo) const;
    Results hitsOnUnit(const std::string& word, size_t unit, const std::optional<ui::Font>&);

    std::shared_ptr<lectoro::LectoroBookVO> m_book;
    std::string m_searchText;
    int m_searchType;
    std::weak_ptr<lectoro::TextSearchControllerDelegate> m_delegate;
    std::shared_ptr<Index> m_index;
    std::mutex m_mutex;
    std::map<std::string, WordHits> m_hits;
};

} // namespace companion
