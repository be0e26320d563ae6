#include "platform/base/StringTable.h"

#include "platform/base/Strings.h"

#include <cstdint>

namespace base {

namespace {

bool isHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

char32_t combineSurrogates(char32_t high, char32_t low)
{
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

std::string decodeUtf16(std::string_view bytes, bool bigEndian)
{
    std::string out;
    out.reserve(bytes.size());
    auto unitAt = [&](size_t i) -> char32_t {
        auto first = static_cast<unsigned char>(bytes[i]);
        auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (char32_t(first) << 8 | second) : (char32_t(second) << 8 | first);
    };
    size_t count = bytes.size() / 2; // a dangling odd byte is dropped
    for (size_t i = 0; i < count; ++i) {
        char32_t unit = unitAt(2 * i);
        if (isHighSurrogate(unit) && i + 1 < count && isLowSurrogate(unitAt(2 * (i + 1)))) {
            appendUtf8(out, combineSurrogates(unit, unitAt(2 * (i + 1))));
            ++i;
        } else {
            appendUtf8(out, unit); // a lone surrogate turns into U+FFFD there
        }
    }
    return out;
}

std::string sanitizeUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        size_t length = 0;
        char32_t c = 0;
        char32_t minimum = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, c = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, c = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, c = lead & 0x07, minimum = 0x10000;
        }
        bool valid = length > 0 && i + length <= bytes.size();
        for (size_t k = 1; valid && k < length; ++k) {
            auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                valid = false;
            else
                c = (c << 6) | (next & 0x3F);
        }
        if (valid && c >= minimum && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF)) {
            out.append(bytes.substr(i, length));
            i += length;
        } else {
            appendUtf8(out, replacementCharacter);
            ++i;
        }
    }
    return out;
}

bool isUnquotedCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$'
        || c == '+' || c == '/' || c == ':' || c == '.' || c == '-';
}

class Parser {
public:
    explicit Parser(std::string_view text)
        : m_text(text)
        , m_budget(text.size() * 8 + 4096)
    {
    }

    void run(std::map<std::string, std::string, std::less<>>& entries, std::vector<std::string>& warnings)
    {
        for (;;) {
            if (!skipSpaceAndComments()) {
                warnings.push_back(lineText(m_errorLine) + m_error);
                break;
            }
            if (atEnd())
                break;
            size_t entryStart = m_pos;
            size_t entryLine = m_line;
            std::string key;
            std::string value;
            if (parseEntry(key, value)) {
                entries.insert_or_assign(std::move(key), std::move(value));
                continue;
            }
            if (m_exhausted)
                break;
            warnings.push_back(lineText(entryLine) + m_error);
            resumeAfterLineOf(entryStart, entryLine);
        }
        if (m_exhausted)
            warnings.push_back(lineText(m_line) + "too many broken entries; the rest was skipped");
    }

private:
    bool atEnd() const { return m_pos >= m_text.size() || m_exhausted; }
    char peek(size_t ahead = 0) const { return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : '\0'; }
    void advance()
    {
        if (m_text[m_pos] == '\n')
            ++m_line;
        ++m_pos;
        if (--m_budget == 0)
            m_exhausted = true;
    }

    static std::string lineText(size_t line) { return "line " + std::to_string(line) + ": "; }

    bool fail(std::string message)
    {
        m_error = std::move(message);
        m_errorLine = m_line;
        return false;
    }

    // False only for a comment left open at the end of the text.
    bool skipSpaceAndComments()
    {
        while (!atEnd()) {
            char c = peek();
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
                advance();
            } else if (c == '/' && peek(1) == '/') {
                while (!atEnd() && peek() != '\n')
                    advance();
            } else if (c == '/' && peek(1) == '*') {
                size_t openLine = m_line;
                advance();
                advance();
                while (!atEnd() && !(peek() == '*' && peek(1) == '/'))
                    advance();
                if (atEnd()) {
                    m_line = openLine;
                    return fail("comment never closed");
                }
                advance();
                advance();
            } else {
                return true;
            }
        }
        return true;
    }

    bool parseEntry(std::string& key, std::string& value)
    {
        if (!parseString(key, "key"))
            return false;
        if (!skipSpaceAndComments())
            return false;
        if (peek() == ';') {
            advance();
            value = key;
            return true;
        }
        if (peek() != '=')
            return fail(atEnd() ? "entry cut short after the key" : "expected '=' after the key");
        advance();
        if (!skipSpaceAndComments())
            return false;
        if (!parseString(value, "value"))
            return false;
        if (!skipSpaceAndComments())
            return false;
        if (peek() != ';')
            return fail(atEnd() ? "missing ';' at the end" : "expected ';' after the value");
        advance();
        return true;
    }

    bool parseString(std::string& out, const char* what)
    {
        if (atEnd())
            return fail(std::string("missing ") + what);
        if (peek() == '"')
            return parseQuoted(out);
        if (!isUnquotedCharacter(peek()))
            return fail(std::string("unexpected character where a ") + what + " should be");
        while (!atEnd() && isUnquotedCharacter(peek())) {
            out += peek();
            advance();
        }
        return true;
    }

    bool parseQuoted(std::string& out)
    {
        size_t openLine = m_line;
        advance(); // the opening quote
        while (!atEnd()) {
            char c = peek();
            if (c == '"') {
                advance();
                return true;
            }
            if (c != '\\') {
                out += c;
                advance();
                continue;
            }
            advance();
            if (atEnd())
                break;
            if (!parseEscape(out))
                return false;
        }
        m_line = openLine;
        return fail("string never closed");
    }

    bool parseEscape(std::string& out)
    {
        char c = peek();
        switch (c) {
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case 'a':
            out += '\a';
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'v':
            out += '\v';
            break;
        case 'u':
        case 'U': {
            advance();
            char32_t unit = 0;
            if (!parseHexUnit(unit))
                return false;
            if (isHighSurrogate(unit) && peek() == '\\' && (peek(1) == 'u' || peek(1) == 'U')) {
                size_t save = m_pos;
                advance();
                advance();
                char32_t low = 0;
                if (!parseHexUnit(low))
                    return false;
                if (isLowSurrogate(low)) {
                    appendUtf8(out, combineSurrogates(unit, low));
                    return true;
                }
                // Not a pair: the lone high half is replaced, the next escape read anew.
                m_pos = save;
                appendUtf8(out, replacementCharacter);
                return true;
            }
            appendUtf8(out, unit);
            return true;
        }
        default:
            if (c >= '0' && c <= '7') {
                unsigned code = 0;
                for (int digits = 0; digits < 3 && peek() >= '0' && peek() <= '7'; ++digits) {
                    code = code * 8 + static_cast<unsigned>(peek() - '0');
                    advance();
                }
                appendUtf8(out, code);
                return true;
            }
            out += c; // \" \\ \' and any other escaped character stand for themselves
            break;
        }
        advance();
        return true;
    }

    bool parseHexUnit(char32_t& unit)
    {
        unit = 0;
        for (int i = 0; i < 4; ++i) {
            int digit = hexDigitValue(peek());
            if (digit < 0)
                return fail("\\u needs four hex digits");
            unit = unit * 16 + static_cast<char32_t>(digit);
            advance();
        }
        return true;
    }

    // Always moves forward past the start of the broken entry, so parsing ends.
    void resumeAfterLineOf(size_t entryStart, size_t entryLine)
    {
        size_t newline = m_text.find('\n', entryStart);
        m_pos = newline == std::string_view::npos ? m_text.size() : newline + 1;
        m_line = entryLine + 1;
    }

    std::string_view m_text;
    size_t m_pos = 0;
    size_t m_line = 1;
    std::string m_error;
    size_t m_errorLine = 0;
    // Re-reading after a broken entry revisits text; a file built so that every line
    // re-reads to the far end would take quadratic time. Scanning is capped at a few
    // passes over the text.
    size_t m_budget;
    bool m_exhausted = false;
};

} // namespace

std::string decodeStringsFileText(std::string_view bytes)
{
    auto byteAt = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 3 && byteAt(0) == 0xEF && byteAt(1) == 0xBB && byteAt(2) == 0xBF)
        return sanitizeUtf8(bytes.substr(3));
    if (bytes.size() >= 2 && byteAt(0) == 0xFF && byteAt(1) == 0xFE)
        return decodeUtf16(bytes.substr(2), false);
    if (bytes.size() >= 2 && byteAt(0) == 0xFE && byteAt(1) == 0xFF)
        return decodeUtf16(bytes.substr(2), true);
    // UTF-16 written without a BOM still shows itself by a zero byte beside the first
    // (ASCII) character.
    if (bytes.size() >= 2 && byteAt(0) != 0 && byteAt(1) == 0)
        return decodeUtf16(bytes, false);
    if (bytes.size() >= 2 && byteAt(0) == 0 && byteAt(1) != 0)
        return decodeUtf16(bytes, true);
    return sanitizeUtf8(bytes);
}

StringTable StringTable::parse(std::string_view bytes)
{
    StringTable table;
    std::string text = decodeStringsFileText(bytes);
    Parser(text).run(table.m_entries, table.m_warnings);
    return table;
}

std::optional<std::string> StringTable::lookup(std::string_view key) const
{
    auto found = m_entries.find(key);
    if (found == m_entries.end())
        return std::nullopt;
    return found->second;
}

} // namespace base
