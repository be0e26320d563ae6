#include "SharingDemo.h"
#include "DemoLaunch.h"
#include "DemoRegistry.h"
#include "DemoWait.h"

#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManagerDelegate.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "companion/service/InProcessService.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/sync/DataSyncingManager.h"
#include "companion/sync/StoreSyncAdapter.h"
#include "platform/base/RunLoop.h"

#include <memory>
#include <string>

namespace host {

namespace {

// Remembers whether the last answer has come and whether it was a success.
class Listener final : public lectoro::LectoroDataSyncingManagerDelegate {
public:
    std::optional<bool> outcome;

    void didUGCFetchCompletedSuccessfullyWithUserID(int64_t, int64_t) override { outcome = true; }
    void didUGCFetchFailedWithError(const base::Error&, int64_t, int64_t) override { outcome = false; }
    void didUGCSynchCompletedSuccessfully() override { outcome = true; }
    void didUGCSynchFailedWithError(const base::Error&, int64_t, int64_t) override { outcome = false; }
    void didAcceptOrRejectDataSuccessfully() override { outcome = true; }
    void didAcceptOrRejectDataFailedWithError(const base::Error&, const std::string&, bool) override { outcome = false; }
};

struct Learner {
    int64_t id;
    std::string name;
    std::string token;
    std::shared_ptr<companion::SqliteDatabaseManager> store;
    std::shared_ptr<companion::DataSyncingManager> client;
    std::shared_ptr<Listener> listener = std::make_shared<Listener>();

    // Waits for the answer of the request just sent.
    bool answered(std::ostream& out)
    {
        (void)waitFor(out, name + "'s answer from the service", [&] { return listener->outcome.has_value(); });
        bool ok = listener->outcome.value_or(false);
        listener->outcome.reset();
        return ok;
    }
    bool fetch(std::ostream& out)
    {
        client->fetchUGCOperationForBookID(demoBookID, id, listener, token, "1");
        return answered(out);
    }
    bool sync(std::ostream& out)
    {
        client->synchUGCForBookID(demoBookID, id, listener, token, "1");
        return answered(out);
    }
    std::shared_ptr<lectoro::SDKHighlightVO> firstNote()
    {
        auto notes = store->highlightBookID(std::to_string(demoBookID), id);
        return notes.empty() ? nullptr : notes.front();
    }
};

Learner makeLearner(const std::shared_ptr<companion::InProcessService>& service, int64_t id, std::string name)
{
    Learner learner { id, std::move(name), "demo-token-" + std::to_string(id), nullptr, nullptr };
    learner.store = companion::SqliteDatabaseManager::openInMemory().value();
    learner.client = companion::DataSyncingManager::create("in-process", "lectoro-host", service,
        std::make_shared<companion::StoreSyncAdapter>(learner.store));
    return learner;
}

} // namespace

int runSharingDemo(std::ostream& out)
{
    base::RunLoop::main().setRealTime(true);
    auto service = companion::InProcessService::create();
    service->setClassInfo(demoBookID,
        base::Value::List { base::Value::Dictionary { { "classId", "demo" }, { "classTitle", "Demo class" },
            { "learners",
                base::Value::List { demoClassMember(1, "Ada", "Fennick"), demoClassMember(2, "Ben", "Ostrowe") } } } });
    Learner ada = makeLearner(service, 1, "Ada");
    Learner ben = makeLearner(service, 2, "Ben");
    bool ok = ada.fetch(out) && ben.fetch(out);

    auto note = std::make_shared<lectoro::SDKHighlightVO>();
    note->pageIdentifier = "1";
    note->text = "the first page";
    note->noteText = "Read this one first";
    note->isShare = true;
    note->sharedUsers = base::Value::List { ben.id };
    ada.store->saveHighlight(note, std::to_string(demoBookID), ada.id);
    ok = ada.sync(out) && ok;
    out << "sharing: Ada shares \"" << note->noteText << "\" with Ben: " << (ok ? "uploaded" : "failed") << '\n';

    ok = ben.fetch(out) && ok;
    auto received = ben.firstNote();
    bool arrived = received && received->isReceived && !received->isAnswered;
    out << "sharing: Ben's fetch holds " << (arrived ? "a note from " + received->creatorName : std::string("nothing"))
        << '\n';
    if (!arrived)
        return 4;

    ben.client->setDelegate(ben.listener);
    ben.client->acceptOrRejectCollab(received->ugcID, true, ben.token);
    ok = ben.answered(out) && ok;
    ben.store->updateAnsweredUGC(received->ugcID, true, std::to_string(ben.id));
    ok = ada.fetch(out) && ok;
    auto own = ada.firstNote();
    bool accepted = own && own->acceptedUsers.count() == 1;
    out << "sharing: Ben accepts; Ada's note is accepted by " << (own ? own->acceptedUsers.count() : 0) << " user(s)\n";
    return ok && accepted ? 0 : 4;
}

namespace {

const bool sharingDemoRegistered = registerDemo({ "--demo-sharing", "",
    "  (two learners share a note through the in-process service)", Demo::Setup::Own,
    [](const DemoRequest& request) { return runSharingDemo(request.out); } });

} // namespace

} // namespace host
