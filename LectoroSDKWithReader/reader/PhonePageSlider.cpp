#include "LectoroSDKWithReader/reader/PhonePageSlider.h"

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Label.h"
#include "platform/ui/Slider.h"

#include <cmath>

namespace lectoro {

namespace {

constexpr double previewWidth = 280;
constexpr double previewHeight = 120;

// The slider position as an index into the page lists; absent when it names no page.
std::optional<size_t> indexFor(const ui::Slider& slider, size_t count)
{
    double position = std::trunc(slider.value()) - 1;
    if (!(position >= 0) || position >= double(count))
        return std::nullopt;
    return static_cast<size_t>(position);
}

} // namespace

PhonePageSlider::PhonePageSlider(ReaderContext& context)
    : m_context(context)
{
}

std::shared_ptr<PlayerActionBarItem> PhonePageSlider::getPlayerItemForIphoneSlider()
{
    auto item = PlayerActionBarItem::create(ui::Rect {});
    item->setTag(itemTag);
    m_slider = ui::Slider::create();
    m_slider->setMinimumValue(1.0);
    m_slider->setContinuous(true);
    updatePageSliderForiPhoneBottom();
    ReaderContext* context = &m_context;
    m_slider->addTarget(ui::ControlEvent::ValueChanged, [context](ui::Control& control) {
        if (context->controller)
            context->controller->phonePageSlider().movePagesUsingSlider(static_cast<ui::Slider&>(control));
    });
    m_slider->addTarget(
        ui::ControlEvent::TouchUpInside | ui::ControlEvent::TouchUpOutside | ui::ControlEvent::TouchCancel,
        [context](ui::Control& control) {
            if (context->controller)
                context->controller->phonePageSlider().didEndIphoneSliderScrolling(
                    static_cast<ui::Slider&>(control));
        });
    if (m_context.theme) {
        m_slider->setThumbTintColor(m_context.theme->thumbnail_slider_filled_color());
        m_slider->setTintColor(m_context.theme->thumbnail_slider_slider_color());
    }
    item->addSubview(m_slider);
    m_slider->setTranslatesAutoresizingMaskIntoConstraints(false);
    ui::Constraint::activate({
        m_slider->leadingAnchor().constraintEqualTo(item->leadingAnchor()),
        m_slider->trailingAnchor().constraintEqualTo(item->trailingAnchor()),
        m_slider->topAnchor().constraintEqualTo(item->topAnchor()),
        m_slider->bottomAnchor().constraintEqualTo(item->bottomAnchor()),
    });
    return item;
}

void PhonePageSlider::updatePageSliderForiPhoneBottom()
{
    if (!m_slider || !m_context.controller)
        return;
    auto folios = m_context.controller->navigation().getFolioPagesForIphoneSlider();
    m_slider->setEnabled(!folios.empty());
    m_slider->setMaximumValue(double(folios.size()));
}

void PhonePageSlider::buildPreview()
{
    auto* controller = m_context.controller;
    if (!controller)
        return;
    auto container = controller->view();
    auto bounds = container->bounds();
    m_preview = ui::View::create(
        ui::Rect { { bounds.size.width / 2 - previewWidth / 2, bounds.size.height / 2 - previewHeight / 2 },
            { previewWidth, previewHeight } });
    if (m_context.theme)
        m_preview->setBackgroundColor(m_context.theme->thumbnail_slider_filled_color());
    container->addSubview(m_preview);

    // The page line runs from 10 inside the left edge to 10 beyond the right one, 15 above
    // the bottom; the chapter line sits 30 above it.
    double pageLabelTop = previewHeight - 15 - 20;
    m_pageLabel = ui::Label::create(ui::Rect { { 10, pageLabelTop }, { previewWidth, 20 } });
    m_preview->addSubview(m_pageLabel);
    m_chapterLabel = ui::Label::create(ui::Rect { { 10, 0 }, { previewWidth - 10, 0 } });
    m_chapterLabel->setNumberOfLines(0);
    m_preview->addSubview(m_chapterLabel);
}

void PhonePageSlider::movePagesUsingSlider(ui::Slider& slider)
{
    auto* controller = m_context.controller;
    if (!controller || !controller->navigation().pageDataForSliderDict())
        return;
    if (!m_preview)
        buildPreview();
    auto& navigation = controller->navigation();
    auto folios = navigation.getFolioPagesForIphoneSlider();
    auto index = indexFor(slider, folios.size());
    if (!index || !m_pageLabel)
        return;
    const std::string& folio = folios[*index];
    m_pageLabel->setText("Page: " + folio + "/" + folios.back());
    m_pageLabel->setTextColor(ui::Color::white());
    std::string chapter;
    if (const auto& chapters = navigation.pageDataForSliderDict()) {
        if (auto found = chapters->find(folio); found != chapters->end())
            chapter = found->second;
    }
    m_chapterLabel->setText(LocalizationHelper::localizedStringWithKey("CHAPTER_KEY") + " :" + chapter);
    m_chapterLabel->setTextColor(ui::Color::white());
    m_chapterLabel->sizeToFit();
    auto frame = m_chapterLabel->frame();
    frame.origin = { 10, m_pageLabel->frame().origin.y - 30 - frame.size.height };
    frame.size.width = previewWidth - 10;
    m_chapterLabel->setFrame(frame);
}

void PhonePageSlider::didEndIphoneSliderScrolling(ui::Slider& slider)
{
    if (m_preview)
        m_preview->removeFromSuperview();
    m_preview.reset();
    m_pageLabel.reset();
    m_chapterLabel.reset();
    auto* controller = m_context.controller;
    if (!controller || !m_context.renderer)
        return;
    auto pages = controller->navigation().getTotalPagesArray();
    if (auto index = indexFor(slider, pages.size()))
        m_context.renderer->navigateToPageNumber(pages[*index]);
}

} // namespace lectoro
