#include "LectoroSDKWithReader/teacherreview/TeacherReviewViewController.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewDelegate.h"

#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "platform/base/AttributedString.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TextMetrics.h"

namespace lectoro {

namespace {

// Every touch reaches the panel's tap recognisers.
class ReceiveEveryTouch final : public ui::GestureRecognizerDelegate {
public:
    bool shouldReceiveTouch(ui::GestureRecognizer&, ui::View*) override { return true; }
};

const char* headerColorHex = "#e3e3e3";

struct PanelMetrics {
    double headerHeight;
    double barLeading;
    double barTrailing;
    double firstSeparatorTrailing;
    double secondSeparatorInset;
    double searchWidth;
    double searchHeight;
    double searchGlyphLeading;
    double searchFieldLeading;
    double searchFontSize;
    double tableInset;
    double tableTop;
    double emptyLabelTop;
};

PanelMetrics panelMetrics()
{
    if (isIpad())
        return { 50, 60, 50, 50, 50, 400, 40, 18, 12, 17, 40, 30, 100 };
    return { 40, 20, 20, 0, 0, 300, 35, 16, 16, 14, 20, 20, 50 };
}

constexpr double barHeight = 50;
constexpr double tableBottomInset = 30;

std::shared_ptr<ui::View> makeView()
{
    auto view = ui::View::create();
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    return view;
}

std::shared_ptr<ui::View> makeSeparator()
{
    auto view = makeView();
    view->setBackgroundColor(ui::Color::lightGray().withAlpha(0.5));
    return view;
}

ui::Font iconFontOfSize(double size)
{
    return chrome::iconFont(size);
}

} // namespace

std::shared_ptr<TeacherReviewViewController> TeacherReviewViewController::create()
{
    return std::shared_ptr<TeacherReviewViewController>(new TeacherReviewViewController());
}

TeacherReviewViewController::TeacherReviewViewController()
    : m_searchBar(ui::TextField::create())
    , m_studentListTableView(ui::TableView::create())
    , m_noStudentLabel(ui::Label::create())
    , m_gestureDelegate(std::make_shared<ReceiveEveryTouch>())
{
}

TeacherReviewViewController::~TeacherReviewViewController()
{
    // The timer's callback holds the panel weakly; a panel that goes away stops it too.
    stopScheduledTimer();
}

std::weak_ptr<TeacherReviewViewController> TeacherReviewViewController::weakSelf()
{
    return std::static_pointer_cast<TeacherReviewViewController>(shared_from_this());
}

// MARK: - View

void TeacherReviewViewController::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    setUpPanelViews();
    setUpStudentTableView();
    getStudentData();
    // A chain that found nobody to fetch has nothing for the timer to show.
    if (!m_fetchChainFinished && !m_scheduledTimer) {
        auto weak = weakSelf();
        m_scheduledTimer = base::Timer::scheduled(refreshInterval, true, [weak](base::Timer&) {
            if (auto self = weak.lock())
                self->timerAction();
        });
    }
}

void TeacherReviewViewController::viewDidAppear(bool animated)
{
    ui::ViewController::viewDidAppear(animated);
    if (auto owner = delegate())
        owner->didStudentPopUpOpen(true);
}

void TeacherReviewViewController::viewDidDisappear(bool animated)
{
    ui::ViewController::viewDidDisappear(animated);
    if (auto owner = delegate())
        owner->didStudentPopUpOpen(false);
}

void TeacherReviewViewController::setUpPanelViews()
{
    const auto metrics = panelMetrics();
    static const LXMVThemeVO noTheme;
    const LXMVThemeVO& theme = themeVo ? *themeVo : noTheme;
    auto root = view();
    root->setBackgroundColor(theme.teacherSettings_popup_background());
    auto weak = weakSelf();

    auto addTap = [&](ui::View& target, std::function<void(TeacherReviewViewController&)> action) {
        target.setUserInteractionEnabled(true);
        auto tap = ui::TapGestureRecognizer::create([weak, action](ui::GestureRecognizer&) {
            if (auto self = weak.lock())
                action(*self);
        });
        tap->setDelegate(m_gestureDelegate);
        target.addGestureRecognizer(tap);
    };
    const auto& changeColor = theme.teacher_studentlist_change_text_color();

    // Header: back glyph and title, both going back.
    m_headerBar = makeView();
    m_headerBar->setBackgroundColor(chrome::colorFromHex(headerColorHex));
    root->addSubview(m_headerBar);
    ui::Constraint::activate({
        m_headerBar->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        m_headerBar->trailingAnchor().constraintEqualTo(root->trailingAnchor()),
        m_headerBar->topAnchor().constraintEqualTo(root->safeAreaLayoutGuide()->topAnchor()),
        m_headerBar->heightAnchor().constraintEqualToConstant(metrics.headerHeight),
    });
    auto back = chrome::makeConstrainedLabel(ICON_BACK);
    addTap(*back, [](TeacherReviewViewController& self) { self.backButtonTapped(); });
    chrome::applyTextColor(*back, changeColor);
    back->setTextAlignment(ui::TextAlignment::Center);
    back->setFont(iconFontOfSize(20));
    addReaderAccessibilityOn(*back, "StudentListBackButton", "");
    m_headerBar->addSubview(back);
    ui::Constraint::activate({
        back->leadingAnchor().constraintEqualTo(m_headerBar->leadingAnchor()),
        back->topAnchor().constraintEqualTo(m_headerBar->topAnchor()),
        back->bottomAnchor().constraintEqualTo(m_headerBar->bottomAnchor()),
        back->widthAnchor().constraintEqualToConstant(40),
    });
    auto title = chrome::makeConstrainedLabel(teacherReviewLocalizedString("SELECT_STUDENT"));
    addTap(*title, [](TeacherReviewViewController& self) { self.backButtonTapped(); });
    chrome::applyTextColor(*title, changeColor);
    m_headerBar->addSubview(title);
    ui::Constraint::activate({
        title->leadingAnchor().constraintEqualTo(back->trailingAnchor()),
        title->topAnchor().constraintEqualTo(m_headerBar->topAnchor()),
        title->bottomAnchor().constraintEqualTo(m_headerBar->bottomAnchor()),
        title->widthAnchor().constraintEqualToConstant(200),
    });

    auto pinBar = [&](const std::shared_ptr<ui::View>& bar, const std::shared_ptr<ui::View>& above) {
        root->addSubview(bar);
        ui::Constraint::activate({
            bar->leadingAnchor().constraintEqualTo(root->leadingAnchor(), metrics.barLeading),
            bar->trailingAnchor().constraintEqualTo(root->trailingAnchor(), -metrics.barTrailing),
            bar->topAnchor().constraintEqualTo(above->bottomAnchor()),
            bar->heightAnchor().constraintEqualToConstant(barHeight),
        });
    };
    auto pinSeparator = [&](const std::shared_ptr<ui::View>& line, const std::shared_ptr<ui::View>& above,
                            double leading, double trailing) {
        root->addSubview(line);
        ui::Constraint::activate({
            line->leadingAnchor().constraintEqualTo(root->leadingAnchor(), leading),
            line->trailingAnchor().constraintEqualTo(root->trailingAnchor(), -trailing),
            line->topAnchor().constraintEqualTo(above->bottomAnchor()),
            line->heightAnchor().constraintEqualToConstant(1),
        });
    };

    // Class bar: the class name and the change-class glyph and text.
    m_classBar = makeView();
    pinBar(m_classBar, m_headerBar);
    auto className = chrome::makeConstrainedLabel(selectedClassName.value_or(std::string()));
    chrome::applyTextColor(*className, theme.teacher_studentlist_class_text_color());
    m_classBar->addSubview(className);
    ui::Constraint::activate({
        className->leadingAnchor().constraintEqualTo(m_classBar->leadingAnchor()),
        className->topAnchor().constraintEqualTo(m_classBar->topAnchor()),
        className->bottomAnchor().constraintEqualTo(m_classBar->bottomAnchor()),
        className->widthAnchor().constraintEqualToConstant(200),
    });
    auto changeGlyph = chrome::makeConstrainedLabel(ICON_NEXT);
    chrome::applyTextColor(*changeGlyph, changeColor);
    addTap(*changeGlyph, [](TeacherReviewViewController& self) { self.changeClassButtonTapped(); });
    changeGlyph->setFont(iconFontOfSize(18));
    changeGlyph->setIsAccessibilityElement(false);
    m_classBar->addSubview(changeGlyph);
    ui::Constraint::activate({
        changeGlyph->trailingAnchor().constraintEqualTo(m_classBar->trailingAnchor(), -10),
        changeGlyph->centerYAnchor().constraintEqualTo(m_classBar->centerYAnchor()),
        changeGlyph->heightAnchor().constraintEqualToConstant(40),
        changeGlyph->widthAnchor().constraintEqualToConstant(20),
    });
    auto changeText = chrome::makeConstrainedLabel(teacherReviewLocalizedString("CHANGE_CLASS"));
    addTap(*changeText, [](TeacherReviewViewController& self) { self.changeClassButtonTapped(); });
    chrome::applyTextColor(*changeText, changeColor);
    changeText->setTextAlignment(ui::TextAlignment::Right);
    changeText->setAccessibilityIdentifier("ChangeClassButton");
    m_classBar->addSubview(changeText);
    ui::Constraint::activate({
        changeText->trailingAnchor().constraintEqualTo(changeGlyph->leadingAnchor(), -10),
        changeText->centerYAnchor().constraintEqualTo(m_classBar->centerYAnchor()),
        changeText->heightAnchor().constraintEqualToConstant(40),
        changeText->widthAnchor().constraintEqualToConstant(100),
    });

    m_firstSeparator = makeSeparator();
    pinSeparator(m_firstSeparator, m_classBar, metrics.barLeading, metrics.firstSeparatorTrailing);

    // Annotations bar: its title and the switch.
    m_annotationsBar = makeView();
    pinBar(m_annotationsBar, m_firstSeparator);
    auto annotationsTitle = chrome::makeConstrainedLabel(teacherReviewLocalizedString("ANNOTATIONS"));
    m_annotationsBar->addSubview(annotationsTitle);
    ui::Constraint::activate({
        annotationsTitle->leadingAnchor().constraintEqualTo(m_annotationsBar->leadingAnchor()),
        annotationsTitle->topAnchor().constraintEqualTo(m_annotationsBar->topAnchor()),
        annotationsTitle->bottomAnchor().constraintEqualTo(m_annotationsBar->bottomAnchor()),
        annotationsTitle->widthAnchor().constraintEqualToConstant(200),
    });
    m_annotationSwitch = ui::Switch::create();
    m_annotationSwitch->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_annotationSwitch->setOn(false);
    std::weak_ptr<ui::Switch> weakSwitch = m_annotationSwitch;
    m_annotationSwitch->addTarget(ui::ControlEvent::ValueChanged, [weak, weakSwitch](ui::Control&) {
        auto self = weak.lock();
        auto control = weakSwitch.lock();
        if (self && control)
            self->annotationSwitchChanged(*control);
    });
    // The switch starts off yet carries the "on" identifier until it is first turned.
    addReaderAccessibilityOn(*m_annotationSwitch, "AnnotationSwitchOnStatus", "");
    m_annotationsBar->addSubview(m_annotationSwitch);
    ui::Constraint::activate({
        m_annotationSwitch->trailingAnchor().constraintEqualTo(m_annotationsBar->trailingAnchor(), -10),
        m_annotationSwitch->centerYAnchor().constraintEqualTo(m_annotationsBar->centerYAnchor()),
        m_annotationSwitch->heightAnchor().constraintEqualToConstant(30),
        m_annotationSwitch->widthAnchor().constraintEqualToConstant(50),
    });

    m_secondSeparator = makeSeparator();
    pinSeparator(m_secondSeparator, m_annotationsBar, metrics.secondSeparatorInset, metrics.secondSeparatorInset);

    // Search box: glyph and field.
    m_searchBox = makeView();
    m_searchBox->layer()->setCornerRadius(20);
    m_searchBox->setBackgroundColor(ui::Color::lightGray().withAlpha(0.2));
    root->addSubview(m_searchBox);
    ui::Constraint::activate({
        m_searchBox->centerXAnchor().constraintEqualTo(root->centerXAnchor()),
        m_searchBox->topAnchor().constraintEqualTo(m_secondSeparator->bottomAnchor(), 10),
        m_searchBox->widthAnchor().constraintEqualToConstant(metrics.searchWidth),
        m_searchBox->heightAnchor().constraintEqualToConstant(metrics.searchHeight),
    });
    auto searchGlyph = chrome::makeConstrainedLabel(ICON_SEARCH);
    searchGlyph->setFont(iconFontOfSize(16));
    searchGlyph->setTextAlignment(ui::TextAlignment::Left);
    searchGlyph->setTextColor(ui::Color::gray());
    searchGlyph->setIsAccessibilityElement(false);
    m_searchBox->addSubview(searchGlyph);
    ui::Constraint::activate({
        searchGlyph->leadingAnchor().constraintEqualTo(m_searchBox->leadingAnchor(), metrics.searchGlyphLeading),
        searchGlyph->widthAnchor().constraintEqualToConstant(16),
        searchGlyph->topAnchor().constraintEqualTo(m_searchBox->topAnchor()),
        searchGlyph->bottomAnchor().constraintEqualTo(m_searchBox->bottomAnchor()),
    });
    m_searchBar->setTranslatesAutoresizingMaskIntoConstraints(false);
    std::weak_ptr<ui::TextField> weakField = m_searchBar;
    m_searchBar->addTarget(ui::ControlEvent::EditingChanged, [weak, weakField](ui::Control&) {
        auto self = weak.lock();
        auto field = weakField.lock();
        if (self && field)
            self->textFieldEditingDidChange(*field);
    });
    m_searchBar->setDelegate(std::static_pointer_cast<TeacherReviewViewController>(shared_from_this()));
    m_searchBar->setText({});
    m_searchBar->setBackgroundColor(ui::Color::clear());
    if (auto font = getCustomFont(metrics.searchFontSize))
        m_searchBar->setFont(*font);
    m_searchBar->setTextAlignment(isRTL() ? ui::TextAlignment::Right : ui::TextAlignment::Left);
    m_searchBar->layer()->setBorderColor(ui::Color::white());
    m_searchBar->setReturnKeyType(ui::ReturnKeyType::Search);
    m_searchBar->setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
    base::AttributedString placeholder(teacherReviewLocalizedString("SEARCH"));
    placeholder.addForegroundColor(base::Range { 0, placeholder.length() }, ui::colorAttr(ui::Color::gray()));
    m_searchBar->setAttributedPlaceholder(placeholder);
    m_searchBox->addSubview(m_searchBar);
    ui::Constraint::activate({
        m_searchBar->leadingAnchor().constraintEqualTo(searchGlyph->trailingAnchor(), metrics.searchFieldLeading),
        m_searchBar->topAnchor().constraintEqualTo(m_searchBox->topAnchor()),
        m_searchBar->bottomAnchor().constraintEqualTo(m_searchBox->bottomAnchor()),
        m_searchBar->trailingAnchor().constraintEqualTo(m_searchBox->trailingAnchor(), -6),
    });

    // The learner table and the label shown in its place when nobody is listed.
    m_studentListTableView->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(m_studentListTableView);
    ui::Constraint::activate({
        m_studentListTableView->leadingAnchor().constraintEqualTo(root->leadingAnchor(), metrics.tableInset),
        m_studentListTableView->trailingAnchor().constraintEqualTo(root->trailingAnchor(), -metrics.tableInset),
        m_studentListTableView->topAnchor().constraintEqualTo(m_searchBox->bottomAnchor(), metrics.tableTop),
        m_studentListTableView->bottomAnchor().constraintEqualTo(root->bottomAnchor(), -tableBottomInset),
    });
    m_noStudentLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_noStudentLabel->setText(noStudentText);
    m_noStudentLabel->setTextAlignment(ui::TextAlignment::Center);
    m_noStudentLabel->setHidden(true);
    root->addSubview(m_noStudentLabel);
    ui::Constraint::activate({
        m_noStudentLabel->widthAnchor().constraintEqualToConstant(250),
        m_noStudentLabel->heightAnchor().constraintEqualToConstant(30),
        m_noStudentLabel->centerXAnchor().constraintEqualTo(root->centerXAnchor()),
        m_noStudentLabel->topAnchor().constraintEqualTo(m_studentListTableView->topAnchor(), metrics.emptyLabelTop),
    });
    // The list may have been handed in before the view was built.
    if (m_studentListArray)
        showStudentList(!m_studentListArray->empty());
}

void TeacherReviewViewController::setUpStudentTableView()
{
    auto self = std::static_pointer_cast<TeacherReviewViewController>(shared_from_this());
    m_studentListTableView->setBounces(false);
    m_studentListTableView->setDelegate(std::static_pointer_cast<ui::TableViewDelegate>(self));
    m_studentListTableView->setDataSource(std::static_pointer_cast<ui::TableViewDataSource>(self));
    m_studentListTableView->setTableHeaderView(nullptr);
    m_studentListTableView->reloadData();
}

void TeacherReviewViewController::annotationSwitchChanged(ui::Switch& control)
{
    addReaderAccessibilityOn(control, control.isOn() ? "AnnotationSwitchOnStatus" : "AnnotationSwitchOffStatus", "");
    isAnnotationEnabled = control.isOn();
}

void TeacherReviewViewController::showStudentList(bool show)
{
    m_studentListTableView->setHidden(!show);
    m_noStudentLabel->setHidden(show);
}

void TeacherReviewViewController::closeViewController()
{
    stopScheduledTimer();
    auto navigation = navigationController();
    if (navigation && navigation->presentingViewController())
        navigation->dismissViewControllerAnimated(true);
    if (RemoveAnnotataionController)
        RemoveAnnotataionController();
}

void TeacherReviewViewController::changeClassButtonTapped()
{
    stopScheduledTimer();
    // The owner presents the class picker from the controller that presents this panel,
    // which can only happen once this panel is gone.
    auto changeClass = DidTapOnChangeClassButton;
    auto navigation = navigationController();
    if (navigation && navigation->presentingViewController()) {
        navigation->dismissViewControllerAnimated(true, [changeClass] {
            if (changeClass)
                changeClass();
        });
    } else if (changeClass) {
        changeClass();
    }
}

int TeacherReviewViewController::getStudentCount() const
{
    if (!m_studentListArray || m_studentListArray->empty())
        return -1;
    return static_cast<int>(m_studentListArray->size());
}

int TeacherReviewViewController::getStudentIndex() const
{
    if (!m_studentListArray || !selectedLearnerID)
        return -1;
    int position = 0;
    for (const auto& record : *m_studentListArray) {
        ++position;
        auto learner = readLearnerRecord(record);
        if (learner && learner->learnerID == *selectedLearnerID)
            return position;
    }
    return -1;
}

// MARK: - Learner data and the fetch chain

void TeacherReviewViewController::setDataWithClassName(const std::string& title, const base::Value::List& studentList)
{
    selectedClassName = title;
    m_studentListArray = studentList;
    m_filteredStudentListArray = studentList;
    showStudentList(!studentList.empty());
    for (const auto& record : studentList) {
        if (auto learner = readLearnerRecord(record))
            m_studentIdArray.set(learner->learnerID, learner->fullName);
    }
}

void TeacherReviewViewController::getStudentData()
{
    if (m_studentIdArray.empty()) {
        m_fetchChainFinished = true;
        stopScheduledTimer();
        reloadStudentTable();
        return;
    }
    auto first = m_studentIdArray.begin();
    std::string learnerID = first->first;
    std::string name = first->second.asString().value_or(std::string());
    m_studentIdArray.remove(learnerID);
    fetchLearner(name, learnerID);
}

void TeacherReviewViewController::fetchLearner(const std::string& name, const std::string& learnerID)
{
    if (!FetchEachLearnerData)
        return;
    base::globalQueue().async([fetch = FetchEachLearnerData, name, learnerID] { fetch(name, learnerID); });
}

void TeacherReviewViewController::timerAction()
{
    reloadStudentTable();
}

void TeacherReviewViewController::reloadStudentTable()
{
    if (isViewLoaded())
        m_studentListTableView->reloadData();
}

void TeacherReviewViewController::stopScheduledTimer()
{
    if (m_scheduledTimer)
        m_scheduledTimer->invalidate();
    m_scheduledTimer.reset();
}

void TeacherReviewViewController::setSubmittedStudentUGCArray(const base::Value& result)
{
    auto weak = weakSelf();
    base::RunLoop::main().post([weak, result] {
        if (auto self = weak.lock()) {
            self->storeSubmittedWork(result);
            self->getStudentData();
        }
    });
}

void TeacherReviewViewController::storeSubmittedWork(const base::Value& result)
{
    const auto* entries = result.asDictionary();
    if (!entries || entries->empty())
        return;
    const auto& [learnerID, record] = *entries->begin();
    const base::Value& pages = record["pageUgc"];
    if (const auto* list = pages.asList(); list && !list->empty())
        m_studentDataDict[learnerID] = pages;
}

void TeacherReviewViewController::serviceFailedWithLearnerID(const std::string&)
{
    auto weak = weakSelf();
    base::RunLoop::main().post([weak] {
        if (auto self = weak.lock())
            self->getStudentData();
    });
}

// MARK: - Busy overlay

void TeacherReviewViewController::startActivityIndicator()
{
    if (m_blackOverLay)
        return;
    auto root = view();
    m_blackOverLay = makeView();
    m_blackOverLay->setBackgroundColor(ui::Color::lightGray().withAlpha(0.2));
    root->addSubview(m_blackOverLay);
    ui::Constraint::activate({
        m_blackOverLay->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        m_blackOverLay->trailingAnchor().constraintEqualTo(root->trailingAnchor()),
        m_blackOverLay->topAnchor().constraintEqualTo(root->topAnchor()),
        m_blackOverLay->bottomAnchor().constraintEqualTo(root->bottomAnchor()),
    });
    m_blackOverLay->setFrame(root->bounds());
    m_activityIndicator = ui::ActivityIndicatorView::create(ui::ActivityIndicatorStyle::Gray);
    m_activityIndicator->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_activityIndicator->setHidesWhenStopped(true);
    m_activityIndicator->setColor(ui::Color::lightGray());
    m_blackOverLay->addSubview(m_activityIndicator);
    ui::Constraint::activate({
        m_activityIndicator->centerXAnchor().constraintEqualTo(m_blackOverLay->centerXAnchor()),
        m_activityIndicator->centerYAnchor().constraintEqualTo(m_blackOverLay->centerYAnchor()),
        m_activityIndicator->widthAnchor().constraintEqualToConstant(100),
        m_activityIndicator->heightAnchor().constraintEqualToConstant(100),
    });
    m_activityIndicator->setFrame({ (root->bounds().width() - 100) / 2, (root->bounds().height() - 100) / 2, 100, 100 });
    m_activityIndicator->startAnimating();
}

void TeacherReviewViewController::stopActivityIndicator()
{
    if (m_activityIndicator) {
        m_activityIndicator->stopAnimating();
        m_activityIndicator->removeFromSuperview();
        m_activityIndicator.reset();
    }
    if (m_blackOverLay) {
        m_blackOverLay->removeFromSuperview();
        m_blackOverLay.reset();
    }
}

} // namespace lectoro
