#include "LectoroSDKWithReader/mydata/LXMyDataPrintOptionsController.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/mydata/MyDataStyle.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/BezierPath.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

namespace lectoro {

namespace {

ui::Font printOptionsFont(double size)
{
    return getCustomFontForWeight(size, ui::FontWeight::Regular).value_or(ui::Font::systemFont(size));
}

constexpr double printCardWidth = 280;
constexpr double printCardHeight = 260;

} // namespace

// MARK: - Radio mark and row

std::shared_ptr<RadioButton> RadioButton::create(ui::Color colour, double diameter)
{
    std::shared_ptr<RadioButton> button(new RadioButton());
    button->buttonColor = colour;
    button->diameter = diameter;
    button->setTranslatesAutoresizingMaskIntoConstraints(false);
    button->m_outer = ui::ShapeLayer::create();
    button->m_inner = ui::ShapeLayer::create();
    button->layer()->addSublayer(button->m_outer);
    button->layer()->addSublayer(button->m_inner);
    button->redraw();
    return button;
}

void RadioButton::redraw()
{
    m_outer->setPath(ui::BezierPath::ovalIn({ 0, 0, diameter, diameter }));
    m_outer->setFillColor(ui::Color::clear());
    m_outer->setStrokeColor(buttonColor);
    m_outer->setLineWidth(1);
    m_inner->setPath(ui::BezierPath::ovalIn({ diameter / 4, diameter / 4, diameter / 2, diameter / 2 }));
    m_inner->setFillColor(isSelected ? buttonColor : ui::Color::clear());
    m_inner->setStrokeColor(ui::Color::clear());
    m_inner->setLineWidth(1);
}

std::shared_ptr<PrintTypeCell> PrintTypeCell::create(ui::TableViewCellStyle style, std::string id)
{
    std::shared_ptr<PrintTypeCell> cell(new PrintTypeCell(style, std::move(id)));
    cell->setBackgroundColor(ui::Color::clear());
    const auto& content = cell->contentView();
    content->setBackgroundColor(ui::Color::clear());
    cell->m_roundView = RadioButton::create();
    cell->m_typeLabel = ui::Label::create();
    cell->m_typeLabel->setNumberOfLines(0);
    cell->m_typeLabel->setFont(printOptionsFont(14));
    cell->m_typeLabel->setTextColor(ui::Color::black());
    cell->m_disableView = ui::View::create();
    cell->m_disableView->setBackgroundColor(ui::Color::clear());
    content->addSubview(cell->m_roundView);
    content->addSubview(cell->m_typeLabel);
    content->addSubview(cell->m_disableView);
    double d = cell->m_roundView->diameter;
    cell->m_roundView->setFrame({ 24, 14, d, d });
    cell->m_typeLabel->setFrame({ 24 + d + 31, 14, 200, d });
    cell->m_disableView->setFrame({ 0, 0, printCardWidth, 48 });
    return cell;
}

// MARK: - Pop-up

std::shared_ptr<LXMyDataPrintOptionsController> LXMyDataPrintOptionsController::create()
{
    return std::shared_ptr<LXMyDataPrintOptionsController>(new LXMyDataPrintOptionsController());
}

LXMyDataPrintOptionsController::LXMyDataPrintOptionsController()
    : m_highLights(mydata::text("HIGHLIGHTS_KEY"))
    , m_notes(mydata::text("NOTES_KEY"))
    , m_both(mydata::text("BOTH_KEY"))
    , m_cancelButtonTitle(mydata::text("CANCEL"))
    , m_printButtonTitle(mydata::text("PRINT_KEY"))
    , m_myDataTitle(mydata::text("HELP_MY_DATA_BUTTON_TITLE"))
{
}

std::shared_ptr<LXMyDataPrintOptionsController> LXMyDataPrintOptionsController::self()
{
    return std::static_pointer_cast<LXMyDataPrintOptionsController>(shared_from_this());
}

void LXMyDataPrintOptionsController::viewDidLoad()
{
    m_printTypes = { m_both, m_highLights, m_notes };
    m_popupTitle = m_printButtonTitle + ": " + m_myDataTitle;
    if (isIpad()) {
        buildCard();
        view()->setBackgroundColor(ui::Color::black().withAlpha(0.25));
    } else {
        buildActionSheet();
    }
}

void LXMyDataPrintOptionsController::buildCard()
{
    auto root = view();
    std::weak_ptr<LXMyDataPrintOptionsController> weak = self();
    auto on = [weak](const std::shared_ptr<ui::Button>& button,
                  void (LXMyDataPrintOptionsController::*action)()) {
        button->addTarget(ui::ControlEvent::TouchUpInside, [weak, action](ui::Control&) {
            if (auto controller = weak.lock())
                (controller.get()->*action)();
        });
    };
    auto theme = lxthemeVO ? lxthemeVO : std::make_shared<LXMVThemeVO>();
    m_backdrop = ui::Button::create();
    root->addSubview(m_backdrop);
    on(m_backdrop, &LXMyDataPrintOptionsController::dismissController);

    m_card = ui::View::create();
    m_card->setBackgroundColor(ui::Color::white());
    m_card->setClipsToBounds(true);
    m_card->layer()->setCornerRadius(4);
    m_card->layer()->setBorderWidth(1);
    m_card->layer()->setBorderColor(mydata::colour(theme->toc_popup_border()));
    root->addSubview(m_card);

    auto titleColour = theme->toc_selected_toc_title_color().value_or(ui::Color::fromRGB255(0, 122, 255));
    m_titleLabel = ui::Label::create();
    m_titleLabel->setText(m_popupTitle);
    m_titleLabel->setTextColor(titleColour);
    m_titleLabel->setFont(printOptionsFont(18));
    m_card->addSubview(m_titleLabel);

    m_tableView = ui::TableView::create();
    m_tableView->setDataSource(std::weak_ptr<ui::TableViewDataSource>(self()));
    m_tableView->setDelegate(std::weak_ptr<ui::TableViewDelegate>(self()));
    m_tableView->setTableHeaderView(ui::View::create());
    m_tableView->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
    m_tableView->setScrollEnabled(false);
    m_tableView->setRowHeight(48);
    m_tableView->registerCellClass(PrintTypeCell::reuseIdentifier,
        [](const std::string& id) { return PrintTypeCell::create(ui::TableViewCellStyle::Default, id); });
    m_card->addSubview(m_tableView);

    m_printButton = ui::Button::create();
    m_printButton->setTitle(m_printButtonTitle);
    m_printButton->setTitleColor(titleColour);
    m_printButton->setFont(printOptionsFont(18));
    m_card->addSubview(m_printButton);
    on(m_printButton, &LXMyDataPrintOptionsController::didTapOnPrintOption);

    m_cancelButton = ui::Button::create();
    m_cancelButton->setTitle(m_cancelButtonTitle);
    m_cancelButton->setTitleColor(theme->toc_more_icon_color().value_or(ui::Color::gray()));
    m_cancelButton->setFont(printOptionsFont(18));
    m_card->addSubview(m_cancelButton);
    on(m_cancelButton, &LXMyDataPrintOptionsController::dismissController);

    // With one kind veiled the remaining kind is the choice.
    if (hiddenPrintType == PrintTypeHighlights)
        m_selectedIndex = PrintTypeNotes;
    else if (hiddenPrintType == PrintTypeNotes)
        m_selectedIndex = PrintTypeHighlights;
}

void LXMyDataPrintOptionsController::viewDidLayoutSubviews()
{
    if (!m_card)
        return;
    auto bounds = view()->bounds();
    m_backdrop->setFrame(bounds);
    m_card->setFrame({ (bounds.width() - printCardWidth) / 2, (bounds.height() - printCardHeight) / 2,
        printCardWidth, printCardHeight });
    m_titleLabel->setFrame({ 25, 24, printCardWidth - 50, 22 });
    m_tableView->setFrame({ 1, 24 + 22 + 18, printCardWidth - 2, 144 });
    m_printButton->setFrame({ printCardWidth - 30 - 60, printCardHeight - 14 - 30, 60, 30 });
    m_cancelButton->setFrame({ printCardWidth - 30 - 60 - 27 - 70, printCardHeight - 14 - 30, 70, 30 });
}

void LXMyDataPrintOptionsController::buildActionSheet()
{
    m_actionSheet
        = ui::AlertController::create(std::nullopt, std::nullopt, ui::AlertControllerStyle::ActionSheet);
    if (hiddenPrintType == PrintTypeHighlights)
        m_printTypes = { m_notes };
    else if (hiddenPrintType == PrintTypeNotes)
        m_printTypes = { m_highLights };
    else
        m_printTypes = { m_both, m_highLights, m_notes };
    std::weak_ptr<LXMyDataPrintOptionsController> weak = self();
    for (const auto& title : m_printTypes) {
        int64_t type = title == m_both ? PrintTypeBoth
            : title == m_highLights    ? PrintTypeHighlights
                                       : PrintTypeNotes;
        m_actionSheet->addAction(
            ui::AlertAction::create(title, ui::AlertActionStyle::Default, [weak, type](ui::AlertAction&) {
                if (auto controller = weak.lock()) {
                    controller->m_selectedIndex = type;
                    controller->didTapOnPrintOption();
                }
            }));
    }
    m_actionSheet->addAction(
        ui::AlertAction::create(m_cancelButtonTitle, ui::AlertActionStyle::Cancel, [weak](ui::AlertAction&) {
            if (auto controller = weak.lock())
                controller->dismissController();
        }));
    base::RunLoop::main().post([weak] {
        if (auto controller = weak.lock())
            controller->presentViewController(controller->m_actionSheet, true);
    });
}

void LXMyDataPrintOptionsController::dismissController()
{
    dismissViewControllerAnimated(true);
}

void LXMyDataPrintOptionsController::didTapOnPrintOption()
{
    std::weak_ptr<LXMyDataPrintOptionsController> weak = self();
    auto tell = [weak] {
        auto controller = weak.lock();
        if (!controller || controller->m_told)
            return;
        controller->m_told = true;
        auto type = printTypeFromRawValue(controller->m_selectedIndex).value_or(PrintTypeBoth);
        if (auto delegate = controller->m_delegate.lock())
            delegate->didTapOnPrintTypeWithPrintType(type);
    };
    // The sheet goes first (it is this controller's presented one), then the pop-up; the
    // delegate hears the choice once the pop-up has gone.
    if (presentedViewController()) {
        dismissViewControllerAnimated(true, [weak, tell] {
            if (auto controller = weak.lock())
                controller->dismissViewControllerAnimated(true, tell);
        });
        return;
    }
    dismissViewControllerAnimated(true, tell);
}

bool LXMyDataPrintOptionsController::rowEnabled(size_t index) const
{
    if (hiddenPrintType == PrintTypeNone)
        return true;
    return index != PrintTypeBoth && static_cast<int64_t>(index) != hiddenPrintType;
}

int LXMyDataPrintOptionsController::numberOfRowsInSection(ui::TableView&, int)
{
    return static_cast<int>(m_printTypes.size());
}

std::shared_ptr<ui::TableViewCell> LXMyDataPrintOptionsController::cellForRowAtIndexPath(
    ui::TableView& table, const ui::IndexPath& indexPath)
{
    auto cell = std::dynamic_pointer_cast<PrintTypeCell>(
        table.dequeueReusableCellWithIdentifier(PrintTypeCell::reuseIdentifier));
    if (!cell)
        cell = PrintTypeCell::create(ui::TableViewCellStyle::Default, PrintTypeCell::reuseIdentifier);
    auto index = static_cast<size_t>(indexPath.row);
    if (index >= m_printTypes.size())
        return cell;
    bool on = false;
    if (hiddenPrintType == PrintTypeNone) {
        cell->disableView()->setBackgroundColor(ui::Color::clear());
        cell->setUserInteractionEnabled(true);
        on = static_cast<int64_t>(index) == m_selectedIndex;
    } else if (!rowEnabled(index)) {
        cell->disableView()->setBackgroundColor(ui::Color::white().withAlpha(0.5));
        cell->setUserInteractionEnabled(false);
    } else {
        cell->disableView()->setBackgroundColor(ui::Color::clear());
        cell->setUserInteractionEnabled(true);
        on = true;
    }
    auto theme = lxthemeVO ? lxthemeVO : std::make_shared<LXMVThemeVO>();
    cell->typeLabel()->setTextColor(theme->toc_description_color().value_or(ui::Color::black()));
    cell->typeLabel()->setText(m_printTypes[index]);
    cell->roundView()->buttonColor = theme->toc_popup_border().value_or(ui::Color::fromRGB255(0, 122, 255));
    cell->roundView()->isSelected = on;
    cell->roundView()->redraw();
    return cell;
}

void LXMyDataPrintOptionsController::didSelectRowAtIndexPath(
    ui::TableView& table, const ui::IndexPath& indexPath)
{
    table.deselectRowAtIndexPath(indexPath, true);
    if (!rowEnabled(static_cast<size_t>(indexPath.row)))
        return;
    m_selectedIndex = indexPath.row;
    table.reloadData();
}

} // namespace lectoro
