#pragma once

// Reads a page book from <bookFolder>/assets/xml-bin/eBook.xml (schema in README.md).

#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "companion/books/BookBudget.h"

#include "platform/base/Error.h"

#include <memory>
#include <string>

namespace companion {

inline constexpr const char* pageBookDescriptorPath = "assets/xml-bin/eBook.xml";

// The descriptor is read within the budget's byte limits.
base::Result<std::shared_ptr<lectoro::PXBookVO>> loadPageBook(const std::string& bookFolder, const BookBudget& = {});
// The same from the descriptor's text; paths it names are resolved against `bookFolder`.
base::Result<std::shared_ptr<lectoro::PXBookVO>> parsePageBook(const std::string& bookFolder, std::string_view descriptor);

} // namespace companion
