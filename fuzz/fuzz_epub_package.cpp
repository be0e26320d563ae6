// Feeds arbitrary bytes to the EPUB reader as a package document and a navigation document
// (split at the first NUL byte), laid out in a scratch book folder beside a fixed container
// and two chapter files. Loading may fail, never crash or hang; a book that loads must be
// consistent (chapters in spine order, page-list entries pointing at real chapters).

#include "companion/books/BookLoader.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

void write(const fs::path& file, std::string_view content)
{
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(content.data(), static_cast<std::streamsize>(content.size()));
}

fs::path& scratchRoot()
{
    static fs::path root;
    return root;
}

fs::path scratchBook()
{
    std::string pattern = (fs::temp_directory_path() / "fuzz-epub-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        std::abort();
    fs::path root(pattern);
    fs::create_directories(root / "META-INF");
    fs::create_directories(root / "OPS");
    write(root / "META-INF/container.xml",
        R"(<?xml version="1.0"?><container xmlns="urn:oasis:names:tc:opendocument:xmlns:container">)"
        R"(<rootfiles><rootfile full-path="OPS/package.opf" media-type="application/oebps-package+xml"/></rootfiles></container>)");
    write(root / "OPS/c1.xhtml",
        R"(<html xmlns="http://www.w3.org/1999/xhtml"><body><p id="p1">One</p></body></html>)");
    write(root / "OPS/c2.xhtml", R"(<html><body><p>Two<br>lines</p></body></html>)");
    scratchRoot() = root;
    std::atexit([] {
        std::error_code error;
        fs::remove_all(scratchRoot(), error);
    });
    return root;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const fs::path root = scratchBook();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    write(root / "OPS/package.opf", input.substr(0, split));
    write(root / "OPS/nav.xhtml",
        split == std::string_view::npos ? std::string_view() : input.substr(split + 1));

    auto loaded = companion::loadBook(root.string());
    if (!loaded.ok())
        return 0;
    auto book = std::dynamic_pointer_cast<lectoro::EPUBBookVO>(loaded.value());
    if (!book || book->chapters.empty())
        std::abort();
    for (size_t index = 0; index < book->chapters.size(); ++index) {
        if (book->chapters[index]->fileIndex != static_cast<int64_t>(index))
            std::abort();
    }
    for (const auto& entry : book->tocPageList) {
        if (entry.fileIndex < 0 || static_cast<size_t>(entry.fileIndex) >= book->chapters.size())
            std::abort();
    }
    (void)book->getBookContentForTOC();
    (void)book->getThumbnailData();
    return 0;
}
