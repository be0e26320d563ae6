#include "platform/print/ViewPainter.h"

#include "platform/ui/BezierPath.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/View.h"

#include "platform/print/CairoLibrary.h"
#include "platform/print/PngWriter.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace print {

namespace {

// A field's placeholder colour and the platform's inset of its text.
const ui::Color placeholderColor = ui::Color::fromWhite(0.7);
constexpr double fieldInset = 7;

TextStyle styleFor(const ui::Font& font, const ui::Color& color, ui::TextAlignment alignment, const ui::View& view)
{
    return { font, color, alignment, view.isRightToLeft() };
}

ui::Color labelColor(const ui::Label& label)
{
    ui::Color color = label.isHighlighted() && label.highlightedTextColor() ? *label.highlightedTextColor()
                                                                             : label.textColor();
    if (!label.isEnabled())
        color = color.withAlpha(color.alpha() * 0.5);
    return color;
}

// Attributed text keeps its runs' fonts, colours and baseline offsets; the lines are
// the metric's, so the picture has the heights the layout measured.
void paintAttributedLabel(const ui::Label& label, const base::AttributedString& text, Canvas& canvas)
{
    ui::Rect bounds = label.bounds();
    double width = label.numberOfLines() == 1 ? 0 : bounds.size.width;
    auto lines = ui::TextMetrics::layoutLines(text, label.font(), width, label.lineBreakMode());
    if (label.numberOfLines() > 0 && lines.size() > static_cast<size_t>(label.numberOfLines()))
        lines.resize(static_cast<size_t>(label.numberOfLines()));
    double height = 0;
    for (const auto& line : lines)
        height += line.height;
    ui::Rect area { { bounds.origin.x, bounds.origin.y + (bounds.size.height - height) / 2 },
        { bounds.size.width, height } };
    canvas.drawAttributedLines(
        text, lines, styleFor(label.font(), labelColor(label), label.textAlignment(), label), area);
}

void paintLabel(const ui::Label& label, Canvas& canvas)
{
    if (label.attributedText() && label.attributedText()->length() > 0) {
        paintAttributedLabel(label, *label.attributedText(), canvas);
        return;
    }
    ui::Rect bounds = label.bounds();
    ui::Font font = label.displayedFont();
    auto lines = label.displayedLines();
    if (lines.empty() || label.text().empty())
        return;
    bool truncating = label.lineBreakMode() == ui::LineBreakMode::ByTruncatingTail
        || label.lineBreakMode() == ui::LineBreakMode::ByTruncatingMiddle
        || label.lineBreakMode() == ui::LineBreakMode::ByTruncatingHead;
    if (truncating && !lines.empty())
        lines.back() = truncateToWidth(lines.back(), font, bounds.size.width);
    ui::Color color = labelColor(label);
    // A label centres its text vertically, as the platform's does.
    double height = static_cast<double>(lines.size()) * ui::TextMetrics::lineHeight(font);
    ui::Rect area { { bounds.origin.x, bounds.origin.y + (bounds.size.height - height) / 2 },
        { bounds.size.width, height } };
    if (label.shadowColor() && !label.shadowColor()->isClear()) {
        ui::Rect shadowed = area;
        shadowed.origin.x += label.shadowOffset().width;
        shadowed.origin.y += label.shadowOffset().height;
        canvas.drawLines(lines, styleFor(font, *label.shadowColor(), label.textAlignment(), label), shadowed);
    }
    canvas.drawLines(lines, styleFor(font, color, label.textAlignment(), label), area);
}

void paintTextView(const ui::TextView& view, Canvas& canvas)
{
    ui::Rect bounds = view.bounds();
    ui::EdgeInsets inset = view.textContainerInset();
    ui::Rect area { { bounds.origin.x + inset.left + view.lineFragmentPadding(), bounds.origin.y + inset.top },
        { view.textContainerWidth(), std::max(0.0, bounds.size.height - inset.top - inset.bottom) } };
    auto lines = ui::TextMetrics::wrapLines(view.text(), view.font(), area.size.width);
    canvas.drawLines(lines, styleFor(view.font(), view.textColor(), view.textAlignment(), view), area);
}

void paintTextField(const ui::TextField& field, Canvas& canvas)
{
    ui::Rect bounds = field.bounds();
    bool placeholder = field.text().empty();
    std::string text = placeholder ? field.placeholder() : field.text();
    if (!placeholder && field.isSecureTextEntry()) {
        std::string dots;
        for (size_t i = 0; i < base::utf16Length(text); ++i)
            dots += "\xE2\x80\xA2";
        text = dots;
    }
    if (text.empty())
        return;
    double width = std::max(0.0, bounds.size.width - 2 * fieldInset);
    text = truncateToWidth(text, field.font(), width);
    double lineHeight = ui::TextMetrics::lineHeight(field.font());
    ui::Rect area { { bounds.origin.x + fieldInset, bounds.origin.y + (bounds.size.height - lineHeight) / 2 },
        { width, lineHeight } };
    canvas.drawLines({ text },
        styleFor(field.font(), placeholder ? placeholderColor : field.textColor(), field.textAlignment(), field), area);
}

// The platform's own colours for the parts of a control nobody tinted.
const ui::Color unfilledTrackColor = ui::Color::fromWhite(0.86);
const ui::Color knobEdgeColor = ui::Color::fromWhite(0.78);
const ui::Color switchOnColor = ui::Color::fromRGB255(52, 199, 89);

// A round knob: the thumb a slider or switch shows when it has no image of its own. The
// platform lifts it with a shadow; a thin edge stands in for it so a white knob shows on white.
void paintKnob(const ui::Rect& rect, const ui::Color& fill, Canvas& canvas)
{
    canvas.fillPath(ui::BezierPath::ovalIn(rect), fill);
    canvas.strokePath(ui::BezierPath::ovalIn(rect.insetBy(0.25, 0.25)), knobEdgeColor, 0.5);
}

// A slider is its track, filled from the minimum up to the thumb, and the thumb.
void paintSlider(const ui::Slider& slider, Canvas& canvas)
{
    ui::Rect bounds = slider.bounds();
    if (bounds.isEmpty())
        return;
    ui::Rect track = slider.trackRect(bounds);
    ui::Rect thumb = slider.thumbRect(bounds, track, slider.value());
    ui::ControlState state = slider.isEnabled() ? ui::ControlState::Normal : ui::ControlState::Disabled;
    double split = std::clamp(thumb.midX(), track.minX(), track.maxX());
    ui::Rect filled { track.origin, { split - track.minX(), track.size.height } };
    ui::Rect unfilled { { split, track.minY() }, { track.maxX() - split, track.size.height } };
    double radius = track.size.height / 2;
    // The two parts are one rounded track cut at the thumb.
    canvas.save();
    canvas.clipToRect(track, radius);
    if (auto image = slider.maximumTrackImageForState(state))
        canvas.drawImage(*image, unfilled);
    else
        canvas.fillRect(unfilled, slider.maximumTrackTintColor().value_or(unfilledTrackColor));
    if (auto image = slider.minimumTrackImageForState(state))
        canvas.drawImage(*image, filled);
    else
        canvas.fillRect(filled, slider.minimumTrackTintColor().value_or(slider.tintColor()));
    canvas.restore();
    if (auto image = slider.thumbImageForState(state))
        canvas.drawImage(*image, thumb, ui::ContentMode::Center);
    else
        paintKnob(thumb, slider.thumbTintColor().value_or(ui::Color::white()), canvas);
}

// A switch is a capsule, tinted when on and outlined when off, with its knob at the side
// of its state.
void paintSwitch(const ui::Switch& control, Canvas& canvas)
{
    ui::Rect bounds = control.bounds();
    if (bounds.isEmpty())
        return;
    double radius = bounds.size.height / 2;
    if (control.isOn())
        canvas.fillRect(bounds, control.onTintColor().value_or(switchOnColor), radius);
    else
        canvas.strokeRectInside(bounds, unfilledTrackColor, 1.5, radius);
    double inset = 2;
    double side = std::max(0.0, bounds.size.height - 2 * inset);
    double x = control.isOn() ? bounds.maxX() - inset - side : bounds.minX() + inset;
    paintKnob({ { x, bounds.minY() + inset }, { side, side } }, control.thumbTintColor().value_or(ui::Color::white()),
        canvas);
}

// A progress bar is its track with the done part filled from the leading end.
void paintProgress(const ui::ProgressView& progress, Canvas& canvas)
{
    ui::Rect bounds = progress.bounds();
    if (bounds.isEmpty())
        return;
    double radius = bounds.size.height / 2;
    canvas.fillRect(bounds, progress.trackTintColor().value_or(unfilledTrackColor), radius);
    double done = std::clamp(progress.progress(), 0.0, 1.0) * bounds.size.width;
    ui::Rect filled { bounds.origin, { done, bounds.size.height } };
    if (progress.isRightToLeft())
        filled.origin.x = bounds.maxX() - done;
    canvas.save();
    canvas.clipToRect(bounds, radius);
    canvas.fillRect(filled, progress.progressTintColor().value_or(progress.tintColor()));
    canvas.restore();
}

// Page dots, centred, one every 16 points (the control's own size per page).
void paintPageControl(const ui::PageControl& control, Canvas& canvas)
{
    if (!control.showsDots() || control.numberOfPages() <= 0)
        return;
    constexpr double pitch = 16;
    constexpr double dot = 7;
    ui::Rect bounds = control.bounds();
    double start = bounds.midX() - pitch * control.numberOfPages() / 2;
    for (int page = 0; page < control.numberOfPages(); ++page) {
        bool current = page == control.currentPage();
        ui::Color color = current ? control.currentPageIndicatorTintColor().value_or(ui::Color::white())
                                  : control.pageIndicatorTintColor().value_or(ui::Color::fromWhite(1, 0.3));
        ui::Rect rect { { start + pitch * page + (pitch - dot) / 2, bounds.midY() - dot / 2 }, { dot, dot } };
        canvas.fillPath(ui::BezierPath::ovalIn(rect), color);
    }
}

// Segments side by side on a grey capsule, the selected one raised in white (or its tint),
// each with its title or image centred.
void paintSegmentedControl(const ui::SegmentedControl& control, Canvas& canvas)
{
    ui::Rect bounds = control.bounds();
    size_t count = control.numberOfSegments();
    if (bounds.isEmpty() || count == 0)
        return;
    constexpr double radius = 8;
    canvas.fillRect(bounds, unfilledTrackColor.withAlpha(0.6), radius);
    // Segments without a width of their own share what the others leave.
    double fixed = 0;
    size_t flexible = 0;
    for (size_t i = 0; i < count; ++i) {
        double width = control.widthForSegment(i);
        if (width > 0)
            fixed += width;
        else
            ++flexible;
    }
    double share = flexible ? std::max(0.0, bounds.size.width - fixed) / static_cast<double>(flexible) : 0;
    double x = bounds.minX();
    for (size_t i = 0; i < count; ++i) {
        double width = control.widthForSegment(i) > 0 ? control.widthForSegment(i) : share;
        ui::Rect segment { { x, bounds.minY() }, { width, bounds.size.height } };
        x += width;
        bool selected = static_cast<int>(i) == control.selectedSegmentIndex();
        if (selected)
            canvas.fillRect(segment.insetBy(2, 2), control.selectedSegmentTintColor().value_or(ui::Color::white()),
                radius - 1);
        if (auto image = control.imageForSegment(i)) {
            canvas.drawImage(*image, segment, ui::ContentMode::Center);
            continue;
        }
        ui::ControlState state = selected ? ui::ControlState::Selected : ui::ControlState::Normal;
        ui::Font font = control.titleFont(state).value_or(
            control.titleFont(ui::ControlState::Normal).value_or(ui::Font::systemFont(13)));
        ui::Color color
            = control.titleColor(state).value_or(control.titleColor(ui::ControlState::Normal).value_or(ui::Color::black()));
        if (!control.isEnabled() || !control.isEnabledForSegment(i))
            color = color.withAlpha(color.alpha() * 0.5);
        std::string title = truncateToWidth(control.titleForSegment(i), font, std::max(0.0, width - 8));
        double lineHeight = ui::TextMetrics::lineHeight(font);
        ui::Rect area { { segment.minX() + 4, segment.midY() - lineHeight / 2 }, { std::max(0.0, width - 8), lineHeight } };
        canvas.drawLines({ title }, styleFor(font, color, ui::TextAlignment::Center, control), area);
    }
}

} // namespace

void ViewPainter::paint(const ui::View& view, Canvas& canvas) const
{
    canvas.save();
    ui::Rect bounds = view.bounds();
    canvas.translate(-bounds.origin.x, -bounds.origin.y);
    paintLayer(*view.layer(), canvas, true);
    canvas.restore();
}

void ViewPainter::paintLayer(const ui::Layer& layer, Canvas& canvas, bool isRoot) const
{
    if (layer.isHidden() || layer.opacity() < 0.01)
        return;
    canvas.save();
    ui::Rect bounds = layer.bounds();
    if (!isRoot) {
        ui::Point position = layer.position();
        canvas.translate(position.x, position.y);
        canvas.concat(layer.affineTransform());
        canvas.translate(-(bounds.origin.x + bounds.size.width / 2), -(bounds.origin.y + bounds.size.height / 2));
    }
    bool grouped = layer.opacity() < 1;
    if (grouped)
        canvas.beginGroup();

    double radius = layer.cornerRadius();
    if (layer.backgroundColor())
        canvas.fillRect(bounds, *layer.backgroundColor(), radius);

    canvas.save();
    if (layer.masksToBounds())
        canvas.clipToRect(bounds, radius);
    if (auto gradient = dynamic_cast<const ui::GradientLayer*>(&layer))
        canvas.fillGradient(bounds, gradient->colors(), gradient->locations(), gradient->startPoint(),
            gradient->endPoint());
    if (auto contents = layer.contents())
        canvas.drawImage(*contents, bounds);
    if (auto shape = dynamic_cast<const ui::ShapeLayer*>(&layer); shape && shape->path()) {
        if (shape->fillColor())
            canvas.fillPath(*shape->path(), *shape->fillColor());
        if (shape->strokeColor())
            canvas.strokePath(*shape->path(), *shape->strokeColor(), shape->lineWidth(), shape->lineDashPattern());
    }
    if (const ui::View* view = layer.owningView()) {
        paintViewContent(*view, canvas);
        if (m_hook) {
            canvas.save();
            m_hook(*view, canvas);
            canvas.restore();
        }
    }

    // Sublayers in order, a higher zPosition in front.
    std::vector<const ui::Layer*> sublayers;
    for (const auto& sublayer : layer.sublayers())
        sublayers.push_back(sublayer.get());
    std::stable_sort(sublayers.begin(), sublayers.end(),
        [](const ui::Layer* a, const ui::Layer* b) { return a->zPosition() < b->zPosition(); });
    for (const ui::Layer* sublayer : sublayers)
        paintLayer(*sublayer, canvas, false);
    canvas.restore();

    // The border is drawn above the content and sublayers, as the platform does.
    canvas.strokeRectInside(bounds, layer.borderColor(), layer.borderWidth(), radius);

    if (grouped)
        canvas.endGroup(layer.opacity());
    canvas.restore();
}

void ViewPainter::paintViewContent(const ui::View& view, Canvas& canvas) const
{
    if (auto label = dynamic_cast<const ui::Label*>(&view)) {
        paintLabel(*label, canvas);
    } else if (auto imageView = dynamic_cast<const ui::ImageView*>(&view)) {
        if (auto image = imageView->displayedImage()) {
            std::optional<ui::Color> tint;
            if (image->renderingMode() == ui::ImageRenderingMode::AlwaysTemplate)
                tint = image->tintColor().value_or(view.tintColor());
            canvas.drawImage(*image, view.bounds(), view.contentMode(), tint);
        }
    } else if (auto textView = dynamic_cast<const ui::TextView*>(&view)) {
        paintTextView(*textView, canvas);
    } else if (auto field = dynamic_cast<const ui::TextField*>(&view)) {
        paintTextField(*field, canvas);
    } else if (auto slider = dynamic_cast<const ui::Slider*>(&view)) {
        paintSlider(*slider, canvas);
    } else if (auto toggle = dynamic_cast<const ui::Switch*>(&view)) {
        paintSwitch(*toggle, canvas);
    } else if (auto progress = dynamic_cast<const ui::ProgressView*>(&view)) {
        paintProgress(*progress, canvas);
    } else if (auto dots = dynamic_cast<const ui::PageControl*>(&view)) {
        paintPageControl(*dots, canvas);
    } else if (auto segments = dynamic_cast<const ui::SegmentedControl*>(&view)) {
        paintSegmentedControl(*segments, canvas);
    }
}

namespace {

// Paints into a new picture of `size` points and writes it.
base::Result<void> renderPNG(const ui::Size& size, const std::string& path, const ImageOptions& options,
    const std::function<void(Canvas&)>& draw)
{
    double scale = std::isfinite(options.scale) && options.scale > 0 ? options.scale : 1;
    int width = static_cast<int>(std::ceil(size.width * scale));
    int height = static_cast<int>(std::ceil(size.height * scale));
    if (!(size.width > 0) || !(size.height > 0) || width > 16384 || height > 16384)
        return base::Error::make(imageErrorDomain, errorNothingToDraw, "There is no size to draw.");
    std::string unavailable;
    if (!detail::loadCairo(&unavailable))
        return base::Error::make(imageErrorDomain, errorCannotWrite, "Pictures cannot be painted: " + unavailable);

    std::unique_ptr<cairo_surface_t, decltype(&::cairo_surface_destroy)> surface(
        cairo.cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), detail::cairoLibrary().cairo_surface_destroy);
    std::unique_ptr<cairo_t, decltype(&::cairo_destroy)> cr(cairo.cairo_create(surface.get()), detail::cairoLibrary().cairo_destroy);
    Canvas canvas(cr.get());
    canvas.scale(scale, scale);
    if (options.background)
        canvas.fillRect({ {}, size }, *options.background);
    draw(canvas);
    cairo.cairo_surface_flush(surface.get());
    if (cairo.cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
        return base::Error::make(imageErrorDomain, errorCannotWrite, cairo.cairo_status_to_string(cairo.cairo_status(cr.get())));
    return detail::writePremultipliedARGB(cairo.cairo_image_surface_get_data(surface.get()), width, height,
        cairo.cairo_image_surface_get_stride(surface.get()), path);
}

// Where a view's bounds origin sits on the screen.
ui::Point screenOrigin(const ui::View& view)
{
    const ui::View* root = &view;
    while (auto parent = root->superview())
        root = parent.get();
    if (root == &view)
        return view.frame().origin;
    ui::Point inRoot = view.convertPointTo(view.bounds().origin, root);
    ui::Rect rootFrame = root->frame();
    ui::Rect rootBounds = root->bounds();
    return { rootFrame.origin.x + inRoot.x - rootBounds.origin.x, rootFrame.origin.y + inRoot.y - rootBounds.origin.y };
}

} // namespace

base::Result<void> writePNG(const ui::View& view, const std::string& path, const ImageOptions& options)
{
    ViewPainter painter;
    painter.setContentHook(options.contentHook);
    return renderPNG(view.bounds().size, path, options, [&](Canvas& canvas) { painter.paint(view, canvas); });
}

base::Result<void> writePNG(const std::vector<std::shared_ptr<ui::View>>& views, const ui::Size& size,
    const std::string& path, const ImageOptions& options)
{
    ViewPainter painter;
    painter.setContentHook(options.contentHook);
    return renderPNG(size, path, options, [&](Canvas& canvas) {
        for (const auto& view : views) {
            if (!view)
                continue;
            ui::Point origin = screenOrigin(*view);
            canvas.save();
            canvas.translate(origin.x, origin.y);
            painter.paint(*view, canvas);
            canvas.restore();
        }
    });
}

} // namespace print
