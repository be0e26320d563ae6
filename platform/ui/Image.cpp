#include "platform/ui/Image.h"

#include "platform/ui/Environment.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace ui {

namespace {

std::string fileName(const std::string& path)
{
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

double scaleFromFileName(const std::string& path)
{
    std::string name = fileName(path);
    auto dot = name.rfind('.');
    std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    if (stem.size() > 3 && stem.compare(stem.size() - 3, 3, "@3x") == 0)
        return 3;
    if (stem.size() > 3 && stem.compare(stem.size() - 3, 3, "@2x") == 0)
        return 2;
    return 1;
}

// Width and height in pixels from a PNG header; false for anything else.
bool pngPixelSize(const std::string& header, uint32_t& width, uint32_t& height)
{
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    if (header.size() < 24 || header.compare(0, 8, std::string(signature, 8)) != 0
        || header.compare(12, 4, "IHDR") != 0)
        return false;
    auto u32 = [&](size_t offset) {
        auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(header[offset + i])); };
        return (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3);
    };
    width = u32(16);
    height = u32(20);
    return true;
}

} // namespace

ImagePtr Image::named(const std::string& name)
{
    if (name.empty())
        return nullptr;
    return ImageCatalog::shared().lookup(name);
}

ImagePtr Image::fromFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return nullptr;
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return nullptr;
    std::string header(24, '\0');
    file.read(header.data(), static_cast<std::streamsize>(header.size()));
    header.resize(static_cast<size_t>(file.gcount()));

    std::shared_ptr<Image> image(new Image());
    image->m_filePath = path;
    image->m_scale = scaleFromFileName(path);
    uint32_t width = 0;
    uint32_t height = 0;
    if (pngPixelSize(header, width, height))
        image->m_size = { width / image->m_scale, height / image->m_scale };
    return image;
}

ImagePtr Image::make(std::string name, const Size& size, double scale)
{
    std::shared_ptr<Image> image(new Image());
    image->m_name = std::move(name);
    image->m_size = size;
    image->m_scale = std::isfinite(scale) && scale > 0 ? scale : 1;
    return image;
}

ImagePtr Image::drawn(const Size& size, double scale, bool opaque, std::vector<ImageFill> fills)
{
    std::shared_ptr<Image> image(new Image());
    image->m_size = size;
    image->m_scale = std::isfinite(scale) && scale > 0 ? scale : 1;
    image->m_drawn = true;
    image->m_opaque = opaque;
    image->m_fills = std::move(fills);
    return image;
}

ImagePtr Image::withRenderingMode(ImageRenderingMode mode) const
{
    std::shared_ptr<Image> image(new Image(*this));
    image->m_renderingMode = mode;
    return image;
}

ImagePtr Image::withTintColor(const Color& color) const
{
    std::shared_ptr<Image> image(new Image(*this));
    image->m_tintColor = color;
    image->m_renderingMode = ImageRenderingMode::AlwaysTemplate;
    return image;
}

ImagePtr Image::resizable(const EdgeInsets& capInsets) const
{
    std::shared_ptr<Image> image(new Image(*this));
    image->m_capInsets = capInsets;
    return image;
}

std::string Image::debugName() const
{
    if (!m_name.empty())
        return m_name;
    if (!m_filePath.empty())
        return fileName(m_filePath);
    return m_drawn ? "(drawn)" : "(image)";
}

bool operator==(const Image& a, const Image& b)
{
    if (a.name() != b.name() || a.filePath() != b.filePath() || !(a.size() == b.size()) || a.scale() != b.scale()
        || a.renderingMode() != b.renderingMode() || a.tintColor() != b.tintColor() || a.isDrawn() != b.isDrawn()
        || a.fills().size() != b.fills().size())
        return false;
    for (size_t i = 0; i < a.fills().size(); ++i) {
        if (!(a.fills()[i].path == b.fills()[i].path) || !(a.fills()[i].color == b.fills()[i].color))
            return false;
    }
    return true;
}

// Catalog

ImageCatalog& ImageCatalog::shared()
{
    static ImageCatalog catalog;
    return catalog;
}

void ImageCatalog::registerImage(const std::string& name, const Size& size, double scale)
{
    if (name.empty())
        return;
    auto image = Image::make(name, size, scale);
    std::lock_guard lock(m_mutex);
    m_images[name] = image;
}

void ImageCatalog::addSearchPath(const std::string& folder)
{
    std::lock_guard lock(m_mutex);
    m_searchPaths.push_back(folder);
}

void ImageCatalog::reset()
{
    std::lock_guard lock(m_mutex);
    m_images.clear();
    m_searchPaths.clear();
}

ImagePtr ImageCatalog::lookup(const std::string& name) const
{
    std::vector<std::string> folders;
    {
        std::lock_guard lock(m_mutex);
        if (auto it = m_images.find(name); it != m_images.end())
            return it->second;
        folders = m_searchPaths;
    }
    // A name is a file name, never a path: nothing may escape the catalog's folders.
    if (name.find('/') != std::string::npos || name == "." || name == "..")
        return nullptr;
    bool hasExtension = name.find('.') != std::string::npos;
    int screenScale = static_cast<int>(std::lround(Environment::current().screenScale()));
    std::vector<std::string> candidates;
    if (hasExtension) {
        candidates.push_back(name);
    } else {
        // The screen's scale first, then the others from high to low.
        for (int scale : { screenScale, 3, 2, 1 }) {
            std::string candidate = scale == 1 ? name + ".png" : name + "@" + std::to_string(scale) + "x.png";
            if (std::find(candidates.begin(), candidates.end(), candidate) == candidates.end())
                candidates.push_back(candidate);
        }
    }
    for (const auto& folder : folders) {
        for (const auto& candidate : candidates) {
            std::string path = folder + "/" + candidate;
            std::error_code error;
            if (!std::filesystem::is_regular_file(path, error))
                continue;
            if (auto file = Image::fromFile(path)) {
                std::shared_ptr<Image> named(new Image(*file));
                named->m_name = name;
                return named;
            }
        }
    }
    return nullptr;
}

// Renderer

ImageRenderer::ImageRenderer(const Size& size, bool opaque, double scale)
    : m_size(size)
    , m_opaque(opaque)
    , m_scale(scale > 0 ? scale : Environment::current().screenScale())
{
}

void ImageRenderer::fill(const Rect& rect, const Color& color)
{
    m_fills.push_back({ BezierPath::rect(rect), color });
}

void ImageRenderer::fillPath(const BezierPath& path, const Color& color)
{
    m_fills.push_back({ path, color });
}

ImagePtr ImageRenderer::image() const
{
    return Image::drawn(m_size, m_scale, m_opaque, m_fills);
}

} // namespace ui
