#include "platform/base/RunLoop.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <utility>

namespace base {

void noteMainRunLoopThread(); // Thread.cpp

namespace {

// Sums of decimal intervals (0.1 + 0.2) land a hair past the time they stand for; a task
// due within this much of a stop is treated as due at it, so no tick is lost to rounding.
constexpr double timeEpsilon = 1e-9;

// Longest single sleep of runUntil(), so a done() that turns true without a post is seen.
constexpr double pollSlice = 0.05;

double steadySeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double sanitizedDelay(double seconds)
{
    if (std::isnan(seconds) || seconds < 0)
        return 0;
    return seconds;
}

} // namespace

RunLoop& RunLoop::main()
{
    // Never destroyed: worker threads may still post while the process exits.
    static RunLoop* loop = [] {
        noteMainRunLoopThread();
        return new RunLoop;
    }();
    return *loop;
}

RunLoop::RunLoop() = default;

RunLoop::~RunLoop()
{
    std::map<Key, Entry> doomed;
    {
        std::lock_guard lock(m_mutex);
        doomed.swap(m_tasks);
        m_keyOfTask.clear();
    }
}

RunLoop::TaskId RunLoop::post(Task task)
{
    return postDelayed(0, std::move(task));
}

RunLoop::TaskId RunLoop::postDelayed(double seconds, Task task)
{
    std::lock_guard lock(m_mutex);
    return enqueue(nowLocked() + sanitizedDelay(seconds), Entry { std::move(task), {}, false });
}

RunLoop::TaskId RunLoop::post(std::weak_ptr<const void> owner, Task task)
{
    return postDelayed(0, std::move(owner), std::move(task));
}

RunLoop::TaskId RunLoop::postDelayed(double seconds, std::weak_ptr<const void> owner, Task task)
{
    std::lock_guard lock(m_mutex);
    return enqueue(nowLocked() + sanitizedDelay(seconds), Entry { std::move(task), std::move(owner), true });
}

RunLoop::TaskId RunLoop::postAt(double time, Task task)
{
    std::lock_guard lock(m_mutex);
    return enqueue(std::isnan(time) ? nowLocked() : time, Entry { std::move(task), {}, false });
}

RunLoop::TaskId RunLoop::postAt(double time, std::weak_ptr<const void> owner, Task task)
{
    std::lock_guard lock(m_mutex);
    return enqueue(std::isnan(time) ? nowLocked() : time, Entry { std::move(task), std::move(owner), true });
}

RunLoop::TaskId RunLoop::enqueue(double dueTime, Entry&& entry)
{
    TaskId id = m_nextId++;
    Key key { dueTime, id };
    m_tasks.emplace(key, std::move(entry));
    m_keyOfTask.emplace(id, key);
    m_wakeUp.notify_all();
    return id;
}

bool RunLoop::cancel(TaskId id)
{
    Entry doomed;
    {
        std::lock_guard lock(m_mutex);
        auto found = m_keyOfTask.find(id);
        if (found == m_keyOfTask.end())
            return false;
        auto node = m_tasks.extract(found->second);
        m_keyOfTask.erase(found);
        doomed = std::move(node.mapped());
    }
    return true;
}

double RunLoop::now() const
{
    std::lock_guard lock(m_mutex);
    return nowLocked();
}

double RunLoop::nowLocked() const
{
    return m_realTime ? steadySeconds() - m_realOrigin : m_virtualNow;
}

bool RunLoop::takeDue(double limit, Entry& out)
{
    std::lock_guard lock(m_mutex);
    if (m_tasks.empty())
        return false;
    auto first = m_tasks.begin();
    double due = first->first.first;
    if (due > limit + timeEpsilon)
        return false;
    if (!m_realTime)
        m_virtualNow = std::max(m_virtualNow, std::min(due, limit));
    m_keyOfTask.erase(first->first.second);
    out = std::move(first->second);
    m_tasks.erase(first);
    return true;
}

void RunLoop::runEntry(Entry& entry)
{
    if (entry.hasOwner) {
        auto alive = entry.owner.lock();
        if (!alive)
            return;
        entry.task();
        endTurn();
        return;
    }
    if (entry.task) {
        entry.task();
        endTurn();
    }
}

void RunLoop::setTurnEndHook(Task hook)
{
    m_turnEndHook = std::move(hook);
}

void RunLoop::endTurn()
{
    // A hook that runs the loop itself must not re-enter itself.
    if (!m_turnEndHook || m_inTurnEndHook)
        return;
    m_inTurnEndHook = true;
    m_turnEndHook();
    m_inTurnEndHook = false;
}

void RunLoop::noteLimitHit(const char* where, size_t ran)
{
    {
        std::lock_guard lock(m_mutex);
        m_lastRunHitLimit = true;
    }
    std::fprintf(
        stderr, "base::RunLoop::%s stopped after %zu tasks; %zu still pending\n", where, ran, pendingCount());
}

size_t RunLoop::runUntilIdle()
{
    size_t limit = taskLimit();
    {
        std::lock_guard lock(m_mutex);
        m_lastRunHitLimit = false;
    }
    size_t ran = 0;
    for (;;) {
        if (ran >= limit) {
            noteLimitHit("runUntilIdle", ran);
            break;
        }
        Entry entry;
        if (!takeDue(now(), entry))
            break;
        runEntry(entry);
        ++ran;
    }
    endTurn();
    return ran;
}

size_t RunLoop::advanceBy(double seconds)
{
    if (isRealTime()) {
        runFor(seconds);
        return 0;
    }
    size_t limit;
    double target;
    {
        std::lock_guard lock(m_mutex);
        m_lastRunHitLimit = false;
        limit = m_taskLimit;
        target = m_virtualNow + sanitizedDelay(seconds);
    }
    size_t ran = 0;
    for (;;) {
        if (ran >= limit) {
            // The clock stays where the work stopped, so nothing left behind is overdue.
            noteLimitHit("advanceBy", ran);
            return ran;
        }
        Entry entry;
        if (!takeDue(target, entry))
            break;
        runEntry(entry);
        ++ran;
    }
    endTurn();
    std::lock_guard lock(m_mutex);
    if (!m_realTime && std::isfinite(target))
        m_virtualNow = std::max(m_virtualNow, target);
    return ran;
}

size_t RunLoop::pendingCount() const
{
    std::lock_guard lock(m_mutex);
    return m_tasks.size();
}

void RunLoop::reset()
{
    std::map<Key, Entry> doomed;
    {
        std::lock_guard lock(m_mutex);
        doomed.swap(m_tasks);
        m_keyOfTask.clear();
        m_virtualNow = 0;
        m_realTime = false;
        m_stopRequested = false;
        m_lastRunHitLimit = false;
        m_taskLimit = defaultTaskLimit;
        // Ids keep growing, so a stale id from before the reset never cancels a new task.
    }
}

void RunLoop::setTaskLimit(size_t limit)
{
    std::lock_guard lock(m_mutex);
    m_taskLimit = std::max<size_t>(limit, 1);
}

size_t RunLoop::taskLimit() const
{
    std::lock_guard lock(m_mutex);
    return m_taskLimit;
}

bool RunLoop::lastRunHitLimit() const
{
    std::lock_guard lock(m_mutex);
    return m_lastRunHitLimit;
}

void RunLoop::setRealTime(bool realTime)
{
    std::lock_guard lock(m_mutex);
    if (realTime == m_realTime)
        return;
    // The clock carries on from where it was, in either direction of the switch.
    if (realTime)
        m_realOrigin = steadySeconds() - m_virtualNow;
    else
        m_virtualNow = steadySeconds() - m_realOrigin;
    m_realTime = realTime;
    m_wakeUp.notify_all();
}

bool RunLoop::isRealTime() const
{
    std::lock_guard lock(m_mutex);
    return m_realTime;
}

void RunLoop::stop()
{
    std::lock_guard lock(m_mutex);
    m_stopRequested = true;
    m_wakeUp.notify_all();
}

void RunLoop::runFor(double seconds)
{
    runUntil(nullptr, seconds);
}

bool RunLoop::runUntil(const std::function<bool()>& done, double timeoutSeconds)
{
    auto isDone = [&] { return done && done(); };
    double deadline;
    size_t limit;
    bool realTime;
    {
        std::lock_guard lock(m_mutex);
        m_stopRequested = false;
        m_lastRunHitLimit = false;
        limit = m_taskLimit;
        realTime = m_realTime;
        deadline = nowLocked() + sanitizedDelay(timeoutSeconds);
    }
    auto stopRequested = [&] {
        std::lock_guard lock(m_mutex);
        return m_stopRequested;
    };

    if (isDone())
        return true;

    if (!realTime) {
        size_t ran = 0;
        for (;;) {
            if (ran >= limit) {
                noteLimitHit("runUntil", ran);
                return isDone();
            }
            Entry entry;
            if (!takeDue(deadline, entry))
                break;
            runEntry(entry);
            ++ran;
            if (isDone())
                return true;
            if (stopRequested())
                return false;
        }
        std::lock_guard lock(m_mutex);
        if (!m_realTime && std::isfinite(deadline))
            m_virtualNow = std::max(m_virtualNow, deadline);
    } else {
        for (;;) {
            // Tasks run back to back without sleeping count against the limit: that is
            // the shape of a task re-posting itself forever.
            size_t ranWithoutSleeping = 0;
            for (;;) {
                if (ranWithoutSleeping >= limit) {
                    noteLimitHit("runUntil", ranWithoutSleeping);
                    return isDone();
                }
                Entry entry;
                if (!takeDue(now(), entry))
                    break;
                runEntry(entry);
                ++ranWithoutSleeping;
                if (isDone())
                    return true;
                if (stopRequested())
                    return false;
            }
            std::unique_lock lock(m_mutex);
            if (m_stopRequested)
                return false;
            double current = nowLocked();
            if (current >= deadline)
                break;
            double wakeAt = deadline;
            if (!m_tasks.empty())
                wakeAt = std::min(wakeAt, m_tasks.begin()->first.first);
            if (done)
                wakeAt = std::min(wakeAt, current + pollSlice);
            if (wakeAt > current) {
                auto wait = std::chrono::duration<double>(std::min(wakeAt - current, 3600.0));
                m_wakeUp.wait_for(lock, wait);
            }
        }
    }
    return isDone();
}

} // namespace base
