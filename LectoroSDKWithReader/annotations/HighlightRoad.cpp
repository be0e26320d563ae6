#include "LectoroSDKWithReader/annotations/HighlightRoad.h"

#include "LectoroSDKWithReader/annotations/AnnotationsHost.h"
#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/annotations/HighlightRules.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "LectoroSDKWithReader/readersdk/widgets/StickyNoteController.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/ViewController.h"

namespace lectoro {

namespace {

constexpr const char* className = "ReaderViewController";

struct ToolRow {
    const char* name;
    const char* glyph;
    HighlightItemType type;
};

bool isNarrowScreen()
{
    return ui::Environment::current().screenSize().width == 320;
}

} // namespace

// The pop-up's delegate: it holds the road weakly through the pop-up (the road owns it).
class HighlightRoad::PopupDelegate final : public HighlightActionViewDelegate {
public:
    explicit PopupDelegate(HighlightRoad& road)
        : m_road(road)
    {
    }
    void didHighlightClosed() override { m_road.didHighlightClosed(); }

private:
    HighlightRoad& m_road;
};

HighlightRoad::HighlightRoad(ReaderContext& context, AnnotationsHost& host)
    : m_context(context)
    , m_host(host)
    , m_popupDelegate(std::make_shared<PopupDelegate>(*this))
    , m_alive(std::make_shared<HighlightRoad*>(this))
{
}

HighlightRoad::~HighlightRoad()
{
    if (m_highlightView) {
        m_highlightView->setDelegate({});
        m_highlightView->setHighlightTextAction({});
        m_highlightView->setHighLightToolActions({});
    }
}

bool HighlightRoad::isPageBook() const
{
    return std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook) != nullptr;
}

std::string HighlightRoad::storeBookID() const
{
    return std::to_string(m_context.bookID);
}

int64_t HighlightRoad::storeUserID() const
{
    // The whole 64-bit id: a narrower read would merge users whose ids differ above it.
    return m_context.user ? m_context.user->numericUserID() : 0;
}

void HighlightRoad::onMain(std::function<void(HighlightRoad&)> work)
{
    std::weak_ptr<HighlightRoad*> alive = m_alive;
    base::RunLoop::main().post([alive, work = std::move(work)] {
        if (auto road = alive.lock())
            work(**road);
    });
}

// MARK: - The pop-up

HighlightToolSwitches HighlightRoad::toolSwitches() const
{
    HighlightToolSwitches switches;
    switches.contextualNote = m_context.settings && m_context.settings->isContextualNoteEnabled();
    switches.search = m_context.settings && m_context.settings->isSearchEnabled();
    switches.translation = m_context.isGoogleTranslateEnabled;
    switches.immersiveReader = m_context.isImmeresiveReaderEnabled;
    return switches;
}

int HighlightRoad::getHighlightViewItemCount() const
{
    return highlightPopupGeometry(toolSwitches()).itemCount;
}

void HighlightRoad::initializeHighlight()
{
    if (m_highlightView) {
        if (m_context.renderer)
            m_context.renderer->setHighlightView(m_highlightView);
        return;
    }
    auto switches = toolSwitches();
    auto geometry = highlightPopupGeometry(switches);

    ui::Color border = ui::Color::black();
    if (m_context.theme && m_context.theme->note_selected_icon_border())
        border = *m_context.theme->note_selected_icon_border();
    m_highlightView = HighlightView::create(geometry.frame, "", border);
    if (m_context.theme && m_context.theme->highlight_popup_background())
        m_highlightView->contentView()->setBackgroundColor(*m_context.theme->highlight_popup_background());
    m_highlightView->setBackgroundColor(ui::Color::clear());
    m_highlightView->setDelegate(m_popupDelegate);

    addHighlightColorsOnHighlightView();
    addHighlightToolsOnHighlightView();
    if (!switches.contextualNote && !switches.search)
        m_highlightView->setFrame(geometry.frameAfterTools);

    std::weak_ptr<HighlightRoad*> alive = m_alive;
    m_highlightView->setHighLightToolActions(
        [alive](const std::shared_ptr<HighLightToolView>& item, const std::string& color) {
            if (auto road = alive.lock(); road && item)
                (*road)->dispatchTool(*item, color);
        });
    m_highlightView->setHighlightTextAction([alive](const std::shared_ptr<HighLightToolView>&, const std::string& color) {
        auto road = alive.lock();
        if (!road)
            return;
        HighlightRoad& self = **road;
        if (self.m_context.renderer)
            self.m_context.renderer->highlight(self.m_highlightView, color, color, false);
    });
    if (m_context.renderer)
        m_context.renderer->setHighlightView(m_highlightView);
}

void HighlightRoad::addHighlightColorsOnHighlightView()
{
    // A theme without colours gives a pop-up with tools only.
    auto colors = highlightColorsOf(m_context.theme ? m_context.theme->highlight_Color_Array() : std::nullopt);
    for (const auto& color : colors)
        m_highlightView->addColorViewWithHightlighColorView(addHighlightColor(color), color);
}

void HighlightRoad::addHighlightToolsOnHighlightView()
{
    auto switches = toolSwitches();
    const ToolRow rows[] = {
        { "Note", NOTE_TEXT_ICON, HighlightItemType::Note },
        { "Search", ICON_SEARCH, HighlightItemType::Search },
        { "Translation", ICON_TRANSLATION, HighlightItemType::Translation },
        { "Delete", ICON_DELETE_OUTLINE, HighlightItemType::Delete },
        { "Immersive_Reader", ICON_IMMERSIVE_READER, HighlightItemType::ImmersiveReader },
    };
    const bool shown[] = { switches.contextualNote, switches.search, switches.translation, true, switches.immersiveReader };
    for (size_t index = 0; index < std::size(rows); ++index) {
        if (!shown[index])
            continue;
        auto tool = addHighlightTool(rows[index].name, rows[index].glyph, static_cast<uint64_t>(rows[index].type));
        m_highlightView->addHighLightToolbuttonWithHighLightTool(tool);
    }
}

std::shared_ptr<HighLightToolView> HighlightRoad::initializeHighlightToolView() const
{
    const bool pad = ui::Environment::current().isPad();
    double width = 56.0;
    if (!pad) {
        width = highlightPopupGeometry(toolSwitches()).itemWidth;
    }
    return HighLightToolView::create(ui::Rect { { 0, 0 }, { width, pad ? 54.0 : 44.0 } });
}

std::shared_ptr<HighLightToolView> HighlightRoad::addHighlightTool(
    const std::string& name, const std::string& icon, uint64_t type) const
{
    auto item = initializeHighlightToolView();
    const bool pad = ui::Environment::current().isPad();
    item->setTag(static_cast<int>(type));
    item->iconLabel()->setText(icon);
    item->iconLabel()->setFont(ui::Font(MVLectoroFontManager::getFontName(), pad ? 24.0 : (isNarrowScreen() ? 19.0 : 21.0)));
    if (m_context.theme && m_context.theme->highlight_popup_icon_color())
        item->iconLabel()->setTextColor(*m_context.theme->highlight_popup_icon_color());
    item->contentView()->setBackgroundColor(ui::Color::clear());
    item->widthConstraintOfIcon()->setConstant(32.0);
    item->heightConstraintOfIcon()->setConstant(32.0);
    item->setAccessibilityIdentifier(name);
    return item;
}

std::shared_ptr<HighLightToolView> HighlightRoad::addHighlightColor(const std::string& hexColor) const
{
    auto item = initializeHighlightToolView();
    const bool pad = ui::Environment::current().isPad();
    item->contentView()->setBackgroundColor(ui::Color::clear());
    if (auto color = UIColorExpanded::colorWithHexString(hexColor))
        item->iconLabel()->setBackgroundColor(*color);
    item->resetViewForColorPalletWithColorHeight(pad ? 25.0 : (isNarrowScreen() ? 20.0 : 22.0));
    if (!pad) {
        item->widthConstraintOfBorderView()->setConstant(26.0);
        item->heightConstraintOfBorderView()->setConstant(26.0);
        item->widthConstraintOfIcon()->setConstant(18.0);
        item->heightConstraintOfIcon()->setConstant(18.0);
        item->borderView()->layer()->setCornerRadius(26.0 / 2);
        item->iconLabel()->layer()->setCornerRadius(9.0);
        item->borderView()->setClipsToBounds(true);
        item->iconLabel()->setClipsToBounds(true);
    }
    item->borderView()->layer()->setBorderWidth(1.0);
    item->borderView()->layer()->setBorderColor(ui::Color::clear());
    item->setNeedsLayout();
    return item;
}

// MARK: - The renderer's reports

void HighlightRoad::didHighlightTextWithHighlightSelectionRect(const ui::Rect& selection, int64_t pageNo)
{
    m_host.stopInlineVideo();
    m_host.closeAudioSync();
    m_host.moveTopAndBottomOffScreen(true);
    // The pop-up is built when the reader first appears; a selection made before that
    // builds it here.
    if (!m_highlightView)
        initializeHighlight();
    if (!m_context.renderer || !m_context.renderer->openHighlightView(m_highlightView, pageNo, selection.origin))
        return;
    m_highlightView->resetHighlightView();
    // Laid out as it opens, so every swatch and tool stands in its own place under a finger.
    m_highlightView->setNeedsLayout();
    m_highlightView->layoutIfNeeded();

    if (auto slider = m_host.verticalSliderRightConstraint()) {
        const bool pad = ui::Environment::current().isPad();
        const bool rightToLeft = ui::Environment::current().layoutDirection() == ui::LayoutDirection::RightToLeft;
        double offset = rightToLeft ? (pad ? 10 : 6) : (pad ? 15 : 10);
        double inset = m_host.readerRightSafeAreaInset();
        // The slider hidden by the bars comes back beside the pop-up.
        if (slider->constant() == -(inset + offset + 15.0))
            slider->setConstant(inset + 3 * offset);
    }
    m_context.activeMode = ReaderActiveModeHighlightPopup;
}

void HighlightRoad::didHighlightClosed()
{
    m_context.activeMode = ReaderActiveModeNone;
}

void HighlightRoad::didHighlighCompleteWithHighlight(const std::shared_ptr<SDKHighlightVO>& record)
{
    if (!record)
        return;
    // Analytics first, while the store still holds the record's previous state.
    trackEventForHighlight(*record);
    record->bookVersion = m_context.bookVersion;
    if (m_context.dbManager) {
        auto written = record->isDeleted() ? m_context.dbManager->deleteHighlight(record, storeBookID(), storeUserID())
                                           : m_context.dbManager->saveHighlight(record, storeBookID(), storeUserID());
        // The store tells the host through its problem handler; the road carries on.
        if (!written.ok())
            LectoroDebugLog::logWithType(1, className, "Highlight not stored", written.error().description());
    }
    if (m_context.activeMode == ReaderActiveModeNoteView)
        removeNoteView();
    // A colour or a delete ends with the renderer taking its pop-up away; the reader leaves
    // the pop-up's mode with it, so the next tap on the page is a page tap again.
    else if (m_context.activeMode == ReaderActiveModeHighlightPopup && m_highlightView && !m_highlightView->window())
        m_context.activeMode = ReaderActiveModeNone;
}

void HighlightRoad::didTapOnNoteHighligh(const std::shared_ptr<SDKHighlightVO>& record)
{
    m_host.stopInlineVideo();
    if (!record)
        return;
    m_host.closeAudioSync();
    m_host.showNotesForHighlight(record, false);
}

void HighlightRoad::removeHighlightPopup()
{
    if (m_context.renderer)
        m_context.renderer->removeHighlightView();
    m_context.activeMode = ReaderActiveModeNone;
}

void HighlightRoad::removeNoteView()
{
    std::weak_ptr<HighlightRoad*> alive = m_alive;
    m_host.dismissNoteEditor([alive] {
        auto road = alive.lock();
        if (!road)
            return;
        HighlightRoad& self = **road;
        self.m_context.activeMode = ReaderActiveModeNone;
        self.m_host.resetAllPlayerActionBar();
        if (!ui::Environment::current().isPad() && self.m_context.renderer)
            self.m_context.renderer->reloadPages();
    });
}

// MARK: - Records

void HighlightRoad::trackEventForHighlight(const SDKHighlightVO& record)
{
    std::vector<std::shared_ptr<SDKHighlightVO>> stored;
    std::shared_ptr<SDKBookClassInfoVO> firstClass;
    if (m_context.dbManager) {
        stored = m_context.dbManager->highlightForPageID(
            record.pageIdentifier, record.displayNum, storeBookID(), storeUserID());
        auto classes = m_context.dbManager->bookClassInfoArrayForBookID(storeBookID(), storeUserID());
        if (!classes.empty())
            firstClass = classes.front();
    }
    auto metadata = MVLectoroAnalyticsMetaData::ugcTracking(record.displayNum, record.localID);
    for (auto event : highlightEventsFor(record, stored, firstClass.get())) {
        if (m_context.analyticsHandler)
            m_context.analyticsHandler->trackEvent(event, metadata);
    }
    m_host.saveReaderAnalyticsSession();
}

void HighlightRoad::migrateHighlightAndNoteColors()
{
    if (!m_context.dbManager)
        return;
    auto offered = highlightColorsOf(m_context.theme ? m_context.theme->highlight_Color_Array() : std::nullopt);
    auto& store = *m_context.dbManager;
    // Reading every highlight of a big book costs more than the rest of its opening: the
    // store remembers a migration that left nothing to change until a highlight of another
    // colour (one fetched from the service) is stored.
    if (store.highlightColorsWereMigrated(storeBookID(), storeUserID(), offered))
        return;
    store.rememberHighlightColorMigration(storeBookID(), storeUserID(), offered);
    // Read, not changed: the store's shared list, and copies of the few records that move.
    auto records = store.sharedHighlightsOfBook(storeBookID(), storeUserID());
    if (!records)
        return;
    bool allStored = true;
    for (const auto& record : migrateHighlightColors(*records, offered)) {
        auto written = store.saveHighlight(record, storeBookID(), storeUserID());
        if (!written.ok()) {
            allStored = false;
            LectoroDebugLog::logWithType(1, className, "Migrated highlight not stored", written.error().description());
        }
    }
    if (!allStored)
        store.forgetHighlightColorMigration(storeBookID(), storeUserID());
}

// MARK: - Sticky notes

void HighlightRoad::showStickyNote()
{
    m_host.moveTopAndBottomOffScreen(true);
    if (!m_context.renderer)
        return;
    if (isPageBook()) {
        showStickyNoteFor(m_context.renderer->getHighlightVOForStickyNoteWithDefaultPosition());
        return;
    }
    std::weak_ptr<HighlightRoad*> alive = m_alive;
    m_context.renderer->getHighlightVOForStickyNoteWithDefaultPositionWithCallBack(
        [alive](std::shared_ptr<SDKHighlightVO> record) {
            if (auto road = alive.lock())
                (*road)->showStickyNoteFor(record);
        });
}

void HighlightRoad::showStickyNoteFor(const std::shared_ptr<SDKHighlightVO>& record)
{
    if (record)
        m_host.showNotesForHighlight(record, false);
    else
        LectoroDebugLog::logWithType(1, className, "Invalid Points", "");
}

void HighlightRoad::actionForStickNote()
{
    auto controller = m_host.presentingController();
    if (!m_context.renderer || !controller)
        return;
    m_context.renderer->resetZoomScaleToDefault();
    m_host.moveTopAndBottomOffScreen(true);
    auto readerView = controller->view();
    if (m_stickyNoteController)
        m_stickyNoteController->removeFromSuperview();
    // Its taps are the note road's to answer.
    m_stickyNoteController = StickyNoteController::create(readerView->bounds(), m_host.stickyNoteOverlayDelegate());
    m_stickyNoteController->setTranslatesAutoresizingMaskIntoConstraints(false);
    readerView->addSubview(m_stickyNoteController);
    ui::Constraint::activate({
        m_stickyNoteController->leadingAnchor().constraintEqualTo(readerView->leadingAnchor()),
        m_stickyNoteController->trailingAnchor().constraintEqualTo(readerView->trailingAnchor()),
        m_stickyNoteController->topAnchor().constraintEqualTo(readerView->topAnchor()),
        m_stickyNoteController->bottomAnchor().constraintEqualTo(readerView->bottomAnchor()),
    });
}

} // namespace lectoro
