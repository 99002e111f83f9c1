// The player's physics step by step: settling, walking, jumping, walls,
// ceilings, water, hazards, enemies, carrying, the key, the exit and dying.
#include <cmath>

#include "gameplay_fixture.h"

namespace {

const int FLOOR_ROW = 7;             // tile row of the floor in most levels here
const int FLOOR_TOP = FLOOR_ROW * 16; // 112
const int LEVEL_BOTTOM = 12 * 16;    // 192

class Player : public GameplayTest {
protected:
    // A 16 x 16 player with 3 hp at (x, y), at rest in the air.
    void placePlayer(float x, float y)
    {
        player.x = x;
        player.y = y;
        player.w = 16;
        player.h = 16;
        player.vx = 0;
        player.vy = 0;
        player.hp = 3;
        player.groundContact = 0;
        player.direction = 1;
    }

    // The player resting on the floor at x.
    void standOnFloor(float x)
    {
        fillTiles(0, FLOOR_ROW, 19, FLOOR_ROW, TILE_SOLID);
        placePlayer(x, restingY(FLOOR_TOP, 16));
        player.groundContact = 1;
    }

    void step(int n = 1)
    {
        for (int i = 0; i < n; i++)
            playerUpdate();
    }
};

} // namespace

TEST_F(Player, SettlesOntoAFloorByFractionsOfAPixel)
{
    fillTiles(0, FLOOR_ROW, 19, FLOOR_ROW, TILE_LOW_FLOOR); // first solid row 116
    placePlayer(40, 100.0f);
    const float expectedY[] = {100.1f, 100.3f, 100.6f, 100.6f, 100.7f, 100.9f, 100.9f};
    const int expectedGround[] = {0, 0, 0, 1, 0, 0, 1};
    for (int i = 0; i < 7; i++) {
        step();
        EXPECT_FLOAT_EQ(player.y, expectedY[i]) << "step " << i + 1;
        EXPECT_EQ(player.groundContact, expectedGround[i]) << "step " << i + 1;
    }
    step();
    EXPECT_EQ(player.y, nextafterf(101.0f, 0.0f)); // the float just below 101
    for (int i = 0; i < 20; i++) {
        step();
        EXPECT_EQ(player.y, nextafterf(101.0f, 0.0f));
        EXPECT_EQ(player.groundContact, 1);
        EXPECT_EQ(player.vy, 0.0f);
    }
    EXPECT_EQ(player.x, 40.0f);
}

TEST_F(Player, WalkingRampsUpToTheSpeedLimitAndStopsByHalves)
{
    standOnFloor(20);
    keyPress.key[RIGHT] = 1;
    // 0.6, 0.9, 1.05, 1.125, ... as floats: the acceleration is added in double.
    const float ramp[] = {0.600000024f, 0.900000036f, 1.05000007f, 1.125f, 1.16250002f, 1.18124998f};
    float x = player.x;
    for (float expected : ramp) {
        step();
        EXPECT_EQ(player.vx, expected);
        EXPECT_EQ(player.x, x + expected);
        x = player.x;
    }
    for (int i = 0; i < 25; i++) {
        step();
        EXPECT_LE(player.vx, 1.2f);
    }
    EXPECT_FLOAT_EQ(player.vx, 1.2f);
    EXPECT_EQ(player.groundContact, 1);
    EXPECT_EQ(player.state, 0); // the update never picks the animation

    keyPress.key[RIGHT] = 0;
    const float stopping[] = {0.6f, 0.3f, 0.15f, 0.0f};
    for (float expected : stopping) {
        step();
        EXPECT_FLOAT_EQ(player.vx, expected);
    }
    EXPECT_EQ(player.vx, 0.0f);

    // Left from rest, and both held cancel out.
    keyPress.key[LEFT] = 1;
    step();
    EXPECT_FLOAT_EQ(player.vx, -0.6f);
    keyPress.key[RIGHT] = 1;
    step();
    EXPECT_NEAR(player.vx, -0.3f, 1e-6);
}

TEST_F(Player, InTheAirDragIsSlightAndSteeringWeak)
{
    placePlayer(40, 20);
    player.vx = 1.0f;
    step(3);
    EXPECT_EQ(player.vx, 0.970299006f); // 0.99 cubed, the drag applied in double
    EXPECT_EQ(player.groundContact, 0);
    EXPECT_FLOAT_EQ(player.vy, 0.3f);
    keyPress.key[LEFT] = 1;
    step();
    EXPECT_FLOAT_EQ(player.vx, 0.970299006f * 0.99f - 0.1f);

    // Steering in the air cannot pass the walking limit either.
    keyPress.key[LEFT] = 0;
    keyPress.key[RIGHT] = 1;
    player.vx = 1.2f;
    step();
    EXPECT_EQ(player.vx, 1.2f);
}

TEST_F(Player, AGroundJumpNeedsAFreshPressAndACeilingStopsIt)
{
    standOnFloor(40);
    keyPress.key[JUMP] = 1;
    step();
    EXPECT_EQ(player.vy, -2.6f);
    EXPECT_FLOAT_EQ(player.y, restingY(FLOOR_TOP, 16) - 2.6f);
    EXPECT_EQ(keyPress.key[JUMP], 0);
    EXPECT_EQ(player.groundContact, 0);
    // Gravity is added in double: 26 steps later the rise ends a hair short of zero.
    step(26);
    EXPECT_EQ(player.vy, -1.35600573e-07f);
    step();
    EXPECT_GT(player.vy, 0.0f);

    // Under a ceiling two pixels up the jump is stopped at once.
    fillTiles(0, 0, 19, FLOOR_ROW, TILE_EMPTY);
    fillTiles(0, 4, 19, 4, TILE_SOLID); // ceiling bottom row 79
    fillTiles(0, 6, 19, 6, TILE_SOLID); // floor top 96
    placePlayer(40, 80.95f);
    player.groundContact = 1;
    keyPress.key[JUMP] = 1;
    step();
    EXPECT_EQ(player.vy, 0.0f);
    EXPECT_EQ(player.y, 80.95f);
    EXPECT_EQ(player.groundContact, 0);
    EXPECT_EQ(keyPress.key[JUMP], 0);
}

TEST_F(Player, AWallJumpKicksOffAWallBesideThePlayer)
{
    fillTiles(5, 0, 5, 11, TILE_SOLID); // wall at x 80..95
    placePlayer(63, 40); // right edge 78: one pixel gap, within reach of the probe
    keyPress.key[LEFT] = 1;
    keyPress.key[JUMP] = 1;
    step();
    EXPECT_EQ(player.vy, -2.0f);
    EXPECT_EQ(player.vx, -1.0f);
    EXPECT_EQ(player.x, 62.0f);
    EXPECT_EQ(keyPress.key[JUMP], 0);
    EXPECT_EQ(ignoreKeys, 10);

    // The direction keys are locked for ten steps: only drag acts.
    step();
    EXPECT_FLOAT_EQ(player.vx, -0.99f);
    EXPECT_EQ(ignoreKeys, 9);
    step(9);
    EXPECT_EQ(ignoreKeys, 0);
    const float before = player.vx;
    step();
    EXPECT_FLOAT_EQ(player.vx, (float)((double)before * 0.99 - 0.1));
}

TEST_F(Player, NoWallJumpTowardsTheWallTooFarOrFallingFast)
{
    fillTiles(5, 0, 5, 11, TILE_SOLID);
    // Pressing towards the wall does nothing.
    placePlayer(63, 40);
    keyPress.key[RIGHT] = 1;
    keyPress.key[JUMP] = 1;
    step();
    EXPECT_EQ(keyPress.key[JUMP], 1);
    EXPECT_EQ(ignoreKeys, 0);
    // Two pixels of gap are out of reach.
    placePlayer(62, 40);
    keyPress.key[RIGHT] = 0;
    keyPress.key[LEFT] = 1;
    step();
    EXPECT_EQ(keyPress.key[JUMP], 1);
    // Falling faster than 1.5 after gravity.
    placePlayer(63, 40);
    player.vy = 1.45f;
    step();
    EXPECT_EQ(keyPress.key[JUMP], 1);
    EXPECT_GT(player.vy, 1.5f);
    // Water beside the wall makes it no wall: the player just sinks.
    placePlayer(63, 40);
    fillTiles(4, 0, 4, 11, TILE_WATER);
    step();
    EXPECT_EQ(player.vy, 0.1f);
}

TEST_F(Player, LandingEndsTheWallJumpLock)
{
    standOnFloor(40);
    ignoreKeys = 7;
    step();
    EXPECT_EQ(ignoreKeys, 0);
}

TEST_F(Player, FallingIntoWaterSlowsToASink)
{
    fillTiles(0, 4, 19, 10, TILE_WATER); // water from y = 64
    fillTiles(0, 11, 19, 11, TILE_SOLID);
    placePlayer(40, 47.5f);
    player.vy = 1.4f;
    player.vx = 0.5f;
    keyPress.key[JUMP] = 1;
    step();
    EXPECT_FLOAT_EQ(player.y, 49.0f); // the whole move, then the clamp
    EXPECT_FLOAT_EQ(player.x, 40.495f);
    const float x1 = player.x;
    EXPECT_EQ(player.vx, 0.1f);
    EXPECT_EQ(player.vy, 0.1f);
    EXPECT_EQ(keyPress.key[JUMP], 0);
    EXPECT_EQ(hackPlayerIsInWater, 1);
    EXPECT_EQ(player.groundContact, 1);

    for (int i = 0; i < 5; i++) {
        const float y = player.y;
        step();
        EXPECT_NEAR(player.y - y, 0.2f, 1e-4);
        EXPECT_EQ(player.vy, 0.1f);
        EXPECT_EQ(player.x, x1);
    }

    // Walking under water: 0.6 pixels per step, whatever the clamp left.
    keyPress.key[RIGHT] = 1;
    for (int i = 0; i < 5; i++) {
        const float x = player.x;
        step();
        EXPECT_NEAR(player.x - x, 0.6f, 1e-4);
        EXPECT_EQ(player.vx, 0.1f);
    }
}

TEST_F(Player, SwimmingUpLeavesTheWaterAtFullStroke)
{
    fillTiles(0, 4, 19, 10, TILE_WATER);
    fillTiles(0, 11, 19, 11, TILE_SOLID);
    placePlayer(40, 150);
    player.vy = 0.1f;
    player.groundContact = 1;
    hackPlayerIsInWater = 1;
    keyPress.key[JUMP] = 1;
    int steps = 0;
    while (hackPlayerIsInWater == 1 && steps < 100) {
        const float y = player.y;
        step();
        steps++;
        EXPECT_NEAR(player.y - y, -2.0f, 1e-4);
    }
    EXPECT_EQ(hackPlayerIsInWater, 0);
    EXPECT_EQ(player.vy, -2.0f);
    EXPECT_EQ(keyPress.key[JUMP], 0);
    EXPECT_EQ(player.groundContact, 0);
    EXPECT_LT(player.y + 15, 64.0f);
    EXPECT_GE(player.y + 17, 64.0f);
    step();
    EXPECT_FLOAT_EQ(player.vy, -1.9f); // no more strokes in the air
}

TEST_F(Player, TheExitWinsOnlyWithTheKeyAndOnlySideways)
{
    standOnFloor(70); // box 70..85 overlaps exit tile column 80..95
    curLvl.exit = {5, 6};
    step();
    EXPECT_EQ(newGameMode, MODE_INGAME);
    hasKey = 1;
    step();
    EXPECT_EQ(newGameMode, MODE_WON);

    // Falling into the exit from above: the vertical test reaches it first
    // and does not count; the horizontal test, on the old row, does next step.
    newGameMode = MODE_INGAME;
    fillTiles(0, FLOOR_ROW, 19, FLOOR_ROW, TILE_EMPTY);
    placePlayer(80, 80.9f); // box rows 80..95, exit rows 96..111
    player.vy = 0.1f;
    step();
    EXPECT_EQ(newGameMode, MODE_INGAME);
    step();
    EXPECT_EQ(newGameMode, MODE_WON);
}

TEST_F(Player, AHazardAndAnEnemyInOneStepCostOnePoint)
{
    setTile(3, 6, TILE_HAZARD); // x 48..63, y 96..111
    placePlayer(48, 85);
    player.vy = 1.0f;
    addEnemy(0, 48, 86, 16, 16, MONKEY_PROGRAM);
    step();
    EXPECT_EQ(player.hp, 2);
    EXPECT_EQ(invincibilityTimer, 119);
}

TEST_F(Player, AfterAHitTheNextLandsOneHundredAndTwentyStepsLater)
{
    standOnFloor(40);
    addEnemy(0, 40, restingY(FLOOR_TOP, 16), 16, 16, MONKEY_PROGRAM);
    step();
    EXPECT_EQ(player.hp, 2);
    EXPECT_EQ(invincibilityTimer, 120);
    step(119);
    EXPECT_EQ(player.hp, 2);
    EXPECT_EQ(invincibilityTimer, 1);
    step();
    EXPECT_EQ(player.hp, 1);
    EXPECT_EQ(invincibilityTimer, 120);
}

TEST_F(Player, LandingOnAFrogStunsItButAShellHurts)
{
    placePlayer(40, 86);
    player.vy = 1.0f;
    Enemy *frog = addEnemy(2, 40, 100, 16, 16, FROG_PROGRAM);
    frog->creature.vx = 0.4f;
    step();
    EXPECT_EQ(frog->confusedTime, 300);
    EXPECT_EQ(frog->creature.vx, 0.0f);
    EXPECT_EQ(player.vy, -1.3f);
    EXPECT_EQ(player.hp, 3);
    EXPECT_EQ(invincibilityTimer, 0);

    freeEnemies();
    placePlayer(40, 86);
    player.vy = 1.0f;
    Enemy *shell = addEnemy(1, 40, 100, 16, 16, SHELL_PROGRAM);
    step();
    EXPECT_EQ(shell->confusedTime, 0);
    EXPECT_EQ(player.hp, 2);
    EXPECT_FLOAT_EQ(player.vy, 1.1f);

    // An enemy falling faster than the player is not stomped.
    freeEnemies();
    invincibilityTimer = 0;
    placePlayer(40, 86);
    player.vy = 1.0f;
    frog = addEnemy(2, 40, 100, 16, 16, FROG_PROGRAM);
    frog->creature.vy = 1.2f;
    step();
    EXPECT_EQ(frog->confusedTime, 0);
    EXPECT_EQ(player.hp, 2);
}

TEST_F(Player, CarryingAndThrowingAStunnedEnemy)
{
    standOnFloor(40);
    const float y = player.y;
    Enemy *frog = addEnemy(2, 44, y, 16, 16, FROG_PROGRAM);
    frog->confusedTime = 200;
    frog->creature.state = 5;
    step();
    EXPECT_EQ(enemyCarried, frog);
    EXPECT_EQ(frog->carried, 1);
    EXPECT_EQ(player.hp, 3); // touching a stunned enemy never hurts
    EXPECT_EQ(frog->creature.x, 48.0f); // centre 8 ahead and 8 above
    EXPECT_EQ(frog->creature.y, y - 8.0f);

    player.direction = 0;
    step();
    EXPECT_EQ(frog->creature.x, 32.0f);

    player.direction = 1;
    keyPress.key[RIGHT] = 1;
    keyPress.key[ACTION] = 1;
    step();
    EXPECT_EQ(keyPress.key[ACTION], 0);
    EXPECT_EQ(enemyCarried, nullptr);
    EXPECT_EQ(frog->carried, 0);
    EXPECT_EQ(frog->thrown, 1);
    EXPECT_EQ(frog->confusedTime, 360);
    EXPECT_FLOAT_EQ(frog->creature.vx, 1.0f + 0.5f * 0.6f);
    EXPECT_FLOAT_EQ(frog->creature.vy, -1.0f);
    EXPECT_EQ(dontPickupEnemyTimer, 20);

    // Still stunned and in reach, it cannot be picked up for 19 more steps.
    keyPress.key[RIGHT] = 0;
    for (int i = 0; i < 19; i++) {
        frog->creature.x = player.x;
        step();
        ASSERT_EQ(enemyCarried, nullptr) << "step " << i + 1;
    }
    frog->creature.x = player.x;
    step();
    EXPECT_EQ(enemyCarried, frog);
}

TEST_F(Player, AThrowIntoAWallOnlyConsumesTheButton)
{
    standOnFloor(40);
    setTile(3, 5, TILE_SOLID); // where the carried enemy is held: x 48..63, y 80..95
    Enemy *frog = addEnemy(2, 40, player.y, 16, 16, FROG_PROGRAM);
    frog->confusedTime = 200;
    step();
    ASSERT_EQ(enemyCarried, frog);
    keyPress.key[ACTION] = 1;
    step();
    EXPECT_EQ(keyPress.key[ACTION], 0);
    EXPECT_EQ(enemyCarried, frog);
    EXPECT_EQ(frog->carried, 1);
    EXPECT_EQ(frog->thrown, 0);
    EXPECT_EQ(frog->confusedTime, 200);

    // With nothing carried the press is consumed too.
    freeEnemies();
    enemyCarried = nullptr;
    keyPress.key[ACTION] = 1;
    step();
    EXPECT_EQ(keyPress.key[ACTION], 0);
}

TEST_F(Player, AnEnemyThatLetGoIsForgotten)
{
    standOnFloor(40);
    Enemy *frog = addEnemy(2, 100, 20, 16, 16, FROG_PROGRAM);
    frog->carried = 0;
    enemyCarried = frog;
    step();
    EXPECT_EQ(enemyCarried, nullptr);
    EXPECT_EQ(frog->creature.x, 100.0f);
}

TEST_F(Player, TheKeyIsTakenEvenWhileItIsKnockedOut)
{
    standOnFloor(40);
    Enemy *key = addEnemy(-1, 44, player.y - 4, 16, 16, KEY_PROGRAM);
    key->creature.state = 6;
    Enemy *dying = addEnemy(0, 36, player.y, 16, 16, MONKEY_PROGRAM);
    dying->creature.state = 6;
    step();
    EXPECT_EQ(key->dead, 1);
    EXPECT_EQ(hasKey, 1);
    EXPECT_EQ(player.hp, 3); // the knocked-out monkey is ignored
    EXPECT_EQ(enemyCarried, nullptr);
}

TEST_F(Player, DyingDropsTheCarriedEnemyAndFallsOutOfTheLevel)
{
    standOnFloor(40);
    player.hp = 1;
    Enemy *carried = addEnemy(2, 48, player.y - 8, 16, 16, FROG_PROGRAM);
    carried->confusedTime = 100;
    carried->carried = 1;
    enemyCarried = carried;
    addEnemy(0, 36, player.y, 16, 16, MONKEY_PROGRAM);
    step();
    EXPECT_EQ(player.hp, 0);
    EXPECT_EQ(ingameState, 1);
    EXPECT_EQ(player.state, 6);
    EXPECT_EQ(enemyCarried, nullptr);
    EXPECT_EQ(carried->carried, 0);
    EXPECT_EQ(carried->confusedTime, 360);
    EXPECT_EQ(dontPickupEnemyTimer, 20);

    // Falling through the floor, touching nothing: no key, no exit, no more hits.
    Enemy *key = addEnemy(-1, 40, player.y + 2, 16, 16, KEY_PROGRAM);
    curLvl.exit = {2, FLOOR_ROW};
    keyPress.key[JUMP] = 1;
    keyPress.key[ACTION] = 1;
    const float y = player.y;
    step();
    EXPECT_FLOAT_EQ(player.y, y + 0.1f);
    EXPECT_EQ(key->dead, 0);
    EXPECT_EQ(hasKey, 0);
    EXPECT_EQ(keyPress.key[JUMP], 1);
    EXPECT_EQ(keyPress.key[ACTION], 1);
    EXPECT_EQ(dontPickupEnemyTimer, 20);

    // Exactly at the bottom edge it is still dying; below it the game is over.
    player.y = (float)LEVEL_BOTTOM - 1.0f;
    player.vy = 0.9f; // 1.0 after gravity
    step();
    EXPECT_FLOAT_EQ(player.y, (float)LEVEL_BOTTOM);
    EXPECT_EQ(ingameState, 1);
    step();
    EXPECT_EQ(ingameState, 2);
    EXPECT_EQ(newGameMode, MODE_INGAME);
}

TEST_F(Player, NoHealthAtAllMeansDead)
{
    standOnFloor(40);
    player.hp = 0;
    step();
    EXPECT_GT(player.y, restingY(FLOOR_TOP, 16)); // fell into the floor
    player.hp = -2; // a broken definition must not make the player immortal
    const float y = player.y;
    step();
    EXPECT_GT(player.y, y);
}

TEST_F(Player, InitStartsAFreshGameAtTheStartTile)
{
    curLvl.start = {3, 5};
    player.vx = 1;
    player.vy = 2;
    player.groundContact = 1;
    player.state = 6;
    player.direction = 0;
    ignoreKeys = 4;
    hackPlayerIsInWater = 1;
    Enemy *frog = addEnemy(2, 0, 0, 16, 16, FROG_PROGRAM);
    enemyCarried = frog;
    dontPickupEnemyTimer = 5;
    invincibilityTimer = 6;
    hasKey = 1;
    playerInit();
    EXPECT_EQ(player.x, 48.0f);
    EXPECT_EQ(player.y, 80.0f);
    EXPECT_EQ(player.vx, 0.0f);
    EXPECT_EQ(player.vy, 0.0f);
    EXPECT_EQ(player.groundContact, 0);
    EXPECT_EQ(player.state, 0);
    EXPECT_EQ(player.direction, 1);
    EXPECT_EQ(ignoreKeys, 0);
    EXPECT_EQ(hackPlayerIsInWater, 0);
    EXPECT_EQ(enemyCarried, nullptr);
    EXPECT_EQ(dontPickupEnemyTimer, 0);
    EXPECT_EQ(invincibilityTimer, 0);
    EXPECT_EQ(hasKey, 0);
}

TEST_F(Player, TheDrawnStateFollowsTheMotion)
{
    placePlayer(40, 40);
    invincibilityTimer = 15; // hidden: only the state is chosen
    player.groundContact = 1;
    keyPress.key[LEFT] = 1; // pushing against a wall while standing still is idle...
    playerDraw();
    EXPECT_EQ(player.state, 0);
    player.vy = 0.1f; // ...but sinking in water it walks
    playerDraw();
    EXPECT_EQ(player.state, 1);
    keyPress.key[LEFT] = 0;
    player.vy = 0;
    playerDraw();
    EXPECT_EQ(player.state, 0);
    player.vx = -0.5f;
    playerDraw();
    EXPECT_EQ(player.state, 1);
    EXPECT_EQ(player.direction, 0);
    player.groundContact = 0;
    player.vy = -1;
    playerDraw();
    EXPECT_EQ(player.state, 2);
    player.vy = 1;
    player.vx = 0.2f;
    playerDraw();
    EXPECT_EQ(player.state, 4);
    EXPECT_EQ(player.direction, 1);
    // The dying state stays while no rule applies.
    player.state = 6;
    player.vy = 0;
    player.vx = 0;
    playerDraw();
    EXPECT_EQ(player.state, 6);
}

TEST_F(Player, WhileBlinkingHiddenTheAnimationIsLeftAlone)
{
    placePlayer(40, 40);
    const int hidden[] = {119, 110, 99, 90, 19, 10};
    for (int timer : hidden) {
        invincibilityTimer = timer;
        player.animation.oldState = 99; // drawing would replace it
        playerDraw();
        EXPECT_EQ(player.animation.oldState, 99) << "timer " << timer;
    }
}
