#include "platform/base/Plist.h"

#include "platform/base/Strings.h"

#include <charconv>
#include <cmath>
#include <pugixml.hpp>

namespace base {

namespace {

Error plistError(std::string detail)
{
    Error error = Error::make(cocoaErrorDomain, propertyListReadCorruptError,
        "The data couldn\u2019t be read because it isn\u2019t in the correct format.");
    error.userInfo.asDictionary()->set("NSDebugDescription", std::move(detail));
    return error;
}

// "<name>", built by appending: GCC's Release-mode -Wrestrict misreads "<" + std::string.
std::string elementText(std::string_view name)
{
    std::string text;
    text.reserve(name.size() + 2);
    text += '<';
    text += name;
    text += '>';
    return text;
}

bool isBlank(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

std::string_view trimmedAscii(std::string_view text)
{
    const size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos)
        return {};
    const size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

std::optional<Value> parseInteger(std::string_view text)
{
    text = trimmedAscii(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    uint64_t magnitude = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (result.ptr != text.data() + text.size() || result.ec != std::errc())
        return std::nullopt;
    if (!negative)
        return Value(magnitude); // above the int64 range it becomes a double
    if (magnitude > static_cast<uint64_t>(INT64_MAX) + 1)
        return std::nullopt;
    return Value(magnitude == static_cast<uint64_t>(INT64_MAX) + 1 ? INT64_MIN : -static_cast<int64_t>(magnitude));
}

std::optional<double> parseReal(std::string_view text)
{
    text = trimmedAscii(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text[0] == '+' || text[0] == '-')
        return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ptr != text.data() + text.size())
        return std::nullopt;
    if (result.ec == std::errc::result_out_of_range) {
        const size_t e = text.find_first_of("eE");
        value = e != std::string_view::npos && e + 1 < text.size() && text[e + 1] == '-'
            ? 0.0
            : std::numeric_limits<double>::infinity();
    } else if (result.ec != std::errc()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<Date> parseDate(std::string_view text)
{
    text = trimmedAscii(text);
    if (!text.ends_with('Z'))
        return std::nullopt; // property-list dates are always written in UTC
    for (const char* pattern : { "yyyy-MM-dd'T'HH:mm:ssZ", "yyyy-MM-dd'T'HH:mm:ss.SSSZ" }) {
        DateFormatter formatter(pattern);
        formatter.setTimeZone(TimeZone::utc());
        formatter.setLocaleIdentifier("en_US_POSIX");
        if (const auto date = formatter.date(text))
            return date;
    }
    return std::nullopt;
}

// The text content of a leaf element; absent when it holds elements.
std::optional<std::string> leafText(const pugi::xml_node& node)
{
    std::string text;
    for (const auto& child : node.children()) {
        switch (child.type()) {
        case pugi::node_pcdata:
        case pugi::node_cdata:
            text += child.value();
            break;
        case pugi::node_comment:
        case pugi::node_pi:
            break;
        default:
            return std::nullopt;
        }
    }
    return text;
}

class Reader {
public:
    Result<Value> read(const pugi::xml_node& node, size_t depth)
    {
        if (depth > maxPlistDepth)
            return plistError("nesting deeper than " + std::to_string(maxPlistDepth) + " levels");
        const std::string_view name = node.name();
        if (name == "dict")
            return readDictionary(node, depth);
        if (name == "array")
            return readArray(node, depth);
        if (name == "true" || name == "false") {
            if (node.first_child())
                return plistError(elementText(name) + " must be empty");
            return Value(name == "true");
        }
        const auto text = leafText(node);
        if (!text)
            return plistError(elementText(name) + " holds elements");
        if (name == "string") {
            if (!isValidUtf8(*text))
                return plistError("string is not UTF-8");
            return Value(std::move(*text));
        }
        if (name == "integer") {
            if (auto value = parseInteger(*text))
                return std::move(*value);
            return plistError("bad integer: " + *text);
        }
        if (name == "real") {
            if (const auto value = parseReal(*text))
                return Value(*value);
            return plistError("bad real: " + *text);
        }
        if (name == "date") {
            if (const auto date = parseDate(*text))
                return Value(*date);
            return plistError("bad date: " + *text);
        }
        if (name == "data") {
            if (auto bytes = base64Decode(*text))
                return Value(std::move(*bytes));
            return plistError("bad base64 data");
        }
        return plistError("unknown element " + elementText(name));
    }

private:
    // Element children, refusing text between them.
    static std::optional<std::vector<pugi::xml_node>> elements(const pugi::xml_node& node)
    {
        std::vector<pugi::xml_node> result;
        for (const auto& child : node.children()) {
            switch (child.type()) {
            case pugi::node_element:
                result.push_back(child);
                break;
            case pugi::node_pcdata:
            case pugi::node_cdata:
                if (!isBlank(child.value()))
                    return std::nullopt;
                break;
            default:
                break;
            }
        }
        return result;
    }

    Result<Value> readDictionary(const pugi::xml_node& node, size_t depth)
    {
        const auto children = elements(node);
        if (!children)
            return plistError("text inside <dict>");
        Value::Dictionary dictionary;
        for (size_t i = 0; i < children->size(); i += 2) {
            const pugi::xml_node& keyNode = (*children)[i];
            if (std::string_view(keyNode.name()) != "key")
                return plistError("expected <key> in <dict>, found " + elementText(keyNode.name()));
            auto key = leafText(keyNode);
            if (!key || !isValidUtf8(*key))
                return plistError("bad <key>");
            if (i + 1 >= children->size())
                return plistError("<key>" + *key + "</key> has no value");
            auto value = read((*children)[i + 1], depth + 1);
            if (!value)
                return value.error();
            dictionary.set(std::move(*key), std::move(value).value());
        }
        return Value(std::move(dictionary));
    }

    Result<Value> readArray(const pugi::xml_node& node, size_t depth)
    {
        const auto children = elements(node);
        if (!children)
            return plistError("text inside <array>");
        Value::List list;
        list.reserve(children->size());
        for (const auto& child : *children) {
            auto value = read(child, depth + 1);
            if (!value)
                return value.error();
            list.push_back(std::move(value).value());
        }
        return Value(std::move(list));
    }
};

// --- Writing -----------------------------------------------------------------------

void appendEscaped(std::string& out, std::string_view text)
{
    size_t offset = 0;
    while (offset < text.size()) {
        const char c = text[offset];
        if (static_cast<unsigned char>(c) >= 0x80) {
            appendUtf8(out, decodeUtf8(text, offset));
            continue;
        }
        ++offset;
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '\r':
            out += "&#13;"; // a raw CR would read back as LF
            break;
        default:
            out.push_back(c);
        }
    }
}

std::string realText(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-infinity" : "+infinity";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void write(std::string& out, const Value& value, size_t depth)
{
    const std::string indent(depth, '\t');
    out += indent;
    switch (value.type()) {
    case Value::Type::Null:
        out += "<string></string>\n";
        return;
    case Value::Type::Bool:
        out += *value.asBool() ? "<true/>\n" : "<false/>\n";
        return;
    case Value::Type::Integer:
        out += "<integer>" + std::to_string(*value.asInteger()) + "</integer>\n";
        return;
    case Value::Type::Double:
        out += "<real>" + realText(*value.asDouble()) + "</real>\n";
        return;
    case Value::Type::String:
        out += "<string>";
        appendEscaped(out, *value.stringPointer());
        out += "</string>\n";
        return;
    case Value::Type::Date: {
        DateFormatter formatter("yyyy-MM-dd'T'HH:mm:ss'Z'");
        formatter.setTimeZone(TimeZone::utc());
        formatter.setLocaleIdentifier("en_US_POSIX");
        const Date whole { std::floor(value.asDate()->timeIntervalSince1970) };
        out += "<date>" + formatter.string(whole) + "</date>\n";
        return;
    }
    case Value::Type::Bytes:
        out += "<data>" + base64Encode(*value.asBytes()) + "</data>\n";
        return;
    case Value::Type::List: {
        const auto& list = *value.asList();
        if (list.empty()) {
            out += "<array/>\n";
            return;
        }
        out += "<array>\n";
        for (const auto& element : list)
            write(out, element, depth + 1);
        out += indent + "</array>\n";
        return;
    }
    case Value::Type::Dictionary: {
        const auto& dictionary = *value.asDictionary();
        std::string body;
        for (const auto& [key, entry] : dictionary) {
            if (entry.isNull())
                continue;
            body += std::string(depth + 1, '\t') + "<key>";
            appendEscaped(body, key);
            body += "</key>\n";
            write(body, entry, depth + 1);
        }
        if (body.empty()) {
            out += "<dict/>\n";
            return;
        }
        out += "<dict>\n" + body + indent + "</dict>\n";
        return;
    }
    }
}

} // namespace

Result<Value> parsePlist(std::string_view xml)
{
    if (xml.starts_with("bplist"))
        return plistError("binary property lists are not supported");
    pugi::xml_document document;
    const auto parsed = document.load_buffer(xml.data(), xml.size(),
        pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_utf8);
    if (!parsed)
        return plistError(std::string("XML error: ") + parsed.description() + " at offset "
            + std::to_string(parsed.offset));
    pugi::xml_node root = document.document_element();
    if (!root)
        return plistError("no root element");
    if (std::string_view(root.name()) == "plist") {
        pugi::xml_node value;
        for (const auto& child : root.children()) {
            if (child.type() == pugi::node_element) {
                if (value)
                    return plistError("<plist> holds more than one value");
                value = child;
            } else if ((child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
                && !isBlank(child.value())) {
                return plistError("text inside <plist>");
            }
        }
        if (!value)
            return plistError("empty <plist>");
        root = value;
    }
    Reader reader;
    return reader.read(root, 1);
}

std::string toPlist(const Value& value)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n";
    write(out, value, 0);
    out += "</plist>\n";
    return out;
}

} // namespace base
