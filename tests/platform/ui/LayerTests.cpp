#include "platform/ui/Layer.h"

#include <gtest/gtest.h>

#include <numbers>

namespace ui {
namespace {

using std::numbers::pi;

std::vector<std::string> namesOf(const Layer& layer)
{
    std::vector<std::string> names;
    for (const auto& sublayer : layer.sublayers())
        names.push_back(sublayer->name());
    return names;
}

std::shared_ptr<Layer> named(const char* name)
{
    auto layer = Layer::create();
    layer->setName(name);
    return layer;
}

TEST(LayerTest, SublayerOrderingAndMoves)
{
    auto root = Layer::create();
    auto a = named("a"), b = named("b"), c = named("c"), d = named("d");
    root->addSublayer(a);
    root->addSublayer(b);
    root->insertSublayer(c, 0);
    root->insertSublayerAbove(d, a.get());
    EXPECT_EQ(namesOf(*root), (std::vector<std::string> { "c", "a", "d", "b" }));
    root->insertSublayerBelow(b, c.get());
    EXPECT_EQ(namesOf(*root), (std::vector<std::string> { "b", "c", "a", "d" }));
    auto other = Layer::create();
    other->addSublayer(a);
    EXPECT_EQ(namesOf(*root), (std::vector<std::string> { "b", "c", "d" }));
    EXPECT_EQ(a->superlayer(), other);
    // No cycles.
    a->addSublayer(other);
    EXPECT_TRUE(a->sublayers().empty());
    a->removeFromSuperlayer();
    EXPECT_EQ(a->superlayer(), nullptr);
    d->addSublayer(named("deep"));
    EXPECT_EQ(root->sublayerNamed("deep")->name(), "deep");
}

TEST(LayerTest, ShadowAndBorderDefaultsAndClamping)
{
    auto layer = Layer::create();
    EXPECT_DOUBLE_EQ(layer->shadowOpacity(), 0);
    EXPECT_EQ(layer->shadowOffset(), Size(0, -3));
    EXPECT_DOUBLE_EQ(layer->shadowRadius(), 3);
    layer->setShadowOpacity(0.7);
    layer->setShadowOffset({ 5, -2.5 });
    layer->setShadowRadius(4);
    layer->setOpacity(3);
    EXPECT_DOUBLE_EQ(layer->opacity(), 1);
    layer->setShadowPath(BezierPath::rect({ 0, 0, 10, 10 }));
    EXPECT_EQ(layer->shadowPath()->bounds(), Rect(0, 0, 10, 10));
}

TEST(BezierPathTest, SegmentsAndBounds)
{
    BezierPath path;
    path.moveTo({ 0, 0 });
    path.lineTo({ 10, 0 });
    path.addCurve({ 20, 10 }, { 15, 0 }, { 20, 5 });
    path.closePath();
    ASSERT_EQ(path.segments().size(), 4u);
    EXPECT_EQ(path.segments()[2].kind, PathSegment::Kind::CurveTo);
    EXPECT_EQ(path.segments()[3].point, Point(0, 0)); // closes to the start
    EXPECT_EQ(path.bounds(), Rect(0, 0, 20, 10));

    struct Case {
        const char* name;
        BezierPath path;
        Rect bounds;
    };
    const Case cases[] = {
        { "oval", BezierPath::ovalIn({ 10, 10, 20, 10 }), { 10, 10, 20, 10 } },
        { "rounded rect", BezierPath::roundedRect({ 0, 0, 40, 20 }, 5), { 0, 0, 40, 20 } },
        { "radius clamped to half the side", BezierPath::roundedRect({ 0, 0, 40, 20 }, 100),
            { 0, 0, 40, 20 } },
        { "half circle, clockwise from 0 to pi", BezierPath::arc({ 0, 0 }, 10, 0, pi, true),
            { -10, 0, 20, 10 } },
        { "the other half", BezierPath::arc({ 0, 0 }, 10, 0, pi, false), { -10, -10, 20, 10 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.path.bounds(), c.bounds);
    }
    BezierPath moved = BezierPath::rect({ 0, 0, 10, 10 });
    moved.apply(AffineTransform::translation(5, 5));
    EXPECT_EQ(moved.bounds(), Rect(5, 5, 10, 10));
}

TEST(ShapeLayerTest, DrawingProperties)
{
    auto shape = ShapeLayer::create();
    EXPECT_EQ(shape->fillColor(), Color::black());
    EXPECT_FALSE(shape->strokeColor().has_value());
    shape->setPath(BezierPath::ovalIn({ 0, 0, 6, 6 }));
    shape->setFillColor(std::nullopt);
    shape->setStrokeColor(Color::white());
    shape->setLineWidth(2);
    shape->setLineDashPattern({ 4, 2 });
    shape->setStrokeEnd(1.5);
    EXPECT_EQ(shape->lineDashPattern(), (std::vector<double> { 4, 2 }));
    EXPECT_DOUBLE_EQ(shape->strokeEnd(), 1);
    EXPECT_STREQ(shape->className(), "ShapeLayer");

    auto gradient = GradientLayer::create();
    EXPECT_EQ(gradient->startPoint(), Point(0.5, 0));
    gradient->setColors({ Color::white(), Color::black() });
    EXPECT_EQ(gradient->colors().size(), 2u);
}

} // namespace
} // namespace ui
