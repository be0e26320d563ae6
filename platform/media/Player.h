#pragma once

// An audio/video player on the main run loop's clock.
//
// Nothing is decoded or heard: the play position moves with the run loop (virtual in
// tests) at the player's rate, periodic time observers tick on whole multiples of their
// interval of play time, and the end of the item, failures and status changes reach the
// delegate and the default notification center (object: the item) on the main thread.
// Reaching the end pauses the player (rate 0) and reports the end once; playing again at
// the end reports it again. Like the system's player it pauses when an audio-session
// interruption begins and when the route loses its output device (headphones pulled).

#include "platform/base/NotificationCenter.h"
#include "platform/base/RunLoop.h"
#include "platform/media/PlaybackTimeline.h"
#include "platform/media/PlayerItem.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace media {

inline constexpr const char* playerItemDidPlayToEndTimeNotification = "AVPlayerItemDidPlayToEndTimeNotification";
inline constexpr const char* playerItemFailedToPlayToEndTimeNotification = "AVPlayerItemFailedToPlayToEndTimeNotification";
// User info of the failure: the error's description, domain and code.
inline constexpr const char* playerItemFailedToPlayToEndTimeErrorKey = "AVPlayerItemFailedToPlayToEndTimeErrorKey";

class Player;

class PlayerDelegate {
public:
    virtual ~PlayerDelegate() = default;
    // The current item turned ReadyToPlay or Failed.
    virtual void playerItemStatusDidChange(Player&, PlayerItem&) { }
    virtual void playerTimeControlStatusDidChange(Player&) { }
    virtual void playerRateDidChange(Player&) { }
    virtual void playerItemDidPlayToEndTime(Player&, PlayerItem&) { }
    virtual void playerItemFailedToPlayToEndTime(Player&, PlayerItem&, const base::Error&) { }
};

class Player : public std::enable_shared_from_this<Player> {
public:
    enum class TimeControlStatus { Paused, WaitingToPlayAtSpecifiedRate, Playing };
    using TimeObserverId = uint64_t;

    static std::shared_ptr<Player> create(std::shared_ptr<PlayerItem> = nullptr);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    void setDelegate(std::weak_ptr<PlayerDelegate> delegate) { m_delegate = std::move(delegate); }
    std::shared_ptr<PlayerDelegate> delegate() const { return m_delegate.lock(); }

    const std::shared_ptr<PlayerItem>& currentItem() const { return m_item; }
    // The new item starts at 0; the rate stays as it was. An item that already plays in
    // another player is taken from it.
    void replaceCurrentItem(std::shared_ptr<PlayerItem>);

    // play() sets the rate to defaultRate(); pause() to 0.
    void play();
    void pause();
    // The rate asked for: 0 when paused. Playing waits while the item is not ready.
    double rate() const { return m_rate; }
    void setRate(double);
    double defaultRate() const { return m_defaultRate; }
    void setDefaultRate(double rate) { m_defaultRate = rate > 0 ? rate : 1; }
    TimeControlStatus timeControlStatus() const { return m_timeControlStatus; }

    double currentTime() const { return m_timeline.position(); }
    // Clamped to the item; the completion (on the main run loop) gets false when a later
    // seek overtook this one or when there is no ready item.
    void seekToTime(double seconds, std::function<void(bool finished)> completion = {});

    bool isMuted() const { return m_muted; }
    void setMuted(bool muted) { m_muted = muted; }
    double volume() const { return m_volume; }
    void setVolume(double);

    // The block gets the play position each time it crosses a multiple of the interval
    // while playing, and once after each start, pause and seek.
    TimeObserverId addPeriodicTimeObserver(double intervalSeconds, std::function<void(double time)>);
    // The block gets each of the times (item positions, seconds) when play reaches it, at that
    // very moment on the clock whatever the rate. A start, pause or seek does not call it,
    // and a time jumped over by a seek is not reached.
    TimeObserverId addBoundaryTimeObserver(std::vector<double> times, std::function<void(double time)>);
    void removeTimeObserver(TimeObserverId);

private:
    friend class PlayerItem;
    Player();
    void itemStatusDidChange(PlayerItem&);
    void itemFailedToPlay(PlayerItem&, const base::Error&);
    void applyRate(double rate);
    void updateTimeControlStatus();
    void reschedule();
    void scheduleTick(TimeObserverId);
    void postTicks();
    void reachEnd();
    void observeAudioSession();

    struct TimeObserver {
        double interval = 0;
        // Ascending; a boundary observer when not empty.
        std::vector<double> boundaries;
        std::function<void(double)> block;
        base::RunLoop::TaskId pending = 0;
    };

    std::weak_ptr<PlayerDelegate> m_delegate;
    std::shared_ptr<PlayerItem> m_item;
    PlaybackTimeline m_timeline;
    double m_rate = 0;
    double m_defaultRate = 1;
    bool m_muted = false;
    double m_volume = 1;
    TimeControlStatus m_timeControlStatus = TimeControlStatus::Paused;
    base::RunLoop::TaskId m_endTask = 0;
    uint64_t m_seekGeneration = 0;
    std::map<TimeObserverId, TimeObserver> m_observers;
    TimeObserverId m_nextObserverId = 1;
    base::ObserverToken m_interruptionToken;
    base::ObserverToken m_routeToken;
};

} // namespace media
