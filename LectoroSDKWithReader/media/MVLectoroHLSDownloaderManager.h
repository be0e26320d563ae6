#pragma once

// Streamed-book downloads. The download machinery arrives with the media subsystem; the
// launcher only needs where a downloaded book lives.

#include "platform/base/Value.h"

#include <string>

namespace lectoro {

class MVLectoroHLSDownloaderManager {
public:
    static MVLectoroHLSDownloaderManager& shared();

    // The book's local base folder, from the id's integer value.
    std::string getBookDownloadedPath(const base::Value& bookId) const;

private:
    MVLectoroHLSDownloaderManager() = default;
};

} // namespace lectoro
