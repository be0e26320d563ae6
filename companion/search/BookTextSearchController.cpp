#include "companion/search/BookTextSearchController.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"

#include "platform/base/Strings.h"

#include <algorithm>

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

BookTextSearchController::BookTextSearchController(std::shared_ptr<LectoroBookVO> book, std::string searchText, int searchType)
    : m_book(std::move(book))
    , m_searchText(std::move(searchText))
    , m_searchType(searchType)
{
    if (auto pageBook = std::dynamic_pointer_cast<PXBookVO>(m_book)) {
        for (const auto& page : pageBook->pageList) {
            Unit unit;
            unit.pageIndex = std::to_string(page->pageID);
            unit.href = page->src;
            unit.displayNumber = page->displayNum;
            unit.pageNumber = page->pageID;
            unit.text = &page->text;
            unit.folded = foldForSearch(page->text);
            m_units.push_back(std::move(unit));
        }
    } else if (auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_book)) {
        for (const auto& chapter : epub->chapters) {
            Unit unit;
            unit.pageIndex = chapter->href;
            unit.href = chapter->href;
            unit.pageNumber = chapter->fileIndex;
            unit.text = &chapter->text;
            unit.folded = foldForSearch(chapter->text);
            m_units.push_back(std::move(unit));
        }
    }
}

bool BookTextSearchController::isSearchResultAvailable() const
{
    if (auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_book))
        return epub->isBookContentLoaded;
    return m_book != nullptr;
}

const std::vector<BookTextSearchController::Hit>& BookTextSearchController::hitsFor(const std::string& word)
{
    std::u32string needle = foldForSearch(word).folded;
    auto cached = m_hits.find(needle);
    if (cached != m_hits.end())
        return cached->second;
    std::vector<Hit> hits;
    for (size_t unit = 0; unit < m_units.size(); ++unit) {
        for (const auto& match : findFolded(m_units[unit].folded, needle))
            hits.push_back({ unit, match });
    }
    return m_hits.emplace(std::move(needle), std::move(hits)).first->second;
}

std::shared_ptr<TextSearchResult> BookTextSearchController::makeResult(const std::string& word, const Hit& hit,
    const std::optional<ui::Font>& font) const
{
    const Unit& unit = m_units[hit.unit];
    const std::string& text = *unit.text;
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

const BookTextSearchController::Results& BookTextSearchController::resultsFor(const std::string& word,
    const std::optional<ui::Font>& font)
{
    std::string key = word + '\0' + fontKey(font);
    auto cached = m_results.find(key);
    if (cached != m_results.end())
        return cached->second;
    Results results;
    for (const auto& hit : hitsFor(word))
        results.push_back(makeResult(word, hit, font));
    return m_results.emplace(std::move(key), std::move(results)).first->second;
}

std::vector<std::shared_ptr<TextSearchResult>> BookTextSearchController::getSearchResultForText(const std::string& text,
    int64_t offset, int64_t batchSize)
{
    std::lock_guard lock(m_mutex);
    const auto& results = resultsFor(text, std::nullopt);
    if (offset < 0 || batchSize <= 0 || static_cast<uint64_t>(offset) >= results.size())
        return {};
    auto first = results.begin() + offset;
    auto last = static_cast<uint64_t>(batchSize) >= results.size() - static_cast<size_t>(offset) ? results.end() : first + batchSize;
    return { first, last };
}

std::optional<size_t> BookTextSearchController::unitForPage(const std::string& pageNo) const
{
    std::string path = pageNo.substr(0, pageNo.find('#'));
    for (size_t index = 0; index < m_units.size(); ++index) {
        if (m_units[index].pageIndex == path)
            return index;
    }
    // An EPUB chapter may also be named by its file index.
    if (std::dynamic_pointer_cast<EPUBBookVO>(m_book) && isDecimal(pageNo)) {
        auto fileIndex = base::longLongValue(pageNo);
        for (size_t index = 0; index < m_units.size(); ++index) {
            if (m_units[index].pageNumber == fileIndex)
                return index;
        }
    }
    return std::nullopt;
}

BookTextSearchController::Results BookTextSearchController::hitsOnUnit(const std::string& word, size_t unit,
    const std::optional<ui::Font>& font)
{
    Results result;
    const auto& hits = hitsFor(word);
    const auto& results = resultsFor(word, font);
    for (size_t index = 0; index < hits.size(); ++index) {
        if (hits[index].unit == unit)
            result.push_back(results[index]);
    }
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
    for (const auto& hit : hitsFor(word)) {
        if (hit.unit > *current)
            return hitsOnUnit(word, hit.unit, font);
    }
    return {};
}

std::vector<std::shared_ptr<TextSearchResult>> BookTextSearchController::getPreviousSearchResultForText(
    const std::string& word, const std::string& currentPageNo, const std::optional<ui::Font>& font)
{
    std::lock_guard lock(m_mutex);
    auto current = unitForPage(currentPageNo);
    if (!current)
        return {};
    const auto& hits = hitsFor(word);
    for (auto hit = hits.rbegin(); hit != hits.rend(); ++hit) {
        if (hit->unit < *current) {
            // The previous hit is the last one on that page; it comes first.
            auto onPage = hitsOnUnit(word, hit->unit, font);
            std::reverse(onPage.begin(), onPage.end());
            return onPage;
        }
    }
    return {};
}

} // namespace companion
