#include "MyDataDemo.h"
#include "DemoRegistry.h"

#include "DemoLaunch.h"
#include "DemoWait.h"
#include "HostListener.h"

#include "LectoroSDKWithReader/annotations/notes/NoteRoad.h"
#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/foundation/Reachability.h"
#include "LectoroSDKWithReader/mydata/LXShareSettingsController.h"
#include "LectoroSDKWithReader/mydata/LXMyDataViewController.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "platform/base/Json.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <sstream>

namespace host {

namespace {

std::string myDataDemoPage(const lectoro::ReaderViewController& reader)
{
    auto renderer = reader.rendererView();
    auto pages = renderer ? renderer->getActivePages() : std::vector<lectoro::RendererPage> {};
    return pages.empty() ? std::string("(no page)") : "folio " + pages.front().displayNum;
}

void printMyDataRows(std::ostream& out, lectoro::LXMyDataViewController& panel)
{
    auto& table = *panel.tableView();
    panel.view()->layoutIfNeeded();
    table.layoutIfNeeded();
    for (int row = 0; row < table.numberOfRowsInSection(0); ++row) {
        auto cell = table.cellForRowAtIndexPath({ 0, row });
        if (auto highlight = std::dynamic_pointer_cast<lectoro::LXMyDataHighlightCell>(cell))
            out << "  " << highlight->chapterTitleLabel()->text() << " | " << highlight->dateLabel()->text()
                << " | " << highlight->noteTextLabel()->text() << '\n';
        else if (auto note = std::dynamic_pointer_cast<lectoro::LXMyDataNoteCell>(cell))
            out << "  " << note->chapterNameLabel()->text() << " | " << note->dateLabel()->text() << " | "
                << note->noteTextLabel()->text() << '\n';
    }
}

// The demo's device is always online: the in-process service is its network.
class MyDataDemoOnline final : public lectoro::ReachabilitySource {
public:
    std::optional<uint32_t> flags() override { return lectoro::ReachabilityFlags::Reachable; }
    bool start(std::function<void()>) override { return true; }
    void stop() override { }
};

// Opens the class share settings from My Data's side, ticks the first student's share
// box and saves; prints what reached the store.
bool runShareSettingsStep(std::ostream& out, lectoro::ReaderViewController& reader)
{
    // The demo user's class, as a sync would have stored it.
    auto& context = reader.context();
    auto store = std::dynamic_pointer_cast<companion::SqliteDatabaseManager>(context.dbManager);
    auto demoClass = lectoro::SDKBookClassInfoVO::fromDictionary(base::Value::Dictionary {
        { "classId", "demo-class" },
        { "classTitle", "Demo class" },
        { "shareHighlightConfiguration",
            base::Value::Dictionary {
                { "isSharingEnable", true }, { "isTeacherSharingEnable", true }, { "isStudentSharingEnable", true } } },
        { "teachers", base::Value::List { demoClassMember(9000000001, "Tess", "Teach") } },
        { "learners", base::Value::List { demoClassMember(6000000002, "Ben", "Ostrowe") } },
    });
    if (!store || !demoClass
        || !store->saveBookClassInfo(std::to_string(context.bookID), context.user->numericUserID(), { demoClass }).ok()) {
        out << "Could not store the demo class\n";
        return false;
    }
    reader.myData().didTapOnShareSettings();
    (void)waitFor(out, "the share settings", [&] { return isShown(reader.noteRoad().shareSettingsController()) && screenIsStill(); });
    auto dialog = reader.noteRoad().shareSettingsController();
    if (!dialog || !dialog->isViewLoaded()) {
        out << "Share settings did not open\n";
        return false;
    }
    auto& table = *dialog->shareUserListTable();
    table.layoutIfNeeded();
    std::shared_ptr<lectoro::LXShareSettingsCell> student;
    for (int section = 0; section < table.numberOfSections() && !student; ++section) {
        for (int row = 0; row < table.numberOfRowsInSection(section) && !student; ++row) {
            auto cell = std::dynamic_pointer_cast<lectoro::LXShareSettingsCell>(
                table.cellForRowAtIndexPath({ section, row }));
            if (cell && !cell->shareButton()->isHidden())
                student = cell;
        }
    }
    if (!student) {
        out << "Share settings list no student (" << dialog->classes().size() << " classes, " << table.numberOfSections() << " sections)\n";
        return false;
    }
    out << "Share settings: ticked " << student->shareUserNameLabel()->text() << '\n';
    student->shareButtonTapped();
    dialog->doneButtonTapped();
    auto storedClasses = [&] {
        return context.dbManager->bookClassInfoArrayForBookID(std::to_string(context.bookID), context.user->numericUserID());
    };
    auto saved = [&] {
        auto classes = storedClasses();
        const auto* shared = classes.empty() ? nullptr : classes[0]->shareList.asList();
        return shared && !shared->empty();
    };
    (void)waitFor(out, "the share lists in the store and the settings gone", [&] { return saved() && screenIsStill(); });
    auto classes = storedClasses();
    if (classes.empty())
        return false;
    out << "Share settings saved: share " << base::toJson(classes[0]->shareList) << ", receive "
        << base::toJson(classes[0]->receiveList) << '\n';
    return true;
}

} // namespace

int runMyDataDemo(std::ostream& out, const std::string& bookPath)
{
    std::ostringstream callbacks;
    auto listener = std::make_shared<HostListener>(callbacks);
    lectoro::Reachability::setSourceFactory([](lectoro::ReachabilitySource::Target, const std::string&) {
        return std::make_shared<MyDataDemoOnline>();
    });
    lectoro::LectoroNetworkManager::getInstance().setInternetReachability(
        lectoro::Reachability::reachabilityForInternetConnection());
    auto launcher = launchDemoBook(out, bookPath, listener);
    auto reader = launcher->reader();
    auto book = reader ? std::dynamic_pointer_cast<lectoro::PXBookVO>(reader->currentBook()) : nullptr;
    if (!book || book->pageList.size() < 2 || !reader->context().dbManager) {
        out << "Could not open a page book\n";
        if (launcher)
            launcher->uninitializeReader();
        return 1;
    }
    auto settings = reader->userSettingsModel();
    settings->setIsHighLightEnabled(true);
    settings->setIsStickyNotesEnabled(true);
    settings->setIsContextualNoteEnabled(true);

    auto& context = reader->context();
    std::string bookID = std::to_string(context.bookID);
    int64_t userID = context.user->numericUserID();
    struct Entry {
        const char* text;
        const char* note;
        const char* colour;
        size_t page;
    };
    const Entry entries[] = { { "drops of water", "", "#FFFF00", 0 }, { "the water cycle", "", "#00FF00", 1 },
        { "clouds form", "ask about rain", "#FFFF00", 1 } };
    int index = 0;
    for (const auto& entry : entries) {
        auto record = std::make_shared<lectoro::SDKHighlightVO>();
        const auto& page = *book->pageList[entry.page];
        record->localID = "demo-" + std::to_string(++index);
        record->text = entry.text;
        record->noteText = entry.note;
        record->backgroundColor = entry.colour;
        record->pageIdentifier = std::to_string(page.pageID);
        record->displayNum = page.displayNum;
        record->chapterName = book->title;
        record->createdDate = lectoro::currentUGCDateString();
        context.dbManager->saveHighlight(record, bookID, userID);
    }

    reader->didTapOnMyDataButton();
    (void)waitFor(out, "My Data", [&] {
        return reader->myData().myDataViewController() && isPresentedAndShown(reader->presentedViewController())
            && screenIsStill();
    });
    auto panel = reader->myData().myDataViewController();
    if (!panel) {
        out << "My Data did not open\n";
        launcher->uninitializeReader();
        return 3;
    }
    out << "My Data: " << panel->highlightCountLbl()->text() << " highlights, "
        << panel->noteCountLbl()->text() << " notes\n";
    out << "Highlights:\n";
    printMyDataRows(out, *panel);
    // A tab lists its rows once its reload has run.
    panel->segmentbuttonAction(*panel->notesButton());
    (void)waitFor(out, "the notes tab", screenIsStill);
    out << "Notes:\n";
    printMyDataRows(out, *panel);
    panel->segmentbuttonAction(*panel->highlightButton());
    (void)waitFor(out, "the highlights tab", screenIsStill);

    int status = 3;
    auto& table = *panel->tableView();
    int last = table.numberOfRowsInSection(0) - 1;
    if (last >= 0 && table.simulateTapOnRow({ 0, last })) {
        // The panel closes and the reader turns to the highlight's page.
        (void)waitFor(out, "My Data to close on the highlight's page", [&] {
            return !reader->presentedViewController() && demoPageSettled(*reader, book->pageList[1]->pageID);
        });
        bool closed = !reader->presentedViewController();
        std::string now = myDataDemoPage(*reader);
        out << "Tapped the last highlight. Panel closed: " << (closed ? "yes" : "no") << "; now at " << now
            << '\n';
        if (closed && now == "folio " + book->pageList[1]->displayNum)
            status = 0;
    }
    if (status == 0 && !runShareSettingsStep(out, *reader))
        status = 5;
    if (!closeReaderAndWait(*reader, *listener, out) && status == 0)
        status = 5;
    launcher->uninitializeReader();
    lectoro::LectoroNetworkManager::getInstance().setInternetReachability(nullptr);
    lectoro::Reachability::setSourceFactory(nullptr);
    return status;
}

namespace {

const bool myDataDemoRegistered = registerDemo({ "--demo-mydata", "",
    "[--book PATH]   (lists stored highlights and notes in My Data, opens one)", Demo::Setup::FrameworkNoHelp,
    [](const DemoRequest& request) { return runMyDataDemo(request.out, request.bookPath); } });

} // namespace

} // namespace host
