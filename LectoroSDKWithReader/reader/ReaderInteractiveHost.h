#pragma once

// The reader as interactive content sees it (InteractiveReader), forwarding to the controller.

#include "LectoroSDKWithReader/interactive/InteractiveReader.h"

namespace lectoro {

class ReaderViewController;

class ReaderInteractiveHost final : public InteractiveReader {
public:
    // The reader must outlive the host.
    explicit ReaderInteractiveHost(ReaderViewController& reader)
        : m_reader(reader)
    {
    }

    std::shared_ptr<ui::ViewController> presentingController() override;
    void moveTopAndBottomOffScreen() override;
    void showAlertWithTitle(const std::string& title, const std::string& message) override;
    void singleTapOnPage() override;
    void removeHighlightPopup() override;
    void saveReadingSessionForLinkOpen() override;
    int64_t getPageIDForDisplayNumber(const std::string& displayNumber) override;
    void stopAudioSyncIfAny() override;
    void startAudioSyncForLink(std::shared_ptr<PXLinkVO>) override;
    bool isBookDownloaded(const std::string& bookID) override;
    void closeAndJumpToBook(const std::string& bookID, const std::string& folio) override;
    void moveTopAndBottomOffScreenAnimated() override;
    void removeBookmarkVC() override;
    void updateClearAllFIBsButtonStatus() override;
    void showAlertForError(const base::Error&, const std::string& title) override;
    void showSessionExpiredAlert() override;
    bool refreshUserToken(
        const std::string& expiredToken, std::function<void(std::shared_ptr<LectoroUser>)> completion) override;
    std::weak_ptr<LectoroDataSyncingManagerDelegate> syncDelegate() override;
    void loadWebPlayerForStandardActivityWithURL(const base::URL&) override;
    void navigateTopage(const std::string& page) override;
    void resetAllPlayerActionBar() override;
    std::weak_ptr<ui::PopoverPresentationControllerDelegate> readerPopoverDelegate() override;

private:
    ReaderViewController& m_reader;
};

} // namespace lectoro
