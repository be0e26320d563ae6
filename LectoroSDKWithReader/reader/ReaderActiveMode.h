#pragma once

#include <cstdint>

namespace lectoro {

// Which transient interaction owns the screen; taps, page loads, rotation and closing
// pop-ups branch on it. The gaps (7, 17, 19, 21) are unused values kept so the numbers
// stay those the toolbar tags and stored state were built with.
enum ReaderActiveMode : uint64_t {
    ReaderActiveModeNone = 0,
    ReaderActiveModeHighlightPopup = 1,
    ReaderActiveModeNoteView = 2,
    ReaderActiveModeBookmark = 3,
    ReaderActiveModeThumbnails = 4,
    ReaderActiveModePenTool = 5,
    ReaderActiveModeTeacherReview = 6,
    ReaderActiveModeMyData = 8,
    ReaderActiveModeContents = 9,
    ReaderActiveModeLinkAction = 10,
    ReaderActiveModeAudioPlayer = 11,
    ReaderActiveModeVideo = 12,
    ReaderActiveModeMultiLink = 13,
    ReaderActiveModeReflowableSettings = 14,
    ReaderActiveModeTextAnnotation = 15,
    ReaderActiveModeSearch = 16,
    ReaderActiveModeFillInBlank = 18,
    ReaderActiveModeGlossary = 20,
    ReaderActiveModeReadAloud = 22,
    ReaderActiveModeInstructionPopup = 23,
};

// The reader's read-aloud setting.
enum ReadAloudMode : int64_t {
    ReadAloudModeOff = 1,
    ReadAloudModeReadToMe = 2,
    ReadAloudModeAutoPlay = 3,
};

} // namespace lectoro
