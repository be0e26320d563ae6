#pragma once

// What the contents subsystem needs of the reader, and no more: its screen to present on,
// the data of the panel's tabs, and the reader's own answers to the panel's requests.
// ReaderViewController implements it.

#include "platform/base/Value.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class ViewController;
}

namespace lectoro {

class EPUBChapterVO;
class PXLinkVO;
class SDKBookmarkVO;

class ContentsHost {
public:
    virtual ~ContentsHost() = default;

    // The reader's screen: the panel is presented from it and the web player added to it.
    virtual std::shared_ptr<ui::ViewController> contentsPresenter() = 0;
    virtual base::Value getTOCContentData() const = 0;
    virtual std::vector<std::shared_ptr<SDKBookmarkVO>> getBookmarkData() const = 0;
    virtual std::string getChapterNameForChapter(const EPUBChapterVO&) const = 0;
    virtual void moveBarsOffScreen() = 0;

    // The reader's side of the panel's requests.
    virtual void didSelectActionToCloseTOC() = 0;
    virtual void removeTOC() = 0;
    virtual void navigateToPageWithPageId(const std::string& pageID) = 0;
    virtual void actionForLinkWithLinkVO(const std::shared_ptr<PXLinkVO>&) = 0;
    virtual void actionForResource(const base::Value& resource) = 0;
    virtual void didSelectActionToJumpToBookWithBookID(const std::string& bookID) = 0;
    virtual void showSessionExpiredAlert() = 0;
    virtual void showAlertWithTitle(const std::string& title, const std::string& message) = 0;
};

} // namespace lectoro
