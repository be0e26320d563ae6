#include "LectoroSDKWithReader/search/SearchResultCell.h"

#include "LectoroSDKWithReader/foundation/IconFontConstants.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/search/TextSearchView.h"
#include "platform/base/Strings.h"
#include "platform/ui/Label.h"

#include <algorithm>

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
    for (const auto& label : { m_contentLabel, m_chapterNameLabel, m_pageNumberLabel })
        contentView()->addSubview(label);
}

void SearchResultCell::setDataWithSeachResult(
    const TextSearchResult& hit, const ui::Color& selectedTextColor, const ui::Color& textColor)
{
    m_contentLabel->setFont(searchRowFont(17));
    m_contentLabel->setAttributedText(IconFontConstants::getNSAttributedCoreTextStringFromDisplayString(
        hit.searchResultAttributedString.string(), hit.searchedWord.value_or(""), selectedTextColor,
        textColor));
    m_contentLabel->sizeToFit();
}

void SearchResultCell::setCaseSensitioveDataWithSeachResult(
    const TextSearchResult& hit, const ui::Color& selectedTextColor, const ui::Color& textColor)
{
    m_contentLabel->setFont(searchRowFont(17));
    m_contentLabel->setAttributedText(
        IconFontConstants::getCaseSensitiveNSAttributedCoreTextStringFromDisplayString(
            hit.searchResultAttributedString.string(), hit.searchedWord.value_or(""), selectedTextColor,
            textColor));
    m_contentLabel->sizeToFit();
}

std::string SearchResultCell::epubPageText(const std::string& pageIndex)
{
    size_t slash = pageIndex.find('/');
    if (slash == std::string::npos)
        return {};
    size_t dot = pageIndex.find('.', slash + 1);
    if (dot == std::string::npos)
        return {};
    return pageIndex.substr(slash + 1, dot - slash - 1);
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

    std::string chapterText;
    std::string pageText;
    if (auto pageBook = std::dynamic_pointer_cast<PXBookVO>(book)) {
        if (!shown.pageIndex.empty()) {
            if (auto chapter = pageBook->getChapterForPageID(shown.pageIndex))
                chapterText = chapter->title;
            pageText = base::format("%@ %@", TextSearchConstants::localized("PAGE"), shown.pageIndex);
        }
    } else {
        chapterText = shown.displayNumber;
        pageText = epubPageText(shown.pageIndex);
    }
    cell.m_chapterNameLabel->setText(chapterText);
    cell.m_pageNumberLabel->setText(pageText);
    ui::Color subtext = searchRowColour(themeVO->search_subtext_color());
    cell.m_chapterNameLabel->setTextColor(subtext);
    cell.m_pageNumberLabel->setTextColor(subtext);
    cell.m_pageNumberLabel->sizeToFit();
    cell.m_chapterNameLabel->sizeToFit();
    cell.setBackgroundColor(searchRowColour(indexPath.row % 2 == 0 ? themeVO->search_separation_background()
                                                                   : themeVO->search_popup_background()));
    cell.setNeedsLayout();
}

ui::Size SearchResultCell::sizeThatFits(const ui::Size& size) const
{
    double width = std::max(size.width - 2 * searchRowPadding, 1.0);
    double content = m_contentLabel->sizeThatFits({ width, 0 }).height;
    double footer = std::max(m_chapterNameLabel->sizeThatFits({ width, 0 }).height,
        m_pageNumberLabel->sizeThatFits({ width, 0 }).height);
    return { size.width, searchRowPadding + content + searchRowGap + footer + searchRowPadding };
}

void SearchResultCell::layoutSubviews()
{
    ui::TableViewCell::layoutSubviews();
    ui::Rect bounds = this->bounds();
    double width = std::max(bounds.size.width - 2 * searchRowPadding, 1.0);
    double content = m_contentLabel->sizeThatFits({ width, 0 }).height;
    m_contentLabel->setFrame({ searchRowPadding, searchRowPadding, width, content });
    double footerTop = searchRowPadding + content + searchRowGap;
    ui::Size page = m_pageNumberLabel->sizeThatFits({ width, 0 });
    m_pageNumberLabel->setFrame(
        { searchRowPadding + width - page.width, footerTop, page.width, page.height });
    double chapterWidth = std::max(width - page.width - searchRowGap, 1.0);
    m_chapterNameLabel->setFrame({ searchRowPadding, footerTop, chapterWidth,
        m_chapterNameLabel->sizeThatFits({ chapterWidth, 0 }).height });
}

} // namespace lectoro
