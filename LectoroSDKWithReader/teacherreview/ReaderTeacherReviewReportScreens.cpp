// The markup report's two screens over the reader: the choice of chapters and learners,
// then the address the report is mailed to. The feature answers both screens through one
// small object the screens hold weakly, so a screen left on screen after the reader has
// gone calls nobody.

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewReader.h"
#include "LectoroSDKWithReader/teacherreview/report/GenerateReportMailViewController.h"
#include "LectoroSDKWithReader/teacherreview/report/GenerateReportViewController.h"
#include "platform/ui/Presentation.h"

#include <utility>

namespace lectoro {

class TeacherReportScreens final : public GenerateReportViewControllerDelegate,
                                   public GenerateReportMailViewControllerDelegate,
                                   public ui::PopoverPresentationControllerDelegate {
public:
    explicit TeacherReportScreens(ReaderTeacherReview& review)
        : m_review(review)
    {
    }

    void didTapOnCancelForGenerateReport() override { m_review.didTapOnCancelForGenerateReport(); }
    void didTapOnBackForGenerateReport() override { m_review.didTapOnBackForGenerateReport(); }
    void didTapOnNextToSendMailWithReportData(const base::Value& reportData) override
    {
        m_review.didTapOnNextToSendMailWithReportData(reportData);
    }
    void didSelectChapterSegmentForGenerateReport() override { m_review.didSelectChapterSegmentForGenerateReport(); }
    void didSelectStudentSegmentForGenerateReport() override { m_review.didSelectStudentSegmentForGenerateReport(); }
    void didTapOnDoneForGenerateReportMail(const std::string& emailID) override
    {
        m_review.didTapOnDoneForGenerateReportMail(emailID);
    }
    void didTapOnCancelForGenerateReportMail() override { m_review.didTapOnCancelForGenerateReportMail(); }

    // A tap outside the tablet pop-over closes it: the feature forgets the screen too.
    void popoverPresentationControllerDidDismissPopover(ui::PopoverPresentationController& popover) override
    {
        if (popover.presentedViewController() == m_review.generateReportVC())
            m_review.removeGenerateReportVC();
    }

private:
    ReaderTeacherReview& m_review;
};

namespace {

constexpr double reportPopoverWidth = 550;
constexpr double reportPopoverHeight = 650;

void dismissReportScreenAtOnce(const std::shared_ptr<ui::ViewController>& screen)
{
    if (screen && screen->presentingViewController())
        screen->dismissViewControllerAnimated(false);
}

} // namespace

void ReaderTeacherReview::addGenerateReportViewController(const base::Value& contents)
{
    auto reader = m_reader.presentingController();
    if (!reader)
        return;
    if (!m_reportScreens)
        m_reportScreens = std::make_shared<TeacherReportScreens>(*this);
    // A screen still up from an earlier request gives way to the new one.
    removeGenerateReportVC();
    auto screen = GenerateReportViewController::create(
        m_context.theme ? m_context.theme->top_toolbar_icons_color() : std::nullopt);
    m_generateReportVC = screen;
    screen->setDelegate(m_reportScreens);
    screen->loadViewIfNeeded();
    screen->setData(contents);
    if (isIpad()) {
        screen->setModalPresentationStyle(ui::ModalPresentationStyle::Popover);
        screen->setPreferredContentSize({ reportPopoverWidth, reportPopoverHeight });
        if (auto* popover = screen->popoverPresentationController()) {
            popover->setPermittedArrowDirections(ui::PopoverArrowDirection::None);
            popover->setDelegate(m_reportScreens);
            auto readerView = reader->view();
            popover->setSourceView(readerView);
            const auto bounds = readerView->bounds();
            popover->setSourceRect({ bounds.midX(), bounds.midY(), 0, 0 });
        }
    } else {
        screen->setModalPresentationStyle(ui::ModalPresentationStyle::OverCurrentContext);
    }
    reader->presentViewController(screen, true);
    // The reader may be showing something else by the time the contents come (the learner
    // list, reopened meanwhile): a screen that could not be shown is not kept.
    if (!screen->presentingViewController())
        m_generateReportVC.reset();
}

void ReaderTeacherReview::removeGenerateReportVC()
{
    dismissReportScreenAtOnce(std::exchange(m_generateReportVC, nullptr));
}

void ReaderTeacherReview::didTapOnCancelForGenerateReport()
{
    removeGenerateReportVC();
}

void ReaderTeacherReview::didTapOnBackForGenerateReport()
{
    removeGenerateReportVC();
}

void ReaderTeacherReview::didSelectStudentSegmentForGenerateReport()
{
    if (!m_generateReportVC)
        return;
    auto learners = generateReportLearners();
    auto status = getStatusDictionaryForStudents(learners);
    m_generateReportVC->setData(base::Value(std::move(learners)));
    m_generateReportVC->setStatusData(status);
}

void ReaderTeacherReview::didTapOnNextToSendMailWithReportData(const base::Value& reportData)
{
    m_generateReportData = reportData;
    removeGenerateReportVC();
    if (!LectoroNetworkManager::getInstance().isInternetAvailable()) {
        showAlert("FAILED_ALERT_TITLE", "INTERNET_UNAVAILABLE_MESSAGE");
        return;
    }
    auto reader = m_reader.presentingController();
    if (!reader)
        return;
    if (!m_reportScreens)
        m_reportScreens = std::make_shared<TeacherReportScreens>(*this);
    dismissReportScreenAtOnce(std::exchange(m_mailVC, nullptr));
    auto mail = GenerateReportMailViewController::create(m_context.user ? m_context.user->email : std::string());
    m_mailVC = mail;
    mail->setDelegate(m_reportScreens);
    reader->presentViewController(mail, false);
    if (!mail->presentingViewController())
        m_mailVC.reset();
}

void ReaderTeacherReview::didTapOnDoneForGenerateReportMail(const std::string& emailID)
{
    dismissReportScreenAtOnce(std::exchange(m_mailVC, nullptr));
    // requestMarkupReport tells an offline teacher so itself.
    requestMarkupReport(m_generateReportData["chapterID"], emailID, m_generateReportData["studentID"]);
}

void ReaderTeacherReview::didTapOnCancelForGenerateReportMail()
{
    dismissReportScreenAtOnce(std::exchange(m_mailVC, nullptr));
}

} // namespace lectoro
