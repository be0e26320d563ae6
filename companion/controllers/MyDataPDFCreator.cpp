#include "companion/controllers/MyDataPDFCreator.h"

#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "companion/renderer/BookPrintPage.h"
#include "platform/base/FileManager.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/print/PrintRenderer.h"
#include "platform/ui/Label.h"

#include <cmath>
#include <limits>

namespace companion {

namespace {

constexpr const char* documentPrefix = "mydata-";
constexpr double cardPadding = 12;
constexpr double lineGap = 8;

std::string text(const char* key)
{
    return lectoro::LocalizationHelper::localizedStringWithKey(key);
}

// A label of the width given, as tall as its wrapped text, placed at `y`; answers the y
// below it.
double addLabel(ui::View& page, const std::string& content, const ui::Font& font, const ui::Color& color, double y,
    double x, double width, std::optional<ui::Color> background = std::nullopt)
{
    if (content.empty())
        return y;
    auto label = ui::Label::create();
    label->setNumberOfLines(0);
    label->setFont(font);
    label->setTextColor(color);
    label->setText(content);
    double height = label->sizeThatFits({ width, std::numeric_limits<double>::infinity() }).height;
    label->setFrame({ { x, y }, { width, height } });
    if (background) {
        auto band = ui::View::create({ { 0, y - lineGap / 2 }, { page.bounds().size.width, height + lineGap } });
        band->setBackgroundColor(*background);
        page.addSubview(band);
    }
    page.addSubview(label);
    return y + height + lineGap;
}

} // namespace

MyDataPDFCreator::MyDataPDFCreator(std::vector<std::shared_ptr<lectoro::SDKHighlightVO>> highlights, std::string folder)
    : m_highlights(std::move(highlights))
    , m_folder(std::move(folder))
{
}

std::string MyDataPDFCreator::markColorForRecord(const lectoro::SDKHighlightVO& record)
{
    if (record.isReceived)
        return "#8fd5e1";
    if (record.isTeacherReviewNote)
        return "#ffc000";
    return record.backgroundColor.empty() ? "#FFFF00" : record.backgroundColor;
}

std::shared_ptr<ui::View> MyDataPDFCreator::pageViewForRecord(const lectoro::SDKHighlightVO& record)
{
    print::PrintPageSetup sheet;
    ui::Size area { sheet.paperSize.width - 2 * sheet.margin, sheet.paperSize.height - 2 * sheet.margin };
    auto page = ui::View::create({ {}, area });
    page->setBackgroundColor(ui::Color::white());
    const double width = area.width - 2 * cardPadding;
    double y = cardPadding;
    if (!record.chapterName.empty())
        y = addLabel(*page, text("CHAPTER_KEY") + " : " + record.chapterName, ui::Font::boldSystemFont(14),
            ui::Color::black(), y, cardPadding, width);
    std::string place = record.displayNum.empty() ? std::string() : text("PAGE") + " " + record.displayNum;
    std::string date = record.getDisplayDate();
    std::string line = place.empty() ? date : date.empty() ? place : place + "   " + date;
    y = addLabel(*page, line, ui::Font::systemFont(11), ui::Color::fromWhite(0.4), y, cardPadding, width);
    y += lineGap;
    ui::Color mark = colorFromHex(markColorForRecord(record)).withAlpha(0.35);
    y = addLabel(*page, record.text, ui::Font::systemFont(13), ui::Color::black(), y, cardPadding, width, mark);
    if (!record.noteText.empty()) {
        y += lineGap;
        addLabel(*page, record.noteText, ui::Font::systemFont(13), ui::Color::black(), y, cardPadding, width,
            record.text.empty() ? std::optional<ui::Color>(mark) : std::nullopt);
    }
    return page;
}

void MyDataPDFCreator::createPDFWithCompletion(std::function<void(std::optional<std::string>)> completion)
{
    // The work is the creator's records and folder, copied: the creator may go at once.
    auto highlights = m_highlights;
    auto folder = m_folder;
    base::RunLoop::main().post([highlights = std::move(highlights), folder = std::move(folder),
                                   completion = std::move(completion)] {
        auto answer = [&](std::optional<std::string> path) {
            if (completion)
                completion(std::move(path));
        };
        auto& files = base::FileManager::defaultManager();
        if (highlights.empty() || folder.empty() || !files.createDirectory(folder, true)) {
            answer(std::nullopt);
            return;
        }
        for (const auto& name : files.contentsOfDirectory(folder).value_or(std::vector<std::string> {})) {
            if (name.starts_with(documentPrefix) && name.ends_with(".pdf"))
                files.removeItem(folder + "/" + name);
        }
        std::vector<print::PrintItem> pages;
        for (const auto& record : highlights) {
            if (record)
                pages.push_back(print::PrintItem::fromView(pageViewForRecord(*record)));
        }
        print::PrintPageSetup setup;
        setup.title = text("HELP_MY_DATA_BUTTON_TITLE");
        std::string path = folder + "/" + documentPrefix + base::lowercase(base::makeUuid()) + ".pdf";
        if (!print::writePrintPDF(pages, setup, path).ok()) {
            answer(std::nullopt);
            return;
        }
        answer(path);
    });
}

} // namespace companion
