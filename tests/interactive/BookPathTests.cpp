// Every path a book names, through every door that opens one: link actions by type, the
// glossary's media, the contents panel's web links and resources, and the audio-link player
// itself. A path that leaves the book (climbing out, absolute, a "file:" address, a
// percent-escaped "..", a link inside the book that leads out, or nothing at all) says
// "Resource not found" and opens nothing; a plain path of the book opens its file.

#include "reader/CompanionEndToEndSupport.h"
#include "reader/ReaderTaps.h"

#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/players/InteractiveMarkupPlayers.h"
#include "LectoroSDKWithReader/interactive/web/InteractiveWebContent.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/widgets/LectoroWebPlayer.h"
#include "LectoroSDKWithReader/readersdk/widgets/players/LectoroAudioPlayer.h"
#include "LectoroSDKWithReader/readersdk/widgets/players/LectoroMarkupPlayers.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/AlertController.h"

#include <filesystem>
#include <fstream>
#include <functional>

namespace lectoro {
namespace {

namespace fs = std::filesystem;

class BookPaths : public testing::TabletEndToEndTest {
protected:
    // A copy of the sample page book beside a folder it must never reach, with two links
    // inside the book that lead there.
    std::shared_ptr<ReaderViewController> openHostileCopy()
    {
        const fs::path shelf = fs::canonical(m_storage) / "shelf";
        m_book = shelf / "book";
        m_outside = shelf / "outside";
        fs::create_directories(m_outside);
        fs::copy(std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook", m_book, fs::copy_options::recursive);
        fs::copy_file(m_book / "assets/media/rain.mp3", m_outside / "secret.mp3");
        for (const char* name : { "secret.html", "secret.pdf", "secret.png" })
            std::ofstream(m_outside / name) << "not the book's";
        fs::create_directory_symlink(m_outside, m_book / "assets/escape");
        fs::create_symlink(m_outside / "secret.mp3", m_book / "assets/media/linked.mp3");
        auto package = std::make_shared<LectoroBookPackage>(m_book.string(), "1001", "978-0");
        m_launcher->launchBook(package, makeUser("6000000001", "ada-token"), serviceConfiguration());
        settle();
        auto reader = m_launcher->reader();
        if (reader)
            testing::closeOpeningOverlays(*reader);
        return reader;
    }

    // The six ways out of the book, for a file of the outside folder.
    std::vector<std::string> hostilePaths(const std::string& file) const
    {
        return {
            "../outside/" + file,
            (m_outside / file).string(),
            "file://" + (m_outside / file).string(),
            "assets/%2E%2E/%2E%2E/outside/" + file,
            "assets/escape/" + file,
            "",
        };
    }

    // A file of the book of its own for one door, so each door is seen opening its file.
    std::string ownFile(const std::string& name, const char* sampleFile) const
    {
        fs::create_directories(m_book / "assets/own");
        fs::copy_file(m_book / sampleFile, m_book / "assets/own" / name, fs::copy_options::overwrite_existing);
        return "assets/own/" + name;
    }

    static std::shared_ptr<PXLinkVO> link(int32_t type, const std::string& url)
    {
        auto made = std::make_shared<PXLinkVO>();
        made->linkType = type;
        made->linkID = 9000 + type;
        made->pageID = "101";
        made->url = url;
        return made;
    }

    static std::shared_ptr<LectoroDocumentPlayer> documentPlayer(ReaderViewController& reader)
    {
        for (const auto& child : reader.childViewControllers()) {
            if (auto player = std::dynamic_pointer_cast<LectoroDocumentPlayer>(child))
                return player;
        }
        return nullptr;
    }

    fs::path m_book;
    fs::path m_outside;
};

TEST_F(BookPaths, EveryDoorRefusesAPathLeavingTheBookAndOpensAPlainOne)
{
    auto reader = openHostileCopy();
    ASSERT_TRUE(reader);
    auto& interactive = reader->interactiveContent();
    auto& players = interactive.players();
    auto& web = interactive.webContent();
    const std::string inside = m_book.string();
    const char* sound = "assets/media/rain.mp3";
    const char* picture = "assets/pages/page-101.png";
    const char* page = "assets/html/water-quiz/index.html";

    struct Door {
        const char* name;
        // The outside file it is tried with, and a file of the book it opens.
        const char* secret;
        std::string own;
        std::function<void(const std::string&)> open;
        // The file or address it opened; empty when nothing.
        std::function<std::string()> opened;
    };
    auto byLink = [&](int32_t type) { return [&, type](const std::string& path) { interactive.actionForLink(link(type, path)); }; };
    auto video = [&] { return players.currentVideoPlayer() ? players.currentVideoPlayer()->videoPath() : std::string(); };
    auto image = [&] {
        auto viewer = players.imageController();
        return viewer && !viewer->imageURLs().empty() ? viewer->imageURLs().front() : std::string();
    };
    auto webPage = [&] { return web.currentWebPlayer() ? web.currentWebPlayer()->url().absoluteString() : std::string(); };
    auto audio = [&] { return players.audioPlayer() ? players.audioPlayer()->mediaPath() : std::string(); };
    auto document = [&] {
        auto player = documentPlayer(*reader);
        return player ? player->url().absoluteString() : std::string();
    };
    auto glossary = [&](int64_t kind) {
        return [&, kind](const std::string& path) { interactive.didSelectGlossaryItemWithType(kind, path); };
    };
    const Door doors[] = {
        { "video link (3)", "secret.mp3", ownFile("video-3.mp3", sound), byLink(3), video },
        { "image link (4)", "secret.png", ownFile("image-4.png", picture), byLink(4), image },
        { "slide show link (14)", "secret.png", ownFile("image-14.png", picture), byLink(14), image },
        { "magnified image link (22)", "secret.png", ownFile("image-22.png", picture), byLink(22), image },
        { "web link (9)", "secret.html", ownFile("web-9.html", page), byLink(9), webPage },
        { "document link (10)", "secret.pdf", ownFile("document-10.html", page), byLink(10), document },
        { "audio link (2)", "secret.mp3", ownFile("audio-2.mp3", sound), byLink(2), audio },
        { "glossary audio", "secret.mp3", ownFile("glossary-audio.mp3", sound), glossary(0), audio },
        { "glossary video", "secret.mp3", ownFile("glossary-video.mp3", sound), glossary(1), video },
        { "glossary image", "secret.png", ownFile("glossary-image.png", picture), glossary(2), image },
        { "glossary web", "secret.html", ownFile("glossary-web.html", page), glossary(3), webPage },
        { "contents web link", "secret.html", ownFile("contents-web.html", page),
            [&](const std::string& path) { reader->contents().didLoadWebLinkForStandardsWithWebLink(path); },
            [&] { return reader->contents().webPlayer() ? reader->contents().webPlayer()->url().absoluteString() : std::string(); } },
        { "resource audio", "secret.mp3", ownFile("resource-audio.mp3", sound),
            [&](const std::string& path) { interactive.actionForResource(path, 1); }, audio },
        { "resource web page", "secret.html", ownFile("resource-web.html", page),
            [&](const std::string& path) { interactive.actionForResource(path, 6); }, webPage },
    };
    const std::string notFound = LocalizationHelper::localizedStringWithKey("RESOURCE_NOT_FOUND");
    for (const auto& door : doors) {
        for (const std::string& path : hostilePaths(door.secret)) {
            SCOPED_TRACE(std::string(door.name) + " \"" + path + "\"");
            door.open(path);
            settle();
            EXPECT_EQ(door.opened(), "") << "opened something";
            auto alert = uitest::topmostAlert();
            ASSERT_TRUE(alert);
            EXPECT_EQ(alert->message().value_or(""), notFound);
            ASSERT_TRUE(uitest::tapActionAtIndex(0));
            settle();
        }
    }
    for (const auto& door : doors) {
        SCOPED_TRACE(door.name);
        door.open(door.own);
        // Looked at before the clock moves: a short recording would play out and close.
        base::waitForBackgroundWork();
        uitest::completePresentations();
        base::RunLoop::main().runUntilIdle();
        std::string opened = door.opened();
        EXPECT_NE(opened.find(door.own), std::string::npos) << opened;
        EXPECT_TRUE(opened.find(inside) != std::string::npos
            || opened.find(base::URL::fileURL(inside).absoluteString()) != std::string::npos)
            << opened;
        EXPECT_FALSE(uitest::topmostAlert()) << "no \"Resource not found\" for a file the book has";
        while (uitest::topmostAlert() && uitest::tapActionAtIndex(0))
            settle();
    }
}

TEST_F(BookPaths, TheAudioLinkPlayerPlaysOnlyAFileOfTheBook)
{
    auto reader = openHostileCopy();
    ASSERT_TRUE(reader);
    const std::string folder = m_book.string();
    for (const std::string& path : hostilePaths("secret.mp3")) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(LectoroAudioPlayer::create(path, folder, "978-0", true, false));
    }
    auto own = LectoroAudioPlayer::create("assets/media/rain.mp3", folder, "978-0", true, false);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->mediaPath(), folder + "/assets/media/rain.mp3");
    EXPECT_FALSE(own->isExternal());
    auto remote = LectoroAudioPlayer::create("https://example.org/rain.mp3", folder, "978-0", true, false);
    ASSERT_TRUE(remote);
    EXPECT_TRUE(remote->isExternal());
}

} // namespace
} // namespace lectoro
