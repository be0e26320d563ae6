#pragma once

#include <cstdint>
#include <ostream>

namespace companion {
class InProcessService;
}

namespace lectoro {
class ReaderViewController;
}

namespace host {

// The markup report, in a review that is running: the review bar's report item, the
// chapters the service offers (titled by the book), the class's learners with who handed
// in work, the mail screen with the teacher's address and the request the service takes.
// Each step is printed; answers the number of steps that failed.
int runReviewReportSteps(
    lectoro::ReaderViewController&, companion::InProcessService&, int64_t bookID, std::ostream&);

} // namespace host
