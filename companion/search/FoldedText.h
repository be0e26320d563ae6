#pragma once

// Text reduced for matching: case folded, compatibility-decomposed, combining marks
// dropped, every run of white space one space, kept as UTF-8. Matches map back to the
// original text through spans: where a stretch of folded text has the same length as its
// source (ASCII case folding, most of any text) one span covers it and offsets carry over
// one to one; a character whose folding changes its length gets a span of its own. So the
// index of a text costs about one byte per byte plus a little per changed character.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace companion {

struct FoldedText {
    struct Span {
        // Where the span starts in `folded` and in the source text.
        uint32_t folded = 0;
        uint32_t source = 0;
        // Bytes of source the span covers.
        uint32_t sourceLength = 0;
        // A span of one source character whose folded form has another length: every
        // folded byte of it maps to the whole character.
        bool squeezed = false;
    };

    std::string folded;
    std::vector<Span> spans;

    // The source offset where the folded character at `foldedOffset` starts, and the one
    // just after the folded character ending at `foldedEnd`.
    size_t sourceStart(size_t foldedOffset) const;
    size_t sourceEnd(size_t foldedEnd) const;
    size_t memoryBytes() const { return folded.capacity() + spans.capacity() * sizeof(Span); }
};

// Texts longer than 4 GB are folded up to that length.
FoldedText foldForSearch(std::string_view text);

// Non-overlapping matches of `needle` (already folded) in `haystack`, as byte ranges of the
// original text.
struct TextMatch {
    size_t start = 0;
    size_t end = 0;
};
std::vector<TextMatch> findFolded(const FoldedText& haystack, std::string_view needle);

} // namespace companion
