#include "platform/ui/Geometry.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <ostream>

namespace ui {

namespace {

std::string formatNumber(double value)
{
    // Integers print without a fraction, others with up to 6 significant decimals, so that
    // dumps are stable and readable.
    if (nearlyEqual(value, std::round(value), 1e-9))
        value = std::round(value);
    if (value == 0)
        value = 0; // no "-0"
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    return buffer;
}

// "{a, b}": appended piece by piece, as "{" + std::string trips GCC 12's -Wrestrict in Release.
std::string bracketed(char open, std::initializer_list<std::string> parts, char close)
{
    std::string text(1, open);
    bool first = true;
    for (const auto& part : parts) {
        if (!first)
            text += ", ";
        first = false;
        text += part;
    }
    text += close;
    return text;
}

} // namespace

std::string Point::toString() const
{
    return bracketed('{', { formatNumber(x), formatNumber(y) }, '}');
}

bool operator==(const Point& a, const Point& b)
{
    return nearlyEqual(a.x, b.x) && nearlyEqual(a.y, b.y);
}

std::string Size::toString() const
{
    return bracketed('{', { formatNumber(width), formatNumber(height) }, '}');
}

bool operator==(const Size& a, const Size& b)
{
    return nearlyEqual(a.width, b.width) && nearlyEqual(a.height, b.height);
}

bool EdgeInsets::isZero() const
{
    return *this == EdgeInsets();
}

std::string EdgeInsets::toString() const
{
    return bracketed(
        '{', { formatNumber(top), formatNumber(left), formatNumber(bottom), formatNumber(right) }, '}');
}

bool operator==(const EdgeInsets& a, const EdgeInsets& b)
{
    return nearlyEqual(a.top, b.top) && nearlyEqual(a.left, b.left) && nearlyEqual(a.bottom, b.bottom)
        && nearlyEqual(a.right, b.right);
}

double Rect::minX() const { return size.width < 0 ? origin.x + size.width : origin.x; }
double Rect::maxX() const { return size.width < 0 ? origin.x : origin.x + size.width; }
double Rect::midX() const { return origin.x + size.width / 2; }
double Rect::minY() const { return size.height < 0 ? origin.y + size.height : origin.y; }
double Rect::maxY() const { return size.height < 0 ? origin.y : origin.y + size.height; }
double Rect::midY() const { return origin.y + size.height / 2; }

bool Rect::isEmpty() const
{
    return size.width == 0 || size.height == 0 || std::isnan(size.width) || std::isnan(size.height);
}

Rect Rect::standardized() const
{
    return { minX(), minY(), width(), height() };
}

bool Rect::contains(const Point& point) const
{
    if (isEmpty())
        return false;
    return point.x >= minX() && point.x < maxX() && point.y >= minY() && point.y < maxY();
}

bool Rect::contains(const Rect& other) const
{
    if (isEmpty() || other.isEmpty())
        return false;
    return other.minX() >= minX() && other.maxX() <= maxX() && other.minY() >= minY() && other.maxY() <= maxY();
}

bool Rect::intersects(const Rect& other) const
{
    return !intersection(other).isEmpty();
}

Rect Rect::intersection(const Rect& other) const
{
    if (isEmpty() || other.isEmpty())
        return {};
    double x1 = std::max(minX(), other.minX());
    double y1 = std::max(minY(), other.minY());
    double x2 = std::min(maxX(), other.maxX());
    double y2 = std::min(maxY(), other.maxY());
    if (x2 <= x1 || y2 <= y1)
        return {};
    return { x1, y1, x2 - x1, y2 - y1 };
}

Rect Rect::unionWith(const Rect& other) const
{
    if (isEmpty())
        return other.standardized();
    if (other.isEmpty())
        return standardized();
    double x1 = std::min(minX(), other.minX());
    double y1 = std::min(minY(), other.minY());
    double x2 = std::max(maxX(), other.maxX());
    double y2 = std::max(maxY(), other.maxY());
    return { x1, y1, x2 - x1, y2 - y1 };
}

Rect Rect::insetBy(double dx, double dy) const
{
    Rect r = standardized();
    double w = std::max(0.0, r.size.width - 2 * dx);
    double h = std::max(0.0, r.size.height - 2 * dy);
    return { r.origin.x + dx, r.origin.y + dy, w, h };
}

Rect Rect::insetBy(const EdgeInsets& insets) const
{
    Rect r = standardized();
    double w = std::max(0.0, r.size.width - insets.left - insets.right);
    double h = std::max(0.0, r.size.height - insets.top - insets.bottom);
    return { r.origin.x + insets.left, r.origin.y + insets.top, w, h };
}

Rect Rect::offsetBy(double dx, double dy) const
{
    return { origin.x + dx, origin.y + dy, size.width, size.height };
}

Rect Rect::integral() const
{
    if (isEmpty())
        return standardized();
    double x1 = std::floor(minX());
    double y1 = std::floor(minY());
    double x2 = std::ceil(maxX());
    double y2 = std::ceil(maxY());
    return { x1, y1, x2 - x1, y2 - y1 };
}

std::string Rect::toString() const
{
    return bracketed('{', { origin.toString(), size.toString() }, '}');
}

bool operator==(const Rect& a, const Rect& b)
{
    return a.origin == b.origin && a.size == b.size;
}

AffineTransform AffineTransform::rotation(double radians)
{
    double c = std::cos(radians);
    double s = std::sin(radians);
    // Snap the tiny residues of quarter turns so rotated frames come out exact.
    auto snap = [](double v) { return std::fabs(v) < 1e-12 ? 0.0 : v; };
    return { snap(c), snap(s), snap(-s), snap(c), 0, 0 };
}

AffineTransform AffineTransform::scale(double sx, double sy)
{
    return { sx, 0, 0, sy, 0, 0 };
}

AffineTransform AffineTransform::translation(double tx, double ty)
{
    return { 1, 0, 0, 1, tx, ty };
}

AffineTransform AffineTransform::concat(const AffineTransform& o) const
{
    return {
        a * o.a + b * o.c,
        a * o.b + b * o.d,
        c * o.a + d * o.c,
        c * o.b + d * o.d,
        tx * o.a + ty * o.c + o.tx,
        tx * o.b + ty * o.d + o.ty,
    };
}

AffineTransform AffineTransform::rotated(double radians) const
{
    return rotation(radians).concat(*this);
}

AffineTransform AffineTransform::scaled(double sx, double sy) const
{
    return scale(sx, sy).concat(*this);
}

AffineTransform AffineTransform::translated(double x, double y) const
{
    return translation(x, y).concat(*this);
}

bool AffineTransform::isInvertible() const
{
    double det = a * d - b * c;
    return std::isfinite(det) && std::fabs(det) > 1e-15;
}

AffineTransform AffineTransform::inverted() const
{
    if (!isInvertible())
        return identity();
    double det = a * d - b * c;
    AffineTransform r;
    r.a = d / det;
    r.b = -b / det;
    r.c = -c / det;
    r.d = a / det;
    r.tx = (c * ty - d * tx) / det;
    r.ty = (b * tx - a * ty) / det;
    return r;
}

bool AffineTransform::isIdentity() const
{
    return *this == identity();
}

Point AffineTransform::apply(const Point& p) const
{
    return { a * p.x + c * p.y + tx, b * p.x + d * p.y + ty };
}

Size AffineTransform::apply(const Size& s) const
{
    return { a * s.width + c * s.height, b * s.width + d * s.height };
}

Rect AffineTransform::apply(const Rect& r) const
{
    Rect s = r.standardized();
    Point corners[4] = {
        apply(Point(s.minX(), s.minY())),
        apply(Point(s.maxX(), s.minY())),
        apply(Point(s.minX(), s.maxY())),
        apply(Point(s.maxX(), s.maxY())),
    };
    double x1 = corners[0].x, x2 = corners[0].x, y1 = corners[0].y, y2 = corners[0].y;
    for (const Point& p : corners) {
        x1 = std::min(x1, p.x);
        x2 = std::max(x2, p.x);
        y1 = std::min(y1, p.y);
        y2 = std::max(y2, p.y);
    }
    return { x1, y1, x2 - x1, y2 - y1 };
}

std::string AffineTransform::toString() const
{
    return bracketed('[',
        { formatNumber(a), formatNumber(b), formatNumber(c), formatNumber(d), formatNumber(tx),
            formatNumber(ty) },
        ']');
}

bool operator==(const AffineTransform& x, const AffineTransform& y)
{
    return nearlyEqual(x.a, y.a) && nearlyEqual(x.b, y.b) && nearlyEqual(x.c, y.c) && nearlyEqual(x.d, y.d)
        && nearlyEqual(x.tx, y.tx) && nearlyEqual(x.ty, y.ty);
}

std::ostream& operator<<(std::ostream& out, const Point& v) { return out << v.toString(); }
std::ostream& operator<<(std::ostream& out, const Size& v) { return out << v.toString(); }
std::ostream& operator<<(std::ostream& out, const Rect& v) { return out << v.toString(); }
std::ostream& operator<<(std::ostream& out, const EdgeInsets& v) { return out << v.toString(); }
std::ostream& operator<<(std::ostream& out, const AffineTransform& v) { return out << v.toString(); }

} // namespace ui
