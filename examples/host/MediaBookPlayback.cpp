// Plays a media book through the media-book controller for a few seconds of real time.

#include "MediaBookPrinter.h"

#include "DemoWait.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/media/MVLectoroMediaBookController.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "platform/base/FileManager.h"
#include "platform/base/Json.h"
#include "platform/base/RunLoop.h"

#include <cstdlib>
#include <ostream>

namespace host {

namespace {

struct PlaybackHost : lectoro::MVLectoroMediaBookControllerDelegate {
    explicit PlaybackHost(std::ostream& out) : out(out) { }
    void didFetchLastAccessedForBookID(lectoro::MVLectoroMediaBookController&, const std::string& id, const std::string& folio) override
    {
        out << "host: last accessed book " << id << ": " << folio << '\n';
    }
    void didTapOnNextMediaWithBookID(lectoro::MVLectoroMediaBookController&, const std::string& id, const std::string& folio) override
    {
        out << "host: book " << id << " ended at " << folio << '\n';
    }
    std::ostream& out;
};

bool playbackIsVideoBook(const std::string& folder)
{
    bool isFolder = false;
    return base::FileManager::defaultManager().fileExists(folder + "/video", &isFolder) && isFolder;
}

} // namespace

// The id the book's contents file gives (the parser checks the open book is that one).
int32_t mediaBookFolderId(const std::string& folder)
{
    auto text = base::FileManager::defaultManager().readFile(folder + "/toc.json");
    if (!text)
        return 0;
    auto contents = base::parseJson(*text);
    if (!contents.ok())
        return 0;
    const auto& id = contents.value()["bookId"];
    if (auto number = id.asInteger())
        return static_cast<int32_t>(*number);
    return id.isString() ? static_cast<int32_t>(std::atol(id.stringPointer()->c_str())) : 0;
}

int playMediaBook(std::ostream& out, const std::string& folder, double seconds)
{
    auto host = std::make_shared<PlaybackHost>(out);
    auto controller = lectoro::MVLectoroMediaBookController::create();
    controller->setDelegate(host);
    controller->view()->setFrame(ui::Rect(0, 0, 390, 844));
    auto user = lectoro::LectoroUser::create();
    user->userID = "1";
    user->userToken = "host-token";
    bool video = playbackIsVideoBook(folder);
    controller->launchMediaReader(folder, mediaBookFolderId(folder), "", "", "https://lectoro.invalid", "lectoro-host", user,
        std::make_shared<lectoro::MVReaderSettingModel>(), !video, std::nullopt, "1");
    controller->beginAppearanceTransition(true, false);
    controller->endAppearanceTransition();
    auto reader = controller->mediaReader();
    if (!reader || !reader->mediaBookPlayer()) {
        out << "The media book cannot be played\n";
        return 1;
    }
    out << "Playing the " << (video ? "video" : "audio") << " book for " << seconds << " s\n";
    bool started = waitFor(out, "the book to play", [&] {
        auto model = reader->mediaBookModel();
        return model && model->currentChapter && model->mediaCurrentState == lectoro::CurrentState::Playing;
    });
    // Playback is what is shown here: the position moves on in real time, a report a second.
    for (int second = 1; started && second <= static_cast<int>(seconds); ++second) {
        base::RunLoop::main().runFor(1.0);
        auto model = reader->mediaBookModel();
        auto position = reader->getMetaData();
        out << "  " << second << " s: chapter \""
            << (model && model->currentChapter ? model->currentChapter->chapterTitle.value_or("") : std::string())
            << "\" at " << (model ? model->currentTime : 0) << " s, position " << base::toJson(position) << '\n';
    }
    reader->didTapOnBack();
    out << "Closed; last page folio " << controller->lastPageFolio().value_or("") << '\n';
    return started ? 0 : 1;
}

} // namespace host
