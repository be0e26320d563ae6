#include "media/MediaBookTestSupport.h"

#include "platform/ui/AlertController.h"

using namespace mediatest;
using namespace lectoro;

TEST_F(MediaTest, StreamedBookLoadsFromTheAddressTheServiceGives)
{
    launchStream(9101);
    ASSERT_EQ(hlsRequests().size(), 1u);
    EXPECT_TRUE(answerHLS(9101, mediaFolder("sample-audiobook")));
    advance(0.1);
    auto reader = m_controller->mediaReader();
    ASSERT_TRUE(reader->mediaBookModel()->chapters);
    EXPECT_EQ(reader->mediaBookIDsHLSData().at("9101"), mediaSample("sample-audiobook"));
    // Open tracking waits for the address.
    EXPECT_EQ(eventsNamed("BookOpen").size(), 1u);
    advance(2.0);
    EXPECT_TRUE(reader->mediaBookModel()->currentChapter);
}

TEST_F(MediaTest, LateAddressForAnEarlierBookIsNotLoaded)
{
    launchStream(9102);
    launchStream(9101);
    auto reader = m_controller->mediaReader();
    ASSERT_EQ(reader->mediaBookModel()->mediaBookId, "9101");
    EXPECT_TRUE(answerHLS(9102, mediaFolder("sample-videobook")));
    advance(1.5);
    // Only the caches learn of it; the open book's model is untouched.
    EXPECT_EQ(reader->mediaBookIDsHLSData().count("9102"), 1u);
    EXPECT_FALSE(reader->mediaBookModel()->chapters);
    EXPECT_EQ(reader->mediaBookModel()->mediaBookPath, "");
    EXPECT_TRUE(eventsNamed("BookOpen").empty());

    EXPECT_TRUE(answerHLS(9101, mediaFolder("sample-audiobook")));
    advance(0.1);
    EXPECT_EQ(reader->mediaBookModel()->mediaBookPath, mediaSample("sample-audiobook"));
    EXPECT_TRUE(m_host->hlsFailures.empty()) << m_host->lastHLSError;
    EXPECT_TRUE(reader->mediaBookModel()->chapters);
    EXPECT_EQ(eventsNamed("BookOpen").size(), 1u);

    // Going back to the first book plays its cached address without asking again.
    size_t asked = hlsRequests().size();
    launchStream(9102);
    EXPECT_EQ(hlsRequests().size(), asked);
    EXPECT_EQ(reader->mediaBookModel()->mediaBookPath, mediaSample("sample-videobook"));
}

TEST_F(MediaTest, NeighboursAreFetchedOnceSkippingTheOpenAndCachedBooks)
{
    launchStream(42);
    EXPECT_TRUE(answerHLS(42, mediaFolder("sample-audiobook")));
    advance(0.1);
    m_controller->enabledNextPreviousFeature(true);
    m_controller->setNextPreviousMediaArray({ 41, 42, 43 });
    size_t before = hlsRequests().size();
    launchStream(41);
    auto requests = hlsRequests();
    // The launch of 41 itself and the prefetch of 43.
    ASSERT_EQ(requests.size() - before, 2u);
    EXPECT_EQ(requests.back().body["bookID"].asInteger(), 43);
    EXPECT_TRUE(m_controller->mediaReader()->mediaDataLoaded());
    launchStream(41);
    EXPECT_EQ(hlsRequests().size() - before, 3u);
}

TEST_F(MediaTest, ContentServerFlagIsOffOnlyForAnExactNO)
{
    struct Case {
        const char* value;
        bool flag;
    };
    for (auto [value, flag] : { Case { "no", true }, Case { "NO", false }, Case { "YES", true } }) {
        SCOPED_TRACE(value);
        base::Value::Dictionary info;
        info.set("isLectoroContentServer", value);
        launchStream(7000, base::Value(std::move(info)));
        EXPECT_EQ(hlsRequests().back().body["isLectoroContentServer"].asBool(), flag);
    }
}

TEST_F(MediaTest, ExpiredStreamRefreshesTheTokenOnceAndRepeatsOnce)
{
    m_settings->setIsAutoLoginEnabled(true);
    m_host->refreshedUser = LectoroUser::create();
    m_host->refreshedUser->userID = "501";
    m_host->refreshedUser->userToken = "token-2";
    launchStream(9101);
    EXPECT_TRUE(answerHLS(9101, companion::ServiceAnswer::unauthorized()));
    advance(0.1);
    EXPECT_EQ(m_host->refreshes, 1);
    auto requests = hlsRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests.back().userToken, "token-2");

    // Still refused: no second refresh, and the host hears of both failures.
    EXPECT_TRUE(answerHLS(9101, companion::ServiceAnswer::expiredToken()));
    advance(0.1);
    EXPECT_EQ(m_host->refreshes, 1);
    EXPECT_EQ(hlsRequests().size(), 2u);
    EXPECT_EQ(m_host->hlsFailures, (std::vector<std::string> { "9101", "9101" }));
}

TEST_F(MediaTest, NeighbourFailuresAreSilent)
{
    m_controller->enabledNextPreviousFeature(true);
    m_controller->setNextPreviousMediaArray({ 9101, 9200 });
    launchStream(9101);
    EXPECT_TRUE(answerHLS(9200, companion::ServiceAnswer::unauthorized()));
    advance(0.1);
    EXPECT_TRUE(m_host->hlsFailures.empty()) << m_host->lastHLSError;
    EXPECT_EQ(m_host->refreshes, 0);
}

TEST_F(MediaTest, SessionExpiredAlertEndsTheSessionAndItsTimer)
{
    launchStream(9101);
    EXPECT_TRUE(answerHLS(9101, mediaFolder("sample-audiobook")));
    advance(1.0);
    auto reader = m_controller->mediaReader();
    m_controller->didMediaPlaybackStateChange("Playing");
    ASSERT_TRUE(m_controller->isAnalyticsTimerRunning());
    // A later address request of the same book finds the session expired.
    reader->loadHLSMediaBookPath({ m_user, "https://lectoro.invalid", std::string("https://ms.lectoro.invalid"), "client", 9101, 1, false }, true);
    EXPECT_TRUE(answerHLS(9101, companion::ServiceAnswer::expiredToken()));
    advance(0.1);
    auto alert = std::dynamic_pointer_cast<ui::AlertController>(reader->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(m_host->refreshes, 0);
    EXPECT_TRUE(alert->tapActionAtIndex(0));
    advance(0.5);
    EXPECT_EQ(m_host->expired, 1);
    EXPECT_FALSE(m_controller->isAnalyticsTimerRunning());
    EXPECT_FALSE(m_controller->mediaReader());
    EXPECT_FALSE(reader->isSchedulerRunning());
    size_t ticks = m_host->lastAccessed.size();
    advance(20.0);
    EXPECT_EQ(m_host->lastAccessed.size(), ticks);
}
