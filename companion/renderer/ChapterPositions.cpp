#include "companion/renderer/ChapterPositions.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"

namespace companion {

std::vector<std::string> chapterPositions(const lectoro::EPUBChapterVO& chapter)
{
    if (!chapter.chapterCFIArray.empty())
        return chapter.chapterCFIArray;
    return { "epubcfi(/6/" + std::to_string(2 * (chapter.fileIndex + 1)) + "!/4/2/1:0)" };
}

} // namespace companion
