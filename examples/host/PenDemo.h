#pragma once

#include <ostream>
#include <string>

namespace host {

// --demo-pen: opens the book, opens the pen tool from its toolbar action, draws a stroke
// on the first page, prints what was stored, bookmarks the first page through its icon's
// pop-up, then deletes every drawing after answering "YES" and closes the pen. Answers 0
// when every step did what it should, 4 otherwise (3 when the book does not open).
int runPenDemo(const std::string& bookPath, std::ostream&);

} // namespace host
