#include "companion/renderer/ChapterPositions.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"

#include <algorithm>

namespace companion {

namespace {

std::string chapterStart(const lectoro::EPUBChapterVO& chapter)
{
    return "epubcfi(/6/" + std::to_string(2 * (chapter.fileIndex + 1)) + "!/4/2/1:0)";
}

} // namespace

std::vector<std::string> chapterPositions(const lectoro::EPUBChapterVO& chapter)
{
    if (!chapter.chapterCFIArray.empty())
        return chapter.chapterCFIArray;
    return { chapterStart(chapter) };
}

std::vector<std::string> screenPositions(const lectoro::EPUBChapterVO& chapter)
{
    const auto& all = chapter.chapterCFIArray;
    if (all.empty())
        return { chapterStart(chapter) };
    return { all.begin(), all.begin() + static_cast<std::ptrdiff_t>(std::min(all.size(), positionsPerScreen)) };
}

} // namespace companion
