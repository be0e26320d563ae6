#include "platform/print/ViewPainter.h"

#include "platform/print/PrintTestSupport.h"

#include "platform/base/RunLoop.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Switch.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

namespace print {
namespace {

using printtest::PngImage;
using printtest::sameColor;

const ui::Color filledColor = ui::Color::fromRGB255(200, 30, 40);
const ui::Color unfilledColor = ui::Color::fromRGB255(20, 60, 200);
const ui::Color knobColor = ui::Color::fromRGB255(250, 200, 0);

class ViewPainterControlsTest : public ::testing::Test {
protected:
    void SetUp() override { base::RunLoop::main().reset(); }

    // The control alone on white, one pixel a point.
    PngImage paintOnWhite(const std::shared_ptr<ui::View>& control, const ui::Size& size, const std::string& name)
    {
        auto root = ui::View::create({ {}, size });
        root->setBackgroundColor(ui::Color::white());
        root->addSubview(control);
        std::string path = m_folder.file(name);
        EXPECT_TRUE(writePNG(*root, path));
        return PngImage(path);
    }

    printtest::TemporaryFolder m_folder;
};

// A pop-over holding a slider must not picture as an empty box: the track is filled up to
// the thumb, unfilled after it, and the thumb sits where the value puts it.
TEST_F(ViewPainterControlsTest, ASliderShowsItsTrackFilledUpToItsThumb)
{
    struct Case {
        double value;
        const char* name;
    };
    for (const Case& c : { Case { 0.25, "quarter" }, Case { 0.75, "three-quarters" } }) {
        SCOPED_TRACE(c.name);
        auto slider = ui::Slider::create({ { 10, 10 }, { 200, 40 } });
        slider->setMinimumTrackTintColor(filledColor);
        slider->setMaximumTrackTintColor(unfilledColor);
        slider->setThumbTintColor(knobColor);
        slider->setValue(c.value);
        auto png = paintOnWhite(slider, { 220, 60 }, std::string(c.name) + ".png");
        ASSERT_TRUE(png.ok());

        ui::Rect track = slider->trackRect(slider->bounds());
        ui::Rect thumb = slider->thumbRect(slider->bounds(), track, slider->value());
        const int y = 10 + static_cast<int>(track.midY());
        const int thumbX = 10 + static_cast<int>(thumb.midX());
        EXPECT_TRUE(sameColor(png.pixel(10 + static_cast<int>(track.minX()) + 3, y), filledColor));
        EXPECT_TRUE(sameColor(png.pixel(thumbX - 18, y), filledColor)) << "filled right up to the thumb";
        EXPECT_TRUE(sameColor(png.pixel(thumbX + 18, y), unfilledColor)) << "unfilled right after it";
        EXPECT_TRUE(sameColor(png.pixel(10 + static_cast<int>(track.maxX()) - 3, y), unfilledColor));
        EXPECT_TRUE(sameColor(png.pixel(thumbX, y), knobColor)) << "the thumb is drawn over the track";
        EXPECT_TRUE(sameColor(png.pixel(thumbX, 10 + static_cast<int>(thumb.minY()) + 4), knobColor));
        EXPECT_TRUE(sameColor(png.pixel(thumbX - 40, y - 8), ui::Color::white())) << "nothing above the thin track";
    }
}

// A slider that draws its track where its own subclass says (a thicker or offset track)
// is painted there, and untinted parts take the view's tint and a light grey.
TEST_F(ViewPainterControlsTest, ASliderPaintsTheTrackItsClassLaysOutWithDefaultColours)
{
    class LowTrackSlider : public ui::Slider {
    public:
        LowTrackSlider()
            : ui::Slider({ { 0, 0 }, { 100, 40 } })
        {
        }
        ui::Rect trackRect(const ui::Rect& bounds) const override
        {
            return { { bounds.minX(), bounds.maxY() - 6 }, { bounds.size.width, 6 } };
        }
    };
    auto slider = std::make_shared<LowTrackSlider>();
    slider->setTintColor(filledColor);
    slider->setValue(1);
    auto png = paintOnWhite(slider, { 100, 40 }, "low.png");
    ASSERT_TRUE(png.ok());
    EXPECT_TRUE(sameColor(png.pixel(20, 37), filledColor)) << "the tint fills the track of a slider at its maximum";
    EXPECT_TRUE(sameColor(png.pixel(20, 20), ui::Color::white())) << "no track in the middle";
    slider->setValue(0);
    auto empty = paintOnWhite(slider, { 100, 40 }, "low-empty.png");
    ui::Color rest = empty.pixel(60, 37);
    EXPECT_FALSE(sameColor(rest, ui::Color::white())) << "an empty track still shows";
    EXPECT_FALSE(sameColor(rest, filledColor));
}

TEST_F(ViewPainterControlsTest, ASwitchShowsItsStateAndAProgressBarItsShare)
{
    auto toggle = ui::Switch::create({ { 0, 0 }, { 51, 31 } });
    toggle->setOnTintColor(filledColor);
    toggle->setOn(true);
    auto on = paintOnWhite(toggle, { 51, 31 }, "on.png");
    EXPECT_TRUE(sameColor(on.pixel(8, 15), filledColor)) << "an on switch is tinted";
    EXPECT_TRUE(sameColor(on.pixel(36, 15), ui::Color::white())) << "its knob at the trailing side";
    toggle->setOn(false);
    auto off = paintOnWhite(toggle, { 51, 31 }, "off.png");
    EXPECT_TRUE(sameColor(off.pixel(36, 15), ui::Color::white())) << "an off switch is not tinted";
    EXPECT_FALSE(sameColor(off.pixel(25, 0), ui::Color::white())) << "but outlined";

    auto progress = ui::ProgressView::create({ { 0, 0 }, { 100, 4 } });
    progress->setProgressTintColor(filledColor);
    progress->setTrackTintColor(unfilledColor);
    progress->setProgress(0.3);
    auto bar = paintOnWhite(progress, { 100, 4 }, "progress.png");
    EXPECT_TRUE(sameColor(bar.pixel(20, 2), filledColor));
    EXPECT_TRUE(sameColor(bar.pixel(60, 2), unfilledColor));
}

TEST_F(ViewPainterControlsTest, PageDotsMarkTheCurrentPageAndSegmentsTheSelectedOne)
{
    auto dots = ui::PageControl::create({ { 0, 0 }, { 64, 37 } });
    dots->setNumberOfPages(4);
    dots->setCurrentPage(2);
    dots->setPageIndicatorTintColor(unfilledColor);
    dots->setCurrentPageIndicatorTintColor(filledColor);
    auto png = paintOnWhite(dots, { 64, 37 }, "dots.png");
    // Four dots 16 apart, centred: the third is the current page.
    EXPECT_TRUE(sameColor(png.pixel(8, 18), unfilledColor));
    EXPECT_TRUE(sameColor(png.pixel(24, 18), unfilledColor));
    EXPECT_TRUE(sameColor(png.pixel(40, 18), filledColor));
    EXPECT_TRUE(sameColor(png.pixel(16, 18), ui::Color::white())) << "apart from each other";

    auto segments = ui::SegmentedControl::create({ "Page", "Book" }, { { 0, 0 }, { 200, 32 } });
    segments->setSelectedSegmentTintColor(knobColor);
    segments->setSelectedSegmentIndex(1);
    auto picture = paintOnWhite(segments, { 200, 32 }, "segments.png");
    EXPECT_TRUE(sameColor(picture.pixel(105, 6), knobColor)) << "the selected segment is raised in its tint";
    EXPECT_FALSE(sameColor(picture.pixel(5, 6), knobColor));
    EXPECT_FALSE(sameColor(picture.pixel(5, 6), ui::Color::white())) << "the others lie on the control's grey";
    auto ink = [&](int x0, int x1) {
        int dark = 0;
        for (int x = x0; x < x1; ++x)
            for (int y = 8; y < 24; ++y)
                dark += picture.pixel(x, y).redComponent() < 0.4 ? 1 : 0;
        return dark;
    };
    EXPECT_GT(ink(30, 70), 0) << "the first title is drawn in its segment";
    EXPECT_GT(ink(130, 170), 0) << "and the second in its own";
}

} // namespace
} // namespace print
