#pragma once

// View animations, run at once and recorded.
//
// The changes of an animation are applied immediately; what was asked (duration, delay,
// options, the view of a transition) is recorded in AnimationLog, and the completion runs
// with finished = true on the main run loop once its clock has advanced past
// delay + duration (a zero-length animation completes at the next runUntilIdle()).

#include "platform/ui/Bitmask.h"
#include "platform/ui/Layer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class View;

enum class AnimationOptions : uint32_t {
    None = 0,
    LayoutSubviews = 1 << 0,
    AllowUserInteraction = 1 << 1,
    BeginFromCurrentState = 1 << 2,
    Repeat = 1 << 3,
    Autoreverse = 1 << 4,
    OverrideInheritedDuration = 1 << 5,
    OverrideInheritedCurve = 1 << 6,
    AllowAnimatedContent = 1 << 7,
    ShowHideTransitionViews = 1 << 8,
    // Curves (ease-in-out is the default: no bit).
    CurveEaseIn = 1 << 16,
    CurveEaseOut = 2 << 16,
    CurveLinear = 3 << 16,
    // Transitions.
    TransitionFlipFromLeft = 1 << 20,
    TransitionFlipFromRight = 2 << 20,
    TransitionCurlUp = 3 << 20,
    TransitionCurlDown = 4 << 20,
    TransitionCrossDissolve = 5 << 20,
    TransitionFlipFromTop = 6 << 20,
    TransitionFlipFromBottom = 7 << 20,
};
UI_DEFINE_BITMASK_OPERATORS(AnimationOptions)

struct AnimationRecord {
    enum class Kind { View, Spring, Transition, Layer };

    Kind kind = Kind::View;
    double duration = 0;
    double delay = 0;
    AnimationOptions options = AnimationOptions::None;
    // Spring animations.
    double dampingRatio = 0;
    double initialVelocity = 0;
    // Transitions: the container view.
    std::weak_ptr<View> view;
    // Layer animations.
    std::weak_ptr<Layer> layer;
    std::string layerKey;
    LayerAnimation layerAnimation;
    // False inside performWithoutAnimation (the completion still runs, at once).
    bool animated = true;
    // Run-loop time when the animation was asked for.
    double startTime = 0;
};

class AnimationLog {
public:
    static AnimationLog& shared();

    const std::vector<AnimationRecord>& records() const { return m_records; }
    size_t count() const { return m_records.size(); }
    // The last record, or null.
    const AnimationRecord* last() const;
    void clear() { m_records.clear(); }

    void record(AnimationRecord);

    // Completions asked for that have not run yet.
    int pendingCompletions() const { return m_pendingCompletions; }

private:
    friend class View;
    friend struct AnimationScheduling;
    std::vector<AnimationRecord> m_records;
    int m_pendingCompletions = 0;
};

// A spring animation: recorded with its damping and velocity, otherwise as animate().
void animateWithSpring(double duration, double delay, double dampingRatio, double initialVelocity,
    AnimationOptions, const std::function<void()>& changes, std::function<void(bool finished)> completion = {});

} // namespace ui
