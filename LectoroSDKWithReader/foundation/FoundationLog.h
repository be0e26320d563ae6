#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace lectoro {

// The system log: the few lines the reader writes outside the companion framework's debug
// log (invalid alert buttons, reachability flags, refused identifiers). They go to stderr;
// a test may capture them instead.
void systemLog(std::string_view message);
using SystemLogSink = std::function<void(std::string_view)>;
// nullptr restores stderr. Answers the previous sink.
SystemLogSink setSystemLogSinkForTesting(SystemLogSink);

// A line of the companion framework's debug log (type 0 error, 1 information).
void debugLog(int type, std::string_view className, std::string_view message);

} // namespace lectoro
