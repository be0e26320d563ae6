#include "platform/testing/ExpectMatchesFile.h"
#include "platform/testing/UIScope.h"
#include "platform/testing/ViewQuery.h"
#include "platform/testing/ViewTreeDump.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::shared_ptr<ui::View> makeScreen()
{
    auto root = ui::View::create({ 0, 0, 320, 480 });
    auto title = ui::Label::create({ 16, 20.5, 100, 21 });
    title->setText("Hello");
    title->setAccessibilityIdentifier("title");
    root->addSubview(title);

    auto bar = ui::View::create({ 0, 440, 320, 40 });
    bar->setAlpha(0.5);
    bar->setTag(7);
    root->addSubview(bar);
    auto ok = ui::Button::create({ 10, 5, 60, 30 });
    ok->setTitle("OK");
    bar->addSubview(ok);
    auto field = ui::TextField::create({ 80, 5, 200, 30 });
    field->setText("say \"hi\"\nthere");
    bar->addSubview(field);

    auto hidden = ui::View::create({ -0.25, 1.0 / 3, 10, 10 });
    hidden->setHidden(true);
    hidden->addSubview(ui::Label::create());
    root->addSubview(hidden);
    return root;
}

TEST(ViewTreeDumpTests, DumpMatchesTheExpectedFile)
{
    uitest::UIScope scope;
    uitest::expectMatchesFile(
        uitest::dumpViewTree(makeScreen()), LECTORO_TESTS_DIR "/platform/ui/testing/expected/screen.txt");
}

TEST(ViewTreeDumpTests, OptionsLimitTheDump)
{
    uitest::UIScope scope;
    auto screen = makeScreen();
    uitest::DumpOptions noHidden;
    noHidden.includeHidden = false;
    EXPECT_EQ(uitest::dumpViewTree(screen, noHidden).find("hidden"), std::string::npos);

    uitest::DumpOptions shallow;
    shallow.maxDepth = 0;
    EXPECT_EQ(uitest::dumpViewTree(screen, shallow), "View (0, 0, 320, 480)\n");

    uitest::DumpOptions internals;
    internals.includeButtonInternals = true;
    EXPECT_GT(uitest::dumpViewTree(screen, internals).size(), uitest::dumpViewTree(screen).size());
    EXPECT_EQ(uitest::dumpViewTree(std::shared_ptr<ui::View>()), "");
}

TEST(ViewTreeDumpTests, NumbersPrintShortest)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = { { 10, "10" }, { 0.5, "0.5" }, { -3.25, "-3.25" }, { -0.0, "0" },
        { 1.0 / 3, "0.333333" }, { 0.1 + 0.2, "0.3" }, { 1e-9, "0" }, { 123456.5, "123456.5" } };
    for (const auto& testCase : cases)
        EXPECT_EQ(uitest::formatNumber(testCase.value), testCase.text) << testCase.value;
}

TEST(ViewTreeDumpTests, ComparisonReportsTheFirstDifferenceAndAMissingFile)
{
    auto folder = std::filesystem::temp_directory_path() / "lectoro-dump-test";
    std::filesystem::create_directories(folder);
    auto path = (folder / "expected.txt").string();
    {
        std::ofstream file(path);
        file << "A\nB\nC\n";
    }
    EXPECT_TRUE(uitest::compareWithFile("A\nB\nC\n", path).matches);
    auto different = uitest::compareWithFile("A\nX\nC\n", path);
    EXPECT_FALSE(different.matches);
    EXPECT_NE(different.message.find("line 2"), std::string::npos);
    EXPECT_NE(different.message.find("expected: B"), std::string::npos);
    EXPECT_NE(different.message.find("actual:   X"), std::string::npos);
    auto shorter = uitest::compareWithFile("A\nB\n", path);
    EXPECT_FALSE(shorter.matches);
    EXPECT_NE(shorter.message.find("(end of text)"), std::string::npos);

    auto missing = uitest::compareWithFile("A\n", (folder / "nowhere" / "missing.txt").string());
    EXPECT_FALSE(missing.matches);
    EXPECT_NE(missing.message.find("LECTORO_UPDATE_EXPECTED"), std::string::npos);
    std::filesystem::remove_all(folder);
}

TEST(ViewTreeDumpTests, QueriesFindViewsDepthFirst)
{
    uitest::UIScope scope;
    auto screen = makeScreen();
    EXPECT_EQ(uitest::findByTag(screen, 7), screen->subviews()[1]);
    EXPECT_EQ(uitest::findByAccessibilityIdentifier(screen, "title"), screen->subviews()[0]);
    EXPECT_FALSE(uitest::findByAccessibilityIdentifier(screen, "nothing"));
    EXPECT_EQ(uitest::findLabelWithText(screen, "Hello"), screen->subviews()[0]);
    auto ok = uitest::findButtonWithTitle(screen, "OK");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->superview(), screen->subviews()[1]);
    EXPECT_EQ(uitest::findDescendants<ui::Label>(screen).size(), 2u + (ok->subviews().empty() ? 0u : 1u));
    EXPECT_EQ(uitest::findDescendants<ui::View>(screen).front(), screen);
}

} // namespace
