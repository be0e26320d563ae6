// Loads a whole EPUB folder unpacked from the fuzz input, so every file of the book (container,
// package, navigation, NCX, chapters) and how they refer to each other are fuzzed together.
//
// The input is a simple archive: entries one after another, each
//   1 byte   name length N
//   N bytes  the file's path inside the book ("META-INF/container.xml", "OPS/c1.xhtml")
//   2 bytes  content length L, little-endian
//   L bytes  the content (the last entry may be cut short: it takes what is left)
// Names are kept to letters, digits, ".", "-", "_" and "/", without ".." or a leading "/", so
// the archive cannot write outside its scratch folder. A later entry of the same name wins.
//
// Loading may fail, never crash or hang; a small budget keeps every input cheap. A book that
// loads must be consistent: chapters in spine order, page-list entries naming real chapters,
// chapters of one file sharing one parsed content, and searching and measuring must work.

#include "companion/books/BookLoader.h"
#include "companion/books/EpubBookLoader.h"
#include "companion/search/BookTextSearchController.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path& scratchRoot()
{
    static fs::path root;
    return root;
}

fs::path makeScratch()
{
    std::string pattern = (fs::temp_directory_path() / "fuzz-epub-folder-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        std::abort();
    scratchRoot() = pattern;
    std::atexit([] {
        std::error_code error;
        fs::remove_all(scratchRoot(), error);
    });
    return scratchRoot();
}

bool safeName(std::string_view name)
{
    if (name.empty() || name.front() == '/' || name.back() == '/' || name.find("..") != std::string_view::npos
        || name.find("//") != std::string_view::npos)
        return false;
    for (char c : name) {
        bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-'
            || c == '_' || c == '/';
        if (!allowed)
            return false;
    }
    return true;
}

// Writes the archive's files below `book`; answers how many were written.
size_t unpack(std::string_view input, const fs::path& book)
{
    size_t written = 0;
    while (!input.empty() && written < 64) {
        size_t nameLength = static_cast<unsigned char>(input.front());
        input.remove_prefix(1);
        if (input.size() < nameLength)
            break;
        std::string_view name = input.substr(0, nameLength);
        input.remove_prefix(nameLength);
        size_t contentLength = input.size();
        if (input.size() >= 2) {
            contentLength = static_cast<unsigned char>(input[0]) | (static_cast<size_t>(static_cast<unsigned char>(input[1])) << 8);
            input.remove_prefix(2);
        }
        std::string_view content = input.substr(0, std::min(contentLength, input.size()));
        input.remove_prefix(content.size());
        if (!safeName(name))
            continue;
        fs::path file = book / std::string(name);
        std::error_code error;
        fs::create_directories(file.parent_path(), error);
        if (error || fs::is_directory(file, error))
            continue;
        std::ofstream(file, std::ios::binary | std::ios::trunc).write(content.data(), static_cast<std::streamsize>(content.size()));
        ++written;
    }
    return written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const fs::path root = makeScratch();
    const fs::path book = root / "book";
    std::error_code error;
    fs::remove_all(book, error);
    fs::create_directories(book, error);
    if (!unpack(std::string_view(reinterpret_cast<const char*>(data), size), book))
        return 0;

    companion::BookBudget budget;
    budget.maxBytesRead = 256 * 1024;
    budget.maxFileBytes = 64 * 1024;
    budget.maxSpineItems = 64;
    budget.maxBlocksPerChapter = 2'000;
    budget.maxPositionsPerBook = 8'000;
    budget.maxNavigationEntries = 512;
    auto loaded = companion::loadEpubBook(book.string(), budget);
    if (!loaded.ok())
        return 0;
    auto epub = loaded.value();
    if (epub->chapters.empty() || epub->chapters.size() > budget.maxSpineItems)
        std::abort();
    std::map<std::string, std::shared_ptr<const lectoro::EPUBChapterContent>> byFile;
    for (size_t index = 0; index < epub->chapters.size(); ++index) {
        const auto& chapter = epub->chapters[index];
        if (chapter->fileIndex != static_cast<int64_t>(index) || !epub->chapterForHref(chapter->href))
            std::abort();
        auto content = chapter->content();
        if (!content || content->topLevelBlocks > budget.maxBlocksPerChapter)
            std::abort();
        if (auto [known, added] = byFile.emplace(chapter->absolutePath, content); !added && known->second != content)
            std::abort();
    }
    for (const auto& entry : epub->tocPageList) {
        if (entry.fileIndex < 0 || static_cast<size_t>(entry.fileIndex) >= epub->chapters.size())
            std::abort();
    }
    auto measured = epub->measure();
    if (measured.ok() && measured.value().positionCount > budget.maxPositionsPerBook)
        std::abort();
    (void)epub->getBookContentForTOC();
    (void)epub->getThumbnailData();
    companion::BookTextSearchController search(epub, "a");
    (void)search.getSearchResultForText("a", 0, 8);
    return 0;
}
