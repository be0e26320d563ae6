#pragma once

// The process's audio session: category, activity, the route, the microphone permission,
// and the interruptions and route changes the system announces. On this platform nothing
// outside the process interrupts; tests post both kinds with postInterruption() and
// postRouteChange(), which reach observers through the default notification center as
// the system's notifications do (object: the session).

#include "platform/base/Error.h"
#include "platform/media/Permission.h"

#include <string>
#include <vector>

namespace media {

inline constexpr const char* audioSessionInterruptionNotification = "AVAudioSessionInterruptionNotification";
inline constexpr const char* audioSessionRouteChangeNotification = "AVAudioSessionRouteChangeNotification";
// User-info keys and values (integers).
inline constexpr const char* audioSessionInterruptionTypeKey = "AVAudioSessionInterruptionTypeKey";
inline constexpr const char* audioSessionInterruptionOptionKey = "AVAudioSessionInterruptionOptionKey";
inline constexpr const char* audioSessionRouteChangeReasonKey = "AVAudioSessionRouteChangeReasonKey";

enum class AudioSessionInterruptionType { Ended = 0, Began = 1 };
inline constexpr int audioSessionInterruptionOptionShouldResume = 1;

enum class AudioSessionRouteChangeReason {
    Unknown = 0,
    NewDeviceAvailable = 1,
    OldDeviceUnavailable = 2,
    CategoryChange = 3,
    Override = 4,
    WakeFromSleep = 6,
    NoSuitableRouteForCategory = 7,
    RouteConfigurationChange = 8,
};

inline constexpr const char* audioSessionCategoryAmbient = "AVAudioSessionCategoryAmbient";
inline constexpr const char* audioSessionCategorySoloAmbient = "AVAudioSessionCategorySoloAmbient";
inline constexpr const char* audioSessionCategoryPlayback = "AVAudioSessionCategoryPlayback";
inline constexpr const char* audioSessionCategoryRecord = "AVAudioSessionCategoryRecord";
inline constexpr const char* audioSessionCategoryPlayAndRecord = "AVAudioSessionCategoryPlayAndRecord";
inline constexpr const char* audioSessionModeDefault = "AVAudioSessionModeDefault";
inline constexpr const char* audioSessionModeSpokenAudio = "AVAudioSessionModeSpokenAudio";
inline constexpr const char* audioSessionModeMeasurement = "AVAudioSessionModeMeasurement";

inline constexpr const char* audioSessionPortBuiltInSpeaker = "Speaker";
inline constexpr const char* audioSessionPortHeadphones = "Headphones";
inline constexpr const char* audioSessionPortBuiltInMic = "MicrophoneBuiltIn";

enum class RecordPermission { Undetermined, Denied, Granted };

class AudioSession {
public:
    static AudioSession& sharedInstance();

    const std::string& category() const { return m_category; }
    const std::string& mode() const { return m_mode; }
    // Known categories and modes only; an unknown one is an error and changes nothing.
    base::Result<void> setCategory(const std::string& category, const std::string& mode = audioSessionModeDefault);
    bool isActive() const { return m_active; }
    base::Result<void> setActive(bool);

    // Port types of the current route ("Speaker" unless a test says otherwise).
    const std::vector<std::string>& outputs() const { return m_outputs; }
    const std::vector<std::string>& inputs() const { return m_inputs; }
    bool isOtherAudioPlaying() const { return m_otherAudioPlaying; }
    void setOtherAudioPlayingForTesting(bool playing) { m_otherAudioPlaying = playing; }

    // The microphone. With no responder installed the answer is "not granted".
    RecordPermission recordPermission() const { return m_recordPermission.status(); }
    // The completion runs on the main run loop with true when granted.
    void requestRecordPermission(std::function<void(bool granted)>);
    void setRecordPermissionResponder(Permission<RecordPermission>::Responder);

    // Posted now, on the calling thread. An interruption that begins deactivates the session.
    void postInterruption(AudioSessionInterruptionType, bool shouldResume = false);
    // Replaces the outputs, then posts the change.
    void postRouteChange(AudioSessionRouteChangeReason, std::vector<std::string> newOutputs);

    // Test support: category, activity, route and permission as at launch.
    void reset();

private:
    AudioSession();

    std::string m_category;
    std::string m_mode;
    bool m_active = false;
    bool m_otherAudioPlaying = false;
    std::vector<std::string> m_outputs;
    std::vector<std::string> m_inputs;
    Permission<RecordPermission> m_recordPermission;
};

} // namespace media
