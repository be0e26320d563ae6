#pragma once

#include <ostream>

namespace host {

// --demo-review: a learner submits work to the in-process service; a teacher opens the
// sample page book as a school's host launches it (its switches and the teacher's class),
// opens teacher review from the reader's bar, picks the class, watches the learners' work
// arrive, opens the learner with work, has the class's markup report mailed (chapters and
// learners chosen, the mail screen, the request) and leaves review back on the page shown
// before.
// Each step is printed. Answers 0 when every step did what it should, 4 otherwise.
int runReviewDemo(std::ostream&);

} // namespace host
