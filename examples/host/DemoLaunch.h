#pragma once

// What every scripted demo of the host does first: launch a book through the public launcher
// for a demo user, and wait (in real time) until its first pages are on screen or it failed.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
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

// The sample page book's id, as the demos launch it and as their services file its classes.
inline constexpr int64_t demoBookID = 1001;

// The launcher holding the open reader, its first page on screen and settled; `reader()->currentBook()`
// is null when the book did not load (a load or a first page that did not come in time is
// reported on `out`). A narrated book offers the read-aloud chooser by itself once it has
// opened; the demo closes it as a user would, unless it keeps it to show.
std::shared_ptr<lectoro::LectoroReaderViewController> launchDemoBook(std::ostream& out, const std::string& bookPath,
    const std::shared_ptr<lectoro::LectoroReaderViewControllerDelegate>& listener, bool keepReadAloudOffer = false);

// The page (a page book's page id, an EPUB book's file index; the first one on screen when
// none is named) is the first on screen and no presentation is on its way. What the page
// holds (markups, answer fields, highlights, drawings) is placed as it loads.
bool demoPageShown(lectoro::ReaderViewController&, std::optional<int64_t> page = std::nullopt);
// As demoPageShown, and the reader's follow-ups of the page's load have run too (half a
// second later: its bookmark icon is on it when the host turned bookmarks on, the bars have
// slid away), so they do not land in the middle of the next step.
bool demoPageSettled(lectoro::ReaderViewController&, std::optional<int64_t> page = std::nullopt);

// Closes the read-aloud chooser a narrated book offers on opening, waiting for it when it is
// still to come; answers whether it was offered. No chooser comes while a help screen is up
// or when the host turned the offer off; one that was due and did not come is reported.
bool closeOfferedReadAloudChooser(std::ostream& out, lectoro::ReaderViewController&);

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
