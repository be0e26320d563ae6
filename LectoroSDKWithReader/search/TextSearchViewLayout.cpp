// The search panel's three forms, built in code: the bar strip with its input panel and
// buttons, the result table with its shadow, and the empty-result header. Metrics follow
// the device (iPhone / iPad); constraints are kept as data and the frames that tests and
// pictures read are set from their constants in layoutSubviews.

#include "LectoroSDKWithReader/foundation/IconFontConstants.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVIconFontConstants.h"
#include "LectoroSDKWithReader/search/SearchResultCell.h"
#include "LectoroSDKWithReader/search/TextSearchView.h"
#include "platform/base/AttributedString.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"

#include <algorithm>

namespace lectoro {

namespace {

constexpr const char* searchCancelGlyph = "\xe2\x88\x9e"; // U+221E
constexpr const char* searchMicGlyph = "\xea\x9f\xbd"; // U+A7FD
constexpr const char* searchPreviousGlyph = "G";
constexpr const char* searchNextGlyph = "H";
constexpr const char* searchOpenGlyph = "\xc9\xba"; // U+027A

double byIdiom(double phone, double pad)
{
    return isIpad() ? pad : phone;
}

// What the bar strip keeps after the input panel: the plain form's text button, or the
// glyph buttons (microphone when shown, previous, next, open, each 20 or 30 wide with
// their gaps: 150 or 190 with the microphone, which both forms with it keep room for).
double buttonReserve(bool plain, bool microphone)
{
    if (plain)
        return byIdiom(70, 100);
    return microphone ? 200 : 160;
}

ui::Color searchLayoutColour(const std::optional<ui::Color>& colour)
{
    return colour.value_or(ui::Color::clear());
}

ui::Font searchIconFont(double size)
{
    return ui::Font(MVIconFontConstants::getFontName(), size);
}

ui::Font searchTextFont(double size)
{
    return getCustomFont(size).value_or(ui::Font::systemFont(size));
}

void constrained(const std::shared_ptr<ui::View>& view)
{
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
}

ui::ConstraintPtr withPriority(ui::ConstraintPtr constraint, float priority)
{
    constraint->setPriority(priority);
    return constraint;
}

} // namespace

void TextSearchView::build(Variant variant, bool audio)
{
    buildBar(variant, audio);
    buildButtons(variant, audio);
    buildTable(variant);
    buildHeader();
    observeContentSize();
    setAccessibilityIdentifiers();
    AccessibilityHelper::setAccessibilityForElementID(
        *m_searchIconLabel, "SearchIcon", "ReaderLectoroAccessibility", "");
    placeFrames();
}

void TextSearchView::buildBar(Variant variant, bool audio)
{
    ui::Rect bounds = this->bounds();
    m_barStrip = ui::View::create(
        { 0, bounds.size.height - m_searchBarHeight, bounds.size.width, m_searchBarHeight });
    constrained(m_barStrip);
    m_barStrip->setBackgroundColor(searchLayoutColour(m_theme->search_separation_background()));
    addSubview(m_barStrip);
    auto safe = safeAreaLayoutGuide();
    ui::Constraint::activate({
        withPriority(m_barStrip->widthAnchor().constraintEqualTo(widthAnchor()), 750),
        m_barStrip->bottomAnchor().constraintEqualTo(bottomAnchor()),
        m_barStrip->heightAnchor().constraintEqualToConstant(m_searchBarHeight),
        m_barStrip->leadingAnchor().constraintEqualTo(safe->leadingAnchor()),
        m_barStrip->trailingAnchor().constraintEqualTo(safe->trailingAnchor()),
    });

    m_inputPanel = ui::View::create();
    constrained(m_inputPanel);
    m_barStrip->addSubview(m_inputPanel);
    double leading = variant == Variant::Plain ? m_tableViewMargin : m_tableViewMargin + 35;
    double trailing = buttonReserve(variant == Variant::Plain, audio);
    double inset = byIdiom(8, 16);
    ui::Constraint::activate({
        m_inputPanel->leadingAnchor().constraintEqualTo(m_barStrip->leadingAnchor(), leading),
        m_inputPanel->trailingAnchor().constraintEqualTo(m_barStrip->trailingAnchor(), -trailing),
        m_inputPanel->topAnchor().constraintEqualTo(m_barStrip->topAnchor(), inset),
        m_inputPanel->bottomAnchor().constraintEqualTo(m_barStrip->bottomAnchor(), -inset),
    });
    m_inputPanel->setBackgroundColor(searchLayoutColour(m_theme->search_input_panelBg_color()));
    m_inputPanel->layer()->setCornerRadius(8.0);
    m_inputPanel->setClipsToBounds(true);
    m_inputPanel->layer()->setBorderColor(ui::Color::white());

    m_searchIconLabel = ui::Label::create();
    constrained(m_searchIconLabel);
    m_searchIconLabel->setText(ICON_SEARCH);
    m_searchIconLabel->setFont(searchIconFont(16));
    m_searchIconLabel->setTextColor(searchLayoutColour(m_theme->search_main_icon_color()));
    m_searchIconLabel->setBackgroundColor(ui::Color::clear());
    m_searchIconLabel->setTextAlignment(
        variant == Variant::Reader && isRTL() ? base::TextAlignment::Right : base::TextAlignment::Left);
    m_inputPanel->addSubview(m_searchIconLabel);
    ui::Constraint::activate({
        m_searchIconLabel->leadingAnchor().constraintEqualTo(m_inputPanel->leadingAnchor(), byIdiom(16, 18)),
        m_searchIconLabel->widthAnchor().constraintEqualToConstant(16),
        m_searchIconLabel->topAnchor().constraintEqualTo(m_inputPanel->topAnchor()),
        m_searchIconLabel->bottomAnchor().constraintEqualTo(m_inputPanel->bottomAnchor()),
    });

    constrained(m_searchBar);
    m_searchBar->setText("");
    base::AttributedString placeholder(TextSearchConstants::localized("SEARCH"));
    if (auto hint = m_theme->search_hint_text_color())
        placeholder.addForegroundColor({ 0, placeholder.length() }, IconFontConstants::colorAttr(*hint));
    m_searchBar->setAttributedPlaceholder(placeholder);
    m_searchBar->setFont(searchTextFont(byIdiom(14, 17)));
    m_searchBar->setTextColor(searchLayoutColour(m_theme->search_title_color()));
    m_searchBar->setBackgroundColor(ui::Color::clear());
    m_searchBar->layer()->setBorderColor(ui::Color::white());
    m_searchBar->setTextAlignment(isRTL() ? base::TextAlignment::Right : base::TextAlignment::Left);
    m_searchBar->setReturnKeyType(ui::ReturnKeyType::Search);
    m_searchBar->setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
    if (variant == Variant::Elastic)
        m_searchBar->setUserInteractionEnabled(false);
    m_inputPanel->addSubview(m_searchBar);
    ui::Constraint::activate({
        m_searchBar->leadingAnchor().constraintEqualTo(m_searchIconLabel->trailingAnchor(), byIdiom(16, 12)),
        m_searchBar->topAnchor().constraintEqualTo(m_inputPanel->topAnchor()),
        m_searchBar->bottomAnchor().constraintEqualTo(m_inputPanel->bottomAnchor()),
        m_searchBar->trailingAnchor().constraintEqualTo(m_inputPanel->trailingAnchor(), -6),
    });
}

void TextSearchView::buildButtons(Variant variant, bool audio)
{
    ui::Color glyphColour = searchLayoutColour(m_theme->search_cross_icon_color());
    constrained(m_cancelBtn);
    m_cancelBtn->setTitleColor(glyphColour);
    m_cancelBtn->setBackgroundColor(ui::Color::clear());
    m_barStrip->addSubview(m_cancelBtn);
    if (variant == Variant::Plain) {
        m_cancelBtn->setTitle(TextSearchConstants::localized("CANCEL"));
        m_cancelBtn->setFont(searchTextFont(byIdiom(14, 17)));
        ui::Constraint::activate({
            m_cancelBtn->trailingAnchor().constraintEqualTo(m_barStrip->trailingAnchor(), -m_tableViewMargin),
            m_cancelBtn->leadingAnchor().constraintEqualTo(m_inputPanel->trailingAnchor(), 8),
            m_cancelBtn->topAnchor().constraintEqualTo(m_inputPanel->topAnchor()),
            m_cancelBtn->bottomAnchor().constraintEqualTo(m_inputPanel->bottomAnchor()),
        });
        return;
    }

    double width = byIdiom(20, 30);
    double inset = byIdiom(8, 18);
    auto glyphButton = [&](const std::shared_ptr<ui::Button>& button, const char* glyph) {
        constrained(button);
        button->setTitle(std::string(glyph));
        button->setFont(searchIconFont(byIdiom(14, 20)));
        button->setTitleColor(glyphColour);
        button->setBackgroundColor(ui::Color::clear());
        if (!button->superview())
            m_barStrip->addSubview(button);
        ui::Constraint::activate({
            button->widthAnchor().constraintEqualToConstant(width),
            button->topAnchor().constraintEqualTo(m_barStrip->topAnchor(), inset),
            button->bottomAnchor().constraintEqualTo(m_barStrip->bottomAnchor(), -inset),
        });
    };
    glyphButton(m_cancelBtn, searchCancelGlyph);
    ui::Constraint::activate({
        m_cancelBtn->leadingAnchor().constraintEqualTo(m_barStrip->leadingAnchor(), 10),
        withPriority(m_cancelBtn->leadingAnchor().constraintEqualTo(m_inputPanel->trailingAnchor(), 12), 750),
    });

    std::shared_ptr<ui::View> previousNeighbour = m_inputPanel;
    if (audio) {
        m_micButton = ui::Button::create();
        glyphButton(m_micButton, searchMicGlyph);
        m_micButton->leadingAnchor().constraintEqualTo(m_inputPanel->trailingAnchor(), 20)->setActive(true);
        auto weak = weakSelf();
        m_micButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
            if (auto self = weak.lock())
                self->tapMicButton();
        });
        setupVoiceSearch(m_barStrip, m_micButton);
        previousNeighbour = m_micButton;
    }
    glyphButton(m_prevBtn, searchPreviousGlyph);
    m_prevBtn->leadingAnchor().constraintEqualTo(previousNeighbour->trailingAnchor(), 20)->setActive(true);
    glyphButton(m_nextBtn, searchNextGlyph);
    m_nextBtn->leadingAnchor().constraintEqualTo(m_prevBtn->trailingAnchor(), 20)->setActive(true);
    glyphButton(m_openBtn, searchOpenGlyph);
    m_openBtn->leadingAnchor().constraintEqualTo(m_nextBtn->trailingAnchor(), 10)->setActive(true);
}

void TextSearchView::buildTable(Variant variant)
{
    constrained(m_tableView);
    insertSubviewBelow(m_tableView, m_barStrip.get());
    auto safe = safeAreaLayoutGuide();
    // The list is as high as asked, but never reaches above 10 points from the panel's top.
    m_tableViewHeightConstraint = m_tableView->heightAnchor().constraintEqualToConstant(0);
    m_tableViewHeightConstraint->setPriority(ui::LayoutPriority::required - 1);
    m_tableViewHeightConstraint->setActive(true);
    auto top = m_tableView->topAnchor().constraintGreaterThanOrEqualTo(topAnchor(), 10);
    ui::Constraint::activate({
        m_tableView->leadingAnchor().constraintEqualTo(safe->leadingAnchor(), m_tableViewMargin),
        safe->trailingAnchor().constraintEqualTo(m_tableView->trailingAnchor(), m_tableViewMargin),
        m_tableView->bottomAnchor().constraintEqualTo(m_barStrip->topAnchor(), 2),
    });
    top->setActive(true);
    m_tableView->setDelegate(std::static_pointer_cast<TextSearchView>(shared_from_this()));
    m_tableView->setDataSource(std::static_pointer_cast<TextSearchView>(shared_from_this()));
    if (variant == Variant::Plain)
        m_tableView->setBackgroundColor(searchLayoutColour(m_theme->search_popup_background()));
    m_tableView->layer()->setBorderColor(searchLayoutColour(m_theme->search_popup_border()));
    m_tableView->layer()->setBorderWidth(1.0);
    m_tableView->setTableHeaderView(nullptr);
    m_tableView->setRowHeight(ui::TableViewAutomaticDimension);
    m_tableView->setEstimatedRowHeight(m_estimatedHeightOfTableView);
    m_tableView->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
    m_tableView->registerCellClass<SearchResultCell>(SearchResultCell::reuseIdentifier);

    m_shadowView = ui::View::create();
    constrained(m_shadowView);
    m_shadowView->setBackgroundColor(UIColorExpanded::colorWithHexString("095E8E"));
    insertSubviewBelow(m_shadowView, m_tableView.get());
    ui::Constraint::activate({
        m_shadowView->leadingAnchor().constraintEqualTo(safe->leadingAnchor(), m_tableViewMargin),
        safe->trailingAnchor().constraintEqualTo(m_shadowView->trailingAnchor(), m_tableViewMargin),
        m_shadowView->bottomAnchor().constraintEqualTo(m_barStrip->topAnchor(), 2),
        m_shadowView->heightAnchor().constraintEqualTo(m_tableView->heightAnchor()),
    });
}

void TextSearchView::buildHeader()
{
    m_tableviewHeaderView->setFrame({ 0, 0, m_tableView->frame().size.width, m_tableHeaderViewHeight });
    m_headerIconLabel = ui::Label::create();
    constrained(m_headerIconLabel);
    m_headerIconLabel->setText(ICON_SEARCH);
    m_headerIconLabel->setFont(searchIconFont(byIdiom(80, 84)));
    m_headerIconLabel->setTextColor(
        UIColorExpanded::colorWithHexString("#CDCDCD").value_or(ui::Color::gray()));
    m_tableviewHeaderView->addSubview(m_headerIconLabel);
    constrained(m_noResultText);
    m_noResultText->setText(TextSearchConstants::localized("search_result_not_found"));
    m_noResultText->setTextColor(searchLayoutColour(m_theme->search_subtext_color()));
    m_noResultText->setFont(searchTextFont(byIdiom(14, 18)));
    m_tableviewHeaderView->addSubview(m_noResultText);
    ui::Constraint::activate({
        m_headerIconLabel->centerXAnchor().constraintEqualTo(m_tableviewHeaderView->centerXAnchor()),
        m_headerIconLabel->centerYAnchor().constraintEqualTo(m_tableviewHeaderView->centerYAnchor(), -20),
        m_noResultText->centerXAnchor().constraintEqualTo(m_tableviewHeaderView->centerXAnchor()),
        m_noResultText->topAnchor().constraintEqualTo(m_headerIconLabel->bottomAnchor(), 20),
    });

    m_shadowView->setClipsToBounds(false);
    m_shadowView->layer()->setMasksToBounds(false);
    m_shadowView->layer()->setShadowOffset({ -1.0, 1.0 });
    m_shadowView->layer()->setShadowRadius(4.0);
    m_shadowView->layer()->setShadowOpacity(0.7);
    m_shadowView->layer()->setShadowColor(ui::Color::black());
}

void TextSearchView::layoutSubviews()
{
    ui::View::layoutSubviews();
    placeFrames();
}

// Frames from the constraints' constants: the strip along the bottom and the bar's controls
// left to right; the list and its shadow stand on the strip by their constraints.
void TextSearchView::placeFrames()
{
    if (!m_barStrip)
        return;
    ui::Rect bounds = this->bounds();
    double width = bounds.size.width;
    m_barStrip->setFrame({ 0, bounds.size.height - m_searchBarHeight, width, m_searchBarHeight });
    double listHeightNow
        = std::min(listHeight(), std::max(0.0, bounds.size.height - m_searchBarHeight + 2 - 10));
    ui::Rect list { m_tableViewMargin, bounds.size.height - m_searchBarHeight + 2 - listHeightNow,
        std::max(0.0, width - 2 * m_tableViewMargin), listHeightNow };
    if (m_headerShown)
        m_tableviewHeaderView->setFrame({ 0, 0, list.size.width, m_tableHeaderViewHeight });

    bool plain = !m_prevBtn->superview();
    double inset = byIdiom(8, 16);
    double leading = plain ? m_tableViewMargin : m_tableViewMargin + 35;
    double trailing = buttonReserve(plain, m_micButton != nullptr);
    ui::Rect panel { leading, inset, std::max(0.0, width - leading - trailing),
        m_searchBarHeight - 2 * inset };
    m_inputPanel->setFrame(panel);
    double iconLeading = byIdiom(16, 18);
    m_searchIconLabel->setFrame({ iconLeading, 0, 16, panel.size.height });
    double fieldLeading = iconLeading + 16 + byIdiom(16, 12);
    m_searchBar->setFrame(
        { fieldLeading, 0, std::max(0.0, panel.size.width - fieldLeading - 6), panel.size.height });

    if (plain) {
        double x = panel.origin.x + panel.size.width + 8;
        m_cancelBtn->setFrame({ x, inset, std::max(0.0, width - m_tableViewMargin - x), panel.size.height });
        return;
    }
    double glyphWidth = byIdiom(20, 30);
    double glyphInset = byIdiom(8, 18);
    double glyphHeight = std::max(0.0, m_searchBarHeight - 2 * glyphInset);
    m_cancelBtn->setFrame({ 10, glyphInset, glyphWidth, glyphHeight });
    double x = panel.origin.x + panel.size.width;
    if (m_micButton) {
        x += 20;
        m_micButton->setFrame({ x, glyphInset, glyphWidth, glyphHeight });
        x += glyphWidth;
        ui::Rect mic = m_micButton->frame();
        m_animateMicButton->setFrame({ mic.origin.x + mic.size.width / 2 - 14.4,
            mic.origin.y + mic.size.height / 2 - 14.4, 28.8, 28.8 });
    }
    x += 20;
    m_prevBtn->setFrame({ x, glyphInset, glyphWidth, glyphHeight });
    x += glyphWidth + 20;
    m_nextBtn->setFrame({ x, glyphInset, glyphWidth, glyphHeight });
    x += glyphWidth + 10;
    m_openBtn->setFrame({ x, glyphInset, glyphWidth, glyphHeight });
}

} // namespace lectoro
