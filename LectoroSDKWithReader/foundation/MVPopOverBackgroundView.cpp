#include "LectoroSDKWithReader/foundation/MVPopOverBackgroundView.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>

namespace lectoro {

namespace {

std::mutex& arrowColorMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::optional<ui::Color>& storedArrowColor()
{
    static std::optional<ui::Color> color;
    return color;
}

} // namespace

std::shared_ptr<MVPopOverBackgroundView> MVPopOverBackgroundView::create(const ui::Rect& frame)
{
    return std::shared_ptr<MVPopOverBackgroundView>(new MVPopOverBackgroundView(frame));
}

ui::PopoverPresentationController::BackgroundViewFactory MVPopOverBackgroundView::factory()
{
    return [](const ui::Rect& frame) -> std::shared_ptr<ui::PopoverBackgroundView> { return create(frame); };
}

MVPopOverBackgroundView::MVPopOverBackgroundView(const ui::Rect& frame)
    : ui::PopoverBackgroundView(frame)
    , m_arrowImageView(ui::ImageView::create())
{
    setBackgroundColor(ui::Color::clear());
    addSubview(m_arrowImageView);
}

void MVPopOverBackgroundView::setArrowColor(std::optional<ui::Color> color)
{
    std::lock_guard lock(arrowColorMutex());
    storedArrowColor() = color;
}

ui::Color MVPopOverBackgroundView::getArrowColor()
{
    std::lock_guard lock(arrowColorMutex());
    return storedArrowColor().value_or(ui::Color::black());
}

void MVPopOverBackgroundView::setArrowDirection(ui::PopoverArrowDirection direction)
{
    ui::PopoverBackgroundView::setArrowDirection(direction);
    setNeedsLayout();
}

void MVPopOverBackgroundView::setArrowOffset(double offset)
{
    ui::PopoverBackgroundView::setArrowOffset(offset);
    setNeedsLayout();
}

ui::ImagePtr MVPopOverBackgroundView::drawArrowImage(const ui::Size& size)
{
    ui::ImageRenderer renderer(size, false);
    renderer.fill(ui::Rect(ui::Point(), size), ui::Color::clear());
    ui::BezierPath triangle;
    triangle.moveTo(ui::Point(size.width / 2, 0));
    triangle.lineTo(ui::Point(size.width, size.height));
    triangle.lineTo(ui::Point(0, size.height));
    triangle.closePath();
    renderer.fillPath(triangle, getArrowColor());
    return renderer.image();
}

void MVPopOverBackgroundView::layoutSubviews()
{
    ui::PopoverBackgroundView::layoutSubviews();
    const double base = arrowBase();
    const double height = arrowHeight();
    m_arrowImageView->setImage(drawArrowImage(ui::Size(base, height)));

    auto bounds = this->bounds();
    auto along = [this, base](double length) {
        double centred = std::round(static_cast<float>((length - base) / 2 + arrowOffset()));
        return std::max(9.0, std::min(centred, length - base - 9.0));
    };
    switch (arrowDirection()) {
    case ui::PopoverArrowDirection::Up:
        m_arrowImageView->setTransform(ui::AffineTransform());
        m_arrowImageView->setFrame(ui::Rect(along(bounds.size.width), 0, base, height));
        break;
    case ui::PopoverArrowDirection::Down:
        m_arrowImageView->setTransform(ui::AffineTransform::rotation(std::numbers::pi));
        m_arrowImageView->setFrame(ui::Rect(along(bounds.size.width), bounds.size.height - height, base, height));
        break;
    case ui::PopoverArrowDirection::Left:
        m_arrowImageView->setTransform(ui::AffineTransform::rotation(-std::numbers::pi / 2));
        m_arrowImageView->setFrame(ui::Rect(0, along(bounds.size.height), height, base));
        break;
    case ui::PopoverArrowDirection::Right:
        m_arrowImageView->setTransform(ui::AffineTransform::rotation(std::numbers::pi / 2));
        m_arrowImageView->setFrame(ui::Rect(bounds.size.width - height, along(bounds.size.height), height, base));
        break;
    default:
        m_arrowImageView->setFrame(ui::Rect(0, 0, base, height));
        break;
    }
}

} // namespace lectoro
