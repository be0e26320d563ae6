#pragma once

// Which thread is the main one.
//
// The main thread is the one marked with markMainThread(), else the first one that
// touched RunLoop::main(), else (before either happened) the process's initial thread.
// The worker threads behind the background queues never are.

namespace base {

bool isMainThread();
// Makes the calling thread the main thread from now on.
void markMainThread();

// Aborts with the place and a clear message; used by BASE_ASSERT_MAIN_THREAD().
[[noreturn]] void mainThreadAssertionFailed(const char* file, int line, const char* function);

} // namespace base

#ifndef NDEBUG
#define BASE_ASSERT_MAIN_THREAD()                                                                            \
    do {                                                                                                     \
        if (!::base::isMainThread())                                                                         \
            ::base::mainThreadAssertionFailed(__FILE__, __LINE__, __func__);                                 \
    } while (false)
#else
#define BASE_ASSERT_MAIN_THREAD() static_cast<void>(0)
#endif
