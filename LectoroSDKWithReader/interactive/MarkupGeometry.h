#pragma once

// Where a page's markup views go and what they show, decided from the link alone and the
// device: pure rules, so drawing, the multi-link list and tests share one answer.

#include "platform/ui/Geometry.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lectoro {

class PXLinkVO;

// The device facts the icon rules read.
struct MarkupDevice {
    bool isPad = false;
    bool isPortrait = true;

    // The current environment: pad idiom and interface orientation.
    static MarkupDevice current();
};

// Side of a markup icon in points.
double markupIconSide(const MarkupDevice&);
// Border width of an icon: thicker on the pad.
double markupIconBorderWidth(const MarkupDevice&);

// The icon-font glyph of a link type; absent for a type without an icon.
std::optional<std::string> getIconForLinkType(int32_t linkType);
std::optional<std::string> getIconForLinkType(const PXLinkVO*);

// The icon: a square at the box's origin, shrunk to the box's smaller side when the box is
// smaller than the icon.
ui::Rect get220PercentScaleRectForLinkMarkups(const PXLinkVO*, const MarkupDevice&);
// A multi-link member's icon: the author's box for inline links and fixed-size icon files,
// otherwise a square of the icon side at the box's origin (never shrunk).
ui::Rect getRectForLinkMarkups(const PXLinkVO*, const MarkupDevice&);
// The inline-video play button: centred by the difference of box and icon, sized as the icon.
ui::Rect getRectForInlineVideoMarkup(const PXLinkVO*, const MarkupDevice&);
// The glossary underline inside a box of that size: 5% of the height, at least one point.
ui::Rect glossaryUnderlineRect(const ui::Size& box);

// The text key under which members of one multi-link markup are grouped: "x_y" of the
// anchor as the book writes it.
std::string multiLinkGroupKey(const PXLinkVO&);
// Whether the two anchors are the same point (integer values compared).
bool sameMultiLinkAnchor(const PXLinkVO&, const PXLinkVO&);

// The phone's glossary card (250 × 250) beside an icon inside a container of that size.
ui::Rect glossaryPhoneFrame(const ui::Rect& icon, const ui::Size& container);

// Where a pop-up the page holds stands at its markup (a phone's drop-down list, an
// instruction): just below the markup, or above it when it does not fit below, its leading
// edge at the markup's; kept inside the host and, when taller than the room on either side,
// as tall as the larger room allows.
ui::Rect frameAtMarkup(const ui::Rect& markup, const ui::Size& popup, const ui::Rect& host);

// The multi-link list's frame at the group's anchor: four icons wide plus 30, one icon high
// per member.
ui::Rect multiLinkListFrame(const PXLinkVO& group, const ui::Rect& groupIcon, size_t memberCount);

} // namespace lectoro
