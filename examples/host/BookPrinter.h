#pragma once

// Prints what a loaded book holds: its kind, chapters, contents, pages with their folios
// and links, and the hits of a search.

#include <iosfwd>
#include <memory>
#include <string>

namespace lectoro {
class LectoroBookVO;
class TextSearchController;
}

namespace host {

void printBookStructure(std::ostream&, const lectoro::LectoroBookVO&);
// Answers the number of hits printed.
size_t printSearch(std::ostream&, lectoro::TextSearchController&, const std::string& word);

} // namespace host
