#pragma once

// The fixed analytics vocabulary: live event names, their parameter keys and values. The
// texts are what the analytics back end expects and must not change.

namespace lectoro {

class LectoroReaderEventConstant {
public:
#define LECTORO_EVENT_CONSTANT(name, value)                                                                  \
    static constexpr const char* name()                                                                      \
    {                                                                                                        \
        return value;                                                                                        \
    }

    // Event names.
    LECTORO_EVENT_CONSTANT(bookmarkEventName, "bookmark_data_live")
    LECTORO_EVENT_CONSTANT(pentoolEventName, "pen_tool_data_live")
    LECTORO_EVENT_CONSTANT(protractorEventName, "protractor_data_live")
    LECTORO_EVENT_CONSTANT(equationEditorEventName, "equation_editor_data_live")
    LECTORO_EVENT_CONSTANT(readAloudEventName, "read_aloud_data_live")
    LECTORO_EVENT_CONSTANT(homeButtonEventName, "home_button_use_live")
    LECTORO_EVENT_CONSTANT(tocEventName, "toc_icon_use_live")
    LECTORO_EVENT_CONSTANT(thumbnailEventName, "thumbnail_data_live")
    LECTORO_EVENT_CONSTANT(teacherReviewEventName, "teacher_review_data_live")
    LECTORO_EVENT_CONSTANT(fontResetEventName, "reset_data_live")
    LECTORO_EVENT_CONSTANT(highlightEventName, "highlight_data_live")
    LECTORO_EVENT_CONSTANT(stickyNoteEventName, "sticky_note_data_live")
    LECTORO_EVENT_CONSTANT(contextualNoteEventName, "contextual_note_data_live")
    LECTORO_EVENT_CONSTANT(searchEventName, "search_performed_live")
    LECTORO_EVENT_CONSTANT(fontFamilyEventName, "font_data_live")
    LECTORO_EVENT_CONSTANT(fontSizeEventName, "font_size_data_live")
    LECTORO_EVENT_CONSTANT(fontAlignmentDataEventName, "alignment_data_live")
    LECTORO_EVENT_CONSTANT(fontLineSpacingEventName, "line_spacing_data_live")
    LECTORO_EVENT_CONSTANT(fontMarginDataEventName, "margin_data_live")
    LECTORO_EVENT_CONSTANT(fontReadingModeEventName, "reading_mode_data_live")
    LECTORO_EVENT_CONSTANT(fontScrollViewEventName, "scroll_view_data_live")
    LECTORO_EVENT_CONSTANT(markupEventName, "markup_live")
    LECTORO_EVENT_CONSTANT(highLightPopUpEventName, "highlight_Popup")

    // Parameter keys.
    LECTORO_EVENT_CONSTANT(highlightEventParameterNoteColor, "note_color")
    LECTORO_EVENT_CONSTANT(stickyNoteEventParameterNoteColor, "note_color")
    LECTORO_EVENT_CONSTANT(contextualNoteEventParameterNoteColor, "note_color")
    LECTORO_EVENT_CONSTANT(searchEventParameterSearchText, "search_text")
    LECTORO_EVENT_CONSTANT(fontFamilyEventParameterFontValue, "font_value")
    LECTORO_EVENT_CONSTANT(fontSizeEventParameterFontSizeValue, "font_size_value")
    LECTORO_EVENT_CONSTANT(fontAlignmentDataEventParameterFontAlignment, "font_alignment")
    LECTORO_EVENT_CONSTANT(fontLineSpacingEventParameterFontLineSpacing, "font_line_spacing")
    LECTORO_EVENT_CONSTANT(fontMarginDataEventParameterFontMarginData, "font_margin")
    LECTORO_EVENT_CONSTANT(fontReadingModeEventParameterFontReadingMode, "font_reading_mode")
    LECTORO_EVENT_CONSTANT(fontScrollViewEventParameterFontScrollView, "font_scroll_view")
    LECTORO_EVENT_CONSTANT(markupEventParameterKey, "markup_type")

    // Parameter values of "markup_type" (and one of the highlight pop-up).
    LECTORO_EVENT_CONSTANT(markupEventNormalVideoParameterValue, "Normal Video")
    LECTORO_EVENT_CONSTANT(markupEventYoutubeVideoParameterValue, "You tube video")
    LECTORO_EVENT_CONSTANT(markupEventInlineVideoParameterValue, "Inline video")
    LECTORO_EVENT_CONSTANT(markupEventDocumentParameterValue, "Document")
    LECTORO_EVENT_CONSTANT(markupEventLectoroWidgetParameterValue, "Lectoro Widget")
    LECTORO_EVENT_CONSTANT(markupEventHTMLActivityParameterValue, "HTML Activity")
    LECTORO_EVENT_CONSTANT(markupEventWebLinkParameterValue, "Web Link")
    LECTORO_EVENT_CONSTANT(markupEventScormParameterValue, "Scorm")
    LECTORO_EVENT_CONSTANT(markupEventFIBParameterValue, "FIB")
    LECTORO_EVENT_CONSTANT(markupEventKalturaVideoParameterValue, "Kaltura Video")
    LECTORO_EVENT_CONSTANT(markupEventImageParameterValue, "Image")
    LECTORO_EVENT_CONSTANT(markupEventImageSlideShowParameterValue, "Image Slide show")
    LECTORO_EVENT_CONSTANT(markupEventInstructionMarkupParameterValue, "Instruction markup")
    LECTORO_EVENT_CONSTANT(markupEventAudioSyncParameterValue, "Audio Sync")
    LECTORO_EVENT_CONSTANT(markupEventAudioParameterValue, "Audio")
    LECTORO_EVENT_CONSTANT(markupEventGotoPageParameterValue, "Goto page")
    LECTORO_EVENT_CONSTANT(markupEventMultilinkMarkupParameterValue, "Multilink Markup")
    LECTORO_EVENT_CONSTANT(markupEventDropDownParameterValue, "Drop Down")
    LECTORO_EVENT_CONSTANT(markupEventJumpToBookParameterValue, "Goto/Jump to Book")
    LECTORO_EVENT_CONSTANT(markupEventImageMagnificationParameterValue, "Image Magnification")
    LECTORO_EVENT_CONSTANT(highLightPopUpEventImmersiveReader, "Immersive Reader open")

#undef LECTORO_EVENT_CONSTANT
};

} // namespace lectoro
