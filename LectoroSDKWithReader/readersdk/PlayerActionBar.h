#pragma once

// The toolbar base of every bar of the reading screen: items are added with a width, an
// alignment group and a tappable flag; taps on tappable items select them and reach the
// delegate; the owner hides, enables and resets items by tag.
//
// Layout, by constraints the bar keeps between itself and its visible items (remade when
// an item is added, hidden or shown, or the mode changes). Horizontal (mode 0): the
// leading group from the left edge, the trailing group ending at the right edge, the
// centred group centred, each in the order its items were added; "fill" items share what
// the others leave of the bar's width evenly. Vertical (mode 1): items stacked from the
// top in the order added, each as tall as its width value (fill items share the height).
// Hidden items take no room. Across the bar an item fills it and is centred on it; an item
// that holds a size of its own across the bar (a swatch of a fixed height) keeps that size
// and stays centred, since filling the bar is only a strong wish, not a requirement.

#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionDelegate.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/View.h"

#include <memory>
#include <vector>

namespace lectoro {

enum PlayerActionBarAlignmentMode : int {
    PlayerActionBarAlignmentHorizontal = 0,
    PlayerActionBarAlignmentVertical = 1,
};

class PlayerActionBar : public ui::View {
public:
    static std::shared_ptr<PlayerActionBar> create(const ui::Rect& frame = {});

    std::string_view className() const override { return "PlayerActionBar"; }

    std::shared_ptr<PlayerActionDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<PlayerActionDelegate> delegate) { m_delegate = std::move(delegate); }

    int playerActionBarAlignmentMode() const { return m_alignmentMode; }
    void setPlayerActionBarAlignmentMode(int);

    // Appends the item (an item of another bar moves here). Alignments outside 0-3 count as
    // leading.
    void addActionBarItem(const std::shared_ptr<PlayerActionBarItem>&, double itemsWidth, int itemAlignments,
        bool isTappable);
    // Every item, in the order added.
    const std::vector<std::shared_ptr<PlayerActionBarItem>>& items() const { return m_items; }
    // The tappable items, in the order added.
    std::vector<std::shared_ptr<PlayerActionBarItem>> getTappableItems() const;
    // The first item with the tag, tappable or not; null when there is none.
    std::shared_ptr<PlayerActionBarItem> itemWithTag(int tag) const;

    std::shared_ptr<PlayerActionBarItem> getSelectedItem() const;
    // Makes the item (of this bar) the selected one without telling the delegate, as a
    // rebuilt bar restores its selection; null or another bar's item clears it.
    void setSelectedItem(PlayerActionBarItem* item) { select(item); }
    // Tells the delegate (willResetPlayerActionBar), then clears the selection.
    void resetPlayerActionBarSelection();

    // Every item with the tag.
    void hideItemWithTag(int tag, bool isHidden);
    void enableItemWithTag(int tag, bool isEnabled);

    // A tap on an item of this bar, as a finger would give it: ignored for an item that is
    // not tappable, disabled or hidden (or not on this bar); otherwise the item becomes the
    // selected one and the delegate hears didSelectedPlayerActionBar. Answers whether the
    // tap was taken.
    bool tapItem(PlayerActionBarItem&);
    // The same for the first tappable item with the tag.
    bool tapItemWithTag(int tag);

    void updateConstraints() override;
    void subviewVisibilityDidChange(ui::View*) override;

protected:
    explicit PlayerActionBar(const ui::Rect& frame);

private:
    void select(PlayerActionBarItem*);
    void rearrange();

    std::vector<std::shared_ptr<PlayerActionBarItem>> m_items;
    std::weak_ptr<PlayerActionBarItem> m_selected;
    std::weak_ptr<PlayerActionDelegate> m_delegate;
    std::vector<ui::ConstraintPtr> m_arrangement;
    int m_alignmentMode = PlayerActionBarAlignmentHorizontal;
};

} // namespace lectoro
