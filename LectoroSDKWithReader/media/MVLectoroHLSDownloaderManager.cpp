#include "LectoroSDKWithReader/media/MVLectoroHLSDownloaderManager.h"

#include "LectoroSDKWithReader/foundation/SystemInformation.h"

namespace lectoro {

MVLectoroHLSDownloaderManager& MVLectoroHLSDownloaderManager::shared()
{
    static MVLectoroHLSDownloaderManager manager;
    return manager;
}

std::string MVLectoroHLSDownloaderManager::getBookDownloadedPath(const base::Value& bookId) const
{
    return SystemInformation::getInstance().getBasePathForBookWithBookId(base::Value(bookId.integerValue()));
}

} // namespace lectoro
