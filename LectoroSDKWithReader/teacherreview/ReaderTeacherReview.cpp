#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"

namespace lectoro {

ReaderTeacherReview::ReaderTeacherReview(ReaderContext& context)
    : m_context(context)
{
    static_cast<void>(m_context);
}

// Review is never entered yet (mode 6 is not reachable), so none of these has a learner
// whose work could be drawn.
void ReaderTeacherReview::drawTeacherReviewPenDrawingsOnPageNumber(const std::string&) { }
void ReaderTeacherReview::drawTeacherReviewFIBOnPageNumber(const std::string&) { }
void ReaderTeacherReview::drawTeacherReviewDropDownOnPageNumber(const std::string&) { }
void ReaderTeacherReview::actionForTeacherReviewPageChanged() { }
void ReaderTeacherReview::updateTeacherReviewUI() { }

} // namespace lectoro
