#pragma once

// A text of a user-content record (an id, a date, a passage, a note...).
//
// A book's list is ten thousand records of five or more texts each, most longer than a
// std::string keeps in place: as std::strings they are fifty thousand allocations, spread
// over hundreds of pages the process touches for the first time. A UGCText is half a
// std::string's size and holds its bytes in one of three ways:
// - owned: a heap copy of its own, whatever a caller assigns;
// - in an arena: bytes the store placed beside the record in the record's own arena
//   (companion::RecordArena). Only the arena makes those; the record holds its arena, so
//   they live exactly as long as the record;
// - static: a literal that lives as long as the process (UGCText::literal).
// Copying or moving a text out of an arena always makes an owned copy, since the copy may
// outlive the arena; moving an owned text takes its bytes. The bytes are always followed by
// a NUL, so c_str() works.
//
// It reads like a const std::string: it converts to std::string_view, to std::string (a copy)
// and to a text base::Value, and offers the usual read operations; it changes only by
// assignment, +=, clear().

#include "platform/base/Value.h"

#include <compare>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace companion {
class RecordArena;
}

namespace lectoro {

class UGCText;

// Anything that reads as a string, other than a UGCText itself.
template<class T>
concept UGCTextComparable = std::convertible_to<const T&, std::string_view> && !std::same_as<std::remove_cvref_t<T>, UGCText>;

class UGCText {
public:
    using size_type = size_t;
    using value_type = char;
    using const_iterator = const char*;
    using iterator = const_iterator;
    static constexpr size_t npos = std::string_view::npos;

    // A text with static storage: the pointer is kept, never copied or freed.
    struct Static {
        const char* text;
        uint32_t size;
    };
    static consteval Static literal(const char* text)
    {
        return Static { text, static_cast<uint32_t>(std::char_traits<char>::length(text)) };
    }

    UGCText() noexcept = default;
    UGCText(Static text) noexcept : m_data(text.text), m_size(text.size) { }
    UGCText(const char* text) { assign(text ? std::string_view(text) : std::string_view()); }
    UGCText(std::string_view text) { assign(text); }
    UGCText(const std::string& text) { assign(std::string_view(text)); }
    UGCText(std::nullptr_t) = delete;
    UGCText(const UGCText& other) { copyFrom(other); }
    UGCText(UGCText&& other) { moveFrom(other); }
    ~UGCText() { release(); }

    UGCText& operator=(const UGCText& other)
    {
        if (this != &other) {
            UGCText copy(other);
            swapOwned(copy);
        }
        return *this;
    }
    UGCText& operator=(UGCText&& other)
    {
        if (this != &other) {
            UGCText moved(std::move(other));
            swapOwned(moved);
        }
        return *this;
    }
    UGCText& operator=(std::string_view text)
    {
        UGCText copy(text);
        swapOwned(copy);
        return *this;
    }
    UGCText& operator=(const std::string& text) { return *this = std::string_view(text); }
    UGCText& operator=(const char* text) { return *this = (text ? std::string_view(text) : std::string_view()); }
    UGCText& operator=(Static text) noexcept
    {
        release();
        m_data = text.text;
        m_size = text.size;
        return *this;
    }
    UGCText& operator=(std::nullptr_t) = delete;

    operator std::string_view() const noexcept { return { m_data, m_size }; }
    operator std::string() const { return std::string(m_data, m_size); }
    std::string_view view() const noexcept { return { m_data, m_size }; }
    std::string str() const { return std::string(m_data, m_size); }
    // A record's dictionary holds its texts as text values.
    operator base::Value() const { return base::Value(view()); }

    bool empty() const noexcept { return m_size == 0; }
    size_t size() const noexcept { return m_size; }
    size_t length() const noexcept { return m_size; }
    const char* data() const noexcept { return m_data; }
    const char* c_str() const noexcept { return m_data; }
    const_iterator begin() const noexcept { return m_data; }
    const_iterator end() const noexcept { return m_data + m_size; }
    const_iterator cbegin() const noexcept { return begin(); }
    const_iterator cend() const noexcept { return end(); }
    const char& front() const { return m_data[0]; }
    const char& back() const { return m_data[m_size - 1]; }
    const char& operator[](size_t index) const { return m_data[index]; }

    size_t find(std::string_view text, size_t from = 0) const noexcept { return view().find(text, from); }
    size_t find(char character, size_t from = 0) const noexcept { return view().find(character, from); }
    size_t rfind(std::string_view text, size_t from = npos) const noexcept { return view().rfind(text, from); }
    size_t rfind(char character, size_t from = npos) const noexcept { return view().rfind(character, from); }
    size_t find_first_of(std::string_view characters, size_t from = 0) const noexcept
    {
        return view().find_first_of(characters, from);
    }
    size_t find_last_of(std::string_view characters, size_t from = npos) const noexcept
    {
        return view().find_last_of(characters, from);
    }
    std::string substr(size_t from = 0, size_t count = npos) const { return std::string(view().substr(from, count)); }
    bool starts_with(std::string_view text) const noexcept { return view().starts_with(text); }
    bool starts_with(char character) const noexcept { return view().starts_with(character); }
    bool ends_with(std::string_view text) const noexcept { return view().ends_with(text); }
    bool ends_with(char character) const noexcept { return view().ends_with(character); }
    bool contains(std::string_view text) const noexcept { return view().find(text) != npos; }
    int compare(std::string_view text) const noexcept { return view().compare(text); }

    void clear() noexcept { release(); }
    UGCText& operator+=(std::string_view text);
    UGCText& operator+=(char character) { return *this += std::string_view(&character, 1); }

    // Whether the bytes lie in an arena (for the store's tests).
    bool isInArena() const noexcept { return m_storage == Storage::Arena; }

    friend bool operator==(const UGCText& left, const UGCText& right) noexcept { return left.view() == right.view(); }
    friend std::strong_ordering operator<=>(const UGCText& left, const UGCText& right) noexcept
    {
        return left.view() <=> right.view();
    }
    template<UGCTextComparable T>
    friend bool operator==(const UGCText& left, const T& right) noexcept
    {
        return left.view() == std::string_view(right);
    }
    template<UGCTextComparable T>
    friend std::strong_ordering operator<=>(const UGCText& left, const T& right) noexcept
    {
        return left.view() <=> std::string_view(right);
    }

    friend std::string operator+(const UGCText& left, const UGCText& right) { return join(left, right); }
    template<UGCTextComparable T>
    friend std::string operator+(const UGCText& left, const T& right)
    {
        return join(left, std::string_view(right));
    }
    template<UGCTextComparable T>
    friend std::string operator+(const T& left, const UGCText& right)
    {
        return join(std::string_view(left), right);
    }
    friend std::string operator+(const UGCText& left, char right) { return join(left, std::string_view(&right, 1)); }
    friend std::string operator+(char left, const UGCText& right) { return join(std::string_view(&left, 1), right); }

    friend std::ostream& operator<<(std::ostream&, const UGCText&);

    // Where copies of texts go while the store copies records into an arena.
    class CopyTarget {
    public:
        virtual char* placeText(size_t bytes) = 0;

    protected:
        ~CopyTarget() = default;
    };

private:
    friend class companion::RecordArena;
    enum class Storage : uint8_t { Static, Owned, Arena };

    // Becomes a copy of `text` (and a NUL) placed in `arena`, the arena of the record that
    // holds this text.
    void placeIn(CopyTarget& arena, std::string_view text);
    static uint32_t checkedSize(size_t);
    // While set, on this thread, copies are placed there instead of on the heap.
    static CopyTarget*& copyTarget() noexcept;

    void assign(std::string_view);
    void copyFrom(const UGCText&);
    void moveFrom(UGCText&) noexcept(false);
    void release() noexcept
    {
        if (m_storage == Storage::Owned)
            delete[] m_data;
        m_data = "";
        m_size = 0;
        m_storage = Storage::Static;
    }
    void swapOwned(UGCText& other) noexcept
    {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
        std::swap(m_storage, other.m_storage);
    }
    static std::string join(std::string_view, std::string_view);

    const char* m_data = "";
    uint32_t m_size = 0;
    Storage m_storage = Storage::Static;
};

} // namespace lectoro

template<>
struct std::hash<lectoro::UGCText> {
    size_t operator()(const lectoro::UGCText& text) const noexcept { return std::hash<std::string_view>()(text.view()); }
};
