#pragma once

// Reads an unpacked EPUB 3 book: META-INF/container.xml, the package document (metadata,
// manifest, spine), the navigation document (contents, page list, landmarks) or, failing
// that, the NCX, and the text of every chapter.

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"

#include "platform/base/Error.h"

#include <memory>
#include <string>

namespace companion {

inline constexpr const char* epubContainerPath = "META-INF/container.xml";

base::Result<std::shared_ptr<lectoro::EPUBBookVO>> loadEpubBook(const std::string& bookFolder);

} // namespace companion
