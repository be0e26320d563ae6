#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"

#include <algorithm>

namespace lectoro {

namespace {

std::string withoutFragment(const std::string& href)
{
    auto hash = href.find('#');
    return hash == std::string::npos ? href : href.substr(0, hash);
}

base::Value nodeForEntry(const EPUBTOCEntryVO& entry, const EPUBBookVO& book)
{
    base::Value::List subnodes;
    for (const auto& sub : entry.subEntries)
        subnodes.push_back(nodeForEntry(sub, book));
    auto chapter = book.chapterForHref(entry.src);
    return base::Value::Dictionary {
        { "title", entry.tocLabel },
        { "src", entry.src },
        { "pageID", chapter ? base::Value(chapter->fileIndex) : base::Value() },
        { "subnodes", std::move(subnodes) },
    };
}

} // namespace

base::Value EPUBBookVO::getThumbnailData() const
{
    base::Value::List result;
    for (const auto& chapter : chapters) {
        base::Value::List pageEntries;
        if (isFixedLayout()) {
            std::string label = displayNumberForPosition(chapter->fileIndex, 0);
            pageEntries.emplace_back(base::Value::Dictionary {
                { "PageNo", chapter->fileIndex },
                { "DisplayNumber", label.empty() ? std::to_string(chapter->fileIndex + 1) : label },
                { "PageThumbnailPath", std::string() },
                { "SRC", chapter->href },
            });
        } else {
            for (const auto& entry : tocPageList) {
                if (entry.fileIndex != chapter->fileIndex)
                    continue;
                pageEntries.emplace_back(base::Value::Dictionary {
                    { "PageNo", chapter->fileIndex },
                    { "DisplayNumber", entry.label },
                    { "PageThumbnailPath", std::string() },
                    { "SRC", entry.href },
                });
            }
        }
        result.emplace_back(base::Value::Dictionary {
            { "ChapterTitle", chapter->title },
            { "ChapterID", chapter->fileIndex },
            { "Pages", std::move(pageEntries) },
        });
    }
    return result;
}

base::Value EPUBBookVO::getBookContentForTOC() const
{
    base::Value::List nodes;
    for (const auto& entry : toc)
        nodes.push_back(nodeForEntry(entry, *this));
    return nodes;
}

std::shared_ptr<EPUBChapterVO> EPUBBookVO::chapterForHref(const std::string& href) const
{
    std::string path = withoutFragment(href);
    for (const auto& chapter : chapters) {
        if (chapter->href == path)
            return chapter;
    }
    return nullptr;
}

std::shared_ptr<EPUBChapterVO> EPUBBookVO::chapterAtIndex(int64_t fileIndex) const
{
    if (fileIndex < 0 || static_cast<size_t>(fileIndex) >= chapters.size())
        return nullptr;
    return chapters[static_cast<size_t>(fileIndex)];
}

std::string EPUBBookVO::displayNumberForPosition(int64_t fileIndex, size_t textOffset) const
{
    std::string label;
    for (const auto& entry : tocPageList) {
        if (entry.fileIndex > fileIndex)
            break;
        if (entry.fileIndex < fileIndex) {
            label = entry.label;
            continue;
        }
        auto chapter = chapterAtIndex(fileIndex);
        size_t anchorOffset = 0;
        auto hash = entry.href.find('#');
        if (chapter && hash != std::string::npos) {
            std::string id = entry.href.substr(hash + 1);
            auto anchor = std::find_if(chapter->anchors.begin(), chapter->anchors.end(),
                [&](const auto& pair) { return pair.first == id; });
            if (anchor != chapter->anchors.end())
                anchorOffset = anchor->second;
        }
        if (anchorOffset <= textOffset)
            label = entry.label;
    }
    return label;
}

} // namespace lectoro
