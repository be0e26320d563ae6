#include "companion/books/BookErrors.h"
#include "companion/books/BookLoader.h"
#include "companion/books/BookPaths.h"
#include "companion/books/XhtmlText.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"

#include "companion/store/TemporaryFolder.h"

#include "companion/SampleBooks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

using companion::BookError;
using companion::testing::TemporaryFolder;
namespace fs = std::filesystem;

namespace {

using companiontest::writeFile;

const char* container = R"(<?xml version="1.0"?><container xmlns="urn:oasis:names:tc:opendocument:xmlns:container">
<rootfiles><rootfile full-path="OPS/book.opf" media-type="application/oebps-package+xml"/></rootfiles></container>)";

std::string package(const std::string& manifest, const std::string& spine)
{
    return R"(<?xml version="1.0"?><package xmlns="http://www.idpf.org/2007/opf" version="3.0"><metadata/><manifest>)"
        + manifest + "</manifest><spine>" + spine + "</spine></package>";
}

const char* chapter = R"(<html xmlns="http://www.w3.org/1999/xhtml"><body><p>Hello</p></body></html>)";

// A book folder laid out from file name to content.
void layOut(const fs::path& root, const std::map<std::string, std::string>& files)
{
    for (const auto& [name, content] : files)
        writeFile(root / name, content);
}

std::string pageBook(const std::string& pages)
{
    return R"(<ebook id="1"><chapters><chapter id="1" title="C">)" + pages + "</chapter></chapters></ebook>";
}

} // namespace

TEST(BookLoaderFailures, BrokenFoldersAreRefusedWithTheirReason)
{
    struct Case {
        const char* name;
        std::map<std::string, std::string> files;
        BookError expected;
    };
    const std::string okManifest = R"(<item id="c1" href="c1.xhtml" media-type="application/xhtml+xml"/>)";
    const std::string okSpine = R"(<itemref idref="c1"/>)";
    const Case cases[] = {
        { "empty folder", {}, BookError::NotABook },
        { "unrelated files", { { "readme.txt", "hello" } }, BookError::NotABook },
        { "descriptor not XML", { { "assets/xml-bin/eBook.xml", "<ebook><chapters>" } }, BookError::Malformed },
        { "descriptor of another kind", { { "assets/xml-bin/eBook.xml", "<book/>" } }, BookError::Malformed },
        { "no pages", { { "assets/xml-bin/eBook.xml", pageBook("") } }, BookError::Malformed },
        { "page without id", { { "assets/xml-bin/eBook.xml", pageBook("<page/>") } }, BookError::Malformed },
        { "page id twice", { { "assets/xml-bin/eBook.xml", pageBook(R"(<page id="1"/><page id="1"/>)") } }, BookError::Malformed },
        { "link id twice", { { "assets/xml-bin/eBook.xml", pageBook(R"(<page id="1"><link id="5"/></page><page id="2"><link id="5"/></page>)") } }, BookError::Malformed },
        { "container not XML", { { "META-INF/container.xml", "<<<" } }, BookError::Malformed },
        { "container without package", { { "META-INF/container.xml", "<container/>" } }, BookError::Malformed },
        { "package missing", { { "META-INF/container.xml", container } }, BookError::Malformed },
        { "empty spine", { { "META-INF/container.xml", container }, { "OPS/book.opf", package(okManifest, "") } }, BookError::Malformed },
        { "spine names no item", { { "META-INF/container.xml", container }, { "OPS/book.opf", package(okManifest, R"(<itemref idref="zz"/>)") } }, BookError::Malformed },
        { "chapter file missing", { { "META-INF/container.xml", container }, { "OPS/book.opf", package(okManifest, okSpine) } }, BookError::Malformed },
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        TemporaryFolder folder;
        layOut(folder.path(), entry.files);
        auto book = companion::loadBook(folder.string());
        ASSERT_FALSE(book.ok());
        EXPECT_EQ(book.error().domain, companion::bookErrorDomain);
        EXPECT_EQ(book.error().code, static_cast<int64_t>(entry.expected)) << book.error().localizedDescription();
        EXPECT_FALSE(book.error().localizedDescription().empty());
    }
}

TEST(BookLoaderFailures, MissingFoldersAreRefused)
{
    TemporaryFolder folder;
    writeFile(folder.path() / "file", "x");
    for (const std::string& path : { (folder.path() / "absent").string(), (folder.path() / "file").string(), std::string() }) {
        auto book = companion::loadBook(path);
        ASSERT_FALSE(book.ok());
        EXPECT_EQ(book.error().code, static_cast<int64_t>(BookError::MissingFolder));
    }
}

TEST(BookLoaderFailures, PathsLeavingTheBookFolderAreRefused)
{
    auto manifestWith = [](const std::string& href) {
        return package(R"(<item id="c1" href=")" + href + R"(" media-type="application/xhtml+xml"/>)", R"(<itemref idref="c1"/>)");
    };
    struct Case {
        const char* name;
        std::map<std::string, std::string> files;
    };
    const Case cases[] = {
        { "container climbs out", { { "META-INF/container.xml", R"(<container><rootfiles><rootfile full-path="../../outside.opf"/></rootfiles></container>)" } } },
        { "manifest climbs out", { { "META-INF/container.xml", container }, { "OPS/book.opf", manifestWith("../../../etc/passwd") } } },
        { "manifest absolute", { { "META-INF/container.xml", container }, { "OPS/book.opf", manifestWith("/etc/passwd") } } },
        { "manifest file URL", { { "META-INF/container.xml", container }, { "OPS/book.opf", manifestWith("file:///etc/passwd") } } },
        { "manifest encoded climb", { { "META-INF/container.xml", container }, { "OPS/book.opf", manifestWith("%2E%2E/%2E%2E/x.xhtml") } } },
        { "page image climbs out", { { "assets/xml-bin/eBook.xml", pageBook(R"(<page id="1" src="../../secret.png"/>)") } } },
        { "thumbnail absolute", { { "assets/xml-bin/eBook.xml", pageBook(R"(<page id="1" thumbnail="/etc/hosts"/>)") } } },
        { "link file climbs out", { { "assets/xml-bin/eBook.xml", pageBook(R"(<page id="1"><link id="2" type="9" url="../../../x/index.html"/></page>)") } } },
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        TemporaryFolder folder;
        layOut(folder.path() / "book", entry.files);
        auto book = companion::loadBook((folder.path() / "book").string());
        ASSERT_FALSE(book.ok());
        EXPECT_EQ(book.error().code, static_cast<int64_t>(BookError::UnsafePath)) << book.error().localizedDescription();
    }
}

// Chapters are checked a folder at a time: a link anywhere on a chapter's way, to the file
// or to a folder, is followed, and the book opens only when it stays inside.
TEST(BookLoaderFailures, ASymbolicLinkOutOfTheBookIsRefused)
{
    struct Case {
        const char* name;
        const char* chapterHref;
        // Link to make (in the book) and its target (relative to the temporary folder).
        const char* link;
        const char* target;
        bool opens;
    };
    const Case cases[] = {
        { "a chapter linked outside", "c1.xhtml", "book/OPS/c1.xhtml", "outside/c1.xhtml", false },
        { "a folder linked outside", "text/c1.xhtml", "book/OPS/text", "outside", false },
        { "a chapter linked inside", "c1.xhtml", "book/OPS/c1.xhtml", "book/OPS/kept/c1.xhtml", true },
        { "a folder linked inside", "text/c1.xhtml", "book/OPS/text", "book/OPS/kept", true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryFolder folder;
        writeFile(folder.path() / "outside/c1.xhtml", chapter);
        layOut(folder.path() / "book",
            { { "META-INF/container.xml", container }, { "OPS/kept/c1.xhtml", chapter },
                { "OPS/book.opf",
                    package(std::string(R"(<item id="c1" href=")") + c.chapterHref
                            + R"(" media-type="application/xhtml+xml"/>)",
                        R"(<itemref idref="c1"/>)") } });
        fs::create_symlink(folder.path() / c.target, folder.path() / c.link);
        auto book = companion::loadBook((folder.path() / "book").string());
        ASSERT_EQ(book.ok(), c.opens) << (book.ok() ? "" : book.error().localizedDescription());
        if (!c.opens) {
            EXPECT_EQ(book.error().code, static_cast<int64_t>(BookError::UnsafePath));
        }
    }
}

TEST(BookLoaderFailures, HtmlHabitsInChaptersAreTolerated)
{
    struct Case {
        const char* name;
        const char* document;
        const char* expected;
    };
    const Case cases[] = {
        { "well formed", "<html><body><p>One <b>two</b> three</p><p>four</p></body></html>", "One two three\nfour" },
        { "unclosed void elements", "<html><body><p>one<br>two&nbsp;three<img src='x'></p></body></html>", "one\ntwo\xC2\xA0three" },
        { "hopeless markup", "<html><body><p>left <b>open <i>wrong</b> order</p><script>var x = '<p>';</script>", "left open wrong order" },
        { "script and style skipped", "<html><head><style>p{}</style></head><body><script>x()</script><p>kept</p></body></html>", "kept" },
        { "empty", "", "" },
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(companion::extractXhtmlText(entry.document).text, entry.expected);
    }
    auto anchored = companion::extractXhtmlText("<html><body><p>ab</p><p id='x'>cd</p></body></html>");
    ASSERT_EQ(anchored.anchors.size(), 1u);
    EXPECT_EQ(anchored.text.substr(anchored.anchors[0].second), "cd");

    TemporaryFolder folder;
    layOut(folder.path(), { { "META-INF/container.xml", container },
                              { "OPS/book.opf", package(R"(<item id="c1" href="c1.xhtml" media-type="application/xhtml+xml"/>)", R"(<itemref idref="c1"/>)") },
                              { "OPS/c1.xhtml", "<html><body><p>Tide<br>pool</p></body></html>" } });
    auto book = companion::loadBook(folder.string());
    ASSERT_TRUE(book.ok()) << book.error().localizedDescription();
    auto epub = std::dynamic_pointer_cast<lectoro::EPUBBookVO>(book.value());
    ASSERT_TRUE(epub);
    EXPECT_EQ(epub->chapters[0]->content()->text, "Tide\npool");
    EXPECT_EQ(epub->meta.layout, 0);
}

TEST(BookLoaderFailures, ResourcesListedOutsideTheBookOrOfNoKnownKindAreLeftOut)
{
    const std::string nav = R"(<html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops"><body>
<nav epub:type="toc"><ol><li><a href="c1.xhtml">Tides</a></li></ol></nav>
<nav epub:type="lectoro:resources"><ol>
<li><a href="media/wave%20one.wav" data-type="audio" data-chapter="c1.xhtml#top">Wave</a></li>
<li><a href="../../outside.wav" data-type="audio" data-chapter="c1.xhtml">Climbs out</a></li>
<li><a href="/etc/passwd" data-type="documents" data-chapter="c1.xhtml">Absolute</a></li>
<li><a href="file:///etc/passwd" data-type="web links" data-chapter="c1.xhtml">File address</a></li>
<li><a href="media/a.wav" data-type="podcast" data-chapter="c1.xhtml">Unknown kind</a></li>
<li><a href="media/a.wav" data-type="audio" data-chapter="c9.xhtml">Unknown chapter</a></li>
<li><a href="https://tides.example/live" data-type="web links" data-chapter="c1.xhtml">Live tides</a></li>
</ol></nav></body></html>)";
    TemporaryFolder folder;
    layOut(folder.path(),
        { { "META-INF/container.xml", container },
            { "OPS/book.opf",
                package(R"(<item id="nav" href="nav.xhtml" media-type="application/xhtml+xml" properties="nav"/>)"
                        R"(<item id="c1" href="c1.xhtml" media-type="application/xhtml+xml"/>)",
                    R"(<itemref idref="c1"/>)") },
            { "OPS/nav.xhtml", nav }, { "OPS/c1.xhtml", chapter } });
    auto book = companion::loadBook(folder.string());
    ASSERT_TRUE(book.ok()) << book.error().localizedDescription();
    auto epub = std::dynamic_pointer_cast<lectoro::EPUBBookVO>(book.value());
    ASSERT_TRUE(epub);
    const auto* resources = epub->resources.asList();
    ASSERT_TRUE(resources);
    ASSERT_EQ(resources->size(), 2u);
    const base::Value& wave = resources->at(0);
    EXPECT_EQ(wave["resourceName"].asString(), "Wave");
    EXPECT_EQ(wave["epubLinkType"].intValue(), 1);
    EXPECT_EQ(wave["typeId"].asString(), "audio");
    EXPECT_EQ(wave["assetPath"].asString(), "media/wave one.wav");
    EXPECT_EQ(wave["href"].asString(), "c1.xhtml#top");
    EXPECT_EQ(wave["folioNumber"].asString(), "0");
    EXPECT_EQ(wave["chapter"]["title"].asString(), "Tides");
    EXPECT_EQ(resources->at(1)["epubLinkType"].intValue(), 6);
    EXPECT_EQ(resources->at(1)["assetPath"].asString(), "https://tides.example/live");
}

TEST(BookPaths, ResolutionStaysInsideTheBook)
{
    struct Case {
        const char* base;
        const char* href;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        { "OPS", "text/c1.xhtml#frag", "OPS/text/c1.xhtml" },
        { "OPS/text", "../images/a%20b.png", "OPS/images/a b.png" },
        { "OPS", "./a/./b/../c.xhtml", "OPS/a/c.xhtml" },
        { "OPS", "../root.xhtml", "root.xhtml" },
        { "OPS", "../../escape.xhtml", std::nullopt },
        { "", "/etc/passwd", std::nullopt },
        { "", "C:\\windows\\x", std::nullopt },
        { "", "https://example.org/x", std::nullopt },
        { "", "", std::nullopt },
        { "", "#only-fragment", std::nullopt },
        { "", "bad%zzescape", std::nullopt },
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(std::string(entry.base) + " + " + entry.href);
        EXPECT_EQ(companion::resolveBookPath(entry.base, entry.href), entry.expected);
    }
}
