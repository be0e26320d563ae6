#pragma once

// Collects the layout engine's "Unable to simultaneously satisfy constraints" reports while
// it lives, instead of letting them go to stderr, so a test can say that a screen lays out
// without a conflict (and show the reports when it does not).

#include "platform/ui/LayoutEngine.h"

#include <string>
#include <vector>

namespace lectoro::testing {

class LayoutConflictLog {
public:
    LayoutConflictLog()
        : m_previous(ui::layout::setConflictHandler([this](const std::string& report) { m_reports.push_back(report); }))
    {
    }
    ~LayoutConflictLog() { ui::layout::setConflictHandler(std::move(m_previous)); }
    LayoutConflictLog(const LayoutConflictLog&) = delete;
    LayoutConflictLog& operator=(const LayoutConflictLog&) = delete;

    const std::vector<std::string>& reports() const { return m_reports; }
    bool empty() const { return m_reports.empty(); }
    // Every report, one after another, for a failure message.
    std::string text() const
    {
        std::string all;
        for (const auto& report : m_reports)
            all += report + "\n";
        return all;
    }

private:
    std::vector<std::string> m_reports;
    ui::layout::ConflictHandler m_previous;
};

} // namespace lectoro::testing
