#pragma once

// A vector path as data: the segments in the order they were added.

#include "platform/ui/Geometry.h"

#include <vector>

namespace ui {

struct PathSegment {
    enum class Kind {
        MoveTo,
        LineTo,
        // Circular arc around `center` from `startAngle` to `endAngle` (radians).
        Arc,
        // Cubic curve to `point` with control points `control1` and `control2`.
        CurveTo,
        // Quadratic curve to `point` with control point `control1`.
        QuadCurveTo,
        Close,
    };

    Kind kind = Kind::MoveTo;
    Point point;
    Point control1;
    Point control2;
    Point center;
    double radius = 0;
    double startAngle = 0;
    double endAngle = 0;
    bool clockwise = true;
};

bool operator==(const PathSegment&, const PathSegment&);

class BezierPath {
public:
    BezierPath() = default;

    static BezierPath rect(const Rect&);
    static BezierPath ovalIn(const Rect&);
    // Corners of the given radius, clamped to half the shorter side.
    static BezierPath roundedRect(const Rect&, double cornerRadius);
    static BezierPath arc(Point center, double radius, double startAngle, double endAngle, bool clockwise);

    void moveTo(Point);
    void lineTo(Point);
    void addArc(Point center, double radius, double startAngle, double endAngle, bool clockwise);
    void addCurve(Point to, Point control1, Point control2);
    void addQuadCurve(Point to, Point control);
    void closePath();
    void append(const BezierPath&);
    void removeAllPoints() { m_segments.clear(); }
    void apply(const AffineTransform&);

    const std::vector<PathSegment>& segments() const { return m_segments; }
    bool isEmpty() const { return m_segments.empty(); }
    // Where the next segment starts.
    Point currentPoint() const { return m_current; }
    // Bounding box of every point, control point and arc extreme the path passes.
    Rect bounds() const;

    double lineWidth() const { return m_lineWidth; }
    void setLineWidth(double width) { m_lineWidth = width; }

private:
    std::vector<PathSegment> m_segments;
    Point m_current;
    Point m_subpathStart;
    double m_lineWidth = 1;
};

bool operator==(const BezierPath&, const BezierPath&);

} // namespace ui
