#pragma once

// What every scripted demo of the host does first: launch a book through the public launcher
// for a demo user, and wait (in real time, up to a few seconds) until it has loaded or failed.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

namespace base {
class Value;
}

namespace lectoro {
class LectoroServiceConfiguration;
class LectoroUser;
class LectoroReaderViewController;
class LectoroReaderViewControllerDelegate;
class ReaderViewController;
}

namespace host {

// How long a demo waits, in real time, for a book or its first pages.
inline constexpr double demoLoadTimeout = 5;

// The sample page book's id, as the demos launch it and as their services file its classes.
inline constexpr int64_t demoBookID = 1001;

// The launcher holding the open reader; `reader()->currentBook()` is null when the book did
// not load in time. A narrated book offers the read-aloud chooser by itself once it has
// opened; the demo closes it as a user would, unless it keeps it to show.
std::shared_ptr<lectoro::LectoroReaderViewController> launchDemoBook(const std::string& bookPath,
    const std::shared_ptr<lectoro::LectoroReaderViewControllerDelegate>& listener, bool keepReadAloudOffer = false);

// Waits (briefly, in real time) for the read-aloud chooser a narrated book offers on
// opening and closes it; answers whether it was offered.
bool closeOfferedReadAloudChooser(lectoro::ReaderViewController&);

// The demo user and the service configuration every demo launches with.
std::shared_ptr<lectoro::LectoroUser> demoUser();
std::shared_ptr<lectoro::LectoroServiceConfiguration> demoServiceConfiguration();

// A member of a class roster, as the service lists a class's teachers and learners.
base::Value demoClassMember(int64_t id, const char* first, const char* last);

// Where the reader is, for a demo's output: the first page on screen as "page <id>" (with its
// folio when asked) for page books, its file for EPUB books, "(no page)" without one.
std::string demoReaderPlace(const lectoro::ReaderViewController&, bool withFolio);

// A demo's steps as they are checked: each printed on its own line, a failed one marked
// "FAILED: " and counted.
class DemoChecks {
public:
    explicit DemoChecks(std::ostream& out) : m_out(out) { }
    // Answers `ok`, so a step that failed can end the demo.
    bool operator()(bool ok, const std::string& what);
    int failures() const { return m_failures; }

private:
    std::ostream& m_out;
    int m_failures = 0;
};

} // namespace host
