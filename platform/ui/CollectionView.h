#pragma once

// A scrolling grid of items in sections, placed by a layout, filled by a data source,
// with cell reuse.
//
// reloadData() asks the data source for the counts, lets the layout compute every frame
// (CollectionViewFlowLayout.h) and asks for cells only for the items whose frames
// intersect the visible bounds. Scrolling repeats the visible pass (cells leaving go to
// the reuse pool of their identifier); a size change invalidates the layout first. A
// collection view with a data source loads itself at its first layout.
//
// Selection works as in TableView: selectItemAtIndexPath/deselectItemAtIndexPath tell
// the delegate nothing; simulateTapOnItem() is a user's tap (shouldHighlight,
// shouldSelect, the previous selection deselected with didDeselect in single selection,
// then didSelect; with multiple selection a tap on a selected item asks shouldDeselect
// and deselects it).
//
// Section headers and footers take their room in the layout; no views are made for them.

#include "platform/ui/CellReusePool.h"
#include "platform/ui/CollectionViewCell.h"
#include "platform/ui/CollectionViewFlowLayout.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/IndexPathSelection.h"
#include "platform/ui/ScrollView.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace ui {

class CollectionView;

// The platform's option bits.
enum class CollectionViewScrollPosition : uint32_t {
    None = 0,
    Top = 1 << 0,
    CenteredVertically = 1 << 1,
    Bottom = 1 << 2,
    Left = 1 << 3,
    CenteredHorizontally = 1 << 4,
    Right = 1 << 5,
};
UI_DEFINE_BITMASK_OPERATORS(CollectionViewScrollPosition)

class CollectionViewDataSource {
public:
    virtual ~CollectionViewDataSource() = default;

    virtual int numberOfSectionsInCollectionView(CollectionView&) { return 1; }
    virtual int numberOfItemsInSection(CollectionView&, int section) = 0;
    virtual std::shared_ptr<CollectionViewCell> cellForItemAtIndexPath(CollectionView&, const IndexPath&) = 0;
};

// Optional callbacks; the defaults do what "not implemented" means.
class CollectionViewDelegate : public ScrollViewDelegate {
public:
    virtual bool shouldHighlightItemAtIndexPath(CollectionView&, const IndexPath&) { return true; }
    virtual bool shouldSelectItemAtIndexPath(CollectionView&, const IndexPath&) { return true; }
    virtual bool shouldDeselectItemAtIndexPath(CollectionView&, const IndexPath&) { return true; }
    virtual void didSelectItemAtIndexPath(CollectionView&, const IndexPath&) { }
    virtual void didDeselectItemAtIndexPath(CollectionView&, const IndexPath&) { }
    virtual void willDisplayCell(CollectionView&, CollectionViewCell&, const IndexPath&) { }
    virtual void didEndDisplayingCell(CollectionView&, CollectionViewCell&, const IndexPath&) { }
};

// What a flow layout asks its collection view's delegate; nullopt means "not implemented"
// (the layout's own property applies).
class CollectionViewDelegateFlowLayout : public CollectionViewDelegate {
public:
    virtual std::optional<Size> sizeForItemAtIndexPath(
        CollectionView&, CollectionViewLayout&, const IndexPath&)
    {
        return std::nullopt;
    }
    virtual std::optional<EdgeInsets> insetForSectionAtIndex(
        CollectionView&, CollectionViewLayout&, int /*section*/)
    {
        return std::nullopt;
    }
    virtual std::optional<double> minimumLineSpacingForSectionAtIndex(
        CollectionView&, CollectionViewLayout&, int /*section*/)
    {
        return std::nullopt;
    }
    virtual std::optional<double> minimumInteritemSpacingForSectionAtIndex(
        CollectionView&, CollectionViewLayout&, int /*section*/)
    {
        return std::nullopt;
    }
    virtual std::optional<Size> referenceSizeForHeaderInSection(
        CollectionView&, CollectionViewLayout&, int /*section*/)
    {
        return std::nullopt;
    }
    virtual std::optional<Size> referenceSizeForFooterInSection(
        CollectionView&, CollectionViewLayout&, int /*section*/)
    {
        return std::nullopt;
    }
};

class CollectionView : public ScrollView {
public:
    using CellFactory
        = std::function<std::shared_ptr<CollectionViewCell>(const std::string& reuseIdentifier)>;

    // A null layout gets a flow layout.
    static std::shared_ptr<CollectionView> create(
        const Rect& frame, std::shared_ptr<CollectionViewLayout> = nullptr);
    std::string_view className() const override { return "CollectionView"; }
    ~CollectionView() override;

    const std::shared_ptr<CollectionViewLayout>& collectionViewLayout() const { return m_layout; }
    void setCollectionViewLayout(std::shared_ptr<CollectionViewLayout>);

    std::shared_ptr<CollectionViewDataSource> dataSource() const { return m_dataSource.lock(); }
    void setDataSource(std::weak_ptr<CollectionViewDataSource>);
    // Also the scroll view's delegate.
    std::shared_ptr<CollectionViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<CollectionViewDelegate>);

    void registerCellClass(const std::string& identifier, CellFactory);
    // A cell from the pool (prepared for reuse), else a new one from the registered
    // factory, else null.
    std::shared_ptr<CollectionViewCell> dequeueReusableCellWithReuseIdentifier(
        const std::string&, const IndexPath&);
    size_t reusePoolSize(const std::string& identifier) const;

    void reloadData();
    void reloadItemsAtIndexPaths(const std::vector<IndexPath>&);

    int numberOfSections() const { return static_cast<int>(m_itemCounts.size()); }
    int numberOfItemsInSection(int section) const;
    bool isValid(const IndexPath&) const;

    std::vector<std::shared_ptr<CollectionViewCell>> visibleCells() const;
    std::vector<IndexPath> indexPathsForVisibleItems() const;
    std::shared_ptr<CollectionViewCell> cellForItemAtIndexPath(const IndexPath&) const;
    std::optional<IndexPath> indexPathForCell(const CollectionViewCell&) const;
    // In content coordinates.
    std::optional<IndexPath> indexPathForItemAtPoint(const Point&) const;
    std::optional<CollectionViewLayoutAttributes> layoutAttributesForItemAtIndexPath(const IndexPath&);

    bool allowsSelection() const { return m_selection.allowsSelection(); }
    void setAllowsSelection(bool allows) { m_selection.setAllowsSelection(allows); }
    bool allowsMultipleSelection() const { return m_selection.allowsMultipleSelection(); }
    void setAllowsMultipleSelection(bool allows) { m_selection.setAllowsMultipleSelection(allows); }
    void selectItemAtIndexPath(const std::optional<IndexPath>&, bool animated = false,
        CollectionViewScrollPosition = CollectionViewScrollPosition::None);
    void deselectItemAtIndexPath(const IndexPath&, bool animated = false);
    std::vector<IndexPath> indexPathsForSelectedItems() const;
    bool simulateTapOnItem(const IndexPath&);

    void scrollToItemAtIndexPath(const IndexPath&, CollectionViewScrollPosition, bool animated = false);

    std::shared_ptr<View> backgroundView() const { return m_backgroundView; }
    void setBackgroundView(std::shared_ptr<View>);

    void layoutSubviews() override;

protected:
    CollectionView(const Rect& frame, std::shared_ptr<CollectionViewLayout>);
    void contentOffsetDidChange() override;
    void boundsSizeDidChange(const Size& oldSize) override;

private:
    void ensureLayout();
    void layoutVisibleItems();
    void endDisplaying(const IndexPath&, const std::shared_ptr<CollectionViewCell>&, CollectionViewDelegate*);
    void enqueue(const std::shared_ptr<CollectionViewCell>&);

    std::shared_ptr<CollectionViewLayout> m_layout;
    std::weak_ptr<CollectionViewDataSource> m_dataSource;
    std::weak_ptr<CollectionViewDelegate> m_delegate;
    CellReusePool<CollectionViewCell> m_reusePool;
    std::vector<int> m_itemCounts;
    std::map<IndexPath, std::shared_ptr<CollectionViewCell>> m_visibleCells;
    IndexPathSelection m_selection;
    bool m_loaded = false;
    bool m_inLayout = false;
    bool m_reloadRequestedDuringLayout = false;
    std::shared_ptr<View> m_backgroundView;
};

} // namespace ui
