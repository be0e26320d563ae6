#pragma once

// Read aloud and audio sync as the reader shell calls them. The players arrive with the
// media subsystem; until then no audio-sync controller exists, so stopping, pausing and
// restoring have nothing to act on, and closing only moves the remembered page ids.

#include <string>

namespace lectoro {

struct ReaderContext;

class ReaderReadAloud {
public:
    explicit ReaderReadAloud(ReaderContext&);

    bool hasAudioSyncController() const { return false; }
    bool isAudioSyncPlaying() const { return false; }

    void stopAudioSyncIfAny();
    void pauseAudioSyncIfAny();
    void closeAudioSync();
    void changePlayButtonState();
    void enableNextPrevButtonForReadAloud();
    void restoreReadAloudController();
    void resetAudioPlayerPosition();
    void removeSpeedSelectionView();
    void didCloseReadToMeView();

    // Toolbar actions (the dispatcher reaches them by bar and item tag). The read-aloud
    // chooser, the audio-sync player, its speed choice and colour palettes arrive with the
    // media subsystem; until then none of these has anything to show or play.
    void showReadAloudController() { }
    void didTapOnAudioSyncIcon() { }
    void playPauseAudioSyncIfAny() { }
    void removeReadAloudTopBar() { }
    void addSpeedSelectionView() { }
    void didSelectAudioSyncColor(const std::string&) { }
    void actionForAudioSyncColorPalletePicker() { }
    void actionForTeacherReviewPenColorPalletePicker() { }

private:
    ReaderContext& m_context;
};

} // namespace lectoro
