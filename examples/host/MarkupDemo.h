#pragma once

#include <ostream>
#include <string>

namespace host {

// --demo-markups: opens the page book, goes to each page with markups, taps every markup
// the page shows (a multi-link group opens its list, and each of its links is picked in
// turn) and prints the action each tap reached, or "(no action)" (a 3D video while
// online). Answers 0 when it tapped markups, 3 when the book shows none, 1 when the book
// does not open.
int runMarkupDemo(std::ostream&, const std::string& bookPath);

} // namespace host
