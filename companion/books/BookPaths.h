#pragma once

// Paths named inside a book (manifest hrefs, page images, links) are untrusted. They are
// resolved against the book folder here and nowhere else: absolute paths, URLs with a
// scheme, back-slashes and ".." that climbs out of the book folder are refused, and so is a
// symbolic link that leads outside it.

#include "platform/base/Error.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace companion {

// Splits "a/b.xhtml#frag" into its path and fragment.
struct HrefParts {
    std::string path;
    std::string fragment;
};
HrefParts splitHref(std::string_view href);

// `href` (percent-decoded, fragment dropped) resolved against `baseDirectory`, both relative
// to the book folder; the result is normalised ("a/./b/../c" is "a/c") and stays inside the
// book folder. Null for an unsafe or empty href.
std::optional<std::string> resolveBookPath(std::string_view baseDirectory, std::string_view href);

// The folder part of a book-relative path ("OEBPS/text/ch1.xhtml" gives "OEBPS/text").
std::string directoryOf(std::string_view bookRelativePath);

// `relative` made relative to `directory` when it lies below it, else unchanged.
std::string relativeTo(std::string_view directory, std::string_view relative);

// The size of a book file, after checking that it exists, is a regular file and (following
// links) still lies inside `bookFolder`.
base::Result<size_t> bookFileSize(const std::string& bookFolder, const std::string& bookRelativePath);

// The file's content, after checking that the file exists, is a regular file no larger than
// `maxBytes` (else BookError::TooLarge) and (following links) still lies inside `bookFolder`.
base::Result<std::string> readBookFile(const std::string& bookFolder, const std::string& bookRelativePath,
    size_t maxBytes = 32 * 1024 * 1024);

// Checks the files of one book folder: the folder is resolved once and each folder inside it
// once, so a book of many chapters costs one look at each file (its size), not a walk of
// every path. A file that is itself a link is followed and must still lie inside the book.
// Not safe for use from several threads at once.
class BookFiles {
public:
    explicit BookFiles(std::string bookFolder);
    const std::string& folder() const { return m_folder; }
    // As bookFileSize().
    base::Result<size_t> fileSize(const std::string& bookRelativePath);
    // As readBookFile().
    base::Result<std::string> read(const std::string& bookRelativePath, size_t maxBytes = 32 * 1024 * 1024);

private:
    bool isInsideBook(const std::string& bookRelativeDirectory);

    std::string m_folder;
    std::optional<std::string> m_root;
    // Book-relative folders already resolved: whether each lies inside the book.
    std::vector<std::pair<std::string, bool>> m_directories;
};

// The absolute path of a book-relative path.
std::string absoluteBookPath(const std::string& bookFolder, const std::string& bookRelativePath);

} // namespace companion
