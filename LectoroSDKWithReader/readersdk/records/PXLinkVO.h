#pragma once

// One markup placed by the book's author on a rectangle of a page: a link, media, an
// answer field, a glossary word... its linkType (1 to 26) decides.

#include "platform/base/Value.h"
#include "platform/ui/Geometry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class View;
}

namespace lectoro {

class PXLinkVO {
public:
    // The properties entry that begins with `prefix` (entries are separated by ";" or new
    // lines), without the prefix and the ":" after it; empty when there is none.
    std::string propertyValue(const std::string& prefix) const;

    int64_t linkID = 0;
    int32_t linkType = 0;
    // The page the link lies on, "%ld" of its page id.
    std::string pageID;
    // Anchor of the markup, as the book gives it (text or number).
    base::Value xCoordinate;
    base::Value yCoordinate;
    // The icon's rectangle and the whole hit area where the page's view shows them: the
    // views made for the link take these frames.
    ui::Rect transformedRect;
    ui::Rect boxTansformedRect;
    // The same rectangles as the book places them, in the page's own points; the renderer
    // maps them onto the page as it scales it to its view (none: a link made in code, whose
    // rectangles above are already the view's).
    std::optional<ui::Rect> pageRect;
    std::optional<ui::Rect> boxPageRect;
    bool isMultiLinkMember = false;
    bool isInLine = false;
    bool isVisible = true;
    bool isExternal = false;
    bool isDisplayUnderTOR = false;
    std::string iconURL;
    // Type-specific settings (drop-down XML, instruction text...).
    std::string properties;
    std::string toolTip;
    // Book-relative path, web address, display number or glossary key.
    std::string url;
    // Resource category for analytics.
    std::string type;
    std::string folioNumber;
    // Audio-sync entries of an audio markup: {"text", "start", "end"}.
    base::Value audioSync = base::Value::List {};
    bool isPlaybackground = false;
    // Accepted answers joined by "##".
    std::string answer;
    bool isInstantFeedback = false;
    bool isCaseSenstive = false;
    bool isMathKeyboardEnabled = false;
    // The video is a 3D model (3D markups).
    bool checkIs3dView = false;

    // Views the reader makes for the link; not owned here.
    std::weak_ptr<ui::View> iconView;
    std::weak_ptr<ui::View> iconHitAreaLabel;
};

} // namespace lectoro
