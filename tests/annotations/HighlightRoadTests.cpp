// The highlight road: selection, storing with the book version under the whole user id,
// delete after asking, the hand-offs of the selected text, the immersive-reader token road
// and the colour migration through the store.

#include "AnnotationsTestSupport.h"

#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "companion/service/Transport.h"
#include "platform/testing/Interaction.h"

#include <filesystem>
#include <unistd.h>

namespace lectoro::annotationstest {
namespace {

class HighlightRoadTests : public AnnotationsTest {
protected:
    std::shared_ptr<SDKHighlightVO> selection(const std::string& text)
    {
        auto record = std::make_shared<SDKHighlightVO>();
        record->localID = "sel";
        record->text = text;
        record->pageIdentifier = "10";
        record->displayNum = "v";
        m_renderer->setHighlightForSelection(record);
        return record;
    }
};

TEST_F(HighlightRoadTests, ASelectionOpensThePopupOnlyWhenTheRendererDoes)
{
    road().initializeHighlight();
    m_renderer->setOpenHighlightViewAnswer(false);
    road().didHighlightTextWithHighlightSelectionRect({ { 20, 30 }, { 50, 10 } }, 10);
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);

    // The vertical slider hidden with the bars comes back beside the pop-up.
    auto slider = ui::View::create();
    m_host.sliderConstraint = slider->widthAnchor().constraintEqualToConstant(0);
    m_host.sliderConstraint->setConstant(-(4 + 10 + 15.0));
    m_host.rightInset = 4;
    m_renderer->setOpenHighlightViewAnswer(true);
    road().didHighlightTextWithHighlightSelectionRect({ { 20, 30 }, { 50, 10 } }, 10);
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeHighlightPopup);
    EXPECT_EQ(m_host.sliderConstraint->constant(), 4 + 30.0);
    auto opened = m_renderer->lastCall("openHighlightView");
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->arguments.at(1).asInteger(), 10);
    EXPECT_EQ(m_host.calls.front(), "stopVideo");

    road().didHighlightClosed();
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);
}

TEST_F(HighlightRoadTests, AFinishedHighlightIsStoredWithTheBookVersionUnderTheWholeUserID)
{
    auto record = selection("words");
    road().didHighlighCompleteWithHighlight(record);
    auto stored = m_store->highlightBookID("42", 5000000000);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->bookVersion, "3.1");
    // Read as 32 bits the id would be another user's.
    EXPECT_TRUE(m_store->highlightBookID("42", static_cast<int32_t>(5000000000LL)).empty());
    EXPECT_EQ(trackedNames(), std::vector<std::string>({ "NormHighlightCreated" }));
    EXPECT_EQ(m_host.calls.back(), "saveSession");

    record->status = UGCStatusDeleted;
    road().didHighlighCompleteWithHighlight(record);
    EXPECT_TRUE(m_store->highlightBookID("42", 5000000000).empty());
}

TEST_F(HighlightRoadTests, APlainHighlightGainingANoteSendsDeletedThenCreated)
{
    auto record = selection("words");
    road().didHighlighCompleteWithHighlight(record);
    m_analytics->tracked.clear();
    auto withNote = std::make_shared<SDKHighlightVO>(*record);
    withNote->noteText = "a note";
    m_context.activeMode = ReaderActiveModeNoteView;
    road().didHighlighCompleteWithHighlight(withNote);
    EXPECT_EQ(trackedNames(), std::vector<std::string>({ "NormHighlightDeleted", "NoteCreated" }));
    // A record finished while the note editor is open closes it.
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);
    EXPECT_NE(std::find(m_host.calls.begin(), m_host.calls.end(), "dismissNote"), m_host.calls.end());
}

TEST_F(HighlightRoadTests, DeleteAsksFirstAndOnlyYesDeletes)
{
    uitest::showInWindow(m_host.controller);
    selection("words");
    road().actionForHighlightDelete("#A1");
    ASSERT_TRUE(uitest::topmostAlert());
    ASSERT_TRUE(uitest::tapAction("No"));
    uitest::completePresentations();
    EXPECT_EQ(m_renderer->countOf("deleteSelectedHighlight"), 0u);

    road().actionForHighlightDelete("#A1");
    ASSERT_TRUE(uitest::tapAction("Yes"));
    uitest::completePresentations();
    EXPECT_EQ(m_renderer->countOf("deleteSelectedHighlight"), 1u);
}

TEST_F(HighlightRoadTests, SearchTakesTheSelectedTextButNotTwoCharactersOfAReflowableBook)
{
    selection("ab");
    road().actionForSearchTool();
    EXPECT_EQ(m_host.searches, std::vector<std::string>({ "ab" }));

    useReflowableBook();
    m_host.searches.clear();
    m_renderer->clearCalls();
    road().actionForSearchToolEpub();
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_renderer->countOf("removeHighlightView"), 1u);
    EXPECT_TRUE(m_host.searches.empty());

    selection("abc");
    road().actionForSearchToolEpub();
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_host.searches, std::vector<std::string>({ "abc" }));
}

TEST_F(HighlightRoadTests, AReflowableContextualNoteIsAskedInThePlainColour)
{
    useReflowableBook();
    selection("words");
    road().addContextualNoteWithTextColor("#C3");
    base::RunLoop::main().runUntilIdle();
    auto asked = m_renderer->lastCall("getHighlightForSelectedTextEpubWithTextColor");
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->arguments.at(0).asString(), "#FFFF00");
    EXPECT_EQ(m_host.notesOpened.size(), 1u);
}

TEST_F(HighlightRoadTests, TranslationNeedsTheNetworkAndTakesTheText)
{
    selection("Bonjour");
    m_network->online = false;
    road().showTranslationView();
    EXPECT_TRUE(m_host.translations.empty());
    ASSERT_EQ(m_host.alerts.size(), 1u);
    m_network->online = true;
    road().showTranslationView();
    EXPECT_EQ(m_host.translations, std::vector<std::string>({ "Bonjour" }));
}

TEST_F(HighlightRoadTests, ImmersiveReaderLaunchesWithTheTokenItWasGiven)
{
    selection("words");
    base::Value::Dictionary body;
    body.set("token", base::Value("tok"));
    body.set("subdomain", base::Value("sub"));
    service().setAutoAnswer(companion::ServiceAnswer::success(base::Value(std::move(body))));
    road().showImmersiveReader();
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_host.immersiveLaunches, std::vector<std::string>({ "tok|sub|words" }));
}

TEST_F(HighlightRoadTests, AnExpiredImmersiveReaderSessionIsRenewedOnceThenEnds)
{
    m_settings->setIsAutoLoginEnabled(true);
    service().setAutoAnswer(companion::ServiceAnswer::expiredToken());
    road().showImmersiveReaderWithString("words");
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_host.refreshes.size(), 1u);
    EXPECT_EQ(service().operations(),
        std::vector<std::string>({ companion::op::immersiveReaderToken, companion::op::immersiveReaderToken }));
    EXPECT_EQ(m_host.sessionExpired, 1);
    EXPECT_EQ(m_context.user->userToken, "token-renewed");
    EXPECT_TRUE(m_host.immersiveLaunches.empty());

    // Without automatic log-in the first expiry ends the road.
    m_settings->setIsAutoLoginEnabled(false);
    road().showImmersiveReaderWithString("words");
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_host.refreshes.size(), 1u);
    EXPECT_EQ(m_host.sessionExpired, 2);
}

TEST_F(HighlightRoadTests, MigrationRestoresUnofferedColoursInTheStore)
{
    auto stored = storedHighlight("1", "#ZZZZZZ");
    stored->isImportant = true;
    ASSERT_TRUE(m_store->saveHighlight(stored, "42", 5000000000).ok());
    storedHighlight("2", "#A1");
    road().migrateHighlightAndNoteColors();
    auto all = m_store->highlightBookID("42", 5000000000);
    ASSERT_EQ(all.size(), 2u);
    for (const auto& record : all) {
        if (record->localID == "1") {
            EXPECT_EQ(record->backgroundColor, "#B2");
            EXPECT_FALSE(record->isImportant);
            EXPECT_EQ(record->status, UGCStatusUpdated);
        } else {
            EXPECT_EQ(record->backgroundColor, "#A1");
        }
    }
}

// Each opening of a book runs the migration; it reads the book's highlights only on a store
// that may hold one of a colour the theme does not offer.
TEST_F(HighlightRoadTests, TheColourMigrationReadsTheHighlightsOncePerStoreUntilAnotherColourArrives)
{
    auto folder = std::filesystem::temp_directory_path() / ("lectoro-colour-migration-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::shared_ptr<companion::SqliteDatabaseManager> companionStore;
    auto openStore = [&] {
        m_store.reset();
        m_context.dbManager.reset();
        companionStore.reset();
        companionStore = companion::SqliteDatabaseManager::open(folder.string()).value();
        m_store = std::make_shared<ThreadNotingStore>(companionStore);
        m_context.dbManager = m_store;
    };
    auto colourOf = [&](const std::string& localID) {
        for (const auto& record : companionStore->highlightBookID("42", 5000000000)) {
            if (record->localID == localID)
                return record->backgroundColor.str();
        }
        return std::string("(none)");
    };

    openStore();
    storedHighlight("1", "#ZZZZZZ");
    storedHighlight("2", "#A1");
    road().migrateHighlightAndNoteColors();
    EXPECT_EQ(m_store->highlightListReads.load(), 1) << "the first opening";
    EXPECT_EQ(colourOf("1"), "#A1");

    // The next process: a new connection to the same file.
    openStore();
    road().migrateHighlightAndNoteColors();
    EXPECT_EQ(m_store->highlightListReads.load(), 0) << "the second opening";

    // Saving in an offered colour keeps what was remembered; the book's metadata never shows it.
    storedHighlight("3", "#C3");
    road().migrateHighlightAndNoteColors();
    EXPECT_EQ(m_store->highlightListReads.load(), 0);
    EXPECT_TRUE(m_store->getBookMetadataForbookID("42", 5000000000).asDictionary()->empty());

    // A highlight of another colour from the service is migrated at the next opening.
    auto fetched = std::make_shared<SDKHighlightVO>();
    fetched->ugcID = "900";
    fetched->localID = "from-service";
    fetched->text = "words";
    fetched->backgroundColor = "#QQQQQQ";
    ASSERT_TRUE(companionStore->storeFetchedUGC("42", 5000000000, { fetched }).ok());
    openStore();
    road().migrateHighlightAndNoteColors();
    EXPECT_EQ(m_store->highlightListReads.load(), 1);
    EXPECT_EQ(colourOf("from-service"), "#A1");

    // A theme offering other colours runs it again.
    setColours({ "#C3", "#D4" });
    road().migrateHighlightAndNoteColors();
    EXPECT_EQ(m_store->highlightListReads.load(), 2);
    EXPECT_EQ(colourOf("1"), "#C3");
    EXPECT_EQ(colourOf("3"), "#C3");
    road().migrateHighlightAndNoteColors();
    EXPECT_EQ(m_store->highlightListReads.load(), 2);

    m_store.reset();
    m_context.dbManager.reset();
    companionStore.reset();
    std::filesystem::remove_all(folder);
}

TEST_F(HighlightRoadTests, AStickyNoteWithoutAPlaceOpensNothing)
{
    road().showStickyNote();
    EXPECT_TRUE(m_host.notesOpened.empty());
    auto note = std::make_shared<SDKHighlightVO>();
    note->isStickyNote = true;
    m_renderer->setStickyNoteAnswer(note);
    road().showStickyNote();
    ASSERT_EQ(m_host.notesOpened.size(), 1u);
    EXPECT_EQ(m_host.notesOpened[0], note);
}

} // namespace
} // namespace lectoro::annotationstest
