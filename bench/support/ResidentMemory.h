// The process's resident size now, for benchmarks that report what a run kept in memory.
#pragma once

#include <cstddef>
#include <fstream>
#include <unistd.h>

namespace benchbooks {

inline double residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

inline double residentMegabytes()
{
    return residentBytes() / (1024.0 * 1024.0);
}

} // namespace benchbooks
