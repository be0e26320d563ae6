#include "companion/media/MediaBookTestSupport.h"

#include "companion/media/MediaBookPlayer.h"

#include <gtest/gtest.h>

using namespace mediabooktest;
using companiontest::samplePath;
using companion::MediaBookPlayer;
using lectoro::CurrentState;
using lectoro::MVMediaBookModel;

namespace {

struct RecordingDelegate : lectoro::MVMediaBookPlayerDelegate {
    std::vector<std::pair<int64_t, int64_t>> ticks;
    std::vector<CurrentState> states;
    int finished = 0;
    std::vector<base::Error> failures;

    void playerPlayingWithCurrentTime(int64_t current, int64_t total) override { ticks.emplace_back(current, total); }
    void playerDidFinishPlaying() override { ++finished; }
    void playerFailedToPlayWithError(const base::Error& error) override { failures.push_back(error); }
    void playerDidChangeStateWithMediaBookModel(const std::shared_ptr<MVMediaBookModel>& model) override
    {
        states.push_back(model->mediaCurrentState);
    }
};

struct Fixture {
    explicit Fixture(const std::string& book, bool video = false)
    {
        auto parsed = parse(modelFor(samplePath(book)), video);
        EXPECT_TRUE(parsed.ok()) << parsed.error().description();
        model = parsed.value();
        player = MediaBookPlayer::create(model);
        player->setDelegate(delegate);
    }
    std::shared_ptr<MVMediaBookModel> model;
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
    std::shared_ptr<MediaBookPlayer> player;
};

} // namespace

TEST(MediaBookPlayer, PlaysAChapterSecondBySecondToItsEnd)
{
    Fixture book("sample-audiobook");
    book.player->play();
    settle();
    EXPECT_EQ(book.model->currentChapter, book.model->mediaBookAllChaptersArray.front());
    EXPECT_EQ(book.model->mediaCurrentState, CurrentState::Playing);
    EXPECT_EQ(book.delegate->states, (std::vector { CurrentState::Loading, CurrentState::ReadyToPlay, CurrentState::Playing }));

    base::RunLoop::main().advanceBy(3.0);
    EXPECT_EQ(book.model->currentTime, 3);
    ASSERT_FALSE(book.delegate->ticks.empty());
    EXPECT_EQ(book.delegate->ticks.back(), std::make_pair(int64_t(3), int64_t(5)));
    EXPECT_EQ(book.delegate->finished, 0);

    base::RunLoop::main().advanceBy(4.0);
    EXPECT_EQ(book.delegate->finished, 1);
    EXPECT_EQ(book.model->mediaCurrentState, CurrentState::Paused);
    EXPECT_EQ(book.model->currentTime, 5);
    EXPECT_EQ(book.delegate->ticks.back(), std::make_pair(int64_t(5), int64_t(5)));
}

TEST(MediaBookPlayer, AChapterWithAFileOfItsOwnPlaysToTheFilesEnd)
{
    // The chapters' lengths are whole seconds; their last words lie in the fraction after.
    Fixture book("sample-audiobook");
    for (const auto& chapter : book.model->mediaBookAllChaptersArray) {
        SCOPED_TRACE(chapter->chapterTitle.value_or(""));
        book.delegate->finished = 0;
        book.player->play(chapter);
        settle();
        const double fileEnd = book.player->avPlayer()->currentItem()->duration();
        base::RunLoop::main().advanceBy(fileEnd - 0.05);
        EXPECT_EQ(book.delegate->finished, 0) << "ended before its file did";
        EXPECT_EQ(book.player->avPlayer()->rate(), 1.0);
        base::RunLoop::main().advanceBy(0.1);
        EXPECT_EQ(book.delegate->finished, 1);
        EXPECT_EQ(book.model->currentTime, chapter->avAssetTotalTime);
    }
}

TEST(MediaBookPlayer, ChaptersSharingAStreamEndWhereTheNextBegins)
{
    Fixture book("sample-videobook", true);
    book.player->play();
    settle();
    base::RunLoop::main().advanceBy(3.5);
    EXPECT_EQ(book.delegate->finished, 1);
    EXPECT_EQ(book.player->avPlayer()->rate(), 0);

    auto second = book.model->mediaBookAllChaptersArray.at(1);
    book.player->navigateToChapter(second, 1);
    settle();
    EXPECT_EQ(book.model->currentChapter, second);
    EXPECT_NEAR(book.player->avPlayer()->currentTime(), 4.0, 0.01);
    base::RunLoop::main().advanceBy(1.0);
    EXPECT_EQ(book.model->currentTime, 2);
}

TEST(MediaBookPlayer, AChapterSharingItsFileEndsAtTheNextOnesStartExactlyAtEverySpeed)
{
    // The next chapter starts between two whole seconds, where the once-a-second tick
    // would come late.
    for (float speed : { 1.0f, 2.0f }) {
        SCOPED_TRACE(speed);
        Fixture book("sample-videobook", true);
        auto first = book.model->mediaBookAllChaptersArray.at(0);
        auto second = book.model->mediaBookAllChaptersArray.at(1);
        ASSERT_EQ(first->chapterURL, second->chapterURL);
        second->startTimeInFile = 2.5;
        book.model->mediaNarrationSpeedRate = speed;
        book.player->setReadingSpeed(book.model);
        book.player->play(first);
        settle();
        ASSERT_EQ(book.player->avPlayer()->rate(), speed);
        const double wallToBoundary = 2.5 / speed;

        base::RunLoop::main().advanceBy(wallToBoundary - 0.01);
        EXPECT_EQ(book.delegate->finished, 0) << "ended early";
        base::RunLoop::main().advanceBy(0.01);
        EXPECT_EQ(book.delegate->finished, 1);
        EXPECT_EQ(book.player->avPlayer()->rate(), 0);
        EXPECT_NEAR(book.player->avPlayer()->currentTime(), 2.5, 1e-6) << "none of the next chapter is heard";

        // The next chapter goes on from where the first stopped.
        book.player->navigateToChapter(second, 0);
        settle();
        EXPECT_EQ(book.model->currentChapter, second);
        EXPECT_NEAR(book.player->avPlayer()->currentTime(), 2.5, 1e-6);
        EXPECT_EQ(book.delegate->finished, 1);
    }
}

TEST(MediaBookPlayer, SkipsSeeksAndSpeedStayInsideTheChapter)
{
    Fixture book("sample-audiobook");
    book.player->play(book.model->mediaBookAllChaptersArray.at(2));
    settle();
    book.player->playForwardWithTime(15);
    EXPECT_EQ(book.model->currentTime, 5);
    book.player->playBackwardWithTime(15);
    EXPECT_EQ(book.model->currentTime, 0);
    book.player->playToSeekTime(2);
    settle();

    book.model->mediaNarrationSpeedRate = 2.0f;
    book.player->setReadingSpeed(book.model);
    EXPECT_EQ(book.player->avPlayer()->rate(), 2.0);
    base::RunLoop::main().advanceBy(1.0);
    EXPECT_EQ(book.model->currentTime, 4);

    book.player->pause();
    EXPECT_EQ(book.model->mediaCurrentState, CurrentState::Paused);
    base::RunLoop::main().advanceBy(2.0);
    EXPECT_EQ(book.model->currentTime, 4);
    book.player->mute(true);
    EXPECT_TRUE(book.player->isMuted());
}

TEST(MediaBookPlayer, ChoosesLanguagesSubtitlesAndQualityTheStreamOffers)
{
    Fixture languages("sample-multiaudio");
    languages.player->play();
    settle();
    EXPECT_EQ(languages.player->currentSelectedAudio(), "English");
    languages.player->changeMediaLanguage("Deutsch");
    EXPECT_EQ(languages.player->currentSelectedAudio(), "Deutsch");
    languages.player->changeMediaLanguage("Klingon");
    EXPECT_EQ(languages.player->currentSelectedAudio(), "Deutsch");

    Fixture film("sample-videobook", true);
    film.player->play();
    settle();
    film.player->changeMediaSubtitle("English");
    EXPECT_EQ(film.player->currentSelectedSubtitle(), "English");
    film.player->changeMediaSubtitle(std::nullopt);
    EXPECT_EQ(film.player->currentSelectedSubtitle(), std::nullopt);
    film.player->changeVideoQuality("90p");
    EXPECT_EQ(film.player->currentSelectedQuality(), "90p");
    EXPECT_EQ(film.player->avPlayer()->currentItem()->currentVariant()->height, 90);
}

TEST(MediaBookPlayer, AChapterWhoseFileIsGoneFailsOnce)
{
    Fixture book("sample-audiobook");
    book.model->mediaBookAllChaptersArray.at(1)->chapterURL = "/nonexistent/chapter.m4a";
    book.player->play(book.model->mediaBookAllChaptersArray.at(1));
    settle();
    ASSERT_EQ(book.delegate->failures.size(), 1u);
    EXPECT_EQ(book.model->mediaCurrentState, CurrentState::Failed);
    book.player->stop();
    EXPECT_EQ(book.model->mediaCurrentState, CurrentState::Stopped);
}
