#pragma once

// The responder chain: views, and whatever owns a view's content (a view controller),
// answer "who is next" and take part in first-responder status.

namespace ui {

class Responder {
public:
    virtual ~Responder() = default;

    // A view answers its owning controller when it has one, else its superview; the
    // controller answers its own next (its view's superview) as it sees fit.
    virtual Responder* nextResponder() const { return nullptr; }

    virtual bool canBecomeFirstResponder() const { return false; }
    virtual bool becomeFirstResponder() { return false; }
    virtual bool canResignFirstResponder() const { return true; }
    virtual bool resignFirstResponder() { return true; }
    virtual bool isFirstResponder() const { return false; }
};

} // namespace ui
