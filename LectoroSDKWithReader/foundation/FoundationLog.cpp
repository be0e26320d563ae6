#include "LectoroSDKWithReader/foundation/FoundationLog.h"

#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"

#include <cstdio>
#include <mutex>

namespace lectoro {

namespace {

std::mutex& systemLogSinkMutex()
{
    static std::mutex mutex;
    return mutex;
}

SystemLogSink& systemLogSink()
{
    static SystemLogSink current;
    return current;
}

} // namespace

void systemLog(std::string_view message)
{
    SystemLogSink current;
    {
        std::lock_guard lock(systemLogSinkMutex());
        current = systemLogSink();
    }
    if (current) {
        current(message);
        return;
    }
    std::fprintf(stderr, "%.*s\n", int(message.size()), message.data());
}

SystemLogSink setSystemLogSinkForTesting(SystemLogSink newSink)
{
    std::lock_guard lock(systemLogSinkMutex());
    auto previous = std::move(systemLogSink());
    systemLogSink() = std::move(newSink);
    return previous;
}

void debugLog(int type, std::string_view className, std::string_view message)
{
    LectoroDebugLog::logWithType(type, std::string(className), std::string(message), std::string());
}

} // namespace lectoro
