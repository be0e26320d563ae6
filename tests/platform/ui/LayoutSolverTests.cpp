#include "platform/ui/LayoutSolver.h"

#include <gtest/gtest.h>

#include <functional>
#include <cmath>
#include <optional>
#include <random>
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


// A list's rows as the engine writes them: each row's height required, each row's top tied
// to the bottom of the row above it (the first to 0), and a faint preference for 0 on every
// top and height, as the engine's stays on placed views.
struct ChainSpec {
    std::vector<std::optional<double>> heights; // nullopt: no height relation
    std::vector<bool> links;                    // links[i]: row i hangs under row i − 1 (or at 0)
};

struct Chain {
    LayoutSolver solver;
    std::vector<LayoutSolver::Variable> tops, heights;
    std::vector<std::optional<LayoutSolver::ConstraintId>> heightIds, linkIds;

    std::optional<LayoutSolver::ConstraintId> addLink(size_t row)
    {
        Expr e = row == 0 ? expr({ { tops[0], 1 } }) : expr({ { tops[row], 1 }, { tops[row - 1], -1 }, { heights[row - 1], -1 } }, -2);
        return solver.addConstraint(e, Relation::Equal);
    }
    std::optional<LayoutSolver::ConstraintId> addHeight(size_t row, double value)
    {
        return solver.addConstraint(expr({ { heights[row], 1 } }, -value), Relation::Equal);
    }
};

// linksFirst: every link before any height, the order in which a list's constraints reach
// the engine (the list holds the links, each row its own height).
void build(Chain& chain, const ChainSpec& spec, bool linksFirst = false)
{
    const size_t rows = spec.heights.size();
    for (size_t row = 0; row < rows; ++row) {
        chain.tops.push_back(chain.solver.newVariable());
        chain.heights.push_back(chain.solver.newVariable());
    }
    chain.heightIds.resize(rows);
    chain.linkIds.resize(rows);
    auto addHeight = [&](size_t row) {
        if (spec.heights[row])
            chain.heightIds[row] = chain.addHeight(row, *spec.heights[row]);
    };
    auto addLink = [&](size_t row) {
        if (spec.links[row])
            chain.linkIds[row] = chain.addLink(row);
    };
    for (size_t row = 0; row < rows; ++row) {
        if (!linksFirst)
            addHeight(row);
        addLink(row);
    }
    for (size_t row = 0; linksFirst && row < rows; ++row)
        addHeight(row);
    for (size_t row = 0; row < rows; ++row) {
        for (auto v : { chain.tops[row], chain.heights[row] }) {
            chain.solver.addEditVariable(v, 0);
            chain.solver.suggestValue(v, 0);
        }
    }
    chain.solver.updateValues();
}

struct ChainStep {
    enum class Kind { RemoveLink, RemoveHeight, MoveHeight, AddLink } kind;
    size_t row;
    double value = 0;
};

// Each case changes a laid-out chain step by step; after every step the solution must be
// the one a fresh solver finds for the same relations.
TEST(LayoutSolverTest, ALongChainFollowsRemovalsAndMovedConstantsAsAFreshSolveDoes)
{
    const size_t rows = 80;
    struct ChainCase {
        std::string name;
        std::vector<ChainStep> steps;
        bool linksFirst = false;
    };
    using K = ChainStep::Kind;
    const std::vector<ChainCase> cases = {
        { "solved as built", {} },
        { "one constant moved in the middle", { { K::MoveHeight, 40, 31 } } },
        { "the first and the last constant moved, then moved back",
            { { K::MoveHeight, 0, 5 }, { K::MoveHeight, rows - 1, 90 }, { K::MoveHeight, 0, 20 } } },
        { "one link removed: the rows below fall to where the faint wish holds them",
            { { K::RemoveLink, 50 } } },
        { "one link removed, then a constant above it moved", { { K::RemoveLink, 50 }, { K::MoveHeight, 30, 44 } } },
        { "one height removed, then a constant below it moved", { { K::RemoveHeight, 10 }, { K::MoveHeight, 70, 7 } } },
        { "a link removed and added back, then a constant above it moved",
            { { K::RemoveLink, 40 }, { K::AddLink, 40 }, { K::MoveHeight, 3, 60 } } },
        { "the first link removed", { { K::RemoveLink, 0 }, { K::MoveHeight, 1, 33 } } },
        { "links added before heights, then a constant moved", { { K::MoveHeight, 20, 50 } }, true },
        { "links added before heights, then a height removed and a constant below it moved",
            { { K::RemoveHeight, 30 }, { K::MoveHeight, 60, 9 } }, true },
    };
    for (const auto& c : cases) {
        ChainSpec spec;
        for (size_t row = 0; row < rows; ++row) {
            spec.heights.push_back(20.0 + static_cast<double>(row % 7));
            spec.links.push_back(true);
        }
        Chain incremental;
        build(incremental, spec, c.linksFirst);
        for (const auto& step : c.steps) {
            switch (step.kind) {
            case K::RemoveLink:
                incremental.solver.removeConstraint(*incremental.linkIds[step.row]);
                incremental.linkIds[step.row].reset();
                spec.links[step.row] = false;
                break;
            case K::AddLink:
                incremental.linkIds[step.row] = incremental.addLink(step.row);
                ASSERT_TRUE(incremental.linkIds[step.row]) << c.name;
                spec.links[step.row] = true;
                break;
            case K::RemoveHeight:
                incremental.solver.removeConstraint(*incremental.heightIds[step.row]);
                incremental.heightIds[step.row].reset();
                spec.heights[step.row].reset();
                break;
            case K::MoveHeight:
                ASSERT_TRUE(incremental.solver.changeConstant(*incremental.heightIds[step.row], -step.value)) << c.name;
                spec.heights[step.row] = step.value;
                break;
            }
        }
        incremental.solver.updateValues();
        Chain fresh;
        build(fresh, spec);
        for (size_t row = 0; row < rows; ++row) {
            ASSERT_NEAR(incremental.solver.value(incremental.tops[row]), fresh.solver.value(fresh.tops[row]), 1e-6)
                << c.name << ": top of row " << row;
            ASSERT_NEAR(incremental.solver.value(incremental.heights[row]), fresh.solver.value(fresh.heights[row]), 1e-6)
                << c.name << ": height of row " << row;
        }
    }
}

// A chain refuses what contradicts it anywhere along it, stays as it was, and still follows
// a moved constant; the moved constant that a required relation below cannot follow is
// taken back.
TEST(LayoutSolverTest, AChainRefusesAContradictionAndKeepsFollowingItsConstants)
{
    ChainSpec spec;
    for (size_t row = 0; row < 50; ++row) {
        spec.heights.push_back(10.0);
        spec.links.push_back(true);
    }
    Chain chain;
    build(chain, spec);
    const double last = chain.solver.value(chain.tops.back());
    EXPECT_NEAR(last, 49 * 12.0, 1e-6);
    EXPECT_FALSE(chain.solver.addConstraint(expr({ { chain.tops.back(), 1 } }, -5), Relation::Equal));
    EXPECT_FALSE(chain.solver.addConstraint(expr({ { chain.tops.back(), 1 } }, -1000), Relation::GreaterOrEqual));
    chain.solver.updateValues();
    EXPECT_NEAR(chain.solver.value(chain.tops.back()), last, 1e-6);

    auto limit = chain.solver.addConstraint(expr({ { chain.tops.back(), 1 } }, -600), Relation::LessOrEqual);
    ASSERT_TRUE(limit);
    EXPECT_TRUE(chain.solver.changeConstant(*chain.heightIds[20], -20)) << "588 + 10 still fits under 600";
    EXPECT_FALSE(chain.solver.changeConstant(*chain.heightIds[21], -20)) << "598 + 10 does not";
    chain.solver.updateValues();
    EXPECT_NEAR(chain.solver.value(chain.heights[21]), 10, 1e-6);
    EXPECT_NEAR(chain.solver.value(chain.tops.back()), 598, 1e-6);
}

// A required relation refused after the search for a feasible place pivoted the tableau:
// the system is the same, and so must be its solution.
TEST(LayoutSolverTest, ARefusedRelationLeavesTheSolutionWhereItWas)
{
    LayoutSolver solver;
    auto a = solver.newVariable(), b = solver.newVariable(), c = solver.newVariable(), d = solver.newVariable();
    ASSERT_TRUE(solver.addConstraint(expr({ { a, 1 } }, 28), Relation::Equal));
    ASSERT_TRUE(solver.addConstraint(expr({ { a, 1 } }, -3), Relation::LessOrEqual, 618));
    ASSERT_TRUE(solver.addConstraint(expr({ { d, 1 }, { b, -1 } }, -8), Relation::Equal));
    ASSERT_TRUE(solver.addConstraint(expr({ { b, 1 }, { a, -1 } }, -3), Relation::Equal, 718));
    ASSERT_TRUE(solver.addConstraint(expr({ { c, 1 }, { b, -1 } }, -37), Relation::GreaterOrEqual));
    ASSERT_TRUE(solver.addConstraint(expr({ { d, 1 }, { c, -0.5 } }, 32), Relation::Equal));
    solver.updateValues();
    const double before[4] = { solver.value(a), solver.value(b), solver.value(c), solver.value(d) };
    EXPECT_EQ(before[1], -25) << "b = a + 3 at 718 holds";
    EXPECT_FALSE(solver.addConstraint(expr({ { b, 1 }, { a, -1 } }, 33), Relation::Equal));
    solver.updateValues();
    const double after[4] = { solver.value(a), solver.value(b), solver.value(c), solver.value(d) };
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(after[i], before[i], 1e-9) << "variable " << i;
}

// The same required equality twice: the second takes over when the first goes, and a
// constant moved on one cannot make them disagree.
TEST(LayoutSolverTest, ARepeatedEqualityHoldsWhenTheFirstGoesAndCannotBeMovedApart)
{
    LayoutSolver solver;
    auto x = solver.newVariable(), y = solver.newVariable();
    ASSERT_TRUE(solver.addConstraint(expr({ { y, 1 }, { x, -0.5 } }, 21), Relation::Equal));
    ASSERT_TRUE(solver.addConstraint(expr({ { x, 1 } }, -6), Relation::GreaterOrEqual));
    auto first = solver.addConstraint(expr({ { y, 1 } }, -16), Relation::Equal);
    auto second = solver.addConstraint(expr({ { y, 1 } }, -16), Relation::Equal);
    ASSERT_TRUE(first && second);
    EXPECT_FALSE(solver.changeConstant(*second, -43));
    solver.updateValues();
    EXPECT_NEAR(solver.value(y), 16, 1e-9);
    solver.removeConstraint(*first);
    solver.updateValues();
    EXPECT_NEAR(solver.value(y), 16, 1e-9);
    EXPECT_NEAR(solver.value(x), 74, 1e-9);
    EXPECT_TRUE(solver.changeConstant(*second, -43)) << "alone now, it may move";
    solver.updateValues();
    EXPECT_NEAR(solver.value(y), 43, 1e-9);
}

// Random sequences of additions, removals, moved constants and suggestions over a few
// variables (often chained): after every step the solution satisfies every relation taken as
// required and is as good, by the weighted errors, as a fresh solve of the same relations.
TEST(LayoutSolverTest, RandomChangesStayAsGoodAsAFreshSolve)
{
    struct Taken {
        Expr expression;
        Relation relation;
        float priority;
        LayoutSolver::ConstraintId id;
        bool alive = true;
    };
    for (unsigned seed = 0; seed < 80; ++seed) {
        std::mt19937 random(seed);
        auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        const int count = pick(3, 12);
        const bool stays = pick(0, 1) == 1;
        std::vector<double> wished(static_cast<size_t>(count), 0);
        std::vector<Taken> taken;
        LayoutSolver solver;
        for (int i = 0; i < count; ++i)
            solver.newVariable();
        auto build = [&](LayoutSolver& fresh) {
            for (int i = 0; i < count; ++i)
                fresh.newVariable();
            for (const auto& t : taken) {
                if (t.alive)
                    fresh.addConstraint(t.expression, t.relation, t.priority);
            }
            for (int i = 0; stays && i < count; ++i) {
                fresh.addEditVariable(static_cast<LayoutSolver::Variable>(i), 0);
                fresh.suggestValue(static_cast<LayoutSolver::Variable>(i), wished[static_cast<size_t>(i)]);
            }
            fresh.updateValues();
        };
        // The weighted errors, and how far the required relations are off.
        auto cost = [&](const LayoutSolver& s) {
            double errors = 0, off = 0;
            for (const auto& t : taken) {
                if (!t.alive)
                    continue;
                double v = t.expression.constant;
                for (const auto& term : t.expression.terms)
                    v += term.coefficient * s.value(term.variable);
                double miss = t.relation == Relation::Equal ? std::fabs(v)
                    : t.relation == Relation::LessOrEqual   ? std::max(0.0, v)
                                                            : std::max(0.0, -v);
                (t.priority >= LayoutSolver::requiredPriority ? off : errors)
                    += miss * (t.priority >= LayoutSolver::requiredPriority ? 1 : LayoutSolver::weightForPriority(t.priority));
            }
            for (int i = 0; stays && i < count; ++i)
                errors += LayoutSolver::weightForPriority(0) * std::fabs(s.value(static_cast<LayoutSolver::Variable>(i)) - wished[static_cast<size_t>(i)]);
            return std::pair { errors, off };
        };
        auto add = [&] {
            int a = pick(0, count - 1);
            int b = pick(0, 1) ? std::max(0, a - 1) : pick(0, count - 1);
            Expr e = expr({ { static_cast<LayoutSolver::Variable>(a), 1 } }, pick(-50, 50));
            if (b != a && pick(0, 3))
                e.add(static_cast<LayoutSolver::Variable>(b), pick(0, 4) ? -1.0 : -0.5);
            Relation relation = pick(0, 3) ? Relation::Equal : pick(0, 1) ? Relation::LessOrEqual : Relation::GreaterOrEqual;
            float priority = pick(0, 2) ? LayoutSolver::requiredPriority : static_cast<float>(pick(1, 999));
            if (auto id = solver.addConstraint(e, relation, priority))
                taken.push_back({ e, relation, priority, *id });
        };
        for (int i = pick(1, 2 * count); i > 0; --i)
            add();
        for (int i = 0; stays && i < count; ++i) {
            wished[static_cast<size_t>(i)] = pick(-20, 20);
            solver.addEditVariable(static_cast<LayoutSolver::Variable>(i), 0);
            solver.suggestValue(static_cast<LayoutSolver::Variable>(i), wished[static_cast<size_t>(i)]);
        }
        for (int step = 0; step < 30; ++step) {
            int op = pick(0, 3);
            Taken* some = taken.empty() ? nullptr : &taken[static_cast<size_t>(pick(0, static_cast<int>(taken.size()) - 1))];
            if (op == 0) {
                add();
            } else if (op == 1 && some && some->alive) {
                solver.removeConstraint(some->id);
                some->alive = false;
            } else if (op == 2 && some && some->alive) {
                double constant = pick(-50, 50);
                if (solver.changeConstant(some->id, constant))
                    some->expression.constant = constant;
            } else if (op == 3 && stays) {
                int v = pick(0, count - 1);
                wished[static_cast<size_t>(v)] = pick(-40, 40);
                solver.suggestValue(static_cast<LayoutSolver::Variable>(v), wished[static_cast<size_t>(v)]);
            }
            solver.updateValues();
            LayoutSolver fresh;
            build(fresh);
            auto [errors, off] = cost(solver);
            auto [freshErrors, freshOff] = cost(fresh);
            ASSERT_LT(off, 1e-6) << "seed " << seed << " step " << step << ": a required relation is off";
            if (freshOff < 1e-6) {
                ASSERT_NEAR(errors, freshErrors, 1e-6 * (1 + freshErrors)) << "seed " << seed << " step " << step;
            }
        }
    }
}

} // namespace
} // namespace ui
