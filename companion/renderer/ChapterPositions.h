#pragma once

// The positions (CFIs) of an EPUB chapter, one per block directly under its <body>, or the
// chapter's start when it has none, so every chapter can be reached and timed. Parses the
// chapter when it is not parsed yet.

#include <string>
#include <vector>

namespace lectoro {
class EPUBChapterVO;
}

namespace companion {

std::vector<std::string> chapterPositions(const lectoro::EPUBChapterVO&);

} // namespace companion
