#pragma once

// A drawing surface in points over a Cairo context: fills, strokes, images and text.
//
// Text is placed by the platform's deterministic text metric (TextMetrics.h): lines are
// wrapped and aligned by the metric, and each line starts where the metric puts it. From
// there the line is set at its face's own width: the face registered from a font file
// under the font's name (the bundle's text faces and icon font), or else the closest face
// the system has. The text stays text in a PDF (it can be searched and extracted).

#include "platform/ui/BezierPath.h"
#include "platform/ui/Color.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Image.h"
#include "platform/ui/TextMetrics.h"
#include "platform/ui/View.h"

#include <optional>
#include <string>
#include <vector>

struct _cairo;

namespace print {

struct TextStyle {
    ui::Font font = ui::Font::systemFont(17);
    ui::Color color = ui::Color::black();
    ui::TextAlignment alignment = ui::TextAlignment::Left;
    bool rightToLeft = false;
};

class Canvas {
public:
    // Draws through the context (not owned); the context's state is saved and restored
    // around every operation.
    explicit Canvas(_cairo* context);

    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    _cairo* context() const { return m_cr; }

    // State: transforms and clips stay until the matching restore.
    void save();
    void restore();
    void translate(double x, double y);
    void scale(double sx, double sy);
    void concat(const ui::AffineTransform&);
    void clipToRect(const ui::Rect&, double cornerRadius = 0);
    // What is drawn between the two is composited at once with the opacity, so
    // overlapping parts of a translucent view do not show through each other.
    void beginGroup();
    void endGroup(double opacity);

    void fillRect(const ui::Rect&, const ui::Color&, double cornerRadius = 0);
    // The border is drawn inside the rectangle, as a layer's border is.
    void strokeRectInside(const ui::Rect&, const ui::Color&, double lineWidth, double cornerRadius = 0);
    void fillPath(const ui::BezierPath&, const ui::Color&);
    void strokePath(const ui::BezierPath&, const ui::Color&, double lineWidth, const std::vector<double>& dashes = {});
    // A vertical gradient between the colours, evenly spread unless locations are given.
    void fillGradient(const ui::Rect&, const std::vector<ui::Color>&, const std::vector<double>& locations,
        ui::Point startPoint, ui::Point endPoint);

    // Draws the image into the rectangle as the content mode lays it out. A PNG file is
    // drawn from its pixels (a template image as a mask in its tint); a drawn image from
    // its fills. Answers false when there was nothing to draw from (an image without
    // backing, an unreadable file).
    bool drawImage(const ui::Image&, const ui::Rect&, ui::ContentMode = ui::ContentMode::ScaleToFill,
        std::optional<ui::Color> tint = std::nullopt);

    // One line whose top-left is `origin`; the line is one metric line high. Answers the
    // width the face gave it.
    double drawLine(const std::string& utf8, const TextStyle&, ui::Point origin);
    // Lines stacked from the top of the rectangle, each aligned in its width.
    void drawLines(const std::vector<std::string>& lines, const TextStyle&, const ui::Rect&);
    // Attributed lines laid out by the metric (TextMetrics::layoutLines), stacked from the
    // top of the rectangle and aligned in its width: each run in its own font, colour and
    // baseline offset, the style's where the run sets none.
    void drawAttributedLines(const base::AttributedString&, const std::vector<ui::TextMetrics::TextLine>&, const TextStyle&,
        const ui::Rect&);
    // The text wrapped to the rectangle's width by the metric, clipped to its height.
    void drawText(const std::string& utf8, const TextStyle&, const ui::Rect&);
    // Text centred on `center`, turned by `radians` (a watermark across a page).
    void drawRotatedText(const std::string& utf8, const TextStyle&, ui::Point center, double radians);

private:
    _cairo* m_cr;
};

// The font file text in the font is drawn from: the file its face name was registered from
// (ui::FontRegistry), when the font asks for that face's own weight and slant; nullopt when
// the system's closest face stands in.
std::optional<std::string> fontFileFor(const ui::Font&);

// The text cut at its end with "…" so it fits the width by the metric.
std::string truncateToWidth(const std::string& utf8, const ui::Font&, double width);

} // namespace print
