#include "companion/renderer/PagePainter.h"

#include "companion/renderer/BookRenderer.h"
#include "companion/renderer/TextFaces.h"

#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXPageVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"
#include "platform/base/Strings.h"
#include "platform/ui/Environment.h"
#include "platform/ui/ViewController.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>

namespace companion {

namespace {

struct Paper {
    ui::Color paper;
    ui::Color ink;
};

// The reading modes' paper and ink: 1 sepia, 2 night, anything else day.
Paper paperOf(int64_t readerMode)
{
    switch (readerMode) {
    case 1:
        return { ui::Color::fromRGB255(0xFA, 0xF3, 0xE8), ui::Color::fromRGB255(0x5B, 0x46, 0x36) };
    case 2:
        return { ui::Color::fromRGB255(0x1A, 0x1A, 0x1A), ui::Color::fromRGB255(0xE6, 0xE6, 0xE6) };
    default:
        return { ui::Color::white(), ui::Color::fromRGB255(0x1F, 0x1F, 0x1F) };
    }
}

std::optional<ui::Color> colorOf(const std::string& hex)
{
    if (hex.empty())
        return std::nullopt;
    return lectoro::UIColorExpanded::colorWithHexString(hex);
}

// A mark laid over text keeps the text readable: an opaque colour is let through at a third.
ui::Color translucent(const ui::Color& color)
{
    return color.alpha() < 1 ? color : color.withAlpha(0.35);
}

} // namespace

struct PagePainter::Page {
    const ui::View* view = nullptr;
    ui::Size size;
    std::string imagePath;
    std::unique_ptr<PageTextLayout> layout;
    // Where the page's text starts in the text the records count in (a reflowable page's
    // chapter), in UTF-16 units.
    int64_t unitOffset = 0;
    PageOverlay overlay;
    std::optional<TextRange> selection;
    std::optional<size_t> selectedHit;
    Paper paper;

    TextRange local(int64_t start, int64_t end) const { return { start - unitOffset, end - unitOffset }; }
    void draw(print::Canvas&) const;
    void fillRange(print::Canvas&, TextRange, const ui::Color&) const;
};

PagePainter::PagePainter(BookRenderer& renderer)
    : m_renderer(&renderer)
{
    auto pageBook = std::dynamic_pointer_cast<lectoro::PXBookVO>(renderer.currentBook());
    std::optional<ReflowPage> reflow = renderer.currentReflowPage();
    const auto& selection = renderer.selection();
    for (const auto& active : renderer.getActivePages()) {
        int64_t number = pageBook ? active.pageID : active.fileIndex;
        auto view = renderer.pageView(number);
        const PageTextLayout* whole = renderer.textLayoutForPage(number);
        if (!view || !whole)
            continue;
        auto page = std::make_unique<Page>();
        page->view = view.get();
        page->size = renderer.pageSize(number);
        if (pageBook) {
            if (auto record = pageBook->pageForPagenumber(number); record && !record->src.empty())
                page->imagePath = renderer.bookPath() + "/" + record->src;
        }
        if (reflow && reflow->chapter == number) {
            // The page's own lines, set as the pagination cut them.
            const std::string& text = whole->text();
            size_t end = std::min(reflow->textEnd, text.size());
            size_t start = std::min(reflow->textStart, end);
            page->layout = std::make_unique<PageTextLayout>(
                text.substr(start, end - start), page->size, whole->style().forRange(start, end));
            page->unitOffset = static_cast<int64_t>(base::utf16Length(std::string_view(text).substr(0, start)));
        } else {
            page->layout = std::make_unique<PageTextLayout>(whole->text(), page->size, whole->style());
        }
        page->overlay = renderer.overlayForPage(number);
        if (selection && selection->pageNumber == number)
            page->selection = selection->range;
        page->selectedHit = renderer.selectedSearchHitIndex();
        page->paper = paperOf(renderer.settings().readerMode);
        m_pages.push_back(std::move(page));
    }
}

PagePainter::~PagePainter() = default;

bool PagePainter::paint(const ui::View& view, print::Canvas& canvas) const
{
    for (const auto& page : m_pages) {
        if (page->view != &view)
            continue;
        ui::Rect bounds = view.bounds();
        canvas.save();
        canvas.clipToRect(bounds);
        canvas.translate(bounds.origin.x, bounds.origin.y);
        // Records and the layout are in page points; the page view may show the page
        // scaled.
        if (page->size.width > 0 && page->size.height > 0)
            canvas.scale(bounds.size.width / page->size.width, bounds.size.height / page->size.height);
        page->draw(canvas);
        canvas.restore();
        return true;
    }
    return false;
}

print::ViewPainter::ContentHook PagePainter::hook() const
{
    return [this](const ui::View& view, print::Canvas& canvas) { paint(view, canvas); };
}

void PagePainter::Page::fillRange(print::Canvas& canvas, TextRange range, const ui::Color& color) const
{
    for (const auto& line : layout->lineRectsForRange(range))
        canvas.fillRect(line, color);
}

void PagePainter::Page::draw(print::Canvas& canvas) const
{
    const ui::Rect sheet { { 0, 0 }, size };
    auto image = imagePath.empty() ? nullptr : ui::Image::fromFile(imagePath);
    if (!image || !canvas.drawImage(*image, sheet, ui::ContentMode::ScaleToFill))
        canvas.fillRect(sheet, paper.paper);

    // Read aloud: the sentence under the word being read.
    if (auto color = colorOf(overlay.sentenceColor)) {
        for (const auto& frame : overlay.sentenceFrames)
            canvas.fillRect(frame, translucent(*color));
    }
    // Search hits, the selected one in its own colour.
    const std::string& text = layout->text();
    std::string folded = base::lowercase(text);
    for (const auto& mark : overlay.searchMarks) {
        std::string word = base::lowercase(mark.word);
        if (word.empty() || folded.size() != text.size())
            continue;
        ui::Color hitColor = translucent(colorOf(mark.color.value_or("")).value_or(ui::Color::fromRGB255(255, 213, 0)));
        auto selectedColor = colorOf(mark.selectedWordColor.value_or(""));
        size_t hit = 0;
        for (size_t at = folded.find(word); at != std::string::npos; at = folded.find(word, at + word.size()), ++hit) {
            auto start = static_cast<int64_t>(base::utf16Length(std::string_view(text).substr(0, at)));
            auto end = start + static_cast<int64_t>(base::utf16Length(mark.word));
            bool chosen = selectedColor && selectedHit && *selectedHit == hit;
            fillRange(canvas, { start, end }, chosen ? translucent(*selectedColor) : hitColor);
        }
    }
    // Highlights, in their colour under the words.
    for (const auto& highlight : overlay.highlights) {
        if (!highlight || highlight->isStickyNote || highlight->endIndex <= highlight->startIndex)
            continue;
        auto color = colorOf(highlight->backgroundColor.str());
        if (color)
            fillRange(canvas, local(highlight->startIndex, highlight->endIndex), *color);
        // A note's passage is underlined in the note's colour as well.
        if (highlight->isNote()) {
            for (auto line : layout->lineRectsForRange(local(highlight->startIndex, highlight->endIndex))) {
                line.origin.y += line.size.height - 2;
                line.size.height = 2;
                canvas.fillRect(line, color.value_or(ui::Color::systemBlue()));
            }
        }
    }
    if (selection)
        fillRange(canvas, *selection, ui::Color::systemBlue().withAlpha(0.3));
    // The word being read aloud: its frame, or the word its id names ("w<page>-<index>").
    if (overlay.wordFrame) {
        if (auto color = colorOf(overlay.wordFrameColor))
            canvas.fillRect(*overlay.wordFrame, translucent(*color));
    }
    if (auto color = colorOf(overlay.wordIdColor); color && !overlay.wordId.empty()) {
        auto dash = overlay.wordId.rfind('-');
        size_t index = 0;
        if (dash != std::string::npos) {
            const char* first = overlay.wordId.data() + dash + 1;
            const char* last = overlay.wordId.data() + overlay.wordId.size();
            if (std::from_chars(first, last, index).ec == std::errc())
                if (auto range = layout->rangeOfWords(index + 1, index + 1))
                    fillRange(canvas, *range, translucent(*color));
        }
    }

    // The text, each word in its face where the layout set it.
    for (const auto& run : layout->runs()) {
        print::TextStyle style { run.face->font(), paper.ink, ui::TextAlignment::Left, false };
        // The face's line box centred in the layout's line, as the canvas sets one line.
        double lineHeight = ui::TextMetrics::lineHeight(style.font);
        ui::Point origin { run.rect.origin.x, run.rect.origin.y + (run.rect.size.height - lineHeight) / 2 };
        canvas.drawLine(text.substr(run.byteStart, run.byteEnd - run.byteStart), style, origin);
    }

    // Pen ink.
    for (const auto& drawing : overlay.penDrawings) {
        if (!drawing || drawing->points.size() < 2)
            continue;
        ui::BezierPath path;
        path.moveTo(drawing->points.front());
        for (size_t index = 1; index < drawing->points.size(); ++index)
            path.lineTo(drawing->points[index]);
        ui::Color ink = colorOf(drawing->penColor).value_or(ui::Color::black());
        canvas.strokePath(path, ink.withAlpha(std::clamp(drawing->opacity, 0.0, 1.0)), std::max(1.0, drawing->thickness));
    }
    // Text boxes: their background, a hairline frame and their text.
    for (const auto& box : overlay.textAnnotations) {
        if (!box || box->rect.isEmpty())
            continue;
        std::string background;
        if (const auto* dictionary = box->metaData.asDictionary())
            if (const auto* value = dictionary->find("backgroundColor"))
                background = value->asString().value_or(std::string());
        if (auto color = colorOf(background))
            canvas.fillRect(box->rect, *color);
        canvas.strokeRectInside(box->rect, ui::Color::fromWhite(0.45), 1);
        print::TextStyle style { ui::Font::systemFont(box->fontSize > 0 ? box->fontSize : 16),
            colorOf(box->textColor).value_or(ui::Color::black()),
            static_cast<ui::TextAlignment>(std::clamp(box->textAlignment, 0, 2)), false };
        ui::Rect inside { { box->rect.origin.x + 4, box->rect.origin.y + 4 },
            { std::max(0.0, box->rect.size.width - 8), std::max(0.0, box->rect.size.height - 8) } };
        canvas.drawText(box->text, style, inside);
    }
}

std::vector<std::shared_ptr<ui::View>> screenLayers(const ui::ViewController& screen, const ui::ViewController* more)
{
    std::vector<std::shared_ptr<ui::View>> layers;
    if (auto view = screen.viewIfLoaded())
        layers.push_back(view);
    std::vector<std::shared_ptr<ui::ViewController>> presenters { screen.presentedViewController() };
    if (more)
        presenters.push_back(more->presentedViewController());
    for (auto presenter : presenters) {
        for (auto presented = presenter; presented; presented = presented->presentedViewController()) {
            auto view = presented->viewIfLoaded();
            if (view && std::find(layers.begin(), layers.end(), view) == layers.end())
                layers.push_back(view);
        }
    }
    return layers;
}

namespace {

void collectRenderers(const ui::View& view, std::vector<std::shared_ptr<BookRenderer>>& found)
{
    if (auto renderer = std::dynamic_pointer_cast<BookRenderer>(view.owningController())) {
        if (std::find(found.begin(), found.end(), renderer) == found.end())
            found.push_back(renderer);
    }
    for (const auto& subview : view.subviews())
        collectRenderers(*subview, found);
}

// The painters of the renderers shown among the views, and the hook that asks each in turn.
struct Painters {
    std::vector<std::unique_ptr<PagePainter>> pages;

    explicit Painters(const std::vector<const ui::View*>& views)
    {
        std::vector<std::shared_ptr<BookRenderer>> renderers;
        for (const auto* view : views)
            collectRenderers(*view, renderers);
        for (const auto& renderer : renderers)
            pages.push_back(std::make_unique<PagePainter>(*renderer));
    }
    void install(print::ImageOptions& options) const
    {
        if (pages.empty())
            return;
        options.contentHook = [this](const ui::View& view, print::Canvas& canvas) {
            for (const auto& painter : pages) {
                if (painter->paint(view, canvas))
                    return;
            }
        };
    }
};

} // namespace

namespace {

// One painter for every picture of a screen, the tests' and the host's alike: the pages of
// the renderers shown among the views (and of `renderer`, when given), over `background`.
base::Result<void> writePicture(const std::vector<const ui::View*>& views, BookRenderer* renderer,
    std::optional<ui::Color> background, const std::function<base::Result<void>(const print::ImageOptions&)>& write)
{
    Painters found(views);
    if (renderer && std::none_of(found.pages.begin(), found.pages.end(), [&](const auto& painter) { return painter->paints(*renderer); }))
        found.pages.push_back(std::make_unique<PagePainter>(*renderer));
    print::ImageOptions options;
    options.scale = ui::Environment::current().screenScale();
    options.background = background;
    found.install(options);
    return write(options);
}

} // namespace

base::Result<void> writeScreenPicture(const std::vector<std::shared_ptr<ui::View>>& layers, BookRenderer* renderer,
    const std::string& path)
{
    if (layers.empty() || !layers.front())
        return base::Error::make(print::imageErrorDomain, print::errorNothingToDraw, "The screen has no view.");
    std::vector<const ui::View*> views;
    for (const auto& layer : layers)
        views.push_back(layer.get());
    // What no view paints shows as a window's white, as in the journeys' pictures.
    return writePicture(views, renderer, ui::Color::white(), [&](const print::ImageOptions& options) {
        return print::writePNG(layers, ui::Environment::current().screenSize(), path, options);
    });
}

base::Result<void> writeWindowPicture(const ui::View& window, const std::string& path, std::optional<ui::Color> background)
{
    return writePicture({ &window }, nullptr, background,
        [&](const print::ImageOptions& options) { return print::writePNG(window, path, options); });
}

} // namespace companion
