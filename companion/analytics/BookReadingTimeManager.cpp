#include "companion/analytics/BookReadingTimeManager.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "companion/books/BookLoader.h"
#include "companion/renderer/ChapterPositions.h"

#include <charconv>
#include <cmath>

namespace companion {

BookReadingTimeManager::BookReadingTimeManager(const std::string& bookPath)
{
    auto loaded = loadBook(bookPath);
    if (!loaded.ok())
        return;
    if (auto epub = std::dynamic_pointer_cast<lectoro::EPUBBookVO>(loaded.value())) {
        for (const auto& chapter : epub->chapters) {
            if (!chapter)
                continue;
            for (auto& cfi : chapterPositions(*chapter))
                m_positions.push_back({ std::move(cfi), chapter->fileIndex });
        }
    } else if (auto pageBook = std::dynamic_pointer_cast<lectoro::PXBookVO>(loaded.value())) {
        for (const auto& page : pageBook->pageList) {
            if (page)
                m_positions.push_back({ std::to_string(page->pageID), page->pageID });
        }
    }
}

void BookReadingTimeManager::setDefaultAverageTimePerPage(double seconds)
{
    if (seconds > 0 && std::isfinite(seconds))
        m_defaultAverage = seconds;
}

int64_t BookReadingTimeManager::getTimeLeftForpage(const std::string& identifier, double averageTimePerPage) const
{
    double average = averageTimePerPage > 0 && std::isfinite(averageTimePerPage) ? averageTimePerPage : m_defaultAverage;
    std::optional<size_t> index;
    for (size_t i = 0; i < m_positions.size() && !index; ++i) {
        if (m_positions[i].identifier == identifier)
            index = i;
    }
    if (!index) {
        // A file index or page id names the first position it owns.
        int64_t owner = 0;
        auto [end, error] = std::from_chars(identifier.data(), identifier.data() + identifier.size(), owner);
        if (!identifier.empty() && error == std::errc() && end == identifier.data() + identifier.size()) {
            for (size_t i = 0; i < m_positions.size() && !index; ++i) {
                if (m_positions[i].owner == owner)
                    index = i;
            }
        }
    }
    if (!index)
        return 0;
    size_t left = m_positions.size() - *index - 1;
    return static_cast<int64_t>(std::llround(static_cast<double>(left) * average));
}

} // namespace companion
