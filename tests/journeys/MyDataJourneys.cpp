// My Data on a phone and a tablet, each held upright and turned: the panel empty, then with
// a highlight made with a finger and a note stored with a comment thread; its filter, the
// note's comments opened from its row, the class share settings, the note's own share
// settings and the print options. Each screen is reached with a finger, pictured, must lay
// out without a conflicting constraint, and its rows say what a person expects to read:
// the chapter the item lies in and a date and time.

#include "LectoroSDKWithReader/mydata/MyDataStyle.h"
#include "journeys/HeldDevices.h"
#include "journeys/JourneySupport.h"
#include "reader/ReaderJourneySupport.h"
#include "LayoutConflictLog.h"

#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/HighlightView.h"
#include "LectoroSDKWithReader/annotations/notes/NoteRoad.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/mydata/FilterCollectionCell.h"
#include "LectoroSDKWithReader/mydata/FilterViewController.h"
#include "LectoroSDKWithReader/mydata/LXMyDataPrintOptionsController.h"
#include "LectoroSDKWithReader/mydata/LXMyDataViewController.h"
#include "LectoroSDKWithReader/mydata/LXShareSettingsController.h"
#include "LectoroSDKWithReader/mydata/MyDataCells.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/base/Bundle.h"
#include "platform/ui/Button.h"
#include "platform/ui/CollectionView.h"
#include "platform/ui/Label.h"
#include "platform/ui/StackView.h"
#include "platform/ui/TableView.h"

#include <regex>

namespace lectoro::journeys {
namespace {

using MyDataHolding = HeldDevice;

constexpr int64_t myDataClassmateID = 6000000002;

// Shown to a person: in the window, not hidden, with some of it on screen.
bool shownOnMyData(ui::View& view)
{
    for (const ui::View* v = &view; v; v = v->superview().get())
        if (v->isHidden() || v->alpha() <= 0)
            return false;
    return view.window() && !uitest::visibleRectInWindow(view).isEmpty();
}

class MyDataJourney : public HostThemedJourney, public ::testing::WithParamInterface<MyDataHolding> {
protected:

    bool pad() const { return GetParam().idiom == ui::UserInterfaceIdiom::Pad; }

    // The page book on the device, held as the journey says, with every kind of record,
    // sharing in a class and My Data's printing switched on.
    std::shared_ptr<ReaderViewController> openHeld()
    {
        inProcessService().setClassInfo(1001,
            base::Value::List { base::Value::Dictionary {
                { "classId", "class-1" },
                { "classTitle", "Biology" },
                { "shareHighlightConfiguration",
                    base::Value::Dictionary { { "isSharingEnable", true }, { "isTeacherSharingEnable", true },
                        { "isStudentSharingEnable", true } } },
                { "teachers", base::Value::List { testing::classMember(9000000001, "Tess", "Teach") } },
                { "learners",
                    base::Value::List { testing::classMember(std::stoll(m_userID), "Ada", "Fennick"),
                        testing::classMember(myDataClassmateID, "Bo", "Brook") } },
            } });
        m_settings = std::make_shared<MVReaderSettingModel>();
        m_settings->setIsHighLightEnabled(true);
        m_settings->setIsContextualNoteEnabled(true);
        m_settings->setIsStickyNotesEnabled(true);
        m_settings->setIsMydataEnabled(true);
        m_settings->setIsMyDataPrintEnabled(true);
        auto reader = open(SampleBook::PageBook, GetParam().idiom);
        if (!reader)
            return nullptr;
        // The launch keeps sharing off; the host turns it on for a class reader.
        m_settings->setIsSharingEnabled(true);
        holdAs(GetParam().orientation);
        return reader;
    }

    // Words of the first page highlighted with the pop-up's first colour, as a finger does.
    ::testing::AssertionResult highlightWithFinger(ReaderViewController& reader)
    {
        auto renderer = rendererOf(reader);
        if (!renderer->selectWords(renderer->getActivePages().front().pageID, 1, 3))
            return ::testing::AssertionFailure() << "no words to select";
        settle();
        auto popup = reader.highlightRoad().highlightView();
        if (!popup || !popup->window())
            return ::testing::AssertionFailure() << "no pop-up over the selection";
        auto swatch = popup->horizontalStackForHighLightTools()->arrangedSubviews().front();
        return tapAndSettle(*swatch->subviews().at(1));
    }

    // A note on the first page's later words, with a teacher's comment, as a sync would
    // have stored it.
    std::shared_ptr<SDKHighlightVO> storeNoteWithComment(ReaderViewController& reader)
    {
        auto renderer = rendererOf(reader);
        const auto page = renderer->getActivePages().front();
        if (!renderer->selectWords(page.pageID, 5, 7))
            return nullptr;
        auto note = renderer->getHighlightForSelectedTextWithTextColor("#FFE082", "#FFE082");
        renderer->tapPoint(page.pageID, { 5, 5 });
        settle();
        if (!note)
            return nullptr;
        note->noteText = "water keeps time";
        note->createdDate = "2023-11-14 22:13:20.250";
        note->modifiedDate = "";
        note->noteComments = base::Value::List { base::Value::Dictionary { { "Text", "so it does" },
            { "UserID", "9000000001" }, { "DisplayName", "Tess Teach" }, { "Date", "2024-12-30 09:15:00.000" } } };
        if (!reader.context().dbManager->saveHighlight(note, "1001", std::stoll(m_userID)).ok())
            return nullptr;
        return note;
    }

    std::shared_ptr<LXMyDataViewController> openMyData(ReaderViewController& reader)
    {
        if (!tapBarItem(reader, reader.context().playerBottomActionBarView, PlayerItemMyData))
            return nullptr;
        return presentedScreen<LXMyDataViewController>(reader);
    }

    // Closed as a person closes it: the back button on a phone, the page around the sheet
    // on a tablet.
    void closeMyData(ReaderViewController& reader, LXMyDataViewController& myData)
    {
        if (pad()) {
            ASSERT_TRUE(tapAndSettle(*myData.view(), ui::Point { 20, 20 }));
        } else {
            ASSERT_TRUE(tapAndSettle(*myData.backButtonIcon()));
        }
        base::RunLoop::main().advanceBy(1);
        settle();
        expectReading(reader);
    }

    // The row's chapter line names a chapter, and its date line reads as a date and time
    // (no stored stamp with its milliseconds).
    static void expectReadableRow(ui::Label& chapter, ui::Label& date)
    {
        const std::string line = chapter.text();
        const auto colon = line.find(" : ");
        ASSERT_NE(colon, std::string::npos) << line;
        EXPECT_FALSE(line.substr(colon + 3).empty()) << "the row names its chapter: " << line;
        EXPECT_FALSE(std::regex_search(date.text(), std::regex(R"(\d\d:\d\d:\d\d\.\d{3})"))) << date.text();
        EXPECT_TRUE(std::regex_search(date.text(), std::regex(R"(\d\d:\d\d (AM|PM) \d\d \w+ \d{4})"))) << date.text();
    }

    // Every view of the table's visible rows lies inside its row.
    static void expectRowsHoldTheirViews(ui::TableView& table)
    {
        table.layoutIfNeeded();
        for (const auto& cell : table.visibleCells()) {
            for (const auto& view : cell->contentView()->subviews()) {
                if (view->isHidden() || view->frame().isEmpty())
                    continue;
                EXPECT_TRUE(cell->contentView()->bounds().contains(view->frame()))
                    << view->accessibilityIdentifier() << " leaves its row";
            }
        }
    }

};

TEST_P(MyDataJourney, EmptyThenListingAHighlightAndANoteByChapterAndDate)
{
    auto reader = openHeld();
    ASSERT_TRUE(reader);
    testing::LayoutConflictLog conflicts;

    auto myData = openMyData(*reader);
    ASSERT_TRUE(myData);
    picture("empty");
    EXPECT_TRUE(shownOnMyData(*myData->noDataLabel())) << "the empty list says so";
    EXPECT_FALSE(myData->noDataLabel()->text().empty());
    // Each tab's empty list says so in words (never a text's key) under a glyph of the
    // icon font.
    for (auto* tab : { myData->highlightButton().get(), myData->notesButton().get() }) {
        ASSERT_TRUE(tapAndSettle(*tab));
        picture("empty-tab");
        const std::string said = myData->noDataLabel()->text();
        EXPECT_EQ(said.find('_'), std::string::npos) << said;
        EXPECT_NE(said.find(' '), std::string::npos) << said;
        EXPECT_EQ(myData->noDataIconLbl()->font().name(), mydata::iconFont(1).name());
    }
    closeMyData(*reader, *myData);

    ASSERT_TRUE(highlightWithFinger(*reader));
    ASSERT_TRUE(storeNoteWithComment(*reader));
    myData = openMyData(*reader);
    ASSERT_TRUE(myData);
    ASSERT_TRUE(tapAndSettle(*myData->highlightButton()));
    picture("highlights");
    auto table = myData->tableView();
    ASSERT_EQ(table->numberOfRowsInSection(0), 1);
    auto highlight = std::dynamic_pointer_cast<LXMyDataHighlightCell>(table->cellForRowAtIndexPath({ 0, 0 }));
    ASSERT_TRUE(highlight);
    expectReadableRow(*highlight->chapterTitleLabel(), *highlight->dateLabel());
    EXPECT_FALSE(shownOnMyData(*myData->noDataLabel()));
    expectRowsHoldTheirViews(*table);

    ASSERT_TRUE(tapAndSettle(*myData->notesButton()));
    picture("notes");
    ASSERT_EQ(table->numberOfRowsInSection(0), 1);
    auto note = std::dynamic_pointer_cast<LXMyDataNoteCell>(table->cellForRowAtIndexPath({ 0, 0 }));
    ASSERT_TRUE(note);
    expectReadableRow(*note->chapterNameLabel(), *note->dateLabel());
    expectRowsHoldTheirViews(*table);
    EXPECT_TRUE(conflicts.empty()) << conflicts.text();

    // A row takes the reader to its page.
    ASSERT_TRUE(uitest::tapRow(*table, { 0, 0 }));
    settle();
    base::RunLoop::main().advanceBy(1);
    settle();
    expectReading(*reader);
}

TEST_P(MyDataJourney, TheFilterNarrowsTheHighlightsByColour)
{
    auto reader = openHeld();
    ASSERT_TRUE(reader);
    ASSERT_TRUE(highlightWithFinger(*reader));
    testing::LayoutConflictLog conflicts;
    auto myData = openMyData(*reader);
    ASSERT_TRUE(myData);
    ASSERT_TRUE(tapAndSettle(*myData->filterButton()));
    auto filter = myData->filterViewController();
    ASSERT_TRUE(filter && filter->view()->isInWindow()) << "the filter shows over My Data";
    picture("filter");
    auto collection = filter->collectionView();
    ASSERT_GT(collection->numberOfItemsInSection(0), 2);
    // "All" ticked at first; the last colour alone is one the highlight is not drawn in.
    auto all = std::dynamic_pointer_cast<FilterCollectionCell>(collection->cellForItemAtIndexPath({ 0, 0 }));
    ASSERT_TRUE(all);
    ASSERT_TRUE(tapAndSettle(*all->titleButton()));
    const int last = collection->numberOfItemsInSection(0) - 1;
    auto other = std::dynamic_pointer_cast<FilterCollectionCell>(collection->cellForItemAtIndexPath({ 0, last }));
    ASSERT_TRUE(other);
    ASSERT_TRUE(tapAndSettle(*other->titleButton()));
    picture("filter-picked");
    EXPECT_TRUE(conflicts.empty()) << conflicts.text();
    ASSERT_TRUE(tapAndSettle(*filter->applyButton()));
    picture("filtered");
    EXPECT_FALSE(filter->view()->isInWindow());
    EXPECT_EQ(myData->tableView()->numberOfRowsInSection(0), 0) << "no highlight in the colour picked";
    EXPECT_TRUE(shownOnMyData(*myData->filterIcon())) << "the header shows a filter is in force";
    EXPECT_TRUE(shownOnMyData(*myData->noDataLabel()));
}

TEST_P(MyDataJourney, ANotesCommentsAndSharingOpenFromItsRow)
{
    auto reader = openHeld();
    ASSERT_TRUE(reader);
    auto stored = storeNoteWithComment(*reader);
    ASSERT_TRUE(stored);
    testing::LayoutConflictLog conflicts;
    auto myData = openMyData(*reader);
    ASSERT_TRUE(myData);
    ASSERT_TRUE(tapAndSettle(*myData->notesButton()));
    auto row = std::dynamic_pointer_cast<LXMyDataNoteCell>(myData->tableView()->cellForRowAtIndexPath({ 0, 0 }));
    ASSERT_TRUE(row);

    ASSERT_TRUE(tapAndSettle(*row->commentButton()));
    auto editor = reader->noteRoad().noteController();
    ASSERT_TRUE(editor && editor->view()->isInWindow()) << "the note opens with its comments";
    picture("note-comments");
    ASSERT_TRUE(tapAndSettle(*editor->backButton()));
    EXPECT_FALSE(editor->presentingViewController());

    row = std::dynamic_pointer_cast<LXMyDataNoteCell>(myData->tableView()->cellForRowAtIndexPath({ 0, 0 }));
    ASSERT_TRUE(row);
    ASSERT_TRUE(tapAndSettle(*row->shareButton()));
    auto sharing = reader->noteRoad().shareSettingsController();
    ASSERT_TRUE(sharing && sharing->view()->isInWindow()) << "the note's share settings show";
    picture("note-share-settings");
    ASSERT_TRUE(tapAndSettle(*sharing->cancelButton()));
    EXPECT_FALSE(sharing->view()->isInWindow());
    EXPECT_TRUE(conflicts.empty()) << conflicts.text();
}

TEST_P(MyDataJourney, TheClassShareSettingsAndThePrintOptionsOpenFromTheHeader)
{
    auto reader = openHeld();
    ASSERT_TRUE(reader);
    ASSERT_TRUE(highlightWithFinger(*reader));
    ASSERT_TRUE(storeNoteWithComment(*reader));
    testing::LayoutConflictLog conflicts;
    auto myData = openMyData(*reader);
    ASSERT_TRUE(myData);

    ASSERT_TRUE(tapAndSettle(*myData->shareSettingsButton()));
    auto sharing = reader->noteRoad().shareSettingsController();
    ASSERT_TRUE(sharing && sharing->view()->isInWindow()) << "the class's share settings show";
    EXPECT_EQ(sharing->settingsType(), 2);
    picture("share-settings");
    ASSERT_TRUE(tapAndSettle(*sharing->cancelButton()));
    EXPECT_FALSE(sharing->view()->isInWindow());

    ASSERT_TRUE(tapAndSettle(*myData->printButton()));
    auto options = reader->myData().printOptionsController();
    ASSERT_TRUE(options && options->view()->isInWindow()) << "the print options show";
    uitest::completePresentations();
    settle();
    picture("print-options");
    if (pad()) {
        // A card with the kinds to print and its Print and Cancel.
        ASSERT_TRUE(options->tableView());
        EXPECT_EQ(options->tableView()->numberOfRowsInSection(0), 3);
        ASSERT_TRUE(tapAndSettle(*options->cancelButton()));
    } else {
        // A phone offers the kinds as an action sheet, Cancel last.
        auto sheet = uitest::topmostAlert();
        ASSERT_TRUE(sheet);
        ASSERT_EQ(sheet->actions().size(), 4u);
        ASSERT_TRUE(uitest::tapActionAtIndex(sheet->actions().size() - 1));
        settle();
    }
    EXPECT_FALSE(options->view()->isInWindow());
    EXPECT_TRUE(conflicts.empty()) << conflicts.text();
}

INSTANTIATE_TEST_SUITE_P(Holdings, MyDataJourney,
    everyHeldDevice(), heldDeviceName);

} // namespace
} // namespace lectoro::journeys
