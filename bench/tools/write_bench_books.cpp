// Writes the benchmarks' books into a folder, for the scripts that measure the example host
// and compare with other readers:
//   bench_write_books FOLDER               (makes FOLDER/pagebook and FOLDER/epub, 5 MB of text)
//   bench_write_books --epub BYTES FOLDER  (makes FOLDER, an unpacked EPUB of about BYTES of
//                                           text, a chapter for every 17 KB as in the 5 MB book)

#include "BenchBooks.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--epub") {
        char* end = nullptr;
        unsigned long long bytes = std::strtoull(argv[2], &end, 10);
        if (!end || *end || bytes == 0 || bytes > 1ull << 30) {
            std::fprintf(stderr, "bench_write_books: BYTES must be a number from 1 to 2^30\n");
            return 2;
        }
        constexpr unsigned long long bytesPerChapter = 5ull * 1024 * 1024 / 300;
        int chapters = static_cast<int>(bytes / bytesPerChapter) + 1;
        benchbooks::writeEpub(argv[3], chapters, static_cast<std::size_t>(bytes));
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_write_books FOLDER | bench_write_books --epub BYTES FOLDER\n");
        return 2;
    }
    std::filesystem::path folder = argv[1];
    benchbooks::writePageBook(folder / "pagebook");
    benchbooks::writeEpub(folder / "epub");
    return 0;
}
