#include "platform/print/ViewPainter.h"

#include "platform/print/PrintTestSupport.h"

#include "platform/base/RunLoop.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace print {
namespace {

using printtest::PngImage;
using printtest::sameColor;

class ViewPainterTest : public ::testing::Test {
protected:
    void SetUp() override { base::RunLoop::main().reset(); }

    // Darkest pixel's brightness in a rectangle (1 white … 0 black).
    static double darkest(const PngImage& png, int x0, int y0, int x1, int y1)
    {
        double least = 1;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                ui::Color c = png.pixel(x, y);
                least = std::min(least, (c.redComponent() + c.greenComponent() + c.blueComponent()) / 3);
            }
        }
        return least;
    }

    // The leftmost and rightmost columns with ink darker than mid grey; {-1, -1} for none.
    static std::pair<int, int> inkColumns(const PngImage& png)
    {
        std::pair<int, int> columns { -1, -1 };
        for (int x = 0; x < png.width(); ++x) {
            for (int y = 0; y < png.height(); ++y) {
                ui::Color c = png.pixel(x, y);
                if ((c.redComponent() + c.greenComponent() + c.blueComponent()) / 3 < 0.5) {
                    if (columns.first < 0)
                        columns.first = x;
                    columns.second = x;
                    break;
                }
            }
        }
        return columns;
    }

    // One label of text over white, painted at one pixel a point.
    PngImage paintLabel(const std::string& text, const ui::Font& font, ui::TextAlignment alignment,
        const std::string& name, double width = 400)
    {
        auto root = ui::View::create({ { 0, 0 }, { width, 40 } });
        root->setBackgroundColor(ui::Color::white());
        auto label = ui::Label::create();
        label->setFont(font);
        label->setText(text);
        label->setTextAlignment(alignment);
        label->setFrame({ { 0, 0 }, { width, 40 } });
        root->addSubview(label);
        std::string path = m_folder.file(name);
        EXPECT_TRUE(writePNG(*root, path));
        return PngImage(path);
    }

    printtest::TemporaryFolder m_folder;
};

TEST_F(ViewPainterTest, FramesColoursBordersCornersOpacityAndHiddenViews)
{
    const ui::Color paper = ui::Color::fromRGB255(238, 240, 243);
    const ui::Color bar = ui::Color::fromRGB255(30, 111, 217);
    auto root = ui::View::create({ { 0, 0 }, { 200, 100 } });
    root->setBackgroundColor(paper);
    auto top = ui::View::create({ { 0, 0 }, { 200, 20 } });
    top->setBackgroundColor(bar);
    root->addSubview(top);
    auto card = ui::View::create({ { 100, 40 }, { 80, 40 } });
    card->setBackgroundColor(ui::Color::white());
    card->layer()->setCornerRadius(10);
    card->layer()->setBorderWidth(2);
    card->layer()->setBorderColor(ui::Color::red());
    root->addSubview(card);
    auto hidden = ui::View::create({ { 10, 40 }, { 20, 20 } });
    hidden->setBackgroundColor(ui::Color::black());
    hidden->setHidden(true);
    root->addSubview(hidden);
    auto faded = ui::View::create({ { 40, 40 }, { 20, 20 } });
    faded->setBackgroundColor(ui::Color::black());
    faded->setAlpha(0.5);
    root->addSubview(faded);
    // A child moved by its parent's bounds origin (a scrolled view).
    auto scroller = ui::View::create({ { 0, 80 }, { 40, 20 } });
    scroller->setBounds({ { 20, 0 }, { 40, 20 } });
    auto inside = ui::View::create({ { 20, 0 }, { 10, 20 } });
    inside->setBackgroundColor(ui::Color::green());
    scroller->addSubview(inside);
    root->addSubview(scroller);

    std::string path = m_folder.file("tree.png");
    ASSERT_TRUE(writePNG(*root, path, { 2, std::nullopt, nullptr }));
    PngImage png(path);
    ASSERT_TRUE(png.ok());
    EXPECT_EQ(png.width(), 400);
    EXPECT_EQ(png.height(), 200);
    EXPECT_TRUE(sameColor(png.pixel(10, 10), bar));
    EXPECT_TRUE(sameColor(png.pixel(10, 70), paper));
    EXPECT_TRUE(sameColor(png.pixel(280, 120), ui::Color::white()));
    EXPECT_TRUE(sameColor(png.pixel(280, 81), ui::Color::red())) << png.pixel(280, 81);
    // Outside the rounded corner the paper shows.
    EXPECT_TRUE(sameColor(png.pixel(201, 81), paper));
    EXPECT_TRUE(sameColor(png.pixel(40, 100), paper));
    ui::Color half = png.pixel(100, 100);
    EXPECT_NEAR(half.redComponent(), paper.redComponent() / 2, 0.02);
    EXPECT_TRUE(sameColor(png.pixel(2, 190), ui::Color::green()));
    EXPECT_TRUE(sameColor(png.pixel(30, 190), paper));
}

TEST_F(ViewPainterTest, LabelTextIsDrawnWhereTheMetricLaysItOut)
{
    auto root = ui::View::create({ { 0, 0 }, { 300, 60 } });
    root->setBackgroundColor(ui::Color::white());
    auto label = ui::Label::create();
    label->setFont(ui::Font::systemFont(20));
    label->setText("Hello");
    label->setTextAlignment(ui::TextAlignment::Right);
    label->setFrame({ { 0, 0 }, { 300, 60 } });
    root->addSubview(label);

    std::string path = m_folder.file("label.png");
    ASSERT_TRUE(writePNG(*root, path));
    PngImage png(path);
    // "Hello" is 44 points wide by the metric: ink in the right 44 points, none left of them.
    double width = ui::TextMetrics::widthOfLine("Hello", label->font());
    int left = static_cast<int>(300 - width);
    EXPECT_LT(darkest(png, left, 15, 300, 45), 0.3);
    EXPECT_DOUBLE_EQ(darkest(png, 0, 0, left - 2, 60), 1.0);
}

TEST_F(ViewPainterTest, ALineIsSetAtItsFacesOwnWidthFromTheMetricsOrigin)
{
    // Wide and narrow words, whose face widths are far from the metric's (the metric gives
    // "WWWW" 48 points at 20 points, the system face nearly 80).
    const std::string text = "WWWW iiii WWWW";
    const ui::Font font = ui::Font::systemFont(20);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 20);
    cairo_text_extents_t face;
    cairo_text_extents(cr, text.c_str(), &face);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    const double metric = ui::TextMetrics::widthOfLine(text, font);
    ASSERT_GT(face.width, metric + 20);

    struct Case {
        ui::TextAlignment alignment;
        double origin;
    };
    for (const Case& c : { Case { ui::TextAlignment::Left, 0 }, Case { ui::TextAlignment::Center, (400 - metric) / 2 },
             Case { ui::TextAlignment::Right, 400 - metric } }) {
        SCOPED_TRACE(static_cast<int>(c.alignment));
        auto png = paintLabel(text, font, c.alignment, "line.png", 400);
        ASSERT_TRUE(png.ok());
        auto [left, right] = inkColumns(png);
        // The ink spans the face's own width of the whole line, from where the metric starts
        // the line: not fitted word by word into the metric's widths (a few pixels of
        // anti-aliasing and hinting apart).
        double inkLeft = c.origin + face.x_bearing;
        double inkRight = std::min(399.0, c.origin + face.x_bearing + face.width);
        EXPECT_NEAR(left, inkLeft, 3);
        EXPECT_NEAR(right, inkRight, 3);
    }
}

TEST_F(ViewPainterTest, AFaceRegisteredFromAFileIsDrawnFromThatFile)
{
    // A face name the system does not know, registered from a copy of a text face.
    const std::string file = m_folder.file("Mystery-Regular.ttf");
    std::filesystem::copy_file("/usr/share/fonts/truetype/open-sans/OpenSans-Regular.ttf", file);
    ASSERT_TRUE(ui::FontRegistry::shared().registerFontFile(file));
    const ui::Font mystery("Mystery-Regular", 30);
    EXPECT_EQ(fontFileFor(mystery), file);
    // A weight the face does not have is left to the system's closest face.
    EXPECT_EQ(fontFileFor(mystery.withWeight(ui::FontWeight::Bold)), std::nullopt);
    EXPECT_EQ(fontFileFor(ui::Font::systemFont(30)), std::nullopt);

    auto fromFile = paintLabel("Rag", mystery, ui::TextAlignment::Left, "file.png", 120);
    auto fallback = paintLabel("Rag", ui::Font::systemFont(30), ui::TextAlignment::Left, "system.png", 120);
    ASSERT_TRUE(fromFile.ok() && fallback.ok());
    int differing = 0;
    for (int y = 0; y < fromFile.height(); ++y) {
        for (int x = 0; x < fromFile.width(); ++x)
            differing += sameColor(fromFile.pixel(x, y), fallback.pixel(x, y)) ? 0 : 1;
    }
    EXPECT_GT(differing, 50);
    ui::FontRegistry::shared().resetForTesting();
}

TEST_F(ViewPainterTest, AttributedRunsKeepTheirColoursAndBaselineOffsets)
{
    // Two glyph runs in one label: the first lowered, the second raised by 6 points.
    auto paintRow = [&](double first, double second, const std::string& name) {
        auto root = ui::View::create({ { 0, 0 }, { 120, 60 } });
        root->setBackgroundColor(ui::Color::white());
        base::AttributedString text("MM");
        text.addForegroundColor({ 0, 1 }, ui::colorAttr(ui::Color::red()));
        text.addForegroundColor({ 1, 1 }, ui::colorAttr(ui::Color::blue()));
        text.addBaselineOffset({ 0, 1 }, first);
        text.addBaselineOffset({ 1, 1 }, second);
        auto label = ui::Label::create();
        label->setFont(ui::Font::systemFont(30));
        label->setAttributedText(text);
        label->setFrame({ { 0, 0 }, { 120, 60 } });
        root->addSubview(label);
        std::string path = m_folder.file(name);
        EXPECT_TRUE(writePNG(*root, path));
        return PngImage(path);
    };
    // The ink of a colour: its topmost and lowest rows.
    auto inkRows = [](const PngImage& png, const ui::Color& ink, int x0, int x1) {
        int top = -1;
        int bottom = -1;
        for (int y = 0; y < png.height(); ++y) {
            for (int x = x0; x < x1; ++x) {
                ui::Color c = png.pixel(x, y);
                bool isInk = std::abs(c.redComponent() - ink.redComponent()) < 0.25
                    && std::abs(c.blueComponent() - ink.blueComponent()) < 0.25 && c.greenComponent() < 0.4;
                if (isInk) {
                    if (top < 0)
                        top = y;
                    bottom = y;
                }
            }
        }
        return std::pair { top, bottom };
    };
    auto flat = paintRow(0, 0, "flat.png");
    auto moved = paintRow(-3, 6, "moved.png");
    ASSERT_TRUE(flat.ok() && moved.ok());
    // "M" at 30 points is 18 wide by the metric: the red one left of x 18, the blue one after.
    auto redFlat = inkRows(flat, ui::Color::red(), 0, 17);
    auto blueFlat = inkRows(flat, ui::Color::blue(), 19, 40);
    ASSERT_GE(redFlat.first, 0);
    ASSERT_GE(blueFlat.first, 0);
    EXPECT_NEAR(redFlat.first, blueFlat.first, 1);
    auto redMoved = inkRows(moved, ui::Color::red(), 0, 17);
    auto blueMoved = inkRows(moved, ui::Color::blue(), 19, 40);
    // Apart by the difference of their offsets, the lowered run 9 points below the raised.
    EXPECT_NEAR(redMoved.first - blueMoved.first, 9, 1.5);
    EXPECT_NEAR((redMoved.second - redMoved.first), (redFlat.second - redFlat.first), 1);
}

TEST_F(ViewPainterTest, ImagesAndAHostHookDrawIntoTheirViews)
{
    auto root = ui::View::create({ { 0, 0 }, { 100, 100 } });
    auto picture = ui::ImageView::create(ui::Image::fromFile(LECTORO_SAMPLES_DIR "/books/sample-pagebook/assets/pages/page-101.png"));
    picture->setFrame({ { 0, 0 }, { 50, 100 } });
    root->addSubview(picture);
    auto page = ui::View::create({ { 50, 0 }, { 50, 100 } });
    root->addSubview(page);

    ImageOptions options;
    options.background = ui::Color::white();
    std::vector<const ui::View*> hooked;
    options.contentHook = [&](const ui::View& view, Canvas& canvas) {
        hooked.push_back(&view);
        if (&view == page.get())
            canvas.fillRect(view.bounds(), ui::Color::blue());
    };
    std::string path = m_folder.file("image.png");
    ASSERT_TRUE(writePNG(*root, path, options));
    PngImage png(path);
    EXPECT_FALSE(sameColor(png.pixel(25, 50), ui::Color::white()));
    EXPECT_TRUE(sameColor(png.pixel(75, 50), ui::Color::blue()));
    EXPECT_EQ(hooked.size(), 3u);
}

TEST_F(ViewPainterTest, PicturesThatCannotBeMadeFailWithAReason)
{
    auto empty = ui::View::create();
    auto result = writePNG(*empty, m_folder.file("empty.png"));
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().code, errorNothingToDraw);

    auto view = ui::View::create({ { 0, 0 }, { 10, 10 } });
    result = writePNG(*view, m_folder.file("no/such/folder/view.png"));
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().domain, imageErrorDomain);
    EXPECT_EQ(result.error().code, errorCannotWrite);
}

} // namespace
} // namespace print
