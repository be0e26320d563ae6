// The media-book player driven as a listener would: the player view's buttons, the
// bookmark panel and the top bar's sleep timer, in real time on the host's run loop.

#include "MediaPlayerDemo.h"

#include "DemoRegistry.h"
#include "DemoWait.h"
#include "MediaBookPrinter.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/media/MVLectoroMediaBookController.h"
#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "platform/media/NowPlaying.h"


namespace host {

namespace {

struct MediaDemoHost : lectoro::MVLectoroMediaBookControllerDelegate {
    void didTapOnBackWithBookID(lectoro::MVLectoroMediaBookController&, const std::string&, const std::string& folio) override
    {
        backFolio = folio;
    }
    std::string backFolio;
};

std::string mediaDemoChapter(const lectoro::MVLectoroMediaBookReader& reader)
{
    const auto& model = reader.mediaBookModel();
    return model && model->currentChapter ? model->currentChapter->chapterTitle.value_or("") : std::string();
}

int64_t mediaDemoTime(const lectoro::MVLectoroMediaBookReader& reader)
{
    return reader.mediaBookModel() ? reader.mediaBookModel()->currentTime : 0;
}

bool mediaDemoPlaying(const lectoro::MVLectoroMediaBookReader& reader)
{
    return reader.mediaBookModel() && reader.mediaBookModel()->mediaCurrentState == lectoro::CurrentState::Playing;
}

void mediaDemoTap(lectoro::MVLectoroMediaBookReader& reader, const std::string& identifier)
{
    if (auto button = reader.audioPlayerVC() ? reader.audioPlayerVC()->button(identifier) : nullptr)
        button->sendActions(ui::ControlEvent::TouchUpInside);
}

} // namespace

int runMediaPlayerDemo(std::ostream& out, const std::string& folder)
{
    auto host = std::make_shared<MediaDemoHost>();
    auto controller = lectoro::MVLectoroMediaBookController::create();
    controller->setDelegate(host);
    controller->view()->setFrame(ui::Rect(0, 0, 390, 844));
    auto user = lectoro::LectoroUser::create();
    user->userID = "1";
    user->userToken = "host-token";
    controller->launchMediaReader(folder, mediaBookFolderId(folder), "", "", "https://lectoro.invalid", "lectoro-host", user,
        std::make_shared<lectoro::MVReaderSettingModel>(), true, std::nullopt, "1");
    controller->beginAppearanceTransition(true, false);
    controller->endAppearanceTransition();
    auto reader = controller->mediaReader();
    if (!reader || !reader->audioPlayerVC() || !waitFor(out, "the book to play", [&] { return mediaDemoPlaying(*reader); })) {
        out << "The media book cannot be played\n";
        return 3;
    }
    bool ok = true;
    out << "Playing \"" << mediaDemoChapter(*reader) << "\"\n";

    mediaDemoTap(*reader, "MediaPlayPauseButton");
    bool paused = !mediaDemoPlaying(*reader);
    mediaDemoTap(*reader, "MediaPlayPauseButton");
    bool resumed = mediaDemoPlaying(*reader);
    ok = ok && paused && resumed;
    out << "Play/pause: paused " << (paused ? "yes" : "no") << ", playing again " << (resumed ? "yes" : "no") << '\n';

    int64_t before = mediaDemoTime(*reader);
    auto chapter = mediaDemoChapter(*reader);
    mediaDemoTap(*reader, "MediaForwardButton");
    int64_t length = reader->mediaBookModel()->currentChapter->avAssetTotalTime;
    out << "Skipped 15 s in \"" << chapter << "\": from " << before << " s to " << mediaDemoTime(*reader) << " s (the chapter is "
        << length << " s long)\n";
    ok = ok && mediaDemoTime(*reader) == std::min<int64_t>(before + 15, length);

    // A bookmark needs a time past the start: playback goes on into the next chapter's first second.
    (void)waitFor(out, "a second into the next chapter",
        [&] { return mediaDemoChapter(*reader) != chapter && mediaDemoTime(*reader) > 0; });
    mediaDemoTap(*reader, "MediaBookmarkButton");
    auto panel = reader->bookmarkController();
    if (panel)
        panel->tapConfirm();
    ok = ok && panel && reader->bookmarks().size() == 1;
    if (!reader->bookmarks().empty()) {
        const auto& meta = reader->bookmarks().front()->metaData;
        out << "Bookmark added at " << meta["CurrentTime"].intValue() << " s in \"" << meta["ChapterName"].description()
            << "\"; stored bookmarks: " << reader->bookmarks().size() << '\n';
    } else {
        out << "No bookmark was added\n";
    }

    // Back to the chapter's start, so the sleep timer runs out inside it.
    mediaDemoTap(*reader, "MediaRewindButton");
    out << "Rewound 15 s: at " << mediaDemoTime(*reader) << " s of \"" << mediaDemoChapter(*reader) << "\"\n";
    if (reader->sleepButton())
        reader->sleepButton()->sendActions(ui::ControlEvent::TouchUpInside);
    if (auto sleepPanel = reader->sleepTimerVC())
        sleepPanel->chooseCustomTime(2);
    auto label = reader->audioPlayerVC()->sleepTimeLabel();
    out << "Sleep timer set: " << (label ? label->text() : std::string("(none)")) << '\n';
    bool slept = waitFor(out, "the sleep timer to run out", [&] { return !reader->isSleepTimerRunning(); });
    ok = ok && slept && !mediaDemoPlaying(*reader);
    out << "Sleep timer ran out: " << (mediaDemoPlaying(*reader) ? "still playing" : "paused") << " at " << mediaDemoTime(*reader)
        << " s of \"" << mediaDemoChapter(*reader) << "\"\n";

    if (reader->backButton())
        reader->backButton()->sendActions(ui::ControlEvent::TouchUpInside);
    const auto& info = media::NowPlayingInfoCenter::defaultCenter().nowPlayingInfo();
    ok = ok && !host->backFolio.empty() && info && info->empty();
    out << "Back: last page folio " << host->backFolio << "; lock screen cleared: " << (info && info->empty() ? "yes" : "no") << '\n';
    out << "Media player demo: " << (ok ? "done" : "a step failed") << '\n';
    return ok ? 0 : 4;
}

namespace {

const bool mediaPlayerDemoRegistered = registerDemo({ "--demo-mediaplayer", "",
    "[--book PATH]   (plays a media book: pause, skip, bookmark, sleep timer, back)", Demo::Setup::Framework,
    [](const DemoRequest& request) {
        return runMediaPlayerDemo(request.out, mediaBookFolderOr(request.bookPath, "sample-audiobook"));
    } });

} // namespace

} // namespace host
