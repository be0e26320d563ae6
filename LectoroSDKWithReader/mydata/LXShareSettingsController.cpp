#include "LectoroSDKWithReader/mydata/LXShareSettingsController.h"

#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/mydata/MyDataStyle.h"
#include "LectoroSDKWithReader/mydata/ShareSettingsStyle.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/base/Strings.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TextView.h"

#include <algorithm>

namespace lectoro {

namespace {

constexpr double sharePickerHeight = 150;
constexpr double shareBarHeight = 60;

// The role id every class is stamped with: the first role's "id" of the signed-in user.
std::string shareRoleID(const std::shared_ptr<LectoroUser>& user)
{
    if (!user)
        return {};
    const auto* roles = user->roles.asList();
    if (!roles || roles->empty())
        return {};
    const base::Value& id = roles->front()["id"];
    return id.isNull() ? std::string() : id.description();
}


// Taps beside the dialog's card close a tablet dialog; never a tap on the card itself.
class ShareSettingsTapBeside final : public ui::GestureRecognizerDelegate {
public:
    explicit ShareSettingsTapBeside(std::weak_ptr<LXShareSettingsController> dialog)
        : m_dialog(std::move(dialog))
    {
    }
    bool shouldReceiveTouch(ui::GestureRecognizer&, ui::View* touched) override
    {
        auto dialog = m_dialog.lock();
        if (!dialog || !dialog->isViewLoaded() || touched != dialog->view().get())
            return false;
        return isIpad()
            && (dialog->settingsType() == LXShareSettingsController::classSettings
                || dialog->isFromMydataController());
    }

private:
    std::weak_ptr<LXShareSettingsController> m_dialog;
};

} // namespace

double shareBoxFontSize()
{
    return isIpad() ? 22 : 18;
}

ui::Font shareLightFont(double size)
{
    return getCustomFontForWeight(size, ui::FontWeight::Light).value_or(ui::Font::systemFont(size));
}

ui::Font shareRegularFont(double size)
{
    return getCustomFontForWeight(size, ui::FontWeight::Regular).value_or(ui::Font::systemFont(size));
}

bool shareKeyIs(const std::string& key, const char* wanted)
{
    return base::lowercase(key) == wanted;
}

std::shared_ptr<LXShareSettingsController> LXShareSettingsController::create()
{
    return std::shared_ptr<LXShareSettingsController>(new LXShareSettingsController());
}

std::shared_ptr<LXShareSettingsController> LXShareSettingsController::self()
{
    return std::static_pointer_cast<LXShareSettingsController>(shared_from_this());
}

void LXShareSettingsController::setData(std::vector<std::shared_ptr<SDKBookClassInfoVO>> classes)
{
    std::erase(classes, nullptr);
    m_classes = std::move(classes);
    m_model = std::make_unique<ShareSettingsModel>(static_cast<int16_t>(m_settingsType), m_highlightVO);
    m_model->setData(m_classes, shareRoleID(m_user));
}

std::shared_ptr<SDKBookClassInfoVO> LXShareSettingsController::currentClass() const
{
    return m_model ? m_model->bookClassInfo() : nullptr;
}

void LXShareSettingsController::selectClassAtIndex(size_t index)
{
    if (!m_model || index >= m_classes.size())
        return;
    m_model->selectClass(index);
    if (isViewLoaded()) {
        if (auto title = view()->viewWithTag(classTitleTag))
            std::static_pointer_cast<ui::Button>(title)->setTitle(m_classes[index]->classTitle);
        m_table->reloadData();
        updateButton();
        refreshDone();
    }
    closePicker();
}

bool LXShareSettingsController::isDoneEnabled() const
{
    return m_model && m_model->isDoneEnabled();
}

// MARK: - Building

void LXShareSettingsController::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    buildViews();
    updateFont();
    updateViewForNoteShare();
    m_table->setTag(userTableTag);
    m_table->setDataSource(self());
    m_table->setDelegate(self());
    m_table->registerCellClass<LXShareSettingsCell>(LXShareSettingsCell::reuseIdentifier);
    updateView();
    std::weak_ptr<LXShareSettingsController> weak = self();
    m_tapBeside = ui::TapGestureRecognizer::create([weak](ui::GestureRecognizer&) {
        if (auto dialog = weak.lock())
            dialog->dismissController();
    });
    m_tapBesideGate = std::make_shared<ShareSettingsTapBeside>(weak);
    m_tapBeside->setDelegate(m_tapBesideGate);
    m_tapBeside->setCancelsTouchesInView(false);
    view()->addGestureRecognizer(m_tapBeside);

    m_backBtn->setAccessibilityIdentifier("shareSettingsBackBtn");
    m_headerTitleBtn->setAccessibilityIdentifier("shareSettingsTitleButton");
    m_classNameButton->setAccessibilityIdentifier("shareSettingsClassNameBtn");
    m_dropDownButton->setAccessibilityIdentifier("shareSettingsDropDownBtn");
    m_topShareLabel->setAccessibilityIdentifier("shareSettingsShareLabel");
    m_shareAllButton->setAccessibilityIdentifier("shareSettingsShareAllBtn");
    m_receiveLabel->setAccessibilityIdentifier("shareSettingsReceiveLabel");
    m_receiveAllButton->setAccessibilityIdentifier("shareSettingsReceiveAllBtn");
    m_cancelButton->setAccessibilityIdentifier("shareSettingsCancelBtn");
    m_doneButton->setAccessibilityIdentifier("shareSettingsDoneBtn");
    addReaderAccessibilityOn(*m_backBtn, "BackButton", "");
    addReaderAccessibilityOn(*m_dropDownButton, "ReaderShareSettingsDropDownButton", "");
    addReaderAccessibilityOn(*m_selectedTextTextView, "ReaderStickyNotesSelectedTextTextView", "");
    addReaderAccessibilityOn(*m_noteTextView, "ReaderStickyNotesNoteTextView", "");
    // The column titles only name the boxes below them, which say what they are.
    m_topShareLabel->setIsAccessibilityElement(false);
    m_receiveLabel->setIsAccessibilityElement(false);

    // A dialog shown without an appearance pass (a child view slid in) still lists its users.
    getDataForIndex(0);
    updateButton();
}

void LXShareSettingsController::viewWillAppear(bool animated)
{
    ui::ViewController::viewWillAppear(animated);
    updateView();
    getDataForIndex(0);
    updateButton();
}

void LXShareSettingsController::buildViews()
{
    auto root = view();
    ui::Rect bounds = root->bounds();
    if (bounds.size.width <= 0 || bounds.size.height <= 0)
        bounds = ui::Environment::current().screenBounds();
    double width = bounds.size.width;
    double height = bounds.size.height;
    if (isIpad() && (m_isFromMydataController || m_settingsType == classSettings)) {
        width = std::min(width, 540.0);
        height = std::min(height, 620.0);
    }
    m_containerView = ui::View::create({ (bounds.size.width - width) / 2, (bounds.size.height - height) / 2, width, height });
    root->addSubview(m_containerView);

    double y = 0;
    m_headerView = ui::View::create({ 0, y, width, 44 });
    m_headerView->addSubview(ui::View::create({ 0, 0, width, 44 }));
    m_backBtn = ui::Button::create(ui::Rect { 8, 0, 32, 44 });
    m_backBtn->setTitle(std::string(ICON_BACK));
    m_headerTitleBtn = ui::Button::create(ui::Rect { 44, 0, width - 88, 44 });
    m_headerView->addSubview(m_backBtn);
    m_headerView->addSubview(m_headerTitleBtn);
    m_containerView->addSubview(m_headerView);
    y += 44;

    m_selectedTextContainerView = ui::View::create({ 0, y, width, 0 });
    m_selectedTextTextView = ui::TextView::create({ 16, 0, width - 32, 0 });
    m_selectedTextTextView->setEditable(false);
    m_selectedTextContainerView->addSubview(m_selectedTextTextView);
    m_noteTextView = ui::TextView::create({ 16, 0, width - 32, 0 });
    m_noteTextView->setEditable(false);
    m_containerView->addSubview(m_selectedTextContainerView);
    m_containerView->addSubview(m_noteTextView);

    m_settingsLabel = ui::Label::create({ 16, y, width - 32, 0 });
    m_settingsLabel->setHidden(true);
    m_containerView->addSubview(m_settingsLabel);

    m_classContainerView = ui::View::create({ 8, y, width - 16, 40 });
    m_classNameButton = ui::Button::create(ui::Rect { 0, 0, width - 56, 40 });
    m_classNameButton->setTag(classTitleTag);
    m_dropDownButton = ui::Button::create(ui::Rect { width - 56, 0, 40, 40 });
    m_dropDownButton->setTag(classIconTag);
    m_dropDownButton->setTitle(std::string(ICON_DOWNARROW));
    m_pickerOutline = ui::Button::create(ui::Rect { 0, 0, width - 16, 40 });
    m_pickerOutline->setTag(pickerOutlineTag);
    m_pickerOutline->setUserInteractionEnabled(false);
    m_classContainerView->addSubview(m_pickerOutline);
    m_classContainerView->addSubview(m_classNameButton);
    m_classContainerView->addSubview(m_dropDownButton);
    m_containerView->addSubview(m_classContainerView);

    m_allSelectionHolderView = ui::View::create({ 0, y, width, 44 });
    m_topShareLabel = ui::Label::create({ 16, 0, width - 140, 44 });
    m_shareAllButton = ui::Button::create(ui::Rect { width - 124, 7, 30, 30 });
    m_receiveLabel = ui::Label::create({ width - 90, 0, 0, 44 });
    m_receiveAllButton = ui::Button::create(ui::Rect { width - 46, 7, 30, 30 });
    for (const auto& part : std::initializer_list<std::shared_ptr<ui::View>> {
             m_topShareLabel, m_shareAllButton, m_receiveLabel, m_receiveAllButton })
        m_allSelectionHolderView->addSubview(part);
    m_containerView->addSubview(m_allSelectionHolderView);

    m_table = ui::TableView::create({ 0, y, width, 0 });
    m_table->setRowHeight(shareHeaderHeight);
    m_noDataLabel = ui::Label::create({ 16, y, width - 32, 44 });
    m_noDataLabel->setNumberOfLines(0);
    m_noDataLabel->setHidden(true);
    m_containerView->addSubview(m_table);
    m_containerView->addSubview(m_noDataLabel);

    m_bottomBarView = ui::View::create({ 0, height - shareBarHeight, width, shareBarHeight });
    m_cancelButton = ui::Button::create(ui::Rect { width / 2 - 130, 12, 120, 36 });
    m_doneButton = ui::Button::create(ui::Rect { width / 2 + 10, 12, 120, 36 });
    m_bottomBarView->addSubview(m_cancelButton);
    m_bottomBarView->addSubview(m_doneButton);
    m_containerView->addSubview(m_bottomBarView);

    std::weak_ptr<LXShareSettingsController> weak = self();
    auto on = [weak](const std::shared_ptr<ui::Button>& button, void (LXShareSettingsController::*action)()) {
        button->addTarget(ui::ControlEvent::TouchUpInside, [weak, action](ui::Control&) {
            if (auto dialog = weak.lock())
                (dialog.get()->*action)();
        });
    };
    // As the screen layout file's views do, the panel's parts follow its view when its
    // owner sizes it (inside the note editor's card, by constraints): full-width rows, the
    // list taking the height, the button bar at the bottom.
    using Mask = ui::AutoresizingMask;
    const bool framed = width < bounds.size.width || height < bounds.size.height;
    m_containerView->setAutoresizingMask(framed
            ? Mask::FlexibleLeftMargin | Mask::FlexibleRightMargin | Mask::FlexibleTopMargin | Mask::FlexibleBottomMargin
            : Mask::FlexibleWidth | Mask::FlexibleHeight);
    for (const auto& row : std::initializer_list<std::shared_ptr<ui::View>> { m_headerView,
             m_headerView->subviews().front(), m_headerTitleBtn, m_selectedTextContainerView, m_selectedTextTextView,
             m_noteTextView, m_settingsLabel, m_classContainerView, m_allSelectionHolderView, m_table, m_noDataLabel })
        row->setAutoresizingMask(Mask::FlexibleWidth);
    m_bottomBarView->setAutoresizingMask(Mask::FlexibleWidth | Mask::FlexibleTopMargin);

    on(m_doneButton, &LXShareSettingsController::doneButtonTapped);
    on(m_cancelButton, &LXShareSettingsController::cancelButtonTapped);
    on(m_backBtn, &LXShareSettingsController::cancelButtonTapped);
    on(m_shareAllButton, &LXShareSettingsController::shareAllButtonTapped);
    on(m_receiveAllButton, &LXShareSettingsController::receiveAllButtonTapped);
    for (const auto& picker : { m_classNameButton, m_dropDownButton }) {
        picker->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control& control) {
            if (auto dialog = weak.lock())
                dialog->classListButtonTapped(static_cast<ui::Button&>(control));
        });
    }
}

void LXShareSettingsController::viewDidLayoutSubviews()
{
    ui::ViewController::viewDidLayoutSubviews();
    if (m_containerView && m_bottomBarView && m_table)
        placeRows();
}

void LXShareSettingsController::placeRows()
{
    // The elements stack from the header down; hidden or empty ones take no room.
    double width = m_containerView->bounds().size.width;
    double bottom = m_bottomBarView->frame().minY();
    double y = m_headerView->frame().maxY();
    auto stack = [&](const std::shared_ptr<ui::View>& part, double height) {
        ui::Rect frame = part->frame();
        part->setFrame({ frame.origin.x, y, frame.size.width, height });
        if (!part->isHidden())
            y += height;
    };
    stack(m_selectedTextContainerView, m_selectedTextTextView->frame().size.height);
    stack(m_noteTextView, m_noteTextView->frame().size.height);
    stack(m_classContainerView, isNoteShare() ? 0 : 40);
    stack(m_allSelectionHolderView, 44);
    m_table->setFrame({ 0, y, width, std::max(0.0, bottom - y) });
    m_noDataLabel->setFrame({ 16, y, width - 32, 44 });
    // Cancel and Done stand side by side about the bar's middle, whatever its width.
    const double middle = m_bottomBarView->bounds().size.width / 2;
    m_cancelButton->setFrame({ middle - 130, 12, 120, 36 });
    m_doneButton->setFrame({ middle + 10, 12, 120, 36 });
}

void LXShareSettingsController::updateFont()
{
    for (const auto& button : { m_cancelButton, m_doneButton, m_classNameButton })
        button->setFont(shareLightFont(16));
    for (const auto& label : { m_noDataLabel, m_receiveLabel, m_topShareLabel })
        label->setFont(shareLightFont(16));
    m_headerTitleBtn->setFont(shareLightFont(20));
    m_noteTextView->setFont(shareLightFont(17));
    m_backBtn->setFont(mydata::iconFont(26));
    m_dropDownButton->setFont(mydata::iconFont(16));
    m_shareAllButton->setFont(mydata::iconFont(shareBoxFontSize()));
    m_receiveAllButton->setFont(mydata::iconFont(shareBoxFontSize()));
}

// MARK: - Set-up

void LXShareSettingsController::styleBox(ui::Button& box, bool ticked) const
{
    box.setTitle(std::string(ICON_UNCHECKEDBOX), ui::ControlState::Normal);
    box.setTitle(std::string(ICON_CHECKEDBOX), ui::ControlState::Selected);
    box.setSelected(ticked);
}

void LXShareSettingsController::updateView()
{
    auto colour = [this](ThemeColourGetter getter) {
        return m_theme ? mydata::colour((m_theme.get()->*getter)()) : ui::Color::clear();
    };
    m_doneButton->setUserInteractionEnabled(false);
    m_doneButton->setAlpha(0.5);
    m_table->setBackgroundColor(colour(&LXMVThemeVO::settings_background));
    m_containerView->setBackgroundColor(colour(&LXMVThemeVO::settings_background));
    m_classContainerView->layer()->setBorderWidth(1);
    styleBox(*m_shareAllButton, m_shareAllButton->isSelected());
    styleBox(*m_receiveAllButton, m_receiveAllButton->isSelected());
    m_dropDownButton->setTitleColor(colour(&LXMVThemeVO::settings_icon_color));
    m_classNameButton->setBackgroundColor(colour(&LXMVThemeVO::settings_background));
    m_classNameButton->setTitleColor(colour(&LXMVThemeVO::settings_text_color));
    m_classNameButton->setTitleColor(colour(&LXMVThemeVO::settings_text_color), ui::ControlState::Selected);
    if (ui::Environment::current().isRightToLeft()) {
        m_classNameButton->setContentHorizontalAlignment(ui::ContentHorizontalAlignment::Right);
        m_headerTitleBtn->setContentHorizontalAlignment(ui::ContentHorizontalAlignment::Right);
    }
    if (m_classes.size() >= 2) {
        for (const auto& outlined : { m_dropDownButton, m_classNameButton, m_pickerOutline })
            outlined->layer()->setBorderWidth(1);
        m_noDataLabel->setHidden(true);
        m_table->setHidden(true);
    } else if (m_classes.size() == 1) {
        m_dropDownButton->setUserInteractionEnabled(false);
        m_classNameButton->setUserInteractionEnabled(false);
        m_dropDownButton->setHidden(true);
        ui::Rect frame = m_classNameButton->frame();
        m_classNameButton->setFrame({ frame.origin, { m_classContainerView->bounds().size.width, frame.size.height } });
    } else {
        m_noDataLabel->setHidden(false);
        m_allSelectionHolderView->setHidden(true);
        m_table->setHidden(true);
    }
    m_cancelButton->layer()->setCornerRadius(4);
    m_doneButton->layer()->setCornerRadius(4);
    m_cancelButton->layer()->setBorderWidth(1);
    auto bar = m_bottomBarView->layer();
    bar->setMasksToBounds(false);
    bar->setShadowColor(ui::Color::lightGray());
    bar->setBorderColor(ui::Color::lightGray());
    bar->setShadowOffset({ 0, -2 });
    bar->setShadowOpacity(0.4);
    bar->setBorderWidth(0.4);
    bar->setShadowRadius(1);
}

void LXShareSettingsController::updateViewForNoteShare()
{
    auto colour = [this](ThemeColourGetter getter) {
        return m_theme ? mydata::colour((m_theme.get()->*getter)()) : ui::Color::clear();
    };
    m_headerTitleBtn->setTitleColor(colour(&LXMVThemeVO::settings_header_title_color));
    m_headerTitleBtn->setTitle(mydata::text("SHARE_NOTE"));
    if (!m_headerView->subviews().empty())
        m_headerView->subviews().front()->setBackgroundColor(colour(&LXMVThemeVO::settings_background));
    m_allSelectionHolderView->setBackgroundColor(colour(&LXMVThemeVO::settings_background));
    m_backBtn->setTitleColor(colour(&LXMVThemeVO::settings_header_title_color));
    m_bottomBarView->setBackgroundColor(colour(&LXMVThemeVO::share_shareSettings_bottom_background));
    m_cancelButton->setTitle(mydata::text("CANCEL"));
    m_cancelButton->setTitleColor(colour(&LXMVThemeVO::settings_cancel_button_text_color));
    m_cancelButton->layer()->setBorderColor(colour(&LXMVThemeVO::settings_cancel_button_border_color));
    m_doneButton->setTitle(mydata::text("DONE"));
    m_doneButton->setTitleColor(colour(&LXMVThemeVO::settings_done_button_text_color));
    m_doneButton->setBackgroundColor(colour(&LXMVThemeVO::settings_done_button_background));
    m_selectedTextTextView->setTextColor(colour(&LXMVThemeVO::note_contextualtext_color));
    m_noteTextView->setTextColor(colour(&LXMVThemeVO::note_description_color));
    for (const auto& box : { m_shareAllButton, m_receiveAllButton })
        box->setTitleColor(colour(&LXMVThemeVO::share_shareSettings_all_box_border_color), ui::ControlState::Selected);

    if (m_settingsType == noteSettings) {
        m_settingsLabel->setText(mydata::text("SHARE_NOTE"));
        m_topShareLabel->setText(std::string());
        m_topShareLabel->setTextColor(colour(&LXMVThemeVO::share_shareSettings_text_color));
        m_receiveLabel->setTextColor(colour(&LXMVThemeVO::share_shareSettings_text_color));
        std::string note = !m_noteText.empty() ? m_noteText : (m_highlightVO ? m_highlightVO->noteText.str() : "");
        m_noteTextView->setText(note);
        m_noteTextView->setContentInset({});
        double width = m_noteTextView->frame().size.width;
        double noteHeight = std::min(50.0, m_noteTextView->sizeThatFits({ width, 0 }).height);
        m_noteTextView->setFrame({ m_noteTextView->frame().origin, { width, note.empty() ? 0 : noteHeight } });
        m_selectedTextContainerView->setHidden(false);
        m_selectedTextTextView->setContentOffset({ 0, 0 });
        m_selectedTextTextView->setContentInset({});
        std::string passage = m_highlightVO ? m_highlightVO->text.str() : std::string();
        m_selectedTextTextView->setText(passage);
        double passageHeight = 0;
        if (!passage.empty()) {
            passageHeight = std::clamp(m_selectedTextTextView->sizeThatFits({ width, 0 }).height, 45.0, 68.0);
            m_selectedTextTextView->setScrollsToTop(true);
        }
        m_selectedTextTextView->setFrame({ m_selectedTextTextView->frame().origin, { width, passageHeight } });
        std::string hex = !m_selectedColor.empty() ? m_selectedColor
                                                   : (m_highlightVO ? m_highlightVO->backgroundColor.str() : "");
        if (auto tint = UIColorExpanded::colorWithHexString(hex))
            m_headerView->setBackgroundColor(*tint);
        m_classContainerView->layer()->setBorderColor(colour(&LXMVThemeVO::share_shareSettings_box_border_color));
        m_classContainerView->setHidden(true);
        m_allSelectionHolderView->setHidden(true);
    } else if (m_settingsType == classSettings) {
        m_settingsLabel->setText(mydata::text("SETTINGS"));
        m_headerTitleBtn->setTitle(mydata::text("SETTINGS"));
        m_topShareLabel->setText(mydata::text("SHARE"));
        m_topShareLabel->setTextColor(colour(&LXMVThemeVO::settings_text_color));
        m_receiveLabel->setText(mydata::text("MY_DATA_RECEIVE"));
        m_receiveLabel->setTextColor(colour(&LXMVThemeVO::settings_text_color));
        m_noteTextView->setFrame({ m_noteTextView->frame().origin, { m_noteTextView->frame().size.width, 0 } });
        m_selectedTextContainerView->setHidden(true);
        for (const auto& box : { m_shareAllButton, m_receiveAllButton })
            box->setTitleColor(colour(&LXMVThemeVO::settings_check_color));
        m_classContainerView->layer()->setBorderColor(colour(&LXMVThemeVO::settings_box_border_color));
    }
    if (isIpad() && (m_isFromMydataController || m_settingsType == classSettings)) {
        auto card = m_containerView->layer();
        card->setCornerRadius(18);
        card->setMasksToBounds(true);
        card->setBorderWidth(0.6);
        card->setBorderColor(colour(&LXMVThemeVO::settings_header_title_color));
        m_backBtn->setHidden(true);
    }
    placeRows();
}

// MARK: - Showing a class

void LXShareSettingsController::getDataForIndex(size_t index)
{
    if (!m_model || index >= m_classes.size())
        return;
    m_model->getDataForIndex(index);
    if (auto title = view()->viewWithTag(classTitleTag))
        std::static_pointer_cast<ui::Button>(title)->setTitle(m_classes[index]->classTitle);
    if (m_model->isSharingShown()) {
        m_noDataLabel->setHidden(true);
        m_table->setHidden(false);
    } else {
        m_noDataLabel->setText(mydata::text("ANNOTATIONS_SHARING_NOT_ALLOWED"));
        m_noDataLabel->setHidden(false);
        m_table->setHidden(true);
        m_shareAllButton->setUserInteractionEnabled(false);
        m_receiveAllButton->setUserInteractionEnabled(false);
    }
    if (m_model->userDictionary().empty()) {
        m_noDataLabel->setHidden(false);
        m_allSelectionHolderView->setHidden(true);
        m_table->setHidden(true);
    }
    m_table->reloadData();
    refreshDone();
}

void LXShareSettingsController::updateButton()
{
    bool shareTicked = !m_model || m_model->isShareAllTicked();
    bool receiveTicked = !m_model || m_model->isReceiveAllTicked();
    m_shareAllButton->setSelected(shareTicked);
    m_receiveAllButton->setSelected(receiveTicked);
    addReaderAccessibilityOn(*m_shareAllButton, "ReaderShareSettingsShareAllButton",
        mydata::text(shareTicked ? "ACCESSIBILITY_CHECKED" : "ACCESSIBILITY_UNCHECKED"));
    addReaderAccessibilityOn(*m_receiveAllButton, "ReaderShareSettingsReceiveAllButton",
        mydata::text(receiveTicked ? "ACCESSIBILITY_CHECKED" : "ACCESSIBILITY_UNCHECKED"));
}

void LXShareSettingsController::refreshDone()
{
    bool enabled = isDoneEnabled();
    m_doneButton->setUserInteractionEnabled(enabled);
    m_doneButton->setAlpha(enabled ? 1.0 : 0.5);
}

// MARK: - Boxes

void LXShareSettingsController::shareAllButtonTapped()
{
    if (!m_model)
        return;
    m_model->shareAll(!m_shareAllButton->isSelected());
    m_table->reloadData();
    updateButton();
    refreshDone();
}

void LXShareSettingsController::receiveAllButtonTapped()
{
    if (!m_model)
        return;
    m_model->receiveAll(!m_receiveAllButton->isSelected());
    m_table->reloadData();
    updateButton();
    refreshDone();
}

void LXShareSettingsController::didShareSettingEnabled(bool enabled, int64_t userId)
{
    if (!m_model)
        return;
    m_model->didShareSettingEnabled(enabled, userId);
    updateButton();
    m_table->reloadData();
    refreshDone();
}

void LXShareSettingsController::didReceiveSettingEnabled(bool enabled, int64_t userId)
{
    if (!m_model)
        return;
    // The box already shows its state: no reload.
    m_model->didReceiveSettingEnabled(enabled, userId);
    updateButton();
    refreshDone();
}

void LXShareSettingsController::didShareNoteWillAllStudents(ui::Button& box)
{
    if (!m_model)
        return;
    box.setSelected(!box.isSelected());
    m_model->didShareNoteWillAllStudents(box.isSelected());
    updateButton();
    m_table->reloadData();
    refreshDone();
}

void LXShareSettingsController::didShareNoteWillAllTeachers(ui::Button& box)
{
    if (!m_model)
        return;
    box.setSelected(!box.isSelected());
    m_model->didShareNoteWillAllTeachers(box.isSelected());
    updateButton();
    m_table->reloadData();
    refreshDone();
}

// MARK: - Class picker

void LXShareSettingsController::classListButtonTapped(ui::Button& tapped)
{
    bool open = !tapped.isSelected();
    for (const auto& part : { m_dropDownButton, m_classNameButton })
        part->setSelected(open);
    if (!open) {
        m_dropDownButton->setTitle(std::string(ICON_DOWNARROW));
        closePicker();
        return;
    }
    m_dropDownButton->setTitle(std::string(ICON_UPARROW));
    closePicker();
    ui::Rect frame = m_classContainerView->convertRectTo(m_classContainerView->bounds(), view().get());
    m_pickerView = ui::View::create({ frame.origin.x, frame.maxY(), frame.size.width, sharePickerHeight });
    m_pickerView->layer()->setBorderWidth(1);
    if (m_theme)
        m_pickerView->layer()->setBorderColor(mydata::colour(m_theme->settings_box_border_color()));
    m_pickerView->setBackgroundColor(ui::Color::white());
    std::weak_ptr<LXShareSettingsController> weak = self();
    double rowHeight = 36;
    for (size_t index = 0; index < m_classes.size(); ++index) {
        auto entry = ui::Button::create(ui::Rect { 0, rowHeight * double(index), frame.size.width, rowHeight });
        entry->setTitle(m_classes[index]->classTitle);
        entry->setFont(shareLightFont(16));
        entry->setTitleColor(ui::Color::black());
        // Entries are told apart by position, never by title: two classes may share one.
        entry->addTarget(ui::ControlEvent::TouchUpInside, [weak, index](ui::Control&) {
            if (auto dialog = weak.lock())
                dialog->selectClassAtIndex(index);
        });
        m_pickerView->addSubview(entry);
    }
    view()->addSubview(m_pickerView);
}

void LXShareSettingsController::closePicker()
{
    if (m_pickerView)
        m_pickerView->removeFromSuperview();
    m_pickerView.reset();
}

std::vector<std::shared_ptr<ui::Button>> LXShareSettingsController::pickerEntries() const
{
    std::vector<std::shared_ptr<ui::Button>> entries;
    if (m_pickerView) {
        for (const auto& sub : m_pickerView->subviews())
            entries.push_back(std::static_pointer_cast<ui::Button>(sub));
    }
    return entries;
}

// MARK: - Saving and closing

void LXShareSettingsController::saveShareSettings()
{
    if (!m_model)
        return;
    auto listener = m_delegate.lock();
    if (m_settingsType == classSettings) {
        auto chosen = m_model->saveClassSettings();
        if (chosen && listener)
            listener->didClickOnShareSettingsSaveButton(chosen);
        return;
    }
    std::optional<std::string> colour;
    std::optional<std::string> text;
    if (!m_selectedColor.empty())
        colour = m_selectedColor;
    if (!base::trimWhitespaceAndNewlines(m_noteText).empty())
        text = m_noteText;
    auto note = m_model->saveNoteSharing(colour, text);
    if (note && listener)
        listener->didClickOnNoteShareSettingsSaveButton(note);
}

void LXShareSettingsController::doneButtonTapped()
{
    if (!isDoneEnabled())
        return;
    if (m_settingsType == classSettings && !LectoroNetworkManager::getInstance().isInternetAvailable()) {
        AlertView::sharedManager().presentAlertWithTitle(mydata::text("ERROR_ALERT_TITLE"),
            mydata::text("INTERNET_UNAVAILABLE_MESSAGE"), std::vector<std::string> { mydata::text("OK") }, self(),
            [](int64_t, const std::string&) {});
        return;
    }
    saveShareSettings();
    if (isIpad() && presentingViewController())
        dismissViewControllerAnimated(true);
}

void LXShareSettingsController::cancelButtonTapped()
{
    if (auto listener = m_delegate.lock())
        listener->didClickOnShareSettingsCancelButton();
    if (isIpad() && (m_isFromMydataController || m_settingsType == classSettings))
        closeSelfOnTablet();
}

void LXShareSettingsController::dismissController()
{
    if (auto listener = m_delegate.lock())
        listener->didClickOnShareSettingsCancelButton();
    closeSelfOnTablet();
}

void LXShareSettingsController::closeSelfOnTablet()
{
    if (presentingViewController())
        dismissViewControllerAnimated(true);
}

void LXShareSettingsController::saveClassSettings(
    const base::Value::List& shareList, const base::Value::List& receiveList)
{
    auto chosen = currentClass();
    if (!chosen)
        return;
    chosen->shareList = base::Value(shareList);
    chosen->receiveList = base::Value(receiveList);
    if (auto listener = m_delegate.lock())
        listener->didClickOnShareSettingsSaveButton(chosen);
}

void LXShareSettingsController::saveNoteSharing(const base::Value::List& sharedUsers)
{
    if (!m_highlightVO)
        return;
    m_highlightVO->sharedUsers = base::Value(sharedUsers);
    m_highlightVO->isShare = true;
    m_highlightVO->setIsSynced(false);
    m_highlightVO->setIsCollabSubmitted(false);
    if (!m_selectedColor.empty() && !base::trimWhitespaceAndNewlines(m_noteText).empty()) {
        m_highlightVO->backgroundColor = m_selectedColor;
        m_highlightVO->noteText = m_noteText;
    }
    if (auto listener = m_delegate.lock())
        listener->didClickOnNoteShareSettingsSaveButton(m_highlightVO);
}

} // namespace lectoro
