#include "companion/search/FoldedText.h"

#include <utf8proc.h>

namespace companion {

namespace {

bool isSpace(utf8proc_int32_t codePoint)
{
    auto category = utf8proc_category(codePoint);
    return codePoint == '\t' || codePoint == '\n' || codePoint == '\r' || codePoint == '\f' || codePoint == 0x0B
        || category == UTF8PROC_CATEGORY_ZS || category == UTF8PROC_CATEGORY_ZL || category == UTF8PROC_CATEGORY_ZP;
}

} // namespace

FoldedText foldForSearch(std::string_view text)
{
    FoldedText result;
    result.folded.reserve(text.size());
    result.sourceStart.reserve(text.size());
    result.sourceEnd.reserve(text.size());
    constexpr auto options = static_cast<utf8proc_option_t>(
        UTF8PROC_CASEFOLD | UTF8PROC_COMPAT | UTF8PROC_DECOMPOSE | UTF8PROC_STRIPMARK | UTF8PROC_IGNORE);
    size_t offset = 0;
    bool lastWasSpace = true;
    while (offset < text.size()) {
        utf8proc_int32_t codePoint = 0;
        auto length = utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(text.data() + offset),
            static_cast<utf8proc_ssize_t>(text.size() - offset), &codePoint);
        if (length <= 0) {
            // An invalid byte stands for itself as U+FFFD so offsets stay true.
            codePoint = 0xFFFD;
            length = 1;
        }
        size_t start = offset;
        size_t end = offset + static_cast<size_t>(length);
        offset = end;
        if (isSpace(codePoint)) {
            if (!lastWasSpace) {
                result.folded.push_back(U' ');
                result.sourceStart.push_back(start);
                result.sourceEnd.push_back(end);
            }
            lastWasSpace = true;
            continue;
        }
        utf8proc_int32_t buffer[32];
        int lastBoundClass = 0;
        auto count = utf8proc_decompose_char(codePoint, buffer, 32, options, &lastBoundClass);
        if (count < 0 || count > 32) {
            buffer[0] = codePoint;
            count = 1;
        }
        for (utf8proc_ssize_t index = 0; index < count; ++index) {
            result.folded.push_back(static_cast<char32_t>(buffer[index]));
            result.sourceStart.push_back(start);
            result.sourceEnd.push_back(end);
        }
        if (count > 0)
            lastWasSpace = false;
    }
    // No trailing space: the needle is folded the same way.
    if (!result.folded.empty() && result.folded.back() == U' ') {
        result.folded.pop_back();
        result.sourceStart.pop_back();
        result.sourceEnd.pop_back();
    }
    return result;
}

std::vector<TextMatch> findFolded(const FoldedText& haystack, const std::u32string& needle)
{
    std::vector<TextMatch> matches;
    if (needle.empty())
        return matches;
    size_t from = 0;
    while (true) {
        size_t found = haystack.folded.find(needle, from);
        if (found == std::u32string::npos)
            break;
        size_t last = found + needle.size() - 1;
        matches.push_back({ haystack.sourceStart[found], haystack.sourceEnd[last] });
        from = found + needle.size();
    }
    return matches;
}

} // namespace companion
