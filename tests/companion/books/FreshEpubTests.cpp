// An EPUB 3 folder written here, laid out differently from the sample books (package in
// content/, navigation document in its own folder with "../" links, a percent-encoded file
// name, a non-linear spine item, a second rootfile of another kind, two identifiers), opened
// by the loader, the renderer and the search as a host would open a book it has never seen.

#include "companion/books/BookLoader.h"
#include "companion/renderer/BookRenderer.h"
#include "companion/search/BookTextSearchController.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "platform/base/RunLoop.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Environment.h"

#include "companion/renderer/RecordingRendererDelegate.h"
#include "companion/store/TemporaryFolder.h"

#include "companion/SampleBooks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>

namespace {

using companiontest::writeFile;

namespace fs = std::filesystem;
using companion::testing::TemporaryFolder;

std::string chapterDocument(const std::string& title, const std::string& body)
{
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops">
<head><title>)"
        + title + R"(</title><link rel="stylesheet" href="../style/tide.css"/></head>
<body>)" + body
        + "</body></html>";
}

// Writes the book; `layout` is the rendition:layout value, empty for none.
void writeFreshEpub(const fs::path& root, const std::string& layout)
{
    writeFile(root / "mimetype", "application/epub+zip");
    writeFile(root / "META-INF/container.xml", R"(<?xml version="1.0"?>
<container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container">
  <rootfiles>
    <rootfile full-path="content/print.pdf" media-type="application/pdf"/>
    <rootfile full-path="content/package.opf" media-type="application/oebps-package+xml"/>
  </rootfiles>
</container>)");
    std::string layoutMeta
        = layout.empty() ? "" : R"(<meta property="rendition:layout">)" + layout + "</meta>";
    writeFile(root / "content/package.opf",
        R"(<?xml version="1.0" encoding="UTF-8"?>
<package xmlns="http://www.idpf.org/2007/opf" version="3.0" unique-identifier="uid" xml:lang="en">
  <metadata xmlns:dc="http://purl.org/dc/elements/1.1/">
    <dc:identifier>isbn-000-fresh</dc:identifier>
    <dc:identifier id="uid">urn:uuid:fresh-0001</dc:identifier>
    <dc:title>Tide Pools of the North Shore</dc:title>
    <dc:language>en</dc:language>
    )" + layoutMeta
            + R"(
  </metadata>
  <manifest>
    <item id="toc" href="nav/contents.xhtml" media-type="application/xhtml+xml" properties="nav"/>
    <item id="css" href="style/tide.css" media-type="text/css"/>
    <item id="cover" href="images/cover.jpg" media-type="image/jpeg" properties="cover-image"/>
    <item id="one" href="text/one.xhtml" media-type="application/xhtml+xml"/>
    <item id="two" href="text/two%20part.xhtml" media-type="application/xhtml+xml"/>
    <item id="notes" href="text/notes.xhtml" media-type="application/xhtml+xml"/>
  </manifest>
  <spine>
    <itemref idref="one"/>
    <itemref idref="two"/>
    <itemref idref="notes" linear="no"/>
  </spine>
</package>)");
    writeFile(root / "content/nav/contents.xhtml", R"(<?xml version="1.0" encoding="UTF-8"?>
<html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops">
<body>
  <nav epub:type="toc"><ol>
    <li><a href="../text/one.xhtml">Rock Pools</a>
      <ol><li><a href="../text/one.xhtml#crabs">Hermit Crabs</a></li></ol></li>
    <li><a href="../text/two%20part.xhtml">Anemones</a></li>
  </ol></nav>
  <nav epub:type="page-list"><ol>
    <li><a href="../text/one.xhtml#p1">i</a></li>
    <li><a href="../text/two%20part.xhtml#p2">ii</a></li>
    <li><a href="../text/notes.xhtml#p3">iii</a></li>
  </ol></nav>
  <nav epub:type="landmarks"><ol>
    <li><a epub:type="bodymatter" href="../text/one.xhtml">Start reading</a></li>
  </ol></nav>
</body></html>)");
    writeFile(root / "content/style/tide.css", "p { margin: 0 }");
    writeFile(root / "content/text/one.xhtml",
        chapterDocument("Rock Pools",
            R"(<h1 id="p1">Rock Pools</h1><p>At low tide the rocks hold small pools of sea water.</p>
<p id="crabs">Hermit crabs borrow empty shells.</p>)"));
    writeFile(root / "content/text/two part.xhtml",
        chapterDocument(
            "Anemones", R"(<h1 id="p2">Anemones</h1><p>An anemone closes when the water leaves it.</p>)"));
    writeFile(root / "content/text/notes.xhtml",
        chapterDocument("Notes", R"(<p id="p3">Notes for the teacher.</p>)"));
}

struct LayoutCase {
    const char* name;
    std::string layoutMeta;
    int expectedLayout;
};

void PrintTo(const LayoutCase& c, std::ostream* out)
{
    *out << c.name;
}

class FreshEpub : public ::testing::TestWithParam<LayoutCase> {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_folder.path().empty());
        writeFreshEpub(bookPath(), GetParam().layoutMeta);
        ui::Environment::current().setScreenSize({ 768, 1024 });
        ui::Environment::current().setInterfaceOrientation(ui::Orientation::Portrait);
    }

    fs::path bookPath() const { return m_folder.path() / "fresh book"; }

    uitest::UIScope m_scope;
    TemporaryFolder m_folder;
};

TEST_P(FreshEpub, LoaderReadsItsStructure)
{
    auto loaded = companion::loadBook(bookPath().string());
    ASSERT_TRUE(loaded.ok()) << loaded.error().localizedDescription();
    auto book = std::dynamic_pointer_cast<lectoro::EPUBBookVO>(loaded.value());
    ASSERT_TRUE(book);
    EXPECT_EQ(book->kind(), lectoro::LectoroBookKind::EPUB);
    EXPECT_EQ(book->meta.layout, GetParam().expectedLayout);
    EXPECT_EQ(book->isFixedLayout(), GetParam().expectedLayout == 1);
    EXPECT_EQ(book->meta.title, "Tide Pools of the North Shore");
    EXPECT_EQ(book->bookID, "urn:uuid:fresh-0001") << "the identifier the package names unique";
    EXPECT_EQ(book->coverImageName, "images/cover.jpg");

    ASSERT_EQ(book->chapters.size(), 3u);
    std::vector<std::string> hrefs, titles;
    for (const auto& chapter : book->chapters) {
        hrefs.push_back(chapter->href);
        titles.push_back(chapter->title);
    }
    EXPECT_EQ(
        hrefs, (std::vector<std::string> { "text/one.xhtml", "text/two part.xhtml", "text/notes.xhtml" }));
    EXPECT_EQ(titles, (std::vector<std::string> { "Rock Pools", "Anemones", "" }));
    EXPECT_TRUE(book->chapters[1]->linear);
    EXPECT_FALSE(book->chapters[2]->linear);
    EXPECT_NE(book->chapters[0]->content()->text.find("Hermit crabs borrow empty shells."), std::string::npos);
    EXPECT_EQ(book->chapters[0]->content()->text.find("margin"), std::string::npos) << "styles are not text";

    ASSERT_EQ(book->toc.size(), 2u);
    ASSERT_EQ(book->toc[0].subEntries.size(), 1u);
    EXPECT_EQ(book->toc[0].subEntries[0].src, "text/one.xhtml#crabs");
    EXPECT_EQ(book->toc[1].src, "text/two part.xhtml");

    ASSERT_EQ(book->tocPageList.size(), 3u);
    std::vector<int64_t> pageFiles;
    for (const auto& entry : book->tocPageList)
        pageFiles.push_back(entry.fileIndex);
    EXPECT_EQ(pageFiles, (std::vector<int64_t> { 0, 1, 2 }));
    ASSERT_EQ(book->guides.size(), 1u);
    EXPECT_EQ(book->guides[0].type, "bodymatter");
    EXPECT_EQ(book->guides[0].href, "text/one.xhtml");
}

TEST_P(FreshEpub, RendererOpensItAndSearchFindsItsText)
{
    auto delegate = std::make_shared<companiontest::RecordingRendererDelegate>();
    auto renderer = companion::BookRenderer::create(bookPath().string(), delegate);
    renderer->view();
    base::RunLoop::main().runUntilIdle();
    ASSERT_FALSE(delegate->loadError) << delegate->loadError->localizedDescription();
    ASSERT_TRUE(delegate->loadedBook);
    EXPECT_EQ(delegate->linesStartingWith("loaded").size(), 1u);
    auto pages = renderer->getActivePages();
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(pages.front().fileIndex, 0);

    companion::BookTextSearchController search(delegate->loadedBook, "water");
    auto hits = search.getSearchResultForText("water", 0, 10);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0]->href, "text/one.xhtml");
    EXPECT_EQ(hits[1]->href, "text/two part.xhtml");
    renderer->clearObjects();
}

INSTANTIATE_TEST_SUITE_P(Layouts, FreshEpub,
    ::testing::Values(LayoutCase { "reflowable", "", 0 },
        LayoutCase { "explicitlyReflowable", "reflowable", 0 },
        LayoutCase { "fixedLayout", "pre-paginated", 1 }),
    [](const auto& info) { return std::string(info.param.name); });

// Books nested far deeper than any real one (chapters, contents, navigation) load without
// exhausting the stack; the contents keep a bounded depth.
TEST(DeeplyNestedBooks, LoadWithoutExhaustingTheStack)
{
    const size_t depth = 100000;
    auto repeat = [](const std::string& part, size_t times) {
        std::string result;
        result.reserve(part.size() * times);
        for (size_t i = 0; i < times; ++i)
            result += part;
        return result;
    };
    TemporaryFolder folder;
    writeFreshEpub(folder.path() / "epub", "");
    writeFile(folder.path() / "epub/content/text/one.xhtml",
        chapterDocument("Deep", repeat("<div>", depth) + "deep text" + repeat("</div>", depth)));
    writeFile(folder.path() / "epub/content/nav/contents.xhtml",
        R"(<html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops"><body><nav epub:type="toc"><ol>)"
            + repeat(R"(<li><a href="../text/one.xhtml">x</a><ol>)", depth) + repeat("</ol></li>", depth)
            + "</ol></nav></body></html>");
    writeFile(folder.path() / "pages/assets/xml-bin/eBook.xml",
        R"(<ebook id="1"><chapters><chapter id="1" title="C"><page id="1"/></chapter></chapters><contents>)"
            + repeat(R"(<node title="x" pageID="1">)", depth) + repeat("</node>", depth)
            + "</contents></ebook>");

    auto epub = companion::loadBook((folder.path() / "epub").string());
    ASSERT_TRUE(epub.ok()) << epub.error().localizedDescription();
    auto epubBook = std::dynamic_pointer_cast<lectoro::EPUBBookVO>(epub.value());
    ASSERT_TRUE(epubBook);
    EXPECT_NE(epubBook->chapters[0]->content()->text.find("deep text"), std::string::npos);
    size_t tocDepth = 0;
    for (const auto* entries = &epubBook->toc; !entries->empty(); entries = &entries->front().subEntries)
        ++tocDepth;
    EXPECT_GT(tocDepth, 5u);
    EXPECT_LT(tocDepth, 100u);

    auto pageBook = companion::loadBook((folder.path() / "pages").string());
    ASSERT_TRUE(pageBook.ok()) << pageBook.error().localizedDescription();
    const base::Value contents = pageBook.value()->getBookContentForTOC();
    size_t contentsDepth = 0;
    for (const auto* nodes = &contents; nodes->count() > 0; nodes = &nodes->at(0)["subnodes"])
        ++contentsDepth;
    EXPECT_GT(contentsDepth, 5u);
    EXPECT_LT(contentsDepth, 100u);
}

} // namespace
