// The share-settings rules without views: the lists taken from the classes, the choices,
// Done, and what saving writes.

#include "LectoroSDKWithReader/mydata/ShareSettingsModel.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace lectoro {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

base::Value shareMember(int64_t id, const char* first)
{
    return base::Value::Dictionary { { "user",
        base::Value::Dictionary { { "id", id }, { "firstName", first }, { "lastName", "X" } } } };
}

// The signed-in user is 100; teachers 1 and learners 2, 3 unless given.
std::shared_ptr<SDKBookClassInfoVO> shareClass(const char* title, base::Value::List shareList,
    base::Value::List receiveList, std::vector<int64_t> learners = { 2, 3 }, bool teacherSharing = true,
    bool studentSharing = true)
{
    auto c = std::make_shared<SDKBookClassInfoVO>();
    c->classTitle = title;
    c->userId = 100;
    c->shareList = std::move(shareList);
    c->receiveList = std::move(receiveList);
    c->shareHighlightConfiguration = { true, teacherSharing, studentSharing };
    c->teachers = base::Value::List { shareMember(1, "Tea") };
    base::Value::List members;
    for (int64_t id : learners)
        members.push_back(shareMember(id, "Stu"));
    c->learners = std::move(members);
    return c;
}

std::vector<int64_t> ids(const base::Value& list)
{
    std::vector<int64_t> result;
    for (const auto& v : *list.asList())
        result.push_back(*v.asInteger());
    return result;
}

TEST(ShareSettingsModelTest, BookLevelListsAreTheUnionsOfEveryClass)
{
    ShareSettingsModel model(ShareSettingsTypeBookLevel, nullptr);
    model.setData({ shareClass("A", { 1, 2 }, { 4 }), shareClass("B", { 2, 3 }, { 4, 5 }) }, "role");
    EXPECT_THAT(model.highlightSharedArray(), ElementsAre(1, 2, 3));
    EXPECT_THAT(model.highlightReceivedArray(), ElementsAre(4, 5));
    EXPECT_EQ(model.classList()[1]->roleID, "role");

    model.getDataForIndex(0);
    EXPECT_EQ(model.numberOfSections(), 2);
    ASSERT_EQ(model.userArray().size(), 3u);
    // Teachers always share and receive.
    EXPECT_TRUE(model.userArray()[0]->isShared && model.userArray()[0]->isReceived);
    EXPECT_THAT(model.highlightReceivedArray(), ElementsAre(4, 5, 1));
    EXPECT_FALSE(model.isReceiveAllTicked());
    EXPECT_TRUE(model.isShareAllTicked());
    EXPECT_FALSE(model.isDoneEnabled());

    model.shareAll(false);
    EXPECT_THAT(model.highlightSharedArray(), ElementsAre(1)) << "teachers stay shared";
    EXPECT_TRUE(model.isDoneEnabled());
    model.didReceiveSettingEnabled(true, 2);
    auto saved = model.saveClassSettings();
    ASSERT_TRUE(saved);
    EXPECT_THAT(ids(saved->shareList), ElementsAre(1));
    EXPECT_THAT(ids(saved->receiveList), ElementsAre(4, 5, 1, 2));
}

TEST(ShareSettingsModelTest, AUserRecordCommitsItsChoiceAndFindsItselfInAList)
{
    LectoroSharedUserInfo user;
    user.userId = 5;
    EXPECT_FALSE(user.isShareSelected || user.isReceiveSelected || user.isShared || user.isReceived);

    user.setIsShareSelected(true);
    user.setIsReceiveSelected(true);
    EXPECT_FALSE(user.isShared) << "a choice is pending until committed";
    user.setShared();
    user.setReceived();
    EXPECT_TRUE(user.isShared && user.isReceived);
    user.deselectShare();
    user.setShared();
    EXPECT_FALSE(user.isShared);
    EXPECT_TRUE(user.isReceived);
    user.deselectReceive();
    EXPECT_TRUE(user.isReceived) << "deselecting alone commits nothing";
    user.setReceived();
    EXPECT_FALSE(user.isReceived);

    struct Case {
        const char* name;
        base::Value::List list;
        bool present;
    };
    const Case cases[] = {
        { "empty", {}, false },
        { "other ids", { 4, 6 }, false },
        { "twice", { 5, 7, 5 }, true },
        { "by value", { 5.0 }, true },
        { "text is no id", { "5" }, false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(user.checkWhetherUserIsPresentInList(c.list), c.present) << c.name;
}

TEST(ShareSettingsModelTest, SectionsFollowTheClassConfiguration)
{
    ShareSettingsModel teachersOnly(ShareSettingsTypeBookLevel, nullptr);
    teachersOnly.setData({ shareClass("A", {}, {}, { 2, 3 }, true, false) }, "");
    teachersOnly.getDataForIndex(0);
    EXPECT_EQ(teachersOnly.numberOfSections(), 1);
    ASSERT_EQ(teachersOnly.userDictionary().size(), 1u);
    EXPECT_EQ(teachersOnly.userDictionary()[0].first, "teachers");
    EXPECT_EQ(teachersOnly.userArray().size(), 1u);

    ShareSettingsModel none(ShareSettingsTypeBookLevel, nullptr);
    none.setData({ shareClass("A", {}, {}, { 2 }, false, false) }, "");
    none.getDataForIndex(0);
    EXPECT_EQ(none.numberOfSections(), 0);
    EXPECT_TRUE(none.userArray().empty());
    EXPECT_TRUE(none.isShareAllTicked() && none.isReceiveAllTicked());

    ShareSettingsModel noClass(ShareSettingsTypeBookLevel, nullptr);
    noClass.setData({}, "");
    noClass.getDataForIndex(0);
    EXPECT_EQ(noClass.numberOfSections(), 0);
}

TEST(ShareSettingsModelTest, NoteDoneFollowsTheSetThatWouldBeSaved)
{
    auto note = std::make_shared<SDKHighlightVO>();
    note->sharedUsers = base::Value::List { 2, 99 };
    ShareSettingsModel model(ShareSettingsTypeNote, note);
    model.setData({ shareClass("A", {}, {}, { 2, 3, 4 }) }, "");
    model.getDataForIndex(0);
    EXPECT_THAT(model.noteSharedArray(), ElementsAre(2)) << "99 is in no class";
    EXPECT_FALSE(model.isDoneEnabled());

    model.didShareSettingEnabled(true, 3);
    EXPECT_TRUE(model.isDoneEnabled());
    model.didShareSettingEnabled(false, 3);
    EXPECT_FALSE(model.isDoneEnabled());

    // Same count, other users: a change all the same.
    model.didShareSettingEnabled(false, 2);
    model.didShareSettingEnabled(true, 4);
    EXPECT_TRUE(model.isDoneEnabled());

    auto saved = model.saveNoteSharing(std::nullopt, std::nullopt);
    ASSERT_TRUE(saved);
    EXPECT_THAT(ids(saved->sharedUsers), UnorderedElementsAre(4, 99)) << "the unlisted user keeps the note";
    EXPECT_TRUE(saved->isShare);
    EXPECT_FALSE(saved->isSynced);
}

TEST(ShareSettingsModelTest, AllStudentsKeepsTheAlreadySharedAndAllTeachersRemovesEveryTeacher)
{
    auto note = std::make_shared<SDKHighlightVO>();
    note->sharedUsers = base::Value::List { 1, 2 };
    note->backgroundColor = "#FFFF00";
    note->noteText = "old";
    ShareSettingsModel model(ShareSettingsTypeNote, note);
    model.setData({ shareClass("A", {}, {}, { 2, 3 }) }, "");
    model.getDataForIndex(0);
    EXPECT_TRUE(model.isAllTeachersSelected());
    EXPECT_FALSE(model.isAllStudentsSelected());

    model.didShareNoteWillAllStudents(false);
    EXPECT_THAT(model.noteSharedArray(), ElementsAre(1, 2, 3));
    EXPECT_TRUE(model.isDoneEnabled());
    model.didShareNoteWillAllStudents(true);
    EXPECT_THAT(model.noteSharedArray(), ElementsAre(1, 2)) << "already shared students stay";
    EXPECT_FALSE(model.isDoneEnabled());

    model.didShareNoteWillAllTeachers(true);
    EXPECT_THAT(model.noteSharedArray(), ElementsAre(2));
    EXPECT_TRUE(model.isDoneEnabled());

    // A colour without a text changes neither.
    auto saved = model.saveNoteSharing(std::string("#00FF00"), std::string());
    EXPECT_EQ(saved->backgroundColor, "#FFFF00");
    EXPECT_EQ(saved->noteText, "old");
    saved = model.saveNoteSharing(std::string("#00FF00"), std::string("new"));
    EXPECT_EQ(saved->backgroundColor, "#00FF00");
    EXPECT_EQ(saved->noteText, "new");
}

} // namespace
} // namespace lectoro
