#include "HostListener.h"

#include <ostream>

namespace host {

void HostListener::print(const std::string& line)
{
    m_out << "host: " << line << std::endl;
}

void HostListener::didClosedReaderWithReader(lectoro::LectoroReaderViewController&, const std::string& bookID,
    std::shared_ptr<lectoro::LectoroUser>, const std::optional<std::string>& lastPageFolio)
{
    m_closes.push_back({ bookID, lastPageFolio });
    print("didClosedReader book " + bookID + ", last page " + lastPageFolio.value_or("(none)"));
}

void HostListener::didUpdateFurthestPageDataWithReader(lectoro::LectoroReaderViewController&,
    const std::string& furthestPageData, int64_t bookID, std::shared_ptr<lectoro::LectoroUser>)
{
    print("didUpdateFurthestPageData book " + std::to_string(bookID) + ": " + furthestPageData);
}

void HostListener::didUpdatedReadPercentageTo(int64_t percentage, int64_t bookID)
{
    print(
        "didUpdatedReadPercentage book " + std::to_string(bookID) + ": " + std::to_string(percentage) + "%");
}

void HostListener::didUGCSaveCompletedSuccessfullyWithUserID(int64_t userID, int64_t bookID)
{
    ++m_readingDataSaves;
    print("didUGCSaveCompleted user " + std::to_string(userID) + ", book " + std::to_string(bookID));
}

void HostListener::didUGCSaveFailedWithError(const base::Error& error, int64_t userID, int64_t bookID)
{
    ++m_readingDataSaves;
    print("didUGCSaveFailed user " + std::to_string(userID) + ", book " + std::to_string(bookID) + ": "
        + error.localizedDescription());
}

void HostListener::didSaveAnalyticsDataSuccessfully()
{
    ++m_sessionSaves;
    print("didSaveAnalyticsData");
}

void HostListener::didSaveAnalyticsDataFailedWithError(
    const base::Error& error, const std::string& userID, const std::string& bookID)
{
    ++m_sessionSaves;
    print("didSaveAnalyticsDataFailed user " + userID + ", book " + bookID + ": "
        + error.localizedDescription());
}

void HostListener::didUGCSaveCompletedSuccessfully()
{
    print("didUGCSaveCompleted (media book)");
}

void HostListener::didUGCSaveFailedWithError(const base::Error& error)
{
    print("didUGCSaveFailed (media book): " + error.localizedDescription());
}

void HostListener::didSessionExpiredWithUser(std::shared_ptr<lectoro::LectoroUser>, const std::string&)
{
    m_sessionExpired = true;
    print("didSessionExpired");
}

void HostListener::didHLSMediaLoadingFailWithError(
    const base::Error& error, const std::string& bookId, int64_t)
{
    print("didHLSMediaLoadingFail book " + bookId + ": " + error.localizedDescription());
}

void HostListener::didLocalStoreFailWithError(const base::Error& error)
{
    ++m_storeProblems;
    print("didLocalStoreFail: " + error.localizedDescription());
}

} // namespace host
