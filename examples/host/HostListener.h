#pragma once

// The host's side of the launcher: it prints each callback as it arrives and remembers
// the closes, so the host can tell where the reader left the book.

#include "LectoroSDKWithReader/reader/LectoroReaderViewControllerDelegate.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace host {

class HostListener final : public lectoro::LectoroReaderViewControllerDelegate {
public:
    explicit HostListener(std::ostream& out)
        : m_out(out)
    {
    }

    struct Close {
        std::string bookID;
        std::optional<std::string> lastPageFolio;
    };
    const std::vector<Close>& closes() const { return m_closes; }
    bool sessionExpired() const { return m_sessionExpired; }
    // How many store problems the launcher reported.
    int storeProblems() const { return m_storeProblems; }
    // Answers of the sync the launcher runs when a book closes, passed on to the host: the
    // reading data saved (didUGCSave...) and the reading session saved (didSaveAnalyticsData...),
    // each counted whether it succeeded or failed.
    int readingDataSaves() const { return m_readingDataSaves; }
    int sessionSaves() const { return m_sessionSaves; }

    void didClosedReaderWithReader(lectoro::LectoroReaderViewController&, const std::string& bookID,
        std::shared_ptr<lectoro::LectoroUser>, const std::optional<std::string>& lastPageFolio) override;
    void didUpdateFurthestPageDataWithReader(lectoro::LectoroReaderViewController&,
        const std::string& furthestPageData, int64_t bookID, std::shared_ptr<lectoro::LectoroUser>) override;
    void didUpdatedReadPercentageTo(int64_t percentage, int64_t bookID) override;
    void didUGCSaveCompletedSuccessfullyWithUserID(int64_t userID, int64_t bookID) override;
    void didUGCSaveFailedWithError(const base::Error&, int64_t userID, int64_t bookID) override;
    void didSaveAnalyticsDataSuccessfully() override;
    void didSaveAnalyticsDataFailedWithError(
        const base::Error&, const std::string& userID, const std::string& bookID) override;
    void didUGCSaveCompletedSuccessfully() override;
    void didUGCSaveFailedWithError(const base::Error&) override;
    void didSessionExpiredWithUser(
        std::shared_ptr<lectoro::LectoroUser>, const std::string& expiredToken) override;
    void didHLSMediaLoadingFailWithError(
        const base::Error&, const std::string& bookId, int64_t timeStamp) override;
    void didLocalStoreFailWithError(const base::Error&) override;

private:
    void print(const std::string& line);

    std::ostream& m_out;
    std::vector<Close> m_closes;
    bool m_sessionExpired = false;
    int m_storeProblems = 0;
    int m_readingDataSaves = 0;
    int m_sessionSaves = 0;
};

} // namespace host
