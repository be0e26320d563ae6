#include "companion/renderer/ChapterPositions.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "platform/base/Strings.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string_view>

namespace companion {

namespace {

std::string spineStepOf(const lectoro::EPUBChapterVO& chapter)
{
    return "epubcfi(/6/" + std::to_string(2 * (chapter.fileIndex + 1));
}

std::optional<size_t> numberAt(std::string_view text, size_t& at)
{
    size_t value = 0;
    auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (error != std::errc())
        return std::nullopt;
    at = static_cast<size_t>(end - text.data());
    return value;
}

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The chapter's first `limit` positions, one per block directly under <body>:
// /6/<spine step>[idref]!/4/<2·n>; the chapter's start when it has no block.
std::vector<std::string> positionsUpTo(const lectoro::EPUBChapterVO& chapter, size_t limit)
{
    size_t blocks = std::min(chapter.content()->topLevelBlocks, limit);
    std::string spineStep = spineStepOf(chapter);
    if (blocks == 0)
        return { spineStep + "!/4/2/1:0)" };
    std::string prefix = spineStep + "[" + chapter.idref + "]!/4/";
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

std::string positionOfOffset(const lectoro::EPUBChapterVO& chapter, size_t byteOffset)
{
    auto content = chapter.content();
    const std::string& text = content->text;
    byteOffset = std::min(byteOffset, text.size());
    const auto& starts = content->blockStarts;
    size_t block = 1;
    size_t blockStart = 0;
    auto after = std::upper_bound(starts.begin(), starts.end(), byteOffset);
    if (after != starts.begin()) {
        block = static_cast<size_t>(after - starts.begin());
        blockStart = starts[block - 1];
    }
    auto units = base::utf16Length(std::string_view(text).substr(blockStart, byteOffset - blockStart));
    std::string step = spineStepOf(chapter);
    if (!chapter.idref.empty())
        step += "[" + chapter.idref + "]";
    return step + "!/4/" + std::to_string(2 * block) + "/1:" + std::to_string(units) + ")";
}

std::optional<size_t> offsetOfPosition(const lectoro::EPUBChapterVO& chapter, const std::string& position)
{
    std::string_view cfi(position);
    auto bang = cfi.find("!/4/");
    if (bang == std::string_view::npos)
        return std::nullopt;
    size_t at = bang + 4;
    auto step = numberAt(cfi, at);
    if (!step || *step < 2 || *step % 2 != 0)
        return std::nullopt;
    size_t units = 0;
    if (cfi.substr(at, 3) == "/1:") {
        at += 3;
        auto value = numberAt(cfi, at);
        if (!value)
            return std::nullopt;
        units = *value;
    }
    auto content = chapter.content();
    const std::string& text = content->text;
    size_t block = *step / 2;
    size_t offset = 0;
    if (!content->blockStarts.empty()) {
        if (block > content->blockStarts.size())
            return std::nullopt;
        offset = content->blockStarts[block - 1];
    } else if (block > 1) {
        return std::nullopt;
    }
    // Step forward `units` UTF-16 units, a character outside the basic plane counting two.
    while (units > 0 && offset < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[offset]);
        ++offset;
        while (offset < text.size() && isContinuationByte(text[offset]))
            ++offset;
        units -= lead >= 0xF0 && units >= 2 ? 2 : 1;
    }
    return std::min(offset, text.size());
}

} // namespace companion
