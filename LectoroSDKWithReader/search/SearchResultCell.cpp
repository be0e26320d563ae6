#include "LectoroSDKWithReader/search/SearchResultCell.h"

#include "LectoroSDKWithReader/foundation/IconFontConstants.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/search/TextSearchView.h"
#include "platform/base/Strings.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <vector>

namespace lectoro {

namespace {

constexpr double searchRowPadding = 10;
constexpr double searchRowGap = 6;

ui::Font searchRowFont(double size)
{
    return getCustomFont(size).value_or(ui::Font::systemFont(size));
}

ui::Color searchRowColour(const std::optional<ui::Color>& colour)
{
    return colour.value_or(ui::Color::clear());
}

} // namespace

SearchResultCell::SearchResultCell(ui::TableViewCellStyle style, std::string reuseIdentifier)
    : ui::TableViewCell(style, std::move(reuseIdentifier))
{
}

std::shared_ptr<SearchResultCell> SearchResultCell::create(
    ui::TableViewCellStyle style, std::string reuseIdentifier)
{
    std::shared_ptr<SearchResultCell> cell(new SearchResultCell(style, std::move(reuseIdentifier)));
    cell->build();
    return cell;
}

void SearchResultCell::build()
{
    m_contentLabel = ui::Label::create();
    m_contentLabel->setNumberOfLines(3);
    m_contentLabel->setLineBreakMode(base::LineBreakMode::ByTruncatingTail);
    m_chapterNameLabel = ui::Label::create();
    m_pageNumberLabel = ui::Label::create();
    m_pageNumberLabel->setTextAlignment(base::TextAlignment::Right);
    const auto& content = contentView();
    for (const auto& label : { m_contentLabel, m_chapterNameLabel, m_pageNumberLabel }) {
        label->setTranslatesAutoresizingMaskIntoConstraints(false);
        content->addSubview(label);
    }
    // The folio keeps its width; the chapter's name gives way.
    m_pageNumberLabel->setContentCompressionResistancePriority(ui::LayoutPriority::required - 1, ui::LayoutConstraintAxis::Horizontal);
    m_pageNumberLabel->setContentHuggingPriority(ui::LayoutPriority::defaultHigh, ui::LayoutConstraintAxis::Horizontal);
    std::vector<ui::ConstraintPtr> constraints {
        m_contentLabel->leadingAnchor().constraintEqualTo(content->leadingAnchor(), searchRowPadding),
        m_contentLabel->trailingAnchor().constraintEqualTo(content->trailingAnchor(), -searchRowPadding),
        m_contentLabel->topAnchor().constraintEqualTo(content->topAnchor(), searchRowPadding),
        m_chapterNameLabel->leadingAnchor().constraintEqualTo(content->leadingAnchor(), searchRowPadding),
        m_chapterNameLabel->topAnchor().constraintEqualTo(m_contentLabel->bottomAnchor(), searchRowGap),
        m_chapterNameLabel->trailingAnchor().constraintLessThanOrEqualTo(
            m_pageNumberLabel->leadingAnchor(), -searchRowGap),
        m_pageNumberLabel->trailingAnchor().constraintEqualTo(content->trailingAnchor(), -searchRowPadding),
        m_pageNumberLabel->topAnchor().constraintEqualTo(m_contentLabel->bottomAnchor(), searchRowGap),
    };
    // The row is as tall as its texts; just below required, so the table's estimate
    // before it measured the row never contradicts them.
    for (const auto& label : { m_chapterNameLabel, m_pageNumberLabel }) {
        auto below = content->bottomAnchor().constraintGreaterThanOrEqualTo(label->bottomAnchor(), searchRowPadding);
        below->setPriority(ui::LayoutPriority::required - 1);
        constraints.push_back(below);
    }
    ui::Constraint::activate(constraints);
}

void SearchResultCell::setDataWithSeachResult(
    const TextSearchResult& hit, const ui::Color& selectedTextColor, const ui::Color& textColor)
{
    m_contentLabel->setFont(searchRowFont(17));
    m_contentLabel->setAttributedText(IconFontConstants::getNSAttributedCoreTextStringFromDisplayString(
        hit.searchResultAttributedString.string(), hit.searchedWord.value_or(""), selectedTextColor,
        textColor));
}

void SearchResultCell::setCaseSensitioveDataWithSeachResult(
    const TextSearchResult& hit, const ui::Color& selectedTextColor, const ui::Color& textColor)
{
    m_contentLabel->setFont(searchRowFont(17));
    m_contentLabel->setAttributedText(
        IconFontConstants::getCaseSensitiveNSAttributedCoreTextStringFromDisplayString(
            hit.searchResultAttributedString.string(), hit.searchedWord.value_or(""), selectedTextColor,
            textColor));
}

void SearchResultCell::fillRow(SearchResultCell& cell, const ui::IndexPath& indexPath,
    const std::shared_ptr<TextSearchResult>& hit, const std::shared_ptr<LectoroBookVO>& book,
    const std::shared_ptr<LXMVThemeVO>& theme, bool caseSensitive)
{
    cell.setAccessibilityIdentifier("readerSearchResultCell[" + std::to_string(indexPath.section) + ", "
        + std::to_string(indexPath.row) + "]");
    auto themeVO = theme ? theme : std::make_shared<LXMVThemeVO>();
    ui::Color marked = searchRowColour(themeVO->search_selected_text_color());
    ui::Color text = searchRowColour(themeVO->search_description_color());
    TextSearchResult empty;
    const TextSearchResult& shown = hit ? *hit : empty;
    if (caseSensitive)
        cell.setCaseSensitioveDataWithSeachResult(shown, marked, text);
    else
        cell.setDataWithSeachResult(shown, marked, text);
    cell.m_pageNumberLabel->setFont(searchRowFont(isIpad() ? 16 : 14));

    // A row names the hit's chapter and the page's printed folio, as the reader shows
    // them; the page's id and the chapter's file name mean nothing to a reader.
    std::string chapterText = shown.chapterTitle;
    std::string folio = shown.displayNumber;
    if (auto pageBook = std::dynamic_pointer_cast<PXBookVO>(book); pageBook && !shown.pageIndex.empty()) {
        if (auto chapter = pageBook->getChapterForPageID(shown.pageIndex); chapter && chapterText.empty())
            chapterText = chapter->title;
        if (folio.empty())
            folio = shown.pageIndex;
    }
    std::string pageText
        = folio.empty() ? std::string() : base::format("%@ %@", TextSearchConstants::localized("PAGE"), folio);
    cell.m_chapterNameLabel->setText(chapterText);
    cell.m_pageNumberLabel->setText(pageText);
    ui::Color subtext = searchRowColour(themeVO->search_subtext_color());
    cell.m_chapterNameLabel->setTextColor(subtext);
    cell.m_pageNumberLabel->setTextColor(subtext);
    cell.setBackgroundColor(searchRowColour(indexPath.row % 2 == 0 ? themeVO->search_separation_background()
                                                                   : themeVO->search_popup_background()));
    cell.setNeedsLayout();
}

} // namespace lectoro
