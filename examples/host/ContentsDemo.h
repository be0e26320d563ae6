#pragma once

#include <ostream>
#include <string>

namespace host {

// --demo-contents: opens the book, opens its contents from the toolbar, prints the rows
// the panel shows (chapters with their outline numbers, the current one marked), picks
// the third chapter (the last one when there are fewer) and prints where the book went.
// Answers 0 when the panel closed and the book is at the chosen chapter, 3 otherwise,
// 1 when the book does not open.
int runContentsDemo(std::ostream&, const std::string& bookPath);

} // namespace host
