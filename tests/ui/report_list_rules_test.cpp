#include <gtest/gtest.h>

#include <string>

#include "ui/report_list_rules.h"

namespace brisko {
namespace {

TEST(ReportListRulesTest, EmptiesAFullListOnlyBeforeTheStatistics) {
    struct Case {
        int count;
        bool statisticsStarted;
        bool empties;
    };
    const Case cases[] = {
        {0, false, false}, {149, false, false}, {150, false, true},
        {151, false, true}, {150, true, false}, {400, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + (c.statisticsStarted ? " lines, statistics" : " lines"));
        EXPECT_EQ(emptyBeforeAppend(c.count, c.statisticsStarted), c.empties);
    }
}

TEST(ReportListRulesTest, SelectsTheNewestLineFromTheThird) {
    struct Case {
        int count;
        int selection;
    };
    // One past the last line selects nothing.
    const Case cases[] = {{1, 1}, {2, 2}, {3, 2}, {150, 149}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " lines");
        EXPECT_EQ(selectionAfterAppend(c.count), c.selection);
    }
}

TEST(ReportListRulesTest, WidensOnlyForLinesWiderThan560) {
    struct Case {
        int current;
        int widest;
        std::optional<int> extent;
    };
    const Case cases[] = {
        {0, 560, std::nullopt},
        {0, 561, 420},
        {0, 1000, 750},
        // Three quarters of the widest line even when that shrinks it.
        {900, 1000, 750},
        {1000, 1000, std::nullopt},
        {1200, 1000, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("extent " + std::to_string(c.current) + ", widest " + std::to_string(c.widest));
        EXPECT_EQ(widenedExtent(c.current, c.widest), c.extent);
    }
}

}  // namespace
}  // namespace brisko
