// A note shared with the class, as the classmate meets it: one learner writes a note on a
// passage and shares it with a classmate through the editor's share panel; the book closes
// (which uploads it). The classmate opens the same book through the launcher, with the same
// in-process service, and finds the note on its page, its icon in the received notes'
// colour; the note opens read only with the sharer's text, My Data names the sharer, and
// accepting it reaches the service. On a phone and a tablet, upright and turned.

#include "journeys/HeldDevices.h"
#include "journeys/JourneySupport.h"
#include "reader/ReaderJourneySupport.h"

#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/HighlightView.h"
#include "LectoroSDKWithReader/annotations/notes/NoteRoad.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/mydata/LXMyDataViewController.h"
#include "LectoroSDKWithReader/mydata/LXShareSettingsCell.h"
#include "LectoroSDKWithReader/mydata/LXShareSettingsController.h"
#include "LectoroSDKWithReader/mydata/MyDataCells.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/UGCLabel.h"
#include "platform/base/Bundle.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/ViewQuery.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextView.h"

namespace lectoro::journeys {
namespace {

constexpr const char* sharerID = "6000000001";
constexpr int64_t receiverID = 6000000002;
constexpr const char* sharedText = "Ask about the keeper";

using SharedNoteHolding = HeldDevice;

class SharedNoteJourney : public HostThemedJourney, public ::testing::WithParamInterface<SharedNoteHolding> {
protected:
    void SetUp() override
    {
        Journey::SetUp();
        // One class of the book: the sharer and the classmate learn in it, sharing allowed.
        inProcessService().setClassInfo(1001,
            base::Value::List { base::Value::Dictionary {
                { "classId", "class-1" },
                { "classTitle", "Biology" },
                { "shareHighlightConfiguration",
                    base::Value::Dictionary { { "isSharingEnable", true }, { "isTeacherSharingEnable", true },
                        { "isStudentSharingEnable", true } } },
                { "teachers", base::Value::List { testing::classMember(9000000001, "Tess", "Teach") } },
                { "learners",
                    base::Value::List { testing::classMember(std::stoll(sharerID), "Ada", "Fennick"),
                        testing::classMember(receiverID, "Bo", "Brook") } },
            } });
    }

    // The page book opened by `userID`, held as the test says, sharing turned on by the host.
    std::shared_ptr<ReaderViewController> openAs(const std::string& userID)
    {
        m_userID = userID;
        auto reader = open(SampleBook::PageBook, GetParam().idiom);
        if (!reader)
            return nullptr;
        if (reader->context().settings)
            reader->context().settings->setIsSharingEnabled(true);
        holdAs(GetParam().orientation);
        picture("held");
        return reader;
    }

    // The selection pop-up's Note item: the tool view tagged Note holds the button.
    static std::shared_ptr<ui::Button> noteItem(HighlightView& popup)
    {
        for (const auto& item : popup.horizontalStackForHighLightTools()->arrangedSubviews()) {
            auto tool = std::dynamic_pointer_cast<HighLightToolView>(item);
            if (tool && tool->tag() == static_cast<int>(HighlightItemType::Note) && tool->subviews().size() >= 2)
                return std::dynamic_pointer_cast<ui::Button>(tool->subviews().at(1));
        }
        return nullptr;
    }

    // The share panel's row of the classmate, ticked with a finger.
    static ::testing::AssertionResult tickClassmateIn(LXShareSettingsController& panel)
    {
        auto& table = *panel.shareUserListTable();
        uitest::settleLayout();
        // A section a class, a row a member.
        for (int section = 0; section < table.numberOfSections(); ++section) {
            for (int row = 0; row < table.numberOfRowsInSection(section); ++row) {
                auto cell = std::dynamic_pointer_cast<LXShareSettingsCell>(
                    table.cellForRowAtIndexPath(ui::IndexPath { section, row }));
                if (cell && cell->shareUserId == receiverID)
                    return uitest::tap(*cell->shareButton());
            }
        }
        return ::testing::AssertionFailure() << "the classmate is not in the share panel's list";
    }

    // The sharer's part: words on the first page selected, a note written on them, shared
    // with the classmate and saved; then the book closed with its back item.
    void writeAndShareANote()
    {
        auto reader = openAs(sharerID);
        ASSERT_TRUE(reader);
        auto renderer = rendererOf(*reader);
        ASSERT_TRUE(renderer->selectWords(renderer->getActivePages().front().pageID, 1, 3));
        settle();
        auto popup = reader->highlightRoad().highlightView();
        ASSERT_TRUE(popup && popup->window()) << "the pop-up shows over the selection";
        auto note = noteItem(*popup);
        ASSERT_TRUE(note && tapAndSettle(*note));
        auto editor = presentedScreen<StickyNotesViewController>(*reader);
        ASSERT_TRUE(editor) << "the note editor opens";
        // A finger in the note's text, then the words typed.
        ASSERT_TRUE(uitest::landOn(*editor->noteTextView()));
        ASSERT_TRUE(editor->noteTextView()->insertText(sharedText));
        settle();
        picture("note-written");

        ASSERT_TRUE(editor->shareButton() && tapAndSettle(*editor->shareButton()));
        auto panel = reader->noteRoad().shareSettingsController();
        ASSERT_TRUE(panel && panel->view()->window()) << "the share panel opens";
        base::RunLoop::main().advanceBy(1);
        settle();
        ASSERT_TRUE(tickClassmateIn(*panel));
        settle();
        picture("share-ticked");
        ASSERT_TRUE(tapAndSettle(*panel->doneButton()));
        base::RunLoop::main().advanceBy(1);
        settle();
        picture("shared");
        EXPECT_FALSE(editor->view()->window()) << "saving the share closes the editor";
        expectReading(*reader);

        ASSERT_TRUE(tapBarItem(*reader, reader->context().playerTopActionBarView, PlayerItemBackToBookshelf));
        settle();
        ASSERT_FALSE(m_launcher->reader()) << "the book closed";
        EXPECT_NE(sharersNote().find(sharedText), std::string::npos) << "the close uploaded the note";
        ui::Environment::current().rotateTo(ui::Orientation::Portrait);
    }

    // The note icons the renderer shows on the page on screen.
    static std::vector<std::shared_ptr<UGCLabel>> noteIconsOnScreen(ReaderViewController& reader)
    {
        std::vector<std::shared_ptr<UGCLabel>> icons;
        for (const auto& label : uitest::findDescendants<UGCLabel>(reader.rendererView()->view())) {
            if (label->highlightVO() && label->window())
                icons.push_back(label);
        }
        return icons;
    }

    // The sharer's notes as the service holds them, as text.
    std::string sharersNote() { return inProcessService().ugcFor(std::stoll(sharerID), 1001).description(); }

    // Who accepted the sharer's note, as the service lists them.
    std::string acceptedBy()
    {
        std::string accepted;
        auto notes = inProcessService().ugcFor(std::stoll(sharerID), 1001);
        if (const auto* list = notes.asList()) {
            for (const auto& note : *list)
                accepted += note["acceptedUsers"].description();
        }
        return accepted;
    }

};

TEST_P(SharedNoteJourney, TheClassmateFindsTheNoteOnThePageAndReadsItAndWhoSharedIt)
{
    writeAndShareANote();
    if (HasFatalFailure())
        return;

    auto reader = openAs(std::to_string(receiverID));
    ASSERT_TRUE(reader);
    picture("classmate-opened");
    auto icons = noteIconsOnScreen(*reader);
    ASSERT_EQ(icons.size(), 1u) << "the received note shows on its page";
    auto icon = icons.front();
    EXPECT_TRUE(icon->highlightVO()->isReceived);
    const ui::Color received = ui::Color::fromRGB255(0x8f, 0xd5, 0xe1);
    EXPECT_EQ(icon->textColor().withAlpha(1), received) << "in the received notes' colour";

    // The icon is drawn on the page; a finger on it is the page's tap there.
    const ui::Rect iconFrame = icon->frame();
    const ui::Point onIcon = icon->superview()->convertPointTo(
        { iconFrame.midX(), iconFrame.midY() }, rendererOf(*reader)->view().get());
    ASSERT_TRUE(testing::tapPage(*reader, onIcon));
    settle();
    auto editor = presentedScreen<StickyNotesViewController>(*reader);
    ASSERT_TRUE(editor) << "a tap on the icon opens the note";
    picture("received-note");
    EXPECT_EQ(editor->noteTextView()->text(), sharedText);
    EXPECT_FALSE(editor->noteTextView()->isEditable()) << "a received note is read, not edited";
    EXPECT_FALSE(editor->shareButton()->isEnabled());
    if (GetParam().idiom == ui::UserInterfaceIdiom::Pad) {
        // A tablet's card has no back glyph: a tap beside the card leaves the note.
        const ui::Rect card = editor->stickyNoteContainerView()->convertRectTo(
            editor->stickyNoteContainerView()->bounds(), editor->view().get());
        ASSERT_TRUE(tapAndSettle(*editor->view(), ui::Point { card.minX() / 2, card.midY() }));
    } else {
        ASSERT_TRUE(tapAndSettle(*editor->backButton()));
    }
    EXPECT_FALSE(editor->view()->window()) << "the note is left";
    base::RunLoop::main().advanceBy(1);
    settle();
    expectReading(*reader);

    // My Data's received notes name who shared the note.
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemMyData));
    auto myData = presentedScreen<LXMyDataViewController>(*reader);
    ASSERT_TRUE(myData);
    ASSERT_TRUE(tapAndSettle(*myData->notificationButton()));
    picture("my-data-received");
    // A phone shows the received notes on a screen of their own.
    auto window = ui::Environment::current().keyWindow();
    ASSERT_TRUE(window);
    auto sharer = uitest::findFirst<LXMyDataNoteAnswerCell>(window);
    ASSERT_TRUE(sharer) << "the received note waits for an answer in My Data";
    EXPECT_NE(sharer->creatorNameLabel()->text().find("Ada Fennick"), std::string::npos)
        << sharer->creatorNameLabel()->text();
    // Accepting tells the sharer's note who took it.
    ASSERT_EQ(acceptedBy().find(std::to_string(receiverID)), std::string::npos);
    ASSERT_TRUE(tapAndSettle(*sharer->acceptButton()));
    picture("accepted");
    EXPECT_NE(acceptedBy().find(std::to_string(receiverID)), std::string::npos) << sharersNote();
}

INSTANTIATE_TEST_SUITE_P(Holdings, SharedNoteJourney,
    everyHeldDevice(), heldDeviceName);

} // namespace
} // namespace lectoro::journeys
