#include "LectoroSDKWithReader/media/ReaderReadAloud.h"

#include "LectoroSDKWithReader/reader/ReaderContext.h"

namespace lectoro {

ReaderReadAloud::ReaderReadAloud(ReaderContext& context)
    : m_context(context)
{
}

void ReaderReadAloud::stopAudioSyncIfAny()
{
    // No audio-sync controller exists yet.
}

void ReaderReadAloud::pauseAudioSyncIfAny() { }

void ReaderReadAloud::closeAudioSync()
{
    auto mode = m_context.activeMode;
    if (mode != ReaderActiveModeLinkAction && mode != 21 && mode != ReaderActiveModeReadAloud)
        return;
    stopAudioSyncIfAny();
    removeSpeedSelectionView();
    m_context.lastReadAloudPageId = m_context.currentReadAloudPageId;
    m_context.currentReadAloudPageId.clear();
}

void ReaderReadAloud::changePlayButtonState() { }
void ReaderReadAloud::enableNextPrevButtonForReadAloud() { }

void ReaderReadAloud::restoreReadAloudController()
{
    if (m_context.readAloudMode == ReadAloudModeOff)
        return;
    enableNextPrevButtonForReadAloud();
}

void ReaderReadAloud::resetAudioPlayerPosition() { }
void ReaderReadAloud::removeSpeedSelectionView() { }
void ReaderReadAloud::didCloseReadToMeView() { }

} // namespace lectoro
