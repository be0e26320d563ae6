#include "platform/base/Timer.h"

#include <cmath>
#include <utility>

namespace base {

std::shared_ptr<Timer> Timer::scheduled(double interval, bool repeats, Callback callback)
{
    std::shared_ptr<Timer> timer(new Timer(interval, repeats, std::move(callback)));
    std::lock_guard lock(timer->m_mutex);
    timer->m_start = RunLoop::main().now();
    timer->schedule();
    return timer;
}

Timer::Timer(double interval, bool repeats, Callback callback)
    : m_interval(interval >= minimumInterval ? interval : minimumInterval) // NaN fails the test too
    , m_repeats(repeats)
    , m_callback(std::move(callback))
{
}

Timer::~Timer()
{
    if (m_pending)
        RunLoop::main().cancel(m_pending);
}

// Called with m_mutex held.
void Timer::schedule()
{
    // Each tick is placed from the start time, not from the previous tick, so rounding
    // never accumulates into a lost or an extra tick.
    uint64_t tick = m_ticksScheduled + 1;
    double due = m_start + static_cast<double>(tick) * m_interval;
    double now = RunLoop::main().now();
    if (due < now && std::isfinite(now)) {
        // A real-time loop fell behind: resume at the next tick still ahead.
        tick = static_cast<uint64_t>(std::floor((now - m_start) / m_interval)) + 1;
        due = m_start + static_cast<double>(tick) * m_interval;
    }
    m_ticksScheduled = tick;
    m_pending = RunLoop::main().postAt(due, weak_from_this(), [this] { this->tick(); });
}

void Timer::tick()
{
    Callback callback;
    {
        std::lock_guard lock(m_mutex);
        m_pending = 0;
        if (!m_valid)
            return;
        if (!m_repeats)
            m_valid = false;
        ++m_fireCount;
        callback = m_callback;
    }
    // A copy runs, so the callback may invalidate the timer (which lets go of m_callback).
    if (callback)
        callback(*this);

    Callback doomed;
    {
        std::lock_guard lock(m_mutex);
        if (m_valid && m_repeats && !m_pending)
            schedule();
        else if (!m_repeats)
            doomed = std::move(m_callback);
    }
}

void Timer::invalidate()
{
    RunLoop::TaskId pending;
    Callback doomed;
    {
        std::lock_guard lock(m_mutex);
        m_valid = false;
        pending = std::exchange(m_pending, 0);
        doomed = std::move(m_callback);
    }
    if (pending)
        RunLoop::main().cancel(pending);
}

bool Timer::isValid() const
{
    std::lock_guard lock(m_mutex);
    return m_valid;
}

void Timer::fire()
{
    auto keepAlive = weak_from_this().lock();
    Callback callback;
    RunLoop::TaskId pending = 0;
    {
        std::lock_guard lock(m_mutex);
        if (!m_valid)
            return;
        ++m_fireCount;
        callback = m_callback;
        if (!m_repeats) {
            m_valid = false;
            pending = std::exchange(m_pending, 0);
            m_callback = nullptr;
        }
    }
    if (pending)
        RunLoop::main().cancel(pending);
    if (callback)
        callback(*this);
}

double Timer::nextFireTime() const
{
    std::lock_guard lock(m_mutex);
    return m_start + static_cast<double>(m_ticksScheduled) * m_interval;
}

uint64_t Timer::fireCount() const
{
    std::lock_guard lock(m_mutex);
    return m_fireCount;
}

} // namespace base
