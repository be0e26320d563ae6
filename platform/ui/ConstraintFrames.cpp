#include "platform/ui/ConstraintFrames.h"

#include "platform/ui/Constraint.h"
#include "platform/ui/View.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace ui {

namespace {

using ConstraintIndex = std::unordered_map<const ui::LayoutItem*, std::vector<ui::ConstraintPtr>>;
using PlacedSet = std::unordered_set<const ui::View*>;

void collect(const ui::View& view, ConstraintIndex& index)
{
    for (const auto& constraint : view.constraints()) {
        for (auto item : { constraint->firstItem(), constraint->secondItem() }) {
            if (item)
                index[item.get()].push_back(constraint);
        }
    }
    for (const auto& subview : view.subviews())
        collect(*subview, index);
}

// The rectangle of an item in the superview's bounds coordinates, when it is one this
// pass can read: the superview, one of its guides, or a sibling whose frame is settled
// (set by its owner, or placed already).
std::optional<ui::Rect> rectInSuperview(const ui::LayoutItem& item, const ui::View& superview, const PlacedSet& placed)
{
    if (&item == static_cast<const ui::LayoutItem*>(&superview))
        return superview.bounds();
    if (auto guide = dynamic_cast<const ui::LayoutGuide*>(&item)) {
        if (guide->layoutOwningView() == &superview)
            return guide->layoutFrame();
        return std::nullopt;
    }
    if (auto view = dynamic_cast<const ui::View*>(&item)) {
        bool settled = view->translatesAutoresizingMaskIntoConstraints() || placed.count(view);
        if (view->superview().get() == &superview && settled)
            return view->frame();
    }
    return std::nullopt;
}

std::optional<double> valueOf(const ui::Rect& rect, LayoutAttribute attribute)
{
    switch (attribute) {
    case LayoutAttribute::Left:
    case LayoutAttribute::Leading:
        return rect.origin.x;
    case LayoutAttribute::Right:
    case LayoutAttribute::Trailing:
        return rect.origin.x + rect.size.width;
    case LayoutAttribute::CenterX:
        return rect.origin.x + rect.size.width / 2;
    case LayoutAttribute::Width:
        return rect.size.width;
    case LayoutAttribute::Top:
        return rect.origin.y;
    case LayoutAttribute::Bottom:
        return rect.origin.y + rect.size.height;
    case LayoutAttribute::CenterY:
        return rect.origin.y + rect.size.height / 2;
    case LayoutAttribute::Height:
        return rect.size.height;
    default:
        return std::nullopt;
    }
}

LayoutAttribute canonical(LayoutAttribute attribute)
{
    if (attribute == LayoutAttribute::Leading)
        return LayoutAttribute::Left;
    if (attribute == LayoutAttribute::Trailing)
        return LayoutAttribute::Right;
    return attribute;
}

// Start and length of one axis from what is known of its start, end, centre and length.
void solveAxis(std::optional<double> start, std::optional<double> end, std::optional<double> centre,
    std::optional<double> length, double& origin, double& size, double intrinsic)
{
    if (!start && !end && !centre && !length)
        return;
    if (!length) {
        if (start && end)
            length = *end - *start;
        else if (centre && start)
            length = 2 * (*centre - *start);
        else if (centre && end)
            length = 2 * (*end - *centre);
        else
            length = size > 0 ? size : std::max(0.0, intrinsic);
    }
    size = std::max(0.0, *length);
    if (start)
        origin = *start;
    else if (end)
        origin = *end - size;
    else if (centre)
        origin = *centre - size / 2;
}

// The frames this pass gave, by view: a view still at the frame it was given is the pass's
// to move again when its constraints change; one whose owner set another frame since, or
// any frame before the pass saw it, keeps what its owner set.
class PassFrames {
public:
    bool owns(const View& view)
    {
        if (view.frame() == Rect {})
            return true;
        auto found = m_frames.find(&view);
        if (found == m_frames.end())
            return false;
        if (found->second.view.expired()) {
            m_frames.erase(found);
            return false;
        }
        return found->second.frame == view.frame();
    }
    void gave(View& view)
    {
        m_frames[&view] = Given { view.weak_from_this(), view.frame() };
        if (m_frames.size() > m_sweepAt) {
            std::erase_if(m_frames, [](const auto& entry) { return entry.second.view.expired(); });
            m_sweepAt = std::max<size_t>(1024, m_frames.size() * 2);
        }
    }

private:
    struct Given {
        std::weak_ptr<View> view;
        Rect frame;
    };
    std::unordered_map<const View*, Given> m_frames;
    size_t m_sweepAt = 1024;
};

PassFrames& passFrames()
{
    static PassFrames frames;
    return frames;
}

void place(ui::View& view, const ConstraintIndex& index, PlacedSet& placed)
{
    auto superview = view.superview();
    auto found = index.find(static_cast<const ui::LayoutItem*>(&view));
    if (superview && !view.translatesAutoresizingMaskIntoConstraints() && found != index.end()
        && passFrames().owns(view)) {
        // What a constraint on the view itself (the view as first item) says wins over what
        // one written from another view's side says.
        std::map<LayoutAttribute, double> values;
        std::map<LayoutAttribute, double> fromOthers;
        for (const auto& constraint : found->second) {
            if (!constraint->isActive() || constraint->relation() != ui::LayoutRelation::Equal
                || constraint->priority() < ui::LayoutPriority::defaultHigh)
                continue;
            auto first = constraint->firstItem();
            auto second = constraint->secondItem();
            bool viewIsFirst = first.get() == static_cast<ui::LayoutItem*>(&view);
            LayoutAttribute own = viewIsFirst ? constraint->firstAttribute() : constraint->secondAttribute();
            double multiplier = constraint->multiplier();
            double constant = constraint->constant();
            auto other = viewIsFirst ? second : first;
            LayoutAttribute otherAttribute = viewIsFirst ? constraint->secondAttribute() : constraint->firstAttribute();
            std::optional<double> value;
            if (!other || otherAttribute == LayoutAttribute::NotAnAttribute) {
                if (viewIsFirst)
                    value = constant;
            } else if (auto rect = rectInSuperview(*other, *superview, placed)) {
                if (auto otherValue = valueOf(*rect, otherAttribute)) {
                    if (viewIsFirst)
                        value = *otherValue * multiplier + constant;
                    else if (multiplier != 0)
                        value = (*otherValue - constant) / multiplier;
                }
            }
            if (value && std::isfinite(*value))
                (viewIsFirst ? values : fromOthers)[canonical(own)] = *value;
        }
        values.merge(fromOthers);
        auto get = [&](LayoutAttribute attribute) -> std::optional<double> {
            auto it = values.find(attribute);
            return it == values.end() ? std::nullopt : std::optional<double>(it->second);
        };
        ui::Rect frame = view.frame();
        ui::Size intrinsic = view.intrinsicContentSize();
        solveAxis(get(LayoutAttribute::Left), get(LayoutAttribute::Right), get(LayoutAttribute::CenterX),
            get(LayoutAttribute::Width), frame.origin.x, frame.size.width, intrinsic.width);
        solveAxis(get(LayoutAttribute::Top), get(LayoutAttribute::Bottom), get(LayoutAttribute::CenterY),
            get(LayoutAttribute::Height), frame.origin.y, frame.size.height, intrinsic.height);
        if (!(frame == view.frame()))
            view.setFrame(frame);
        if (!values.empty()) {
            placed.insert(&view);
            passFrames().gave(view);
        }
    }
    // Subviews may be moved or removed by a parent's layout: walk a copy.
    auto subviews = view.subviews();
    for (const auto& subview : subviews)
        place(*subview, index, placed);
}

} // namespace

void applyConstraintFrames(ui::View& root)
{
    ConstraintIndex index;
    collect(root, index);
    for (const auto& constraint : ui::Constraint::unheldActiveConstraints()) {
        for (auto item : { constraint->firstItem(), constraint->secondItem() }) {
            if (item)
                index[item.get()].push_back(constraint);
        }
    }
    PlacedSet placed;
    place(root, index, placed);
    // Views that lay out their subviews when their size changes do so now; a second pass
    // places what is constrained to what they placed.
    root.layoutIfNeeded();
    place(root, index, placed);
}

} // namespace ui
