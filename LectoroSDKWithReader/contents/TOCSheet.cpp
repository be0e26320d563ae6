// The iPad sheet of the contents panel: dragged between half and full height, flicked
// away, or closed by a tap on the overlay around it; and the background load of a page
// book's resources behind a loader.
//
// Sheet positions are the constant of the pan container's top constraint with its side
// insets and the header height: parked (H, 15, header 0), half (H/2 - h, 15, header 0),
// full (-h, 0, the default header height), H being the panel's height and h the drag
// handle's, both read when used.

#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/TOCViewController.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

#include <algorithm>

namespace lectoro {

namespace {

constexpr double tocSheetInset = 15;
constexpr double tocSheetAnimation = 0.4;
// Page scans start this long after the panel asked for them, so it opens first.
constexpr double tocScanDelay = 0.1;
constexpr const char* tocLoadQueueLabel = "lectoro.concurrent.queue";

} // namespace

void TOCViewController::setupPanGesture()
{
    std::weak_ptr<TOCViewController> weak = self();
    m_panGesture = ui::PanGestureRecognizer::create([weak](ui::GestureRecognizer& recognizer) {
        auto panel = weak.lock();
        if (auto* pan = dynamic_cast<ui::PanGestureRecognizer*>(&recognizer); panel && pan)
            panel->handlePanWithPanGes(*pan);
    });
    m_panGesture->setDelegate(std::static_pointer_cast<ui::GestureRecognizerDelegate>(self()));
    m_panGesture->setCancelsTouchesInView(false);
    m_pangestureContainer->addGestureRecognizer(m_panGesture);
    updateHeaderHeight(0);
    auto root = view();
    m_topConstraintOfContainerView->setConstant(root->frame().size.height);
    m_leftConstraintOfContainerView->setConstant(tocSheetInset);
    m_rightConstraintOfContainerView->setConstant(-tocSheetInset);
    auto& layer = *m_containerView->layer();
    layer.setBorderColor(tocColour(m_theme->toc_popup_border()));
    layer.setBorderWidth(0.6);
    layer.setMasksToBounds(false);
    layer.setShadowOffset({ 0, -1 });
    layer.setShadowRadius(4);
    layer.setShadowOpacity(0.6);
    root->layoutIfNeeded();
}

void TOCViewController::layoutRootAnimated()
{
    std::weak_ptr<ui::View> weakRoot = view();
    ui::View::animate(tocSheetAnimation, [weakRoot] {
        if (auto root = weakRoot.lock()) {
            root->setNeedsLayout();
            root->layoutIfNeeded();
        }
    });
}

void TOCViewController::moveSheet(double top, double side, double header, bool animated)
{
    m_topConstraintOfContainerView->setConstant(top);
    m_leftConstraintOfContainerView->setConstant(side);
    m_rightConstraintOfContainerView->setConstant(-side);
    updateHeaderHeight(header);
    if (animated)
        layoutRootAnimated();
}

void TOCViewController::handlePanWithPanGes(ui::PanGestureRecognizer& pan)
{
    if (!isViewLoaded() || !m_topConstraintOfContainerView)
        return;
    auto root = view();
    const double ty = pan.translationInView(root.get()).y;
    const double vy = pan.velocityInView(root.get()).y;
    const double H = root->frame().size.height;
    const double h = m_upDirectionIconLbl ? m_upDirectionIconLbl->frame().size.height : 0;
    switch (pan.state()) {
    case ui::GestureState::Began:
        m_previousStateYPosition = m_topConstraintOfContainerView->constant();
        m_topConstraintOfContainerView->setConstant(std::max(m_previousStateYPosition + ty, -h));
        break;
    case ui::GestureState::Changed: {
        const double top = std::max(m_previousStateYPosition + ty, -h);
        // Above the safe area's top the sheet takes the full look: no insets, header shown.
        if (top > 0)
            moveSheet(top, tocSheetInset, 0, false);
        else
            moveSheet(top, 0, m_headerDefaultHeight, false);
        layoutRootAnimated();
        break;
    }
    case ui::GestureState::Ended: {
        const double c = m_topConstraintOfContainerView->constant();
        if (vy < 0 && c < H / 2)
            moveSheet(-h, 0, m_headerDefaultHeight, true);
        else if (vy > 0 && c < H / 2 - h)
            moveSheet(H / 2 - h, tocSheetInset, 0, true);
        else if (vy > 0 && c > H / 3 - h)
            actionForCloseTOCWithSender();
        else
            layoutRootAnimated();
        break;
    }
    default:
        break;
    }
}

void TOCViewController::singleTapOnViewWithTapGes(ui::GestureRecognizer&)
{
    actionForCloseTOCWithSender();
}

// Taps count only on the overlay: the root view or the clear view behind the sheet. Any
// other recogniser (the drag) is left alone.
bool TOCViewController::shouldBegin(ui::GestureRecognizer& recognizer)
{
    if (!dynamic_cast<ui::TapGestureRecognizer*>(&recognizer))
        return true;
    auto attached = recognizer.view();
    if (!attached || !isViewLoaded())
        return false;
    auto root = view();
    return attached == root || (!root->subviews().empty() && attached == root->subviews().front());
}

bool TOCViewController::shouldReceiveTouch(ui::GestureRecognizer& recognizer, ui::View* touched)
{
    if (!dynamic_cast<ui::TapGestureRecognizer*>(&recognizer))
        return true;
    if (!touched || !isViewLoaded())
        return false;
    auto root = view();
    return touched == root.get() || (!root->subviews().empty() && touched == root->subviews().front().get());
}

// MARK: - Background resource load

void TOCViewController::showLoader()
{
    if (!m_loaderView) {
        m_activityIndicator = ui::ActivityIndicatorView::create(ui::ActivityIndicatorStyle::WhiteLarge);
        m_activityIndicator->setHidesWhenStopped(true);
        m_loaderView = ui::View::create();
        m_loaderView->setBackgroundColor(ui::Color::black().withAlpha(0.5));
        m_loaderView->addSubview(m_activityIndicator);
    }
    m_activityIndicator->startAnimating();
    // Before the view loads the loader waits; viewDidLoad puts it over the panel.
    if (isViewLoaded()) {
        auto root = view();
        m_loaderView->setFrame(root->bounds());
        root->addSubview(m_loaderView);
    }
    ui::Size size = m_activityIndicator->frame().size;
    m_activityIndicator->setFrame({ (m_loaderView->frame().size.width - size.width) / 2,
        (m_loaderView->frame().size.height - size.height) / 2, size.width, size.height });
    m_loaderView->setHidden(false);
}

void TOCViewController::hideLoader()
{
    if (!m_loaderView)
        return;
    m_loaderView->setHidden(true);
    if (m_activityIndicator)
        m_activityIndicator->stopAnimating();
}

// Each page's links are scanned off the main thread, one page at a time on a serial queue
// of the load's own; the group's notification groups them on the main queue. Only the
// scans touch the shared row list, and only one at a time, until the group is done.
void TOCViewController::loadResourcesInBackground()
{
    showLoader();
    auto book = std::dynamic_pointer_cast<PXBookVO>(m_model.currentBook());
    if (!book) {
        hideLoader();
        return;
    }
    auto queue = std::make_shared<base::SerialQueue>(tocLoadQueueLabel);
    auto rows = std::make_shared<std::vector<TOCResourceEntry>>();
    base::DispatchGroup group;
    std::vector<std::shared_ptr<PXPageVO>> pages;
    for (const auto& page : book->pageList) {
        if (!page)
            continue;
        group.enter();
        pages.push_back(page);
    }
    if (!pages.empty()) {
        base::RunLoop::main().postDelayed(tocScanDelay, [queue, rows, group, pages = std::move(pages)]() mutable {
            for (auto& page : pages) {
                queue->async([rows, group, page]() mutable {
                    auto found = TOCModel::collectPageResources(*page);
                    rows->insert(rows->end(), std::make_move_iterator(found.begin()),
                        std::make_move_iterator(found.end()));
                    group.leave();
                });
            }
        });
    }
    std::weak_ptr<TOCViewController> weak = self();
    group.notify([weak, rows] {
        auto panel = weak.lock();
        if (!panel)
            return;
        panel->didLoadResourcesInBackground(panel->m_model.groupResourcesByChapter(std::move(*rows)));
    });
}

void TOCViewController::didLoadResourcesInBackground(std::vector<TOCResourceGroup> groups)
{
    m_model.setResourceGroups(std::move(groups));
    if (!m_model.resourceGroups().empty() && m_segmentView && m_containerView) {
        // The bar is built again, now with its Resources tab.
        for (const auto& subview : std::vector(m_segmentView->subviews()))
            subview->removeFromSuperview();
        setupTabViews();
        if (isViewLoaded()) {
            view()->setNeedsLayout();
            view()->layoutIfNeeded();
        }
        reloadContentsTable();
    }
    hideLoader();
}

} // namespace lectoro
