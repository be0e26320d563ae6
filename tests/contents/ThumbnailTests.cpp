// The thumbnail panels on their own: the data lookups, the page-thumbnail browser on both
// idioms and the EPUB page navigator.

#include "reader/ReaderTestSupport.h"

#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/thumbnails/LXFixedEpubThumbnailViewController.h"
#include "LectoroSDKWithReader/contents/thumbnails/LXThumbnailViewController.h"
#include "LectoroSDKWithReader/contents/thumbnails/LectoroThumbnailCollectionViewCell.h"
#include "LectoroSDKWithReader/contents/thumbnails/ThumbnailData.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Slider.h"

namespace lectoro::contentstest {
namespace {

// Chapters of one page each: positions 0 ... count - 1, display numbers "i", "ii", then
// "1", "2", ...; sources "p<position>.xhtml".
base::Value thumbEpubData(int count)
{
    base::Value::List chapters;
    for (int position = 0; position < count; ++position) {
        std::string display = position == 0 ? "i" : position == 1 ? "ii" : std::to_string(position - 1);
        chapters.push_back(base::Value::Dictionary {
            { "ChapterTitle", "Chapter " + std::to_string(position) },
            { "ChapterID", position },
            { "Pages",
                base::Value::List { base::Value::Dictionary { { "PageNo", position }, { "DisplayNumber", display },
                    { "PageThumbnailPath", "" }, { "SRC", "p" + std::to_string(position) + ".xhtml" } } } },
        });
    }
    return chapters;
}

// A page book's data: "Clouds" with pages 3 ("iv") and 12 ("12"), "Rain" with page 40 ("7").
base::Value thumbPageBookData()
{
    auto page = [](int number, const char* display) {
        return base::Value::Dictionary { { "PageNo", number }, { "DisplayNumber", display },
            { "PageThumbnailPath", "" }, { "SRC", "page-" + std::to_string(number) + ".png" } };
    };
    return base::Value::List {
        base::Value::Dictionary { { "ChapterTitle", "Clouds" }, { "ChapterID", 1 },
            { "Pages", base::Value::List { page(3, "iv"), page(12, "12") } } },
        base::Value::Dictionary {
            { "ChapterTitle", "Rain" }, { "ChapterID", 2 }, { "Pages", base::Value::List { page(40, "7") } } },
    };
}

class ThumbRecordingDelegate : public LXThumbnailDelegate, public LXFixedEpubThumbnailViewControllerDelegate {
public:
    std::vector<std::string> events;
    void didSelectThumbnailPageNo(const std::string& page) override { events.push_back("page:" + page); }
    void didSelectActionToCloseThumbnail() override { events.push_back("close"); }
    void didClickPreviousHistoryButtonWithCurrentPageNumber() override { events.push_back("back"); }
    void didClickNextHistoryButtonWithCurrentPageNumber() override { events.push_back("forward"); }
    void navigateToPageNo(const std::string& src) override { events.push_back("src:" + src); }
    void didPerformActionToCloseThumbnail() override { events.push_back("closeNavigator"); }
    void didClickHistoryPreviousForFixedEpub() override { events.push_back("navigatorBack"); }
    void didClickHistoryNextForFixedEpub() override { events.push_back("navigatorForward"); }
};

class ThumbRecordingAnalytics : public AnalyticsManager {
public:
    std::vector<std::string> live;
    void trackEvent(const std::string&, const base::Value&, const std::string&) override { }
    void notifyEvent(const std::optional<std::string>& name, const base::Value&) override
    {
        live.push_back(name.value_or(""));
    }
    std::string getTrackingJSON() override { return {}; }
};

TEST(ThumbnailData, GoToLookupsCompareDisplayNumbersIgnoringCase)
{
    const base::Value data = thumbPageBookData();
    struct Case {
        const char* typed;
        const char* browserFinds;
        const char* navigatorFinds;
    };
    for (auto c : { Case { "IV", "3", "3" }, Case { "iv", "3", "3" }, Case { "7", "40", "40" },
             Case { " 7", "", "40" }, Case { "1 2", "", "12" }, Case { "13", "", "" }, Case { "", "", "" } }) {
        const auto* browser = thumbnails::findPageByDisplayNumber(data, c.typed);
        const auto* navigator = thumbnails::findPageByTypedNumber(data, c.typed);
        EXPECT_EQ(browser ? thumbnails::pageNumberText(*browser) : "", c.browserFinds) << "'" << c.typed << "'";
        EXPECT_EQ(navigator ? thumbnails::pageNumberText(*navigator) : "", c.navigatorFinds) << "'" << c.typed << "'";
    }
}

TEST(ThumbnailData, EmptyDataHasNoLastPageAndNoPlaces)
{
    const base::Value emptyChapter = base::Value::List { base::Value::Dictionary { { "ChapterTitle", "A" } } };
    for (const auto& data : { base::Value(base::Value::List {}), emptyChapter, base::Value() }) {
        EXPECT_EQ(thumbnails::lastDisplayNumber(data), "");
        EXPECT_FALSE(thumbnails::findPageNumber(data, "1"));
        EXPECT_TRUE(thumbnails::flattenPages(data).pages.empty());
        EXPECT_FALSE(thumbnails::pageAtPosition(data, 0));
    }
    EXPECT_EQ(thumbnails::lastDisplayNumber(thumbPageBookData()), "7");
}

TEST(ThumbnailData, SliderPositionsCoverEveryPageOfEveryChapter)
{
    struct Case {
        double value;
        int64_t total;
        int64_t position;
    };
    for (auto c : { Case { 0.45, 11, 5 }, Case { 1.0, 11, 10 }, Case { 0.0, 11, 0 }, Case { 0.04, 11, 0 },
             Case { 0.05, 11, 1 }, Case { 0.7, 1, 0 }, Case { 0.7, 0, 0 } })
        EXPECT_EQ(thumbnails::sliderPosition(c.value, c.total), c.position) << c.value << " of " << c.total;
    EXPECT_EQ(thumbnails::initialSliderValue(5, 11), 0.5);
    EXPECT_EQ(thumbnails::initialSliderValue(0, 1), 0.0) << "one page: no division by zero";
    EXPECT_EQ(thumbnails::initialSliderValue(3, 0), 0.0);

    const base::Value data = thumbEpubData(11);
    const auto* first = thumbnails::pageAtPosition(data, 0);
    const auto* fifth = thumbnails::pageAtPosition(data, 5);
    ASSERT_TRUE(first && fifth) << "pages of earlier chapters are found, not only the last chapter's";
    EXPECT_EQ(thumbnails::displayNumberText(*first), "i");
    EXPECT_EQ(thumbnails::displayNumberText(*fifth), "4");
    EXPECT_FALSE(thumbnails::pageAtPosition(data, 11));
}

TEST(ThumbnailData, SubmittedPagesKeepOnlyTheirChapters)
{
    auto filtered = thumbnails::filterSubmittedPages(thumbPageBookData(), { "40" });
    ASSERT_EQ(thumbnails::chapters(filtered).size(), 1u);
    EXPECT_EQ(thumbnails::chapters(filtered)[0]["ChapterTitle"].asString(), std::string("Rain"));
    EXPECT_FALSE(thumbnails::findPageByDisplayNumber(filtered, "iv"));

    auto flat = thumbnails::flattenPages(thumbPageBookData());
    EXPECT_EQ(flat.pageNumbers, (std::vector<std::string> { "3", "12", "40" }));
    EXPECT_EQ(flat.pages[0]["ChapterTitle"].asString(), std::string("Clouds"));
    EXPECT_TRUE(flat.pages[1]["ChapterTitle"].isNull()) << "only a chapter's first page carries its title";
    EXPECT_EQ(flat.pages[2]["ChapterID"].integerValue(), 2);
}

TEST(ThumbnailData, DisplayNumbersOfDigitsGoThroughTheLocaliser)
{
    EXPECT_EQ(thumbnails::localizedDisplayNumber(base::Value("iv")), "iv");
    EXPECT_EQ(thumbnails::localizedDisplayNumber(base::Value("0")), "0");
    EXPECT_EQ(thumbnails::localizedDisplayNumber(base::Value("7")), "7");
    EXPECT_EQ(thumbnails::localizedDisplayNumber(base::Value(12)), "12");
}

class ThumbnailBrowserTest : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        m_theme->setThumbnail_selected_thumbnail_color(ui::Color::red());
        m_theme->setThumbnail_selected_title_color(ui::Color::green());
        m_theme->setThumbnail_title_color(ui::Color::blue());
    }

    std::shared_ptr<LXThumbnailViewController> makeBrowser(ui::UserInterfaceIdiom idiom, base::Value data,
        std::vector<std::string> selected, std::vector<std::string> submitted = {})
    {
        ui::Environment::current().setIdiom(idiom);
        ui::Environment::current().setScreenSize({ 1024, 768 });
        auto browser = LXThumbnailViewController::create();
        browser->setStudentSubmittedPageArray(std::move(submitted));
        browser->setDataArray(std::move(data));
        for (const auto& page : selected)
            browser->selectPageAt(page);
        browser->setThemeVo(m_theme);
        browser->setDelegate(m_delegate);
        browser->enablePreviousPageHistory(false);
        browser->enableNextPageHistory(true);
        uitest::showInWindow(browser);
        base::RunLoop::main().runUntilIdle();
        browser->view()->setNeedsLayout();
        browser->view()->layoutIfNeeded();
        browser->collectionView()->layoutIfNeeded();
        return browser;
    }

    static std::shared_ptr<LectoroThumbnailCollectionViewCell> cellAt(
        LXThumbnailViewController& browser, ui::IndexPath path)
    {
        return std::dynamic_pointer_cast<LectoroThumbnailCollectionViewCell>(
            browser.collectionView()->cellForItemAtIndexPath(path));
    }

    static bool isMarked(const LectoroThumbnailCollectionViewCell& cell)
    {
        return cell.pageSuperView()->layer()->borderWidth() == 2.0 && !cell.pageNumLabelForHighlightedSection()->isHidden();
    }

    std::shared_ptr<LXMVThemeVO> m_theme = std::make_shared<LXMVThemeVO>();
    std::shared_ptr<ThumbRecordingDelegate> m_delegate = std::make_shared<ThumbRecordingDelegate>();
};

TEST_F(ThumbnailBrowserTest, ASpreadMarksBothPagesOnTheIpadGrid)
{
    auto browser = makeBrowser(ui::UserInterfaceIdiom::Pad, thumbPageBookData(), { "12", "40" });
    ASSERT_EQ(browser->pageIndexArray(),
        (std::vector<LXThumbnailViewController::PageMark> { { 0, 1 }, { 1, 0 } }));
    auto& grid = *browser->collectionView();
    EXPECT_EQ(grid.numberOfSections(), 2);
    auto three = cellAt(*browser, { 0, 0 });
    auto twelve = cellAt(*browser, { 0, 1 });
    auto forty = cellAt(*browser, { 1, 0 });
    ASSERT_TRUE(three && twelve && forty);
    EXPECT_FALSE(isMarked(*three));
    EXPECT_TRUE(isMarked(*twelve));
    EXPECT_TRUE(isMarked(*forty));
    EXPECT_EQ(twelve->pageSuperView()->layer()->borderColor(), ui::Color::red());
    // The title shows on a chapter's first page; its colour follows the last mark looked at.
    EXPECT_EQ(three->chapterTitleLabel()->text(), "Clouds");
    EXPECT_EQ(twelve->chapterTitleLabel()->text(), "");
    EXPECT_EQ(three->chapterTitleLabel()->textColor(), ui::Color::blue());
    EXPECT_EQ(forty->chapterTitleLabel()->textColor(), ui::Color::green());
    EXPECT_EQ(three->pageNumLabel()->text(), "iv");
    EXPECT_EQ(three->accessibilityIdentifier(), "thumbnailCell00");
    EXPECT_EQ(browser->pageLabel()->text(), "/7");
    EXPECT_EQ(browser->searchTextField()->accessibilityIdentifier(), THUMBNAIL_SEARCH_TEXT_FIELD);
    // History buttons take the states given before the view was built.
    EXPECT_EQ(browser->prevButton()->alpha(), 0.5);
    EXPECT_FALSE(browser->prevButton()->isUserInteractionEnabled());
    EXPECT_EQ(browser->nextButton()->alpha(), 1.0);

    // A page no chapter holds marks the first page of the first chapter.
    browser->selectPageAt("99");
    EXPECT_EQ(browser->pageIndexArray().back(), (LXThumbnailViewController::PageMark { 0, 0 }));
}

TEST_F(ThumbnailBrowserTest, ChoosingAThumbnailReportsItsPageAfterTheAnalyticsEvent)
{
    auto analytics = std::make_shared<ThumbRecordingAnalytics>();
    AnalyticsManager::setInstance(analytics);
    for (auto idiom : { ui::UserInterfaceIdiom::Pad, ui::UserInterfaceIdiom::Phone }) {
        m_delegate->events.clear();
        auto browser = makeBrowser(idiom, thumbPageBookData(), { "3" });
        const ui::IndexPath path = idiom == ui::UserInterfaceIdiom::Pad ? ui::IndexPath { 1, 0 } : ui::IndexPath { 0, 2 };
        ASSERT_TRUE(browser->collectionView()->simulateTapOnItem(path));
        EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "page:40" }));
    }
    EXPECT_EQ(analytics->live, (std::vector<std::string> { "thumbnail_data_live", "thumbnail_data_live" }));
    AnalyticsManager::setInstance(nullptr);
}

TEST_F(ThumbnailBrowserTest, TheGoToFieldFindsThePageOrAlerts)
{
    auto browser = makeBrowser(ui::UserInterfaceIdiom::Pad, thumbPageBookData(), { "3" });
    uitest::showInWindow(browser);
    struct Case {
        const char* typed;
        const char* event;
        const char* alert;
    };
    for (auto c : { Case { "IV", "page:3", nullptr }, Case { "", nullptr, "PLEASE_ENTER_PAGE_NUMBER_ALERT" },
             Case { " 7", nullptr, "PLEASE_ENTER_VALID_PAGE_NUMBER_ALERT" } }) {
        m_delegate->events.clear();
        auto& field = *browser->searchTextField();
        field.setText(c.typed);
        browser->shouldReturn(field);
        EXPECT_EQ(field.text(), "") << "cleared after each go-to";
        if (c.event)
            EXPECT_EQ(m_delegate->events, (std::vector<std::string> { c.event }));
        else
            EXPECT_TRUE(m_delegate->events.empty()) << c.typed;
        auto alert = std::dynamic_pointer_cast<ui::AlertController>(browser->presentedViewController());
        if (!c.alert) {
            EXPECT_FALSE(alert) << c.typed;
            continue;
        }
        ASSERT_TRUE(alert) << c.typed;
        EXPECT_EQ(alert->alertTitle(), TOCConstants::localized("ERROR_ALERT_TITLE"));
        EXPECT_EQ(alert->message(), TOCConstants::localized(c.alert));
        ASSERT_EQ(alert->actions().size(), 1u);
        EXPECT_TRUE(alert->tapActionWithTitle(TOCConstants::localized("OK")));
        base::RunLoop::main().advanceBy(1);
    }
    uitest::showInWindow(nullptr);
}

TEST_F(ThumbnailBrowserTest, TheIphoneStripListsEveryPageAndMarksTheCurrentOne)
{
    auto browser = makeBrowser(ui::UserInterfaceIdiom::Phone, thumbPageBookData(), { "40" });
    ASSERT_TRUE(browser->mainView()) << "built once viewDidLoad has returned";
    EXPECT_EQ(browser->pageIndex(), 2);
    EXPECT_EQ(browser->totalPageArray(), (std::vector<std::string> { "3", "12", "40" }));
    auto& strip = *browser->collectionView();
    EXPECT_EQ(strip.numberOfSections(), 1);
    EXPECT_EQ(strip.numberOfItemsInSection(0), 3);
    auto forty = cellAt(*browser, { 0, 2 });
    auto three = cellAt(*browser, { 0, 0 });
    ASSERT_TRUE(forty && three);
    EXPECT_TRUE(isMarked(*forty));
    EXPECT_FALSE(isMarked(*three));
    EXPECT_EQ(forty->chapterTitleLabel()->text(), "Rain");
    EXPECT_EQ(forty->chapterTitleLabel()->textColor(), ui::Color::green()) << "the current page's chapter";
    EXPECT_EQ(three->chapterTitleLabel()->textColor(), ui::Color::blue());
    EXPECT_EQ(browser->backButton()->accessibilityIdentifier(), THUMBNAIL_IPHONE_BACK_BTN);
    ASSERT_TRUE(uitest::tap(*browser->backButton()));
    EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "close" }));
}

TEST_F(ThumbnailBrowserTest, EmptyDataOpensWithoutScrollingPastTheEnd)
{
    for (auto idiom : { ui::UserInterfaceIdiom::Pad, ui::UserInterfaceIdiom::Phone }) {
        auto browser = makeBrowser(idiom, base::Value::List {}, { "1" });
        EXPECT_EQ(browser->displayNumberOfLastPage(), "");
        EXPECT_EQ(browser->collectionView()->contentOffset(), (ui::Point {}));
        EXPECT_EQ(browser->pageLabel()->text(), "/");
    }
}

TEST_F(ThumbnailBrowserTest, SubmittedPagesAloneAreShownAndFound)
{
    auto browser = makeBrowser(ui::UserInterfaceIdiom::Pad, thumbPageBookData(), { "40" }, { "40", "12" });
    EXPECT_EQ(browser->collectionView()->numberOfSections(), 2);
    EXPECT_EQ(browser->collectionView()->numberOfItemsInSection(0), 1) << "page 3 was not submitted";
    EXPECT_FALSE(browser->isPageNumberAvailble("iv"));
    EXPECT_TRUE(browser->isPageNumberAvailble("12"));
}

TEST(ThumbnailSlider, TheIphoneSliderSitsBesideTheStripByOrientation)
{
    EXPECT_EQ(LXThumbnailViewController::sliderOffsetFor(ui::Orientation::Portrait, 375, false), 167.5);
    EXPECT_EQ(LXThumbnailViewController::sliderOffsetFor(ui::Orientation::LandscapeLeft, 812, false), 354);
    EXPECT_EQ(LXThumbnailViewController::sliderOffsetFor(ui::Orientation::LandscapeRight, 667, false), 309.5);
    EXPECT_EQ(LXThumbnailViewController::sliderOffsetFor(ui::Orientation::Portrait, 375, true), -167.5);
}

class ThumbnailNavigatorTest : public testing::ReaderTest {
protected:
    std::shared_ptr<LXFixedEpubThumbnailViewController> makeNavigator(
        base::Value data, int64_t total, int64_t active, bool back = false, bool forward = true)
    {
        ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Phone);
        ui::Environment::current().setScreenSize({ 375, 667 });
        auto navigator = LXFixedEpubThumbnailViewController::create(std::move(data), std::make_shared<LXMVThemeVO>());
        navigator->setDelegate(m_delegate);
        navigator->setActivePageNumber(active);
        navigator->setActiveDisplayNumber("3");
        navigator->setTotalNumberOfPages(total);
        navigator->enablePreviousPageHistory(back);
        navigator->enableNextPageHistory(forward);
        // The strip shows over the page, at the bottom of the screen.
        auto& environment = ui::Environment::current();
        auto window = environment.keyWindow() ? environment.keyWindow() : environment.makeKeyWindow();
        window->addSubview(navigator->view());
        navigator->viewWillAppear(false);
        navigator->view()->layoutIfNeeded();
        navigator->viewDidAppear(false);
        return navigator;
    }

    static void slideTo(LXFixedEpubThumbnailViewController& navigator, double value)
    {
        navigator.slider()->setValue(value);
        navigator.sliderValueChanged();
    }

    std::shared_ptr<ThumbRecordingDelegate> m_delegate = std::make_shared<ThumbRecordingDelegate>();
};

TEST_F(ThumbnailNavigatorTest, SliderPositionsLandOnTheirPages)
{
    auto navigator = makeNavigator(thumbEpubData(11), 11, 4);
    EXPECT_EQ(navigator->slider()->value(), 0.4);
    EXPECT_EQ(navigator->view()->frame(), (ui::Rect { 0, 577, 375, 90 }));
    EXPECT_EQ(navigator->totalPageNumberLabel()->text(), "/9");
    EXPECT_EQ(navigator->gotoTextField()->text(), "3");
    EXPECT_TRUE(navigator->sliderLabel()->isHidden());
    struct Case {
        double value;
        const char* bubble;
        const char* src;
    };
    for (auto c : { Case { 0.45, "Page 4", "src:p5.xhtml" }, Case { 1.0, "Page 9", "src:p10.xhtml" },
             Case { 0.0, "Page i", "src:p0.xhtml" } }) {
        m_delegate->events.clear();
        slideTo(*navigator, c.value);
        EXPECT_FALSE(navigator->sliderLabel()->isHidden());
        EXPECT_EQ(navigator->sliderLabel()->text(), c.bubble);
        navigator->sliderReleased();
        EXPECT_EQ(m_delegate->events, (std::vector<std::string> { c.src }));
    }
}

TEST_F(ThumbnailNavigatorTest, TheBubbleStaysOnScreenAndRisesOverTheKeyboard)
{
    auto navigator = makeNavigator(thumbEpubData(11), 11, 0);
    const double restingY = 667 - 90 - 40;
    EXPECT_EQ(navigator->sliderLabel()->frame(), (ui::Rect { 100, restingY, 90, 33 }));
    slideTo(*navigator, 0.0);
    EXPECT_EQ(navigator->sliderLabel()->frame().origin.x, 3);
    slideTo(*navigator, 1.0);
    EXPECT_EQ(navigator->sliderLabel()->frame().origin.x, 375 - 93);
    EXPECT_EQ(navigator->sliderLabel()->frame().origin.y, restingY);

    base::NotificationCenter::defaultCenter().post(ui::KeyboardWillShowNotification, nullptr,
        base::Value::Dictionary { { ui::KeyboardFrameEndUserInfoKey,
            base::Value::Dictionary { { "x", 0 }, { "y", 367 }, { "width", 375 }, { "height", 300 } } } });
    EXPECT_TRUE(navigator->isKeyboardOpen());
    EXPECT_EQ(navigator->thumbnailViewBottomConstraint()->constant(), -300);
    slideTo(*navigator, 0.5);
    EXPECT_EQ(navigator->sliderLabel()->frame().origin.y, 667 - 90 - 40 - 300);
    base::NotificationCenter::defaultCenter().post(ui::KeyboardWillHideNotification, nullptr, base::Value());
    EXPECT_FALSE(navigator->isKeyboardOpen());
    EXPECT_EQ(navigator->thumbnailViewBottomConstraint()->constant(), 0);
}

TEST_F(ThumbnailNavigatorTest, OnePageAndPagelessPositionsAreSafe)
{
    auto single = makeNavigator(thumbEpubData(1), 1, 0);
    EXPECT_EQ(single->slider()->value(), 0.0) << "no division by zero";
    slideTo(*single, 0.8);
    EXPECT_EQ(single->sliderLabel()->text(), "Page i");

    // More positions than pages: the last positions have no page and releasing there does nothing.
    auto sparse = makeNavigator(thumbEpubData(3), 20, 0);
    slideTo(*sparse, 1.0);
    EXPECT_EQ(sparse->sliderLabel()->text(), "Page ");
    sparse->sliderReleased();
    EXPECT_TRUE(m_delegate->events.empty());
}

TEST_F(ThumbnailNavigatorTest, HistoryButtonsKeepTheStatesGivenBeforeShowing)
{
    auto navigator = makeNavigator(thumbEpubData(3), 3, 0, true, false);
    EXPECT_EQ(navigator->prevButton()->alpha(), 1.0);
    EXPECT_EQ(navigator->nextButton()->alpha(), 0.5);
    EXPECT_FALSE(navigator->nextButton()->isUserInteractionEnabled());
    navigator->enableNextPageHistory(true);
    EXPECT_EQ(navigator->nextButton()->alpha(), 0.5) << "later calls only store the flag";
    ASSERT_TRUE(uitest::tap(*navigator->prevButton()));
    EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "navigatorBack" }));
}

TEST_F(ThumbnailNavigatorTest, GoToRemovesSpacesAndAlertsOnEmptyText)
{
    auto navigator = makeNavigator(thumbEpubData(11), 11, 0);
    uitest::showInWindow(navigator);
    auto& field = *navigator->gotoTextField();
    field.setText("I I");
    navigator->shouldReturn(field);
    EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "src:p1.xhtml" }));
    field.setText("");
    navigator->shouldReturn(field);
    auto alert = std::dynamic_pointer_cast<ui::AlertController>(navigator->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(), TOCConstants::localized("PLEASE_ENTER_PAGE_NUMBER_ALERT"));
    alert->tapActionWithTitle(TOCConstants::localized("OK"));
    base::RunLoop::main().advanceBy(1);
    uitest::showInWindow(nullptr);
}

} // namespace
} // namespace lectoro::contentstest
