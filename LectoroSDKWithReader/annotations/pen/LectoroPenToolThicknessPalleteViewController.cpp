#include "LectoroSDKWithReader/annotations/pen/LectoroPenToolThicknessPalleteViewController.h"

#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Layer.h"

namespace lectoro {

namespace {

bool thicknessPaletteOnPad()
{
    return ui::Environment::current().isPad();
}

} // namespace

std::shared_ptr<LectoroPenToolThicknessPalleteViewController> LectoroPenToolThicknessPalleteViewController::create()
{
    return std::shared_ptr<LectoroPenToolThicknessPalleteViewController>(
        new LectoroPenToolThicknessPalleteViewController);
}

LectoroPenToolThicknessPalleteViewController::LectoroPenToolThicknessPalleteViewController()
    : m_pointItemsBar(ui::View::create())
{
}

void LectoroPenToolThicknessPalleteViewController::setThicknessPickerViewBackgroundColor(
    const std::optional<ui::Color>& color)
{
    if (m_pointItemsBar)
        m_pointItemsBar->setBackgroundColor(color);
}

void LectoroPenToolThicknessPalleteViewController::viewDidLoad()
{
    const bool pad = thicknessPaletteOnPad();
    auto slider = ui::Slider::create();
    slider->setTintColor(m_sliderTintColor);
    slider->setThumbTintColor(m_sliderTintColor);
    slider->setMaximumTrackTintColor(m_sliderFilledColor);
    slider->setMinimumValue(minimumThickness);
    slider->setMaximumValue(maximumThickness);
    // One report, at release: the pen must not restyle itself at every step of a drag.
    slider->setContinuous(false);
    slider->setValue(m_selectedThicknessValue);
    std::weak_ptr<LectoroPenToolThicknessPalleteViewController> weakSelf
        = std::static_pointer_cast<LectoroPenToolThicknessPalleteViewController>(shared_from_this());
    slider->addTarget(ui::ControlEvent::ValueChanged, [weakSelf](ui::Control& control) {
        auto self = weakSelf.lock();
        if (auto* changed = dynamic_cast<ui::Slider*>(&control); self && changed)
            self->sliderValueChanged(*changed);
    });
    m_slider = slider;

    auto panel = m_pointItemsBar;
    slider->setTranslatesAutoresizingMaskIntoConstraints(false);
    panel->addSubview(slider);
    ui::Constraint::activate({
        slider->centerYAnchor().constraintEqualTo(panel->centerYAnchor()),
        slider->leadingAnchor().constraintEqualTo(panel->leadingAnchor(), sliderInset),
        slider->trailingAnchor().constraintEqualTo(panel->trailingAnchor(), -sliderInset),
    });

    auto root = view();
    panel->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(panel);
    panel->setClipsToBounds(true);
    panel->layer()->setCornerRadius(pad ? 4.0 : 8.0);
    ui::Constraint::activate({
        panel->topAnchor().constraintEqualTo(root->topAnchor()),
        panel->bottomAnchor().constraintEqualTo(root->bottomAnchor()),
        panel->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        panel->trailingAnchor().constraintEqualTo(root->trailingAnchor()),
    });

    addShadow();
    root->layoutIfNeeded();
    addReaderAccessibilityOn(*slider, "PenToolThicknessSlider", "");
    // The table call names the element by its table id; scripts find the slider by its own.
    slider->setAccessibilityIdentifier(PENTOOL_SLIDER);
}

void LectoroPenToolThicknessPalleteViewController::addShadow()
{
    const bool pad = thicknessPaletteOnPad();
    auto root = view();
    auto layer = root->layer();
    layer->setMasksToBounds(false);
    layer->setShadowColor(ui::Color::black());
    layer->setShadowOffset({ 0, 2 });
    layer->setShadowOpacity(0.4);
    layer->setShadowRadius(pad ? 14.0 : 8.0);
    root->setClipsToBounds(false);
    layer->setBorderWidth(0.3);
    layer->setCornerRadius(pad ? 5.0 : 8.0);
}

void LectoroPenToolThicknessPalleteViewController::sliderValueChanged(ui::Slider& slider)
{
    if (auto owner = delegate())
        owner->didSelectPenThickness(static_cast<float>(slider.value()));
}

void LectoroPenToolThicknessPalleteViewController::viewWillDisappear(bool animated)
{
    ui::ViewController::viewWillDisappear(animated);
    if (m_pointItemsBar) {
        m_pointItemsBar->removeFromSuperview();
        m_pointItemsBar.reset();
    }
    if (auto owner = delegate())
        owner->willDismissPenToolThicknessPalleteView();
}

} // namespace lectoro
