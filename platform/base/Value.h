#pragma once

// The dynamic value of payloads, plists, service JSON and user info: null, bool, integer,
// double, string, list, insertion-ordered dictionary, date, bytes.
//
// Two kinds of reading:
// - strict accessors (asBool(), asInteger(), asString()...) answer absent when the value
//   is not of that kind, so a typed boundary can refuse bad input;
// - coercions (intValue(), boolValue(), description()...) behave like the messages the
//   product's original code sent to whatever object it found, text included
//   ("12abc".intValue is 12). All of them live here and in Strings.h, nowhere else.
//
// Equality compares numbers by value: 5 == 5.0, and a bool equals the number 1 or 0
// (true == 1), as boxed numbers do on the original platform. Dictionaries compare without
// regard to order, lists in order.

#include "platform/base/Date.h"

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

namespace base {

class Value;

// Keys keep the order in which they were first set. set() on an existing key replaces its
// value in place. Lookups are linear for small dictionaries and hashed for large ones.
class ValueDictionary {
public:
    using Entry = std::pair<std::string, Value>;
    using const_iterator = std::vector<Entry>::const_iterator;
    using iterator = std::vector<Entry>::iterator;

    ValueDictionary();
    ValueDictionary(std::initializer_list<Entry>);
    ValueDictionary(const ValueDictionary&);
    ValueDictionary(ValueDictionary&&) noexcept;
    ValueDictionary& operator=(const ValueDictionary&);
    ValueDictionary& operator=(ValueDictionary&&) noexcept;
    ~ValueDictionary();

    // Answers the stored value.
    Value& set(std::string key, Value);
    // Room for that many keys, for a dictionary whose size is known before it is filled.
    void reserve(size_t keys);
    const Value* find(std::string_view key) const;
    Value* find(std::string_view key);
    bool contains(std::string_view key) const;
    // True when the key was there.
    bool remove(std::string_view key);
    void clear();

    size_t size() const;
    bool empty() const;
    std::vector<std::string> keys() const;

    const_iterator begin() const;
    const_iterator end() const;
    // Values may be changed through these; keys must not be.
    iterator begin();
    iterator end();

    // Order-insensitive.
    friend bool operator==(const ValueDictionary&, const ValueDictionary&);

private:
    std::optional<size_t> indexOf(std::string_view key) const;
    // Indexes every entry in a table with room for `keys` (none below the threshold).
    void rebuildIndex(size_t keys);
    void addToIndex(size_t entry);

    std::vector<Entry> m_entries;
    // Only filled above a size where linear search stops being cheap: an open-addressing
    // table (a power of two, at most half full) of entry positions plus one, 0 for a free
    // slot; when filled, it holds every entry. Keys stay in the entries alone, so a service answer's thousands of records
    // cost one small table each rather than a node and a copy of the key per field, and a
    // copied dictionary copies its table as it is.
    std::vector<uint32_t> m_slots;
};

class Value {
public:
    enum class Type { Null, Bool, Integer, Double, String, List, Dictionary, Date, Bytes };
    using List = std::vector<Value>;
    using Dictionary = ValueDictionary;
    using Bytes = std::vector<uint8_t>;

    Value() = default;
    Value(std::nullptr_t) { }
    Value(bool v) : m_storage(v) { }
    // Every integer type; an unsigned value above the int64 range is kept as a double.
    template<std::integral T>
        requires(!std::same_as<T, bool> && !std::same_as<T, char>)
    Value(T v)
    {
        if constexpr (std::is_unsigned_v<T> && sizeof(T) >= sizeof(int64_t)) {
            if (v > static_cast<T>(INT64_MAX)) {
                m_storage = static_cast<double>(v);
                return;
            }
        }
        m_storage = static_cast<int64_t>(v);
    }
    Value(double v) : m_storage(v) { }
    Value(float v) : m_storage(static_cast<double>(v)) { }
    Value(const char* v) : m_storage(v ? std::string(v) : std::string()) { }
    Value(std::string v) : m_storage(std::move(v)) { }
    Value(std::string_view v) : m_storage(std::string(v)) { }
    Value(List v) : m_storage(std::move(v)) { }
    Value(Dictionary v) : m_storage(std::move(v)) { }
    Value(base::Date v) : m_storage(v) { }
    Value(Bytes v) : m_storage(std::move(v)) { }
    // Any other pointer would silently become a bool.
    template<class T>
        requires(!std::same_as<std::remove_cv_t<T>, char>)
    Value(T*) = delete;

    Type type() const { return static_cast<Type>(m_storage.index()); }
    bool isNull() const { return type() == Type::Null; }
    bool isBool() const { return type() == Type::Bool; }
    bool isInteger() const { return type() == Type::Integer; }
    bool isDouble() const { return type() == Type::Double; }
    // Integer or double (not bool).
    bool isNumber() const { return isInteger() || isDouble(); }
    bool isString() const { return type() == Type::String; }
    bool isList() const { return type() == Type::List; }
    bool isDictionary() const { return type() == Type::Dictionary; }
    bool isDate() const { return type() == Type::Date; }
    bool isBytes() const { return type() == Type::Bytes; }

    // Strict accessors.
    std::optional<bool> asBool() const;
    // An integer, or a double with an exact integral value in range.
    std::optional<int64_t> asInteger() const;
    // An integer or a double.
    std::optional<double> asDouble() const;
    std::optional<std::string> asString() const;
    // The stored text without a copy; null when not a string.
    const std::string* stringPointer() const;
    const List* asList() const;
    List* asList();
    const Dictionary* asDictionary() const;
    Dictionary* asDictionary();
    std::optional<base::Date> asDate() const;
    const Bytes* asBytes() const;

    // A shared null value when this is not a dictionary or the key is absent.
    const Value& operator[](std::string_view key) const;
    // A shared null value when this is not a list or the index is out of range.
    const Value& at(size_t index) const;
    // Elements of a list, entries of a dictionary, 0 for anything else.
    size_t count() const;

    // Coercions. Text is read as Strings.h's intValue()/integerValue()/doubleValue()/
    // boolValue(); numbers are truncated toward zero and saturate at the type's range
    // (NaN gives 0); a bool is 1 or 0; a date gives its seconds since 1970; null, lists,
    // dictionaries and bytes give 0 / false.
    int32_t intValue() const;
    int64_t integerValue() const;
    int64_t longLongValue() const { return integerValue(); }
    double doubleValue() const;
    float floatValue() const { return static_cast<float>(doubleValue()); }
    bool boolValue() const;
    // Text for "%@": integer "42", double in its shortest exact form ("4.5"; 3.0 gives
    // "3"), text itself, bool "1"/"0", null "<null>", a date as "2024-12-30 08:00:00 +0000",
    // bytes as "{length = 2, bytes = 0x0a0b}", lists and dictionaries in a multi-line
    // readable form.
    std::string description() const;

    friend bool operator==(const Value&, const Value&);

private:
    using Storage = std::variant<std::monostate, bool, int64_t, double, std::string, List, Dictionary,
        base::Date, Bytes>;
    Storage m_storage;
};

// Defined here, where Value is complete: some compilers instantiate the element type as
// soon as they see these bodies.
inline bool ValueDictionary::contains(std::string_view key) const { return find(key) != nullptr; }
inline size_t ValueDictionary::size() const { return m_entries.size(); }
inline bool ValueDictionary::empty() const { return m_entries.empty(); }
inline ValueDictionary::const_iterator ValueDictionary::begin() const { return m_entries.begin(); }
inline ValueDictionary::const_iterator ValueDictionary::end() const { return m_entries.end(); }
inline ValueDictionary::iterator ValueDictionary::begin() { return m_entries.begin(); }
inline ValueDictionary::iterator ValueDictionary::end() { return m_entries.end(); }

// The text name of a type, for error messages: "null", "bool", "integer"...
const char* typeName(Value::Type);

} // namespace base
