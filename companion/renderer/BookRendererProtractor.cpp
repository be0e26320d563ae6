// Protractors on the pages of a page book: the book's own placements and the ones the
// user adds, moves, turns and deletes. The renderer reports each finished protractor to
// its owner, which stores it; the renderer keeps drawing it for the rest of the session.

#include "companion/renderer/BookRenderer.h"

#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKProtractorVO.h"
#include "companion/renderer/RendererSupport.h"

#include <algorithm>

namespace companion {

using namespace renderer_detail;

namespace {
// Where a new protractor stands on its page.
constexpr ui::Rect newProtractorFrame { 234, 437, 300, 150 };
} // namespace

std::vector<std::shared_ptr<lectoro::SDKProtractorVO>> BookRenderer::protractorsOnPage(int64_t pageNumber)
{
    const PageEntry* entry = entryForNumber(pageNumber);
    if (!entry || !entry->page)
        return {};
    auto found = m_protractors.find(pageNumber);
    if (found == m_protractors.end()) {
        std::vector<std::shared_ptr<lectoro::SDKProtractorVO>> placed;
        for (const auto& placement : entry->page->protractors) {
            auto record = newRecordOn<lectoro::SDKProtractorVO>(*entry);
            record->frame = placement.frame;
            record->rotation = placement.rotation;
            placed.push_back(record);
        }
        found = m_protractors.emplace(pageNumber, std::move(placed)).first;
    }
    return found->second;
}

bool BookRenderer::addProtractor()
{
    if (!m_pageBook || !m_activeCount)
        return false;
    const PageEntry& entry = m_pages[m_activeStart];
    protractorsOnPage(entry.number);
    auto record = newRecordOn<lectoro::SDKProtractorVO>(entry);
    record->frame = newProtractorFrame;
    m_protractors[entry.number].push_back(record);
    m_openProtractor = record;
    if (auto delegate = liveDelegate())
        delegate->didSelectProtractorWithProtractorVO(record);
    return true;
}

bool BookRenderer::selectProtractor(const std::string& localID)
{
    for (size_t index = m_activeStart; index < m_activeStart + m_activeCount && index < m_pages.size();
         ++index) {
        for (const auto& record : protractorsOnPage(m_pages[index].number)) {
            if (record->localID != localID)
                continue;
            m_openProtractor = record;
            if (auto delegate = liveDelegate())
                delegate->didSelectProtractorWithProtractorVO(record);
            return true;
        }
    }
    return false;
}

void BookRenderer::moveOpenProtractor(const ui::Point& origin)
{
    if (m_openProtractor)
        m_openProtractor->frame.origin = origin;
}

void BookRenderer::rotateOpenProtractor(double degrees)
{
    if (m_openProtractor)
        m_openProtractor->rotation = degrees;
}

void BookRenderer::measureWithOpenProtractor(double degrees)
{
    // A protractor reads 0 to 180 degrees.
    if (m_openProtractor)
        m_openProtractor->measuredAngle = std::clamp(degrees, 0.0, 180.0);
}

bool BookRenderer::closeProtractor()
{
    auto record = std::move(m_openProtractor);
    m_openProtractor = nullptr;
    if (!record)
        return false;
    if (!record->createdDate.empty())
        record->modifiedDate = lectoro::currentUGCDateString();
    // A protractor the server already holds changes; any other is still new to it.
    record->status = record->isUploaded() ? lectoro::UGCStatusUpdated : lectoro::UGCStatusNew;
    record->isSynced = false;
    if (auto delegate = liveDelegate())
        delegate->didCloseProtractorWithProtractorVO(record);
    return true;
}

bool BookRenderer::deleteOpenProtractor()
{
    auto record = std::move(m_openProtractor);
    m_openProtractor = nullptr;
    if (!record)
        return false;
    auto& list = m_protractors[pageNumberOfRecord(*record)];
    std::erase(list, record);
    record->status = lectoro::UGCStatusDeleted;
    record->isSynced = false;
    if (auto delegate = liveDelegate())
        delegate->deleteProtractorWithProtractorVO(record);
    return true;
}

} // namespace companion
