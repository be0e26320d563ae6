#include "DemoWait.h"

#include "HostListener.h"

#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "platform/base/RunLoop.h"
#include "platform/testing/Settle.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Presentation.h"
#include "platform/ui/ViewController.h"

#include "companion/renderer/PagePainter.h"
#include "platform/ui/Environment.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <ostream>

namespace host {

namespace {

int timedOut = 0;

struct Pictures {
    std::string folder;
    std::string prefix;
    int taken = 0;
    std::weak_ptr<ui::ViewController> screen;
};

Pictures& pictures()
{
    static Pictures shared;
    return shared;
}

// "the note editor" -> "the-note-editor"
std::string slug(const std::string& what)
{
    std::string name;
    for (char c : what) {
        bool keep = std::isalnum(static_cast<unsigned char>(c));
        if (keep)
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else if (!name.empty() && name.back() != '-')
            name += '-';
        if (name.size() >= 60)
            break;
    }
    while (!name.empty() && name.back() == '-')
        name.pop_back();
    return name;
}

} // namespace

void setDemoPictures(const std::string& folder, const std::string& prefix)
{
    pictures() = { folder, prefix, 0, {} };
}

void setDemoScreen(const std::shared_ptr<ui::ViewController>& screen)
{
    pictures().screen = screen;
}

void takeDemoPicture(std::ostream& out, const std::string& step)
{
    auto& taking = pictures();
    auto window = ui::Environment::current().keyWindow();
    auto screen = taking.screen.lock();
    if (taking.folder.empty() || (!window && !screen))
        return;
    std::error_code error;
    std::filesystem::create_directories(taking.folder, error);
    char number[8];
    std::snprintf(number, sizeof number, "%02d", ++taking.taken);
    std::string path = (std::filesystem::path(taking.folder) / (taking.prefix + "-" + number + "-" + slug(step) + ".png")).string();
    // The host shows its screens without a window: the screen and what is presented over it.
    auto written = window ? companion::writeWindowPicture(*window, path)
                          : companion::writeScreenPicture(companion::screenLayers(*screen), nullptr, path);
    if (!written)
        out << "Could not write the picture " << path << ": " << written.error().localizedDescription() << '\n';
}

bool waitFor(std::ostream& out, const std::string& what, const std::function<bool()>& ready, double timeout)
{
    auto& loop = base::RunLoop::main();
    // What the last step posted to run at once runs first, so a wait never answers from a
    // state those tasks are about to change.
    loop.runUntilIdle();
    if (loop.runUntil(ready, timeout)) {
        // Each screen a demo reaches, as it shows.
        takeDemoPicture(out, what);
        return true;
    }
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
