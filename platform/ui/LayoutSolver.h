#pragma once

// An incremental linear-arithmetic constraint solver for layout.
//
// It keeps a simplex tableau in the form of the published user-interface constraint
// algorithm: required constraints are hard, optional ones carry a weight and their
// violations are minimised in the objective; inequalities get slack variables; edit
// variables take suggested values and are re-solved with the dual simplex, so moving a
// size that a drag or a turn changes costs a few pivots, not a new solve.
//
// Variables are plain ids made by newVariable(); constraints are ids answered by
// addConstraint(). Nothing here knows about views (LayoutEngine maps views onto it).

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace ui {

class LayoutSolver {
public:
    using Variable = uint32_t;
    using ConstraintId = uint32_t;

    enum class Relation { LessOrEqual, Equal, GreaterOrEqual };

    // A weight for an optional constraint from a priority in 1…999; 1000 and above is
    // required (no weight); below 1, a faint preference under every priority. Priorities a quarter of the range apart differ tenfold, so a
    // higher priority wins any one-to-one conflict and a lower one only loses to it.
    static double weightForPriority(float priority);
    static constexpr float requiredPriority = 1000;

    struct Term {
        Variable variable;
        double coefficient;
    };
    // Σ coefficient × variable + constant.
    struct Expression {
        std::vector<Term> terms;
        double constant = 0;
        Expression& add(Variable v, double coefficient)
        {
            terms.push_back({ v, coefficient });
            return *this;
        }
    };

    LayoutSolver();
    ~LayoutSolver();
    LayoutSolver(const LayoutSolver&) = delete;
    LayoutSolver& operator=(const LayoutSolver&) = delete;

    Variable newVariable();
    // The variable's value after the last solve (0 for a variable nothing constrains).
    double value(Variable) const;

    // `expression relation 0` at a priority. A required constraint that cannot hold with
    // the required ones already added is not added: the answer is nullopt and the tableau
    // is as it was.
    std::optional<ConstraintId> addConstraint(const Expression&, Relation, float priority = requiredPriority);
    void removeConstraint(ConstraintId);
    // The same relation with another constant (`expression` keeps its terms): the marker
    // shifts in every row that holds it, as a suggested edit value does, and the dual
    // simplex restores feasibility. Answers false when a required relation cannot take it
    // (the relation then holds its old constant).
    bool changeConstant(ConstraintId, double expressionConstant);
    bool hasConstraint(ConstraintId) const;

    // An edit variable prefers the last value suggested for it, at a priority below
    // required (a required one is held above every optional constraint).
    void addEditVariable(Variable, float priority);
    void removeEditVariable(Variable);
    bool hasEditVariable(Variable) const;
    void suggestValue(Variable, double value);

    // Copies the solution into the variables' values; answers the variables that changed.
    const std::vector<Variable>& updateValues();

    size_t constraintCount() const { return m_constraintCount; }
    size_t rowCount() const;

private:
    static constexpr double epsilon = 1e-8;
    static bool nearZero(double);

    enum class Kind : uint8_t { External, Slack, Error, Dummy };
    using Symbol = uint32_t;
    static constexpr Symbol noSymbol = UINT32_MAX;

    // basic = constant + Σ coefficient × symbol, terms sorted by symbol.
    struct Row {
        double constant = 0;
        std::vector<std::pair<Symbol, double>> terms;
        double coefficientFor(Symbol) const;
        void insert(Symbol, double coefficient);
        void insert(const Row&, double coefficient);
        void remove(Symbol);
        void negate();
        void solveFor(Symbol);
        void solveFor(Symbol lhs, Symbol rhs);
    };
    struct Tag {
        Symbol marker = noSymbol;
        Symbol other = noSymbol;
    };
    struct ConstraintEntry {
        Tag tag;
        double weight = 0; // 0: required
        double constant = 0; // the expression's constant
        double markerCoefficient = 1; // the marker's coefficient in the row as made
    };
    // The objective, sparse, with the symbols that would improve it when entering kept in
    // order for Bland's rule (markers of required equalities and deviations are fixed at
    // zero: never candidates, though their terms stay for the removal that frees one).
    struct Objective {
        double constant = 0;
        std::unordered_map<Symbol, double> coefficients;
        std::set<Symbol> negative;
    };
    struct EditEntry {
        ConstraintId constraint = 0;
        Tag tag;
        double constant = 0;
        double weight = 0;
        // An edit of a variable that required equalities decide has no say: it waits,
        // without a row, until a removal frees the variable.
        bool dormant = false;
    };

    Symbol newSymbol(Kind);
    Kind kindOf(Symbol s) const { return m_kinds[s]; }
    bool isRestricted(Symbol s) const { return m_kinds[s] != Kind::External; }
    bool isBasic(Symbol s) const { return m_rowOf[s] >= 0; }
    Row& rowFor(Symbol s) { return m_rows[static_cast<size_t>(m_rowOf[s])].row; }

    std::optional<ConstraintId> addWeighted(const Expression&, Relation, double weight);
    Row makeRow(const Expression&, Relation, double weight, Tag&);
    void shiftMarker(Symbol marker, double delta);
    Symbol chooseSubject(const Row&, const Tag&) const;
    bool addWithArtificialVariable(Row&&);
    bool allDummies(const Row&) const;
    void setBasic(Symbol, Row&&);
    Row takeRow(Symbol);
    void substitute(Symbol, const Row&);
    void mergeInto(Symbol basic, Row& target, Symbol replaced, const Row& source, double coefficient);
    void pivot(Symbol leaving, Symbol entering);
    bool optimize(Objective&);
    double objectiveCoefficient(const Objective&, Symbol) const;
    void addToObjective(Objective&, Symbol, double coefficient);
    void addToObjective(Objective&, const Row&, double coefficient);
    void substituteInObjective(Objective&, Symbol, const Row&);
    void pin(Symbol basic, Row&&);
    void expandDeviations(Symbol marker);
    void shiftColumn(Symbol, double shift);
    void dualOptimize();
    void ensureOptimal();
    bool addEditRow(Variable, EditEntry&);
    void wakeEdits();
    Symbol markerLeavingRow(Symbol marker) const;
    void removeErrorEffects(Symbol error, double weight);
    // Column bookkeeping: which rows mention a symbol.
    void addToColumns(Symbol basic, const Row&);
    void removeFromColumns(Symbol basic, const Row&);

    struct RowSlot {
        Symbol basic = noSymbol;
        Row row;
    };
    std::vector<Kind> m_kinds;
    std::vector<int32_t> m_rowOf;
    // The basic symbols of the rows that mention a symbol, unordered. A row joins a column
    // once (only when the symbol enters the row), so a vector does without hashing.
    struct Column {
        std::vector<Symbol> rows;
        void insert(Symbol basic) { rows.push_back(basic); }
        void erase(Symbol basic)
        {
            for (auto& row : rows) {
                if (row == basic) {
                    row = rows.back();
                    rows.pop_back();
                    return;
                }
            }
        }
        auto begin() const { return rows.begin(); }
        auto end() const { return rows.end(); }
    };
    std::vector<Column> m_columns;
    std::vector<RowSlot> m_rows;
    std::vector<int32_t> m_freeRows;
    Objective m_objective;
    Objective* m_artificial = nullptr;
    // A variable that required equalities alone decide ("pinned": its row holds only their
    // markers) is written into later rows as its value plus one deviation symbol standing
    // for its markers, instead of all of them: a chain of equalities keeps one term per link
    // instead of one per link above it. external → deviation, deviation → external.
    std::vector<Symbol> m_deviation;
    std::vector<Symbol> m_deviationOwner;
    std::vector<std::pair<Symbol, double>> m_moved; // shiftMarker's heap, kept for its capacity
    std::vector<std::pair<Symbol, double>> m_mergeBuffer;
    std::vector<Symbol> m_infeasible;
    bool m_optimal = true; // false after a removal, until the next optimisation

    std::vector<Symbol> m_variableSymbol; // Variable → its External symbol
    std::vector<double> m_values;
    std::vector<Variable> m_changed;
    std::vector<std::optional<ConstraintEntry>> m_constraints; // by id; ids are never reused
    size_t m_constraintCount = 0;
    ConstraintId m_nextConstraint = 1;
    std::unordered_map<Variable, EditEntry> m_edits;
    std::unordered_map<Symbol, Variable> m_dormantEdits; // by the variable's symbol
    std::vector<Variable> m_waking; // dormant edits whose variables a removal freed
};

} // namespace ui
