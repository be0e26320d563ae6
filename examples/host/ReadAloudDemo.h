#pragma once

#include <ostream>
#include <string>

namespace host {

// --demo-readaloud: opens the book (closing the chooser a narrated book offers by itself),
// turns to the first page with narration, opens the read-aloud chooser from the toolbar,
// chooses read to me, lets the page's audio play through the media player with its words
// highlighted, picks a highlight colour and a speed, then turns to a page whose narration
// has timings and text but no audio and lets the speech synthesiser speak it, and closes
// narration from its bar. Answers 0 when every step did what it should, 4 otherwise (3 when
// the book does not open).
int runReadAloudDemo(const std::string& bookPath, std::ostream&);

} // namespace host
