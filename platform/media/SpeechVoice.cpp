#include "platform/base/Strings.h"
#include "platform/media/SpeechEngine.h"
#include "platform/media/SpeechSynthesizer.h"

#include <algorithm>
#include <climits>
#include <mutex>

namespace media {

namespace {

// "en-gb-x-rp" → "en-GB-x-rp": regions upper case, as BCP 47 writes them.
std::string bcp47(const std::string& engineName)
{
    std::vector<std::string> parts = base::split(engineName, "-");
    for (size_t i = 1; i < parts.size(); ++i) {
        if (parts[i] == "x")
            break;
        if (parts[i].size() == 2)
            parts[i] = base::uppercase(parts[i]);
    }
    return base::join(parts, "-");
}

std::string normalised(const std::string& code)
{
    return base::lowercase(base::replaceAll(base::trimWhitespace(code), "_", "-"));
}

const std::vector<detail::EngineVoice>& installedVoices()
{
    static std::once_flag once;
    static std::vector<detail::EngineVoice> voices;
    std::call_once(once, [] { voices = detail::engineVoices(); });
    return voices;
}

SpeechSynthesisVoice voiceOf(const detail::EngineVoice& voice)
{
    SpeechSynthesisVoice result;
    result.identifier = voice.identifier;
    result.name = voice.name;
    result.language = bcp47(voice.languages.front().name);
    result.gender = voice.gender == 1 ? SpeechSynthesisVoice::Gender::Male
        : voice.gender == 2         ? SpeechSynthesisVoice::Gender::Female
                                    : SpeechSynthesisVoice::Gender::Unspecified;
    return result;
}

// The voice that names the language with the best priority.
const detail::EngineVoice* bestVoiceFor(const std::string& language)
{
    const detail::EngineVoice* best = nullptr;
    int bestPriority = INT_MAX;
    for (const detail::EngineVoice& voice : installedVoices()) {
        for (const auto& spoken : voice.languages) {
            if (spoken.name == language && spoken.priority < bestPriority) {
                best = &voice;
                bestPriority = spoken.priority;
            }
        }
    }
    return best;
}

} // namespace

std::vector<SpeechSynthesisVoice> SpeechSynthesisVoice::speechVoices()
{
    std::vector<SpeechSynthesisVoice> voices;
    for (const detail::EngineVoice& voice : installedVoices())
        voices.push_back(voiceOf(voice));
    return voices;
}

std::optional<SpeechSynthesisVoice> SpeechSynthesisVoice::voiceWithLanguage(const std::string& languageCode)
{
    std::string wanted = normalised(languageCode);
    if (wanted.empty())
        return std::nullopt;
    const detail::EngineVoice* voice = bestVoiceFor(wanted);
    if (!voice && wanted.find('-') != std::string::npos)
        voice = bestVoiceFor(wanted.substr(0, wanted.find('-')));
    if (!voice)
        return std::nullopt;
    return voiceOf(*voice);
}

std::optional<SpeechSynthesisVoice> SpeechSynthesisVoice::voiceWithIdentifier(const std::string& identifier)
{
    for (const detail::EngineVoice& voice : installedVoices()) {
        if (voice.identifier == identifier)
            return voiceOf(voice);
    }
    return std::nullopt;
}

} // namespace media
