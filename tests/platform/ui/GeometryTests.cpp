#include "platform/ui/Geometry.h"

#include <gtest/gtest.h>

#include <numbers>

namespace ui {
namespace {

using std::numbers::pi;

TEST(RectTest, EdgesOfStandardAndNegativeRects)
{
    struct Case {
        Rect rect;
        double minX, midX, maxX, minY, midY, maxY;
    };
    const Case cases[] = {
        { { 10, 20, 30, 40 }, 10, 25, 40, 20, 40, 60 },
        // A negative size counts from the other side.
        { { 40, 60, -30, -40 }, 10, 25, 40, 20, 40, 60 },
        { { 0, 0, 0, 0 }, 0, 0, 0, 0, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rect.toString());
        EXPECT_DOUBLE_EQ(c.rect.minX(), c.minX);
        EXPECT_DOUBLE_EQ(c.rect.midX(), c.midX);
        EXPECT_DOUBLE_EQ(c.rect.maxX(), c.maxX);
        EXPECT_DOUBLE_EQ(c.rect.minY(), c.minY);
        EXPECT_DOUBLE_EQ(c.rect.midY(), c.midY);
        EXPECT_DOUBLE_EQ(c.rect.maxY(), c.maxY);
    }
    EXPECT_EQ(Rect(40, 60, -30, -40).standardized(), Rect(10, 20, 30, 40));
}

TEST(RectTest, ContainmentIsHalfOpen)
{
    Rect r(0, 0, 10, 10);
    EXPECT_TRUE(r.contains(Point(0, 0)));
    EXPECT_TRUE(r.contains(Point(9.99, 9.99)));
    EXPECT_FALSE(r.contains(Point(10, 5)));
    EXPECT_FALSE(r.contains(Point(5, 10)));
    EXPECT_FALSE(Rect(0, 0, 0, 10).contains(Point(0, 0)));
    EXPECT_TRUE(r.contains(Rect(2, 2, 8, 8)));
    EXPECT_FALSE(r.contains(Rect(2, 2, 9, 8)));
}

TEST(RectTest, IntersectionUnionAndInsets)
{
    Rect a(0, 0, 10, 10);
    Rect b(5, 5, 10, 10);
    EXPECT_EQ(a.intersection(b), Rect(5, 5, 5, 5));
    EXPECT_TRUE(a.intersects(b));
    // Touching edges do not overlap.
    EXPECT_FALSE(a.intersects(Rect(10, 0, 5, 5)));
    EXPECT_TRUE(a.intersection(Rect(20, 20, 5, 5)).isEmpty());
    EXPECT_EQ(a.unionWith(b), Rect(0, 0, 15, 15));
    // An empty operand is ignored rather than stretching the union to the origin.
    EXPECT_EQ(Rect(5, 5, 2, 2).unionWith(Rect()), Rect(5, 5, 2, 2));

    EXPECT_EQ(a.insetBy(2, 3), Rect(2, 3, 6, 4));
    EXPECT_EQ(a.insetBy(EdgeInsets(1, 2, 3, 4)), Rect(2, 1, 4, 6));
    // Over-insetting never produces a negative size.
    EXPECT_EQ(a.insetBy(8, 8).size, Size(0, 0));
    EXPECT_EQ(a.offsetBy(3, -4), Rect(3, -4, 10, 10));
    EXPECT_EQ(Rect(0.5, 0.2, 1.2, 1.2).integral(), Rect(0, 0, 2, 2));
}

TEST(AffineTransformTest, ApplyAndCompose)
{
    AffineTransform rotate = AffineTransform::rotation(pi / 2);
    // Screen coordinates: a quarter turn takes +x to +y.
    EXPECT_EQ(rotate.apply(Point(1, 0)), Point(0, 1));
    EXPECT_EQ(rotate.apply(Rect(0, 0, 20, 10)), Rect(-10, 0, 10, 20));

    // concat: this transform first, then the other.
    AffineTransform scaleThenMove = AffineTransform::scale(2, 3).concat(AffineTransform::translation(10, 20));
    EXPECT_EQ(scaleThenMove.apply(Point(1, 1)), Point(12, 23));
    AffineTransform moveThenScale = AffineTransform::translation(10, 20).concat(AffineTransform::scale(2, 3));
    EXPECT_EQ(moveThenScale.apply(Point(1, 1)), Point(22, 63));

    AffineTransform any
        = AffineTransform::rotation(0.3).concat(AffineTransform::translation(5, -7)).scaled(2, 0.5);
    EXPECT_EQ(any.concat(any.inverted()), AffineTransform::identity());
    EXPECT_TRUE(AffineTransform().isIdentity());
    EXPECT_FALSE(rotate.isIdentity());

    // A singular transform has no inverse; answering the identity keeps callers safe.
    EXPECT_FALSE(AffineTransform::scale(0, 1).isInvertible());
    EXPECT_TRUE(AffineTransform::scale(0, 1).inverted().isIdentity());
}

TEST(GeometryTest, EqualityToleratesRoundingNoise)
{
    EXPECT_EQ(Point(0.1 + 0.2, 1), Point(0.3, 1));
    EXPECT_NE(Point(0.3001, 1), Point(0.3, 1));
    EXPECT_EQ(Rect(1, 2, 3, 4).toString(), "{{1, 2}, {3, 4}}");
    EXPECT_EQ(Point(-0.0, 0.5).toString(), "{0, 0.5}");
}

} // namespace
} // namespace ui
