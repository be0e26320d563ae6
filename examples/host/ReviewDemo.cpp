#include "ReviewDemo.h"
#include "DemoRegistry.h"
#include "ReviewReportDemo.h"

#include "DemoLaunch.h"
#include "DemoWait.h"
#include "HostListener.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewControllerDelegate.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderActiveMode.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/ReaderVerticalBar.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManagerDelegate.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "platform/ui/Environment.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewClassListViewController.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewViewController.h"
#include "companion/Framework.h"
#include "companion/service/InProcessService.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/sync/DataSyncingManager.h"
#include "companion/sync/StoreSyncAdapter.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

#include <memory>
#include <optional>
#include <sstream>
#include <string>

namespace host {

namespace {

constexpr int64_t teacherID = 9000000001;
constexpr int64_t adaID = 9000000002;
constexpr int64_t benID = 9000000003;

class SubmitListener final : public lectoro::LectoroDataSyncingManagerDelegate {
public:
    std::optional<bool> outcome;
    void didUGCFetchCompletedSuccessfullyWithUserID(int64_t, int64_t) override { outcome = true; }
    void didUGCFetchFailedWithError(const base::Error&, int64_t, int64_t) override { outcome = false; }
    void didSubmitedAnotationSuccessfully() override { outcome = true; }
    void didFailedToSubmitAnotationWithError(const base::Error&) override { outcome = false; }
};

template <typename T> std::shared_ptr<T> presentedBy(lectoro::ReaderViewController& reader)
{
    auto navigation = std::dynamic_pointer_cast<ui::NavigationController>(reader.presentedViewController());
    return navigation ? std::dynamic_pointer_cast<T>(navigation->rootViewController()) : nullptr;
}

// Ada draws on page 106 of her own copy and submits it.
bool submitLearnerWork(std::ostream& out, const std::shared_ptr<companion::InProcessService>& service)
{
    auto opened = companion::SqliteDatabaseManager::openInMemory();
    if (!opened.ok())
        return false;
    auto store = opened.value();
    auto listener = std::make_shared<SubmitListener>();
    auto client = companion::DataSyncingManager::create(
        "https://service", "client", service, std::make_shared<companion::StoreSyncAdapter>(store));
    client->setDelegate(listener);
    auto answered = [&] {
        (void)waitFor(out, "the service's answer", [&] { return listener->outcome.has_value(); });
        bool ok = listener->outcome.value_or(false);
        listener->outcome.reset();
        return ok;
    };
    client->fetchUGCOperationForBookID(demoBookID, adaID, listener, "token-ada", "1.0");
    if (!answered())
        return false;
    auto drawing = std::make_shared<lectoro::SDKPentoolVO>();
    drawing->pageIdentifier = "106";
    drawing->displayNum = "4";
    drawing->penColor = "#82F675";
    drawing->points = { { 1, 2 }, { 3, 4 } };
    store->savePentoolDrawing(drawing, std::to_string(demoBookID), adaID);
    client->submitAnotationForBookID(demoBookID, adaID, listener, "token-ada");
    return answered();
}

// The review item of the reader's own bottom bar, or, when a full row keeps it behind
// "more", of the bar that item opens; says which bar held it.
bool tapReviewItem(lectoro::ReaderViewController& reader, std::ostream& out)
{
    auto bottom = reader.context().playerBottomActionBarView;
    if (!bottom)
        return false;
    if (auto item = bottom->itemWithTag(lectoro::PlayerItemTeacherReview)) {
        out << "  review item on the bottom bar\n";
        return bottom->tapItem(*item);
    }
    auto more = bottom->itemWithTag(lectoro::PlayerItemMore);
    if (!more || !bottom->tapItem(*more))
        return false;
    (void)waitFor(out, "the more bar", [&] { return reader.verticalBar().playerActionVerticalBar() && screenIsStill(); });
    auto vertical = reader.verticalBar().playerActionVerticalBar();
    auto item = vertical ? vertical->itemWithTag(lectoro::PlayerItemTeacherReview) : nullptr;
    out << "  tapped More on the bottom bar: the more bar " << (item ? "offers" : "lacks") << " teacher review\n";
    return item && vertical->tapItem(*item);
}

} // namespace

int runReviewDemo(std::ostream& out)
{
    auto framework = companion::makeFramework({});
    lectoro::setCompanionFramework(framework);
    auto& loop = base::RunLoop::main();
    loop.setRealTime(true);
    DemoChecks check(out);
    // The teacher reviews on a tablet: its review bar has room for the page label and the
    // page buttons beside the learner, the report and Done.
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    ui::Environment::current().setScreenSize({ 768, 1024 });

    auto service = framework->inProcessService();
    service->setClassInfo(demoBookID,
        base::Value::List { base::Value::Dictionary {
            { "classId", "class-1" },
            { "classTitle", "Biology" },
            { "teachers", base::Value::List { demoClassMember(teacherID, "Tess", "Teach") } },
            { "learners",
                base::Value::List {
                    demoClassMember(adaID, "Ada", "Fennick"), demoClassMember(benID, "Ben", "Ostrowe") } },
        } });
    check(submitLearnerWork(out, service), "Ada Fennick submitted her drawing on page 106");

    std::ostringstream callbacks;
    auto host = std::make_shared<HostListener>(callbacks);
    auto launcher = lectoro::LectoroReaderViewController::create();
    launcher->setDelegate(host);
    launcher->view();
    setDemoScreen(launcher);
    auto teacher = lectoro::LectoroUser::create();
    teacher->userID = std::to_string(teacherID);
    teacher->userToken = "token-teacher";
    teacher->role = "TEACHER";
    teacher->email = "tess@school.example";
    // A school's host hands its own switches (review is on in a fresh model) and says the
    // teacher has a class reading this book: that is what puts the review item on the bar.
    launcher->launchBook(std::make_shared<lectoro::LectoroBookPackage>(
                             std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook", std::to_string(demoBookID), "978-0"),
        teacher, std::make_shared<lectoro::LectoroServiceConfiguration>("https://service", "client", std::string("https://micro")),
        std::make_shared<lectoro::MVReaderSettingModel>(), true);
    auto reader = launcher->reader();
    if (!check(reader != nullptr, "The teacher opened the sample page book"))
        return 4;
    (void)waitFor(out, "the first page", [&] { return demoPageSettled(*reader); });
    closeOfferedReadAloudChooser(out, *reader);
    reader->rendererView()->navigateToPageNumber("106");
    (void)waitFor(out, "page 106", [&] { return demoPageSettled(*reader, 106); });
    auto shownBefore = reader->rendererView()->getActivePages();
    out << "Reading page " << (shownBefore.empty() ? std::string("?") : shownBefore.front().displayNum) << '\n';

    if (!check(tapReviewItem(*reader, out), "Tapped the review item of the reader's bar"))
        return 4;
    // The class picker is presented once the teacher's classes are known.
    (void)waitFor(out, "the class picker", [&] {
        auto shown = presentedBy<lectoro::TeacherReviewClassListViewController>(*reader);
        return shown && shown->classesInfoArray() && isPresentedAndShown(reader->presentedViewController())
            && screenIsStill();
    });
    auto picker = presentedBy<lectoro::TeacherReviewClassListViewController>(*reader);
    if (!check(picker && picker->classesInfoArray() && picker->classesInfoArray()->size() == 1,
            "Teacher review opened the class picker with 1 class"))
        return 4;
    out << "  class: " << picker->classesInfoArray()->front() << '\n';

    picker->classListTableView()->simulateTapOnRow({ 0, 0 });
    (void)waitFor(out, "the learner panel", [&] {
        return presentedBy<lectoro::TeacherReviewViewController>(*reader) && isPresentedAndShown(reader->presentedViewController())
            && screenIsStill();
    });
    auto panel = presentedBy<lectoro::TeacherReviewViewController>(*reader);
    if (!check(panel != nullptr, "Choosing Biology opened the learner panel"))
        return 4;
    (void)waitFor(out, "every learner's work", [&] { return !panel->scheduledTimer(); });
    check(!panel->scheduledTimer(), "Every learner's work was fetched, one learner at a time");
    for (const auto& record : panel->studentListArray().value_or(base::Value::List {})) {
        auto learner = lectoro::readLearnerRecord(record);
        if (!learner)
            continue;
        bool submitted = panel->studentDataDict().count(learner->learnerID) > 0;
        out << "  " << learner->fullName << ": " << (submitted ? "work submitted" : "Yet to submit") << '\n';
    }

    // The panel goes and the reader's bars give way to the review bars.
    panel->studentListTableView()->simulateTapOnRow({ 0, 0 });
    (void)waitFor(out, "review mode", [&] {
        return reader->activeMode() == lectoro::ReaderActiveModeTeacherReview && !reader->presentedViewController()
            && reader->context().penToolActionBarView && screenIsStill();
    });
    auto& review = reader->teacherReview();
    check(reader->activeMode() == lectoro::ReaderActiveModeTeacherReview && !reader->presentedViewController(),
        "Opening Ada Fennick put the reader into review mode");
    out << "  pages with work: " << review.selectedLearnerData().count() << ", review bars "
        << (reader->context().penToolActionBarView ? "up" : "missing") << '\n';

    if (auto panelStore = review.teacherAnnotationController(); panelStore && panelStore->studentPageUGCDictionary) {
        for (const auto& [page, records] : *panelStore->studentPageUGCDictionary)
            out << "  page " << page << ": " << records.size() << " record(s) of Ada's work\n";
    }

    review.updateTeacherReviewUI();
    auto pageLabel = review.getTeacherViewPlayerActionBarItemLabelWithTag(lectoro::PlayerItemPageNumber);
    out << "  review bar page label: " << (pageLabel ? pageLabel->text() : std::string("missing")) << '\n';

    // The class's markup report, while Ada's work is still handed in.
    int reportFailures = runReviewReportSteps(*reader, *service, demoBookID, out);

    // The teacher clears every page and saves with Done.
    reader->rendererView()->navigateToPageNumber("1");
    (void)waitFor(out, "the page", screenIsStill);
    review.didChooseClearAllForTeacherReview(lectoro::ReaderTeacherReview::ClearAllChoice::AllPages);
    const size_t toSave = panel->getAnotationToSave().size();
    out << "  cleared all pages: " << toSave << " record(s) to save\n";
    review.didSelectDoneForTeacherReview();
    (void)waitFor(out, "the service's answer to the saved review", [&] {
        return isPresentedAndShown(std::dynamic_pointer_cast<ui::AlertController>(reader->presentedViewController()));
    });
    auto alert = std::dynamic_pointer_cast<ui::AlertController>(reader->presentedViewController());
    check(alert && alert->message() == lectoro::teacherReviewLocalizedString("DATA_SUBMITTED_SUCCESSFULLY"),
        "Done saved the review: " + (alert ? alert->message().value_or("") : std::string("no alert")));
    const size_t left = service->submittedWorkFor(adaID, demoBookID).count();
    check(toSave > 0 && left == 0, "The service dropped the drawing the teacher erased; records left: " + std::to_string(left));
    if (alert)
        alert->tapActionWithTitle("Ok");
    // The alert goes, review mode ends and the reader returns to the page it was on.
    (void)waitFor(out, "the reader back from review", [&] {
        auto shown = reader->rendererView()->getActivePages();
        return reader->activeMode() == lectoro::ReaderActiveModeNone && !reader->presentedViewController() && !shown.empty()
            && !shownBefore.empty() && shown.front().pageID == shownBefore.front().pageID && demoPageSettled(*reader);
    });
    auto pages = reader->rendererView()->getActivePages();
    const bool back = !pages.empty() && !shownBefore.empty() && pages.front().pageID == shownBefore.front().pageID;
    check(reader->activeMode() == lectoro::ReaderActiveModeNone && back,
        "Leaving review returned to page " + (pages.empty() ? std::string("?") : pages.front().displayNum));

    check(closeReaderAndWait(*reader, *host, out), "The teacher closed the book");
    launcher.reset();
    finishBackgroundWork();
    lectoro::setCompanionFramework(nullptr);
    bool failed = check.failures() + reportFailures > 0;
    out << (failed ? "Teacher review demo: failed\n" : "Teacher review demo: done\n");
    return failed ? 4 : 0;
}

namespace {

const bool reviewDemoRegistered = registerDemo({ "--demo-review", "",
    "  (a teacher reviews a learner's submitted work)", Demo::Setup::Own,
    [](const DemoRequest& request) { return runReviewDemo(request.out); } });

} // namespace

} // namespace host
