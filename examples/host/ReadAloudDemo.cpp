#include "ReadAloudDemo.h"
#include "DemoRegistry.h"

#include "DemoLaunch.h"
#include "DemoWait.h"
#include "HostListener.h"

#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXPageVO.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/Strings.h"
#include "platform/media/Player.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <filesystem>
#include <iomanip>
#include <set>

namespace host {

namespace {

int readAloudDemoFail(std::ostream& out, const std::string& why)
{
    out << "Read-aloud demo failed: " << why << '\n';
    return 4;
}

// A page of a book made without recorded narration: one link over the page holding its
// text's words with even timings and no audio file. Null when the page has no text.
std::shared_ptr<lectoro::PXLinkVO> readAloudDemoUnrecordedNarration(const lectoro::PXPageVO& page)
{
    base::Value::List words;
    double start = 0;
    for (const auto& word : base::split(page.text, " ")) {
        if (word.empty())
            continue;
        words.emplace_back(base::Value::Dictionary { { "text", word }, { "start", start }, { "end", start + 0.3 } });
        start += 0.35;
    }
    if (words.empty())
        return nullptr;
    auto link = std::make_shared<lectoro::PXLinkVO>();
    link->linkID = page.pageID * 100 + 99;
    link->linkType = 11;
    link->pageID = std::to_string(page.pageID);
    link->boxTansformedRect = ui::Rect { { 60, 200 }, { page.size.width - 120, 40 } };
    link->transformedRect = link->boxTansformedRect;
    link->audioSync = base::Value(std::move(words));
    return link;
}

} // namespace

int runReadAloudDemo(const std::string& bookPath, std::ostream& out)
{
    auto listener = std::make_shared<HostListener>(out);
    auto launcher = launchDemoBook(out, bookPath, listener, true);
    auto reader = launcher->reader();
    if (!reader || !reader->currentBook()) {
        out << "Read-aloud demo: the book did not open\n";
        return 3;
    }
    if (std::dynamic_pointer_cast<lectoro::EPUBBookVO>(reader->currentBook()))
        return runEpubReadAloudDemo(*reader, out);
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    auto pageBook = std::dynamic_pointer_cast<lectoro::PXBookVO>(reader->currentBook());
    if (!renderer || !pageBook)
        return readAloudDemoFail(out, "not a page book");
    auto& readAloud = reader->readAloud();

    // A narrated book offers the chooser by itself once it has opened; close it for now.
    if (closeOfferedReadAloudChooser(out, *reader))
        out << "Chooser offered on opening\n";

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
    if (!waitFor(out, "page " + std::to_string(pageId), [&] { return demoPageSettled(*reader, pageId); }))
        return readAloudDemoFail(out, "the narrated page did not show");
    out << "On page " << pageId << '\n';

    // The toolbar's read-aloud item opens the chooser.
    auto bar = lectoro::PlayerActionTopBar::create();
    bar->setTag(lectoro::TopBar);
    auto item = lectoro::PlayerActionBarItem::create();
    item->setTag(lectoro::PlayerItemReadAloud);
    bar->addActionBarItem(item, 40, 0, true);
    reader->didTapOnPlayerActionBar(*bar, *item);
    (void)waitFor(out, "the read-aloud chooser",
        [&] { return isPresentedAndShown(readAloud.readToMeViewController()) && screenIsStill(); });
    auto chooser = readAloud.readToMeViewController();
    if (!chooser)
        return readAloudDemoFail(out, "the chooser did not open");
    out << "Chooser open, current mode " << chooser->readAloudMode() << '\n';
    chooser->readToMeButton()->sendActions(ui::ControlEvent::TouchUpInside);

    // Narration starts a moment after the choice; wait for the first spoken word's mark.
    (void)waitFor(out, "the first spoken word's mark", [&] { return renderer->overlayForPage(pageId).wordFrame.has_value(); });
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
    auto player = sync ? sync->audioPlayer() : nullptr;
    if (!player || !player->currentItem())
        return readAloudDemoFail(out, "the page's audio is not playing");
    out << "Playing the book's audio " << std::filesystem::path(player->currentItem()->url()).filename().string() << '\n';

    readAloud.didSelectAudioSyncColor("#C061FF");
    readAloud.speedOptionSelectedWithOption(3);
    out << "Colour now " << reader->context().audioSyncSelectedColor << ", speed "
        << (readAloud.getAudioSyncSpeedRateLabel() ? readAloud.getAudioSyncSpeedRateLabel()->text() : "?")
        << ", player rate " << player->rate() << '\n';

    // Read to me ends with the spread: the audio plays to its end and narration closes.
    const double duration = player->currentItem()->duration();
    (void)waitFor(out, "the page's audio to end", [&] { return !readAloud.audioSyncController(); });
    out << std::fixed << std::setprecision(2) << "Audio played to " << player->currentTime() << " s of "
        << duration << " s" << std::defaultfloat << '\n';
    if (readAloud.audioSyncController() || player->currentTime() + 0.01 < duration)
        return readAloudDemoFail(out, "the audio did not play to its end");

    // A page whose narration has no recording is spoken by the synthesiser. Read to me is
    // still the mode, so turning to the page starts it once the page has loaded.
    std::shared_ptr<lectoro::PXPageVO> unrecorded;
    for (const auto& [id, page] : pageBook->pages) {
        if (page && page->pageID > pageId && page->getAudioSyncTypeLinks().empty() && !page->text.empty()
            && (!unrecorded || page->pageID < unrecorded->pageID))
            unrecorded = page;
    }
    auto narration = unrecorded ? readAloudDemoUnrecordedNarration(*unrecorded) : nullptr;
    if (!narration)
        return readAloudDemoFail(out, "no page with text to speak");
    unrecorded->linkOrder.push_back(narration);
    renderer->navigateToPageNumber(std::to_string(unrecorded->pageID));
    (void)waitFor(out, "the synthesiser to speak the page", [&] {
        auto spoken = readAloud.audioSyncController();
        return spoken && spoken->narrationKind() == lectoro::NarrationPlayback::Kind::Speech;
    });
    auto spoken = readAloud.audioSyncController();
    if (!spoken || spoken->narrationKind() != lectoro::NarrationPlayback::Kind::Speech)
        return readAloudDemoFail(out, "the page without audio was not spoken");
    // Each word the voice reaches is marked; count the marks until a sentence is through.
    std::set<double> marked;
    const size_t wanted = std::min<size_t>(spoken->words().size(), 6);
    // The voice speaks in real time: a word a third of a second.
    (void)waitFor(out, "the spoken words' marks", [&] {
        if (const auto& frame = renderer->overlayForPage(unrecorded->pageID).wordFrame)
            marked.insert(frame->origin.x);
        return marked.size() >= wanted;
    });
    out << "Spoken by the synthesiser: page " << unrecorded->pageID << ", " << marked.size() << " of "
        << spoken->words().size() << " words marked as the voice reached them\n";
    if (marked.size() < wanted)
        return readAloudDemoFail(out, "the voice's words were not marked");

    narrationBar = readAloud.playerBottomActionBarViewForAudioSync();
    if (!narrationBar)
        return readAloudDemoFail(out, "no narration bar while speaking");
    narrationBar->tapItemWithTag(lectoro::PlayerItemMarkupClose);
    (void)waitFor(out, "narration to close", [&] {
        return !readAloud.playerBottomActionBarViewForAudioSync() && reader->context().activeMode == 0 && screenIsStill();
    });
    const bool closed = !readAloud.playerBottomActionBarViewForAudioSync() && reader->context().activeMode == 0;
    out << "Narration closed: " << (closed ? "yes" : "no") << '\n';
    if (!closed)
        return readAloudDemoFail(out, "narration did not close");
    out << "Read-aloud demo: done\n";
    return 0;
}

namespace {

const bool readAloudDemoRegistered = registerDemo({ "--demo-readaloud", "",
    "[--book PATH]   (reads the first narrated page or EPUB chapter aloud)", Demo::Setup::FrameworkNoHelp,
    [](const DemoRequest& request) { return runReadAloudDemo(request.bookPath, request.out); } });

} // namespace

} // namespace host
