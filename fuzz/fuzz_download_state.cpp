// Feeds arbitrary bytes to the streamed-book downloader as its state file, over a download
// root of its own whose book folders hold links leading out, beside a folder no download
// made. "$ROOT" and "$OUT" in the input stand for the two folders, so inputs can name them.
// Every record read must name its book's own folder, place nothing outside it, write back
// and read again as the same record, and removing what it placed must leave the folder
// outside whole.

#include "companion/media/DownloadRecords.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct DownloadSandbox {
    DownloadSandbox()
        : base(fs::temp_directory_path() / ("lectoro-fuzz-downloads-" + std::to_string(::getpid())))
        , root(base / "books")
        , outside(base / "outside")
    {
        fs::remove_all(base);
        fs::create_directories(outside / "folder");
        std::ofstream(outside / "keep.txt") << "keep";
        std::ofstream(outside / "folder" / "keep.txt") << "keep";
    }
    ~DownloadSandbox() { fs::remove_all(base); }

    // The root as every run starts with it: two downloads' folders with files, a book folder
    // that is a link out, and links out inside a download's folder.
    void rebuild() const
    {
        fs::remove_all(root);
        fs::create_directories(root / "1" / "part-1");
        fs::create_directories(root / "2");
        std::ofstream(root / "1" / "part-1" / "a.ts") << "a";
        std::ofstream(root / "2" / "b.m3u8") << "b";
        for (const char* book : { "1", "2" })
            std::ofstream(root / book / companion::DownloadFolders::markerName) << book;
        fs::create_symlink(outside, root / "3");
        fs::create_symlink(outside, root / "1" / "out");
        fs::create_symlink(outside / "keep.txt", root / "2" / "keep.txt");
    }

    bool outsideIsWhole() const
    {
        return fs::exists(outside / "keep.txt") && fs::exists(outside / "folder" / "keep.txt");
    }

    fs::path base;
    fs::path root;
    fs::path outside;
};

std::string withSandboxPaths(std::string text, const DownloadSandbox& sandbox)
{
    for (const auto& [name, path] : { std::pair { "$ROOT", sandbox.root }, std::pair { "$OUT", sandbox.outside } }) {
        for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + path.string().size()))
            text.replace(at, std::string_view(name).size(), path.string());
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static DownloadSandbox sandbox;
    sandbox.rebuild();
    companion::DownloadFolders folders(sandbox.root.string());
    std::string text = withSandboxPaths(std::string(reinterpret_cast<const char*>(data), size), sandbox);

    auto records = companion::readDownloadState(text, folders, {});
    for (const auto& [bookID, record] : records) {
        if (bookID != record.detail.bookID || !folders.isFolderOfBook(record.detail.bookFolder, bookID))
            std::abort();
        for (const auto& relative : record.placed) {
            auto place = folders.placeInBook(record.detail.bookFolder, bookID, relative);
            if (!place || !place->starts_with(fs::canonical(sandbox.root).string() + "/"))
                std::abort();
        }
    }
    if (companion::readDownloadState(companion::downloadStateText(records), folders, {}) != records)
        std::abort();
    for (const auto& [bookID, record] : records)
        folders.removePlaced(record);
    if (!sandbox.outsideIsWhole())
        std::abort();
    return 0;
}
