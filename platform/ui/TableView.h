#pragma once

// A scrolling list of rows in sections, filled by a data source and steered by a
// delegate, with cell reuse.
//
// Loading. reloadData() asks the data source for the section and row counts, resolves
// every row's height (below), and then asks for cells only for the rows that intersect
// the visible bounds (contentOffset, bounds size), nothing more. Scrolling (a content
// offset change), a size change and layoutSubviews() repeat the visible-row pass: cells
// that leave the bounds go back to the reuse pool of their identifier, rows that enter
// get cells from the data source. A table with a data source loads itself at its first
// layout.
//
// Heights, per row: the delegate's heightForRowAtIndexPath when it answers; else rowHeight
// when it is not automaticDimension; else (self-sizing) the estimate (the delegate's
// estimatedHeightForRowAtIndexPath, else estimatedRowHeight, else 44) until the row's cell
// is shown, when the cell's fittingHeight(width) replaces it (a zero answer keeps the
// estimate): the height its content view's constraints give it at that width, or its
// sizeThatFits height when nothing in it is placed by constraints. Section headers and
// footers: the delegate's height when it answers; else the section header/footer height
// when not automatic; automatic means the height of the delegate's view when it gives one
// (fitted at the table's width when it is placed by constraints), else 28 when the data
// source gives a title, else 0. Headers are not pinned while scrolling.
//
// Layout, top to bottom: tableHeaderView, then per section its header, rows and footer,
// then tableFooterView; every row and header is as wide as the table. contentSize
// follows.
//
// Selection. selectRowAtIndexPath/deselectRowAtIndexPath are the code's calls and tell
// the delegate nothing. simulateTapOnRow() is a user's tap: shouldHighlight, then
// willSelect (which may redirect or cancel), then the previous selection is deselected
// (single selection, with willDeselect/didDeselect), then didSelect. With multiple
// selection a tap on a selected row deselects it. reloadData() clears the selection.
//
// Misuse is answered safely: a data source that answers a null cell gets an empty cell
// shown in its place; out-of-range index paths are ignored (or answer nothing); an
// insertion or deletion that does not match the data source's new counts reloads the
// table instead.

#include "platform/base/Thread.h"
#include "platform/ui/CellReusePool.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/IndexPathSelection.h"
#include "platform/ui/RowHeightIndex.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableViewCell.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace ui {

class TableView;

inline constexpr double TableViewAutomaticDimension = -1;

enum class TableViewStyle { Plain = 0, Grouped = 1, InsetGrouped = 2 };
enum class TableViewScrollPosition { None = 0, Top = 1, Middle = 2, Bottom = 3 };
enum class TableViewCellSeparatorStyle { None = 0, SingleLine = 1 };
enum class TableViewRowAnimation { Fade, Right, Left, Top, Bottom, None, Middle, Automatic = 100 };

class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;

    virtual int numberOfSectionsInTableView(TableView&) { return 1; }
    virtual int numberOfRowsInSection(TableView&, int section) = 0;
    virtual std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView&, const IndexPath&) = 0;
    virtual std::optional<std::string> titleForHeaderInSection(TableView&, int /*section*/)
    {
        return std::nullopt;
    }
    virtual std::optional<std::string> titleForFooterInSection(TableView&, int /*section*/)
    {
        return std::nullopt;
    }
    virtual bool canEditRowAtIndexPath(TableView&, const IndexPath&) { return true; }
};

// Optional callbacks: an empty optional or null answer means "not implemented".
class TableViewDelegate : public ScrollViewDelegate {
public:
    virtual std::optional<double> heightForRowAtIndexPath(TableView&, const IndexPath&)
    {
        return std::nullopt;
    }
    virtual std::optional<double> estimatedHeightForRowAtIndexPath(TableView&, const IndexPath&)
    {
        return std::nullopt;
    }
    virtual std::optional<double> heightForHeaderInSection(TableView&, int /*section*/)
    {
        return std::nullopt;
    }
    virtual std::optional<double> heightForFooterInSection(TableView&, int /*section*/)
    {
        return std::nullopt;
    }
    virtual std::shared_ptr<View> viewForHeaderInSection(TableView&, int /*section*/) { return nullptr; }
    virtual std::shared_ptr<View> viewForFooterInSection(TableView&, int /*section*/) { return nullptr; }
    virtual void willDisplayCell(TableView&, TableViewCell&, const IndexPath&) { }
    virtual void didEndDisplayingCell(TableView&, TableViewCell&, const IndexPath&) { }
    virtual bool shouldHighlightRowAtIndexPath(TableView&, const IndexPath&) { return true; }
    // The row to select instead, or nullopt to select nothing.
    virtual std::optional<IndexPath> willSelectRowAtIndexPath(TableView&, const IndexPath& indexPath)
    {
        return indexPath;
    }
    virtual std::optional<IndexPath> willDeselectRowAtIndexPath(TableView&, const IndexPath& indexPath)
    {
        return indexPath;
    }
    virtual void didSelectRowAtIndexPath(TableView&, const IndexPath&) { }
    virtual void didDeselectRowAtIndexPath(TableView&, const IndexPath&) { }
};

class TableView : public ScrollView {
public:
    using CellFactory = std::function<std::shared_ptr<TableViewCell>(const std::string& reuseIdentifier)>;

    static std::shared_ptr<TableView> create(const Rect& frame = {}, TableViewStyle = TableViewStyle::Plain);
    std::string_view className() const override { return "TableView"; }
    ~TableView() override;

    TableViewStyle style() const { return m_style; }

    std::shared_ptr<TableViewDataSource> dataSource() const { return m_dataSource.lock(); }
    void setDataSource(std::weak_ptr<TableViewDataSource>);
    // Also the scroll view's delegate.
    std::shared_ptr<TableViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<TableViewDelegate>);

    // Cells made for an identifier when its reuse pool is empty.
    void registerCellClass(const std::string& identifier, CellFactory);
    template <typename Cell> void registerCellClass(const std::string& identifier)
    {
        registerCellClass(identifier, [](const std::string& reuseIdentifier) {
            return Cell::create(TableViewCellStyle::Default, reuseIdentifier);
        });
    }
    // A cell from the pool (prepared for reuse), else a new one from the registered
    // factory, else null.
    std::shared_ptr<TableViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier);
    std::shared_ptr<TableViewCell> dequeueReusableCellWithIdentifier(
        const std::string& identifier, const IndexPath&);
    size_t reusePoolSize(const std::string& identifier) const;

    double rowHeight() const { return m_rowHeight; }
    void setRowHeight(double);
    double estimatedRowHeight() const { return m_estimatedRowHeight; }
    void setEstimatedRowHeight(double);
    double sectionHeaderHeight() const { return m_sectionHeaderHeight; }
    void setSectionHeaderHeight(double);
    double sectionFooterHeight() const { return m_sectionFooterHeight; }
    void setSectionFooterHeight(double);

    void reloadData();
    void reloadRowsAtIndexPaths(
        const std::vector<IndexPath>&, TableViewRowAnimation = TableViewRowAnimation::Automatic);
    // Index paths of the table after the change (insertions) or before it (deletions).
    void insertRowsAtIndexPaths(
        const std::vector<IndexPath>&, TableViewRowAnimation = TableViewRowAnimation::Automatic);
    void deleteRowsAtIndexPaths(
        const std::vector<IndexPath>&, TableViewRowAnimation = TableViewRowAnimation::Automatic);

    int numberOfSections() const { return static_cast<int>(m_sections.size()); }
    // 0 for a section out of range.
    int numberOfRowsInSection(int section) const;
    bool isValid(const IndexPath&) const;

    // Visible rows, top to bottom.
    std::vector<std::shared_ptr<TableViewCell>> visibleCells() const;
    std::vector<IndexPath> indexPathsForVisibleRows() const;
    // Only for a visible row; null otherwise.
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(const IndexPath&) const;
    std::optional<IndexPath> indexPathForCell(const TableViewCell&) const;
    // In content coordinates.
    std::optional<IndexPath> indexPathForRowAtPoint(const Point&) const;
    // The empty rectangle for an index path out of range.
    Rect rectForRowAtIndexPath(const IndexPath&) const;
    Rect rectForSection(int section) const;
    Rect rectForHeaderInSection(int section) const;
    Rect rectForFooterInSection(int section) const;
    // The header or footer view shown for a visible section (a Label for a title).
    std::shared_ptr<View> headerViewForSection(int section) const;
    std::shared_ptr<View> footerViewForSection(int section) const;

    bool allowsSelection() const { return m_selection.allowsSelection(); }
    void setAllowsSelection(bool allows) { m_selection.setAllowsSelection(allows); }
    bool allowsMultipleSelection() const { return m_selection.allowsMultipleSelection(); }
    void setAllowsMultipleSelection(bool allows) { m_selection.setAllowsMultipleSelection(allows); }
    // nullopt deselects everything.
    void selectRowAtIndexPath(const std::optional<IndexPath>&, bool animated = false,
        TableViewScrollPosition = TableViewScrollPosition::None);
    void deselectRowAtIndexPath(const IndexPath&, bool animated = false);
    // The first selected row (top-most).
    std::optional<IndexPath> indexPathForSelectedRow() const;
    std::vector<IndexPath> indexPathsForSelectedRows() const;
    // A user's tap on a row (see the header comment). Answers whether a row ended up
    // selected or deselected by it.
    bool simulateTapOnRow(const IndexPath&);

    void scrollToRowAtIndexPath(const IndexPath&, TableViewScrollPosition, bool animated = false);

    TableViewCellSeparatorStyle separatorStyle() const { return m_separatorStyle; }
    void setSeparatorStyle(TableViewCellSeparatorStyle style)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_separatorStyle = style;
    }
    std::optional<Color> separatorColor() const { return m_separatorColor; }
    void setSeparatorColor(std::optional<Color> color)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_separatorColor = color;
    }
    EdgeInsets separatorInset() const { return m_separatorInset; }
    void setSeparatorInset(const EdgeInsets& insets) { BASE_ASSERT_MAIN_THREAD(); m_separatorInset = insets; }

    std::shared_ptr<View> tableHeaderView() const { return m_tableHeaderView; }
    void setTableHeaderView(std::shared_ptr<View>);
    std::shared_ptr<View> tableFooterView() const { return m_tableFooterView; }
    void setTableFooterView(std::shared_ptr<View>);
    // Behind everything, the size of the visible bounds.
    std::shared_ptr<View> backgroundView() const { return m_backgroundView; }
    void setBackgroundView(std::shared_ptr<View>);

    void layoutSubviews() override;

protected:
    TableView(const Rect& frame, TableViewStyle);
    void contentOffsetDidChange() override;
    void boundsSizeDidChange(const Size& oldSize) override;

private:
    void replaceSlotView(std::shared_ptr<View>& slot, std::shared_ptr<View> view);
    struct Section {
        double headerHeight = 0;
        double footerHeight = 0;
        std::vector<double> rowHeights;
        // Positions of the rows within the section, kept in step with rowHeights.
        RowHeightIndex index;
        // Self-sizing rows, and which of them were measured from their cell (the others
        // still hold an estimate).
        std::vector<bool> automatic;
        std::vector<bool> measured;
        std::shared_ptr<View> headerView;
        std::shared_ptr<View> footerView;
    };

    void reloadSections();
    Section makeSection(TableViewDataSource*, TableViewDelegate*, int section, int rows);
    double resolvedRowHeight(TableViewDelegate*, const IndexPath&, bool& automatic);
    void setRowHeightEntry(Section&, int row, TableViewDelegate*, const IndexPath&, bool insert);
    void endDisplaying(const IndexPath&, const std::shared_ptr<TableViewCell>&, TableViewDelegate*);
    void reorderSubviews();
    std::shared_ptr<View> makeSupplementaryView(
        TableViewDataSource*, TableViewDelegate*, int section, bool header, double& height);
    void layoutVisibleRows();
    std::shared_ptr<TableViewCell> obtainCell(TableViewDataSource*, const IndexPath&);
    void enqueue(const std::shared_ptr<TableViewCell>&);
    void placeSupplementary(const std::shared_ptr<View>&, const Rect&, const Rect& visible);
    double tableHeaderHeight() const;
    double sectionTop(int section) const;
    Rect rowRect(const IndexPath&) const;
    // The data source's counts now equal `expected` (per section).
    bool dataSourceCountsMatch(const std::vector<int>& expected);

    TableViewStyle m_style;
    std::weak_ptr<TableViewDataSource> m_dataSource;
    std::weak_ptr<TableViewDelegate> m_delegate;
    CellReusePool<TableViewCell> m_reusePool;

    double m_rowHeight = 44;
    double m_estimatedRowHeight = 44;
    double m_sectionHeaderHeight = TableViewAutomaticDimension;
    double m_sectionFooterHeight = TableViewAutomaticDimension;

    std::vector<Section> m_sections;
    std::map<IndexPath, std::shared_ptr<TableViewCell>> m_visibleCells;
    IndexPathSelection m_selection;
    bool m_loaded = false;
    bool m_inLayout = false;
    bool m_reloadRequestedDuringLayout = false;

    TableViewCellSeparatorStyle m_separatorStyle = TableViewCellSeparatorStyle::SingleLine;
    std::optional<Color> m_separatorColor;
    EdgeInsets m_separatorInset { 0, 16, 0, 0 };
    std::shared_ptr<View> m_tableHeaderView;
    std::shared_ptr<View> m_tableFooterView;
    std::shared_ptr<View> m_backgroundView;
};

} // namespace ui
