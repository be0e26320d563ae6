// Percent coding, identifiers and base64: the text codings of addresses and stored records.
#include "platform/base/Strings.h"

#include <random>

namespace base {

// --- Percent coding ----------------------------------------------------------------

namespace {

bool isUnreserved(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
        || c == '_' || c == '~';
}

bool isAllowed(unsigned char c, PercentEncodeSet set)
{
    if (isUnreserved(c))
        return true;
    const std::string_view subDelimiters = "!$&'()*+,;=";
    const bool subDelimiter = c && subDelimiters.find(static_cast<char>(c)) != std::string_view::npos;
    switch (set) {
    case PercentEncodeSet::Unreserved:
        return false;
    case PercentEncodeSet::UrlQueryAllowed:
    case PercentEncodeSet::UrlFragmentAllowed:
        return subDelimiter || c == ':' || c == '@' || c == '/' || c == '?';
    case PercentEncodeSet::UrlPathAllowed:
        return subDelimiter || c == ':' || c == '@' || c == '/';
    case PercentEncodeSet::UrlHostAllowed:
        return subDelimiter || c == ':' || c == '[' || c == ']';
    case PercentEncodeSet::UrlUserAllowed:
    case PercentEncodeSet::UrlPasswordAllowed:
        return subDelimiter;
    }
    return false;
}

} // namespace

std::string percentEncode(std::string_view text, PercentEncodeSet set)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (isAllowed(c, set)) {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(digits[c >> 4]);
            out.push_back(digits[c & 0xF]);
        }
    }
    return out;
}

std::optional<std::string> percentDecode(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out.push_back(text[i]);
            continue;
        }
        if (text.size() - i < 3)
            return std::nullopt;
        const int high = hexDigitValue(text[i + 1]);
        const int low = hexDigitValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    if (!isValidUtf8(out))
        return std::nullopt;
    return out;
}

// --- Identifiers and base64 --------------------------------------------------------

std::string makeUuid()
{
    thread_local std::mt19937_64 generator { [] {
        std::random_device device;
        std::seed_seq seed { device(), device(), device(), device() };
        return std::mt19937_64(seed);
    }() };
    uint8_t bytes[16];
    for (size_t i = 0; i < 16; i += 8) {
        const uint64_t r = generator();
        for (size_t k = 0; k < 8; ++k)
            bytes[i + k] = static_cast<uint8_t>(r >> (8 * k));
    }
    bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(36);
    for (size_t i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            out.push_back('-');
        out.push_back(digits[bytes[i] >> 4]);
        out.push_back(digits[bytes[i] & 0xF]);
    }
    return out;
}

std::string base64Encode(std::span<const uint8_t> bytes)
{
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const uint32_t v = (uint32_t(bytes[i]) << 16) | (uint32_t(bytes[i + 1]) << 8) | bytes[i + 2];
        out.push_back(alphabet[(v >> 18) & 63]);
        out.push_back(alphabet[(v >> 12) & 63]);
        out.push_back(alphabet[(v >> 6) & 63]);
        out.push_back(alphabet[v & 63]);
    }
    if (const size_t rest = bytes.size() - i) {
        uint32_t v = uint32_t(bytes[i]) << 16;
        if (rest == 2)
            v |= uint32_t(bytes[i + 1]) << 8;
        out.push_back(alphabet[(v >> 18) & 63]);
        out.push_back(alphabet[(v >> 12) & 63]);
        out.push_back(rest == 2 ? alphabet[(v >> 6) & 63] : '=');
        out.push_back('=');
    }
    return out;
}

std::optional<std::vector<uint8_t>> base64Decode(std::string_view text)
{
    std::vector<uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    uint32_t buffer = 0;
    int bits = 0;
    size_t symbols = 0;
    size_t padding = 0;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v')
            continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        if (padding) // data after padding
            return std::nullopt;
        int v;
        if (c >= 'A' && c <= 'Z')
            v = c - 'A';
        else if (c >= 'a' && c <= 'z')
            v = c - 'a' + 26;
        else if (c >= '0' && c <= '9')
            v = c - '0' + 52;
        else if (c == '+')
            v = 62;
        else if (c == '/')
            v = 63;
        else
            return std::nullopt;
        ++symbols;
        buffer = (buffer << 6) | static_cast<uint32_t>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<uint8_t>((buffer >> bits) & 0xFF));
        }
    }
    const size_t remainder = symbols % 4;
    if (remainder == 1 || padding > 2 || (padding && (remainder + padding) % 4 != 0))
        return std::nullopt;
    return out;
}

} // namespace base
