// FFmpeg is loaded when the first media file is read, not when a process starts.

#include "companion/SampleBooks.h"
#include "platform/media/Asset.h"
#include "platform/media/MediaTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

namespace {

// The FFmpeg libraries mapped into this process.
std::set<std::string> mappedFFmpegLibraries()
{
    std::set<std::string> found;
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        for (const char* name : { "libavformat", "libavcodec", "libavutil" }) {
            if (line.find(name) != std::string::npos)
                found.insert(name);
        }
    }
    return found;
}

void reportMapped(const char* when)
{
    std::fprintf(stderr, "%s:", when);
    for (const std::string& name : mappedFFmpegLibraries())
        std::fprintf(stderr, " %s", name.c_str());
    std::fprintf(stderr, "\n");
}

TEST(MediaLibraryLoading, AProcessThatOpensAPageBookLoadsNoCodecUntilItReadsMedia)
{
    // A fresh process: the test program runs again for this test alone, so nothing another
    // test read is mapped.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            int status = 0;
            {
                auto book = companion::loadBook(companiontest::samplePath("sample-pagebook"));
                reportMapped("after the page book");
                if (!book.ok() || !mappedFFmpegLibraries().empty())
                    status = 1;
                mediatest::TemporaryFolder folder;
                auto asset = media::Asset::load(folder.write("a.wav", mediatest::wavBytes(0.5)));
                reportMapped("after a sound");
                if (status == 0 && (!asset.ok() || mappedFFmpegLibraries().size() != 3))
                    status = 2;
            }
            std::_Exit(status);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
