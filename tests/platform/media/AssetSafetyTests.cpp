// Media files as a hostile book brings them: FIFOs, manifests that name other files, links out
// of the book, files past the limits and headers that lie about their length.

#include "MediaTestSupport.h"

#include "platform/media/Asset.h"
#include "platform/media/MediaError.h"
#include "platform/media/Player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

using media::Asset;
using mediatest::FifoWatchdog;
using mediatest::MediaOpenRecorder;
using mediatest::TemporaryFolder;
using mediatest::wavBytes;

// Long enough for a slow sanitizer build, short enough that a hang fails the test.
constexpr double hangGuardSeconds = 20;

media::AssetLoadOptions rootedAt(const std::string& folder, media::AssetLimits limits = {})
{
    media::AssetLoadOptions options;
    options.root = folder;
    options.limits = limits;
    return options;
}

std::string dashManifest(const std::string& baseURL)
{
    return "<?xml version=\"1.0\"?>\n"
           "<MPD xmlns=\"urn:mpeg:dash:schema:mpd:2011\" type=\"static\" mediaPresentationDuration=\"PT5S\" "
           "minBufferTime=\"PT1S\" profiles=\"urn:mpeg:dash:profile:isoff-on-demand:2011\">\n"
           "  <BaseURL>"
        + baseURL
        + "</BaseURL>\n"
          "  <Period><AdaptationSet mimeType=\"audio/wav\"><Representation id=\"1\" bandwidth=\"128000\">"
          "<BaseURL>sound.wav</BaseURL></Representation></AdaptationSet></Period>\n"
          "</MPD>\n";
}

TEST(AssetSafetyTest, aFifoReachedThroughABookIsRefusedWithoutWaitingOnIt)
{
    TemporaryFolder folder;
    const std::string book = folder.path() + "/book";
    std::vector<std::string> fifos = {
        mediatest::makeFifo(book + "/stream/seg0.ts"),
        mediatest::makeFifo(book + "/variant/index.m3u8"),
        mediatest::makeFifo(book + "/chapter.m4a"),
        mediatest::makeFifo(folder.path() + "/outside/fifo.ts"),
    };
    FifoWatchdog watchdog(fifos, hangGuardSeconds);
    MediaOpenRecorder opens;

    struct Case {
        const char* name;
        std::string load;
        bool refused;
    };
    folder.write("book/stream/list.m3u8", "#EXTM3U\n#EXTINF:1,\nseg0.ts\n");
    folder.write("book/master.m3u8", "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\nvariant/index.m3u8\n");
    // A segment that is itself a playlist naming a FIFO outside: a demuxer's own playlist
    // reader would follow it; the stream still loads, with the tracks its playlist gives.
    folder.write("book/nested/seg0.ts", "#EXTM3U\n#EXTINF:1,\n" + fifos[3] + "\n");
    folder.write("book/nested/list.m3u8", "#EXTM3U\n#EXTINF:1,\nseg0.ts\n");
    const Case cases[] = {
        { "first segment", book + "/stream/list.m3u8", true },
        { "variant playlist", book + "/master.m3u8", true },
        { "the chapter itself", book + "/chapter.m4a", true },
        { "a segment naming one", book + "/nested/list.m3u8", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto asset = Asset::load(c.load, rootedAt(book));
        ASSERT_EQ(asset.ok(), !c.refused) << (asset.ok() ? "loaded" : asset.error().localizedDescription());
        if (c.refused) {
            EXPECT_EQ(asset.error().code, media::errorFileFormatNotRecognized);
            EXPECT_NE(asset.error().localizedDescription().find("Not a regular file"), std::string::npos)
                << asset.error().localizedDescription();
        }
    }
    EXPECT_FALSE(watchdog.fired()) << "a read waited on a FIFO";
    for (const std::string& path : opens.opened())
        EXPECT_EQ(std::find(fifos.begin(), fifos.end(), path), fifos.end()) << "opened " << path;
    EXPECT_FALSE(opens.mentions("outside")) << "the nested playlist was followed";
}

TEST(AssetSafetyTest, aManifestNamedLikeMediaOpensNothingButItself)
{
    TemporaryFolder folder;
    std::string secret = folder.write("outside/secret.wav", wavBytes(1.0));
    std::string fifo = mediatest::makeFifo(folder.path() + "/outside/fifo.wav");
    FifoWatchdog watchdog({ fifo }, hangGuardSeconds);
    const std::string book = folder.path() + "/book";

    for (const std::string& baseURL : { secret, "file://" + secret, fifo, "file://" + folder.path() + "/outside/" }) {
        SCOPED_TRACE(baseURL);
        std::string manifest = folder.write("book/a.mp4", dashManifest(baseURL));
        MediaOpenRecorder opens;
        auto asset = Asset::load(manifest, rootedAt(book));
        ASSERT_FALSE(asset.ok());
        EXPECT_EQ(asset.error().code, media::errorFileFormatNotRecognized);
        EXPECT_NE(asset.error().localizedDescription().find("dash"), std::string::npos) << asset.error().localizedDescription();
        EXPECT_EQ(opens.opened(), std::vector<std::string> { manifest });
        EXPECT_FALSE(opens.mentions("outside"));
    }
    EXPECT_FALSE(watchdog.fired());

    // Plain media is opened once, and only through the layer.
    std::string sound = folder.write("book/sound.wav", wavBytes(1.0));
    MediaOpenRecorder opens;
    ASSERT_TRUE(Asset::load(sound, rootedAt(book)).ok());
    EXPECT_EQ(opens.opened(), std::vector<std::string> { sound });
    EXPECT_TRUE(opens.refused().empty());
}

TEST(AssetSafetyTest, linksThatLeaveTheBookAreRefusedAndLinksInsideAreFollowed)
{
    namespace fs = std::filesystem;
    TemporaryFolder folder;
    folder.write("outside/seg.wav", wavBytes(1.0));
    folder.write("outside/index.m3u8", "#EXTM3U\n#EXTINF:1,\nseg.wav\n");
    folder.write("outside/chapter.wav", wavBytes(1.0));
    const std::string book = folder.path() + "/book";
    fs::create_directories(book + "/variant");
    fs::create_directories(book + "/segments");
    fs::create_symlink(folder.path() + "/outside/index.m3u8", book + "/variant/index.m3u8");
    folder.write("book/master.m3u8", "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\nvariant/index.m3u8\n");
    fs::create_symlink(folder.path() + "/outside/seg.wav", book + "/segments/seg.wav");
    folder.write("book/segments/list.m3u8", "#EXTM3U\n#EXTINF:1,\nseg.wav\n");
    fs::create_symlink(folder.path() + "/outside", book + "/linked");
    fs::create_symlink(folder.path() + "/outside/chapter.wav", book + "/chapter.wav");

    MediaOpenRecorder opens;
    for (const char* name : { "master.m3u8", "segments/list.m3u8", "linked/index.m3u8", "chapter.wav" }) {
        SCOPED_TRACE(name);
        auto asset = Asset::load(book + "/" + name, rootedAt(book));
        ASSERT_FALSE(asset.ok());
        EXPECT_EQ(asset.error().code, media::errorUnsafePath) << asset.error().localizedDescription();
    }
    for (const std::string& path : opens.opened())
        EXPECT_EQ(path.find("/outside/"), std::string::npos) << "opened " << path;

    // Without a root, a playlist's files stay inside the playlist's own folder.
    auto unrooted = Asset::load(book + "/segments/list.m3u8");
    ASSERT_FALSE(unrooted.ok());
    EXPECT_EQ(unrooted.error().code, media::errorUnsafePath);

    std::string real = folder.write("book/audio/real.wav", wavBytes(2.0));
    fs::create_symlink(real, book + "/alias.wav");
    folder.write("book/inside.m3u8", "#EXTM3U\n#EXTINF:2,\nalias.wav\n");
    auto inside = Asset::load(book + "/inside.m3u8", rootedAt(book));
    ASSERT_TRUE(inside.ok()) << inside.error().localizedDescription();
    EXPECT_DOUBLE_EQ(inside->duration, 2.0);
    ASSERT_EQ(inside->tracks.size(), 1u);
}

TEST(AssetSafetyTest, aFilePastALimitIsRefusedNamingTheLimit)
{
    TemporaryFolder folder;
    std::string longList = "#EXTM3U\n";
    for (int i = 0; i < 20; ++i)
        longList += "#EXTINF:1,\nseg" + std::to_string(i) + ".ts\n";
    struct Case {
        const char* limit;
        std::string fileName;
        std::string bytes;
        void (*narrow)(media::AssetLimits&);
    };
    const Case cases[] = {
        { "maxPlaylistBytes", "long.m3u8", longList, [](media::AssetLimits& l) { l.maxPlaylistBytes = 64; } },
        { "maxSegmentsPerPlaylist", "many.m3u8", longList, [](media::AssetLimits& l) { l.maxSegmentsPerPlaylist = 10; } },
        { "maxMediaDuration", "many-seconds.m3u8", longList, [](media::AssetLimits& l) { l.maxMediaDuration = 10; } },
        { "maxBytesReadPerFile", "sound.wav", wavBytes(2.0), [](media::AssetLimits& l) { l.maxBytesReadPerFile = 1024; } },
        { "maxMediaDuration", "long.wav", wavBytes(3.0), [](media::AssetLimits& l) { l.maxMediaDuration = 2; } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        std::string path = folder.write(c.fileName, c.bytes);
        media::AssetLimits limits;
        c.narrow(limits);
        auto asset = Asset::load(path, rootedAt(folder.path(), limits));
        ASSERT_FALSE(asset.ok());
        EXPECT_EQ(asset.error().code, media::errorFileFailedToParse);
        EXPECT_NE(asset.error().localizedDescription().find(c.limit), std::string::npos) << asset.error().localizedDescription();
        EXPECT_TRUE(Asset::load(path, rootedAt(folder.path())).ok()) << "within the default limits";
    }

    // Zeros named like music are not read to their end.
    std::string zeros = folder.write("zeros.mp3", std::string(4 << 20, '\0'));
    media::AssetLimits small;
    small.maxBytesReadPerFile = 1 << 20;
    auto silence = Asset::load(zeros, rootedAt(folder.path(), small));
    ASSERT_FALSE(silence.ok());
}

// The sample's four-second chapter with every length in its header set to 4,294,967,295
// (the movie's in seconds).
std::string m4aClaimingForever()
{
    std::ifstream in(std::string(LECTORO_SAMPLES_DIR) + "/books/sample-audiobook/audio/chapter-2.m4a", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto put = [&](const char* atom, size_t offset, uint32_t value) {
        size_t at = bytes.find(atom);
        if (at == std::string::npos || at + offset + 4 > bytes.size())
            throw std::runtime_error(std::string("the sample has no ") + atom);
        for (int i = 0; i < 4; ++i)
            bytes[at + offset + static_cast<size_t>(i)] = static_cast<char>((value >> (24 - 8 * i)) & 0xFF);
    };
    put("mvhd", 16, 1);
    put("mvhd", 20, 0xFFFFFFFF);
    put("tkhd", 24, 0xFFFFFFFF);
    put("elst", 12, 0xFFFFFFFF);
    put("mdhd", 20, 0xFFFFFFFF);
    return bytes;
}

TEST(AssetSafetyTest, aHeaderClaimingMoreThanItsBytesHoldIsNotBelieved)
{
    TemporaryFolder folder;
    auto m4a = Asset::load(folder.write("forever.m4a", m4aClaimingForever()));
    ASSERT_TRUE(m4a.ok()) << m4a.error().localizedDescription();
    EXPECT_GT(m4a->duration, 3.0);
    EXPECT_LT(m4a->duration, 10.0) << "10 KB at its 18 kbit/s";

    // One second of sound whose header claims 4,294,967,295 samples (149 hours at 8 kHz).
    std::string path = folder.write("liar.wav", mediatest::wavBytesClaiming(1.0, 4294967295.0 / 8000));
    auto asset = Asset::load(path);
    ASSERT_TRUE(asset.ok()) << asset.error().localizedDescription();
    EXPECT_NEAR(asset->duration, 1.0, 0.05) << "the length its bytes hold at its bit rate";
    ASSERT_EQ(asset->tracks.size(), 1u);
    EXPECT_LE(asset->tracks[0].duration, asset->duration);

    auto player = media::Player::create(media::PlayerItem::create(path));
    mediatest::settle();
    ASSERT_EQ(player->currentItem()->status(), media::PlayerItem::Status::ReadyToPlay);
    player->seekToTime(1e6);
    mediatest::settle();
    EXPECT_LE(player->currentTime(), 1.05) << "a seek cannot pass the real end";
}

} // namespace
