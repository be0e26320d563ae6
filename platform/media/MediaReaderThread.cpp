#include "platform/media/MediaReaderThread.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace media::detail {

namespace {

struct Job {
    const std::function<void()>* task = nullptr;
    std::exception_ptr failure;
    bool done = false;
};

struct ReaderThread {
    std::mutex mutex;
    std::condition_variable jobArrived;
    std::condition_variable jobDone;
    std::deque<Job*> jobs;
    std::thread::id id;

    void run()
    {
        for (;;) {
            Job* job = nullptr;
            {
                std::unique_lock lock(mutex);
                jobArrived.wait(lock, [this] { return !jobs.empty(); });
                job = jobs.front();
                jobs.pop_front();
            }
            try {
                (*job->task)();
            } catch (...) {
                job->failure = std::current_exception();
            }
            std::lock_guard lock(mutex);
            job->done = true;
            jobDone.notify_all();
        }
    }
};

// Made once and never destroyed: the thread waits on it for the life of the process, and a
// condition variable destroyed at exit under a waiting thread blocks the exit.
ReaderThread& readerThread()
{
    static ReaderThread* reader = [] {
        auto* made = new ReaderThread;
        std::thread thread([made] { made->run(); });
        made->id = thread.get_id();
        thread.detach();
        return made;
    }();
    return *reader;
}

} // namespace

bool isMediaReaderThread()
{
    return std::this_thread::get_id() == readerThread().id;
}

void runOnMediaReaderThread(const std::function<void()>& task)
{
    if (isMediaReaderThread()) {
        task();
        return;
    }
    ReaderThread& reader = readerThread();
    Job job;
    job.task = &task;
    std::unique_lock lock(reader.mutex);
    reader.jobs.push_back(&job);
    reader.jobArrived.notify_one();
    reader.jobDone.wait(lock, [&] { return job.done; });
    lock.unlock();
    if (job.failure)
        std::rethrow_exception(job.failure);
}

} // namespace media::detail
