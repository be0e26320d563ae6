#include "platform/ui/TransitionCoordinator.h"

#include "platform/base/RunLoop.h"
#include "platform/base/Thread.h"
#include "platform/ui/ViewController.h"

namespace ui {

std::shared_ptr<TransitionCoordinator> TransitionCoordinator::create(const Size& targetSize, bool animated)
{
    return std::shared_ptr<TransitionCoordinator>(new TransitionCoordinator(targetSize, animated));
}

TransitionCoordinator::TransitionCoordinator(const Size& targetSize, bool animated)
{
    m_context.targetSize = targetSize;
    m_context.animated = animated;
    m_context.transitionDuration = animated ? transitionDuration : 0;
}

bool TransitionCoordinator::animateAlongside(Step alongside, Step completion)
{
    m_steps.push_back({ std::move(alongside), std::move(completion) });
    return true;
}

void TransitionCoordinator::runAlongsideSteps()
{
    // Index loop: a step may add further steps.
    for (; m_alongsideRun < m_steps.size(); ++m_alongsideRun) {
        auto step = m_steps[m_alongsideRun].alongside;
        if (step)
            step(m_context);
    }
}

void TransitionCoordinator::runCompletionSteps()
{
    if (m_completed)
        return;
    m_completed = true;
    for (size_t index = 0; index < m_steps.size(); ++index) {
        auto step = m_steps[index].completion;
        if (step)
            step(m_context);
    }
}

void TransitionCoordinator::scheduleCompletion()
{
    auto self = shared_from_this();
    auto task = [self] { self->runCompletionSteps(); };
    if (m_context.animated)
        base::RunLoop::main().postDelayed(m_context.transitionDuration, task);
    else
        base::RunLoop::main().post(task);
}

std::shared_ptr<TransitionCoordinator> performSizeTransition(
    const std::shared_ptr<ViewController>& controller, const Size& size, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    auto coordinator = TransitionCoordinator::create(size, animated);
    if (!controller)
        return coordinator;
    controller->viewWillTransitionToSize(size, *coordinator);
    if (auto view = controller->viewIfLoaded()) {
        Rect frame = view->frame();
        frame.size = size;
        view->setFrame(frame);
    }
    coordinator->runAlongsideSteps();
    if (auto view = controller->viewIfLoaded())
        view->layoutIfNeeded();
    coordinator->scheduleCompletion();
    return coordinator;
}

} // namespace ui
