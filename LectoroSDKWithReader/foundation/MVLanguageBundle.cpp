#include "LectoroSDKWithReader/foundation/MVLanguageBundle.h"

#include "platform/base/Bundle.h"

#include <mutex>

namespace lectoro {

namespace {

struct LanguageState {
    std::mutex mutex;
    bool switched = false;
    std::string preferredLanguage;
    std::optional<std::string> attachedPath;
};

LanguageState& state()
{
    static LanguageState* instance = new LanguageState;
    return *instance;
}

} // namespace

void MVLanguageBundle::setApplicationLanguage(const std::string& code)
{
    auto& bundle = base::Bundle::library();
    auto& current = state();
    std::lock_guard lock(current.mutex);
    if (!current.switched) {
        current.preferredLanguage = bundle.language();
        current.switched = true;
    }
    std::optional<std::string> path;
    if (!code.empty())
        path = bundle.pathForResource(code, "lproj");
    current.attachedPath = path;
    bundle.setLanguage(path ? code : current.preferredLanguage);
}

std::optional<std::string> MVLanguageBundle::attachedLanguagePath()
{
    auto& current = state();
    std::lock_guard lock(current.mutex);
    return current.attachedPath;
}

std::string MVLanguageBundle::localizedStringForKey(const std::string& key, const std::string& value, const std::string& table)
{
    return base::Bundle::library().localizedString(key, value, table);
}

} // namespace lectoro
