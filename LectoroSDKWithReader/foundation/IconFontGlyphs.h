#pragma once

// One-character texts of the companion framework's icon font, by the name every screen uses.
// They are drawn in the font named by MVLectoroFontManager::getFontName().

namespace lectoro {

inline constexpr const char* COMMENT_ICON = "[";
inline constexpr const char* HTMLWRAP_ICON = "]";
inline constexpr const char* ICON_ASSESSMENT = "h";
inline constexpr const char* ICON_AUDIO = "i";
inline constexpr const char* ICON_AUDIO_SYNC = "\xe1\xbe\x85"; // U+1F85
inline constexpr const char* ICON_BACK = "G";
inline constexpr const char* ICON_BOOKSHELF = "a";
inline constexpr const char* ICON_CENTER_ALIGN = "\xd0\xa8"; // U+0428
inline constexpr const char* ICON_CHECK = "F";
inline constexpr const char* ICON_CHECKEDBOX = "\xcd\xbd"; // U+037D
inline constexpr const char* ICON_CLEAR = "\xc4\x8d"; // U+010D
inline constexpr const char* ICON_CLOSE = "\xe2\x88\x9e"; // U+221E
inline constexpr const char* ICON_COLORPALLET = "\xe1\xb9\x94"; // U+1E54
inline constexpr const char* ICON_COMMENT = "\xc3\x89"; // U+00C9
inline constexpr const char* ICON_DELETE_OUTLINE = "C";
inline constexpr const char* ICON_DOWNARROW = "7";
inline constexpr const char* ICON_DOWNLOAD = "s";
inline constexpr const char* ICON_DROPDOWN = "7";
inline constexpr const char* ICON_EQUATION_EDITOR = "\xe1\xbb\x87"; // U+1EC7
inline constexpr const char* ICON_EQUATION_EDITOR_NEW = "\xe2\x94\xbc"; // U+253C
inline constexpr const char* ICON_ERASER = "$";
inline constexpr const char* ICON_FILL_IN_THE_BLANK_DROP_DOWN = "\xc3\xad"; // U+00ED
inline constexpr const char* ICON_FILL_IN_THE_BLANK_INPUT_TYPE = "\xc3\xae"; // U+00EE
inline constexpr const char* ICON_FONTSETTING = "\xc2\xa3"; // U+00A3
inline constexpr const char* ICON_GLOSSARY = "\xc3\x84"; // U+00C4
inline constexpr const char* ICON_HIGHLIGHTER_K12 = "e";
inline constexpr const char* ICON_HighlightNew = "\xef\xac\xa8"; // U+FB28
inline constexpr const char* ICON_IMAGE1 = "k";
inline constexpr const char* ICON_IMAGE_ZOOM = "\xc4\x9c"; // U+011C
inline constexpr const char* ICON_IMMERSIVE_READER = "\xe1\xba\xa6"; // U+1EA6
inline constexpr const char* ICON_JUMP_TO_BOOK = "\xc9\x99"; // U+0259
inline constexpr const char* ICON_JUMP_TO_SCREEN = "o";
inline constexpr const char* ICON_KEYBOARD_DOWN = "\xc6\xbb"; // U+01BB
inline constexpr const char* ICON_KEYBOARD_UP = "\xc6\xa6"; // U+01A6
inline constexpr const char* ICON_LEFT_ALIGN = "\xd0\xa6"; // U+0426
inline constexpr const char* ICON_MEDIA_PAUSE = "K";
inline constexpr const char* ICON_MEDIA_PLAY = "L";
inline constexpr const char* ICON_MOVE_SHELF_UP = "\xc3\x81"; // U+00C1
inline constexpr const char* ICON_MULTI_SELECT = "\xe2\x88\x82"; // U+2202
inline constexpr const char* ICON_MYDATA = "0";
inline constexpr const char* ICON_NEXT = "H";
inline constexpr const char* ICON_PENTOOL = "t";
inline constexpr const char* ICON_PENTThIKNESS = "\xe1\xbb\x89"; // U+1EC9
inline constexpr const char* ICON_PREV_PAGE_ICON = "G";
inline constexpr const char* ICON_PRINT = "A";
inline constexpr const char* ICON_PROTRACTOR = "\xe1\xbb\x8d"; // U+1ECD
inline constexpr const char* ICON_RIGHT_ALIGN = "\xd0\xa9"; // U+0429
inline constexpr const char* ICON_SAVE = "\xe1\xba\x9f"; // U+1E9F
inline constexpr const char* ICON_SCROLLUP = "\xef\xac\xa6"; // U+FB26
inline constexpr const char* ICON_SEARCH = "d";
inline constexpr const char* ICON_SELECT_CLASS = "\xc2\xb5"; // U+00B5
inline constexpr const char* ICON_SHARE = "\xc5\x99"; // U+0159
inline constexpr const char* ICON_SHARE_NOTE = "\xc6\xbd"; // U+01BD
inline constexpr const char* ICON_SURVEY = "\xc7\xbf"; // U+01FF
inline constexpr const char* ICON_TAPPABLE_STICKY_NOTE = "\xc2\xb8"; // U+00B8
inline constexpr const char* ICON_TEACHER_COMMENT = "\xe1\xbb\x9e"; // U+1EDE
inline constexpr const char* ICON_TEXTANNOTATION = "\xca\xa7"; // U+02A7
inline constexpr const char* ICON_TEXTANNOTATION_ADD = "\xc6\xb8"; // U+01B8
inline constexpr const char* ICON_TEXT_COLOR = "\xc6\x94"; // U+0194
inline constexpr const char* ICON_THUMBNAIL = "g";
inline constexpr const char* ICON_TOC = "b";
inline constexpr const char* ICON_TRANSLATION = "\xd0\xbc"; // U+043C
inline constexpr const char* ICON_UNCHECKEDBOX = "\xcd\xbb"; // U+037B
inline constexpr const char* ICON_UNDO = "<";
inline constexpr const char* ICON_UPARROW = "6";
inline constexpr const char* ICON_VIDEO1 = "j";
inline constexpr const char* ICON_WEBLINK = "n";
inline constexpr const char* INFO_ICON = "\xc4\x81"; // U+0101
inline constexpr const char* LECTORO_LOGO_ICON = "\xc3\x98"; // U+00D8
inline constexpr const char* MULTIFILE_ICON = "@";
inline constexpr const char* NOTE_TEXT_ICON = "V";
inline constexpr const char* RADIO_SELECT = "\xc5\xb9"; // U+0179
inline constexpr const char* RADIO_UNSELECT = "\xc5\xb7"; // U+0177
inline constexpr const char* READ_TO_ME_AUTOPLAY = "i";
inline constexpr const char* READ_TO_ME_LET_ME_READ = "\xc7\x9d"; // U+01DD
inline constexpr const char* READ_TO_ME_READ_TO_ME = "\xc5\x9e"; // U+015E
inline constexpr const char* SEND_ARROW_ICON = "\xc2\xa4"; // U+00A4
inline constexpr const char* SLIDE_SHOW_ICON = "\xc3\x83"; // U+00C3
inline constexpr const char* STUDENT_TEACHER_ICON = "\xc2\xa5"; // U+00A5
inline constexpr const char* TEACHER_ANNOTATION_ICON = "/";
inline constexpr const char* TOC_BOOKMARK_NORMAL_ICON = "p";
inline constexpr const char* VIDEO_PLAYER_CLOSE_ICON = "2";

} // namespace lectoro
