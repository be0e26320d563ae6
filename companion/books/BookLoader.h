#pragma once

// Opens whatever book a folder holds: a page book when it has assets/xml-bin/eBook.xml, an
// EPUB book when it has META-INF/container.xml.

#include "LectoroSDKWithReader/readersdk/records/LectoroBookVO.h"

#include "platform/base/Error.h"

#include <memory>
#include <string>

namespace companion {

base::Result<std::shared_ptr<lectoro::LectoroBookVO>> loadBook(const std::string& bookFolder);

} // namespace companion
