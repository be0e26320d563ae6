#pragma once

// Page numbers and navigation of the open book: the translations between a page book's
// page numbers (what the renderer navigates to) and display numbers (the printed folios),
// the page lists in book order, going to a page, and the history of visited pages that
// the thumbnail panels step through.

#include "platform/base/RunLoop.h"
#include "platform/base/Value.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class EPUBChapterVO;
class PXPageVO;
struct ReaderContext;

class ReaderNavigation {
public:
    explicit ReaderNavigation(ReaderContext&);

    // --- Page numbers ---
    // The value itself when it is text, else its "%@" text.
    static std::string getDisplayNumber(const base::Value&);
    // Every page's display number in book order (page books; empty otherwise), and, as a
    // side effect, the display-number-to-chapter-title map of the slider preview.
    std::vector<std::string> getFolioPagesForIphoneSlider();
    const std::optional<std::map<std::string, std::string>>& pageDataForSliderDict() const
    {
        return m_pageDataForSlider;
    }
    // What the renderer takes for each page, in book order: a page book's page numbers, a
    // fixed-layout EPUB's chapter hrefs, a reflowable EPUB's page-list hrefs.
    std::vector<std::string> getTotalPagesArray() const;
    // The folio of the last page in book order (not a count); "" without pages.
    std::string getTotalNoOfFolioPages() const;
    static std::shared_ptr<PXPageVO> getPageByPageID(
        const std::vector<std::shared_ptr<PXPageVO>>&, int32_t pageNum);
    static std::shared_ptr<PXPageVO> getPageByDisplayNum(
        const std::vector<std::shared_ptr<PXPageVO>>&, const std::string&);
    // Page books: the page's display number, absent when no page has that number. Other
    // books: the id itself.
    std::optional<std::string> getDisplayNumberForPageID(const std::string& pageID) const;
    // The page id of the page with that display number; with none, the first page's in
    // book order (0 for a book without pages or one that is not a page book).
    int64_t getPageIDForDisplayNumber(const std::string& displayNumber) const;
    // "Page x of y" for the pages on screen (page books only; absent otherwise).
    std::optional<std::string> activePagesInfoText() const;
    void updateActivePagesInfoLabel();
    const std::string& activePagesInfoLabel() const { return m_activePagesInfo; }

    // --- Going to a page ---
    std::string getPageNumberForDisplayNumber(const std::string& displayNumber) const;
    bool isNavigatedPageValid(const std::string& page) const;
    void navigateTopage(const std::string& displayNumber);
    void navigateToPageWithPageId(const std::string& pageID);
    void navigateSliderToPage(const std::string& href);
    void navigateToPageNumber(const std::string& page);
    // A chapter of an EPUB book by file index; null when out of range or not an EPUB.
    std::shared_ptr<EPUBChapterVO> getEpubChapterForIndex(int64_t fileIndex) const;
    std::vector<std::string> getActivePageIDs() const;

    // --- History ---
    void initializePageHistory();
    void setpagesIntoHistoryArray(const std::string& page);
    void insertPageIntoArray(const std::string& page);
    void addSinglePage(const std::string& page);
    void addTwoPages();
    void addPageIntoPageHistoryArray(const std::string& page);
    void enableHistoryButtons();
    int32_t getPrevPageNavigateIndex();
    int32_t getNextPageNavigateIndex();
    std::string getConvertedPageNumberForHistory(const std::string& page) const;
    void resetHistoryPageIndex();
    void resetPageHistoryIndexOnTransition();
    void didClickPreviousHistoryButtonWithCurrentPageNumber();
    void didClickNextHistoryButtonWithCurrentPageNumber();

    const std::vector<std::string>& history() const;
    int32_t currentHistoryPageIndex() const;

private:
    void markJump();
    void navigateRendererTo(const std::string& target);
    std::weak_ptr<const void> lifetime() const;

    ReaderContext& m_context;
    std::optional<std::map<std::string, std::string>> m_pageDataForSlider;
    std::string m_activePagesInfo;
};

} // namespace lectoro
