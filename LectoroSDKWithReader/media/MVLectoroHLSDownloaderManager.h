#pragma once

// Streamed-book downloads for offline use. The host drives them through this manager: the
// download button's action, pause, resume, cancel and delete, whether a book is downloaded
// and where it lives. A download asks the streaming service for the book's address and the
// playlists to fetch (the service writes the book's contents files into its folder), then
// hands them to the companion framework's downloader, whose states, progress, failures and
// deletions are passed on to the delegate as they come, on the thread they come on.
//
// The manager keeps no state of its own besides its configuration: the downloader keeps
// one record per book. A book id is the decimal text of the book's number; any other id
// (a path, "12abc", "") is refused: a download reports "HLS Service Failed" without asking
// the service, queries answer nothing, controls do nothing.

#include "LectoroSDKWithReader/media/MVLectoroHLSDownloaderManagerDelegate.h"
#include "LectoroSDKWithReader/readersdk/media/MVAVAssetDownloaderManager.h"
#include "platform/base/Value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class MVLectoroHLSDownloaderManager : public MVAVAssetDownloaderManagerDelegate,
                                      public std::enable_shared_from_this<MVLectoroHLSDownloaderManager> {
public:
    static constexpr const char* errorDomain = "LectoroHLSDownloaderErrorDomain";
    enum ErrorCode : int64_t { InvalidBookID = 1, NoService = 2, NoBookFolder = 3 };

    // The process's manager, made once on first use (from any thread) without addresses: it
    // serves the queries and controls; a download that needs the service uses one made
    // with create().
    static MVLectoroHLSDownloaderManager& shared();
    static std::shared_ptr<MVLectoroHLSDownloaderManager> create(
        std::string baseURL, std::string clientID, bool enableCDNCookies = false);
    static std::shared_ptr<MVLectoroHLSDownloaderManager> create(std::string baseURL,
        std::optional<std::string> microServicesBaseUrl, std::string clientID, bool enableCDNCookies);

    std::weak_ptr<MVLectoroHLSDownloaderManagerDelegate> delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<MVLectoroHLSDownloaderManagerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }

    const std::optional<std::string>& baseURL() const { return m_baseURL; }
    const std::optional<std::string>& microServicesBaseUrl() const { return m_microServicesBaseUrl; }
    const std::optional<std::string>& clientId() const { return m_clientId; }
    bool enableCDNCookies() const { return m_enableCDNCookies; }

    // The book's number, when the id is the decimal text of one.
    static std::optional<int64_t> bookNumberOf(const std::string& bookID);

    // The download button: starts a book without a record (or a finished one), pauses one
    // under way, resumes a paused one, and starts a failed one afresh.
    void downloadHLSBookWithUserToken(const std::string& userToken, const std::string& bookID,
        bool isAudioType, const std::string& bookThumbnailURL);
    // A downloaded book is only reported "Finished" with progress 1.0; any other is fetched.
    void startDownloadWithUserToken(const std::string& userToken, const std::string& bookID, bool isAudio,
        const std::string& bookThumbnailURL);
    // The service and download chain; a failure of either service step is reported once as
    // "HLS Service Failed", with nothing retried and no record made.
    void fetchHLSMediaURLWithUserToken(const std::string& userToken, const std::string& bookID, bool isAudio,
        const std::string& bookThumbnailURL);

    bool isHLSBookDownloaded(const std::string& bookID) const;
    // The book's local folder (created when missing); empty for an id that is no number.
    // Takes the id as text or as a number.
    std::string getBookDownloadedPath(const base::Value& bookID) const;

    // A failed download is left as it is.
    void pauseDownloadHLSBook(const std::string& bookID);
    void resumeDownloadHLSBook(const std::string& bookID);
    void cancelDownloadHLSBook(const std::string& bookID);
    void deleteDownloadedHLSBook(const std::string& bookID);

    std::optional<MVAVAssetDownloadDetail> getHLSBookDownloadDetails(const std::string& bookID) const;
    // Nothing (not an empty list) when there are no downloads.
    std::optional<std::vector<MVAVAssetDownloadDetail>> getAllHLSBooksDownloadDetails() const;
    // A download started earlier (by another manager, or before a restart) reports here again.
    void setDelegateForBookId(const std::string& bookID);

    // MVAVAssetDownloaderManagerDelegate
    void didDeleteDownloadedAVAssetWithBookID(const std::string& bookID) override;
    void didDownloadRequestStateUpdateForAVAsset(
        const MVAVAssetDownloadDetail&, const std::string& bookID) override;
    void didDownloadRequestFailForAVAsset(
        const base::Error&, const MVAVAssetDownloadDetail&, const std::string& bookID) override;

protected:
    MVLectoroHLSDownloaderManager() = default;

private:
    std::shared_ptr<MVAVAssetDownloaderManager> downloader() const;
    std::weak_ptr<MVAVAssetDownloaderManagerDelegate> asDownloaderDelegate();
    void reportServiceFailure(const base::Error&, const std::string& bookID) const;

    std::optional<std::string> m_baseURL;
    std::optional<std::string> m_clientId;
    std::optional<std::string> m_microServicesBaseUrl;
    bool m_enableCDNCookies = false;
    std::weak_ptr<MVLectoroHLSDownloaderManagerDelegate> m_delegate;
};

} // namespace lectoro
