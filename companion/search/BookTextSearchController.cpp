#include "companion/search/BookTextSearchController.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"

#include "platform/base/Strings.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>

namespace companion {

using namespace lectoro;

namespace {

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// `count` characters before `offset`, never splitting one.
size_t stepBack(const std::string& text, size_t offset, size_t count)
{
    while (offset > 0 && count > 0) {
        --offset;
        while (offset > 0 && isContinuationByte(text[offset]))
            --offset;
        --count;
    }
    return offset;
}

size_t stepForward(const std::string& text, size_t offset, size_t count)
{
    while (offset < text.size() && count > 0) {
        ++offset;
        while (offset < text.size() && isContinuationByte(text[offset]))
            ++offset;
        --count;
    }
    return offset;
}

bool isBreak(char c)
{
    return c == ' ' || c == '\n' || c == '\t' || c == '\r';
}

std::string oneLine(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    bool space = false;
    for (char c : text) {
        if (isBreak(c)) {
            space = true;
            continue;
        }
        if (space && !result.empty())
            result += ' ';
        space = false;
        result += c;
    }
    return result;
}

bool isDecimal(const std::string& text)
{
    return !text.empty() && text.size() < 19 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string fontKey(const std::optional<ui::Font>& font)
{
    return font ? font->name() + "/" + std::to_string(font->pointSize()) + "/" + std::to_string(static_cast<int>(font->weight())) : std::string();
}

base::FontAttr fontAttribute(const ui::Font& font, int weight)
{
    return base::FontAttr { font.name(), font.pointSize(), weight };
}

} // namespace

// The folded text of a book's pages or chapters, shared by every controller made for the
// book. A unit is folded when a search first needs it; an EPUB chapter not parsed yet is
// parsed then. Safe from any thread.
class BookTextSearchController::Index {
public:
    // A page (page book) or chapter (EPUB) in reading order.
    struct Unit {
        std::string pageIndex;
        std::string href;
        std::string displayNumber;
        int64_t pageNumber = 0;
        std::shared_ptr<PXPageVO> page;
        std::shared_ptr<EPUBChapterVO> chapter;
    };

    explicit Index(const LectoroBookVO& book)
    {
        if (auto pageBook = dynamic_cast<const PXBookVO*>(&book)) {
            for (const auto& page : pageBook->pageList) {
                if (page)
                    m_units.push_back({ std::to_string(page->pageID), page->src, page->displayNum, page->pageID, page, nullptr });
            }
        } else if (auto epub = dynamic_cast<const EPUBBookVO*>(&book)) {
            for (const auto& chapter : epub->chapters) {
                if (chapter)
                    m_units.push_back({ chapter->href, chapter->href, {}, chapter->fileIndex, nullptr, chapter });
            }
        }
        m_folded.resize(m_units.size());
        for (size_t unit = 0; unit < m_units.size(); ++unit) {
            m_byPageIndex.emplace(m_units[unit].pageIndex, unit);
            m_byNumber.emplace(m_units[unit].pageNumber, unit);
        }
    }

    // The index of a book, made once and kept while the book lives.
    static std::shared_ptr<Index> of(const std::shared_ptr<LectoroBookVO>& book)
    {
        static std::mutex mutex;
        static std::map<const LectoroBookVO*, std::pair<std::weak_ptr<LectoroBookVO>, std::shared_ptr<Index>>> indexes;
        std::lock_guard lock(mutex);
        for (auto entry = indexes.begin(); entry != indexes.end();)
            entry = entry->second.first.expired() ? indexes.erase(entry) : std::next(entry);
        auto& entry = indexes[book.get()];
        if (!entry.second) {
            entry.first = book;
            entry.second = std::make_shared<Index>(*book);
        }
        return entry.second;
    }

    size_t size() const { return m_units.size(); }
    const Unit& unit(size_t index) const { return m_units[index]; }

    // The unit's original text; the unit holds it while the book lives.
    const std::string& text(size_t index) const
    {
        const Unit& unit = m_units[index];
        if (unit.page)
            return unit.page->text;
        return unit.chapter->content()->text;
    }

    const FoldedText& folded(size_t index)
    {
        std::lock_guard lock(m_mutex);
        auto& folded = m_folded[index];
        if (!folded)
            folded = std::make_unique<FoldedText>(foldForSearch(text(index)));
        return *folded;
    }

    std::optional<size_t> unitNamed(const std::string& pageIndex) const
    {
        auto found = m_byPageIndex.find(pageIndex);
        return found == m_byPageIndex.end() ? std::nullopt : std::optional(found->second);
    }
    std::optional<size_t> unitNumbered(int64_t number) const
    {
        auto found = m_byNumber.find(number);
        return found == m_byNumber.end() ? std::nullopt : std::optional(found->second);
    }

    size_t memoryBytes()
    {
        std::lock_guard lock(m_mutex);
        size_t total = 0;
        for (const auto& folded : m_folded) {
            if (folded)
                total += folded->memoryBytes();
        }
        return total;
    }

private:
    std::vector<Unit> m_units;
    std::unordered_map<std::string, size_t> m_byPageIndex;
    std::unordered_map<int64_t, size_t> m_byNumber;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<FoldedText>> m_folded;
};

BookTextSearchController::BookTextSearchController(std::shared_ptr<LectoroBookVO> book, std::string searchText, int searchType)
    : m_book(std::move(book))
    , m_searchText(std::move(searchText))
    , m_searchType(searchType)
{
    if (m_book)
        m_index = Index::of(m_book);
}

bool BookTextSearchController::isSearchResultAvailable() const
{
    // Chapters not parsed yet are parsed by the search itself.
    return m_book != nullptr;
}

size_t BookTextSearchController::searchMemoryBytes()
{
    std::lock_guard lock(m_mutex);
    size_t total = m_index ? m_index->memoryBytes() : 0;
    for (const auto& [word, hits] : m_hits) {
        total += word.capacity() + hits.hits.capacity() * sizeof(Hit);
        for (const auto& [font, results] : hits.resultsByFont)
            total += results.capacity() * sizeof(results.front());
    }
    return total;
}

BookTextSearchController::WordHits& BookTextSearchController::hitsFor(const std::string& word)
{
    std::string needle = foldForSearch(word).folded;
    auto cached = m_hits.find(needle);
    if (cached != m_hits.end())
        return cached->second;
    WordHits found;
    found.needle = needle;
    // An empty word finds nothing: the book counts as scanned.
    if (needle.empty() || !m_index)
        found.scannedUnits = m_index ? m_index->size() : 0;
    return m_hits.emplace(std::move(needle), std::move(found)).first->second;
}

template <typename Enough> void BookTextSearchController::scanUntil(WordHits& hits, Enough enough)
{
    size_t units = m_index ? m_index->size() : 0;
    while (hits.scannedUnits < units && !enough()) {
        size_t unit = hits.scannedUnits;
        for (const auto& match : findFolded(m_index->folded(unit), hits.needle))
            hits.hits.push_back({ unit, match });
        ++hits.scannedUnits;
    }
}

void BookTextSearchController::scanThrough(WordHits& hits, size_t unit)
{
    scanUntil(hits, [&] { return hits.scannedUnits > unit; });
}

std::shared_ptr<TextSearchResult> BookTextSearchController::resultAt(const std::string& word, WordHits& hits, size_t index,
    const std::optional<ui::Font>& font)
{
    // Results carry the word as typed, so "Cafe" and "café" share hits but not results.
    auto& results = hits.resultsByFont[word + '\0' + fontKey(font)];
    if (results.size() != hits.hits.size())
        results.resize(hits.hits.size());
    if (!results[index])
        results[index] = makeResult(word, hits.hits[index], font);
    return results[index];
}

std::shared_ptr<TextSearchResult> BookTextSearchController::makeResult(const std::string& word, const Hit& hit,
    const std::optional<ui::Font>& font) const
{
    const Index::Unit& unit = m_index->unit(hit.unit);
    const std::string& text = m_index->text(hit.unit);
    size_t start = stepBack(text, hit.match.start, snippetContext);
    size_t end = stepForward(text, hit.match.end, snippetContext);
    // Whole words at the edges of the window.
    if (start > 0) {
        auto space = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(start), text.begin() + static_cast<std::ptrdiff_t>(hit.match.start), isBreak);
        if (space != text.begin() + static_cast<std::ptrdiff_t>(hit.match.start))
            start = static_cast<size_t>(space - text.begin()) + 1;
    }
    if (end < text.size()) {
        for (size_t at = end; at > hit.match.end; --at) {
            if (isBreak(text[at - 1])) {
                end = at - 1;
                break;
            }
        }
    }
    std::string before = oneLine(std::string_view(text).substr(start, hit.match.start - start));
    std::string match = oneLine(std::string_view(text).substr(hit.match.start, hit.match.end - hit.match.start));
    std::string after = oneLine(std::string_view(text).substr(hit.match.end, end - hit.match.end));
    // oneLine drops edge spaces; put back the one between the words and the hit.
    if (!before.empty() && hit.match.start > start && isBreak(text[hit.match.start - 1]))
        before += ' ';
    if (!after.empty() && isBreak(text[hit.match.end]))
        after.insert(after.begin(), ' ');

    auto result = std::make_shared<TextSearchResult>();
    result->searchedWord = word;
    result->pageIndex = unit.pageIndex;
    result->href = unit.href;
    result->pageNumber = unit.pageNumber;
    result->textOffset = hit.match.start;
    result->textLength = hit.match.end - hit.match.start;
    if (unit.chapter)
        result->chapterTitle = unit.chapter->title;
    result->displayNumber = unit.displayNumber;
    if (auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_book)) {
        result->displayNumber = epub->displayNumberForPosition(unit.pageNumber, hit.match.start);
        if (result->displayNumber.empty())
            result->displayNumber = std::to_string(unit.pageNumber + 1);
    }
    result->hitRange = { base::utf16Length(before), base::utf16Length(match) };
    base::TextAttributes attributes;
    if (font)
        attributes.font = fontAttribute(*font, 400);
    result->searchResultAttributedString = base::AttributedString(before + match + after, attributes);
    if (font)
        result->searchResultAttributedString.addFont(result->hitRange, fontAttribute(*font, 700));
    return result;
}

std::vector<std::shared_ptr<TextSearchResult>> BookTextSearchController::getSearchResultForText(const std::string& text,
    int64_t offset, int64_t batchSize)
{
    std::lock_guard lock(m_mutex);
    auto& hits = hitsFor(text);
    if (offset < 0 || batchSize <= 0)
        return {};
    // Enough once the batch's last hit is found (or the book is scanned).
    uint64_t wanted = static_cast<uint64_t>(offset) + static_cast<uint64_t>(batchSize);
    scanUntil(hits, [&] { return hits.hits.size() >= wanted; });
    if (static_cast<uint64_t>(offset) >= hits.hits.size())
        return {};
    size_t first = static_cast<size_t>(offset);
    size_t last = static_cast<uint64_t>(batchSize) >= hits.hits.size() - first ? hits.hits.size() : first + static_cast<size_t>(batchSize);
    Results batch;
    batch.reserve(last - first);
    for (size_t index = first; index < last; ++index)
        batch.push_back(resultAt(text, hits, index, std::nullopt));
    return batch;
}

std::optional<size_t> BookTextSearchController::unitForPage(const std::string& pageNo) const
{
    if (!m_index)
        return std::nullopt;
    if (auto unit = m_index->unitNamed(pageNo.substr(0, pageNo.find('#'))))
        return unit;
    // An EPUB chapter may also be named by its file index.
    if (std::dynamic_pointer_cast<EPUBBookVO>(m_book) && isDecimal(pageNo))
        return m_index->unitNumbered(base::longLongValue(pageNo));
    return std::nullopt;
}

BookTextSearchController::Results BookTextSearchController::hitsOnUnit(const std::string& word, size_t unit,
    const std::optional<ui::Font>& font)
{
    Results result;
    auto& hits = hitsFor(word);
    scanThrough(hits, unit);
    // Hits are in reading order, so a unit's hits are one run.
    auto first = std::lower_bound(hits.hits.begin(), hits.hits.end(), unit, [](const Hit& hit, size_t value) { return hit.unit < value; });
    for (auto hit = first; hit != hits.hits.end() && hit->unit == unit; ++hit)
        result.push_back(resultAt(word, hits, static_cast<size_t>(hit - hits.hits.begin()), font));
    return result;
}

std::vector<std::shared_ptr<TextSearchResult>> BookTextSearchController::getSearchResultForTextWithPageNo(
    const std::string& word, const std::string& pageNo, const std::optional<ui::Font>& font)
{
    std::lock_guard lock(m_mutex);
    auto unit = unitForPage(pageNo);
    return unit ? hitsOnUnit(word, *unit, font) : Results {};
}

std::vector<std::shared_ptr<TextSearchResult>> BookTextSearchController::getNextSearchResultForText(
    const std::string& word, const std::string& currentPageNo, const std::optional<ui::Font>& font)
{
    std::lock_guard lock(m_mutex);
    auto current = unitForPage(currentPageNo);
    if (!current)
        return {};
    auto& wordHits = hitsFor(word);
    // Scanned until a hit lies past the current page.
    scanUntil(wordHits, [&] { return !wordHits.hits.empty() && wordHits.hits.back().unit > *current; });
    const auto& hits = wordHits.hits;
    auto next = std::upper_bound(hits.begin(), hits.end(), *current, [](size_t value, const Hit& hit) { return value < hit.unit; });
    return next == hits.end() ? Results {} : hitsOnUnit(word, next->unit, font);
}

std::vector<std::shared_ptr<TextSearchResult>> BookTextSearchController::getPreviousSearchResultForText(
    const std::string& word, const std::string& currentPageNo, const std::optional<ui::Font>& font)
{
    std::lock_guard lock(m_mutex);
    auto current = unitForPage(currentPageNo);
    if (!current)
        return {};
    auto& wordHits = hitsFor(word);
    if (*current > 0)
        scanThrough(wordHits, *current - 1);
    const auto& hits = wordHits.hits;
    auto before = std::lower_bound(hits.begin(), hits.end(), *current, [](const Hit& hit, size_t value) { return hit.unit < value; });
    if (before == hits.begin())
        return {};
    // The previous hit is the last one on that page; it comes first.
    auto onPage = hitsOnUnit(word, std::prev(before)->unit, font);
    std::reverse(onPage.begin(), onPage.end());
    return onPage;
}

} // namespace companion
