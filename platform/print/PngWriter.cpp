#include "platform/print/PngWriter.h"

#include "platform/base/SharedLibrary.h"
#include "platform/print/ViewPainter.h"

#include <zlib.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace print::detail {

namespace {

struct Zlib {
    decltype(&::deflateInit2_) deflateInit2_ = nullptr;
    decltype(&::deflate) deflate = nullptr;
    decltype(&::deflateEnd) deflateEnd = nullptr;
    decltype(&::crc32) crc32 = nullptr;
};

const Zlib* zlib(std::string& error)
{
    static std::string failure;
    static const std::optional<Zlib> library = []() -> std::optional<Zlib> {
        Zlib functions;
        std::vector<base::LibrarySymbol> symbols { { "deflateInit2_", &functions.deflateInit2_ },
            { "deflate", &functions.deflate }, { "deflateEnd", &functions.deflateEnd },
            { "crc32", &functions.crc32 } };
        if (!base::openSharedLibrary("libz.so.1", symbols, failure))
            return std::nullopt;
        return functions;
    }();
    if (!library)
        error = failure;
    return library ? &*library : nullptr;
}

void appendBigEndian(std::string& out, uint32_t value)
{
    const char bytes[4] = { static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
        static_cast<char>(value) };
    out.append(bytes, 4);
}

void appendChunk(const Zlib& z, std::string& out, const char type[4], const std::string& data)
{
    appendBigEndian(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.append(type, 4);
    out += data;
    auto crc = z.crc32(0, reinterpret_cast<const Bytef*>(out.data() + start), static_cast<uInt>(out.size() - start));
    appendBigEndian(out, static_cast<uint32_t>(crc));
}

// The channels a premultiplied pixel stands for, back at full strength.
inline uint8_t unpremultiply(uint32_t channel, uint32_t alpha)
{
    return static_cast<uint8_t>((channel * 255 + alpha / 2) / alpha);
}

// One row as the PNG holds it, unfiltered: RGB or RGBA bytes.
void convertRow(const uint32_t* row, int width, bool withAlpha, uint8_t* out)
{
    for (int x = 0; x < width; ++x) {
        uint32_t pixel = row[x];
        uint32_t alpha = pixel >> 24;
        uint32_t red = (pixel >> 16) & 0xFF;
        uint32_t green = (pixel >> 8) & 0xFF;
        uint32_t blue = pixel & 0xFF;
        if (alpha != 0xFF && alpha != 0) {
            red = unpremultiply(red, alpha);
            green = unpremultiply(green, alpha);
            blue = unpremultiply(blue, alpha);
        }
        *out++ = static_cast<uint8_t>(red);
        *out++ = static_cast<uint8_t>(green);
        *out++ = static_cast<uint8_t>(blue);
        if (withAlpha)
            *out++ = static_cast<uint8_t>(alpha);
    }
}

} // namespace

base::Result<void> writePremultipliedARGB(const uint8_t* pixels, int width, int height, int stride, const std::string& path)
{
    std::string unavailable;
    const Zlib* z = zlib(unavailable);
    if (!z)
        return base::Error::make(imageErrorDomain, errorCannotWrite, "Pictures cannot be written: " + unavailable);
    if (width <= 0 || height <= 0)
        return base::Error::make(imageErrorDomain, errorNothingToDraw, "There is no size to draw.");

    auto rowAt = [&](int y) { return reinterpret_cast<const uint32_t*>(pixels + static_cast<size_t>(y) * stride); };
    bool opaque = true;
    for (int y = 0; y < height && opaque; ++y) {
        const uint32_t* row = rowAt(y);
        for (int x = 0; x < width; ++x) {
            if ((row[x] >> 24) != 0xFF) {
                opaque = false;
                break;
            }
        }
    }
    const size_t channels = opaque ? 3 : 4;
    const size_t rowBytes = static_cast<size_t>(width) * channels;

    z_stream stream {};
    if (z->deflateInit2_(&stream, 1, Z_DEFLATED, 15, 8, Z_RLE, ZLIB_VERSION, static_cast<int>(sizeof(z_stream))) != Z_OK)
        return base::Error::make(imageErrorDomain, errorCannotWrite, "The picture could not be compressed.");
    std::unique_ptr<z_stream, int (*)(z_streamp)> ending(&stream, z->deflateEnd);
    std::string compressed;
    std::array<Bytef, 64 * 1024> chunk;
    auto feed = [&](const uint8_t* bytes, size_t count, int flush) {
        stream.next_in = const_cast<Bytef*>(bytes);
        stream.avail_in = static_cast<uInt>(count);
        int result = Z_OK;
        do {
            stream.next_out = chunk.data();
            stream.avail_out = static_cast<uInt>(chunk.size());
            result = z->deflate(&stream, flush);
            compressed.append(reinterpret_cast<const char*>(chunk.data()), chunk.size() - stream.avail_out);
        } while (stream.avail_out == 0 || (flush == Z_FINISH && result == Z_OK));
        return flush == Z_FINISH ? result == Z_STREAM_END : result != Z_STREAM_ERROR;
    };

    // Each row filtered "up" (its difference to the row above): a screen's rows repeat much
    // of the one above, which leaves runs of zeros that deflate's run-length mode packs
    // at little cost.
    std::vector<uint8_t> previous(rowBytes, 0);
    std::vector<uint8_t> current(rowBytes);
    std::vector<uint8_t> filtered(rowBytes + 1);
    filtered[0] = 2;
    const size_t sourceBytes = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        uint8_t* out = filtered.data() + 1;
        if (y > 0 && std::memcmp(rowAt(y), rowAt(y - 1), sourceBytes) == 0) {
            // The same pixels as the row above: nothing to convert, nothing differs.
            std::memset(out, 0, rowBytes);
        } else {
            convertRow(rowAt(y), width, !opaque, current.data());
            for (size_t i = 0; i < rowBytes; ++i)
                out[i] = static_cast<uint8_t>(current[i] - previous[i]);
            previous.swap(current);
        }
        if (!feed(filtered.data(), filtered.size(), y + 1 == height ? Z_FINISH : Z_NO_FLUSH))
            return base::Error::make(imageErrorDomain, errorCannotWrite, "The picture could not be compressed.");
    }

    std::string png("\x89PNG\r\n\x1a\n", 8);
    png.reserve(compressed.size() + 64);
    std::string header;
    appendBigEndian(header, static_cast<uint32_t>(width));
    appendBigEndian(header, static_cast<uint32_t>(height));
    // 8 bits a channel, truecolour (with alpha or without), deflate, adaptive filtering, no interlace.
    const char rest[5] = { 8, static_cast<char>(opaque ? 2 : 6), 0, 0, 0 };
    header.append(rest, 5);
    appendChunk(*z, png, "IHDR", header);
    appendChunk(*z, png, "IDAT", compressed);
    appendChunk(*z, png, "IEND", {});

    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file || std::fwrite(png.data(), 1, png.size(), file.get()) != png.size() || std::fflush(file.get()) != 0)
        return base::Error::make(imageErrorDomain, errorCannotWrite, "Could not write \"" + path + "\".");
    return {};
}

} // namespace print::detail
