// Printing from the reader: a print button on each printable page, pages printed with a
// watermark naming the user and the book, and My Data printed as a document of the kind
// the print-type pop-up asks for.

#include "LectoroSDKWithReader/mydata/ReaderMyData.h"

#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/mydata/LXMyDataPrintOptionsController.h"
#include "LectoroSDKWithReader/mydata/LXMyDataViewController.h"
#include "LectoroSDKWithReader/mydata/MyDataPrinting.h"
#include "LectoroSDKWithReader/mydata/MyDataStyle.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/readersdk/MVPDFCreator.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PrintPageViewController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "platform/base/Strings.h"
#include "platform/print/PrintInteractionController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Constraint.h"

#include <algorithm>

namespace lectoro {

// The print-type pop-up and the page-print controller hold their delegate weakly; this
// one lives as long as the feature.
class ReaderMyData::PrintDelegate final : public LXMyDataPrintOptionsControllerDelegate,
                                          public PrintPageViewControllerDelegate {
public:
    explicit PrintDelegate(ReaderMyData& owner)
        : m_owner(owner)
    {
    }
    void didTapOnPrintTypeWithPrintType(int64_t type) override
    {
        m_owner.didTapOnPrintTypeWithPrintType(type);
    }
    void printPageViewControllerDidDismiss() override { m_owner.printPageViewControllerDidDismiss(); }
    void PrintPageViewControllerDidFinishJob() override { m_owner.PrintPageViewControllerDidFinishJob(); }
    void deviceNotSupportsPagePrinting() override { m_owner.deviceNotSupportsPagePrinting(); }
    void didPagePrintedSuccessFully() override { m_owner.didPagePrintedSuccessFully(); }
    void didPagePrintingFailedWithError(const base::Error& error) override
    {
        m_owner.didPagePrintingFailedWithError(error);
    }

private:
    ReaderMyData& m_owner;
};

std::shared_ptr<ReaderMyData::PrintDelegate> ReaderMyData::printDelegate()
{
    if (!m_printDelegate)
        m_printDelegate = std::make_shared<PrintDelegate>(*this);
    return m_printDelegate;
}

void ReaderMyData::setPrintEnabledPageArray(const std::optional<std::string>& pages)
{
    if (auto split = splitPrintEnabledPages(pages))
        m_printEnabledPageArray = std::move(*split);
}

std::optional<std::string> ReaderMyData::thumbnailDisplayNumberForPageNumber(
    const std::string& pageNumber) const
{
    if (!m_context.currentBook)
        return std::nullopt;
    base::Value thumbnails = m_context.currentBook->getThumbnailData();
    const auto* chapters = thumbnails.asList();
    if (!chapters)
        return std::nullopt;
    // A fixed-layout EPUB lists each page as a chapter of its own, so every chapter is
    // walked: the first one alone would hold only the cover.
    for (const auto& chapter : *chapters) {
        const auto* pages = chapter["Pages"].asList();
        for (size_t index = 0; pages && index < pages->size(); ++index) {
            const auto& page = pages->at(index);
            if (!page["PageNo"].isNull()
                && ReaderViewController::getStringValue(page["PageNo"]) == pageNumber)
                return ReaderViewController::getStringValue(page["DisplayNumber"]);
        }
    }
    return std::nullopt;
}

void ReaderMyData::addPrintPageViewOnPageNumber(const std::string& pageNumber, const std::string&)
{
    // Every page of a page book carries a button; of an EPUB book only the pages of a
    // fixed-layout one whose printed folio the host lists.
    if (!m_context.renderer)
        return;
    bool pageBook = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook) != nullptr;
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook);
    if (!pageBook) {
        if (!epub || epub->meta.layout != 1)
            return;
        auto display = thumbnailDisplayNumberForPageNumber(pageNumber);
        if (!display
            || std::find(m_printEnabledPageArray.begin(), m_printEnabledPageArray.end(), *display)
                == m_printEnabledPageArray.end())
            return;
    }
    auto page = base::Value(pageNumber).longLongValue();
    auto button = ui::Button::create();
    button->setTitle(ICON_PRINT);
    button->setFont(mydata::iconFont(isIpad() ? 50 : 34));
    if (m_context.theme)
        button->setTitleColor(mydata::colour(m_context.theme->bookmark_icon_color()));
    button->setAccessibilityIdentifier("printPageButton" + pageNumber);
    // Sized to its glyph: a button left at no size could never be tapped.
    button->sizeToFit();
    auto* owner = this;
    std::weak_ptr<const void> alive
        = m_context.controller ? m_context.controller->lifetimeToken() : std::weak_ptr<const void>();
    button->addTarget(ui::ControlEvent::TouchUpInside, [owner, alive, page](ui::Control&) {
        if (alive.lock())
            owner->didTapOnPrintPageWithWatermark(page);
    });
    m_context.renderer->addPrintPageView(button, page);
}

std::shared_ptr<PlayerActionBarItem> ReaderMyData::getPrintButtonForPlayer(const PlayerActionBar& bar)
{
    for (const auto& item : bar.getTappableItems()) {
        if (item && item->tag() == PlayerItemPrint)
            return item;
    }
    return nullptr;
}

void ReaderMyData::configurePrintIconForChapter(const EPUBChapterVO* chapter)
{
    m_printChapterSet = true;
    m_printChapterHref = chapter ? std::optional<std::string>(chapter->href) : std::nullopt;
    reapplyPrintLimit();
}

void ReaderMyData::reapplyPrintLimit()
{
    // A reflowable book the host lets print whole keeps the item as the bar built it.
    if (!m_printChapterSet || m_context.isReflowPrintEnable || !m_context.playerTopActionBarView)
        return;
    auto item = getPrintButtonForPlayer(*m_context.playerTopActionBarView);
    if (!item)
        return;
    bool listed = m_printChapterHref
        && std::find(m_printEnabledPageArray.begin(), m_printEnabledPageArray.end(), *m_printChapterHref)
            != m_printEnabledPageArray.end();
    item->setEnabled(listed);
    item->setAlpha(listed ? 1.0 : 0.0);
}

void ReaderMyData::logPrintFailure(bool completed, const std::optional<base::Error>& error) const
{
    if (completed || !error)
        return;
    LectoroDebugLog::logWithType(1, "ReaderViewController",
        base::format(
            "Print failed - domain: %@ error code %ld", error->domain, static_cast<long>(error->code)));
}

void ReaderMyData::didTapOnPrintPageWithWatermark(std::optional<int64_t> pageNumber)
{
    auto* reader = m_context.controller;
    if (!reader || !m_context.renderer)
        return;
    std::vector<int64_t> pages;
    if (pageNumber) {
        pages.push_back(*pageNumber);
    } else {
        bool pageBook = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook) != nullptr;
        bool epub = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook) != nullptr;
        for (const auto& page : m_context.renderer->getActivePages()) {
            if (pageBook)
                pages.push_back(page.pageID);
            else if (epub)
                pages.push_back(page.fileIndex);
        }
    }
    if (pages.empty())
        return;
    reader->moveTopAndBottomOffScreenWithIsAnimate(false);
    std::string watermark
        = printWatermarkText(m_context.user ? m_context.user->userID : std::string(), storeBookID());
    auto alive = reader->lifetimeToken();
    auto* owner = this;
    m_context.renderer->printPagesWithWatermark(
        watermark, PrintWatermarkColor, pages, [owner, alive](std::shared_ptr<RendererPrintPage> printPage) {
            if (printPage && alive.lock())
                owner->showPrintPageViewController(std::move(printPage));
        });
}

void ReaderMyData::showPrintPageViewController(std::shared_ptr<RendererPrintPage> printPage)
{
    auto* reader = m_context.controller;
    if (!reader)
        return;
    removePrintPageViewController();
    m_printPageVC = companionFramework()->makePrintPageViewController(std::move(printPage));
    if (!m_printPageVC)
        return;
    m_printPageVC->setDelegate(printDelegate());
    // The controller's view lies over the whole reader; its job starts once it is there.
    auto root = reader->view();
    auto overlay = m_printPageVC->view();
    overlay->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(overlay);
    ui::Constraint::activate({ overlay->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        overlay->trailingAnchor().constraintEqualTo(root->trailingAnchor()),
        overlay->topAnchor().constraintEqualTo(root->topAnchor()),
        overlay->bottomAnchor().constraintEqualTo(root->bottomAnchor()) });
}

void ReaderMyData::printPageViewControllerDidDismiss() { removePrintPageViewController(); }

void ReaderMyData::PrintPageViewControllerDidFinishJob() { removePrintPageViewController(); }

void ReaderMyData::deviceNotSupportsPagePrinting()
{
    if (m_context.controller)
        m_context.controller->showAlertWithTitle("", mydata::text("DEVICE_NOT_SUPPORTS_PRINTING"));
    removePrintPageViewController();
}

void ReaderMyData::removePrintPageViewController()
{
    // The bars stay off screen: the reader shows them again on the next page tap.
    if (!m_printPageVC)
        return;
    auto controller = std::move(m_printPageVC);
    m_printPageVC.reset();
    if (auto view = controller->viewIfLoaded())
        view->removeFromSuperview();
}

void ReaderMyData::didTapOnPrint()
{
    if (!m_myDataViewController)
        return;
    auto popup = LXMyDataPrintOptionsController::create();
    popup->setDelegate(printDelegate());
    popup->lxthemeVO = m_context.theme;
    // The pop-up only reads the list: the store's shared one serves, no copy is made.
    if (m_context.dbManager)
        popup->hiddenPrintType = hiddenPrintTypeForRecords(*m_context.dbManager->sharedHighlightsOfBook(storeBookID(), numericUserID()));
    else
        popup->hiddenPrintType = hiddenPrintTypeForRecords(MyDataRecords {});
    popup->setModalPresentationStyle(ui::ModalPresentationStyle::OverCurrentContext);
    popup->setModalTransitionStyle(ui::ModalTransitionStyle::CrossDissolve);
    m_printOptionsController = popup;
    m_myDataViewController->presentViewController(popup, true);
}

void ReaderMyData::didTapOnPrintTypeWithPrintType(int64_t printType)
{
    m_printOptionsController.reset();
    MyDataRecords records;
    if (m_context.dbManager)
        records = m_context.dbManager->highlightBookID(storeBookID(), numericUserID());
    auto chosen = recordsForPrintType(records, printType);
    if (!chosen)
        return;
    if (chosen->empty()) {
        // Nothing of that kind to print: say so rather than printing an empty document.
        if (m_context.controller)
            m_context.controller->showAlertWithTitle("", mydata::text("NO_DATA"));
        return;
    }
    // The document is the framework's to write; printing it is the platform's dialog.
    auto creator = companionFramework()->makePDFCreator(*chosen);
    if (!creator) {
        logPrintFailure(false, base::Error { "MVPDFCreator", 0, {} });
        return;
    }
    std::string jobName = printJobNameForType(printType);
    auto alive = m_context.controller ? m_context.controller->lifetimeToken() : std::weak_ptr<const void>();
    auto* owner = this;
    creator->createPDFWithCompletion([owner, alive, jobName](std::optional<std::string> pdf) {
        if (!alive.lock())
            return;
        if (!pdf) {
            owner->logPrintFailure(false, base::Error { "MVPDFCreator", 0, {} });
            return;
        }
        owner->showPrintWith(*pdf, jobName);
    });
}

void ReaderMyData::showPrintWith(const std::string& pdfPath, const std::string& title)
{
    auto& printer = print::PrintInteractionController::shared();
    print::PrintInfo info;
    info.outputType = print::PrintOutputType::General;
    info.orientation = print::PrintOrientation::Portrait;
    info.jobName = title;
    printer.setPrintInfo(info);
    printer.setWatermarks({});
    printer.setPrintingItem(print::PrintItem::file(pdfPath));
    auto alive = m_context.controller ? m_context.controller->lifetimeToken() : std::weak_ptr<const void>();
    auto* owner = this;
    printer.present(true,
        [owner, alive](print::PrintInteractionController&, bool completed, std::optional<base::Error> error) {
            if (alive.lock())
                owner->logPrintFailure(completed, error);
        });
}

} // namespace lectoro
