#pragma once

// An EPUB 3 book unpacked in a folder: reflowable (meta.layout 0) or fixed layout
// (meta.layout 1, from rendition:layout pre-paginated). Chapters are the spine items in
// reading order; a chapter's fileIndex is its position, which the renderer uses as its
// page number.

#include "LectoroSDKWithReader/readersdk/records/LectoroBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/ReaderFontSettingsVO.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace lectoro {

struct EPUBMetaVO {
    // 0 reflowable, 1 fixed layout.
    int layout = 0;
    std::string title;
    std::string identifier;
    std::string language;
    std::string creator;
    std::string publisher;
};

class EPUBChapterVO {
public:
    int64_t fileIndex = 0;
    std::string idref;
    // Relative to the package document's folder, as the manifest gives it ("text/ch1.xhtml").
    std::string href;
    std::string absolutePath;
    std::string mediaType;
    // From the navigation document; empty when the chapter is not listed there.
    std::string title;
    bool linear = true;
    bool isAudioSyncSupported = false;
    base::Value audioSyncArray = base::Value::List {};
    // Plain text of the chapter, for search.
    std::string text;
    // Element ids in the chapter and where they start in `text` (a byte offset).
    std::vector<std::pair<std::string, size_t>> anchors;
    std::vector<std::string> chapterCFIArray;
};

struct EPUBTOCEntryVO {
    std::string tocLabel;
    // Relative to the package folder, fragment kept ("text/ch1.xhtml#s2").
    std::string src;
    std::vector<EPUBTOCEntryVO> subEntries;
};

struct EPUBPageListEntryVO {
    // The printed page label.
    std::string label;
    std::string href;
    int64_t fileIndex = 0;
};

struct EPUBGuideVO {
    std::string href;
    std::string type;
    std::string title;
};

struct EPUBBookCFIVO {
    std::string href;
    std::vector<std::string> chapterCFIArray;
};

class EPUBBookVO : public LectoroBookVO {
public:
    LectoroBookKind kind() const override { return LectoroBookKind::EPUB; }

    bool isFixedLayout() const { return meta.layout == 1; }
    bool isReflowable() const { return meta.layout == 0; }

    // Fixed layout: one chapter entry per spine item with itself as the only page.
    // Reflowable: one chapter entry per spine item with its page-list pages.
    base::Value getThumbnailData() const override;
    base::Value getBookContentForTOC() const override;
    base::Value getBookResourcesForTOC() const override { return resources; }

    // The chapter whose href equals the argument, its fragment ignored; null for none.
    std::shared_ptr<EPUBChapterVO> chapterForHref(const std::string& href) const;
    std::shared_ptr<EPUBChapterVO> chapterAtIndex(int64_t fileIndex) const;
    // The page label in force at `textOffset` of the chapter: the last page-list entry at
    // or before it, in this chapter or an earlier one; empty when there is none.
    std::string displayNumberForPosition(int64_t fileIndex, size_t textOffset) const;

    bool isEpubTypeAuthorReflow() const { return false; }

    EPUBMetaVO meta;
    std::vector<std::shared_ptr<EPUBChapterVO>> chapters;
    std::vector<EPUBTOCEntryVO> toc;
    std::vector<EPUBPageListEntryVO> tocPageList;
    std::vector<EPUBGuideVO> guides;
    std::vector<EPUBBookCFIVO> bookCFIs;
    std::vector<std::string> bookCFIArray;
    base::Value resources = base::Value::List {};
    // The folder holding the package document.
    std::string rootPath;
    std::string coverImageName;
    bool isBookContentLoaded = false;
    bool isAudioSyncSupported = false;
    bool isReflowPrintEnable = false;
    // Display numbers of pages that may be printed.
    base::Value printEnabledPageArray = base::Value::List {};
    bool isLectoroEpubThumbnailSupported = false;
    std::shared_ptr<ReaderFontSettingsVO> userReaderFontSettings = std::make_shared<ReaderFontSettingsVO>();
};

} // namespace lectoro
