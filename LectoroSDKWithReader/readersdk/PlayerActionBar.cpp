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
    rearrange();
}

void PlayerActionBar::addActionBarItem(const std::shared_ptr<PlayerActionBarItem>& item, double itemsWidth,
    int itemAlignments, bool isTappable)
{
    if (!item)
        return;
    if (auto previous = item->bar()) {
        auto& list = previous->m_items;
        list.erase(std::remove(list.begin(), list.end(), item), list.end());
        previous->rearrange();
    }
    auto self = std::static_pointer_cast<PlayerActionBar>(shared_from_this());
    item->attach(self, itemsWidth, itemAlignments, isTappable);
    m_items.push_back(item);
    addSubview(item);
    rearrange();

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
    rearrange();
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

void PlayerActionBar::rearrange()
{
    setNeedsUpdateConstraints();
    setNeedsLayout();
}

void PlayerActionBar::subviewVisibilityDidChange(ui::View* subview)
{
    ui::View::subviewVisibilityDidChange(subview);
    if (std::any_of(m_items.begin(), m_items.end(), [&](const auto& item) { return item.get() == subview; }))
        rearrange();
}

void PlayerActionBar::updateConstraints()
{
    ui::Constraint::deactivate(m_arrangement);
    m_arrangement.clear();
    std::vector<PlayerActionBarItem*> visible;
    size_t fillCount = 0;
    double fixedLength = 0;
    for (const auto& item : m_items) {
        if (item->superview().get() != this)
            continue;
        item->setTranslatesAutoresizingMaskIntoConstraints(false);
        if (item->isHidden())
            continue;
        visible.push_back(item.get());
        if (item->itemAlignment() == PlayerActionBarItemAlignmentFill)
            ++fillCount;
        else
            fixedLength += item->itemWidth();
    }
    ui::View::updateConstraints();
    if (visible.empty())
        return;

    const bool vertical = m_alignmentMode == PlayerActionBarAlignmentVertical;
    auto start = [&](const ui::LayoutItem& item) { return vertical ? item.topAnchor() : item.leftAnchor(); };
    auto end = [&](const ui::LayoutItem& item) { return vertical ? item.bottomAnchor() : item.rightAnchor(); };
    auto length = [&](const ui::LayoutItem& item) { return vertical ? item.heightAnchor() : item.widthAnchor(); };
    auto middle = [&](const ui::LayoutItem& item) { return vertical ? item.centerYAnchor() : item.centerXAnchor(); };
    auto across = [&](const ui::LayoutItem& item) { return vertical ? item.widthAnchor() : item.heightAnchor(); };
    auto acrossMiddle = [&](const ui::LayoutItem& item) { return vertical ? item.centerXAnchor() : item.centerYAnchor(); };
    auto add = [&](ui::ConstraintPtr constraint, float priority = ui::LayoutPriority::required) {
        constraint->setPriority(priority);
        m_arrangement.push_back(std::move(constraint));
    };

    // Fill items share what the fixed items leave; a bar too short for its fixed items
    // gives them nothing rather than a negative length.
    const double share = fillCount ? 1.0 / static_cast<double>(fillCount) : 0.0;
    for (auto* item : visible) {
        if (item->itemAlignment() == PlayerActionBarItemAlignmentFill) {
            add(length(*item).constraintEqualTo(length(*this), share, -fixedLength * share),
                ui::LayoutPriority::required - 2);
            add(length(*item).constraintGreaterThanOrEqualToConstant(0));
        } else {
            // Widths are worked out from the screen when the bar is built; until a turn has
            // rebuilt it, a bar narrower than its items squeezes them instead of failing.
            add(length(*item).constraintEqualToConstant(item->itemWidth()), ui::LayoutPriority::required - 1);
        }
        add(acrossMiddle(*item).constraintEqualTo(acrossMiddle(*this)));
        add(across(*item).constraintEqualTo(across(*this)), ui::LayoutPriority::defaultHigh);
    }

    // Each group is a chain in the order its items were added.
    auto chain = [&](const std::vector<PlayerActionBarItem*>& group) {
        for (size_t index = 1; index < group.size(); ++index)
            add(start(*group[index]).constraintEqualTo(end(*group[index - 1])));
    };
    if (vertical) {
        add(start(*visible.front()).constraintEqualTo(start(*this)));
        chain(visible);
    } else {
        std::vector<PlayerActionBarItem*> leading, trailing, centred;
        double centredLength = 0;
        for (auto* item : visible) {
            switch (item->itemAlignment()) {
            case PlayerActionBarItemAlignmentTrailing:
                trailing.push_back(item);
                break;
            case PlayerActionBarItemAlignmentCentre:
                centred.push_back(item);
                centredLength += item->itemWidth();
                break;
            default:
                leading.push_back(item);
                break;
            }
        }
        if (!leading.empty())
            add(start(*leading.front()).constraintEqualTo(start(*this)));
        if (!trailing.empty())
            add(end(*trailing.back()).constraintEqualTo(end(*this)));
        if (!centred.empty())
            add(start(*centred.front()).constraintEqualTo(middle(*this), -centredLength / 2));
        chain(leading);
        chain(trailing);
        chain(centred);
    }
    ui::Constraint::activate(m_arrangement);
}

} // namespace lectoro
