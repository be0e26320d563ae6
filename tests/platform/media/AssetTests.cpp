#include "MediaTestSupport.h"

#include "platform/media/Asset.h"
#include "platform/media/MediaError.h"

#include <gtest/gtest.h>

namespace {

using media::Asset;
using media::MediaType;
using mediatest::TemporaryFolder;
using mediatest::wavBytes;

TEST(AssetTest, aWavWrittenByHandOpensWithItsRealDurationAndTrack)
{
    TemporaryFolder folder;
    std::string path = folder.write("three.wav", wavBytes(3.0, 8000, 2));

    for (const std::string& address : { path, "file://" + path }) {
        auto asset = Asset::load(address);
        ASSERT_TRUE(asset.ok()) << asset.error().localizedDescription();
        EXPECT_DOUBLE_EQ(asset->duration, 3.0);
        EXPECT_EQ(asset->formatName, "wav");
        ASSERT_EQ(asset->tracks.size(), 1u);
        const auto& track = asset->tracks.front();
        EXPECT_EQ(track.mediaType, MediaType::Audio);
        EXPECT_EQ(track.codec, "pcm_s16le");
        EXPECT_EQ(track.sampleRate, 8000);
        EXPECT_EQ(track.channelCount, 2);
        EXPECT_FALSE(asset->hasVideo());
    }
}

TEST(AssetTest, readsTagsAndChaptersFromTheContainer)
{
    TemporaryFolder folder;
    auto tagged = Asset::load(folder.write("tagged.wav", wavBytes(1.0, 8000, 1, { { "INAM", "Chapter One" }, { "IART", "A Narrator" } })));
    ASSERT_TRUE(tagged.ok()) << tagged.error().localizedDescription();
    EXPECT_EQ(tagged->title(), "Chapter One");
    EXPECT_EQ(tagged->metadata["artist"].asString(), "A Narrator");

    // FFmpeg's own metadata text: chapters with their own time base, no streams.
    auto chaptered = Asset::load(folder.write("book.txt",
        ";FFMETADATA1\ntitle=The Book\n"
        "[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=90500\ntitle=Opening\n"
        "[CHAPTER]\nTIMEBASE=1/10\nSTART=905\nEND=1800\ntitle=Middle\n"));
    ASSERT_TRUE(chaptered.ok()) << chaptered.error().localizedDescription();
    EXPECT_EQ(chaptered->title(), "The Book");
    ASSERT_EQ(chaptered->chapters.size(), 2u);
    EXPECT_EQ(chaptered->chapters[0].title, "Opening");
    EXPECT_DOUBLE_EQ(chaptered->chapters[0].duration, 90.5);
    EXPECT_EQ(chaptered->chapters[1].title, "Middle");
    EXPECT_DOUBLE_EQ(chaptered->chapters[1].start, 90.5);
    EXPECT_DOUBLE_EQ(chaptered->chapters[1].duration, 89.5);
}

struct FailureCase {
    const char* name;
    std::string fileName;
    std::string bytes;
    const char* domain;
    int64_t code;
};

TEST(AssetTest, missingCorruptAndRemoteSourcesFailWithAClearError)
{
    TemporaryFolder folder;
    std::string truncatedWav = wavBytes(1.0).substr(0, 20);
    const FailureCase cases[] = {
        { "missing", "", "", media::urlErrorDomain, media::urlErrorFileDoesNotExist },
        { "text", "notes.mp3", "this is not audio at all, just words", media::avFoundationErrorDomain, media::errorFileFormatNotRecognized },
        { "truncated header", "cut.wav", truncatedWav, media::avFoundationErrorDomain, media::errorFileFormatNotRecognized },
        { "empty", "empty.m4a", "", media::avFoundationErrorDomain, media::errorFileFormatNotRecognized },
        { "broken playlist", "list.m3u8", "#EXTM3U\n#EXTINF:abc,\nseg.ts\n", media::avFoundationErrorDomain, media::errorFileFailedToParse },
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = c.fileName.empty() ? folder.path() + "/absent.mp3" : folder.write(c.fileName, c.bytes);
        auto asset = Asset::load(path);
        ASSERT_FALSE(asset.ok());
        EXPECT_EQ(asset.error().domain, c.domain);
        EXPECT_EQ(asset.error().code, c.code);
        EXPECT_FALSE(asset.error().localizedDescription().empty());
    }

    auto folderItself = Asset::load(folder.path());
    ASSERT_FALSE(folderItself.ok());
    EXPECT_EQ(folderItself.error().code, media::errorFileFormatNotRecognized);

    auto remote = Asset::load("https://example.invalid/book.mp3");
    ASSERT_FALSE(remote.ok());
    EXPECT_EQ(remote.error().code, media::urlErrorUnsupportedURL);
}

TEST(AssetTest, aStreamReadsItsVariantSegmentsAndRenditions)
{
    TemporaryFolder folder;
    folder.write("low/index.m3u8", "#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXTINF:2.0,\nseg0.wav\n#EXTINF:1.5,\nseg1.wav\n#EXT-X-ENDLIST\n");
    folder.write("high/index.m3u8", "#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXTINF:2.0,\nseg0.wav\n#EXTINF:2.0,\nseg1.wav\n#EXT-X-ENDLIST\n");
    folder.write("high/seg0.wav", wavBytes(2.0, 16000));
    std::string master = folder.write("master.m3u8",
        "#EXTM3U\n"
        "#EXT-X-MEDIA:TYPE=AUDIO,GROUP-ID=\"aud\",NAME=\"English\",LANGUAGE=\"en\",DEFAULT=YES,URI=\"en/index.m3u8\"\n"
        "#EXT-X-MEDIA:TYPE=AUDIO,GROUP-ID=\"aud\",NAME=\"Español\",LANGUAGE=\"es\",URI=\"es/index.m3u8\"\n"
        "#EXT-X-MEDIA:TYPE=SUBTITLES,GROUP-ID=\"subs\",NAME=\"English\",LANGUAGE=\"en\",URI=\"subs/en.m3u8\"\n"
        "#EXT-X-STREAM-INF:BANDWIDTH=200000,AUDIO=\"aud\",SUBTITLES=\"subs\"\nlow/index.m3u8\n"
        "#EXT-X-STREAM-INF:BANDWIDTH=800000,AUDIO=\"aud\",SUBTITLES=\"subs\"\nhigh/index.m3u8\n");

    auto asset = Asset::load(master);
    ASSERT_TRUE(asset.ok()) << asset.error().localizedDescription();
    EXPECT_EQ(asset->kind, Asset::Kind::Stream);
    EXPECT_DOUBLE_EQ(asset->duration, 4.0) << "the richest variant's segments";
    ASSERT_EQ(asset->audibleOptions.size(), 2u);
    EXPECT_EQ(asset->audibleOptions[1].languageCode, "es");
    ASSERT_EQ(asset->legibleOptions.size(), 1u);
    ASSERT_EQ(asset->tracks.size(), 1u) << "read from the first segment";
    EXPECT_EQ(asset->tracks[0].sampleRate, 16000);
    EXPECT_DOUBLE_EQ(asset->tracks[0].duration, 4.0);

    folder.write("bad.m3u8", "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\n../outside/index.m3u8\n");
    auto escaping = Asset::load(folder.path() + "/bad.m3u8");
    ASSERT_FALSE(escaping.ok());
    EXPECT_EQ(escaping.error().code, media::errorUnsafePath);
}

} // namespace
