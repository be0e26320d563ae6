#include "LectoroSDKWithReader/reader/reflowable/SliderBarView.h"

#include "platform/base/Strings.h"
#include "platform/ui/Label.h"
#include "platform/ui/Slider.h"

#include <cmath>

namespace lectoro {

std::shared_ptr<SliderBarView> SliderBarView::create(bool verticalSliderValue)
{
    std::shared_ptr<SliderBarView> view(new SliderBarView(verticalSliderValue));
    view->build();
    return view;
}

SliderBarView::SliderBarView(bool vertical)
    : m_vertical(vertical)
{
}

void SliderBarView::build()
{
    m_container = ui::View::create();
    m_container->setTranslatesAutoresizingMaskIntoConstraints(false);
    addSubview(m_container);
    m_containerHeight = m_container->heightAnchor().constraintEqualToConstant(0);
    m_containerHeight->setActive(true);

    m_pageSlider = ui::Slider::create();
    m_container->addSubview(m_pageSlider);
    std::weak_ptr<ui::View> weakSelf = weak_from_this();
    m_pageSlider->addTarget(ui::ControlEvent::ValueChanged, [weakSelf](ui::Control& control) {
        auto self = std::static_pointer_cast<SliderBarView>(weakSelf.lock());
        if (self && self->m_moves)
            self->m_moves(static_cast<float>(static_cast<ui::Slider&>(control).value()));
    });
    m_pageSlider->addTarget(
        ui::ControlEvent::TouchUpInside | ui::ControlEvent::TouchUpOutside, [weakSelf](ui::Control& control) {
            auto self = std::static_pointer_cast<SliderBarView>(weakSelf.lock());
            if (self && self->m_valueChanged)
                self->m_valueChanged(static_cast<float>(static_cast<ui::Slider&>(control).value()));
        });

    m_percentageLabel = ui::Label::create();
    addSubview(m_percentageLabel);
}

void SliderBarView::updatePercentage()
{
    double range = m_pageSlider->maximumValue() - m_pageSlider->minimumValue();
    double fraction = range > 0 ? (m_pageSlider->value() - m_pageSlider->minimumValue()) / range : 0;
    m_percentageLabel->setText(base::format("%ld%%", static_cast<int64_t>(std::trunc(fraction * 100))));
}

void SliderBarView::enableSliderThumbImage(bool enabled)
{
    m_thumbImageEnabled = enabled;
    m_pageSlider->setThumbImage(enabled ? m_thumbImage : nullptr);
}

void SliderBarView::setSliderThumbColour(const std::optional<ui::Color>& thumb,
    const std::optional<ui::Color>& maxTint, const std::optional<ui::Color>& minTint)
{
    m_pageSlider->setThumbTintColor(thumb);
    m_pageSlider->setMaximumTrackTintColor(maxTint);
    m_pageSlider->setMinimumTrackTintColor(minTint);
}

void SliderBarView::setImageForSlider(ui::ImagePtr image, const std::optional<ui::Color>& colour)
{
    m_thumbImage = std::move(image);
    m_imageColour = colour;
    if (m_thumbImageEnabled)
        m_pageSlider->setThumbImage(m_thumbImage);
}

} // namespace lectoro
