#include "platform/ui/Gesture.h"

#include "platform/base/Thread.h"
#include "platform/ui/View.h"

#include <algorithm>

namespace ui {

GestureRecognizer::~GestureRecognizer() = default;

void GestureRecognizer::attachTo(View* view)
{
    m_viewRaw = view;
    if (view)
        m_view = view->weak_from_this();
    else
        m_view.reset();
}

void GestureRecognizer::setEnabled(bool enabled)
{
    BASE_ASSERT_MAIN_THREAD();
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (!enabled && (m_state == GestureState::Began || m_state == GestureState::Changed)) {
        auto self = shared_from_this();
        m_state = GestureState::Cancelled;
        fireTargets();
    }
}

GestureRecognizer::TargetId GestureRecognizer::addTarget(Action action)
{
    BASE_ASSERT_MAIN_THREAD();
    TargetId id = m_nextTargetId++;
    if (action)
        m_targets.push_back({ id, std::move(action) });
    return id;
}

void GestureRecognizer::removeTarget(TargetId id)
{
    BASE_ASSERT_MAIN_THREAD();
    m_targets.erase(std::remove_if(m_targets.begin(), m_targets.end(), [&](const Target& t) { return t.id == id; }),
        m_targets.end());
}

void GestureRecognizer::requireToFail(const std::shared_ptr<GestureRecognizer>& other)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!other || other.get() == this)
        return;
    m_requiredToFail.push_back(other);
}

std::vector<std::shared_ptr<GestureRecognizer>> GestureRecognizer::failureRequirements() const
{
    std::vector<std::shared_ptr<GestureRecognizer>> alive;
    for (const auto& weak : m_requiredToFail) {
        if (auto other = weak.lock())
            alive.push_back(std::move(other));
    }
    return alive;
}

bool GestureRecognizer::failureRequirementsAllow() const
{
    for (const auto& other : failureRequirements()) {
        GestureState state = other->state();
        if (state == GestureState::Began || state == GestureState::Changed || state == GestureState::Ended)
            return false;
    }
    return true;
}

Point GestureRecognizer::locationInView(const View* target) const
{
    auto view = m_view.lock();
    if (!view)
        return m_location;
    return view->convertPointTo(m_location, target);
}

void GestureRecognizer::fireTargets()
{
    // Targets may remove themselves or others; run a snapshot.
    auto targets = m_targets;
    for (auto& target : targets)
        target.action(*this);
}

void GestureRecognizer::reset()
{
    m_state = GestureState::Possible;
}

bool GestureRecognizer::simulate(GestureState state, const Point& location, size_t numberOfTouches)
{
    BASE_ASSERT_MAIN_THREAD();
    auto view = m_view.lock();
    if (!view || !m_enabled)
        return false;
    auto self = shared_from_this();
    if (m_state == GestureState::Ended || m_state == GestureState::Cancelled || m_state == GestureState::Failed)
        m_state = GestureState::Possible;

    if (m_state == GestureState::Possible) {
        if (state == GestureState::Failed) {
            m_state = GestureState::Failed;
            return true;
        }
        bool starts = state == GestureState::Began || (!isContinuous() && (state == GestureState::Changed || state == GestureState::Ended));
        if (!starts)
            return false;
        if (!view->bounds().contains(location))
            return false;
        if (!canRecognize(numberOfTouches)) {
            m_state = GestureState::Failed;
            return false;
        }
        auto delegate = m_delegate.lock();
        if (delegate) {
            auto touched = view->hitTest(location);
            if (!delegate->shouldReceiveTouch(*this, touched ? touched.get() : view.get()))
                return false;
        }
        if (!failureRequirementsAllow()) {
            m_state = GestureState::Failed;
            return false;
        }
        if (delegate && !delegate->shouldBegin(*this)) {
            m_state = GestureState::Failed;
            return false;
        }
        m_location = location;
        m_numberOfTouches = numberOfTouches;
        m_state = isContinuous() ? GestureState::Began : GestureState::Ended;
        fireTargets();
        return true;
    }

    // A continuous gesture in progress.
    if (state != GestureState::Changed && state != GestureState::Ended && state != GestureState::Cancelled
        && state != GestureState::Failed)
        return false;
    m_location = location;
    m_numberOfTouches = numberOfTouches;
    m_state = state;
    if (state != GestureState::Failed)
        fireTargets();
    return true;
}

// Tap

std::shared_ptr<TapGestureRecognizer> TapGestureRecognizer::create(Action action)
{
    std::shared_ptr<TapGestureRecognizer> recognizer(new TapGestureRecognizer());
    recognizer->addTarget(std::move(action));
    return recognizer;
}

bool TapGestureRecognizer::canRecognize(size_t numberOfTouches) const
{
    return static_cast<int>(numberOfTouches) == m_touches;
}

// Long press

std::shared_ptr<LongPressGestureRecognizer> LongPressGestureRecognizer::create(Action action)
{
    std::shared_ptr<LongPressGestureRecognizer> recognizer(new LongPressGestureRecognizer());
    recognizer->addTarget(std::move(action));
    return recognizer;
}

bool LongPressGestureRecognizer::canRecognize(size_t numberOfTouches) const
{
    return static_cast<int>(numberOfTouches) == m_touches;
}

// Swipe

std::shared_ptr<SwipeGestureRecognizer> SwipeGestureRecognizer::create(Action action)
{
    std::shared_ptr<SwipeGestureRecognizer> recognizer(new SwipeGestureRecognizer());
    recognizer->addTarget(std::move(action));
    return recognizer;
}

bool SwipeGestureRecognizer::canRecognize(size_t numberOfTouches) const
{
    return static_cast<int>(numberOfTouches) == m_touches;
}

bool SwipeGestureRecognizer::simulateSwipe(SwipeDirection direction, const Point& location)
{
    if ((m_direction & static_cast<uint32_t>(direction)) == 0) {
        if (view() && isEnabled())
            simulate(GestureState::Failed, location);
        return false;
    }
    return simulate(GestureState::Ended, location);
}

// Pan

std::shared_ptr<PanGestureRecognizer> PanGestureRecognizer::create(Action action)
{
    std::shared_ptr<PanGestureRecognizer> recognizer(new PanGestureRecognizer());
    recognizer->addTarget(std::move(action));
    return recognizer;
}

bool PanGestureRecognizer::canRecognize(size_t numberOfTouches) const
{
    return numberOfTouches >= m_minimumTouches && numberOfTouches <= m_maximumTouches;
}

bool PanGestureRecognizer::simulatePan(GestureState state, const Point& location, const Point& translation,
    const Point& velocity)
{
    Point oldTranslation = m_translation;
    Point oldVelocity = m_velocity;
    m_translation = translation;
    m_velocity = velocity;
    if (!simulate(state, location)) {
        m_translation = oldTranslation;
        m_velocity = oldVelocity;
        return false;
    }
    return true;
}

// Pinch

std::shared_ptr<PinchGestureRecognizer> PinchGestureRecognizer::create(Action action)
{
    std::shared_ptr<PinchGestureRecognizer> recognizer(new PinchGestureRecognizer());
    recognizer->addTarget(std::move(action));
    return recognizer;
}

bool PinchGestureRecognizer::simulatePinch(GestureState state, const Point& location, double scale, double velocity)
{
    double oldScale = m_scale;
    double oldVelocity = m_velocity;
    m_scale = scale;
    m_velocity = velocity;
    if (!simulate(state, location, 2)) {
        m_scale = oldScale;
        m_velocity = oldVelocity;
        return false;
    }
    return true;
}

} // namespace ui
