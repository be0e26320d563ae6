// Hostile book shapes must finish within the book's budget: refused with a message naming the
// limit, or opened with each file read once. Checked with small budgets and the loader's own
// counters, never with timings.

#include "companion/SampleBooks.h"
#include "companion/books/BookErrors.h"
#include "companion/books/BookLoader.h"
#include "companion/books/EpubBookLoader.h"

#include "companion/renderer/BookRenderer.h"
#include "companion/renderer/RecordingRendererDelegate.h"
#include "companion/store/TemporaryFolder.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Environment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>

using companion::BookBudget;
using companion::BookError;
using companion::testing::TemporaryFolder;
namespace fs = std::filesystem;

namespace {

using companiontest::writeFile;

std::string paragraphs(size_t count, const std::string& text = "A gull.")
{
    std::string body;
    body.reserve(count * (text.size() + 8));
    for (size_t i = 0; i < count; ++i)
        body += "<p>" + text + "</p>";
    return "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body>" + body + "</body></html>";
}

// An EPUB folder: `chapterFiles` distinct chapter files (c0.xhtml…), a spine that lists
// `spineOf(i)` for i < spineLength, and a navigation document with one entry per spine item.
struct EpubShape {
    size_t chapterFiles = 1;
    size_t spineLength = 1;
    std::function<size_t(size_t)> spineOf = [](size_t i) { return i; };
    std::function<std::string(size_t)> chapterText = [](size_t) { return paragraphs(3); };
};

void writeEpub(const fs::path& root, EpubShape shape)
{
    if (!shape.spineOf)
        shape.spineOf = [](size_t i) { return i; };
    if (!shape.chapterText)
        shape.chapterText = [](size_t) { return paragraphs(3); };
    writeFile(root / "META-INF/container.xml",
        R"(<?xml version="1.0"?><container xmlns="urn:oasis:names:tc:opendocument:xmlns:container"><rootfiles>)"
        R"(<rootfile full-path="OPS/book.opf" media-type="application/oebps-package+xml"/></rootfiles></container>)");
    std::ostringstream opf;
    opf << R"(<?xml version="1.0"?><package xmlns="http://www.idpf.org/2007/opf" version="3.0"><metadata/><manifest>)"
        << R"(<item id="nav" href="nav.xhtml" media-type="application/xhtml+xml" properties="nav"/>)";
    for (size_t file = 0; file < shape.chapterFiles; ++file) {
        opf << "<item id=\"c" << file << "\" href=\"c" << file << ".xhtml\" media-type=\"application/xhtml+xml\"/>";
        writeFile(root / "OPS" / ("c" + std::to_string(file) + ".xhtml"), shape.chapterText(file));
    }
    opf << "</manifest><spine>";
    std::ostringstream nav;
    nav << R"(<html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops"><body><nav epub:type="toc"><ol>)";
    for (size_t item = 0; item < shape.spineLength; ++item) {
        size_t file = shape.spineOf(item);
        opf << "<itemref idref=\"c" << file << "\"/>";
        nav << "<li><a href=\"c" << file << ".xhtml\">Part " << item << "</a></li>";
    }
    opf << "</spine></package>";
    nav << "</ol></nav></body></html>";
    writeFile(root / "OPS/book.opf", opf.str());
    writeFile(root / "OPS/nav.xhtml", nav.str());
}

std::shared_ptr<companion::EpubBook> openEpub(const TemporaryFolder& folder, const BookBudget& budget, std::string* error)
{
    auto loaded = companion::loadEpubBook(folder.string(), budget);
    if (!loaded.ok()) {
        EXPECT_EQ(loaded.error().code, static_cast<int64_t>(BookError::TooLarge)) << loaded.error().localizedDescription();
        *error = loaded.error().localizedDescription();
        return nullptr;
    }
    return loaded.value();
}

} // namespace

TEST(BookBudget, BooksPastALimitAreRefusedNamingIt)
{
    struct Case {
        const char* name;
        EpubShape shape;
        BookBudget budget;
        const char* limit;
    };
    auto small = [](auto change) {
        BookBudget budget;
        change(budget);
        return budget;
    };
    const std::vector<Case> cases = {
        { "a long spine", { 40, 40 }, small([](BookBudget& b) { b.maxSpineItems = 30; }), "maxSpineItems" },
        { "a long navigation", { 1, 60, [](size_t) { return 0; } }, small([](BookBudget& b) { b.maxNavigationEntries = 50; }),
            "maxNavigationEntries" },
        { "a first chapter of many paragraphs", { 1, 1, {}, [](size_t) { return paragraphs(2000); } },
            small([](BookBudget& b) { b.maxBlocksPerChapter = 1000; }), "maxBlocksPerChapter" },
        { "a large chapter file", { 1, 1, {}, [](size_t) { return paragraphs(2000); } },
            small([](BookBudget& b) { b.maxFileBytes = 10'000; }), "maxFileBytes" },
        { "many chapters that add up", { 20, 20, {}, [](size_t) { return paragraphs(100); } },
            small([](BookBudget& b) { b.maxBytesRead = 20'000; }), "maxBytesRead" },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        TemporaryFolder folder;
        writeEpub(folder.path(), testCase.shape);
        std::string error;
        EXPECT_FALSE(openEpub(folder, testCase.budget, &error));
        EXPECT_NE(error.find(testCase.limit), std::string::npos) << error;
        EXPECT_NE(error.find("over the limit of"), std::string::npos) << error;
    }
}

TEST(BookBudget, AChapterListedManyTimesIsReadAndParsedOnce)
{
    TemporaryFolder folder;
    const std::string big = paragraphs(5000, "The keeper trims the lamp."); // about 175 KB
    writeEpub(folder.path(), { 1, 200, [](size_t) { return 0; }, [&](size_t) { return big; } });
    BookBudget budget;
    budget.maxBytesRead = 2 * big.size(); // 200 reads would pass it many times over
    budget.maxPositionsPerBook = 100'000;
    std::string error;
    auto book = openEpub(folder, budget, &error);
    ASSERT_TRUE(book) << error;
    ASSERT_EQ(book->chapters.size(), 200u);
    EXPECT_EQ(book->chapters[199]->content(), book->chapters[0]->content()) << "one parsed copy, shared";
    EXPECT_EQ(book->counters().chaptersParsed, 1u);
    EXPECT_LT(book->counters().bytesRead, 2 * big.size());

    // Its positions would be 200 × 5000: measuring the whole book stops at the limit.
    auto measured = book->measure();
    ASSERT_FALSE(measured.ok());
    EXPECT_NE(measured.error().localizedDescription().find("maxPositionsPerBook"), std::string::npos);
    EXPECT_EQ(book->counters().chaptersParsed, 1u);
}

TEST(BookBudget, ALaterChapterPastTheBlockLimitLeavesTheRestReadable)
{
    TemporaryFolder folder;
    writeEpub(folder.path(), { 3, 3, [](size_t i) { return i; }, [](size_t i) { return paragraphs(i == 1 ? 3000 : 3); } });
    BookBudget budget;
    budget.maxBlocksPerChapter = 1000;
    std::string error;
    auto book = openEpub(folder, budget, &error);
    ASSERT_TRUE(book) << error;
    EXPECT_TRUE(book->chapters[1]->content()->text.empty());
    ASSERT_TRUE(book->chapters[1]->contentError());
    EXPECT_NE(book->chapters[1]->contentError()->localizedDescription().find("maxBlocksPerChapter"), std::string::npos);
    EXPECT_FALSE(book->chapters[2]->content()->text.empty());
    EXPECT_FALSE(book->measure().ok());
}

TEST(BookBudget, TwentyThousandChaptersWithAFullNavigationOpen)
{
    // Every navigation entry finds its chapter by a hash look-up, so a budget that allows
    // the spine opens it (the default one refuses it: maxSpineItems).
    TemporaryFolder folder;
    const size_t count = 20'000;
    writeEpub(folder.path(), { count, count, {}, [](size_t) { return std::string("<html><body><p>x</p></body></html>"); } });
    BookBudget budget;
    budget.maxSpineItems = count;
    std::string error;
    auto book = openEpub(folder, budget, &error);
    ASSERT_TRUE(book) << error;
    ASSERT_EQ(book->chapters.size(), count);
    EXPECT_EQ(book->chapters[count - 1]->title, "Part " + std::to_string(count - 1));
    EXPECT_EQ(book->chapterForHref("c12345.xhtml#x")->fileIndex, 12345);
    EXPECT_EQ(book->counters().chaptersParsed, 1u);
}

TEST(BookBudget, ChaptersAreParsedWhenFirstAskedFor)
{
    TemporaryFolder folder;
    writeEpub(folder.path(), { 300, 300 });
    auto loaded = companion::loadBook(folder.string());
    ASSERT_TRUE(loaded.ok()) << loaded.error().localizedDescription();
    auto book = std::dynamic_pointer_cast<companion::EpubBook>(loaded.value());
    ASSERT_TRUE(book);
    EXPECT_EQ(book->counters().chaptersParsed, 1u) << "the package, the navigation and the first chapter only";
    EXPECT_TRUE(book->chapters[0]->isContentLoaded());
    EXPECT_FALSE(book->chapters[150]->isContentLoaded());

    EXPECT_EQ(book->chapters[150]->content()->text, "A gull.\nA gull.\nA gull.");
    EXPECT_EQ(book->counters().chaptersParsed, 2u);
    book->chapters[150]->content();
    EXPECT_EQ(book->counters().chaptersParsed, 2u);

    auto measured = book->measure();
    ASSERT_TRUE(measured.ok());
    EXPECT_EQ(book->counters().chaptersParsed, 300u);
    EXPECT_EQ(measured.value().positionCount, 900u);
    EXPECT_EQ(measured.value().bookCFIs[150].chapterCFIArray.front(), "epubcfi(/6/302[c150]!/4/2)");
}

TEST(BookBudget, TheSameFolderOpenedTwiceSharesOneBook)
{
    TemporaryFolder folder;
    writeEpub(folder.path(), { 2, 2 });
    auto first = companion::loadSharedBook(folder.string());
    auto second = companion::loadSharedBook(folder.string());
    ASSERT_TRUE(first.ok() && second.ok());
    EXPECT_EQ(first.value(), second.value());
    auto separate = companion::loadBook(folder.string());
    ASSERT_TRUE(separate.ok());
    EXPECT_NE(separate.value(), first.value());
}

TEST(BookBudget, TheRendererShowsTheFirstPageAfterParsingOneChapter)
{
    uitest::UIScope scope;
    ui::Environment::current().setScreenSize({ 768, 1024 });
    TemporaryFolder folder;
    writeEpub(folder.path(), { 300, 300 });
    auto delegate = std::make_shared<companiontest::RecordingRendererDelegate>();
    std::optional<size_t> parsedAtFirstPage;
    delegate->onDidLoadPage = [&](lectoro::RendererViewController&, int64_t) {
        if (auto book = std::dynamic_pointer_cast<companion::EpubBook>(delegate->loadedBook); book && !parsedAtFirstPage)
            parsedAtFirstPage = book->counters().chaptersParsed.load();
    };
    auto renderer = companion::BookRenderer::create(folder.string(), delegate);
    renderer->view();
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(parsedAtFirstPage, std::optional<size_t>(1));

    // Measured, then laid out into pages, in the background.
    for (int step = 0; step < 2; ++step) {
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
    }
    auto book = std::dynamic_pointer_cast<companion::EpubBook>(delegate->loadedBook);
    ASSERT_TRUE(book);
    EXPECT_TRUE(book->isBookContentLoaded);
    EXPECT_EQ(book->bookCFIArray.size(), 900u);
    EXPECT_EQ(delegate->linesStartingWith("cfisCounted"), (std::vector<std::string> { "cfisCounted" }));
}
