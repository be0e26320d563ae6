#pragma once

// Prints how a reflowable book paginates on this screen at the default font size.

#include <iosfwd>

namespace lectoro {
class RendererViewController;
}

namespace host {

// Waits (on the run loop, up to `timeout` seconds) for the renderer to lay the whole book
// out, then prints the page count of the book and of each chapter. Prints nothing and
// answers false for a book that is not reflowable or a renderer that is not the companion's.
bool printReflowablePageCount(std::ostream&, lectoro::RendererViewController&, double timeout);

} // namespace host
