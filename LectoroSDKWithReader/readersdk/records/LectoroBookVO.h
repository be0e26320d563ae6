#pragma once

// The open book as the renderer reports it loaded. The product tells a page book from an
// EPUB book by the record's class (PXBookVO or EPUBBookVO); kind() answers the same without
// a cast.

#include "platform/base/Value.h"

#include <memory>
#include <string>

namespace lectoro {

enum class LectoroBookKind { PageBook, EPUB };

class LectoroBookVO {
public:
    virtual ~LectoroBookVO() = default;

    virtual LectoroBookKind kind() const = 0;

    // Page-thumbnail data: chapter dictionaries in book order, each {"ChapterTitle",
    // "ChapterID", "Pages"}, each page {"PageNo", "DisplayNumber", "PageThumbnailPath",
    // "SRC"}.
    virtual base::Value getThumbnailData() const = 0;
    // Contents nodes: {"title", "src", "pageID", "subnodes"}, nested through "subnodes".
    virtual base::Value getBookContentForTOC() const = 0;
    // Resource rows: {"title", "pageID", "linkID", "folioNumber", "type", "url"}.
    virtual base::Value getBookResourcesForTOC() const = 0;

    void setIsThumbnailForReflowableEnabled(bool enabled) { isThumbnailForReflowableEnabled = enabled; }

    std::string bookID;
    std::string title;
    std::string ISBN;
    // The book folder, absolute.
    std::string path;
    std::string absolutePath;
    bool isThumbnailForReflowableEnabled = false;
};

} // namespace lectoro
