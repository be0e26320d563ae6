// The older review panel's views: the card with its title area, class strip and
// selection bar, the learner list, the report button, the central spinner, closing and,
// on a tablet, the card's drag.

#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/teacherreview/TeacherAnnotationCells.h"
#include "LectoroSDKWithReader/teacherreview/TeacherAnnotationViewController.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/CollectionViewFlowLayout.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

#include <algorithm>
#include <cctype>

namespace lectoro {

namespace {

constexpr double titleAreaTop = 20;
constexpr double titleAreaHeight = 80;
constexpr double stripHeight = 40;
constexpr double listBottomInset = 70;
constexpr double selectionBarHeight = 3;

const LXMVThemeVO& annotationTheme(const std::shared_ptr<LXMVThemeVO>& theme)
{
    static const LXMVThemeVO noTheme;
    return theme ? *theme : noTheme;
}

std::shared_ptr<ui::View> annotationView()
{
    auto view = ui::View::create();
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    return view;
}

// "anna maria" -> "Anna Maria": each word's first letter upper case, the rest lower.
std::string capitalizedWords(const std::string& text)
{
    std::string result = text;
    bool wordStart = true;
    for (auto& c : result) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isspace(byte)) {
            wordStart = true;
            continue;
        }
        c = static_cast<char>(wordStart ? std::toupper(byte) : std::tolower(byte));
        wordStart = false;
    }
    return result;
}

} // namespace

double teacherAnnotationRestingTop(double screenHeight)
{
    return screenHeight * 0.5 - 130;
}

std::optional<TeacherAnnotationCardPlacement> teacherAnnotationDragEnded(
    double velocity, double currentTop, double screenHeight)
{
    const double resting = teacherAnnotationRestingTop(screenHeight);
    if (velocity < 0 && currentTop < resting)
        return TeacherAnnotationCardPlacement { 0, 0, false };
    if (velocity > 0 && currentTop < resting)
        return TeacherAnnotationCardPlacement { resting, TeacherAnnotationViewController::cardInset, false };
    if (velocity > 0 && currentTop > screenHeight / 3)
        return TeacherAnnotationCardPlacement { currentTop, 0, true };
    return std::nullopt;
}

std::shared_ptr<TeacherAnnotationViewController> TeacherAnnotationViewController::create()
{
    return std::shared_ptr<TeacherAnnotationViewController>(new TeacherAnnotationViewController());
}

std::weak_ptr<TeacherAnnotationViewController> TeacherAnnotationViewController::weakSelf()
{
    return std::static_pointer_cast<TeacherAnnotationViewController>(shared_from_this());
}

double TeacherAnnotationViewController::screenHeight() const
{
    return ui::Environment::current().screenSize().height;
}

// MARK: - Building

void TeacherAnnotationViewController::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    m_selectedClassIndex = 0;
    constructUI();
    const auto& theme = annotationTheme(themeVo);
    m_selectionBar = ui::View::create();
    m_selectionBar->setBackgroundColor(theme.teacher_studentlist_tab_selected_bar());
    m_stripHolder->addSubview(m_selectionBar);
    if (isIpad()) {
        auto pan = ui::PanGestureRecognizer::create([weak = weakSelf()](ui::GestureRecognizer& recognizer) {
            if (auto self = weak.lock())
                self->handlePan(static_cast<ui::PanGestureRecognizer&>(recognizer));
        });
        pan->setDelegate(weakSelf());
        pan->setCancelsTouchesInView(false);
        m_card->addGestureRecognizer(pan);
        m_cardTop->setConstant(teacherAnnotationRestingTop(screenHeight()));
        m_cardLeading->setConstant(cardInset);
        m_cardTrailing->setConstant(-cardInset);
        auto& layer = *m_card->layer();
        if (auto border = theme.teacher_studentlist_popup_border())
            layer.setBorderColor(*border);
        layer.setBorderWidth(1);
        m_card->setClipsToBounds(false);
        layer.setShadowOffset({ 0, -1 });
        layer.setShadowRadius(4);
        layer.setShadowOpacity(0.6);
        view()->setBackgroundColor(ui::Color::clear());
    }
    m_table->registerCellClass(learnerRowIdentifier,
        [](const std::string& identifier) { return TeacherAnnotationTableViewCell::create(identifier); });
    auto tap = ui::TapGestureRecognizer::create([weak = weakSelf()](ui::GestureRecognizer&) {
        if (auto self = weak.lock())
            self->handleTap();
    });
    tap->setDelegate(weakSelf());
    view()->addGestureRecognizer(tap);
    seedFetchStates();
    layoutCardFrames();
}

void TeacherAnnotationViewController::constructUI()
{
    const auto& theme = annotationTheme(themeVo);
    const bool pad = isIpad();
    auto root = view();
    m_card = annotationView();
    m_card->setBackgroundColor(theme.teacherSettings_popup_background());
    root->addSubview(m_card);
    m_cardTop = m_card->topAnchor().constraintEqualTo(root->topAnchor(), 0);
    m_cardLeading = m_card->leadingAnchor().constraintEqualTo(root->leadingAnchor(), 0);
    m_cardTrailing = m_card->trailingAnchor().constraintEqualTo(root->trailingAnchor(), 0);
    ui::Constraint::activate(
        { m_cardTop, m_cardLeading, m_cardTrailing, m_card->bottomAnchor().constraintEqualTo(root->bottomAnchor()) });

    m_titleArea = annotationView();
    m_titleArea->setBackgroundColor(ui::Color::clear());
    auto back = ui::Button::create();
    back->setTranslatesAutoresizingMaskIntoConstraints(false);
    back->setTitle("G");
    back->titleLabel()->setFont(chrome::iconFont(17));
    back->setTitleColor(theme.teacher_studentlist_title_color());
    back->setAccessibilityIdentifier("TeacherAnnotationBackButton");
    back->addTarget(ui::ControlEvent::TouchUpInside, [weak = weakSelf()](ui::Control&) {
        if (auto self = weak.lock())
            self->backButtonPressed();
    });
    auto classLabel = ui::Label::create();
    classLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    classLabel->setText(teacherReviewLocalizedString("CLASS"));
    if (auto font = getCustomFont(pad ? 22 : 18))
        classLabel->setFont(*font);
    classLabel->setTextColor(theme.teacher_studentlist_title_color().value_or(ui::Color::black()));
    auto prompt = ui::Label::create();
    prompt->setTranslatesAutoresizingMaskIntoConstraints(false);
    prompt->setText(teacherReviewLocalizedString("SELECT_STUDENT_FOR_REVIEW"));
    if (auto font = getCustomFont(pad ? 16 : 12))
        prompt->setFont(*font);
    prompt->setTextColor(theme.teacher_studentlist_title_color().value_or(ui::Color::black()));
    for (const auto& view : std::vector<std::shared_ptr<ui::View>> { back, classLabel, prompt })
        m_titleArea->addSubview(view);

    m_stripHolder = annotationView();
    auto layout = ui::CollectionViewFlowLayout::create();
    layout->setScrollDirection(ui::CollectionViewScrollDirection::Horizontal);
    layout->setMinimumLineSpacing(0);
    layout->setMinimumInteritemSpacing(0);
    m_strip = ui::CollectionView::create({}, layout);
    m_strip->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_strip->setBackgroundColor(UIColorExpanded::colorWithHexString("#FAFAFA"));
    m_strip->setBounces(false);
    m_strip->setShowsHorizontalScrollIndicator(false);
    m_strip->registerCellClass(
        classTabIdentifier, [](const std::string& identifier) { return TeacherAnnotationViewCell::create(identifier); });
    m_strip->setDataSource(weakSelf());
    m_strip->setDelegate(weakSelf());
    m_stripHolder->addSubview(m_strip);

    m_table = ui::TableView::create();
    m_table->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_table->setBackgroundColor(theme.teacherSettings_popup_background());
    m_table->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
    m_table->setShowsVerticalScrollIndicator(false);
    m_table->setDataSource(weakSelf());
    m_table->setDelegate(weakSelf());

    m_reportButton = ui::Button::create();
    m_reportButton->setTranslatesAutoresizingMaskIntoConstraints(false);
    for (auto state : { ui::ControlState::Normal, ui::ControlState::Selected }) {
        m_reportButton->setTitle(teacherReviewLocalizedString("GENERATE_REPORT"), state);
        m_reportButton->setTitleColor(theme.teacher_studentlist_title_color(), state);
    }
    m_reportButton->setBackgroundColor(ui::Color::white());
    m_reportButton->addTarget(ui::ControlEvent::TouchUpInside, [weak = weakSelf()](ui::Control&) {
        if (auto self = weak.lock())
            self->didTapOnGenerateReportButton();
    });

    m_separator = annotationView();
    m_separator->setBackgroundColor(theme.teacher_studentlist_popup_border());
    m_dragHandle = ui::Label::create();
    m_dragHandle->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_dragHandle->setText(ICON_MOVE_SHELF_UP);
    m_dragHandle->setFont(chrome::iconFont(25));
    m_dragHandle->setTextColor(ui::Color::white());
    for (const auto& view : std::vector<std::shared_ptr<ui::View>> {
             m_titleArea, m_stripHolder, m_table, m_reportButton, m_separator, m_dragHandle })
        m_card->addSubview(view);

    ui::Constraint::activate({
        m_titleArea->topAnchor().constraintEqualTo(m_card->topAnchor(), titleAreaTop),
        m_titleArea->leadingAnchor().constraintEqualTo(m_card->leadingAnchor()),
        m_titleArea->trailingAnchor().constraintEqualTo(m_card->trailingAnchor()),
        m_titleArea->heightAnchor().constraintEqualToConstant(titleAreaHeight),
        back->topAnchor().constraintEqualTo(m_titleArea->topAnchor(), 11),
        back->leadingAnchor().constraintEqualTo(m_titleArea->leadingAnchor(), 20),
        back->widthAnchor().constraintEqualToConstant(18),
        back->heightAnchor().constraintEqualToConstant(18),
        classLabel->topAnchor().constraintEqualTo(m_titleArea->topAnchor(), 7),
        classLabel->leadingAnchor().constraintEqualTo(back->trailingAnchor(), 15),
        classLabel->heightAnchor().constraintEqualToConstant(pad ? 30 : 25),
        prompt->topAnchor().constraintEqualTo(classLabel->bottomAnchor(), 10),
        prompt->leadingAnchor().constraintEqualTo(m_titleArea->leadingAnchor(), 53),
        prompt->heightAnchor().constraintEqualToConstant(pad ? 20 : 15),
        m_stripHolder->topAnchor().constraintEqualTo(m_titleArea->bottomAnchor()),
        m_stripHolder->leadingAnchor().constraintEqualTo(m_card->leadingAnchor()),
        m_stripHolder->trailingAnchor().constraintEqualTo(m_card->trailingAnchor()),
        m_stripHolder->heightAnchor().constraintEqualToConstant(stripHeight),
        m_strip->topAnchor().constraintEqualTo(m_stripHolder->topAnchor()),
        m_strip->leadingAnchor().constraintEqualTo(m_stripHolder->leadingAnchor()),
        m_strip->trailingAnchor().constraintEqualTo(m_stripHolder->trailingAnchor()),
        m_strip->heightAnchor().constraintEqualToConstant(stripHeight),
        m_separator->topAnchor().constraintEqualTo(m_stripHolder->bottomAnchor(), 1),
        m_separator->leadingAnchor().constraintEqualTo(m_card->leadingAnchor()),
        m_separator->trailingAnchor().constraintEqualTo(m_card->trailingAnchor()),
        m_separator->heightAnchor().constraintEqualToConstant(1),
        m_table->topAnchor().constraintEqualTo(m_stripHolder->bottomAnchor(), 10),
        m_table->leadingAnchor().constraintEqualTo(m_card->leadingAnchor()),
        m_table->trailingAnchor().constraintEqualTo(m_card->trailingAnchor()),
        m_table->bottomAnchor().constraintEqualTo(m_card->bottomAnchor(), -listBottomInset),
        m_reportButton->topAnchor().constraintEqualTo(m_table->bottomAnchor()),
        m_reportButton->leadingAnchor().constraintEqualTo(m_card->leadingAnchor()),
        m_reportButton->trailingAnchor().constraintEqualTo(m_card->trailingAnchor()),
        m_reportButton->bottomAnchor().constraintEqualTo(m_card->bottomAnchor()),
        m_dragHandle->topAnchor().constraintEqualTo(m_card->topAnchor(), -30),
        m_dragHandle->centerXAnchor().constraintEqualTo(m_card->centerXAnchor()),
        m_dragHandle->widthAnchor().constraintEqualToConstant(30),
        m_dragHandle->heightAnchor().constraintEqualToConstant(20),
    });
}

// Frames from the constraints' constants (nothing solves the constraints).
void TeacherAnnotationViewController::layoutCardFrames()
{
    auto root = viewIfLoaded();
    if (!root || !m_card)
        return;
    const auto bounds = root->bounds();
    const double top = m_cardTop->constant();
    const double leading = m_cardLeading->constant();
    const double width = bounds.width() - leading + m_cardTrailing->constant();
    m_card->setFrame({ leading, top, width, std::max(0.0, bounds.height() - top) });
    const double cardHeight = m_card->frame().height();
    m_titleArea->setFrame({ 0, titleAreaTop, width, titleAreaHeight });
    m_stripHolder->setFrame({ 0, titleAreaTop + titleAreaHeight, width, stripHeight });
    m_strip->setFrame({ 0, 0, width, stripHeight });
    const double listTop = m_stripHolder->frame().maxY() + 10;
    m_separator->setFrame({ 0, m_stripHolder->frame().maxY() + 1, width, 1 });
    m_table->setFrame({ 0, listTop, width, std::max(0.0, cardHeight - listBottomInset - listTop) });
    m_reportButton->setFrame({ 0, m_table->frame().maxY(), width, listBottomInset });
    m_dragHandle->setFrame({ (width - 30) / 2, -30, 30, 20 });
}

void TeacherAnnotationViewController::viewDidLayoutSubviews()
{
    ui::ViewController::viewDidLayoutSubviews();
    layoutCardFrames();
    m_strip->collectionViewLayout()->invalidateLayout();
    m_strip->reloadData();
    animateSelectedViewForCategory(0.4);
}

void TeacherAnnotationViewController::animateSelectedViewForCategory(double duration)
{
    if (!m_strip || !m_selectionBar)
        return;
    auto tab = m_strip->cellForItemAtIndexPath({ 0, m_selectedClassIndex });
    if (!tab)
        return;
    const auto frame = tab->frame();
    const auto offset = m_strip->contentOffset();
    const ui::Rect bar { frame.minX() - offset.x, m_strip->frame().maxY() - 1, frame.width(), selectionBarHeight };
    auto selectionBar = m_selectionBar;
    ui::View::animate(duration, [selectionBar, bar] { selectionBar->setFrame(bar); });
}

void TeacherAnnotationViewController::didScroll(ui::ScrollView&)
{
    animateSelectedViewForCategory(0.2);
}

// MARK: - Class strip

int TeacherAnnotationViewController::numberOfItemsInSection(ui::CollectionView&, int)
{
    return static_cast<int>(m_classTitles.size());
}

std::optional<ui::Size> TeacherAnnotationViewController::sizeForItemAtIndexPath(
    ui::CollectionView&, ui::CollectionViewLayout&, const ui::IndexPath&)
{
    const double width = m_stripHolder ? m_stripHolder->frame().width() : 0;
    const size_t count = std::max<size_t>(m_classTitles.size(), 1);
    // Four tabs show at most; more scroll.
    return ui::Size { count > 4 ? width / 4 : width / static_cast<double>(count), stripHeight };
}

std::shared_ptr<ui::CollectionViewCell> TeacherAnnotationViewController::cellForItemAtIndexPath(
    ui::CollectionView& strip, const ui::IndexPath& indexPath)
{
    auto tab = std::dynamic_pointer_cast<TeacherAnnotationViewCell>(
        strip.dequeueReusableCellWithReuseIdentifier(classTabIdentifier, indexPath));
    if (!tab)
        tab = TeacherAnnotationViewCell::create(classTabIdentifier);
    const auto& theme = annotationTheme(themeVo);
    const bool selected = indexPath.row == m_selectedClassIndex;
    const auto& label = tab->classButton();
    if (indexPath.row >= 0 && static_cast<size_t>(indexPath.row) < m_classTitles.size())
        label->setText(m_classTitles[static_cast<size_t>(indexPath.row)]);
    label->setBackgroundColor(theme.teacherSettings_popup_background());
    label->setTextColor(theme.teacherSettings_title_color().value_or(ui::Color::black()));
    const double size = isIpad() ? 20 : 18;
    auto font = selected ? getCustomFont(size) : getCustomFontForWeight(size, ui::FontWeight::Light);
    if (font)
        label->setFont(*font);
    return tab;
}

void TeacherAnnotationViewController::didSelectItemAtIndexPath(ui::CollectionView&, const ui::IndexPath& indexPath)
{
    base::RunLoop::main().post(weakSelf(), [this, row = indexPath.row] { selectClassAtIndex(row); });
}

void TeacherAnnotationViewController::selectClassAtIndex(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_classTitles.size())
        return;
    m_selectedClassIndex = index;
    m_strip->scrollToItemAtIndexPath({ 0, index }, ui::CollectionViewScrollPosition::CenteredHorizontally, true);
    selectedClassName = m_classTitles[static_cast<size_t>(index)];
    m_strip->reloadData();
    m_table->reloadData();
    animateSelectedViewForCategory(0.4);
}

// MARK: - Learner list

int TeacherAnnotationViewController::numberOfRowsInSection(ui::TableView&, int)
{
    return static_cast<int>(learnersOfSelectedClass().size());
}

std::optional<double> TeacherAnnotationViewController::heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&)
{
    return isIpad() ? 65.0 : 38.0;
}

void TeacherAnnotationViewController::askForLearner(const std::string& name, const std::string& learnerID)
{
    if (!fetchEachLearnerData)
        return;
    auto fetch = fetchEachLearnerData;
    base::globalQueue().async([fetch, name, learnerID] { fetch(name, learnerID); });
}

std::shared_ptr<ui::TableViewCell> TeacherAnnotationViewController::cellForRowAtIndexPath(
    ui::TableView& table, const ui::IndexPath& indexPath)
{
    auto row = std::dynamic_pointer_cast<TeacherAnnotationTableViewCell>(
        table.dequeueReusableCellWithIdentifier(learnerRowIdentifier));
    if (!row)
        row = TeacherAnnotationTableViewCell::create(learnerRowIdentifier);
    const auto& learners = learnersOfSelectedClass();
    if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= learners.size())
        return row;
    const auto& theme = annotationTheme(themeVo);
    auto learner = readLearnerRecord(learners[static_cast<size_t>(indexPath.row)]);
    const std::string name = learner ? learner->fullName : std::string();
    row->nameLabel()->setText("  " + capitalizedWords(name));
    row->nameLabel()->setTextColor(theme.teacher_studentlist_name_color().value_or(ui::Color::black()));
    if (auto font = getCustomFont(isIpad() ? 18 : 14))
        row->nameLabel()->setFont(*font);
    row->setBackgroundColor(theme.teacherSettings_popup_background());
    row->setSelectedBackgroundView(ui::View::create());
    row->selectedBackgroundView()->setBackgroundColor(ui::Color::white());
    row->checkMarkLabel()->setHidden(true);
    row->checkMarkLabel()->setTextColor(theme.teacherSettings_check_color().value_or(ui::Color::black()));
    row->refreshButton()->layer()->setBorderColor(
        theme.teacher_studentlist_refresh_button_text_color().value_or(ui::Color::black()));
    row->refreshButton()->setTitleColor(theme.teacher_studentlist_refresh_button_text_color());
    row->studenId = learner ? learner->learnerID : std::string();
    row->studentName = name;
    row->indexpath = indexPath;
    row->refreshButtonAction = [weak = weakSelf(), weakRow = std::weak_ptr<TeacherAnnotationTableViewCell>(row)](
                                   const std::string& rowName, const std::string& learnerID, const ui::IndexPath& path) {
        if (auto self = weak.lock())
            self->refreshButtonTapped(rowName, learnerID, path);
    };

    const base::Value* state = learner ? stateOf(learner->learnerID) : nullptr;
    if (!state)
        return row;
    const int64_t status = (*state)["status"].integerValue();
    if (status == 2) {
        row->activityIndicatorView()->startAnimating();
        row->dotView()->setBackgroundColor(ui::Color::clear());
        row->dotViewLabel()->setText("");
        row->refreshButton()->setHidden(true);
        askForLearner(name, learner->learnerID);
        return row;
    }
    row->activityIndicatorView()->stopAnimating();
    view()->setUserInteractionEnabled(true);
    if (status == 1) {
        const bool hasWork = (*state)["pageUgc"].count() > 0;
        row->dotView()->layer()->setCornerRadius(10);
        row->dotView()->setClipsToBounds(true);
        row->dotView()->setBackgroundColor(
            hasWork ? theme.teacher_studentlist_data_added_color() : theme.teacher_studentlist_nodata_added_color());
        row->dotViewLabel()->setText("");
        row->refreshButton()->setHidden(true);
    } else {
        row->dotView()->setBackgroundColor(ui::Color::clear());
        row->dotViewLabel()->setText("?");
        row->dotViewLabel()->setTextColor(theme.teacher_studentlist_nodata_added_color().value_or(ui::Color::black()));
        row->dotView()->bringSubviewToFront(row->dotViewLabel().get());
        row->refreshButton()->setHidden(false);
    }
    return row;
}

void TeacherAnnotationViewController::reloadRowsOfLearner(const std::string& learnerID)
{
    base::RunLoop::main().post(weakSelf(), [this, learnerID] {
        if (!m_table)
            return;
        std::vector<ui::IndexPath> rows;
        for (const auto& cell : m_table->visibleCells()) {
            auto row = std::dynamic_pointer_cast<TeacherAnnotationTableViewCell>(cell);
            if (row && row->studenId == learnerID)
                rows.push_back(row->indexpath);
        }
        if (!rows.empty())
            m_table->reloadRowsAtIndexPaths(rows, ui::TableViewRowAnimation::None);
    });
}

void TeacherAnnotationViewController::didSelectRowAtIndexPath(ui::TableView& table, const ui::IndexPath& indexPath)
{
    const auto& learners = learnersOfSelectedClass();
    if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= learners.size())
        return;
    auto learner = readLearnerRecord(learners[static_cast<size_t>(indexPath.row)]);
    if (!learner)
        return;
    selectedLearnerImageUrl = learner->profilePicURL;
    selectedLearnerName = learner->fullName;
    const base::Value* state = stateOf(learner->learnerID);
    const base::Value* pages = state ? (*state)["pageUgc"].asList() ? &(*state)["pageUgc"] : nullptr : nullptr;
    if (pages && pages->count() > 0 && learnerSelectionAction) {
        if (auto row = std::dynamic_pointer_cast<TeacherAnnotationTableViewCell>(table.cellForRowAtIndexPath(indexPath)))
            row->checkMarkLabel()->setHidden(false);
        learnerSelectionAction(*pages, learner->learnerID);
    } else if (pages && pages->count() == 0) {
        AlertView::sharedManager().presentAlertWithTitle({},
            learner->fullName + teacherReviewLocalizedString("HAS_NOT_SUBMITTED_ANY_ANSWER"),
            std::vector<std::string> { teacherReviewLocalizedString("OK") }, shared_from_this(), {});
    }
}

void TeacherAnnotationViewController::didDeselectRowAtIndexPath(ui::TableView& table, const ui::IndexPath& indexPath)
{
    if (auto row = std::dynamic_pointer_cast<TeacherAnnotationTableViewCell>(table.cellForRowAtIndexPath(indexPath)))
        row->checkMarkLabel()->setHidden(true);
}

void TeacherAnnotationViewController::refreshButtonTapped(
    const std::string& name, const std::string& learnerID, const ui::IndexPath& indexPath)
{
    auto row = std::dynamic_pointer_cast<TeacherAnnotationTableViewCell>(m_table->cellForRowAtIndexPath(indexPath));
    if (!row)
        return;
    const auto& theme = annotationTheme(themeVo);
    auto dot = row->dotView()->backgroundColor();
    auto noData = theme.teacher_studentlist_nodata_added_color();
    // A learner with nothing handed in has nothing to fetch again.
    if (dot && noData && UIColorExpanded::hexStringFromColor(*dot) == UIColorExpanded::hexStringFromColor(*noData))
        return;
    row->activityIndicatorView()->startAnimating();
    row->dotView()->setBackgroundColor(ui::Color::clear());
    row->dotViewLabel()->setText("");
    row->refreshButton()->setHidden(true);
    askForLearner(name, learnerID);
}

// MARK: - Spinner, report and closing

void TeacherAnnotationViewController::startActivityIndicator()
{
    if (m_activityIndicator)
        return;
    const auto screen = ui::Environment::current().screenSize();
    m_activityIndicator = ui::ActivityIndicatorView::create(ui::ActivityIndicatorStyle::Gray);
    m_activityIndicator->setOpaque(true);
    m_activityIndicator->setCenter({ screen.width / 2, screen.height / 2 });
    view()->addSubview(m_activityIndicator);
    m_activityIndicator->startAnimating();
    view()->setUserInteractionEnabled(false);
}

void TeacherAnnotationViewController::stopActivityIndicator()
{
    if (m_activityIndicator) {
        m_activityIndicator->stopAnimating();
        m_activityIndicator->removeFromSuperview();
        m_activityIndicator.reset();
    }
    view()->setUserInteractionEnabled(true);
}

void TeacherAnnotationViewController::didTapOnGenerateReportButton()
{
    if (didTapOnGenerateReport)
        didTapOnGenerateReport();
}

void TeacherAnnotationViewController::closePanel()
{
    if (removeAnnotataionController)
        removeAnnotataionController();
    auto navigation = navigationController();
    if (navigation && navigation->presentingViewController())
        navigation->dismissViewControllerAnimated(true);
}

void TeacherAnnotationViewController::backButtonPressed()
{
    closePanel();
}

void TeacherAnnotationViewController::handleTap()
{
    closePanel();
}

bool TeacherAnnotationViewController::shouldReceiveTouch(ui::GestureRecognizer& recognizer, ui::View* touched)
{
    // The outside tap only takes touches on the panel's own view, never on the card.
    if (dynamic_cast<ui::TapGestureRecognizer*>(&recognizer))
        return touched == view().get();
    return true;
}

void TeacherAnnotationViewController::handlePan(ui::PanGestureRecognizer& pan)
{
    const double translation = pan.translationInView(view().get()).y;
    const double velocity = pan.velocityInView(view().get()).y;
    const double current = m_cardTop->constant();
    switch (pan.state()) {
    case ui::GestureState::Began:
        m_dragStart = current;
        m_cardTop->setConstant(std::max(m_dragStart + translation, 0.0));
        layoutCardFrames();
        break;
    case ui::GestureState::Changed: {
        const double top = std::max(m_dragStart + translation, 0.0);
        m_cardTop->setConstant(top);
        m_cardLeading->setConstant(top > 0 ? cardInset : 0);
        m_cardTrailing->setConstant(top > 0 ? -cardInset : 0);
        ui::View::animate(dragAnimationDuration, [weak = weakSelf()] {
            if (auto self = weak.lock())
                self->layoutCardFrames();
        });
        break;
    }
    case ui::GestureState::Ended: {
        if (auto dragged = pan.view())
            dragged->setAlpha(1.0);
        auto placement = teacherAnnotationDragEnded(velocity, current, screenHeight());
        if (placement && placement->closes) {
            closePanel();
            return;
        }
        if (placement) {
            m_cardTop->setConstant(placement->top);
            m_cardLeading->setConstant(placement->inset);
            m_cardTrailing->setConstant(-placement->inset);
        }
        ui::View::animate(dragAnimationDuration, [weak = weakSelf()] {
            if (auto self = weak.lock())
                self->layoutCardFrames();
        });
        break;
    }
    default:
        break;
    }
}

} // namespace lectoro
