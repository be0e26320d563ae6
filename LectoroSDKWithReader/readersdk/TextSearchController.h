#pragma once

// The companion framework's search engine over an open book, and its hits. One engine per
// open search; created through CompanionFramework::makeTextSearchController(book, text,
// type). Matching ignores case and diacritics ("CAFE" finds "café"). Hits come in reading
// order: pages (page books) or chapters (EPUB books) in book order, then by position.

#include "platform/base/AttributedString.h"
#include "platform/base/Strings.h"
#include "platform/ui/Color.h"
#include "platform/ui/Font.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

// One hit. Records are compared by identity; an engine answers the same object for the
// same hit of the same word and font.
class TextSearchResult {
public:
    // The word searched, as given.
    std::optional<std::string> searchedWord;
    // The page id ("%ld") in a page book; the chapter's href ("text/ch2.xhtml") in an EPUB.
    std::string pageIndex;
    // The chapter file of a hit in an EPUB book; the page image in a page book.
    std::string href;
    // The printed folio of the page the hit is on.
    std::string displayNumber;
    // A window of text around the hit, on one line; when a font was given it carries that
    // font, and the hit itself its bold face.
    base::AttributedString searchResultAttributedString;
    // Where the hit lies in the snippet (UTF-16 units).
    base::Range hitRange;
    // The page id (page book) or chapter file index (EPUB book).
    int64_t pageNumber = 0;
    // The chapter's title in an EPUB book (empty when its navigation lists none).
    std::string chapterTitle;
    // Where the hit lies in the page's or chapter's text: byte offset and byte length.
    size_t textOffset = 0;
    size_t textLength = 0;
};

class TextSearchController;

class TextSearchControllerDelegate {
public:
    virtual ~TextSearchControllerDelegate() = default;
    virtual void didSelectSearchText(TextSearchController&, std::shared_ptr<TextSearchResult>) { }
    virtual void didSelectActionForCloseSearch(TextSearchController&) { }
    virtual void didSearchTextChanged(TextSearchController&) { }
    virtual void didCompleteSearchDecryption(TextSearchController&) { }
};

class TextSearchController {
public:
    virtual ~TextSearchController() = default;

    virtual const std::string& searchText() const = 0;
    virtual int searchType() const = 0;

    virtual void setSearchTextViewBackgroundColor(const ui::Color&) { }
    virtual void setSearchTextBorderColor(const ui::Color&) { }

    // Held weakly.
    virtual void setDelegate(std::weak_ptr<TextSearchControllerDelegate>) = 0;
    virtual std::shared_ptr<TextSearchControllerDelegate> delegate() const = 0;

    // YES when the book's text can be searched now.
    virtual bool isSearchResultAvailable() const = 0;

    // At most batchSize hits starting at the offset-th (from 0); empty when there are none.
    virtual std::vector<std::shared_ptr<TextSearchResult>> getSearchResultForText(const std::string& text,
        int64_t offset, int64_t batchSize) = 0;
    // The hits of the word on one page (page id text, or an EPUB chapter's href or file
    // index text), in reading order, snippets in the font.
    virtual std::vector<std::shared_ptr<TextSearchResult>> getSearchResultForTextWithPageNo(const std::string& word,
        const std::string& pageNo, const std::optional<ui::Font>& font) = 0;
    // The hits on the nearest later / earlier page that has any: the first element is the
    // next / previous hit. Empty when there is none.
    virtual std::vector<std::shared_ptr<TextSearchResult>> getNextSearchResultForText(const std::string& word,
        const std::string& currentPageNo, const std::optional<ui::Font>& font) = 0;
    virtual std::vector<std::shared_ptr<TextSearchResult>> getPreviousSearchResultForText(const std::string& word,
        const std::string& currentPageNo, const std::optional<ui::Font>& font) = 0;
};

} // namespace lectoro
