// The enemy list: creating enemies by type, in front of the list, and freeing them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>

#include "enemy.h"

// One enemy as "type x,y: action:param1,param2 ...", its program node by node.
static std::string describe(const Enemy &mob)
{
    char text[160];
    int n = snprintf(text, sizeof text, "%d %g,%g:", mob.type, mob.creature.x, mob.creature.y);
    for (int i = 0; i < mob.nmbrOfAIActions; i++)
        n += snprintf(text + n, sizeof text - n, " %d:%d,%d", mob.aiActions[i]->action, mob.aiActions[i]->param1,
                      mob.aiActions[i]->param2);
    return std::string(text) + "\n";
}

TEST(EnemyList, EachKnownTypeIsPrependedWithItsProgramAndAnnouncedOthersRefused)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr(); // without a display the sprite sheets are not converted
    for (int type = -2; type <= 5; type++)
        EnemyListHead = prependElement(EnemyListHead, 16 * type, 48, type);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "WARNING: (prependElement) Unknown enemy type -2 at -32:48. Ignoring...\n"
              "-16:48:-1\n0:48:0\n16:48:1\n32:48:2\n48:48:3\n64:48:4\n"
              "WARNING: (prependElement) Unknown enemy type 5 at 80:48. Ignoring...\n");
    // The last one created comes first: plant, squid, frog, shell, monkey, key.
    std::string listed;
    for (const EnemyList *node = EnemyListHead; node; node = node->next)
        listed += describe(node->mob);
    EXPECT_EQ(listed, "4 64,48: 0:60,0 2:0,20\n3 48,48: 3:2,0 1:3,0\n2 32,48: 0:180,0 1:2,0 2:10,30\n"
                      "1 16,48: 3:4,0 1:3,0\n0 0,48: 0:60,0 2:0,20\n-1 -16,48: 0:0,0\n");
    const Enemy &plant = EnemyListHead->mob;
    EXPECT_EQ(std::tuple(plant.creature.state, plant.creature.direction, plant.curAction), std::tuple(0, 1, -1));
    cleanList(EnemyListHead);
    EnemyListHead = nullptr;
}
