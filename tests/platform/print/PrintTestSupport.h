#pragma once

// Reading printed PDFs back with poppler's command-line tools, and PNGs pixel by pixel.

#include "platform/ui/Color.h"

#include <cairo.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

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

// A PNG read back with Cairo.
class PngImage {
public:
    explicit PngImage(const std::string& path)
        : m_surface(cairo_image_surface_create_from_png(path.c_str()), &cairo_surface_destroy)
    {
    }
    bool ok() const { return cairo_surface_status(m_surface.get()) == CAIRO_STATUS_SUCCESS; }
    int width() const { return ok() ? cairo_image_surface_get_width(m_surface.get()) : 0; }
    int height() const { return ok() ? cairo_image_surface_get_height(m_surface.get()) : 0; }
    // The pixel un-premultiplied; clear outside the picture.
    ui::Color pixel(int x, int y) const
    {
        if (!ok() || x < 0 || y < 0 || x >= width() || y >= height())
            return ui::Color::clear();
        cairo_surface_flush(m_surface.get());
        const unsigned char* data = cairo_image_surface_get_data(m_surface.get());
        int stride = cairo_image_surface_get_stride(m_surface.get());
        uint32_t value = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
        double a = ((value >> 24) & 0xFF) / 255.0;
        if (a == 0)
            return ui::Color::clear();
        auto channel = [&](int shift) { return ((value >> shift) & 0xFF) / 255.0 / a; };
        return ui::Color::fromRGBA(channel(16), channel(8), channel(0), a);
    }

private:
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> m_surface;
};

// Components equal within one step of 8 bits.
inline bool sameColor(const ui::Color& a, const ui::Color& b)
{
    auto near = [](double x, double y) { return std::abs(x - y) <= 1.5 / 255.0; };
    return near(a.redComponent(), b.redComponent()) && near(a.greenComponent(), b.greenComponent())
        && near(a.blueComponent(), b.blueComponent()) && near(a.alpha(), b.alpha());
}

// A fresh folder removed when the object goes.
class TemporaryFolder {
public:
    TemporaryFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "lectoro-print-test-XXXXXX").string();
        if (char* made = ::mkdtemp(pattern.data()))
            m_path = made;
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

} // namespace printtest
