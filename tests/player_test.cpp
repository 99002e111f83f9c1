// The player's rules that the pinned routes do not reach: shells and fast
// fallers, throws blocked by hazards, the exit and the key, and dying.
#include "gameplay_fixture.h"

namespace {

struct Player : GameplayTest {
    // A fresh 16 x 16 player with 3 hp at (x, y) moving at (vx, vy), standing still as drawn, facing right.
    static void place(float x, float y, float vx = 0, float vy = 0, int ground = 0)
    {
        player = Creature{x, y, 16, 16, vx, vy, 3, ground, 0, 1, {}};
        ignoreKeys = invincibilityTimer = hackPlayerIsInWater = 0;
    }

    // The player standing at x on a floor across the level.
    static void standAt(float x) { fillTiles(0, FLOOR_ROW, 19, FLOOR_ROW, TILE_SOLID); place(x, ON_FLOOR, 0, 0, 1); }

    // Holds the buttons named in held (Left, Right, Action, Jump) and releases the others.
    static void hold(const char *held)
    {
        for (int button = LEFT; button <= JUMP; button++)
            keyPress.key[button] = strchr(held, "LRAJ"[button - LEFT]) != nullptr;
    }

    // Runs one step and tells the player's motion after it; press holds the buttons first.
    static std::string step() { playerUpdate(); return motion(player); }
    static std::string press(const char *held) { hold(held); return step(); }
};

} // namespace

TEST_F(Player, LandingOnAFrogStunsItButAShellOrAFasterFallerHurts)
{
    // The player falls at 1.0 from y 86 onto an enemy at y 100, which falls at enemyVy.
    // The last lands with its feet exactly level with the frog's middle: too low to land on it.
    const struct { float x; int type; float enemyVy; bool stomped; float y = 86, vy = 1.0f; } cases[] = {
        {40, 2, 0, true}, {80, 1, 0, false}, {120, 2, 1.2f, false}, {160, 2, 1.1f, false}, // the last as fast
        {200, 2, 0, false, 91, 0.9f}};
    for (const auto &c : cases) {
        place(c.x, c.y, 0, c.vy);
        Enemy *e = addEnemy(c.type, c.x, 100);
        e->creature.vx = 0.4f; e->creature.vy = c.enemyVy;
        step();
        EXPECT_EQ(std::tuple(e->confusedTime, e->creature.vx, player.vy, player.hp),
                  c.stomped ? std::tuple(300, 0.0f, -1.3f, 3) : std::tuple(0, 0.4f, (float)(c.vy + 0.1), 2)) << c.x;
    }
}

// After a throw nothing is picked up for twenty steps, not even the enemy just thrown.
TEST_F(Player, AThrowLocksPickingUpForTwentySteps)
{
    standAt(40);
    Enemy *frog = addEnemy(2, 40, ON_FLOOR);
    frog->confusedTime = 200;
    step(); press("A");
    int steps = 0;
    for (hold(""); enemyCarried == nullptr && steps < 30; steps++)
        step();
    EXPECT_EQ(std::tuple(enemyCarried, steps), std::tuple(frog, 20));
}

// Carrying one enemy at a time, throwing it either way and a throw into a wall
// are pinned by the carry and rebound routes.
TEST_F(Player, TheExitIsTestedBeforeTheKeyIsTakenAndAHazardWhereTheLoadIsHeldBlocksAThrow)
{
    standAt(40);
    curLvl.exit = {3, 6}; // x 48..63, beside the player's right half
    Enemy *frog = addEnemy(2, 44, ON_FLOOR);
    frog->confusedTime = 200;
    addEnemy(-1, 44, ON_FLOOR - 4)->creature.state = 6; // a knocked-out key is still taken
    step();
    EXPECT_EQ(std::tuple(newGameMode, hasKey, enemyCarried), std::tuple(MODE_INGAME, 1, frog));
    // Held on its left, clear of the exit, only the hazard is in its way.
    player.direction = 0;
    fillTiles(0, 5, 19, 5, TILE_HAZARD);
    press("A");
    EXPECT_EQ(std::tuple(newGameMode, enemyCarried, frog->carried), std::tuple(MODE_WON, frog, 1));
    fillTiles(0, 5, 19, 5, TILE_EMPTY);
    press("");
    press("A");
    EXPECT_EQ(std::tuple(enemyCarried, frog->confusedTime), std::tuple(nullptr, 360));
}

TEST_F(Player, AHazardAndAnEnemyAtOnceCostOnePointAndTheDyingFallOutTouchingNothing)
{
    standAt(40);
    setTile(3, FLOOR_ROW, TILE_HAZARD); // under the player's right half
    player.hp = 1;
    addEnemy(0, 36, ON_FLOOR);
    step();
    // Invulnerability from the first hit is counted down in the same step; how long it lasts and
    // that the dying drop their load the brambles route shows.
    EXPECT_EQ(std::tuple(player.hp, invincibilityTimer, ingameState), std::tuple(0, 119, 1));
    // Falling into the floor it touches nothing, not even the key, and ignores the buttons.
    // Health below zero, from a broken definition, counts as dead too.
    Enemy *key = addEnemy(-1, 40, player.y + 2);
    player.hp = -2;
    EXPECT_EQ(press("J"), "40 97.049995 0 0.1 1 6");
    EXPECT_EQ(key->dead, 0);
    // Exactly at the bottom edge it is still dying; below it the game is over.
    player.y = (float)LEVEL_BOTTOM - 1.0f; player.vy = 0.9f;
    EXPECT_EQ(step(), "40 192 0 1 1 6");
    EXPECT_EQ(ingameState, 1);
    // The blink timer stopped in a hidden phase, yet the falling player is drawn.
    playerDraw();
    EXPECT_EQ(std::tuple(invincibilityTimer, player.animation.oldState), std::tuple(119, (int)STATE_DYING));
    step();
    EXPECT_EQ(ingameState, 2);
}
