#pragma once

// One learner of the learner panel: picture, name and, until the learner's work has
// arrived, "Yet to submit" under the name with a white veil over the row. The reuse
// identifier is the learner id, so a reused row always belongs to the same learner; once
// it shows submitted work it keeps that look for good.

#include "platform/ui/Constraint.h"
#include "platform/ui/TableViewCell.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class ImageView;
class Label;
} // namespace ui

namespace lectoro {

class TeacherReviewStudentListTableViewCell : public ui::TableViewCell {
public:
    static constexpr const char* notSubmittedText = "Yet to submit";
    static constexpr const char* placeholderName = "User Name";
    static constexpr const char* placeholderImage = "User_Profile_Pic";

    static std::shared_ptr<TeacherReviewStudentListTableViewCell> create(
        ui::TableViewCellStyle, const std::string& reuseIdentifier);
    std::string_view className() const override { return "TeacherReviewStudentListTableViewCell"; }

    bool isDataAvailable = false;
    std::optional<std::string> studentId;

    // True: the not-submitted look; false: the submitted look.
    void showSubmitStatus(bool notSubmitted);
    // Reads the picture in the background; the placeholder stays on any failure.
    void loadProfileImage(const std::string& urlString);

    const std::shared_ptr<ui::View>& mainView() const { return m_mainView; }
    const std::shared_ptr<ui::View>& blurView() const { return m_blurView; }
    const std::shared_ptr<ui::ImageView>& profileImageView() const { return m_profileImageView; }
    const std::shared_ptr<ui::Label>& userNameLabel() const { return m_userNameLabel; }
    const std::shared_ptr<ui::Label>& submitStatusLabel() const { return m_submitStatusLabel; }
    const ui::ConstraintPtr& userNamaLabelCenterYAnchor() const { return m_userNamaLabelCenterYAnchor; }
    const ui::ConstraintPtr& userNamaLabelTopAnchor() const { return m_userNamaLabelTopAnchor; }


protected:
    TeacherReviewStudentListTableViewCell(ui::TableViewCellStyle, std::string reuseIdentifier);

private:
    void setUpRowLayout();

    std::shared_ptr<ui::View> m_mainView;
    std::shared_ptr<ui::View> m_blurView;
    ui::ConstraintPtr m_userNamaLabelCenterYAnchor;
    ui::ConstraintPtr m_userNamaLabelTopAnchor;
    std::shared_ptr<ui::ImageView> m_profileImageView;
    std::shared_ptr<ui::Label> m_userNameLabel;
    std::shared_ptr<ui::Label> m_submitStatusLabel;
    std::vector<ui::ConstraintPtr> m_statusConstraints;
    std::vector<ui::ConstraintPtr> m_veilConstraints;
};

} // namespace lectoro
