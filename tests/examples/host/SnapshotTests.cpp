// The example host's --snapshot, run as a user runs it.

#include "platform/print/PrintTestSupport.h"

#include "platform/base/Json.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using printtest::PngImage;

ui::Color colorFromHex(const std::string& hex)
{
    unsigned value = static_cast<unsigned>(std::stoul(hex.substr(1), nullptr, 16));
    return ui::Color::fromRGB255((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

ui::Color themeTopBarColor()
{
    std::ifstream file(LECTORO_RESOURCES_DIR "/readerDefault_theme.json");
    std::stringstream text;
    text << file.rdbuf();
    auto theme = base::parseJson(text.str());
    EXPECT_TRUE(theme.ok());
    auto hex = (*theme)["Reader"]["DayMode"]["main"]["toolbar"]["top"]["background"].asString();
    EXPECT_TRUE(hex);
    return colorFromHex(hex.value_or("#000000"));
}

TEST(HostSnapshotTests, ThePageBookSnapshotIsTheScreenWithTheThemedTopBar)
{
    printtest::TemporaryFolder folder;
    std::string picture = folder.file("screen.png");
    auto output = printtest::commandOutput(std::string(LECTORO_HOST) + " --pages 0 --storage "
        + printtest::quoted(folder.path()) + " --snapshot " + printtest::quoted(picture));
    ASSERT_TRUE(output) << "the host failed";
    EXPECT_NE(output->find("Snapshot written to"), std::string::npos) << *output;

    PngImage png(picture);
    ASSERT_TRUE(png.ok());
    // The default screen: 375 x 667 points at scale 2.
    EXPECT_EQ(png.width(), 750);
    EXPECT_EQ(png.height(), 1334);
    ui::Color bar = themeTopBarColor();
    // The top bar's corners, clear of its icons and title.
    for (auto [x, y] : { std::pair { 4, 4 }, std::pair { 745, 4 }, std::pair { 300, 90 } })
        EXPECT_TRUE(printtest::sameColor(png.pixel(x, y), bar)) << x << "," << y << ": " << png.pixel(x, y);
    // The page shows below the bar: not the bar's colour.
    EXPECT_FALSE(printtest::sameColor(png.pixel(375, 400), bar)) << png.pixel(375, 400);
}

TEST(HostSnapshotTests, ASnapshotThatCannotBeWrittenFailsTheRun)
{
    printtest::TemporaryFolder folder;
    auto output = printtest::commandOutput(std::string(LECTORO_HOST) + " --pages 0 --snapshot "
        + printtest::quoted(folder.file("missing/folder/screen.png")) + "; echo status=$?");
    ASSERT_TRUE(output);
    EXPECT_NE(output->find("Could not write the snapshot"), std::string::npos) << *output;
    EXPECT_NE(output->find("status=5"), std::string::npos) << *output;
}

} // namespace
