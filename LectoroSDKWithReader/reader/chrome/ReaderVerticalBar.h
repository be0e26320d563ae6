#pragma once

// The vertical "more" bar: a clear container over the whole reader view (a tap on it
// closes the bar) holding a vertical PlayerActionBar whose delegate is the reader. Its bar
// tag is 12 while teacher review is active and 3 otherwise, so its taps are dispatched with
// the teacher bars or with the main bars. Its items come from PlayerActionVerticalBarFiller;
// its height is the item count times 50 points on a tablet and 45 elsewhere. It sits at the
// trailing edge, just above the bottom bar.

#include <memory>

namespace ui {
class View;
}

namespace lectoro {

class PlayerActionBar;
struct ReaderContext;

class ReaderVerticalBar {
public:
    explicit ReaderVerticalBar(ReaderContext&);

    // Removes a bar already shown, then builds and shows a new one.
    void addPlayerVerticalBarForTeacherView();
    // Removes the container (and the bar in it); nothing when none is shown.
    void removeVerticalBarViewForTeacherReview();
    // Removes only the bar from its superview.
    void removePlayerActionVerticalBar();

    const std::shared_ptr<ui::View>& viewForVerticalPlayerActionBar() const { return m_container; }
    const std::shared_ptr<PlayerActionBar>& playerActionVerticalBar() const { return m_bar; }

    static double itemExtent();

private:
    ReaderContext& m_context;
    std::shared_ptr<ui::View> m_container;
    std::shared_ptr<PlayerActionBar> m_bar;
    // The container's tap holds this weakly and does nothing once the owner is gone.
    std::shared_ptr<const int> m_alive = std::make_shared<const int>(0);
};

} // namespace lectoro
