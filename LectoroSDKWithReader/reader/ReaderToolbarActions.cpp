#include "LectoroSDKWithReader/reader/ReaderToolbarActions.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/ReaderVerticalBar.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowableLayoutSettings.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "platform/base/RunLoop.h"

namespace lectoro {

ReaderToolbarRouter::ReaderToolbarRouter(ReaderViewController& reader)
    : m_reader(reader)
{
}

void ReaderToolbarRouter::removeVerticalBarViewForTeacherReview()
{
    m_reader.verticalBar().removeVerticalBarViewForTeacherReview();
}

void ReaderToolbarRouter::addPlayerVerticalBarForTeacherView()
{
    m_reader.verticalBar().addPlayerVerticalBarForTeacherView();
}

void ReaderToolbarRouter::removeSpeedSelectionView()
{
    m_reader.readAloud().removeSpeedSelectionView();
}

void ReaderToolbarRouter::moveTopAndBottomOnScreen(bool animate)
{
    m_reader.bars().moveTopAndBottomOnScreenWithIsAnimate(animate);
}

std::vector<std::string> ReaderToolbarRouter::getActivePageIDs()
{
    return m_reader.annotations().getActivePageIDs();
}

// MARK: - Main bars

void ReaderToolbarRouter::didTapOnTOCButton(const std::shared_ptr<PlayerActionBarItem>&)
{
    m_reader.contents().showTOC();
}

void ReaderToolbarRouter::showMyData(const std::shared_ptr<PlayerActionBarItem>&)
{
    m_reader.myData().showMyData();
}

void ReaderToolbarRouter::actionForPentool() { m_reader.annotations().actionForPentool(); }
void ReaderToolbarRouter::showStickyNote() { m_reader.annotations().showStickyNote(); }
void ReaderToolbarRouter::actionForThumbnail() { m_reader.contents().actionForThumbnail(); }
void ReaderToolbarRouter::actionForFixedEpubThumbnail() { m_reader.contents().actionForFixedEpubThumbnail(); }
void ReaderToolbarRouter::actionForReflowThumbnail() { m_reader.contents().actionForReflowThumbnail(); }
std::string ReaderToolbarRouter::searchTextStr() { return m_reader.search().searchTextStr(); }

void ReaderToolbarRouter::addSearchForText(const std::string& text, bool isElasticSearch)
{
    m_reader.search().addSearchForText(text, isElasticSearch);
}

void ReaderToolbarRouter::actionForTeacherReview() { m_reader.teacherReview().actionForTeacherReview(); }
void ReaderToolbarRouter::actionForSubmitAnotation() { m_reader.teacherReview().actionForSubmitAnotation(); }
void ReaderToolbarRouter::showReadAloudController() { m_reader.readAloud().showReadAloudController(); }
void ReaderToolbarRouter::didTapOnAudioSyncIcon() { m_reader.readAloud().didTapOnAudioSyncIcon(); }

void ReaderToolbarRouter::showReflowableLayoutSettingControllerView(PlayerActionBarItem&)
{
    if (m_layoutSettings)
        m_layoutSettings->showReflowableLayoutSettingControllerView();
}

void ReaderToolbarRouter::actionForTextAnnotation() { m_reader.annotations().actionForTextAnnotation(); }
void ReaderToolbarRouter::didTapOnProtractor() { m_reader.interactiveContent().didTapOnProtractor(); }
void ReaderToolbarRouter::didTapOnBackButton() { m_reader.didTapOnBackButton(); }
void ReaderToolbarRouter::didTapOnClearAllFIBs() { m_reader.annotations().didTapOnClearAllFIBs(); }
void ReaderToolbarRouter::didTapOnPrintPageWithWatermark() { m_reader.myData().didTapOnPrintPageWithWatermark(std::nullopt); }

void ReaderToolbarRouter::showInformativeAlert(const std::string& title, const std::string& message)
{
    auto presenter = std::static_pointer_cast<ui::ViewController>(m_reader.shared_from_this());
    AlertView::sharedManager().presentAlertWithTitle(
        title, message, std::vector<std::string> { LocalizationHelper::localizedStringWithKey("OK") }, presenter, {});
}

void ReaderToolbarRouter::actionForFurtherPage()
{
    const auto& context = m_reader.context();
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(context.currentBook);
    if (epub && epub->isReflowable() && epub->bookCFIArray.empty()) {
        showInformativeAlert({}, LocalizationHelper::localizedStringWithKey("FURTHEST_PAGE_NOT_SUPPORTED"));
        return;
    }
    auto renderer = context.renderer;
    if (!renderer)
        return;
    auto weakReader = std::weak_ptr<ui::ViewController>(m_reader.shared_from_this());
    auto alive = m_reader.lifetimeToken();
    renderer->navigateToFurthestPageWithSuccessHandler({}, [this, weakReader, alive](const base::Error&) {
        // The renderer may answer on its own thread; alerts belong on the main one, and
        // only while the reader is still open.
        base::RunLoop::main().post(alive, [this, weakReader] {
            if (weakReader.lock())
                showInformativeAlert(LocalizationHelper::localizedStringWithKey("YOU_ARE_ALREADY_ON_FURTHEST_PAGE"), {});
        });
    });
}

// MARK: - Pen-tool bar

void ReaderToolbarRouter::updatePentoolButtonStatus() { m_reader.annotations().updatePentoolButtonStatus(); }
void ReaderToolbarRouter::actionForPentoolDrawingMode() { m_reader.annotations().actionForPentoolDrawingMode(); }
void ReaderToolbarRouter::setPenMode(int64_t mode) { m_reader.annotations().setPenMode(static_cast<int>(mode)); }
void ReaderToolbarRouter::actionForPenToolThicknessSelected() { m_reader.annotations().actionForPenToolThicknessSelected(); }
void ReaderToolbarRouter::actionForPentoolErase() { m_reader.annotations().actionForPentoolErase(); }
void ReaderToolbarRouter::actionForPentoolDeleteSelection() { m_reader.annotations().actionForPentoolDeleteSelection(); }
void ReaderToolbarRouter::actionForPentoolUndoDrawing() { m_reader.annotations().actionForPentoolUndoDrawing(); }
void ReaderToolbarRouter::didSelectPenColor(const std::string& color) { m_reader.annotations().didSelectPenColor(color); }

// MARK: - Text-annotation bars

void ReaderToolbarRouter::removeTextAnnotationView() { m_reader.annotations().removeTextAnnotationView(); }
void ReaderToolbarRouter::addTextAnnotationAlignmentView() { m_reader.annotations().addTextAnnotationAlignmentView(); }
void ReaderToolbarRouter::removeTextAnnotationAlignmentView() { m_reader.annotations().removeTextAnnotationAlignmentView(); }
void ReaderToolbarRouter::addTextAnnotationTextColorView() { m_reader.annotations().addTextAnnotationTextColorView(); }
void ReaderToolbarRouter::removeTextAnnotationColorView() { m_reader.annotations().removeTextAnnotationColorView(); }
void ReaderToolbarRouter::actionForDeleteTextAnnotation() { m_reader.annotations().actionForDeleteTextAnnotation(); }
void ReaderToolbarRouter::actionForTextAnnotationKeyBoard() { m_reader.annotations().actionForTextAnnotationKeyBoard(); }

void ReaderToolbarRouter::setTextAnnotationSelectedColor(const std::string& color)
{
    m_reader.annotations().setTextAnnotationSelectedColor(color);
}

// MARK: - Read-aloud and audio-sync bars

void ReaderToolbarRouter::playPauseAudioSyncIfAny() { m_reader.readAloud().playPauseAudioSyncIfAny(); }
void ReaderToolbarRouter::stopAudioSyncIfAny() { m_reader.readAloud().stopAudioSyncIfAny(); }
void ReaderToolbarRouter::removeReadAloudTopBar() { m_reader.readAloud().removeReadAloudTopBar(); }
void ReaderToolbarRouter::enableNextPrevButtonForReadAloud() { m_reader.readAloud().enableNextPrevButtonForReadAloud(); }
void ReaderToolbarRouter::closeAudioSync() { m_reader.readAloud().closeAudioSync(); }
void ReaderToolbarRouter::addSpeedSelectionView() { m_reader.readAloud().addSpeedSelectionView(); }
void ReaderToolbarRouter::didSelectAudioSyncColor(const std::string& color) { m_reader.readAloud().didSelectAudioSyncColor(color); }

void ReaderToolbarRouter::selectAudioSyncColorPalleteSelectionButton(bool selected)
{
    m_reader.annotations().selectAudioSyncColorPalleteSelectionButton(selected);
}

void ReaderToolbarRouter::actionForAudioSyncColorPalletePicker()
{
    m_reader.readAloud().actionForAudioSyncColorPalletePicker();
}

// MARK: - Teacher bars

void ReaderToolbarRouter::actionForTeacherReviewPenColorPalletePicker()
{
    m_reader.readAloud().actionForTeacherReviewPenColorPalletePicker();
}

void ReaderToolbarRouter::didSelectEraserForTeacherReview() { m_reader.teacherReview().didSelectEraserForTeacherReview(); }
void ReaderToolbarRouter::didSelectDeleteForTeacherReview() { m_reader.teacherReview().didSelectDeleteForTeacherReview(); }

void ReaderToolbarRouter::saveTeacherReviewedDataWhenUseTapOnStudentname()
{
    m_reader.teacherReview().saveTeacherReviewedDataWhenUseTapOnStudentname();
}

void ReaderToolbarRouter::didSelectDoneForTeacherReview() { m_reader.teacherReview().didSelectDoneForTeacherReview(); }
void ReaderToolbarRouter::didClickOnPageButton(int button) { m_reader.teacherReview().didClickOnPageButton(button); }
void ReaderToolbarRouter::backToStudentList() { m_reader.teacherReview().backToStudentList(); }

void ReaderToolbarRouter::didSelectPenColorForTeacherReview(const std::string& color)
{
    m_reader.teacherReview().didSelectPenColorForTeacherReview(color);
}

void ReaderToolbarRouter::didSelectDragBoxForTeacherReview() { m_reader.teacherReview().didSelectDragBoxForTeacherReview(); }
void ReaderToolbarRouter::didTapOnGenerateReportButton() { m_reader.teacherReview().didTapOnGenerateReportButton(); }
void ReaderToolbarRouter::jumpToNextStudent() { m_reader.teacherReview().jumpToNextStudent(); }
void ReaderToolbarRouter::jumpToPreviousStudent() { m_reader.teacherReview().jumpToPreviousStudent(); }

} // namespace lectoro
