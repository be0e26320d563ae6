#pragma once

// Text reduced for matching: case folded, compatibility-decomposed, combining marks
// dropped, every run of white space one space. Each folded code point remembers where its
// source character lies in the original UTF-8, so a match maps back to the original text.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace companion {

struct FoldedText {
    std::u32string folded;
    // For folded[i]: byte offset of its source character, and of the character after it.
    std::vector<size_t> sourceStart;
    std::vector<size_t> sourceEnd;
};

FoldedText foldForSearch(std::string_view text);

// Non-overlapping matches of `needle` (already folded) in `haystack`, as byte ranges of the
// original text.
struct TextMatch {
    size_t start = 0;
    size_t end = 0;
};
std::vector<TextMatch> findFolded(const FoldedText& haystack, const std::u32string& needle);

} // namespace companion
