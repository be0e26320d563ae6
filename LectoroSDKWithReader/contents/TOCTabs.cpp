// The contents panel's tab bar and its two sub-tab bars (standards: TEKS and ELPS;
// resources: internal and external), switching tabs, and the notices of an empty list.
//
// Which tabs exist follows the panel's data: Contents always, Standards with a standards
// list, Bookmarks when the feature is on, Resources with internal resources or external
// ones available. The visible tabs share the bar in equal parts: each is as wide as the
// contents tab, chained edge to edge, the last pinned to the bar's trailing edge. A sub-tab
// bar lies beside the main bar: below it on iPad, above it on iPhone.

#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/TOCViewController.h"
#include "LectoroSDKWithReader/foundation/AccessibilityIdentifiers.h"
#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

#include <algorithm>
#include <cmath>

namespace lectoro {

namespace {

constexpr double tocSubTabSpacing = 5;
constexpr double tocMainBarBelowHeader = 15;
constexpr double tocSubTabTitleSize = 15;
constexpr const char* tocResourcesTitleHex = "#5D5E5D";
constexpr const char* tocEmptyGlyphHex = "#CDCDCD";
constexpr const char* tocEmptyTextHex = "#6E6E6E";
constexpr const char* tocBookmarkGlyph = "q";
constexpr const char* tocNoResourcesGlyph = "!";

void tocSetTitleColour(const std::shared_ptr<ui::Button>& button, const std::optional<ui::Color>& colour)
{
    if (button)
        button->setTitleColor(tocColour(colour), ui::ControlState::Normal);
}

void tocSetHidden(const std::shared_ptr<ui::View>& view, bool hidden)
{
    if (view)
        view->setHidden(hidden);
}

// Detaches a view built by an earlier run of the tab set-up.
void tocDetach(const std::shared_ptr<ui::View>& view)
{
    if (view && view->superview())
        view->removeFromSuperview();
}

} // namespace

std::shared_ptr<ui::Button> TOCViewController::makeTabButton(const std::string& key, double size, int tag)
{
    auto button = ui::Button::create();
    button->setTitle(TOCConstants::localized(key), ui::ControlState::Normal);
    button->setFont(TOCConstants::customFont(size));
    // Four tabs share a phone's width: each title keeps a margin from its neighbours and
    // shrinks rather than running into the next one.
    button->setContentEdgeInsets({ 0, 4, 0, 4 });
    button->setBackgroundColor(ui::Color::clear());
    button->setTranslatesAutoresizingMaskIntoConstraints(false);
    button->heightAnchor().constraintEqualToConstant(m_segmentViewHeight)->setActive(true);
    button->setTag(tag);
    return button;
}

// A tab's title takes its size from the bar's font, made smaller (down to half) when the
// tab's share of the bar is narrower than the title, so neighbouring titles never touch.
void TOCViewController::fitTabTitles()
{
    const double size = tocIsPad() ? 20 : 18;
    for (const auto& tab : { m_contentButton, m_standardsButton, m_bookmarkButton, m_resourcesButton }) {
        if (!tab || tab->isHidden() || tab->frame().width() <= 0)
            continue;
        const auto insets = tab->contentEdgeInsets();
        const double room = tab->frame().width() - insets.left - insets.right;
        auto font = TOCConstants::customFont(size);
        tab->setFont(font);
        const double wide = tab->titleLabel()->sizeThatFits({ 1.0e6, 0 }).width;
        if (wide > room && wide > 0)
            tab->setFont(TOCConstants::customFont(std::max(size / 2, std::floor(size * room / wide))));
    }
}

void TOCViewController::setupTabViews()
{
    const bool pad = tocIsPad();
    const double segmentTitleSize = pad ? 20 : 18;
    std::weak_ptr<TOCViewController> weak = self();
    auto action = [weak](void (TOCViewController::*handler)(ui::Button&)) {
        return [weak, handler](ui::Control& control) {
            auto panel = weak.lock();
            if (auto* button = dynamic_cast<ui::Button*>(&control); panel && button)
                ((*panel).*handler)(*button);
        };
    };

    // A second run (after the background load found resources) rebuilds everything.
    for (const auto& view : { m_standardResourceView, m_externalResourceView, m_lineView2, m_lineView3,
             m_lineView4, m_barSeparator })
        tocDetach(view);
    if (!m_segmentView) {
        m_segmentView = ui::View::create();
        m_segmentView->setTranslatesAutoresizingMaskIntoConstraints(false);
    }
    m_segmentView->setBackgroundColor(tocColour(m_theme->toc_tab_bg()));
    if (!m_segmentView->superview()) {
        m_containerView->addSubview(m_segmentView);
        // iPad: under the header; iPhone: along the panel's bottom.
        ui::Constraint::activate({ m_segmentView->heightAnchor().constraintEqualToConstant(m_segmentViewHeight),
            m_segmentView->leadingAnchor().constraintEqualTo(m_containerView->leadingAnchor()),
            m_segmentView->trailingAnchor().constraintEqualTo(m_containerView->trailingAnchor()),
            pad ? m_segmentView->topAnchor().constraintEqualTo(m_headerView->bottomAnchor(), tocMainBarBelowHeader)
                : m_segmentView->topAnchor().constraintEqualTo(
                      m_containerView->bottomAnchor(), -m_segmentViewHeight) });
    }
    m_visibleTabs.clear();

    m_contentButton = makeTabButton("Content", segmentTitleSize, TOCFilterContents);
    tocSetTitleColour(m_contentButton, m_theme->toc_selected_text_color());
    m_contentButton->addTarget(ui::ControlEvent::TouchUpInside, action(&TOCViewController::actionForButtonWithSender));
    m_segmentView->addSubview(m_contentButton);
    m_contentButtonLeadAnchor = m_contentButton->leadingAnchor().constraintEqualTo(m_segmentView->leadingAnchor());
    ui::Constraint::activate({ m_contentButtonLeadAnchor,
        m_contentButton->topAnchor().constraintEqualTo(m_segmentView->topAnchor()) });
    m_visibleTabs.push_back(m_contentButton);

    auto makeSubBar = [&](std::shared_ptr<ui::View>& bar, std::shared_ptr<ui::Button>& left,
                          std::shared_ptr<ui::Button>& right, const char* leftKey, const char* rightKey,
                          void (TOCViewController::*leftAction)(ui::Button&),
                          void (TOCViewController::*rightAction)(ui::Button&)) {
        bar = ui::View::create();
        bar->setBackgroundColor(ui::Color::clear());
        bar->setTranslatesAutoresizingMaskIntoConstraints(false);
        m_containerView->addSubview(bar);
        ui::Constraint::activate({ bar->heightAnchor().constraintEqualToConstant(m_segmentViewHeight),
            bar->leadingAnchor().constraintEqualTo(m_containerView->leadingAnchor()),
            bar->trailingAnchor().constraintEqualTo(m_containerView->trailingAnchor()),
            pad ? bar->topAnchor().constraintEqualTo(m_segmentView->bottomAnchor())
                : bar->bottomAnchor().constraintEqualTo(m_segmentView->topAnchor()) });
        left = makeTabButton(leftKey, tocSubTabTitleSize, 0);
        right = makeTabButton(rightKey, tocSubTabTitleSize, 0);
        tocSetTitleColour(left, m_theme->toc_selected_text_color());
        tocSetTitleColour(right, m_theme->toc_tab_text_color());
        left->addTarget(ui::ControlEvent::TouchUpInside, action(leftAction));
        right->addTarget(ui::ControlEvent::TouchUpInside, action(rightAction));
        bar->addSubview(left);
        bar->addSubview(right);
        ui::Constraint::activate({ left->leadingAnchor().constraintEqualTo(bar->leadingAnchor()),
            left->topAnchor().constraintEqualTo(bar->topAnchor()),
            right->leadingAnchor().constraintEqualTo(left->trailingAnchor()),
            right->trailingAnchor().constraintEqualTo(bar->trailingAnchor()),
            right->widthAnchor().constraintEqualTo(left->widthAnchor()),
            right->topAnchor().constraintEqualTo(bar->topAnchor()) });
    };

    const bool hasStandards = !m_model.standardResourceArray().empty();
    const bool hasBookmarks
        = m_userSettingsModel ? m_userSettingsModel->isBookmarkEnabled() : MVReaderSettingModel().isBookmarkEnabled();
    const bool hasResources = !m_model.resourceGroups().empty() || m_isExternalResourceAvailable;

    if (m_isExternalResourceAvailable) {
        makeSubBar(m_externalResourceView, m_internalResourceButton, m_externalResourceButton, "INTERNAL_RESOURCES",
            "EXTERNAL_RESOURCES", &TOCViewController::actionForInternalResourcesButtonWithSender,
            &TOCViewController::actionForExternalResourcesButtonWithSender);
        m_internalResourceButton->setSelected(!m_isExternalResourcesSelected);
        m_externalResourceButton->setSelected(m_isExternalResourcesSelected);
    } else {
        m_externalResourceView.reset();
        m_internalResourceButton.reset();
        m_externalResourceButton.reset();
    }

    auto addTab = [&](std::shared_ptr<ui::Button> button, bool last) {
        const auto& previous = m_visibleTabs.back();
        m_segmentView->addSubview(button);
        ui::Constraint::activate({ button->leadingAnchor().constraintEqualTo(previous->trailingAnchor()),
            button->widthAnchor().constraintEqualTo(m_contentButton->widthAnchor()),
            button->topAnchor().constraintEqualTo(m_segmentView->topAnchor()) });
        if (last)
            button->trailingAnchor().constraintEqualTo(m_segmentView->trailingAnchor())->setActive(true);
        m_visibleTabs.push_back(std::move(button));
    };

    if (hasStandards) {
        makeSubBar(m_standardResourceView, m_teksButton, m_elpsButton, "TEKS", "ELPS",
            &TOCViewController::actionForTEKSButtonWithSender, &TOCViewController::actionForELPSButtonWithSender);
        m_standardsButton = makeTabButton("Standards", segmentTitleSize, TOCFilterStandards);
        tocSetTitleColour(m_standardsButton, m_theme->toc_tab_text_color());
        m_standardsButton->addTarget(
            ui::ControlEvent::TouchUpInside, action(&TOCViewController::actionForButtonWithSender));
        addTab(m_standardsButton, !hasBookmarks && !hasResources);
    } else {
        m_standardResourceView.reset();
        m_teksButton.reset();
        m_elpsButton.reset();
        m_standardsButton.reset();
    }
    if (hasBookmarks) {
        m_bookmarkButton = makeTabButton("BOOKMARKS", segmentTitleSize, TOCFilterBookmarks);
        tocSetTitleColour(m_bookmarkButton, m_theme->toc_tab_text_color());
        m_bookmarkButton->addTarget(
            ui::ControlEvent::TouchUpInside, action(&TOCViewController::actionForButtonWithSender));
        addTab(m_bookmarkButton, !hasResources);
    } else {
        m_bookmarkButton.reset();
    }
    if (hasResources) {
        m_resourcesButton = makeTabButton("Resources", segmentTitleSize, TOCFilterResources);
        m_resourcesButton->setTitleColor(
            UIColorExpanded::colorWithHexString(tocResourcesTitleHex).value_or(ui::Color::clear()), ui::ControlState::Normal);
        m_resourcesButton->addTarget(
            ui::ControlEvent::TouchUpInside, action(&TOCViewController::actionForButtonWithSender));
        addTab(m_resourcesButton, true);
    } else {
        m_resourcesButton.reset();
    }
    if (m_visibleTabs.size() == 1)
        m_contentButton->centerXAnchor().constraintEqualTo(m_segmentView->centerXAnchor())->setActive(true);

    if (m_tableView) {
        m_tableView->setRowHeight(ui::TableViewAutomaticDimension);
        m_tableView->setEstimatedRowHeight(defaultEstimate);
    }

    m_lineView2 = ui::View::create();
    m_lineView2->setBackgroundColor(tocColour(m_theme->toc_selected_tab_border()));
    m_lineView2->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_containerView->addSubview(m_lineView2);
    m_lineViewLeftAnchor = m_lineView2->leftAnchor().constraintEqualTo(m_segmentView->leftAnchor());
    ui::Constraint::activate({ m_lineView2->heightAnchor().constraintEqualToConstant(2),
        m_lineView2->widthAnchor().constraintEqualTo(m_contentButton->widthAnchor()), m_lineViewLeftAnchor,
        pad ? m_lineView2->topAnchor().constraintEqualTo(m_segmentView->bottomAnchor(), -2)
            : m_lineView2->topAnchor().constraintEqualTo(m_segmentView->topAnchor(), 2) });

    m_barSeparator = ui::View::create();
    m_barSeparator->setBackgroundColor(tocColour(m_theme->toc_tab_border()));
    m_barSeparator->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_containerView->addSubview(m_barSeparator);
    m_LineViewTopAnchor = pad ? m_barSeparator->topAnchor().constraintEqualTo(m_segmentView->bottomAnchor())
                              : m_barSeparator->topAnchor().constraintEqualTo(m_segmentView->topAnchor(), 1);
    ui::Constraint::activate({ m_barSeparator->heightAnchor().constraintEqualToConstant(1),
        m_barSeparator->leadingAnchor().constraintEqualTo(m_containerView->leadingAnchor()),
        m_barSeparator->trailingAnchor().constraintEqualTo(m_containerView->trailingAnchor()), m_LineViewTopAnchor });

    auto makeSubBarLine = [&](const std::shared_ptr<ui::View>& bar) {
        auto line = ui::View::create();
        line->setBackgroundColor(tocColour(m_theme->toc_tab_border()));
        line->setTranslatesAutoresizingMaskIntoConstraints(false);
        m_containerView->addSubview(line);
        ui::Constraint::activate({ line->heightAnchor().constraintEqualToConstant(1),
            line->leadingAnchor().constraintEqualTo(m_containerView->leadingAnchor()),
            line->trailingAnchor().constraintEqualTo(m_containerView->trailingAnchor()),
            pad ? line->topAnchor().constraintEqualTo(bar->bottomAnchor())
                : line->bottomAnchor().constraintEqualTo(bar->topAnchor()) });
        if (!pad) {
            // On iPhone the bar sits over the list: its line casts a shadow upwards.
            auto& layer = *line->layer();
            layer.setShadowOffset({ 0, -1 });
            layer.setShadowRadius(3);
            layer.setShadowOpacity(5.0);
        }
        return line;
    };
    m_lineView3 = hasStandards ? makeSubBarLine(m_standardResourceView) : nullptr;
    m_lineView4 = m_isExternalResourceAvailable ? makeSubBarLine(m_externalResourceView) : nullptr;

    // A rebuilt bar keeps showing the sub-tab bar of the tab on screen.
    tocSetHidden(m_standardResourceView, m_selectedButton != TOCFilterStandards);
    tocSetHidden(m_lineView3, m_selectedButton != TOCFilterStandards);
    tocSetHidden(m_externalResourceView, m_selectedButton != TOCFilterResources);
    tocSetHidden(m_lineView4, m_selectedButton != TOCFilterResources);
    if (m_selectedButton != TOCFilterContents) {
        for (const auto& tab : m_visibleTabs) {
            if (tab->tag() == m_selectedButton)
                setTabTitleColours(tab);
        }
    }

    struct Identifier {
        const std::shared_ptr<ui::Button>& button;
        const char* identifier;
        const char* elementID;
    };
    for (const auto& item : { Identifier { m_contentButton, TOC_CONTENT_BUTTON, "TOCContentButton" },
             Identifier { m_bookmarkButton, TOC_BOOKMARK_BUTTON, "TOCBookMarkButton" },
             Identifier { m_resourcesButton, TOC_RESOURCES_BUTTON, "TOCResourcesButton" },
             Identifier { m_standardsButton, TOC_STANDARDS_BUTTON, "TOCStandardButton" },
             Identifier { m_elpsButton, TOC_ELPS_BUTTON, "TOCELPSButton" },
             Identifier { m_teksButton, TOC_TEKS_BUTTON, "TOCTEKSButton" },
             Identifier { m_internalResourceButton, TOC_INTERNAL_RESOURCE_BUTTON, "TOCInternalResourcesButton" },
             Identifier { m_externalResourceButton, TOC_EXTERNAL_RESOURCE_BUTTON, "TOCExternalResourcesButton" } }) {
        if (!item.button)
            continue;
        item.button->setAccessibilityIdentifier(item.identifier);
        addReaderAccessibilityOn(*item.button, item.elementID, "");
    }
}

// MARK: - Switching tabs

void TOCViewController::setTabTitleColours(const std::shared_ptr<ui::Button>& selected)
{
    for (const auto& tab : { m_contentButton, m_resourcesButton, m_bookmarkButton, m_standardsButton }) {
        if (tab)
            tocSetTitleColour(
                tab, tab == selected ? m_theme->toc_selected_text_color() : m_theme->toc_tab_text_color());
    }
}

void TOCViewController::setSubTabTitleColours(
    const std::shared_ptr<ui::Button>& selected, const std::shared_ptr<ui::Button>& other)
{
    tocSetTitleColour(other, m_theme->toc_tab_text_color());
    tocSetTitleColour(selected, m_theme->toc_selected_text_color());
}

void TOCViewController::actionForButtonWithSender(ui::Button& sender)
{
    if (m_lineViewLeftAnchor)
        m_lineViewLeftAnchor->setConstant(sender.frame().origin.x);
    if (isViewLoaded()) {
        std::weak_ptr<ui::View> weakRoot = view();
        ui::View::animate(closeAnimationDuration, [weakRoot] {
            if (auto root = weakRoot.lock())
                root->layoutIfNeeded();
        });
    }
    switchToTab(sender.tag());
}

void TOCViewController::showTab(int32_t tab, bool externalResources)
{
    if (tab == TOCFilterResources)
        m_isExternalResourcesSelected = externalResources;
    switchToTab(tab);
}

void TOCViewController::switchToTab(int32_t tag)
{
    const bool pad = tocIsPad();
    const double subBarOffset = m_segmentViewHeight + tocSubTabSpacing;
    auto setTable = [&](double top, double bottom) {
        if (m_topConstraintOfTableView)
            m_topConstraintOfTableView->setConstant(top);
        if (m_bottomConstraintOfTableView)
            m_bottomConstraintOfTableView->setConstant(bottom);
    };
    auto spreadHeaderOverTable = [&] {
        if (!m_tableviewHeaderView || !m_tableView)
            return;
        ui::Size size = m_tableView->frame().size;
        m_tableviewHeaderView->setFrame({ 0, 0, size.width, size.height });
        m_tableviewHeaderView->setHidden(false);
        m_tableView->setTableHeaderView(m_tableviewHeaderView);
    };
    auto collapseHeader = [&] {
        if (m_tableviewHeaderView)
            m_tableviewHeaderView->setFrame({});
    };
    auto setTitle = [&](const char* key) {
        if (m_headerTitle)
            m_headerTitle->setText(TOCConstants::localized(key));
    };

    if (m_tableviewHeaderView)
        m_tableviewHeaderView->setHidden(true);
    // The height caches belong to the tab that is left.
    m_estimatedHeaderHeights.clear();
    m_estimatedRowHeights.clear();

    switch (tag) {
    case TOCFilterContents:
        collapseHeader();
        m_selectedButton = TOCFilterContents;
        setTable(m_tableViewTop, 0);
        for (const auto& view : { m_standardResourceView, m_lineView3, m_externalResourceView, m_lineView4 })
            tocSetHidden(view, true);
        setTitle("Table_of_Content");
        setTabTitleColours(m_contentButton);
        break;
    case TOCFilterResources: {
        const bool noInternal = m_model.resourceGroups().empty();
        if (noInternal && !m_isExternalResourcesSelected) {
            tocDetach(m_emptyBookMarkContainer);
            showNoInternalResourcesView();
        }
        collapseHeader();
        m_selectedButton = TOCFilterResources;
        setTable(m_tableViewTop, 0);
        tocSetHidden(m_standardResourceView, true);
        tocSetHidden(m_lineView3, true);
        if (m_isExternalResourceAvailable) {
            setTable(subBarOffset, pad ? 0 : -subBarOffset);
            tocSetHidden(m_externalResourceView, false);
            tocSetHidden(m_lineView4, false);
        }
        if (noInternal && m_isExternalResourceAvailable && !m_isExternalResourcesSelected)
            spreadHeaderOverTable();
        setTitle("Table_of_Resources");
        setTabTitleColours(m_resourcesButton);
        break;
    }
    case TOCFilterBookmarks:
        if (!m_model.bookMarkArray().empty()) {
            collapseHeader();
        } else {
            spreadHeaderOverTable();
            tocDetach(m_emptyBookMarkContainer);
            showEmptyBookmarkView();
        }
        m_selectedButton = TOCFilterBookmarks;
        setTable(m_tableViewTop, 0);
        for (const auto& view : { m_standardResourceView, m_lineView3, m_externalResourceView, m_lineView4 })
            tocSetHidden(view, true);
        setTitle("BOOKMARKS");
        setTabTitleColours(m_bookmarkButton);
        break;
    case TOCFilterStandards:
        collapseHeader();
        m_selectedButton = TOCFilterStandards;
        tocSetHidden(m_standardResourceView, false);
        tocSetHidden(m_lineView3, false);
        tocSetHidden(m_externalResourceView, true);
        tocSetHidden(m_lineView4, true);
        // The tab always opens on its TEKS list, asked for again.
        if (m_teksButton && m_elpsButton) {
            m_teksButton->setSelected(true);
            m_elpsButton->setSelected(false);
        }
        if (auto delegate = m_delegate.lock())
            delegate->didSelectTEKSStandard();
        setTable(subBarOffset, pad ? 0 : -subBarOffset);
        setTitle("Table_of_Resources");
        setSubTabTitleColours(m_teksButton, m_elpsButton);
        setTabTitleColours(m_standardsButton);
        break;
    default:
        break;
    }
    // The tap's own layout ran before the tab changed; the next pass puts the selection
    // line under the tab now shown.
    if (isViewLoaded())
        view()->setNeedsLayout();
    reloadContentsTable();
}

// MARK: - Sub-tabs

// A sub-tab takes the selected colour; only a change of list asks the reader.
static bool tocSelectSubTab(ui::Button& sender, const std::shared_ptr<ui::Button>& other)
{
    if (sender.isSelected())
        return false;
    sender.setSelected(true);
    if (other)
        other->setSelected(false);
    return true;
}

void TOCViewController::actionForTEKSButtonWithSender(ui::Button& sender)
{
    setSubTabTitleColours(m_teksButton, m_elpsButton);
    auto delegate = m_delegate.lock();
    if (tocSelectSubTab(sender, m_elpsButton) && delegate)
        delegate->didSelectTEKSStandard();
}

void TOCViewController::actionForELPSButtonWithSender(ui::Button& sender)
{
    setSubTabTitleColours(m_elpsButton, m_teksButton);
    auto delegate = m_delegate.lock();
    if (tocSelectSubTab(sender, m_teksButton) && delegate)
        delegate->didSelectELPSStandard();
}

void TOCViewController::actionForInternalResourcesButtonWithSender(ui::Button& sender)
{
    setSubTabTitleColours(m_internalResourceButton, m_externalResourceButton);
    if (!tocSelectSubTab(sender, m_externalResourceButton))
        return;
    m_isExternalResourcesSelected = false;
    std::vector<TOCResourceGroup> groups;
    if (auto delegate = m_delegate.lock())
        groups = delegate->didSelectInternalResources();
    m_model.setResourceGroups({});
    if (groups.empty()) {
        if (m_tableviewHeaderView && m_tableView) {
            ui::Size size = m_tableView->frame().size;
            m_tableviewHeaderView->setFrame({ 0, 0, size.width, size.height });
            m_tableviewHeaderView->setHidden(false);
        }
        tocDetach(m_emptyBookMarkContainer);
        showNoInternalResourcesView();
    } else {
        m_model.setResourceGroups(std::move(groups));
    }
    reloadContentsTable();
}

void TOCViewController::actionForExternalResourcesButtonWithSender(ui::Button& sender)
{
    setSubTabTitleColours(m_externalResourceButton, m_internalResourceButton);
    if (!tocSelectSubTab(sender, m_internalResourceButton))
        return;
    m_isExternalResourcesSelected = true;
    if (m_tableviewHeaderView) {
        m_tableviewHeaderView->setHidden(true);
        m_tableviewHeaderView->setFrame({});
    }
    tocDetach(m_emptyBookMarkContainer);
    if (auto delegate = m_delegate.lock())
        delegate->didSelectExternalResources();
    reloadContentsTable();
}

// MARK: - Empty lists

void TOCViewController::showEmptyBookmarkView()
{
    buildEmptyNotice(tocBookmarkGlyph, "Your_added_bookmarks_will_be_listed_here");
}

void TOCViewController::showNoInternalResourcesView()
{
    buildEmptyNotice(tocNoResourcesGlyph, "NO_INTERNAL_RESOURCES");
}

void TOCViewController::buildEmptyNotice(const char* glyph, const std::string& key)
{
    if (!m_tableviewHeaderView)
        return;
    const bool pad = tocIsPad();
    const double glyphSize = pad ? 84 : 80;
    const double blockHeight = pad ? 164 : 160;
    m_emptyBookMarkContainer = ui::View::create(ui::Rect { 0, 0, 200, blockHeight });
    m_emptyBookMarkContainer->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_tableviewHeaderView->addSubview(m_emptyBookMarkContainer);
    ui::Constraint::activate(
        { m_emptyBookMarkContainer->centerXAnchor().constraintEqualTo(m_tableviewHeaderView->centerXAnchor()),
            m_emptyBookMarkContainer->centerYAnchor().constraintEqualTo(m_tableviewHeaderView->centerYAnchor()),
            m_emptyBookMarkContainer->heightAnchor().constraintEqualToConstant(blockHeight),
            m_emptyBookMarkContainer->widthAnchor().constraintEqualToConstant(200) });

    auto glyphLabel = ui::Label::create(ui::Rect { 0, 0, 200, glyphSize });
    glyphLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    glyphLabel->setFont(TOCConstants::iconFont(glyphSize));
    glyphLabel->setText(glyph);
    glyphLabel->setTextAlignment(ui::TextAlignment::Center);
    // An unreadable colour leaves the label's own.
    if (auto colour = UIColorExpanded::colorWithHexString(tocEmptyGlyphHex))
        glyphLabel->setTextColor(*colour);
    m_emptyBookMarkContainer->addSubview(glyphLabel);
    ui::Constraint::activate({ glyphLabel->centerXAnchor().constraintEqualTo(m_emptyBookMarkContainer->centerXAnchor()),
        glyphLabel->topAnchor().constraintEqualTo(m_emptyBookMarkContainer->topAnchor()),
        glyphLabel->heightAnchor().constraintEqualToConstant(glyphSize) });

    auto message = ui::Label::create(ui::Rect { 0, glyphSize + 10, 200, 50 });
    message->setTranslatesAutoresizingMaskIntoConstraints(false);
    message->setText(TOCConstants::localized(key));
    message->setTextAlignment(ui::TextAlignment::Center);
    if (auto colour = UIColorExpanded::colorWithHexString(tocEmptyTextHex))
        message->setTextColor(*colour);
    message->setFont(TOCConstants::customFont(pad ? 18 : 16));
    message->setNumberOfLines(0);
    m_emptyBookMarkContainer->addSubview(message);
    ui::Constraint::activate({ message->leadingAnchor().constraintEqualTo(m_emptyBookMarkContainer->leadingAnchor()),
        message->centerXAnchor().constraintEqualTo(m_emptyBookMarkContainer->centerXAnchor()),
        message->topAnchor().constraintEqualTo(glyphLabel->bottomAnchor(), 10),
        message->heightAnchor().constraintEqualToConstant(50) });
}

} // namespace lectoro
