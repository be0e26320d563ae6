// The share-settings dialog's table: its sections by role, their headers with the all-users
// boxes, and the user rows.

#include "LectoroSDKWithReader/mydata/LXShareSettingsController.h"
#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
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

// MARK: - Table

int LXShareSettingsController::numberOfSectionsInTableView(ui::TableView& table)
{
    return table.tag() == userTableTag && m_model ? m_model->numberOfSections() : 0;
}

int LXShareSettingsController::numberOfRowsInSection(ui::TableView& table, int section)
{
    return table.tag() == userTableTag && m_model ? m_model->numberOfRowsInSection(section) : 0;
}

std::optional<double> LXShareSettingsController::heightForHeaderInSection(ui::TableView&, int)
{
    return shareHeaderHeight;
}

std::shared_ptr<ui::View> LXShareSettingsController::viewForHeaderInSection(ui::TableView& table, int section)
{
    if (table.tag() != userTableTag || !m_model)
        return nullptr;
    auto reused = std::dynamic_pointer_cast<LXShareSettingsCell>(
        table.dequeueReusableCellWithIdentifier(LXShareSettingsCell::reuseIdentifier));
    auto header = reused ? reused
                         : LXShareSettingsCell::create(ui::TableViewCellStyle::Default, LXShareSettingsCell::reuseIdentifier);
    auto colour = [this](ThemeColourGetter getter) {
        return m_theme ? mydata::colour((m_theme.get()->*getter)()) : ui::Color::clear();
    };
    // Header and user rows share one reuse pool: undo whatever a row left on the cell.
    header->setUserInteractionEnabled(true);
    header->shareButton()->setTag(0);
    for (const auto& each : { header->shareButton(), header->receiveButton() }) {
        each->setUserInteractionEnabled(true);
        each->setAlpha(1.0);
        each->layer()->setOpacity(1.0);
    }
    header->setBackgroundColor(colour(&LXMVThemeVO::settings_background));
    header->shareUserNameLabel()->setFont(shareRegularFont(18));
    header->setDelegate(self());
    header->setUsernameLblLeadingConstant(isIpad() ? 18 : 14);
    auto share = header->shareButton();
    auto receive = header->receiveButton();
    share->setFont(mydata::iconFont(shareBoxFontSize()));
    receive->setFont(mydata::iconFont(shareBoxFontSize()));
    const bool note = m_settingsType == noteSettings;
    std::string index = std::to_string(section);
    header->setAccessibilityIdentifier((note ? "noteShareSettingsCellHeader" : "highlightShareSettingsCellHeader") + index);
    share->setAccessibilityIdentifier(
        (note ? "noteShareSettingsCellHeaderShareBtn" : "highlightShareSettingsCellHeaderShareBtn") + index);
    if (!note)
        receive->setAccessibilityIdentifier("highlightShareSettingsCellHeaderReceiveBtn" + index);
    header->setSharingButtonLeadingConstant(note ? -24 : 78);
    share->setHidden(false);
    receive->setHidden(note);
    ui::Color title = colour(note ? &LXMVThemeVO::share_shareSettings_section_title_color
                                  : &LXMVThemeVO::settings_section_title_color);
    ui::Color box = colour(&LXMVThemeVO::share_shareSettings_all_box_border_color);
    for (const auto& each : { share, receive }) {
        for (auto state : { ui::ControlState::Normal, ui::ControlState::Highlighted, ui::ControlState::Selected })
            each->setTitleColor(box, state);
        styleBox(*each, false);
    }
    header->shareUserNameLabel()->setTextColor(title);

    const auto& sections = m_model->userDictionary();
    if (sections.empty() || section < 0 || static_cast<size_t>(section) >= sections.size()) {
        header->shareUserNameLabel()->setHidden(true);
        share->setHidden(true);
        receive->setHidden(true);
        return header;
    }
    header->shareUserNameLabel()->setHidden(false);
    const std::string& key = sections[static_cast<size_t>(section)].first;
    auto dim = [](ui::Button& each, bool touchable, double alpha) {
        each.setUserInteractionEnabled(touchable);
        each.setAlpha(alpha);
        each.layer()->setOpacity(alpha);
    };
    if (shareKeyIs(key, "teachers")) {
        header->shareUserNameLabel()->setText(mydata::text("ALL TEACHERS"));
        if (note) {
            share->setTag(LXShareSettingsCell::allTeachersTag);
            if (m_model->isTeacherAllCollabratedUsers()) {
                share->setSelected(true);
                dim(*share, false, 0.5);
            } else {
                share->setSelected(m_model->isAllTeachersSelected());
                dim(*share, true, 1.0);
            }
        } else {
            // Teachers always share and receive in a class.
            share->setSelected(true);
            receive->setSelected(true);
            dim(*share, false, 0.5);
            dim(*receive, false, 0.5);
        }
    } else if (shareKeyIs(key, "students")) {
        header->shareUserNameLabel()->setText(mydata::text("ALL_STUDENTS"));
        if (note) {
            share->setTag(LXShareSettingsCell::allStudentsTag);
            if (m_model->isStudentAllCollabratedUsers()) {
                share->setSelected(true);
                dim(*share, false, 0.5);
            } else {
                share->setSelected(m_model->isAllStudentsSelected());
                dim(*share, true, 1.0);
                share->setUserInteractionEnabled(
                    !(m_model->isCurrentStudentAllCollabratedUsers() && !m_model->isAllStudentsSelected()));
            }
        } else {
            share->setHidden(true);
        }
        receive->setHidden(true);
    }
    header->addAccessibility();
    return header;
}

std::shared_ptr<ui::TableViewCell> LXShareSettingsController::cellForRowAtIndexPath(
    ui::TableView& table, const ui::IndexPath& indexPath)
{
    if (table.tag() != userTableTag || !m_model)
        return nullptr;
    auto cell = std::dynamic_pointer_cast<LXShareSettingsCell>(
        table.dequeueReusableCellWithIdentifier(LXShareSettingsCell::reuseIdentifier));
    if (!cell)
        cell = LXShareSettingsCell::create(ui::TableViewCellStyle::Default, LXShareSettingsCell::reuseIdentifier);
    auto colour = [this](ThemeColourGetter getter) {
        return m_theme ? mydata::colour((m_theme.get()->*getter)()) : ui::Color::clear();
    };
    auto share = cell->shareButton();
    auto receive = cell->receiveButton();
    cell->shareUserNameLabel()->setFont(getCustomFont(18).value_or(ui::Font::systemFont(18)));
    share->setFont(mydata::iconFont(shareBoxFontSize()));
    receive->setFont(mydata::iconFont(shareBoxFontSize()));
    cell->setDelegate(self());
    cell->setBackgroundColor(colour(&LXMVThemeVO::settings_background));
    cell->setUsernameLblLeadingConstant(30);
    const bool note = m_settingsType != classSettings;
    std::string place = std::to_string(indexPath.section) + std::to_string(indexPath.row);
    cell->setAccessibilityIdentifier((note ? "noteShareSettingsCell" : "highlightShareSettingsCell") + place);
    share->setAccessibilityIdentifier((note ? "noteShareSettingsCellShareBtn" : "highlightShareSettingsCellShareBtn") + place);
    if (!note)
        receive->setAccessibilityIdentifier("highlightShareSettingsCellReceiveBtn" + place);
    cell->setSharingButtonLeadingConstant(note ? -24 : 78);
    receive->setHidden(note);
    ui::Color text = colour(note ? &LXMVThemeVO::share_shareSettings_text_color : &LXMVThemeVO::settings_text_color);
    ui::Color check = colour(note ? &LXMVThemeVO::share_shareSettings_check_color : &LXMVThemeVO::settings_check_color);
    for (const auto& each : { share, receive }) {
        for (auto state : { ui::ControlState::Normal, ui::ControlState::Highlighted, ui::ControlState::Selected })
            each->setTitleColor(check, state);
        styleBox(*each, false);
        each->setAlpha(1.0);
        each->layer()->setOpacity(1.0);
        each->setUserInteractionEnabled(true);
    }
    share->setTag(LXShareSettingsCell::userShareTag);
    cell->shareUserNameLabel()->setTextColor(text);
    cell->setUserInteractionEnabled(true);

    const auto& sections = m_model->userDictionary();
    auto sectionIndex = static_cast<size_t>(indexPath.section);
    auto rowIndex = static_cast<size_t>(indexPath.row);
    if (sectionIndex >= sections.size() || rowIndex >= sections[sectionIndex].second.size())
        return cell;
    const auto& [key, users] = sections[sectionIndex];
    const auto& person = users[rowIndex];
    cell->shareUserId = person->userId;
    cell->shareUserNameLabel()->setText(person->fullName);
    if (shareKeyIs(key, "teachers")) {
        share->setHidden(true);
        receive->setHidden(true);
    } else if (shareKeyIs(key, "students")) {
        share->setHidden(false);
        if (!note) {
            receive->setHidden(false);
            share->setSelected(person->checkWhetherUserIsPresentInList(shareUserIDList(m_model->highlightSharedArray())));
            receive->setSelected(person->checkWhetherUserIsPresentInList(shareUserIDList(m_model->highlightReceivedArray())));
        } else {
            receive->setHidden(true);
            const auto& already = m_model->sharedArray();
            const auto& chosen = m_model->noteSharedArray();
            if (std::find(already.begin(), already.end(), person->userId) != already.end()) {
                // Already shared: shown ticked, not to be taken back here.
                share->setSelected(true);
                cell->setUserInteractionEnabled(false);
                share->setAlpha(0.5);
            } else {
                share->setSelected(
                    std::find(chosen.begin(), chosen.end(), person->userId) != chosen.end() || person->isNoteShared);
            }
        }
    }
    cell->addAccessibility();
    return cell;
}

} // namespace lectoro
