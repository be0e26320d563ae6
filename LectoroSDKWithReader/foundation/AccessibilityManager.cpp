#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"

#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"

namespace lectoro {

AccessibilityManager& AccessibilityManager::sharedObject()
{
    static AccessibilityManager* instance = new AccessibilityManager;
    return *instance;
}

void AccessibilityManager::setAccessibilityBundle()
{
    if (!AccessibilityHelper::readerAccessibilityBundle())
        AccessibilityHelper::setReaderAccessibilityBundle(libraryBundleRef());
}

void AccessibilityManager::setAccessibilityLanguage(const std::string& language)
{
    AccessibilityHelper::setLanguage(language);
}

void addReaderAccessibilityOn(ui::View& view, const std::string& elementID, const std::string& argument)
{
    AccessibilityHelper::setAccessibilityForElementID(view, elementID, readerAccessibilityTable, argument);
}

} // namespace lectoro
