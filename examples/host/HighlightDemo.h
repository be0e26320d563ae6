#pragma once

#include <ostream>
#include <string>

namespace host {

// --demo-highlight: opens the book, selects the first words of its first page, highlights
// them in the first offered colour from the highlight pop-up, prints what was stored, and
// opens the book again to show the highlight drawn once more. The companion framework must
// be installed over `storageRoot`. Answers 0 when every step did what it should, 4
// otherwise (3 when the book does not open).
int runHighlightDemo(const std::string& bookPath, const std::string& storageRoot, std::ostream&);

} // namespace host
