#include "LectoroSDKWithReader/annotations/HighLightToolView.h"

#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

namespace lectoro {

std::shared_ptr<HighLightToolView> HighLightToolView::create(const ui::Rect& frame)
{
    auto view = std::shared_ptr<HighLightToolView>(new HighLightToolView(frame));
    view->build();
    return view;
}

HighLightToolView::HighLightToolView(const ui::Rect& frame)
    : ui::View(frame)
{
}

void HighLightToolView::build()
{
    m_contentView = ui::View::create(frame());
    m_contentView->setAutoresizingMask(
        ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    addSubview(m_contentView);

    // Ring and dot share the content view's centre; their size constraints alone size them.
    m_borderView = ui::View::create();
    m_borderView->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_contentView->addSubview(m_borderView);
    m_iconLabel = ui::Label::create();
    m_iconLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_iconLabel->setTextAlignment(ui::TextAlignment::Center);
    m_contentView->addSubview(m_iconLabel);

    m_widthConstraintOfIcon = m_iconLabel->widthAnchor().constraintEqualToConstant(0);
    m_heightConstraintOfIcon = m_iconLabel->heightAnchor().constraintEqualToConstant(0);
    m_widthConstraintOfBorderView = m_borderView->widthAnchor().constraintEqualToConstant(14);
    m_heightConstraintOfBorderView = m_borderView->heightAnchor().constraintEqualToConstant(14);
    ui::Constraint::activate({
        m_widthConstraintOfIcon,
        m_heightConstraintOfIcon,
        m_widthConstraintOfBorderView,
        m_heightConstraintOfBorderView,
        m_borderView->centerXAnchor().constraintEqualTo(m_contentView->centerXAnchor()),
        m_borderView->centerYAnchor().constraintEqualTo(m_contentView->centerYAnchor()),
        m_iconLabel->centerXAnchor().constraintEqualTo(m_contentView->centerXAnchor()),
        m_iconLabel->centerYAnchor().constraintEqualTo(m_contentView->centerYAnchor()),
    });
}

void HighLightToolView::resetViewForColorPalletWithColorHeight(double h)
{
    m_widthConstraintOfIcon->setConstant(h);
    m_heightConstraintOfIcon->setConstant(h);
    m_widthConstraintOfBorderView->setConstant(h + 14);
    m_heightConstraintOfBorderView->setConstant(h + 14);
    m_iconLabel->layer()->setCornerRadius(h * 0.5);
    m_borderView->layer()->setCornerRadius(m_widthConstraintOfBorderView->constant() / 2);
    m_borderView->setClipsToBounds(true);
    m_iconLabel->setClipsToBounds(true);
    m_contentView->setBackgroundColor(ui::Color::clear());
    layoutIfNeeded();
}

} // namespace lectoro
