#include "LectoroSDKWithReader/teacherreview/report/GenerateReportViewController.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "LectoroSDKWithReader/teacherreview/report/GenerateReportParser.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableViewCell.h"

#include <algorithm>

namespace lectoro {

namespace {

constexpr double reportHeaderHeight = 50;
constexpr double reportInset = 16;
constexpr double reportSegmentHeight = 32;
constexpr double reportSelectAllHeight = 36;
constexpr double reportFooterHeight = 56;
constexpr double reportButtonWidth = 70;

std::shared_ptr<ui::Button> reportButton(const std::string& title, const std::optional<ui::Color>& color)
{
    auto button = ui::Button::create();
    button->setTitle(title);
    button->setTitleColor(color.value_or(ui::Color::black()));
    button->setTitleColor(ui::Color::lightGray(), ui::ControlState::Disabled);
    button->setFont(chrome::customFont(16));
    return button;
}

} // namespace

std::shared_ptr<GenerateReportViewController> GenerateReportViewController::create(std::optional<ui::Color> themeColor)
{
    return std::shared_ptr<GenerateReportViewController>(new GenerateReportViewController(std::move(themeColor)));
}

GenerateReportViewController::GenerateReportViewController(std::optional<ui::Color> themeColor)
    : m_themeColor(std::move(themeColor))
{
}

// MARK: - Data

void GenerateReportViewController::setData(const base::Value& rows)
{
    const auto* list = rows.asList();
    (m_segment == ChapterSegment ? m_chapters : m_learners) = list ? *list : base::Value::List {};
    keepListedTicks();
    refresh();
}

void GenerateReportViewController::setStatusData(const base::Value& status)
{
    const auto* dictionary = status.asDictionary();
    m_status = dictionary ? *dictionary : base::Value::Dictionary {};
    refresh();
}

bool GenerateReportViewController::hasSubmittedWork(const std::string& learnerID) const
{
    const auto* value = m_status.find(learnerID);
    return value && value->description() == "1";
}

std::string GenerateReportViewController::rowID(const base::Value& row, Segment segment)
{
    if (segment == ChapterSegment) {
        const auto& id = row[chapterIDKey];
        return id.isNull() ? std::string() : id.description();
    }
    auto learner = readLearnerRecord(row);
    return learner ? learner->learnerID : std::string();
}

const base::Value::List& GenerateReportViewController::rowsOnScreen() const
{
    return m_segment == ChapterSegment ? m_chapters : m_learners;
}

std::set<std::string>& GenerateReportViewController::ticksOnScreen()
{
    return m_segment == ChapterSegment ? m_selectedChapters : m_selectedLearners;
}

void GenerateReportViewController::keepListedTicks()
{
    std::set<std::string> listed;
    for (const auto& row : rowsOnScreen())
        listed.insert(rowID(row, m_segment));
    auto& ticks = ticksOnScreen();
    std::erase_if(ticks, [&](const std::string& id) { return !listed.contains(id); });
}

base::Value GenerateReportViewController::reportData() const
{
    base::Value::List chapterIDs;
    for (const auto& row : m_chapters) {
        if (m_selectedChapters.contains(rowID(row, ChapterSegment)))
            chapterIDs.push_back(row[chapterIDKey]);
    }
    base::Value::List learnerIDs;
    for (const auto& row : m_learners) {
        if (m_selectedLearners.contains(rowID(row, StudentSegment)))
            learnerIDs.push_back(row["user"]["id"]);
    }
    return base::Value::Dictionary { { chapterIDKey, std::move(chapterIDs) }, { studentIDKey, std::move(learnerIDs) } };
}

// MARK: - Taps

void GenerateReportViewController::selectSegment(Segment segment)
{
    m_segment = segment;
    if (m_segmentedControl && m_segmentedControl->selectedSegmentIndex() != segment)
        m_segmentedControl->setSelectedSegmentIndex(segment);
    refresh();
    if (auto listener = delegate()) {
        if (segment == ChapterSegment)
            listener->didSelectChapterSegmentForGenerateReport();
        else
            listener->didSelectStudentSegmentForGenerateReport();
    }
}

void GenerateReportViewController::toggleRow(size_t row)
{
    const auto& rows = rowsOnScreen();
    if (row >= rows.size())
        return;
    const std::string id = rowID(rows[row], m_segment);
    // A row without an id could not be named in the request.
    if (id.empty())
        return;
    auto& ticks = ticksOnScreen();
    if (!ticks.erase(id))
        ticks.insert(id);
    refresh();
}

void GenerateReportViewController::toggleAll()
{
    auto& ticks = ticksOnScreen();
    std::set<std::string> every;
    for (const auto& row : rowsOnScreen()) {
        if (auto id = rowID(row, m_segment); !id.empty())
            every.insert(id);
    }
    ticks = ticks == every ? std::set<std::string> {} : every;
    refresh();
}

void GenerateReportViewController::cancelTapped()
{
    if (auto listener = delegate())
        listener->didTapOnCancelForGenerateReport();
}

void GenerateReportViewController::backTapped()
{
    if (auto listener = delegate())
        listener->didTapOnBackForGenerateReport();
}

void GenerateReportViewController::nextTapped()
{
    if (m_selectedChapters.empty() || m_selectedLearners.empty())
        return;
    if (auto listener = delegate())
        listener->didTapOnNextToSendMailWithReportData(reportData());
}

// MARK: - Views

void GenerateReportViewController::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    std::weak_ptr<GenerateReportViewController> weak
        = std::static_pointer_cast<GenerateReportViewController>(shared_from_this());
    auto root = view();
    root->setBackgroundColor(ui::Color::white());
    auto on = [weak](void (GenerateReportViewController::*action)()) {
        return [weak, action](ui::Control&) {
            if (auto self = weak.lock())
                ((*self).*action)();
        };
    };

    m_header = ui::View::create();
    root->addSubview(m_header);
    m_backButton = reportButton(std::string(ICON_BACK), m_themeColor);
    m_backButton->setFont(chrome::iconFont(18));
    m_backButton->setAccessibilityIdentifier("GenerateReportBackButton");
    m_backButton->addTarget(ui::ControlEvent::TouchUpInside, on(&GenerateReportViewController::backTapped));
    m_header->addSubview(m_backButton);
    m_titleLabel = ui::Label::create();
    m_titleLabel->setText(teacherReviewLocalizedString("GENERATE_REPORT"));
    m_titleLabel->setFont(chrome::customFont(18));
    m_titleLabel->setTextAlignment(ui::TextAlignment::Center);
    m_header->addSubview(m_titleLabel);
    m_cancelButton = reportButton(teacherReviewLocalizedString("CANCEL"), m_themeColor);
    m_cancelButton->setAccessibilityIdentifier("GenerateReportCancelButton");
    m_cancelButton->addTarget(ui::ControlEvent::TouchUpInside, on(&GenerateReportViewController::cancelTapped));
    m_header->addSubview(m_cancelButton);

    m_segmentedControl = ui::SegmentedControl::create({ teacherReviewLocalizedString("GENERATE_REPORT_CHAPTERS"),
        teacherReviewLocalizedString("GENERATE_REPORT_STUDENTS") });
    m_segmentedControl->setSelectedSegmentIndex(m_segment);
    m_segmentedControl->setSelectedSegmentTintColor(m_themeColor);
    m_segmentedControl->addTarget(ui::ControlEvent::ValueChanged, [weak](ui::Control& control) {
        auto self = weak.lock();
        auto& segments = static_cast<ui::SegmentedControl&>(control);
        if (self && segments.selectedSegmentIndex() != ui::SegmentedControl::noSegment)
            self->selectSegment(segments.selectedSegmentIndex() == StudentSegment ? StudentSegment : ChapterSegment);
    });
    root->addSubview(m_segmentedControl);

    m_selectAllButton = reportButton(teacherReviewLocalizedString("GENERATE_REPORT_SELECT_ALL"), m_themeColor);
    m_selectAllButton->setContentHorizontalAlignment(ui::ContentHorizontalAlignment::Left);
    m_selectAllButton->addTarget(ui::ControlEvent::TouchUpInside, on(&GenerateReportViewController::toggleAll));
    root->addSubview(m_selectAllButton);

    m_tableView = ui::TableView::create();
    // Subtitle rows: a learner's row says whether the learner handed in work.
    m_tableView->registerCellClass(rowReuseIdentifier, [](const std::string& reuseIdentifier) {
        return ui::TableViewCell::create(ui::TableViewCellStyle::Subtitle, reuseIdentifier);
    });
    auto self = weak.lock();
    m_tableView->setDataSource(std::static_pointer_cast<ui::TableViewDataSource>(self));
    m_tableView->setDelegate(std::static_pointer_cast<ui::TableViewDelegate>(self));
    root->addSubview(m_tableView);
    m_emptyLabel = ui::Label::create();
    m_emptyLabel->setTextAlignment(ui::TextAlignment::Center);
    m_emptyLabel->setFont(chrome::customFont(15));
    root->addSubview(m_emptyLabel);

    m_nextButton = reportButton(teacherReviewLocalizedString("GENERATE_REPORT_NEXT"), m_themeColor);
    m_nextButton->setAccessibilityIdentifier("GenerateReportNextButton");
    m_nextButton->addTarget(ui::ControlEvent::TouchUpInside, on(&GenerateReportViewController::nextTapped));
    root->addSubview(m_nextButton);
    refresh();
}

void GenerateReportViewController::viewDidLayoutSubviews()
{
    auto root = viewIfLoaded();
    if (!root || !m_header)
        return;
    const auto bounds = root->bounds();
    const double width = bounds.width();
    const double inner = std::max(0.0, width - 2 * reportInset);
    m_header->setFrame({ 0, 0, width, reportHeaderHeight });
    m_backButton->setFrame({ 0, 0, reportHeaderHeight, reportHeaderHeight });
    m_cancelButton->setFrame({ std::max(0.0, width - reportButtonWidth - reportInset), 0, reportButtonWidth, reportHeaderHeight });
    m_titleLabel->setFrame({ reportHeaderHeight, 0, std::max(0.0, width - 2 * (reportButtonWidth + reportInset)), reportHeaderHeight });
    double y = reportHeaderHeight;
    m_segmentedControl->setFrame({ reportInset, y, inner, reportSegmentHeight });
    y += reportSegmentHeight + 8;
    m_selectAllButton->setFrame({ reportInset, y, inner, reportSelectAllHeight });
    y += reportSelectAllHeight;
    const double tableHeight = std::max(0.0, bounds.height() - y - reportFooterHeight);
    m_tableView->setFrame({ 0, y, width, tableHeight });
    m_emptyLabel->setFrame({ reportInset, y, inner, std::min(tableHeight, 60.0) });
    m_nextButton->setFrame({ std::max(0.0, width - reportButtonWidth - reportInset), y + tableHeight, reportButtonWidth,
        reportFooterHeight });
}

void GenerateReportViewController::refresh()
{
    if (!m_tableView)
        return;
    const bool empty = rowsOnScreen().empty();
    m_emptyLabel->setText(teacherReviewLocalizedString(
        m_segment == ChapterSegment ? "GENERATE_REPORT_NO_CHAPTERS" : "GENERATE_REPORT_NO_STUDENTS"));
    m_emptyLabel->setHidden(!empty);
    m_tableView->setHidden(empty);
    m_selectAllButton->setEnabled(!empty);
    m_nextButton->setEnabled(!m_selectedChapters.empty() && !m_selectedLearners.empty());
    m_tableView->reloadData();
}

// MARK: - Table

int GenerateReportViewController::numberOfRowsInSection(ui::TableView&, int)
{
    return static_cast<int>(rowsOnScreen().size());
}

std::shared_ptr<ui::TableViewCell> GenerateReportViewController::cellForRowAtIndexPath(
    ui::TableView& table, const ui::IndexPath& indexPath)
{
    auto cell = table.dequeueReusableCellWithIdentifier(rowReuseIdentifier, indexPath);
    const auto& rows = rowsOnScreen();
    if (!cell || indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= rows.size())
        return cell;
    const auto& row = rows[indexPath.row];
    std::string text;
    std::string detail;
    if (m_segment == ChapterSegment) {
        text = row[GenerateReportParser::titleKey].description();
    } else if (auto learner = readLearnerRecord(row)) {
        text = learner->fullName;
        detail = teacherReviewLocalizedString(
            hasSubmittedWork(learner->learnerID) ? "GENERATE_REPORT_SUBMITTED" : "GENERATE_REPORT_NOT_SUBMITTED");
    }
    auto label = cell->textLabel();
    label->setText(text);
    label->setFont(chrome::customFont(15));
    if (auto detailLabel = cell->detailTextLabel()) {
        detailLabel->setText(detail);
        detailLabel->setHidden(detail.empty());
    }
    const std::string id = rowID(row, m_segment);
    const auto& ticks = m_segment == ChapterSegment ? m_selectedChapters : m_selectedLearners;
    cell->setAccessoryType(!id.empty() && ticks.contains(id) ? ui::TableViewCellAccessoryType::Checkmark
                                                              : ui::TableViewCellAccessoryType::None);
    return cell;
}

void GenerateReportViewController::didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath)
{
    if (indexPath.row >= 0)
        toggleRow(static_cast<size_t>(indexPath.row));
}

} // namespace lectoro
