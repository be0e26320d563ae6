#pragma once

// Inside the media layer: the speech engine (espeak-ng) behind SpeechSynthesizer.
//
// The engine is one per process and not re-entrant; every call holds one lock, so
// synthesisers on several threads take turns. Synthesis is synchronous: call it off the
// main thread.

#include "platform/base/Error.h"
#include "platform/media/AudioBuffer.h"

#include <atomic>
#include <string>
#include <vector>

namespace media::detail {

struct EngineVoice {
    std::string identifier;
    std::string name;
    struct Language {
        // The engine's name ("en-us", "en").
        std::string name;
        // Lower is a better match for the language.
        int priority = 0;
    };
    // The first is the voice's own language.
    std::vector<Language> languages;
    int gender = 0; // 0 unknown, 1 male, 2 female
};

struct SynthesisRequest {
    std::string text;
    // One of engineVoices().
    std::string voiceIdentifier;
    int wordsPerMinute = 175;
    int volume = 100; // 0-200
    int pitch = 50; // 0-100
};

struct SynthesisWord {
    // UTF-16 units in the text.
    size_t location = 0;
    size_t length = 0;
    // Seconds into the audio.
    double time = 0;
};

struct Synthesis {
    AudioBuffer audio;
    std::vector<SynthesisWord> words;
};

// Errors: the engine cannot start (no data installed), the voice is not installed, the
// text is not UTF-8.
// A set cancel flag stops synthesis early with a cancellation error.
base::Result<Synthesis> synthesize(const SynthesisRequest&, const std::atomic<bool>* cancelled = nullptr);
// Empty when the engine cannot start.
std::vector<EngineVoice> engineVoices();

} // namespace media::detail
