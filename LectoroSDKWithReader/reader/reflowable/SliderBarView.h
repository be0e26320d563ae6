#pragma once

// The page slider of a reflowable book in scroll mode: a track in a container whose height
// the reader sets, a percentage label, and two handlers (value while dragging, value on
// release). Stands in for the companion framework's slider bar view.

#include "platform/ui/Constraint.h"
#include "platform/ui/Image.h"
#include "platform/ui/View.h"

#include <functional>
#include <memory>
#include <optional>

namespace ui {
class Label;
class Slider;
} // namespace ui

namespace lectoro {

class SliderBarView : public ui::View {
public:
    using ValueHandler = std::function<void(float)>;

    static std::shared_ptr<SliderBarView> create(bool verticalSliderValue);
    std::string_view className() const override { return "SliderBarView"; }

    bool isVertical() const { return m_vertical; }
    const std::shared_ptr<ui::Slider>& pageSlider() const { return m_pageSlider; }
    const std::shared_ptr<ui::Label>& percentageLabel() const { return m_percentageLabel; }
    // The percentage label shows how far the thumb is along the track: "42%".
    void updatePercentage();
    // The height of the view that holds the track.
    const ui::ConstraintPtr& sliderContainerVewHeight() const { return m_containerHeight; }

    void enableSliderThumbImage(bool);
    bool isSliderThumbImageEnabled() const { return m_thumbImageEnabled; }
    void setSliderThumbColour(const std::optional<ui::Color>& thumb, const std::optional<ui::Color>& maxTint,
        const std::optional<ui::Color>& minTint);
    void setImageForSlider(ui::ImagePtr, const std::optional<ui::Color>& colour);
    const std::optional<ui::Color>& sliderImageColour() const { return m_imageColour; }

    void setSliderValueChanged(ValueHandler handler) { m_valueChanged = std::move(handler); }
    void setSliderMoves(ValueHandler handler) { m_moves = std::move(handler); }

protected:
    explicit SliderBarView(bool vertical);

private:
    void build();

    bool m_vertical = true;
    bool m_thumbImageEnabled = true;
    std::shared_ptr<ui::View> m_container;
    std::shared_ptr<ui::Slider> m_pageSlider;
    std::shared_ptr<ui::Label> m_percentageLabel;
    ui::ConstraintPtr m_containerHeight;
    ui::ImagePtr m_thumbImage;
    std::optional<ui::Color> m_imageColour;
    ValueHandler m_valueChanged;
    ValueHandler m_moves;
};

} // namespace lectoro
