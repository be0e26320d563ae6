#include "LectoroSDKWithReader/readingaids/TextLanguage.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <utility>

namespace lectoro {

namespace {

// Decodes the next code point; an invalid byte is skipped as U+FFFD.
char32_t nextCodePoint(std::string_view text, size_t& index)
{
    auto byte = static_cast<unsigned char>(text[index++]);
    if (byte < 0x80)
        return byte;
    int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : -1;
    if (extra < 0 || index + static_cast<size_t>(extra) > text.size())
        return 0xFFFD;
    char32_t point = byte & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        auto next = static_cast<unsigned char>(text[index]);
        if ((next & 0xC0) != 0x80)
            return 0xFFFD;
        point = (point << 6) | (next & 0x3F);
        ++index;
    }
    return point;
}

struct ScriptRange {
    char32_t first;
    char32_t last;
    const char* language;
};

constexpr std::array<ScriptRange, 20> scripts { {
    { U'A', U'Z', "en" },
    { U'a', U'z', "en" },
    { 0x00C0, 0x024F, "en" },
    { 0x0370, 0x03FF, "el" },
    { 0x0400, 0x04FF, "ru" },
    { 0x0590, 0x05FF, "he" },
    { 0x0600, 0x06FF, "ar" },
    { 0x0750, 0x077F, "ar" },
    { 0x08A0, 0x08FF, "ar" },
    { 0x0900, 0x097F, "hi" },
    { 0x0E00, 0x0E7F, "th" },
    { 0x1100, 0x11FF, "ko" },
    { 0x3040, 0x30FF, "ja" },
    { 0x4E00, 0x9FFF, "zh" },
    { 0xAC00, 0xD7AF, "ko" },
    { 0xFB1D, 0xFB4F, "he" },
    { 0xFB50, 0xFDFF, "ar" },
    { 0xFE70, 0xFEFF, "ar" },
    { 0x1E00, 0x1EFF, "en" },
    { 0x3400, 0x4DBF, "zh" },
} };

} // namespace

std::optional<std::string> bestLanguageOfText(std::string_view text)
{
    std::array<std::pair<const char*, int>, 10> counts {};
    size_t used = 0;
    for (size_t index = 0; index < text.size();) {
        char32_t point = nextCodePoint(text, index);
        for (const auto& script : scripts) {
            if (point < script.first || point > script.last)
                continue;
            auto found = std::find_if(counts.begin(), counts.begin() + static_cast<std::ptrdiff_t>(used),
                [&](const auto& entry) { return std::string_view(entry.first) == script.language; });
            if (found == counts.begin() + static_cast<std::ptrdiff_t>(used) && used < counts.size())
                counts[used++] = { script.language, 0 };
            if (found != counts.end())
                ++found->second;
            break;
        }
    }
    if (used == 0)
        return std::nullopt;
    // The first script met wins a tie.
    auto best = std::max_element(counts.begin(), counts.begin() + static_cast<std::ptrdiff_t>(used),
        [](const auto& a, const auto& b) { return a.second < b.second; });
    return std::string(best->first);
}

bool isRightToLeftLanguage(std::string_view code)
{
    std::string primary;
    for (char c : code) {
        if (c == '-' || c == '_')
            break;
        primary += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    static constexpr std::array<std::string_view, 12> rightToLeft { "ar", "he", "iw", "fa", "ur", "yi", "ps",
        "sd", "dv", "ckb", "ug", "ji" };
    return std::find(rightToLeft.begin(), rightToLeft.end(), primary) != rightToLeft.end();
}

} // namespace lectoro
