#include "platform/ui/Animation.h"

#include "platform/base/RunLoop.h"
#include "platform/base/Thread.h"
#include "platform/ui/View.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

int& animationsDisabledDepth()
{
    static int depth = 0;
    return depth;
}

double sanitizedSeconds(double seconds)
{
    return std::isfinite(seconds) && seconds > 0 ? seconds : 0;
}

} // namespace

struct AnimationScheduling {
    // Records the animation, applies the changes and schedules the completion.
    static void run(AnimationRecord record, const std::function<void()>& changes,
        std::function<void(bool)> completion)
    {
        BASE_ASSERT_MAIN_THREAD();
        auto& loop = base::RunLoop::main();
        record.duration = sanitizedSeconds(record.duration);
        record.delay = sanitizedSeconds(record.delay);
        record.animated = View::areAnimationsEnabled();
        record.startTime = loop.now();
        double due = record.animated ? record.delay + record.duration : 0;
        AnimationLog::shared().record(std::move(record));
        if (changes)
            changes();
        if (!completion)
            return;
        // Counted while the task exists, so a dropped task (a reset run loop) uncounts too.
        struct Pending {
            Pending() { ++AnimationLog::shared().m_pendingCompletions; }
            ~Pending() { --AnimationLog::shared().m_pendingCompletions; }
        };
        auto pending = std::make_shared<Pending>();
        loop.postDelayed(due, [completion = std::move(completion), pending]() mutable {
            pending.reset();
            completion(true);
        });
    }
};

AnimationLog& AnimationLog::shared()
{
    static AnimationLog log;
    return log;
}

const AnimationRecord* AnimationLog::last() const
{
    return m_records.empty() ? nullptr : &m_records.back();
}

void AnimationLog::record(AnimationRecord record)
{
    m_records.push_back(std::move(record));
}

void View::animate(double duration, double delay, AnimationOptions options, const std::function<void()>& changes,
    std::function<void(bool finished)> completion)
{
    AnimationRecord record;
    record.kind = AnimationRecord::Kind::View;
    record.duration = duration;
    record.delay = delay;
    record.options = options;
    AnimationScheduling::run(std::move(record), changes, std::move(completion));
}

void View::animate(double duration, const std::function<void()>& changes, std::function<void(bool finished)> completion)
{
    animate(duration, 0, AnimationOptions::None, changes, std::move(completion));
}

void View::transition(const std::shared_ptr<View>& view, double duration, AnimationOptions options,
    const std::function<void()>& changes, std::function<void(bool finished)> completion)
{
    AnimationRecord record;
    record.kind = AnimationRecord::Kind::Transition;
    record.duration = duration;
    record.options = options;
    record.view = view;
    AnimationScheduling::run(std::move(record), changes, std::move(completion));
}

void View::performWithoutAnimation(const std::function<void()>& changes)
{
    ++animationsDisabledDepth();
    struct Restore {
        ~Restore() { --animationsDisabledDepth(); }
    } restore;
    if (changes)
        changes();
}

bool View::areAnimationsEnabled()
{
    return animationsDisabledDepth() == 0;
}

void animateWithSpring(double duration, double delay, double dampingRatio, double initialVelocity,
    AnimationOptions options, const std::function<void()>& changes, std::function<void(bool finished)> completion)
{
    AnimationRecord record;
    record.kind = AnimationRecord::Kind::Spring;
    record.duration = duration;
    record.delay = delay;
    record.options = options;
    record.dampingRatio = dampingRatio;
    record.initialVelocity = initialVelocity;
    AnimationScheduling::run(std::move(record), changes, std::move(completion));
}

} // namespace ui
