#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"

#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "platform/ui/View.h"

namespace lectoro {

ReaderInteractiveContent::ReaderInteractiveContent(ReaderContext& context)
    : m_context(context)
{
}

void ReaderInteractiveContent::drawMarkupsOnPageNumber(const std::string&, const std::string&)
{
    // No markups are built yet, so the page keeps only what the renderer drew.
}

void ReaderInteractiveContent::drawProtractorOnPageNumber(const std::string&, const std::string&) { }

void ReaderInteractiveContent::setAccessibilityOnFIBs()
{
    // No fill-in fields are on any page yet.
}

void ReaderInteractiveContent::stopInlineVideo()
{
    // Only an inline video owns mode 12, and no player exists yet to remove.
}

void ReaderInteractiveContent::removeInlineYoutubePlayer() { }

void ReaderInteractiveContent::resetAudioPlayer() { }

ui::Rect ReaderInteractiveContent::getFrameForAudioPlayerView(const ui::View& playerView) const
{
    ui::Size container;
    if (m_context.controller && m_context.controller->isViewLoaded())
        container = m_context.controller->view()->frame().size;
    ui::Size own = playerView.frame().size;
    return ui::Rect { { container.width / 2 - own.width / 2, container.height / 2 - own.height / 2 }, own };
}

void ReaderInteractiveContent::removeMultiLinkPopOver()
{
    // Nothing to close while no multi-link list can be open.
}

void ReaderInteractiveContent::removeGlossaryController()
{
    m_context.activeMode = ReaderActiveModeNone;
}

void ReaderInteractiveContent::removeInstructionMarkupPopOver()
{
    m_context.activeMode = ReaderActiveModeNone;
}

bool ReaderInteractiveContent::removePopOverForActiveMode()
{
    switch (m_context.activeMode) {
    case ReaderActiveModeMultiLink:
        removeMultiLinkPopOver();
        return true;
    case ReaderActiveModeGlossary:
        removeGlossaryController();
        return true;
    case ReaderActiveModeInstructionPopup:
        removeInstructionMarkupPopOver();
        return true;
    default:
        return false;
    }
}

void ReaderInteractiveContent::removeFIBPopOver()
{
    if (m_context.activeMode != ReaderActiveModeTeacherReview)
        m_context.activeMode = ReaderActiveModeNone;
}

void ReaderInteractiveContent::didSelectActionToCloseDropDown() { }

void ReaderInteractiveContent::didTapOnProtractor() { }

} // namespace lectoro
