#include "LectoroSDKWithReader/teacherreview/TeacherReviewClassListViewController.h"

#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "platform/ui/Button.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ProgressView.h"

#include <algorithm>

namespace lectoro {

namespace {

constexpr double padCardWidth = 350;
constexpr double padCardHeight = 400;
constexpr double phoneCardHeight = 350;
constexpr double cardInset = 10;
constexpr double headerInset = 20;
constexpr double headerHeight = 30;

class PickerTouchFilter final : public ui::GestureRecognizerDelegate {
public:
    explicit PickerTouchFilter(std::weak_ptr<TeacherReviewClassListViewController> picker)
        : m_picker(std::move(picker))
    {
    }
    bool shouldReceiveTouch(ui::GestureRecognizer& recognizer, ui::View* touched) override
    {
        auto picker = m_picker.lock();
        return picker && picker->gestureRecognizerShouldReceiveTouch(recognizer, touched);
    }

private:
    std::weak_ptr<TeacherReviewClassListViewController> m_picker;
};

} // namespace

// MARK: - Row

std::shared_ptr<TeacherReviewClassListTableViewCell> TeacherReviewClassListTableViewCell::create(
    ui::TableViewCellStyle style, const std::string& reuseIdentifier)
{
    std::shared_ptr<TeacherReviewClassListTableViewCell> cell(new TeacherReviewClassListTableViewCell(style, reuseIdentifier));
    cell->awakeFromNib();
    return cell;
}

TeacherReviewClassListTableViewCell::TeacherReviewClassListTableViewCell(
    ui::TableViewCellStyle style, std::string reuseIdentifier)
    : ui::TableViewCell(style, std::move(reuseIdentifier))
{
}

void TeacherReviewClassListTableViewCell::awakeFromNib()
{
    // The row's layout: a card 5 in from the row holding the title and, under it, a
    // progress bar.
    m_mainContentView = ui::View::create();
    contentView()->addSubview(m_mainContentView);
    auto label = ui::Label::create();
    m_mainContentView->addSubview(label);
    m_classNameLabel = label;
    auto progress = ui::ProgressView::create();
    m_mainContentView->addSubview(progress);
    m_studentSubmitProgressView = progress;

    m_mainContentView->setClipsToBounds(true);
    m_mainContentView->layer()->setCornerRadius(isIpad() ? 10 : 5);
    m_mainContentView->layer()->setBorderColor(ui::Color::lightGray());
    m_mainContentView->layer()->setBorderWidth(0.5);
}

void TeacherReviewClassListTableViewCell::layoutSubviews()
{
    ui::TableViewCell::layoutSubviews();
    auto bounds = contentView()->bounds();
    m_mainContentView->setFrame(
        { 5, 5, std::max(0.0, bounds.width() - 10), std::max(0.0, bounds.height() - 10) });
    auto card = m_mainContentView->bounds();
    if (auto label = classNameLabel())
        label->setFrame({ 15, 0, std::max(0.0, card.width() - 30), std::max(0.0, card.height() - 4) });
    if (auto progress = studentSubmitProgressView())
        progress->setFrame({ 15, std::max(0.0, card.height() - 4), std::max(0.0, card.width() - 30), 2 });
}

// MARK: - Picker

std::shared_ptr<TeacherReviewClassListViewController> TeacherReviewClassListViewController::create()
{
    return std::shared_ptr<TeacherReviewClassListViewController>(new TeacherReviewClassListViewController());
}

TeacherReviewClassListViewController::TeacherReviewClassListViewController()
    : m_mainView(ui::View::create())
    , m_classListTableView(ui::TableView::create())
{
}

void TeacherReviewClassListViewController::setClassesWithClassesInfoArray(
    const std::vector<std::shared_ptr<SDKBookClassInfoVO>>& classes)
{
    m_classesInfoArray.emplace();
    m_learnersDict.emplace();
    for (const auto& info : classes) {
        if (!info)
            continue;
        if (std::find(m_classesInfoArray->begin(), m_classesInfoArray->end(), info->classTitle)
            == m_classesInfoArray->end())
            m_classesInfoArray->push_back(info->classTitle);
        (*m_learnersDict)[info->classTitle] = info->learners;
    }
}

void TeacherReviewClassListViewController::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    setUpClassListViews();
    setUpClassTableView();
}

void TeacherReviewClassListViewController::setUpClassListViews()
{
    auto self = std::static_pointer_cast<TeacherReviewClassListViewController>(shared_from_this());
    std::weak_ptr<TeacherReviewClassListViewController> weak = self;
    auto root = view();
    auto dimmedTap = ui::TapGestureRecognizer::create([weak](ui::GestureRecognizer&) {
        if (auto picker = weak.lock())
            picker->closeTapAction();
    });
    m_touchFilter = std::make_shared<PickerTouchFilter>(weak);
    dimmedTap->setDelegate(m_touchFilter);
    root->addGestureRecognizer(dimmedTap);
    root->setBackgroundColor(ui::Color::black().withAlpha(0.5));

    m_mainView->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_mainView->setBackgroundColor(ui::Color::white());
    m_mainView->setClipsToBounds(true);
    m_mainView->layer()->setCornerRadius(isIpad() ? 8 : 5);
    root->addSubview(m_mainView);
    if (isIpad()) {
        ui::Constraint::activate({
            m_mainView->widthAnchor().constraintEqualToConstant(padCardWidth),
            m_mainView->heightAnchor().constraintEqualToConstant(padCardHeight),
            m_mainView->centerXAnchor().constraintEqualTo(root->centerXAnchor()),
            m_mainView->centerYAnchor().constraintEqualTo(root->centerYAnchor()),
        });
    } else {
        auto safeArea = root->safeAreaLayoutGuide();
        ui::Constraint::activate({
            m_mainView->heightAnchor().constraintEqualToConstant(phoneCardHeight),
            m_mainView->leadingAnchor().constraintEqualTo(safeArea->leadingAnchor(), cardInset),
            m_mainView->trailingAnchor().constraintEqualTo(safeArea->trailingAnchor(), -cardInset),
            m_mainView->bottomAnchor().constraintEqualTo(safeArea->bottomAnchor(), -cardInset),
        });
    }

    m_header = ui::View::create();
    m_header->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_mainView->addSubview(m_header);
    ui::Constraint::activate({
        m_header->leadingAnchor().constraintEqualTo(m_mainView->leadingAnchor(), headerInset),
        m_header->trailingAnchor().constraintEqualTo(m_mainView->trailingAnchor(), -headerInset),
        m_header->topAnchor().constraintEqualTo(m_mainView->topAnchor(), headerInset),
        m_header->heightAnchor().constraintEqualToConstant(headerHeight),
    });
    auto icon = chrome::makeConstrainedLabel(ICON_SELECT_CLASS);
    icon->setFont(chrome::iconFont(20));
    icon->setIsAccessibilityElement(false);
    m_header->addSubview(icon);
    ui::Constraint::activate({
        icon->leadingAnchor().constraintEqualTo(m_header->leadingAnchor()),
        icon->topAnchor().constraintEqualTo(m_header->topAnchor()),
        icon->bottomAnchor().constraintEqualTo(m_header->bottomAnchor()),
        icon->widthAnchor().constraintEqualToConstant(30),
    });
    auto title = chrome::makeConstrainedLabel(teacherReviewLocalizedString("SELECT_CLASS"));
    m_header->addSubview(title);
    ui::Constraint::activate({
        title->leadingAnchor().constraintEqualTo(icon->trailingAnchor()),
        title->topAnchor().constraintEqualTo(m_header->topAnchor()),
        title->bottomAnchor().constraintEqualTo(m_header->bottomAnchor()),
        title->widthAnchor().constraintEqualToConstant(100),
    });
    m_closeButton = ui::Button::create();
    m_closeButton->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_closeButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto picker = weak.lock())
            picker->closeTapAction();
    });
    m_closeButton->setTitle(std::string(VIDEO_PLAYER_CLOSE_ICON));
    m_closeButton->setTitleColor(ui::Color::black());
    m_closeButton->setFont(chrome::iconFont(16));
    m_header->addSubview(m_closeButton);
    ui::Constraint::activate({
        m_closeButton->widthAnchor().constraintEqualToConstant(30),
        m_closeButton->trailingAnchor().constraintEqualTo(m_header->trailingAnchor()),
        m_closeButton->topAnchor().constraintEqualTo(m_header->topAnchor()),
        m_closeButton->bottomAnchor().constraintEqualTo(m_header->bottomAnchor()),
    });
    addReaderAccessibilityOn(*m_closeButton, "CloseButton", "");

    m_listContainer = ui::View::create();
    m_listContainer->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_listContainer->setBackgroundColor(ui::Color::lightGray());
    m_mainView->addSubview(m_listContainer);
    ui::Constraint::activate({
        m_listContainer->leadingAnchor().constraintEqualTo(m_mainView->leadingAnchor(), headerInset),
        m_listContainer->trailingAnchor().constraintEqualTo(m_mainView->trailingAnchor(), -headerInset),
        m_listContainer->topAnchor().constraintEqualTo(m_header->bottomAnchor(), headerInset),
        m_listContainer->bottomAnchor().constraintEqualTo(m_mainView->bottomAnchor(), -headerInset),
    });
    m_classListTableView->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_listContainer->addSubview(m_classListTableView);
    ui::Constraint::activate({
        m_classListTableView->leadingAnchor().constraintEqualTo(m_listContainer->leadingAnchor()),
        m_classListTableView->trailingAnchor().constraintEqualTo(m_listContainer->trailingAnchor()),
        m_classListTableView->topAnchor().constraintEqualTo(m_listContainer->topAnchor()),
        m_classListTableView->bottomAnchor().constraintEqualTo(m_listContainer->bottomAnchor()),
    });
}

void TeacherReviewClassListViewController::setUpClassTableView()
{
    auto self = std::static_pointer_cast<TeacherReviewClassListViewController>(shared_from_this());
    m_classListTableView->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
    m_classListTableView->setBounces(false);
    m_classListTableView->setDelegate(std::static_pointer_cast<ui::TableViewDelegate>(self));
    m_classListTableView->setDataSource(std::static_pointer_cast<ui::TableViewDataSource>(self));
    m_classListTableView->setTableHeaderView(nullptr);
    m_classListTableView->registerCellClass<TeacherReviewClassListTableViewCell>(
        TeacherReviewClassListTableViewCell::reuseIdentifierName);
    m_classListTableView->reloadData();
}

void TeacherReviewClassListViewController::closeTapAction()
{
    if (RemoveAnnotataionController)
        RemoveAnnotataionController();
    closeViewController();
}

void TeacherReviewClassListViewController::closeViewController(std::function<void()> completion)
{
    auto navigation = navigationController();
    if (navigation && navigation->presentingViewController()) {
        navigation->dismissViewControllerAnimated(true, std::move(completion));
        return;
    }
    if (completion)
        completion();
}

bool TeacherReviewClassListViewController::gestureRecognizerShouldReceiveTouch(
    ui::GestureRecognizer& recognizer, ui::View* touchedView) const
{
    return touchedView == recognizer.view().get();
}

int TeacherReviewClassListViewController::numberOfRowsInSection(ui::TableView&, int)
{
    return m_classesInfoArray ? static_cast<int>(m_classesInfoArray->size()) : 0;
}

std::shared_ptr<ui::TableViewCell> TeacherReviewClassListViewController::cellForRowAtIndexPath(
    ui::TableView& table, const ui::IndexPath& indexPath)
{
    auto cell = std::dynamic_pointer_cast<TeacherReviewClassListTableViewCell>(
        table.dequeueReusableCellWithIdentifier(TeacherReviewClassListTableViewCell::reuseIdentifierName, indexPath));
    if (!cell || !m_classesInfoArray || indexPath.row < 0
        || static_cast<size_t>(indexPath.row) >= m_classesInfoArray->size())
        return cell;
    if (auto label = cell->classNameLabel())
        label->setText((*m_classesInfoArray)[indexPath.row]);
    return cell;
}

void TeacherReviewClassListViewController::didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath)
{
    if (!m_classesInfoArray || !m_learnersDict || indexPath.row < 0
        || static_cast<size_t>(indexPath.row) >= m_classesInfoArray->size())
        return;
    const std::string& title = (*m_classesInfoArray)[indexPath.row];
    auto learners = m_learnersDict->find(title);
    if (DidSelectClassName)
        DidSelectClassName(title, learners != m_learnersDict->end() ? learners->second : base::Value(base::Value::List {}));
}

} // namespace lectoro
