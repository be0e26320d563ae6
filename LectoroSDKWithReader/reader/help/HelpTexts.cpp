#include "LectoroSDKWithReader/reader/help/HelpTexts.h"

#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"

namespace lectoro {

namespace {

// A main-bar tag no item carries; its texts are those of the submit item.
constexpr int ItemTagSubmitPlaceholder = 5;

constexpr bool first = false;
constexpr bool second = true;

} // namespace

std::optional<HelpTextEntry> readerHelpTextForTag(int tag, bool isEpubBook)
{
    switch (tag) {
    case PlayerItemTOC:
        return HelpTextEntry { "HELP_TOC_BUTTON_TITLE", "HELP_TOC_BUTTON_DETAIL", first, "" };
    case PlayerItemMyData:
        return HelpTextEntry { "HELP_MY_DATA_BUTTON_TITLE", "HELP_MY_DATA_BUTTON_DETAIL", first, "" };
    case PlayerItemPenTool:
        return HelpTextEntry { "HELP_PEN_TOOL_BUTTON_TITLE", "HELP_PEN_TOOL_BUTTON_DETAIL", isEpubBook, "" };
    case PlayerItemStickyNote:
        return HelpTextEntry { "HELP_NOTE_BUTTON_TITLE", "HELP_NOTE_BUTTON_DETAIL", second, "" };
    case ItemTagSubmitPlaceholder:
        return HelpTextEntry { "HELP_SUBMIT_BUTTON_TITLE", "HELP_SUBMIT_BUTTON_DETAIL", first, "" };
    case PlayerItemThumbnail:
        return HelpTextEntry { "HELP_THUMBNAIL_BUTTON_TITLE", "HELP_THUMBNAIL_BUTTON_DETAIL", second, "" };
    case PlayerItemSearch:
        return HelpTextEntry { "SEARCH", "HELP_SEARCH_BUTTON_DETAIL", first, "" };
    case PlayerItemMore:
        return HelpTextEntry { "HELP_MORE_SETTINGS_BUTTON_TITLE", "HELP_MORE_SETTINGS_BUTTON_DETAIL", second,
            "" };
    case PlayerItemTeacherReview:
        return HelpTextEntry { "SETTINGS", "HELP_SETTING_BUTTON_DETAIL", second, "" };
    case PlayerItemSubmitAnnotation:
        return HelpTextEntry { "HELP_SUBMIT_BUTTON_TITLE", "HELP_SUBMIT_BUTTON_DETAIL", second, "" };
    case PlayerItemProfile:
        return HelpTextEntry { "HELP_PROFILE_BUTTON_TITLE", "HELP_PROFILE_BUTTON_DETAIL", first, "" };
    case PlayerItemFontSetting:
        return HelpTextEntry { "HELP_FONT_SETTING_BUTTON_TITLE", "HELP_FONT_SETTING_BUTTON_DETAIL", second,
            "" };
    case PlayerItemAddText:
        return HelpTextEntry { "HELP_ADDTEXT_BUTTON_TITLE", "HELP_ADDTEXT_BUTTON_DETAIL", second, "" };
    case PlayerItemProtractor:
        return HelpTextEntry { "HELP_PROTRACTOR_BUTTON_TITLE", "HELP_PROTRACTOR_BUTTON_DETAIL", second, "" };
    case PlayerItemBackToBookshelf:
        return HelpTextEntry { "HELP_HOME_BUTTON_TITLE", "HELP_HOME_BUTTON_DETAIL", first, "" };
    case PlayerItemClearAllFIBs:
        return HelpTextEntry { "HELP_CLEAR_BUTTON_TITLE", "HELP_CLEAR_BUTTON_DETAIL", second, "" };
    case PlayerItemFurthestPage:
        return HelpTextEntry { "HELP_FURTHEST_PAGE_TITLE", "HELP_FURTHEST_PAGE_DETAIL", second, "" };
    case PlayerItemBookmark:
        return HelpTextEntry { "HELP_BOOKMARK_BUTTON_TITLE", "HELP_BOOKMARK_BUTTON_DETAIL", second, "" };
    default:
        return std::nullopt;
    }
}

std::optional<HelpTextEntry> teacherReviewHelpTextForTag(int tag)
{
    switch (tag) {
    case PlayerItemTeacherPenColor:
        return HelpTextEntry { "HELP_PEN_TOOL_BUTTON_TITLE", "HELP_PEN_TOOL_BUTTON_DETAIL", first, "" };
    case PlayerItemTeacherEraser:
        return HelpTextEntry { "HELP_ERASER_BUTTON_TITLE", "HELP_ERASER_BUTTON_DETAIL", first, "" };
    case PlayerItemTeacherDelete:
        return HelpTextEntry { "HELP_CLEAR_BUTTON_TITLE", "HELP_CLEAR_BUTTON_DETAIL", second, "" };
    case PlayerItemTeacherUndo:
        return HelpTextEntry { "HELP_UNDO_BUTTON_TITLE", "HELP_UNDO_BUTTON_DETAIL", second, "" };
    case PlayerItemTeacherThumbnail:
        return HelpTextEntry { "HELP_THUMBNAIL_BUTTON_TITLE", "HELP_THUMBNAIL_BUTTON_DETAIL", second, "" };
    case PlayerItemNextPage:
    case PlayerItemPreviousPage:
        return HelpTextEntry { "HELP_ARROW_BUTTON_TITLE", "HELP_ARROW_BUTTON_DETAIL", first, "Arrow" };
    case PlayerItemDone:
        return HelpTextEntry { "DONE", "HELP_DONE_BUTTON_DETAIL", first, "" };
    case PlayerItemBackToStudentList:
        return HelpTextEntry { "HELP_STUDENT_PROFILE_BUTTON_TITLE", "HELP_STUDENT_PROFILE_BUTTON_DETAIL",
            second, "" };
    case PlayerItemPenColorSwatch:
        return HelpTextEntry { "HELP_MARKER_BUTTON_TITLE", "HELP_MARKER_BUTTON_DETAIL", first, "PenColor" };
    case PlayerItemDragBox:
        return HelpTextEntry { "HELP_DRAG_BOX_STUDENT_TITLE", "HELP_DRAG_BOX_STUDENT_DETAIL", first, "" };
    case PlayerItemGenerateReport:
        return HelpTextEntry { "HELP_GENERATE_REPORT_STUDENT_TITLE", "HELP_GENERATE_REPORT_STUDENT_DETAIL",
            second, "" };
    case PlayerItemNextStudent:
        return HelpTextEntry { "HELP_NEXT_STUDENT_TITLE", "HELP_NEXT_STUDENT_DETAIL", first, "" };
    case PlayerItemPreviousStudent:
        return HelpTextEntry { "HELP_PREV_STUDENT_TITLE", "HELP_PREV_STUDENT_DETAIL", first, "" };
    default:
        return std::nullopt;
    }
}

} // namespace lectoro
