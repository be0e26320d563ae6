#pragma once

#include <ostream>
#include <string>

namespace host {

// --demo-thumbnails: opens the book on a tablet, opens the page thumbnails from the
// toolbar and prints what the panel shows (chapters, marked pages, each first thumbnail's
// picture), then goes to the last page by the panel's go-to field (the browser) or its
// slider (the EPUB navigator) and prints where the book went; opens the panel again and
// goes back by its history button. Answers 0 when both moves arrived, 3 otherwise, 1 when
// the book does not open.
int runThumbnailsDemo(std::ostream&, const std::string& bookPath);

} // namespace host
