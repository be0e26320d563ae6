#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"

#include "platform/ui/Gesture.h"

#include <algorithm>

namespace lectoro {

std::shared_ptr<PlayerActionBar> PlayerActionBar::create(const ui::Rect& frame)
{
    return std::shared_ptr<PlayerActionBar>(new PlayerActionBar(frame));
}

PlayerActionBar::PlayerActionBar(const ui::Rect& frame)
    : ui::View(frame)
{
}

void PlayerActionBar::setPlayerActionBarAlignmentMode(int mode)
{
    m_alignmentMode = mode == PlayerActionBarAlignmentVertical ? PlayerActionBarAlignmentVertical
                                                               : PlayerActionBarAlignmentHorizontal;
    setNeedsLayout();
}

void PlayerActionBar::addActionBarItem(const std::shared_ptr<PlayerActionBarItem>& item, double itemsWidth,
    int itemAlignments, bool isTappable)
{
    if (!item)
        return;
    if (auto previous = item->bar()) {
        auto& list = previous->m_items;
        list.erase(std::remove(list.begin(), list.end(), item), list.end());
    }
    auto self = std::static_pointer_cast<PlayerActionBar>(shared_from_this());
    item->attach(self, itemsWidth, itemAlignments, isTappable);
    m_items.push_back(item);
    addSubview(item);

    bool hasTap = std::any_of(item->gestureRecognizers().begin(), item->gestureRecognizers().end(),
        [](const auto& recognizer) { return recognizer->name() == "PlayerActionBarItemTap"; });
    if (isTappable && !hasTap) {
        // The item owns its recogniser; neither holds the bar, so nothing keeps a bar alive.
        std::weak_ptr<PlayerActionBarItem> weakItem = item;
        auto tap = ui::TapGestureRecognizer::create([weakItem](ui::GestureRecognizer&) {
            auto strongItem = weakItem.lock();
            if (!strongItem)
                return;
            if (auto bar = strongItem->bar())
                bar->tapItem(*strongItem);
        });
        tap->setName("PlayerActionBarItemTap");
        item->addGestureRecognizer(tap);
    }
    setNeedsLayout();
}

std::vector<std::shared_ptr<PlayerActionBarItem>> PlayerActionBar::getTappableItems() const
{
    std::vector<std::shared_ptr<PlayerActionBarItem>> tappable;
    for (const auto& item : m_items) {
        if (item->isTappable())
            tappable.push_back(item);
    }
    return tappable;
}

std::shared_ptr<PlayerActionBarItem> PlayerActionBar::itemWithTag(int tag) const
{
    for (const auto& item : m_items) {
        if (item->tag() == tag)
            return item;
    }
    return nullptr;
}

std::shared_ptr<PlayerActionBarItem> PlayerActionBar::getSelectedItem() const
{
    auto selected = m_selected.lock();
    // An item moved to another bar is no longer this bar's selection.
    if (selected && selected->bar().get() != this)
        return nullptr;
    return selected;
}

void PlayerActionBar::select(PlayerActionBarItem* chosen)
{
    for (const auto& item : m_items)
        item->setSelected(item.get() == chosen);
    m_selected.reset();
    if (chosen) {
        for (const auto& item : m_items) {
            if (item.get() == chosen)
                m_selected = item;
        }
    }
}

void PlayerActionBar::resetPlayerActionBarSelection()
{
    // The delegate may drop its last reference to the bar while it is told.
    auto protect = shared_from_this();
    if (auto delegate = m_delegate.lock())
        delegate->willResetPlayerActionBar(*this);
    select(nullptr);
}

void PlayerActionBar::hideItemWithTag(int tag, bool isHidden)
{
    for (const auto& item : m_items) {
        if (item->tag() == tag)
            item->setHidden(isHidden);
    }
    setNeedsLayout();
}

void PlayerActionBar::enableItemWithTag(int tag, bool isEnabled)
{
    for (const auto& item : m_items) {
        if (item->tag() == tag)
            item->setEnabled(isEnabled);
    }
}

bool PlayerActionBar::tapItem(PlayerActionBarItem& item)
{
    if (item.bar().get() != this || !item.isTappable() || !item.isEnabled() || item.isHidden())
        return false;
    auto protectBar = shared_from_this();
    auto protectItem = item.shared_from_this();
    select(&item);
    if (auto delegate = m_delegate.lock())
        delegate->didSelectedPlayerActionBar(*this, item);
    return true;
}

bool PlayerActionBar::tapItemWithTag(int tag)
{
    for (const auto& item : m_items) {
        if (item->tag() == tag && item->isTappable())
            return tapItem(*item);
    }
    return false;
}

void PlayerActionBar::layoutSubviews()
{
    ui::View::layoutSubviews();
    const bool vertical = m_alignmentMode == PlayerActionBarAlignmentVertical;
    const ui::Rect area = bounds();
    const double length = vertical ? area.size.height : area.size.width;
    const double thickness = vertical ? area.size.width : area.size.height;

    std::vector<PlayerActionBarItem*> visible;
    size_t fillCount = 0;
    double fixedLength = 0;
    for (const auto& item : m_items) {
        if (item->isHidden())
            continue;
        visible.push_back(item.get());
        if (item->itemAlignment() == PlayerActionBarItemAlignmentFill)
            ++fillCount;
        else
            fixedLength += item->itemWidth();
    }
    const double fillLength = fillCount ? std::max(0.0, length - fixedLength) / static_cast<double>(fillCount) : 0;
    auto extent = [&](const PlayerActionBarItem* item) {
        return item->itemAlignment() == PlayerActionBarItemAlignmentFill ? fillLength : item->itemWidth();
    };
    auto place = [&](PlayerActionBarItem* item, double offset) {
        double size = extent(item);
        if (vertical)
            item->setFrame(ui::Rect { { 0, offset }, { thickness, size } });
        else
            item->setFrame(ui::Rect { { offset, 0 }, { size, thickness } });
    };

    if (vertical) {
        double offset = 0;
        for (auto* item : visible) {
            place(item, offset);
            offset += extent(item);
        }
        return;
    }

    // Leading and fill items run from the left edge in the order added; the trailing group
    // ends at the right edge; the centred group sits in the middle.
    double leading = 0;
    double trailingTotal = 0;
    double centreTotal = 0;
    for (auto* item : visible) {
        if (item->itemAlignment() == PlayerActionBarItemAlignmentTrailing)
            trailingTotal += extent(item);
        else if (item->itemAlignment() == PlayerActionBarItemAlignmentCentre)
            centreTotal += extent(item);
    }
    double trailing = length - trailingTotal;
    double centre = (length - centreTotal) / 2;
    for (auto* item : visible) {
        switch (item->itemAlignment()) {
        case PlayerActionBarItemAlignmentTrailing:
            place(item, trailing);
            trailing += extent(item);
            break;
        case PlayerActionBarItemAlignmentCentre:
            place(item, centre);
            centre += extent(item);
            break;
        default:
            place(item, leading);
            leading += extent(item);
            break;
        }
    }
}

} // namespace lectoro
