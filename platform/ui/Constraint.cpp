#include "platform/ui/Constraint.h"

#include "platform/base/Thread.h"
#include "platform/ui/LayoutEngine.h"
#include "platform/ui/View.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <set>

namespace ui {

namespace {

std::vector<ConstraintPtr>& unheldList()
{
    static std::vector<ConstraintPtr> list;
    return list;
}

uint64_t nextActivationOrder()
{
    static uint64_t counter = 0;
    return ++counter;
}

std::shared_ptr<View> sharedView(View* view)
{
    if (!view)
        return nullptr;
    return view->weak_from_this().lock();
}

std::shared_ptr<View> nearestCommonAncestor(View* a, View* b)
{
    if (!a)
        return nullptr;
    if (!b)
        return sharedView(a);
    for (auto candidate = sharedView(a); candidate; candidate = candidate->superview()) {
        if (b->isDescendantOf(candidate.get()))
            return candidate;
    }
    return nullptr;
}

void pruneUnheld()
{
    auto& list = unheldList();
    list.erase(std::remove_if(list.begin(), list.end(), [](const ConstraintPtr& c) { return !c->firstItem(); }),
        list.end());
}

} // namespace

const char* layoutAttributeName(LayoutAttribute attribute)
{
    switch (attribute) {
    case LayoutAttribute::NotAnAttribute: return "notAnAttribute";
    case LayoutAttribute::Left: return "left";
    case LayoutAttribute::Right: return "right";
    case LayoutAttribute::Top: return "top";
    case LayoutAttribute::Bottom: return "bottom";
    case LayoutAttribute::Leading: return "leading";
    case LayoutAttribute::Trailing: return "trailing";
    case LayoutAttribute::Width: return "width";
    case LayoutAttribute::Height: return "height";
    case LayoutAttribute::CenterX: return "centerX";
    case LayoutAttribute::CenterY: return "centerY";
    case LayoutAttribute::FirstBaseline: return "firstBaseline";
    case LayoutAttribute::LastBaseline: return "lastBaseline";
    }
    return "?";
}

// Anchors

LayoutAnchor::LayoutAnchor(std::weak_ptr<LayoutItem> item, LayoutAttribute attribute)
    : m_item(std::move(item))
    , m_attribute(attribute)
{
}

ConstraintPtr LayoutAnchor::constraintEqualTo(const LayoutAnchor& other, double constant) const
{
    return Constraint::create(item(), m_attribute, LayoutRelation::Equal, other.item(), other.m_attribute, 1, constant);
}

ConstraintPtr LayoutAnchor::constraintGreaterThanOrEqualTo(const LayoutAnchor& other, double constant) const
{
    return Constraint::create(item(), m_attribute, LayoutRelation::GreaterThanOrEqual, other.item(),
        other.m_attribute, 1, constant);
}

ConstraintPtr LayoutAnchor::constraintLessThanOrEqualTo(const LayoutAnchor& other, double constant) const
{
    return Constraint::create(item(), m_attribute, LayoutRelation::LessThanOrEqual, other.item(), other.m_attribute,
        1, constant);
}

ConstraintPtr LayoutAnchor::constraintEqualTo(const LayoutAnchor& other, double multiplier, double constant) const
{
    return Constraint::create(item(), m_attribute, LayoutRelation::Equal, other.item(), other.m_attribute,
        multiplier, constant);
}

ConstraintPtr LayoutAnchor::constraintEqualToConstant(double constant) const
{
    return Constraint::create(item(), m_attribute, LayoutRelation::Equal, nullptr, LayoutAttribute::NotAnAttribute,
        1, constant);
}

ConstraintPtr LayoutAnchor::constraintGreaterThanOrEqualToConstant(double constant) const
{
    return Constraint::create(item(), m_attribute, LayoutRelation::GreaterThanOrEqual, nullptr,
        LayoutAttribute::NotAnAttribute, 1, constant);
}

ConstraintPtr LayoutAnchor::constraintLessThanOrEqualToConstant(double constant) const
{
    return Constraint::create(item(), m_attribute, LayoutRelation::LessThanOrEqual, nullptr,
        LayoutAttribute::NotAnAttribute, 1, constant);
}

// Items

std::vector<ConstraintPtr> LayoutItem::constraintsAffecting(LayoutAttribute attribute) const
{
    std::vector<ConstraintPtr> found;
    auto consider = [&](const ConstraintPtr& constraint) {
        if (constraint->isActive() && constraint->involves(this, attribute)
            && std::find(found.begin(), found.end(), constraint) == found.end())
            found.push_back(constraint);
    };
    // Whoever holds a constraint on us is a common ancestor: our view or one above it.
    for (auto view = sharedView(layoutOwningView()); view; view = view->superview()) {
        for (const auto& constraint : view->constraints())
            consider(constraint);
    }
    pruneUnheld();
    for (const auto& constraint : unheldList())
        consider(constraint);
    std::stable_sort(found.begin(), found.end(),
        [](const ConstraintPtr& a, const ConstraintPtr& b) { return a->m_activationOrder < b->m_activationOrder; });
    return found;
}

ConstraintPtr LayoutItem::constraintAffecting(LayoutAttribute attribute) const
{
    auto all = constraintsAffecting(attribute);
    return all.empty() ? nullptr : all.front();
}

ConstraintPtr LayoutItem::constraintWithFirstAttribute(LayoutAttribute attribute) const
{
    for (const auto& constraint : constraintsAffecting(attribute)) {
        if (constraint->m_firstRaw == this && constraint->firstAttribute() == attribute)
            return constraint;
    }
    return nullptr;
}

// Guides

std::shared_ptr<LayoutGuide> LayoutGuide::create(std::string identifier)
{
    return std::shared_ptr<LayoutGuide>(new LayoutGuide(Kind::Custom, std::move(identifier)));
}

LayoutGuide::LayoutGuide(Kind kind, std::string identifier)
    : m_kind(kind)
    , m_identifier(std::move(identifier))
{
}

Rect LayoutGuide::layoutFrame() const
{
    if (!m_owningView)
        return m_frame;
    switch (m_kind) {
    case Kind::SafeArea:
        return m_owningView->bounds().insetBy(m_owningView->safeAreaInsets());
    case Kind::LayoutMargins: {
        EdgeInsets safe = m_owningView->safeAreaInsets();
        EdgeInsets margins = m_owningView->layoutMargins();
        return m_owningView->bounds().insetBy({ std::max(safe.top, margins.top), std::max(safe.left, margins.left),
            std::max(safe.bottom, margins.bottom), std::max(safe.right, margins.right) });
    }
    case Kind::Custom:
        break;
    }
    return m_frame;
}

std::shared_ptr<View> LayoutGuide::owningView() const
{
    return sharedView(m_owningView);
}

std::weak_ptr<LayoutItem> LayoutGuide::weakLayoutItem() const
{
    std::shared_ptr<LayoutItem> self = std::const_pointer_cast<LayoutGuide>(weak_from_this().lock());
    return self;
}

std::string LayoutGuide::layoutItemName() const
{
    std::string owner = m_owningView ? m_owningView->layoutItemName() : std::string("-");
    switch (m_kind) {
    case Kind::SafeArea:
        return owner + ".safeArea";
    case Kind::LayoutMargins:
        return owner + ".margins";
    case Kind::Custom:
        break;
    }
    return owner + ".guide(" + m_identifier + ")";
}

// Constraints

ConstraintPtr Constraint::create(const std::shared_ptr<LayoutItem>& firstItem, LayoutAttribute firstAttribute,
    LayoutRelation relation, const std::shared_ptr<LayoutItem>& secondItem, LayoutAttribute secondAttribute,
    double multiplier, double constant)
{
    ConstraintPtr constraint(new Constraint());
    constraint->m_firstItem = firstItem;
    constraint->m_firstRaw = firstItem.get();
    constraint->m_firstAttribute = firstAttribute;
    constraint->m_relation = relation;
    if (secondItem && secondAttribute != LayoutAttribute::NotAnAttribute) {
        constraint->m_secondItem = secondItem;
        constraint->m_secondRaw = secondItem.get();
        constraint->m_hasSecondItem = true;
        constraint->m_secondAttribute = secondAttribute;
    }
    constraint->m_multiplier = multiplier;
    constraint->m_constant = constant;
    return constraint;
}

Constraint::~Constraint() = default;

void Constraint::setConstant(double constant)
{
    BASE_ASSERT_MAIN_THREAD();
    if (constant == m_constant)
        return;
    m_constant = constant;
    layout::noteConstraintChanged(*this);
    // As on the device: a changed constraint lays its view out again at the next pass, and
    // the views around it, whose layout code may read the constant.
    for (auto view = m_active ? m_holder.lock() : nullptr; view; view = view->superview())
        view->setNeedsLayout();
}

void Constraint::setPriority(float priority)
{
    BASE_ASSERT_MAIN_THREAD();
    float clamped = std::clamp(priority, 1.0f, LayoutPriority::required);
    if (clamped == m_priority)
        return;
    m_priority = clamped;
    layout::noteConstraintChanged(*this);
}

void Constraint::setIdentifier(std::string identifier)
{
    BASE_ASSERT_MAIN_THREAD();
    m_identifier = std::move(identifier);
}

void Constraint::markActivated()
{
    m_active = true;
    m_activationOrder = nextActivationOrder();
    layout::noteStructureChanged();
}

void Constraint::setActive(bool active)
{
    BASE_ASSERT_MAIN_THREAD();
    if (active == m_active)
        return;
    auto self = shared_from_this();
    if (!active) {
        if (auto holder = m_holder.lock())
            holder->removeConstraint(this);
        auto& list = unheldList();
        list.erase(std::remove(list.begin(), list.end(), self), list.end());
        m_active = false;
        m_holder.reset();
        layout::noteStructureChanged();
        return;
    }
    auto first = firstItem();
    if (!first)
        return; // The item is gone: nothing to constrain.
    auto second = secondItem();
    if (m_hasSecondItem && !second)
        return;
    auto holder = nearestCommonAncestor(first->layoutOwningView(), second ? second->layoutOwningView() : nullptr);
    if (holder) {
        holder->m_constraints.push_back(self);
        m_holder = holder;
    } else {
        pruneUnheld();
        unheldList().push_back(self);
    }
    markActivated();
}

void Constraint::activate(const std::vector<ConstraintPtr>& constraints)
{
    for (const auto& constraint : constraints) {
        if (constraint)
            constraint->setActive(true);
    }
}

void Constraint::deactivate(const std::vector<ConstraintPtr>& constraints)
{
    for (const auto& constraint : constraints) {
        if (constraint)
            constraint->setActive(false);
    }
}

std::vector<ConstraintPtr> Constraint::unheldActiveConstraints()
{
    pruneUnheld();
    return unheldList();
}

bool Constraint::involves(const LayoutItem* item, LayoutAttribute attribute) const
{
    if (!item)
        return false;
    bool any = attribute == LayoutAttribute::NotAnAttribute;
    if (m_firstRaw == item && !m_firstItem.expired() && (any || m_firstAttribute == attribute))
        return true;
    return m_hasSecondItem && m_secondRaw == item && !m_secondItem.expired()
        && (any || m_secondAttribute == attribute);
}

std::string Constraint::description() const
{
    auto number = [](double value) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", value);
        return std::string(buffer);
    };
    auto first = firstItem();
    std::string text = (first ? first->layoutItemName() : std::string("(gone)")) + "."
        + layoutAttributeName(m_firstAttribute);
    text += m_relation == LayoutRelation::Equal ? " == " : m_relation == LayoutRelation::LessThanOrEqual ? " <= " : " >= ";
    if (m_hasSecondItem) {
        auto second = secondItem();
        text += (second ? second->layoutItemName() : std::string("(gone)")) + "." + layoutAttributeName(m_secondAttribute);
        if (m_multiplier != 1)
            text += " * " + number(m_multiplier);
        if (m_constant != 0)
            text += (m_constant < 0 ? " - " : " + ") + number(std::fabs(m_constant));
    } else {
        text += number(m_constant);
    }
    if (m_priority != LayoutPriority::required)
        text += " @" + number(m_priority);
    if (!m_identifier.empty())
        text += " [" + m_identifier + "]";
    return text;
}

// Visual format

namespace {

struct Predicate {
    LayoutRelation relation = LayoutRelation::Equal;
    double constant = 0;
    std::shared_ptr<View> otherView; // "(==other)"
    float priority = LayoutPriority::required;
};

class VisualFormatParser {
public:
    VisualFormatParser(const std::string& format, const std::map<std::string, double>& metrics,
        const std::map<std::string, std::shared_ptr<View>>& views)
        : m_text(format)
        , m_metrics(metrics)
        , m_views(views)
    {
    }

    bool parse(std::vector<ConstraintPtr>& out)
    {
        skipSpaces();
        bool vertical = false;
        if (consume("V:"))
            vertical = true;
        else
            consume("H:");
        LayoutAttribute lead = vertical ? LayoutAttribute::Top : LayoutAttribute::Leading;
        LayoutAttribute trail = vertical ? LayoutAttribute::Bottom : LayoutAttribute::Trailing;
        LayoutAttribute size = vertical ? LayoutAttribute::Height : LayoutAttribute::Width;

        bool leadingSuperview = consume("|");
        std::optional<std::vector<Predicate>> pendingSpacing;
        bool haveConnection = false;
        if (leadingSuperview) {
            if (!parseConnection(pendingSpacing, haveConnection, true))
                return false;
        }
        std::shared_ptr<View> previous;
        bool previousIsSuperview = leadingSuperview;
        bool anyView = false;
        while (peek() == '[') {
            std::shared_ptr<View> view;
            std::vector<Predicate> sizes;
            if (!parseView(view, sizes))
                return false;
            anyView = true;
            if (previousIsSuperview || previous) {
                std::vector<Predicate> spacing = spacingOrDefault(pendingSpacing, haveConnection, previousIsSuperview);
                for (const Predicate& p : spacing) {
                    if (previousIsSuperview) {
                        auto superview = view->superview();
                        if (!superview)
                            return false;
                        add(out, view, lead, p.relation, superview, lead, p.constant, p.priority);
                    } else {
                        add(out, view, lead, p.relation, previous, trail, p.constant, p.priority);
                    }
                }
            }
            for (const Predicate& p : sizes) {
                if (p.otherView)
                    add(out, view, size, p.relation, p.otherView, size, 0, p.priority);
                else
                    add(out, view, size, p.relation, nullptr, LayoutAttribute::NotAnAttribute, p.constant, p.priority);
            }
            previous = view;
            previousIsSuperview = false;
            pendingSpacing.reset();
            haveConnection = false;
            if (!parseConnection(pendingSpacing, haveConnection, false))
                return false;
        }
        if (!anyView)
            return false;
        if (consume("|")) {
            std::vector<Predicate> spacing = spacingOrDefault(pendingSpacing, haveConnection, true);
            auto superview = previous->superview();
            if (!superview)
                return false;
            for (const Predicate& p : spacing)
                add(out, superview, trail, p.relation, previous, trail, p.constant, p.priority);
        } else if (haveConnection) {
            return false; // A dangling "-" with nothing after it.
        }
        skipSpaces();
        return m_pos == m_text.size();
    }

private:
    static void add(std::vector<ConstraintPtr>& out, const std::shared_ptr<View>& first, LayoutAttribute firstAttribute,
        LayoutRelation relation, const std::shared_ptr<View>& second, LayoutAttribute secondAttribute, double constant,
        float priority)
    {
        auto constraint = Constraint::create(first, firstAttribute, relation, second, secondAttribute, 1, constant);
        if (priority != LayoutPriority::required)
            constraint->setPriority(priority);
        out.push_back(constraint);
    }

    static std::vector<Predicate> spacingOrDefault(const std::optional<std::vector<Predicate>>& spacing,
        bool haveConnection, bool toSuperview)
    {
        if (spacing)
            return *spacing;
        Predicate p;
        // "-" alone is the standard spacing; no connection at all means touching.
        p.constant = haveConnection ? (toSuperview ? 20 : 8) : 0;
        return { p };
    }

    // After '|' or ']': nothing, "-" (standard), or "-value-".
    bool parseConnection(std::optional<std::vector<Predicate>>& spacing, bool& haveConnection, bool afterSuperview)
    {
        (void)afterSuperview;
        skipSpaces();
        if (!consume("-"))
            return true;
        haveConnection = true;
        skipSpaces();
        if (peek() == '[' || peek() == '|')
            return true;
        std::vector<Predicate> predicates;
        if (peek() == '(') {
            ++m_pos;
            if (!parsePredicateList(predicates, false))
                return false;
            if (!consume(")"))
                return false;
        } else {
            Predicate p;
            if (!parseValue(p.constant))
                return false;
            predicates.push_back(p);
        }
        skipSpaces();
        if (!consume("-"))
            return false;
        spacing = std::move(predicates);
        return true;
    }

    bool parseView(std::shared_ptr<View>& view, std::vector<Predicate>& sizes)
    {
        if (!consume("["))
            return false;
        std::string name = identifier();
        auto it = m_views.find(name);
        if (name.empty() || it == m_views.end() || !it->second)
            return false;
        view = it->second;
        skipSpaces();
        if (consume("(")) {
            if (!parsePredicateList(sizes, true))
                return false;
            if (!consume(")"))
                return false;
        }
        skipSpaces();
        return consume("]");
    }

    bool parsePredicateList(std::vector<Predicate>& out, bool allowViews)
    {
        do {
            Predicate p;
            skipSpaces();
            if (consume("=="))
                p.relation = LayoutRelation::Equal;
            else if (consume(">="))
                p.relation = LayoutRelation::GreaterThanOrEqual;
            else if (consume("<="))
                p.relation = LayoutRelation::LessThanOrEqual;
            skipSpaces();
            size_t mark = m_pos;
            std::string name = identifier();
            if (!name.empty() && allowViews && m_views.count(name) && !m_metrics.count(name)) {
                p.otherView = m_views.at(name);
                if (!p.otherView)
                    return false;
            } else {
                m_pos = mark;
                if (!parseValue(p.constant))
                    return false;
            }
            skipSpaces();
            if (consume("@")) {
                double priority = 0;
                if (!parseValue(priority))
                    return false;
                p.priority = static_cast<float>(std::clamp(priority, 1.0, 1000.0));
            }
            out.push_back(p);
            skipSpaces();
        } while (consume(","));
        return true;
    }

    bool parseValue(double& value)
    {
        skipSpaces();
        size_t start = m_pos;
        if (m_pos < m_text.size() && (m_text[m_pos] == '-' || m_text[m_pos] == '+'))
            ++m_pos;
        bool digits = false;
        while (m_pos < m_text.size() && (std::isdigit(static_cast<unsigned char>(m_text[m_pos])) || m_text[m_pos] == '.')) {
            digits = true;
            ++m_pos;
        }
        if (digits) {
            std::string number = m_text.substr(start, m_pos - start);
            char* end = nullptr;
            value = std::strtod(number.c_str(), &end);
            return end && *end == '\0' && std::isfinite(value);
        }
        m_pos = start;
        std::string name = identifier();
        auto it = m_metrics.find(name);
        if (name.empty() || it == m_metrics.end() || !std::isfinite(it->second))
            return false;
        value = it->second;
        return true;
    }

    std::string identifier()
    {
        size_t start = m_pos;
        while (m_pos < m_text.size()
            && (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) || m_text[m_pos] == '_'))
            ++m_pos;
        if (m_pos > start && std::isdigit(static_cast<unsigned char>(m_text[start]))) {
            m_pos = start;
            return {};
        }
        return m_text.substr(start, m_pos - start);
    }

    char peek()
    {
        skipSpaces();
        return m_pos < m_text.size() ? m_text[m_pos] : '\0';
    }

    bool consume(const char* token)
    {
        skipSpaces();
        std::string_view t(token);
        if (m_text.compare(m_pos, t.size(), t) == 0) {
            m_pos += t.size();
            return true;
        }
        return false;
    }

    void skipSpaces()
    {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
    }

    const std::string& m_text;
    const std::map<std::string, double>& m_metrics;
    const std::map<std::string, std::shared_ptr<View>>& m_views;
    size_t m_pos = 0;
};

} // namespace

std::vector<ConstraintPtr> Constraint::constraintsWithVisualFormat(const std::string& format,
    const std::map<std::string, double>& metrics, const std::map<std::string, std::shared_ptr<View>>& views)
{
    std::vector<ConstraintPtr> constraints;
    VisualFormatParser parser(format, metrics, views);
    if (!parser.parse(constraints))
        return {};
    return constraints;
}

} // namespace ui
