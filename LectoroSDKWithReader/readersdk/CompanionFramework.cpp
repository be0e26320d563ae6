#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"

#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"

#include <cstdio>
#include <mutex>

namespace lectoro {

namespace {

class MissingCompanionFramework final : public CompanionFramework {
public:
    std::shared_ptr<YSDBManager> makeDatabaseManager() override { return missing<YSDBManager>("a database manager"); }
    std::shared_ptr<RendererViewController> makeRendererViewController(const std::string&,
        std::weak_ptr<RendererViewControllerDelegate>, const std::optional<std::string>&, const base::Value&) override
    {
        return missing<RendererViewController>("a renderer");
    }
    std::shared_ptr<LectoroDataSyncingManager> makeDataSyncingManager(const std::string&, const std::string&) override
    {
        return missing<LectoroDataSyncingManager>("a data-sync manager");
    }
    std::shared_ptr<LectoroServiceInterface> makeServiceInterface(const std::string&, const std::string&) override
    {
        return missing<LectoroServiceInterface>("a service interface");
    }
    std::shared_ptr<AnalyticsManager> makeAnalyticsManager() override
    {
        return missing<AnalyticsManager>("an analytics manager");
    }
    std::shared_ptr<ReadingTimeManager> makeReadingTimeManager(const std::string&) override
    {
        return missing<ReadingTimeManager>("a reading-time manager");
    }
    std::shared_ptr<TextSearchController> makeTextSearchController(std::shared_ptr<LectoroBookVO>, const std::string&,
        int) override
    {
        return missing<TextSearchController>("a text search controller");
    }

private:
    template<class T>
    static std::shared_ptr<T> missing(const char* what)
    {
        std::fprintf(stderr,
            "lectoro: no companion framework installed; cannot make %s (call lectoro::setCompanionFramework first)\n",
            what);
        return nullptr;
    }
};

std::mutex& frameworkMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<CompanionFramework>& installed()
{
    static std::shared_ptr<CompanionFramework> framework;
    return framework;
}

} // namespace

void setCompanionFramework(std::shared_ptr<CompanionFramework> framework)
{
    {
        std::lock_guard lock(frameworkMutex());
        installed() = std::move(framework);
    }
    AnalyticsManager::setInstance(nullptr);
}

bool isCompanionFrameworkInstalled()
{
    std::lock_guard lock(frameworkMutex());
    return installed() != nullptr;
}

std::shared_ptr<CompanionFramework> companionFramework()
{
    std::lock_guard lock(frameworkMutex());
    if (installed())
        return installed();
    static const auto missing = std::make_shared<MissingCompanionFramework>();
    return missing;
}

} // namespace lectoro
