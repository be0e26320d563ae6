#include "LectoroSDKWithReader/interactive/MultiLinkController.h"

#include "LectoroSDKWithReader/foundation/IconFontConstants.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Label.h"

#include <algorithm>

namespace lectoro {

std::shared_ptr<MultiLinkCell> MultiLinkCell::create(
    ui::TableViewCellStyle style, const std::string& reuseIdentifier, double linkIconWidth)
{
    auto cell = std::shared_ptr<MultiLinkCell>(new MultiLinkCell(style, reuseIdentifier, linkIconWidth));
    // A subview takes its superview weakly, so the labels join once the cell is owned.
    cell->addSubview(cell->m_linkIcon);
    cell->addSubview(cell->m_linkName);
    return cell;
}

MultiLinkCell::MultiLinkCell(ui::TableViewCellStyle style, std::string reuseIdentifier, double linkIconWidth)
    : ui::TableViewCell(style, std::move(reuseIdentifier))
    , m_width(linkIconWidth)
{
    m_linkIcon = ui::Label::create();
    m_linkIcon->setTextAlignment(ui::TextAlignment::Center);
    m_linkIcon->setClipsToBounds(true);
    m_linkIcon->layer()->setCornerRadius(m_width / 2);
    m_linkIcon->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_linkName = ui::Label::create();
    m_linkName->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_linkName->setTextColor(ui::Color::black());
}

void MultiLinkCell::layoutSubviews()
{
    ui::TableViewCell::layoutSubviews();
    if (m_constrained)
        return;
    m_constrained = true;
    ui::Constraint::activate({
        m_linkIcon->leadingAnchor().constraintEqualTo(leadingAnchor(), 10),
        m_linkIcon->centerYAnchor().constraintEqualTo(centerYAnchor()),
        m_linkIcon->widthAnchor().constraintEqualToConstant(m_width),
        m_linkIcon->heightAnchor().constraintEqualToConstant(m_width),
        m_linkName->topAnchor().constraintEqualTo(topAnchor()),
        m_linkName->bottomAnchor().constraintEqualTo(bottomAnchor()),
        m_linkName->trailingAnchor().constraintEqualTo(trailingAnchor()),
        m_linkName->leadingAnchor().constraintEqualTo(m_linkIcon->trailingAnchor(), 10),
    });
}

// The table's data source and delegate; the controller owns it, the table holds it weakly.
class MultiLinkController::Source final : public ui::TableViewDataSource, public ui::TableViewDelegate {
public:
    explicit Source(MultiLinkController& owner)
        : m_owner(owner)
    {
    }

    int numberOfRowsInSection(ui::TableView&, int) override { return static_cast<int>(m_owner.m_multiLinkArray.size()); }

    std::optional<double> heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath& path) override
    {
        const auto& link = member(path);
        return link ? link->boxTansformedRect.size.height * 0.9 : 0.0;
    }

    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, const ui::IndexPath& path) override
    {
        const auto& link = member(path);
        auto cell = std::dynamic_pointer_cast<MultiLinkCell>(table.dequeueReusableCellWithIdentifier("cell"));
        if (!cell) {
            double side = link ? link->transformedRect.size.height / 1.5 : 0;
            cell = MultiLinkCell::create(ui::TableViewCellStyle::Default, "cell", side);
        }
        if (!link)
            return cell;
        if (auto icon = std::dynamic_pointer_cast<MarkupView>(link->iconView.lock())) {
            std::string glyph = icon->currentTitle();
            cell->linkIcon()->setText(glyph);
            cell->linkIcon()->setTextColor(icon->currentTitleColor());
            cell->linkIcon()->setBackgroundColor(icon->backgroundColor());
            if (auto font = ui::Font::fromName(IconFontConstants::getFontForCharacter(glyph), 0.35 * icon->frame().size.height))
                cell->linkIcon()->setFont(*font);
        }
        cell->linkName()->setText(link->type);
        // The category's words sized to its row, which is as high as the member's box.
        double rowHeight = link->boxTansformedRect.size.height * 0.9;
        cell->linkName()->setFont(ui::Font::systemFont(std::clamp(rowHeight * 0.55, 9.0, 17.0)));
        cell->linkName()->setAdjustsFontSizeToFitWidth(true);
        AccessibilityHelper::setAccessibilityForElementID(
            *cell, "ReaderMarkupButton", "ReaderLectoroAccessibility", link->toolTip);
        return cell;
    }

    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& path) override
    {
        if (auto delegate = m_owner.delegate())
            delegate->didSelectLinkVo(member(path));
    }

private:
    const std::shared_ptr<PXLinkVO>& member(const ui::IndexPath& path) const
    {
        static const std::shared_ptr<PXLinkVO> none;
        size_t row = static_cast<size_t>(path.row);
        return row < m_owner.m_multiLinkArray.size() ? m_owner.m_multiLinkArray[row] : none;
    }

    MultiLinkController& m_owner;
};

std::shared_ptr<MultiLinkController> MultiLinkController::create(
    const ui::Rect& frame, std::vector<std::shared_ptr<PXLinkVO>> multiLinkArray)
{
    return std::shared_ptr<MultiLinkController>(new MultiLinkController(frame, std::move(multiLinkArray)));
}

MultiLinkController::MultiLinkController(const ui::Rect& frame, std::vector<std::shared_ptr<PXLinkVO>> links)
    : m_frame(frame)
    , m_multiLinkArray(std::move(links))
    , m_source(std::make_shared<Source>(*this))
{
}

void MultiLinkController::loadView()
{
    m_tableView = ui::TableView::create(m_frame);
    m_tableView->setDataSource(m_source);
    m_tableView->setDelegate(m_source);
    setView(m_tableView);
}

void MultiLinkController::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    view()->layer()->setCornerRadius(5.0);
    // A sheet of its own over the page, its rows' words dark on white.
    view()->setBackgroundColor(ui::Color::white());
    view()->layer()->setBorderColor(ui::Color::fromWhite(0.8));
    view()->layer()->setBorderWidth(1.0);
    m_tableView->reloadData();
}

const std::shared_ptr<ui::TableView>& MultiLinkController::tableView()
{
    loadViewIfNeeded();
    return m_tableView;
}

} // namespace lectoro
