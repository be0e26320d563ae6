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
    decltype(&::crc32) crc32 = nullptr;
    decltype(&::adler32) adler32 = nullptr;
};

const Zlib* zlib(std::string& error)
{
    static std::string failure;
    static const std::optional<Zlib> library = []() -> std::optional<Zlib> {
        Zlib functions;
        std::vector<base::LibrarySymbol> symbols { { "crc32", &functions.crc32 }, { "adler32", &functions.adler32 } };
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

// A zlib stream of one deflate block with the fixed codes, where every run of a repeated
// byte becomes one literal and back-references at distance 1, and every other byte a
// literal. A filtered screen is mostly such runs, so this is several times quicker than
// zlib's own run-length mode on it, for files a little larger; any inflater reads it.
class RunDeflater {
public:
    explicit RunDeflater(const Zlib& z)
        : m_z(z)
    {
        m_out.push_back('\x78');
        m_out.push_back('\x01');
        putBits(1, 1); // the last block
        putBits(1, 2); // fixed codes
    }

    void add(const uint8_t* bytes, size_t count)
    {
        size_t i = 0;
        size_t summedTo = 0;
        while (i < count) {
            uint8_t value = bytes[i];
            size_t run = runLength(bytes + i, count - i);
            putCode(literalCodes()[value]);
            putRepeats(value, run - 1);
            if (value == 0 && run >= 16) {
                sum(bytes + summedTo, i - summedTo);
                sumZeros(run);
                summedTo = i + run;
            }
            i += run;
        }
        sum(bytes + summedTo, count - summedTo);
    }

    // A filtered row that repeats the one above: its filter byte and then only zeros.
    void addRepeatedRow(uint8_t filter, size_t zeros)
    {
        uint8_t first[2] = { filter, 0 };
        add(first, 2);
        putRepeats(0, zeros - 1);
        sumZeros(zeros - 1);
    }

    std::string finish()
    {
        putBits(0, 7); // the end of the block: code 256, seven zero bits
        if (m_bitCount > 0)
            putBits(0, 8 - m_bitCount);
        uint32_t adler = (m_s2 << 16) | m_s1;
        for (int shift = 24; shift >= 0; shift -= 8)
            m_out.push_back(static_cast<char>(adler >> shift));
        return std::move(m_out);
    }

private:
    // Bits ready to go out, lowest first: a Huffman code already reversed (deflate writes
    // codes from their top bit), with any extra bits and the distance code after it.
    struct Code {
        uint32_t bits = 0;
        int length = 0;
    };

    // How many bytes from the first repeat it, a word at a time where it can.
    static size_t runLength(const uint8_t* bytes, size_t count)
    {
        const uint64_t pattern = 0x0101010101010101ull * bytes[0];
        size_t run = 1;
        while (run + 8 <= count) {
            uint64_t word;
            std::memcpy(&word, bytes + run, 8);
            if (word != pattern)
                break;
            run += 8;
        }
        while (run < count && bytes[run] == bytes[0])
            ++run;
        return run;
    }

    static uint32_t reversed(uint32_t code, int length)
    {
        uint32_t out = 0;
        for (int bit = 0; bit < length; ++bit)
            out |= ((code >> bit) & 1u) << (length - 1 - bit);
        return out;
    }

    static const std::array<Code, 256>& literalCodes()
    {
        static const auto table = [] {
            std::array<Code, 256> codes;
            for (uint32_t value = 0; value < 256; ++value)
                codes[value] = value < 144 ? Code { reversed(0x30u + value, 8), 8 } : Code { reversed(0x190u + value - 144u, 9), 9 };
            return codes;
        }();
        return table;
    }

    // A back-reference of the index's length (3 to 258) at distance 1.
    static const std::array<Code, 259>& lengthCodes()
    {
        static const auto table = [] {
            static constexpr uint16_t bases[29] = { 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51,
                59, 67, 83, 99, 115, 131, 163, 195, 227, 258 };
            static constexpr uint8_t extra[29] = { 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4,
                4, 5, 5, 5, 5, 0 };
            std::array<Code, 259> codes {};
            for (uint32_t length = 3; length <= 258; ++length) {
                int index = 28;
                while (bases[index] > length)
                    --index;
                uint32_t symbol = 257u + static_cast<uint32_t>(index);
                Code code = symbol < 280 ? Code { reversed(symbol - 256u, 7), 7 } : Code { reversed(0xC0u + symbol - 280u, 8), 8 };
                code.bits |= (length - bases[index]) << code.length;
                code.length += extra[index];
                code.length += 5; // distance 1 is the distance code 0, five zero bits
                codes[length] = code;
            }
            return codes;
        }();
        return table;
    }

    void putCode(const Code& code) { putBits(code.bits, code.length); }

    // `count` more of the byte just written: back-references, with literals for a tail too
    // short for one.
    void putRepeats(uint8_t value, size_t count)
    {
        while (count >= 258) {
            putCode(lengthCodes()[258]);
            count -= 258;
        }
        if (count >= 3) {
            putCode(lengthCodes()[count]);
            count = 0;
        }
        while (count--)
            putCode(literalCodes()[value]);
    }

    void putBits(uint32_t bits, int length)
    {
        m_bits |= static_cast<uint64_t>(bits) << m_bitCount;
        m_bitCount += length;
        while (m_bitCount >= 8) {
            m_out.push_back(static_cast<char>(m_bits & 0xFF));
            m_bits >>= 8;
            m_bitCount -= 8;
        }
    }

    // The zlib stream's Adler-32 of the uncompressed bytes.
    void sum(const uint8_t* bytes, size_t count)
    {
        if (count == 0)
            return;
        uint32_t adler = m_z.adler32((m_s2 << 16) | m_s1, bytes, static_cast<uInt>(count));
        m_s1 = adler & 0xFFFF;
        m_s2 = adler >> 16;
    }

    // A run of zeros moves only the second sum, by a product: the long runs cost nothing.
    void sumZeros(size_t count)
    {
        constexpr uint64_t modulus = 65521;
        m_s2 = static_cast<uint32_t>((m_s2 + (count % modulus) * m_s1) % modulus);
    }

    const Zlib& m_z;
    std::string m_out;
    uint64_t m_bits = 0;
    int m_bitCount = 0;
    uint32_t m_s1 = 1;
    uint32_t m_s2 = 0;
};

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

    // The rows go out filtered "up" (each byte's difference to the byte above): a screen's
    // rows repeat much of the one above, which leaves long runs of zeros.
    RunDeflater deflater(*z);
    std::vector<uint8_t> previous(rowBytes, 0);
    std::vector<uint8_t> current(rowBytes);
    std::vector<uint8_t> filtered(rowBytes + 1);
    filtered[0] = 2;
    const size_t sourceBytes = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        if (y > 0 && std::memcmp(rowAt(y), rowAt(y - 1), sourceBytes) == 0) {
            // The same pixels as the row above: nothing to convert, nothing differs.
            deflater.addRepeatedRow(filtered[0], rowBytes);
            continue;
        }
        uint8_t* out = filtered.data() + 1;
        convertRow(rowAt(y), width, !opaque, current.data());
        for (size_t i = 0; i < rowBytes; ++i)
            out[i] = static_cast<uint8_t>(current[i] - previous[i]);
        previous.swap(current);
        deflater.add(filtered.data(), filtered.size());
    }
    std::string compressed = deflater.finish();

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
