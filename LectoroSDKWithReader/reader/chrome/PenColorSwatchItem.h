#pragma once

// The pen colour swatch as a bar item: a HighLightToolView pinned inside a clear item.

#include "platform/ui/Color.h"

#include <memory>
#include <optional>
#include <string>

namespace lectoro {

class PlayerActionBarItem;

// How a pen colour swatch item is made up where it is shown: the metadata key its colour is
// stored under, the ring width, the dot diameter and the item's height.
struct PenSwatchItemStyle {
    const char* metaDataKey;
    double ringWidth;
    double dotHeight;
    double itemHeight;
};

// A clear bar item with one swatch of the colour pinned to its edges; the dot's
// accessibility identifier is "penTool_" + colour. A selected item is marked so and its ring
// takes selectedRing. Text that is no hex colour leaves the dot unfilled.
std::shared_ptr<PlayerActionBarItem> makePenColorSwatchItem(
    const std::string& color, const PenSwatchItemStyle&, bool selected, const ui::Color& selectedRing);

// The colour text a bar's swatch keeps under penColorMetaDataKey; none when the item has none.
std::optional<std::string> swatchColor(const PlayerActionBarItem& item);

} // namespace lectoro
