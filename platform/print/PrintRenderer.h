#pragma once

// Writes the pages of a print job as a PDF with Cairo: one page per item, each item
// scaled to fit the printable area (the paper less its margins) and centred, the
// watermarks drawn on every page.

#include "platform/base/Error.h"
#include "platform/print/PrintItem.h"
#include "platform/print/ViewPainter.h"
#include "platform/ui/Geometry.h"

#include <string>
#include <vector>

namespace print {

struct PrintPageSetup {
    // A4 in points.
    ui::Size paperSize { 595.28, 841.89 };
    double margin = 36;
    // The document's title (the job name).
    std::string title;
    std::vector<PrintWatermark> watermarks;
    ui::Font textFont = ui::Font::systemFont(12);
    // Drawn into each view item's page as ViewPainter draws views.
    ViewPainter::ContentHook contentHook;
};

// Error domain and codes of printing, as the platform reports them.
inline constexpr const char* printErrorDomain = "UIPrintErrorDomain";
inline constexpr int errorNotAvailable = 1;
inline constexpr int errorNoContent = 2;
inline constexpr int errorUnknownImageFormat = 3;
inline constexpr int errorJobFailed = 4;

// Answers the number of pages written. Fails, leaving no file behind, with
// errorNoContent when there is no item with content, errorUnknownImageFormat for an image
// or file that cannot be drawn (an image without pixels, a file that is neither PNG nor a
// PDF printed alone) and errorJobFailed when the file cannot be written.
base::Result<int> writePrintPDF(const std::vector<PrintItem>&, const PrintPageSetup&, const std::string& path);

} // namespace print
