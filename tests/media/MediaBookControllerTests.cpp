#include "media/MediaBookTestSupport.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPlayerViews.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookTOCController.h"
#include "platform/base/Json.h"

using namespace mediatest;
using namespace lectoro;

namespace {

std::string folioChapter(const std::string& folio)
{
    auto parsed = base::parseJson(folio);
    return parsed.ok() ? parsed.value()["chapterName"].asString().value_or("") : "";
}

} // namespace

TEST_F(MediaTest, SampleAudioBookPlaysIntoItsSecondChapterAndReportsIt)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Phone);
    launchSample("sample-audiobook", true);
    auto reader = m_controller->mediaReader();
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->currentMediaBookType(), MediaBookType::audio);
    m_controller->beginAppearanceTransition(true, false);
    m_controller->endAppearanceTransition();
    // A second appearance keeps the screen it built.
    auto player = reader->mediaBookPlayer();
    auto audioView = reader->audioPlayerVC();
    ASSERT_TRUE(player);
    ASSERT_TRUE(audioView);
    reader->viewDidAppear(false);
    EXPECT_EQ(reader->mediaBookPlayer(), player);
    EXPECT_EQ(reader->audioPlayerVC(), audioView);
    EXPECT_TRUE(reader->tocController());
    EXPECT_TRUE(reader->playerTopBar());

    advance(0.5);
    EXPECT_TRUE(m_controller->isMediaLoaded());
    advance(1.0);
    ASSERT_TRUE(reader->mediaBookModel()->chapters);
    EXPECT_EQ(reader->mediaBookModel()->currentChapter, reader->mediaBookModel()->chapters->front());
    EXPECT_EQ(reader->getMetaData()["chapterName"].asString(), "The Lighthouse");
    EXPECT_TRUE(m_controller->isAnalyticsTimerRunning());

    auto first = reader->mediaBookModel()->currentChapter;
    for (int second = 0; second < 10 && reader->mediaBookModel()->currentChapter == first; ++second)
        advance(1.0);
    EXPECT_EQ(reader->getMetaData()["chapterName"].asString(), "The Storm");
    EXPECT_EQ(reader->getMetaData()["fileName"].asString(), "chapter-2.m4a");
    EXPECT_EQ(reader->mediaBookModel()->mediaCurrentState, CurrentState::Playing);

    // The analytics tick hands the host the position as JSON text.
    m_controller->analyticsScheduledTimerTriggered();
    ASSERT_EQ(m_host->lastAccessed.size(), 1u);
    EXPECT_EQ(m_host->lastAccessed[0].first, "9101");
    EXPECT_EQ(folioChapter(m_host->lastAccessed[0].second), "The Storm");
    EXPECT_EQ(m_controller->lastPageFolio(), m_host->lastAccessed[0].second);
    EXPECT_TRUE(reader->isSchedulerRunning());
}

TEST_F(MediaTest, SampleVideoBookBuildsItsVideoScreen)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    m_controller->view()->setFrame(ui::Rect(0, 0, 1024, 768));
    launchSample("sample-videobook", false, 9102);
    m_controller->beginAppearanceTransition(true, false);
    m_controller->endAppearanceTransition();
    auto reader = m_controller->mediaReader();
    ASSERT_TRUE(reader->videoPlayerView());
    EXPECT_FALSE(reader->audioPlayerVC());
    EXPECT_EQ(reader->videoPlayerView()->view()->frame(), ui::Rect(0, 70, 0.6 * 1024, 384));
    EXPECT_EQ(reader->tocController()->view()->frame(), ui::Rect(0.6 * 1024, 70, 0.4 * 1024, 698));
    advance(2.0);
    ASSERT_TRUE(reader->mediaBookModel()->currentChapter);
    EXPECT_EQ(reader->mediaBookModel()->mediaCurrentState, CurrentState::Playing);
}

TEST_F(MediaTest, StoredPositionStartsTheNamedChapter)
{
    m_controller->setLastPageFolio(
        std::string(R"({"FileName":"chapter-2.m4a","chapterName":"The Storm","CurrentTime":1})"));
    launchSample("sample-audiobook", true);
    advance(0.5);
    auto model = m_controller->mediaReader()->mediaBookModel();
    ASSERT_TRUE(model->currentChapter);
    EXPECT_EQ(model->currentChapter->chapterTitle, "The Storm");
    EXPECT_EQ(model->currentTime, 1);
    // The 1.0 s start leaves a position that was applied.
    advance(1.0);
    EXPECT_EQ(model->currentChapter->chapterTitle, "The Storm");
}

TEST_F(MediaTest, ListeningSpansCountOnlyAfterMoreThanASecond)
{
    launchSample("sample-audiobook", true);
    // Before the start position is applied, "Playing" opens nothing.
    m_controller->didMediaPlaybackStateChange("Playing");
    EXPECT_FALSE(m_controller->hasOpenListeningSpan());
    advance(0.5);

    struct Case {
        double pausedAt;
        size_t events;
    };
    for (auto [pausedAt, events] : { Case { 1.5, 0 }, Case { 2.0, 1 } }) {
        SCOPED_TRACE(pausedAt);
        size_t before = eventsNamed("PageTracking").size();
        setNow(0.5);
        m_controller->didMediaPlaybackStateChange("Playing");
        EXPECT_TRUE(m_controller->isAnalyticsTimerRunning());
        setNow(pausedAt);
        m_controller->didMediaPlaybackStateChange("Paused");
        EXPECT_FALSE(m_controller->isAnalyticsTimerRunning());
        EXPECT_FALSE(m_controller->hasOpenListeningSpan());
        auto pages = eventsNamed("PageTracking");
        ASSERT_EQ(pages.size() - before, events);
        if (events) {
            EXPECT_EQ(pages.back().info["TimeSpend"].asString(), "1.500000");
        }
    }
}

TEST_F(MediaTest, AnalyticsTimerTicksEveryTenSecondsWhilePlaying)
{
    launchSample("sample-audiobook", true);
    advance(0.5);
    m_controller->didMediaPlaybackStateChange("Playing");
    advance(10.0);
    EXPECT_EQ(m_host->lastAccessed.size(), 1u);
    advance(10.0);
    EXPECT_EQ(m_host->lastAccessed.size(), 2u);
    m_controller->didMediaPlaybackStateChange("Paused");
    advance(20.0);
    EXPECT_EQ(m_host->lastAccessed.size(), 2u);
}

TEST_F(MediaTest, BackReportsTheSpanOnceAndHandsOverThePosition)
{
    launchSample("sample-audiobook", true);
    advance(0.5);
    setNow(1.0);
    m_controller->didMediaPlaybackStateChange("Playing");
    setNow(4.0);
    auto reader = m_controller->mediaReader();
    reader->didTapOnBack();
    EXPECT_EQ(eventsNamed("PageTracking").size(), 1u);
    EXPECT_FALSE(m_controller->isAnalyticsTimerRunning());
    EXPECT_FALSE(m_controller->hasOpenListeningSpan());
    EXPECT_FALSE(m_controller->mediaReader());
    EXPECT_FALSE(reader->isSchedulerRunning());
    ASSERT_EQ(m_host->backs.size(), 1u);
    EXPECT_EQ(m_host->backs[0].first, "9101");
    // A later pause has no span left to count again.
    setNow(9.0);
    m_controller->didMediaPlaybackStateChange("Paused");
    EXPECT_EQ(eventsNamed("PageTracking").size(), 1u);
}

TEST_F(MediaTest, NextPreviousAndTheEndOfTheBookGoToTheHost)
{
    launchSample("sample-audiobook", true);
    advance(1.6);
    auto reader = m_controller->mediaReader();
    reader->nextMediaButtonTapped();
    reader->previousMediaButtonTapped();
    m_controller->playerDidFinishPlaying();
    EXPECT_EQ(m_host->nexts.size(), 2u);
    EXPECT_EQ(m_host->previous.size(), 1u);
    EXPECT_EQ(folioChapter(m_host->nexts[0].second), "The Lighthouse");
    // The player stays: the host decides what opens next.
    EXPECT_EQ(m_controller->mediaReader(), reader);
}

TEST_F(MediaTest, AnEmptyPositionKeepsTheLastPageFolio)
{
    launchSample("sample-audiobook", true);
    advance(1.6);
    m_controller->analyticsScheduledTimerTriggered();
    ASSERT_EQ(m_host->lastAccessed.size(), 1u);
    auto known = m_host->lastAccessed[0].second;
    EXPECT_EQ(folioChapter(known), "The Lighthouse");

    // No position: past the end of the time index.
    m_controller->mediaReader()->mediaBookModel()->currentTime = 9999;
    m_controller->analyticsScheduledTimerTriggered();
    EXPECT_EQ(m_host->lastAccessed.back().second, known);
    EXPECT_EQ(m_controller->lastPageFolio(), known);
}

TEST_F(MediaTest, WithoutAnyPositionTheHostGetsAnEmptyObject)
{
    launchSample("no-such-book", true);
    m_controller->analyticsScheduledTimerTriggered();
    ASSERT_EQ(m_host->lastAccessed.size(), 1u);
    EXPECT_EQ(m_host->lastAccessed[0].second, "{}");
}

TEST_F(MediaTest, BookOpenWithoutAClassSendsAnEmptyClassId)
{
    launchSample("sample-audiobook", true);
    auto opens = eventsNamed("BookOpen");
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].info["classID"].asString(), "");
    EXPECT_EQ(opens[0].info["bookID"].asString(), "9101");
}

TEST_F(MediaTest, BookmarksAreSavedDeletedAndHandedBackSorted)
{
    launchSample("sample-audiobook", true);
    auto mark = [](const std::string& title, int64_t time) {
        auto bookmark = std::make_shared<SDKBookmarkVO>();
        bookmark->title = title;
        bookmark->localID = title;
        base::Value::Dictionary meta;
        meta.set("CurrentTime", time);
        meta.set("FileName", "chapter-1.m4a");
        bookmark->metaData = base::Value(std::move(meta));
        return bookmark;
    };
    m_controller->didBookmarkCompleteWithBookmarkVO(mark("late", 4));
    m_controller->didBookmarkCompleteWithBookmarkVO(mark("early", 2));
    auto reader = m_controller->mediaReader();
    ASSERT_EQ(reader->bookmarks().size(), 2u);
    EXPECT_EQ(reader->bookmarks()[0]->title, "early");
    auto deleted = reader->bookmarks()[0];
    deleted->status = UGCStatusDeleted;
    m_controller->didBookmarkCompleteWithBookmarkVO(deleted);
    ASSERT_EQ(reader->bookmarks().size(), 1u);
    EXPECT_EQ(reader->bookmarks()[0]->title, "late");
}
