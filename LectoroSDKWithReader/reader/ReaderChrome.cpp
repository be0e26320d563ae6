#include "LectoroSDKWithReader/reader/ReaderChrome.h"

#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"

namespace lectoro {

ReaderChrome::ReaderChrome(ReaderContext& context)
    : m_context(context)
    , m_help(ReaderHelp::create(*this))
{
}

ReaderChrome::~ReaderChrome() = default;

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
    m_help->showHelpScreen(false);
}

// MARK: - ReaderHelpHost

std::shared_ptr<ui::ViewController> ReaderChrome::helpParentViewController()
{
    return m_context.controller ? m_context.controller->shared_from_this() : nullptr;
}

std::shared_ptr<LectoroBookVO> ReaderChrome::helpCurrentBook()
{
    return m_context.currentBook;
}

std::shared_ptr<ui::View> ReaderChrome::playerTopActionBarView()
{
    return m_context.playerTopActionBarView;
}

bool ReaderChrome::readAloudPopupShown()
{
    return m_context.readAloudPopupShown;
}

void ReaderChrome::showReadAloudController()
{
    if (m_context.controller)
        m_context.controller->readAloud().offerReadAloudControllerOnOpening();
}

void ReaderChrome::notifyEvent(const std::string& eventName, const base::Value& eventInfo)
{
    if (m_context.analyticsHandler)
        m_context.analyticsHandler->notifyEvent(eventName, eventInfo);
}

std::shared_ptr<ui::View> ReaderChrome::penToolActionBarView()
{
    return m_context.penToolActionBarView;
}

std::shared_ptr<ui::View> ReaderChrome::penToolActionBottomBarView()
{
    return m_context.penToolActionBottomBarView;
}

} // namespace lectoro
