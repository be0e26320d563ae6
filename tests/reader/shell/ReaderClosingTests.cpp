#include "ShellTestSupport.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "companion/store/SqliteDatabaseManager.h"

namespace lectoro::shelltest {
namespace {

class ReaderShellClosing : public ShellTest {
protected:
    void storeUnsyncedHighlight()
    {
        auto highlight = std::make_shared<SDKHighlightVO>();
        highlight->pageIdentifier = "103";
        highlight->text = "water";
        framework().store()->saveHighlight(highlight, "42", 7);
    }

    void storeUnsyncedSharingLists()
    {
        auto info = std::make_shared<SDKBookClassInfoVO>();
        info->classId = "c1";
        info->userId = 7;
        framework().store()->saveBookClassInfo("42", 7, { info });
        framework().store()->saveSharedReceivedInfo(
            base::Value::Dictionary { { "shareList", base::Value::List { 12 } } }, "42", 7);
    }
};

TEST_F(ReaderShellClosing, BackButtonTellsOfUnsyncedNotesBeforeItCloses)
{
    struct Case {
        bool highlight;
        bool sharing;
        const char* expected;
    };
    const Case cases[] = {
        { false, false, "checkUgc:NO" },
        { true, false, "checkUgc:YES" },
        // Only collaboration data waiting counts as well.
        { false, true, "checkUgc:YES" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        TearDown();
        SetUp();
        if (c.highlight)
            storeUnsyncedHighlight();
        if (c.sharing)
            storeUnsyncedSharingLists();
        makeReader();
        m_reader->setLastPageFolio(std::string("4"));
        m_reader->didTapOnBackButton();
        EXPECT_EQ(m_delegate->events, (std::vector<std::string> { c.expected, "close:42:4" }));
    }
}

TEST_F(ReaderShellClosing, SignOutClosesWithoutLookingForUnsyncedNotes)
{
    storeUnsyncedHighlight();
    makeReader();
    m_reader->signOutAction();
    EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "close:42:nil" }));
}

TEST_F(ReaderShellClosing, AnExpiredSessionSignsTheUserOutAndClosesAsForced)
{
    makeReader();
    m_reader->setLastPageFolio(std::string("ii"));
    m_reader->closeReaderForSessionExpiry();
    EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "signOut:7", "close:42:ii:forced" }));

    // Without a user nobody is signed out, and the reader still closes.
    m_user = nullptr;
    m_delegate->events.clear();
    makeReader();
    m_reader->closeReaderForSessionExpiry();
    EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "close:42:nil:forced" }));
}

TEST_F(ReaderShellClosing, ClearingReleasesTheBookAndDropsWorkOnItsWay)
{
    makeReader();
    helpAlreadySeen();
    m_reader->setJumpToPageId("4");
    m_renderer->loadBook(sample("sample-pagebook"), {});
    m_reader->startActivityIndicator();
    m_reader->uninitializeReader();
    EXPECT_TRUE(m_reader->isCleared());
    EXPECT_FALSE(m_reader->currentBook());
    EXPECT_FALSE(m_reader->rendererView());
    EXPECT_FALSE(m_reader->activityBox());
    EXPECT_FALSE(m_reader->context().playerTopActionBarView);
    EXPECT_TRUE(m_renderer->isCleared());
    m_renderer->clearCalls();
    // The jump due 0.3 s after the load does not run on a cleared reader.
    base::RunLoop::main().advanceBy(1);
    EXPECT_EQ(m_renderer->countOf("navigateToPageNumber"), 0u);
}

} // namespace
} // namespace lectoro::shelltest
