#include "ReadAloudDemo.h"
#include "DemoRegistry.h"

#include "DemoLaunch.h"
#include "HostListener.h"

#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXPageVO.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Label.h"

#include <algorithm>

namespace host {

namespace {

constexpr double readAloudDemoSettle = 0.8;

int readAloudDemoFail(std::ostream& out, const std::string& why)
{
    out << "Read-aloud demo failed: " << why << '\n';
    return 4;
}

} // namespace

int runReadAloudDemo(const std::string& bookPath, std::ostream& out)
{
    auto listener = std::make_shared<HostListener>(out);
    auto launcher = launchDemoBook(bookPath, listener);
    auto reader = launcher->reader();
    if (!reader || !reader->currentBook()) {
        out << "Read-aloud demo: the book did not open\n";
        return 3;
    }
    auto& loop = base::RunLoop::main();
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    loop.runUntil([&] { return renderer && !renderer->getActivePages().empty(); }, demoLoadTimeout);
    auto pageBook = std::dynamic_pointer_cast<lectoro::PXBookVO>(reader->currentBook());
    if (!renderer || !pageBook)
        return readAloudDemoFail(out, "not a page book");

    // The first page (in page order) that carries narration.
    std::vector<int64_t> narrated;
    for (const auto& [id, page] : pageBook->pages) {
        if (page && !page->getAudioSyncTypeLinks().empty())
            narrated.push_back(page->pageID);
    }
    if (narrated.empty())
        return readAloudDemoFail(out, "no page has narration");
    const int64_t pageId = *std::min_element(narrated.begin(), narrated.end());
    renderer->navigateToPageNumber(std::to_string(pageId));
    loop.runFor(readAloudDemoSettle);
    out << "On page " << pageId << '\n';

    // The toolbar's read-aloud item opens the chooser.
    auto bar = lectoro::PlayerActionTopBar::create();
    bar->setTag(lectoro::TopBar);
    auto item = lectoro::PlayerActionBarItem::create();
    item->setTag(lectoro::PlayerItemReadAloud);
    bar->addActionBarItem(item, 40, 0, true);
    reader->didTapOnPlayerActionBar(*bar, *item);
    loop.runFor(0.3);
    auto& readAloud = reader->readAloud();
    auto chooser = readAloud.readToMeViewController();
    if (!chooser)
        return readAloudDemoFail(out, "the chooser did not open");
    out << "Chooser open, current mode " << chooser->readAloudMode() << '\n';
    chooser->readToMeButton()->sendActions(ui::ControlEvent::TouchUpInside);

    // Narration starts a moment after the choice; wait for the first spoken word's mark.
    loop.runUntil([&] { return renderer->overlayForPage(pageId).wordFrame.has_value(); }, demoLoadTimeout);
    auto sync = readAloud.audioSyncController();
    auto narrationBar = readAloud.playerBottomActionBarViewForAudioSync();
    if (!narrationBar)
        return readAloudDemoFail(out, "no narration bar");
    out << "Reading page " << reader->context().currentReadAloudPageId << ", "
        << (sync ? sync->words().size() : 0) << " words, bar items:";
    for (const auto& barItem : narrationBar->getTappableItems())
        out << ' ' << barItem->tag();
    out << '\n';
    const auto& overlay = renderer->overlayForPage(pageId);
    out << "Word highlight colour: " << (overlay.wordFrameColor.empty() ? "none" : overlay.wordFrameColor) << '\n';

    readAloud.didSelectAudioSyncColor("#C061FF");
    readAloud.speedOptionSelectedWithOption(3);
    out << "Colour now " << reader->context().audioSyncSelectedColor << ", speed "
        << (readAloud.getAudioSyncSpeedRateLabel() ? readAloud.getAudioSyncSpeedRateLabel()->text() : "?") << '\n';

    narrationBar->tapItemWithTag(lectoro::PlayerItemMarkupClose);
    loop.runFor(0.3);
    const bool closed = !readAloud.playerBottomActionBarViewForAudioSync() && reader->context().activeMode == 0;
    out << "Narration closed: " << (closed ? "yes" : "no") << '\n';
    if (!closed)
        return readAloudDemoFail(out, "narration did not close");
    out << "Read-aloud demo: done\n";
    return 0;
}

namespace {

const bool registered = registerDemo({ "--demo-readaloud", "",
    "[--book PATH]   (reads the first narrated page aloud, then closes narration)", Demo::Setup::FrameworkNoHelp,
    [](const DemoRequest& request) { return runReadAloudDemo(request.bookPath, request.out); } });

} // namespace

} // namespace host
