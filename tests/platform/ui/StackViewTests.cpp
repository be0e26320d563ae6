#include "platform/ui/StackView.h"

#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

// A view with a fixed intrinsic size.
struct Sized : View {
    static std::shared_ptr<Sized> make(Size size) { return std::shared_ptr<Sized>(new Sized(size)); }
    explicit Sized(Size size)
        : m_size(size)
    {
    }
    Size intrinsicContentSize() const override { return m_size; }
    Size m_size;
};

std::vector<Rect> framesOf(const StackView& stack)
{
    std::vector<Rect> frames;
    for (const auto& view : stack.arrangedSubviews())
        frames.push_back(view->frame());
    return frames;
}

TEST(StackViewTest, DistributionsAlongTheAxis)
{
    struct Case {
        const char* name;
        StackDistribution distribution;
        std::vector<Rect> frames;
    };
    // 200 wide, spacing 10; intrinsic widths 20, 40, 30 (sum 90).
    const Case cases[] = {
        { "fill: the last takes the slack", StackDistribution::Fill,
            { { 0, 0, 20, 50 }, { 30, 0, 40, 50 }, { 80, 0, 120, 50 } } },
        { "fill equally", StackDistribution::FillEqually,
            { { 0, 0, 60, 50 }, { 70, 0, 60, 50 }, { 140, 0, 60, 50 } } },
        { "fill proportionally", StackDistribution::FillProportionally,
            { { 0, 0, 40, 50 }, { 50, 0, 80, 50 }, { 140, 0, 60, 50 } } },
        { "equal spacing", StackDistribution::EqualSpacing,
            { { 0, 0, 20, 50 }, { 75, 0, 40, 50 }, { 170, 0, 30, 50 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto stack = StackView::create(
            { Sized::make({ 20, 10 }), Sized::make({ 40, 10 }), Sized::make({ 30, 10 }) });
        stack->setFrame({ 0, 0, 200, 50 });
        stack->setSpacing(10);
        stack->setDistribution(c.distribution);
        stack->layoutIfNeeded();
        EXPECT_EQ(framesOf(*stack), c.frames);
    }
}

TEST(StackViewTest, FillGivesTheSlackToAViewWithoutIntrinsicWidth)
{
    auto flexible = View::create({ 0, 0, 5, 5 });
    auto stack = StackView::create({ Sized::make({ 20, 10 }), flexible, Sized::make({ 30, 10 }) });
    stack->setFrame({ 0, 0, 100, 20 });
    stack->layoutIfNeeded();
    EXPECT_EQ(flexible->frame(), Rect(20, 0, 50, 20));
}

TEST(StackViewTest, AlignmentAcrossTheAxisAndHiddenViews)
{
    auto a = Sized::make({ 10, 20 });
    auto b = Sized::make({ 30, 40 });
    auto hidden = Sized::make({ 99, 99 });
    hidden->setHidden(true);
    auto stack = StackView::create({ a, hidden, b });
    stack->setAxis(StackAxis::Vertical);
    stack->setFrame({ 0, 0, 100, 300 });
    stack->setSpacing(5);
    stack->setDistribution(StackDistribution::EqualSpacing);
    struct Case {
        StackAlignment alignment;
        Rect a, b;
    };
    const Case cases[] = {
        { StackAlignment::Fill, { 0, 0, 100, 20 }, { 0, 260, 100, 40 } },
        { StackAlignment::Leading, { 0, 0, 10, 20 }, { 0, 260, 30, 40 } },
        { StackAlignment::Center, { 45, 0, 10, 20 }, { 35, 260, 30, 40 } },
        { StackAlignment::Trailing, { 90, 0, 10, 20 }, { 70, 260, 30, 40 } },
    };
    for (const Case& c : cases) {
        stack->setAlignment(c.alignment);
        stack->layoutIfNeeded();
        EXPECT_EQ(a->frame(), c.a);
        EXPECT_EQ(b->frame(), c.b);
    }
    // Its arranged views make its size: the tallest stack of them, the widest across.
    stack->setAlignment(StackAlignment::Leading);
    EXPECT_EQ(stack->systemLayoutSizeFittingSize(View::layoutFittingCompressedSize), Size(30, 65));
}

TEST(StackViewTest, RightToLeftRunsFromTheRight)
{
    EnvironmentScope scope;
    Environment::current().setLayoutDirection(LayoutDirection::RightToLeft);
    auto a = Sized::make({ 20, 10 });
    auto b = Sized::make({ 30, 10 });
    auto stack = StackView::create({ a, b });
    stack->setFrame({ 0, 0, 100, 10 });
    stack->setDistribution(StackDistribution::EqualSpacing);
    stack->layoutIfNeeded();
    EXPECT_EQ(a->frame(), Rect(80, 0, 20, 10));
    EXPECT_EQ(b->frame(), Rect(0, 0, 30, 10));
}

TEST(StackViewTest, ArrangedListFollowsTheSubviews)
{
    auto a = View::create();
    auto b = View::create();
    auto stack = StackView::create({ a });
    stack->insertArrangedSubview(b, 0);
    EXPECT_EQ(stack->arrangedSubviews(), (std::vector<std::shared_ptr<View>> { b, a }));
    EXPECT_EQ(stack->subviews().size(), 2u);
    // Removing from the arranged list keeps the subview, as on the platform.
    stack->removeArrangedSubview(b.get());
    EXPECT_EQ(stack->arrangedSubviews().size(), 1u);
    EXPECT_EQ(b->superview(), stack);
    // Removing the subview removes it from the list too.
    a->removeFromSuperview();
    EXPECT_TRUE(stack->arrangedSubviews().empty());
}

} // namespace
} // namespace ui
