#pragma once

// The reader as the contents subsystem sees it (ContentsHost), over the reader's public
// operations.

#include "LectoroSDKWithReader/contents/ContentsHost.h"

namespace lectoro {

class ReaderViewController;

class ReaderContentsHost : public ContentsHost {
public:
    explicit ReaderContentsHost(ReaderViewController& reader)
        : m_reader(reader)
    {
    }

    std::shared_ptr<ui::ViewController> contentsPresenter() override;
    base::Value getTOCContentData() const override;
    std::vector<std::shared_ptr<SDKBookmarkVO>> getBookmarkData() const override;
    std::string getChapterNameForChapter(const EPUBChapterVO&) const override;
    void moveBarsOffScreen() override;
    void didSelectActionToCloseTOC() override;
    void removeTOC() override;
    void navigateToPageWithPageId(const std::string& pageID) override;
    void actionForLinkWithLinkVO(const std::shared_ptr<PXLinkVO>&) override;
    void actionForResource(const base::Value& resource) override;
    void didSelectActionToJumpToBookWithBookID(const std::string& bookID) override;
    void showSessionExpiredAlert() override;
    void showAlertWithTitle(const std::string& title, const std::string& message) override;

private:
    ReaderViewController& m_reader;
};

} // namespace lectoro
