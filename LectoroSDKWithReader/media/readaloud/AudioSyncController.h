#pragma once

// The narration of one page (a page book's audio-sync links) or one chapter (an EPUB
// chapter's audio-sync list), played at a chosen rate. While it plays it reports each
// spoken word (its rectangle on a page, or its word id in a chapter), the words of each
// new sentence, and the end of the page; every report reaches the delegate on the main
// thread.
//
// Word timings: each link's `audioSync` list holds {"text", "start", "end"} (seconds); a
// chapter's list holds {"wordId", "text", "start", "end", "audio"}, "audio" naming the clip's
// file in the book as a link's `url` does. A page word's rectangle is its
// share of the link's box, by its length, along one line. Entries without a usable start
// are skipped; an end before its start is taken as the start.
//
// How it is heard (NarrationPlayback): a link's `url` (a chapter entry's "audio") names its
// audio file in the book; consecutive links or entries naming the same file share it, their
// timings being positions in it.
// A file that plays goes through the media player, and words follow its position; links
// without playable audio are spoken by the speech synthesiser, words following its word
// callbacks; words with no text (or no voice) follow their timings on the run loop's clock.

#include "LectoroSDKWithReader/media/readaloud/NarrationPlayback.h"
#include "platform/base/Value.h"
#include "platform/ui/Geometry.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace media {
class Player;
}

namespace lectoro {

class LectoroBookVO;
class PXLinkVO;

class AudioSyncControllerDelegate {
public:
    virtual ~AudioSyncControllerDelegate() = default;
    virtual void didJumpToTextWithFrame(const ui::Rect&, const std::string& /*pageIdentifier*/) { }
    virtual void didJumpToSentenceWithWordFrames(
        const std::optional<std::vector<ui::Rect>>&, const std::string& /*pageIdentifier*/)
    {
    }
    virtual void didJumpToTextWithWordId(const std::string& /*wordId*/, const std::string& /*pageIdentifier*/) { }
    virtual void audioSyncdidComplete() { }
    virtual void audioSyncDidStopped() { }
    virtual void audioSyncDidPaused() { }
    virtual void audioSyncdidCompleteForPageIdentifier(const std::string&) { }
};

class AudioSyncController : public std::enable_shared_from_this<AudioSyncController> {
public:
    struct Word {
        std::string text;
        std::string wordId;
        double start = 0;
        double end = 0;
        ui::Rect frame;
        bool startsSentence = false;
    };

    // A page book's page: the links' words in order; the page id is the first link's.
    static std::shared_ptr<AudioSyncController> create(const std::vector<std::shared_ptr<PXLinkVO>>& links,
        std::weak_ptr<AudioSyncControllerDelegate>, std::shared_ptr<LectoroBookVO>, bool playerUIEnable);
    // An EPUB chapter, reported under pageId (the chapter's href).
    static std::shared_ptr<AudioSyncController> create(const base::Value& audioSyncArray,
        std::weak_ptr<AudioSyncControllerDelegate>, std::shared_ptr<LectoroBookVO>, const std::string& pageId,
        bool playerUIEnable);

    ~AudioSyncController();
    AudioSyncController(const AudioSyncController&) = delete;
    AudioSyncController& operator=(const AudioSyncController&) = delete;

    // Begins at the word chosen with playAudioFromWordId / playAudioFromWordRect since the
    // last start or stop (the first word on screen), else at the first word.
    void start();
    // Stops for good; a later start begins again from the first word.
    void stop();
    void pause();
    void resume();
    void playPauseAction();
    bool isPlaying() const { return m_playing; }
    // A rate of zero or less, or no number, keeps the rate.
    void changeAudioPlayingSpeed(float rate);
    float rate() const { return m_rate; }
    // Moves to the word; unknown ids and rectangles touching no word change nothing.
    void playAudioFromWordId(const std::string& wordId);
    void playAudioFromWordRect(const ui::Rect&, const std::string& wordText);
    const std::string& audioPlayingForPageIdentifier() const { return m_pageId; }

    const std::vector<Word>& words() const { return m_words; }
    bool playerUIEnable() const { return m_playerUIEnable; }
    // Seconds into the audio (or timings) of the stretch being narrated.
    double position() const;
    // How the stretch being narrated is heard; none before start and after stop.
    std::optional<NarrationPlayback::Kind> narrationKind() const;
    // The media player of the book's audio being narrated; null otherwise.
    std::shared_ptr<media::Player> audioPlayer() const;

    // A link's audio file inside the book's folder (base::pathInsideFolder: links resolved);
    // empty for no link, a web address, or a path that would leave the folder.
    static std::string audioPathForLink(const PXLinkVO&, const LectoroBookVO*);
    // The folder the book's audio is read inside.
    static std::string bookFolder(const LectoroBookVO*);

private:
    // Words [begin, end) heard from one audio file (or none).
    struct Stretch {
        size_t begin = 0;
        size_t end = 0;
        std::string audioPath;
    };

    AudioSyncController(std::vector<Word>, std::vector<Stretch>, std::weak_ptr<AudioSyncControllerDelegate>,
        std::shared_ptr<LectoroBookVO>, std::string pageId, bool playerUIEnable);
    void moveTo(size_t wordIndex);
    size_t stretchOfWord(size_t wordIndex) const;
    void beginStretch(size_t stretch, size_t fromWord, bool audioAndSpeech);
    NarrationPlayback::Listener listenerFor(size_t stretch);
    void wordReached(size_t stretch, size_t localIndex);
    void stretchEnded(size_t stretch);
    void stretchFailed(size_t stretch, size_t localIndex);
    void silence();
    std::vector<ui::Rect> sentenceFrames(size_t wordIndex) const;

    std::vector<Word> m_words;
    std::vector<Stretch> m_stretches;
    std::weak_ptr<AudioSyncControllerDelegate> m_delegate;
    std::shared_ptr<LectoroBookVO> m_book;
    std::string m_pageId;
    bool m_playerUIEnable = false;
    bool m_playing = false;
    float m_rate = 1.0f;
    size_t m_stretch = 0;
    // The next word to report.
    size_t m_next = 0;
    // A word chosen while not playing: where the next start begins.
    std::optional<size_t> m_startWord;
    std::shared_ptr<NarrationPlayback> m_playback;
};

} // namespace lectoro
