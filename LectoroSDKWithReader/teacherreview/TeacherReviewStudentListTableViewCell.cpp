#include "LectoroSDKWithReader/teacherreview/TeacherReviewStudentListTableViewCell.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/reader/chrome/ProfilePictureLoader.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace lectoro {

namespace {

double pictureSize()
{
    return isIpad() ? 40 : 35;
}

constexpr double nameLeading = 20;
constexpr double studentLabelWidth = 200;
constexpr double studentLabelHeight = 20;

std::optional<ui::Font> mediumFont(double size)
{
    return getCustomFontForWeight(size, ui::FontWeight::Medium);
}

} // namespace

std::shared_ptr<TeacherReviewStudentListTableViewCell> TeacherReviewStudentListTableViewCell::create(
    ui::TableViewCellStyle style, const std::string& reuseIdentifier)
{
    std::shared_ptr<TeacherReviewStudentListTableViewCell> cell(
        new TeacherReviewStudentListTableViewCell(style, reuseIdentifier));
    cell->setUpRowLayout();
    return cell;
}

TeacherReviewStudentListTableViewCell::TeacherReviewStudentListTableViewCell(
    ui::TableViewCellStyle style, std::string reuseIdentifier)
    : ui::TableViewCell(style, std::move(reuseIdentifier))
{
}

void TeacherReviewStudentListTableViewCell::setUpRowLayout()
{
    m_mainView = ui::View::create();
    m_mainView->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_blurView = ui::View::create();
    m_blurView->setTranslatesAutoresizingMaskIntoConstraints(false);
    const auto& content = contentView();
    content->addSubview(m_mainView);
    ui::Constraint::activate({
        m_mainView->leadingAnchor().constraintEqualTo(content->leadingAnchor()),
        m_mainView->trailingAnchor().constraintEqualTo(content->trailingAnchor()),
        m_mainView->topAnchor().constraintEqualTo(content->topAnchor()),
        m_mainView->bottomAnchor().constraintEqualTo(content->bottomAnchor()),
    });

    m_profileImageView = ui::ImageView::create(ProfilePictureLoader::placeholder(placeholderImage));
    m_profileImageView->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_profileImageView->setClipsToBounds(true);
    m_profileImageView->layer()->setCornerRadius(isIpad() ? 20 : 17);
    m_mainView->addSubview(m_profileImageView);
    ui::Constraint::activate({
        m_profileImageView->leadingAnchor().constraintEqualTo(m_mainView->leadingAnchor(), 10),
        m_profileImageView->centerYAnchor().constraintEqualTo(m_mainView->centerYAnchor()),
        m_profileImageView->widthAnchor().constraintEqualToConstant(pictureSize()),
        m_profileImageView->heightAnchor().constraintEqualToConstant(pictureSize()),
    });

    m_userNameLabel = ui::Label::create();
    m_userNameLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_userNameLabel->setBackgroundColor(ui::Color::clear());
    m_userNameLabel->setTextColor(ui::Color::black());
    m_userNameLabel->setText(placeholderName);
    if (auto font = mediumFont(14))
        m_userNameLabel->setFont(*font);
    m_userNameLabel->setTextAlignment(ui::TextAlignment::Left);
    m_userNameLabel->setNumberOfLines(1);
    m_mainView->addSubview(m_userNameLabel);
    ui::Constraint::activate({
        m_userNameLabel->leadingAnchor().constraintEqualTo(m_profileImageView->trailingAnchor(), nameLeading),
        m_userNameLabel->heightAnchor().constraintEqualToConstant(studentLabelHeight),
        m_userNameLabel->widthAnchor().constraintEqualToConstant(studentLabelWidth),
    });
    m_userNamaLabelCenterYAnchor = m_userNameLabel->centerYAnchor().constraintEqualTo(m_mainView->centerYAnchor());
    m_userNamaLabelTopAnchor = m_userNameLabel->topAnchor().constraintEqualTo(m_mainView->topAnchor(), 10);
    m_userNamaLabelCenterYAnchor->setActive(true);

    m_submitStatusLabel = ui::Label::create();
    m_submitStatusLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_submitStatusLabel->setBackgroundColor(ui::Color::clear());
    m_submitStatusLabel->setTextColor(ui::Color::black());
    m_submitStatusLabel->setText(notSubmittedText);
    if (auto font = mediumFont(12))
        m_submitStatusLabel->setFont(*font);
    m_submitStatusLabel->setTextAlignment(ui::TextAlignment::Left);
}

void TeacherReviewStudentListTableViewCell::showSubmitStatus(bool notSubmitted)
{
    isDataAvailable = !notSubmitted;
    if (notSubmitted) {
        m_userNamaLabelCenterYAnchor->setActive(false);
        m_userNamaLabelTopAnchor->setActive(true);
        if (!m_submitStatusLabel->superview()) {
            m_mainView->addSubview(m_submitStatusLabel);
            m_statusConstraints = {
                m_submitStatusLabel->leadingAnchor().constraintEqualTo(m_profileImageView->trailingAnchor(), nameLeading),
                m_submitStatusLabel->bottomAnchor().constraintEqualTo(m_mainView->bottomAnchor(), -10),
                m_submitStatusLabel->heightAnchor().constraintEqualToConstant(studentLabelHeight),
                m_submitStatusLabel->widthAnchor().constraintEqualToConstant(studentLabelWidth),
            };
            ui::Constraint::activate(m_statusConstraints);
        }
        m_blurView->setBackgroundColor(ui::Color::white().withAlpha(0.6));
        // Last, so the veil covers picture, name and status.
        m_blurView->removeFromSuperview();
        m_mainView->addSubview(m_blurView);
        m_veilConstraints = {
            m_blurView->leadingAnchor().constraintEqualTo(m_mainView->leadingAnchor()),
            m_blurView->trailingAnchor().constraintEqualTo(m_mainView->trailingAnchor()),
            m_blurView->topAnchor().constraintEqualTo(m_mainView->topAnchor()),
            m_blurView->bottomAnchor().constraintEqualTo(m_mainView->bottomAnchor()),
        };
        ui::Constraint::activate(m_veilConstraints);
    } else {
        m_userNamaLabelTopAnchor->setActive(false);
        m_userNamaLabelCenterYAnchor->setActive(true);
        m_submitStatusLabel->removeFromSuperview();
        m_blurView->removeFromSuperview();
    }
    setNeedsLayout();
}

void TeacherReviewStudentListTableViewCell::loadProfileImage(const std::string& urlString)
{
    ProfilePictureLoader::load(m_profileImageView, urlString);
}

} // namespace lectoro
