#pragma once

// A chapter of a page book: its title and pages.

#include <cstdint>
#include <string>
#include <vector>

namespace lectoro {

class PXChapterVO {
public:
    int64_t chapterID = 0;
    std::string title;
    // In book order.
    std::vector<int64_t> pageIDs;
};

} // namespace lectoro
