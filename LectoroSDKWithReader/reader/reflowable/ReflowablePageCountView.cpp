#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCountView.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

namespace lectoro {

std::shared_ptr<ReflowablePageCountView> ReflowablePageCountView::create()
{
    auto strip = std::shared_ptr<ReflowablePageCountView>(new ReflowablePageCountView);
    strip->buildViews();
    return strip;
}

ReflowablePageCountView::ReflowablePageCountView() = default;

// After construction: a subview added while the strip is not yet shared would not know its
// superview, and the labels would count as outside the window.
void ReflowablePageCountView::buildViews()
{
    m_contentView = ui::View::create();
    addSubview(m_contentView);
    m_pageLabel = ui::Label::create();
    m_pageLabel->setTextAlignment(ui::TextAlignment::Center);
    m_contentView->addSubview(m_pageLabel);
    m_readingTimeLeftLabel = ui::Label::create();
    m_readingTimeLeftLabel->setTextAlignment(ui::TextAlignment::Right);
    m_contentView->addSubview(m_readingTimeLeftLabel);
}

void ReflowablePageCountView::setPageData(const std::string& text)
{
    m_pageLabel->setText(text);
}

void ReflowablePageCountView::setTimeLeftData(const std::string& text)
{
    m_readingTimeLeftLabel->setText(text);
}

void ReflowablePageCountView::setCustomFontFamily(const std::string& family)
{
    m_customFontFamily = family;
    // A family the process does not know keeps the labels' current font.
    if (auto font = ui::Font::fromName(family, 12)) {
        m_pageLabel->setFont(*font);
        m_readingTimeLeftLabel->setFont(*font);
    }
}

void ReflowablePageCountView::setViewColors(
    const ui::Color& textColor, const std::optional<ui::Color>& backgroundColor)
{
    m_pageLabel->setTextColor(textColor);
    m_readingTimeLeftLabel->setTextColor(textColor);
    m_contentView->setBackgroundColor(backgroundColor);
}

void ReflowablePageCountView::layoutSubviews()
{
    ui::View::layoutSubviews();
    ui::Rect area = bounds();
    m_contentView->setFrame(area);
    m_pageLabel->setFrame({ 0, 0, area.size.width, area.size.height });
    m_readingTimeLeftLabel->setFrame({ area.size.width - 110, 0, 100, area.size.height });
}

} // namespace lectoro
