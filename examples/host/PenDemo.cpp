#include "PenDemo.h"
#include "DemoRegistry.h"

#include "DemoLaunch.h"
#include "DemoWait.h"
#include "HostListener.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/annotations/bookmarks/BookmarkRoad.h"
#include "LectoroSDKWithReader/annotations/pen/PenRoad.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PenToolController.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/TextField.h"

namespace host {

namespace {

int penDemoFail(std::ostream& out, const std::string& why)
{
    out << "Pen demo failed: " << why << '\n';
    return 4;
}

} // namespace

int runPenDemo(const std::string& bookPath, std::ostream& out)
{
    auto listener = std::make_shared<HostListener>(out);
    auto launcher = launchDemoBook(out, bookPath, listener);
    auto reader = launcher->reader();
    if (!reader || !reader->currentBook()) {
        out << "Pen demo: the book did not open\n";
        return 3;
    }
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    if (!renderer || renderer->getActivePages().empty())
        return penDemoFail(out, "no page on screen");
    const auto page = renderer->getActivePages().front();
    const std::string bookID = std::to_string(reader->bookID());
    const int64_t userID = reader->user()->numericUserID();

    // The reader's bars slide out, then the pen bar slides in.
    reader->annotations().actionForPentool();
    if (!waitFor(out, "the pen bar", [&] {
            return reader->penRoad().penToolController() && reader->context().penToolActionBarView && screenIsStill();
        }))
        return penDemoFail(out, "the pen did not open");
    auto controller = reader->penRoad().penToolController();
    out << "Pen open: colour " << controller->getPenColor() << ", thickness " << controller->getPenStrokeThickness() << '\n';

    auto canvas = std::dynamic_pointer_cast<lectoro::PenDrawingCanvas>(renderer->getPenDrawingCanvas());
    auto canvasPages = canvas ? canvas->canvasPages() : std::vector<lectoro::PenCanvasPage> {};
    if (canvasPages.empty())
        return penDemoFail(out, "no page on the drawing canvas");
    const auto frame = canvasPages.front().frame;
    controller->drawStroke({ { frame.midX() - 30, frame.midY() }, { frame.midX(), frame.midY() + 15 },
        { frame.midX() + 30, frame.midY() } });
    auto stored = reader->context().dbManager->pentoolDrawingForPageID(
        std::to_string(page.pageID), page.displayNum, bookID, userID);
    if (stored.size() != 1)
        return penDemoFail(out, "expected one stored drawing, found " + std::to_string(stored.size()));
    out << "Stored drawing: page " << stored[0]->pageIdentifier << " (" << stored[0]->displayNum << "), "
        << stored[0]->points.size() << " points, colour " << stored[0]->penColor << ", book version \""
        << stored[0]->bookVersion << "\"\n";
    auto remove = reader->penRoad().getPenToolItemWithTag(lectoro::PlayerItemPenDeleteSelection);
    out << "Delete item enabled: " << (remove && remove->alpha() == 1.0 ? "yes" : "no") << '\n';

    reader->annotations().actionForPentoolDeleteSelection();
    auto alert = std::dynamic_pointer_cast<ui::AlertController>(reader->presentedViewController());
    if (!alert || !alert->tapActionWithTitle("YES"))
        return penDemoFail(out, "the delete-all question did not come");
    // The answer is acted on once the question has gone.
    (void)waitFor(out, "the delete-all question to go", [&] { return !alert->presentingViewController() && screenIsStill(); });
    stored = reader->context().dbManager->pentoolDrawingForPageID(std::to_string(page.pageID), page.displayNum, bookID, userID);
    out << "After YES: " << stored.size() << " drawings stored\n";
    reader->annotations().actionForPentool();
    // The pen bar slides out, then the reader's bars slide back in and the pen bar goes.
    (void)waitFor(out, "the pen bar to go", [&] { return !reader->context().penToolActionBarView && screenIsStill(); });
    out << "Pen closed: " << (reader->context().penToolActionBarView ? "no" : "yes") << '\n';

    // The page's bookmark icon and its pop-up.
    reader->bookmarkRoad().addBookmarkOnPageNumber(std::to_string(page.pageID), page.displayNum);
    auto icon = reader->bookmarkRoad().bookMarkViewForPage(page.pageID);
    if (!icon)
        return penDemoFail(out, "no bookmark icon on the page");
    icon->tap();
    auto popup = reader->bookmarkRoad().bookMarkController();
    if (!popup)
        return penDemoFail(out, "the bookmark pop-up did not open");
    popup->textField()->setText("Demo mark");
    popup->completeBookmark();
    auto marks = reader->context().dbManager->bookMarkBookID(bookID, userID);
    if (marks.size() != 1)
        return penDemoFail(out, "expected one stored bookmark");
    out << "Stored bookmark: \"" << marks[0]->title << "\" on page " << marks[0]->pageIdentifier
        << ", icon selected: " << (icon->isSelected() ? "yes" : "no") << '\n';
    reader->bookmarkRoad().removeBookmarkVC();
    launcher->uninitializeReader();
    out << "Pen demo: done\n";
    return 0;
}

namespace {

const bool penDemoRegistered = registerDemo({ "--demo-pen", "",
    "[--book PATH]   (draws with the pen, deletes after YES, bookmarks the page)", Demo::Setup::FrameworkNoHelp,
    [](const DemoRequest& request) { return runPenDemo(request.bookPath, request.out); } });

} // namespace

} // namespace host
