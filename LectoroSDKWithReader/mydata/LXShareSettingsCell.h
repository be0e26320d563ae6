#pragma once

// One row of the share-settings table: a user row (one teacher or student) or the header
// row of a section (all students, all teachers). It shows a name and two check boxes,
// share and receive; a tap flips the box and reports it. What a tap means is the
// dialog's to decide: the row keeps no state beyond the boxes' own selected state.

#include "platform/ui/TableViewCell.h"

#include <cstdint>
#include <memory>
#include <string>

namespace ui {
class Button;
class Label;
} // namespace ui

namespace lectoro {

class LXShareSettingsCellDelegate {
public:
    virtual ~LXShareSettingsCellDelegate() = default;
    virtual void didShareSettingEnabled(bool enabled, int64_t userId) = 0;
    virtual void didReceiveSettingEnabled(bool enabled, int64_t userId) = 0;
    virtual void didShareNoteWillAllStudents(ui::Button&) = 0;
    virtual void didShareNoteWillAllTeachers(ui::Button&) = 0;
};

class LXShareSettingsCell : public ui::TableViewCell {
public:
    static constexpr const char* reuseIdentifier = "LXShareSettingsCell";
    // Share-box tags: a header row's all-students and all-teachers boxes, a user row's box.
    // Any other tag is read as a user row.
    static constexpr int allStudentsTag = 1001;
    static constexpr int allTeachersTag = 1002;
    static constexpr int userShareTag = 1003;

    static std::shared_ptr<LXShareSettingsCell> create(ui::TableViewCellStyle, std::string reuseIdentifier);
    std::string_view className() const override { return "LXShareSettingsCell"; }

    int64_t shareUserId = 0;
    bool isStudentAllForNote = false;
    bool isTeacherAllForNote = false;

    std::shared_ptr<LXShareSettingsCellDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<LXShareSettingsCellDelegate> delegate) { m_delegate = std::move(delegate); }

    const std::shared_ptr<ui::Label>& shareUserNameLabel() const { return m_nameLabel; }
    const std::shared_ptr<ui::Button>& shareButton() const { return m_shareButton; }
    const std::shared_ptr<ui::Button>& receiveButton() const { return m_receiveButton; }

    // Leading spaces of the name label and the share box; the receive box follows the share box.
    double usernameLblLeadingConstant() const { return m_nameLeading; }
    void setUsernameLblLeadingConstant(double);
    double sharingButtonLeadingConstant() const { return m_shareLeading; }
    void setSharingButtonLeadingConstant(double);

    void shareButtonTapped();
    void receiveButtonTapped();
    // The boxes' spoken state follows their selected state.
    void addAccessibility();

    void layoutSubviews() override;

protected:
    using ui::TableViewCell::TableViewCell;

private:
    std::weak_ptr<LXShareSettingsCellDelegate> m_delegate;
    std::shared_ptr<ui::Label> m_nameLabel;
    std::shared_ptr<ui::Button> m_shareButton;
    std::shared_ptr<ui::Button> m_receiveButton;
    double m_nameLeading = 30;
    double m_shareLeading = 78;
};

} // namespace lectoro
