#pragma once

// The integer vocabulary of the reading screen's toolbars: bar tags (which bar a tap came
// from) and item tags (which button). Item tags form one space shared by every bar; what a
// value means depends on the bar, so several names below share a value.

#include <optional>

namespace lectoro {

enum PlayerActionBarTag : int {
    // No bar carries 0 or 1; the dispatcher treats them as the main bars.
    MainBarGroup = 0,
    MainBarGroupAlternate = 1,
    TopBar = 2,
    // The reader's bottom bar, and the vertical "more" bar outside teacher review.
    BottomBar = 3,
    PenToolBar = 4,
    TextAnnotationBar = 5,
    TextAlignmentBar = 6,
    TextColorBar = 7,
    ReadAloudBar = 8,
    AudioSyncBar = 11,
    // Teacher-annotation and teacher-review bars, and the vertical bar in teacher review.
    TeacherBar = 12,
};

// The group a bar's tag is dispatched under: 0 to 3 are the main bars (answered as
// BottomBar's group, MainBarGroup), the others as themselves; 9, 10 and anything outside
// 0...12 take part in no dispatch.
std::optional<PlayerActionBarTag> playerActionBarGroupForTag(int barTag);

enum PlayerActionItemTag : int {
    // Main bars (tags 0 to 3).
    PlayerItemTOC = 1,
    PlayerItemMyData = 2,
    PlayerItemPenTool = 3,
    PlayerItemStickyNote = 4,
    PlayerItemThumbnail = 6,
    PlayerItemSearch = 7,
    PlayerItemPageSlider = 8,
    PlayerItemMore = 11,
    PlayerItemTeacherReview = 12,
    PlayerItemSubmitAnnotation = 13,
    PlayerItemReadAloud = 14,
    PlayerItemProfile = 16,
    PlayerItemFontSetting = 17,
    PlayerItemAddText = 19,
    PlayerItemProtractor = 21,
    PlayerItemBackToBookshelf = 22,
    PlayerItemClearAllFIBs = 27,
    PlayerItemPrint = 30,
    PlayerItemFurthestPage = 31,

    // Pen-tool bar.
    PlayerItemPenColor = 0,
    PlayerItemPenThickness = 1,
    PlayerItemPenEraser = 2,
    PlayerItemPenDeleteSelection = 3,
    PlayerItemPenUndo = 5,
    PlayerItemPenClose = 11,
    PlayerItemPenColorSwatch = 18,

    // Teacher bars.
    PlayerItemTeacherPenColor = 0,
    PlayerItemTeacherEraser = 2,
    PlayerItemTeacherDelete = 3,
    PlayerItemStudentName = 4,
    PlayerItemTeacherUndo = 5,
    PlayerItemTeacherThumbnail = 6,
    PlayerItemTeacherMore = 7,
    PlayerItemNextPage = 8,
    PlayerItemPreviousPage = 9,
    PlayerItemTeacherPenToolDimmed = 10,
    PlayerItemDone = 11,
    PlayerItemPageNumber = 12,
    PlayerItemBackToStudentList = 16,
    PlayerItemDragBox = 34,
    PlayerItemGenerateReport = 35,
    PlayerItemNextStudent = 36,
    PlayerItemPreviousStudent = 37,

    // Read-aloud and audio-sync bars.
    PlayerItemPlayPause = 15,
    PlayerItemSpeedDecrease = 23,
    PlayerItemReadAloudPreviousPage = 23,
    PlayerItemSpeedIncrease = 24,
    PlayerItemReadAloudNextPage = 24,
    PlayerItemSpeedText = 25,
    PlayerItemMarkupClose = 26,
    PlayerItemSpeedRate = 29,
    PlayerItemAudioSyncColorSwatch = 32,
    PlayerItemAudioSyncColorPalette = 33,

    // Text-annotation bars.
    PlayerItemTextCancel = 1,
    PlayerItemTextAlignment = 2,
    PlayerItemTextColor = 3,
    PlayerItemTextDone = 4,
    PlayerItemTextExit = 5,
    PlayerItemTextDelete = 6,
    PlayerItemTextKeyboard = 7,

    // Values no bar uses.
    PlayerItemUnused20 = 20,
    PlayerItemUnused28 = 28,

    // Not a bar item: the bookmark button on a page; only the help overlay names it.
    PlayerItemBookmark = 40,
};

// The metadata key under which a colour swatch of a bar keeps its colour text.
inline constexpr const char* penColorMetaDataKey = "penColor";

} // namespace lectoro
