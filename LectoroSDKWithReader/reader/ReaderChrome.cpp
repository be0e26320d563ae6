#include "LectoroSDKWithReader/reader/ReaderChrome.h"

#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"

namespace lectoro {

ReaderChrome::ReaderChrome(ReaderContext& context)
    : m_context(context)
{
}

// The bars themselves are the reader's ReaderBars; these keep the shell's names.

void ReaderChrome::addPlayerActionBarForTopAndBottom()
{
    m_context.controller->bars().addPlayerActionBarForTopAndBottom();
}

void ReaderChrome::removePlayerBottomBar()
{
    m_context.controller->bars().removePlayerBottomBar();
}

void ReaderChrome::updatePlayerActionBarForSelectedBook()
{
    m_context.controller->bars().updatePlayerActionBarForSelectedBook();
}

void ReaderChrome::updateChapterNameForTopBar()
{
    m_context.controller->bars().updateChapterNameForTopBar();
}

void ReaderChrome::resetAllPlayerActionBar()
{
    m_context.controller->resetAllPlayerActionBar();
}

void ReaderChrome::moveTopAndBottomOffScreen(bool animate, std::function<void()> completion)
{
    m_context.controller->moveTopAndBottomOffScreenWithIsAnimate(animate, std::move(completion));
}

void ReaderChrome::moveTopAndBottomOnScreen(bool animate, std::function<void()> completion)
{
    std::function<void(bool)> finished;
    if (completion)
        finished = [completion = std::move(completion)](bool) { completion(); };
    m_context.controller->moveTopAndBottomOnScreenWithIsAnimate(animate, std::move(finished));
}

void ReaderChrome::showHelpScreen()
{
    // The help overlay comes with the chrome subsystem.
}

} // namespace lectoro
