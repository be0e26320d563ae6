#include "LectoroSDKWithReader/interactive/MarkupGeometry.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "platform/base/URL.h"
#include "platform/ui/Environment.h"

#include <algorithm>

namespace lectoro {

MarkupDevice MarkupDevice::current()
{
    const auto& environment = ui::Environment::current();
    return MarkupDevice { environment.isPad(), ui::isPortrait(environment.interfaceOrientation()) };
}

double markupIconSide(const MarkupDevice& device)
{
    if (device.isPad)
        return device.isPortrait ? 50 : 35;
    return device.isPortrait ? 35 : 25;
}

double markupIconBorderWidth(const MarkupDevice& device) { return device.isPad ? 2.8 : 1.0; }

std::optional<std::string> getIconForLinkType(int32_t linkType)
{
    switch (linkType) {
    case 1:
    case 16:
        return MULTIFILE_ICON;
    case 2:
    case 11:
        return ICON_AUDIO;
    case 3:
    case 17:
    case 18:
    case 24:
        return ICON_VIDEO1;
    case 4:
        return ICON_IMAGE1;
    case 5:
        return ICON_FILL_IN_THE_BLANK_INPUT_TYPE;
    case 6:
        return COMMENT_ICON;
    case 7:
        return ICON_JUMP_TO_SCREEN;
    case 8:
        return ICON_WEBLINK;
    case 9:
    case 12:
    case 25:
        return HTMLWRAP_ICON;
    case 10:
        return ICON_ASSESSMENT;
    case 13:
        return ICON_FILL_IN_THE_BLANK_DROP_DOWN;
    case 14:
        return SLIDE_SHOW_ICON;
    case 15:
        return LECTORO_LOGO_ICON;
    case 19:
        return ICON_SURVEY;
    case 20:
        return ICON_GLOSSARY;
    case 21:
        return ICON_JUMP_TO_BOOK;
    case 22:
        return ICON_IMAGE_ZOOM;
    case 23:
        return INFO_ICON;
    default:
        return std::nullopt;
    }
}

std::optional<std::string> getIconForLinkType(const PXLinkVO* link)
{
    return link ? getIconForLinkType(link->linkType) : std::nullopt;
}

ui::Rect get220PercentScaleRectForLinkMarkups(const PXLinkVO* link, const MarkupDevice& device)
{
    ui::Rect box = link ? link->boxTansformedRect : ui::Rect {};
    double side = markupIconSide(device);
    if (side > box.size.width || side > box.size.height)
        side = std::min(box.size.width, box.size.height);
    return ui::Rect { box.origin, { side, side } };
}

ui::Rect getRectForLinkMarkups(const PXLinkVO* link, const MarkupDevice& device)
{
    if (!link)
        return {};
    ui::Rect box = link->boxTansformedRect;
    bool keepsAuthorBox = link->isInLine;
    if (!keepsAuthorBox && !link->iconURL.empty()) {
        // The icon address may be a file path or a web address; only its last component counts.
        std::string last = link->iconURL.substr(link->iconURL.find_last_of('/') + 1);
        keepsAuthorBox = last == "flexibleicon.png";
    }
    if (!keepsAuthorBox) {
        double side = markupIconSide(device);
        box.size = { side, side };
    }
    return box;
}

ui::Rect getRectForInlineVideoMarkup(const PXLinkVO* link, const MarkupDevice& device)
{
    ui::Rect icon = get220PercentScaleRectForLinkMarkups(link, device);
    if (!link)
        return ui::Rect { {}, icon.size };
    const ui::Rect& t = link->transformedRect;
    const ui::Rect& b = link->boxTansformedRect;
    return ui::Rect { { t.origin.x + (b.size.width - t.size.width) / 2, t.origin.y + (b.size.height - t.size.height) / 2 },
        icon.size };
}

ui::Rect glossaryUnderlineRect(const ui::Size& box)
{
    double thickness = std::max(box.height * 0.05, 1.0);
    return ui::Rect { { 0, box.height - thickness }, { box.width, thickness } };
}

std::string multiLinkGroupKey(const PXLinkVO& link)
{
    return link.xCoordinate.description() + "_" + link.yCoordinate.description();
}

bool sameMultiLinkAnchor(const PXLinkVO& a, const PXLinkVO& b)
{
    return a.xCoordinate.integerValue() == b.xCoordinate.integerValue()
        && a.yCoordinate.integerValue() == b.yCoordinate.integerValue();
}

ui::Rect frameAtMarkup(const ui::Rect& box, const ui::Size& list, const ui::Rect& host)
{
    double width = std::min(list.width, host.size.width);
    double x = std::clamp(box.minX(), host.minX(), host.maxX() - width);
    double below = host.maxY() - box.maxY();
    double above = box.minY() - host.minY();
    if (list.height <= below || below >= above) {
        double height = std::min(list.height, std::max(below, 0.0));
        return ui::Rect { { x, box.maxY() }, { width, height } };
    }
    double height = std::min(list.height, above);
    return ui::Rect { { x, box.minY() - height }, { width, height } };
}

ui::Rect glossaryPhoneFrame(const ui::Rect& icon, const ui::Size& container)
{
    constexpr double side = 250;
    double x = icon.origin.x;
    if (x + side > container.width)
        x = container.width - 260;
    double top = icon.origin.y;
    double y = top + icon.size.height + 3;
    if (y + side > container.height) {
        if (top > side)
            y = top - side;
        else
            y -= top + side + 20 - container.height;
    }
    return ui::Rect { { x, y }, { side, side } };
}

ui::Rect multiLinkListFrame(const PXLinkVO& group, const ui::Rect& groupIcon, size_t memberCount)
{
    return ui::Rect { { group.xCoordinate.doubleValue(), group.yCoordinate.doubleValue() },
        { 4 * groupIcon.size.width + 30, groupIcon.size.height * static_cast<double>(memberCount) } };
}

} // namespace lectoro
