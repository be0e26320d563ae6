#pragma once

// How one stretch of narration is heard, under AudioSyncController: the words of the
// links (or the chapter) that share one audio file, played from a word onwards, reporting
// each word as it is reached and the end of the stretch.
//
// - The book's audio file, through the platform's media player: words are reported when
//   the player's position reaches their start, so they follow real playback (its rate,
//   its pauses, an interruption); the stretch ends when the audio does.
// - The words' text spoken by the platform's speech synthesiser, for narration whose
//   audio is missing: words are reported from the synthesiser's word callbacks.
// - The words' timings alone on the run loop's clock, when neither is possible.
//
// Reports arrive on the main thread; the listener may release the playback inside one.

#include "platform/base/RunLoop.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace media {
class Player;
}

namespace lectoro {

struct NarrationWord {
    std::string text;
    double start = 0;
    double end = 0;
};

class NarrationPlayback : public std::enable_shared_from_this<NarrationPlayback> {
public:
    enum class Kind { Timings, Audio, Speech };

    struct Listener {
        // The index, in the stretch's words, of the word now spoken.
        std::function<void(size_t)> word;
        std::function<void()> end;
        // The playback cannot go on (the audio broke off, no voice speaks the text); the
        // index is the first word not yet reported.
        std::function<void(size_t)> failed;
        // The playback stopped short by itself (the book's audio paused by the system: an
        // interruption, the headphones pulled); resume() goes on.
        std::function<void()> paused;
    };

    // The book's audio at `audioPath`, opened only inside `root` (the book's folder); null
    // when the file cannot be read as sound.
    static std::shared_ptr<NarrationPlayback> audio(
        const std::string& audioPath, const std::string& root, std::vector<NarrationWord>, Listener);
    // Null when no word has text. The voice speaks `languageCode` (BCP 47) when one does,
    // else the platform's own language.
    static std::shared_ptr<NarrationPlayback> speech(std::vector<NarrationWord>, Listener, const std::string& languageCode = {});
    static std::shared_ptr<NarrationPlayback> timings(std::vector<NarrationWord>, Listener);

    virtual ~NarrationPlayback() = default;
    NarrationPlayback(const NarrationPlayback&) = delete;
    NarrationPlayback& operator=(const NarrationPlayback&) = delete;

    virtual Kind kind() const = 0;
    // Plays from the word (its start); a word past the last plays the end.
    virtual void play(size_t fromWord) = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    // Silences the playback for good; nothing more is reported.
    virtual void stop() = 0;
    // 1 is the narration's own pace; only rates above zero arrive here.
    virtual void setRate(float) = 0;
    // Seconds into the stretch's audio (or timings) reached so far.
    virtual double position() const = 0;
    // The media player behind the book's audio; null for the other kinds.
    virtual std::shared_ptr<media::Player> player() const { return nullptr; }

protected:
    NarrationPlayback(std::vector<NarrationWord> words, Listener listener)
        : m_words(std::move(words))
        , m_listener(std::move(listener))
    {
    }

    std::vector<NarrationWord> m_words;
    Listener m_listener;
};

// The narration's speed (1 natural) as the synthesiser's rate (0.5 natural, 0 to 1).
float narrationSpeechRate(float rate);

} // namespace lectoro
