#pragma once

// What a PlayerActionBar tells its delegate. Optional; the defaults do nothing, except
// that a tap reported through didSelectedPlayerActionBar reaches didTapOnPlayerActionBar
// when the delegate does not take it itself.

namespace lectoro {

class PlayerActionBar;
class PlayerActionBarItem;

class PlayerActionDelegate {
public:
    virtual ~PlayerActionDelegate() = default;

    // A tappable item was tapped; the bar has already made it its selected item.
    virtual void didSelectedPlayerActionBar(PlayerActionBar& bar, PlayerActionBarItem& item)
    {
        didTapOnPlayerActionBar(bar, item);
    }
    virtual void didTapOnPlayerActionBar(PlayerActionBar&, PlayerActionBarItem&) { }
    // The bar is about to clear its selection (resetPlayerActionBarSelection).
    virtual void willResetPlayerActionBar(PlayerActionBar&) { }
};

} // namespace lectoro
