#pragma once

// Whether a store's file is as its last connection left it when it closed cleanly.
//
// SQLite's full check reads every page, so it grows with the store. A file can only have
// come to harm since it was last sound if a connection stopped without closing (a crash, a
// power cut: its log is left behind) or something else wrote to the file while the store was
// closed. A connection that closes cleanly writes a mark beside the database naming the
// file as it left it (device, inode, size, modification and change times, which no program
// can set back); opening removes the mark before anything is written. The check is passed
// over only when the mark names the file exactly and no log with content is left.

#include <string>

namespace companion {

// True when the database at `databasePath` was closed cleanly and has not changed since.
bool wasClosedCleanly(const std::string& databasePath);
// Opening: the mark goes before the first write, so a crash from here on leaves none.
void forgetCleanClose(const std::string& databasePath);
// Closing, after the connection is closed: marks the file as left, unless a log with content
// is still there (another connection is open, or the log could not be folded back).
void markClosedCleanly(const std::string& databasePath);

} // namespace companion
