#include "LectoroSDKWithReader/teacherreview/TeacherAnnotationCells.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Label.h"

namespace lectoro {

namespace {

std::shared_ptr<ui::Label> annotationRowLabel()
{
    auto label = ui::Label::create();
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
    return label;
}

} // namespace

// MARK: - Learner row

std::shared_ptr<TeacherAnnotationTableViewCell> TeacherAnnotationTableViewCell::create(const std::string& reuseIdentifier)
{
    std::shared_ptr<TeacherAnnotationTableViewCell> cell(new TeacherAnnotationTableViewCell(reuseIdentifier));
    cell->awakeFromNib();
    return cell;
}

TeacherAnnotationTableViewCell::TeacherAnnotationTableViewCell(std::string reuseIdentifier)
    : ui::TableViewCell(ui::TableViewCellStyle::Default, std::move(reuseIdentifier))
{
}

void TeacherAnnotationTableViewCell::awakeFromNib()
{
    const auto& content = contentView();
    const double dotSize = 20;
    m_dot = ui::View::create({ 15, 9, dotSize, dotSize });
    m_dot->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_dot->setClipsToBounds(true);
    m_dotLabel = annotationRowLabel();
    m_dotLabel->setTextAlignment(ui::TextAlignment::Center);
    m_dot->addSubview(m_dotLabel);
    m_name = annotationRowLabel();
    m_checkMark = annotationRowLabel();
    m_checkMark->setText(ICON_CHECK);
    m_checkMark->setFont(chrome::iconFont(25));
    m_checkMark->setHidden(true);
    m_spinner = ui::ActivityIndicatorView::create(ui::ActivityIndicatorStyle::Gray);
    m_spinner->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_refresh = ui::Button::create();
    m_refresh->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_refresh->layer()->setCornerRadius(8);
    m_refresh->layer()->setBorderWidth(1);
    m_refresh->setHidden(true);
    if (auto font = getCustomFont(isIpad() ? 12 : 10))
        m_refresh->titleLabel()->setFont(*font);
    m_refresh->setTitle(teacherReviewLocalizedString("REFRESH"));
    std::weak_ptr<ui::View> weak = weak_from_this();
    m_refresh->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto self = std::static_pointer_cast<TeacherAnnotationTableViewCell>(weak.lock()))
            self->didTapOnRefreshButton();
    });
    for (const auto& view : std::vector<std::shared_ptr<ui::View>> { m_dot, m_name, m_checkMark, m_refresh, m_spinner })
        content->addSubview(view);
    ui::Constraint::activate({
        m_dot->leadingAnchor().constraintEqualTo(content->leadingAnchor(), 15),
        m_dot->centerYAnchor().constraintEqualTo(content->centerYAnchor()),
        m_dot->widthAnchor().constraintEqualToConstant(dotSize),
        m_dot->heightAnchor().constraintEqualToConstant(dotSize),
        m_dotLabel->leadingAnchor().constraintEqualTo(m_dot->leadingAnchor()),
        m_dotLabel->trailingAnchor().constraintEqualTo(m_dot->trailingAnchor()),
        m_dotLabel->topAnchor().constraintEqualTo(m_dot->topAnchor()),
        m_dotLabel->bottomAnchor().constraintEqualTo(m_dot->bottomAnchor()),
        m_spinner->centerXAnchor().constraintEqualTo(m_dot->centerXAnchor()),
        m_spinner->centerYAnchor().constraintEqualTo(m_dot->centerYAnchor()),
        m_name->leadingAnchor().constraintEqualTo(m_dot->trailingAnchor(), 10),
        m_name->centerYAnchor().constraintEqualTo(content->centerYAnchor()),
        m_refresh->leadingAnchor().constraintEqualTo(m_name->trailingAnchor(), 8),
        m_refresh->centerYAnchor().constraintEqualTo(content->centerYAnchor()),
        m_refresh->widthAnchor().constraintEqualToConstant(70),
        m_checkMark->trailingAnchor().constraintEqualTo(content->trailingAnchor(), -15),
        m_checkMark->centerYAnchor().constraintEqualTo(content->centerYAnchor()),
    });
    content->bringSubviewToFront(m_spinner.get());
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}

void TeacherAnnotationTableViewCell::didTapOnRefreshButton()
{
    if (refreshButtonAction)
        refreshButtonAction(studentName, studenId, indexpath);
}

// MARK: - Class tab

std::shared_ptr<TeacherAnnotationViewCell> TeacherAnnotationViewCell::create(const std::string& reuseIdentifier)
{
    std::shared_ptr<TeacherAnnotationViewCell> cell(new TeacherAnnotationViewCell(reuseIdentifier));
    cell->constructUI();
    return cell;
}

void TeacherAnnotationViewCell::constructUI()
{
    const auto& content = contentView();
    m_classButton = annotationRowLabel();
    m_classButton->setTextAlignment(ui::TextAlignment::Center);
    if (auto font = getCustomFont(20))
        m_classButton->setFont(*font);
    m_classButton->setTextColor(ui::Color::black());
    content->addSubview(m_classButton);
    ui::Constraint::activate({
        m_classButton->topAnchor().constraintEqualTo(content->topAnchor()),
        m_classButton->leadingAnchor().constraintEqualTo(content->leadingAnchor()),
        m_classButton->trailingAnchor().constraintEqualTo(content->trailingAnchor()),
        m_classButton->bottomAnchor().constraintEqualTo(content->bottomAnchor(), -4),
    });
}

} // namespace lectoro
