#include "platform/ui/Image.h"

#include "platform/ui/Environment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace ui {
namespace {

namespace fs = std::filesystem;

std::string pngHeader(uint32_t width, uint32_t height)
{
    auto u32 = [](uint32_t v) {
        return std::string { char(v >> 24), char((v >> 16) & 0xFF), char((v >> 8) & 0xFF), char(v & 0xFF) };
    };
    return std::string("\x89PNG\r\n\x1a\n", 8) + u32(13) + "IHDR" + u32(width) + u32(height)
        + std::string(5, '\0');
}

class ImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("ui-image-tests-" + std::to_string(::getpid()));
        fs::create_directories(m_dir / "inner");
        ImageCatalog::shared().reset();
    }
    void TearDown() override
    {
        ImageCatalog::shared().reset();
        fs::remove_all(m_dir);
    }
    void write(const std::string& name, const std::string& bytes)
    {
        std::ofstream((m_dir / name).string(), std::ios::binary) << bytes;
    }

    EnvironmentScope m_environment;
    fs::path m_dir;
};

TEST_F(ImageTest, FilesGiveTheirPointSizeFromPngHeaderAndScaleSuffix)
{
    write("thumb@2x.png", pngHeader(60, 40));
    write("plain.png", pngHeader(7, 9));
    write("notes.txt", "not an image");
    auto retina = Image::fromFile((m_dir / "thumb@2x.png").string());
    ASSERT_TRUE(retina);
    EXPECT_EQ(retina->size(), Size(30, 20));
    EXPECT_DOUBLE_EQ(retina->scale(), 2);
    EXPECT_EQ(Image::fromFile((m_dir / "plain.png").string())->size(), Size(7, 9));
    EXPECT_EQ(Image::fromFile((m_dir / "notes.txt").string())->size(), Size(0, 0));
    EXPECT_EQ(Image::fromFile((m_dir / "missing.png").string()), nullptr);
    EXPECT_EQ(Image::fromFile(m_dir.string()), nullptr);
}

TEST_F(ImageTest, NamedImagesComeFromTheCatalogOrItsFolders)
{
    EXPECT_EQ(Image::named("SliderThumbImage"), nullptr);
    ImageCatalog::shared().registerImage("SliderThumbImage", { 20, 20 }, 2);
    EXPECT_EQ(Image::named("SliderThumbImage")->size(), Size(20, 20));

    write("icon.png", pngHeader(10, 10));
    write("icon@2x.png", pngHeader(20, 20));
    write("inner/secret.png", pngHeader(1, 1));
    ImageCatalog::shared().addSearchPath(m_dir.string());
    Environment::current().setScreenScale(2);
    auto icon = Image::named("icon");
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->name(), "icon");
    EXPECT_DOUBLE_EQ(icon->scale(), 2);
    EXPECT_EQ(icon->size(), Size(10, 10));
    Environment::current().setScreenScale(1);
    EXPECT_DOUBLE_EQ(Image::named("icon")->scale(), 1);

    // Names are names, never paths out of (or into) the folders.
    for (const char* bad : { "", "inner/secret", "../icon", "..", "." })
        EXPECT_EQ(Image::named(bad), nullptr) << bad;
}

TEST_F(ImageTest, VariantsKeepTheOriginalIntact)
{
    auto base = Image::make("glyph", { 10, 10 });
    auto templated = base->withRenderingMode(ImageRenderingMode::AlwaysTemplate);
    auto tinted = base->withTintColor(Color::red());
    EXPECT_EQ(base->renderingMode(), ImageRenderingMode::Automatic);
    EXPECT_EQ(templated->renderingMode(), ImageRenderingMode::AlwaysTemplate);
    EXPECT_EQ(tinted->renderingMode(), ImageRenderingMode::AlwaysTemplate);
    EXPECT_EQ(tinted->tintColor(), Color::red());
    EXPECT_FALSE(*base == *tinted);
    EXPECT_TRUE(*base == *Image::make("glyph", { 10, 10 }));
}

TEST_F(ImageTest, DrawnImagesKeepTheirFills)
{
    // The pop-over arrow: a clear rectangle, then an upward triangle.
    ImageRenderer renderer({ 30, 15 }, false, 2);
    renderer.fill({ 0, 0, 30, 15 }, Color::clear());
    BezierPath triangle;
    triangle.moveTo({ 15, 0 });
    triangle.lineTo({ 30, 15 });
    triangle.lineTo({ 0, 15 });
    triangle.closePath();
    renderer.fillPath(triangle, Color::black());
    auto image = renderer.image();
    EXPECT_TRUE(image->isDrawn());
    EXPECT_EQ(image->size(), Size(30, 15));
    ASSERT_EQ(image->fills().size(), 2u);
    EXPECT_EQ(image->fills()[1].color, Color::black());
    EXPECT_EQ(image->fills()[1].path.bounds(), Rect(0, 0, 30, 15));
}

} // namespace
} // namespace ui
