#include "platform/print/Canvas.h"

#include "platform/base/Strings.h"

#include "platform/print/CairoLibrary.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>

namespace print {

namespace {

constexpr double pi = 3.14159265358979323846;

void setColor(cairo_t* cr, const ui::Color& color)
{
    cairo.cairo_set_source_rgba(cr, color.redComponent(), color.greenComponent(), color.blueComponent(), color.alpha());
}

void addRectPath(cairo_t* cr, const ui::Rect& rect, double radius)
{
    double x = rect.origin.x, y = rect.origin.y, w = rect.size.width, h = rect.size.height;
    radius = std::clamp(radius, 0.0, std::min(w, h) / 2);
    if (radius <= 0) {
        cairo.cairo_rectangle(cr, x, y, w, h);
        return;
    }
    cairo.cairo_new_sub_path(cr);
    cairo.cairo_arc(cr, x + w - radius, y + radius, radius, -pi / 2, 0);
    cairo.cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, pi / 2);
    cairo.cairo_arc(cr, x + radius, y + h - radius, radius, pi / 2, pi);
    cairo.cairo_arc(cr, x + radius, y + radius, radius, pi, 3 * pi / 2);
    cairo.cairo_close_path(cr);
}

void addBezierPath(cairo_t* cr, const ui::BezierPath& path)
{
    using Kind = ui::PathSegment::Kind;
    cairo.cairo_new_path(cr);
    for (const auto& segment : path.segments()) {
        switch (segment.kind) {
        case Kind::MoveTo:
            cairo.cairo_move_to(cr, segment.point.x, segment.point.y);
            break;
        case Kind::LineTo:
            cairo.cairo_line_to(cr, segment.point.x, segment.point.y);
            break;
        case Kind::Arc:
            // The view tree's y axis points down, so a clockwise arc runs with growing angles.
            if (segment.clockwise)
                cairo.cairo_arc(cr, segment.center.x, segment.center.y, segment.radius, segment.startAngle, segment.endAngle);
            else
                cairo.cairo_arc_negative(cr, segment.center.x, segment.center.y, segment.radius, segment.startAngle,
                    segment.endAngle);
            break;
        case Kind::CurveTo:
            cairo.cairo_curve_to(cr, segment.control1.x, segment.control1.y, segment.control2.x, segment.control2.y,
                segment.point.x, segment.point.y);
            break;
        case Kind::QuadCurveTo: {
            double x0 = 0, y0 = 0;
            if (cairo.cairo_has_current_point(cr))
                cairo.cairo_get_current_point(cr, &x0, &y0);
            const ui::Point& q = segment.control1;
            const ui::Point& p = segment.point;
            cairo.cairo_curve_to(cr, x0 + 2.0 / 3.0 * (q.x - x0), y0 + 2.0 / 3.0 * (q.y - y0), p.x + 2.0 / 3.0 * (q.x - p.x),
                p.y + 2.0 / 3.0 * (q.y - p.y), p.x, p.y);
            break;
        }
        case Kind::Close:
            cairo.cairo_close_path(cr);
            break;
        }
    }
}

// The real face closest to a platform font: the bundled families by their family name,
// the system face as the default sans-serif face.
std::string familyOf(const ui::Font& font)
{
    const std::string& name = font.name();
    if (name == ui::Font::systemFontName || name.empty())
        return "sans-serif";
    std::string family = name.substr(0, name.find('-'));
    // "OpenSans" is how face names spell the "Open Sans" family.
    std::string spaced;
    for (size_t i = 0; i < family.size(); ++i) {
        char c = family[i];
        if (i > 0 && std::isupper(static_cast<unsigned char>(c)) && std::islower(static_cast<unsigned char>(family[i - 1])))
            spaced += ' ';
        spaced += c;
    }
    return spaced;
}

// The face read from a registered font file, made once per file and kept for the process (as
// registrations are); null when fontconfig or the file cannot give one.
cairo_font_face_t* faceOfFile(const std::string& path)
{
    static std::mutex mutex;
    static std::map<std::string, cairo_font_face_t*> faces;
    std::lock_guard lock(mutex);
    if (auto found = faces.find(path); found != faces.end())
        return found->second;
    cairo_font_face_t* face = nullptr;
    if (const auto* fc = detail::loadFontconfig()) {
        FcPattern* pattern = fc->FcPatternCreate();
        if (pattern) {
            fc->FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(path.c_str()));
            fc->FcPatternAddInteger(pattern, FC_INDEX, 0);
            face = cairo.cairo_ft_font_face_create_for_pattern(pattern);
            fc->FcPatternDestroy(pattern);
            if (face && cairo.cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
                cairo.cairo_font_face_destroy(face);
                face = nullptr;
            }
        }
    }
    faces.emplace(path, face);
    return face;
}

void selectFont(cairo_t* cr, const ui::Font& font)
{
    cairo_font_face_t* face = nullptr;
    if (auto file = fontFileFor(font))
        face = faceOfFile(*file);
    if (face)
        cairo.cairo_set_font_face(cr, face);
    else
        cairo.cairo_select_font_face(cr, familyOf(font).c_str(),
            font.isItalic() ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
            font.isBold() ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo.cairo_set_font_size(cr, font.pointSize());
}

// The image's pixels as a surface, or null.
std::unique_ptr<cairo_surface_t, decltype(&::cairo_surface_destroy)> loadPng(const std::string& path)
{
    cairo_surface_t* surface = cairo.cairo_image_surface_create_from_png(path.c_str());
    if (cairo.cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo.cairo_surface_destroy(surface);
        surface = nullptr;
    }
    return { surface, detail::cairoLibrary().cairo_surface_destroy };
}

// Where content of `size` goes in `rect` under the content mode.
ui::Rect placeContent(const ui::Size& size, const ui::Rect& rect, ui::ContentMode mode)
{
    using Mode = ui::ContentMode;
    double w = size.width, h = size.height;
    const double rw = rect.size.width, rh = rect.size.height;
    if (mode == Mode::ScaleToFill || mode == Mode::Redraw || w <= 0 || h <= 0)
        return rect;
    if (mode == Mode::ScaleAspectFit || mode == Mode::ScaleAspectFill) {
        double factor = mode == Mode::ScaleAspectFit ? std::min(rw / w, rh / h) : std::max(rw / w, rh / h);
        w *= factor;
        h *= factor;
    }
    double x = rect.origin.x + (rw - w) / 2;
    double y = rect.origin.y + (rh - h) / 2;
    if (mode == Mode::Left || mode == Mode::TopLeft || mode == Mode::BottomLeft)
        x = rect.origin.x;
    if (mode == Mode::Right || mode == Mode::TopRight || mode == Mode::BottomRight)
        x = rect.origin.x + rw - w;
    if (mode == Mode::Top || mode == Mode::TopLeft || mode == Mode::TopRight)
        y = rect.origin.y;
    if (mode == Mode::Bottom || mode == Mode::BottomLeft || mode == Mode::BottomRight)
        y = rect.origin.y + rh - h;
    return { { x, y }, { w, h } };
}

} // namespace

Canvas::Canvas(_cairo* context)
    : m_cr(context)
{
}

void Canvas::save()
{
    cairo.cairo_save(m_cr);
}

void Canvas::restore()
{
    cairo.cairo_restore(m_cr);
}

void Canvas::translate(double x, double y)
{
    cairo.cairo_translate(m_cr, x, y);
}

void Canvas::scale(double sx, double sy)
{
    if (sx != 0 && sy != 0 && std::isfinite(sx) && std::isfinite(sy))
        cairo.cairo_scale(m_cr, sx, sy);
}

void Canvas::concat(const ui::AffineTransform& t)
{
    cairo_matrix_t matrix;
    cairo.cairo_matrix_init(&matrix, t.a, t.b, t.c, t.d, t.tx, t.ty);
    // A transform that cannot be inverted (scaled to nothing) would put Cairo in an
    // error state; such a view shows nothing, which a zero-size clip gives as well.
    if (cairo.cairo_matrix_invert(&matrix) != CAIRO_STATUS_SUCCESS) {
        cairo.cairo_rectangle(m_cr, 0, 0, 0, 0);
        cairo.cairo_clip(m_cr);
        return;
    }
    cairo.cairo_matrix_init(&matrix, t.a, t.b, t.c, t.d, t.tx, t.ty);
    cairo.cairo_transform(m_cr, &matrix);
}

void Canvas::clipToRect(const ui::Rect& rect, double cornerRadius)
{
    cairo.cairo_new_path(m_cr);
    addRectPath(m_cr, rect, cornerRadius);
    cairo.cairo_clip(m_cr);
}

void Canvas::beginGroup()
{
    cairo.cairo_push_group(m_cr);
}

void Canvas::endGroup(double opacity)
{
    cairo.cairo_pop_group_to_source(m_cr);
    cairo.cairo_paint_with_alpha(m_cr, std::clamp(opacity, 0.0, 1.0));
}

void Canvas::fillRect(const ui::Rect& rect, const ui::Color& color, double cornerRadius)
{
    if (color.isClear() || rect.isEmpty())
        return;
    cairo.cairo_save(m_cr);
    cairo.cairo_new_path(m_cr);
    addRectPath(m_cr, rect, cornerRadius);
    setColor(m_cr, color);
    cairo.cairo_fill(m_cr);
    cairo.cairo_restore(m_cr);
}

void Canvas::strokeRectInside(const ui::Rect& rect, const ui::Color& color, double lineWidth, double cornerRadius)
{
    if (color.isClear() || lineWidth <= 0 || rect.isEmpty())
        return;
    double half = lineWidth / 2;
    ui::Rect inset { { rect.origin.x + half, rect.origin.y + half },
        { std::max(0.0, rect.size.width - lineWidth), std::max(0.0, rect.size.height - lineWidth) } };
    cairo.cairo_save(m_cr);
    cairo.cairo_new_path(m_cr);
    addRectPath(m_cr, inset, std::max(0.0, cornerRadius - half));
    setColor(m_cr, color);
    cairo.cairo_set_line_width(m_cr, lineWidth);
    cairo.cairo_stroke(m_cr);
    cairo.cairo_restore(m_cr);
}

void Canvas::fillPath(const ui::BezierPath& path, const ui::Color& color)
{
    if (color.isClear() || path.isEmpty())
        return;
    cairo.cairo_save(m_cr);
    addBezierPath(m_cr, path);
    setColor(m_cr, color);
    cairo.cairo_fill(m_cr);
    cairo.cairo_restore(m_cr);
}

void Canvas::strokePath(const ui::BezierPath& path, const ui::Color& color, double lineWidth,
    const std::vector<double>& dashes)
{
    if (color.isClear() || path.isEmpty() || lineWidth <= 0)
        return;
    cairo.cairo_save(m_cr);
    addBezierPath(m_cr, path);
    setColor(m_cr, color);
    cairo.cairo_set_line_width(m_cr, lineWidth);
    bool dashable = !dashes.empty() && std::all_of(dashes.begin(), dashes.end(), [](double d) { return d >= 0; })
        && std::any_of(dashes.begin(), dashes.end(), [](double d) { return d > 0; });
    if (dashable)
        cairo.cairo_set_dash(m_cr, dashes.data(), static_cast<int>(dashes.size()), 0);
    cairo.cairo_stroke(m_cr);
    cairo.cairo_restore(m_cr);
}

void Canvas::fillGradient(const ui::Rect& rect, const std::vector<ui::Color>& colors,
    const std::vector<double>& locations, ui::Point startPoint, ui::Point endPoint)
{
    if (colors.empty() || rect.isEmpty())
        return;
    auto at = [&](ui::Point unit) {
        return ui::Point { rect.origin.x + unit.x * rect.size.width, rect.origin.y + unit.y * rect.size.height };
    };
    ui::Point start = at(startPoint), end = at(endPoint);
    cairo_pattern_t* pattern = cairo.cairo_pattern_create_linear(start.x, start.y, end.x, end.y);
    for (size_t i = 0; i < colors.size(); ++i) {
        double offset = locations.size() == colors.size()
            ? locations[i]
            : (colors.size() == 1 ? 0.0 : static_cast<double>(i) / static_cast<double>(colors.size() - 1));
        const ui::Color& c = colors[i];
        cairo.cairo_pattern_add_color_stop_rgba(pattern, offset, c.redComponent(), c.greenComponent(), c.blueComponent(),
            c.alpha());
    }
    cairo.cairo_save(m_cr);
    cairo.cairo_new_path(m_cr);
    addRectPath(m_cr, rect, 0);
    cairo.cairo_set_source(m_cr, pattern);
    cairo.cairo_fill(m_cr);
    cairo.cairo_restore(m_cr);
    cairo.cairo_pattern_destroy(pattern);
}

bool Canvas::drawImage(const ui::Image& image, const ui::Rect& rect, ui::ContentMode mode, std::optional<ui::Color> tint)
{
    if (rect.isEmpty())
        return false;
    if (!tint && image.renderingMode() == ui::ImageRenderingMode::AlwaysTemplate)
        tint = image.tintColor();
    if (image.isDrawn()) {
        ui::Rect placed = placeContent(image.size(), rect, mode);
        cairo.cairo_save(m_cr);
        cairo.cairo_translate(m_cr, placed.origin.x, placed.origin.y);
        if (image.size().width > 0 && image.size().height > 0)
            cairo.cairo_scale(m_cr, placed.size.width / image.size().width, placed.size.height / image.size().height);
        for (const auto& fill : image.fills())
            fillPath(fill.path, tint.value_or(fill.color));
        cairo.cairo_restore(m_cr);
        return true;
    }
    if (image.filePath().empty())
        return false;
    auto surface = loadPng(image.filePath());
    if (!surface)
        return false;
    double pixelsWide = cairo.cairo_image_surface_get_width(surface.get());
    double pixelsHigh = cairo.cairo_image_surface_get_height(surface.get());
    if (pixelsWide <= 0 || pixelsHigh <= 0)
        return false;
    ui::Size pointSize = image.size().width > 0 ? image.size() : ui::Size { pixelsWide, pixelsHigh };
    ui::Rect placed = placeContent(pointSize, rect, mode);
    cairo.cairo_save(m_cr);
    cairo.cairo_new_path(m_cr);
    addRectPath(m_cr, rect, 0);
    cairo.cairo_clip(m_cr);
    cairo.cairo_translate(m_cr, placed.origin.x, placed.origin.y);
    cairo.cairo_scale(m_cr, placed.size.width / pixelsWide, placed.size.height / pixelsHigh);
    if (tint) {
        setColor(m_cr, *tint);
        cairo.cairo_mask_surface(m_cr, surface.get(), 0, 0);
    } else {
        cairo.cairo_set_source_surface(m_cr, surface.get(), 0, 0);
        // Small pictures scaled up stay smooth rather than blocky.
        cairo.cairo_pattern_set_filter(cairo.cairo_get_source(m_cr), CAIRO_FILTER_GOOD);
        // Edge pixels carry on to the edge rather than fading into what lies under.
        cairo.cairo_pattern_set_extend(cairo.cairo_get_source(m_cr), CAIRO_EXTEND_PAD);
        cairo.cairo_paint(m_cr);
    }
    cairo.cairo_restore(m_cr);
    return true;
}

double Canvas::drawLine(const std::string& utf8, const TextStyle& style, ui::Point origin)
{
    if (utf8.empty())
        return 0;
    cairo.cairo_save(m_cr);
    selectFont(m_cr, style.font);
    setColor(m_cr, style.color);
    cairo_font_extents_t extents;
    cairo.cairo_font_extents(m_cr, &extents);
    double lineHeight = ui::TextMetrics::lineHeight(style.font);
    // The face's ascent and descent centred in the metric's line.
    double baseline = origin.y + (lineHeight - (extents.ascent + extents.descent)) / 2 + extents.ascent;

    // The line is set as one run in the face's own advances from the metric's origin: a word
    // keeps its face's shape and spacing instead of being fitted to the metric's word widths.
    std::string shown = utf8;
    std::replace(shown.begin(), shown.end(), '\t', ' ');
    cairo_text_extents_t natural;
    cairo.cairo_text_extents(m_cr, shown.c_str(), &natural);
    if (!style.color.isClear()) {
        cairo.cairo_move_to(m_cr, origin.x, baseline);
        cairo.cairo_show_text(m_cr, shown.c_str());
    }
    cairo.cairo_restore(m_cr);
    return natural.x_advance;
}

void Canvas::drawLines(const std::vector<std::string>& lines, const TextStyle& style, const ui::Rect& rect)
{
    double lineHeight = ui::TextMetrics::lineHeight(style.font);
    double y = rect.origin.y;
    ui::TextAlignment alignment = style.alignment;
    if (alignment == ui::TextAlignment::Natural || alignment == ui::TextAlignment::Justified)
        alignment = style.rightToLeft ? ui::TextAlignment::Right : ui::TextAlignment::Left;
    for (const auto& line : lines) {
        double width = ui::TextMetrics::widthOfLine(line, style.font);
        double x = rect.origin.x;
        if (alignment == ui::TextAlignment::Center)
            x += (rect.size.width - width) / 2;
        else if (alignment == ui::TextAlignment::Right)
            x += rect.size.width - width;
        drawLine(line, style, { x, y });
        y += lineHeight;
    }
}

void Canvas::drawAttributedLines(const base::AttributedString& text, const std::vector<ui::TextMetrics::TextLine>& lines,
    const TextStyle& style, const ui::Rect& rect)
{
    ui::TextAlignment alignment = style.alignment;
    if (alignment == ui::TextAlignment::Natural || alignment == ui::TextAlignment::Justified)
        alignment = style.rightToLeft ? ui::TextAlignment::Right : ui::TextAlignment::Left;
    auto runs = text.runs();
    double top = rect.origin.y;
    for (const auto& line : lines) {
        double x = rect.origin.x;
        if (alignment == ui::TextAlignment::Center)
            x += (rect.size.width - line.width) / 2;
        else if (alignment == ui::TextAlignment::Right)
            x += rect.size.width - line.width;
        for (const auto& run : runs) {
            size_t start = std::max(run.range.location, line.range.location);
            size_t end = std::min(run.range.end(), line.range.end());
            if (start >= end)
                continue;
            std::string piece = text.substring({ start, end - start }).string();
            TextStyle runStyle = style;
            runStyle.alignment = ui::TextAlignment::Left;
            if (run.attributes.font)
                runStyle.font = ui::fontFromAttr(*run.attributes.font, style.font);
            if (run.attributes.foregroundColor)
                runStyle.color = ui::colorFromAttr(*run.attributes.foregroundColor);
            // Each piece sits in a box of its own line height standing on the line's
            // common bottom, lifted by its baseline offset.
            double offset = run.attributes.baselineOffset.value_or(0);
            double y = top + line.unshiftedBottom - offset - ui::TextMetrics::lineHeight(runStyle.font);
            // A run goes on where the one before it ended.
            x += drawLine(piece, runStyle, { x, y });
        }
        top += line.height;
    }
}

void Canvas::drawText(const std::string& utf8, const TextStyle& style, const ui::Rect& rect)
{
    auto lines = ui::TextMetrics::wrapLines(utf8, style.font, rect.size.width);
    double lineHeight = ui::TextMetrics::lineHeight(style.font);
    if (lineHeight > 0) {
        size_t fitting = static_cast<size_t>(std::max(0.0, std::floor(rect.size.height / lineHeight)));
        if (lines.size() > fitting)
            lines.resize(fitting);
    }
    drawLines(lines, style, rect);
}

void Canvas::drawRotatedText(const std::string& utf8, const TextStyle& style, ui::Point center, double radians)
{
    double width = ui::TextMetrics::widthOfLine(utf8, style.font);
    double height = ui::TextMetrics::lineHeight(style.font);
    cairo.cairo_save(m_cr);
    cairo.cairo_translate(m_cr, center.x, center.y);
    cairo.cairo_rotate(m_cr, radians);
    drawLine(utf8, style, { -width / 2, -height / 2 });
    cairo.cairo_restore(m_cr);
}

std::optional<std::string> fontFileFor(const ui::Font& font)
{
    auto file = ui::FontRegistry::shared().fileOfFace(font.name());
    if (!file)
        return std::nullopt;
    // A weight or slant the face does not have is left to the system's closest face, which
    // can give it.
    bool italic = false;
    ui::FontWeight weight = ui::fontWeightFromFaceName(font.name(), &italic);
    if (weight != font.weight() || italic != font.isItalic())
        return std::nullopt;
    return file;
}

std::string truncateToWidth(const std::string& utf8, const ui::Font& font, double width)
{
    if (ui::TextMetrics::widthOfLine(utf8, font) <= width)
        return utf8;
    static const std::string ellipsis = "\xE2\x80\xA6";
    std::u16string units = base::utf8ToUtf16(utf8);
    double budget = width - ui::TextMetrics::widthOfLine(ellipsis, font);
    double used = 0;
    size_t kept = 0;
    while (kept < units.size()) {
        double advance = ui::TextMetrics::advanceOfUnit(units[kept], font);
        if (used + advance > budget)
            break;
        used += advance;
        ++kept;
    }
    // Never end on half of a surrogate pair.
    if (kept > 0 && units[kept - 1] >= 0xD800 && units[kept - 1] <= 0xDBFF)
        --kept;
    return base::utf16ToUtf8(units.substr(0, kept)) + ellipsis;
}

} // namespace print
