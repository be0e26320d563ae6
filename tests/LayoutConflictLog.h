#pragma once

// Collects the layout engine's "Unable to simultaneously satisfy constraints" reports while
// it lives, instead of letting them go to stderr, so a test can say that a screen lays out
// without a conflict (and show the reports when it does not).
//
// LayoutConflictAllowList holds the conflicts a screen's own specified constraints cause:
// one a line, "constraint ; constraint ... | reason". A report is allowed when every
// constraint named on a line occurs in it (as the engine describes constraints:
// "Label(title).leading == View.leading + 8") and the line gives its reason.

#include "platform/base/Strings.h"
#include "platform/ui/LayoutEngine.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace lectoro::testing {

class LayoutConflictAllowList {
public:
    struct Entry {
        std::vector<std::string> constraints;
        std::string reason;
    };

    // Blank lines and lines starting with '#' are skipped; a line without constraints or
    // without a reason is refused (listed in errors()).
    static LayoutConflictAllowList parse(const std::string& text)
    {
        LayoutConflictAllowList list;
        std::istringstream lines(text);
        std::string line;
        for (int number = 1; std::getline(lines, line); ++number) {
            std::string content = base::trimWhitespaceAndNewlines(line);
            if (content.empty() || content.front() == '#')
                continue;
            auto bar = content.rfind('|');
            Entry entry;
            if (bar != std::string::npos) {
                entry.reason = base::trimWhitespaceAndNewlines(content.substr(bar + 1));
                for (const auto& named : base::split(content.substr(0, bar), ";")) {
                    if (auto constraint = base::trimWhitespaceAndNewlines(named); !constraint.empty())
                        entry.constraints.push_back(constraint);
                }
            }
            if (entry.constraints.empty() || entry.reason.empty()) {
                list.m_errors.push_back("line " + std::to_string(number) + ": wants \"constraint ; constraint ... | reason\"");
                continue;
            }
            list.m_entries.push_back(std::move(entry));
        }
        return list;
    }

    static LayoutConflictAllowList fromFile(const std::string& path)
    {
        std::ifstream file(path);
        if (!file) {
            LayoutConflictAllowList list;
            list.m_errors.push_back("cannot read " + path);
            return list;
        }
        std::ostringstream text;
        text << file.rdbuf();
        return parse(text.str());
    }

    bool allows(const std::string& report) const
    {
        return std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry& entry) {
            return std::all_of(entry.constraints.begin(), entry.constraints.end(),
                [&](const std::string& constraint) { return report.find(constraint) != std::string::npos; });
        });
    }
    const std::vector<Entry>& entries() const { return m_entries; }
    const std::vector<std::string>& errors() const { return m_errors; }

private:
    std::vector<Entry> m_entries;
    std::vector<std::string> m_errors;
};

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
    // The reports the list does not allow, in the order they came.
    std::vector<std::string> unallowed(const LayoutConflictAllowList& allowList) const
    {
        std::vector<std::string> left;
        std::copy_if(m_reports.begin(), m_reports.end(), std::back_inserter(left),
            [&](const std::string& report) { return !allowList.allows(report); });
        return left;
    }

private:
    std::vector<std::string> m_reports;
    ui::layout::ConflictHandler m_previous;
};

} // namespace lectoro::testing
