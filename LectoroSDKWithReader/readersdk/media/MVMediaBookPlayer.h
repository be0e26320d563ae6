#pragma once

// Plays the chapters of a media book model on the platform's media player.
//
// The player keeps the model's mediaCurrentState, currentChapter and currentTime, and tells
// its delegate (held weakly) on the main thread: a time tick each second of play (current
// and total whole seconds of the chapter), the end of a chapter, a failure, and each state
// change (with the model). Made by CompanionFramework::makeMediaBookPlayer(model).

#include "platform/base/Error.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class View;
}

namespace lectoro {

class MVMediaBookChapterVO;
class MVMediaBookModel;

class MVMediaBookPlayerDelegate {
public:
    virtual ~MVMediaBookPlayerDelegate() = default;
    virtual void playerPlayingWithCurrentTime(int64_t /*currentTime*/, int64_t /*totalTime*/) { }
    virtual void playerDidFinishPlaying() { }
    virtual void playerFailedToPlayWithError(const base::Error&) { }
    virtual void playerDidChangeStateWithMediaBookModel(const std::shared_ptr<MVMediaBookModel>&) { }
};

class MVMediaBookPlayer {
public:
    virtual ~MVMediaBookPlayer() = default;

    virtual std::shared_ptr<MVMediaBookPlayerDelegate> delegate() const = 0;
    virtual void setDelegate(std::weak_ptr<MVMediaBookPlayerDelegate>) = 0;

    // The model the player plays (the reader hands a fresh one over on an update).
    virtual std::shared_ptr<MVMediaBookModel> mediaBookModel() const = 0;
    virtual void setMediaBookModel(std::shared_ptr<MVMediaBookModel>) = 0;

    // The player itself, as a view the screen adds (it draws nothing of its own).
    virtual std::shared_ptr<ui::View> view() = 0;
    // The view that shows the picture of a video.
    virtual std::shared_ptr<ui::View> getPlayerLayerView() = 0;

    // No chapter resumes the current one (the model's current chapter, else the first).
    virtual void play(const std::shared_ptr<MVMediaBookChapterVO>& chapter = nullptr) = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual void playForwardWithTime(float seconds) = 0;
    virtual void playBackwardWithTime(float seconds) = 0;
    // Whole seconds into the current chapter.
    virtual void playToSeekTime(int64_t seconds) = 0;
    virtual void navigateToChapter(const std::shared_ptr<MVMediaBookChapterVO>&, int64_t seekTime) = 0;
    // Takes the model's mediaNarrationSpeedRate.
    virtual void setReadingSpeed(const std::shared_ptr<MVMediaBookModel>&) = 0;
    virtual void mute(bool muted) = 0;
    virtual bool isMuted() const = 0;

    // Streams: names as the model's supported lists give them. A name the stream does not
    // offer changes nothing.
    virtual void changeMediaLanguage(const std::string& audio) = 0;
    virtual void changeVideoQuality(const std::string& resolution) = 0;
    // None turns subtitles off.
    virtual void changeMediaSubtitle(const std::optional<std::string>& subtitle) = 0;
    virtual std::optional<std::string> currentSelectedAudio() const = 0;
    virtual std::optional<std::string> currentSelectedQuality() const = 0;
    virtual std::optional<std::string> currentSelectedSubtitle() const = 0;
};

} // namespace lectoro
