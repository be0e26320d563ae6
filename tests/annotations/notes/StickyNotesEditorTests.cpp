#include "annotations/AnnotationsTestSupport.h"
#include "reader/UserTaps.h"

#include "LectoroSDKWithReader/annotations/notes/NoteVoiceRecognizer.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesSeat.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/media/AudioSession.h"
#include "platform/media/MediaError.h"
#include "platform/media/SpeechRecognizer.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

namespace lectoro::annotationstest {
namespace {

std::string editorText(const std::string& key)
{
    return LocalizationHelper::localizedStringWithKey(key);
}

class StickyNotesEditor : public AnnotationsTest {
protected:
    void SetUp() override
    {
        AnnotationsTest::SetUp();
        m_context.user->firstName = "Ada";
        m_context.user->lastName = "Byron";
        m_settings->setIsSharingEnabled(true);
        m_presenter = ui::ViewController::create();
        uitest::showInWindow(m_presenter);
    }

    void TearDown() override
    {
        m_editor.reset();
        media::SpeechRecognizer::resetForTesting();
        media::AudioSession::sharedInstance().reset();
        base::waitForBackgroundWork();
        AnnotationsTest::TearDown();
    }

    std::shared_ptr<SDKHighlightVO> note(const std::string& text, const std::string& colour = "#B2")
    {
        auto record = std::make_shared<SDKHighlightVO>();
        record->localID = "n1";
        record->text = "the passage";
        record->noteText = text;
        record->backgroundColor = colour;
        record->createdDate = "2024-12-30 09:15:00.000";
        return record;
    }

    // Opens the editor for the record as the note road does, writing down its blocks.
    StickyNotesViewController& open(const std::shared_ptr<SDKHighlightVO>& record)
    {
        m_editor = StickyNotesViewController::create();
        m_editor->setCurrentUser(m_context.user);
        m_editor->setUserSettingsModel(m_settings);
        m_editor->setIsAudioSearchNoteEnabled(true);
        m_editor->setCurrentHighlightVO(record);
        m_editor->setNotePostAction(
            [this](auto r) { m_blocks.push_back("post:" + r->noteText + ":" + r->backgroundColor); });
        m_editor->setNoteCancelAction([this](auto) { m_blocks.push_back("cancel"); });
        m_editor->setNoteDeleteAction([this](auto) { m_blocks.push_back("delete"); });
        m_editor->setPostCommentAction([this](auto r) {
            m_blocks.push_back("comment:" + std::to_string(r->noteComments.asList()->size()));
        });
        m_editor->setNoteShareAction([this](auto, const std::string& colour, const std::string& text) {
            m_blocks.push_back("share:" + colour + ":" + text);
        });
        m_editor->setTheme(m_theme);
        m_presenter->presentViewController(m_editor, false);
        uitest::completePresentations();
        base::RunLoop::main().runUntilIdle();
        return *m_editor;
    }

    bool isShown() const { return m_presenter->presentedViewController() == m_editor; }

    std::shared_ptr<ui::ViewController> m_presenter;
    std::shared_ptr<StickyNotesViewController> m_editor;
    std::vector<std::string> m_blocks;
};

TEST_F(StickyNotesEditor, ANoteHoldsAtMost820Utf16UnitsAndAPastePastThemIsRefusedWhole)
{
    auto& editor = open(note(""));
    auto& view = *editor.noteTextView();
    EXPECT_TRUE(view.isFirstResponder());
    ASSERT_TRUE(view.insertText(std::string(818, 'a')));
    // An emoji is two units: it fits exactly, after which nothing more does.
    ASSERT_TRUE(view.insertText("\xF0\x9F\x98\x80"));
    EXPECT_EQ(base::utf16Length(view.text()), 820u);
    EXPECT_FALSE(view.insertText("b"));
    EXPECT_FALSE(view.replaceRange({ 0, 1 }, "xy"));
    EXPECT_EQ(base::utf16Length(view.text()), 820u);
    EXPECT_TRUE(view.replaceRange({ 0, 1 }, "x"));

    view.setText(std::string(800, 'a'));
    EXPECT_FALSE(
        view.replaceRange({ 800, 0 }, std::string(10, 'p') + "\xF0\x9F\x98\x80" + std::string(10, 'q')));
    EXPECT_EQ(view.text(), std::string(800, 'a'));
}

TEST_F(StickyNotesEditor, ANewNoteStartsWithPostAndShareOffAndTypingTurnsThemOn)
{
    auto& editor = open(note(""));
    EXPECT_FALSE(editor.postButton()->isEnabled());
    EXPECT_FALSE(editor.shareButton()->isEnabled());
    editor.noteTextView()->insertText("hello");
    EXPECT_TRUE(editor.postButton()->isEnabled());
    EXPECT_TRUE(editor.shareButton()->isEnabled());
    EXPECT_TRUE(editor.deleteButton()->isEnabled());
}

TEST_F(StickyNotesEditor, AReceivedNoteIsReadOnlyInItsOwnColourAndNeverPrompts)
{
    auto record = note("from a friend", "#FF0000");
    record->isReceived = true;
    auto& editor = open(record);
    EXPECT_FALSE(editor.postButton()->isEnabled());
    EXPECT_FALSE(editor.shareButton()->isEnabled());
    EXPECT_FALSE(editor.deleteButton()->isEnabled());
    EXPECT_FALSE(editor.noteTextView()->isEditable());
    EXPECT_TRUE(editor.highlightColorsCollectionView()->isHidden());
    EXPECT_TRUE(editor.moreButton()->isHidden());
    EXPECT_TRUE(editor.cancelPostButtonContainingView()->isHidden());
    EXPECT_EQ(editor.heightConstraintOfSaveBtnContainerView()->constant(), 0.0);
    EXPECT_EQ(editor.moreButtonWidthConstraint()->constant(), 2.0);
    EXPECT_EQ(record->backgroundColor, "#FF0000");
    EXPECT_EQ(editor.headerView()->backgroundColor(), ui::Color::red());

    editor.dismissController();
    EXPECT_EQ(uitest::topmostAlert(), nullptr);
    EXPECT_EQ(m_blocks, std::vector<std::string> { "cancel" });
}

TEST_F(StickyNotesEditor, ColourNotOfferedGivesWayToTheFirstAndAColourChangeAloneEnablesPost)
{
    auto record = note("words", "#ZZ");
    auto& editor = open(record);
    EXPECT_EQ(editor.selectedrow(), 0);
    EXPECT_EQ(record->backgroundColor, "#A1");
    EXPECT_FALSE(editor.postButton()->isEnabled());

    ASSERT_TRUE(testing::tapAsUser(*editor.swatchAtIndex(2)));
    EXPECT_TRUE(editor.postButton()->isEnabled());
    auto save = std::dynamic_pointer_cast<ui::Button>(
        editor.view()->viewWithTag(StickyNotesViewController::popupSaveButtonTag));
    ASSERT_TRUE(save);
    EXPECT_TRUE(save->isEnabled());
    ASSERT_TRUE(testing::tapAsUser(*editor.swatchAtIndex(0)));
    EXPECT_FALSE(editor.postButton()->isEnabled());
    EXPECT_FALSE(save->isEnabled());
}

TEST_F(StickyNotesEditor, SavingPostsTheTrimmedTextInTheChosenColourAndABlankNoteStaysOpen)
{
    auto& editor = open(note(""));
    editor.noteTextView()->insertText("   \n ");
    ASSERT_TRUE(testing::tapAsUser(*editor.swatchAtIndex(1)));
    // A blank note in its own colour offers nothing to post.
    EXPECT_FALSE(editor.postButton()->isEnabled());
    EXPECT_FALSE(editor.popupSaveButton()->isEnabled());
    EXPECT_TRUE(isShown());

    ASSERT_TRUE(testing::tapAsUser(*editor.moreButton()));
    ASSERT_TRUE(testing::tapAsUser(*editor.popupShareButton()));
    EXPECT_TRUE(m_blocks.empty());

    editor.noteTextView()->setText("");
    editor.noteTextView()->insertText("  my note \n");
    ASSERT_TRUE(testing::tapAsUser(*editor.shareButton()));
    EXPECT_EQ(m_blocks, std::vector<std::string> { "share:#B2:my note" });
    EXPECT_TRUE(isShown());
    ASSERT_TRUE(testing::tapAsUser(*editor.postButton()));
    uitest::completePresentations();
    EXPECT_EQ(m_blocks.back(), "post:my note:#B2");
    EXPECT_FALSE(isShown());
}

TEST_F(StickyNotesEditor, DeleteAsksFirstAndOnlyYesDeletes)
{
    auto& editor = open(note("words"));
    ASSERT_TRUE(testing::tapAsUser(*editor.deleteButton()));
    uitest::completePresentations();
    ASSERT_TRUE(uitest::tapAction(editorText("NO_ALERT_BUTTON")));
    uitest::completePresentations();
    EXPECT_TRUE(m_blocks.empty());
    EXPECT_TRUE(isShown());

    ASSERT_TRUE(testing::tapAsUser(*editor.deleteButton()));
    uitest::completePresentations();
    ASSERT_TRUE(uitest::tapAction(editorText("YES_ALERT_BUTTON")));
    uitest::completePresentations();
    EXPECT_EQ(m_blocks, std::vector<std::string> { "delete" });
    EXPECT_FALSE(isShown());
}

TEST_F(StickyNotesEditor, LeavingWithChangesAsksAndCancelLeavesWithoutSaving)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    auto& editor = open(note(""));
    editor.noteTextView()->insertText("draft");
    // On an iPad only a touch outside the card reaches the recogniser.
    EXPECT_TRUE(editor.shouldReceiveTouch(editor.view().get()));
    EXPECT_FALSE(editor.shouldReceiveTouch(editor.containerView().get()));

    editor.dismissController();
    uitest::completePresentations();
    ASSERT_TRUE(uitest::topmostAlert());
    ASSERT_TRUE(uitest::tapAction(editorText("CANCEL")));
    uitest::completePresentations();
    EXPECT_EQ(m_blocks, std::vector<std::string> { "cancel" });
    EXPECT_FALSE(isShown());
}

TEST_F(StickyNotesEditor, OkOnTheSavePromptWithABlankNoteKeepsTheColourAndStaysOpen)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    ui::Environment::current().setScreenSize({ 1024, 768 });
    auto record = note("");
    auto& editor = open(record);
    editor.noteTextView()->insertText("   ");
    ASSERT_TRUE(testing::tapAsUser(*editor.swatchAtIndex(2)));
    editor.dismissController();
    uitest::completePresentations();
    ASSERT_TRUE(uitest::tapAction(editorText("OK")));
    uitest::completePresentations();
    EXPECT_TRUE(m_blocks.empty());
    EXPECT_TRUE(isShown());
    EXPECT_EQ(record->backgroundColor, "#C3");
    EXPECT_EQ(record->noteText, "");
}

TEST_F(StickyNotesEditor, ANoteWithCommentsOpensOnItsThreadWithoutThePostRow)
{
    auto record = note("a long enough note");
    base::Value::List thread;
    for (const char* who : { "5000000000", "77" }) {
        base::Value::Dictionary comment;
        comment.set("Text", std::string("from ") + who);
        comment.set("UserID", who);
        comment.set("DisplayName", "Somebody Else");
        comment.set("Date", "2024-12-30 09:15:00.000");
        thread.push_back(base::Value(std::move(comment)));
    }
    record->noteComments = base::Value(thread);
    auto& editor = open(record);
    base::RunLoop::main().advanceBy(0.3);
    EXPECT_FALSE(editor.noteTextView()->isEditable());
    EXPECT_TRUE(editor.cancelPostButtonContainingView()->isHidden());
    EXPECT_EQ(editor.heightConstraintOfSaveBtnContainerView()->constant(), 0.0);
    EXPECT_FALSE(editor.tableview()->isHidden());
    EXPECT_EQ(editor.tableview()->numberOfRowsInSection(0), 2);
    auto other = std::dynamic_pointer_cast<StickyNoteCommentCell>(
        editor.tableview()->cellForRowAtIndexPath({ 0, 1 }));
    ASSERT_TRUE(other);
    EXPECT_TRUE(other->containerViewForMyComment()->isHidden());
    EXPECT_EQ(other->stickyCommentCreatedBy()->text(), "Somebody Else");
    EXPECT_FALSE(other->stickyCommentDateTimeLbl()->text().empty());
}

TEST_F(StickyNotesEditor, TheMoreButtonUnfoldsTheSharePopUpLaidOutAndItsCloseFoldsItAway)
{
    struct Case {
        bool sharing;
        double height;
        // Close, save and share, bottom to top: each 6 points into the one below.
        std::vector<ui::Rect> buttons;
    };
    const Case cases[] = {
        { true, 156.0, { { { 0, 100 }, { 45, 56 } }, { { 0, 50 }, { 45, 56 } }, { { 0, 0 }, { 45, 56 } } } },
        { false, 104.0, { { { 0, 49 }, { 45, 55 } }, { { 0, 0 }, { 45, 55 } } } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sharing);
        m_settings->setIsSharingEnabled(c.sharing);
        auto& editor = open(note("words"));
        ASSERT_TRUE(editor.popupView());
        EXPECT_TRUE(editor.popupView()->isHidden());
        ASSERT_TRUE(testing::tapAsUser(*editor.moreButton()));
        EXPECT_FALSE(editor.popupView()->isHidden());
        EXPECT_TRUE(editor.moreButton()->isHidden());
        EXPECT_EQ(editor.heightConstaraintShareSavePopUp()->constant(), c.height);
        EXPECT_EQ(editor.popupView()->frame().size, (ui::Size { 45, c.height }));
        std::vector<std::shared_ptr<ui::Button>> buttons { editor.popupCloseButton(),
            editor.popupSaveButton() };
        if (c.sharing) {
            buttons.push_back(editor.popupShareButton());
        } else {
            EXPECT_FALSE(editor.popupShareButton());
        }
        ASSERT_EQ(buttons.size(), c.buttons.size());
        for (size_t index = 0; index < buttons.size(); ++index) {
            ASSERT_TRUE(buttons[index]);
            EXPECT_EQ(buttons[index]->frame(), c.buttons[index]) << index;
            // Save starts disabled; the others take a finger.
            if (buttons[index] != editor.popupSaveButton()) {
                EXPECT_TRUE(testing::isTappableAsUser(*buttons[index])) << index;
            }
        }

        ASSERT_TRUE(testing::tapAsUser(*editor.popupCloseButton()));
        base::RunLoop::main().advanceBy(0.5);
        EXPECT_TRUE(editor.popupView()->isHidden());
        EXPECT_FALSE(editor.moreButton()->isHidden());
        EXPECT_EQ(editor.heightConstaraintShareSavePopUp()->constant(), 60.0);
        m_editor->dismissViewControllerAnimated(false);
        uitest::completePresentations();
    }
}

// The card's parts lie inside it, one under the other, so a finger reaches each: the
// header's buttons, the note, its microphone, every swatch and the post row, on a phone and
// a tablet, with a passage of any length.
TEST_F(StickyNotesEditor, AFingerReachesEveryPartOfTheCard)
{
    struct Case {
        const char* what;
        ui::UserInterfaceIdiom idiom;
        ui::Size screen;
        size_t passage;
    };
    for (const auto& c : { Case { "phone", ui::UserInterfaceIdiom::Phone, { 375, 667 }, 10 },
             Case { "small phone, long passage", ui::UserInterfaceIdiom::Phone, { 320, 568 }, 3000 },
             Case { "tablet", ui::UserInterfaceIdiom::Pad, { 1024, 768 }, 10 },
             Case { "tablet, long passage", ui::UserInterfaceIdiom::Pad, { 768, 1024 }, 3000 } }) {
        SCOPED_TRACE(c.what);
        ui::Environment::current().setIdiom(c.idiom);
        ui::Environment::current().setScreenSize(c.screen);
        auto record = note("words");
        record->text = std::string(c.passage, 'p');
        auto& editor = open(record);
        base::RunLoop::main().runUntilIdle();
        for (const auto& part : std::vector<std::shared_ptr<ui::View>> { editor.backButton(),
                 editor.deleteButton(), editor.shareButton(), editor.moreButton(), editor.noteTextView(),
                 editor.micButton(), editor.noteCancelButton() })
            EXPECT_TRUE(testing::isTappableAsUser(*part)) << part->accessibilityIdentifier();
        for (size_t index = 0; index < editor.colorsArray().size(); ++index)
            EXPECT_TRUE(testing::isTappableAsUser(*editor.swatchAtIndex(index))) << index;
        // A new colour lets the note be posted from the post row.
        ASSERT_TRUE(testing::tapAsUser(*editor.swatchAtIndex(3)));
        ASSERT_TRUE(testing::tapAsUser(*editor.postButton()));
        uitest::completePresentations();
        EXPECT_EQ(m_blocks.back(), "post:words:#D4");
        EXPECT_FALSE(isShown());
    }
}

TEST_F(StickyNotesEditor, EachSwatchIsARingAroundAnInsetDisc)
{
    struct Case {
        ui::UserInterfaceIdiom idiom;
        double ring;
        double disc;
    };
    for (const auto& c : { Case { ui::UserInterfaceIdiom::Phone, 15.0, 10.0 },
             Case { ui::UserInterfaceIdiom::Pad, 16.0, 11.0 } }) {
        ui::Environment::current().setIdiom(c.idiom);
        auto& editor = open(note("words", "#B2"));
        ASSERT_EQ(editor.colorsArray().size(), 5u);
        for (size_t index = 0; index < editor.colorsArray().size(); ++index) {
            auto disc = editor.swatchAtIndex(index);
            ASSERT_TRUE(disc);
            auto ring = disc->superview();
            ASSERT_TRUE(ring);
            EXPECT_EQ(ring->frame().size, (ui::Size { 2 * c.ring, 2 * c.ring }));
            EXPECT_EQ(ring->layer()->cornerRadius(), c.ring);
            EXPECT_EQ(ring->layer()->borderWidth(), 1.0);
            EXPECT_TRUE(ring->clipsToBounds());
            EXPECT_EQ(disc->frame(), (ui::Rect { { 5, 5 }, { 2 * c.disc, 2 * c.disc } }));
            EXPECT_EQ(disc->layer()->cornerRadius(), c.disc);
            EXPECT_EQ(disc->layer()->borderWidth(), 0.0);
            EXPECT_EQ(disc->tag(), static_cast<int>(index) + 1);
            // Only the chosen colour's ring shows.
            const bool chosen = index == 1;
            EXPECT_EQ(ring->layer()->borderColor() == ui::Color::clear(), !chosen) << index;
        }
        m_editor->dismissViewControllerAnimated(false);
        uitest::completePresentations();
    }
}

TEST_F(StickyNotesEditor, AOutsideTapOnAPhoneNeverLeaves)
{
    auto& editor = open(note("words"));
    EXPECT_FALSE(editor.shouldReceiveTouch(editor.view().get()));
}

TEST_F(StickyNotesEditor, ACommentIsAppendedHandedOverAndShownAsTheUsersOwn)
{
    auto record = note("shared words");
    record->isShare = true;
    m_context.user->role = "INSTRUCTOR";
    auto& editor = open(record);
    EXPECT_EQ(editor.commentViewHtConstraint()->constant(), StickyNoteRules::commentBoxHeight);
    auto& field = *editor.enterYourCommentTextField();
    ASSERT_TRUE(field.becomeFirstResponder());
    ASSERT_TRUE(field.insertText(" "));
    EXPECT_TRUE(editor.commentPostButtonView()->isEnabled());
    editor.commentPostButton();
    base::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(m_blocks.empty());

    field.setText("");
    ASSERT_TRUE(field.insertText(" nice point "));
    editor.commentPostButton();
    base::RunLoop::main().runUntilIdle();
    base::RunLoop::main().advanceBy(0.3);
    EXPECT_EQ(m_blocks, std::vector<std::string> { "comment:1" });
    const auto& comment = (*record->noteComments.asList())[0];
    EXPECT_EQ(comment["Text"].asString(), " nice point ");
    EXPECT_EQ(comment["UserID"].asString(), "5000000000");
    EXPECT_EQ(field.text(), "");
    EXPECT_FALSE(editor.commentPostButtonView()->isEnabled());
    EXPECT_EQ(editor.commentsArray().size(), 1u);
    EXPECT_TRUE(isShown());

    editor.tableview()->layoutIfNeeded();
    auto cell = std::dynamic_pointer_cast<StickyNoteCommentCell>(
        editor.tableview()->cellForRowAtIndexPath({ 0, 0 }));
    ASSERT_TRUE(cell);
    EXPECT_FALSE(cell->containerViewForMyComment()->isHidden());
    EXPECT_TRUE(cell->containerView()->isHidden());
    EXPECT_EQ(cell->nameLablForMyComment()->text(), editorText("Me"));
}

TEST_F(StickyNotesEditor, ACommentFieldHoldsAtMost250CountedUnits)
{
    auto record = note("shared words");
    record->isShare = true;
    m_context.user->role = "INSTRUCTOR";
    auto& editor = open(record);
    auto& field = *editor.enterYourCommentTextField();
    ASSERT_TRUE(field.becomeFirstResponder());
    ASSERT_TRUE(field.insertText(std::string(250, 'c')));
    EXPECT_FALSE(field.insertText("d"));
    EXPECT_EQ(field.text().size(), 250u);
}

class StickyNotesDictation : public StickyNotesEditor {
protected:
    void SetUp() override
    {
        StickyNotesEditor::SetUp();
        m_recognizer = media::ScriptedSpeechRecognizer::create();
        media::SpeechRecognizer::setFactory([this](const std::string&) { return m_recognizer; });
        media::SpeechRecognizer::setAuthorizationResponder(
            [](auto answer) { answer(media::SpeechRecognizerAuthorizationStatus::Authorized); });
        media::AudioSession::sharedInstance().setRecordPermissionResponder(
            [](auto answer) { answer(media::RecordPermission::Granted); });
    }

    void hear(const std::string& words) { m_recognizer->setScript({ { 0.5, words, true, std::nullopt } }); }

    void settle()
    {
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
        base::RunLoop::main().advanceBy(1.0);
        base::RunLoop::main().runUntilIdle();
    }

    std::shared_ptr<media::ScriptedSpeechRecognizer> m_recognizer;
};

TEST_F(StickyNotesDictation, DictationAddsToTheNoteButNeverPastItsLimit)
{
    auto& editor = open(note(""));
    editor.noteTextView()->insertText("plant");
    hear("cell");
    editor.micButtonAciton();
    settle();
    EXPECT_EQ(editor.noteTextView()->text(), "plant cell");
    EXPECT_FALSE(editor.isVoiceManagerActive());
    EXPECT_TRUE(editor.postButton()->isEnabled());

    editor.noteTextView()->setText(std::string(815, 'a'));
    hear("hello world");
    editor.micButtonAciton();
    settle();
    EXPECT_EQ(editor.noteTextView()->text(), std::string(815, 'a') + " hell");
}

TEST_F(StickyNotesDictation, DictatedCommentsStopAt250)
{
    auto record = note("shared words");
    record->isShare = true;
    m_context.user->role = "INSTRUCTOR";
    auto& editor = open(record);
    editor.enterYourCommentTextField()->setText(std::string(245, 'c'));
    hear("and more words");
    editor.commentMicButtonAciton();
    settle();
    EXPECT_EQ(editor.enterYourCommentTextField()->text(), std::string(245, 'c') + " and ");
    EXPECT_TRUE(editor.commentPostButtonView()->isEnabled());
}

TEST_F(StickyNotesDictation, HearingNothingSaysSoAndLeavesTheText)
{
    auto& editor = open(note(""));
    editor.noteTextView()->insertText("kept");
    m_recognizer->setScript(
        { { 0.5, "", false, media::speechError(media::speechErrorNoSpeech, "No speech was detected.") } });
    editor.micButtonAciton();
    settle();
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(), std::string("No speech was detected."));
    EXPECT_EQ(editor.noteTextView()->text(), "kept");
}

TEST_F(StickyNotesDictation, ADeniedPermissionShowsTheAlertAndHearsNothing)
{
    media::SpeechRecognizer::setAuthorizationResponder(
        [](auto answer) { answer(media::SpeechRecognizerAuthorizationStatus::Denied); });
    auto& editor = open(note(""));
    hear("cell");
    editor.micButtonAciton();
    settle();
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(), editorText("VOCIE_RECOGNITION_PERMISSIONS"));
    EXPECT_EQ(editor.noteTextView()->text(), "");
}

TEST_F(StickyNotesEditor, PadKeyboardShrinksTheCardWhileTheNoteIsTypedAndRestoresIt)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    ui::Environment::current().setScreenSize({ 768, 1024 });
    auto record = note("");
    record->text = std::string(400, 'w');
    auto& editor = open(record);
    ASSERT_TRUE(editor.noteTextView()->isFirstResponder());
    EXPECT_EQ(editor.heightConstaraintOfContainerView()->constant(), 536.0);
    const double fullHeight = editor.view()->frame().size.height;

    ui::Environment::current().showKeyboard({ { 0, 700 }, { 768, 324 } });
    base::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(editor.isKeyboardOpen());
    EXPECT_EQ(editor.heightConstaraintOfContainerView()->constant(), 400.0);
    EXPECT_EQ(editor.selectedTextContainingViewHtConstraint()->constant(), 70.0);
    EXPECT_EQ(editor.noteTextContainingViewHtConstraint()->constant(), 330.0);
    EXPECT_EQ(editor.view()->frame().size.height, fullHeight - 324.0);

    // A second show before a hide changes nothing.
    editor.selectedTextContainingViewHtConstraint()->setConstant(1.0);
    ui::Environment::current().showKeyboard({ { 0, 600 }, { 768, 424 } });
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(editor.selectedTextContainingViewHtConstraint()->constant(), 1.0);

    ui::Environment::current().hideKeyboard();
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_FALSE(editor.isKeyboardOpen());
    EXPECT_EQ(editor.heightConstaraintOfContainerView()->constant(), 536.0);
}

TEST_F(StickyNotesEditor, PhoneKeyboardOnA812PointScreenLeavesTheHomeIndicatorOut)
{
    ui::Environment::current().setScreenSize({ 375, 812 });
    auto& editor = open(note(""));
    ASSERT_TRUE(editor.noteTextView()->isFirstResponder());
    ui::Environment::current().showKeyboard({ { 0, 476 }, { 375, 336 } });
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_EQ(editor.containerViewBottomConstraint()->constant(), 336.0 - 34.0);
    ui::Environment::current().hideKeyboard();
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_EQ(editor.containerViewBottomConstraint()->constant(), 0.0);
}

} // namespace
} // namespace lectoro::annotationstest
