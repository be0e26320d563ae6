#include "LectoroSDKWithReader/teacherreview/TeacherReviewPanelBridge.h"

#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewPages.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewViewController.h"

namespace lectoro {

namespace {

// A drawing is filed under its own page when the learner has work there; otherwise it
// goes to the page in use, as the pen road chose it.
void panelBridgeUseRecordsPage(TeacherReviewViewController& panel, const std::string& pageIdentifier)
{
    if (!pageIdentifier.empty() && panel.studentPageUGCDictionary
        && panel.studentPageUGCDictionary->contains(pageIdentifier))
        panel.SelectedPageIdentifier = pageIdentifier;
}

} // namespace

// The panel stays with the reader after a review session; outside review nothing may edit
// or redraw the learner's work through it.
TeacherReviewViewController* TeacherReviewPanelBridge::panel() const
{
    return reviewing() ? m_review->teacherAnnotationController().get() : nullptr;
}

bool TeacherReviewPanelBridge::reviewing() const
{
    return m_review && m_review->isReviewRunning();
}

// MARK: - The page and learner under review

std::optional<std::string> TeacherReviewPanelBridge::pageIdentifierForTeacherReview() const
{
    if (!m_review || m_review->pageIdentifierForTeacherReview().empty())
        return std::nullopt;
    return m_review->pageIdentifierForTeacherReview();
}

void TeacherReviewPanelBridge::setPageIdentifierForTeacherReview(const std::string& page)
{
    if (m_review)
        m_review->setPageIdentifierForTeacherReview(page);
}

base::Value TeacherReviewPanelBridge::teacherAnnotationData() const
{
    return m_review ? m_review->selectedLearnerData() : base::Value();
}

std::string TeacherReviewPanelBridge::selectLearnerIDForTeacherReview() const
{
    return m_review ? m_review->selectLearnerIDForTeacherReview().value_or(std::string()) : std::string();
}

void TeacherReviewPanelBridge::setSelectedPageIdentifier(const std::string& page)
{
    if (auto* p = panel(); p && !page.empty())
        p->SelectedPageIdentifier = page;
}

void TeacherReviewPanelBridge::setSelectedLearnerID(const std::string& learnerID)
{
    if (auto* p = panel(); p && !learnerID.empty())
        p->selectedLearnerID = learnerID;
}

// MARK: - Drawings

void TeacherReviewPanelBridge::addPenDrawing(std::shared_ptr<SDKPentoolVO> drawing)
{
    auto* p = panel();
    if (!p || !drawing)
        return;
    panelBridgeUseRecordsPage(*p, drawing->pageIdentifier);
    p->addPenDrawing(drawing);
}

void TeacherReviewPanelBridge::updatePenDrawing(std::shared_ptr<SDKPentoolVO> drawing)
{
    auto* p = panel();
    if (!p || !drawing)
        return;
    panelBridgeUseRecordsPage(*p, drawing->pageIdentifier);
    // The store drops the earlier copy and keeps the new one only when the server knows
    // it: right for an erased stroke, but a moved stroke drawn in this review must stay.
    p->updatePenDrawing(drawing);
    if (!drawing->isUploaded() && !drawing->isDeleted())
        p->addPenDrawing(drawing);
}

bool TeacherReviewPanelBridge::isFIBsAndPentoolAvailable()
{
    auto* p = panel();
    return p && p->isFIBsAndPentoolAvailable();
}

bool TeacherReviewPanelBridge::isAnnotationEnabled()
{
    return m_review && m_review->isAnnotationEnabled();
}

void TeacherReviewPanelBridge::clearAllFIBsForPageID(const std::string& pageID)
{
    if (auto* p = panel())
        p->clearAllFIBsForPageID(pageID);
}

void TeacherReviewPanelBridge::clearAllFIBs()
{
    if (auto* p = panel())
        p->clearAllFIBs();
}

void TeacherReviewPanelBridge::clearAllPenDrawingsForPageID(const std::string& pageID)
{
    if (auto* p = panel())
        p->clearAllPenDrawingsForPageID(pageID);
}

void TeacherReviewPanelBridge::clearAllPenDrawings()
{
    if (auto* p = panel())
        p->clearAllPenDrawings();
}

// MARK: - Redraws

void TeacherReviewPanelBridge::drawTeacherReviewFIBOnPageNumber(int64_t pageNumber)
{
    if (reviewing())
        m_review->drawTeacherReviewFIBOnPageNumber(std::to_string(pageNumber));
}

void TeacherReviewPanelBridge::drawTeacherReviewDropDownOnPageNumber(int64_t pageNumber)
{
    if (reviewing())
        m_review->drawTeacherReviewDropDownOnPageNumber(std::to_string(pageNumber));
}

void TeacherReviewPanelBridge::drawTeacherReviewPenDrawingsOnPageNumber(int64_t pageNumber)
{
    if (reviewing())
        m_review->drawTeacherReviewPenDrawingsOnPageNumber(std::to_string(pageNumber));
}

void TeacherReviewPanelBridge::didSelectPenColorForTeacherReview(const std::string& hexColor)
{
    if (reviewing())
        m_review->didSelectPenColorForTeacherReview(hexColor);
}

void TeacherReviewPanelBridge::refreshTeacherReviewPage(int64_t pageNumber)
{
    if (reviewing())
        m_review->refreshTeacherReviewPage(pageNumber);
}

// MARK: - Answers

bool TeacherReviewPanelBridge::hasLearnerPanel() const
{
    return panel() != nullptr;
}

std::vector<std::shared_ptr<SDKFIBVO>> TeacherReviewPanelBridge::getFIBUGCForPageIdentifier(
    const std::string& pageIdentifier)
{
    auto* p = panel();
    return p ? p->getFIBUGCForPageIdentifier(pageIdentifier) : std::vector<std::shared_ptr<SDKFIBVO>> {};
}

void TeacherReviewPanelBridge::updateFIBData(std::shared_ptr<SDKFIBVO> answer)
{
    if (auto* p = panel())
        editAnswerOnItsPage(*p, answer);
}

std::shared_ptr<SDKFIBVO> TeacherReviewPanelBridge::getSDKFIBVOForLinkID(int64_t linkID)
{
    auto* p = panel();
    return p ? p->getSDKFIBVOForLinkID(linkID) : nullptr;
}

void TeacherReviewPanelBridge::setSelectedFibArray(const std::vector<std::shared_ptr<SDKFIBVO>>& answers)
{
    if (auto* p = panel())
        p->selectedFibArray = answers;
}

void TeacherReviewPanelBridge::showNoteForTeacherCommentWithFib(std::shared_ptr<SDKFIBVO> answer)
{
    if (m_review)
        m_review->showNoteForTeacherCommentWithFib(answer);
}

} // namespace lectoro
