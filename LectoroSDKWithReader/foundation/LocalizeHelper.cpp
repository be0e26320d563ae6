#include "LectoroSDKWithReader/foundation/LocalizeHelper.h"

#include "platform/base/UserDefaults.h"

namespace lectoro {

LocalizeHelper& LocalizeHelper::shared()
{
    static LocalizeHelper* instance = new LocalizeHelper;
    return *instance;
}

LocalizeHelper::LocalizeHelper()
    : m_myBundle(mainBundleRef())
{
}

void LocalizeHelper::setLanguage(const std::string& code)
{
    auto& main = base::Bundle::main();
    if (!code.empty() && main.pathForResource(code, "lproj")) {
        // A view of the main bundle's folder in that language.
        auto bundle = std::make_shared<base::Bundle>(main.rootPath());
        bundle->setLanguage(code);
        m_myBundle = std::move(bundle);
    } else {
        m_myBundle = mainBundleRef();
    }
    base::UserDefaults::standard().setString(currentLanguageKey, code);
}

void LocalizeHelper::applyStoredLanguage()
{
    // A value that is not text (a host that wrote something else there) is ignored.
    auto stored = base::UserDefaults::standard().objectForKey(currentLanguageKey);
    if (!stored)
        return;
    if (auto code = stored->asString())
        setLanguage(*code);
}

std::string LocalizeHelper::localizedStringForKey(const std::string& key)
{
    applyStoredLanguage();
    return m_myBundle->localizedString(key, {}, base::Bundle::defaultTable);
}

std::string LocalizeHelper::localizedStringForKey(const std::string& key, const std::string& tableName, const BundleRef& bundle)
{
    applyStoredLanguage();
    const BundleRef& chosen = bundle ? bundle : m_myBundle;
    return chosen->localizedString(key, {}, tableName.empty() ? std::string(base::Bundle::defaultTable) : tableName);
}

} // namespace lectoro
