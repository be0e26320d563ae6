#include "platform/ui/TableView.h"

#include "platform/base/Thread.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

constexpr double defaultEstimatedRowHeight = 44;
constexpr double titleHeaderHeight = 28;

// An automatic header or footer: a view placed by constraints is as tall as they make it
// at the table's width; else the height it was given.
double supplementaryHeight(View& view, double width)
{
    if (auto* cell = dynamic_cast<TableViewCell*>(&view))
        return placedByConstraints(*cell->contentView()) ? cell->fittingHeight(width) : view.frame().height();
    if (!placedByConstraints(view))
        return view.frame().height();
    return std::ceil(view.systemLayoutSizeFittingSize({ width, 0 }, LayoutPriority::required,
                                 LayoutPriority::fittingSizeLevel)
            .height);
}

bool rowIntersectsVisible(const Rect& row, const Rect& visible)
{
    if (visible.height() <= 0)
        return false;
    if (row.height() > 0)
        return row.minY() < visible.maxY() && row.maxY() > visible.minY();
    return row.minY() >= visible.minY() && row.minY() < visible.maxY();
}

// Rows above an inserted or deleted row keep their paths; the ones below move with it.
template<typename Shift>
void remapIndexPaths(std::map<IndexPath, std::shared_ptr<TableViewCell>>& visibleCells,
    std::set<IndexPath>& selectedPaths, const Shift& shift)
{
    std::map<IndexPath, std::shared_ptr<TableViewCell>> cells;
    for (auto& [path, cell] : visibleCells)
        cells[shift(path)] = cell;
    visibleCells = std::move(cells);
    std::set<IndexPath> selected;
    for (auto& path : selectedPaths)
        selected.insert(shift(path));
    selectedPaths = std::move(selected);
}

std::vector<IndexPath> sortedUnique(const std::vector<IndexPath>& indexPaths)
{
    std::vector<IndexPath> sorted(indexPaths);
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    return sorted;
}

std::vector<int> rowCounts(const TableView& tableView)
{
    std::vector<int> counts;
    for (int section = 0; section < tableView.numberOfSections(); ++section)
        counts.push_back(tableView.numberOfRowsInSection(section));
    return counts;
}

} // namespace

std::shared_ptr<TableView> TableView::create(const Rect& frame, TableViewStyle style)
{
    return std::shared_ptr<TableView>(new TableView(frame, style));
}

TableView::TableView(const Rect& frame, TableViewStyle style)
    : ScrollView(frame)
    , m_style(style)
    , m_selection([this](const IndexPath& indexPath) { return isValid(indexPath); },
          [this](const IndexPath& indexPath, bool selected) {
              if (auto cell = cellForRowAtIndexPath(indexPath))
                  cell->setSelected(selected);
          })
{
    setAlwaysBounceVertical(true);
}

TableView::~TableView() = default;

void TableView::setDataSource(std::weak_ptr<TableViewDataSource> dataSource)
{
    BASE_ASSERT_MAIN_THREAD();
    m_dataSource = std::move(dataSource);
    m_loaded = false;
    setNeedsLayout();
}

void TableView::setDelegate(std::weak_ptr<TableViewDelegate> delegate)
{
    BASE_ASSERT_MAIN_THREAD();
    m_delegate = delegate;
    ScrollView::setDelegate(std::weak_ptr<ScrollViewDelegate>(delegate.lock()));
    // Heights come from the delegate: they are asked again at the next load.
    m_loaded = false;
    setNeedsLayout();
}

void TableView::registerCellClass(const std::string& identifier, CellFactory factory)
{
    m_reusePool.registerFactory(identifier, std::move(factory));
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCellWithIdentifier(const std::string& identifier)
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto cell = m_reusePool.takePooled(identifier))
        return cell;
    auto cell = m_reusePool.makeNew(identifier);
    if (cell)
        cell->setReuseIdentifier(identifier);
    return cell;
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCellWithIdentifier(
    const std::string& identifier, const IndexPath&)
{
    return dequeueReusableCellWithIdentifier(identifier);
}

size_t TableView::reusePoolSize(const std::string& identifier) const
{
    return m_reusePool.size(identifier);
}

void TableView::enqueue(const std::shared_ptr<TableViewCell>& cell)
{
    m_reusePool.enqueue(cell);
}

void TableView::endDisplaying(
    const IndexPath& indexPath, const std::shared_ptr<TableViewCell>& cell, TableViewDelegate* delegate)
{
    if (cell->superview().get() == this)
        cell->removeFromSuperview();
    if (delegate)
        delegate->didEndDisplayingCell(*this, *cell, indexPath);
    enqueue(cell);
}

void TableView::setRowHeight(double height)
{
    m_rowHeight = height < 0 ? TableViewAutomaticDimension : height;
}

void TableView::setEstimatedRowHeight(double height)
{
    m_estimatedRowHeight = std::max(0.0, height);
}

void TableView::setSectionHeaderHeight(double height)
{
    m_sectionHeaderHeight = height < 0 ? TableViewAutomaticDimension : height;
}

void TableView::setSectionFooterHeight(double height)
{
    m_sectionFooterHeight = height < 0 ? TableViewAutomaticDimension : height;
}

double TableView::resolvedRowHeight(TableViewDelegate* delegate, const IndexPath& indexPath, bool& automatic)
{
    automatic = false;
    if (delegate) {
        if (auto height = delegate->heightForRowAtIndexPath(*this, indexPath))
            return std::max(0.0, *height);
    }
    if (m_rowHeight >= 0)
        return m_rowHeight;
    automatic = true;
    if (delegate) {
        if (auto estimate = delegate->estimatedHeightForRowAtIndexPath(*this, indexPath);
            estimate && *estimate > 0)
            return *estimate;
    }
    return m_estimatedRowHeight > 0 ? m_estimatedRowHeight : defaultEstimatedRowHeight;
}

void TableView::setRowHeightEntry(
    Section& section, int row, TableViewDelegate* delegate, const IndexPath& indexPath, bool insert)
{
    bool automatic = false;
    double height = resolvedRowHeight(delegate, indexPath, automatic);
    if (insert) {
        section.rowHeights.insert(section.rowHeights.begin() + row, height);
        section.automatic.insert(section.automatic.begin() + row, automatic);
        section.measured.insert(section.measured.begin() + row, false);
    } else {
        section.index.add(row, height - section.rowHeights[row]);
        section.rowHeights[row] = height;
        section.automatic[row] = automatic;
        section.measured[row] = false;
    }
}

std::shared_ptr<View> TableView::makeSupplementaryView(
    TableViewDataSource* dataSource, TableViewDelegate* delegate, int section, bool header, double& height)
{
    std::optional<double> asked;
    std::shared_ptr<View> view;
    if (delegate) {
        asked = header ? delegate->heightForHeaderInSection(*this, section)
                       : delegate->heightForFooterInSection(*this, section);
        view = header ? delegate->viewForHeaderInSection(*this, section)
                      : delegate->viewForFooterInSection(*this, section);
    }
    bool fromDelegate = view != nullptr;
    bool titled = false;
    if (!view && dataSource) {
        auto title = header ? dataSource->titleForHeaderInSection(*this, section)
                            : dataSource->titleForFooterInSection(*this, section);
        if (title) {
            auto label = Label::create();
            label->setText(*title);
            view = label;
            titled = true;
        }
    }
    double fixed = header ? m_sectionHeaderHeight : m_sectionFooterHeight;
    if (asked)
        height = std::max(0.0, *asked);
    else if (fixed >= 0)
        height = fixed;
    else if (fromDelegate)
        height = supplementaryHeight(*view, bounds().width());
    else if (titled)
        height = titleHeaderHeight;
    else
        height = 0;
    return view;
}

TableView::Section TableView::makeSection(
    TableViewDataSource* dataSource, TableViewDelegate* delegate, int section, int rows)
{
    Section result;
    result.headerView = makeSupplementaryView(dataSource, delegate, section, true, result.headerHeight);
    result.rowHeights.reserve(rows);
    for (int row = 0; row < rows; ++row)
        setRowHeightEntry(result, row, delegate, { section, row }, true);
    result.index.assign(result.rowHeights);
    result.footerView = makeSupplementaryView(dataSource, delegate, section, false, result.footerHeight);
    return result;
}

void TableView::reloadSections()
{
    for (auto& section : m_sections) {
        if (section.headerView && section.headerView->superview().get() == this)
            section.headerView->removeFromSuperview();
        if (section.footerView && section.footerView->superview().get() == this)
            section.footerView->removeFromSuperview();
    }
    m_sections.clear();
    auto dataSource = this->dataSource();
    auto delegate = this->delegate();
    if (!dataSource)
        return;
    int count = std::max(0, dataSource->numberOfSectionsInTableView(*this));
    for (int section = 0; section < count; ++section) {
        int rows = std::max(0, dataSource->numberOfRowsInSection(*this, section));
        m_sections.push_back(makeSection(dataSource.get(), delegate.get(), section, rows));
    }
}

void TableView::reloadData()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_inLayout) {
        m_reloadRequestedDuringLayout = true;
        return;
    }
    auto delegate = this->delegate();
    auto visible = std::move(m_visibleCells);
    m_visibleCells.clear();
    for (auto& [indexPath, cell] : visible)
        endDisplaying(indexPath, cell, delegate.get());
    m_selection.rawIndexPaths().clear();
    reloadSections();
    m_loaded = true;
    layoutVisibleRows();
}

int TableView::numberOfRowsInSection(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return 0;
    return static_cast<int>(m_sections[section].rowHeights.size());
}

bool TableView::isValid(const IndexPath& indexPath) const
{
    return indexPath.row >= 0 && indexPath.row < numberOfRowsInSection(indexPath.section);
}

double TableView::tableHeaderHeight() const
{
    return m_tableHeaderView ? m_tableHeaderView->frame().height() : 0;
}

double TableView::sectionTop(int section) const
{
    double y = tableHeaderHeight();
    for (int index = 0; index < section && index < numberOfSections(); ++index) {
        auto& entry = m_sections[index];
        y += entry.headerHeight + entry.index.total() + entry.footerHeight;
    }
    return y;
}

Rect TableView::rectForSection(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return {};
    auto& entry = m_sections[section];
    return { 0, sectionTop(section), bounds().width(),
        entry.headerHeight + entry.index.total() + entry.footerHeight };
}

Rect TableView::rectForHeaderInSection(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return {};
    return { 0, sectionTop(section), bounds().width(), m_sections[section].headerHeight };
}

Rect TableView::rectForFooterInSection(int section) const
{
    Rect sectionRect = rectForSection(section);
    if (sectionRect.isEmpty() && section >= numberOfSections())
        return {};
    double footer = m_sections[section].footerHeight;
    return { 0, sectionRect.maxY() - footer, bounds().width(), footer };
}

Rect TableView::rectForRowAtIndexPath(const IndexPath& indexPath) const
{
    if (!isValid(indexPath))
        return {};
    return rowRect(indexPath);
}

Rect TableView::rowRect(const IndexPath& indexPath) const
{
    auto& entry = m_sections[indexPath.section];
    double y = sectionTop(indexPath.section) + entry.headerHeight + entry.index.prefix(indexPath.row);
    return { 0, y, bounds().width(), entry.rowHeights[indexPath.row] };
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(const Point& point) const
{
    double y = tableHeaderHeight();
    for (int section = 0; section < numberOfSections(); ++section) {
        auto& entry = m_sections[section];
        double rowsTop = y + entry.headerHeight;
        double rowsHeight = entry.index.total();
        if (point.y >= rowsTop && point.y < rowsTop + rowsHeight) {
            int row = entry.index.rowsEndingAtOrAbove(point.y - rowsTop);
            if (row < entry.index.size())
                return IndexPath(section, row);
        }
        y = rowsTop + rowsHeight + entry.footerHeight;
    }
    return std::nullopt;
}

std::shared_ptr<TableViewCell> TableView::obtainCell(
    TableViewDataSource* dataSource, const IndexPath& indexPath)
{
    auto cell = dataSource->cellForRowAtIndexPath(*this, indexPath);
    if (!cell)
        cell = TableViewCell::create();
    m_reusePool.remove(cell);
    return cell;
}

void TableView::placeSupplementary(const std::shared_ptr<View>& view, const Rect& rect, const Rect& visible)
{
    if (!view)
        return;
    if (rect.height() > 0 && rowIntersectsVisible(rect, visible)) {
        view->setFrame(rect);
        if (view->superview().get() != this)
            addSubview(view);
    } else if (view->superview().get() == this) {
        view->removeFromSuperview();
    }
}

void TableView::layoutVisibleRows()
{
    if (m_inLayout)
        return;
    m_inLayout = true;
    auto dataSource = this->dataSource();
    auto delegate = this->delegate();
    Rect visible = bounds();
    double width = visible.width();
    if (m_backgroundView)
        m_backgroundView->setFrame(visible);

    double y = 0;
    if (m_tableHeaderView) {
        y = m_tableHeaderView->frame().height();
        m_tableHeaderView->setFrame({ 0, 0, width, y });
    }
    // Cells that left the bounds go back to the pool first, so the rows coming in can
    // reuse them.
    std::vector<IndexPath> leaving;
    for (auto& [indexPath, cell] : m_visibleCells) {
        if (!isValid(indexPath) || !rowIntersectsVisible(rowRect(indexPath), visible))
            leaving.push_back(indexPath);
    }
    for (auto& indexPath : leaving) {
        auto cell = std::move(m_visibleCells[indexPath]);
        m_visibleCells.erase(indexPath);
        endDisplaying(indexPath, cell, delegate.get());
    }

    std::map<IndexPath, std::shared_ptr<TableViewCell>> nowVisible;
    std::vector<std::pair<IndexPath, std::shared_ptr<TableViewCell>>> appeared;
    for (int sectionIndex = 0; sectionIndex < numberOfSections(); ++sectionIndex) {
        auto& section = m_sections[sectionIndex];
        placeSupplementary(section.headerView, { 0, y, width, section.headerHeight }, visible);
        y += section.headerHeight;
        double rowsTop = y;
        int rowCount = static_cast<int>(section.rowHeights.size());
        // Only the rows from the one under the top edge down to the bottom edge.
        int row = dataSource ? section.index.rowsEndingAtOrAbove(visible.minY() - rowsTop) : rowCount;
        double rowTop = rowsTop + section.index.prefix(row);
        for (; row < rowCount && rowTop < visible.maxY(); ++row) {
            Rect rowRect { 0, rowTop, width, section.rowHeights[row] };
            if (rowIntersectsVisible(rowRect, visible)) {
                IndexPath indexPath(sectionIndex, row);
                std::shared_ptr<TableViewCell> cell;
                if (auto it = m_visibleCells.find(indexPath); it != m_visibleCells.end()) {
                    cell = std::move(it->second);
                    m_visibleCells.erase(it);
                } else {
                    cell = obtainCell(dataSource.get(), indexPath);
                    appeared.emplace_back(indexPath, cell);
                }
                if (section.automatic[row] && !section.measured[row]) {
                    double measured = cell->fittingHeight(width);
                    if (measured > 0) {
                        section.index.add(row, measured - section.rowHeights[row]);
                        section.rowHeights[row] = measured;
                    }
                    section.measured[row] = true;
                    rowRect.size.height = section.rowHeights[row];
                }
                cell->setFrame(rowRect);
                if (cell->superview().get() != this)
                    addSubview(cell);
                cell->setSelected(m_selection.contains(indexPath));
                cell->layoutIfNeeded();
                nowVisible[indexPath] = cell;
            }
            rowTop += rowRect.height();
        }
        y = rowsTop + section.index.total();
        placeSupplementary(section.footerView, { 0, y, width, section.footerHeight }, visible);
        y += section.footerHeight;
    }
    if (m_tableFooterView) {
        double height = m_tableFooterView->frame().height();
        m_tableFooterView->setFrame({ 0, y, width, height });
        y += height;
    }
    auto gone = std::move(m_visibleCells);
    m_visibleCells = std::move(nowVisible);
    for (auto& [indexPath, cell] : gone)
        endDisplaying(indexPath, cell, delegate.get());
    setContentSize({ width, y });
    reorderSubviews();
    m_inLayout = false;

    if (delegate) {
        for (auto& [indexPath, cell] : appeared)
            delegate->willDisplayCell(*this, *cell, indexPath);
    }
    if (m_reloadRequestedDuringLayout) {
        m_reloadRequestedDuringLayout = false;
        reloadData();
    }
}

void TableView::reorderSubviews()
{
    // Back to front: background, table header, then sections top to bottom with their
    // headers and footers above their rows, table footer. Other subviews follow.
    std::vector<std::shared_ptr<View>> order;
    auto take = [&](const std::shared_ptr<View>& view) {
        if (view && view->superview().get() == this)
            order.push_back(view);
    };
    take(m_backgroundView);
    take(m_tableHeaderView);
    for (int section = 0; section < numberOfSections(); ++section) {
        for (auto it = m_visibleCells.lower_bound({ section, 0 });
             it != m_visibleCells.end() && it->first.section == section; ++it)
            take(it->second);
        take(m_sections[section].headerView);
        take(m_sections[section].footerView);
    }
    take(m_tableFooterView);
    for (size_t index = 0; index < order.size(); ++index) {
        if (index >= subviews().size() || subviews()[index] != order[index])
            insertSubview(order[index], index);
    }
}

void TableView::layoutSubviews()
{
    ScrollView::layoutSubviews();
    if (!m_loaded) {
        if (dataSource())
            reloadData();
        return;
    }
    layoutVisibleRows();
}

void TableView::contentOffsetDidChange()
{
    ScrollView::contentOffsetDidChange();
    if (m_loaded)
        layoutVisibleRows();
}

void TableView::boundsSizeDidChange(const Size& oldSize)
{
    ScrollView::boundsSizeDidChange(oldSize);
    if (!m_loaded)
        return;
    if (oldSize.width != bounds().width()) {
        // Self-sized rows are measured again at the new width.
        for (auto& section : m_sections)
            std::fill(section.measured.begin(), section.measured.end(), false);
    }
    layoutVisibleRows();
}

std::vector<std::shared_ptr<TableViewCell>> TableView::visibleCells() const
{
    std::vector<std::shared_ptr<TableViewCell>> cells;
    for (auto& [indexPath, cell] : m_visibleCells)
        cells.push_back(cell);
    return cells;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() const
{
    std::vector<IndexPath> paths;
    for (auto& [indexPath, cell] : m_visibleCells)
        paths.push_back(indexPath);
    return paths;
}

std::shared_ptr<TableViewCell> TableView::cellForRowAtIndexPath(const IndexPath& indexPath) const
{
    auto it = m_visibleCells.find(indexPath);
    return it == m_visibleCells.end() ? nullptr : it->second;
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell& cell) const
{
    for (auto& [indexPath, visibleCell] : m_visibleCells) {
        if (visibleCell.get() == &cell)
            return indexPath;
    }
    return std::nullopt;
}

std::shared_ptr<View> TableView::headerViewForSection(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return nullptr;
    auto& view = m_sections[section].headerView;
    return view && view->superview().get() == this ? view : nullptr;
}

std::shared_ptr<View> TableView::footerViewForSection(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return nullptr;
    auto& view = m_sections[section].footerView;
    return view && view->superview().get() == this ? view : nullptr;
}

bool TableView::dataSourceCountsMatch(const std::vector<int>& expected)
{
    auto dataSource = this->dataSource();
    if (!dataSource)
        return false;
    int sections = std::max(0, dataSource->numberOfSectionsInTableView(*this));
    if (sections != static_cast<int>(expected.size()))
        return false;
    for (int section = 0; section < sections; ++section) {
        if (std::max(0, dataSource->numberOfRowsInSection(*this, section)) != expected[section])
            return false;
    }
    return true;
}

void TableView::insertRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_loaded || m_inLayout) {
        // Not shown yet: the next load reads the new counts.
        m_loaded = false;
        setNeedsLayout();
        return;
    }
    std::vector<IndexPath> sorted = sortedUnique(indexPaths);
    std::vector<int> expected = rowCounts(*this);
    for (auto& indexPath : sorted) {
        if (indexPath.section < 0 || indexPath.section >= numberOfSections() || indexPath.row < 0) {
            reloadData();
            return;
        }
        ++expected[indexPath.section];
    }
    for (auto& indexPath : sorted) {
        if (indexPath.row >= expected[indexPath.section]) {
            reloadData();
            return;
        }
    }
    if (!dataSourceCountsMatch(expected)) {
        reloadData();
        return;
    }
    auto delegate = this->delegate();
    for (auto& inserted : sorted) {
        setRowHeightEntry(m_sections[inserted.section], inserted.row, delegate.get(), inserted, true);
        auto shift = [&inserted](const IndexPath& path) {
            return path.section == inserted.section && path.row >= inserted.row
                ? IndexPath(path.section, path.row + 1)
                : path;
        };
        remapIndexPaths(m_visibleCells, m_selection.rawIndexPaths(), shift);
    }
    for (auto& section : m_sections)
        section.index.assign(section.rowHeights);
    layoutVisibleRows();
}

void TableView::deleteRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_loaded || m_inLayout) {
        m_loaded = false;
        setNeedsLayout();
        return;
    }
    std::vector<IndexPath> sorted = sortedUnique(indexPaths);
    std::vector<int> expected = rowCounts(*this);
    for (auto& indexPath : sorted) {
        if (!isValid(indexPath)) {
            reloadData();
            return;
        }
        --expected[indexPath.section];
    }
    if (!dataSourceCountsMatch(expected)) {
        reloadData();
        return;
    }
    auto delegate = this->delegate();
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it) {
        const IndexPath deleted = *it;
        auto& section = m_sections[deleted.section];
        section.rowHeights.erase(section.rowHeights.begin() + deleted.row);
        section.automatic.erase(section.automatic.begin() + deleted.row);
        section.measured.erase(section.measured.begin() + deleted.row);
        if (auto visible = m_visibleCells.find(deleted); visible != m_visibleCells.end()) {
            auto cell = std::move(visible->second);
            m_visibleCells.erase(visible);
            endDisplaying(deleted, cell, delegate.get());
        }
        m_selection.rawIndexPaths().erase(deleted);
        auto shift = [&deleted](const IndexPath& path) {
            return path.section == deleted.section && path.row > deleted.row
                ? IndexPath(path.section, path.row - 1)
                : path;
        };
        remapIndexPaths(m_visibleCells, m_selection.rawIndexPaths(), shift);
    }
    for (auto& section : m_sections)
        section.index.assign(section.rowHeights);
    layoutVisibleRows();
}

void TableView::reloadRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_loaded || m_inLayout)
        return;
    auto delegate = this->delegate();
    for (auto& indexPath : indexPaths) {
        if (!isValid(indexPath))
            continue;
        setRowHeightEntry(m_sections[indexPath.section], indexPath.row, delegate.get(), indexPath, false);
        if (auto visible = m_visibleCells.find(indexPath); visible != m_visibleCells.end()) {
            auto cell = std::move(visible->second);
            m_visibleCells.erase(visible);
            endDisplaying(indexPath, cell, delegate.get());
        }
    }
    layoutVisibleRows();
}

// Takes the old view of a slot (header, footer, background) out of the table, if it is
// still ours, and puts the new one in the slot.
void TableView::replaceSlotView(std::shared_ptr<View>& slot, std::shared_ptr<View> view)
{
    if (slot && slot->superview().get() == this)
        slot->removeFromSuperview();
    slot = std::move(view);
}

void TableView::setTableHeaderView(std::shared_ptr<View> view)
{
    replaceSlotView(m_tableHeaderView, std::move(view));
    if (m_tableHeaderView)
        addSubview(m_tableHeaderView);
    if (m_loaded)
        layoutVisibleRows();
}

void TableView::setTableFooterView(std::shared_ptr<View> view)
{
    replaceSlotView(m_tableFooterView, std::move(view));
    if (m_tableFooterView)
        addSubview(m_tableFooterView);
    if (m_loaded)
        layoutVisibleRows();
}

void TableView::setBackgroundView(std::shared_ptr<View> view)
{
    replaceSlotView(m_backgroundView, std::move(view));
    if (m_backgroundView) {
        insertSubview(m_backgroundView, 0);
        m_backgroundView->setFrame(bounds());
    }
}

} // namespace ui
