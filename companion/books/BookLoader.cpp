#include "companion/books/BookLoader.h"

#include "companion/books/BookErrors.h"
#include "companion/books/EpubBookLoader.h"
#include "companion/books/PageBookLoader.h"

#include <filesystem>

namespace companion {

base::Result<std::shared_ptr<lectoro::LectoroBookVO>> loadBook(const std::string& bookFolder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (bookFolder.empty() || !fs::is_directory(bookFolder, error))
        return makeBookError(BookError::MissingFolder, "The book folder \"" + bookFolder + "\" does not exist");
    if (fs::exists(fs::path(bookFolder) / pageBookDescriptorPath, error)) {
        auto book = loadPageBook(bookFolder);
        if (!book.ok())
            return book.error();
        return std::shared_ptr<lectoro::LectoroBookVO>(book.value());
    }
    if (fs::exists(fs::path(bookFolder) / epubContainerPath, error)) {
        auto book = loadEpubBook(bookFolder);
        if (!book.ok())
            return book.error();
        return std::shared_ptr<lectoro::LectoroBookVO>(book.value());
    }
    return makeBookError(BookError::NotABook,
        "The folder \"" + bookFolder + "\" holds no book (neither " + pageBookDescriptorPath + " nor " + epubContainerPath + ")");
}

} // namespace companion
