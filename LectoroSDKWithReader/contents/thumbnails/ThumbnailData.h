#pragma once

// The page-thumbnail data as the thumbnail panels read it: an array of chapters
// {"ChapterTitle", "ChapterID", "Pages"}, each page {"PageNo", "DisplayNumber",
// "PageThumbnailPath", "SRC"} (LectoroBookVO::getThumbnailData). Lookups shared by the
// browser, the EPUB navigator and the reader's thumbnail operations, kept free of views.

#include "platform/base/Value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lectoro::thumbnails {

// "%@" of the page's "PageNo" and "DisplayNumber"; "" when absent.
std::string pageNumberText(const base::Value& page);
std::string displayNumberText(const base::Value& page);
// The chapter list and a chapter's pages; empty when the shape is not the expected one.
const base::Value::List& chapters(const base::Value& data);
const base::Value::List& pagesOf(const base::Value& chapter);

// "DisplayNumber" of the last page of the last chapter; "" when there is none.
std::string lastDisplayNumber(const base::Value& data);

// Only the pages whose "PageNo" text is listed, chapters without any dropped.
base::Value filterSubmittedPages(const base::Value& data, const std::vector<std::string>& submitted);

// Every page in book order; the first page of a chapter carries its "ChapterTitle", every
// page its "ChapterID".
struct FlatPages {
    std::vector<std::string> pageNumbers;
    std::vector<std::string> displayNumbers;
    base::Value::List pages;
};
FlatPages flattenPages(const base::Value& data);

// Where a page number is: chapter index and position in it; none when absent.
struct PagePlace {
    int section = 0;
    int index = 0;
};
std::optional<PagePlace> findPageNumber(const base::Value& data, const std::string& pageNumber);

// A display number as shown: digits through the number localiser, anything whose integer
// value is 0 (roman numerals, "0", labels) unchanged.
std::string localizedDisplayNumber(const base::Value& number);

// The first page, chapters then pages in order, whose display number equals the text
// ignoring case (no trimming).
const base::Value* findPageByDisplayNumber(const base::Value& data, std::string_view text);
// The same with every space of the text removed first (the navigator's go-to field).
const base::Value* findPageByTypedNumber(const base::Value& data, std::string_view text);

// The navigator's slider. Positions 0 ... total - 1 name the pages in book order.
int64_t sliderPosition(double value, int64_t totalPages);
// 0 for a book of one page (no divisor) or none.
double initialSliderValue(int64_t activePage, int64_t totalPages);
const base::Value* pageAtPosition(const base::Value& data, int64_t position);

} // namespace lectoro::thumbnails
