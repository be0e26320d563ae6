#include "companion/media/MediaBookPlayer.h"

#include "companion/media/MediaSelectionNames.h"

#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"
#include "platform/ui/View.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

namespace companion {

using lectoro::CurrentState;
using lectoro::MVMediaBookChapterVO;
using lectoro::MVMediaBookModel;

std::shared_ptr<MediaBookPlayer> MediaBookPlayer::create(std::shared_ptr<MVMediaBookModel> model)
{
    auto player = std::shared_ptr<MediaBookPlayer>(new MediaBookPlayer(std::move(model)));
    player->start();
    return player;
}

MediaBookPlayer::MediaBookPlayer(std::shared_ptr<MVMediaBookModel> model)
    : m_model(std::move(model))
    , m_player(media::Player::create())
    , m_view(ui::View::create())
    , m_layerView(ui::View::create())
{
    m_view->setAccessibilityIdentifier("MediaBookPlayer");
    m_layerView->setAccessibilityIdentifier("MediaBookPlayerLayer");
}

MediaBookPlayer::~MediaBookPlayer()
{
    m_player->removeTimeObserver(m_observer);
    m_player->removeTimeObserver(m_chapterEndObserver);
    m_player->pause();
    m_player->replaceCurrentItem(nullptr);
}

void MediaBookPlayer::start()
{
    m_player->setDelegate(weak_from_this());
    std::weak_ptr<MediaBookPlayer> weakSelf = weak_from_this();
    m_observer = m_player->addPeriodicTimeObserver(1.0, [weakSelf](double time) {
        if (auto self = weakSelf.lock())
            self->tick(time);
    });
}

void MediaBookPlayer::setMediaBookModel(std::shared_ptr<MVMediaBookModel> model)
{
    if (model == m_model)
        return;
    stop();
    m_model = std::move(model);
}

const media::Asset* MediaBookPlayer::asset() const
{
    const auto& item = m_player->currentItem();
    return item ? item->asset() : nullptr;
}

bool MediaBookPlayer::isReady() const
{
    const auto& item = m_player->currentItem();
    return item && item->status() == media::PlayerItem::Status::ReadyToPlay;
}

int64_t MediaBookPlayer::chapterLength() const
{
    return m_chapter ? m_chapter->avAssetTotalTime : 0;
}

void MediaBookPlayer::setState(CurrentState state)
{
    if (!m_model)
        return;
    m_model->mediaCurrentState = state;
    if (auto delegate = m_delegate.lock())
        delegate->playerDidChangeStateWithMediaBookModel(m_model);
}

void MediaBookPlayer::load(const std::shared_ptr<MVMediaBookChapterVO>& chapter, int64_t seconds)
{
    if (!m_model || !chapter)
        return;
    m_model->currentChapter = chapter;
    m_chapter = chapter;
    m_finished = false;
    int64_t limit = chapter->avAssetTotalTime;
    m_model->currentTime = std::clamp<int64_t>(seconds, 0, std::max<int64_t>(limit, 0));
    if (chapter->chapterURL != m_loadedFile || !m_player->currentItem()) {
        m_loadedFile = chapter->chapterURL;
        // The book's folder bounds what the chapter's media may name, as when it was parsed.
        media::AssetLoadOptions options;
        options.root = m_model->mediaBookPath;
        m_player->replaceCurrentItem(media::PlayerItem::create(chapter->chapterURL, options));
        // The position is placed once the item is ready.
        setState(CurrentState::Loading);
        return;
    }
    m_player->seekToTime(chapter->startTimeInFile + static_cast<double>(m_model->currentTime));
    watchChapterEnd();
}

void MediaBookPlayer::watchChapterEnd()
{
    m_player->removeTimeObserver(std::exchange(m_chapterEndObserver, 0));
    if (!m_chapter || !isReady())
        return;
    double fileDuration = m_player->currentItem()->duration();
    double end = chapterEndInFile(fileDuration);
    if (end >= fileDuration)
        return; // the file's own end finishes the chapter
    // On the player's clock, not the once-a-second tick: the tick would let up to a second
    // of the next chapter (two at double speed) be heard before the next chapter starts over.
    std::weak_ptr<MediaBookPlayer> weakSelf = weak_from_this();
    m_chapterEndObserver = m_player->addBoundaryTimeObserver({ end }, [weakSelf](double) {
        auto self = weakSelf.lock();
        if (!self || self->m_finished || self->m_player->rate() <= 0)
            return;
        self->m_player->pause();
        self->finishChapter();
    });
}

void MediaBookPlayer::play(const std::shared_ptr<MVMediaBookChapterVO>& chapter)
{
    if (!m_model)
        return;
    auto target = chapter ? chapter : m_model->currentChapter;
    if (!target && !m_model->mediaBookAllChaptersArray.empty())
        target = m_model->mediaBookAllChaptersArray.front();
    if (!target)
        return;
    if (target != m_chapter || !m_player->currentItem())
        load(target, chapter ? 0 : m_model->currentTime);
    else if (m_finished)
        load(target, 0);
    m_wantsToPlay = true;
    if (!isReady())
        return;
    m_player->play();
    setState(CurrentState::Playing);
}

void MediaBookPlayer::pause()
{
    m_wantsToPlay = false;
    m_player->pause();
    if (m_model && m_model->mediaCurrentState != CurrentState::Stopped)
        setState(CurrentState::Paused);
}

void MediaBookPlayer::stop()
{
    m_wantsToPlay = false;
    m_player->pause();
    m_player->replaceCurrentItem(nullptr);
    m_loadedFile.clear();
    m_chapter.reset();
    if (m_model && m_model->mediaCurrentState != CurrentState::Stopped)
        setState(CurrentState::Stopped);
}

void MediaBookPlayer::playForwardWithTime(float seconds)
{
    if (m_model)
        playToSeekTime(m_model->currentTime + static_cast<int64_t>(seconds));
}

void MediaBookPlayer::playBackwardWithTime(float seconds)
{
    if (m_model)
        playToSeekTime(m_model->currentTime - static_cast<int64_t>(seconds));
}

void MediaBookPlayer::playToSeekTime(int64_t seconds)
{
    if (!m_model || !m_chapter)
        return;
    m_model->currentTime = std::clamp<int64_t>(seconds, 0, std::max<int64_t>(chapterLength(), 0));
    m_finished = false;
    if (isReady())
        m_player->seekToTime(m_chapter->startTimeInFile + static_cast<double>(m_model->currentTime));
}

void MediaBookPlayer::navigateToChapter(const std::shared_ptr<MVMediaBookChapterVO>& chapter, int64_t seekTime)
{
    if (!chapter)
        return;
    load(chapter, seekTime);
    m_wantsToPlay = true;
    if (isReady()) {
        m_player->play();
        setState(CurrentState::Playing);
    }
}

void MediaBookPlayer::setReadingSpeed(const std::shared_ptr<MVMediaBookModel>& model)
{
    float rate = model ? model->mediaNarrationSpeedRate : 1.0f;
    if (!(rate > 0) || !std::isfinite(rate))
        rate = 1.0f;
    if (m_model)
        m_model->mediaNarrationSpeedRate = rate;
    m_player->setDefaultRate(rate);
    if (m_player->rate() > 0)
        m_player->setRate(rate);
}

void MediaBookPlayer::mute(bool muted)
{
    m_player->setMuted(muted);
}

bool MediaBookPlayer::isMuted() const
{
    return m_player->isMuted();
}

void MediaBookPlayer::changeMediaLanguage(const std::string& audio)
{
    const auto* loaded = asset();
    if (!loaded)
        return;
    for (const auto& option : loaded->audibleOptions) {
        if (option.displayName == audio || option.languageCode == audio) {
            if (m_player->currentItem()->selectAudibleOption(option.languageCode))
                m_selectedAudio = audio;
            return;
        }
    }
}

void MediaBookPlayer::changeVideoQuality(const std::string& resolution)
{
    const auto* loaded = asset();
    if (!loaded || !loaded->masterPlaylist)
        return;
    for (const auto& variant : loaded->masterPlaylist->variantsByBandwidth()) {
        if (std::to_string(variant.height) + "p" == resolution) {
            m_player->currentItem()->setPreferredPeakBitRate(static_cast<double>(variant.bandwidth));
            m_selectedQuality = resolution;
            return;
        }
    }
}

void MediaBookPlayer::changeMediaSubtitle(const std::optional<std::string>& subtitle)
{
    const auto& item = m_player->currentItem();
    if (!subtitle) {
        if (item)
            item->selectLegibleOption(std::nullopt);
        m_selectedSubtitle.reset();
        return;
    }
    const auto* loaded = asset();
    if (!loaded)
        return;
    for (const auto& option : loaded->legibleOptions) {
        if (option.displayName == *subtitle || option.languageCode == *subtitle) {
            if (item->selectLegibleOption(option.languageCode))
                m_selectedSubtitle = *subtitle;
            return;
        }
    }
}

void MediaBookPlayer::tick(double fileTime)
{
    if (!m_model || !m_chapter || !isReady() || m_finished)
        return;
    double intoChapter = fileTime - m_chapter->startTimeInFile;
    int64_t total = chapterLength();
    // A chapter that shares its file ends where the next one starts.
    double fileDuration = m_player->currentItem()->duration();
    double chapterEnd = chapterEndInFile(fileDuration);
    if (m_player->rate() > 0 && chapterEnd < fileDuration && fileTime >= chapterEnd) {
        m_player->pause();
        finishChapter();
        return;
    }
    m_model->currentTime = std::clamp<int64_t>(static_cast<int64_t>(std::floor(intoChapter)), 0, std::max<int64_t>(total, 0));
    if (auto delegate = m_delegate.lock())
        delegate->playerPlayingWithCurrentTime(m_model->currentTime, total);
}

// The start of a later chapter of the same file, else the file's end. Not the chapter's
// length: that is whole seconds and would cut up to a second off its last words.
double MediaBookPlayer::chapterEndInFile(double fileDuration) const
{
    double end = fileDuration;
    const auto& all = m_model->mediaBookAllChaptersArray;
    auto current = std::find(all.begin(), all.end(), m_chapter);
    if (current == all.end())
        return end;
    for (auto later = std::next(current); later != all.end(); ++later) {
        const auto& chapter = *later;
        if (chapter && chapter->chapterURL == m_chapter->chapterURL && chapter->startTimeInFile > m_chapter->startTimeInFile)
            end = std::min(end, chapter->startTimeInFile);
    }
    return end;
}

void MediaBookPlayer::finishChapter()
{
    m_finished = true;
    m_wantsToPlay = false;
    if (!m_model)
        return;
    m_model->currentTime = chapterLength();
    auto self = shared_from_this();
    if (auto delegate = m_delegate.lock())
        delegate->playerPlayingWithCurrentTime(m_model->currentTime, chapterLength());
    setState(CurrentState::Paused);
    if (auto delegate = m_delegate.lock())
        delegate->playerDidFinishPlaying();
}

void MediaBookPlayer::playerItemStatusDidChange(media::Player&, media::PlayerItem& item)
{
    if (!m_model || item.shared_from_this() != m_player->currentItem())
        return;
    if (item.status() == media::PlayerItem::Status::Failed) {
        m_wantsToPlay = false;
        setState(CurrentState::Failed);
        if (auto delegate = m_delegate.lock())
            delegate->playerFailedToPlayWithError(item.error().value_or(base::Error::make("AVFoundationErrorDomain", -11800)));
        return;
    }
    if (item.status() != media::PlayerItem::Status::ReadyToPlay || !m_chapter)
        return;
    if (const auto* loaded = item.asset(); loaded && loaded->kind == media::Asset::Kind::Stream) {
        if (!loaded->audibleOptions.empty())
            m_model->mediaSupportedAudios = selectionOptionNames(loaded->audibleOptions);
        if (!loaded->legibleOptions.empty())
            m_model->mediaSupportedSubtitles = selectionOptionNames(loaded->legibleOptions);
        if (item.selectedAudibleOption())
            m_selectedAudio = item.selectedAudibleOption()->displayName;
    }
    m_player->seekToTime(m_chapter->startTimeInFile + static_cast<double>(m_model->currentTime));
    watchChapterEnd();
    setState(CurrentState::ReadyToPlay);
    if (m_wantsToPlay) {
        m_player->play();
        setState(CurrentState::Playing);
    }
}

void MediaBookPlayer::playerItemDidPlayToEndTime(media::Player&, media::PlayerItem&)
{
    if (!m_finished)
        finishChapter();
}

void MediaBookPlayer::playerItemFailedToPlayToEndTime(media::Player&, media::PlayerItem&, const base::Error& error)
{
    m_wantsToPlay = false;
    setState(CurrentState::Failed);
    if (auto delegate = m_delegate.lock())
        delegate->playerFailedToPlayWithError(error);
}

} // namespace companion
