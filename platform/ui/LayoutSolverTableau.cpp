// The tableau's bookkeeping: rows as sorted term vectors, the columns that say which rows
// mention a symbol, substitution and pivots, the objective, and the deviations that stand
// for the markers of the variables required equalities decide.

#include "platform/ui/LayoutSolver.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace ui {

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

} // namespace ui
