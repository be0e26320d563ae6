#pragma once

// Small books and nodes for the contents tests.

#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "platform/base/Value.h"

#include <memory>
#include <string>

namespace lectoro::contentstest {

inline base::Value node(
    const std::string& title, base::Value pageID, base::Value::List subnodes = {}, std::string src = {})
{
    base::Value::Dictionary dictionary { { "title", title }, { "pageID", std::move(pageID) },
        { "subnodes", std::move(subnodes) } };
    if (!src.empty())
        dictionary.set("src", src);
    return dictionary;
}

// Top-level entries 1 to 3 (pages 10, 20, 30); entry 2 has 2.1 (page 21) with 2.1.1
// (page 22) and 2.1.2 (page 23), and 2.2 (page 24).
inline base::Value threeChapterContents()
{
    return base::Value::List {
        node("One", 10, {}, "c1.xhtml"),
        node("Two", 20,
            { node("Two.One", 21,
                  { node("Deep A", 22, {}, "c2.xhtml#a"), node("Deep B", 23, {}, "c2.xhtml#b") },
                  "c2.xhtml#s1"),
                node("Two.Two", 24, {}, "c2.xhtml#s2") },
            "c2.xhtml"),
        node("Three", 30, {}, "c3.xhtml"),
    };
}

inline RendererPage pageBookPage(int64_t id)
{
    RendererPage page;
    page.pageID = id;
    page.displayNum = std::to_string(id);
    return page;
}

inline RendererPage epubPage(int64_t fileIndex, std::string href)
{
    RendererPage page;
    page.fileIndex = fileIndex;
    page.href = std::move(href);
    return page;
}

// A page book of two chapters: chapter 1 holds pages 3 and 12, chapter 2 page 40.
inline std::shared_ptr<PXBookVO> twoChapterPageBook()
{
    auto book = std::make_shared<PXBookVO>();
    auto addChapter = [&](int64_t id, std::string title, std::vector<int64_t> pages) {
        auto chapter = std::make_shared<PXChapterVO>();
        chapter->chapterID = id;
        chapter->title = std::move(title);
        chapter->pageIDs = pages;
        book->chapters.push_back(chapter);
        for (int64_t pageID : pages) {
            auto page = std::make_shared<PXPageVO>();
            page->pageID = pageID;
            page->displayNum = std::to_string(pageID);
            page->chapterID = id;
            book->pages[std::to_string(pageID)] = page;
            book->pageList.push_back(page);
        }
    };
    addChapter(1, "Clouds", { 3, 12 });
    addChapter(2, "Rain", { 40 });
    return book;
}

inline std::shared_ptr<PXLinkVO> addLink(
    PXBookVO& book, int64_t pageID, int64_t linkID, int32_t type, std::string tooltip, bool underTOR = true)
{
    auto link = std::make_shared<PXLinkVO>();
    link->linkID = linkID;
    link->linkType = type;
    link->pageID = std::to_string(pageID);
    link->toolTip = std::move(tooltip);
    link->isDisplayUnderTOR = underTOR;
    link->folioNumber = "f" + std::to_string(pageID);
    auto& page = *book.pages.at(std::to_string(pageID));
    page.links[std::to_string(linkID)] = link;
    page.linkOrder.push_back(link);
    book.links[std::to_string(linkID)] = link;
    return link;
}

inline std::shared_ptr<EPUBBookVO> reflowableEpub()
{
    auto book = std::make_shared<EPUBBookVO>();
    book->meta.layout = 0;
    return book;
}

} // namespace lectoro::contentstest
