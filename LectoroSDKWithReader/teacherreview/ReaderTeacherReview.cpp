#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManager.h"
#include "LectoroSDKWithReader/readersdk/LectoroServiceInterface.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/LectoroServiceRetry.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"
#include "LectoroSDKWithReader/teacherreview/TeacherAnnotationViewController.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewClassListViewController.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewPanelBridge.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewReader.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewViewController.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Environment.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Presentation.h"

namespace lectoro {

ReaderTeacherReview::ReaderTeacherReview(ReaderContext& context, TeacherReviewReader& reader)
    : m_context(context)
    , m_reader(reader)
    , m_panelBridge(std::make_shared<TeacherReviewPanelBridge>(*this))
{
}

bool ReaderTeacherReview::isReviewRunning() const
{
    return m_context.activeMode == ReaderActiveModeTeacherReview;
}

ReaderTeacherReview::~ReaderTeacherReview()
{
    m_panelBridge->detach();
    // A panel that outlives the reader (still presented, or held by a test) must not call
    // back into it.
    if (m_teacherAnnotationController) {
        m_teacherAnnotationController->RemoveAnnotataionController = nullptr;
        m_teacherAnnotationController->DidTapOnChangeClassButton = nullptr;
        m_teacherAnnotationController->FetchEachLearnerData = nullptr;
        m_teacherAnnotationController->LearnerSelectionAction = nullptr;
    }
}

std::shared_ptr<ui::View> ReaderTeacherReview::readerView() const
{
    auto presenter = m_reader.presentingController();
    return presenter ? presenter->view() : nullptr;
}

// MARK: - Entry

void ReaderTeacherReview::actionForTeacherReview()
{
    auto picker = TeacherReviewClassListViewController::create();
    std::weak_ptr<int> alive = m_alive;
    std::weak_ptr<TeacherReviewClassListViewController> weakPicker = picker;
    picker->RemoveAnnotataionController = [this, alive] {
        if (!alive.expired())
            removeAnnotationController();
    };
    picker->DidSelectClassName = [this, alive, weakPicker](const std::string& title, const base::Value& learners) {
        auto shown = weakPicker.lock();
        if (alive.expired() || !shown)
            return;
        // The panel is presented from the reader once the picker has left it.
        shown->closeViewController([this, alive, title, learners] {
            if (!alive.expired())
                actionForTeacherReviewLearnerList(title, learners);
        });
    };

    // Ids are 64-bit; an id that is no number has no classes (it must not read as user 0).
    std::vector<std::shared_ptr<SDKBookClassInfoVO>> classes;
    auto userID = m_context.user ? coding::readId(base::Value(m_context.user->userID)) : std::nullopt;
    if (m_context.dbManager && userID)
        classes = m_context.dbManager->bookClassInfoArrayForBookID(std::to_string(m_context.bookID), *userID);
    picker->setClassesWithClassesInfoArray(classes);

    m_reader.moveTopAndBottomOffScreen();
    m_activePageBeforeStudentReviewMode = m_context.renderer ? m_context.renderer->getActivePages() : std::vector<RendererPage> {};
    m_classPicker = picker;
    presentController(picker);
}

void ReaderTeacherReview::actionForTeacherReviewLearnerList(const std::string& classTitle, const base::Value& studentList)
{
    if (m_teacherAnnotationController) {
        // The previous class's panel goes; its late answers must not reach the reader.
        m_teacherAnnotationController->FetchEachLearnerData = nullptr;
        m_teacherAnnotationController->LearnerSelectionAction = nullptr;
        m_teacherAnnotationController->setDelegate({});
    }
    auto panel = TeacherReviewViewController::create();
    m_teacherAnnotationController = panel;
    panel->themeVo = m_context.theme;
    panel->setDelegate(teacherReviewDelegate());
    const auto* learners = studentList.asList();
    panel->setDataWithClassName(classTitle, learners ? *learners : base::Value::List {});

    std::weak_ptr<int> alive = m_alive;
    std::weak_ptr<TeacherReviewViewController> weakPanel = panel;
    panel->RemoveAnnotataionController = [this, alive] {
        if (!alive.expired())
            removeAnnotationController();
    };
    panel->DidTapOnChangeClassButton = [this, alive] {
        if (!alive.expired())
            actionForTeacherReview();
    };
    // Called on a background queue: nothing of the reader is touched before the hop.
    panel->FetchEachLearnerData = [this, alive, weakPanel](const std::string& name, const std::string& learnerID) {
        base::RunLoop::main().post(alive, [this, weakPanel, name, learnerID] {
            actionForTeacherReviewForLearner(name, learnerID, weakPanel, false);
        });
    };
    panel->LearnerSelectionAction = [this, alive](const base::Value& pages, const std::string& learnerID) {
        if (alive.expired())
            return;
        m_context.activeMode = ReaderActiveModeTeacherReview;
        setSelectedLearnerData(pages, learnerID);
        updateNextPrevStudentButtonStatus();
    };
    presentController(panel);
}

void ReaderTeacherReview::presentController(const std::shared_ptr<ui::ViewController>& controller)
{
    auto presenter = m_reader.presentingController();
    if (!presenter)
        return;
    auto navigation = ui::NavigationController::create(controller);
    navigation->setModalPresentationStyle(ui::ModalPresentationStyle::OverCurrentContext);
    navigation->setNavigationBarHidden(true);
    if (ui::Environment::current().isPad()) {
        if (auto* popover = navigation->popoverPresentationController()) {
            popover->setPermittedArrowDirections(ui::PopoverArrowDirection::None);
            popover->setSourceView(presenter->view());
        }
    }
    presenter->presentViewController(navigation, true, [] { });
    // Lay the presented screen out now, so its table shows (and claims) its rows at once.
    if (auto view = navigation->viewIfLoaded()) {
        view->setNeedsLayout();
        view->layoutIfNeeded();
    }
}

void ReaderTeacherReview::removeAnnotationController()
{
    m_context.activeMode = m_context.penToolActionBarView ? ReaderActiveModeTeacherReview : ReaderActiveModeNone;
}

// MARK: - Learners

void ReaderTeacherReview::didSelectLearner(const std::string& learnerName, const std::string& learnerID)
{
    std::weak_ptr<TeacherReviewViewController> panel = m_teacherAnnotationController;
    base::RunLoop::main().post(std::weak_ptr<int>(m_alive), [this, panel, learnerName, learnerID] {
        actionForTeacherReviewForLearner(learnerName, learnerID, panel, false);
    });
}

void ReaderTeacherReview::actionForTeacherReviewForLearner(const std::string& learnerName, const std::string& learnerID,
    std::weak_ptr<TeacherReviewViewController> panel, bool isRepeat)
{
    auto service = companionFramework()->makeServiceInterface(m_context.baseURL, m_context.clientID);
    if (!service) {
        if (auto shown = panel.lock())
            shown->serviceFailedWithLearnerID(learnerID);
        return;
    }
    std::weak_ptr<int> alive = m_alive;
    auto succeeded = [service, panel, learnerID](const base::Value& response) {
        base::globalQueue().async([panel, learnerID, response] {
            base::Value::Dictionary result;
            result.set(learnerID, response);
            if (auto shown = panel.lock())
                shown->setSubmittedStudentUGCArray(base::Value(std::move(result)));
        });
    };
    auto failed = [this, alive, service, panel, learnerName, learnerID, isRepeat](const base::Error& error) {
        if (!isExpiredSessionError(error)) {
            if (auto shown = panel.lock())
                shown->serviceFailedWithLearnerID(learnerID);
            return;
        }
        std::string expiredToken = error.userInfo["expiredToken"].asString().value_or(std::string());
        base::RunLoop::main().post(alive, [this, alive, panel, learnerName, learnerID, isRepeat, expiredToken] {
            // One renewal and one repeat: a renewed token that is refused again ends the
            // session instead of asking the host again.
            const bool autoLogin = m_context.settings && m_context.settings->isAutoLoginEnabled();
            if (isRepeat || !autoLogin) {
                m_reader.showSessionExpiredAlert();
                return;
            }
            bool asked = m_reader.refreshUserTokenForExpiredToken(expiredToken,
                [this, alive, panel, learnerName, learnerID](bool renewed) {
                    if (alive.expired())
                        return;
                    if (renewed)
                        actionForTeacherReviewForLearner(learnerName, learnerID, panel, true);
                    else if (auto shown = panel.lock())
                        shown->serviceFailedWithLearnerID(learnerID);
                });
            // Nobody can renew the token: the session is over, never a silent stall.
            if (!asked)
                m_reader.showSessionExpiredAlert();
        });
    };
    const std::string token = m_context.user ? m_context.user->userToken : std::string();
    auto request = service->fetchStudentAnnotations(
        token, std::to_string(m_context.bookID), learnerID, m_context.bookVersion, succeeded, failed);
    if (request)
        request->start();
}

void ReaderTeacherReview::setSelectedLearnerData(const base::Value& pages, const std::string& learnerID)
{
    if (m_teacherAnnotationController && m_teacherAnnotationController->presentingViewController())
        m_teacherAnnotationController->dismissViewControllerAnimated(true);
    actionForSelectedLearnerData(pages, learnerID);
}

// MARK: - Exit

void ReaderTeacherReview::removeTeacherAnnotation()
{
    m_context.activeMode = ReaderActiveModeNone;
    if (m_teacherAnnotationController && m_teacherAnnotationController->presentingViewController())
        m_teacherAnnotationController->dismissViewControllerAnimated(true);
    const bool pad = ui::Environment::current().isPad();
    if (m_topConstOfTeacherReview)
        m_topConstOfTeacherReview->setConstant(-reviewBarHeight());
    if (!pad && m_bottomConstOfTeacherReview)
        m_bottomConstOfTeacherReview->setConstant(reviewBarHeight());
    std::weak_ptr<int> alive = m_alive;
    ui::View::animate(reviewBarSlideOutDuration, [this, alive] {
        if (alive.expired())
            return;
        if (auto view = readerView())
            view->layoutIfNeeded();
        for (auto* bar : { &m_context.penToolActionBarView, &m_context.penToolActionBottomBarView }) {
            if (*bar)
                (*bar)->removeFromSuperview();
            bar->reset();
        }
    });
    m_reader.resetAllPlayerActionBar();
}

std::shared_ptr<TeacherAnnotationViewController> ReaderTeacherReview::getTeacherAnnocationViewController() const
{
    return TeacherAnnotationViewController::create();
}

void ReaderTeacherReview::loadPagesBeforeTeacherReview()
{
    if (m_activePageBeforeStudentReviewMode.empty())
        return;
    const RendererPage first = m_activePageBeforeStudentReviewMode.front();
    const bool pageBook = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook) != nullptr;
    auto renderer = m_context.renderer;
    ui::View::animate(reviewBarSlideOutDuration, [renderer, first, pageBook] {
        if (renderer)
            renderer->navigateToPageNumber(std::to_string(pageBook ? first.pageID : first.fileIndex));
    });
}

} // namespace lectoro
