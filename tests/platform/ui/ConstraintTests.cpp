#include "platform/ui/Constraint.h"

#include "platform/ui/Environment.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

class ConstraintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = View::create({ 0, 0, 320, 480 });
        m_bar = View::create();
        m_label = View::create();
        m_root->addSubview(m_bar);
        m_bar->addSubview(m_label);
    }

    EnvironmentScope m_environment;
    std::shared_ptr<View> m_root;
    std::shared_ptr<View> m_bar;
    std::shared_ptr<View> m_label;
};

TEST_F(ConstraintTest, AnchorsMakeInactiveConstraintsWithTheirData)
{
    auto c = m_bar->topAnchor().constraintEqualTo(m_root->safeAreaLayoutGuide()->topAnchor(), -80);
    EXPECT_FALSE(c->isActive());
    EXPECT_EQ(c->firstItem().get(), static_cast<LayoutItem*>(m_bar.get()));
    EXPECT_EQ(c->firstAttribute(), LayoutAttribute::Top);
    EXPECT_EQ(c->relation(), LayoutRelation::Equal);
    EXPECT_EQ(c->secondItem(), m_root->safeAreaLayoutGuide());
    EXPECT_EQ(c->secondAttribute(), LayoutAttribute::Top);
    EXPECT_DOUBLE_EQ(c->multiplier(), 1);
    EXPECT_DOUBLE_EQ(c->constant(), -80);
    EXPECT_EQ(c->priority(), LayoutPriority::required);

    struct Case {
        ConstraintPtr constraint;
        LayoutRelation relation;
        bool hasSecond;
        double multiplier;
        double constant;
    };
    const Case cases[] = {
        { m_bar->heightAnchor().constraintEqualToConstant(50), LayoutRelation::Equal, false, 1, 50 },
        { m_bar->widthAnchor().constraintGreaterThanOrEqualToConstant(10), LayoutRelation::GreaterThanOrEqual,
            false, 1, 10 },
        { m_bar->widthAnchor().constraintEqualTo(m_root->widthAnchor(), 0.5, 4), LayoutRelation::Equal, true,
            0.5, 4 },
        { m_bar->leadingAnchor().constraintLessThanOrEqualTo(m_root->leadingAnchor(), 2),
            LayoutRelation::LessThanOrEqual, true, 1, 2 },
        { m_bar->trailingAnchor().constraintGreaterThanOrEqualTo(m_root->trailingAnchor()),
            LayoutRelation::GreaterThanOrEqual, true, 1, 0 },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.constraint->description());
        EXPECT_EQ(k.constraint->relation(), k.relation);
        EXPECT_EQ(k.constraint->hasSecondItem(), k.hasSecond);
        EXPECT_DOUBLE_EQ(k.constraint->multiplier(), k.multiplier);
        EXPECT_DOUBLE_EQ(k.constraint->constant(), k.constant);
    }
}

TEST_F(ConstraintTest, ActiveConstraintsAreHeldByTheNearestCommonAncestor)
{
    auto pinned = m_label->leadingAnchor().constraintEqualTo(m_bar->leadingAnchor(), 8);
    auto height = m_label->heightAnchor().constraintEqualToConstant(20);
    auto across = m_label->topAnchor().constraintEqualTo(m_root->topAnchor());
    Constraint::activate({ pinned, height, across });
    EXPECT_EQ(pinned->holder(), m_bar);
    EXPECT_EQ(height->holder(), m_label);
    EXPECT_EQ(across->holder(), m_root);
    EXPECT_EQ(m_bar->constraints(), std::vector<ConstraintPtr> { pinned });

    Constraint::deactivate({ pinned });
    EXPECT_FALSE(pinned->isActive());
    EXPECT_EQ(pinned->holder(), nullptr);
    EXPECT_TRUE(m_bar->constraints().empty());
}

TEST_F(ConstraintTest, FoundAgainByItemAndAttribute)
{
    auto top = m_bar->topAnchor().constraintEqualTo(m_root->topAnchor(), -80);
    auto bottomOfLabel = m_bar->bottomAnchor().constraintEqualTo(m_label->bottomAnchor(), 4);
    auto height = m_bar->heightAnchor().constraintEqualToConstant(50);
    auto inactive = m_bar->topAnchor().constraintEqualTo(m_root->topAnchor(), 10);
    Constraint::activate({ top, bottomOfLabel, height });

    EXPECT_EQ(m_bar->constraintAffecting(LayoutAttribute::Top), top);
    EXPECT_EQ(m_bar->constraintWithFirstAttribute(LayoutAttribute::Height), height);
    EXPECT_EQ(m_root->constraintAffecting(LayoutAttribute::Top), top);
    EXPECT_EQ(m_label->constraintAffecting(LayoutAttribute::Bottom), bottomOfLabel);
    // The label is only the second item of its bottom constraint.
    EXPECT_EQ(m_label->constraintWithFirstAttribute(LayoutAttribute::Bottom), nullptr);
    EXPECT_EQ(m_bar->constraintsAffecting(), (std::vector<ConstraintPtr> { top, bottomOfLabel, height }));
    EXPECT_EQ(m_bar->constraintAffecting(LayoutAttribute::Leading), nullptr);

    // Changing the constant through the found constraint is what the owner does.
    m_bar->constraintAffecting(LayoutAttribute::Top)->setConstant(-0.4);
    EXPECT_DOUBLE_EQ(top->constant(), -0.4);
    (void)inactive;
}

TEST_F(ConstraintTest, SafeAreaGuideConstraintsAreFoundThroughTheGuide)
{
    auto guide = m_root->safeAreaLayoutGuide();
    EXPECT_EQ(guide, m_root->safeAreaLayoutGuide());
    auto c = m_bar->bottomAnchor().constraintEqualTo(guide->bottomAnchor(), 54);
    c->setActive(true);
    EXPECT_EQ(c->holder(), m_root);
    EXPECT_EQ(guide->constraintAffecting(LayoutAttribute::Bottom), c);
    EXPECT_EQ(guide->constraintAffecting(LayoutAttribute::Top), nullptr);
}

TEST_F(ConstraintTest, RemovingAViewDropsConstraintsThatLeaveItsSubtree)
{
    auto outside = m_label->topAnchor().constraintEqualTo(m_root->topAnchor());
    auto inside = m_label->leadingAnchor().constraintEqualTo(m_bar->leadingAnchor());
    auto own = m_bar->heightAnchor().constraintEqualToConstant(50);
    Constraint::activate({ outside, inside, own });
    m_bar->removeFromSuperview();
    EXPECT_FALSE(outside->isActive());
    EXPECT_TRUE(inside->isActive());
    EXPECT_TRUE(own->isActive());
    EXPECT_TRUE(m_root->constraints().empty());

    // A view without subviews: what names it or its guide goes, its neighbours' stay.
    auto leaf = View::create();
    auto neighbour = View::create();
    m_root->addSubview(leaf);
    m_root->addSubview(neighbour);
    auto named = leaf->topAnchor().constraintEqualTo(m_root->topAnchor());
    auto throughGuide = neighbour->bottomAnchor().constraintEqualTo(leaf->safeAreaLayoutGuide()->topAnchor());
    auto unrelated = neighbour->topAnchor().constraintEqualTo(m_root->topAnchor());
    Constraint::activate({ named, throughGuide, unrelated });
    leaf->removeFromSuperview();
    EXPECT_FALSE(named->isActive());
    EXPECT_FALSE(throughGuide->isActive());
    EXPECT_TRUE(unrelated->isActive());
}

TEST_F(ConstraintTest, ItemsWithoutACommonAncestorStillActivate)
{
    auto stranger = View::create();
    auto c = stranger->topAnchor().constraintEqualTo(m_bar->topAnchor());
    c->setActive(true);
    EXPECT_TRUE(c->isActive());
    EXPECT_EQ(c->holder(), nullptr);
    EXPECT_EQ(stranger->constraintAffecting(LayoutAttribute::Top), c);
    c->setActive(false);
    EXPECT_EQ(stranger->constraintAffecting(LayoutAttribute::Top), nullptr);
}

TEST_F(ConstraintTest, ConstraintsNeverKeepTheirViewsAlive)
{
    std::weak_ptr<View> weakStranger;
    ConstraintPtr c;
    {
        auto stranger = View::create();
        weakStranger = stranger;
        c = stranger->widthAnchor().constraintEqualTo(m_root->widthAnchor());
        c->setActive(true);
    }
    EXPECT_TRUE(weakStranger.expired());
    EXPECT_EQ(c->firstItem(), nullptr);
    EXPECT_FALSE(c->involves(m_root.get(), LayoutAttribute::Top));
    EXPECT_NE(c->description().find("(gone)"), std::string::npos);
    // Activating a constraint whose item is gone does nothing.
    c->setActive(false);
    c->setActive(true);
    EXPECT_FALSE(c->isActive());
}

TEST_F(ConstraintTest, AddConstraintMakesTheViewTheHolder)
{
    auto c = m_label->widthAnchor().constraintEqualToConstant(30);
    m_bar->addConstraint(c);
    EXPECT_TRUE(c->isActive());
    EXPECT_EQ(c->holder(), m_bar);
    m_bar->removeConstraint(c.get());
    EXPECT_FALSE(c->isActive());
}

struct VisualExpectation {
    std::string first;
    LayoutAttribute firstAttribute;
    LayoutRelation relation;
    std::string second; // "" for none
    LayoutAttribute secondAttribute;
    double constant;
};

TEST_F(ConstraintTest, VisualFormat)
{
    auto other = View::create();
    m_bar->addSubview(other);
    std::map<std::string, std::shared_ptr<View>> views { { "v", m_label }, { "a", m_label }, { "b", other } };
    std::map<std::string, double> metrics { { "m", 12 }, { "h", 44 } };
    auto nameOf = [&](const std::shared_ptr<LayoutItem>& item) -> std::string {
        if (!item)
            return "";
        if (item.get() == static_cast<LayoutItem*>(m_bar.get()))
            return "super";
        for (const auto& [name, view] : views) {
            if (item.get() == static_cast<LayoutItem*>(view.get()))
                return name == "v" ? "a" : name;
        }
        return "?";
    };
    using A = LayoutAttribute;
    using R = LayoutRelation;
    struct Case {
        const char* format;
        std::vector<VisualExpectation> expected;
    };
    const Case cases[] = {
        { "H:|[v]|",
            { { "a", A::Leading, R::Equal, "super", A::Leading, 0 },
                { "super", A::Trailing, R::Equal, "a", A::Trailing, 0 } } },
        { "V:|-(m)-[v(h)]-|",
            { { "a", A::Top, R::Equal, "super", A::Top, 12 },
                { "a", A::Height, R::Equal, "", A::NotAnAttribute, 44 },
                { "super", A::Bottom, R::Equal, "a", A::Bottom, 20 } } },
        { "H:|-0-[a]-0-|",
            { { "a", A::Leading, R::Equal, "super", A::Leading, 0 },
                { "super", A::Trailing, R::Equal, "a", A::Trailing, 0 } } },
        { "H:[a]-[b(==a)]",
            { { "b", A::Leading, R::Equal, "a", A::Trailing, 8 },
                { "b", A::Width, R::Equal, "a", A::Width, 0 } } },
        { "[a(>=30,<=m)]-(>=5)-[b]",
            { { "a", A::Width, R::GreaterThanOrEqual, "", A::NotAnAttribute, 30 },
                { "a", A::Width, R::LessThanOrEqual, "", A::NotAnAttribute, 12 },
                { "b", A::Leading, R::GreaterThanOrEqual, "a", A::Trailing, 5 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        auto made = Constraint::constraintsWithVisualFormat(c.format, metrics, views);
        ASSERT_EQ(made.size(), c.expected.size());
        for (size_t i = 0; i < made.size(); ++i) {
            SCOPED_TRACE(made[i]->description());
            EXPECT_FALSE(made[i]->isActive());
            EXPECT_EQ(nameOf(made[i]->firstItem()), c.expected[i].first);
            EXPECT_EQ(made[i]->firstAttribute(), c.expected[i].firstAttribute);
            EXPECT_EQ(made[i]->relation(), c.expected[i].relation);
            EXPECT_EQ(nameOf(made[i]->secondItem()), c.expected[i].second);
            EXPECT_EQ(made[i]->secondAttribute(), c.expected[i].secondAttribute);
            EXPECT_DOUBLE_EQ(made[i]->constant(), c.expected[i].constant);
        }
    }
    auto prioritised = Constraint::constraintsWithVisualFormat("H:[a(44@750)]", metrics, views);
    ASSERT_EQ(prioritised.size(), 1u);
    EXPECT_EQ(prioritised[0]->priority(), 750);
}

TEST_F(ConstraintTest, UnreadableVisualFormatsMakeNothing)
{
    std::map<std::string, std::shared_ptr<View>> views { { "v", m_label }, { "loose", View::create() } };
    for (const char* format : { "", "H:", "H:|[missing]|", "H:|[v", "H:|-(nometric)-[v]", "H:|[v(==)]|",
             "H:|[v]-", "H:|[loose]|", "Q:|[v]|", "H:|[v]|junk" }) {
        SCOPED_TRACE(format);
        EXPECT_TRUE(Constraint::constraintsWithVisualFormat(format, {}, views).empty());
    }
}

} // namespace
} // namespace ui
