#pragma once

// A media-book test with the sample audio book open and playing: the lock screen's command
// centre and information start empty, and a recorder can stand in as any second listener.

#include "media/MediaBookTestSupport.h"

#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "platform/media/NowPlaying.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/ViewController.h"

#include <algorithm>

namespace mediatest {

// The commands the player answers on the lock screen.
inline std::vector<media::RemoteCommand*> mediaPlayerRemoteCommands()
{
    auto& remote = media::RemoteCommandCenter::shared();
    return { &remote.playCommand(), &remote.pauseCommand(), &remote.nextTrackCommand(), &remote.previousTrackCommand(),
        &remote.changePlaybackPositionCommand() };
}

// Records, in order, what reaches it as a second listener or as the reader's delegate.
struct MediaListenerRecorder : lectoro::MVAudioBookPlayerViewControllerDelegate,
                               lectoro::MVMediaBookTOCControllerDelegate,
                               lectoro::MVMediaBookNarrationSpeedControllerDelegate,
                               lectoro::MVMediaBookBookmarkControllerDelegate,
                               lectoro::MVMediaBookPlayerDelegate,
                               lectoro::MVLectoroSleepTimerControllerDelegate,
                               lectoro::MVLectoroMediaBookReaderDelegate {
    std::vector<std::string> calls;

    void didTapOnBookmark() override { calls.push_back("didTapOnBookmark"); }
    void didTapOnPlayPause(const std::shared_ptr<lectoro::MVMediaBookModel>&) override { calls.push_back("didTapOnPlayPause"); }
    void didTapOnNarrationSpeed(ui::Button&) override { calls.push_back("didTapOnNarrationSpeed"); }
    void didTapOnForward() override { calls.push_back("didTapOnForward"); }
    void didTapOnRewind() override { calls.push_back("didTapOnRewind"); }
    void didTapOnNextChapter() override { calls.push_back("didTapOnNextChapter"); }
    void didTapOnPreviousChapter() override { calls.push_back("didTapOnPreviousChapter"); }
    void didSeekBarValueChanged() override { calls.push_back("didSeekBarValueChanged"); }
    std::shared_ptr<ui::ImageView> imageViewForThumbnail(const std::string&) override
    {
        calls.push_back("imageViewForThumbnail");
        return nullptr;
    }
    void didTapOnTranscriptSegment() override { calls.push_back("didTapOnTranscriptSegment"); }
    void didTapOnBookmarkSegment() override { calls.push_back("didTapOnBookmarkSegment"); }
    void didTapOnChapter(const std::shared_ptr<lectoro::MVMediaBookChapterVO>&) override { calls.push_back("didTapOnChapter"); }
    void didTapOnBookmark(const std::shared_ptr<lectoro::SDKBookmarkVO>&) override { calls.push_back("didTapOnBookmark:"); }
    void didTapOnBookmarkDelete(const std::shared_ptr<lectoro::SDKBookmarkVO>&) override { calls.push_back("didTapOnBookmarkDelete"); }
    void didNarrationSpeedValueChanges(const std::shared_ptr<lectoro::MVMediaBookModel>&) override
    {
        calls.push_back("didNarrationSpeedValueChanges");
    }
    void didTapOnAddBookmark(const std::shared_ptr<lectoro::SDKBookmarkVO>&) override { calls.push_back("didTapOnAddBookmark"); }
    void didTapOnCancelBookmark(const std::shared_ptr<lectoro::SDKBookmarkVO>&) override { calls.push_back("didTapOnCancelBookmark"); }
    void playerDidFinishPlaying() override { calls.push_back("playerDidFinishPlaying"); }
    void playerFailedToPlayWithError(const base::Error&) override { calls.push_back("playerFailedToPlayWithError"); }
    void didSetAudioSleepTimerWithSelectedSleepTime(double, lectoro::SleepAction) override { calls.push_back("sleepTimerSet"); }
    void didSetAudioSleepTimerOff() override { calls.push_back("sleepTimerOff"); }
    void didMediaPlaybackStateChange(const std::string& state) override { calls.push_back(state); }
    void didTapOnBack(const base::Value&, lectoro::MVLectoroMediaBookReader&) override { calls.push_back("didTapOnBack"); }

    size_t count(const std::string& name) const { return static_cast<size_t>(std::count(calls.begin(), calls.end(), name)); }
};

class MediaPlayerTest : public MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        media::RemoteCommandCenter::shared().reset();
        media::NowPlayingInfoCenter::defaultCenter().reset();
        ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Phone);
    }

    void TearDown() override
    {
        m_reader.reset();
        ui::setKeyWindowRootViewController(nullptr);
        MediaTest::TearDown();
        media::RemoteCommandCenter::shared().reset();
        media::NowPlayingInfoCenter::defaultCenter().reset();
    }

    // The sample audio book (three chapters), its screen shown and its first chapter playing.
    void openSampleAudioBook(const std::string& thumbnailURL = "") { openAudioBook(mediaSample("sample-audiobook"), thumbnailURL); }

    // The same book with chapters of ten minutes each, for tests that play for minutes.
    void openLongAudioBook() { openAudioBook(longAudioBookPath()); }

    const std::string& longAudioBookPath()
    {
        if (m_longBookPath.empty()) {
            m_longBookFolder = std::make_unique<TemporaryFolder>();
            m_longBookPath = writeLongAudioBook(*m_longBookFolder, 600);
        }
        return m_longBookPath;
    }

    void openAudioBook(const std::string& folder, const std::string& thumbnailURL = "")
    {
        auto& environment = ui::Environment::current();
        environment.setScreenSize(m_controller->view()->frame().size);
        environment.makeKeyWindow();
        m_controller->launchMediaReader(folder, 9101, "978-0", thumbnailURL,
            "https://lectoro.invalid", "client", m_user, m_settings, true, std::nullopt, "1");
        uitest::showInWindow(m_controller);
        advance(1.6);
        m_reader = m_controller->mediaReader();
        ASSERT_TRUE(m_reader);
        ASSERT_TRUE(m_reader->audioPlayerVC());
        ASSERT_EQ(model().mediaCurrentState, lectoro::CurrentState::Playing);
    }

    lectoro::MVMediaBookModel& model() const { return *m_reader->mediaBookModel(); }
    const std::vector<std::shared_ptr<lectoro::MVMediaBookChapterVO>>& chapters() const { return model().mediaBookAllChaptersArray; }
    std::string currentChapterTitle() const
    {
        return model().currentChapter ? model().currentChapter->chapterTitle.value_or("") : std::string();
    }
    void tapAudioControl(const std::string& identifier)
    {
        auto button = m_reader->audioPlayerVC()->button(identifier);
        ASSERT_TRUE(button) << identifier;
        EXPECT_TRUE(uitest::tap(*button)) << identifier;
    }

    // A bookmark of the first chapter's file at `seconds`.
    static std::shared_ptr<lectoro::SDKBookmarkVO> chapterOneBookmark(const base::Value& seconds, const std::string& id = "b")
    {
        auto bookmark = std::make_shared<lectoro::SDKBookmarkVO>();
        bookmark->localID = id;
        base::Value::Dictionary meta;
        meta.set("CurrentTime", seconds);
        meta.set("FileName", "chapter-1.m4a");
        meta.set("ChapterName", "The Lighthouse");
        bookmark->metaData = base::Value(std::move(meta));
        return bookmark;
    }

    std::shared_ptr<lectoro::MVLectoroMediaBookReader> m_reader;
    std::shared_ptr<MediaListenerRecorder> m_listener = std::make_shared<MediaListenerRecorder>();

private:
    std::unique_ptr<TemporaryFolder> m_longBookFolder;
    std::string m_longBookPath;
};

} // namespace mediatest
