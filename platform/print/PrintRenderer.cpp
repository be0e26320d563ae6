#include "platform/print/PrintRenderer.h"

#include "platform/ui/View.h"

#include "platform/print/CairoLibrary.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>

namespace print {

bool PrintItem::hasContent() const
{
    switch (kind) {
    case Kind::File:
        return !path.empty();
    case Kind::Image:
        return image != nullptr;
    case Kind::Text:
        return true;
    case Kind::View:
        return view != nullptr;
    }
    return false;
}

namespace {

bool startsWith(const std::string& path, std::string_view signature)
{
    std::ifstream file(path, std::ios::binary);
    std::string head(signature.size(), '\0');
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    return file && head == signature;
}

bool isPNG(const std::string& path)
{
    return startsWith(path, "\x89PNG\r\n\x1a\n");
}

bool isPDF(const std::string& path)
{
    return startsWith(path, "%PDF-");
}

base::Error failure(int code, std::string description)
{
    return base::Error::make(printErrorDomain, code, std::move(description));
}

// `size` scaled, without distortion, to fill as much of `area` as it can, and centred.
ui::Rect fitted(const ui::Size& size, const ui::Rect& area)
{
    if (size.width <= 0 || size.height <= 0)
        return { area.origin, { 0, 0 } };
    double factor = std::min(area.size.width / size.width, area.size.height / size.height);
    ui::Size placed { size.width * factor, size.height * factor };
    return { { area.origin.x + (area.size.width - placed.width) / 2,
                 area.origin.y + (area.size.height - placed.height) / 2 },
        placed };
}

void drawWatermark(Canvas& canvas, const PrintWatermark& watermark, const PrintPageSetup& setup)
{
    if (watermark.text.empty())
        return;
    const ui::Size& paper = setup.paperSize;
    TextStyle style { watermark.font, watermark.color, ui::TextAlignment::Center, false };
    double lineHeight = ui::TextMetrics::lineHeight(watermark.font);
    switch (watermark.placement) {
    case PrintWatermark::Placement::Bottom:
    case PrintWatermark::Placement::Top: {
        double top = watermark.placement == PrintWatermark::Placement::Top
            ? (setup.margin - lineHeight) / 2
            : paper.height - setup.margin + (setup.margin - lineHeight) / 2;
        canvas.drawLines({ watermark.text }, style, { { 0, top }, { paper.width, lineHeight } });
        break;
    }
    case PrintWatermark::Placement::Diagonal:
        canvas.drawRotatedText(watermark.text, style, { paper.width / 2, paper.height / 2 },
            -std::atan2(paper.height, paper.width));
        break;
    }
}

// Draws one item on the current page; fails for content that cannot be drawn.
base::Result<void> drawItem(Canvas& canvas, const PrintItem& item, const ui::Rect& area, const PrintPageSetup& setup)
{
    switch (item.kind) {
    case PrintItem::Kind::Text:
        canvas.drawText(item.text, { setup.textFont, ui::Color::black(), ui::TextAlignment::Natural, false }, area);
        return {};
    case PrintItem::Kind::View: {
        ui::Size size = item.view->bounds().size;
        ui::Rect placed = fitted(size, area);
        if (placed.isEmpty())
            return {};
        canvas.save();
        canvas.translate(placed.origin.x, placed.origin.y);
        canvas.scale(placed.size.width / size.width, placed.size.height / size.height);
        canvas.clipToRect({ {}, size });
        ViewPainter painter;
        painter.setContentHook(setup.contentHook);
        painter.paint(*item.view, canvas);
        canvas.restore();
        return {};
    }
    case PrintItem::Kind::Image:
    case PrintItem::Kind::File: {
        ui::ImagePtr image = item.image;
        if (item.kind == PrintItem::Kind::File) {
            if (!isPNG(item.path))
                return failure(errorUnknownImageFormat, "\"" + item.path + "\" is not a picture that can be printed.");
            image = ui::Image::fromFile(item.path);
        }
        if (!image || !canvas.drawImage(*image, fitted(image->size(), area), ui::ContentMode::ScaleToFill))
            return failure(errorUnknownImageFormat, "The image has no pixels to print.");
        return {};
    }
    }
    return {};
}

base::Result<int> copyPDF(const std::string& from, const std::string& to)
{
    std::error_code error;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
    if (error)
        return failure(errorJobFailed, "Could not write \"" + to + "\": " + error.message());
    // The pages of a PDF printed as it is are not read.
    return 0;
}

} // namespace

base::Result<int> writePrintPDF(const std::vector<PrintItem>& allItems, const PrintPageSetup& setup,
    const std::string& path)
{
    std::vector<const PrintItem*> items;
    for (const auto& item : allItems) {
        if (item.hasContent())
            items.push_back(&item);
    }
    if (items.empty())
        return failure(errorNoContent, "Nothing to print.");
    if (items.size() == 1 && items[0]->kind == PrintItem::Kind::File && isPDF(items[0]->path))
        return copyPDF(items[0]->path, path);

    const ui::Size& paper = setup.paperSize;
    if (!(paper.width > 2 * setup.margin && paper.height > 2 * setup.margin) || !std::isfinite(paper.width)
        || !std::isfinite(paper.height) || setup.margin < 0)
        return failure(errorJobFailed, "The paper has no printable area.");
    ui::Rect area { { setup.margin, setup.margin }, { paper.width - 2 * setup.margin, paper.height - 2 * setup.margin } };
    std::string unavailable;
    if (!detail::loadCairo(&unavailable))
        return failure(errorJobFailed, "PDFs cannot be written: " + unavailable);

    std::unique_ptr<cairo_surface_t, decltype(&::cairo_surface_destroy)> surface(
        cairo.cairo_pdf_surface_create(path.c_str(), paper.width, paper.height), detail::cairoLibrary().cairo_surface_destroy);
    if (cairo.cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return failure(errorJobFailed, "Could not write \"" + path + "\".");
    if (!setup.title.empty())
        cairo.cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE, setup.title.c_str());
    std::unique_ptr<cairo_t, decltype(&::cairo_destroy)> cr(cairo.cairo_create(surface.get()), detail::cairoLibrary().cairo_destroy);
    Canvas canvas(cr.get());

    base::Result<void> drawn;
    int pages = 0;
    for (const PrintItem* item : items) {
        drawn = drawItem(canvas, *item, area, setup);
        if (!drawn)
            break;
        for (const auto& watermark : setup.watermarks)
            drawWatermark(canvas, watermark, setup);
        cairo.cairo_show_page(cr.get());
        ++pages;
    }
    cr.reset();
    cairo.cairo_surface_finish(surface.get());
    cairo_status_t status = cairo.cairo_surface_status(surface.get());
    surface.reset();
    if (!drawn || status != CAIRO_STATUS_SUCCESS) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        if (!drawn)
            return drawn.error();
        return failure(errorJobFailed, "Could not write \"" + path + "\": " + cairo.cairo_status_to_string(status));
    }
    return pages;
}

} // namespace print
