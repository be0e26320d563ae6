#include "MediaBookPrinter.h"

#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"
#include "LectoroSDKWithReader/readersdk/media/MVMediaBookParser.h"
#include "platform/base/FileManager.h"

#include <cstdio>
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
    int status = 1;
    parser->setBookParsingCompleted([&](std::shared_ptr<lectoro::MVMediaBookModel>) { status = 0; });
    parser->setBookParsingFailed([&](const base::Error& error) {
        out << "The media book cannot be read: " << error.localizedDescription() << '\n';
    });
    parser->parseTOCTimeIndexJsonForAudio(model, std::nullopt, std::nullopt);
    if (status != 0)
        return status;

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
