#include "LectoroSDKWithReader/reader/chrome/PlayerActionItemBuilder.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionBottomBar.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Label.h"

namespace lectoro {

namespace {

constexpr const char* studentAnnotationGlyph = ":";
constexpr const char* soundGlyph = "i";
constexpr const char* playGlyph = "L";
constexpr double wideLabelWidth = 60;
constexpr double fixedGlyphSize = 22;
constexpr double separatorInset = 5;

struct GlyphItem {
    int tag;
    std::string text;
    ui::Font font;
    std::optional<ui::Color> color;
    double labelWidth;
    bool accessible;
};

std::shared_ptr<PlayerActionBarItem> makeItem(const GlyphItem& glyph)
{
    auto item = PlayerActionBarItem::create();
    item->setTag(glyph.tag);
    auto label = chrome::makeConstrainedLabel(glyph.text);
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setFont(glyph.font);
    chrome::applyTextColor(*label, glyph.color);
    item->addSubview(label);
    const double inset = PlayerActionItemBuilder::labelInset();
    ui::Constraint::activate({
        label->topAnchor().constraintEqualTo(item->topAnchor(), inset),
        label->centerXAnchor().constraintEqualTo(item->centerXAnchor()),
        label->widthAnchor().constraintEqualToConstant(glyph.labelWidth),
        label->bottomAnchor().constraintEqualTo(item->bottomAnchor(), -inset),
    });
    if (glyph.accessible)
        PlayerActionBottomBar::setAccessibilityForPlayerActionBottomBarItem(*item);
    return item;
}

} // namespace

double PlayerActionItemBuilder::labelInset()
{
    return chrome::isPad() ? 15 : 12;
}

double PlayerActionItemBuilder::narrowLabelWidth()
{
    return chrome::isPad() ? 46 : 42;
}

double PlayerActionItemBuilder::ruleS()
{
    return chrome::topBarGlyphSize();
}

double PlayerActionItemBuilder::ruleD()
{
    return chrome::isPad() ? 22 : 18;
}

std::shared_ptr<PlayerActionBarItem> PlayerActionItemBuilder::getPlayerItemForProtractor() const
{
    return makeItem({ PlayerItemProtractor, ICON_PROTRACTOR, chrome::iconFont(ruleS()),
        m_theme.pen_tool_toolbar_icons_color(), narrowLabelWidth(), true });
}

std::shared_ptr<PlayerActionBarItem> PlayerActionItemBuilder::getPlayerItemForFurthestPage() const
{
    return makeItem({ PlayerItemFurthestPage, STUDENT_TEACHER_ICON, chrome::iconFont(ruleS()),
        m_theme.pen_tool_toolbar_icons_color(), narrowLabelWidth(), true });
}

std::shared_ptr<PlayerActionBarItem> PlayerActionItemBuilder::getPlayerItemForClearAllFIBs() const
{
    return makeItem({ PlayerItemClearAllFIBs, ICON_CLEAR, chrome::iconFont(ruleS()),
        m_theme.pen_tool_toolbar_icons_color(), narrowLabelWidth(), true });
}

std::shared_ptr<PlayerActionBarItem> PlayerActionItemBuilder::getPlayerItemForTextAnnotation() const
{
    return makeItem({ PlayerItemAddText, ICON_TEXTANNOTATION, chrome::iconFont(ruleD()),
        m_theme.pen_tool_toolbar_icons_color(), wideLabelWidth, true });
}

std::shared_ptr<PlayerActionBarItem> PlayerActionItemBuilder::getPlayerItemForThumbnail() const
{
    return makeItem({ PlayerItemThumbnail, ICON_THUMBNAIL, chrome::iconFont(ruleD()),
        m_theme.pen_tool_toolbar_icons_color(), wideLabelWidth, true });
}

std::shared_ptr<PlayerActionBarItem> PlayerActionItemBuilder::getPlayerItemForAudioSync() const
{
    return makeItem({ PlayerItemReadAloud, ICON_AUDIO_SYNC, chrome::iconFont(ruleD()),
        m_theme.pen_tool_toolbar_icons_color(), wideLabelWidth, true });
}

std::shared_ptr<PlayerActionBarItem> PlayerActionItemBuilder::getPlayerItemForTeacherReview() const
{
    return makeItem({ PlayerItemTeacherReview, TEACHER_ANNOTATION_ICON, chrome::iconFont(fixedGlyphSize),
        m_theme.pen_tool_toolbar_icons_color(), wideLabelWidth, true });
}

std::shared_ptr<PlayerActionBarItem> PlayerActionItemBuilder::getPlayerItemForStudentAnnotation() const
{
    return makeItem({ PlayerItemSubmitAnnotation, studentAnnotationGlyph, chrome::iconFont(fixedGlyphSize),
        m_theme.pen_tool_toolbar_icons_color(), wideLabelWidth, true });
}

std::shared_ptr<PlayerActionBarItem> PlayerActionItemBuilder::getPlayerItemForDeleteWithAlpha(double alpha) const
{
    auto item = makeItem({ PlayerItemTeacherDelete, ICON_CLEAR, chrome::iconFont(ruleD()),
        m_theme.pen_tool_toolbar_icons_color(), wideLabelWidth, false });
    item->setAlpha(alpha);
    item->setUserInteractionEnabled(alpha == 1.0);
    return item;
}

std::shared_ptr<PlayerActionBarItem> PlayerActionItemBuilder::getPlayerItemForDoneText() const
{
    return makeItem({ PlayerItemDone, LocalizationHelper::localizedStringWithKey("DONE"), chrome::customFont(ruleD()),
        m_theme.pen_tool_toolbar_icons_color(), wideLabelWidth, false });
}

std::shared_ptr<PlayerActionBarItem> PlayerActionItemBuilder::getPlayerItemForSound() const
{
    return makeItem({ PlayerItemReadAloud, soundGlyph, chrome::iconFont(ruleS()), m_theme.side_bottom_icons_color(),
        narrowLabelWidth(), false });
}

std::shared_ptr<PlayerActionBarItem> PlayerActionItemBuilder::getPlayerItemForPlay() const
{
    return makeItem({ PlayerItemPlayPause, playGlyph, chrome::iconFont(ruleS()), m_theme.side_bottom_icons_color(),
        narrowLabelWidth(), false });
}

std::shared_ptr<PlayerActionBarItem> PlayerActionItemBuilder::getPlayerItemForVerticalBar() const
{
    auto item = PlayerActionBarItem::create();
    auto line = ui::View::create();
    line->setTranslatesAutoresizingMaskIntoConstraints(false);
    line->setBackgroundColor(m_theme.side_bottom_icons_color());
    item->addSubview(line);
    ui::Constraint::activate({
        line->widthAnchor().constraintEqualToConstant(1),
        line->centerXAnchor().constraintEqualTo(item->centerXAnchor()),
        line->topAnchor().constraintEqualTo(item->topAnchor(), separatorInset),
        line->bottomAnchor().constraintEqualTo(item->bottomAnchor(), -separatorInset),
    });
    return item;
}

} // namespace lectoro
