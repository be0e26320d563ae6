// Loads a whole EPUB folder unpacked from the fuzz input (FuzzArchive.h), so every file of the
// book (container, package, navigation, NCX, chapters, media overlays) and how they refer to
// each other are fuzzed together.
//
// Loading may fail, never crash or hang; a small budget keeps every input cheap. A book that
// loads must be consistent: chapters in spine order, page-list entries naming real chapters,
// chapters of one file sharing one parsed content, narration only for chapters whose overlay
// gave clips, each naming a word and a file, and searching and measuring must work.

#include "companion/books/BookLoader.h"
#include "companion/books/EpubBookLoader.h"
#include "companion/search/BookTextSearchController.h"

#include "FuzzArchive.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const fs::path root = fuzzarchive::makeScratch("fuzz-epub-folder");
    const fs::path book = root / "book";
    std::error_code error;
    fs::remove_all(book, error);
    fs::create_directories(book, error);
    if (!fuzzarchive::unpack(std::string_view(reinterpret_cast<const char*>(data), size), book))
        return 0;

    companion::BookBudget budget;
    budget.maxBytesRead = 256 * 1024;
    budget.maxFileBytes = 64 * 1024;
    budget.maxSpineItems = 64;
    budget.maxBlocksPerChapter = 2'000;
    budget.maxPositionsPerBook = 8'000;
    budget.maxNavigationEntries = 512;
    budget.maxOverlayClips = 256;
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
    for (const auto& chapter : epub->chapters) {
        const auto* clips = chapter->audioSyncArray.asList();
        if (!clips || chapter->isAudioSyncSupported == clips->empty() || clips->size() > budget.maxOverlayClips)
            std::abort();
        for (const auto& clip : *clips) {
            const auto start = clip["start"].asDouble();
            if (!clip["wordId"].asString() || !clip["audio"].asString() || !start || !(*start >= 0))
                std::abort();
            if (!clip["end"].isNull() && !(clip["end"].doubleValue() >= *start))
                std::abort();
        }
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
