#include "platform/ui/StackView.h"

#include "platform/base/Thread.h"

#include <algorithm>

namespace ui {

namespace {

double along(const Size& size, StackAxis axis)
{
    return axis == StackAxis::Horizontal ? size.width : size.height;
}

double across(const Size& size, StackAxis axis)
{
    return axis == StackAxis::Horizontal ? size.height : size.width;
}

// The intrinsic length, or the current one when the view has none.
double lengthOf(const View& view, StackAxis axis, bool& intrinsic)
{
    double value = along(view.intrinsicContentSize(), axis);
    intrinsic = value != View::noIntrinsicMetric;
    return intrinsic ? value : along(view.bounds().size, axis);
}

double thicknessOf(const View& view, StackAxis axis)
{
    double value = across(view.intrinsicContentSize(), axis);
    return value != View::noIntrinsicMetric ? value : across(view.bounds().size, axis);
}

} // namespace

std::shared_ptr<StackView> StackView::create(const Rect& frame)
{
    return std::shared_ptr<StackView>(new StackView(frame));
}

std::shared_ptr<StackView> StackView::create(const std::vector<std::shared_ptr<View>>& arrangedSubviews)
{
    auto stack = create();
    for (const auto& view : arrangedSubviews)
        stack->addArrangedSubview(view);
    return stack;
}

StackView::StackView(const Rect& frame)
    : View(frame)
{
}

void StackView::addArrangedSubview(const std::shared_ptr<View>& view)
{
    insertArrangedSubview(view, m_arranged.size());
}

void StackView::insertArrangedSubview(const std::shared_ptr<View>& view, size_t index)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!view || view.get() == this)
        return;
    auto existing = std::find(m_arranged.begin(), m_arranged.end(), view);
    if (existing != m_arranged.end()) {
        size_t old = static_cast<size_t>(existing - m_arranged.begin());
        m_arranged.erase(existing);
        if (index > old)
            --index;
    }
    index = std::min(index, m_arranged.size());
    m_arranged.insert(m_arranged.begin() + static_cast<std::ptrdiff_t>(index), view);
    if (view->superview().get() != this)
        addSubview(view);
    setNeedsLayout();
}

void StackView::removeArrangedSubview(const View* view)
{
    BASE_ASSERT_MAIN_THREAD();
    auto it = std::find_if(m_arranged.begin(), m_arranged.end(), [&](const auto& v) { return v.get() == view; });
    if (it == m_arranged.end())
        return;
    m_arranged.erase(it);
    setNeedsLayout();
}

void StackView::willRemoveSubview(View* view)
{
    View::willRemoveSubview(view);
    removeArrangedSubview(view);
}

void StackView::setAxis(StackAxis axis)
{
    BASE_ASSERT_MAIN_THREAD();
    m_axis = axis;
    setNeedsLayout();
}

void StackView::setSpacing(double spacing)
{
    BASE_ASSERT_MAIN_THREAD();
    m_spacing = spacing;
    setNeedsLayout();
}

void StackView::setDistribution(StackDistribution distribution)
{
    BASE_ASSERT_MAIN_THREAD();
    m_distribution = distribution;
    setNeedsLayout();
}

void StackView::setAlignment(StackAlignment alignment)
{
    BASE_ASSERT_MAIN_THREAD();
    m_alignment = alignment;
    setNeedsLayout();
}

void StackView::setLayoutMarginsRelativeArrangement(bool relative)
{
    BASE_ASSERT_MAIN_THREAD();
    m_marginsRelative = relative;
    setNeedsLayout();
}

void StackView::layoutSubviews()
{
    std::vector<View*> views;
    for (const auto& view : m_arranged) {
        if (!view->isHidden())
            views.push_back(view.get());
    }
    if (views.empty())
        return;
    Rect area = m_marginsRelative ? bounds().insetBy(layoutMargins()) : bounds();
    double length = along(area.size, m_axis);
    double thickness = across(area.size, m_axis);
    size_t n = views.size();
    double spacingTotal = m_spacing * static_cast<double>(n - 1);

    std::vector<double> lengths(n);
    std::vector<bool> intrinsic(n);
    double sum = 0;
    for (size_t i = 0; i < n; ++i) {
        bool has = false;
        lengths[i] = lengthOf(*views[i], m_axis, has);
        intrinsic[i] = has;
        sum += lengths[i];
    }
    std::vector<double> gaps(n > 1 ? n - 1 : 0, m_spacing);
    switch (m_distribution) {
    case StackDistribution::Fill: {
        double slack = length - spacingTotal - sum;
        size_t taker = n - 1;
        for (size_t i = 0; i < n; ++i) {
            if (!intrinsic[i]) {
                taker = i;
                break;
            }
        }
        lengths[taker] = std::max(0.0, lengths[taker] + slack);
        break;
    }
    case StackDistribution::FillEqually:
        std::fill(lengths.begin(), lengths.end(), std::max(0.0, (length - spacingTotal) / static_cast<double>(n)));
        break;
    case StackDistribution::FillProportionally: {
        double room = std::max(0.0, length - spacingTotal);
        for (size_t i = 0; i < n; ++i)
            lengths[i] = sum > 0 ? room * lengths[i] / sum : room / static_cast<double>(n);
        break;
    }
    case StackDistribution::EqualSpacing:
    case StackDistribution::EqualCentering:
        if (n > 1) {
            double gap = std::max(m_spacing, (length - sum) / static_cast<double>(n - 1));
            std::fill(gaps.begin(), gaps.end(), gap);
        }
        break;
    }

    bool mirrored = m_axis == StackAxis::Horizontal && isRightToLeft();
    double cursor = 0;
    for (size_t i = 0; i < n; ++i) {
        double own = thicknessOf(*views[i], m_axis);
        double size = own;
        double offset = 0;
        switch (m_alignment) {
        case StackAlignment::Fill:
            size = thickness;
            break;
        case StackAlignment::Leading:
        case StackAlignment::FirstBaseline:
            break;
        case StackAlignment::Center:
            offset = (thickness - own) / 2;
            break;
        case StackAlignment::Trailing:
        case StackAlignment::LastBaseline:
            offset = thickness - own;
            break;
        }
        double start = mirrored ? length - cursor - lengths[i] : cursor;
        Rect frame = m_axis == StackAxis::Horizontal
            ? Rect(area.minX() + start, area.minY() + offset, lengths[i], size)
            : Rect(area.minX() + offset, area.minY() + start, size, lengths[i]);
        views[i]->setFrame(frame);
        cursor += lengths[i] + (i < gaps.size() ? gaps[i] : 0);
    }
}

Size StackView::intrinsicContentSize() const
{
    double length = 0;
    double thickness = 0;
    size_t count = 0;
    for (const auto& view : m_arranged) {
        if (view->isHidden())
            continue;
        bool has = false;
        length += lengthOf(*view, m_axis, has);
        thickness = std::max(thickness, thicknessOf(*view, m_axis));
        ++count;
    }
    if (count > 1)
        length += m_spacing * static_cast<double>(count - 1);
    return m_axis == StackAxis::Horizontal ? Size(length, thickness) : Size(thickness, length);
}

} // namespace ui
