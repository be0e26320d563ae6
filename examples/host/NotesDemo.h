#pragma once

#include <ostream>
#include <string>

namespace host {

// --demo-notes: opens the book, writes a contextual note on the first words of its first
// page through the note editor, prints what was stored, opens the note again, posts a
// comment on it, and deletes it. Answers 0 when every step did what it should, 4
// otherwise (3 when the book does not open).
int runNotesDemo(std::ostream&, const std::string& bookPath);

} // namespace host
