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
#include "platform/ui/Constraint.h"
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
    const bool pad = chrome::isPad();
    // The layer covers the reader view at its size of this moment.
    const auto hostFrame = host->frame();
    auto container = ui::View::create({ 0, 0, hostFrame.width(), hostFrame.height() });
    container->setBackgroundColor(ui::Color::clear());
    container->setTranslatesAutoresizingMaskIntoConstraints(false);
    host->addSubview(container);
    ui::Constraint::activate({
        container->centerXAnchor().constraintEqualTo(host->centerXAnchor()),
        container->centerYAnchor().constraintEqualTo(host->centerYAnchor()),
        container->heightAnchor().constraintEqualToConstant(hostFrame.height()),
        container->widthAnchor().constraintEqualToConstant(hostFrame.width()),
    });
    container->setFrame({ (host->bounds().width() - hostFrame.width()) / 2,
        (host->bounds().height() - hostFrame.height()) / 2, hostFrame.width(), hostFrame.height() });
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
    container->addSubview(bar);
    bar->setTranslatesAutoresizingMaskIntoConstraints(false);

    const Placement place = placement(pad, teacherReview);
    m_heightConstraint = bar->heightAnchor().constraintEqualToConstant(0);
    ui::Constraint::activate({
        bar->trailingAnchor().constraintEqualTo(container->trailingAnchor(), place.trailing),
        bar->widthAnchor().constraintEqualToConstant(place.width),
        place.pinTop ? bar->topAnchor().constraintEqualTo(container->topAnchor(), place.vertical)
                     : bar->bottomAnchor().constraintEqualTo(container->bottomAnchor(), place.vertical),
        m_heightConstraint,
    });

    auto& layer = *bar->layer();
    if (teacherReview) {
        if (auto border = theme.pen_tool_toolbar_icons_color())
            layer.setBorderColor(*border);
        layer.setBorderWidth(1.0);
        layer.setCornerRadius(5.0);
    } else {
        bar->setClipsToBounds(false);
        layer.setShadowOffset({ 0, -1 });
        layer.setShadowRadius(2.0);
        layer.setShadowOpacity(0.8);
    }

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

    const double height = count * itemExtent();
    m_heightConstraint->setConstant(height);
    const auto bounds = container->bounds();
    const double x = bounds.width() + place.trailing - place.width;
    const double y = place.pinTop ? place.vertical : bounds.height() + place.vertical - height;
    bar->setFrame({ x, y, place.width, height });
    bar->layoutIfNeeded();
}

ReaderVerticalBar::Placement ReaderVerticalBar::placement(bool pad, bool teacherReview)
{
    if (pad)
        return teacherReview ? Placement { -45, 60, true, 5 } : Placement { -45, 60, false, -12 };
    return { -15, 50, false, -7 };
}

} // namespace lectoro
