#include "platform/base/URL.h"

#include "platform/base/Strings.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace base {

bool isWebAddress(std::string_view text)
{
    auto startsWith = [&](std::string_view prefix) {
        return text.size() >= prefix.size()
            && std::equal(prefix.begin(), prefix.end(), text.begin(),
                [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
    };
    return startsWith("http://") || startsWith("https://");
}


namespace {

bool isAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isHex(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Characters that may appear unencoded somewhere in a URL.
bool isUrlCharacter(char c)
{
    if (isAlpha(c) || isDigit(c))
        return true;
    static constexpr std::string_view allowed = "-._~:/?#[]@!$&'()*+,;=%";
    return allowed.find(c) != std::string_view::npos;
}

std::string decodedOrRaw(std::string_view text)
{
    if (auto decoded = percentDecode(text))
        return std::move(*decoded);
    return std::string(text);
}

} // namespace

std::optional<URL> URL::parse(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!isUrlCharacter(c))
            return std::nullopt;
        if (c == '%' && (text.size() - i < 3 || !isHex(text[i + 1]) || !isHex(text[i + 2])))
            return std::nullopt;
    }

    URL url;
    url.m_string = std::string(text);

    // Scheme.
    if (!isAlpha(text[0]))
        return std::nullopt;
    size_t i = 1;
    while (i < text.size() && (isAlpha(text[i]) || isDigit(text[i]) || text[i] == '+' || text[i] == '-' || text[i] == '.'))
        ++i;
    if (i >= text.size() || text[i] != ':')
        return std::nullopt;
    url.m_scheme = lowercase(text.substr(0, i));
    std::string_view rest = text.substr(i + 1);

    // Fragment, then query.
    if (const size_t hash = rest.find('#'); hash != std::string_view::npos) {
        const std::string_view fragment = rest.substr(hash + 1);
        if (fragment.find('#') != std::string_view::npos)
            return std::nullopt;
        url.m_fragment = std::string(fragment);
        rest = rest.substr(0, hash);
    }
    if (const size_t question = rest.find('?'); question != std::string_view::npos) {
        url.m_query = std::string(rest.substr(question + 1));
        rest = rest.substr(0, question);
    }

    // Authority.
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const size_t slash = rest.find('/');
        std::string_view authority = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
        if (const size_t at = authority.rfind('@'); at != std::string_view::npos) {
            const std::string_view userInfo = authority.substr(0, at);
            authority = authority.substr(at + 1);
            const size_t colon = userInfo.find(':');
            url.m_user = std::string(userInfo.substr(0, colon));
            if (colon != std::string_view::npos)
                url.m_password = std::string(userInfo.substr(colon + 1));
        }
        std::string_view host = authority;
        std::string_view port;
        if (authority.starts_with('[')) {
            const size_t close = authority.find(']');
            if (close == std::string_view::npos)
                return std::nullopt;
            host = authority.substr(0, close + 1);
            const std::string_view after = authority.substr(close + 1);
            if (!after.empty()) {
                if (after[0] != ':')
                    return std::nullopt;
                port = after.substr(1);
            }
        } else if (const size_t colon = authority.rfind(':'); colon != std::string_view::npos) {
            host = authority.substr(0, colon);
            port = authority.substr(colon + 1);
        }
        if (host.find_first_of("[]") != std::string_view::npos && !host.starts_with('['))
            return std::nullopt;
        if (!port.empty()) {
            if (port.size() > 5)
                return std::nullopt;
            int value = 0;
            for (const char c : port) {
                if (!isDigit(c))
                    return std::nullopt;
                value = value * 10 + (c - '0');
            }
            if (value > 65535)
                return std::nullopt;
            url.m_port = value;
        }
        url.m_host = decodedOrRaw(host);
    }
    if (rest.find_first_of("[]") != std::string_view::npos)
        return std::nullopt;
    url.m_path = std::string(rest);
    return url;
}

URL URL::fileURL(std::string_view path)
{
    std::string absolute(path);
    if (absolute.empty() || absolute[0] != '/') {
        std::error_code error;
        std::string base = std::filesystem::current_path(error).string();
        if (error || base.empty())
            base.assign(1, '/'); // not = "/": GCC 12 Release misreports -Wrestrict there
        if (base.back() != '/')
            base.push_back('/');
        absolute = base + absolute;
    }
    URL url;
    url.m_scheme = "file";
    url.m_host = std::string();
    url.m_path = percentEncode(absolute, PercentEncodeSet::UrlPathAllowed);
    url.rebuildString();
    return url;
}

void URL::rebuildString()
{
    std::string out = m_scheme + ":";
    if (m_host) {
        out += "//";
        if (m_user) {
            out += *m_user;
            if (m_password) {
                out += ':';
                out += *m_password;
            }
            out += "@";
        }
        const bool needsBrackets = m_host->find(':') != std::string::npos && !m_host->starts_with('[');
        const std::string host = percentEncode(*m_host, PercentEncodeSet::UrlHostAllowed);
        if (needsBrackets)
            out += '[';
        out += host;
        if (needsBrackets)
            out += ']';
        if (m_port) {
            out += ':';
            out += std::to_string(*m_port);
        }
    }
    out += m_path;
    if (m_query) {
        out += '?';
        out += *m_query;
    }
    if (m_fragment) {
        out += '#';
        out += *m_fragment;
    }
    m_string = std::move(out);
}

std::string URL::path() const
{
    std::string decoded = decodedOrRaw(m_path);
    if (decoded.size() > 1 && decoded.back() == '/')
        decoded.pop_back();
    return decoded;
}

std::vector<URLQueryItem> URL::queryItems() const
{
    std::vector<URLQueryItem> items;
    if (!m_query || m_query->empty())
        return items;
    for (const std::string& part : split(*m_query, "&")) {
        if (part.empty())
            continue;
        const size_t equals = part.find('=');
        URLQueryItem item;
        item.name = decodedOrRaw(std::string_view(part).substr(0, equals));
        if (equals != std::string::npos)
            item.value = decodedOrRaw(std::string_view(part).substr(equals + 1));
        items.push_back(std::move(item));
    }
    return items;
}

std::string URL::lastPathComponent() const
{
    const std::string decoded = path();
    if (decoded.empty() || decoded == "/")
        return decoded;
    const size_t slash = decoded.rfind('/');
    return slash == std::string::npos ? decoded : decoded.substr(slash + 1);
}

std::string URL::pathExtension() const
{
    const std::string last = lastPathComponent();
    const size_t dot = last.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == last.size())
        return {};
    return last.substr(dot + 1);
}

URL URL::appendingPathComponent(std::string_view component) const
{
    URL url = *this;
    std::string path = url.m_path;
    if (path.empty() || path.back() != '/')
        path.push_back('/');
    std::string_view tail = component;
    while (tail.starts_with('/'))
        tail.remove_prefix(1);
    path += percentEncode(tail, PercentEncodeSet::UrlPathAllowed);
    url.m_path = std::move(path);
    url.rebuildString();
    return url;
}

URL URL::deletingLastPathComponent() const
{
    URL url = *this;
    std::string path = url.m_path;
    if (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const size_t slash = path.rfind('/');
    path = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    url.m_path = std::move(path);
    url.rebuildString();
    return url;
}

URL URL::settingQueryItems(const std::vector<URLQueryItem>& items) const
{
    URL url = *this;
    std::string query;
    for (const auto& item : items) {
        if (!query.empty())
            query.push_back('&');
        query += percentEncode(item.name, PercentEncodeSet::Unreserved);
        if (item.value) {
            query.push_back('=');
            query += percentEncode(*item.value, PercentEncodeSet::Unreserved);
        }
    }
    url.m_query = std::move(query);
    url.rebuildString();
    return url;
}

} // namespace base
