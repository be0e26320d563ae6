#include "LectoroSDKWithReader/annotations/pen/ClearAnswersRoad.h"

#include "LectoroSDKWithReader/annotations/AnnotationsHost.h"
#include "LectoroSDKWithReader/annotations/pen/PenRoad.h"
#include "LectoroSDKWithReader/annotations/pen/ReviewAnnotationPanel.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderPageOverlays.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/Strings.h"
#include "platform/ui/AlertController.h"

namespace lectoro {

namespace {

void setClearItemEnabled(const std::shared_ptr<PlayerActionBarItem>& item, bool enabled)
{
    if (!item)
        return;
    item->setEnabled(enabled);
    item->setAlpha(enabled ? 1.0 : 0.5);
}

std::shared_ptr<PlayerActionBarItem> firstTappableWithTag(const PlayerActionBar& bar, int tag)
{
    for (const auto& item : bar.getTappableItems()) {
        if (item->tag() == tag)
            return item;
    }
    return nullptr;
}

} // namespace

ClearAnswersRoad::ClearAnswersRoad(ReaderContext& context, AnnotationsHost& host, PenRoad& penRoad)
    : m_context(context)
    , m_host(host)
    , m_penRoad(penRoad)
{
}

ClearAnswersRoad::~ClearAnswersRoad() = default;

bool ClearAnswersRoad::isPageBook() const
{
    return std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook) != nullptr;
}

bool ClearAnswersRoad::inTeacherReview() const
{
    return m_context.activeMode == ReaderActiveModeTeacherReview;
}

bool ClearAnswersRoad::submittedFlag() const
{
    return !m_context.hasClassAssociation;
}

std::shared_ptr<PlayerActionBarItem> ClearAnswersRoad::getClearAllFIBsButtonForPlayer(const PlayerActionBar& bar)
{
    return firstTappableWithTag(bar, PlayerItemClearAllFIBs);
}

std::shared_ptr<PlayerActionBarItem> ClearAnswersRoad::getAudioButtonForPlayer(const PlayerActionBar& bar)
{
    return firstTappableWithTag(bar, PlayerItemReadAloud);
}

void ClearAnswersRoad::didTapOnClearAllFIBs()
{
    auto presenter = m_host.presentingController();
    if (!presenter)
        return;
    auto alert = ui::AlertController::create(LocalizationHelper::localizedStringWithKey("ALERT_BUTTON"),
        LocalizationHelper::localizedStringWithKey("DO_YOU_WISH_TO_DELETE_ALL_DOODLES"));
    auto no = ui::AlertAction::create(base::uppercase(LocalizationHelper::localizedStringWithKey("NO_ALERT_BUTTON")));
    no->setTitleTextColor(ui::Color::black());
    alert->addAction(no);
    std::weak_ptr<int> alive = m_alive;
    alert->addAction(ui::AlertAction::create(base::uppercase(LocalizationHelper::localizedStringWithKey("YES_ALERT_BUTTON")),
        ui::AlertActionStyle::Default, [this, alive](ui::AlertAction&) {
            if (!alive.expired())
                clearAllFIBs();
        }));
    presenter->presentViewController(alert, true);
}

void ClearAnswersRoad::clearAllFIBs()
{
    if (!isPageBook() || !m_context.renderer)
        return;
    const std::string bookID = std::to_string(m_context.bookID);
    const int64_t userID = m_context.user ? m_context.user->numericUserID() : 0;
    for (const auto& page : m_context.renderer->getActivePages()) {
        const std::string pageID = std::to_string(page.pageID);
        if (inTeacherReview()) {
            if (auto* panel = m_host.reviewAnnotationPanel()) {
                panel->clearAllFIBsForPageID(pageID);
                panel->drawTeacherReviewFIBOnPageNumber(page.pageID);
                panel->drawTeacherReviewDropDownOnPageNumber(page.pageID);
            }
            continue;
        }
        if (m_context.dbManager)
            m_context.dbManager->clearAllFIBsOnPageNumber(pageID, page.displayNum, bookID, userID, submittedFlag());
        m_host.pageOverlays().drawMarkupsOnPageNumber(pageID, page.displayNum);
    }
    updateClearAllFIBsButtonStatus();
}

void ClearAnswersRoad::clearAllPageFIBs()
{
    if (!isPageBook())
        return;
    auto* panel = inTeacherReview() ? m_host.reviewAnnotationPanel() : nullptr;
    if (panel && m_context.renderer) {
        panel->clearAllFIBs();
        for (const auto& page : m_context.renderer->getActivePages()) {
            panel->drawTeacherReviewFIBOnPageNumber(page.pageID);
            panel->drawTeacherReviewDropDownOnPageNumber(page.pageID);
        }
    }
    updateClearAllFIBsButtonStatus();
}

void ClearAnswersRoad::clearAllPagePenDrawings()
{
    if (!isPageBook())
        return;
    auto* panel = inTeacherReview() ? m_host.reviewAnnotationPanel() : nullptr;
    if (panel && m_context.renderer) {
        panel->clearAllPenDrawings();
        for (const auto& page : m_context.renderer->getActivePages())
            panel->drawTeacherReviewPenDrawingsOnPageNumber(page.pageID);
    }
    updateClearAllFIBsButtonStatus();
}

void ClearAnswersRoad::clearAllPenDrawings()
{
    if (!isPageBook())
        return;
    auto* panel = inTeacherReview() ? m_host.reviewAnnotationPanel() : nullptr;
    if (panel && m_context.renderer) {
        for (const auto& page : m_context.renderer->getActivePages()) {
            panel->clearAllPenDrawingsForPageID(std::to_string(page.pageID));
            if (panel->isAnnotationEnabled())
                panel->drawTeacherReviewPenDrawingsOnPageNumber(page.pageID);
        }
    }
    updateClearAllFIBsButtonStatus();
}

void ClearAnswersRoad::updateClearAllFIBsButtonStatus()
{
    if (!isPageBook())
        return;
    auto pages = m_context.renderer ? m_context.renderer->getActivePages() : std::vector<RendererPage> {};
    if (inTeacherReview()) {
        auto* panel = m_host.reviewAnnotationPanel();
        setClearItemEnabled(m_penRoad.getPenToolItemWithTag(PlayerItemPenDeleteSelection),
            !pages.empty() && panel && panel->isFIBsAndPentoolAvailable());
        return;
    }
    const std::string bookID = std::to_string(m_context.bookID);
    const int64_t userID = m_context.user ? m_context.user->numericUserID() : 0;
    bool anything = false;
    for (const auto& page : pages) {
        if (m_context.dbManager
            && m_context.dbManager->isFIBsAvailableOnPageID(
                std::to_string(page.pageID), page.displayNum, bookID, userID, submittedFlag())) {
            anything = true;
            break;
        }
    }
    for (const auto& bar : { m_host.verticalToolBar(), m_context.playerBottomActionBarView }) {
        if (bar)
            setClearItemEnabled(getClearAllFIBsButtonForPlayer(*bar), anything);
    }
}

void ClearAnswersRoad::changeAudioButtonStatus()
{
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook);
    if (!epub || !epub->isReflowable() || !m_context.playerBottomActionBarView)
        return;
    auto item = getAudioButtonForPlayer(*m_context.playerBottomActionBarView);
    if (!item)
        return;
    setClearItemEnabled(item, false);
    if (!m_context.renderer)
        return;
    for (const auto& page : m_context.renderer->getActivePages()) {
        // A file index the book has no chapter for (a stale or broken page) has no audio.
        auto chapter = epub->chapterAtIndex(page.fileIndex);
        if (chapter && chapter->isAudioSyncSupported) {
            setClearItemEnabled(item, true);
            break;
        }
    }
}

} // namespace lectoro
