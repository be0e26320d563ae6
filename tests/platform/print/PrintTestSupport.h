#pragma once

// Reading printed PDFs back (PdfReading.h), and PNGs pixel by pixel.

#include "platform/print/PdfReading.h"
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
