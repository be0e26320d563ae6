#include "LectoroSDKWithReader/contents/TOCViewController.h"

#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/foundation/AccessibilityIdentifiers.h"
#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVIconFontConstants.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

#include <algorithm>
#include <cfloat>

namespace lectoro {

namespace {

} // namespace

std::shared_ptr<TOCViewController> TOCViewController::create(Inputs inputs)
{
    std::shared_ptr<TOCViewController> panel(new TOCViewController(std::move(inputs)));
    if (!panel->m_resourcesGiven)
        panel->loadResourcesInBackground();
    panel->reloadContentsTable();
    return panel;
}

TOCViewController::TOCViewController(Inputs inputs)
    : m_model(inputs.book, inputs.chapter, std::move(inputs.chapterName), std::move(inputs.activePages))
    , m_theme(inputs.theme ? std::move(inputs.theme) : std::make_shared<LXMVThemeVO>())
    , m_headerDefaultHeight(tocIsPad() ? 60 : 44)
    , m_tableViewTop(tocIsPad() ? 1 : 60)
{
    m_model.setBookMarkArray(std::move(inputs.bookmarks));
    if (inputs.resources) {
        m_resourcesGiven = true;
        m_model.setResourceGroups(std::move(*inputs.resources));
    }
    m_model.setStandardDataWithData(inputs.standards);
    m_model.setDataWithData(inputs.tocData);
}

TOCViewController::~TOCViewController() = default;

std::shared_ptr<TOCViewController> TOCViewController::self()
{
    return std::static_pointer_cast<TOCViewController>(shared_from_this());
}

void TOCViewController::setDataWithData(const base::Value& nodes)
{
    m_model.setDataWithData(nodes);
    reloadContentsTable();
}

void TOCViewController::setStandardDataWithData(const base::Value& nodes)
{
    m_model.setStandardDataWithData(nodes);
    reloadContentsTable();
}

void TOCViewController::setExternalResourcesDataWithData(const base::Value& nodes)
{
    m_model.setExternalResourcesDataWithData(nodes);
    reloadContentsTable();
}

void TOCViewController::reloadContentsTable()
{
    std::weak_ptr<TOCViewController> weak = self();
    base::RunLoop::main().post(weak, [weak] {
        auto panel = weak.lock();
        if (!panel || !panel->m_tableView)
            return;
        panel->m_tableView->reloadData();
        panel->m_tableView->setContentOffset({ 0, 0 });
    });
}

ui::InterfaceOrientationMask TOCViewController::supportedInterfaceOrientations() const
{
    if (m_bookOrientation == 1 || m_bookOrientation == 2)
        return ui::InterfaceOrientationMask::Landscape;
    if (m_bookOrientation == 3)
        return ui::InterfaceOrientationMask::Portrait;
    return ui::InterfaceOrientationMask::All;
}

// MARK: - Views

void TOCViewController::viewDidLoad()
{
    ViewController::viewDidLoad();
    auto root = view();
    m_containerView = ui::View::create();
    m_containerView->setBackgroundColor(tocColour(m_theme->toc_popup_background()));
    if (tocIsPad()) {
        auto overlay = tocColour(m_theme->toc_overlay_panel_background());
        root->setBackgroundColor(overlay.withAlpha(m_theme->toc_overlay_panel_opacity()));
    } else {
        root->setBackgroundColor(tocColour(m_theme->toc_popup_background()));
    }
    m_segmentWidth = tocIsPad() ? (root->frame().size.width - 120) / 3 : root->frame().size.width / 3;
    root->layoutIfNeeded();
    m_selectedButton = TOCFilterContents;
    setupContainerViews();
    setupTableView();
    m_topConstraintOfTableView->setConstant(m_tableViewTop);
    m_bottomConstraintOfTableView->setConstant(0);
    // The sub-tab bars show only with their tab.
    for (const auto& hidden : { m_standardResourceView, m_lineView3, m_externalResourceView, m_lineView4 }) {
        if (hidden)
            hidden->setHidden(true);
    }
    m_headerTitle->setAccessibilityIdentifier(TOC_HEADER_TITLE);
    // A load started with the panel covers it until the resources are in.
    if (m_loaderView && !m_loaderView->isHidden()) {
        m_loaderView->setFrame(root->bounds());
        root->addSubview(m_loaderView);
    }

    std::weak_ptr<TOCViewController> weak = self();
    m_voiceOverObserver = base::NotificationCenter::defaultCenter().addObserver(
        ui::VoiceOverStatusDidChangeNotification, nullptr, [weak](const base::Notification&) {
            if (auto panel = weak.lock())
                panel->updateInteractionForVoiceOver();
        });
}

void TOCViewController::setupContainerViews()
{
    auto root = view();
    m_pangestureContainer = ui::View::create();
    m_pangestureContainer->setBackgroundColor(ui::Color::clear());
    m_pangestureContainer->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(m_pangestureContainer);
    auto safe = root->safeAreaLayoutGuide();
    m_leftConstraintOfContainerView
        = m_pangestureContainer->leadingAnchor().constraintEqualTo(safe->leadingAnchor());
    m_rightConstraintOfContainerView
        = m_pangestureContainer->trailingAnchor().constraintEqualTo(safe->trailingAnchor());
    m_topConstraintOfContainerView
        = m_pangestureContainer->topAnchor().constraintEqualTo(safe->topAnchor(), 0);
    m_topConstraintOfContainerView->setPriority(750);
    ui::Constraint::activate({ m_pangestureContainer->bottomAnchor().constraintEqualTo(safe->bottomAnchor()),
        m_leftConstraintOfContainerView, m_rightConstraintOfContainerView, m_topConstraintOfContainerView });

    if (tocIsPad()) {
        setupUpDirectionIcon();
        std::weak_ptr<TOCViewController> weak = self();
        m_dismissTap = ui::TapGestureRecognizer::create([weak](ui::GestureRecognizer& tap) {
            if (auto panel = weak.lock())
                panel->singleTapOnViewWithTapGes(tap);
        });
        m_dismissTap->setDelegate(std::static_pointer_cast<ui::GestureRecognizerDelegate>(self()));
        addDismissBackgroundView();
    }
    setupHeaderView();
    setupTabViews();
    m_containerView->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_pangestureContainer->addSubview(m_containerView);
    ui::Constraint::activate({
        m_containerView->leadingAnchor().constraintEqualTo(m_pangestureContainer->leadingAnchor()),
        m_containerView->trailingAnchor().constraintEqualTo(m_pangestureContainer->trailingAnchor()),
        m_containerView->bottomAnchor().constraintEqualTo(m_pangestureContainer->bottomAnchor()),
        m_upDirectionIconLbl ? m_containerView->topAnchor().constraintEqualTo(m_upDirectionIconLbl->bottomAnchor())
                             : m_containerView->topAnchor().constraintEqualTo(m_pangestureContainer->topAnchor()),
    });
    // The sheet starts parked below the screen with its header collapsed; it rises once
    // shown.
    if (tocIsPad())
        setupPanGesture();
    updateInteractionForVoiceOver();
}

void TOCViewController::setupUpDirectionIcon()
{
    m_upDirectionIconLbl = ui::Label::create();
    m_upDirectionIconLbl->setText(ICON_SCROLLUP);
    m_upDirectionIconLbl->setTextColor(tocColour(m_theme->toc_close_slider_icon_color()));
    // The handle is a tab of its own over the dimmed page, so its arrow reads on it.
    m_upDirectionIconLbl->setBackgroundColor(m_theme->toc_close_slider_background());
    m_upDirectionIconLbl->setTextAlignment(ui::TextAlignment::Center);
    m_upDirectionIconLbl->setFont(ui::Font(MVIconFontConstants::getFontName(), 34));
    auto& layer = *m_upDirectionIconLbl->layer();
    layer.setShadowOffset({ 0, -1 });
    layer.setShadowRadius(4);
    layer.setShadowOpacity(0.8);
    layer.setMasksToBounds(false);
    m_upDirectionIconLbl->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_pangestureContainer->addSubview(m_upDirectionIconLbl);
    ui::Constraint::activate({
        m_upDirectionIconLbl->centerXAnchor().constraintEqualTo(m_pangestureContainer->centerXAnchor()),
        m_upDirectionIconLbl->topAnchor().constraintEqualTo(m_pangestureContainer->topAnchor()),
        m_upDirectionIconLbl->heightAnchor().constraintEqualToConstant(handleHeight),
    });
}

void TOCViewController::addDismissBackgroundView()
{
    auto root = view();
    m_dismissBackground = ui::View::create();
    m_dismissBackground->setBackgroundColor(ui::Color::clear());
    m_dismissBackground->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->insertSubview(m_dismissBackground, 0);
    ui::Constraint::activate({
        m_dismissBackground->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        m_dismissBackground->trailingAnchor().constraintEqualTo(root->trailingAnchor()),
        m_dismissBackground->topAnchor().constraintEqualTo(root->topAnchor()),
        m_dismissBackground->bottomAnchor().constraintEqualTo(root->bottomAnchor()),
    });
    m_dismissBackground->addGestureRecognizer(m_dismissTap);
    m_dismissBackground->setAccessibilityTraits(ui::AccessibilityTraits::Button);
    root->setAccessibilityElements(
        std::vector<std::shared_ptr<ui::View>> { m_containerView, m_dismissBackground });
    addReaderAccessibilityOn(*m_dismissBackground, "DismissReaderFontSetting", "");
}

void TOCViewController::setupHeaderView()
{
    m_headerView = ui::View::create();
    m_headerView->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_containerView->addSubview(m_headerView);
    m_headerHeightConstraint
        = m_headerView->heightAnchor().constraintEqualToConstant(tocIsPad() ? 0 : m_headerDefaultHeight);
    m_headerHeightConstraint->setActive(true);
    ui::Constraint::activate({
        m_headerView->leadingAnchor().constraintEqualTo(m_containerView->leadingAnchor()),
        m_headerView->topAnchor().constraintEqualTo(m_containerView->topAnchor()),
        m_headerView->trailingAnchor().constraintEqualTo(m_containerView->trailingAnchor()),
    });
    if (tocIsPad())
        updateHeaderHeight(0);

    m_backButton = ui::Button::create();
    m_backButton->setTitle(std::string(tocIsPad() ? ICON_DROPDOWN : ICON_BACK), ui::ControlState::Normal);
    m_backButton->setFont(TOCConstants::iconFont(tocIsPad() ? 23 : 22));
    m_backButton->setTitleColor(tocColour(m_theme->toc_selected_toc_title_color()), ui::ControlState::Normal);
    m_backButton->setBackgroundColor(ui::Color::clear());
    m_backButton->setAccessibilityIdentifier(TOC_BACK_BUTTON);
    std::weak_ptr<TOCViewController> weak = self();
    m_backButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto panel = weak.lock())
            panel->actionForCloseTOCWithSender();
    });
    m_backButton->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_headerView->addSubview(m_backButton);
    ui::Constraint::activate({
        m_backButton->heightAnchor().constraintEqualToConstant(40),
        m_backButton->leadingAnchor().constraintEqualTo(m_headerView->leadingAnchor(), 5),
        m_backButton->topAnchor().constraintEqualTo(m_headerView->topAnchor(), 10),
        m_backButton->widthAnchor().constraintEqualToConstant(40),
    });

    m_headerTitle = ui::Label::create();
    m_headerTitle->setText(TOCConstants::localized("Table_of_Content"));
    m_headerTitle->setBackgroundColor(ui::Color::clear());
    m_headerTitle->setFont(TOCConstants::customFont(tocIsPad() ? 20 : 22));
    m_headerTitle->setTextColor(tocColour(m_theme->toc_selected_toc_title_color()));
    m_headerTitle->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_headerView->addSubview(m_headerTitle);
    ui::Constraint::activate({
        m_headerTitle->heightAnchor().constraintEqualToConstant(40),
        m_headerTitle->leadingAnchor().constraintEqualTo(m_headerView->leadingAnchor(), 60),
        m_headerTitle->topAnchor().constraintEqualTo(m_headerView->topAnchor(), 10),
        m_headerTitle->widthAnchor().constraintEqualToConstant(250),
    });
}

void TOCViewController::setupTableView()
{
    m_tableView = ui::TableView::create({}, ui::TableViewStyle::Grouped);
    m_tableView->setTranslatesAutoresizingMaskIntoConstraints(false);
    auto panel = self();
    m_tableView->setDataSource(std::static_pointer_cast<ui::TableViewDataSource>(panel));
    m_tableView->setDelegate(std::static_pointer_cast<ui::TableViewDelegate>(panel));
    m_tableView->setBackgroundColor(ui::Color::clear());
    m_containerView->addSubview(m_tableView);
    m_bottomConstraintOfTableView = tocIsPad()
        ? m_tableView->bottomAnchor().constraintEqualTo(view()->bottomAnchor(), 0)
        : m_tableView->bottomAnchor().constraintEqualTo(m_segmentView->topAnchor(), 0);
    m_topConstraintOfTableView = tocIsPad()
        ? m_tableView->topAnchor().constraintEqualTo(m_segmentView->bottomAnchor(), m_tableViewTop)
        : m_tableView->topAnchor().constraintEqualTo(m_headerView->topAnchor(), m_tableViewTop);
    ui::Constraint::activate({ m_bottomConstraintOfTableView,
        m_tableView->leadingAnchor().constraintEqualTo(m_containerView->leadingAnchor()),
        m_tableView->trailingAnchor().constraintEqualTo(m_containerView->trailingAnchor()),
        m_topConstraintOfTableView });
    m_tableView->setTableFooterView(ui::View::create());
    m_tableView->registerCellClass<TOCTableViewCell>(TOCTableViewCell::reuseIdentifier);
    m_tableView->registerCellClass<TOCContentCell>(TOCContentCell::reuseIdentifier);
    m_tableviewHeaderView = ui::View::create(ui::Rect { 0, 0, 0, DBL_MIN });
    m_tableView->setTableHeaderView(m_tableviewHeaderView);
    m_tableviewHeaderView->setHidden(true);
    m_tableView->setRowHeight(ui::TableViewAutomaticDimension);
    m_tableView->setSectionFooterHeight(0);
    m_tableView->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
}

void TOCViewController::viewDidLayoutSubviews()
{
    ViewController::viewDidLayoutSubviews();
    // Nothing to place until the whole tree is built.
    if (!m_segmentView || !m_lineViewLeftAnchor)
        return;
    // The selection line follows the tab on screen, wherever the tabs now stand.
    m_segmentView->layoutIfNeeded();
    fitTabTitles();
    auto originOf = [](const std::shared_ptr<ui::Button>& tab) { return tab ? tab->frame().origin.x : 0.0; };
    double lineX = 0;
    switch (m_selectedButton) {
    case TOCFilterContents:
        lineX = ui::Environment::current().isRightToLeft() ? originOf(m_contentButton) : 0;
        break;
    case TOCFilterResources:
        lineX = originOf(m_resourcesButton);
        break;
    case TOCFilterBookmarks:
        lineX = originOf(m_bookmarkButton);
        break;
    case TOCFilterStandards:
        lineX = originOf(m_standardsButton);
        break;
    default:
        break;
    }
    if (m_lineViewLeftAnchor->constant() != lineX)
        m_lineViewLeftAnchor->setConstant(lineX);
    // The loader covers the whole panel, whatever its size now.
    if (m_loaderView && m_loaderView->superview() == view())
        m_loaderView->setFrame(view()->bounds());
}

void TOCViewController::viewDidAppear(bool animated)
{
    ViewController::viewDidAppear(animated);
    auto root = view();
    double handle = m_upDirectionIconLbl ? handleHeight : 0;
    m_topConstraintOfContainerView->setConstant(tocIsPad() ? root->frame().size.height * 0.5 - handle : handle);
    std::weak_ptr<ui::View> weakRoot = root;
    ui::View::animate(closeAnimationDuration, [weakRoot] {
        if (auto view = weakRoot.lock()) {
            view->setNeedsLayout();
            view->layoutIfNeeded();
        }
    });
}

void TOCViewController::updateHeaderHeight(double height)
{
    m_headerHeightConstraint->setConstant(height);
    bool expanded = height == m_headerDefaultHeight;
    m_containerView->layer()->setBorderWidth(expanded ? 0 : 0.6);
    if (m_upDirectionIconLbl)
        m_upDirectionIconLbl->setHidden(expanded);
    m_headerView->setHidden(!expanded);
}

void TOCViewController::updateInteractionForVoiceOver()
{
    bool running = ui::Environment::current().isVoiceOverRunning();
    m_containerView->setUserInteractionEnabled(!running);
    m_pangestureContainer->setUserInteractionEnabled(!running);
}

void TOCViewController::actionForCloseTOCWithSender()
{
    if (auto delegate = m_delegate.lock())
        delegate->didSelectActionToCloseTOC();
    leavePanel(true, {});
}

void TOCViewController::leavePanel(bool animatedOnPhone, std::function<void()> then)
{
    auto panel = self();
    if (!tocIsPad() || !isViewLoaded()) {
        dismissViewControllerAnimated(animatedOnPhone, std::move(then));
        return;
    }
    auto root = view();
    m_topConstraintOfContainerView->setConstant(root->frame().size.height);
    ui::View::animate(
        closeAnimationDuration,
        [root] {
            root->setNeedsLayout();
            root->layoutIfNeeded();
        },
        // The completion holds the panel until it has left and passed on the request.
        [panel, then = std::move(then)](bool) { panel->dismissViewControllerAnimated(false, then); });
}

} // namespace lectoro
