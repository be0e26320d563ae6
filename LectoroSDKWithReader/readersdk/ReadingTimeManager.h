#pragma once

// Reading time left in a reflowable book, from the book's positions (CFIs): the positions
// after the one shown, times an average time per position.
//
// Made through CompanionFramework::makeReadingTimeManager(bookPath).

#include <cstdint>
#include <string>

namespace lectoro {

class ReadingTimeManager {
public:
    virtual ~ReadingTimeManager() = default;

    // Whether the book's positions are known (false for a book that has none or did not
    // load).
    virtual bool isCFIDataAvailable() const = 0;
    virtual void setDefaultAverageTimePerPage(double seconds) = 0;
    virtual double defaultAverageTimePerPage() const = 0;
    // Whole seconds left after the position named by the identifier (a CFI or a chapter
    // file index), at the given seconds per position; a non-positive average takes the
    // default one. 0 for an unknown identifier or when no data is available.
    virtual int64_t getTimeLeftForpage(const std::string& identifier, double averageTimePerPage) const = 0;
};

} // namespace lectoro
