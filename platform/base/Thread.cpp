#include "platform/base/Thread.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace base {

namespace {

std::atomic<std::thread::id>& markedMainThread()
{
    static std::atomic<std::thread::id> id {};
    return id;
}

bool isInitialThread()
{
    return static_cast<pid_t>(::syscall(SYS_gettid)) == ::getpid();
}

thread_local bool isBackgroundWorker = false;

} // namespace

// The worker threads of Dispatch.cpp call this first: they are never the main thread,
// even if one of them happens to be the first to touch RunLoop::main().
void noteBackgroundWorkerThread();
void noteBackgroundWorkerThread()
{
    isBackgroundWorker = true;
}

// RunLoop::main() calls this once when it is first made.
void noteMainRunLoopThread();
void noteMainRunLoopThread()
{
    if (isBackgroundWorker)
        return;
    std::thread::id none {};
    markedMainThread().compare_exchange_strong(none, std::this_thread::get_id());
}

bool isMainThread()
{
    if (isBackgroundWorker)
        return false;
    std::thread::id marked = markedMainThread().load();
    if (marked == std::thread::id {})
        return isInitialThread();
    return marked == std::this_thread::get_id();
}

void markMainThread()
{
    markedMainThread().store(std::this_thread::get_id());
}

void mainThreadAssertionFailed(const char* file, int line, const char* function)
{
    std::fprintf(stderr, "%s:%d: %s must be called on the main thread\n", file, line, function);
    std::fflush(stderr);
    std::abort();
}

} // namespace base
