// A learner's work in the reader: loading the chosen learner into the panel and the
// renderer, drawing that work on each page shown, the page label and the page buttons.

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/MVFIB.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewPages.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewReader.h"
#include "platform/base/Strings.h"
#include "platform/base/Value.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"

#include <algorithm>

namespace lectoro {

namespace {

constexpr int fillInBlankLinkType = 5;
constexpr int dropDownLinkType = 13;

int linkTypeOf(const PXLinkVO& link)
{
    return static_cast<int>(base::Value(link.type).integerValue());
}

// The newest answer of a link: the greatest server id, compared as a number ("10" after
// "9"); ids that are no number come last.
std::shared_ptr<SDKFIBVO> newestAnswerForLink(const std::vector<std::shared_ptr<SDKFIBVO>>& answers, int64_t linkID)
{
    std::shared_ptr<SDKFIBVO> newest;
    std::optional<int64_t> newestID;
    for (const auto& answer : answers) {
        if (answer->linkID != linkID)
            continue;
        auto id = base::Value(answer->ugcID).asInteger();
        if (!id) {
            const std::string& text = answer->ugcID;
            if (!text.empty() && std::all_of(text.begin() + (text[0] == '-' ? 1 : 0), text.end(), ::isdigit))
                id = base::Value(text).longLongValue();
        }
        if (!newest || (id && (!newestID || *id > *newestID))) {
            newest = answer;
            newestID = id;
        }
    }
    return newest;
}

} // namespace

bool ReaderTeacherReview::isAnnotationEnabled() const
{
    return m_teacherAnnotationController && m_teacherAnnotationController->isAnnotationEnabled;
}

bool ReaderTeacherReview::doesCurrentPageHaveActiveUGC() const
{
    return m_teacherAnnotationController && m_teacherAnnotationController->doesCurrentPageHaveActiveUGC();
}

std::vector<std::string> ReaderTeacherReview::activePageIDs() const
{
    std::vector<std::string> ids;
    if (!m_context.renderer)
        return ids;
    const bool pageBook = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook) != nullptr;
    for (const auto& page : m_context.renderer->getActivePages())
        ids.push_back(std::to_string(pageBook ? page.pageID : page.fileIndex));
    return ids;
}

// MARK: - Loading a learner

void ReaderTeacherReview::actionForSelectedLearnerData(const base::Value& pages, const std::string& learnerID)
{
    m_studentFolioPagesUGCData.clear();

    // The bars of the previous learner slide out and go; the new learner's are built below.
    const bool pad = ui::Environment::current().isPad();
    if (m_topConstOfTeacherReview)
        m_topConstOfTeacherReview->setConstant(-reviewBarHeight());
    if (!pad && m_bottomConstOfTeacherReview)
        m_bottomConstOfTeacherReview->setConstant(reviewBarHeight());
    std::weak_ptr<int> alive = m_alive;
    ui::View::animate(reviewBarSlideOutDuration, [this, alive] {
        if (alive.expired())
            return;
        if (auto view = readerView())
            view->layoutIfNeeded();
        for (auto* bar : { &m_context.penToolActionBarView, &m_context.penToolActionBottomBarView }) {
            if (*bar)
                (*bar)->removeFromSuperview();
            bar->reset();
        }
    });
    m_penToolController.reset();
    m_context.isDragBoxModeEnabled = false;
    m_reader.resetAllPlayerActionBar();

    auto work = buildTeacherReviewLearnerWork(pages, m_context.dbManager.get(),
        [this](const std::string& folio) { return m_reader.getPageNumberForDisplayNumber(folio); });
    m_studentFolioPagesUGCData = std::move(work.folioPages);
    m_selectedLearnerID = learnerID;
    m_selectedLearnerData = pages;
    if (auto& panel = m_teacherAnnotationController) {
        panel->studentPageUGCDictionary = std::move(work.pages);
        panel->selectedLearnerID = learnerID;
        panel->studentSubmittedPageArray = work.pageArray;
    }
    auto renderer = m_context.renderer;
    const auto pageArray = work.pageArray;
    ui::View::animate(reviewBarSlideOutDuration, [renderer, pageArray] {
        if (renderer && !pageArray.empty())
            renderer->enableTeacherReviewModeWithPageArray(pageArray);
    });
    actionForTeacherReviewPageChanged();
    if (renderer && renderer->isViewLoaded())
        renderer->view()->setUserInteractionEnabled(true);
}

// MARK: - Drawing a page

void ReaderTeacherReview::refreshTeacherReviewPage(int64_t pageNumber)
{
    const std::string page = std::to_string(pageNumber);
    if (isAnnotationEnabled())
        drawTeacherReviewPenDrawingsOnPageNumber(page);
    drawTeacherReviewFIBOnPageNumber(page);
    drawTeacherReviewDropDownOnPageNumber(page);
}

void ReaderTeacherReview::drawTeacherReviewPenDrawingsOnPageNumber(const std::string& pageNumber)
{
    auto& panel = m_teacherAnnotationController;
    if (!panel || !std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook))
        return;
    m_pageIdentifierForTeacherReview = pageNumber;
    auto drawings = panel->getPenToolUGCForPageIdentifier(pageNumber);
    if (!drawings.empty() && m_context.renderer)
        m_context.renderer->drawPenDrawings(drawings, base::integerValue(pageNumber));
    updatePentoolButtonStatus();
}

void ReaderTeacherReview::drawTeacherReviewFIBOnPageNumber(const std::string& pageNumber)
{
    auto& panel = m_teacherAnnotationController;
    auto book = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook);
    if (!panel || !book || !m_context.renderer)
        return;
    auto answers = panel->getFIBUGCForPageIdentifier(pageNumber);
    const int64_t page = base::integerValue(pageNumber);
    const bool isTeacher = !(m_context.user && m_context.user->isLearner());
    std::vector<std::shared_ptr<ui::View>> fields;
    for (const auto& link : book->getLinksForForPagenumber(page)) {
        if (!link || linkTypeOf(*link) != fillInBlankLinkType)
            continue;
        auto field = MVFIB::create(link, newestAnswerForLink(answers, link->linkID), isTeacher);
        fields.push_back(field);
    }
    if (!fields.empty())
        m_context.renderer->drawFIB(fields, page);
}

void ReaderTeacherReview::drawTeacherReviewDropDownOnPageNumber(const std::string& pageNumber)
{
    auto& panel = m_teacherAnnotationController;
    auto book = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook);
    if (!panel || !book || !m_context.renderer)
        return;
    auto answers = panel->getFIBUGCForPageIdentifier(pageNumber);
    const int64_t page = base::integerValue(pageNumber);
    const auto& links = book->getLinksForForPagenumber(page);
    bool anyDropDown = false;
    for (const auto& link : links) {
        if (!link || linkTypeOf(*link) != dropDownLinkType)
            continue;
        auto view = MarkupView::create(link->boxTansformedRect);
        view->pageID = page;
        view->linkID = link->linkID;
        view->setTag(static_cast<int>(link->linkID));
        auto answer = newestAnswerForLink(answers, link->linkID);
        view->sdkFIBVO = answer;
        view->updateForDropDownWithInputText(
            answer && !answer->text.empty() ? answer->text : teacherReviewLocalizedString("SELECT_KEY"),
            link->properties);
        // Only a drop-down that holds the learner's answer reacts to a tap.
        view->setUserInteractionEnabled(answer != nullptr);
        link->iconView = view;
        anyDropDown = true;
    }
    if (anyDropDown)
        m_context.renderer->drawMarkups(links, page);
}

// MARK: - Renderer answers in review

void ReaderTeacherReview::didUpdateFibArray(const std::vector<std::shared_ptr<SDKFIBVO>>& answers)
{
    if (answers.empty())
        return;
    if (auto& panel = m_teacherAnnotationController) {
        for (const auto& answer : answers)
            editAnswerOnItsPage(*panel, answer);
    }
    refreshTeacherReviewPage(base::integerValue(answers.front()->pageIdentifier));
}

void ReaderTeacherReview::didTapOnTeacherComment(const std::vector<std::shared_ptr<SDKFIBVO>>& answers)
{
    if (answers.empty())
        return;
    if (auto& panel = m_teacherAnnotationController)
        panel->selectedFibArray = answers;
    showNoteForTeacherCommentWithFib(answers.front());
}

// MARK: - Page label and page buttons

std::vector<std::string> ReaderTeacherReview::getSortedPageArrayOfStudentSubmitedUgc() const
{
    std::vector<std::string> keys;
    if (m_teacherAnnotationController && m_teacherAnnotationController->studentPageUGCDictionary) {
        for (const auto& [key, records] : *m_teacherAnnotationController->studentPageUGCDictionary)
            keys.push_back(key);
    }
    return sortedTeacherReviewPageKeys(std::move(keys));
}

std::vector<std::string> ReaderTeacherReview::getSortedFolioPagesArrayOfStudentSubmitedUgc() const
{
    std::vector<std::string> keys;
    for (const auto& [folio, page] : m_studentFolioPagesUGCData)
        keys.push_back(folio);
    return sortedTeacherReviewFolioKeys(std::move(keys));
}

std::shared_ptr<ui::Label> ReaderTeacherReview::getTeacherViewPlayerActionBarItemLabelWithTag(int tag) const
{
    const auto& bar = m_context.penToolActionBarView;
    if (!bar || bar->tag() != TeacherBar)
        return nullptr;
    for (const auto& item : bar->getTappableItems()) {
        if (item->tag() != tag)
            continue;
        std::shared_ptr<ui::Label> last;
        for (const auto& subview : item->subviews()) {
            if (auto label = std::dynamic_pointer_cast<ui::Label>(subview))
                last = label;
        }
        return last;
    }
    return nullptr;
}

void ReaderTeacherReview::updateTeacherReviewUI()
{
    if (auto label = getTeacherViewPlayerActionBarItemLabelWithTag(PlayerItemPageNumber)) {
        std::vector<std::string> displayNumbers;
        if (m_context.renderer) {
            for (const auto& page : m_context.renderer->getActivePages())
                displayNumbers.push_back(page.displayNum);
        }
        label->setText(teacherReviewPageLabelText(teacherReviewLocalizedString("PAGE"), displayNumbers));
    }
    enableDisableTeacherReviewControls();
}

void ReaderTeacherReview::enableDisableTeacherReviewControls()
{
    std::optional<std::string> labelText;
    if (auto label = getTeacherViewPlayerActionBarItemLabelWithTag(PlayerItemPageNumber))
        labelText = label->text();
    const size_t shownPages = m_context.renderer ? m_context.renderer->getActivePages().size() : 0;
    auto buttons = teacherReviewPageButtons(labelText, teacherReviewLocalizedString("PAGE"),
        getSortedFolioPagesArrayOfStudentSubmitedUgc(), shownPages);
    setItemEnabled(m_reader.getPenToolItemWithTag(PlayerItemPreviousPage), buttons.previousEnabled);
    setItemEnabled(m_reader.getPenToolItemWithTag(PlayerItemNextPage), buttons.nextEnabled);
}

void ReaderTeacherReview::didClickOnPageButton(int tag)
{
    if (auto target = teacherReviewPageButtonTarget(tag, getSortedPageArrayOfStudentSubmitedUgc(), activePageIDs()))
        didSelectNavigatePageButtonForTeacherReview(*target);
}

void ReaderTeacherReview::didSelectNavigatePageButtonForTeacherReview(const std::string& pageNumber)
{
    if (m_context.renderer)
        m_context.renderer->navigateToPageNumber(pageNumber);
}

} // namespace lectoro
