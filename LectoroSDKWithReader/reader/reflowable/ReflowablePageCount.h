#pragma once

// The page-count strip under the text of a reflowable book and what follows each page the
// renderer reports: the strip's text, a VoiceOver announcement, the read percentage for
// the host; and the furthest page reached, stamped with the book id, for the host.
//
// The reader calls:
//   - addReflowablePageCountView() at the set-up of a reflowable book;
//   - hideReflowablePageCountView() on rotation and when an EPUB element pop-up opens or
//     closes (after setting setDisableReflowablePageCountView());
//   - didChangeReflowableBookPage() and didUpdateFurthestPage() as the renderer reports;
//   - setPageCountViewColor() after the reading mode changes.

#include "LectoroSDKWithReader/reader/reflowable/ReflowableChapterMetrics.h"
#include "platform/base/Value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class View;
}

namespace lectoro {

class LectoroBookVO;
class ReaderViewControllerDelegate;
class ReflowablePageCountView;
class ReflowablePageSlider;

class ReflowablePageCountHost {
public:
    virtual ~ReflowablePageCountHost() = default;
    // The reader's view, and the renderer's view in it (the strip goes right above it).
    virtual std::shared_ptr<ui::View> pageCountHostView() = 0;
    virtual std::shared_ptr<ui::View> pageCountRendererView() = 0;
    // The owner told of the read percentage and the furthest page; may be none.
    virtual std::shared_ptr<ReaderViewControllerDelegate> pageCountReaderDelegate() = 0;
};

class ReflowablePageCount {
public:
    // The host must outlive this object; the slider, when given, too.
    ReflowablePageCount(ReflowablePageCountHost&, std::shared_ptr<ReflowableChapterMetrics>,
        const ReflowablePageSlider* slider = nullptr);
    ~ReflowablePageCount();
    ReflowablePageCount(const ReflowablePageCount&) = delete;
    ReflowablePageCount& operator=(const ReflowablePageCount&) = delete;

    void setBook(std::shared_ptr<LectoroBookVO> book) { m_book = std::move(book); }
    void setBookID(int64_t bookID) { m_bookID = bookID; }
    void setUserID(int64_t userID) { m_userID = userID; }
    bool disableReflowablePageCountView() const { return m_disableReflowablePageCountView; }
    void setDisableReflowablePageCountView(bool disabled) { m_disableReflowablePageCountView = disabled; }

    const std::shared_ptr<ReflowablePageCountView>& reflowableSliderPageCountView() const
    {
        return m_pageCountView;
    }

    void addReflowablePageCountView();
    // Shows the reading time left in the strip and, when the slider has a pop-up, in it too.
    void setTimeLeftData(const std::string& text);
    // Relabels the strip's page line in the current language, keeping its numbers.
    void relabelPageLineForLanguage(bool landscape);
    void hideReflowablePageCountView();
    // Colours the strip by the book's reading mode (sepia, night, or the light default).
    void setPageCountViewColor();

    void didChangeReflowableBookPage(const std::string& pageText, int64_t chapter,
        int64_t totalPagesInChapter, int64_t totalPagesInBook, bool isCoverPage);
    void didUpdateFurthestPage(const std::string& furthestPageJSON);
    // The renderer's furthest-page data with "bookId" set, as pretty-printed JSON.
    std::string getUpdatedFurthestPageData(const base::Value& data) const;

    // What one page report shows and tells (no side effects).
    struct PageReport {
        std::string stripText;
        std::string absoluteText;
        // None while the book's page total is not known (0: the renderer is still laying
        // the book out): a percentage of a partial total would be wrong.
        std::optional<int64_t> readPercentage;
    };
    PageReport pageReport(const std::string& pageText, int64_t chapter, int64_t totalPagesInChapter,
        int64_t totalPagesInBook, bool isCoverPage) const;

private:
    bool isScrollEnabled() const;
    int64_t readerMode() const;

    ReflowablePageCountHost& m_host;
    std::shared_ptr<ReflowableChapterMetrics> m_metrics;
    const ReflowablePageSlider* m_slider = nullptr;
    std::shared_ptr<LectoroBookVO> m_book;
    int64_t m_bookID = 0;
    int64_t m_userID = 0;
    bool m_disableReflowablePageCountView = false;
    std::shared_ptr<ReflowablePageCountView> m_pageCountView;
};

} // namespace lectoro
