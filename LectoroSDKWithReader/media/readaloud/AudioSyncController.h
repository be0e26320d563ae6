#pragma once

// The narration of one page (a page book's audio-sync links) or one chapter (an EPUB
// chapter's audio-sync list), played against the words' timings on the main run loop's
// clock at a chosen rate. While it plays it reports each spoken word (its rectangle on a
// page, or its word id in a chapter), the words of each new sentence, and the end of the
// page; every report reaches the delegate on the main thread.
//
// Word timings: each link's `audioSync` list holds {"text", "start", "end"} (seconds); a
// chapter's list holds {"wordId", "text", "start", "end"}. A page word's rectangle is its
// share of the link's box, by its length, along one line. Entries without a usable start
// are skipped; an end before its start is taken as the start.

#include "platform/base/RunLoop.h"
#include "platform/base/Value.h"
#include "platform/ui/Geometry.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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
    // Seconds of narration played so far.
    double position() const;

private:
    AudioSyncController(std::vector<Word>, std::weak_ptr<AudioSyncControllerDelegate>,
        std::shared_ptr<LectoroBookVO>, std::string pageId, bool playerUIEnable);
    void moveTo(size_t wordIndex);
    void scheduleNext();
    void fire();
    void cancelScheduled();
    std::vector<ui::Rect> sentenceFrames(size_t wordIndex) const;

    std::vector<Word> m_words;
    std::weak_ptr<AudioSyncControllerDelegate> m_delegate;
    std::shared_ptr<LectoroBookVO> m_book;
    std::string m_pageId;
    bool m_playerUIEnable = false;
    bool m_playing = false;
    float m_rate = 1.0f;
    // Position = m_anchorPosition + (clock - m_anchorTime) × rate while playing.
    double m_anchorPosition = 0;
    double m_anchorTime = 0;
    // The next word to report (m_words.size() reports the end).
    size_t m_next = 0;
    std::optional<base::RunLoop::TaskId> m_task;
};

} // namespace lectoro
