#include "DemoLaunch.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "platform/base/RunLoop.h"

namespace host {

std::shared_ptr<lectoro::LectoroReaderViewController> launchDemoBook(
    const std::string& bookPath, const std::shared_ptr<lectoro::LectoroReaderViewControllerDelegate>& listener)
{
    auto launcher = lectoro::LectoroReaderViewController::create();
    launcher->setDelegate(listener);
    launcher->view();
    auto package = std::make_shared<lectoro::LectoroBookPackage>(bookPath, "1001", "978-0-00-000000-1");
    launcher->launchBook(package, demoUser(), demoServiceConfiguration(), std::make_shared<lectoro::MVReaderSettingModel>(), false);
    auto reader = launcher->reader();
    base::RunLoop::main().runUntil(
        [&] { return !reader || reader->currentBook() || reader->bookLoadingError(); }, demoLoadTimeout);
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

} // namespace host
