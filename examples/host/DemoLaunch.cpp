#include "DemoLaunch.h"

#include "DemoWait.h"

#include "LectoroSDKWithReader/annotations/bookmarks/BookmarkRoad.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderChrome.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Value.h"
#include "platform/ui/Button.h"

#include <ostream>

namespace host {

std::shared_ptr<lectoro::LectoroReaderViewController> launchDemoBook(std::ostream& out, const std::string& bookPath,
    const std::shared_ptr<lectoro::LectoroReaderViewControllerDelegate>& listener, bool keepReadAloudOffer)
{
    auto launcher = lectoro::LectoroReaderViewController::create();
    launcher->setDelegate(listener);
    launcher->view();
    setDemoScreen(launcher);
    auto package = std::make_shared<lectoro::LectoroBookPackage>(
        bookPath, std::to_string(demoBookID), "978-0-00-000000-1");
    launcher->launchBook(
        package, demoUser(), demoServiceConfiguration(), std::make_shared<lectoro::MVReaderSettingModel>(), false);
    auto reader = launcher->reader();
    if (!reader
        || !waitFor(out, "the book to load", [&] { return reader->currentBook() || reader->bookLoadingError(); })
        || !reader->currentBook())
        return launcher;
    if (!waitFor(out, "the first page", [&] { return demoPageSettled(*reader); }))
        return launcher;
    if (!keepReadAloudOffer)
        closeOfferedReadAloudChooser(out, *reader);
    return launcher;
}

std::shared_ptr<lectoro::LectoroUser> demoUser()
{
    auto user = lectoro::LectoroUser::create();
    user->userID = "reader@example.org";
    user->userToken = "host-token";
    return user;
}

std::shared_ptr<lectoro::LectoroServiceConfiguration> demoServiceConfiguration()
{
    return std::make_shared<lectoro::LectoroServiceConfiguration>(
        "https://service.example.org", "lectoro-host", std::string("https://micro.example.org"));
}

base::Value demoClassMember(int64_t id, const char* first, const char* last)
{
    return base::Value::Dictionary { { "user",
        base::Value::Dictionary { { "id", id }, { "firstName", first }, { "lastName", last } } } };
}

bool closeOfferedReadAloudChooser(std::ostream& out, lectoro::ReaderViewController& reader)
{
    auto book = reader.currentBook();
    const auto* pageBook = dynamic_cast<const lectoro::PXBookVO*>(book.get());
    const auto* epub = dynamic_cast<const lectoro::EPUBBookVO*>(book.get());
    if (!(pageBook && pageBook->isReadAloudEnabled) && !(epub && epub->isAudioSyncSupported))
        return false;
    auto& readAloud = reader.readAloud();
    // Offered once, half a second after the book's help step, which ran when the book loaded;
    // a help screen that is up holds the offer back until it is closed.
    if (!readAloud.readToMeViewController()) {
        bool due = readAloud.offersChooserOnOpening() && !reader.context().readAloudPopupShown
            && !reader.chrome().isHelpScreenShown();
        if (!due
            || !waitFor(out, "the read-aloud chooser offered on opening",
                [&] { return readAloud.readToMeViewController() != nullptr; }))
            return false;
    }
    auto chooser = readAloud.readToMeViewController();
    chooser->closeReadToMeViewButton()->sendActions(ui::ControlEvent::TouchUpInside);
    base::RunLoop::main().runUntilIdle();
    return true;
}

namespace {

std::optional<lectoro::RendererPage> firstPageShown(lectoro::ReaderViewController& reader, std::optional<int64_t> page)
{
    auto renderer = reader.rendererView();
    auto pages = renderer ? renderer->getActivePages() : std::vector<lectoro::RendererPage> {};
    if (pages.empty() || (page && pages.front().pageID != *page && pages.front().fileIndex != *page))
        return std::nullopt;
    return pages.front();
}

} // namespace

bool demoPageShown(lectoro::ReaderViewController& reader, std::optional<int64_t> page)
{
    return firstPageShown(reader, page) && presentationsSettled();
}

bool demoPageSettled(lectoro::ReaderViewController& reader, std::optional<int64_t> page)
{
    auto first = firstPageShown(reader, page);
    if (!first)
        return false;
    if (auto settings = reader.userSettingsModel(); settings && settings->isBookmarkEnabled()) {
        auto& bookmarks = reader.bookmarkRoad();
        if (!bookmarks.bookMarkViewForPage(first->pageID) && !bookmarks.bookMarkViewForPage(first->fileIndex))
            return false;
    }
    return screenIsStill();
}

std::string demoReaderPlace(const lectoro::ReaderViewController& reader, bool withFolio)
{
    auto renderer = reader.rendererView();
    auto pages = renderer ? renderer->getActivePages() : std::vector<lectoro::RendererPage> {};
    if (pages.empty())
        return "(no page)";
    const auto& page = pages.front();
    if (!page.href.empty())
        return page.href;
    std::string place = "page " + std::to_string(page.pageID);
    return withFolio ? place + " (folio " + page.displayNum + ")" : place;
}

bool DemoChecks::operator()(bool ok, const std::string& what)
{
    m_out << (ok ? "" : "FAILED: ") << what << '\n';
    if (!ok)
        ++m_failures;
    return ok;
}

} // namespace host
