#include "platform/base/Json.h"

#include "platform/base/Strings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

namespace base {

namespace {

// The platform's user-info key of the byte offset where a JSON text was refused.
constexpr const char* jsonErrorIndexKey = "NSJSONSerializationErrorIndex";

// Why and where a text was refused, in the words the host sees: the description says what
// was wrong, at which byte (counted from 0) and at which depth of nesting.
Error jsonError(std::string what, size_t offset, size_t depth)
{
    // The parser's words may quote the refused bytes, which need not be UTF-8 or short.
    std::string reason = validUtf8(what.substr(0, std::min<size_t>(what.size(), 200)));
    std::string where = "at byte " + std::to_string(offset) + ", depth " + std::to_string(depth);
    Error error = Error::make(cocoaErrorDomain, propertyListReadCorruptError,
        "The data couldn\u2019t be read because it isn\u2019t in the correct format: " + reason + " (" + where + ").");
    error.userInfo.asDictionary()->set("NSDebugDescription", reason + " (" + where + ")");
    error.userInfo.asDictionary()->set(jsonErrorIndexKey, static_cast<int64_t>(offset));
    return error;
}

// The parser's message without its own prefix and line count ("[json.exception.parse_error.101]
// parse error at line 1, column 5: "): the description gives the byte and the depth instead.
std::string parserReason(const std::string& message)
{
    std::string_view reason(message);
    if (reason.starts_with("[json.exception.")) {
        size_t end = reason.find("] ");
        reason.remove_prefix(end == std::string_view::npos ? 0 : end + 2);
    }
    if (reason.starts_with("parse error")) {
        size_t colon = reason.find(": ");
        if (colon != std::string_view::npos)
            reason.remove_prefix(colon + 2);
    }
    return std::string(reason);
}

// Where the first container deeper than maxJsonDepth opens. The parser has read everything
// before it as JSON, so counting brackets outside strings finds it.
size_t offsetPastMaxDepth(std::string_view text)
{
    size_t depth = 0;
    bool inString = false;
    for (size_t offset = 0; offset < text.size(); ++offset) {
        char c = text[offset];
        if (inString) {
            if (c == '\\')
                ++offset;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maxJsonDepth)
                return offset;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return text.size();
}

// Builds the Value straight from parser events: no intermediate document, and the nesting
// lives on our own stack, so a deep text can neither overflow the C++ stack nor exceed
// the depth limit.
class ValueBuilder final : public nlohmann::json_sax<nlohmann::json> {
public:
    explicit ValueBuilder(std::string_view text)
        : m_text(text)
    {
    }

    bool null() override { return add(Value()); }
    bool boolean(bool v) override { return add(Value(v)); }
    bool number_integer(number_integer_t v) override { return add(Value(static_cast<int64_t>(v))); }
    bool number_unsigned(number_unsigned_t v) override { return add(Value(static_cast<uint64_t>(v))); }
    bool number_float(number_float_t v, const string_t&) override { return add(Value(static_cast<double>(v))); }
    bool string(string_t& v) override { return add(Value(std::move(v))); }
    bool binary(binary_t&) override { return fail("binary values are not JSON", m_text.size()); }

    bool start_object(std::size_t) override { return open(Value(Value::Dictionary())); }
    bool key(string_t& key) override
    {
        m_stack.back().key = std::move(key);
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(Value(Value::List())); }
    bool end_array() override { return close(); }

    // `position` counts the bytes read, the refused one included.
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) override
    {
        return fail(parserReason(e.what()), position > 0 ? position - 1 : 0);
    }

    Result<Value> result()
    {
        if (m_error)
            return jsonError(m_error->what, m_error->offset, m_error->depth);
        if (!m_root || !m_stack.empty())
            return jsonError("unexpected end of text", m_text.size(), m_stack.size());
        return std::move(*m_root);
    }

    Error failure(const std::string& what) const { return jsonError(what, m_text.size(), m_stack.size()); }

private:
    struct Frame {
        Value container;
        std::string key;
    };

    bool fail(std::string what, size_t offset)
    {
        if (!m_error)
            m_error = Failure { std::move(what), offset, m_stack.size() };
        return false;
    }

    bool add(Value value)
    {
        if (m_stack.empty()) {
            m_root = std::move(value);
            return true;
        }
        Frame& top = m_stack.back();
        if (auto* list = top.container.asList())
            list->push_back(std::move(value));
        else
            top.container.asDictionary()->set(std::move(top.key), std::move(value));
        return true;
    }

    bool open(Value container)
    {
        if (m_stack.size() >= maxJsonDepth)
            return fail("nesting deeper than " + std::to_string(maxJsonDepth) + " levels", offsetPastMaxDepth(m_text));
        m_stack.push_back(Frame { std::move(container), {} });
        return true;
    }

    bool close()
    {
        Value finished = std::move(m_stack.back().container);
        m_stack.pop_back();
        return add(std::move(finished));
    }

    struct Failure {
        std::string what;
        size_t offset = 0;
        size_t depth = 0;
    };

    std::string_view m_text;
    std::vector<Frame> m_stack;
    std::optional<Value> m_root;
    std::optional<Failure> m_error;
};

void writeString(std::string& out, std::string_view text)
{
    static constexpr char hex[] = "0123456789abcdef";
    out.push_back('"');
    size_t offset = 0;
    while (offset < text.size()) {
        // Printable ASCII that needs no escape goes over in one run.
        size_t plain = offset;
        while (plain < text.size()) {
            const auto byte = static_cast<unsigned char>(text[plain]);
            if (byte < 0x20 || byte >= 0x80 || byte == '"' || byte == '\\')
                break;
            ++plain;
        }
        out.append(text.data() + offset, plain - offset);
        offset = plain;
        if (offset == text.size())
            break;
        const auto byte = static_cast<unsigned char>(text[offset]);
        if (byte >= 0x80) {
            appendUtf8(out, decodeUtf8(text, offset)); // repairs invalid sequences
            continue;
        }
        ++offset;
        switch (byte) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20) {
                out += "\\u00";
                out.push_back(hex[byte >> 4]);
                out.push_back(hex[byte & 0xF]);
            } else {
                out.push_back(static_cast<char>(byte));
            }
        }
    }
    out.push_back('"');
}

void writeDouble(std::string& out, double value)
{
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    if (value == 0 && std::signbit(value)) {
        out += "-0.0"; // "-0" would read back as the integer 0
        return;
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

class Writer {
public:
    explicit Writer(bool pretty) : m_pretty(pretty) { }

    void write(const Value& value, size_t depth)
    {
        switch (value.type()) {
        case Value::Type::Null:
            m_out += "null";
            return;
        case Value::Type::Bool:
            m_out += *value.asBool() ? "true" : "false";
            return;
        case Value::Type::Integer:
            m_out += std::to_string(*value.asInteger());
            return;
        case Value::Type::Double:
            writeDouble(m_out, *value.asDouble());
            return;
        case Value::Type::String:
            writeString(m_out, *value.stringPointer());
            return;
        case Value::Type::Date:
            writeDouble(m_out, value.asDate()->timeIntervalSince1970);
            return;
        case Value::Type::Bytes:
            writeString(m_out, base64Encode(*value.asBytes()));
            return;
        case Value::Type::List: {
            const auto& list = *value.asList();
            if (list.empty()) {
                m_out += "[]";
                return;
            }
            m_out.push_back('[');
            for (size_t i = 0; i < list.size(); ++i) {
                if (i)
                    m_out.push_back(',');
                newline(depth + 1);
                write(list[i], depth + 1);
            }
            newline(depth);
            m_out.push_back(']');
            return;
        }
        case Value::Type::Dictionary: {
            const auto& dictionary = *value.asDictionary();
            if (dictionary.empty()) {
                m_out += "{}";
                return;
            }
            m_out.push_back('{');
            bool first = true;
            for (const auto& [key, entry] : dictionary) {
                if (!first)
                    m_out.push_back(',');
                first = false;
                newline(depth + 1);
                writeString(m_out, key);
                m_out += m_pretty ? " : " : ":";
                write(entry, depth + 1);
            }
            newline(depth);
            m_out.push_back('}');
            return;
        }
        }
    }

    std::string take() { return std::move(m_out); }

private:
    void newline(size_t depth)
    {
        if (!m_pretty)
            return;
        m_out.push_back('\n');
        m_out.append(depth * 2, ' ');
    }

    bool m_pretty;
    std::string m_out;
};

} // namespace

Result<Value> parseJson(std::string_view text)
{
    ValueBuilder builder(text);
    try {
        nlohmann::json::sax_parse(text.begin(), text.end(), &builder);
    } catch (const std::exception& e) {
        return builder.failure(parserReason(e.what()));
    }
    return builder.result();
}

std::string toJson(const Value& value)
{
    Writer writer(false);
    writer.write(value, 0);
    return writer.take();
}

std::string toPrettyJson(const Value& value)
{
    Writer writer(true);
    writer.write(value, 0);
    return writer.take();
}

} // namespace base
