// A learner's work in the reader: loading the chosen learner into the panel and the
// renderer, drawing that work on each page shown, the page label and the page buttons.

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/interactive/answers/AnswerRules.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKProtractorVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"
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
#include <set>

namespace lectoro {

namespace {

constexpr int fillInBlankLinkType = 5;
constexpr int dropDownLinkType = 13;

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
    // A page the renderer showed before the review pen existed (it was on screen already, or
    // it loaded at once) was drawn without the learner's work: it gets it now.
    if (renderer && std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook)) {
        for (const auto& page : renderer->getActivePages())
            refreshTeacherReviewPage(page.pageID);
        updateTeacherReviewUI();
    }
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
        if (!link || link->linkType != fillInBlankLinkType)
            continue;
        auto answer = answers::reviewedAnswerForLink(answers, link->linkID);
        auto field = MVFIB::create(link, answer, isTeacher);
        // The field answers to the reader's answer entry, with the book's keyboard rule.
        m_reader.adoptAnswerField(*field);
        fields.push_back(field);
        if (answer && answer->isEquation && answer->status != UGCStatusDeleted && m_reader.isMathKeyboardEnabled(*link)) {
            auto equation = FIBMathEquationView::create(link, answer, field->frame(), m_context.isUsingDefaultMathIcon);
            m_reader.adoptEquationView(*equation, *field);
            fields.push_back(equation);
        }
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
    auto& held = holdReviewViewsOfPage(page);
    std::weak_ptr<int> alive = m_alive;
    for (const auto& link : links) {
        if (!link || link->linkType != dropDownLinkType)
            continue;
        auto view = MarkupView::create(link->boxTansformedRect);
        view->pageID = page;
        view->linkID = link->linkID;
        view->setTag(static_cast<int>(link->linkID));
        auto answer = answers::reviewedAnswerForLink(answers, link->linkID);
        view->sdkFIBVO = answer;
        view->updateForDropDownWithInputText(
            answer && !answer->text.empty() ? answer->text : teacherReviewLocalizedString("SELECT_KEY"),
            link->properties);
        link->iconView = view;
        held.push_back(view);
        // Only a drop-down that holds the learner's answer reacts to a tap.
        view->removeTargets(ui::ControlEvent::AllEvents);
        view->setUserInteractionEnabled(answer != nullptr);
        if (!answer)
            continue;
        view->addTarget(ui::ControlEvent::TouchUpInside, [this, alive](ui::Control& control) {
            if (!alive.expired())
                m_reader.didTapOnSubmittedDropDown(std::static_pointer_cast<MarkupView>(control.shared_from_this()));
        });
        m_reader.compareAndShowInstantFeedbackForDropDownLink(*link, *answer);
    }
    if (!held.empty())
        m_context.renderer->drawMarkups(links, page);
}

std::vector<std::shared_ptr<ui::View>>& ReaderTeacherReview::holdReviewViewsOfPage(int64_t page)
{
    // Views of pages that left the screen go; a page drawn again gets fresh ones.
    std::set<int64_t> onScreen { page };
    if (m_context.renderer) {
        for (const auto& shown : m_context.renderer->getActivePages())
            onScreen.insert(shown.pageID);
    }
    std::erase_if(m_reviewPageViews, [&](const auto& entry) { return !onScreen.count(entry.first); });
    auto& held = m_reviewPageViews[page];
    held.clear();
    return held;
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

void ReaderTeacherReview::didStudentPopUpOpen(bool open)
{
    if (m_context.renderer && m_context.renderer->isViewLoaded())
        m_context.renderer->view()->setUserInteractionEnabled(!open);
}

bool ReaderTeacherReview::isLoadedPageContainsUGC() const
{
    const auto shown = activePageIDs();
    if (shown.size() != 1)
        return true;
    // The page on screen is looked up among the pages with work: its id is a page number,
    // which the printed folios need not equal.
    const auto pages = getSortedPageArrayOfStudentSubmitedUgc();
    return std::find(pages.begin(), pages.end(), shown.front()) != pages.end();
}

std::optional<std::string> ReaderTeacherReview::getNextPageNumberToNavigateWithUGC() const
{
    auto label = getTeacherViewPlayerActionBarItemLabelWithTag(PlayerItemPageNumber);
    if (!label)
        return std::nullopt;
    const auto folios = getSortedFolioPagesArrayOfStudentSubmitedUgc();
    const auto shown = teacherReviewShownFolios(label->text(), teacherReviewLocalizedString("PAGE"), folios);
    if (shown.empty())
        return std::nullopt;
    const auto position = static_cast<size_t>(std::find(folios.begin(), folios.end(), shown.front()) - folios.begin());
    const auto pages = getSortedPageArrayOfStudentSubmitedUgc();
    if (position >= pages.size())
        return std::nullopt;
    return pages[position];
}

// MARK: - The reader's own records, drawn again

void ReaderTeacherReview::updateUGCForBook(int64_t bookID)
{
    if (!m_context.renderer || !m_context.currentBook || bookID != m_context.bookID)
        return;
    const bool pageBook = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook) != nullptr;
    for (const auto& page : m_context.renderer->getActivePages()) {
        if (pageBook)
            updateUGCsOnPageNumber(std::to_string(page.pageID), page.displayNum);
        else
            updateUGCsOnPageNumber(std::to_string(page.fileIndex), std::to_string(page.fileIndex));
    }
}

void ReaderTeacherReview::updateUGCsOnPageNumber(const std::string& pageID, const std::string& displayNumber)
{
    auto store = m_context.dbManager;
    if (!store || !m_context.renderer)
        return;
    const std::string bookID = std::to_string(m_context.bookID);
    const int64_t userID = m_context.user ? m_context.user->numericUserID() : 0;
    std::vector<std::shared_ptr<SDKUGCVO>> records;
    auto append = [&records](const auto& list) { records.insert(records.end(), list.begin(), list.end()); };
    if (std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook)) {
        append(store->protractorForPageID(pageID, displayNumber, bookID, userID));
        append(store->pentoolDrawingForPageID(pageID, displayNumber, bookID, userID));
        append(store->textAnnotationVOForPageID(pageID, displayNumber, bookID, userID));
    } else if (auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook); epub && epub->meta.layout != 0) {
        append(store->pentoolDrawingForPageID(pageID, displayNumber, bookID, userID));
    }
    append(store->highlightForPageID(pageID, displayNumber, bookID, userID));
    append(store->bookmarkForPageID(pageID, displayNumber, bookID, userID));
    m_context.renderer->updateUGC(records, base::integerValue(pageID));
}

} // namespace lectoro
