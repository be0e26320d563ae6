#pragma once

// Reading printed PDFs back with poppler's command-line tools (pdfinfo, pdftotext).

#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace printtest {

// The standard output of a shell command, or nullopt when it did not exit with 0.
inline std::optional<std::string> commandOutput(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe)
        return std::nullopt;
    std::string output;
    std::array<char, 4096> buffer {};
    size_t read = 0;
    while ((read = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        output.append(buffer.data(), read);
    int status = ::pclose(pipe.release());
    if (status != 0)
        return std::nullopt;
    return output;
}

inline std::string quoted(const std::string& path)
{
    std::string out = "'";
    for (char c : path)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// A field of pdfinfo's report ("Pages", "Title", "Page size"), or "" when absent.
inline std::string pdfInfo(const std::string& path, const std::string& field)
{
    auto report = commandOutput("pdfinfo " + quoted(path) + " 2>/dev/null");
    if (!report)
        return {};
    std::string key = "\n" + field + ":";
    std::string text = "\n" + *report;
    size_t at = text.find(key);
    if (at == std::string::npos)
        return {};
    size_t start = text.find_first_not_of(' ', at + key.size());
    size_t end = text.find('\n', start);
    return text.substr(start, end - start);
}

inline int pdfPageCount(const std::string& path)
{
    std::string pages = pdfInfo(path, "Pages");
    return pages.empty() ? -1 : std::stoi(pages);
}

// The text of one page (1-based), as pdftotext lays it out.
inline std::string pdfPageText(const std::string& path, int page)
{
    std::string n = std::to_string(page);
    return commandOutput("pdftotext -layout -f " + n + " -l " + n + " " + quoted(path) + " - 2>/dev/null").value_or("");
}

} // namespace printtest
