#include "platform/ui/SegmentedControl.h"

#include "platform/base/Thread.h"

#include <algorithm>

namespace ui {

std::shared_ptr<SegmentedControl> SegmentedControl::create(const std::vector<std::string>& titles, const Rect& frame)
{
    return std::shared_ptr<SegmentedControl>(new SegmentedControl(titles, frame));
}

SegmentedControl::SegmentedControl(const std::vector<std::string>& titles, const Rect& frame)
    : Control(frame)
{
    for (const auto& title : titles)
        m_segments.push_back({ title, nullptr, true, 0 });
}

void SegmentedControl::insert(Segment segment, size_t index)
{
    BASE_ASSERT_MAIN_THREAD();
    index = std::min(index, m_segments.size());
    m_segments.insert(m_segments.begin() + static_cast<std::ptrdiff_t>(index), std::move(segment));
    if (m_selected != noSegment && static_cast<size_t>(m_selected) >= index)
        ++m_selected;
}

void SegmentedControl::insertSegment(const std::string& title, size_t index, bool)
{
    insert({ title, nullptr, true, 0 }, index);
}

void SegmentedControl::insertSegment(ImagePtr image, size_t index, bool)
{
    insert({ {}, std::move(image), true, 0 }, index);
}

void SegmentedControl::removeSegment(size_t index, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    if (index >= m_segments.size())
        return;
    m_segments.erase(m_segments.begin() + static_cast<std::ptrdiff_t>(index));
    if (m_selected == static_cast<int>(index))
        m_selected = noSegment;
    else if (m_selected > static_cast<int>(index))
        --m_selected;
}

void SegmentedControl::removeAllSegments()
{
    BASE_ASSERT_MAIN_THREAD();
    m_segments.clear();
    m_selected = noSegment;
}

std::string SegmentedControl::titleForSegment(size_t index) const
{
    return index < m_segments.size() ? m_segments[index].title : std::string();
}

void SegmentedControl::setTitle(const std::string& title, size_t index)
{
    BASE_ASSERT_MAIN_THREAD();
    if (index < m_segments.size()) {
        m_segments[index].title = title;
        m_segments[index].image = nullptr;
    }
}

ImagePtr SegmentedControl::imageForSegment(size_t index) const
{
    return index < m_segments.size() ? m_segments[index].image : nullptr;
}

void SegmentedControl::setImage(ImagePtr image, size_t index)
{
    BASE_ASSERT_MAIN_THREAD();
    if (index < m_segments.size()) {
        m_segments[index].image = std::move(image);
        m_segments[index].title.clear();
    }
}

bool SegmentedControl::isEnabledForSegment(size_t index) const
{
    return index < m_segments.size() && m_segments[index].enabled;
}

void SegmentedControl::setEnabled(bool enabled, size_t index)
{
    BASE_ASSERT_MAIN_THREAD();
    if (index < m_segments.size())
        m_segments[index].enabled = enabled;
}

double SegmentedControl::widthForSegment(size_t index) const
{
    return index < m_segments.size() ? m_segments[index].width : 0;
}

void SegmentedControl::setWidth(double width, size_t index)
{
    BASE_ASSERT_MAIN_THREAD();
    if (index < m_segments.size())
        m_segments[index].width = std::max(0.0, width);
}

void SegmentedControl::setSelectedSegmentIndex(int index)
{
    BASE_ASSERT_MAIN_THREAD();
    if (index != noSegment && (index < 0 || static_cast<size_t>(index) >= m_segments.size()))
        return;
    m_selected = index;
    didChangeProperty("selectedSegmentIndex");
}

void SegmentedControl::setTitleFont(const Font& font, ControlState state)
{
    for (auto& entry : m_titleFonts) {
        if (entry.first == state) {
            entry.second = font;
            return;
        }
    }
    m_titleFonts.emplace_back(state, font);
}

std::optional<Font> SegmentedControl::titleFont(ControlState state) const
{
    for (const auto& entry : m_titleFonts) {
        if (entry.first == state)
            return entry.second;
    }
    return std::nullopt;
}

void SegmentedControl::setTitleColor(const Color& color, ControlState state)
{
    for (auto& entry : m_titleColors) {
        if (entry.first == state) {
            entry.second = color;
            return;
        }
    }
    m_titleColors.emplace_back(state, color);
}

std::optional<Color> SegmentedControl::titleColor(ControlState state) const
{
    for (const auto& entry : m_titleColors) {
        if (entry.first == state)
            return entry.second;
    }
    return std::nullopt;
}

bool SegmentedControl::simulateSelectSegment(size_t index)
{
    BASE_ASSERT_MAIN_THREAD();
    if (index >= m_segments.size() || !m_segments[index].enabled || !canReceiveTap())
        return false;
    auto keepAlive = shared_from_this();
    sendActions(ControlEvent::TouchDown);
    bool changed = m_momentary || m_selected != static_cast<int>(index);
    m_selected = m_momentary ? noSegment : static_cast<int>(index);
    if (changed)
        sendActions(ControlEvent::ValueChanged);
    sendActions(ControlEvent::TouchUpInside);
    return true;
}

std::string SegmentedControl::accessibilityValue() const
{
    if (explicitAccessibilityValue())
        return *explicitAccessibilityValue();
    return m_selected == noSegment ? std::string() : m_segments[static_cast<size_t>(m_selected)].title;
}

bool SegmentedControl::isAccessibilityElement() const
{
    return explicitIsAccessibilityElement().value_or(false);
}

} // namespace ui
