#include "companion/books/BookPaths.h"

#include "companion/books/BookBudget.h"
#include "companion/books/BookErrors.h"

#include "platform/base/Strings.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <system_error>
#include <vector>

namespace companion {

namespace fs = std::filesystem;

HrefParts splitHref(std::string_view href)
{
    auto hash = href.find('#');
    if (hash == std::string_view::npos)
        return { std::string(href), {} };
    return { std::string(href.substr(0, hash)), std::string(href.substr(hash + 1)) };
}

namespace {

// The file's content, its size read by the caller's check.
base::Result<std::string> readCheckedBookFile(const std::string& bookFolder, const std::string& bookRelativePath,
    const base::Result<size_t>& size, size_t maxBytes);

bool hasScheme(std::string_view text)
{
    // "http:", "file:", "javascript:"... a letter then letters, digits, "+", "-", "." up to ":".
    auto colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return false;
    for (size_t index = 0; index < colon; ++index) {
        char c = text[index];
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!(letter || (index > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))))
            return false;
    }
    return true;
}

bool isInside(const fs::path& root, const fs::path& candidate)
{
    auto rootText = root.generic_string();
    auto candidateText = candidate.generic_string();
    if (!rootText.empty() && rootText.back() != '/')
        rootText += '/';
    return candidateText.rfind(rootText, 0) == 0;
}

} // namespace

std::optional<std::string> resolveBookPath(std::string_view baseDirectory, std::string_view href)
{
    auto decoded = base::percentDecode(splitHref(href).path);
    if (!decoded || decoded->empty())
        return std::nullopt;
    const std::string& path = *decoded;
    if (path.front() == '/' || path.find('\\') != std::string::npos || path.find('\0') != std::string::npos
        || hasScheme(path))
        return std::nullopt;

    std::vector<std::string> segments;
    auto push = [&](std::string_view joined) {
        for (const auto& segment : base::split(joined, "/")) {
            if (segment.empty() || segment == ".")
                continue;
            if (segment == "..") {
                if (segments.empty())
                    return false;
                segments.pop_back();
                continue;
            }
            segments.push_back(segment);
        }
        return true;
    };
    if (!push(baseDirectory) || !push(path) || segments.empty())
        return std::nullopt;
    return base::join(segments, "/");
}

std::string directoryOf(std::string_view bookRelativePath)
{
    auto slash = bookRelativePath.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(bookRelativePath.substr(0, slash));
}

std::string relativeTo(std::string_view directory, std::string_view relative)
{
    if (directory.empty())
        return std::string(relative);
    std::string prefix = std::string(directory) + "/";
    if (relative.substr(0, prefix.size()) == prefix)
        return std::string(relative.substr(prefix.size()));
    return std::string(relative);
}

std::string absoluteBookPath(const std::string& bookFolder, const std::string& bookRelativePath)
{
    return (fs::path(bookFolder) / bookRelativePath).lexically_normal().string();
}

BookFiles::BookFiles(std::string bookFolder)
    : m_folder(std::move(bookFolder))
{
}

bool BookFiles::isInsideBook(const std::string& directory)
{
    for (const auto& [known, inside] : m_directories) {
        if (known == directory)
            return inside;
    }
    std::error_code error;
    if (!m_root) {
        auto root = fs::canonical(m_folder, error);
        if (error)
            return false;
        m_root = root.generic_string();
    }
    bool inside = directory.empty();
    if (!inside) {
        auto resolved = fs::canonical(fs::path(m_folder) / directory, error);
        inside = !error && isInside(*m_root, resolved);
    }
    m_directories.emplace_back(directory, inside);
    return inside;
}

base::Result<size_t> BookFiles::fileSize(const std::string& bookRelativePath)
{
    // The file itself is looked at without following a link; a link takes the long way.
    struct stat status {};
    std::string file = m_folder + "/" + bookRelativePath;
    if (::lstat(file.c_str(), &status) != 0)
        return makeBookError(BookError::Malformed, "The book file " + bookRelativePath + " is missing");
    if (S_ISLNK(status.st_mode))
        return bookFileSize(m_folder, bookRelativePath);
    if (!S_ISREG(status.st_mode))
        return makeBookError(BookError::Malformed, "The book file " + bookRelativePath + " is missing");
    if (!isInsideBook(directoryOf(bookRelativePath)))
        return makeBookError(BookError::UnsafePath, "The book file " + bookRelativePath + " lies outside the book folder");
    return static_cast<size_t>(status.st_size);
}

base::Result<std::string> BookFiles::read(const std::string& bookRelativePath, size_t maxBytes)
{
    return readCheckedBookFile(m_folder, bookRelativePath, fileSize(bookRelativePath), maxBytes);
}

base::Result<size_t> bookFileSize(const std::string& bookFolder, const std::string& bookRelativePath)
{
    std::error_code error;
    fs::path file = fs::path(bookFolder) / bookRelativePath;
    if (!fs::is_regular_file(file, error))
        return makeBookError(BookError::Malformed, "The book file " + bookRelativePath + " is missing");
    auto root = fs::canonical(bookFolder, error);
    auto target = error ? fs::path() : fs::canonical(file, error);
    if (error || !isInside(root, target))
        return makeBookError(BookError::UnsafePath, "The book file " + bookRelativePath + " lies outside the book folder");
    auto size = fs::file_size(target, error);
    if (error)
        return makeBookError(BookError::Malformed, "The book file " + bookRelativePath + " cannot be read");
    return static_cast<size_t>(size);
}

base::Result<std::string> readBookFile(const std::string& bookFolder, const std::string& bookRelativePath, size_t maxBytes)
{
    return readCheckedBookFile(bookFolder, bookRelativePath, bookFileSize(bookFolder, bookRelativePath), maxBytes);
}

namespace {

base::Result<std::string> readCheckedBookFile(const std::string& bookFolder, const std::string& bookRelativePath,
    const base::Result<size_t>& size, size_t maxBytes)
{
    if (!size.ok())
        return size.error();
    if (size.value() > maxBytes)
        return makeBookError(BookError::TooLarge,
            budgetExceededDescription("The book file " + bookRelativePath, size.value(), "bytes", maxBytes, "maxFileBytes"));
    std::ifstream stream(fs::path(bookFolder) / bookRelativePath, std::ios::binary);
    if (!stream)
        return makeBookError(BookError::Malformed, "The book file " + bookRelativePath + " cannot be read");
    // Read what the size promised and no more, so a file that grows meanwhile stays in budget.
    std::string content(size.value(), '\0');
    stream.read(content.data(), static_cast<std::streamsize>(content.size()));
    content.resize(static_cast<size_t>(stream.gcount()));
    return content;
}

} // namespace

std::string budgetExceededDescription(const std::string& what, size_t amount, const std::string& unit, size_t limit,
    const char* limitName)
{
    return what + " passes the book budget: " + std::to_string(amount) + " " + unit + ", over the limit of "
        + std::to_string(limit) + " (" + limitName + ")";
}

} // namespace companion
