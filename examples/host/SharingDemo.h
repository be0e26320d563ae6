#pragma once

#include <ostream>

namespace host {

// --demo-sharing: two learners of one class share a note through the in-process service
// and one of them answers it; each step is printed. Answers 0 when every step did what it
// should, 4 otherwise.
int runSharingDemo(std::ostream&);

} // namespace host
