#pragma once

// A view subtree as stable text, and comparison with an expected file kept beside a test.
//
// One line per view, indented two spaces per depth:
//   ClassName (x, y, w, h) hidden alpha=0.5 "text" id="identifier" tag=3
// The frame is in the superview's coordinates; numbers are rounded to 1e-6 and printed
// in their shortest form (10, not 10.0; 0.5; -3.25). "hidden" appears only when hidden,
// alpha only when not 1, the text only for views that show one (a label's text, a
// button's current title, a text field's or text view's text), id only when set, tag
// only when not 0. Quotes, backslashes and line breaks inside texts are escaped.

#include <memory>
#include <string>

namespace ui {
class View;
}

namespace uitest {

struct DumpOptions {
    // Hidden views and their subtrees are dumped (marked "hidden") unless false.
    bool includeHidden = true;
    // Depth below the root to go to; negative: no limit.
    int maxDepth = -1;
    // A button's own title label and image view are left out unless true.
    bool includeButtonInternals = false;
};

std::string dumpViewTree(const ui::View&, const DumpOptions& = {});
std::string dumpViewTree(const std::shared_ptr<ui::View>&, const DumpOptions& = {});

// Shortest text of a number as the dump prints it.
std::string formatNumber(double);

struct FileComparison {
    bool matches = false;
    // The file was written because LECTORO_UPDATE_EXPECTED=1.
    bool updated = false;
    // What differs (first differing line, both versions, the whole actual text).
    std::string message;
};

// Compares the text with the file's content. With LECTORO_UPDATE_EXPECTED=1 in the
// environment the file is written (folders made) and the comparison passes.
FileComparison compareWithFile(const std::string& text, const std::string& path);

} // namespace uitest
