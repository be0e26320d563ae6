// Teacher review's further operations inside the reader: the bars of other layouts, the
// page questions about the learner's work, the reader's own records drawn again, the
// clear-all dialog's presentation, and the review as the learner panel's delegate.

#include "teacherreview/ReaderTeacherReviewTestSupport.h"

#include "platform/ui/Environment.h"
#include "LectoroSDKWithReader/annotations/pen/ResetAllViewController.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewDelegate.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Presentation.h"

namespace lectoro {
namespace {

using reviewtest::page;
using reviewtest::ReaderTeacherReviewTest;

class ReviewOperationsTest : public ReaderTeacherReviewTest {
protected:
    bool dimmed(int tag)
    {
        auto item = m_reader->bars().getPenToolItemWithTag(tag);
        return item && item->alpha() == 0.5 && !item->isUserInteractionEnabled();
    }
};

TEST_F(ReviewOperationsTest, FurtherBarBuildersFillTheirBarAndDimTheirItems)
{
    struct Case {
        const char* name;
        chrometest::Device device;
        void (ReaderTeacherReview::*build)();
        bool top;
        double borderWidth;
        std::vector<int> dimmedOnOnePage;
        // Work on a second page lets the next-page item be used.
        std::vector<int> dimmedOnTwoPages;
    };
    const Case cases[] = {
        { "phone top", chrometest::Device::Phone, &ReaderTeacherReview::addTeacherAnnotaionTopBarViewForIPhone, true, 1.0,
            { PlayerItemPreviousPage, PlayerItemNextPage }, { PlayerItemPreviousPage } },
        { "phone bottom", chrometest::Device::Phone, &ReaderTeacherReview::addTeacherAnnotaionBottomBarViewForIPhone, false,
            1.0, { PlayerItemTeacherUndo }, { PlayerItemTeacherUndo } },
        { "tablet top", chrometest::Device::Pad, &ReaderTeacherReview::addTeacherAnnotaionTopBarViewForIPad, true, 0.4,
            { PlayerItemTeacherUndo, PlayerItemTeacherThumbnail, PlayerItemPreviousPage, PlayerItemNextPage },
            { PlayerItemTeacherUndo, PlayerItemTeacherThumbnail, PlayerItemPreviousPage } },
    };
    for (const auto& c : cases) {
        for (bool twoPages : { false, true }) {
            SCOPED_TRACE(std::string(c.name) + (twoPages ? ", two pages" : ", one page"));
            useDevice(c.device);
            auto panel = reviewAdaWithKnownWork();
            ASSERT_TRUE(panel);
            if (twoPages)
                (*panel->studentPageUGCDictionary)["9"] = {};
            const auto before = c.top ? context().penToolActionBarView : context().penToolActionBottomBarView;
            (review().*c.build)();
            const auto bar = c.top ? context().penToolActionBarView : context().penToolActionBottomBarView;
            ASSERT_TRUE(bar);
            EXPECT_NE(bar, before) << "a new bar in the slot";
            EXPECT_FALSE(before->superview()) << "the one it replaced left the reader";
            EXPECT_EQ(bar->superview(), readerView());
            EXPECT_EQ(bar->tag(), TeacherBar);
            EXPECT_DOUBLE_EQ(bar->layer()->borderWidth(), c.borderWidth);
            EXPECT_DOUBLE_EQ(bar->layer()->shadowOpacity(), 0.6);
            base::RunLoop::main().advanceBy(0.6);
            const auto& vertical = c.top ? review().topConstOfTeacherReview() : review().bottomConstOfTeacherReview();
            EXPECT_DOUBLE_EQ(vertical->constant(), c.top ? -0.4 : 0.4) << "slid in";
            for (int tag : twoPages ? c.dimmedOnTwoPages : c.dimmedOnOnePage)
                EXPECT_TRUE(dimmed(tag)) << tag;
            if (twoPages && c.top) {
                EXPECT_FALSE(dimmed(PlayerItemNextPage));
            }
            review().removeTeacherAnnotation();
            base::RunLoop::main().advanceBy(0.5);
        }
    }
}

TEST_F(ReviewOperationsTest, ThePhoneBarsCarryTheLearnerThePagesAndThePenColours)
{
    m_theme->setTeacherSettings_pen1_color(ui::Color::fromRGB255(0xAA, 0, 0));
    m_theme->setTeacherSettings_pen2_color(ui::Color::fromRGB255(0, 0xBB, 0));
    auto panel = reviewAdaWithKnownWork();
    ASSERT_TRUE(panel);
    review().addTeacherAnnotaionTopBarViewForIPhone();
    auto top = context().penToolActionBarView;
    ASSERT_TRUE(top);
    EXPECT_TRUE(uitest::findLabelWithText(top, "Ada Fennick"));
    EXPECT_TRUE(top->itemWithTag(PlayerItemPreviousPage));
    EXPECT_TRUE(top->itemWithTag(PlayerItemNextPage));

    review().addTeacherAnnotaionBottomBarViewForIPhone();
    auto bottom = context().penToolActionBottomBarView;
    ASSERT_TRUE(bottom);
    // The theme's two review pens, each a swatch carrying its colour, the second first.
    std::vector<std::string> swatches;
    for (const auto& item : bottom->getTappableItems()) {
        if (item->tag() == PlayerItemPenColorSwatch)
            swatches.push_back(item->metaData()["penColor"].asString().value_or("?"));
    }
    EXPECT_EQ(swatches, (std::vector<std::string> { "#00BB00", "#AA0000" }));
}

TEST_F(ReviewOperationsTest, PageQuestionsAboutTheLearnersWork)
{
    // The page label and buttons have room on a tablet's review bar, not on an upright phone's.
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    ui::Environment::current().setScreenSize({ 768, 1024 });
    ASSERT_TRUE(reviewAdaWithKnownWork());
    struct Case {
        std::vector<RendererPage> shown;
        bool holdsWork;
        std::optional<std::string> pageWithWork;
    };
    const Case cases[] = {
        { { page(10), page(11) }, true, std::nullopt },
        { { page(10) }, false, std::nullopt },
        { { page(7) }, true, "7" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown.front().pageID);
        m_renderer->setActivePages(c.shown);
        review().updateTeacherReviewUI();
        EXPECT_EQ(review().isLoadedPageContainsUGC(), c.holdsWork);
        EXPECT_EQ(review().getNextPageNumberToNavigateWithUGC(), c.pageWithWork);
    }
    // Without the review bar there is no page label to read.
    review().removeTeacherAnnotation();
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_EQ(review().getNextPageNumberToNavigateWithUGC(), std::nullopt);
}

TEST_F(ReviewOperationsTest, TheReadersOwnRecordsOfThePagesOnScreenAreHandedToTheRendererAgain)
{
    auto highlight = std::make_shared<SDKHighlightVO>();
    highlight->localID = "h-10";
    highlight->pageIdentifier = "10";
    highlight->displayNum = "10";
    highlight->text = "rain";
    ASSERT_TRUE(framework().store()->saveHighlight(highlight, "42", 7).ok());
    m_renderer->setActivePages({ page(10), page(11) });

    m_renderer->clearCalls();
    review().updateUGCForBook(43);
    EXPECT_TRUE(m_renderer->callsNamed("updateUGC").empty()) << "another book";

    review().updateUGCForBook(42);
    auto calls = m_renderer->callsNamed("updateUGC");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].arguments.at(1), base::Value(int64_t { 10 }));
    ASSERT_EQ(calls[0].arguments.at(0).count(), 1u);
    EXPECT_EQ(*calls[0].arguments.at(0).at(0)["localID"].asString(), "h-10");
    EXPECT_EQ(calls[1].arguments.at(1), base::Value(int64_t { 11 }));
    EXPECT_EQ(calls[1].arguments.at(0).count(), 0u);
}

TEST_F(ReviewOperationsTest, TheClearAllDialogStandsOverTheReaderWithoutAnArrow)
{
    ASSERT_TRUE(reviewAdaWithKnownWork());
    review().didSelectDeleteForTeacherReview();
    uitest::completePresentations();
    auto navigation = std::dynamic_pointer_cast<ui::NavigationController>(m_reader->presentedViewController());
    ASSERT_TRUE(navigation);
    EXPECT_TRUE(std::dynamic_pointer_cast<ResetAllViewController>(navigation->rootViewController()));
    EXPECT_EQ(navigation->modalPresentationStyle(), ui::ModalPresentationStyle::OverCurrentContext);
    auto* popover = navigation->popoverPresentationController();
    ASSERT_TRUE(popover);
    EXPECT_EQ(popover->permittedArrowDirections(), ui::PopoverArrowDirection::None);
    EXPECT_EQ(popover->sourceView(), readerView());
}

TEST_F(ReviewOperationsTest, TheLearnerPanelHoldsTheReviewAsItsDelegateOnlyWhileTheReaderLives)
{
    auto panel = openClass(0);
    ASSERT_TRUE(panel);
    ASSERT_TRUE(panel->delegate());
    // The panel stands over the page: the page takes no touches until it leaves.
    EXPECT_FALSE(m_renderer->view()->isUserInteractionEnabled());
    panel->delegate()->didStudentPopUpOpen(false);
    EXPECT_TRUE(m_renderer->view()->isUserInteractionEnabled());

    m_reader->dismissViewControllerAnimated(false);
    settle();
    uitest::showInWindow(ui::ViewController::create());
    m_reader.reset();
    EXPECT_FALSE(panel->delegate());
}

} // namespace
} // namespace lectoro
