#pragma once

// How the host waits on its real-time run loop: for the effect its next step needs (the book
// on screen, the pop-over presented, the record in the store, the service's answer, the
// host's callback), never for a fixed time. A fast machine goes on as soon as the effect is
// there; a slow or loaded one gets a generous timeout. A wait that times out says so on the
// host's output and is counted, so the run cannot end as a success over it.

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

namespace ui {
class ViewController;
}

namespace lectoro {
class ReaderViewController;
}

namespace host {

class HostListener;

// How long, in real time, the host waits for one step's effect before it gives up.
inline constexpr double demoStepTimeout = 10;

// Runs the tasks due now (what the last step posted to run at once), then runs the main run
// loop until `ready` answers true (checked before waiting, after every task and at least
// every 50 ms) and answers true. When the timeout passes first, prints
// "Timed out after N s waiting for <what>" on `out`, counts it and answers false.
[[nodiscard]] bool waitFor(std::ostream& out, const std::string& what, const std::function<bool()>& ready,
    double timeout = demoStepTimeout);

// With a folder set (--pictures DIR), every wait that sees its effect paints the key window
// (its book's pages included) into DIR/<prefix>-<NN>-<what>.png; takeDemoPicture paints
// one more step by name.
void setDemoPictures(const std::string& folder, const std::string& prefix);
// The screen pictured when there is no key window (the launcher the demo shows).
void setDemoScreen(const std::shared_ptr<ui::ViewController>&);
void takeDemoPicture(std::ostream& out, const std::string& step);

// How many waits of this process timed out.
int timedOutWaits();

// The controller is presented and its presentation has finished: it is on screen and
// its appearance callbacks have run.
bool isPresentedAndShown(const std::shared_ptr<ui::ViewController>&);
// The controller's view is shown, presented as above or placed in the view tree of the
// screen (a panel that slides in over the reader is not presented).
bool isShown(const std::shared_ptr<ui::ViewController>&);

// No presentation or dismissal is in its transition (a controller cannot present another
// while one is on its way in or out).
bool presentationsSettled();
// Nothing moves on screen: presentations have settled and every view animation has finished
// (its completion, which often lays out or removes a view, has run).
bool screenIsStill();

// Lets the work the run started in the background (store reads and writes on the queues)
// finish and what it posted back run: done before the host lets its framework go, so nothing
// still uses the store (a worker running on at exit would use what is being destroyed) and the
// store closes cleanly.
void finishBackgroundWork();

// Taps the reader's back button and waits until the host has heard the close, the sync the
// launcher starts for the closed book has answered (its reading data and its reading session,
// saved or failed) and the screen is still: the closed reader's last animations have run, and
// with them went the last references to it (and to the store) its pending work held.
[[nodiscard]] bool closeReaderAndWait(lectoro::ReaderViewController&, const HostListener&, std::ostream& out);

} // namespace host
