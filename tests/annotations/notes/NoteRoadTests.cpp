#include "annotations/AnnotationsTestSupport.h"

#include "LectoroSDKWithReader/annotations/notes/NoteRoad.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManager.h"
#include "companion/service/Transport.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

namespace lectoro::annotationstest {
namespace {

std::shared_ptr<SDKBookClassInfoVO> noteRoadClass(const std::string& id)
{
    auto info = std::make_shared<SDKBookClassInfoVO>();
    info->classId = id;
    info->classTitle = "Class " + id;
    info->userId = 5000000000;
    return info;
}

class NoteRoadTest : public AnnotationsTest {
protected:
    void SetUp() override
    {
        AnnotationsTest::SetUp();
        auto store = companion::SqliteDatabaseManager::openInMemory();
        ASSERT_TRUE(store.ok());
        m_sqlite = store.value();
        m_context.dbManager = m_sqlite;
        m_context.dataSyncManager = framework().makeDataSyncingManager("https://api", "client");
        m_settings->setIsSharingEnabled(true);
        uitest::showInWindow(m_host.controller);
        m_noteRoad = std::make_unique<NoteRoad>(m_context, m_host);
    }

    void TearDown() override
    {
        m_noteRoad.reset();
        AnnotationsTest::TearDown();
    }

    std::shared_ptr<SDKHighlightVO> note(const std::string& text)
    {
        auto record = std::make_shared<SDKHighlightVO>();
        record->localID = "n7";
        record->ugcID = "u7";
        record->displayNum = "12";
        record->pageIdentifier = "10";
        record->text = "passage";
        record->noteText = text;
        record->backgroundColor = "#B2";
        return record;
    }

    void withClasses()
    {
        ASSERT_TRUE(m_sqlite->saveBookClassInfo("42", 5000000000, { noteRoadClass("c1") }).ok());
    }

    std::vector<std::string> rendererCalls() const
    {
        std::vector<std::string> names;
        for (const auto& call : m_renderer->calls())
            names.push_back(call.name);
        return names;
    }

    std::shared_ptr<companion::SqliteDatabaseManager> m_sqlite;
    std::unique_ptr<NoteRoad> m_noteRoad;
};

TEST_F(NoteRoadTest, OpeningPresentsANewEditorInNoteModeAndClosesTheGlossaryFirst)
{
    m_context.activeMode = ReaderActiveModeGlossary;
    auto record = note("words");
    m_noteRoad->showNotesForHighlight(record, false);
    uitest::completePresentations();
    auto first = m_noteRoad->noteController();
    ASSERT_TRUE(first);
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNoteView);
    EXPECT_EQ(m_host.controller->presentedViewController(), first);
    EXPECT_EQ(first->currentHighlightVO(), record);
    // No class for the book: no header share button.
    EXPECT_EQ(first->sharedButtonWidthConstraint()->constant(), 0.0);

    first->dismissViewControllerAnimated(false);
    uitest::completePresentations();
    withClasses();
    m_noteRoad->showNotesForHighlight(record, false);
    uitest::completePresentations();
    EXPECT_NE(m_noteRoad->noteController(), first);
    EXPECT_EQ(m_noteRoad->noteController()->sharedButtonWidthConstraint()->constant(), 50.0);
}

TEST_F(NoteRoadTest, PostSendsTheLiveEventAndHandsTheNoteToTheRenderer)
{
    m_context.backgroundActiveMode = ReaderActiveModeNone;
    auto sticky = note("words");
    sticky->isStickyNote = true;
    m_noteRoad->didTapOnPostNote(sticky);
    m_noteRoad->didTapOnPostNote(note("more"));
    ASSERT_EQ(m_analytics->live.size(), 2u);
    EXPECT_EQ(m_analytics->live[0].name, "sticky_note_data_live");
    EXPECT_EQ(m_analytics->live[0].info["note_color"].asString(), "#B2");
    EXPECT_EQ(m_analytics->live[1].name, "contextual_note_data_live");
    EXPECT_EQ(
        rendererCalls(), (std::vector<std::string> { "postNoteWithHighlightVO", "postNoteWithHighlightVO" }));
}

TEST_F(NoteRoadTest, CancelRedrawsOnAPhoneOnlyAndDeleteRedrawsEverywhere)
{
    for (auto idiom : { ui::UserInterfaceIdiom::Phone, ui::UserInterfaceIdiom::Pad }) {
        ui::Environment::current().setIdiom(idiom);
        m_renderer->clearCalls();
        m_noteRoad->didTapOnCancelNote(note("a"));
        const bool phone = idiom == ui::UserInterfaceIdiom::Phone;
        EXPECT_EQ(rendererCalls(),
            phone ? std::vector<std::string> { "reloadPages" } : std::vector<std::string> {});

        m_renderer->clearCalls();
        auto record = note("b");
        m_noteRoad->didTapOnDeleteNote(record);
        EXPECT_EQ(record->status, UGCStatusDeleted);
        EXPECT_FALSE(record->isSynced);
        EXPECT_EQ(rendererCalls(), (std::vector<std::string> { "deleteNoteWithHighlightVO", "reloadPages" }));
    }
}

// Back calls none of the editor's blocks; the reader must still leave the note's mode, or
// its page taps stop bringing the bars. A note opened over a note being left keeps its mode.
TEST_F(NoteRoadTest, LeavingWithBackEndsTheNoteModeButNotThatOfTheNextNote)
{
    for (auto idiom : { ui::UserInterfaceIdiom::Phone, ui::UserInterfaceIdiom::Pad }) {
        ui::Environment::current().setIdiom(idiom);
        m_context.backgroundActiveMode = ReaderActiveModeMyData;
        auto received = note("shared with me");
        received->isReceived = true;
        m_noteRoad->showNotesForHighlight(received, false);
        uitest::completePresentations();
        auto editor = m_noteRoad->noteController();
        ASSERT_TRUE(editor);
        ASSERT_EQ(m_context.activeMode, ReaderActiveModeNoteView);
        m_host.calls.clear();
        ASSERT_TRUE(uitest::tap(*editor->backButton()));
        uitest::completePresentations();
        EXPECT_FALSE(editor->presentingViewController());
        EXPECT_EQ(m_context.activeMode, ReaderActiveModeMyData);
        EXPECT_EQ(m_host.calls, std::vector<std::string> { "resetBars" });
    }

    m_noteRoad->showNotesForHighlight(note("first"), false);
    uitest::completePresentations();
    auto first = m_noteRoad->noteController();
    m_noteRoad->showNotesForHighlight(note("second"), false);
    first->dismissViewControllerAnimated(false);
    uitest::completePresentations();
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNoteView);
}

TEST_F(NoteRoadTest, ACommentMarksTheNoteChangedAndStoresItAtOnceWhileTheEditorStaysOpen)
{
    auto record = note("shared words");
    record->isShare = true;
    record->status = UGCStatusNew;
    record->isSynced = true;
    m_context.user->role = "INSTRUCTOR";
    m_noteRoad->showNotesForHighlight(record, false);
    uitest::completePresentations();
    auto editor = m_noteRoad->noteController();
    ASSERT_TRUE(editor->enterYourCommentTextField()->becomeFirstResponder());
    editor->enterYourCommentTextField()->insertText("well said");
    editor->commentPostButton();
    base::RunLoop::main().runUntilIdle();

    EXPECT_EQ(record->status, UGCStatusUpdated);
    auto stored = m_sqlite->highlightBookID("42", 5000000000);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_FALSE(stored[0]->isSynced);
    ASSERT_TRUE(stored[0]->noteComments.asList());
    EXPECT_EQ((*stored[0]->noteComments.asList())[0]["Text"].asString(), "well said");
    EXPECT_EQ(m_host.controller->presentedViewController(), editor);
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNoteView);
}

TEST_F(NoteRoadTest, ShareFromTheEditorSlidesThePanelIntoTheCardAndItsSaveClosesTheEditor)
{
    withClasses();
    auto record = note("");
    m_noteRoad->showNotesForHighlight(record, false);
    uitest::completePresentations();
    auto editor = m_noteRoad->noteController();
    editor->noteTextView()->insertText(" share me ");
    editor->shareButtonAction();
    auto panel = m_noteRoad->shareSettingsController();
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->settingsType(), 1);
    EXPECT_EQ(panel->noteText(), "share me");
    EXPECT_EQ(panel->view()->superview(), editor->stickyNoteContainerView());
    EXPECT_EQ(panel->parentViewController(), editor);
    EXPECT_EQ(panel->classes().size(), 1u);

    panel->saveNoteSharing({ base::Value(int64_t(8)), base::Value(int64_t(9)) });
    uitest::completePresentations();
    EXPECT_TRUE(record->isShare);
    EXPECT_FALSE(record->isSynced);
    EXPECT_EQ(record->noteText, "share me");
    ASSERT_EQ(m_analytics->tracked.size(), 1u);
    EXPECT_EQ(m_analytics->tracked[0].name, "NoteShared");
    EXPECT_EQ(rendererCalls().back(), "postNoteWithHighlightVO");
    EXPECT_EQ(m_host.controller->presentedViewController(), nullptr);
}

TEST_F(NoteRoadTest, SavingAClassSendsExactlyTheTwoListsAndStoresThemBeforeAnyAnswer)
{
    for (auto idiom : { ui::UserInterfaceIdiom::Phone, ui::UserInterfaceIdiom::Pad }) {
        ui::Environment::current().setIdiom(idiom);
        withClasses();
        m_noteRoad->didTapOnShareSettings();
        uitest::completePresentations();
        auto panel = m_noteRoad->shareSettingsController();
        ASSERT_TRUE(panel);
        EXPECT_EQ(panel->settingsType(), 2);
        const bool pad = idiom == ui::UserInterfaceIdiom::Pad;
        if (pad)
            EXPECT_EQ(m_host.controller->presentedViewController(), panel);
        else
            EXPECT_EQ(panel->parentViewController(), m_host.controller);

        size_t sent = service().requestCount();
        panel->saveClassSettings(
            { base::Value(int64_t(11)) }, { base::Value(int64_t(12)), base::Value(int64_t(13)) });
        ASSERT_EQ(service().requestCount(), sent + 1);
        auto request = service().lastRequest(companion::op::highlightShare);
        ASSERT_TRUE(request);
        EXPECT_EQ(base::toJson(request->body["share"]), R"({"shareList":[11],"recieveList":[12,13]})");
        EXPECT_EQ(request->userToken, "token-1");
        EXPECT_EQ(service().pendingCount(), 1u);
        auto stored = m_sqlite->bookClassInfoArrayForBookID("42", 5000000000);
        ASSERT_EQ(stored.size(), 1u);
        EXPECT_EQ(base::toJson(stored[0]->receiveList), "[12,13]");
        service().answerAll(companion::ServiceAnswer::success());
        base::RunLoop::main().runUntilIdle();

        base::RunLoop::main().advanceBy(0.6);
        // A phone slides the panel out; a tablet leaves closing to the panel.
        if (!pad) {
            EXPECT_EQ(panel->parentViewController(), nullptr);
        } else {
            EXPECT_EQ(m_host.controller->presentedViewController(), panel);
            panel->dismissViewControllerAnimated(false);
            uitest::completePresentations();
        }
    }
}

TEST_F(NoteRoadTest, CancellingFromTheEditorOnATabletSlidesOutButFromMyDataDoesNothing)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    auto record = note("words");
    m_noteRoad->showNotesForHighlight(record, false);
    uitest::completePresentations();
    m_noteRoad->didTapOnShareNote(record, "#B2", "words");
    auto panel = m_noteRoad->shareSettingsController();
    m_noteRoad->didClickOnShareSettingsCancelButton();
    base::RunLoop::main().advanceBy(0.6);
    EXPECT_EQ(panel->parentViewController(), nullptr);

    m_noteRoad->noteController()->dismissViewControllerAnimated(false);
    uitest::completePresentations();
    m_noteRoad->didTapOnNoteShareSettings(record);
    uitest::completePresentations();
    auto fromMyData = m_noteRoad->shareSettingsController();
    EXPECT_TRUE(fromMyData->isFromMydataController());
    m_noteRoad->didClickOnShareSettingsCancelButton();
    base::RunLoop::main().advanceBy(0.6);
    EXPECT_EQ(m_host.controller->presentedViewController(), fromMyData);
}

TEST_F(NoteRoadTest, AcceptTracksNoteReceivedAndDeclineTracksNothingBothSendTheAnswer)
{
    struct Case {
        bool accepted;
        std::vector<std::string> events;
    };
    const Case cases[] = { { false, {} }, { true, { "NoteReceived" } } };
    for (const auto& c : cases) {
        m_analytics->tracked.clear();
        m_noteRoad->didAnsweredHighlight(note("received"), c.accepted);
        EXPECT_EQ(trackedNames(), c.events);
        auto request = service().lastRequest(companion::op::collabAnswer);
        ASSERT_TRUE(request);
        EXPECT_EQ(request->body["ugcID"].asString(), "u7");
        EXPECT_EQ(request->body["isAccepted"].asBool(), c.accepted);
    }
}

TEST_F(NoteRoadTest, AStickyNoteTapOpensTheNoteUnderItOrLogsAndTheOverlayGoesEitherWay)
{
    auto readerView = m_host.controller->view();
    for (bool found : { false, true }) {
        auto overlay
            = StickyNoteController::create(readerView->bounds(), m_noteRoad->stickyNoteControllerDelegate());
        readerView->addSubview(overlay);
        m_renderer->setStickyNoteAnswer(found ? note("under the finger") : nullptr);
        overlay->tapAtPoint({ 20, 30 });
        EXPECT_EQ(overlay->superview(), nullptr);
        EXPECT_EQ(m_noteRoad->noteController() != nullptr, found);
    }
}

class NoteRoadMyDataHost : public RecordingHost {
public:
    std::shared_ptr<ui::ViewController> myData;
    int reloads = 0;
    std::shared_ptr<ui::ViewController> myDataPanel() override { return myData; }
    void reloadMyDataList() override { ++reloads; }
};

TEST_F(NoteRoadTest, FromMyDataTheEditorAndTheSharePanelGoOverThePanelAndASaveReloadsIt)
{
    NoteRoadMyDataHost host;
    host.myData = ui::ViewController::create();
    auto navigation = ui::NavigationController::create(host.myData);
    uitest::showInWindow(navigation);
    NoteRoad road(m_context, host);

    auto record = note("words");
    road.didTapOnNotesComment(record);
    uitest::completePresentations();
    ASSERT_TRUE(road.noteController());
    EXPECT_EQ(navigation->presentedViewController(), road.noteController());
    road.noteController()->dismissViewControllerAnimated(false);
    uitest::completePresentations();

    // A phone slides the note's panel in over My Data; its save posts, reloads and slides out.
    road.didTapOnNoteShareSettings(record);
    auto panel = road.shareSettingsController();
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->parentViewController(), host.myData);
    EXPECT_TRUE(panel->isFromMydataController());
    panel->saveNoteSharing({ base::Value(int64_t(8)) });
    EXPECT_EQ(host.reloads, 1);
    EXPECT_EQ(trackedNames(), std::vector<std::string> { "NoteShared" });
    EXPECT_EQ(rendererCalls().back(), "postNoteWithHighlightVO");
    base::RunLoop::main().advanceBy(0.6);
    EXPECT_EQ(panel->parentViewController(), nullptr);
}

TEST_F(NoteRoadTest, PopoverDismissalResetsTheModesItKnows)
{
    const std::pair<uint64_t, uint64_t> cases[]
        = { { 2, 0 }, { 8, 0 }, { 20, 0 }, { 3, 0 }, { 5, 5 }, { 7, 7 } };
    for (auto [mode, after] : cases) {
        m_context.activeMode = mode;
        m_host.calls.clear();
        m_noteRoad->popoverPresentationControllerDidDismissPopover();
        EXPECT_EQ(m_context.activeMode, after) << mode;
        EXPECT_EQ(m_host.calls, std::vector<std::string> { "resetBars" });
    }
}

} // namespace
} // namespace lectoro::annotationstest
