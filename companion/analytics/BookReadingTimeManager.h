#pragma once

// Reading time left over a book's positions: an EPUB book's CFIs in reading order (a
// chapter without listed positions counts as one), a page book's pages. The book is the one
// the renderer has open (loadSharedBook), not a second copy; an EPUB book's positions are
// known once the book is measured in the background, and until then no data is available.

#include "LectoroSDKWithReader/readersdk/ReadingTimeManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroBookVO.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace lectoro {
class EPUBBookVO;
}

namespace companion {

class BookReadingTimeManager final : public lectoro::ReadingTimeManager {
public:
    // A folder that does not load gives a manager without data. Main thread.
    explicit BookReadingTimeManager(const std::string& bookPath);

    // For an EPUB book not measured yet, starts measuring it and answers false.
    bool isCFIDataAvailable() const override;
    void setDefaultAverageTimePerPage(double seconds) override;
    double defaultAverageTimePerPage() const override { return m_defaultAverage; }
    int64_t getTimeLeftForpage(const std::string& identifier, double averageTimePerPage) const override;

    size_t positionCount() const;

private:
    // Lists the positions once they are known.
    bool ensurePositions() const;
    void addPosition(std::string identifier, int64_t owner) const;

    std::shared_ptr<lectoro::LectoroBookVO> m_book;
    mutable bool m_listed = false;
    mutable std::vector<std::string> m_identifiers;
    // Position index by identifier, and the first position of each chapter file index or page id.
    mutable std::unordered_map<std::string, size_t> m_byIdentifier;
    mutable std::unordered_map<int64_t, size_t> m_firstByOwner;
    double m_defaultAverage = 5.0;
};

} // namespace companion
