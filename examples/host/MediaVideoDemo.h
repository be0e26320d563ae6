#pragma once

#include <ostream>
#include <string>

namespace host {

// --demo-mediavideo: opens the sample video book (or the video book at `bookPath`) through
// the media-book controller, lets it play, mutes it from the video controls, opens the
// settings pop-over, picks the first subtitle, and moves to the next media, printing each
// step. Answers 0 when every step did what it should, 4 otherwise (3 when the book does not
// open).
int runMediaVideoDemo(std::ostream&, const std::string& bookPath);

} // namespace host
