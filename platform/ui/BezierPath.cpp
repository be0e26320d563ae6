#include "platform/ui/BezierPath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ui {

bool operator==(const PathSegment& a, const PathSegment& b)
{
    return a.kind == b.kind && a.point == b.point && a.control1 == b.control1 && a.control2 == b.control2
        && a.center == b.center && nearlyEqual(a.radius, b.radius) && nearlyEqual(a.startAngle, b.startAngle)
        && nearlyEqual(a.endAngle, b.endAngle) && a.clockwise == b.clockwise;
}

BezierPath BezierPath::rect(const Rect& r)
{
    Rect s = r.standardized();
    BezierPath path;
    path.moveTo({ s.minX(), s.minY() });
    path.lineTo({ s.maxX(), s.minY() });
    path.lineTo({ s.maxX(), s.maxY() });
    path.lineTo({ s.minX(), s.maxY() });
    path.closePath();
    return path;
}

BezierPath BezierPath::ovalIn(const Rect& r)
{
    // Four cubic quarters, the usual circle approximation (kappa).
    constexpr double kappa = 0.5522847498307936;
    Rect s = r.standardized();
    double rx = s.width() / 2;
    double ry = s.height() / 2;
    double cx = s.midX();
    double cy = s.midY();
    BezierPath path;
    path.moveTo({ cx + rx, cy });
    path.addCurve({ cx, cy + ry }, { cx + rx, cy + ry * kappa }, { cx + rx * kappa, cy + ry });
    path.addCurve({ cx - rx, cy }, { cx - rx * kappa, cy + ry }, { cx - rx, cy + ry * kappa });
    path.addCurve({ cx, cy - ry }, { cx - rx, cy - ry * kappa }, { cx - rx * kappa, cy - ry });
    path.addCurve({ cx + rx, cy }, { cx + rx * kappa, cy - ry }, { cx + rx, cy - ry * kappa });
    path.closePath();
    return path;
}

BezierPath BezierPath::roundedRect(const Rect& r, double cornerRadius)
{
    Rect s = r.standardized();
    double radius = std::clamp(cornerRadius, 0.0, std::min(s.width(), s.height()) / 2);
    if (radius <= 0)
        return rect(s);
    constexpr double pi = std::numbers::pi;
    BezierPath path;
    path.moveTo({ s.minX() + radius, s.minY() });
    path.lineTo({ s.maxX() - radius, s.minY() });
    path.addArc({ s.maxX() - radius, s.minY() + radius }, radius, -pi / 2, 0, true);
    path.lineTo({ s.maxX(), s.maxY() - radius });
    path.addArc({ s.maxX() - radius, s.maxY() - radius }, radius, 0, pi / 2, true);
    path.lineTo({ s.minX() + radius, s.maxY() });
    path.addArc({ s.minX() + radius, s.maxY() - radius }, radius, pi / 2, pi, true);
    path.lineTo({ s.minX(), s.minY() + radius });
    path.addArc({ s.minX() + radius, s.minY() + radius }, radius, pi, 3 * pi / 2, true);
    path.closePath();
    return path;
}

BezierPath BezierPath::arc(Point center, double radius, double startAngle, double endAngle, bool clockwise)
{
    BezierPath path;
    path.addArc(center, radius, startAngle, endAngle, clockwise);
    return path;
}

void BezierPath::moveTo(Point point)
{
    PathSegment segment;
    segment.kind = PathSegment::Kind::MoveTo;
    segment.point = point;
    m_segments.push_back(segment);
    m_current = point;
    m_subpathStart = point;
}

void BezierPath::lineTo(Point point)
{
    PathSegment segment;
    segment.kind = PathSegment::Kind::LineTo;
    segment.point = point;
    m_segments.push_back(segment);
    m_current = point;
}

void BezierPath::addArc(Point center, double radius, double startAngle, double endAngle, bool clockwise)
{
    PathSegment segment;
    segment.kind = PathSegment::Kind::Arc;
    segment.center = center;
    segment.radius = radius;
    segment.startAngle = startAngle;
    segment.endAngle = endAngle;
    segment.clockwise = clockwise;
    segment.point = { center.x + radius * std::cos(endAngle), center.y + radius * std::sin(endAngle) };
    if (m_segments.empty())
        m_subpathStart = { center.x + radius * std::cos(startAngle), center.y + radius * std::sin(startAngle) };
    m_segments.push_back(segment);
    m_current = segment.point;
}

void BezierPath::addCurve(Point to, Point control1, Point control2)
{
    PathSegment segment;
    segment.kind = PathSegment::Kind::CurveTo;
    segment.point = to;
    segment.control1 = control1;
    segment.control2 = control2;
    m_segments.push_back(segment);
    m_current = to;
}

void BezierPath::addQuadCurve(Point to, Point control)
{
    PathSegment segment;
    segment.kind = PathSegment::Kind::QuadCurveTo;
    segment.point = to;
    segment.control1 = control;
    m_segments.push_back(segment);
    m_current = to;
}

void BezierPath::closePath()
{
    PathSegment segment;
    segment.kind = PathSegment::Kind::Close;
    segment.point = m_subpathStart;
    m_segments.push_back(segment);
    m_current = m_subpathStart;
}

void BezierPath::append(const BezierPath& other)
{
    m_segments.insert(m_segments.end(), other.m_segments.begin(), other.m_segments.end());
    if (!other.m_segments.empty()) {
        m_current = other.m_current;
        m_subpathStart = other.m_subpathStart;
    }
}

void BezierPath::apply(const AffineTransform& transform)
{
    // Arcs keep their kind: the radius scales with the transform's mean scale and the
    // angles with its rotation. Exact for similarity transforms, which is what callers use.
    double scale = std::sqrt(std::fabs(transform.a * transform.d - transform.b * transform.c));
    double rotation = std::atan2(transform.b, transform.a);
    for (PathSegment& segment : m_segments) {
        segment.point = transform.apply(segment.point);
        segment.control1 = transform.apply(segment.control1);
        segment.control2 = transform.apply(segment.control2);
        if (segment.kind == PathSegment::Kind::Arc) {
            segment.center = transform.apply(segment.center);
            segment.radius *= scale;
            segment.startAngle += rotation;
            segment.endAngle += rotation;
        }
    }
    m_current = transform.apply(m_current);
    m_subpathStart = transform.apply(m_subpathStart);
}

namespace {

// Whether the arc from start to end in the given direction passes through angle.
bool arcPasses(double start, double end, bool clockwise, double angle)
{
    constexpr double twoPi = 2 * std::numbers::pi;
    auto normalize = [&](double value) {
        double r = std::fmod(value, twoPi);
        return r < 0 ? r + twoPi : r;
    };
    // Positive angles run clockwise on screen (y down), so "clockwise" sweeps upwards.
    double sweep = clockwise ? end - start : start - end;
    if (sweep >= twoPi || sweep <= -twoPi)
        return true;
    double from = clockwise ? normalize(start) : normalize(end);
    double length = normalize(clockwise ? end - start : start - end);
    double offset = normalize(angle - from);
    return offset <= length;
}

} // namespace

Rect BezierPath::bounds() const
{
    if (m_segments.empty())
        return {};
    bool first = true;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    auto include = [&](const Point& p) {
        if (first) {
            x1 = x2 = p.x;
            y1 = y2 = p.y;
            first = false;
            return;
        }
        x1 = std::min(x1, p.x);
        x2 = std::max(x2, p.x);
        y1 = std::min(y1, p.y);
        y2 = std::max(y2, p.y);
    };
    constexpr double pi = std::numbers::pi;
    for (const PathSegment& segment : m_segments) {
        switch (segment.kind) {
        case PathSegment::Kind::MoveTo:
        case PathSegment::Kind::LineTo:
        case PathSegment::Kind::Close:
            include(segment.point);
            break;
        case PathSegment::Kind::CurveTo:
            include(segment.control1);
            include(segment.control2);
            include(segment.point);
            break;
        case PathSegment::Kind::QuadCurveTo:
            include(segment.control1);
            include(segment.point);
            break;
        case PathSegment::Kind::Arc: {
            const Point& c = segment.center;
            double r = segment.radius;
            include({ c.x + r * std::cos(segment.startAngle), c.y + r * std::sin(segment.startAngle) });
            include(segment.point);
            for (double angle : { 0.0, pi / 2, pi, 3 * pi / 2 }) {
                if (arcPasses(segment.startAngle, segment.endAngle, segment.clockwise, angle))
                    include({ c.x + r * std::cos(angle), c.y + r * std::sin(angle) });
            }
            break;
        }
        }
    }
    return { x1, y1, x2 - x1, y2 - y1 };
}

bool operator==(const BezierPath& a, const BezierPath& b)
{
    return a.segments() == b.segments() && nearlyEqual(a.lineWidth(), b.lineWidth());
}

} // namespace ui
