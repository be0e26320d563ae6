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
    // Page-list entries by chapter, in list order, so the cost grows with the book, not with
    // chapters times entries.
    std::unordered_map<int64_t, std::vector<const EPUBPageListEntryVO*>> pagesByChapter;
    if (!isFixedLayout()) {
        for (const auto& entry : tocPageList)
            pagesByChapter[entry.fileIndex].push_back(&entry);
    }
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
            static const std::vector<const EPUBPageListEntryVO*> none;
            auto pages = pagesByChapter.find(chapter->fileIndex);
            for (const auto* entry : pages == pagesByChapter.end() ? none : pages->second) {
                pageEntries.emplace_back(base::Value::Dictionary {
                    { "PageNo", chapter->fileIndex },
                    { "DisplayNumber", entry->label },
                    { "PageThumbnailPath", std::string() },
                    { "SRC", entry->href },
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

std::shared_ptr<const EPUBChapterContent> EPUBChapterVO::content() const
{
    std::lock_guard lock(m_contentMutex);
    if (!m_content) {
        auto loaded = m_loader ? m_loader() : base::Result<std::shared_ptr<const EPUBChapterContent>>(nullptr);
        if (loaded.ok() && loaded.value()) {
            m_content = loaded.value();
        } else {
            if (!loaded.ok())
                m_contentError = loaded.error();
            m_content = std::make_shared<const EPUBChapterContent>();
        }
        // The parser holds the book's loading state; once answered it is not needed again.
        m_loader = nullptr;
    }
    return m_content;
}

bool EPUBChapterVO::isContentLoaded() const
{
    std::lock_guard lock(m_contentMutex);
    return m_content != nullptr;
}

std::optional<base::Error> EPUBChapterVO::contentError() const
{
    std::lock_guard lock(m_contentMutex);
    return m_contentError;
}

void EPUBChapterVO::setContentLoader(ContentLoader loader)
{
    std::lock_guard lock(m_contentMutex);
    m_loader = std::move(loader);
    m_content = nullptr;
    m_contentError.reset();
}

void EPUBChapterVO::setContent(EPUBChapterContent content)
{
    std::lock_guard lock(m_contentMutex);
    m_loader = nullptr;
    m_content = std::make_shared<const EPUBChapterContent>(std::move(content));
    m_contentError.reset();
}

std::shared_ptr<EPUBChapterVO> EPUBBookVO::chapterForHref(const std::string& href) const
{
    std::string path = withoutFragment(href);
    std::lock_guard lock(m_hrefIndexMutex);
    const EPUBChapterVO* first = chapters.empty() ? nullptr : chapters.front().get();
    if (m_hrefIndexedCount != chapters.size() || m_hrefIndexedFirst != first) {
        m_hrefIndex.clear();
        m_hrefIndex.reserve(chapters.size());
        for (size_t index = 0; index < chapters.size(); ++index) {
            if (chapters[index])
                m_hrefIndex.emplace(chapters[index]->href, index); // the first chapter of an href wins
        }
        m_hrefIndexedCount = chapters.size();
        m_hrefIndexedFirst = first;
    }
    auto found = m_hrefIndex.find(path);
    if (found == m_hrefIndex.end())
        return nullptr;
    const auto& chapter = chapters[found->second];
    if (chapter && chapter->href == path)
        return chapter;
    // A chapter was edited in place since the index was made.
    for (const auto& candidate : chapters) {
        if (candidate && candidate->href == path)
            return candidate;
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
            auto content = chapter->content();
            auto anchor = std::find_if(content->anchors.begin(), content->anchors.end(),
                [&](const auto& pair) { return pair.first == id; });
            if (anchor != content->anchors.end())
                anchorOffset = anchor->second;
        }
        if (anchorOffset <= textOffset)
            label = entry.label;
    }
    return label;
}

} // namespace lectoro
