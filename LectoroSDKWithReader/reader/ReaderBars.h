#pragma once

// The reader's own horizontal bars: the top bar, the bottom bar and the pen-tool bar. The
// bar classes compose the items; this decides each bar's tag, delegate (the reader),
// configuration, book kind, place, size and look, keeps the layout constraints that pin
// them, and slides the top and bottom bars on and off screen.
//
// Both reader bars start off screen (top constant -80, bottom constant the bar height + 4)
// and are built again whenever the reader sets its bars up (book loaded, rotation). The
// reflowable page slider, when the reader has one, moves out and in with them.

#include "platform/ui/Constraint.h"

#include <functional>
#include <memory>

namespace lectoro {

class LXMVThemeVO;
class PlayerActionBar;
class PlayerActionBarItem;
class PlayerActionBottomBar;
class PlayerActionTopBar;
class ReflowablePageSlider;
struct ReaderContext;

class ReaderBars {
public:
    static constexpr double topHiddenConstant = -80;
    static constexpr double topShownConstant = -0.4;
    static constexpr double bottomShownConstant = 0.4;
    static constexpr double penToolShownConstant = 0.3;
    static constexpr double slideDuration = 0.5;
    static constexpr double penToolSlideDuration = 0.4;

    explicit ReaderBars(ReaderContext&);
    ~ReaderBars();
    ReaderBars(const ReaderBars&) = delete;
    ReaderBars& operator=(const ReaderBars&) = delete;

    // Sizes by device: a device that does not report an idiom counts as a phone.
    static double topBarHeight();
    static double bottomBarHeight();
    static double bottomHiddenConstant();
    static double penToolBarHeight();
    static double penToolHiddenConstant();
    // The reflowable slider's right margin (R is the reader view's right safe-area inset).
    static double verticalSliderHiddenMargin(double rightInset);
    static double verticalSliderShownMargin(double rightInset);

    // --- Building ---
    // Removes both bars, builds them again and moves them off screen without animation.
    void addPlayerActionBarForTopAndBottom();
    void addPlayerTopBarForIPhone();
    void initiatePlayerActionBottomBarView();
    void addPlayerBottomBarForIPhone();
    void addPenToolTopBarViewWithAnimation(bool animate);
    // Removes the bottom and the top bar from the view and drops both.
    void removePlayerBottomBar();
    // Shows, hides and enables items by book kind and device.
    void updatePlayerActionBarForSelectedBook();
    // The top bar's chapter item shows the current chapter name.
    void updateChapterNameForTopBar();

    // --- Showing and hiding ---
    // Animated: the views are hidden only once they are out, then the completion runs. Not
    // animated: only the two bars are hidden and no completion runs.
    void moveTopAndBottomOffScreenWithIsAnimate(bool animate, std::function<void()> completion = {});
    // Not animated: no completion runs.
    void moveTopAndBottomOnScreenWithIsAnimate(bool animate, std::function<void(bool finished)> completion = {});
    bool isPlayerActionBarHidden() const;

    // The first tappable item with the tag on the pen-tool bar, else on the teacher bottom
    // bar; null for none.
    std::shared_ptr<PlayerActionBarItem> getPenToolItemWithTag(int tag) const;

    // The reflowable page slider whose container and margin move with the bars (may be
    // null; held without ownership).
    void setReflowablePageSlider(ReflowablePageSlider* slider) { m_slider = slider; }

    std::shared_ptr<PlayerActionTopBar> playerTopActionBarView() const;
    std::shared_ptr<PlayerActionBottomBar> playerBottomActionBarView() const;
    std::shared_ptr<PlayerActionTopBar> penToolActionBarView() const;
    ui::ConstraintPtr topBarTopMarginConstraint() const { return m_topBarTopMarginConstraint.lock(); }
    const ui::ConstraintPtr& bottomBarBottomMarginConstraint() const { return m_bottomBarBottomMarginConstraint; }
    const ui::ConstraintPtr& bottomConstraintOfPenTool() const { return m_bottomConstraintOfPenTool; }

private:
    const LXMVThemeVO& theme() const;
    void applySliderMargin(bool shown);
    std::shared_ptr<ui::View> sliderContainer() const;

    ReaderContext& m_context;
    std::weak_ptr<ui::Constraint> m_topBarTopMarginConstraint;
    ui::ConstraintPtr m_bottomBarBottomMarginConstraint;
    ui::ConstraintPtr m_bottomConstraintOfPenTool;
    ReflowablePageSlider* m_slider = nullptr;
    // Animation completions hold this weakly and do nothing once the bars' owner is gone.
    std::shared_ptr<const int> m_alive = std::make_shared<const int>(0);
};

} // namespace lectoro
