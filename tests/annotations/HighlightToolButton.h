#pragma once

// The highlight pop-up's tool of a kind in the assembled reader, as the user sees it over
// a selection: the button of the tool's ring, or null when the pop-up offers none.

#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/HighlightView.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/StackView.h"

#include <memory>

namespace lectoro::testing {

inline std::shared_ptr<ui::Button> highlightToolButton(ReaderViewController& reader, HighlightItemType type)
{
    auto popup = reader.highlightRoad().highlightView();
    if (!popup)
        return nullptr;
    for (const auto& item : popup->horizontalStackForHighLightTools()->arrangedSubviews()) {
        auto tool = std::dynamic_pointer_cast<HighLightToolView>(item);
        if (tool && tool->tag() == static_cast<int>(type) && tool->subviews().size() > 1)
            return std::dynamic_pointer_cast<ui::Button>(tool->subviews().at(1));
    }
    return nullptr;
}

} // namespace lectoro::testing
