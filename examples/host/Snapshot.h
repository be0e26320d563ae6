#pragma once

// The host's --snapshot: a PNG of the reading screen as the library shows it.

#include "platform/base/Error.h"

#include <memory>
#include <string>

namespace ui {
class ViewController;
}

namespace lectoro {
class ReaderViewController;
}

namespace host {

// The first-run help screens would cover the reading screen in the picture: marks them
// as seen. Called before the book opens.
void markHelpScreensSeen();

// Shows the reader's bars (as a tap on the page does), sets the frames of views placed
// only by constraints, and paints the screen's view (the launcher's) at the screen's size
// and scale, with every controller presented over it and the pages the renderer shows
// drawn into their page views: a page book's page picture with its text over it, an EPUB
// chapter's text.
base::Result<void> writeSnapshot(const ui::ViewController& screen, lectoro::ReaderViewController& reader,
    const std::string& path);

} // namespace host
