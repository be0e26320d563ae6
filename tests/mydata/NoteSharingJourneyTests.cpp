// A note's sharing from My Data in the assembled reader: the sample page book with a note
// the user wrote on it, My Data opened from the bar, and the note shared with a classmate,
// either from its row's share button (the panel over My Data, on a tablet and a phone) or
// from its comment thread's editor; My Data's list then shows the note shared and the store
// holds it shared and waiting for the next upload.

#include "reader/CompanionEndToEndSupport.h"
#include "reader/ReaderJourneySupport.h"

#include "LectoroSDKWithReader/annotations/notes/NoteRoad.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/mydata/LXMyDataViewController.h"
#include "LectoroSDKWithReader/mydata/LXShareSettingsCell.h"
#include "LectoroSDKWithReader/mydata/LXShareSettingsController.h"
#include "LectoroSDKWithReader/mydata/MyDataCells.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"

namespace lectoro {
namespace {

constexpr int64_t classmateID = 6000000002;

class NoteSharingJourney : public testing::ReaderJourneyTest {
protected:
    void SetUp() override
    {
        ReaderJourneyTest::SetUp();
        inProcessService().setClassInfo(std::stoll(journeyBookID),
            base::Value::List { base::Value::Dictionary {
                { "classId", "class-1" },
                { "classTitle", "Biology" },
                { "shareHighlightConfiguration",
                    base::Value::Dictionary { { "isSharingEnable", true }, { "isTeacherSharingEnable", true },
                        { "isStudentSharingEnable", true } } },
                { "teachers", base::Value::List { testing::classMember(9000000001, "Tess", "Teach") } },
                { "learners",
                    base::Value::List { testing::classMember(journeyUserID, "Ada", "Lovelace"),
                        testing::classMember(classmateID, "Bo", "Brook") } },
            } });
    }

    void useTablet()
    {
        ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
        ui::Environment::current().setScreenSize({ 1024, 768 });
    }

    // The book open, with a note on a passage of its first page that a classmate has
    // commented on (so its thread opens from My Data).
    std::shared_ptr<ReaderViewController> openWithNote()
    {
        auto settings = std::make_shared<MVReaderSettingModel>();
        settings->setIsHighLightEnabled(true);
        settings->setIsContextualNoteEnabled(true);
        settings->setIsMydataEnabled(true);
        auto reader = openPageBook(settings);
        if (!reader)
            return nullptr;
        // The launch keeps sharing off; the host turns it on for a class reader.
        settings->setIsSharingEnabled(true);
        auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
        if (!renderer || renderer->getActivePages().empty())
            return nullptr;
        if (!renderer->selectWords(renderer->getActivePages().front().pageID, 1, 2))
            return nullptr;
        auto note = renderer->getHighlightForSelectedTextWithTextColor("#FFE082", "#FFE082");
        if (!note)
            return nullptr;
        // A tap beside the selection closes its pop-up.
        renderer->tapPoint(renderer->getActivePages().front().pageID, { 5, 5 });
        settle();
        note->noteText = "water keeps time";
        note->noteComments = base::Value::List { base::Value::Dictionary { { "Text", "so it does" },
            { "UserID", "9000000001" }, { "DisplayName", "Tess Teach" },
            { "Date", "2024-12-30 09:15:00.000" } } };
        if (!reader->context().dbManager->saveHighlight(note, journeyBookID, journeyUserID).ok())
            return nullptr;
        m_noteID = note->localID;
        return reader;
    }

    std::shared_ptr<PlayerActionBarItem> barItem(ReaderViewController& reader, int tag)
    {
        for (const auto& bar :
            { reader.context().playerTopActionBarView, reader.context().playerBottomActionBarView }) {
            if (auto item = bar ? bar->itemWithTag(tag) : nullptr)
                return item;
        }
        return nullptr;
    }

    // A tap on the page brings the bars, the bar's My Data item opens My Data on its notes.
    std::shared_ptr<LXMyDataViewController> openMyDataNotes(ReaderViewController& reader)
    {
        auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader.rendererView());
        const auto page = renderer->getActivePages().front();
        auto frame = renderer->pageFrameInView(page.pageID);
        renderer->tapPoint(page.pageID, { 10, frame ? frame->size.height - 10 : 10 });
        settle();
        auto item = barItem(reader, PlayerItemMyData);
        if (!item) {
            ADD_FAILURE() << "no My Data item on the bars";
            return nullptr;
        }
        if (auto tapped = testing::tapAsUser(*item); !tapped) {
            ADD_FAILURE() << "My Data item: " << tapped.message();
            return nullptr;
        }
        settle();
        auto panel = reader.myData().myDataViewController();
        if (!panel) {
            ADD_FAILURE() << "My Data did not open";
            return nullptr;
        }
        if (auto tapped = testing::tapAsUser(*panel->notesButton()); !tapped) {
            ADD_FAILURE() << "notes segment: " << tapped.message();
            return nullptr;
        }
        settle();
        panel->tableView()->layoutIfNeeded();
        return panel;
    }

    static std::shared_ptr<LXMyDataNoteCell> noteRow(LXMyDataViewController& panel)
    {
        panel.view()->layoutIfNeeded();
        return std::dynamic_pointer_cast<LXMyDataNoteCell>(
            panel.tableView()->cellForRowAtIndexPath(ui::IndexPath { 0, 0 }));
    }

    // Ticks the classmate in the panel and saves.
    static ::testing::AssertionResult shareWithClassmate(LXShareSettingsController& panel)
    {
        auto& table = *panel.shareUserListTable();
        table.layoutIfNeeded();
        for (int section = 0; section < table.numberOfSections(); ++section) {
            for (int row = 0; row < table.numberOfRowsInSection(section); ++row) {
                auto cell = std::dynamic_pointer_cast<LXShareSettingsCell>(
                    table.cellForRowAtIndexPath(ui::IndexPath { section, row }));
                if (!cell || cell->shareUserId != classmateID)
                    continue;
                auto ticked = testing::tapAsUser(*cell->shareButton());
                if (!ticked)
                    return ticked;
                return testing::tapAsUser(*panel.doneButton());
            }
        }
        return ::testing::AssertionFailure() << "the classmate is not listed";
    }

    std::shared_ptr<SDKHighlightVO> storedNote(ReaderViewController& reader)
    {
        for (const auto& record : reader.context().dbManager->highlightBookID(journeyBookID, journeyUserID)) {
            if (record->localID == m_noteID)
                return record;
        }
        return nullptr;
    }

    static std::string shareTitle(LXMyDataNoteCell& cell) { return cell.shareButton()->currentTitle(); }

    // The note in the store is shared and waits for the next upload; My Data's row says
    // so.
    void expectSharedInStoreAndList(ReaderViewController& reader, LXMyDataViewController& panel)
    {
        auto stored = storedNote(reader);
        ASSERT_TRUE(stored);
        EXPECT_TRUE(stored->isShare);
        EXPECT_FALSE(stored->isSynced);
        ASSERT_TRUE(stored->sharedUsers.asList());
        EXPECT_EQ(stored->sharedUsers.asList()->size(), 1u);
        auto row = noteRow(panel);
        ASSERT_TRUE(row);
        EXPECT_NE(shareTitle(*row).find('1'), std::string::npos) << shareTitle(*row);
    }

    // The book open on the note, My Data on its notes, and the note's row.
    struct NoteInMyData {
        std::shared_ptr<ReaderViewController> reader;
        std::shared_ptr<LXMyDataViewController> panel;
        std::shared_ptr<LXMyDataNoteCell> row;
    };
    NoteInMyData openNoteInMyData()
    {
        NoteInMyData opened;
        opened.reader = openWithNote();
        if (opened.reader)
            opened.panel = openMyDataNotes(*opened.reader);
        if (opened.panel)
            opened.row = noteRow(*opened.panel);
        return opened;
    }

    // The row's share button opens the note's share settings over My Data; saving them
    // stores the note shared and My Data shows it so.
    void shareFromTheRow(bool tablet)
    {
        auto [reader, panel, row] = openNoteInMyData();
        ASSERT_TRUE(reader && panel && row);

        ASSERT_TRUE(testing::tapAsUser(*row->shareButton()));
        settle();
        auto sharePanel = reader->noteRoad().shareSettingsController();
        ASSERT_TRUE(sharePanel);
        EXPECT_TRUE(sharePanel->isFromMydataController());
        if (tablet) {
            EXPECT_EQ(sharePanel->presentingViewController(), panel->navigationController());
        } else {
            EXPECT_EQ(sharePanel->parentViewController(), panel);
            EXPECT_EQ(sharePanel->view()->frame().origin.x, 0);
        }
        EXPECT_TRUE(sharePanel->view()->isInWindow());
        ASSERT_TRUE(shareWithClassmate(*sharePanel));
        settle();

        expectSharedInStoreAndList(*reader, *panel);
        if (!tablet) {
            EXPECT_FALSE(sharePanel->parentViewController());
        }
    }

    std::string m_noteID;
};

TEST_F(NoteSharingJourney, SharingFromTheNotesThreadShowsTheNoteSharedInMyData)
{
    auto [reader, panel, row] = openNoteInMyData();
    ASSERT_TRUE(reader && panel && row);
    const std::string before = shareTitle(*row);

    // The note's thread opens above My Data, presented by My Data's own navigation.
    ASSERT_TRUE(testing::tapAsUser(*row->commentButton()));
    settle();
    auto editor = reader->noteRoad().noteController();
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->presentingViewController(), panel->navigationController());
    EXPECT_TRUE(editor->view()->isInWindow());
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeNoteView);

    ASSERT_TRUE(testing::tapAsUser(*editor->shareButton()));
    settle();
    auto sharePanel = reader->noteRoad().shareSettingsController();
    ASSERT_TRUE(sharePanel);
    EXPECT_TRUE(sharePanel->view()->isDescendantOf(editor->view().get()));
    ASSERT_TRUE(shareWithClassmate(*sharePanel));
    settle();

    // The note is stored shared, still to be uploaded; the editor is gone and My Data's
    // list shows the note shared with one user.
    EXPECT_FALSE(editor->presentingViewController());
    expectSharedInStoreAndList(*reader, *panel);
    EXPECT_NE(shareTitle(*noteRow(*panel)), before);
}

TEST_F(NoteSharingJourney, OnATabletTheRowsShareSettingsAreShownOverMyData)
{
    useTablet();
    shareFromTheRow(true);
}

TEST_F(NoteSharingJourney, OnAPhoneTheRowsShareSettingsSlideInOverMyData)
{
    shareFromTheRow(false);
}

} // namespace
} // namespace lectoro
