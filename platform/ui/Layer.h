#pragma once

// Layers as data: geometry, border, corners, shadow, sublayers and recorded animations.
//
// Every View has a layer, and a view's subviews' layers are sublayers of its layer, in
// the order of the subviews (layers added directly keep their place among them). The
// geometry of a view's layer is the view's geometry: View reads and writes it here.

#include "platform/base/Thread.h"
#include "platform/ui/BezierPath.h"
#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class Image;
class View;

// An animation recorded on a layer: a transition ("fade", "push", "moveIn", "reveal")
// or a property animation (keyPath with from/to values as numbers). Nothing is drawn.
struct LayerAnimation {
    std::string type;
    std::string subtype;
    std::string keyPath;
    double duration = 0;
    double fromValue = 0;
    double toValue = 0;
    std::string timingFunction;
};

class Layer : public std::enable_shared_from_this<Layer> {
public:
    static std::shared_ptr<Layer> create();
    virtual ~Layer();

    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    virtual const char* className() const { return "Layer"; }

    // Geometry. The frame is derived from bounds, position (the centre: the anchor point is
    // always the middle) and the affine transform. Setting the frame of a transformed layer
    // sets the centre and the bounds size whose transformed box fills that frame.
    Rect frame() const;
    void setFrame(const Rect&);
    Rect bounds() const { return m_bounds; }
    void setBounds(const Rect&);
    Point position() const { return m_position; }
    void setPosition(const Point&);
    AffineTransform affineTransform() const { return m_transform; }
    void setAffineTransform(const AffineTransform&);

    std::optional<Color> backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(std::optional<Color>);
    double opacity() const { return m_opacity; }
    void setOpacity(double);
    bool isHidden() const { return m_hidden; }
    void setHidden(bool);

    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double);
    double borderWidth() const { return m_borderWidth; }
    void setBorderWidth(double);
    Color borderColor() const { return m_borderColor; }
    void setBorderColor(const Color&);
    bool masksToBounds() const { return m_masksToBounds; }
    void setMasksToBounds(bool);

    // Shadow: black, opacity 0, offset (0, -3), radius 3 until set.
    Color shadowColor() const { return m_shadowColor; }
    void setShadowColor(const Color&);
    Size shadowOffset() const { return m_shadowOffset; }
    void setShadowOffset(const Size&);
    double shadowOpacity() const { return m_shadowOpacity; }
    void setShadowOpacity(double);
    double shadowRadius() const { return m_shadowRadius; }
    void setShadowRadius(double);
    const std::optional<BezierPath>& shadowPath() const { return m_shadowPath; }
    void setShadowPath(std::optional<BezierPath>);

    const std::string& name() const { return m_name; }
    void setName(std::string);
    double zPosition() const { return m_zPosition; }
    void setZPosition(double);
    std::shared_ptr<const Image> contents() const { return m_contents; }
    void setContents(std::shared_ptr<const Image>);
    // Another layer whose shape masks this one (held strongly, like a sublayer).
    std::shared_ptr<Layer> mask() const { return m_mask; }
    void setMask(std::shared_ptr<Layer>);

    // Sublayers. Adding a layer that has a superlayer moves it.
    const std::vector<std::shared_ptr<Layer>>& sublayers() const { return m_sublayers; }
    void addSublayer(std::shared_ptr<Layer>);
    // An index past the end appends.
    void insertSublayer(std::shared_ptr<Layer>, size_t index);
    void insertSublayerBelow(std::shared_ptr<Layer>, const Layer* sibling);
    void insertSublayerAbove(std::shared_ptr<Layer>, const Layer* sibling);
    void removeFromSuperlayer();
    std::shared_ptr<Layer> superlayer() const { return m_superlayer.lock(); }
    // The first sublayer (depth-first, self first) with that name.
    std::shared_ptr<Layer> sublayerNamed(const std::string&);

    // The view this layer belongs to, when it is a view's own layer.
    View* owningView() const { return m_owningView; }

    // Recorded animations, by key; adding under a used key replaces it. They stay until
    // removed (there is no render clock); each addition is also logged in AnimationLog.
    void addAnimation(const LayerAnimation&, const std::string& key);
    std::optional<LayerAnimation> animationForKey(const std::string& key) const;
    std::vector<std::string> animationKeys() const;
    void removeAnimationForKey(const std::string& key);
    void removeAllAnimations();

    void setNeedsDisplay() { BASE_ASSERT_MAIN_THREAD(); ++m_displayRequests; }
    int displayRequestCount() const { return m_displayRequests; }

protected:
    Layer();

private:
    Size untransformedSize(const Size& frameSize) const;
    friend class View;
    void detachFromSuperlayer();

    Rect m_bounds;
    Point m_position;
    AffineTransform m_transform;
    std::optional<Color> m_backgroundColor;
    double m_opacity = 1;
    bool m_hidden = false;
    double m_cornerRadius = 0;
    double m_borderWidth = 0;
    Color m_borderColor = Color::black();
    bool m_masksToBounds = false;
    Color m_shadowColor = Color::black();
    Size m_shadowOffset { 0, -3 };
    double m_shadowOpacity = 0;
    double m_shadowRadius = 3;
    std::optional<BezierPath> m_shadowPath;
    std::string m_name;
    double m_zPosition = 0;
    std::shared_ptr<const Image> m_contents;
    std::shared_ptr<Layer> m_mask;
    std::vector<std::shared_ptr<Layer>> m_sublayers;
    std::weak_ptr<Layer> m_superlayer;
    View* m_owningView = nullptr;
    std::vector<std::pair<std::string, LayerAnimation>> m_animations;
    int m_displayRequests = 0;
};

enum class LineCap { Butt, Round, Square };
enum class LineJoin { Miter, Round, Bevel };

class ShapeLayer : public Layer {
public:
    static std::shared_ptr<ShapeLayer> create();
    const char* className() const override { return "ShapeLayer"; }

    const std::optional<BezierPath>& path() const { return m_path; }
    void setPath(std::optional<BezierPath>);
    // Fill black and no stroke until set; nullopt means none.
    std::optional<Color> fillColor() const { return m_fillColor; }
    void setFillColor(std::optional<Color>);
    std::optional<Color> strokeColor() const { return m_strokeColor; }
    void setStrokeColor(std::optional<Color>);
    double lineWidth() const { return m_lineWidth; }
    void setLineWidth(double);
    const std::vector<double>& lineDashPattern() const { return m_lineDashPattern; }
    void setLineDashPattern(std::vector<double>);
    double lineDashPhase() const { return m_lineDashPhase; }
    void setLineDashPhase(double);
    LineCap lineCap() const { return m_lineCap; }
    void setLineCap(LineCap);
    LineJoin lineJoin() const { return m_lineJoin; }
    void setLineJoin(LineJoin);
    double strokeStart() const { return m_strokeStart; }
    void setStrokeStart(double);
    double strokeEnd() const { return m_strokeEnd; }
    void setStrokeEnd(double);

protected:
    ShapeLayer() = default;

private:
    std::optional<BezierPath> m_path;
    std::optional<Color> m_fillColor = Color::black();
    std::optional<Color> m_strokeColor;
    double m_lineWidth = 1;
    std::vector<double> m_lineDashPattern;
    double m_lineDashPhase = 0;
    LineCap m_lineCap = LineCap::Butt;
    LineJoin m_lineJoin = LineJoin::Miter;
    double m_strokeStart = 0;
    double m_strokeEnd = 1;
};

class GradientLayer : public Layer {
public:
    static std::shared_ptr<GradientLayer> create();
    const char* className() const override { return "GradientLayer"; }

    const std::vector<Color>& colors() const { return m_colors; }
    void setColors(std::vector<Color>);
    // Empty means evenly spread.
    const std::vector<double>& locations() const { return m_locations; }
    void setLocations(std::vector<double>);
    // Unit coordinates of the layer's bounds; top centre to bottom centre until set.
    Point startPoint() const { return m_startPoint; }
    void setStartPoint(Point);
    Point endPoint() const { return m_endPoint; }
    void setEndPoint(Point);

protected:
    GradientLayer() = default;

private:
    std::vector<Color> m_colors;
    std::vector<double> m_locations;
    Point m_startPoint { 0.5, 0 };
    Point m_endPoint { 0.5, 1 };
};

} // namespace ui
