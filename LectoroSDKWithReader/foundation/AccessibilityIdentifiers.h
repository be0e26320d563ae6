#pragma once

// Accessibility identifiers that screens give their controls, fixed so that UI tests and
// assistive tools find the same control in every language.

namespace lectoro {

inline constexpr const char* FILTER_APPLY_BUTTON = "filterApplyButton";
inline constexpr const char* FILTER_TITLE_LABEL = "filterTitleLabel";
inline constexpr const char* MYDATA_BACK_BUTTON = "myDataBackBtn";
inline constexpr const char* MYDATA_BACK_BUTTON_TEXT = "myDataBackBtnText";
inline constexpr const char* MYDATA_FILTER_BUTTON = "myDataFilterBtn";
inline constexpr const char* MYDATA_HIGHLIGHT_BUTTON = "myDataHighlightBtn";
inline constexpr const char* MYDATA_HIGHLIGHT_COUNT_LABEL = "myDataHighlightCountLabel";
inline constexpr const char* MYDATA_NOTES_BUTTON = "myDataNotesBtn";
inline constexpr const char* MYDATA_NOTES_COUNT_LABEL = "myDataNotesCountLabel";
inline constexpr const char* MYDATA_NOTIFICATION_BUTTON = "myDataNotificationBtn";
inline constexpr const char* MYDATA_SHARE_SETTINGS_BUTTON = "myDataShareSettingsBtn";
inline constexpr const char* READER_SEARCH_CANCEL_BUTTON = "readerSearchCancelBtn";
inline constexpr const char* READER_SEARCH_NEXT_BUTTON = "readerSearchNextBtn";
inline constexpr const char* READER_SEARCH_OPEN_BUTTON = "readerSearchOpenBtn";
inline constexpr const char* READER_SEARCH_PREV_BUTTON = "readerSearchPrevBtn";
inline constexpr const char* READER_SEARCH_TEXT_FIELD = "readerSearchTextField";
inline constexpr const char* SHARE_SETTINGS_BACK_BUTTON = "shareSettingsBackBtn";
inline constexpr const char* SHARE_SETTINGS_CANCEL_BUTTON = "shareSettingsCancelBtn";
inline constexpr const char* SHARE_SETTINGS_CLASS_NAME_BUTTON = "shareSettingsClassNameBtn";
inline constexpr const char* SHARE_SETTINGS_DONE_BUTTON = "shareSettingsDoneBtn";
inline constexpr const char* SHARE_SETTINGS_DROP_DOWN_BUTTON = "shareSettingsDropDownBtn";
inline constexpr const char* SHARE_SETTINGS_RECEIVE_ALL_BUTTON = "shareSettingsReceiveAllBtn";
inline constexpr const char* SHARE_SETTINGS_RECEIVE_LABEL = "shareSettingsReceiveLabel";
inline constexpr const char* SHARE_SETTINGS_SHARE_ALL_BUTTON = "shareSettingsShareAllBtn";
inline constexpr const char* SHARE_SETTINGS_SHARE_LABEL = "shareSettingsShareLabel";
inline constexpr const char* SHARE_SETTINGS_TITLE_BUTTON = "shareSettingsTitleButton";
inline constexpr const char* STICKY_NOTE_BACK_BUTTON = "stickyNoteBackBtn";
inline constexpr const char* STICKY_NOTE_COMMENT_POST_BUTTON = "stickyNoteCommentPosttn";
inline constexpr const char* STICKY_NOTE_COMMENT_TEXT_FIELD = "stickyNoteCommentTextField";
inline constexpr const char* STICKY_NOTE_DELETE_BUTTON = "stickyNoteDeleteBtn";
inline constexpr const char* STICKY_NOTE_MORE_BUTTON = "stickyNoteMoreBtn";
inline constexpr const char* STICKY_NOTE_NOTE_TEXT_VIEW = "stickyNoteNoteTextView";
inline constexpr const char* STICKY_NOTE_POST_BUTTON = "stickyNotePostBtn";
inline constexpr const char* STICKY_NOTE_SELECTED_TEXT_TEXT_VIEW = "stickyNoteSelectedTextTextView";
inline constexpr const char* STICKY_NOTE_SHARE_BUTTON = "stickyNoteShareBtn";
inline constexpr const char* STICKY_NOTE_TITLE_BUTTON = "stickyNoteTitleBtn";
inline constexpr const char* TOC_BACK_BUTTON = "tocBackBtn";
inline constexpr const char* TOC_BOOKMARK_BUTTON = "tocBookmarkBtn";
inline constexpr const char* TOC_CONTENT_BUTTON = "tocContentBtn";
inline constexpr const char* TOC_ELPS_BUTTON = "tocElpsBtn";
inline constexpr const char* TOC_EXTERNAL_RESOURCE_BUTTON = "tocExternalResourcesBtn";
inline constexpr const char* TOC_HEADER_TITLE = "tocHeaderTitle";
inline constexpr const char* TOC_INTERNAL_RESOURCE_BUTTON = "tocInternalResourcesBtn";
inline constexpr const char* TOC_RESOURCES_BUTTON = "tocResourcesBtn";
inline constexpr const char* TOC_STANDARDS_BUTTON = "tocStandardsBtn";
inline constexpr const char* TOC_TEKS_BUTTON = "tocTeksBtn";

} // namespace lectoro
