#pragma once

// Points, sizes, rectangles, insets and affine transforms, in points.
//
// Equality compares with a small absolute tolerance (geometryTolerance) so that frames
// computed through transforms compare equal to the numbers a test writes down.

#include <cmath>
#include <iosfwd>
#include <string>

namespace ui {

inline constexpr double geometryTolerance = 1e-9;

inline bool nearlyEqual(double a, double b, double tolerance = geometryTolerance)
{
    return std::fabs(a - b) <= tolerance;
}

struct Point {
    double x = 0;
    double y = 0;

    constexpr Point() = default;
    constexpr Point(double x, double y)
        : x(x)
        , y(y)
    {
    }

    Point offsetBy(double dx, double dy) const { return { x + dx, y + dy }; }
    std::string toString() const;
};

bool operator==(const Point&, const Point&);
inline Point operator+(const Point& a, const Point& b) { return { a.x + b.x, a.y + b.y }; }
inline Point operator-(const Point& a, const Point& b) { return { a.x - b.x, a.y - b.y }; }

struct Size {
    double width = 0;
    double height = 0;

    constexpr Size() = default;
    constexpr Size(double width, double height)
        : width(width)
        , height(height)
    {
    }

    std::string toString() const;
};

bool operator==(const Size&, const Size&);

struct EdgeInsets {
    double top = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;

    constexpr EdgeInsets() = default;
    constexpr EdgeInsets(double top, double left, double bottom, double right)
        : top(top)
        , left(left)
        , bottom(bottom)
        , right(right)
    {
    }

    bool isZero() const;
    std::string toString() const;
};

bool operator==(const EdgeInsets&, const EdgeInsets&);

struct Rect {
    Point origin;
    Size size;

    constexpr Rect() = default;
    constexpr Rect(Point origin, Size size)
        : origin(origin)
        , size(size)
    {
    }
    constexpr Rect(double x, double y, double width, double height)
        : origin(x, y)
        , size(width, height)
    {
    }

    // The edges of the standardized rectangle (a negative width or height counts from
    // the other side), as the platform answers them.
    double minX() const;
    double midX() const;
    double maxX() const;
    double minY() const;
    double midY() const;
    double maxY() const;
    double width() const { return std::fabs(size.width); }
    double height() const { return std::fabs(size.height); }
    Point center() const { return { midX(), midY() }; }

    // No area: a zero width or height.
    bool isEmpty() const;
    Rect standardized() const;

    // Half-open: the max edges are outside.
    bool contains(const Point&) const;
    bool contains(const Rect&) const;
    bool intersects(const Rect&) const;
    // The empty rectangle at the origin when the two do not overlap.
    Rect intersection(const Rect&) const;
    // An empty operand is ignored.
    Rect unionWith(const Rect&) const;
    // Positive insets shrink. The result keeps a non-negative size.
    Rect insetBy(double dx, double dy) const;
    Rect insetBy(const EdgeInsets&) const;
    Rect offsetBy(double dx, double dy) const;
    // Smallest rectangle with integral edges that contains this one.
    Rect integral() const;

    std::string toString() const;
};

bool operator==(const Rect&, const Rect&);

// [ a  b  0 ]
// [ c  d  0 ]   applied to row vectors: x' = a*x + c*y + tx, y' = b*x + d*y + ty
// [ tx ty 1 ]
struct AffineTransform {
    double a = 1;
    double b = 0;
    double c = 0;
    double d = 1;
    double tx = 0;
    double ty = 0;

    static AffineTransform identity() { return {}; }
    static AffineTransform rotation(double radians);
    static AffineTransform scale(double sx, double sy);
    static AffineTransform translation(double tx, double ty);

    // This transform, then `other`.
    AffineTransform concat(const AffineTransform& other) const;
    AffineTransform rotated(double radians) const;
    AffineTransform scaled(double sx, double sy) const;
    AffineTransform translated(double tx, double ty) const;
    // Identity when the transform cannot be inverted.
    AffineTransform inverted() const;
    bool isInvertible() const;
    bool isIdentity() const;

    Point apply(const Point&) const;
    // The bounding box of the transformed corners.
    Rect apply(const Rect&) const;
    Size apply(const Size&) const;

    std::string toString() const;
};

bool operator==(const AffineTransform&, const AffineTransform&);

std::ostream& operator<<(std::ostream&, const Point&);
std::ostream& operator<<(std::ostream&, const Size&);
std::ostream& operator<<(std::ostream&, const Rect&);
std::ostream& operator<<(std::ostream&, const EdgeInsets&);
std::ostream& operator<<(std::ostream&, const AffineTransform&);

} // namespace ui
