#pragma once

// The positions (CFIs) of an EPUB chapter: those the book lists, or the chapter's start
// when it lists none, so every chapter can be reached and timed.

#include <string>
#include <vector>

namespace lectoro {
class EPUBChapterVO;
}

namespace companion {

std::vector<std::string> chapterPositions(const lectoro::EPUBChapterVO&);

} // namespace companion
