#include "LectoroSDKWithReader/mydata/LXShareSettingsCell.h"

#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/mydata/MyDataStyle.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

namespace lectoro {

namespace {

constexpr double shareCellBoxSize = 30;

// The row's own colour until the dialog gives it the theme's.
ui::Color shareCellDefaultCheckColour()
{
    return ui::Color::fromRGB255(0x52, 0xAE, 0x78);
}

void shareCellLabelBox(ui::Button& box, const char* elementID)
{
    addReaderAccessibilityOn(box, elementID,
        mydata::text(box.isSelected() ? "ACCESSIBILITY_CHECKED" : "ACCESSIBILITY_UNCHECKED"));
}

} // namespace

std::shared_ptr<LXShareSettingsCell> LXShareSettingsCell::create(ui::TableViewCellStyle style, std::string id)
{
    std::shared_ptr<LXShareSettingsCell> cell(new LXShareSettingsCell(style, std::move(id)));
    const auto& content = cell->contentView();
    cell->m_nameLabel = ui::Label::create();
    cell->m_shareButton = ui::Button::create();
    cell->m_receiveButton = ui::Button::create();
    content->addSubview(cell->m_nameLabel);
    content->addSubview(cell->m_shareButton);
    content->addSubview(cell->m_receiveButton);
    for (const auto& box : { cell->m_shareButton, cell->m_receiveButton }) {
        for (auto state : { ui::ControlState::Normal, ui::ControlState::Highlighted, ui::ControlState::Selected })
            box->setTitleColor(shareCellDefaultCheckColour(), state);
    }
    std::weak_ptr<LXShareSettingsCell> weak = cell;
    cell->m_shareButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto row = weak.lock())
            row->shareButtonTapped();
    });
    cell->m_receiveButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto row = weak.lock())
            row->receiveButtonTapped();
    });
    return cell;
}

void LXShareSettingsCell::setUsernameLblLeadingConstant(double value)
{
    m_nameLeading = value;
    setNeedsLayout();
}

void LXShareSettingsCell::setSharingButtonLeadingConstant(double value)
{
    m_shareLeading = value;
    setNeedsLayout();
}

void LXShareSettingsCell::layoutSubviews()
{
    ui::TableViewCell::layoutSubviews();
    ui::Size size = bounds().size;
    double top = (size.height - shareCellBoxSize) / 2;
    // The boxes sit at the trailing edge: the share box's leading space counts back from
    // the receive box, so a hidden receive box (a negative space) leaves the share box last.
    double receiveX = size.width - shareCellBoxSize - 16;
    double shareX = receiveX - m_shareLeading;
    if (shareX > receiveX)
        shareX = receiveX;
    m_receiveButton->setFrame({ receiveX, top, shareCellBoxSize, shareCellBoxSize });
    m_shareButton->setFrame({ shareX, top, shareCellBoxSize, shareCellBoxSize });
    m_nameLabel->setFrame({ m_nameLeading, 0, std::max(0.0, shareX - m_nameLeading - 8), size.height });
}

void LXShareSettingsCell::shareButtonTapped()
{
    m_shareButton->setSelected(!m_shareButton->isSelected());
    addAccessibility();
    auto listener = m_delegate.lock();
    if (!listener)
        return;
    switch (m_shareButton->tag()) {
    case allStudentsTag:
        listener->didShareNoteWillAllStudents(*m_shareButton);
        break;
    case allTeachersTag:
        listener->didShareNoteWillAllTeachers(*m_shareButton);
        break;
    default:
        listener->didShareSettingEnabled(m_shareButton->isSelected(), shareUserId);
        break;
    }
}

void LXShareSettingsCell::receiveButtonTapped()
{
    m_receiveButton->setSelected(!m_receiveButton->isSelected());
    addAccessibility();
    if (auto listener = m_delegate.lock())
        listener->didReceiveSettingEnabled(m_receiveButton->isSelected(), shareUserId);
}

void LXShareSettingsCell::addAccessibility()
{
    shareCellLabelBox(*m_shareButton, "ReaderShareSettingsShareButton");
    shareCellLabelBox(*m_receiveButton, "ReaderShareSettingsReceiveButton");
}

} // namespace lectoro
