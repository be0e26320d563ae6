#include "companion/renderer/BookRenderer.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "companion/SampleBooks.h"
#include "companion/renderer/ChapterPositions.h"
#include "companion/renderer/RecordingRendererDelegate.h"
#include "companion/renderer/ReflowPagination.h"
#include "companion/renderer/TextFaces.h"
#include "companion/store/TemporaryFolder.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Environment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <unistd.h>

namespace {

using companion::RendererSwipe;
using companiontest::RecordingRendererDelegate;

using companiontest::samplePath;

class ReflowPaginationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::Environment::current().setScreenSize({ 768, 1024 });
        ui::Environment::current().setInterfaceOrientation(ui::Orientation::Portrait);
    }

    std::shared_ptr<companion::BookRenderer> open(
        const std::string& book, std::shared_ptr<RecordingRendererDelegate> recorder = nullptr)
    {
        auto renderer = companion::BookRenderer::create(samplePath(book), recorder ? recorder : delegate);
        renderer->view();
        base::RunLoop::main().runUntilIdle();
        return renderer;
    }

    // The book measured, then laid out, in the background.
    static void settle()
    {
        for (int step = 0; step < 2; ++step) {
            base::waitForBackgroundWork();
            base::RunLoop::main().runUntilIdle();
        }
    }

    static std::shared_ptr<lectoro::EPUBBookVO> epubOf(companion::BookRenderer& renderer)
    {
        return std::dynamic_pointer_cast<lectoro::EPUBBookVO>(renderer.currentBook());
    }

    // Pages of every chapter, asked one by one.
    static int64_t sumOfChapterPages(companion::BookRenderer& renderer)
    {
        int64_t total = 0;
        for (int64_t number : renderer.pageNumbers()) {
            auto first = renderer.reflowPage(number, 0);
            EXPECT_TRUE(first);
            total += first ? static_cast<int64_t>(first->count) : 0;
        }
        return total;
    }

    uitest::UIScope scope;
    std::shared_ptr<RecordingRendererDelegate> delegate = std::make_shared<RecordingRendererDelegate>();
};

TEST_F(ReflowPaginationTest, LongBookPaginatesIntoTheSamePagesTwice)
{
    auto first = open("sample-long-epub");
    settle();
    auto other = std::make_shared<RecordingRendererDelegate>();
    auto second = open("sample-long-epub", other);
    settle();
    ASSERT_TRUE(first->reflowBookPageCount());
    ASSERT_TRUE(second->reflowBookPageCount());
    EXPECT_EQ(*first->reflowBookPageCount(), *second->reflowBookPageCount());
    EXPECT_GT(*first->reflowBookPageCount(), 3 * static_cast<int64_t>(first->pageNumbers().size()));
    EXPECT_EQ(*first->reflowBookPageCount(), sumOfChapterPages(*first));
    for (int64_t chapter : first->pageNumbers()) {
        for (size_t index = 0;; ++index) {
            auto a = first->reflowPage(chapter, index);
            auto b = second->reflowPage(chapter, index);
            ASSERT_EQ(a.has_value(), b.has_value());
            if (!a)
                break;
            EXPECT_EQ(a->textStart, b->textStart);
            EXPECT_EQ(a->cfi, b->cfi);
        }
    }

    // What the owner heard: every chapter measured, the book's size in points, and the page
    // on screen with the book's total.
    double pageHeight = first->reflowLayout().pageSize.height;
    EXPECT_EQ(delegate->chapterContentSizes.size(), first->pageNumbers().size());
    ASSERT_TRUE(delegate->bookContentSize);
    EXPECT_EQ(*delegate->bookContentSize,
        static_cast<int64_t>(pageHeight * static_cast<double>(*first->reflowBookPageCount())));
    auto chapterPages = first->reflowPage(0, 0)->count;
    ASSERT_FALSE(delegate->reflowPages.empty());
    // Before the book is laid out its total is not known (0), never the chapters laid out so far.
    EXPECT_EQ(delegate->reflowPages.front(), "0:1/" + std::to_string(chapterPages) + "/0");
    EXPECT_EQ(delegate->reflowPages.back(),
        "0:1/" + std::to_string(chapterPages) + "/" + std::to_string(*first->reflowBookPageCount()));
}

TEST_F(ReflowPaginationTest, AJumpAskedForWhileTheFirstPageLoadsLandsOnceItIsUp)
{
    // The positions to jump to: the fourth page of the first chapter, and a page of the third.
    auto probe = open("sample-long-epub", std::make_shared<RecordingRendererDelegate>());
    auto fourth = probe->reflowPage(0, 3);
    ASSERT_TRUE(fourth);
    ASSERT_GE(probe->pageNumbers().size(), 3u);
    auto third = probe->reflowPage(2, 1);
    ASSERT_TRUE(third);
    probe->clearObjects();

    struct Case {
        const char* name;
        std::string cfi;
        int64_t chapter;
        size_t page;
    };
    const Case cases[] = {
        { "inside the chapter opening", fourth->cfi, 0, 3 },
        { "in another chapter", third->cfi, 2, 1 },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        auto recorder = std::make_shared<RecordingRendererDelegate>();
        int loads = 0;
        recorder->onDidLoadPage = [&](lectoro::RendererViewController& renderer, int64_t) {
            if (++loads == 1)
                renderer.jumpToCFIString(testCase.cfi);
        };
        auto renderer = open("sample-long-epub", recorder);
        auto shown = renderer->currentReflowPage();
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->chapter, testCase.chapter);
        EXPECT_EQ(shown->index, testCase.page);
        EXPECT_EQ(renderer->getCurrentCFI(), testCase.cfi);
        ASSERT_FALSE(recorder->bookCFIs.empty());
        EXPECT_EQ(recorder->bookCFIs.back(), testCase.cfi) << "the owner heard where the page landed";
        EXPECT_EQ(recorder->reflowPages.back().rfind(
                      std::to_string(testCase.chapter) + ":" + std::to_string(testCase.page + 1) + "/", 0),
            0u)
            << recorder->reflowPages.back();
    }
}

TEST_F(ReflowPaginationTest, TheFirstWordOnScreenIsNamedByItsOwnElement)
{
    // A chapter whose every word is an element of its own, in paragraphs with ids of theirs:
    // narration starts at the first word a page shows, so the page names that word.
    companion::testing::TemporaryFolder folder;
    const auto root = folder.path();
    companiontest::writeFile(root / "META-INF/container.xml", R"(<?xml version="1.0"?>
<container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container">
  <rootfiles><rootfile full-path="package.opf" media-type="application/oebps-package+xml"/></rootfiles>
</container>)");
    companiontest::writeFile(root / "package.opf", R"(<?xml version="1.0" encoding="UTF-8"?>
<package xmlns="http://www.idpf.org/2007/opf" version="3.0" unique-identifier="uid">
  <metadata xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:identifier id="uid">words</dc:identifier>
    <dc:title>Words</dc:title><dc:language>en</dc:language></metadata>
  <manifest><item id="one" href="one.xhtml" media-type="application/xhtml+xml"/></manifest>
  <spine><itemref idref="one"/></spine>
</package>)");
    std::string body;
    for (int paragraph = 0, word = 0; paragraph < 60; ++paragraph) {
        body += "<p id=\"p" + std::to_string(paragraph) + "\">";
        for (int inParagraph = 0; inParagraph < 20; ++inParagraph, ++word)
            body += "<span id=\"w" + std::to_string(word) + "\">word" + std::to_string(word) + "</span> ";
        body += "</p>";
    }
    companiontest::writeFile(root / "one.xhtml",
        "<?xml version=\"1.0\"?><html xmlns=\"http://www.w3.org/1999/xhtml\"><body>" + body + "</body></html>");
    auto renderer = companion::BookRenderer::create(root.string(), delegate);
    renderer->view();
    base::RunLoop::main().runUntilIdle();
    ASSERT_GT(renderer->reflowPage(0, 0)->count, 2u);
    auto chapter = epubOf(*renderer)->chapters[0];
    const auto& text = chapter->content()->text;
    for (int turn = 0; turn < 2; ++turn) {
        auto page = renderer->currentReflowPage();
        ASSERT_TRUE(page);
        SCOPED_TRACE("page " + std::to_string(page->index + 1));
        // The word the page starts with, as the chapter's own ids name it.
        std::string expected;
        for (const auto& [id, offset] : chapter->content()->anchors) {
            if (offset == page->textStart && id[0] == 'w')
                expected = id;
        }
        ASSERT_FALSE(expected.empty());
        std::optional<base::Value> word;
        renderer->getFirstVisibleWordForScreenWithCallBack([&](const std::optional<base::Value>& answer) { word = answer; });
        base::RunLoop::main().runUntilIdle();
        ASSERT_TRUE(word);
        EXPECT_EQ((*word)["wordId"].asString(), expected);
        EXPECT_EQ((*word)["text"].asString(), text.substr(page->textStart, text.find(' ', page->textStart) - page->textStart));
        ASSERT_TRUE(renderer->swipe(RendererSwipe::Next));
    }
}

TEST_F(ReflowPaginationTest, PagesFollowEachOtherWithoutGapsAndStartOnWords)
{
    auto renderer = open("sample-long-epub");
    auto epub = epubOf(*renderer);
    ASSERT_TRUE(epub);
    const std::string& text = epub->chapters[0]->content()->text;
    auto page = renderer->reflowPage(0, 0);
    ASSERT_TRUE(page);
    ASSERT_GT(page->count, 2u);
    size_t expectedStart = 0;
    for (size_t index = 0; index < page->count; ++index) {
        auto current = renderer->reflowPage(0, index);
        ASSERT_TRUE(current);
        EXPECT_EQ(current->textStart, expectedStart);
        EXPECT_LT(current->textStart, current->textEnd);
        if (index > 0) {
            EXPECT_NE(text[current->textStart], ' ');
            EXPECT_TRUE(text[current->textStart - 1] == ' ' || text[current->textStart - 1] == '\n')
                << "page " << index << " starts inside a word";
        }
        // The CFI of its first word leads back to it.
        EXPECT_EQ(companion::offsetOfPosition(*epub->chapters[0], current->cfi), current->textStart);
        expectedStart = current->textEnd;
    }
    EXPECT_EQ(expectedStart, text.size());
}

TEST_F(ReflowPaginationTest, LargerFontAddsPagesAndKeepsTheReadingPosition)
{
    auto renderer = open("sample-long-epub");
    settle();
    auto before = *renderer->reflowBookPageCount();
    for (int turn = 0; turn < 4; ++turn)
        ASSERT_TRUE(renderer->swipe(RendererSwipe::Next));
    auto shown = renderer->currentReflowPage();
    ASSERT_TRUE(shown);
    ASSERT_EQ(shown->chapter, 0) << "the first chapter has more than four pages";
    EXPECT_EQ(shown->index, 4u);
    std::string cfi = renderer->getCurrentCFI();
    EXPECT_EQ(cfi, shown->cfi);
    size_t chapterPages = shown->count;

    renderer->didFontSizeChanged(3);
    auto after = renderer->currentReflowPage();
    ASSERT_TRUE(after);
    EXPECT_GT(after->count, chapterPages);
    EXPECT_EQ(renderer->getCurrentCFI(), cfi);
    EXPECT_EQ(delegate->bookCFIs.back(), cfi);
    EXPECT_LE(after->textStart, shown->textStart);
    EXPECT_GT(after->textEnd, shown->textStart) << "the page shown holds the first word shown before";
    EXPECT_FALSE(renderer->reflowBookPageCount()) << "the book is being laid out again";

    settle();
    ASSERT_TRUE(renderer->reflowBookPageCount());
    EXPECT_GT(*renderer->reflowBookPageCount(), before);
    EXPECT_EQ(*renderer->reflowBookPageCount(), sumOfChapterPages(*renderer));

    // Back to the default size: the position still holds.
    renderer->resetReaderFontSetting();
    EXPECT_EQ(renderer->getCurrentCFI(), cfi);
    EXPECT_EQ(renderer->currentReflowPage()->textStart, shown->textStart);
}

TEST_F(ReflowPaginationTest, OtherLayoutSettingsChangeThePageCount)
{
    auto renderer = open("sample-long-epub");
    size_t base = renderer->reflowPage(0, 0)->count;
    struct Case {
        const char* name;
        std::function<void(companion::BookRenderer&)> apply;
        bool morePages;
    };
    const Case cases[] = {
        { "wide line spacing", [](auto& r) { r.setLineSpacing(3); }, true },
        { "narrow line spacing", [](auto& r) { r.setLineSpacing(1); }, false },
        { "wide margins", [](auto& r) { r.setMargin(3); }, true },
        { "vertical margin", [](auto& r) { r.setVerticalMarginForReflowableEpubBook(100); }, true },
        { "small font", [](auto& r) { r.didFontSizeChanged(1); }, false },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        renderer->resetReaderSetting();
        renderer->setVerticalMarginForReflowableEpubBook(0);
        ASSERT_EQ(renderer->reflowPage(0, 0)->count, base);
        testCase.apply(*renderer);
        size_t now = renderer->reflowPage(0, 0)->count;
        EXPECT_EQ(now > base, testCase.morePages) << now << " pages against " << base;
        EXPECT_NE(now, base);
    }
}

TEST_F(ReflowPaginationTest, TurningCrossesChaptersAtTheirEnds)
{
    auto renderer = open("sample-long-epub");
    size_t firstChapterPages = renderer->reflowPage(0, 0)->count;
    EXPECT_FALSE(renderer->swipe(RendererSwipe::Previous));
    for (size_t turn = 1; turn < firstChapterPages; ++turn)
        ASSERT_TRUE(renderer->swipe(RendererSwipe::Next));
    EXPECT_EQ(renderer->currentReflowPage()->index, firstChapterPages - 1);
    ASSERT_TRUE(renderer->swipe(RendererSwipe::Next));
    EXPECT_EQ(renderer->currentReflowPage()->chapter, 1);
    EXPECT_EQ(renderer->currentReflowPage()->index, 0u);
    // Back from a chapter's first page: the previous chapter's last page.
    ASSERT_TRUE(renderer->swipe(RendererSwipe::Previous));
    EXPECT_EQ(renderer->currentReflowPage()->chapter, 0);
    EXPECT_EQ(renderer->currentReflowPage()->index, firstChapterPages - 1);
    EXPECT_EQ(renderer->getLastVisitedRangeInfo(), std::to_string(firstChapterPages));
}

TEST_F(ReflowPaginationTest, SwipeDirectionFollowsPageProgression)
{
    struct Case {
        const char* book;
        RendererSwipe forward;
        RendererSwipe back;
    };
    const Case cases[] = {
        { "sample-long-epub", RendererSwipe::Left, RendererSwipe::Right },
        { "sample-rtl-epub", RendererSwipe::Right, RendererSwipe::Left },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.book);
        delegate = std::make_shared<RecordingRendererDelegate>();
        auto renderer = open(testCase.book);
        ASSERT_GT(renderer->reflowPage(0, 0)->count, 2u);
        EXPECT_FALSE(renderer->swipe(testCase.back)) << "nothing lies before the first page";
        ASSERT_TRUE(renderer->swipe(testCase.forward));
        ASSERT_TRUE(renderer->swipe(testCase.forward));
        EXPECT_EQ(renderer->currentReflowPage()->index, 2u);
        ASSERT_TRUE(renderer->swipe(testCase.back));
        EXPECT_EQ(renderer->currentReflowPage()->index, 1u);
    }
}

TEST_F(ReflowPaginationTest, NavigationReachesAPageInsideAChapter)
{
    auto renderer = open("sample-long-epub");
    auto epub = epubOf(*renderer);
    double height = renderer->reflowLayout().pageSize.height;
    const std::string& href = epub->chapters[2]->href;

    renderer->navigateToPageNumber(
        href + "#contentPosition" + std::to_string(static_cast<int64_t>(height * 2 + 5)));
    auto page = renderer->currentReflowPage();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->chapter, 2);
    EXPECT_EQ(page->index, 2u);

    auto target = renderer->reflowPage(3, 1);
    ASSERT_TRUE(target);
    renderer->jumpToCFIString(target->cfi);
    EXPECT_EQ(renderer->currentReflowPage()->chapter, 3);
    EXPECT_EQ(renderer->currentReflowPage()->index, 1u);
    EXPECT_EQ(renderer->getCurrentCFI(), target->cfi);

    // In the same chapter, through the slider's form.
    auto inSame = renderer->reflowPage(3, 3);
    ASSERT_TRUE(inSame);
    renderer->navigateToPageNumber(epub->chapters[3]->href + "#bookCFI" + inSame->cfi);
    EXPECT_EQ(renderer->currentReflowPage()->index, 3u);
}

TEST_F(ReflowPaginationTest, RequestsForMissingPagesAnswerNothing)
{
    auto renderer = open("sample-long-epub");
    auto count = renderer->reflowPage(0, 0)->count;
    EXPECT_TRUE(renderer->reflowPage(0, count - 1));
    EXPECT_FALSE(renderer->reflowPage(0, count)) << "past the chapter's last page";
    EXPECT_FALSE(renderer->reflowPage(999, 0)) << "a chapter the book lacks";
    EXPECT_FALSE(renderer->reflowPage(-1, 0));

    // A layout made in the background for settings since changed is dropped, not installed.
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle(); // measured; the book is being laid out for 18 points
    renderer->didFontSizeChanged(4);
    settle();
    ASSERT_TRUE(renderer->reflowBookPageCount());
    EXPECT_EQ(*renderer->reflowBookPageCount(), sumOfChapterPages(*renderer));

    // Once the book is dropped, none of its chapters answers.
    renderer->clearObjects();
    EXPECT_FALSE(renderer->reflowPage(0, 0));
    EXPECT_FALSE(renderer->currentReflowPage());
}

TEST_F(ReflowPaginationTest, FixedLayoutAndPageBooksHaveNoReflowablePages)
{
    for (const char* book : { "sample-fixed-epub", "sample-pagebook" }) {
        SCOPED_TRACE(book);
        auto renderer = open(book);
        EXPECT_FALSE(renderer->reflowPage(renderer->pageNumbers().front(), 0));
        EXPECT_FALSE(renderer->currentReflowPage());
    }
}

TEST_F(ReflowPaginationTest, PrintingWritesAPdfPagePerLaidOutPage)
{
    auto renderer = open("sample-long-epub");
    auto folder
        = std::filesystem::temp_directory_path() / ("lectoro-reflow-print-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    auto& printer = print::PrintInteractionController::shared();
    printer.reset();
    printer.setOutputFolder(folder.string());

    std::shared_ptr<lectoro::RendererPrintPage> handed;
    renderer->printPagesWithWatermark(
        "For class use", "#668A96", { 1, 4242 }, [&](auto page) { handed = page; });
    base::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(handed);
    std::optional<bool> completed;
    ASSERT_TRUE(
        renderer->printPages(*handed, "Chapter two", [&](auto&, bool done, auto) { completed = done; }));
    base::RunLoop::main().runUntilIdle();
    ASSERT_EQ(completed, true);
    ASSERT_FALSE(printer.jobs().empty());
    const auto& job = printer.jobs().back();
    EXPECT_EQ(job.pageCount, static_cast<int>(renderer->reflowPage(1, 0)->count));
    EXPECT_TRUE(std::filesystem::exists(job.outputPath));
    ASSERT_EQ(job.watermarks.size(), 1u);
    EXPECT_EQ(job.watermarks[0].text, "For class use");

    // Nothing printable: nothing presented.
    lectoro::RendererPrintPage nothing;
    nothing.pageNumbers = { 4242 };
    EXPECT_FALSE(renderer->printPages(nothing, "None", {}));
    printer.reset();
    std::filesystem::remove_all(folder);
}

TEST(ReflowText, WrapsByTheFacesAdvancesAndBreaksLongWords)
{
    // Four words "aaaa" and the three spaces between them fill a line exactly; 10-point
    // lines 10 high, three a page.
    const auto& face = companion::glyphAdvances(companion::TextFace::Body, 10);
    const double word = 4 * face.advance(U'a');
    companion::ReflowLayout layout;
    layout.fontSize = 10;
    layout.lineHeight = 10;
    layout.insets = ui::EdgeInsets { 0, 0, 0, 0 };
    layout.pageSize = ui::Size { 4 * word + 3 * face.advance(U' ') + 0.01, 30 };
    std::string words;
    for (int index = 0; index < 13; ++index)
        words += index ? " aaaa" : "aaaa";
    auto pages = companion::paginateText(words, layout);
    ASSERT_EQ(pages.count(), 2u);
    EXPECT_EQ(pages.range(1).first, 60u) << "the 13th word (12 × 5 bytes in) starts the second page";
    EXPECT_EQ(pages.pageHolding(words.size() - 1), 1u);

    // A paragraph ends its line and leaves half the size (5 points) below it: "a" at 0,
    // "b" at 15, and "c" (30 to 40) no longer fits the 30 points.
    auto paragraphs = companion::paginateText("a\nb\nc\nd", layout);
    ASSERT_EQ(paragraphs.count(), 2u);
    EXPECT_EQ(paragraphs.range(1).first, 4u);
    // A word longer than a line breaks between characters, as many a line as fit.
    const auto perLine = static_cast<size_t>(layout.lineWidth() / face.advance(U'x'));
    const size_t length = 3 * perLine + 1;
    auto broken = companion::paginateText(std::string(length, 'x'), layout);
    ASSERT_EQ(broken.count(), 2u);
    EXPECT_EQ(broken.range(1).first, 3 * perLine);
    EXPECT_EQ(companion::paginateText("", layout).count(), 1u);
}

} // namespace
