#pragma once

// My Data, sharing and printing as the reader opens them. This feature opens the My Data
// panel over the book with the user's records, answers the panel (page jumps, comments,
// answers to received notes) and hands the panel the records again after a sync.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace base {
struct Error;
}

namespace ui {
class ViewController;
}

namespace lectoro {

class EPUBChapterVO;
class LXMyDataPrintOptionsController;
class PlayerActionBar;
class PlayerActionBarItem;
class PrintPageViewController;
struct RendererPrintPage;
class LXMyDataViewController;
class SDKHighlightVO;
struct ReaderContext;

class ReaderMyData {
public:
    explicit ReaderMyData(ReaderContext&);
    ~ReaderMyData();

    bool isMyDataOpen() const;

    // Printing (ReaderMyDataPrinting.cpp). Pages print with a watermark naming the user and
    // the book; My Data prints the chosen kind of records as a document.
    void addPrintPageViewOnPageNumber(const std::string& pageNumber, const std::string& displayNumber);
    void didTapOnPrintPageWithWatermark(std::optional<int64_t> pageNumber);
    // The host's comma-separated printable pages; an absent string keeps the list.
    void setPrintEnabledPageArray(const std::optional<std::string>& pages);
    const std::vector<std::string>& printEnabledPageArray() const { return m_printEnabledPageArray; }
    void didTapOnPrint();
    void didTapOnPrintTypeWithPrintType(int64_t printType);
    const std::shared_ptr<LXMyDataPrintOptionsController>& printOptionsController() const
    {
        return m_printOptionsController;
    }
    // The framework's document of the records, written, goes to the platform's print dialog.
    void showPrintWith(const std::string& pdfPath, const std::string& title);

    // The page-print controller over the reader while a page job runs (printPageVC), and
    // its reports.
    const std::shared_ptr<PrintPageViewController>& printPageVC() const { return m_printPageVC; }
    void printPageViewControllerDidDismiss();
    void PrintPageViewControllerDidFinishJob();
    void deviceNotSupportsPagePrinting();
    void didPagePrintedSuccessFully() { }
    void didPagePrintingFailedWithError(const base::Error&) { }
    void removePrintPageViewController();

    // An EPUB chapter is about to show: the top bar's print item (tag 30) is there, enabled,
    // only when the host lists the chapter (unless the whole reflowable book may print).
    void configurePrintIconForChapter(const EPUBChapterVO*);
    // The bars were built again (a turn of the device): the new print item keeps the limit
    // of the chapter on screen.
    void reapplyPrintLimit();
    // The first tappable item of the bar with the print tag, or null.
    static std::shared_ptr<PlayerActionBarItem> getPrintButtonForPlayer(const PlayerActionBar&);

    // Toolbar action: opens the panel over the reader.
    void showMyData();
    void initiateMyDataViewController();
    const std::shared_ptr<LXMyDataViewController>& myDataViewController() const
    {
        return m_myDataViewController;
    }
    // The records changed (a sync, an answer): the open panel, and on a phone every panel
    // on its navigation stack, takes them again.
    void refreshMyData();

    // The panel's requests (the reader's side of them).
    void navigateTopage(const std::string& page);
    void didTapOnNotesComment(const std::shared_ptr<SDKHighlightVO>&);
    void didAnsweredHighlight(const std::shared_ptr<SDKHighlightVO>&, bool accepted);
    void didSelectActionToCloseMyData();
    void didTapOnShareSettings();
    void didTapOnNoteShareSettings(const std::shared_ptr<SDKHighlightVO>&);
    // Open the share-settings dialog of the user's classes, or of one note; set by the
    // reader's notes feature, which owns the dialog.
    void setShareSettingsOpeners(
        std::function<void()> classSettings, std::function<void(std::shared_ptr<SDKHighlightVO>)> noteSettings)
    {
        m_classSettingsOpener = std::move(classSettings);
        m_noteSettingsOpener = std::move(noteSettings);
    }
    // Opens a note's comment thread; set by the reader's notes feature.
    void setNoteOpener(std::function<void(std::shared_ptr<SDKHighlightVO>)> opener)
    {
        m_noteOpener = std::move(opener);
    }

private:
    class PanelDelegate;
    class PrintDelegate;
    int64_t numericUserID() const;
    std::string storeBookID() const;
    std::optional<std::string> thumbnailDisplayNumberForPageNumber(const std::string& pageNumber) const;
    void logPrintFailure(bool completed, const std::optional<base::Error>&) const;
    std::shared_ptr<PrintDelegate> printDelegate();
    void showPrintPageViewController(std::shared_ptr<RendererPrintPage>);

    ReaderContext& m_context;
    std::shared_ptr<PanelDelegate> m_panelDelegate;
    std::shared_ptr<LXMyDataViewController> m_myDataViewController;
    std::shared_ptr<PrintDelegate> m_printDelegate;
    std::shared_ptr<LXMyDataPrintOptionsController> m_printOptionsController;
    std::shared_ptr<PrintPageViewController> m_printPageVC;
    std::vector<std::string> m_printEnabledPageArray;
    // The chapter the print item was last set for (its href; none for no chapter), once one
    // has been: the item is rebuilt with the bars and must be set again.
    bool m_printChapterSet = false;
    std::optional<std::string> m_printChapterHref;
    std::function<void(std::shared_ptr<SDKHighlightVO>)> m_noteOpener;
    std::function<void()> m_classSettingsOpener;
    std::function<void(std::shared_ptr<SDKHighlightVO>)> m_noteSettingsOpener;
};

} // namespace lectoro
