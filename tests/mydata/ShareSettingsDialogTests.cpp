// The share-settings dialog on screen: its rows and headers, the boxes a user taps, the
// class picker, Done and Cancel, and what reaches the delegate.

#include "mydata/MyDataTestSupport.h"
#include "reader/ReaderTestSupport.h"

#include "LectoroSDKWithReader/mydata/LXShareSettingsCell.h"
#include "LectoroSDKWithReader/mydata/LXShareSettingsController.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace lectoro {
namespace {

using ::testing::ElementsAre;

base::Value shareDialogMember(int64_t id, const char* first)
{
    return base::Value::Dictionary { { "user",
        base::Value::Dictionary { { "id", id }, { "firstName", first }, { "lastName", "X" } } } };
}

// Teacher 1; learners 2 and 3; the signed-in user is 100.
std::shared_ptr<SDKBookClassInfoVO> shareDialogClass(
    const char* title, base::Value::List shareList, base::Value::List receiveList, std::vector<int64_t> learners = { 2, 3 })
{
    auto c = std::make_shared<SDKBookClassInfoVO>();
    c->classTitle = title;
    c->userId = 100;
    c->shareList = std::move(shareList);
    c->receiveList = std::move(receiveList);
    c->shareHighlightConfiguration = { true, true, true };
    c->teachers = base::Value::List { shareDialogMember(1, "Tea") };
    base::Value::List members;
    for (int64_t id : learners)
        members.push_back(shareDialogMember(id, "Stu"));
    c->learners = std::move(members);
    return c;
}

std::vector<int64_t> shareDialogIDs(const base::Value& list)
{
    std::vector<int64_t> result;
    if (const auto* entries = list.asList())
        for (const auto& v : *entries)
            result.push_back(v.integerValue());
    return result;
}

class ShareDialogRecorder : public LXShareSettingsControllerDelegate {
public:
    void didClickOnShareSettingsCancelButton() override { events.push_back("cancel"); }
    void didClickOnShareSettingsSaveButton(std::shared_ptr<SDKBookClassInfoVO> c) override
    {
        events.push_back("saveClass");
        savedClass = c;
    }
    void didClickOnNoteShareSettingsSaveButton(std::shared_ptr<SDKHighlightVO> n) override
    {
        events.push_back("saveNote");
        savedNote = n;
    }
    std::vector<std::string> events;
    std::shared_ptr<SDKBookClassInfoVO> savedClass;
    std::shared_ptr<SDKHighlightVO> savedNote;
};

class ShareCellRecorder : public LXShareSettingsCellDelegate {
public:
    void didShareSettingEnabled(bool enabled, int64_t id) override
    {
        events.push_back("share:" + std::to_string(enabled) + ":" + std::to_string(id));
    }
    void didReceiveSettingEnabled(bool enabled, int64_t id) override
    {
        events.push_back("receive:" + std::to_string(enabled) + ":" + std::to_string(id));
    }
    void didShareNoteWillAllStudents(ui::Button& box) override
    {
        events.push_back("allStudents:" + std::to_string(box.isSelected()));
    }
    void didShareNoteWillAllTeachers(ui::Button& box) override
    {
        events.push_back("allTeachers:" + std::to_string(box.isSelected()));
    }
    std::vector<std::string> events;
};

TEST(ShareSettingsCellTest, TheShareBoxTagDecidesWhatATapReports)
{
    struct Case {
        int tag;
        bool wasTicked;
        const char* reported;
    };
    const Case cases[] = {
        { LXShareSettingsCell::allStudentsTag, false, "allStudents:1" },
        { LXShareSettingsCell::allTeachersTag, true, "allTeachers:0" },
        { LXShareSettingsCell::userShareTag, true, "share:0:42" },
        { 0, false, "share:1:42" }, // a box the dialog never tagged is a user row
    };
    for (const auto& c : cases) {
        auto cell = LXShareSettingsCell::create(ui::TableViewCellStyle::Default, LXShareSettingsCell::reuseIdentifier);
        auto recorder = std::make_shared<ShareCellRecorder>();
        cell->setDelegate(recorder);
        cell->shareUserId = 42;
        cell->shareButton()->setTag(c.tag);
        cell->shareButton()->setSelected(c.wasTicked);
        cell->shareButtonTapped();
        EXPECT_THAT(recorder->events, ElementsAre(c.reported)) << "tag " << c.tag;
        EXPECT_EQ(cell->shareButton()->isSelected(), !c.wasTicked);
    }
}

TEST(ShareSettingsCellTest, TwoReceiveTapsReportBothStatesAndLeaveTheBoxAsItWas)
{
    auto cell = LXShareSettingsCell::create(ui::TableViewCellStyle::Default, LXShareSettingsCell::reuseIdentifier);
    auto recorder = std::make_shared<ShareCellRecorder>();
    cell->setDelegate(recorder);
    cell->shareUserId = 7;
    cell->receiveButtonTapped();
    cell->receiveButtonTapped();
    EXPECT_THAT(recorder->events, ElementsAre("receive:1:7", "receive:0:7"));
    EXPECT_FALSE(cell->receiveButton()->isSelected());
}

class ShareSettingsDialogTest : public testing::ReaderTest {
protected:
    std::shared_ptr<LXShareSettingsController> show(int64_t type,
        std::vector<std::shared_ptr<SDKBookClassInfoVO>> classes, std::shared_ptr<SDKHighlightVO> note = nullptr,
        ui::UserInterfaceIdiom idiom = ui::UserInterfaceIdiom::Phone)
    {
        ui::Environment::current().setIdiom(idiom);
        m_root = ui::ViewController::create();
        uitest::showInWindow(m_root);
        auto dialog = LXShareSettingsController::create();
        dialog->setDelegate(m_recorder);
        dialog->setSettingsType(type);
        dialog->setHighlightVO(std::move(note));
        dialog->setIsFromMydataController(true);
        dialog->setData(std::move(classes));
        m_root->presentViewController(dialog, true);
        base::RunLoop::main().advanceBy(1);
        dialog->shareUserListTable()->layoutIfNeeded();
        return dialog;
    }

    static std::shared_ptr<LXShareSettingsCell> row(LXShareSettingsController& dialog, int section, int index)
    {
        dialog.shareUserListTable()->layoutIfNeeded();
        return std::dynamic_pointer_cast<LXShareSettingsCell>(
            dialog.shareUserListTable()->cellForRowAtIndexPath(ui::IndexPath { section, index }));
    }

    static std::shared_ptr<LXShareSettingsCell> header(LXShareSettingsController& dialog, int section)
    {
        dialog.shareUserListTable()->layoutIfNeeded();
        return std::dynamic_pointer_cast<LXShareSettingsCell>(dialog.shareUserListTable()->headerViewForSection(section));
    }

    void TearDown() override
    {
        uitest::showInWindow(nullptr);
        testing::ReaderTest::TearDown();
    }

    mydatatest::MyDataNetworkScope m_network;
    std::shared_ptr<ShareDialogRecorder> m_recorder = std::make_shared<ShareDialogRecorder>();
    std::shared_ptr<ui::ViewController> m_root;
};

TEST_F(ShareSettingsDialogTest, ClassSettingsListTeachersWithoutBoxesAndStudentsAsTheListsSay)
{
    auto dialog = show(LXShareSettingsController::classSettings,
        { shareDialogClass("A", { 2 }, { 3 }), shareDialogClass("B", { 3 }, {}) });
    auto& table = *dialog->shareUserListTable();
    ASSERT_EQ(table.numberOfSections(), 2);
    auto teacher = row(*dialog, 0, 0);
    ASSERT_TRUE(teacher);
    EXPECT_EQ(teacher->shareUserNameLabel()->text(), "Tea X");
    EXPECT_TRUE(teacher->shareButton()->isHidden() && teacher->receiveButton()->isHidden());
    auto teachersHeader = header(*dialog, 0);
    ASSERT_TRUE(teachersHeader);
    EXPECT_TRUE(teachersHeader->shareButton()->isSelected() && teachersHeader->receiveButton()->isSelected());
    EXPECT_FALSE(teachersHeader->shareButton()->isUserInteractionEnabled());

    // Lists of both classes together: 2 and 3 shared, 3 received.
    auto second = row(*dialog, 1, 0);
    auto third = row(*dialog, 1, 1);
    ASSERT_TRUE(second && third);
    EXPECT_TRUE(second->shareButton()->isSelected());
    EXPECT_FALSE(second->receiveButton()->isSelected());
    EXPECT_TRUE(third->shareButton()->isSelected() && third->receiveButton()->isSelected());
    EXPECT_TRUE(dialog->shareAllButton()->isSelected());
    EXPECT_FALSE(dialog->receiveAllButton()->isSelected());
    EXPECT_FALSE(dialog->doneButton()->isUserInteractionEnabled());

    ASSERT_TRUE(uitest::tap(*second->receiveButton()));
    EXPECT_TRUE(dialog->receiveAllButton()->isSelected());
    EXPECT_TRUE(dialog->doneButton()->isUserInteractionEnabled());
    EXPECT_EQ(dialog->doneButton()->alpha(), 1.0);

    // Without the network Done keeps the choice in the dialog.
    m_network.setOnline(false);
    dialog->doneButtonTapped();
    EXPECT_TRUE(m_recorder->events.empty());
    m_network.setOnline(true);
    dialog->doneButtonTapped();
    ASSERT_THAT(m_recorder->events, ElementsAre("saveClass"));
    EXPECT_EQ(m_recorder->savedClass->classTitle, "A");
    EXPECT_THAT(shareDialogIDs(m_recorder->savedClass->shareList), ElementsAre(2, 3, 1));
    EXPECT_THAT(shareDialogIDs(m_recorder->savedClass->receiveList), ElementsAre(3, 1, 2));
}

TEST_F(ShareSettingsDialogTest, NoteShareKeepsAlreadySharedStudentsAndEnablesDoneOnlyForAChange)
{
    auto note = std::make_shared<SDKHighlightVO>();
    note->sharedUsers = base::Value::List { int64_t(2), int64_t(77) };
    note->noteText = "kept";
    note->backgroundColor = "#FFEE00";
    auto dialog = show(LXShareSettingsController::noteSettings, { shareDialogClass("A", {}, {}) }, note);
    ASSERT_EQ(dialog->shareUserListTable()->numberOfSections(), 2);
    auto already = row(*dialog, 1, 0);
    auto other = row(*dialog, 1, 1);
    ASSERT_TRUE(already && other);
    EXPECT_TRUE(already->shareButton()->isSelected());
    EXPECT_FALSE(already->isUserInteractionEnabled());
    EXPECT_EQ(already->shareButton()->alpha(), 0.5);
    EXPECT_TRUE(already->receiveButton()->isHidden());
    auto studentsHeader = header(*dialog, 1);
    ASSERT_TRUE(studentsHeader);
    EXPECT_EQ(studentsHeader->shareButton()->tag(), LXShareSettingsCell::allStudentsTag);
    EXPECT_FALSE(studentsHeader->shareButton()->isSelected());

    ASSERT_TRUE(uitest::tap(*other->shareButton()));
    EXPECT_TRUE(dialog->doneButton()->isUserInteractionEnabled());
    other = row(*dialog, 1, 1);
    ASSERT_TRUE(uitest::tap(*other->shareButton()));
    EXPECT_FALSE(dialog->doneButton()->isUserInteractionEnabled()) << "back to the note's own set";

    // All students on, then off: the student it was already shared with stays.
    ASSERT_TRUE(uitest::tap(*header(*dialog, 1)->shareButton()));
    EXPECT_THAT(dialog->model()->noteSharedArray(), ElementsAre(2, 3));
    ASSERT_TRUE(uitest::tap(*header(*dialog, 1)->shareButton()));
    EXPECT_THAT(dialog->model()->noteSharedArray(), ElementsAre(2));
    ASSERT_TRUE(uitest::tap(*header(*dialog, 0)->shareButton()));
    EXPECT_TRUE(dialog->doneButton()->isUserInteractionEnabled());
    dialog->doneButtonTapped();
    ASSERT_THAT(m_recorder->events, ElementsAre("saveNote"));
    // 77 is in no class shown here: the dialog could not take it off, so it stays.
    EXPECT_THAT(shareDialogIDs(note->sharedUsers), ElementsAre(2, 1, 77));
    EXPECT_TRUE(note->isShare);
    EXPECT_EQ(note->noteText, "kept");
    EXPECT_EQ(note->backgroundColor, "#FFEE00");
}

TEST_F(ShareSettingsDialogTest, ThePickerTellsClassesWithEqualTitlesApart)
{
    auto first = shareDialogClass("Same", {}, {});
    auto second = shareDialogClass("Same", {}, {}, { 5 });
    auto dialog = show(LXShareSettingsController::classSettings, { first, second });
    EXPECT_GT(dialog->dropDownButton()->layer()->borderWidth(), 0);
    ASSERT_TRUE(uitest::tap(*dialog->dropDownButton()));
    ASSERT_TRUE(dialog->isPickerOpen());
    auto entries = dialog->pickerEntries();
    ASSERT_EQ(entries.size(), 2u);
    ASSERT_TRUE(uitest::tap(*entries[1]));
    EXPECT_FALSE(dialog->isPickerOpen());
    EXPECT_EQ(dialog->currentClass(), second);
    ASSERT_TRUE(row(*dialog, 1, 0));
    EXPECT_EQ(row(*dialog, 1, 0)->shareUserId, 5);
}

TEST_F(ShareSettingsDialogTest, ASingleClassHidesThePickerAndNoSharingShowsTheNotice)
{
    auto closed = shareDialogClass("Closed", {}, {});
    closed->shareHighlightConfiguration = { false, true, true };
    auto dialog = show(LXShareSettingsController::classSettings, { closed });
    EXPECT_TRUE(dialog->dropDownButton()->isHidden());
    EXPECT_FALSE(dialog->classNameButton()->isUserInteractionEnabled());
    EXPECT_FALSE(dialog->noDataLabel()->isHidden());
    EXPECT_TRUE(dialog->shareUserListTable()->isHidden());
    EXPECT_FALSE(dialog->shareAllButton()->isUserInteractionEnabled());
}

TEST_F(ShareSettingsDialogTest, ClosingTellsCancelAndATabletDialogClosesItselfOnlyWhenItIsItsOwn)
{
    struct Case {
        ui::UserInterfaceIdiom idiom;
        int64_t type;
        bool closesItself;
    };
    const Case cases[] = {
        { ui::UserInterfaceIdiom::Pad, LXShareSettingsController::classSettings, true },
        { ui::UserInterfaceIdiom::Phone, LXShareSettingsController::classSettings, false },
    };
    for (const auto& c : cases) {
        m_recorder->events.clear();
        auto dialog = show(c.type, { shareDialogClass("A", {}, {}) }, nullptr, c.idiom);
        dialog->cancelButtonTapped();
        base::RunLoop::main().advanceBy(1);
        EXPECT_THAT(m_recorder->events, ElementsAre("cancel"));
        EXPECT_EQ(dialog->presentingViewController() == nullptr, c.closesItself);
    }
}

} // namespace
} // namespace lectoro
