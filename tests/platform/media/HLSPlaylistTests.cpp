#include "platform/media/HLSPlaylist.h"
#include "platform/media/MediaError.h"

#include <gtest/gtest.h>

namespace {

using media::HLSRendition;
namespace hls = media::hls;

constexpr const char* masterText =
    "#EXTM3U\r\n"
    "#EXT-X-VERSION:4\r\n"
    "#EXT-X-INDEPENDENT-SEGMENTS\r\n"
    "#EXT-X-MEDIA:TYPE=AUDIO,GROUP-ID=\"aac\",NAME=\"English\",LANGUAGE=\"en\",DEFAULT=YES,AUTOSELECT=YES,URI=\"audio/en.m3u8\"\r\n"
    "#EXT-X-MEDIA:TYPE=AUDIO,GROUP-ID=\"aac\",NAME=\"Français, Canada\",LANGUAGE=\"fr-CA\",URI=\"audio/fr.m3u8\"\r\n"
    "#EXT-X-MEDIA:TYPE=SUBTITLES,GROUP-ID=\"subs\",NAME=\"English\",LANGUAGE=\"en\",FORCED=NO,URI=\"subs/en.m3u8\"\r\n"
    "\r\n"
    "#EXT-X-STREAM-INF:BANDWIDTH=1280000,AVERAGE-BANDWIDTH=1000000,RESOLUTION=640x360,CODECS=\"avc1.4d401e,mp4a.40.2\",AUDIO=\"aac\",SUBTITLES=\"subs\"\r\n"
    "video/360.m3u8\r\n"
    "#EXT-X-STREAM-INF:BANDWIDTH=2560000,RESOLUTION=1280x720,FRAME-RATE=29.970,AUDIO=\"aac\",SUBTITLES=\"subs\"\r\n"
    "video/720.m3u8?token=abc\r\n"
    "#EXT-X-I-FRAME-STREAM-INF:BANDWIDTH=86000,URI=\"video/iframes.m3u8\"\r\n";

TEST(HLSPlaylistTest, aMasterPlaylistListsVariantsAudioLanguagesAndSubtitles)
{
    auto kind = hls::playlistKind(masterText);
    ASSERT_TRUE(kind.ok());
    EXPECT_EQ(kind.value(), hls::PlaylistKind::Master);

    auto master = hls::parseMasterPlaylist(masterText);
    ASSERT_TRUE(master.ok()) << master.error().localizedDescription();
    EXPECT_EQ(master->version, 4);
    EXPECT_TRUE(master->independentSegments);

    auto variants = master->variantsByBandwidth();
    ASSERT_EQ(variants.size(), 2u);
    EXPECT_EQ(variants[0].uri, "video/720.m3u8?token=abc");
    EXPECT_EQ(variants[0].width, 1280);
    EXPECT_NEAR(variants[0].frameRate, 29.97, 1e-9);
    EXPECT_EQ(variants[1].bandwidth, 1280000);
    EXPECT_EQ(variants[1].averageBandwidth, 1000000);
    EXPECT_EQ(variants[1].codecs, "avc1.4d401e,mp4a.40.2") << "a quoted value keeps its commas";
    EXPECT_EQ(variants[1].audioGroup, "aac");
    EXPECT_EQ(variants[1].subtitlesGroup, "subs");
    EXPECT_EQ(master->variants.size(), 3u) << "the I-frame variant is listed but not playable";

    auto audio = master->renditionsOfType(HLSRendition::Type::Audio);
    ASSERT_EQ(audio.size(), 2u);
    EXPECT_EQ(audio[0].language, "en");
    EXPECT_TRUE(audio[0].isDefault);
    EXPECT_EQ(audio[1].name, "Français, Canada");
    EXPECT_EQ(audio[1].language, "fr-CA");
    EXPECT_FALSE(audio[1].isDefault);
    auto subtitles = master->renditionsOfType(HLSRendition::Type::Subtitles);
    ASSERT_EQ(subtitles.size(), 1u);
    EXPECT_EQ(subtitles[0].uri, "subs/en.m3u8");

    EXPECT_EQ(master->referencedURIs(), (std::vector<std::string> { "video/360.m3u8", "video/720.m3u8?token=abc",
        "video/iframes.m3u8", "audio/en.m3u8", "audio/fr.m3u8", "subs/en.m3u8" }));
}

TEST(HLSPlaylistTest, aMediaPlaylistsDurationIsTheSumOfItsSegments)
{
    constexpr const char* text =
        "\xEF\xBB\xBF#EXTM3U\n"
        "#EXT-X-TARGETDURATION:10\n"
        "#EXT-X-MEDIA-SEQUENCE:7\n"
        "#EXT-X-PLAYLIST-TYPE:VOD\n"
        "#EXT-X-MAP:URI=\"init.mp4\"\n"
        "#EXT-X-KEY:METHOD=AES-128,URI=\"keys/k1.bin\",IV=0x1\n"
        "#EXTINF:9.009,Intro\n"
        "part 1.ts\n"
        "#EXT-X-DISCONTINUITY\n"
        "#EXT-X-BYTERANGE:1000@200\n"
        "#EXTINF:9.009,\n"
        "part2.ts\n"
        "# a comment line\n"
        "#EXTINF:3.003\n"
        "https://cdn.example.invalid/part3.ts\n"
        "#EXT-X-ENDLIST\n";
    auto playlist = hls::parseMediaPlaylist(text);
    ASSERT_TRUE(playlist.ok()) << playlist.error().localizedDescription();
    EXPECT_NEAR(playlist->duration(), 21.021, 1e-9);
    EXPECT_EQ(playlist->targetDuration, 10);
    EXPECT_EQ(playlist->mediaSequence, 7);
    EXPECT_EQ(playlist->playlistType, "VOD");
    EXPECT_TRUE(playlist->endList);
    ASSERT_EQ(playlist->segments.size(), 3u);
    EXPECT_EQ(playlist->segments[0].title, "Intro");
    EXPECT_EQ(playlist->segments[0].uri, "part 1.ts");
    EXPECT_TRUE(playlist->segments[1].discontinuity);
    ASSERT_TRUE(playlist->segments[1].byteRange);
    EXPECT_EQ(playlist->segments[1].byteRange->length, 1000);
    EXPECT_EQ(playlist->segments[1].byteRange->offset, 200);
    EXPECT_FALSE(playlist->segments[2].byteRange);
    EXPECT_EQ(playlist->referencedURIs(), (std::vector<std::string> { "init.mp4", "keys/k1.bin", "part 1.ts", "part2.ts",
        "https://cdn.example.invalid/part3.ts" }));
}

struct RefusedCase {
    const char* name;
    std::string text;
    int64_t code;
    int line;
};

TEST(HLSPlaylistTest, refusesPathsThatLeaveTheFolderAndMalformedLines)
{
    auto media = [](const std::string& uri) { return "#EXTM3U\n#EXTINF:1,\nok.ts\n#EXTINF:1,\n" + uri + "\n"; };
    const RefusedCase cases[] = {
        { "parent", media("../other/secret.ts"), media::errorUnsafePath, 5 },
        { "climbs after descending", media("a/../../b.ts"), media::errorUnsafePath, 5 },
        { "percent-encoded parent", media("%2e%2e/b.ts"), media::errorUnsafePath, 5 },
        { "absolute", media("/etc/passwd"), media::errorUnsafePath, 5 },
        { "file scheme", media("file:///etc/passwd"), media::errorUnsafePath, 5 },
        { "backslash", media("..\\b.ts"), media::errorUnsafePath, 5 },
        { "encoded NUL", media("a%00.ts"), media::errorUnsafePath, 5 },
        { "map outside", "#EXTM3U\n#EXT-X-MAP:URI=\"../init.mp4\"\n#EXTINF:1,\na.ts\n", media::errorUnsafePath, 2 },
        { "no header", "#EXTINF:1,\na.ts\n", media::errorFileFailedToParse, 1 },
        { "negative duration", "#EXTM3U\n#EXTINF:-1,\na.ts\n", media::errorFileFailedToParse, 2 },
        { "segment without EXTINF", "#EXTM3U\na.ts\n", media::errorFileFailedToParse, 2 },
        { "EXTINF without segment", "#EXTM3U\n#EXTINF:1,\n#EXT-X-ENDLIST\n", media::errorFileFailedToParse, 2 },
        // Durations are finite and bounded before anything adds or converts them.
        { "huge duration", "#EXTM3U\n#EXTINF:1,\na.ts\n#EXTINF:1e300,\nb.ts\n", media::errorFileFailedToParse, 4 },
        { "infinite duration", "#EXTM3U\n#EXTINF:inf,\na.ts\n", media::errorFileFailedToParse, 2 },
        { "duration not a number", "#EXTM3U\n#EXTINF:nan,\na.ts\n", media::errorFileFailedToParse, 2 },
        { "durations past the bound together", "#EXTM3U\n#EXTINF:400000,\na.ts\n#EXTINF:400000,\nb.ts\n",
            media::errorFileFailedToParse, 4 },
        { "huge target", "#EXTM3U\n#EXT-X-TARGETDURATION:1e20\n#EXTINF:1,\na.ts\n", media::errorFileFailedToParse, 2 },
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto playlist = hls::parseMediaPlaylist(c.text);
        ASSERT_FALSE(playlist.ok());
        EXPECT_EQ(playlist.error().code, c.code);
        EXPECT_NE(playlist.error().localizedDescription().find("line " + std::to_string(c.line)), std::string::npos)
            << playlist.error().localizedDescription();
    }

    EXPECT_NE(hls::parseMediaPlaylist("#EXTM3U\n#EXTINF:1e300,\na.ts\n").error().localizedDescription().find("maxMediaDuration"),
        std::string::npos);

    media::AssetLimits few;
    few.maxSegmentsPerPlaylist = 2;
    auto tooMany = hls::parseMediaPlaylist("#EXTM3U\n#EXTINF:1,\na.ts\n#EXTINF:1,\nb.ts\n#EXTINF:1,\nc.ts\n", few);
    ASSERT_FALSE(tooMany.ok());
    EXPECT_NE(tooMany.error().localizedDescription().find("line 7"), std::string::npos);
    EXPECT_NE(tooMany.error().localizedDescription().find("maxSegmentsPerPlaylist"), std::string::npos);
    EXPECT_TRUE(hls::parseMediaPlaylist("#EXTM3U\n#EXTINF:1,\na.ts\n#EXTINF:1,\nb.ts\n", few).ok());

    auto master = hls::parseMasterPlaylist(
        "#EXTM3U\n#EXT-X-MEDIA:TYPE=AUDIO,GROUP-ID=\"a\",NAME=\"x\",URI=\"../../x.m3u8\"\n#EXT-X-STREAM-INF:BANDWIDTH=1\nv.m3u8\n");
    ASSERT_FALSE(master.ok());
    EXPECT_EQ(master.error().code, media::errorUnsafePath);
    EXPECT_FALSE(hls::parseMasterPlaylist("#EXTM3U\n#EXT-X-STREAM-INF:RESOLUTION=1x1\nv.m3u8\n").ok()) << "no bandwidth";
    EXPECT_FALSE(hls::parseMasterPlaylist("#EXTM3U\n#EXT-X-VERSION:3\n").ok()) << "no variants";
}

TEST(HLSPlaylistTest, pathsThatStayInsideResolveInTheFolder)
{
    EXPECT_EQ(hls::resolveInFolder("/books/1", "a/./b/../seg%201.ts?x=1#t").valueOr(""), "/books/1/a/seg 1.ts");
    EXPECT_EQ(hls::resolveInFolder("/books/1/", "seg.ts").valueOr(""), "/books/1/seg.ts");
    EXPECT_FALSE(hls::resolveInFolder("/books/1", "https://cdn.example.invalid/seg.ts").ok()) << "a web address is not a file";
    EXPECT_FALSE(hls::resolveInFolder("/books/1", "a/..").ok()) << "the folder itself is not a file";
}

} // namespace
