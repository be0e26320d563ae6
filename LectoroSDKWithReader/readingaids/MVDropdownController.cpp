#include "LectoroSDKWithReader/readingaids/MVDropdownController.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/readingaids/ReadingAidsViews.h"
#include "platform/ui/Environment.h"
#include "platform/ui/TableViewCell.h"

namespace lectoro {

std::shared_ptr<MVDropdownController> MVDropdownController::create(std::vector<std::string> dropDownData)
{
    auto controller = create();
    controller->m_dropDownData = std::move(dropDownData);
    return controller;
}

std::shared_ptr<MVDropdownController> MVDropdownController::create()
{
    return std::shared_ptr<MVDropdownController>(new MVDropdownController());
}

void MVDropdownController::dismissController()
{
    dismissViewControllerAnimated(true);
}

void MVDropdownController::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    auto root = view();
    auto& environment = ui::Environment::current();
    auto screen = environment.screenBounds();
    std::weak_ptr<MVDropdownController> weak
        = std::static_pointer_cast<MVDropdownController>(shared_from_this());
    auto dismiss = [weak] {
        if (auto self = weak.lock())
            self->dismissController();
    };

    m_dismissButton = ui::Button::create();
    m_dismissButton->setAccessibilityIdentifier("dismissButton");
    m_dismissButton->addTarget(ui::ControlEvent::TouchUpInside, [dismiss](ui::Control&) { dismiss(); });
    root->addSubview(m_dismissButton);
    pinToEdges(m_dismissButton, *root);

    m_containerView = ui::View::create();
    root->addSubview(m_containerView);
    m_containerView->setTranslatesAutoresizingMaskIntoConstraints(false);
    if (isIpad()) {
        activate(m_containerView->centerXAnchor().constraintEqualTo(root->centerXAnchor()));
        activate(m_containerView->centerYAnchor().constraintEqualTo(root->centerYAnchor()));
        activate(m_containerView->widthAnchor().constraintEqualToConstant(375));
        activate(m_containerView->heightAnchor().constraintEqualToConstant(0.65 * screen.size.height));
        addShadowToView(*m_containerView);
        root->setBackgroundColor(ui::Color::fromWhite(0, 0.5));
    } else {
        pinToEdges(m_containerView, *root);
        root->setBackgroundColor(ui::Color::white());
    }

    auto safeArea = keyWindowSafeArea();
    double tableTop = 44;
    if (!environment.isDeviceLandscape() && safeArea)
        tableTop += safeArea->bottom;

    m_tableView = ui::TableView::create();
    // The card has no colour of its own: the rows need the table's white under them, or
    // they lie bare on the dimmed screen.
    m_tableView->setBackgroundColor(ui::Color::white());
    m_containerView->addSubview(m_tableView);
    m_tableView->setTranslatesAutoresizingMaskIntoConstraints(false);
    activate(m_tableView->topAnchor().constraintEqualTo(m_containerView->topAnchor(), tableTop));
    activate(m_tableView->bottomAnchor().constraintEqualTo(m_containerView->bottomAnchor()));
    activate(m_tableView->leadingAnchor().constraintEqualTo(m_containerView->leadingAnchor()));
    activate(m_tableView->trailingAnchor().constraintEqualTo(m_containerView->trailingAnchor()));
    auto self = std::static_pointer_cast<MVDropdownController>(shared_from_this());
    m_tableView->setDataSource(std::weak_ptr<ui::TableViewDataSource>(self));
    m_tableView->setDelegate(std::weak_ptr<ui::TableViewDelegate>(self));
    m_tableView->reloadData();
    // Only a row that exists can be scrolled to; the sheet never opens an empty list.
    int rows = numberOfRowsInSection(*m_tableView, 0);
    if (m_selectedIndex >= 0 && m_selectedIndex < rows)
        m_tableView->scrollToRowAtIndexPath(
            ui::IndexPath(0, static_cast<int>(m_selectedIndex)), ui::TableViewScrollPosition::Top, false);

    double topInset = safeArea ? safeArea->top : 0;
    auto bar = makeBackNavigationBar(title(), m_lxthemeVO, !isIpad(), dismiss);
    m_navigationBar = bar.bar;
    m_backButton = bar.backButton;
    m_containerView->addSubview(m_navigationBar);
    m_navigationBar->setTranslatesAutoresizingMaskIntoConstraints(false);
    activate(m_navigationBar->topAnchor().constraintEqualTo(m_containerView->topAnchor(), topInset));
    activate(m_navigationBar->heightAnchor().constraintEqualToConstant(topInset + 44));
    activate(m_navigationBar->leadingAnchor().constraintEqualTo(m_containerView->leadingAnchor()));
    activate(m_navigationBar->trailingAnchor().constraintEqualTo(m_containerView->trailingAnchor()));
}

int MVDropdownController::numberOfRowsInSection(ui::TableView&, int)
{
    return m_dropDownData ? static_cast<int>(m_dropDownData->size()) : 0;
}

std::shared_ptr<ui::TableViewCell> MVDropdownController::cellForRowAtIndexPath(
    ui::TableView&, const ui::IndexPath& indexPath)
{
    auto cell = ui::TableViewCell::create(ui::TableViewCellStyle::Default, "");
    int row = indexPath.row;
    if (m_dropDownData && row >= 0 && row < static_cast<int>(m_dropDownData->size()))
        cell->textLabel()->setText((*m_dropDownData)[static_cast<size_t>(row)]);
    cell->setAccessoryType(row == m_selectedIndex ? ui::TableViewCellAccessoryType::Checkmark
                                                  : ui::TableViewCellAccessoryType::None);
    return cell;
}

void MVDropdownController::didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath)
{
    int64_t row = indexPath.row;
    // Nobody keeps the list once it is gone: the completion holds it until it has reported.
    auto self = std::static_pointer_cast<MVDropdownController>(shared_from_this());
    dismissViewControllerAnimated(true, [self, row] {
        if (self->m_tapOnItem)
            self->m_tapOnItem(row);
    });
}

} // namespace lectoro
