// Media books that try to hang the reader, read outside the book or lie about their times.

#include "companion/media/MediaBookTestSupport.h"

#include "companion/books/BookErrors.h"
#include "companion/store/TemporaryFolder.h"
#include "platform/media/MediaError.h"
#include "platform/media/MediaTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace mediabooktest;
using companiontest::samplePath;
using companiontest::writeFile;

namespace {

namespace fs = std::filesystem;

// A hang fails the test instead of stopping the program.
constexpr double hostileBookHangGuard = 20;

std::string hostileDashManifest(const std::string& baseURL)
{
    return "<?xml version=\"1.0\"?>\n<MPD xmlns=\"urn:mpeg:dash:schema:mpd:2011\" type=\"static\" "
           "mediaPresentationDuration=\"PT5S\" profiles=\"urn:mpeg:dash:profile:isoff-on-demand:2011\">\n<BaseURL>"
        + baseURL + "</BaseURL>\n<Period><AdaptationSet><Representation id=\"1\" bandwidth=\"1\"/></AdaptationSet></Period>\n</MPD>\n";
}

class MediaBookHostile : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Reads another test left running must not be taken for this one's.
        base::waitForBackgroundWork();
        base::RunLoop::main().reset();
    }
    void TearDown() override { settle(); }

    // A book in its own folder whose one chapter is `src`.
    fs::path bookWithChapter(const std::string& name, const std::string& src)
    {
        fs::path book = folder.path() / name;
        writeFile(book / "toc.json", R"({"title": "Hostile", "chapters": [{"src": ")" + src + R"("}]})");
        return book;
    }

    companion::testing::TemporaryFolder folder;
};

TEST_F(MediaBookHostile, FifosReachedThroughTheBookAreRefusedWhileTheMainLoopGoesOn)
{
    std::string outsideFifo = mediatest::makeFifo((folder.path() / "outside/fifo.wav").string());
    fs::path stream = bookWithChapter("stream", "audio/list.m3u8");
    writeFile(stream / "audio/list.m3u8", "#EXTM3U\n#EXTINF:1,\nseg0.ts\n");
    std::string segmentFifo = mediatest::makeFifo((stream / "audio/seg0.ts").string());
    fs::path dash = bookWithChapter("dash", "a.mp4");
    writeFile(dash / "a.mp4", hostileDashManifest(outsideFifo));
    mediatest::FifoWatchdog watchdog({ outsideFifo, segmentFifo }, hostileBookHangGuard);
    mediatest::MediaOpenRecorder opens;

    for (const fs::path& book : { stream, dash }) {
        SCOPED_TRACE(book.filename().string());
        auto model = modelFor(book.string());
        // parse() fails the test when a handler runs before the call returns.
        auto parsed = parse(model);
        ASSERT_FALSE(parsed.ok());
        EXPECT_EQ(parsed.error().domain, media::avFoundationErrorDomain) << parsed.error().description();
        EXPECT_EQ(parsed.error().code, media::errorFileFormatNotRecognized) << parsed.error().description();
        EXPECT_FALSE(model->chapters);
    }
    EXPECT_FALSE(watchdog.fired()) << "a read waited on a FIFO";
    for (const std::string& path : opens.opened())
        EXPECT_TRUE(path != outsideFifo && path != segmentFifo) << "opened " << path;
    EXPECT_FALSE(opens.mentions("outside")) << ::testing::PrintToString(opens.refused());
}

TEST_F(MediaBookHostile, MediaNamingFilesOutsideTheBookNeverOpensThem)
{
    std::string secret = (folder.path() / "outside/secret.m4a").string();
    fs::create_directories(folder.path() / "outside");
    fs::copy_file(samplePath("sample-audiobook") + "/audio/chapter-2.m4a", secret);

    fs::path dash = bookWithChapter("dash", "a.mp4");
    writeFile(dash / "a.mp4", hostileDashManifest("file://" + secret));
    fs::path linkedSegment = bookWithChapter("linked-segment", "list.m3u8");
    writeFile(linkedSegment / "list.m3u8", "#EXTM3U\n#EXTINF:4,\nseg.m4a\n");
    fs::create_symlink(secret, linkedSegment / "seg.m4a");
    fs::path linkedVariant = bookWithChapter("linked-variant", "master.m3u8");
    writeFile(linkedVariant / "master.m3u8", "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\nv/index.m3u8\n");
    writeFile(folder.path() / "outside/v/index.m3u8", "#EXTM3U\n#EXTINF:4,\n../secret.m4a\n");
    fs::create_symlink(folder.path() / "outside/v", linkedVariant / "v");

    struct Case {
        fs::path book;
        int64_t code;
    };
    const Case cases[] = {
        { dash, media::errorFileFormatNotRecognized },
        { linkedSegment, media::errorUnsafePath },
        { linkedVariant, media::errorUnsafePath },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.book.filename().string());
        mediatest::MediaOpenRecorder opens;
        auto parsed = parse(modelFor(c.book.string()));
        ASSERT_FALSE(parsed.ok());
        EXPECT_EQ(parsed.error().code, c.code) << parsed.error().description();
        for (const std::string& path : opens.opened())
            EXPECT_EQ(path.find("outside"), std::string::npos) << "opened " << path;
    }
}

TEST_F(MediaBookHostile, TimesPastTheLongestMediaAreRefusedBeforeTheyAreAddedOrConverted)
{
    const std::string audio = samplePath("sample-audiobook") + "/audio/chapter-2.m4a";
    struct Case {
        const char* name;
        std::string toc;
        std::string timeIndex;
        std::string playlist;
        const char* domain;
        int64_t code;
        const char* mentions;
    };
    const std::string oneChapter = R"({"chapters": [{"src": "a.m4a"}]})";
    const Case cases[] = {
        { "huge chapter start", R"({"chapters": [{"src": "a.m4a", "start": 1e300}]})", "", "", companion::bookErrorDomain,
            static_cast<int64_t>(companion::BookError::Malformed), "maxMediaDuration" },
        { "huge time index", oneChapter, R"({"timeIndex": [{"startTime": 0, "endTime": 1e300}]})", "", companion::bookErrorDomain,
            static_cast<int64_t>(companion::BookError::Malformed), "maxMediaDuration" },
        { "huge segment", R"({"chapters": [{"src": "list.m3u8"}]})", "", "#EXTM3U\n#EXTINF:1e300,\na.m4a\n",
            media::avFoundationErrorDomain, media::errorFileFailedToParse, "line 2" },
        { "segments past the bound", R"({"chapters": [{"src": "list.m3u8"}]})", "",
            "#EXTM3U\n#EXTINF:600000,\na.m4a\n#EXTINF:600000,\na.m4a\n", media::avFoundationErrorDomain,
            media::errorFileFailedToParse, "line 4" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::path book = folder.path() / c.name;
        fs::create_directories(book);
        fs::copy_file(audio, book / "a.m4a");
        writeFile(book / "toc.json", c.toc);
        if (!c.timeIndex.empty())
            writeFile(book / "time-index.json", c.timeIndex);
        if (!c.playlist.empty())
            writeFile(book / "list.m3u8", c.playlist);
        auto parsed = parse(modelFor(book.string()));
        ASSERT_FALSE(parsed.ok());
        EXPECT_EQ(parsed.error().domain, c.domain);
        EXPECT_EQ(parsed.error().code, c.code) << parsed.error().description();
        EXPECT_NE(parsed.error().description().find(c.mentions), std::string::npos) << parsed.error().description();
    }

    // Chapters within the bound each, past it together.
    fs::path book = folder.path() / "long";
    fs::create_directories(book);
    fs::copy_file(audio, book / "a.m4a");
    writeFile(book / "toc.json", R"({"chapters": [{"src": "a.m4a"}, {"src": "a.m4a#2"}, {"src": "a.m4a#3"}]})");
    media::AssetLimits limits;
    limits.maxMediaDuration = 10;
    auto parsed = parse(modelFor(book.string()), false, companion::MediaBookParser({}, limits));
    ASSERT_FALSE(parsed.ok());
    EXPECT_EQ(parsed.error().code, static_cast<int64_t>(companion::BookError::TooLarge));
    EXPECT_NE(parsed.error().description().find("maxMediaDuration"), std::string::npos) << parsed.error().description();
}

TEST_F(MediaBookHostile, ChaptersOfOneFileEndWhereTheNextLaterStartBegins)
{
    // chapter-1.m4a lasts 5.89 s; starts out of order still end at the first later chapter of
    // the file that starts after them.
    fs::path book = folder.path() / "shared";
    fs::create_directories(book);
    fs::copy_file(samplePath("sample-audiobook") + "/audio/chapter-1.m4a", book / "a.m4a");
    writeFile(book / "toc.json",
        R"({"chapters": [{"src": "a.m4a#1", "start": 0}, {"src": "a.m4a#2", "start": 3}, {"src": "a.m4a#3", "start": 1},)"
        R"( {"src": "a.m4a#4", "start": 1}]})");
    auto parsed = parse(modelFor(book.string()));
    ASSERT_TRUE(parsed.ok()) << parsed.error().description();
    std::vector<int64_t> lengths;
    for (const auto& chapter : parsed.value()->mediaBookAllChaptersArray)
        lengths.push_back(chapter->avAssetTotalTime);
    EXPECT_EQ(lengths, (std::vector<int64_t> { 3, 2, 4, 4 }));
}

} // namespace
