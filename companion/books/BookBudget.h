#pragma once

// What opening one book may cost. A book folder is untrusted input: a package can list the
// same large chapter a thousand times, nest a million paragraphs in one chapter or list tens
// of thousands of contents entries. Every loader checks its book against a budget and
// refuses a book that passes it with BookError::TooLarge, whose description names the limit
// (the field name below). The defaults are far above any real book (README.md); tests pass
// a small budget.

#include <cstddef>
#include <string>

namespace companion {

struct BookBudget {
    // Bytes of every file the book's opening and reading read, each file counted once
    // however often the book names it.
    size_t maxBytesRead = 256u * 1024u * 1024u;
    // Bytes of any one file (a chapter, the package, a descriptor).
    size_t maxFileBytes = 32u * 1024u * 1024u;
    // Items of an EPUB spine (chapters).
    size_t maxSpineItems = 10'000;
    // Blocks directly under a chapter's <body> (paragraphs, headings...): one reading
    // position each.
    size_t maxBlocksPerChapter = 100'000;
    // Reading positions of the whole book, a chapter listed twice counting twice.
    size_t maxPositionsPerBook = 1'000'000;
    // Entries of the contents, page list and landmarks together.
    size_t maxNavigationEntries = 50'000;
    // Clips (<par> elements) of one chapter's media overlay.
    size_t maxOverlayClips = 100'000;
};

// "…: 20000 spine items, over the limit of 10000 (maxSpineItems)".
std::string budgetExceededDescription(const std::string& what, size_t amount, const std::string& unit, size_t limit,
    const char* limitName);

} // namespace companion
