// What a tap in the contents panel does: a row, a section header, an arrow. Every road
// that leaves the panel dismisses it first; the delegate hears of the target once the
// dismissal is done (rows and headers) or as it starts (web links, standards pages).

#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/TOCViewController.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

namespace lectoro {

namespace {

std::string plainText(const ui::Label& label)
{
    return label.attributedText() ? label.attributedText()->string() : label.text();
}

// The link of a resource row runs once the page change has begun.
void performActionForLink(
    const std::weak_ptr<TOCViewControllerDelegate>& weakDelegate, const TOCResourceEntry& entry)
{
    auto delegate = weakDelegate.lock();
    if (!delegate)
        return;
    if (entry.isEpubResource())
        delegate->actionForResource(entry.record);
    else if (entry.linkVO)
        delegate->actionForLinkWithLinkVO(entry.linkVO);
}

} // namespace

void TOCViewController::navigateToPageWithTarget(const std::string& target)
{
    std::weak_ptr<TOCViewControllerDelegate> weakDelegate = m_delegate;
    leavePanel(true, [weakDelegate, target] {
        if (auto delegate = weakDelegate.lock())
            delegate->navigateToPageWithPageId(target);
    });
}

void TOCViewController::didSelectRowAtIndexPath(ui::TableView& table, const ui::IndexPath& path)
{
    if (path.section < 0 || path.row < 0)
        return;
    auto section = static_cast<size_t>(path.section);
    auto row = static_cast<size_t>(path.row);
    auto delegate = m_delegate.lock();
    switch (m_selectedButton) {
    case TOCFilterContents: {
        const auto& rows = m_model.dataArray();
        if (section >= rows.size() || row >= rows[section]->subCatArray.size())
            return;
        navigateToPageWithTarget(m_model.navigationTargetForContentsRow(*rows[section]->subCatArray[row]));
        reloadContentsTable();
        return;
    }
    case TOCFilterResources: {
        if (m_isExternalResourcesSelected) {
            auto cell = std::dynamic_pointer_cast<TOCContentCell>(table.cellForRowAtIndexPath(path));
            if (!cell || !cell->updatedURL())
                return;
            std::string link = *cell->updatedURL();
            dismissViewControllerAnimated(false);
            if (delegate)
                delegate->didLoadWebLinkForExternalResourcesWithWebLink(link);
            return;
        }
        const auto& groups = m_model.resourceGroups();
        if (section >= groups.size())
            return;
        auto sorted = sortedResources(groups[section], m_model.isFixedLayoutEpub());
        if (row >= sorted.size())
            return;
        TOCResourceEntry entry = *sorted[row];
        navigateToPageWithTarget(
            entry.isEpubResource() ? entry.href() : TOCModel::navigationTargetForResource(entry));
        // The delayed action holds the panel until it has run.
        auto panel = self();
        base::RunLoop::main().postDelayed(
            linkActionDelay, [panel, entry] { performActionForLink(panel->m_delegate, entry); });
        reloadContentsTable();
        return;
    }
    case TOCFilterStandards: {
        auto cell = std::dynamic_pointer_cast<TOCContentCell>(table.cellForRowAtIndexPath(path));
        if (!cell || !cell->updatedURL())
            return;
        std::string text = plainText(*cell->dataLabel());
        std::string link = *cell->updatedURL();
        if (text.find("Narrative: ") != std::string::npos) {
            dismissViewControllerAnimated(false);
            if (delegate)
                delegate->navigateToPageWithPageId(link);
        } else if (text.find("Activity: ") != std::string::npos) {
            dismissViewControllerAnimated(false);
            if (delegate)
                delegate->didLoadWebLinkForStandardsWithWebLink(link);
        }
        return;
    }
    case TOCFilterBookmarks: {
        const auto& bookmarks = m_model.bookMarkArray();
        if (row >= bookmarks.size() || !bookmarks[row])
            return;
        std::string target = TOCModel::navigationTargetForBookmark(*bookmarks[row]);
        std::weak_ptr<TOCViewControllerDelegate> weakDelegate = m_delegate;
        dismissViewControllerAnimated(true, [weakDelegate, target] {
            if (auto delegate = weakDelegate.lock())
                delegate->navigateToPageWithPageId(target);
        });
        return;
    }
    default:
        return;
    }
}

void TOCViewController::didSelectSectionWithSender(ui::Button& sender)
{
    int section = sender.tag() - 2000;
    if (section < 0)
        return;
    auto index = static_cast<size_t>(section);
    if (m_selectedButton == TOCFilterContents) {
        if (index < m_model.dataArray().size())
            navigateToPageWithTarget(m_model.navigationTargetForContentsRow(*m_model.dataArray()[index]));
    } else if (m_selectedButton == TOCFilterResources && !m_isExternalResourcesSelected) {
        if (index < m_model.resourceGroups().size())
            navigateToPageWithTarget(TOCModel::navigationTargetForGroup(m_model.resourceGroups()[index]));
    }
}

void TOCViewController::didSelectDropdownForSectionWithSender(ui::Button& sender)
{
    updateDropDownAccessibility(sender);
    if (m_selectedButton == TOCFilterBookmarks)
        return;
    m_model.toggleSection(m_selectedButton, m_isExternalResourcesSelected, sender.tag() - 100);
    reloadContentsTable();
}

void TOCViewController::didSelectCellDropDownButtonWithSender(ui::Button& sender)
{
    int tag = sender.tag();
    std::optional<ui::IndexPath> path;
    if (auto content = sender.superview()) {
        if (auto cell = std::dynamic_pointer_cast<ui::TableViewCell>(content->superview());
            cell && m_tableView)
            path = m_tableView->indexPathForCell(*cell);
    }
    int row = path ? path->row : tag % 100;
    int section = tag / 100;
    if (m_selectedButton == TOCFilterContents && path)
        section = path->section;
    if (auto leaf = m_model.toggleRow(m_selectedButton, m_isExternalResourcesSelected, section, row)) {
        // A leaf's arrow goes to its page and leaves the panel open.
        if (auto delegate = m_delegate.lock(); delegate && !leaf->empty())
            delegate->navigateToPageWithPageId(*leaf);
    }
    reloadContentsTable();
}

void TOCViewController::updateDropDownAccessibility(ui::Button& arrow)
{
    arrow.setAccessibilityIdentifier("TOCCellDropDownButton");
    arrow.setAccessibilityLabel(TOCConstants::localized(
        arrow.isSelected() ? "ACCESSIBILITY_TOC_UP_ARROW" : "ACCESSIBILITY_TOC_DOWN_ARROW"));
}

} // namespace lectoro
