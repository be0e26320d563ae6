#pragma once

#include <ostream>
#include <string>

namespace lectoro {
class ReaderViewController;
}

namespace host {

// --demo-readaloud: opens the book (closing the chooser a narrated book offers by itself),
// turns to the first page with narration, opens the read-aloud chooser from the toolbar,
// chooses read to me, lets the page's audio play through the media player with its words
// highlighted, picks a highlight colour and a speed, then turns to a page whose narration
// has timings and text but no audio and lets the speech synthesiser speak it, and closes
// narration from its bar. Answers 0 when every step did what it should, 4 otherwise (3 when
// the book does not open).
//
// On an EPUB book instead (runEpubReadAloudDemo, once the book is open): turns to its first narrated chapter (one whose media overlay can be
// played; the chapters left unnarrated are printed with the reason), chooses read to me from
// the toolbar and lets the chapter's recording play to its end, printing each word marked as
// it is spoken.
int runReadAloudDemo(const std::string& bookPath, std::ostream&);
int runEpubReadAloudDemo(lectoro::ReaderViewController&, std::ostream&);

} // namespace host
