#include "Snapshot.h"

#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXPageVO.h"
#include "companion/renderer/BookRenderer.h"
#include "LectoroSDKWithReader/reader/help/ReaderHelp.h"
#include "platform/base/UserDefaults.h"
#include "platform/print/ViewPainter.h"
#include "platform/ui/Environment.h"
#include "platform/ui/ViewController.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace host {

namespace {

// What the renderer draws on a page, which the view tree does not hold.
struct PageContent {
    std::string imagePath;
    std::string text;
};

constexpr double pageMargin = 24;

std::map<const ui::View*, PageContent> pagesOnScreen(const lectoro::ReaderViewController& reader)
{
    std::map<const ui::View*, PageContent> pages;
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader.rendererView());
    auto book = reader.currentBook();
    if (!renderer || !book)
        return pages;
    auto pageBook = std::dynamic_pointer_cast<lectoro::PXBookVO>(book);
    auto epubBook = std::dynamic_pointer_cast<lectoro::EPUBBookVO>(book);
    for (const auto& active : renderer->getActivePages()) {
        PageContent content;
        int64_t number = active.pageID;
        if (pageBook) {
            if (auto page = pageBook->pageForPagenumber(active.pageID)) {
                if (!page->src.empty())
                    content.imagePath = renderer->bookPath() + "/" + page->src;
                content.text = page->text;
            }
        } else if (epubBook) {
            number = active.fileIndex;
            if (auto chapter = epubBook->chapterForHref(active.href))
                content.text = chapter->content()->text;
        }
        if (auto view = renderer->pageView(number))
            pages[view.get()] = std::move(content);
    }
    return pages;
}

void drawPage(const PageContent& page, const ui::View& view, print::Canvas& canvas)
{
    ui::Rect bounds = view.bounds();
    // A page without a picture (a chapter of text) is white paper.
    auto image = page.imagePath.empty() ? nullptr : ui::Image::fromFile(page.imagePath);
    if (!image || !canvas.drawImage(*image, bounds, ui::ContentMode::ScaleAspectFit))
        canvas.fillRect(bounds, ui::Color::white());
    // The page's text on a white sheet, so it reads over any picture.
    ui::Rect sheet { { bounds.origin.x + pageMargin, bounds.origin.y + pageMargin },
        { bounds.size.width - 2 * pageMargin, bounds.size.height - 2 * pageMargin } };
    if (page.text.empty() || sheet.isEmpty())
        return;
    print::TextStyle style { ui::Font::systemFont(16), ui::Color::fromWhite(0.12), ui::TextAlignment::Left, false };
    double height = ui::TextMetrics::boundingHeight(page.text, style.font, sheet.size.width - 24) + 24;
    height = std::min(sheet.size.height, height);
    // In the middle of the page, clear of the bars over its edges.
    ui::Rect card { { sheet.origin.x, sheet.origin.y + (sheet.size.height - height) / 2 }, { sheet.size.width, height } };
    canvas.fillRect(card, ui::Color::white().withAlpha(0.9), 8);
    card = { { card.origin.x + 12, card.origin.y + 12 }, { card.size.width - 24, card.size.height - 24 } };
    canvas.drawText(page.text, style, card);
}

} // namespace

void markHelpScreensSeen()
{
    auto& defaults = base::UserDefaults::standard();
    for (const char* key : { lectoro::ReaderHelp::pdfFlagKey, lectoro::ReaderHelp::reflowEpubFlagKey,
             lectoro::ReaderHelp::fixedEpubFlagKey, lectoro::ReaderHelp::teacherReviewFlagKey })
        defaults.setBool(key, false);
}

base::Result<void> writeSnapshot(const ui::ViewController& screen, lectoro::ReaderViewController& reader,
    const std::string& path)
{
    // The bars show as after a tap on the page, laid out before they are drawn.
    reader.moveTopAndBottomOnScreenWithIsAnimate(false);
    if (auto view = screen.viewIfLoaded())
        view->layoutIfNeeded();

    auto& environment = ui::Environment::current();
    std::vector<std::shared_ptr<ui::View>> layers { screen.viewIfLoaded() };
    if (!layers.front())
        return base::Error::make(print::imageErrorDomain, print::errorNothingToDraw, "The screen has no view.");
    // Controllers presented over the screen (or over the reader) show above it.
    for (auto presenter : { screen.presentedViewController(), reader.presentedViewController() }) {
        for (auto presented = presenter; presented; presented = presented->presentedViewController()) {
            auto view = presented->viewIfLoaded();
            if (view && std::find(layers.begin(), layers.end(), view) == layers.end())
                layers.push_back(view);
        }
    }
    std::map<const ui::View*, PageContent> pages = pagesOnScreen(reader);
    print::ImageOptions options;
    options.scale = environment.screenScale();
    options.background = ui::Color::black();
    options.contentHook = [&pages](const ui::View& view, print::Canvas& canvas) {
        auto found = pages.find(&view);
        if (found != pages.end())
            drawPage(found->second, view, canvas);
    };
    return print::writePNG(layers, environment.screenSize(), path, options);
}

} // namespace host
