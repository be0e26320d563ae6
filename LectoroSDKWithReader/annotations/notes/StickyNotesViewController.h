#pragma once

// The one editor of every note the reader shows: a sticky note, a contextual note on a
// highlighted passage, a note received from a member of a class, and a teacher's comment.
// It shows the passage above the note text, a strip of colour swatches, the comment
// thread with its field, a post row (cancel, post), a header (back, title, share, delete,
// more) with a small share/save pop-up, and microphones for dictation.
//
// It never stores anything: it edits the record it is given in place and reports each
// outcome through the blocks its owner sets (cancel, post, delete, comment, share); a
// block not set is skipped and the editor still closes. Views are built in code; the
// sizes the layout rules name are constraints whose constants tests read, and the frames
// follow them. Thread (StickyNotesComments.cpp), layout and keyboard
// (StickyNotesLayout.cpp) and dictation (StickyNotesDictation.cpp) have files of their own.

#include "LectoroSDKWithReader/annotations/notes/StickyNoteRules.h"
#include "platform/base/Error.h"
#include "platform/base/NotificationCenter.h"
#include "platform/base/Strings.h"
#include "platform/base/Value.h"
#include "platform/ui/Color.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/ViewController.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Button;
class Label;
class TableView;
class TextField;
class TextView;
class TapGestureRecognizer;
} // namespace ui

namespace lectoro {

class LectoroUser;
class LXMVThemeVO;
class MVReaderSettingModel;
class NoteVoiceRecognizer;
class SDKHighlightVO;

class StickyNotesViewController : public ui::ViewController {
public:
    using NoteAction = std::function<void(std::shared_ptr<SDKHighlightVO>)>;
    using NoteShareAction = std::function<void(
        std::shared_ptr<SDKHighlightVO>, const std::string& color, const std::string& noteText)>;

    static constexpr int popupSaveButtonTag = 400;
    static constexpr double headerHeight = 56.0;
    static constexpr double postRowHeight = 50.0;
    static constexpr double timeLabelHeight = 20.0;
    static constexpr double colorStripHeight = 40.0;
    static constexpr double padCardWidth = 540.0;

    static std::shared_ptr<StickyNotesViewController> create();
    ~StickyNotesViewController() override;
    std::string_view className() const override { return "StickyNotesViewController"; }

    // --- Set by the owner before presenting ---
    const std::shared_ptr<SDKHighlightVO>& currentHighlightVO() const { return m_record; }
    void setCurrentHighlightVO(std::shared_ptr<SDKHighlightVO> record) { m_record = std::move(record); }
    void setCurrentUser(std::shared_ptr<LectoroUser> user) { m_user = std::move(user); }
    const std::shared_ptr<MVReaderSettingModel>& userSettingsModel() const { return m_settings; }
    void setUserSettingsModel(std::shared_ptr<MVReaderSettingModel> settings)
    {
        m_settings = std::move(settings);
    }
    bool isAudioSearchNoteEnabled() const { return m_isAudioSearchNoteEnabled; }
    void setIsAudioSearchNoteEnabled(bool enabled) { m_isAudioSearchNoteEnabled = enabled; }
    void setTheme(std::shared_ptr<LXMVThemeVO> theme) { m_theme = std::move(theme); }
    void setNoteCancelAction(NoteAction action) { m_noteCancelAction = std::move(action); }
    void setNotePostAction(NoteAction action) { m_notePostAction = std::move(action); }
    void setNoteDeleteAction(NoteAction action) { m_noteDeleteAction = std::move(action); }
    void setPostCommentAction(NoteAction action) { m_postCommentAction = std::move(action); }
    void setNoteShareAction(NoteShareAction action) { m_noteShareAction = std::move(action); }
    // Runs whenever the editor is dismissed, whichever way it leaves (the back button calls
    // none of the blocks above): its owner ends what the editor's opening began.
    void setLeaveAction(std::function<void()> action) { m_leaveAction = std::move(action); }
    // The header share button's width: 50 or 0.
    void showShareButton(bool);
    // Dismisses the editor, animated, with no block (the share panel saved the note).
    void didTapOnShareNote();

    // --- Life cycle ---
    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidLayoutSubviews() override;
    ui::InterfaceOrientationMask supportedInterfaceOrientations() const override
    {
        return ui::InterfaceOrientationMask::All;
    }

    // --- The steps of opening, in their order ---
    void registerCellsAndSetColorsDate();
    void setupThemeColor();
    void updateView();
    void setUpDataForhighlight();
    void addShareSavePop();
    // The pop-up's buttons placed by its constraints, for the pop-up's current height.
    void layoutShareSavePopUp();

    // --- Actions (what each button runs) ---
    void backbuttonAciton();
    void deleteButtonAction();
    void shareButtonAction();
    void shareAction();
    void moreButtonAction();
    void hideSharePopUp();
    void postButtonAction();
    void saveButtonAction();
    void noteCancelButtonAction();
    void didSelectColorButton(int tag);
    // The tap recogniser's action: leave, asking first when something changed.
    void dismissController();
    // Whether the tap recogniser takes a touch on the view (ending editing first unless
    // the view is a button, a text field or the note view).
    bool shouldReceiveTouch(ui::View* touched);

    // --- Note text ---
    bool shouldChangeNoteText(base::Range, const std::string& replacement);
    void shouldChangeTextForTextView(const std::string& proposed, size_t length);

    // --- Comments (StickyNotesComments.cpp) ---
    bool shouldChangeCommentText(base::Range, const std::string& replacement);
    // Enables the send button for a non-zero count; answers whether the count fits.
    bool shouldChangeTextForTextField(size_t count);
    void commentPostButton();
    void reloadTable();
    const base::Value::List& commentsArray() const { return m_commentsArray; }

    // --- Layout and keyboard (StickyNotesLayout.cpp) ---
    void hideTableViewAndCommentsBoxHeight(double box);
    void heightOfViewsForNoteWithComments();
    void keyboardWillShow(const base::Notification&);
    void keyboardWillHide(const base::Notification&);
    bool isKeyboardOpen() const { return m_isKeyboardOpen; }
    // The card's height: the height of the container's frame.
    double cardHeight() const;

    // --- Dictation (StickyNotesDictation.cpp) ---
    void micButtonAciton();
    void commentMicButtonAciton();
    bool isVoiceManagerActive() const { return m_isVoiceManagerActive; }
    const std::shared_ptr<NoteVoiceRecognizer>& voiceManager() const { return m_voiceManager; }
    void showPermissionAlert();

    // --- State ---
    int selectedrow() const { return m_selectedrow; }
    const std::vector<std::string>& colorsArray() const { return m_colorsArray; }
    const std::string& noteTextViewText() const { return m_noteTextViewText; }
    const std::string& commnetTextFieldText() const { return m_commnetTextFieldText; }

    // --- Views and constraints ---
    const std::shared_ptr<ui::View>& stickyNoteContainerView() const { return m_stickyNoteContainerView; }
    const std::shared_ptr<ui::View>& containerView() const { return m_containerView; }
    const std::shared_ptr<ui::View>& headerView() const { return m_headerView; }
    const std::shared_ptr<ui::View>& backgroundView() const { return m_backgroundView; }
    const std::shared_ptr<ui::Button>& backButton() const { return m_backButton; }
    const std::shared_ptr<ui::Button>& titleButton() const { return m_titleButton; }
    const std::shared_ptr<ui::Button>& deleteButton() const { return m_deleteButton; }
    const std::shared_ptr<ui::Button>& shareButton() const { return m_shareButton; }
    const std::shared_ptr<ui::Button>& moreButton() const { return m_moreButton; }
    const std::shared_ptr<ui::Button>& postButton() const { return m_postButton; }
    const std::shared_ptr<ui::Button>& noteCancelButton() const { return m_noteCancelButton; }
    const std::shared_ptr<ui::View>& cancelPostButtonContainingView() const { return m_postRow; }
    const std::shared_ptr<ui::TextView>& selectedTextTextView() const { return m_selectedTextTextView; }
    const std::shared_ptr<ui::View>& selectedTextViewSeperationLineLbl() const { return m_separator; }
    const std::shared_ptr<ui::TextView>& noteTextView() const { return m_noteTextView; }
    const std::shared_ptr<ui::Label>& timeLabel() const { return m_timeLabel; }
    // The colour strip: one swatch button per colour, tagged index + 1.
    const std::shared_ptr<ui::View>& highlightColorsCollectionView() const { return m_colorStrip; }
    std::shared_ptr<ui::Button> swatchAtIndex(size_t) const;
    const std::shared_ptr<ui::TableView>& tableview() const { return m_tableview; }
    const std::shared_ptr<ui::View>& commentTextFieldContainingView() const { return m_commentBar; }
    const std::shared_ptr<ui::TextField>& enterYourCommentTextField() const { return m_commentField; }
    const std::shared_ptr<ui::Button>& commentPostButtonView() const { return m_commentPostButton; }
    const std::shared_ptr<ui::Button>& micButton() const { return m_micButton; }
    const std::shared_ptr<ui::Button>& micAnimateButton() const { return m_micAnimateButton; }
    const std::shared_ptr<ui::Button>& commentMicButton() const { return m_commentMicButton; }
    const std::shared_ptr<ui::Button>& commentMicAnimateButton() const { return m_commentMicAnimateButton; }
    const std::shared_ptr<ui::View>& popupView() const { return m_popupView; }
    // The share/save pop-up's buttons, bottom to top (no share button without sharing).
    const std::shared_ptr<ui::Button>& popupCloseButton() const { return m_popupCloseButton; }
    const std::shared_ptr<ui::Button>& popupSaveButton() const { return m_popupSaveButton; }
    const std::shared_ptr<ui::Button>& popupShareButton() const { return m_popupShareButton; }
    const std::shared_ptr<ui::TapGestureRecognizer>& tapRecognizer() const { return m_tapRecognizer; }

    const ui::ConstraintPtr& selectedTextContainingViewHtConstraint() const { return m_passageHeight; }
    const ui::ConstraintPtr& noteTextContainingViewHtConstraint() const { return m_noteHeight; }
    const ui::ConstraintPtr& commentViewHtConstraint() const { return m_commentBoxHeight; }
    const ui::ConstraintPtr& heightConstraintOfSaveBtnContainerView() const { return m_postRowHeight; }
    const ui::ConstraintPtr& topConstraintOfNoteTextView() const { return m_noteTopGap; }
    const ui::ConstraintPtr& containerViewBottomConstraint() const { return m_cardBottom; }
    const ui::ConstraintPtr& heightConstaraintOfContainerView() const { return m_cardHeight; }
    const ui::ConstraintPtr& heightConstraintOfSelectedNoteSeperator() const { return m_separatorHeight; }
    const ui::ConstraintPtr& sharedButtonWidthConstraint() const { return m_shareWidth; }
    const ui::ConstraintPtr& moreButtonWidthConstraint() const { return m_moreWidth; }
    const ui::ConstraintPtr& micButtonWidth() const { return m_micWidth; }
    const ui::ConstraintPtr& commentMicBtnWidth() const { return m_commentMicWidth; }
    const ui::ConstraintPtr& widthConstraintOFCollectionView() const { return m_stripWidth; }
    const ui::ConstraintPtr& heightConstaraintShareSavePopUp() const { return m_popupHeight; }

protected:
    StickyNotesViewController();

private:
    class Seat;
    friend class Seat;

    std::string localized(const std::string& key) const;
    bool isPad() const;
    bool isReceived() const;
    bool isShared() const;
    bool isInstructor() const;
    bool isTeacherReviewNote() const;
    // The record's own colour, or the chosen swatch's when the index is in the list.
    std::string chosenColor() const;
    bool colorChanged() const;
    bool textChanged() const;
    void applyHeaderColor(const std::string& hex);
    void setEnabled(ui::Button&, bool enabled, double disabledAlpha = 0.4);
    void reloadStrip();
    void buildViews();
    void buildHeader();
    void buildCard();
    void buildCommentBar();
    void setAccessibility();
    void setTextViewData();
    void updateStickyNoteIfItIsRecieved();
    void applyCommentBoxRuleAfterKeyboard();
    void startDictation(bool forComment);
    void applyDictation(bool forComment, const std::string& text, const std::optional<base::Error>&);
    void dismissAnimated(bool animated, std::function<void()> completion = {});
    double contentHeight(const ui::TextView&) const;
    bool hasPassageText() const;
    // Runs the work on the main queue while the editor is alive.
    void onMain(std::function<void(StickyNotesViewController&)>);

    std::shared_ptr<SDKHighlightVO> m_record;
    std::shared_ptr<LectoroUser> m_user;
    std::shared_ptr<MVReaderSettingModel> m_settings;
    std::shared_ptr<LXMVThemeVO> m_theme;
    bool m_isAudioSearchNoteEnabled = false;
    NoteAction m_noteCancelAction;
    NoteAction m_notePostAction;
    NoteAction m_noteDeleteAction;
    NoteAction m_postCommentAction;
    NoteShareAction m_noteShareAction;
    std::function<void()> m_leaveAction;

    std::vector<std::string> m_colorsArray;
    int m_selectedrow = 0;
    base::Value::List m_commentsArray;
    bool m_isKeyboardOpen = false;
    bool m_isVoiceManagerActive = false;
    std::string m_noteTextViewText;
    std::string m_commnetTextFieldText;
    std::shared_ptr<NoteVoiceRecognizer> m_voiceManager;
    std::shared_ptr<Seat> m_seat;
    std::vector<base::ObserverToken> m_observers;

    std::shared_ptr<ui::View> m_stickyNoteContainerView;
    std::shared_ptr<ui::View> m_containerView;
    std::shared_ptr<ui::View> m_headerView;
    std::shared_ptr<ui::View> m_backgroundView;
    // Below the container: the time, the colour strip and the post row.
    std::shared_ptr<ui::View> m_footerView;
    std::shared_ptr<ui::Button> m_backButton;
    std::shared_ptr<ui::Button> m_titleButton;
    std::shared_ptr<ui::Button> m_deleteButton;
    std::shared_ptr<ui::Button> m_shareButton;
    std::shared_ptr<ui::Button> m_moreButton;
    std::shared_ptr<ui::View> m_postRow;
    std::shared_ptr<ui::Button> m_postButton;
    std::shared_ptr<ui::Button> m_noteCancelButton;
    std::shared_ptr<ui::View> m_passageContainer;
    std::shared_ptr<ui::TextView> m_selectedTextTextView;
    std::shared_ptr<ui::View> m_separator;
    std::shared_ptr<ui::View> m_noteContainer;
    std::shared_ptr<ui::TextView> m_noteTextView;
    std::shared_ptr<ui::Label> m_timeLabel;
    std::shared_ptr<ui::View> m_colorStrip;
    std::vector<std::shared_ptr<ui::Button>> m_swatches;
    std::shared_ptr<ui::TableView> m_tableview;
    std::shared_ptr<ui::View> m_commentBar;
    std::shared_ptr<ui::TextField> m_commentField;
    std::shared_ptr<ui::Button> m_commentPostButton;
    std::shared_ptr<ui::Button> m_micButton;
    std::shared_ptr<ui::Button> m_micAnimateButton;
    std::shared_ptr<ui::Button> m_commentMicButton;
    std::shared_ptr<ui::Button> m_commentMicAnimateButton;
    std::shared_ptr<ui::View> m_popupView;
    // The pop-up's placement and its buttons' stacking, as data its layout follows.
    std::vector<ui::ConstraintPtr> m_popupConstraints;
    std::shared_ptr<ui::Button> m_popupCloseButton;
    std::shared_ptr<ui::Button> m_popupSaveButton;
    std::shared_ptr<ui::Button> m_popupShareButton;
    std::shared_ptr<ui::TapGestureRecognizer> m_tapRecognizer;

    ui::ConstraintPtr m_passageHeight;
    ui::ConstraintPtr m_noteHeight;
    ui::ConstraintPtr m_commentBoxHeight;
    ui::ConstraintPtr m_postRowHeight;
    ui::ConstraintPtr m_noteTopGap;
    ui::ConstraintPtr m_cardBottom;
    ui::ConstraintPtr m_cardHeight;
    ui::ConstraintPtr m_separatorHeight;
    ui::ConstraintPtr m_shareWidth;
    ui::ConstraintPtr m_moreWidth;
    ui::ConstraintPtr m_micWidth;
    ui::ConstraintPtr m_commentMicWidth;
    ui::ConstraintPtr m_stripWidth;
    ui::ConstraintPtr m_popupHeight;

    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace lectoro
