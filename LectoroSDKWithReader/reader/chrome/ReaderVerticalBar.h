#pragma once

// The vertical "more" bar: a clear container over the whole reader view (a tap on it
// closes the bar) holding a vertical PlayerActionBar whose delegate is the reader. Its bar
// tag is 12 while teacher review is active and 3 otherwise, so its taps are dispatched with
// the teacher bars or with the main bars. Its items come from PlayerActionVerticalBarFiller;
// its height is the item count times 50 points on a tablet and 45 elsewhere. It keeps to the
// trailing edge: 45 in and 60 wide on a tablet, 15 in and 50 wide elsewhere; a tablet in
// teacher review hangs it 5 below the top, other tablets stand it 12 above the bottom,
// phones 7 above the bottom. In teacher review it is outlined, otherwise shadowed.

#include <memory>

namespace ui {
class Constraint;
class View;
} // namespace ui

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

    // Where the bar sits in its container: trailing offset, width, and the top (pinTop)
    // or bottom edge's offset.
    struct Placement {
        double trailing;
        double width;
        bool pinTop;
        double vertical;
    };
    static Placement placement(bool pad, bool teacherReview);
    const std::shared_ptr<ui::Constraint>& heightConstraint() const { return m_heightConstraint; }

private:
    ReaderContext& m_context;
    std::shared_ptr<ui::View> m_container;
    std::shared_ptr<PlayerActionBar> m_bar;
    std::shared_ptr<ui::Constraint> m_heightConstraint;
    // The container's tap holds this weakly and does nothing once the owner is gone.
    std::shared_ptr<const int> m_alive = std::make_shared<const int>(0);
};

} // namespace lectoro
