#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"

#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"

#include <mutex>

namespace lectoro {

namespace {

std::mutex& instanceMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<AnalyticsManager>& instance()
{
    static std::shared_ptr<AnalyticsManager> manager;
    return manager;
}

} // namespace

std::shared_ptr<AnalyticsManager> AnalyticsManager::getInstance()
{
    {
        std::lock_guard lock(instanceMutex());
        if (instance())
            return instance();
    }
    if (!isCompanionFrameworkInstalled())
        return nullptr;
    auto made = companionFramework()->makeAnalyticsManager();
    std::lock_guard lock(instanceMutex());
    if (!instance())
        instance() = std::move(made);
    return instance();
}

void AnalyticsManager::setInstance(std::shared_ptr<AnalyticsManager> manager)
{
    std::lock_guard lock(instanceMutex());
    instance() = std::move(manager);
}

} // namespace lectoro
