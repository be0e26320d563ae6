#include "PrintTestSupport.h"

#include "platform/print/ViewPainter.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <unistd.h>

namespace print {
namespace {

// A picture read back where it was written: its colours, transparency included, survive the
// writer's filtering and compression, and rows repeated from the one above stay the same.
TEST(PngWriter, PicturesReadBackWithTheirColoursAndTransparency)
{
    auto root = ui::View::create({ { 0, 0 }, { 40, 30 } });
    auto band = ui::View::create({ { 0, 10 }, { 40, 10 } });
    band->setBackgroundColor(ui::Color::fromRGBA(0.2, 0.4, 0.8, 0.5));
    root->addSubview(band);
    auto dot = ui::View::create({ { 30, 25 }, { 5, 5 } });
    dot->setBackgroundColor(ui::Color::fromRGB255(0xE0, 0x30, 0x10));
    root->addSubview(dot);
    auto path = std::filesystem::temp_directory_path() / ("lectoro-png-" + std::to_string(::getpid()) + ".png");
    struct Case {
        const char* name;
        std::optional<ui::Color> background;
    };
    for (const Case& check : { Case { "transparent", std::nullopt }, Case { "opaque", ui::Color::white() } }) {
        SCOPED_TRACE(check.name);
        ImageOptions options;
        options.scale = 2;
        options.background = check.background;
        ASSERT_TRUE(writePNG(*root, path.string(), options));
        printtest::PngImage picture(path.string());
        ASSERT_TRUE(picture.ok());
        EXPECT_EQ(picture.width(), 80);
        EXPECT_EQ(picture.height(), 60);
        auto near = [](const ui::Color& a, const ui::Color& b) {
            return std::abs(a.redComponent() - b.redComponent()) < 0.02 && std::abs(a.greenComponent() - b.greenComponent()) < 0.02
                && std::abs(a.blueComponent() - b.blueComponent()) < 0.02 && std::abs(a.alpha() - b.alpha()) < 0.02;
        };
        ui::Color bandColour = check.background ? ui::Color::fromRGBA(0.6, 0.7, 0.9, 1) : ui::Color::fromRGBA(0.2, 0.4, 0.8, 0.5);
        for (int y : { 20, 30, 39 })
            EXPECT_TRUE(near(picture.pixel(40, y), bandColour)) << "row " << y << ": " << picture.pixel(40, y).toDebugString();
        EXPECT_TRUE(near(picture.pixel(65, 55), ui::Color::fromRGB255(0xE0, 0x30, 0x10)));
        EXPECT_TRUE(near(picture.pixel(10, 5), check.background.value_or(ui::Color::clear())))
            << picture.pixel(10, 5).toDebugString();
    }
    std::filesystem::remove(path);
}

} // namespace
} // namespace print
