#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace lectoro {

namespace {

std::atomic<bool> s_logsEnabled { false };
std::atomic<bool> s_verboseEnabled { false };

std::mutex& sinkMutex()
{
    static std::mutex mutex;
    return mutex;
}

LectoroDebugLog::Sink& sink()
{
    static LectoroDebugLog::Sink sink;
    return sink;
}

} // namespace

void LectoroDebugLog::enableLogsWithIsenabled(bool enabled)
{
    s_logsEnabled = enabled;
}

void LectoroDebugLog::enableVerboseWithIsenabled(bool enabled)
{
    s_verboseEnabled = enabled;
}

bool LectoroDebugLog::isLogsEnabled()
{
    return s_logsEnabled;
}

bool LectoroDebugLog::isVerboseEnabled()
{
    return s_verboseEnabled;
}

void LectoroDebugLog::logWithType(int type, const std::string& className, const std::string& message,
    const std::string& verboseMesage)
{
    if (!s_logsEnabled)
        return;
    std::string line = "[Lectoro:" + std::to_string(type) + "] " + className + ": " + message;
    if (s_verboseEnabled && !verboseMesage.empty())
        line += " | " + verboseMesage;

    std::lock_guard lock(sinkMutex());
    if (sink()) {
        sink()(line);
        return;
    }
    std::fprintf(stderr, "%s\n", line.c_str());
}

void LectoroDebugLog::setSinkForTesting(Sink newSink)
{
    std::lock_guard lock(sinkMutex());
    sink() = std::move(newSink);
}

} // namespace lectoro
