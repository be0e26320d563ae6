#pragma once

#include "platform/base/Error.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace lectoro {

class LectoroReaderViewController;
class LectoroUser;

// What the launcher tells the host. Every callback is optional and returns nothing, so
// the defaults (doing nothing) are exactly a host that does not implement it.
class LectoroReaderViewControllerDelegate {
public:
    virtual ~LectoroReaderViewControllerDelegate() = default;

    virtual void didClosedReaderWithReader(LectoroReaderViewController&, const std::string& /*bookID*/,
        std::shared_ptr<LectoroUser>, const std::optional<std::string>& /*lastPageFolio*/)
    {
    }
    virtual void didUpdateFurthestPageDataWithReader(LectoroReaderViewController&,
        const std::string& /*furthestPageData*/, int64_t /*bookID*/, std::shared_ptr<LectoroUser>)
    {
    }
    virtual void didUpdatedReadPercentageTo(int64_t /*percentage*/, int64_t /*bookID*/) { }
    virtual void didUGCSaveCompletedSuccessfullyWithUserID(int64_t /*userID*/, int64_t /*bookID*/) { }
    virtual void didUGCSaveFailedWithError(const base::Error&, int64_t /*userID*/, int64_t /*bookID*/) { }
    virtual void didSaveAnalyticsDataSuccessfully() { }
    virtual void didSaveAnalyticsDataFailedWithError(
        const base::Error&, const std::string& /*userID*/, const std::string& /*bookID*/)
    {
    }
    virtual void didUGCSaveCompletedSuccessfully() { }
    virtual void didUGCSaveFailedWithError(const base::Error&) { }
    virtual void didSessionExpiredWithUser(std::shared_ptr<LectoroUser>, const std::string& /*expiredToken*/)
    {
    }
    // The device's store failed, on the main thread: a damaged store was moved aside and a
    // fresh one started (once; "keptPath" in the user info names the kept file), the store
    // cannot be opened or written (read-only, disk full, locked: said in the description),
    // or a save did not reach the disk and is not kept. The code is a YSDBManagerErrorCode.
    virtual void didLocalStoreFailWithError(const base::Error&) { }
    virtual void didHLSMediaLoadingFailWithError(
        const base::Error&, const std::string& /*bookId*/, int64_t /*timeStamp*/)
    {
    }
};

} // namespace lectoro
