#pragma once

// Opens whatever book a folder holds: a page book when it has assets/xml-bin/eBook.xml, an
// EPUB book when it has META-INF/container.xml.

#include "LectoroSDKWithReader/readersdk/records/LectoroBookVO.h"
#include "companion/books/BookBudget.h"

#include "platform/base/Error.h"

#include <memory>
#include <string>

namespace companion {

base::Result<std::shared_ptr<lectoro::LectoroBookVO>> loadBook(const std::string& bookFolder, const BookBudget& = {});

// The book of the folder as the process has it open: while anyone (the renderer, the
// reading-time manager) still holds the book loaded from this folder, the same record is
// answered, so a book is parsed once however many parts of the reader use it.
base::Result<std::shared_ptr<lectoro::LectoroBookVO>> loadSharedBook(const std::string& bookFolder);

} // namespace companion
