#include "ThumbnailsDemo.h"
#include "DemoRegistry.h"

#include "DemoLaunch.h"
#include "DemoWait.h"
#include "HostListener.h"

#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/contents/thumbnails/LXFixedEpubThumbnailViewController.h"
#include "LectoroSDKWithReader/contents/thumbnails/LXThumbnailViewController.h"
#include "LectoroSDKWithReader/contents/thumbnails/LectoroThumbnailCollectionViewCell.h"
#include "LectoroSDKWithReader/contents/thumbnails/ThumbnailData.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Slider.h"

#include <sstream>

namespace host {

namespace {

bool thumbDemoOpenPanel(std::ostream& out, lectoro::ReaderViewController& reader)
{
    auto bar = reader.context().playerBottomActionBarView;
    auto item = bar ? bar->itemWithTag(lectoro::PlayerItemThumbnail) : nullptr;
    if (!item || !bar->tapItem(*item))
        return false;
    return waitFor(out, "the thumbnail panel",
        [&] { return isPresentedAndShown(reader.presentedViewController()) && screenIsStill(); });
}

// The panel has closed and the reader shows a page other than `from`, settled.
bool thumbDemoLeftFor(lectoro::ReaderViewController& reader, const std::string& from)
{
    return !reader.presentedViewController() && demoReaderPlace(reader, false) != from && demoPageSettled(reader);
}

void thumbDemoPrintBrowser(std::ostream& out, lectoro::LXThumbnailViewController& browser)
{
    browser.view()->layoutIfNeeded();
    const auto& chapters = lectoro::thumbnails::chapters(browser.dataArray());
    out << "Thumbnails: " << chapters.size() << " chapters, last page " << browser.displayNumberOfLastPage() << '\n';
    for (const auto& mark : browser.pageIndexArray())
        out << "  marked: chapter " << mark.section << ", page " << mark.index << '\n';
    auto collection = browser.collectionView();
    if (!collection)
        return;
    collection->layoutIfNeeded();
    for (int section = 0; section < collection->numberOfSections(); ++section) {
        auto cell = std::dynamic_pointer_cast<lectoro::LectoroThumbnailCollectionViewCell>(
            collection->cellForItemAtIndexPath({ section, 0 }));
        if (!cell)
            continue;
        auto image = cell->pageImageview()->image();
        out << "  " << chapters[static_cast<size_t>(section)]["ChapterTitle"].asString().value_or("") << ": ";
        if (image)
            out << "picture " << image->size() << '\n';
        else
            out << "no picture\n";
    }
}

} // namespace

int runThumbnailsDemo(std::ostream& out, const std::string& bookPath)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    std::ostringstream callbacks;
    auto listener = std::make_shared<HostListener>(callbacks);
    auto launcher = launchDemoBook(out, bookPath, listener);
    auto reader = launcher->reader();
    if (!reader->currentBook()) {
        out << "Could not open the book\n";
        launcher->uninitializeReader();
        return 1;
    }
    const std::string start = demoReaderPlace(*reader, false);
    out << "Opened \"" << reader->currentBook()->title << "\" at " << start << '\n';

    int arrived = 0;
    if (!thumbDemoOpenPanel(out, *reader)) {
        out << "The toolbar has no thumbnail item\n";
    } else if (auto browser = reader->contents().thumbnailViewController()) {
        thumbDemoPrintBrowser(out, *browser);
        std::string last = browser->displayNumberOfLastPage();
        out << "Go to \"" << last << "\"\n";
        auto& field = *browser->searchTextField();
        field.setText(last);
        browser->shouldReturn(field);
        (void)waitFor(out, "the browser to close on the page", [&] { return thumbDemoLeftFor(*reader, start); });
        out << "Browser closed: " << (reader->presentedViewController() ? "no" : "yes") << "; now at "
            << demoReaderPlace(*reader, false) << '\n';
        arrived += demoReaderPlace(*reader, false) != start;
    } else if (auto navigator = reader->contents().fixedEpubThumbnailVC()) {
        navigator->view()->layoutIfNeeded();
        out << "Navigator: " << navigator->totalNumberOfPages() << " pages, last page "
            << navigator->displayNumberOfLastPage() << '\n';
        navigator->slider()->setValue(1.0);
        navigator->sliderValueChanged();
        out << "Slider at the end: " << navigator->sliderLabel()->text() << '\n';
        navigator->sliderReleased();
        (void)waitFor(out, "the navigator to close on the page", [&] { return thumbDemoLeftFor(*reader, start); });
        out << "Navigator closed: " << (reader->presentedViewController() ? "no" : "yes") << "; now at "
            << demoReaderPlace(*reader, false) << '\n';
        arrived += demoReaderPlace(*reader, false) != start;
    }

    // Back through the history, from the panel opened again.
    if (arrived && thumbDemoOpenPanel(out, *reader)) {
        const std::string from = demoReaderPlace(*reader, false);
        if (auto browser = reader->contents().thumbnailViewController())
            browser->prevButton()->sendActions(ui::ControlEvent::TouchUpInside);
        else if (auto navigator = reader->contents().fixedEpubThumbnailVC())
            navigator->prevButton()->sendActions(ui::ControlEvent::TouchUpInside);
        (void)waitFor(out, "the page before in the history", [&] { return thumbDemoLeftFor(*reader, from); });
        out << "History back: now at " << demoReaderPlace(*reader, false) << '\n';
        arrived += demoReaderPlace(*reader, false) == start;
    }
    if (!closeReaderAndWait(*reader, *listener, out))
        arrived = 0;
    launcher->uninitializeReader();
    return arrived == 2 ? 0 : 3;
}

namespace {

const bool thumbnailsDemoRegistered = registerDemo({ "--demo-thumbnails", "",
    "[--book PATH]   (page thumbnails: go to the last page, then back)", Demo::Setup::FrameworkNoHelp,
    [](const DemoRequest& request) { return runThumbnailsDemo(request.out, request.bookPath); } });

} // namespace

} // namespace host
