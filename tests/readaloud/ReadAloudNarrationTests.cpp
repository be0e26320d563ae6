// The synchroniser on its own: words and sentences reported as the book's audio plays
// through the media player (silent WAV files on the run loop's virtual clock), text spoken
// by the synthesiser where the audio is missing, timings alone where there is no text, and
// which audio paths a link may name.

#include "platform/media/MediaTestSupport.h"

#include "LectoroSDKWithReader/media/readaloud/AudioSyncController.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/media/AudioSession.h"
#include "platform/media/Player.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace lectoro {
namespace {

class ReadAloudSyncRecorder : public AudioSyncControllerDelegate {
public:
    std::vector<std::string> events;
    // The x of each word mark, in order.
    std::vector<int> words;
    int ends = 0;
    int pauses = 0;
    void audioSyncDidPaused() override { ++pauses; }
    void didJumpToTextWithFrame(const ui::Rect& frame, const std::string& page) override
    {
        words.push_back(int(frame.origin.x));
        events.push_back("word " + page + " " + std::to_string(int(frame.origin.x)));
    }
    void didJumpToSentenceWithWordFrames(const std::optional<std::vector<ui::Rect>>& frames, const std::string&) override
    {
        events.push_back("sentence " + std::to_string(frames ? frames->size() : 0));
    }
    void didJumpToTextWithWordId(const std::string& wordId, const std::string& page) override
    {
        events.push_back("id " + wordId + " " + page);
    }
    void audioSyncdidCompleteForPageIdentifier(const std::string& page) override
    {
        ++ends;
        events.push_back("done " + page);
    }
};

base::Value readAloudEntry(const char* text, double start, double end)
{
    return base::Value::Dictionary { { "text", text }, { "start", start }, { "end", end } };
}

class ReadAloudSync : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_book->absolutePath = m_folder.path();
        m_start = base::RunLoop::main().now();
    }
    void TearDown() override { mediatest::settle(); }

    // A link of page 12 whose box starts at x = 100, narrated by `url`.
    std::shared_ptr<PXLinkVO> link(const std::string& url, base::Value::List words, double x = 100)
    {
        auto link = std::make_shared<PXLinkVO>();
        link->pageID = "12";
        link->url = url;
        link->boxTansformedRect = ui::Rect { { x, 50 }, { 90, 10 } };
        link->audioSync = base::Value(std::move(words));
        return link;
    }
    // A silent narration file of the book.
    std::string audio(const std::string& name, double seconds)
    {
        m_folder.write(name, mediatest::wavBytes(seconds));
        return name;
    }
    double elapsed() const { return base::RunLoop::main().now() - m_start; }
    void advanceTo(double seconds) { base::RunLoop::main().advanceBy(m_start + seconds - base::RunLoop::main().now()); }

    mediatest::TemporaryFolder m_folder;
    std::shared_ptr<PXBookVO> m_book = std::make_shared<PXBookVO>();
    std::shared_ptr<ReadAloudSyncRecorder> m_recorder = std::make_shared<ReadAloudSyncRecorder>();
    double m_start = 0;
};

TEST_F(ReadAloudSync, WordsFollowThePlayerOfTheBooksAudioAtTheChosenRate)
{
    auto sync = AudioSyncController::create({ link(audio("page12.wav", 2.5),
                                                { readAloudEntry("Hi.", 0, 0.5), readAloudEntry("Go", 1.0, 1.4),
                                                    readAloudEntry("now", 1.4, 2.0), base::Value::Dictionary { { "text", "bad" } } }) },
        m_recorder, m_book, false);
    ASSERT_EQ(sync->words().size(), 3u) << "an entry without a start is skipped";
    // The box is shared by length + 1: "Hi." 4, "Go" 3, "now" 4 of 11 units.
    EXPECT_DOUBLE_EQ(sync->words()[1].frame.origin.x, 100 + 90.0 * 4 / 11);
    sync->changeAudioPlayingSpeed(2.0f);
    sync->start();
    ASSERT_EQ(sync->narrationKind(), NarrationPlayback::Kind::Audio);
    auto player = sync->audioPlayer();
    ASSERT_TRUE(player);
    EXPECT_DOUBLE_EQ(player->rate(), 2.0) << "the chosen speed is the player's rate";
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_recorder->events, (std::vector<std::string> { "sentence 1", "word 12 100" }));

    advanceTo(0.6); // 1.2 s of the file at twice the speed
    EXPECT_DOUBLE_EQ(sync->position(), 1.2);
    ASSERT_EQ(m_recorder->events.size(), 4u);
    EXPECT_EQ(m_recorder->events[2], "sentence 2");

    // The player paused by an interruption pauses the narration: no words, not playing,
    // and playing again goes on from there.
    media::AudioSession::sharedInstance().postInterruption(media::AudioSessionInterruptionType::Began);
    base::RunLoop::main().advanceBy(1);
    EXPECT_EQ(m_recorder->events.size(), 4u);
    EXPECT_FALSE(sync->isPlaying());
    EXPECT_EQ(m_recorder->pauses, 1);
    media::AudioSession::sharedInstance().postInterruption(media::AudioSessionInterruptionType::Ended);
    sync->playPauseAction();
    EXPECT_TRUE(sync->isPlaying());
    EXPECT_DOUBLE_EQ(player->rate(), 2.0);

    sync->pause();
    EXPECT_DOUBLE_EQ(player->rate(), 0.0);
    base::RunLoop::main().advanceBy(5);
    EXPECT_EQ(m_recorder->events.size(), 4u) << "paused narration reports nothing";
    EXPECT_FALSE(sync->isPlaying());
    sync->changeAudioPlayingSpeed(1.0f);
    sync->resume();
    base::RunLoop::main().advanceBy(0.25);
    ASSERT_EQ(m_recorder->events.size(), 5u) << "\"now\" at 1.4 s of the file";
    EXPECT_EQ(m_recorder->ends, 0) << "the page ends with its audio, not with its last word";
    base::RunLoop::main().advanceBy(1.2);
    EXPECT_EQ(m_recorder->events.back(), "done 12");
    EXPECT_DOUBLE_EQ(sync->position(), 2.5);
    EXPECT_FALSE(sync->isPlaying());
}

TEST_F(ReadAloudSync, LinksWithTheirOwnFilesAreNarratedOneAfterTheOther)
{
    // Each file's timings count from its own beginning: "b" at 0.2 s of b.wav comes after
    // a.wav has played, not between the words of a.
    auto sync = AudioSyncController::create(
        { link(audio("a.wav", 1.0), { readAloudEntry("one", 0, 0.3), readAloudEntry("two", 0.5, 0.8) }, 100),
            link(audio("b.wav", 1.0), { readAloudEntry("three", 0.2, 0.6) }, 300) },
        m_recorder, m_book, false);
    sync->start();
    std::vector<std::pair<int, double>> marks;
    while (m_recorder->ends == 0 && elapsed() < 5) {
        const size_t before = m_recorder->words.size();
        base::RunLoop::main().advanceBy(0.05);
        for (size_t i = before; i < m_recorder->words.size(); ++i)
            marks.emplace_back(m_recorder->words[i], std::round(elapsed() * 20) / 20);
    }
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0].first, 100);
    EXPECT_EQ(marks[2].first, 300);
    EXPECT_NEAR(marks[1].second, 0.5, 0.051);
    EXPECT_NEAR(marks[2].second, 1.2, 0.051);
    EXPECT_NEAR(elapsed(), 2.0, 0.051) << "the page ends with the second file";
}

TEST_F(ReadAloudSync, NarrationWithoutItsAudioIsSpokenWordByWord)
{
    auto sync = AudioSyncController::create(
        { link("media/missing.mp3",
            { readAloudEntry("Rain", 0, 0.3), readAloudEntry("falls.", 0.3, 0.6), readAloudEntry("Then", 0.6, 0.8),
                readAloudEntry("snow.", 0.8, 1.0) }) },
        m_recorder, m_book, false);
    sync->start();
    EXPECT_EQ(sync->narrationKind(), NarrationPlayback::Kind::Speech);
    EXPECT_FALSE(sync->audioPlayer());
    mediatest::settle();
    base::RunLoop::main().advanceBy(10);
    std::vector<int> expected;
    for (const auto& word : sync->words())
        expected.push_back(int(word.frame.origin.x));
    EXPECT_EQ(m_recorder->words, expected) << "every word, in order, from the voice's word callbacks";
    EXPECT_EQ(std::count(m_recorder->events.begin(), m_recorder->events.end(), "sentence 2"), 2);
    EXPECT_EQ(m_recorder->events.back(), "done 12");
    EXPECT_EQ(m_recorder->ends, 1);

    // A word tap speaks again from that word.
    m_recorder->words.clear();
    sync->start();
    mediatest::settle();
    sync->playAudioFromWordRect(sync->words()[2].frame, "Then");
    mediatest::settle();
    base::RunLoop::main().advanceBy(10);
    ASSERT_FALSE(m_recorder->words.empty());
    EXPECT_EQ(m_recorder->words.back(), expected.back());
    EXPECT_LE(m_recorder->words.size(), 3u) << "the first word, perhaps, then only from \"Then\" on";
}

TEST_F(ReadAloudSync, AFileThatIsNoSoundIsSpokenInstead)
{
    std::filesystem::copy_file(std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook/assets/pages/page-101.png",
        m_folder.path() + "/picture.png");
    m_folder.write("notes.mp3", "not a sound at all");
    for (const char* url : { "picture.png", "notes.mp3", "media/" }) {
        auto sync = AudioSyncController::create({ link(url, { readAloudEntry("Rain", 0, 0.3) }) }, m_recorder, m_book, false);
        sync->start();
        EXPECT_EQ(sync->narrationKind(), NarrationPlayback::Kind::Speech) << url;
        sync->stop();
    }
}

TEST_F(ReadAloudSync, WordIdsWithoutTextFollowTheirTimingsAndStopCancels)
{
    base::Value::List chapter;
    chapter.push_back(base::Value::Dictionary { { "wordId", "w1" }, { "start", 0.0 }, { "end", 1.0 } });
    chapter.push_back(base::Value::Dictionary { { "wordId", "w2" }, { "start", 5.0 }, { "end", 6.0 } });
    auto sync = AudioSyncController::create(base::Value(chapter), m_recorder, nullptr, "ch.xhtml", false);
    sync->start();
    EXPECT_EQ(sync->narrationKind(), NarrationPlayback::Kind::Timings);
    base::RunLoop::main().runUntilIdle();
    sync->playAudioFromWordId("w2");
    sync->playAudioFromWordId("missing");
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_recorder->events, (std::vector<std::string> { "id w1 ch.xhtml", "id w2 ch.xhtml" }));
    sync->stop();
    base::RunLoop::main().advanceBy(10);
    EXPECT_EQ(m_recorder->events.size(), 2u);
    sync->changeAudioPlayingSpeed(0.0f);
    EXPECT_FLOAT_EQ(sync->rate(), 1.0f) << "a rate of zero keeps the rate";
}

TEST_F(ReadAloudSync, AChaptersClipsPlayFromTheFilesTheyNameInTurn)
{
    // As a media overlay gives them: clip times are positions in the clip's file, the file a
    // percent-encoded book-relative address.
    audio("a.wav", 1.0);
    audio("b part.wav", 1.0);
    base::Value::List chapter;
    chapter.push_back(base::Value::Dictionary { { "wordId", "w1" }, { "start", 0.0 }, { "end", 0.3 }, { "audio", "a.wav" } });
    chapter.push_back(base::Value::Dictionary { { "wordId", "w2" }, { "start", 0.5 }, { "end", 0.8 }, { "audio", "a.wav" } });
    chapter.push_back(
        base::Value::Dictionary { { "wordId", "w3" }, { "start", 0.2 }, { "end", 0.6 }, { "audio", "b%20part.wav" } });
    auto sync = AudioSyncController::create(base::Value(chapter), m_recorder, m_book, "ch.xhtml", false);
    sync->start();
    EXPECT_EQ(sync->narrationKind(), NarrationPlayback::Kind::Audio);
    std::vector<std::pair<std::string, double>> marks;
    while (m_recorder->ends == 0 && elapsed() < 5) {
        const size_t before = m_recorder->events.size();
        base::RunLoop::main().advanceBy(0.05);
        for (size_t i = before; i < m_recorder->events.size(); ++i)
            marks.emplace_back(m_recorder->events[i], std::round(elapsed() * 20) / 20);
    }
    ASSERT_EQ(marks.size(), 4u);
    EXPECT_EQ(marks[0].first, "id w1 ch.xhtml");
    EXPECT_EQ(marks[1].first, "id w2 ch.xhtml");
    EXPECT_NEAR(marks[1].second, 0.5, 0.051);
    EXPECT_EQ(marks[2].first, "id w3 ch.xhtml");
    EXPECT_NEAR(marks[2].second, 1.2, 0.051) << "the second file starts when the first has played";
    EXPECT_EQ(marks[3].first, "done ch.xhtml");
    EXPECT_NEAR(marks[3].second, 2.0, 0.051);

    // A clip naming a file outside the book is not played from it.
    chapter[0] = base::Value::Dictionary { { "wordId", "w1" }, { "start", 0.0 }, { "end", 0.3 }, { "audio", "../a.wav" } };
    auto outside = AudioSyncController::create(base::Value(chapter), m_recorder, m_book, "ch.xhtml", false);
    outside->start();
    EXPECT_NE(outside->narrationKind(), NarrationPlayback::Kind::Audio);
    outside->stop();
}

TEST_F(ReadAloudSync, AStartBeginsAtTheWordChosenBeforeIt)
{
    // The reader picks the first word on screen, then starts: narration must begin there.
    base::Value::List chapter;
    for (int i = 1; i <= 5; ++i)
        chapter.push_back(base::Value::Dictionary {
            { "wordId", "w" + std::to_string(i) }, { "start", double(i - 1) }, { "end", double(i) } });
    struct Case {
        const char* name;
        std::function<void(AudioSyncController&)> before;
        const char* firstWord;
    };
    const Case cases[] = {
        { "a known word", [](AudioSyncController& sync) { sync.playAudioFromWordId("w3"); }, "id w3 ch" },
        { "an unknown word", [](AudioSyncController& sync) { sync.playAudioFromWordId("w9"); }, "id w1 ch" },
        { "a word chosen, then a stop",
            [](AudioSyncController& sync) {
                sync.playAudioFromWordId("w4");
                sync.stop();
            },
            "id w1 ch" },
        { "nothing chosen", [](AudioSyncController&) {}, "id w1 ch" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_recorder->events.clear();
        auto sync = AudioSyncController::create(base::Value(chapter), m_recorder, nullptr, "ch", false);
        c.before(*sync);
        sync->start();
        base::RunLoop::main().runUntilIdle();
        ASSERT_FALSE(m_recorder->events.empty());
        EXPECT_EQ(m_recorder->events.front(), c.firstWord);
        sync->stop();
    }

    // On a page whose links have their own files, the chosen word's file is the one played.
    auto sync = AudioSyncController::create(
        { link(audio("a.wav", 1.0), { readAloudEntry("one", 0, 0.3) }, 100),
            link(audio("b.wav", 1.0), { readAloudEntry("two", 0, 0.3), readAloudEntry("three", 0.5, 0.8) },
                300) },
        m_recorder, m_book, false);
    m_recorder->words.clear();
    sync->playAudioFromWordRect(sync->words()[2].frame, "three");
    sync->start();
    base::RunLoop::main().advanceBy(0.3);
    ASSERT_FALSE(m_recorder->words.empty());
    EXPECT_EQ(m_recorder->words.front(), int(sync->words()[2].frame.origin.x));
    EXPECT_NEAR(sync->position(), 0.8, 1e-9) << "b.wav from the chosen word's start";
}

TEST_F(ReadAloudSync, ReleasingTheControllerFromItsEndReportIsSafe)
{
    class Releaser : public AudioSyncControllerDelegate {
    public:
        std::shared_ptr<AudioSyncController> held;
        int ends = 0;
        void audioSyncdidCompleteForPageIdentifier(const std::string&) override
        {
            ++ends;
            held.reset();
        }
    };
    for (const std::string& url : { audio("short.wav", 0.2), std::string() }) {
        auto releaser = std::make_shared<Releaser>();
        releaser->held = AudioSyncController::create({ link(url, { readAloudEntry("", 0, 0.1) }) }, releaser, m_book, false);
        releaser->held->start();
        base::RunLoop::main().advanceBy(1);
        EXPECT_EQ(releaser->ends, 1) << url;
        EXPECT_FALSE(releaser->held) << url;
    }
}

TEST(ReadAloudAudioPath, OnlyFilesInsideTheBookFolderOnceLinksAreFollowed)
{
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "lectoro-narration-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path scratch = fs::canonical(pattern);
    fs::create_directories(scratch / "b1/assets/media");
    fs::create_directories(scratch / "elsewhere");
    std::ofstream(scratch / "elsewhere/secret.mp3") << "secret";
    // A link inside the book that leads out of it.
    fs::create_symlink(scratch / "elsewhere/secret.mp3", scratch / "b1/assets/media/linked.mp3");
    PXBookVO book;
    book.absolutePath = (scratch / "b1").string();
    const std::string folder = book.absolutePath;
    struct Case {
        const char* url;
        std::string path;
    };
    const Case cases[] = {
        { "assets/media/rain.mp3", folder + "/assets/media/rain.mp3" },
        { " audio/a%20b.mp3 ", folder + "/audio/a b.mp3" },
        { "", "" },
        { "/etc/passwd", "" },
        { "../other/rain.mp3", "" },
        { "media/%2E%2E/%2E%2E/x.mp3", "" },
        { "media\\rain.mp3", "" },
        { "https://example.org/rain.mp3", "" },
        { "file:///etc/passwd", "" },
        { "assets/media/linked.mp3", "" },
    };
    for (const auto& c : cases) {
        PXLinkVO link;
        link.url = c.url;
        EXPECT_EQ(AudioSyncController::audioPathForLink(link, &book), c.path) << c.url;
    }
    PXLinkVO link;
    link.url = "rain.mp3";
    EXPECT_EQ(AudioSyncController::audioPathForLink(link, nullptr), "") << "no book, no folder";
    fs::remove_all(scratch);
}

TEST(ReadAloudSpeechRate, TheSpeedScalesTheVoicesNaturalPace)
{
    const std::pair<float, float> rates[] = { { 0.5f, 0.25f }, { 1.0f, 0.5f }, { 1.5f, 0.75f }, { 2.0f, 1.0f },
        { 4.0f, 1.0f }, { 0.0f, 0.5f } };
    for (const auto& [speed, rate] : rates)
        EXPECT_FLOAT_EQ(narrationSpeechRate(speed), rate) << speed;
}

} // namespace
} // namespace lectoro
