#include "LectoroSDKWithReader/annotations/bookmarks/BookmarkRoad.h"

#include "LectoroSDKWithReader/annotations/AnnotationsHost.h"
#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "platform/base/AttributedString.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Presentation.h"

#include <set>

namespace lectoro {

namespace {

constexpr double bookmarkPanelInset = 2.0;
constexpr double bookmarkFieldInset = 12.0;
constexpr ui::Size bookmarkPopoverSize { 256, 46 };
constexpr double bookmarkCardTrailing = -16.0;
constexpr double bookmarkCardTop = 48.0;
constexpr ui::Size bookmarkCardSize { 260, 43 };

bool bookmarkOnPad()
{
    return ui::Environment::current().isPad();
}

// Pins the view to its superview's edges with the insets, and gives it the frame they mean.
void pinBookmarkView(ui::View& view, ui::View& superview, double horizontal, double vertical)
{
    view.setTranslatesAutoresizingMaskIntoConstraints(false);
    ui::Constraint::activate({
        view.leadingAnchor().constraintEqualTo(superview.leadingAnchor(), horizontal),
        view.trailingAnchor().constraintEqualTo(superview.trailingAnchor(), -horizontal),
        view.topAnchor().constraintEqualTo(superview.topAnchor(), vertical),
        view.bottomAnchor().constraintEqualTo(superview.bottomAnchor(), -vertical),
    });
    const ui::Rect bounds = superview.bounds();
    view.setFrame(ui::Rect { { bounds.origin.x + horizontal, bounds.origin.y + vertical },
        { bounds.size.width - 2 * horizontal, bounds.size.height - 2 * vertical } });
}

} // namespace

// What the icons and the pop-up hold (weakly) of the road.
class BookmarkRoad::Delegates final : public BookMarkViewDelegate, public BookmarkControllerDelegate {
public:
    explicit Delegates(BookmarkRoad& road)
        : m_road(&road)
    {
    }
    void detach() { m_road = nullptr; }

    void didTapOnBookMark(BookMarkView& icon) override
    {
        if (m_road)
            m_road->didTapOnBookMark(icon);
    }
    void didBookmarkCompleteWithBookmarkVO(std::shared_ptr<SDKBookmarkVO> record) override
    {
        if (m_road)
            m_road->didBookmarkCompleteWithBookmarkVO(record);
    }

private:
    BookmarkRoad* m_road;
};

BookmarkRoad::BookmarkRoad(ReaderContext& context, AnnotationsHost& host, HighlightRoad& highlightRoad)
    : m_context(context)
    , m_host(host)
    , m_highlightRoad(highlightRoad)
    , m_delegates(std::make_shared<Delegates>(*this))
{
}

BookmarkRoad::~BookmarkRoad()
{
    m_delegates->detach();
}

std::string BookmarkRoad::storeBookID() const
{
    return std::to_string(m_context.bookID);
}

int64_t BookmarkRoad::storeUserID() const
{
    return m_context.user ? m_context.user->numericUserID() : 0;
}

std::shared_ptr<BookMarkView> BookmarkRoad::bookMarkViewForPage(int64_t pageNumber) const
{
    auto found = m_pageIcons.find(pageNumber);
    return found == m_pageIcons.end() ? nullptr : found->second;
}

// MARK: - Icons

void BookmarkRoad::addBookmarkOnPageNumber(const std::string& pageNumber, const std::string& displayNumber)
{
    const int64_t page = base::integerValue(pageNumber);
    auto icon = BookMarkView::create(bookmarkIcon, selectedBookmarkIcon);
    m_bookMarkView = icon;
    if (m_context.renderer) {
        std::set<int64_t> onScreen;
        for (const auto& shown : m_context.renderer->getActivePages()) {
            onScreen.insert(shown.pageID);
            onScreen.insert(shown.fileIndex);
        }
        std::erase_if(m_pageIcons, [&](const auto& entry) { return !onScreen.contains(entry.first); });
    }
    m_pageIcons[page] = icon;
    icon->setPageNumber(page);
    icon->setDelegate(m_delegates);
    if (m_context.renderer)
        m_context.renderer->addBookmarkView(icon, page);
    icon->setTag(bookmarkViewTag);

    std::weak_ptr<const void> alive = m_alive;
    std::weak_ptr<BookMarkView> weakIcon = icon;
    auto store = m_context.dbManager;
    const std::string bookID = storeBookID();
    const int64_t userID = storeUserID();
    base::globalQueue().async([this, alive, weakIcon, store, page, pageNumber, displayNumber, bookID, userID] {
        auto bookmarks = store ? store->bookmarkForPageID(pageNumber, displayNumber, bookID, userID)
                               : std::vector<std::shared_ptr<SDKBookmarkVO>> {};
        base::RunLoop::main().post(alive, [this, weakIcon, page, bookmarks = std::move(bookmarks)] {
            if (!bookmarks.empty() && m_context.renderer)
                m_context.renderer->addBookmark(bookmarks.front(), page);
            // The icon of this page: in a spread the next page's icon is already the
            // current one, and colouring that instead would leave this one uncoloured.
            auto icon = weakIcon.lock();
            if (!icon || !m_context.theme)
                return;
            if (auto color = m_context.theme->bookmark_icon_color())
                icon->setBookmarkColor(*color);
            if (auto color = m_context.theme->bookmark_selected_icon_color())
                icon->setSelectedBookmarkColor(*color);
        });
    });

    if (ui::isPortrait(ui::Environment::current().interfaceOrientation()) || page % 2 != 0) {
        m_host.setHelpBookmark(icon);
        if (m_host.isHelpScreenShown()) {
            base::RunLoop::main().postDelayed(helpRefreshDelay, alive, [this] { m_host.refreshHelpScreen(); });
        }
    }
}

void BookmarkRoad::addAccessibilityOnBookmark()
{
    if (!m_bookMarkView)
        return;
    addReaderAccessibilityOn(*m_bookMarkView,
        m_bookMarkView->isSelected() ? "ReaderUpdateBookmarkButton" : "ReaderAddBookmarkButton", "");
}

// MARK: - The pop-up

void BookmarkRoad::didTapOnBookMark(BookMarkView& icon)
{
    m_host.closeAudioSync();
    switch (m_context.activeMode) {
    case ReaderActiveModeGlossary:
        m_host.removeGlossaryController();
        break;
    case ReaderActiveModeHighlightPopup:
        m_highlightRoad.removeHighlightPopup();
        break;
    case ReaderActiveModeInstructionPopup:
        m_host.removeInstructionMarkupPopOver();
        break;
    default:
        break;
    }
    if (m_context.activeMode == ReaderActiveModeBookmark && m_bookMarkController
        && icon.bookmarkVO() == m_bookMarkController->getBookmarkVO())
        return;
    // A pop-up still open for another page goes first.
    if (m_bookMarkController)
        removeBookmarkVC();

    m_context.activeMode = ReaderActiveModeBookmark;
    auto controller = BookMarkController::create();
    m_bookMarkController = controller;
    controller->setDelegate(m_delegates);
    controller->setBookmarkVO(m_context.renderer ? m_context.renderer->getBookmarkVOForPageNo(icon.pageNumber()) : nullptr);
    controller->view()->setBackgroundColor(ui::Color::clear());
    styleController(*controller);
    presentController(controller, icon);
    if (m_context.theme && m_context.theme->bookmark_input_panel_bg())
        controller->setBackgroundColorForView("#" + UIColorExpanded::hexStringFromColor(*m_context.theme->bookmark_input_panel_bg()));
}

void BookmarkRoad::styleController(BookMarkController& controller)
{
    const auto* theme = m_context.theme.get();
    auto view = controller.view();
    if (view->subviews().empty())
        return;
    auto panel = view->subviews().front();
    pinBookmarkView(*panel, *view, bookmarkPanelInset, bookmarkPanelInset);
    panel->setClipsToBounds(true);
    panel->setBackgroundColor(theme ? theme->bookmark_input_panel_bg() : std::nullopt);
    panel->layer()->setCornerRadius(11.0);
    panel->layer()->setBorderWidth(1.0);
    if (theme && theme->bookmark_popup_border())
        panel->layer()->setBorderColor(*theme->bookmark_popup_border());
    if (panel->subviews().empty())
        return;
    auto field = std::dynamic_pointer_cast<ui::TextField>(panel->subviews().front());
    if (!field)
        return;
    pinBookmarkView(*field, *panel, bookmarkFieldInset, 0);
    if (auto font = getCustomFont(bookmarkOnPad() ? 20.0 : 18.0))
        field->setFont(*font);
    if (theme && theme->bookmark_text_color())
        field->setTextColor(*theme->bookmark_text_color());
    if (theme && theme->bookmark_hint_text_color()) {
        base::AttributedString placeholder(field->placeholder());
        placeholder.addForegroundColor(base::Range { 0, placeholder.length() }, ui::colorAttr(*theme->bookmark_hint_text_color()));
        field->setAttributedPlaceholder(placeholder);
    }
}

void BookmarkRoad::presentController(const std::shared_ptr<BookMarkController>& controller, BookMarkView& icon)
{
    auto presenter = m_host.presentingController();
    if (!presenter)
        return;
    if (bookmarkOnPad()) {
        controller->setModalPresentationStyle(ui::ModalPresentationStyle::Popover);
        controller->setPreferredContentSize(bookmarkPopoverSize);
        controller->view()->setClipsToBounds(true);
        controller->view()->layer()->setCornerRadius(0);
        if (auto* popover = controller->popoverPresentationController()) {
            popover->setPermittedArrowDirections(ui::PopoverArrowDirection::None);
            popover->setDelegate(m_host.readerPopoverDelegate());
            popover->setSourceView(std::static_pointer_cast<ui::View>(icon.shared_from_this()));
            popover->setSourceRect(icon.bounds());
            popover->setBackgroundColor(ui::Color::clear());
        }
        presenter->presentViewController(controller, true);
        return;
    }

    auto readerView = presenter->view();
    auto backdrop = ui::View::create();
    readerView->addSubview(backdrop);
    pinBookmarkView(*backdrop, *readerView, 0, 0);
    std::weak_ptr<const void> alive = m_alive;
    backdrop->addGestureRecognizer(ui::TapGestureRecognizer::create([this, alive](ui::GestureRecognizer&) {
        if (!alive.expired())
            removeBookmarkVC();
    }));
    m_backdrop = backdrop;

    auto card = controller->view();
    card->layer()->setMasksToBounds(false);
    card->layer()->setShadowColor(ui::Color::black());
    card->layer()->setShadowOffset({ 0, 3.0 });
    card->layer()->setShadowOpacity(0.4);
    presenter->addChildViewController(controller);
    card->setTranslatesAutoresizingMaskIntoConstraints(false);
    readerView->addSubview(card);
    ui::Constraint::activate({
        card->trailingAnchor().constraintEqualTo(readerView->trailingAnchor(), bookmarkCardTrailing),
        card->topAnchor().constraintEqualTo(readerView->topAnchor(), bookmarkCardTop),
        card->widthAnchor().constraintEqualToConstant(bookmarkCardSize.width),
        card->heightAnchor().constraintEqualToConstant(bookmarkCardSize.height),
    });
    const ui::Rect bounds = readerView->bounds();
    card->setFrame(ui::Rect { { bounds.maxX() + bookmarkCardTrailing - bookmarkCardSize.width, bounds.origin.y + bookmarkCardTop },
        bookmarkCardSize });
    controller->didMoveToParentViewController(presenter.get());
}

void BookmarkRoad::didBookmarkCompleteWithBookmarkVO(const std::shared_ptr<SDKBookmarkVO>& record)
{
    // A pop-up that hands back nothing still counts as a use of bookmarks.
    if (record)
        record->bookVersion = m_context.bookVersion;
    if (m_context.analyticsHandler)
        m_context.analyticsHandler->notifyEvent(LectoroReaderEventConstant::bookmarkEventName());
    if (!record)
        return;
    if (m_context.renderer)
        m_context.renderer->setBookmarkVO(record);
    if (record->isDeleted()) {
        if (m_context.dbManager)
            m_context.dbManager->deleteBookmark(record, storeBookID(), storeUserID());
        removeBookmarkVC();
    } else if (m_context.dbManager) {
        m_context.dbManager->saveBookmark(record, storeBookID(), storeUserID());
    }
}

void BookmarkRoad::resignBookmarkInput()
{
    if (m_bookMarkController && m_bookMarkController->isViewLoaded())
        m_bookMarkController->view()->endEditing(true);
}

void BookmarkRoad::removeBookmarkVC()
{
    m_context.activeMode = m_context.backgroundActiveMode;
    auto controller = std::exchange(m_bookMarkController, nullptr);
    if (bookmarkOnPad()) {
        if (controller && controller->presentingViewController())
            controller->dismissViewControllerAnimated(false);
        if (controller)
            m_host.resetAllPlayerActionBar();
        return;
    }
    if (auto backdrop = std::exchange(m_backdrop, nullptr))
        backdrop->removeFromSuperview();
    if (controller) {
        controller->removeFromParentViewController();
        if (auto view = controller->viewIfLoaded())
            view->removeFromSuperview();
        m_host.resetAllPlayerActionBar();
    }
}

} // namespace lectoro
