// The reader re-lays its chrome when the device turns or the window changes size, and
// moves the search view above the keyboard. What survives a turn: the book, the page,
// the history, the mode (except where a pop-up is closed) and whether the bars show.

#include "LectoroSDKWithReader/reader/ReaderViewController.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/ReaderChrome.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderReflowable.h"
#include "LectoroSDKWithReader/reader/chrome/ReaderVerticalBar.h"
#include "LectoroSDKWithReader/reader/help/HelpScreen.h"
#include "LectoroSDKWithReader/reader/help/ReaderHelp.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCountView.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Environment.h"
#include "platform/ui/View.h"

namespace lectoro {

namespace {

constexpr double keyboardAnimationDuration = 0.4;
// Screens 812 points long keep a home indicator (34 points, 22 in landscape) that the
// keyboard already covers.
constexpr double tallScreenLength = 812;
constexpr double homeIndicatorPortrait = 34;
constexpr double homeIndicatorLandscape = 22;

bool isPortraitValue(int64_t orientation)
{
    return orientation == 1 || orientation == 2;
}

bool isLandscapeValue(int64_t orientation)
{
    return orientation == 3 || orientation == 4;
}

bool isInViewHierarchy(const std::shared_ptr<PlayerActionBar>& bar)
{
    return bar && bar->superview();
}

ui::Rect keyboardEndFrame(const base::Notification& note)
{
    const auto& frame = note.userInfo[ui::KeyboardFrameEndUserInfoKey];
    if (!frame.isDictionary())
        return {};
    return { { frame["x"].doubleValue(), frame["y"].doubleValue() },
        { frame["width"].doubleValue(), frame["height"].doubleValue() } };
}

} // namespace

bool ReaderViewController::isOrientationChange(int64_t from, int64_t to)
{
    if (from == 0)
        return true;
    return (isPortraitValue(from) && isLandscapeValue(to)) || (isLandscapeValue(from) && isPortraitValue(to));
}

// MARK: - Device orientation

void ReaderViewController::orientationChanged()
{
    auto protect = shared_from_this();
    auto orientation = static_cast<int64_t>(ui::Environment::current().interfaceOrientation());
    const bool changed = isOrientationChange(m_context.deviceOrientation, orientation);
    if (changed)
        m_context.deviceOrientation = orientation;
    // Review bars are built for one orientation: the bottom bar again on a real turn,
    // the top bar on every call.
    m_teacherReview->rebuildReviewBarsForOrientation(changed);
    if (!m_context.user)
        return;

    auto topConstraint = m_bars->topBarTopMarginConstraint();
    bool wasHidden = topConstraint ? topConstraint->constant() == ReaderBars::topHiddenConstant
                                   : m_context.isPlayerActionBarHidden;
    if (isInViewHierarchy(m_context.playerTopActionBarView)
        && isInViewHierarchy(m_context.playerBottomActionBarView)) {
        m_readAloud->removeSpeedSelectionView();
        m_bars->removePlayerBottomBar();
        m_bars->addPlayerTopBarForIPhone();
        m_bars->addPlayerBottomBarForIPhone();
        if (m_verticalBar->viewForVerticalPlayerActionBar()) {
            m_verticalBar->removeVerticalBarViewForTeacherReview();
            m_verticalBar->addPlayerVerticalBarForTeacherView();
        }
        m_annotations->changeAudioButtonStatus();
    }
    if (wasHidden)
        m_bars->moveTopAndBottomOffScreenWithIsAnimate(false);
    else
        m_bars->moveTopAndBottomOnScreenWithIsAnimate(false);

    if (!ui::Environment::current().isPad()) {
        if (m_context.activeMode == ReaderActiveModePenTool) {
            m_bars->addPenToolTopBarViewWithAnimation(false);
            m_bars->moveTopAndBottomOffScreenWithIsAnimate(false);
        }
        removeProfilePopOver();
    }
    if (m_chrome->isHelpScreenShown()) {
        // The bars just shown again must not cover the overlay that explains them.
        if (auto overlay = m_chrome->help().helpScreen() ? m_chrome->help().helpScreen()->viewIfLoaded() : nullptr)
            view()->bringSubviewToFront(overlay.get());
        m_chrome->refreshHelpDescriptors(false);
    }
    if (m_context.activeMode == ReaderActiveModeInstructionPopup)
        m_interactive->removeInstructionMarkupPopOver();
}

// MARK: - Size transitions

void ReaderViewController::viewWillTransitionToSize(
    const ui::Size& size, ui::TransitionCoordinator& coordinator)
{
    if (m_context.isappInBackground)
        return;
    ui::ViewController::viewWillTransitionToSize(size, coordinator);
    auto protect = shared_from_this();

    switch (m_context.activeMode) {
    case ReaderActiveModeHighlightPopup:
        m_annotations->removeHighlightPopup();
        break;
    case ReaderActiveModeNoteView:
        m_annotations->removeNoteView();
        break;
    case ReaderActiveModeBookmark:
        m_annotations->removeBookmarkVC();
        break;
    case ReaderActiveModePenTool:
        // The pen stays on, with the pen the reader last chose.
        if (m_context.renderer) {
            m_context.renderer->setPenDrawingModeEnabled(true);
            m_context.renderer->reloadPages();
        }
        break;
    case ReaderActiveModeTextAnnotation:
        if (m_context.renderer)
            m_context.renderer->exitTextAnnotationMode();
        m_annotations->removeTextAnnotationView();
        break;
    case ReaderActiveModeFillInBlank:
        m_interactive->removeFIBPopOver();
        break;
    default:
        // Pop-ups close; thumbnails and teacher review keep their panels and re-select and
        // re-build through their own subsystems.
        m_interactive->removePopOverForActiveMode();
        break;
    }

    m_search->reloadSearchHighlightText();
    m_contents->reselectThumbnailPages();
    m_navigation->resetPageHistoryIndexOnTransition();
    m_interactive->removeInlineYoutubePlayer();
    m_interactive->removeMultiLinkPopOver();
    removeProfilePopOver();
    m_verticalBar->removeVerticalBarViewForTeacherReview();
    m_readAloud->removeSpeedSelectionView();
    m_interactive->didSelectActionToCloseDropDown();
    m_interactive->removeMultiLinkPopOver();

    auto weak = weakSelf();
    auto wasPlaying = std::make_shared<bool>(false);
    coordinator.animateAlongside(
        [weak, wasPlaying](const ui::TransitionCoordinatorContext&) {
            auto self = weak.lock();
            if (!self || self->m_cleared)
                return;
            if (self->m_readAloud->isAudioSyncPlaying()) {
                *wasPlaying = true;
                self->m_readAloud->pauseAudioSyncIfAny();
            }
        },
        [weak, wasPlaying](const ui::TransitionCoordinatorContext&) {
            auto self = weak.lock();
            if (self && !self->m_cleared)
                self->sizeTransitionDidComplete(*wasPlaying);
        });

    if (auto* pageCount = m_reflowable->pageCount()) {
        if (const auto& strip = pageCount->reflowableSliderPageCountView())
            strip->setPageData("");
    }
    m_reflowable->hideReflowablePageCountView();
    if (!m_chrome->isHelpScreenShown())
        m_bars->addPlayerActionBarForTopAndBottom();
}

void ReaderViewController::sizeTransitionDidComplete(bool audioSyncWasPlaying)
{
    m_readAloud->restoreReadAloudController();
    if (audioSyncWasPlaying) {
        auto weak = weakSelf();
        base::RunLoop::main().postDelayed(0.5, lifetimeToken(), [weak] {
            if (auto self = weak.lock())
                self->m_readAloud->resumeAudioSyncIfAny();
        });
    }
    m_annotations->updateClearAllFIBsButtonStatus();
    m_reflowable->addSliderBarForReflowableBook();
    if (auto* slider = m_reflowable->slider(); slider && slider->isVerticalsliderEnable()) {
        if (const auto& right = slider->rightConstraintForVerticalSliderView()) {
            double inset = view()->safeAreaInsets().right;
            right->setConstant(isPlayerActionBarHidden() ? ReaderBars::verticalSliderHiddenMargin(inset)
                                                         : ReaderBars::verticalSliderShownMargin(inset));
        }
    }
}

// MARK: - Keyboard

double ReaderViewController::searchViewBottomOffsetForKeyboard(double keyboardHeight, const ui::Size& screen)
{
    if (screen.width == tallScreenLength)
        return keyboardHeight - homeIndicatorLandscape;
    if (screen.height == tallScreenLength)
        return keyboardHeight - homeIndicatorPortrait;
    return keyboardHeight;
}

void ReaderViewController::keyboardWillShow(const base::Notification& note)
{
    ui::Rect frame = keyboardEndFrame(note);
    double offset
        = searchViewBottomOffsetForKeyboard(frame.size.height, ui::Environment::current().screenSize());
    auto constraint = m_context.bottomConstraintOfTextSearchView;
    std::weak_ptr<ui::View> weakView = viewIfLoaded();
    ui::View::animate(keyboardAnimationDuration, [weakView, constraint, offset] {
        auto view = weakView.lock();
        if (view)
            view->layoutIfNeeded();
        if (constraint)
            constraint->setConstant(offset);
        if (view)
            view->layoutIfNeeded();
    });
    m_annotations->updatePlayerBottomBarPositionWithKeyboardSize(frame);
}

void ReaderViewController::keyboardWillHide(const base::Notification&)
{
    auto constraint = m_context.bottomConstraintOfTextSearchView;
    std::weak_ptr<ui::View> weakView = viewIfLoaded();
    ui::View::animate(keyboardAnimationDuration, [weakView, constraint] {
        if (constraint)
            constraint->setConstant(0);
        if (auto view = weakView.lock())
            view->layoutIfNeeded();
    });
    m_annotations->updatePlayerBottomBarPositionWithKeyboardSize(ui::Rect {});
}

// MARK: - Small removals

void ReaderViewController::removeProfilePopOver()
{
    if (auto delegate = m_delegate.lock())
        delegate->didRemoveProfilePopOver();
}

} // namespace lectoro
