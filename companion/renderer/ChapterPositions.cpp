#include "companion/renderer/ChapterPositions.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"

namespace companion {

std::vector<std::string> chapterPositions(const lectoro::EPUBChapterVO& chapter)
{
    // One position per block directly under <body>: /6/<spine step>[idref]!/4/<2·n>.
    size_t blocks = chapter.content()->topLevelBlocks;
    std::string spineStep = "epubcfi(/6/" + std::to_string(2 * (chapter.fileIndex + 1));
    if (blocks == 0)
        return { spineStep + "!/4/2/1:0)" };
    std::string prefix = spineStep + "[" + chapter.idref + "]!/4/";
    std::vector<std::string> positions;
    positions.reserve(blocks);
    for (size_t block = 1; block <= blocks; ++block)
        positions.push_back(prefix + std::to_string(2 * block) + ")");
    return positions;
}

} // namespace companion
