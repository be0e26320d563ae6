// The teacher's tools on a reviewed page: the review pen (on, off, colour, eraser), the
// drag box, the clear-all choice, the bar items they select or dim, and comments on
// answers.

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/PenToolController.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewPages.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewReader.h"
#include "LectoroSDKWithReader/annotations/pen/ResetAllViewController.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Presentation.h"
#include "platform/ui/Label.h"

namespace lectoro {

namespace {

constexpr const char* reviewPenDefaultColor = "#82F675";

// The review pen's strokes go to the learner panel's store.
class ReviewPenDelegate final : public PenToolControllerDelegate {
public:
    explicit ReviewPenDelegate(std::weak_ptr<TeacherReviewViewController> panel)
        : m_panel(std::move(panel))
    {
    }
    void didCreatePenDrawing(std::shared_ptr<SDKPentoolVO> drawing) override
    {
        if (auto panel = m_panel.lock())
            panel->addPenDrawing(drawing);
    }
    void didUpdatePenDrawing(std::shared_ptr<SDKPentoolVO> drawing) override
    {
        auto panel = m_panel.lock();
        if (!panel || !drawing)
            return;
        if (drawing->status == UGCStatusDeleted)
            panel->updatePenDrawing(drawing);
        else
            panel->addPenDrawing(drawing);
    }

private:
    std::weak_ptr<TeacherReviewViewController> m_panel;
};

} // namespace

// MARK: - Bar items

std::shared_ptr<PlayerActionBarItem> ReaderTeacherReview::getActionBarItemItemWithTag(int tag) const
{
    if (!m_context.penToolActionBarView)
        return nullptr;
    for (const auto& item : m_context.penToolActionBarView->getTappableItems()) {
        if (item->tag() == tag)
            return item;
    }
    return nullptr;
}

void ReaderTeacherReview::setItemEnabled(const std::shared_ptr<PlayerActionBarItem>& item, bool enabled)
{
    if (!item)
        return;
    item->setAlpha(enabled ? 1.0 : 0.5);
    item->setUserInteractionEnabled(enabled);
}

void ReaderTeacherReview::markItemSelected(const std::shared_ptr<PlayerActionBarItem>& item, bool selected)
{
    if (!item)
        return;
    const auto& theme = themeOf(m_context);
    item->setSelected(selected);
    const auto iconColor = theme.top_toolbar_icons_color();
    item->setBackgroundColor(selected ? iconColor : std::optional<ui::Color>(ui::Color::clear()));
    for (const auto& subview : item->subviews()) {
        if (auto label = std::dynamic_pointer_cast<ui::Label>(subview))
            label->setTextColor(selected ? ui::Color::white() : iconColor.value_or(ui::Color::black()));
    }
}

void ReaderTeacherReview::updatePentoolButtonStatus()
{
    const bool available = m_teacherAnnotationController && m_teacherAnnotationController->isFIBsAndPentoolAvailable();
    setItemEnabled(m_reader.getPenToolItemWithTag(PlayerItemTeacherEraser), available);
    setItemEnabled(m_reader.getPenToolItemWithTag(PlayerItemTeacherDelete), available);
}

void ReaderTeacherReview::updateNextPrevStudentButtonStatus()
{
    const auto& panel = m_teacherAnnotationController;
    setItemEnabled(getActionBarItemItemWithTag(PlayerItemNextStudent), panel && panel->isAvailableNextStudent());
    setItemEnabled(getActionBarItemItemWithTag(PlayerItemPreviousStudent), panel && panel->isAvailablePreviousStudent());
}

// MARK: - The review pen

void ReaderTeacherReview::setPenDrawing(bool enabled)
{
    if (m_context.renderer)
        m_context.renderer->setPenDrawingModeEnabled(enabled, true);
}

void ReaderTeacherReview::actionForTeacherReviewPageChanged()
{
    auto renderer = m_context.renderer;
    if (!m_penToolController) {
        m_penToolController = companionFramework() ? companionFramework()->makePenToolController() : nullptr;
        if (m_penToolController) {
            m_penDelegate = m_reader.reviewPenDelegate();
            if (!m_penDelegate)
                m_penDelegate = std::make_shared<ReviewPenDelegate>(m_teacherAnnotationController);
            m_penToolController->setDelegate(m_penDelegate);
            m_penToolController->setPenDrawingCanvas(renderer ? renderer->getPenDrawingCanvas() : nullptr);
            m_penToolController->setDrawingMode(PenToolDrawingModeReview);
            m_penToolController->setPenMode(PenToolModeNone);
            m_penToolController->setPenColor(reviewPenDefaultColor);
            m_penToolController->setPenStrokeThickness(m_reader.getLastUpdatedPenThickness());
        }
    } else {
        if (m_context.isDragBoxModeEnabled) {
            if (renderer)
                renderer->setTeacherReviewDragBoxModeEnabled(true);
        } else {
            switch (m_penToolController->getPenMode()) {
            case PenToolModeNone:
                setPenDrawing(false);
                break;
            case PenToolModeDraw:
            case PenToolModeErase:
                setPenDrawing(true);
                break;
            default:
                break;
            }
        }
        // The pen follows the page onto its new canvas with its own settings.
        m_penToolController->setPenDrawingCanvas(renderer ? renderer->getPenDrawingCanvas() : nullptr);
        m_penToolController->setPenMode(m_penToolController->getPenMode());
        m_penToolController->setPenColor(m_penToolController->getPenColor());
        m_penToolController->setPenStrokeThickness(m_penToolController->getPenStrokeThickness());
    }
    if (m_penToolController)
        m_penToolController->setDeleteOnSelectionEnabled(true);
    addTeacherAnnotationTopBar();
    updatePentoolButtonStatus();
    m_reader.showHelpScreenForTeacherReview();
}

void ReaderTeacherReview::didSelectPenTypeForTeacherReview()
{
    // The tools act on a learner's work under review only.
    if (m_context.activeMode != ReaderActiveModeTeacherReview)
        return;
    if (!m_penToolController)
        return;
    const bool drawing = m_penToolController->getPenMode() == PenToolModeDraw;
    m_penToolController->setPenMode(drawing ? PenToolModeNone : PenToolModeDraw);
    setPenDrawing(!drawing);
}

void ReaderTeacherReview::didSelectPenColorForTeacherReview(const std::string& color)
{
    // The tools act on a learner's work under review only.
    if (m_context.activeMode != ReaderActiveModeTeacherReview)
        return;
    if (m_penToolController) {
        const bool sameColor = m_penToolController->getPenColor() == color;
        if (sameColor && m_penToolController->getPenMode() == PenToolModeDraw) {
            // The swatch of the colour in use turns the pen off.
            setPenDrawing(false);
            m_penToolController->setPenMode(PenToolModeNone);
            m_penToolController->setPenColor(reviewPenDefaultColor);
        } else {
            setPenDrawing(true);
            m_penToolController->setPenMode(PenToolModeDraw);
            m_penToolController->setPenColor(color);
        }
    }
    m_reader.closePenColorPalette();
    actionForTeacherReviewPageChanged();
}

void ReaderTeacherReview::didSelectEraserForTeacherReview()
{
    // The tools act on a learner's work under review only.
    if (m_context.activeMode != ReaderActiveModeTeacherReview)
        return;
    if (!m_penToolController)
        return;
    m_penToolController->setPenColor(reviewPenDefaultColor);
    auto eraser = m_reader.getPenToolItemWithTag(PlayerItemTeacherEraser);
    switch (m_penToolController->getPenMode()) {
    case PenToolModeNone:
        setPenDrawing(true);
        m_penToolController->setPenMode(PenToolModeDraw);
        m_penToolController->setPenMode(PenToolModeErase);
        markItemSelected(eraser, true);
        break;
    case PenToolModeErase:
        m_penToolController->setPenMode(PenToolModeNone);
        markItemSelected(eraser, false);
        break;
    case PenToolModeDraw:
        setPenDrawing(false);
        m_penToolController->setPenMode(PenToolModeErase);
        markItemSelected(eraser, true);
        break;
    default:
        break;
    }
    actionForTeacherReviewPageChanged();
}

void ReaderTeacherReview::didSelectDragBoxForTeacherReview()
{
    // The tools act on a learner's work under review only.
    if (m_context.activeMode != ReaderActiveModeTeacherReview)
        return;
    if (m_penToolController && m_penToolController->getPenMode() != PenToolModeNone) {
        m_penToolController->setPenColor(reviewPenDefaultColor);
        m_penToolController->setPenMode(PenToolModeNone);
        setPenDrawing(false);
    }
    if (m_context.isDragBoxModeEnabled) {
        m_context.isDragBoxModeEnabled = false;
        if (m_context.penToolActionBottomBarView)
            m_context.penToolActionBottomBarView->resetPlayerActionBarSelection();
        if (m_context.renderer)
            m_context.renderer->setTeacherReviewDragBoxModeEnabled(false);
        return;
    }
    m_context.isDragBoxModeEnabled = true;
    markItemSelected(m_reader.getPenToolItemWithTag(PlayerItemDragBox), true);
    if (m_context.renderer)
        m_context.renderer->setTeacherReviewDragBoxModeEnabled(true);
}

// MARK: - Clear all

void ReaderTeacherReview::didSelectDeleteForTeacherReview()
{
    // The tools act on a learner's work under review only.
    if (m_context.activeMode != ReaderActiveModeTeacherReview)
        return;
    auto presenter = m_reader.presentingController();
    if (!presenter)
        return;
    auto dialog = ResetAllViewController::create();
    std::weak_ptr<int> alive = m_alive;
    dialog->setOkButtonAction([this, alive](bool currentPage) {
        if (!alive.expired())
            didChooseClearAllForTeacherReview(currentPage ? ClearAllChoice::CurrentPage : ClearAllChoice::AllPages);
    });
    dialog->setCancelButtonAction([this, alive] {
        if (!alive.expired())
            didChooseClearAllForTeacherReview(ClearAllChoice::Cancel);
    });
    // The dialog dismisses itself through its navigation controller.
    auto navigation = ui::NavigationController::create(dialog);
    navigation->setNavigationBarHidden(true);
    // Should the dialog ever show as a pop-over, it stands without an arrow over the reader.
    navigation->setModalPresentationStyle(ui::ModalPresentationStyle::Popover);
    if (auto* popover = navigation->popoverPresentationController()) {
        popover->setPermittedArrowDirections(ui::PopoverArrowDirection::None);
        popover->setSourceView(presenter->view());
    }
    navigation->setModalPresentationStyle(ui::ModalPresentationStyle::OverCurrentContext);
    presenter->presentViewController(navigation, true, {});
}

void ReaderTeacherReview::didChooseClearAllForTeacherReview(ClearAllChoice choice)
{
    const auto& theme = themeOf(m_context);
    auto resetBars = [&] {
        for (const auto& bar : { m_context.penToolActionBarView, m_context.penToolActionBottomBarView }) {
            if (bar)
                bar->resetPlayerActionBarSelection();
        }
    };
    auto repaintBars = [&] {
        for (const auto& bar : { m_context.penToolActionBarView, m_context.penToolActionBottomBarView }) {
            if (auto topBar = std::dynamic_pointer_cast<PlayerActionTopBar>(bar))
                topBar->updatePlayerSelectedItem(theme);
        }
    };
    if (choice == ClearAllChoice::Cancel) {
        resetBars();
        markItemSelected(m_reader.getPenToolItemWithTag(PlayerItemTeacherEraser), false);
        repaintBars();
        return;
    }
    // The reader's clearing road clears through the learner panel and redraws the pages;
    // without one the panel is cleared here.
    const bool clearedByReader = m_reader.clearLearnerWork(choice == ClearAllChoice::CurrentPage);
    if (auto& panel = m_teacherAnnotationController; panel && !clearedByReader) {
        if (choice == ClearAllChoice::CurrentPage) {
            for (const auto& page : activePageIDs()) {
                panel->clearAllFIBsForPageID(page);
                panel->clearAllPenDrawingsForPageID(page);
            }
        } else {
            panel->clearAllFIBs();
            panel->clearAllPenDrawings();
        }
    }
    for (const auto& page : activePageIDs())
        refreshTeacherReviewPage(base::Value(page).longLongValue());
    resetBars();
    const int64_t notedMode = m_penToolController ? m_penToolController->getPenMode() : PenToolModeNone;
    if (m_penToolController)
        m_penToolController->deleteActivePagePenDrawings();
    repaintBars();
    for (int tag : { PlayerItemTeacherEraser, PlayerItemTeacherDelete }) {
        auto item = m_reader.getPenToolItemWithTag(tag);
        markItemSelected(item, false);
        setItemEnabled(item, false);
    }
    if (m_penToolController) {
        if (notedMode == PenToolModeErase) {
            m_penToolController->setPenMode(PenToolModeDraw);
            for (const auto& bar : { m_context.penToolActionBarView, m_context.penToolActionBottomBarView }) {
                if (auto topBar = std::dynamic_pointer_cast<PlayerActionTopBar>(bar))
                    topBar->updateSelectedPenColor(m_penToolController->getPenColor(), theme);
            }
        } else {
            m_penToolController->setPenMode(notedMode);
        }
    }
    actionForTeacherReviewPageChanged();
}

// MARK: - Comments on answers

void ReaderTeacherReview::showNoteForTeacherCommentWithFib(const std::shared_ptr<SDKFIBVO>& answer)
{
    if (!answer)
        return;
    m_reader.presentTeacherCommentEditor(answer->ugcID, answer->teacherComment);
}

void ReaderTeacherReview::postTeacherComment(const std::string& noteText)
{
    auto& panel = m_teacherAnnotationController;
    // Outside review the editor only shows the comment (the panel is a past session's).
    if (!panel || !isReviewRunning())
        return;
    auto answers = std::move(panel->selectedFibArray);
    panel->selectedFibArray.clear();
    if (answers.empty())
        return;
    const std::string now = currentUGCDateString();
    for (const auto& answer : answers) {
        if (answer->commentCreatedDate.empty())
            answer->commentCreatedDate = now;
        answer->commentModifiedDate = now;
        answer->teacherComment = noteText;
        editAnswerOnItsPage(*panel, answer);
    }
    refreshTeacherReviewPage(base::Value(answers.back()->pageIdentifier).longLongValue());
}

void ReaderTeacherReview::deleteTeacherComment()
{
    auto& panel = m_teacherAnnotationController;
    // Outside review the editor only shows the comment (the panel is a past session's).
    if (!panel || !isReviewRunning())
        return;
    auto answers = std::move(panel->selectedFibArray);
    panel->selectedFibArray.clear();
    if (answers.empty())
        return;
    for (const auto& answer : answers) {
        answer->commentCreatedDate.clear();
        answer->commentModifiedDate.clear();
        answer->teacherComment.clear();
        editAnswerOnItsPage(*panel, answer);
    }
    refreshTeacherReviewPage(base::Value(answers.back()->pageIdentifier).longLongValue());
}

void ReaderTeacherReview::cancelTeacherComment()
{
    if (m_teacherAnnotationController)
        m_teacherAnnotationController->selectedFibArray.clear();
}

} // namespace lectoro
