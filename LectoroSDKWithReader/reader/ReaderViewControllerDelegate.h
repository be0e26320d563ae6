#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class View;
}

namespace lectoro {

class LectoroBookVO;
class LectoroUser;
class ReaderViewController;

// What the reader tells its owner. Every operation is optional; the defaults do what an
// owner that does not implement it would see. Where the reader branches on whether the
// owner answers, a respondsTo… query says so.
class ReaderViewControllerDelegate {
public:
    virtual ~ReaderViewControllerDelegate() = default;

    virtual void didClosedReader(ReaderViewController&, int64_t /*bookID*/,
        const std::optional<std::string>& /*lastPageFolio*/, int64_t /*avgTimePerPage*/,
        bool /*isReaderForceClosed*/)
    {
    }
    virtual void didSessionExpiredForReader(ReaderViewController&) { }
    virtual void didTapOnProfilePic(ui::View&) { }
    virtual void didRemoveProfilePopOver() { }
    virtual bool respondsToRefreshUserToken() const { return false; }
    virtual void refreshUserTokenForUser(std::shared_ptr<LectoroUser>, const std::string& /*expiredToken*/,
        std::function<void(std::shared_ptr<LectoroUser>)> /*completed*/)
    {
    }
    virtual void didSignOutForUser(std::shared_ptr<LectoroUser>) { }
    virtual void jumpToBookReaderForBookID(const std::string& /*fromBookID*/, const std::string& /*toBookID*/)
    {
    }
    virtual bool respondsToIsBookDownloaded() const { return false; }
    virtual bool isBookDownloadedForBookID(const std::string&) { return false; }
    virtual void checkUgcSyncInProgress(bool) { }
    virtual void didBookLoadedSuccessfullyWithBook(std::shared_ptr<LectoroBookVO>) { }
    virtual void didLastVisitedFolioNumberForBookID(int64_t /*bookID*/, const std::string& /*lastPageFolio*/)
    {
    }
    virtual void didUpdatedReadPercentageTo(int64_t /*percentage*/, int64_t /*bookID*/) { }
    virtual void didUpdateFurthestPageData(
        const std::string& /*data*/, int64_t /*bookID*/, int64_t /*userID*/)
    {
    }
};

} // namespace lectoro
