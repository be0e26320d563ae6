#pragma once

// The chapters a markup report can cover, read from the report service's contents answer
// and the open book.
//
// The answer holds its entries under "toc" (or is the list itself). An entry is a
// dictionary with the chapter's id under "chapterID", "chapterId" or "id" and its title
// under "title" or "chapterTitle", or a bare id (number or text). An entry without a
// title takes the title of the book's chapter with that id (a page book's chapter id, an
// EPUB chapter's idref or href), else its id as text. Entries without a usable id are
// left out, and an id met again is left out, so every row stands for one chapter.

#include "platform/base/Value.h"

namespace lectoro {

class LectoroBookVO;

class GenerateReportParser {
public:
    // Keys of one parsed chapter row.
    static constexpr const char* chapterIDKey = "chapterID";
    static constexpr const char* titleKey = "title";

    // parseGenerateReportTOC:: - a list of {"chapterID", "title"} in the answer's order.
    base::Value parseGenerateReportTOC(const base::Value& response, const LectoroBookVO* book) const;
};

} // namespace lectoro
