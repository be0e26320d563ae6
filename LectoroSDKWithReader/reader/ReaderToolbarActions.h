#pragma once

// The operations a toolbar tap ends in, as the dispatcher reaches them. Each belongs to the
// feature that owns the action (annotations, contents, search, My Data, teacher review,
// read aloud, the reader's bars and panels); ReaderToolbarRouter forwards every one to its
// owner. The dispatcher only decides which one a tap reaches and does the few things it
// owns itself (modes, analytics events, selection looks, renderer calls of its tables).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lectoro {

class PlayerActionBarItem;
class ReaderViewController;
class ReflowableLayoutSettings;

class ReaderToolbarActions {
public:
    virtual ~ReaderToolbarActions() = default;

    // --- Every tap, the reader's bars ---
    virtual void removeVerticalBarViewForTeacherReview() = 0;
    virtual void addPlayerVerticalBarForTeacherView() = 0;
    virtual void removeSpeedSelectionView() = 0;
    virtual void moveTopAndBottomOnScreen(bool animate) = 0;
    virtual std::vector<std::string> getActivePageIDs() = 0;

    // --- Main bars ---
    virtual void didTapOnTOCButton(const std::shared_ptr<PlayerActionBarItem>& sender) = 0;
    virtual void showMyData(const std::shared_ptr<PlayerActionBarItem>& sender) = 0;
    virtual void actionForPentool() = 0;
    virtual void showStickyNote() = 0;
    virtual void actionForThumbnail() = 0;
    virtual void actionForFixedEpubThumbnail() = 0;
    virtual void actionForReflowThumbnail() = 0;
    // The search text kept from the last search ("" for none).
    virtual std::string searchTextStr() = 0;
    virtual void addSearchForText(const std::string& text, bool isElasticSearch) = 0;
    virtual void actionForTeacherReview() = 0;
    virtual void actionForSubmitAnotation() = 0;
    virtual void showReadAloudController() = 0;
    virtual void didTapOnAudioSyncIcon() = 0;
    virtual void showReflowableLayoutSettingControllerView(PlayerActionBarItem& sender) = 0;
    virtual void actionForTextAnnotation() = 0;
    virtual void didTapOnProtractor() = 0;
    virtual void didTapOnBackButton() = 0;
    virtual void didTapOnClearAllFIBs() = 0;
    // Prints the pages on screen.
    virtual void didTapOnPrintPageWithWatermark() = 0;
    virtual void actionForFurtherPage() = 0;

    // --- Pen-tool bar ---
    virtual void updatePentoolButtonStatus() = 0;
    virtual void actionForPentoolDrawingMode() = 0;
    virtual void setPenMode(int64_t mode) = 0;
    virtual void actionForPenToolThicknessSelected() = 0;
    virtual void actionForPentoolErase() = 0;
    virtual void actionForPentoolDeleteSelection() = 0;
    virtual void actionForPentoolUndoDrawing() = 0;
    virtual void didSelectPenColor(const std::string& color) = 0;

    // --- Text-annotation bars ---
    virtual void removeTextAnnotationView() = 0;
    virtual void addTextAnnotationAlignmentView() = 0;
    virtual void removeTextAnnotationAlignmentView() = 0;
    virtual void addTextAnnotationTextColorView() = 0;
    virtual void removeTextAnnotationColorView() = 0;
    virtual void actionForDeleteTextAnnotation() = 0;
    virtual void actionForTextAnnotationKeyBoard() = 0;
    // The open text-colour pop-up marks the colour (hex text).
    virtual void setTextAnnotationSelectedColor(const std::string& color) = 0;

    // --- Read-aloud and audio-sync bars ---
    virtual void playPauseAudioSyncIfAny() = 0;
    virtual void stopAudioSyncIfAny() = 0;
    virtual void removeReadAloudTopBar() = 0;
    virtual void enableNextPrevButtonForReadAloud() = 0;
    virtual void closeAudioSync() = 0;
    virtual void addSpeedSelectionView() = 0;
    virtual void didSelectAudioSyncColor(const std::string& color) = 0;
    virtual void selectAudioSyncColorPalleteSelectionButton(bool selected) = 0;
    virtual void actionForAudioSyncColorPalletePicker() = 0;

    // --- Teacher bars ---
    virtual void actionForTeacherReviewPenColorPalletePicker() = 0;
    virtual void didSelectEraserForTeacherReview() = 0;
    virtual void didSelectDeleteForTeacherReview() = 0;
    // Hands the reviewed learner's page content to the review panel, then saves what it
    // reports changed (before switching learner, or on Done).
    virtual void saveTeacherReviewedDataWhenUseTapOnStudentname() = 0;
    virtual void didSelectDoneForTeacherReview() = 0;
    virtual void didClickOnPageButton(int button) = 0;
    virtual void backToStudentList() = 0;
    virtual void didSelectPenColorForTeacherReview(const std::string& color) = 0;
    virtual void didSelectDragBoxForTeacherReview() = 0;
    virtual void didTapOnGenerateReportButton() = 0;
    virtual void jumpToNextStudent() = 0;
    virtual void jumpToPreviousStudent() = 0;
};

// The reader's router: every operation goes to the feature of the reader that owns it.
class ReaderToolbarRouter : public ReaderToolbarActions {
public:
    // The reader must outlive the router.
    explicit ReaderToolbarRouter(ReaderViewController&);

    // The reflowable layout sheet's owner (may be null; held without ownership).
    void setReflowableLayoutSettings(ReflowableLayoutSettings* settings) { m_layoutSettings = settings; }

    void removeVerticalBarViewForTeacherReview() override;
    void addPlayerVerticalBarForTeacherView() override;
    void removeSpeedSelectionView() override;
    void moveTopAndBottomOnScreen(bool animate) override;
    std::vector<std::string> getActivePageIDs() override;

    void didTapOnTOCButton(const std::shared_ptr<PlayerActionBarItem>& sender) override;
    void showMyData(const std::shared_ptr<PlayerActionBarItem>& sender) override;
    void actionForPentool() override;
    void showStickyNote() override;
    void actionForThumbnail() override;
    void actionForFixedEpubThumbnail() override;
    void actionForReflowThumbnail() override;
    std::string searchTextStr() override;
    void addSearchForText(const std::string& text, bool isElasticSearch) override;
    void actionForTeacherReview() override;
    void actionForSubmitAnotation() override;
    void showReadAloudController() override;
    void didTapOnAudioSyncIcon() override;
    void showReflowableLayoutSettingControllerView(PlayerActionBarItem& sender) override;
    void actionForTextAnnotation() override;
    void didTapOnProtractor() override;
    void didTapOnBackButton() override;
    void didTapOnClearAllFIBs() override;
    void didTapOnPrintPageWithWatermark() override;
    // A reflowable book without a CFI list cannot go to its furthest page; any other book
    // asks the renderer, and a failed jump means the reader is already there.
    void actionForFurtherPage() override;

    void updatePentoolButtonStatus() override;
    void actionForPentoolDrawingMode() override;
    void setPenMode(int64_t mode) override;
    void actionForPenToolThicknessSelected() override;
    void actionForPentoolErase() override;
    void actionForPentoolDeleteSelection() override;
    void actionForPentoolUndoDrawing() override;
    void didSelectPenColor(const std::string& color) override;

    void removeTextAnnotationView() override;
    void addTextAnnotationAlignmentView() override;
    void removeTextAnnotationAlignmentView() override;
    void addTextAnnotationTextColorView() override;
    void removeTextAnnotationColorView() override;
    void actionForDeleteTextAnnotation() override;
    void actionForTextAnnotationKeyBoard() override;
    void setTextAnnotationSelectedColor(const std::string& color) override;

    void playPauseAudioSyncIfAny() override;
    void stopAudioSyncIfAny() override;
    void removeReadAloudTopBar() override;
    void enableNextPrevButtonForReadAloud() override;
    void closeAudioSync() override;
    void addSpeedSelectionView() override;
    void didSelectAudioSyncColor(const std::string& color) override;
    void selectAudioSyncColorPalleteSelectionButton(bool selected) override;
    void actionForAudioSyncColorPalletePicker() override;

    void actionForTeacherReviewPenColorPalletePicker() override;
    void didSelectEraserForTeacherReview() override;
    void didSelectDeleteForTeacherReview() override;
    void saveTeacherReviewedDataWhenUseTapOnStudentname() override;
    void didSelectDoneForTeacherReview() override;
    void didClickOnPageButton(int button) override;
    void backToStudentList() override;
    void didSelectPenColorForTeacherReview(const std::string& color) override;
    void didSelectDragBoxForTeacherReview() override;
    void didTapOnGenerateReportButton() override;
    void jumpToNextStudent() override;
    void jumpToPreviousStudent() override;

private:
    void showInformativeAlert(const std::string& title, const std::string& message);

    ReaderViewController& m_reader;
    ReflowableLayoutSettings* m_layoutSettings = nullptr;
};

} // namespace lectoro
