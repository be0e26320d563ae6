#pragma once

#include <ostream>

namespace host {

// --demo-download: downloads the sample streamed book (samples/books/sample-videobook, book
// 9102, served by the in-process streaming service) through the library's download manager,
// printing each state and progress; then reports whether it is downloaded and its folder,
// opens it from that folder through the public launcher and deletes it. Answers 0 when the
// book downloaded, opened and was deleted, 4 otherwise.
int runDownloadDemo(std::ostream&);

} // namespace host
