#include "LectoroSDKWithReader/annotations/pen/PenRoad.h"

#include "LectoroSDKWithReader/annotations/AnnotationsHost.h"
#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/annotations/PageAnnotationsDrawer.h"
#include "LectoroSDKWithReader/annotations/pen/PaletteContainer.h"
#include "LectoroSDKWithReader/annotations/pen/PenPaletteLayout.h"
#include "LectoroSDKWithReader/annotations/pen/ReviewAnnotationPanel.h"
#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/PenToolController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/Strings.h"
#include "platform/base/UserDefaults.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

#include <cstdio>

namespace lectoro {

namespace {

bool penOnPad()
{
    return ui::Environment::current().isPad();
}

std::string penThicknessText(double thickness)
{
    char text[64];
    std::snprintf(text, sizeof text, "%f", thickness);
    return text;
}

std::string penLocalized(const std::string& key)
{
    return LocalizationHelper::localizedStringWithKey(key);
}

void setPenItemEnabled(PlayerActionBarItem& item, bool enabled)
{
    item.setAlpha(enabled ? 1.0 : 0.5);
    item.setUserInteractionEnabled(enabled);
}

std::vector<std::string> penThemeColors(const LXMVThemeVO* theme)
{
    std::vector<std::string> colors;
    if (!theme || !theme->pen_Color_Array())
        return colors;
    for (const auto& value : *theme->pen_Color_Array()) {
        if (auto text = value.asString())
            colors.push_back(*text);
    }
    return colors;
}

} // namespace

// The one object the palettes and the pen controller hold (weakly): once the road is gone
// they reach nothing.
class PenRoad::Delegates final : public PenToolItemDelegate,
                                 public PointToolItemDelegate,
                                 public PenToolControllerDelegate {
public:
    explicit Delegates(PenRoad& road)
        : m_road(&road)
    {
    }
    void detach() { m_road = nullptr; }

    void didSelectPenColor(const std::string& color) override
    {
        if (m_road)
            m_road->didSelectPenColor(color);
    }
    void willDismissPenToolColorPalleteView() override
    {
        if (m_road)
            m_road->willDismissPenToolColorPalleteView();
    }
    void didSelectPenThickness(float thickness) override
    {
        if (m_road)
            m_road->didSelectPenThickness(thickness);
    }
    void willDismissPenToolThicknessPalleteView() override
    {
        if (m_road)
            m_road->willDismissPenToolThicknessPalleteView();
    }
    void didCreatePenDrawing(std::shared_ptr<SDKPentoolVO> record) override
    {
        if (m_road)
            m_road->didCreatePenDrawing(record);
    }
    void didUpdatePenDrawing(std::shared_ptr<SDKPentoolVO> record) override
    {
        if (m_road)
            m_road->didUpdatePenDrawing(record);
    }
    void didChangeUndoableStatus() override
    {
        if (m_road)
            m_road->didChangeUndoableStatus();
    }

private:
    PenRoad* m_road;
};

PenRoad::PenRoad(ReaderContext& context, AnnotationsHost& host, PageAnnotationsDrawer& pageAnnotations)
    : m_context(context)
    , m_host(host)
    , m_pageAnnotations(pageAnnotations)
    , m_delegates(std::make_shared<Delegates>(*this))
{
}

PenRoad::~PenRoad()
{
    m_delegates->detach();
}

bool PenRoad::isPageBook() const
{
    return std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook) != nullptr;
}

std::string PenRoad::storeBookID() const
{
    return std::to_string(m_context.bookID);
}

int64_t PenRoad::storeUserID() const
{
    return m_context.user ? m_context.user->numericUserID() : 0;
}

std::shared_ptr<ui::View> PenRoad::readerView() const
{
    auto presenter = m_host.presentingController();
    return presenter ? presenter->view() : nullptr;
}

// MARK: - Remembered pen

// The bar builds its preview from the same defaults, so both read them one way.
std::string PenRoad::getLastUpdatedPenColor()
{
    return PlayerActionTopBar::getLastUpdatedPenColor();
}

double PenRoad::getLastUpdatedPenThickness()
{
    return PlayerActionTopBar::getLastUpdatedPenThickness();
}

void PenRoad::persistLastUpdatedPenColor(const std::string& hexColor)
{
    auto& defaults = base::UserDefaults::standard();
    defaults.setString(penColorKey, hexColor);
    defaults.synchronize();
}

void PenRoad::persistLastUpdatedPenThickness(double thickness)
{
    auto& defaults = base::UserDefaults::standard();
    defaults.setString(penThicknessKey, penThicknessText(thickness));
    defaults.synchronize();
}

// MARK: - Opening and closing

void PenRoad::actionForPentool()
{
    if (m_context.activeMode == ReaderActiveModePenTool)
        closePen();
    else
        openPen();
}

void PenRoad::openPen()
{
    if (m_context.analyticsHandler)
        m_context.analyticsHandler->notifyEvent(LectoroReaderEventConstant::pentoolEventName());
    if (m_context.penToolActionBarView)
        m_context.penToolActionBarView->setHidden(false);
    m_context.activeMode = ReaderActiveModePenTool;
    if (m_context.renderer)
        m_context.renderer->setPenDrawingModeEnabled(true);

    auto framework = companionFramework();
    m_penToolController = framework ? framework->makePenToolController() : nullptr;
    if (m_penToolController) {
        m_penToolController->setDelegate(m_delegates);
        m_penToolController->setHasClassAssociation(m_context.hasClassAssociation);
        m_penToolController->setPenDrawingCanvas(m_context.renderer ? m_context.renderer->getPenDrawingCanvas() : nullptr);
        m_penToolController->setDrawingMode(PenToolDrawingModeOwn);
        m_penToolController->setPenMode(PenToolModeDraw);
        m_penToolController->setPenColor(getLastUpdatedPenColor());
        m_penToolController->setPenStrokeThickness(getLastUpdatedPenThickness());
        m_penToolController->setDeleteOnSelectionEnabled(true);
    }
    updatePentoolButtonStatus();

    std::weak_ptr<int> alive = m_alive;
    m_host.moveTopAndBottomOffScreenThen(true, [this, alive] {
        // A pen closed while the bars were still leaving gets no bar.
        if (!alive.expired() && m_context.activeMode == ReaderActiveModePenTool)
            addPentoolTopBarAnimate(true);
    });
}

void PenRoad::closePen()
{
    if (m_penToolController)
        m_penToolController->setPenMode(PenToolModeDraw);
    if (m_context.renderer)
        m_context.renderer->setPenDrawingModeEnabled(false);
    m_penToolController.reset();
    m_context.activeMode = m_context.backgroundActiveMode;
    m_host.resetAllPlayerActionBar();

    auto constraint = m_host.bottomConstraintOfPenTool();
    std::weak_ptr<ui::View> weakView = readerView();
    std::weak_ptr<int> alive = m_alive;
    ui::View::animate(
        closeDuration,
        [constraint, weakView] {
            if (constraint)
                constraint->setConstant(penOnPad() ? 64 : 54);
            if (auto view = weakView.lock())
                view->layoutIfNeeded();
        },
        [this, alive](bool) {
            if (alive.expired())
                return;
            m_host.moveTopAndBottomOnScreenThen(true, [this, alive] {
                if (alive.expired())
                    return;
                // The pen may have been opened again meanwhile: its bar stays.
                if (m_context.activeMode == ReaderActiveModePenTool)
                    return;
                if (auto bar = m_context.penToolActionBarView) {
                    bar->setHidden(true);
                    bar->removeFromSuperview();
                    m_context.penToolActionBarView.reset();
                }
            });
        });
    // The pages show the stored drawings at once; the bar's slide does not hold them up.
    m_pageAnnotations.relaodPageUGCForActivePages();
}

void PenRoad::addPentoolTopBarAnimate(bool animated)
{
    if (m_context.penToolActionBarView) {
        m_context.penToolActionBarView->removeFromSuperview();
        if (m_container)
            m_container->removeFromSuperview();
        m_context.penToolActionBarView.reset();
        m_container.reset();
    }
    m_host.addPenToolTopBarViewWithAnimation(animated);
    // A new bar shows what the store holds for the pages on screen.
    updatePentoolButtonStatus();
}

// MARK: - Items

void PenRoad::setPenMode(int64_t mode)
{
    if (m_penToolController)
        m_penToolController->setPenMode(mode);
}

void PenRoad::actionForPentoolDrawingMode()
{
    setPenMode(PenToolModeDraw);
    actionForPenColorPalletePicker();
}

void PenRoad::actionForPentoolErase()
{
    if (!m_penToolController)
        return;
    if (m_penToolController->getPenMode() == PenToolModeErase) {
        disableEraseMode();
        m_penToolController->setPenMode(PenToolModeDraw);
    } else {
        m_penToolController->setPenMode(PenToolModeErase);
    }
}

void PenRoad::disableEraseMode()
{
    resetPenBarSelection();
}

void PenRoad::resetPenBarSelection()
{
    if (m_context.penToolActionBarView)
        m_context.penToolActionBarView->resetPlayerActionBarSelection();
}

void PenRoad::actionForPentoolUndoDrawing()
{
    if (!m_penToolController)
        return;
    if (m_penToolController->getPenMode() == PenToolModeErase) {
        // The eraser stays shown as the tool in use.
        if (auto eraser = getPenToolItemWithTag(PlayerItemPenEraser))
            eraser->setSelected(true);
        auto bar = std::dynamic_pointer_cast<PlayerActionTopBar>(m_context.penToolActionBarView);
        if (bar && m_context.theme)
            bar->updatePlayerSelectedItem(*m_context.theme);
    }
    m_penToolController->undoDrawing();
}

void PenRoad::actionForPentoolDeleteSelection()
{
    const std::string yes = base::uppercase(penLocalized("YES_ALERT_BUTTON"));
    std::weak_ptr<int> alive = m_alive;
    AlertView::sharedManager().presentAlertWithTitle(penLocalized("ALERT_BUTTON"),
        penLocalized("DO_YOU_WISH_TO_DELETE_ALL_DOODLES"),
        std::vector<std::string> { base::uppercase(penLocalized("NO_ALERT_BUTTON")), yes },
        m_host.presentingController(), [this, alive, yes](int64_t, const std::string& title) {
            if (alive.expired())
                return;
            resetPenBarSelection();
            if (title != yes || !m_penToolController)
                return;
            m_penToolController->deleteActivePagePenDrawings();
            updatePentoolButtonStatus();
        });
}

std::shared_ptr<PlayerActionBarItem> PenRoad::getPenToolItemWithTag(int tag) const
{
    for (const auto* bar : { &m_context.penToolActionBarView, &m_context.penToolActionBottomBarView }) {
        if (!*bar)
            continue;
        for (const auto& item : (*bar)->getTappableItems()) {
            if (item->tag() == tag)
                return item;
        }
    }
    return nullptr;
}

void PenRoad::updatePentoolButtonStatus()
{
    if (m_context.activeMode == ReaderActiveModeTeacherReview) {
        auto* panel = m_host.reviewAnnotationPanel();
        const bool available = panel && panel->isFIBsAndPentoolAvailable();
        auto eraser = getPenToolItemWithTag(PlayerItemPenEraser);
        auto remove = getPenToolItemWithTag(PlayerItemPenDeleteSelection);
        for (const auto& item : { eraser, remove }) {
            if (!item)
                continue;
            setPenItemEnabled(*item, available);
            if (!available)
                item->setSelected(false);
        }
        if (remove && available)
            remove->setEnabled(true);
        if (eraser && m_penToolController && m_penToolController->getPenMode() == PenToolModeErase && m_context.theme) {
            eraser->setBackgroundColor(m_context.theme->pen_tool_selected_icon_background());
            auto label = eraser->firstLabel();
            if (label && m_context.theme->pen_tool_selected_icon_color())
                label->setTextColor(*m_context.theme->pen_tool_selected_icon_color());
        }
        return;
    }
    // Only a page book asks the store; an EPUB book's item keeps its state.
    if (!isPageBook() || !m_context.renderer || !m_context.dbManager)
        return;
    auto remove = getPenToolItemWithTag(PlayerItemPenDeleteSelection);
    if (!remove)
        return;
    bool anyDrawing = false;
    for (const auto& page : m_context.renderer->getActivePages()) {
        if (!m_context.dbManager
                 ->pentoolDrawingForPageID(std::to_string(page.pageID), page.displayNum, storeBookID(), storeUserID())
                 .empty()) {
            anyDrawing = true;
            break;
        }
    }
    setPenItemEnabled(*remove, anyDrawing);
}

// MARK: - The pen controller's reports

void PenRoad::reportToReviewPanel(const std::shared_ptr<SDKPentoolVO>& record, bool changed)
{
    auto* panel = m_host.reviewAnnotationPanel();
    if (!panel)
        return;
    if (!changed && !panel->pageIdentifierForTeacherReview())
        panel->setPageIdentifierForTeacherReview(record->pageIdentifier);
    panel->setSelectedPageIdentifier(panel->pageIdentifierForTeacherReview().value_or(std::string()));
    panel->setStudentPageUGCDictionary(panel->teacherAnnotationData());
    panel->setSelectedLearnerID(panel->selectLearnerIDForTeacherReview());
    // A changed drawing, deleted or not, takes its earlier self's place; appending it would
    // leave the old stroke beside the new one in the learner's page.
    if (changed)
        panel->updatePenDrawing(record);
    else
        panel->addPenDrawing(record);
}

void PenRoad::didCreatePenDrawing(const std::shared_ptr<SDKPentoolVO>& record)
{
    if (!record)
        return;
    if (m_context.activeMode == ReaderActiveModeTeacherReview) {
        reportToReviewPanel(record, false);
    } else {
        record->bookVersion = m_context.bookVersion;
        if (m_context.dbManager)
            m_context.dbManager->savePentoolDrawing(record, storeBookID(), storeUserID());
        m_pageAnnotations.drawPenDrawingsOnPageNumber(record->pageIdentifier, record->displayNum);
    }
    updatePentoolButtonStatus();
}

void PenRoad::didUpdatePenDrawing(const std::shared_ptr<SDKPentoolVO>& record)
{
    if (!record)
        return;
    if (m_context.activeMode == ReaderActiveModeTeacherReview) {
        reportToReviewPanel(record, true);
    } else if (m_context.dbManager) {
        if (record->isDeleted()) {
            m_context.dbManager->deletePentoolDrawing(record, storeBookID(), storeUserID());
        } else {
            record->bookVersion = m_context.bookVersion;
            m_context.dbManager->savePentoolDrawing(record, storeBookID(), storeUserID());
        }
    }
    updatePentoolButtonStatus();
}

void PenRoad::didChangeUndoableStatus()
{
    auto undo = getPenToolItemWithTag(PlayerItemPenUndo);
    if (undo)
        setPenItemEnabled(*undo, m_penToolController && m_penToolController->isUndoable());
}

// MARK: - Palettes

void PenRoad::showPaletteInContainer(const std::shared_ptr<ui::View>& paletteView, double centerXOffset,
    double bottomOffset, double width, double height)
{
    if (!readerView() || !paletteView)
        return;
    if (m_container)
        m_container->removeFromSuperview();
    std::weak_ptr<int> alive = m_alive;
    m_container = lectoro::showPaletteInContainer(readerView(), paletteView,
        PalettePlacement { centerXOffset, std::nullopt, bottomOffset, width, height }, [this, alive] {
            if (!alive.expired())
                singleTapOnPentoolPalleteContainer();
        });
}

void PenRoad::actionForPenColorPalletePicker()
{
    const auto* theme = m_context.theme.get();
    auto palette = LectoroPenToolColorPalleteViewController::create();
    m_colorPalette = palette;
    palette->setDelegate(m_delegates);
    // The theme's list only: the settings model's colours serve the tablet bar alone.
    auto colors = penThemeColors(theme);
    palette->setPenColors(colors);
    palette->setSelectedPenColor(getLastUpdatedPenColor());
    palette->setColorPickerBackgroundColor(theme ? theme->pen_tool_pen_popup_background() : std::nullopt);
    palette->setSelectionBorderColor(theme ? theme->pen_tool_pen_popup_border() : std::nullopt);
    palette->setContainerBorderColor(theme ? theme->pen_tool_pen_popup_border() : std::nullopt);
    auto placement = penColorPalettePlacement(colors.size(), penOnPad());
    showPaletteInContainer(palette->view(), placement.centerXOffset, placement.bottomOffset, placement.width,
        placement.height);
}

void PenRoad::actionForPenToolThicknessSelected()
{
    const auto* theme = m_context.theme.get();
    auto palette = LectoroPenToolThicknessPalleteViewController::create();
    m_thicknessPalette = palette;
    palette->setDelegate(m_delegates);
    palette->setSelectedThicknessValue(static_cast<float>(getLastUpdatedPenThickness()));
    palette->setThickenessSliderTintColor(theme ? theme->pen_tool_slider_filled_color() : std::nullopt);
    palette->setSliderFilledColor(theme ? theme->pen_tool_slider_color() : std::nullopt);
    palette->setThicknessPickerViewBackgroundColor(theme ? theme->pen_tool_thicknessPopUp_backgroundColor() : std::nullopt);
    auto view = palette->view();
    if (theme && theme->pen_tool_thicknessPopUp_border())
        view->layer()->setBorderColor(*theme->pen_tool_thicknessPopUp_border());
    auto placement = penThicknessPalettePlacement(penOnPad(), ui::Environment::current().isRightToLeft());
    showPaletteInContainer(view, placement.centerXOffset, placement.bottomOffset, placement.width, placement.height);
    refreshColorPreview(getLastUpdatedPenColor(), getLastUpdatedPenThickness());
}

void PenRoad::singleTapOnPentoolPalleteContainer()
{
    if (auto palette = std::exchange(m_colorPalette, nullptr)) {
        if (palette->isViewLoaded()) {
            palette->viewWillDisappear(false);
            palette->viewIfLoaded()->removeFromSuperview();
        }
    }
    if (auto container = std::exchange(m_container, nullptr))
        container->removeFromSuperview();
    if (auto palette = std::exchange(m_thicknessPalette, nullptr)) {
        if (palette->isViewLoaded()) {
            palette->viewWillDisappear(false);
            palette->viewIfLoaded()->removeFromSuperview();
        }
    }
    resetPenBarSelection();
    if (m_context.penToolActionBottomBarView)
        m_context.penToolActionBottomBarView->resetPlayerActionBarSelection();
    selectAudioSyncColorPalleteSelectionButton(false);
}

void PenRoad::refreshColorPreview(const std::string& hexColor, double thickness)
{
    if (auto bar = std::dynamic_pointer_cast<PlayerActionTopBar>(m_context.penToolActionBarView))
        bar->updateColorSelectedView(UIColorExpanded::colorWithHexString(hexColor), thickness);
}

void PenRoad::didSelectPenColor(const std::string& hexColor)
{
    switch (m_context.activeMode) {
    case ReaderActiveModePenTool:
        if (m_penToolController) {
            m_penToolController->setPenColor(hexColor);
            m_penToolController->setPenMode(PenToolModeDraw);
        }
        refreshColorPreview(hexColor, getLastUpdatedPenThickness());
        persistLastUpdatedPenColor(hexColor);
        updateThicknessColor(hexColor);
        if (auto bar = std::dynamic_pointer_cast<PlayerActionTopBar>(m_context.penToolActionBarView); bar && m_context.theme)
            bar->updateSelectedPenColor(hexColor, *m_context.theme);
        break;
    case ReaderActiveModeTeacherReview:
        if (auto* panel = m_host.reviewAnnotationPanel())
            panel->didSelectPenColorForTeacherReview(hexColor);
        break;
    // Mode 10 is audio sync while read-aloud's colour palette is up.
    case ReaderActiveModeLinkAction:
    case ReaderActiveModeReadAloud:
        m_host.didSelectAudioSyncColor(hexColor);
        break;
    default:
        break;
    }
}

void PenRoad::willDismissPenToolColorPalleteView()
{
    resetPenBarSelection();
}

void PenRoad::didSelectPenThickness(float thickness)
{
    if (m_penToolController)
        m_penToolController->setPenStrokeThickness(thickness);
    persistLastUpdatedPenThickness(thickness);
    updateThicknessFont(thickness);
    refreshColorPreview(getLastUpdatedPenColor(), thickness);
}

void PenRoad::willDismissPenToolThicknessPalleteView()
{
    resetPenBarSelection();
}

namespace {

// The dot of the thickness item: the first subview of each of its labels that has one.
template<typename Apply>
void forEachThicknessDot(const std::shared_ptr<PlayerActionBar>& bar, Apply apply)
{
    if (!bar)
        return;
    for (const auto& item : bar->getTappableItems()) {
        if (item->tag() != PlayerItemPenThickness)
            continue;
        for (const auto& subview : item->subviews()) {
            auto label = std::dynamic_pointer_cast<ui::Label>(subview);
            if (label && !label->subviews().empty())
                apply(*label, *label->subviews().front());
        }
    }
}

} // namespace

void PenRoad::updateThicknessColor(const std::string& hexColor)
{
    auto color = UIColorExpanded::colorWithHexString(hexColor);
    forEachThicknessDot(m_context.penToolActionBarView, [&](ui::Label&, ui::View& dot) { dot.setBackgroundColor(color); });
}

void PenRoad::updateThicknessFont(double thickness)
{
    forEachThicknessDot(m_context.penToolActionBarView, [&](ui::Label& label, ui::View& dot) {
        label.layoutIfNeeded();
        dot.layer()->setCornerRadius(thickness * 0.5);
    });
}

// MARK: - Read-aloud's colour item

void PenRoad::updateAudioSyncColorPalleteSelectionColor(const std::string& hexColor)
{
    auto item = m_audioSyncBar ? m_audioSyncBar->itemWithTag(PlayerItemAudioSyncColorPalette) : nullptr;
    if (!item)
        return;
    auto color = UIColorExpanded::colorWithHexString(hexColor);
    for (const auto& subview : item->subviews()) {
        if (auto swatch = std::dynamic_pointer_cast<HighLightToolView>(subview))
            swatch->iconLabel()->setBackgroundColor(color);
    }
}

void PenRoad::selectAudioSyncColorPalleteSelectionButton(bool selected)
{
    auto item = m_audioSyncBar ? m_audioSyncBar->itemWithTag(PlayerItemAudioSyncColorPalette) : nullptr;
    if (!item)
        return;
    auto iconColor = m_context.theme ? m_context.theme->top_toolbar_icons_color() : std::nullopt;
    item->setBackgroundColor(selected ? iconColor : std::optional<ui::Color>(ui::Color::clear()));
    for (const auto& subview : item->subviews()) {
        if (auto label = std::dynamic_pointer_cast<ui::Label>(subview))
            label->setTextColor(selected ? ui::Color::white() : iconColor.value_or(ui::Color::black()));
    }
}

std::shared_ptr<PenToolControllerDelegate> PenRoad::penToolControllerDelegate() const
{
    return m_delegates;
}

} // namespace lectoro
