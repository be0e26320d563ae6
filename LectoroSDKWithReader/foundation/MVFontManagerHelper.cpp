#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"

namespace lectoro {

MVFontManagerHelper& MVFontManagerHelper::getInstance()
{
    static MVFontManagerHelper* instance = new MVFontManagerHelper;
    return *instance;
}

void MVFontManagerHelper::setFontBundle(BundleRef bundle)
{
    m_fontBundle = std::move(bundle);
}

BundleRef MVFontManagerHelper::getFontBundle() const
{
    return m_fontBundle ? m_fontBundle : libraryBundleRef();
}

void MVFontManagerHelper::setFontManager(std::shared_ptr<MVFontManager> manager)
{
    if (m_fontBundle) {
        setFontManager(std::move(manager), m_fontBundle);
        return;
    }
    if (!m_fontManager && manager) {
        m_fontManager = manager;
        m_fontManager->registerFont();
    }
    m_fontManager = std::move(manager);
}

void MVFontManagerHelper::setFontManager(std::shared_ptr<MVFontManager> manager, const BundleRef& bundle)
{
    m_fontManager = std::move(manager);
    if (m_fontManager)
        m_fontManager->registerFontWith(bundle);
}

std::shared_ptr<MVFontManager> MVFontManagerHelper::getFontManager()
{
    if (m_fontBundle)
        return getFontManagerFor(m_fontBundle);
    if (!m_fontManager) {
        m_fontManager = std::make_shared<MVFontManager>();
        m_fontManager->registerFont();
    }
    return m_fontManager;
}

std::shared_ptr<MVFontManager> MVFontManagerHelper::getFontManagerFor(const BundleRef& bundle)
{
    if (!m_fontManager) {
        m_fontManager = std::make_shared<MVFontManager>();
        m_fontManager->registerFontWith(bundle);
    }
    return m_fontManager;
}

void MVFontManagerHelper::resetForTesting()
{
    m_fontManager.reset();
    m_fontBundle.reset();
}

std::optional<ui::Font> getCustomFont(double size)
{
    return MVFontManagerHelper::getInstance().getFontManager()->getCustomFont(size);
}

std::optional<ui::Font> getCustomFontForWeight(double size, ui::FontWeight weight)
{
    return MVFontManagerHelper::getInstance().getFontManager()->getCustomFontWith(size, weight);
}

} // namespace lectoro
