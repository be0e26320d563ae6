// --demo-readaloud on an EPUB book: its narrated chapter read from the recording its media
// overlay names.

#include "ReadAloudDemo.h"

#include "DemoLaunch.h"
#include "DemoWait.h"

#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "companion/books/EpubBookLoader.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/ui/Button.h"

#include <filesystem>
#include <iomanip>
#include <vector>

namespace host {

namespace {

int epubReadAloudFail(std::ostream& out, const std::string& why)
{
    out << "Read-aloud demo failed: " << why << '\n';
    return 4;
}

} // namespace

int runEpubReadAloudDemo(lectoro::ReaderViewController& reader, std::ostream& out)
{
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader.rendererView());
    auto epub = std::dynamic_pointer_cast<lectoro::EPUBBookVO>(reader.currentBook());
    if (!renderer || !epub)
        return epubReadAloudFail(out, "not an EPUB book");
    auto& readAloud = reader.readAloud();
    if (closeOfferedReadAloudChooser(out, reader))
        out << "Chooser offered on opening\n";
    if (auto loaded = std::dynamic_pointer_cast<companion::EpubBook>(epub)) {
        for (const auto& problem : loaded->overlayProblems())
            out << "Not narrated: " << problem << '\n';
    }

    std::shared_ptr<lectoro::EPUBChapterVO> chapter;
    for (const auto& candidate : epub->chapters) {
        if (candidate && candidate->isAudioSyncSupported) {
            chapter = candidate;
            break;
        }
    }
    if (!chapter)
        return epubReadAloudFail(out, "no chapter has a media overlay that can be played");
    out << "Narrated chapter: " << chapter->href << " \"" << chapter->title << "\", "
        << chapter->audioSyncArray.count() << " clips\n";
    renderer->navigateToPageNumber(chapter->href);
    if (!waitFor(out, chapter->href, [&] { return demoPageSettled(reader, chapter->fileIndex); }))
        return epubReadAloudFail(out, "the narrated chapter did not show");

    // The top bar's read-aloud item, as a finger taps it.
    auto bar = reader.context().playerTopActionBarView;
    auto item = bar ? bar->itemWithTag(lectoro::PlayerItemReadAloud) : nullptr;
    if (!item)
        return epubReadAloudFail(out, "the top bar has no read-aloud item");
    out << "Read-aloud item enabled: " << (item->isEnabled() ? "yes" : "no") << '\n';
    reader.didTapOnPlayerActionBar(*bar, *item);
    (void)waitFor(out, "the read-aloud chooser",
        [&] { return isPresentedAndShown(readAloud.readToMeViewController()) && screenIsStill(); });
    auto chooser = readAloud.readToMeViewController();
    if (!chooser)
        return epubReadAloudFail(out, "the chooser did not open");
    chooser->readToMeButton()->sendActions(ui::ControlEvent::TouchUpInside);

    // Each word marked as the recording reaches its clip; read to me ends with the chapter.
    std::vector<std::string> marked;
    std::shared_ptr<media::Player> player;
    (void)waitFor(out, "the chapter's recording to end", [&] {
        if (auto sync = readAloud.audioSyncController(); sync && !player)
            player = sync->audioPlayer();
        const auto& word = renderer->overlayForPage(chapter->fileIndex).wordId;
        if (!word.empty() && (marked.empty() || marked.back() != word))
            marked.push_back(word);
        return player && !readAloud.audioSyncController();
    }, 30);
    if (!player || !player->currentItem())
        return epubReadAloudFail(out, "the chapter's recording did not play");
    out << "Played the recording " << std::filesystem::path(player->currentItem()->url()).filename().string()
        << std::fixed << std::setprecision(2) << " to " << player->currentTime() << " s of "
        << player->currentItem()->duration() << " s" << std::defaultfloat << '\n';
    out << "Words marked as spoken (" << marked.size() << "):";
    for (const auto& word : marked)
        out << ' ' << word;
    out << '\n';
    if (marked.size() != chapter->audioSyncArray.count())
        return epubReadAloudFail(out, "not every narrated word was marked");
    out << "Read-aloud demo: done\n";
    return 0;
}

} // namespace host
