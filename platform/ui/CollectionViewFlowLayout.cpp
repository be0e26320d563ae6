#include "platform/ui/CollectionViewFlowLayout.h"

#include "platform/ui/CollectionView.h"

#include <algorithm>

namespace ui {

namespace {

// Sizes add up in doubles; a row exactly as wide as the room must not wrap.
constexpr double fitTolerance = 1e-9;

Size nonNegative(const Size& size)
{
    return { std::max(0.0, size.width), std::max(0.0, size.height) };
}

} // namespace

std::shared_ptr<CollectionViewFlowLayout> CollectionViewFlowLayout::create()
{
    return std::shared_ptr<CollectionViewFlowLayout>(new CollectionViewFlowLayout());
}

void CollectionViewFlowLayout::setScrollDirection(CollectionViewScrollDirection direction)
{
    m_scrollDirection = direction;
    invalidateLayout();
}

void CollectionViewFlowLayout::setItemSize(const Size& size)
{
    m_itemSize = size;
    invalidateLayout();
}

void CollectionViewFlowLayout::setEstimatedItemSize(const Size& size)
{
    m_estimatedItemSize = size;
    invalidateLayout();
}

void CollectionViewFlowLayout::setSectionInset(const EdgeInsets& insets)
{
    m_sectionInset = insets;
    invalidateLayout();
}

void CollectionViewFlowLayout::setMinimumLineSpacing(double spacing)
{
    m_minimumLineSpacing = spacing;
    invalidateLayout();
}

void CollectionViewFlowLayout::setMinimumInteritemSpacing(double spacing)
{
    m_minimumInteritemSpacing = spacing;
    invalidateLayout();
}

void CollectionViewFlowLayout::setHeaderReferenceSize(const Size& size)
{
    m_headerReferenceSize = size;
    invalidateLayout();
}

void CollectionViewFlowLayout::setFooterReferenceSize(const Size& size)
{
    m_footerReferenceSize = size;
    invalidateLayout();
}

void CollectionViewFlowLayout::setFlipsHorizontallyInOppositeLayoutDirection(bool flips)
{
    m_flips = flips;
    invalidateLayout();
}

void CollectionViewFlowLayout::setRightToLeft(std::optional<bool> rightToLeft)
{
    m_rightToLeft = rightToLeft;
    invalidateLayout();
}

bool CollectionViewFlowLayout::isEffectivelyRightToLeft() const
{
    if (m_rightToLeft)
        return *m_rightToLeft;
    return collectionView() && collectionView()->isRightToLeft();
}

void CollectionViewFlowLayout::prepare()
{
    m_sections.clear();
    m_contentSize = {};
    CollectionView* view = collectionView();
    if (!view) {
        markValid();
        return;
    }
    auto flowDelegate = std::dynamic_pointer_cast<CollectionViewDelegateFlowLayout>(view->delegate());
    bool vertical = m_scrollDirection == CollectionViewScrollDirection::Vertical;
    EdgeInsets contentInsets = view->adjustedContentInset();
    Rect bounds = view->bounds();
    // The room across the scrolling direction.
    double across = vertical ? bounds.width() - contentInsets.left - contentInsets.right
                             : bounds.height() - contentInsets.top - contentInsets.bottom;
    across = std::max(0.0, across);

    // Positions are computed as (along, across) for the vertical case and swapped at the
    // end for the horizontal one.
    auto makeRect
        = [vertical](double alongStart, double acrossStart, double alongLength, double acrossLength) {
              return vertical ? Rect(acrossStart, alongStart, acrossLength, alongLength)
                              : Rect(alongStart, acrossStart, alongLength, acrossLength);
          };

    double along = 0;
    for (int section = 0; section < view->numberOfSections(); ++section) {
        SectionFrames frames;
        EdgeInsets inset = m_sectionInset;
        double lineSpacing = m_minimumLineSpacing;
        double interitemSpacing = m_minimumInteritemSpacing;
        Size header = m_headerReferenceSize;
        Size footer = m_footerReferenceSize;
        if (flowDelegate) {
            inset = flowDelegate->insetForSectionAtIndex(*view, *this, section).value_or(inset);
            lineSpacing = flowDelegate->minimumLineSpacingForSectionAtIndex(*view, *this, section)
                              .value_or(lineSpacing);
            interitemSpacing = flowDelegate->minimumInteritemSpacingForSectionAtIndex(*view, *this, section)
                                   .value_or(interitemSpacing);
            header = flowDelegate->referenceSizeForHeaderInSection(*view, *this, section).value_or(header);
            footer = flowDelegate->referenceSizeForFooterInSection(*view, *this, section).value_or(footer);
        }
        header = nonNegative(header);
        footer = nonNegative(footer);

        double headerLength = vertical ? header.height : header.width;
        if (headerLength > 0) {
            frames.header = makeRect(along, 0, headerLength, across);
            along += headerLength;
        }
        double insetBefore = vertical ? inset.top : inset.left;
        double insetAfter = vertical ? inset.bottom : inset.right;
        double acrossStart = vertical ? inset.left : inset.top;
        double acrossEnd = across - (vertical ? inset.right : inset.bottom);
        along += insetBefore;

        double position = acrossStart;
        double lineLength = 0;
        bool lineEmpty = true;
        int items = view->numberOfItemsInSection(section);
        frames.items.reserve(items);
        for (int item = 0; item < items; ++item) {
            Size size = m_estimatedItemSize.width > 0 && m_estimatedItemSize.height > 0 ? m_estimatedItemSize
                                                                                        : m_itemSize;
            if (flowDelegate) {
                if (auto asked = flowDelegate->sizeForItemAtIndexPath(*view, *this, { section, item }))
                    size = *asked;
            }
            size = nonNegative(size);
            double itemAcross = vertical ? size.width : size.height;
            double itemAlong = vertical ? size.height : size.width;
            if (!lineEmpty && position + itemAcross > acrossEnd + fitTolerance) {
                along += lineLength + lineSpacing;
                position = acrossStart;
                lineLength = 0;
            }
            frames.items.push_back(makeRect(along, position, itemAlong, itemAcross));
            position += itemAcross + interitemSpacing;
            lineLength = std::max(lineLength, itemAlong);
            lineEmpty = false;
        }
        along += lineLength + insetAfter;
        double footerLength = vertical ? footer.height : footer.width;
        if (footerLength > 0) {
            frames.footer = makeRect(along, 0, footerLength, across);
            along += footerLength;
        }
        m_sections.push_back(std::move(frames));
    }
    m_contentSize = vertical ? Size(across, along) : Size(along, across);

    if (m_flips && isEffectivelyRightToLeft()) {
        double width = m_contentSize.width;
        auto mirror = [width](Rect& rect) { rect.origin.x = width - rect.origin.x - rect.size.width; };
        for (auto& section : m_sections) {
            if (section.header)
                mirror(*section.header);
            for (auto& item : section.items)
                mirror(item);
            if (section.footer)
                mirror(*section.footer);
        }
    }
    markValid();
}

std::optional<CollectionViewLayoutAttributes> CollectionViewFlowLayout::layoutAttributesForItem(
    const IndexPath& indexPath) const
{
    if (indexPath.section < 0 || indexPath.section >= static_cast<int>(m_sections.size()))
        return std::nullopt;
    auto& items = m_sections[indexPath.section].items;
    if (indexPath.row < 0 || indexPath.row >= static_cast<int>(items.size()))
        return std::nullopt;
    return CollectionViewLayoutAttributes { indexPath, items[indexPath.row],
        CollectionViewLayoutAttributes::Category::Cell };
}

std::optional<Rect> CollectionViewFlowLayout::frameForHeaderInSection(int section) const
{
    if (section < 0 || section >= static_cast<int>(m_sections.size()))
        return std::nullopt;
    return m_sections[section].header;
}

std::vector<CollectionViewLayoutAttributes> CollectionViewFlowLayout::layoutAttributesForElementsInRect(
    const Rect& rect) const
{
    using Category = CollectionViewLayoutAttributes::Category;
    std::vector<CollectionViewLayoutAttributes> result;
    auto consider = [&rect, &result](const Rect& frame, const IndexPath& indexPath, Category category) {
        bool hit = frame.isEmpty() ? rect.contains(frame.origin) : rect.intersects(frame);
        if (hit)
            result.push_back({ indexPath, frame, category });
    };
    for (int section = 0; section < static_cast<int>(m_sections.size()); ++section) {
        auto& frames = m_sections[section];
        if (frames.header)
            consider(*frames.header, { section, 0 }, Category::Header);
        for (int item = 0; item < static_cast<int>(frames.items.size()); ++item)
            consider(frames.items[item], { section, item }, Category::Cell);
        if (frames.footer)
            consider(*frames.footer, { section, 0 }, Category::Footer);
    }
    return result;
}

} // namespace ui
