#pragma once

#include <ostream>
#include <string>

namespace host {

// --demo-mydata: opens the book, stores two highlights and a note on its pages for the
// demo user, opens My Data, prints the rows of the highlights and the notes, then taps
// the last highlight and prints where the book went. Answers 0 when the panel closed on
// the highlight's page, 3 otherwise, 1 when the book does not open.
int runMyDataDemo(std::ostream&, const std::string& bookPath);

} // namespace host
