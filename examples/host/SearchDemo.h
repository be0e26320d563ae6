#pragma once

#include <ostream>
#include <string>

namespace host {

// --demo-search WORD: opens the book, searches the word as the reader's search field
// would, prints the first rows, scrolls the list to its end (a second batch comes when
// there are more hits), picks the 60th hit (the last one when there are fewer), prints
// the page the renderer shows and whether the hit is marked there, steps to the next hit
// and closes the search. Answers 0 when the picked hit's page is shown with it marked,
// 3 otherwise, 1 when the book does not open.
int runSearchDemo(std::ostream&, const std::string& bookPath, const std::string& word);

} // namespace host
