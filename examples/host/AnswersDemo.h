#pragma once

#include <ostream>
#include <string>

namespace host {

// --demo-answers: opens the page book, types an answer into its first fill-in field and
// picks a drop-down item (each read back from the store), closes and deletes a protractor
// on the page that carries one, and opens the book's SCORM package, saves its learner data
// and closes it (the data uploaded). Answers 0 when every step did what it should, 2 when
// one did not, 1 when the book does not open.
int runAnswersDemo(std::ostream&, const std::string& bookPath);

} // namespace host
