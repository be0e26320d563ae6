#include "DemoLaunch.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
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

std::shared_ptr<lectoro::LectoroReaderViewController> launchDemoBook(const std::string& bookPath,
    const std::shared_ptr<lectoro::LectoroReaderViewControllerDelegate>& listener, bool keepReadAloudOffer)
{
    auto launcher = lectoro::LectoroReaderViewController::create();
    launcher->setDelegate(listener);
    launcher->view();
    auto package = std::make_shared<lectoro::LectoroBookPackage>(
        bookPath, std::to_string(demoBookID), "978-0-00-000000-1");
    launcher->launchBook(
        package, demoUser(), demoServiceConfiguration(), std::make_shared<lectoro::MVReaderSettingModel>(), false);
    auto reader = launcher->reader();
    base::RunLoop::main().runUntil(
        [&] { return !reader || reader->currentBook() || reader->bookLoadingError(); }, demoLoadTimeout);
    if (reader && reader->currentBook() && !keepReadAloudOffer)
        closeOfferedReadAloudChooser(*reader);
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

bool closeOfferedReadAloudChooser(lectoro::ReaderViewController& reader)
{
    auto book = reader.currentBook();
    const auto* pageBook = dynamic_cast<const lectoro::PXBookVO*>(book.get());
    const auto* epub = dynamic_cast<const lectoro::EPUBBookVO*>(book.get());
    if (!(pageBook && pageBook->isReadAloudEnabled) && !(epub && epub->isAudioSyncSupported))
        return false;
    auto& readAloud = reader.readAloud();
    // Offered half a second after the book's help step (not while a help screen is up).
    constexpr double readAloudOfferWait = 1.5;
    base::RunLoop::main().runUntil([&] { return readAloud.readToMeViewController() != nullptr; }, readAloudOfferWait);
    auto chooser = readAloud.readToMeViewController();
    if (!chooser)
        return false;
    chooser->closeReadToMeViewButton()->sendActions(ui::ControlEvent::TouchUpInside);
    base::RunLoop::main().runUntilIdle();
    return true;
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
