#include "platform/ui/Layer.h"

#include "platform/base/Thread.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Image.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace ui {

std::shared_ptr<Layer> Layer::create()
{
    return std::shared_ptr<Layer>(new Layer());
}

Layer::Layer() = default;

Layer::~Layer()
{
    // Sublayers outlive us only if someone else holds them; they must not point back.
    for (auto& sublayer : m_sublayers)
        sublayer->m_superlayer.reset();
}

Rect Layer::frame() const
{
    Rect local(-m_bounds.size.width / 2, -m_bounds.size.height / 2, m_bounds.size.width, m_bounds.size.height);
    Rect transformed = m_transform.isIdentity() ? local : m_transform.apply(local);
    return transformed.offsetBy(m_position.x, m_position.y);
}

void Layer::setFrame(const Rect& frame)
{
    BASE_ASSERT_MAIN_THREAD();
    Rect f = frame.standardized();
    m_position = { f.midX(), f.midY() };
    m_bounds.size = untransformedSize(f.size);
}

// The bounds size whose transformed bounding box has the given size, so that a rotated or
// scaled view placed by its frame occupies exactly that frame. A w x h box transformed by
// (a b; c d) spans |a|w + |c|h by |b|w + |d|h; that system is solved for w and h. A transform
// for which it has no single answer (a 45-degree turn, a flattening scale) keeps the frame's
// own size, as an identity transform would.
Size Layer::untransformedSize(const Size& frameSize) const
{
    if (m_transform.isIdentity())
        return frameSize;
    const double a = std::fabs(m_transform.a), b = std::fabs(m_transform.b);
    const double c = std::fabs(m_transform.c), d = std::fabs(m_transform.d);
    const double determinant = a * d - c * b;
    if (std::fabs(determinant) < 1e-9)
        return frameSize;
    double width = (d * frameSize.width - c * frameSize.height) / determinant;
    double height = (a * frameSize.height - b * frameSize.width) / determinant;
    // Rounding noise from sin/cos of quarter turns must not leave 14.999999 for 15.
    auto tidy = [](double value) {
        double rounded = std::round(value * 1e6) / 1e6;
        return rounded < 0 ? 0.0 : rounded;
    };
    return { tidy(width), tidy(height) };
}

void Layer::setBounds(const Rect& bounds)
{
    BASE_ASSERT_MAIN_THREAD();
    m_bounds = bounds;
}

void Layer::setPosition(const Point& position)
{
    BASE_ASSERT_MAIN_THREAD();
    m_position = position;
}

void Layer::setAffineTransform(const AffineTransform& transform)
{
    BASE_ASSERT_MAIN_THREAD();
    m_transform = transform;
}

void Layer::setBackgroundColor(std::optional<Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_backgroundColor = color;
}

void Layer::setOpacity(double opacity)
{
    BASE_ASSERT_MAIN_THREAD();
    m_opacity = std::isnan(opacity) ? 0 : std::clamp(opacity, 0.0, 1.0);
}

void Layer::setHidden(bool hidden)
{
    BASE_ASSERT_MAIN_THREAD();
    m_hidden = hidden;
}

void Layer::setCornerRadius(double radius)
{
    BASE_ASSERT_MAIN_THREAD();
    m_cornerRadius = radius;
}

void Layer::setBorderWidth(double width)
{
    BASE_ASSERT_MAIN_THREAD();
    m_borderWidth = width;
}

void Layer::setBorderColor(const Color& color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_borderColor = color;
}

void Layer::setMasksToBounds(bool masks)
{
    BASE_ASSERT_MAIN_THREAD();
    m_masksToBounds = masks;
}

void Layer::setShadowColor(const Color& color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_shadowColor = color;
}

void Layer::setShadowOffset(const Size& offset)
{
    BASE_ASSERT_MAIN_THREAD();
    m_shadowOffset = offset;
}

void Layer::setShadowOpacity(double opacity)
{
    BASE_ASSERT_MAIN_THREAD();
    m_shadowOpacity = std::isnan(opacity) ? 0 : std::clamp(opacity, 0.0, 1.0);
}

void Layer::setShadowRadius(double radius)
{
    BASE_ASSERT_MAIN_THREAD();
    m_shadowRadius = radius;
}

void Layer::setShadowPath(std::optional<BezierPath> path)
{
    BASE_ASSERT_MAIN_THREAD();
    m_shadowPath = std::move(path);
}

void Layer::setName(std::string name)
{
    BASE_ASSERT_MAIN_THREAD();
    m_name = std::move(name);
}

void Layer::setZPosition(double z)
{
    BASE_ASSERT_MAIN_THREAD();
    m_zPosition = z;
}

void Layer::setContents(std::shared_ptr<const Image> contents)
{
    BASE_ASSERT_MAIN_THREAD();
    m_contents = std::move(contents);
}

void Layer::setMask(std::shared_ptr<Layer> mask)
{
    BASE_ASSERT_MAIN_THREAD();
    if (mask.get() == this)
        return;
    m_mask = std::move(mask);
}

void Layer::detachFromSuperlayer()
{
    auto superlayer = m_superlayer.lock();
    m_superlayer.reset();
    if (!superlayer)
        return;
    auto& siblings = superlayer->m_sublayers;
    siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [this](const auto& l) { return l.get() == this; }),
        siblings.end());
}

void Layer::addSublayer(std::shared_ptr<Layer> layer)
{
    insertSublayer(std::move(layer), SIZE_MAX);
}

void Layer::insertSublayer(std::shared_ptr<Layer> layer, size_t index)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!layer || layer.get() == this)
        return;
    // Refuse cycles: a layer cannot go inside its own subtree.
    for (auto ancestor = shared_from_this(); ancestor; ancestor = ancestor->superlayer()) {
        if (ancestor == layer)
            return;
    }
    layer->detachFromSuperlayer();
    index = std::min(index, m_sublayers.size());
    m_sublayers.insert(m_sublayers.begin() + static_cast<std::ptrdiff_t>(index), layer);
    layer->m_superlayer = weak_from_this();
}

void Layer::insertSublayerBelow(std::shared_ptr<Layer> layer, const Layer* sibling)
{
    auto it = std::find_if(m_sublayers.begin(), m_sublayers.end(), [&](const auto& l) { return l.get() == sibling; });
    if (it == m_sublayers.end()) {
        insertSublayer(std::move(layer), 0);
        return;
    }
    if (it->get() == layer.get())
        return;
    // Removing first may shift the sibling's index.
    layer->detachFromSuperlayer();
    it = std::find_if(m_sublayers.begin(), m_sublayers.end(), [&](const auto& l) { return l.get() == sibling; });
    insertSublayer(std::move(layer), static_cast<size_t>(it - m_sublayers.begin()));
}

void Layer::insertSublayerAbove(std::shared_ptr<Layer> layer, const Layer* sibling)
{
    auto it = std::find_if(m_sublayers.begin(), m_sublayers.end(), [&](const auto& l) { return l.get() == sibling; });
    if (it == m_sublayers.end()) {
        addSublayer(std::move(layer));
        return;
    }
    if (it->get() == layer.get())
        return;
    layer->detachFromSuperlayer();
    it = std::find_if(m_sublayers.begin(), m_sublayers.end(), [&](const auto& l) { return l.get() == sibling; });
    insertSublayer(std::move(layer), static_cast<size_t>(it - m_sublayers.begin()) + 1);
}

void Layer::removeFromSuperlayer()
{
    BASE_ASSERT_MAIN_THREAD();
    auto keepAlive = shared_from_this();
    detachFromSuperlayer();
}

std::shared_ptr<Layer> Layer::sublayerNamed(const std::string& name)
{
    if (m_name == name)
        return shared_from_this();
    for (auto& sublayer : m_sublayers) {
        if (auto found = sublayer->sublayerNamed(name))
            return found;
    }
    return nullptr;
}

void Layer::addAnimation(const LayerAnimation& animation, const std::string& key)
{
    BASE_ASSERT_MAIN_THREAD();
    auto it = std::find_if(m_animations.begin(), m_animations.end(), [&](const auto& e) { return e.first == key; });
    if (it != m_animations.end() && !key.empty())
        it->second = animation;
    else
        m_animations.emplace_back(key, animation);

    AnimationRecord record;
    record.kind = AnimationRecord::Kind::Layer;
    record.duration = animation.duration;
    record.layer = weak_from_this();
    record.layerKey = key;
    record.layerAnimation = animation;
    AnimationLog::shared().record(std::move(record));
}

std::optional<LayerAnimation> Layer::animationForKey(const std::string& key) const
{
    for (const auto& entry : m_animations) {
        if (entry.first == key)
            return entry.second;
    }
    return std::nullopt;
}

std::vector<std::string> Layer::animationKeys() const
{
    std::vector<std::string> keys;
    for (const auto& entry : m_animations)
        keys.push_back(entry.first);
    return keys;
}

void Layer::removeAnimationForKey(const std::string& key)
{
    BASE_ASSERT_MAIN_THREAD();
    m_animations.erase(std::remove_if(m_animations.begin(), m_animations.end(),
                           [&](const auto& e) { return e.first == key; }),
        m_animations.end());
}

void Layer::removeAllAnimations()
{
    BASE_ASSERT_MAIN_THREAD();
    m_animations.clear();
}

// ShapeLayer

std::shared_ptr<ShapeLayer> ShapeLayer::create()
{
    return std::shared_ptr<ShapeLayer>(new ShapeLayer());
}

void ShapeLayer::setPath(std::optional<BezierPath> path)
{
    BASE_ASSERT_MAIN_THREAD();
    m_path = std::move(path);
}

void ShapeLayer::setFillColor(std::optional<Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_fillColor = color;
}

void ShapeLayer::setStrokeColor(std::optional<Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_strokeColor = color;
}

void ShapeLayer::setLineWidth(double width)
{
    BASE_ASSERT_MAIN_THREAD();
    m_lineWidth = width;
}

void ShapeLayer::setLineDashPattern(std::vector<double> pattern)
{
    BASE_ASSERT_MAIN_THREAD();
    m_lineDashPattern = std::move(pattern);
}

void ShapeLayer::setLineDashPhase(double phase)
{
    BASE_ASSERT_MAIN_THREAD();
    m_lineDashPhase = phase;
}

void ShapeLayer::setLineCap(LineCap cap)
{
    BASE_ASSERT_MAIN_THREAD();
    m_lineCap = cap;
}

void ShapeLayer::setLineJoin(LineJoin join)
{
    BASE_ASSERT_MAIN_THREAD();
    m_lineJoin = join;
}

void ShapeLayer::setStrokeStart(double value)
{
    BASE_ASSERT_MAIN_THREAD();
    m_strokeStart = std::clamp(value, 0.0, 1.0);
}

void ShapeLayer::setStrokeEnd(double value)
{
    BASE_ASSERT_MAIN_THREAD();
    m_strokeEnd = std::clamp(value, 0.0, 1.0);
}

// GradientLayer

std::shared_ptr<GradientLayer> GradientLayer::create()
{
    return std::shared_ptr<GradientLayer>(new GradientLayer());
}

void GradientLayer::setColors(std::vector<Color> colors)
{
    BASE_ASSERT_MAIN_THREAD();
    m_colors = std::move(colors);
}

void GradientLayer::setLocations(std::vector<double> locations)
{
    BASE_ASSERT_MAIN_THREAD();
    m_locations = std::move(locations);
}

void GradientLayer::setStartPoint(Point point)
{
    BASE_ASSERT_MAIN_THREAD();
    m_startPoint = point;
}

void GradientLayer::setEndPoint(Point point)
{
    BASE_ASSERT_MAIN_THREAD();
    m_endPoint = point;
}

} // namespace ui
