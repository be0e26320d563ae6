#include "MyDataDemo.h"

#include "DemoLaunch.h"
#include "HostListener.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/mydata/LXMyDataViewController.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <sstream>

namespace host {

namespace {

constexpr double myDataSettleTime = 1;

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

} // namespace

int runMyDataDemo(std::ostream& out, const std::string& bookPath)
{
    std::ostringstream callbacks;
    auto listener = std::make_shared<HostListener>(callbacks);
    auto launcher = launchDemoBook(bookPath, listener);
    auto reader = launcher->reader();
    auto& loop = base::RunLoop::main();
    auto book = reader ? std::dynamic_pointer_cast<lectoro::PXBookVO>(reader->currentBook()) : nullptr;
    if (!book || book->pageList.size() < 2 || !reader->context().dbManager) {
        out << "Could not open a page book\n";
        if (launcher)
            launcher->uninitializeReader();
        return 1;
    }
    loop.runUntil([&] { return !reader->rendererView()->getActivePages().empty(); }, demoLoadTimeout);
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
    loop.runFor(myDataSettleTime);
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
    panel->segmentbuttonAction(*panel->notesButton());
    loop.runFor(myDataSettleTime);
    out << "Notes:\n";
    printMyDataRows(out, *panel);
    panel->segmentbuttonAction(*panel->highlightButton());
    loop.runFor(myDataSettleTime);

    int status = 3;
    auto& table = *panel->tableView();
    int last = table.numberOfRowsInSection(0) - 1;
    if (last >= 0 && table.simulateTapOnRow({ 0, last })) {
        loop.runFor(myDataSettleTime);
        bool closed = !reader->presentedViewController();
        std::string now = myDataDemoPage(*reader);
        out << "Tapped the last highlight. Panel closed: " << (closed ? "yes" : "no") << "; now at " << now
            << '\n';
        if (closed && now == "folio " + book->pageList[1]->displayNum)
            status = 0;
    }
    reader->didTapOnBackButton();
    loop.runFor(myDataSettleTime);
    launcher->uninitializeReader();
    return status;
}

} // namespace host
