#pragma once

#include "LectoroSDKWithReader/foundation/MVFontManager.h"

#include <memory>
#include <optional>

namespace lectoro {

// The process-wide holder of the reader's font manager and of the bundle its fonts come
// from. The first manager it keeps has its fonts registered; a later replacement without a
// font bundle registers nothing.
class MVFontManagerHelper {
public:
    static MVFontManagerHelper& getInstance();

    void setFontBundle(BundleRef);
    // The stored bundle, else the library's.
    BundleRef getFontBundle() const;

    void setFontManager(std::shared_ptr<MVFontManager>);
    void setFontManager(std::shared_ptr<MVFontManager>, const BundleRef& bundle);
    // Never null: a default manager is made (and its fonts registered) on first use.
    std::shared_ptr<MVFontManager> getFontManager();
    std::shared_ptr<MVFontManager> getFontManagerFor(const BundleRef& bundle);

    // Test support: forgets the manager and the bundle.
    void resetForTesting();

private:
    MVFontManagerHelper() = default;

    std::shared_ptr<MVFontManager> m_fontManager;
    BundleRef m_fontBundle;
};

// The reader's regular face at the size, through the holder's manager.
std::optional<ui::Font> getCustomFont(double size);
std::optional<ui::Font> getCustomFontForWeight(double size, ui::FontWeight);

} // namespace lectoro
