#include "LectoroSDKWithReader/annotations/PageAnnotationsDrawer.h"

#include "LectoroSDKWithReader/annotations/AnnotationsHost.h"
#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderPageOverlays.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVIconFontConstants.h"
#include "LectoroSDKWithReader/readersdk/widgets/UGCLabel.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Layer.h"

namespace lectoro {

namespace {

// A received note is tinted alike whatever its own colour.
constexpr const char* receivedNoteColor = "#8fd5e1";

} // namespace

PageAnnotationsDrawer::PageAnnotationsDrawer(ReaderContext& context, AnnotationsHost& host)
    : m_context(context)
    , m_host(host)
{
}

bool PageAnnotationsDrawer::isPageBook() const
{
    return std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook) != nullptr;
}

std::vector<std::string> PageAnnotationsDrawer::getActivePageIDs() const
{
    std::vector<std::string> ids;
    if (!m_context.renderer)
        return ids;
    const bool pageBook = isPageBook();
    for (const auto& page : m_context.renderer->getActivePages())
        ids.push_back(std::to_string(pageBook ? page.pageID : page.fileIndex));
    return ids;
}

void PageAnnotationsDrawer::relaodPageUGCForActivePages()
{
    if (!m_context.renderer)
        return;
    const bool pageBook = isPageBook();
    auto& layers = m_host.pageOverlays();
    for (const auto& page : m_context.renderer->getActivePages()) {
        std::string number = std::to_string(pageBook ? page.pageID : page.fileIndex);
        std::string display = pageBook ? page.displayNum : number;
        layers.drawHighlightsOnPageNumber(number, display);
        if (m_context.settings && m_context.settings->isBookmarkEnabled())
            layers.addBookmarkOnPageNumber(number, display);
        layers.drawPenDrawingsOnPageNumber(number, display);
        if (!pageBook)
            continue;
        layers.drawMarkupsOnPageNumber(number, display);
        layers.drawTextAnnotationsOnPageNumber(number, display);
        layers.drawProtractorOnPageNumber(number, display);
    }
}

void PageAnnotationsDrawer::drawHighlightsOnPageNumber(const std::string& pageNumber, const std::string& displayNumber)
{
    auto store = m_context.dbManager;
    if (!store || !m_context.renderer)
        return;
    const std::string bookID = std::to_string(m_context.bookID);
    const int64_t userID = m_context.user ? m_context.user->numericUserID() : 0;
    if (isPageBook()) {
        m_context.renderer->drawHighlights(
            store->highlightForPageID(pageNumber, displayNumber, bookID, userID),
            base::integerValue(pageNumber));
        return;
    }
    // A chapter may hold many highlights: read them off the main queue.
    std::weak_ptr<const void> alive = m_alive;
    std::string key = "highlights/" + pageNumber;
    uint64_t read = startRead(key);
    base::globalQueue().async([this, alive, store, pageNumber, displayNumber, bookID, userID, key, read] {
        auto records = store->highlightForPageID(pageNumber, displayNumber, bookID, userID);
        base::RunLoop::main().post(alive, [this, records = std::move(records), pageNumber, key, read] {
            if (m_context.renderer && isNewestRead(key, read))
                m_context.renderer->drawHighlights(records, base::integerValue(pageNumber));
        });
    });
}

void PageAnnotationsDrawer::drawPenDrawingsOnPageNumber(const std::string& pageNumber, const std::string& displayNumber)
{
    auto store = m_context.dbManager;
    if (!store || !m_context.renderer)
        return;
    const std::string bookID = std::to_string(m_context.bookID);
    const int64_t userID = m_context.user ? m_context.user->numericUserID() : 0;
    if (isPageBook()) {
        m_context.renderer->drawPenDrawings(store->pentoolDrawingForPageID(pageNumber, displayNumber, bookID, userID),
            base::integerValue(pageNumber));
        return;
    }
    if (!std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook))
        return;
    // Entering a chapter reads its drawings from the store: off the main queue, so the turn
    // does not wait for them; they are drawn as soon as they arrive.
    std::weak_ptr<const void> alive = m_alive;
    std::string key = "pen/" + pageNumber;
    uint64_t read = startRead(key);
    base::globalQueue().async([this, alive, store, pageNumber, displayNumber, bookID, userID, key, read] {
        auto drawings = store->pentoolDrawingForPageID(pageNumber, displayNumber, bookID, userID);
        base::RunLoop::main().post(alive, [this, drawings = std::move(drawings), pageNumber, key, read] {
            if (m_context.renderer && isNewestRead(key, read))
                m_context.renderer->drawPenDrawings(drawings, base::integerValue(pageNumber));
        });
    });
}

uint64_t PageAnnotationsDrawer::startRead(const std::string& layerAndPage)
{
    return m_newestReads[layerAndPage] = ++m_reads;
}

bool PageAnnotationsDrawer::isNewestRead(const std::string& layerAndPage, uint64_t read) const
{
    auto found = m_newestReads.find(layerAndPage);
    return found != m_newestReads.end() && found->second == read;
}

std::shared_ptr<ui::View> PageAnnotationsDrawer::noteIconViewForHighlight(
    const std::shared_ptr<SDKHighlightVO>& record) const
{
    if (!record)
        return nullptr;
    const bool pad = ui::Environment::current().isPad();
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook);
    const bool sticky = record->isStickyNote;
    double side = pad ? 50.0 : 40.0;
    if (sticky && epub && epub->isFixedLayout())
        side = pad ? 65.0 : 50.0;

    auto label = UGCLabel::create(ui::Rect { { 0, 0 }, { side, side } });
    label->setHighlightVO(record);
    label->setBackgroundColor(ui::Color::clear());
    label->setTextAlignment(ui::TextAlignment::Center);
    label->layer()->setShadowColor(ui::Color::black());
    label->layer()->setShadowOffset({ 5.0, 5.0 });
    label->setText(sticky ? "\xc2\xb8" : "V");
    label->setFont(ui::Font(MVIconFontConstants::getFontName(), sticky ? side / 2 : side * (pad ? 0.8 : 0.6)));
    double alpha = record->isReceived && !sticky ? 0.8 : 0.85;
    auto color = UIColorExpanded::colorWithHexString(record->isReceived ? receivedNoteColor : record->backgroundColor);
    label->setTextColor(color.value_or(ui::Color::black()).withAlpha(alpha));
    addReaderAccessibilityOn(*label, "ReaderNoteOnPage",
        LocalizationHelper::localizedStringWithKey(sticky ? "ACCESSIBILITY_STICKY_NOTE" : "ACCESSIBILITY_CONTEXTUAL_NOTE"));
    return label;
}

void PageAnnotationsDrawer::updateIphoneBottomBarPageSliderForPageNumber(const std::string& pageNumber)
{
    if (!ui::Environment::current().isPad())
        m_host.setBottomBarPageSliderValue(base::integerValue(pageNumber));
}

} // namespace lectoro
