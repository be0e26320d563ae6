// The renderer's reports about answers and protractors, handed to interactive content.

#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"

namespace lectoro {

void ReaderViewController::didTapOnInstantFeedBack(std::shared_ptr<ui::View> view)
{
    interactiveContent().answers().didTapOnInstantFeedBack(view);
}

void ReaderViewController::didUpdateFibArray(const std::vector<std::shared_ptr<SDKFIBVO>>& fibs)
{
    interactiveContent().answers().didUpdateFibArray(fibs);
}

void ReaderViewController::didTapOnTeacherComment(const std::vector<std::shared_ptr<SDKFIBVO>>& fibs)
{
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
