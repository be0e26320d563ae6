#pragma once

// Which bar items the help overlay explains, with which texts, on which screen.

#include <optional>

namespace lectoro {

struct HelpTextEntry {
    const char* titleKey;
    const char* detailKey;
    bool onSecondScreen;
    // "PenColor" or "Arrow" for items drawn as one shared call-out; "" otherwise.
    const char* tagName;
};

// The reader's own bars, by item tag (the bookmark view on a page carries 40). The pen
// tool's call-out moves to the second screen in EPUB books.
std::optional<HelpTextEntry> readerHelpTextForTag(int tag, bool isEpubBook);

// The teacher-review bars, by item tag.
std::optional<HelpTextEntry> teacherReviewHelpTextForTag(int tag);

} // namespace lectoro
