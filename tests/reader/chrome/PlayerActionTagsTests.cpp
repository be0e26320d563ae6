#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"

#include <gtest/gtest.h>

namespace lectoro {
namespace {

TEST(PlayerActionBarTagTest, GroupsTheBarsThatTakePartInDispatch)
{
    struct Case {
        int barTag;
        std::optional<PlayerActionBarTag> group;
    };
    const Case cases[] = {
        { -1, std::nullopt },
        { 0, MainBarGroup },
        { 1, MainBarGroup },
        { 2, MainBarGroup },
        { 3, MainBarGroup },
        { 4, PenToolBar },
        { 5, TextAnnotationBar },
        { 6, TextAlignmentBar },
        { 7, TextColorBar },
        { 8, ReadAloudBar },
        { 9, std::nullopt },
        { 10, std::nullopt },
        { 11, AudioSyncBar },
        { 12, TeacherBar },
        { 13, std::nullopt },
        { 40, std::nullopt },
    };
    for (const auto& c : cases)
        EXPECT_EQ(playerActionBarGroupForTag(c.barTag), c.group) << c.barTag;
}

} // namespace
} // namespace lectoro
