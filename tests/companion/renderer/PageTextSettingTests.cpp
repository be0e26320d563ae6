// The text of the sample books as the renderer sets it and the painter draws it: no word
// drawn past the text column or below the page's bottom margin, headings in their level's
// size and face, paragraphs apart.

#include "companion/renderer/PageTextLayout.h"
#include "companion/renderer/ReflowPagination.h"
#include "companion/renderer/TextFaces.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXPageVO.h"
#include "companion/SampleBooks.h"
#include "companion/books/XhtmlText.h"
#include "platform/print/Canvas.h"

#include <cairo.h>
#include <gtest/gtest.h>

namespace {

// Measures a word as Cairo draws it from the face's file, in a context 16 times finer than
// a point so the rounding of glyph positions to pixels stays below a sixteenth of a point.
class DrawnWidth {
public:
    DrawnWidth()
        : m_surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4), &cairo_surface_destroy)
        , m_context(cairo_create(m_surface.get()), &cairo_destroy)
        , m_canvas(m_context.get())
    {
        m_canvas.scale(16, 16);
    }
    double of(const std::string& text, const ui::Font& font)
    {
        return m_canvas.drawLine(text, { font, ui::Color::clear(), ui::TextAlignment::Left, false }, { 0, 0 });
    }

private:
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> m_surface;
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> m_context;
    print::Canvas m_canvas;
};

struct Overflow {
    std::string where;
    std::string word;
    double by = 0;
};

// Every word of the laid-out page checked against the column and the bottom margin.
void checkPage(const companion::PageTextLayout& page, const std::string& where, DrawnWidth& drawn, std::vector<Overflow>& found)
{
    const auto& insets = page.style().insets;
    const double right = page.pageSize().width - insets.right;
    const double bottom = page.pageSize().height - insets.bottom;
    for (const auto& run : page.runs()) {
        std::string word = page.text().substr(run.byteStart, run.byteEnd - run.byteStart);
        double end = run.rect.origin.x + drawn.of(word, run.face->font());
        if (end > right + 0.5)
            found.push_back({ where, word, end - right });
        if (run.rect.origin.y + run.rect.size.height > bottom + 0.5)
            found.push_back({ where + " (below the margin)", word, run.rect.origin.y + run.rect.size.height - bottom });
    }
}

TEST(PageTextSetting, NoWordOfTheSamplesIsDrawnPastItsColumn)
{
    ASSERT_TRUE(companion::textFaceFile(companion::TextFace::Body)) << "the bundle's text face";
    DrawnWidth drawn;
    std::vector<Overflow> found;
    const std::vector<std::pair<const char*, ui::Size>> screens {
        { "pad", { 768, 1024 } }, { "pad turned", { 1024, 768 } }, { "phone", { 375, 667 } }, { "phone turned", { 667, 375 } }
    };
    // Reflowable books, cut into pages for the reader's default settings and its largest size.
    for (const char* name : { "sample-reflowable-epub", "sample-rtl-epub", "sample-long-epub" }) {
        auto book = companiontest::loadSample<lectoro::EPUBBookVO>(name);
        ASSERT_TRUE(book);
        for (const auto& [screen, size] : screens) {
            for (int64_t fontStep : { 0, 5 }) {
                auto layout = companion::reflowLayoutFor(fontStep, 0, 0, 30, size);
                size_t chapters = 0;
                for (const auto& chapter : book->chapters) {
                    // The long book's chapters are alike: its first few stand for the rest.
                    if (++chapters > 4)
                        break;
                    auto content = chapter->content();
                    auto pages = companion::paginateText(content->text, layout, content->headings);
                    for (size_t index = 0; index < pages.count(); ++index) {
                        auto [start, end] = pages.range(index);
                        companion::PageTextLayout page(content->text.substr(start, end - start), size,
                            layout.textStyle(content->headings).forRange(start, end));
                        checkPage(page, std::string(name) + " " + screen + " size " + std::to_string(fontStep) + " "
                                + chapter->href + " page " + std::to_string(index + 1), drawn, found);
                    }
                }
            }
        }
    }
    // Fixed pages: a page book's pages and a fixed-layout book's chapters.
    auto pageBook = companiontest::loadSample<lectoro::PXBookVO>("sample-pagebook");
    ASSERT_TRUE(pageBook);
    for (const auto& record : pageBook->pageList) {
        companion::PageTextLayout page(record->text, record->size);
        checkPage(page, "sample-pagebook page " + std::to_string(record->pageID), drawn, found);
    }
    for (const auto& overflow : found)
        ADD_FAILURE() << overflow.where << ": \"" << overflow.word << "\" runs " << overflow.by << " pt past its margin";
}

TEST(PageTextSetting, HeadingsTakeTheirLevelsSizeAndFaceAndParagraphsTheirSpace)
{
    // h1 to h6 over an 18-point body.
    const double sizes[] = { 36, 27, 21.06, 18, 14.94, 12.06 };
    for (int level = 1; level <= 6; ++level) {
        SCOPED_TRACE(level);
        std::string tag = "h" + std::to_string(level);
        auto chapter = companion::extractXhtmlText("<html><body><" + tag + ">Title</" + tag + "><p>Body text.</p></body></html>");
        ASSERT_EQ(chapter.headings.size(), 1u);
        EXPECT_EQ(chapter.headings[0].level, level);
        companion::PageTextStyle style;
        style.headings = chapter.headings;
        companion::PageTextLayout page(chapter.text, { 768, 1024 }, style);
        auto runs = page.runs();
        ASSERT_EQ(runs.size(), 3u) << "Title, Body, text.";
        EXPECT_EQ(page.text().substr(runs[0].byteStart, runs[0].byteEnd - runs[0].byteStart), "Title");
        EXPECT_NEAR(runs[0].face->pointSize(), sizes[level - 1], 0.001);
        EXPECT_EQ(runs[0].face->face(), companion::TextFace::Heading);
        EXPECT_TRUE(runs[0].face->font().isBold());
        EXPECT_EQ(runs[1].face->face(), companion::TextFace::Body);
        EXPECT_EQ(runs[1].face->pointSize(), 18);
        // The heading's line grows with its size; the paragraph starts half the body size below it.
        EXPECT_EQ(runs[0].rect.origin.y, style.insets.top);
        EXPECT_EQ(runs[0].rect.size.height, std::ceil(22 * sizes[level - 1] / 18));
        EXPECT_EQ(runs[1].rect.origin.y, style.insets.top + runs[0].rect.size.height + 9);
    }
}

} // namespace
