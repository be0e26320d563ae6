#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"

#include "LectoroSDKWithReader/media/player/MediaBookPosition.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/media/MVLectoroMediaBookThemeVO.h"
#include "LectoroSDKWithReader/readersdk/media/MVMediaBookParser.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPlayerViews.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookTOCController.h"
#include "platform/base/Dispatch.h"
#include "platform/base/NotificationCenter.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Font.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TransitionCoordinator.h"

namespace lectoro {

std::optional<MediaBookType> mediaBookTypeFromRawValue(int raw)
{
    if (raw == 0)
        return MediaBookType::audio;
    if (raw == 1)
        return MediaBookType::video;
    return std::nullopt;
}

MVLectoroMediaBookReader::MVLectoroMediaBookReader()
    : m_theme(std::make_shared<MVLectoroMediaBookThemeVO>())
    , m_topBarHeight(mediaBookTopBarHeight(ui::Environment::current().isPad()))
{
}

MVLectoroMediaBookReader::~MVLectoroMediaBookReader()
{
    tearDownForRelease();
}

std::shared_ptr<MVLectoroMediaBookReader> MVLectoroMediaBookReader::self()
{
    return std::static_pointer_cast<MVLectoroMediaBookReader>(shared_from_this());
}

std::shared_ptr<MVLectoroMediaBookReader> MVLectoroMediaBookReader::createWithBookPath(const std::string& path, BookInfo info)
{
    std::shared_ptr<MVLectoroMediaBookReader> reader(new MVLectoroMediaBookReader());
    reader->setMediaBookModel(path, info);
    std::weak_ptr<MVLectoroMediaBookReader> weak = reader;
    reader->loadMediaBook(path, info.bookId, [weak](std::optional<base::Error> error) {
        if (auto reader = weak.lock(); reader && !error)
            reader->startPlaybackAfterLoad();
    });
    return reader;
}

std::shared_ptr<MVLectoroMediaBookReader> MVLectoroMediaBookReader::createWithMetaDataPath(const std::string& path, BookInfo info)
{
    std::shared_ptr<MVLectoroMediaBookReader> reader(new MVLectoroMediaBookReader());
    reader->setMediaBookModel(path, info);
    reader->parseInBackground();
    return reader;
}

std::shared_ptr<MVLectoroMediaBookReader> MVLectoroMediaBookReader::createWithStream(StreamInfo stream, BookInfo info)
{
    std::shared_ptr<MVLectoroMediaBookReader> reader(new MVLectoroMediaBookReader());
    reader->setStreamedMediaBookModel(stream, info);
    reader->loadHLSMediaBookPath(stream, true);
    return reader;
}

void MVLectoroMediaBookReader::updateWithBookPath(const std::string& path, BookInfo info)
{
    if (m_player)
        m_player->stop();
    setMediaBookModel(path, info);
    handModelToPlayerStack();
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    loadMediaBook(path, info.bookId, [weak](std::optional<base::Error> error) {
        if (auto reader = weak.lock(); reader && !error)
            reader->startPlaybackAfterLoad();
    });
}

void MVLectoroMediaBookReader::updateWithMetaDataPath(const std::string& path, BookInfo info)
{
    if (m_player)
        m_player->stop();
    setMediaBookModel(path, info);
    handModelToPlayerStack();
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    parseMediaBook(std::nullopt, std::nullopt, [weak](std::optional<base::Error> error) {
        if (auto reader = weak.lock(); reader && !error && reader->m_player)
            reader->m_player->play();
    });
}

void MVLectoroMediaBookReader::updateWithStream(StreamInfo stream, BookInfo info)
{
    std::string id = std::to_string(stream.bookId);
    if (auto cached = m_hlsPaths.find(id); cached != m_hlsPaths.end()) {
        if (m_stream)
            m_stream->enableCDNCookies = stream.enableCDNCookies;
        info.bookId = id;
        updateWithBookPath(cached->second, info);
        return;
    }
    if (m_player)
        m_player->stop();
    setStreamedMediaBookModel(stream, info);
    handModelToPlayerStack();
    loadHLSMediaBookPath(stream, true);
}

void MVLectoroMediaBookReader::setMediaBookModel(const std::string& path, const BookInfo& info)
{
    m_model = std::make_shared<MVMediaBookModel>();
    m_model->mediaBookPath = path;
    m_model->thumbnailURL = info.thumbnailURL;
    m_model->mediaBookId = info.bookId;
    m_model->mediaBookISBN = info.isbn;
    m_model->mediaBookAdditonalInfo = info.additionalInfo.isDictionary() ? info.additionalInfo : base::Value::Dictionary {};
    m_type = info.type;
}

void MVLectoroMediaBookReader::setStreamedMediaBookModel(const StreamInfo& stream, const BookInfo& info)
{
    BookInfo streamed = info;
    streamed.bookId = std::to_string(stream.bookId);
    setMediaBookModel({}, streamed);
    m_stream = stream;
}

void MVLectoroMediaBookReader::handModelToPlayerStack()
{
    // The lock screen still shows the book the player had; the new one is shown once loaded.
    m_nowPlayingPendingForNewBook = m_player != nullptr;
    if (m_player)
        m_player->setMediaBookModel(m_model);
    if (m_toc)
        m_toc->setMediaBookModel(m_model);
    if (m_type == MediaBookType::audio && m_audioPlayer) {
        m_audioPlayer->setMediaBookModel(m_model);
        m_audioPlayer->updateAudioThumbnail();
        updateNextPreviousButtonMetrics();
    } else if (m_type == MediaBookType::video && m_videoPlayer) {
        m_videoPlayer->setMediaBookModel(m_model);
    }
}

void MVLectoroMediaBookReader::loadMediaBook(const std::string& path, const std::optional<std::string>& bookId, Completion completion)
{
    if (!m_model)
        return;
    m_model->mediaBookPath = path;
    if (bookId) {
        auto cookies = m_hlsCookies.find(*bookId);
        m_model->cookies = cookies != m_hlsCookies.end() && cookies->second.isDictionary() ? cookies->second : base::Value();
    }
    parseMediaBook(path + "/toc.json", path + "/time-index.json", std::move(completion));
}

void MVLectoroMediaBookReader::parseMediaBook(std::optional<std::string> tocPath, std::optional<std::string> timeIndexPath,
    Completion completion)
{
    auto parser = companionFramework()->makeMediaBookParser();
    if (!parser || !m_model) {
        if (completion)
            completion(base::Error::make("MediaBook", 1, "no media-book parser"));
        return;
    }
    if (!tocPath || !timeIndexPath)
        tocPath = timeIndexPath = std::nullopt;
    // The parser reads in the background and answers on the main run loop. A book parsed
    // after the reader has moved on to another record (a newer update) is not taken.
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    auto record = m_model;
    auto shared = std::make_shared<Completion>(std::move(completion));
    parser->setBookParsingCompleted([weak, record, shared](std::shared_ptr<MVMediaBookModel> model) {
        auto reader = weak.lock();
        if (!reader || reader->m_model != record)
            return;
        reader->didParse(model ? model : record, std::move(*shared));
    });
    parser->setBookParsingFailed([shared](const base::Error& error) {
        if (*shared)
            (*shared)(error);
    });
    if (m_type == MediaBookType::video)
        parser->parseTOCTimeIndexJsonForVideo(m_model, tocPath, timeIndexPath);
    else
        parser->parseTOCTimeIndexJsonForAudio(m_model, tocPath, timeIndexPath);
}

void MVLectoroMediaBookReader::parseInBackground()
{
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    parseMediaBook(std::nullopt, std::nullopt, [weak](std::optional<base::Error> error) {
        if (auto reader = weak.lock(); reader && !error)
            reader->startPlaybackAfterLoad();
    });
}

void MVLectoroMediaBookReader::didParse(const std::shared_ptr<MVMediaBookModel>& parsed, Completion completion)
{
    m_model = parsed;
    // The screen may have appeared while the book was read.
    if (m_titleLabel)
        m_titleLabel->setText(m_model->mediaBookTitle);
    publishNewBookNowPlayingInfoIfPending();
    if (completion)
        completion(std::nullopt);
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    base::RunLoop::main().postDelayed(0.5, [weak] {
        auto reader = weak.lock();
        if (!reader)
            return;
        reader->updateContentsList();
        if (reader->m_type == MediaBookType::audio && reader->m_audioPlayer) {
            reader->m_audioPlayer->updateAudioThumbnail();
            reader->updateNextPreviousButtonMetrics();
        }
        if (reader->m_model && !reader->m_model->chapters && reader->m_toc
            && reader->m_toc->selectedMode() != MediaBookTOCFilter::Bookmarks)
            reader->m_toc->setData(std::nullopt);
    });
}

void MVLectoroMediaBookReader::startPlaybackAfterLoad()
{
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    base::RunLoop::main().postDelayed(1.0, [weak] {
        auto reader = weak.lock();
        if (!reader || !reader->m_model || reader->m_model->currentChapter)
            return;
        const auto& chapters = reader->m_model->chapters;
        reader->m_model->currentChapter = chapters && !chapters->empty() ? chapters->front() : nullptr;
        if (reader->m_player)
            reader->m_player->play();
    });
}

// MARK: - Streaming

void MVLectoroMediaBookReader::loadHLSMediaBookPath(const StreamInfo& stream, bool shouldLaunchMedia)
{
    m_isHLSPlaying = true;
    if (!stream.user)
        return;
    MVLectoroHLSServiceInterface::Configuration configuration;
    configuration.baseURL = stream.baseURL;
    configuration.microServicesBaseUrl = stream.microServicesURL;
    configuration.clientID = stream.clientID;
    configuration.enableCDNCookies = stream.enableCDNCookies;
    if (m_model) {
        const auto* flag = m_model->mediaBookAdditonalInfo["isLectoroContentServer"].stringPointer();
        configuration.IsLectoroContentServer = !(flag && *flag == "NO");
    }
    auto service = companionFramework()->makeHLSServiceInterface(configuration);
    if (!service)
        return;
    m_hlsRequests.push_back(service);
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    int64_t bookId = stream.bookId;
    int64_t timeStamp = stream.timeStamp;
    std::string id = std::to_string(bookId);
    service->fetchHLSMediaBookDownloadURL(
        stream.user->userToken, bookId, timeStamp, true,
        [weak, id, bookId, timeStamp, shouldLaunchMedia](const std::string& path, const std::optional<base::Value>& cookies) {
            base::RunLoop::main().post([weak, id, bookId, timeStamp, shouldLaunchMedia, path, cookies] {
                auto reader = weak.lock();
                if (!reader)
                    return;
                reader->m_hlsPaths[id] = path;
                if (cookies && cookies->isDictionary())
                    reader->m_hlsCookies[id] = *cookies;
                if (!shouldLaunchMedia)
                    return;
                // An answer for a book that is no longer open only fills the caches: loading
                // it would replace the open book's chapters.
                if (!reader->m_model || reader->m_model->mediaBookId.empty() || reader->m_model->mediaBookId != id)
                    return;
                reader->loadMediaBook(path, id, [weak, path, bookId, timeStamp](std::optional<base::Error> error) {
                    auto reader = weak.lock();
                    if (!reader)
                        return;
                    auto delegate = reader->m_delegate.lock();
                    if (error) {
                        if (delegate)
                            delegate->didHLSMediaServiceFailWithError(*error, bookId, timeStamp);
                        return;
                    }
                    if (delegate)
                        delegate->didHLSMediaServiceCallSuccessfullyWithMediaPath(path, bookId);
                    reader->startPlaybackAfterLoad();
                });
            });
        },
        [weak, id, bookId, timeStamp](const base::Error& error) {
            base::RunLoop::main().post([weak, id, bookId, timeStamp, error] {
                auto reader = weak.lock();
                if (!reader || !reader->m_model || reader->m_model->mediaBookId.empty() || reader->m_model->mediaBookId != id)
                    return;
                if (auto delegate = reader->m_delegate.lock())
                    delegate->didHLSMediaServiceFailWithError(error, bookId, timeStamp);
            });
        });
}

void MVLectoroMediaBookReader::setNextPreviousBookIds(std::vector<int64_t> ids)
{
    m_mediaBookIDs = std::move(ids);
    prefetchNeighbours();
}

void MVLectoroMediaBookReader::prefetchNeighbours()
{
    if (m_mediaDataLoaded || m_mediaBookIDs.empty() || !m_stream || !m_stream->user || m_stream->baseURL.empty()
        || !m_stream->microServicesURL || m_stream->clientID.empty())
        return;
    m_mediaDataLoaded = true;
    // The requests only go out here; their answers arrive on the main queue later.
    for (int64_t id : m_mediaBookIDs) {
        std::string text = std::to_string(id);
        if ((m_model && text == m_model->mediaBookId) || m_hlsPaths.contains(text))
            continue;
        StreamInfo neighbour = *m_stream;
        neighbour.bookId = id;
        loadHLSMediaBookPath(neighbour, false);
    }
}

// MARK: - Position, scheduler, bookmarks

base::Value MVLectoroMediaBookReader::getMetaData() const { return mediaBookMetaData(m_model.get()); }

void MVLectoroMediaBookReader::setStartTime(const base::Value& position)
{
    if (!m_model || !position.isDictionary())
        return;
    if (auto start = findMediaBookStartPosition(*m_model, position))
        navigateToStartPosition(start->first, start->second);
}

void MVLectoroMediaBookReader::navigateToStartPosition(const std::shared_ptr<MVMediaBookChapterVO>& chapter, int64_t seconds)
{
    if (!chapter || !m_model)
        return;
    auto current = m_model->currentChapter;
    if (current && current->filePart() != chapter->filePart()) {
        if (auto marks = chapterBookmarks()) {
            if (m_type == MediaBookType::video && m_videoPlayer)
                m_videoPlayer->deleteAllBookmarks(*marks);
            else if (m_audioPlayer)
                m_audioPlayer->deleteAllBookmarks(*marks);
        }
    }
    if (m_player) {
        m_player->navigateToChapter(chapter, seconds);
    } else {
        // No player yet (the screen has not appeared): the model keeps the position and the
        // player starts there once it is made.
        m_model->currentChapter = chapter;
        m_model->currentTime = seconds;
    }
    if (m_audioPlayer)
        m_audioPlayer->setCurrentChapter(chapter);
    if (m_videoPlayer)
        m_videoPlayer->setCurrentChapter(chapter);
    updateChapterControls(true);
}

std::optional<std::vector<std::shared_ptr<SDKBookmarkVO>>> MVLectoroMediaBookReader::chapterBookmarks() const
{
    return mediaBookChapterBookmarks(m_bookmarks, m_model ? m_model->currentChapter : nullptr);
}

void MVLectoroMediaBookReader::setBookmarks(std::vector<std::shared_ptr<SDKBookmarkVO>> bookmarks)
{
    m_bookmarks = std::move(bookmarks);
    refreshBookmarksOnScreen();
}

void MVLectoroMediaBookReader::refreshBookmarksOnScreen()
{
    if (auto marks = chapterBookmarks()) {
        for (const auto& bookmark : *marks) {
            if (m_type == MediaBookType::video && m_videoPlayer)
                m_videoPlayer->addBookmark(bookmark);
            else if (m_type == MediaBookType::audio && m_audioPlayer)
                m_audioPlayer->addBookmark(bookmark);
        }
    }
    if (m_toc && m_toc->selectedMode() == MediaBookTOCFilter::Bookmarks) {
        std::vector<MediaBookTOCEntry> entries(m_bookmarks.begin(), m_bookmarks.end());
        m_toc->setData(std::move(entries));
    }
}

void MVLectoroMediaBookReader::updateContentsList()
{
    if (!m_model || !m_model->chapters || !m_toc || m_toc->selectedMode() == MediaBookTOCFilter::Bookmarks)
        return;
    std::vector<MediaBookTOCEntry> entries(m_model->chapters->begin(), m_model->chapters->end());
    m_toc->setData(std::move(entries));
}

void MVLectoroMediaBookReader::didCallScheduler()
{
    if (auto delegate = m_delegate.lock())
        delegate->didSchedulerCalledWithInfo(getMetaData());
}

void MVLectoroMediaBookReader::stopScheduler()
{
    if (m_metaDataTimer)
        m_metaDataTimer->invalidate();
    m_metaDataTimer = nullptr;
}

void MVLectoroMediaBookReader::closePlayer()
{
    stopScheduler();
    for (auto& request : m_hlsRequests)
        request->cancel();
    m_hlsRequests.clear();
    if (m_player)
        m_player->stop();
    releasePlayerStack();
}

void MVLectoroMediaBookReader::didTapOnBack()
{
    handleBackAction();
}

void MVLectoroMediaBookReader::nextMediaButtonTapped()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnNextMediaButton(*this);
    resetForMediaChange();
}

void MVLectoroMediaBookReader::previousMediaButtonTapped()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnPreviousMediaButton(*this);
    resetForMediaChange();
}

void MVLectoroMediaBookReader::disableNextMediaButton(bool disabled)
{
    m_nextDisabled = disabled;
    if (m_nextButton)
        applyNavigationButtonLook(*m_nextButton, disabled);
}

void MVLectoroMediaBookReader::disablePreviousMediaButton(bool disabled)
{
    m_previousDisabled = disabled;
    if (m_previousButton)
        applyNavigationButtonLook(*m_previousButton, disabled);
}

void MVLectoroMediaBookReader::setTheme(std::shared_ptr<MVLectoroMediaBookThemeVO> theme)
{
    if (theme)
        m_theme = std::move(theme);
}

} // namespace lectoro
