#include "BarsTestSupport.h"

#include "../reflowable/ReflowableTestSupport.h"

#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionBottomBar.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageSlider.h"
#include "LectoroSDKWithReader/reader/reflowable/SliderBarView.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Label.h"

namespace lectoro {
namespace {

using barstest::Device;
using chrometest::constantOf;
using chrometest::tagsOf;

class ReaderBarsTest : public barstest::BarsTest {
protected:
    ReaderBars& bars() { return m_reader->bars(); }

    // A reflowable book; with `pagesInFirstChapter` its first chapter lists a page.
    std::shared_ptr<EPUBBookVO> makeReflowable(bool pagesInFirstChapter)
    {
        auto book = reflowabletest::makeReflowableBook({ 2, 3 });
        if (pagesInFirstChapter)
            book->tocPageList.push_back({ "i", "ch0.xhtml", 0 });
        return book;
    }

    // The bottom row the bar class composes for these arguments, built aside.
    std::vector<int> referenceRow(bool portrait, int isEpub, bool teacherAnnotation)
    {
        auto bar = PlayerActionBottomBar::create();
        bar->setUserSettingsModel(m_settings);
        bar->setHasClassAssociation(context().hasClassAssociation);
        if (portrait)
            bar->addPlayerBottomBarForPortraitMode(*m_theme, isEpub, teacherAnnotation);
        else
            bar->addPlayerBottomBarForLandscapeMode(*m_theme, isEpub, teacherAnnotation);
        return tagsOf(*bar);
    }
};

TEST_F(ReaderBarsTest, BarsArePlacedHiddenWithTheirDeviceSizes)
{
    struct Case {
        Device device;
        double barHeight;
        double bottomHidden;
    };
    const Case cases[] = { { Device::Phone, 50, 54 }, { Device::Pad, 58, 62 }, { Device::NoIdiom, 50, 54 } };
    for (const auto& c : cases) {
        useDevice(c.device);
        openSample("sample-pagebook");
        SCOPED_TRACE(chrometest::deviceName(c.device));
        auto top = bars().playerTopActionBarView();
        auto bottom = bars().playerBottomActionBarView();
        ASSERT_TRUE(top && bottom);
        EXPECT_EQ(top->superview(), readerView());
        EXPECT_EQ(bottom->superview(), readerView());
        EXPECT_EQ(top->tag(), TopBar);
        EXPECT_EQ(bottom->tag(), BottomBar);
        EXPECT_EQ(top->delegate().get(), static_cast<PlayerActionDelegate*>(m_reader.get()));
        EXPECT_EQ(bottom->delegate().get(), static_cast<PlayerActionDelegate*>(m_reader.get()));

        EXPECT_EQ(bars().topBarTopMarginConstraint()->constant(), -80);
        EXPECT_EQ(constantOf(*top, ui::LayoutAttribute::Leading), -0.4);
        EXPECT_EQ(constantOf(*top, ui::LayoutAttribute::Trailing), 0.4);
        EXPECT_EQ(constantOf(*top, ui::LayoutAttribute::Height), c.barHeight);
        EXPECT_EQ(bars().bottomBarBottomMarginConstraint()->constant(), c.bottomHidden);
        EXPECT_EQ(constantOf(*bottom, ui::LayoutAttribute::Leading), -0.3);
        EXPECT_EQ(constantOf(*bottom, ui::LayoutAttribute::Trailing), 0.3);
        EXPECT_EQ(constantOf(*bottom, ui::LayoutAttribute::Height), c.barHeight);

        EXPECT_TRUE(m_reader->isPlayerActionBarHidden());
        EXPECT_TRUE(top->isHidden());
        EXPECT_TRUE(bottom->isHidden());
        EXPECT_EQ(top->layer()->borderColor(), chrometest::ThemeColors::topIcons());
        EXPECT_DOUBLE_EQ(top->layer()->borderWidth(), 0.4);
        EXPECT_DOUBLE_EQ(top->layer()->shadowRadius(), 4);
        EXPECT_EQ(bottom->layer()->borderColor(), chrometest::ThemeColors::bottomIcons());
        EXPECT_DOUBLE_EQ(bottom->layer()->borderWidth(), 0.3);
        EXPECT_DOUBLE_EQ(bottom->layer()->shadowRadius(), 2);
        EXPECT_FALSE(top->clipsToBounds());
    }
}

TEST_F(ReaderBarsTest, SettingTheBarsUpAgainReplacesThem)
{
    openSample("sample-pagebook");
    auto firstTop = bars().playerTopActionBarView();
    bars().addPlayerActionBarForTopAndBottom();
    bars().addPlayerTopBarForIPhone();
    bars().addPlayerBottomBarForIPhone();
    int tops = 0;
    int bottoms = 0;
    for (const auto& view : readerView()->subviews()) {
        tops += view->tag() == TopBar;
        bottoms += view->tag() == BottomBar;
    }
    EXPECT_EQ(tops, 1);
    EXPECT_EQ(bottoms, 1);
    EXPECT_FALSE(firstTop->superview());

    bars().removePlayerBottomBar();
    EXPECT_FALSE(context().playerTopActionBarView);
    EXPECT_FALSE(context().playerBottomActionBarView);
}

TEST_F(ReaderBarsTest, BottomRowFollowsBookKindOrientationAndRole)
{
    m_settings->setIsReviewEnabled(true);
    m_settings->setIsSearchEnabled(true);
    m_settings->setIsStickyNotesEnabled(true);
    context().hasClassAssociation = true;
    context().isThumbnailForReflowableEnabled = true;
    struct Case {
        const char* name;
        std::shared_ptr<LectoroBookVO> book;
        bool learner;
        ui::Orientation orientation;
        bool portraitRow;
        int isEpub;
        bool teacherAnnotation;
        bool thumbnailAppended;
    };
    auto pageBook = std::make_shared<PXBookVO>();
    auto fixed = std::make_shared<EPUBBookVO>();
    fixed->meta.layout = 1;
    const Case cases[] = {
        { "page book, portrait", pageBook, false, ui::Orientation::Portrait, true, 0, true, false },
        { "page book, teacher", pageBook, false, ui::Orientation::LandscapeLeft, false, 0, true, false },
        { "page book, learner", pageBook, true, ui::Orientation::LandscapeLeft, false, 0, false, false },
        { "fixed EPUB, teacher", fixed, false, ui::Orientation::Portrait, true, 1, false, false },
        { "fixed EPUB, landscape", fixed, false, ui::Orientation::LandscapeRight, false, 1, false, false },
        { "reflowable, landscape", makeReflowable(true), false, ui::Orientation::LandscapeLeft, true, 2, false, true },
        { "reflowable, no pages", makeReflowable(false), false, ui::Orientation::Portrait, true, 2, false, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        useDevice(Device::Phone, c.orientation);
        context().currentBook = c.book;
        context().user->role = c.learner ? "LEARNER" : "TEACHER";
        bars().addPlayerBottomBarForIPhone();
        auto expected = referenceRow(c.portraitRow, c.isEpub, c.teacherAnnotation);
        if (c.thumbnailAppended)
            expected.push_back(PlayerItemThumbnail);
        EXPECT_EQ(tagsOf(*bars().playerBottomActionBarView()), expected);
    }
    // The full row shows the class-work item, so the role tells the two rows apart.
    EXPECT_NE(referenceRow(false, 0, true), referenceRow(false, 0, false));

    // Without the reflowable-thumbnail switch no thumbnail item is appended.
    context().isThumbnailForReflowableEnabled = false;
    context().currentBook = makeReflowable(true);
    bars().addPlayerBottomBarForIPhone();
    EXPECT_EQ(tagsOf(*bars().playerBottomActionBarView()), referenceRow(true, 2, false));
}

TEST_F(ReaderBarsTest, PenToolBarSlidesInWithTheThemeOrSettingsColours)
{
    auto swatches = [&] {
        std::vector<std::string> colors;
        for (const auto& item : bars().penToolActionBarView()->items()) {
            if (item->tag() == PlayerItemPenColorSwatch)
                colors.push_back(item->metaData()["penColor"].asString().value_or("?"));
        }
        return colors;
    };
    m_settings->setPentoolPenColors({ "#111111", "#222222" });
    m_theme->setPen_Color_Array(base::Value::List {});
    for (auto device : { Device::Phone, Device::Pad }) {
        SCOPED_TRACE(chrometest::deviceName(device));
        useDevice(device);
        const double height = device == Device::Pad ? 64 : 54;
        ui::AnimationLog::shared().clear();
        bars().addPenToolTopBarViewWithAnimation(true);
        auto bar = bars().penToolActionBarView();
        ASSERT_TRUE(bar);
        EXPECT_EQ(bar->tag(), PenToolBar);
        EXPECT_EQ(bar->superview(), readerView());
        EXPECT_EQ(constantOf(*bar, ui::LayoutAttribute::Height), height);
        EXPECT_EQ(constantOf(*bar, ui::LayoutAttribute::Left), -0.4);
        EXPECT_EQ(bars().bottomConstraintOfPenTool()->constant(), 0.3);
        ASSERT_TRUE(ui::AnimationLog::shared().last());
        EXPECT_DOUBLE_EQ(ui::AnimationLog::shared().last()->duration, 0.4);
        EXPECT_EQ(bar->backgroundColor(), chrometest::ThemeColors::penBackground());
        // The tablet bar lays the colours out as swatches; the phone bar opens a palette.
        if (device == Device::Pad) {
            EXPECT_EQ(swatches(), (std::vector<std::string> { "#111111", "#222222" }));
        }
        // Nothing to undo yet.
        auto undo = bars().getPenToolItemWithTag(PlayerItemPenUndo);
        ASSERT_TRUE(undo);
        EXPECT_FALSE(uitest::isTouchable(*undo));
        EXPECT_DOUBLE_EQ(undo->alpha(), 0.5);
    }

    m_theme->setPen_Color_Array(base::Value::List { "#AA0000" });
    useDevice(Device::Pad);
    ui::AnimationLog::shared().clear();
    bars().addPenToolTopBarViewWithAnimation(false);
    EXPECT_EQ(swatches(), std::vector<std::string> { "#AA0000" });
    EXPECT_EQ(bars().bottomConstraintOfPenTool()->constant(), 0.3);
    EXPECT_EQ(ui::AnimationLog::shared().count(), 0u);
    int penBars = 0;
    for (const auto& view : readerView()->subviews())
        penBars += view->tag() == PenToolBar;
    EXPECT_EQ(penBars, 1);
}

TEST_F(ReaderBarsTest, PenToolItemsAreFoundOnThePenBarFirstThenTheTeacherBottomBar)
{
    EXPECT_FALSE(bars().getPenToolItemWithTag(3));
    auto top = barstest::makeBar(TeacherBar);
    auto bottom = barstest::makeBar(TeacherBar);
    auto onBottom = barstest::addItem(*bottom, 3);
    auto onBottomToo = barstest::addItem(*bottom, 10);
    context().penToolActionBottomBarView = bottom;
    EXPECT_EQ(bars().getPenToolItemWithTag(3), onBottom);
    auto onTop = barstest::addItem(*top, 3);
    context().penToolActionBarView = top;
    EXPECT_EQ(bars().getPenToolItemWithTag(3), onTop);
    EXPECT_EQ(bars().getPenToolItemWithTag(10), onBottomToo);
    // Items that take no taps do not count.
    auto inert = PlayerActionBarItem::createWithLabel(21, "x");
    top->addActionBarItem(inert, 40, 0, false);
    EXPECT_FALSE(bars().getPenToolItemWithTag(21));
}

TEST_F(ReaderBarsTest, ChapterNameReachesTheTopBar)
{
    openSample("sample-pagebook");
    context().currentChapterName = "Living cells";
    bars().updateChapterNameForTopBar();
    auto item = bars().playerTopActionBarView()->chapterNameItem();
    ASSERT_TRUE(item);
    ASSERT_TRUE(item->firstLabel());
    EXPECT_EQ(item->firstLabel()->text(), "Living cells");
}

TEST_F(ReaderBarsTest, ItemsAreShownAndHiddenByBookKindAndDevice)
{
    using Tags = std::vector<int>;
    struct Case {
        const char* name;
        std::shared_ptr<LectoroBookVO> book;
        Device device;
        // Starting from every item hidden: what is shown.
        Tags topShown, bottomShown;
        // Starting from every item shown: what is hidden.
        Tags topHidden, bottomHidden;
    };
    auto fixed = std::make_shared<EPUBBookVO>();
    fixed->meta.layout = 1;
    auto pageBook = std::make_shared<PXBookVO>();
    const Case cases[] = {
        { "page book, phone", pageBook, Device::Phone, { 3, 4 }, { 6, 8 }, {}, {} },
        { "page book, tablet", pageBook, Device::Pad, { 3, 4 }, { 6 }, {}, {} },
        { "fixed EPUB, phone", fixed, Device::Phone, { 3, 4 }, {}, { 12, 13 }, { 8 } },
        { "fixed EPUB, tablet", fixed, Device::Pad, { 3, 4 }, {}, { 12, 13 }, {} },
        { "reflowable, phone", makeReflowable(false), Device::Phone, { 4 }, {}, { 3, 12, 13 }, { 4, 8 } },
        { "reflowable, tablet", makeReflowable(false), Device::Pad, {}, {}, { 3, 4, 12, 13 }, {} },
        { "no book", nullptr, Device::Phone, {}, {}, {}, {} },
    };
    auto makeRow = [](int tag, bool hidden) {
        auto bar = barstest::makeBar(tag);
        for (int item : { 3, 4, 6, 8, 12, 13 }) {
            barstest::addItem(*bar, item);
            bar->hideItemWithTag(item, hidden);
        }
        bar->enableItemWithTag(6, false);
        return bar;
    };
    auto tagsWhere = [](const PlayerActionBar& bar, bool hidden) {
        Tags tags;
        for (const auto& item : bar.items()) {
            if (item->isHidden() == hidden)
                tags.push_back(item->tag());
        }
        return tags;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        useDevice(c.device);
        context().currentBook = c.book;
        for (bool startHidden : { true, false }) {
            context().playerTopActionBarView = makeRow(TopBar, startHidden);
            context().playerBottomActionBarView = makeRow(BottomBar, startHidden);
            bars().updatePlayerActionBarForSelectedBook();
            const auto& top = *context().playerTopActionBarView;
            const auto& bottom = *context().playerBottomActionBarView;
            EXPECT_EQ(tagsWhere(top, !startHidden), startHidden ? c.topShown : c.topHidden);
            EXPECT_EQ(tagsWhere(bottom, !startHidden), startHidden ? c.bottomShown : c.bottomHidden);
            EXPECT_EQ(bottom.itemWithTag(6)->isEnabled(), c.book && c.book == pageBook);
        }
    }
}

// The reflowable page slider of the reader's view, shown, with a right safe-area inset.
class ReaderBarsSliderTest : public ReaderBarsTest, public ReflowablePageSliderDelegate {
protected:
    static constexpr double rightInset = 20;

    void SetUp() override
    {
        ReaderBarsTest::SetUp();
        openSample("sample-pagebook");
        readerView()->setSafeAreaInsets(ui::EdgeInsets(0, 0, 0, rightInset));
        m_slider = std::make_unique<ReflowablePageSlider>(
            *this, m_theme, m_renderer, std::make_shared<ReflowableChapterMetrics>());
        m_slider->setIsVerticalsliderEnable(true);
        m_slider->addSliderBarForReflowableBook();
        ASSERT_TRUE(m_slider->viewForSliderBar());
        m_slider->viewForSliderBar()->setHidden(false);
        bars().setReflowablePageSlider(m_slider.get());
        ui::AnimationLog::shared().clear();
    }

    void TearDown() override
    {
        bars().setReflowablePageSlider(nullptr);
        m_slider.reset();
        ReaderBarsTest::TearDown();
    }

    std::shared_ptr<ui::View> sliderHostView() override { return readerView(); }
    std::string updateChapterTitleForChapter(const EPUBChapterVO&) override { return {}; }

    std::shared_ptr<ui::View> container() { return m_slider->viewForSliderBar(); }
    double sliderMargin() { return m_slider->rightConstraintForVerticalSliderView()->constant(); }

    std::unique_ptr<ReflowablePageSlider> m_slider;
};

TEST_F(ReaderBarsSliderTest, HidingWithoutAnimationHidesOnlyTheBarsAndRunsNoCompletion)
{
    bars().moveTopAndBottomOnScreenWithIsAnimate(false);
    bool ran = false;
    bars().moveTopAndBottomOffScreenWithIsAnimate(false, [&] { ran = true; });
    base::RunLoop::main().advanceBy(1);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(m_reader->isPlayerActionBarHidden());
    EXPECT_TRUE(bars().playerTopActionBarView()->isHidden());
    EXPECT_TRUE(bars().playerBottomActionBarView()->isHidden());
    EXPECT_FALSE(container()->isHidden());
    EXPECT_EQ(bars().topBarTopMarginConstraint()->constant(), -80);
    EXPECT_EQ(bars().bottomBarBottomMarginConstraint()->constant(), 54);
    EXPECT_EQ(sliderMargin(), 30 + rightInset);
    EXPECT_EQ(ui::AnimationLog::shared().count(), 0u);
}

TEST_F(ReaderBarsSliderTest, AnimatedHideHidesTheThreeViewsBeforeTheCompletion)
{
    bars().moveTopAndBottomOnScreenWithIsAnimate(false);
    std::vector<bool> hiddenAtCompletion;
    int completions = 0;
    bars().moveTopAndBottomOffScreenWithIsAnimate(true, [&] {
        ++completions;
        hiddenAtCompletion = { bars().playerTopActionBarView()->isHidden(),
            bars().playerBottomActionBarView()->isHidden(), container()->isHidden() };
    });
    // Hidden state is known at once; the views are still seen sliding out.
    EXPECT_TRUE(m_reader->isPlayerActionBarHidden());
    EXPECT_FALSE(bars().playerTopActionBarView()->isHidden());
    EXPECT_FALSE(container()->isHidden());
    ASSERT_TRUE(ui::AnimationLog::shared().last());
    EXPECT_DOUBLE_EQ(ui::AnimationLog::shared().last()->duration, 0.5);
    base::RunLoop::main().advanceBy(0.6);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(hiddenAtCompletion, (std::vector<bool> { true, true, true }));
}

TEST_F(ReaderBarsSliderTest, ShowingUnhidesEverythingAndBringsTheBottomBarForward)
{
    bars().moveTopAndBottomOffScreenWithIsAnimate(true);
    base::RunLoop::main().advanceBy(1);
    ASSERT_TRUE(container()->isHidden());
    // Something laid over the bottom bar since.
    readerView()->addSubview(ui::View::create());

    std::vector<bool> finished;
    bars().moveTopAndBottomOnScreenWithIsAnimate(true, [&](bool done) { finished.push_back(done); });
    EXPECT_FALSE(m_reader->isPlayerActionBarHidden());
    EXPECT_FALSE(bars().playerTopActionBarView()->isHidden());
    EXPECT_FALSE(bars().playerBottomActionBarView()->isHidden());
    EXPECT_FALSE(container()->isHidden());
    EXPECT_EQ(readerView()->subviews().back(), bars().playerBottomActionBarView());
    EXPECT_EQ(bars().topBarTopMarginConstraint()->constant(), -0.4);
    EXPECT_EQ(bars().bottomBarBottomMarginConstraint()->constant(), 0.4);
    EXPECT_EQ(sliderMargin(), 5 - rightInset);
    EXPECT_TRUE(finished.empty());
    base::RunLoop::main().advanceBy(0.6);
    EXPECT_EQ(finished, std::vector<bool> { true });

    bool ran = false;
    bars().moveTopAndBottomOnScreenWithIsAnimate(false, [&](bool) { ran = true; });
    base::RunLoop::main().advanceBy(1);
    EXPECT_FALSE(ran);
}

TEST_F(ReaderBarsSliderTest, SliderMarginFollowsDeviceAndDirection)
{
    struct Case {
        Device device;
        ui::LayoutDirection direction;
        double hidden;
        double shown;
    };
    const Case cases[] = {
        { Device::Pad, ui::LayoutDirection::LeftToRight, 45 + rightInset, 0 - rightInset },
        { Device::Pad, ui::LayoutDirection::RightToLeft, 30 + rightInset, 5 - rightInset },
        { Device::Phone, ui::LayoutDirection::LeftToRight, 30 + rightInset, 5 - rightInset },
        { Device::Phone, ui::LayoutDirection::RightToLeft, 18 + rightInset, 9 - rightInset },
        { Device::NoIdiom, ui::LayoutDirection::RightToLeft, 18 + rightInset, 9 - rightInset },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(chrometest::deviceName(c.device))
            + (c.direction == ui::LayoutDirection::RightToLeft ? " rtl" : " ltr"));
        useDevice(c.device);
        ui::Environment::current().setLayoutDirection(c.direction);
        bars().moveTopAndBottomOffScreenWithIsAnimate(false);
        EXPECT_DOUBLE_EQ(sliderMargin(), c.hidden);
        bars().moveTopAndBottomOnScreenWithIsAnimate(false);
        EXPECT_DOUBLE_EQ(sliderMargin(), c.shown);
    }
    // A slider shown horizontally keeps its margin.
    m_slider->setIsVerticalsliderEnable(false);
    bars().moveTopAndBottomOffScreenWithIsAnimate(false);
    EXPECT_DOUBLE_EQ(sliderMargin(), cases[4].shown);
}

TEST_F(ReaderBarsTest, EitherMoveMayBeRepeated)
{
    openSample("sample-pagebook");
    for (int round = 0; round < 2; ++round) {
        m_reader->moveTopAndBottomOnScreenWithIsAnimate(true);
        EXPECT_FALSE(m_reader->isPlayerActionBarHidden());
        EXPECT_EQ(bars().topBarTopMarginConstraint()->constant(), -0.4);
    }
    for (int round = 0; round < 2; ++round) {
        m_reader->moveTopAndBottomOffScreenWithIsAnimate(false);
        EXPECT_TRUE(m_reader->isPlayerActionBarHidden());
        EXPECT_EQ(bars().bottomBarBottomMarginConstraint()->constant(), 54);
    }
}

} // namespace
} // namespace lectoro
