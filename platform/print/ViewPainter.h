#pragma once

// Paints the headless view tree: the layer tree in order, with each layer's background,
// gradient, contents, shape path, corner radius, clipping, opacity and border, and the
// content of the views that show something of their own (labels, text views and fields,
// image views, sliders, switches, progress bars, page dots and segmented controls; a
// button's title and image are its label and image view). Shadows and layer masks are not drawn.

#include "platform/base/Error.h"
#include "platform/print/Canvas.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {
class Layer;
class View;
}

namespace print {

class ViewPainter {
public:
    // Called for every painted view after its own content and before its subviews, in
    // the view's bounds coordinates: what a host draws that the tree does not hold as
    // views (a rendered page, say).
    using ContentHook = std::function<void(const ui::View&, Canvas&)>;

    void setContentHook(ContentHook hook) { m_hook = std::move(hook); }

    // Paints the view with its bounds' origin at the canvas origin. A hidden view
    // paints nothing.
    void paint(const ui::View&, Canvas&) const;

private:
    void paintLayer(const ui::Layer&, Canvas&, bool isRoot) const;
    void paintViewContent(const ui::View&, Canvas&) const;

    ContentHook m_hook;
};

struct ImageOptions {
    // Pixels per point.
    double scale = 1;
    // Painted under the view, so parts the tree leaves clear come out in this colour.
    std::optional<ui::Color> background;
    ViewPainter::ContentHook contentHook;
};

// Writes a PNG of the view's bounds. Fails with errorDomain and errorCannotWrite when
// the file cannot be written, errorNothingToDraw for a view with an empty size.
base::Result<void> writePNG(const ui::View&, const std::string& path, const ImageOptions& = {});

// Writes a PNG of `size` points with the views painted one over another, each where it
// sits on the screen (a view without a superview at its frame, a nested one where its
// window shows it): a screen and the controllers presented over it.
base::Result<void> writePNG(const std::vector<std::shared_ptr<ui::View>>& views, const ui::Size& size,
    const std::string& path, const ImageOptions& = {});

// Error domain and codes of the picture writers.
inline constexpr const char* imageErrorDomain = "print.ImageOutput";
inline constexpr int errorNothingToDraw = 1;
inline constexpr int errorCannotWrite = 2;

} // namespace print
