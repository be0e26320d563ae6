#pragma once

// Reaching a bar item as a user does (on the companion's renderer): a tap on the page brings
// the bars back when they are away, and an item that lives in the vertical bar is reached through the bottom bar's
// "more" item.

#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/ReaderVerticalBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroBookVO.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/RunLoop.h"
#include "platform/print/ConstraintFrames.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/Environment.h"

#include <memory>

namespace lectoro::testing {

// Nothing solves constraints, and the bars are placed by them alone: their frames are set
// from the constraints as a picture of the screen would have them.
inline void layOutScreen()
{
    if (auto window = ui::Environment::current().keyWindow()) {
        print::applyConstraintFrames(*window);
        window->layoutIfNeeded();
    }
}

// Taps the page near its top-left corner (where the sample books place nothing) when the
// bars are away; the companion renderer plays a tap on its page.
inline void bringBarsBack(ReaderViewController& reader)
{
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader.rendererView());
    if (!reader.isPlayerActionBarHidden() || !renderer)
        return;
    auto pages = renderer->getActivePages();
    if (pages.empty())
        return;
    const auto& page = pages.front();
    renderer->tapPoint(reader.context().currentBook && reader.context().currentBook->kind() == LectoroBookKind::EPUB
            ? page.fileIndex
            : page.pageID,
        { 12, 12 });
    base::RunLoop::main().advanceBy(1);
}

// The item with the tag on the top or bottom bar, else in the vertical bar (opened through
// "more" when needed); null when no bar carries it.
inline std::shared_ptr<PlayerActionBarItem> readerBarItem(ReaderViewController& reader, int tag)
{
    bringBarsBack(reader);
    const auto& context = reader.context();
    for (const auto& bar : { context.playerTopActionBarView, context.playerBottomActionBarView }) {
        if (auto item = bar ? bar->itemWithTag(tag) : nullptr)
            return item;
    }
    auto vertical = reader.verticalBar().playerActionVerticalBar();
    if (!vertical || !vertical->itemWithTag(tag)) {
        auto more = context.playerBottomActionBarView ? context.playerBottomActionBarView->itemWithTag(PlayerItemMore)
                                                      : nullptr;
        if (more && uitest::tap(*more)) {
            base::RunLoop::main().advanceBy(1);
            layOutScreen();
        }
        vertical = reader.verticalBar().playerActionVerticalBar();
    }
    return vertical ? vertical->itemWithTag(tag) : nullptr;
}

inline bool tapReaderBarItem(ReaderViewController& reader, int tag)
{
    layOutScreen();
    auto item = readerBarItem(reader, tag);
    layOutScreen();
    if (!item || !uitest::tap(*item))
        return false;
    base::RunLoop::main().advanceBy(1);
    return true;
}

} // namespace lectoro::testing
