#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"

namespace lectoro {

void MVReaderSettingModel::setDefaultUserSettings()
{
    m_isBookmarkEnabled = true;
    m_isSharingEnabled = true;
    m_isAutoLoginEnabled = false;
    m_isHighLightEnabled = true;
    m_isSearchEnabled = true;
    m_isStickyNotesEnabled = true;
    m_isAutoReadAloudEnabled = false;
    m_isAnalyicsButtonEnabled = true;
    m_isMathEditorEnabled = true;
    m_isProtractorEnabled = true;
    m_isReviewEnabled = true;
    m_isPenToolEnabled = true;
    m_isContextualNoteEnabled = true;
    m_isClearAllFIBsEnabled = true;
    m_isTextAnnotationEnabled = false;
    m_isAudioBookBookmarkEnabled = true;
    m_isAudioSyncEnabled = false;
    m_isMyDataPrintEnabled = false;
    m_pentoolPenColors.clear();
}

} // namespace lectoro
