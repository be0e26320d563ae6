// Books written at run time for the benchmarks, so every figure is measured on the same shapes:
// a long page book and a many-chapter reflowable EPUB of a chosen size.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>

namespace benchbooks {

// A temporary folder that is removed with the object.
class ScratchFolder {
public:
    explicit ScratchFolder(const char* prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// A page book (assets/xml-bin/eBook.xml) of `pageCount` pages, `pagesPerChapter` to a chapter,
// each page with a short paragraph of text. Book id 42.
void writePageBook(const std::filesystem::path& folder, int pageCount = 2000, int pagesPerChapter = 100);

// An unpacked EPUB 3 of `chapterCount` chapters holding about `totalTextBytes` of paragraph
// text in all, with a navigation document listing every chapter.
void writeEpub(const std::filesystem::path& folder, int chapterCount = 300,
    std::size_t totalTextBytes = 5u * 1024u * 1024u);

// A stored record (highlight, bookmark, drawing) on a page, with a local id of its kind and index.
template<typename Record>
std::shared_ptr<Record> annotationOn(const std::string& page, const char* kind, size_t index)
{
    auto record = std::make_shared<Record>();
    record->pageIdentifier = page;
    record->displayNum = page;
    record->localID = std::to_string(index).insert(0, kind);
    return record;
}

} // namespace benchbooks
