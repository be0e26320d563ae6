#include "platform/base/Dispatch.h"

#include "platform/base/RunLoop.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <exception>
#include <thread>
#include <utility>
#include <vector>

namespace base {

void noteBackgroundWorkerThread(); // Thread.cpp

namespace {

std::atomic<bool> synchronousForTesting { false };
thread_local bool onWorkerThread = false;

// Everything submitted to a background queue and not finished yet, so tests can wait
// for the background to drain.
class Outstanding {
public:
    static Outstanding& shared()
    {
        static Outstanding* outstanding = new Outstanding;
        return *outstanding;
    }
    void begin()
    {
        std::lock_guard lock(m_mutex);
        ++m_count;
    }
    void end()
    {
        std::lock_guard lock(m_mutex);
        if (--m_count == 0)
            m_idle.notify_all();
    }
    void waitIdle()
    {
        std::unique_lock lock(m_mutex);
        m_idle.wait(lock, [this] { return m_count == 0; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_idle;
    size_t m_count = 0;
};

void runGuarded(const DispatchQueue::Task& task, const char* label)
{
    // A throwing task must not take the worker (and with it the process) down.
    try {
        if (task)
            task();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "base: task on queue '%s' threw: %s\n", label, error.what());
    } catch (...) {
        std::fprintf(stderr, "base: task on queue '%s' threw\n", label);
    }
}

class WorkerPool {
public:
    static WorkerPool& shared()
    {
        // Never destroyed: workers may be busy while the process exits.
        static WorkerPool* pool = new WorkerPool;
        return *pool;
    }

    // The caller has already counted the work in Outstanding; the worker ends it.
    void submit(DispatchQueue::Task task, std::string label)
    {
        std::lock_guard lock(m_mutex);
        startWorkersLocked();
        m_queue.push_back({ std::move(task), std::move(label) });
        m_wakeUp.notify_one();
    }

private:
    struct Job {
        DispatchQueue::Task task;
        std::string label;
    };

    void startWorkersLocked()
    {
        if (!m_workers.empty())
            return;
        // At least four, so a task that waits on a group fed by other tasks still has
        // workers left to run them.
        unsigned count = std::clamp(std::thread::hardware_concurrency(), 4u, 8u);
        for (unsigned i = 0; i < count; ++i) {
            m_workers.emplace_back([this] { workerLoop(); });
            m_workers.back().detach();
        }
    }

    void workerLoop()
    {
        onWorkerThread = true;
        noteBackgroundWorkerThread();
        for (;;) {
            Job job;
            {
                std::unique_lock lock(m_mutex);
                m_wakeUp.wait(lock, [this] { return !m_queue.empty(); });
                job = std::move(m_queue.front());
                m_queue.pop_front();
            }
            runGuarded(job.task, job.label.c_str());
            job.task = nullptr; // captures die before the work counts as done
            Outstanding::shared().end();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wakeUp;
    std::deque<Job> m_queue;
    std::vector<std::thread> m_workers;
};

void submitBackground(DispatchQueue::Task task, const std::string& label)
{
    if (synchronousForTesting.load()) {
        runGuarded(task, label.c_str());
        return;
    }
    Outstanding::shared().begin();
    WorkerPool::shared().submit(std::move(task), label);
}

class GlobalQueue final : public DispatchQueue {
public:
    void async(Task task) override { submitBackground(std::move(task), m_label); }
    const std::string& label() const override { return m_label; }

private:
    std::string m_label { "global" };
};

class MainQueue final : public DispatchQueue {
public:
    void async(Task task) override { RunLoop::main().post(std::move(task)); }
    const std::string& label() const override { return m_label; }

private:
    std::string m_label { "main" };
};

} // namespace

DispatchQueue& globalQueue()
{
    static GlobalQueue* queue = new GlobalQueue;
    return *queue;
}

DispatchQueue& mainQueue()
{
    static MainQueue* queue = new MainQueue;
    return *queue;
}

ConcurrentQueue::ConcurrentQueue(std::string label)
    : m_label(std::move(label))
{
}

void ConcurrentQueue::async(Task task)
{
    submitBackground(std::move(task), m_label);
}

struct SerialQueue::State : std::enable_shared_from_this<SerialQueue::State> {
    explicit State(std::string label)
        : label(std::move(label))
    {
    }

    void drain()
    {
        for (;;) {
            Task task;
            {
                std::lock_guard lock(mutex);
                if (tasks.empty()) {
                    draining = false;
                    return;
                }
                task = std::move(tasks.front());
                tasks.pop_front();
            }
            runGuarded(task, label.c_str());
            task = nullptr;
            Outstanding::shared().end();
        }
    }

    const std::string label;
    std::mutex mutex;
    std::deque<Task> tasks;
    bool draining = false;
};

SerialQueue::SerialQueue(std::string label)
    : m_label(label)
    , m_state(std::make_shared<State>(std::move(label)))
{
}

SerialQueue::~SerialQueue() = default;

void SerialQueue::async(Task task)
{
    if (synchronousForTesting.load()) {
        runGuarded(task, m_label.c_str());
        return;
    }
    Outstanding::shared().begin();
    bool startDrain = false;
    {
        std::lock_guard lock(m_state->mutex);
        m_state->tasks.push_back(std::move(task));
        if (!m_state->draining) {
            m_state->draining = true;
            startDrain = true;
        }
    }
    // One drain at a time per queue is what keeps the tasks in order and never
    // overlapping; the drain holds the state, so the queue object may go first.
    if (startDrain) {
        Outstanding::shared().begin();
        WorkerPool::shared().submit([state = m_state] { state->drain(); }, m_label);
    }
}

struct DispatchGroup::State {
    std::mutex mutex;
    std::condition_variable empty;
    size_t count = 0;
    std::vector<std::pair<DispatchQueue*, std::function<void()>>> notifications;
};

DispatchGroup::DispatchGroup()
    : m_state(std::make_shared<State>())
{
}

void DispatchGroup::enter()
{
    std::lock_guard lock(m_state->mutex);
    ++m_state->count;
}

void DispatchGroup::leave()
{
    std::vector<std::pair<DispatchQueue*, std::function<void()>>> due;
    {
        std::lock_guard lock(m_state->mutex);
        if (m_state->count == 0) {
            std::fprintf(stderr, "base::DispatchGroup: leave() without a matching enter() ignored\n");
            return;
        }
        if (--m_state->count > 0)
            return;
        due.swap(m_state->notifications);
        m_state->empty.notify_all();
    }
    for (auto& [queue, callback] : due)
        queue->async(std::move(callback));
}

void DispatchGroup::async(DispatchQueue& queue, DispatchQueue::Task task)
{
    enter();
    queue.async([state = m_state, task = std::move(task)]() mutable {
        DispatchGroup group(std::move(state));
        runGuarded(task, "group");
        task = nullptr;
        group.leave();
    });
}

DispatchGroup::DispatchGroup(std::shared_ptr<State> state)
    : m_state(std::move(state))
{
}

void DispatchGroup::notify(std::function<void()> callback)
{
    notify(mainQueue(), std::move(callback));
}

void DispatchGroup::notify(DispatchQueue& queue, std::function<void()> callback)
{
    {
        std::lock_guard lock(m_state->mutex);
        if (m_state->count > 0) {
            m_state->notifications.emplace_back(&queue, std::move(callback));
            return;
        }
    }
    queue.async(std::move(callback));
}

void DispatchGroup::wait()
{
    std::unique_lock lock(m_state->mutex);
    m_state->empty.wait(lock, [this] { return m_state->count == 0; });
}

bool DispatchGroup::wait(double timeoutSeconds)
{
    std::unique_lock lock(m_state->mutex);
    auto timeout = std::chrono::duration<double>(std::max(0.0, timeoutSeconds));
    return m_state->empty.wait_for(lock, timeout, [this] { return m_state->count == 0; });
}

size_t DispatchGroup::count() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->count;
}

void waitForBackgroundWork()
{
    if (onWorkerThread) {
        std::fprintf(stderr, "base::waitForBackgroundWork() called from a queue task; not waiting\n");
        return;
    }
    Outstanding::shared().waitIdle();
}

void setSynchronousForTesting(bool synchronous)
{
    synchronousForTesting.store(synchronous);
}

bool isSynchronousForTesting()
{
    return synchronousForTesting.load();
}

} // namespace base
