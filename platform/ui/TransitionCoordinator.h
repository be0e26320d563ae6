#pragma once

// Size transitions (rotation, window resize) and the fixed length of every controller
// transition.
//
// A coordinator is handed to ViewController::viewWillTransitionToSize(); controllers add
// steps with animateAlongside(). The driver (performSizeTransition(), or a test through
// uitest::transitionToSize) then resizes the controller's view, runs every alongside step
// at once, and runs the completion steps on the main run loop once it has advanced past
// the transition's duration (a transition without animation completes at the next
// runUntilIdle()).

#include "platform/ui/Geometry.h"

#include <functional>
#include <memory>
#include <vector>

namespace ui {

class ViewController;

// Presentations, dismissals, pushes, pops and size transitions all last this long when
// animated.
inline constexpr double transitionDuration = 0.3;

struct TransitionCoordinatorContext {
    Size targetSize;
    double transitionDuration = ui::transitionDuration;
    bool animated = true;
    bool cancelled = false;
};

class TransitionCoordinator : public std::enable_shared_from_this<TransitionCoordinator> {
public:
    using Step = std::function<void(const TransitionCoordinatorContext&)>;

    static std::shared_ptr<TransitionCoordinator> create(const Size& targetSize, bool animated = true);

    const TransitionCoordinatorContext& context() const { return m_context; }
    Size targetSize() const { return m_context.targetSize; }
    double duration() const { return m_context.transitionDuration; }
    bool isAnimated() const { return m_context.animated; }

    // Either step may be empty. Answers true: the steps are always taken.
    bool animateAlongside(Step alongside, Step completion = {});
    size_t stepCount() const { return m_steps.size(); }

    // Driver side. Each runs its steps once, in the order they were added; steps added
    // while running are run too.
    void runAlongsideSteps();
    void runCompletionSteps();
    // Posts runCompletionSteps() after the duration (animated) or at the next idle run;
    // the posted task keeps the coordinator alive.
    void scheduleCompletion();
    bool isComplete() const { return m_completed; }

private:
    TransitionCoordinator(const Size& targetSize, bool animated);

    struct StepPair {
        Step alongside;
        Step completion;
    };
    TransitionCoordinatorContext m_context;
    std::vector<StepPair> m_steps;
    size_t m_alongsideRun = 0;
    bool m_completed = false;
};

// Tells the controller (and through it its children and presented controller) that its
// view is about to take the new size, resizes its view (when loaded), runs the alongside
// steps, lays the view out, and schedules the completion steps. Answers the coordinator.
std::shared_ptr<TransitionCoordinator> performSizeTransition(
    const std::shared_ptr<ViewController>&, const Size&, bool animated = true);

} // namespace ui
