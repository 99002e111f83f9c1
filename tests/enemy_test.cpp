// Enemies in play: behaviour programs, motion against the masks, stuns,
// throws and knock-outs, the activity area and removal of the dead.
#include <cmath>

#include "gameplay_fixture.h"

namespace {

const int FLOOR_ROW = 7;              // tile row of the floor
const int FLOOR_TOP = FLOOR_ROW * 16; // 112
const int LEVEL_BOTTOM = 12 * 16;     // 192
const float ON_FLOOR = restingY(FLOOR_TOP, 16);

// Squid-like walkers with and without a step limit.
const std::initializer_list<AINode> ENDLESS_WALK = {{3, 2, 0, 0, 0}, {1, 3, 0, 0, 0}};
const std::initializer_list<AINode> SHORT_WALK = {{3, 2, 5, 0, 0}, {0, 60, 0, 0, 0}};

class Enemies : public GameplayTest {
protected:
    void SetUp() override
    {
        GameplayTest::SetUp();
        fillTiles(0, FLOOR_ROW, 19, FLOOR_ROW, TILE_SOLID);
    }

    // A stunned enemy, as the player leaves it after a stomp.
    Enemy *stunned(float x, float y)
    {
        Enemy *e = addEnemy(2, x, y, 16, 16, FROG_PROGRAM);
        e->confusedTime = 300;
        e->creature.state = 5;
        return e;
    }

    static void update(Enemy *e, int n = 1)
    {
        for (int i = 0; i < n; i++)
            enemyUpdate(e);
    }

    static int listLength(void)
    {
        int n = 0;
        for (EnemyList *node = EnemyListHead; node != nullptr; node = node->next)
            n++;
        return n;
    }
};

} // namespace

TEST_F(Enemies, AFrogWaitsThreeSecondsThenLeapsTowardsThePlayer)
{
    Enemy *frog = addEnemy(2, 100, ON_FLOOR, 16, 16, FROG_PROGRAM);
    player.x = 50;
    update(frog);
    EXPECT_EQ(frog->curAction, 0);
    EXPECT_EQ(frog->aiActions[0]->value1, 180);
    EXPECT_EQ(frog->creature.vx, 0.0f);
    update(frog, 179);
    EXPECT_EQ(frog->curAction, 0);
    EXPECT_EQ(frog->creature.y, ON_FLOOR);
    EXPECT_EQ(frog->creature.state, 0);
    update(frog);
    EXPECT_EQ(frog->curAction, 2);
    EXPECT_EQ(frog->creature.direction, 0);
    EXPECT_EQ(frog->creature.vx, -1.0f);
    EXPECT_EQ(frog->creature.vy, -2.9f); // -3.0 plus one step of gravity
    EXPECT_EQ(frog->creature.x, 99.0f);
    EXPECT_FLOAT_EQ(frog->creature.y, ON_FLOOR - 2.9f);
    EXPECT_EQ(frog->creature.groundContact, 0);
    EXPECT_EQ(frog->creature.state, 2);
}

TEST_F(Enemies, AFrogLevelWithThePlayerLeapsRight)
{
    Enemy *frog = addEnemy(2, 100, ON_FLOOR, 16, 16, FROG_PROGRAM);
    frog->creature.direction = 0;
    player.x = 100;
    update(frog, 181);
    EXPECT_EQ(frog->creature.direction, 1);
    EXPECT_EQ(frog->creature.vx, 1.0f);
}

TEST_F(Enemies, AMonkeyHopsAndWaitsAgainOnceLanded)
{
    Enemy *monkey = addEnemy(0, 100, ON_FLOOR, 16, 16, MONKEY_PROGRAM);
    update(monkey, 61);
    EXPECT_EQ(monkey->curAction, 1);
    EXPECT_EQ(monkey->creature.vx, 0.0f);
    EXPECT_FLOAT_EQ(monkey->creature.vy, -1.9f);
    // Gravity is added in double: the top of the hop is never exactly still,
    // so a hopping monkey goes from rising straight to falling.
    update(monkey, 18);
    EXPECT_EQ(monkey->creature.state, 2);
    update(monkey);
    EXPECT_EQ(monkey->creature.vy, 3.11434263e-07f);
    EXPECT_EQ(monkey->creature.state, 4);
    float vy = monkey->creature.vy;
    int steps = 0;
    while (monkey->creature.groundContact == 0 && steps < 100) {
        update(monkey);
        steps++;
        if (monkey->creature.groundContact == 0) {
            EXPECT_NEAR(monkey->creature.vy, vy + 0.1f, 1e-6);
            vy = monkey->creature.vy;
        }
        EXPECT_EQ(monkey->curAction, 1);
    }
    ASSERT_EQ(monkey->creature.groundContact, 1);
    EXPECT_EQ(monkey->creature.state, 0);
    update(monkey);
    EXPECT_EQ(monkey->curAction, 0);
    EXPECT_EQ(monkey->aiActions[0]->value1, 60);
}

TEST_F(Enemies, AShellTurnsRoundAtAWallInOneStep)
{
    fillTiles(10, 0, 10, FLOOR_ROW - 1, TILE_SOLID); // wall from x = 160
    Enemy *shell = addEnemy(1, 140, ON_FLOOR, 16, 16, SHELL_PROGRAM);
    update(shell);
    EXPECT_EQ(shell->creature.vx, 0.4f);
    EXPECT_EQ(shell->creature.state, 1);
    int steps = 0;
    while (shell->creature.vx != 0 && steps < 100) {
        update(shell);
        steps++;
    }
    ASSERT_EQ(shell->creature.vx, 0.0f);
    EXPECT_EQ(floorf(shell->creature.x) + 16, 160.0f);
    EXPECT_EQ(shell->creature.direction, 1);
    const float x = shell->creature.x;
    update(shell);
    EXPECT_EQ(shell->curAction, 0);
    EXPECT_EQ(shell->creature.direction, 0);
    EXPECT_EQ(shell->creature.vx, -0.4f);
    EXPECT_EQ(shell->creature.x, x - 0.4f);
}

TEST_F(Enemies, ALimitedWalkLastsItsStepsThenTheNextActionStarts)
{
    Enemy *walker = addEnemy(3, 100, ON_FLOOR, 16, 16, SHORT_WALK);
    for (int i = 0; i < 5; i++) {
        const float x = walker->creature.x;
        update(walker);
        EXPECT_EQ(walker->creature.x, x + 0.2f) << "step " << i + 1;
    }
    const float x = walker->creature.x;
    update(walker);
    EXPECT_EQ(walker->creature.x, x);
    EXPECT_EQ(walker->curAction, 1);
    EXPECT_EQ(walker->aiActions[1]->value1, 60);
}

TEST_F(Enemies, WalkingOffALedgeFallsAndWalksOn)
{
    fillTiles(8, FLOOR_ROW, 19, FLOOR_ROW, TILE_EMPTY);
    fillTiles(0, 11, 19, 11, TILE_SOLID);
    Enemy *walker = addEnemy(3, 110, ON_FLOOR, 16, 16, ENDLESS_WALK);
    int fell = 0;
    for (int i = 0; i < 200 && walker->creature.y < 150; i++) {
        update(walker);
        fell |= walker->creature.groundContact == 0;
        EXPECT_EQ(walker->curAction, 0);
    }
    EXPECT_EQ(fell, 1);
    update(walker, 20); // lands and settles on the lower floor
    EXPECT_EQ(walker->curAction, 0);
    EXPECT_EQ(walker->creature.groundContact, 1);
    EXPECT_EQ(walker->creature.vx, 0.2f);
    EXPECT_EQ(walker->creature.state, 1);
}

TEST_F(Enemies, AStunnedEnemyBouncesOffTheFloorUntilTheBounceIsWeak)
{
    Enemy *e = stunned(100, 95); // one step of 2 pixels reaches the floor
    e->creature.vy = 1.9f;       // 2.0 after gravity
    update(e);
    EXPECT_EQ(e->creature.vy, -0.8f);
    EXPECT_EQ(e->creature.y, 95.0f);
    EXPECT_EQ(e->creature.groundContact, 0);
    EXPECT_EQ(e->creature.state, 5);
    EXPECT_EQ(e->confusedTime, 299);

    e->creature.y = 95.9f;
    e->creature.vy = 1.15f; // exactly 1.25 after gravity: still a bounce
    update(e);
    EXPECT_EQ(e->creature.vy, -0.5f);
    EXPECT_EQ(e->creature.groundContact, 0);

    e->creature.y = 95.9f;
    e->creature.vy = 1.1f; // 1.2 after gravity: settles
    update(e);
    EXPECT_EQ(e->creature.vy, 0.0f);
    EXPECT_EQ(e->creature.groundContact, 1);
}

TEST_F(Enemies, AStunnedEnemySlidesToAStop)
{
    Enemy *e = stunned(100, ON_FLOOR);
    e->creature.groundContact = 1;
    e->creature.vx = 1.0f;
    update(e);
    EXPECT_EQ(e->creature.x, 101.0f); // the move uses the speed from before the friction
    EXPECT_EQ(e->creature.vx, 0.899999976f);
    update(e);
    EXPECT_EQ(e->creature.vx, 0.810000002f); // nine tenths taken in double
    update(e);
    EXPECT_EQ(e->creature.vx, 0.728999972f);
    update(e, 18);
    EXPECT_GT(e->creature.vx, 0.1f);
    update(e);
    EXPECT_EQ(e->creature.vx, 0.0f);
    EXPECT_EQ(e->creature.state, 5);
}

TEST_F(Enemies, AThrownEnemyBouncesOffWallsInTheAirButStopsOnTheGround)
{
    fillTiles(10, 0, 10, 11, TILE_SOLID); // wall from x = 160
    Enemy *e = stunned(144.5f, 40);
    e->thrown = 1;
    e->creature.vx = 1.3f;
    update(e);
    EXPECT_EQ(e->creature.vx, -0.909999967f);
    EXPECT_EQ(e->creature.x, 144.5f);

    e->creature.y = ON_FLOOR;
    e->creature.vy = 0;
    e->creature.groundContact = 1;
    e->creature.vx = 1.3f;
    update(e);
    EXPECT_EQ(e->creature.vx, 0.0f);
    EXPECT_EQ(e->creature.x, 144.5f);
}

TEST_F(Enemies, AThrownEnemyKnocksOutEveryoneItHitsAndItself)
{
    Enemy *far = addEnemy(0, 200, 50, 16, 16, MONKEY_PROGRAM);
    Enemy *held = addEnemy(0, 105, 50, 16, 16, MONKEY_PROGRAM);
    held->carried = 1;
    held->confusedTime = 100;
    Enemy *falling = addEnemy(0, 95, 45, 16, 16, MONKEY_PROGRAM);
    falling->creature.state = 6;
    falling->creature.vy = 2.0f;
    Enemy *walker = addEnemy(1, 110, 52, 16, 16, SHELL_PROGRAM);
    walker->creature.vx = 0.4f;
    Enemy *thrown = stunned(100, 50);
    thrown->thrown = 1;
    thrown->creature.vx = 1.0f;
    thrown->creature.vy = -1.0f;
    update(thrown);

    for (Enemy *out : {thrown, walker, falling}) {
        EXPECT_EQ(out->creature.state, 6);
        EXPECT_EQ(out->creature.vy, -0.8f);
        EXPECT_EQ(out->carried, 0);
    }
    EXPECT_EQ(thrown->creature.vx, 1.0f);
    EXPECT_EQ(walker->creature.vx, 0.4f);
    EXPECT_EQ(held->creature.state, 0);
    EXPECT_EQ(held->carried, 1);
    EXPECT_EQ(far->creature.state, 0);
}

TEST_F(Enemies, AThrownEnemyAtRestIsHarmless)
{
    Enemy *other = addEnemy(0, 104, ON_FLOOR, 16, 16, MONKEY_PROGRAM);
    Enemy *e = stunned(100, ON_FLOOR);
    e->thrown = 1;
    e->creature.groundContact = 1;
    update(e);
    EXPECT_EQ(e->thrown, 0);
    EXPECT_EQ(e->creature.state, 5);
    EXPECT_EQ(other->creature.state, 0);
}

TEST_F(Enemies, ACarriedEnemyIsLeftToThePlayer)
{
    Enemy *other = addEnemy(0, 100, 40, 16, 16, MONKEY_PROGRAM);
    Enemy *e = stunned(100, 40);
    e->carried = 1;
    e->thrown = 1;
    e->confusedTime = 100;
    update(e);
    EXPECT_EQ(e->creature.x, 100.0f);
    EXPECT_EQ(e->creature.y, 40.0f);
    EXPECT_EQ(e->creature.vy, 0.0f);
    EXPECT_EQ(e->confusedTime, 100);
    EXPECT_EQ(e->thrown, 0); // at rest in the player's hands
    EXPECT_EQ(other->creature.state, 0);
}

TEST_F(Enemies, AStunPausesTheProgramWhereItStands)
{
    Enemy *frog = addEnemy(2, 100, ON_FLOOR, 16, 16, FROG_PROGRAM);
    update(frog, 11);
    EXPECT_EQ(frog->aiActions[0]->value1, 170);
    frog->confusedTime = 5;
    update(frog, 5);
    EXPECT_EQ(frog->confusedTime, 0);
    EXPECT_EQ(frog->aiActions[0]->value1, 170);
    EXPECT_EQ(frog->creature.state, 0);
    update(frog);
    EXPECT_EQ(frog->aiActions[0]->value1, 169);
}

TEST_F(Enemies, InWaterEnemiesDriftAndSinkSlowly)
{
    fillTiles(0, 1, 19, 6, TILE_WATER);
    Enemy *e = addEnemy(3, 100, 40, 16, 16, ENDLESS_WALK);
    update(e);
    EXPECT_EQ(e->creature.vx, 0.1f);
    EXPECT_EQ(e->creature.vy, 0.1f);
    EXPECT_EQ(e->creature.groundContact, 1);
    for (int i = 0; i < 5; i++) {
        const float x = e->creature.x, y = e->creature.y;
        update(e);
        EXPECT_NEAR(e->creature.x - x, 0.1f, 1e-5);
        EXPECT_NEAR(e->creature.y - y, 0.2f, 1e-5);
        EXPECT_EQ(e->creature.state, 1);
    }
}

TEST_F(Enemies, AKnockedOutEnemyFallsThroughEverythingOutOfTheLevel)
{
    fillTiles(0, 0, 19, 11, TILE_SOLID);
    Enemy *e = addEnemy(0, 100, 100, 16, 16, MONKEY_PROGRAM);
    e->creature.state = 6;
    e->creature.vx = 0.5f;
    e->creature.vy = -0.8f;
    update(e);
    EXPECT_EQ(e->creature.x, 100.5f);
    EXPECT_FLOAT_EQ(e->creature.y, 99.3f);
    EXPECT_EQ(e->curAction, -1); // no program runs

    e->creature.y = (float)LEVEL_BOTTOM - 1.0f;
    e->creature.vy = 0.9f; // 1.0 after gravity: exactly at the bottom edge
    update(e);
    EXPECT_EQ(e->creature.y, (float)LEVEL_BOTTOM);
    EXPECT_EQ(e->dead, 0);
    update(e);
    EXPECT_EQ(e->dead, 1);
    const float y = e->creature.y;
    update(e); // the dead are left alone
    EXPECT_EQ(e->creature.y, y);
}

TEST_F(Enemies, ProgramsThatNeverStopAreCutShort)
{
    const std::initializer_list<AINode> onlyTurns = {{1, 3, 0, 0, 0}, {9, 0, 0, 0, 0}};
    Enemy *spinner = addEnemy(0, 100, 40, 16, 16, onlyTurns);
    Enemy *empty = addEnemy(0, 140, 40, 16, 16, {});
    update(spinner);
    update(empty);
    EXPECT_FLOAT_EQ(spinner->creature.vy, 0.1f); // it still falls
    EXPECT_FLOAT_EQ(empty->creature.vy, 0.1f);
    enemyUpdate(nullptr);
}

TEST_F(Enemies, TheActivityAreaIsHalfTheScreenPlusFortyEightPixels)
{
    // Camera centre (80, 60); allowed 128 across and 108 down.
    Enemy *e = addEnemy(0, 0, 52, 16, 16, MONKEY_PROGRAM);
    const float near[][2] = {{200, 52}, {200.9f, 52}, {-56, 52}, {72, 160}, {72, -56}};
    const float far[][2] = {{201, 52}, {-57, 52}, {72, 161}, {72, -57}};
    for (auto &at : near) {
        e->creature.x = at[0];
        e->creature.y = at[1];
        EXPECT_EQ(isEnemyTooFarAway(e), 0) << at[0] << "," << at[1];
    }
    for (auto &at : far) {
        e->creature.x = at[0];
        e->creature.y = at[1];
        EXPECT_EQ(isEnemyTooFarAway(e), 1) << at[0] << "," << at[1];
    }
}

TEST_F(Enemies, FrozenEnemiesStandStillAndLoseTheirStun)
{
    Enemy *near = stunned(200, 40);
    Enemy *far = stunned(201, 40);
    enemyUpdateAll();
    EXPECT_FLOAT_EQ(near->creature.vy, 0.1f);
    EXPECT_EQ(near->confusedTime, 299);
    EXPECT_EQ(far->creature.vy, 0.0f);
    EXPECT_EQ(far->creature.y, 40.0f);
    EXPECT_EQ(far->confusedTime, 0);
}

TEST_F(Enemies, DeadEnemiesAreUnlinkedInTheSameStep)
{
    // List order a, b, c, d, e: remove the first and a middle one.
    Enemy *e = addEnemy(0, 100, ON_FLOOR, 16, 16, MONKEY_PROGRAM);
    Enemy *d = addEnemy(0, 100, ON_FLOOR, 16, 16, MONKEY_PROGRAM);
    Enemy *c = addEnemy(0, 100, ON_FLOOR, 16, 16, MONKEY_PROGRAM);
    Enemy *b = addEnemy(0, 100, ON_FLOOR, 16, 16, MONKEY_PROGRAM);
    Enemy *a = addEnemy(0, 100, ON_FLOOR, 16, 16, MONKEY_PROGRAM);
    a->dead = 1;
    c->dead = 1;
    enemyUpdateAll();
    ASSERT_EQ(listLength(), 3);
    EXPECT_EQ(&EnemyListHead->mob, b);
    EXPECT_EQ(&EnemyListHead->next->mob, d);
    EXPECT_EQ(&EnemyListHead->next->next->mob, e);
    EXPECT_EQ(b->curAction, 0); // the living were updated

    // A knocked-out enemy far away still falls and goes; the last one leaves an empty list.
    b->dead = 1;
    d->dead = 1;
    e->creature.x = 1000;
    e->creature.state = 6;
    e->creature.y = (float)LEVEL_BOTTOM;
    enemyUpdateAll();
    EXPECT_EQ(EnemyListHead, nullptr);
}

TEST_F(Enemies, AKeyKnockedOutByAThrowFallsAwayUntaken)
{
    Enemy *key = addEnemy(-1, 100, ON_FLOOR, 16, 16, KEY_PROGRAM);
    Enemy *thrown = stunned(106, 90);
    thrown->thrown = 1;
    thrown->creature.vx = 1.0f;
    thrown->creature.vy = -1.0f;
    enemyUpdateAll();
    EXPECT_EQ(key->creature.state, 6);
    EXPECT_EQ(thrown->creature.state, 6);
    for (int i = 0; i < 200 && EnemyListHead != nullptr; i++)
        enemyUpdateAll();
    EXPECT_EQ(EnemyListHead, nullptr);
    EXPECT_EQ(hasKey, 0);
}
