#include "companion/renderer/PageOverlay.h"

namespace companion {

bool PageOverlay::isEmpty() const
{
    return highlights.empty() && noteIcons.empty() && markupViews.empty() && reviewUGC.empty() && !bookmarkView && !bookmark && penDrawings.empty()
        && textAnnotations.empty() && markups.empty() && fibViews.empty() && reviewFIBs.empty() && !printView
        && inlineVideos.empty() && multiLinkControllers.empty() && instructionPopups.empty() && searchMarks.empty()
        && !wordFrame && sentenceFrames.empty() && wordId.empty();
}

} // namespace companion
