#pragma once

// Modal presentation: the process-wide log tests read (Presenter), pop-over presentation
// controllers, their delegate and background views.
//
// Pop-overs. A controller whose modalPresentationStyle is Popover gets a
// PopoverPresentationController. When it is presented the delegate is asked
// prepareForPopoverPresentation; then, on a device that is not a pad (a compact width),
// adaptivePresentationStyleForPresentationController: no answer (nullopt) adapts the
// pop-over to a full-screen presentation, as the platform does; None keeps the pop-over;
// any other style is taken. On a pad the pop-over stays a pop-over. The arrow is chosen
// among the permitted directions by where the content fits around the source rectangle
// (up, down, left, right, in that order of preference); no permitted direction means no
// arrow (and the pop-over is centred on the source rectangle).
//
// A tap outside a pop-over (uitest::tapOutsidePopover) asks the delegate
// popoverPresentationControllerShouldDismissPopover; when allowed, the pop-over is
// dismissed with animation and popoverPresentationControllerDidDismissPopover follows once
// the dismissal has completed. A dismissal asked for in code does not call the delegate.

#include "platform/base/Thread.h"
#include "platform/ui/Bitmask.h"
#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

enum class PopoverArrowDirection : uint32_t {
    None = 0,
    Up = 1 << 0,
    Down = 1 << 1,
    Left = 1 << 2,
    Right = 1 << 3,
    Any = 0xF,
    Unknown = 0xFFFFFFFF,
};
UI_DEFINE_BITMASK_OPERATORS(PopoverArrowDirection)

class PopoverPresentationController;

// Optional callbacks; the defaults do what "not implemented" means.
class PopoverPresentationControllerDelegate {
public:
    virtual ~PopoverPresentationControllerDelegate() = default;

    // nullopt: not implemented (the platform's adaptation applies). None: keep the style.
    virtual std::optional<ModalPresentationStyle> adaptivePresentationStyleForPresentationController(
        PopoverPresentationController&)
    {
        return std::nullopt;
    }
    virtual void prepareForPopoverPresentation(PopoverPresentationController&) { }
    virtual bool popoverPresentationControllerShouldDismissPopover(PopoverPresentationController&)
    {
        return true;
    }
    virtual void popoverPresentationControllerDidDismissPopover(PopoverPresentationController&) { }
};

// The chrome drawn around a pop-over's content. A product subclass draws its own arrow;
// the pop-over sets the direction and offset of the arrow on it.
class PopoverBackgroundView : public View {
public:
    std::string_view className() const override { return "PopoverBackgroundView"; }

    PopoverArrowDirection arrowDirection() const { return m_arrowDirection; }
    virtual void setArrowDirection(PopoverArrowDirection direction) { m_arrowDirection = direction; }
    // Offset of the arrow from the middle of its edge.
    double arrowOffset() const { return m_arrowOffset; }
    virtual void setArrowOffset(double offset) { m_arrowOffset = offset; }

protected:
    explicit PopoverBackgroundView(const Rect& frame)
        : View(frame)
    {
    }

private:
    PopoverArrowDirection m_arrowDirection = PopoverArrowDirection::Unknown;
    double m_arrowOffset = 0;
};

class PopoverPresentationController {
public:
    using BackgroundViewFactory = std::function<std::shared_ptr<PopoverBackgroundView>(const Rect& frame)>;

    ~PopoverPresentationController();
    PopoverPresentationController(const PopoverPresentationController&) = delete;
    PopoverPresentationController& operator=(const PopoverPresentationController&) = delete;

    std::shared_ptr<ViewController> presentedViewController() const { return m_presented.lock(); }
    std::shared_ptr<ViewController> presentingViewController() const;

    std::shared_ptr<View> sourceView() const { return m_sourceView.lock(); }
    void setSourceView(const std::shared_ptr<View>& view) { BASE_ASSERT_MAIN_THREAD(); m_sourceView = view; }
    // In the source view's coordinates. Until set, the source view's bounds.
    Rect sourceRect() const;
    void setSourceRect(const Rect& rect) { BASE_ASSERT_MAIN_THREAD(); m_sourceRect = rect; }
    bool hasExplicitSourceRect() const { return m_sourceRect.has_value(); }

    PopoverArrowDirection permittedArrowDirections() const { return m_permittedArrowDirections; }
    void setPermittedArrowDirections(PopoverArrowDirection directions)
    {
        m_permittedArrowDirections = directions;
    }
    // The direction chosen at presentation; Unknown before.
    PopoverArrowDirection arrowDirection() const { return m_arrowDirection; }

    std::optional<Color> backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(std::optional<Color> color)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_backgroundColor = color;
    }

    // The background view "class": a name for logs and a factory making one per
    // presentation. No factory: the platform's plain chrome (no background view here).
    const std::string& popoverBackgroundViewClassName() const { return m_backgroundClassName; }
    void setPopoverBackgroundViewClass(std::string name, BackgroundViewFactory factory);
    // The background view of the current presentation, when a factory made one.
    std::shared_ptr<PopoverBackgroundView> backgroundView() const { return m_backgroundView; }

    std::shared_ptr<PopoverPresentationControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<PopoverPresentationControllerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }

    // The content's frame in window coordinates, set at presentation.
    Rect frameOfPresentedView() const { return m_presentedFrame; }

private:
    friend class ViewController;
    friend class PresentationDriver;
    explicit PopoverPresentationController(std::weak_ptr<ViewController> presented);

    std::weak_ptr<ViewController> m_presented;
    std::weak_ptr<View> m_sourceView;
    std::optional<Rect> m_sourceRect;
    PopoverArrowDirection m_permittedArrowDirections = PopoverArrowDirection::Any;
    PopoverArrowDirection m_arrowDirection = PopoverArrowDirection::Unknown;
    std::optional<Color> m_backgroundColor;
    std::string m_backgroundClassName;
    BackgroundViewFactory m_backgroundFactory;
    std::shared_ptr<PopoverBackgroundView> m_backgroundView;
    std::weak_ptr<PopoverPresentationControllerDelegate> m_delegate;
    Rect m_presentedFrame;
};

// One presentation or dismissal, as asked.
struct PresentationRecord {
    std::weak_ptr<ViewController> presented;
    std::weak_ptr<ViewController> presenting;
    std::string presentedClassName;
    // The style asked for and the one taken after adaptation.
    ModalPresentationStyle style = ModalPresentationStyle::FullScreen;
    ModalPresentationStyle effectiveStyle = ModalPresentationStyle::FullScreen;
    ModalTransitionStyle transitionStyle = ModalTransitionStyle::CoverVertical;
    bool animated = false;
    // Pop-overs: where they point.
    std::weak_ptr<View> sourceView;
    std::optional<Rect> sourceRect;
    PopoverArrowDirection permittedArrowDirections = PopoverArrowDirection::Unknown;
    PopoverArrowDirection arrowDirection = PopoverArrowDirection::Unknown;
    Size preferredContentSize;
    // Run-loop time of the request.
    double time = 0;
};

class Presenter {
public:
    static Presenter& shared();

    // Every accepted presentation, in order.
    const std::vector<PresentationRecord>& presented() const { return m_presented; }
    // Every accepted dismissal, in order (one record per dismissed controller).
    const std::vector<PresentationRecord>& dismissed() const { return m_dismissed; }
    // Refused requests, one line each ("Attempt to present … which is already presenting …").
    const std::vector<std::string>& warnings() const { return m_warnings; }
    const PresentationRecord* lastPresented() const;

    // Controllers presented now (presentation accepted, dismissal not complete), oldest
    // first.
    std::vector<std::shared_ptr<ViewController>> activePresentations() const;
    // The most recent active presentation that is not being dismissed.
    std::shared_ptr<ViewController> topmostPresented() const;
    // Presentation and dismissal transitions waiting on the run loop.
    int pendingTransitions() const { return m_pendingTransitions; }

    // Forgets the log and warnings (active presentations stay as they are).
    void clearLog();
    // Test support: forgets everything, active presentations and pending counts included
    // (after base::RunLoop::reset() dropped their transitions).
    void reset();

    void warn(std::string);

private:
    friend class PresentationDriver;

    std::vector<PresentationRecord> m_presented;
    std::vector<PresentationRecord> m_dismissed;
    std::vector<std::string> m_warnings;
    std::vector<std::weak_ptr<ViewController>> m_active;
    int m_pendingTransitions = 0;
};

// Dismisses the pop-over the way a tap outside it does (see the header comment). `controller`
// is the presented pop-over or the controller presenting it. Answers whether a dismissal
// started.
bool dismissPopoverFromOutsideTap(const std::shared_ptr<ViewController>& controller);

} // namespace ui
