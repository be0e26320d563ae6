#include "LectoroSDKWithReader/reader/ReaderBars.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/reader/PhonePageSlider.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionBottomBar.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageSlider.h"
#include "LectoroSDKWithReader/reader/reflowable/SliderBarView.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"

namespace lectoro {

namespace {

constexpr double topBarEdgeOutset = 0.4;
constexpr double bottomBarEdgeOutset = 0.3;
constexpr double hiddenOffsetBeyondHeight = 4;

// A bar's constraint changed: the reader's view lays out again, which places the bars.
void relayoutBarsIn(ui::View& view)
{
    view.setNeedsLayout();
    view.layoutIfNeeded();
}

enum BookLayoutCode : int { PageBookCode = 0, FixedEPUBCode = 1, ReflowableEPUBCode = 2 };

void styleTopBar(ui::View& bar, const LXMVThemeVO& theme)
{
    auto& layer = *bar.layer();
    if (auto color = theme.top_toolbar_icons_color())
        layer.setBorderColor(*color);
    layer.setBorderWidth(topBarEdgeOutset);
    bar.setClipsToBounds(false);
    layer.setShadowOffset({ 0, -1 });
    layer.setShadowRadius(4);
    layer.setShadowOpacity(0.6);
}

void styleLowerBar(ui::View& bar, const LXMVThemeVO& theme)
{
    auto& layer = *bar.layer();
    if (auto color = theme.side_bottom_icons_color())
        layer.setBorderColor(*color);
    layer.setBorderWidth(bottomBarEdgeOutset);
    bar.setClipsToBounds(false);
    layer.setShadowOffset({ -0.4, 0 });
    layer.setShadowRadius(2);
    layer.setShadowOpacity(0.6);
}

// The first chapter of the thumbnail data lists at least one page.
bool firstThumbnailChapterHasPages(const LectoroBookVO& book)
{
    const auto data = book.getThumbnailData();
    const auto* chapters = data.asList();
    if (!chapters || chapters->empty())
        return false;
    const auto* pages = chapters->front()["Pages"].asList();
    return pages && !pages->empty();
}

std::vector<std::string> colorTexts(const base::Value::List& list)
{
    std::vector<std::string> colors;
    for (const auto& value : list)
        colors.push_back(value.asString().value_or(value.description()));
    return colors;
}

} // namespace

ReaderBars::ReaderBars(ReaderContext& context)
    : m_context(context)
{
}

ReaderBars::~ReaderBars() = default;

double ReaderBars::topBarHeight()
{
    return chrome::isPad() ? 58 : 50;
}

double ReaderBars::bottomBarHeight()
{
    return chrome::isPad() ? 58 : 50;
}

double ReaderBars::bottomHiddenConstant()
{
    return bottomBarHeight() + hiddenOffsetBeyondHeight;
}

double ReaderBars::penToolBarHeight()
{
    return chrome::isPad() ? 64 : 54;
}

double ReaderBars::penToolHiddenConstant()
{
    return penToolBarHeight();
}

namespace {

// The slider's margin base: wider on a tablet, narrower in a right-to-left layout.
double sliderMarginBase()
{
    const bool rightToLeft = ui::Environment::current().isRightToLeft();
    if (chrome::isPad())
        return rightToLeft ? 10 : 15;
    return rightToLeft ? 6 : 10;
}

} // namespace

double ReaderBars::verticalSliderHiddenMargin(double rightInset)
{
    return 3 * sliderMarginBase() + rightInset;
}

double ReaderBars::verticalSliderShownMargin(double rightInset)
{
    return -sliderMarginBase() - rightInset + 15;
}

const LXMVThemeVO& ReaderBars::theme() const
{
    static const LXMVThemeVO noTheme;
    return m_context.theme ? *m_context.theme : noTheme;
}

std::shared_ptr<PlayerActionTopBar> ReaderBars::playerTopActionBarView() const
{
    return std::dynamic_pointer_cast<PlayerActionTopBar>(m_context.playerTopActionBarView);
}

std::shared_ptr<PlayerActionBottomBar> ReaderBars::playerBottomActionBarView() const
{
    return std::dynamic_pointer_cast<PlayerActionBottomBar>(m_context.playerBottomActionBarView);
}

std::shared_ptr<PlayerActionTopBar> ReaderBars::penToolActionBarView() const
{
    return std::dynamic_pointer_cast<PlayerActionTopBar>(m_context.penToolActionBarView);
}

// MARK: - Building

void ReaderBars::addPlayerActionBarForTopAndBottom()
{
    removePlayerBottomBar();
    addPlayerTopBarForIPhone();
    addPlayerBottomBarForIPhone();
    moveTopAndBottomOffScreenWithIsAnimate(false);
}

void ReaderBars::removePlayerBottomBar()
{
    if (auto& bottom = m_context.playerBottomActionBarView)
        bottom->removeFromSuperview();
    m_context.playerBottomActionBarView.reset();
    if (auto& top = m_context.playerTopActionBarView)
        top->removeFromSuperview();
    m_context.playerTopActionBarView.reset();
}

void ReaderBars::addPlayerTopBarForIPhone()
{
    auto* reader = m_context.controller;
    if (!reader)
        return;
    // A bar built again replaces the one on screen rather than piling up under it.
    if (m_context.playerTopActionBarView)
        m_context.playerTopActionBarView->removeFromSuperview();
    auto bar = PlayerActionTopBar::create();
    m_context.playerTopActionBarView = bar;
    bar->setTag(TopBar);
    bar->setBookVO(m_context.currentBook);
    bar->setDelegate(reader->playerActionDelegate());
    bar->setUserSettingsModel(m_context.settings);
    bar->setUser(m_context.user);
    bar->setHideProfileSettingsButton(m_context.hideProfileSettingsButton);
    bar->addPlayerTopBarForIPhoneWithTheme(theme(), PageBookCode);
    bar->setBackgroundColor(theme().top_toolbar_background());

    auto view = reader->view();
    bar->setTranslatesAutoresizingMaskIntoConstraints(false);
    view->addSubview(bar);
    auto top = bar->topAnchor().constraintEqualTo(view->topAnchor());
    ui::Constraint::activate({
        bar->leadingAnchor().constraintEqualTo(view->leadingAnchor(), -topBarEdgeOutset),
        bar->trailingAnchor().constraintEqualTo(view->trailingAnchor(), topBarEdgeOutset),
        top,
        bar->heightAnchor().constraintEqualToConstant(topBarHeight()),
    });
    top->setConstant(topHiddenConstant);
    m_topBarTopMarginConstraint = top;
    styleTopBar(*bar, theme());
    updateChapterNameForTopBar();
    // The new bar's print item is built enabled; the host's limit for the chapter on screen
    // holds whenever the bar is built again.
    reader->myData().reapplyPrintLimit();
}

void ReaderBars::initiatePlayerActionBottomBarView()
{
    if (m_context.playerBottomActionBarView)
        m_context.playerBottomActionBarView->removeFromSuperview();
    m_context.playerBottomActionBarView = PlayerActionBottomBar::create();
}

void ReaderBars::addPlayerBottomBarForIPhone()
{
    auto* reader = m_context.controller;
    if (!reader)
        return;
    initiatePlayerActionBottomBarView();
    auto bar = playerBottomActionBarView();
    bar->setIsFurthestPageEnabled(m_context.renderer && m_context.renderer->isFurthestPageEnabled());
    bar->setDelegate(reader->playerActionDelegate());
    bar->setUserSettingsModel(m_context.settings);
    bar->setHasClassAssociation(m_context.hasClassAssociation);
    bar->setTag(BottomBar);
    bar->setBackgroundColor(theme().side_bottom_background());

    const bool isLearner = m_context.user && m_context.user->isLearner();
    const bool portrait = ui::isPortrait(ui::Environment::current().interfaceOrientation());
    const auto& book = m_context.currentBook;
    if (auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book)) {
        if (epub->isReflowable()) {
            // A reflowable book keeps its portrait row whatever the orientation.
            bar->addPlayerBottomBarForPortraitMode(theme(), ReflowableEPUBCode, false);
            if (firstThumbnailChapterHasPages(*epub) && m_context.isThumbnailForReflowableEnabled)
                bar->addThumbnailIconToReflow(theme());
        } else if (portrait) {
            bar->addPlayerBottomBarForPortraitMode(theme(), FixedEPUBCode, false);
        } else {
            bar->addPlayerBottomBarForLandscapeMode(theme(), FixedEPUBCode, false);
        }
    } else if (std::dynamic_pointer_cast<PXBookVO>(book)) {
        if (portrait)
            bar->addPlayerBottomBarForPortraitMode(theme(), PageBookCode, !isLearner);
        else
            bar->addPlayerBottomBarForLandscapeMode(theme(), PageBookCode, !isLearner);
        reader->annotations().updateClearAllFIBsButtonStatus();
    }

    auto view = reader->view();
    bar->setTranslatesAutoresizingMaskIntoConstraints(false);
    view->addSubview(bar);
    m_bottomBarBottomMarginConstraint = bar->bottomAnchor().constraintEqualTo(view->bottomAnchor(), bottomHiddenConstant());
    ui::Constraint::activate({
        bar->leadingAnchor().constraintEqualTo(view->leadingAnchor(), -bottomBarEdgeOutset),
        bar->trailingAnchor().constraintEqualTo(view->trailingAnchor(), bottomBarEdgeOutset),
        m_bottomBarBottomMarginConstraint,
        bar->heightAnchor().constraintEqualToConstant(bottomBarHeight()),
    });
    styleLowerBar(*bar, theme());
}

void ReaderBars::addPenToolTopBarViewWithAnimation(bool animate)
{
    auto* reader = m_context.controller;
    if (!reader)
        return;
    if (m_context.penToolActionBarView)
        m_context.penToolActionBarView->removeFromSuperview();
    auto bar = PlayerActionTopBar::create();
    m_context.penToolActionBarView = bar;
    bar->setDelegate(reader->playerActionDelegate());
    bar->setUser(m_context.user);
    bar->setBackgroundColor(theme().pen_tool_toolbar_background());
    bar->setTag(PenToolBar);

    std::vector<std::string> colors;
    if (const auto& themeColors = theme().pen_Color_Array(); themeColors && !themeColors->empty())
        colors = colorTexts(*themeColors);
    else if (m_context.settings)
        colors = m_context.settings->pentoolPenColors();
    bar->updatedPlayerForPenTool(theme(), colors);

    auto view = reader->view();
    bar->setTranslatesAutoresizingMaskIntoConstraints(false);
    view->addSubview(bar);
    m_bottomConstraintOfPenTool = bar->bottomAnchor().constraintEqualTo(view->bottomAnchor(), penToolHiddenConstant());
    ui::Constraint::activate({
        bar->leftAnchor().constraintEqualTo(view->leftAnchor(), -topBarEdgeOutset),
        bar->rightAnchor().constraintEqualTo(view->rightAnchor(), topBarEdgeOutset),
        m_bottomConstraintOfPenTool,
        bar->heightAnchor().constraintEqualToConstant(penToolBarHeight()),
    });
    relayoutBarsIn(*view);

    auto constraint = m_bottomConstraintOfPenTool;
    std::weak_ptr<ui::View> weakView = view;
    auto slideIn = [constraint, weakView] {
        constraint->setConstant(penToolShownConstant);
        if (auto view = weakView.lock())
            relayoutBarsIn(*view);
    };
    if (animate)
        ui::View::animate(penToolSlideDuration, slideIn);
    else
        slideIn();

    styleLowerBar(*bar, theme());
    // Nothing has been drawn yet, so there is nothing to undo.
    if (auto undo = getPenToolItemWithTag(PlayerItemPenUndo)) {
        undo->setAlpha(0.5);
        undo->setUserInteractionEnabled(false);
    }
}

std::shared_ptr<PlayerActionBarItem> ReaderBars::getPenToolItemWithTag(int tag) const
{
    for (const auto* holder : { &m_context.penToolActionBarView, &m_context.penToolActionBottomBarView }) {
        if (!*holder)
            continue;
        for (const auto& item : (*holder)->getTappableItems()) {
            if (item->tag() == tag)
                return item;
        }
    }
    return nullptr;
}

void ReaderBars::updatePlayerActionBarForSelectedBook()
{
    auto* reader = m_context.controller;
    auto top = m_context.playerTopActionBarView;
    auto bottom = m_context.playerBottomActionBarView;
    const bool pad = chrome::isPad();
    auto hideTop = [&](int tag, bool hidden) {
        if (top)
            top->hideItemWithTag(tag, hidden);
    };
    auto hideBottom = [&](int tag, bool hidden) {
        if (bottom)
            bottom->hideItemWithTag(tag, hidden);
    };
    auto updatePhoneSlider = [&] {
        if (reader)
            reader->phonePageSlider().updatePageSliderForiPhoneBottom();
    };

    const auto& book = m_context.currentBook;
    if (std::dynamic_pointer_cast<PXBookVO>(book)) {
        if (!pad)
            updatePhoneSlider();
        hideTop(PlayerItemStickyNote, false);
        hideTop(PlayerItemPenTool, false);
        hideBottom(PlayerItemThumbnail, false);
        if (bottom)
            bottom->enableItemWithTag(PlayerItemThumbnail, true);
        if (!pad)
            hideBottom(PlayerItemPageSlider, false);
        if (top)
            top->layoutIfNeeded();
        return;
    }
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book);
    if (!epub)
        return;
    hideTop(PlayerItemStickyNote, false);
    hideTop(PlayerItemPenTool, false);
    hideTop(PlayerItemTeacherReview, true);
    hideTop(PlayerItemSubmitAnnotation, true);
    if (!pad)
        hideBottom(PlayerItemPageSlider, true);
    if (epub->isReflowable()) {
        if (pad) {
            hideTop(PlayerItemStickyNote, true);
            hideTop(PlayerItemPenTool, true);
        } else {
            hideBottom(PlayerItemStickyNote, true);
            hideTop(PlayerItemPenTool, true);
        }
    } else if (epub->isFixedLayout() && !pad) {
        updatePhoneSlider();
    }
}

void ReaderBars::updateChapterNameForTopBar()
{
    auto top = playerTopActionBarView();
    if (!top || !top->chapterNameItem())
        return;
    for (const auto& subview : top->chapterNameItem()->subviews()) {
        if (auto label = std::dynamic_pointer_cast<ui::Label>(subview))
            label->setText(m_context.currentChapterName);
    }
    // The new title's width reaches the layout engine as a changed intrinsic size, whose
    // re-solve alone has been seen to let the label's hugging shrink the item below the
    // width it was added with; remaking the bar's arrangement solves the bar as a whole.
    top->setNeedsUpdateConstraints();
}

// MARK: - Showing and hiding

std::shared_ptr<ui::View> ReaderBars::sliderContainer() const
{
    if (!m_slider)
        return nullptr;
    return m_slider->viewForSliderBar();
}

void ReaderBars::applySliderMargin(bool shown)
{
    if (!m_slider || !m_slider->isVerticalsliderEnable())
        return;
    const auto& constraint = m_slider->rightConstraintForVerticalSliderView();
    if (!constraint || !m_context.controller)
        return;
    const double right = m_context.controller->view()->safeAreaInsets().right;
    constraint->setConstant(shown ? verticalSliderShownMargin(right) : verticalSliderHiddenMargin(right));
}

bool ReaderBars::isPlayerActionBarHidden() const
{
    return m_context.isPlayerActionBarHidden;
}

void ReaderBars::moveTopAndBottomOffScreenWithIsAnimate(bool animate, std::function<void()> completion)
{
    m_context.isPlayerActionBarHidden = true;
    auto view = m_context.controller ? m_context.controller->view() : nullptr;
    if (view)
        relayoutBarsIn(*view);
    if (auto top = topBarTopMarginConstraint())
        top->setConstant(topHiddenConstant);
    if (m_bottomBarBottomMarginConstraint)
        m_bottomBarBottomMarginConstraint->setConstant(bottomHiddenConstant());
    applySliderMargin(false);

    if (!animate) {
        if (auto& bottom = m_context.playerBottomActionBarView)
            bottom->setHidden(true);
        if (auto& top = m_context.playerTopActionBarView)
            top->setHidden(true);
        if (view)
            relayoutBarsIn(*view);
        return;
    }
    std::weak_ptr<ui::View> weakView = view;
    std::weak_ptr<const int> alive = m_alive;
    ui::View::animate(
        slideDuration,
        [weakView] {
            if (auto view = weakView.lock())
                relayoutBarsIn(*view);
        },
        [this, alive, completion = std::move(completion)](bool) {
            if (alive.expired())
                return;
            if (auto& bottom = m_context.playerBottomActionBarView)
                bottom->setHidden(true);
            if (auto& top = m_context.playerTopActionBarView)
                top->setHidden(true);
            if (auto slider = sliderContainer())
                slider->setHidden(true);
            if (completion)
                completion();
        });
}

void ReaderBars::moveTopAndBottomOnScreenWithIsAnimate(bool animate, std::function<void(bool finished)> completion)
{
    auto view = m_context.controller ? m_context.controller->view() : nullptr;
    if (auto& bottom = m_context.playerBottomActionBarView) {
        bottom->setHidden(false);
        if (view)
            view->bringSubviewToFront(bottom.get());
    }
    if (auto& top = m_context.playerTopActionBarView)
        top->setHidden(false);
    if (auto slider = sliderContainer())
        slider->setHidden(false);
    m_context.isPlayerActionBarHidden = false;
    if (view)
        relayoutBarsIn(*view);
    if (auto top = topBarTopMarginConstraint())
        top->setConstant(topShownConstant);
    if (m_bottomBarBottomMarginConstraint)
        m_bottomBarBottomMarginConstraint->setConstant(bottomShownConstant);
    applySliderMargin(true);

    if (!animate) {
        if (view)
            relayoutBarsIn(*view);
        return;
    }
    std::weak_ptr<ui::View> weakView = view;
    ui::View::animate(
        slideDuration,
        [weakView] {
            if (auto view = weakView.lock())
                relayoutBarsIn(*view);
        },
        [completion = std::move(completion)](bool finished) {
            if (completion)
                completion(finished);
        });
}

} // namespace lectoro
