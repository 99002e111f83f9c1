// The enemy list and its records: creating enemies by type and freeing them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "enemy.h"

namespace {

class EnemyListTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        cleanList(EnemyListHead);
        EnemyListHead = nullptr;
    }

    // Adds an enemy in front of the list, keeping what it printed.
    EnemyList *add(int x, int y, int type)
    {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EnemyList *head = prependElement(EnemyListHead, x, y, type);
        out = testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        if (head)
            EnemyListHead = head;
        return head;
    }

    std::string out;
};

// A program as "action:param1,param2" per node.
std::vector<std::string> programOf(const Enemy &mob)
{
    std::vector<std::string> nodes;
    for (int i = 0; i < mob.nmbrOfAIActions; i++) {
        const AINode &n = *mob.aiActions[i];
        nodes.push_back(std::to_string(n.action) + ":" + std::to_string(n.param1) + "," + std::to_string(n.param2));
        EXPECT_EQ(n.param3, 0);
        EXPECT_EQ(n.value1, 0);
    }
    return nodes;
}

} // namespace

TEST_F(EnemyListTest, ANewEnemyStandsStillFacingRightWithItsTypesProgram)
{
    EnemyList *frog = add(32, 48, 2);
    ASSERT_NE(frog, nullptr);
    EXPECT_EQ(out, "32:48:2\n");
    const Enemy &mob = frog->mob;
    EXPECT_EQ(mob.type, 2);
    EXPECT_EQ(mob.creature.x, 32.0f);
    EXPECT_EQ(mob.creature.y, 48.0f);
    EXPECT_EQ(mob.creature.state, 0);
    EXPECT_EQ(mob.creature.direction, 1);
    EXPECT_EQ(mob.curAction, -1);
    EXPECT_EQ(frog->next, nullptr);

    const std::vector<std::vector<std::string>> programs = {
        {"0:0,0"},                          // key: stands still
        {"0:60,0", "2:0,20"},               // monkey
        {"3:4,0", "1:3,0"},                 // shell
        {"0:180,0", "1:2,0", "2:10,30"},    // frog
        {"3:2,0", "1:3,0"},                 // squid
        {"0:60,0", "2:0,20"},               // plant
    };
    for (int type = -1; type <= 4; type++) {
        EnemyList *node = add(type, 0, type);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(programOf(node->mob), programs[type + 1]) << "type " << type;
    }
}

TEST_F(EnemyListTest, TheListRunsFromTheLastCreatedEnemy)
{
    add(0, 0, -1);
    add(16, 0, 2);
    add(32, 0, 1);
    std::vector<int> types;
    for (const EnemyList *node = EnemyListHead; node; node = node->next)
        types.push_back(node->mob.type);
    EXPECT_EQ(types, (std::vector<int>{1, 2, -1}));

    cleanList(EnemyListHead);
    EnemyListHead = nullptr;
    cleanList(nullptr);
    enemyDelete(nullptr);
}

TEST_F(EnemyListTest, AnUnknownTypeIsRefusedAndTheListKept)
{
    EnemyList *key = add(8, 8, -1);
    for (int type : {-2, 5, 1000}) {
        EXPECT_EQ(add(1, 2, type), key);
        EXPECT_EQ(out, "WARNING: (prependElement) Unknown enemy type " + std::to_string(type) +
                           " at 1:2. Ignoring...\n");
    }
    EXPECT_EQ(EnemyListHead, key);
    EXPECT_EQ(key->next, nullptr);
}
