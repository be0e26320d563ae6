#include "LectoroSDKWithReader/mydata/FilterCollectionCell.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/IconFontConstants.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "platform/ui/Button.h"

#include <algorithm>

namespace lectoro {

std::shared_ptr<FilterCollectionCell> FilterCollectionCell::create(std::string id)
{
    std::shared_ptr<FilterCollectionCell> cell(new FilterCollectionCell(std::move(id)));
    cell->build();
    return cell;
}

void FilterCollectionCell::build()
{
    const auto& content = contentView();
    m_titleButton = ui::Button::create();
    m_titleButton->setContentHorizontalAlignment(ui::ContentHorizontalAlignment::Left);
    m_titleButton->titleLabel()->setAdjustsFontSizeToFitWidth(true);
    m_titleButton->titleLabel()->setMinimumScaleFactor(0.2);
    content->addSubview(m_titleButton);
    m_seperatorView = ui::View::create();
    m_seperatorView->setBackgroundColor(ui::Color::gray());
    content->addSubview(m_seperatorView);
    m_dropDownButton = ui::Button::create();
    m_dropDownButton->setFont(ui::Font(MVLectoroFontManager::getFontName(), 14));
    m_dropDownButton->setTitleColor(ui::Color::black(), ui::ControlState::Normal);
    m_dropDownButton->setTitleColor(ui::Color::black(), ui::ControlState::Selected);
    m_dropDownButton->setTitle(ICON_DROPDOWN, ui::ControlState::Normal);
    m_dropDownButton->setTitle(ICON_UPARROW, ui::ControlState::Selected);
    content->addSubview(m_dropDownButton);
    content->bringSubviewToFront(m_dropDownButton.get());
    for (const std::shared_ptr<ui::View>& view :
        std::vector<std::shared_ptr<ui::View>> { m_titleButton, m_seperatorView, m_dropDownButton })
        view->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_widthConstraintOfTitleBtn = m_titleButton->widthAnchor().constraintEqualToConstant(50);
    content->addConstraints({ m_widthConstraintOfTitleBtn,
        m_titleButton->leadingAnchor().constraintEqualTo(content->leadingAnchor(), 15),
        m_titleButton->centerYAnchor().constraintEqualTo(content->centerYAnchor()),
        m_titleButton->topAnchor().constraintEqualTo(content->topAnchor()),
        content->trailingAnchor().constraintEqualTo(m_dropDownButton->trailingAnchor()),
        m_dropDownButton->topAnchor().constraintEqualTo(content->topAnchor()),
        content->bottomAnchor().constraintEqualTo(m_dropDownButton->bottomAnchor()),
        m_dropDownButton->widthAnchor().constraintEqualToConstant(60),
        m_seperatorView->leadingAnchor().constraintEqualTo(content->leadingAnchor()),
        content->trailingAnchor().constraintEqualTo(m_seperatorView->trailingAnchor()),
        m_seperatorView->topAnchor().constraintEqualTo(content->topAnchor()),
        m_seperatorView->heightAnchor().constraintEqualToConstant(1) });
    std::weak_ptr<FilterCollectionCell> weak
        = std::static_pointer_cast<FilterCollectionCell>(shared_from_this());
    m_titleButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto cell = weak.lock())
            cell->checkBoxTapped();
    });
}

base::AttributedString FilterCollectionCell::getAttributtedTextWithIcon(const std::string& glyph,
    const std::string& text, const ui::Font& textFont, const ui::Color& textColor, bool isIconOnly) const
{
    ui::Font glyphFont(MVLectoroFontManager::getFontName(), isIpad() ? 22 : 18);
    base::TextAttributes glyphAttributes;
    glyphAttributes.foregroundColor
        = IconFontConstants::colorAttr(checkBoxIconColor.value_or(ui::Color::black()));
    glyphAttributes.font = IconFontConstants::fontAttr(glyphFont);
    // The box sits a little above the line of a colour glyph, a little below a title's.
    glyphAttributes.baselineOffset = isIconOnly ? 2.2 : -1.5;
    base::TextAttributes textAttributes;
    textAttributes.foregroundColor = IconFontConstants::colorAttr(textColor);
    textAttributes.font = IconFontConstants::fontAttr(textFont);
    base::AttributedString title;
    if (isRTL()) {
        title.append("\u200E" + text, textAttributes);
        title.append("  " + glyph, glyphAttributes);
        return title;
    }
    base::TextAttributes spaces = glyphAttributes;
    spaces.font.reset();
    title.append(glyph, glyphAttributes);
    title.append("   ", spaces);
    title.append(text, textAttributes);
    return title;
}

void FilterCollectionCell::setDataForCell(const std::shared_ptr<FilterDataObject>& record)
{
    m_filterDataObj = record;
    if (!record)
        return;
    bool pad = isIpad();
    ui::Color titleColour
        = UIColorExpanded::colorWithHexString(record->titleColor).value_or(ui::Color::black());
    if (record->filterType != FilterTypeColor) {
        ui::Font font = getCustomFont(pad ? 21 : 15).value_or(ui::Font::systemFont(pad ? 21 : 15));
        m_titleButton->setAttributedTitle(
            getAttributtedTextWithIcon(ICON_UNCHECKEDBOX, record->titleTextStr, font, titleColour, false),
            ui::ControlState::Normal);
        m_titleButton->setAttributedTitle(
            getAttributtedTextWithIcon(ICON_CHECKEDBOX, record->titleTextStr, font, titleColour, false),
            ui::ControlState::Selected);
        if (!m_dropDownTarget) {
            std::weak_ptr<FilterCollectionCell> weak
                = std::static_pointer_cast<FilterCollectionCell>(shared_from_this());
            m_dropDownTarget
                = m_dropDownButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
                      if (auto cell = weak.lock())
                          cell->dropDownButtonTapped();
                  });
        }
    } else {
        ui::Font font(MVLectoroFontManager::getFontName(), pad ? 23 : 20);
        m_titleButton->setAttributedTitle(
            getAttributtedTextWithIcon(ICON_UNCHECKEDBOX, record->titleTextStr, font, titleColour, true),
            ui::ControlState::Normal);
        m_titleButton->setAttributedTitle(
            getAttributtedTextWithIcon(ICON_CHECKEDBOX, record->titleTextStr, font, titleColour, true),
            ui::ControlState::Selected);
        if (m_dropDownTarget) {
            m_dropDownButton->removeTarget(m_dropDownTarget);
            m_dropDownTarget = 0;
        }
    }
    m_titleButton->setSelected(record->isSelected);
    m_dropDownButton->setSelected(record->isExpanded);
    m_dropDownButton->setHidden(record->filterType == FilterTypeAll || record->filterType == FilterTypeColor);
    addAccessibilityForDropDownButton();
}

std::shared_ptr<ui::Label> FilterCollectionCell::checkBoxLbl() const
{
    return m_titleButton->titleLabel();
}

void FilterCollectionCell::layoutSubviews()
{
    ui::CollectionViewCell::layoutSubviews();
    const auto& content = contentView();
    const ui::Rect bounds = content->bounds();
    const bool rtl = content->isRightToLeft();
    const double titleWidth = std::max(0.0, m_widthConstraintOfTitleBtn->constant());
    m_titleButton->setFrame(
        { rtl ? bounds.width() - 15 - titleWidth : 15, 0, titleWidth, bounds.height() });
    m_dropDownButton->setFrame({ rtl ? 0 : bounds.width() - 60, 0, 60, bounds.height() });
    m_seperatorView->setFrame({ 0, 0, bounds.width(), 1 });
}

void FilterCollectionCell::checkBoxTapped()
{
    if (!m_filterDataObj)
        return;
    m_filterDataObj->isSelected = !m_filterDataObj->isSelected;
    if (checkBoxAction)
        checkBoxAction(m_filterDataObj);
}

void FilterCollectionCell::dropDownButtonTapped()
{
    if (!m_filterDataObj)
        return;
    m_filterDataObj->isExpanded = !m_filterDataObj->isExpanded;
    if (dropDownAction)
        dropDownAction(m_filterDataObj);
}

void FilterCollectionCell::addAccessibilityForDropDownButton()
{
    AccessibilityHelper::setAccessibilityForElementID(*m_dropDownButton,
        m_dropDownButton->isSelected() ? "MyDataSelectedFilterDropDownButton" : "MyDataFilterDropDownButton",
        "ReaderLectoroAccessibility", "");
}

} // namespace lectoro
