#pragma once

// The companion framework's log. Off by default; the reader switches it off again when it
// is created. Lines go to stderr only while logging is enabled; the verbose text is added
// only while verbose output is enabled too. Safe to call from any thread.

#include <functional>
#include <string>

namespace lectoro {

class LectoroDebugLog {
public:
    using Sink = std::function<void(const std::string& line)>;

    static void enableLogsWithIsenabled(bool enabled);
    static void enableVerboseWithIsenabled(bool enabled);
    static bool isLogsEnabled();
    static bool isVerboseEnabled();

    // One line: "[Lectoro:<type>] <className>: <message>", followed by " | <verbose>" when
    // verbose output is on and the verbose text is not empty. Nothing while disabled.
    static void logWithType(int type, const std::string& className, const std::string& message,
        const std::string& verboseMesage = {});

    // Tests capture lines here instead of stderr; an empty sink restores stderr.
    static void setSinkForTesting(Sink);
};

} // namespace lectoro
