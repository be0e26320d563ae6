#include "MediaBookPrinter.h"

#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"
#include "LectoroSDKWithReader/readersdk/media/MVMediaBookParser.h"
#include "platform/base/Dispatch.h"
#include "platform/base/FileManager.h"
#include "platform/base/RunLoop.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <ostream>

namespace host {

namespace {

std::string clock(double seconds)
{
    auto whole = static_cast<long>(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

void printList(std::ostream& out, const char* name, const std::optional<std::vector<std::string>>& list)
{
    if (!list)
        return;
    out << name << ":";
    for (const auto& entry : *list)
        out << ' ' << entry;
    out << '\n';
}

} // namespace

bool isMediaBookFolder(const std::string& folder)
{
    return base::FileManager::defaultManager().fileExists(folder + "/toc.json");
}

std::string mediaBookFolderOr(const std::string& folder, const std::string& sampleName)
{
    return isMediaBookFolder(folder) ? folder : std::string(LECTORO_SAMPLES_DIR) + "/books/" + sampleName;
}

int printMediaBook(std::ostream& out, const std::string& folder)
{
    auto parser = lectoro::companionFramework()->makeMediaBookParser();
    if (!parser) {
        out << "The companion framework reads no media books\n";
        return 1;
    }
    auto model = std::make_shared<lectoro::MVMediaBookModel>();
    model->mediaBookPath = folder;
    // The parser reads in the background and answers on the run loop: empty for a book read.
    auto failure = std::make_shared<std::optional<std::string>>("no answer from the parser");
    parser->setBookParsingCompleted([failure](std::shared_ptr<lectoro::MVMediaBookModel>) { failure->reset(); });
    parser->setBookParsingFailed([failure](const base::Error& error) { *failure = error.localizedDescription(); });
    parser->parseTOCTimeIndexJsonForAudio(model, std::nullopt, std::nullopt);
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    if (*failure) {
        out << "The media book cannot be read: " << **failure << '\n';
        return 1;
    }

    out << "Media book: " << model->mediaBookTitle << (model->multiAudioPackage ? " (multi-audio package)" : "") << '\n';
    int64_t total = 0;
    for (const auto& chapter : model->mediaBookAllChaptersArray) {
        out << std::string(2 + 2 * static_cast<size_t>(chapter->level), ' ') << "Chapter \""
            << chapter->chapterTitle.value_or("(untitled)") << "\" " << clock(static_cast<double>(chapter->avAssetTotalTime))
            << " (" << chapter->avAssetTotalTime << " s, from " << clock(chapter->chapterStartTimeForBook) << " in the book, "
            << chapter->urlLastPathComponent.value_or("") << ")\n";
        total += chapter->avAssetTotalTime;
    }
    out << "Chapters: " << model->mediaBookAllChaptersArray.size() << ", " << total << " s in all\n";
    out << "Time index: " << (model->timeIndexVOArray ? model->timeIndexVOArray->size() : 0) << " entries\n";
    printList(out, "Audio languages", model->mediaSupportedAudios);
    printList(out, "Subtitles", model->mediaSupportedSubtitles);
    printList(out, "Resolutions", model->mediaSupportedResolutions);
    return 0;
}

} // namespace host
