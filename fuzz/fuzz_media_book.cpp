// Parses a whole media book unpacked from the fuzz input (FuzzArchive.h): "toc.json",
// "time-index.json", playlists and media, as the companion's parser reads them, in the
// background with the answer on the run loop. Beside what the input writes, the book holds a
// real sound ("fixed/sound.wav"), a FIFO ("fixed/pipe.ts") and a link to a file outside it
// ("fixed/secret.wav"), so contents and playlists the fuzzer writes can name them.
//
// Parsing may fail, never crash, hang or open a FIFO or a file outside the book. A book that
// parses keeps its promises: chapters within the budget, every length and start finite, not
// negative and within the limits' bound, starts in reading order, time-index entries in order.

#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"
#include "companion/media/MediaBookParser.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"

#include "FuzzArchive.h"
#include "FuzzMedia.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

// The book's folder, with its fixed files made once.
const fs::path& bookFolder()
{
    static const fs::path book = [] {
        fs::path root = fuzzarchive::makeScratch("fuzz-media-book");
        fs::create_directories(root / "outside");
        fs::create_directories(root / "book/fixed");
        std::ofstream(root / "outside/secret.wav", std::ios::binary) << fuzzmedia::silentWav(16000);
        std::ofstream(root / "book/fixed/sound.wav", std::ios::binary) << fuzzmedia::silentWav(16000);
        if (::mkfifo((root / "book/fixed/pipe.ts").c_str(), 0600) != 0)
            std::abort();
        fs::create_symlink(root / "outside/secret.wav", root / "book/fixed/secret.wav");
        fuzzmedia::abortWhenAFileOutsideIsOpened();
        return root / "book";
    }();
    return book;
}

// What the last input wrote goes; the fixed files stay.
void clearBook(const fs::path& book)
{
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(book, error)) {
        if (entry.path().filename() != "fixed")
            fs::remove_all(entry.path(), error);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fs::path& book = bookFolder();
    clearBook(book);
    auto notFixed = [](std::string_view name) { return name.substr(0, 5) != "fixed"; };
    if (!fuzzarchive::unpack(std::string_view(reinterpret_cast<const char*>(data), size), book, notFixed))
        return 0;

    companion::BookBudget budget;
    budget.maxBytesRead = 256 * 1024;
    budget.maxFileBytes = 64 * 1024;
    budget.maxSpineItems = 64;
    budget.maxNavigationEntries = 256;
    media::AssetLimits limits;
    limits.maxBytesReadPerFile = 256 * 1024;
    limits.maxPlaylistBytes = 16 * 1024;
    limits.maxSegmentsPerPlaylist = 64;
    limits.maxMediaDuration = 3600;
    companion::MediaBookParser parser(budget, limits);
    auto answers = std::make_shared<int>(0);
    std::shared_ptr<lectoro::MVMediaBookModel> parsed;
    parser.setBookParsingCompleted([answers, &parsed](std::shared_ptr<lectoro::MVMediaBookModel> model) {
        ++*answers;
        parsed = std::move(model);
    });
    parser.setBookParsingFailed([answers](const base::Error&) { ++*answers; });
    auto model = std::make_shared<lectoro::MVMediaBookModel>();
    model->mediaBookPath = book.string();
    parser.parseTOCTimeIndexJsonForAudio(model, std::nullopt, std::nullopt);
    if (*answers != 0)
        std::abort();
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    if (*answers != 1)
        std::abort();
    if (!parsed)
        return 0;

    const double bound = limits.maxMediaDuration;
    const auto& chapters = parsed->mediaBookAllChaptersArray;
    if (chapters.size() > budget.maxSpineItems || !parsed->chapters)
        std::abort();
    double previousStart = 0;
    for (const auto& chapter : chapters) {
        if (chapter->avAssetTotalTime < 0 || static_cast<double>(chapter->avAssetTotalTime) > bound
            || !fuzzmedia::bounded(chapter->chapterStartTimeForBook, bound) || chapter->chapterStartTimeForBook < previousStart
            || !fuzzmedia::bounded(chapter->startTimeInFile, bound))
            std::abort();
        previousStart = chapter->chapterStartTimeForBook;
    }
    if (parsed->timeIndexVOArray) {
        if (parsed->timeIndexVOArray->size() > budget.maxNavigationEntries)
            std::abort();
        for (const auto& entry : *parsed->timeIndexVOArray) {
            if (!fuzzmedia::bounded(entry->startTime, bound) || !fuzzmedia::bounded(entry->endTime, bound) || entry->endTime < entry->startTime)
                std::abort();
        }
    }
    return 0;
}
