#pragma once

#include <ostream>
#include <string>

namespace host {

// --demo-mediaplayer: opens a media book (the sample audio book by default) through the
// media-book controller, plays it, pauses and plays from the player view, skips 15 s,
// adds a bookmark through the bookmark panel, rewinds, sets a 2 s sleep timer from the top bar and
// lets it pause the book, then goes back. Answers 0 when every step did what it should,
// 4 otherwise (3 when the book does not play).
int runMediaPlayerDemo(std::ostream&, const std::string& folder);

} // namespace host
