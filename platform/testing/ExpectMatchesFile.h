#pragma once

// The GoogleTest face of compareWithFile, for test sources (the testing library itself
// does not link GoogleTest).

#include "platform/testing/ViewTreeDump.h"

#include <gtest/gtest.h>

namespace uitest {

inline void expectMatchesFile(const std::string& text, const std::string& path)
{
    FileComparison comparison = compareWithFile(text, path);
    EXPECT_TRUE(comparison.matches) << comparison.message;
}

} // namespace uitest
