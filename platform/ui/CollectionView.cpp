#include "platform/ui/CollectionView.h"

#include "platform/base/Thread.h"

#include <algorithm>

namespace ui {

namespace {

bool intersectsVisible(const Rect& frame, const Rect& visible)
{
    if (visible.isEmpty())
        return false;
    if (frame.isEmpty())
        return visible.contains(frame.origin);
    return visible.intersects(frame);
}

// The collection delegate only allows or refuses, and is not asked about the items that a
// single selection gives up.
class CollectionViewTapAnswers final : public DelegateTapAnswers<CollectionView, CollectionViewDelegate,
                                           &CollectionViewDelegate::shouldHighlightItemAtIndexPath,
                                           &CollectionViewDelegate::didSelectItemAtIndexPath,
                                           &CollectionViewDelegate::didDeselectItemAtIndexPath> {
public:
    using DelegateTapAnswers::DelegateTapAnswers;

    std::optional<IndexPath> willSelect(const IndexPath& indexPath) override
    {
        return allowedBy(m_delegate.shouldSelectItemAtIndexPath(m_view, indexPath), indexPath);
    }
    std::optional<IndexPath> willDeselect(const IndexPath& indexPath) override
    {
        return allowedBy(m_delegate.shouldDeselectItemAtIndexPath(m_view, indexPath), indexPath);
    }

private:
    static std::optional<IndexPath> allowedBy(bool allowed, const IndexPath& indexPath)
    {
        return allowed ? std::optional(indexPath) : std::nullopt;
    }
};

} // namespace

std::shared_ptr<CollectionView> CollectionView::create(
    const Rect& frame, std::shared_ptr<CollectionViewLayout> layout)
{
    return std::shared_ptr<CollectionView>(new CollectionView(frame, std::move(layout)));
}

CollectionView::CollectionView(const Rect& frame, std::shared_ptr<CollectionViewLayout> layout)
    : ScrollView(frame)
    , m_selection([this](const IndexPath& indexPath) { return isValid(indexPath); },
          [this](const IndexPath& indexPath, bool selected) {
              if (auto cell = cellForItemAtIndexPath(indexPath))
                  cell->setSelected(selected);
          })
{
    setCollectionViewLayout(layout ? std::move(layout) : CollectionViewFlowLayout::create());
}

CollectionView::~CollectionView()
{
    if (m_layout && m_layout->m_collectionView == this)
        m_layout->m_collectionView = nullptr;
}

void CollectionView::setCollectionViewLayout(std::shared_ptr<CollectionViewLayout> layout)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!layout)
        return;
    if (m_layout && m_layout->m_collectionView == this)
        m_layout->m_collectionView = nullptr;
    m_layout = std::move(layout);
    m_layout->m_collectionView = this;
    m_layout->invalidateLayout();
    if (m_loaded)
        layoutVisibleItems();
}

void CollectionView::setDataSource(std::weak_ptr<CollectionViewDataSource> dataSource)
{
    BASE_ASSERT_MAIN_THREAD();
    m_dataSource = std::move(dataSource);
    m_loaded = false;
    setNeedsLayout();
}

void CollectionView::setDelegate(std::weak_ptr<CollectionViewDelegate> delegate)
{
    BASE_ASSERT_MAIN_THREAD();
    m_delegate = delegate;
    ScrollView::setDelegate(delegate);
    // Sizes may come from the delegate.
    m_layout->invalidateLayout();
    setNeedsLayout();
}

void CollectionView::registerCellClass(const std::string& identifier, CellFactory factory)
{
    m_reusePool.registerFactory(identifier, std::move(factory));
}

std::shared_ptr<CollectionViewCell> CollectionView::dequeueReusableCellWithReuseIdentifier(
    const std::string& identifier, const IndexPath&)
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto cell = m_reusePool.takePooled(identifier))
        return cell;
    auto cell = m_reusePool.makeNew(identifier);
    if (cell)
        cell->setReuseIdentifier(identifier);
    return cell;
}

size_t CollectionView::reusePoolSize(const std::string& identifier) const
{
    return m_reusePool.size(identifier);
}

void CollectionView::enqueue(const std::shared_ptr<CollectionViewCell>& cell)
{
    m_reusePool.enqueue(cell);
}

void CollectionView::endDisplaying(const IndexPath& indexPath,
    const std::shared_ptr<CollectionViewCell>& cell, CollectionViewDelegate* delegate)
{
    if (cell->superview().get() == this)
        cell->removeFromSuperview();
    if (delegate)
        delegate->didEndDisplayingCell(*this, *cell, indexPath);
    enqueue(cell);
}

void CollectionView::reloadData()
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
    m_itemCounts.clear();
    if (auto dataSource = this->dataSource()) {
        int sections = std::max(0, dataSource->numberOfSectionsInCollectionView(*this));
        for (int section = 0; section < sections; ++section)
            m_itemCounts.push_back(std::max(0, dataSource->numberOfItemsInSection(*this, section)));
    }
    m_loaded = true;
    m_layout->invalidateLayout();
    layoutVisibleItems();
}

void CollectionView::reloadItemsAtIndexPaths(const std::vector<IndexPath>& indexPaths)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_loaded || m_inLayout)
        return;
    auto delegate = this->delegate();
    for (auto& indexPath : indexPaths) {
        if (auto it = m_visibleCells.find(indexPath); it != m_visibleCells.end()) {
            auto cell = std::move(it->second);
            m_visibleCells.erase(it);
            endDisplaying(indexPath, cell, delegate.get());
        }
    }
    m_layout->invalidateLayout();
    layoutVisibleItems();
}

int CollectionView::numberOfItemsInSection(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return 0;
    return m_itemCounts[section];
}

bool CollectionView::isValid(const IndexPath& indexPath) const
{
    return indexPath.row >= 0 && indexPath.row < numberOfItemsInSection(indexPath.section);
}

void CollectionView::ensureLayout()
{
    if (!m_layout->isValid())
        m_layout->prepare();
}

void CollectionView::layoutVisibleItems()
{
    if (m_inLayout)
        return;
    m_inLayout = true;
    ensureLayout();
    auto dataSource = this->dataSource();
    auto delegate = this->delegate();
    Rect visible = bounds();
    if (m_backgroundView)
        m_backgroundView->setFrame(visible);

    // Cells that left the bounds go back to the pool first, so the items coming in can
    // reuse them.
    std::vector<IndexPath> leaving;
    for (auto& [indexPath, cell] : m_visibleCells) {
        auto attributes = m_layout->layoutAttributesForItem(indexPath);
        if (!attributes || !isValid(indexPath) || !intersectsVisible(attributes->frame, visible))
            leaving.push_back(indexPath);
    }
    for (auto& indexPath : leaving) {
        auto cell = std::move(m_visibleCells[indexPath]);
        m_visibleCells.erase(indexPath);
        endDisplaying(indexPath, cell, delegate.get());
    }

    std::map<IndexPath, std::shared_ptr<CollectionViewCell>> nowVisible;
    std::vector<std::pair<IndexPath, std::shared_ptr<CollectionViewCell>>> appeared;
    if (dataSource) {
        for (auto& attributes : m_layout->layoutAttributesForElementsInRect(visible)) {
            if (attributes.category != CollectionViewLayoutAttributes::Category::Cell
                || !isValid(attributes.indexPath) || !intersectsVisible(attributes.frame, visible))
                continue;
            std::shared_ptr<CollectionViewCell> cell;
            if (auto it = m_visibleCells.find(attributes.indexPath); it != m_visibleCells.end()) {
                cell = std::move(it->second);
                m_visibleCells.erase(it);
            } else {
                cell = dataSource->cellForItemAtIndexPath(*this, attributes.indexPath);
                if (!cell)
                    cell = CollectionViewCell::create();
                m_reusePool.remove(cell);
                appeared.emplace_back(attributes.indexPath, cell);
            }
            cell->setFrame(attributes.frame);
            if (cell->superview().get() != this)
                addSubview(cell);
            cell->setSelected(m_selection.contains(attributes.indexPath));
            cell->layoutIfNeeded();
            nowVisible[attributes.indexPath] = cell;
        }
    }
    auto gone = std::move(m_visibleCells);
    m_visibleCells = std::move(nowVisible);
    for (auto& [indexPath, cell] : gone)
        endDisplaying(indexPath, cell, delegate.get());
    setContentSize(m_layout->collectionViewContentSize());

    // Cells in item order above the background, for stable dumps.
    size_t index = m_backgroundView && m_backgroundView->superview().get() == this ? 1 : 0;
    for (auto& [indexPath, cell] : m_visibleCells) {
        if (index >= subviews().size() || subviews()[index] != cell)
            insertSubview(cell, index);
        ++index;
    }
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

void CollectionView::layoutSubviews()
{
    ScrollView::layoutSubviews();
    if (!m_loaded) {
        if (dataSource())
            reloadData();
        return;
    }
    layoutVisibleItems();
}

void CollectionView::contentOffsetDidChange()
{
    ScrollView::contentOffsetDidChange();
    if (m_loaded)
        layoutVisibleItems();
}

void CollectionView::boundsSizeDidChange(const Size& oldSize)
{
    ScrollView::boundsSizeDidChange(oldSize);
    m_layout->invalidateLayout();
    if (m_loaded)
        layoutVisibleItems();
}

std::vector<std::shared_ptr<CollectionViewCell>> CollectionView::visibleCells() const
{
    std::vector<std::shared_ptr<CollectionViewCell>> cells;
    for (auto& [indexPath, cell] : m_visibleCells)
        cells.push_back(cell);
    return cells;
}

std::vector<IndexPath> CollectionView::indexPathsForVisibleItems() const
{
    std::vector<IndexPath> paths;
    for (auto& [indexPath, cell] : m_visibleCells)
        paths.push_back(indexPath);
    return paths;
}

std::shared_ptr<CollectionViewCell> CollectionView::cellForItemAtIndexPath(const IndexPath& indexPath) const
{
    auto it = m_visibleCells.find(indexPath);
    return it == m_visibleCells.end() ? nullptr : it->second;
}

std::optional<IndexPath> CollectionView::indexPathForCell(const CollectionViewCell& cell) const
{
    for (auto& [indexPath, visibleCell] : m_visibleCells) {
        if (visibleCell.get() == &cell)
            return indexPath;
    }
    return std::nullopt;
}

std::optional<IndexPath> CollectionView::indexPathForItemAtPoint(const Point& point) const
{
    for (auto& attributes : m_layout->layoutAttributesForElementsInRect({ point.x, point.y, 1, 1 })) {
        if (attributes.category == CollectionViewLayoutAttributes::Category::Cell
            && attributes.frame.contains(point))
            return attributes.indexPath;
    }
    return std::nullopt;
}

std::optional<CollectionViewLayoutAttributes> CollectionView::layoutAttributesForItemAtIndexPath(
    const IndexPath& indexPath)
{
    ensureLayout();
    return m_layout->layoutAttributesForItem(indexPath);
}

void CollectionView::selectItemAtIndexPath(
    const std::optional<IndexPath>& indexPath, bool animated, CollectionViewScrollPosition position)
{
    if (m_selection.select(indexPath) && position != CollectionViewScrollPosition::None)
        scrollToItemAtIndexPath(*indexPath, position, animated);
}

void CollectionView::deselectItemAtIndexPath(const IndexPath& indexPath, bool)
{
    m_selection.deselect(indexPath);
}

std::vector<IndexPath> CollectionView::indexPathsForSelectedItems() const
{
    return m_selection.indexPaths();
}

bool CollectionView::simulateTapOnItem(const IndexPath& indexPath)
{
    return m_selection.tap<CollectionViewTapAnswers>(indexPath, *this, delegate());
}

void CollectionView::scrollToItemAtIndexPath(
    const IndexPath& indexPath, CollectionViewScrollPosition position, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_loaded && dataSource())
        reloadData();
    auto attributes = layoutAttributesForItemAtIndexPath(indexPath);
    if (!attributes)
        return;
    Rect frame = attributes->frame;
    Rect visible = bounds();
    EdgeInsets insets = adjustedContentInset();
    Point offset = contentOffset();
    if (hasFlags(position, CollectionViewScrollPosition::Top))
        offset.y = frame.minY() - insets.top;
    else if (hasFlags(position, CollectionViewScrollPosition::CenteredVertically))
        offset.y = frame.midY() - insets.top - (visible.height() - insets.top - insets.bottom) / 2;
    else if (hasFlags(position, CollectionViewScrollPosition::Bottom))
        offset.y = frame.maxY() - visible.height() + insets.bottom;
    if (hasFlags(position, CollectionViewScrollPosition::Left))
        offset.x = frame.minX() - insets.left;
    else if (hasFlags(position, CollectionViewScrollPosition::CenteredHorizontally))
        offset.x = frame.midX() - insets.left - (visible.width() - insets.left - insets.right) / 2;
    else if (hasFlags(position, CollectionViewScrollPosition::Right))
        offset.x = frame.maxX() - visible.width() + insets.right;
    if (position == CollectionViewScrollPosition::None) {
        scrollRectToVisible(frame, animated);
        return;
    }
    Point low = minimumContentOffset();
    Point high = maximumContentOffset();
    offset.x = std::clamp(offset.x, low.x, std::max(low.x, high.x));
    offset.y = std::clamp(offset.y, low.y, std::max(low.y, high.y));
    if (!(offset == contentOffset()))
        setContentOffset(offset, animated);
}

void CollectionView::setBackgroundView(std::shared_ptr<View> view)
{
    if (m_backgroundView && m_backgroundView->superview().get() == this)
        m_backgroundView->removeFromSuperview();
    m_backgroundView = std::move(view);
    if (m_backgroundView) {
        insertSubview(m_backgroundView, 0);
        m_backgroundView->setFrame(bounds());
    }
}

} // namespace ui
