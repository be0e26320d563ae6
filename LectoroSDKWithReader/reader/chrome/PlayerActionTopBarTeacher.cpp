#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/ui/Label.h"

#include <cmath>

namespace lectoro {

namespace {

constexpr int leading = PlayerActionBarItemAlignmentLeading;
constexpr int trailing = PlayerActionBarItemAlignmentTrailing;
constexpr int centred = PlayerActionBarItemAlignmentCentre;

// The teacher bars offer the last and the first colour of the list, last first. Colours
// arrive as bare hex digits; an empty list offers nothing.
std::vector<std::string> teacherSwatchColors(const std::vector<std::string>& colors)
{
    if (colors.empty())
        return {};
    return { "#" + colors.back(), "#" + colors.front() };
}

void pinLabel(
    ui::Label& label, ui::View& item, double top, double bottom, double leadingInset, double trailingInset)
{
    ui::Constraint::activate({
        label.topAnchor().constraintEqualTo(item.topAnchor(), top),
        label.bottomAnchor().constraintEqualTo(item.bottomAnchor(), bottom),
        label.leadingAnchor().constraintEqualTo(item.leadingAnchor(), leadingInset),
        label.trailingAnchor().constraintEqualTo(item.trailingAnchor(), trailingInset),
    });
}

std::shared_ptr<PlayerActionBarItem> makeTextItem(int tag, const std::string& text,
    ui::TextAlignment alignment, const ui::Font& font, const std::optional<ui::Color>& color,
    std::shared_ptr<ui::Label>* labelOut)
{
    auto item = PlayerActionBarItem::create();
    item->setTag(tag);
    auto label = chrome::makeConstrainedLabel(text);
    label->setTextAlignment(alignment);
    label->setFont(font);
    chrome::applyTextColor(*label, color);
    item->addSubview(label);
    *labelOut = label;
    return item;
}

} // namespace

void PlayerActionTopBar::addPlayerTopBarForTeacherAnnotationForIPhone(const LXMVThemeVO& theme,
    const std::string& studentName, const std::string& andImageUrl,
    const std::optional<std::vector<std::string>>& withAllTeacherAnnotationPages)
{
    addActionBarItem(
        getTopBarPlayerButtonForStudentProfilewithThemeVO(theme, andImageUrl), 50.0, trailing, false);
    addActionBarItem(getPlayerItemForStudentNameWithTheme(theme, studentName), 100.0, trailing, true);
    addActionBarItem(
        getPlayerItemWithIcon(ICON_PREV_PAGE_ICON, PlayerItemPreviousPage, theme, 16.0), 50.0, leading, true);
    std::string page = "Page";
    if (withAllTeacherAnnotationPages && !withAllTeacherAnnotationPages->empty())
        page = "Page " + withAllTeacherAnnotationPages->front();
    addActionBarItem(getPlayerItemForPageNumberWithTheme(theme, page), 70.0, leading, true);
    addActionBarItem(getPlayerItemWithIcon(ICON_NEXT, PlayerItemNextPage, theme, 16.0), 50.0, leading, true);
}

void PlayerActionTopBar::addPlayerBottomBarForTeacherAnnotationForIPhone(const LXMVThemeVO& theme,
    const std::vector<std::string>& withPenColors, const std::string& withSelectedPenColor)
{
    for (const auto& color : teacherSwatchColors(withPenColors))
        addActionBarItem(
            getPenToolColorPalleteItemForColor(color, theme, withSelectedPenColor), 65.0, centred, true);
    addActionBarItem(
        getPlayerItemWithIcon(ICON_ERASER, PlayerItemTeacherEraser, theme, 18.0), 65.0, centred, true);
    addActionBarItem(
        getPlayerItemWithIcon(ICON_UNDO, PlayerItemTeacherUndo, theme, 18.0), 65.0, centred, true);
    addActionBarItem(
        getPlayerItemWithIcon(ICON_CLEAR, PlayerItemTeacherDelete, theme, 18.0), 65.0, centred, true);
    addActionBarItem(getPlayerItemForDoneWithTheme(theme), 65.0, centred, true);
}

void PlayerActionTopBar::addPlayerTopBarForTeacherAnnotationForIPad(const LXMVThemeVO& theme,
    const std::vector<std::string>& withPenColors, const std::string& studentName,
    const std::string& andImageUrl, const std::string& withSelectedPenColor,
    const std::string& withCurrentPageNumber)
{
    setBackgroundColor(theme.teacherSettings_popup_background());
    const double glyphSize = chrome::penToolGlyphSize();
    addActionBarItem(
        getTopBarPlayerButtonForStudentProfilewithThemeVO(theme, andImageUrl), 65.0, leading, false);
    addActionBarItem(getPlayerItemForStudentNameWithTheme(theme, studentName), 80.0, leading, true);
    for (const auto& color : teacherSwatchColors(withPenColors))
        addActionBarItem(
            getPenToolColorPalleteItemForColor(color, theme, withSelectedPenColor), 65.0, centred, true);
    addActionBarItem(getPlayerItemWithIcon(ICON_PREV_PAGE_ICON, PlayerItemPreviousPage, theme, glyphSize),
        65.0, centred, true);
    addActionBarItem(getPlayerItemForPageNumberWithTheme(theme, withCurrentPageNumber), 100.0, centred, true);
    addActionBarItem(
        getPlayerItemWithIcon(ICON_NEXT, PlayerItemNextPage, theme, glyphSize), 65.0, centred, true);
    addActionBarItem(
        getPlayerItemWithIcon(ICON_ERASER, PlayerItemTeacherEraser, theme, glyphSize), 65.0, centred, true);
    addActionBarItem(
        getPlayerItemWithIcon(ICON_UNDO, PlayerItemTeacherUndo, theme, glyphSize), 65.0, centred, true);
    addActionBarItem(getPlayerItemForDoneWithTheme(theme), 65.0, trailing, true);
    addActionBarItem(
        getPlayerItemWithIcon(ICON_CLEAR, PlayerItemTeacherDelete, theme, glyphSize), 65.0, trailing, true);
}

void PlayerActionTopBar::addTeacherReviewTopItems(const LXMVThemeVO& theme, const std::string& studentName,
    const std::string& imageUrl, int studentCount, int studentIndex)
{
    const bool pad = chrome::isPad();
    const bool landscapePhone = chrome::isLandscapePhone();
    const double glyphSize = chrome::penToolGlyphSize();
    addActionBarItem(
        getPrevStudentItemWithIcon(ICON_PREV_PAGE_ICON, PlayerItemPreviousStudent, theme, glyphSize),
        landscapePhone ? 80.0
            : pad      ? 50.0
                       : 30.0,
        leading, true);
    addActionBarItem(getTopBarPlayerButtonForStudentProfileViewWithThemeVO(
                         theme, imageUrl, studentName, studentCount, studentIndex),
        pad ? 250.0 : 160.0, leading, true);
    addActionBarItem(getPlayerItemWithIcon(ICON_NEXT, PlayerItemNextStudent, theme, glyphSize),
        pad ? 50.0 : 30.0, leading, true);
}

void PlayerActionTopBar::addPlayerTopBarForTeacherReviewAnnotation(const LXMVThemeVO& theme,
    const std::string& studentName, const std::string& imageUrl, int studentCount, int studentIndex)
{
    setBackgroundColor(theme.teacherSettings_popup_background());
    const bool pad = chrome::isPad();
    addTeacherReviewTopItems(theme, studentName, imageUrl, studentCount, studentIndex);
    addActionBarItem(getPrevStudentItemWithIcon(
                         ICON_DOWNLOAD, PlayerItemGenerateReport, theme, chrome::penToolGlyphSize()),
        chrome::isLandscapePhone() ? 80.0
            : pad                  ? 50.0
                                   : 40.0,
        trailing, true);
    addActionBarItem(getPlayerItemForTeacherReviewDoneWithTheme(theme), pad ? 70.0 : 60.0, trailing, true);
}

void PlayerActionTopBar::addPlayerTopBarWithoutGenerateReportForTeacherReviewAnnotation(
    const LXMVThemeVO& theme, const std::string& studentName, const std::string& imageUrl, int studentCount,
    int studentIndex)
{
    addTeacherReviewTopItems(theme, studentName, imageUrl, studentCount, studentIndex);
    addActionBarItem(getTeacherReviewDoneWithTheme(theme), chrome::isPad() ? 80.0 : 60.0, trailing, true);
}

void PlayerActionTopBar::addPlayerBottomBarForTeacherReviewAnnotation(const LXMVThemeVO& theme)
{
    setBackgroundColor(theme.teacherSettings_popup_background());
    const double glyphSize = chrome::penToolGlyphSize();
    const double width = std::floor(chrome::screenWidth() / 6);
    const std::pair<const char*, int> items[] = {
        { ICON_MULTI_SELECT, PlayerItemDragBox },
        { ICON_PENTOOL, PlayerItemTeacherPenColor },
        { ICON_ERASER, PlayerItemTeacherEraser },
        { ICON_UNDO, PlayerItemTeacherUndo },
        { ICON_CLEAR, PlayerItemTeacherDelete },
        { ICON_THUMBNAIL, PlayerItemTeacherThumbnail },
    };
    for (const auto& [icon, tag] : items)
        addActionBarItem(getPlayerItemWithIcon(icon, tag, theme, glyphSize), width, centred, true);
}

std::shared_ptr<PlayerActionBarItem> PlayerActionTopBar::getPrevStudentItemWithIcon(
    const std::string& icon, int actionTag, const LXMVThemeVO& theme, double itemSize, int)
{
    std::shared_ptr<ui::Label> label;
    auto item = makeGlyphItem(icon, actionTag, theme, itemSize, &label);
    ui::Constraint::activate({
        label->topAnchor().constraintEqualTo(item->topAnchor()),
        label->bottomAnchor().constraintEqualTo(item->bottomAnchor()),
    });
    // The step glyphs lean towards the learner picture between them.
    if (icon == ICON_PREV_PAGE_ICON)
        label->trailingAnchor().constraintEqualTo(item->trailingAnchor(), -3.0)->setActive(true);
    else if (icon == ICON_DOWNLOAD)
        label->leadingAnchor().constraintEqualTo(item->leadingAnchor(), 5.0)->setActive(true);
    setAccessibilityForPlayerActionTopBarItem(*item);
    setAccessibilityForPenToolItem(*item);
    return item;
}

std::shared_ptr<PlayerActionBarItem> PlayerActionTopBar::getPlayerItemForStudentNameWithTheme(
    const LXMVThemeVO&, const std::string& studentName)
{
    std::shared_ptr<ui::Label> label;
    auto item = makeTextItem(PlayerItemStudentName, studentName, ui::TextAlignment::Left,
        chrome::customFont(chrome::isPad() ? 18.0 : 14.0), chrome::colorFromHex("#262525"), &label);
    pinLabel(*label, *item, 0, 0, 5.0, 0);
    return item;
}

std::shared_ptr<PlayerActionBarItem> PlayerActionTopBar::getPlayerItemForPageNumberWithTheme(
    const LXMVThemeVO&, const std::string& pageNumber)
{
    std::shared_ptr<ui::Label> label;
    auto item = makeTextItem(PlayerItemPageNumber, pageNumber, ui::TextAlignment::Center,
        chrome::customFont(chrome::isPad() ? 18.0 : 16.0), chrome::colorFromHex("#333333"), &label);
    pinLabel(*label, *item, 0, 0, 0, 0);
    return item;
}

std::shared_ptr<PlayerActionBarItem> PlayerActionTopBar::makeDoneItem(
    const LXMVThemeVO& theme, double fontSize, bool bordered, double verticalInset, double horizontalInset)
{
    std::shared_ptr<ui::Label> label;
    auto item = makeTextItem(PlayerItemDone, LocalizationHelper::localizedStringWithKey("DONE"),
        ui::TextAlignment::Center, chrome::customFont(fontSize), theme.pen_tool_toolbar_icons_color(),
        &label);
    pinLabel(*label, *item, verticalInset, -verticalInset, horizontalInset, -horizontalInset);
    if (bordered) {
        label->layer()->setBorderWidth(1.0);
        label->layer()->setBorderColor(theme.pen_tool_toolbar_icons_color().value_or(ui::Color::clear()));
        label->layer()->setCornerRadius(5.0);
        label->setClipsToBounds(true);
    }
    return item;
}

std::shared_ptr<PlayerActionBarItem> PlayerActionTopBar::getPlayerItemForDoneWithTheme(
    const LXMVThemeVO& theme)
{
    return makeDoneItem(theme, 14.0, false, 0, 0);
}

std::shared_ptr<PlayerActionBarItem> PlayerActionTopBar::getPlayerItemForTeacherReviewDoneWithTheme(
    const LXMVThemeVO& theme)
{
    return makeDoneItem(theme, 15.0, true, 10.0, 0);
}

std::shared_ptr<PlayerActionBarItem> PlayerActionTopBar::getTeacherReviewDoneWithTheme(
    const LXMVThemeVO& theme)
{
    return makeDoneItem(theme, 15.0, true, 10.0, 5.0);
}

} // namespace lectoro
