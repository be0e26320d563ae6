#pragma once

#include <ostream>
#include <string>

namespace host {

// --demo-textbox: places a text box on the first page of a page book, types into it,
// centres it and gives it colour 4 from the bar's pop-ups, saves it, turns the page away
// and back to show it drawn again, then opens it with a tap and deletes it after the
// confirmation. A host without a theme of its own gets one with the text-box colours.
// Answers 0 when every step did what it should, 4 otherwise (3 when the book does not open).
int runTextBoxDemo(std::ostream&, const std::string& bookPath, const std::string& storageRoot);

} // namespace host
