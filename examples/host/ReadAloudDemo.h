#pragma once

#include <ostream>
#include <string>

namespace host {

// --demo-readaloud: opens the book, turns to the first page with narration, opens the
// read-aloud chooser from the toolbar, chooses read to me, lets the page be read with its
// words highlighted, picks a highlight colour and a speed, and closes narration from its
// bar. Answers 0 when every step did what it should, 4 otherwise (3 when the book does not
// open).
int runReadAloudDemo(const std::string& bookPath, std::ostream&);

} // namespace host
