#pragma once

#include "platform/base/Thread.h"
#include "platform/ui/Control.h"
#include "platform/ui/Font.h"
#include "platform/ui/Image.h"

#include <optional>
#include <string>
#include <vector>

namespace ui {

// A row of segments, each a title or an image, with at most one selected.
class SegmentedControl : public Control {
public:
    static constexpr int noSegment = -1;

    static std::shared_ptr<SegmentedControl> create(const std::vector<std::string>& titles = {}, const Rect& frame = {});
    std::string_view className() const override { return "SegmentedControl"; }

    size_t numberOfSegments() const { return m_segments.size(); }
    // An index past the end appends. The selection follows the segment it was on.
    void insertSegment(const std::string& title, size_t index, bool animated = false);
    void insertSegment(ImagePtr image, size_t index, bool animated = false);
    void removeSegment(size_t index, bool animated = false);
    void removeAllSegments();

    // Out-of-range indices answer nothing and are ignored by the setters.
    std::string titleForSegment(size_t index) const;
    void setTitle(const std::string& title, size_t index);
    ImagePtr imageForSegment(size_t index) const;
    void setImage(ImagePtr image, size_t index);
    bool isEnabledForSegment(size_t index) const;
    void setEnabled(bool enabled, size_t index);
    using Control::setEnabled;
    double widthForSegment(size_t index) const;
    void setWidth(double width, size_t index);

    int selectedSegmentIndex() const { return m_selected; }
    // noSegment or a valid index; others are ignored. Sends no event.
    void setSelectedSegmentIndex(int index);
    bool isMomentary() const { return m_momentary; }
    void setMomentary(bool momentary) { BASE_ASSERT_MAIN_THREAD(); m_momentary = momentary; }

    std::optional<Color> selectedSegmentTintColor() const { return m_selectedTint; }
    void setSelectedSegmentTintColor(std::optional<Color> color)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_selectedTint = color;
    }
    // Title attributes per state, as plain data.
    void setTitleFont(const Font& font, ControlState state = ControlState::Normal);
    std::optional<Font> titleFont(ControlState state) const;
    void setTitleColor(const Color& color, ControlState state = ControlState::Normal);
    std::optional<Color> titleColor(ControlState state) const;

    // A tap on a segment: selects it and sends value-changed when the selection changed
    // (a momentary control sends it on every tap and keeps nothing selected). Answers false
    // for a bad index or a disabled control or segment.
    bool simulateSelectSegment(size_t index);

    std::string accessibilityValue() const override;
    bool isAccessibilityElement() const override;

protected:
    SegmentedControl(const std::vector<std::string>& titles, const Rect& frame);

private:
    struct Segment {
        std::string title;
        ImagePtr image;
        bool enabled = true;
        double width = 0;
    };
    void insert(Segment segment, size_t index);

    std::vector<Segment> m_segments;
    int m_selected = noSegment;
    bool m_momentary = false;
    std::optional<Color> m_selectedTint;
    std::vector<std::pair<ControlState, Font>> m_titleFonts;
    std::vector<std::pair<ControlState, Color>> m_titleColors;
};

} // namespace ui
