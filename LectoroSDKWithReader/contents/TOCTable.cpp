// What the contents table shows on each tab: sections, rows, heights, row cells and
// section headers.

#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/TOCViewController.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/NSStringExpanded.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"

namespace lectoro {

namespace {

// "PAGE 12", or "12 PAGE" when text runs right to left.
std::string pageCaption(const std::string& number)
{
    std::string word = TOCConstants::localized("PAGE");
    return ui::Environment::current().isRightToLeft() ? number + " " + word : word + " " + number;
}

} // namespace

std::string iconForResourceType(const std::string& typeId)
{
    if (typeId == "video")
        return ICON_VIDEO1;
    if (typeId == "audio")
        return ICON_AUDIO;
    if (typeId == "web links")
        return ICON_WEBLINK;
    if (typeId == "documents")
        return ICON_ASSESSMENT;
    if (typeId == "image")
        return ICON_IMAGE1;
    if (typeId == "toc")
        return ICON_JUMP_TO_SCREEN;
    return {};
}

std::string iconForLinkType(int32_t linkType)
{
    switch (linkType) {
    case 2:
    case 11:
        return ICON_AUDIO;
    case 3:
    case 17:
    case 18:
    case 24:
        return ICON_VIDEO1;
    case 4:
    case 14:
    case 22:
        return ICON_IMAGE1;
    case 8:
    case 9:
    case 12:
    case 15:
    case 19:
    case 25:
        return ICON_WEBLINK;
    case 10:
        return ICON_ASSESSMENT;
    case 7:
    case 21:
        return ICON_JUMP_TO_SCREEN;
    default:
        return {};
    }
}

// Every digit is kept: "page-10" is page 10.
std::string pageDigitsOfHref(const std::string& href)
{
    std::string digits;
    for (char c : href) {
        if (c >= '0' && c <= '9')
            digits.push_back(c);
    }
    return digits;
}

// MARK: - Counts and heights

int TOCViewController::numberOfSectionsInTableView(ui::TableView&)
{
    switch (m_selectedButton) {
    case TOCFilterContents:
        return static_cast<int>(m_model.dataArray().size());
    case TOCFilterResources:
        return static_cast<int>(m_isExternalResourcesSelected ? m_model.externalResourceArray().size()
                                                              : m_model.resourceGroups().size());
    case TOCFilterStandards:
        return static_cast<int>(m_model.standardResourceArray().size());
    default:
        return 1;
    }
}

int TOCViewController::numberOfRowsInSection(ui::TableView&, int section)
{
    if (section < 0)
        return 0;
    auto index = static_cast<size_t>(section);
    if (m_selectedButton == TOCFilterBookmarks)
        return static_cast<int>(m_model.bookMarkArray().size());
    if (m_selectedButton == TOCFilterResources && !m_isExternalResourcesSelected) {
        const auto& groups = m_model.resourceGroups();
        if (index >= groups.size() || !groups[index].isExpanded)
            return 0;
        return static_cast<int>(groups[index].resourceArray.size());
    }
    auto* rows = m_model.treeRowsForTab(m_selectedButton, m_isExternalResourcesSelected);
    if (!rows || index >= rows->size() || !(*rows)[index]->isExpanded)
        return 0;
    return static_cast<int>((*rows)[index]->subCatArray.size());
}

std::optional<double> TOCViewController::heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&)
{
    if (m_selectedButton == TOCFilterResources)
        return resourceRowHeight;
    // Self-sizing: the cell's own height once shown.
    return std::nullopt;
}

std::optional<double> TOCViewController::estimatedHeightForRowAtIndexPath(
    ui::TableView&, const ui::IndexPath& path)
{
    auto found = m_estimatedRowHeights.find(path);
    return found == m_estimatedRowHeights.end() ? defaultEstimate : static_cast<double>(found->second);
}

std::optional<double> TOCViewController::estimatedHeaderHeight(int section) const
{
    auto found = m_estimatedHeaderHeights.find(section);
    return found == m_estimatedHeaderHeights.end() ? defaultEstimate : static_cast<double>(found->second);
}

std::optional<double> TOCViewController::heightForHeaderInSection(ui::TableView&, int)
{
    switch (m_selectedButton) {
    case TOCFilterContents:
    case TOCFilterResources:
    case TOCFilterStandards:
        // The header view's own height.
        return std::nullopt;
    default:
        return 0.0;
    }
}

std::optional<double> TOCViewController::heightForFooterInSection(ui::TableView&, int)
{
    return 0.00001;
}

void TOCViewController::willDisplayCell(ui::TableView&, ui::TableViewCell& cell, const ui::IndexPath& path)
{
    m_estimatedRowHeights[path] = static_cast<int>(cell.frame().size.height);
}

void TOCViewController::updateTOCViewConstraints()
{
    if (m_selectedButton != TOCFilterBookmarks || !m_tableView || !m_tableviewHeaderView)
        return;
    if (!m_model.bookMarkArray().empty()) {
        m_tableviewHeaderView->setFrame({});
        return;
    }
    ui::Size size = m_tableView->frame().size;
    m_tableviewHeaderView->setFrame({ 0, 0, size.width, size.height });
    m_tableviewHeaderView->setHidden(false);
    m_tableView->setTableHeaderView(m_tableviewHeaderView);
}

// MARK: - Row cells

std::shared_ptr<TOCContentCell> TOCViewController::dequeueContentCell()
{
    auto cell = std::dynamic_pointer_cast<TOCContentCell>(
        m_tableView->dequeueReusableCellWithIdentifier(TOCContentCell::reuseIdentifier));
    return cell ? cell
                : TOCContentCell::create(ui::TableViewCellStyle::Default, TOCContentCell::reuseIdentifier);
}

std::shared_ptr<ui::TableViewCell> TOCViewController::cellForRowAtIndexPath(
    ui::TableView&, const ui::IndexPath& path)
{
    switch (m_selectedButton) {
    case TOCFilterBookmarks:
        return bookmarkCell(path);
    case TOCFilterResources:
        return m_isExternalResourcesSelected ? std::static_pointer_cast<ui::TableViewCell>(treeCell(path))
                                             : resourceCell(path);
    default:
        return treeCell(path);
    }
}

std::shared_ptr<ui::TableViewCell> TOCViewController::bookmarkCell(const ui::IndexPath& path)
{
    auto cell = std::dynamic_pointer_cast<TOCTableViewCell>(
        m_tableView->dequeueReusableCellWithIdentifier(TOCTableViewCell::reuseIdentifier, path));
    if (!cell || static_cast<size_t>(path.row) >= m_model.bookMarkArray().size())
        return cell;
    const auto& theme = *m_theme;
    cell->setAccessibilityIdentifier("bookMarkCell" + path.toString());
    cell->setBackgroundColor(ui::Color::clear());
    cell->contentView()->setBackgroundColor(tocColour(theme.toc_popup_background()));
    cell->timeLabel()->setTextColor(tocColour(theme.toc_pageno_color()));
    cell->pageLabel()->setTextColor(tocColour(theme.toc_pageno_color()));
    cell->dataLabel()->setTextColor(tocColour(theme.toc_title_color()));
    cell->seperatorViewForHeaderView()->setHidden(false);
    cell->seperatorViewForHeaderView()->setBackgroundColor(tocColour(theme.toc_selected_toc_section_divider()));
    cell->bookmarkLabel()->setTextColor(tocColour(theme.toc_selected_toc_side_tab_background()));
    cell->barLabel()->setBackgroundColor(ui::Color::clear());
    cell->timeLabelBottomConstarint()->setConstant(tocIsPad() ? 16 : 10);
    cell->cellLeadConstraint()->setConstant(20);
    cell->bookmarkTrailingConstraint()->setConstant(20);
    cell->verticalCenterConstarint()->setActive(false);
    cell->timeLabel()->setHidden(false);
    cell->pageLabel()->setHidden(m_model.isReflowableEpub());

    const auto& bookmark = *m_model.bookMarkArray()[static_cast<size_t>(path.row)];
    cell->dataLabel()->setText(bookmark.title);
    cell->bookmarkLabel()->setText(TOC_BOOKMARK_NORMAL_ICON);
    cell->bookmarkLabel()->setFont(TOCConstants::iconFont(tocIsPad() ? 26.4 : 20));
    cell->pageLabel()->setText(pageCaption(bookmark.displayNum));
    // The stored UTC stamp as the local date and time a reader reads.
    std::string date = bookmark.getDisplayDate();
    auto stamped = NSStringExpanded::utcDateFromString(date);
    cell->timeLabel()->setText(date.empty() ? std::string()
                                            : NSStringExpanded::getLocalizedStringForDateString(
                                                stamped ? NSStringExpanded::formattedLocalStringFromDate(*stamped) : date));
    cell->dataLabel()->setFont(TOCConstants::lightRowFont());
    cell->pageLabel()->setFont(TOCConstants::customFont(tocIsPad() ? 14 : 10));
    cell->timeLabel()->setFont(TOCConstants::customFont(tocIsPad() ? 13 : 10));
    if (m_model.checkIfCurrentPageBookMark(bookmark)) {
        cell->barLabel()->setBackgroundColor(tocColour(theme.toc_selected_toc_title_color()));
        cell->dataLabel()->setTextColor(tocColour(theme.toc_selected_toc_title_color()));
    }
    return cell;
}

std::shared_ptr<ui::TableViewCell> TOCViewController::resourceCell(const ui::IndexPath& path)
{
    auto cell = std::dynamic_pointer_cast<TOCTableViewCell>(
        m_tableView->dequeueReusableCellWithIdentifier(TOCTableViewCell::reuseIdentifier, path));
    const auto& groups = m_model.resourceGroups();
    if (!cell || static_cast<size_t>(path.section) >= groups.size())
        return cell;
    const auto& theme = *m_theme;
    cell->setAccessibilityIdentifier("resourcesCell" + path.toString());
    cell->timeLabel()->setText("");
    cell->timeLabel()->setHidden(true);
    cell->pageLabel()->setHidden(false);
    cell->pageLabel()->setTextColor(tocColour(theme.toc_pageno_color()));
    cell->setBackgroundColor(ui::Color::clear());
    cell->contentView()->setBackgroundColor(tocColour(theme.toc_popup_background()));
    cell->dataLabel()->setTextColor(tocColour(theme.toc_title_color()));
    cell->barLabel()->setBackgroundColor(ui::Color::clear());
    cell->cellLeadConstraint()->setConstant(tocIsPad() ? 45 : 30);
    cell->timeLabelBottomConstarint()->setConstant(tocIsPad() ? 10 : 2);
    cell->verticalCenterConstarint()->setActive(true);
    cell->bookmarkTrailingConstraint()->setConstant(30);
    cell->dataLabel()->setFont(TOCConstants::lightRowFont());
    cell->pageLabel()->setFont(TOCConstants::customFont(tocIsPad() ? 14 : 10));

    const auto& group = groups[static_cast<size_t>(path.section)];
    bool epub = m_model.isFixedLayoutEpub();
    auto sorted = sortedResources(group, epub);
    if (static_cast<size_t>(path.row) >= sorted.size())
        return cell;
    const auto& entry = *sorted[static_cast<size_t>(path.row)];
    bool lastRow = static_cast<size_t>(path.row) + 1 == sorted.size();
    bool lastSection = static_cast<size_t>(path.section) + 1 == groups.size();
    cell->seperatorViewForHeaderView()->setHidden(!(lastRow && !lastSection));
    cell->seperatorViewForHeaderView()->setBackgroundColor(tocColour(theme.toc_selected_toc_section_divider()));
    cell->bookmarkLabel()->setFont(TOCConstants::iconFont(tocIsPad() ? 20 : 14));
    cell->bookmarkLabel()->setTextColor(tocColour(theme.toc_selected_toc_icon_color()));
    if (epub) {
        cell->bookmarkLabel()->setText(iconForResourceType(entry.typeId()));
        cell->pageLabel()->setText(pageCaption(pageDigitsOfHref(entry.href())));
        cell->dataLabel()->setText(entry.resourceName());
    } else {
        cell->bookmarkLabel()->setText(
            entry.linkVO ? iconForLinkType(entry.linkVO->linkType) : std::string());
        cell->pageLabel()->setText(pageCaption(entry.folioNumber.value_or("")));
        cell->dataLabel()->setText(entry.title);
    }
    return cell;
}

std::shared_ptr<TOCContentCell> TOCViewController::treeCell(const ui::IndexPath& path)
{
    auto cell = std::dynamic_pointer_cast<TOCContentCell>(
        m_tableView->dequeueReusableCellWithIdentifier(TOCContentCell::reuseIdentifier, path));
    auto* rows = m_model.treeRowsForTab(m_selectedButton, m_isExternalResourcesSelected);
    if (!cell || !rows || static_cast<size_t>(path.section) >= rows->size())
        return cell;
    const char* name = m_selectedButton == TOCFilterContents ? "contentCell"
        : m_selectedButton == TOCFilterStandards             ? "standardsCell"
                                                             : "externalResourcesCell";
    cell->setAccessibilityIdentifier(name + path.toString());
    cell->downArrowButton()->setAccessibilityIdentifier(std::string(name) + "DownArrow" + path.toString());
    cell->downArrowButton()->removeTargets(ui::ControlEvent::TouchUpInside);
    cell->sectionHeaderButton()->removeTargets(ui::ControlEvent::TouchUpInside);
    cell->sectionHeaderButton()->setUserInteractionEnabled(false);

    const auto& sectionRow = *(*rows)[static_cast<size_t>(path.section)];
    if (static_cast<size_t>(path.row) >= sectionRow.subCatArray.size())
        return cell;
    const auto& row = *sectionRow.subCatArray[static_cast<size_t>(path.row)];
    const auto& theme = *m_theme;
    if (m_selectedButton == TOCFilterContents)
        cell->configureViewForTocWithDataDictionary(row, theme);
    else if (m_selectedButton == TOCFilterStandards)
        cell->configureViewForStandardsWithDataDictionary(row, theme);
    else
        cell->configureViewForExternalResourcesWithDataDictionary(row, theme);

    cell->downArrowButton()->setTag(path.section * 100 + path.row);
    std::weak_ptr<TOCViewController> weak = std::static_pointer_cast<TOCViewController>(shared_from_this());
    cell->downArrowButton()->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control& sender) {
        if (auto panel = weak.lock())
            panel->didSelectCellDropDownButtonWithSender(static_cast<ui::Button&>(sender));
    });
    auto& arrow = *cell->downArrowButton();
    if (m_selectedButton != TOCFilterContents) {
        cell->dataLabel()->setNumberOfLines(2);
        if (arrow.isSelected()) {
            cell->contentView()->setBackgroundColor(tocColour(theme.toc_selected_toc_section_background()));
            arrow.setTitleColor(tocColour(theme.toc_selected_toc_arrow_color()), ui::ControlState::Normal);
            arrow.setTitleColor(tocColour(theme.toc_selected_toc_arrow_color()), ui::ControlState::Selected);
            cell->barView()->setBackgroundColor(tocColour(theme.toc_selected_toc_side_tab_background()));
            cell->dataLabel()->setNumberOfLines(0);
        }
    } else if (m_model.isRowInCurrentChapter(row)) {
        cell->contentView()->setBackgroundColor(tocColour(theme.toc_selected_toc_section_background()));
        cell->seperatorView()->setBackgroundColor(tocColour(theme.toc_selected_toc_section_divider()));
        cell->barView()->setBackgroundColor(tocColour(theme.toc_selected_toc_side_tab_background()));
        arrow.setTitleColor(tocColour(theme.toc_selected_toc_arrow_color()), ui::ControlState::Normal);
        arrow.setTitleColor(tocColour(theme.toc_selected_toc_arrow_color()), ui::ControlState::Selected);
    }
    updateDropDownAccessibility(arrow);
    return cell;
}

// MARK: - Section headers

std::shared_ptr<ui::View> TOCViewController::viewForHeaderInSection(ui::TableView& table, int section)
{
    if (m_selectedButton == TOCFilterBookmarks || section < 0)
        return nullptr;
    auto header = dequeueContentCell();
    const auto& theme = *m_theme;
    auto& arrow = *header->downArrowButton();
    auto& title = *header->dataLabel();
    header->levelLabel()->setTextColor(tocColour(theme.toc_title_color()));
    title.setTextColor(tocColour(theme.toc_title_color()));
    title.setAttributedText(std::nullopt);
    arrow.setTitleColor(tocColour(theme.toc_more_icon_color()), ui::ControlState::Normal);
    arrow.setTitleColor(tocColour(theme.toc_more_icon_color()), ui::ControlState::Selected);
    header->barView()->setBackgroundColor(ui::Color::clear());
    arrow.setHidden(false);
    arrow.setTag(section + 100);
    arrow.removeTargets(ui::ControlEvent::TouchUpInside);
    std::weak_ptr<TOCViewController> weak = std::static_pointer_cast<TOCViewController>(shared_from_this());
    arrow.addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control& sender) {
        if (auto panel = weak.lock())
            panel->didSelectDropdownForSectionWithSender(static_cast<ui::Button&>(sender));
    });
    auto& area = *header->sectionHeaderButton();
    area.setUserInteractionEnabled(true);
    area.setTag(section + 2000);
    area.removeTargets(ui::ControlEvent::TouchUpInside);
    area.addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control& sender) {
        if (auto panel = weak.lock())
            panel->didSelectSectionWithSender(static_cast<ui::Button&>(sender));
    });
    header->seperatorSuperviewLeadingConstraint()->setConstant(0);
    title.setFont(TOCConstants::lightRowFont());
    header->levelLabel()->setFont(TOCConstants::lightRowFont());
    header->levelLabel()->setText("");
    header->seperatorView()->setBackgroundColor(tocColour(theme.toc_selected_toc_section_divider()));
    header->contentView()->setBackgroundColor(tocColour(theme.toc_popup_background()));
    auto index = static_cast<size_t>(section);

    auto currentColours = [&](bool labels) {
        header->contentView()->setBackgroundColor(tocColour(theme.toc_selected_toc_section_background()));
        header->barView()->setBackgroundColor(tocColour(theme.toc_selected_toc_side_tab_background()));
        if (labels) {
            title.setTextColor(tocColour(theme.toc_selected_toc_title_color()));
            header->levelLabel()->setTextColor(tocColour(theme.toc_selected_toc_title_color()));
        }
        arrow.setTitleColor(tocColour(theme.toc_selected_toc_arrow_color()), ui::ControlState::Normal);
        arrow.setTitleColor(tocColour(theme.toc_selected_toc_arrow_color()), ui::ControlState::Selected);
    };

    if (m_selectedButton == TOCFilterResources && !m_isExternalResourcesSelected) {
        const auto& groups = m_model.resourceGroups();
        if (index >= groups.size())
            return nullptr;
        const auto& group = groups[index];
        arrow.setAccessibilityIdentifier("resourcesHeaderDownArrow" + std::to_string(section));
        arrow.setSelected(group.isExpanded);
        title.setText(group.chapterName);
        if (group.isCurrentChapter) {
            header->barView()->setBackgroundColor(tocColour(theme.toc_selected_toc_side_tab_background()));
            title.setTextColor(tocColour(theme.toc_selected_toc_title_color()));
            arrow.setTitleColor(tocColour(theme.toc_selected_toc_arrow_color()), ui::ControlState::Normal);
            arrow.setTitleColor(tocColour(theme.toc_selected_toc_arrow_color()), ui::ControlState::Selected);
        }
        header->cellLeadConstraint()->setConstant(tocIsPad() ? 35 : 18);
    } else {
        auto* rows = m_model.treeRowsForTab(m_selectedButton, m_isExternalResourcesSelected);
        if (!rows || index >= rows->size())
            return nullptr;
        const auto& row = *(*rows)[index];
        header->cellLeadConstraint()->setConstant(24);
        title.setText(row.title);
        if (m_selectedButton == TOCFilterContents) {
            arrow.setAccessibilityIdentifier("contentHeaderDownArrow" + std::to_string(section));
            arrow.setHidden(row.subCatArray.empty());
            arrow.setSelected(!row.subCatArray.empty() && row.isExpanded);
            if (row.isCurrentPage)
                currentColours(true);
            else if (m_model.isRowInCurrentChapter(row))
                currentColours(false);
        } else {
            arrow.setAccessibilityIdentifier(
                std::string(m_selectedButton == TOCFilterStandards ? "standardsHeaderDownArrow"
                                                                   : "externalResourcesHeaderDownArrow")
                + std::to_string(section));
            arrow.setSelected(row.isExpanded);
            title.setNumberOfLines(2);
            if (row.isExpanded) {
                title.setNumberOfLines(0);
                currentColours(true);
            }
        }
    }
    double width = table.bounds().size.width;
    double height = header->fittingHeight(width);
    header->setFrame({ 0, 0, width, height });
    header->layoutIfNeeded();
    m_estimatedHeaderHeights[section] = static_cast<int>(height);
    updateDropDownAccessibility(arrow);
    return header;
}

} // namespace lectoro
