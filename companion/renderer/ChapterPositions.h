#pragma once

// The positions (CFIs) of an EPUB chapter, one per block directly under its <body>, or the
// chapter's start when it has none, so every chapter can be reached and timed. Parses the
// chapter when it is not parsed yet.
//
// A position inside a block names the block and the UTF-16 units from the block's start in
// the chapter's readable text: "epubcfi(/6/<2·(file index + 1)>[idref]!/4/<2·block>/1:<units>)".
// A block's own position ("…!/4/<2·block>)") is its start.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {
class EPUBChapterVO;
}

namespace companion {

std::vector<std::string> chapterPositions(const lectoro::EPUBChapterVO&);

// How many positions one screen shows (a screenful of paragraphs). A chapter is laid out as one screen (its first
// range), and the positions reported as on screen are timed by the reader on every session
// save, one event each: they must stay bounded however many blocks a chapter holds.
constexpr size_t positionsPerScreen = 8;

// The positions on the chapter's screen: its first `positionsPerScreen` positions.
std::vector<std::string> screenPositions(const lectoro::EPUBChapterVO&);
// The position of the character at `byteOffset` of the chapter's text.
std::string positionOfOffset(const lectoro::EPUBChapterVO&, size_t byteOffset);
// The byte offset in the chapter's text that a position of this chapter names (clamped to
// the text); absent for a position that is not of this form or names a block the chapter
// lacks. The spine step is not checked: the caller has chosen the chapter.
std::optional<size_t> offsetOfPosition(const lectoro::EPUBChapterVO&, const std::string& position);

} // namespace companion
