#pragma once

// Read-aloud in page books, as the reader runs it. The toolbar's read-aloud item opens
// the mode chooser; read to me and autoplay narrate the pages (or EPUB chapters) on screen
// with a new AudioSyncController for each, highlighting the spoken word and sentence in
// the chosen colour through the renderer, and show the narration bar (play or pause,
// speed, colour, close) in place of the reader's bars. Read to me stops at the end of the
// spread; autoplay turns the page and goes on until the book ends. Let me read stops
// narration. A page turn by hand, a rotation, the background and the other tools pause or
// close narration through the hooks below.
//
// Page ids are decimal texts; for EPUB the current page id is the chapter's file index.

#include "LectoroSDKWithReader/media/readaloud/AudioSyncController.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Geometry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Label;
class View;
} // namespace ui

namespace lectoro {

class EPUBChapterVO;
class LectoroPenToolColorPalleteViewController;
class MVReadToMeViewController;
class MVSpeedSelectionOptionsView;
class PlayerActionBarItem;
class PlayerActionTopBar;
class PXLinkVO;
struct ReaderContext;

class ReaderReadAloud {
public:
    // Delays of the deferred steps, in seconds.
    static constexpr double pageStartDelay = 0.2;
    static constexpr double nextChapterDelay = 0.3;

    explicit ReaderReadAloud(ReaderContext&);
    ~ReaderReadAloud();
    ReaderReadAloud(const ReaderReadAloud&) = delete;
    ReaderReadAloud& operator=(const ReaderReadAloud&) = delete;

    bool hasAudioSyncController() const { return m_audioSyncController != nullptr; }
    bool isAudioSyncPlaying() const { return m_audioSyncController && m_audioSyncController->isPlaying(); }
    const std::shared_ptr<AudioSyncController>& audioSyncController() const { return m_audioSyncController; }

    // --- The chooser ---
    void showReadAloudController();
    void didCloseReadToMeView();
    void didTapOnLetMeReadForReadAloud();
    void didTapOnReadToMeForReadAloud();
    void didTapOnAutoPlayForReadAloud();
    const std::shared_ptr<MVReadToMeViewController>& readToMeViewController() const { return m_readToMe; }
    // The chooser offered without a tap, once, when a narrated book opens (the help screen's
    // step); it covers the page until answered. A host may leave it to the toolbar item.
    void offerReadAloudControllerOnOpening();
    bool offersChooserOnOpening() const { return m_offersChooserOnOpening; }
    void setOffersChooserOnOpening(bool offers) { m_offersChooserOnOpening = offers; }

    // --- Reading ---
    // Starts on the pages on screen (read to me and autoplay only).
    void actionForReadAloud();
    void loadAudioSyncIdAvailableForPageNumber(int64_t pageId);
    void didTapOnAudioSyncIcon();
    void playAudioSyncForChapter(const std::shared_ptr<EPUBChapterVO>&);
    void playNextChapterForEpub();
    void alertForNoAudio();
    // A single audio-sync link tapped on the page (mode 10).
    void startAudioSyncForLink(const std::shared_ptr<PXLinkVO>&);

    // --- Speed ---
    void changeAudioSyncSpeedRateWithOption();
    void speedOptionSelectedWithOption(int64_t option);
    void addSpeedSelectionView();
    void removeSpeedSelectionView();
    const std::shared_ptr<MVSpeedSelectionOptionsView>& viewForSpeedSelection() const { return m_speedView; }

    // --- Stopping ---
    void stopAudioSyncIfAny();
    void pauseAudioSyncIfAny();
    void resumeAudioSyncIfAny();
    void playPauseAudioSyncIfAny();
    // Only in modes 10 and 22.
    void closeAudioSync();
    void stopAndCloseAudioSync();
    // The narration bar's close item.
    void closeFromBar();
    void removeAudioSynchHightlight();
    void restoreReadAloudController();
    void addReadAloudTopBar();
    void resetAudioPlayerPosition();
    void enableNextPrevButtonForReadAloud() { }
    void removeReadAloudTopBar() { }

    // --- The narration bar and the colours ---
    void addPlayerBottomBarForAudioSync();
    void removeAudioSyncBottomBar();
    void changePlayButtonState();
    std::shared_ptr<ui::Label> getAudioSyncSpeedRateLabel() const;
    // A swatch colour of the bar; any other text changes nothing.
    void didSelectAudioSyncColor(const std::string& swatchColor);
    void actionForAudioSyncColorPalletePicker();
    void actionForTeacherReviewPenColorPalletePicker();
    // Closes the colour pop-over and its container; safe to repeat.
    void closeColorPallete();
    // Closes it as a touch outside it does: the pen bars' and the colour item's selection
    // are cleared too.
    void closeColorPalleteAndClearSelection();
    const std::shared_ptr<PlayerActionTopBar>& playerBottomActionBarViewForAudioSync() const { return m_bar; }
    const std::shared_ptr<LectoroPenToolColorPalleteViewController>& penColorPallete() const { return m_palette; }
    const std::shared_ptr<ui::View>& penToolPalleteContainer() const { return m_paletteContainer; }

    // --- The synchroniser's reports ---
    void didJumpToTextWithFrame(const ui::Rect&, const std::string& pageIdentifier);
    void didJumpToSentenceWithWordFrames(const std::optional<std::vector<ui::Rect>>&, const std::string& pageIdentifier);
    void didJumpToTextWithWordId(const std::string& wordId, const std::string& pageIdentifier);
    void audioSyncdidComplete();
    void audioSyncDidStopped();
    void audioSyncdidCompleteForPageIdentifier(const std::string& pageIdentifier);

    // --- Word taps on the renderer ---
    void didTapOnWordWithWordId(const std::string& wordId);
    void didTapOnWordWithWordRect(const ui::Rect&, const std::string& wordText);

private:
    class Delegates;

    std::shared_ptr<ui::View> readerView() const;
    std::vector<std::string> activePageIDs() const;
    void setReaderTouches(bool enabled);
    // The audio-link player's control view leaves the screen (the player itself is left alone).
    void removeFloatingAudioPlayerView();
    void releaseSynchroniser();
    bool audioPresentForChosenMode() const;
    void startChosenMode(int64_t mode);
    std::shared_ptr<PlayerActionBarItem> glyphItem(const std::string& glyph, int tag, double size) const;
    std::shared_ptr<PlayerActionBarItem> speedItem() const;
    std::shared_ptr<PlayerActionBarItem> colorItem(const std::string& swatch, int tag, const std::string& selected) const;
    void showPalette(const std::vector<std::string>& colors, const std::string& selected, bool teacherReview);

    ReaderContext& m_context;
    std::shared_ptr<Delegates> m_delegates;
    std::shared_ptr<AudioSyncController> m_audioSyncController;
    std::shared_ptr<MVReadToMeViewController> m_readToMe;
    std::shared_ptr<MVSpeedSelectionOptionsView> m_speedView;
    std::shared_ptr<PlayerActionTopBar> m_bar;
    ui::ConstraintPtr m_readAloudBarTopMarginConstraint;
    bool m_offersChooserOnOpening = true;
    std::shared_ptr<LectoroPenToolColorPalleteViewController> m_palette;
    std::shared_ptr<ui::View> m_paletteContainer;
    // Deferred steps find the feature gone through this token.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

} // namespace lectoro
