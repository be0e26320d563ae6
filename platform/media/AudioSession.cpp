#include "platform/media/AudioSession.h"

#include "platform/base/NotificationCenter.h"
#include "platform/media/MediaError.h"

#include <algorithm>
#include <array>

namespace media {

namespace {

constexpr std::array knownCategories = { audioSessionCategoryAmbient, audioSessionCategorySoloAmbient,
    audioSessionCategoryPlayback, audioSessionCategoryRecord, audioSessionCategoryPlayAndRecord };
constexpr std::array knownModes = { audioSessionModeDefault, audioSessionModeSpokenAudio, audioSessionModeMeasurement };

template<size_t N>
bool isKnown(const std::array<const char*, N>& names, const std::string& name)
{
    return std::any_of(names.begin(), names.end(), [&](const char* known) { return name == known; });
}

} // namespace

AudioSession& AudioSession::sharedInstance()
{
    static AudioSession session;
    return session;
}

AudioSession::AudioSession()
    : m_recordPermission(RecordPermission::Undetermined, RecordPermission::Denied)
{
    reset();
}

void AudioSession::reset()
{
    m_category = audioSessionCategorySoloAmbient;
    m_mode = audioSessionModeDefault;
    m_active = false;
    m_otherAudioPlaying = false;
    m_outputs = { audioSessionPortBuiltInSpeaker };
    m_inputs = { audioSessionPortBuiltInMic };
    m_recordPermission.reset();
}

base::Result<void> AudioSession::setCategory(const std::string& category, const std::string& mode)
{
    if (!isKnown(knownCategories, category))
        return mediaError(errorUnknown, "Unknown audio session category: " + category);
    if (!isKnown(knownModes, mode))
        return mediaError(errorUnknown, "Unknown audio session mode: " + mode);
    m_category = category;
    m_mode = mode;
    return {};
}

base::Result<void> AudioSession::setActive(bool active)
{
    m_active = active;
    return {};
}

void AudioSession::requestRecordPermission(std::function<void(bool)> completion)
{
    m_recordPermission.request([completion = std::move(completion)](RecordPermission status) {
        if (completion)
            completion(status == RecordPermission::Granted);
    });
}

void AudioSession::setRecordPermissionResponder(Permission<RecordPermission>::Responder responder)
{
    m_recordPermission.setResponder(std::move(responder));
}

void AudioSession::postInterruption(AudioSessionInterruptionType type, bool shouldResume)
{
    if (type == AudioSessionInterruptionType::Began)
        m_active = false;
    base::Value::Dictionary info;
    info.set(audioSessionInterruptionTypeKey, static_cast<int>(type));
    if (type == AudioSessionInterruptionType::Ended)
        info.set(audioSessionInterruptionOptionKey, shouldResume ? audioSessionInterruptionOptionShouldResume : 0);
    base::NotificationCenter::defaultCenter().post(audioSessionInterruptionNotification, this, std::move(info));
}

void AudioSession::postRouteChange(AudioSessionRouteChangeReason reason, std::vector<std::string> newOutputs)
{
    m_outputs = std::move(newOutputs);
    base::Value::Dictionary info;
    info.set(audioSessionRouteChangeReasonKey, static_cast<int>(reason));
    base::NotificationCenter::defaultCenter().post(audioSessionRouteChangeNotification, this, std::move(info));
}

} // namespace media
