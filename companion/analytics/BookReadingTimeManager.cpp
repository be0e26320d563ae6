#include "companion/analytics/BookReadingTimeManager.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "companion/books/BookLoader.h"
#include "companion/books/EpubBookLoader.h"

#include <charconv>
#include <cmath>

namespace companion {

BookReadingTimeManager::BookReadingTimeManager(const std::string& bookPath)
{
    auto loaded = loadSharedBook(bookPath);
    if (loaded.ok())
        m_book = loaded.value();
}

void BookReadingTimeManager::addPosition(std::string identifier, int64_t owner) const
{
    m_byIdentifier.emplace(identifier, m_identifiers.size());
    m_firstByOwner.emplace(owner, m_identifiers.size());
    m_identifiers.push_back(std::move(identifier));
}

bool BookReadingTimeManager::ensurePositions() const
{
    if (m_listed)
        return true;
    if (auto epub = std::dynamic_pointer_cast<lectoro::EPUBBookVO>(m_book)) {
        if (!epub->isBookContentLoaded) {
            if (auto measured = std::dynamic_pointer_cast<EpubBook>(epub))
                measured->measureInBackground();
            return false;
        }
        m_identifiers.reserve(epub->bookCFIArray.size());
        for (size_t chapter = 0; chapter < epub->bookCFIs.size(); ++chapter) {
            for (const auto& cfi : epub->bookCFIs[chapter].chapterCFIArray)
                addPosition(cfi, static_cast<int64_t>(chapter));
        }
    } else if (auto pageBook = std::dynamic_pointer_cast<lectoro::PXBookVO>(m_book)) {
        for (const auto& page : pageBook->pageList) {
            if (page)
                addPosition(std::to_string(page->pageID), page->pageID);
        }
    } else {
        return false;
    }
    m_listed = true;
    return true;
}

bool BookReadingTimeManager::isCFIDataAvailable() const
{
    return ensurePositions() && !m_identifiers.empty();
}

size_t BookReadingTimeManager::positionCount() const
{
    ensurePositions();
    return m_identifiers.size();
}

void BookReadingTimeManager::setDefaultAverageTimePerPage(double seconds)
{
    if (seconds > 0 && std::isfinite(seconds))
        m_defaultAverage = seconds;
}

int64_t BookReadingTimeManager::getTimeLeftForpage(const std::string& identifier, double averageTimePerPage) const
{
    if (!ensurePositions())
        return 0;
    double average = averageTimePerPage > 0 && std::isfinite(averageTimePerPage) ? averageTimePerPage : m_defaultAverage;
    std::optional<size_t> index;
    if (auto found = m_byIdentifier.find(identifier); found != m_byIdentifier.end())
        index = found->second;
    if (!index) {
        // A file index or page id names the first position it owns.
        int64_t owner = 0;
        auto [end, error] = std::from_chars(identifier.data(), identifier.data() + identifier.size(), owner);
        if (!identifier.empty() && error == std::errc() && end == identifier.data() + identifier.size()) {
            if (auto found = m_firstByOwner.find(owner); found != m_firstByOwner.end())
                index = found->second;
        }
    }
    if (!index)
        return 0;
    size_t left = m_identifiers.size() - *index - 1;
    return static_cast<int64_t>(std::llround(static_cast<double>(left) * average));
}

} // namespace companion
