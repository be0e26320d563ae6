#pragma once

// The sticky-note overlay: a clear view laid over the whole reader while the reader picks
// where a new sticky note goes. A tap on it reaches the delegate with the point, in the
// overlay's coordinates (which are the reader view's: it covers it exactly).

#include "platform/ui/View.h"

#include <memory>

namespace lectoro {

class StickyNoteController;

class StickyNoteControllerDelegate {
public:
    virtual ~StickyNoteControllerDelegate() = default;
    virtual void didTapOnStickNoteController(StickyNoteController&, const ui::Point&) { }
};

class StickyNoteController : public ui::View {
public:
    // initWithFrame:WithDelegate:
    static std::shared_ptr<StickyNoteController> create(
        const ui::Rect& frame, std::weak_ptr<StickyNoteControllerDelegate>);
    std::string_view className() const override { return "StickyNoteController"; }

    std::shared_ptr<StickyNoteControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<StickyNoteControllerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }

    // A tap, as a finger gives it; points outside the overlay are ignored.
    void tapAtPoint(const ui::Point&);

protected:
    StickyNoteController(const ui::Rect& frame, std::weak_ptr<StickyNoteControllerDelegate>);

private:
    std::weak_ptr<StickyNoteControllerDelegate> m_delegate;
};

} // namespace lectoro
