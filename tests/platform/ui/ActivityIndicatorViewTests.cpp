#include "platform/ui/ActivityIndicatorView.h"

#include "platform/ui/ProgressView.h"
#include "platform/ui/VisualEffectView.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ui {
namespace {

TEST(ActivityIndicatorViewTest, HiddenWhileStoppedUnlessToldOtherwise)
{
    auto spinner = ActivityIndicatorView::create(ActivityIndicatorStyle::WhiteLarge);
    EXPECT_EQ(spinner->frame().size, Size(37, 37));
    EXPECT_EQ(spinner->color(), Color::white());
    EXPECT_TRUE(spinner->isHidden());
    spinner->startAnimating();
    EXPECT_TRUE(spinner->isAnimating());
    EXPECT_FALSE(spinner->isHidden());
    spinner->stopAnimating();
    EXPECT_TRUE(spinner->isHidden());
    spinner->setHidesWhenStopped(false);
    EXPECT_FALSE(spinner->isHidden());
    spinner->startAnimating();
    spinner->stopAnimating();
    EXPECT_FALSE(spinner->isHidden());
    EXPECT_EQ(ActivityIndicatorView::create()->intrinsicContentSize(), Size(20, 20));
}

TEST(ProgressViewTest, ProgressIsClamped)
{
    auto progress = ProgressView::create();
    for (auto [set, expected] : { std::pair { 0.25, 0.25 }, std::pair { -1.0, 0.0 }, std::pair { 7.0, 1.0 },
             std::pair { double(NAN), 0.0 } }) {
        progress->setProgress(set);
        EXPECT_DOUBLE_EQ(progress->progress(), expected);
    }
    progress->setProgress(0.5);
    EXPECT_EQ(progress->accessibilityValue(), "50%");
}

TEST(VisualEffectViewTest, ContentViewFillsTheView)
{
    auto blur = VisualEffectView::create(BlurStyle::Dark, { 0, 0, 100, 50 });
    ASSERT_EQ(blur->subviews().size(), 1u);
    EXPECT_EQ(blur->subviews()[0], blur->contentView());
    EXPECT_EQ(blur->contentView()->frame(), Rect(0, 0, 100, 50));
    blur->setFrame({ 10, 10, 300, 200 });
    EXPECT_EQ(blur->contentView()->frame(), Rect(0, 0, 300, 200));
    EXPECT_EQ(blur->effect(), BlurStyle::Dark);
}

} // namespace
} // namespace ui
