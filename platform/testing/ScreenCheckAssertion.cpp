#include "platform/testing/ScreenCheckAssertion.h"

namespace uitest {

::testing::AssertionResult screenPasses(const ui::View& root, const std::string& screenName,
    const ScreenCheckAllowList& allowList, const ui::ViewController* presenter)
{
    auto findings = unallowedFindings(root, screenName, allowList, presenter);
    if (findings.empty())
        return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure();
    failure << screenName << ": " << findings.size() << " finding(s)";
    for (const auto& finding : findings)
        failure << "\n  " << finding.description();
    return failure;
}

} // namespace uitest
