// The thickness palette and the thin-track slider.

#include "LectoroSDKWithReader/annotations/pen/CustomSlider.h"
#include "LectoroSDKWithReader/annotations/pen/LectoroPenToolThicknessPalleteViewController.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Layer.h"

#include <gtest/gtest.h>

namespace lectoro {
namespace {

class ThicknessRecordingOwner final : public PointToolItemDelegate {
public:
    void didSelectPenThickness(float value) override { chosen.push_back(value); }
    void willDismissPenToolThicknessPalleteView() override { ++dismissed; }
    std::vector<float> chosen;
    int dismissed = 0;
};

class ThicknessPaletteTests : public ::testing::Test {
protected:
    void SetUp() override { base::RunLoop::main().reset(); }

    std::shared_ptr<LectoroPenToolThicknessPalleteViewController> palette(float start)
    {
        auto made = LectoroPenToolThicknessPalleteViewController::create();
        made->setDelegate(m_owner);
        made->setSelectedThicknessValue(start);
        made->setThickenessSliderTintColor(ui::Color::red());
        made->setSliderFilledColor(ui::Color::blue());
        made->setThicknessPickerViewBackgroundColor(ui::Color::white());
        made->view();
        return made;
    }

    ui::EnvironmentScope m_environment;
    std::shared_ptr<ThicknessRecordingOwner> m_owner = std::make_shared<ThicknessRecordingOwner>();
};

TEST_F(ThicknessPaletteTests, TheSliderReportsOnceAtReleaseWithinTwoToTen)
{
    auto made = palette(4.0f);
    auto slider = made->slider();
    ASSERT_TRUE(slider);
    EXPECT_DOUBLE_EQ(slider->minimumValue(), 2.0);
    EXPECT_DOUBLE_EQ(slider->maximumValue(), 10.0);
    EXPECT_FALSE(slider->isContinuous());
    EXPECT_EQ(slider->thumbTintColor(), std::optional<ui::Color>(ui::Color::red()));
    EXPECT_EQ(slider->maximumTrackTintColor(), std::optional<ui::Color>(ui::Color::blue()));
    EXPECT_EQ(slider->accessibilityIdentifier(), PENTOOL_SLIDER);
    EXPECT_EQ(made->pointItemsBar()->backgroundColor(), std::optional<ui::Color>(ui::Color::white()));

    slider->simulateSlide({ 5.0, 6.25, 7.75 });
    EXPECT_EQ(m_owner->chosen, std::vector<float>({ 7.75f }));
}

TEST_F(ThicknessPaletteTests, AStartOutsideTheRangeShowsTheNearerEndAndReportsNothing)
{
    auto low = palette(0.0f);
    EXPECT_DOUBLE_EQ(low->slider()->value(), 2.0);
    auto high = palette(30.0f);
    EXPECT_DOUBLE_EQ(high->slider()->value(), 10.0);
    EXPECT_TRUE(m_owner->chosen.empty());
}

TEST_F(ThicknessPaletteTests, APaletteWhoseOwnerIsGoneReportsToNobody)
{
    auto made = palette(4.0f);
    m_owner.reset();
    made->slider()->simulateSlide({ 8.0 });
    made->viewWillDisappear(false);
    EXPECT_FALSE(made->pointItemsBar());
}

TEST_F(ThicknessPaletteTests, DisappearingDropsThePanelAndTellsTheOwner)
{
    auto made = palette(4.0f);
    auto panel = made->pointItemsBar();
    made->viewWillDisappear(false);
    EXPECT_FALSE(panel->superview());
    EXPECT_EQ(m_owner->dismissed, 1);
}

TEST_F(ThicknessPaletteTests, ShadingAndCornersFollowTheDevice)
{
    struct Case {
        ui::UserInterfaceIdiom idiom;
        double shadowRadius;
        double viewCorner;
        double panelCorner;
    };
    for (const auto& c : { Case { ui::UserInterfaceIdiom::Pad, 14.0, 5.0, 4.0 },
             Case { ui::UserInterfaceIdiom::Phone, 8.0, 8.0, 8.0 },
             Case { ui::UserInterfaceIdiom::Unspecified, 8.0, 8.0, 8.0 } }) {
        ui::Environment::current().setIdiom(c.idiom);
        auto made = palette(4.0f);
        auto layer = made->view()->layer();
        EXPECT_DOUBLE_EQ(layer->shadowRadius(), c.shadowRadius);
        EXPECT_DOUBLE_EQ(layer->cornerRadius(), c.viewCorner);
        EXPECT_DOUBLE_EQ(layer->shadowOpacity(), 0.4);
        EXPECT_DOUBLE_EQ(layer->borderWidth(), 0.3);
        EXPECT_DOUBLE_EQ(made->pointItemsBar()->layer()->cornerRadius(), c.panelCorner);
    }
}

TEST_F(ThicknessPaletteTests, TheCustomTrackKeepsOriginAndWidthAtFourPointsHigh)
{
    auto slider = CustomSlider::create();
    for (const auto& bounds : { ui::Rect { { 0, 0 }, { 200, 30 } }, ui::Rect { { 5, 7 }, { 10, 1 } },
             ui::Rect { { -3, 2 }, { 0, 0 } } }) {
        auto track = slider->trackRect(bounds);
        EXPECT_EQ(track.origin, bounds.origin);
        EXPECT_DOUBLE_EQ(track.size.width, bounds.size.width);
        EXPECT_DOUBLE_EQ(track.size.height, 4.0);
    }
}

} // namespace
} // namespace lectoro
