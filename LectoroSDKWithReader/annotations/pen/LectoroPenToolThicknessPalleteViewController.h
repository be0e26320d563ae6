#pragma once

// The pop-over holding the pen's thickness slider (2 to 10 points). It reports the value
// once, when the user lets go, and never places, keeps or closes itself: the owner sets
// its properties before touching its view, puts the view in a container and removes it
// when the user touches outside. One palette serves one opening.

#include "LectoroSDKWithReader/annotations/pen/PointToolItemDelegate.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionDelegate.h"
#include "platform/ui/Color.h"
#include "platform/ui/Slider.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <optional>

namespace lectoro {

// The slider's accessibility identifier.
inline constexpr const char* PENTOOL_SLIDER = "penToolSlider";

class LectoroPenToolThicknessPalleteViewController : public ui::ViewController, public PlayerActionDelegate {
public:
    static constexpr double minimumThickness = 2.0;
    static constexpr double maximumThickness = 10.0;
    static constexpr double sliderInset = 20.0;

    static std::shared_ptr<LectoroPenToolThicknessPalleteViewController> create();
    std::string_view className() const override { return "LectoroPenToolThicknessPalleteViewController"; }

    std::shared_ptr<PointToolItemDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<PointToolItemDelegate> delegate) { m_delegate = std::move(delegate); }
    float selectedThicknessValue() const { return m_selectedThicknessValue; }
    void setSelectedThicknessValue(float value) { m_selectedThicknessValue = value; }
    // The filled part of the track and the thumb.
    const std::optional<ui::Color>& thickenessSliderTintColor() const { return m_sliderTintColor; }
    void setThickenessSliderTintColor(std::optional<ui::Color> color) { m_sliderTintColor = color; }
    // The part of the track past the thumb.
    const std::optional<ui::Color>& sliderFilledColor() const { return m_sliderFilledColor; }
    void setSliderFilledColor(std::optional<ui::Color> color) { m_sliderFilledColor = color; }
    // The inner panel's colour; may be set before the view is built.
    void setThicknessPickerViewBackgroundColor(const std::optional<ui::Color>&);

    // The inner panel holding the slider; null once the view has disappeared.
    const std::shared_ptr<ui::View>& pointItemsBar() const { return m_pointItemsBar; }
    // Null until the view is built.
    const std::shared_ptr<ui::Slider>& slider() const { return m_slider; }

    void viewDidLoad() override;
    void viewWillDisappear(bool animated) override;
    void sliderValueChanged(ui::Slider&);
    void addShadow();

    // PlayerActionDelegate: nothing to do here.
    void didSelectedPlayerActionBar(PlayerActionBar&, PlayerActionBarItem&) override { }
    void willResetPlayerActionBar(PlayerActionBar&) override { }

protected:
    LectoroPenToolThicknessPalleteViewController();

private:
    std::weak_ptr<PointToolItemDelegate> m_delegate;
    float m_selectedThicknessValue = 0;
    std::optional<ui::Color> m_sliderTintColor;
    std::optional<ui::Color> m_sliderFilledColor;
    std::shared_ptr<ui::View> m_pointItemsBar;
    std::shared_ptr<ui::Slider> m_slider;
};

} // namespace lectoro
