#pragma once

// The screen check (ScreenCheck.h) as a test's assertion.

#include "platform/testing/ScreenCheck.h"

#include <gtest/gtest.h>

namespace uitest {

// Passes when every finding on the window (and the controllers presented from `presenter`,
// when given) is allowed for the named screen; fails listing the rest, one a line.
::testing::AssertionResult screenPasses(const ui::View& root, const std::string& screenName,
    const ScreenCheckAllowList& = {}, const ui::ViewController* presenter = nullptr);

} // namespace uitest
