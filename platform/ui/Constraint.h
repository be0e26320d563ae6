#pragma once

// Layout constraints.
//
// Constraints are made through anchors or the visual format, activated, found again by
// item and attribute, and their constants changed. The layout engine (LayoutEngine.h)
// solves the active ones of a tree at each layout pass and places the views that do not
// turn their autoresizing mask into constraints.
//
// An active constraint is held by the nearest common ancestor of the views of its items
// (the item's own view for a constraint on one item). When the items share no ancestor
// yet, it is held in a process-wide list instead, so activating never fails. Removing a
// view from its superview deactivates the constraints that tie its subtree to views
// outside it.

#include "platform/ui/Geometry.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class View;
class Constraint;
class LayoutItem;

enum class LayoutAttribute {
    NotAnAttribute,
    Left,
    Right,
    Top,
    Bottom,
    Leading,
    Trailing,
    Width,
    Height,
    CenterX,
    CenterY,
    FirstBaseline,
    LastBaseline,
};

enum class LayoutRelation { LessThanOrEqual = -1, Equal = 0, GreaterThanOrEqual = 1 };

enum class LayoutConstraintAxis { Horizontal, Vertical };

const char* layoutAttributeName(LayoutAttribute);

namespace LayoutPriority {
inline constexpr float required = 1000;
inline constexpr float defaultHigh = 750;
inline constexpr float defaultLow = 250;
inline constexpr float fittingSizeLevel = 50;
} // namespace LayoutPriority

using ConstraintPtr = std::shared_ptr<Constraint>;

// One edge, centre or dimension of an item. Making a constraint from an anchor does not
// activate it (as on the platform).
class LayoutAnchor {
public:
    LayoutAnchor() = default;
    LayoutAnchor(std::weak_ptr<LayoutItem>, LayoutAttribute);

    std::shared_ptr<LayoutItem> item() const { return m_item.lock(); }
    LayoutAttribute attribute() const { return m_attribute; }

    ConstraintPtr constraintEqualTo(const LayoutAnchor& other, double constant = 0) const;
    ConstraintPtr constraintGreaterThanOrEqualTo(const LayoutAnchor& other, double constant = 0) const;
    ConstraintPtr constraintLessThanOrEqualTo(const LayoutAnchor& other, double constant = 0) const;
    // Dimensions only (width, height) on the platform; here any attribute is accepted.
    ConstraintPtr constraintEqualTo(const LayoutAnchor& other, double multiplier, double constant) const;
    ConstraintPtr constraintEqualToConstant(double constant) const;
    ConstraintPtr constraintGreaterThanOrEqualToConstant(double constant) const;
    ConstraintPtr constraintLessThanOrEqualToConstant(double constant) const;

private:
    std::weak_ptr<LayoutItem> m_item;
    LayoutAttribute m_attribute = LayoutAttribute::NotAnAttribute;
};

// Something constraints can name: a view or a layout guide.
class LayoutItem {
public:
    virtual ~LayoutItem() = default;

    // The view itself, or the view a guide belongs to.
    virtual View* layoutOwningView() const = 0;
    virtual std::weak_ptr<LayoutItem> weakLayoutItem() const = 0;
    // For descriptions and dumps.
    virtual std::string layoutItemName() const = 0;

    LayoutAnchor leftAnchor() const { return anchor(LayoutAttribute::Left); }
    LayoutAnchor rightAnchor() const { return anchor(LayoutAttribute::Right); }
    LayoutAnchor topAnchor() const { return anchor(LayoutAttribute::Top); }
    LayoutAnchor bottomAnchor() const { return anchor(LayoutAttribute::Bottom); }
    LayoutAnchor leadingAnchor() const { return anchor(LayoutAttribute::Leading); }
    LayoutAnchor trailingAnchor() const { return anchor(LayoutAttribute::Trailing); }
    LayoutAnchor widthAnchor() const { return anchor(LayoutAttribute::Width); }
    LayoutAnchor heightAnchor() const { return anchor(LayoutAttribute::Height); }
    LayoutAnchor centerXAnchor() const { return anchor(LayoutAttribute::CenterX); }
    LayoutAnchor centerYAnchor() const { return anchor(LayoutAttribute::CenterY); }
    LayoutAnchor firstBaselineAnchor() const { return anchor(LayoutAttribute::FirstBaseline); }
    LayoutAnchor lastBaselineAnchor() const { return anchor(LayoutAttribute::LastBaseline); }
    LayoutAnchor anchor(LayoutAttribute attribute) const { return { weakLayoutItem(), attribute }; }

    // Active constraints with this item as first or second item, on the given attribute
    // (NotAnAttribute: any), in the order they were activated.
    std::vector<ConstraintPtr> constraintsAffecting(LayoutAttribute = LayoutAttribute::NotAnAttribute) const;
    // The first of those, or null.
    ConstraintPtr constraintAffecting(LayoutAttribute) const;
    // The first active constraint whose *first* item and attribute are these, or null.
    ConstraintPtr constraintWithFirstAttribute(LayoutAttribute) const;
};

// A rectangle that constraints can name without being a view: the safe area, the layout
// margins, or a guide added by the owner.
class LayoutGuide : public LayoutItem, public std::enable_shared_from_this<LayoutGuide> {
public:
    enum class Kind { Custom, SafeArea, LayoutMargins };

    static std::shared_ptr<LayoutGuide> create(std::string identifier = {});

    Kind kind() const { return m_kind; }
    const std::string& identifier() const { return m_identifier; }
    void setIdentifier(std::string identifier) { m_identifier = std::move(identifier); }

    // In the owning view's bounds coordinates. The safe-area and margins guides follow
    // their view; a custom guide answers what was set.
    Rect layoutFrame() const;
    void setLayoutFrame(const Rect& frame) { m_frame = frame; }

    View* layoutOwningView() const override { return m_owningView; }
    std::shared_ptr<View> owningView() const;
    std::weak_ptr<LayoutItem> weakLayoutItem() const override;
    std::string layoutItemName() const override;

private:
    friend class View;
    LayoutGuide(Kind, std::string identifier);

    Kind m_kind = Kind::Custom;
    std::string m_identifier;
    Rect m_frame;
    View* m_owningView = nullptr;
};

class Constraint : public std::enable_shared_from_this<Constraint> {
public:
    // firstItem.firstAttribute relation secondItem.secondAttribute * multiplier + constant.
    // With no second item (or NotAnAttribute) the constraint is a constant one.
    static ConstraintPtr create(const std::shared_ptr<LayoutItem>& firstItem, LayoutAttribute firstAttribute,
        LayoutRelation, const std::shared_ptr<LayoutItem>& secondItem, LayoutAttribute secondAttribute,
        double multiplier = 1, double constant = 0);
    ~Constraint();

    Constraint(const Constraint&) = delete;
    Constraint& operator=(const Constraint&) = delete;

    // Items are held weakly: a constraint never keeps a view alive.
    std::shared_ptr<LayoutItem> firstItem() const { return m_firstItem.lock(); }
    std::shared_ptr<LayoutItem> secondItem() const { return m_secondItem.lock(); }
    bool hasSecondItem() const { return m_hasSecondItem; }
    LayoutAttribute firstAttribute() const { return m_firstAttribute; }
    LayoutAttribute secondAttribute() const { return m_secondAttribute; }
    LayoutRelation relation() const { return m_relation; }
    double multiplier() const { return m_multiplier; }

    double constant() const { return m_constant; }
    void setConstant(double);
    float priority() const { return m_priority; }
    void setPriority(float);
    const std::string& identifier() const { return m_identifier; }
    void setIdentifier(std::string);

    bool isActive() const { return m_active; }
    void setActive(bool);
    static void activate(const std::vector<ConstraintPtr>&);
    static void deactivate(const std::vector<ConstraintPtr>&);

    // The view that holds the constraint while it is active; null when inactive or when
    // it sits in the process-wide list.
    std::shared_ptr<View> holder() const { return m_holder.lock(); }

    bool involves(const LayoutItem*, LayoutAttribute = LayoutAttribute::NotAnAttribute) const;

    // "View.top == View(2).bottom * 1 + 8 @1000", for failure messages and dumps.
    std::string description() const;

    // Active constraints that no common ancestor holds (test support and queries).
    static std::vector<ConstraintPtr> unheldActiveConstraints();

    // "H:|[v]|", "V:|-(m)-[v(h)]-|", "H:|-0-[a]-8-[b(==a)]-0-|": a leading '|' and/or
    // trailing '|' for the superview, views in brackets with optional size predicates
    // ("(44)", "(==44)", "(>=m)", "(<=name)", "(==otherView)"), and connections "-" (the
    // standard 8 points between views, 20 to the superview), "-N-", "-(N)-", "-(metric)-",
    // or none (touching). The constraints are made, not activated. A format that cannot be
    // read, or names a view or metric not given, answers an empty list.
    static std::vector<ConstraintPtr> constraintsWithVisualFormat(const std::string& format,
        const std::map<std::string, double>& metrics, const std::map<std::string, std::shared_ptr<View>>& views);

private:
    Constraint() = default;
    friend class View;
    friend class LayoutItem;
    void markActivated();

    std::weak_ptr<LayoutItem> m_firstItem;
    std::weak_ptr<LayoutItem> m_secondItem;
    const LayoutItem* m_firstRaw = nullptr;
    const LayoutItem* m_secondRaw = nullptr;
    bool m_hasSecondItem = false;
    LayoutAttribute m_firstAttribute = LayoutAttribute::NotAnAttribute;
    LayoutAttribute m_secondAttribute = LayoutAttribute::NotAnAttribute;
    LayoutRelation m_relation = LayoutRelation::Equal;
    double m_multiplier = 1;
    double m_constant = 0;
    float m_priority = LayoutPriority::required;
    std::string m_identifier;
    bool m_active = false;
    uint64_t m_activationOrder = 0;
    std::weak_ptr<View> m_holder;
};

} // namespace ui
