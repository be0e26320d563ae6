#pragma once

// A localised string table: the ".strings" text format.
//
//     /* A comment */
//     "CANCEL" = "Cancel";        // line comments too
//     "GREETING" = "Hello,\n\"%@\"";
//     SIMPLE_KEY = simple.value;
//     "SAME_AS_KEY";              // a key alone stands for itself
//
// Quoted strings take the escapes \" \\ \n \t \r \a \b \f \v, \uXXXX or \UXXXX (UTF-16
// units; a surrogate pair makes one character, a lone surrogate becomes U+FFFD) and
// octal \ooo; any other escaped character stands for itself. Unquoted keys and values
// are made of letters, digits and _ $ + / : . -
//
// Input is UTF-8 (BOM optional) or UTF-16 with a BOM, either byte order (or without one
// when the first character is ASCII). Invalid UTF-8 becomes U+FFFD. An entry that does
// not parse is skipped, parsing resumes on the line after the one it started on, and the
// problem is listed in warnings(). A later entry for the same key wins.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace base {

class StringTable {
public:
    StringTable() = default;

    static StringTable parse(std::string_view bytes);

    std::optional<std::string> lookup(std::string_view key) const;
    size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    const std::map<std::string, std::string, std::less<>>& entries() const { return m_entries; }
    // "line N: what was wrong", one per skipped entry, in file order.
    const std::vector<std::string>& warnings() const { return m_warnings; }

private:
    std::map<std::string, std::string, std::less<>> m_entries;
    std::vector<std::string> m_warnings;
};

// The text as UTF-8: a UTF-8 BOM is dropped, UTF-16 is converted, and invalid sequences
// become U+FFFD.
std::string decodeStringsFileText(std::string_view bytes);

} // namespace base
