#pragma once

// The share-settings dialog: with whom the user's highlights are shared and from whom they
// are received in each class the book is assigned to (settings type 2), or with whom one
// note is shared (settings type 1). Users are listed by role with share (and receive)
// boxes; a class picker switches classes; Done saves into the class or the note record
// and tells the delegate, Cancel and a tap beside a tablet dialog drop every change.
// The rules live in ShareSettingsModel; this is the screen around them.

#include "LectoroSDKWithReader/mydata/LXShareSettingsCell.h"
#include "LectoroSDKWithReader/mydata/ShareSettingsModel.h"
#include "platform/base/Value.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class Button;
class GestureRecognizerDelegate;
class Label;
class TapGestureRecognizer;
class TextView;
} // namespace ui

namespace lectoro {

class LectoroUser;
class LXMVThemeVO;
class SDKBookClassInfoVO;
class SDKHighlightVO;

class LXShareSettingsControllerDelegate {
public:
    virtual ~LXShareSettingsControllerDelegate() = default;
    virtual void didClickOnShareSettingsCancelButton() { }
    // Settings type 2: the class with its lists as chosen.
    virtual void didClickOnShareSettingsSaveButton(std::shared_ptr<SDKBookClassInfoVO>) { }
    // Any other type: the note, marked shared and unsynced.
    virtual void didClickOnNoteShareSettingsSaveButton(std::shared_ptr<SDKHighlightVO>) { }
};

class LXShareSettingsController : public ui::ViewController,
                                  public ui::TableViewDataSource,
                                  public ui::TableViewDelegate,
                                  public LXShareSettingsCellDelegate {
public:
    static constexpr int64_t noteSettings = ShareSettingsTypeNote;
    static constexpr int64_t classSettings = ShareSettingsTypeBookLevel;
    static constexpr int userTableTag = 2;
    static constexpr int classTitleTag = 6000;
    static constexpr int classIconTag = 6001;
    static constexpr int pickerOutlineTag = 5000;

    static std::shared_ptr<LXShareSettingsController> create();
    std::string_view className() const override { return "LXShareSettingsController"; }

    // --- Inputs, set before setData and before the view loads ---
    std::shared_ptr<LXShareSettingsControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<LXShareSettingsControllerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }
    int64_t settingsType() const { return m_settingsType; }
    void setSettingsType(int64_t type) { m_settingsType = type; }
    const std::shared_ptr<SDKHighlightVO>& highlightVO() const { return m_highlightVO; }
    void setHighlightVO(std::shared_ptr<SDKHighlightVO> note) { m_highlightVO = std::move(note); }
    // Empty: the note's own text and colour are shown and kept.
    const std::string& noteText() const { return m_noteText; }
    void setNoteText(std::string text) { m_noteText = std::move(text); }
    const std::string& selectedColor() const { return m_selectedColor; }
    void setSelectedColor(std::string color) { m_selectedColor = std::move(color); }
    const std::shared_ptr<LectoroUser>& user() const { return m_user; }
    void setUser(std::shared_ptr<LectoroUser> user) { m_user = std::move(user); }
    bool isFromMydataController() const { return m_isFromMydataController; }
    void setIsFromMydataController(bool value) { m_isFromMydataController = value; }
    void setThemeVO(std::shared_ptr<LXMVThemeVO> theme) { m_theme = std::move(theme); }
    // The user's classes; the first one is shown. Reads settingsType, highlightVO and user.
    void setData(std::vector<std::shared_ptr<SDKBookClassInfoVO>> classes);

    const std::vector<std::shared_ptr<SDKBookClassInfoVO>>& classes() const { return m_classes; }
    // The class whose lists are saved: the first one until the user picks another.
    std::shared_ptr<SDKBookClassInfoVO> currentClass() const;
    // The class picker's choice.
    void selectClassAtIndex(size_t index);
    const ShareSettingsModel* model() const { return m_model.get(); }

    // --- Saving and closing ---
    // Done: book-level settings need the network (an alert otherwise, the dialog stays).
    void doneButtonTapped();
    void cancelButtonTapped();
    // A tap beside a tablet dialog: cancel, unsaved.
    void dismissController();
    // A host's scripted choice, saved at once: the class (type 2) takes these lists, or the
    // note is shared with these user ids.
    void saveClassSettings(const base::Value::List& shareList, const base::Value::List& receiveList);
    void saveNoteSharing(const base::Value::List& sharedUsers);
    // Cancel as the note road knows it.
    void cancel() { cancelButtonTapped(); }

    // --- Boxes and picker ---
    void shareAllButtonTapped();
    void receiveAllButtonTapped();
    void classListButtonTapped(ui::Button&);
    bool isPickerOpen() const { return m_pickerView != nullptr; }
    // The picker's entries, one per class in order (equal titles stay apart).
    std::vector<std::shared_ptr<ui::Button>> pickerEntries() const;

    // --- ViewController ---
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidLayoutSubviews() override;

    // --- Table ---
    int numberOfSectionsInTableView(ui::TableView&) override;
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    std::optional<double> heightForHeaderInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView&, int section) override;

    // --- Rows ---
    void didShareSettingEnabled(bool enabled, int64_t userId) override;
    void didReceiveSettingEnabled(bool enabled, int64_t userId) override;
    void didShareNoteWillAllStudents(ui::Button&) override;
    void didShareNoteWillAllTeachers(ui::Button&) override;

    // --- Elements ---
    const std::shared_ptr<ui::View>& containerView() const { return m_containerView; }
    const std::shared_ptr<ui::View>& headerView() const { return m_headerView; }
    const std::shared_ptr<ui::Button>& headerTitleBtn() const { return m_headerTitleBtn; }
    const std::shared_ptr<ui::Label>& settingsLabel() const { return m_settingsLabel; }
    const std::shared_ptr<ui::Label>& topShareLabel() const { return m_topShareLabel; }
    const std::shared_ptr<ui::Label>& receiveLabel() const { return m_receiveLabel; }
    const std::shared_ptr<ui::View>& allSelectionHolderView() const { return m_allSelectionHolderView; }
    const std::shared_ptr<ui::Button>& shareAllButton() const { return m_shareAllButton; }
    const std::shared_ptr<ui::Button>& receiveAllButton() const { return m_receiveAllButton; }
    const std::shared_ptr<ui::View>& classContainerView() const { return m_classContainerView; }
    const std::shared_ptr<ui::Button>& classNameButton() const { return m_classNameButton; }
    const std::shared_ptr<ui::Button>& dropDownButton() const { return m_dropDownButton; }
    const std::shared_ptr<ui::TableView>& shareUserListTable() const { return m_table; }
    const std::shared_ptr<ui::Label>& noDataLabel() const { return m_noDataLabel; }
    const std::shared_ptr<ui::TextView>& noteTextView() const { return m_noteTextView; }
    const std::shared_ptr<ui::TextView>& selectedTextTextView() const { return m_selectedTextTextView; }
    const std::shared_ptr<ui::Button>& cancelButton() const { return m_cancelButton; }
    const std::shared_ptr<ui::Button>& doneButton() const { return m_doneButton; }
    bool isDoneEnabled() const;

private:
    LXShareSettingsController() = default;
    std::shared_ptr<LXShareSettingsController> self();
    void buildViews();
    void placeRows();
    void updateFont();
    void updateView();
    void updateViewForNoteShare();
    void getDataForIndex(size_t index);
    void updateButton();
    void refreshDone();
    void saveShareSettings();
    void closeSelfOnTablet();
    void closePicker();
    void styleBox(ui::Button&, bool ticked) const;
    bool isNoteShare() const { return m_settingsType != classSettings; }

    std::weak_ptr<LXShareSettingsControllerDelegate> m_delegate;
    int64_t m_settingsType = noteSettings;
    std::shared_ptr<SDKHighlightVO> m_highlightVO;
    std::string m_noteText;
    std::string m_selectedColor;
    std::shared_ptr<LectoroUser> m_user;
    bool m_isFromMydataController = false;
    std::shared_ptr<LXMVThemeVO> m_theme;
    std::vector<std::shared_ptr<SDKBookClassInfoVO>> m_classes;
    std::unique_ptr<ShareSettingsModel> m_model;

    std::shared_ptr<ui::View> m_containerView;
    std::shared_ptr<ui::View> m_headerView;
    std::shared_ptr<ui::Button> m_headerTitleBtn;
    std::shared_ptr<ui::Button> m_backBtn;
    std::shared_ptr<ui::Label> m_settingsLabel;
    std::shared_ptr<ui::Label> m_topShareLabel;
    std::shared_ptr<ui::Label> m_receiveLabel;
    std::shared_ptr<ui::View> m_allSelectionHolderView;
    std::shared_ptr<ui::Button> m_shareAllButton;
    std::shared_ptr<ui::Button> m_receiveAllButton;
    std::shared_ptr<ui::View> m_classContainerView;
    std::shared_ptr<ui::Button> m_classNameButton;
    std::shared_ptr<ui::Button> m_dropDownButton;
    std::shared_ptr<ui::Button> m_pickerOutline;
    std::shared_ptr<ui::View> m_pickerView;
    std::shared_ptr<ui::TableView> m_table;
    std::shared_ptr<ui::Label> m_noDataLabel;
    std::shared_ptr<ui::View> m_selectedTextContainerView;
    std::shared_ptr<ui::TextView> m_noteTextView;
    std::shared_ptr<ui::TextView> m_selectedTextTextView;
    std::shared_ptr<ui::View> m_bottomBarView;
    std::shared_ptr<ui::Button> m_cancelButton;
    std::shared_ptr<ui::Button> m_doneButton;
    std::shared_ptr<ui::TapGestureRecognizer> m_tapBeside;
    std::shared_ptr<ui::GestureRecognizerDelegate> m_tapBesideGate;
};

} // namespace lectoro
