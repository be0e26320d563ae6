// My Data as the reader opens it: the sample page book, the records in the real store,
// an answer to a received note through the sync client, and the refresh that follows.

#include "mydata/MyDataTestSupport.h"
#include "reader/shell/ShellTestSupport.h"

#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/reader/ReaderActiveMode.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Presentation.h"

#include <gmock/gmock.h>

namespace lectoro::shelltest {
namespace {

using mydatatest::localIDs;
using mydatatest::record;
using ::testing::ElementsAre;

class ReaderMyDataTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        mydatatest::enableMyDataSettings(*m_settings);
        // No class is stored, so the book offers no sharing whatever the switch says.
    }

    void openSampleBook()
    {
        makeReader();
        helpAlreadySeen();
        m_renderer->loadBook(sample("sample-pagebook"), { pageBookPage(103, "1") });
        base::RunLoop::main().advanceBy(1);
        closeOfferedReadAloudChooser();
        uitest::showInWindow(m_reader);
    }

    void store(const std::shared_ptr<SDKHighlightVO>& r)
    {
        ASSERT_TRUE(framework().store()->saveHighlight(r, "42", 7).ok());
    }

    std::shared_ptr<LXMyDataViewController> openMyData()
    {
        m_reader->didTapOnMyDataButton();
        base::RunLoop::main().advanceBy(1);
        auto panel = m_reader->myData().myDataViewController();
        if (panel) {
            panel->view()->layoutIfNeeded();
            base::RunLoop::main().runUntilIdle();
        }
        return panel;
    }

    mydatatest::MyDataNetworkScope m_network;
};

TEST_F(ReaderMyDataTest, OpensOverTheReaderWithTheStoredRecords)
{
    struct Case {
        ui::UserInterfaceIdiom idiom;
        ui::ModalPresentationStyle style;
        bool animated;
    };
    for (auto c :
        { Case { ui::UserInterfaceIdiom::Pad, ui::ModalPresentationStyle::OverCurrentContext, false },
            Case { ui::UserInterfaceIdiom::Phone, ui::ModalPresentationStyle::OverFullScreen, true } }) {
        ui::Environment::current().setIdiom(c.idiom);
        openSampleBook();
        store(record({ .localID = "h1" }));
        store(record({ .localID = "n1", .noteText = "mine" }));
        auto panel = openMyData();
        ASSERT_TRUE(panel);
        EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeMyData);
        const auto* presented = ui::Presenter::shared().lastPresented();
        ASSERT_TRUE(presented);
        EXPECT_EQ(presented->presentedClassName, "NavigationController");
        EXPECT_EQ(presented->style, c.style);
        EXPECT_EQ(presented->animated, c.animated);
        EXPECT_THAT(localIDs(panel->dataArray()), ElementsAre("h1"));
        // Without a class the book offers no sharing: no share settings, no received notes.
        EXPECT_EQ(panel->shareSettingWidthConstraint()->constant(), 0);

        panel->backButtonTapped();
        base::RunLoop::main().advanceBy(1);
        EXPECT_EQ(m_reader->activeMode(), m_reader->backgroundActiveMode());
        EXPECT_FALSE(m_reader->presentedViewController());
        m_reader.reset();
    }
}

TEST_F(ReaderMyDataTest, ARowTapMovesTheReaderToItsPage)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Phone);
    openSampleBook();
    auto highlight = record({ .localID = "h1" });
    highlight->displayNum = "3";
    store(highlight);
    auto panel = openMyData();
    ASSERT_TRUE(panel);
    m_renderer->clearCalls();
    ASSERT_TRUE(uitest::tapRow(*panel->tableView(), { 0, 0 }));
    base::RunLoop::main().advanceBy(1);
    EXPECT_FALSE(m_reader->presentedViewController());
    auto moved = m_renderer->lastCall("navigateToPageNumber");
    ASSERT_TRUE(moved);
}

TEST_F(ReaderMyDataTest, AnAcceptedNoteReachesTheServiceAndTheRefreshedList)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    openSampleBook();
    answerPending("", companion::ServiceAnswer::success());
    store(record({ .localID = "n1", .noteText = "mine" }));
    store(record(
        { .localID = "r1", .ugcID = "900", .noteText = "theirs", .received = true, .answered = false }));
    auto panel = openMyData();
    ASSERT_TRUE(panel);
    ASSERT_THAT(localIDs(panel->dataWithAllRequest()), ElementsAre("r1"));
    panel->notificationButtonAction();
    base::RunLoop::main().runUntilIdle();
    ASSERT_EQ(panel->selectedSegment(), MyDataSegmentReceived);

    panel->didTapOnAcceptButton("900");
    base::RunLoop::main().runUntilIdle();
    ASSERT_EQ(requestsNamed("collab.answer"), 1u);
    answerPending("collab.answer", companion::ServiceAnswer::success());
    base::RunLoop::main().advanceBy(1);

    // The store holds the answer and the panel took the records again.
    EXPECT_TRUE(panel->dataWithAllRequest().empty());
    EXPECT_EQ(panel->selectedSegment(), MyDataSegmentNotes);
    panel->filterData();
    EXPECT_THAT(localIDs(panel->dataArray()), ElementsAre("n1", "r1"));
}

} // namespace
} // namespace lectoro::shelltest
