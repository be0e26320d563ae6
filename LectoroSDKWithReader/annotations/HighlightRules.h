#pragma once

// The highlight road's decisions that need no views: the pop-up's size, the analytics
// events a finished highlight sends and the colour migration. Kept apart so each rule can
// be read (and checked) on its own.

#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "platform/base/Value.h"
#include "platform/ui/Geometry.h"

#include <memory>
#include <string>
#include <vector>

namespace lectoro {

class SDKBookClassInfoVO;
class SDKHighlightVO;

// The switches that add a tool to the pop-up.
struct HighlightToolSwitches {
    bool contextualNote = false;
    bool search = false;
    bool translation = false;
    bool immersiveReader = false;
};

// The pop-up's items (five swatches and delete, plus one per switch that is on), the
// width of one item and the pop-up's frame, for the current device, orientation and
// screen. `frameAfterTools` is the frame set again once the tools are in: narrower items
// when neither notes nor search is on.
struct HighlightPopupGeometry {
    int itemCount = 0;
    double itemWidth = 0;
    double itemHeight = 0;
    ui::Rect frame;
    ui::Rect frameAfterTools;
};
HighlightPopupGeometry highlightPopupGeometry(const HighlightToolSwitches&);

// The offered highlight colours of the theme's list, in order (entries that are not
// text are skipped).
std::vector<std::string> highlightColorsOf(const std::optional<base::Value::List>&);

// The events a finished highlight `record` sends, in order, given the records stored for
// its page before it is saved and the book's first class (null when none).
std::vector<MVLectoroAnalyticsHandler::MVAnalyticsEventType> highlightEventsFor(const SDKHighlightVO& record,
    const std::vector<std::shared_ptr<SDKHighlightVO>>& storedOnPage, const SDKBookClassInfoVO* firstClass);

// Moves every record whose colour is not offered to an offered one: the second offered
// colour for an important record, the first for a plain one; the record becomes plain and
// changed (status 2). Teacher-review notes are left alone, and so is a record whose colour
// the list is too short to give. Answers changed copies of those records, to be stored;
// the records given are left as they are (they may be the store's shared list).
std::vector<std::shared_ptr<SDKHighlightVO>> migrateHighlightColors(
    const std::vector<std::shared_ptr<const SDKHighlightVO>>& records, const std::vector<std::string>& offered);

} // namespace lectoro
