#pragma once

// Collection view layouts: the base a collection view asks for frames, and the flow
// layout.
//
// Flow layout, vertical scrolling: per section, the header (headerReferenceSize height,
// full width), the section inset's top, then items in rows from the left inset: an item
// goes on the current row unless the row already has an item and the item would pass
// the width less the right inset, in which case a new row starts minimumLineSpacing below
// the tallest item of the row. Items in a row are packed minimumInteritemSpacing apart
// and top-aligned (no justification). Then the inset's bottom and the footer. The width
// is the collection view's bounds width less its adjusted content insets left and right.
// Horizontal scrolling is the same with the axes swapped (columns from the top inset,
// headers as wide as headerReferenceSize.width).
//
// Item sizes: the delegate's sizeForItemAtIndexPath (CollectionViewDelegateFlowLayout)
// when it answers, else estimatedItemSize when it is not zero, else itemSize; insets and
// spacings likewise per section. Negative sizes count as 0.
//
// Right to left: when the layout is right-to-left (its own flag when set, else the
// collection view's direction) and flipsHorizontallyInOppositeLayoutDirection is on (the
// default for the flow layout), every frame's x is mirrored within the content width:
// x' = contentWidth - x - width.

#include "platform/base/Thread.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/IndexPath.h"

#include <memory>
#include <optional>
#include <vector>

namespace ui {

class CollectionView;

enum class CollectionViewScrollDirection { Vertical = 0, Horizontal = 1 };

struct CollectionViewLayoutAttributes {
    enum class Category { Cell, Header, Footer };

    IndexPath indexPath;
    Rect frame;
    Category category = Category::Cell;
};

class CollectionViewLayout {
public:
    virtual ~CollectionViewLayout() = default;

    // Computes every frame; the collection view calls it before it places cells when the
    // layout was invalidated.
    virtual void prepare() = 0;
    virtual Size collectionViewContentSize() const = 0;
    virtual std::optional<CollectionViewLayoutAttributes> layoutAttributesForItem(const IndexPath&) const = 0;
    // Cells, headers and footers whose frames intersect the rectangle, in layout order.
    virtual std::vector<CollectionViewLayoutAttributes> layoutAttributesForElementsInRect(
        const Rect&) const = 0;
    virtual bool flipsHorizontallyInOppositeLayoutDirection() const { return false; }

    void invalidateLayout() { BASE_ASSERT_MAIN_THREAD(); m_valid = false; }
    bool isValid() const { return m_valid; }
    // The collection view using the layout (not owned), or null.
    CollectionView* collectionView() const { return m_collectionView; }

protected:
    void markValid() { BASE_ASSERT_MAIN_THREAD(); m_valid = true; }

private:
    friend class CollectionView;
    CollectionView* m_collectionView = nullptr;
    bool m_valid = false;
};

class CollectionViewFlowLayout : public CollectionViewLayout {
public:
    static std::shared_ptr<CollectionViewFlowLayout> create();

    CollectionViewScrollDirection scrollDirection() const { return m_scrollDirection; }
    void setScrollDirection(CollectionViewScrollDirection);
    Size itemSize() const { return m_itemSize; }
    void setItemSize(const Size&);
    Size estimatedItemSize() const { return m_estimatedItemSize; }
    void setEstimatedItemSize(const Size&);
    EdgeInsets sectionInset() const { return m_sectionInset; }
    void setSectionInset(const EdgeInsets&);
    double minimumLineSpacing() const { return m_minimumLineSpacing; }
    void setMinimumLineSpacing(double);
    double minimumInteritemSpacing() const { return m_minimumInteritemSpacing; }
    void setMinimumInteritemSpacing(double);
    Size headerReferenceSize() const { return m_headerReferenceSize; }
    void setHeaderReferenceSize(const Size&);
    Size footerReferenceSize() const { return m_footerReferenceSize; }
    void setFooterReferenceSize(const Size&);

    bool flipsHorizontallyInOppositeLayoutDirection() const override { return m_flips; }
    void setFlipsHorizontallyInOppositeLayoutDirection(bool);
    // nullopt: follow the collection view (and through it the Environment).
    std::optional<bool> rightToLeft() const { return m_rightToLeft; }
    void setRightToLeft(std::optional<bool>);
    bool isEffectivelyRightToLeft() const;

    void prepare() override;
    Size collectionViewContentSize() const override { return m_contentSize; }
    std::optional<CollectionViewLayoutAttributes> layoutAttributesForItem(const IndexPath&) const override;
    std::vector<CollectionViewLayoutAttributes> layoutAttributesForElementsInRect(const Rect&) const override;
    std::optional<Rect> frameForHeaderInSection(int section) const;

protected:
    CollectionViewFlowLayout() = default;

private:
    struct SectionFrames {
        std::optional<Rect> header;
        std::vector<Rect> items;
        std::optional<Rect> footer;
    };

    CollectionViewScrollDirection m_scrollDirection = CollectionViewScrollDirection::Vertical;
    Size m_itemSize { 50, 50 };
    Size m_estimatedItemSize;
    EdgeInsets m_sectionInset;
    double m_minimumLineSpacing = 10;
    double m_minimumInteritemSpacing = 10;
    Size m_headerReferenceSize;
    Size m_footerReferenceSize;
    bool m_flips = true;
    std::optional<bool> m_rightToLeft;

    std::vector<SectionFrames> m_sections;
    Size m_contentSize;
};

} // namespace ui
