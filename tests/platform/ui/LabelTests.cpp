#include "platform/ui/Label.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(LabelTest, IntrinsicSizeFollowsTheTextMetricRoundedUp)
{
    auto label = Label::create();
    EXPECT_EQ(label->intrinsicContentSize(), Size(0, 0));
    label->setFont(Font::systemFont(10));
    label->setText("Hello");
    EXPECT_EQ(label->intrinsicContentSize(), Size(22, 12));
    label->setFont(Font::systemFont(10, FontWeight::Bold));
    EXPECT_EQ(label->intrinsicContentSize(), Size(24, 12)); // 23.1 rounded up
    label->setFont(Font::systemFont(12));
    label->setText("a"); // 6 wide, ceil(14.4) high
    EXPECT_EQ(label->intrinsicContentSize(), Size(6, 15));
}

TEST(LabelTest, MultiLineSizingWrapsAtTheGivenWidth)
{
    auto label = Label::create();
    label->setFont(Font::systemFont(10));
    label->setText("aaa bbb ccc");
    // One line: never wraps.
    EXPECT_EQ(label->sizeThatFits({ 20, 1000 }), Size(51, 12));
    label->setNumberOfLines(0);
    EXPECT_EQ(label->sizeThatFits({ 20, 1000 }), Size(15, 36));
    label->setNumberOfLines(2);
    EXPECT_EQ(label->sizeThatFits({ 20, 1000 }), Size(15, 24));
    label->setPreferredMaxLayoutWidth(35);
    EXPECT_EQ(label->intrinsicContentSize(), Size(33, 24));

    label->setFrame({ 0, 0, 20, 100 });
    EXPECT_EQ(label->displayedLines(), (std::vector<std::string> { "aaa", "bbb" }));
}

TEST(LabelTest, TextAndAttributedTextReplaceEachOther)
{
    auto label = Label::create();
    std::vector<std::string> keys;
    label->addPropertyObserver("", [&](View&, const std::string& key) { keys.push_back(key); });
    base::AttributedString styled("Styled");
    label->setAttributedText(styled);
    EXPECT_EQ(label->text(), "Styled");
    label->setText("Plain");
    EXPECT_FALSE(label->attributedText().has_value());
    EXPECT_EQ(keys, (std::vector<std::string> { "attributedText", "text" }));
    EXPECT_EQ(label->accessibilityLabel(), "Plain");
    EXPECT_EQ(label->accessibilityTraits(), AccessibilityTraits::StaticText);
    EXPECT_TRUE(label->isAccessibilityElement());
    EXPECT_FALSE(label->isUserInteractionEnabled());
}

TEST(LabelTest, FontShrinksToFitDownToTheMinimumScale)
{
    auto label = Label::create({ 0, 0, 11, 20 });
    label->setFont(Font::systemFont(10));
    label->setText("Hello"); // 22 wide at 10 points
    EXPECT_EQ(label->displayedFont().pointSize(), 10);
    label->setAdjustsFontSizeToFitWidth(true);
    EXPECT_DOUBLE_EQ(label->displayedFont().pointSize(), 5);
    label->setMinimumScaleFactor(0.8);
    EXPECT_DOUBLE_EQ(label->displayedFont().pointSize(), 8);
    label->setFrame({ 0, 0, 100, 20 });
    EXPECT_DOUBLE_EQ(label->displayedFont().pointSize(), 10);
}

} // namespace
} // namespace ui
