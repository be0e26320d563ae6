#pragma once

// A short sound (an effect, a page-turn click) played from a file on the main run loop's
// clock. The file is read when the player is made, so a missing or unreadable sound is an
// error there and never a surprise later. At the end the player stops, goes back to the
// start and tells its delegate; numberOfLoops repeats it (a negative count: until stopped).

#include "platform/base/Error.h"
#include "platform/base/RunLoop.h"
#include "platform/media/PlaybackTimeline.h"

#include <memory>
#include <string>

namespace media {

class AudioPlayer;

class AudioPlayerDelegate {
public:
    virtual ~AudioPlayerDelegate() = default;
    virtual void audioPlayerDidFinishPlaying(AudioPlayer&, bool /*successfully*/) { }
};

class AudioPlayer : public std::enable_shared_from_this<AudioPlayer> {
public:
    // Errors as Asset::load(), and errorFileFormatNotRecognized for a file without sound.
    static base::Result<std::shared_ptr<AudioPlayer>> create(const std::string& urlOrPath);
    ~AudioPlayer();
    AudioPlayer(const AudioPlayer&) = delete;
    AudioPlayer& operator=(const AudioPlayer&) = delete;

    void setDelegate(std::weak_ptr<AudioPlayerDelegate> delegate) { m_delegate = std::move(delegate); }
    const std::string& path() const { return m_path; }
    double duration() const { return m_timeline.duration(); }

    bool prepareToPlay() { return true; }
    // False when the sound is empty.
    bool play();
    void pause();
    // Stops and keeps the position, as the platform's player does.
    void stop();
    bool isPlaying() const { return m_playing; }

    double currentTime() const { return m_timeline.position(); }
    void setCurrentTime(double);
    int numberOfLoops() const { return m_numberOfLoops; }
    void setNumberOfLoops(int loops) { m_numberOfLoops = loops; }
    float volume() const { return m_volume; }
    void setVolume(float);
    // The rate applies only when enableRate was set before play(), as on the platform.
    bool enableRate() const { return m_enableRate; }
    void setEnableRate(bool enable) { m_enableRate = enable; }
    float rate() const { return m_rate; }
    void setRate(float);

private:
    AudioPlayer(std::string path, double duration);
    void reschedule();
    void reachEnd();

    std::weak_ptr<AudioPlayerDelegate> m_delegate;
    std::string m_path;
    PlaybackTimeline m_timeline;
    bool m_playing = false;
    int m_numberOfLoops = 0;
    int m_loopsPlayed = 0;
    float m_volume = 1;
    bool m_enableRate = false;
    float m_rate = 1;
    base::RunLoop::TaskId m_endTask = 0;
};

} // namespace media
