#include "BenchBooks.h"

#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace benchbooks {

namespace {

// Words with a few capitalised and repeated ones, so searches find hits throughout.
const char* const kWords[] = { "the", "water", "keeper", "light", "stone", "Water", "harbour", "boat",
    "evening", "rope", "of", "and", "a", "WATER", "lamp", "north", "wind", "gull", "tide", "shore" };

std::string sentence(std::mt19937& random, int words)
{
    std::string text;
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kWords) - 1);
    for (int i = 0; i < words; ++i) {
        if (i)
            text += ' ';
        text += kWords[pick(random)];
    }
    text += '.';
    return text;
}

std::ofstream create(const std::filesystem::path& file)
{
    std::filesystem::create_directories(file.parent_path());
    return std::ofstream(file, std::ios::binary | std::ios::trunc);
}

} // namespace

ScratchFolder::ScratchFolder(const char* prefix)
    : m_path(std::filesystem::temp_directory_path()
          / (std::string(prefix) + "-" + std::to_string(::getpid()) + "-"
              + std::to_string(reinterpret_cast<std::uintptr_t>(this))))
{
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void writePageBook(const std::filesystem::path& folder, int pageCount, int pagesPerChapter)
{
    std::mt19937 random(7);
    auto xml = create(folder / "assets" / "xml-bin" / "eBook.xml");
    xml << "<ebook id=\"42\" title=\"Bench\" orientation=\"0\"><chapters>";
    for (int page = 1; page <= pageCount; ++page) {
        if ((page - 1) % pagesPerChapter == 0)
            xml << "<chapter id=\"" << (page - 1) / pagesPerChapter + 1 << "\" title=\"Chapter "
                << (page - 1) / pagesPerChapter + 1 << "\">";
        xml << "<page id=\"" << page << "\" display=\"" << page << "\"><text>" << sentence(random, 40)
            << "</text></page>";
        if (page % pagesPerChapter == 0 || page == pageCount)
            xml << "</chapter>";
    }
    xml << "</chapters></ebook>";
}

void writeEpub(const std::filesystem::path& folder, int chapterCount, std::size_t totalTextBytes)
{
    std::mt19937 random(11);
    create(folder / "mimetype") << "application/epub+zip";
    create(folder / "META-INF" / "container.xml")
        << "<?xml version=\"1.0\"?><container version=\"1.0\" "
           "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles><rootfile "
           "full-path=\"OEBPS/package.opf\" media-type=\"application/oebps-package+xml\"/></rootfiles></container>";

    auto opf = create(folder / "OEBPS" / "package.opf");
    opf << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><package xmlns=\"http://www.idpf.org/2007/opf\" "
           "version=\"3.0\" unique-identifier=\"uid\"><metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
           "<dc:identifier id=\"uid\">urn:uuid:bench-epub</dc:identifier><dc:title>Bench EPUB</dc:title>"
           "<dc:language>en</dc:language></metadata><manifest>"
           "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" properties=\"nav\"/>";
    for (int c = 1; c <= chapterCount; ++c)
        opf << "<item id=\"c" << c << "\" href=\"text/chapter-" << c
            << ".xhtml\" media-type=\"application/xhtml+xml\"/>";
    opf << "</manifest><spine>";
    for (int c = 1; c <= chapterCount; ++c)
        opf << "<itemref idref=\"c" << c << "\"/>";
    opf << "</spine></package>";

    auto nav = create(folder / "OEBPS" / "nav.xhtml");
    nav << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html xmlns=\"http://www.w3.org/1999/xhtml\" "
           "xmlns:epub=\"http://www.idpf.org/2007/ops\"><body><nav epub:type=\"toc\"><ol>";
    for (int c = 1; c <= chapterCount; ++c)
        nav << "<li><a href=\"text/chapter-" << c << ".xhtml\">Chapter " << c << "</a></li>";
    nav << "</ol></nav></body></html>";

    const std::size_t perChapter = totalTextBytes / static_cast<std::size_t>(chapterCount ? chapterCount : 1);
    for (int c = 1; c <= chapterCount; ++c) {
        auto chapter = create(folder / "OEBPS" / "text" / ("chapter-" + std::to_string(c) + ".xhtml"));
        chapter << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html xmlns=\"http://www.w3.org/1999/xhtml\">"
                   "<body><h1>Chapter "
                << c << "</h1>";
        std::size_t written = 0;
        while (written < perChapter) {
            auto paragraph = sentence(random, 60);
            chapter << "<p>" << paragraph << "</p>\n";
            written += paragraph.size();
        }
        chapter << "</body></html>";
    }
}

} // namespace benchbooks
