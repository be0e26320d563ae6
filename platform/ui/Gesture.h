#pragma once

// Gesture recognisers as data, driven by tests through simulate().
//
// A recogniser belongs to one view (held weakly; the view owns the recogniser). simulate()
// plays one state change as the platform would deliver it: on the first change of a
// gesture the delegate is asked (shouldReceiveTouch, shouldBegin), the recognisers this one
// must wait for are checked, and the targets run when the state is one they hear about.

#include "platform/base/Thread.h"
#include "platform/ui/Geometry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class View;
class GestureRecognizer;

enum class GestureState { Possible, Began, Changed, Ended, Cancelled, Failed, Recognized = Ended };

// Optional callbacks; the defaults do what "not implemented" means (allow, receive, and
// do not recognise simultaneously).
class GestureRecognizerDelegate {
public:
    virtual ~GestureRecognizerDelegate() = default;
    virtual bool shouldBegin(GestureRecognizer&) { return true; }
    virtual bool shouldReceiveTouch(GestureRecognizer&, View* /*touchedView*/) { return true; }
    virtual bool shouldRecognizeSimultaneously(GestureRecognizer&, GestureRecognizer& /*other*/) { return false; }
};

class GestureRecognizer : public std::enable_shared_from_this<GestureRecognizer> {
public:
    using Action = std::function<void(GestureRecognizer&)>;
    using TargetId = uint64_t;

    virtual ~GestureRecognizer();
    GestureRecognizer(const GestureRecognizer&) = delete;
    GestureRecognizer& operator=(const GestureRecognizer&) = delete;

    virtual const char* className() const { return "GestureRecognizer"; }
    // Discrete gestures (tap, swipe) go straight to Ended (recognised); continuous ones
    // (pan, pinch, long press) go Began, Changed…, Ended.
    virtual bool isContinuous() const { return false; }

    GestureState state() const { return m_state; }
    bool isEnabled() const { return m_enabled; }
    // Disabling a gesture in progress cancels it.
    void setEnabled(bool);
    bool cancelsTouchesInView() const { return m_cancelsTouchesInView; }
    void setCancelsTouchesInView(bool value) { BASE_ASSERT_MAIN_THREAD(); m_cancelsTouchesInView = value; }
    bool delaysTouchesBegan() const { return m_delaysTouchesBegan; }
    void setDelaysTouchesBegan(bool value) { BASE_ASSERT_MAIN_THREAD(); m_delaysTouchesBegan = value; }
    bool delaysTouchesEnded() const { return m_delaysTouchesEnded; }
    void setDelaysTouchesEnded(bool value) { BASE_ASSERT_MAIN_THREAD(); m_delaysTouchesEnded = value; }
    const std::string& name() const { return m_name; }
    void setName(std::string name) { BASE_ASSERT_MAIN_THREAD(); m_name = std::move(name); }

    std::shared_ptr<View> view() const { return m_view.lock(); }

    TargetId addTarget(Action);
    void removeTarget(TargetId);
    size_t targetCount() const { return m_targets.size(); }

    void setDelegate(std::weak_ptr<GestureRecognizerDelegate> delegate)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_delegate = std::move(delegate);
    }
    std::shared_ptr<GestureRecognizerDelegate> delegate() const { return m_delegate.lock(); }

    // This recogniser only recognises once `other` has failed: while `other` has
    // recognised (began, changed or ended), simulate() fails this one.
    void requireToFail(const std::shared_ptr<GestureRecognizer>& other);
    std::vector<std::shared_ptr<GestureRecognizer>> failureRequirements() const;

    // Where the gesture is, in the given view's coordinates (null: the window's).
    Point locationInView(const View*) const;
    size_t numberOfTouches() const { return m_numberOfTouches; }

    // Plays one state change at a location in the recogniser's view. A gesture that ended,
    // was cancelled or failed starts again from Possible. Answers whether the state was
    // taken (false: no view, disabled, refused by the delegate or a failure requirement,
    // the location is outside the view, or the change makes no sense, as Changed
    // before Began). For discrete gestures any of Began/Changed/Ended means "recognised".
    bool simulate(GestureState, const Point& locationInView, size_t numberOfTouches = 1);
    // Resets to Possible without telling targets.
    void reset();

protected:
    GestureRecognizer() = default;
    // Hook for subclasses to check their own conditions before recognising.
    virtual bool canRecognize(size_t /*numberOfTouches*/) const { return true; }

private:
    friend class View;
    void attachTo(View*);
    void fireTargets();
    bool failureRequirementsAllow() const;

    GestureState m_state = GestureState::Possible;
    bool m_enabled = true;
    bool m_cancelsTouchesInView = true;
    bool m_delaysTouchesBegan = false;
    bool m_delaysTouchesEnded = true;
    std::string m_name;
    std::weak_ptr<View> m_view;
    View* m_viewRaw = nullptr;
    struct Target {
        TargetId id;
        Action action;
    };
    std::vector<Target> m_targets;
    TargetId m_nextTargetId = 1;
    std::weak_ptr<GestureRecognizerDelegate> m_delegate;
    std::vector<std::weak_ptr<GestureRecognizer>> m_requiredToFail;
    Point m_location;
    size_t m_numberOfTouches = 0;
};

class TapGestureRecognizer : public GestureRecognizer {
public:
    static std::shared_ptr<TapGestureRecognizer> create(Action = {});
    const char* className() const override { return "TapGestureRecognizer"; }

    int numberOfTapsRequired() const { return m_taps; }
    void setNumberOfTapsRequired(int taps) { BASE_ASSERT_MAIN_THREAD(); m_taps = taps; }
    int numberOfTouchesRequired() const { return m_touches; }
    void setNumberOfTouchesRequired(int touches) { BASE_ASSERT_MAIN_THREAD(); m_touches = touches; }

protected:
    TapGestureRecognizer() = default;
    bool canRecognize(size_t numberOfTouches) const override;

private:
    int m_taps = 1;
    int m_touches = 1;
};

class LongPressGestureRecognizer : public GestureRecognizer {
public:
    static std::shared_ptr<LongPressGestureRecognizer> create(Action = {});
    const char* className() const override { return "LongPressGestureRecognizer"; }
    bool isContinuous() const override { return true; }

    double minimumPressDuration() const { return m_minimumPressDuration; }
    void setMinimumPressDuration(double seconds)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_minimumPressDuration = seconds;
    }
    int numberOfTouchesRequired() const { return m_touches; }
    void setNumberOfTouchesRequired(int touches) { BASE_ASSERT_MAIN_THREAD(); m_touches = touches; }
    double allowableMovement() const { return m_allowableMovement; }
    void setAllowableMovement(double points) { BASE_ASSERT_MAIN_THREAD(); m_allowableMovement = points; }

protected:
    LongPressGestureRecognizer() = default;
    bool canRecognize(size_t numberOfTouches) const override;

private:
    double m_minimumPressDuration = 0.5;
    int m_touches = 1;
    double m_allowableMovement = 10;
};

enum class SwipeDirection : uint32_t { Right = 1, Left = 2, Up = 4, Down = 8 };

class SwipeGestureRecognizer : public GestureRecognizer {
public:
    static std::shared_ptr<SwipeGestureRecognizer> create(Action = {});
    const char* className() const override { return "SwipeGestureRecognizer"; }

    // A bitmask of SwipeDirection values; right until set.
    uint32_t direction() const { return m_direction; }
    void setDirection(uint32_t direction) { BASE_ASSERT_MAIN_THREAD(); m_direction = direction; }
    void setDirection(SwipeDirection direction)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_direction = static_cast<uint32_t>(direction);
    }
    int numberOfTouchesRequired() const { return m_touches; }
    void setNumberOfTouchesRequired(int touches) { BASE_ASSERT_MAIN_THREAD(); m_touches = touches; }

    // A swipe in one direction: recognised only when that direction is in the mask.
    bool simulateSwipe(SwipeDirection, const Point& locationInView);

protected:
    SwipeGestureRecognizer() = default;
    bool canRecognize(size_t numberOfTouches) const override;

private:
    uint32_t m_direction = static_cast<uint32_t>(SwipeDirection::Right);
    int m_touches = 1;
};

class PanGestureRecognizer : public GestureRecognizer {
public:
    static std::shared_ptr<PanGestureRecognizer> create(Action = {});
    const char* className() const override { return "PanGestureRecognizer"; }
    bool isContinuous() const override { return true; }

    // In the recogniser's view's coordinates (the platform converts for other views; here
    // the given view only matters through its transform, which is ignored).
    Point translationInView(const View*) const { return m_translation; }
    void setTranslation(const Point& translation, const View* = nullptr)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_translation = translation;
    }
    Point velocityInView(const View*) const { return m_velocity; }
    void setVelocity(const Point& velocity) { BASE_ASSERT_MAIN_THREAD(); m_velocity = velocity; }
    size_t minimumNumberOfTouches() const { return m_minimumTouches; }
    void setMinimumNumberOfTouches(size_t touches) { BASE_ASSERT_MAIN_THREAD(); m_minimumTouches = touches; }
    size_t maximumNumberOfTouches() const { return m_maximumTouches; }
    void setMaximumNumberOfTouches(size_t touches) { BASE_ASSERT_MAIN_THREAD(); m_maximumTouches = touches; }

    // One step of a pan: sets translation and velocity, then simulate().
    bool simulatePan(GestureState, const Point& locationInView, const Point& translation, const Point& velocity = {});

protected:
    PanGestureRecognizer() = default;
    bool canRecognize(size_t numberOfTouches) const override;

private:
    Point m_translation;
    Point m_velocity;
    size_t m_minimumTouches = 1;
    size_t m_maximumTouches = SIZE_MAX;
};

class PinchGestureRecognizer : public GestureRecognizer {
public:
    static std::shared_ptr<PinchGestureRecognizer> create(Action = {});
    const char* className() const override { return "PinchGestureRecognizer"; }
    bool isContinuous() const override { return true; }

    double scale() const { return m_scale; }
    void setScale(double scale) { BASE_ASSERT_MAIN_THREAD(); m_scale = scale; }
    double velocity() const { return m_velocity; }

    bool simulatePinch(GestureState, const Point& locationInView, double scale, double velocity = 0);

protected:
    PinchGestureRecognizer() = default;

private:
    double m_scale = 1;
    double m_velocity = 0;
};

} // namespace ui
