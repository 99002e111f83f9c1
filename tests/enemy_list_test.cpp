// The enemy list refuses types it has no creature for. What each known type
// does, and the order the list keeps, the pinned routes show step by step.
#include <gtest/gtest.h>

#include "enemy.h"

TEST(EnemyList, TypesOutsideKeyToPlantAreRefusedAndLeaveTheListAsItWas)
{
    testing::internal::CaptureStdout();
    for (int type : {-2, 5})
        EXPECT_EQ(prependElement(nullptr, 16, 48, type), nullptr) << type;
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "WARNING: (prependElement) Unknown enemy type -2 at 16:48. Ignoring...\n"
              "WARNING: (prependElement) Unknown enemy type 5 at 16:48. Ignoring...\n");
}
