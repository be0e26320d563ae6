#pragma once

// Reading time left over a book's positions: an EPUB book's CFIs in reading order (a
// chapter without listed positions counts as one), a page book's pages.

#include "LectoroSDKWithReader/readersdk/ReadingTimeManager.h"

#include <memory>
#include <string>
#include <vector>

namespace companion {

class BookReadingTimeManager final : public lectoro::ReadingTimeManager {
public:
    // A folder that does not load gives a manager without data.
    explicit BookReadingTimeManager(const std::string& bookPath);

    bool isCFIDataAvailable() const override { return !m_positions.empty(); }
    void setDefaultAverageTimePerPage(double seconds) override;
    double defaultAverageTimePerPage() const override { return m_defaultAverage; }
    int64_t getTimeLeftForpage(const std::string& identifier, double averageTimePerPage) const override;

    size_t positionCount() const { return m_positions.size(); }

private:
    struct Position {
        std::string identifier;
        // The chapter file index or page id the position belongs to.
        int64_t owner = 0;
    };
    std::vector<Position> m_positions;
    double m_defaultAverage = 5.0;
};

} // namespace companion
