#pragma once

#include <ostream>

namespace lectoro {
class PXBookVO;
}

namespace host {

// Every page's markups: type, rectangle, tooltip, target, resource address, multi-link
// group, answers and drop-down choices; then the glossary and the standards trees.
void printPageMarkups(std::ostream&, const lectoro::PXBookVO&);

} // namespace host
