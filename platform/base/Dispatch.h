#pragma once

// Background queues.
//
// globalQueue() runs tasks concurrently on a small pool of worker threads; a SerialQueue
// runs its tasks one at a time, in order, on that pool. Results go back to the main
// thread with RunLoop::main().post(...) (or mainQueue().async(...)).
//
// Tests either call waitForBackgroundWork() and then drive the run loop, or switch to
// setSynchronousForTesting(true), where background async() runs inline on the caller.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace base {

class DispatchQueue {
public:
    using Task = std::function<void()>;
    virtual ~DispatchQueue() = default;
    virtual void async(Task) = 0;
    virtual const std::string& label() const = 0;
};

// The concurrent background queue shared by the process.
DispatchQueue& globalQueue();
// The main run loop seen as a queue: async() is RunLoop::main().post().
DispatchQueue& mainQueue();

// A labelled concurrent queue; its tasks run on the global pool.
class ConcurrentQueue final : public DispatchQueue {
public:
    explicit ConcurrentQueue(std::string label);
    void async(Task) override;
    const std::string& label() const override { return m_label; }

private:
    std::string m_label;
};

// Tasks run one at a time in submission order. Tasks already submitted still run when
// the queue object is destroyed first.
class SerialQueue final : public DispatchQueue {
public:
    explicit SerialQueue(std::string label);
    ~SerialQueue() override;
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    void async(Task) override;
    const std::string& label() const override { return m_label; }

    struct State;

private:
    std::string m_label;
    std::shared_ptr<State> m_state;
};

// Counts outstanding work; notify() callbacks run once the count returns to zero.
// Copies share one count, and work in flight keeps it alive, so a group may be
// destroyed before its tasks finish.
class DispatchGroup {
public:
    DispatchGroup();

    void enter();
    // An unmatched leave() is ignored (with a line on stderr) instead of corrupting the
    // count.
    void leave();
    // enter(), run the task on the queue, leave().
    void async(DispatchQueue&, DispatchQueue::Task);
    // Posted to the main run loop when the count reaches zero (at once if it is zero).
    void notify(std::function<void()>);
    // The queue must outlive the wait: it is held by reference.
    void notify(DispatchQueue&, std::function<void()>);
    // Blocks the calling thread until the count is zero.
    void wait();
    // False when the timeout passed first.
    bool wait(double timeoutSeconds);
    size_t count() const;

    struct State;

private:
    explicit DispatchGroup(std::shared_ptr<State>);
    std::shared_ptr<State> m_state;
};

// Blocks until every task submitted to the global, concurrent and serial queues has
// finished, including tasks those tasks submitted. Call it from the main thread, not from
// a queue task (that would wait for itself).
void waitForBackgroundWork();
void setSynchronousForTesting(bool);
bool isSynchronousForTesting();

} // namespace base
