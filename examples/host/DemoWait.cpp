#include "DemoWait.h"

#include "HostListener.h"

#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "platform/base/RunLoop.h"
#include "platform/testing/Settle.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Presentation.h"
#include "platform/ui/ViewController.h"

#include <ostream>

namespace host {

namespace {

int timedOut = 0;

} // namespace

bool waitFor(std::ostream& out, const std::string& what, const std::function<bool()>& ready, double timeout)
{
    auto& loop = base::RunLoop::main();
    // What the last step posted to run at once runs first, so a wait never answers from a
    // state those tasks are about to change.
    loop.runUntilIdle();
    if (loop.runUntil(ready, timeout))
        return true;
    ++timedOut;
    out << "Timed out after " << timeout << " s waiting for " << what << '\n';
    return false;
}

int timedOutWaits()
{
    return timedOut;
}

bool isPresentedAndShown(const std::shared_ptr<ui::ViewController>& controller)
{
    return controller && controller->presentingViewController() && !controller->isBeingPresented()
        && !controller->isBeingDismissed();
}

bool isShown(const std::shared_ptr<ui::ViewController>& controller)
{
    if (isPresentedAndShown(controller))
        return true;
    auto view = controller ? controller->viewIfLoaded() : nullptr;
    return view && view->superview() && !controller->isBeingPresented();
}

bool presentationsSettled()
{
    return ui::Presenter::shared().pendingTransitions() == 0;
}

bool screenIsStill()
{
    return presentationsSettled() && ui::AnimationLog::shared().pendingCompletions() == 0;
}

void finishBackgroundWork()
{
    // Until nothing is left that could post more: a store write's report may send another.
    uitest::runUntilSettled();
}

bool closeReaderAndWait(lectoro::ReaderViewController& reader, const HostListener& listener, std::ostream& out)
{
    const size_t closes = listener.closes().size();
    const int dataSaves = listener.readingDataSaves();
    const int sessionSaves = listener.sessionSaves();
    reader.didTapOnBackButton();
    return waitFor(out, "the close and its sync", [&] {
        return listener.closes().size() > closes && listener.readingDataSaves() > dataSaves
            && listener.sessionSaves() > sessionSaves && screenIsStill();
    });
}

} // namespace host
