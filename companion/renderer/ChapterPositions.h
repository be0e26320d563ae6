#pragma once

// The positions (CFIs) of an EPUB chapter, one per block directly under its <body>, or the
// chapter's start when it has none, so every chapter can be reached and timed. Parses the
// chapter when it is not parsed yet.

#include <cstddef>
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

} // namespace companion
