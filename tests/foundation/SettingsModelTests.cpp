#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"

#include <gtest/gtest.h>

namespace lectoro {
namespace {

TEST(MVReaderSettingModelTest, Defaults)
{
    MVReaderSettingModel model;
    EXPECT_TRUE(model.isBookmarkEnabled());
    EXPECT_TRUE(model.isSharingEnabled());
    EXPECT_FALSE(model.isAutoLoginEnabled());
    EXPECT_TRUE(model.isHighLightEnabled());
    EXPECT_TRUE(model.isSearchEnabled());
    EXPECT_TRUE(model.isStickyNotesEnabled());
    EXPECT_FALSE(model.isAutoReadAloudEnabled());
    EXPECT_TRUE(model.isAnalyicsButtonEnabled());
    EXPECT_TRUE(model.isMathEditorEnabled());
    EXPECT_TRUE(model.isProtractorEnabled());
    EXPECT_TRUE(model.isReviewEnabled());
    EXPECT_TRUE(model.isPenToolEnabled());
    EXPECT_TRUE(model.isContextualNoteEnabled());
    EXPECT_TRUE(model.isClearAllFIBsEnabled());
    EXPECT_FALSE(model.isTextAnnotationEnabled());
    EXPECT_TRUE(model.isAudioBookBookmarkEnabled());
    EXPECT_FALSE(model.isAudioSyncEnabled());
    EXPECT_FALSE(model.isPrintEnabled());
    EXPECT_FALSE(model.isMyDataPrintEnabled());
    EXPECT_TRUE(model.pentoolPenColors().empty());
    EXPECT_TRUE(model.isMydataEnabled());
}

TEST(MVReaderSettingModelTest, MyDataFollowsTheThreeSwitchesNotItsSetter)
{
    struct Case {
        bool highlight, contextual, sticky, expected;
    };
    const Case cases[] = {
        { false, false, false, false },
        { true, false, false, true },
        { false, true, false, true },
        { false, false, true, true },
    };
    for (auto& c : cases) {
        MVReaderSettingModel model;
        model.setIsHighLightEnabled(c.highlight);
        model.setIsContextualNoteEnabled(c.contextual);
        model.setIsStickyNotesEnabled(c.sticky);
        model.setIsMydataEnabled(!c.expected);
        EXPECT_EQ(model.isMydataEnabled(), c.expected) << c.highlight << c.contextual << c.sticky;
    }
}

TEST(MVReaderSettingModelTest, ResettingRestoresDefaultsButNotPrint)
{
    MVReaderSettingModel model;
    model.setIsBookmarkEnabled(false);
    model.setIsPrintEnabled(true);
    model.setPentoolPenColors({ "#000000" });
    model.setDefaultUserSettings();
    EXPECT_TRUE(model.isBookmarkEnabled());
    EXPECT_TRUE(model.isPrintEnabled());
    EXPECT_TRUE(model.pentoolPenColors().empty());
}

} // namespace
} // namespace lectoro
