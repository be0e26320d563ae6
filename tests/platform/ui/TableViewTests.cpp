#include "platform/testing/Interaction.h"
#include "platform/testing/Landing.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using ui::IndexPath;
using ui::TableView;
using ui::TableViewCell;

class CountingCell : public TableViewCell {
public:
    static std::shared_ptr<TableViewCell> make(const std::string& identifier)
    {
        return std::shared_ptr<CountingCell>(new CountingCell(identifier));
    }
    std::string_view className() const override { return "CountingCell"; }
    void prepareForReuse() override
    {
        TableViewCell::prepareForReuse();
        textLabel()->setText("");
    }

private:
    explicit CountingCell(const std::string& identifier)
        : TableViewCell(ui::TableViewCellStyle::Default, identifier)
    {
    }
};

// Rows "s.r"; records every cell request.
class RecordingTableSource : public ui::TableViewDataSource {
public:
    std::vector<int> rows { 100 };
    std::map<int, std::string> titles;
    std::vector<IndexPath> asked;
    bool nullCells = false;

    int numberOfSectionsInTableView(TableView&) override { return static_cast<int>(rows.size()); }
    int numberOfRowsInSection(TableView&, int section) override { return rows[section]; }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(
        TableView& table, const IndexPath& indexPath) override
    {
        asked.push_back(indexPath);
        if (nullCells)
            return nullptr;
        auto cell = table.dequeueReusableCellWithIdentifier("row", indexPath);
        cell->textLabel()->setText(std::to_string(indexPath.section) + "." + std::to_string(indexPath.row));
        return cell;
    }
    std::optional<std::string> titleForHeaderInSection(TableView&, int section) override
    {
        auto it = titles.find(section);
        return it == titles.end() ? std::nullopt : std::optional(it->second);
    }
};

class RecordingTableDelegate : public ui::TableViewDelegate {
public:
    std::map<IndexPath, double> heights;
    std::optional<IndexPath> redirect;
    bool refuseSelection = false;
    std::set<IndexPath> unhighlightable;
    std::vector<std::string> calls;

    std::optional<double> heightForRowAtIndexPath(TableView&, const IndexPath& indexPath) override
    {
        auto it = heights.find(indexPath);
        return it == heights.end() ? std::nullopt : std::optional(it->second);
    }
    bool shouldHighlightRowAtIndexPath(TableView&, const IndexPath& indexPath) override
    {
        return !unhighlightable.count(indexPath);
    }
    std::optional<IndexPath> willSelectRowAtIndexPath(TableView&, const IndexPath& indexPath) override
    {
        calls.push_back("willSelect " + indexPath.toString());
        if (refuseSelection)
            return std::nullopt;
        return redirect ? redirect : indexPath;
    }
    void didSelectRowAtIndexPath(TableView&, const IndexPath& indexPath) override
    {
        calls.push_back("didSelect " + indexPath.toString());
    }
    void didDeselectRowAtIndexPath(TableView&, const IndexPath& indexPath) override
    {
        calls.push_back("didDeselect " + indexPath.toString());
    }
    void willDisplayCell(TableView&, TableViewCell&, const IndexPath& indexPath) override
    {
        calls.push_back("willDisplay " + indexPath.toString());
    }
    void didEndDisplayingCell(TableView&, TableViewCell&, const IndexPath& indexPath) override
    {
        calls.push_back("didEndDisplaying " + indexPath.toString());
    }
};

struct TableFixture {
    uitest::UIScope scope;
    std::shared_ptr<RecordingTableSource> dataSource = std::make_shared<RecordingTableSource>();
    std::shared_ptr<RecordingTableDelegate> delegate = std::make_shared<RecordingTableDelegate>();
    std::shared_ptr<TableView> table = TableView::create({ 0, 0, 320, 200 });

    TableFixture()
    {
        table->registerCellClass(
            "row", [](const std::string& identifier) { return CountingCell::make(identifier); });
        table->setDataSource(dataSource);
        table->setDelegate(delegate);
        // On screen, where a finger can reach its rows.
        scope.window()->addSubview(table);
    }

    std::vector<IndexPath> rows(int section, int from, int to) const
    {
        std::vector<IndexPath> paths;
        for (int row = from; row <= to; ++row)
            paths.emplace_back(section, row);
        return paths;
    }
};

TEST(TableViewTests, ReloadAsksForExactlyTheVisibleRows)
{
    TableFixture fixture;
    fixture.table->reloadData();
    // 200 points of 44-point rows: rows 0 to 4 (row 4 spans 176 to 220).
    EXPECT_EQ(fixture.dataSource->asked, fixture.rows(0, 0, 4));
    EXPECT_EQ(fixture.table->indexPathsForVisibleRows(), fixture.rows(0, 0, 4));
    EXPECT_EQ(fixture.table->contentSize(), ui::Size(320, 4400));
    EXPECT_EQ(fixture.table->cellForRowAtIndexPath({ 0, 2 })->frame(), ui::Rect(0, 88, 320, 44));
    EXPECT_FALSE(fixture.table->cellForRowAtIndexPath({ 0, 5 }));
}

TEST(TableViewTests, ScrollingReusesCellsThatLeftTheBounds)
{
    TableFixture fixture;
    fixture.table->reloadData();
    auto firstCells = fixture.table->visibleCells();
    fixture.dataSource->asked.clear();

    fixture.table->setContentOffset({ 0, 440 });
    // Rows 10 to 14 now; the five cells that left came back from the pool.
    EXPECT_EQ(fixture.dataSource->asked, fixture.rows(0, 10, 14));
    auto nowCells = fixture.table->visibleCells();
    std::set<TableViewCell*> before;
    for (auto& cell : firstCells)
        before.insert(cell.get());
    for (auto& cell : nowCells) {
        EXPECT_TRUE(before.count(cell.get()));
        EXPECT_EQ(cell->reuseCount(), 1);
    }
    EXPECT_EQ(fixture.table->cellForRowAtIndexPath({ 0, 10 })->existingTextLabel()->text(), "0.10");
    EXPECT_EQ(fixture.table->cellForRowAtIndexPath({ 0, 10 })->frame(), ui::Rect(0, 440, 320, 44));

    fixture.dataSource->asked.clear();
    fixture.table->setContentOffset({ 0, 462 });
    // Row 10 half out, row 15 half in: only row 15 is new.
    EXPECT_EQ(fixture.dataSource->asked, fixture.rows(0, 15, 15));
    EXPECT_EQ(fixture.table->reusePoolSize("row"), 0u);
}

TEST(TableViewTests, ReloadDataReusesTheVisibleCellsAndClearsSelection)
{
    TableFixture fixture;
    fixture.table->reloadData();
    fixture.table->selectRowAtIndexPath(IndexPath(0, 1));
    auto before = fixture.table->visibleCells();
    fixture.table->reloadData();
    EXPECT_FALSE(fixture.table->indexPathForSelectedRow());
    EXPECT_EQ(fixture.table->visibleCells().size(), before.size());
    for (auto& cell : fixture.table->visibleCells())
        EXPECT_EQ(cell->reuseCount(), 1);
}

TEST(TableViewTests, FirstLayoutLoadsTheTable)
{
    TableFixture fixture;
    EXPECT_TRUE(fixture.dataSource->asked.empty());
    fixture.table->layoutIfNeeded();
    EXPECT_EQ(fixture.table->visibleCells().size(), 5u);
}

TEST(TableViewTests, HeightsFromDelegateRowHeightAndTitles)
{
    TableFixture fixture;
    fixture.dataSource->rows = { 2, 3 };
    fixture.dataSource->titles = { { 1, "Second" } };
    fixture.delegate->heights = { { { 0, 1 }, 100 } };
    fixture.table->setRowHeight(30);
    auto header = ui::View::create({ 0, 0, 320, 50 });
    fixture.table->setTableHeaderView(header);
    fixture.table->reloadData();

    // Header 50; section 0: 30 + 100; section 1: title 28 + 3 x 30.
    EXPECT_EQ(fixture.table->rectForRowAtIndexPath({ 0, 0 }), ui::Rect(0, 50, 320, 30));
    EXPECT_EQ(fixture.table->rectForRowAtIndexPath({ 0, 1 }), ui::Rect(0, 80, 320, 100));
    EXPECT_EQ(fixture.table->rectForHeaderInSection(1), ui::Rect(0, 180, 320, 28));
    EXPECT_EQ(fixture.table->rectForRowAtIndexPath({ 1, 0 }), ui::Rect(0, 208, 320, 30));
    EXPECT_EQ(fixture.table->contentSize().height, 298);
    EXPECT_EQ(fixture.table->rectForRowAtIndexPath({ 1, 3 }), ui::Rect());
    EXPECT_EQ(fixture.table->indexPathForRowAtPoint({ 10, 190 }), std::nullopt);
    EXPECT_EQ(fixture.table->indexPathForRowAtPoint({ 10, 210 }), IndexPath(1, 0));

    fixture.table->setContentOffset({ 0, 150 });
    auto title = std::dynamic_pointer_cast<ui::Label>(fixture.table->headerViewForSection(1));
    ASSERT_TRUE(title);
    EXPECT_EQ(title->text(), "Second");
    EXPECT_EQ(title->frame(), ui::Rect(0, 180, 320, 28));
}

class SizingCell : public TableViewCell {
public:
    static std::shared_ptr<TableViewCell> make(double height)
    {
        return std::shared_ptr<SizingCell>(new SizingCell(height));
    }
    ui::Size sizeThatFits(const ui::Size& size) const override { return { size.width, m_height }; }

private:
    explicit SizingCell(double height)
        : TableViewCell(ui::TableViewCellStyle::Default, "")
        , m_height(height)
    {
    }
    double m_height;
};

class SizingSource : public ui::TableViewDataSource {
public:
    int numberOfRowsInSection(TableView&, int) override { return 50; }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView&, const IndexPath& indexPath) override
    {
        // Row 1 has no opinion of its own height and keeps the estimate.
        return SizingCell::make(indexPath.row == 1 ? 0 : 60);
    }
};

TEST(TableViewTests, AutomaticRowsUseTheEstimateUntilTheirCellIsMeasured)
{
    uitest::UIScope scope;
    auto source = std::make_shared<SizingSource>();
    auto table = TableView::create({ 0, 0, 320, 100 });
    table->setRowHeight(ui::TableViewAutomaticDimension);
    table->setEstimatedRowHeight(20);
    table->setDataSource(source);
    table->reloadData();
    // Row 0 measures 60, row 1 keeps 20: rows 0 and 1 fill 80, row 2 (60) starts at 80.
    EXPECT_EQ(table->rectForRowAtIndexPath({ 0, 0 }).height(), 60);
    EXPECT_EQ(table->rectForRowAtIndexPath({ 0, 1 }).height(), 20);
    EXPECT_EQ(table->rectForRowAtIndexPath({ 0, 2 }), ui::Rect(0, 80, 320, 60));
    EXPECT_EQ(table->rectForRowAtIndexPath({ 0, 3 }).height(), 20);
    EXPECT_EQ(table->indexPathsForVisibleRows().size(), 3u);
    EXPECT_EQ(table->contentSize().height, 60 + 20 + 60 + 47 * 20);
}

// A row placed by constraints: a wrapping label 12 below the top and 12 above the bottom,
// between a 20-point leading inset and a 40-point badge on the trailing side.
class ConstrainedCell : public TableViewCell {
public:
    static std::shared_ptr<ConstrainedCell> make(const std::string& text)
    {
        std::shared_ptr<ConstrainedCell> cell(new ConstrainedCell());
        const auto& content = cell->contentView();
        cell->label = ui::Label::create();
        cell->label->setNumberOfLines(0);
        cell->label->setFont(ui::Font::systemFont(17));
        cell->label->setText(text);
        auto badge = ui::View::create();
        for (const auto& view : std::initializer_list<std::shared_ptr<ui::View>> { cell->label, badge }) {
            view->setTranslatesAutoresizingMaskIntoConstraints(false);
            content->addSubview(view);
        }
        auto bottom = content->bottomAnchor().constraintEqualTo(cell->label->bottomAnchor(), 12);
        bottom->setPriority(ui::LayoutPriority::required - 1);
        ui::Constraint::activate({
            cell->label->leadingAnchor().constraintEqualTo(content->leadingAnchor(), 20),
            cell->label->topAnchor().constraintEqualTo(content->topAnchor(), 12),
            bottom,
            cell->label->trailingAnchor().constraintLessThanOrEqualTo(badge->leadingAnchor()),
            badge->trailingAnchor().constraintEqualTo(content->trailingAnchor()),
            badge->topAnchor().constraintEqualTo(content->topAnchor()),
            badge->widthAnchor().constraintEqualToConstant(40),
            badge->heightAnchor().constraintEqualToConstant(30),
        });
        return cell;
    }
    std::shared_ptr<ui::Label> label;

private:
    ConstrainedCell()
        : TableViewCell(ui::TableViewCellStyle::Default, "")
    {
    }
};

class ConstrainedSource : public ui::TableViewDataSource, public ui::TableViewDelegate {
public:
    std::vector<std::string> texts;
    std::optional<std::string> header;
    int numberOfRowsInSection(TableView&, int) override { return static_cast<int>(texts.size()); }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView&, const IndexPath& indexPath) override
    {
        return ConstrainedCell::make(texts[indexPath.row]);
    }
    std::shared_ptr<ui::View> viewForHeaderInSection(TableView&, int) override
    {
        return header ? ConstrainedCell::make(*header) : nullptr;
    }
};

// What a label of that text needs at that width, with the row's 24 points around it.
double rowHeightFor(const std::string& text, double labelWidth)
{
    auto label = ui::Label::create();
    label->setNumberOfLines(0);
    label->setFont(ui::Font::systemFont(17));
    label->setText(text);
    return std::ceil(label->sizeThatFits({ labelWidth, 0 }).height) + 24;
}

TEST(TableViewTests, RowsPlacedByConstraintsAreAsTallAsTheirConstraintsMakeThemAtTheTablesWidth)
{
    uitest::UIScope scope;
    const std::string shortText = "One line";
    const std::string longText = "A title long enough to wrap over several lines of a narrow table, "
                                 "and then some more words so that it wraps again when the table turns";
    auto source = std::make_shared<ConstrainedSource>();
    source->texts = { shortText, longText };
    source->header = longText;
    auto table = TableView::create({ 0, 0, 320, 600 });
    table->setRowHeight(ui::TableViewAutomaticDimension);
    table->setEstimatedRowHeight(44);
    table->setDataSource(source);
    table->setDelegate(source);
    scope.window()->addSubview(table);
    table->reloadData();
    uitest::settleLayout();

    struct Case {
        double width;
    };
    for (const Case& at : { Case { 320 }, Case { 700 } }) {
        SCOPED_TRACE("table width " + std::to_string(at.width));
        table->setFrame({ 0, 0, at.width, 600 });
        table->reloadData();
        uitest::settleLayout();
        const double labelWidth = at.width - 20 - 40;
        const double headerHeight = rowHeightFor(longText, labelWidth);
        EXPECT_EQ(table->rectForHeaderInSection(0).height(), headerHeight) << "the header is fitted too";
        // The short row is as tall as its badge or its line, whichever is taller.
        EXPECT_EQ(table->rectForRowAtIndexPath({ 0, 0 }).height(), std::max(30.0, rowHeightFor(shortText, labelWidth)));
        const ui::Rect longRow = table->rectForRowAtIndexPath({ 0, 1 });
        EXPECT_EQ(longRow.height(), rowHeightFor(longText, labelWidth));
        // The wrapped text is shown whole inside its row, not cut at the estimate.
        auto cell = std::dynamic_pointer_cast<ConstrainedCell>(table->cellForRowAtIndexPath({ 0, 1 }));
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->frame(), longRow);
        EXPECT_EQ(cell->label->frame().maxY() + 12, longRow.height());
        EXPECT_LE(cell->label->frame().width(), labelWidth);
    }
    EXPECT_GT(rowHeightFor(longText, 320 - 60), rowHeightFor(longText, 700 - 60)) << "the case wraps differently";
}

TEST(TableViewTests, UserTapGoesThroughTheDelegate)
{
    struct Case {
        const char* name;
        bool multiple;
        std::optional<IndexPath> preselected;
        IndexPath tapped;
        std::optional<IndexPath> redirect;
        bool refuse;
        bool unhighlightable;
        std::vector<std::string> calls;
        std::vector<IndexPath> selected;
    };
    const Case cases[] = {
        { "plain", false, std::nullopt, { 0, 2 }, std::nullopt, false, false,
            { "willSelect [0, 2]", "didSelect [0, 2]" }, { { 0, 2 } } },
        { "replaces the previous row", false, IndexPath(0, 1), { 0, 2 }, std::nullopt, false, false,
            { "willSelect [0, 2]", "didDeselect [0, 1]", "didSelect [0, 2]" }, { { 0, 2 } } },
        { "redirected", false, std::nullopt, { 0, 2 }, IndexPath(0, 3), false, false,
            { "willSelect [0, 2]", "didSelect [0, 3]" }, { { 0, 3 } } },
        { "refused", false, IndexPath(0, 1), { 0, 2 }, std::nullopt, true, false, { "willSelect [0, 2]" },
            { { 0, 1 } } },
        { "not highlightable", false, std::nullopt, { 0, 2 }, std::nullopt, false, true, {}, {} },
        { "multiple adds", true, IndexPath(0, 1), { 0, 2 }, std::nullopt, false, false,
            { "willSelect [0, 2]", "didSelect [0, 2]" }, { { 0, 1 }, { 0, 2 } } },
        { "multiple toggles off", true, IndexPath(0, 2), { 0, 2 }, std::nullopt, false, false,
            { "didDeselect [0, 2]" }, {} },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        TableFixture fixture;
        fixture.table->setAllowsMultipleSelection(testCase.multiple);
        fixture.table->reloadData();
        fixture.table->selectRowAtIndexPath(testCase.preselected);
        fixture.delegate->calls.clear();
        fixture.delegate->redirect = testCase.redirect;
        fixture.delegate->refuseSelection = testCase.refuse;
        if (testCase.unhighlightable)
            fixture.delegate->unhighlightable.insert(testCase.tapped);

        uitest::tapRow(*fixture.table, testCase.tapped);
        EXPECT_EQ(fixture.delegate->calls, testCase.calls);
        EXPECT_EQ(fixture.table->indexPathsForSelectedRows(), testCase.selected);
        for (auto& indexPath : fixture.table->indexPathsForVisibleRows()) {
            bool selected = std::find(testCase.selected.begin(), testCase.selected.end(), indexPath)
                != testCase.selected.end();
            EXPECT_EQ(fixture.table->cellForRowAtIndexPath(indexPath)->isSelected(), selected) << indexPath;
        }
    }
}

// willDeselect answers both for a row the tap toggles off and for the row a single
// selection gives up; only the toggled row's answer must still be in range.
TEST(TableViewTests, WillDeselectMayCancelOrRedirectATapsDeselection)
{
    class DeselectionDelegate : public RecordingTableDelegate {
    public:
        std::map<IndexPath, std::optional<IndexPath>> answers;

        std::optional<IndexPath> willDeselectRowAtIndexPath(TableView&, const IndexPath& indexPath) override
        {
            calls.push_back("willDeselect " + indexPath.toString());
            auto it = answers.find(indexPath);
            return it == answers.end() ? std::optional(indexPath) : it->second;
        }
    };
    struct Case {
        const char* name;
        bool multiple;
        IndexPath preselected;
        IndexPath tapped;
        std::optional<IndexPath> answer;
        bool tappedThrough;
        std::vector<std::string> calls;
        std::vector<IndexPath> selected;
    };
    const Case cases[] = {
        { "gives up the previous row", false, { 0, 1 }, { 0, 2 }, IndexPath(0, 1), true,
            { "willSelect [0, 2]", "willDeselect [0, 1]", "didDeselect [0, 1]", "didSelect [0, 2]" },
            { { 0, 2 } } },
        { "keeps the previous row", false, { 0, 1 }, { 0, 2 }, std::nullopt, true,
            { "willSelect [0, 2]", "willDeselect [0, 1]", "didSelect [0, 2]" }, { { 0, 1 }, { 0, 2 } } },
        { "toggles off", true, { 0, 2 }, { 0, 2 }, IndexPath(0, 2), true,
            { "willDeselect [0, 2]", "didDeselect [0, 2]" }, {} },
        { "toggle off cancelled", true, { 0, 2 }, { 0, 2 }, std::nullopt, false, { "willDeselect [0, 2]" },
            { { 0, 2 } } },
        { "toggle off redirected out of range", true, { 0, 2 }, { 0, 2 }, IndexPath(0, 500), false,
            { "willDeselect [0, 2]" }, { { 0, 2 } } },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        TableFixture fixture;
        auto delegate = std::make_shared<DeselectionDelegate>();
        fixture.table->setDelegate(delegate);
        fixture.table->setAllowsMultipleSelection(testCase.multiple);
        fixture.table->reloadData();
        fixture.table->selectRowAtIndexPath(testCase.preselected);
        delegate->calls.clear();
        delegate->answers[testCase.preselected] = testCase.answer;

        EXPECT_EQ(uitest::tapRow(*fixture.table, testCase.tapped), testCase.tappedThrough);
        EXPECT_EQ(delegate->calls, testCase.calls);
        EXPECT_EQ(fixture.table->indexPathsForSelectedRows(), testCase.selected);
    }
}

TEST(TableViewTests, TapOnACellViewSelectsItsRowUnlessSelectionIsOff)
{
    TableFixture fixture;
    fixture.table->reloadData();
    auto label = fixture.table->cellForRowAtIndexPath({ 0, 3 })->textLabel();
    EXPECT_TRUE(uitest::tap(*label));
    EXPECT_EQ(fixture.table->indexPathForSelectedRow(), IndexPath(0, 3));
    fixture.table->setAllowsSelection(false);
    EXPECT_FALSE(fixture.table->indexPathForSelectedRow());
    EXPECT_FALSE(uitest::tap(*label));
}

TEST(TableViewTests, SelectionFollowsCellsAcrossReuse)
{
    TableFixture fixture;
    fixture.table->reloadData();
    fixture.table->selectRowAtIndexPath(IndexPath(0, 1));
    fixture.table->setContentOffset({ 0, 440 });
    for (auto& cell : fixture.table->visibleCells())
        EXPECT_FALSE(cell->isSelected());
    fixture.table->setContentOffset({ 0, 0 });
    EXPECT_TRUE(fixture.table->cellForRowAtIndexPath({ 0, 1 })->isSelected());
    EXPECT_TRUE(fixture.delegate->calls.end()
        == std::find(fixture.delegate->calls.begin(), fixture.delegate->calls.end(), "didSelect [0, 1]"));
}

TEST(TableViewTests, ScrollToRowPositions)
{
    struct Case {
        IndexPath row;
        ui::TableViewScrollPosition position;
        double offset;
    };
    using Position = ui::TableViewScrollPosition;
    const Case cases[] = {
        { { 0, 10 }, Position::Top, 440 },
        { { 0, 10 }, Position::Middle, 440 + 22 - 100 },
        { { 0, 10 }, Position::Bottom, 484 - 200 },
        { { 0, 2 }, Position::None, 0 },
        { { 0, 10 }, Position::None, 484 - 200 },
        { { 0, 99 }, Position::Top, 4400 - 200 },
        { { 0, 0 }, Position::Bottom, 0 },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(
            testing::Message() << testCase.row << " position " << static_cast<int>(testCase.position));
        TableFixture fixture;
        fixture.table->reloadData();
        fixture.table->scrollToRowAtIndexPath(testCase.row, testCase.position);
        EXPECT_DOUBLE_EQ(fixture.table->contentOffset().y, testCase.offset);
        EXPECT_TRUE(fixture.table->cellForRowAtIndexPath(testCase.row));
    }
}

TEST(TableViewTests, InsertAndDeleteRowsShiftVisibleCellsAndSelection)
{
    TableFixture fixture;
    fixture.dataSource->rows = { 10 };
    fixture.table->reloadData();
    fixture.table->selectRowAtIndexPath(IndexPath(0, 1));
    auto oldRow1 = fixture.table->cellForRowAtIndexPath({ 0, 1 });
    fixture.dataSource->asked.clear();

    // Two rows in at the top: old rows 0 to 2 slide to 2 to 4, old 3 and 4 leave.
    fixture.dataSource->rows = { 12 };
    fixture.table->insertRowsAtIndexPaths({ { 0, 1 }, { 0, 0 } });
    EXPECT_EQ(fixture.dataSource->asked, fixture.rows(0, 0, 1));
    EXPECT_EQ(fixture.table->cellForRowAtIndexPath({ 0, 3 }), oldRow1);
    EXPECT_EQ(fixture.table->indexPathForSelectedRow(), IndexPath(0, 3));
    EXPECT_TRUE(oldRow1->isSelected());
    EXPECT_EQ(fixture.table->numberOfRowsInSection(0), 12);

    // Deleting the selected row pulls the next one (old row 3, now row 4) into view.
    fixture.dataSource->asked.clear();
    fixture.dataSource->rows = { 11 };
    fixture.table->deleteRowsAtIndexPaths({ { 0, 3 } });
    EXPECT_FALSE(fixture.table->indexPathForSelectedRow());
    EXPECT_EQ(fixture.dataSource->asked, fixture.rows(0, 4, 4));
    EXPECT_EQ(fixture.table->indexPathsForVisibleRows(), fixture.rows(0, 0, 4));
    EXPECT_EQ(fixture.table->contentSize().height, 11 * 44);
}

TEST(TableViewTests, UpdatesThatDoNotMatchTheDataSourceReloadInstead)
{
    TableFixture fixture;
    fixture.dataSource->rows = { 10 };
    fixture.table->reloadData();
    fixture.dataSource->asked.clear();
    // The data source still answers 10 rows.
    fixture.table->insertRowsAtIndexPaths({ { 0, 0 } });
    EXPECT_EQ(fixture.dataSource->asked, fixture.rows(0, 0, 4));
    fixture.dataSource->asked.clear();
    fixture.table->deleteRowsAtIndexPaths({ { 0, 42 } });
    EXPECT_EQ(fixture.dataSource->asked, fixture.rows(0, 0, 4));
    EXPECT_EQ(fixture.table->numberOfRowsInSection(0), 10);
}

TEST(TableViewTests, ReloadRowsAsksAgainOnlyForVisibleOnes)
{
    TableFixture fixture;
    fixture.table->reloadData();
    fixture.dataSource->asked.clear();
    fixture.table->reloadRowsAtIndexPaths({ { 0, 1 }, { 0, 50 }, { 3, 0 } });
    EXPECT_EQ(fixture.dataSource->asked, fixture.rows(0, 1, 1));
}

TEST(TableViewTests, DisplayCallbacksAndNullCells)
{
    TableFixture fixture;
    fixture.dataSource->rows = { 3 };
    fixture.dataSource->nullCells = true;
    fixture.table->reloadData();
    EXPECT_EQ(fixture.table->visibleCells().size(), 3u);
    EXPECT_EQ(fixture.delegate->calls,
        (std::vector<std::string> { "willDisplay [0, 0]", "willDisplay [0, 1]", "willDisplay [0, 2]" }));
    fixture.delegate->calls.clear();
    fixture.dataSource->rows = { 1 };
    fixture.table->reloadData();
    EXPECT_EQ(fixture.delegate->calls,
        (std::vector<std::string> { "didEndDisplaying [0, 0]", "didEndDisplaying [0, 1]",
            "didEndDisplaying [0, 2]", "willDisplay [0, 0]" }));
}

TEST(TableViewTests, DequeueWithoutRegistrationOrPool)
{
    uitest::UIScope scope;
    auto table = TableView::create({ 0, 0, 320, 200 });
    EXPECT_FALSE(table->dequeueReusableCellWithIdentifier("unknown"));
    table->registerCellClass<TableViewCell>("plain");
    auto cell = table->dequeueReusableCellWithIdentifier("plain");
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->reuseIdentifier(), "plain");
    EXPECT_EQ(cell->reuseCount(), 0);
}

TEST(TableViewTests, ExpiredDataSourceShowsNothing)
{
    uitest::UIScope scope;
    auto table = TableView::create({ 0, 0, 320, 200 });
    {
        auto source = std::make_shared<RecordingTableSource>();
        table->setDataSource(source);
    }
    table->reloadData();
    EXPECT_EQ(table->numberOfSections(), 0);
    EXPECT_TRUE(table->visibleCells().empty());
    EXPECT_FALSE(uitest::tapRow(*table, { 0, 0 }));
}

TEST(TableViewTests, StandardCellLayoutAndSizing)
{
    uitest::UIScope scope;
    auto subtitle = TableViewCell::create(ui::TableViewCellStyle::Subtitle, "s");
    subtitle->setFrame({ 0, 0, 320, 60 });
    subtitle->textLabel()->setText("Title");
    subtitle->detailTextLabel()->setText("Detail");
    subtitle->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    subtitle->layoutIfNeeded();
    EXPECT_EQ(subtitle->contentView()->frame(), ui::Rect(0, 0, 280, 60));
    EXPECT_EQ(subtitle->textLabel()->frame(), ui::Rect(16, 0, 248, 30));
    EXPECT_EQ(subtitle->detailTextLabel()->frame(), ui::Rect(16, 30, 248, 30));
    EXPECT_GE(subtitle->sizeThatFits({ 320, 0 }).height, 44);

    auto plain = TableViewCell::create();
    EXPECT_FALSE(plain->detailTextLabel());
    EXPECT_EQ(plain->sizeThatFits({ 320, 0 }).height, 0);
}

} // namespace

namespace {

TEST(TableViewTests, VisibleRowsMatchARunningSumOfVariedHeights)
{
    TableFixture fixture;
    fixture.dataSource->rows = { 700, 0, 300 };
    for (int section : { 0, 2 }) {
        for (int row = 0; row < fixture.dataSource->rows[section]; ++row)
            fixture.delegate->heights[{ section, row }] = 10 + (row * 7 + section) % 13 + 0.5 * (row % 2);
    }
    fixture.table->reloadData();
    auto expectedRows = [&fixture](double top, double bottom) {
        std::vector<IndexPath> rows;
        double y = 0;
        for (int section = 0; section < 3; ++section) {
            for (int row = 0; row < fixture.dataSource->rows[section]; ++row) {
                double height = fixture.delegate->heights[{ section, row }];
                if (y < bottom && y + height > top)
                    rows.emplace_back(section, row);
                y += height;
            }
        }
        return rows;
    };
    for (double offset : { 0.0, 123.25, 4321.5, 9000.0, fixture.table->contentSize().height - 200 }) {
        SCOPED_TRACE(offset);
        fixture.table->setContentOffset({ 0, offset });
        EXPECT_EQ(fixture.table->indexPathsForVisibleRows(), expectedRows(offset, offset + 200));
        for (auto& indexPath : fixture.table->indexPathsForVisibleRows())
            EXPECT_EQ(fixture.table->cellForRowAtIndexPath(indexPath)->frame(),
                fixture.table->rectForRowAtIndexPath(indexPath));
    }
    auto middle = fixture.table->rectForRowAtIndexPath({ 2, 150 });
    EXPECT_EQ(fixture.table->indexPathForRowAtPoint({ 1, middle.midY() }), IndexPath(2, 150));
}

} // namespace
