#pragma once

// The reader as the annotations subsystem sees it: each request goes to the feature of
// the reader that owns it. Made and owned by the reader, which outlives it.

#include "LectoroSDKWithReader/annotations/AnnotationsHost.h"

namespace lectoro {

class ReaderViewController;

class ReaderAnnotationsHost final : public AnnotationsHost {
public:
    explicit ReaderAnnotationsHost(ReaderViewController& reader)
        : m_reader(reader)
    {
    }

    void moveTopAndBottomOffScreen(bool animate) override;
    void moveTopAndBottomOnScreen(bool animate) override;
    void resetAllPlayerActionBar() override;
    ui::ConstraintPtr verticalSliderRightConstraint() override;
    double readerRightSafeAreaInset() override;
    void setBottomBarPageSliderValue(int64_t page) override;
    ReaderPageOverlays& pageOverlays() override;

    void stopInlineVideo() override;
    void closeAudioSync() override;
    void addSearchForText(const std::string& text) override;
    void showTranslationForText(const std::string& text) override;
    void presentImmersiveReader(const std::string& token, const std::string& subdomain, const std::string& text) override;
    void showNotesForHighlight(std::shared_ptr<SDKHighlightVO>, bool forMyData) override;
    void dismissNoteEditor(std::function<void()> completion) override;
    void addPreLoaderView() override;
    void removePreLoaderView() override;

    std::shared_ptr<ui::ViewController> presentingController() override;
    void showAlertWithTitle(const std::string& title, const std::string& message) override;
    void showSessionExpiredAlert() override;
    bool refreshUserToken(const std::string& expiredToken,
        std::function<void(std::shared_ptr<LectoroUser>)> completion) override;
    void saveReaderAnalyticsSession() override;
    std::weak_ptr<PlayerActionDelegate> playerActionDelegate() override;
    std::optional<std::string> displayNumberForPageID(const std::string& pageID) override;

    std::shared_ptr<ui::ViewController> myDataPanel() override;
    void reloadMyDataList() override;
    void removeGlossaryController() override;
    void resignBookmarkInput() override;
    void closeSearchPanel() override;
    std::weak_ptr<ui::PopoverPresentationControllerDelegate> readerPopoverDelegate() override;
    std::weak_ptr<StickyNoteControllerDelegate> stickyNoteOverlayDelegate() override;
    void moveTopAndBottomOffScreenThen(bool animate, std::function<void()> completion) override;
    void moveTopAndBottomOnScreenThen(bool animate, std::function<void()> completion) override;
    void addPenToolTopBarViewWithAnimation(bool animate) override;
    ui::ConstraintPtr bottomConstraintOfPenTool() override;
    void didSelectAudioSyncColor(const std::string&) override;
    std::shared_ptr<PlayerActionBar> verticalToolBar() override;
    void removeInstructionMarkupPopOver() override;
    void setHelpBookmark(std::shared_ptr<ui::View>) override;
    bool isHelpScreenShown() override;
    void refreshHelpScreen() override;
    // Teacher review's learner panel while review runs; none otherwise.
    ReviewAnnotationPanel* reviewAnnotationPanel() override;

private:
    ReaderViewController& m_reader;
};

} // namespace lectoro
