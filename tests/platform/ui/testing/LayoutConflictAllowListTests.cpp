#include "LayoutConflictLog.h"

#include "platform/ui/Constraint.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

namespace lectoro::testing {
namespace {

const char* const listText = "# the bar's own fixed heights\n"
                             "\n"
                             "View(bar).height == 44 ; View(bar).height == 60 | the bar is 44 high on a phone and 60 on a pad\n"
                             "View(strip).top == View(page).bottom | \n"
                             "| a reason without constraints\n"
                             "View(thumb).width == 80\n";

TEST(LayoutConflictAllowList, TakesOnlyLinesWithConstraintsAndAReason)
{
    auto list = LayoutConflictAllowList::parse(listText);
    ASSERT_EQ(list.entries().size(), 1u);
    EXPECT_EQ(list.entries().front().constraints,
        (std::vector<std::string> { "View(bar).height == 44", "View(bar).height == 60" }));
    EXPECT_EQ(list.errors().size(), 3u) << "no reason, no constraints, no bar at all";
    EXPECT_FALSE(LayoutConflictAllowList::fromFile("/nonexistent/allow.txt").errors().empty());
}

TEST(LayoutConflictAllowList, AllowsAReportThatNamesEveryConstraintOfALine)
{
    auto list = LayoutConflictAllowList::parse(listText);
    struct Case {
        const char* report;
        bool allowed;
    };
    const std::vector<Case> cases {
        { "Unable to simultaneously satisfy constraints (contradicts).\n  Breaking: View(bar).height == 60\n"
          "  With: View(bar).height == 44",
            true },
        { "Unable to simultaneously satisfy constraints (contradicts).\n  Breaking: View(bar).height == 60\n"
          "  With: View(bar).height == 50",
            false },
        { "Unable to simultaneously satisfy constraints (contradicts).\n  Breaking: View(strip).top == View(page).bottom",
            false },
    };
    for (const auto& check : cases) {
        SCOPED_TRACE(check.report);
        EXPECT_EQ(list.allows(check.report), check.allowed);
    }
}

TEST(LayoutConflictLog, CollectsTheEnginesReportsAndLeavesTheAllowedOnesOut)
{
    auto root = ui::View::create({ { 0, 0 }, { 320, 480 } });
    auto bar = ui::View::create();
    bar->setTranslatesAutoresizingMaskIntoConstraints(false);
    bar->setAccessibilityIdentifier("bar");
    root->addSubview(bar);
    LayoutConflictLog log;
    bar->heightAnchor().constraintEqualToConstant(44)->setActive(true);
    bar->heightAnchor().constraintEqualToConstant(60)->setActive(true);
    root->layoutIfNeeded();
    ASSERT_EQ(log.reports().size(), 1u) << log.text();
    EXPECT_EQ(log.unallowed(LayoutConflictAllowList::parse(listText)).size(), 0u) << log.text();
    EXPECT_EQ(log.unallowed(LayoutConflictAllowList {}).size(), 1u);
}

} // namespace
} // namespace lectoro::testing
