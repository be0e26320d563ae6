#include "companion/renderer/ChapterPositions.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"

#include <algorithm>
#include <limits>

namespace companion {

namespace {

std::string chapterStart(const lectoro::EPUBChapterVO& chapter)
{
    return "epubcfi(/6/" + std::to_string(2 * (chapter.fileIndex + 1)) + "!/4/2/1:0)";
}

// The chapter's first `limit` positions, one per block directly under <body>:
// /6/<spine step>[idref]!/4/<2·n>; the chapter's start when it has no block.
std::vector<std::string> positionsUpTo(const lectoro::EPUBChapterVO& chapter, size_t limit)
{
    size_t blocks = std::min(chapter.content()->topLevelBlocks, limit);
    if (blocks == 0)
        return { chapterStart(chapter) };
    std::string prefix = "epubcfi(/6/" + std::to_string(2 * (chapter.fileIndex + 1)) + "[" + chapter.idref + "]!/4/";
    std::vector<std::string> positions;
    positions.reserve(blocks);
    for (size_t block = 1; block <= blocks; ++block)
        positions.push_back(prefix + std::to_string(2 * block) + ")");
    return positions;
}

} // namespace

std::vector<std::string> chapterPositions(const lectoro::EPUBChapterVO& chapter)
{
    return positionsUpTo(chapter, std::numeric_limits<size_t>::max());
}

std::vector<std::string> screenPositions(const lectoro::EPUBChapterVO& chapter)
{
    return positionsUpTo(chapter, positionsPerScreen);
}

} // namespace companion
