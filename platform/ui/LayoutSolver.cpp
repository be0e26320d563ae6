#include "platform/ui/LayoutSolver.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ui {

namespace {

constexpr double epsilon = 1e-8;

bool nearZero(double value)
{
    return std::fabs(value) < epsilon;
}

} // namespace

double LayoutSolver::weightForPriority(float priority)
{
    // Below every priority a constraint can carry: a preference that only decides what
    // nothing else does (where an under-constrained view stays).
    if (priority < 1)
        return 1e-4;
    double p = std::min(static_cast<double>(priority), 999.0);
    return std::pow(10.0, p / 250.0);
}

// Rows

double LayoutSolver::Row::coefficientFor(Symbol symbol) const
{
    auto it = std::lower_bound(terms.begin(), terms.end(), symbol,
        [](const std::pair<Symbol, double>& term, Symbol s) { return term.first < s; });
    return it != terms.end() && it->first == symbol ? it->second : 0.0;
}

void LayoutSolver::Row::insert(Symbol symbol, double coefficient)
{
    auto it = std::lower_bound(terms.begin(), terms.end(), symbol,
        [](const std::pair<Symbol, double>& term, Symbol s) { return term.first < s; });
    if (it != terms.end() && it->first == symbol) {
        it->second += coefficient;
        if (nearZero(it->second))
            terms.erase(it);
        return;
    }
    if (!nearZero(coefficient))
        terms.insert(it, { symbol, coefficient });
}

void LayoutSolver::Row::insert(const Row& other, double coefficient)
{
    constant += other.constant * coefficient;
    std::vector<std::pair<Symbol, double>> merged;
    merged.reserve(terms.size() + other.terms.size());
    size_t i = 0, j = 0;
    while (i < terms.size() || j < other.terms.size()) {
        if (j == other.terms.size() || (i < terms.size() && terms[i].first < other.terms[j].first)) {
            merged.push_back(terms[i++]);
        } else if (i == terms.size() || other.terms[j].first < terms[i].first) {
            double c = other.terms[j].second * coefficient;
            if (!nearZero(c))
                merged.push_back({ other.terms[j].first, c });
            ++j;
        } else {
            double c = terms[i].second + other.terms[j].second * coefficient;
            if (!nearZero(c))
                merged.push_back({ terms[i].first, c });
            ++i;
            ++j;
        }
    }
    terms.swap(merged);
}

void LayoutSolver::Row::remove(Symbol symbol)
{
    auto it = std::lower_bound(terms.begin(), terms.end(), symbol,
        [](const std::pair<Symbol, double>& term, Symbol s) { return term.first < s; });
    if (it != terms.end() && it->first == symbol)
        terms.erase(it);
}

void LayoutSolver::Row::negate()
{
    constant = -constant;
    for (auto& term : terms)
        term.second = -term.second;
}

// 0 = constant + a·symbol + rest  becomes  symbol = -(constant + rest) / a.
void LayoutSolver::Row::solveFor(Symbol symbol)
{
    double a = coefficientFor(symbol);
    remove(symbol);
    double factor = -1.0 / a;
    constant *= factor;
    for (auto& term : terms)
        term.second *= factor;
}

// lhs = constant + a·rhs + rest  becomes  rhs = …, with lhs among the terms.
void LayoutSolver::Row::solveFor(Symbol lhs, Symbol rhs)
{
    insert(lhs, -1.0);
    solveFor(rhs);
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

void LayoutSolver::addToColumns(Symbol basic, const Row& row)
{
    for (const auto& [symbol, coefficient] : row.terms)
        m_columns[symbol].insert(basic);
}

void LayoutSolver::removeFromColumns(Symbol basic, const Row& row)
{
    for (const auto& [symbol, coefficient] : row.terms)
        m_columns[symbol].erase(basic);
}

void LayoutSolver::setBasic(Symbol basic, Row&& row)
{
    int32_t index;
    if (!m_freeRows.empty()) {
        index = m_freeRows.back();
        m_freeRows.pop_back();
    } else {
        index = static_cast<int32_t>(m_rows.size());
        m_rows.emplace_back();
    }
    m_rows[static_cast<size_t>(index)].basic = basic;
    m_rows[static_cast<size_t>(index)].row = std::move(row);
    m_rowOf[basic] = index;
    addToColumns(basic, m_rows[static_cast<size_t>(index)].row);
}

LayoutSolver::Row LayoutSolver::takeRow(Symbol basic)
{
    // Rows that wrote this one as its deviation need its terms once it stops being basic.
    if (m_deviation[basic] != noSymbol)
        expandDeviations(m_deviation[basic]);
    int32_t index = m_rowOf[basic];
    Row row = std::move(m_rows[static_cast<size_t>(index)].row);
    m_rows[static_cast<size_t>(index)].basic = noSymbol;
    m_rows[static_cast<size_t>(index)].row = Row {};
    m_rowOf[basic] = -1;
    m_freeRows.push_back(index);
    removeFromColumns(basic, row);
    return row;
}

// target := target − (its `replaced` term) + coefficient × source, keeping the columns
// right as it goes (no copy of the row before).
void LayoutSolver::mergeInto(Symbol basic, Row& target, Symbol replaced, const Row& source, double coefficient)
{
    target.constant += source.constant * coefficient;
    // The merged terms go into the buffer the previous merge left behind, and the row's old
    // buffer is kept for the next: no allocation per merge once they are large enough.
    std::vector<std::pair<Symbol, double>> merged = std::move(m_mergeBuffer);
    merged.clear();
    merged.reserve(target.terms.size() + source.terms.size());
    const auto& mine = target.terms;
    const auto& theirs = source.terms;
    size_t i = 0, j = 0;
    while (i < mine.size() || j < theirs.size()) {
        if (j == theirs.size() || (i < mine.size() && mine[i].first < theirs[j].first)) {
            if (mine[i].first == replaced)
                m_columns[replaced].erase(basic);
            else
                merged.push_back(mine[i]);
            ++i;
        } else if (i == mine.size() || theirs[j].first < mine[i].first) {
            double c = theirs[j].second * coefficient;
            if (!nearZero(c)) {
                merged.push_back({ theirs[j].first, c });
                m_columns[theirs[j].first].insert(basic);
            }
            ++j;
        } else {
            double c = mine[i].second + theirs[j].second * coefficient;
            if (nearZero(c))
                m_columns[mine[i].first].erase(basic);
            else
                merged.push_back({ mine[i].first, c });
            ++i;
            ++j;
        }
    }
    target.terms.swap(merged);
    m_mergeBuffer = std::move(merged);
}

// Replaces `symbol` by its row everywhere it appears.
void LayoutSolver::substitute(Symbol symbol, const Row& row)
{
    std::vector<Symbol> users(m_columns[symbol].begin(), m_columns[symbol].end());
    for (Symbol basic : users) {
        Row& target = rowFor(basic);
        double coefficient = target.coefficientFor(symbol);
        if (coefficient == 0)
            continue;
        mergeInto(basic, target, symbol, row, coefficient);
        if (isRestricted(basic) && target.constant < 0)
            m_infeasible.push_back(basic);
    }
    substituteInObjective(m_objective, symbol, row);
    if (m_artificial)
        substituteInObjective(*m_artificial, symbol, row);
}

double LayoutSolver::objectiveCoefficient(const Objective& objective, Symbol symbol) const
{
    auto it = objective.coefficients.find(symbol);
    return it == objective.coefficients.end() ? 0.0 : it->second;
}

void LayoutSolver::addToObjective(Objective& objective, Symbol symbol, double coefficient)
{
    auto it = objective.coefficients.try_emplace(symbol, 0.0).first;
    it->second += coefficient;
    // Markers of required equalities (and the deviations standing for them) stay at zero
    // and never enter; the objective still carries them, for the removal that frees one.
    if (nearZero(it->second)) {
        objective.coefficients.erase(it);
        objective.negative.erase(symbol);
    } else if (it->second < -epsilon && kindOf(symbol) != Kind::Dummy) {
        objective.negative.insert(symbol);
    } else {
        objective.negative.erase(symbol);
    }
}

void LayoutSolver::addToObjective(Objective& objective, const Row& row, double coefficient)
{
    objective.constant += row.constant * coefficient;
    for (const auto& [symbol, c] : row.terms)
        addToObjective(objective, symbol, c * coefficient);
}

void LayoutSolver::substituteInObjective(Objective& objective, Symbol symbol, const Row& row)
{
    auto it = objective.coefficients.find(symbol);
    if (it == objective.coefficients.end())
        return;
    double c = it->second;
    objective.coefficients.erase(it);
    objective.negative.erase(symbol);
    addToObjective(objective, row, c);
}

// `basic` = row, where the row holds markers of required equalities only: later rows name it
// by its value and one deviation symbol (fixed at zero, as the markers it stands for).
void LayoutSolver::pin(Symbol basic, Row&& row)
{
    Symbol deviation = newSymbol(Kind::Dummy);
    m_deviation[basic] = deviation;
    m_deviationOwner[deviation] = basic;
    Row standIn;
    standIn.constant = row.constant;
    standIn.terms.push_back({ deviation, 1.0 });
    substitute(basic, standIn);
    setBasic(basic, std::move(row));
}

// Writes out, in the rows that use them, the deviations whose markers reach `symbol` (and
// `symbol` itself if it is one), so that its column lists every row that depends on it:
// what a removal pivots over. Deviations are made after those their row names, so in
// ascending order each one is written out after the ones inside it.
void LayoutSolver::expandDeviations(Symbol symbol)
{
    std::vector<Symbol> found;
    std::vector<Symbol> queue { symbol };
    std::unordered_set<Symbol> seen;
    if (m_deviationOwner[symbol] != noSymbol) {
        found.push_back(symbol);
        seen.insert(symbol);
    }
    while (!queue.empty()) {
        Symbol current = queue.back();
        queue.pop_back();
        for (Symbol basic : m_columns[current]) {
            Symbol deviation = m_deviation[basic];
            if (deviation != noSymbol && seen.insert(deviation).second) {
                found.push_back(deviation);
                queue.push_back(deviation);
            }
        }
    }
    std::sort(found.begin(), found.end());
    for (Symbol deviation : found) {
        Symbol owner = m_deviationOwner[deviation];
        m_deviation[owner] = noSymbol;
        m_deviationOwner[deviation] = noSymbol;
        if (auto dormant = m_dormantEdits.find(owner); dormant != m_dormantEdits.end())
            m_waking.push_back(dormant->second);
        Row definition = rowFor(owner);
        definition.constant = 0;
        std::vector<Symbol> users(m_columns[deviation].begin(), m_columns[deviation].end());
        for (Symbol basic : users) {
            Row& target = rowFor(basic);
            mergeInto(basic, target, deviation, definition, target.coefficientFor(deviation));
        }
        substituteInObjective(m_objective, deviation, definition);
        if (m_artificial)
            substituteInObjective(*m_artificial, deviation, definition);
    }
}

void LayoutSolver::pivot(Symbol leaving, Symbol entering)
{
    Row row = takeRow(leaving);
    row.solveFor(leaving, entering);
    substitute(entering, row);
    setBasic(entering, std::move(row));
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
    m_constraints[id] = { tag, weight, expression.constant, markerCoefficient };
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
    auto it = m_constraints.find(id);
    if (it == m_constraints.end())
        return false;
    ConstraintEntry& entry = it->second;
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
        if (slot.basic != noSymbol && isRestricted(slot.basic) && slot.row.constant < -epsilon) {
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
    return m_constraints.count(id) != 0;
}

void LayoutSolver::removeErrorEffects(Symbol error, double weight)
{
    if (isBasic(error))
        addToObjective(m_objective, rowFor(error), -weight);
    else
        addToObjective(m_objective, error, -weight);
}

// The row to pivot a non-basic marker into: the most restrictive restricted row where it
// has a negative coefficient, else one where it is positive, else any.
LayoutSolver::Symbol LayoutSolver::markerLeavingRow(Symbol marker) const
{
    double r1 = std::numeric_limits<double>::max();
    double r2 = std::numeric_limits<double>::max();
    Symbol first = noSymbol, second = noSymbol, third = noSymbol;
    for (Symbol basic : m_columns[marker]) {
        const Row& row = m_rows[static_cast<size_t>(m_rowOf[basic])].row;
        double c = row.coefficientFor(marker);
        if (c == 0)
            continue;
        if (!isRestricted(basic)) {
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
    if (first != noSymbol)
        return first;
    if (second != noSymbol)
        return second;
    return third;
}

void LayoutSolver::removeConstraint(ConstraintId id)
{
    auto it = m_constraints.find(id);
    if (it == m_constraints.end())
        return;
    ConstraintEntry entry = it->second;
    m_constraints.erase(it);
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
    edit.tag = m_constraints[*id].tag;
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
