#include "companion/books/BookLoader.h"

#include "companion/books/BookErrors.h"
#include "companion/books/EpubBookLoader.h"
#include "companion/books/PageBookLoader.h"

#include <filesystem>
#include <map>
#include <mutex>

namespace companion {

base::Result<std::shared_ptr<lectoro::LectoroBookVO>> loadBook(const std::string& bookFolder, const BookBudget& budget)
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (bookFolder.empty() || !fs::is_directory(bookFolder, error))
        return makeBookError(BookError::MissingFolder, "The book folder \"" + bookFolder + "\" does not exist");
    if (fs::exists(fs::path(bookFolder) / pageBookDescriptorPath, error)) {
        auto book = loadPageBook(bookFolder, budget);
        if (!book.ok())
            return book.error();
        return std::shared_ptr<lectoro::LectoroBookVO>(book.value());
    }
    if (fs::exists(fs::path(bookFolder) / epubContainerPath, error)) {
        auto book = loadEpubBook(bookFolder, budget);
        if (!book.ok())
            return book.error();
        return std::shared_ptr<lectoro::LectoroBookVO>(book.value());
    }
    return makeBookError(BookError::NotABook,
        "The folder \"" + bookFolder + "\" holds no book (neither " + pageBookDescriptorPath + " nor " + epubContainerPath + ")");
}

base::Result<std::shared_ptr<lectoro::LectoroBookVO>> loadSharedBook(const std::string& bookFolder)
{
    static std::mutex mutex;
    static std::map<std::string, std::weak_ptr<lectoro::LectoroBookVO>> open;
    std::error_code error;
    std::string key = std::filesystem::absolute(bookFolder, error).lexically_normal().string();
    std::lock_guard lock(mutex);
    for (auto entry = open.begin(); entry != open.end();)
        entry = entry->second.expired() ? open.erase(entry) : std::next(entry);
    if (auto found = open.find(key); found != open.end()) {
        if (auto book = found->second.lock())
            return book;
    }
    auto loaded = loadBook(bookFolder);
    if (loaded.ok())
        open[key] = loaded.value();
    return loaded;
}

} // namespace companion
