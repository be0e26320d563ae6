#pragma once

// Accessibility identifiers of toolbar items and the spoken-label keys of the
// "ReaderLectoroAccessibility" table they are announced with. UI tests and assistive tools
// find the bars' buttons by these, so they never change with the language.

namespace lectoro {

inline constexpr const char* PLAYER_TOC = "playerItemTOC";
inline constexpr const char* PLAYER_MY_DATA = "playerItemMyData";
inline constexpr const char* PLAYER_PEN_TOOL = "playerItemPenTool";
inline constexpr const char* PLAYER_STICKY_NOTE = "playerItemStickyNote";
inline constexpr const char* PLAYER_THUMBNAIL = "playerItemThumbnail";
inline constexpr const char* PLAYER_SEARCH = "playerItemSearch";
inline constexpr const char* PLAYER_VERTICAL_BAR = "playerItemVerticalBar";
inline constexpr const char* PLAYER_TEACHER_REVIEW = "playerItemTeacherReview";
inline constexpr const char* PLAYER_SUBMIT_ANNOTATION = "playerItemSubmitAnnotation";
inline constexpr const char* PLAYER_ADD_TEXT = "playerItemAddText";
inline constexpr const char* PLAYER_PROTRACTOR = "playerItemProtractor";
inline constexpr const char* PLAYER_PROFILE = "playerItemProfile";
inline constexpr const char* PLAYER_BOOKSHELF = "playerItemBackToBookshelf";
inline constexpr const char* PLAYER_DRAG_BOX = "playerItemDragBox";
inline constexpr const char* PLAYER_GENERATE_REPORT = "playerItemGenerateReport";
inline constexpr const char* PLAYER_NEXT_STUDENT = "playerItemNextStudent";
inline constexpr const char* PLAYER_PREVIOUS_STUDENT = "playerItemPreviousStudent";
inline constexpr const char* PLAYER_CHAPTER_NAME_LABEL = "playerItemChapterNameLabel";

inline constexpr const char* PENTOOL_COLOR_PALLET = "penToolColorPallet";
inline constexpr const char* PENTOOL_THICKNESS = "penToolThickness";
inline constexpr const char* PENTOOL_ERASER = "penToolEraser";
inline constexpr const char* PENTOOL_DELETE = "penToolDelete";
inline constexpr const char* PENTOOL_UNDO = "penToolUndo";
inline constexpr const char* PENTOOL_CLOSE = "penToolClose";

// Keys of the "Localizable" table the bars speak with.
inline constexpr const char* accessibilitySelectedKey = "ACCESSIBILITY_SELECTED";
inline constexpr const char* accessibilityColorKey = "ACCESSIBILITY_COLOR";
// The spoken label of a colour swatch: "<selected word> <colour word> <number>".
inline constexpr const char* penToolColorButtonElementID = "PenToolColorButton";

} // namespace lectoro
