// What hostile media costs the reader now: a huge chapter file, the largest playlist read, a
// playlist far past the size limit, and media books that would hang a reader (a FIFO behind a
// playlist, a manifest named like media whose base address is a FIFO). Each is timed from the
// call to the answer; rss_growth_MB is the resident size the run added.
//
// The huge files are sparse (zeros cost no disk), which is what a demuxer sees of zeros named
// ".mp3" anyway.

#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"
#include "companion/media/MediaBookParser.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/media/Asset.h"
#include "platform/media/HLSPlaylist.h"

#include "ResidentMemory.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

using benchbooks::residentMegabytes;

class Scratch {
public:
    Scratch()
    {
        std::random_device device;
        m_path = fs::temp_directory_path() / ("lectoro-bench-media-hostile-" + std::to_string(device()));
        fs::create_directories(m_path);
    }
    ~Scratch()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// `head`, then zeros up to `size` bytes (a hole, not written).
fs::path sparseFile(const fs::path& path, const std::string& head, uintmax_t size)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << head;
    fs::resize_file(path, size);
    return path;
}

// Frames of an MPEG-1 layer III stream at 128 kbit/s, 44.1 kHz (417 bytes each), of silence.
std::string mp3Frames(int count)
{
    std::string frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    frame[3] = '\x64';
    std::string frames;
    for (int i = 0; i < count; ++i)
        frames += frame;
    return frames;
}

void addRss(benchmark::State& state, double before)
{
    state.counters["rss_growth_MB"] = residentMegabytes() - before;
}

// A chapter file of arg GiB of zeros named ".mp3" (arg 1: behind a few real frame headers),
// loaded within the default limits.
void BM_HugeChapterFile(benchmark::State& state)
{
    Scratch scratch;
    const uintmax_t size = static_cast<uintmax_t>(state.range(0)) << 30;
    const bool withHeader = state.range(1) != 0;
    fs::path file = sparseFile(scratch.path() / "chapter.mp3", withHeader ? mp3Frames(16) : std::string(), size);
    media::AssetLoadOptions options;
    options.root = scratch.path().string();
    double before = residentMegabytes();
    std::string outcome;
    for (auto _ : state) {
        auto asset = media::Asset::load(file.string(), options);
        outcome = asset.ok() ? "accepted, " + std::to_string(static_cast<int64_t>(asset->duration)) + " s"
                             : asset.error().localizedDescription().substr(0, 60);
    }
    addRss(state, before);
    state.SetLabel(std::string(withHeader ? "zeros after mp3 frames: " : "zeros: ") + outcome);
}
// The read runs on the media layer's own thread: the CPU column counts every thread.
BENCHMARK(BM_HugeChapterFile)
    ->Args({ 1, 0 })
    ->Args({ 10, 0 })
    ->Args({ 1, 1 })
    ->Args({ 10, 1 })
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The largest media playlist read: as many segments as maxSegmentsPerPlaylist allows.
void BM_LargestPlaylist(benchmark::State& state)
{
    const size_t segments = media::AssetLimits {}.maxSegmentsPerPlaylist;
    std::string text = "#EXTM3U\n#EXT-X-TARGETDURATION:4\n";
    for (size_t i = 0; i < segments; ++i)
        text += "#EXTINF:4.0,\nsegment" + std::to_string(i) + ".ts\n";
    double before = residentMegabytes();
    for (auto _ : state) {
        auto playlist = media::hls::parseMediaPlaylist(text);
        if (!playlist.ok())
            state.SkipWithError("the playlist is refused");
        benchmark::DoNotOptimize(playlist);
    }
    addRss(state, before);
    state.counters["segments"] = static_cast<double>(segments);
    state.counters["playlist_MB"] = static_cast<double>(text.size()) / (1 << 20);
}
BENCHMARK(BM_LargestPlaylist)->Unit(benchmark::kMillisecond);

// A playlist file of 229 MB (ten million segments' worth) is refused by its size.
void BM_OversizedPlaylistFile(benchmark::State& state)
{
    Scratch scratch;
    fs::path file = sparseFile(scratch.path() / "list.m3u8", "#EXTM3U\n", 229u << 20);
    media::AssetLoadOptions options;
    options.root = scratch.path().string();
    for (auto _ : state) {
        auto asset = media::Asset::load(file.string(), options);
        if (asset.ok())
            state.SkipWithError("the playlist is read");
    }
}
BENCHMARK(BM_OversizedPlaylistFile)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

// Media books that would hang a reader, parsed as the reader parses them: in the background,
// answered on the run loop.
void BM_HangingMediaBook(benchmark::State& state)
{
    Scratch scratch;
    fs::path fifo = scratch.path() / "outside" / "fifo.wav";
    fs::create_directories(fifo.parent_path());
    ::mkfifo(fifo.c_str(), 0600);
    fs::path book = scratch.path() / "book";
    fs::create_directories(book);
    if (state.range(0) == 0) {
        std::ofstream(book / "toc.json") << R"({"chapters": [{"src": "list.m3u8"}]})";
        std::ofstream(book / "list.m3u8") << "#EXTM3U\n#EXTINF:1,\nseg0.ts\n";
        ::mkfifo((book / "seg0.ts").c_str(), 0600);
    } else {
        std::ofstream(book / "toc.json") << R"({"chapters": [{"src": "a.mp4"}]})";
        std::ofstream(book / "a.mp4") << "<?xml version=\"1.0\"?>\n<MPD xmlns=\"urn:mpeg:dash:schema:mpd:2011\" "
                                         "type=\"static\" mediaPresentationDuration=\"PT5S\"><BaseURL>"
                                      << fifo.string()
                                      << "</BaseURL><Period><AdaptationSet><Representation id=\"1\" bandwidth=\"1\"/>"
                                         "</AdaptationSet></Period></MPD>\n";
    }
    for (auto _ : state) {
        companion::MediaBookParser parser;
        bool refused = false;
        parser.setBookParsingCompleted([](std::shared_ptr<lectoro::MVMediaBookModel>) { });
        parser.setBookParsingFailed([&refused](const base::Error&) { refused = true; });
        auto model = std::make_shared<lectoro::MVMediaBookModel>();
        model->mediaBookPath = book.string();
        parser.parseTOCTimeIndexJsonForAudio(model, std::nullopt, std::nullopt);
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
        if (!refused)
            state.SkipWithError("the book was not refused");
    }
    state.SetLabel(state.range(0) == 0 ? "playlist's first segment a FIFO" : "a.mp4 a manifest, base address a FIFO");
}
BENCHMARK(BM_HangingMediaBook)->Arg(0)->Arg(1)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
