#pragma once

#include <string>
#include <vector>

namespace lectoro {

// The feature switches with which a host shapes the reading screen, and the pen colours the
// pen tool offers. The reader reads a switch each time it builds the tool it governs.
class MVReaderSettingModel {
public:
    MVReaderSettingModel() { setDefaultUserSettings(); }

    void setDefaultUserSettings();

#define LECTORO_SETTING(name, setter)                 \
    bool name() const { return m_##name; }            \
    void setter(bool value) { m_##name = value; }
    LECTORO_SETTING(isBookmarkEnabled, setIsBookmarkEnabled)
    LECTORO_SETTING(isSharingEnabled, setIsSharingEnabled)
    LECTORO_SETTING(isAutoLoginEnabled, setIsAutoLoginEnabled)
    LECTORO_SETTING(isHighLightEnabled, setIsHighLightEnabled)
    LECTORO_SETTING(isSearchEnabled, setIsSearchEnabled)
    LECTORO_SETTING(isStickyNotesEnabled, setIsStickyNotesEnabled)
    LECTORO_SETTING(isAutoReadAloudEnabled, setIsAutoReadAloudEnabled)
    LECTORO_SETTING(isAnalyicsButtonEnabled, setIsAnalyicsButtonEnabled)
    LECTORO_SETTING(isMathEditorEnabled, setIsMathEditorEnabled)
    LECTORO_SETTING(isProtractorEnabled, setIsProtractorEnabled)
    LECTORO_SETTING(isReviewEnabled, setIsReviewEnabled)
    LECTORO_SETTING(isPenToolEnabled, setIsPenToolEnabled)
    LECTORO_SETTING(isContextualNoteEnabled, setIsContextualNoteEnabled)
    LECTORO_SETTING(isClearAllFIBsEnabled, setIsClearAllFIBsEnabled)
    LECTORO_SETTING(isTextAnnotationEnabled, setIsTextAnnotationEnabled)
    LECTORO_SETTING(isAudioBookBookmarkEnabled, setIsAudioBookBookmarkEnabled)
    LECTORO_SETTING(isAudioSyncEnabled, setIsAudioSyncEnabled)
    LECTORO_SETTING(isPrintEnabled, setIsPrintEnabled)
    LECTORO_SETTING(isMyDataPrintEnabled, setIsMyDataPrintEnabled)
#undef LECTORO_SETTING

    // My Data has something to list when highlights or contextual notes are on, or else when
    // sticky notes are. The stored value is kept for the host but never decides anything.
    bool isMydataEnabled() const { return m_isHighLightEnabled || m_isContextualNoteEnabled || m_isStickyNotesEnabled; }
    void setIsMydataEnabled(bool value) { m_isMydataEnabled = value; }

    const std::vector<std::string>& pentoolPenColors() const { return m_pentoolPenColors; }
    void setPentoolPenColors(std::vector<std::string> colors) { m_pentoolPenColors = std::move(colors); }

private:
    bool m_isBookmarkEnabled = false;
    bool m_isSharingEnabled = false;
    bool m_isAutoLoginEnabled = false;
    bool m_isHighLightEnabled = false;
    bool m_isSearchEnabled = false;
    bool m_isStickyNotesEnabled = false;
    bool m_isAutoReadAloudEnabled = false;
    bool m_isAnalyicsButtonEnabled = false;
    bool m_isMathEditorEnabled = false;
    bool m_isProtractorEnabled = false;
    bool m_isReviewEnabled = false;
    bool m_isPenToolEnabled = false;
    bool m_isContextualNoteEnabled = false;
    bool m_isClearAllFIBsEnabled = false;
    bool m_isMydataEnabled = false;
    bool m_isTextAnnotationEnabled = false;
    bool m_isAudioBookBookmarkEnabled = false;
    bool m_isAudioSyncEnabled = false;
    bool m_isPrintEnabled = false;
    bool m_isMyDataPrintEnabled = false;
    std::vector<std::string> m_pentoolPenColors;
};

} // namespace lectoro
