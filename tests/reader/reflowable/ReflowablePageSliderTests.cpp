#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageSlider.h"

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowableSliderPopUpView.h"
#include "LectoroSDKWithReader/reader/reflowable/SliderBarView.h"
#include "companion/testing/FakeRenderer.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/Label.h"
#include "platform/ui/Slider.h"
#include "tests/reader/reflowable/ReflowableTestSupport.h"

namespace lectoro::reflowabletest {
namespace {

class SliderHost : public ReflowablePageSliderDelegate {
public:
    std::shared_ptr<ui::View> sliderHostView() override { return view; }
    std::string updateChapterTitleForChapter(const EPUBChapterVO& chapter) override
    {
        titledChapters.push_back(chapter.href);
        return "Chapter " + chapter.href;
    }
    std::shared_ptr<ui::View> view = ui::View::create({ 0, 0, 375, 667 });
    std::vector<std::string> titledChapters;
};

class ReflowablePageSliderTest : public ReflowableTest {
protected:
    void SetUp() override
    {
        ReflowableTest::SetUp();
        theme = std::make_shared<LXMVThemeVO>();
        theme->setThumbnail_slider_slider_color(ui::Color::fromRGB255(10, 20, 30));
        renderer = companion::testing::FakeRenderer::create();
        metrics = std::make_shared<ReflowableChapterMetrics>();
    }

    void makeSlider(std::shared_ptr<EPUBBookVO> newBook)
    {
        book = std::move(newBook);
        slider = std::make_unique<ReflowablePageSlider>(host, theme, renderer, metrics);
        slider->setBook(book);
        slider->enableDisableVerticalSlider(true);
    }

    // Chapters of the given content sizes, measured in order, content points in use.
    void measure(const std::vector<int64_t>& sizes)
    {
        book->isBookContentLoaded = true;
        for (size_t index = 0; index < sizes.size(); ++index)
            slider->didBookChaptersProcessSuccessfully(static_cast<int64_t>(index), sizes[index], false);
    }

    std::vector<std::string> navigations() const
    {
        std::vector<std::string> targets;
        for (const auto& call : renderer->callsNamed("navigateToPageNumber"))
            targets.push_back(*call.arguments.at(0).asString());
        return targets;
    }

    SliderHost host;
    std::shared_ptr<LXMVThemeVO> theme;
    std::shared_ptr<companion::testing::FakeRenderer> renderer;
    std::shared_ptr<ReflowableChapterMetrics> metrics;
    std::shared_ptr<EPUBBookVO> book;
    std::unique_ptr<ReflowablePageSlider> slider;
};

TEST_F(ReflowablePageSliderTest, BuildPlacesTheSliderByDeviceAndDirection)
{
    struct BuildCase {
        bool pad;
        bool rightToLeft;
        double top;
        double width;
        double trailing;
        double popUpWidth;
    };
    const BuildCase cases[] = {
        { false, false, 60, 40, 4 + 30, 250 },
        { false, true, 60, 40, 4 + 18, 250 },
        { true, false, 80, 50, 4 + 45, 300 },
        { true, true, 80, 50, 4 + 30, 300 },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(::testing::Message() << "pad " << testCase.pad << " rtl " << testCase.rightToLeft);
        environment().setIdiom(testCase.pad ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone);
        environment().setLayoutDirection(
            testCase.rightToLeft ? ui::LayoutDirection::RightToLeft : ui::LayoutDirection::LeftToRight);
        host.view = ui::View::create({ 0, 0, 375, 667 });
        host.view->setSafeAreaInsets(ui::EdgeInsets { 0, 0, 0, 4 });
        makeSlider(makeReflowableBook({ 2 }));
        auto sliderView = slider->viewForSliderBar();
        ASSERT_TRUE(sliderView);
        EXPECT_EQ(sliderView->superview(), host.view);
        EXPECT_TRUE(sliderView->isHidden());
        EXPECT_FALSE(sliderView->isSliderThumbImageEnabled());
        EXPECT_TRUE(sliderView->percentageLabel()->isHidden());
        EXPECT_FALSE(slider->sliderCompletedValue());
        EXPECT_EQ(slider->topConstraintForVerticalSliderView()->constant(), testCase.top);
        EXPECT_EQ(slider->widthConstraintForVerticalSliderView()->constant(), testCase.width);
        EXPECT_EQ(slider->bottomConstraintForVerticalSliderView()->constant(), 50);
        EXPECT_EQ(slider->bottomConstraintForVerticalSliderView()->relation(),
            ui::LayoutRelation::GreaterThanOrEqual);
        EXPECT_EQ(slider->rightConstraintForVerticalSliderView()->constant(), testCase.trailing);
        auto popUp = slider->reflowableSliderPopUpView();
        ASSERT_TRUE(popUp);
        EXPECT_EQ(popUp->alpha(), 0);
        EXPECT_EQ(
            popUp->widthAnchor().item()->constraintWithFirstAttribute(ui::LayoutAttribute::Width)->constant(),
            testCase.popUpWidth);
    }
}

TEST_F(ReflowablePageSliderTest, PaginatedBooksHaveNoSliderAndRebuildingLeavesOne)
{
    makeSlider(makeReflowableBook({ 2, 2 }));
    slider->addSliderBarForReflowableBook();
    slider->addSliderBarForReflowableBook();
    int sliders = 0;
    for (const auto& subview : host.view->subviews())
        sliders += subview->className() == "SliderBarView";
    EXPECT_EQ(sliders, 1);

    slider->enableDisableVerticalSlider(false);
    EXPECT_FALSE(slider->viewForSliderBar());
    for (const auto& subview : host.view->subviews())
        EXPECT_NE(subview->className(), "SliderBarView");
}

TEST_F(ReflowablePageSliderTest, OneChapterGetsItsWholeTrackAtOnce)
{
    struct TrackCase {
        bool pad;
        double viewHeight;
        double length;
    };
    for (const auto& testCase : { TrackCase { false, 667, 557 }, TrackCase { true, 768, 622 } }) {
        environment().setIdiom(testCase.pad ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone);
        host.view = ui::View::create({ 0, 0, 500, testCase.viewHeight });
        makeSlider(makeReflowableBook({ 5 }));
        slider->didBookChaptersProcessSuccessfully(0, 1000, false);
        EXPECT_FALSE(slider->viewForSliderBar()->isHidden());
        EXPECT_EQ(slider->bottomConstraintForVerticalSliderView()->constant(), testCase.length);
        EXPECT_EQ(slider->viewForSliderBar()->sliderContainerVewHeight()->constant(), testCase.length - 40);
    }
}

TEST_F(ReflowablePageSliderTest, ManyChaptersGrowTheTrackByEqualSharesLater)
{
    makeSlider(makeReflowableBook({ 1, 1, 1, 1 }));
    const double length = 667 - 110;
    for (int measured = 0; measured < 4; ++measured) {
        slider->didBookChaptersProcessSuccessfully(measured, 100, false);
        EXPECT_FALSE(slider->sliderCompletedValue());
        EXPECT_EQ(slider->bottomConstraintForVerticalSliderView()->constant(),
            measured == 0 ? 50 : length * measured / 4);
        base::RunLoop::main().advanceBy(0.3);
        EXPECT_DOUBLE_EQ(
            slider->bottomConstraintForVerticalSliderView()->constant(), length * (measured + 1) / 4);
        EXPECT_DOUBLE_EQ(slider->viewForSliderBar()->sliderContainerVewHeight()->constant(),
            length * (measured + 1) / 4 - 40);
    }
    // A report past the chapter count changes nothing.
    slider->didBookChaptersProcessSuccessfully(4, 100, false);
    base::RunLoop::main().advanceBy(1);
    EXPECT_DOUBLE_EQ(slider->bottomConstraintForVerticalSliderView()->constant(), length);
    // The chapter sizes were kept for the content-point positions.
    EXPECT_EQ(metrics->metricForChapter(3).bookContentSizeTillChapter, 300);
}

TEST_F(ReflowablePageSliderTest, CountedPositionsSizeTheTrackAndStyleTheSliderLater)
{
    makeSlider(makeReflowableBook({ 10, 10, 10 }));
    slider->bookCFIsLoadingCompleted(30);
    auto sliderView = slider->viewForSliderBar();
    EXPECT_FALSE(sliderView->isHidden());
    EXPECT_TRUE(slider->sliderCompletedValue());
    EXPECT_EQ(sliderView->pageSlider()->maximumValue(), 30);
    EXPECT_EQ(slider->bottomConstraintForVerticalSliderView()->constant(), 557);
    EXPECT_FALSE(sliderView->isSliderThumbImageEnabled());

    base::RunLoop::main().advanceBy(0.3);
    EXPECT_TRUE(sliderView->isSliderThumbImageEnabled());
    EXPECT_FALSE(sliderView->percentageLabel()->isHidden());
    const ui::Color themeColor = ui::Color::fromRGB255(10, 20, 30);
    EXPECT_EQ(sliderView->pageSlider()->thumbTintColor(), themeColor);
    EXPECT_EQ(sliderView->pageSlider()->minimumTrackTintColor(), themeColor);
    EXPECT_EQ(sliderView->pageSlider()->maximumTrackTintColor(), ui::Color::lightGray());
    EXPECT_EQ(sliderView->percentageLabel()->textColor(), themeColor);
    EXPECT_EQ(sliderView->sliderImageColour(), themeColor);

    // The count is applied again a second later, to a rebuilt slider too.
    slider->addSliderBarForReflowableBook();
    base::RunLoop::main().advanceBy(1.0);
    EXPECT_EQ(slider->viewForSliderBar()->pageSlider()->maximumValue(), 30);
    EXPECT_FALSE(slider->viewForSliderBar()->isHidden());
}

TEST_F(ReflowablePageSliderTest, ContentPositionsMoveTheThumbOnceTheMaximumIsKnown)
{
    makeSlider(makeReflowableBook({ 1, 1, 1 }));
    measure({ 1000, 2000, 3000 });
    base::RunLoop::main().advanceBy(0.3);
    auto pageSlider = slider->viewForSliderBar()->pageSlider();

    slider->didChangeContentPosition(500, 1, 2000, false);
    EXPECT_EQ(pageSlider->value(), 0) << "no position is shown before the maximum is known";

    slider->bookLoadingCompletedWithContentSize(6000);
    slider->didChangeContentPosition(500, 1, 2000, false);
    EXPECT_EQ(pageSlider->value(), 1500);
    EXPECT_EQ(slider->viewForSliderBar()->percentageLabel()->text(), "25%");

    // The end of the last chapter puts the thumb at the maximum.
    slider->didChangeContentPosition(2400, 2, 3000, false);
    EXPECT_EQ(pageSlider->value(), 6000);
    EXPECT_EQ(slider->viewForSliderBar()->percentageLabel()->text(), "100%");
    slider->didChangeContentPosition(100, 2, 3000, false);
    EXPECT_EQ(pageSlider->value(), 3100);

    // A chapter the book does not have leaves the thumb alone.
    slider->didChangeContentPosition(10, 9, 3000, false);
    EXPECT_EQ(pageSlider->value(), 3100);
}

TEST_F(ReflowablePageSliderTest, CfiChangesMoveTheThumbInCfiUnits)
{
    makeSlider(makeReflowableBook({ 2, 3 }));
    slider->bookCFIsLoadingCompleted(5);
    auto pageSlider = slider->viewForSliderBar()->pageSlider();
    slider->didChangeBookCFI("/6/1!/4/0");
    EXPECT_EQ(pageSlider->value(), 3);
    EXPECT_EQ(slider->viewForSliderBar()->percentageLabel()->text(), "60%");
    slider->didChangeBookCFI("/99!/4");
    EXPECT_EQ(pageSlider->value(), 3);
    // Content positions only place the thumb at the end of the book in these units.
    slider->didChangeContentPosition(10, 0, 5000, false);
    EXPECT_EQ(pageSlider->value(), 3);
    slider->didChangeContentPosition(10, 1, 300, false);
    EXPECT_EQ(pageSlider->value(), 5);
}

TEST_F(ReflowablePageSliderTest, FindsTheChapterOfAValue)
{
    makeSlider(makeReflowableBook({ 2, 0, 3 }));
    measure({ 100, 50, 200 });
    struct PointsCase {
        float value;
        const char* href;
        int64_t remainder;
    };
    const PointsCase pointCases[] = {
        { 0, "ch0.xhtml", 0 },
        { 100, "ch0.xhtml", 100 },
        { 100.9f, "ch0.xhtml", 100 },
        { 101, "ch1.xhtml", 1 },
        { 151, "ch2.xhtml", 1 },
        { 350, "ch2.xhtml", 200 },
        { 351, nullptr, 0 },
    };
    for (const auto& testCase : pointCases) {
        SCOPED_TRACE(testCase.value);
        auto found = slider->getCurrentChapterWithSliderValue(testCase.value);
        if (!testCase.href) {
            EXPECT_FALSE(found.chapter);
            continue;
        }
        ASSERT_TRUE(found.chapter);
        EXPECT_EQ(found.chapter->href, testCase.href);
        EXPECT_EQ(found.remainder, testCase.remainder);
    }

    struct CfiCase {
        float value;
        const char* href;
    };
    for (const auto& testCase : { CfiCase { 0, "ch0.xhtml" }, CfiCase { 2, "ch0.xhtml" },
             CfiCase { 3, "ch2.xhtml" }, CfiCase { 5, "ch2.xhtml" }, CfiCase { 6, nullptr } }) {
        SCOPED_TRACE(testCase.value);
        auto chapter = slider->getChapterForSliderCFIValue(testCase.value);
        EXPECT_EQ(chapter ? chapter->href : std::string(), testCase.href ? testCase.href : "");
    }

    EXPECT_EQ(slider->getSliderCFIValueForChapter(*book->chapters[2]), 2);
    EXPECT_EQ(slider->getSliderCFIValueForChapter(*book->chapters[1]), 0);
    EXPECT_FALSE(slider->getEpubChapterForIndex(3));
    EXPECT_FALSE(slider->getEpubChapterForIndex(-1));
}

TEST_F(ReflowablePageSliderTest, ReleaseInContentPointsNavigatesToThePosition)
{
    makeSlider(makeReflowableBook({ 1, 1 }));
    measure({ 1000, 2000 });
    auto pageSlider = slider->viewForSliderBar()->pageSlider();
    pageSlider->setMaximumValue(3000);
    // The slider's own logic, driven in code (the bar it sits in is off screen here).
    ASSERT_TRUE(pageSlider->simulateSlide({ 1250.7 }, true));
    base::RunLoop::main().runUntilIdle();
    slider->didSliderScrollWithValue(5000);
    EXPECT_EQ(navigations(), std::vector<std::string> { "ch1.xhtml#contentPosition250" });

    makeSlider(makeReflowableBook({ 1 }));
    book->isBookContentLoaded = true;
    slider->didSliderScrollWithValue(7777.9f);
    EXPECT_EQ(navigations().back(), "ch0.xhtml#contentPosition7777");
}

TEST_F(ReflowablePageSliderTest, ReleaseInCfiUnitsNavigatesToThePosition)
{
    struct CfiReleaseCase {
        const char* name;
        std::vector<int> cfis;
        const char* coverImage;
        float value;
        const char* target;
    };
    const CfiReleaseCase cases[] = {
        { "value 0 behaves as 1", { 2, 2 }, "", 0, "ch0.xhtml#bookCFI/6/0!/4/0" },
        { "value 1", { 2, 2 }, "", 1, "ch0.xhtml#bookCFI/6/0!/4/0" },
        { "value 3", { 2, 2 }, "", 3.6f, "ch1.xhtml#bookCFI/6/1!/4/0" },
        { "one past the list counts as its last entry", { 2, 2 }, "", 5, nullptr },
        { "further past the list goes nowhere", { 2, 2 }, "", 9, nullptr },
        { "an empty list goes nowhere", {}, "", 1, nullptr },
        { "first position after a cover chapter", { 0, 2 }, "cover.jpg", 1, "ch0.xhtml" },
        { "first position with no cover image", { 0, 2 }, "", 1, "ch1.xhtml#bookCFI/6/1!/4/0" },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        makeSlider(makeReflowableBook(testCase.cfis));
        book->coverImageName = testCase.coverImage;
        auto target = slider->navigationTargetForSliderValue(testCase.value);
        EXPECT_EQ(target.value_or("<none>"), testCase.target ? testCase.target : "<none>");
    }

    // One past the end still lands on the last position where a chapter holds it.
    makeSlider(makeReflowableBook({ 2, 2 }));
    EXPECT_EQ(slider->navigationTargetForSliderValue(4).value_or(""), "ch1.xhtml#bookCFI/6/1!/4/1");

    renderer->clearCalls();
    slider->didSliderScrollWithValue(3);
    EXPECT_EQ(navigations(), std::vector<std::string> { "ch1.xhtml#bookCFI/6/1!/4/0" });
    slider->didSliderScrollWithValue(40);
    EXPECT_EQ(navigations().size(), 1u);
}

TEST_F(ReflowablePageSliderTest, DraggingShowsTheChapterAndPageInThePopUp)
{
    makeSlider(makeReflowableBook({ 1, 1 }));
    measure({ 2000, 3000 });
    metrics->recordChapterPageCount(0, 4);
    book->guides.push_back({ "ch0.xhtml", "cover", "Cover" });
    auto popUp = slider->reflowableSliderPopUpView();

    slider->movesSlider(2000 + 700);
    EXPECT_EQ(popUp->alpha(), 1);
    EXPECT_EQ(popUp->chapterNameLabel()->text(), "Chapter ch1.xhtml");
    // 700 points into the chapter at 667 points a page: its second page, after 4.
    EXPECT_EQ(popUp->chapterLabel()->text(), "Page 6");

    slider->movesSlider(10);
    EXPECT_EQ(popUp->chapterNameLabel()->text(), "Chapter ch0.xhtml");
    EXPECT_EQ(popUp->chapterLabel()->text(), "") << "a cover chapter has no page";

    host.view->setFrame({ 0, 0, 375, 0 });
    slider->movesSlider(2100);
    EXPECT_EQ(popUp->chapterLabel()->text(), "") << "a view of no height has no pages";

    // Letting go fades the pop-up out.
    slider->didSliderScrollWithValue(2100);
    EXPECT_EQ(popUp->alpha(), 0);
}

TEST_F(ReflowablePageSliderTest, DraggingInCfiUnitsOnlyUpdatesTheChapterTitle)
{
    makeSlider(makeReflowableBook({ 2, 2 }));
    slider->movesSlider(3);
    EXPECT_EQ(host.titledChapters, std::vector<std::string> { "ch1.xhtml" });
    EXPECT_EQ(slider->reflowableSliderPopUpView()->chapterLabel()->text(), "");
}

} // namespace
} // namespace lectoro::reflowabletest
