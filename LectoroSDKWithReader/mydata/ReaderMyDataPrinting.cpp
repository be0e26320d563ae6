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
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "platform/base/Strings.h"
#include "platform/print/PrintInteractionController.h"
#include "platform/ui/Button.h"

#include <algorithm>

namespace lectoro {

// The pop-up holds its delegate weakly; this one lives as long as the feature.
class ReaderMyData::PrintDelegate final : public LXMyDataPrintOptionsControllerDelegate {
public:
    explicit PrintDelegate(ReaderMyData& owner)
        : m_owner(owner)
    {
    }
    void didTapOnPrintTypeWithPrintType(int64_t type) override
    {
        m_owner.didTapOnPrintTypeWithPrintType(type);
    }

private:
    ReaderMyData& m_owner;
};

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
    if (!chapters || chapters->empty())
        return std::nullopt;
    if (const auto* pages = chapters->front()["Pages"].asList()) {
        for (const auto& page : *pages) {
            if (!page["PageNo"].isNull()
                && ReaderViewController::getStringValue(page["PageNo"]) == pageNumber)
                return ReaderViewController::getStringValue(page["DisplayNumber"]);
        }
    }
    return std::nullopt;
}

void ReaderMyData::addPrintPageViewOnPageNumber(const std::string& pageNumber, const std::string&)
{
    // The print switch of the host decides whether pages carry a print button at all.
    if (!m_context.renderer || !m_context.settings || !m_context.settings->isPrintEnabled())
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
    auto* owner = this;
    std::weak_ptr<const void> alive
        = m_context.controller ? m_context.controller->lifetimeToken() : std::weak_ptr<const void>();
    button->addTarget(ui::ControlEvent::TouchUpInside, [owner, alive, page](ui::Control&) {
        if (alive.lock())
            owner->didTapOnPrintPageWithWatermark(page);
    });
    m_context.renderer->addPrintPageView(button, page);
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
    std::string jobName = m_context.currentBook ? m_context.currentBook->title : std::string();
    auto alive = reader->lifetimeToken();
    auto* owner = this;
    m_context.renderer->printPagesWithWatermark(watermark, PrintWatermarkColor, pages,
        [owner, alive, jobName](std::shared_ptr<RendererPrintPage> printPage) {
            if (!printPage || !alive.lock())
                return;
            auto& printer = print::PrintInteractionController::shared();
            if (!print::PrintInteractionController::isPrintingAvailable()) {
                owner->m_context.controller->showAlertWithTitle(
                    "", mydata::text("DEVICE_NOT_SUPPORTS_PRINTING"));
                return;
            }
            std::vector<print::PrintItem> items;
            for (size_t i = 0; i < printPage->pageNumbers.size(); ++i) {
                const std::string& image
                    = i < printPage->pageImagePaths.size() ? printPage->pageImagePaths[i] : "";
                // A page the renderer has no picture for still prints, as its number, so
                // the job keeps one sheet per page with the watermark on it.
                items.push_back(image.empty() ? print::PrintItem::fromText(base::format("%@ %ld",
                                    mydata::text("PAGE"), static_cast<long>(printPage->pageNumbers[i])))
                                              : print::PrintItem::file(image));
            }
            print::PrintWatermark mark;
            mark.text = printPage->watermark;
            mark.color
                = UIColorExpanded::colorWithHexString(printPage->textColor).value_or(ui::Color::gray());
            print::PrintInfo info;
            info.jobName = jobName;
            printer.setPrintInfo(info);
            printer.setWatermarks({ mark });
            printer.setPrintingItems(std::move(items));
            printer.present(true,
                [owner, alive](
                    print::PrintInteractionController&, bool completed, std::optional<base::Error> error) {
                    if (alive.lock())
                        owner->logPrintFailure(completed, error);
                });
        });
}

void ReaderMyData::didTapOnPrint()
{
    if (!m_myDataViewController)
        return;
    if (!m_printDelegate)
        m_printDelegate = std::make_shared<PrintDelegate>(*this);
    auto popup = LXMyDataPrintOptionsController::create();
    popup->setDelegate(m_printDelegate);
    popup->lxthemeVO = m_context.theme;
    MyDataRecords records;
    if (m_context.dbManager)
        records = m_context.dbManager->highlightBookID(storeBookID(), numericUserID());
    popup->hiddenPrintType = hiddenPrintTypeForRecords(records);
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
    bool pageBook = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook) != nullptr;
    std::vector<print::PrintItem> items;
    for (const auto& record : *chosen)
        items.push_back(print::PrintItem::fromText(printTextForRecord(*record, pageBook)));
    auto& printer = print::PrintInteractionController::shared();
    print::PrintInfo info;
    info.outputType = print::PrintOutputType::General;
    info.orientation = print::PrintOrientation::Portrait;
    info.jobName = printJobNameForType(printType);
    printer.setPrintInfo(info);
    printer.setWatermarks({});
    printer.setPrintingItems(std::move(items));
    auto alive = m_context.controller ? m_context.controller->lifetimeToken() : std::weak_ptr<const void>();
    auto* owner = this;
    printer.present(true,
        [owner, alive](print::PrintInteractionController&, bool completed, std::optional<base::Error> error) {
            if (alive.lock())
                owner->logPrintFailure(completed, error);
        });
}

} // namespace lectoro
