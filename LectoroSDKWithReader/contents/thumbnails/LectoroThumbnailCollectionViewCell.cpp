#include "LectoroSDKWithReader/contents/thumbnails/LectoroThumbnailCollectionViewCell.h"

#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "platform/ui/Environment.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

#include <algorithm>

namespace lectoro {

namespace {

constexpr double thumbnailImageInset = 4;

} // namespace

LectoroThumbnailCollectionViewCell::Metrics LectoroThumbnailCollectionViewCell::metrics()
{
    if (ui::Environment::current().isPad())
        return { 14, 14, 26, 28, 35, 0, 5 };
    return { 12, 13, 22, 22, 20, 5, 2 };
}

std::shared_ptr<LectoroThumbnailCollectionViewCell> LectoroThumbnailCollectionViewCell::create(
    std::string reuseIdentifier)
{
    std::shared_ptr<LectoroThumbnailCollectionViewCell> cell(
        new LectoroThumbnailCollectionViewCell(std::move(reuseIdentifier)));
    cell->constructUI();
    return cell;
}

void LectoroThumbnailCollectionViewCell::constructUI()
{
    const Metrics m = metrics();
    auto numberFont = getCustomFont(m.numberFontSize).value_or(ui::Font::systemFont(m.numberFontSize));
    m_pageSuperView = ui::View::create();
    m_pageSuperView->setTranslatesAutoresizingMaskIntoConstraints(false);
    addSubview(m_pageSuperView);
    contentView()->setBackgroundColor(ui::Color::clear());

    m_pageNumLabel = ui::Label::create();
    m_pageNumLabel->setTextAlignment(ui::TextAlignment::Center);
    m_pageNumLabel->setFont(numberFont);
    m_chapterTitleLabel = ui::Label::create();
    m_chapterTitleLabel->setTextAlignment(ui::TextAlignment::Natural);
    m_chapterTitleLabel->setFont(getCustomFontForWeight(m.titleFontSize, ui::FontWeight::Regular)
            .value_or(ui::Font::systemFont(m.titleFontSize)));
    addSubview(m_chapterTitleLabel);

    m_pageImageview = ui::ImageView::create();
    m_pageImageview->layer()->setBorderWidth(1.0);
    m_pageImageview->setContentMode(ui::ContentMode::ScaleAspectFit);
    m_pageSuperView->addSubview(m_pageImageview);
    m_pageSuperView->addSubview(m_pageNumLabel);

    m_pageNumLabelForHighlightedSection = ui::Label::create();
    m_pageNumLabelForHighlightedSection->setTextAlignment(ui::TextAlignment::Center);
    m_pageNumLabelForHighlightedSection->setFont(numberFont);
    m_pageSuperView->addSubview(m_pageNumLabelForHighlightedSection);

    for (const auto& view : std::initializer_list<std::shared_ptr<ui::View>> {
             m_pageNumLabel, m_chapterTitleLabel, m_pageImageview, m_pageNumLabelForHighlightedSection })
        view->setTranslatesAutoresizingMaskIntoConstraints(false);
    const auto& content = contentView();
    ui::Constraint::activate({
        m_pageSuperView->leadingAnchor().constraintEqualTo(leadingAnchor()),
        m_pageSuperView->trailingAnchor().constraintEqualTo(trailingAnchor()),
        m_pageSuperView->topAnchor().constraintEqualTo(m_chapterTitleLabel->bottomAnchor(), m.titleGap),
        m_pageSuperView->bottomAnchor().constraintEqualTo(content->bottomAnchor()),
        m_pageImageview->leadingAnchor().constraintEqualTo(m_pageSuperView->leadingAnchor(), thumbnailImageInset),
        m_pageImageview->trailingAnchor().constraintEqualTo(m_pageSuperView->trailingAnchor(), -thumbnailImageInset),
        m_pageImageview->topAnchor().constraintEqualTo(m_pageSuperView->topAnchor(), thumbnailImageInset),
        m_pageImageview->bottomAnchor().constraintEqualTo(m_pageSuperView->bottomAnchor(), -thumbnailImageInset),
        m_pageNumLabel->topAnchor().constraintEqualTo(m_pageImageview->topAnchor()),
        m_pageNumLabel->leadingAnchor().constraintEqualTo(m_pageImageview->leadingAnchor()),
        m_pageNumLabel->heightAnchor().constraintEqualToConstant(m.numberHeight),
        m_pageNumLabel->widthAnchor().constraintGreaterThanOrEqualToConstant(m.numberMinimumWidth),
        m_pageNumLabelForHighlightedSection->topAnchor().constraintEqualTo(m_pageSuperView->topAnchor()),
        m_pageNumLabelForHighlightedSection->leadingAnchor().constraintEqualTo(m_pageSuperView->leadingAnchor()),
        m_pageNumLabelForHighlightedSection->trailingAnchor().constraintEqualTo(m_pageNumLabel->trailingAnchor()),
        m_pageNumLabelForHighlightedSection->bottomAnchor().constraintEqualTo(m_pageNumLabel->bottomAnchor()),
        m_chapterTitleLabel->topAnchor().constraintEqualTo(content->topAnchor(), m.titleTopInset),
        m_chapterTitleLabel->leadingAnchor().constraintEqualTo(m_pageImageview->leadingAnchor()),
        m_chapterTitleLabel->trailingAnchor().constraintEqualTo(m_pageSuperView->trailingAnchor()),
        m_chapterTitleLabel->heightAnchor().constraintEqualToConstant(m.titleHeight),
    });
}

// A cell without a chapter title keeps the title's room, so the thumbnails of a row align.
void LectoroThumbnailCollectionViewCell::layoutSubviews()
{
    CollectionViewCell::layoutSubviews();
    const Metrics m = metrics();
    const ui::Size size = bounds().size;
    const double frameTop = m.titleTopInset + m.titleHeight + m.titleGap;
    m_pageSuperView->setFrame({ 0, frameTop, size.width, std::max(0.0, size.height - frameTop) });
    const ui::Size frame = m_pageSuperView->frame().size;
    m_pageImageview->setFrame({ thumbnailImageInset, thumbnailImageInset,
        std::max(0.0, frame.width - 2 * thumbnailImageInset), std::max(0.0, frame.height - 2 * thumbnailImageInset) });
    const double numberWidth
        = std::max(m.numberMinimumWidth, m_pageNumLabel->sizeThatFits({ 0, m.numberHeight }).width);
    m_pageNumLabel->setFrame({ thumbnailImageInset, thumbnailImageInset, numberWidth, m.numberHeight });
    m_pageNumLabelForHighlightedSection->setFrame(
        { 0, 0, thumbnailImageInset + numberWidth, thumbnailImageInset + m.numberHeight });
    m_chapterTitleLabel->setFrame({ thumbnailImageInset, m.titleTopInset,
        std::max(0.0, size.width - thumbnailImageInset), m.titleHeight });
}

} // namespace lectoro
