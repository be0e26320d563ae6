// The My Data panel on phone and tablet: rows, answers to received notes, the sheet's
// drag, the header and the buttons each setting shows, and the filter pop-over it opens.

#include "LayoutConflictLog.h"
#include "mydata/MyDataTestSupport.h"
#include "reader/ReaderTestSupport.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/foundation/NSStringExpanded.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/mydata/FilterCollectionCell.h"
#include "LectoroSDKWithReader/mydata/FilterViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

#include <gmock/gmock.h>

namespace lectoro::mydatatest {
namespace {

// A stored UTC stamp as a row shows it: the local date and time.
std::string shownDate(const char* stored)
{
    return NSStringExpanded::getLocalizedStringForDateString(
        NSStringExpanded::formattedLocalStringFromDate(*NSStringExpanded::utcDateFromString(stored)));
}


using ::testing::ElementsAre;

std::string text(const std::string& key)
{
    return LocalizationHelper::localizedStringWithKey(key);
}

class MyDataPanelTest : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        m_settings = std::make_shared<MVReaderSettingModel>();
        enableMyDataSettings(*m_settings);
        m_theme = std::make_shared<LXMVThemeVO>();
        m_theme->setHighlight_Color_Array(
            base::Value::List { "#FFFF00", "#00FF00", "c3", "c4", "c5", "c6", "c7" });
    }

    void TearDown() override
    {
        m_panel.reset();
        uitest::showInWindow(nullptr);
        ReaderTest::TearDown();
    }

    std::shared_ptr<LXMyDataViewController> open(MyDataRecords records,
        ui::UserInterfaceIdiom idiom = ui::UserInterfaceIdiom::Phone,
        std::shared_ptr<LectoroBookVO> book = std::make_shared<PXBookVO>())
    {
        auto& environment = ui::Environment::current();
        environment.setIdiom(idiom);
        environment.setScreenSize(
            idiom == ui::UserInterfaceIdiom::Pad ? ui::Size { 768, 1024 } : ui::Size { 375, 667 });
        m_root = ui::ViewController::create();
        uitest::showInWindow(m_root);
        m_panel = LXMyDataViewController::create();
        m_panel->setBook(std::move(book));
        m_panel->setDelegate(m_delegate);
        m_panel->setUserSettingsModel(m_settings);
        m_panel->setNoDataLabelTextColor(ui::Color::red());
        m_panel->disableShareSettings(false);
        m_panel->disableShareWithMeTab(false);
        m_panel->setData(std::move(records));
        m_panel->setThemeVO(m_theme);
        auto navigation = ui::NavigationController::create(m_panel);
        navigation->setNavigationBarHidden(true);
        m_root->presentViewController(navigation, false);
        settle();
        return m_panel;
    }

    void settle()
    {
        base::RunLoop::main().advanceBy(1);
        if (!m_panel)
            return;
        m_panel->view()->setNeedsLayout();
        m_panel->view()->layoutIfNeeded();
        m_panel->tableView()->layoutIfNeeded();
    }

    template <class Cell> std::shared_ptr<Cell> row(int index)
    {
        return std::dynamic_pointer_cast<Cell>(m_panel->tableView()->cellForRowAtIndexPath({ 0, index }));
    }

    void showNotes()
    {
        EXPECT_TRUE(uitest::tap(*m_panel->notesButton()));
        settle();
    }

    std::shared_ptr<MVReaderSettingModel> m_settings;
    std::shared_ptr<LXMVThemeVO> m_theme;
    std::shared_ptr<RecordingMyDataDelegate> m_delegate = std::make_shared<RecordingMyDataDelegate>();
    std::shared_ptr<ui::ViewController> m_root;
    std::shared_ptr<LXMyDataViewController> m_panel;
    MyDataNetworkScope m_network;
};

TEST_F(MyDataPanelTest, TheScreenStandsByItsConstraintsWithoutConflicts)
{
    for (auto idiom : { ui::UserInterfaceIdiom::Phone, ui::UserInterfaceIdiom::Pad }) {
        testing::LayoutConflictLog conflicts;
        // No records: the rows' cells place their own subviews, apart from the screen's tree.
        auto panel = open({}, idiom);
        const ui::Rect bar = panel->segmentView()->frame();
        const ui::Rect body = panel->myDataContainerView()->frame();
        EXPECT_EQ(bar.size.width, body.size.width);
        EXPECT_EQ(panel->highlightButton()->frame().size.width, std::min(160.0, bar.size.width / 4));
        EXPECT_EQ(panel->notesButton()->frame().minX(), panel->highlightButton()->frame().maxX());
        EXPECT_EQ(panel->filterButton()->frame().minX(), panel->notesButton()->frame().maxX());
        EXPECT_EQ(panel->tableView()->frame().maxY(), body.size.height);
        // The underline lies under the segment on screen, and moves with a tap on the other.
        const ui::Rect underline = panel->selectedButonBorderView()->frame();
        EXPECT_EQ(underline.minX(), panel->highlightButton()->frame().minX());
        EXPECT_EQ(underline.maxY(), bar.size.height);
        showNotes();
        EXPECT_EQ(panel->selectedButonBorderView()->frame().minX(), panel->notesButton()->frame().minX());
        EXPECT_TRUE(uitest::tap(*panel->highlightButton()));
        EXPECT_TRUE(conflicts.empty()) << conflicts.text();
        m_panel.reset();
        uitest::showInWindow(nullptr);
    }
}

TEST_F(MyDataPanelTest, OpensOnHighlightsWithCountsAndSwitchesToNotes)
{
    auto panel = open({ record({ .localID = "h1" }), record({ .localID = "h2" }),
        record({ .localID = "n1", .noteText = "note" }) });
    EXPECT_EQ(panel->selectedSegment(), MyDataSegmentHighlights);
    EXPECT_EQ(panel->highlightCountLbl()->text(), "2");
    EXPECT_EQ(panel->noteCountLbl()->text(), "1");
    EXPECT_EQ(
        panel->backButtonTextTitle(), text("HELP_MY_DATA_BUTTON_TITLE") + ": " + text("HIGHLIGHTS_KEY"));
    EXPECT_EQ(panel->backButtonText()->currentTitle(), panel->backButtonTextTitle())
        << "a phone header is full height";
    auto highlight = row<LXMyDataHighlightCell>(0);
    ASSERT_TRUE(highlight);
    EXPECT_EQ(highlight->chapterTitleLabel()->text(), text("CHAPTER_KEY") + " : Rain");
    EXPECT_EQ(highlight->accessibilityIdentifier(), "highlightCell0");
    showNotes();
    EXPECT_EQ(panel->selectedSegment(), MyDataSegmentNotes);
    EXPECT_THAT(localIDs(panel->dataArray()), ElementsAre("n1"));
    EXPECT_TRUE(row<LXMyDataNoteCell>(0));
}

TEST_F(MyDataPanelTest, NoteRowsShowFolioDateAndTheirColours)
{
    auto teacher = record({ .localID = "teacher", .noteText = "see me", .color = "#00FF00" });
    teacher->isTeacherReviewNote = true;
    auto panel = open({ record({ .localID = "own", .noteText = "mine", .text = "", .color = "#" }),
        record({ .localID = "received", .noteText = "theirs", .color = "#00FF00", .received = true }),
        teacher });
    showNotes();
    struct Case {
        const char* colour;
        std::string icon;
        bool share;
        bool comment;
    };
    const Case cases[] = {
        { "#FFFF00", ICON_TAPPABLE_STICKY_NOTE, true, true },
        { "#8fd5e1", NOTE_TEXT_ICON, false, true },
        { "#ffc000", ICON_TEACHER_COMMENT, false, false },
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        auto cell = row<LXMyDataNoteCell>(i);
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->iconLabel()->textColor(), *UIColorExpanded::colorWithHexString(cases[i].colour));
        EXPECT_EQ(cell->iconLabel()->text(), cases[i].icon);
        EXPECT_EQ(!cell->shareButton()->isHidden(), cases[i].share);
        EXPECT_EQ(!cell->commentButton()->isHidden(), cases[i].comment);
        EXPECT_EQ(cell->dateLabel()->text(),
            text("PAGE") + ": 12  "
                + shownDate("2024-03-05 14:07:00.000"));
    }
    // A sticky note closes the gap of the highlighted text.
    EXPECT_EQ(row<LXMyDataNoteCell>(0)->highlightLabelHeightConstraint()->constant(), 0);
    EXPECT_EQ(row<LXMyDataNoteCell>(1)->highlightLabelHeightConstraint()->constant(), 34);
}

TEST_F(MyDataPanelTest, AnEpubRowShowsTheDateAlone)
{
    auto panel
        = open({ record({ .localID = "h" }) }, ui::UserInterfaceIdiom::Phone, std::make_shared<EPUBBookVO>());
    auto cell = row<LXMyDataHighlightCell>(0);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->dateLabel()->text(),
        shownDate("2024-03-05 14:07:00.000"));
}

TEST_F(MyDataPanelTest, ARowTapJumpsToItsPageAndCloses)
{
    auto noFolio = record({ .localID = "nofolio" });
    noFolio->displayNum = "null";
    auto panel = open({ record({ .localID = "h" }), noFolio });
    ASSERT_TRUE(uitest::tapRow(*panel->tableView(), { 0, 0 }));
    settle();
    EXPECT_THAT(m_delegate->events, ElementsAre("page:12", "close"));
    EXPECT_FALSE(m_root->presentedViewController());

    m_delegate->events.clear();
    panel = open({ noFolio });
    ASSERT_TRUE(uitest::tapRow(*panel->tableView(), { 0, 0 }));
    settle();
    EXPECT_THAT(m_delegate->events, ElementsAre("close"));
}

TEST_F(MyDataPanelTest, ARowIndexFromBeforeAReloadIsIgnored)
{
    auto panel
        = open({ record({ .localID = "a", .noteText = "x" }), record({ .localID = "b", .noteText = "y" }) });
    showNotes();
    panel->showCommentsViewForIndex(5, "a");
    panel->showCommentsViewForIndex(0, "b");
    panel->showShareViewForIndex(-1, "a");
    EXPECT_TRUE(m_delegate->events.empty());
    panel->showCommentsViewForIndex(1, "b");
    panel->showShareViewForIndex(0, "a");
    EXPECT_THAT(m_delegate->events, ElementsAre("comments:b", "noteShare:a"));
}

TEST_F(MyDataPanelTest, AnsweringAReceivedNoteOnceWhileOnline)
{
    auto panel = open({ record({ .localID = "own", .noteText = "mine" }),
                          record({ .localID = "r1", .noteText = "a", .received = true, .answered = false }),
                          record({ .localID = "r2", .noteText = "b", .received = true, .answered = false }) },
        ui::UserInterfaceIdiom::Pad);
    EXPECT_EQ(panel->noteCountLbl()->text(), "1");
    EXPECT_TRUE(uitest::tap(*panel->notificationButton()));
    settle();
    ASSERT_EQ(panel->selectedSegment(), MyDataSegmentReceived);
    auto first = row<LXMyDataNoteAnswerCell>(0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->creatorNameLabel()->text(), " " + text("MY_DATA_STARTED_SHARING_DATA_WITH_YOU"));

    m_network.setOnline(false);
    EXPECT_TRUE(uitest::tap(*first->acceptButton()));
    settle();
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message().value_or(""), text("INTERNET_UNAVAILABLE_MESSAGE"));
    ASSERT_TRUE(uitest::tapAction(text("OK")));
    settle();
    EXPECT_FALSE(uitest::topmostAlert());
    EXPECT_TRUE(m_delegate->events.empty()) << "nothing is sent offline";

    m_network.setOnline(true);
    EXPECT_TRUE(uitest::tap(*first->acceptButton()));
    settle();
    EXPECT_THAT(m_delegate->events, ElementsAre("accept:ur1"));
    EXPECT_EQ(panel->noteCountLbl()->text(), "2");
    // The note waits for the refreshed records; its row takes no second answer.
    auto answered = row<LXMyDataNoteAnswerCell>(0);
    ASSERT_TRUE(answered);
    EXPECT_FALSE(answered->acceptButton()->isEnabled());
    EXPECT_FALSE(uitest::tap(*answered->rejectButton()));
    panel->didHighlight("ur1", true);
    settle();
    EXPECT_THAT(m_delegate->events, ElementsAre("accept:ur1"));
    EXPECT_EQ(panel->noteCountLbl()->text(), "2");

    // The last one: back to the notes.
    panel->didTapOnRejectButton("ur2");
    settle();
    EXPECT_THAT(m_delegate->events, ElementsAre("accept:ur1", "decline:ur2"));
    EXPECT_EQ(panel->selectedSegment(), MyDataSegmentNotes);
    EXPECT_TRUE(panel->notificationIcon()->isHidden());
    EXPECT_FALSE(panel->notificationButton()->isEnabled());
}

TEST_F(MyDataPanelTest, APhoneListsReceivedNotesOnAPushedPanel)
{
    auto panel = open({ record({ .localID = "r1", .noteText = "a", .received = true, .answered = false }) });
    EXPECT_TRUE(uitest::tap(*panel->notificationButton()));
    settle();
    auto navigation = panel->navigationController();
    ASSERT_TRUE(navigation);
    ASSERT_EQ(navigation->viewControllers().size(), 2u);
    auto received = std::dynamic_pointer_cast<LXMyDataViewController>(navigation->viewControllers().back());
    ASSERT_TRUE(received);
    received->view()->layoutIfNeeded();
    EXPECT_TRUE(received->isMyDataNotificationController());
    EXPECT_EQ(received->selectedSegment(), MyDataSegmentReceived);
    EXPECT_THAT(localIDs(received->dataArray()), ElementsAre("r1"));
    EXPECT_TRUE(received->highlightButton()->isHidden());
    EXPECT_TRUE(received->printButton()->isHidden());
    EXPECT_EQ(received->shareSettingWidthConstraint()->constant(), 0);
    EXPECT_FALSE(received->acceptButton()->isHidden());
    received->didTapOnAcceptButton("ur1");
    settle();
    EXPECT_EQ(navigation->viewControllers().size(), 1u) << "the last answer pops the received notes";
}

TEST_F(MyDataPanelTest, TheTabletSheetFollowsTheDragAndItsRelease)
{
    // H 1024, handle 30: half-open at 482, full height at -30, the middle at 512.
    struct Case {
        const char* name;
        double translation;
        double velocity;
        double top;
        double header;
        bool closed;
    };
    const Case cases[] = {
        { "up above the middle", -300, -500, -30, 50, false },
        { "down above half-open", -200, 100, 482, 0, false },
        { "down at or below half-open", 100, 100, 1024, 0, true },
        { "still", 50, 0, 532, 0, false },
        { "up below the middle", 100, -100, 582, 0, false },
        { "far up", -2000, 0, -30, 50, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_delegate->events.clear();
        auto panel = open({ record({ .localID = "h" }) }, ui::UserInterfaceIdiom::Pad);
        ASSERT_EQ(panel->topConstraintOfViewContainingPanGesture()->constant(), 482);
        EXPECT_EQ(panel->tocLeftConstraint()->constant(), 15);
        auto pan = panel->panGesture();
        ASSERT_TRUE(pan);
        pan->simulatePan(ui::GestureState::Began, {}, {});
        pan->simulatePan(ui::GestureState::Changed, {}, { 0, c.translation });
        pan->simulatePan(ui::GestureState::Ended, {}, { 0, c.translation }, { 0, c.velocity });
        EXPECT_EQ(panel->topConstraintOfViewContainingPanGesture()->constant(), c.top);
        EXPECT_EQ(panel->headerHeightConstraint()->constant(), c.header);
        EXPECT_EQ(panel->upIcon()->isHidden(), c.header == 50);
        settle();
        EXPECT_EQ(!m_delegate->events.empty() && m_delegate->events.front() == "close", c.closed);
        EXPECT_EQ(!m_root->presentedViewController(), c.closed);
    }
}

TEST_F(MyDataPanelTest, ButtonsFollowTheSettings)
{
    struct Case {
        const char* name;
        std::function<void(MVReaderSettingModel&)> change;
        double shareWidth;
        bool notificationShown;
        double printTrailing;
        int32_t segment;
    };
    const Case cases[] = {
        { "everything on", [](MVReaderSettingModel&) {}, 44, true, 10, MyDataSegmentHighlights },
        { "no sharing", [](MVReaderSettingModel& s) { s.setIsSharingEnabled(false); }, 0, false, 10,
            MyDataSegmentHighlights },
        { "no print", [](MVReaderSettingModel& s) { s.setIsMyDataPrintEnabled(false); }, 44, true, -50,
            MyDataSegmentHighlights },
        { "no highlights", [](MVReaderSettingModel& s) { s.setIsHighLightEnabled(false); }, 44, true, 10,
            MyDataSegmentNotes },
        { "no notes",
            [](MVReaderSettingModel& s) {
                s.setIsStickyNotesEnabled(false);
                s.setIsContextualNoteEnabled(false);
            },
            44, false, 10, MyDataSegmentHighlights },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_settings = std::make_shared<MVReaderSettingModel>();
        enableMyDataSettings(*m_settings);
        c.change(*m_settings);
        auto panel = open({ record({ .localID = "h" }) });
        EXPECT_EQ(panel->shareSettingWidthConstraint()->constant(), c.shareWidth);
        EXPECT_EQ(!panel->notificationButton()->isHidden(), c.notificationShown);
        EXPECT_EQ(panel->printBtnTrailingConstraint()->constant(), c.printTrailing);
        EXPECT_EQ(panel->printButton()->isHidden(), c.printTrailing < 0);
        EXPECT_EQ(panel->selectedSegment(), c.segment);
    }
}

TEST_F(MyDataPanelTest, EmptyListsShowTheirTextAndDimPrint)
{
    auto panel = open({});
    EXPECT_TRUE(panel->tableView()->isHidden());
    EXPECT_FALSE(panel->noDataContainerView()->isHidden());
    EXPECT_EQ(panel->noDataLabel()->text(), text("Highlight_text_to_add_a_note_or_mark them_as_important"));
    EXPECT_EQ(panel->noDataIconLbl()->text(), ICON_HighlightNew);
    EXPECT_EQ(panel->noDataLabel()->textColor(), ui::Color::red()) << "the colour given before loading";
    EXPECT_EQ(panel->printButton()->alpha(), 0.5);
    EXPECT_FALSE(panel->printButton()->isUserInteractionEnabled());
    EXPECT_FALSE(panel->filterButton()->isEnabled());
    EXPECT_TRUE(panel->highlightCountLbl()->isHidden());
    EXPECT_TRUE(panel->notificationIcon()->isHidden());
    EXPECT_FALSE(panel->notificationButton()->isEnabled());
}

TEST_F(MyDataPanelTest, RightToLeftPlacesTheUnderlineFromTheLeadingEdge)
{
    ui::Environment::current().setLayoutDirection(ui::LayoutDirection::RightToLeft);
    auto panel = open({ record({ .localID = "h" }) });
    ASSERT_TRUE(panel->selectedBtnLeadingConstraintForRTL());
    EXPECT_FALSE(panel->selectedBtnLeadingConstraint()->isActive());
    EXPECT_EQ(panel->selectedBtnLeadingConstraintForRTL()->constant(), 0);
    EXPECT_EQ(panel->highlightCountLeadingConstraint()->constant(), 5);
    EXPECT_FALSE(panel->highlightCountLabelCenterXConstraint()->isActive());
    showNotes();
    EXPECT_EQ(
        panel->selectedBtnLeadingConstraintForRTL()->constant(), panel->highlightButton()->frame().width());
}

TEST_F(MyDataPanelTest, OrientationFollowsTheBook)
{
    struct Case {
        int32_t mode;
        ui::InterfaceOrientationMask mask;
    };
    auto panel = LXMyDataViewController::create();
    for (auto c :
        { Case { 0, ui::InterfaceOrientationMask::All }, Case { 1, ui::InterfaceOrientationMask::Landscape },
            Case { 2, ui::InterfaceOrientationMask::Landscape },
            Case { 3, ui::InterfaceOrientationMask::Portrait },
            Case { 7, ui::InterfaceOrientationMask::All } }) {
        panel->setBookOrientationMode(c.mode);
        EXPECT_EQ(panel->supportedInterfaceOrientations(), c.mask) << c.mode;
    }
}

TEST_F(MyDataPanelTest, TheFilterPopoverAppliesAndCancels)
{
    auto panel = open({ record({ .localID = "yellow" }), record({ .localID = "green", .color = "#00FF00" }),
        record({ .localID = "shared", .color = "#00FF00", .received = true }) });
    auto filter = panel->filterViewController();
    ASSERT_TRUE(filter);
    EXPECT_TRUE(uitest::tap(*panel->filterButton()));
    settle();
    ASSERT_EQ(panel->navigationController()->presentedViewController(), filter);
    auto rows = filter->rules().highlightDataArray();
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(filter->heightConstraintOfView()->constant(), 319);
    EXPECT_EQ(filter->filterByLabel()->text(), text("Highlights_filter_by"));
    EXPECT_FALSE(filter->applyButton()->isEnabled()) << "Apply waits for a change";

    // Cancel after a change: the ticks come back and no filter runs.
    rows[0]->isSelected = false;
    filter->checkBoxTapped(rows[0]);
    EXPECT_FALSE(rows[3]->isSelected);
    filter->singleTapOnFilter();
    settle();
    EXPECT_FALSE(panel->filterState().highlightWithFilter);
    EXPECT_TRUE(filter->rules().highlightDataArray()[3]->isSelected);

    EXPECT_TRUE(uitest::tap(*panel->filterButton()));
    settle();
    rows = filter->rules().highlightDataArray();
    // Untick all, then tick green alone; the shared row stays unticked.
    for (const auto& r : { rows[0], rows[2] }) {
        r->isSelected = !r->isSelected;
        filter->checkBoxTapped(r);
    }
    ASSERT_TRUE(filter->applyButton()->isEnabled());
    filter->applyButtonAction();
    settle();
    EXPECT_TRUE(panel->filterState().highlightWithFilter);
    EXPECT_FALSE(panel->filterState().isSharedHighlightSelected);
    EXPECT_EQ(panel->filterState().highlightFilterColorsArray, std::vector<std::string> { "#00ff00" });
    EXPECT_THAT(localIDs(panel->dataArray()), ElementsAre("green", "shared"));
    EXPECT_FALSE(panel->filterIcon()->isHidden());
}

TEST(MyDataFilterRowTest, TitleTextOrderFollowsTheLayoutDirection)
{
    ui::EnvironmentScope environment;
    auto cell = FilterCollectionCell::create();
    auto font = ui::Font::systemFont(15);
    EXPECT_EQ(
        cell->getAttributtedTextWithIcon(ICON_CHECKEDBOX, "Notes", font, ui::Color::black(), false).string(),
        std::string(ICON_CHECKEDBOX) + "   Notes");
    EXPECT_EQ(myDataTitleWithIcon(ICON_SHARE, "Share 2", ui::Color::black()).string(),
        std::string(ICON_SHARE) + "Share 2");
    ui::Environment::current().setLayoutDirection(ui::LayoutDirection::RightToLeft);
    EXPECT_EQ(
        cell->getAttributtedTextWithIcon(ICON_CHECKEDBOX, "Notes", font, ui::Color::black(), false).string(),
        "\u200ENotes  " + std::string(ICON_CHECKEDBOX));
    EXPECT_EQ(myDataTitleWithIcon(ICON_SHARE, "Share 2", ui::Color::black()).string(),
        "\u200EShare 2  " + std::string(ICON_SHARE));
}

TEST(MyDataFilterRowTest, RowsDrawTheirKindAndFlipTheirRecord)
{
    ui::EnvironmentScope environment;
    struct Case {
        int32_t kind;
        bool arrowShown;
    };
    for (auto c : { Case { FilterTypeAll, false }, Case { FilterTypeColor, false },
             Case { FilterTypeNotes, true }, Case { FilterTypeContextualNotes, true } }) {
        SCOPED_TRACE(c.kind);
        auto cell = FilterCollectionCell::create();
        auto record
            = FilterDataObject::getFilterTypeObjectWithTitle("t", c.kind, false, true, "#112233", false);
        cell->setDataForCell(record);
        EXPECT_EQ(!cell->dropDownButton()->isHidden(), c.arrowShown);
        std::vector<std::string> reported;
        cell->checkBoxAction = [&](const std::shared_ptr<FilterDataObject>&) { reported.push_back("check"); };
        cell->dropDownAction = [&](const std::shared_ptr<FilterDataObject>&) { reported.push_back("arrow"); };
        uitest::fire(*cell->titleButton(), ui::ControlEvent::TouchUpInside);
        EXPECT_TRUE(record->isSelected);
        EXPECT_FALSE(cell->titleButton()->isSelected()) << "the owner fills the row again";
        uitest::fire(*cell->dropDownButton(), ui::ControlEvent::TouchUpInside);
        bool arrowWired = c.kind != FilterTypeColor;
        EXPECT_EQ(record->isExpanded, !arrowWired) << "a colour row's arrow does nothing";
        EXPECT_EQ(reported.size(), arrowWired ? 2u : 1u);
    }
}

} // namespace
} // namespace lectoro::mydatatest
