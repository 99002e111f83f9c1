// The enemy list refuses types it has no creature for, and keeps its order.
// What each known type does the pinned routes show step by step.
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

// A new enemy goes in front, and the dead leave the others in their order:
// the order in which enemies are updated, touched and drawn.
TEST(EnemyList, NewEnemiesGoInFrontAndTheDeadLeaveTheRestInOrder)
{
    for (int type : {0, 1, 2, 3, 4}) // far from any camera, so that none moves
        EnemyListHead = prependElement(EnemyListHead, 100000, 0, type);
    for (EnemyList *node = EnemyListHead; node; node = node->next)
        node->mob.dead = node->mob.type % 2 == 0; // 4 3 2 1 0: the head, a middle one and the tail
    enemyUpdateAll();
    std::vector<int> types;
    for (EnemyList *node = EnemyListHead; node; node = node->next)
        types.push_back(node->mob.type);
    EXPECT_EQ(types, (std::vector<int>{3, 1}));
    cleanList(EnemyListHead);
    EnemyListHead = nullptr;
}
