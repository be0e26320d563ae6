// The pop-up's size, the events a finished highlight sends and the colour migration.

#include "LectoroSDKWithReader/annotations/HighlightRules.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/ui/Environment.h"

#include <gtest/gtest.h>

namespace lectoro {
namespace {

using Event = MVLectoroAnalyticsHandler::MVAnalyticsEventType;

TEST(HighlightPopupGeometryTests, FollowsDeviceOrientationAndSwitches)
{
    struct Case {
        const char* name;
        ui::UserInterfaceIdiom idiom;
        double screenWidth;
        ui::Orientation device;
        HighlightToolSwitches switches;
        int items;
        double width;
        double widthAfterTools;
        double height;
    };
    const HighlightToolSwitches off {};
    const HighlightToolSwitches notes { true, false, false, false };
    const HighlightToolSwitches all { true, true, true, true };
    const Case cases[] = {
        { "phone 375, all off", ui::UserInterfaceIdiom::Phone, 375, ui::Orientation::Portrait, off, 6, 365, 276, 44 },
        { "phone 320, all off", ui::UserInterfaceIdiom::Phone, 320, ui::Orientation::Portrait, off, 6, 310, 240, 44 },
        { "phone landscape, notes", ui::UserInterfaceIdiom::Phone, 667, ui::Orientation::LandscapeLeft, notes, 7, 399, 399,
            44 },
        { "pad, all on", ui::UserInterfaceIdiom::Pad, 768, ui::Orientation::Portrait, all, 10, 560, 560, 54 },
        { "pad, all off", ui::UserInterfaceIdiom::Pad, 768, ui::Orientation::Portrait, off, 6, 336, 336, 54 },
    };
    for (const auto& c : cases) {
        ui::EnvironmentScope scope;
        auto& environment = ui::Environment::current();
        environment.setIdiom(c.idiom);
        environment.setScreenSize({ c.screenWidth, 800 });
        environment.setDeviceOrientation(c.device);
        auto geometry = highlightPopupGeometry(c.switches);
        EXPECT_EQ(geometry.itemCount, c.items) << c.name;
        EXPECT_DOUBLE_EQ(geometry.frame.size.width, c.width) << c.name;
        EXPECT_DOUBLE_EQ(geometry.frameAfterTools.size.width, c.widthAfterTools) << c.name;
        EXPECT_EQ(geometry.frame.size.height, c.height) << c.name;
        EXPECT_EQ(geometry.frame.origin, ui::Point(5, 0)) << c.name;
    }
}

std::shared_ptr<SDKHighlightVO> highlight(std::string localID, std::string text, std::string note = {},
    std::string ugcID = UGCNotUploadedID, int16_t status = UGCStatusNew, bool important = false)
{
    auto record = std::make_shared<SDKHighlightVO>();
    record->localID = std::move(localID);
    record->text = std::move(text);
    record->noteText = std::move(note);
    record->ugcID = std::move(ugcID);
    record->status = status;
    record->isImportant = important;
    return record;
}

TEST(HighlightEventTests, EachKindOfChangeSendsItsEvents)
{
    SDKBookClassInfoVO sharing;
    sharing.shareList = base::Value::List { base::Value(int64_t { 9 }) };
    struct Case {
        const char* name;
        std::shared_ptr<SDKHighlightVO> record;
        std::vector<std::shared_ptr<SDKHighlightVO>> stored;
        const SDKBookClassInfoVO* firstClass;
        std::vector<Event> events;
    };
    const Case cases[] = {
        { "plain highlight gains a note", highlight("1", "words", "note"), { highlight("1", "words") }, nullptr,
            { Event::NormHighlightDeleted, Event::NoteCreated } },
        { "uploaded plain highlight gains a note", highlight("1", "words", "note", "77"), { highlight("1", "words") },
            nullptr, { Event::NormHighlightDeleted, Event::NoteCreated } },
        { "uploaded highlight changes colour", highlight("1", "words", "", "77", UGCStatusUpdated),
            { highlight("1", "words") }, nullptr, {} },
        { "note deleted", highlight("1", "words", "note", "77", UGCStatusDeleted), {}, nullptr, { Event::NoteDeleted } },
        { "important highlight deleted", highlight("1", "words", "", "-1", UGCStatusDeleted, true), {}, nullptr,
            { Event::ImpHighlightDeleted } },
        { "plain highlight deleted", highlight("1", "words", "", "-1", UGCStatusDeleted), {}, nullptr,
            { Event::NormHighlightDeleted } },
        { "new highlight in a sharing class", highlight("2", "words"), { highlight("1", "other") }, &sharing,
            { Event::NormHighlightCreated, Event::NormalHighlightShared } },
        { "new note", highlight("2", "words", "note"), {}, nullptr, { Event::NoteCreated } },
        { "stored highlight changed before upload", highlight("1", "words"), { highlight("1", "words") }, nullptr, {} },
        { "sticky note changed before upload", highlight("1", "", "note"), { highlight("1", "", "note") }, nullptr, {} },
    };
    for (const auto& c : cases)
        EXPECT_EQ(highlightEventsFor(*c.record, c.stored, c.firstClass), c.events) << c.name;
}

TEST(HighlightColourMigrationTests, MovesUnofferedColoursAndLeavesTheRest)
{
    auto important = highlight("1", "a", "", "-1", UGCStatusNew, true);
    important->backgroundColor = "#Z";
    auto plain = highlight("2", "b");
    plain->backgroundColor = "#Y";
    auto offered = highlight("3", "c");
    offered->backgroundColor = "#B";
    auto review = highlight("4", "d");
    review->backgroundColor = "#Q";
    review->isTeacherReviewNote = true;

    auto changed = migrateHighlightColors({ important, plain, offered, review }, { "#A", "#B" });
    ASSERT_EQ(changed.size(), 2u);
    EXPECT_EQ(changed[0]->localID, important->localID);
    EXPECT_EQ(changed[0]->backgroundColor, "#B");
    EXPECT_FALSE(changed[0]->isImportant);
    EXPECT_EQ(changed[0]->status, UGCStatusUpdated);
    EXPECT_EQ(changed[1]->localID, plain->localID);
    EXPECT_EQ(changed[1]->backgroundColor, "#A");
    EXPECT_EQ(changed[1]->status, UGCStatusUpdated);
    // The records read are the store's shared list: they stay as they were.
    EXPECT_EQ(important->backgroundColor, "#Z");
    EXPECT_TRUE(important->isImportant);
    EXPECT_EQ(plain->status, UGCStatusNew);
    EXPECT_EQ(offered->status, UGCStatusNew);
    EXPECT_EQ(review->backgroundColor, "#Q");
}

TEST(HighlightColourMigrationTests, AListTooShortLeavesTheRecordAlone)
{
    auto important = highlight("1", "a", "", "-1", UGCStatusNew, true);
    important->backgroundColor = "#Z";
    auto plain = highlight("2", "b");
    plain->backgroundColor = "#Y";
    EXPECT_TRUE(migrateHighlightColors({ important, plain }, {}).empty());
    auto changed = migrateHighlightColors({ important, plain }, { "#A" });
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0]->localID, plain->localID);
    EXPECT_EQ(changed[0]->backgroundColor, "#A");
    EXPECT_EQ(important->backgroundColor, "#Z");
    EXPECT_TRUE(important->isImportant);
}

} // namespace
} // namespace lectoro
