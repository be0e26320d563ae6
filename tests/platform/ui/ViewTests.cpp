#include "platform/ui/View.h"

#include "platform/base/RunLoop.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"

#include <gtest/gtest.h>

#include <numbers>
#include <string_view>

namespace ui {
namespace {

using std::numbers::pi;

std::vector<int> tagsOf(const View& view)
{
    std::vector<int> tags;
    for (const auto& subview : view.subviews())
        tags.push_back(subview->tag());
    return tags;
}

// The tags of the views owning the layer's sublayers, in order (0 for a plain layer).
std::vector<int> layerTagsOf(const View& view)
{
    std::vector<int> tags;
    for (const auto& layer : view.layer()->sublayers())
        tags.push_back(layer->owningView() ? layer->owningView()->tag() : 0);
    return tags;
}

std::shared_ptr<View> tagged(int tag, const Rect& frame = {})
{
    auto view = View::create(frame);
    view->setTag(tag);
    return view;
}

class ViewTest : public ::testing::Test {
protected:
    EnvironmentScope m_environment;
};

TEST_F(ViewTest, SubviewOrderAndInsertion)
{
    auto parent = View::create();
    auto a = tagged(1), b = tagged(2), c = tagged(3), d = tagged(4), e = tagged(5);
    parent->addSubview(a);
    parent->addSubview(b);
    parent->insertSubview(c, 0);
    EXPECT_EQ(tagsOf(*parent), (std::vector<int> { 3, 1, 2 }));
    parent->insertSubview(d, 99);
    parent->insertSubviewBelow(e, a.get());
    EXPECT_EQ(tagsOf(*parent), (std::vector<int> { 3, 5, 1, 2, 4 }));
    parent->bringSubviewToFront(c.get());
    parent->sendSubviewToBack(d.get());
    EXPECT_EQ(tagsOf(*parent), (std::vector<int> { 4, 5, 1, 2, 3 }));
    parent->insertSubviewAbove(a, b.get());
    EXPECT_EQ(tagsOf(*parent), (std::vector<int> { 4, 5, 2, 1, 3 }));
    // Adding a present subview again moves it to the front.
    parent->addSubview(d);
    EXPECT_EQ(tagsOf(*parent), (std::vector<int> { 5, 2, 1, 3, 4 }));
    EXPECT_EQ(d->indexInSuperview(), 4u);
    // The layers follow the subviews.
    EXPECT_EQ(layerTagsOf(*parent), tagsOf(*parent));
}

TEST_F(ViewTest, LayersAddedDirectlyKeepTheirPlaceAmongSubviewLayers)
{
    auto parent = View::create();
    auto a = tagged(1), b = tagged(2);
    parent->addSubview(a);
    parent->layer()->addSublayer(Layer::create());
    parent->addSubview(b);
    EXPECT_EQ(layerTagsOf(*parent), (std::vector<int> { 1, 0, 2 }));
    auto c = tagged(3);
    parent->insertSubview(c, 1);
    EXPECT_EQ(layerTagsOf(*parent), (std::vector<int> { 1, 0, 3, 2 }));
    b->removeFromSuperview();
    EXPECT_EQ(layerTagsOf(*parent), (std::vector<int> { 1, 0, 3 }));
}

TEST_F(ViewTest, MovingBetweenSuperviewsAndRefusingCycles)
{
    auto first = View::create();
    auto second = View::create();
    auto child = tagged(7);
    first->addSubview(child);
    second->addSubview(child);
    EXPECT_TRUE(first->subviews().empty());
    EXPECT_EQ(child->superview(), second);
    EXPECT_EQ(child->layer()->superlayer(), second->layer());

    // A view cannot become its own ancestor.
    child->addSubview(second);
    EXPECT_EQ(second->superview(), nullptr);
    child->addSubview(child);
    EXPECT_TRUE(child->subviews().empty());
    second->addSubview(nullptr);
    EXPECT_EQ(second->subviews().size(), 1u);

    child->removeFromSuperview();
    EXPECT_EQ(child->superview(), nullptr);
    EXPECT_EQ(child->layer()->superlayer(), nullptr);
    child->removeFromSuperview(); // harmless
}

TEST_F(ViewTest, HierarchyHooksRunInOrder)
{
    struct Recorder : View {
        static std::shared_ptr<Recorder> make() { return std::shared_ptr<Recorder>(new Recorder()); }
        void willMoveToSuperview(View* s) override { log.push_back(s ? "willMove" : "willMove(null)"); }
        void didMoveToSuperview() override { log.push_back(superview() ? "didMove" : "didMove(null)"); }
        void didAddSubview(View*) override { log.push_back("didAdd"); }
        void willRemoveSubview(View*) override { log.push_back("willRemove"); }
        std::vector<std::string> log;
    };
    auto parent = Recorder::make();
    auto child = Recorder::make();
    parent->addSubview(child);
    child->removeFromSuperview();
    EXPECT_EQ(
        child->log, (std::vector<std::string> { "willMove", "didMove", "willMove(null)", "didMove(null)" }));
    EXPECT_EQ(parent->log, (std::vector<std::string> { "didAdd", "willRemove" }));
}

TEST_F(ViewTest, ViewWithTagIsDepthFirstSelfFirst)
{
    auto root = tagged(1);
    auto left = tagged(2);
    auto deep = tagged(5);
    auto right = tagged(5);
    root->addSubview(left);
    left->addSubview(deep);
    root->addSubview(right);
    EXPECT_EQ(root->viewWithTag(1), root);
    // The one inside the first subtree wins over a later sibling with the same tag.
    EXPECT_EQ(root->viewWithTag(5), deep);
    EXPECT_EQ(right->viewWithTag(5), right);
    EXPECT_EQ(root->viewWithTag(42), nullptr);
    // Tag 0 is an ordinary tag: the root's child has it by default.
    auto plain = View::create();
    left->addSubview(plain);
    EXPECT_EQ(root->viewWithTag(0), plain);

    deep->setAccessibilityIdentifier("deep");
    EXPECT_EQ(root->viewWithAccessibilityIdentifier("deep"), deep);
    EXPECT_EQ(root->viewWithAccessibilityIdentifier("none"), nullptr);
}

TEST_F(ViewTest, FrameBoundsAndCenterStayConsistent)
{
    auto view = View::create({ 10, 20, 100, 50 });
    EXPECT_EQ(view->bounds(), Rect(0, 0, 100, 50));
    EXPECT_EQ(view->center(), Point(60, 45));
    view->setCenter({ 0, 0 });
    EXPECT_EQ(view->frame(), Rect(-50, -25, 100, 50));
    view->setBounds({ 5, 5, 40, 40 });
    EXPECT_EQ(view->frame(), Rect(-20, -20, 40, 40));
    // A transform changes the frame, not the bounds.
    view->setTransform(AffineTransform::scale(2, 2));
    EXPECT_EQ(view->frame(), Rect(-40, -40, 80, 80));
    EXPECT_EQ(view->bounds().size, Size(40, 40));
    view->setTransform(AffineTransform::rotation(pi / 2));
    view->setBounds({ 0, 0, 20, 10 });
    EXPECT_EQ(view->frame(), Rect(-5, -10, 10, 20));
    // The layer has the same geometry.
    EXPECT_EQ(view->layer()->frame(), view->frame());
}

TEST_F(ViewTest, FrameOfATransformedViewIsTheFrameItWasGiven)
{
    struct Case {
        const char* name;
        AffineTransform transform;
        Rect frame;
        Size bounds;
    };
    const Case cases[] = {
        { "quarter turn", AffineTransform::rotation(pi / 2), { 0, 35, 15, 30 }, { 30, 15 } },
        { "quarter turn back", AffineTransform::rotation(-pi / 2), { 185, 35, 15, 30 }, { 30, 15 } },
        { "half turn", AffineTransform::rotation(pi), { 10, 20, 30, 15 }, { 30, 15 } },
        { "scale", AffineTransform::scale(2, 3), { 0, 0, 40, 30 }, { 20, 10 } },
        { "mirror", AffineTransform::scale(-1, 1), { 5, 5, 40, 30 }, { 40, 30 } },
        // No single size turns into this box; the frame's own size is kept.
        { "eighth turn", AffineTransform::rotation(pi / 4), { 0, 0, 20, 20 }, { 20, 20 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto view = View::create({ 0, 0, 1, 1 });
        view->setTransform(c.transform);
        view->setFrame(c.frame);
        EXPECT_NEAR(view->bounds().size.width, c.bounds.width, 1e-6);
        EXPECT_NEAR(view->bounds().size.height, c.bounds.height, 1e-6);
        EXPECT_NEAR(view->center().x, c.frame.midX(), 1e-6);
        EXPECT_NEAR(view->center().y, c.frame.midY(), 1e-6);
        if (std::string_view(c.name) != "eighth turn") {
            EXPECT_NEAR(view->frame().size.width, c.frame.size.width, 1e-6);
            EXPECT_NEAR(view->frame().size.height, c.frame.size.height, 1e-6);
        }
    }
}

TEST_F(ViewTest, ConvertsThroughNestedOffsetAndTransformedViews)
{
    auto root = View::create({ 0, 0, 400, 400 });
    auto outer = View::create({ 100, 50, 200, 200 });
    auto inner = View::create({ 10, 20, 50, 40 });
    root->addSubview(outer);
    outer->addSubview(inner);

    EXPECT_EQ(inner->convertPointTo({ 0, 0 }, root.get()), Point(110, 70));
    EXPECT_EQ(inner->convertRectTo({ 0, 0, 50, 40 }, nullptr), Rect(110, 70, 50, 40));
    EXPECT_EQ(root->convertPointTo({ 110, 70 }, inner.get()), Point(0, 0));
    EXPECT_EQ(inner->convertPointFrom({ 110, 70 }, root.get()), Point(0, 0));
    EXPECT_EQ(inner->convertPointFrom({ 110, 70 }, nullptr), Point(0, 0));

    // Scrolling the outer view (its bounds origin) moves what is inside it.
    outer->setBounds({ 0, 30, 200, 200 });
    EXPECT_EQ(inner->convertPointTo({ 0, 0 }, root.get()), Point(110, 40));

    // A quarter turn of the outer view about its centre (200, 150).
    outer->setBounds({ 0, 0, 200, 200 });
    outer->setTransform(AffineTransform::rotation(pi / 2));
    // outer's (0, 0) is 100 left and 100 up of its centre; turned it is 100 right, 100 up.
    EXPECT_EQ(outer->convertPointTo({ 0, 0 }, root.get()), Point(300, 50));
    EXPECT_EQ(inner->convertRectTo({ 0, 0, 50, 40 }, root.get()), Rect(240, 60, 40, 50));
    EXPECT_EQ(root->convertRectTo({ 240, 60, 40, 50 }, inner.get()), Rect(0, 0, 50, 40));

    // Siblings in the same tree.
    auto other = View::create({ 0, 300, 10, 10 });
    root->addSubview(other);
    EXPECT_EQ(other->convertPointTo({ 0, 0 }, outer.get()), outer->convertPointFrom({ 0, 300 }, root.get()));

    // Separate trees convert through their roots' frames, as windows on one screen.
    auto otherRoot = View::create({ 1000, 0, 100, 100 });
    auto loose = View::create({ 5, 5, 10, 10 });
    otherRoot->addSubview(loose);
    EXPECT_EQ(loose->convertPointTo({ 0, 0 }, root.get()), Point(1005, 5));
}

TEST_F(ViewTest, HitTestingSkipsHiddenTransparentAndNonInteractiveViews)
{
    auto root = View::create({ 0, 0, 100, 100 });
    auto back = tagged(1, { 0, 0, 100, 100 });
    auto front = tagged(2, { 0, 0, 50, 50 });
    auto child = tagged(3, { 10, 10, 10, 10 });
    root->addSubview(back);
    root->addSubview(front);
    front->addSubview(child);

    EXPECT_EQ(root->hitTest({ 15, 15 }), child);
    EXPECT_EQ(root->hitTest({ 30, 30 }), front);
    EXPECT_EQ(root->hitTest({ 70, 70 }), back);
    EXPECT_EQ(root->hitTest({ 150, 10 }), nullptr);

    struct Case {
        const char* name;
        std::function<void()> change;
        std::function<void()> undo;
    };
    const Case cases[] = {
        { "hidden", [&] { front->setHidden(true); }, [&] { front->setHidden(false); } },
        { "alpha below 0.01", [&] { front->setAlpha(0.005); }, [&] { front->setAlpha(1); } },
        { "interaction off", [&] { front->setUserInteractionEnabled(false); },
            [&] { front->setUserInteractionEnabled(true); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.change();
        // The view and its subviews drop out; what is behind is found.
        EXPECT_EQ(root->hitTest({ 15, 15 }), back);
        c.undo();
    }
    front->setAlpha(0.01);
    EXPECT_EQ(root->hitTest({ 15, 15 }), child);

    // Subviews outside their superview's bounds cannot be hit through it.
    auto outside = tagged(4, { 60, 60, 10, 10 });
    front->addSubview(outside);
    EXPECT_EQ(root->hitTest({ 65, 65 }), back);
}

TEST_F(ViewTest, HitTestingFollowsTransforms)
{
    auto root = View::create({ 0, 0, 100, 100 });
    auto bar = View::create({ 40, 0, 20, 100 });
    root->addSubview(bar);
    EXPECT_EQ(root->hitTest({ 10, 50 }), root);
    bar->setTransform(AffineTransform::rotation(pi / 2)); // now lies across
    EXPECT_EQ(root->hitTest({ 10, 50 }), bar);
    EXPECT_EQ(root->hitTest({ 50, 10 }), root);
}

TEST_F(ViewTest, SafeAreaComesFromTheKeyWindowOrExplicitInsets)
{
    auto& environment = Environment::current();
    environment.setScreenSize({ 375, 812 });
    environment.setSafeAreaInsets({ 44, 0, 34, 0 });
    auto window = environment.makeKeyWindow();
    auto full = View::create({ 0, 0, 375, 812 });
    auto middle = View::create({ 0, 100, 375, 100 });
    auto bottom = View::create({ 0, 800, 375, 12 });
    window->addSubview(full);
    window->addSubview(middle);
    window->addSubview(bottom);

    EXPECT_EQ(window->safeAreaInsets(), EdgeInsets(44, 0, 34, 0));
    EXPECT_EQ(full->safeAreaInsets(), EdgeInsets(44, 0, 34, 0));
    EXPECT_EQ(middle->safeAreaInsets(), EdgeInsets());
    EXPECT_EQ(bottom->safeAreaInsets(), EdgeInsets(0, 0, 12, 0));
    EXPECT_EQ(full->safeAreaLayoutGuide()->layoutFrame(), Rect(0, 44, 375, 734));

    // An explicit value wins and is what its subviews measure against.
    full->setSafeAreaInsets(EdgeInsets(10, 20, 30, 40));
    auto inner = View::create({ 0, 0, 100, 100 });
    full->addSubview(inner);
    EXPECT_EQ(inner->safeAreaInsets(), EdgeInsets(10, 20, 0, 0));

    // Out of any window, and with no ancestor that sets insets: none.
    auto loose = View::create({ 0, 0, 10, 10 });
    EXPECT_EQ(loose->safeAreaInsets(), EdgeInsets());
    EXPECT_EQ(middle->window(), window);
    EXPECT_EQ(loose->window(), nullptr);
    EXPECT_TRUE(middle->isInWindow());
}

TEST_F(ViewTest, AutoresizingFollowsTheMask)
{
    auto parent = View::create({ 0, 0, 100, 100 });
    struct Case {
        AutoresizingMask mask;
        Rect before;
        Rect after;
    };
    const Case cases[] = {
        { AutoresizingMask::None, { 10, 10, 20, 20 }, { 10, 10, 20, 20 } },
        { AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight, { 10, 10, 80, 80 },
            { 10, 10, 180, 130 } },
        { AutoresizingMask::FlexibleLeftMargin | AutoresizingMask::FlexibleTopMargin, { 10, 10, 80, 80 },
            { 110, 60, 80, 80 } },
        // Shared in proportion: left margin 20 and width 60 take 1/4 and 3/4 of +100.
        { AutoresizingMask::FlexibleLeftMargin | AutoresizingMask::FlexibleWidth, { 20, 0, 60, 100 },
            { 45, 0, 135, 150 } },
    };
    std::vector<std::shared_ptr<View>> children;
    for (const Case& c : cases) {
        auto child = View::create(c.before);
        child->setAutoresizingMask(c.mask);
        if (c.mask == (AutoresizingMask::FlexibleLeftMargin | AutoresizingMask::FlexibleWidth))
            child->setAutoresizingMask(c.mask | AutoresizingMask::FlexibleHeight);
        parent->addSubview(child);
        children.push_back(child);
    }
    parent->setFrame({ 0, 0, 200, 150 });
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(children[i]->frame(), cases[i].after);
    }
    // Views laid out by constraints are left alone.
    auto constrained = View::create({ 0, 0, 10, 10 });
    constrained->setAutoresizingMask(AutoresizingMask::FlexibleWidth);
    constrained->setTranslatesAutoresizingMaskIntoConstraints(false);
    parent->addSubview(constrained);
    parent->setFrame({ 0, 0, 300, 150 });
    EXPECT_EQ(constrained->frame(), Rect(0, 0, 10, 10));
}

TEST_F(ViewTest, LayoutRunsOnlyWhenNeededAndReachesSubviews)
{
    struct Counting : View {
        static std::shared_ptr<Counting> make() { return std::shared_ptr<Counting>(new Counting()); }
        void layoutSubviews() override { ++runs; }
        int runs = 0;
    };
    auto parent = Counting::make();
    auto child = Counting::make();
    parent->addSubview(child);
    parent->layoutIfNeeded();
    EXPECT_EQ(parent->runs, 1);
    EXPECT_EQ(child->runs, 1);
    parent->layoutIfNeeded();
    EXPECT_EQ(parent->runs, 1);
    // A size change asks for layout; a move does not.
    child->setCenter({ 50, 50 });
    parent->layoutIfNeeded();
    EXPECT_EQ(child->runs, 1);
    child->setFrame({ 0, 0, 30, 30 });
    parent->layoutIfNeeded();
    EXPECT_EQ(child->runs, 2);
    child->setNeedsLayout();
    parent->layoutIfNeeded();
    EXPECT_EQ(child->runs, 3);
    EXPECT_EQ(child->layoutCount(), 3);
}

TEST_F(ViewTest, TintIsInheritedUntilSet)
{
    auto parent = View::create();
    auto child = View::create();
    parent->addSubview(child);
    EXPECT_EQ(child->tintColor(), Color::systemBlue());
    parent->setTintColor(Color::red());
    EXPECT_EQ(child->tintColor(), Color::red());
    child->setTintColor(Color::green());
    EXPECT_EQ(child->tintColor(), Color::green());
}

TEST_F(ViewTest, AccessibilityElementsAreHeldWeakly)
{
    auto container = View::create();
    EXPECT_FALSE(container->accessibilityElements().has_value());
    auto a = View::create();
    {
        auto b = View::create();
        container->setAccessibilityElements(std::vector<std::shared_ptr<View>> { a, b });
        EXPECT_EQ(container->accessibilityElements()->size(), 2u);
    }
    EXPECT_EQ(*container->accessibilityElements(), std::vector<std::shared_ptr<View>> { a });
    container->setAccessibilityTraits(AccessibilityTraits::Header | AccessibilityTraits::Button);
    EXPECT_TRUE(hasFlags(container->accessibilityTraits(), AccessibilityTraits::Header));
    EXPECT_FALSE(hasFlags(container->accessibilityTraits(), AccessibilityTraits::Selected));
    EXPECT_FALSE(container->isAccessibilityElement());
}

TEST_F(ViewTest, TearingDownATreeFreesEveryView)
{
    std::weak_ptr<View> weakChild;
    std::weak_ptr<View> weakGrandChild;
    std::weak_ptr<GestureRecognizer> weakRecognizer;
    {
        auto root = View::create();
        auto child = View::create();
        auto grandChild = View::create();
        root->addSubview(child);
        child->addSubview(grandChild);
        auto recognizer = TapGestureRecognizer::create([child](GestureRecognizer&) {});
        grandChild->addGestureRecognizer(recognizer);
        // A constraint between a child and its ancestor is held by the ancestor.
        child->topAnchor().constraintEqualTo(root->topAnchor())->setActive(true);
        grandChild->safeAreaLayoutGuide()->topAnchor().constraintEqualTo(child->topAnchor())->setActive(true);
        weakChild = child;
        weakGrandChild = grandChild;
        weakRecognizer = recognizer;
        // The recogniser's action captures `child`; the view holds the recogniser, so this
        // is a cycle that only removing the recogniser breaks, as on the platform. Drop it.
        grandChild->removeGestureRecognizer(recognizer.get());
    }
    EXPECT_TRUE(weakChild.expired());
    EXPECT_TRUE(weakGrandChild.expired());
    EXPECT_TRUE(weakRecognizer.expired());
}

TEST_F(ViewTest, PropertyObserversSeeChangesAndCanRemoveThemselves)
{
    auto view = View::create();
    std::vector<std::string> seen;
    uint64_t all
        = view->addPropertyObserver("", [&](View&, const std::string& key) { seen.push_back("*" + key); });
    uint64_t once = 0;
    once = view->addPropertyObserver("frame", [&](View& v, const std::string& key) {
        seen.push_back(key);
        v.removePropertyObserver(once);
    });
    view->setFrame({ 0, 0, 1, 1 });
    view->setFrame({ 0, 0, 2, 2 });
    view->setBounds({ 0, 0, 3, 3 });
    view->removePropertyObserver(all);
    view->setFrame({ 0, 0, 4, 4 });
    EXPECT_EQ(seen, (std::vector<std::string> { "*frame", "frame", "*frame", "*bounds" }));
}

TEST_F(ViewTest, EndEditingResignsTheFirstResponderInsideOnly)
{
    struct Editable : View {
        static std::shared_ptr<Editable> make() { return std::shared_ptr<Editable>(new Editable()); }
        bool canBecomeFirstResponder() const override { return true; }
        bool becomeFirstResponder() override
        {
            setCurrentFirstResponder(shared_from_this());
            return true;
        }
        bool canResignFirstResponder() const override { return allowResign; }
        bool allowResign = true;
    };
    auto root = View::create();
    auto form = View::create();
    auto elsewhere = View::create();
    auto field = Editable::make();
    root->addSubview(form);
    root->addSubview(elsewhere);
    form->addSubview(field);
    field->becomeFirstResponder();
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_TRUE(elsewhere->endEditing(false));
    EXPECT_TRUE(field->isFirstResponder());

    field->allowResign = false;
    EXPECT_FALSE(form->endEditing(false));
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_TRUE(form->endEditing(true));
    EXPECT_FALSE(field->isFirstResponder());

    // Removing the responder from the tree resigns it too.
    field->allowResign = true;
    field->becomeFirstResponder();
    field->removeFromSuperview();
    EXPECT_EQ(View::currentFirstResponder(), nullptr);
}

TEST_F(ViewTest, NextResponderIsTheOwningControllerElseTheSuperview)
{
    auto parent = View::create();
    auto child = View::create();
    parent->addSubview(child);
    EXPECT_EQ(child->nextResponder(), parent.get());
    auto controller = std::make_shared<Responder>();
    child->setOwningController(controller);
    EXPECT_EQ(child->nextResponder(), controller.get());
    controller.reset();
    EXPECT_EQ(child->nextResponder(), parent.get());
}

} // namespace
} // namespace ui
