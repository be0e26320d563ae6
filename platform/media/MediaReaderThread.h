#pragma once

// Media files are read on one thread of the media layer's own, and what a read made is copied
// out on the caller's thread.
//
// libavformat allocates a few hundred aligned blocks per file and frees them at once. On the
// C library's allocator of this platform (glibc before 2.37) aligned blocks interleaved with
// the caller's long-lived objects leave holes it never reuses: reading thousands of small
// files grew a process by gigabytes while its live heap stayed under ten megabytes. On a
// thread of their own the reads have an allocation arena of their own that holds nothing
// between files, so it is whole again after each one; the caller's arena only sees the copy.

#include <functional>
#include <optional>

namespace media::detail {

bool isMediaReaderThread();
// Runs the task on the reader thread and waits for it (inline when already there). Reads from
// several threads take turns.
void runOnMediaReaderThread(const std::function<void()>&);

// `read()` made on the reader thread, copied on the calling thread, the original destroyed
// where it was made.
template <class T>
T readOnMediaReaderThread(const std::function<T()>& read)
{
    if (isMediaReaderThread())
        return read();
    std::optional<T> made;
    runOnMediaReaderThread([&] { made.emplace(read()); });
    T copy = *made;
    runOnMediaReaderThread([&] { made.reset(); });
    return copy;
}

} // namespace media::detail
