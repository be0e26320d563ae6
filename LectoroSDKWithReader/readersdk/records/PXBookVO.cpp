#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"

#include <algorithm>

namespace lectoro {

base::Value PXBookVO::getThumbnailData() const
{
    base::Value::List result;
    for (const auto& chapter : chapters) {
        base::Value::List pageEntries;
        for (int64_t pageID : chapter->pageIDs) {
            auto page = pageForPagenumber(pageID);
            if (!page)
                continue;
            pageEntries.emplace_back(base::Value::Dictionary {
                { "PageNo", page->pageID },
                { "DisplayNumber", page->displayNum },
                { "PageThumbnailPath", page->thumbnailPath },
                { "SRC", page->src },
            });
        }
        result.emplace_back(base::Value::Dictionary {
            { "ChapterTitle", chapter->title },
            { "ChapterID", chapter->chapterID },
            { "Pages", std::move(pageEntries) },
        });
    }
    return result;
}

base::Value PXBookVO::getBookResourcesForTOC() const
{
    base::Value::List result;
    if (const auto* list = resources.asList()) {
        for (const auto& resource : *list) {
            if (coding::readString(resource, "standard").empty())
                result.push_back(resource);
        }
    }
    return result;
}

base::Value PXBookVO::getBookResourcesForTORSubnodesForRole(const std::string& role, const std::string& standardType) const
{
    base::Value::List result;
    if (const auto* list = resources.asList()) {
        for (const auto& resource : *list) {
            std::string resourceRole = coding::readString(resource, "role");
            if (coding::readString(resource, "standard") == standardType && (resourceRole.empty() || resourceRole == role))
                result.push_back(resource);
        }
    }
    if (const auto* trees = standards.asList()) {
        for (const auto& tree : *trees) {
            std::string treeRole = coding::readString(tree, "role");
            if (coding::readString(tree, "type") != standardType || !(treeRole.empty() || treeRole == role))
                continue;
            if (const auto* nodes = tree["nodes"].asList())
                result.insert(result.end(), nodes->begin(), nodes->end());
        }
    }
    return result;
}

std::shared_ptr<PXChapterVO> PXBookVO::getChapterForPageID(const std::string& pageID) const
{
    auto page = pages.find(pageID);
    if (page == pages.end())
        return nullptr;
    for (const auto& chapter : chapters) {
        if (chapter->chapterID == page->second->chapterID)
            return chapter;
    }
    return nullptr;
}

const std::vector<std::shared_ptr<PXLinkVO>>& PXBookVO::getLinksForForPagenumber(int64_t pageID) const
{
    static const std::vector<std::shared_ptr<PXLinkVO>> none;
    auto page = pageForPagenumber(pageID);
    return page ? page->linkOrder : none;
}

std::shared_ptr<PXPageVO> PXBookVO::pageForPagenumber(int64_t pageID) const
{
    auto found = pages.find(std::to_string(pageID));
    return found == pages.end() ? nullptr : found->second;
}

std::shared_ptr<PXPageVO> PXBookVO::getPrevAudioLinkPagefromCurrentPageNumber(int64_t pageID) const
{
    auto current = std::find_if(pageList.begin(), pageList.end(), [&](const auto& page) { return page->pageID == pageID; });
    while (current != pageList.begin()) {
        --current;
        if (!(*current)->getAudioSyncTypeLinks().empty())
            return *current;
    }
    return nullptr;
}

} // namespace lectoro
