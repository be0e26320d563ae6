#pragma once

// A clean UI for one test: the Environment at its defaults with a key window, an empty
// run loop and presentation log; on the way out the root controller is dropped, pending
// run-loop work is discarded (with the controllers it holds), the logs are cleared and
// the Environment is put back.

#include "platform/ui/Environment.h"

#include <memory>

namespace uitest {

class UIScope {
public:
    UIScope();
    ~UIScope();
    UIScope(const UIScope&) = delete;
    UIScope& operator=(const UIScope&) = delete;

    ui::Environment& environment() { return ui::Environment::current(); }
    std::shared_ptr<ui::View> window() const { return ui::Environment::current().keyWindow(); }

private:
    void clear();

    ui::EnvironmentScope m_environment;
};

} // namespace uitest
