#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"

#include "platform/base/Strings.h"
#include "platform/ui/View.h"

#include <mutex>

namespace lectoro {

namespace {

struct AccessibilityState {
    std::mutex mutex;
    BundleRef bundle;
    std::string language;
};

AccessibilityState& state()
{
    static AccessibilityState* instance = new AccessibilityState;
    return *instance;
}

} // namespace

BundleRef AccessibilityHelper::readerAccessibilityBundle()
{
    std::lock_guard lock(state().mutex);
    return state().bundle;
}

void AccessibilityHelper::setReaderAccessibilityBundle(BundleRef bundle)
{
    std::lock_guard lock(state().mutex);
    state().bundle = std::move(bundle);
}

std::string AccessibilityHelper::language()
{
    std::lock_guard lock(state().mutex);
    return state().language;
}

void AccessibilityHelper::setLanguage(std::string language)
{
    std::lock_guard lock(state().mutex);
    state().language = std::move(language);
}

std::string AccessibilityHelper::accessibilityLabelForElementID(const std::string& elementID, const std::string& file, const std::string& argument)
{
    BundleRef bundle = readerAccessibilityBundle();
    if (!bundle)
        bundle = libraryBundleRef();
    std::string table = file.empty() ? std::string(base::Bundle::defaultTable) : file;

    std::string entry;
    std::string code = language();
    if (!code.empty() && code != bundle->language()) {
        // Another language than the bundle's own: read a second view of the same folder.
        base::Bundle inLanguage(bundle->rootPath());
        inLanguage.setLanguage(code);
        entry = inLanguage.localizedString(elementID, {}, table);
    } else {
        entry = bundle->localizedString(elementID, {}, table);
    }

    if (entry.find("%@") != std::string::npos)
        return base::replaceAll(entry, "%@", argument);
    if (argument.empty())
        return entry;
    return entry + " " + argument;
}

void AccessibilityHelper::setAccessibilityForElementID(ui::View& view, const std::string& elementID, const std::string& file, const std::string& argument)
{
    view.setAccessibilityIdentifier(elementID);
    view.setAccessibilityLabel(accessibilityLabelForElementID(elementID, file, argument));
}

} // namespace lectoro
