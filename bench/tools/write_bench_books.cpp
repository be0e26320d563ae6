// Writes the benchmarks' books into a folder, for the scripts that measure the example host:
//   bench_write_books FOLDER   (makes FOLDER/pagebook and FOLDER/epub)

#include "BenchBooks.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_write_books FOLDER\n");
        return 2;
    }
    std::filesystem::path folder = argv[1];
    benchbooks::writePageBook(folder / "pagebook");
    benchbooks::writeEpub(folder / "epub");
    return 0;
}
