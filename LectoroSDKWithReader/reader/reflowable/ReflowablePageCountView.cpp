#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCountView.h"

#include "platform/ui/Constraint.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

namespace lectoro {

namespace {
// Between the strip's ends and its texts, and between the two texts.
constexpr double stripInset = 10;
} // namespace

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
    m_contentView->setTranslatesAutoresizingMaskIntoConstraints(false);
    addSubview(m_contentView);
    m_pageLabel = ui::Label::create();
    m_pageLabel->setTextAlignment(ui::TextAlignment::Center);
    m_pageLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_contentView->addSubview(m_pageLabel);
    m_readingTimeLeftLabel = ui::Label::create();
    m_readingTimeLeftLabel->setTextAlignment(ui::TextAlignment::Right);
    m_readingTimeLeftLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_contentView->addSubview(m_readingTimeLeftLabel);

    // The page line stands in the middle as long as it clears the time left at the
    // trailing end; on a narrow strip it gives way towards the leading end.
    auto centred = m_pageLabel->centerXAnchor().constraintEqualTo(m_contentView->centerXAnchor());
    centred->setPriority(ui::LayoutPriority::defaultHigh);
    m_readingTimeLeftLabel->setContentCompressionResistancePriority(
        ui::LayoutPriority::required - 1, ui::LayoutConstraintAxis::Horizontal);
    ui::Constraint::activate({
        m_contentView->leadingAnchor().constraintEqualTo(leadingAnchor()),
        m_contentView->trailingAnchor().constraintEqualTo(trailingAnchor()),
        m_contentView->topAnchor().constraintEqualTo(topAnchor()),
        m_contentView->bottomAnchor().constraintEqualTo(bottomAnchor()),
        centred,
        m_pageLabel->leadingAnchor().constraintGreaterThanOrEqualTo(m_contentView->leadingAnchor(), stripInset),
        m_pageLabel->trailingAnchor().constraintLessThanOrEqualTo(m_readingTimeLeftLabel->leadingAnchor(), -stripInset),
        m_pageLabel->topAnchor().constraintEqualTo(m_contentView->topAnchor()),
        m_pageLabel->bottomAnchor().constraintEqualTo(m_contentView->bottomAnchor()),
        m_readingTimeLeftLabel->trailingAnchor().constraintEqualTo(m_contentView->trailingAnchor(), -stripInset),
        m_readingTimeLeftLabel->topAnchor().constraintEqualTo(m_contentView->topAnchor()),
        m_readingTimeLeftLabel->bottomAnchor().constraintEqualTo(m_contentView->bottomAnchor()),
    });
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

} // namespace lectoro
