#include "platform/ui/Button.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(ButtonTest, PerStateValuesFallBackToNormal)
{
    auto button = Button::create(ButtonType::Custom, { 0, 0, 100, 40 });
    button->setTitle("Save");
    button->setTitle("Saving", ControlState::Highlighted);
    button->setTitleColor(Color::black());
    button->setTitleColor(Color::black().withAlpha(0.3), ControlState::Disabled);
    auto normal = Image::make("icon", { 20, 20 });
    auto selected = Image::make("icon-selected", { 20, 20 });
    button->setImage(normal);
    button->setImage(selected, ControlState::Selected);

    struct Case {
        const char* name;
        bool enabled, selected, highlighted;
        const char* title;
        Color color;
        ImagePtr image;
    };
    const Case cases[] = {
        { "normal", true, false, false, "Save", Color::black(), normal },
        { "highlighted", true, false, true, "Saving", Color::black(), normal },
        { "selected", true, true, false, "Save", Color::black(), selected },
        // Selected and highlighted together has no value of its own: normal.
        { "selected+highlighted", true, true, true, "Save", Color::black(), normal },
        { "disabled wins", false, true, true, "Save", Color::black().withAlpha(0.3), normal },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        button->setEnabled(c.enabled);
        button->setSelected(c.selected);
        button->setHighlighted(c.highlighted);
        EXPECT_EQ(button->currentTitle(), c.title);
        EXPECT_EQ(button->currentTitleColor(), c.color);
        EXPECT_EQ(button->currentImage(), c.image);
        // The title label shows the current state.
        EXPECT_EQ(button->titleLabel()->text(), c.title);
        EXPECT_EQ(button->titleLabel()->textColor(), c.color);
    }
    button->setTitle(std::nullopt, ControlState::Highlighted);
    EXPECT_EQ(button->titleForState(ControlState::Highlighted), "Save");
    EXPECT_EQ(button->backgroundImageForState(ControlState::Normal), nullptr);
}

TEST(ButtonTest, DefaultTitleColoursDependOnTheType)
{
    auto custom = Button::create(ButtonType::Custom);
    auto system = Button::create(ButtonType::System);
    EXPECT_EQ(custom->currentTitleColor(), Color::white());
    EXPECT_EQ(system->currentTitleColor(), Color::systemBlue());
    system->setTintColor(Color::red());
    EXPECT_EQ(system->currentTitleColor(), Color::red());
}

TEST(ButtonTest, AttributedTitleWinsAndSubviewsAppearWhenNeeded)
{
    auto button = Button::create();
    EXPECT_TRUE(button->subviews().empty());
    button->setTitle("plain");
    base::AttributedString fancy("Fancy");
    button->setAttributedTitle(fancy);
    EXPECT_EQ(button->currentTitle(), "Fancy");
    ASSERT_EQ(button->subviews().size(), 1u);
    EXPECT_EQ(button->subviews()[0], button->titleLabel());
    EXPECT_TRUE(button->titleLabel()->attributedText().has_value());

    button->setImage(Image::make("i", { 10, 10 }));
    ASSERT_EQ(button->subviews().size(), 2u);
    EXPECT_EQ(button->subviews()[0], button->imageView()); // behind the title
    button->setImage(nullptr);
    EXPECT_TRUE(button->imageView()->isHidden());
}

TEST(ButtonTest, LaysOutImageThenTitleInTheContentRect)
{
    auto button = Button::create(ButtonType::Custom, { 0, 0, 200, 44 });
    button->setFont(Font::systemFont(10));
    button->setTitle("Hello"); // 22 × 12 by the text metric
    button->setImage(Image::make("i", { 20, 20 }));
    button->layoutIfNeeded();
    // Centred: 42 wide in 200 → starts at 79.
    EXPECT_EQ(button->imageView()->frame(), Rect(79, 12, 20, 20));
    EXPECT_EQ(button->titleLabel()->frame(), Rect(99, 16, 22, 12));
    EXPECT_EQ(button->intrinsicContentSize(), Size(42, 20));

    button->setContentHorizontalAlignment(ContentHorizontalAlignment::Left);
    button->setContentEdgeInsets({ 0, 10, 0, 0 });
    button->setTitleEdgeInsets({ 0, 5, 0, 0 });
    button->layoutIfNeeded();
    EXPECT_EQ(button->imageView()->frame(), Rect(10, 12, 20, 20));
    EXPECT_EQ(button->titleLabel()->frame(), Rect(35, 16, 22, 12));
    EXPECT_EQ(button->intrinsicContentSize(), Size(52, 20));
}

TEST(ButtonTest, AccessibilityDefaults)
{
    auto button = Button::create();
    button->setTitle("OK");
    EXPECT_TRUE(button->isAccessibilityElement());
    EXPECT_EQ(button->accessibilityLabel(), "OK");
    EXPECT_EQ(button->accessibilityTraits(), AccessibilityTraits::Button);
    button->setSelected(true);
    EXPECT_EQ(button->accessibilityTraits(), AccessibilityTraits::Button | AccessibilityTraits::Selected);
    button->setAccessibilityLabel("Confirm");
    EXPECT_EQ(button->accessibilityLabel(), "Confirm");
}

TEST(ButtonTest, TapRunsTheTouchUpInsideAction)
{
    auto button = Button::create();
    int taps = 0;
    button->addTarget(ControlEvent::TouchUpInside, [&](Control&) { ++taps; });
    button->simulateTap();
    button->setEnabled(false);
    button->simulateTap();
    EXPECT_EQ(taps, 1);
}

} // namespace
} // namespace ui
