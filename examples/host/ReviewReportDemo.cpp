#include "ReviewReportDemo.h"

#include "DemoLaunch.h"
#include "DemoWait.h"

#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/Reachability.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "LectoroSDKWithReader/teacherreview/report/GenerateReportMailViewController.h"
#include "LectoroSDKWithReader/teacherreview/report/GenerateReportViewController.h"
#include "companion/service/InProcessService.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"

#include <string>

namespace host {

namespace {

// The demo's device is online: the in-process service is its network.
class ReviewReportOnline final : public lectoro::ReachabilitySource {
public:
    std::optional<uint32_t> flags() override { return lectoro::ReachabilityFlags::Reachable; }
    bool start(std::function<void()>) override { return true; }
    void stop() override { }
};

} // namespace

int runReviewReportSteps(
    lectoro::ReaderViewController& reader, companion::InProcessService& service, int64_t bookID, std::ostream& out)
{
    DemoChecks check(out);
    auto& network = lectoro::LectoroNetworkManager::getInstance();
    auto previousReachability = network.internetReachability();
    network.setInternetReachability(lectoro::Reachability::reachabilityWithSource(std::make_shared<ReviewReportOnline>()));
    auto& review = reader.teacherReview();
    auto finish = [&] {
        network.setInternetReachability(previousReachability);
        return check.failures();
    };

    // The report service knows chapters 2 and 3 of the sample book by their ids.
    service.setBookTOC(bookID, base::Value::List { 2, 3 });
    auto bar = reader.context().penToolActionBarView;
    if (!check(bar && bar->tapItemWithTag(lectoro::PlayerItemGenerateReport), "Report: the review bar's report item tapped"))
        return finish();
    (void)waitFor(out, "the report's choice screen", [&] {
        auto shown = review.generateReportVC();
        return shown && reader.presentedViewController() == shown && isPresentedAndShown(shown) && screenIsStill();
    });
    auto screen = review.generateReportVC();
    if (!check(screen != nullptr && reader.presentedViewController() == screen, "Report: the choice screen is up"))
        return finish();
    out << "  report chapters:";
    for (const auto& chapter : screen->chapters())
        out << " \"" << chapter["title"].description() << "\"";
    out << '\n';
    screen->tableView()->simulateTapOnRow({ 0, 1 });

    screen->segmentedControl()->simulateSelectSegment(lectoro::GenerateReportViewController::StudentSegment);
    for (const auto& record : screen->learners()) {
        auto learner = lectoro::readLearnerRecord(record);
        if (learner)
            out << "  report learner " << learner->fullName << ": "
                << (screen->hasSubmittedWork(learner->learnerID) ? "handed in work" : "nothing handed in") << '\n';
    }
    screen->tableView()->simulateTapOnRow({ 0, 0 });
    check(screen->nextButton()->simulateTap(), "Report: chose the chapter \""
            + (screen->chapters().size() > 1 ? screen->chapters()[1]["title"].description() : std::string("?"))
            + "\" and the first learner, then Next");
    (void)waitFor(out, "the report's mail screen", [&] {
        auto shown = review.mailVC();
        return shown && reader.presentedViewController() == shown && isPresentedAndShown(shown) && screenIsStill();
    });

    auto mail = review.mailVC();
    if (!check(mail != nullptr && reader.presentedViewController() == mail, "Report: the mail screen is up"))
        return finish();
    out << "  report mail to: " << mail->emailField()->text() << '\n';
    const size_t before = service.reportRequests().count();
    mail->doneButton()->simulateTap();
    (void)waitFor(out, "the service's answer to the report request", [&] {
        return isPresentedAndShown(std::dynamic_pointer_cast<ui::AlertController>(reader.presentedViewController()));
    });
    auto alert = std::dynamic_pointer_cast<ui::AlertController>(reader.presentedViewController());
    const size_t requested = service.reportRequests().count() - before;
    check(alert && requested == 1, "Report requested: " + (alert ? alert->message().value_or("") : std::string("no alert")));
    if (alert && alert->tapActionAtIndex(0))
        (void)waitFor(out, "the report's alert to go", [&] { return !alert->presentingViewController() && screenIsStill(); });
    return finish();
}

} // namespace host
