#include "LectoroSDKWithReader/annotations/notes/NoteRoad.h"

#include "LectoroSDKWithReader/annotations/AnnotationsHost.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/ui/Environment.h"
#include "platform/ui/NavigationController.h"

namespace lectoro {

namespace {

constexpr const char* noteRoadClassName = "ReaderViewController";

} // namespace

// The overlay's, the share panel's and the reader's pop-overs' delegate: it reaches the
// road while the road lives.
class NoteRoad::Seat final : public StickyNoteControllerDelegate,
                             public LXShareSettingsControllerDelegate,
                             public ui::PopoverPresentationControllerDelegate {
public:
    explicit Seat(NoteRoad& road)
        : m_road(&road)
    {
    }
    void detach() { m_road = nullptr; }

    void didTapOnStickNoteController(StickyNoteController& overlay, const ui::Point& point) override
    {
        if (m_road)
            m_road->didTapOnStickNoteController(overlay, point);
    }
    void didClickOnShareSettingsCancelButton() override
    {
        if (m_road)
            m_road->didClickOnShareSettingsCancelButton();
    }
    void didClickOnShareSettingsSaveButton(std::shared_ptr<SDKBookClassInfoVO> chosen) override
    {
        if (m_road)
            m_road->didClickOnShareSettingsSaveButton(chosen);
    }
    void didClickOnNoteShareSettingsSaveButton(std::shared_ptr<SDKHighlightVO> note) override
    {
        if (m_road)
            m_road->didClickOnNoteShareSettingsSaveButton(note);
    }
    // The reader's pop-overs stay pop-overs whatever the size class.
    std::optional<ui::ModalPresentationStyle> adaptivePresentationStyleForPresentationController(
        ui::PopoverPresentationController&) override
    {
        return ui::ModalPresentationStyle::None;
    }
    void popoverPresentationControllerDidDismissPopover(ui::PopoverPresentationController&) override
    {
        if (m_road)
            m_road->popoverPresentationControllerDidDismissPopover();
    }

private:
    NoteRoad* m_road;
};

NoteRoad::NoteRoad(ReaderContext& context, AnnotationsHost& host)
    : m_context(context)
    , m_host(host)
    , m_seat(std::make_shared<Seat>(*this))
    , m_alive(std::make_shared<NoteRoad*>(this))
{
}

NoteRoad::~NoteRoad()
{
    m_seat->detach();
}

std::weak_ptr<StickyNoteControllerDelegate> NoteRoad::stickyNoteControllerDelegate() const
{
    return m_seat;
}

std::weak_ptr<ui::PopoverPresentationControllerDelegate> NoteRoad::popoverPresentationDelegate() const
{
    return m_seat;
}

std::weak_ptr<LXShareSettingsControllerDelegate> NoteRoad::shareSettingsDelegate() const
{
    return m_seat;
}

std::string NoteRoad::storeBookID() const
{
    return std::to_string(m_context.bookID);
}

int64_t NoteRoad::storeUserID() const
{
    // The whole 64-bit id, as every store key of the reader.
    return m_context.user ? m_context.user->numericUserID() : 0;
}

std::vector<std::shared_ptr<SDKBookClassInfoVO>> NoteRoad::userClasses() const
{
    if (!m_context.dbManager)
        return {};
    return m_context.dbManager->bookClassInfoArrayForBookID(storeBookID(), storeUserID());
}

// MARK: - The editor

std::shared_ptr<StickyNotesViewController> NoteRoad::instantiateStickyNoteSViewController() const
{
    return StickyNotesViewController::create();
}

void NoteRoad::showNotesForHighlight(const std::shared_ptr<SDKHighlightVO>& record, bool forMyData)
{
    if (!record)
        return;
    if (m_context.activeMode == ReaderActiveModeGlossary)
        m_host.removeGlossaryController();
    m_noteController.reset();
    m_context.activeMode = ReaderActiveModeNoteView;

    auto editor = instantiateStickyNoteSViewController();
    editor->setCurrentUser(m_context.user);
    editor->setUserSettingsModel(m_context.settings);
    editor->setIsAudioSearchNoteEnabled(m_context.isAudioSearchNoteEnabled);
    editor->setCurrentHighlightVO(record);
    std::weak_ptr<NoteRoad*> alive = m_alive;
    editor->setNotePostAction([alive](std::shared_ptr<SDKHighlightVO> note) {
        if (auto road = alive.lock())
            (*road)->didTapOnPostNote(note);
    });
    editor->setNoteCancelAction([alive](std::shared_ptr<SDKHighlightVO> note) {
        if (auto road = alive.lock())
            (*road)->didTapOnCancelNote(note);
    });
    editor->setNoteDeleteAction([alive](std::shared_ptr<SDKHighlightVO> note) {
        if (auto road = alive.lock())
            (*road)->didTapOnDeleteNote(note);
    });
    editor->setPostCommentAction([alive](std::shared_ptr<SDKHighlightVO> note) {
        auto road = alive.lock();
        if (!road || !note)
            return;
        note->setIsSynced(false);
        note->status = UGCStatusUpdated;
        (*road)->didTapOnPostNoteComment(note);
    });
    editor->setNoteShareAction(
        [alive](std::shared_ptr<SDKHighlightVO> note, const std::string& color, const std::string& text) {
            if (auto road = alive.lock())
                (*road)->didTapOnShareNote(note, color, text);
        });
    // Back leaves without a block: the reader must not stay in the note's mode, where the
    // page's taps no longer bring the bars.
    std::weak_ptr<ui::ViewController> weakEditor = editor;
    editor->setLeaveAction([alive, weakEditor] {
        auto road = alive.lock();
        if (road)
            (*road)->didLeaveNoteEditor(weakEditor.lock());
    });
    editor->setTheme(m_context.theme);
    m_noteController = editor;

    const bool pad = ui::Environment::current().isPad();
    editor->setModalPresentationStyle(
        pad ? ui::ModalPresentationStyle::OverCurrentContext : ui::ModalPresentationStyle::OverFullScreen);
    if (pad)
        editor->setModalTransitionStyle(ui::ModalTransitionStyle::CrossDissolve);
    std::shared_ptr<ui::ViewController> presenter;
    if (forMyData) {
        if (auto myData = m_host.myDataPanel())
            presenter = myData->navigationController()
                ? std::static_pointer_cast<ui::ViewController>(myData->navigationController())
                : myData;
    }
    if (!presenter) {
        auto reader = m_host.presentingController();
        if (reader && reader->navigationController())
            presenter = reader->navigationController();
        else
            presenter = reader;
    }
    if (presenter)
        presenter->presentViewController(editor, true);

    auto classes = userClasses();
    editor->showShareButton(!classes.empty() && m_context.settings && m_context.settings->isSharingEnabled());
}

void NoteRoad::didTapOnPostNote(const std::shared_ptr<SDKHighlightVO>& record)
{
    if (!record)
        return;
    if (m_context.analyticsHandler) {
        base::Value::Dictionary info;
        if (record->isStickyNote) {
            info.set(
                LectoroReaderEventConstant::stickyNoteEventParameterNoteColor(), record->backgroundColor);
            m_context.analyticsHandler->notifyEvent(
                LectoroReaderEventConstant::stickyNoteEventName(), base::Value(std::move(info)));
        } else {
            info.set(
                LectoroReaderEventConstant::contextualNoteEventParameterNoteColor(), record->backgroundColor);
            m_context.analyticsHandler->notifyEvent(
                LectoroReaderEventConstant::contextualNoteEventName(), base::Value(std::move(info)));
        }
    }
    m_context.activeMode = m_context.backgroundActiveMode;
    // The renderer draws the note and hands the record back to the highlight road, which
    // stores it.
    if (m_context.renderer)
        m_context.renderer->postNoteWithHighlightVO(record);
}

void NoteRoad::didLeaveNoteEditor(const std::shared_ptr<ui::ViewController>& editor)
{
    if (!editor || editor != m_noteController || m_context.activeMode != ReaderActiveModeNoteView)
        return;
    m_context.activeMode = m_context.backgroundActiveMode;
    m_host.resetAllPlayerActionBar();
}

void NoteRoad::didTapOnCancelNote(const std::shared_ptr<SDKHighlightVO>&)
{
    m_context.activeMode = m_context.backgroundActiveMode;
    m_host.resetAllPlayerActionBar();
    if (!ui::Environment::current().isPad() && m_context.renderer)
        m_context.renderer->reloadPages();
}

void NoteRoad::didTapOnDeleteNote(const std::shared_ptr<SDKHighlightVO>& record)
{
    if (!record)
        return;
    record->status = UGCStatusDeleted;
    record->setIsSynced(false);
    m_context.activeMode = m_context.backgroundActiveMode;
    if (m_context.renderer)
        m_context.renderer->deleteNoteWithHighlightVO(record);
    m_host.resetAllPlayerActionBar();
    if (m_context.renderer)
        m_context.renderer->reloadPages();
}

void NoteRoad::didTapOnPostNoteComment(const std::shared_ptr<SDKHighlightVO>& record)
{
    if (!record || !m_context.dbManager)
        return;
    auto written = m_context.dbManager->saveHighlight(record, storeBookID(), storeUserID());
    // The store tells the host through its problem handler; the thread stays on screen.
    if (!written.ok())
        LectoroDebugLog::logWithType(
            1, noteRoadClassName, "Comment not stored", written.error().description());
}

void NoteRoad::didTapOnShareNote(const std::shared_ptr<SDKHighlightVO>& record,
    const std::string& selectedColor, const std::string& noteText)
{
    auto editor = m_noteController;
    if (!editor || !record)
        return;
    m_shareSettingsController.reset();
    auto panel = LXShareSettingsController::create();
    panel->setDelegate(shareSettingsDelegate());
    panel->setSettingsType(LXShareSettingsController::noteSettings);
    panel->setHighlightVO(record);
    panel->setNoteText(noteText);
    panel->setSelectedColor(selectedColor);
    panel->setUser(m_context.user);
    panel->setThemeVO(m_context.theme);
    panel->setData(userClasses());
    m_shareSettingsController = panel;

    ui::Rect readerBounds = ui::Environment::current().screenBounds();
    if (auto reader = m_host.presentingController())
        readerBounds = reader->view()->bounds();
    auto card = editor->stickyNoteContainerView();
    panel->view()->setFrame(ui::Rect { { readerBounds.maxX(), 0 }, readerBounds.size });
    if (card)
        card->addSubview(panel->view());
    editor->addChildViewController(panel);
    ui::Size editorSize = editor->view()->bounds().size;
    std::weak_ptr<ui::View> panelView = panel->view();
    ui::View::animate(0.5, [panelView, editorSize] {
        if (auto view = panelView.lock())
            view->setFrame(ui::Rect { {}, editorSize });
    });
    if (card) {
        panel->view()->setTranslatesAutoresizingMaskIntoConstraints(false);
        ui::Constraint::activate({
            panel->view()->topAnchor().constraintEqualTo(card->topAnchor()),
            panel->view()->bottomAnchor().constraintEqualTo(card->bottomAnchor()),
            panel->view()->leftAnchor().constraintEqualTo(card->leftAnchor()),
            panel->view()->rightAnchor().constraintEqualTo(card->rightAnchor()),
        });
    }
}

void NoteRoad::dismissNoteEditor(std::function<void()> completion)
{
    auto editor = m_noteController;
    if (!editor || !editor->presentingViewController() || editor->isBeingDismissed()) {
        if (completion)
            completion();
        return;
    }
    editor->dismissViewControllerAnimated(false, std::move(completion));
}

// MARK: - The overlay and pop-overs

void NoteRoad::didTapOnStickNoteController(StickyNoteController& overlay, const ui::Point& point)
{
    std::shared_ptr<SDKHighlightVO> record;
    if (m_context.renderer)
        record = m_context.renderer->getHighlightVOForStickyNoteTouchPoint(point);
    removeStickNoteController(overlay);
    if (record)
        showNotesForHighlight(record, false);
    else
        LectoroDebugLog::logWithType(1, noteRoadClassName, "Invalid Points", "");
}

void NoteRoad::removeStickNoteController(ui::View& view)
{
    view.removeFromSuperview();
}

void NoteRoad::popoverPresentationControllerDidDismissPopover()
{
    // The search panel's own mode (the search results are 16).
    constexpr uint64_t searchPanelMode = 7;
    switch (m_context.activeMode) {
    case ReaderActiveModeNoteView:
    case ReaderActiveModeMyData:
    case ReaderActiveModeContents:
    case ReaderActiveModeReflowableSettings:
    case ReaderActiveModeFillInBlank:
    case ReaderActiveModeGlossary:
        m_context.activeMode = ReaderActiveModeNone;
        break;
    case ReaderActiveModeBookmark:
        m_host.resignBookmarkInput();
        m_context.activeMode = ReaderActiveModeNone;
        break;
    case searchPanelMode:
        m_host.closeSearchPanel();
        break;
    default:
        break;
    }
    m_host.resetAllPlayerActionBar();
}

} // namespace lectoro
