#pragma once

// The main queue of the process and its clock.
//
// By default the clock is virtual: it starts at 0 and moves only when a test calls
// advanceBy(), so delayed work and timers are deterministic. The example host switches
// the loop to real time and drives it with runFor()/runUntil().
//
// Posting is thread-safe: answers computed on worker threads hop back here with post().
// Tasks always run on the thread that drives the loop, never while a lock is held, and
// are destroyed outside the lock too, so a task's captures may post or cancel freely.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace base {

class RunLoop {
public:
    using TaskId = uint64_t;
    using Task = std::function<void()>;

    // Bounds one runUntilIdle()/advanceBy()/runUntil() call, so a task that keeps
    // re-posting itself (or a timer with a tiny interval) cannot spin a test forever.
    static constexpr size_t defaultTaskLimit = 100000;

    // The process's main loop. The first thread that touches it becomes the main thread
    // (see Thread.h) unless markMainThread() said otherwise before.
    static RunLoop& main();

    RunLoop();
    ~RunLoop();
    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    // Ids are never 0, so 0 can stand for "no task" in callers.
    TaskId post(Task);
    TaskId postDelayed(double seconds, Task);
    // The task is dropped, unrun, when the owner is gone by the time it comes due. The
    // owner is kept alive while its task runs.
    TaskId post(std::weak_ptr<const void> owner, Task);
    TaskId postDelayed(double seconds, std::weak_ptr<const void> owner, Task);
    // At an absolute time of now()'s clock; a time in the past means "due now".
    TaskId postAt(double time, Task);
    TaskId postAt(double time, std::weak_ptr<const void> owner, Task);
    // True when the task was still pending (it will not run).
    bool cancel(TaskId);

    // Seconds: the virtual clock, or monotonic time since the loop was made in real time.
    double now() const;

    // Runs every task due now, including tasks they post with no delay, without moving
    // the clock. Answers how many tasks ran.
    size_t runUntilIdle();
    // Moves the clock forward, stopping at each due time to run the tasks due then (equal
    // due times run in posting order). Answers how many tasks ran. In real-time mode it
    // behaves as runFor().
    size_t advanceBy(double seconds);
    // Tasks waiting, due or not (including ones whose owner has gone; they are dropped
    // when they come due).
    size_t pendingCount() const;
    // Test support: drops every task, puts the clock back to 0 and returns to virtual time.
    void reset();

    void setTaskLimit(size_t);
    size_t taskLimit() const;
    // Whether the last runUntilIdle()/advanceBy()/runFor()/runUntil() stopped at the task
    // limit (it also writes one line to stderr when that happens).
    bool lastRunHitLimit() const;

    // Real time, for the example host.
    void setRealTime(bool);
    bool isRealTime() const;
    // Runs tasks as they come due for the given time (virtual time: as advanceBy()).
    // Returns early after stop().
    void runFor(double seconds);
    // Runs until done() answers true (checked before waiting and after every task) or
    // the timeout passes; answers done()'s last answer. With a virtual clock, the clock
    // jumps from due time to due time and never beyond the timeout.
    bool runUntil(const std::function<bool()>& done, double timeoutSeconds);
    // Makes the current runFor()/runUntil() return; callable from any thread.
    void stop();

    // Runs on the loop's thread at the end of every turn: after each task, and when a
    // runUntilIdle()/advanceBy()/runUntil() call returns. The view layer lays windows out
    // here, as the device does before the screen is drawn.
    void setTurnEndHook(Task);

private:
    struct Entry {
        Task task;
        std::weak_ptr<const void> owner;
        bool hasOwner = false;
    };
    using Key = std::pair<double, TaskId>;

    TaskId enqueue(double dueTime, Entry&&);
    double nowLocked() const;
    // Pops the first task due at or before `limit` and moves the virtual clock to it.
    bool takeDue(double limit, Entry& out);
    void runEntry(Entry&);
    void noteLimitHit(const char* where, size_t ran);
    void endTurn();

    mutable std::mutex m_mutex;
    std::condition_variable m_wakeUp;
    std::map<Key, Entry> m_tasks;
    std::unordered_map<TaskId, Key> m_keyOfTask;
    TaskId m_nextId = 1;
    double m_virtualNow = 0;
    bool m_realTime = false;
    double m_realOrigin = 0;
    bool m_stopRequested = false;
    size_t m_taskLimit = defaultTaskLimit;
    Task m_turnEndHook;
    bool m_inTurnEndHook = false;
    bool m_lastRunHitLimit = false;
};

} // namespace base
