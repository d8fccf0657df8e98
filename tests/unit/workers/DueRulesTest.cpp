// Which settings the write worker finds due.

#include <gtest/gtest.h>

#include "workers/DueRules.h"

namespace lanterna {
namespace {

TEST(DueRules, WriteAllSendsWhatWasReadOtherwiseWhatWasChanged) {
    EXPECT_TRUE(IsDue(1, 1));
    EXPECT_FALSE(IsDue(1, 2));
    EXPECT_TRUE(IsDue(0, 2));
    EXPECT_FALSE(IsDue(0, 1));
    for (const std::int32_t writeAll : {0, 1, 5}) {
        EXPECT_FALSE(IsDue(writeAll, 0));
        EXPECT_FALSE(IsDue(writeAll, 3));
    }
    EXPECT_TRUE(IsDue(5, 1));  // any nonzero writeAll
}

TEST(DueRules, GroupsNeedAllReadOrAnyChanged) {
    EXPECT_TRUE(IsGroupDue(1, {1, 1, 1}));
    EXPECT_FALSE(IsGroupDue(1, {1, 0, 1}));
    EXPECT_FALSE(IsGroupDue(1, {1, 2}));
    EXPECT_TRUE(IsGroupDue(0, {3, 2, 1}));
    EXPECT_FALSE(IsGroupDue(0, {1, 3, 0}));
    EXPECT_FALSE(IsGroupDue(1, {}));
    EXPECT_FALSE(IsGroupDue(0, {}));
}

}  // namespace
}  // namespace lanterna
