// The enemy list links nodes in and out keeping the others in order, and
// keeps its order as enemies come and go. What each known type does the
// pinned routes show step by step; the refusal of unknown types is a map case.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "enemy.h"

// Linking only moves nodes, so these need no creatures loaded.
TEST(EnemyList, UnlinkAndInsertAtKeepTheRestInOrderAtEitherEndAndInTheMiddle)
{
    EnemyList nodes[4] = {};
    EnemyList *head = nullptr;
    auto order = [&head] {
        std::string ids;
        for (const EnemyList *node = head; node; node = node->next)
            ids += std::to_string(node->id);
        return ids;
    };
    for (int i = 3; i >= 0; i--) {
        nodes[i].id = i;
        enemyInsertAt(&head, &nodes[i], 0);
    }
    // Taken out from the middle, the head and the end, each gives its place then.
    EXPECT_EQ(std::vector({enemyUnlink(&head, &nodes[2]), enemyUnlink(&head, &nodes[0]),
                           enemyUnlink(&head, &nodes[3]), enemyUnlink(&head, &nodes[3])}),
              std::vector({2, 0, 1, -1}));
    EXPECT_EQ(std::pair(order(), nodes[2].next), std::pair(std::string("1"), (EnemyList *)nullptr));
    // Put back the last taken first, each at the place it left: the order is
    // whole again. A place beyond the end means last.
    for (int i : {3, 0, 2})
        enemyInsertAt(&head, &nodes[i], i == 3 ? 1 : i);
    EXPECT_EQ(order(), "0123");
    enemyUnlink(&head, &nodes[1]);
    enemyInsertAt(&head, &nodes[1], 9);
    EXPECT_EQ(order(), "0231");
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
    enemyReset();
}
