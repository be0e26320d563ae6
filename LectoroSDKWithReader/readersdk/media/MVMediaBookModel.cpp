#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"

namespace lectoro {

std::string mediaFilePart(const std::string& urlLastPathComponent)
{
    return urlLastPathComponent.substr(0, urlLastPathComponent.find('#'));
}

std::string MVMediaBookChapterVO::filePart() const
{
    return urlLastPathComponent ? mediaFilePart(*urlLastPathComponent) : std::string();
}

std::shared_ptr<MVMediaBookTimeIndexVO> MVMediaBookModel::timeIndexEntryForCurrentPosition() const
{
    if (!timeIndexVOArray)
        return nullptr;
    auto time = static_cast<double>(currentTime);
    auto holds = [](const MVMediaBookTimeIndexVO& entry, double t) { return entry.startTime <= t && t <= entry.endTime; };
    for (const auto& entry : *timeIndexVOArray) {
        if (!entry)
            continue;
        if (!multiAudioPackage) {
            if (holds(*entry, time))
                return entry;
            continue;
        }
        if (!currentChapter || entry->chapterTitle != currentChapter->chapterTitle)
            continue;
        if (!entry->fileName || *entry->fileName != currentChapter->filePart())
            continue;
        if (holds(*entry, time) || holds(*entry, currentChapter->chapterStartTimeForBook + time))
            return entry;
    }
    return nullptr;
}

std::optional<size_t> MVMediaBookModel::indexOfChapter(const std::shared_ptr<MVMediaBookChapterVO>& chapter) const
{
    if (!chapter)
        return std::nullopt;
    for (size_t i = 0; i < mediaBookAllChaptersArray.size(); ++i) {
        if (mediaBookAllChaptersArray[i] == chapter)
            return i;
    }
    return std::nullopt;
}

} // namespace lectoro
