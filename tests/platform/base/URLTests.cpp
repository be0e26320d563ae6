#include "platform/base/URL.h"

#include <gtest/gtest.h>

using base::URL;
using base::URLQueryItem;

namespace {

TEST(URLTest, ParsesComponents)
{
    const auto url = URL::parse("https://user:pw@Example.com:8080/a/b%20c/file.pdf?x=1&y=a%20b&flag&e=#frag");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->scheme(), "https");
    EXPECT_EQ(url->user(), "user");
    EXPECT_EQ(url->host(), "Example.com");
    EXPECT_EQ(url->port(), 8080);
    EXPECT_EQ(url->path(), "/a/b c/file.pdf");
    EXPECT_EQ(url->percentEncodedPath(), "/a/b%20c/file.pdf");
    EXPECT_EQ(url->lastPathComponent(), "file.pdf");
    EXPECT_EQ(url->pathExtension(), "pdf");
    EXPECT_EQ(url->query(), "x=1&y=a%20b&flag&e=");
    EXPECT_EQ(url->queryItems(), (std::vector<URLQueryItem> { { "x", "1" }, { "y", "a b" }, { "flag", std::nullopt },
                                     { "e", "" } }));
    EXPECT_EQ(url->fragment(), "frag");
    EXPECT_FALSE(url->isFileURL());
    EXPECT_EQ(url->absoluteString(), "https://user:pw@Example.com:8080/a/b%20c/file.pdf?x=1&y=a%20b&flag&e=#frag");
    EXPECT_EQ(url->relativeString(), url->absoluteString());
}

TEST(URLTest, PathForms)
{
    struct Case {
        const char* text;
        std::optional<std::string> host;
        const char* path;
        const char* last;
    };
    const Case cases[] = {
        { "http://example.com", "example.com", "", "" },
        { "http://example.com/", "example.com", "/", "/" },
        { "http://example.com/dir/", "example.com", "/dir", "dir" },
        { "mailto:a@b.com", std::nullopt, "a@b.com", "a@b.com" },
        { "file:///tmp/x.txt", "", "/tmp/x.txt", "x.txt" },
        { "HTTP://[::1]:80/x", "[::1]", "/x", "x" },
        { "lectoro://open?book=1", "open", "", "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto url = URL::parse(c.text);
        ASSERT_TRUE(url);
        EXPECT_EQ(url->host(), c.host);
        EXPECT_EQ(url->path(), c.path);
        EXPECT_EQ(url->lastPathComponent(), c.last);
    }
    EXPECT_EQ(URL::parse("HTTP://x")->scheme(), "http");
    EXPECT_TRUE(URL::parse("file:///tmp/x.txt")->isFileURL());
}

TEST(URLTest, RefusesBadText)
{
    const char* cases[] = {
        "",
        "no scheme here",
        "/just/a/path",
        "example.com",
        "1http://x",
        ":nothing",
        "http://exa mple.com",
        "http://x/a b",
        "http://x/%zz",
        "http://x/%4",
        "http://x:port/",
        "http://x:99999/",
        "http://x/\xC3\xA9",
        "http://x/a#b#c",
        "http://x/<y>",
        "http://x/\"q\"",
        "http://x/a\\b",
        "http://x/{}",
        "http://x/\n",
        "http://[::1/",
        "http://x/[y]",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(URL::parse(text));
    }
}

TEST(URLTest, FileURLsEncodeThePath)
{
    const URL url = URL::fileURL("/tmp/a b/\xC3\xA9.txt");
    EXPECT_EQ(url.absoluteString(), "file:///tmp/a%20b/%C3%A9.txt");
    EXPECT_TRUE(url.isFileURL());
    EXPECT_EQ(url.path(), "/tmp/a b/\xC3\xA9.txt");
    EXPECT_EQ(url.lastPathComponent(), "\xC3\xA9.txt");
    EXPECT_EQ(URL::parse(url.absoluteString()), url);
    EXPECT_TRUE(URL::fileURL("/books/").hasDirectoryPath());
    EXPECT_EQ(URL::fileURL("relative.txt").path().front(), '/');
}

TEST(URLTest, DerivedURLs)
{
    const URL base = *URL::parse("https://host/api/v1?old=1");
    EXPECT_EQ(base.appendingPathComponent("c d").absoluteString(), "https://host/api/v1/c%20d?old=1");
    EXPECT_EQ(base.appendingPathComponent("/x/y").absoluteString(), "https://host/api/v1/x/y?old=1");
    EXPECT_EQ(base.deletingLastPathComponent().absoluteString(), "https://host/api/?old=1");
    const URL query = base.settingQueryItems({ { "q", "a&b=c d" }, { "flag", std::nullopt } });
    EXPECT_EQ(query.absoluteString(), "https://host/api/v1?q=a%26b%3Dc%20d&flag");
    EXPECT_EQ(query.queryItems(), (std::vector<URLQueryItem> { { "q", "a&b=c d" }, { "flag", std::nullopt } }));
}

} // namespace
