// Screens laid over the reader, where a person meets them on a phone and a tablet, upright
// and turned: the share panel inside the note editor's card (its Cancel and Save under a
// finger), the help overlay's icon copies on the bar items they explain, and the reading-mode
// chooser's texts and buttons apart from each other and on screen. No layout pass while
// these screens show reports a conflict.

#include "journeys/HeldDevices.h"
#include "journeys/JourneySupport.h"
#include "reader/ReaderJourneySupport.h"

#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/HighlightView.h"
#include "LectoroSDKWithReader/annotations/notes/NoteRoad.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/mydata/LXShareSettingsCell.h"
#include "LectoroSDKWithReader/mydata/LXShareSettingsController.h"
#include "LectoroSDKWithReader/reader/ReaderChrome.h"
#include "LectoroSDKWithReader/reader/help/HelpScreen.h"
#include "LectoroSDKWithReader/reader/help/ReaderHelp.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/base/Bundle.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/ViewQuery.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/LayoutEngine.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/StackView.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextView.h"

#include <cmath>

namespace lectoro::journeys {
namespace {

// The layout passes' conflict reports while it lives.
class ConflictReports {
public:
    ConflictReports()
    {
        m_previous = ui::layout::setConflictHandler([this](const std::string& report) { m_reports.push_back(report); });
    }
    ~ConflictReports() { ui::layout::setConflictHandler(m_previous); }
    ConflictReports(const ConflictReports&) = delete;
    ConflictReports& operator=(const ConflictReports&) = delete;

    std::string joined() const
    {
        std::string text;
        for (const auto& report : m_reports)
            text += report + "\n";
        return text;
    }
    bool empty() const { return m_reports.empty(); }

private:
    ui::layout::ConflictHandler m_previous;
    std::vector<std::string> m_reports;
};

ui::Rect inWindow(const ui::View& view)
{
    uitest::settleLayout();
    return view.convertRectTo(view.bounds(), ui::Environment::current().keyWindow().get());
}

std::string describe(const ui::Rect& rect)
{
    return "(" + std::to_string(rect.minX()) + ", " + std::to_string(rect.minY()) + ", " + std::to_string(rect.width())
        + ", " + std::to_string(rect.height()) + ")";
}

bool near(const ui::Rect& a, const ui::Rect& b)
{
    constexpr double tolerance = 0.5;
    return std::fabs(a.minX() - b.minX()) < tolerance && std::fabs(a.minY() - b.minY()) < tolerance
        && std::fabs(a.width() - b.width()) < tolerance && std::fabs(a.height() - b.height()) < tolerance;
}

bool contains(const ui::Rect& outer, const ui::Rect& inner)
{
    constexpr double tolerance = 0.5;
    return inner.minX() >= outer.minX() - tolerance && inner.minY() >= outer.minY() - tolerance
        && inner.maxX() <= outer.maxX() + tolerance && inner.maxY() <= outer.maxY() + tolerance;
}

bool overlap(const ui::Rect& a, const ui::Rect& b)
{
    constexpr double tolerance = 0.5;
    return a.minX() < b.maxX() - tolerance && b.minX() < a.maxX() - tolerance && a.minY() < b.maxY() - tolerance
        && b.minY() < a.maxY() - tolerance;
}

// A device and how it is held when the screen opens.
using Holding = HeldDevice;

class OverlayPlacementJourney : public HostThemedJourney, public ::testing::WithParamInterface<Holding> { };

// MARK: - The share panel inside the note editor

constexpr int64_t classmateID = 6000000002;

class NoteSharePanelJourney : public OverlayPlacementJourney {
protected:
    void SetUp() override
    {
        OverlayPlacementJourney::SetUp();
        inProcessService().setClassInfo(1001,
            base::Value::List { base::Value::Dictionary {
                { "classId", "class-1" },
                { "classTitle", "Biology" },
                { "shareHighlightConfiguration",
                    base::Value::Dictionary { { "isSharingEnable", true }, { "isTeacherSharingEnable", true },
                        { "isStudentSharingEnable", true } } },
                { "teachers", base::Value::List { testing::classMember(9000000001, "Tess", "Teach") } },
                { "learners",
                    base::Value::List { testing::classMember(6000000001, "Ada", "Fennick"),
                        testing::classMember(classmateID, "Bo", "Brook") } },
            } });
    }

    // The page book open for a reader of the class (the host turns sharing on), a passage
    // selected and its pop-up's Note item tapped: the note editor with a note written.
    std::shared_ptr<StickyNotesViewController> openNoteEditor(ReaderViewController& reader)
    {
        if (reader.context().settings)
            reader.context().settings->setIsSharingEnabled(true);
        auto renderer = rendererOf(reader);
        if (!renderer->selectWords(renderer->getActivePages().front().pageID, 1, 3)) {
            ADD_FAILURE() << "no passage selected";
            return nullptr;
        }
        settle();
        auto popup = reader.highlightRoad().highlightView();
        if (!popup || !popup->window()) {
            ADD_FAILURE() << "no pop-up over the selection";
            return nullptr;
        }
        std::shared_ptr<ui::Button> note;
        for (const auto& item : popup->horizontalStackForHighLightTools()->arrangedSubviews()) {
            auto view = std::dynamic_pointer_cast<HighLightToolView>(item);
            if (view && view->tag() == static_cast<int>(HighlightItemType::Note) && view->subviews().size() >= 2)
                note = std::dynamic_pointer_cast<ui::Button>(view->subviews().at(1));
        }
        if (!note || !tapAndSettle(*note)) {
            ADD_FAILURE() << "the pop-up's Note item does not take a tap";
            return nullptr;
        }
        auto editor = presentedScreen<StickyNotesViewController>(reader);
        if (!editor) {
            ADD_FAILURE() << "the note editor is not presented";
            return nullptr;
        }
        auto landing = uitest::landOn(*editor->noteTextView());
        EXPECT_TRUE(landing) << landing.obstacle;
        editor->noteTextView()->insertText("Ask about the keeper");
        settle();
        return editor;
    }

    // The editor's share button opens the panel; it lies inside the card, the card's size,
    // its Cancel and Save under a finger.
    std::shared_ptr<LXShareSettingsController> openSharePanel(
        ReaderViewController& reader, StickyNotesViewController& editor)
    {
        if (!editor.shareButton() || !tapAndSettle(*editor.shareButton())) {
            ADD_FAILURE() << "the editor's share button does not take a tap";
            return nullptr;
        }
        auto panel = reader.noteRoad().shareSettingsController();
        if (!panel || !panel->view()->window()) {
            ADD_FAILURE() << "no share panel in the window";
            return nullptr;
        }
        // The slide in runs out.
        base::RunLoop::main().advanceBy(1);
        settle();
        return panel;
    }

    void expectInsideTheCard(StickyNotesViewController& editor, LXShareSettingsController& panel)
    {
        const ui::Rect card = inWindow(*editor.stickyNoteContainerView());
        const ui::Rect shown = inWindow(*panel.view());
        EXPECT_TRUE(near(shown, card)) << "panel " << describe(shown) << ", card " << describe(card);
        for (const auto& button : { panel.cancelButton(), panel.doneButton() }) {
            EXPECT_TRUE(contains(card, inWindow(*button))) << describe(inWindow(*button));
            auto landing = uitest::landOn(*button);
            EXPECT_TRUE(landing) << landing.obstacle;
        }
    }

    static ::testing::AssertionResult tickClassmate(LXShareSettingsController& panel)
    {
        auto& table = *panel.shareUserListTable();
        uitest::settleLayout();
        for (int section = 0; section < table.numberOfSections(); ++section) {
            for (int row = 0; row < table.numberOfRowsInSection(section); ++row) {
                auto cell = std::dynamic_pointer_cast<LXShareSettingsCell>(
                    table.cellForRowAtIndexPath(ui::IndexPath { section, row }));
                if (cell && cell->shareUserId == classmateID)
                    return uitest::tap(*cell->shareButton());
            }
        }
        return ::testing::AssertionFailure() << "the classmate is not listed";
    }

    std::vector<std::shared_ptr<SDKHighlightVO>> stored(ReaderViewController& reader)
    {
        return reader.context().dbManager->highlightBookID("1001", reader.user()->numericUserID());
    }

};

// Opened in the holding, the panel lies in the card; Cancel takes it away and the note
// stays unshared, the editor open under it.
TEST_P(NoteSharePanelJourney, ThePanelLiesInTheCardAndCancelLeavesTheNoteUnshared)
{
    auto reader = open(SampleBook::PageBook, GetParam().idiom);
    ASSERT_TRUE(reader);
    turn(GetParam().orientation);
    auto editor = openNoteEditor(*reader);
    ASSERT_TRUE(editor);
    // From the share on (the editor's own layout is not this journey's).
    ConflictReports conflicts;
    auto panel = openSharePanel(*reader, *editor);
    ASSERT_TRUE(panel);
    picture("share-panel");
    expectInsideTheCard(*editor, *panel);

    ASSERT_TRUE(tapAndSettle(*panel->cancelButton()));
    base::RunLoop::main().advanceBy(1);
    settle();
    EXPECT_FALSE(panel->view()->window()) << "the panel is gone";
    EXPECT_TRUE(editor->view()->window()) << "the editor stays";
    picture("share-cancelled");
    for (const auto& note : stored(*reader))
        EXPECT_FALSE(note->isShare);
    EXPECT_TRUE(conflicts.empty()) << conflicts.joined();
}

TEST_P(NoteSharePanelJourney, SavingWithAClassmateTickedStoresTheNoteShared)
{
    auto reader = open(SampleBook::PageBook, GetParam().idiom);
    ASSERT_TRUE(reader);
    turn(GetParam().orientation);
    auto editor = openNoteEditor(*reader);
    ASSERT_TRUE(editor);
    // From the share on (the editor's own layout is not this journey's).
    ConflictReports conflicts;
    auto panel = openSharePanel(*reader, *editor);
    ASSERT_TRUE(panel);
    expectInsideTheCard(*editor, *panel);
    ASSERT_TRUE(tickClassmate(*panel));
    settle();
    picture("share-ticked");
    ASSERT_TRUE(tapAndSettle(*panel->doneButton()));
    base::RunLoop::main().advanceBy(1);
    settle();
    picture("share-saved");

    EXPECT_FALSE(editor->view()->window()) << "saving closes the editor";
    auto notes = stored(*reader);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_TRUE(notes[0]->isShare);
    EXPECT_FALSE(notes[0]->isSynced);
    ASSERT_TRUE(notes[0]->sharedUsers.asList());
    EXPECT_EQ(notes[0]->sharedUsers.asList()->size(), 1u);
    EXPECT_TRUE(conflicts.empty()) << conflicts.joined();
}

INSTANTIATE_TEST_SUITE_P(Holdings, NoteSharePanelJourney, everyHeldDevice(), heldDeviceName);

// MARK: - The help overlay

class HelpOverlayJourney : public OverlayPlacementJourney {
protected:
    // Every icon copy of the screen shown lies exactly on the bar item it explains.
    static void expectCopiesOnTheirItems(HelpScreen& help)
    {
        uitest::settleLayout();
        const bool second = help.showSecondScreen() && help.pageControl()->currentPage() == 1;
        size_t explained = 0;
        for (const auto& descriptor : help.helpDescriptors()) {
            auto icon = descriptor ? std::dynamic_pointer_cast<ui::Label>(descriptor->icon()) : nullptr;
            // An item the reader has replaced since it collected them is not on screen.
            if (!icon || descriptor->onSecondScreen() != second || !icon->window())
                continue;
            ++explained;
            const ui::Rect item = inWindow(*icon);
            bool found = false;
            for (const auto& copy : help.images())
                found = found || (copy->currentTitle() == icon->text() && near(inWindow(*copy), item));
            EXPECT_TRUE(found) << descriptor->helpTitle() << ": no copy on its item at " << describe(item);
        }
        EXPECT_GT(explained, 0u) << "the overlay explains no item";
    }
};

TEST_P(HelpOverlayJourney, TheIconCopiesLieOnTheBarItemsTheyExplainAlsoAfterATurn)
{
    m_keepHelpShown = true;
    ConflictReports conflicts;
    auto reader = open(SampleBook::PageBook, GetParam().idiom);
    ASSERT_TRUE(reader);
    turn(GetParam().orientation);
    auto help = reader->chrome().help().helpScreen();
    ASSERT_TRUE(help && help->view()->window()) << "a first opening shows the help";
    picture("help");
    expectCopiesOnTheirItems(*help);

    // Turned while it shows: the copies follow the bars.
    turn(ui::isLandscape(GetParam().orientation) ? ui::Orientation::Portrait : ui::Orientation::LandscapeLeft);
    ASSERT_TRUE(help->view()->window());
    picture("help-after-turn");
    expectCopiesOnTheirItems(*help);
    EXPECT_TRUE(uitest::isTouchable(*help->button())) << "the bars shown again leave the overlay's button free";

    // The second screen, a swipe away, lies on its items too.
    ASSERT_TRUE(uitest::swipe(*help->view(), ui::SwipeDirection::Left));
    settle();
    picture("help-second-screen");
    expectCopiesOnTheirItems(*help);
    EXPECT_TRUE(conflicts.empty()) << conflicts.joined();
}

INSTANTIATE_TEST_SUITE_P(Holdings, HelpOverlayJourney, everyHeldDevice(), heldDeviceName);

// MARK: - The reading-mode chooser

class ReadingModeJourney : public OverlayPlacementJourney {
protected:
    // The chooser's texts and buttons stand apart, whole, on screen.
    static void expectApartAndOnScreen(MVReadToMeViewController& chooser)
    {
        uitest::settleLayout();
        const ui::Rect screen = ui::Environment::current().keyWindow()->bounds();
        const double diameter = MVReadToMeConstants::forCurrentDevice().buttonDiameter;
        std::vector<std::pair<std::string, std::shared_ptr<ui::View>>> parts {
            { "heading", chooser.chooseYourModeLabel() }, { "close", chooser.closeReadToMeViewButton() },
            { "let-me-read circle", chooser.letMeReadButton() }, { "autoplay circle", chooser.autoPlayButton() },
            { "read-to-me circle", chooser.readToMeButton() } };
        for (const auto& [name, details] : { std::pair { "let me read", chooser.letMeReadDetailsView() },
                 std::pair { "autoplay", chooser.autoPlayDetailsView() },
                 std::pair { "read to me", chooser.readToMeDetailsView() } }) {
            for (const auto& label : uitest::findDescendants<ui::Label>(details)) {
                if (label->superview() == details && !label->text().empty())
                    parts.emplace_back(std::string(name) + " \"" + label->text().substr(0, 20) + "\"", label);
            }
        }
        EXPECT_EQ(parts.size(), 11u) << "heading, close, three circles and three titles and messages";
        for (const auto& circle : { chooser.letMeReadButton(), chooser.autoPlayButton(), chooser.readToMeButton() }) {
            const ui::Rect frame = inWindow(*circle);
            EXPECT_NEAR(frame.width(), diameter, 0.5) << "a circle, not a pill";
            EXPECT_NEAR(frame.height(), diameter, 0.5) << "a circle, not a pill";
        }
        for (size_t i = 0; i < parts.size(); ++i) {
            const ui::Rect a = inWindow(*parts[i].second);
            EXPECT_FALSE(a.isEmpty()) << parts[i].first << " has no room";
            // A turned phone is lower (375) than the chooser's panel is high (388).
            if (MVReadToMeConstants::forCurrentDevice().panelHeight <= screen.height())
                EXPECT_TRUE(contains(screen, a)) << parts[i].first << " off screen at " << describe(a);
            for (size_t j = i + 1; j < parts.size(); ++j) {
                const ui::Rect b = inWindow(*parts[j].second);
                EXPECT_FALSE(overlap(a, b)) << parts[i].first << " " << describe(a) << " overprints " << parts[j].first
                                            << " " << describe(b);
            }
        }
    }
};

TEST_P(ReadingModeJourney, TheChoosersTextsAndButtonsStandApartOnScreenAlsoAfterATurn)
{
    auto reader = open(SampleBook::PageBook, GetParam().idiom);
    ASSERT_TRUE(reader);
    turn(GetParam().orientation);
    // Page 104 is narrated.
    rendererOf(*reader)->navigateToPageNumber("104");
    settle();
    ConflictReports conflicts;
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerTopActionBarView, PlayerItemReadAloud));
    auto chooser = presentedScreen<MVReadToMeViewController>(*reader);
    ASSERT_TRUE(chooser) << "the reading modes are offered";
    picture("reading-modes");
    expectApartAndOnScreen(*chooser);

    turn(ui::isLandscape(GetParam().orientation) ? ui::Orientation::Portrait : ui::Orientation::LandscapeLeft);
    picture("reading-modes-after-turn");
    expectApartAndOnScreen(*chooser);
    if (MVReadToMeConstants::forCurrentDevice().panelHeight <= ui::Environment::current().screenSize().height) {
        for (const auto& button : { chooser->letMeReadButton(), chooser->autoPlayButton(), chooser->readToMeButton(),
                 chooser->closeReadToMeViewButton() })
            EXPECT_TRUE(uitest::isTouchable(*button));
    }
    EXPECT_TRUE(conflicts.empty()) << conflicts.joined();

    ASSERT_TRUE(tapAndSettle(*chooser->closeReadToMeViewButton()));
    EXPECT_FALSE(reader->presentedViewController()) << "the close button closes the chooser";
}

INSTANTIATE_TEST_SUITE_P(Holdings, ReadingModeJourney, everyHeldDevice(), heldDeviceName);

} // namespace
} // namespace lectoro::journeys
