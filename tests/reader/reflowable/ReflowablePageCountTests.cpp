#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCount.h"

#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCountView.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageSlider.h"
#include "LectoroSDKWithReader/reader/reflowable/SliderBarView.h"
#include "platform/base/Json.h"
#include "platform/ui/Label.h"
#include "tests/reader/reflowable/ReflowableTestSupport.h"

namespace lectoro::reflowabletest {
namespace {

class PageCountHost : public ReflowablePageCountHost, public ReflowablePageSliderDelegate {
public:
    PageCountHost()
    {
        view = ui::View::create({ 0, 0, 375, 667 });
        rendererView = ui::View::create({ 0, 0, 375, 667 });
        view->addSubview(rendererView);
        view->addSubview(ui::View::create({ 0, 0, 10, 10 }));
    }
    std::shared_ptr<ui::View> pageCountHostView() override { return view; }
    std::shared_ptr<ui::View> pageCountRendererView() override { return rendererView; }
    std::shared_ptr<ReaderViewControllerDelegate> pageCountReaderDelegate() override { return delegate; }
    std::shared_ptr<ui::View> sliderHostView() override { return view; }
    std::string updateChapterTitleForChapter(const EPUBChapterVO&) override { return {}; }

    std::shared_ptr<ui::View> view;
    std::shared_ptr<ui::View> rendererView;
    std::shared_ptr<RecordingReaderDelegate> delegate = std::make_shared<RecordingReaderDelegate>();
};

class ReflowablePageCountTest : public ReflowableTest {
protected:
    void SetUp() override
    {
        ReflowableTest::SetUp();
        book = makeReflowableBook({ 3, 3, 3 });
        metrics = std::make_shared<ReflowableChapterMetrics>();
        // Chapter 1 follows 40 pages.
        metrics->setMetric(1, { 0, 0, 40 });
        pageCount = std::make_unique<ReflowablePageCount>(host, metrics);
        pageCount->setBook(book);
        pageCount->setBookID(42);
        pageCount->setUserID(7);
    }

    void setScrolling(bool scrolling) { book->userReaderFontSettings->scrollEnabled = scrolling; }

    PageCountHost host;
    std::shared_ptr<EPUBBookVO> book;
    std::shared_ptr<ReflowableChapterMetrics> metrics;
    std::unique_ptr<ReflowablePageCount> pageCount;
};

struct PageCase {
    const char* name;
    bool pad;
    bool landscape;
    bool rightToLeft;
    bool scrolling;
    const char* page;
    int64_t chapterPages;
    int64_t bookPages;
    bool cover;
    const char* strip;
    std::optional<int64_t> percentage;
};

TEST_F(ReflowablePageCountTest, PageReportsAcrossDevicesDirectionsAndModes)
{
    const PageCase cases[] = {
        { "phone page", false, false, false, false, "3", 12, 300, false, "Page 3 of 12 | 43 / 300 ", 14 },
        { "tablet landscape spread", true, true, false, false, "5", 12, 300, false,
            "Page 5 of 12 | 45-46 / 300 ", 15 },
        { "tablet portrait is one page", true, false, false, false, "5", 12, 300, false,
            "Page 5 of 12 | 45 / 300 ", 15 },
        { "scrolling never shows a range", true, true, false, true, "5", 12, 300, false,
            "Page 5 of 12 | 45 / 300 ", 15 },
        { "right to left mirrors the page", false, false, true, false, "1", 12, 300, false,
            "Page 12 of 12 | 41 / 300 ", 13 },
        { "mirrored pair in numeric order", false, false, true, false, "1,2", 10, 300, false,
            "Page 9, 10 of 10 | 41 / 300 ", 13 },
        { "pair left to right", false, false, false, false, "1,2", 10, 300, false,
            "Page 1, 2 of 10 | 41 / 300 ", 13 },
        { "page beyond the book shows the total", false, false, false, false, "120", 12, 100, false,
            "Page 100 of 12 | 100 / 100 ", 100 },
        { "absolute beyond the book shows the total", true, true, false, false, "70", 80, 100, false,
            "Page 70 of 80 | 100 / 100 ", 100 },
        { "last spread ending on the last page", true, true, false, false, "59", 80, 100, false,
            "Page 59 of 80 | 99-100 / 100 ", 100 },
        { "spread past the last page shows the last page", true, true, false, false, "60", 80, 100, false,
            "Page 60 of 80 | 100 / 100 ", 100 },
        { "chapter pages beyond the book are clamped", false, false, false, false, "1", 500, 50, false,
            "Page 1 of 50 | 41 / 50 ", 82 },
        { "cover page is empty", false, false, false, false, "1", 1, 300, true, "", 13 },
        { "until the book's total is known: no book count, no percentage", false, false, false, false, "3", 12, 0,
            false, "Page 3 of 12", std::nullopt },
        { "nothing is clamped to an unknown total", true, true, false, false, "70", 80, 0, false, "Page 70 of 80",
            std::nullopt },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        environment().setIdiom(testCase.pad ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone);
        environment().setScreenSize(testCase.landscape ? ui::Size { 1024, 768 } : ui::Size { 768, 1024 });
        environment().setLayoutDirection(
            testCase.rightToLeft ? ui::LayoutDirection::RightToLeft : ui::LayoutDirection::LeftToRight);
        setScrolling(testCase.scrolling);
        auto report = pageCount->pageReport(
            testCase.page, 1, testCase.chapterPages, testCase.bookPages, testCase.cover);
        EXPECT_EQ(report.stripText, testCase.strip);
        EXPECT_EQ(report.readPercentage, testCase.percentage);
    }
}

TEST_F(ReflowablePageCountTest, PageChangeUpdatesStripAnnouncesAndTellsTheHost)
{
    pageCount->addReflowablePageCountView();
    auto strip = pageCount->reflowableSliderPageCountView();
    ASSERT_TRUE(strip);
    // Directly above the renderer's view, full width at the bottom.
    EXPECT_EQ(host.view->subviews().at(1), strip);
    EXPECT_EQ(strip->frame(), ui::Rect(0, 637, 375, 30));
    EXPECT_DOUBLE_EQ(strip->alpha(), 0.9);
    EXPECT_TRUE(strip->isHidden());

    pageCount->didChangeReflowableBookPage("3", 1, 12, 300, false);
    EXPECT_EQ(strip->pageLabel()->text(), "Page 3 of 12 | 43 / 300 ");
    EXPECT_FALSE(strip->isHidden());
    ASSERT_EQ(host.delegate->percentages.size(), 1u);
    EXPECT_EQ(host.delegate->percentages[0].percentage, 14);
    EXPECT_EQ(host.delegate->percentages[0].bookID, 42);
    const auto& posts = environment().accessibilityPosts();
    ASSERT_FALSE(posts.empty());
    EXPECT_EQ(posts.back().kind, ui::AccessibilityPost::Kind::ScreenChanged);
    EXPECT_EQ(posts.back().element.lock(), strip);

    host.delegate = nullptr;
    pageCount->didChangeReflowableBookPage("4", 1, 12, 300, false);
    EXPECT_EQ(strip->pageLabel()->text(), "Page 4 of 12 | 44 / 300 ");
}

TEST_F(ReflowablePageCountTest, HidingRuleReadsBothLabelsAndTheDisableFlag)
{
    pageCount->addReflowablePageCountView();
    auto strip = pageCount->reflowableSliderPageCountView();
    pageCount->didChangeReflowableBookPage("1", 0, 1, 300, true);
    EXPECT_TRUE(strip->isHidden());

    strip->readingTimeLeftLabel()->setText("5 min left");
    pageCount->hideReflowablePageCountView();
    EXPECT_FALSE(strip->isHidden());

    pageCount->setDisableReflowablePageCountView(true);
    pageCount->didChangeReflowableBookPage("2", 0, 3, 300, false);
    EXPECT_TRUE(strip->isHidden());
}

TEST_F(ReflowablePageCountTest, WithTheVerticalSliderThePercentageComesFromItsLabel)
{
    auto slider = std::make_unique<ReflowablePageSlider>(
        host, nullptr, std::weak_ptr<RendererViewController>(), metrics);
    slider->setBook(book);
    slider->enableDisableVerticalSlider(true);
    slider->viewForSliderBar()->percentageLabel()->setText("37%");
    ReflowablePageCount withSlider(host, metrics, slider.get());
    withSlider.setBook(book);
    withSlider.setBookID(42);
    // Not while the book is still being laid out: the slider's label measures a part of it.
    withSlider.didChangeReflowableBookPage("3", 1, 12, 0, false);
    EXPECT_TRUE(host.delegate->percentages.empty());
    withSlider.didChangeReflowableBookPage("3", 1, 12, 300, false);
    ASSERT_EQ(host.delegate->percentages.size(), 1u);
    EXPECT_EQ(host.delegate->percentages[0].percentage, 37);
}

TEST_F(ReflowablePageCountTest, PagesBeforeAChapterFollowThePageReports)
{
    ReflowablePageCount fresh(host, std::make_shared<ReflowableChapterMetrics>());
    fresh.setBook(book);
    fresh.didChangeReflowableBookPage("1", 0, 12, 300, false);
    fresh.didChangeReflowableBookPage("1", 1, 20, 300, false);
    EXPECT_EQ(fresh.pageReport("2", 1, 20, 300, false).stripText, "Page 2 of 20 | 14 / 300 ");
    EXPECT_EQ(fresh.pageReport("1", 2, 5, 300, false).stripText, "Page 1 of 5 | 33 / 300 ");
}

TEST_F(ReflowablePageCountTest, StripColoursFollowTheReadingMode)
{
    struct ModeCase {
        int16_t mode;
        const char* background;
        ui::Color text;
    };
    const ModeCase cases[] = {
        { 0, "#FFFFFFFF", ui::Color::gray() },
        { 1, "#FAF3E8FF", ui::Color::gray() },
        { 2, "#1A1A1AFF", ui::Color::white() },
        { 3, "#FFFFFFFF", ui::Color::gray() },
    };
    pageCount->addReflowablePageCountView();
    auto strip = pageCount->reflowableSliderPageCountView();
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.mode);
        book->userReaderFontSettings->readerMode = testCase.mode;
        pageCount->setPageCountViewColor();
        EXPECT_EQ(strip->backgroundColor()->toDebugString(), testCase.background);
        EXPECT_EQ(strip->contentView()->backgroundColor()->toDebugString(), testCase.background);
        EXPECT_EQ(strip->pageLabel()->textColor(), testCase.text);
    }
}

TEST_F(ReflowablePageCountTest, FurthestPageIsStampedWithTheBookId)
{
    struct FurthestCase {
        const char* name;
        const char* json;
        const char* expectedPage;
    };
    const FurthestCase cases[] = {
        { "renderer object", R"({"page": 12, "bookId": "old"})", "12" },
        { "not JSON", "{page:", nullptr },
        { "a JSON list", "[1, 2]", nullptr },
        { "empty", "", nullptr },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        host.delegate->furthest.clear();
        pageCount->didUpdateFurthestPage(testCase.json);
        ASSERT_EQ(host.delegate->furthest.size(), 1u);
        const auto& sent = host.delegate->furthest[0];
        EXPECT_EQ(sent.bookID, 42);
        EXPECT_EQ(sent.userID, 7);
        auto parsed = base::parseJson(sent.data);
        ASSERT_TRUE(parsed);
        EXPECT_EQ((*parsed)["bookId"].asString(), std::optional<std::string>("42"));
        if (testCase.expectedPage)
            EXPECT_EQ((*parsed)["page"].description(), testCase.expectedPage);
        else
            EXPECT_EQ(parsed->asDictionary()->size(), 1u);
    }

    host.delegate = nullptr;
    pageCount->didUpdateFurthestPage("{}");
}

} // namespace
} // namespace lectoro::reflowabletest
