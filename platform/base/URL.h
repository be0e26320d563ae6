#pragma once

// An absolute URL: scheme ":" ["//" [user[":"password]"@"] host [":" port]] path ["?" query]
// ["#" fragment]. parse() refuses what the platform refuses: empty text, no scheme,
// characters that must be percent-encoded (space, quotes, <>, \, ^, `, {|}, non-ASCII,
// control characters), a "%" not followed by two hex digits, a non-numeric port.
//
// Readers answer decoded text (path(), lastPathComponent(), query items) unless their name
// says percentEncoded.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace base {

struct URLQueryItem {
    std::string name;
    std::optional<std::string> value; // absent for "?flag", empty for "?flag="

    friend bool operator==(const URLQueryItem&, const URLQueryItem&) = default;
};

// Whether the text is an address on the web: it begins with "http://" or "https://" (any
// case). Content that names anything else names a file, which pathInsideFolder() bounds.
bool isWebAddress(std::string_view);

class URL {
public:
    static std::optional<URL> parse(std::string_view);
    // "file://" and the path percent-encoded; a relative path is taken from the current
    // directory. A path ending in "/" stays a directory URL.
    static URL fileURL(std::string_view path);

    const std::string& scheme() const { return m_scheme; }
    // Absent when there is no authority ("mailto:a@b").
    const std::optional<std::string>& host() const { return m_host; }
    std::optional<int> port() const { return m_port; }
    const std::optional<std::string>& user() const { return m_user; }
    // Decoded, without a trailing "/" (except the root "/"); "" when there is none.
    std::string path() const;
    const std::string& percentEncodedPath() const { return m_path; }
    // As written, without "?"; absent when there is none.
    const std::optional<std::string>& query() const { return m_query; }
    const std::optional<std::string>& fragment() const { return m_fragment; }
    // Decoded; an item whose text cannot be decoded is kept as written.
    std::vector<URLQueryItem> queryItems() const;
    // Decoded; "/" for the root, "" when there is no path.
    std::string lastPathComponent() const;
    // After the last "." of the last path component, "" when there is none.
    std::string pathExtension() const;
    bool hasDirectoryPath() const { return !m_path.empty() && m_path.back() == '/'; }

    const std::string& absoluteString() const { return m_string; }
    const std::string& relativeString() const { return m_string; }
    bool isFileURL() const { return m_scheme == "file"; }

    // The component is percent-encoded for a path; "a/b" appends two components.
    URL appendingPathComponent(std::string_view component) const;
    URL deletingLastPathComponent() const;
    // Replaces the query with the items, encoded for a query.
    URL settingQueryItems(const std::vector<URLQueryItem>&) const;

    friend bool operator==(const URL& a, const URL& b) { return a.m_string == b.m_string; }

private:
    URL() = default;
    void rebuildString();

    std::string m_string;
    std::string m_scheme;
    std::optional<std::string> m_user;
    std::optional<std::string> m_password;
    std::optional<std::string> m_host;
    std::optional<int> m_port;
    std::string m_path;
    std::optional<std::string> m_query;
    std::optional<std::string> m_fragment;
};

} // namespace base
