#include "platform/ui/LayoutSolver.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ui {

bool LayoutSolver::nearZero(double value)
{
    return std::fabs(value) < epsilon;
}

double LayoutSolver::weightForPriority(float priority)
{
    // Below every priority a constraint can carry: a preference that only decides what
    // nothing else does (where an under-constrained view stays).
    if (priority < 1)
        return 1e-4;
    double p = std::min(static_cast<double>(priority), 999.0);
    return std::pow(10.0, p / 250.0);
}

// The solver

LayoutSolver::LayoutSolver() = default;
LayoutSolver::~LayoutSolver() = default;

LayoutSolver::Symbol LayoutSolver::newSymbol(Kind kind)
{
    Symbol symbol = static_cast<Symbol>(m_kinds.size());
    m_kinds.push_back(kind);
    m_rowOf.push_back(-1);
    m_columns.emplace_back();
    m_deviation.push_back(noSymbol);
    m_deviationOwner.push_back(noSymbol);
    return symbol;
}

LayoutSolver::Variable LayoutSolver::newVariable()
{
    Variable variable = static_cast<Variable>(m_variableSymbol.size());
    m_variableSymbol.push_back(newSymbol(Kind::External));
    m_values.push_back(0);
    return variable;
}

double LayoutSolver::value(Variable variable) const
{
    return variable < m_values.size() ? m_values[variable] : 0.0;
}

size_t LayoutSolver::rowCount() const
{
    return m_rows.size() - m_freeRows.size();
}

LayoutSolver::Row LayoutSolver::makeRow(const Expression& expression, Relation relation, double weight, Tag& tag)
{
    Row row;
    row.constant = expression.constant;
    row.terms.reserve(expression.terms.size() + 3);
    for (const auto& term : expression.terms) {
        if (nearZero(term.coefficient) || term.variable >= m_variableSymbol.size())
            continue;
        Symbol symbol = m_variableSymbol[term.variable];
        if (Symbol deviation = m_deviation[symbol]; deviation != noSymbol) {
            row.constant += rowFor(symbol).constant * term.coefficient;
            row.insert(deviation, term.coefficient);
        } else if (isBasic(symbol)) {
            // Required equalities may have come to decide it since it was solved for.
            if (kindOf(symbol) == Kind::External && rowFor(symbol).terms.size() > 1 && allDummies(rowFor(symbol))) {
                Symbol made = newSymbol(Kind::Dummy);
                m_deviation[symbol] = made;
                m_deviationOwner[made] = symbol;
                row.constant += rowFor(symbol).constant * term.coefficient;
                row.insert(made, term.coefficient);
            } else {
                row.insert(rowFor(symbol), term.coefficient);
            }
        } else
            row.insert(symbol, term.coefficient);
    }
    bool required = weight <= 0;
    if (relation != Relation::Equal) {
        // expression ≤ 0: expression + slack = 0; ≥ 0: expression − slack = 0.
        double direction = relation == Relation::LessOrEqual ? 1.0 : -1.0;
        Symbol slack = newSymbol(Kind::Slack);
        tag.marker = slack;
        row.insert(slack, direction);
        if (!required) {
            Symbol error = newSymbol(Kind::Error);
            tag.other = error;
            row.insert(error, -direction);
            addToObjective(m_objective, error, weight);
        }
    } else if (required) {
        Symbol dummy = newSymbol(Kind::Dummy);
        tag.marker = dummy;
        row.insert(dummy, 1.0);
    } else {
        Symbol plus = newSymbol(Kind::Error);
        Symbol minus = newSymbol(Kind::Error);
        tag.marker = plus;
        tag.other = minus;
        row.insert(plus, -1.0);
        row.insert(minus, 1.0);
        addToObjective(m_objective, plus, weight);
        addToObjective(m_objective, minus, weight);
    }
    if (row.constant < 0)
        row.negate();
    return row;
}

LayoutSolver::Symbol LayoutSolver::chooseSubject(const Row& row, const Tag& tag) const
{
    // The variable fewest rows mention: solving for one that others already use writes
    // this row into each of them, and relations added in an order that runs against a
    // chain (its links before its sizes) would chain every row into the next.
    Symbol best = noSymbol;
    for (const auto& [symbol, coefficient] : row.terms) {
        if (kindOf(symbol) == Kind::External
            && (best == noSymbol || m_columns[symbol].rows.size() < m_columns[best].rows.size()))
            best = symbol;
    }
    if (best != noSymbol)
        return best;
    for (Symbol candidate : { tag.marker, tag.other }) {
        if (candidate == noSymbol)
            continue;
        Kind kind = kindOf(candidate);
        if ((kind == Kind::Slack || kind == Kind::Error) && row.coefficientFor(candidate) < 0)
            return candidate;
    }
    return noSymbol;
}

bool LayoutSolver::allDummies(const Row& row) const
{
    return std::all_of(row.terms.begin(), row.terms.end(),
        [&](const auto& term) { return kindOf(term.first) == Kind::Dummy; });
}

bool LayoutSolver::addWithArtificialVariable(Row&& row)
{
    Symbol artificial = newSymbol(Kind::Slack);
    Objective objective;
    addToObjective(objective, row, 1.0);
    setBasic(artificial, std::move(row));
    m_artificial = &objective;
    optimize(objective);
    m_artificial = nullptr;
    bool success = nearZero(objective.constant);

    if (isBasic(artificial)) {
        Row rest = takeRow(artificial);
        // The pivots above never used the artificial row, so without it the tableau is the
        // one before this constraint: a refused constraint leaves no trace.
        if (rest.terms.empty() || !success)
            return success;
        Symbol entering = noSymbol;
        for (const auto& [symbol, coefficient] : rest.terms) {
            Kind kind = kindOf(symbol);
            if (kind == Kind::Slack || kind == Kind::Error) {
                entering = symbol;
                break;
            }
        }
        if (entering == noSymbol)
            return false;
        rest.solveFor(artificial, entering);
        substitute(entering, rest);
        setBasic(entering, std::move(rest));
    }
    // The artificial variable is parametric now: drop it from every row.
    std::vector<Symbol> users(m_columns[artificial].begin(), m_columns[artificial].end());
    for (Symbol basic : users)
        mergeInto(basic, rowFor(basic), artificial, Row {}, 0);
    m_objective.coefficients.erase(artificial);
    m_objective.negative.erase(artificial);
    return success;
}

std::optional<LayoutSolver::ConstraintId> LayoutSolver::addConstraint(const Expression& expression,
    Relation relation, float priority)
{
    return addWeighted(expression, relation, priority >= requiredPriority ? 0.0 : weightForPriority(priority));
}

std::optional<LayoutSolver::ConstraintId> LayoutSolver::addWeighted(const Expression& expression, Relation relation,
    double weight)
{
    Tag tag;
    Row row = makeRow(expression, relation, weight, tag);
    Symbol subject = chooseSubject(row, tag);

    if (subject == noSymbol && allDummies(row)) {
        if (!nearZero(row.constant)) {
            // A required equality the others already decide differently.
            return std::nullopt;
        }
        subject = tag.marker;
    }
    if (subject == noSymbol) {
        if (!addWithArtificialVariable(std::move(row))) {
            m_infeasible.clear();
            // The search for a feasible place pivoted the tableau: the same system, but not
            // necessarily at its optimum any more.
            m_optimal = false;
            return std::nullopt;
        }
    } else {
        row.solveFor(subject);
        if (kindOf(subject) == Kind::External && allDummies(row)) {
            pin(subject, std::move(row));
        } else {
            substitute(subject, row);
            setBasic(subject, std::move(row));
        }
    }
    ConstraintId id = m_nextConstraint++;
    double markerCoefficient = 1;
    if (relation == Relation::GreaterOrEqual || (relation == Relation::Equal && weight > 0))
        markerCoefficient = -1;
    if (m_constraints.size() <= id)
        m_constraints.resize(id + 1);
    m_constraints[id] = ConstraintEntry { tag, weight, expression.constant, markerCoefficient };
    ++m_constraintCount;
    optimize(m_objective);
    m_optimal = true;
    return id;
}

// The tableau is the same system with the marker m replaced by m + shift: each row that
// holds it moves its constant by coefficient × shift (its own row the other way). A pinned
// row that moves moves its deviation with it, and so the rows that name that deviation;
// deviations are visited in the order they were made, after every row inside them.
void LayoutSolver::shiftMarker(Symbol marker, double shift)
{
    if (isBasic(marker)) {
        Row& row = rowFor(marker);
        row.constant -= shift;
        if (row.constant < 0 && isRestricted(marker))
            m_infeasible.push_back(marker);
        return;
    }
    // A min-heap of (deviation, shift): every shift a deviation takes comes from rows made
    // before it, so all of them are in the heap by the time it is the smallest.
    m_moved.clear();
    shiftColumn(marker, shift);
    auto later = [](const std::pair<Symbol, double>& a, const std::pair<Symbol, double>& b) { return a.first > b.first; };
    while (!m_moved.empty()) {
        std::pop_heap(m_moved.begin(), m_moved.end(), later);
        auto [deviation, delta] = m_moved.back();
        m_moved.pop_back();
        while (!m_moved.empty() && m_moved.front().first == deviation) {
            std::pop_heap(m_moved.begin(), m_moved.end(), later);
            delta += m_moved.back().second;
            m_moved.pop_back();
        }
        shiftColumn(deviation, delta);
    }
    m_objective.constant += objectiveCoefficient(m_objective, marker) * shift;
}

void LayoutSolver::shiftColumn(Symbol symbol, double shift)
{
    auto later = [](const std::pair<Symbol, double>& a, const std::pair<Symbol, double>& b) { return a.first > b.first; };
    for (Symbol basic : m_columns[symbol]) {
        Row& row = rowFor(basic);
        double c = row.coefficientFor(symbol);
        if (c == 0)
            continue;
        row.constant += c * shift;
        if (row.constant < 0 && isRestricted(basic))
            m_infeasible.push_back(basic);
        if (Symbol deviation = m_deviation[basic]; deviation != noSymbol) {
            m_moved.push_back({ deviation, c * shift });
            std::push_heap(m_moved.begin(), m_moved.end(), later);
        }
    }
}

bool LayoutSolver::changeConstant(ConstraintId id, double expressionConstant)
{
    if (!hasConstraint(id))
        return false;
    ConstraintEntry& entry = *m_constraints[id];
    double delta = expressionConstant - entry.constant;
    if (delta == 0)
        return true;
    // The dual simplex starts from an optimal tableau.
    ensureOptimal();
    // expression + δ + a·m = expression + a·(m + δ/a).
    shiftMarker(entry.tag.marker, delta / entry.markerCoefficient);
    entry.constant = expressionConstant;
    dualOptimize();
    // A required relation the others cannot follow leaves a restricted row negative, or a
    // dummy row off zero: take the change back.
    bool feasible = true;
    for (const auto& slot : m_rows) {
        if (slot.basic == noSymbol)
            continue;
        // A basic marker of a required equality (one the others already implied) is zero
        // or the equalities disagree.
        bool dummyOff = kindOf(slot.basic) == Kind::Dummy && std::fabs(slot.row.constant) > 1e-6;
        if ((isRestricted(slot.basic) && slot.row.constant < -epsilon) || dummyOff) {
            feasible = false;
            break;
        }
    }
    if (!feasible) {
        shiftMarker(entry.tag.marker, -delta / entry.markerCoefficient);
        entry.constant -= delta;
        dualOptimize();
        return false;
    }
    return true;
}

bool LayoutSolver::hasConstraint(ConstraintId id) const
{
    return id < m_constraints.size() && m_constraints[id].has_value();
}

void LayoutSolver::removeErrorEffects(Symbol error, double weight)
{
    if (isBasic(error))
        addToObjective(m_objective, rowFor(error), -weight);
    else
        addToObjective(m_objective, error, -weight);
}

// The row to pivot a non-basic marker into: the marker of a required equality the others
// implied, if one holds it (that equality takes the removed one's place, and its row, at
// zero, moves no constant); else the most restrictive restricted row where it has a
// negative coefficient, else one where it is positive, else any.
LayoutSolver::Symbol LayoutSolver::markerLeavingRow(Symbol marker) const
{
    double r1 = std::numeric_limits<double>::max();
    double r2 = std::numeric_limits<double>::max();
    Symbol implied = noSymbol, first = noSymbol, second = noSymbol, third = noSymbol;
    for (Symbol basic : m_columns[marker]) {
        const Row& row = m_rows[static_cast<size_t>(m_rowOf[basic])].row;
        double c = row.coefficientFor(marker);
        if (c == 0)
            continue;
        if (kindOf(basic) == Kind::Dummy) {
            if (implied == noSymbol || basic < implied)
                implied = basic;
        } else if (!isRestricted(basic)) {
            third = basic;
        } else if (c < 0) {
            double ratio = -row.constant / c;
            if (ratio < r1 || (ratio == r1 && basic < first)) {
                r1 = ratio;
                first = basic;
            }
        } else {
            double ratio = row.constant / c;
            if (ratio < r2 || (ratio == r2 && basic < second)) {
                r2 = ratio;
                second = basic;
            }
        }
    }
    if (implied != noSymbol)
        return implied;
    if (first != noSymbol)
        return first;
    if (second != noSymbol)
        return second;
    return third;
}

void LayoutSolver::removeConstraint(ConstraintId id)
{
    if (!hasConstraint(id))
        return;
    ConstraintEntry entry = *m_constraints[id];
    m_constraints[id].reset();
    --m_constraintCount;
    if (entry.weight > 0) {
        if (kindOf(entry.tag.marker) == Kind::Error)
            removeErrorEffects(entry.tag.marker, entry.weight);
        if (entry.tag.other != noSymbol && kindOf(entry.tag.other) == Kind::Error)
            removeErrorEffects(entry.tag.other, entry.weight);
    }
    Symbol marker = entry.tag.marker;
    if (!isBasic(marker) && kindOf(marker) == Kind::Dummy)
        expandDeviations(marker);
    if (isBasic(marker)) {
        takeRow(marker);
    } else {
        Symbol leaving = markerLeavingRow(marker);
        if (leaving != noSymbol) {
            Row row = takeRow(leaving);
            row.solveFor(leaving, marker);
            substitute(marker, row);
        }
    }
    // The error symbols of an optional constraint may still sit in rows; they are free
    // now and are left at zero by the next optimisation. That waits until something needs
    // the optimum: a relation replaced by another in the same pass would otherwise have the
    // simplex walk to where the removal leaves things, and back.
    m_optimal = false;
    if (!m_waking.empty())
        wakeEdits();
}

void LayoutSolver::ensureOptimal()
{
    if (m_optimal)
        return;
    optimize(m_objective);
    m_optimal = true;
}

bool LayoutSolver::optimize(Objective& objective)
{
    for (int guard = 0; guard < 100000; ++guard) {
        // Bland's rule (lowest symbol first) keeps the simplex from cycling.
        if (objective.negative.empty())
            return true;
        Symbol entering = *objective.negative.begin();
        double best = std::numeric_limits<double>::max();
        Symbol leaving = noSymbol;
        for (Symbol basic : m_columns[entering]) {
            if (!isRestricted(basic))
                continue;
            const Row& row = m_rows[static_cast<size_t>(m_rowOf[basic])].row;
            double c = row.coefficientFor(entering);
            if (c >= 0)
                continue;
            double ratio = -row.constant / c;
            if (ratio < best || (ratio == best && basic < leaving)) {
                best = ratio;
                leaving = basic;
            }
        }
        if (leaving == noSymbol)
            return false; // Unbounded: cannot happen with non-negative weights.
        pivot(leaving, entering);
    }
    return false;
}

void LayoutSolver::dualOptimize()
{
    while (!m_infeasible.empty()) {
        Symbol leaving = m_infeasible.back();
        m_infeasible.pop_back();
        if (!isBasic(leaving))
            continue;
        const Row& row = rowFor(leaving);
        if (row.constant >= 0)
            continue;
        Symbol entering = noSymbol;
        double best = std::numeric_limits<double>::max();
        for (const auto& [symbol, coefficient] : row.terms) {
            if (coefficient > 0 && kindOf(symbol) != Kind::Dummy) {
                double ratio = objectiveCoefficient(m_objective, symbol) / coefficient;
                if (ratio < best) {
                    best = ratio;
                    entering = symbol;
                }
            }
        }
        if (entering == noSymbol)
            continue; // Cannot be made feasible by this row; the next suggestion may.
        pivot(leaving, entering);
    }
}

void LayoutSolver::addEditVariable(Variable variable, float priority)
{
    if (m_edits.count(variable) || variable >= m_variableSymbol.size())
        return;
    EditEntry edit;
    // A "required" edit is held above every optional constraint, yet yields to required
    // ones (an edit is a wish, which required relations may overrule).
    edit.weight = priority >= requiredPriority ? weightForPriority(999) * 100 : weightForPriority(priority);
    Symbol symbol = m_variableSymbol[variable];
    if (m_deviation[symbol] != noSymbol) {
        // Pinned: whatever it is suggested, the variable keeps the value the required
        // equalities give it, and its edit row would only weigh its own errors.
        edit.dormant = true;
        m_dormantEdits[symbol] = variable;
        m_edits[variable] = edit;
        return;
    }
    if (addEditRow(variable, edit))
        m_edits[variable] = edit;
}

bool LayoutSolver::addEditRow(Variable variable, EditEntry& edit)
{
    Expression expression;
    expression.add(variable, 1.0).constant = -edit.constant;
    auto id = addWeighted(expression, Relation::Equal, edit.weight);
    if (!id)
        return false;
    edit.constraint = *id;
    edit.tag = m_constraints[*id]->tag;
    edit.dormant = false;
    return true;
}

// The dormant edits of variables a removal freed take their rows, at their last suggestion.
void LayoutSolver::wakeEdits()
{
    auto waking = std::move(m_waking);
    m_waking.clear();
    for (Variable variable : waking) {
        auto it = m_edits.find(variable);
        if (it == m_edits.end() || !it->second.dormant)
            continue;
        m_dormantEdits.erase(m_variableSymbol[variable]);
        if (!addEditRow(variable, it->second))
            m_edits.erase(it);
    }
}

void LayoutSolver::removeEditVariable(Variable variable)
{
    auto it = m_edits.find(variable);
    if (it == m_edits.end())
        return;
    EditEntry edit = it->second;
    m_edits.erase(it);
    if (edit.dormant)
        m_dormantEdits.erase(m_variableSymbol[variable]);
    else
        removeConstraint(edit.constraint);
}

bool LayoutSolver::hasEditVariable(Variable variable) const
{
    return m_edits.count(variable) != 0;
}

void LayoutSolver::suggestValue(Variable variable, double value)
{
    auto it = m_edits.find(variable);
    if (it == m_edits.end())
        return;
    EditEntry& edit = it->second;
    double delta = value - edit.constant;
    if (delta == 0)
        return;
    if (edit.dormant) {
        edit.constant = value;
        return;
    }
    ensureOptimal();
    edit.constant = value;
    // The edit row is `variable − plus + minus − value = 0`; a new value shifts the
    // constant of whichever of its error symbols is basic, or of every row that uses the
    // marker.
    Symbol plus = edit.tag.marker;
    Symbol minus = edit.tag.other;
    if (!isBasic(plus) && isBasic(minus)) {
        Row& row = rowFor(minus);
        row.constant += delta;
        if (row.constant < 0)
            m_infeasible.push_back(minus);
    } else {
        shiftMarker(plus, delta);
    }
    dualOptimize();
}

const std::vector<LayoutSolver::Variable>& LayoutSolver::updateValues()
{
    ensureOptimal();
    m_changed.clear();
    for (Variable variable = 0; variable < m_variableSymbol.size(); ++variable) {
        Symbol symbol = m_variableSymbol[variable];
        double value = isBasic(symbol) ? rowFor(symbol).constant : 0.0;
        if (std::fabs(value) < 1e-9)
            value = 0;
        if (value != m_values[variable]) {
            m_values[variable] = value;
            m_changed.push_back(variable);
        }
    }
    return m_changed;
}

} // namespace ui
