// base::formatValues: printf-style formatting over Values (declared in Strings.h).

#include "platform/base/Strings.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace base {

namespace {

struct Spec {
    bool leftAlign = false;
    bool plus = false;
    bool space = false;
    bool zeroPad = false;
    bool alternate = false;
    std::optional<size_t> width;
    std::optional<size_t> precision;
    int longness = 0; // number of 'l' (or q/j/z/t as 2)
    char conversion = 0;
};

constexpr size_t maxWidth = 4096; // a hostile "%999999999d" must not allocate gigabytes

void pad(std::string& out, std::string_view body, const Spec& spec, size_t visibleLength)
{
    const size_t width = spec.width.value_or(0);
    if (visibleLength >= width) {
        out += body;
        return;
    }
    const size_t fill = width - visibleLength;
    if (spec.leftAlign) {
        out += body;
        out.append(fill, ' ');
    } else {
        out.append(fill, ' ');
        out += body;
    }
}

// Sign or prefix, then digits: zero padding goes between them.
void padNumber(std::string& out, std::string_view prefix, std::string_view digits, const Spec& spec, bool zeroAllowed)
{
    const size_t width = spec.width.value_or(0);
    const size_t length = prefix.size() + digits.size();
    if (spec.zeroPad && !spec.leftAlign && zeroAllowed && length < width) {
        out += prefix;
        out.append(width - length, '0');
        out += digits;
        return;
    }
    std::string body(prefix);
    body += digits;
    pad(out, body, spec, body.size());
}

std::string unsignedDigits(uint64_t value, int base, bool upper)
{
    if (value == 0)
        return "0";
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string out;
    while (value) {
        out.insert(out.begin(), digits[value % static_cast<uint64_t>(base)]);
        value /= static_cast<uint64_t>(base);
    }
    return out;
}

void formatInteger(std::string& out, const Value& argument, const Spec& spec)
{
    const int64_t value = argument.integerValue();
    std::string prefix;
    std::string digits;
    const char c = spec.conversion;
    if (c == 'd' || c == 'i') {
        if (value < 0)
            prefix = "-";
        else if (spec.plus)
            prefix = "+";
        else if (spec.space)
            prefix = " ";
        const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        digits = unsignedDigits(magnitude, 10, false);
    } else {
        // Unsigned conversions see a negative value as its two's complement, in 32 bits
        // unless a length modifier asked for 64, as the C conversions would.
        uint64_t bits = static_cast<uint64_t>(value);
        if (value < 0 && spec.longness == 0)
            bits &= 0xFFFFFFFFu;
        const int base = c == 'o' ? 8 : (c == 'u' ? 10 : 16);
        digits = unsignedDigits(bits, base, c == 'X');
        if (spec.alternate && bits != 0) {
            if (c == 'x')
                prefix = "0x";
            else if (c == 'X')
                prefix = "0X";
            else if (c == 'o')
                digits.insert(digits.begin(), '0');
        }
    }
    if (spec.precision) {
        if (*spec.precision == 0 && digits == "0")
            digits.clear();
        else if (digits.size() < *spec.precision)
            digits.insert(0, *spec.precision - digits.size(), '0');
    }
    padNumber(out, prefix, digits, spec, !spec.precision);
}

void formatFloat(std::string& out, const Value& argument, const Spec& spec)
{
    const double value = argument.doubleValue();
    const char c = spec.conversion;
    const bool upper = c == 'F' || c == 'E' || c == 'G' || c == 'A';
    std::string prefix;
    if (std::signbit(value) && !std::isnan(value))
        prefix = "-";
    else if (spec.plus)
        prefix = "+";
    else if (spec.space)
        prefix = " ";
    const double magnitude = std::fabs(value);
    std::string digits;
    if (std::isnan(value) || std::isinf(value)) {
        digits = std::isnan(value) ? "nan" : "inf";
    } else {
        std::chars_format format = std::chars_format::fixed;
        switch (c) {
        case 'e':
        case 'E':
            format = std::chars_format::scientific;
            break;
        case 'g':
        case 'G':
            format = std::chars_format::general;
            break;
        case 'a':
        case 'A':
            format = std::chars_format::hex;
            break;
        default:
            break;
        }
        const int precision = static_cast<int>(std::min<size_t>(spec.precision.value_or(6), 350));
        std::string buffer(512, '\0');
        auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, format, precision);
        if (result.ec != std::errc()) {
            buffer.resize(4096);
            result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, format, precision);
        }
        digits.assign(buffer.data(), result.ptr);
        if (spec.alternate && precision == 0 && format == std::chars_format::fixed)
            digits.push_back('.');
        if (format == std::chars_format::hex)
            digits.insert(0, "0x");
    }
    if (upper) {
        for (char& ch : digits)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    }
    padNumber(out, prefix, digits, spec, std::isfinite(value));
}

void formatText(std::string& out, std::string text, const Spec& spec)
{
    if (spec.precision && *spec.precision < text.size()) {
        // Cut on a character boundary.
        size_t cut = 0;
        size_t offset = 0;
        while (offset < text.size()) {
            size_t next = offset;
            decodeUtf8(text, next);
            if (next > *spec.precision)
                break;
            cut = offset = next;
        }
        text.resize(cut);
    }
    pad(out, text, spec, utf16Length(text));
}

void formatCharacter(std::string& out, const Value& argument, const Spec& spec)
{
    std::string text;
    if (const std::string* s = argument.stringPointer()) {
        size_t offset = 0;
        if (!s->empty())
            appendUtf8(text, decodeUtf8(*s, offset));
    } else {
        const int64_t code = argument.integerValue();
        if (code > 0)
            appendUtf8(text, code > 0x10FFFF ? 0xFFFD : static_cast<char32_t>(code));
    }
    pad(out, text, spec, utf16Length(text));
}

// Reads a decimal number at `i`; absent when there are no digits.
std::optional<size_t> readNumber(std::string_view format, size_t& i)
{
    if (i >= format.size() || format[i] < '0' || format[i] > '9')
        return std::nullopt;
    size_t value = 0;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
        value = std::min<size_t>(value * 10 + static_cast<size_t>(format[i] - '0'), 1000000);
        ++i;
    }
    return value;
}

} // namespace

std::string formatValues(std::string_view format, std::span<const Value> arguments)
{
    static const Value null;
    std::string out;
    out.reserve(format.size() + 16 * arguments.size());
    size_t nextArgument = 0;
    const auto argumentAt = [&](size_t index) -> const Value& {
        return index < arguments.size() ? arguments[index] : null;
    };

    for (size_t i = 0; i < format.size();) {
        const size_t percent = format.find('%', i);
        if (percent == std::string_view::npos) {
            out += format.substr(i);
            break;
        }
        out += format.substr(i, percent - i);
        size_t j = percent + 1;
        if (j < format.size() && format[j] == '%') {
            out.push_back('%');
            i = j + 1;
            continue;
        }

        Spec spec;
        // An explicit position: digits followed by "$".
        std::optional<size_t> position;
        {
            size_t k = j;
            const auto number = readNumber(format, k);
            if (number && k < format.size() && format[k] == '$' && *number > 0) {
                position = *number - 1;
                j = k + 1;
            }
        }
        for (; j < format.size(); ++j) {
            const char f = format[j];
            if (f == '-')
                spec.leftAlign = true;
            else if (f == '+')
                spec.plus = true;
            else if (f == ' ')
                spec.space = true;
            else if (f == '0')
                spec.zeroPad = true;
            else if (f == '#')
                spec.alternate = true;
            else if (f == '\'')
                continue; // thousands grouping: not applied
            else
                break;
        }
        if (j < format.size() && format[j] == '*') {
            const int64_t width = argumentAt(nextArgument++).integerValue();
            if (width < 0)
                spec.leftAlign = true;
            const uint64_t magnitude = width < 0 ? 0 - static_cast<uint64_t>(width) : static_cast<uint64_t>(width);
            spec.width = static_cast<size_t>(std::min<uint64_t>(magnitude, maxWidth));
            ++j;
        } else if (const auto width = readNumber(format, j)) {
            spec.width = width;
        }
        if (j < format.size() && format[j] == '.') {
            ++j;
            if (j < format.size() && format[j] == '*') {
                const int64_t precision = argumentAt(nextArgument++).integerValue();
                if (precision >= 0)
                    spec.precision = static_cast<size_t>(precision);
                ++j;
            } else {
                spec.precision = readNumber(format, j).value_or(0);
            }
        }
        if (spec.width)
            spec.width = std::min(*spec.width, maxWidth);
        if (spec.precision)
            spec.precision = std::min(*spec.precision, maxWidth);
        while (j < format.size()) {
            const char m = format[j];
            if (m == 'l') {
                ++spec.longness;
            } else if (m == 'q' || m == 'j' || m == 'z' || m == 't') {
                spec.longness += 2;
            } else if (m != 'h' && m != 'L') {
                break;
            }
            ++j;
        }
        if (j >= format.size()) {
            out += format.substr(percent);
            break;
        }
        spec.conversion = format[j];
        const std::string_view specText = format.substr(percent, j + 1 - percent);
        i = j + 1;

        const auto takeArgument = [&]() -> const Value& {
            if (position)
                return argumentAt(*position);
            return argumentAt(nextArgument++);
        };
        switch (spec.conversion) {
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
        case 'o':
        case 'D':
        case 'U':
        case 'O':
            if (spec.conversion >= 'A' && spec.conversion <= 'Z' && spec.conversion != 'X') {
                spec.conversion = static_cast<char>(spec.conversion + 32);
                spec.longness = std::max(spec.longness, 1);
            }
            formatInteger(out, takeArgument(), spec);
            break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            formatFloat(out, takeArgument(), spec);
            break;
        case 'c':
        case 'C':
            formatCharacter(out, takeArgument(), spec);
            break;
        case '@':
        case 's':
        case 'S':
        case 'p':
            formatText(out, takeArgument().description(), spec);
            break;
        default:
            out += specText;
            break;
        }
    }
    return out;
}

} // namespace base
