#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"

#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"

#include "AnalyticsTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace lectoro {
namespace {

using Type = MVLectoroAnalyticsHandler::MVAnalyticsEventType;

class AnalyticsHandlerTests : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_manager = std::make_shared<testing::RecordingAnalyticsManager>();
        AnalyticsManager::setInstance(m_manager);
    }
    void TearDown() override { AnalyticsManager::setInstance(nullptr); }

    static std::vector<std::string> keysOf(const base::Value& payload)
    {
        std::vector<std::string> keys;
        for (const auto& [key, value] : *payload.asDictionary())
            keys.push_back(key);
        return keys;
    }

    std::shared_ptr<testing::RecordingAnalyticsManager> m_manager;
};

TEST_F(AnalyticsHandlerTests, EventNames)
{
    struct Case {
        uint64_t raw;
        const char* name;
    };
    const Case cases[] = { { 0, "PageTracking" }, { 3, "NormHighlightCreated" }, { 9, "BookClose" },
        { 10, "BookOpen" }, { 13, "ImpHighlightShared" }, { 14, "NormalHighlightShared" }, { 15, "LinkOpen" },
        { 16, "" }, { 1000, "" } };
    for (const auto& c : cases)
        EXPECT_EQ(MVLectoroAnalyticsHandler::analyticsEventNameForType(c.raw), c.name) << c.raw;
    EXPECT_TRUE(MVLectoroAnalyticsHandler::eventTypeFromRawValue(15).has_value());
    EXPECT_FALSE(MVLectoroAnalyticsHandler::eventTypeFromRawValue(16).has_value());
    EXPECT_FALSE(MVLectoroAnalyticsHandler::eventTypeFromRawValue(-1).has_value());

    EXPECT_STREQ(LectoroReaderEventConstant::highlightEventParameterNoteColor(), "note_color");
    EXPECT_STREQ(LectoroReaderEventConstant::stickyNoteEventParameterNoteColor(), "note_color");
    EXPECT_STREQ(LectoroReaderEventConstant::contextualNoteEventParameterNoteColor(), "note_color");
    EXPECT_STREQ(LectoroReaderEventConstant::markupEventJumpToBookParameterValue(), "Goto/Jump to Book");
}

TEST_F(AnalyticsHandlerTests, Payloads)
{
    MVLectoroAnalyticsHandler handler;
    const auto& session = handler.readerSessionId();
    EXPECT_EQ(session.size(), 36u);

    auto open = handler.payloadFor(Type::BookOpen,
        MVLectoroAnalyticsMetaData::bookOpen("42", "2023-11-14 22:13:20", std::nullopt, std::nullopt, "42"));
    EXPECT_EQ(keysOf(open),
        (std::vector<std::string> { "bookID", "bookOpenTimeStamp", "suspendData", "ReaderSeatingID" }));
    EXPECT_EQ(open["suspendData"].asString(), "0");

    auto page = handler.payloadFor(Type::PageTracking,
        MVLectoroAnalyticsMetaData::pageTracking(
            std::nullopt, std::string("7"), std::string("3"), std::nullopt, std::nullopt, std::nullopt));
    EXPECT_EQ(keysOf(page), (std::vector<std::string> { "pageID", "TimeSpend", "ReaderSeatingID" }));
    EXPECT_EQ(page["ReaderSeatingID"].asString(), session);

    auto full = handler.payloadFor(
        Type::PageTracking, MVLectoroAnalyticsMetaData::pageTracking("cfi", "7", "3", "2", "Rivers", "u"));
    EXPECT_EQ(keysOf(full),
        (std::vector<std::string> {
            "cfID", "pageID", "chapterID", "chapterName", "TimeSpend", "ReaderSeatingID" }));

    auto close = handler.payloadFor(Type::BookClose, MVLectoroAnalyticsMetaData::bookClose("t", "12", "42"));
    EXPECT_EQ(keysOf(close), (std::vector<std::string> { "AccessTime", "LastPageFolio", "ReaderSeatingID" }));

    auto note
        = handler.payloadFor(Type::NoteCreated, MVLectoroAnalyticsMetaData::ugcTracking("iv", "local-1"));
    EXPECT_EQ(keysOf(note), (std::vector<std::string> { "pageID", "ReaderSeatingID" }));

    auto noLink
        = handler.payloadFor(Type::LinkOpen, MVLectoroAnalyticsMetaData::resourceTracking(std::nullopt, "5"));
    EXPECT_EQ(keysOf(noLink), (std::vector<std::string> { "ReaderSeatingID" }));
    base::Value::Dictionary resource;
    resource.set("title", "Map");
    resource.set("type", "Online");
    auto link = handler.payloadFor(
        Type::LinkOpen, MVLectoroAnalyticsMetaData::resourceTracking(base::Value(resource), "5"));
    EXPECT_EQ(keysOf(link), (std::vector<std::string> { "title", "type", "ReaderSeatingID" }));
}

TEST_F(AnalyticsHandlerTests, TrackingGoesToTheManager)
{
    MVLectoroAnalyticsHandler handler;
    handler.trackEvent(Type::NoteCreated, MVLectoroAnalyticsMetaData::ugcTracking("1", std::nullopt));
    handler.trackEvent(Type::NoteCreated, MVLectoroAnalyticsMetaData::ugcTracking("1", std::nullopt));
    handler.trackEvent(Type::BookOpen,
        MVLectoroAnalyticsMetaData::bookOpen("42", std::nullopt, std::nullopt, std::nullopt, "42"));
    ASSERT_EQ(m_manager->tracked.size(), 3u);
    EXPECT_EQ(m_manager->tracked[0].name, "NoteCreated");
    // No unique id given: a fresh one each time; given: that one.
    EXPECT_NE(m_manager->tracked[0].uniqueID, m_manager->tracked[1].uniqueID);
    EXPECT_EQ(m_manager->tracked[2].uniqueID, "42");
    std::set<std::string> sessions;
    for (const auto& event : m_manager->tracked)
        sessions.insert(*event.info["ReaderSeatingID"].asString());
    EXPECT_EQ(sessions.size(), 1u);

    // Another handler is another visit.
    MVLectoroAnalyticsHandler next;
    EXPECT_NE(next.readerSessionId(), handler.readerSessionId());

    handler.notifyEvent(std::string(LectoroReaderEventConstant::tocEventName()));
    ASSERT_EQ(m_manager->live.size(), 1u);
    EXPECT_EQ(m_manager->live[0].name, "toc_icon_use_live");
    EXPECT_FALSE(handler.getTrackingJSON().empty());
}

TEST_F(AnalyticsHandlerTests, WithoutAManagerEventsAreDropped)
{
    AnalyticsManager::setInstance(nullptr);
    lectoro::setCompanionFramework(nullptr);
    MVLectoroAnalyticsHandler handler;
    handler.trackEvent(Type::BookOpen,
        MVLectoroAnalyticsMetaData::bookOpen("1", std::nullopt, std::nullopt, std::nullopt, "1"));
    handler.notifyEvent(std::nullopt);
    EXPECT_EQ(handler.getTrackingJSON(), "");
    EXPECT_TRUE(m_manager->tracked.empty());
}

} // namespace
} // namespace lectoro
