#include "LectoroSDKWithReader/reader/chrome/ReaderVerticalBar.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionVerticalBarFiller.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"

namespace lectoro {

ReaderVerticalBar::ReaderVerticalBar(ReaderContext& context)
    : m_context(context)
{
}

double ReaderVerticalBar::itemExtent()
{
    return chrome::isPad() ? 50 : 45;
}

void ReaderVerticalBar::removeVerticalBarViewForTeacherReview()
{
    if (!m_container)
        return;
    m_container->removeFromSuperview();
    m_container.reset();
    m_bar.reset();
}

void ReaderVerticalBar::removePlayerActionVerticalBar()
{
    if (m_bar)
        m_bar->removeFromSuperview();
    m_bar.reset();
}

void ReaderVerticalBar::addPlayerVerticalBarForTeacherView()
{
    auto* reader = m_context.controller;
    if (!reader)
        return;
    removeVerticalBarViewForTeacherReview();
    auto host = reader->view();

    const bool teacherReview = m_context.activeMode == ReaderActiveModeTeacherReview;
    auto container = ui::View::create(host->bounds());
    container->setBackgroundColor(ui::Color::clear());
    auto weakContainer = std::weak_ptr<ui::View>(container);
    std::weak_ptr<const int> alive = m_alive;
    container->addGestureRecognizer(ui::TapGestureRecognizer::create([this, alive, weakContainer](ui::GestureRecognizer&) {
        // Only the container shown now closes itself; a stale one never closes its successor.
        if (alive.expired())
            return;
        if (m_container && m_container == weakContainer.lock())
            removeVerticalBarViewForTeacherReview();
    }));

    auto bar = PlayerActionBar::create();
    bar->setPlayerActionBarAlignmentMode(PlayerActionBarAlignmentVertical);
    bar->setDelegate(reader->playerActionDelegate());
    bar->setTag(teacherReview ? TeacherBar : BottomBar);
    static const LXMVThemeVO noTheme;
    const LXMVThemeVO& theme = m_context.theme ? *m_context.theme : noTheme;
    bar->setBackgroundColor(theme.pen_tool_toolbar_background());

    VerticalBarFillerInputs inputs;
    inputs.isLearner = m_context.user && m_context.user->isLearner();
    inputs.settings = m_context.settings;
    inputs.hasClassAssociation = m_context.hasClassAssociation;
    inputs.isFurthestPageEnabled = m_context.renderer && m_context.renderer->isFurthestPageEnabled();
    inputs.currentPageHasActiveUGC = reader->teacherReview().doesCurrentPageHaveActiveUGC();
    inputs.updateClearAllFIBsButtonStatus = [reader] { reader->annotations().updateClearAllFIBsButtonStatus(); };
    inputs.getPenToolItemWithTag = [reader](int tag) { return reader->bars().getPenToolItemWithTag(tag); };
    const bool isEPUB = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook) != nullptr;

    m_container = container;
    m_bar = bar;
    int count = PlayerActionVerticalBarFiller(std::move(inputs)).fillVerticalBar(theme, *bar, teacherReview, isEPUB);

    const double width = itemExtent();
    const double height = count * itemExtent();
    const auto bounds = host->bounds();
    const auto safeArea = host->safeAreaInsets();
    const bool rightToLeft = ui::Environment::current().isRightToLeft();
    const double x = rightToLeft ? safeArea.left : bounds.width() - safeArea.right - width;
    const double y = bounds.height() - safeArea.bottom - ReaderBars::bottomBarHeight() - height;
    bar->setFrame({ x, y, width, height });
    container->addSubview(bar);
    host->addSubview(container);
    bar->layoutIfNeeded();
}

} // namespace lectoro
