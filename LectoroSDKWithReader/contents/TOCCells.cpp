#include "LectoroSDKWithReader/contents/TOCCells.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "platform/base/AttributedString.h"
#include "platform/base/Strings.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextMetrics.h"

#include <algorithm>

namespace lectoro {

bool tocIsPad()
{
    return ui::Environment::current().isPad();
}

ui::Color tocColour(const std::optional<ui::Color>& value)
{
    return value.value_or(ui::Color::clear());
}

namespace {

constexpr double arrowSize = 40;
constexpr double arrowTrailing = 8;
constexpr double barWidth = 4;
constexpr double dividerHeight = 1;
constexpr double verticalPadding = 14;
constexpr double minimumRowHeight = 50;
constexpr double iconSize = 30;
constexpr double iconGap = 8;
constexpr double bookmarkTextTop = 12;
constexpr double timeGap = 4;

// What makes a row as tall as its text: just below required, so a frame the table gives
// before it measured the row (its estimate) never contradicts them.
ui::ConstraintPtr sizing(ui::ConstraintPtr constraint)
{
    constraint->setPriority(ui::LayoutPriority::required - 1);
    return constraint;
}

// The side strip and the divider every row has, pinned to the content's edges.
std::vector<ui::ConstraintPtr> stripAndDivider(ui::View& content, ui::View& strip, ui::View& divider, bool dividerFromEdge)
{
    std::vector<ui::ConstraintPtr> constraints {
        strip.leadingAnchor().constraintEqualTo(content.leadingAnchor()),
        strip.topAnchor().constraintEqualTo(content.topAnchor()),
        strip.bottomAnchor().constraintEqualTo(content.bottomAnchor()),
        strip.widthAnchor().constraintEqualToConstant(barWidth),
        divider.trailingAnchor().constraintEqualTo(content.trailingAnchor()),
        divider.bottomAnchor().constraintEqualTo(content.bottomAnchor()),
        divider.heightAnchor().constraintEqualToConstant(dividerHeight),
        sizing(content.heightAnchor().constraintGreaterThanOrEqualToConstant(minimumRowHeight)),
    };
    if (dividerFromEdge)
        constraints.push_back(divider.leadingAnchor().constraintEqualTo(content.leadingAnchor()));
    return constraints;
}

} // namespace

// MARK: - Shared texts and fonts

BundleRef TOCConstants::bundle()
{
    return LocalizationHelper::currentBundle();
}

std::string TOCConstants::fontName()
{
    return MVLectoroFontManager::getFontName();
}

std::string TOCConstants::localized(const std::string& key)
{
    return LocalizationHelper::localizedString(key, "Localizable", bundle());
}

ui::Font TOCConstants::iconFont(double size)
{
    return ui::Font(fontName(), size);
}

ui::Font TOCConstants::lightFont(double size)
{
    return getCustomFontForWeight(size, ui::FontWeight::Light)
        .value_or(ui::Font::systemFont(size, ui::FontWeight::Light));
}

ui::Font TOCConstants::lightRowFont()
{
    return lightFont(tocIsPad() ? 16 : 14);
}

ui::Font TOCConstants::customFont(double size)
{
    return getCustomFont(size).value_or(ui::Font::systemFont(size));
}

// MARK: - TOCContentCell

std::shared_ptr<TOCContentCell> TOCContentCell::create(
    ui::TableViewCellStyle style, std::string reuseIdentifier)
{
    std::shared_ptr<TOCContentCell> cell(new TOCContentCell(style, std::move(reuseIdentifier)));
    cell->build();
    return cell;
}

void TOCContentCell::build()
{
    const auto& content = contentView();
    m_barView = ui::View::create();
    m_dataLabel = ui::Label::create();
    m_dataLabel->setNumberOfLines(0);
    m_dataLabel->setFont(TOCConstants::customFont(tocIsPad() ? 18 : 16));
    m_levelLabel = ui::Label::create();
    m_seperatorView = ui::View::create();
    m_sectionHeaderButton = ui::Button::create();
    m_sectionHeaderButton->setIsAccessibilityElement(false);
    m_sectionHeaderButton->setUserInteractionEnabled(false);
    m_downArrowButton = ui::Button::create();
    m_downArrowButton->setTitle(std::string(ICON_DOWNARROW), ui::ControlState::Normal);
    m_downArrowButton->setTitle(std::string(ICON_UPARROW), ui::ControlState::Selected);
    m_downArrowButton->setFont(TOCConstants::iconFont(16));
    for (const auto& view : std::initializer_list<std::shared_ptr<ui::View>> {
             m_barView, m_sectionHeaderButton, m_seperatorView, m_downArrowButton }) {
        view->setTranslatesAutoresizingMaskIntoConstraints(false);
        content->addSubview(view);
    }
    // The titles sit inside the header's tap area, so a tap on a header's title is the
    // header's tap and nothing lies over the text; in a row the area takes no touches and
    // the row gets them.
    for (const auto& label : { m_levelLabel, m_dataLabel }) {
        label->setTranslatesAutoresizingMaskIntoConstraints(false);
        m_sectionHeaderButton->addSubview(label);
    }
    m_cellLeadConstraint = m_dataLabel->leadingAnchor().constraintEqualTo(content->leadingAnchor(), 20);
    m_seperatorLeadingConstraint
        = m_seperatorView->leadingAnchor().constraintEqualTo(content->leadingAnchor(), 21);
    auto constraints = stripAndDivider(*content, *m_barView, *m_seperatorView, false);
    constraints.insert(constraints.end(), {
        m_cellLeadConstraint,
        m_dataLabel->centerYAnchor().constraintEqualTo(content->centerYAnchor()),
        m_dataLabel->trailingAnchor().constraintLessThanOrEqualTo(m_downArrowButton->leadingAnchor()),
        sizing(m_dataLabel->topAnchor().constraintGreaterThanOrEqualTo(content->topAnchor(), verticalPadding)),
        sizing(content->bottomAnchor().constraintGreaterThanOrEqualTo(m_dataLabel->bottomAnchor(), verticalPadding)),
        m_levelLabel->leadingAnchor().constraintEqualTo(m_dataLabel->leadingAnchor()),
        m_levelLabel->centerYAnchor().constraintEqualTo(content->centerYAnchor()),
        m_levelLabel->widthAnchor().constraintEqualToConstant(0),
        m_downArrowButton->trailingAnchor().constraintEqualTo(content->trailingAnchor(), -arrowTrailing),
        m_downArrowButton->centerYAnchor().constraintEqualTo(content->centerYAnchor()),
        m_downArrowButton->widthAnchor().constraintEqualToConstant(arrowSize),
        m_downArrowButton->heightAnchor().constraintEqualToConstant(arrowSize),
        // The header's tap area: the row up to its arrow, under the title.
        m_sectionHeaderButton->leadingAnchor().constraintEqualTo(content->leadingAnchor()),
        m_sectionHeaderButton->topAnchor().constraintEqualTo(content->topAnchor()),
        m_sectionHeaderButton->bottomAnchor().constraintEqualTo(content->bottomAnchor()),
        m_sectionHeaderButton->trailingAnchor().constraintEqualTo(m_downArrowButton->leadingAnchor()),
    });
    ui::Constraint::activate(constraints);
}

double TOCContentCell::contentInsetForDepth(int depth)
{
    return depth * (tocIsPad() ? 26.0 : 20.0);
}

double TOCContentCell::dividerInsetForDepth(int depth)
{
    return depth * (tocIsPad() ? 26.0 : 21.0);
}

void TOCContentCell::applyCommon(const TOCTreeRow& row, const LXMVThemeVO& theme)
{
    contentView()->setBackgroundColor(tocColour(theme.toc_popup_background()));
    m_barView->setBackgroundColor(tocColour(theme.toc_popup_background()));
    m_seperatorView->setBackgroundColor(tocColour(theme.toc_selected_toc_section_divider()));
    m_dataLabel->setTextColor(tocColour(theme.toc_description_color()));
    m_levelLabel->setTextColor(tocColour(theme.toc_description_color()));
    int depth = row.depth();
    m_seperatorLeadingConstraint->setConstant(dividerInsetForDepth(depth));
    m_cellLeadConstraint->setConstant(contentInsetForDepth(depth));
    // A reused cell starts from a plain title and no link of its previous row.
    m_dataLabel->setAttributedText(std::nullopt);
    m_dataLabel->setText(row.title);
    m_updatedURL.reset();
}

void TOCContentCell::applyArrow(const TOCTreeRow& row)
{
    m_downArrowButton->setHidden(!row.hasChildren());
    if (row.hasChildren())
        m_downArrowButton->setSelected(row.isExpanded);
}

void TOCContentCell::applyCurrentRowColours(const TOCTreeRow& row, const LXMVThemeVO& theme)
{
    if (row.isCurrentPage) {
        contentView()->setBackgroundColor(tocColour(theme.toc_selected_toc_section_background()));
        m_barView->setBackgroundColor(tocColour(theme.toc_selected_toc_side_tab_background()));
        m_dataLabel->setTextColor(tocColour(theme.toc_selected_toc_title_color()));
        m_levelLabel->setTextColor(tocColour(theme.toc_selected_toc_title_color()));
        m_downArrowButton->setTitleColor(
            tocColour(theme.toc_selected_toc_arrow_color()), ui::ControlState::Normal);
        m_downArrowButton->setTitleColor(
            tocColour(theme.toc_selected_toc_arrow_color()), ui::ControlState::Selected);
    } else {
        m_barView->setBackgroundColor(ui::Color::clear());
        m_downArrowButton->setTitleColor(tocColour(theme.toc_more_icon_color()), ui::ControlState::Normal);
        m_downArrowButton->setTitleColor(tocColour(theme.toc_more_icon_color()), ui::ControlState::Selected);
    }
}

void TOCContentCell::finish()
{
    m_seperatorLeadingConstraint->setActive(true);
    setNeedsLayout();
    layoutIfNeeded();
}

void TOCContentCell::configureViewForTocWithDataDictionary(const TOCTreeRow& row, const LXMVThemeVO& theme)
{
    applyCommon(row, theme);
    applyArrow(row);
    m_levelLabel->setHidden(false);
    m_levelLabel->setFont(TOCConstants::lightRowFont());
    applyCurrentRowColours(row, theme);
    finish();
}

void TOCContentCell::configureViewForStandardsWithDataDictionary(
    const TOCTreeRow& row, const LXMVThemeVO& theme)
{
    applyCommon(row, theme);
    m_levelLabel->setHidden(false);
    m_dataLabel->setFont(TOCConstants::lightRowFont());
    applyArrow(row);
    // A standards group always offers its arrow.
    m_downArrowButton->setHidden(false);
    m_barView->setBackgroundColor(ui::Color::clear());
    m_downArrowButton->setTitleColor(tocColour(theme.toc_more_icon_color()), ui::ControlState::Normal);
    m_downArrowButton->setTitleColor(tocColour(theme.toc_more_icon_color()), ui::ControlState::Selected);
    // A row whose first child is itself no group is a resource: what the child's title
    // names decides how the row reads, and the child's link is what a tap opens. An empty
    // list of children has no first child.
    if (row.hasChildren() && !row.subnodes.front()->hasChildren()) {
        const auto& child = *row.subnodes.front();
        if (child.title == "toc") {
            m_dataLabel->setText("Narrative: " + row.title);
        } else if (child.title == "web links") {
            base::AttributedString text("Activity: " + row.title);
            size_t prefix = base::utf16Length("Activity: ");
            text.addForegroundColor({ 0, prefix }, ui::colorAttr(tocColour(theme.toc_description_color())));
            base::Range title { prefix, text.length() - prefix };
            text.addForegroundColor(title, ui::colorAttr(tocColour(theme.toc_selected_toc_arrow_color())));
            text.addUnderline(title, base::UnderlineStyle::Single);
            m_dataLabel->setAttributedText(std::move(text));
        }
        m_downArrowButton->setHidden(true);
        m_updatedURL = child.resourceURL;
    }
    finish();
}

void TOCContentCell::configureViewForExternalResourcesWithDataDictionary(
    const TOCTreeRow& row, const LXMVThemeVO& theme)
{
    applyCommon(row, theme);
    applyArrow(row);
    if (!row.hasChildren())
        m_updatedURL = row.resourceURL;
    applyCurrentRowColours(row, theme);
    m_levelLabel->setHidden(true);
    finish();
}

// MARK: - TOCTableViewCell

std::shared_ptr<TOCTableViewCell> TOCTableViewCell::create(
    ui::TableViewCellStyle style, std::string reuseIdentifier)
{
    std::shared_ptr<TOCTableViewCell> cell(new TOCTableViewCell(style, std::move(reuseIdentifier)));
    cell->build();
    return cell;
}

void TOCTableViewCell::build()
{
    const auto& content = contentView();
    m_barLabel = ui::Label::create();
    m_dataLabel = ui::Label::create();
    m_dataLabel->setNumberOfLines(2);
    m_pageLabel = ui::Label::create();
    m_timeLabel = ui::Label::create();
    m_bookmarkLabel = ui::Label::create();
    m_bookmarkLabel->setIsAccessibilityElement(false);
    m_seperator = ui::View::create();
    for (const auto& view : std::initializer_list<std::shared_ptr<ui::View>> {
             m_barLabel, m_dataLabel, m_pageLabel, m_timeLabel, m_bookmarkLabel, m_seperator }) {
        view->setTranslatesAutoresizingMaskIntoConstraints(false);
        content->addSubview(view);
    }
    m_cellLeadConstraint = m_dataLabel->leadingAnchor().constraintEqualTo(content->leadingAnchor(), 20);
    m_timeLabelBottomConstraint = sizing(content->bottomAnchor().constraintEqualTo(m_timeLabel->bottomAnchor(), 10));
    // Centred rows (resources) stand their title above the middle and the page caption
    // below it.
    m_verticalCenterConstraint = m_dataLabel->bottomAnchor().constraintEqualTo(content->centerYAnchor());
    m_bookmarkTrailingConstraint
        = content->trailingAnchor().constraintEqualTo(m_bookmarkLabel->trailingAnchor(), 20);
    auto constraints = stripAndDivider(*content, *m_barLabel, *m_seperator, true);
    auto textTop = m_dataLabel->topAnchor().constraintEqualTo(content->topAnchor(), bookmarkTextTop);
    textTop->setPriority(ui::LayoutPriority::defaultLow);
    constraints.insert(constraints.end(), {
        m_cellLeadConstraint,
        m_timeLabelBottomConstraint,
        m_bookmarkTrailingConstraint,
        textTop,
        sizing(m_dataLabel->topAnchor().constraintGreaterThanOrEqualTo(content->topAnchor(), bookmarkTextTop)),
        m_pageLabel->topAnchor().constraintEqualTo(m_dataLabel->bottomAnchor()),
        sizing(m_timeLabel->topAnchor().constraintGreaterThanOrEqualTo(m_pageLabel->bottomAnchor(), timeGap)),
        sizing(content->bottomAnchor().constraintGreaterThanOrEqualTo(m_pageLabel->bottomAnchor(), bookmarkTextTop)),
        m_bookmarkLabel->centerYAnchor().constraintEqualTo(content->centerYAnchor()),
        m_bookmarkLabel->widthAnchor().constraintEqualToConstant(iconSize),
        m_bookmarkLabel->heightAnchor().constraintEqualToConstant(iconSize),
    });
    for (const auto& label : { m_dataLabel, m_pageLabel, m_timeLabel }) {
        if (label != m_dataLabel)
            constraints.push_back(label->leadingAnchor().constraintEqualTo(m_dataLabel->leadingAnchor()));
        constraints.push_back(
            label->trailingAnchor().constraintLessThanOrEqualTo(m_bookmarkLabel->leadingAnchor(), -iconGap));
    }
    ui::Constraint::activate(constraints);
}

} // namespace lectoro
