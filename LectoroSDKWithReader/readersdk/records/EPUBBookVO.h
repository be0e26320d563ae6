#pragma once

// An EPUB 3 book unpacked in a folder: reflowable (meta.layout 0) or fixed layout
// (meta.layout 1, from rendition:layout pre-paginated). Chapters are the spine items in
// reading order; a chapter's fileIndex is its position, which the renderer uses as its
// page number.

#include "LectoroSDKWithReader/readersdk/records/LectoroBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/ReaderFontSettingsVO.h"

#include "platform/base/Error.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
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

// A heading in a chapter's text: its byte range and level (1 for h1 to 6 for h6).
struct EPUBHeading {
    size_t start = 0;
    size_t end = 0;
    int level = 1;
    bool operator==(const EPUBHeading&) const = default;
};

// What a chapter file holds for reading: its plain text (for search), where its element ids
// start in that text (a byte offset), and the number of blocks directly under <body> (one
// reading position each).
struct EPUBChapterContent {
    std::string text;
    std::vector<std::pair<std::string, size_t>> anchors;
    size_t topLevelBlocks = 0;
    // Where each of those blocks starts in the text (a byte offset); may be empty for
    // content made by hand.
    std::vector<size_t> blockStarts;
    // The headings, in order, which the page sets larger and bold.
    std::vector<EPUBHeading> headings;
};

class EPUBChapterVO {
public:
    using ContentLoader = std::function<base::Result<std::shared_ptr<const EPUBChapterContent>>()>;

    EPUBChapterVO() = default;
    EPUBChapterVO(const EPUBChapterVO&) = delete;
    EPUBChapterVO& operator=(const EPUBChapterVO&) = delete;

    // The chapter's content. A book opens without parsing its chapters: the loader installs a
    // parser, which runs on the first call and whose answer is kept (chapters naming the same
    // file share one). Safe to call from any thread. A chapter that cannot be parsed answers
    // empty content, with the reason in contentError().
    std::shared_ptr<const EPUBChapterContent> content() const;
    bool isContentLoaded() const;
    std::optional<base::Error> contentError() const;
    void setContentLoader(ContentLoader);
    // Content known up front (records built by hand).
    void setContent(EPUBChapterContent);

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

private:
    mutable std::mutex m_contentMutex;
    mutable ContentLoader m_loader;
    mutable std::shared_ptr<const EPUBChapterContent> m_content;
    mutable std::optional<base::Error> m_contentError;
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

    // The chapter whose href equals the argument, its fragment ignored; null for none. The
    // first call after `chapters` changed indexes them (not thread-safe with a change).
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
    // Every chapter's positions in reading order, and all of them in one list. Filled once
    // the whole book is measured (isBookContentLoaded), which needs every chapter parsed.
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

private:
    mutable std::mutex m_hrefIndexMutex;
    mutable std::unordered_map<std::string, size_t> m_hrefIndex;
    mutable size_t m_hrefIndexedCount = 0;
    mutable const EPUBChapterVO* m_hrefIndexedFirst = nullptr;
};

} // namespace lectoro
