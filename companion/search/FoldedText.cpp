#include "companion/search/FoldedText.h"

#include <utf8proc.h>

#include <algorithm>
#include <limits>

namespace companion {

namespace {

bool isSpace(utf8proc_int32_t codePoint)
{
    auto category = utf8proc_category(codePoint);
    return codePoint == '\t' || codePoint == '\n' || codePoint == '\r' || codePoint == '\f' || codePoint == 0x0B
        || category == UTF8PROC_CATEGORY_ZS || category == UTF8PROC_CATEGORY_ZL || category == UTF8PROC_CATEGORY_ZP;
}

void appendUtf8(std::string& into, utf8proc_int32_t codePoint)
{
    utf8proc_uint8_t bytes[4];
    auto length = utf8proc_encode_char(codePoint, bytes);
    if (length <= 0) {
        // Not a code point: the replacement character.
        length = utf8proc_encode_char(0xFFFD, bytes);
    }
    into.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
}

// Appends the folded bytes of the source character [start, end), written at `foldedAt`.
void addSpan(FoldedText& text, size_t foldedAt, size_t start, size_t end)
{
    size_t foldedLength = text.folded.size() - foldedAt;
    size_t sourceLength = end - start;
    if (foldedLength == sourceLength && !text.spans.empty()) {
        auto& last = text.spans.back();
        if (!last.squeezed && last.folded + last.sourceLength == foldedAt && last.source + last.sourceLength == start) {
            last.sourceLength += static_cast<uint32_t>(sourceLength);
            return;
        }
    }
    text.spans.push_back({ static_cast<uint32_t>(foldedAt), static_cast<uint32_t>(start), static_cast<uint32_t>(sourceLength),
        foldedLength != sourceLength });
}

} // namespace

size_t FoldedText::sourceStart(size_t foldedOffset) const
{
    auto span = std::upper_bound(spans.begin(), spans.end(), foldedOffset, [](size_t offset, const Span& candidate) {
        return offset < candidate.folded;
    });
    if (span == spans.begin())
        return 0;
    --span;
    return span->squeezed ? span->source : span->source + (foldedOffset - span->folded);
}

size_t FoldedText::sourceEnd(size_t foldedEnd) const
{
    if (foldedEnd == 0)
        return 0;
    // The span holding the last folded byte.
    auto span = std::upper_bound(spans.begin(), spans.end(), foldedEnd - 1, [](size_t offset, const Span& candidate) {
        return offset < candidate.folded;
    });
    if (span == spans.begin())
        return 0;
    --span;
    return span->squeezed ? span->source + span->sourceLength : span->source + (foldedEnd - span->folded);
}

FoldedText foldForSearch(std::string_view text)
{
    if (text.size() > std::numeric_limits<uint32_t>::max())
        text = text.substr(0, std::numeric_limits<uint32_t>::max());
    FoldedText result;
    result.folded.reserve(text.size());
    constexpr auto options = static_cast<utf8proc_option_t>(
        UTF8PROC_CASEFOLD | UTF8PROC_COMPAT | UTF8PROC_DECOMPOSE | UTF8PROC_STRIPMARK | UTF8PROC_IGNORE);
    size_t offset = 0;
    bool lastWasSpace = true;
    // A run of white space folds to one space.
    auto addSpace = [&](size_t start, size_t end) {
        if (!lastWasSpace) {
            size_t at = result.folded.size();
            result.folded.push_back(' ');
            addSpan(result, at, start, end);
        }
        lastWasSpace = true;
    };
    while (offset < text.size()) {
        size_t start = offset;
        unsigned char byte = static_cast<unsigned char>(text[offset]);
        if (byte < 0x80) {
            // ASCII, most of any book: folded without a table look-up.
            ++offset;
            if (byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\f' || byte == 0x0B) {
                addSpace(start, offset);
                continue;
            }
            size_t at = result.folded.size();
            result.folded.push_back(static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte));
            addSpan(result, at, start, offset);
            lastWasSpace = false;
            continue;
        }
        utf8proc_int32_t codePoint = 0;
        auto length = utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(text.data() + offset),
            static_cast<utf8proc_ssize_t>(text.size() - offset), &codePoint);
        if (length <= 0) {
            // An invalid byte stands for itself as U+FFFD so offsets stay true.
            codePoint = 0xFFFD;
            length = 1;
        }
        offset += static_cast<size_t>(length);
        if (isSpace(codePoint)) {
            addSpace(start, offset);
            continue;
        }
        utf8proc_int32_t buffer[32];
        int lastBoundClass = 0;
        auto count = utf8proc_decompose_char(codePoint, buffer, 32, options, &lastBoundClass);
        if (count < 0 || count > 32) {
            buffer[0] = codePoint;
            count = 1;
        }
        if (count == 0)
            continue;
        size_t at = result.folded.size();
        for (utf8proc_ssize_t index = 0; index < count; ++index)
            appendUtf8(result.folded, buffer[index]);
        addSpan(result, at, start, offset);
        lastWasSpace = false;
    }
    // No trailing space: the needle is folded the same way.
    if (!result.folded.empty() && result.folded.back() == ' ') {
        result.folded.pop_back();
        if (!result.spans.empty()) {
            auto& last = result.spans.back();
            if (last.folded == result.folded.size())
                result.spans.pop_back();
            else if (!last.squeezed)
                --last.sourceLength;
        }
    }
    result.folded.shrink_to_fit();
    result.spans.shrink_to_fit();
    return result;
}

std::vector<TextMatch> findFolded(const FoldedText& haystack, std::string_view needle)
{
    std::vector<TextMatch> matches;
    if (needle.empty())
        return matches;
    // Both sides are valid UTF-8, so a byte match starts and ends on character boundaries.
    std::string_view folded(haystack.folded);
    size_t from = 0;
    while (true) {
        size_t found = folded.find(needle, from);
        if (found == std::string_view::npos)
            break;
        matches.push_back({ haystack.sourceStart(found), haystack.sourceEnd(found + needle.size()) });
        from = found + needle.size();
    }
    return matches;
}

} // namespace companion
