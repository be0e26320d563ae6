#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/PhonePageSlider.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "companion/books/BookLoader.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/Label.h"
#include "platform/ui/Slider.h"

#include "ReaderTestSupport.h"

namespace lectoro {
namespace {

class NavigationTests : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        m_reader = ReaderViewController::create("/books/42", 42, makeUser("7"), "978", "https://api",
            "client", std::make_shared<MVReaderSettingModel>(), "1.0");
        m_reader->view();
        m_reader->readingSession().stopAnalyticsScheduledTimer();
        m_renderer = framework().lastRenderer();
    }

    void TearDown() override
    {
        m_reader.reset();
        ReaderTest::TearDown();
    }

    void open(const char* name)
    {
        auto loaded = companion::loadBook(std::string(LECTORO_SAMPLES_DIR) + "/books/" + name);
        ASSERT_TRUE(loaded.ok());
        m_book = loaded.value();
        m_renderer->loadBook(m_book, {});
    }

    RendererPage page(int64_t id) const
    {
        RendererPage result;
        auto book = std::dynamic_pointer_cast<PXBookVO>(m_book);
        result.pageID = id;
        if (book) {
            if (auto record = book->pageForPagenumber(id))
                result.displayNum = record->displayNum;
        } else {
            result.fileIndex = id;
            result.displayNum = std::to_string(id);
        }
        return result;
    }

    // Pages turned by the reader: they come on screen one after the other.
    void turnTo(std::initializer_list<int64_t> ids)
    {
        for (auto id : ids) {
            m_renderer->showPages({ page(id) });
            base::RunLoop::main().runUntilIdle();
        }
    }

    ReaderNavigation& navigation() { return m_reader->navigation(); }
    std::vector<std::string> history() { return navigation().history(); }

    std::shared_ptr<ReaderViewController> m_reader;
    std::shared_ptr<companion::testing::FakeRenderer> m_renderer;
    std::shared_ptr<LectoroBookVO> m_book;
};

TEST_F(NavigationTests, PageNumbersOfAPageBook)
{
    open("sample-pagebook");
    auto& nav = navigation();
    EXPECT_EQ(nav.getPageNumberForDisplayNumber("ii"), "102");
    EXPECT_EQ(nav.getPageNumberForDisplayNumber("3"), "105");
    // No such folio: unchanged (case and spaces count).
    EXPECT_EQ(nav.getPageNumberForDisplayNumber("II"), "II");
    EXPECT_EQ(nav.getPageNumberForDisplayNumber(" 3"), " 3");

    EXPECT_EQ(nav.getPageIDForDisplayNumber("1"), 103);
    // No match: the first page in book order, never a hash-order pick or 0.
    EXPECT_EQ(nav.getPageIDForDisplayNumber("xii"), 101);
    EXPECT_EQ(nav.getDisplayNumberForPageID("104"), "2");
    EXPECT_FALSE(nav.getDisplayNumberForPageID("999").has_value());

    auto total = nav.getTotalPagesArray();
    ASSERT_EQ(total.size(), 12u);
    EXPECT_EQ(total.front(), "101");
    EXPECT_EQ(total.back(), "112");
    EXPECT_EQ(nav.getTotalNoOfFolioPages(), "10");
    auto folios = nav.getFolioPagesForIphoneSlider();
    ASSERT_EQ(folios.size(), 12u);
    EXPECT_EQ(folios.front(), "i");
    ASSERT_TRUE(nav.pageDataForSliderDict());
    EXPECT_EQ(nav.pageDataForSliderDict()->at("4"), "Clouds and Rain");

    m_renderer->setActivePages({ page(105), page(106) });
    EXPECT_EQ(nav.activePagesInfoText(), "Page 3-4 of 10");
    m_renderer->setActivePages({});
    EXPECT_EQ(nav.activePagesInfoText(), "Page  of 10");
}

TEST_F(NavigationTests, PageNumbersOfOtherBooks)
{
    open("sample-reflowable-epub");
    auto& nav = navigation();
    EXPECT_EQ(nav.getPageNumberForDisplayNumber("3"), "3");
    EXPECT_EQ(nav.getDisplayNumberForPageID("17"), "17");
    EXPECT_TRUE(nav.getFolioPagesForIphoneSlider().empty());
    EXPECT_FALSE(nav.pageDataForSliderDict());
    EXPECT_EQ(nav.getTotalPagesArray().size(), 6u);
    EXPECT_FALSE(nav.activePagesInfoText());
    std::dynamic_pointer_cast<EPUBBookVO>(m_book)->meta.layout = 2;
    EXPECT_TRUE(nav.getTotalPagesArray().empty());
    EXPECT_FALSE(nav.getEpubChapterForIndex(4));
    EXPECT_FALSE(nav.getEpubChapterForIndex(-1));
    EXPECT_TRUE(nav.getEpubChapterForIndex(3));
}

TEST_F(NavigationTests, HistoryOfTurnedPages)
{
    open("sample-pagebook");
    turnTo({ 101, 102, 103, 102 });
    EXPECT_EQ(history(), (std::vector<std::string> { "101", "102", "103", "102" }));
    EXPECT_EQ(navigation().currentHistoryPageIndex(), 3);

    // Recording the current entry again changes nothing.
    navigation().addPageIntoPageHistoryArray("102");
    EXPECT_EQ(history().size(), 4u);
}

TEST_F(NavigationTests, BackTwiceThenAJumpAppendsAtTheEnd)
{
    open("sample-pagebook");
    turnTo({ 101, 102, 103 });
    navigation().didClickPreviousHistoryButtonWithCurrentPageNumber();
    turnTo({ 102 });
    navigation().didClickPreviousHistoryButtonWithCurrentPageNumber();
    turnTo({ 101 });
    EXPECT_EQ(navigation().currentHistoryPageIndex(), 0);
    EXPECT_EQ(history().size(), 3u);
    // The thumbnail panel asks for its buttons when it opens again.
    navigation().enableHistoryButtons();
    EXPECT_TRUE(m_reader->contents().nextPageHistoryEnabled());
    EXPECT_FALSE(m_reader->contents().previousPageHistoryEnabled());

    // A page chosen from the thumbnails goes to the end and becomes current.
    navigation().addPageIntoPageHistoryArray("108");
    EXPECT_EQ(history(), (std::vector<std::string> { "101", "102", "103", "108" }));
    EXPECT_EQ(navigation().currentHistoryPageIndex(), 3);
    EXPECT_TRUE(m_reader->contents().previousPageHistoryEnabled());
    EXPECT_FALSE(m_reader->contents().nextPageHistoryEnabled());

    // At either end the buttons do nothing.
    navigation().didClickNextHistoryButtonWithCurrentPageNumber();
    EXPECT_EQ(navigation().currentHistoryPageIndex(), 3);
}

TEST_F(NavigationTests, HistoryButtons)
{
    struct Case {
        std::vector<std::string> entries;
        int32_t index;
        bool previous;
        bool next;
    };
    const Case cases[] = {
        { {}, 0, false, false },
        { { "1" }, 0, false, false },
        { { "1", "2" }, 1, true, false },
        { { "1", "2" }, 0, false, true },
        { { "1", "2", "3" }, 1, true, true },
    };
    open("sample-pagebook");
    for (const auto& c : cases) {
        m_reader->context().navigationHistoryPagesArray = c.entries;
        m_reader->context().currentHistoryPageIndex = c.index;
        navigation().enableHistoryButtons();
        EXPECT_EQ(m_reader->contents().previousPageHistoryEnabled(), c.previous)
            << c.entries.size() << "/" << c.index;
        EXPECT_EQ(m_reader->contents().nextPageHistoryEnabled(), c.next)
            << c.entries.size() << "/" << c.index;
    }
}

TEST_F(NavigationTests, GoingToADisplayNumber)
{
    open("sample-pagebook");
    turnTo({ 101 });
    m_renderer->clearCalls();

    // An unknown folio leaves everything as it was.
    m_reader->setActiveMode(ReaderActiveModeContents);
    navigation().navigateTopage("xl");
    EXPECT_EQ(history().size(), 1u);
    EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeContents);

    navigation().navigateTopage("5");
    EXPECT_EQ(history().back(), "107");
    EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeNone);
    auto moved = m_renderer->lastCall("navigateToPageNumber");
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->arguments.at(0).asString(), "107");
    // The pages the jump brings are not recorded.
    turnTo({ 107 });
    EXPECT_EQ(history().size(), 2u);
    EXPECT_TRUE(m_reader->context().isPageNavigateByScroll);

    // Outside My Data and the contents panel, the renderer is not moved.
    m_renderer->clearCalls();
    navigation().navigateTopage("6");
    EXPECT_EQ(m_renderer->countOf("navigateToPageNumber"), 0u);

    navigation().navigateToPageWithPageId("null");
    EXPECT_EQ(history().back(), "108");
}

TEST_F(NavigationTests, SpreadsAreRecordedByTheirFirstPage)
{
    open("sample-pagebook");
    m_renderer->showPages({ page(103), page(104) });
    EXPECT_TRUE(history().empty());
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_EQ(history(), std::vector<std::string> { "103" });
    m_renderer->showPages({ page(105), page(106) });
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_EQ(history(), (std::vector<std::string> { "103", "105" }));

    // Back from the spread 105-106, which is recorded at index 1: to 103, the entry before.
    m_renderer->clearCalls();
    navigation().didClickPreviousHistoryButtonWithCurrentPageNumber();
    EXPECT_EQ(navigation().currentHistoryPageIndex(), 0);
    EXPECT_EQ(m_renderer->lastCall("navigateToPageNumber")->arguments.at(0).asString(), "103");
}

TEST_F(NavigationTests, FixedLayoutEpubHistoryUsesHrefs)
{
    open("sample-fixed-epub");
    turnTo({ 0, 1, 2 });
    EXPECT_EQ(history(),
        (std::vector<std::string> { "pages/cover.xhtml", "pages/page-1.xhtml", "pages/page-2.xhtml" }));
    EXPECT_EQ(navigation().getConvertedPageNumberForHistory("3"), "pages/page-3.xhtml");
    EXPECT_EQ(navigation().getConvertedPageNumberForHistory("99"), "99");
    EXPECT_TRUE(navigation().isNavigatedPageValid("pages/page-3.xhtml#top"));
    EXPECT_FALSE(navigation().isNavigatedPageValid("pages/page-9.xhtml"));
}

TEST_F(NavigationTests, RestoringAPosition)
{
    open("sample-pagebook");
    m_renderer->clearCalls();
    navigation().navigateToPageNumber("4");
    EXPECT_EQ(m_renderer->lastCall("navigateToPageNumber")->arguments.at(0).asString(), "106");

    open("sample-reflowable-epub");
    m_renderer->clearCalls();
    m_reader->setLastPageFolio(std::string("kept"));
    navigation().navigateToPageNumber(R"({"chapterid":"2","page":"3","positionIdentifier":"/6/6!/4"})");
    EXPECT_EQ(m_renderer->countOf("navigateToPageNumber"), 0u);
    base::RunLoop::main().advanceBy(0.1);
    EXPECT_EQ(
        m_renderer->lastCall("navigateToPageNumber")->arguments.at(0).asString(), "text/chapter-3.xhtml");
    EXPECT_EQ(m_renderer->lastCall("jumpToCFIString")->arguments.at(0).asString(), "/6/6!/4");
    EXPECT_FALSE(m_reader->lastPageFolio().has_value());

    // Text that is not a position goes nowhere.
    m_renderer->clearCalls();
    navigation().navigateToPageNumber("not json");
    base::RunLoop::main().advanceBy(0.1);
    EXPECT_TRUE(m_renderer->calls().empty());
}

} // namespace
} // namespace lectoro

namespace lectoro {
namespace {

using PhonePageSliderTests = NavigationTests;

TEST_F(PhonePageSliderTests, PreviewAndJumpAtEitherEnd)
{
    open("sample-pagebook");
    auto& phoneSlider = m_reader->phonePageSlider();
    auto item = phoneSlider.getPlayerItemForIphoneSlider();
    EXPECT_EQ(item->tag(), PhonePageSlider::itemTag);
    auto slider = phoneSlider.pageSliderForiPhoneBottomBar();
    ASSERT_TRUE(slider);
    EXPECT_EQ(slider->superview(), item);
    EXPECT_EQ(slider->minimumValue(), 1.0);
    EXPECT_EQ(slider->maximumValue(), 12.0);
    EXPECT_TRUE(slider->isEnabled());

    struct Case {
        double value;
        const char* pageText;
        const char* chapter;
        const char* target;
    };
    for (auto c : { Case { 1.0, "Page: i/10", "Before We Begin", "101" },
             Case { 12.0, "Page: 10/10", "The Sea", "112" },
             Case { 5.7, "Page: 3/10", "Clouds and Rain", "105" } }) {
        slider->setValue(c.value);
        uitest::fire(*slider, ui::ControlEvent::ValueChanged);
        auto preview = phoneSlider.sliderPageDetailsView();
        ASSERT_TRUE(preview);
        EXPECT_EQ(preview->superview(), m_reader->view());
        EXPECT_EQ(preview->frame().size, (ui::Size { 280, 120 }));
        EXPECT_EQ(phoneSlider.sliderPageNumberLabel()->text(), c.pageText);
        EXPECT_EQ(phoneSlider.sliderChapterNameLabel()->text(),
            LocalizationHelper::localizedStringWithKey("CHAPTER_KEY") + " :" + c.chapter);

        m_renderer->clearCalls();
        uitest::fire(*slider, ui::ControlEvent::TouchUpInside);
        EXPECT_FALSE(phoneSlider.sliderPageDetailsView());
        EXPECT_FALSE(preview->superview());
        EXPECT_EQ(m_renderer->lastCall("navigateToPageNumber")->arguments.at(0).asString(), c.target);
    }
}

TEST_F(PhonePageSliderTests, OtherBooksHaveNoPagesToSlideThrough)
{
    open("sample-reflowable-epub");
    auto& phoneSlider = m_reader->phonePageSlider();
    phoneSlider.getPlayerItemForIphoneSlider();
    auto slider = phoneSlider.pageSliderForiPhoneBottomBar();
    EXPECT_FALSE(slider->isEnabled());
    slider->setValue(1);
    uitest::fire(*slider, ui::ControlEvent::ValueChanged);
    EXPECT_FALSE(phoneSlider.sliderPageDetailsView());
}

} // namespace
} // namespace lectoro
