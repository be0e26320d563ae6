#pragma once

// A timer on the main run loop.
//
// The loop does not keep a timer alive: whoever schedules it keeps the shared_ptr, and
// dropping the last reference invalidates it. A repeating timer fires at
// start + n * interval (never drifting, never bunching): advanceBy(30) on a 10 s timer
// gives exactly three ticks. When a real-time loop falls behind, missed ticks are
// skipped rather than fired in a burst.

#include "platform/base/RunLoop.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace base {

class Timer : public std::enable_shared_from_this<Timer> {
public:
    using Callback = std::function<void(Timer&)>;

    // Shorter intervals (zero, negative, NaN) are raised to this, so a repeating timer
    // always lets the clock move.
    static constexpr double minimumInterval = 0.0001;

    static std::shared_ptr<Timer> scheduled(double interval, bool repeats, Callback);

    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Stops it for good; safe from inside its own callback.
    void invalidate();
    bool isValid() const;
    // Runs the callback now without changing the schedule of a repeating timer; a
    // one-shot timer is invalidated by firing. Does nothing once invalid.
    void fire();

    double interval() const { return m_interval; }
    bool repeats() const { return m_repeats; }
    // On the run loop's clock; meaningless once invalid.
    double nextFireTime() const;
    // Ticks delivered so far (fire() included).
    uint64_t fireCount() const;

private:
    Timer(double interval, bool repeats, Callback);
    void schedule();
    void tick();

    const double m_interval;
    const bool m_repeats;
    Callback m_callback;
    // The callback runs on the loop's thread; the schedule may be invalidated from any.
    mutable std::mutex m_mutex;
    double m_start = 0;
    uint64_t m_ticksScheduled = 0;
    uint64_t m_fireCount = 0;
    RunLoop::TaskId m_pending = 0;
    bool m_valid = true;
};

} // namespace base
