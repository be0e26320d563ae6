#include "platform/testing/ScreenCheckAssertion.h"

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ViewController.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

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
        screenCheckConfig() = { "TestIcons", { { iconGlyph, "delete_outline" }, { "2", "cancel" }, { "\xE2\x88\x9E", "close" } } };
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
    std::shared_ptr<ui::Button> button(const std::string& title, const Rect& frame, const std::shared_ptr<ui::View>& parent = nullptr)
    {
        auto made = ui::Button::create(frame);
        made->setTitle(title);
        made->setTitleColor(Color::black());
        (parent ? parent : m_root)->addSubview(made);
        made->layoutIfNeeded();
        return made;
    }

    // A view without content of its own over the whole screen (a layer: a sheet, an overlay).
    std::shared_ptr<ui::View> layer(std::optional<Color> background, const std::shared_ptr<ui::View>& parent = nullptr)
    {
        auto made = ui::View::create(parent ? parent->bounds() : m_root->bounds());
        made->setBackgroundColor(background);
        (parent ? parent : m_root)->addSubview(made);
        return made;
    }
    std::vector<std::string> rulesFound()
    {
        std::vector<std::string> rules;
        for (const auto& finding : checkScreen(*m_root))
            rules.push_back(finding.rule);
        return rules;
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

namespace uitest {
namespace {

struct LayerCase {
    const char* name;
    std::function<void(ScreenCheckTest&)> build;
    // The rules found on the screen, in order.
    std::vector<std::string> rules;
};

void expectRules(ScreenCheckTest& test, const std::vector<LayerCase>& cases)
{
    for (const auto& check : cases) {
        SCOPED_TRACE(check.name);
        test.freshScreen();
        check.build(test);
        std::string found;
        for (const auto& finding : checkScreen(*test.m_root))
            found += finding.description() + "\n";
        EXPECT_EQ(test.rulesFound(), check.rules) << found;
    }
}

TEST_F(ScreenCheckTest, ViewsInDifferentLayersDoNotOverlap)
{
    const Color dim = Color::black().withAlpha(0.5);
    expectRules(*this, {
        { "an icon's copy on a dimming overlay over the bar item it explains",
            [&](ScreenCheckTest& test) {
                test.button("Contents", { { 20, 20 }, { 100, 44 } });
                test.button("Contents", { { 20, 20 }, { 100, 44 } }, test.layer(dim))->setTitleColor(Color::white());
            },
            {} },
        { "the same copy on an overlay that paints nothing",
            [&](ScreenCheckTest& test) {
                test.button("Contents", { { 20, 20 }, { 100, 44 } });
                test.button("Contents", { { 20, 20 }, { 100, 44 } }, test.layer(std::nullopt));
            },
            { "overlap" } },
        { "a translucent sheet over the screen, its button over the screen's",
            [&](ScreenCheckTest& test) {
                test.button("Save", { { 20, 20 }, { 100, 44 } });
                test.button("Done", { { 30, 30 }, { 100, 44 } }, test.layer(Color::white().withAlpha(0.9)));
            },
            {} },
        { "an overlay that covers only part of the shared place",
            [&](ScreenCheckTest& test) {
                test.button("Save", { { 20, 20 }, { 100, 44 } });
                auto strip = ui::View::create(Rect { { 0, 0 }, { 320, 40 } });
                strip->setBackgroundColor(dim);
                test.m_root->addSubview(strip);
                test.button("Done", { { 30, 10 }, { 100, 44 } }, strip)->setTitleColor(Color::white());
            },
            { "outside", "outside", "overlap" } },
        { "two buttons on one overlay still meet",
            [&](ScreenCheckTest& test) {
                auto overlay = test.layer(dim);
                test.button("Next", { { 20, 20 }, { 100, 44 } }, overlay)->setTitleColor(Color::white());
                test.button("Skip", { { 80, 30 }, { 100, 44 } }, overlay)->setTitleColor(Color::white());
            },
            { "overlap" } },
        { "a button with a background of its own over a label covers it (the text is hidden there, so only the overlap names it)",
            [&](ScreenCheckTest& test) {
                test.label("Chapter 1", { { 20, 20 }, { 120, 21 } });
                test.button("Play", { { 60, 10 }, { 100, 44 } })->setBackgroundColor(Color::white());
            },
            { "overlap" } },
        { "a label raised above the sheet that is added after it",
            [&](ScreenCheckTest& test) {
                auto raised = test.label("Page 3", { { 20, 20 }, { 120, 21 } });
                raised->layer()->setZPosition(10);
                test.button("Done", { { 20, 20 }, { 100, 44 } }, test.layer(Color::white()));
            },
            { "overlap" } },
    });
}

TEST_F(ScreenCheckTest, ContrastIsJudgedOnTheColourComposedUnderTheText)
{
    const Color navy = Color::fromRGB255(0x10, 0x18, 0x40);
    expectRules(*this, {
        { "white text on a half-black bar over white (3.95:1)",
            [&](ScreenCheckTest& test) {
                auto bar = test.layer(Color::black().withAlpha(0.5));
                test.label("Chapter 1", { { 20, 20 }, { 120, 21 } }, bar)->setTextColor(Color::white());
            },
            { "contrast" } },
        { "white text on the same bar over navy",
            [&](ScreenCheckTest& test) {
                test.m_root->setBackgroundColor(navy);
                auto bar = test.layer(Color::black().withAlpha(0.5));
                test.label("Chapter 1", { { 20, 20 }, { 120, 21 } }, bar)->setTextColor(Color::white());
            },
            {} },
        { "a bar faded to a fifth lets white through under white text",
            [&](ScreenCheckTest& test) {
                auto bar = test.layer(navy);
                bar->setAlpha(0.2);
                test.label("Chapter 1", { { 20, 20 }, { 120, 21 } }, bar)->setTextColor(Color::white());
            },
            { "contrast" } },
        { "pale text under a dimming overlay lies under another screen",
            [&](ScreenCheckTest& test) {
                test.label("Chapter 1", { { 20, 20 }, { 120, 21 } })->setTextColor(Color::fromWhite(0.9));
                test.layer(Color::black().withAlpha(0.6));
            },
            {} },
        { "a dark tint over half a line darkens text and ground alike",
            [&](ScreenCheckTest& test) {
                test.label("Chapter 1", { { 20, 20 }, { 120, 21 } })->setTextColor(Color::fromWhite(0.3));
                auto tint = ui::View::create(Rect { { 60, 0 }, { 260, 60 } });
                tint->setBackgroundColor(Color::black().withAlpha(0.7));
                test.m_root->addSubview(tint);
            },
            { "contrast" } },
        { "grey icon in the icon face needs only 3:1",
            [&](ScreenCheckTest& test) {
                auto icon = test.label(iconGlyph, { { 20, 20 }, { 30, 30 } });
                icon->setFont(ui::Font("TestIcons", 15));
                icon->setTextColor(Color::fromWhite(0.52));
            },
            {} },
        { "the same grey as words at 15 points needs 4.5:1",
            [&](ScreenCheckTest& test) {
                test.label("Close", { { 20, 20 }, { 80, 30 } })->setTextColor(Color::fromWhite(0.52));
            },
            { "contrast" } },
        { "an opaque panel over half a line hides it rather than fading it",
            [&](ScreenCheckTest& test) {
                test.label("Chapter 1", { { 20, 20 }, { 120, 21 } });
                auto sheet = ui::View::create(Rect { { 60, 0 }, { 260, 60 } });
                sheet->setBackgroundColor(Color::fromWhite(0.96));
                test.m_root->addSubview(sheet);
            },
            {} },
        { "attributed text is read in its runs' colours, not the label's",
            [&](ScreenCheckTest& test) {
                auto made = test.label("", { { 20, 20 }, { 120, 21 } });
                made->setTextColor(Color::white());
                base::TextAttributes dark;
                dark.foregroundColor = base::ColorAttr { 0.1, 0.1, 0.1, 1 };
                made->setAttributedText(base::AttributedString("Chapter 1", dark));
            },
            {} },
        { "one pale run in attributed text is found",
            [&](ScreenCheckTest& test) {
                auto made = test.label("", { { 20, 20 }, { 120, 21 } });
                base::TextAttributes dark, pale;
                dark.foregroundColor = base::ColorAttr { 0.1, 0.1, 0.1, 1 };
                pale.foregroundColor = base::ColorAttr { 0.9, 0.9, 0.9, 1 };
                base::AttributedString text("Chapter ", dark);
                text.append(base::AttributedString("1", pale));
                made->setAttributedText(text);
            },
            { "contrast" } },
    });
}

TEST_F(ScreenCheckTest, TheIconRuleJudgesTheProductsIconCodePoints)
{
    struct Case {
        const char* title;
        const char* face;
        bool found;
    };
    const std::vector<Case> cases {
        { iconGlyph, "System", true }, // a letter the product writes as an icon
        { "\xE2\x88\x9E", "System", true }, // a code point no text face shows as meant
        { iconGlyph, "TestIcons", false },
        { "2", "System", false }, // a speed "2" reads as the number
        { "2", "TestIcons", false },
        { "Close", "System", false },
        { "D", "System", false }, // not one of the product's icons
    };
    for (const auto& check : cases) {
        SCOPED_TRACE(std::string(check.title) + " in " + check.face);
        freshScreen();
        auto made = button(check.title, { { 20, 20 }, { 60, 44 } });
        made->titleLabel()->setFont(std::string(check.face) == "System" ? ui::Font::systemFont(17) : ui::Font(check.face, 17));
        auto rules = rulesFound();
        EXPECT_EQ(std::count(rules.begin(), rules.end(), "icon-font"), check.found ? 1 : 0);
    }
    freshScreen();
    label(iconGlyph, { { 20, 80 }, { 60, 21 } });
    EXPECT_TRUE(rulesFound().empty()) << "a letter of a label's own text is text";
    button(iconGlyph, { { 20, 20 }, { 60, 44 } });
    auto findings = checkScreen(*m_root);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_NE(findings.front().detail.find("delete_outline"), std::string::npos) << "the finding names the icon";
}

TEST(ScreenCheckIcons, TheIconTableGivesEachCodePointItsName)
{
    auto glyphs = iconGlyphsFromTable("# code point  icon  used for\n"
                                      "U+0043  delete_outline   ICON_DELETE_OUTLINE\n"
                                      "U+221E  close            ICON_CLOSE\n"
                                      "U+1F85  sync             ICON_AUDIO_SYNC\n"
                                      "U+ZZ    broken\n"
                                      "U+110000  beyond\n"
                                      "  U+0044  indented, not a row\n");
    std::map<std::string, std::string> expected { { "C", "delete_outline" }, { "\xE2\x88\x9E", "close" },
        { "\xE1\xBE\x85", "sync" } };
    EXPECT_EQ(glyphs, expected);
}

TEST(ScreenCheckBackgrounds, APresentedScreenNeedsItsContentOnAPaintedViewOfItsOwn)
{
    struct Case {
        const char* name;
        std::optional<Color> screen;
        std::optional<Color> card; // a 200 x 120 card at (60, 180); none when unset
        bool labelOnCard;
        bool found;
    };
    const Case cases[] = {
        { "an opaque screen", Color::white(), std::nullopt, false, false },
        { "a dimmed screen with its texts on a white card", Color::black().withAlpha(0.4), Color::white(), true, false },
        { "a clear screen with its texts on a white card", std::nullopt, Color::white(), true, false },
        { "a dimmed screen with a text beside its card", Color::black().withAlpha(0.4), Color::white(), false, true },
        { "a clear screen and a clear card", std::nullopt, Color::clear(), true, true },
        { "a dimmed screen and nothing under its text", Color::black().withAlpha(0.4), std::nullopt, false, true },
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        UIScope scope;
        auto root = ui::ViewController::create();
        showInWindow(root);
        auto presented = ui::ViewController::create();
        presented->view()->setBackgroundColor(test.screen);
        std::shared_ptr<ui::View> holder = presented->view();
        if (test.card) {
            auto card = ui::View::create({ { 60, 180 }, { 200, 120 } });
            card->setBackgroundColor(test.card);
            presented->view()->addSubview(card);
            if (test.labelOnCard)
                holder = card;
        }
        auto text = ui::Label::create({ { 10, 10 }, { 120, 21 } });
        text->setText("Delete?");
        holder->addSubview(text);
        root->presentViewController(presented, false);
        completePresentations();
        auto findings = checkPresentedBackgrounds(*root);
        EXPECT_EQ(!findings.empty(), test.found);
    }
}

} // namespace
} // namespace uitest
