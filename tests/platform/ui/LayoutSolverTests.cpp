#include "platform/ui/LayoutSolver.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace ui {
namespace {

using Relation = LayoutSolver::Relation;
using Expr = LayoutSolver::Expression;

// a·x + b·y + c, the way the cases below write their relations.
Expr expr(std::initializer_list<LayoutSolver::Term> terms, double constant = 0)
{
    Expr e;
    e.terms = terms;
    e.constant = constant;
    return e;
}

struct SolverCase {
    std::string name;
    // Adds the case's relations over variables x, y, z; answers false if the solver refused
    // one it should have taken.
    std::function<bool(LayoutSolver&, LayoutSolver::Variable x, LayoutSolver::Variable y, LayoutSolver::Variable z)> build;
    double x, y, z;
};

TEST(LayoutSolverTest, CasesSolveToTheirValues)
{
    const std::vector<SolverCase> cases = {
        { "a chain of equalities: x = 10, y = x + 20, z = y * 2",
            [](LayoutSolver& s, auto x, auto y, auto z) {
                return s.addConstraint(expr({ { x, 1 } }, -10), Relation::Equal)
                    && s.addConstraint(expr({ { y, 1 }, { x, -1 } }, -20), Relation::Equal)
                    && s.addConstraint(expr({ { z, 1 }, { y, -2 } }), Relation::Equal);
            },
            10, 30, 60 },
        { "an inequality that binds: x ≥ 50 against a weak wish for 0",
            [](LayoutSolver& s, auto x, auto, auto) {
                return s.addConstraint(expr({ { x, 1 } }, -50), Relation::GreaterOrEqual)
                    && s.addConstraint(expr({ { x, 1 } }), Relation::Equal, 250);
            },
            50, 0, 0 },
        { "an inequality that does not bind: x ≤ 500 with x wished at 120",
            [](LayoutSolver& s, auto x, auto, auto) {
                return s.addConstraint(expr({ { x, 1 } }, -500), Relation::LessOrEqual)
                    && s.addConstraint(expr({ { x, 1 } }, -120), Relation::Equal, 250);
            },
            120, 0, 0 },
        { "required beats optional: x = 10 required, x = 90 at 999",
            [](LayoutSolver& s, auto x, auto, auto) {
                return s.addConstraint(expr({ { x, 1 } }, -90), Relation::Equal, 999)
                    && s.addConstraint(expr({ { x, 1 } }, -10), Relation::Equal);
            },
            10, 0, 0 },
        { "two optional ones by weight: x = 40 at 750 beats x = 70 at 250",
            [](LayoutSolver& s, auto x, auto, auto) {
                return s.addConstraint(expr({ { x, 1 } }, -70), Relation::Equal, 250)
                    && s.addConstraint(expr({ { x, 1 } }, -40), Relation::Equal, 750);
            },
            40, 0, 0 },
        { "hugging against compression: two labels of 80 in 120, the one that resists more keeps its width",
            [](LayoutSolver& s, auto x, auto y, auto) {
                // x and y are the widths; x + y = 120.
                return s.addConstraint(expr({ { x, 1 }, { y, 1 } }, -120), Relation::Equal)
                    && s.addConstraint(expr({ { x, 1 } }, -80), Relation::GreaterOrEqual, 750)
                    && s.addConstraint(expr({ { x, 1 } }, -80), Relation::LessOrEqual, 250)
                    && s.addConstraint(expr({ { y, 1 } }, -80), Relation::GreaterOrEqual, 749)
                    && s.addConstraint(expr({ { y, 1 } }, -80), Relation::LessOrEqual, 250);
            },
            80, 40, 0 },
        { "hugging decides the slack: two labels of 30 in 200, the one that hugs less stretches",
            [](LayoutSolver& s, auto x, auto y, auto) {
                return s.addConstraint(expr({ { x, 1 }, { y, 1 } }, -200), Relation::Equal)
                    && s.addConstraint(expr({ { x, 1 } }, -30), Relation::GreaterOrEqual, 750)
                    && s.addConstraint(expr({ { x, 1 } }, -30), Relation::LessOrEqual, 251)
                    && s.addConstraint(expr({ { y, 1 } }, -30), Relation::GreaterOrEqual, 750)
                    && s.addConstraint(expr({ { y, 1 } }, -30), Relation::LessOrEqual, 250);
            },
            30, 170, 0 },
        { "a multiplier: width = 0.25 × 400 + 8",
            [](LayoutSolver& s, auto x, auto y, auto) {
                return s.addConstraint(expr({ { y, 1 } }, -400), Relation::Equal)
                    && s.addConstraint(expr({ { x, 1 }, { y, -0.25 } }, -8), Relation::Equal);
            },
            108, 400, 0 },
        { "centred between bounds: x = (y + z) / 2, y = 10, z = 50",
            [](LayoutSolver& s, auto x, auto y, auto z) {
                return s.addConstraint(expr({ { y, 1 } }, -10), Relation::Equal)
                    && s.addConstraint(expr({ { z, 1 } }, -50), Relation::Equal)
                    && s.addConstraint(expr({ { x, 2 }, { y, -1 }, { z, -1 } }), Relation::Equal);
            },
            30, 10, 50 },
    };
    for (const auto& c : cases) {
        LayoutSolver solver;
        auto x = solver.newVariable();
        auto y = solver.newVariable();
        auto z = solver.newVariable();
        ASSERT_TRUE(c.build(solver, x, y, z)) << c.name;
        solver.updateValues();
        EXPECT_NEAR(solver.value(x), c.x, 1e-6) << c.name;
        EXPECT_NEAR(solver.value(y), c.y, 1e-6) << c.name;
        EXPECT_NEAR(solver.value(z), c.z, 1e-6) << c.name;
    }
}

// A size a drag or a turn keeps changing: ten suggestions, each followed at once by what
// depends on it, with a limit that clips the last ones.
TEST(LayoutSolverTest, AnEditVariableMovedTenTimesCarriesItsDependants)
{
    LayoutSolver solver;
    auto width = solver.newVariable();
    auto half = solver.newVariable();
    ASSERT_TRUE(solver.addConstraint(expr({ { half, 2 }, { width, -1 } }), Relation::Equal));
    ASSERT_TRUE(solver.addConstraint(expr({ { half, 1 } }, -400), Relation::LessOrEqual));
    solver.addEditVariable(width, 999);
    for (int step = 1; step <= 10; ++step) {
        double wanted = 100.0 * step;
        solver.suggestValue(width, wanted);
        solver.updateValues();
        double expected = std::min(wanted, 800.0);
        EXPECT_NEAR(solver.value(width), expected, 1e-6) << "step " << step;
        EXPECT_NEAR(solver.value(half), expected / 2, 1e-6) << "step " << step;
    }
}

// A required relation that contradicts the others is refused, and the others still hold:
// the tableau is left as it was.
TEST(LayoutSolverTest, AnUnsatisfiableRequiredRelationIsRefusedAndTheRestHold)
{
    LayoutSolver solver;
    auto x = solver.newVariable();
    auto y = solver.newVariable();
    ASSERT_TRUE(solver.addConstraint(expr({ { x, 1 } }, -10), Relation::Equal));
    ASSERT_TRUE(solver.addConstraint(expr({ { y, 1 }, { x, -1 } }, -5), Relation::Equal));
    EXPECT_FALSE(solver.addConstraint(expr({ { y, 1 } }, -40), Relation::Equal));
    EXPECT_FALSE(solver.addConstraint(expr({ { x, 1 } }, -20), Relation::GreaterOrEqual));
    EXPECT_TRUE(solver.addConstraint(expr({ { x, 1 } }, -20), Relation::GreaterOrEqual, 500)) << "optional: taken, violated";
    solver.updateValues();
    EXPECT_NEAR(solver.value(x), 10, 1e-6);
    EXPECT_NEAR(solver.value(y), 15, 1e-6);
}

// Removing a relation frees what it held; adding it again holds it again.
TEST(LayoutSolverTest, RemovedRelationsLetGoAndComeBack)
{
    LayoutSolver solver;
    auto x = solver.newVariable();
    auto weak = solver.addConstraint(expr({ { x, 1 } }, -5), Relation::Equal, 10);
    auto strong = solver.addConstraint(expr({ { x, 1 } }, -50), Relation::Equal, 900);
    ASSERT_TRUE(weak && strong);
    solver.updateValues();
    EXPECT_NEAR(solver.value(x), 50, 1e-6);
    solver.removeConstraint(*strong);
    solver.updateValues();
    EXPECT_NEAR(solver.value(x), 5, 1e-6);
    auto again = solver.addConstraint(expr({ { x, 1 } }, -70), Relation::GreaterOrEqual);
    ASSERT_TRUE(again);
    solver.updateValues();
    EXPECT_NEAR(solver.value(x), 70, 1e-6);
    EXPECT_EQ(solver.constraintCount(), 2u);
}

} // namespace
} // namespace ui
