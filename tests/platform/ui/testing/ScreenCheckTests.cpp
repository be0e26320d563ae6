#include "platform/testing/ScreenCheckAssertion.h"

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"

#include <gtest/gtest.h>

#include <functional>

namespace uitest {
namespace {

using ui::Color;
using ui::Rect;

constexpr const char* iconGlyph = "C";

class ScreenCheckTest : public ::testing::Test {
public:
    void SetUp() override
    {
        m_saved = screenCheckConfig();
        screenCheckConfig() = { "TestIcons", { iconGlyph } };
        freshScreen();
    }
    void TearDown() override { screenCheckConfig() = m_saved; }

    void freshScreen()
    {
        m_root = ui::View::create({ { 0, 0 }, { 320, 480 } });
        m_root->setBackgroundColor(Color::white());
    }

    std::shared_ptr<ui::Label> label(const std::string& text, const Rect& frame, const std::shared_ptr<ui::View>& parent = nullptr)
    {
        auto made = ui::Label::create(frame);
        made->setFont(ui::Font::systemFont(17));
        made->setText(text);
        (parent ? parent : m_root)->addSubview(made);
        return made;
    }
    std::shared_ptr<ui::Button> button(const std::string& title, const Rect& frame)
    {
        auto made = ui::Button::create(frame);
        made->setTitle(title);
        made->setTitleColor(Color::black());
        m_root->addSubview(made);
        made->layoutIfNeeded();
        return made;
    }

    ScreenCheckConfig m_saved;
    std::shared_ptr<ui::View> m_root;
};

TEST_F(ScreenCheckTest, AScreenWithEachFaultFailsNamingItsViews)
{
    struct Case {
        const char* name;
        std::function<void(ScreenCheckTest&)> build;
        const char* rule;
        std::vector<std::string> named;
    };
    const std::vector<Case> cases {
        { "two overlapping buttons",
            [](ScreenCheckTest& test) {
                test.button("Save", { { 20, 20 }, { 100, 44 } });
                test.button("Close", { { 80, 30 }, { 100, 44 } });
            },
            "overlap", { "Button \"Save\"", "Button \"Close\"" } },
        { "a label wider than its frame",
            [](ScreenCheckTest& test) {
                auto made = test.label("Writes the weather in a book", { { 20, 20 }, { 60, 21 } });
                made->setLineBreakMode(ui::LineBreakMode::ByClipping);
            },
            "text-fits", { "Label \"Writes the weather in a book\"" } },
        { "white text on white",
            [](ScreenCheckTest& test) { test.label("Cancel", { { 20, 20 }, { 100, 21 } })->setTextColor(Color::white()); },
            "contrast", { "Label \"Cancel\"" } },
        { "an icon code point in a text font",
            [](ScreenCheckTest& test) {
                auto icon = test.button(iconGlyph, { { 20, 20 }, { 44, 44 } });
                icon->setAccessibilityIdentifier("close");
            },
            "icon-font", { "Button#close", "Label \"C\"" } },
        { "a subview outside its parent",
            [](ScreenCheckTest& test) {
                auto panel = ui::View::create({ { 20, 20 }, { 100, 100 } });
                panel->setAccessibilityIdentifier("panel");
                test.m_root->addSubview(panel);
                test.label("Play", { { 90, 10 }, { 40, 21 } }, panel);
            },
            "outside", { "View#panel > Label \"Play\"" } },
        { "an image view without an image",
            [](ScreenCheckTest& test) { test.m_root->addSubview(ui::ImageView::create(Rect { { 20, 20 }, { 40, 40 } })); },
            "image", { "ImageView" } },
    };
    for (const auto& check : cases) {
        SCOPED_TRACE(check.name);
        freshScreen();
        check.build(*this);
        auto findings = checkScreen(*m_root);
        auto found = std::find_if(findings.begin(), findings.end(), [&](const ScreenFinding& f) { return f.rule == check.rule; });
        ASSERT_NE(found, findings.end()) << "no " << check.rule << " finding";
        for (const auto& name : check.named)
            EXPECT_NE(found->views.find(name), std::string::npos) << found->description();
        auto result = screenPasses(*m_root, "test screen");
        EXPECT_FALSE(result);
        EXPECT_NE(std::string(result.message()).find(check.named.front()), std::string::npos) << result.message();
    }
}

TEST_F(ScreenCheckTest, AScreenThatIsClearPasses)
{
    button("Save", { { 20, 20 }, { 100, 44 } });
    button("Close", { { 140, 20 }, { 100, 44 } });
    auto title = label("A title", { { 20, 80 }, { 200, 21 } });
    // Cut the way its line-break mode says: the ellipsis is drawn.
    auto cut = label("A long chapter name that does not fit", { { 20, 110 }, { 120, 21 } });
    cut->setLineBreakMode(ui::LineBreakMode::ByTruncatingTail);
    // A label on a dark bar, drawn inside it.
    auto bar = ui::View::create({ { 0, 400 }, { 320, 80 } });
    bar->setBackgroundColor(Color::fromRGB255(0x10, 0x18, 0x40));
    m_root->addSubview(bar);
    label("Chapter 1", { { 20, 20 }, { 120, 21 } }, bar)->setTextColor(Color::white());
    auto icon = ui::Label::create({ { 260, 20 }, { 30, 30 } });
    icon->setFont(ui::Font("TestIcons", 20));
    icon->setText(iconGlyph);
    icon->setTextColor(Color::white());
    bar->addSubview(icon);
    // Content scrolled away is inside its scroll view's content.
    auto scroll = ui::ScrollView::create({ { 20, 150 }, { 200, 100 } });
    scroll->setContentSize({ 200, 400 });
    m_root->addSubview(scroll);
    label("Row 9", { { 0, 300 }, { 100, 21 } }, scroll);
    EXPECT_TRUE(screenPasses(*m_root, "clear screen"));
    (void)title;
}

TEST_F(ScreenCheckTest, AnOpaqueSheetOverTheScreenHidesWhatLiesUnderIt)
{
    button("Save", { { 20, 20 }, { 100, 44 } });
    auto sheet = ui::View::create({ { 0, 0 }, { 320, 480 } });
    sheet->setBackgroundColor(Color::white());
    m_root->addSubview(sheet);
    auto done = ui::Button::create(Rect { { 30, 30 }, { 100, 44 } });
    done->setTitle("Done");
    done->setTitleColor(Color::black());
    sheet->addSubview(done);
    done->layoutIfNeeded();
    EXPECT_TRUE(screenPasses(*m_root, "sheet"));
    sheet->setBackgroundColor(std::nullopt);
    EXPECT_FALSE(screenPasses(*m_root, "sheet")) << "a sheet without a body lets the buttons meet";
}

TEST_F(ScreenCheckTest, TheAllowListTakesAFindingOnlyWithItsReasonAndOnItsScreen)
{
    label("Cancel", { { 20, 20 }, { 100, 21 } })->setTextColor(Color::fromWhite(0.8));
    auto list = ScreenCheckAllowList::parse("# comment\n"
                                            "contrast | audio player | Label \"Cancel\" | the player's own grey\n"
                                            "overlap | | Button |\n");
    ASSERT_EQ(list.entries().size(), 1u);
    ASSERT_EQ(list.errors().size(), 1u) << "an entry without a reason is refused";
    EXPECT_TRUE(screenPasses(*m_root, "audio player on a phone", list));
    EXPECT_FALSE(screenPasses(*m_root, "note editor", list));
}

} // namespace
} // namespace uitest
