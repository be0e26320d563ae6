#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"

#include <mutex>

namespace lectoro {

namespace {

std::mutex& bundleMutex()
{
    static std::mutex mutex;
    return mutex;
}

BundleRef& storedReaderLanguageBundle()
{
    static BundleRef bundle;
    return bundle;
}

} // namespace

BundleRef LocalizationHelper::readerLanguageBundle()
{
    std::lock_guard lock(bundleMutex());
    return storedReaderLanguageBundle();
}

void LocalizationHelper::setReaderLanguageBundle(BundleRef bundle)
{
    std::lock_guard lock(bundleMutex());
    storedReaderLanguageBundle() = std::move(bundle);
}

BundleRef LocalizationHelper::currentBundle()
{
    if (auto bundle = readerLanguageBundle())
        return bundle;
    return libraryBundleRef();
}

std::string LocalizationHelper::localizedStringWithKey(const std::string& key)
{
    return currentBundle()->localizedString(key, {}, base::Bundle::defaultTable);
}

std::string LocalizationHelper::localizedStringWithKey(const std::string& key, const std::string& tableName, const BundleRef& bundle)
{
    const BundleRef& chosen = bundle ? bundle : currentBundle();
    return chosen->localizedString(key, {}, tableName.empty() ? std::string(base::Bundle::defaultTable) : tableName);
}

} // namespace lectoro
