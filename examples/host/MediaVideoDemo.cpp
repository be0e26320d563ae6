// The video controls, the settings pop-over and next media, played in real time.

#include "MediaVideoDemo.h"

#include "DemoRegistry.h"
#include "DemoWait.h"
#include "MediaBookPrinter.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/media/MVLectoroMediaBookController.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPanels.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPlayerViews.h"
#include "platform/ui/Label.h"

#include <algorithm>

namespace host {

namespace {

struct VideoDemoHost : lectoro::MVLectoroMediaBookControllerDelegate {
    explicit VideoDemoHost(std::ostream& out)
        : out(out)
    {
    }
    void didTapOnNextMediaWithBookID(
        lectoro::MVLectoroMediaBookController&, const std::string& id, const std::string& folio) override
    {
        out << "host: next media after book " << id << " at " << folio << '\n';
        ++nexts;
    }
    std::ostream& out;
    int nexts = 0;
};

const char* videoDemoYesNo(bool value)
{
    return value ? "yes" : "no";
}

std::string videoDemoJoin(const std::vector<std::string>& items)
{
    std::string text;
    for (const auto& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

} // namespace

int runMediaVideoDemo(std::ostream& out, const std::string& bookPath)
{
    std::string folder = mediaBookFolderOr(bookPath, "sample-videobook");
    auto host = std::make_shared<VideoDemoHost>(out);
    auto controller = lectoro::MVLectoroMediaBookController::create();
    controller->setDelegate(host);
    controller->view()->setFrame(ui::Rect(0, 0, 1024, 768));
    auto user = lectoro::LectoroUser::create();
    user->userID = "1";
    user->userToken = "host-token";
    controller->enabledNextPreviousFeature(true);
    controller->setNextPreviousMediaArray({ 9101, 9102, 9103 });
    controller->launchMediaReader(folder, 9102, "", "", "https://lectoro.invalid", "lectoro-host", user,
        std::make_shared<lectoro::MVReaderSettingModel>(), false, std::nullopt, "1");
    controller->beginAppearanceTransition(true, false);
    controller->endAppearanceTransition();
    auto reader = controller->mediaReader();
    auto video = reader ? reader->videoPlayerView() : nullptr;
    if (!video || !reader->mediaBookPlayer()) {
        out << "The video book cannot be played\n";
        return 3;
    }
    bool playing = waitFor(
        out, "the video to play", [&] { return reader->mediaBookModel()->mediaCurrentState == lectoro::CurrentState::Playing; });
    out << "Video playing: " << videoDemoYesNo(playing) << ", chapter \""
        << (reader->mediaBookModel()->currentChapter
                   ? reader->mediaBookModel()->currentChapter->chapterTitle.value_or("")
                   : "")
        << "\"\n";
    bool ok = playing;

    video->button("MediaVideoMuteButton")->sendActions(ui::ControlEvent::TouchUpInside);
    out << "Mute tapped: player muted " << videoDemoYesNo(reader->mediaBookPlayer()->isMuted()) << '\n';
    ok = ok && reader->mediaBookPlayer()->isMuted();

    video->button("MediaVideoMoreOptionsButton")->sendActions(ui::ControlEvent::TouchUpInside);
    auto settings = reader->popOverViewController();
    if (!settings) {
        out << "No settings pop-over\n";
        return 4;
    }
    out << "Settings pop-over: " << videoDemoJoin(settings->model().itemsTitles) << '\n';
    auto subtitles = std::find(settings->model().itemsTitles.begin(), settings->model().itemsTitles.end(),
        reader->settingsEntries().titles.back());
    settings->tapItem(static_cast<size_t>(subtitles - settings->model().itemsTitles.begin()));
    auto values = reader->popOverViewController();
    if (!values || values->model().itemsTitles.empty()) {
        out << "No subtitle list\n";
        return 4;
    }
    out << "\"" << values->model().popOverTitle << "\" lists: " << videoDemoJoin(values->model().itemsTitles)
        << '\n';
    values->tapItem(0);
    auto notice = std::dynamic_pointer_cast<ui::Label>(
        reader->view()->viewWithAccessibilityIdentifier("MediaSubtitleNotice"));
    auto chosen = reader->mediaBookPlayer()->currentSelectedSubtitle();
    out << "Picked \"" << values->model().itemsTitles.front() << "\": player subtitle "
        << chosen.value_or("(none)") << ", notice \"" << (notice ? notice->text() : std::string()) << "\"\n";
    ok = ok && chosen == values->model().itemsTitles.front() && notice;
    // The notice stays up a moment on purpose, then goes.
    bool noticeGone = waitFor(
        out, "the subtitle notice to go", [&] { return !reader->view()->viewWithAccessibilityIdentifier("MediaSubtitleNotice"); });
    out << "Notice gone: " << videoDemoYesNo(noticeGone) << '\n';

    reader->nextMediaButton()->sendActions(ui::ControlEvent::TouchUpInside);
    bool reset = !reader->mediaBookPlayer()->currentSelectedSubtitle() && !video->subtitleViewState()
        && reader->nextMediaButton()->isHidden() && reader->mediaBookModel()->mediaNarrationSpeedRate == 1.0f;
    out << "Next media: host told " << host->nexts
        << " time(s); subtitles off, controls hidden, speed 1.0: " << videoDemoYesNo(reset) << '\n';
    ok = ok && noticeGone && host->nexts == 1 && reset;
    reader->closePlayer();
    out << "Media video demo: " << (ok ? "done" : "FAILED") << '\n';
    return ok ? 0 : 4;
}

namespace {

const bool mediaVideoDemoRegistered = registerDemo({ "--demo-mediavideo", "",
    "[--book PATH]   (a video book: mute, settings, a subtitle, next media)", Demo::Setup::Framework,
    [](const DemoRequest& request) { return runMediaVideoDemo(request.out, request.bookPath); } });

} // namespace

} // namespace host
