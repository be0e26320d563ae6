#pragma once

// Images as references: a name or file, a size in points, a scale, a rendering mode and
// a tint. Drawn images keep their drawing as a list of fills. No pixels are decoded.

#include "platform/ui/BezierPath.h"
#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace ui {

enum class ImageRenderingMode { Automatic, AlwaysOriginal, AlwaysTemplate };

struct ImageFill {
    BezierPath path;
    Color color;
};

class Image;
using ImagePtr = std::shared_ptr<const Image>;

class Image {
public:
    // A registered catalog image, or a file found in the catalog's folders as name.png,
    // name@2x.png, name@3x.png (the highest scale found first matching the screen), or
    // null. An empty name answers null.
    static ImagePtr named(const std::string& name);
    // A file: PNG sizes are read from the header (points = pixels / scale, the scale from
    // an "@2x"/"@3x" suffix); other readable files get a zero size. Null when the file
    // cannot be read.
    static ImagePtr fromFile(const std::string& path);
    // An image with no backing (tests, placeholders).
    static ImagePtr make(std::string name, const Size& size, double scale = 1);
    // A drawn image: the fills of an image renderer.
    static ImagePtr drawn(const Size& size, double scale, bool opaque, std::vector<ImageFill> fills);

    const std::string& name() const { return m_name; }
    const std::string& filePath() const { return m_filePath; }
    Size size() const { return m_size; }
    double scale() const { return m_scale; }
    ImageRenderingMode renderingMode() const { return m_renderingMode; }
    std::optional<Color> tintColor() const { return m_tintColor; }
    bool isDrawn() const { return m_drawn; }
    bool isOpaque() const { return m_opaque; }
    const std::vector<ImageFill>& fills() const { return m_fills; }
    // Cap insets of a resizable image.
    const std::optional<EdgeInsets>& capInsets() const { return m_capInsets; }

    ImagePtr withRenderingMode(ImageRenderingMode) const;
    // Also makes the image a template, as the platform does.
    ImagePtr withTintColor(const Color&) const;
    ImagePtr resizable(const EdgeInsets& capInsets) const;

    // "name" or the file name, for dumps.
    std::string debugName() const;

private:
    friend class ImageCatalog;
    Image() = default;

    std::string m_name;
    std::string m_filePath;
    Size m_size;
    double m_scale = 1;
    ImageRenderingMode m_renderingMode = ImageRenderingMode::Automatic;
    std::optional<Color> m_tintColor;
    bool m_drawn = false;
    bool m_opaque = false;
    std::vector<ImageFill> m_fills;
    std::optional<EdgeInsets> m_capInsets;
};

// Same image: same name, file, size, scale, mode, tint and drawing.
bool operator==(const Image&, const Image&);

// Named images for Image::named(): registered entries and folders to look in.
class ImageCatalog {
public:
    static ImageCatalog& shared();

    void registerImage(const std::string& name, const Size& size, double scale = 1);
    void addSearchPath(const std::string& folder);
    void reset();

    ImagePtr lookup(const std::string& name) const;

private:
    ImageCatalog() = default;
    mutable std::mutex m_mutex;
    std::map<std::string, ImagePtr> m_images;
    std::vector<std::string> m_searchPaths;
};

// Records fills into a new drawn image.
class ImageRenderer {
public:
    ImageRenderer(const Size& size, bool opaque = false, double scale = 0);

    void fill(const Rect&, const Color&);
    void fillPath(const BezierPath&, const Color&);
    ImagePtr image() const;

private:
    Size m_size;
    bool m_opaque;
    double m_scale;
    std::vector<ImageFill> m_fills;
};

} // namespace ui
