#include "platform/ui/View.h"

#include "platform/ui/LayoutEngine.h"

#include "platform/base/Thread.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace ui {

std::shared_ptr<View> View::create(const Rect& frame)
{
    return std::shared_ptr<View>(new View(frame));
}

View::View(const Rect& frame)
    : View(frame, Layer::create())
{
}

View::View(const Rect& frame, std::shared_ptr<Layer> layer)
    : m_layer(layer ? std::move(layer) : Layer::create())
{
    BASE_ASSERT_MAIN_THREAD();
    m_layer->m_owningView = this;
    m_layer->setFrame(frame);
}

View::~View()
{
    m_layer->m_owningView = nullptr;
    for (auto& recognizer : m_gestureRecognizers)
        recognizer->attachTo(nullptr);
    for (auto& constraint : m_constraints) {
        constraint->m_active = false;
        constraint->m_holder.reset();
    }
    // Our subviews' layers are our layer's sublayers; with us gone they stand alone.
    for (auto& subview : m_subviews)
        subview->m_layer->detachFromSuperlayer();
    if (m_safeAreaGuide)
        m_safeAreaGuide->m_owningView = nullptr;
    if (m_marginsGuide)
        m_marginsGuide->m_owningView = nullptr;
    for (auto& guide : m_layoutGuides)
        guide->m_owningView = nullptr;
}

// Geometry

Rect View::frame() const
{
    return m_layer->frame();
}

void View::setFrame(const Rect& frame)
{
    BASE_ASSERT_MAIN_THREAD();
    Size oldSize = m_layer->bounds().size;
    m_layer->setFrame(frame);
    // Before anything reacts to the new size: a reaction may run a layout pass, which must
    // already know who set this frame.
    layout::noteViewChanged(*this);
    if (!(oldSize == m_layer->bounds().size))
        boundsSizeDidChange(oldSize);
    didChangeProperty("frame");
}

void View::setFrameNoNotify(const Rect& frame)
{
    Size oldSize = m_layer->bounds().size;
    m_layer->setFrame(frame);
    if (!(oldSize == m_layer->bounds().size))
        boundsSizeDidChange(oldSize);
}

Rect View::bounds() const
{
    return m_layer->bounds();
}

void View::setBounds(const Rect& bounds)
{
    BASE_ASSERT_MAIN_THREAD();
    Size oldSize = m_layer->bounds().size;
    m_layer->setBounds(bounds);
    layout::noteViewChanged(*this);
    if (!(oldSize == bounds.size))
        boundsSizeDidChange(oldSize);
    didChangeProperty("bounds");
}

Point View::center() const
{
    return m_layer->position();
}

void View::setCenter(const Point& center)
{
    BASE_ASSERT_MAIN_THREAD();
    m_layer->setPosition(center);
    layout::noteViewChanged(*this);
    didChangeProperty("center");
}

AffineTransform View::transform() const
{
    return m_layer->affineTransform();
}

void View::setTransform(const AffineTransform& transform)
{
    BASE_ASSERT_MAIN_THREAD();
    m_layer->setAffineTransform(transform);
    layout::noteViewChanged(*this);
    didChangeProperty("transform");
}

void View::boundsSizeDidChange(const Size& oldSize)
{
    setNeedsLayout();
    if (m_autoresizesSubviews)
        autoresizeSubviews(oldSize);
}

void View::autoresizeSubviews(const Size& oldSize)
{
    Size newSize = bounds().size;
    // Each axis: the size change is shared by the flexible parts (margin before, size,
    // margin after) in proportion to their current lengths, equally when they are all 0.
    auto distribute = [](double delta, double before, double length, double after, bool flexBefore, bool flexLength,
                          bool flexAfter, double& newBefore, double& newLength) {
        newBefore = before;
        newLength = length;
        double total = (flexBefore ? before : 0) + (flexLength ? length : 0) + (flexAfter ? after : 0);
        int count = int(flexBefore) + int(flexLength) + int(flexAfter);
        if (count == 0)
            return;
        auto share = [&](double part) { return total > 0 ? delta * part / total : delta / count; };
        if (flexBefore)
            newBefore = before + share(before);
        if (flexLength)
            newLength = std::max(0.0, length + share(length));
    };
    for (auto& subview : m_subviews) {
        AutoresizingMask mask = subview->m_autoresizingMask;
        if (mask == AutoresizingMask::None || !subview->m_translatesAutoresizingMask)
            continue;
        Rect f = subview->frame();
        double x, w, y, h;
        distribute(newSize.width - oldSize.width, f.minX(), f.width(), oldSize.width - f.maxX(),
            hasFlags(mask, AutoresizingMask::FlexibleLeftMargin), hasFlags(mask, AutoresizingMask::FlexibleWidth),
            hasFlags(mask, AutoresizingMask::FlexibleRightMargin), x, w);
        distribute(newSize.height - oldSize.height, f.minY(), f.height(), oldSize.height - f.maxY(),
            hasFlags(mask, AutoresizingMask::FlexibleTopMargin), hasFlags(mask, AutoresizingMask::FlexibleHeight),
            hasFlags(mask, AutoresizingMask::FlexibleBottomMargin), y, h);
        subview->setFrame({ x, y, w, h });
    }
}

// Flags and colours

bool View::isHidden() const
{
    return m_layer->isHidden();
}

void View::setHidden(bool hidden)
{
    BASE_ASSERT_MAIN_THREAD();
    bool changed = m_layer->isHidden() != hidden;
    m_layer->setHidden(hidden);
    if (changed) {
        if (auto parent = superview())
            parent->subviewVisibilityDidChange(this);
    }
    didChangeProperty("hidden");
}

double View::alpha() const
{
    return m_layer->opacity();
}

void View::setAlpha(double alpha)
{
    BASE_ASSERT_MAIN_THREAD();
    m_layer->setOpacity(alpha);
    didChangeProperty("alpha");
}

void View::setOpaque(bool opaque)
{
    BASE_ASSERT_MAIN_THREAD();
    m_opaque = opaque;
}

void View::setUserInteractionEnabled(bool enabled)
{
    BASE_ASSERT_MAIN_THREAD();
    m_userInteractionEnabled = enabled;
}

void View::setMultipleTouchEnabled(bool enabled)
{
    BASE_ASSERT_MAIN_THREAD();
    m_multipleTouchEnabled = enabled;
}

void View::setExclusiveTouch(bool exclusive)
{
    BASE_ASSERT_MAIN_THREAD();
    m_exclusiveTouch = exclusive;
}

bool View::clipsToBounds() const
{
    return m_layer->masksToBounds();
}

void View::setClipsToBounds(bool clips)
{
    BASE_ASSERT_MAIN_THREAD();
    m_layer->setMasksToBounds(clips);
}

std::optional<Color> View::backgroundColor() const
{
    return m_layer->backgroundColor();
}

void View::setBackgroundColor(std::optional<Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_layer->setBackgroundColor(color);
    didChangeProperty("backgroundColor");
}

Color View::tintColor() const
{
    for (const View* view = this; view;) {
        if (view->m_tintColor)
            return *view->m_tintColor;
        auto parent = view->m_superview.lock();
        view = parent.get();
    }
    return Color::systemBlue();
}

void View::setTintColor(std::optional<Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_tintColor = color;
    // Tell this view and the descendants that inherit the tint.
    std::vector<View*> pending { this };
    while (!pending.empty()) {
        View* view = pending.back();
        pending.pop_back();
        view->tintColorDidChange();
        for (auto& subview : view->m_subviews) {
            if (!subview->m_tintColor)
                pending.push_back(subview.get());
        }
    }
}

void View::setContentMode(ContentMode mode)
{
    BASE_ASSERT_MAIN_THREAD();
    m_contentMode = mode;
}

void View::setSemanticContentAttribute(SemanticContentAttribute attribute)
{
    BASE_ASSERT_MAIN_THREAD();
    m_semanticContentAttribute = attribute;
}

bool View::isRightToLeft() const
{
    switch (m_semanticContentAttribute) {
    case SemanticContentAttribute::ForceLeftToRight:
        return false;
    case SemanticContentAttribute::ForceRightToLeft:
        return true;
    case SemanticContentAttribute::Unspecified:
        break;
    }
    return Environment::current().isRightToLeft();
}

// Accessibility

void View::setAccessibilityIdentifier(std::string identifier)
{
    BASE_ASSERT_MAIN_THREAD();
    m_accessibilityIdentifier = std::move(identifier);
}

std::string View::accessibilityLabel() const
{
    return m_accessibilityLabel.value_or(std::string());
}

void View::setAccessibilityLabel(std::optional<std::string> label)
{
    BASE_ASSERT_MAIN_THREAD();
    m_accessibilityLabel = std::move(label);
}

std::string View::accessibilityValue() const
{
    return m_accessibilityValue.value_or(std::string());
}

void View::setAccessibilityValue(std::optional<std::string> value)
{
    BASE_ASSERT_MAIN_THREAD();
    m_accessibilityValue = std::move(value);
}

void View::setAccessibilityHint(std::optional<std::string> hint)
{
    BASE_ASSERT_MAIN_THREAD();
    m_accessibilityHint = std::move(hint);
}

AccessibilityTraits View::accessibilityTraits() const
{
    return m_accessibilityTraits.value_or(AccessibilityTraits::None);
}

void View::setAccessibilityTraits(AccessibilityTraits traits)
{
    BASE_ASSERT_MAIN_THREAD();
    m_accessibilityTraits = traits;
}

bool View::isAccessibilityElement() const
{
    return m_isAccessibilityElement.value_or(false);
}

void View::setIsAccessibilityElement(bool value)
{
    BASE_ASSERT_MAIN_THREAD();
    m_isAccessibilityElement = value;
}

void View::setAccessibilityViewIsModal(bool value)
{
    BASE_ASSERT_MAIN_THREAD();
    m_accessibilityViewIsModal = value;
}

void View::setAccessibilityElementsHidden(bool value)
{
    BASE_ASSERT_MAIN_THREAD();
    m_accessibilityElementsHidden = value;
}

std::optional<std::vector<std::shared_ptr<View>>> View::accessibilityElements() const
{
    if (!m_accessibilityElements)
        return std::nullopt;
    std::vector<std::shared_ptr<View>> alive;
    for (const auto& weak : *m_accessibilityElements) {
        if (auto view = weak.lock())
            alive.push_back(std::move(view));
    }
    return alive;
}

void View::setAccessibilityElements(std::optional<std::vector<std::shared_ptr<View>>> elements)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!elements) {
        m_accessibilityElements.reset();
        return;
    }
    std::vector<std::weak_ptr<View>> weak;
    for (const auto& view : *elements) {
        if (view)
            weak.push_back(view);
    }
    m_accessibilityElements = std::move(weak);
}

// Property observation

uint64_t View::addPropertyObserver(std::string key, PropertyObserver observer)
{
    BASE_ASSERT_MAIN_THREAD();
    uint64_t id = m_nextObserverId++;
    m_propertyObservers.push_back({ id, std::move(key), std::move(observer) });
    return id;
}

void View::removePropertyObserver(uint64_t id)
{
    BASE_ASSERT_MAIN_THREAD();
    m_propertyObservers.erase(std::remove_if(m_propertyObservers.begin(), m_propertyObservers.end(),
                                  [&](const auto& e) { return e.id == id; }),
        m_propertyObservers.end());
}

void View::didChangeProperty(const std::string& key)
{
    if (m_propertyObservers.empty())
        return;
    // Observers may remove themselves or others; run the ones still registered.
    std::vector<uint64_t> ids;
    for (const auto& entry : m_propertyObservers) {
        if (entry.key.empty() || entry.key == key)
            ids.push_back(entry.id);
    }
    for (uint64_t id : ids) {
        auto it = std::find_if(m_propertyObservers.begin(), m_propertyObservers.end(),
            [&](const auto& e) { return e.id == id; });
        if (it == m_propertyObservers.end())
            continue;
        PropertyObserver callback = it->callback;
        callback(*this, key);
    }
}

// LayoutItem

std::weak_ptr<LayoutItem> View::weakLayoutItem() const
{
    std::shared_ptr<LayoutItem> self = std::const_pointer_cast<View>(weak_from_this().lock());
    return self;
}

std::string View::layoutItemName() const
{
    std::string name(className());
    if (!m_accessibilityIdentifier.empty())
        name += "(" + m_accessibilityIdentifier + ")";
    else if (m_tag != 0)
        name += "(tag " + std::to_string(m_tag) + ")";
    return name;
}

} // namespace ui
