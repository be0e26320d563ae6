#include "platform/ui/ConstraintFrames.h"

#include "platform/base/RunLoop.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(ConstraintFramesTests, ViewsPlacedOnlyByConstraintsGetTheirFrames)
{
    base::RunLoop::main().reset();
    auto screen = ui::View::create({ { 0, 0 }, { 375, 667 } });
    auto bar = ui::View::create();
    bar->setTranslatesAutoresizingMaskIntoConstraints(false);
    screen->addSubview(bar);
    auto title = ui::Label::create();
    title->setText("Chapter");
    title->setTranslatesAutoresizingMaskIntoConstraints(false);
    bar->addSubview(title);
    // A bar pinned under the top with an outset, a label centred in it at its own size,
    // and a badge on the bar's trailing edge by a sibling's edge.
    auto badge = ui::View::create();
    badge->setTranslatesAutoresizingMaskIntoConstraints(false);
    screen->addSubview(badge);
    auto loose = ui::View::create({ { 5, 5 }, { 10, 10 } });
    loose->setTranslatesAutoresizingMaskIntoConstraints(false);
    screen->addSubview(loose);
    ui::Constraint::activate({
        bar->leadingAnchor().constraintEqualTo(screen->leadingAnchor(), -0.5),
        bar->trailingAnchor().constraintEqualTo(screen->trailingAnchor(), 0.5),
        bar->topAnchor().constraintEqualTo(screen->topAnchor(), 20),
        bar->heightAnchor().constraintEqualToConstant(44),
        title->centerXAnchor().constraintEqualTo(bar->centerXAnchor()),
        title->centerYAnchor().constraintEqualTo(bar->centerYAnchor()),
        badge->trailingAnchor().constraintEqualTo(bar->trailingAnchor()),
        badge->topAnchor().constraintEqualTo(bar->bottomAnchor(), 4),
        badge->widthAnchor().constraintEqualToConstant(30),
        badge->heightAnchor().constraintEqualTo(badge->widthAnchor()),
        // Only a lower bound: ignored, the view keeps its frame.
        loose->widthAnchor().constraintGreaterThanOrEqualToConstant(100),
    });

    applyConstraintFrames(*screen);
    EXPECT_EQ(bar->frame(), (ui::Rect { { -0.5, 20 }, { 376, 44 } }));
    ui::Size titleSize = title->intrinsicContentSize();
    EXPECT_EQ(title->frame().size, titleSize);
    EXPECT_DOUBLE_EQ(title->frame().origin.x, (376 - titleSize.width) / 2);
    EXPECT_DOUBLE_EQ(title->frame().origin.y, (44 - titleSize.height) / 2);
    // The badge's height follows its width, resolved before it in the same pass or next.
    EXPECT_EQ(badge->frame().origin, (ui::Point { 345.5, 68 }));
    EXPECT_EQ(badge->frame().size.width, 30);
    EXPECT_EQ(loose->frame(), (ui::Rect { { 5, 5 }, { 10, 10 } }));
}

} // namespace
} // namespace ui
