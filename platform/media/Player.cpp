#include "platform/media/Player.h"

#include "platform/media/AudioSession.h"

#include <algorithm>
#include <cmath>

namespace media {

namespace {

// Time positions computed from the clock can miss a boundary by a rounding step.
constexpr double epsilon = 1e-9;

base::Value errorInfo(const base::Error& error)
{
    base::Value::Dictionary info;
    base::Value::Dictionary described;
    described.set("domain", error.domain);
    described.set("code", error.code);
    described.set("description", error.localizedDescription());
    info.set(playerItemFailedToPlayToEndTimeErrorKey, std::move(described));
    return info;
}

} // namespace

Player::Player() = default;

std::shared_ptr<Player> Player::create(std::shared_ptr<PlayerItem> item)
{
    std::shared_ptr<Player> player(new Player());
    player->observeAudioSession();
    if (item)
        player->replaceCurrentItem(std::move(item));
    return player;
}

Player::~Player()
{
    auto& loop = base::RunLoop::main();
    loop.cancel(m_endTask);
    for (auto& [id, observer] : m_observers)
        loop.cancel(observer.pending);
    if (m_item)
        m_item->m_player.reset();
}

void Player::observeAudioSession()
{
    std::weak_ptr<Player> weakSelf = weak_from_this();
    auto& center = base::NotificationCenter::defaultCenter();
    const void* session = &AudioSession::sharedInstance();
    m_interruptionToken = center.addObserver(audioSessionInterruptionNotification, session, [weakSelf](const base::Notification& note) {
        auto self = weakSelf.lock();
        if (self && note.userInfo[audioSessionInterruptionTypeKey].intValue() == static_cast<int>(AudioSessionInterruptionType::Began))
            self->pause();
    });
    m_routeToken = center.addObserver(audioSessionRouteChangeNotification, session, [weakSelf](const base::Notification& note) {
        auto self = weakSelf.lock();
        if (self && note.userInfo[audioSessionRouteChangeReasonKey].intValue() == static_cast<int>(AudioSessionRouteChangeReason::OldDeviceUnavailable))
            self->pause();
    });
}

void Player::replaceCurrentItem(std::shared_ptr<PlayerItem> item)
{
    if (item == m_item)
        return;
    if (item) {
        if (auto other = item->m_player.lock(); other && other.get() != this)
            other->replaceCurrentItem(nullptr);
    }
    if (m_item)
        m_item->m_player.reset();
    m_item = std::move(item);
    if (m_item)
        m_item->m_player = weak_from_this();
    ++m_seekGeneration;
    m_timeline.setRate(0);
    m_timeline.setDuration(m_item && m_item->status() == PlayerItem::Status::ReadyToPlay ? m_item->duration() : 0);
    m_timeline.seek(0);
    applyRate(m_rate);
}

void Player::play()
{
    setRate(m_defaultRate);
}

void Player::pause()
{
    setRate(0);
}

void Player::setRate(double rate)
{
    rate = rate > 0 && std::isfinite(rate) ? rate : 0;
    if (rate == m_rate)
        return;
    applyRate(rate);
    if (auto delegate = m_delegate.lock())
        delegate->playerRateDidChange(*this);
    postTicks();
}

void Player::applyRate(double rate)
{
    m_rate = rate;
    bool ready = m_item && m_item->status() == PlayerItem::Status::ReadyToPlay;
    m_timeline.setRate(ready ? rate : 0);
    reschedule();
    updateTimeControlStatus();
}

void Player::updateTimeControlStatus()
{
    TimeControlStatus status = TimeControlStatus::Paused;
    if (m_rate > 0)
        status = m_item && m_item->status() == PlayerItem::Status::ReadyToPlay ? TimeControlStatus::Playing : TimeControlStatus::WaitingToPlayAtSpecifiedRate;
    if (status == m_timeControlStatus)
        return;
    m_timeControlStatus = status;
    if (auto delegate = m_delegate.lock())
        delegate->playerTimeControlStatusDidChange(*this);
}

void Player::seekToTime(double seconds, std::function<void(bool)> completion)
{
    bool ready = m_item && m_item->status() == PlayerItem::Status::ReadyToPlay;
    uint64_t generation = ++m_seekGeneration;
    if (ready && std::isfinite(seconds)) {
        m_timeline.seek(seconds);
        reschedule();
        postTicks();
    }
    if (!completion)
        return;
    std::weak_ptr<Player> weakSelf = weak_from_this();
    base::RunLoop::main().post([weakSelf, generation, ready, completion = std::move(completion)] {
        auto self = weakSelf.lock();
        completion(ready && self && self->m_seekGeneration == generation);
    });
}

void Player::setVolume(double volume)
{
    m_volume = std::isfinite(volume) ? std::clamp(volume, 0.0, 1.0) : 1;
}

Player::TimeObserverId Player::addPeriodicTimeObserver(double interval, std::function<void(double)> block)
{
    TimeObserverId id = m_nextObserverId++;
    // A zero or negative interval would tick without end; it ticks on starts, pauses and seeks only.
    m_observers[id] = TimeObserver { std::isfinite(interval) && interval > 0 ? interval : 0, {}, std::move(block), 0 };
    scheduleTick(id);
    return id;
}

Player::TimeObserverId Player::addBoundaryTimeObserver(std::vector<double> times, std::function<void(double)> block)
{
    TimeObserverId id = m_nextObserverId++;
    std::erase_if(times, [](double time) { return !std::isfinite(time) || time < 0; });
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    // Without a time it would never be called; it is kept so its id stays valid.
    m_observers[id] = TimeObserver { 0, std::move(times), std::move(block), 0 };
    scheduleTick(id);
    return id;
}

void Player::removeTimeObserver(TimeObserverId id)
{
    auto found = m_observers.find(id);
    if (found == m_observers.end())
        return;
    base::RunLoop::main().cancel(found->second.pending);
    m_observers.erase(found);
}

void Player::reschedule()
{
    auto& loop = base::RunLoop::main();
    loop.cancel(std::exchange(m_endTask, 0));
    for (auto& [id, observer] : m_observers)
        loop.cancel(std::exchange(observer.pending, 0));
    if (m_timeline.rate() <= 0)
        return;
    if (auto endTime = m_timeline.clockTimeAt(m_timeline.duration())) {
        m_endTask = loop.postAt(*endTime, weak_from_this(), [this] {
            m_endTask = 0;
            reachEnd();
        });
    }
    for (auto& [id, observer] : m_observers)
        scheduleTick(id);
}

void Player::scheduleTick(TimeObserverId id)
{
    auto found = m_observers.find(id);
    if (found == m_observers.end() || m_timeline.rate() <= 0)
        return;
    const auto& boundaries = found->second.boundaries;
    double next = 0;
    if (!boundaries.empty()) {
        // The first time still ahead; one play is standing on was reached already.
        auto ahead = std::upper_bound(boundaries.begin(), boundaries.end(), m_timeline.position() + epsilon);
        if (ahead == boundaries.end() || *ahead > m_timeline.duration())
            return;
        next = *ahead;
    } else {
        double interval = found->second.interval;
        if (interval <= 0)
            return;
        next = (std::floor(m_timeline.position() / interval + epsilon) + 1) * interval;
        if (next >= m_timeline.duration() - epsilon)
            return; // the end reports the last position
    }
    auto when = m_timeline.clockTimeAt(next);
    if (!when)
        return;
    found->second.pending = base::RunLoop::main().postAt(*when, weak_from_this(), [this, id, next] {
        auto observer = m_observers.find(id);
        if (observer == m_observers.end())
            return;
        observer->second.pending = 0;
        auto block = observer->second.block;
        if (block)
            block(next);
        // The block may have removed the observer or moved the player (which rescheduled it).
        observer = m_observers.find(id);
        if (observer != m_observers.end() && observer->second.pending == 0)
            scheduleTick(id);
    });
}

void Player::postTicks()
{
    if (m_observers.empty())
        return;
    base::RunLoop::main().post(weak_from_this(), [this] {
        std::vector<std::function<void(double)>> blocks;
        for (auto& [id, observer] : m_observers) {
            if (observer.boundaries.empty())
                blocks.push_back(observer.block);
        }
        double time = currentTime();
        for (const auto& block : blocks) {
            if (block)
                block(time);
        }
    });
}

void Player::reachEnd()
{
    if (!m_item)
        return;
    m_timeline.seek(m_timeline.duration());
    std::shared_ptr<PlayerItem> item = m_item;
    setRate(0);
    if (auto delegate = m_delegate.lock())
        delegate->playerItemDidPlayToEndTime(*this, *item);
    base::NotificationCenter::defaultCenter().post(playerItemDidPlayToEndTimeNotification, item.get());
}

void Player::itemStatusDidChange(PlayerItem& item)
{
    if (&item != m_item.get())
        return;
    if (item.status() == PlayerItem::Status::ReadyToPlay) {
        m_timeline.setDuration(item.duration());
        applyRate(m_rate);
    } else if (item.status() == PlayerItem::Status::Failed) {
        setRate(0);
    }
    if (auto delegate = m_delegate.lock())
        delegate->playerItemStatusDidChange(*this, item);
}

void Player::itemFailedToPlay(PlayerItem& item, const base::Error& error)
{
    if (&item != m_item.get())
        return;
    std::shared_ptr<PlayerItem> keep = m_item;
    setRate(0);
    if (auto delegate = m_delegate.lock())
        delegate->playerItemFailedToPlayToEndTime(*this, item, error);
    base::NotificationCenter::defaultCenter().post(playerItemFailedToPlayToEndTimeNotification, &item, errorInfo(error));
}

} // namespace media
