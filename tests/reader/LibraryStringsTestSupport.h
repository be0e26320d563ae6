#pragma once

// A clean world for tests of screens that show the library's own strings: the UI scope,
// the library bundle in its default language, no reader language bundle, and in-memory
// user defaults.

#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/Bundle.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Environment.h"

#include <gtest/gtest.h>

#include <memory>

namespace lectoro::librarytest {

class LibraryStringsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::Bundle::setLibraryBundlePath(LECTORO_RESOURCES_DIR);
        base::Bundle::library().setLanguage({});
        LocalizationHelper::setReaderLanguageBundle(nullptr);
        m_defaults = std::make_shared<base::UserDefaults>();
        base::UserDefaults::setStandardForTesting(m_defaults);
    }

    void TearDown() override
    {
        base::RunLoop::main().reset();
        base::UserDefaults::setStandardForTesting(nullptr);
        LocalizationHelper::setReaderLanguageBundle(nullptr);
    }

    ui::Environment& environment() { return m_scope.environment(); }

    uitest::UIScope m_scope;
    std::shared_ptr<base::UserDefaults> m_defaults;
};

} // namespace lectoro::librarytest
