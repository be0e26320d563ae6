#include "platform/base/Value.h"

#include "platform/base/Strings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace base {

namespace {

// Below this many keys a linear scan beats hashing.
constexpr size_t indexThreshold = 16;

const Value& sharedNull()
{
    static const Value null;
    return null;
}

template<class Int>
Int saturatingCast(double value)
{
    if (std::isnan(value))
        return 0;
    const double truncated = std::trunc(value);
    // The bounds as doubles: min is exact, max rounds up to 2^N, so compare with >=.
    if (truncated <= static_cast<double>(std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    if (truncated >= static_cast<double>(std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    return static_cast<Int>(truncated);
}

// True when the double holds exactly this integer.
bool doubleEqualsInteger(double d, int64_t i)
{
    if (!std::isfinite(d) || d != std::trunc(d))
        return false;
    if (d < -9223372036854775808.0 || d >= 9223372036854775808.0)
        return false;
    return static_cast<int64_t>(d) == i;
}

std::string shortestDouble(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

bool needsQuotesInDescription(const std::string& text)
{
    if (text.empty())
        return true;
    return !std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.'
            || c == '$' || c == '/' || static_cast<unsigned char>(c) >= 0x80;
    });
}

std::string quotedForDescription(const std::string& text)
{
    if (!needsQuotesInDescription(text))
        return text;
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out.push_back('\\');
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

void describe(const Value& value, std::string& out, int depth, bool nested)
{
    const std::string indent(static_cast<size_t>(depth) * 4, ' ');
    const std::string innerIndent(static_cast<size_t>(depth + 1) * 4, ' ');
    if (const auto* list = value.asList()) {
        out += "(\n";
        for (size_t i = 0; i < list->size(); ++i) {
            out += innerIndent;
            describe((*list)[i], out, depth + 1, true);
            out += i + 1 < list->size() ? ",\n" : "\n";
        }
        out += indent + ")";
        return;
    }
    if (const auto* dictionary = value.asDictionary()) {
        out += "{\n";
        for (const auto& [key, entry] : *dictionary) {
            out += innerIndent + quotedForDescription(key) + " = ";
            describe(entry, out, depth + 1, true);
            out += ";\n";
        }
        out += indent + "}";
        return;
    }
    if (nested && value.isString()) {
        out += quotedForDescription(*value.stringPointer());
        return;
    }
    out += value.description();
}

} // namespace

// --- ValueDictionary ---------------------------------------------------------------

ValueDictionary::ValueDictionary() = default;
ValueDictionary::~ValueDictionary() = default;

ValueDictionary::ValueDictionary(std::initializer_list<Entry> entries)
{
    for (const auto& entry : entries)
        set(entry.first, entry.second);
}

ValueDictionary::ValueDictionary(const ValueDictionary& other) = default;

ValueDictionary::ValueDictionary(ValueDictionary&& other) noexcept
    : m_entries(std::move(other.m_entries))
    , m_slots(std::move(other.m_slots))
{
    other.m_entries.clear();
    other.m_slots.clear();
}

ValueDictionary& ValueDictionary::operator=(const ValueDictionary& other) = default;

ValueDictionary& ValueDictionary::operator=(ValueDictionary&& other) noexcept
{
    if (this != &other) {
        m_entries = std::move(other.m_entries);
        m_slots = std::move(other.m_slots);
        other.m_entries.clear();
        other.m_slots.clear();
    }
    return *this;
}

std::optional<size_t> ValueDictionary::indexOf(std::string_view key) const
{
    if (!m_slots.empty()) {
        const size_t mask = m_slots.size() - 1;
        for (size_t slot = std::hash<std::string_view> {}(key) & mask;; slot = (slot + 1) & mask) {
            const uint32_t entry = m_slots[slot];
            if (entry == 0)
                return std::nullopt;
            if (m_entries[entry - 1].first == key)
                return entry - 1;
        }
    }
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].first == key)
            return i;
    }
    return std::nullopt;
}

void ValueDictionary::addToIndex(size_t entry)
{
    const size_t mask = m_slots.size() - 1;
    size_t slot = std::hash<std::string_view> {}(m_entries[entry].first) & mask;
    while (m_slots[slot] != 0)
        slot = (slot + 1) & mask;
    m_slots[slot] = static_cast<uint32_t>(entry + 1);
}

void ValueDictionary::rebuildIndex(size_t keys)
{
    m_slots.clear();
    keys = std::max(keys, m_entries.size());
    if (keys < indexThreshold)
        return;
    size_t size = 2 * indexThreshold;
    while (size < 2 * keys)
        size *= 2;
    m_slots.assign(size, 0);
    for (size_t i = 0; i < m_entries.size(); ++i)
        addToIndex(i);
}

void ValueDictionary::reserve(size_t keys)
{
    m_entries.reserve(keys);
    if (2 * keys > m_slots.size())
        rebuildIndex(keys);
}

Value& ValueDictionary::set(std::string key, Value value)
{
    if (const auto index = indexOf(key)) {
        Value& slot = m_entries[*index].second;
        slot = std::move(value);
        return slot;
    }
    m_entries.emplace_back(std::move(key), std::move(value));
    // At most half full, so a probe soon meets a free slot.
    if (2 * m_entries.size() > m_slots.size())
        rebuildIndex(m_entries.size());
    else
        addToIndex(m_entries.size() - 1);
    return m_entries.back().second;
}

const Value* ValueDictionary::find(std::string_view key) const
{
    const auto index = indexOf(key);
    return index ? &m_entries[*index].second : nullptr;
}

Value* ValueDictionary::find(std::string_view key)
{
    const auto index = indexOf(key);
    return index ? &m_entries[*index].second : nullptr;
}

bool ValueDictionary::remove(std::string_view key)
{
    const auto index = indexOf(key);
    if (!index)
        return false;
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(*index));
    if (!m_slots.empty())
        rebuildIndex(m_entries.size());
    return true;
}

void ValueDictionary::clear()
{
    m_entries.clear();
    m_slots.clear();
}

std::vector<std::string> ValueDictionary::keys() const
{
    std::vector<std::string> keys;
    keys.reserve(m_entries.size());
    for (const auto& entry : m_entries)
        keys.push_back(entry.first);
    return keys;
}

bool operator==(const ValueDictionary& a, const ValueDictionary& b)
{
    if (a.size() != b.size())
        return false;
    for (const auto& [key, value] : a) {
        const Value* other = b.find(key);
        if (!other || !(*other == value))
            return false;
    }
    return true;
}

// --- Value -------------------------------------------------------------------------

std::optional<bool> Value::asBool() const
{
    if (const auto* v = std::get_if<bool>(&m_storage))
        return *v;
    return std::nullopt;
}

std::optional<int64_t> Value::asInteger() const
{
    if (const auto* v = std::get_if<int64_t>(&m_storage))
        return *v;
    if (const auto* d = std::get_if<double>(&m_storage)) {
        const auto i = saturatingCast<int64_t>(*d);
        if (doubleEqualsInteger(*d, i))
            return i;
    }
    return std::nullopt;
}

std::optional<double> Value::asDouble() const
{
    if (const auto* v = std::get_if<double>(&m_storage))
        return *v;
    if (const auto* v = std::get_if<int64_t>(&m_storage))
        return static_cast<double>(*v);
    return std::nullopt;
}

std::optional<std::string> Value::asString() const
{
    if (const auto* v = std::get_if<std::string>(&m_storage))
        return *v;
    return std::nullopt;
}

const std::string* Value::stringPointer() const
{
    return std::get_if<std::string>(&m_storage);
}

const Value::List* Value::asList() const
{
    return std::get_if<List>(&m_storage);
}

Value::List* Value::asList()
{
    return std::get_if<List>(&m_storage);
}

const Value::Dictionary* Value::asDictionary() const
{
    return std::get_if<Dictionary>(&m_storage);
}

Value::Dictionary* Value::asDictionary()
{
    return std::get_if<Dictionary>(&m_storage);
}

std::optional<base::Date> Value::asDate() const
{
    if (const auto* v = std::get_if<base::Date>(&m_storage))
        return *v;
    return std::nullopt;
}

const Value::Bytes* Value::asBytes() const
{
    return std::get_if<Bytes>(&m_storage);
}

const Value& Value::operator[](std::string_view key) const
{
    if (const auto* dictionary = asDictionary()) {
        if (const Value* found = dictionary->find(key))
            return *found;
    }
    return sharedNull();
}

const Value& Value::at(size_t index) const
{
    if (const auto* list = asList(); list && index < list->size())
        return (*list)[index];
    return sharedNull();
}

size_t Value::count() const
{
    if (const auto* list = asList())
        return list->size();
    if (const auto* dictionary = asDictionary())
        return dictionary->size();
    return 0;
}

int64_t Value::integerValue() const
{
    switch (type()) {
    case Type::Bool:
        return std::get<bool>(m_storage) ? 1 : 0;
    case Type::Integer:
        return std::get<int64_t>(m_storage);
    case Type::Double:
        return saturatingCast<int64_t>(std::get<double>(m_storage));
    case Type::String:
        return base::integerValue(std::get<std::string>(m_storage));
    case Type::Date:
        return saturatingCast<int64_t>(std::get<base::Date>(m_storage).timeIntervalSince1970);
    default:
        return 0;
    }
}

int32_t Value::intValue() const
{
    switch (type()) {
    case Type::Double:
        return saturatingCast<int32_t>(std::get<double>(m_storage));
    case Type::Date:
        return saturatingCast<int32_t>(std::get<base::Date>(m_storage).timeIntervalSince1970);
    default:
        return static_cast<int32_t>(std::clamp<int64_t>(
            integerValue(), std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    }
}

double Value::doubleValue() const
{
    switch (type()) {
    case Type::Bool:
        return std::get<bool>(m_storage) ? 1 : 0;
    case Type::Integer:
        return static_cast<double>(std::get<int64_t>(m_storage));
    case Type::Double:
        return std::get<double>(m_storage);
    case Type::String:
        return base::doubleValue(std::get<std::string>(m_storage));
    case Type::Date:
        return std::get<base::Date>(m_storage).timeIntervalSince1970;
    default:
        return 0;
    }
}

bool Value::boolValue() const
{
    switch (type()) {
    case Type::Bool:
        return std::get<bool>(m_storage);
    case Type::Integer:
        return std::get<int64_t>(m_storage) != 0;
    case Type::Double:
        return std::get<double>(m_storage) != 0;
    case Type::String:
        return base::boolValue(std::get<std::string>(m_storage));
    default:
        return false;
    }
}

std::string Value::description() const
{
    switch (type()) {
    case Type::Null:
        return "<null>";
    case Type::Bool:
        return std::get<bool>(m_storage) ? "1" : "0";
    case Type::Integer:
        return std::to_string(std::get<int64_t>(m_storage));
    case Type::Double:
        return shortestDouble(std::get<double>(m_storage));
    case Type::String:
        return std::get<std::string>(m_storage);
    case Type::Date: {
        DateFormatter formatter("yyyy-MM-dd HH:mm:ss Z");
        formatter.setTimeZone(TimeZone::utc());
        formatter.setLocaleIdentifier("en_US_POSIX");
        return formatter.string(std::get<base::Date>(m_storage));
    }
    case Type::Bytes: {
        static constexpr char digits[] = "0123456789abcdef";
        const auto& bytes = std::get<Bytes>(m_storage);
        std::string out = "{length = " + std::to_string(bytes.size()) + ", bytes = 0x";
        for (const uint8_t b : bytes) {
            out.push_back(digits[b >> 4]);
            out.push_back(digits[b & 0xF]);
        }
        out += "}";
        return out;
    }
    case Type::List:
    case Type::Dictionary: {
        std::string out;
        describe(*this, out, 0, false);
        return out;
    }
    }
    return {};
}

bool operator==(const Value& a, const Value& b)
{
    using Type = Value::Type;
    const Type ta = a.type();
    const Type tb = b.type();
    const auto isNumeric = [](Type t) { return t == Type::Bool || t == Type::Integer || t == Type::Double; };
    if (isNumeric(ta) && isNumeric(tb)) {
        const bool aDouble = ta == Type::Double;
        const bool bDouble = tb == Type::Double;
        if (aDouble && bDouble)
            return std::get<double>(a.m_storage) == std::get<double>(b.m_storage);
        if (aDouble)
            return doubleEqualsInteger(std::get<double>(a.m_storage), b.integerValue());
        if (bDouble)
            return doubleEqualsInteger(std::get<double>(b.m_storage), a.integerValue());
        return a.integerValue() == b.integerValue();
    }
    if (ta != tb)
        return false;
    return a.m_storage == b.m_storage;
}

const char* typeName(Value::Type type)
{
    switch (type) {
    case Value::Type::Null:
        return "null";
    case Value::Type::Bool:
        return "bool";
    case Value::Type::Integer:
        return "integer";
    case Value::Type::Double:
        return "double";
    case Value::Type::String:
        return "string";
    case Value::Type::List:
        return "list";
    case Value::Type::Dictionary:
        return "dictionary";
    case Value::Type::Date:
        return "date";
    case Value::Type::Bytes:
        return "bytes";
    }
    return "unknown";
}

} // namespace base
