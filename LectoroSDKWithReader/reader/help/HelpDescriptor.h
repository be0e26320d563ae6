#pragma once

// One call-out of the help overlay: the bar item's glyph label it points at, the title and
// text shown beside it, the screen it belongs to, and where the layout found the item.

#include "platform/ui/Geometry.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {
class View;
}

namespace lectoro {

class HelpDescriptor {
public:
    // Absent texts are kept as the empty text. The icon is normally a label (the item's
    // glyph); any other view gets a call-out without an icon copy.
    static std::shared_ptr<HelpDescriptor> create(std::shared_ptr<ui::View> icon,
        const std::optional<std::string>& helpTitle, const std::optional<std::string>& helpText,
        const std::optional<std::string>& tagName);

    const std::shared_ptr<ui::View>& icon() const { return m_icon; }
    void setIcon(std::shared_ptr<ui::View> icon) { m_icon = std::move(icon); }
    const std::string& helpTitle() const { return m_helpTitle; }
    void setHelpTitle(std::string title) { m_helpTitle = std::move(title); }
    const std::string& helpText() const { return m_helpText; }
    void setHelpText(std::string text) { m_helpText = std::move(text); }
    // The icon's rectangle on screen, written by each layout pass that draws this entry.
    const std::optional<ui::Rect>& frameUsed() const { return m_frameUsed; }
    void setFrameUsed(std::optional<ui::Rect> frame) { m_frameUsed = frame; }
    // "PenColor" and "Arrow" mark items drawn as one shared call-out; empty otherwise.
    const std::string& combinedTagName() const { return m_combinedTagName; }
    void setCombinedTagName(std::string name) { m_combinedTagName = std::move(name); }
    bool onSecondScreen() const { return m_onSecondScreen; }
    void setOnSecondScreen(bool value) { m_onSecondScreen = value; }

private:
    HelpDescriptor() = default;

    std::shared_ptr<ui::View> m_icon;
    std::string m_helpTitle;
    std::string m_helpText;
    std::optional<ui::Rect> m_frameUsed;
    std::string m_combinedTagName;
    bool m_onSecondScreen = false;
};

} // namespace lectoro
