// The renderer's reports about answers and protractors, handed to interactive content (or,
// in review, to teacher review).

#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"

namespace lectoro {

void ReaderViewController::didTapOnInstantFeedBack(std::shared_ptr<ui::View> view)
{
    interactiveContent().answers().didTapOnInstantFeedBack(view);
}

// In review the answers on the pages are the learner's, edited in the teacher's panel.
void ReaderViewController::didUpdateFibArray(const std::vector<std::shared_ptr<SDKFIBVO>>& fibs)
{
    if (m_context.activeMode == ReaderActiveModeTeacherReview)
        m_teacherReview->didUpdateFibArray(fibs);
    else
        interactiveContent().answers().didUpdateFibArray(fibs);
}

void ReaderViewController::didTapOnTeacherComment(const std::vector<std::shared_ptr<SDKFIBVO>>& fibs)
{
    if (m_context.activeMode == ReaderActiveModeTeacherReview)
        m_teacherReview->didTapOnTeacherComment(fibs);
    else
        interactiveContent().answers().didTapOnTeacherComment(fibs);
}

void ReaderViewController::didTapOnProtractor()
{
    interactiveContent().didTapOnProtractor();
}

void ReaderViewController::didCloseProtractorWithProtractorVO(std::shared_ptr<SDKProtractorVO> protractor)
{
    interactiveContent().answers().didCloseProtractorWithProtractorVO(protractor);
}

void ReaderViewController::deleteProtractorWithProtractorVO(std::shared_ptr<SDKProtractorVO> protractor)
{
    interactiveContent().answers().deleteProtractorWithProtractorVO(protractor);
}

void ReaderViewController::didSelectProtractorWithProtractorVO(std::shared_ptr<SDKProtractorVO> protractor)
{
    interactiveContent().answers().didSelectProtractorWithProtractorVO(protractor);
}

} // namespace lectoro
