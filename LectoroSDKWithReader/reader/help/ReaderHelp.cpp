#include "LectoroSDKWithReader/reader/help/ReaderHelp.h"

#include "LectoroSDKWithReader/foundation/Localized.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/help/HelpScreen.h"
#include "LectoroSDKWithReader/reader/help/HelpTexts.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

namespace lectoro {

namespace {

constexpr double readAloudOfferDelay = 0.5;
constexpr double pageChangeAnimationDuration = 0.5;

enum class BarKind { None, Top, Bottom };

// The bar classes are told apart by class name, which each bar view reports.
BarKind barKindOf(const ui::View& view)
{
    if (view.className() == "PlayerActionBottomBar")
        return BarKind::Bottom;
    if (view.className() == "PlayerActionTopBar")
        return BarKind::Top;
    return BarKind::None;
}

// A bottom bar keeps its items in a row view, its first subview; a bar that holds its
// items directly gives them as they are.
const std::vector<std::shared_ptr<ui::View>>& bottomBarItems(const ui::View& bar)
{
    const auto& subviews = bar.subviews();
    if (!subviews.empty() && !dynamic_cast<const PlayerActionBarItem*>(subviews.front().get()))
        return subviews.front()->subviews();
    return subviews;
}

void seedFlag(base::UserDefaults& defaults, const char* key)
{
    if (!defaults.objectForKey(key)) {
        defaults.setBool(key, true);
        defaults.synchronize();
    }
}

const char* hexBlack = "#000000";
const char* hexWhite = "#FFFFFF";
const char* hexCyan = "#00d9fa";

} // namespace

std::shared_ptr<ReaderHelp> ReaderHelp::create(ReaderHelpHost& host)
{
    return std::shared_ptr<ReaderHelp>(new ReaderHelp(host));
}

ReaderHelp::ReaderHelp(ReaderHelpHost& host)
    : m_host(host)
{
}

std::optional<std::string> ReaderHelp::flagKeyForBook(const LectoroBookVO* book)
{
    if (dynamic_cast<const PXBookVO*>(book))
        return std::string(pdfFlagKey);
    if (auto* epub = dynamic_cast<const EPUBBookVO*>(book)) {
        if (epub->meta.layout == 0)
            return std::string(reflowEpubFlagKey);
        if (epub->meta.layout == 1)
            return std::string(fixedEpubFlagKey);
    }
    return std::nullopt;
}

void ReaderHelp::configureForHelpScreen()
{
    auto& defaults = base::UserDefaults::standard();
    for (const char* key : { pdfFlagKey, reflowEpubFlagKey, fixedEpubFlagKey, teacherReviewFlagKey })
        seedFlag(defaults, key);
}

std::shared_ptr<HelpScreen> ReaderHelp::getHelpScreenInstance()
{
    return HelpScreen::create();
}

void ReaderHelp::showHelpScreenForTeacherReview()
{
    if (!m_helpScreen)
        showHelpScreen(true);
}

void ReaderHelp::dismissShownOverlay()
{
    if (!m_helpScreen)
        return;
    if (auto overlayView = m_helpScreen->viewIfLoaded())
        overlayView->removeFromSuperview();
    m_helpScreen->removeFromParentViewController();
    m_helpScreen = nullptr;
}

void ReaderHelp::showHelpScreen(bool forTeacherReview)
{
    configureForHelpScreen();
    auto& defaults = base::UserDefaults::standard();
    bool due = false;
    if (forTeacherReview)
        due = defaults.boolForKey(teacherReviewFlagKey);
    else if (auto key = flagKeyForBook(m_host.helpCurrentBook().get())) {
        due = defaults.boolForKey(*key);
        if (due)
            m_host.moveTopAndBottomOnScreen(true);
    }
    if (!due) {
        offerReadAloud();
        return;
    }

    dismissShownOverlay();

    auto overlay = getHelpScreenInstance();
    overlay->setBackGroundColorWithColor(hexBlack);
    overlay->setLineColorWithColor(hexWhite);
    overlay->setEllipseColorWithColor(hexCyan);
    overlay->setIconColorWithColor(hexWhite);
    overlay->setTitleTextColorWithColor(hexCyan);
    overlay->setDescriptionTextColorWithColor(hexWhite);
    overlay->setGotItButtonBackgroundColorWithColor("#095E8E");
    overlay->setGotItButtonTextColorWithColor(hexWhite);
    overlay->setSkipButtonBackgroundColorWithColor(hexWhite);
    overlay->setSkipButtonTextColorWithColor(hexBlack);
    overlay->setShowSecondScreen(true);
    overlay->setIsForTeacherReview(forTeacherReview);
    m_helpScreen = overlay;

    overlay->setHelpDescriptors(
        forTeacherReview ? getAllAppBarButtonForTeacherReview() : getAllAppBarButton());
    overlay->setDelegate(weak_from_this());

    auto parent = m_host.helpParentViewController();
    if (!parent)
        return;
    auto parentView = parent->view();
    auto overlayView = overlay->view();
    overlayView->setBackgroundColor(ui::Color::black().withAlpha(0.7));
    overlayView->setNeedsLayout();
    overlayView->setTranslatesAutoresizingMaskIntoConstraints(false);
    parentView->addSubview(overlayView);
    auto guide = parentView->safeAreaLayoutGuide();
    ui::Constraint::activate({
        overlayView->leadingAnchor().constraintEqualTo(guide->leadingAnchor()),
        overlayView->trailingAnchor().constraintEqualTo(guide->trailingAnchor()),
        overlayView->topAnchor().constraintEqualTo(guide->topAnchor()),
        overlayView->bottomAnchor().constraintEqualTo(guide->bottomAnchor()),
    });

    parent->addChildViewController(overlay);
    overlayView->layoutIfNeeded();
    overlay->didMoveToParentViewController(parent.get());
    overlay->viewWillAppear(true);
    parentView->bringSubviewToFront(overlayView.get());
}

std::vector<std::shared_ptr<HelpDescriptor>> ReaderHelp::getAllAppBarButton()
{
    m_helpDescriptorsForHelpScreen.clear();
    if (auto parent = m_host.helpParentViewController()) {
        auto parentView = parent->view();
        // Copied: collecting must not be disturbed by views moving meanwhile.
        auto subviews = parentView->subviews();
        for (const auto& subview : subviews) {
            switch (barKindOf(*subview)) {
            case BarKind::Bottom: {
                auto items = bottomBarItems(*subview);
                for (const auto& item : items)
                    setHelpTextForView(item);
                break;
            }
            case BarKind::Top: {
                auto items = subview->subviews();
                for (const auto& item : items)
                    setHelpTextForView(item);
                break;
            }
            case BarKind::None:
                break;
            }
        }
    }
    if (auto bookmark = m_host.helpBookmark())
        setHelpTextForView(bookmark);
    return m_helpDescriptorsForHelpScreen;
}

std::vector<std::shared_ptr<HelpDescriptor>> ReaderHelp::getAllAppBarButtonForTeacherReview()
{
    m_helpDescriptorsForHelpScreen.clear();
    for (const auto& bar : { m_host.penToolActionBarView(), m_host.penToolActionBottomBarView() }) {
        if (!bar)
            continue;
        auto subviews = bar->subviews();
        for (const auto& subview : subviews) {
            if (dynamic_cast<PlayerActionBarItem*>(subview.get())) {
                setHelpTextForViewForTeacherReview(subview);
                continue;
            }
            auto nested = subview->subviews();
            for (const auto& item : nested)
                setHelpTextForViewForTeacherReview(item);
        }
    }
    return m_helpDescriptorsForHelpScreen;
}

base::Value ReaderHelp::getHelpTextTitleAndDescriptionForView(const ui::View& view)
{
    base::Value::Dictionary texts;
    auto* epub = dynamic_cast<const EPUBBookVO*>(m_host.helpCurrentBook().get());
    if (auto entry = readerHelpTextForTag(view.tag(), epub != nullptr)) {
        texts.set("TITLE", localized(entry->titleKey));
        texts.set("DETAIL_TEXT", localized(entry->detailKey));
        texts.set("ON_SECOND_SCREEN", entry->onSecondScreen);
    }
    return texts;
}

void ReaderHelp::setHelpTextForView(const std::shared_ptr<ui::View>& view)
{
    if (!view || view->subviews().empty())
        return;
    base::Value texts = getHelpTextTitleAndDescriptionForView(*view);
    auto title = texts["TITLE"].asString();
    if (!title || title->empty())
        return;
    auto descriptor = HelpDescriptor::create(
        view->subviews().front(), title, texts["DETAIL_TEXT"].asString(), std::string());
    descriptor->setOnSecondScreen(texts["ON_SECOND_SCREEN"].boolValue());
    m_helpDescriptorsForHelpScreen.push_back(descriptor);
}

void ReaderHelp::setHelpTextForViewForTeacherReview(const std::shared_ptr<ui::View>& view)
{
    if (!view || view->subviews().empty())
        return;
    auto entry = teacherReviewHelpTextForTag(view->tag());
    if (!entry)
        return;
    std::string title = localized(entry->titleKey);
    if (title.empty())
        return;
    auto descriptor = HelpDescriptor::create(
        view->subviews().front(), title, localized(entry->detailKey), std::string(entry->tagName));
    descriptor->setOnSecondScreen(entry->onSecondScreen);
    m_helpDescriptorsForHelpScreen.push_back(descriptor);
}

void ReaderHelp::refreshHelpDescriptors(bool layOut)
{
    if (!m_helpScreen)
        return;
    m_helpScreen->setHelpDescriptors(
        m_helpScreen->isForTeacherReview() ? getAllAppBarButtonForTeacherReview() : getAllAppBarButton());
    if (layOut)
        m_helpScreen->setUpViews();
}

void ReaderHelp::swipeAtIndex(HelpScreen& overlay, int64_t index)
{
    if (index == 0 || index == 1) {
        bool secondScreen = index == 1;
        overlay.setIsOnSecondScreenOnHelpScreen(secondScreen);
        auto parent = m_host.helpParentViewController();
        std::weak_ptr<ReaderHelp> weakSelf = weak_from_this();
        ui::View::animate(
            pageChangeAnimationDuration,
            [parent] {
                if (parent)
                    parent->view()->layoutIfNeeded();
            },
            [weakSelf, secondScreen](bool) {
                auto self = weakSelf.lock();
                if (!self)
                    return;
                if (auto topBar = self->m_host.playerTopActionBarView())
                    topBar->setHidden(secondScreen);
            });
    }
    if (auto overlayView = overlay.viewIfLoaded()) {
        if (auto superview = overlayView->superview())
            superview->bringSubviewToFront(overlayView.get());
    }
}

void ReaderHelp::didRemovedHelpScreen(HelpScreen&)
{
    if (m_helpScreen) {
        std::optional<std::string> key;
        if (m_helpScreen->isForTeacherReview())
            key = teacherReviewFlagKey;
        else
            key = flagKeyForBook(m_host.helpCurrentBook().get());
        auto& defaults = base::UserDefaults::standard();
        if (key && defaults.objectForKey(*key))
            defaults.setBool(*key, false);
        defaults.synchronize();
        m_helpScreen = nullptr;
    }
    offerReadAloud();
}

void ReaderHelp::offerReadAloud()
{
    if (m_host.readAloudPopupShown())
        return;
    auto book = m_host.helpCurrentBook();
    std::weak_ptr<ReaderHelp> weakSelf = weak_from_this();
    auto showChooser = [weakSelf] {
        if (auto self = weakSelf.lock())
            self->m_host.showReadAloudController();
    };
    if (auto* epub = dynamic_cast<const EPUBBookVO*>(book.get())) {
        if (!epub->isAudioSyncSupported)
            return;
        m_host.notifyEvent(LectoroReaderEventConstant::readAloudEventName(), base::Value());
        base::RunLoop::main().postDelayed(readAloudOfferDelay, weakSelf, showChooser);
    } else if (auto* pageBook = dynamic_cast<const PXBookVO*>(book.get())) {
        if (!pageBook->isReadAloudEnabled)
            return;
        m_host.moveTopAndBottomOffScreen(true);
        base::RunLoop::main().postDelayed(readAloudOfferDelay, weakSelf, showChooser);
    }
}

} // namespace lectoro
