#pragma once

// The media-book player on platform/media's Player: one chapter file loaded at a time
// (chapters sharing a file are stretches of it, each ended at the next one's start on the
// player's clock), one tick per second of play, the model's
// state and position kept as the chapter plays. Everything runs on the main run loop.

#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"
#include "LectoroSDKWithReader/readersdk/media/MVMediaBookPlayer.h"
#include "platform/media/Player.h"

#include <memory>

namespace companion {

class MediaBookPlayer final : public lectoro::MVMediaBookPlayer,
                              public media::PlayerDelegate,
                              public std::enable_shared_from_this<MediaBookPlayer> {
public:
    static std::shared_ptr<MediaBookPlayer> create(std::shared_ptr<lectoro::MVMediaBookModel>);
    ~MediaBookPlayer() override;

    std::shared_ptr<lectoro::MVMediaBookPlayerDelegate> delegate() const override { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<lectoro::MVMediaBookPlayerDelegate> delegate) override { m_delegate = std::move(delegate); }
    std::shared_ptr<lectoro::MVMediaBookModel> mediaBookModel() const override { return m_model; }
    void setMediaBookModel(std::shared_ptr<lectoro::MVMediaBookModel>) override;

    std::shared_ptr<ui::View> view() override { return m_view; }
    std::shared_ptr<ui::View> getPlayerLayerView() override { return m_layerView; }

    void play(const std::shared_ptr<lectoro::MVMediaBookChapterVO>& chapter = nullptr) override;
    void pause() override;
    void stop() override;
    void playForwardWithTime(float seconds) override;
    void playBackwardWithTime(float seconds) override;
    void playToSeekTime(int64_t seconds) override;
    void navigateToChapter(const std::shared_ptr<lectoro::MVMediaBookChapterVO>&, int64_t seekTime) override;
    void setReadingSpeed(const std::shared_ptr<lectoro::MVMediaBookModel>&) override;
    void mute(bool muted) override;
    bool isMuted() const override;

    void changeMediaLanguage(const std::string&) override;
    void changeVideoQuality(const std::string&) override;
    void changeMediaSubtitle(const std::optional<std::string>&) override;
    std::optional<std::string> currentSelectedAudio() const override { return m_selectedAudio; }
    std::optional<std::string> currentSelectedQuality() const override { return m_selectedQuality; }
    std::optional<std::string> currentSelectedSubtitle() const override { return m_selectedSubtitle; }

    // The platform player underneath (tests read its rate and position).
    const std::shared_ptr<media::Player>& avPlayer() const { return m_player; }

    // media::PlayerDelegate
    void playerItemStatusDidChange(media::Player&, media::PlayerItem&) override;
    void playerItemDidPlayToEndTime(media::Player&, media::PlayerItem&) override;
    void playerItemFailedToPlayToEndTime(media::Player&, media::PlayerItem&, const base::Error&) override;

private:
    explicit MediaBookPlayer(std::shared_ptr<lectoro::MVMediaBookModel>);
    void start();
    // Makes the chapter current, loading its file when another one is loaded, and places
    // the position `seconds` into it.
    void load(const std::shared_ptr<lectoro::MVMediaBookChapterVO>&, int64_t seconds);
    bool isReady() const;
    void tick(double fileTime);
    double chapterEndInFile(double fileDuration) const;
    // A chapter that ends where a later one of its file starts is ended at that time exactly.
    void watchChapterEnd();
    void finishChapter();
    void setState(lectoro::CurrentState);
    int64_t chapterLength() const;
    const media::Asset* asset() const;

    std::shared_ptr<lectoro::MVMediaBookModel> m_model;
    std::weak_ptr<lectoro::MVMediaBookPlayerDelegate> m_delegate;
    std::shared_ptr<media::Player> m_player;
    media::Player::TimeObserverId m_observer = 0;
    media::Player::TimeObserverId m_chapterEndObserver = 0;
    std::shared_ptr<ui::View> m_view;
    std::shared_ptr<ui::View> m_layerView;
    std::shared_ptr<lectoro::MVMediaBookChapterVO> m_chapter;
    std::string m_loadedFile;
    bool m_wantsToPlay = false;
    bool m_finished = false;
    std::optional<std::string> m_selectedAudio;
    std::optional<std::string> m_selectedQuality;
    std::optional<std::string> m_selectedSubtitle;
};

} // namespace companion
