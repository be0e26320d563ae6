#pragma once

// What the lock screen would show, and the commands it would send.
//
// NowPlayingInfoCenter holds the published information as data for tests to read.
// RemoteCommandCenter holds the commands; a test plays the user by calling fire() on a
// command, which runs its handlers on the calling (main) thread and answers a status.

#include "platform/base/Value.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Image.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace media {

// Keys of the now-playing information.
inline constexpr const char* mediaItemPropertyTitle = "title";
inline constexpr const char* mediaItemPropertyAlbumTitle = "albumTitle";
inline constexpr const char* mediaItemPropertyArtist = "artist";
inline constexpr const char* mediaItemPropertyPlaybackDuration = "playbackDuration";
inline constexpr const char* mediaItemPropertyArtwork = "artwork";
inline constexpr const char* nowPlayingInfoPropertyElapsedPlaybackTime = "MPNowPlayingInfoPropertyElapsedPlaybackTime";
inline constexpr const char* nowPlayingInfoPropertyPlaybackRate = "MPNowPlayingInfoPropertyPlaybackRate";
inline constexpr const char* nowPlayingInfoPropertyDefaultPlaybackRate = "MPNowPlayingInfoPropertyDefaultPlaybackRate";

class MediaItemArtwork {
public:
    using RequestHandler = std::function<ui::ImagePtr(const ui::Size&)>;
    MediaItemArtwork(ui::Size boundsSize, RequestHandler handler) : m_boundsSize(boundsSize), m_handler(std::move(handler)) { }

    const ui::Size& bounds() const { return m_boundsSize; }
    // The handler's image for the size, or null.
    ui::ImagePtr imageWithSize(const ui::Size& size) const { return m_handler ? m_handler(size) : nullptr; }

private:
    ui::Size m_boundsSize;
    RequestHandler m_handler;
};

// The information as published: plain values under their keys, and the artwork apart
// (it is an object, not a value). Setting the artwork key's value is not possible;
// remove(mediaItemPropertyArtwork) clears the artwork.
struct NowPlayingInfo {
    base::Value::Dictionary properties;
    std::shared_ptr<const MediaItemArtwork> artwork;

    void set(const std::string& key, base::Value value) { properties.set(key, std::move(value)); }
    void remove(const std::string& key);
    const base::Value* find(const std::string& key) const { return properties.find(key); }
    bool empty() const { return properties.empty() && !artwork; }
};

class NowPlayingInfoCenter {
public:
    static NowPlayingInfoCenter& defaultCenter();

    // None until something is published; an empty info clears the lock screen.
    const std::optional<NowPlayingInfo>& nowPlayingInfo() const { return m_info; }
    void setNowPlayingInfo(std::optional<NowPlayingInfo> info);
    // How many times it was published (tests of "published on every tick").
    uint64_t publishCount() const { return m_publishCount; }
    void reset();

private:
    std::optional<NowPlayingInfo> m_info;
    uint64_t m_publishCount = 0;
};

enum class RemoteCommandHandlerStatus { Success = 0, NoSuchContent = 100, NoActionableNowPlayingItem = 110, DeviceNotFound = 120, CommandFailed = 200 };

class RemoteCommand;

// What came with a command: the plain event, or one of the kinds below.
class RemoteCommandEvent {
public:
    explicit RemoteCommandEvent(const RemoteCommand& command) : m_command(&command) { }
    virtual ~RemoteCommandEvent() = default;
    const RemoteCommand& command() const { return *m_command; }

private:
    const RemoteCommand* m_command;
};

class ChangePlaybackPositionCommandEvent final : public RemoteCommandEvent {
public:
    ChangePlaybackPositionCommandEvent(const RemoteCommand& command, double positionTime)
        : RemoteCommandEvent(command), m_positionTime(positionTime) { }
    double positionTime() const { return m_positionTime; }

private:
    double m_positionTime;
};

class SkipIntervalCommandEvent final : public RemoteCommandEvent {
public:
    SkipIntervalCommandEvent(const RemoteCommand& command, double interval) : RemoteCommandEvent(command), m_interval(interval) { }
    double interval() const { return m_interval; }

private:
    double m_interval;
};

class RemoteCommand {
public:
    using Handler = std::function<RemoteCommandHandlerStatus(const RemoteCommandEvent&)>;
    using TargetId = uint64_t;

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    TargetId addTarget(Handler);
    void removeTarget(TargetId);
    void removeAllTargets() { m_targets.clear(); }
    size_t targetCount() const { return m_targets.size(); }

    // The user pressed the button: each handler runs in the order added, and the last
    // handler's status is the answer. A disabled command, or one without handlers, runs
    // nothing and answers CommandFailed / NoActionableNowPlayingItem.
    RemoteCommandHandlerStatus fire(const RemoteCommandEvent&) const;
    RemoteCommandHandlerStatus fire() const { return fire(RemoteCommandEvent(*this)); }

private:
    bool m_enabled = true;
    TargetId m_nextId = 1;
    std::map<TargetId, Handler> m_targets;
};

class SkipIntervalCommand final : public RemoteCommand {
public:
    const std::vector<double>& preferredIntervals() const { return m_intervals; }
    void setPreferredIntervals(std::vector<double> intervals) { m_intervals = std::move(intervals); }
    // Skips by the first preferred interval.
    RemoteCommandHandlerStatus fireSkip() const { return fire(SkipIntervalCommandEvent(*this, m_intervals.empty() ? 15 : m_intervals.front())); }

private:
    std::vector<double> m_intervals { 15 };
};

class ChangePlaybackPositionCommand final : public RemoteCommand {
public:
    RemoteCommandHandlerStatus fireChange(double positionTime) const { return fire(ChangePlaybackPositionCommandEvent(*this, positionTime)); }
};

class RemoteCommandCenter {
public:
    static RemoteCommandCenter& shared();

    RemoteCommand& playCommand() { return m_play; }
    RemoteCommand& pauseCommand() { return m_pause; }
    RemoteCommand& togglePlayPauseCommand() { return m_toggle; }
    RemoteCommand& stopCommand() { return m_stop; }
    RemoteCommand& nextTrackCommand() { return m_next; }
    RemoteCommand& previousTrackCommand() { return m_previous; }
    SkipIntervalCommand& skipForwardCommand() { return m_skipForward; }
    SkipIntervalCommand& skipBackwardCommand() { return m_skipBackward; }
    ChangePlaybackPositionCommand& changePlaybackPositionCommand() { return m_changePosition; }

    // Test support: every command enabled, without handlers, skips of 15 s.
    void reset();

private:
    RemoteCommand m_play, m_pause, m_toggle, m_stop, m_next, m_previous;
    SkipIntervalCommand m_skipForward, m_skipBackward;
    ChangePlaybackPositionCommand m_changePosition;
};

} // namespace media
